#include "levelplan.h"

#include "reftables.h"

#include <algorithm>

namespace tarvo {

namespace {

constexpr int kEndurance = 5;

QString numberWord(int n) {
    static const QStringList words = {"no",  "one",   "two",   "three", "four", "five",
                                      "six", "seven", "eight", "nine",  "ten"};
    return n >= 0 && n < words.size() ? words[n] : QString::number(n);
}

QString times(int n) {
    return n == 1 ? QStringLiteral("once") : QStringLiteral("%1 times").arg(n);
}

} // namespace

bool PlannedLevel::isEmpty() const {
    return luckIncreases == 0 &&
           std::all_of(picks.begin(), picks.end(), [](bool p) { return !p; }) &&
           std::all_of(increases.begin(), increases.end(), [](int n) { return n == 0; });
}

int PlannedLevel::pickCount() const {
    return int(std::count(picks.begin(), picks.end(), true));
}

bool LevelPlan::isEmpty() const {
    return !targets && std::none_of(excluded.begin(), excluded.end(), [](bool e) { return e; }) &&
           std::all_of(levels.begin(), levels.end(),
                       [](const PlannedLevel& l) { return l.isEmpty(); });
}

int levelUpBonus(int attribute, int increases) {
    return currentRules().levelling.bonusFor(attribute, increases);
}

AttributeValues defaultTargets(const CharacterSheet& sheet, const GameRules& rules) {
    AttributeValues t{};
    t.fill(kLeaveAsIs);
    for (int f : sheet.favourites)
        t[size_t(f)] = rules.levelling.attributeCap;
    for (const auto& v : sheet.major)
        if (v.attribute >= 0 && v.attribute < kAttributeCount)
            t[size_t(v.attribute)] = rules.levelling.attributeCap;
    return t;
}

AttributeValues planTargets(const LevelPlan& plan, const CharacterSheet& sheet,
                            const GameRules& rules) {
    return plan.targets ? *plan.targets : defaultTargets(sheet, rules);
}

QList<LevelOutcome> projectLevels(const CharacterSheet& sheet, const LevelPlan& plan,
                                  const GameRules& rules) {
    QList<LevelOutcome> out;
    if (!sheet.complete())
        return out;
    const LevellingRules& lv = rules.levelling;
    AttributeValues now = sheet.attributes;
    SkillValues skill = sheet.skills;
    int tenths = sheet.health * 10;
    int carry = 0;
    out.reserve(plan.levels.size());
    for (int i = 0; i < plan.levels.size(); ++i) {
        const PlannedLevel& level = plan.levels[i];
        const bool planned = !level.isEmpty();
        LevelOutcome o;
        o.level = i + 2;
        for (int s = 0; s < kSkillCount; ++s) {
            const int n = level.increases[size_t(s)];
            if (n <= 0)
                continue;
            const QString& name = skills()[s];
            if (plan.excluded[size_t(s)])
                o.warnings << QStringLiteral("%1 is left out of training, but this level raises "
                                             "it.")
                                  .arg(name);
            const int room = std::max(0, lv.skillCap - skill[size_t(s)]);
            const int counted = std::min(n, room);
            if (counted < n)
                o.warnings << (room == 0 ? QStringLiteral("%1 is already at %2: raising it %3 "
                                                          "counts for nothing.")
                                               .arg(name)
                                               .arg(lv.skillCap)
                                               .arg(times(n))
                                         : QStringLiteral("%1 can rise only %2 more to reach %3: "
                                                          "%4 of the %5 increases count.")
                                               .arg(name)
                                               .arg(room)
                                               .arg(lv.skillCap)
                                               .arg(counted)
                                               .arg(n));
            skill[size_t(s)] += counted;
            const int a = rules.governing[size_t(s)];
            if (a >= 0 && a < kAttributeCount)
                o.increases[size_t(a)] += counted;
            if (sheet.majorOrMinor(s))
                o.majorMinor += counted;
        }
        if (level.luckIncreases > 0)
            o.warnings << QStringLiteral("%1 typed against %2, which governs no skill: %2 "
                                         "rises by %3 whatever is raised.")
                              .arg(
                                  level.luckIncreases == 1
                                      ? QStringLiteral("1 increase is")
                                      : QStringLiteral("%1 increases are").arg(level.luckIncreases))
                              .arg(attributes()[lv.luckAttribute])
                              .arg(lv.luckBonus);
        const int progress = carry + o.majorMinor;
        if (planned && progress < lv.levelupTotal)
            o.warnings << QStringLiteral("A level-up needs %1 increases of major or minor "
                                         "skills: this level has %2%3.")
                              .arg(lv.levelupTotal)
                              .arg(o.majorMinor)
                              .arg(carry ? QStringLiteral(" and %1 carried over").arg(carry)
                                         : QString());
        carry = std::max(0, progress - lv.levelupTotal);
        o.carried = carry;

        const int below =
            int(std::count_if(now.begin(), now.end(), [&](int v) { return v < lv.attributeCap; }));
        const int picks = level.pickCount();
        if (picks > lv.picksPerLevel)
            o.warnings << QStringLiteral("Only %1 attributes can be raised at a level-up.")
                              .arg(numberWord(lv.picksPerLevel));
        else if (planned && picks < std::min(lv.picksPerLevel, below))
            o.warnings << QStringLiteral("The level-up asks for %1 attributes; %2 picked.")
                              .arg(numberWord(std::min(lv.picksPerLevel, below)))
                              .arg(picks == 0   ? QStringLiteral("none is")
                                   : picks == 1 ? QStringLiteral("one is")
                                                : numberWord(picks) + QStringLiteral(" are"));
        for (int a = 0; a < kAttributeCount; ++a) {
            if (!level.picks[size_t(a)])
                continue;
            if (now[size_t(a)] >= lv.attributeCap) {
                o.warnings << QStringLiteral("%1 is already at %2.")
                                  .arg(attributes()[a])
                                  .arg(lv.attributeCap);
                continue;
            }
            o.bonus[size_t(a)] =
                std::min(lv.bonusFor(a, o.increases[size_t(a)]), lv.attributeCap - now[size_t(a)]);
        }
        for (int a = 0; a < kAttributeCount; ++a)
            now[size_t(a)] += o.bonus[size_t(a)];
        tenths += now[kEndurance] * lv.healthTenthsPerEndurance;
        o.attributes = now;
        o.skills = skill;
        o.healthTenths = tenths;
        out << o;
    }
    return out;
}

int targetsReachedAt(const CharacterSheet& sheet, const QList<LevelOutcome>& levels,
                     const AttributeValues& targets) {
    const auto met = [&](const AttributeValues& v) {
        for (int a = 0; a < kAttributeCount; ++a)
            if (targets[size_t(a)] != kLeaveAsIs && v[size_t(a)] < targets[size_t(a)])
                return false;
        return true;
    };
    if (!sheet.complete())
        return 0;
    if (met(sheet.attributes))
        return 1;
    for (const LevelOutcome& o : levels)
        if (met(o.attributes))
            return o.level;
    return 0;
}

// --- stored form --------------------------------------------------------------
//
//   iniTargets=Strength:100,Intelligence:0,...   (all eight; 0 leaves one as is)
//   iniExcluded=Acrobatics,Alchemy
//   iniPlanLevels=3
//   iniPlan2=Strength,Endurance,Speed|Long Blade:10,Heavy Armour:10,Athletics:10
//
// Older versions stored iniLevels=3 and iniLevel2=Strength:10,Endurance:10,
// the increases per attribute.

namespace {

const QString kTargets = QStringLiteral("iniTargets");
const QString kExcluded = QStringLiteral("iniExcluded");
const QString kPlanLevels = QStringLiteral("iniPlanLevels");
const QString kOldLevels = QStringLiteral("iniLevels");

QString planKey(int level) {
    return QStringLiteral("iniPlan%1").arg(level);
}
QString oldKey(int level) {
    return QStringLiteral("iniLevel%1").arg(level);
}

int storedCount(const QString& text) {
    return std::clamp(text.trimmed().toInt(), 0, kHighestPlannedLevel - 1);
}

// "Name:number" -> the name's index in names and the number (-1 when not a
// whole number from 0 to limit).
std::pair<int, int> namedNumber(const QString& part, const QStringList& names, int limit) {
    const int colon = part.indexOf(QLatin1Char(':'));
    if (colon <= 0)
        return {-1, -1};
    bool ok = false;
    const int n = part.mid(colon + 1).trimmed().toInt(&ok);
    return {int(names.indexOf(part.left(colon).trimmed())), ok && n >= 0 ? std::min(n, limit) : -1};
}

PlannedLevel levelFromLine(const QString& line, const GameRules& rules) {
    PlannedLevel level;
    const int bar = line.indexOf(QLatin1Char('|'));
    for (const QString& name : line.left(bar).split(QLatin1Char(','), Qt::SkipEmptyParts))
        if (const int a = attributes().indexOf(name.trimmed()); a >= 0)
            level.picks[size_t(a)] = true;
    if (bar < 0)
        return level;
    for (const QString& part : line.mid(bar + 1).split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const int most = rules.levelling.skillCap; // from 0 to the cap within a level
        if (const auto [s, n] = namedNumber(part, skills(), most); s >= 0 && n >= 0)
            level.increases[size_t(s)] = n;
        else if (const auto [a, m] = namedNumber(part, attributes(), most);
                 a == rules.levelling.luckAttribute && m >= 0)
            level.luckIncreases = m;
    }
    return level;
}

QString lineOf(const PlannedLevel& level, const GameRules& rules) {
    QStringList picks, raised;
    for (int a = 0; a < kAttributeCount; ++a)
        if (level.picks[size_t(a)])
            picks << attributes()[a];
    for (int s = 0; s < kSkillCount; ++s)
        if (level.increases[size_t(s)] > 0)
            raised << QStringLiteral("%1:%2").arg(skills()[s]).arg(level.increases[size_t(s)]);
    if (level.luckIncreases > 0)
        raised << QStringLiteral("%1:%2")
                      .arg(attributes()[rules.levelling.luckAttribute])
                      .arg(level.luckIncreases);
    return picks.join(QLatin1Char(',')) + QLatin1Char('|') + raised.join(QLatin1Char(','));
}

// An older line: each attribute typed with the increases of the skills it
// governs. The attribute is picked and its increases go to its skills,
// major ones first, then minor, then miscellaneous, each up to its cap; what
// none can take stays on the first (and shows as past the cap).
PlannedLevel levelFromOldLine(const QString& line, const CharacterSheet& sheet, SkillValues& value,
                              const GameRules& rules) {
    PlannedLevel level;
    const LevellingRules& lv = rules.levelling;
    for (const QString& part : line.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const auto [a, n] = namedNumber(part, attributes(), lv.skillCap);
        if (a < 0 || n < 0)
            continue;
        level.picks[size_t(a)] = true;
        if (a == lv.luckAttribute) {
            level.luckIncreases = n;
            continue;
        }
        QList<int> governed;
        for (auto g : {CharacterSheet::Group::Major, CharacterSheet::Group::Minor,
                       CharacterSheet::Group::Misc})
            for (int s = 0; s < kSkillCount; ++s)
                if (rules.governing[size_t(s)] == a && sheet.group[size_t(s)] == g &&
                    !governed.contains(s))
                    governed << s;
        int left = n;
        for (int s : std::as_const(governed)) {
            const int take = std::min(left, std::max(0, lv.skillCap - value[size_t(s)]));
            level.increases[size_t(s)] += take;
            value[size_t(s)] += take;
            left -= take;
        }
        if (left > 0 && !governed.isEmpty()) {
            int& first = level.increases[size_t(governed.first())];
            first = std::min(first + left, lv.skillCap);
            value[size_t(governed.first())] += left;
        }
    }
    return level;
}

} // namespace

QList<QPair<QString, QString>> levelPlanKeys(const LevelPlan& plan) {
    const GameRules& rules = currentRules();
    QList<QPair<QString, QString>> keys;
    if (plan.targets) {
        QStringList parts;
        for (int a = 0; a < kAttributeCount; ++a)
            parts << QStringLiteral("%1:%2").arg(attributes()[a]).arg((*plan.targets)[size_t(a)]);
        keys.append({kTargets, parts.join(QLatin1Char(','))});
    }
    QStringList excluded;
    for (int s = 0; s < kSkillCount; ++s)
        if (plan.excluded[size_t(s)])
            excluded << skills()[s];
    if (!excluded.isEmpty())
        keys.append({kExcluded, excluded.join(QLatin1Char(','))});
    if (!plan.levels.isEmpty()) {
        keys.append({kPlanLevels, QString::number(plan.levels.size())});
        for (int i = 0; i < plan.levels.size(); ++i)
            keys.append({planKey(i + 2), lineOf(plan.levels[i], rules)});
    }
    return keys;
}

QHash<QString, QString> readLevelPlanKeys(const std::function<QString(const QString&)>& read) {
    QHash<QString, QString> keys;
    for (const QString& key : {kTargets, kExcluded, kPlanLevels, kOldLevels})
        keys.insert(key, read(key));
    for (int level = 2; level < storedCount(keys[kPlanLevels]) + 2; ++level)
        keys.insert(planKey(level), read(planKey(level)));
    if (keys[kPlanLevels].isEmpty())
        for (int level = 2; level < storedCount(keys[kOldLevels]) + 2; ++level)
            keys.insert(oldKey(level), read(oldKey(level)));
    return keys;
}

LevelPlan levelPlanFromKeys(const QHash<QString, QString>& keys, const CharacterSheet& sheet,
                            const GameRules& rules) {
    LevelPlan plan;
    const QString targets = keys.value(kTargets);
    for (const QString& part : targets.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const auto [a, n] = namedNumber(part, attributes(), rules.levelling.attributeCap);
        if (a < 0 || n < 0)
            continue;
        if (!plan.targets) {
            plan.targets = AttributeValues{};
            plan.targets->fill(kLeaveAsIs);
        }
        (*plan.targets)[size_t(a)] = n;
    }
    for (const QString& name : keys.value(kExcluded).split(QLatin1Char(','), Qt::SkipEmptyParts))
        if (const int s = skills().indexOf(name.trimmed()); s >= 0)
            plan.excluded[size_t(s)] = true;
    if (!keys.value(kPlanLevels).isEmpty()) {
        for (int level = 2; level < storedCount(keys.value(kPlanLevels)) + 2; ++level)
            plan.levels << levelFromLine(keys.value(planKey(level)), rules);
        return plan;
    }
    SkillValues value = sheet.skills;
    for (int level = 2; level < storedCount(keys.value(kOldLevels)) + 2; ++level)
        plan.levels << levelFromOldLine(keys.value(oldKey(level)), sheet, value, rules);
    return plan;
}

} // namespace tarvo
