#include "namelists.h"

#include "ini/textfile.h"

namespace tarvo {

QStringList readNameList(const QString& path, bool* found) {
    bool ok = false;
    const QString text = readTextFile(path, &ok);
    if (found)
        *found = ok;
    QStringList lines;
    const qsizetype n = text.size();
    qsizetype start = 0;
    for (qsizetype i = 0; i <= n; ++i) {
        if (i < n && text[i] != QLatin1Char('\r') && text[i] != QLatin1Char('\n'))
            continue;
        const QString line = text.mid(start, i - start).trimmed();
        if (!line.isEmpty())
            lines.append(line);
        // CR LF is one line end.
        if (i + 1 < n && text[i] == QLatin1Char('\r') && text[i + 1] == QLatin1Char('\n'))
            ++i;
        start = i + 1;
    }
    return lines;
}

QString nameFolder(const QString& nameCategory) {
    return QStringLiteral("Data/") + nameCategory + QStringLiteral(" Names/");
}

NameGenerator::NameGenerator() : m_random(QRandomGenerator::system()->generate()) {}

QString NameGenerator::draw(const QStringList& list) {
    if (list.isEmpty())
        return {};
    return list[qsizetype(m_random.bounded(quint32(list.size())))];
}

QString NameGenerator::compose(const QStringList& first, const QStringList& second) {
    if (first.isEmpty() || second.isEmpty())
        return {};
    const QString a = draw(first);
    return a + QLatin1Char(' ') + draw(second);
}

} // namespace tarvo
