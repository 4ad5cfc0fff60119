// The level planner's optimiser: from the character (and any levels the
// player keeps), a plan of skill increases and picks that meets the targets
// in the fewest levels, then goes on to the last level raising what is below
// its target first and then the rest. Its plan is checked by projectLevels,
// never taken on trust.
#pragma once

#include "levelplan.h"

namespace tarvo {

struct OptimisedPlan {
    LevelPlan plan;
    // The fewest level-ups after the kept levels that can meet every target
    // (0: met already), -1 when no plan can: the exact optimum of the
    // levelling rules, not an estimate.
    int fewestLevelUps = -1;
    // The level at which the plan meets every target, by projectLevels (1:
    // at creation), 0 when it does not by its last level.
    int reachedAt = 0;
    // projectLevels finds nothing to warn about in the planned levels (the
    // optimiser's own check; anything else is a fault of the optimiser).
    bool valid = false;
    // One or two sentences for the user.
    QString summary;
};

// Plans levels keepLevels + 2 to lastLevel after the first keepLevels of
// plan (kept as they are), with plan's targets and excluded skills.
OptimisedPlan optimiseLevels(const CharacterSheet& sheet, const LevelPlan& plan, int lastLevel,
                             int keepLevels = 0, const GameRules& rules = currentRules());

} // namespace tarvo
