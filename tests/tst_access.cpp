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
#include "planning/frmProgress.h"
#include "planning/frmSheet.h"
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
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTabBar>
#include <QtTest>

#include <functional>
#include <memory>

using namespace tarvo;
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
};

bool takesFocus(const QWidget* w) {
    return (w->focusPolicy() & Qt::TabFocus) ||
           (qobject_cast<const QAbstractButton*>(w) && w->focusPolicy() != Qt::NoFocus);
}

// The pixels whose colour changes by 3:1 or more when c takes the focus.
int focusPixels(QWidget* c) {
    QWidget* win = c->window();
    const QRect r(c->mapTo(win, QPoint()), c->size());
    c->clearFocus();
    const QImage before = win->grab(r).toImage();
    c->setFocus(Qt::TabFocusReason);
    if (!c->hasFocus())
        return -1;
    const QImage after = win->grab(r).toImage();
    c->clearFocus();
    int count = 0;
    for (int y = 0; y < before.height(); ++y)
        for (int x = 0; x < before.width(); ++x)
            if (contrastRatio(before.pixelColor(x, y), after.pixelColor(x, y)) >= 3.0)
                ++count;
    return count;
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
            const int ring = focusPixels(c);
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
        QCOMPARE(gender->accessibleDescription(), QStringLiteral("Set"));
        QCOMPARE(ctl(m, "imgStatus(5)")->accessibleDescription(), QStringLiteral("Not set"));
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

    void theBalloonIsATip() {
        ShowBubble(QStringLiteral("Class not selected!"), QStringLiteral("Pick one."), 100, 100);
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(currentBubble());
        QVERIFY(a);
        QCOMPARE(a->role(), QAccessible::ToolTip);
        QCOMPARE(a->text(QAccessible::Name), QStringLiteral("Class not selected!"));
        QCOMPARE(a->text(QAccessible::Description), QStringLiteral("Pick one."));
    }
};

QTEST_MAIN(TestAccess)
#include "tst_access.moc"
