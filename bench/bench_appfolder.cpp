// What finding a file of the program folder costs: resolvePath alone (the
// folder without any mode), appPath in a portable folder, and appPath in
// installed mode, where the user's own folder is looked at first (with and
// without a copy of the file there).
#include "appfolder.h"
#include "ini/pathresolve.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

const QString kRelative = QStringLiteral("\\Data\\Skills\\Long Blade.txt");

struct Folders {
    QTemporaryDir program;
    QTemporaryDir user;
    Folders() {
        for (const QString& f :
             {QStringLiteral("Data/Skills/Long Blade.txt"), QStringLiteral("Data/Settings.ini")}) {
            QDir().mkpath(QFileInfo(program.filePath(f)).absolutePath());
            QFile(program.filePath(f)).open(QIODevice::WriteOnly);
        }
        QDir().mkpath(user.filePath(QStringLiteral("Data")));
        QFile(user.filePath(QStringLiteral("Data/Settings.ini"))).open(QIODevice::WriteOnly);
        tarvo::setAppFolder(program.path());
        tarvo::setUserDataFolder(user.path());
    }
};

Folders& folders() {
    static Folders f;
    return f;
}

void BM_ResolvePath(benchmark::State& state) {
    const QString path = folders().program.path() + kRelative;
    for (auto _ : state)
        benchmark::DoNotOptimize(tarvo::resolvePath(path));
}

void BM_AppPath(benchmark::State& state) {
    folders();
    tarvo::setPortableOverride(state.range(0) == 0 ? std::optional<bool>()
                                                   : std::optional<bool>(false));
    const QString relative = state.range(0) == 2 ? QStringLiteral("/Data/Settings.ini") : kRelative;
    for (auto _ : state)
        benchmark::DoNotOptimize(tarvo::appPath(relative));
    tarvo::setPortableOverride(std::nullopt);
}

} // namespace

BENCHMARK(BM_ResolvePath);
// 0: portable; 1: installed, no user copy; 2: installed, user copy.
BENCHMARK(BM_AppPath)->Arg(0)->Arg(1)->Arg(2);

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
