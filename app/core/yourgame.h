// The player's own game as the source of the current rules. The game the
// settings name (settings.h, GameChoice) is read when something first needs
// its numbers (the character sheet and its planner, the loader), never at
// start-up, and again only when the choice changes. Without a chosen game,
// or when it cannot be read, the original game's tables are the rules; the
// note on the sheet then names the file and the reason.
#pragma once

#include "gamefiles/gamecontent.h"
#include "gamefiles/gamelocations.h"
#include "settings.h"

#include <QList>

#include <memory>

namespace tarvo {

// A game as read for a choice: its load order and what the files hold.
struct GameRead {
    gamefiles::LoadOrder order;
    std::shared_ptr<const gamefiles::GameContent> content;
    // Why nothing of the game can be used; empty when some file counts.
    QStringList failures() const;
};

// Reads the game a choice points at (without using it).
GameRead readGame(const GameChoice& choice);

// Makes the current rules those of the chosen game (reading it when it is
// not read yet or the choice changed), or the original game's. Cheap when
// nothing changed; windows hear of a change through rulesNotifier().
void useChosenGame();

// The game whose rules are current, or nothing when the original tables are.
std::shared_ptr<const gamefiles::GameContent> gameInUse();

// Stores a choice and, when the game's numbers were in use or are wanted
// now, uses it at once (read gives a game already read for it). False when
// the settings file could not be written; nothing changes then.
bool chooseGame(const GameChoice& choice, const GameRead& read = {});

// The choice that uses the game at a place found.
GameChoice choiceFor(const gamefiles::GameLocation& place);

// The usual places a game lies, looked for under the home folder.
QList<gamefiles::GameLocation> findYourGame();
// The home folder those places are looked for under (tests point it at a
// folder of their own); empty restores the user's home.
QString gameSearchHome();
void setGameSearchHome(const QString& home);

// The sheet's first-use question: when no game has been chosen and one lies
// in a usual place, offers it (once, remembered in the settings); Yes uses
// it. Nothing is asked when nothing is found.
void offerFoundGameOnce();

} // namespace tarvo
