#include "autoselect.h"

#include "character.h"
#include "reftables.h"

#include <QStringList>

#include <array>
#include <vector>

namespace tarvo {

namespace {

// Lists per specialization, in the order Combat, Magic, Stealth.
using Suggestions = std::array<QStringList, 3>;

const Suggestions& raceSuggestions() {
    static const Suggestions s = {QStringList{"Imperial", "Nord", "Orc", "Redguard"},
                                  QStringList{"Breton", "High Elf", "Dark Elf"},
                                  QStringList{"Argonian", "Dark Elf", "Khajit", "Wood Elf"}};
    return s;
}

const Suggestions& birthsignSuggestions() {
    static const Suggestions s = {QStringList{"The Ritual", "The Warrior", "The Lady", "The Lover"},
                                  QStringList{"The Mage", "The Apprentice", "The Atronach"},
                                  QStringList{"The Thief", "The Shadow", "The Tower", "The Steed"}};
    return s;
}

// One favourite attribute to set: group One (true) or Two, and the attribute.
struct AttPick {
    bool first;
    const char* attribute;
};
// Each suggestion sets both attributes, in the order given.
using AttSuggestion = std::array<AttPick, 2>;

const std::array<std::vector<AttSuggestion>, 3>& favAttSuggestions() {
    static const std::array<std::vector<AttSuggestion>, 3> s = {
        std::vector<AttSuggestion>{{{{true, "Strength"}, {false, "Endurance"}}},
                                   {{{false, "Strength"}, {true, "Endurance"}}}},
        std::vector<AttSuggestion>{{{{false, "Willpower"}, {true, "Intelligence"}}},
                                   {{{true, "Intelligence"}, {false, "Personality"}}},
                                   {{{true, "Willpower"}, {false, "Personality"}}}},
        std::vector<AttSuggestion>{{{{true, "Agility"}, {false, "Speed"}}},
                                   {{{true, "Agility"}, {false, "Intelligence"}}},
                                   {{{true, "Intelligence"}, {false, "Speed"}}}}};
    return s;
}

// The five skills checked in the major and the minor list.
struct SkillSets {
    QStringList major;
    QStringList minor;
};

const std::array<SkillSets, 3>& skillSuggestions() {
    static const std::array<SkillSets, 3> s = {
        SkillSets{{"Heavy Armour", "Long Blade", "Athletics", "Short Blade", "Block"},
                  {"Sneak", "Blunt Weapon", "Security", "Mysticism", "Armourer"}},
        SkillSets{{"Destruction", "Alteration", "Restoration", "Mysticism", "Conjuration"},
                  {"Illusion", "Enchant", "Alchemy", "Unarmoured", "Speechcraft"}},
        SkillSets{{"Light Armour", "Sneak", "Security", "Short Blade", "Marksman"},
                  {"Illusion", "Acrobatics", "Athletics", "Speechcraft", "Alteration"}}};
    return s;
}

// Moves a cycle counter on from position pos of a list of count entries.
void advance(int& counter, int pos, int count) {
    counter = (pos == count - 1) ? 0 : pos + 1;
}

// The skill procedures: each name checks the first item of exactly that
// text; a name the list lacks is skipped.
void checkSkills(Character& c, bool major, const QStringList& names) {
    for (const QString& name : names)
        c.checkSkillByName(major, name);
}

} // namespace

AutoSelector::Outcome AutoSelector::click(Character& c, int index) {
    if (c.Class().isEmpty())
        return Outcome::NoClass;
    switch (index) {
    case 0:
        return AutoSelect(c, QStringLiteral("Race"));
    case 1:
        return AutoSelect(c, QStringLiteral("FavAtts"));
    case 2:
        return AutoSelect(c, QStringLiteral("Skills"));
    case 3:
        return AutoSelect(c, QStringLiteral("Birthsign"));
    default:
        return Outcome::Done;
    }
}

AutoSelector::Outcome AutoSelector::AutoSelect(Character& c, const QString& task) {
    // A specialization other than the three selects nothing.
    const int spec = specializations().indexOf(c.Class());
    if (spec < 0)
        return Outcome::Done;

    // The counters are shared by the specializations, whose lists differ in
    // length: a position the current list lacks selects nothing and leaves
    // the counter where it is.
    if (task == QLatin1String("Race")) {
        const QStringList& list = raceSuggestions()[size_t(spec)];
        const int pos = RaceCycle;
        if (pos < 0 || pos >= list.size())
            return Outcome::Done;
        c.chooseRace(races().indexOf(list[pos]));
        advance(RaceCycle, pos, int(list.size()));
    } else if (task == QLatin1String("FavAtts")) {
        const auto& list = favAttSuggestions()[size_t(spec)];
        const int pos = FavAttCycle;
        if (pos < 0 || pos >= int(list.size()))
            return Outcome::Done;
        for (const AttPick& pick : list[size_t(pos)]) {
            const int i = attributes().indexOf(QLatin1String(pick.attribute));
            if (pick.first)
                c.chooseFavAtt1(i);
            else
                c.chooseFavAtt2(i);
        }
        advance(FavAttCycle, pos, int(list.size()));
    } else if (task == QLatin1String("Birthsign")) {
        const QStringList& list = birthsignSuggestions()[size_t(spec)];
        const int pos = BirthsignCycle;
        if (pos < 0 || pos >= list.size())
            return Outcome::Done;
        c.chooseBirthsign(birthsigns().indexOf(list[pos]));
        advance(BirthsignCycle, pos, int(list.size()));
    } else if (task == QLatin1String("Skills")) {
        // The list on show decides.
        const bool major = c.skillFrame() == 0;
        if (c.checkedCount(major) != 0)
            return major ? Outcome::MajorAlreadySet : Outcome::MinorAlreadySet;
        const SkillSets& sets = skillSuggestions()[size_t(spec)];
        checkSkills(c, major, major ? sets.major : sets.minor);
    }
    return Outcome::Done;
}

} // namespace tarvo
