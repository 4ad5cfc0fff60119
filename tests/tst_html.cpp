// The HTML output wizard driven by its controls: the fragment at opening,
// a whole page read by a real HTML parser, hostile names and titles, the
// lock dialogue, Revert, Preview and Save with files that cannot be written.
#include "appinfo.h"
#include "character.h"
#include "globals.h"
#include "output/frmHTML.h"
#include "planning/frmProgress.h"
#include "profile.h"
#include "scriptedplatform.h"
#include "shell/focusstyle.h"
#include "shell/forms.h"
#include "shell/frmBubbleD.h"
#include "wizard/frmMain.h"

#include <QAction>
#include <QCheckBox>
#include <QFile>
#include <QPlainTextEdit>
#include <QProcess>
#include <QRadioButton>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QtTest>
#include <cmath>

using namespace tarvo;
using tarvo::test::ScriptedPlatform;
using tarvo::test::TempAppFolder;

namespace {

const QString kUnlock = QStringLiteral(
    "If you unlock the code for manual editing, you will no longer be able to use this wizard to "
    "generate code without losing edited changes. Do you wish to continue?");
const QString kRelock = QStringLiteral("If you choose to modify the code using the wizard above, "
                                       "you will be unable to keep the changes you have made.");

double luminance(const QString& hex) {
    const QColor c(hex);
    double sum = 0;
    const double weights[3] = {0.2126, 0.7152, 0.0722};
    const double parts[3] = {c.redF(), c.greenF(), c.blueF()};
    for (int i = 0; i < 3; ++i)
        sum += weights[i] *
               (parts[i] <= 0.03928 ? parts[i] / 12.92 : std::pow((parts[i] + 0.055) / 1.055, 2.4));
    return sum;
}

} // namespace

class TestHtml : public QObject {
    Q_OBJECT

    std::unique_ptr<TempAppFolder> m_app;
    std::unique_ptr<ScriptedPlatform> m_p;
    frmHTML* w = nullptr;

    template <typename T = QAbstractButton> T* c(const QString& name) {
        T* x = w->findChild<T*>(name);
        if (!x)
            qFatal("no control %s", qPrintable(name));
        return x;
    }
    void click(const QString& name) { QTest::mouseClick(c(name), Qt::LeftButton); }
    QString code() { return c<QPlainTextEdit>("txtOutput")->toPlainText(); }
    QString bubble() {
        frmBubbleD* b = currentBubble();
        return b && b->isVisible() ? b->title() : QString();
    }

    // Reads html with html5lib, failing at its first error; its text
    // (comments left out).
    QString parsed(const QByteArray& html, bool fragment) {
        static const QString python = [] {
            for (const QString& exe :
                 {QStandardPaths::findExecutable("python3"), QString("/usr/bin/python3")})
                if (!exe.isEmpty()) {
                    QProcess probe;
                    probe.start(exe, {"-c", "import html5lib"});
                    if (probe.waitForFinished() && probe.exitCode() == 0)
                        return exe;
                }
            return QString();
        }();
        if (python.isEmpty())
            qFatal("python3 with html5lib is needed (scripts/install-deps.sh)");
        QProcess p;
        p.start(python, {"-c",
                         "import sys,html5lib\n"
                         "p=html5lib.HTMLParser(strict=True,namespaceHTMLElements=False)\n"
                         "d=sys.stdin.buffer.read().decode('utf-8')\n"
                         "t=p.parseFragment(d) if sys.argv[1]=='f' else p.parse(d)\n"
                         "def shown(e):\n"
                         "  if isinstance(e.tag,str):\n"
                         "    yield e.text or ''\n"
                         "    for c in e: yield from shown(c)\n"
                         "  yield e.tail or ''\n"
                         "sys.stdout.write(' '.join(' '.join(shown(t)).split()))",
                         fragment ? "f" : "d"});
        p.write(html);
        p.closeWriteChannel();
        p.waitForFinished();
        if (p.exitCode() != 0)
            qWarning("%s", p.readAllStandardError().constData());
        return p.exitCode() == 0 ? QString::fromUtf8(p.readAllStandardOutput()) : QString();
    }

private slots:
    void init() {
        m_app = std::make_unique<TempAppFolder>();
        m_p = std::make_unique<ScriptedPlatform>();
        globals().Domain = "http://tarvo.example/";
        character().reset();
        m_app->write("brow.mwc", "[One]\r\niniRealName=Brow\r\n"
                                 "[Two]\r\niniClass=Magic\r\niniClassName=Seer\r\n"
                                 "[Three]\r\niniCharacterName=Nerevar\r\niniRace=Breton\r\n"
                                 "iniGender=Female\r\n[Four]\r\niniFavAtt1=Intelligence\r\n"
                                 "iniFavAtt2=Willpower\r\n[FiveA]\r\niniMjrSkill1=Alchemy\r\n"
                                 "[Six]\r\niniBirthsign=The Mage\r\n");
        forms::main()->show();
        forms::progress()->show();
        QVERIFY(applyProfile(character(), m_app->file("brow.mwc")).ok());
    }
    void cleanup() {
        if (frmHTML* h = htmlWizardIfLoaded())
            h->close();
        UnloadBubble();
        forms::unloadAll();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        m_p.reset();
        m_app.reset();
    }

    void opensOnAFragmentAndGivesTheWizardBack() {
        w = ShowHtmlWizard();
        QCOMPARE(w->windowTitle(), QString("TARVO2 HTML Output Wizard"));
        // Disabled at once, hidden once the wizard is active.
        QVERIFY(!forms::main()->isEnabled() && !forms::progress()->isEnabled());
        QTRY_VERIFY(!forms::main()->isVisible() && !forms::progress()->isVisible());
        const QString comment =
            "<!-- Compiled by TARVO2 version " + versionText() + ", http://tarvo.example/ -->\n";
        QCOMPARE(code(), "\n" + comment +
                             "<FONT FACE = \"Arial, Helvetica, sans-serif\">\n"
                             "<H1>Brow's Morrowind Character</H1>\n\n"
                             "<P>\n<B>Character Name:</B> Nerevar\n"
                             "<BR><B>Character Race:</B> Breton\n"
                             "<BR><B>Character Gender:</B> Female\n</P>\n\n"
                             "<P>\n<B>Class Name:</B> Seer\n"
                             "<BR><B>Class Specialization:</B> Magic\n</P>\n\n"
                             "<P>\n<B>Favourite Attribute 1:</B> Intelligence\n"
                             "<BR><B>Favourite Attribute 2:</B> Willpower\n</P>\n\n"
                             "<P>\n<B>Birthsign:</B> The Mage\n</P>\n\n"
                             "<B>Major Skills:</B>\n<BR> - Alchemy\n\n"
                             "<P>\n<B>Minor Skills:</B>\n</P>\n\n<HR>\n\n"
                             "<P><FONT SIZE = -1>\n"
                             "This profile composed by the Quenmark program by Quillon. "
                             "Morrowind reference: <A HREF = \"http://tarvo.example/\" "
                             "target = \"_blank\">http://tarvo.example/</A>\n"
                             "</FONT>\n</P>\n</FONT>\n" +
                             comment + "\n");
        QVERIFY(c<QPlainTextEdit>("txtOutput")->isReadOnly());
        QVERIFY(!c("optOption(6)")->isEnabled());
        // "Default" is drawn in the window's own font, not a small serif.
        QCOMPARE(QFontInfo(c("optOption(3)")->font()).family(), QFontInfo(w->font()).family());
        QCOMPARE(c("optOption(3)")->font().pointSizeF(), w->font().pointSizeF());
        for (QWidget* x : w->findChildren<QWidget*>())
            if (x->focusPolicy() & Qt::TabFocus)
                QVERIFY2(!x->accessibleName().isEmpty(), qPrintable(x->objectName()));
        click("cmdClose");
        QVERIFY(forms::main()->isVisible() && forms::main()->isEnabled());
        QVERIFY(forms::progress()->isVisible() && forms::progress()->isEnabled());

        // Without the player's name the heading takes the character's, else a neutral one.
        character().setRealName("");
        QVERIFY(ShowHtmlWizard()->findChild<QPlainTextEdit*>()->toPlainText().contains(
            "<H1>Nerevar, a Morrowind Character</H1>"));
        htmlWizardIfLoaded()->close();
        character().setCharacterName("");
        QVERIFY(ShowHtmlWizard()->findChild<QPlainTextEdit*>()->toPlainText().contains(
            "<H1>My Morrowind Character</H1>"));
    }

    void wholePagesParseAndShowWhatWasTyped() {
        character().setRealName("Tom & <Jerry>");
        w = ShowHtmlWizard();
        QVERIFY(parsed(code().toUtf8(), true).contains("Tom & <Jerry>'s Morrowind Character"));

        // A colour that cannot be chosen (code fragment) is not previewed,
        // neither then nor once Whole page makes it available.
        QVERIFY(QTest::qWaitForWindowExposed(w));
        QTest::mouseMove(c("optOption(8)"));
        QCOMPARE(c("optOption(8)")->palette().color(QPalette::Window), QColor("#316AC5"));
        click("optOption(1)");
        QCOMPARE(c("optOption(8)")->palette().color(QPalette::Window), QColor("#316AC5"));
        click("optOption(8)");
        // The pointer over a colour previews it; over the frame it is undone.
        QTest::mouseMove(c<QWidget>("fmeOptions(2)"), QPoint(4, 4));
        QTest::mouseMove(c("optOption(8)"));
        QCOMPARE(c("optOption(8)")->palette().color(QPalette::Window), QColor("#1A3A1E"));
        QTest::mouseMove(c<QWidget>("fmeOptions(2)"), QPoint(4, 4));
        QCOMPARE(c("optOption(8)")->palette().color(QPalette::Window), QColor("#316AC5"));
        c<QAction>("mnuPOCComponents(0)")->trigger();
        c<QAction>("mnuPOCComponents(1)")->trigger();
        m_p->setNextInput(QString("Hello \"friends\" & <b>foes</b>"));
        c<QAction>("mnuPOCComponents(2)")->trigger();
        m_p->setNextInput(QString("</title><script>alert(1)</script>"));
        c<QAction>("mnuPOTTitlebar")->trigger();
        // Cancel keeps the title that was set.
        m_p->setNextInput(std::nullopt);
        c<QAction>("mnuPOTTitlebar")->trigger();
        click("cmdGenerate");
        const QByteArray page = m_app->read("Data/~HTMLCode.html");
        QCOMPARE(QString::fromUtf8(page), code().replace("\n", "\r\n"));
        QVERIFY(!page.contains("<script>") && !page.contains("<b>"));
        QVERIFY(page.contains("<HR>\r\n<P><CITE>Last updated on "));
        QVERIFY(page.indexOf("<BODY") < page.indexOf("<FONT FACE") &&
                page.indexOf("<FONT FACE") < page.indexOf("<nav"));
        const QString text = parsed(page, false);
        for (const char* shown :
             {"</title><script>alert(1)</script>", "Tom & <Jerry>'s Morrowind Character",
              "Hello \"friends\" & <b>foes</b>", "Nerevar", "Breton", "The Mage", "Alchemy",
              "Last updated on", "Races"})
            QVERIFY2(text.contains(QLatin1String(shown)), shown);

        // Every colour scheme's text and links can be read on its background
        // (tests/browser renders the pages).
        const QRegularExpression body(
            "BGCOLOR= \"(#\\w+)\" TEXT= ?\"(#\\w+)\" LINK=\"(#\\w+)\".* STYLE=\"font-family: "
            "Arial, Helvetica, sans-serif\">");
        for (int i = 6; i <= 9; ++i) {
            click(QString("optOption(%1)").arg(i));
            click("cmdGenerate");
            const auto m = body.match(code());
            QVERIFY(m.hasMatch());
            const double a = luminance(m.captured(1)) + 0.05;
            for (int k : {2, 3}) {
                const double b = luminance(m.captured(k)) + 0.05;
                QVERIFY2(std::max(a, b) / std::min(a, b) >= 4.5, qPrintable(m.captured(0)));
            }
        }

        // Back to a fragment: the page parts and the title go, for good.
        click("optOption(0)");
        click("optOption(1)");
        click("cmdGenerate");
        QVERIFY(code().contains("<title>Morrowind Character Page</title>"));
        QVERIFY(!code().contains("<nav") && !c<QAction>("mnuPOCComponents(0)")->isChecked());
    }

    // A home address with dashes cannot end the version comments early.
    void theVersionCommentHoldsAnyAddress() {
        for (const char* domain : {"http://x.example/--->", "http://x.example/----!>",
                                   "http://x.example/<!--", "http://x.example/-"}) {
            globals().Domain = domain;
            w = ShowHtmlWizard();
            const QString text = parsed(code().toUtf8(), true);
            QVERIFY2(text.startsWith("Brow's Morrowind Character") &&
                         text.endsWith(QString("Morrowind reference: ") + domain),
                     qPrintable(code()));
            w->close();
        }
    }

    // The locked code looks greyed but reads at 4.5:1; unlocked it is darker.
    void theLockedCodeCanBeRead() {
        w = ShowHtmlWizard();
        QVERIFY(QTest::qWaitForWindowExposed(w));
        auto* out = c<QPlainTextEdit>("txtOutput");
        // The strongest contrast of any pixel with the window's background
        // (its most frequent colour), read from what is drawn.
        const auto ink = [out] {
            const QImage img = out->viewport()->grab().toImage();
            QHash<QRgb, int> count;
            for (int y = 0; y < img.height(); ++y)
                for (int x = 0; x < img.width(); ++x)
                    ++count[img.pixel(x, y)];
            QRgb bg = 0;
            for (auto i = count.cbegin(); i != count.cend(); ++i)
                if (i.value() > count.value(bg))
                    bg = i.key();
            double best = 1;
            for (auto i = count.cbegin(); i != count.cend(); ++i)
                best = std::max(best, contrastRatio(QColor(i.key()), QColor(bg)));
            return best;
        };
        const double locked = ink();
        QVERIFY2(locked >= 4.5, qPrintable(QString::number(locked)));
        click("chkUnlock"); // Yes
        QVERIFY2(ink() > locked + 1, qPrintable(QString::number(locked)));
    }

    void aMissingTemplateLeavesTheFragment() {
        QFile::remove(m_app->file("Data/HTML Templates/bottom.html"));
        w = ShowHtmlWizard();
        click("optOption(1)");
        QVERIFY(m_p->lastMessage().text.contains("bottom.html"));
        QVERIFY(c<QRadioButton>("optOption(0)")->isChecked());
        click("cmdGenerate");
        QVERIFY(code().startsWith("\n<!--"));
    }

    void unlockRefusedAndRelocked() {
        w = ShowHtmlWizard();
        click("optOption(4)");
        m_p->setNextAnswer(MsgResult::No);
        click("chkUnlock");
        QCOMPARE(m_p->messages.size(), 1);
        QCOMPARE(m_p->lastMessage().text, kUnlock);
        QVERIFY(!c<QCheckBox>("chkUnlock")->isChecked() && c("cmdGenerate")->isEnabled());
        // The changed font was never generated: copying says so.
        click("cmdCopy");
        QCOMPARE(m_p->clipboard, code().replace("\n", "\r\n"));
        QCOMPARE(m_p->lastMessage().title, QString("Data copied"));
        QCOMPARE(bubble(), QString("HTML code not generated"));
        UnloadBubble();

        click("chkUnlock"); // Yes
        QVERIFY(!c("cmdGenerate")->isEnabled() && !c("optOption(1)")->isEnabled());
        QVERIFY(!c<QPlainTextEdit>("txtOutput")->isReadOnly());
        click("chkUnlock");
        QCOMPARE(m_p->lastMessage().text, kRelock);
        QVERIFY(c("cmdGenerate")->isEnabled() && c("optOption(1)")->isEnabled());
        QVERIFY(!c("optOption(6)")->isEnabled());
        QVERIFY(c<QPlainTextEdit>("txtOutput")->isReadOnly());
        click("cmdCopy");
        QCOMPARE(bubble(), QString());
    }

    void revertAndPreview() {
        w = ShowHtmlWizard();
        const QString generated = code();
        click("cmdPreview");
        QCOMPARE(m_p->opened, QStringList{m_app->file("Data/~HTMLCode.html")});
        click("chkUnlock"); // Yes
        QTest::keyClicks(c<QPlainTextEdit>("txtOutput"), "my own edits");
        QVERIFY(code() != generated);
        const int asked = m_p->messages.size();
        click("cmdLoad");
        QCOMPARE(code(), generated);
        QCOMPARE(m_p->messages.size(), asked); // already unlocked: no question

        // A preview page that cannot be written is said so, not shown.
        QFile::remove(m_app->file("Data/~HTMLCode.html"));
        QVERIFY(QDir().mkpath(m_app->file("Data/~HTMLCode.html")));
        click("cmdPreview");
        QCOMPARE(m_p->opened.size(), 1);
        QVERIFY(m_p->lastMessage().text.contains("~HTMLCode.html"));
    }

    void saveWritesOrSaysWhy() {
        w = ShowHtmlWizard();
        const QString file = m_app->file("page.html");
        m_p->setNextFile(file);
        click("cmdSave");
        const FileDialogSpec d = m_p->dialogs.last();
        QCOMPARE(d.initialName, QString("mycharacter.html"));
        QCOMPARE(d.filters.value(d.selectedFilter).second, QString("*.html"));
        QCOMPARE(m_app->read("page.html"), (code().replace("\n", "\r\n") + "\r\n").toUtf8());

        m_app->write("page.html", "old page");
        QFile::setPermissions(file, QFile::ReadOwner | QFile::ReadGroup);
        m_p->setNextFile(file);
        click("cmdSave");
        QVERIFY(m_p->lastMessage().text.contains("page.html: the file is read-only."));
        QCOMPARE(m_app->read("page.html"), QByteArray("old page"));
    }
};

QTEST_MAIN(TestHtml)
#include "tst_html.moc"
