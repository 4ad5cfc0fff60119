// Writes small content files (.esm/.esp) for the tests, so that no game file
// is shipped or needed: a TES3 header, then the records added, in order.
#pragma once

#include "gamefiles/contentfile.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QPair>
#include <QString>

namespace tarvo::test {

class EsmWriter {
public:
    using Enc = gamefiles::Encoding;
    explicit EsmWriter(Enc enc = Enc::Windows1252) : m_enc(enc) {}

    // A record of sub-records given as (type, bytes).
    EsmWriter& record(const char* type, const QList<QPair<const char*, QByteArray>>& subs,
                      quint32 flags = 0);
    EsmWriter& setting(const QString& id, int value);
    EsmWriter& setting(const QString& id, float value);
    EsmWriter& setting(const QString& id, const QString& value);
    EsmWriter& race(const gamefiles::Race& r);
    EsmWriter& birthsign(const gamefiles::Birthsign& b);
    EsmWriter& spell(const gamefiles::Spell& s);
    EsmWriter& gameClass(const gamefiles::GameClass& c);
    EsmWriter& skill(const gamefiles::Skill& s);
    // A record that deletes what an earlier file holds under this id.
    EsmWriter& deleted(const char* type, const QString& id);
    // A record of a type the reader steps over, size bytes of data (at least 24).
    EsmWriter& filler(const char* type, int size);

    QByteArray bytes(const QStringList& masters = {}) const;
    // Writes the file and, when given, sets its modification time.
    bool save(const QString& path, const QDateTime& modified = {},
              const QStringList& masters = {}) const;

    QByteArray text(const QString& s) const; // in the file's encoding, no NUL
    QByteArray zstring(const QString& s) const { return text(s) + '\0'; }
    static QByteArray i32(qint32 v);
    static QByteArray f32(float v);

private:
    Enc m_enc;
    QByteArray m_records;
    quint32 m_count = 0;
};

} // namespace tarvo::test
