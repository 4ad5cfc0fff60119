#include "frmWelcome.h"

#include "appinfo.h"
#include "twips.h"

namespace tarvo {

frmWelcome::frmWelcome() {
    setObjectName(QStringLiteral("frmWelcome"));
    setWindowTitle(QStringLiteral("Welcome to ") + kProgramTitle);
    setAttribute(Qt::WA_DeleteOnClose);
    paintBlue(this);
    resize(twipsSize(8300, 5600));
}

} // namespace tarvo
