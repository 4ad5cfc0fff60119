// Printing on the system's print queues, against a private CUPS server of
// the test's own: a paused queue, one that refuses jobs and one that prints
// (into /dev/null). The user is told why a page was not printed, and a page
// that went out is in the queue's jobs.
#include "character.h"
#include "globals.h"
#include "output/frmPrint.h"
#include "scriptedplatform.h"
#include "shell/forms.h"
#include "shell/qtplatform.h"
#include "wizard/frmMain.h"

#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#ifdef Q_OS_LINUX
#include <csignal>
#include <sys/prctl.h>
#endif

using namespace tarvo;
using tarvo::test::ScriptedPlatform;
using tarvo::test::TempAppFolder;

namespace {

// The scripted platform with the system's printers and queues; the queue
// may be left unasked before printing, so that only the answer to the job
// tells.
struct SystemPrinters : ScriptedPlatform {
    QtPlatform qt;
    bool askBefore = true;
    QStringList printerNames() override { return qt.printerNames(); }
    QString defaultPrinterName() override { return qt.defaultPrinterName(); }
    QString printerRefusal(const QString& printer) override {
        return askBefore ? qt.printerRefusal(printer) : QString();
    }
    QString printJobFailure() override { return qt.printJobFailure(); }
};

QString tool(const char* name) {
    return QStandardPaths::findExecutable(QLatin1String(name),
                                          {"/usr/sbin", "/usr/bin", "/sbin", "/bin"});
}

} // namespace

class TestPrintQueue : public QObject {
    Q_OBJECT

    QTemporaryDir m_root;
    QProcess m_cupsd;
    QString m_skip;
    std::unique_ptr<TempAppFolder> m_app;
    std::unique_ptr<SystemPrinters> m_platform;

    // Runs a CUPS tool against the private server; its output, or no value
    // when it failed.
    std::optional<QString> cups(const char* name, const QStringList& args) {
        QProcess p;
        p.start(tool(name), args);
        if (!p.waitForFinished(20000) || p.exitStatus() != QProcess::NormalExit ||
            p.exitCode() != 0)
            return std::nullopt;
        return QString::fromUtf8(p.readAllStandardOutput());
    }
    QString startServer() {
        for (const char* t : {"cupsd", "lpadmin", "cupsdisable", "cupsreject", "lpstat"})
            if (tool(t).isEmpty())
                return QStringLiteral("%1 is not installed (Debian packages cups-daemon and "
                                      "cups-client)")
                    .arg(QLatin1String(t));
        if (!m_root.isValid())
            return QStringLiteral("no temporary folder");
        const QString root = m_root.path();
        for (const char* sub : {"spool", "cache", "state", "log", "tmp"})
            QDir(root).mkpath(QLatin1String(sub));
        const QString socket = root + "/cups.sock";
        const auto write = [&](const QString& name, const QString& text) {
            QFile f(root + '/' + name);
            return f.open(QIODevice::WriteOnly) && f.write(text.toUtf8()) == text.toUtf8().size();
        };
        const bool written =
            write("cupsd.conf", "Listen " + socket +
                                    "\nLogLevel warn\nBrowsing No\nWebInterface No\n"
                                    "DefaultAuthType None\n<Location />\nOrder allow,deny\n"
                                    "Allow all\n</Location>\n<Policy default>\n<Limit All>\n"
                                    "Order deny,allow\n</Limit>\n</Policy>\n") &&
            write("cups-files.conf",
                  QStringLiteral("ServerRoot %1\nRequestRoot %1/spool\nCacheDir %1/cache\n"
                                 "StateDir %1/state\nTempDir %1/tmp\nErrorLog %1/log/error_log\n"
                                 "AccessLog %1/log/access_log\nPageLog %1/log/page_log\n"
                                 "FileDevice Yes\nSandboxing Relaxed\n")
                      .arg(root));
        if (!written)
            return QStringLiteral("the server's configuration could not be written");
        // Every use of the printing service in this process goes to this server.
        qputenv("CUPS_SERVER", socket.toLocal8Bit());
        m_cupsd.setProcessChannelMode(QProcess::MergedChannels);
#ifdef Q_OS_LINUX
        // The server ends with the test, even one that crashes.
        m_cupsd.setChildProcessModifier([] { prctl(PR_SET_PDEATHSIG, SIGTERM); });
#endif
        m_cupsd.start(tool("cupsd"),
                      {"-f", "-c", root + "/cupsd.conf", "-s", root + "/cups-files.conf"});
        if (!m_cupsd.waitForStarted())
            return QStringLiteral("cupsd could not be started");
        QElapsedTimer waited;
        waited.start();
        while (!cups("lpstat", {"-r"}).value_or(QString()).contains("is running")) {
            if (m_cupsd.state() != QProcess::Running || waited.elapsed() > 15000)
                return QStringLiteral("cupsd did not start: %1")
                    .arg(QString::fromUtf8(m_cupsd.readAll()).trimmed());
            QTest::qWait(100);
        }
        for (const char* queue : {"Paused", "Refusing", "Working"})
            if (!cups("lpadmin", {"-p", queue, "-E", "-v", "file:/dev/null"}))
                return QStringLiteral("the queue %1 could not be made").arg(queue);
        if (!cups("cupsdisable", {"Paused"}) || !cups("cupsreject", {"Refusing"}))
            return QStringLiteral("the queues could not be paused or set to refuse jobs");
        return {};
    }
    frmPrint* openOptions() {
        QTest::mouseClick(forms::main()->findChild<QPushButton*>("cmdPrint"), Qt::LeftButton);
        for (QWidget* top : QApplication::topLevelWidgets())
            if (auto* w = qobject_cast<frmPrint*>(top); w && w->isVisible())
                return w;
        return nullptr;
    }
    // Prints on a queue through the window; the message the user got.
    tarvo::test::ShownMessage printOn(const QString& queue) {
        frmPrint* w = openOptions();
        if (!w)
            qFatal("no printing options");
        auto* printers = w->findChild<QComboBox*>("cboPrinters");
        printers->setCurrentIndex(printers->findText(queue));
        QTest::mouseClick(w->findChild<QPushButton*>("cmdPrint"), Qt::LeftButton);
        return m_platform->lastMessage();
    }

private slots:
    void initTestCase() {
        m_skip = startServer();
    }
    void cleanupTestCase() {
        if (m_cupsd.state() != QProcess::NotRunning) {
            m_cupsd.terminate();
            if (!m_cupsd.waitForFinished(10000))
                m_cupsd.kill();
        }
    }
    void init() {
        if (!m_skip.isEmpty())
            QSKIP(qPrintable(m_skip));
        m_app = std::make_unique<TempAppFolder>();
        m_platform = std::make_unique<SystemPrinters>();
        character().reset();
        character().setRealName("Tom");
        character().setCharacterName("Ilvara");
        globals().Domain = "https://example.org/wiki/";
        forms::main()->show();
        forms::main()->selectStep(7);
    }
    void cleanup() {
        forms::unloadAll();
        for (QWidget* top : QApplication::topLevelWidgets())
            if (qobject_cast<frmPrint*>(top))
                top->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        m_platform.reset();
        m_app.reset();
    }

    void eachQueueGetsItsAnswer() {
        frmPrint* w = openOptions();
        QVERIFY(w);
        auto* printers = w->findChild<QComboBox*>("cboPrinters");
        for (const char* queue : {"Paused", "Refusing", "Working"})
            QVERIFY2(printers->findText(queue) >= 0, queue);
        w->close();

        tarvo::test::ShownMessage m = printOn("Paused");
        QCOMPARE(m.icon, MsgIcon::Critical);
        QVERIFY2(m.text.contains("could not be printed on Paused: the printer is paused"),
                 qPrintable(m.text));
        QVERIFY(!cups("lpstat", {"-W", "all", "-o", "Paused"})->contains("Paused-"));

        m = printOn("Refusing");
        QCOMPARE(m.icon, MsgIcon::Critical);
        QVERIFY2(m.text.contains("the printer is not accepting jobs"), qPrintable(m.text));

        m = printOn("Working");
        QCOMPARE(m.title, QString("Printing now..."));
        QCOMPARE(m.icon, MsgIcon::Information);
        QVERIFY(cups("lpstat", {"-W", "all", "-o", "Working"})->contains("Working-"));
    }

    // A queue that starts refusing after it was asked: the job's own answer
    // tells, in the printing service's words.
    void aRefusedJobIsNotReportedAsSent() {
        m_platform->askBefore = false;
        const tarvo::test::ShownMessage m = printOn("Refusing");
        QCOMPARE(m.icon, MsgIcon::Critical);
        QVERIFY2(m.text.contains("did not take the job") && m.text.contains("not accepting jobs"),
                 qPrintable(m.text));
    }
};

QTEST_MAIN(TestPrintQueue)
#include "tst_printqueue.moc"
