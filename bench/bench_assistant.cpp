// The planning assistant's "Build my character!": from the click to the
// wizard shown on its review step (the main and progress windows are loaded
// afresh each time, as they are when the assistant opens). Prints the median.
//
//   bench_assistant [AppFolder] [rounds]
#include "appfolder.h"
#include "character.h"
#include "globals.h"
#include "planning/frmWizard.h"
#include "platform.h"
#include "reftables.h"
#include "shell/forms.h"
#include "silentplatform.h"
#include "wizard/frmMain.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QPushButton>
#include <QSlider>
#include <QTest>

#ifdef Q_OS_UNIX
#include <time.h>
#endif

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace tarvo;

namespace {

// The CPU time of this thread in milliseconds (0 where not known): on a
// busy machine it shows the program's own work without the waits for a CPU.
double cpuMs() {
#ifdef Q_OS_UNIX
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return double(ts.tv_sec) * 1e3 + double(ts.tv_nsec) / 1e6;
#else
    return 0;
#endif
}

} // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments();
    const QString folder = benchAppFolder(args);
    const int rounds = benchRounds(args, 30);
    if (folder.isEmpty())
        return 1;
    SilentPlatform silent;
    setPlatform(&silent);
    setBenchGlobals();

    std::vector<double> ms, cpu;
    for (int i = 0; i < rounds; ++i) {
        forms::unloadAll();
        character().reset();
        auto* w = new frmWizard;
        w->show();
        if (!QTest::qWaitForWindowExposed(w))
            return 1;
        // The user's answers take a while; the window prepares meanwhile.
        QTest::qWait(20);
        // Combat, Magic and Stealth in turn, three keywords each.
        const int lead = i % 3;
        const int values[3] = {lead == 2 ? 12 : 3, lead == 0 ? 12 : 2, lead == 1 ? 12 : 1};
        for (int s = 0; s < 3; ++s)
            w->findChild<QSlider*>(QStringLiteral("HScroll(%1)").arg(s))->setValue(values[s]);
        for (int k : {i % 6, (i + 2) % 6, (i + 4) % 6})
            w->findChild<QCheckBox*>(QStringLiteral("chkKeywords(%1)").arg(k))->setChecked(true);
        auto* build = w->findChild<QPushButton*>(QStringLiteral("cmdBuild"));

        QElapsedTimer t;
        t.start();
        const double cpuStart = cpuMs();
        QTest::mouseClick(build, Qt::LeftButton);
        frmMain* m = forms::mainIfLoaded();
        if (!m || m->currentStep() != 6 || !m->isVisible()) {
            std::fprintf(stderr, "The build did not reach the review step\n");
            return 1;
        }
        // Until the review step has been painted.
        QCoreApplication::processEvents();
        ms.push_back(double(t.nsecsElapsed()) / 1e6);
        cpu.push_back(cpuMs() - cpuStart);
    }
    std::sort(ms.begin(), ms.end());
    std::printf("bench_assistant: %d builds, click on \"Build my character!\" to the review step "
                "shown\n",
                rounds);
    std::printf("median %.2f ms, 90th percentile %.2f ms, slowest %.2f ms (goal: median under "
                "30 ms)\n",
                ms[ms.size() / 2], ms[ms.size() * 9 / 10], ms.back());
    std::printf("CPU time of the build (without waits for a CPU): median %.2f ms\n", median(cpu));
    forms::unloadAll();
    return 0;
}
