// Positions and sizes are designed in twips: 15 twips make a pixel at
// 96 DPI, scaled with the screen's logical DPI.
#pragma once

#include <QColor>
#include <QPoint>
#include <QRect>
#include <QSize>

class QWidget;

namespace tarvo {

int twips(int tw);
inline QSize twipsSize(int w, int h) {
    return {twips(w), twips(h)};
}
inline QRect twipsRect(int left, int top, int w, int h) {
    return {twips(left), twips(top), twips(w), twips(h)};
}
int toTwips(int pixels);

// The blue of the program's windows and frames (&HC56A31).
inline const QColor kWindowBlue(49, 106, 197);

// Gives a window or frame the program's blue with white text.
void paintBlue(QWidget* w);

} // namespace tarvo
