// An option button that takes a click anywhere on its control, as the caption
// area it is drawn with suggests, not only on its dot and text.
#pragma once

#include <QRadioButton>

namespace tarvo {

class OptionButton : public QRadioButton {
public:
    using QRadioButton::QRadioButton;

protected:
    bool hitButton(const QPoint& pos) const override { return rect().contains(pos); }
};

} // namespace tarvo
