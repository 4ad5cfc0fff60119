#include "planner.h"

#include "reftables.h"

#include <QList>
#include <QPair>

namespace tarvo {

namespace {

struct Pair {
    const char* major;
    const char* minor;
};

// Keyword pairs by specialization (Combat, Magic, Stealth) and keyword.
constexpr Pair kKeywordPairs[3][kPlannerKeywords] = {{{"Destruction", "Blunt Weapon"},
                                                      {"Marksman", "Athletics"},
                                                      {"Blunt Weapon", "Axe"},
                                                      {"Spear", "Armourer"},
                                                      {"Speechcraft", "Mercantile"},
                                                      {"Block", "Heavy Armour"}},
                                                     {{"Destruction", "Blunt Weapon"},
                                                      {"Acrobatics", "Athletics"},
                                                      {"Armourer", "Conjuration"},
                                                      {"Alteration", "Mysticism"},
                                                      {"Speechcraft", "Mercantile"},
                                                      {"Block", "Illusion"}},
                                                     {{"Short Blade", "Marksman"},
                                                      {"Athletics", "Acrobatics"},
                                                      {"Long Blade", "Armourer"},
                                                      {"Illusion", "Alteration"},
                                                      {"Speechcraft", "Mercantile"},
                                                      {"Block", "Light Armour"}}};

struct Fixed {
    const char* favAtt1;
    const char* favAtt2;
    const char* major1;
    const char* minor1;
    const char* minor5;
    // With hurting, helping and using others.
    const char* birthsigns[3];
};

constexpr Fixed kFixed[3] = {{"Strength",
                              "Endurance",
                              "Long Blade",
                              "Light Armour",
                              "Security",
                              {"The Warrior", "The Ritual", "The Lady"}},
                             {"Intelligence",
                              "Willpower",
                              "Unarmoured",
                              "Alchemy",
                              "Security",
                              {"The Mage", "The Apprentice", "The Atronach"}},
                             {"Intelligence",
                              "Agility",
                              "Sneak",
                              "Security",
                              "Mysticism",
                              {"The Thief", "The Tower", "The Shadow"}}};

constexpr int kHelping = 1;
constexpr int kCloseToHome = 2;

} // namespace

QString plannedSpecialization(int casting, int fighting, int sneaking) {
    if (casting > fighting && casting > sneaking)
        return QStringLiteral("Magic");
    if (sneaking > fighting)
        return QStringLiteral("Stealth");
    if (fighting > sneaking)
        return QStringLiteral("Combat");
    return {};
}

std::optional<PlannedCharacter> planCharacter(const PlannerAnswers& a) {
    const QString spec = plannedSpecialization(a.casting, a.fighting, a.sneaking);
    const int s = specializations().indexOf(spec);
    if (s < 0)
        return std::nullopt;
    const Fixed& f = kFixed[s];
    PlannedCharacter p;
    p.specialization = spec;
    switch (s) {
    case 0:
        p.race = QStringLiteral("Redguard");
        break;
    case 1:
        p.race = a.sneaking >= 10 ? QStringLiteral("Dark Elf") : QStringLiteral("Breton");
        break;
    default:
        p.race = a.casting >= 10 ? QStringLiteral("Dark Elf") : races()[5];
        break;
    }
    p.favAtt1 = QLatin1String(f.favAtt1);
    p.favAtt2 = QLatin1String(f.favAtt2);
    p.major[0] = QLatin1String(f.major1);
    p.minor[0] = QLatin1String(f.minor1);
    p.minor[4] = QLatin1String(f.minor5);
    if (s == 0)
        p.major[4] = QStringLiteral("Short Blade");
    else if (a.others == kHelping)
        p.major[4] = QStringLiteral("Restoration");
    else if (a.personal == kCloseToHome)
        p.major[4] = s == 1 ? QStringLiteral("Enchant") : QStringLiteral("Unarmoured");
    else
        p.major[4] = QStringLiteral("Hand to Hand");
    p.birthsign = QLatin1String(f.birthsigns[qBound(0, a.others, 2)]);

    // The ticked keywords fill slots 1 to 3 in keyword order.
    int slot = 1;
    for (int k = 0; k < kPlannerKeywords && slot <= 3; ++k) {
        if (!a.keywords[size_t(k)])
            continue;
        p.major[size_t(slot)] = QLatin1String(kKeywordPairs[s][k].major);
        p.minor[size_t(slot)] = QLatin1String(kKeywordPairs[s][k].minor);
        ++slot;
    }
    return p;
}

QByteArray composePlannedProfile(const PlannedCharacter& p, const QString& date) {
    QList<QPair<QString, QList<QPair<QString, QString>>>> sections = {
        {QStringLiteral("SaveData"), {{QStringLiteral("iniDate"), date}}},
        {QStringLiteral("Two"), {{QStringLiteral("iniClass"), p.specialization}}},
        {QStringLiteral("Three"), {{QStringLiteral("iniRace"), p.race}}},
        {QStringLiteral("Four"),
         {{QStringLiteral("iniFavAtt1"), p.favAtt1}, {QStringLiteral("iniFavAtt2"), p.favAtt2}}},
        {QStringLiteral("FiveA"), {}},
        {QStringLiteral("FiveB"), {}},
        {QStringLiteral("Six"), {{QStringLiteral("iniBirthsign"), p.birthsign}}}};
    for (int i = 0; i < 5; ++i) {
        sections[4].second.append({QStringLiteral("iniMjrSkill%1").arg(i + 1), p.major[size_t(i)]});
        sections[5].second.append({QStringLiteral("iniMnrSkill%1").arg(i + 1), p.minor[size_t(i)]});
    }
    QByteArray out;
    out.reserve(512);
    for (const auto& [section, keys] : sections) {
        out.append('[').append(section.toUtf8()).append("]\r\n");
        for (const auto& [key, value] : keys)
            out.append(key.toUtf8()).append('=').append(value.toUtf8()).append("\r\n");
    }
    return out;
}

} // namespace tarvo
