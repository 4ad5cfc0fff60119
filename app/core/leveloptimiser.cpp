#include "leveloptimiser.h"

#include "reftables.h"

#include <algorithm>
#include <optional>
#include <vector>

// Why the plan is the shortest possible.
//
// At a level-up an attribute is picked at most once and gains at most what
// the multiplier table gives for its skills' increases since the last
// level-up; those increases come out of the room its governing skills have
// left below the skill cap. So an attribute that needs P points with R
// increases of room needs at least m(P, R) picks, the fewest bonuses whose
// sum is P or more and whose counts fit in R (minSlots, exact by dynamic
// programming). With three picks a level, any plan needs
//     K = max(largest m, ceil(sum of m / 3))
// level-ups. K is also enough: the picks of each attribute are laid out one
// after the other over K levels, wrapping round (no attribute twice in a
// level, as none needs more than K), and the levels' order does not change
// where an attribute ends, as its bonuses only add up to its cap. Each level
// also needs ten increases of major or minor skills, and increases past the
// tenth count towards the next level: a level short of them takes the rest
// from major or minor skills whose attribute has room to spare (their counts
// do not matter when the attribute is not picked). As every such increase
// counts towards some level, the K levels can be had exactly when the major
// and minor skills have room for 10 x K increases (less what is carried).

namespace tarvo {

namespace {

struct Slot {
    int attribute;
    int count; // increases of its skills planned for the bonus
    int bonus;
};

// The fewest picks that raise attribute a by need points with at most room
// increases of its skills, each with the fewest increases; none when no
// number of picks can.
std::optional<QList<Slot>> minSlots(const LevellingRules& lv, int a, int need, int room) {
    if (need <= 0)
        return QList<Slot>();
    struct Option {
        int count, bonus;
    };
    std::vector<Option> options;
    if (a == lv.luckAttribute) {
        options.push_back({0, lv.luckBonus});
    } else {
        // Only a count that gives more than every smaller count is worth it.
        int best = 0;
        for (int n = 0; n <= lv.highestCount(); ++n)
            if (const int b = lv.bonusFor(a, n); b > best) {
                options.push_back({n, b});
                best = b;
            }
    }
    if (options.empty() || options.back().bonus <= 0)
        return std::nullopt;
    constexpr int kNone = 1 << 29;
    // cost[p]: the fewest increases with m picks for p points or more;
    // choice[m][p]: the option the m-th pick takes.
    std::vector<int> cost(size_t(need) + 1, kNone), next(size_t(need) + 1);
    std::vector<std::vector<unsigned char>> choice(1);
    cost[0] = 0;
    for (int m = 1; m <= need; ++m) {
        choice.emplace_back(size_t(need) + 1, 0);
        for (int p = 0; p <= need; ++p) {
            next[size_t(p)] = kNone;
            for (size_t o = 0; o < options.size(); ++o) {
                const int before = cost[size_t(std::max(0, p - options[o].bonus))];
                if (before < kNone && before + options[o].count < next[size_t(p)]) {
                    next[size_t(p)] = before + options[o].count;
                    choice[size_t(m)][size_t(p)] = static_cast<unsigned char>(o);
                }
            }
        }
        cost.swap(next);
        if (cost[size_t(need)] <= room) {
            QList<Slot> chosen;
            for (int k = m, p = need; k > 0; --k) {
                const Option& o = options[choice[size_t(k)][size_t(p)]];
                chosen << Slot{a, o.count, o.bonus};
                p = std::max(0, p - o.bonus);
            }
            std::sort(chosen.begin(), chosen.end(),
                      [](const Slot& x, const Slot& y) { return x.bonus > y.bonus; });
            return chosen;
        }
    }
    return std::nullopt;
}

class Planner {
public:
    Planner(const CharacterSheet& sheet, const LevelPlan& plan, const AttributeValues& targets,
            const GameRules& rules, const LevelOutcome* from)
        : m_rules(rules), m_lv(rules.levelling), m_sheet(sheet), m_excluded(plan.excluded),
          m_targets(targets), m_value(from ? from->attributes : sheet.attributes),
          m_skill(from ? from->skills : sheet.skills), m_carry(from ? from->carried : 0) {
        for (int a = 0; a < kAttributeCount; ++a)
            m_targets[size_t(a)] = std::min(m_targets[size_t(a)], m_lv.attributeCap);
    }

    // Lays the targets' picks out over the fewest levels; their number, or
    // -1 when the targets cannot be met.
    int schedule();
    // The next levels, at most count of them; fewer when the major and minor
    // skills can give no further level-up.
    QList<PlannedLevel> run(int count);

    int majorMinorRoom() const {
        int room = 0;
        for (int s = 0; s < kSkillCount; ++s)
            if (m_sheet.majorOrMinor(s) && !m_excluded[size_t(s)])
                room += std::max(0, m_lv.skillCap - m_skill[size_t(s)]);
        return room;
    }
    int carried() const { return m_carry; }

private:
    int room(int s) const {
        return m_excluded[size_t(s)] ? 0 : std::max(0, m_lv.skillCap - m_skill[size_t(s)]);
    }
    int attributeRoom(int a) const {
        int r = 0;
        for (int s = 0; s < kSkillCount; ++s)
            if (m_rules.governing[size_t(s)] == a)
                r += room(s);
        return r;
    }
    bool unmet(int a) const { return m_value[size_t(a)] < m_targets[size_t(a)]; }
    // The fewest increases that give a at least gain.
    int countFor(int a, int gain) const {
        for (int n = 0; n <= m_lv.highestCount(); ++n)
            if (m_lv.bonusFor(a, n) >= gain)
                return n;
        return m_lv.highestCount();
    }
    // Raises a's skills n times in level (major and minor ones first, the
    // one with the most room first); what they cannot take is dropped.
    void raise(PlannedLevel& level, int a, int n);
    // Adds increases of major and minor skills to level until the level-up
    // has its ten; false when no skill can take them.
    bool completeLevel(PlannedLevel& level, int missing, const AttributeValues& reserved);

    const GameRules& m_rules;
    const LevellingRules& m_lv;
    const CharacterSheet& m_sheet;
    std::array<bool, kSkillCount> m_excluded;
    AttributeValues m_targets, m_value;
    SkillValues m_skill;
    int m_carry;
    QList<QList<Slot>> m_levels; // the targets' picks, level by level
};

int Planner::schedule() {
    QList<QList<Slot>> perAttribute;
    int total = 0, longest = 0;
    for (int a = 0; a < kAttributeCount; ++a) {
        if (m_targets[size_t(a)] == kLeaveAsIs || !unmet(a))
            continue;
        const auto chosen =
            minSlots(m_lv, a, m_targets[size_t(a)] - m_value[size_t(a)], attributeRoom(a));
        if (!chosen || m_lv.picksPerLevel <= 0)
            return -1;
        perAttribute << *chosen;
        total += int(chosen->size());
        longest = std::max(longest, int(chosen->size()));
    }
    const int picks = std::max(1, m_lv.picksPerLevel);
    const int levels = std::max(longest, (total + picks - 1) / picks);
    if (levels * m_lv.levelupTotal > majorMinorRoom() + m_carry)
        return -1;
    std::stable_sort(
        perAttribute.begin(), perAttribute.end(),
        [](const QList<Slot>& x, const QList<Slot>& y) { return x.size() > y.size(); });
    m_levels = QList<QList<Slot>>(levels);
    int position = 0;
    for (const QList<Slot>& chosen : std::as_const(perAttribute))
        for (const Slot& slot : chosen)
            m_levels[position++ % levels] << slot;
    // The levels with the most increases first: their major and minor
    // increases carry towards the later ones.
    const auto cost = [](const QList<Slot>& l) {
        int c = 0;
        for (const Slot& s : l)
            c += s.count;
        return c;
    };
    std::stable_sort(m_levels.begin(), m_levels.end(),
                     [&](const QList<Slot>& x, const QList<Slot>& y) { return cost(x) > cost(y); });
    return levels;
}

void Planner::raise(PlannedLevel& level, int a, int n) {
    QList<int> order;
    for (int s = 0; s < kSkillCount; ++s)
        if (m_rules.governing[size_t(s)] == a && room(s) > 0)
            order << s;
    std::stable_sort(order.begin(), order.end(), [&](int x, int y) {
        if (m_sheet.majorOrMinor(x) != m_sheet.majorOrMinor(y))
            return m_sheet.majorOrMinor(x);
        return room(x) > room(y);
    });
    for (int s : std::as_const(order)) {
        if (n <= 0)
            break;
        const int take = std::min(n, room(s));
        level.increases[size_t(s)] += take;
        m_skill[size_t(s)] += take;
        n -= take;
    }
}

bool Planner::completeLevel(PlannedLevel& level, int missing, const AttributeValues& reserved) {
    // First from attributes that are not picked (their counts do not
    // matter), then from picked ones (a larger count only helps), each
    // keeping the room its later picks need; last from any room left.
    for (int pass = 0; pass < 3 && missing > 0; ++pass) {
        QList<int> order;
        for (int s = 0; s < kSkillCount; ++s)
            if (m_sheet.majorOrMinor(s) && room(s) > 0)
                order << s;
        const auto spare = [&](int s) {
            const int a = m_rules.governing[size_t(s)];
            return pass == 2 ? room(s) : attributeRoom(a) - reserved[size_t(a)];
        };
        std::stable_sort(order.begin(), order.end(),
                         [&](int x, int y) { return spare(x) > spare(y); });
        for (int s : std::as_const(order)) {
            const int a = m_rules.governing[size_t(s)];
            if (pass == 0 && level.picks[size_t(a)])
                continue;
            const int take = std::min({missing, room(s), std::max(0, spare(s))});
            level.increases[size_t(s)] += take;
            m_skill[size_t(s)] += take;
            missing -= take;
            if (missing == 0)
                break;
        }
    }
    return missing <= 0;
}

QList<PlannedLevel> Planner::run(int count) {
    QList<PlannedLevel> out;
    const int picks = std::max(0, m_lv.picksPerLevel);
    for (int i = 0; i < count; ++i) {
        AttributeValues reserved{};
        for (int j = i + 1; j < m_levels.size(); ++j)
            for (const Slot& slot : m_levels[j])
                reserved[size_t(slot.attribute)] += slot.count;
        PlannedLevel level;
        AttributeValues planned{};
        const SkillValues before = m_skill;

        // The targets' picks of this level.
        if (i < m_levels.size())
            for (const Slot& slot : m_levels[i]) {
                const int a = slot.attribute;
                if (!unmet(a) || m_value[size_t(a)] >= m_lv.attributeCap)
                    continue;
                const int gain = std::min(slot.bonus, m_targets[size_t(a)] - m_value[size_t(a)]);
                level.picks[size_t(a)] = true;
                planned[size_t(a)] = std::min(countFor(a, gain),
                                              std::max(0, attributeRoom(a) - reserved[size_t(a)]));
            }
        // The other picks: the largest bonus the room to spare allows; on a
        // tie, an attribute below its target, then the one furthest below
        // the cap.
        for (;;) {
            const int below = int(std::count_if(m_value.begin(), m_value.end(),
                                                [&](int v) { return v < m_lv.attributeCap; }));
            if (level.pickCount() >= std::min(picks, below))
                break;
            int best = -1, bestGain = 0, bestCount = 0;
            for (int a = 0; a < kAttributeCount; ++a) {
                if (level.picks[size_t(a)] || m_value[size_t(a)] >= m_lv.attributeCap)
                    continue;
                const int budget = std::min(m_lv.highestCount(),
                                            std::max(0, attributeRoom(a) - reserved[size_t(a)]));
                int gain = 0, n = 0;
                for (int c = 0; c <= budget; ++c)
                    if (const int g =
                            std::min(m_lv.bonusFor(a, c), m_lv.attributeCap - m_value[size_t(a)]);
                        g > gain) {
                        gain = g;
                        n = c;
                    }
                const auto key = [&](int x, int g) {
                    return std::tuple(g, unmet(x), m_lv.attributeCap - m_value[size_t(x)]);
                };
                if (best < 0 || key(a, gain) > key(best, bestGain)) {
                    best = a;
                    bestGain = gain;
                    bestCount = n;
                }
            }
            if (best < 0)
                break;
            level.picks[size_t(best)] = true;
            planned[size_t(best)] = bestCount;
        }
        for (int a = 0; a < kAttributeCount; ++a)
            if (level.picks[size_t(a)] && planned[size_t(a)] > 0)
                raise(level, a, planned[size_t(a)]);

        // Ten increases of major and minor skills, counting those carried.
        int majorMinor = 0;
        for (int s = 0; s < kSkillCount; ++s)
            if (m_sheet.majorOrMinor(s))
                majorMinor += level.increases[size_t(s)];
        const int missing = m_lv.levelupTotal - m_carry - majorMinor;
        if (missing > 0 && !completeLevel(level, missing, reserved)) {
            m_skill = before;
            break;
        }

        // The level-up.
        AttributeValues counts{};
        majorMinor = 0;
        for (int s = 0; s < kSkillCount; ++s) {
            counts[size_t(m_rules.governing[size_t(s)])] += level.increases[size_t(s)];
            if (m_sheet.majorOrMinor(s))
                majorMinor += level.increases[size_t(s)];
        }
        m_carry = std::max(0, m_carry + majorMinor - m_lv.levelupTotal);
        for (int a = 0; a < kAttributeCount; ++a)
            if (level.picks[size_t(a)])
                m_value[size_t(a)] += std::min(m_lv.bonusFor(a, counts[size_t(a)]),
                                               m_lv.attributeCap - m_value[size_t(a)]);
        out << level;
    }
    return out;
}

} // namespace

OptimisedPlan optimiseLevels(const CharacterSheet& sheet, const LevelPlan& plan, int lastLevel,
                             int keepLevels, const GameRules& rules) {
    OptimisedPlan result;
    result.plan = plan;
    if (!sheet.complete()) {
        result.summary =
            QStringLiteral("The levels are planned once every choice of the character is made.");
        return result;
    }
    lastLevel = std::max(1, lastLevel);
    keepLevels = std::clamp(keepLevels, 0, std::min(int(plan.levels.size()), lastLevel - 1));
    result.plan.levels = plan.levels.mid(0, keepLevels);
    const AttributeValues targets = planTargets(plan, sheet, rules);
    const QList<LevelOutcome> kept = projectLevels(sheet, result.plan, rules);

    Planner planner(sheet, plan, targets, rules, kept.isEmpty() ? nullptr : &kept.last());
    result.fewestLevelUps = planner.schedule();
    const int wanted = lastLevel - 1 - keepLevels;
    const QList<PlannedLevel> levels = planner.run(wanted);
    result.plan.levels << levels;
    const bool stopped = levels.size() < wanted;
    while (result.plan.levels.size() < lastLevel - 1)
        result.plan.levels << PlannedLevel();

    const QList<LevelOutcome> outcome = projectLevels(sheet, result.plan, rules);
    result.reachedAt = targetsReachedAt(sheet, outcome, targets);
    result.valid = std::all_of(outcome.begin() + keepLevels, outcome.end(),
                               [](const LevelOutcome& o) { return o.warnings.isEmpty(); });

    const int from = keepLevels + 1; // the level the plan starts from
    const int earliest = result.fewestLevelUps < 0 ? 0 : from + result.fewestLevelUps;
    QStringList summary;
    if (std::all_of(targets.begin(), targets.end(), [](int t) { return t == kLeaveAsIs; }))
        summary << QStringLiteral("No targets set: the plan raises the attributes as far as it "
                                  "can.");
    else if (result.fewestLevelUps < 0)
        summary << QStringLiteral(
                       "The targets cannot all be met: the skills they need, or the major and "
                       "minor skills that give each level-up, do not have room enough.")
                << (result.reachedAt ? QString()
                                     : QStringLiteral("The plan raises them as far as it can."));
    else if (result.reachedAt && result.reachedAt <= from)
        summary << QStringLiteral("The targets are met at level %1 already; the plan raises the "
                                  "rest.")
                       .arg(result.reachedAt);
    else if (result.reachedAt && result.reachedAt <= earliest)
        summary << QStringLiteral("The plan meets the targets at level %1, the earliest possible.")
                       .arg(result.reachedAt);
    else if (result.reachedAt)
        summary << QStringLiteral("The plan meets the targets at level %1 (level %2 at the "
                                  "earliest).")
                       .arg(result.reachedAt)
                       .arg(earliest);
    else if (earliest > kHighestPlannedLevel)
        summary << QStringLiteral("The targets can be met at level %1 at the earliest, past the "
                                  "last level the planner shows (%2).")
                       .arg(earliest)
                       .arg(kHighestPlannedLevel);
    else
        summary << QStringLiteral("The targets can be met at level %1 at the earliest: plan up "
                                  "to that level to see how.")
                       .arg(earliest);
    if (stopped)
        summary << QStringLiteral("After level %1 the major and minor skills have no room for "
                                  "another level-up.")
                       .arg(keepLevels + 1 + int(levels.size()));
    summary.removeAll(QString());
    result.summary = summary.join(QLatin1Char(' '));
    return result;
}

} // namespace tarvo
