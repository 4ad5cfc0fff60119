#include "rules.h"

#include "reftables.h"

#include <algorithm>
#include <memory>

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
constexpr SkillValues kGoverning = {
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

GameRules makeBuiltIn() {
    GameRules r;
    r.governing = kGoverning;
    for (int s = 0; s < kSkillCount; ++s)
        r.specialization[size_t(s)] = specializationOfSkill(skills()[s]);
    for (int race = 0; race < int(kRaceAttributes.size()); ++race) {
        RaceRules rr;
        rr.attributes = kRaceAttributes[size_t(race)];
        for (const Bonus& b : raceBonuses()[race])
            rr.skillBonus[size_t(skillOrder(QLatin1String(b.skill)))] = b.points;
        rr.specials = raceSpecialTable()[race];
        r.races << rr;
    }
    r.races[races().indexOf(QLatin1String("Breton"))].magickaTenths = 5;
    r.races[races().indexOf(QLatin1String("High Elf"))].magickaTenths = 15;
    for (int sign = 0; sign < birthsignSpecialTable().size(); ++sign) {
        BirthsignRules br;
        br.specials = birthsignSpecialTable()[sign];
        r.birthsigns << br;
    }
    const auto sign = [&](const char* name) -> BirthsignRules& {
        return r.birthsigns[birthsigns().indexOf(QLatin1String(name))];
    };
    sign("The Steed").fortify[Spd] = 25;
    sign("The Lady").fortify[Per] = 25;
    sign("The Lady").fortify[End] = 25;
    sign("The Lover").fortify[Agi] = 25;
    sign("The Mage").magickaTenths = 5;
    sign("The Apprentice").magickaTenths = 15;
    sign("The Atronach").magickaTenths = 20;
    return r;
}

std::shared_ptr<const GameRules>& current() {
    static std::shared_ptr<const GameRules> rules =
        std::make_shared<const GameRules>(GameRules::builtIn());
    return rules;
}

} // namespace

int LevellingRules::bonusFor(int attribute, int count) const {
    if (attribute == luckAttribute)
        return luckBonus;
    return multiplier[size_t(std::clamp(count, 0, highestCount()))];
}

const GameRules& GameRules::builtIn() {
    static const GameRules rules = makeBuiltIn();
    return rules;
}

const GameRules& currentRules() {
    return *current();
}

void setCurrentRules(const GameRules& rules) {
    current() = std::make_shared<const GameRules>(rules);
    emit rulesNotifier().rulesChanged();
}

RulesNotifier& rulesNotifier() {
    // Never destroyed: windows may still disconnect from it at exit.
    static RulesNotifier* notifier = new RulesNotifier;
    return *notifier;
}

bool RulesNote::concerns(int r, int g, int b) const {
    return (race < 0 || race == r) && (gender < 0 || gender == g) &&
           (birthsign < 0 || birthsign == b);
}

} // namespace tarvo
