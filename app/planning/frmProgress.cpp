#include "frmProgress.h"

#include "appinfo.h"
#include "shell/twips.h"

#include <QCloseEvent>

namespace tarvo {

frmProgress::frmProgress() {
    setObjectName(QStringLiteral("frmProgress"));
    setWindowTitle(QStringLiteral("Your Progress"));
    paintBlue(this);
    resize(twipsSize(3600, 6015));
}

void frmProgress::runTaskReminder() {}
void frmProgress::SwitchWindow() {}

void frmProgress::closeEvent(QCloseEvent* event) {
    if (m_allowClose) {
        event->accept();
        return;
    }
    event->ignore();
    hide();
}

} // namespace tarvo
