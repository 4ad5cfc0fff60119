// Recomputing the whole character sheet (numbers, text and a ten-level plan)
// after one choice; prints the median time.
//
//   bench_sheet [rounds]
#include "character.h"
#include "levelplan.h"
#include "reftables.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace tarvo;

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const int rounds = argc > 1 ? std::max(1, atoi(argv[1])) : 20000;
    Character& c = character();
    c.setCharacterName(QStringLiteral("Gasha"));
    c.chooseClass(0);
    c.chooseRace(7);
    c.chooseGender(1);
    c.chooseFavAtt1(0);
    c.chooseFavAtt2(5);
    for (int i = 0; i < 5; ++i) {
        c.checkSkillByName(true, skills()[i]);
        c.checkSkillByName(false, skills()[i + 9]);
    }
    c.chooseBirthsign(7);
    LevelPlan plan;
    for (int l = 0; l < 10; ++l) {
        PlannedLevel level;
        level.increases[1] = 5;  // Armourer (Strength)
        level.increases[3] = 10; // Heavy Armour (Endurance)
        level.picks[0] = level.picks[5] = level.picks[7] = true;
        plan.levels << level;
    }
    c.setLevelPlan(plan);

    std::vector<double> times;
    times.reserve(size_t(rounds));
    int sink = 0;
    for (int i = 0; i < rounds; ++i) {
        c.chooseBirthsign(i % 2 ? 7 : 6); // one choice, then the sheet again
        QElapsedTimer t;
        t.start();
        const CharacterSheet sheet = computeSheet(c.sheetChoices());
        const QString text = sheetText(sheet, c.CharacterName(), true);
        const QList<LevelOutcome> levels = projectLevels(sheet, c.levelPlan());
        times.push_back(t.nsecsElapsed() / 1e3);
        sink += int(text.size() + levels.size());
    }
    std::sort(times.begin(), times.end());
    std::printf("bench_sheet: %d rounds (check %d)\n", rounds, sink % 7);
    std::printf("recompute the sheet, its text and a ten-level plan: median %.1f us "
                "(goal < 200 us)\n",
                times[times.size() / 2]);
    return 0;
}
