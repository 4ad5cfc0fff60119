// Every number the character sheet, the level-up planner and its optimiser
// use: the levelling settings, the races' and birthsigns' tables, each
// skill's governing attribute and specialization, and the starting values
// of character creation. GameRules::builtIn() holds the original game's
// numbers; the computations read the current rules (currentRules()), which
// another source (the player's own game) may replace as a whole.
// Indexes follow the reference tables: races(), attributes(), skills(),
// birthsigns().
#pragma once

#include <QList>
#include <QString>

#include <array>

namespace tarvo {

constexpr int kAttributeCount = 8;
constexpr int kSkillCount = 27;
using AttributeValues = std::array<int, kAttributeCount>;
using SkillValues = std::array<int, kSkillCount>;

// One named effect of a race or birthsign, as the sheet lists it.
struct Special {
    enum class Kind { Ability, Power, Spell, Weakness };
    Kind kind;
    QString name;
    QString effect;
};

// How a character rises from level to level (the game settings named
// beside each value).
struct LevellingRules {
    // Increases of major or minor skills a level-up needs (iLevelupTotal).
    int levelupTotal = 10;
    // The bonus an attribute gets at a level-up for 0, 1, ... 10 or more
    // increases of the skills it governs since the last level-up (0: none;
    // 1 to 10: iLevelUp01Mult ... iLevelUp10Mult).
    std::array<int, 11> multiplier = {1, 2, 2, 2, 2, 3, 3, 3, 4, 4, 5};
    // The attribute that rises by luckBonus whatever is raised (Luck).
    int luckAttribute = 7;
    int luckBonus = 1;
    // Attributes picked at each level-up.
    int picksPerLevel = 3;
    // Attributes (fortifications included) and skills stop here.
    int attributeCap = 100;
    int skillCap = 100;
    // Health gained at a level-up per point of Endurance, in tenths
    // (fLevelUpHealthEndMult x 10).
    int healthTenthsPerEndurance = 1;

    // The bonus for count increases (more than ten count as ten).
    int bonusFor(int attribute, int count) const;
    // The highest count that still changes the bonus.
    int highestCount() const { return int(multiplier.size()) - 1; }
};

struct RaceRules {
    std::array<AttributeValues, 2> attributes{}; // male, female
    SkillValues skillBonus{};
    // Fortify Maximum Magicka, in tenths of Intelligence (Breton 5: +0.5 x).
    int magickaTenths = 0;
    QList<Special> specials;
};

struct BirthsignRules {
    // Constant fortifications of the attributes.
    AttributeValues fortify{};
    int magickaTenths = 0;
    QList<Special> specials;
};

struct GameRules {
    LevellingRules levelling;
    // Starting skill values at character creation.
    int majorSkillStart = 30;
    int minorSkillStart = 15;
    int miscSkillStart = 5;
    int specializationBonus = 5; // skills of the class's specialization
    int favouriteBonus = 10;     // each favourite attribute
    // Magicka in multiples of Intelligence before any fortification
    // (fPCbaseMagickaMult).
    double baseMagickaMultiplier = 1.0;
    // Per skill: the attribute that governs it and its specialization.
    SkillValues governing{};
    SkillValues specialization{};
    QList<RaceRules> races;           // races() order
    QList<BirthsignRules> birthsigns; // birthsigns() order

    // The original game's numbers.
    static const GameRules& builtIn();
};

// The rules the sheet, the planner and the optimiser read. Set from the user
// interface's thread; a reference from currentRules() holds until the next
// setCurrentRules, so a computation that runs elsewhere takes a copy first.
// Windows show the new numbers at their next refresh.
const GameRules& currentRules();
void setCurrentRules(const GameRules& rules);

} // namespace tarvo
