// Step nine and the main window's other ways onto the web: the site list,
// Open, Favourites, Share now!, the Play guide buttons, the step links and the
// Online menu, each checked by the address handed to the system.
#include "appfolder.h"
#include "character.h"
#include "globals.h"
#include "onlinelinks.h"
#include "reftables.h"
#include "scriptedplatform.h"
#include "shell/forms.h"
#include "wizard/frmMain.h"

#include <QAction>
#include <QLabel>
#include <QListWidget>
#include <QtTest>

#include <memory>

using namespace tarvo;
using tarvo::test::ScriptedPlatform;
using tarvo::test::TempAppFolder;

namespace {
const QString kDomain = QStringLiteral("https://home.example/");

QByteArray picture(const QColor& colour, const char* format) {
    QImage img(40, 20, QImage::Format_RGB32);
    img.fill(colour);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    img.save(&buffer, format);
    return bytes;
}
} // namespace

class TestResources : public QObject {
    Q_OBJECT

    std::unique_ptr<ScriptedPlatform> m_platform;
    std::unique_ptr<TempAppFolder> m_folder;
    QTemporaryDir m_favourites;
    frmMain* w = nullptr;

    QWidget* ctl(const QString& name) const {
        QWidget* c = w->findChild<QWidget*>(name);
        if (!c)
            qFatal("no control %s", qPrintable(name));
        return c;
    }
    QString text(const QString& name) const { return static_cast<QLabel*>(ctl(name))->text(); }
    QListWidget* sites() const { return w->findChild<QListWidget*>("lstWebsites"); }
    void click(const QString& name) { QTest::mouseClick(ctl(name), Qt::LeftButton); }
    QPoint siteAt(int row) const { return sites()->visualItemRect(sites()->item(row)).center(); }
    void selectSite(int row) {
        QTest::mouseClick(sites()->viewport(), Qt::LeftButton, {}, siteAt(row));
    }
    void trigger(const QString& action) { w->findChild<QAction*>(action)->trigger(); }
    QString said() const { return m_platform->lastMessage().text; }

private slots:
    void initTestCase() { QApplication::setQuitOnLastWindowClosed(false); }

    void init() {
        m_platform = std::make_unique<ScriptedPlatform>();
        m_folder = std::make_unique<TempAppFolder>();
        m_folder->write(
            "Data/Websites/websites.ini",
            "[sitenames]\r\na=Both Logos\r\nb=No Address\r\nc=Odd: <Name>/?\r\nd=.dotted\r\n"
            "[categories]\r\ncategory0=Wiki\r\n[descriptions]\r\ndescription0=All.\r\n"
            "[urls]\r\nUrl0=https://both.example/\r\nUrl2=https://odd.example/?a&b\r\n"
            "Url3=https://dot.example/\r\n");
        m_folder->write("Data/Websites/Both Logos.GIF", picture(Qt::red, "PNG"));
        m_folder->write("Data/Websites/Both Logos.JPG", picture(Qt::blue, "JPG"));
        m_folder->write("Data/Websites/external links.ini",
                        "[iniOther]\r\niniShare=share.html\r\niniStealth=guides/stealth.html\r\n"
                        "[iniLinks]\r\ninilink0=classes.html\r\n");
        m_folder->write("Data/Settings.ini", "[Program]\r\niniDomain=" + kDomain.toUtf8());
        setFavouritesFolder(m_favourites.filePath("Favourites"));
        Globals& g = globals();
        g.StepTasks = stepTasks();
        g.FirstRun = g.ShowAdvancedFeatures = QStringLiteral("No");
        g.Domain = kDomain;
        w = forms::main();
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w));
        w->selectStep(8);
    }

    void cleanup() {
        forms::unloadAll();
        character().reset();
        setFavouritesFolder(QString());
        m_folder.reset();
        m_platform.reset();
    }

    void siteListShowsAndOpens() {
        QCOMPARE(text("lblWebName"), QStringLiteral("Information"));
        QVERIFY(!ctl("cmdOpen")->isEnabled());
        selectSite(0);
        QCOMPARE(text("lblWebName"), QStringLiteral("Wiki"));
        QCOMPARE(text("lblWebDescription"), QStringLiteral("All."));
        const QImage logo = static_cast<QLabel*>(ctl("imgWebLogo"))->pixmap().toImage();
        QVERIFY2(logo.pixelColor(logo.rect().center()).blue() > 200, "the JPG wins over the GIF");
        click("cmdOpen");
        QTest::mouseDClick(sites()->viewport(), Qt::LeftButton, {}, siteAt(0));
        QCOMPARE(m_platform->opened, QStringList(2, "https://both.example/"));

        selectSite(1);
        QCOMPARE(text("lblWebName"), QStringLiteral("Category missing"));
        QCOMPARE(text("lblWebDescription"), QStringLiteral("Description missing"));
        QVERIFY(!ctl("cmdOpen")->isEnabled() && !ctl("cmdAdd")->isEnabled());
        QTest::mouseDClick(sites()->viewport(), Qt::LeftButton, {}, siteAt(1));
        QCOMPARE(m_platform->opened.size(), 2);
    }

    void favouritesAreWritten() {
        selectSite(2);
        click("cmdAdd");
        const QString folder = m_favourites.filePath("Favourites");
        const QString shortcut = folder + "/Odd_ _Name___.URL";
        QFile f(shortcut);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QVERIFY(f.readAll().startsWith("[InternetShortcut]\r\nURL=https://odd.example/?a&b\r\n"));
        // A name that starts with a dot is no hidden file.
        selectSite(3);
        click("cmdAdd");
        QVERIFY(QFile::exists(folder + "/_dotted.URL"));
        QFile bookmarks(folder + "/bookmarks.html");
        QVERIFY(bookmarks.open(QIODevice::ReadOnly));
        const QByteArray html = bookmarks.readAll();
        QVERIFY(html.startsWith("<!DOCTYPE NETSCAPE-Bookmark-file-1>"));
        // Each bookmark under its site's own name.
        QVERIFY(html.contains("<A HREF=\"https://odd.example/?a&amp;b\""));
        QVERIFY(html.contains(">Odd: &lt;Name&gt;/?</A>"));
        QVERIFY(html.contains("<A HREF=\"https://dot.example/\""));
        QVERIFY(html.contains(">.dotted</A>"));
        QVERIFY(said().contains(QDir::toNativeSeparators(folder + "/_dotted.URL")) &&
                said().contains("bookmarks"));

        // A folder that cannot be made: the user is told why.
        QVERIFY(QDir(folder).removeRecursively());
        QVERIFY(QFile(folder).open(QIODevice::WriteOnly));
        click("cmdAdd");
        QCOMPARE(m_platform->lastMessage().icon, MsgIcon::Exclamation);
        QVERIFY(said().contains("could not be added"));
    }

    void linksOpenTheirPages() {
        click("cmdShare");
        QVERIFY(said().startsWith("TARVO2 will now launch the Share Profiles page."));
        QCOMPARE(w->currentStep(), 7);
        w->selectStep(1);
        click("cmdClassLink(2)"); // beside Stealth
        click("cmdClassLink(0)"); // Combat: no key, the home page
        QTest::mouseClick(ctl("lblLink(0)"), Qt::LeftButton);
        w->selectStep(4);
        QTest::mouseClick(ctl("lblLink(3)"), Qt::LeftButton); // no key
        trigger("mnuOnlineSub(0)");
        trigger("mnuOnlineSub(1)"); // Community, no key
        trigger("mnuOnlineSub(5)"); // Online Help, no key
        QCOMPARE(m_platform->opened,
                 (QStringList{kDomain + "share.html", kDomain + "guides/stealth.html", kDomain,
                              kDomain + "classes.html", kDomain, kDomain, kDomain, kDomain}));
        trigger("mnuOnlineSub(6)");
        QCOMPARE(QFileInfo(m_platform->started.value(0)).fileName(), executableName("update"));
    }

    void withoutAHomeSiteNothingIsOpened() {
        globals().Domain.clear();
        m_folder->write("Data/Settings.ini", "[Program]\r\niniDomain=\r\n");
        trigger("mnuOnlineSub(1)");
        click("cmdShare");
        w->selectStep(1);
        click("cmdClassLink(2)");
        QTest::mouseClick(ctl("lblLink(0)"), Qt::LeftButton);
        QVERIFY(m_platform->opened.isEmpty());
        QVERIFY(said().startsWith("No home web site is set"));
        // Without the key at all the step links use the built-in home site.
        m_folder->write("Data/Settings.ini", "[Program]\r\n");
        QTest::mouseClick(ctl("lblLink(0)"), Qt::LeftButton);
        QCOMPARE(m_platform->opened, QStringList{kHomeDomain + "classes.html"});
    }
};

QTEST_MAIN(TestResources)
#include "tst_resources.moc"
