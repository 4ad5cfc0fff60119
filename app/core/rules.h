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
#include <QObject>
#include <QString>
#include <QStringList>

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
    // Constant fortifications of the attributes (the race's abilities).
    AttributeValues fortify{};
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

// Where a set of rules comes from, as the character sheet tells it. Empty for
// the original game's tables. A note about one race, gender or birthsign
// (their indexes; -1 for every character) is shown only for a character
// that has it.
struct RulesNote {
    int race = -1;
    int gender = -1;
    int birthsign = -1;
    QString text;
    bool concerns(int forRace, int forGender, int forBirthsign) const;
    friend bool operator==(const RulesNote&, const RulesNote&) = default;
};

struct RulesOrigin {
    // "from your game: Morrowind.esm, Tribunal.esm, Bloodmoon.esm and 3
    // plugins"; empty for the original game's tables.
    QString source;
    // Each value that differs from the original game, with the file that
    // changed it.
    QList<RulesNote> changes;
    // What could not be taken from the game (a file that cannot be read, a
    // record that is missing) and the original game's numbers stand for.
    QList<RulesNote> fallbacks;
    // Races and birthsigns of the game that the wizard cannot choose.
    QStringList notPlannable;
    bool isEmpty() const {
        return source.isEmpty() && changes.isEmpty() && fallbacks.isEmpty() &&
               notPlannable.isEmpty();
    }
    friend bool operator==(const RulesOrigin&, const RulesOrigin&) = default;
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
    RulesOrigin origin;

    // The original game's numbers.
    static const GameRules& builtIn();
};

// The rules the sheet, the planner and the optimiser read. Set from the user
// interface's thread; a reference from currentRules() holds until the next
// setCurrentRules, so a computation that runs elsewhere takes a copy first.
// rulesNotifier() tells every open window when the rules are replaced.
const GameRules& currentRules();
void setCurrentRules(const GameRules& rules);

class RulesNotifier : public QObject {
    Q_OBJECT
signals:
    // The current rules were replaced: what shows their numbers computes again.
    void rulesChanged();
};
RulesNotifier& rulesNotifier();

} // namespace tarvo
