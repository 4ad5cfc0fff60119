// Fuzz target of profile files. The input is a profile; when it loads, the
// character is saved and the saved file loaded again: both loads must give
// the same character, every text whole, the same level plan, and a character
// that counts as unchanged (ChangesMade "No").
#include "character.h"
#include "fuzzcheck.h"
#include "levelplan.h"
#include "profile.h"

#include <QFile>
#include <QTemporaryDir>

#include <cstdint>

namespace {

QTemporaryDir* g_dir = nullptr;

QStringList record(const tarvo::Character& c) {
    QStringList r = {c.RealName(),
                     c.ClassName(),
                     c.Class(),
                     c.CharacterName(),
                     c.Race(),
                     c.Gender(),
                     c.FavAtt1(),
                     c.FavAtt2(),
                     c.Birthsign(),
                     c.majorSkills().join('|'),
                     c.minorSkills().join('|')};
    for (int i = 0; i < tarvo::Character::kTaskBoxes; ++i) {
        r.append(QString::number(c.taskState(i)));
        if (i < tarvo::Character::kTaskCount)
            r.append(c.taskText(i));
    }
    // A plan without a single increase is no plan: the file does not store it.
    const tarvo::LevelPlan& plan = c.levelPlan();
    if (!plan.isEmpty()) {
        for (const auto& [key, value] : tarvo::levelPlanKeys(plan))
            r.append(key + QLatin1Char('=') + value);
    }
    r.append(c.ChangesMade());
    return r;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    g_dir = new QTemporaryDir;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 64 * 1024)
        return 0;
    const QString in = g_dir->filePath(QStringLiteral("in.mwc"));
    const QString out = g_dir->filePath(QStringLiteral("out.mwc"));
    {
        QFile f(in);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return 0;
        f.write(reinterpret_cast<const char*>(data), qint64(size));
    }
    tarvo::Character first;
    if (!tarvo::applyProfile(first, in).ok())
        return 0;
    QString why;
    FUZZ_CHECK(tarvo::writeProfile(first, out, &why));
    tarvo::Character second;
    FUZZ_CHECK(tarvo::applyProfile(second, out).ok());
    FUZZ_CHECK(first.ChangesMade() == QLatin1String("No"));
    FUZZ_CHECK(record(first) == record(second));
    return 0;
}
