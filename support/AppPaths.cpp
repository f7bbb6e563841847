#include "AppPaths.h"

#include <QFileInfo>
#include <filesystem>

namespace {
QString& SettingsOverride() {
  static QString name;
  return name;
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
  return ApplicationFolder() + ApplicationName() + ".ini";
}

void SetSettingsFileName(const QString& fileName) {
  SettingsOverride() = fileName;
}

}  // namespace AppPaths
