// The level optimiser's test and benchmark set: the shipped templates' classes
// (the game's 21 and the project's own) and generated custom classes, with
// every race and birthsign, each with the targets "favourites and governors
// of the major skills to 100" and "all to 100 but Luck" (some also with
// skills left out); and a lower bound on the level-ups any plan needs,
// worked out apart from the optimiser.
#pragma once

#include "levelplan.h"

#include <QList>
#include <QString>

namespace tarvo::test {

struct PlanCase {
    QString name;
    SheetChoices choices;
    LevelPlan plan; // targets and excluded skills, no levels
};

QList<PlanCase> optimiserCases();

// The fewest level-ups any plan needs to meet plan's targets from level 1
// (-1 when none can), for the original game's rules. Each attribute gains at
// most 5 a level (5 from ten increases of its skills, 4 from eight, 3 from
// five, 2 from one, 1 from none; Luck 1), its skills' room below 100 bounds
// the increases over all its picks, three attributes are picked a level, and
// each level needs ten increases of major or minor skills.
int levelUpLowerBound(const CharacterSheet& sheet, const LevelPlan& plan);

} // namespace tarvo::test
