// The program-wide variables that the windows share, filled at start-up.
#pragma once

#include <QString>
#include <QStringList>

namespace tarvo {

struct Globals {
    // iniFirstRun as read at start: anything but "No" makes this a first run.
    QString FirstRun;
    // "Yes" opens the main window with its advanced panel expanded.
    QString ShowAdvancedFeatures;
    // The home web address; every online address is Domain + a page name.
    QString Domain;
    // "Character" or "Class": which names the name browser shows.
    QString NameCategory;
    // "Yes" once the wizard's Welcome command has reopened the welcome window.
    QString WelcomeReopened;
    // The task of each wizard step, index 0 to 8.
    QStringList StepTasks;
};

Globals& globals();

} // namespace tarvo
