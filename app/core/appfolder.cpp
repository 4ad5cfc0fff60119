#include "appfolder.h"

#include "ini/pathresolve.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace tarvo {

namespace {
QString& folderOverride() {
    static QString folder;
    return folder;
}
QString& userFolderOverride() {
    static QString folder;
    return folder;
}
std::optional<bool>& portableOverride() {
    static std::optional<bool> portable;
    return portable;
}
QString withLeadingSeparator(const QString& relative) {
    if (relative.startsWith(QLatin1Char('/')) || relative.startsWith(QLatin1Char('\\')))
        return relative;
    return QLatin1Char('/') + relative;
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
    return resolvePath(appFolder() + withLeadingSeparator(relative));
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

bool isPortable() {
    if (const std::optional<bool> forced = portableOverride())
        return *forced;
    // A folder without write permission counts as read-only even for a user
    // who could override it (root), so that an installed copy stays pristine.
    const QFileInfo folder(appFolder());
    const auto writeBits = QFileDevice::WriteOwner | QFileDevice::WriteGroup |
                           QFileDevice::WriteOther | QFileDevice::WriteUser;
    return folder.isDir() && folder.isWritable() && (folder.permissions() & writeBits);
}

void setPortableOverride(std::optional<bool> portable) {
    portableOverride() = portable;
}

QString userDataFolder() {
    if (isPortable())
        return appFolder();
    QString folder = userFolderOverride();
    if (folder.isEmpty())
        folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    return QDir::cleanPath(folder);
}

void setUserDataFolder(const QString& folder) {
    userFolderOverride() = folder.isEmpty() ? QString() : QDir::cleanPath(folder);
}

QString writablePath(const QString& relative, bool seedFromShipped) {
    if (isPortable())
        return appPath(relative);
    const QString path = resolvePath(userDataFolder() + withLeadingSeparator(relative));
    if (QFileInfo::exists(path))
        return path;
    QDir().mkpath(QFileInfo(path).absolutePath());
    if (seedFromShipped) {
        const QString shipped = appPath(relative);
        if (QFileInfo(shipped).isFile() && QFile::copy(shipped, path))
            QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                            QFileDevice::ReadGroup | QFileDevice::ReadOther);
    }
    return path;
}

QString readablePath(const QString& relative) {
    if (!isPortable()) {
        const QString own = resolvePath(userDataFolder() + withLeadingSeparator(relative));
        if (QFileInfo::exists(own))
            return own;
    }
    return appPath(relative);
}

} // namespace tarvo
