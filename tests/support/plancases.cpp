#include "plancases.h"

#include "ini/mdlVbNetIni.h"
#include "reftables.h"

#include <QDir>

#include <algorithm>
#include <random>

namespace tarvo::test {

namespace {

struct ClassChoice {
    QString name;
    int specialization = -1, favourite1 = -1, favourite2 = -1;
    QList<int> major, minor;
};

QList<ClassChoice> templateClasses() {
    QList<ClassChoice> out;
    const QDir dir(QStringLiteral(TARVO_SOURCE_DIR "/appfolder/Templates"));
    for (const QString& name : dir.entryList({QStringLiteral("*.M3T")}, QDir::Files, QDir::Name)) {
        const QString file = dir.filePath(name);
        const auto read = [&](const char* section, const QString& key) {
            return ReadIniValue(QLatin1String(section), key, QString(), file);
        };
        ClassChoice c;
        c.name = read("Two", QStringLiteral("iniClassName"));
        c.specialization = specializations().indexOf(read("Two", QStringLiteral("iniClass")));
        c.favourite1 = attributes().indexOf(read("Four", QStringLiteral("iniFavAtt1")));
        c.favourite2 = attributes().indexOf(read("Four", QStringLiteral("iniFavAtt2")));
        for (int k = 1; k <= 5; ++k) {
            c.major << skillOrder(read("FiveA", QStringLiteral("iniMjrSkill%1").arg(k)));
            c.minor << skillOrder(read("FiveB", QStringLiteral("iniMnrSkill%1").arg(k)));
        }
        out << c;
    }
    return out;
}

// Custom classes as a player might make them, the same every run.
QList<ClassChoice> customClasses(int count) {
    std::mt19937 random(20240601);
    QList<ClassChoice> out;
    for (int i = 0; i < count; ++i) {
        ClassChoice c;
        c.name = QStringLiteral("Custom %1").arg(i + 1);
        c.specialization = int(random() % 3);
        c.favourite1 = int(random() % kAttributeCount);
        do
            c.favourite2 = int(random() % kAttributeCount);
        while (c.favourite2 == c.favourite1);
        QList<int> order;
        for (int s = 0; s < kSkillCount; ++s)
            order << s;
        std::shuffle(order.begin(), order.end(), random);
        c.major = order.mid(0, 5);
        c.minor = order.mid(5, 5);
        out << c;
    }
    return out;
}

} // namespace

QList<PlanCase> optimiserCases() {
    const QList<ClassChoice> classes = templateClasses() + customClasses(20);
    QList<PlanCase> cases;
    AttributeValues allButLuck{};
    allButLuck.fill(100);
    allButLuck[7] = kLeaveAsIs;
    for (int ci = 0; ci < classes.size(); ++ci) {
        const ClassChoice& k = classes[ci];
        for (int race = 0; race < races().size(); ++race) {
            PlanCase base;
            SheetChoices& c = base.choices;
            c.race = race;
            c.gender = (ci + race) % 2;
            c.birthsign = (ci * 10 + race) % int(birthsigns().size());
            c.specialization = k.specialization;
            c.favourite1 = k.favourite1;
            c.favourite2 = k.favourite2;
            c.major = k.major;
            c.minor = k.minor;
            const QString who = QStringLiteral("%1, %2 %3, %4")
                                    .arg(k.name, races()[race], genders()[c.gender].toLower(),
                                         birthsigns()[c.birthsign]);
            PlanCase favourites = base;
            favourites.name = who + QStringLiteral(": favourites and majors' governors");
            favourites.plan.targets = defaultTargets(computeSheet(c));
            PlanCase all = base;
            all.name = who + QStringLiteral(": all but Luck");
            all.plan.targets = allButLuck;
            cases << favourites << all;
            // Without Acrobatics, Athletics and a school of magic, for one race
            // of each class.
            if (race == ci % races().size()) {
                PlanCase without = all;
                without.name = who + QStringLiteral(": all but Luck, three skills left out");
                for (const char* skill : {"Acrobatics", "Athletics", "Mysticism"})
                    without.plan.excluded[size_t(skillOrder(QLatin1String(skill)))] = true;
                cases << without;
            }
        }
    }
    return cases;
}

namespace {

// The fewest picks that give need points with room increases of the skills.
int fewestPicks(int need, int room, bool luck) {
    if (need <= 0)
        return 0;
    if (luck)
        return need;
    for (int m = 1; m < need; ++m)
        for (int x5 = 0; x5 <= m && 10 * x5 <= room; ++x5)
            for (int x4 = 0; x5 + x4 <= m && 10 * x5 + 8 * x4 <= room; ++x4)
                for (int x3 = 0; x5 + x4 + x3 <= m && 10 * x5 + 8 * x4 + 5 * x3 <= room; ++x3) {
                    const int left = m - x5 - x4 - x3;
                    const int x2 = std::min(left, room - 10 * x5 - 8 * x4 - 5 * x3);
                    if (5 * x5 + 4 * x4 + 3 * x3 + 2 * x2 + (left - x2) >= need)
                        return m;
                }
    return need;
}

} // namespace

int levelUpLowerBound(const CharacterSheet& sheet, const LevelPlan& plan) {
    const GameRules& rules = GameRules::builtIn();
    const AttributeValues targets = planTargets(plan, sheet, rules);
    AttributeValues room{};
    int majorMinorRoom = 0;
    for (int s = 0; s < kSkillCount; ++s) {
        if (plan.excluded[size_t(s)])
            continue;
        room[size_t(rules.governing[size_t(s)])] += 100 - sheet.skills[size_t(s)];
        if (sheet.majorOrMinor(s))
            majorMinorRoom += 100 - sheet.skills[size_t(s)];
    }
    int total = 0, longest = 0;
    for (int a = 0; a < kAttributeCount; ++a) {
        if (targets[size_t(a)] == kLeaveAsIs)
            continue;
        const int picks =
            fewestPicks(std::min(targets[size_t(a)], 100) - sheet.attributes[size_t(a)],
                        room[size_t(a)], a == 7);
        total += picks;
        longest = std::max(longest, picks);
    }
    const int levels = std::max(longest, (total + 2) / 3);
    return levels * 10 > majorMinorRoom ? -1 : levels;
}

} // namespace tarvo::test
