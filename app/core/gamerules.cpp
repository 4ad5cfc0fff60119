#include "gamerules.h"

#include "reftables.h"

#include <QHash>

#include <algorithm>
#include <cmath>

namespace tarvo {

namespace {

enum Attr { Str, Int, Wil, Agi, Spd, End, Per, Lck };

// Starting attributes per race (in the order of races()), male then female,
// in the order Strength, Intelligence, Willpower, Agility, Speed, Endurance,
// Personality, Luck.
constexpr std::array<std::array<AttributeValues, 2>, 10> kRaceAttributes = {{
    {{{40, 40, 30, 50, 50, 30, 30, 40}, {40, 50, 40, 40, 40, 30, 30, 40}}}, // Argonian
    {{{40, 50, 50, 30, 30, 30, 40, 40}, {30, 50, 50, 30, 40, 30, 40, 40}}}, // Breton
    {{{40, 40, 30, 40, 50, 40, 30, 40}, {40, 40, 30, 40, 50, 30, 40, 40}}}, // Dark Elf
    {{{30, 50, 40, 40, 30, 40, 40, 40}, {30, 50, 40, 40, 40, 30, 40, 40}}}, // High Elf
    {{{40, 40, 30, 30, 40, 40, 50, 40}, {40, 40, 40, 30, 30, 40, 50, 40}}}, // Imperial
    {{{40, 40, 30, 50, 40, 30, 40, 40}, {30, 40, 30, 50, 40, 40, 40, 40}}}, // Khajiit
    {{{50, 30, 40, 30, 40, 50, 30, 40}, {50, 30, 50, 30, 40, 40, 30, 40}}}, // Nord
    {{{45, 30, 50, 35, 30, 50, 30, 40}, {45, 40, 45, 35, 30, 50, 25, 40}}}, // Orc
    {{{50, 30, 30, 40, 40, 50, 30, 40}, {40, 30, 30, 40, 40, 50, 40, 40}}}, // Redguard
    {{{30, 40, 30, 50, 50, 30, 40, 40}, {30, 40, 30, 50, 50, 30, 40, 40}}}, // Wood Elf
}};

struct Bonus {
    const char* skill;
    int points;
};
const QList<QList<Bonus>>& raceBonuses() {
    static const QList<QList<Bonus>> list = {
        {{"Athletics", 15},
         {"Alchemy", 5},
         {"Illusion", 5},
         {"Medium Armour", 5},
         {"Mysticism", 5},
         {"Spear", 5},
         {"Unarmoured", 5}},
        {{"Conjuration", 10},
         {"Mysticism", 10},
         {"Restoration", 10},
         {"Alchemy", 5},
         {"Alteration", 5},
         {"Illusion", 5}},
        {{"Destruction", 10},
         {"Short Blade", 10},
         {"Long Blade", 5},
         {"Light Armour", 5},
         {"Marksman", 5},
         {"Mysticism", 5},
         {"Athletics", 5}},
        {{"Alchemy", 10},
         {"Destruction", 10},
         {"Enchant", 10},
         {"Alteration", 5},
         {"Conjuration", 5},
         {"Illusion", 5}},
        {{"Long Blade", 10},
         {"Mercantile", 10},
         {"Speechcraft", 10},
         {"Blunt Weapon", 5},
         {"Hand to Hand", 5},
         {"Light Armour", 5}},
        {{"Acrobatics", 15},
         {"Athletics", 5},
         {"Hand to Hand", 5},
         {"Light Armour", 5},
         {"Security", 5},
         {"Short Blade", 5},
         {"Sneak", 5}},
        {{"Axe", 10},
         {"Blunt Weapon", 10},
         {"Medium Armour", 10},
         {"Heavy Armour", 5},
         {"Long Blade", 5},
         {"Spear", 5}},
        {{"Armourer", 10}, {"Block", 10}, {"Heavy Armour", 10}, {"Medium Armour", 10}, {"Axe", 5}},
        {{"Long Blade", 15},
         {"Athletics", 5},
         {"Axe", 5},
         {"Blunt Weapon", 5},
         {"Heavy Armour", 5},
         {"Medium Armour", 5},
         {"Short Blade", 5}},
        {{"Marksman", 15}, {"Light Armour", 10}, {"Sneak", 10}, {"Acrobatics", 5}, {"Alchemy", 5}},
    };
    return list;
}

// The governing attribute of each skill, in the order of skills().
constexpr std::array<int, 27> kGoverning = {
    Agi, Str, End, End, Str, Str, Str, End, Spd, // Combat
    Wil, Wil, Per, Int, Wil, Wil, Int, Int, Spd, // Magic
    Int, Agi, Str, Agi, Spd, Agi, Per, Per, Spd, // Stealth
};

using K = Special::Kind;

const QList<QList<Special>>& raceSpecialTable() {
    static const QList<QList<Special>> list = {
        {{K::Spell, "Water Breathing", "breathe under water"},
         {K::Ability, "Immune to Poison", "Resist Poison 100%"},
         {K::Ability, "Resist Disease", "Resist Common Disease 75%"}},
        {{K::Power, "Dragon Skin", "Shield 50 points for 60 seconds"},
         {K::Ability, "Magicka bonus", "Fortify Maximum Magicka 0.5 x Intelligence"},
         {K::Ability, "Resist Magicka", "Resist Magicka 50%"}},
        {{K::Power, "Ancestor Guardian", "Sanctuary 50 points for 60 seconds"},
         {K::Ability, "Resist Fire", "Resist Fire 75%"}},
        {{K::Ability, "Magicka bonus", "Fortify Maximum Magicka 1.5 x Intelligence"},
         {K::Ability, "Resist Disease", "Resist Common Disease 75%"},
         {K::Weakness, "Weakness to Magicka", "50%"},
         {K::Weakness, "Weakness to Fire", "50%"},
         {K::Weakness, "Weakness to Frost", "25%"},
         {K::Weakness, "Weakness to Shock", "25%"}},
        {{K::Power, "Star of the West", "Absorb Fatigue 200 points"},
         {K::Power, "Voice of the Emperor", "Charm on a target"}},
        {{K::Spell, "Eye of Night", "Night-Eye"},
         {K::Power, "Eye of Fear", "Demoralize Humanoid 100 points for 30 seconds"}},
        {{K::Power, "Woad", "Shield 30 points for 60 seconds"},
         {K::Power, "Thunder Fist", "Frost Damage 25 points on touch"},
         {K::Ability, "Immune to Frost", "Resist Frost 100%"},
         {K::Ability, "Resist Shock", "Resist Shock 50%"}},
        {{K::Power, "Berserk", "Fortify Health, Fatigue and Attack, Drain Agility, 60 seconds"},
         {K::Ability, "Resist Magicka", "Resist Magicka 25%"}},
        {{K::Power, "Adrenaline Rush", "Fortify Strength, Agility, Speed, Endurance and Health"},
         {K::Ability, "Resist Poison", "Resist Poison 75%"},
         {K::Ability, "Resist Disease", "Resist Common Disease 75%"}},
        {{K::Power, "Beast Tongue", "Command Creature"},
         {K::Ability, "Resist Disease", "Resist Common Disease 75%"}},
    };
    return list;
}

const QList<QList<Special>>& birthsignSpecialTable() {
    static const QList<QList<Special>> list = {
        {{K::Ability, "Fay", "Fortify Maximum Magicka 0.5 x Intelligence"}},
        {{K::Ability, "Elfborn", "Fortify Maximum Magicka 1.5 x Intelligence"},
         {K::Weakness, "Weakness to Magicka", "50%"}},
        {{K::Ability, "Wombburn", "Fortify Maximum Magicka 2.0 x Intelligence"},
         {K::Ability, "Spell Absorption", "50%"},
         {K::Weakness, "Stunted Magicka", "no magicka back from rest"}},
        {{K::Power, "Mara's Gift", "Restore Health 100 points"},
         {K::Spell, "Blessed Word", "Turn Undead 100 points for 30 seconds on a target"},
         {K::Spell, "Blessed Touch", "Turn Undead 100 points for 30 seconds on touch"}},
        {{K::Ability, "Warwyrd", "Fortify Attack 10 points"}},
        {{K::Ability, "Beggar's Nose", "Detect Animal, Enchantment and Key"},
         {K::Power, "Tower Key", "Open"}},
        {{K::Ability, "Charioteer", "Fortify Speed 25 points"}},
        {{K::Ability, "Lady's Favor", "Fortify Personality 25 points"},
         {K::Ability, "Lady's Grace", "Fortify Endurance 25 points"}},
        {{K::Spell, "Blood of the North", "Restore Health 2 points for 30 seconds"},
         {K::Weakness, "Trollkin", "Weakness to Fire 100%"}},
        {{K::Ability, "Akaviri Danger-Sense", "Sanctuary 10 points"}},
        {{K::Ability, "Mooncalf", "Fortify Agility 25 points"},
         {K::Power, "Lover's Kiss", "Paralyze for 60 seconds, Damage Fatigue 200 on yourself"}},
        {{K::Spell, "Star-Curse", "Poison 3 points for 30 seconds, Damage Health on yourself"}},
        {{K::Power, "Moonshadow", "Invisibility for 60 seconds"}},
    };
    return list;
}

bool validIndex(int i, int size) {
    return i >= 0 && i < size;
}

} // namespace

QString specialKindName(Special::Kind kind) {
    switch (kind) {
    case K::Ability:
        return QStringLiteral("Ability");
    case K::Power:
        return QStringLiteral("Power");
    case K::Spell:
        return QStringLiteral("Spell");
    case K::Weakness:
        return QStringLiteral("Weakness");
    }
    return {};
}

AttributeValues raceAttributes(int race, int gender) {
    if (!validIndex(race, int(kRaceAttributes.size())) || !validIndex(gender, 2))
        return {};
    return kRaceAttributes[size_t(race)][size_t(gender)];
}

int raceSkillBonus(int race, int skill) {
    if (!validIndex(race, int(raceBonuses().size())) || !validIndex(skill, int(skills().size())))
        return 0;
    for (const Bonus& b : raceBonuses()[race])
        if (skills()[skill] == QLatin1String(b.skill))
            return b.points;
    return 0;
}

AttributeValues birthsignFortify(int birthsign) {
    AttributeValues v{};
    const int i = birthsign;
    if (i == birthsigns().indexOf(QLatin1String("The Steed")))
        v[Spd] = 25;
    else if (i == birthsigns().indexOf(QLatin1String("The Lady")))
        v[Per] = v[End] = 25;
    else if (i == birthsigns().indexOf(QLatin1String("The Lover")))
        v[Agi] = 25;
    return v;
}

double raceMagickaBonus(int race) {
    const QString name = validIndex(race, int(races().size())) ? races()[race] : QString();
    return name == QLatin1String("Breton") ? 0.5 : name == QLatin1String("High Elf") ? 1.5 : 0.0;
}

double birthsignMagickaBonus(int birthsign) {
    const QString name =
        validIndex(birthsign, int(birthsigns().size())) ? birthsigns()[birthsign] : QString();
    if (name == QLatin1String("The Mage"))
        return 0.5;
    if (name == QLatin1String("The Apprentice"))
        return 1.5;
    if (name == QLatin1String("The Atronach"))
        return 2.0;
    return 0.0;
}

QList<Special> raceSpecials(int race) {
    return validIndex(race, int(raceSpecialTable().size())) ? raceSpecialTable()[race]
                                                            : QList<Special>();
}

QList<Special> birthsignSpecials(int birthsign) {
    return validIndex(birthsign, int(birthsignSpecialTable().size()))
               ? birthsignSpecialTable()[birthsign]
               : QList<Special>();
}

int governingAttribute(int skill) {
    return validIndex(skill, int(kGoverning.size())) ? kGoverning[size_t(skill)] : -1;
}

CharacterSheet computeSheet(const SheetChoices& c) {
    CharacterSheet s;
    if (c.race < 0)
        s.missing << QStringLiteral("Choose a race (step three).");
    if (c.gender < 0)
        s.missing << QStringLiteral("Choose a gender (step three).");
    if (c.specialization < 0)
        s.missing << QStringLiteral("Choose a class specialization (step two).");
    if (c.favourite1 < 0 || c.favourite2 < 0 || c.favourite1 == c.favourite2)
        s.missing << QStringLiteral("Choose two favourite attributes (step four).");
    if (c.major.size() < 5)
        s.missing
            << QStringLiteral("Choose %1 more major skill(s) (step five).").arg(5 - c.major.size());
    if (c.minor.size() < 5)
        s.missing
            << QStringLiteral("Choose %1 more minor skill(s) (step five).").arg(5 - c.minor.size());
    if (c.birthsign < 0)
        s.missing << QStringLiteral("Choose a birthsign (step six).");
    if (!s.complete())
        return s;

    s.beforeBirthsign = raceAttributes(c.race, c.gender);
    s.beforeBirthsign[size_t(c.favourite1)] += 10;
    s.beforeBirthsign[size_t(c.favourite2)] += 10;
    s.fortify = birthsignFortify(c.birthsign);
    for (int a = 0; a < kAttributeCount; ++a)
        s.attributes[size_t(a)] = s.beforeBirthsign[size_t(a)] + s.fortify[size_t(a)];

    for (int skill = 0; skill < skills().size(); ++skill) {
        int value = 5;
        QList<CharacterSheet::SkillValue>* group = &s.misc;
        if (c.major.contains(skill)) {
            value = 30;
            group = &s.major;
        } else if (c.minor.contains(skill)) {
            value = 15;
            group = &s.minor;
        }
        if (specializationOfSkill(skills()[skill]) == c.specialization)
            value += 5;
        value += raceSkillBonus(c.race, skill);
        group->append({skill, governingAttribute(skill), value});
    }

    // Health is set before the birthsign takes effect; Fatigue and Magicka
    // count its fortifications.
    s.health = (s.beforeBirthsign[Str] + s.beforeBirthsign[End]) / 2;
    s.fatigue = s.attributes[Str] + s.attributes[Wil] + s.attributes[Agi] + s.attributes[End];
    s.magickaMultiplier = 1.0 + raceMagickaBonus(c.race) + birthsignMagickaBonus(c.birthsign);
    s.magicka = int(std::floor(s.attributes[Int] * s.magickaMultiplier + 1e-9));
    s.specials = raceSpecials(c.race) + birthsignSpecials(c.birthsign);
    return s;
}

QString sheetText(const CharacterSheet& s, const QString& title, bool markdown) {
    QStringList out;
    const auto heading = [&](const QString& text) {
        out << (markdown ? QStringLiteral("## ") + text : text.toUpper());
    };
    const auto item = [&](const QString& name, const QString& value) {
        out << (markdown ? QStringLiteral("- **%1:** %2").arg(name, value)
                         : QStringLiteral("  %1: %2").arg(name, value));
    };
    out << (markdown ? QStringLiteral("# ") + title : title);
    out << QString();
    if (!s.complete()) {
        heading(QStringLiteral("Still to choose"));
        for (const QString& m : s.missing)
            out << (markdown ? QStringLiteral("- ") + m : QStringLiteral("  ") + m);
        return out.join(QLatin1Char('\n')) + QLatin1Char('\n');
    }
    heading(QStringLiteral("Attributes"));
    for (int a = 0; a < kAttributeCount; ++a) {
        QString value = QString::number(s.attributes[size_t(a)]);
        if (s.fortify[size_t(a)])
            value += QStringLiteral(" (%1 + %2 from the birthsign)")
                         .arg(s.beforeBirthsign[size_t(a)])
                         .arg(s.fortify[size_t(a)]);
        item(attributes()[a], value);
    }
    out << QString();
    heading(QStringLiteral("Derived"));
    item(QStringLiteral("Health"), QString::number(s.health));
    item(QStringLiteral("Magicka"), QStringLiteral("%1 (%2 x Intelligence)")
                                        .arg(s.magicka)
                                        .arg(s.magickaMultiplier, 0, 'g', 3));
    item(QStringLiteral("Fatigue"), QString::number(s.fatigue));
    const std::array<std::pair<QString, const QList<CharacterSheet::SkillValue>*>, 3> groups = {
        {{QStringLiteral("Major skills"), &s.major},
         {QStringLiteral("Minor skills"), &s.minor},
         {QStringLiteral("Miscellaneous skills"), &s.misc}}};
    for (const auto& [name, list] : groups) {
        out << QString();
        heading(name);
        for (const auto& v : *list)
            item(skills()[v.skill],
                 QStringLiteral("%1 (%2)").arg(v.value).arg(attributes()[v.attribute]));
    }
    out << QString();
    heading(QStringLiteral("Abilities, powers, spells and weaknesses"));
    for (const Special& sp : s.specials)
        item(sp.name, specialKindName(sp.kind) + QStringLiteral(": ") + sp.effect);
    return out.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

bool LevelPlan::isEmpty() const {
    return std::all_of(levels.begin(), levels.end(), [](const PlannedLevel& l) {
        return std::all_of(l.increases.begin(), l.increases.end(), [](int n) { return n < 0; });
    });
}

int levelUpBonus(int attribute, int increases) {
    if (attribute == Lck || increases <= 0)
        return 1;
    if (increases <= 4)
        return 2;
    if (increases <= 7)
        return 3;
    if (increases <= 9)
        return 4;
    return 5;
}

QList<LevelOutcome> projectLevels(const CharacterSheet& sheet, const LevelPlan& plan) {
    QList<LevelOutcome> out;
    if (!sheet.complete())
        return out;
    AttributeValues now = sheet.attributes;
    double health = sheet.health;
    for (int i = 0; i < plan.levels.size() && i + 2 <= kHighestPlannedLevel; ++i) {
        const PlannedLevel& level = plan.levels[i];
        LevelOutcome o;
        o.level = i + 2;
        int raised = 0;
        for (int a = 0; a < kAttributeCount; ++a) {
            const int n = level.increases[size_t(a)];
            if (n < 0)
                continue;
            ++raised;
            if (now[size_t(a)] >= 100) {
                o.warnings << QStringLiteral("%1 is already at 100.").arg(attributes()[a]);
                continue;
            }
            const int gain = std::min(levelUpBonus(a, n), 100 - now[size_t(a)]);
            o.bonus[size_t(a)] = gain;
            now[size_t(a)] += gain;
        }
        if (raised > 3)
            o.warnings << QStringLiteral("Only three attributes can be raised at a level-up.");
        health += now[End] / 10.0;
        o.attributes = now;
        o.healthExact = health;
        out << o;
    }
    return out;
}

QStringList planWarnings(const CharacterSheet& sheet, const LevelPlan& plan) {
    QStringList warnings;
    if (!sheet.complete())
        return warnings;
    std::array<int, kAttributeCount> planned{}, room{};
    for (const auto* group : {&sheet.major, &sheet.minor, &sheet.misc})
        for (const auto& v : *group)
            room[size_t(v.attribute)] += std::max(0, 100 - v.value);
    for (const PlannedLevel& level : plan.levels)
        for (int a = 0; a < kAttributeCount; ++a)
            planned[size_t(a)] += std::max(0, level.increases[size_t(a)]);
    for (int a = 0; a < kAttributeCount; ++a)
        if (a != Lck && planned[size_t(a)] > room[size_t(a)])
            warnings << QStringLiteral("The skills governed by %1 can rise %2 more times before "
                                       "each reaches 100; the plan counts %3.")
                            .arg(attributes()[a])
                            .arg(room[size_t(a)])
                            .arg(planned[size_t(a)]);
    return warnings;
}

QStringList levelPlanLines(const LevelPlan& plan) {
    QStringList lines;
    for (const PlannedLevel& level : plan.levels) {
        QStringList parts;
        for (int a = 0; a < kAttributeCount; ++a)
            if (level.increases[size_t(a)] >= 0)
                parts
                    << QStringLiteral("%1:%2").arg(attributes()[a]).arg(level.increases[size_t(a)]);
        lines << parts.join(QLatin1Char(','));
    }
    return lines;
}

LevelPlan levelPlanFromLines(const QStringList& lines) {
    LevelPlan plan;
    for (const QString& line : lines.mid(0, kHighestPlannedLevel - 1)) {
        PlannedLevel level;
        for (const QString& part : line.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
            const int colon = part.indexOf(QLatin1Char(':'));
            const int a = attributes().indexOf(part.left(colon).trimmed());
            bool ok = false;
            const int n = part.mid(colon + 1).trimmed().toInt(&ok);
            if (colon > 0 && a >= 0 && ok && n >= 0)
                level.increases[size_t(a)] = std::min(n, 99);
        }
        plan.levels << level;
    }
    return plan;
}

} // namespace tarvo
