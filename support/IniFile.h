#pragma once
// The settings file: INI text with sections and keys compared without case. A new section
// goes at the end, an existing value is replaced in place, and UpdateFile saves atomically
// (temporary file, then rename), so a failed save never leaves a broken file behind.
#include <QByteArray>
#include <QString>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>

#include "MemoryStream.h"
#include "ValueText.h"

// "Unable to write to %s": the file system refused the settings file.
class EIniFileException : public std::runtime_error {
 public:
  explicit EIniFileException(const QString& Message)
      : std::runtime_error(Message.toStdString()), FMessage(Message) {}
  const QString& Message() const { return FMessage; }

 private:
  QString FMessage;
};

class TIniFile {
 public:
  // Loads the file when it exists; an unreadable or missing file starts empty.
  explicit TIniFile(const QString& FileName);
  ~TIniFile();
  TIniFile(const TIniFile&) = delete;
  TIniFile& operator=(const TIniFile&) = delete;

  const QString& FileName() const { return FFileName; }

  // At most 2047 characters of a value come back.
  QString ReadString(const QString& Section, const QString& Key, const QString& Default) const;
  void WriteString(const QString& Section, const QString& Key, const QString& Value);
  int32_t ReadInteger(const QString& Section, const QString& Key, int32_t Default) const;
  void WriteInteger(const QString& Section, const QString& Key, int32_t Value);
  bool ReadBool(const QString& Section, const QString& Key, bool Default) const;
  void WriteBool(const QString& Section, const QString& Key, bool Value);
  double ReadFloat(const QString& Section, const QString& Key, double Default) const;
  void WriteFloat(const QString& Section, const QString& Key, double Value);
  TDateTime ReadDateTime(const QString& Section, const QString& Key, TDateTime Default) const;
  void WriteDateTime(const QString& Section, const QString& Key, TDateTime Value);
  // Raw bytes as hexadecimal text: writes the stream from its position to its end; reads by
  // decoding the text into the stream and returns the number of bytes decoded.
  void WriteBinaryStream(const QString& Section, const QString& Key, TMemoryStream& Value);
  std::size_t ReadBinaryStream(const QString& Section, const QString& Key,
                               TMemoryStream& Value) const;

  bool SectionExists(const QString& Section) const;
  bool ValueExists(const QString& Section, const QString& Key) const;
  void DeleteKey(const QString& Section, const QString& Key);

  // Writes the file if anything changed; raises EIniFileException when it cannot.
  void UpdateFile();

  // A save of FileName first creates its missing folders, each for its owner alone (the
  // settings file in the user's configuration folder); the save of any other file in a
  // missing folder fails. An empty name: none.
  static void MakeFoldersFor(const QString& FileName);

  // Runs between writing the temporary file and renaming it over the old one (tests use it
  // to interrupt a save).
  static void SetBeforeCommitHook(std::function<void()> Hook);

  // Settings files held in memory instead of on disk (the fuzzers): while on, every TIniFile
  // reads its text from and saves it to a table of file names, and nothing touches the disk.
  static void KeepFilesInMemory(bool On);
  // The text of a file in memory, empty when there is none; setting it puts one there.
  static QByteArray MemoryFile(const QString& FileName);
  static void SetMemoryFile(const QString& FileName, const QByteArray& Text);
  // Whether the settings file exists, in memory while files are kept there, else on disk.
  static bool Exists(const QString& FileName);

 private:
  struct TData;
  QString FFileName;
  std::unique_ptr<TData> FData;
  bool FDirty = false;
};
