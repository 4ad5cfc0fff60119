// Texts too long for their control end in "…"; the whole text is then the
// control's tool tip, and always its accessible name.
#pragma once

#include <QString>

class QLabel;
class QPushButton;

namespace tarvo {

void showElided(QLabel* label, const QString& text);
void showElided(QPushButton* button, const QString& caption);

} // namespace tarvo
