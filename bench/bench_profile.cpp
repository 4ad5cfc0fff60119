// Applying a profile to the real wizard and progress windows (offscreen), and
// saving one; prints the median times.
//
//   bench_profile [AppFolder] [rounds]
#include "appfolder.h"
#include "character.h"
#include "globals.h"
#include "planning/frmProgress.h"
#include "platform.h"
#include "profile.h"
#include "reftables.h"
#include "shell/forms.h"
#include "silentplatform.h"
#include "wizard/frmMain.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace tarvo;

namespace {

// A finished character with every task line filled.
void buildCharacter(int variant) {
    Character& c = character();
    c.reset();
    c.chooseGender(0);
    c.setRealName(variant ? "Second Player" : "First Player");
    c.setClassName(variant ? "Shadow" : "Spellwright");
    c.chooseClass(variant ? 2 : 1);
    c.setCharacterName(variant ? "Quiet Feet" : "Veya Indoril");
    c.chooseRace(variant ? 5 : 2);
    c.chooseGender(variant ? 0 : 1);
    c.chooseFavAtt1(variant ? 3 : 2);
    c.chooseFavAtt2(variant ? 4 : 7);
    const QStringList mine = skillsOf(variant ? 2 : 1);
    const QStringList other = skillsOf(variant ? 0 : 2);
    for (int i = 0; i < 5; ++i) {
        c.checkSkillByName(true, mine[i]);
        c.checkSkillByName(false, other[i + 2]);
    }
    c.chooseBirthsign(variant ? 9 : 2);
    for (int i = 0; i < Character::kTaskCount; ++i) {
        c.setTaskText(i, QStringLiteral("Task %1 of character %2").arg(i).arg(variant));
        c.setTaskState(i, (i + variant) % 3);
    }
    c.setTaskState(Character::kReminderBox, 1);
}

} // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments();
    const QString folder = benchAppFolder(args);
    const int rounds = benchRounds(args, 100);
    if (folder.isEmpty())
        return 1;
    SilentPlatform silent;
    setPlatform(&silent);
    setBenchGlobals();

    frmMain* m = forms::main();
    frmProgress* p = forms::progress();
    m->show();
    p->show();
    if (!QTest::qWaitForWindowExposed(m))
        return 1;

    QTemporaryDir dir;
    const QString files[2] = {dir.filePath(QStringLiteral("first.mwc")),
                              dir.filePath(QStringLiteral("second.mwc"))};
    for (int v = 0; v < 2; ++v) {
        buildCharacter(v);
        if (!writeProfile(character(), files[v])) {
            std::fprintf(stderr, "Could not write %s\n", qPrintable(files[v]));
            return 1;
        }
    }

    // Applying: the two profiles in turn, so that every value changes.
    std::vector<double> apply, applyAndPaint;
    for (int i = 0; i < rounds; ++i) {
        QElapsedTimer t;
        t.start();
        const ApplyResult r = applyProfile(character(), files[i % 2]);
        const double applied = t.nsecsElapsed() / 1e6;
        QCoreApplication::processEvents(); // the windows repaint
        const double painted = t.nsecsElapsed() / 1e6;
        if (!r.ok()) {
            std::fprintf(stderr, "Apply failed: %s\n", qPrintable(r.reason));
            return 1;
        }
        apply.push_back(applied);
        applyAndPaint.push_back(painted);
    }

    // Saving the full character.
    std::vector<double> save;
    const QString target = dir.filePath(QStringLiteral("saved.mwc"));
    for (int i = 0; i < rounds; ++i) {
        QElapsedTimer t;
        t.start();
        if (!writeProfile(character(), target)) {
            std::fprintf(stderr, "Save failed\n");
            return 1;
        }
        save.push_back(t.nsecsElapsed() / 1e6);
    }

    std::printf("bench_profile: %d rounds, full profiles (names, 10 skills, 7 tasks)\n", rounds);
    std::printf("apply to the wizard and progress windows: median %.3f ms (goal < 20 ms), "
                "with repaint %.3f ms\n",
                median(apply), median(applyAndPaint));
    std::printf("save (writeProfile): median %.3f ms (goal < 5 ms)\n", median(save));
    forms::unloadAll();
    return 0;
}
