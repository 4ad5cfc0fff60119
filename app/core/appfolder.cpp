#include "appfolder.h"

#include "ini/pathresolve.h"
#include "ini/safewrite.h"

#include <algorithm>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
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

// A relative path with a ".." part could lead out of the folder it is meant
// for (a download's target read from a list on a server, for one).
bool leavesFolder(const QString& relative) {
    return normalizeSeparators(relative).split(QLatin1Char('/')).contains(QLatin1String(".."));
}

// The shipped file: AppFolder followed by the relative path, resolved.
QString shippedPath(const QString& relative) {
    return resolvePath(appFolder() + withLeadingSeparator(relative));
}

// The per-user copy of a file (installed mode), whether or not it exists,
// given the shipped path: at the relative path as the shipped folder spells
// it ("\data\versions.ini" becomes "/Data/versions.ini"), so that the copies
// carry the same names as the shipped files whichever spelling asked first.
QString userCopyPath(const QString& shipped, const QString& relative) {
    const QString base = normalizeSeparators(appFolder());
    const QString spelled = shipped.startsWith(base) && shipped.size() > base.size() &&
                                    shipped.at(base.size()) == QLatin1Char('/')
                                ? shipped.mid(base.size())
                                : normalizeSeparators(withLeadingSeparator(relative));
    const QString direct = userDataFolder() + spelled;
    // Copies are made with the shipped spelling, so where a shipped file
    // gives it, no search by letter case is needed.
    if (QFileInfo::exists(shipped) || QFileInfo::exists(direct))
        return direct;
    return resolvePath(direct);
}
QString userCopyPath(const QString& relative) {
    return userCopyPath(shippedPath(relative), relative);
}

// The mode found for a program folder, kept until the folder or the user
// folder is set again: the folder's permissions are checked once, not at
// every file the program opens.
struct ModeCache {
    QString folder;
    bool portable = true;
    bool known = false;
};
ModeCache& modeCache() {
    static ModeCache cache;
    return cache;
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
    modeCache().known = false;
}

QString appPath(const QString& relative) {
    return readablePath(relative);
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
    ModeCache& cache = modeCache();
    const QString appFolderPath = appFolder();
    if (cache.known && cache.folder == appFolderPath)
        return cache.portable;
    cache.folder = appFolderPath;
    cache.known = true;
    // An installation marks its folder: a package's files stay pristine even
    // when root, who may write there, runs the program.
    if (QFileInfo::exists(appFolderPath + QStringLiteral("/.installed")))
        return cache.portable = false;
    // A folder without write permission counts as read-only even for a user
    // who could override it (root), so that an installed copy stays pristine:
    // the mode bits decide, not the WriteUser flag, which is the answer of
    // access() and always yes for root.
    const QFileInfo folder(appFolderPath);
    const auto writeBits =
        QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther;
    return cache.portable =
               folder.isDir() && folder.isWritable() && (folder.permissions() & writeBits);
}

void setPortableOverride(std::optional<bool> portable) {
    portableOverride() = portable;
    modeCache().known = false;
}

QString userDataFolder() {
    if (isPortable())
        return appFolder();
    QString folder = userFolderOverride();
    if (folder.isEmpty()) {
        // Not the application's own data location: that one is named after
        // the running program, and the update checker must find the same
        // files as the main program.
        const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
        folder = (base.isEmpty() ? QDir::homePath() : base) + QStringLiteral("/TARVO2");
    }
    return QDir::cleanPath(folder);
}

void setUserDataFolder(const QString& folder) {
    userFolderOverride() = folder.isEmpty() ? QString() : QDir::cleanPath(folder);
    modeCache().known = false;
}

QString writablePath(const QString& relative, bool seedFromShipped) {
    if (leavesFolder(relative))
        return {};
    if (isPortable())
        return shippedPath(relative);
    const QString shippedFile = shippedPath(relative);
    const QString path = userCopyPath(shippedFile, relative);
    if (QFileInfo::exists(path))
        return path;
    QDir().mkpath(QFileInfo(path).absolutePath());
    if (seedFromShipped) {
        QFile shipped(shippedFile);
        if (QFileInfo(shipped).isFile() && shipped.open(QIODevice::ReadOnly)) {
            const QByteArray bytes = shipped.readAll();
            if (shipped.error() == QFileDevice::NoError)
                replaceFileContents(path, bytes, Durability::Durable);
        }
    }
    return path;
}

QString readablePath(const QString& relative) {
    const QString shipped = shippedPath(relative);
    if (!isPortable()) {
        const QString own = userCopyPath(shipped, relative);
        if (QFileInfo(own).isFile())
            return own;
    }
    return shipped;
}

bool removeWrittenFile(const QString& relative) {
    if (leavesFolder(relative))
        return false;
    const QString path = isPortable() ? shippedPath(relative) : userCopyPath(relative);
    if (QFileInfo(path).isDir())
        return false;
    return QFile::remove(path) || !QFileInfo::exists(path);
}

QString dialogFolder() {
    if (isPortable())
        return appFolder();
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return documents.isEmpty() ? QDir::homePath() : documents;
}

QStringList folderFiles(const QString& relativeFolder, const QStringList& patterns) {
    if (leavesFolder(relativeFolder))
        return {};
    const QString shipped = shippedPath(relativeFolder);
    QStringList folders{shipped};
    if (!isPortable())
        folders << userCopyPath(shipped, relativeFolder);
    QStringList names;
    QSet<QString> seen;
    for (const QString& folder : folders) {
        const QStringList found = QDir(folder).entryList(patterns, QDir::Files | QDir::Readable);
        for (const QString& name : found)
            if (!seen.contains(name.toCaseFolded())) {
                seen.insert(name.toCaseFolded());
                names << name;
            }
    }
    std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
        return a.compare(b, Qt::CaseInsensitive) < 0;
    });
    return names;
}

} // namespace tarvo
