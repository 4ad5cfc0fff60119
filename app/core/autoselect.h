// AutoSelect: suggestions of race, favourite attributes, skills and
// birthsign for the chosen specialization, made through the character's own
// operations exactly as the user's clicks are.
#pragma once

#include <QString>

namespace tarvo {

class Character;

class AutoSelector {
public:
    enum class Outcome {
        Done,            // a suggestion was applied (or nothing fitted)
        NoClass,         // no specialization: the "Class not selected!" balloon is due
        MajorAlreadySet, // the major-skills message is due
        MinorAlreadySet  // the minor-skills message is due
    };

    // The press of AutoSelect button index (0 race, 1 attributes, 2 skills,
    // 3 birthsign).
    Outcome click(Character& c, int index);
    // Task "Race", "FavAtts", "Skills" or "Birthsign"; anything else does nothing.
    Outcome AutoSelect(Character& c, const QString& task);

    // Positions in the suggestion lists; they live as long as the main window.
    int RaceCycle = 0;
    int FavAttCycle = 0;
    int BirthsignCycle = 0;
};

} // namespace tarvo
