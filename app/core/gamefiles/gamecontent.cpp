#include "gamefiles/gamecontent.h"

#include <algorithm>
#include <climits>

namespace tarvo::gamefiles {

namespace {

template <class T>
void merge(RecordTable<T>& table, const QList<T>& records, const char* type, int file,
           QList<Removal>& removals) {
    for (const T& r : records) {
        using Change = typename RecordTable<T>::Change;
        if (table.apply(r.id, r, file) == Change::Removed)
            removals.append({QLatin1String(type), r.id, file});
    }
}

} // namespace

bool LoadedFile::isMaster() const {
    return name.endsWith(QLatin1String(".esm"), Qt::CaseInsensitive);
}

QString GameContent::fileName(int file) const {
    return file >= 0 && file < files.size() ? files[file].name : QString();
}

void GameContent::add(const ContentFile& content, const QString& name, const QString& path) {
    const int file = int(files.size());
    files.append({name, path, content.header, content.recordsSeen});
    merge(settings, content.settings, "GMST", file, removals);
    merge(races, content.races, "RACE", file, removals);
    merge(birthsigns, content.birthsigns, "BSGN", file, removals);
    merge(spells, content.spells, "SPEL", file, removals);
    merge(classes, content.classes, "CLAS", file, removals);
    for (const Skill& s : content.skills) {
        const QString id = QString::number(s.index);
        if (skills.apply(id, s, file) == RecordTable<Skill>::Change::Removed)
            removals.append({QStringLiteral("SKIL"), id, file});
    }
}

std::optional<int> GameContent::intSetting(const QString& id) const {
    const GameSetting* g = setting(id);
    if (g && g->kind == GameSetting::Kind::Int)
        return g->intValue;
    return std::nullopt;
}

std::optional<float> GameContent::floatSetting(const QString& id) const {
    const GameSetting* g = setting(id);
    if (g && g->kind == GameSetting::Kind::Float)
        return g->floatValue;
    return std::nullopt;
}

std::optional<QString> GameContent::stringSetting(const QString& id) const {
    const GameSetting* g = setting(id);
    if (g && g->kind == GameSetting::Kind::String)
        return g->text;
    return std::nullopt;
}

ConstantEffects constantEffects(const GameContent& game, const QStringList& spellIds) {
    ConstantEffects out;
    // Sums of any magnitudes a file holds, kept within an int.
    const auto add = [](int& sum, int magnitude) {
        sum = int(std::clamp<qint64>(qint64(sum) + magnitude, INT_MIN, INT_MAX));
    };
    for (const QString& id : spellIds) {
        const Spell* s = game.spells.find(id);
        if (!s) {
            out.unknownSpells.append(id);
            continue;
        }
        if (s->type != Spell::Ability)
            continue;
        for (const SpellEffect& e : s->effects) {
            if (e.effect == kEffectFortifyAttribute && e.attribute >= 0 &&
                e.attribute < kGameAttributeCount)
                add(out.fortifyAttribute[e.attribute], e.magnitudeMin);
            else if (e.effect == kEffectFortifyMaximumMagicka)
                add(out.fortifyMaximumMagicka, e.magnitudeMin);
        }
    }
    return out;
}

GameContent loadGameContent(const LoadOrder& order) {
    GameContent game;
    game.encoding = order.encoding;
    for (const LoadOrderEntry& e : order.files) {
        if (!e.found()) {
            game.problems.append(
                {e.name, {}, QStringLiteral("the file is not in the game's data folders")});
            continue;
        }
        const ContentFile c = readContentFile(e.path, order.encoding);
        if (!c.ok()) {
            game.problems.append({e.name, e.path, c.error});
            continue;
        }
        game.add(c, e.name, e.path);
    }
    return game;
}

} // namespace tarvo::gamefiles
