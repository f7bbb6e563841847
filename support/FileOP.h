#pragma once
// File utilities used while objects load and save their settings: raw records to and from
// streams, the executable's file times and version text, and a few file operations.
#include <QString>
#include <cstddef>
#include <cstdint>

#include "ManagedSingleton.h"
#include "MemoryStream.h"
#include "ValueText.h"

class TRegisterEX;
class TFileOpEX;
extern TRegisterEX* RegisterEX;
extern TFileOpEX* FileOpEX;

// The first level of the file utilities: its own name, path and tag (key "mRegisterEX").
class TRegisterEX : public TManagedSingleton<TRegisterEX, &RegisterEX> {
 public:
  QString ClassName() const override { return QStringLiteral("TRegisterEX"); }
  void InitIdentity() override;
  void LoadSettings() override;
  void SaveSettings() override;

 protected:
  const TManagedTraits& Traits() const override;
};

class TFileOpEX : public TRegisterEX {
 public:
  QString ClassName() const override { return QStringLiteral("TFileOpEX"); }

  static inline uint8_t InstanceCount = 0;
  static TFileOpEX* Create() { return NewInstance(); }
  // Builds the object through the TRegisterEX level first, then runs its own steps.
  static TFileOpEX* NewInstance();
  static void FreeInstance();
  void Free() { FreeInstance(); }
  static void ReleaseInstance() {
    if (FileOpEX) FileOpEX->Free();
  }

  void InitIdentity() override;
  void LoadSettings() override;
  void SaveSettings() override;

  // A new stream holding a copy of Count bytes at Address, positioned at 0; the caller owns it.
  TMemoryStream* BufferToStream(const void* Address, std::size_t Count);
  // Rewinds Stream and reads exactly Count bytes into Address (EReadError when fewer are there).
  void StreamToBuffer(void* Address, TMemoryStream& Stream, std::size_t Count);
  // Creation, last access and last write times in local time, in the 2-second steps of DOS
  // date-times; false when they cannot be read. A time outside 1980..2107 leaves its output
  // unchanged. A locked file is read through a temporary copy that is deleted afterwards (so
  // the running executable's creation and access times are those of the copy).
  bool GetFileTimes(const QString& FileName, TDateTime& Created, TDateTime& Accessed,
                    TDateTime& Written);
  // The version text of a file: its "040704E4" file-version string when present, otherwise its
  // fixed version as "major.minor.release.build"; false when it has neither.
  bool GetFileVersionText(const QString& FileName, QString& Text);
  // The fixed version of a file; false when it has none (the outputs are then unchanged).
  bool GetFileVersionNumbers(const QString& FileName, uint16_t& Major, uint16_t& Minor,
                             uint16_t& Release, uint16_t& Build);
  // True when the file exists and cannot be opened for reading and writing (a running
  // executable, another user's write-protected file) or is not a plain file. Our own file
  // that only lacks the read-only attribute's write permission is not locked.
  bool IsFileLocked(const QString& FileName);
  // Mode 0 sets read-only (takes the owner's write permission), 1 clears it, 2 and 3 set and
  // clear hidden, which has no meaning here; other modes change nothing.
  void SetFileAttr(const QString& FileName, int Mode);
  // Copies Source over Destination, keeping the last-write time and asking nothing; false when
  // the source is missing, is the development environment's running executable under a
  // debugger, or the copy failed (the destination is then left as it was).
  bool ShellCopyFile(const QString& Source, const QString& Destination);
  // Where the last temporary copy of GetFileTimes lay (it is gone once the call returns).
  const QString& TempCopyName() const { return FTempCopyName; }

  // The TFileOpEX level's own copies of the common fields.
  QString mApplicationName;
  QString mApplicationPath;
  int32_t FSettingsTag = 0;

 protected:
  const TManagedTraits& Traits() const override;

 private:
  // Reads the times of a file that can be opened for writing.
  bool ReadFileTimes(const QString& FileName, TDateTime& Created, TDateTime& Accessed,
                     TDateTime& Written);
  QString FTempCopyName;
};
