// The settings file Data/Settings.ini, the versions file Data/versions.ini
// and the start-up steps that read and record them.
#pragma once

#include <QString>
#include <functional>

namespace tarvo {

// AppFolder paths of the files this module owns.
QString settingsFile();
QString pristineSettingsFile();
QString versionsFile();
QString installationsFile();
QString externalLinksFile();

// Records this program's version under "program" in Data/versions.ini,
// leaving every other item's version as it is.
bool WriteProgramVersion();

// Fills the step tasks and reads the settings into the shared variables.
// status receives each progress text in turn. An empty domain reports the
// settings problem (which may end the program).
void LoadSettingsFile(const std::function<void(const QString&)>& status);

} // namespace tarvo
