// File paths in this program are always the program folder followed by a
// relative path that may use either separator and any letter case
// ("/Data/Settings.ini", "\data\settings.ini"). These helpers map such a
// path to the file that really exists on a case-sensitive file system.
#pragma once

#include <QString>

namespace tarvo {

// Turns every "\" into "/" and folds repeated separators.
QString normalizeSeparators(const QString& path);

// Resolves a path component by component without regard to letter case.
// Components that exist are taken with their real spelling; from the first
// component that does not exist on, the rest is kept as written, so the
// result also names a file that is about to be created.
QString resolvePath(const QString& path);

} // namespace tarvo
