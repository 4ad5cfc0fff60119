// Command lines the user gives the program to start (the welcome window's
// optional button).
#pragma once

#include <QString>

namespace tarvo {

// The command line with a bare program name (no folder in it) that names a
// file in AppFolder replaced by that file's full path, quoted where the line
// goes on with arguments: as Windows does, the program's own folder is looked
// in first. Any other command line comes back as it is.
QString resolveLaunchCommand(const QString& commandLine);

} // namespace tarvo
