// Fuzz target of the game's content file reader. The input is a content
// file (.esm/.esp). Whatever it holds, the reader returns: a refused file
// keeps no record and says why; a file it reads keeps at most one record per
// 16 bytes, gives the same records when it is put on top of itself (a later
// file that repeats records changes nothing), and is refused once its last
// byte is cut off (a file cut short is never taken for whole).
#include "fuzzcheck.h"
#include "gamefiles/gamecontent.h"

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
    return 0;
}
