// The path suggestions of a specialization (Data/paths/<Class>.ini): four
// lists of guilds, quests, important quests and a house, each entry with a
// description, a reason and an online link; and the working copy of the
// character kept while they are on show.
#pragma once

#include <QString>
#include <QStringList>

namespace tarvo {

class Character;

// The suggestion file of a specialization ("Combat", "Magic", "Stealth").
QString pathSuggestionFile(const QString& specialization);

// The entries of a list: prefix "SG", "SQ" or "IQ" gives every value of its
// title section in file order; "H" gives the one entry Title0 of HTitle.
QStringList pathEntries(const QString& file, const QString& prefix);

// One text of entry n of a list: part "Description", "Why" or "Link"
// (section <prefix><part>, key <part><n>); empty when missing.
QString pathText(const QString& file, const QString& prefix, const QString& part, int n);

// Data/~pathprofile.mwc where the program writes it.
QString pathWorkingCopy();
// Writes the character to its working copy whole, leaving ChangesMade as it
// is (this is no save of the user's). False when it could not be written.
bool writePathWorkingCopy(const Character& c);
void removePathWorkingCopy();

} // namespace tarvo
