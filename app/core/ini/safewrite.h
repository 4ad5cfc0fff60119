// Replacing a whole file so that it is never left half written.
#pragma once

#include <QByteArray>
#include <QString>

namespace tarvo {

// Writes bytes to a new file in the same folder as path and then puts it in
// path's place with one rename, so the file holds either its old contents or
// the whole new ones. An existing file keeps its permissions; a symbolic link
// keeps pointing where it did and the file it points to is replaced. On
// failure path is untouched, nothing is left behind, false is returned and,
// when failure is given, a short reason ("the file could not be written
// (disk full).") is put there.
bool replaceFileContents(const QString& path, const QByteArray& bytes, QString* failure = nullptr);

} // namespace tarvo
