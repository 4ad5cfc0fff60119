// The update checker against a real HTTP server on the loopback interface:
// checking, selecting, downloading, the server's failures, hostile lists,
// an installed copy and closing while a transfer runs; and the order of
// versions.
#include "appfolder.h"
#include "ini/mdlVbNetIni.h"
#include "loopbackserver.h"
#include "scriptedplatform.h"
#include "update/download.h"
#include "update/frmMain.h"
#include "update/updatelist.h"

#include <QAccessible>
#include <QCheckBox>
#include <QCryptographicHash>
#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRandomGenerator>
#include <QScopeGuard>
#include <QtTest>

#include <algorithm>
#include <memory>

using namespace tarvo;
using tarvo::test::LoopbackServer;
using tarvo::test::ScriptedPlatform;
using tarvo::test::TempAppFolder;
using Fault = LoopbackServer::Fault;

namespace {
// title, ProgramName, version, DownloadNow, DownloadFrom, SaveTo, more, SHA256
using Entry = std::array<QString, 8>;

QByteArray listOf(const QList<Entry>& entries) {
    const char* keys[8][2] = {{"title", "t"},
                              {"ProgramName", "iniProgram"},
                              {"version", "iniVersion"},
                              {"DownloadNow", "iniDownloadNow"},
                              {"DownloadFrom", "iniDownloadFrom"},
                              {"SaveTo", "iniSaveTo"},
                              {"more", "iniMore"},
                              {"SHA256", "iniSHA256"}};
    QByteArray out = "[description]\r\n";
    for (int n = 0; n < entries.size(); ++n)
        out +=
            "iniDescription" + QByteArray::number(n) + "=About " + entries[n][0].toUtf8() + "\r\n";
    for (int k = 0; k < 8; ++k) {
        out += QByteArray("[") + keys[k][0] + "]\r\n";
        for (int n = 0; n < entries.size(); ++n)
            out +=
                keys[k][1] + QByteArray::number(n) + "=" + entries[n][size_t(k)].toUtf8() + "\r\n";
    }
    return out;
}

QString sha256(const QByteArray& bytes) {
    return QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex());
}

// Versions of many shapes: a "v" or not, numbers of any length with leading
// zeros, pre-release and later-release suffixes, separators of every kind.
QString randomVersion(QRandomGenerator& r) {
    static const QStringList words = {"a",   "b",   "alpha", "beta", "rc", "RC",
                                      "pre", "dev", "final", "z",    "é"};
    static const QStringList separators = {"", ".", "-", "~", "_", "+", " "};
    auto pick = [&](const QStringList& l) { return l[int(r.bounded(qsizetype(l.size())))]; };
    auto number = [&] {
        QString n = r.bounded(4) == 0 ? QStringLiteral("0") : QString();
        const int digits = r.bounded(8) == 0 ? 20 + int(r.bounded(10)) : 1 + int(r.bounded(2));
        for (int i = 0; i < digits; ++i)
            n += QChar('0' + int(r.bounded(i == 0 ? 3 : 10)));
        return n;
    };
    QString v = r.bounded(5) == 0 ? QStringLiteral("v") : QString();
    const int parts = int(r.bounded(5));
    for (int i = 0; i < parts; ++i)
        v += (i ? QStringLiteral(".") : QString()) + number();
    for (int i = int(r.bounded(3)); i > 0; --i)
        v += pick(separators) + (r.bounded(2) ? pick(words) : number());
    return v;
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
    // The main program as a file that may be run.
    void writeProgram(const QByteArray& bytes) {
        m_folder->write("prjTARVO2", bytes);
        QFile(m_folder->file("prjTARVO2"))
            .setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
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
                m_server->url("/more.html").toString(),
                ""};
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
        QTest::newRow("500") << 500 << "There are currently 500 updates avaliable.";
    }
    void checkCountsTheEntries() {
        QFETCH(int, count);
        QFETCH(QString, sentence);
        QList<Entry> entries;
        for (int n = 0; n < count; ++n) {
            entries << pack();
            entries.last()[0] = QStringLiteral("Pack %1").arg(n);
        }
        openOn(entries);
        QCOMPARE(text("lblDownload"), sentence);
        if (count > 0) { // every entry can be reached
            list()->scrollToItem(list()->item(count - 1));
            select(count - 1);
            QCOMPARE(text("lblUpdate"), QStringLiteral("Pack %1").arg(count - 1));
            QCOMPARE(text("lblUpdateDescription"), QStringLiteral("About Pack %1").arg(count - 1));
        }
        // The bar is a progress bar to a screen reader, full now.
        QAccessibleInterface* bar = QAccessible::queryAccessibleInterface(ctl("picStatus"));
        QCOMPARE(bar->role(), QAccessible::ProgressBar);
        QCOMPARE(bar->childCount(), 0);
        QCOMPARE(bar->valueInterface()->currentValue().toInt(),
                 bar->valueInterface()->maximumValue().toInt());
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
        QTest::addColumn<bool>("installed");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("icon");
        QTest::addColumn<QString>("indicator");
        const QByteArray empty = "[urls]\r\niniDownloadFrom=\r\n";
        QTest::newRow("no file") << QByteArray() << false
                                 << "Couldn't locate file from \\downloads\\urls.ini. You should "
                                    "reinstall TARVO2."
                                 << int(MsgIcon::Critical) << "An error occured";
        QTest::newRow("empty key")
            << empty << false
            << "This copy of TARVO2 has no update source, so it cannot look for updates itself. "
               "Newer versions of TARVO2 are published where this copy came from, as the README "
               "file that came with it says."
            << int(MsgIcon::Information) << "No update source";
        QTest::newRow("empty key, installed")
            << empty << true
            << "This copy of TARVO2 has no update source, so it cannot look for updates itself. "
               "This copy is installed for the whole system: newer versions come with the "
               "system's packages, through its software updates."
            << int(MsgIcon::Information) << "No update source";
        QTest::newRow("file:") << QByteArray("[urls]\r\niniDownloadFrom=file:///etc/passwd")
                               << false << "(\"file:///etc/passwd\") is not a web address"
                               << int(MsgIcon::Information) << "No update source";
    }
    void noUpdateSource() {
        QFETCH(QByteArray, urls);
        QFETCH(bool, installed);
        QFETCH(QString, message);
        QFETCH(int, icon);
        QFETCH(QString, indicator);
        QFile::remove(m_folder->file("downloads/urls.ini"));
        if (!urls.isEmpty())
            m_folder->write("downloads/urls.ini", urls);
        QTemporaryDir home;
        if (installed) {
            m_folder->write(".installed", "");
            setUserDataFolder(home.path());
        }
        const auto restore = qScopeGuard([] { setUserDataFolder(QString()); });
        QImage icon16(16, 16, QImage::Format_RGB32);
        icon16.fill(Qt::red);
        QDir().mkpath(m_folder->file("Images"));
        QVERIFY(icon16.save(m_folder->file("Images/TARVO2.png")));
        w = std::make_unique<update::frmMain>();
        w->show();
        QCOMPARE(w->windowIcon().pixmap(16).toImage().pixel(8, 8), QColor(Qt::red).rgb());
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
        QCOMPARE(m_platform->lastMessage().icon, MsgIcon(icon));
        QCOMPARE(text("chkDone(0)"), indicator);
        QCOMPARE(text("lblService"), "Download service: Stopped");
        QCOMPARE(ctl("imgStatus")->width(), 0);
        QVERIFY(m_server->requests.isEmpty());
        w->close();
        QCOMPARE(m_platform->messages.size(), 1); // no question on closing
    }

    void selectionComparesVersions() {
        m_folder->write("Data/versions.ini",
                        "[versions]\r\nprogram=2.0.3\r\ndata=2.0.9\r\nhelp=v2.0\r\n");
        openOn({{"Same", "program", "2.0.3", "True"},
                {"Newer by number", "data", "2.0.10", "True"},
                {"Older", "program", "2.0.2", "True"},
                {"Lower-case true", "templates", "1.0", "true", "pages/get.html", "",
                 m_server->url("/more.html").toString()},
                {"Lettered", "data", "2.0.10a", "True"},
                {"Release candidate", "program", "2.0.3-rc1", "True"},
                {"Help", "help", "2.1", "True"}});
        for (const auto& [row, offered] : {std::pair{4, true}, {5, false}, {6, true}}) {
            select(row);
            QVERIFY2(enabled("cmdDownload") == offered, qPrintable(text("lblUpdate")));
        }
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

    // One total order over versions of every shape: antisymmetric and
    // transitive, numbers of any length, "v" ignored, pre-releases first.
    void versionsAreOneOrder() {
        const QStringList ascending = {"",
                                       "1a",
                                       "2",
                                       "2.0.3-rc1",
                                       "2.0.3rc2",
                                       "v2.0.3",
                                       "2.0.9",
                                       "2.0.10",
                                       "2.0.10a",
                                       "2.0.10b",
                                       "2.0.11",
                                       "10",
                                       "10.99999999999999999999",
                                       "10.100000000000000000000"};
        for (qsizetype i = 0; i + 1 < ascending.size(); ++i)
            QVERIFY2(update::compareVersions(ascending[i], ascending[i + 1]) < 0,
                     qPrintable(ascending[i] + " < " + ascending[i + 1]));
        for (const auto& [a, b] : {std::pair{"v2.0", "2"}, {"2.0.3", "2.0.3.0"}, {" 2.0 ", "V2"}})
            QCOMPARE(update::compareVersions(a, b), 0);
        QVERIFY(update::isNewer("2.1", "v2.0"));
        QVERIFY(!update::isNewer("2.0.3-rc1", "2.0.3"));

        QRandomGenerator random(20261208);
        QStringList versions = ascending;
        while (versions.size() < 400)
            versions << randomVersion(random);
        std::sort(versions.begin(), versions.end(), [](const QString& a, const QString& b) {
            return update::compareVersions(a, b) < 0;
        });
        // Sorted by the order, every pair agrees with it both ways round.
        for (qsizetype i = 0; i < versions.size(); ++i)
            for (qsizetype j = i; j < versions.size(); ++j) {
                const int forward = update::compareVersions(versions[i], versions[j]);
                QVERIFY2(forward <= 0 &&
                             update::compareVersions(versions[j], versions[i]) == -forward,
                         qPrintable(versions[i] + " | " + versions[j]));
            }
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
                 "/downloads/TARVO2-2.1.0.zip"}});
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
        QCOMPARE(m_folder->read("downloads/TARVO2-2.1.0.zip"), QByteArray("installer"));
        QCOMPARE(version("program"), "2.0.3");
        QVERIFY2(
            said().contains(QDir::toNativeSeparators(m_folder->file("downloads/TARVO2-2.1.0.zip"))),
            qPrintable(said()));
    }

    // Over https, with the checksums the list gives: a program may be
    // replaced, and a file that does not match its checksum replaces nothing.
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

        // Trusted, the list and the files arrive over TLS.
        const auto restore = qScopeGuard([] { update::Download::setCertificateAuthorities({}); });
        update::Download::setCertificateAuthorities(LoopbackServer::certificate().toPem());
        writeProgram("old program");
        m_server->serve("/prjTARVO2", "tampered");
        Entry data = pack();
        data[7] = sha256("new pack");
        openOn({data,
                {"TARVO2", "program", "2.1.0", "True", "prjTARVO2", "/prjTARVO2", "",
                 sha256("new program").toUpper()}});
        select(0);
        download();
        QCOMPARE(m_folder->read("Data/pack.dat"), QByteArray("new pack"));
        QCOMPARE(version("data"), "2.1.0");

        select(1);
        download();
        QVERIFY2(said().contains("does not match the SHA-256 checksum"), qPrintable(said()));
        QCOMPARE(m_folder->read("prjTARVO2"), QByteArray("old program"));
        m_server->serve("/prjTARVO2", "new program");
        download();
        QCOMPARE(m_folder->read("prjTARVO2"), QByteArray("new program"));
        QVERIFY(QFileInfo(m_folder->file("prjTARVO2")).isExecutable());
        QCOMPARE(version("program"), "2.0.3");
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

        // A failed check keeps the old list; so does an oversized one, and a
        // page that is no list at all (a network's sign-in page).
        m_server->serve("/updates.ini", "gone", 404);
        check();
        QVERIFY(said().contains("404 Not Found"));
        QCOMPARE(text("chkDone(0)"), "An error occured");
        m_server->serve("/updates.ini", QByteArray(update::kMaxListBytes + 1, ';'));
        check();
        QVERIFY2(said().contains("more than"), qPrintable(said()));
        m_server->serve("/updates.ini", "<html><body><form>Sign in to the Wi-Fi</form></body>");
        check();
        QVERIFY2(said().contains("sent a page that is not a list of updates"), qPrintable(said()));
        QCOMPARE(text("lblStatus"), "Status: The page received is not a list of updates");
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
        // A program is taken only from a list fetched over https.
        QTest::newRow("main program") << ""
                                      << "/prjTARVO2"
                                      << "secure (https)";
        QTest::newRow("script") << ""
                                << "\\Data\\run.sh"
                                << "secure (https)";
        // The checker's own files are no target at all.
        const QString own = "keeps itself";
        QTest::newRow("versions record") << ""
                                         << "\\Data\\versions.ini" << own;
        QTest::newRow("settings") << ""
                                  << "/data/SETTINGS.INI" << own;
        QTest::newRow("installed mark") << ""
                                        << "/.installed" << own;
        QTest::newRow("list") << ""
                              << "/downloads/updates.ini" << own;
        QTest::newRow("link to the record") << ""
                                            << "/Data/record.txt" << own;
    }
    void hostileListIsRefused() {
        QFETCH(QString, from);
        QFETCH(QString, saveTo);
        QFETCH(QString, reason);
        QTemporaryDir outside;
        QVERIFY(QFile::link(outside.path(), m_folder->file("out")));
        QVERIFY(
            QFile::link(m_folder->file("Data/versions.ini"), m_folder->file("Data/record.txt")));
        writeProgram("old program");
        const QByteArray versions = m_folder->read("Data/versions.ini");
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
        QCOMPARE(m_folder->read("Data/versions.ini"), versions);
        QCOMPARE(m_folder->read("prjTARVO2"), QByteArray("old program"));
        QVERIFY(!QFile::exists(m_folder->file(".installed")));
    }

    // An installed copy: its programs are the package manager's, while data
    // still downloads, into the user's own folder.
    void installedCopyLeavesProgramsToPackages() {
        QTemporaryDir home;
        m_folder->write(".installed", "");
        setUserDataFolder(home.path());
        const auto restore = qScopeGuard([] { setUserDataFolder(QString()); });
        writeProgram("packaged program");
        m_server->serve("/pack.dat", "new pack");
        m_server->serve("/update", "new updater");
        openOn({pack(),
                {"TARVO2", "program", "2.1.0", "Web Download", "releases/"},
                {"Updater", "tools", "2.1.0", "True", "update", "/update"}});
        for (int row : {1, 2}) {
            select(row);
            QVERIFY(!enabled("cmdDownload"));
            QVERIFY2(text("lblUpdateDescription")
                         .endsWith("\nThis item comes with the system's packages and is updated "
                                   "with them, not here."),
                     qPrintable(text("lblUpdateDescription")));
        }
        select(0);
        download();
        QCOMPARE(said(), "The update for your selected item has been downloaded and applied.");
        QFile got(home.filePath("Data/pack.dat"));
        QVERIFY(got.open(QIODevice::ReadOnly));
        QCOMPARE(got.readAll(), QByteArray("new pack"));
        QCOMPARE(m_folder->read("Data/pack.dat"), QByteArray("old pack"));
        QCOMPARE(ReadIniValue("versions", "data", "", home.filePath("Data/versions.ini")), "2.1.0");
        QCOMPARE(m_server->requests, (QStringList{"/updates.ini", "/pack.dat"}));
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
