#include "FileOP.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <exception>
#include <filesystem>
#include <memory>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "AppPaths.h"
#include "FileCopy.h"
#include "IniFile.h"
#include "RunBatch.h"
#include "VersionNote.h"

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
  if (!TIniFile::Exists(fileName)) return;
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
  if (!TIniFile::Exists(fileName)) return;
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

namespace {

// The file-version string the version text prefers.
const std::string VersionStringKey = "StringFileInfo\\040704E4\\FileVersion";

class TFileHandle {
 public:
  explicit TFileHandle(int Handle) : FHandle(Handle) {}
  ~TFileHandle() {
    if (FHandle >= 0) ::close(FHandle);
  }
  TFileHandle(const TFileHandle&) = delete;
  TFileHandle& operator=(const TFileHandle&) = delete;
  int Get() const { return FHandle; }

 private:
  int FHandle;
};

// For reading and writing, existing files only; never blocks and never becomes a terminal.
int OpenReadWrite(const QString& FileName) {
  return ::open(QFile::encodeName(FileName).constData(),
                O_RDWR | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
}

bool IsPlainFile(const QString& FileName, struct stat& Status) {
  return ::stat(QFile::encodeName(FileName).constData(), &Status) == 0 && S_ISREG(Status.st_mode);
}

// Our own file whose only bar to writing is the read-only attribute (the owner's write
// permission), which GetFileTimes clears before it opens the file.
bool OnlyReadOnly(const struct stat& Status) {
  return Status.st_uid == ::geteuid() && !(Status.st_mode & S_IWUSR);
}

bool SameName(const QString& A, const QString& B) {
  return !B.isEmpty() && A.compare(B, Qt::CaseInsensitive) == 0;
}

QString IdeExeName() {
  return BatchRunner ? BatchRunner->FIdeExeName : QString();
}

// A file time as a local DOS date-time (2-second steps, years 1980..2107) turned back into a
// date-time value; false when the year is outside that range.
bool DosDateTime(const statx_timestamp& Time, TDateTime& Value) {
  const time_t seconds = static_cast<time_t>(Time.tv_sec);
  tm local{};
  if (!localtime_r(&seconds, &local)) return false;
  const int year = local.tm_year + 1900;
  if (year < 1980 || year > 2107) return false;
  const QDate date(year, local.tm_mon + 1, local.tm_mday);
  const int second = std::min(local.tm_sec, 59) / 2 * 2;  // a leap second is not a DOS time
  if (!date.isValid()) return false;
  Value = static_cast<double>(QDate(1899, 12, 30).daysTo(date)) +
          (local.tm_hour * 3600 + local.tm_min * 60 + second) / 86400.0;
  return true;
}

}  // namespace

bool TFileOpEX::GetFileTimes(const QString& FileName, TDateTime& Created, TDateTime& Accessed,
                             TDateTime& Written) {
  if (FileName.isEmpty() || !QFileInfo::exists(FileName)) return false;
  if (!IsFileLocked(FileName)) return ReadFileTimes(FileName, Created, Accessed, Written);
  if (SameName(FileName, IdeExeName())) return false;
  // A private temporary name; the copy replaces the empty file made here.
  QByteArray pattern = QFile::encodeName(QDir::tempPath() + QStringLiteral("/fttmp.XXXXXX"));
  const int handle = ::mkstemp(pattern.data());
  if (handle < 0) return false;
  ::close(handle);
  FTempCopyName = QFile::decodeName(pattern);
  // The copy is ours and writable, so it is read directly rather than through the lock test
  // again (a copy of a write-protected file would otherwise be copied again and again).
  const bool result = ShellCopyFile(FileName, FTempCopyName) &&
                      ReadFileTimes(FTempCopyName, Created, Accessed, Written);
  QFile::remove(FTempCopyName);
  return result;
}

bool TFileOpEX::ReadFileTimes(const QString& FileName, TDateTime& Created, TDateTime& Accessed,
                              TDateTime& Written) {
  SetFileAttr(FileName, 1);
  const TFileHandle file(OpenReadWrite(FileName));
  if (file.Get() < 0) return false;
  struct statx times {};
  if (::statx(file.Get(), "", AT_EMPTY_PATH, STATX_BTIME | STATX_ATIME | STATX_MTIME | STATX_CTIME,
              &times) != 0)
    return false;
  // Without a birth time on this file system the change time stands in for creation.
  const statx_timestamp& created =
      (times.stx_mask & STATX_BTIME) ? times.stx_btime : times.stx_ctime;
  DosDateTime(created, Created);
  DosDateTime(times.stx_atime, Accessed);
  DosDateTime(times.stx_mtime, Written);
  return true;
}

bool TFileOpEX::GetFileVersionText(const QString& FileName, QString& Text) {
  Text.clear();
  if (FileName.isEmpty() || !QFileInfo::exists(FileName)) return false;
  VersionNote::TVersionInfo info;
  if (VersionNote::Read(QFile::encodeName(FileName).toStdString(), info))
    Text = QString::fromStdString(info.Value(VersionStringKey));
  if (!Text.isEmpty()) return true;
  uint16_t major = 0, minor = 0, release = 0, build = 0;
  if (!GetFileVersionNumbers(FileName, major, minor, release, build)) return false;
  Text = QStringLiteral("%1.%2.%3.%4").arg(major).arg(minor).arg(release).arg(build);
  return true;
}

bool TFileOpEX::GetFileVersionNumbers(const QString& FileName, uint16_t& Major, uint16_t& Minor,
                                      uint16_t& Release, uint16_t& Build) {
  if (FileName.isEmpty() || !QFileInfo::exists(FileName)) return false;
  VersionNote::TVersionInfo info;
  if (!VersionNote::Read(QFile::encodeName(FileName).toStdString(), info)) return false;
  Major = static_cast<uint16_t>(info.VersionMS >> 16);
  Minor = static_cast<uint16_t>(info.VersionMS & 0xFFFF);
  Release = static_cast<uint16_t>(info.VersionLS >> 16);
  Build = static_cast<uint16_t>(info.VersionLS & 0xFFFF);
  return true;
}

bool TFileOpEX::IsFileLocked(const QString& FileName) {
  if (FileName.isEmpty() || !QFileInfo::exists(FileName)) return false;
  // Folders, devices and pipes cannot be opened as files; opening them could block or act.
  struct stat status {};
  if (!IsPlainFile(FileName, status)) return true;
  const TFileHandle file(OpenReadWrite(FileName));
  if (file.Get() >= 0) return false;
  return !(errno == EACCES && OnlyReadOnly(status));
}

void TFileOpEX::SetFileAttr(const QString& FileName, int Mode) {
  namespace fs = std::filesystem;
  if (FileName.isEmpty() || !QFileInfo::exists(FileName)) return;
  const fs::path path(QFile::encodeName(FileName).toStdString());
  std::error_code ec;
  switch (Mode) {
    case 0:
      fs::permissions(path, fs::perms::owner_write, fs::perm_options::remove, ec);
      break;
    case 1:
      fs::permissions(path, fs::perms::owner_write, fs::perm_options::add, ec);
      break;
    default:  // 2 and 3: hidden is a matter of the name here; others change nothing
      break;
  }
}

bool TFileOpEX::ShellCopyFile(const QString& Source, const QString& Destination) {
  if (Source.isEmpty() || !QFileInfo::exists(Source)) return false;
  if (TBatchRunner::DebuggerAttached() && IsFileLocked(Source) && SameName(Source, IdeExeName()))
    return false;
  return FileCopy::CopyReplacing(Source, Destination);
}
