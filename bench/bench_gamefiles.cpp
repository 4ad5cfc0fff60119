// Reading the player's game: a generated master of the size and shape of the
// original Morrowind.esm (about 80 MB in 48,000 records: some 1,450 game
// settings, 1,000 spells, the races, signs, classes and skills, 1,390 large
// LAND and 2,500 CELL records, and 41,500 small records of other kinds), read
// from the page cache. Beside it, the physical floor: reading the same file's
// bytes once into memory. Goal: the whole game in under 100 ms. Last, the
// game turned into the sheet's rules, as the sheet's first opening does.
#include "esmwriter.h"
#include "gamefiles/gamecontent.h"
#include "gamefiles/gametables.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>

using namespace tarvo::gamefiles;
using tarvo::test::EsmWriter;

namespace {

struct Game {
    QTemporaryDir dir;
    QString folder, master;
    qint64 size = 0;
    int records = 0;
};

Game* g_game = nullptr;

void makeGame(Game& g) {
    g.folder = g.dir.filePath(QStringLiteral("Morrowind"));
    const QString data = g.folder + QStringLiteral("/Data Files");
    QDir().mkpath(data);
    EsmWriter w;
    int n = 0;
    auto count = [&](int k) { n += k; };
    for (int i = 0; i < 1450; ++i)
        w.setting(QStringLiteral("iSetting%1").arg(i), i);
    count(1450);
    for (int i = 0; i < 77; ++i) {
        GameClass c{QStringLiteral("Class %1").arg(i),
                    QStringLiteral("Class %1").arg(i),
                    {0, 1},
                    i % 3,
                    {0, 1, 2, 3, 4},
                    {5, 6, 7, 8, 9},
                    i < 21};
        w.gameClass(c);
    }
    for (int i = 0; i < 10; ++i) {
        Race r;
        r.id = r.name = gameRaceId(i);
        r.skillBonuses = {{8, 10}, {5, 5}, {4, 5}};
        r.spells = {QStringLiteral("spell 1"), QStringLiteral("spell 2")};
        r.playable = true;
        w.race(r);
    }
    for (int i = 0; i < 27; ++i)
        w.skill({i, i % 8, i / 9, false});
    for (int i = 0; i < 13; ++i)
        w.birthsign({gameBirthsignId(i),
                     QStringLiteral("The Sign"),
                     {QStringLiteral("spell %1").arg(i)},
                     false});
    count(77 + 10 + 27 + 13);
    const char* smallTypes[] = {"STAT", "NPC_", "INFO", "DIAL", "MISC", "WEAP", "ARMO", "CONT"};
    for (int i = 0; i < 20750; ++i)
        w.filler(smallTypes[i % 8], 180 + (i * 37) % 40);
    for (int i = 0; i < 1000; ++i) {
        Spell s;
        s.id = s.name = QStringLiteral("spell %1").arg(i);
        s.type = i % 6;
        s.effects = {{79, -1, i % 8, 0, 0, 0, 5, 5}, {84, -1, -1, 0, 0, 0, 10, 10}};
        w.spell(s);
    }
    for (int i = 0; i < 20783; ++i)
        w.filler(smallTypes[i % 8], 180 + (i * 37) % 40);
    count(1000 + 20750 + 20783);
    for (int i = 0; i < 2500; ++i) {
        w.filler("CELL", 12000);
        if (i < 1390)
            w.filler("LAND", 30000);
    }
    count(2500 + 1390);
    g.master = data + QStringLiteral("/Morrowind.esm");
    w.save(g.master);
    EsmWriter plugin;
    plugin.setting(QStringLiteral("iSetting1"), 2).filler("CELL", 5000);
    plugin.save(data + QStringLiteral("/Plugin.esp"));
    QFile ini(g.folder + QStringLiteral("/Morrowind.ini"));
    ini.open(QIODevice::WriteOnly);
    ini.write("[Game Files]\r\nGameFile0=Morrowind.esm\r\nGameFile1=Plugin.esp\r\n");
    g.size = QFileInfo(g.master).size();
    g.records = n;
}

// The physical floor: the file's bytes read once into memory.
void BM_ReadBytes(benchmark::State& state) {
    QByteArray buffer(g_game->size, Qt::Uninitialized);
    for (auto _ : state) {
        QFile f(g_game->master);
        f.open(QIODevice::ReadOnly);
        benchmark::DoNotOptimize(f.read(buffer.data(), buffer.size()));
    }
    state.SetBytesProcessed(state.iterations() * g_game->size);
}

// The reader on the master alone.
void BM_ReadContentFile(benchmark::State& state) {
    for (auto _ : state) {
        const ContentFile c = readContentFile(g_game->master, Encoding::Windows1252);
        if (!c.ok() || c.recordsSeen != g_game->records + 1)
            state.SkipWithError("the generated file did not read whole");
        benchmark::DoNotOptimize(c.spells.size());
    }
    state.SetBytesProcessed(state.iterations() * g_game->size);
}

// What the program does: Morrowind.ini read, the files found, read and merged.
void BM_LoadGame(benchmark::State& state) {
    for (auto _ : state) {
        const GameContent g = loadGameContent(morrowindLoadOrder(g_game->folder));
        if (g.files.size() != 2 || g.intSetting(QStringLiteral("iSetting1")) != 2)
            state.SkipWithError("the generated game did not load");
        benchmark::DoNotOptimize(g.spells.size());
    }
}

// What the sheet's first opening adds: the game read and turned into the
// rules of the sheet and the planner.
void BM_LoadGameAndRules(benchmark::State& state) {
    for (auto _ : state) {
        const GameContent g = loadGameContent(morrowindLoadOrder(g_game->folder));
        const tarvo::GameRules rules = rulesFromGame(g);
        if (rules.origin.source.isEmpty() || rules.races.size() != 10)
            state.SkipWithError("the generated game gave no rules");
        benchmark::DoNotOptimize(rules.races.size());
    }
}

BENCHMARK(BM_ReadBytes)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ReadContentFile)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_LoadGame)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_LoadGameAndRules)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    Game game;
    makeGame(game);
    g_game = &game;
    std::printf("generated Morrowind.esm: %.1f MB, %d records after its header\n",
                double(game.size) / 1e6, game.records);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
