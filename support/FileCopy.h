#pragma once
// Copying a file over another the safe way: the bytes go to a new file beside the
// destination, which then takes the source's last-write time and is renamed over the
// destination. A failed copy leaves the destination as it was.
#include <QString>

namespace FileCopy {

// Copies Source to Destination, replacing it and creating missing parent folders; false when
// the source is not a readable regular file, names the destination itself, or the copy fails.
bool CopyReplacing(const QString& Source, const QString& Destination);

// Creates Folder and every missing parent; true when it exists afterwards.
bool ForceFolder(const QString& Folder);

}  // namespace FileCopy
