// Reading the program's plain text files (descriptions, name lists, help
// texts): UTF-8 when the bytes are valid UTF-8, else Windows-1252, as the
// files of older installations are.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

namespace tarvo {

QString decodeText(const QByteArray& bytes);

// The bytes of a file (path resolved without regard to case); no value when
// it cannot be read.
std::optional<QByteArray> readFileBytes(const QString& path);

// The whole text of a file (path resolved without regard to case), line
// breaks kept; empty when it cannot be read. ok tells which.
QString readTextFile(const QString& path, bool* ok = nullptr);

// The non-empty lines of a text file, without their line ends.
QStringList readNonEmptyLines(const QString& path);

} // namespace tarvo
