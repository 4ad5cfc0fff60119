#include "gamefiles/loadorder.h"

#include "ini/mdlVbNetIni.h"
#include "ini/pathresolve.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>

#include <algorithm>

namespace tarvo::gamefiles {

namespace {

// Configuration files are a few kilobytes; anything past this is not one.
constexpr qint64 kConfigMax = 4 * 1024 * 1024;
constexpr int kConfigDepthMax = 8;

QByteArray readConfig(const QString& path, QString* why) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        *why = f.errorString();
        return {};
    }
    return f.read(kConfigMax);
}

// The files directly in a folder by their case-folded names.
void addFolderFiles(const QString& folder, QHash<QString, QString>& byName) {
    const QDir dir(folder);
    const QStringList names = dir.entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& n : names)
        byName.insert(n.toCaseFolded(), dir.filePath(n));
}

LoadOrderEntry entryFor(const QString& name, const QHash<QString, QString>& byName) {
    LoadOrderEntry e;
    e.name = name;
    e.path = byName.value(name.toCaseFolded());
    if (!e.path.isEmpty())
        e.modified = QFileInfo(e.path).lastModified();
    return e;
}

// A value of openmw.cfg as a path: quoted values may hold "&" escapes, a
// leading token stands for one of OpenMW's folders, and a relative path is
// taken from the folder of the file that holds it.
QString cfgPath(QString value, const QString& cfgFolder, const OpenMWFolders& folders) {
    if (value.startsWith(QLatin1Char('"'))) {
        QString plain;
        for (qsizetype i = 1; i < value.size(); ++i) {
            const QChar c = value[i];
            if (c == QLatin1Char('&') && i + 1 < value.size())
                plain += value[++i];
            else if (c == QLatin1Char('"'))
                break;
            else
                plain += c;
        }
        value = plain;
    }
    const std::pair<QLatin1String, QString> tokens[] = {
        {QLatin1String("?userconfig?"), folders.userConfig},
        {QLatin1String("?userdata?"), folders.userData},
        {QLatin1String("?global?"), folders.global},
        {QLatin1String("?local?"), cfgFolder},
    };
    for (const auto& [token, folder] : tokens) {
        if (value.startsWith(token, Qt::CaseInsensitive)) {
            QString rest = value.mid(token.size());
            while (rest.startsWith(QLatin1Char('/')) || rest.startsWith(QLatin1Char('\\')))
                rest.remove(0, 1);
            value = rest.isEmpty() ? folder : folder + QLatin1Char('/') + rest;
            break;
        }
    }
    return QDir::cleanPath(QDir(cfgFolder).absoluteFilePath(value));
}

struct CfgState {
    QStringList data, dataLocal, content;
    QString encoding;
    QStringList seen; // canonical paths, against loops
    QStringList problems;
};

void readCfg(const QString& file, const OpenMWFolders& folders, CfgState& st, int depth) {
    const QString canonical = QFileInfo(file).canonicalFilePath();
    if (st.seen.contains(canonical))
        return;
    st.seen.append(canonical);
    QString why;
    const QByteArray bytes = readConfig(file, &why);
    if (!why.isEmpty()) {
        st.problems.append(QStringLiteral("%1 cannot be read (%2)").arg(file, why));
        return;
    }
    const QString folder = QFileInfo(file).absolutePath();
    QStringList subConfigs;
    for (const QByteArray& raw : bytes.split('\n')) {
        const QString line = QString::fromUtf8(raw).trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (eq < 0)
            continue;
        const QString key = line.left(eq).trimmed().toLower();
        const QString value = line.mid(eq + 1).trimmed();
        if (key == QLatin1String("data"))
            st.data.append(cfgPath(value, folder, folders));
        else if (key == QLatin1String("data-local"))
            st.dataLocal.append(cfgPath(value, folder, folders));
        else if (key == QLatin1String("content"))
            st.content.append(value);
        else if (key == QLatin1String("encoding"))
            st.encoding = value;
        else if (key == QLatin1String("config"))
            subConfigs.append(cfgPath(value, folder, folders));
        else if (key == QLatin1String("replace")) {
            if (value.compare(QLatin1String("content"), Qt::CaseInsensitive) == 0)
                st.content.clear();
            else if (value.compare(QLatin1String("data"), Qt::CaseInsensitive) == 0)
                st.data.clear();
        }
    }
    for (const QString& sub : std::as_const(subConfigs)) {
        if (depth >= kConfigDepthMax) {
            st.problems.append(
                QStringLiteral("%1: configurations nest too deep; %2 is left out").arg(file, sub));
            continue;
        }
        const QString cfg = QFileInfo(sub).isDir() ? sub + QStringLiteral("/openmw.cfg") : sub;
        if (QFileInfo::exists(cfg))
            readCfg(cfg, folders, st, depth + 1);
    }
}

bool hasEntry(const QString& folder, const char* name) {
    const QString p = resolvePath(folder + QLatin1Char('/') + QLatin1String(name));
    return QFileInfo::exists(p);
}

} // namespace

bool LoadOrderEntry::isMaster() const {
    return name.endsWith(QLatin1String(".esm"), Qt::CaseInsensitive);
}

QStringList LoadOrder::missing() const {
    QStringList out;
    for (const LoadOrderEntry& e : files)
        if (!e.found())
            out.append(e.name);
    return out;
}

OpenMWFolders OpenMWFolders::forHome(const QString& home) {
    OpenMWFolders f;
#if defined(Q_OS_WIN)
    f.userConfig = f.userData = home + QStringLiteral("/Documents/My Games/OpenMW");
#elif defined(Q_OS_MACOS)
    f.userConfig = home + QStringLiteral("/Library/Preferences/openmw");
    f.userData = home + QStringLiteral("/Library/Application Support/openmw");
#else
    f.userConfig = home + QStringLiteral("/.config/openmw");
    f.userData = home + QStringLiteral("/.local/share/openmw");
    f.global = QStringLiteral("/usr/share/games/openmw");
#endif
    return f;
}

LoadOrder morrowindLoadOrder(const QString& gameFolder) {
    LoadOrder lo;
    lo.kind = LoadOrder::Kind::MorrowindIni;
    lo.configFile = resolvePath(gameFolder + QStringLiteral("/Morrowind.ini"));
    const QString data = resolvePath(gameFolder + QStringLiteral("/Data Files"));
    lo.dataFolders = {data};

    QString why;
    const QByteArray ini = readConfig(lo.configFile, &why);
    if (!why.isEmpty()) {
        lo.problems.append(QStringLiteral("%1 cannot be read (%2)").arg(lo.configFile, why));
        return lo;
    }
    QStringList names, folded;
    bool inGameFiles = false;
    forEachIniItem(
        ini,
        [&](const QString& section) {
            inGameFiles = section.compare(QLatin1String("Game Files"), Qt::CaseInsensitive) == 0;
        },
        [&](const QString& key, const QString& value) {
            if (!inGameFiles || !key.startsWith(QLatin1String("GameFile"), Qt::CaseInsensitive) ||
                value.isEmpty() || folded.contains(value.toCaseFolded()))
                return;
            names.append(value);
            folded.append(value.toCaseFolded());
        });

    QHash<QString, QString> byName;
    addFolderFiles(data, byName);
    QList<LoadOrderEntry> groups[2]; // masters, plugins
    for (const QString& n : std::as_const(names)) {
        LoadOrderEntry e = entryFor(n, byName);
        groups[e.isMaster() ? 0 : 1].append(e);
    }
    for (auto& group : groups) {
        // Oldest first; a missing file has no date and goes last; equal
        // dates keep the order of Morrowind.ini.
        std::stable_sort(group.begin(), group.end(),
                         [](const LoadOrderEntry& a, const LoadOrderEntry& b) {
                             if (a.found() != b.found())
                                 return a.found();
                             return a.modified < b.modified;
                         });
        lo.files += group;
    }
    return lo;
}

LoadOrder openmwLoadOrder(const QString& configFile, const OpenMWFolders& folders) {
    LoadOrder lo;
    lo.kind = LoadOrder::Kind::OpenMWConfig;
    lo.configFile = configFile;
    CfgState st;
    readCfg(configFile, folders, st, 0);
    lo.problems = st.problems;
    if (!st.encoding.isEmpty()) {
        bool ok = false;
        lo.encoding = encodingFromName(st.encoding, &ok);
        if (!ok)
            lo.problems.append(
                QStringLiteral("encoding=%1 is not one OpenMW knows; win1252 is used instead")
                    .arg(st.encoding));
    }
    lo.dataFolders = st.data + st.dataLocal;
    QHash<QString, QString> byName;
    for (const QString& folder : std::as_const(lo.dataFolders))
        addFolderFiles(folder, byName); // later folders win
    QStringList folded;
    for (const QString& name : std::as_const(st.content)) {
        // Lua script lists carry no records; a file listed twice loads once.
        if (name.endsWith(QLatin1String(".omwscripts"), Qt::CaseInsensitive) ||
            folded.contains(name.toCaseFolded()))
            continue;
        folded.append(name.toCaseFolded());
        lo.files.append(entryFor(name, byName));
    }
    return lo;
}

LoadOrder loadOrderFor(const QString& path, const OpenMWFolders& folders) {
    const QFileInfo info(path);
    if (info.isDir()) {
        if (!hasEntry(path, "Morrowind.ini") && hasEntry(path, "openmw.cfg"))
            return openmwLoadOrder(resolvePath(path + QStringLiteral("/openmw.cfg")), folders);
        return morrowindLoadOrder(path);
    }
    if (info.fileName().compare(QLatin1String("Morrowind.ini"), Qt::CaseInsensitive) == 0)
        return morrowindLoadOrder(info.absolutePath());
    return openmwLoadOrder(path, folders);
}

} // namespace tarvo::gamefiles
