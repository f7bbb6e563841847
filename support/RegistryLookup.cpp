#include "RegistryLookup.h"

#include <QFileInfo>
#include <QStandardPaths>

#include "IniFile.h"

namespace RegistryLookup {

QString DefaultFileName() {
  return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
         QStringLiteral("/OpglProject/registry.ini");
}

QString ReadRegString(const QString& MapFile, const QString& Key, const QString& Name) {
  if (MapFile.isEmpty() || !QFileInfo(MapFile).isFile()) return {};
  const TIniFile map(MapFile);
  return map.ReadString(Key, Name, QString());
}

}  // namespace RegistryLookup
