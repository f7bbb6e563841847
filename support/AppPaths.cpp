#include "AppPaths.h"

#include <fcntl.h>
#include <unistd.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <filesystem>

#include "IniFile.h"

namespace {
QString& SettingsOverride() {
  static QString name;
  return name;
}

// With the rights of the effective user, which the save will have.
bool CanWrite(const QString& Path) {
  return ::faccessat(AT_FDCWD, QFile::encodeName(Path).constData(), W_OK, AT_EACCESS) == 0;
}
}  // namespace

namespace AppPaths {

QString ExecutablePath() {
  static const QString path = [] {
    std::error_code ec;
    const auto p = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? QString() : QString::fromStdString(p.string());
  }();
  return path;
}

QString ApplicationName() {
  return QFileInfo(ExecutablePath()).completeBaseName();
}

QString ApplicationFolder() {
  return QFileInfo(ExecutablePath()).absolutePath() + '/';
}

QString SettingsFileName() {
  if (!SettingsOverride().isEmpty()) return SettingsOverride();
  static const QString chosen = [] {
    const QString name =
        ChooseSettingsFile(ApplicationFolder(), ApplicationName(), UserConfigFolder());
    TIniFile::MakeFoldersFor(name);
    return name;
  }();
  return chosen;
}

void SetSettingsFileName(const QString& fileName) {
  SettingsOverride() = fileName;
}

QString ChooseSettingsFile(const QString& ExecutableFolder, const QString& Name,
                           const QString& ConfigFolder) {
  const QString beside = ExecutableFolder + Name + QStringLiteral(".ini");
  // The save writes a temporary file in the folder and renames it over the old one.
  if (CanWrite(ExecutableFolder) && (!QFileInfo::exists(beside) || CanWrite(beside))) return beside;
  return QDir::cleanPath(ConfigFolder + '/' + Name + '/' + Name + QStringLiteral(".ini"));
}

QString UserConfigFolder() {
  return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
}

QString FindStartupFile(const QString& RelativePath) {
  return FindStartupFile(RelativePath, ApplicationFolder(), ApplicationName());
}

QString FindStartupFile(const QString& RelativePath, const QString& ExecutableFolder,
                        const QString& Name) {
  if (QFileInfo::exists(RelativePath)) return RelativePath;
  const QString beside = ExecutableFolder + RelativePath;
  if (QFileInfo::exists(beside)) return beside;
  const QString installed =
      QDir::cleanPath(ExecutableFolder + QStringLiteral("../share/") + Name + '/' + RelativePath);
  if (QFileInfo::exists(installed)) return installed;
  return RelativePath;
}

}  // namespace AppPaths
