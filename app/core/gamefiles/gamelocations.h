// Where a player's game usually is: OpenMW's user configuration, and the
// game folder of the common stores (Steam, GOG through Heroic or Lutris),
// Wine and Bottles prefixes and, on Windows, the usual installation folders.
// Only places that hold a game are offered; the player confirms one.
#pragma once

#include "gamefiles/loadorder.h"

#include <QList>
#include <QString>

namespace tarvo::gamefiles {

struct GameLocation {
    enum class Kind { MorrowindFolder, OpenMWConfig };
    Kind kind = Kind::MorrowindFolder;
    QString path;          // the game folder, or the openmw.cfg file
    QString source;        // where it was found: "OpenMW", "Steam", "Heroic", "Wine", ...
    OpenMWFolders folders; // OpenMW's folders that belong to this configuration
    LoadOrder loadOrder() const;
};

// Whether a folder looks like the game's own: it holds Morrowind.ini or
// "Data Files/Morrowind.esm" (any letter case).
bool isGameFolder(const QString& folder);

// Every usual place under home (and the system's own on Windows) that holds
// a game or an OpenMW configuration, OpenMW first, each place once.
QList<GameLocation> findGameLocations(const QString& home);

} // namespace tarvo::gamefiles
