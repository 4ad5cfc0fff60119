// The update checker against a real HTTP server on the loopback interface:
// checking, selecting, downloading, the server's failures, hostile lists and
// closing while a transfer runs.
#include "appfolder.h"
#include "ini/mdlVbNetIni.h"
#include "loopbackserver.h"
#include "scriptedplatform.h"
#include "update/download.h"
#include "update/frmMain.h"
#include "update/updatelist.h"

#include <QCheckBox>
#include <QDir>
#include <QFrame>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QtTest>

#include <memory>

using namespace tarvo;
using tarvo::test::LoopbackServer;
using tarvo::test::ScriptedPlatform;
using tarvo::test::TempAppFolder;
using Fault = LoopbackServer::Fault;

namespace {

struct Entry {
    QString title, program, version, downloadNow = {}, from = {}, saveTo = {}, more = {};
};

QByteArray listOf(const QList<Entry>& entries) {
    QByteArray title = "[title]\r\n", prog = "[ProgramName]\r\n", ver = "[version]\r\n",
               desc = "[description]\r\n", now = "[DownloadNow]\r\n", from = "[DownloadFrom]\r\n",
               save = "[SaveTo]\r\n", more = "[more]\r\n";
    for (int n = 0; n < entries.size(); ++n) {
        const Entry& e = entries[n];
        const QByteArray k = QByteArray::number(n);
        title += "t" + k + "=" + e.title.toUtf8() + "\r\n";
        prog += "iniProgram" + k + "=" + e.program.toUtf8() + "\r\n";
        ver += "iniVersion" + k + "=" + e.version.toUtf8() + "\r\n";
        desc += "iniDescription" + k + "=About " + e.title.toUtf8() + "\r\n";
        now += "iniDownloadNow" + k + "=" + e.downloadNow.toUtf8() + "\r\n";
        from += "iniDownloadFrom" + k + "=" + e.from.toUtf8() + "\r\n";
        save += "iniSaveTo" + k + "=" + e.saveTo.toUtf8() + "\r\n";
        more += "iniMore" + k + "=" + e.more.toUtf8() + "\r\n";
    }
    return title + prog + ver + desc + now + from + save + more;
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
        if (auto* l = w->findChild<QLabel*>(name))
            return l->text();
        return ctl<QAbstractButton>(name)->text();
    }
    QListWidget* list() const { return ctl<QListWidget>("lstUpdates"); }
    void click(const QString& name) { QTest::mouseClick(ctl(name), Qt::LeftButton); }
    void waitIdle() { QTRY_VERIFY_WITH_TIMEOUT(!w->isBusy(), 10000); }
    QString version(const QString& item) const {
        return ReadIniValue("versions", item, "", m_folder->file("Data/versions.ini"));
    }
    void publish(const QList<Entry>& entries) { m_server->serve("/updates.ini", listOf(entries)); }
    void check() {
        click("cmdUpdate");
        waitIdle();
    }
    void select(int row) {
        QTest::mouseClick(list()->viewport(), Qt::LeftButton, {},
                          list()->visualItemRect(list()->item(row)).center());
        QCOMPARE(list()->currentRow(), row);
    }
    // Files the folder holds besides the ones named: no partial download stays.
    QStringList strayFiles() const {
        QStringList out;
        QDirIterator it(m_folder->path(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString f = QDir(m_folder->path()).relativeFilePath(it.next());
            if (f != "Data/versions.ini" && f != "downloads/urls.ini" &&
                f != "downloads/updates.ini" && f != "Data/pack.dat" && !f.endsWith(".lock"))
                out << f;
        }
        return out;
    }
    Entry pack(const QString& from = "/pack.dat") const {
        return {"Data pack",
                "data",
                "2.1.0",
                "True",
                m_server->url(from).toString(),
                "\\Data\\pack.dat",
                m_server->url("/more.html").toString()};
    }
    void openOn(const QList<Entry>& entries) {
        publish(entries);
        w = std::make_unique<update::frmMain>();
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
        check();
        QCOMPARE(list()->count(), entries.size());
    }

private slots:
    void init() {
        m_platform = std::make_unique<ScriptedPlatform>();
        m_folder = std::make_unique<TempAppFolder>(false);
        m_server = std::make_unique<LoopbackServer>();
        m_folder->write("downloads/urls.ini",
                        "[urls]\r\niniDownloadFrom=" + m_server->url("/updates.ini").toEncoded() +
                            "\r\n");
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

    void windowAtStart() {
        w = std::make_unique<update::frmMain>();
        QCOMPARE(w->windowTitle(), QStringLiteral("Update Checker"));
        QCOMPARE(text("lblDownload"),
                 QStringLiteral("Check for Updates to search for avaliable updates."));
        QCOMPARE(text("lblStatus"), QStringLiteral("Status: Not yet started"));
        QCOMPARE(text("lblService"), QStringLiteral("Download service: Stopped"));
        QCOMPARE(text("cmdDownload"), QStringLiteral("Fast Download"));
        for (const char* name : {"cmdMore", "cmdDownload", "chkDone(0)", "chkDone(1)"})
            QVERIFY2(!ctl(name)->isEnabled(), name);
        QCOMPARE(ctl("imgStatus")->width(), 0);
        for (QWidget* c : w->findChildren<QWidget*>())
            if (!c->objectName().isEmpty() && !c->objectName().startsWith("qt_"))
                QVERIFY2(!c->accessibleName().isEmpty(), qPrintable(c->objectName()));
        QVERIFY(ctl<QPushButton>("cmdUpdate")->isDefault());
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
        QList<Entry> entries;
        for (int i = 0; i < count; ++i)
            entries << Entry{QString("Item %1").arg(i), QString("item%1").arg(i), "1.0"};
        openOn(entries);
        QCOMPARE(text("lblDownload"), sentence);
        QCOMPARE(text("lblStatus"), QStringLiteral("Completed."));
        QCOMPARE(text("chkDone(0)"), QStringLiteral("Connection closed"));
        QCOMPARE(text("chkDone(1)"), QStringLiteral("Update check complete!"));
        QCOMPARE(ctl<QCheckBox>("chkDone(1)")->checkState(), Qt::PartiallyChecked);
        QCOMPARE(ctl("imgStatus")->width(), ctl("picStatus")->width());
        QVERIFY(m_platform->messages.isEmpty());
        // A click on an indicator leaves it grey.
        click("chkDone(1)");
        QCOMPARE(ctl<QCheckBox>("chkDone(1)")->checkState(), Qt::PartiallyChecked);
        // The list lives while the program runs.
        QVERIFY(QFile::exists(m_folder->file("downloads/updates.ini")));
        w->close();
        QVERIFY(!w->isVisible());
        QVERIFY(!QFile::exists(m_folder->file("downloads/updates.ini")));
        QVERIFY(m_platform->messages.isEmpty());
    }

    void noUpdateSource_data() {
        QTest::addColumn<QByteArray>("urls");
        QTest::addColumn<QString>("message");
        QTest::newRow("missing file") << QByteArray()
                                      << "Couldn't locate file from "
                                         "\\downloads\\urls.ini. You should "
                                         "reinstall TARVO2.";
        QTest::newRow("empty key")
            << QByteArray("[urls]\r\niniDownloadFrom=\r\n") << "No update source is configured";
        QTest::newRow("file address")
            << QByteArray("[urls]\r\niniDownloadFrom=file:///etc/passwd\r\n") << "is not an http";
    }
    void noUpdateSource() {
        QFETCH(QByteArray, urls);
        QFETCH(QString, message);
        QFile::remove(m_folder->file("downloads/urls.ini"));
        if (!urls.isEmpty())
            m_folder->write("downloads/urls.ini", urls);
        w = std::make_unique<update::frmMain>();
        w->show();
        click("cmdUpdate");
        QCOMPARE(m_platform->messages.size(), 1);
        QVERIFY2(m_platform->lastMessage().text.contains(message),
                 qPrintable(m_platform->lastMessage().text));
        QCOMPARE(m_platform->lastMessage().icon, MsgIcon::Critical);
        QCOMPARE(text("chkDone(0)"), QStringLiteral("An error occured"));
        QCOMPARE(text("lblService"), QStringLiteral("Download service: Stopped"));
        QCOMPARE(ctl("imgStatus")->width(), 0);
        QVERIFY(m_server->requests.isEmpty());
        w->close();
        QCOMPARE(m_platform->messages.size(), 1); // no question on closing
    }

    void selectionComparesVersions() {
        m_folder->write("Data/versions.ini",
                        "[versions]\r\nprogram=2.0.3\r\ndata=2.0.9\r\nhelp=2.0.3\r\n");
        openOn({{"Same", "program", "2.0.3", "True"},
                {"Newer by number", "data", "2.0.10", "True"},
                {"Older", "help", "2.0.2", "True"},
                {"Lower-case true", "templates", "1.0", "true"},
                {"Not installed", "", "1.0", "True"}});
        select(0);
        QVERIFY(!ctl("cmdDownload")->isEnabled());
        QVERIFY(!ctl("cmdMore")->isEnabled());
        QCOMPARE(text("lblLatestVersion"), QStringLiteral("Latest version: 2.0.3"));
        QCOMPARE(text("lblYourVersion"), QStringLiteral("Your version: 2.0.3"));
        QCOMPARE(text("lblUpdate"), QStringLiteral("Same"));
        QCOMPARE(text("lblUpdateDescription"), QStringLiteral("About Same"));
        select(1);
        QVERIFY(ctl("cmdDownload")->isEnabled());
        QVERIFY(ctl("cmdMore")->isEnabled());
        QCOMPARE(text("cmdDownload"), QStringLiteral("Fast Download"));
        QVERIFY(ctl<QPushButton>("cmdDownload")->isDefault());
        select(2);
        QVERIFY(!ctl("cmdDownload")->isEnabled());
        select(3);
        QCOMPARE(text("cmdDownload"), QStringLiteral("Web Download"));
        QVERIFY(ctl("cmdDownload")->isEnabled());
        select(4);
        QVERIFY(ctl("cmdDownload")->isEnabled());
        QCOMPARE(text("lblYourVersion"), QStringLiteral("Your version: "));

        // A new check shows nothing of the old list.
        publish({{"Other", "data", "3.0", "True"}});
        check();
        QCOMPARE(text("lblUpdate"), QString());
        QCOMPARE(text("lblLatestVersion"), QString());
        QVERIFY(!ctl("cmdDownload")->isEnabled());
        QVERIFY(!ctl("cmdMore")->isEnabled());
        QCOMPARE(list()->currentRow(), -1);
    }

    void webDownloadAndMoreOpenPages() {
        Entry web = pack();
        web.downloadNow = "False";
        web.from = "pages/download.html"; // relative to the list's address
        openOn({web});
        select(0);
        click("cmdDownload");
        click("cmdMore");
        QCOMPARE(m_platform->opened, (QStringList{m_server->url("/pages/download.html").toString(),
                                                  m_server->url("/more.html").toString()}));
        QCOMPARE(m_folder->read("Data/pack.dat"), QByteArray("old pack"));
    }

    void fastDownloadLandsAndRecordsTheVersion() {
        const QByteArray body(300 * 1024, 'p');
        m_server->serve("/pack.dat", body);
        openOn({pack()});
        select(0);
        click("cmdDownload");
        QCOMPARE(text("lblService"), QStringLiteral("Download service: Started"));
        QVERIFY(!ctl("cmdUpdate")->isEnabled());
        waitIdle();
        QCOMPARE(m_folder->read("Data/pack.dat"), body);
        QCOMPARE(version("data"), QStringLiteral("2.1.0"));
        QCOMPARE(version("program"), QStringLiteral("2.0.3"));
        QCOMPARE(m_platform->lastMessage().text,
                 QStringLiteral("The update for your selected item has been downloaded and "
                                "applied."));
        QCOMPARE(m_platform->lastMessage().title, update::kTitle);
        // The same entry now shows equal versions.
        select(0);
        QCOMPARE(text("lblYourVersion"), QStringLiteral("Your version: 2.1.0"));
        QVERIFY(!ctl("cmdDownload")->isEnabled());
        QVERIFY(strayFiles().isEmpty());
    }

    void programDownloadIsNotAnInstall() {
        m_server->serve("/setup.exe", "installer");
        Entry program{"TARVO2",
                      "program",
                      "2.1.0",
                      "True",
                      m_server->url("/setup.exe").toString(),
                      "/downloads/setup.exe"};
        openOn({program});
        select(0);
        click("cmdDownload");
        waitIdle();
        QCOMPARE(m_folder->read("downloads/setup.exe"), QByteArray("installer"));
        QCOMPARE(version("program"), QStringLiteral("2.0.3"));
        const QString said = m_platform->lastMessage().text;
        QVERIFY2(said.contains(QDir::toNativeSeparators(m_folder->file("downloads/setup.exe"))) &&
                     said.contains("install"),
                 qPrintable(said));
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
        click("cmdDownload");
        waitIdle();
        const QString said = m_platform->lastMessage().text;
        QVERIFY2(said.contains(m_server->url("/pack.dat").toString()) && said.contains(reason),
                 qPrintable(said));
        QCOMPARE(m_platform->lastMessage().icon, MsgIcon::Critical);
        QCOMPARE(text("lblStatus"), QStringLiteral("Status: Download failed"));
        QCOMPARE(ctl("imgStatus")->width(), 0);
        QCOMPARE(m_folder->read("Data/pack.dat"), QByteArray("old pack"));
        QCOMPARE(version("data"), QStringLiteral("2.0.3"));
        QVERIFY2(strayFiles().isEmpty(), qPrintable(strayFiles().join(", ")));
        QVERIFY(ctl("cmdDownload")->isEnabled()); // it may be tried again
    }

    void failedCheckKeepsTheOldList() {
        openOn({pack()});
        m_server->serve("/updates.ini", "gone", 404);
        check();
        QVERIFY(m_platform->lastMessage().text.contains("404 Not Found"));
        QCOMPARE(text("chkDone(0)"), QStringLiteral("An error occured"));
        QCOMPARE(list()->count(), 1);
        QVERIFY(m_folder->read("downloads/updates.ini").contains("Data pack"));
        // An oversized list is refused the same way.
        m_server->serve("/updates.ini", QByteArray(update::kMaxListBytes + 1, ';'));
        check();
        QVERIFY(m_platform->lastMessage().text.contains("more than"));
        QCOMPARE(list()->count(), 1);
    }

    void hostileListIsRefused_data() {
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("saveTo");
        QTest::addColumn<QString>("said");
        QTest::newRow("climbs out") << "/pack.dat"
                                    << "\\..\\escape.dat"
                                    << "\"..\"";
        QTest::newRow("drive") << "/pack.dat"
                               << "C:\\Windows\\escape.dat"
                               << "absolute";
        QTest::newRow("share") << "/pack.dat"
                               << "\\\\server\\escape.dat"
                               << "absolute";
        QTest::newRow("link out") << "/pack.dat"
                                  << "\\out\\escape.dat"
                                  << "out of the program";
        QTest::newRow("file address") << "file:///etc/passwd"
                                      << "\\Data\\pack.dat"
                                      << "http";
    }
    void hostileListIsRefused() {
        QFETCH(QString, from);
        QFETCH(QString, saveTo);
        QFETCH(QString, said);
        QTemporaryDir outside;
        QVERIFY(QFile::link(outside.path(), m_folder->file("out")));
        m_server->serve("/pack.dat", "payload");
        Entry e = pack();
        e.from = from.startsWith('/') ? m_server->url(from).toString() : from;
        e.saveTo = saveTo;
        openOn({e});
        select(0);
        click("cmdDownload");
        QVERIFY2(m_platform->lastMessage().text.contains(said),
                 qPrintable(m_platform->lastMessage().text));
        QVERIFY(!w->isBusy());
        QCOMPARE(m_server->requests, QStringList{"/updates.ini"});
        QVERIFY(QDir(outside.path()).isEmpty());
        QCOMPARE(version("data"), QStringLiteral("2.0.3"));
    }

    void closingWhileBusy() {
        m_server->fault("/pack.dat", Fault::Stall, QByteArray(100000, 's'));
        update::Download::setStallTimeout(60000);
        openOn({pack()});
        select(0);
        click("cmdDownload");
        QTRY_COMPARE(m_server->requests.size(), 2);
        QTest::qWait(100);

        m_platform->setNextAnswer(MsgResult::No);
        w->close();
        QCOMPARE(m_platform->lastMessage().buttons, MsgButtons::YesNo);
        QVERIFY(m_platform->lastMessage().text.startsWith("The update checker is still"));
        QVERIFY(w->isVisible());
        QVERIFY(w->isBusy());

        m_platform->setNextAnswer(MsgResult::Yes);
        QTest::keyClick(w.get(), Qt::Key_Escape);
        QVERIFY(!w->isVisible());
        QVERIFY(!QFile::exists(m_folder->file("downloads/updates.ini")));
        QCOMPARE(m_folder->read("Data/pack.dat"), QByteArray("old pack"));
        QVERIFY2(strayFiles().isEmpty(), qPrintable(strayFiles().join(", ")));
        QCOMPARE(version("data"), QStringLiteral("2.0.3"));
    }

    void versionsCompareAsNumbers() {
        using update::compareVersions;
        QVERIFY(compareVersions("2.0.10", "2.0.9") > 0);
        QCOMPARE(compareVersions("2.0", "2.0.0"), 0);
        QVERIFY(compareVersions("1.9", "2.0") < 0);
        QVERIFY(update::isNewer("1.0", ""));
        QVERIFY(!update::isNewer("2.0.3", "2.0.3"));
    }
};

QTEST_MAIN(TestUpdate)
#include "tst_update.moc"
