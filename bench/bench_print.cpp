// Printing a full character with both pictures to a PDF file; prints the
// median time of PrintProfile and keeps the last page when asked.
//
//   bench_print [AppFolder] [rounds] [keep.pdf]
#include "appfolder.h"
#include "character.h"
#include "globals.h"
#include "output/printprofile.h"
#include "silentplatform.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace tarvo;

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments();
    const QString folder = benchAppFolder(args);
    const int rounds = benchRounds(args, 50);
    if (folder.isEmpty())
        return 1;
    SilentPlatform silent;
    setPlatform(&silent);
    globals().Domain = QStringLiteral("https://en.uesp.net/wiki/");

    fillSampleCharacter();

    QTemporaryDir dir;
    PrintJob job;
    job.pdfPath = args.size() > 3 ? args[3] : dir.filePath(QStringLiteral("page.pdf"));
    job.choices = {true, true};
    std::vector<double> times;
    for (int i = 0; i < rounds; ++i) {
        QElapsedTimer t;
        t.start();
        const QString failure = PrintProfile(job);
        times.push_back(t.nsecsElapsed() / 1e6);
        if (!failure.isEmpty()) {
            std::fprintf(stderr, "Print failed: %s\n", qPrintable(failure));
            return 1;
        }
    }
    std::sort(times.begin(), times.end());
    std::printf("bench_print: %d rounds, a full character with both pictures to a PDF file\n",
                rounds);
    std::printf("PrintProfile: median %.2f ms (goal < 50 ms), page %lld bytes\n",
                times[times.size() / 2], QFile(job.pdfPath).size());
    return 0;
}
