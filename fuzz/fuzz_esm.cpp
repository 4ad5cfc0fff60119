// Fuzz target of the game's content file reader. The input is a content
// file (.esm/.esp). Whatever it holds, the reader returns: a refused file
// keeps no record and says why; a file it reads keeps at most one record per
// 16 bytes, gives the same records when it is put on top of itself (a later
// file that repeats records changes nothing), and is refused once its last
// byte is cut off (a file cut short is never taken for whole). The rules
// made of it keep every number in the ranges the planner works with, and
// every character and class it offers can be computed and written.
#include "fuzzcheck.h"
#include "gamefiles/gamecontent.h"
#include "gamefiles/gametables.h"
#include "gamerules.h"

#include <cstdint>

using namespace tarvo::gamefiles;

namespace {

template <class T> bool sameTable(const RecordTable<T>& a, const RecordTable<T>& b) {
    if (a.all().keys() != b.all().keys())
        return false;
    for (auto it = a.all().cbegin(); it != a.all().cend(); ++it)
        if (!(b.all().value(it.key()).record == it->record))
            return false;
    return true;
}

bool same(const GameContent& a, const GameContent& b) {
    return sameTable(a.settings, b.settings) && sameTable(a.races, b.races) &&
           sameTable(a.birthsigns, b.birthsigns) && sameTable(a.spells, b.spells) &&
           sameTable(a.classes, b.classes) && sameTable(a.skills, b.skills);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const char* bytes = reinterpret_cast<const char*>(data);
    const Encoding enc = size % 3 == 0   ? Encoding::Windows1252
                         : size % 3 == 1 ? Encoding::Windows1250
                                         : Encoding::Windows1251;
    const ContentFile c = readContentFile(bytes, qint64(size), enc);
    const qsizetype kept = c.settings.size() + c.races.size() + c.birthsigns.size() +
                           c.spells.size() + c.classes.size() + c.skills.size();
    if (!c.ok()) {
        FUZZ_CHECK(kept == 0);
        return 0;
    }
    FUZZ_CHECK(c.recordsSeen >= 1 && c.recordsSeen <= qint64(size / 16));
    FUZZ_CHECK(kept < c.recordsSeen);

    GameContent once, twice;
    once.add(c, QStringLiteral("a.esm"), {});
    twice.add(c, QStringLiteral("a.esm"), {});
    twice.add(c, QStringLiteral("b.esp"), {});
    FUZZ_CHECK(same(once, twice));

    FUZZ_CHECK(!readContentFile(bytes, qint64(size) - 1, enc).ok());

    const tarvo::GameRules rules = rulesFromGame(once);
    const tarvo::LevellingRules& lv = rules.levelling;
    FUZZ_CHECK(lv.levelupTotal >= 1 && lv.levelupTotal <= 100);
    for (int m : lv.multiplier)
        FUZZ_CHECK(m >= 0 && m <= 100);
    for (int a : rules.governing)
        FUZZ_CHECK(a >= 0 && a < tarvo::kAttributeCount);
    FUZZ_CHECK(rules.races.size() == 10 && rules.birthsigns.size() == 13);
    tarvo::SheetChoices choice{0, 1, 2, 0, 7, 0, {0, 1, 2, 3, 4}, {5, 6, 7, 8, 9}};
    for (choice.race = 0; choice.race < 10; ++choice.race)
        for (choice.birthsign = 0; choice.birthsign < 13; ++choice.birthsign)
            FUZZ_CHECK(tarvo::computeSheet(choice, rules).complete());
    for (const auto* c : playableClasses(once))
        FUZZ_CHECK(classTemplate(once, *c, QStringLiteral("today")).startsWith("[SaveData]"));
    return 0;
}
