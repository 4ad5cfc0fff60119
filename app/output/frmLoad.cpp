#include "frmLoad.h"

#include "appinfo.h"
#include "shell/twips.h"

namespace tarvo {

frmLoad::frmLoad() {
    setObjectName(QStringLiteral("frmLoad"));
    setWindowTitle(QStringLiteral("Load Template"));
    setAttribute(Qt::WA_DeleteOnClose);
    paintBlue(this);
}

} // namespace tarvo
