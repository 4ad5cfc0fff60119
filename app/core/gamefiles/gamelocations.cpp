#include "gamefiles/gamelocations.h"

#include "ini/pathresolve.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSettings>

namespace tarvo::gamefiles {

namespace {

bool exists(const QString& folder, const QString& relative) {
    return QFileInfo::exists(resolvePath(folder + QLatin1Char('/') + relative));
}

// Where the game lies inside a Windows drive (a Wine prefix's drive_c).
const char* const kDriveFolders[] = {
    "Program Files (x86)/Bethesda Softworks/Morrowind",
    "Program Files/Bethesda Softworks/Morrowind",
    "Program Files (x86)/Steam/steamapps/common/Morrowind",
    "Program Files/Steam/steamapps/common/Morrowind",
    "GOG Games/Morrowind",
    "Program Files (x86)/GOG Galaxy/Games/Morrowind",
    "Program Files (x86)/GOG.com/Morrowind",
};

class Finder {
public:
    QList<GameLocation> found;

    void addGame(const QString& folder, const QString& source) {
        const QString real = resolvePath(folder);
        if (!isGameFolder(real))
            return;
        add({GameLocation::Kind::MorrowindFolder, QFileInfo(real).canonicalFilePath(), source, {}});
    }

    void addOpenMW(const QString& configFolder, const QString& dataFolder, const QString& source,
                   const OpenMWFolders& base) {
        const QString cfg = configFolder + QStringLiteral("/openmw.cfg");
        if (!QFileInfo(cfg).isFile())
            return;
        OpenMWFolders folders = base;
        folders.userConfig = configFolder;
        folders.userData = dataFolder;
        add({GameLocation::Kind::OpenMWConfig, cfg, source, folders});
    }

    // A Windows drive: the game's usual folders on it.
    void addDrive(const QString& drive, const QString& source) {
        for (const char* f : kDriveFolders)
            addGame(drive + QLatin1Char('/') + QLatin1String(f), source);
    }

    // Each folder in parent that is a Wine prefix (it has drive_c) or a game.
    void addPrefixesIn(const QString& parent, const QString& source) {
        const QDir dir(parent);
        for (const QString& name : dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
            const QString child = dir.filePath(name);
            if (exists(child, QStringLiteral("drive_c")))
                addDrive(resolvePath(child + QStringLiteral("/drive_c")), source);
            else
                addGame(child, source);
        }
    }

    // A Steam installation and the further libraries it lists.
    void addSteam(const QString& root, const QString& source) {
        if (!QFileInfo(root).isDir())
            return;
        addGame(root + QStringLiteral("/steamapps/common/Morrowind"), source);
        QFile vdf(resolvePath(root + QStringLiteral("/steamapps/libraryfolders.vdf")));
        if (!vdf.open(QIODevice::ReadOnly))
            return;
        static const QRegularExpression pathLine(QStringLiteral("^\\s*\"path\"\\s*\"(.*)\"\\s*$"));
        const QString text = QString::fromUtf8(vdf.read(1024 * 1024));
        for (const QString& line : text.split(QLatin1Char('\n'))) {
            const auto m = pathLine.match(line);
            if (m.hasMatch()) {
                QString library = m.captured(1);
                library.replace(QLatin1String("\\\\"), QLatin1String("\\"));
                addGame(library + QStringLiteral("/steamapps/common/Morrowind"), source);
            }
        }
    }

private:
    void add(const GameLocation& l) {
        const QString key = QFileInfo(l.path).canonicalFilePath();
        for (const GameLocation& o : std::as_const(found))
            if (QFileInfo(o.path).canonicalFilePath() == key)
                return;
        found.append(l);
    }
};

} // namespace

LoadOrder GameLocation::loadOrder() const {
    return kind == Kind::OpenMWConfig ? openmwLoadOrder(path, folders) : morrowindLoadOrder(path);
}

bool isGameFolder(const QString& folder) {
    return QFileInfo(folder).isDir() &&
           (exists(folder, QStringLiteral("Morrowind.ini")) ||
            exists(folder, QStringLiteral("Data Files/Morrowind.esm")));
}

QList<GameLocation> findGameLocations(const QString& home) {
    Finder f;
    const OpenMWFolders base = OpenMWFolders::forHome(home);
    f.addOpenMW(base.userConfig, base.userData, QStringLiteral("OpenMW"), base);
#if defined(Q_OS_WIN)
    const QString sub[] = {QStringLiteral("HKEY_LOCAL_MACHINE\\SOFTWARE\\WOW6432Node"),
                           QStringLiteral("HKEY_LOCAL_MACHINE\\SOFTWARE")};
    for (const QString& key : sub) {
        const QSettings reg(key + QStringLiteral("\\Bethesda Softworks\\Morrowind"),
                            QSettings::NativeFormat);
        const QString installed = reg.value(QStringLiteral("Installed Path")).toString();
        if (!installed.isEmpty())
            f.addGame(QDir::fromNativeSeparators(installed), QStringLiteral("Windows"));
    }
    for (const QFileInfo& drive : QDir::drives())
        f.addDrive(drive.absoluteFilePath().chopped(1), QStringLiteral("Windows"));
#else
    f.addOpenMW(home + QStringLiteral("/.var/app/org.openmw.OpenMW/config/openmw"),
                home + QStringLiteral("/.var/app/org.openmw.OpenMW/data/openmw"),
                QStringLiteral("OpenMW (Flatpak)"), base);
    const QString steamRoots[] = {
        home + QStringLiteral("/.steam/steam"),
        home + QStringLiteral("/.steam/root"),
        home + QStringLiteral("/.local/share/Steam"),
        home + QStringLiteral("/.var/app/com.valvesoftware.Steam/.local/share/Steam"),
        home + QStringLiteral("/.var/app/com.valvesoftware.Steam/data/Steam"),
        home + QStringLiteral("/snap/steam/common/.local/share/Steam"),
    };
    for (const QString& root : steamRoots)
        f.addSteam(root, root.contains(QLatin1String("/.var/app/"))
                             ? QStringLiteral("Steam (Flatpak)")
                             : QStringLiteral("Steam"));
    f.addPrefixesIn(home + QStringLiteral("/Games/Heroic"), QStringLiteral("Heroic"));
    f.addPrefixesIn(home + QStringLiteral("/Games/Heroic/Prefixes"), QStringLiteral("Heroic"));
    f.addPrefixesIn(home + QStringLiteral("/Games/Heroic/Prefixes/default"),
                    QStringLiteral("Heroic"));
    f.addPrefixesIn(home + QStringLiteral("/Games"), QStringLiteral("Lutris"));
    f.addPrefixesIn(home + QStringLiteral("/.local/share/bottles/bottles"),
                    QStringLiteral("Bottles"));
    f.addPrefixesIn(home + QStringLiteral("/.var/app/com.usebottles.bottles/data/bottles/bottles"),
                    QStringLiteral("Bottles"));
    f.addDrive(home + QStringLiteral("/.wine/drive_c"), QStringLiteral("Wine"));
#endif
    return f.found;
}

} // namespace tarvo::gamefiles
