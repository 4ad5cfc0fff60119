// Printing on the system's print queues, against a private CUPS server of
// the test's own: a paused queue, one that refuses jobs and one that prints
// (into /dev/null). The user is told why a page was not printed, and a page
// reported as sent is in the queue's jobs.
#include "character.h"
#include "output/frmPrint.h"
#include "scriptedplatform.h"
#include "shell/forms.h"
#include "shell/qtplatform.h"
#include "wizard/frmMain.h"

#include <QComboBox>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QtTest>

#ifdef Q_OS_LINUX
#include <csignal>
#include <sys/prctl.h>
#endif

using namespace tarvo;

namespace {

// The scripted platform with the system's queues; the queue may be left
// unasked before printing, so that only the answer to the job tells.
struct SystemPrinters : test::ScriptedPlatform {
    QtPlatform qt;
    bool askBefore = true;
    QStringList printerNames() override { return qt.printerNames(); }
    QString printerRefusal(const QString& p) override {
        return askBefore ? qt.printerRefusal(p) : QString();
    }
    QString printJobFailure() override { return qt.printJobFailure(); }
};

// Runs a CUPS tool (against the server CUPS_SERVER names); its output, or
// no value when it failed.
std::optional<QString> cups(const QString& tool, const QStringList& args) {
    QProcess p;
    p.start(QStandardPaths::findExecutable(tool, {"/usr/sbin", "/usr/bin"}), args);
    if (!p.waitForFinished(20000) || p.exitCode() != 0)
        return std::nullopt;
    return QString::fromUtf8(p.readAllStandardOutput());
}

} // namespace

class TestPrintQueue : public QObject {
    Q_OBJECT

    QTemporaryDir m_root;
    QProcess m_cupsd;

    // Starts the server with its three queues; the reason when it could not.
    QString startServer() {
        const QString root = m_root.path(), socket = root + "/cups.sock";
        QFile conf(root + "/cupsd.conf"), files(root + "/cups-files.conf");
        conf.open(QIODevice::WriteOnly);
        conf.write("Listen " + socket.toUtf8() +
                   "\nBrowsing No\nWebInterface No\nDefaultAuthType None\n<Location />\n"
                   "Allow all\n</Location>\n<Policy default>\n<Limit All>\n</Limit>\n"
                   "</Policy>\n");
        files.open(QIODevice::WriteOnly);
        files.write(QStringLiteral("ServerRoot %1\nRequestRoot %1\nCacheDir %1\nStateDir %1\n"
                                   "TempDir %1\nErrorLog %1/log\nFileDevice Yes\n")
                        .arg(root)
                        .toUtf8());
        if (!conf.flush() || !files.flush())
            return "the server's configuration could not be written";
        // Every use of the printing service in this process goes there.
        qputenv("CUPS_SERVER", socket.toLocal8Bit());
#ifdef Q_OS_LINUX
        // The server ends with the test, even one that crashes.
        m_cupsd.setChildProcessModifier([] { prctl(PR_SET_PDEATHSIG, SIGTERM); });
#endif
        m_cupsd.setProcessChannelMode(QProcess::MergedChannels);
        m_cupsd.start(QStandardPaths::findExecutable("cupsd", {"/usr/sbin"}),
                      {"-f", "-c", conf.fileName(), "-s", files.fileName()});
        for (int i = 0; !cups("lpstat", {"-r"}).value_or("").contains("is running"); ++i) {
            if (m_cupsd.state() == QProcess::NotRunning || i > 150)
                return "cupsd (Debian package cups-daemon) could not be started: " +
                       QString::fromUtf8(m_cupsd.readAll()).trimmed() + m_cupsd.errorString();
            QTest::qWait(100);
        }
        for (const char* queue : {"Paused", "Refusing", "Working"})
            if (!cups("lpadmin", {"-p", queue, "-E", "-v", "file:/dev/null"}))
                return "lpadmin (Debian package cups-client) could not add a queue";
        if (!cups("cupsdisable", {"Paused"}) || !cups("cupsreject", {"Refusing"}))
            return "the queues could not be paused or set to refuse jobs";
        return {};
    }
    // Prints on a queue through the printing options; the message shown.
    test::ShownMessage printOn(SystemPrinters& platform, const QString& queue) {
        QTest::mouseClick(forms::main()->findChild<QPushButton*>("cmdPrint"), Qt::LeftButton);
        for (QWidget* top : QApplication::topLevelWidgets())
            if (auto* w = qobject_cast<frmPrint*>(top); w && w->isVisible()) {
                auto* printers = w->findChild<QComboBox*>("cboPrinters");
                printers->setCurrentIndex(printers->findText(queue));
                QTest::mouseClick(w->findChild<QPushButton*>("cmdPrint"), Qt::LeftButton);
                w->close();
            }
        return platform.lastMessage();
    }

private slots:
    void cleanupTestCase() {
        m_cupsd.terminate();
        m_cupsd.waitForFinished();
    }

    void eachQueueGetsItsAnswer() {
        if (const QString why = startServer(); !why.isEmpty())
            QSKIP(qPrintable(why));
        test::TempAppFolder app;
        SystemPrinters platform;
        character().setRealName("Tom");
        forms::main()->show();
        forms::main()->selectStep(7);

        test::ShownMessage m = printOn(platform, "Paused");
        QCOMPARE(m.icon, MsgIcon::Critical);
        QVERIFY2(m.text.contains("could not be printed on Paused: the printer is paused"),
                 qPrintable(m.text));
        QVERIFY(!cups("lpstat", {"-W", "all", "-o", "Paused"})->contains("Paused-"));
        m = printOn(platform, "Refusing");
        QVERIFY2(m.text.contains("Refusing: the printer is not accepting jobs"),
                 qPrintable(m.text));
        // A queue that turns to refusing after it was asked: the job's own
        // answer tells, in the printing service's words.
        platform.askBefore = false;
        m = printOn(platform, "Refusing");
        QVERIFY2(m.text.contains("did not take the job") && m.text.contains("not accepting jobs"),
                 qPrintable(m.text));

        m = printOn(platform, "Working");
        QCOMPARE(m.title, QString("Printing now..."));
        QVERIFY(cups("lpstat", {"-W", "all", "-o", "Working"})->contains("Working-"));
        forms::unloadAll();
    }
};

QTEST_MAIN(TestPrintQueue)
#include "tst_printqueue.moc"
