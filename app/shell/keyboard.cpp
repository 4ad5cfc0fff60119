#include "keyboard.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QDialog>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QSet>
#include <QTextEdit>
#include <QTimer>

namespace tarvo {

namespace {

bool isEnterKey(const QKeyEvent* key) {
    return (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
           !(key->modifiers() & ~Qt::KeypadModifier);
}

// A button that Enter presses: push and tool buttons. Check boxes and option
// buttons keep Space for themselves and let Enter reach the default button.
bool pressesOnEnter(const QWidget* w) {
    return qobject_cast<const QAbstractButton*>(w) && !qobject_cast<const QCheckBox*>(w) &&
           !qobject_cast<const QRadioButton*>(w);
}

// The item view w is, or whose viewport it is; nullptr for anything else
// and for the lists of pop-ups (drop-down lists, completers), which handle
// Enter themselves.
QAbstractItemView* itemViewOf(QWidget* w) {
    for (int up = 0; w && up < 2; ++up, w = w->parentWidget())
        if (auto* v = qobject_cast<QAbstractItemView*>(w))
            return v->window()->windowType() == Qt::Popup ? nullptr : v;
    return nullptr;
}

bool takesEnterItself(const QWidget* w) {
    if (auto* t = qobject_cast<const QPlainTextEdit*>(w))
        return !t->isReadOnly();
    if (auto* t = qobject_cast<const QTextEdit*>(w))
        return !t->isReadOnly();
    return false;
}

QPushButton* visibleDefaultButton(QWidget* window) {
    const auto buttons = window->findChildren<QPushButton*>();
    for (QPushButton* b : buttons)
        if (b->isDefault() && b->isVisible() && b->isEnabled() && b->window() == window)
            return b;
    return nullptr;
}

// The buttons that share b's Tab stop: its button group, or its
// auto-exclusive siblings.
QList<QAbstractButton*> tabStopGroup(QAbstractButton* b) {
    QList<QAbstractButton*> out;
    if (!b->isCheckable())
        return out;
    if (QButtonGroup* g = b->group()) {
        if (g->exclusive())
            out = g->buttons();
    } else if (b->autoExclusive() && b->parentWidget()) {
        const auto siblings =
            b->parentWidget()->findChildren<QAbstractButton*>(Qt::FindDirectChildrenOnly);
        for (QAbstractButton* s : siblings)
            if (s->autoExclusive() && s->isCheckable())
                out.append(s);
    }
    return out;
}

// An exclusive group keeps one Tab stop: the button that has the focus,
// else the checked one, else the first; only enabled buttons on show count.
// Qt leaves it on the button that last had the focus (or, before the group
// first had it, on every button), so Tab could enter a group on a button
// that is not chosen, or on a disabled one and drop the group out of Tab.
void keepTabStop(const QList<QAbstractButton*>& group) {
    if (group.size() < 2)
        return;
    QAbstractButton* checked = nullptr;
    QAbstractButton* first = nullptr;
    QAbstractButton* focused = nullptr;
    for (QAbstractButton* b : group) {
        if (!b->isEnabled() || b->isHidden())
            continue;
        if (!first)
            first = b;
        if (b->isChecked())
            checked = b;
        if (b->hasFocus())
            focused = b;
    }
    QAbstractButton* stop = focused ? focused : checked ? checked : first;
    if (!stop)
        return;
    for (QAbstractButton* b : group) {
        const Qt::FocusPolicy p = b->focusPolicy();
        const Qt::FocusPolicy want =
            b == stop ? Qt::FocusPolicy(p | Qt::TabFocus) : Qt::FocusPolicy(p & ~Qt::TabFocus);
        if (want != p)
            b->setFocusPolicy(want);
    }
}

// Every group of option buttons in window, each once.
void keepTabStops(QWidget* window) {
    QSet<QAbstractButton*> done;
    const auto buttons = window->findChildren<QAbstractButton*>();
    for (QAbstractButton* b : buttons) {
        if (done.contains(b) || !b->isCheckable())
            continue;
        const QList<QAbstractButton*> group = tabStopGroup(b);
        for (QAbstractButton* g : group)
            done.insert(g);
        keepTabStop(group);
    }
}

bool isOrdinaryWindow(const QWidget* w) {
    const Qt::WindowType t = w->windowType();
    return w->isWindow() && (t == Qt::Window || t == Qt::Dialog) &&
           !w->testAttribute(Qt::WA_ShowWithoutActivating);
}

class KeyboardRules : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* w = qobject_cast<QWidget*>(watched);
        if (!w)
            return false;
        switch (event->type()) {
        case QEvent::KeyPress:
            return keyPressed(w, static_cast<QKeyEvent*>(event));
        case QEvent::EnabledChange:
            if (auto* b = qobject_cast<QAbstractButton*>(w))
                keepTabStop(tabStopGroup(b));
            if (w->isWindow() && w->isEnabled())
                QTimer::singleShot(0, this, [this] { returnFocus(); });
            break;
        case QEvent::Show:
            if (isOrdinaryWindow(w)) {
                m_returns.removeIf([w](const Return& r) { return r.window == w; });
                QWidget* had = QApplication::focusWidget();
                if (had && had->window() != w)
                    m_returns.append(Return{w, had});
            }
            break;
        case QEvent::Hide:
            if (isOrdinaryWindow(w))
                QTimer::singleShot(0, this, [this] { returnFocus(); });
            break;
        default:
            break;
        }
        return false;
    }

private:
    bool keyPressed(QWidget* w, QKeyEvent* key) {
        // The choice a group shows may have changed without a click (a
        // loaded file): Tab enters each group on it.
        if ((key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) && w->hasFocus())
            keepTabStops(w->window());
        if (!isEnterKey(key))
            return false;
        if (w->hasFocus() && pressesOnEnter(w)) {
            if (w->isEnabled())
                static_cast<QAbstractButton*>(w)->click();
            return true;
        }
        // The rest is decided where the key arrives when no control used
        // it: at the window.
        if (!w->isWindow())
            return false;
        QWidget* focus = QApplication::focusWidget();
        if (focus && focus->window() == w) {
            // The list has signalled activated (Qt's Enter); it also does
            // what a double-click does, as windows may answer either.
            if (QAbstractItemView* v = itemViewOf(focus)) {
                if (v->currentIndex().isValid())
                    emit v->doubleClicked(v->currentIndex());
                return true;
            }
            if (takesEnterItself(focus))
                return false;
        }
        if (qobject_cast<QDialog*>(w))
            return false; // dialogues press their default button themselves
        if (QPushButton* b = visibleDefaultButton(w)) {
            b->click();
            return true;
        }
        return false;
    }

    // Gives the focus back to the control that had it before a window that
    // has now gone, once that control can take it (a window disabled while
    // the other was open is enabled a moment later).
    void returnFocus() {
        for (int i = m_returns.size() - 1; i >= 0; --i) {
            const Return& r = m_returns[i];
            if (!r.window || !r.control) {
                m_returns.removeAt(i);
                continue;
            }
            if (r.window->isVisible())
                continue;
            QWidget* c = r.control;
            if (!c->isVisible() || !c->window()->isVisible()) {
                m_returns.removeAt(i);
                continue;
            }
            // Something put the focus elsewhere in the meantime (a step
            // change after a load): that stays.
            if (QWidget* now = c->window()->focusWidget(); now && now != c) {
                m_returns.removeAt(i);
                if (!QApplication::activeWindow())
                    c->window()->activateWindow();
                continue;
            }
            if (!c->isEnabled())
                continue; // again when its window is enabled
            m_returns.removeAt(i);
            c->window()->activateWindow();
            c->setFocus(Qt::OtherFocusReason);
        }
    }

    struct Return {
        QPointer<QWidget> window;
        QPointer<QWidget> control;
    };
    QList<Return> m_returns;
};

} // namespace

void installKeyboardRules() {
    static QPointer<KeyboardRules> rules;
    if (rules || !qApp)
        return;
    rules = new KeyboardRules(qApp);
    qApp->installEventFilter(rules);
}

bool focusFirstControl(QWidget* container) {
    keepTabStops(container->window());
    QWidget* w = container;
    while ((w = w->nextInFocusChain()) != container) {
        if (!container->isAncestorOf(w))
            continue;
        if ((w->focusPolicy() & Qt::TabFocus) && w->isVisibleTo(container->window()) &&
            w->isEnabled() && !w->focusProxy()) {
            w->setFocus(Qt::TabFocusReason);
            return true;
        }
    }
    return false;
}

} // namespace tarvo
