#include "mdlVbNetIni.h"

#include "pathresolve.h"
#include "safewrite.h"
#include "textfile.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QMutex>
#include <QStringDecoder>
#include <QStringEncoder>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#if defined(Q_OS_LINUX)
#include <sys/stat.h>
#endif

namespace {

constexpr int kBufferSize = 2048;
// A file larger than this is not an INI file of ours; it is treated as
// unreadable rather than loaded into memory.
constexpr qint64 kMaxFileSize = 64 * 1024 * 1024;

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
// A byte-order mark is only one at the very start of a file; anywhere else
// it is the character U+FEFF, which QString::fromUtf8 would drop.
QString decodeBytes(const char* p, qsizetype n) {
    if (isAscii(p, n))
        return QString::fromLatin1(p, n);
    if (isValidUtf8(p, n)) {
        if (n >= 3 && std::memcmp(p, "\xEF\xBB\xBF", 3) == 0)
            return QChar(0xFEFF) + QString::fromUtf8(p + 3, n - 3);
        return QString::fromUtf8(p, n);
    }
    return decodeCp1252(p, n);
}

inline bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

// Names are trimmed of the same blanks in a file and in a call, so that a
// listed key name always reads its value.
QString trimBlanks(const QString& s) {
    qsizetype b = 0, e = s.size();
    while (b < e && (s[b] == u' ' || s[b] == u'\t'))
        ++b;
    while (e > b && (s[e - 1] == u' ' || s[e - 1] == u'\t'))
        --e;
    return s.mid(b, e - b);
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
        : text(trimBlanks(name)), utf8(text.toUtf8()),
          ascii(isAscii(utf8.constData(), utf8.size())) {}

    // An empty name matches nothing: the platform lists no "=value" line.
    bool matches(const char* b, const char* e) const {
        const qsizetype n = e - b;
        if (n == 0 || text.isEmpty())
            return false;
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
// until f returns false. A line ends in CR LF, LF or CR alone (old Mac files).
template <typename F> void forEachLineIn(const char* p, const char* end, F&& f) {
    while (p < end) {
        const char* nl = static_cast<const char*>(std::memchr(p, '\n', end - p));
        const char* le = nl ? nl : end;
        const char* cr = static_cast<const char*>(std::memchr(p, '\r', le - p));
        if (cr) {
            if (!f(p, cr))
                return;
            p = (cr + 1 == nl) ? nl + 1 : cr + 1;
            continue;
        }
        if (!f(p, le))
            return;
        p = nl ? nl + 1 : end;
    }
}

// How a file's text is stored. UTF-16 files are handled as UTF-8 in memory
// and written back as UTF-16.
enum class Encoding { Plain, Utf8Bom, Utf16LE, Utf16BE };

// A file's text as bytes to split into lines: start is the first byte after
// the byte-order mark.
struct IniText {
    QByteArray bytes;
    qsizetype start = 0;
    Encoding encoding = Encoding::Plain;
};

IniText iniText(QByteArray raw) {
    IniText t;
    if (raw.startsWith("\xFF\xFE") || raw.startsWith("\xFE\xFF")) {
        t.encoding = raw.startsWith("\xFF\xFE") ? Encoding::Utf16LE : Encoding::Utf16BE;
        QStringDecoder decode(t.encoding == Encoding::Utf16LE ? QStringConverter::Utf16LE
                                                              : QStringConverter::Utf16BE,
                              QStringConverter::Flag::ConvertInitialBom);
        const QString text = decode(QByteArrayView(raw).sliced(2));
        t.bytes = text.toUtf8();
        return t;
    }
    if (raw.startsWith("\xEF\xBB\xBF")) {
        t.encoding = Encoding::Utf8Bom;
        t.start = 3;
    }
    t.bytes = std::move(raw);
    return t;
}

// Calls f(begin, end) for every line of a file's text, without its line end.
template <typename F> void forEachLine(const IniText& text, F&& f) {
    const char* base = text.bytes.constData();
    forEachLineIn(base + text.start, base + text.bytes.size(), std::forward<F>(f));
}

// At most n characters of s; a pair of surrogates is never split.
QString cutText(const QString& s, qsizetype n) {
    if (s.size() <= n)
        return s;
    if (n > 0 && s[n - 1].isHighSurrogate())
        --n;
    return s.left(n);
}

QString valueText(const char* b, const char* e) {
    if (e - b >= 2 && (*b == '"' || *b == '\'') && e[-1] == *b) {
        ++b;
        --e;
    }
    return cutText(decodeBytes(b, e - b), kIniValueMax);
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

// The name to look a file up by. A name that the user picked may hold a
// backslash as an ordinary character: when a file of that very name exists
// it is the one meant; otherwise "\" separates folders, as in the program's
// own paths.
QString lookupName(const QString& file) {
    if (file.contains(QLatin1Char('\\')) && QFileInfo::exists(file))
        return file;
    return tarvo::normalizeSeparators(file);
}

// The file a name (already through lookupName) names in any letter case.
// The name as written is tried first, as it nearly always names the file
// itself; one stat answers type, existence and size.
QFileInfo findFile(const QString& written) {
    QFileInfo fi(written);
    if (!fi.isFile() && !fi.exists())
        fi.setFile(tarvo::resolvePath(written));
    return fi;
}

std::optional<QByteArray> readAnyCase(const QString& file) {
    const QString written = lookupName(file);
    if (written.isEmpty())
        return std::nullopt;
    return readFileAt(findFile(written));
}

// ----------------------------------------------------------------- cache ---

// Reads look a key up in the file as it is on the disk, but a file that has
// not changed since it was last read is not read and split again: it is kept
// with the places of its section headers and checked with one stat before
// each use. The stat compares size, file identity and the modification and
// change times to the nanosecond, so that a file put in place with an old
// modification time (cp -p, rsync, tar) is seen too. A stamp is trusted only
// when the file had already been unchanged for a while when it was read, so
// that a rewrite within the file system's timestamp granularity (up to 2 s on
// FAT) of the read cannot go unnoticed. Our own writes empty the cache; an
// entry whose file is gone is dropped.
constexpr std::chrono::seconds kSettled{3};
constexpr qint64 kMaxCachedFile = 1024 * 1024;
constexpr qint64 kMaxCachedTotal = 8 * 1024 * 1024;

using Clock = std::filesystem::file_time_type::clock;

struct FileStamp {
    qint64 size = -1;
    quint64 device = 0, inode = 0;
    std::chrono::nanoseconds modified{0}, changed{0};
    bool operator==(const FileStamp&) const = default;
    // The later of the two times, on the clock of file times.
    std::chrono::nanoseconds latest() const { return std::max(modified, changed); }
};

std::optional<FileStamp> stampOf(const QString& path) {
    FileStamp s;
#if defined(Q_OS_LINUX)
    struct stat st;
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return std::nullopt;
    s.size = st.st_size;
    s.device = quint64(st.st_dev);
    s.inode = quint64(st.st_ino);
    s.modified =
        std::chrono::seconds(st.st_mtim.tv_sec) + std::chrono::nanoseconds(st.st_mtim.tv_nsec);
    s.changed =
        std::chrono::seconds(st.st_ctim.tv_sec) + std::chrono::nanoseconds(st.st_ctim.tv_nsec);
#else
    std::error_code ec;
    const std::filesystem::path p(path.toStdU16String());
    const auto t = std::filesystem::last_write_time(p, ec);
    if (ec)
        return std::nullopt;
    s.size = qint64(std::filesystem::file_size(p, ec));
    if (ec)
        return std::nullopt;
    s.modified = s.changed =
        std::chrono::duration_cast<std::chrono::nanoseconds>(t.time_since_epoch());
#endif
    return s;
}

// Now, on the clock of the stamps.
std::chrono::nanoseconds stampClockNow() {
#if defined(Q_OS_LINUX)
    struct timespec ts;
    clock_gettime(CLOCK_REALTIME, &ts);
    return std::chrono::seconds(ts.tv_sec) + std::chrono::nanoseconds(ts.tv_nsec);
#else
    return std::chrono::duration_cast<std::chrono::nanoseconds>(Clock::now().time_since_epoch());
#endif
}

struct SectionHeader {
    qsizetype nameBegin, nameEnd; // the name within the brackets
    qsizetype bodyBegin, bodyEnd; // the lines up to the next header
};

struct IniData {
    IniText text;
    std::vector<SectionHeader> headers;
    qint64 size = 0;
    FileStamp stamp;
    std::chrono::nanoseconds readAt{0};

    explicit IniData(IniText t) : text(std::move(t)) {
        const QByteArray& data = text.bytes;
        const char* base = data.constData();
        const char* end = base + data.size();
        forEachLine(text, [&](const char* b, const char* e) {
            if (!startsSectionHeader(b, e))
                return true;
            const LineInfo li = classify(b, e);
            if (li.kind != Kind::Section)
                return true;
            if (!headers.empty())
                headers.back().bodyEnd = b - base;
            // The body starts after this line's end (CR LF, LF or CR).
            const char* next = e;
            if (next < end && *next == '\r')
                ++next;
            if (next < end && *next == '\n' && (next == e || next[-1] == '\r'))
                ++next;
            headers.push_back({li.nameBegin - base, li.nameEnd - base, next - base, data.size()});
            return true;
        });
    }

    // The lines of the first section called name, or nothing.
    std::optional<std::pair<const char*, const char*>> section(const Needle& name) const {
        const char* base = text.bytes.constData();
        for (const SectionHeader& h : headers)
            if (name.matches(base + h.nameBegin, base + h.nameEnd))
                return std::make_pair(base + h.bodyBegin, base + h.bodyEnd);
        return std::nullopt;
    }
};

class IniCache {
public:
    std::shared_ptr<const IniData> get(const QString& file) {
        const QString written = lookupName(file);
        if (written.isEmpty())
            return nullptr;
        const auto now = stampClockNow();
        // An unchanged file costs this one stat. (QFileInfo's times are
        // converted to local time, which costs more than the rest of a read.)
        auto stamp = stampOf(written);
        {
            QMutexLocker lock(&m_mutex);
            const auto it = m_files.find(written);
            if (it != m_files.end()) {
                if (stamp && (*it)->stamp == *stamp && (*it)->readAt - stamp->latest() > kSettled)
                    return *it;
                m_total -= (*it)->size;
                m_files.erase(it);
            }
        }

        const QFileInfo fi = findFile(written);
        if (!fi.isFile())
            return nullptr;
        const QString key = fi.filePath();
        if (key != written)
            stamp = stampOf(key);
        auto bytes = readFileAt(fi);
        if (!bytes)
            return nullptr;
        const qint64 size = bytes->size();
        auto ini = std::make_shared<IniData>(iniText(std::move(*bytes)));
        ini->size = size;
        ini->readAt = now;
        if (stamp && stamp->size == size && size <= kMaxCachedFile) {
            ini->stamp = *stamp;
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
    Encoding encoding = Encoding::Plain;
    std::vector<QByteArray> lines;

    static Document parse(QByteArray data) {
        Document doc;
        const IniText text = iniText(std::move(data));
        doc.encoding = text.encoding;
        forEachLine(text, [&](const char* b, const char* e) {
            doc.lines.emplace_back(b, e - b);
            return true;
        });
        return doc;
    }

    QByteArray serialize() const {
        QByteArray out;
        qsizetype total = 3;
        for (const QByteArray& l : lines)
            total += l.size() + 2;
        out.reserve(total);
        if (encoding == Encoding::Utf8Bom)
            out.append("\xEF\xBB\xBF");
        for (const QByteArray& l : lines) {
            out.append(l);
            out.append("\r\n");
        }
        if (encoding == Encoding::Utf16LE || encoding == Encoding::Utf16BE) {
            // The lines of a UTF-16 file are valid UTF-8 in memory.
            QStringDecoder decode(QStringConverter::Utf8,
                                  QStringConverter::Flag::ConvertInitialBom);
            const QString text = decode(out);
            QStringEncoder encode(encoding == Encoding::Utf16LE ? QStringConverter::Utf16LE
                                                                : QStringConverter::Utf16BE,
                                  QStringConverter::Flag::WriteBom);
            return encode(text);
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

// The file that a write of file changes: a name that the user picked as it
// stands when it exists, else resolved without regard to case; links
// followed. Empty when it cannot be written.
QString targetOf(const QString& file) {
    if (file.isEmpty())
        return {};
    const QString named = (file.contains(QLatin1Char('\\')) && QFileInfo::exists(file))
                              ? file
                              : tarvo::resolvePath(file);
    return tarvo::writeTarget(named);
}

// Reads, changes and rewrites a file under its lock. change returns false
// when there is nothing to write.
template <typename Change> bool rewrite(const QString& file, Change&& change) {
    // Whatever happens below, what was read before may be out of date.
    struct Forget {
        ~Forget() { iniCache().clear(); }
    } forget;
    const QString path = targetOf(file);
    if (path.isEmpty())
        return false;
    QFileInfo fi(path);
    // A file without write permission counts as read-only even for a user
    // who could override it, as the read-only attribute does on Windows.
    const auto writeBits =
        QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther;
    if (fi.exists() && (!fi.isWritable() || !(fi.permissions() & writeBits)))
        return false;

    const tarvo::FileWriteLock lock(path);
    if (!lock.locked())
        return false;

    Document doc;
    fi.refresh();
    if (fi.exists()) {
        auto data = readFileAt(fi);
        if (!data)
            return false;
        doc = Document::parse(std::move(*data));
    }
    if (!change(doc))
        return true;

    // Every INI file we write is a setting or a record the user keeps.
    return tarvo::replaceLockedFile(path, doc.serialize(), tarvo::Durability::Durable);
}

QString cutToBuffer(const QString& s) {
    return cutText(s, kIniValueMax);
}

bool hasLineBreakOrNul(const QString& s) {
    for (const QChar c : s)
        if (c == u'\n' || c == u'\r' || c == u'\0')
            return true;
    return false;
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

bool isStorableIniValue(const QString& value) {
    return !hasLineBreakOrNul(value);
}

bool isStorableIniKey(const QString& key) {
    const QString name = trimBlanks(key);
    return !name.isEmpty() && !hasLineBreakOrNul(name) && !name.startsWith(u'[') &&
           !name.startsWith(u';') && !name.contains(u'=');
}

bool isStorableIniSection(const QString& section) {
    return !trimBlanks(section).isEmpty() && !hasLineBreakOrNul(section);
}

QByteArray iniValueBytes(const QString& value) {
    const QByteArray bytes = value.toUtf8();
    const qsizetype n = bytes.size();
    if (n == 0)
        return bytes;
    const char first = bytes.front();
    const char last = bytes.back();
    // Blanks at either end would be trimmed on reading, and one pair of
    // quotation marks taken off: a pair of double quotes around the whole
    // keeps the value as it is.
    if (isBlank(first) || isBlank(last) ||
        (n >= 2 && (first == '"' || first == '\'') && last == first))
        return '"' + bytes + '"';
    return bytes;
}

bool WriteIniValue(const QString& section, const QString& key, const QString& value,
                   const QString& file) {
    // A name or value that would not read back as itself is refused; the
    // file is left as it is.
    if (!isStorableIniSection(section) || !isStorableIniKey(key) || !isStorableIniValue(value))
        return false;
    const Needle sectionName(section);
    const Needle keyName(key);
    const QByteArray valueBytes = iniValueBytes(value);
    const QByteArray entry = trimBlanks(key).toUtf8() + '=' + valueBytes;
    return rewrite(file, [&](Document& doc) {
        const qsizetype header = doc.findSection(sectionName);
        if (header < 0) {
            doc.lines.push_back('[' + trimBlanks(section).toUtf8() + ']');
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
                doc.lines[i] = name + '=' + valueBytes;
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
    if (!QFileInfo::exists(path) && !QFileInfo::exists(file))
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

void forEachIniItem(const QByteArray& data, const std::function<void(const QString&)>& section,
                    const std::function<void(const QString&, const QString&)>& entry) {
    forEachLine(iniText(data), [&](const char* b, const char* e) {
        const LineInfo li = classify(b, e);
        if (li.kind == Kind::Section)
            section(decodeBytes(li.nameBegin, li.nameEnd - li.nameBegin));
        else if (li.kind == Kind::Entry && li.nameEnd > li.nameBegin)
            entry(decodeBytes(li.nameBegin, li.nameEnd - li.nameBegin),
                  valueText(li.valueBegin, li.valueEnd));
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
        if (li.kind == Kind::Entry && li.nameEnd > li.nameBegin) {
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
    // Only whole names count: a name cut by the buffer has no NUL after it.
    while (keys.contains(QChar(0))) {
        const QString key = TakeToNull(keys);
        list.append(ReadIniValue(section, key, QString(), file));
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
    QString v = cutText(ReadIniValue(section, key, QString(), m_file), 254);
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
    const IniText text = iniText(bytes);
    return decodeBytes(text.bytes.constData() + text.start, text.bytes.size() - text.start);
}

std::optional<QByteArray> readFileBytes(const QString& path) {
    return readAnyCase(path);
}

QString readTextFile(const QString& path, bool* ok) {
    const auto data = readAnyCase(path);
    if (ok)
        *ok = data.has_value();
    return data ? decodeText(*data) : QString();
}

QStringList readNonEmptyLines(const QString& path) {
    QStringList lines;
    auto data = readAnyCase(path);
    if (!data)
        return lines;
    forEachLine(iniText(std::move(*data)), [&](const char* b, const char* e) {
        if (e > b)
            lines.append(decodeBytes(b, e - b));
        return true;
    });
    return lines;
}

} // namespace tarvo
