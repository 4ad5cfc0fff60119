#include "updatelist.h"

#include "appfolder.h"
#include "ini/mdlVbNetIni.h"
#include "ini/pathresolve.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace tarvo::update {

// ------------------------------------------------------------------ list ---

bool UpdateEntry::replacesProgram() const {
    if (program.trimmed().compare(kProgramItem, Qt::CaseInsensitive) == 0)
        return true;
    return !saveTo.trimmed().isEmpty() && isProgramFile(saveTo);
}

UpdateList UpdateList::fromBytes(const QByteArray& data) {
    UpdateList list;
    const QString title = QStringLiteral("title");
    QHash<QString, QString>* current = nullptr;
    bool inTitle = false;
    QStringList titleKeys;
    forEachIniItem(
        data,
        [&](const QString& section) {
            // Only the first section of a name answers; an empty name none.
            const QString name = section.toCaseFolded();
            inTitle = false;
            current = nullptr;
            if (name.isEmpty() || list.m_sections.contains(name))
                return;
            current = &list.m_sections[name];
            if (name == title)
                inTitle = list.m_isList = true;
        },
        [&](const QString& key, const QString& value) {
            if (!current)
                return;
            const QString name = key.toCaseFolded();
            // The first occurrence of a key answers.
            if (!current->contains(name))
                current->insert(name, value);
            if (inTitle)
                titleKeys.append(name);
        });
    const QHash<QString, QString> titles = list.m_sections.value(title);
    list.m_titles.reserve(titleKeys.size());
    for (const QString& key : std::as_const(titleKeys))
        list.m_titles.append(titles.value(key));
    return list;
}

UpdateList UpdateList::fromFile(const QString& file) {
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    const QByteArray data = f.read(kMaxListBytes + 1);
    if (data.size() > kMaxListBytes)
        return {};
    return fromBytes(data);
}

QString UpdateList::value(const QString& section, const QString& key) const {
    return m_sections.value(section.toCaseFolded()).value(key.toCaseFolded());
}

UpdateEntry UpdateList::entry(int n) const {
    UpdateEntry e;
    if (n < 0 || n >= m_titles.size())
        return e;
    const QString k = QString::number(n);
    auto read = [&](const char* section, const char* key) {
        return value(QLatin1String(section), QLatin1String(key) + k);
    };
    e.title = m_titles[n];
    e.program = read("ProgramName", "iniProgram");
    e.version = read("version", "iniVersion");
    e.description = read("description", "iniDescription");
    e.downloadNow = read("DownloadNow", "iniDownloadNow");
    e.downloadFrom = read("DownloadFrom", "iniDownloadFrom");
    e.saveTo = read("SaveTo", "iniSaveTo");
    e.more = read("more", "iniMore");
    e.sha256 = read("SHA256", "iniSHA256");
    return e;
}

QString countSentence(int count) {
    const QString verb = count == 1 ? QStringLiteral(" is") : QStringLiteral(" are");
    const QString amount = count == 0 ? QStringLiteral("no") : QString::number(count);
    const QString noun = count == 1 ? QStringLiteral(" update") : QStringLiteral(" updates");
    return QStringLiteral("There") + verb + QStringLiteral(" currently ") + amount + noun +
           QStringLiteral(" avaliable.");
}

// -------------------------------------------------------------- versions ---

namespace {

bool isDigit(QChar c) {
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

bool isSeparator(QChar c) {
    return c == QLatin1Char('.') || c == QLatin1Char('-') || c == QLatin1Char('_') ||
           c == QLatin1Char('+') || c == QLatin1Char('~') || c.isSpace();
}

// A number of any length without its leading zeros ("0" stays "0").
QString plainNumber(QStringView digits) {
    qsizetype i = 0;
    while (i + 1 < digits.size() && digits[i] == QLatin1Char('0'))
        ++i;
    return digits.mid(i).toString();
}

int compareNumbers(const QString& a, const QString& b) {
    if (a.size() != b.size())
        return a.size() < b.size() ? -1 : 1;
    const int c = a.compare(b);
    return c < 0 ? -1 : c > 0 ? 1 : 0;
}

struct Part {
    bool number = false;
    QString text; // a plain number, or a case-folded word
};

int compareParts(const Part& a, const Part& b) {
    if (a.number != b.number)
        return a.number ? -1 : 1;
    if (a.number)
        return compareNumbers(a.text, b.text);
    const int c = a.text.compare(b.text);
    return c < 0 ? -1 : c > 0 ? 1 : 0;
}

struct VersionKey {
    QStringList release;
    enum Kind { PreRelease, Release, LaterRelease } kind = Release;
    QList<Part> suffix;
};

VersionKey versionKey(const QString& text) {
    static const QStringList kPreWords = {QStringLiteral("alpha"),   QStringLiteral("beta"),
                                          QStringLiteral("dev"),     QStringLiteral("pre"),
                                          QStringLiteral("preview"), QStringLiteral("rc")};
    VersionKey key;
    const QString t = text.trimmed();
    qsizetype i = 0;
    if (t.size() > 1 && (t[0] == QLatin1Char('v') || t[0] == QLatin1Char('V')) && isDigit(t[1]))
        i = 1;
    // The release: numbers joined by single dots.
    while (i < t.size() && isDigit(t[i])) {
        const qsizetype start = i;
        while (i < t.size() && isDigit(t[i]))
            ++i;
        key.release.append(plainNumber(QStringView(t).mid(start, i - start)));
        if (i + 1 < t.size() && t[i] == QLatin1Char('.') && isDigit(t[i + 1]))
            ++i;
        else
            break;
    }
    while (!key.release.isEmpty() && key.release.last() == QLatin1String("0"))
        key.release.removeLast();

    const QStringView rest = QStringView(t).mid(i);
    for (qsizetype j = 0; j < rest.size();) {
        if (isSeparator(rest[j])) {
            ++j;
            continue;
        }
        const bool number = isDigit(rest[j]);
        const qsizetype start = j;
        while (j < rest.size() && !isSeparator(rest[j]) && isDigit(rest[j]) == number)
            ++j;
        const QStringView run = rest.mid(start, j - start);
        key.suffix.append({number, number ? plainNumber(run) : run.toString().toCaseFolded()});
    }
    if (!key.suffix.isEmpty()) {
        const bool pre = rest[0] == QLatin1Char('-') || rest[0] == QLatin1Char('~') ||
                         (!key.suffix[0].number && kPreWords.contains(key.suffix[0].text));
        key.kind = pre ? VersionKey::PreRelease : VersionKey::LaterRelease;
    }
    return key;
}

template <typename T, typename Compare>
int compareSequences(const QList<T>& a, const QList<T>& b, Compare compare) {
    const qsizetype n = std::min(a.size(), b.size());
    for (qsizetype i = 0; i < n; ++i)
        if (const int c = compare(a[i], b[i]); c != 0)
            return c;
    return a.size() == b.size() ? 0 : a.size() < b.size() ? -1 : 1;
}

} // namespace

int compareVersions(const QString& a, const QString& b) {
    const VersionKey x = versionKey(a);
    const VersionKey y = versionKey(b);
    // Without trailing zeros, a release that another one begins is the
    // older one ("2" before "2.0.1").
    if (const int c = compareSequences(x.release, y.release, compareNumbers); c != 0)
        return c;
    if (x.kind != y.kind)
        return x.kind < y.kind ? -1 : 1;
    return compareSequences(x.suffix, y.suffix, compareParts);
}

bool isNewer(const QString& latest, const QString& installed) {
    if (installed.trimmed().isEmpty())
        return true;
    return compareVersions(latest, installed) > 0;
}

// ------------------------------------------------------------- addresses ---

std::optional<QUrl> webAddress(const QString& text, const QUrl& base) {
    const QString t = text.trimmed();
    if (t.isEmpty())
        return std::nullopt;
    QUrl url(t);
    if (!url.isValid())
        return std::nullopt;
    if (url.isRelative() && base.isValid() && !base.isRelative())
        url = base.resolved(url);
    const QString scheme = url.scheme().toLower();
    if ((scheme != QLatin1String("http") && scheme != QLatin1String("https")) ||
        url.host().isEmpty())
        return std::nullopt;
    return url;
}

std::optional<QByteArray> sha256Digest(const QString& text) {
    const QString t = text.trimmed();
    if (t.size() != 64)
        return std::nullopt;
    for (const QChar c : t)
        if (!isDigit(c) && !(c >= QLatin1Char('a') && c <= QLatin1Char('f')) &&
            !(c >= QLatin1Char('A') && c <= QLatin1Char('F')))
            return std::nullopt;
    return QByteArray::fromHex(t.toLatin1());
}

// ---------------------------------------------------------------- targets ---

namespace {

// The parts of a relative path as the file system of any platform would
// match them: letter case folded, and without the dots and blanks at the
// end of a name, which Windows drops.
QStringList comparableParts(const QString& relative) {
    QStringList parts;
    for (QString part : normalizeSeparators(relative).split(QLatin1Char('/'))) {
        while (part.endsWith(QLatin1Char('.')) || part.endsWith(QLatin1Char(' ')))
            part.chop(1);
        if (!part.isEmpty())
            parts.append(part.toCaseFolded());
    }
    return parts;
}

const QStringList& managedFiles() {
    static const QStringList files = [] {
        QStringList out;
        for (const QString& f :
             {kVersionsFile, kListFile, kUrlsFile, kSettingsFile, kInstalledMark})
            out.append(comparableParts(f).join(QLatin1Char('/')));
        return out;
    }();
    return files;
}

bool isInside(const QString& canonical, const QString& folder) {
    return canonical == folder || canonical.startsWith(folder + QLatin1Char('/'));
}

} // namespace

bool isManagedFile(const QString& relative) {
    QString path = comparableParts(relative).join(QLatin1Char('/'));
    // The lock the INI layer takes beside a file belongs to it as well.
    if (path.endsWith(QLatin1String(".lock")))
        path.chop(5);
    return managedFiles().contains(path);
}

bool isProgramFile(const QString& relative) {
    static const QStringList kSuffixes = {
        QStringLiteral("exe"),   QStringLiteral("dll"), QStringLiteral("so"),
        QStringLiteral("dylib"), QStringLiteral("com"), QStringLiteral("bat"),
        QStringLiteral("cmd"),   QStringLiteral("sh"),  QStringLiteral("msi"),
        QStringLiteral("ps1"),   QStringLiteral("scr"), QStringLiteral("appimage")};
    const QStringList parts = comparableParts(relative);
    if (parts.isEmpty())
        return false;
    const QString name = parts.last();
    if (parts.size() == 1) {
        for (const char* program : {"prjtarvo2", "update"})
            if (name == QLatin1String(program) || name == QLatin1String(program) + ".exe")
                return true;
    }
    // "libx.so.6" as well as "x.so".
    const QStringList pieces = name.split(QLatin1Char('.'));
    for (qsizetype i = 1; i < pieces.size(); ++i)
        if (kSuffixes.contains(pieces[i]))
            return true;
    // A file already there that may be run, in the program folder or in the
    // user's copy of it.
    const QString written = normalizeSeparators(relative);
    for (const QString& file : {appPath(written), readablePath(written)}) {
        const QFileInfo fi(file);
        if (fi.isFile() && fi.isExecutable())
            return true;
    }
    return false;
}

std::optional<DownloadTarget> downloadTarget(const QString& saveTo, QString* reason) {
    auto refuse = [reason](const QString& why) -> std::optional<DownloadTarget> {
        if (reason)
            *reason = why;
        return std::nullopt;
    };
    const QString written = saveTo.trimmed();
    const bool share =
        written.startsWith(QLatin1String("\\\\")) || written.startsWith(QLatin1String("//")) ||
        written.startsWith(QLatin1String("\\/")) || written.startsWith(QLatin1String("/\\"));
    if (share || written.contains(QLatin1Char(':')) || written.startsWith(QLatin1Char('~')))
        return refuse(QStringLiteral("it is an absolute path"));
    QStringList parts;
    for (const QString& part : normalizeSeparators(written).split(QLatin1Char('/'))) {
        if (part.isEmpty() || part == QLatin1String("."))
            continue;
        if (part == QLatin1String(".."))
            return refuse(QStringLiteral("it climbs out of the program folder with \"..\""));
        parts << part;
    }
    if (parts.isEmpty() || written.endsWith(QLatin1Char('/')) ||
        written.endsWith(QLatin1Char('\\')))
        return refuse(QStringLiteral("it names no file"));

    const QString relative = parts.join(QLatin1Char('/'));
    const QString managed = QStringLiteral("it is a file that the update checker keeps itself");
    if (isManagedFile(relative))
        return refuse(managed);
    const QString base = userDataFolder();
    QDir().mkpath(base);
    const QString baseCanonical = QFileInfo(base).canonicalFilePath();
    // The deepest part of the path that exists, with every link followed,
    // must lie in the folder.
    QString probe = resolvePath(base + QLatin1Char('/') + relative);
    const QFileInfo target(probe);
    while (!QFileInfo::exists(probe) && probe.size() > base.size())
        probe = QFileInfo(probe).absolutePath();
    const QString canonical = QFileInfo(probe).canonicalFilePath();
    if (baseCanonical.isEmpty() || canonical.isEmpty() || !isInside(canonical, baseCanonical))
        return refuse(QStringLiteral("it leads out of the program folder"));
    if (target.isSymLink() && !target.exists())
        return refuse(QStringLiteral("it is a link that leads nowhere"));
    if (target.exists() && !target.isFile())
        return refuse(QStringLiteral("it names a folder"));
    // A link (or a differently written name) that reaches a managed file.
    if (target.exists()) {
        const QString reached = target.canonicalFilePath();
        const QStringList managedPaths = {kVersionsFile, kListFile, kUrlsFile, kSettingsFile,
                                          kInstalledMark};
        for (const QString& f : managedPaths)
            for (const QString& file : {appPath(f), readablePath(f), writablePath(f)})
                if (!file.isEmpty() && QFileInfo(file).canonicalFilePath() == reached)
                    return refuse(managed);
    }
    DownloadTarget out;
    out.path = writablePath(relative);
    out.relative = relative;
    out.program = isProgramFile(relative);
    return out;
}

} // namespace tarvo::update
