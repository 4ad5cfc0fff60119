// Start-up: the splash records the version, reads the settings into the
// shared variables, offers the repair of a bad settings file and hands over
// to the welcome window.
#include "globals.h"
#include "ini/mdlVbNetIni.h"
#include "scriptedplatform.h"
#include "shell/forms.h"
#include "shell/frmSplash.h"
#include "shell/frmWelcome.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPointer>
#include <QTimer>
#include <QtTest>

using tarvo::MsgButtons;
using tarvo::MsgIcon;
using tarvo::MsgResult;
using tarvo::test::ScriptedPlatform;
using tarvo::test::TempAppFolder;

namespace {

const QString kSettingsProblem = QStringLiteral(
    "There is a problem with the Settings.ini settings file that you are using. TARVO2 needs to "
    "access this file in order to function properly. You can attempt to repair this file by "
    "pressing OK and restarting the application, you can also attempt to run TARVO2 anyway by "
    "clicking Cancel although the program may become unstable. If this does not work, please "
    "reinstall TARVO2. For more information, see the Help Files.");
const QString kRepairSucceeded =
    QStringLiteral("The repair attempt appears to have succeeded. You will need to restart TARVO2 "
                   "for changes to take effect.");
const QString kRepairFailed =
    QStringLiteral("The repair attempt appears to have failed, it is necessary to reinstall "
                   "TARVO2. See the help files for more information.");
const QString kReinstallQuestion =
    QStringLiteral("This will reinstall TARVO2, all settings will be lost. Do you wish to close "
                   "TARVO2 now and begin the reinstall?");
const QString kDone = QStringLiteral("Operations Completed! Loading welcome screen, standby...");

const QByteArray kGoodSettings = "[Program]\r\niniDomain=https://example.org/tarvo/\r\n";

// Every text the status line shows on a clean start, in order.
const QStringList kCleanStartTexts = {
    "Updating version numbers...",
    "...writing versions.ini...",
    "...complete!",
    "Loading settings file...",
    "...loading global definitions...",
    "...global definitions loaded!",
    "Accessing settings file...",
    "...determining run status...",
    "...status determined!",
    "...determining advanced features...",
    "...advanced features determined!",
    "Determining domains...",
    "...varifying domain...",
    "...domain varified!",
    kDone,
};

// Records what the status line shows each time it is painted.
class StatusRecorder : public QObject {
public:
    explicit StatusRecorder(QLabel* label) : m_label(label) { label->installEventFilter(this); }
    QStringList shown;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == m_label && event->type() == QEvent::Paint &&
            (shown.isEmpty() || shown.last() != m_label->text()))
            shown.append(m_label->text());
        return false;
    }

private:
    QLabel* m_label;
};

} // namespace

class TestStartup : public QObject {
    Q_OBJECT

    QPointer<tarvo::frmSplash> m_splash;

    // A splash on screen, loaded as the program starts it.
    tarvo::frmSplash* startSplash(StatusRecorder** recorder = nullptr) {
        m_splash = new tarvo::frmSplash;
        m_splash->show();
        if (!QTest::qWaitForWindowExposed(m_splash))
            return nullptr;
        if (recorder)
            *recorder = new StatusRecorder(label("lblStatus"));
        m_splash->load();
        return m_splash;
    }

    QString labelText(const char* name) const {
        const QLabel* l = label(name);
        return l ? l->text() : QStringLiteral("<no %1>").arg(QLatin1String(name));
    }
    QLabel* label(const char* name) const {
        return m_splash ? m_splash->findChild<QLabel*>(QLatin1String(name)) : nullptr;
    }

    static bool welcomeShown() {
        const tarvo::frmWelcome* w = tarvo::forms::welcomeIfLoaded();
        return w && w->isVisible();
    }

private slots:
    void init() { tarvo::globals() = tarvo::Globals{}; }

    void cleanup() {
        delete m_splash.data();
        tarvo::forms::unloadAll();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    void goodSettingsFileLoadsQuietly() {
        ScriptedPlatform platform;
        TempAppFolder folder;
        folder.write("Data/Settings.ini", kGoodSettings);

        StatusRecorder* recorder = nullptr;
        QVERIFY(startSplash(&recorder));

        QCOMPARE(labelText("lblStatus"), kDone);
        QCOMPARE(recorder->shown, kCleanStartTexts);
        QCOMPARE(tarvo::globals().FirstRun, QString("No"));
        QCOMPARE(tarvo::globals().ShowAdvancedFeatures, QString("No"));
        QCOMPARE(tarvo::globals().Domain, QString("https://example.org/tarvo/"));
        QCOMPARE(tarvo::globals().StepTasks.size(), 9);
        QVERIFY(platform.messages.isEmpty());
        QVERIFY(!platform.ended);
        QCOMPARE(folder.read("Data/Settings.ini"), kGoodSettings);
    }

    void settingsValuesAreTakenAsWritten() {
        ScriptedPlatform platform;
        TempAppFolder folder;
        folder.write("Data/Settings.ini", "[program]\r\n"
                                          "INIFIRSTRUN = Yes\r\n"
                                          "iniShowAdvancedFeatures=Yes\r\n"
                                          "iniDomain=\"http://site.example/\"\r\n");
        QVERIFY(startSplash());
        QCOMPARE(tarvo::globals().FirstRun, QString("Yes"));
        QCOMPARE(tarvo::globals().ShowAdvancedFeatures, QString("Yes"));
        QCOMPARE(tarvo::globals().Domain, QString("http://site.example/"));
        QVERIFY(platform.messages.isEmpty());
    }

    void splashShowsWhoAndWhatItIs() {
        ScriptedPlatform platform;
        TempAppFolder folder;
        folder.write("Data/Settings.ini", kGoodSettings);
        QVERIFY(startSplash());
        QCOMPARE(labelText("lblVersion"), QString("Version 2.0.3"));
        QCOMPARE(labelText("lblCompany"), QString("Quillon"));
        QCOMPARE(labelText("lblProductName"), QString("TARVO"));
        QCOMPARE(labelText("lblMajor"), QString("2"));
        QCOMPARE(labelText("lblPlatform"), QString("Character Profile Creator"));
        QCOMPARE(labelText("lblCompanyProduct"), QString("Ferrandel Network's"));
        QVERIFY(label("imgLogo"));
        // Every text whole, beside the logo, none over another.
        const QStringList texts = {"lblProductName",    "lblMajor",   "lblPlatform",
                                   "lblCompanyProduct", "lblVersion", "lblCompany"};
        for (const QString& name : texts) {
            QLabel* l = label(qPrintable(name));
            QVERIFY2(!l->geometry().intersects(label("imgLogo")->geometry()), qPrintable(name));
            QVERIFY2(l->heightForWidth(l->width()) <= l->height(), qPrintable(name));
            for (const QString& word : l->text().split(' '))
                QVERIFY2(l->fontMetrics().horizontalAdvance(word) <= l->width(), qPrintable(name));
            if (name != texts.last())
                QVERIFY(l->geometry().bottom() <
                        label(qPrintable(texts[texts.indexOf(name) + 1]))->y());
        }
    }

    void versionIsRecordedEveryStart_data() {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QStringList>("keptKeys"); // "section/key=value"

        QTest::newRow("no versions file") << QByteArray() << QStringList();
        QTest::newRow("older program and other items")
            << QByteArray("[versions]\r\nprogram=1.0.0\r\ndata=1.2.3\r\nhelp=0.9\r\n"
                          "[elsewhere]\r\nprogram=7\r\n")
            << QStringList{"versions/data=1.2.3", "versions/help=0.9", "elsewhere/program=7"};
        QTest::newRow("newer program in other letter case")
            << QByteArray("[Versions]\nPROGRAM=3.1.4\ntemplates=2.0.1\n")
            << QStringList{"versions/templates=2.0.1"};
        QTest::newRow("no program key yet")
            << QByteArray("[versions]\r\nupdate=1.0.1\r\n") << QStringList{"versions/update=1.0.1"};
        QTest::newRow("other section only")
            << QByteArray("[misc]\r\nnote=kept\r\n") << QStringList{"misc/note=kept"};
    }

    void versionIsRecordedEveryStart() {
        QFETCH(QByteArray, before);
        QFETCH(QStringList, keptKeys);
        ScriptedPlatform platform;
        TempAppFolder folder;
        folder.write("Data/Settings.ini", kGoodSettings);
        QFile::remove(folder.file("Data/versions.ini"));
        if (!before.isNull())
            folder.write("Data/versions.ini", before);

        QVERIFY(startSplash());

        const QString versions = folder.file("Data/versions.ini");
        QCOMPARE(ReadIniValue("versions", "program", "<none>", versions), QString("2.0.3"));
        for (const QString& kept : keptKeys) {
            const QString section = kept.section('/', 0, 0);
            const QString key = kept.section('/', 1).section('=', 0, 0);
            const QString value = kept.section('=', 1);
            QCOMPARE(ReadIniValue(section, key, "<lost>", versions), value);
        }
        // One program entry in the versions section, not a second one beside the old.
        const QString text = QString::fromUtf8(folder.read("Data/versions.ini"));
        const auto programLines =
            QRegularExpression("^program=", QRegularExpression::MultilineOption |
                                                QRegularExpression::CaseInsensitiveOption);
        const qsizetype elsewhere = keptKeys.filter(QRegularExpression("^[^/]+/program=")).size();
        QCOMPARE(text.count(programLines), 1 + elsewhere);
    }

    void badSettingsFileOffersRepair_data() {
        QTest::addColumn<QByteArray>("settings"); // null: no settings file
        QTest::addColumn<QString>("firstRun");
        QTest::addColumn<QString>("advanced");

        QTest::newRow("missing") << QByteArray() << "No"
                                 << "No";
        static const char junk[] = "\x00\x01\xff\xfe[Program]\r\niniDomain\x00=http://x/\r\n"
                                   "\xff\xd8\x00junk";
        QTest::newRow("binary junk") << QByteArray(junk, sizeof junk - 1) << "No"
                                     << "No";
        QTest::newRow("empty domain") << QByteArray("[Program]\r\niniFirstRun=Yes\r\n"
                                                    "iniShowAdvancedFeatures=Yes\r\niniDomain=\r\n")
                                      << "Yes"
                                      << "Yes";
        QTest::newRow("domain in another section")
            << QByteArray("[UI]\r\niniDomain=http://x/\r\n") << "No"
            << "No";
        QTest::newRow("empty file") << QByteArray("") << "No"
                                    << "No";
    }

    void badSettingsFileOffersRepair() {
        QFETCH(QByteArray, settings);
        QFETCH(QString, firstRun);
        QFETCH(QString, advanced);

        // Cancel: the file stays as it is and start-up goes on with what was
        // read; the welcome window still follows the splash.
        {
            ScriptedPlatform platform;
            TempAppFolder folder;
            QFile::remove(folder.file("Data/Settings.ini"));
            if (!settings.isNull())
                folder.write("Data/Settings.ini", settings);
            platform.setNextAnswer(MsgResult::Cancel);

            QVERIFY(startSplash());

            QCOMPARE(platform.messages.size(), 1);
            const auto m = platform.messages.first();
            QCOMPARE(m.text, kSettingsProblem);
            QCOMPARE(m.buttons, MsgButtons::OKCancel);
            QCOMPARE(m.icon, MsgIcon::Critical);
            QCOMPARE(m.title, QString("Quenmark v2"));
            QVERIFY(!platform.ended);
            QCOMPARE(tarvo::globals().FirstRun, firstRun);
            QCOMPARE(tarvo::globals().ShowAdvancedFeatures, advanced);
            QCOMPARE(tarvo::globals().Domain, QString());

            if (settings.isNull())
                QVERIFY(!QFile::exists(folder.file("Data/Settings.ini")));
            else
                QCOMPARE(folder.read("Data/Settings.ini"), settings);

            QVERIFY(!tarvo::forms::welcomeIfLoaded());
            QTRY_VERIFY_WITH_TIMEOUT(welcomeShown(), 5000);
            QTRY_VERIFY(m_splash.isNull());
            QCOMPARE(platform.messages.size(), 1);
            cleanup();
        }

        // OK: the pristine copy replaces the file, the repair is confirmed and
        // the program ends.
        {
            ScriptedPlatform platform;
            TempAppFolder folder;
            QFile::remove(folder.file("Data/Settings.ini"));
            if (!settings.isNull())
                folder.write("Data/Settings.ini", settings);
            const QByteArray pristine = folder.read("Help/settings.ini");
            QVERIFY(!pristine.isEmpty());
            platform.setNextAnswer(MsgResult::OK);

            QVERIFY(startSplash());

            QCOMPARE(folder.read("Data/Settings.ini"), pristine);
            QCOMPARE(platform.messages.size(), 2);
            QCOMPARE(platform.messages[0].text, kSettingsProblem);
            QCOMPARE(platform.messages[1].text, kRepairSucceeded);
            QCOMPARE(platform.messages[1].icon, MsgIcon::Information);
            QCOMPARE(platform.messages[1].title, QString("Quenmark v2"));
            QVERIFY(platform.ended);
            QVERIFY(platform.started.isEmpty());
        }
    }

    void repairWithoutPristineCopyOffersReinstall() {
        ScriptedPlatform platform;
        TempAppFolder folder;
        folder.write("Data/Settings.ini", "[Program]\r\niniDomain=\r\n");
        QVERIFY(QFile::remove(folder.file("Help/settings.ini")));
        platform.setNextAnswer(MsgResult::OK); // repair
        platform.setNextAnswer(MsgResult::OK); // the failure notice
        platform.setNextAnswer(MsgResult::No); // no reinstall

        QVERIFY(startSplash());

        QCOMPARE(platform.messages.size(), 3);
        QCOMPARE(platform.messages[0].text, kSettingsProblem);
        QCOMPARE(platform.messages[1].text, kRepairFailed);
        QCOMPARE(platform.messages[1].icon, MsgIcon::Exclamation);
        QCOMPARE(platform.messages[2].text, kReinstallQuestion);
        QCOMPARE(platform.messages[2].buttons, MsgButtons::YesNo);
        QCOMPARE(platform.messages[2].icon, MsgIcon::Question);
        QVERIFY(platform.started.isEmpty());
        QCOMPARE(folder.read("Data/Settings.ini"), QByteArray("[Program]\r\niniDomain=\r\n"));
        // OK on the settings problem always ends the program.
        QVERIFY(platform.ended);
    }

    void handOverToWelcomeAfterTimer() {
        ScriptedPlatform platform;
        TempAppFolder folder;
        folder.write("Data/Settings.ini", kGoodSettings);

        m_splash = new tarvo::frmSplash;
        auto* timer = m_splash->findChild<QTimer*>("Timer1");
        QVERIFY(timer);
        QCOMPARE(timer->interval(), 800);
        QVERIFY(timer->isSingleShot());
        QVERIFY(!timer->isActive());

        m_splash->show();
        m_splash->load();
        QVERIFY(timer->isActive());
        QVERIFY(m_splash->isVisible());
        QVERIFY(!tarvo::forms::welcomeIfLoaded());

        QTRY_VERIFY_WITH_TIMEOUT(welcomeShown(), 5000);
        QTRY_VERIFY(m_splash.isNull());
        QVERIFY(platform.messages.isEmpty());
    }

    void settingsFoundInAnyLetterCase() {
        ScriptedPlatform platform;
        TempAppFolder folder;
        QFile::remove(folder.file("Data/Settings.ini"));
        QFile::remove(folder.file("Data/versions.ini"));
        QVERIFY(QDir().rename(folder.file("Data"), folder.file("data")));
        if (QFileInfo::exists(folder.file("DATA")))
            QSKIP("this file system ignores letter case");
        folder.write("data/SETTINGS.INI", kGoodSettings);
        folder.write("data/Versions.INI", "[VERSIONS]\r\nProgram=0.1\r\n");

        QVERIFY(startSplash());

        QVERIFY(platform.messages.isEmpty());
        QCOMPARE(tarvo::globals().Domain, QString("https://example.org/tarvo/"));
        QCOMPARE(labelText("lblStatus"), kDone);
        // The existing files were used; nothing was created beside them.
        QCOMPARE(QDir(folder.path()).entryList({"data", "Data"}, QDir::Dirs, QDir::Name),
                 QStringList{"data"});
        QVERIFY(!QFile::exists(folder.file("data/versions.ini")));
        QVERIFY(!QFile::exists(folder.file("data/Settings.ini")));
        QCOMPARE(ReadIniValue("versions", "program", "", folder.file("data/Versions.INI")),
                 QString("2.0.3"));
    }
};

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
