// Level-up plans: for each level from 2 on, how many times each skill rises
// and which attributes are picked at the level-up, with the targets the
// player aims at and the skills left untrained. projectLevels() applies the
// game's levelling rules (rules.h) to a plan, whoever made it, and names every
// step that cannot be done as planned.
#pragma once

#include "gamerules.h"

#include <QHash>
#include <QList>
#include <QStringList>

#include <functional>
#include <optional>

namespace tarvo {

constexpr int kHighestPlannedLevel = 50;
// A target of 0 leaves the attribute as it is.
constexpr int kLeaveAsIs = 0;

// One planned level: the increases of each skill made before the level-up,
// and the attributes picked at it.
struct PlannedLevel {
    SkillValues increases{};
    std::array<bool, kAttributeCount> picks{};
    // Increases an older plan typed against Luck, which governs no skill.
    int luckIncreases = 0;

    bool isEmpty() const;
    int pickCount() const;
    friend bool operator==(const PlannedLevel&, const PlannedLevel&) = default;
};

struct LevelPlan {
    QList<PlannedLevel> levels; // level 2, 3, ...
    // The value each attribute should reach (kLeaveAsIs: none); unset until
    // the player sets one, the character's defaults (defaultTargets) till then.
    std::optional<AttributeValues> targets;
    std::array<bool, kSkillCount> excluded{}; // skills the player will not train

    // Nothing worth storing: no planned level, no target set, no skill left out.
    bool isEmpty() const;
    friend bool operator==(const LevelPlan&, const LevelPlan&) = default;
};

// The bonus that raising an attribute gives at a level-up for the number of
// increases of its governing skills (Luck always gives its own bonus).
int levelUpBonus(int attribute, int increases);

// 100 for the favourite attributes and the governors of the major skills,
// kLeaveAsIs for the rest.
AttributeValues defaultTargets(const CharacterSheet& sheet,
                               const GameRules& rules = currentRules());
AttributeValues planTargets(const LevelPlan& plan, const CharacterSheet& sheet,
                            const GameRules& rules = currentRules());

struct LevelOutcome {
    int level = 0;
    AttributeValues attributes{}; // after the level-up, fortifications included
    AttributeValues bonus{};      // what this level-up added
    AttributeValues increases{};  // increases of each attribute's skills that counted
    SkillValues skills{};         // after this level's increases
    int majorMinor = 0;           // increases of major and minor skills that counted
    int carried = 0;              // of them, towards the next level-up
    int healthTenths = 0;
    int health() const { return healthTenths / 10; }
    QStringList warnings;
};

// The character level by level as the plan raises it. Each warning names a
// step the game would not allow as planned (a level without enough major or
// minor increases, a skill past its cap, too many picks, an attribute at its
// cap picked, increases typed against Luck, an excluded skill raised); a
// level without any entry is not planned yet and gets none.
QList<LevelOutcome> projectLevels(const CharacterSheet& sheet, const LevelPlan& plan,
                                  const GameRules& rules = currentRules());
// The first level at which every target is met (1: already at creation),
// 0 when the levels do not get there.
int targetsReachedAt(const CharacterSheet& sheet, const QList<LevelOutcome>& levels,
                     const AttributeValues& targets);

// A plan as the profile's [LevelPlan] section holds it, key by key, and back.
// Lines of older versions (increases per attribute) become a plan of skills
// for this sheet: each attribute's increases go to the skills it governs.
QList<QPair<QString, QString>> levelPlanKeys(const LevelPlan& plan);
// Reads every key of the section that a plan may use through read (key ->
// value, empty when missing).
QHash<QString, QString> readLevelPlanKeys(const std::function<QString(const QString&)>& read);
LevelPlan levelPlanFromKeys(const QHash<QString, QString>& keys, const CharacterSheet& sheet,
                            const GameRules& rules = currentRules());

} // namespace tarvo
