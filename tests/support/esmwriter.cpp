#include "esmwriter.h"

#include <QFile>
#include <QtEndian>

#include <cstring>

namespace tarvo::test {

using namespace gamefiles;
using Subs = QList<QPair<const char*, QByteArray>>;

namespace {

QByteArray sub(const char* type, const QByteArray& data) {
    return QByteArray(type, 4) + EsmWriter::i32(qint32(data.size())) + data;
}

QByteArray fixed(const QByteArray& text, int size) {
    return text.left(size).leftJustified(size, '\0');
}

} // namespace

QByteArray EsmWriter::i32(qint32 v) {
    char b[4];
    qToLittleEndian(v, b);
    return QByteArray(b, 4);
}

QByteArray EsmWriter::f32(float v) {
    quint32 bits;
    std::memcpy(&bits, &v, 4);
    return i32(qint32(bits));
}

// Each character as the byte that reads back as it.
QByteArray EsmWriter::text(const QString& s) const {
    QByteArray out;
    for (const QChar c : s) {
        int b = 1;
        for (char ch = char(b); b < 256 && decodeText(&ch, 1, m_enc) != QString(c); ch = char(++b))
            ;
        out += b < 256 ? char(b) : '?';
    }
    return out;
}

EsmWriter& EsmWriter::record(const char* type, const Subs& subs, quint32 flags) {
    QByteArray data;
    for (const auto& [t, d] : subs)
        data += sub(t, d);
    m_records +=
        QByteArray(type, 4) + i32(qint32(data.size())) + i32(0) + i32(qint32(flags)) + data;
    ++m_count;
    return *this;
}

EsmWriter& EsmWriter::setting(const QString& id, int value) {
    return record("GMST", {{"NAME", zstring(id)}, {"INTV", i32(value)}});
}

EsmWriter& EsmWriter::setting(const QString& id, float value) {
    return record("GMST", {{"NAME", zstring(id)}, {"FLTV", f32(value)}});
}

EsmWriter& EsmWriter::setting(const QString& id, const QString& value) {
    return record("GMST", {{"NAME", zstring(id)}, {"STRV", text(value)}});
}

EsmWriter& EsmWriter::race(const Race& r) {
    QByteArray radt;
    for (int i = 0; i < 7; ++i) {
        const SkillBonus b = r.skillBonuses.value(i);
        radt += i32(b.skill) + i32(b.bonus);
    }
    for (const auto& a : r.attributes)
        radt += i32(a[0]) + i32(a[1]);
    radt += f32(1) + f32(1) + f32(1) + f32(1) + i32((r.playable ? 1 : 0) | (r.beast ? 2 : 0));
    Subs subs = {{"NAME", zstring(r.id)}, {"FNAM", zstring(r.name)}, {"RADT", radt}};
    for (const QString& s : r.spells)
        subs.append({"NPCS", fixed(text(s), 32)});
    return record("RACE", subs);
}

EsmWriter& EsmWriter::birthsign(const Birthsign& b) {
    Subs subs = {{"NAME", zstring(b.id)}, {"FNAM", zstring(b.name)}, {"TNAM", zstring("s.tga")}};
    for (const QString& s : b.spells)
        subs.append({"NPCS", fixed(text(s), 32)});
    return record("BSGN", subs);
}

EsmWriter& EsmWriter::spell(const Spell& s) {
    Subs subs = {{"NAME", zstring(s.id)},
                 {"FNAM", zstring(s.name)},
                 {"SPDT", i32(s.type) + i32(s.cost) + i32(s.flags)}};
    for (const SpellEffect& e : s.effects) {
        QByteArray enam = i32(e.effect & 0xFFFF);
        enam[2] = char(e.skill);
        enam[3] = char(e.attribute);
        subs.append({"ENAM", enam + i32(e.range) + i32(e.area) + i32(e.duration) +
                                 i32(e.magnitudeMin) + i32(e.magnitudeMax)});
    }
    return record("SPEL", subs);
}

EsmWriter& EsmWriter::gameClass(const GameClass& c) {
    QByteArray cldt = i32(c.attributes[0]) + i32(c.attributes[1]) + i32(c.specialization);
    for (int i = 0; i < 5; ++i)
        cldt += i32(c.minor[i]) + i32(c.major[i]);
    cldt += i32(c.playable ? 1 : 0) + i32(0);
    return record("CLAS", {{"NAME", zstring(c.id)}, {"FNAM", zstring(c.name)}, {"CLDT", cldt}});
}

EsmWriter& EsmWriter::skill(const Skill& s) {
    const QByteArray skdt =
        i32(s.attribute) + i32(s.specialization) + f32(1) + f32(1) + f32(1) + f32(1);
    return record("SKIL", {{"INDX", i32(s.index)}, {"SKDT", skdt}});
}

EsmWriter& EsmWriter::deleted(const char* type, const QString& id) {
    return record(type, {{"NAME", zstring(id)}, {"DELE", i32(0)}}, 0x20);
}

EsmWriter& EsmWriter::filler(const char* type, int size) {
    // A static object (a name and a model path) reads as one in other tools.
    return record(type, {{"NAME", QByteArray("filler", 7)}, {"MODL", fixed("x", size - 23)}});
}

QByteArray EsmWriter::bytes(const QStringList& masters) const {
    QByteArray header = sub("HEDR", f32(1.3f) + i32(0) + fixed("TARVO2 tests", 32) +
                                        fixed("Written by the tests", 256) + i32(qint32(m_count)));
    for (const QString& m : masters)
        header += sub("MAST", zstring(m)) + sub("DATA", i32(0) + i32(0));
    return QByteArray("TES3") + i32(qint32(header.size())) + i32(0) + i32(0) + header + m_records;
}

bool EsmWriter::save(const QString& path, const QDateTime& modified,
                     const QStringList& masters) const {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes(masters)) < 0)
        return false;
    return f.flush() &&
           (!modified.isValid() || f.setFileTime(modified, QFileDevice::FileModificationTime));
}

} // namespace tarvo::test
