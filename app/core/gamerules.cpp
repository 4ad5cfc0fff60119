#include "gamerules.h"

#include "levelplan.h"
#include "reftables.h"

#include <algorithm>
#include <cmath>

namespace tarvo {

namespace {

enum Attr { Str, Int, Wil, Agi, Spd, End, Per, Lck };

bool validIndex(int i, int size) {
    return i >= 0 && i < size;
}

// The attributes and Health level by level (the chart's numbers), level 1
// first: a Markdown table, or columns padded with blanks.
QStringList levelTable(const CharacterSheet& s, const QList<LevelOutcome>& levels, bool markdown) {
    QStringList header{QStringLiteral("Level")};
    header << attributes() << QStringLiteral("Health");
    QList<QStringList> rows;
    const auto row = [&](int level, const AttributeValues& values, int health) {
        QStringList r{QString::number(level)};
        for (int v : values)
            r << QString::number(v);
        r << QString::number(health);
        rows << r;
    };
    row(1, s.attributes, s.health);
    for (const LevelOutcome& o : levels)
        row(o.level, o.attributes, o.health());
    QStringList out;
    if (markdown) {
        out << QStringLiteral("| ") + header.join(QStringLiteral(" | ")) + QStringLiteral(" |");
        out << QStringLiteral("|") + QStringLiteral("---:|").repeated(header.size());
        for (const QStringList& r : rows)
            out << QStringLiteral("| ") + r.join(QStringLiteral(" | ")) + QStringLiteral(" |");
        return out;
    }
    const auto line = [&](const QStringList& cells) {
        QString text = QStringLiteral(" ");
        for (int i = 0; i < cells.size(); ++i)
            text += QLatin1Char(' ') + cells[i].rightJustified(header[i].size());
        return text;
    };
    out << line(header);
    for (const QStringList& r : rows)
        out << line(r);
    return out;
}

} // namespace

QString specialKindName(Special::Kind kind) {
    using K = Special::Kind;
    switch (kind) {
    case K::Ability:
        return QStringLiteral("Ability");
    case K::Power:
        return QStringLiteral("Power");
    case K::Spell:
        return QStringLiteral("Spell");
    case K::Weakness:
        return QStringLiteral("Weakness");
    }
    return {};
}

AttributeValues raceAttributes(int race, int gender) {
    const GameRules& r = currentRules();
    if (!validIndex(race, int(r.races.size())) || !validIndex(gender, 2))
        return {};
    return r.races[race].attributes[size_t(gender)];
}

int raceSkillBonus(int race, int skill) {
    const GameRules& r = currentRules();
    if (!validIndex(race, int(r.races.size())) || !validIndex(skill, kSkillCount))
        return 0;
    return r.races[race].skillBonus[size_t(skill)];
}

AttributeValues birthsignFortify(int birthsign) {
    const GameRules& r = currentRules();
    return validIndex(birthsign, int(r.birthsigns.size())) ? r.birthsigns[birthsign].fortify
                                                           : AttributeValues{};
}

double raceMagickaBonus(int race) {
    const GameRules& r = currentRules();
    return validIndex(race, int(r.races.size())) ? r.races[race].magickaTenths / 10.0 : 0.0;
}

double birthsignMagickaBonus(int birthsign) {
    const GameRules& r = currentRules();
    return validIndex(birthsign, int(r.birthsigns.size()))
               ? r.birthsigns[birthsign].magickaTenths / 10.0
               : 0.0;
}

QList<Special> raceSpecials(int race) {
    const GameRules& r = currentRules();
    return validIndex(race, int(r.races.size())) ? r.races[race].specials : QList<Special>();
}

QList<Special> birthsignSpecials(int birthsign) {
    const GameRules& r = currentRules();
    return validIndex(birthsign, int(r.birthsigns.size())) ? r.birthsigns[birthsign].specials
                                                           : QList<Special>();
}

int governingAttribute(int skill) {
    return validIndex(skill, kSkillCount) ? currentRules().governing[size_t(skill)] : -1;
}

CharacterSheet computeSheet(const SheetChoices& c) {
    return computeSheet(c, currentRules());
}

CharacterSheet computeSheet(const SheetChoices& c, const GameRules& rules) {
    CharacterSheet s;
    if (!rules.origin.isEmpty()) {
        const RulesOrigin& o = rules.origin;
        s.origin.source = o.source;
        s.origin.notPlannable = o.notPlannable;
        for (const RulesNote& n : o.changes)
            if (n.concerns(c.race, c.gender, c.birthsign))
                s.origin.changes << n;
        for (const RulesNote& n : o.fallbacks)
            if (n.concerns(c.race, c.gender, c.birthsign))
                s.origin.fallbacks << n;
    }
    if (!validIndex(c.race, int(rules.races.size())))
        s.missing << QStringLiteral("Choose a race (step three).");
    if (!validIndex(c.gender, 2))
        s.missing << QStringLiteral("Choose a gender (step three).");
    if (c.specialization < 0)
        s.missing << QStringLiteral("Choose a class specialization (step two).");
    if (!validIndex(c.favourite1, kAttributeCount) || !validIndex(c.favourite2, kAttributeCount) ||
        c.favourite1 == c.favourite2)
        s.missing << QStringLiteral("Choose two favourite attributes (step four).");
    if (c.major.size() < 5)
        s.missing
            << QStringLiteral("Choose %1 more major skill(s) (step five).").arg(5 - c.major.size());
    if (c.minor.size() < 5)
        s.missing
            << QStringLiteral("Choose %1 more minor skill(s) (step five).").arg(5 - c.minor.size());
    if (!validIndex(c.birthsign, int(rules.birthsigns.size())))
        s.missing << QStringLiteral("Choose a birthsign (step six).");
    if (!s.complete())
        return s;

    const RaceRules& race = rules.races[c.race];
    const BirthsignRules& sign = rules.birthsigns[c.birthsign];
    s.favourites = {c.favourite1, c.favourite2};
    s.beforeBirthsign = race.attributes[size_t(c.gender)];
    for (int f : s.favourites)
        s.beforeBirthsign[size_t(f)] += rules.favouriteBonus;
    s.raceFortify = race.fortify;
    for (int a = 0; a < kAttributeCount; ++a) {
        s.fortify[size_t(a)] = race.fortify[size_t(a)] + sign.fortify[size_t(a)];
        s.attributes[size_t(a)] = s.beforeBirthsign[size_t(a)] + s.fortify[size_t(a)];
    }

    for (int skill = 0; skill < kSkillCount; ++skill) {
        int value = rules.miscSkillStart;
        QList<CharacterSheet::SkillValue>* group = &s.misc;
        CharacterSheet::Group g = CharacterSheet::Group::Misc;
        if (c.major.contains(skill)) {
            value = rules.majorSkillStart;
            group = &s.major;
            g = CharacterSheet::Group::Major;
        } else if (c.minor.contains(skill)) {
            value = rules.minorSkillStart;
            group = &s.minor;
            g = CharacterSheet::Group::Minor;
        }
        if (rules.specialization[size_t(skill)] == c.specialization)
            value += rules.specializationBonus;
        value += race.skillBonus[size_t(skill)];
        group->append({skill, rules.governing[size_t(skill)], value});
        s.skills[size_t(skill)] = value;
        s.group[size_t(skill)] = g;
    }

    // Health is set before any ability takes effect; Fatigue and Magicka
    // count their fortifications.
    s.health = (s.beforeBirthsign[Str] + s.beforeBirthsign[End]) / 2;
    s.fatigue = s.attributes[Str] + s.attributes[Wil] + s.attributes[Agi] + s.attributes[End];
    s.magickaMultiplier =
        rules.baseMagickaMultiplier + (race.magickaTenths + sign.magickaTenths) / 10.0;
    s.magicka = int(std::floor(s.attributes[Int] * s.magickaMultiplier + 1e-9));
    s.specials = race.specials + sign.specials;
    return s;
}

QString sheetText(const CharacterSheet& s, const QString& title, bool markdown,
                  const QList<LevelOutcome>& levels) {
    QStringList out;
    const auto heading = [&](const QString& text) {
        out << (markdown ? QStringLiteral("## ") + text : text.toUpper());
    };
    const auto item = [&](const QString& name, const QString& value) {
        out << (markdown ? QStringLiteral("- **%1:** %2").arg(name, value)
                         : QStringLiteral("  %1: %2").arg(name, value));
    };
    out << (markdown ? QStringLiteral("# ") + title : title);
    out << QString();
    if (!s.origin.isEmpty()) {
        const RulesOrigin& o = s.origin;
        const auto line = [&](const QString& text, int depth) {
            out << QString(depth * 2 + (markdown ? 0 : 2), QLatin1Char(' ')) +
                       (markdown ? QStringLiteral("- ") : QString()) + text;
        };
        const auto list = [&](const QString& head, const QStringList& items) {
            if (items.isEmpty())
                return;
            line(head, 0);
            for (const QString& i : items)
                line(i, 1);
        };
        const auto texts = [](const QList<RulesNote>& notes) {
            QStringList out;
            for (const RulesNote& n : notes)
                out << n.text;
            return out;
        };
        heading(QStringLiteral("Where the numbers come from"));
        if (!o.source.isEmpty())
            line(QStringLiteral("The numbers are ") + o.source + QLatin1Char('.'), 0);
        list(QStringLiteral("Different from the original game:"), texts(o.changes));
        list(QStringLiteral("In your game but not plannable here (the wizard offers the original "
                            "game's choices):"),
             o.notPlannable);
        list(QStringLiteral("Notes on your game:"), texts(o.fallbacks));
        out << QString();
    }
    if (!s.complete()) {
        heading(QStringLiteral("Still to choose"));
        for (const QString& m : s.missing)
            out << (markdown ? QStringLiteral("- ") + m : QStringLiteral("  ") + m);
        return out.join(QLatin1Char('\n')) + QLatin1Char('\n');
    }
    heading(QStringLiteral("Attributes"));
    for (int a = 0; a < kAttributeCount; ++a) {
        QString value = QString::number(s.attributes[size_t(a)]);
        const int fromRace = s.raceFortify[size_t(a)];
        const int fromSign = s.fortify[size_t(a)] - fromRace;
        if (fromRace || fromSign) {
            QStringList parts{QString::number(s.beforeBirthsign[size_t(a)])};
            if (fromRace)
                parts << QStringLiteral("%1 from the race").arg(fromRace);
            if (fromSign)
                parts << QStringLiteral("%1 from the birthsign").arg(fromSign);
            value += QStringLiteral(" (") + parts.join(QStringLiteral(" + ")) + QLatin1Char(')');
        }
        item(attributes()[a], value);
    }
    out << QString();
    heading(QStringLiteral("Derived"));
    item(QStringLiteral("Health"), QString::number(s.health));
    item(QStringLiteral("Magicka"), QStringLiteral("%1 (%2 x Intelligence)")
                                        .arg(s.magicka)
                                        .arg(s.magickaMultiplier, 0, 'g', 3));
    item(QStringLiteral("Fatigue"), QString::number(s.fatigue));
    const std::array<std::pair<QString, const QList<CharacterSheet::SkillValue>*>, 3> groups = {
        {{QStringLiteral("Major skills"), &s.major},
         {QStringLiteral("Minor skills"), &s.minor},
         {QStringLiteral("Miscellaneous skills"), &s.misc}}};
    for (const auto& [name, list] : groups) {
        out << QString();
        heading(name);
        for (const auto& v : *list)
            item(skills()[v.skill],
                 QStringLiteral("%1 (%2)").arg(v.value).arg(attributes()[v.attribute]));
    }
    out << QString();
    heading(QStringLiteral("Abilities, powers, spells and weaknesses"));
    for (const Special& sp : s.specials)
        item(sp.name, specialKindName(sp.kind) + QStringLiteral(": ") + sp.effect);
    if (!levels.isEmpty()) {
        out << QString();
        heading(QStringLiteral("Levels"));
        out << levelTable(s, levels, markdown);
    }
    return out.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

} // namespace tarvo
