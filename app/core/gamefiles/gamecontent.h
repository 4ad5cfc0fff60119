// The player's game as its load order leaves it: for each record type the
// records by id, each with the file that last changed it. A record in a later
// file replaces the one with the same type and id (ids match without regard
// to letter case) from an earlier file; a record marked deleted removes it.
// A later file that repeats a record unchanged does not count as changing it.
#pragma once

#include "gamefiles/contentfile.h"
#include "gamefiles/loadorder.h"

#include <QMap>

#include <optional>

namespace tarvo::gamefiles {

template <class T> struct Versioned {
    T record;
    int file = -1; // index in GameContent::files of the file that last changed it
};

// The records of one type, by their case-folded ids.
template <class T> class RecordTable {
public:
    const Versioned<T>* entry(const QString& id) const {
        const auto it = m_byKey.constFind(id.toCaseFolded());
        return it == m_byKey.cend() ? nullptr : &*it;
    }
    const T* find(const QString& id) const {
        const Versioned<T>* e = entry(id);
        return e ? &e->record : nullptr;
    }
    int sourceOf(const QString& id) const {
        const Versioned<T>* e = entry(id);
        return e ? e->file : -1;
    }
    qsizetype size() const { return m_byKey.size(); }
    // In the order of the case-folded ids.
    const QMap<QString, Versioned<T>>& all() const { return m_byKey; }

    enum class Change { Added, Replaced, Unchanged, Removed, NoSuchRecord };
    Change apply(const QString& id, const T& record, int file) {
        const QString key = id.toCaseFolded();
        auto it = m_byKey.find(key);
        if (record.deleted) {
            if (it == m_byKey.end())
                return Change::NoSuchRecord;
            m_byKey.erase(it);
            return Change::Removed;
        }
        if (it == m_byKey.end()) {
            m_byKey.insert(key, {record, file});
            return Change::Added;
        }
        if (it->record == record)
            return Change::Unchanged;
        *it = {record, file};
        return Change::Replaced;
    }

private:
    QMap<QString, Versioned<T>> m_byKey;
};

struct LoadedFile {
    QString name;
    QString path;
    FileHeader header;
    qint64 records = 0; // all its records, read or stepped over
    bool isMaster() const;
};

// A file of the load order that does not count, and why.
struct FileProblem {
    QString file; // its name
    QString path; // empty when it was not found
    QString reason;
    QString message() const { return file + QStringLiteral(": ") + reason; }
};

struct Removal {
    QString type; // "RACE", "SPEL", ...
    QString id;
    int file = -1;
};

class GameContent {
public:
    QList<LoadedFile> files; // the files that count, in load order
    QList<FileProblem> problems;
    Encoding encoding = Encoding::Windows1252;

    RecordTable<GameSetting> settings;
    RecordTable<Race> races;
    RecordTable<Birthsign> birthsigns;
    RecordTable<Spell> spells;
    RecordTable<GameClass> classes;
    RecordTable<Skill> skills; // by the skill's index as text ("0" ... "26")
    QList<Removal> removals;   // records a file deleted, in load order

    bool isEmpty() const { return files.isEmpty(); }
    QString fileName(int file) const;

    // Puts a file's records on top of those before it.
    void add(const ContentFile& content, const QString& name, const QString& path);

    const GameSetting* setting(const QString& id) const { return settings.find(id); }
    // A setting's value when it exists with a value of that kind.
    std::optional<int> intSetting(const QString& id) const;
    std::optional<float> floatSetting(const QString& id) const;
    std::optional<QString> stringSetting(const QString& id) const;
    const Skill* skill(int index) const { return skills.find(QString::number(index)); }
};

// What the abilities among these spells (only abilities are constant effects
// on the character) add: Fortify Attribute per attribute, and the Fortify
// Maximum Magicka magnitudes, which add a tenth of Intelligence each. An
// effect's lower magnitude counts (the game's own abilities have one).
struct ConstantEffects {
    std::array<int, kGameAttributeCount> fortifyAttribute{};
    int fortifyMaximumMagicka = 0;
    QStringList unknownSpells; // ids no record answers
};
ConstantEffects constantEffects(const GameContent& game, const QStringList& spellIds);

// Reads every file of a load order. A file that is missing or cannot be
// read is named in problems with the reason; the others still count.
GameContent loadGameContent(const LoadOrder& order);

} // namespace tarvo::gamefiles
