// Saving the character as a profile and opening the loader: the commands of
// the main window that reach the profile files.
#pragma once

#include <QString>

namespace tarvo {

// Writes the current character and tasks to fileName, or asks for a name
// first when it is empty. True when the profile was written; false when the
// user cancelled or the file could not be written (the user was told).
bool SaveInformation(const QString& fileName);

// The save dialogs; an empty result when the user cancels.
QString GetSaveAsName(const QString& proposedName, const QString& folder);
QString GetSaveAsNameTextFile(const QString& proposedName, const QString& folder);

// Opens the loader for "Profile" (browse at once) or "Template".
void OpenLoaderFor(const QString& task);

} // namespace tarvo
