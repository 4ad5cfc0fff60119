// Plain windows that stand for the welcome, main and progress windows until
// those are built.
#pragma once

#include <QWidget>

namespace tarvo {

class frmWelcome : public QWidget {
    Q_OBJECT
public:
    frmWelcome();
};

class frmMain : public QWidget {
    Q_OBJECT
public:
    frmMain();
};

class frmProgress : public QWidget {
    Q_OBJECT
public:
    frmProgress();
};

} // namespace tarvo
