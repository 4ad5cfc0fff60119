// Fuzz target of the INI layer. The input is a whole INI file. Every section
// is read the ways the program reads them (key list, section to list, each
// key), and every listed key must be found with the value its line holds.
// Then one key is written, chosen by the input (section: the first one of
// the file; key: a listed one or a new one; value: the input's last line),
// and every other key must read back unchanged and the written one as
// written. A write that is refused must leave the file byte for byte.
#include "fuzzcheck.h"
#include "ini/mdlVbNetIni.h"
#include "profile.h"

#include <QCoreApplication>
#include <QFile>
#include <QHash>
#include <QTemporaryDir>

#include <cstdint>

namespace {

QTemporaryDir* g_dir = nullptr;

QByteArray readBack(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

struct Item {
    QString section, key, value;
};

// The first section of each name with its keys, in file order.
QList<Item> listAll(const QByteArray& bytes, const QString& file, QStringList* sections) {
    QList<Item> items;
    QStringList seen;
    forEachIniItem(
        bytes,
        [&](const QString& section) {
            if (!section.trimmed().isEmpty() && !seen.contains(section, Qt::CaseInsensitive))
                seen.append(section);
        },
        [](const QString&, const QString&) {});
    for (const QString& section : std::as_const(seen).mid(0, 20)) {
        QString keys = IniSectionKeyBuffer(section, file);
        QStringList list;
        LoadIniSectionToList(list, section, file);
        while (keys.contains(QChar(0))) {
            const QString key = TakeToNull(keys);
            // A listed key is always found.
            const QString absent = QStringLiteral("\x01");
            const QString value = ReadIniValue(section, key, absent, file);
            FUZZ_CHECK(value != absent);
            items.append({section, key, value});
        }
    }
    if (sections)
        *sections = seen;
    return items;
}

QString cut(QString s) {
    if (s.size() > kIniValueMax)
        s.truncate(s[kIniValueMax - 1].isHighSurrogate() ? kIniValueMax - 1 : kIniValueMax);
    return s;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    g_dir = new QTemporaryDir;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 64 * 1024)
        return 0;
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const QString file = g_dir->filePath(QStringLiteral("fuzz.ini"));
    {
        QFile f(file);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return 0;
        f.write(bytes);
    }

    QStringList sections;
    const QList<Item> before = listAll(bytes, file, &sections);
    // Every key reads as the file's first occurrence says.
    const tarvo::IniSnapshot snap = tarvo::IniSnapshot::fromBytes(bytes);
    for (const Item& i : before)
        FUZZ_CHECK(snap.value(i.section, i.key, QString()) == i.value);

    // The write that the input chooses.
    const QString section = sections.isEmpty() ? QStringLiteral("S") : sections.first();
    QStringList keys;
    for (const Item& i : before)
        if (i.section == section)
            keys.append(i.key);
    const int pick = size ? data[0] % (keys.size() + 1) : 0;
    const QString key = pick < keys.size() ? keys[pick] : QStringLiteral("new%1").arg(size);
    qsizetype lastLine = qMax(bytes.lastIndexOf('\n'), bytes.lastIndexOf('\r')) + 1;
    const QString value = QString::fromUtf8(bytes.mid(lastLine, 300));

    const bool storable =
        isStorableIniSection(section) && isStorableIniKey(key) && isStorableIniValue(value);
    const bool written = WriteIniValue(section, key, value, file);
    FUZZ_CHECK(written == storable);
    if (!written) {
        FUZZ_CHECK(readBack(file) == bytes);
        return 0;
    }
    FUZZ_CHECK(ReadIniValue(section, key, QString(), file) == cut(value));
    for (const Item& i : before) {
        if (i.section == section && i.key.compare(key, Qt::CaseInsensitive) == 0)
            continue;
        FUZZ_CHECK(ReadIniValue(i.section, i.key, QStringLiteral("\x01"), file) == i.value);
    }
    return 0;
}
