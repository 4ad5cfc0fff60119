// What a screen reader meets in every window of the program, installed once
// on the application (beside the keyboard rules) so that each new window has
// it without further work:
// - each of the program's own windows is a frame, or a dialog, named by its
//   title (never a bare "filler");
// - a frame inside a window (QFrame) is a panel: to a screen reader a frame
//   is a whole window;
// - a group box is named by its own caption, not by the caption of the box
//   it lies in;
// - a drop-down list is named by its label (its accessible name, else the
//   label whose buddy it is, else its group box), never by its value, which
//   it reports as its value;
// - an option button or tick box that a screen reader toggles is clicked,
//   so the window does and shows what a click does; push buttons that act as
//   one choice of a group are option buttons.
#pragma once

#include <QString>

class QAbstractItemView;
class QWidget;

namespace tarvo {

// Installs the rules on the running application, before any rules of Qt's
// own installed so far (a later call moves them before rules installed in
// between). Call it once the QApplication is made.
void installAccessibilityRules();

// The name a screen reader gives w's label: the text of the label whose
// buddy w is, without its '&'; empty when there is none.
QString buddyLabelText(const QWidget* w);

// Names the editor that view opens in a cell after the cell's row and
// column headers ("Level 2, Strength"), as the cell itself is read.
void nameCellEditors(QAbstractItemView* view);

} // namespace tarvo
