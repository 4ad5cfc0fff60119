// The program's look for keyboard focus: every control that has the focus
// shows a ring two pixels wide in black or white, whichever stands out more
// against what lies under it (at least 4.5:1), in place of the platform's
// faint outline. The default button keeps its own mark and shows the ring
// like any other button when it has the focus.
#pragma once

class QColor;
class QPainter;
class QRect;

namespace tarvo {

// Puts the focus style over the application's style (once; later calls do
// nothing).
void installFocusStyle();

// The ring colour that stands out most against surface: black or white.
QColor focusRingColour(const QColor& surface);

// The contrast ratio of two colours, from 1 to 21.
double contrastRatio(const QColor& a, const QColor& b);

} // namespace tarvo
