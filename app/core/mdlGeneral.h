// Procedures that several windows share: the settings repair offer, starting
// the setup and uninstall programs, and opening the offline or online help
// and library. (The balloon tip and the window hand-over live with the
// windows.)
#pragma once

namespace tarvo {

// Offers to repair the settings file; on OK repairs it and ends the program.
void ReportSettingsProblem();
// Copies the pristine settings over Data/Settings.ini (the user's own copy in
// installed mode, the shipped file stays as it is); on failure offers a
// reinstall.
void RepairSettingsFile();
// Asks, then starts the setup program and ends.
void StartReinstall();
// Asks, then starts the uninstaller and ends.
void StartUninstall();
// Opens the offline help, or offers the online help.
void OpenHelp();
// Opens the offline library, or offers the online library.
void OpenLibrary();
// Opens the online help page.
void OpenOnlineHelp();

} // namespace tarvo
