#include "pathresolve.h"

#include <QDir>
#include <QFileInfo>

namespace tarvo {

QString normalizeSeparators(const QString& path) {
    QString p = path;
    p.replace(QLatin1Char('\\'), QLatin1Char('/'));
    // Keep a leading "//" (a network path on Windows), fold the rest.
    const bool unc = p.startsWith(QLatin1String("//"));
    while (p.indexOf(QLatin1String("//"), unc ? 1 : 0) >= 0)
        p.replace(QLatin1String("//"), QLatin1String("/"));
    if (unc)
        p.prepend(QLatin1Char('/'));
    return p;
}

namespace {

// The entry of dir whose name equals name without regard to case, or an
// empty string when there is none.
QString findEntry(const QString& dir, const QString& name) {
    const QStringList entries =
        QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString& e : entries)
        if (e.compare(name, Qt::CaseInsensitive) == 0)
            return e;
    return {};
}

} // namespace

QString resolvePath(const QString& path) {
    const QString p = normalizeSeparators(path);
    if (p.isEmpty() || QFileInfo::exists(p))
        return p;

    // Find the longest prefix that exists as written, then resolve the rest
    // component by component.
    QStringList parts = p.split(QLatin1Char('/'));
    QString base;
    int first = 0;
    if (p.startsWith(QLatin1Char('/'))) {
        base = QStringLiteral("/");
        first = 1;
    } else if (parts.size() > 1 && parts[0].endsWith(QLatin1Char(':'))) {
        base = parts[0] + QLatin1Char('/'); // a drive letter
        first = 1;
    } else {
        base = QStringLiteral(".");
    }

    int known = first;
    QString current = base;
    for (int i = parts.size() - 1; i > first; --i) {
        const QString prefix = parts.mid(0, i).join(QLatin1Char('/'));
        if (!prefix.isEmpty() && QFileInfo::exists(prefix)) {
            current = prefix;
            known = i;
            break;
        }
    }

    for (int i = known; i < parts.size(); ++i) {
        const QString& part = parts[i];
        if (part.isEmpty() || part == QLatin1String("."))
            continue;
        const QString real = part == QLatin1String("..") ? QString() : findEntry(current, part);
        if (real.isEmpty()) {
            // Nothing matches: keep what is left as written.
            QString rest = parts.mid(i).join(QLatin1Char('/'));
            return current.endsWith(QLatin1Char('/')) ? current + rest
                                                      : current + QLatin1Char('/') + rest;
        }
        current =
            current.endsWith(QLatin1Char('/')) ? current + real : current + QLatin1Char('/') + real;
    }
    if (current.startsWith(QLatin1String("./")) && !p.startsWith(QLatin1String("./")))
        current.remove(0, 2);
    return current;
}

} // namespace tarvo
