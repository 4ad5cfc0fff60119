// A whole character made and saved with keys alone on a real desktop: from
// the welcome window through the nine steps to Finish, every press a key on
// the control that has the focus.
#include "character.h"
#include "globals.h"
#include "reftables.h"
#include "scriptedplatform.h"
#include "shell/forms.h"
#include "shell/frmWelcome.h"
#include "wizard/frmMain.h"

#include <QApplication>
#include <QFile>
#include <QtTest>

#include <memory>

using namespace tarvo;
using tarvo::test::ScriptedPlatform;
using tarvo::test::TempAppFolder;

class DesktopKeyboard : public QObject {
    Q_OBJECT

    static QString focusName() {
        QWidget* f = QApplication::focusWidget();
        return f ? f->objectName() : QString();
    }
    static void key(int k, Qt::KeyboardModifiers mods = {}) {
        QTRY_VERIFY(QApplication::focusWidget());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key(k), mods);
    }
    static void type(const QString& text) {
        QTRY_VERIFY(QApplication::focusWidget());
        QTest::keyClicks(QApplication::focusWidget(), text);
    }
    // Tab until control has the focus.
    static void tabTo(const QString& name) {
        for (int i = 0; i < 60 && focusName() != name; ++i)
            key(Qt::Key_Tab);
        QCOMPARE(focusName(), name);
    }

private slots:
    void aWholeCharacterByKeys() {
        QApplication::setQuitOnLastWindowClosed(false);
        ScriptedPlatform platform;
        TempAppFolder folder;
        globals().StepTasks = stepTasks();
        globals().FirstRun = QStringLiteral("No");
        globals().ShowAdvancedFeatures = QStringLiteral("No");

        frmWelcome* welcome = forms::welcome();
        welcome->show();
        QVERIFY(QTest::qWaitForWindowActive(welcome));
        tabTo(QStringLiteral("cmdCreate(2)")); // Your Custom Design
        key(Qt::Key_Enter, Qt::KeypadModifier);
        frmMain* m = forms::main();
        QVERIFY(QTest::qWaitForWindowActive(m));

        QTRY_COMPARE(focusName(), QStringLiteral("txtRealName"));
        type(QStringLiteral("Quill"));
        key(Qt::Key_Return);
        QTRY_COMPARE(focusName(), QStringLiteral("txtClassName"));
        type(QStringLiteral("Seer"));
        tabTo(QStringLiteral("optClass(0)"));
        key(Qt::Key_Down);
        key(Qt::Key_Space); // Magic
        key(Qt::Key_Return);

        QTRY_COMPARE(focusName(), QStringLiteral("txtCharacterName"));
        type(QStringLiteral("Nerevar"));
        tabTo(QStringLiteral("optRace(0)"));
        key(Qt::Key_Down);
        key(Qt::Key_Down);
        key(Qt::Key_Space); // the third race
        tabTo(QStringLiteral("cboGender"));
        key(Qt::Key_Down); // Female
        key(Qt::Key_Return);

        QCOMPARE(m->currentStep(), 3);
        key(Qt::Key_Space); // the first attribute of group One
        key(Qt::Key_Tab);   // group Two: its stop is on an enabled button
        key(Qt::Key_Space);
        key(Qt::Key_Return);

        QCOMPARE(m->currentStep(), 4);
        tabTo(QStringLiteral("cmdAutoSelect(2)"));
        key(Qt::Key_Return); // five major skills
        tabTo(QStringLiteral("optSkillSelect(0)"));
        key(Qt::Key_Right); // the minor list
        tabTo(QStringLiteral("cmdAutoSelect(2)"));
        key(Qt::Key_Return); // five minor skills
        tabTo(QStringLiteral("cmdNext(4)"));
        key(Qt::Key_Return);
        QCOMPARE(m->currentStep(), 5);
        key(Qt::Key_Space); // a birthsign
        key(Qt::Key_Return);

        QCOMPARE(m->currentStep(), 6);
        for (int line = 0; line < Character::LineCount; ++line)
            QVERIFY2(character().markBlue(line), qPrintable(character().reviewLine(line)));
        key(Qt::Key_Return); // Next, on the review
        QCOMPARE(m->currentStep(), 7);

        const QString saved = folder.file(QStringLiteral("quill.mwc"));
        platform.setNextFile(saved);
        QCOMPARE(focusName(), QStringLiteral("cmdProfileSave"));
        key(Qt::Key_Return);
        QTRY_VERIFY(QFile::exists(saved));
        QCOMPARE(character().ChangesMade(), QStringLiteral("No"));
        const QByteArray text = folder.read(QStringLiteral("quill.mwc"));
        for (const char* part : {"iniRealName=Quill", "iniClassName=Seer", "iniClass=Magic",
                                 "iniCharacterName=Nerevar", "iniGender=Female"})
            QVERIFY2(text.contains(part), part);

        tabTo(QStringLiteral("cmdNext(7)"));
        key(Qt::Key_Return);
        QTRY_COMPARE(focusName(), QStringLiteral("lstWebsites"));
        key(Qt::Key_Down);
        key(Qt::Key_Return); // the list's own action, not Finish
        QVERIFY(m->isVisible());
        tabTo(QStringLiteral("cmdFinish"));
        key(Qt::Key_Return);
        QTRY_VERIFY(!m->isVisible());
        QVERIFY(platform.messages.isEmpty());
        forms::unloadAll();
    }
};

QTEST_MAIN(DesktopKeyboard)
#include "dsk_keyboard.moc"
