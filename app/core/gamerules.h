// The numbers the game gives a new character: its attributes and skills at
// creation, and how Health, Magicka and Fatigue follow from them. Every number
// comes from a GameRules (rules.h), the current one unless given; names are
// those of the reference tables (races(), attributes(), skills()).
#pragma once

#include "rules.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace tarvo {

struct LevelOutcome;

QString specialKindName(Special::Kind kind);

// The current rules' tables, by index; zero or empty for an unknown index.
AttributeValues raceAttributes(int race, int gender);
int raceSkillBonus(int race, int skill);
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
    enum class Group { Major, Minor, Misc };
    struct SkillValue {
        int skill;     // position in skills()
        int attribute; // its governing attribute
        int value;
    };
    QStringList missing;
    bool complete() const { return missing.isEmpty(); }
    AttributeValues attributes{};         // with the abilities' fortifications
    AttributeValues beforeBirthsign{};    // race, gender and favourites only
    AttributeValues fortify{};            // the race's and the birthsign's abilities
    AttributeValues raceFortify{};        // the race's share of fortify
    QList<int> favourites;                // attribute indexes
    QList<SkillValue> major, minor, misc; // in the game's skill order
    SkillValues skills{};                 // every skill's value, skills() order
    std::array<Group, kSkillCount> group{};
    int health = 0, magicka = 0, fatigue = 0;
    double magickaMultiplier = 1.0;
    QList<Special> specials;
    // Where the numbers come from, with only the notes about this
    // character's race, gender and birthsign.
    RulesOrigin origin;

    bool majorOrMinor(int skill) const { return group[size_t(skill)] != Group::Misc; }
};

// The choices that decide the sheet, by index (-1: not chosen).
struct SheetChoices {
    int race = -1, gender = -1, specialization = -1, favourite1 = -1, favourite2 = -1,
        birthsign = -1;
    QList<int> major, minor; // skill positions
};

CharacterSheet computeSheet(const SheetChoices& choices);
CharacterSheet computeSheet(const SheetChoices& choices, const GameRules& rules);

// The sheet as plain text or as Markdown, for the clipboard; with levels, a
// table of the attributes and Health level by level follows.
QString sheetText(const CharacterSheet& sheet, const QString& title, bool markdown,
                  const QList<LevelOutcome>& levels = {});

} // namespace tarvo
