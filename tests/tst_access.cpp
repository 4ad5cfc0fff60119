// Every window from the keyboard and through a screen reader: each control
// that takes the focus has an accessible name and shows its focus at 3:1 or
// more; Enter, Tab and the focus behave as a user expects.
#include "character.h"
#include "globals.h"
#include "output/frmFormatting.h"
#include "output/frmHTML.h"
#include "output/frmLoad.h"
#include "output/frmPrint.h"
#include "output/profileactions.h"
#include "planning/frmPaths.h"
#include "planning/frmProgress.h"
#include "planning/frmSheet.h"
#include "planning/frmWizard.h"
#include "reftables.h"
#include "scriptedplatform.h"
#include "shell/focusstyle.h"
#include "shell/forms.h"
#include "shell/frmAbout.h"
#include "shell/frmBubbleD.h"
#include "shell/frmOptions.h"
#include "shell/frmWelcome.h"
#include "wizard/frmMain.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleOptionButton>
#include <QTabBar>
#include <QtTest>

#include <functional>
#include <memory>

using namespace tarvo;
using tarvo::test::deleteTopLevels;
using tarvo::test::findTopLevel;
using tarvo::test::ScriptedPlatform;
using tarvo::test::TempAppFolder;

namespace {

// The windows the walk visits: one line each.
const std::vector<std::pair<const char*, std::function<QWidget*()>>> kWindows = {
    {"frmWelcome", []() -> QWidget* { return forms::welcome(); }},
    {"frmMain", []() -> QWidget* { return forms::main(); }},
    {"frmProgress", []() -> QWidget* { return forms::progress(); }},
    {"frmLoad",
     []() -> QWidget* { return OpenLoaderFor(QStringLiteral("Template")), forms::load(); }},
    {"frmPrint", []() -> QWidget* { return showPrintOptions(); }},
    {"frmSheet", []() -> QWidget* { return showCharacterSheet(); }},
    {"frmFormatting", []() -> QWidget* { return frmFormatting::instance(); }},
    {"frmOptions", []() -> QWidget* { return frmOptions::instance(); }},
    {"frmAbout", []() -> QWidget* { return frmAbout::instance(); }},
    {"frmHTML", []() -> QWidget* { return ShowHtmlWizard(); }},
    {"frmWizard", []() -> QWidget* { return new frmWizard; }},
    {"frmPaths",
     []() -> QWidget* {
         return character().chooseClass(0), cmdPath_Click(), findTopLevel("frmPaths");
     }},
};

bool takesFocus(const QWidget* w) {
    return (w->focusPolicy() & Qt::TabFocus) ||
           (qobject_cast<const QAbstractButton*>(w) && w->focusPolicy() != Qt::NoFocus);
}

// The indicator of a tick box or option button, in c's own coordinates;
// empty for other controls.
QRect indicatorOf(QWidget* c) {
    auto* b = qobject_cast<QAbstractButton*>(c);
    const bool radio = qobject_cast<QRadioButton*>(c);
    if (!b || !(radio || qobject_cast<QCheckBox*>(c)))
        return {};
    QStyleOptionButton opt;
    opt.initFrom(b);
    opt.text = b->text();
    return c->style()->subElementRect(
        radio ? QStyle::SE_RadioButtonIndicator : QStyle::SE_CheckBoxIndicator, &opt, c);
}

struct FocusChange {
    int ring = -1;     // pixels whose colour changes by 3:1 or more
    int indicator = 0; // pixels of the tick box's or option's indicator that change
};

// What changes on screen when c takes the focus.
FocusChange focusChange(QWidget* c) {
    QWidget* win = c->window();
    const QRect r(c->mapTo(win, QPoint()), c->size());
    c->clearFocus();
    const QImage before = win->grab(r).toImage();
    c->setFocus(Qt::TabFocusReason);
    if (!c->hasFocus())
        return {};
    const QImage after = win->grab(r).toImage();
    c->clearFocus();
    FocusChange change{0, 0};
    const QRect indicator = indicatorOf(c);
    for (int y = 0; y < before.height(); ++y)
        for (int x = 0; x < before.width(); ++x) {
            if (contrastRatio(before.pixelColor(x, y), after.pixelColor(x, y)) >= 3.0)
                ++change.ring;
            if (indicator.contains(x, y) && before.pixel(x, y) != after.pixel(x, y))
                ++change.indicator;
        }
    return change;
}

// The mnemonic letters of the controls on show in page, and the controls
// that repeat one.
QStringList repeatedMnemonics(QWidget* page) {
    QHash<QString, QString> seen;
    QStringList repeats;
    const auto controls = page->findChildren<QWidget*>();
    for (QWidget* c : controls) {
        if (c->window() != page->window() || !c->isVisibleTo(page->window()))
            continue;
        QStringList texts;
        if (auto* b = qobject_cast<QAbstractButton*>(c))
            texts << b->text();
        else if (auto* l = qobject_cast<QLabel*>(c); l && l->buddy())
            texts << l->text();
        else if (auto* t = qobject_cast<QTabBar*>(c))
            for (int i = 0; i < t->count(); ++i)
                texts << t->tabText(i);
        for (const QString& text : texts) {
            const QString key = QKeySequence::mnemonic(text).toString();
            if (key.isEmpty())
                continue;
            if (seen.contains(key))
                repeats << QStringLiteral("%1 on %2 and %3").arg(key, seen[key], c->objectName());
            seen.insert(key, c->objectName());
        }
    }
    return repeats;
}

} // namespace

class TestAccess : public QObject {
    Q_OBJECT

    std::unique_ptr<ScriptedPlatform> m_platform;
    std::unique_ptr<TempAppFolder> m_folder;

    template <typename T = QWidget> static T* ctl(QWidget* w, const QString& name) {
        T* c = w->findChild<T*>(name);
        if (!c)
            qFatal("no control %s", qPrintable(name));
        return c;
    }
    static frmMain* openMain() {
        frmMain* m = forms::main();
        CloseAndContinue(nullptr, QStringLiteral("frmMain"));
        m->activateWindow();
        return QTest::qWaitForWindowActive(m) ? m : nullptr;
    }
    static void key(int k, Qt::KeyboardModifiers mods = {}) {
        QWidget* f = QApplication::focusWidget();
        QVERIFY(f);
        QTest::keyClick(f, Qt::Key(k), mods);
    }

private slots:
    void initTestCase() { QApplication::setQuitOnLastWindowClosed(false); }

    void init() {
        m_platform = std::make_unique<ScriptedPlatform>();
        m_folder = std::make_unique<TempAppFolder>();
        Globals& g = globals();
        g.StepTasks = stepTasks();
        g.FirstRun = QStringLiteral("No");
        g.ShowAdvancedFeatures = QStringLiteral("Yes");
        character().reset();
    }

    void cleanup() {
        deleteTopLevels({QStringLiteral("frmWizard"), QStringLiteral("frmPaths")});
        forms::unloadAll();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        m_folder.reset();
        m_platform.reset();
    }

    // Controls inside hidden pages (the wizard's steps, a hidden panel) are
    // walked with their page on show; a control hidden on purpose is not.
    void everyControlHasANameAndAVisibleFocus_data() {
        QTest::addColumn<int>("window");
        for (size_t i = 0; i < kWindows.size(); ++i)
            QTest::newRow(kWindows[i].first) << int(i);
    }
    void everyControlHasANameAndAVisibleFocus() {
        QFETCH(int, window);
        QWidget* win = kWindows[size_t(window)].second();
        win->show();
        win->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(win));
        QStringList faults;
        int walked = 0;
        const auto controls = win->findChildren<QWidget*>();
        for (QWidget* c : controls) {
            if (c->window() != win || c->isHidden() || !c->isEnabled() || !takesFocus(c) ||
                c->focusProxy())
                continue;
            // A page is shown in place of the pages it lies over.
            QList<QWidget*> shown, hidden;
            for (QWidget* p = c->parentWidget(); p != win; p = p->parentWidget()) {
                if (!p->isHidden())
                    continue;
                const auto siblings =
                    p->parentWidget()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
                for (QWidget* s : siblings)
                    if (s != p && !s->isHidden() && s->geometry().intersects(p->geometry())) {
                        s->hide();
                        hidden << s;
                    }
                p->show();
                shown.prepend(p);
            }
            QAccessibleInterface* a = QAccessible::queryAccessibleInterface(c);
            if (!a || a->text(QAccessible::Name).trimmed().isEmpty())
                faults << c->objectName() + QStringLiteral(": no accessible name");
            const FocusChange change = focusChange(c);
            const int ring = change.ring;
            if (change.indicator > 0)
                faults << QStringLiteral("%1: the focus ring changes %2 pixels of the indicator")
                              .arg(c->objectName())
                              .arg(change.indicator);
            // A tab bar's focus is its current tab's.
            auto* tabs = qobject_cast<QTabBar*>(c);
            const QSize size = tabs ? tabs->tabRect(tabs->currentIndex()).size() : c->size();
            const int outline = 2 * (size.width() + size.height()) - 4;
            if (ring < outline)
                faults << QStringLiteral("%1: focus shown by %2 pixels at 3:1, %3 needed")
                              .arg(c->objectName())
                              .arg(ring)
                              .arg(outline);
            for (QWidget* p : shown)
                p->hide();
            for (QWidget* s : hidden)
                s->show();
            ++walked;
        }
        QVERIFY(walked > 0);
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
    }

    // Alt and a letter reaches one control of a page: every window, and each
    // step of the wizard.
    void mnemonicsAreUniqueOnEachPage() {
        QStringList faults;
        for (const auto& [name, open] : kWindows) {
            QWidget* win = open();
            win->show();
            QVERIFY(QTest::qWaitForWindowExposed(win));
            if (auto* m = qobject_cast<frmMain*>(win)) {
                for (int step = 0; step < frmMain::kStepCount; ++step) {
                    m->selectStep(step);
                    for (const QString& r : repeatedMnemonics(m))
                        faults << QStringLiteral("step %1: %2").arg(step + 1).arg(r);
                }
            } else {
                for (const QString& r : repeatedMnemonics(win))
                    faults << QLatin1String(name) + QStringLiteral(": ") + r;
            }
        }
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
    }

    void keysInTheWizard() {
        frmMain* m = openMain();
        QVERIFY(m);
        // Group One keeps a Tab stop when its stop (Strength) is disabled.
        m->selectStep(3);
        ctl(m, "optFavAtt1(0)")->setFocus();
        ctl(m, "optFavAtt2(0)")->setFocus();
        key(Qt::Key_Space);
        QVERIFY(!ctl(m, "optFavAtt1(0)")->isEnabled());
        key(Qt::Key_Tab, Qt::ShiftModifier);
        QCOMPARE(QApplication::focusWidget()->parentWidget(), ctl(m, "fmeFavAtt1"));

        // The step's online link is reached with Tab and followed with Enter.
        ctl(m, "optFavAtt2(0)")->setFocus();
        for (int i = 0; i < 20 && QApplication::focusWidget()->objectName() != "lblLink(2)"; ++i)
            key(Qt::Key_Tab);
        key(Qt::Key_Return);
        QCOMPARE(m_platform->opened.size(), 1);

        // A skill chosen by the arrows shows its description.
        m->selectStep(4);
        ctl(m, "lstMjrSkills")->setFocus();
        key(Qt::Key_Down);
        const QString skill = ctl<QListWidget>(m, "lstMjrSkills")->currentItem()->text();
        QCOMPARE(ctl<QLabel>(m, "lblSkillInfoTitle")->text(), skill);
        QCOMPARE(ctl(m, "txtSkillDetails")->accessibleName(), "Skill description: " + skill);

        // The edit arrows say their state in words and answer Space.
        m->selectStep(6);
        QWidget* gender = ctl(m, "imgStatus(4)");
        QCOMPARE(gender->accessibleName(), QStringLiteral("Edit Gender"));
        QCOMPARE(gender->accessibleDescription(), ctl<QLabel>(m, "txtReview(4)")->text().trimmed());
        QCOMPARE(ctl(m, "imgStatus(5)")->accessibleDescription(), QStringLiteral("Race: not set"));
        gender->setFocus();
        key(Qt::Key_Space);
        QCOMPARE(m->currentStep(), 2);
        // A screen reader finds a button and can press it.
        m->selectStep(6);
        QAccessibleInterface* arrow = QAccessible::queryAccessibleInterface(gender);
        QCOMPARE(arrow->role(), QAccessible::Button);
        arrow->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        QCOMPARE(m->currentStep(), 2);
    }

    void theLoaderAppliesByEnterAndGivesTheFocusBack() {
        frmMain* m = openMain();
        QVERIFY(m);
        auto* load = ctl<QPushButton>(m, "cmdControls(1)");
        load->setFocus();
        m->OpenFile(QStringLiteral("Template"));
        frmLoad* l = forms::load();
        QVERIFY(QTest::qWaitForWindowActive(l));
        QTest::keyClick(l, Qt::Key_Escape);
        QTRY_VERIFY(load->hasFocus());

        m->OpenFile(QStringLiteral("Template"));
        l = forms::load();
        QVERIFY(QTest::qWaitForWindowActive(l));
        auto* list = ctl<QListWidget>(l, "lstDisplay");
        list->setFocus();
        key(Qt::Key_Down);
        key(Qt::Key_Return);
        QCOMPARE(m->currentStep(), 6);
        QVERIFY(!forms::loadIfLoaded() || !forms::load()->isVisible());
        QVERIFY(ctl<QPushButton>(m, "cmdNext(6)")->isDefault());
        QTRY_VERIFY(m->isActiveWindow() && m->isEnabled());
        QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("cmdNext(6)"));
    }

    // A notification a screen reader speaks, wholly on the screen wherever
    // it was asked for.
    void theBalloonIsANotificationOnTheScreen() {
        ShowBubble(QStringLiteral("Class not selected!"), QStringLiteral("Pick one."), 30000,
                   30000);
        const QRect screen = currentBubble()->screen()->availableGeometry();
        QVERIFY2(screen.contains(currentBubble()->frameGeometry()),
                 qPrintable(QStringLiteral("%1,%2 on %3x%4")
                                .arg(currentBubble()->x())
                                .arg(currentBubble()->y())
                                .arg(screen.width())
                                .arg(screen.height())));
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(currentBubble());
        QVERIFY(a);
        QCOMPARE(a->role(), QAccessible::Notification);
        QCOMPARE(a->text(QAccessible::Name), QStringLiteral("Class not selected!"));
        QCOMPARE(a->text(QAccessible::Description), QStringLiteral("Pick one."));
    }
};

QTEST_MAIN(TestAccess)
#include "tst_access.moc"
