// The player's game as this program's tables: the rules the character sheet
// and the level planner compute with (the game's numbers wherever it has
// them, the original game's elsewhere, and where each came from), and the
// game's playable classes as templates for the loader.
//
// The wizard's races and birthsigns are matched with the game's records by
// the game's ids ("Dark Elf", "Khajiit", "Fay", "Lady's Favor", ...), or else
// by the name the game shows ("The Mage"). The game numbers skills and
// attributes its own way; skillFromGame turns a skill's number into its place
// in skills(); attributes are in the same order in both.
#pragma once

#include "gamefiles/gamecontent.h"
#include "rules.h"

#include <QByteArray>
#include <QList>

namespace tarvo::gamefiles {

// The game's id of a race of races() or a birthsign of birthsigns().
QString gameRaceId(int race);
QString gameBirthsignId(int birthsign);
// The place in skills() of the game's skill number, -1 when there is none.
int skillFromGame(int gameSkill);

// The files that count, masters by name and plugins counted:
// "Morrowind.esm, Tribunal.esm, Bloodmoon.esm and 3 plugins".
QString describeFiles(const GameContent& game);

// The rules of the player's game. An item the game lacks (a race, a
// birthsign, a setting, a skill) keeps the original game's numbers, and the
// origin says so; a value out of any sensible range does too.
GameRules rulesFromGame(const GameContent& game);

// How a spell and its effects read on the sheet: its kind (only abilities
// are constant effects; powers and spells are cast), its name and its
// effects in words ("Resist Fire 75%").
Special specialFromSpell(const Spell& spell);
QString effectText(const SpellEffect& effect);

// The game's playable classes, ordered by their names.
QList<const Versioned<GameClass>*> playableClasses(const GameContent& game);
// The name a class is listed under.
QString className(const GameClass& c);
// A class as a template in the profile format: the class's name,
// specialization, favourite attributes and skills, with a description for
// the loader; no race, birthsign or names.
QByteArray classTemplate(const GameContent& game, const Versioned<GameClass>& c,
                         const QString& date);

} // namespace tarvo::gamefiles
