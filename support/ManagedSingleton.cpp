#include "ManagedSingleton.h"

#include <memory>

#include "AppPaths.h"
#include "FileOP.h"
#include "IniFile.h"
#include "RunBatch.h"

namespace {
const QString AppInfo = QStringLiteral("Application Info");
const QString CopyRight = QStringLiteral("CopyRight");
}  // namespace

void TManagedObject::InitIdentity() {
  InitIdentityWith(Traits());
}

void TManagedObject::InitIdentityWith(const TManagedTraits& traits) {
  FUnitName = QString::fromLatin1(traits.UnitName);
  if (traits.Announces && BatchRunner) BatchRunner->RegisterUnit(FUnitName);
  if (traits.SceneClass) FProjectName = AppPaths::ExecutablePath();
  mApplicationName = AppPaths::ApplicationName();
  mApplicationPath = AppPaths::ApplicationFolder();
}

void TManagedObject::LoadSettings() {
  const QString fileName = AppPaths::SettingsFileName();
  if (!TIniFile::Exists(fileName)) return;
  const TManagedTraits& traits = Traits();
  TIniFile ini(fileName);
  if (traits.ReadsAppPath)
    mApplicationPath =
        ini.ReadString(AppInfo, QStringLiteral("mApplicationPath"), AppPaths::ApplicationFolder());
  FSettingsTag = ini.ReadInteger(ClassName(), QString::fromLatin1(traits.ClassKey), 0);
  ReadOwnSettings(ini);
}

void TManagedObject::SaveSettings() {
  const TManagedTraits& traits = Traits();
  TIniFile ini(AppPaths::SettingsFileName());
  if (traits.WritesAppInfo) {
    if (traits.WritesProjectName)
      ini.WriteString(AppInfo, QStringLiteral("FProjectName"), FProjectName);
    WriteApplicationNameAndPath(ini, mApplicationName, mApplicationPath);
    if (traits.WritesFileInfo) WriteFileInfo(ini);
    WriteCopyRight(ini);
  }
  ini.WriteInteger(ClassName(), QString::fromLatin1(traits.ClassKey), FSettingsTag);
  WriteOwnSettings(ini);
  ini.UpdateFile();
}

void TManagedObject::WriteApplicationNameAndPath(TIniFile& Ini, const QString& Name,
                                                 const QString& Path) {
  Ini.WriteString(AppInfo, QStringLiteral("mApplicationName"), Name);
  Ini.WriteString(AppInfo, QStringLiteral("mApplicationPath"), Path);
}

void TManagedObject::WriteFileInfo(TIniFile& Ini) {
  if (!FileOpEX) return;
  // The running executable is locked, so its times come from a copy of it: made once a run
  // rather than once for each object that writes them.
  struct TExecutableInfo {
    QString Path;
    bool HasTimes = false, HasVersion = false;
    TDateTime Created = 0, Accessed = 0, Written = 0;
    QString Version;
  };
  static TExecutableInfo info;
  const QString exe = AppPaths::ExecutablePath();
  if (info.Path != exe) {
    info = TExecutableInfo{};
    info.Path = exe;
    info.HasTimes = FileOpEX->GetFileTimes(exe, info.Created, info.Accessed, info.Written);
    info.HasVersion = FileOpEX->GetFileVersionText(exe, info.Version);
  }
  if (info.HasTimes) {
    Ini.WriteDateTime(AppInfo, QStringLiteral("Create Time"), info.Created);
    Ini.WriteDateTime(AppInfo, QStringLiteral("Last Access"), info.Accessed);
    Ini.WriteDateTime(AppInfo, QStringLiteral("Last Write"), info.Written);
  }
  if (info.HasVersion) Ini.WriteString(AppInfo, QStringLiteral("Version"), info.Version);
}

void TManagedObject::WriteCopyRight(TIniFile& Ini) {
  Ini.WriteString(CopyRight, QStringLiteral("Author"), QStringLiteral("Talven"));
  Ini.WriteString(CopyRight, QStringLiteral("Email"), QStringLiteral("talven@opglproject.org"));
  Ini.WriteDateTime(CopyRight, QStringLiteral("Date"), ValueText::Now());
}

void TManagedObject::WriteRecord(TIniFile& Ini, const QString& Section, const QString& Key,
                                 const void* Record, std::size_t Size) {
  if (!FileOpEX) return;
  std::unique_ptr<TMemoryStream> stream(FileOpEX->BufferToStream(Record, Size));
  Ini.WriteBinaryStream(Section, Key, *stream);
}

bool TManagedObject::ReadRecord(const TIniFile& Ini, const QString& Section, const QString& Key,
                                void* Record, std::size_t Size) {
  if (!FileOpEX) return false;
  TMemoryStream stream;
  if (Ini.ReadBinaryStream(Section, Key, stream) < Size) return false;
  FileOpEX->StreamToBuffer(Record, stream, Size);
  return true;
}
