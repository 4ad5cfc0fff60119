// The game's fixed vocabulary: races, genders, specializations, attributes,
// skills, birthsigns and the nine wizard steps. Every window shows these in
// the index order given here; names double as profile values and as the
// stems of description file names.
#pragma once

#include <QString>
#include <QStringList>

namespace tarvo {

// Races, option index 0 to 9.
const QStringList& races();
// Genders, list position 0 ("Male", the default) and 1.
const QStringList& genders();
// Specializations (the character's "Class"), option index 0 to 2.
const QStringList& specializations();
// Attributes, option index 0 to 7.
const QStringList& attributes();
// The 27 skills in list order: Combat (0-8), Magic (9-17), Stealth (18-26).
const QStringList& skills();
// The nine skills of one specialization (0 Combat, 1 Magic, 2 Stealth).
QStringList skillsOf(int specialization);
// The specialization (0..2) a skill belongs to, or -1 for an unknown name.
int specializationOfSkill(const QString& skill);
// Position of a skill in the game's order, or -1.
int skillOrder(const QString& skill);
// Birthsigns, option index 0 to 12.
const QStringList& birthsigns();
// Step button captions "One" to "Nine".
const QStringList& stepWords();
// The task of each wizard step, index 0 to 8.
const QStringList& stepTasks();

} // namespace tarvo
