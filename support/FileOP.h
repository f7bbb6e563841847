#pragma once
// File utilities used while objects load and save their settings: raw records to and from
// streams, and the executable's file times and version text.
#include <QString>
#include <cstddef>

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
  // Creation, last access and last write times; false when they cannot be read.
  bool GetFileTimes(const QString& FileName, TDateTime& Created, TDateTime& Accessed,
                    TDateTime& Written);
  // The version text of a file; false when it has none.
  bool GetFileVersionText(const QString& FileName, QString& Text);

  // The TFileOpEX level's own copies of the common fields.
  QString mApplicationName;
  QString mApplicationPath;
  int32_t FSettingsTag = 0;

 protected:
  const TManagedTraits& Traits() const override;
};
