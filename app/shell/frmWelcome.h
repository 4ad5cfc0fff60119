// The welcome window: the ways to begin a character and two outward links.
#pragma once

#include <QWidget>

namespace tarvo {

class frmWelcome : public QWidget {
    Q_OBJECT
public:
    frmWelcome();
};

} // namespace tarvo
