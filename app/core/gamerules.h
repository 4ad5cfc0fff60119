// The numbers the game gives a new character: each race's starting
// attributes and skill bonuses, each birthsign's effects, each skill's
// governing attribute, and how Health, Magicka and Fatigue follow from them.
// Names are those of the reference tables (races(), attributes(), skills()).
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <array>

namespace tarvo {

constexpr int kAttributeCount = 8;
using AttributeValues = std::array<int, kAttributeCount>;

// One named effect of a race or birthsign, as the sheet lists it.
struct Special {
    enum class Kind { Ability, Power, Spell, Weakness };
    Kind kind;
    QString name;
    QString effect;
};
QString specialKindName(Special::Kind kind);

// The race's attributes for a gender (0 male, 1 female); all zero for an
// unknown race.
AttributeValues raceAttributes(int race, int gender);
// The race's bonus to a skill (by position in skills()), 0 when none.
int raceSkillBonus(int race, int skill);
// Constant fortifications a birthsign gives to the attributes.
AttributeValues birthsignFortify(int birthsign);
// Extra magicka, in multiples of Intelligence, from race and birthsign.
double raceMagickaBonus(int race);
double birthsignMagickaBonus(int birthsign);
QList<Special> raceSpecials(int race);
QList<Special> birthsignSpecials(int birthsign);
// The attribute (index in attributes()) that governs a skill, -1 if unknown.
int governingAttribute(int skill);

// A character's numbers at creation. Filled only when every choice that
// decides them is made; otherwise missing names what is still to choose.
struct CharacterSheet {
    struct SkillValue {
        int skill;     // position in skills()
        int attribute; // its governing attribute
        int value;
    };
    QStringList missing;
    bool complete() const { return missing.isEmpty(); }
    AttributeValues attributes{};      // with the birthsign's fortifications
    AttributeValues beforeBirthsign{}; // race, gender and favourites only
    AttributeValues fortify{};
    QList<SkillValue> major, minor, misc; // in the game's skill order
    int health = 0, magicka = 0, fatigue = 0;
    double magickaMultiplier = 1.0;
    QList<Special> specials;
};

// The choices that decide the sheet, by index (-1: not chosen).
struct SheetChoices {
    int race = -1, gender = -1, specialization = -1, favourite1 = -1, favourite2 = -1,
        birthsign = -1;
    QList<int> major, minor; // skill positions
};

CharacterSheet computeSheet(const SheetChoices& choices);

// The sheet as plain text or as Markdown, for the clipboard.
QString sheetText(const CharacterSheet& sheet, const QString& title, bool markdown);

// --- level-up plans -----------------------------------------------------------

// One planned level: for each attribute the increases of its governing
// skills planned in that level, or -1 when the attribute is not raised.
struct PlannedLevel {
    std::array<int, kAttributeCount> increases;
    PlannedLevel() { increases.fill(-1); }
    friend bool operator==(const PlannedLevel&, const PlannedLevel&) = default;
};

struct LevelPlan {
    QList<PlannedLevel> levels; // level 2, 3, ...
    bool isEmpty() const;
    friend bool operator==(const LevelPlan&, const LevelPlan&) = default;
};
constexpr int kHighestPlannedLevel = 50;

// The bonus that raising an attribute gives at a level-up for the number of
// increases of its governing skills (Luck always gives 1).
int levelUpBonus(int attribute, int increases);

struct LevelOutcome {
    int level;
    AttributeValues attributes; // with fortifications, at most 100
    AttributeValues bonus{};    // what this level added
    double healthExact = 0;     // tenths kept
    int health() const { return int(healthExact); }
    QStringList warnings;
};

// The character level by level as the plan raises it; warnings name each
// step that cannot be reached as planned.
QList<LevelOutcome> projectLevels(const CharacterSheet& sheet, const LevelPlan& plan);
// Warnings about the plan as a whole (a governing skill group cannot take
// as many increases as planned).
QStringList planWarnings(const CharacterSheet& sheet, const LevelPlan& plan);

// A plan as the profile stores it (one text per level) and back.
QStringList levelPlanLines(const LevelPlan& plan);
LevelPlan levelPlanFromLines(const QStringList& lines);

} // namespace tarvo
