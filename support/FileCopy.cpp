#include "FileCopy.h"

#include <unistd.h>
#include <QFile>
#include <cstdlib>
#include <filesystem>

namespace fs = std::filesystem;

namespace FileCopy {

namespace {
fs::path ToPath(const QString& Name) {
  return fs::path(QFile::encodeName(Name).toStdString());
}
}  // namespace

bool CopyReplacing(const QString& Source, const QString& Destination) {
  std::error_code ec;
  const fs::path source = ToPath(Source);
  const fs::path destination = ToPath(Destination);
  if (Source.isEmpty() || Destination.isEmpty() || !fs::is_regular_file(source, ec)) return false;
  if (fs::exists(destination, ec) && fs::equivalent(source, destination, ec)) return false;
  const fs::path folder =
      destination.parent_path().empty() ? fs::path(".") : destination.parent_path();
  if (!fs::is_directory(folder, ec) && !fs::create_directories(folder, ec)) return false;

  // A private name beside the destination, so the rename stays on one file system.
  std::string hidden(".");
  hidden += destination.filename().string();
  hidden += ".XXXXXX";
  std::string pattern = (folder / hidden).string();
  const int handle = ::mkstemp(pattern.data());
  if (handle < 0) return false;
  ::close(handle);
  const fs::path staged(pattern);
  bool done = fs::copy_file(source, staged, fs::copy_options::overwrite_existing, ec) && !ec;
  if (done) {
    const auto written = fs::last_write_time(source, ec);
    if (!ec) fs::last_write_time(staged, written, ec);
    if (!ec) fs::rename(staged, destination, ec);
    done = !ec;
  }
  if (!done) {
    std::error_code ignored;
    fs::remove(staged, ignored);
    return false;
  }
  return true;
}

bool ForceFolder(const QString& Folder) {
  if (Folder.isEmpty()) return false;
  std::error_code ec;
  const fs::path path = ToPath(Folder);
  if (fs::is_directory(path, ec)) return true;
  fs::create_directories(path, ec);
  return fs::is_directory(path, ec);
}

}  // namespace FileCopy
