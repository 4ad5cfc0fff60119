#include "forms.h"

#include "frmBubbleD.h"
#include "frmWelcome.h"
#include "output/frmLoad.h"
#include "output/textoutput.h"
#include "planning/frmProgress.h"
#include "planning/frmSheet.h"
#include "wizard/frmMain.h"

#include <QElapsedTimer>
#include <QKeyEvent>
#include <QPointer>
#include <QScreen>
#include <QTimer>

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
    const QRect pf = p->frameGeometry();
    const QScreen* s = m->screen();
    if (!s) {
        p->move(mf.left() - pf.width(), mf.top());
        return;
    }
    // Room for the progress window on the left comes first; the main window
    // moves right for it, but both always stay whole on the screen, where a
    // narrow screen makes the progress window overlap the main window.
    const QRect avail = s->availableGeometry();
    int left = qMax(mf.left(), avail.left() + pf.width());
    left = qMax(avail.left(), qMin(left, avail.right() + 1 - mf.width()));
    const int lowest = avail.bottom() + 1 - qMax(mf.height(), pf.height());
    const int top = qMax(avail.top(), qMin(mf.top(), lowest));
    if (left != mf.left() || top != mf.top()) {
        m->move(left, top);
        mf.moveTo(left, top);
    }
    p->move(qMax(avail.left(), mf.left() - pf.width()), mf.top());
}

namespace {
// A window is framed by the window manager some time after it is shown, and
// only then are its frame's sizes known. Until that has happened to both
// windows (or a second has passed), the progress window is placed again
// whenever a frame changes.
class PlaceWhenFramed : public QObject {
public:
    PlaceWhenFramed() : QObject(forms::main()) {
        m_timer.setInterval(25);
        connect(&m_timer, &QTimer::timeout, this, &PlaceWhenFramed::check);
        m_timer.start();
        m_since.start();
        m_margins = margins();
    }

private:
    static QMargins frame(const QWidget* w) {
        const QRect f = w->frameGeometry();
        const QRect g = w->geometry();
        return {g.left() - f.left(), g.top() - f.top(), f.right() - g.right(),
                f.bottom() - g.bottom()};
    }
    static std::pair<QMargins, QMargins> margins() {
        return {frame(forms::main()), frame(forms::progress())};
    }
    void check() {
        if (!forms::progressIfLoaded() || !forms::main()->isVisible()) {
            deleteLater();
            return;
        }
        const auto now = margins();
        if (now != m_margins) {
            m_margins = now;
            PlaceProgressBesideMain();
        }
        const bool framed = !now.first.isNull() && !now.second.isNull();
        if ((framed && m_since.elapsed() > 200) || m_since.elapsed() > 1000) {
            m_timer.stop();
            deleteLater();
        }
    }

    QTimer m_timer;
    QElapsedTimer m_since;
    std::pair<QMargins, QMargins> m_margins;
};
} // namespace

namespace {
// Hides its windows once its front window is active, or when its time is
// up; then it goes.
class HideBehind : public QObject {
public:
    HideBehind(QWidget* front, const QList<QWidget*>& behind) : QObject(front) {
        for (QWidget* w : behind)
            if (w)
                m_behind.append(w);
        front->installEventFilter(this);
        QTimer::singleShot(500, this, [this] { hideNow(); });
    }
    void hideNow() {
        for (const QPointer<QWidget>& w : std::as_const(m_behind))
            if (w)
                w->hide();
        m_behind.clear();
        deleteLater();
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::WindowActivate)
            hideNow();
        return false;
    }

private:
    QList<QPointer<QWidget>> m_behind;
};

// Shows w without asking the window manager to activate it.
void showInactive(QWidget* w) {
    const bool was = w->testAttribute(Qt::WA_ShowWithoutActivating);
    w->setAttribute(Qt::WA_ShowWithoutActivating);
    w->show();
    w->setAttribute(Qt::WA_ShowWithoutActivating, was);
}
} // namespace

void hideBehind(QWidget* front, const QList<QWidget*>& behind) {
    auto* h = new HideBehind(front, behind);
    if (front->isActiveWindow())
        h->hideNow();
}

void showWizardWindowsAgain() {
    QWidget* m = forms::mainIfLoaded();
    if (QWidget* p = forms::progressIfLoaded())
        showInactive(p);
    if (!m)
        return;
    m->show();
    m->raise();
    m->activateWindow();
}

void CloseAndContinue(QWidget* form, const QString& formName) {
    if (formName == QLatin1String("frmSplash")) {
        forms::welcome()->show();
    } else {
        // The progress window stands beside the main one without taking the
        // activation: a screen reader announces the main window alone.
        QWidget* m = forms::main();
        QWidget* p = forms::progress();
        m->show();
        showInactive(p);
        m->show();
        m->raise();
        m->activateWindow();
        PlaceProgressBesideMain();
        new PlaceWhenFramed;
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
