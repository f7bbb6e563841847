#pragma once
// The few registry values the batch runner reads. This platform has no registry: a value is
// found only when an INI-style file maps it, one section per key path under the current
// user's root (compared without case) and one entry per value name, for example
//   [Software\Borland\Delphi\7.0]
//   RootDir=/opt/delphi7
// Nothing is ever written. Without the file every lookup finds nothing.
#include <QString>

namespace RegistryLookup {

// "OpglProject/registry.ini" in the user's configuration folder.
QString DefaultFileName();

// The value Name of the key Key in the file MapFile; empty when either is missing.
QString ReadRegString(const QString& MapFile, const QString& Key, const QString& Name);

}  // namespace RegistryLookup
