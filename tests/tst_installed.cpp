// Installed mode: the program runs from a copy of the program folder whose
// write permission is taken away, as a package installs it. Every file the
// program writes goes to the user's own data folder, reads prefer the user's
// copies, and the program folder stays exactly as it was (checked byte for
// byte, since tests may run as root, who could write there anyway).
#include "appfolder.h"
#include "character.h"
#include "globals.h"
#include "ini/mdlVbNetIni.h"
#include "planning/frmProgress.h"
#include "reftables.h"
#include "scriptedplatform.h"
#include "shell/forms.h"
#include "shell/frmOptions.h"
#include "shell/frmSplash.h"
#include "wizard/frmMain.h"

#include <QCheckBox>
#include <QDirIterator>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QtTest>

using namespace tarvo;
using tarvo::test::ScriptedPlatform;
using tarvo::test::TempAppFolder;

namespace {

const QString kRepairSucceeded =
    QStringLiteral("The repair attempt appears to have succeeded. You will need to restart TARVO2 "
                   "for changes to take effect.");

// Every file under a folder with its contents.
QMap<QString, QByteArray> contentsOf(const QString& folder) {
    QMap<QString, QByteArray> out;
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QFile f(it.next());
        out.insert(QDir(folder).relativeFilePath(f.fileName()),
                   f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>"));
    }
    return out;
}

void setWritable(const QString& folder, bool writable) {
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    QStringList entries{folder};
    while (it.hasNext())
        entries << it.next();
    const auto write = QFileDevice::WriteOwner | QFileDevice::WriteUser | QFileDevice::WriteGroup |
                       QFileDevice::WriteOther;
    for (const QString& e : entries) {
        const QFile::Permissions p = QFileInfo(e).permissions();
        QFile::setPermissions(e, writable ? p | QFileDevice::WriteOwner | QFileDevice::WriteUser
                                          : p & ~write);
    }
}

// A copy of the staged program folder made read-only, and an empty per-user
// data folder.
class ReadOnlyInstall {
public:
    ReadOnlyInstall() {
        setUserDataFolder(m_home.path());
        setWritable(m_folder.path(), false);
        m_before = contentsOf(m_folder.path());
    }
    ~ReadOnlyInstall() {
        setWritable(m_folder.path(), true);
        setUserDataFolder(QString());
    }
    QString shipped(const QString& relative) const { return m_folder.file(relative); }
    QString own(const QString& relative) const { return m_home.filePath(relative); }
    QByteArray ownBytes(const QString& relative) const {
        QFile f(own(relative));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    void writeOwn(const QString& relative, const QByteArray& bytes) const {
        QDir().mkpath(QFileInfo(own(relative)).absolutePath());
        QFile f(own(relative));
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size());
    }
    QStringList ownFiles() const { return contentsOf(m_home.path()).keys(); }
    bool programFolderUnchanged() const { return contentsOf(m_folder.path()) == m_before; }

private:
    TempAppFolder m_folder;
    QTemporaryDir m_home;
    QMap<QString, QByteArray> m_before;
};

} // namespace

class TestInstalled : public QObject {
    Q_OBJECT

    QPointer<frmSplash> m_splash;

    void startSplash() {
        m_splash = new frmSplash;
        m_splash->show();
        m_splash->load();
    }

private slots:
    void initTestCase() { QApplication::setQuitOnLastWindowClosed(false); }

    void init() {
        globals() = Globals{};
        character().reset();
    }

    void cleanup() {
        delete m_splash.data();
        forms::unloadAll();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        character().reset();
    }

    void resolverSendsWritesToTheUserFolder() {
        ReadOnlyInstall install;
        QVERIFY(!isPortable());
        QCOMPARE(userDataFolder(), QDir::cleanPath(install.own(QString())));

        // Seeded from the shipped file, named as the shipped file is.
        const QString versions = writablePath(QStringLiteral("\\data\\VERSIONS.ini"), true);
        QCOMPARE(versions, install.own("Data/versions.ini"));
        QCOMPARE(install.ownBytes("Data/versions.ini"),
                 contentsOf(install.shipped(QString())).value("Data/versions.ini"));
        QCOMPARE(readablePath(QStringLiteral("/Data/versions.ini")), versions);

        // Without seeding nothing is copied; the folders are made.
        QCOMPARE(writablePath(QStringLiteral("/Data/ClipboardData.txt")),
                 install.own("Data/ClipboardData.txt"));
        QCOMPARE(install.ownFiles(), QStringList{"Data/versions.ini"});

        // A file downloaded into the user folder is read instead of the
        // shipped one; folders stay the shipped ones.
        install.writeOwn("Data/Class/Magic.txt", "updated");
        QCOMPARE(appPath(QStringLiteral("\\data\\class\\magic.txt")),
                 install.own("Data/Class/Magic.txt"));
        QCOMPARE(appPath(QStringLiteral("/Data/Class")), install.shipped("Data/Class"));
        QCOMPARE(appPath(QStringLiteral("/Data/Class/Combat.txt")),
                 install.shipped("Data/Class/Combat.txt"));

        // Templates fetched into the user folder are listed with the shipped
        // ones (the loader's list), each name once; the fetched copy is read.
        install.writeOwn("Templates/Zealot.M3T", "fetched");
        install.writeOwn("Templates/Knight.M3T", "fetched");
        const QStringList templates = folderFiles("\\templates", {"*.M3T"});
        QCOMPARE(templates.last(), "Zealot.M3T");
        QCOMPARE(templates.count("Knight.M3T"), 1);
        QCOMPARE(appPath("\\Templates\\Knight.M3T"), install.own("Templates/Knight.M3T"));

        // Removing a working file never touches a shipped file.
        QVERIFY(removeWrittenFile(QStringLiteral("/Data/Class/Magic.txt")));
        QVERIFY(!QFile::exists(install.own("Data/Class/Magic.txt")));
        QVERIFY(removeWrittenFile(QStringLiteral("/Data/Class/Combat.txt")));
        QVERIFY(install.programFolderUnchanged());

        // Nothing is written or removed outside the folders.
        QCOMPARE(writablePath(QStringLiteral("\\Data\\..\\..\\elsewhere.ini")), QString());
        QVERIFY(!removeWrittenFile(QStringLiteral("/../versions.ini")));

        // Both programs find the same folder, whatever each is called.
        setUserDataFolder(QString());
        const QString mine = userDataFolder();
        QVERIFY(mine.endsWith(QLatin1String("/TARVO2")));
        const QString name = QCoreApplication::applicationName();
        QCoreApplication::setApplicationName(QStringLiteral("update"));
        QCOMPARE(userDataFolder(), mine);
        QCoreApplication::setApplicationName(name);
    }

    void writableFolderIsPortable() {
        TempAppFolder folder;
        QVERIFY(isPortable());
        QCOMPARE(userDataFolder(), folder.path());
        QCOMPARE(writablePath(QStringLiteral("\\data\\settings.ini"), true),
                 folder.file("Data/Settings.ini"));
        setPortableOverride(false);
        QVERIFY(!isPortable());
        setPortableOverride(std::nullopt);
        QVERIFY(isPortable());
        // An installation's mark counts, whoever may write to the folder.
        folder.write(".installed", "installed");
        setAppFolder(folder.path());
        QVERIFY(!isPortable());
    }

    void startUpRecordsTheVersionInTheUserFolder() {
        ScriptedPlatform platform;
        ReadOnlyInstall install;
        startSplash();

        QVERIFY(platform.messages.isEmpty());
        // The shipped settings were read; reading copied nothing.
        QCOMPARE(globals().Domain,
                 ReadIniValue("Program", "iniDomain", "", install.shipped("Data/Settings.ini")));
        QCOMPARE(globals().FirstRun, QStringLiteral("Yes"));
        QCOMPARE(install.ownFiles(), QStringList{"Data/versions.ini"});
        const QString versions = install.own("Data/versions.ini");
        QCOMPARE(ReadIniValue("versions", "program", "", versions), QStringLiteral("2.0.3"));
        QCOMPARE(ReadIniValue("versions", "templates", "", versions), QStringLiteral("2.0.3"));
        QVERIFY(install.programFolderUnchanged());
    }

    void closingTheWizardSavesFirstRunAndRemovesWorkingFiles() {
        ScriptedPlatform platform;
        ReadOnlyInstall install;
        install.writeOwn("Data/~messageboards.txt", "boards");
        install.writeOwn("Data/~HTMLCode.html", "<html>");
        Globals& g = globals();
        g.StepTasks = stepTasks();
        g.FirstRun = QStringLiteral("Yes");
        g.Domain = QStringLiteral("https://example.org/");

        frmMain* w = forms::main();
        w->show();
        QTest::keyClicks(w->findChild<QLineEdit*>("txtRealName"), "Quill");
        QTemporaryDir chosen;
        const QString profile = chosen.filePath("Quill.mwc");
        platform.setNextAnswer(MsgResult::Yes);
        platform.setNextFile(profile);
        QVERIFY(w->close());

        // The dialog started in the user's documents, not the program folder.
        QCOMPARE(platform.dialogs.last().initialFolder,
                 QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
        // The profile went where the user chose; the first-run flag went to
        // the user's settings, which kept every shipped setting.
        QCOMPARE(ReadIniValue("One", "iniRealName", "", profile), QStringLiteral("Quill"));
        QCOMPARE(install.ownFiles(), QStringList{"Data/Settings.ini"});
        const QString settings = install.own("Data/Settings.ini");
        QCOMPARE(ReadIniValue("Program", "iniFirstRun", "", settings), QStringLiteral("No"));
        QCOMPARE(ReadIniValue("Program", "iniDomain", "", settings),
                 ReadIniValue("Program", "iniDomain", "", install.shipped("Data/Settings.ini")));
        QVERIFY(install.programFolderUnchanged());

        // The next start reads the user's settings.
        startSplash();
        QCOMPARE(globals().FirstRun, QStringLiteral("No"));
    }

    void optionsWindowWritesTheUserCopies() {
        ScriptedPlatform platform;
        ReadOnlyInstall install;
        frmMain* w = forms::main();
        w->show();
        forms::progress()->show();
        w->selectStep(7);
        w->findChild<QPushButton*>("cmdControls(2)")->click();
        frmOptions* o = frmOptions::ifLoaded();
        QVERIFY(o && o->isVisible());
        o->findChild<QCheckBox*>("chkProgram")->setChecked(true);
        QTest::mouseClick(o->findChild<QPushButton*>("cmdOK"), Qt::LeftButton);
        QVERIFY(platform.messages.isEmpty());

        QCOMPARE(ReadIniValue("Program", "iniShowAdvancedFeatures", "",
                              install.own("Data/Settings.ini")),
                 QStringLiteral("Yes"));
        QVERIFY(install.ownFiles().contains("Data/tags.ini"));
        QVERIFY(install.ownFiles().contains("Help/installations.ini"));
        QVERIFY(install.programFolderUnchanged());
    }

    void repairRewritesTheUserCopyFromThePristineFile() {
        ScriptedPlatform platform;
        ReadOnlyInstall install;
        install.writeOwn("Data/Settings.ini", "[Program]\r\niniDomain=\r\n");
        platform.setNextAnswer(MsgResult::OK);
        startSplash();

        QCOMPARE(platform.messages.size(), 2);
        QCOMPARE(platform.messages[1].text, kRepairSucceeded);
        QVERIFY(platform.ended);
        QCOMPARE(install.ownBytes("Data/Settings.ini"),
                 contentsOf(install.shipped(QString())).value("Help/settings.ini"));
        QVERIFY(install.programFolderUnchanged());
    }
};

QTEST_MAIN(TestInstalled)
#include "tst_installed.moc"
