#include "updatelist.h"

#include "appfolder.h"
#include "ini/mdlVbNetIni.h"
#include "ini/pathresolve.h"

#include <QDir>
#include <QFileInfo>

namespace tarvo::update {

QStringList listTitles(const QString& listFile) {
    QStringList titles;
    LoadIniSectionToList(titles, QStringLiteral("title"), listFile);
    return titles;
}

UpdateEntry listEntry(const QString& listFile, int n) {
    UpdateEntry e;
    if (n < 0)
        return e;
    const QStringList titles = listTitles(listFile);
    if (n >= titles.size())
        return e;
    const QString k = QString::number(n);
    auto read = [&](const char* section, const char* key) {
        return ReadIniValue(QLatin1String(section), QLatin1String(key) + k, QString(), listFile);
    };
    e.title = titles[n];
    e.program = read("ProgramName", "iniProgram");
    e.version = read("version", "iniVersion");
    e.description = read("description", "iniDescription");
    e.downloadNow = read("DownloadNow", "iniDownloadNow");
    e.downloadFrom = read("DownloadFrom", "iniDownloadFrom");
    e.saveTo = read("SaveTo", "iniSaveTo");
    e.more = read("more", "iniMore");
    return e;
}

QString countSentence(int count) {
    const QString verb = count == 1 ? QStringLiteral(" is") : QStringLiteral(" are");
    const QString amount = count == 0 ? QStringLiteral("no") : QString::number(count);
    const QString noun = count == 1 ? QStringLiteral(" update") : QStringLiteral(" updates");
    return QStringLiteral("There") + verb + QStringLiteral(" currently ") + amount + noun +
           QStringLiteral(" avaliable.");
}

int compareVersions(const QString& a, const QString& b) {
    const QStringList pa = a.trimmed().split(QLatin1Char('.'));
    const QStringList pb = b.trimmed().split(QLatin1Char('.'));
    const qsizetype parts = qMax(pa.size(), pb.size());
    for (qsizetype i = 0; i < parts; ++i) {
        const QString x = i < pa.size() ? pa[i].trimmed() : QString();
        const QString y = i < pb.size() ? pb[i].trimmed() : QString();
        bool okX = false;
        bool okY = false;
        const qulonglong nx = x.isEmpty() ? 0 : x.toULongLong(&okX);
        const qulonglong ny = y.isEmpty() ? 0 : y.toULongLong(&okY);
        okX = okX || x.isEmpty();
        okY = okY || y.isEmpty();
        if (okX && okY) {
            if (nx != ny)
                return nx < ny ? -1 : 1;
            continue;
        }
        if (const int c = x.compare(y, Qt::CaseInsensitive); c != 0)
            return c < 0 ? -1 : 1;
    }
    return 0;
}

bool isNewer(const QString& latest, const QString& installed) {
    if (installed.trimmed().isEmpty())
        return true;
    return compareVersions(latest, installed) > 0;
}

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

namespace {
bool isInside(const QString& canonical, const QString& folder) {
    return canonical == folder || canonical.startsWith(folder + QLatin1Char('/'));
}
} // namespace

std::optional<QString> downloadTarget(const QString& saveTo, QString* reason) {
    auto refuse = [reason](const QString& why) -> std::optional<QString> {
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
    return writablePath(relative);
}

} // namespace tarvo::update
