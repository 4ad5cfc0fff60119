// The level-up planner's page at 50 levels: from an edit (a cell of the plan,
// a target, a skill left out, the last level), made with the keys a user
// presses, to the page painted with its outcome, table and chart. The clock
// stops when the last paint that the edit caused has been handed to the
// window system. Prints the medians.
//
//   bench_planner [AppFolder] [rounds]
#include "leveloptimiser.h"
#include "planning/frmSheet.h"
#include "silentplatform.h"

#include <QElapsedTimer>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableView>
#include <QTest>

#ifdef Q_OS_UNIX
#include <time.h>
#endif

#include <cstdio>
#include <functional>
#include <vector>

using namespace tarvo;

namespace {

// The CPU time of the process, all its threads, in nanoseconds (0 where not
// known): on a busy machine it shows the program's own work without the
// waits for a CPU.
qint64 cpuNs() {
#ifdef Q_OS_UNIX
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return qint64(ts.tv_sec) * 1000000000 + ts.tv_nsec;
#else
    return 0;
#endif
}

// Notes when each paint of a window (its update request, which paints every
// widget due and hands the picture over) has been done.
class ProbeApp : public QApplication {
public:
    using QApplication::QApplication;
    bool notify(QObject* receiver, QEvent* event) override {
        const QEvent::Type type = event->type();
        const bool done = QApplication::notify(receiver, event);
        if (type == QEvent::UpdateRequest || type == QEvent::Paint) {
            lastPaint = clock.nsecsElapsed();
            lastPaintCpu = cpuNs();
            ++paints;
        }
        return done;
    }
    QElapsedTimer clock;
    qint64 lastPaint = 0, lastPaintCpu = 0;
    int paints = 0;
};

struct Timing {
    double ms, cpuMs;
};

// Runs edit, then the event loop until a round of events paints nothing
// more; the time (and the CPU time) from the edit to the end of the last
// paint.
Timing editToPaint(ProbeApp& app, const std::function<void()>& edit) {
    QCoreApplication::processEvents();
    const qint64 start = app.clock.nsecsElapsed(), cpuStart = cpuNs();
    app.lastPaint = start;
    app.lastPaintCpu = cpuStart;
    edit();
    for (int quiet = 0; quiet < 2;) {
        const int before = app.paints;
        QCoreApplication::processEvents();
        quiet = app.paints == before ? quiet + 1 : 0;
    }
    return {double(app.lastPaint - start) / 1e6, double(app.lastPaintCpu - cpuStart) / 1e6};
}

} // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    ProbeApp app(argc, argv);
    app.clock.start();
    const QStringList args = QApplication::arguments();
    const QString folder = benchAppFolder(args);
    const int rounds = benchRounds(args, 60);
    if (folder.isEmpty())
        return 1;
    SilentPlatform silent;
    setPlatform(&silent);
    setBenchGlobals();
    fillSampleCharacter();

    frmSheet* sheet = showCharacterSheet();
    sheet->findChild<QTabWidget*>(QStringLiteral("tabPages"))->setCurrentIndex(1);
    if (!QTest::qWaitForWindowExposed(sheet))
        return 1;
    sheet->activateWindow();
    auto* levels = sheet->findChild<QSpinBox*>(QStringLiteral("spnLevels"));
    levels->setValue(kHighestPlannedLevel);
    sheet->findChild<QPushButton*>(QStringLiteral("cmdPlan"))->click();
    auto* plan = sheet->findChild<QTableView*>(QStringLiteral("tblPlan"));
    auto* excluded = sheet->findChild<QListWidget*>(QStringLiteral("lstExcluded"));
    auto* target = sheet->findChild<QSpinBox*>(QStringLiteral("spnTarget(6)"));
    if (plan->model()->rowCount() != kHighestPlannedLevel - 1) {
        std::fprintf(stderr, "The plan does not reach level 50\n");
        return 1;
    }
    QTest::qWait(50);

    struct Edit {
        const char* name;
        std::function<void(int)> prepare, commit;
    };
    const int column = kAttributeCount + 12; // a miscellaneous skill of the sample
    const std::vector<Edit> edits = {
        {"a cell of level 2 (the skill changes at every level)",
         [&](int i) {
             plan->setFocus();
             plan->setCurrentIndex(plan->model()->index(0, column));
             QTest::keyClick(plan, char('1' + i % 2));
         },
         [&](int) { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return); }},
        {"a target",
         [&](int i) {
             target->setFocus();
             target->selectAll();
             QTest::keyClicks(target, QString::number(80 + i % 2));
         },
         [&](int) { QTest::keyClick(target, Qt::Key_Return); }},
        {"a skill left out",
         [&](int) {
             excluded->setFocus();
             excluded->setCurrentRow(20);
         },
         [&](int) { QTest::keyClick(excluded, Qt::Key_Space); }},
        {"the last level (49 and 50 in turn)", [&](int) { levels->setFocus(); },
         [&](int i) { QTest::keyClick(levels, i % 2 ? Qt::Key_Up : Qt::Key_Down); }},
    };

    std::printf("bench_planner: the planner's page at 50 levels, %d edits of each kind, from "
                "the key to the page painted\n",
                rounds);
    std::vector<double> everything, everythingCpu;
    for (const Edit& e : edits) {
        std::vector<double> ms, cpu;
        for (int i = 0; i < rounds; ++i) {
            e.prepare(i);
            QCoreApplication::processEvents();
            const Timing t = editToPaint(app, [&] { e.commit(i); });
            ms.push_back(t.ms);
            cpu.push_back(t.cpuMs);
        }
        everything.insert(everything.end(), ms.begin(), ms.end());
        everythingCpu.insert(everythingCpu.end(), cpu.begin(), cpu.end());
        std::sort(ms.begin(), ms.end());
        std::printf("  %-48s median %6.2f ms, 90th percentile %6.2f ms, CPU %6.2f ms\n", e.name,
                    ms[ms.size() / 2], ms[ms.size() * 9 / 10], median(cpu));
    }
    std::printf("edit to painted page: median %.2f ms over every edit, CPU %.2f ms (goal: under "
                "16 ms)\n",
                median(everything), median(everythingCpu));

    // The optimiser pressed on the page: from the click to the page painted.
    std::vector<double> ms, cpu;
    for (int i = 0; i < std::max(5, rounds / 4); ++i) {
        target->setValue(70 + i % 2 * 10); // a plan of its own each time
        QCoreApplication::processEvents();
        const Timing t = editToPaint(
            app, [&] { sheet->findChild<QPushButton*>(QStringLiteral("cmdPlan"))->click(); });
        ms.push_back(t.ms);
        cpu.push_back(t.cpuMs);
    }
    std::printf("\"Plan my levels\" to the painted page: median %.2f ms, CPU %.2f ms\n", median(ms),
                median(cpu));
    sheet->close();
    return 0;
}
