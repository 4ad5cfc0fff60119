// The program folder (AppFolder): the binaries with Data, Images, Help,
// Templates and downloads beside them. Every file the program touches is
// this folder followed by a relative path.
//
// Both programs (prjTARVO2 and update) link this through the INI library,
// so they agree on where each file lives.
#pragma once

#include <QString>
#include <optional>

namespace tarvo {

// The folder of the running program, without a trailing separator.
QString appFolder();
// Points the program at another folder (tests, a relocated install).
void setAppFolder(const QString& folder);

// AppFolder followed by a relative path written with either separator and in
// any letter case, resolved to the file that really exists. In installed
// mode (below) a file that the user's own data folder holds at the same
// relative path (a downloaded update) is taken instead of the shipped one;
// folders are always the shipped ones.
QString appPath(const QString& relative);

// The name of a program file in AppFolder as the platform spells it:
// "update" becomes "update.exe" on Windows and stays "update" elsewhere, and
// "update.exe" becomes "update" off Windows.
QString executableName(const QString& name);

// Files the program writes (settings, versions, working files, downloads).
// When the program folder can be written (the staged build, an unpacked
// archive, Windows) they live in it, as every other file does: portable
// mode. When it cannot (installed under /usr or /opt), each of them lives at
// the same relative path under the user's own data folder, and the shipped
// file, if any, stays as it is: installed mode. A folder holding the file
// ".installed" (which `cmake --install` and the package put there) is always
// in installed mode. The folder is looked at once; setting the program
// folder, the user folder or the override makes the next call look again.
bool isPortable();
// Forces the mode for tests; no value returns to checking the folder.
void setPortableOverride(std::optional<bool> portable);
// The folder that holds the files the program writes: AppFolder in portable
// mode, the per-user data folder otherwise (the generic data location
// followed by "TARVO2", ~/.local/share/TARVO2 on Linux, whichever of the two
// programs asks).
QString userDataFolder();
// Points the per-user data folder elsewhere (tests); empty restores it.
void setUserDataFolder(const QString& folder);

// Where the program writes the file at a relative path. In installed mode the
// folders leading to it are made, spelled as the shipped ones are; with
// seedFromShipped, a file that has no per-user copy yet starts as a copy of
// the shipped one, so that writing one key keeps every other key (settings,
// versions). Nothing else is copied. A relative path with a ".." part gets
// an empty path, which no write accepts: nothing is written outside.
QString writablePath(const QString& relative, bool seedFromShipped = false);
// Where the program reads a file that it may also write: the per-user copy
// when there is one, else the shipped file.
QString readablePath(const QString& relative);
// Deletes a file that the program wrote (a working file): the per-user copy
// in installed mode, never a shipped file. True when no such file is left;
// false for a relative path with a ".." part, which is left alone.
bool removeWrittenFile(const QString& relative);
// The names of the files in a folder of the program that match one of the
// patterns: the shipped ones and, in installed mode, those that arrived in
// the user's copy of the folder (downloads). Each name once, whatever its
// letter case, in alphabetical order regardless of case. appPath of the
// folder and a name gives the file that is read.
QStringList folderFiles(const QString& relativeFolder, const QStringList& patterns);
// Where the dialogs that save or open the user's own files (profiles, text
// files, HTML pages) start: AppFolder in portable mode, where such files
// stay with the program; the user's documents folder in installed mode, whose
// program folder takes no files.
QString dialogFolder();

} // namespace tarvo
