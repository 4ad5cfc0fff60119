// The update checker against a real HTTP server on the loopback interface:
// checking, selecting, downloading, the server's failures, hostile lists and
// closing while a transfer runs.
#include "appfolder.h"
#include "ini/mdlVbNetIni.h"
#include "loopbackserver.h"
#include "scriptedplatform.h"
#include "update/download.h"
#include "update/frmMain.h"

#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScopeGuard>
#include <QSslConfiguration>
#include <QtTest>

#include <memory>

using namespace tarvo;
using tarvo::test::LoopbackServer;
using tarvo::test::ScriptedPlatform;
using tarvo::test::TempAppFolder;
using Fault = LoopbackServer::Fault;

namespace {
// title, ProgramName, version, DownloadNow, DownloadFrom, SaveTo, more
using Entry = std::array<QString, 7>;

QByteArray listOf(const QList<Entry>& entries) {
    const char* keys[7][2] = {{"title", "t"},
                              {"ProgramName", "iniProgram"},
                              {"version", "iniVersion"},
                              {"DownloadNow", "iniDownloadNow"},
                              {"DownloadFrom", "iniDownloadFrom"},
                              {"SaveTo", "iniSaveTo"},
                              {"more", "iniMore"}};
    QByteArray out = "[description]\r\n";
    for (int n = 0; n < entries.size(); ++n)
        out +=
            "iniDescription" + QByteArray::number(n) + "=About " + entries[n][0].toUtf8() + "\r\n";
    for (int k = 0; k < 7; ++k) {
        out += QByteArray("[") + keys[k][0] + "]\r\n";
        for (int n = 0; n < entries.size(); ++n)
            out +=
                keys[k][1] + QByteArray::number(n) + "=" + entries[n][size_t(k)].toUtf8() + "\r\n";
    }
    return out;
}
} // namespace

class TestUpdate : public QObject {
    Q_OBJECT

    std::unique_ptr<ScriptedPlatform> m_platform;
    std::unique_ptr<TempAppFolder> m_folder;
    std::unique_ptr<LoopbackServer> m_server;
    std::unique_ptr<update::frmMain> w;

    template <typename T = QWidget> T* ctl(const QString& name) const {
        T* c = w->findChild<T*>(name);
        if (!c)
            qFatal("no control %s", qPrintable(name));
        return c;
    }
    QString text(const QString& name) const {
        auto* l = w->findChild<QLabel*>(name);
        return l ? l->text() : ctl<QAbstractButton>(name)->text();
    }
    bool enabled(const QString& name) const { return ctl(name)->isEnabled(); }
    QListWidget* list() const { return ctl<QListWidget>("lstUpdates"); }
    void click(const QString& name) { QTest::mouseClick(ctl(name), Qt::LeftButton); }
    QString said() const { return m_platform->lastMessage().text; }
    QString version(const QString& item) const {
        return ReadIniValue("versions", item, "", m_folder->file("Data/versions.ini"));
    }
    void check() {
        click("cmdUpdate");
        QTRY_VERIFY_WITH_TIMEOUT(!w->isBusy(), 10000);
    }
    void select(int row) {
        QTest::mouseClick(list()->viewport(), Qt::LeftButton, {},
                          list()->visualItemRect(list()->item(row)).center());
        QCOMPARE(list()->currentRow(), row);
    }
    void download() {
        click("cmdDownload");
        QTRY_VERIFY_WITH_TIMEOUT(!w->isBusy(), 10000);
    }
    // No partial download or temporary file stays anywhere in the folder.
    QStringList strayFiles() const {
        const QStringList known = {"Data/versions.ini", "downloads/urls.ini",
                                   "downloads/updates.ini", "Data/pack.dat"};
        QStringList out;
        QDirIterator it(m_folder->path(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (it.hasNext())
            if (const QString f = QDir(m_folder->path()).relativeFilePath(it.next());
                !known.contains(f) && !f.endsWith(".lock"))
                out << f;
        return out;
    }
    Entry pack() const {
        return {"Data pack",
                "data",
                "2.1.0",
                "True",
                m_server->url("/pack.dat").toString(),
                "\\Data\\pack.dat",
                m_server->url("/more.html").toString()};
    }
    void openOn(const QList<Entry>& entries) {
        m_server->serve("/updates.ini", listOf(entries));
        w = std::make_unique<update::frmMain>();
        w->show();
        check();
        QCOMPARE(list()->count(), entries.size());
    }

private slots:
    void init() {
        m_platform = std::make_unique<ScriptedPlatform>();
        m_folder = std::make_unique<TempAppFolder>(false);
        m_server = std::make_unique<LoopbackServer>();
        m_folder->write("downloads/urls.ini",
                        "[urls]\r\niniDownloadFrom=" + m_server->url("/updates.ini").toEncoded());
        m_folder->write("Data/versions.ini", "[versions]\r\nprogram=2.0.3\r\ndata=2.0.3\r\n");
        m_folder->write("Data/pack.dat", "old pack");
        update::Download::setStallTimeout(600);
    }
    void cleanup() {
        w.reset();
        m_server.reset();
        m_folder.reset();
        m_platform.reset();
    }

    void checkCountsTheEntries_data() {
        QTest::addColumn<int>("count");
        QTest::addColumn<QString>("sentence");
        QTest::newRow("none") << 0 << "There are currently no updates avaliable.";
        QTest::newRow("one") << 1 << "There is currently 1 update avaliable.";
        QTest::newRow("three") << 3 << "There are currently 3 updates avaliable.";
    }
    void checkCountsTheEntries() {
        QFETCH(int, count);
        QFETCH(QString, sentence);
        openOn(QList<Entry>(count, pack()));
        QCOMPARE(text("lblDownload"), sentence);
        QCOMPARE(text("lblStatus"), "Completed.");
        QCOMPARE(text("chkDone(0)"), "Connection closed");
        QCOMPARE(text("chkDone(1)"), "Update check complete!");
        QCOMPARE(ctl("imgStatus")->width(), ctl("picStatus")->width());
        click("chkDone(1)"); // the user cannot tick an indicator
        QCOMPARE(ctl<QCheckBox>("chkDone(1)")->checkState(), Qt::PartiallyChecked);
        QVERIFY(QFile::exists(m_folder->file("downloads/updates.ini")));
        w->close();
        QVERIFY(!w->isVisible());
        QVERIFY(!QFile::exists(m_folder->file("downloads/updates.ini")));
        QVERIFY(m_platform->messages.isEmpty());
    }

    void noUpdateSource_data() {
        QTest::addColumn<QByteArray>("urls");
        QTest::addColumn<QString>("message");
        QTest::newRow("no file") << QByteArray()
                                 << "Couldn't locate file from \\downloads\\urls.ini. You should "
                                    "reinstall TARVO2.";
        QTest::newRow("empty key")
            << QByteArray("[urls]\r\niniDownloadFrom=\r\n") << "No update source is configured";
        QTest::newRow("file:") << QByteArray("[urls]\r\niniDownloadFrom=file:///etc/passwd")
                               << "is not an http";
    }
    void noUpdateSource() {
        QFETCH(QByteArray, urls);
        QFETCH(QString, message);
        QFile::remove(m_folder->file("downloads/urls.ini"));
        if (!urls.isEmpty())
            m_folder->write("downloads/urls.ini", urls);
        w = std::make_unique<update::frmMain>();
        w->show();
        QCOMPARE(text("lblDownload"), "Check for Updates to search for avaliable updates.");
        QCOMPARE(text("lblStatus"), "Status: Not yet started");
        for (const char* name : {"cmdMore", "cmdDownload", "chkDone(0)", "chkDone(1)"})
            QVERIFY2(!enabled(name), name);
        QVERIFY(ctl<QPushButton>("cmdUpdate")->isDefault());
        for (QWidget* c : w->findChildren<QWidget*>())
            QVERIFY2(c->objectName().isEmpty() || c->objectName().startsWith("qt_") ||
                         !c->accessibleName().isEmpty(),
                     qPrintable(c->objectName()));
        click("cmdUpdate");
        QVERIFY2(said().contains(message), qPrintable(said()));
        QCOMPARE(m_platform->lastMessage().icon, MsgIcon::Critical);
        QCOMPARE(text("chkDone(0)"), "An error occured");
        QCOMPARE(text("lblService"), "Download service: Stopped");
        QCOMPARE(ctl("imgStatus")->width(), 0);
        QVERIFY(m_server->requests.isEmpty());
        w->close();
        QCOMPARE(m_platform->messages.size(), 1); // no question on closing
    }

    void selectionComparesVersions() {
        m_folder->write("Data/versions.ini", "[versions]\r\nprogram=2.0.3\r\ndata=2.0.9\r\n");
        openOn({{"Same", "program", "2.0.3", "True"},
                {"Newer by number", "data", "2.0.10", "True"},
                {"Older", "program", "2.0.2", "True"},
                {"Lower-case true", "templates", "1.0", "true", "pages/get.html", "",
                 m_server->url("/more.html").toString()}});
        select(0);
        QVERIFY(!enabled("cmdDownload") && !enabled("cmdMore"));
        QCOMPARE(text("lblLatestVersion"), "Latest version: 2.0.3");
        QCOMPARE(text("lblYourVersion"), "Your version: 2.0.3");
        QCOMPARE(text("lblUpdate"), "Same");
        QCOMPARE(text("lblUpdateDescription"), "About Same");
        select(1);
        QVERIFY(enabled("cmdDownload") && enabled("cmdMore"));
        QCOMPARE(text("cmdDownload"), "Fast Download");
        QVERIFY(ctl<QPushButton>("cmdDownload")->isDefault());
        select(2);
        QVERIFY(!enabled("cmdDownload"));
        select(3); // not installed, and only "True" means Fast Download
        QCOMPARE(text("cmdDownload"), "Web Download");
        QVERIFY(enabled("cmdDownload"));
        QCOMPARE(text("lblYourVersion"), "Your version: ");
        click("cmdDownload"); // a page relative to the list's own address
        click("cmdMore");
        QCOMPARE(m_platform->opened, (QStringList{m_server->url("/pages/get.html").toString(),
                                                  m_server->url("/more.html").toString()}));

        // A new check shows nothing of the old list.
        m_server->serve("/updates.ini", listOf({pack()}));
        check();
        QCOMPARE(text("lblUpdate"), QString());
        QCOMPARE(text("lblLatestVersion"), QString());
        QVERIFY(!enabled("cmdDownload") && !enabled("cmdMore"));
    }

    void fastDownloadLandsAndRecordsTheVersion() {
        // Several megabytes, no two pieces alike: the file is handed to the
        // disk in steps while it arrives, and each must land in its place.
        QByteArray body(5 * 1024 * 1024 + 123, Qt::Uninitialized);
        for (qsizetype i = 0; i < body.size(); ++i)
            body[i] = char(i % 251);
        m_server->serve("/pack.dat", body);
        m_server->serve("/setup.exe", "installer");
        openOn({pack(),
                {"TARVO2", "program", "2.1.0", "True", m_server->url("/setup.exe").toString(),
                 "/downloads/setup.exe"}});
        select(0);
        click("cmdDownload");
        QCOMPARE(text("lblService"), "Download service: Started");
        QVERIFY(!enabled("cmdUpdate"));
        QTRY_VERIFY(!w->isBusy());
        QCOMPARE(m_folder->read("Data/pack.dat"), body);
        QCOMPARE(version("data"), "2.1.0");
        QCOMPARE(said(), "The update for your selected item has been downloaded and applied.");
        QCOMPARE(m_platform->lastMessage().title, update::kTitle);
        select(0);
        QCOMPARE(text("lblYourVersion"), "Your version: 2.1.0");
        QVERIFY(!enabled("cmdDownload"));

        // The program's own entry is a file to install: no version recorded.
        select(1);
        download();
        QCOMPARE(m_folder->read("downloads/setup.exe"), QByteArray("installer"));
        QCOMPARE(version("program"), "2.0.3");
        QVERIFY2(said().contains(QDir::toNativeSeparators(m_folder->file("downloads/setup.exe"))),
                 qPrintable(said()));
    }

    void httpsServersAreVerified() {
        m_server = std::make_unique<LoopbackServer>(LoopbackServer::Transport::Https);
        m_folder->write("downloads/urls.ini",
                        "[urls]\r\niniDownloadFrom=" + m_server->url("/updates.ini").toEncoded());
        m_server->serve("/pack.dat", "new pack");
        m_server->serve("/updates.ini", listOf({pack()}));
        w = std::make_unique<update::frmMain>();
        w->show();

        // A certificate nobody vouches for: refused, and the user told why.
        check();
        QVERIFY2(said().contains("certificate"), qPrintable(said()));
        QCOMPARE(list()->count(), 0);

        // Trusted (from the next start on), the list and the file arrive
        // over TLS.
        const QSslConfiguration system = QSslConfiguration::defaultConfiguration();
        const auto restore =
            qScopeGuard([&] { QSslConfiguration::setDefaultConfiguration(system); });
        QSslConfiguration trusting = system;
        trusting.addCaCertificate(LoopbackServer::certificate());
        QSslConfiguration::setDefaultConfiguration(trusting);
        openOn({pack()});
        select(0);
        download();
        QCOMPARE(m_folder->read("Data/pack.dat"), QByteArray("new pack"));
        QCOMPARE(version("data"), "2.1.0");
    }

    void failedDownloadChangesNothing_data() {
        QTest::addColumn<int>("fault");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("reason");
        QTest::newRow("404") << int(Fault::None) << 404 << "404 Not Found";
        QTest::newRow("500") << int(Fault::None) << 500 << "500 Internal Server Error";
        QTest::newRow("reset") << int(Fault::ResetHalfway) << 200 << "";
        QTest::newRow("short body") << int(Fault::ShortBody) << 200 << "";
        QTest::newRow("stall") << int(Fault::Stall) << 200 << "no data arrived";
        QTest::newRow("redirect loop") << int(Fault::RedirectLoop) << 200 << "redirected";
    }
    void failedDownloadChangesNothing() {
        QFETCH(int, fault);
        QFETCH(int, status);
        QFETCH(QString, reason);
        const QByteArray body(64 * 1024, 'n');
        if (fault == int(Fault::None))
            m_server->serve("/pack.dat", body, status);
        else
            m_server->fault("/pack.dat", Fault(fault), body);
        openOn({pack()});
        select(0);
        download();
        QVERIFY2(said().contains(m_server->url("/pack.dat").toString()) && said().contains(reason),
                 qPrintable(said()));
        QCOMPARE(text("lblStatus"), "Status: Download failed");
        QCOMPARE(ctl("imgStatus")->width(), 0);
        QCOMPARE(m_folder->read("Data/pack.dat"), QByteArray("old pack"));
        QCOMPARE(version("data"), "2.0.3");
        QVERIFY2(strayFiles().isEmpty(), qPrintable(strayFiles().join(", ")));

        // A failed check keeps the old list; so does an oversized one.
        m_server->serve("/updates.ini", "gone", 404);
        check();
        QVERIFY(said().contains("404 Not Found"));
        QCOMPARE(text("chkDone(0)"), "An error occured");
        m_server->serve("/updates.ini", QByteArray(update::kMaxListBytes + 1, ';'));
        check();
        QVERIFY(said().contains("more than"));
        QCOMPARE(list()->count(), 1);
        QVERIFY(m_folder->read("downloads/updates.ini").contains("Data pack"));
    }

    void hostileListIsRefused_data() {
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("saveTo");
        QTest::addColumn<QString>("reason");
        QTest::newRow("climbs out") << ""
                                    << "\\..\\escape.dat"
                                    << "\"..\"";
        QTest::newRow("drive") << ""
                               << "C:\\Windows\\escape.dat"
                               << "absolute";
        QTest::newRow("share") << ""
                               << "\\\\server\\escape.dat"
                               << "absolute";
        QTest::newRow("link out") << ""
                                  << "\\out\\escape.dat"
                                  << "out of the program";
        QTest::newRow("file:") << "file:///etc/passwd"
                               << "\\Data\\pack.dat"
                               << "http";
    }
    void hostileListIsRefused() {
        QFETCH(QString, from);
        QFETCH(QString, saveTo);
        QFETCH(QString, reason);
        QTemporaryDir outside;
        QVERIFY(QFile::link(outside.path(), m_folder->file("out")));
        m_server->serve("/pack.dat", "payload");
        Entry e = pack();
        e[4] = from.isEmpty() ? e[4] : from;
        e[5] = saveTo;
        openOn({e});
        select(0);
        click("cmdDownload");
        QVERIFY2(said().contains(reason), qPrintable(said()));
        QVERIFY(!w->isBusy());
        QCOMPARE(m_server->requests, QStringList{"/updates.ini"});
        QVERIFY(QDir(outside.path()).isEmpty());
        QCOMPARE(version("data"), "2.0.3");
    }

    void closingWhileBusy() {
        m_server->fault("/pack.dat", Fault::Stall, QByteArray(100000, 's'));
        update::Download::setStallTimeout(60000);
        openOn({pack()});
        select(0);
        click("cmdDownload");
        QTRY_COMPARE(m_server->requests.size(), 2);

        m_platform->setNextAnswer(MsgResult::No);
        w->close();
        QVERIFY(said().startsWith("The update checker is still in the process"));
        QCOMPARE(m_platform->lastMessage().buttons, MsgButtons::YesNo);
        QVERIFY(w->isVisible() && w->isBusy());

        m_platform->setNextAnswer(MsgResult::Yes);
        QTest::keyClick(w.get(), Qt::Key_Escape);
        QVERIFY(!w->isVisible());
        QVERIFY(!QFile::exists(m_folder->file("downloads/updates.ini")));
        QCOMPARE(m_folder->read("Data/pack.dat"), QByteArray("old pack"));
        QVERIFY2(strayFiles().isEmpty(), qPrintable(strayFiles().join(", ")));
    }
};

QTEST_MAIN(TestUpdate)
#include "tst_update.moc"
