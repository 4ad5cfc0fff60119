// The program folder (AppFolder): the binaries with Data, Images, Help,
// Templates and downloads beside them. Every file the program touches is
// this folder followed by a relative path.
#pragma once

#include <QString>
#include <optional>

namespace tarvo {

// The folder of the running program, without a trailing separator.
QString appFolder();
// Points the program at another folder (tests, a relocated install).
void setAppFolder(const QString& folder);

// AppFolder followed by a relative path written with either separator and in
// any letter case, resolved to the file that really exists.
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
// file, if any, stays as it is: installed mode.
bool isPortable();
// Forces the mode for tests; no value returns to checking the folder.
void setPortableOverride(std::optional<bool> portable);
// The folder that holds the files the program writes: AppFolder in portable
// mode, the per-user data folder otherwise.
QString userDataFolder();
// Points the per-user data folder elsewhere (tests); empty restores it.
void setUserDataFolder(const QString& folder);

// Where the program writes the file at a relative path. In installed mode the
// folders leading to it are made; with seedFromShipped, a file that has no
// per-user copy yet starts as a copy of the shipped one, so that writing one
// key keeps every other key (settings, versions).
QString writablePath(const QString& relative, bool seedFromShipped = false);
// Where the program reads a file that it may also write: the per-user copy
// when there is one, else the shipped file.
QString readablePath(const QString& relative);

} // namespace tarvo
