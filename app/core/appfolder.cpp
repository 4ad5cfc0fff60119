#include "appfolder.h"

#include "ini/pathresolve.h"

#include <QCoreApplication>
#include <QDir>

namespace tarvo {

namespace {
QString& folderOverride() {
    static QString folder;
    return folder;
}
} // namespace

QString appFolder() {
    QString folder = folderOverride();
    if (folder.isEmpty())
        folder = QCoreApplication::applicationDirPath();
    while (folder.size() > 1 && (folder.endsWith(QLatin1Char('/')) || folder.endsWith('\\')))
        folder.chop(1);
    return folder;
}

void setAppFolder(const QString& folder) {
    folderOverride() = QDir::cleanPath(folder);
}

QString appPath(const QString& relative) {
    QString rel = relative;
    if (!rel.startsWith(QLatin1Char('/')) && !rel.startsWith(QLatin1Char('\\')))
        rel.prepend(QLatin1Char('/'));
    return resolvePath(appFolder() + rel);
}

QString executableName(const QString& name) {
    QString base = name;
    if (base.endsWith(QLatin1String(".exe"), Qt::CaseInsensitive))
        base.chop(4);
#ifdef Q_OS_WIN
    return base + QStringLiteral(".exe");
#else
    return base;
#endif
}

} // namespace tarvo
