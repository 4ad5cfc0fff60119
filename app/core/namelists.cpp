#include "namelists.h"

#include "ini/textfile.h"

#include <QStringDecoder>

#include <optional>

namespace tarvo {

namespace {

// UTF-16 without a byte-order mark, as some editors save "Unicode" text: the
// names are mostly Latin letters, so one byte of nearly every pair is zero,
// and the other almost never.
std::optional<QStringConverter::Encoding> unmarkedUtf16(const QByteArray& bytes) {
    const qsizetype pairs = bytes.size() / 2;
    qsizetype evenZero = 0;
    qsizetype oddZero = 0;
    for (qsizetype i = 0; i + 1 < bytes.size(); i += 2) {
        evenZero += bytes[i] == 0 ? 1 : 0;
        oddZero += bytes[i + 1] == 0 ? 1 : 0;
    }
    if (pairs > 0 && oddZero * 2 >= pairs && evenZero * 8 <= oddZero)
        return QStringConverter::Utf16LE;
    if (pairs > 0 && evenZero * 2 >= pairs && oddZero * 8 <= evenZero)
        return QStringConverter::Utf16BE;
    return std::nullopt;
}

bool isMarked(const QByteArray& bytes) {
    return bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF") ||
           bytes.startsWith("\xEF\xBB\xBF");
}

// The text of a list: a byte-order mark tells the encoding; without one,
// UTF-16 is recognised by its zero bytes, else the bytes are UTF-8 or
// Windows-1252. NUL characters, byte-order marks left inside (lists joined
// from several files) and other control characters are no part of any name.
QString listText(const QByteArray& bytes) {
    const std::optional<QStringConverter::Encoding> utf16 =
        isMarked(bytes) ? std::nullopt : unmarkedUtf16(bytes);
    QString text = utf16 ? QStringDecoder(*utf16)(bytes) : decodeText(bytes);
    text.removeIf([](QChar c) {
        return c == QChar(0xFEFF) || (c.unicode() < 0x20 && c != u'\t' && c != u'\r' && c != u'\n');
    });
    return text;
}

} // namespace

QStringList readNameList(const QString& path, bool* found) {
    const std::optional<QByteArray> bytes = readFileBytes(path);
    if (found)
        *found = bytes.has_value();
    const QString text = bytes ? listText(*bytes) : QString();
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
