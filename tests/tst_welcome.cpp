// The welcome window: its two layouts from the settings, the mouse-over
// descriptions, and where each button leads.
#include "appfolder.h"
#include "character.h"
#include "globals.h"
#include "output/frmLoad.h"
#include "planning/frmProgress.h"
#include "scriptedplatform.h"
#include "shell/forms.h"
#include "shell/frmWelcome.h"
#include "shell/twips.h"
#include "wizard/frmMain.h"

#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QtTest>

#include <memory>

using tarvo::frmWelcome;
using tarvo::MsgButtons;
using tarvo::MsgIcon;
using tarvo::MsgResult;
using tarvo::test::ScriptedPlatform;
using tarvo::test::TempAppFolder;
namespace forms = tarvo::forms;

namespace {

const QString kSettingsProblemStart =
    QStringLiteral("There is a problem with the Settings.ini settings file that you are using.");

template <typename T> T* control(QWidget* window, const QString& name) {
    T* c = window->findChild<T*>(name);
    if (!c)
        qFatal("no control %s", qPrintable(name));
    return c;
}

QPushButton* cmdCreate(QWidget* w, int i) {
    return control<QPushButton>(w, QStringLiteral("cmdCreate(%1)").arg(i));
}
QPushButton* cmdBrowse(QWidget* w, int i) {
    return control<QPushButton>(w, QStringLiteral("cmdBrowse(%1)").arg(i));
}
QString description(QWidget* w) {
    return control<QLabel>(w, "lblDescription")->text();
}

// Top and height of a control, in pixels.
QPair<int, int> place(QWidget* c) {
    return {c->y(), c->height()};
}
QPair<int, int> twipsPlace(int top, int height) {
    return {tarvo::twips(top), tarvo::twips(height)};
}

} // namespace

class TestWelcome : public QObject {
    Q_OBJECT

    std::unique_ptr<TempAppFolder> m_folder;
    std::unique_ptr<ScriptedPlatform> m_platform;

    void writeSettings(const QByteArray& program) {
        m_folder->write(QStringLiteral("Data/Settings.ini"), "[Program]\r\n" + program);
    }

    frmWelcome* openWelcome() {
        frmWelcome* w = forms::welcome();
        w->show();
        return w;
    }

private slots:
    void init() {
        m_folder = std::make_unique<TempAppFolder>();
        m_platform = std::make_unique<ScriptedPlatform>();
        tarvo::globals().FirstRun = QStringLiteral("No");
        tarvo::globals().ShowAdvancedFeatures = QStringLiteral("No");
        tarvo::globals().WelcomeReopened.clear();
        tarvo::globals().Domain = QStringLiteral("https://example.org/tarvo/");
        tarvo::character().reset();
    }

    void cleanup() {
        tarvo::test::deleteTopLevels({QStringLiteral("frmWizard")});
        forms::unloadAll();
        tarvo::globals().WelcomeReopened.clear();
        tarvo::character().reset();
        m_platform.reset();
        m_folder.reset();
    }

    void withoutTheKeyThreeButtonsSpreadOut() {
        writeSettings("iniDomain=https://example.org/tarvo/\r\n");
        frmWelcome* w = openWelcome();
        QCOMPARE(w->windowTitle(), QStringLiteral("Welcome to Quenmark v2"));
        QCOMPARE(control<QLabel>(w, "lblTitle")->text(),
                 QStringLiteral("What would you like to do today?"));
        QCOMPARE(control<QLabel>(w, "lblID(0)")->text(),
                 QStringLiteral("Create a Character Using..."));
        QCOMPARE(control<QLabel>(w, "lblID(1)")->text(), QStringLiteral("Browse Freely..."));
        QCOMPARE(control<QLabel>(w, "lblVersion")->text(), QStringLiteral("Version: 2.0.3"));
        QCOMPARE(description(w), frmWelcome::defaultDescription());
        QCOMPARE(cmdCreate(w, 0)->text(), QStringLiteral("The Character Planning Assistant"));
        QCOMPARE(cmdCreate(w, 1)->text(), QStringLiteral("A Pre Made Profile"));
        QCOMPARE(cmdCreate(w, 2)->text(), QStringLiteral("Your Custom Design"));
        QCOMPARE(cmdBrowse(w, 0)->text(), QStringLiteral("Open the Morrowind Wiki"));
        QCOMPARE(cmdBrowse(w, 1)->text(), QStringLiteral("Update TARVO2"));

        QVERIFY(!cmdCreate(w, 3)->isVisible());
        QCOMPARE(place(cmdCreate(w, 0)), twipsPlace(1440, 615));
        QCOMPARE(place(cmdCreate(w, 1)), twipsPlace(2160, 615));
        QCOMPARE(place(cmdCreate(w, 2)), twipsPlace(2880, 615));
        QCOMPARE(control<QLabel>(w, "lblID(1)")->y(), tarvo::twips(3600));
        QCOMPARE(place(cmdBrowse(w, 0)), twipsPlace(3960, 615));
        QCOMPARE(place(cmdBrowse(w, 1)), twipsPlace(4680, 615));
        QVERIFY(m_platform->messages.isEmpty());

        // Every control lies within the window.
        for (QWidget* c : w->findChildren<QWidget*>())
            QVERIFY2(w->rect().contains(c->geometry()), qPrintable(c->objectName()));
    }

    void noSettingsFileGivesTheSameLayout() {
        QFile::remove(m_folder->file(QStringLiteral("Data/Settings.ini")));
        frmWelcome* w = openWelcome();
        QVERIFY(!cmdCreate(w, 3)->isVisible());
        QCOMPARE(place(cmdBrowse(w, 1)), twipsPlace(4680, 615));
        QVERIFY(m_platform->messages.isEmpty());
    }

    void visibleSetting_data() {
        QTest::addColumn<QByteArray>("lines");
        QTest::addColumn<bool>("shown");
        QTest::addColumn<QString>("caption");
        QTest::newRow("True, no caption") << QByteArray("iniCmdCreate(3).Visible=True\r\n") << true
                                          << QStringLiteral("Unspecified!");
        QTest::newRow("key in other letter case")
            << QByteArray(
                   "inicmdCreate(3).Visible=TRUE\r\ninicmdcreate(3).caption=Run Morrowind\r\n")
            << true << QStringLiteral("Run Morrowind");
        QTest::newRow("False") << QByteArray("iniCmdCreate(3).Visible=false\r\n"
                                             "iniCmdCreate(3).Caption=Ignored\r\n")
                               << false << QStringLiteral("");
        QTest::newRow("number one") << QByteArray("iniCmdCreate(3).Visible=1\r\n") << true
                                    << QStringLiteral("Unspecified!");
        QTest::newRow("number zero")
            << QByteArray("iniCmdCreate(3).Visible=0\r\n") << false << QStringLiteral("");
        QTest::newRow("hexadecimal") << QByteArray("iniCmdCreate(3).Visible=&H10\r\n") << true
                                     << QStringLiteral("Unspecified!");
        QTest::newRow("exponent") << QByteArray("iniCmdCreate(3).Visible=1e3\r\n") << true
                                  << QStringLiteral("Unspecified!");
    }

    void visibleSetting() {
        QFETCH(QByteArray, lines);
        QFETCH(bool, shown);
        QFETCH(QString, caption);
        writeSettings(lines);
        frmWelcome* w = openWelcome();
        QVERIFY(m_platform->messages.isEmpty());
        QCOMPARE(cmdCreate(w, 3)->isVisible(), shown);
        if (shown) {
            QCOMPARE(cmdCreate(w, 3)->text(), caption);
            // The design layout stays.
            QCOMPARE(place(cmdCreate(w, 0)), twipsPlace(1440, 495));
            QCOMPARE(place(cmdCreate(w, 1)), twipsPlace(2040, 495));
            QCOMPARE(place(cmdCreate(w, 2)), twipsPlace(2640, 495));
            QCOMPARE(place(cmdCreate(w, 3)), twipsPlace(3240, 495));
            QCOMPARE(control<QLabel>(w, "lblID(1)")->y(), tarvo::twips(3840));
            QCOMPARE(place(cmdBrowse(w, 0)), twipsPlace(4200, 495));
            QCOMPARE(place(cmdBrowse(w, 1)), twipsPlace(4800, 495));
        } else {
            QCOMPARE(place(cmdCreate(w, 2)), twipsPlace(2880, 615));
        }
    }

    void notABooleanOffersTheRepair_data() {
        QTest::addColumn<QByteArray>("value");
        QTest::newRow("maybe") << QByteArray("maybe");
        QTest::newRow("empty") << QByteArray("");
        QTest::newRow("Yes") << QByteArray("Yes");
        QTest::newRow("nan") << QByteArray("nan");
        QTest::newRow("inf") << QByteArray("-inf");
    }

    void notABooleanOffersTheRepair() {
        QFETCH(QByteArray, value);
        const QByteArray settings = "[Program]\r\niniCmdCreate(3).Visible=" + value + "\r\n";
        m_folder->write(QStringLiteral("Data/Settings.ini"), settings);
        m_platform->setNextAnswer(MsgResult::Cancel);
        frmWelcome* w = openWelcome();
        QCOMPARE(m_platform->messages.size(), 1);
        const auto shown = m_platform->messages.first();
        QVERIFY(shown.text.startsWith(kSettingsProblemStart));
        QCOMPARE(shown.buttons, MsgButtons::OKCancel);
        QCOMPARE(shown.icon, MsgIcon::Critical);
        QVERIFY(!m_platform->ended);
        // Cancel leaves the file alone and the window as far as it got.
        QCOMPARE(m_folder->read(QStringLiteral("Data/Settings.ini")), settings);
        QCOMPARE(description(w), frmWelcome::defaultDescription());
        QVERIFY(cmdCreate(w, 3)->isVisible());
        QCOMPARE(cmdCreate(w, 3)->text(), QStringLiteral("Optional Button"));
    }

    void okOnTheProblemRepairsTheSettings() {
        writeSettings("iniCmdCreate(3).Visible=maybe\r\n");
        openWelcome();
        QVERIFY(m_platform->ended);
        QCOMPARE(m_folder->read(QStringLiteral("Data/Settings.ini")),
                 m_folder->read(QStringLiteral("Help/settings.ini")));
    }

    void mouseOverDescribesTheButtons() {
        writeSettings("iniCmdCreate(3).Visible=True\r\n");
        frmWelcome* w = openWelcome();
        QVERIFY(QTest::qWaitForWindowExposed(w));
        const QList<QPair<QWidget*, QString>> expected = {
            {cmdCreate(w, 0),
             "Create a new character easily by answering questions. This profile can be further "
             "customised later."},
            {cmdCreate(w, 1), "Use a pre made profile of skills and attributes that matches the "
                              "character you want or load an existing character. This profile "
                              "can be further customised."},
            {cmdCreate(w, 2), "Create a new character from scratch. TARVO2 will make suggestions "
                              "based on your class if you request it."},
            {cmdBrowse(w, 0),
             "Open the online Morrowind wiki, the reference that every link of TARVO2 leads to."},
            {cmdBrowse(w, 1), "Launch the TARVO2 Update Checker program to check for the latest "
                              "version of TARVO."},
        };
        for (const auto& [button, text] : expected) {
            QTest::mouseMove(button);
            QCOMPARE(description(w), text);
            // The picture and the headings bring the default text back.
            QTest::mouseMove(control<QLabel>(w, "imgMain"));
            QCOMPARE(description(w), frmWelcome::defaultDescription());
        }
        QTest::mouseMove(cmdBrowse(w, 0));
        QTest::mouseMove(control<QLabel>(w, "lblID(0)"));
        QCOMPARE(description(w), frmWelcome::defaultDescription());
        QTest::mouseMove(cmdBrowse(w, 0));
        QTest::mouseMove(control<QLabel>(w, "lblID(1)"));
        QCOMPARE(description(w), frmWelcome::defaultDescription());

        // The optional button has no text of its own.
        QTest::mouseMove(cmdCreate(w, 2));
        QTest::mouseMove(cmdCreate(w, 3));
        QCOMPARE(description(w), expected[2].second);

        // The bare background between the buttons and the picture.
        QTest::mouseMove(w, QPoint(tarvo::twips(3600), tarvo::twips(1800)));
        QCOMPARE(description(w), frmWelcome::defaultDescription());

        // The whole longest description fits its label.
        QTest::mouseMove(cmdCreate(w, 1));
        QLabel* label = control<QLabel>(w, "lblDescription");
        QVERIFY(label->heightForWidth(label->width()) <= label->height());
    }

    void customDesignOpensTheWizardBesideTheProgressWindow() {
        QPointer<frmWelcome> w = openWelcome();
        QTest::mouseClick(cmdCreate(w, 2), Qt::LeftButton);
        QVERIFY(!w || !w->isVisible());
        QTRY_VERIFY(!w);
        tarvo::frmMain* m = forms::mainIfLoaded();
        tarvo::frmProgress* p = forms::progressIfLoaded();
        QVERIFY(m && m->isVisible());
        QVERIFY(p && p->isVisible());
        const QRect mf = m->frameGeometry();
        const QRect pf = p->frameGeometry();
        // Side by side where the screen has room (the desktop tier checks
        // that); whole on the screen, tops level, the progress window left.
        QVERIFY(m->screen()->availableGeometry().contains(mf));
        QVERIFY(m->screen()->availableGeometry().contains(pf));
        QVERIFY(pf.x() < mf.x());
        QCOMPARE(pf.y(), mf.y());
        QVERIFY(m_platform->messages.isEmpty());
    }

    void preMadeProfileOpensTheLoader() {
        QPointer<frmWelcome> w = openWelcome();
        QTest::mouseClick(cmdCreate(w, 1), Qt::LeftButton);
        QTRY_VERIFY(!w);
        QVERIFY(forms::mainIfLoaded() && forms::mainIfLoaded()->isVisible());
        QVERIFY(forms::progressIfLoaded() && forms::progressIfLoaded()->isVisible());
        QVERIFY(forms::loadIfLoaded() && forms::loadIfLoaded()->isVisible());
    }

    void planningAssistantTakesTheWelcomeWindowsPlace() {
        QPointer<frmWelcome> w = openWelcome();
        QTest::mouseClick(cmdCreate(w, 0), Qt::LeftButton);
        QTRY_VERIFY(!w);
        auto* assistant = qobject_cast<QWidget*>(tarvo::test::findTopLevel("frmWizard"));
        QVERIFY(assistant && assistant->isVisible());
        QCOMPARE(assistant->windowTitle(), QStringLiteral("Character Generation Wizard"));
        QVERIFY(!forms::mainIfLoaded() || !forms::mainIfLoaded()->isVisible());
        QVERIFY(m_platform->messages.isEmpty());
        // Closing it returns to the welcome window.
        QTest::mouseClick(assistant->findChild<QPushButton*>("cmdClose"), Qt::LeftButton);
        QVERIFY(forms::welcomeIfLoaded() && forms::welcomeIfLoaded()->isVisible());
        QTRY_VERIFY(!tarvo::test::findTopLevel("frmWizard"));
    }

    void planningAssistantFromTheWizardAsksToSaveFirst() {
        // Reopened from the wizard with unsaved changes: Cancel keeps everything.
        tarvo::CloseAndContinue(nullptr, QStringLiteral("frmWelcome"));
        tarvo::character().setRealName(QStringLiteral("Quill"));
        forms::main()->hide();
        tarvo::globals().WelcomeReopened = QStringLiteral("Yes");
        frmWelcome* w = forms::welcome();
        w->show();
        m_platform->setNextAnswer(MsgResult::Cancel);
        QTest::mouseClick(cmdCreate(w, 0), Qt::LeftButton);
        QCOMPARE(m_platform->lastMessage().text,
                 QStringLiteral("Do you want to save your current custom profile changes before "
                                "doing this?"));
        QVERIFY(w->isVisible());
        QVERIFY(forms::mainIfLoaded());
        QVERIFY(!tarvo::test::findTopLevel("frmWizard"));
        QCOMPARE(tarvo::character().RealName(), QStringLiteral("Quill"));
    }

    void optionalButtonStartsItsProgram() {
        writeSettings("iniCmdCreate(3).Visible=True\r\niniCmdCreate(3).Caption=Run Morrowind\r\n"
                      "iniCmdCreate(3).Launchpath=\"C:\\Games\\Morrowind\\Morrowind.exe\"\r\n");
        frmWelcome* w = openWelcome();
        QTest::mouseClick(cmdCreate(w, 3), Qt::LeftButton);
        QCOMPARE(m_platform->started, QStringList{"C:\\Games\\Morrowind\\Morrowind.exe"});
        QVERIFY(m_platform->messages.isEmpty());
        QVERIFY(w->isVisible());

        // A program that cannot be started is named; the window stays usable.
        m_platform->startFails = true;
        QTest::mouseClick(cmdCreate(w, 3), Qt::LeftButton);
        QCOMPARE(m_platform->messages.size(), 1);
        QVERIFY(m_platform->lastMessage().text.contains("C:\\Games\\Morrowind\\Morrowind.exe"));
        QVERIFY(w->isVisible());
        QVERIFY(w->isEnabled());
    }

    // A long caption ends in "…" and is whole in the tool tip; a bare program
    // name is looked for in the program folder first.
    void optionalButtonLongCaptionAndOwnProgram() {
        const QString caption = QStringLiteral("Start the Construction Set with every plug-in "
                                               "of the current game and the latest patches");
        m_folder->write("mytool", "program");
        writeSettings("iniCmdCreate(3).Visible=True\r\niniCmdCreate(3).Caption=" +
                      caption.toUtf8() + "\r\niniCmdCreate(3).Launchpath=mytool --fast\r\n");
        frmWelcome* w = openWelcome();
        QPushButton* b = cmdCreate(w, 3);
        QVERIFY2(b->text().endsWith(QChar(0x2026)), qPrintable(b->text()));
        QVERIFY(b->fontMetrics().horizontalAdvance(b->text()) < b->width());
        QCOMPARE(b->toolTip(), caption);
        QTest::mouseClick(b, Qt::LeftButton);
        QCOMPARE(m_platform->started,
                 QStringList{QStringLiteral("\"%1\" --fast").arg(m_folder->file("mytool"))});
    }

    void optionalButtonWithoutProgramSaysSo() {
        writeSettings("iniCmdCreate(3).Visible=True\r\n");
        frmWelcome* w = openWelcome();
        QTest::mouseClick(cmdCreate(w, 3), Qt::LeftButton);
        QVERIFY(m_platform->started.isEmpty());
        QCOMPARE(m_platform->messages.size(), 1);
        QVERIFY(m_platform->lastMessage().text.contains("iniCmdCreate(3).Launchpath"));
        QVERIFY(w->isVisible());
    }

    void homePageOpensTheDomain() {
        frmWelcome* w = openWelcome();
        QTest::mouseClick(cmdBrowse(w, 0), Qt::LeftButton);
        QCOMPARE(m_platform->opened, QStringList{"https://example.org/tarvo/"});
        QVERIFY(w->isVisible());
    }

    void updateCheckerMissingIsReported() {
        frmWelcome* w = openWelcome();
        QTest::mouseClick(cmdBrowse(w, 1), Qt::LeftButton);
        QVERIFY(m_platform->started.isEmpty());
        QCOMPARE(m_platform->messages.size(), 1);
        const QString text = m_platform->lastMessage().text;
        QVERIFY2(text.contains("TARVO2 Update Checker") && text.contains("was not found") &&
                     text.contains(tarvo::executableName("update")),
                 qPrintable(text));
        QVERIFY(w->isVisible());
        QVERIFY(w->isEnabled());
    }

    void updateCheckerIsStarted() {
        const QString name = tarvo::executableName(QStringLiteral("update"));
        m_folder->write(name, "program");
        frmWelcome* w = openWelcome();
        QTest::mouseClick(cmdBrowse(w, 1), Qt::LeftButton);
        QCOMPARE(m_platform->started.size(), 1);
        QCOMPARE(QFileInfo(m_platform->started.first()).canonicalFilePath(),
                 QFileInfo(m_folder->file(name)).canonicalFilePath());
        QVERIFY(m_platform->messages.isEmpty());
        QVERIFY(w->isVisible());
    }

    void reopenedWelcomeReturnsToTheWizard() {
        // The wizard with a choice made, then its Welcome command.
        tarvo::CloseAndContinue(nullptr, QStringLiteral("frmWelcome"));
        tarvo::character().setRealName(QStringLiteral("Ann"));
        forms::progress()->hide();
        forms::main()->hide();
        tarvo::globals().WelcomeReopened = QStringLiteral("Yes");

        QPointer<frmWelcome> w = openWelcome();
        QVERIFY(w->close());
        QVERIFY(forms::main()->isVisible());
        QVERIFY(forms::progress()->isVisible());
        QCOMPARE(tarvo::character().RealName(), QStringLiteral("Ann"));
        QCOMPARE(control<QLineEdit>(forms::progress(), "txtRealName")->text(),
                 QStringLiteral("Name: Ann"));

        // Every later closing does the same.
        forms::progress()->hide();
        forms::main()->hide();
        QTRY_VERIFY(!w);
        w = openWelcome();
        w->close();
        QVERIFY(forms::main()->isVisible());
        QVERIFY(forms::progress()->isVisible());
    }

    void closingAtStartLeavesTheWizardClosed() {
        QPointer<frmWelcome> w = openWelcome();
        QVERIFY(w->close());
        QVERIFY(!forms::mainIfLoaded());
        QVERIFY(!forms::progressIfLoaded());
    }
};

QTEST_MAIN(TestWelcome)
#include "tst_welcome.moc"
