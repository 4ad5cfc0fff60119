// One of the game's content files (a master .esm or a plugin .esp, the same
// format for both): a TES3 header record, then records, each a 4-character
// type, the size of its data, a word nobody uses and flags, followed by its
// sub-records (a 4-character type, a size and the data).
//
// Only the records the character sheet and the level planner need are read:
// game settings (GMST), races (RACE), birthsigns (BSGN), spells (SPEL),
// classes (CLAS) and skills (SKIL). Every other record is stepped over by its
// size without looking into it, so a whole game reads in milliseconds.
//
// A damaged file gives an error that names the place and the reason and no
// records: nothing of it counts. The reader never reads outside the bytes it
// is given and allocates at most in proportion to the records it keeps.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <array>
#include <bit>
#include <cstdint>

namespace tarvo::gamefiles {

// How the texts of a content file are encoded. The original game and OpenMW
// use Windows-1252 unless OpenMW's configuration says otherwise.
enum class Encoding { Windows1252, Windows1250, Windows1251 };
// The bytes up to the first NUL (or all of them) as text.
QString decodeText(const char* data, qsizetype size, Encoding encoding);
// OpenMW's names "win1250", "win1251" and "win1252"; ok is false for any other.
Encoding encodingFromName(const QString& name, bool* ok = nullptr);
QString encodingName(Encoding encoding);

// Values fixed by the game.
constexpr int kGameAttributeCount = 8; // Strength ... Luck, in the game's order
constexpr int kGameSkillCount = 27;    // Block (0) ... Hand-to-hand (26), in the game's order
constexpr int kEffectFortifyAttribute = 79;
constexpr int kEffectFortifyMaximumMagicka = 84;

// A game setting. Its kind follows the sub-record that holds its value (the
// first letter of its id says the same in the game's own files).
struct GameSetting {
    enum class Kind { None, Int, Float, String };
    QString id;
    Kind kind = Kind::None;
    qint32 intValue = 0;
    float floatValue = 0;
    QString text;
    bool deleted = false;
    // Floats compare by their bits: a setting that is NaN in two files is the same.
    friend bool operator==(const GameSetting& a, const GameSetting& b) {
        return a.id == b.id && a.kind == b.kind && a.intValue == b.intValue &&
               std::bit_cast<quint32>(a.floatValue) == std::bit_cast<quint32>(b.floatValue) &&
               a.text == b.text && a.deleted == b.deleted;
    }
};

struct SkillBonus {
    int skill = -1; // 0..26
    int bonus = 0;
    friend bool operator==(const SkillBonus&, const SkillBonus&) = default;
};

struct Race {
    QString id; // "Dark Elf", "Breton", ...
    QString name;
    // attributes[attribute][gender]: gender 0 male, 1 female
    std::array<std::array<int, 2>, kGameAttributeCount> attributes{};
    QList<SkillBonus> skillBonuses; // the used ones of the seven slots, in file order
    bool playable = false;
    bool beast = false;
    QStringList spells; // ids of its abilities, powers and spells
    bool deleted = false;
    friend bool operator==(const Race&, const Race&) = default;
};

struct Birthsign {
    QString id; // "Fay", "Lady's Favor", ...
    QString name;
    QStringList spells;
    bool deleted = false;
    friend bool operator==(const Birthsign&, const Birthsign&) = default;
};

struct SpellEffect {
    int effect = -1;    // magic effect index (kEffectFortifyAttribute, ...)
    int skill = -1;     // affected skill, -1 when none
    int attribute = -1; // affected attribute, -1 when none
    int range = 0;      // 0 self, 1 touch, 2 target
    int area = 0;
    int duration = 0;
    int magnitudeMin = 0;
    int magnitudeMax = 0;
    friend bool operator==(const SpellEffect&, const SpellEffect&) = default;
};

struct Spell {
    // The game's spell types. Only abilities are constant effects on the
    // character; powers and spells are cast.
    enum Type { SpellType = 0, Ability = 1, Blight = 2, Disease = 3, Curse = 4, Power = 5 };
    QString id;
    QString name;
    int type = SpellType;
    int cost = 0;
    int flags = 0;
    QList<SpellEffect> effects;
    bool deleted = false;
    friend bool operator==(const Spell&, const Spell&) = default;
};

struct GameClass {
    QString id;
    QString name;
    std::array<int, 2> attributes{}; // favourite attributes
    int specialization = 0;          // 0 combat, 1 magic, 2 stealth
    std::array<int, 5> major{};      // skills
    std::array<int, 5> minor{};
    bool playable = false;
    bool deleted = false;
    friend bool operator==(const GameClass&, const GameClass&) = default;
};

struct Skill {
    int index = -1;     // 0..26; a skill record has no text id
    int attribute = -1; // governing attribute
    int specialization = 0;
    bool deleted = false;
    friend bool operator==(const Skill&, const Skill&) = default;
};

// What a file says about itself.
struct FileHeader {
    float version = 0;
    bool masterFlag = false;
    QString author;
    QString description;
    quint32 recordCount = 0; // as the header claims it
    QStringList masters;     // files it was made against
    friend bool operator==(const FileHeader&, const FileHeader&) = default;
};

// The records of one file that are read, each list in file order.
struct ContentFile {
    FileHeader header;
    QList<GameSetting> settings;
    QList<Race> races;
    QList<Birthsign> birthsigns;
    QList<Spell> spells;
    QList<GameClass> classes;
    QList<Skill> skills;
    qint64 recordsSeen = 0; // all records, read or stepped over
    QString error;          // empty when the file was read; then no records are kept
    bool ok() const { return error.isEmpty(); }
};

// Reads a file's bytes.
ContentFile readContentFile(const char* data, qint64 size, Encoding encoding);
// Reads a file from the disk, memory-mapped where the system allows it.
ContentFile readContentFile(const QString& path, Encoding encoding);

} // namespace tarvo::gamefiles
