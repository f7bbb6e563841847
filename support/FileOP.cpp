#include "FileOP.h"

#include <QFileInfo>
#include <exception>
#include <memory>

#include "AppPaths.h"
#include "IniFile.h"
#include "RunBatch.h"

TRegisterEX* RegisterEX = nullptr;
TFileOpEX* FileOpEX = nullptr;

namespace {
const TManagedTraits RegisterTraits{"FileOP", "mRegisterEX", true, false, true, true, false, false};
const TManagedTraits FileOpTraits{"FileOP", "mFileOpEX", false, false, true, true, false, true};
const QString AppInfo = QStringLiteral("Application Info");
const QString Section = QStringLiteral("TFileOpEX");
}  // namespace

const TManagedTraits& TRegisterEX::Traits() const {
  return RegisterTraits;
}
const TManagedTraits& TFileOpEX::Traits() const {
  return FileOpTraits;
}

void TRegisterEX::InitIdentity() {
  InitIdentityWith(RegisterTraits);
}

// Both levels keep their keys in the running object's section, "TFileOpEX".
void TRegisterEX::LoadSettings() {
  const QString fileName = AppPaths::SettingsFileName();
  if (!QFileInfo::exists(fileName)) return;
  TIniFile ini(fileName);
  TManagedObject::mApplicationPath =
      ini.ReadString(AppInfo, QStringLiteral("mApplicationPath"), AppPaths::ApplicationFolder());
  TManagedObject::FSettingsTag = ini.ReadInteger(Section, QStringLiteral("mRegisterEX"), 0);
}

void TRegisterEX::SaveSettings() {
  TIniFile ini(AppPaths::SettingsFileName());
  WriteApplicationNameAndPath(ini, TManagedObject::mApplicationName,
                              TManagedObject::mApplicationPath);
  WriteCopyRight(ini);
  ini.WriteInteger(Section, QStringLiteral("mRegisterEX"), TManagedObject::FSettingsTag);
  ini.UpdateFile();
}

TFileOpEX* TFileOpEX::NewInstance() {
  if (!FileOpEX) {
    TRegisterEX* object = TRegisterEX::NewInstance<TFileOpEX>();
    FileOpEX = static_cast<TFileOpEX*>(object);
    FileOpEX->TFileOpEX::InitIdentity();
    FileOpEX->TFileOpEX::LoadSettings();
  }
  ++InstanceCount;
  return FileOpEX;
}

void TFileOpEX::FreeInstance() {
  if (!FileOpEX) return;
  --InstanceCount;
  if (InstanceCount != 0) return;
  // The TRegisterEX level saves and releases the memory even when this level's save fails;
  // its own failure is passed on when this level's was not.
  std::exception_ptr failure;
  try {
    FileOpEX->TFileOpEX::SaveSettings();
  } catch (...) {
    failure = std::current_exception();
  }
  try {
    TRegisterEX::FreeInstance();
  } catch (...) {
    if (!failure) failure = std::current_exception();
  }
  FileOpEX = nullptr;
  if (failure) std::rethrow_exception(failure);
}

void TFileOpEX::InitIdentity() {
  mApplicationName = AppPaths::ApplicationName();
  mApplicationPath = AppPaths::ApplicationFolder();
}

void TFileOpEX::LoadSettings() {
  const QString fileName = AppPaths::SettingsFileName();
  if (!QFileInfo::exists(fileName)) return;
  TIniFile ini(fileName);
  mApplicationPath =
      ini.ReadString(AppInfo, QStringLiteral("mApplicationPath"), AppPaths::ApplicationFolder());
  FSettingsTag = ini.ReadInteger(Section, QStringLiteral("mFileOpEX"), 0);
}

void TFileOpEX::SaveSettings() {
  TIniFile ini(AppPaths::SettingsFileName());
  WriteApplicationNameAndPath(ini, mApplicationName, mApplicationPath);
  WriteFileInfo(ini);
  WriteCopyRight(ini);
  ini.WriteInteger(Section, QStringLiteral("mFileOpEX"), FSettingsTag);
  ini.UpdateFile();
}

TMemoryStream* TFileOpEX::BufferToStream(const void* Address, std::size_t Count) {
  auto stream = std::make_unique<TMemoryStream>();
  stream->Write(Address, Count);
  stream->SetPosition(0);
  return stream.release();
}

void TFileOpEX::StreamToBuffer(void* Address, TMemoryStream& Stream, std::size_t Count) {
  Stream.SetPosition(0);
  Stream.ReadBuffer(Address, Count);
}

// The executable's times and version come with the file utilities' own work; until then
// their keys are skipped.
bool TFileOpEX::GetFileTimes(const QString&, TDateTime&, TDateTime&, TDateTime&) {
  return false;
}

bool TFileOpEX::GetFileVersionText(const QString&, QString& Text) {
  Text.clear();
  return false;
}
