#include "forms.h"

#include "frmBubbleD.h"
#include "frmWelcome.h"
#include "output/frmLoad.h"
#include "output/textoutput.h"
#include "planning/frmProgress.h"
#include "planning/frmSheet.h"
#include "wizard/frmMain.h"

#include <QKeyEvent>
#include <QPointer>
#include <QScreen>

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
QPointer<frmLoad> g_load;
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
frmLoad* load() {
    return loadOnce(g_load);
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
frmLoad* loadIfLoaded() {
    return g_load;
}

void unloadAll() {
    UnloadBubble();
    unloadTextOutputWindows();
    delete g_load.data();
    delete g_welcome.data();
    delete g_progress.data();
    delete g_main.data();
}
} // namespace forms

void PlaceProgressBesideMain() {
    QWidget* m = forms::main();
    QWidget* p = forms::progress();
    QRect mf = m->frameGeometry();
    const int width = p->frameGeometry().width();
    // On a small screen the main window moves right so that the progress
    // window does not start off the screen's left edge (where many window
    // systems would push it back and part the two).
    if (const QScreen* s = m->screen()) {
        const int shift = s->availableGeometry().left() - (mf.left() - width);
        if (shift > 0) {
            m->move(mf.left() + shift, mf.top());
            mf = m->frameGeometry();
        }
    }
    p->move(mf.left() - width, mf.top());
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

bool HandleSharedShortcut(const QKeyEvent* key, const std::function<void()>& switchWindow) {
    const Qt::KeyboardModifiers mods = key->modifiers();
    if (!(mods & Qt::ControlModifier) || (mods & (Qt::AltModifier | Qt::MetaModifier)))
        return false;
    switch (key->key()) {
    case Qt::Key_O:
        forms::main()->OpenFile(QStringLiteral("Profile"));
        return true;
    case Qt::Key_S:
        forms::main()->selectStep(7);
        return true;
    case Qt::Key_W:
        switchWindow();
        return true;
    case Qt::Key_T:
        showCharacterSheet();
        return true;
    default:
        return false;
    }
}

} // namespace tarvo
