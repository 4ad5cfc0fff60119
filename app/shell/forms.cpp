#include "forms.h"

#include "standin.h"

#include <QPointer>

namespace tarvo {

namespace {
template <typename T> T* loadOnce(QPointer<T>& slot) {
    if (!slot)
        slot = new T;
    return slot;
}
QPointer<frmWelcome> g_welcome;
QPointer<frmMain> g_main;
QPointer<frmProgress> g_progress;
} // namespace

namespace forms {
frmWelcome* welcome() {
    return loadOnce(g_welcome);
}
frmMain* main() {
    return loadOnce(g_main);
}
frmProgress* progress() {
    return loadOnce(g_progress);
}
frmWelcome* welcomeIfLoaded() {
    return g_welcome;
}
frmMain* mainIfLoaded() {
    return g_main;
}
frmProgress* progressIfLoaded() {
    return g_progress;
}
} // namespace forms

void PlaceProgressBesideMain() {
    QWidget* m = forms::main();
    QWidget* p = forms::progress();
    const QRect mf = m->frameGeometry();
    p->move(mf.left() - p->frameGeometry().width(), mf.top());
}

void CloseAndContinue(QWidget* form, const QString& formName) {
    if (formName == QLatin1String("frmSplash")) {
        forms::welcome()->show();
    } else {
        QWidget* m = forms::main();
        QWidget* p = forms::progress();
        m->show();
        p->show();
        m->show();
        m->raise();
        m->activateWindow();
        PlaceProgressBesideMain();
    }
    if (form) {
        form->hide();
        form->close();
    }
}

} // namespace tarvo
