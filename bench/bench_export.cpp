// Composing a full character as text for a marked-up board (Markdown, the
// shipped preset with the most keys) and as plain text. BM_Export* is the
// whole Export: the settings and tag-set reads, the composition and the copy
// in Data/ClipboardData.txt; BM_Compose* leaves out the file.
#include "appfolder.h"
#include "character.h"
#include "globals.h"
#include "ini/mdlVbNetIni.h"
#include "samplecharacter.h"
#include "textexport.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

using namespace tarvo;

void prepare() {
    static QTemporaryDir dir;
    static bool done = false;
    if (done)
        return;
    done = true;
    QDir().mkpath(dir.filePath("Data"));
    for (const char* f : {"Data/tags.ini", "Data/votecode.txt", "Data/Settings.ini"})
        QFile::copy(QStringLiteral(TARVO_SOURCE_DIR "/appfolder/") + QLatin1String(f),
                    dir.filePath(QLatin1String(f)));
    setAppFolder(dir.path());
    setPortableOverride(true);
    WriteIniValue("Program", "iniBoardName", "Markdown", dir.filePath("Data/Settings.ini"));
    globals().Domain = QStringLiteral("https://en.uesp.net/wiki/");

    tarvo::test::buildSampleCharacter(QStringLiteral("Ada Lovelace"));
}

void BM_ExportMarkdown(benchmark::State& state) {
    prepare();
    for (auto _ : state)
        benchmark::DoNotOptimize(ExportText(QStringLiteral("Yes")));
}

void BM_ExportPlain(benchmark::State& state) {
    prepare();
    for (auto _ : state)
        benchmark::DoNotOptimize(ExportText(QStringLiteral("No")));
}

void BM_ComposeMarkdown(benchmark::State& state) {
    prepare();
    for (auto _ : state) {
        const BoardMarkup m = readBoardMarkup(QStringLiteral("Markdown"));
        benchmark::DoNotOptimize(composeProfileText(character(), globals().Domain, &m));
    }
}

BENCHMARK(BM_ExportMarkdown)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ExportPlain)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ComposeMarkdown)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
