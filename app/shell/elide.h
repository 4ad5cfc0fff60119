// Texts too long for their control end in "…"; the whole text is then the
// control's tool tip, and always its accessible name (a box's value).
#pragma once

#include <QString>

class QLabel;
class QLineEdit;
class QPushButton;

namespace tarvo {

void showElided(QLabel* label, const QString& text);
void showElided(QPushButton* button, const QString& caption);
// For a read-only box: cut to its width while it has no focus; with the
// focus it holds the whole text, which the cursor keys scroll through (and a
// screen reader reads whole). The whole text is always its tool tip.
void showElided(QLineEdit* box, const QString& text);
// The whole text of a box shown with showElided.
QString wholeText(const QLineEdit* box);

} // namespace tarvo
