#include "mdlVbNetIni.h"

#include "pathresolve.h"
#include "safewrite.h"
#include "textfile.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QLockFile>
#include <QMutex>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

namespace {

constexpr int kBufferSize = 2048;
// A file larger than this is not an INI file of ours; it is treated as
// unreadable rather than loaded into memory.
constexpr qint64 kMaxFileSize = 64 * 1024 * 1024;
constexpr int kLockTimeoutMs = 5000;

// ---------------------------------------------------------------- text ----

const char16_t kCp1252High[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                  0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                  0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                  0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

bool isAscii(const char* p, qsizetype n) {
    for (qsizetype i = 0; i < n; ++i)
        if (static_cast<unsigned char>(p[i]) >= 0x80)
            return false;
    return true;
}

bool isValidUtf8(const char* s, qsizetype n) {
    const auto* p = reinterpret_cast<const unsigned char*>(s);
    qsizetype i = 0;
    while (i < n) {
        const unsigned char c = p[i];
        if (c < 0x80) {
            ++i;
            continue;
        }
        int extra;
        unsigned int cp;
        if ((c & 0xE0) == 0xC0) {
            extra = 1;
            cp = c & 0x1F;
        } else if ((c & 0xF0) == 0xE0) {
            extra = 2;
            cp = c & 0x0F;
        } else if ((c & 0xF8) == 0xF0) {
            extra = 3;
            cp = c & 0x07;
        } else {
            return false;
        }
        for (int k = 1; k <= extra; ++k) {
            if (i + k >= n || (p[i + k] & 0xC0) != 0x80)
                return false;
            cp = (cp << 6) | (p[i + k] & 0x3F);
        }
        // Overlong forms, surrogates and values past the Unicode range.
        if ((extra == 1 && cp < 0x80) || (extra == 2 && cp < 0x800) ||
            (extra == 3 && cp < 0x10000) || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
            return false;
        i += extra + 1;
    }
    return true;
}

QString decodeCp1252(const char* s, qsizetype n) {
    QString out(n, Qt::Uninitialized);
    QChar* d = out.data();
    for (qsizetype i = 0; i < n; ++i) {
        const unsigned char c = static_cast<unsigned char>(s[i]);
        d[i] = (c >= 0x80 && c < 0xA0) ? QChar(kCp1252High[c - 0x80]) : QChar(c);
    }
    return out;
}

// Decodes the bytes of one line: UTF-8 when they are valid UTF-8, else
// Windows-1252, so that files from older installations read correctly.
QString decodeBytes(const char* p, qsizetype n) {
    if (isAscii(p, n))
        return QString::fromLatin1(p, n);
    if (isValidUtf8(p, n))
        return QString::fromUtf8(p, n);
    return decodeCp1252(p, n);
}

inline bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

void trim(const char*& b, const char*& e) {
    while (b < e && isBlank(*b))
        ++b;
    while (e > b && isBlank(e[-1]))
        --e;
}

inline char foldAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
}

// A name to look for, prepared once per call.
struct Needle {
    explicit Needle(const QString& name)
        : text(name.trimmed()), utf8(text.toUtf8()), ascii(isAscii(utf8.constData(), utf8.size())) {
    }

    bool matches(const char* b, const char* e) const {
        const qsizetype n = e - b;
        if (ascii && isAscii(b, n)) {
            if (n != utf8.size())
                return false;
            const char* q = utf8.constData();
            for (qsizetype i = 0; i < n; ++i)
                if (foldAscii(b[i]) != foldAscii(q[i]))
                    return false;
            return true;
        }
        return decodeBytes(b, n).compare(text, Qt::CaseInsensitive) == 0;
    }

    QString text;
    QByteArray utf8;
    bool ascii;
};

// ---------------------------------------------------------------- lines ---

enum class Kind { Other, Section, Entry };

// What one line of an INI file says. Names and values point into the line.
struct LineInfo {
    Kind kind = Kind::Other;
    const char* nameBegin = nullptr;
    const char* nameEnd = nullptr;
    const char* valueBegin = nullptr;
    const char* valueEnd = nullptr;
};

LineInfo classify(const char* b, const char* e) {
    LineInfo info;
    if (std::memchr(b, '\0', e - b))
        return info; // binary junk is never a section or an entry
    const char* p = b;
    while (p < e && isBlank(*p))
        ++p;
    if (p == e || *p == ';')
        return info;
    if (*p == '[') {
        const char* close = e;
        while (close > p && close[-1] != ']')
            --close;
        if (close == p)
            return info; // "[" without "]": not a header
        info.kind = Kind::Section;
        info.nameBegin = p + 1;
        info.nameEnd = close - 1;
        trim(info.nameBegin, info.nameEnd);
        return info;
    }
    const char* eq = static_cast<const char*>(std::memchr(p, '=', e - p));
    if (!eq)
        return info;
    info.kind = Kind::Entry;
    info.nameBegin = p;
    info.nameEnd = eq;
    trim(info.nameBegin, info.nameEnd);
    info.valueBegin = eq + 1;
    info.valueEnd = e;
    trim(info.valueBegin, info.valueEnd);
    return info;
}

// Whether a line could be a section header: "[" after leading blanks.
inline bool startsSectionHeader(const char* b, const char* e) {
    while (b < e && isBlank(*b))
        ++b;
    return b < e && *b == '[';
}

// Calls f(begin, end) for every line from p up to end, without its line end,
// until f returns false.
template <typename F> void forEachLineIn(const char* p, const char* end, F&& f) {
    while (p < end) {
        const char* nl = static_cast<const char*>(std::memchr(p, '\n', end - p));
        const char* le = nl ? nl : end;
        const char* content_end = (le > p && le[-1] == '\r') ? le - 1 : le;
        if (!f(p, content_end))
            return;
        p = nl ? nl + 1 : end;
    }
}

// Calls f(begin, end) for every line of data, without its line end.
template <typename F> void forEachLine(const QByteArray& data, F&& f) {
    const char* p = data.constData();
    const char* end = p + data.size();
    if (end - p >= 3 && std::memcmp(p, "\xEF\xBB\xBF", 3) == 0)
        p += 3;
    forEachLineIn(p, end, std::forward<F>(f));
}

QString valueText(const char* b, const char* e) {
    if (e - b >= 2 && (*b == '"' || *b == '\'') && e[-1] == *b) {
        ++b;
        --e;
    }
    QString v = decodeBytes(b, e - b);
    if (v.size() > kIniValueMax)
        v.truncate(kIniValueMax);
    return v;
}

// ----------------------------------------------------------------- files ---

// A file is read with few system calls: the open, the reads up to the end
// and the close.
std::optional<QByteArray> readOpened(QFile& f, qint64 expected) {
    // One byte more than expected, so that the first read already meets the
    // end of a file that has not grown since its stat.
    QByteArray data(qMin<qint64>(expected, kMaxFileSize) + 1, Qt::Uninitialized);
    qint64 used = 0;
    for (;;) {
        const qint64 n = f.read(data.data() + used, data.size() - used);
        if (n < 0)
            return std::nullopt;
        used += n;
        if (used < data.size())
            break; // the end of the file
        if (used > kMaxFileSize)
            return std::nullopt;
        data.resize(qMin<qint64>(data.size() * 2, kMaxFileSize + 1));
    }
    data.truncate(used);
    return data;
}

// The whole of an existing regular file, or nothing.
std::optional<QByteArray> readFileAt(const QFileInfo& fi) {
    if (!fi.isFile() || fi.size() > kMaxFileSize)
        return std::nullopt;
    QFile f(fi.filePath());
    if (!f.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return std::nullopt;
    return readOpened(f, fi.size());
}

std::optional<QByteArray> readWhole(const QString& path) {
    return readFileAt(QFileInfo(path));
}

// The file a name written with either separator (already normalized) names
// in any letter case. The name as written is tried first, as it nearly always
// names the file itself; one stat answers type, existence and size.
QFileInfo findFile(const QString& written) {
    QFileInfo fi(written);
    if (!fi.isFile() && !fi.exists())
        fi.setFile(tarvo::resolvePath(written));
    return fi;
}

std::optional<QByteArray> readAnyCase(const QString& file) {
    const QString written = tarvo::normalizeSeparators(file);
    if (written.isEmpty())
        return std::nullopt;
    return readFileAt(findFile(written));
}

// ----------------------------------------------------------------- cache ---

// Reads look a key up in the file as it is on the disk, but a file that has
// not changed since it was last read is not read and split again: it is kept
// with the places of its section headers and checked with one stat (its
// modification time) before each use. A stamp is trusted only when the file
// had already been unchanged for a while when it was read, so that a rewrite
// within the file system's timestamp granularity (up to 2 s on FAT) of the
// read cannot go unnoticed. Our own writes empty the cache.
constexpr std::chrono::seconds kSettled{3};
constexpr qint64 kMaxCachedFile = 1024 * 1024;
constexpr qint64 kMaxCachedTotal = 8 * 1024 * 1024;

struct SectionHeader {
    qsizetype nameBegin, nameEnd; // the name within the brackets
    qsizetype bodyBegin, bodyEnd; // the lines up to the next header
};

struct IniData {
    QByteArray data;
    std::vector<SectionHeader> headers;
    qint64 size = 0;
    std::filesystem::file_time_type modified;
    std::filesystem::file_time_type readAt;

    explicit IniData(QByteArray bytes) : data(std::move(bytes)) {
        const char* base = data.constData();
        const char* end = base + data.size();
        forEachLine(data, [&](const char* b, const char* e) {
            if (!startsSectionHeader(b, e))
                return true;
            const LineInfo li = classify(b, e);
            if (li.kind != Kind::Section)
                return true;
            if (!headers.empty())
                headers.back().bodyEnd = b - base;
            const char* nl = static_cast<const char*>(std::memchr(e, '\n', end - e));
            headers.push_back(
                {li.nameBegin - base, li.nameEnd - base, (nl ? nl + 1 : end) - base, data.size()});
            return true;
        });
    }

    // The lines of the first section called name, or nothing.
    std::optional<std::pair<const char*, const char*>> section(const Needle& name) const {
        const char* base = data.constData();
        for (const SectionHeader& h : headers)
            if (name.matches(base + h.nameBegin, base + h.nameEnd))
                return std::make_pair(base + h.bodyBegin, base + h.bodyEnd);
        return std::nullopt;
    }
};

std::filesystem::file_time_type modificationTime(const QString& path, std::error_code& ec) {
    return std::filesystem::last_write_time(std::filesystem::path(path.toStdU16String()), ec);
}

class IniCache {
public:
    std::shared_ptr<const IniData> get(const QString& file) {
        const QString written = tarvo::normalizeSeparators(file);
        if (written.isEmpty())
            return nullptr;
        const auto now = std::filesystem::file_time_type::clock::now();
        // An unchanged file costs this one stat. (QFileInfo's times are
        // converted to local time, which costs more than the rest of a read.)
        std::error_code ec;
        auto modified = modificationTime(written, ec);
        if (!ec) {
            QMutexLocker lock(&m_mutex);
            const auto it = m_files.constFind(written);
            if (it != m_files.cend() && (*it)->modified == modified &&
                (*it)->readAt - modified > kSettled)
                return *it;
        }

        const QFileInfo fi = findFile(written);
        if (!fi.isFile())
            return nullptr;
        const QString key = fi.filePath();
        if (key != written)
            modified = modificationTime(key, ec);
        auto bytes = readFileAt(fi);
        if (!bytes)
            return nullptr;
        const qint64 size = bytes->size();
        auto ini = std::make_shared<IniData>(std::move(*bytes));
        ini->size = size;
        ini->modified = modified;
        ini->readAt = now;
        if (!ec && size <= kMaxCachedFile) {
            QMutexLocker lock(&m_mutex);
            if (m_total + size > kMaxCachedTotal)
                clearLocked();
            if (const auto old = m_files.constFind(key); old != m_files.cend())
                m_total -= (*old)->size;
            m_files.insert(key, ini);
            m_total += size;
        }
        return ini;
    }

    void clear() {
        QMutexLocker lock(&m_mutex);
        clearLocked();
    }

private:
    void clearLocked() {
        m_files.clear();
        m_total = 0;
    }

    QMutex m_mutex;
    QHash<QString, std::shared_ptr<const IniData>> m_files;
    qint64 m_total = 0;
};

IniCache& iniCache() {
    static IniCache cache;
    return cache;
}

// One file as lines of raw bytes, for rewriting.
struct Document {
    bool bom = false;
    std::vector<QByteArray> lines;

    static Document parse(const QByteArray& data) {
        Document doc;
        doc.bom = data.startsWith("\xEF\xBB\xBF");
        forEachLine(data, [&](const char* b, const char* e) {
            doc.lines.emplace_back(b, e - b);
            return true;
        });
        return doc;
    }

    QByteArray serialize() const {
        QByteArray out;
        qsizetype total = bom ? 3 : 0;
        for (const QByteArray& l : lines)
            total += l.size() + 2;
        out.reserve(total);
        if (bom)
            out.append("\xEF\xBB\xBF");
        for (const QByteArray& l : lines) {
            out.append(l);
            out.append("\r\n");
        }
        return out;
    }

    LineInfo info(size_t i) const {
        const QByteArray& l = lines[i];
        return classify(l.constData(), l.constData() + l.size());
    }

    // Index of the header line of the first section called name, or -1.
    qsizetype findSection(const Needle& name) const {
        for (size_t i = 0; i < lines.size(); ++i) {
            const LineInfo li = info(i);
            if (li.kind == Kind::Section && name.matches(li.nameBegin, li.nameEnd))
                return qsizetype(i);
        }
        return -1;
    }

    // One past the last line of the section whose header is at header.
    size_t sectionEnd(size_t header) const {
        size_t i = header + 1;
        while (i < lines.size() && info(i).kind != Kind::Section)
            ++i;
        return i;
    }
};

// Reads, changes and rewrites a file under its lock. change returns false
// when there is nothing to write.
template <typename Change> bool rewrite(const QString& file, Change&& change) {
    // Whatever happens below, what was read before may be out of date.
    struct Forget {
        ~Forget() { iniCache().clear(); }
    } forget;
    const QString path = tarvo::resolvePath(file);
    if (path.isEmpty())
        return false;
    QFileInfo fi(path);
    // A file without write permission counts as read-only even for a user
    // who could override it, as the read-only attribute does on Windows.
    const auto writeBits =
        QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther;
    if (fi.exists() && (!fi.isFile() || !fi.isWritable() || !(fi.permissions() & writeBits)))
        return false;

    QLockFile lock(path + QStringLiteral(".lock"));
    lock.setStaleLockTime(10000);
    if (!lock.tryLock(kLockTimeoutMs))
        return false;

    Document doc;
    fi.refresh();
    if (fi.exists()) {
        const auto data = readWhole(path);
        if (!data)
            return false;
        doc = Document::parse(*data);
    }
    if (!change(doc))
        return true;

    return tarvo::replaceFileContents(path, doc.serialize());
}

QString cutToBuffer(const QString& s) {
    return s.size() > kIniValueMax ? s.left(kIniValueMax) : s;
}

} // namespace

QString ReadIniValue(const QString& section, const QString& key, const QString& defaultValue,
                     const QString& file) {
    const auto ini = iniCache().get(file);
    if (!ini)
        return cutToBuffer(defaultValue);
    const auto lines = ini->section(Needle(section));
    if (!lines)
        return cutToBuffer(defaultValue);

    const Needle keyName(key);
    std::optional<QString> found;
    forEachLineIn(lines->first, lines->second, [&](const char* b, const char* e) {
        const LineInfo li = classify(b, e);
        if (li.kind == Kind::Entry && keyName.matches(li.nameBegin, li.nameEnd)) {
            found = valueText(li.valueBegin, li.valueEnd);
            return false;
        }
        return true;
    });
    return found ? *found : cutToBuffer(defaultValue);
}

bool WriteIniValue(const QString& section, const QString& key, const QString& value,
                   const QString& file) {
    const Needle sectionName(section);
    const Needle keyName(key);
    const QByteArray entry = key.trimmed().toUtf8() + '=' + value.toUtf8();
    return rewrite(file, [&](Document& doc) {
        const qsizetype header = doc.findSection(sectionName);
        if (header < 0) {
            doc.lines.push_back('[' + section.trimmed().toUtf8() + ']');
            doc.lines.push_back(entry);
            return true;
        }
        const size_t end = doc.sectionEnd(size_t(header));
        size_t lastEntry = size_t(header);
        for (size_t i = size_t(header) + 1; i < end; ++i) {
            const LineInfo li = doc.info(i);
            if (li.kind != Kind::Entry)
                continue;
            if (keyName.matches(li.nameBegin, li.nameEnd)) {
                // Keep the key's own spelling, replace its value.
                const QByteArray name(li.nameBegin, li.nameEnd - li.nameBegin);
                doc.lines[i] = name + '=' + value.toUtf8();
                return true;
            }
            lastEntry = i;
        }
        // A new key goes right after the last entry of its section.
        doc.lines.insert(doc.lines.begin() + qsizetype(lastEntry + 1), entry);
        return true;
    });
}

bool DeleteIniSection(const QString& section, const QString& file) {
    const QString path = tarvo::resolvePath(file);
    if (!QFileInfo::exists(path))
        return true;
    const Needle sectionName(section);
    return rewrite(file, [&](Document& doc) {
        const qsizetype header = doc.findSection(sectionName);
        if (header < 0)
            return false;
        const size_t end = doc.sectionEnd(size_t(header));
        doc.lines.erase(doc.lines.begin() + header, doc.lines.begin() + qsizetype(end));
        return true;
    });
}

QString IniSectionKeyBuffer(const QString& section, const QString& file) {
    const auto ini = iniCache().get(file);
    if (!ini)
        return {};
    const auto lines = ini->section(Needle(section));
    if (!lines)
        return {};
    QString names;
    bool full = false;
    forEachLineIn(lines->first, lines->second, [&](const char* b, const char* e) {
        const LineInfo li = classify(b, e);
        if (li.kind == Kind::Entry) {
            names += decodeBytes(li.nameBegin, li.nameEnd - li.nameBegin);
            names += QChar(0);
            // Each name is followed by a NUL and the list by one more.
            if (names.size() + 1 > kBufferSize) {
                full = true;
                return false;
            }
        }
        return true;
    });
    if (full) {
        // As the platform does: the last name is cut, the result is two
        // characters short of the buffer.
        names.truncate(kBufferSize - 2);
    }
    return names;
}

qint16 LoadIniSectionToList(QStringList& list, const QString& section, const QString& file) {
    QString keys = IniSectionKeyBuffer(section, file);
    while (!keys.isEmpty()) {
        const QString key = TakeToNull(keys);
        list.append(ReadIniValue(section, key, QString(), file));
        if (!keys.contains(QChar(0)))
            break;
    }
    return static_cast<qint16>(list.size());
}

QString TakeToNull(QString& text) {
    const qsizetype p = text.indexOf(QChar(0));
    if (p < 0)
        return {};
    const QString head = text.left(p);
    text.remove(0, p + 1);
    return head;
}

qint16 clsIniFile::Data(const QString& section, const QString& key) const {
    // A value that cannot occur in a file marks an absent key.
    const QString absent = QStringLiteral("\x01");
    const QString v = ReadIniValue(section, key, absent, m_file);
    if (v == absent)
        return -1;
    qint32 n = 0;
    for (const QChar c : v) {
        if (!c.isDigit() || c.unicode() > 0x7F)
            break;
        n = n * 10 + (c.unicode() - '0');
        if (n > 0xFFFF)
            break;
    }
    return static_cast<qint16>(n);
}

bool clsIniFile::setData(const QString& section, const QString& key, qint16 value) {
    return WriteIniValue(section, key, QString::number(value), m_file);
}

QString clsIniFile::Text(const QString& section, const QString& key) const {
    QString v = ReadIniValue(section, key, QString(), m_file).left(254);
    const qsizetype nul = v.indexOf(QChar(0));
    if (nul >= 0)
        v.truncate(nul);
    return v;
}

bool clsIniFile::setText(const QString& section, const QString& key, const QString& value) {
    return WriteIniValue(section, key, value, m_file);
}

namespace tarvo {

QString decodeText(const QByteArray& bytes) {
    qsizetype start = bytes.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    return decodeBytes(bytes.constData() + start, bytes.size() - start);
}

QString readTextFile(const QString& path, bool* ok) {
    const auto data = readAnyCase(path);
    if (ok)
        *ok = data.has_value();
    return data ? decodeText(*data) : QString();
}

QStringList readNonEmptyLines(const QString& path) {
    QStringList lines;
    const auto data = readAnyCase(path);
    if (!data)
        return lines;
    forEachLine(*data, [&](const char* b, const char* e) {
        if (e > b)
            lines.append(decodeBytes(b, e - b));
        return true;
    });
    return lines;
}

} // namespace tarvo
