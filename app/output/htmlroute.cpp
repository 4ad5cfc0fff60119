#include "htmlroute.h"

#include "output/frmHTML.h"

namespace tarvo {

void openHtmlOutput(QWidget* from) {
    // The wizard hides and disables the main and progress windows itself.
    Q_UNUSED(from);
    ShowHtmlWizard();
}

} // namespace tarvo
