// The program folder (AppFolder): the binaries with Data, Images, Help,
// Templates and downloads beside them. Every file the program touches is
// this folder followed by a relative path.
#pragma once

#include <QString>

namespace tarvo {

// The folder of the running program, without a trailing separator.
QString appFolder();
// Points the program at another folder (tests, a relocated install).
void setAppFolder(const QString& folder);

// AppFolder followed by a relative path written with either separator and in
// any letter case, resolved to the file that really exists.
QString appPath(const QString& relative);

// The name of a program file in AppFolder as the platform spells it:
// "update" becomes "update.exe" on Windows and stays "update" elsewhere, and
// "update.exe" becomes "update" off Windows.
QString executableName(const QString& name);

} // namespace tarvo
