#include "launch.h"

#include "appfolder.h"

#include <QFileInfo>

namespace tarvo {

namespace {
bool isBare(const QString& name) {
    return !name.isEmpty() && !name.contains(QLatin1Char('/')) && !name.contains(QLatin1Char('\\'));
}
// The file in AppFolder that a bare program name means, or nothing.
QString inAppFolder(const QString& name) {
    if (!isBare(name))
        return QString();
    for (const QString& candidate : {name, executableName(name)}) {
        const QString path = appPath(QLatin1Char('/') + candidate);
        if (QFileInfo(path).isFile())
            return path;
    }
    return QString();
}
} // namespace

QString resolveLaunchCommand(const QString& commandLine) {
    const QString line = commandLine.trimmed();
    // The whole line as one name first: program names may hold blanks.
    if (const QString whole = inAppFolder(line); !whole.isEmpty())
        return whole;
    // Else the first word, or the first quoted text, is the program.
    qsizetype end = 0;
    QString program;
    if (line.startsWith(QLatin1Char('"'))) {
        end = line.indexOf(QLatin1Char('"'), 1);
        if (end < 0)
            return commandLine;
        program = line.mid(1, end - 1);
        ++end;
    } else {
        while (end < line.size() && !line.at(end).isSpace())
            ++end;
        program = line.left(end);
    }
    const QString path = inAppFolder(program);
    if (path.isEmpty() || path.contains(QLatin1Char('"')))
        return commandLine;
    return QLatin1Char('"') + path + QLatin1Char('"') + line.mid(end);
}

} // namespace tarvo
