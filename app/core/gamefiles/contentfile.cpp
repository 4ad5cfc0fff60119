#include "gamefiles/contentfile.h"

#include <QFile>
#include <QtEndian>

#include <cstring>

namespace tarvo::gamefiles {

namespace {

// The upper halves (0x80-0xFF) of the three Windows code pages. Bytes a code
// page leaves undefined map to the C1 control of the same value, as Windows
// itself maps them.
const char16_t kWin1252[128] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160, 0x2039,
    0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178, 0x00A0, 0x00A1, 0x00A2, 0x00A3,
    0x00A4, 0x00A5, 0x00A6, 0x00A7, 0x00A8, 0x00A9, 0x00AA, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x00AF,
    0x00B0, 0x00B1, 0x00B2, 0x00B3, 0x00B4, 0x00B5, 0x00B6, 0x00B7, 0x00B8, 0x00B9, 0x00BA, 0x00BB,
    0x00BC, 0x00BD, 0x00BE, 0x00BF, 0x00C0, 0x00C1, 0x00C2, 0x00C3, 0x00C4, 0x00C5, 0x00C6, 0x00C7,
    0x00C8, 0x00C9, 0x00CA, 0x00CB, 0x00CC, 0x00CD, 0x00CE, 0x00CF, 0x00D0, 0x00D1, 0x00D2, 0x00D3,
    0x00D4, 0x00D5, 0x00D6, 0x00D7, 0x00D8, 0x00D9, 0x00DA, 0x00DB, 0x00DC, 0x00DD, 0x00DE, 0x00DF,
    0x00E0, 0x00E1, 0x00E2, 0x00E3, 0x00E4, 0x00E5, 0x00E6, 0x00E7, 0x00E8, 0x00E9, 0x00EA, 0x00EB,
    0x00EC, 0x00ED, 0x00EE, 0x00EF, 0x00F0, 0x00F1, 0x00F2, 0x00F3, 0x00F4, 0x00F5, 0x00F6, 0x00F7,
    0x00F8, 0x00F9, 0x00FA, 0x00FB, 0x00FC, 0x00FD, 0x00FE, 0x00FF};

const char16_t kWin1250[128] = {
    0x20AC, 0x0081, 0x201A, 0x0083, 0x201E, 0x2026, 0x2020, 0x2021, 0x0088, 0x2030, 0x0160, 0x2039,
    0x015A, 0x0164, 0x017D, 0x0179, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x0098, 0x2122, 0x0161, 0x203A, 0x015B, 0x0165, 0x017E, 0x017A, 0x00A0, 0x02C7, 0x02D8, 0x0141,
    0x00A4, 0x0104, 0x00A6, 0x00A7, 0x00A8, 0x00A9, 0x015E, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x017B,
    0x00B0, 0x00B1, 0x02DB, 0x0142, 0x00B4, 0x00B5, 0x00B6, 0x00B7, 0x00B8, 0x0105, 0x015F, 0x00BB,
    0x013D, 0x02DD, 0x013E, 0x017C, 0x0154, 0x00C1, 0x00C2, 0x0102, 0x00C4, 0x0139, 0x0106, 0x00C7,
    0x010C, 0x00C9, 0x0118, 0x00CB, 0x011A, 0x00CD, 0x00CE, 0x010E, 0x0110, 0x0143, 0x0147, 0x00D3,
    0x00D4, 0x0150, 0x00D6, 0x00D7, 0x0158, 0x016E, 0x00DA, 0x0170, 0x00DC, 0x00DD, 0x0162, 0x00DF,
    0x0155, 0x00E1, 0x00E2, 0x0103, 0x00E4, 0x013A, 0x0107, 0x00E7, 0x010D, 0x00E9, 0x0119, 0x00EB,
    0x011B, 0x00ED, 0x00EE, 0x010F, 0x0111, 0x0144, 0x0148, 0x00F3, 0x00F4, 0x0151, 0x00F6, 0x00F7,
    0x0159, 0x016F, 0x00FA, 0x0171, 0x00FC, 0x00FD, 0x0163, 0x02D9};

const char16_t kWin1251[128] = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, 0x20AC, 0x2030, 0x0409, 0x2039,
    0x040A, 0x040C, 0x040B, 0x040F, 0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x0098, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, 0x00A0, 0x040E, 0x045E, 0x0408,
    0x00A4, 0x0490, 0x00A6, 0x00A7, 0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7, 0x0451, 0x2116, 0x0454, 0x00BB,
    0x0458, 0x0405, 0x0455, 0x0457, 0x0410, 0x0411, 0x0412, 0x0413, 0x0414, 0x0415, 0x0416, 0x0417,
    0x0418, 0x0419, 0x041A, 0x041B, 0x041C, 0x041D, 0x041E, 0x041F, 0x0420, 0x0421, 0x0422, 0x0423,
    0x0424, 0x0425, 0x0426, 0x0427, 0x0428, 0x0429, 0x042A, 0x042B, 0x042C, 0x042D, 0x042E, 0x042F,
    0x0430, 0x0431, 0x0432, 0x0433, 0x0434, 0x0435, 0x0436, 0x0437, 0x0438, 0x0439, 0x043A, 0x043B,
    0x043C, 0x043D, 0x043E, 0x043F, 0x0440, 0x0441, 0x0442, 0x0443, 0x0444, 0x0445, 0x0446, 0x0447,
    0x0448, 0x0449, 0x044A, 0x044B, 0x044C, 0x044D, 0x044E, 0x044F};

constexpr quint32 tag(const char (&s)[5]) {
    return quint32(uchar(s[0])) | quint32(uchar(s[1])) << 8 | quint32(uchar(s[2])) << 16 |
           quint32(uchar(s[3])) << 24;
}

quint32 u32(const char* p) {
    return qFromLittleEndian<quint32>(p);
}
qint32 i32(const char* p) {
    return qFromLittleEndian<qint32>(p);
}
float f32(const char* p) {
    const quint32 bits = u32(p);
    float f;
    std::memcpy(&f, &bits, sizeof f);
    return f;
}

// A record or sub-record type as it reads, or in hex when it is no text.
QString tagText(quint32 t) {
    char c[4];
    qToLittleEndian(t, c);
    for (char ch : c)
        if (ch < 0x20 || ch > 0x7E)
            return QStringLiteral("0x%1").arg(t, 8, 16, QLatin1Char('0'));
    return QString::fromLatin1(c, 4);
}

struct Sub {
    quint32 type;
    const char* data;
    quint32 size;
    qint64 offset; // of the sub-record header in the file
};

// Walks one record's data. Reports the first fault in error.
class RecordWalker {
public:
    RecordWalker(const char* file, quint32 type, qint64 offset, const char* data, quint32 size,
                 Encoding enc)
        : m_file(file), m_type(type), m_offset(offset), m_p(data), m_end(data + size), m_enc(enc) {}

    bool next(Sub& s) {
        if (!error.isEmpty() || m_p == m_end)
            return false;
        if (m_end - m_p < 8)
            return fail(QStringLiteral("a sub-record header at byte %1 runs past the end of its "
                                       "record")
                            .arg(m_p - m_file));
        s.type = u32(m_p);
        s.size = u32(m_p + 4);
        s.offset = m_p - m_file;
        if (s.size > quint64(m_end - m_p - 8))
            return fail(QStringLiteral("its %1 sub-record at byte %2 (%3 bytes) runs past the end "
                                       "of the record")
                            .arg(tagText(s.type))
                            .arg(s.offset)
                            .arg(s.size));
        s.data = m_p + 8;
        m_p += 8 + qint64(s.size);
        return true;
    }

    bool expectSize(const Sub& s, quint32 size) {
        if (s.size == size)
            return true;
        return fail(QStringLiteral("its %1 sub-record at byte %2 has %3 bytes, %4 expected")
                        .arg(tagText(s.type))
                        .arg(s.offset)
                        .arg(s.size)
                        .arg(size));
    }

    bool missing(const char* what) {
        return fail(QStringLiteral("it has no %1 sub-record").arg(QLatin1String(what)));
    }

    QString text(const Sub& s) const { return decodeText(s.data, s.size, m_enc); }

    bool fail(const QString& why) {
        if (error.isEmpty()) {
            error = QStringLiteral("the %1 record at byte %2").arg(tagText(m_type)).arg(m_offset);
            if (!id.isEmpty())
                error += QStringLiteral(" (\"%1\")").arg(id);
            error += QStringLiteral(": ") + why;
        }
        return false;
    }

    QString id; // once known, named in errors
    QString error;

private:
    const char* m_file;
    quint32 m_type;
    qint64 m_offset;
    const char* m_p;
    const char* m_end;
    Encoding m_enc;
};

bool readSetting(RecordWalker& w, bool deleted, GameSetting& g) {
    g.deleted = deleted;
    bool named = false;
    Sub s;
    while (w.next(s)) {
        switch (s.type) {
        case tag("NAME"):
            g.id = w.id = w.text(s);
            named = true;
            break;
        case tag("INTV"):
            if (!w.expectSize(s, 4))
                return false;
            g.kind = GameSetting::Kind::Int;
            g.intValue = i32(s.data);
            break;
        case tag("FLTV"):
            if (!w.expectSize(s, 4))
                return false;
            g.kind = GameSetting::Kind::Float;
            g.floatValue = f32(s.data);
            break;
        case tag("STRV"):
            g.kind = GameSetting::Kind::String;
            g.text = w.text(s);
            break;
        case tag("DELE"):
            g.deleted = true;
            break;
        }
    }
    return w.error.isEmpty() && (named || w.missing("NAME"));
}

bool readRace(RecordWalker& w, bool deleted, Race& r) {
    r.deleted = deleted;
    bool named = false, data = false;
    Sub s;
    while (w.next(s)) {
        switch (s.type) {
        case tag("NAME"):
            r.id = w.id = w.text(s);
            named = true;
            break;
        case tag("FNAM"):
            r.name = w.text(s);
            break;
        case tag("RADT"): {
            if (!w.expectSize(s, 140))
                return false;
            data = true;
            r.skillBonuses.clear();
            for (int i = 0; i < 7; ++i) {
                const int skill = i32(s.data + 8 * i);
                if (skill >= 0)
                    r.skillBonuses.append({skill, i32(s.data + 8 * i + 4)});
            }
            for (int a = 0; a < kGameAttributeCount; ++a)
                for (int g = 0; g < 2; ++g)
                    r.attributes[a][g] = i32(s.data + 56 + 8 * a + 4 * g);
            const quint32 flags = u32(s.data + 136);
            r.playable = flags & 1;
            r.beast = flags & 2;
            break;
        }
        case tag("NPCS"):
            r.spells.append(w.text(s));
            break;
        case tag("DELE"):
            r.deleted = true;
            break;
        }
    }
    if (!w.error.isEmpty())
        return false;
    if (!named)
        return w.missing("NAME");
    return data || r.deleted || w.missing("RADT");
}

bool readBirthsign(RecordWalker& w, bool deleted, Birthsign& b) {
    b.deleted = deleted;
    bool named = false;
    Sub s;
    while (w.next(s)) {
        switch (s.type) {
        case tag("NAME"):
            b.id = w.id = w.text(s);
            named = true;
            break;
        case tag("FNAM"):
            b.name = w.text(s);
            break;
        case tag("NPCS"):
            b.spells.append(w.text(s));
            break;
        case tag("DELE"):
            b.deleted = true;
            break;
        }
    }
    return w.error.isEmpty() && (named || w.missing("NAME"));
}

bool readSpell(RecordWalker& w, bool deleted, Spell& sp) {
    sp.deleted = deleted;
    bool named = false, data = false;
    Sub s;
    while (w.next(s)) {
        switch (s.type) {
        case tag("NAME"):
            sp.id = w.id = w.text(s);
            named = true;
            break;
        case tag("FNAM"):
            sp.name = w.text(s);
            break;
        case tag("SPDT"):
            if (!w.expectSize(s, 12))
                return false;
            data = true;
            sp.type = i32(s.data);
            sp.cost = i32(s.data + 4);
            sp.flags = i32(s.data + 8);
            break;
        case tag("ENAM"): {
            if (!w.expectSize(s, 24))
                return false;
            SpellEffect e;
            e.effect = qFromLittleEndian<quint16>(s.data);
            e.skill = qint8(s.data[2]);
            e.attribute = qint8(s.data[3]);
            e.range = i32(s.data + 4);
            e.area = i32(s.data + 8);
            e.duration = i32(s.data + 12);
            e.magnitudeMin = i32(s.data + 16);
            e.magnitudeMax = i32(s.data + 20);
            sp.effects.append(e);
            break;
        }
        case tag("DELE"):
            sp.deleted = true;
            break;
        }
    }
    if (!w.error.isEmpty())
        return false;
    if (!named)
        return w.missing("NAME");
    return data || sp.deleted || w.missing("SPDT");
}

bool readClass(RecordWalker& w, bool deleted, GameClass& c) {
    c.deleted = deleted;
    bool named = false, data = false;
    Sub s;
    while (w.next(s)) {
        switch (s.type) {
        case tag("NAME"):
            c.id = w.id = w.text(s);
            named = true;
            break;
        case tag("FNAM"):
            c.name = w.text(s);
            break;
        case tag("CLDT"):
            if (!w.expectSize(s, 60))
                return false;
            data = true;
            c.attributes = {i32(s.data), i32(s.data + 4)};
            c.specialization = i32(s.data + 8);
            // Five pairs of a minor and a major skill.
            for (int i = 0; i < 5; ++i) {
                c.minor[i] = i32(s.data + 12 + 8 * i);
                c.major[i] = i32(s.data + 16 + 8 * i);
            }
            c.playable = u32(s.data + 52) & 1;
            break;
        case tag("DELE"):
            c.deleted = true;
            break;
        }
    }
    if (!w.error.isEmpty())
        return false;
    if (!named)
        return w.missing("NAME");
    return data || c.deleted || w.missing("CLDT");
}

bool readSkill(RecordWalker& w, bool deleted, Skill& k) {
    k.deleted = deleted;
    bool indexed = false, data = false;
    Sub s;
    while (w.next(s)) {
        switch (s.type) {
        case tag("INDX"):
            if (!w.expectSize(s, 4))
                return false;
            k.index = i32(s.data);
            w.id = QString::number(k.index);
            indexed = true;
            break;
        case tag("SKDT"):
            if (!w.expectSize(s, 24))
                return false;
            data = true;
            k.attribute = i32(s.data);
            k.specialization = i32(s.data + 4);
            break;
        case tag("DELE"):
            k.deleted = true;
            break;
        }
    }
    if (!w.error.isEmpty())
        return false;
    if (!indexed)
        return w.missing("INDX");
    return data || k.deleted || w.missing("SKDT");
}

bool readHeader(RecordWalker& w, FileHeader& h, Encoding enc) {
    bool hedr = false;
    Sub s;
    while (w.next(s)) {
        switch (s.type) {
        case tag("HEDR"):
            if (!w.expectSize(s, 300))
                return false;
            hedr = true;
            h.version = f32(s.data);
            h.masterFlag = u32(s.data + 4) & 1;
            h.author = decodeText(s.data + 8, 32, enc);
            h.description = decodeText(s.data + 40, 256, enc);
            h.recordCount = u32(s.data + 296);
            break;
        case tag("MAST"):
            h.masters.append(w.text(s));
            break;
        }
    }
    return w.error.isEmpty() && (hedr || w.missing("HEDR"));
}

} // namespace

QString decodeText(const char* data, qsizetype size, Encoding encoding) {
    if (size <= 0)
        return {};
    const void* nul = std::memchr(data, 0, size_t(size));
    if (nul)
        size = static_cast<const char*>(nul) - data;
    const char16_t* high = encoding == Encoding::Windows1250   ? kWin1250
                           : encoding == Encoding::Windows1251 ? kWin1251
                                                               : kWin1252;
    QString out(size, Qt::Uninitialized);
    QChar* d = out.data();
    for (qsizetype i = 0; i < size; ++i) {
        const uchar c = uchar(data[i]);
        d[i] = c < 0x80 ? QChar(c) : QChar(high[c - 0x80]);
    }
    return out;
}

Encoding encodingFromName(const QString& name, bool* ok) {
    const QString n = name.trimmed().toLower();
    if (ok)
        *ok = true;
    if (n == QLatin1String("win1250"))
        return Encoding::Windows1250;
    if (n == QLatin1String("win1251"))
        return Encoding::Windows1251;
    if (ok && n != QLatin1String("win1252"))
        *ok = false;
    return Encoding::Windows1252;
}

QString encodingName(Encoding encoding) {
    switch (encoding) {
    case Encoding::Windows1250:
        return QStringLiteral("win1250");
    case Encoding::Windows1251:
        return QStringLiteral("win1251");
    case Encoding::Windows1252:
        break;
    }
    return QStringLiteral("win1252");
}

ContentFile readContentFile(const char* data, qint64 size, Encoding encoding) {
    ContentFile out;
    auto fail = [&](const QString& why) {
        ContentFile bad;
        bad.error = why;
        bad.recordsSeen = out.recordsSeen;
        return bad;
    };
    if (size <= 0)
        return fail(QStringLiteral("the file is empty"));
    if (size < 16 || u32(data) != tag("TES3"))
        return fail(QStringLiteral("this is not a Morrowind content file (it does not start "
                                   "with a TES3 header)"));

    qint64 pos = 0;
    while (pos < size) {
        if (size - pos < 16)
            return fail(QStringLiteral("the file ends inside a record header at byte %1 (it is "
                                       "cut short)")
                            .arg(pos));
        const char* h = data + pos;
        const quint32 type = u32(h);
        const quint32 length = u32(h + 4);
        const bool deleted = u32(h + 12) & 0x20;
        if (length > quint64(size - pos - 16))
            return fail(QStringLiteral("the %1 record at byte %2 (%3 bytes) runs past the end of "
                                       "the file (it is cut short or damaged)")
                            .arg(tagText(type))
                            .arg(pos)
                            .arg(length));
        RecordWalker w(data, type, pos, h + 16, length, encoding);
        bool ok = true;
        if (pos == 0) {
            ok = readHeader(w, out.header, encoding);
        } else {
            switch (type) {
            case tag("GMST"):
                ok = readSetting(w, deleted, out.settings.emplace_back());
                break;
            case tag("RACE"):
                ok = readRace(w, deleted, out.races.emplace_back());
                break;
            case tag("BSGN"):
                ok = readBirthsign(w, deleted, out.birthsigns.emplace_back());
                break;
            case tag("SPEL"):
                ok = readSpell(w, deleted, out.spells.emplace_back());
                break;
            case tag("CLAS"):
                ok = readClass(w, deleted, out.classes.emplace_back());
                break;
            case tag("SKIL"):
                ok = readSkill(w, deleted, out.skills.emplace_back());
                break;
            default:
                break; // not needed: stepped over unread
            }
        }
        if (!ok)
            return fail(w.error);
        ++out.recordsSeen;
        pos += 16 + qint64(length);
    }
    return out;
}

ContentFile readContentFile(const QString& path, Encoding encoding) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        ContentFile bad;
        bad.error = QStringLiteral("the file cannot be opened (%1)").arg(f.errorString());
        return bad;
    }
    const qint64 size = f.size();
    if (size <= 0)
        return readContentFile(nullptr, 0, encoding);
    if (const uchar* mapped = f.map(0, size)) {
        ContentFile c = readContentFile(reinterpret_cast<const char*>(mapped), size, encoding);
        f.unmap(const_cast<uchar*>(mapped));
        return c;
    }
    // No mapping on this file system: read it whole, unless it is far larger
    // than any content file.
    constexpr qint64 kReadMax = qint64(1) << 30;
    if (size > kReadMax) {
        ContentFile bad;
        bad.error = QStringLiteral("the file is too large to read (%1 bytes)").arg(size);
        return bad;
    }
    const QByteArray bytes = f.read(size);
    if (bytes.size() != size) {
        ContentFile bad;
        bad.error = QStringLiteral("the file cannot be read (%1)").arg(f.errorString());
        return bad;
    }
    return readContentFile(bytes.constData(), bytes.size(), encoding);
}

} // namespace tarvo::gamefiles
