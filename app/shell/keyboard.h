// The keyboard rules every window of the program follows, installed once on
// the application so that each new window has them without further work:
// - Enter or keypad Enter on a focused push or tool button presses it;
// - Enter in a list does the list's own action (its itemActivated) and
//   never presses the window's default button;
// - Enter anywhere else presses the window's visible default button, in
//   plain windows as in dialogues;
// - every group of option buttons keeps one Tab stop: on its chosen button
//   (else its first enabled one), so Tab enters a group on the choice;
// - when a dialogue or another window closes, the focus returns to the
//   control that had it, once that control can take it again.
#pragma once

class QWidget;

namespace tarvo {

// Installs the rules on the running application (once; later calls do
// nothing).
void installKeyboardRules();

// Moves the focus to the first control of container that takes Tab focus.
// False when there is none.
bool focusFirstControl(QWidget* container);

} // namespace tarvo
