#include "frmMain.h"

#include "appinfo.h"
#include "shell/twips.h"

#include <QCloseEvent>
#include <QTimer>

namespace tarvo {

frmMain::frmMain() {
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(kProgramTitle);
    paintBlue(this);
    resize(twipsSize(9600, 6015));
}

frmMain::~frmMain() = default;

void frmMain::selectStep(int) {}
int frmMain::currentStep() const {
    return 0;
}
void frmMain::SwitchWindow() {}
void frmMain::startEnableTimer() {}
void frmMain::startReturnBackgroundTimer() {}
void frmMain::OpenFile(const QString&) {}
void frmMain::closeEvent(QCloseEvent* event) {
    event->accept();
}

} // namespace tarvo
