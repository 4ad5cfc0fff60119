// The settings file Data/Settings.ini, the versions file Data/versions.ini
// and the start-up steps that read and record them.
#pragma once

#include <QString>
#include <functional>

namespace tarvo {

// Paths of the files this module owns. The settings, versions and
// installations files are written by the program, so each has two: the file
// to read (the user's own copy when there is one, else the shipped file) and
// the file to write (in installed mode the user's own copy, which starts as a
// copy of the shipped file). Every write of a setting goes to
// writableSettingsFile().
QString settingsFile();
QString writableSettingsFile();
QString pristineSettingsFile();
QString versionsFile();
QString writableVersionsFile();
QString installationsFile();
QString writableInstallationsFile();
QString externalLinksFile();

// The player's own game (section Game of the settings file), as the "Your
// game" page of the options or the sheet's first-use question chose it.
struct GameChoice {
    // iniUseGame "Yes": the sheet and the planner take their numbers from the
    // game at path; otherwise from the original game's tables.
    bool useGame = false;
    // iniGamePath: the game's folder (Morrowind.ini and Data Files) or an
    // openmw.cfg file. Kept when the original tables are chosen.
    QString path;
    // iniOpenMWUserData: OpenMW's user data folder for that configuration;
    // empty for the usual one.
    QString openmwUserData;
    // iniGameAsked "Yes": the sheet has offered the game it found, once.
    bool asked = false;
    friend bool operator==(const GameChoice&, const GameChoice&) = default;
};
GameChoice readGameChoice();
// Writes every key of the choice; false when the settings file could not be
// written.
bool writeGameChoice(const GameChoice& choice);

// Records this program's version under "program" in Data/versions.ini,
// leaving every other item's version as it is.
bool WriteProgramVersion();

// Fills the step tasks and reads the settings into the shared variables.
// status receives each progress text in turn. An empty domain reports the
// settings problem (which may end the program).
void LoadSettingsFile(const std::function<void(const QString&)>& status);

} // namespace tarvo
