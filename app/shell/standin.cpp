#include "standin.h"

#include "appinfo.h"
#include "twips.h"

#include <QLabel>
#include <QVBoxLayout>

namespace tarvo {

namespace {
void fill(QWidget* w, const QString& name, const QString& text) {
    w->setObjectName(name);
    w->setWindowTitle(kProgramTitle);
    w->setAttribute(Qt::WA_DeleteOnClose);
    paintBlue(w);
    auto* layout = new QVBoxLayout(w);
    auto* label = new QLabel(text, w);
    label->setWordWrap(true);
    layout->addWidget(label);
    w->resize(twipsSize(6000, 2000));
}
} // namespace

frmWelcome::frmWelcome() {
    fill(this, QStringLiteral("frmWelcome"),
         QStringLiteral("TARVO2 has started. The welcome window, with its ways to begin a "
                        "character, comes next."));
}

frmMain::frmMain() {
    fill(this, QStringLiteral("frmMain"), QStringLiteral("The character wizard comes next."));
}

frmProgress::frmProgress() {
    fill(this, QStringLiteral("frmProgress"), QStringLiteral("Your Progress"));
}

} // namespace tarvo
