// The program's windows. Each exists at most once; asking for one creates it
// when needed (its load runs then), as the windows refer to each other by
// name.
#pragma once

#include <QList>
#include <QString>

class QWidget;

#include <functional>

class QKeyEvent;

namespace tarvo {

class frmWelcome;
class frmMain;
class frmProgress;
class frmLoad;

namespace forms {

frmWelcome* welcome();
frmMain* main();
frmProgress* progress();
frmLoad* load();

// The window if it is loaded, without loading it.
frmWelcome* welcomeIfLoaded();
frmMain* mainIfLoaded();
frmProgress* progressIfLoaded();
frmLoad* loadIfLoaded();

// Closes every window without its closing questions (tests, program end).
void unloadAll();

} // namespace forms

// Hands over from one window to the next: after the splash the welcome
// window; otherwise the main window with the progress window against its
// left edge, tops level. Then form is hidden and unloaded.
void CloseAndContinue(QWidget* form, const QString& formName);

// Hides the windows in behind once front is the active window (at the
// latest half a second after this call, for a desktop that never activates
// it). Hidden before, the active one among them would pass the activation on
// to the others first, and a screen reader would announce windows the user
// did not open.
void hideBehind(QWidget* front, const QList<QWidget*>& behind);

// Shows the main and the progress window again and activates the main
// window: the progress window first, so that the activation goes to the main
// window alone.
void showWizardWindowsAgain();

// Places the progress window against the left edge of the main window.
void PlaceProgressBesideMain();

// The keys the main and the progress window share: Ctrl+O opens a profile,
// Ctrl+S goes to the output step, Ctrl+T opens the character sheet, Ctrl+W
// calls switchWindow. True when the key was one of them.
bool HandleSharedShortcut(const QKeyEvent* key, const std::function<void()>& switchWindow);

} // namespace tarvo
