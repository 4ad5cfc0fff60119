#include "htmlroute.h"

#include "platform.h"

namespace tarvo {

void openHtmlOutput(QWidget* from) {
    Q_UNUSED(from);
    msgBox(QStringLiteral("HTML output is not yet available in this version of TARVO2. You can "
                          "save your profile as a text file or copy it to the clipboard "
                          "instead."),
           MsgButtons::OK, MsgIcon::Information);
}

} // namespace tarvo
