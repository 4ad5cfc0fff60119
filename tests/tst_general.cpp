// The shared procedures: reinstall and uninstall, offline and online help and
// library, the settings repair, and the hand-over to the main and progress
// windows.
#include "globals.h"
#include "mdlGeneral.h"
#include "planning/frmProgress.h"
#include "scriptedplatform.h"
#include "shell/forms.h"
#include "wizard/frmMain.h"

#include <QFile>
#include <QFileInfo>
#include <QPointer>
#include <QScreen>
#include <QtTest>

using tarvo::MsgButtons;
using tarvo::MsgIcon;
using tarvo::MsgResult;
using tarvo::test::ScriptedPlatform;
using tarvo::test::TempAppFolder;

namespace {

const QString kReinstallQuestion =
    QStringLiteral("This will reinstall TARVO2, all settings will be lost. Do you wish to close "
                   "TARVO2 now and begin the reinstall?");
const QString kUninstallQuestion = QStringLiteral(
    "This will uninstall TARVO2, all unsaved data and settings will be lost, are you sure you "
    "wish to close TARVO2 now and begin the uninstall?");
const QString kSignificantProblems = QStringLiteral(
    "TARVO2 has found significant problems with your installations of the Quenmark. These "
    "problems could not be overcome, sorry. Please refer to the help files.");
const QString kNoUninstaller = QStringLiteral(
    "An uninstall path or file could not be found, TARVO2 will now attempt a reinstall. Please "
    "see the help files for more information.");
const QString kNoOfflineHelp =
    QStringLiteral("No offline help module appears to be installed, would you like to read the "
                   "online guide to character creation on the Morrowind wiki?");
const QString kNoOfflineLibrary =
    QStringLiteral("The offline library does not appear to be installed. Do you want to navigate "
                   "to the online library instead?");
const QString kRepairSucceeded =
    QStringLiteral("The repair attempt appears to have succeeded. You will need to restart TARVO2 "
                   "for changes to take effect.");

const QString kDomain = QStringLiteral("https://home.example/tarvo/");
const char* const kLinks = "Data/Websites/external links.ini";

QStringList texts(const QList<tarvo::test::ShownMessage>& messages) {
    QStringList out;
    for (const auto& m : messages)
        out << m.text;
    return out;
}

} // namespace

class TestGeneral : public QObject {
    Q_OBJECT

private slots:
    void init() {
        tarvo::globals() = tarvo::Globals{};
        tarvo::globals().FirstRun = QStringLiteral("No");
        tarvo::globals().ShowAdvancedFeatures = QStringLiteral("No");
        tarvo::globals().Domain = kDomain;
    }
    void cleanup() {
        tarvo::forms::unloadAll();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    // ------------------------------------------------------- reinstall ----

    void startReinstall_data() {
        QTest::addColumn<QByteArray>("installations"); // null: the shipped file
        QTest::addColumn<QString>("present");          // program file put in AppFolder
        QTest::addColumn<bool>("startFails");
        QTest::addColumn<bool>("yes");
        QTest::addColumn<QString>("started"); // expected, relative to AppFolder
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<bool>("ended");

        QTest::newRow("shipped name") << QByteArray() << "setup.exe" << false << true << "setup.exe"
                                      << QStringList{kReinstallQuestion} << true;
        QTest::newRow("custom name")
            << QByteArray("[installations]\r\nsetup=Install TARVO2.bin\r\nuninstall=x\r\n")
            << "Install TARVO2.bin" << false << true << "Install TARVO2.bin"
            << QStringList{kReinstallQuestion} << true;
        QTest::newRow("key missing: default name")
            << QByteArray("[installations]\r\nuninstall=x\r\n") << "setup.exe" << false << true
            << "setup.exe" << QStringList{kReinstallQuestion} << true;
        QTest::newRow("no installations file: default name")
            << QByteArray("<delete>") << "setup.exe" << false << true << "setup.exe"
            << QStringList{kReinstallQuestion} << true;
        QTest::newRow("setup missing")
            << QByteArray() << "" << false << true << ""
            << QStringList{kReinstallQuestion, kSignificantProblems} << true;
        QTest::newRow("custom setup missing, default present")
            << QByteArray("[installations]\r\nsetup=other-setup\r\n") << "setup.exe" << false
            << true << "" << QStringList{kReinstallQuestion, kSignificantProblems} << true;
        QTest::newRow("setup will not start")
            << QByteArray() << "setup.exe" << true << true << "<attempted>"
            << QStringList{kReinstallQuestion, kSignificantProblems} << true;
        QTest::newRow("No") << QByteArray() << "setup.exe" << false << false << ""
                            << QStringList{kReinstallQuestion} << false;
    }

    void startReinstall() {
        QFETCH(QByteArray, installations);
        QFETCH(QString, present);
        QFETCH(bool, startFails);
        QFETCH(bool, yes);
        QFETCH(QString, started);
        QFETCH(QStringList, messages);
        QFETCH(bool, ended);

        ScriptedPlatform platform;
        TempAppFolder folder;
        if (installations == "<delete>")
            QVERIFY(QFile::remove(folder.file("Help/installations.ini")));
        else if (!installations.isNull())
            folder.write("Help/installations.ini", installations);
        if (!present.isEmpty())
            folder.write(present, "program");
        platform.startFails = startFails;
        platform.setNextAnswer(yes ? MsgResult::Yes : MsgResult::No);

        tarvo::StartReinstall();

        QCOMPARE(texts(platform.messages), messages);
        QCOMPARE(platform.messages[0].buttons, MsgButtons::YesNo);
        QCOMPARE(platform.messages[0].icon, MsgIcon::Question);
        if (messages.size() > 1)
            QCOMPARE(platform.messages[1].icon, MsgIcon::Critical);
        for (const auto& m : platform.messages)
            QCOMPARE(m.title, QString("Quenmark v2"));
        if (started == "<attempted>")
            QCOMPARE(platform.started, QStringList{folder.path() + "/" + present});
        else if (started.isEmpty())
            QVERIFY(platform.started.isEmpty());
        else
            QCOMPARE(platform.started, QStringList{folder.path() + "/" + started});
        QCOMPARE(platform.ended, ended);
    }

    // ------------------------------------------------------- uninstall ----

    void startUninstall_data() {
        QTest::addColumn<QByteArray>("installations");
        QTest::addColumn<QStringList>("present");
        QTest::addColumn<QList<int>>("answers"); // 1 Yes, 0 No, 2 OK
        QTest::addColumn<QStringList>("started");
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<bool>("ended");

        QTest::newRow("shipped name")
            << QByteArray() << QStringList{"unins000.exe"} << QList<int>{1}
            << QStringList{"unins000.exe"} << QStringList{kUninstallQuestion} << true;
        QTest::newRow("custom name")
            << QByteArray("[installations]\r\nsetup=setup.exe\r\nuninstall=remove tarvo\r\n")
            << QStringList{"remove tarvo"} << QList<int>{1} << QStringList{"remove tarvo"}
            << QStringList{kUninstallQuestion} << true;
        QTest::newRow("uninstaller missing, no reinstall")
            << QByteArray() << QStringList{"setup.exe"} << QList<int>{1, 2, 0} << QStringList{}
            << QStringList{kUninstallQuestion, kNoUninstaller, kReinstallQuestion} << false;
        QTest::newRow("uninstaller missing, reinstall")
            << QByteArray() << QStringList{"setup.exe"} << QList<int>{1, 2, 1}
            << QStringList{"setup.exe"}
            << QStringList{kUninstallQuestion, kNoUninstaller, kReinstallQuestion} << true;
        QTest::newRow("uninstaller and setup missing")
            << QByteArray() << QStringList{} << QList<int>{1, 2, 1} << QStringList{}
            << QStringList{kUninstallQuestion, kNoUninstaller, kReinstallQuestion,
                           kSignificantProblems}
            << true;
        QTest::newRow("No") << QByteArray() << QStringList{"unins000.exe"} << QList<int>{0}
                            << QStringList{} << QStringList{kUninstallQuestion} << false;
    }

    void startUninstall() {
        QFETCH(QByteArray, installations);
        QFETCH(QStringList, present);
        QFETCH(QList<int>, answers);
        QFETCH(QStringList, started);
        QFETCH(QStringList, messages);
        QFETCH(bool, ended);

        ScriptedPlatform platform;
        TempAppFolder folder;
        if (!installations.isNull())
            folder.write("Help/installations.ini", installations);
        for (const QString& p : present)
            folder.write(p, "program");
        for (int a : answers)
            platform.setNextAnswer(a == 1 ? MsgResult::Yes
                                          : (a == 0 ? MsgResult::No : MsgResult::OK));

        tarvo::StartUninstall();

        QCOMPARE(texts(platform.messages), messages);
        QCOMPARE(platform.messages[0].buttons, MsgButtons::YesNo);
        QCOMPARE(platform.messages[0].icon, MsgIcon::Question);
        if (messages.size() > 1)
            QCOMPARE(platform.messages[1].icon, MsgIcon::Exclamation);
        QStringList expected;
        for (const QString& s : started)
            expected << folder.path() + "/" + s;
        QCOMPARE(platform.started, expected);
        QCOMPARE(platform.ended, ended);
    }

    void uninstallerThatWillNotStartOffersReinstall() {
        ScriptedPlatform platform;
        TempAppFolder folder;
        folder.write("unins000.exe", "program");
        platform.startFails = true;
        platform.setNextAnswer(MsgResult::Yes);
        platform.setNextAnswer(MsgResult::OK);
        platform.setNextAnswer(MsgResult::No);

        tarvo::StartUninstall();

        QCOMPARE(texts(platform.messages),
                 (QStringList{kUninstallQuestion, kNoUninstaller, kReinstallQuestion}));
        QVERIFY(!platform.ended);
    }

    // ------------------------------------------------------------ help ----

    void openHelp_data() {
        QTest::addColumn<QByteArray>("settings"); // null: no settings file
        QTest::addColumn<QByteArray>("links");
        QTest::addColumn<bool>("yes");
        QTest::addColumn<QString>("openedFile"); // relative to AppFolder
        QTest::addColumn<QString>("openedAddress");
        QTest::addColumn<bool>("asked");

        const QByteArray links = "[iniOther]\r\niniHelp=help/center.html\r\n";
        QTest::newRow("offline help") << QByteArray("[Program]\r\niniHelp=/Help/index.html\r\n")
                                      << links << true << "Help/index.html"
                                      << "" << false;
        QTest::newRow("offline help, other separator and case")
            << QByteArray("[Program]\r\niniHelp=help\\INDEX.HTML\r\n") << links << true
            << "Help/index.html"
            << "" << false;
        QTest::newRow("no offline help, Yes") << QByteArray("[Program]\r\niniHelp=\r\n") << links
                                              << true << "" << kDomain + "help/center.html" << true;
        QTest::newRow("no offline help, No")
            << QByteArray("[Program]\r\niniHelp=\r\n") << links << false << ""
            << "" << true;
        QTest::newRow("key missing") << QByteArray("[Program]\r\niniDomain=x\r\n") << links << true
                                     << "" << kDomain + "help/center.html" << true;
        QTest::newRow("no settings file")
            << QByteArray() << links << true << "" << kDomain + "help/center.html" << true;
        QTest::newRow("online page not listed")
            << QByteArray("[Program]\r\niniHelp=\r\n") << QByteArray("[iniOther]\r\n") << true << ""
            << kDomain << true;
    }

    void openHelp() {
        QFETCH(QByteArray, settings);
        QFETCH(QByteArray, links);
        QFETCH(bool, yes);
        QFETCH(QString, openedFile);
        QFETCH(QString, openedAddress);
        QFETCH(bool, asked);

        ScriptedPlatform platform;
        TempAppFolder folder;
        QFile::remove(folder.file("Data/Settings.ini"));
        if (!settings.isNull())
            folder.write("Data/Settings.ini", settings);
        folder.write(kLinks, links);
        platform.setNextAnswer(yes ? MsgResult::Yes : MsgResult::No);

        tarvo::OpenHelp();

        if (asked) {
            QCOMPARE(texts(platform.messages), QStringList{kNoOfflineHelp});
            QCOMPARE(platform.messages[0].buttons, MsgButtons::YesNo);
            QCOMPARE(platform.messages[0].icon, MsgIcon::Question);
            QCOMPARE(platform.messages[0].title, QString("Quenmark v2"));
        } else {
            QVERIFY(platform.messages.isEmpty());
        }
        if (!openedFile.isEmpty()) {
            QCOMPARE(platform.opened.size(), 1);
            // The file as it really is spelt, so that it opens on any system.
            QCOMPARE(platform.opened[0].compare(folder.file(openedFile), Qt::CaseInsensitive), 0);
            QVERIFY(QFileInfo(platform.opened[0]).isFile());
        } else if (!openedAddress.isEmpty()) {
            QCOMPARE(platform.opened, QStringList{openedAddress});
        } else {
            QVERIFY(platform.opened.isEmpty());
        }
        QVERIFY(!platform.ended);
    }

    // --------------------------------------------------------- library ----

    void openLibrary_data() {
        QTest::addColumn<QByteArray>("settings");
        QTest::addColumn<QByteArray>("links");
        QTest::addColumn<bool>("yes");
        QTest::addColumn<QString>("openedFile");
        QTest::addColumn<QString>("openedAddress");
        QTest::addColumn<bool>("asked");

        const QByteArray noLibrary = "[Program]\r\niniLibrary=\r\n";
        // Without its page the library opens the home address itself, once.
        QTest::newRow("online page not listed")
            << noLibrary << QByteArray("[iniOther]\r\niniHelp=help.html\r\n") << true << ""
            << kDomain << true;
        QTest::newRow("no links file")
            << noLibrary << QByteArray() << true << "" << kDomain << true;
        QTest::newRow("online page listed")
            << noLibrary << QByteArray("[iniOther]\r\niniLibrary=books/\r\n") << true << ""
            << kDomain + "books/" << true;
        QTest::newRow("No") << noLibrary << QByteArray("[iniOther]\r\niniLibrary=books/\r\n")
                            << false << ""
                            << "" << true;
        QTest::newRow("offline library")
            << QByteArray("[Program]\r\niniLibrary=\\Library\\Index.htm\r\n")
            << QByteArray("[iniOther]\r\niniLibrary=books/\r\n") << true << "Library/Index.htm"
            << "" << false;
    }

    void openLibrary() {
        QFETCH(QByteArray, settings);
        QFETCH(QByteArray, links);
        QFETCH(bool, yes);
        QFETCH(QString, openedFile);
        QFETCH(QString, openedAddress);
        QFETCH(bool, asked);

        ScriptedPlatform platform;
        TempAppFolder folder;
        folder.write("Data/Settings.ini", settings);
        if (links.isNull())
            QVERIFY(QFile::remove(folder.file(kLinks)));
        else
            folder.write(kLinks, links);
        folder.write("Library/Index.htm", "<html></html>");
        platform.setNextAnswer(yes ? MsgResult::Yes : MsgResult::No);

        tarvo::OpenLibrary();

        if (asked) {
            QCOMPARE(texts(platform.messages), QStringList{kNoOfflineLibrary});
            QCOMPARE(platform.messages[0].buttons, MsgButtons::YesNo);
            QCOMPARE(platform.messages[0].icon, MsgIcon::Information);
            QCOMPARE(platform.messages[0].title, QString("Quenmark v2"));
        } else {
            QVERIFY(platform.messages.isEmpty());
        }
        if (!openedFile.isEmpty())
            QCOMPARE(platform.opened, QStringList{folder.file(openedFile)});
        else if (!openedAddress.isEmpty())
            QCOMPARE(platform.opened, QStringList{openedAddress});
        else
            QVERIFY(platform.opened.isEmpty());
    }

    // ---------------------------------------------------------- repair ----

    void repairSettingsFile_data() {
        QTest::addColumn<QByteArray>("before"); // null: no settings file
        QTest::newRow("damaged") << QByteArray("\xff\xfe\x00garbage", 10);
        QTest::newRow("missing") << QByteArray();
        QTest::newRow("longer than the pristine copy") << QByteArray(10000, 'x');
    }

    void repairSettingsFile() {
        QFETCH(QByteArray, before);
        ScriptedPlatform platform;
        TempAppFolder folder;
        QFile::remove(folder.file("Data/Settings.ini"));
        if (!before.isNull())
            folder.write("Data/Settings.ini", before);
        const QByteArray pristine = folder.read("Help/settings.ini");
        QVERIFY(pristine.contains("iniDomain="));

        tarvo::RepairSettingsFile();

        QCOMPARE(folder.read("Data/Settings.ini"), pristine);
        QCOMPARE(texts(platform.messages), QStringList{kRepairSucceeded});
        QCOMPARE(platform.messages[0].icon, MsgIcon::Information);
        QCOMPARE(platform.messages[0].title, QString("Quenmark v2"));
        QVERIFY(!platform.ended);
        QVERIFY(platform.started.isEmpty());
    }

    void repairRefusesAReadOnlySettingsFile() {
        // As the INI writer does, even for root: the file stays, the repair
        // is reported as failed and a reinstall offered.
        ScriptedPlatform platform;
        platform.setNextAnswer(MsgResult::OK);
        platform.setNextAnswer(MsgResult::No);
        TempAppFolder folder;
        folder.write("Data/Settings.ini", "[Program]\r\nkept=1\r\n");
        QFile::setPermissions(folder.file("Data/Settings.ini"),
                              QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
        tarvo::RepairSettingsFile();
        QCOMPARE(folder.read("Data/Settings.ini"), QByteArray("[Program]\r\nkept=1\r\n"));
        QCOMPARE(platform.messages.size(), 2);
        QVERIFY(platform.messages[0].text.contains("failed"));
        QCOMPARE(platform.messages[1].text, kReinstallQuestion);
    }

    // -------------------------------------------------------- hand-over ----

    void closeAndContinuePlacesProgressBesideMain_data() {
        QTest::addColumn<bool>("withForm");
        QTest::addColumn<QPoint>("mainAt"); // (-1,-1): where it opens by itself
        QTest::newRow("from a window") << true << QPoint(-1, -1);
        QTest::newRow("no window") << false << QPoint(-1, -1);
        QTest::newRow("main moved first") << true << QPoint(700, 180);
    }

    void closeAndContinuePlacesProgressBesideMain() {
        QFETCH(bool, withForm);
        QFETCH(QPoint, mainAt);
        ScriptedPlatform platform;
        TempAppFolder folder;

        QPointer<QWidget> form;
        if (withForm) {
            form = new QWidget;
            form->setObjectName("frmWelcome");
            form->setAttribute(Qt::WA_DeleteOnClose);
            form->show();
            QVERIFY(QTest::qWaitForWindowExposed(form));
        }
        if (mainAt != QPoint(-1, -1))
            static_cast<QWidget*>(tarvo::forms::main())->move(mainAt);

        tarvo::CloseAndContinue(form, QStringLiteral("frmWelcome"));

        QWidget* m = static_cast<QWidget*>(tarvo::forms::mainIfLoaded());
        QWidget* p = static_cast<QWidget*>(tarvo::forms::progressIfLoaded());
        QVERIFY(m && p);
        QVERIFY(m->isVisible());
        QVERIFY(p->isVisible());
        QVERIFY(QTest::qWaitForWindowExposed(m));
        QVERIFY(QTest::qWaitForWindowExposed(p));
        QTRY_COMPARE(p->frameGeometry().top(), m->frameGeometry().top());
        const QRect avail = m->screen()->availableGeometry();
        QVERIFY(avail.contains(m->frameGeometry()));
        QVERIFY(avail.contains(p->frameGeometry()));
        if (avail.width() >= m->frameGeometry().width() + p->frameGeometry().width()) {
            QCOMPARE(p->frameGeometry().right() + 1, m->frameGeometry().left());
            if (mainAt != QPoint(-1, -1))
                QCOMPARE(m->pos(), mainAt);
        } else {
            // Too narrow for both side by side (as offscreen): both whole,
            // the progress window at the left edge over the main window.
            QCOMPARE(p->frameGeometry().left(), avail.left());
            QCOMPARE(m->frameGeometry().right(), avail.right());
        }
        if (withForm)
            QTRY_VERIFY(form.isNull() || !form->isVisible());
        delete form.data();
    }
};

QTEST_MAIN(TestGeneral)
#include "tst_general.moc"
