#include "gamefiles/gametables.h"

#include "reftables.h"

#include <algorithm>
#include <cmath>

namespace tarvo::gamefiles {

namespace {

// The game's ids, in the order of races() and birthsigns().
const char* const kRaceIds[] = {"Argonian", "Breton", "Dark Elf", "High Elf", "Imperial",
                                "Khajiit",  "Nord",   "Orc",      "Redguard", "Wood Elf"};
const char* const kBirthsignIds[] = {
    "Fay",           "Elfborn",    "Wombburned",     "Blessed Touch Sign", "Warwyrd",
    "Beggar's Nose", "Charioteer", "Lady's Favor",   "Trollkin",           "Hara",
    "Mooncalf",      "Serpent",    "Moonshadow Sign"};

// The game's skills by number, as skills() names them.
const char* const kGameSkills[kGameSkillCount] = {
    "Block",      "Armourer",    "Medium Armour", "Heavy Armour", "Blunt Weapon", "Long Blade",
    "Axe",        "Spear",       "Athletics",     "Enchant",      "Destruction",  "Alteration",
    "Illusion",   "Conjuration", "Mysticism",     "Restoration",  "Alchemy",      "Unarmoured",
    "Security",   "Sneak",       "Acrobatics",    "Light Armour", "Short Blade",  "Marksman",
    "Mercantile", "Speechcraft", "Hand to Hand"};

// The game's magic effects by number.
const char* const kEffects[] = {"Water Breathing",
                                "Swift Swim",
                                "Water Walking",
                                "Shield",
                                "Fire Shield",
                                "Lightning Shield",
                                "Frost Shield",
                                "Burden",
                                "Feather",
                                "Jump",
                                "Levitate",
                                "Slowfall",
                                "Lock",
                                "Open",
                                "Fire Damage",
                                "Shock Damage",
                                "Frost Damage",
                                "Drain",
                                "Drain Health",
                                "Drain Magicka",
                                "Drain Fatigue",
                                "Drain",
                                "Damage",
                                "Damage Health",
                                "Damage Magicka",
                                "Damage Fatigue",
                                "Damage",
                                "Poison",
                                "Weakness to Fire",
                                "Weakness to Frost",
                                "Weakness to Shock",
                                "Weakness to Magicka",
                                "Weakness to Common Disease",
                                "Weakness to Blight Disease",
                                "Weakness to Corprus Disease",
                                "Weakness to Poison",
                                "Weakness to Normal Weapons",
                                "Disintegrate Weapon",
                                "Disintegrate Armor",
                                "Invisibility",
                                "Chameleon",
                                "Light",
                                "Sanctuary",
                                "Night Eye",
                                "Charm",
                                "Paralyze",
                                "Silence",
                                "Blind",
                                "Sound",
                                "Calm Humanoid",
                                "Calm Creature",
                                "Frenzy Humanoid",
                                "Frenzy Creature",
                                "Demoralize Humanoid",
                                "Demoralize Creature",
                                "Rally Humanoid",
                                "Rally Creature",
                                "Dispel",
                                "Soultrap",
                                "Telekinesis",
                                "Mark",
                                "Recall",
                                "Divine Intervention",
                                "Almsivi Intervention",
                                "Detect Animal",
                                "Detect Enchantment",
                                "Detect Key",
                                "Spell Absorption",
                                "Reflect",
                                "Cure Common Disease",
                                "Cure Blight Disease",
                                "Cure Corprus Disease",
                                "Cure Poison",
                                "Cure Paralyzation",
                                "Restore",
                                "Restore Health",
                                "Restore Magicka",
                                "Restore Fatigue",
                                "Restore",
                                "Fortify",
                                "Fortify Health",
                                "Fortify Magicka",
                                "Fortify Fatigue",
                                "Fortify",
                                "Fortify Maximum Magicka",
                                "Absorb",
                                "Absorb Health",
                                "Absorb Magicka",
                                "Absorb Fatigue",
                                "Absorb",
                                "Resist Fire",
                                "Resist Frost",
                                "Resist Shock",
                                "Resist Magicka",
                                "Resist Common Disease",
                                "Resist Blight Disease",
                                "Resist Corprus Disease",
                                "Resist Poison",
                                "Resist Normal Weapons",
                                "Resist Paralysis",
                                "Remove Curse",
                                "Turn Undead",
                                "Summon Scamp",
                                "Summon Clannfear",
                                "Summon Daedroth",
                                "Summon Dremora",
                                "Summon Ancestral Ghost",
                                "Summon Skeletal Minion",
                                "Summon Bonewalker",
                                "Summon Greater Bonewalker",
                                "Summon Bonelord",
                                "Summon Winged Twilight",
                                "Summon Hunger",
                                "Summon Golden Saint",
                                "Summon Flame Atronach",
                                "Summon Frost Atronach",
                                "Summon Storm Atronach",
                                "Fortify Attack",
                                "Command Creature",
                                "Command Humanoid",
                                "Bound Dagger",
                                "Bound Longsword",
                                "Bound Mace",
                                "Bound Battle Axe",
                                "Bound Spear",
                                "Bound Longbow",
                                "Extra Spell",
                                "Bound Cuirass",
                                "Bound Helm",
                                "Bound Boots",
                                "Bound Shield",
                                "Bound Gloves",
                                "Corprus",
                                "Vampirism",
                                "Summon Centurion Sphere",
                                "Sun Damage",
                                "Stunted Magicka",
                                "Summon Fabricant",
                                "Call Wolf",
                                "Call Bear",
                                "Summon Bonewolf",
                                "Summon Creature",
                                "Summon Creature"};
constexpr int kEffectCount = int(std::size(kEffects));

bool namesAttribute(int effect) {
    return effect == 17 || effect == 22 || effect == 74 || effect == 79 || effect == 85;
}
bool namesSkill(int effect) {
    return effect == 21 || effect == 26 || effect == 78 || effect == 83 || effect == 89;
}
bool inPercent(int effect) {
    return (effect >= 28 && effect <= 36) || (effect >= 90 && effect <= 99) || effect == 40 ||
           effect == 67 || effect == 68;
}
bool isWeakness(int effect) {
    return (effect >= 28 && effect <= 36) || effect == 136;
}

QString tenthsText(int tenths) {
    return QString::number(tenths / 10.0, 'g', 4);
}
QString magickaText(int tenths) {
    return tenths ? tenthsText(tenths) + QStringLiteral(" x Intelligence") : QStringLiteral("none");
}
QString bonusText(int value) {
    return value
               ? QStringLiteral("%1%2").arg(value > 0 ? QStringLiteral("+") : QString()).arg(value)
               : QStringLiteral("none");
}

// The numbers a race's or a sign's spells add to the character.
struct SpellsTaken {
    AttributeValues fortify{};
    int magickaTenths = 0;
    QList<Special> specials;
    QStringList unknown;
    int lastFile = -1; // the latest file among the spells found
};

SpellsTaken takeSpells(const GameContent& game, const QStringList& ids) {
    SpellsTaken t;
    const ConstantEffects fx = constantEffects(game, ids);
    for (int a = 0; a < kAttributeCount; ++a)
        t.fortify[size_t(a)] = std::clamp(fx.fortifyAttribute[size_t(a)], -255, 255);
    t.magickaTenths = std::clamp(fx.fortifyMaximumMagicka, -1000, 1000);
    t.unknown = fx.unknownSpells;
    for (const QString& id : ids)
        if (const Versioned<Spell>* s = game.spells.entry(id)) {
            t.specials << specialFromSpell(s->record);
            t.lastFile = std::max(t.lastFile, s->file);
        }
    return t;
}

// Finds the record for one of the wizard's choices: by the game's id, else
// by the name the game shows, when no other known id holds that record.
template <class T>
const Versioned<T>* match(const RecordTable<T>& table, const QString& id, const QString& shown,
                          const char* const* knownIds, size_t knownCount) {
    if (const Versioned<T>* e = table.entry(id))
        return e;
    for (const auto& e : table.all()) {
        if (e.record.name.compare(shown, Qt::CaseInsensitive) != 0)
            continue;
        const bool otherId = std::any_of(knownIds, knownIds + knownCount, [&](const char* k) {
            return e.record.id.compare(QLatin1String(k), Qt::CaseInsensitive) == 0;
        });
        if (!otherId)
            return &e;
    }
    return nullptr;
}

class Builder {
public:
    explicit Builder(const GameContent& game) : m_game(game), m_original(GameRules::builtIn()) {
        m_rules = m_original;
        m_rules.origin = {};
    }

    GameRules build() {
        RulesOrigin& o = m_rules.origin;
        o.source = QStringLiteral("from your game: ") + describeFiles(m_game);
        for (const FileProblem& p : m_game.problems)
            fallback({}, QStringLiteral("%1 is left out: %2").arg(p.file, p.reason));
        settings();
        skillRecords();
        for (int r = 0; r < races().size(); ++r)
            race(r);
        for (int b = 0; b < birthsigns().size(); ++b)
            birthsign(b);
        notPlannable();
        return m_rules;
    }

private:
    QString file(int index) const { return m_game.fileName(index); }

    void change(RulesNote scope, const QString& what, const QString& now, const QString& before,
                int fileIndex) {
        scope.text =
            QStringLiteral("%1: %2 instead of %3 (%4)").arg(what, now, before, file(fileIndex));
        m_rules.origin.changes << scope;
    }
    void fallback(RulesNote scope, const QString& text) {
        scope.text = text;
        m_rules.origin.fallbacks << scope;
    }

    // An whole-number setting within [low, high]; the original value otherwise.
    void intSetting(const QString& id, int& target, int low, int high, const QString& what,
                    const QString& unit = {}) {
        const GameSetting* g = m_game.setting(id);
        if (!g || g->kind != GameSetting::Kind::Int) {
            fallback({}, QStringLiteral("%1 is not in your game: the original game's %2 is used.")
                             .arg(id)
                             .arg(target));
            return;
        }
        if (g->intValue < low || g->intValue > high) {
            fallback({}, QStringLiteral("%1 is %2 in your game, which the planner cannot use: the "
                                        "original game's %3 is used.")
                             .arg(id)
                             .arg(g->intValue)
                             .arg(target));
            return;
        }
        if (g->intValue != target)
            change({}, what + QStringLiteral(" (") + id + QLatin1Char(')'),
                   unit + QString::number(g->intValue), unit + QString::number(target),
                   m_game.settings.sourceOf(id));
        target = g->intValue;
    }

    // A decimal setting within [low, high], rounded to tenths.
    void tenthsSetting(const QString& id, int& tenths, int low, int high, const QString& what,
                       const QString& unit) {
        const std::optional<float> v = m_game.floatSetting(id);
        const double value = v ? double(*v) * 10.0 : 0.0;
        if (!v || !std::isfinite(value) || std::abs(value - std::round(value)) > 1e-3 ||
            value < low || value > high) {
            fallback({}, QStringLiteral("%1 is %2: the original game's %3 is used.")
                             .arg(id,
                                  v ? QStringLiteral("%1 in your game, which the sheet cannot use")
                                          .arg(double(*v))
                                    : QStringLiteral("not in your game"),
                                  tenthsText(tenths)));
            return;
        }
        const int now = int(std::lround(value));
        if (now != tenths)
            change({}, what + QStringLiteral(" (") + id + QLatin1Char(')'), tenthsText(now) + unit,
                   tenthsText(tenths) + unit, m_game.settings.sourceOf(id));
        tenths = now;
    }

    void settings() {
        LevellingRules& lv = m_rules.levelling;
        intSetting(QStringLiteral("iLevelupTotal"), lv.levelupTotal, 1, 100,
                   QStringLiteral("Increases of major or minor skills for a level-up"));
        for (int n = 1; n <= 10; ++n)
            intSetting(QStringLiteral("iLevelUp%1Mult").arg(n, 2, 10, QLatin1Char('0')),
                       lv.multiplier[size_t(n)], 0, 100,
                       n == 10 ? QStringLiteral("Attribute bonus for 10 or more increases")
                               : QStringLiteral("Attribute bonus for %1 increase%2")
                                     .arg(n)
                                     .arg(n == 1 ? QString() : QStringLiteral("s")),
                       QStringLiteral("+"));
        int magicka = int(std::lround(m_rules.baseMagickaMultiplier * 10));
        tenthsSetting(QStringLiteral("fPCbaseMagickaMult"), magicka, 0, 1000,
                      QStringLiteral("Magicka before any ability"),
                      QStringLiteral(" x Intelligence"));
        m_rules.baseMagickaMultiplier = magicka / 10.0;
        tenthsSetting(QStringLiteral("fLevelUpHealthEndMult"), lv.healthTenthsPerEndurance, 0, 100,
                      QStringLiteral("Health gained at a level-up"),
                      QStringLiteral(" x Endurance"));
    }

    void skillRecords() {
        QStringList missing;
        for (int g = 0; g < kGameSkillCount; ++g) {
            const int s = skillFromGame(g);
            const Versioned<Skill>* e = m_game.skills.entry(QString::number(g));
            if (!e) {
                missing << skills()[s];
                continue;
            }
            const Skill& k = e->record;
            if (k.attribute >= 0 && k.attribute < kAttributeCount) {
                if (k.attribute != m_rules.governing[size_t(s)])
                    change({}, skills()[s] + QStringLiteral(", governed by"),
                           attributes()[k.attribute], attributes()[m_rules.governing[size_t(s)]],
                           e->file);
                m_rules.governing[size_t(s)] = k.attribute;
            } else {
                missing << skills()[s];
            }
            if (k.specialization >= 0 && k.specialization <= 2) {
                if (k.specialization != m_rules.specialization[size_t(s)])
                    change({}, skills()[s] + QStringLiteral(", a skill of"),
                           specializations()[k.specialization],
                           specializations()[m_rules.specialization[size_t(s)]], e->file);
                m_rules.specialization[size_t(s)] = k.specialization;
            }
        }
        if (!missing.isEmpty())
            fallback({}, QStringLiteral("Your game has no usable record of %1: the original "
                                        "game's governing attributes are used.")
                             .arg(missing.join(QStringLiteral(", "))));
    }

    void race(int r) {
        RaceRules& rr = m_rules.races[r];
        const RaceRules& was = m_original.races[r];
        const QString name = races()[r];
        const Versioned<Race>* e = match(m_game.races, QLatin1String(kRaceIds[r]),
                                         QLatin1String(kRaceIds[r]), kRaceIds, std::size(kRaceIds));
        if (!e) {
            fallback({r, -1, -1, {}}, QStringLiteral("%1 is not in your game: the original game's "
                                                     "numbers are used for it.")
                                          .arg(name));
            return;
        }
        m_matched << e;
        const Race& race = e->record;
        for (int g = 0; g < 2; ++g)
            for (int a = 0; a < kAttributeCount; ++a) {
                const int v = std::clamp(race.attributes[size_t(a)][size_t(g)], 0, 255);
                const int before = was.attributes[size_t(g)][size_t(a)];
                if (v != before)
                    change({r, g, -1, {}},
                           QStringLiteral("%1, %2 %3")
                               .arg(name, genders()[g].toLower(), attributes()[a]),
                           QString::number(v), QString::number(before), e->file);
                rr.attributes[size_t(g)][size_t(a)] = v;
            }
        rr.skillBonus = {};
        for (const SkillBonus& b : race.skillBonuses) {
            const int s = skillFromGame(b.skill);
            if (s >= 0)
                rr.skillBonus[size_t(s)] += std::clamp(b.bonus, -100, 100);
        }
        for (int s = 0; s < kSkillCount; ++s)
            if (rr.skillBonus[size_t(s)] != was.skillBonus[size_t(s)])
                change({r, -1, -1, {}}, QStringLiteral("%1, %2 bonus").arg(name, skills()[s]),
                       bonusText(rr.skillBonus[size_t(s)]), bonusText(was.skillBonus[size_t(s)]),
                       e->file);
        const SpellsTaken t = takeSpells(m_game, race.spells);
        effects({r, -1, -1, {}}, name, t, std::max(e->file, t.lastFile), rr.fortify,
                rr.magickaTenths, was.fortify, was.magickaTenths);
        rr.specials = t.specials;
    }

    void birthsign(int b) {
        BirthsignRules& br = m_rules.birthsigns[b];
        const BirthsignRules& was = m_original.birthsigns[b];
        const QString name = birthsigns()[b];
        const Versioned<Birthsign>* e = match(m_game.birthsigns, QLatin1String(kBirthsignIds[b]),
                                              name, kBirthsignIds, std::size(kBirthsignIds));
        if (!e) {
            fallback({-1, -1, b, {}}, QStringLiteral("%1 is not in your game: the original "
                                                     "game's numbers are used for it.")
                                          .arg(name));
            return;
        }
        m_matched << e;
        const SpellsTaken t = takeSpells(m_game, e->record.spells);
        effects({-1, -1, b, {}}, name, t, std::max(e->file, t.lastFile), br.fortify,
                br.magickaTenths, was.fortify, was.magickaTenths);
        br.specials = t.specials;
    }

    // The abilities' fortifications of a race or a sign.
    void effects(const RulesNote& scope, const QString& name, const SpellsTaken& t, int fileIndex,
                 AttributeValues& fortify, int& magickaTenths, const AttributeValues& wasFortify,
                 int wasMagicka) {
        for (const QString& id : t.unknown)
            fallback(scope,
                     QStringLiteral("%1: the spell \"%2\" is not in your game.").arg(name, id));
        fortify = t.fortify;
        for (int a = 0; a < kAttributeCount; ++a)
            if (fortify[size_t(a)] != wasFortify[size_t(a)])
                change(scope, QStringLiteral("%1, %2 from abilities").arg(name, attributes()[a]),
                       bonusText(fortify[size_t(a)]), bonusText(wasFortify[size_t(a)]), fileIndex);
        magickaTenths = t.magickaTenths;
        if (magickaTenths != wasMagicka)
            change(scope, name + QStringLiteral(", Magicka from abilities"),
                   magickaText(magickaTenths), magickaText(wasMagicka), fileIndex);
    }

    void notPlannable() {
        QStringList addedRaces, addedSigns;
        const QList<const void*>& matched = m_matched;
        for (const auto& e : m_game.races.all())
            if (e.record.playable && !matched.contains(&e))
                addedRaces << QStringLiteral("%1 (%2)").arg(shownName(e.record), file(e.file));
        for (const auto& e : m_game.birthsigns.all())
            if (!matched.contains(&e))
                addedSigns << QStringLiteral("%1 (%2)").arg(shownName(e.record), file(e.file));
        if (!addedRaces.isEmpty())
            m_rules.origin.notPlannable
                << QStringLiteral("Races: ") + addedRaces.join(QStringLiteral(", "));
        if (!addedSigns.isEmpty())
            m_rules.origin.notPlannable
                << QStringLiteral("Birthsigns: ") + addedSigns.join(QStringLiteral(", "));
    }

    template <class T> static QString shownName(const T& record) {
        return record.name.trimmed().isEmpty() ? record.id : record.name;
    }

    const GameContent& m_game;
    const GameRules& m_original;
    GameRules m_rules;
    QList<const void*> m_matched; // the records the wizard's choices took
};

QString listText(const QStringList& items) {
    if (items.size() < 2)
        return items.value(0);
    return items.mid(0, items.size() - 1).join(QStringLiteral(", ")) + QStringLiteral(" and ") +
           items.last();
}

// A text as one line of an INI file.
QString oneLine(QString text) {
    for (QChar& c : text)
        if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            c = QLatin1Char(' ');
    return text.trimmed();
}

} // namespace

QString gameRaceId(int race) {
    return race >= 0 && race < int(std::size(kRaceIds)) ? QLatin1String(kRaceIds[race]) : QString();
}

QString gameBirthsignId(int birthsign) {
    return birthsign >= 0 && birthsign < int(std::size(kBirthsignIds))
               ? QString::fromLatin1(kBirthsignIds[birthsign])
               : QString();
}

int skillFromGame(int gameSkill) {
    if (gameSkill < 0 || gameSkill >= kGameSkillCount)
        return -1;
    return skillOrder(QLatin1String(kGameSkills[gameSkill]));
}

QString describeFiles(const GameContent& game) {
    QStringList masters;
    int plugins = 0;
    for (const LoadedFile& f : game.files) {
        if (f.isMaster())
            masters << f.name;
        else
            ++plugins;
    }
    if (plugins == 0)
        return listText(masters);
    const QString counted =
        plugins == 1 ? QStringLiteral("1 plugin") : QStringLiteral("%1 plugins").arg(plugins);
    return masters.isEmpty()
               ? counted
               : masters.join(QStringLiteral(", ")) + QStringLiteral(" and ") + counted;
}

GameRules rulesFromGame(const GameContent& game) {
    return Builder(game).build();
}

QString effectText(const SpellEffect& e) {
    QString name = e.effect >= 0 && e.effect < kEffectCount
                       ? QLatin1String(kEffects[e.effect])
                       : QStringLiteral("Effect %1").arg(e.effect);
    if (namesAttribute(e.effect))
        name += QLatin1Char(' ') + attributes().value(e.attribute, QStringLiteral("an attribute"));
    else if (namesSkill(e.effect))
        name +=
            QLatin1Char(' ') + skills().value(skillFromGame(e.skill), QStringLiteral("a skill"));
    QString text = name;
    if (e.effect == kEffectFortifyMaximumMagicka) {
        text += QLatin1Char(' ') + magickaText(e.magnitudeMin);
    } else if (e.magnitudeMax > 0) {
        const QString amount =
            e.magnitudeMin == e.magnitudeMax
                ? QString::number(e.magnitudeMin)
                : QStringLiteral("%1 to %2").arg(e.magnitudeMin).arg(e.magnitudeMax);
        text += inPercent(e.effect)
                    ? QStringLiteral(" %1%").arg(amount)
                    : QStringLiteral(" %1 point%2")
                          .arg(amount)
                          .arg(e.magnitudeMax == 1 ? QString() : QStringLiteral("s"));
    }
    if (e.duration > 1)
        text += QStringLiteral(" for %1 seconds").arg(e.duration);
    if (e.area > 0)
        text += QStringLiteral(" in %1 feet").arg(e.area);
    if (e.range == 1)
        text += QStringLiteral(" on touch");
    else if (e.range == 2)
        text += QStringLiteral(" on a target");
    return text;
}

Special specialFromSpell(const Spell& s) {
    using K = Special::Kind;
    K kind = K::Spell;
    switch (s.type) {
    case Spell::Ability:
        kind = !s.effects.isEmpty() &&
                       std::all_of(s.effects.begin(), s.effects.end(),
                                   [](const SpellEffect& e) { return isWeakness(e.effect); })
                   ? K::Weakness
                   : K::Ability;
        break;
    case Spell::Power:
        kind = K::Power;
        break;
    case Spell::Blight:
    case Spell::Disease:
    case Spell::Curse:
        kind = K::Weakness;
        break;
    default:
        break;
    }
    QStringList effects;
    for (const SpellEffect& e : s.effects)
        effects << effectText(e);
    return {kind, s.name.trimmed().isEmpty() ? s.id : s.name,
            effects.isEmpty() ? QStringLiteral("no effect") : effects.join(QStringLiteral(", "))};
}

QString className(const GameClass& c) {
    return oneLine(c.name).isEmpty() ? oneLine(c.id) : oneLine(c.name);
}

QList<const Versioned<GameClass>*> playableClasses(const GameContent& game) {
    QList<const Versioned<GameClass>*> out;
    for (const auto& e : game.classes.all())
        if (e.record.playable)
            out << &e;
    std::stable_sort(out.begin(), out.end(), [](const auto* a, const auto* b) {
        return className(a->record).compare(className(b->record), Qt::CaseInsensitive) < 0;
    });
    return out;
}

QByteArray classTemplate(const GameContent& game, const Versioned<GameClass>& v,
                         const QString& date) {
    const GameClass& c = v.record;
    const QString name = className(c);
    const QString spec = specializations().value(c.specialization);
    QStringList major, minor, favourites;
    for (int s : c.major)
        major << skills().value(skillFromGame(s));
    for (int s : c.minor)
        minor << skills().value(skillFromGame(s));
    for (int a : c.attributes)
        favourites << attributes().value(a);
    const QString from = game.fileName(v.file);
    QString description = QStringLiteral("A class of your game, from %1").arg(from);
    if (!spec.isEmpty())
        description += QStringLiteral(": %1, favouring %2").arg(spec, listText(favourites));
    description += QLatin1Char('.');
    const QList<QPair<QString, QList<QPair<QString, QString>>>> sections = {
        {QStringLiteral("SaveData"),
         {{QStringLiteral("iniDate"), date},
          {QStringLiteral("iniTemplateName"), name},
          {QStringLiteral("iniTemplateDescription"), description},
          {QStringLiteral("iniStrength"), QStringLiteral("Major skills: %1.").arg(listText(major))},
          {QStringLiteral("iniWeakness"),
           QStringLiteral("Minor skills: %1. The race and the birthsign are yours to choose.")
               .arg(listText(minor))},
          {QStringLiteral("iniAuthor"), QStringLiteral("Your game (%1)").arg(from)}}},
        {QStringLiteral("Two"),
         {{QStringLiteral("iniClass"), spec}, {QStringLiteral("iniClassName"), name}}},
        {QStringLiteral("Four"),
         {{QStringLiteral("iniFavAtt1"), favourites.value(0)},
          {QStringLiteral("iniFavAtt2"), favourites.value(1)}}},
        {QStringLiteral("FiveA"), {}},
        {QStringLiteral("FiveB"), {}}};
    QByteArray out;
    for (const auto& [section, keys] : sections) {
        out.append('[').append(section.toUtf8()).append("]\r\n");
        for (const auto& [key, value] : keys)
            out.append(key.toUtf8()).append('=').append(oneLine(value).toUtf8()).append("\r\n");
        if (section == QLatin1String("FiveA") || section == QLatin1String("FiveB")) {
            const QStringList& list = section == QLatin1String("FiveA") ? major : minor;
            const char* key = section == QLatin1String("FiveA") ? "iniMjrSkill" : "iniMnrSkill";
            for (int i = 0; i < list.size(); ++i)
                out.append(key)
                    .append(QByteArray::number(i + 1))
                    .append('=')
                    .append(list[i].toUtf8())
                    .append("\r\n");
        }
    }
    return out;
}

} // namespace tarvo::gamefiles
