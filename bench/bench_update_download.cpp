// A Fast Download through the update checker's own window, for
// scripts/bench-update.sh: the list at the address given on the command line
// names one large file, which the window downloads into a private program
// folder. Prints the seconds, the throughput and how far the process's peak
// memory rose above its size before the download.
//
// usage: bench_update_download <address of updates.ini> <expected bytes>
#include "appfolder.h"
#include "ini/mdlVbNetIni.h"
#include "silentplatform.h"
#include "update/frmMain.h"
#include "update/updatelist.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <cstdio>

namespace {

// A line of /proc/self/status in kilobytes ("VmRSS", "VmHWM"); -1 off Linux.
qint64 statusKb(const char* key) {
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : f.readAll().split('\n'))
        if (line.startsWith(QByteArray(key) + ':'))
            return line.mid(int(qstrlen(key)) + 1).trimmed().split(' ').value(0).toLongLong();
    return -1;
}

// Sets the peak back to the present size (Linux 4.0 and later).
void resetPeak() {
    QFile f(QStringLiteral("/proc/self/clear_refs"));
    if (f.open(QIODevice::WriteOnly))
        f.write("5");
}

// Runs the event loop as the program does, sleeping while it waits, until the
// window is no longer busy. (processEvents with a time limit never sleeps: it
// would spin and take the processor from the download it measures.)
bool waitIdle(tarvo::update::frmMain& w, int seconds) {
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (!w.isBusy())
            loop.quit();
    });
    QTimer::singleShot(seconds * 1000, &loop, &QEventLoop::quit);
    poll.start(2);
    loop.exec();
    return !w.isBusy();
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s <address of updates.ini> <expected bytes>\n", argv[0]);
        return 2;
    }
    const QByteArray listUrl = argv[1];
    const qint64 expected = QByteArray(argv[2]).toLongLong();
    QTemporaryDir folder;
    tarvo::setAppFolder(folder.path());
    tarvo::setPortableOverride(true);
    QDir().mkpath(folder.filePath(QStringLiteral("downloads")));
    QDir().mkpath(folder.filePath(QStringLiteral("Data")));
    WriteIniValue(QStringLiteral("urls"), QStringLiteral("iniDownloadFrom"),
                  QString::fromUtf8(listUrl), folder.filePath("downloads/urls.ini"));
    SilentPlatform platform;
    tarvo::setPlatform(&platform);

    tarvo::update::frmMain w;
    w.show();
    QTest::mouseClick(w.findChild<QPushButton*>(QStringLiteral("cmdUpdate")), Qt::LeftButton);
    if (!waitIdle(w, 60))
        return 1;
    auto* list = w.findChild<QListWidget*>(QStringLiteral("lstUpdates"));
    if (list->count() < 1) {
        std::fprintf(stderr, "bench_update_download: the list names no file\n");
        return 1;
    }
    list->setCurrentRow(0);
    auto* download = w.findChild<QPushButton*>(QStringLiteral("cmdDownload"));
    if (!download->isEnabled()) {
        std::fprintf(stderr, "bench_update_download: nothing to download\n");
        return 1;
    }
    const auto target = tarvo::update::downloadTarget(
        tarvo::update::UpdateList::fromFile(folder.filePath("downloads/updates.ini"))
            .entry(0)
            .saveTo);
    if (!target) {
        std::fprintf(stderr, "bench_update_download: the list names no place for the file\n");
        return 1;
    }

    const qint64 before = statusKb("VmRSS");
    resetPeak();
    QElapsedTimer t;
    t.start();
    QTest::mouseClick(download, Qt::LeftButton);
    if (!waitIdle(w, 600))
        return 1;
    const double seconds = t.nsecsElapsed() / 1e9;
    const qint64 peak = statusKb("VmHWM");
    const qint64 got = QFileInfo(target->path).size();
    if (got != expected) {
        std::fprintf(stderr, "bench_update_download: %lld bytes arrived, %lld expected\n",
                     static_cast<long long>(got), static_cast<long long>(expected));
        return 1;
    }
    std::printf("seconds %.3f\n", seconds);
    std::printf("MBps %.1f\n", got / 1e6 / seconds);
    std::printf("rss_anon_kb %lld\nrss_file_kb %lld\nrss_shmem_kb %lld\n",
                static_cast<long long>(statusKb("RssAnon")),
                static_cast<long long>(statusKb("RssFile")),
                static_cast<long long>(statusKb("RssShmem")));
    std::printf("rss_before_kb %lld\npeak_kb %lld\npeak_growth_kb %lld\n",
                static_cast<long long>(before), static_cast<long long>(peak),
                static_cast<long long>(peak - before));
    return 0;
}
