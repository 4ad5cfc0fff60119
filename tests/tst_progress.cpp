// The progress window: its summary follows the character, the tasks and
// their reminder, the keys it shares with the wizard, and that the user can
// only hide it.
#include "character.h"
#include "globals.h"
#include "output/frmLoad.h"
#include "planning/frmProgress.h"
#include "scriptedplatform.h"
#include "shell/elide.h"
#include "shell/forms.h"
#include "shell/frmBubbleD.h"
#include "shell/twips.h"
#include "wizard/frmMain.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

#include <memory>

using tarvo::character;
using tarvo::frmProgress;
using tarvo::test::ScriptedPlatform;
using tarvo::test::TempAppFolder;
namespace forms = tarvo::forms;

namespace {

const QColor kYellow(255, 255, 0);
const QColor kWhite(255, 255, 255);

template <typename T> T* control(QWidget* window, const QString& name) {
    T* c = window->findChild<T*>(name);
    if (!c)
        qFatal("no control %s", qPrintable(name));
    return c;
}

QLineEdit* txtTask(int i) {
    return control<QLineEdit>(forms::progress(), QStringLiteral("txtTask(%1)").arg(i));
}
QCheckBox* chkTask(int i) {
    return control<QCheckBox>(forms::progress(), QStringLiteral("chkTask(%1)").arg(i));
}
QLineEdit* summaryBox(const char* name) {
    return control<QLineEdit>(forms::progress(), QLatin1String(name));
}
QColor background(QLineEdit* box) {
    return box->palette().color(QPalette::Base);
}

// Types a task the way a user does: into the box, with the keyboard.
void typeTask(int i, const QString& text) {
    QLineEdit* t = txtTask(i);
    t->setFocus();
    t->selectAll();
    QTest::keyClick(t, Qt::Key_Delete);
    QTest::keyClicks(t, text);
}

// Clicks a box on its check mark.
void clickBox(QCheckBox* box) {
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(box->height() / 2, box->height() / 2));
}

bool balloonShown(const QString& title) {
    tarvo::frmBubbleD* b = tarvo::currentBubble();
    return b && b->isVisible() && b->title() == title;
}

// Shows the main window and the progress window as the welcome window does.
frmProgress* showWindows() {
    tarvo::CloseAndContinue(nullptr, QStringLiteral("frmWelcome"));
    frmProgress* p = forms::progress();
    p->activateWindow();
    return p;
}

} // namespace

class TestProgress : public QObject {
    Q_OBJECT

    std::unique_ptr<TempAppFolder> m_folder;
    std::unique_ptr<ScriptedPlatform> m_platform;

private slots:
    void init() {
        m_folder = std::make_unique<TempAppFolder>();
        m_platform = std::make_unique<ScriptedPlatform>();
        tarvo::globals().FirstRun = QStringLiteral("No");
        tarvo::globals().ShowAdvancedFeatures = QStringLiteral("No");
        character().reset();
    }

    void cleanup() {
        tarvo::UnloadBubble();
        forms::unloadAll();
        character().reset();
        m_platform.reset();
        m_folder.reset();
    }

    void opensOnTheSummaryAndSwitchesScreens() {
        frmProgress* p = showWindows();
        QCOMPARE(p->windowTitle(), QStringLiteral("Your Progress"));
        QVERIFY(p->isWindow());
        QCOMPARE(p->height(), tarvo::twips(6015));
        auto* tasks = control<QRadioButton>(p, "optScreen(0)");
        auto* summary = control<QRadioButton>(p, "optScreen(1)");
        QCOMPARE(tasks->text(), QStringLiteral("&Tasks"));
        QCOMPARE(summary->text(), QStringLiteral("&Summary"));
        QVERIFY(summary->isChecked());
        QWidget* fmeSummary = control<QWidget>(p, "fmeSummary");
        QWidget* fmeProgress = control<QWidget>(p, "fmeProgress");
        QVERIFY(fmeSummary->isVisible());
        QVERIFY(!fmeProgress->isVisible());
        // The name browser waits hidden.
        for (const char* name : {"fmeName", "cmdInsert", "cmdCancel"})
            QVERIFY2(!control<QWidget>(p, name)->isVisible(), name);
        QCOMPARE(control<QPushButton>(p, "cmdInsert")->text(), QStringLiteral("&Insert Name"));
        QCOMPARE(control<QPushButton>(p, "cmdCancel")->text(), QStringLiteral("&Cancel"));
        QCOMPARE(control<QPushButton>(p, "cmdGenerate")->text(), QStringLiteral("Generate More"));
        QVERIFY(p->findChild<QListWidget*>("lstNames"));
        QVERIFY(p->findChild<QListWidget*>("lstTemp"));

        QTest::mouseClick(tasks, Qt::LeftButton);
        QVERIFY(fmeProgress->isVisible());
        QVERIFY(!fmeSummary->isVisible());
        QTest::mouseClick(summary, Qt::LeftButton);
        QVERIFY(fmeSummary->isVisible());
        QVERIFY(!fmeProgress->isVisible());
    }

    void summaryFollowsTheCharacter() {
        frmProgress* p = showWindows();
        Q_UNUSED(p);
        QLineEdit* race = summaryBox("txtRace");
        QCOMPARE(race->text(), QStringLiteral("Race: "));
        QVERIFY(race->isReadOnly());

        character().chooseRace(2);
        QCOMPARE(race->text(), QStringLiteral("Race: Dark Elf"));
        QCOMPARE(race->toolTip(), QStringLiteral("Race: Dark Elf"));
        character().setRealName(QStringLiteral("Ann"));
        QCOMPARE(summaryBox("txtRealName")->text(), QStringLiteral("Name: Ann"));
        character().chooseBirthsign(7);
        QCOMPARE(summaryBox("txtBirthsign")->text(), QStringLiteral("Birthsign: The Lady"));

        character().checkSkillByName(true, QStringLiteral("Destruction"));
        character().checkSkillByName(true, QStringLiteral("Alteration"));
        QLineEdit* major = summaryBox("txtMjrSkills");
        // Too long for the box: shown cut, whole in its tool tip.
        QCOMPARE(tarvo::wholeText(major),
                 QStringLiteral("Major Skills: Destruction, Alteration, "));
        QCOMPARE(major->toolTip(), tarvo::wholeText(major));

        // Typing into a summary box changes nothing.
        QTest::keyClicks(race, QStringLiteral("xyz"));
        QCOMPARE(race->text(), QStringLiteral("Race: Dark Elf"));

        character().reset();
        QCOMPARE(race->text(), QStringLiteral("Race: "));
        QCOMPARE(race->toolTip(), QStringLiteral("Race: "));
        QCOMPARE(major->text(), QStringLiteral("Major Skills: "));
    }

    void taskTextEnablesItsBox() {
        frmProgress* p = showWindows();
        QTest::mouseClick(control<QRadioButton>(p, "optScreen(0)"), Qt::LeftButton);
        for (int i = 0; i < 7; ++i) {
            QVERIFY(!chkTask(i)->isEnabled());
            QVERIFY(chkTask(i)->text().isEmpty());
        }
        QVERIFY(chkTask(7)->isEnabled());
        QCOMPARE(chkTask(7)->text(), QStringLiteral("Remind me of tasks I haven't completed"));

        typeTask(2, QStringLiteral("Join the Mages Guild"));
        QVERIFY(chkTask(2)->isEnabled());
        QCOMPARE(character().taskText(2), QStringLiteral("Join the Mages Guild"));
        clickBox(chkTask(2));
        QCOMPARE(chkTask(2)->checkState(), Qt::Checked);
        QCOMPARE(character().taskState(2), 1);
        clickBox(chkTask(2));
        QCOMPARE(chkTask(2)->checkState(), Qt::Unchecked);
        clickBox(chkTask(2));

        // Deleting the text clears the box and disables it.
        txtTask(2)->setFocus();
        txtTask(2)->selectAll();
        QTest::keyClick(txtTask(2), Qt::Key_Backspace);
        QCOMPARE(chkTask(2)->checkState(), Qt::Unchecked);
        QVERIFY(!chkTask(2)->isEnabled());
        QCOMPARE(character().taskState(2), 0);

        // A greyed box from a loaded profile is ticked by a click.
        typeTask(4, QStringLiteral("Visit Vivec"));
        character().setTaskState(4, 2);
        QCOMPARE(chkTask(4)->checkState(), Qt::PartiallyChecked);
        clickBox(chkTask(4));
        QCOMPARE(character().taskState(4), 1);
    }

    void reminderHighlightsOpenTasks() {
        frmProgress* p = showWindows();
        QTest::mouseClick(control<QRadioButton>(p, "optScreen(0)"), Qt::LeftButton);
        clickBox(chkTask(7));
        QCOMPARE(character().taskState(7), 1);
        typeTask(0, QStringLiteral("Find a sword"));
        typeTask(3, QStringLiteral("Reach level 5"));
        clickBox(chkTask(3));

        // Ctrl+S in this window takes the wizard to its output step.
        QTest::keyClick(txtTask(3), Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(forms::main()->currentStep(), 7);

        QCOMPARE(background(txtTask(0)), kYellow);
        for (int i = 1; i < 7; ++i)
            QCOMPARE(background(txtTask(i)), kWhite);
        QVERIFY(balloonShown(QStringLiteral("Task reminder!")));
        tarvo::frmBubbleD* b = tarvo::currentBubble();
        QCOMPARE(b->text(), QStringLiteral("You haven't completed your set tasks yet in the tasks "
                                           "window."));
        QCOMPARE(b->pos(), QPoint(tarvo::twips(3555), tarvo::twips(3000)));

        // Ticking the highlighted task takes the highlight away.
        clickBox(chkTask(0));
        QCOMPARE(background(txtTask(0)), kWhite);
    }

    void reminderWithoutOpenTasksStaysQuiet() {
        frmProgress* p = showWindows();
        QTest::mouseClick(control<QRadioButton>(p, "optScreen(0)"), Qt::LeftButton);
        clickBox(chkTask(7));
        typeTask(1, QStringLiteral("Done already"));
        clickBox(chkTask(1));
        p->runTaskReminder();
        QVERIFY(!balloonShown(QStringLiteral("Task reminder!")));
        QCOMPARE(background(txtTask(1)), kWhite);
    }

    void reminderBoxClearChangesNothing() {
        frmProgress* p = showWindows();
        QTest::mouseClick(control<QRadioButton>(p, "optScreen(0)"), Qt::LeftButton);
        typeTask(0, QStringLiteral("Open task"));
        typeTask(5, QStringLiteral("Another one"));
        forms::main()->selectStep(7);
        QVERIFY(!balloonShown(QStringLiteral("Task reminder!")));
        QCOMPARE(background(txtTask(0)), kWhite);
        QCOMPARE(background(txtTask(5)), kWhite);
    }

    void escapeHidesWithABalloon() {
        frmProgress* p = showWindows();
        QTest::mouseClick(control<QRadioButton>(p, "optScreen(0)"), Qt::LeftButton);
        // The window sees the key before the focused text box.
        txtTask(1)->setFocus();
        QTest::keyClick(txtTask(1), Qt::Key_Escape);
        QVERIFY(!p->isVisible());
        QVERIFY(balloonShown(QStringLiteral("Progress window hidden")));
        tarvo::frmBubbleD* b = tarvo::currentBubble();
        QCOMPARE(b->text(), QStringLiteral("You can hide and unhide the Progress Window by "
                                           "pressing the Escape key."));
        QCOMPARE(b->pos(), QPoint(tarvo::twips(3550), tarvo::twips(2940)));

        // Escape in the main window brings it back.
        QTest::keyClick(forms::main(), Qt::Key_Escape);
        QVERIFY(p->isVisible());
    }

    void closeBoxOnlyHides() {
        frmProgress* p = showWindows();
        QVERIFY(!p->close());
        QVERIFY(!p->isVisible());
        QCOMPARE(forms::progressIfLoaded(), p);
        p->show();
        QVERIFY(p->isVisible());
        // The program itself may close it.
        p->allowClose();
        QVERIFY(p->close());
    }

    void keysReachTheWizard() {
        frmProgress* p = showWindows();
        QLineEdit* box = summaryBox("txtClass");
        box->setFocus();

        forms::main()->hide();
        QTest::keyClick(box, Qt::Key_W, Qt::ControlModifier);
        QVERIFY(forms::main()->isVisible());

        QTest::keyClick(box, Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(forms::main()->currentStep(), 7);

        // Ctrl+O opens the loader on its profile browser.
        QVERIFY(!forms::loadIfLoaded());
        QTest::keyClick(box, Qt::Key_O, Qt::ControlModifier);
        QVERIFY(forms::loadIfLoaded());
        QVERIFY(forms::loadIfLoaded()->isVisible());
        Q_UNUSED(p);
    }
};

QTEST_MAIN(TestProgress)
#include "tst_progress.moc"
