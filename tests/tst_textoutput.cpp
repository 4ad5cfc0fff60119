// Text output: the composed profile text (plain and marked up), the shipped
// boards rendered by real Markdown and HTML parsers, step eight's Copy and
// Save as File, the formatting window, the options window and the about
// window.
#include "appfolder.h"
#include "character.h"
#include "globals.h"
#include "ini/mdlVbNetIni.h"
#include "output/frmFormatting.h"
#include "output/frmHTML.h"
#include "planning/frmProgress.h"
#include "reftables.h"
#include "samplecharacter.h"
#include "scriptedplatform.h"
#include "settings.h"
#include "shell/forms.h"
#include "shell/frmAbout.h"
#include "shell/frmOptions.h"
#include "shell/qtplatform.h"
#include "textexport.h"
#include "wizard/frmMain.h"

#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardPaths>
#include <QTimer>
#include <QtTest>

using namespace tarvo;
using tarvo::test::ScriptedPlatform;
using tarvo::test::TempAppFolder;

namespace {

const QString kDomain = QStringLiteral("https://home.example/tarvo/");
const QString kCopied = QStringLiteral("Your character profile information has been sent to the "
                                       "clipboard, you can now paste it into another program or "
                                       "message board.");

// Boards of our own for the exact layouts: BBCode with separation, a poll
// board, a board with every tag empty and separation on, and one that
// refuses the poll although a poll was chosen for it.
const QByteArray kTags = "[AvaliablePresets]\r\nBoard0=Spaced\r\nBoard1=\r\nBoard2=Poll\r\n"
                         "Board3=Empty\r\nBoard4=NoPoll\r\n"
                         "[Spaced]\r\niniSeparate=True\r\niniVote=False\r\niniBTag1=[b]\r\n"
                         "iniBTag2=[/b]\r\niniITag1=[i]\r\niniITag2=[/i]\r\niniUTag1=[u]\r\n"
                         "iniUTag2=[/u]\r\niniLTag1=[url]\r\niniLTag2=[/url]\r\n"
                         "iniDescription=Spaced tags\r\n"
                         "[Poll]\r\niniVote=True\r\niniUserVote=1\r\niniBTag1=[B]\r\n"
                         "iniBTag2=[/B]\r\ninimodifydescription=True\r\n"
                         "[Empty]\r\niniSeparate=True\r\n"
                         "[NoPoll]\r\niniVote=False\r\niniUserVote=1\r\niniBTag1=**\r\n"
                         "iniBTag2=**\r\n"
                         "[Gone]\r\niniVote=True\r\niniUserVote=1\r\niniBTag1=[G]\r\n"
                         "iniBTag2=[/G]\r\n";
const QByteArray kVote = "[poll]\r\nVote now\r\n[/poll]";

// The body of a character's text from line 3 on, with the bold tags b1, b2
// and the ticked skills in the order their lists show them, up to the footer.
QString body(const QString& b1, const QString& b2) {
    QString t;
    auto e = [&](const QString& title, const QString& value) {
        t += b1 + title + b2 + value + "\r\n";
    };
    e("Character Name: ", "Veya Indoril");
    e("Character Race: ", "Dark Elf");
    e("Character Gender: ", "Female");
    t += "\r\n";
    e("Class Name: ", "Spellwright");
    e("Class Specialization: ", "Magic");
    t += "\r\n";
    e("Favourite Attribute 1: ", "Willpower");
    e("Favourite Attribute 2: ", "Luck");
    t += "\r\n";
    e("Birthsign: ", "The Atronach");
    t += "\r\n";
    e("Major Skills:", "");
    t += " - Block\r\n - Destruction\r\n - Alteration\r\n - Mysticism\r\n - Sneak\r\n\r\n";
    e("Minor Skills:", "");
    t += " - Long Blade\r\n - Illusion\r\n - Enchant\r\n - Alchemy\r\n - Speechcraft\r\n\r\n";
    return t;
}

const QString kFooter = QStringLiteral(
    "This profile composed by the Quenmark program by Quillon. Morrowind reference: ");

void buildCharacter() {
    tarvo::test::buildSampleCharacter();
}

// Runs a program on input; no value when it cannot be run.
std::optional<QByteArray> run(const QString& program, const QStringList& args,
                              const QByteArray& input) {
    QProcess p;
    p.start(program, args);
    if (!p.waitForStarted())
        return std::nullopt;
    p.write(input);
    p.closeWriteChannel();
    if (!p.waitForFinished() || p.exitCode() != 0)
        return std::nullopt;
    return p.readAllStandardOutput();
}

QString pythonWithHtml5lib() {
    for (const QString& py : {QStringLiteral("/usr/bin/python3"),
                              QStandardPaths::findExecutable(QStringLiteral("python3"))})
        if (!py.isEmpty() && run(py, {"-c", "import html5lib"}, {}))
            return py;
    return {};
}

} // namespace

class TestTextOutput : public QObject {
    Q_OBJECT

    std::unique_ptr<TempAppFolder> m_app;
    std::unique_ptr<ScriptedPlatform> m_platform;

    template <typename T = QWidget> T* ctl(QWidget* w, const QString& name) {
        T* c = w->findChild<T*>(name);
        if (!c)
            qFatal("no control %s", qPrintable(name));
        return c;
    }
    frmMain* main() { return forms::main(); }
    void setBoard(const QString& board) {
        WriteIniValue("Program", "iniBoardName", board, m_app->file("Data/Settings.ini"));
    }
    QString exportText(const QString& tags) {
        main()->Export(tags);
        return main()->dataCompilerText();
    }
    QString setting(const QString& key) {
        return ReadIniValue("Program", key, "<none>", m_app->file("Data/Settings.ini"));
    }
    void flush() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }
    void triggerMenu(const QString& button, const QString& menu, const QString& item) {
        auto* b = ctl<QPushButton>(main(), button);
        QTest::mouseClick(b, Qt::LeftButton);
        auto* m = ctl<QMenu>(main(), menu);
        QTRY_VERIFY(m->isVisible());
        // The menu opens right under its button.
        QCOMPARE(m->pos(), b->mapToGlobal(QPoint(0, b->height())));
        m->hide();
        ctl<QAction>(main(), item)->trigger();
    }

private slots:
    void init() {
        m_app = std::make_unique<TempAppFolder>();
        m_platform = std::make_unique<ScriptedPlatform>();
        character().reset();
        globals().Domain = kDomain;
        main()->show();
        forms::progress()->show();
        main()->selectStep(7);
    }
    void cleanup() {
        setPortableOverride(std::nullopt);
        setUserDataFolder(QString());
        forms::unloadAll();
        flush();
        m_platform.reset();
        m_app.reset();
    }

    // The whole text, byte for byte: plain, a board with separation on (an
    // empty tag still giving two blanks), a board with the poll.
    void composedTextFollowsTheLayout() {
        m_app->write("Data/tags.ini", kTags);
        m_app->write("Data/votecode.txt", kVote);
        buildCharacter();
        const QString plain =
            "Ada's Character\r\n\r\n" + body("", "") + kFooter + kDomain + "\r\n\r\n";
        QCOMPARE(exportText("No"), plain);
        QCOMPARE(QString::fromUtf8(m_app->read("Data/ClipboardData.txt")), plain);
        QCOMPARE(ctl<QPlainTextEdit>(main(), "txtDataCompiler")->isVisible(), false);

        setBoard("Spaced");
        QCOMPARE(exportText("Yes"), " [u] Ada's Character [/u] \r\n\r\n" + body(" [b] ", " [/b] ") +
                                        " [i] " + kFooter + " [url] " + kDomain +
                                        " [/url]  [/i] \r\n\r\n");
        setBoard("Poll");
        QCOMPARE(exportText("Yes"), "Ada's Character\r\n\r\n" + body("[B]", "[/B]") + kVote +
                                        "\r\n" + kFooter + kDomain + "\r\n\r\n");
        // The poll never goes into plain text, nor to a board refusing it.
        QVERIFY(!exportText("No").contains("[poll]"));
        setBoard("NoPoll");
        QVERIFY(!exportText("Yes").contains("[poll]"));
        // Every tag empty, separation on: two blanks where each tag would be.
        setBoard("Empty");
        QVERIFY(
            exportText("Yes").startsWith("  Ada's Character  \r\n\r\n  Character Name:   Veya"));
        // A board without a section: the plain text.
        setBoard("Unknown");
        QCOMPARE(exportText("Yes"), plain);

        // An empty character still has every title.
        character().reset();
        const QString empty = exportText("No");
        QVERIFY(empty.startsWith("'s Character\r\n\r\nCharacter Name: \r\n"));
        QVERIFY(empty.contains("Major Skills:\r\n\r\nMinor Skills:\r\n\r\n" + kFooter));
    }

    // The shipped boards: the classic BBCode output as it always was,
    // Markdown rendered by cmark and HTML read by html5lib.
    void shippedBoardsRenderCorrectly() {
        buildCharacter();
        character().setRealName("Ada <&> *Star*");
        setBoard("BBCode");
        QCOMPARE(exportText("Yes"), "[u]Ada <&> *Star*'s Character[/u]\r\n\r\n" +
                                        body("[b]", "[/b]") + "[i]" + kFooter + "[url]" + kDomain +
                                        "[/url][/i]\r\n\r\n");

        setBoard("Markdown");
        const QString markdown = exportText("Yes");
        const auto html = run("cmark", {}, markdown.toUtf8());
        if (!html) {
            qWarning("cmark is not installed: Markdown not rendered");
        } else {
            const QString h = QString::fromUtf8(*html);
            for (const char* title :
                 {"Character Name:", "Character Race:", "Character Gender:", "Class Name:",
                  "Class Specialization:", "Favourite Attribute 1:", "Favourite Attribute 2:",
                  "Birthsign:", "Major Skills:", "Minor Skills:"})
                QVERIFY2(h.contains(QStringLiteral("<strong>%1</strong>").arg(title)), title);
            // Every entry on its own line, the name shown as typed.
            QVERIFY2(h.contains("<strong>Character Name:</strong> Veya Indoril<br />\n"
                                "<strong>Character Race:</strong> Dark Elf<br />"),
                     qPrintable(h));
            QVERIFY(h.contains("<p>Ada &lt;&amp;&gt; *Star*'s Character</p>"));
            QCOMPARE(h.count("<li>"), 10);
            QVERIFY(h.contains(
                QStringLiteral("<em>%1<a href=\"%2\">%2</a></em>").arg(kFooter, kDomain)));
        }

        setBoard("HTML");
        const QString page = exportText("Yes");
        const QString py = pythonWithHtml5lib();
        if (py.isEmpty())
            QSKIP("python3 with html5lib is not installed: HTML not parsed");
        const char* script =
            "import sys, html5lib\n"
            "doc = html5lib.parse(sys.stdin.read(), namespaceHTMLElements=False)\n"
            "b = doc.find('body')\n"
            "print(b.find('u').text)\n"
            "for e in b.findall('b'): print('B|' + e.text + '|' + (e.tail or '').strip())\n"
            "print('BR', len(b.findall('br')))\n"
            "a = b.find('i/a'); print('A|' + a.get('href') + '|' + a.text)\n";
        const auto parsed = run(py, {"-c", script}, page.toUtf8());
        QVERIFY(parsed);
        const QStringList lines = QString::fromUtf8(*parsed).split('\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.value(0), QString("Ada <&> *Star*'s Character"));
        QVERIFY(lines.contains("B|Character Name: |Veya Indoril"));
        QVERIFY(lines.contains("B|Major Skills:|"));
        // One break per line of the text, so each entry keeps its own line.
        QCOMPARE(lines.filter("BR ").value(0), QString("BR %1").arg(page.count("\r\n") - 1));
        QCOMPARE(lines.last(), "A|" + kDomain + "|home page");
    }

    // Step eight: the menus under their buttons, the plain copy, the text
    // file (written, cancelled, refused) and the route to HTML.
    void stepEightCopiesAndSaves() {
        buildCharacter();
        triggerMenu("cmdCopy", "mnuCopy", "mnuCopyPlain");
        QVERIFY(!QFile::exists(m_app->file("Data/ClipboardData.txt")));
        const QString plain = exportText("No");
        QCOMPARE(m_platform->clipboard, plain);
        QCOMPARE(m_platform->lastMessage().text, kCopied);
        QCOMPARE(m_platform->lastMessage().title, QString("Data copied"));
        QCOMPARE(m_platform->lastMessage().icon, MsgIcon::Information);

        const QString file = m_app->file("Ada.txt");
        m_platform->setNextFile(file);
        triggerMenu("cmdSave", "mnuFile", "mnuFileText");
        QCOMPARE(m_platform->dialogs.last().initialName, QString("Ada's Character"));
        QCOMPARE(m_platform->dialogs.last().defaultSuffix, QString("txt"));
        QCOMPARE(QString::fromUtf8(m_app->read("Ada.txt")), plain + "\r\n");
        QVERIFY(QFile::exists(m_app->file("Data/ClipboardData.txt")));

        // A read-only file is named with the reason and stays whole.
        m_app->write("Old.txt", "old text");
        QFile::setPermissions(m_app->file("Old.txt"), QFile::ReadOwner);
        const int shown = m_platform->messages.size();
        m_platform->setNextFile(m_app->file("Old.txt"));
        ctl<QAction>(main(), "mnuFileText")->trigger();
        QCOMPARE(m_platform->messages.size(), shown + 1);
        QVERIFY(m_platform->lastMessage().text.contains("Old.txt"));
        QVERIFY(m_platform->lastMessage().text.contains("read-only"));
        QCOMPARE(m_app->read("Old.txt"), QByteArray("old text"));
        // A vanished folder likewise; a cancelled dialog writes nothing.
        m_platform->setNextFile(m_app->file("gone/New.txt"));
        ctl<QAction>(main(), "mnuFileText")->trigger();
        QVERIFY(m_platform->lastMessage().text.contains("does not exist"));
        m_platform->setNextFile(QString());
        ctl<QAction>(main(), "mnuFileText")->trigger();
        QCOMPARE(m_platform->messages.size(), shown + 2);

        ctl<QAction>(main(), "mnuFileHTML")->trigger();
        QVERIFY(htmlWizardIfLoaded() && htmlWizardIfLoaded()->isVisible());
        QTRY_VERIFY(!main()->isVisible());
    }

    // The formatting window: board list and preselection, poll box states,
    // the copy storing the board and the poll choice.
    void formattingWindowCopiesForTheBoard() {
        m_app->write("Data/tags.ini", kTags);
        m_app->write("Data/votecode.txt", kVote);
        setBoard("Poll");
        buildCharacter();
        triggerMenu("cmdCopy", "mnuCopy", "mnuCopyRich");
        frmFormatting* f = frmFormatting::ifLoaded();
        QVERIFY(f && f->isVisible());
        QCOMPARE(f->windowTitle(), QString("Forum Formatting Options"));
        QTRY_VERIFY(!main()->isVisible() && !forms::progress()->isVisible());
        QVERIFY(frmOptions::ifLoaded() && !frmOptions::ifLoaded()->isVisible());

        auto* board = ctl<QComboBox>(f, "cboMessageBoard");
        auto* vote = ctl<QCheckBox>(f, "chkAddVote");
        QStringList shown;
        for (int i = 0; i < board->count(); ++i)
            shown << board->itemText(i);
        QCOMPARE(shown, QStringList({"Spaced", "Poll", "Empty", "NoPoll"}));
        QCOMPARE(board->currentText(), QString("Poll"));
        QCOMPARE(ctl<QLabel>(f, "lblTags(0)")->text(), QString("[B]"));
        QVERIFY(vote->isChecked() && vote->isEnabled());
        // A board refusing the poll: unticked and disabled, whatever was left.
        board->setCurrentText("NoPoll");
        QVERIFY(!vote->isChecked() && !vote->isEnabled());
        board->setCurrentText("Spaced");
        QCOMPARE(ctl<QLabel>(f, "lblForumDescription")->text(), QString("Spaced tags"));

        board->setCurrentText("Poll");
        vote->setChecked(false);
        QTest::mouseClick(ctl<QPushButton>(f, "cmdCopy"), Qt::LeftButton);
        flush();
        QVERIFY(!frmFormatting::ifLoaded() && !frmOptions::ifLoaded());
        QCOMPARE(setting("iniBoardName"), QString("Poll"));
        QCOMPARE(ReadIniValue("Poll", "iniUserVote", "", m_app->file("Data/tags.ini")),
                 QString("0"));
        QVERIFY(m_platform->clipboard.startsWith("Ada's Character\r\n\r\n[B]Character Name: [/B]"));
        QVERIFY(!m_platform->clipboard.contains("[poll]"));
        QCOMPARE(m_platform->lastMessage().title, QString("Data copied"));
        QVERIFY(!QFile::exists(m_app->file("Data/ClipboardData.txt")));
        QVERIFY(main()->isVisible() && main()->isEnabled() && forms::progress()->isVisible());
        // The board list has no entry for the empty preset.
        QCOMPARE(m_app->read("Data/~messageboards.txt"),
                 QByteArray("Spaced\r\n\r\nPoll\r\nEmpty\r\nNoPoll\r\n"));

        // An unlisted stored board (with tags and a poll of its own): nothing
        // shown, so the plain text is copied, and the stored board is kept.
        setBoard("Gone");
        showFormattingWindow();
        QCOMPARE(ctl<QComboBox>(frmFormatting::ifLoaded(), "cboMessageBoard")->currentIndex(), -1);
        QVERIFY(!ctl<QCheckBox>(frmFormatting::ifLoaded(), "chkAddVote")->isChecked());
        const QByteArray tags = m_app->read("Data/tags.ini");
        QTest::mouseClick(ctl<QPushButton>(frmFormatting::ifLoaded(), "cmdCopy"), Qt::LeftButton);
        QCOMPARE(m_platform->clipboard, exportText("No"));
        QCOMPARE(m_platform->lastMessage().title, QString("Data copied"));
        QCOMPARE(setting("iniBoardName"), QString("Gone"));
        QCOMPARE(m_app->read("Data/tags.ini"), tags);

        // Close gives the wizard back; Settings... leaves the options open.
        showFormattingWindow();
        QTest::keyClick(frmFormatting::ifLoaded(), Qt::Key_Escape);
        flush();
        QVERIFY(!frmFormatting::ifLoaded() && !frmOptions::ifLoaded());
        QVERIFY(main()->isVisible() && main()->isEnabled());
        showFormattingWindow();
        QTest::mouseClick(ctl<QPushButton>(frmFormatting::ifLoaded(), "cmdAdvanced"),
                          Qt::LeftButton);
        flush();
        QVERIFY(!frmFormatting::ifLoaded());
        QVERIFY(frmOptions::ifLoaded() && frmOptions::ifLoaded()->isVisible());
        QTRY_VERIFY(!main()->isVisible());
        QTest::mouseClick(ctl<QPushButton>(frmOptions::ifLoaded(), "cmdCancel"), Qt::LeftButton);
        QVERIFY(main()->isVisible() && main()->isEnabled());
    }

    // The settings or the tag-set file cannot be written: the copy still
    // has the board and the poll chosen, and the warning says what was not
    // saved, in this window's words.
    void formattingCopyWhenFilesCannotBeWritten() {
        m_app->write("Data/tags.ini", kTags);
        m_app->write("Data/votecode.txt", kVote);
        QTemporaryDir user;
        setPortableOverride(false);
        setUserDataFolder(user.path());
        buildCharacter();
        // A folder stands where each file would be written.
        for (const QString& blocked : {writableSettingsFile(), tagsFileForWriting()}) {
            QFile::remove(blocked);
            QDir().mkpath(blocked);
            showFormattingWindow();
            ctl<QComboBox>(frmFormatting::ifLoaded(), "cboMessageBoard")->setCurrentText("Poll");
            QVERIFY(ctl<QCheckBox>(frmFormatting::ifLoaded(), "chkAddVote")->isChecked());
            const int shown = m_platform->messages.size();
            QTest::mouseClick(ctl<QPushButton>(frmFormatting::ifLoaded(), "cmdCopy"),
                              Qt::LeftButton);
            QCOMPARE(m_platform->clipboard, "Ada's Character\r\n\r\n" + body("[B]", "[/B]") +
                                                kVote + "\r\n" + kFooter + kDomain + "\r\n\r\n");
            const QString warning = m_platform->messages.value(shown).text;
            QVERIFY2(warning.contains(blocked + ": the name belongs to a folder.") &&
                         warning.contains("copied with the Poll tags and the voting poll") &&
                         !warning.contains("OK again"),
                     qPrintable(warning));
            QCOMPARE(m_platform->lastMessage().title, QString("Data copied"));
            QDir(blocked).removeRecursively();
        }
    }

    // A real name that starts a Markdown block (a list, a code block, a
    // rule) stays the text of the title, as cmark renders it.
    void markdownNamesStayText() {
        if (QStandardPaths::findExecutable("cmark").isEmpty())
            QSKIP("cmark is not installed");
        buildCharacter();
        setBoard("Markdown");
        for (const char* name : {"1. Tom", "2) Tom", "+ Tom", "- Tom", "    Tom", "\tTom", "---",
                                 "  * Tom", "= Tom", "123456789. Tom"}) {
            character().setRealName(name);
            const QString html = QString::fromUtf8(*run("cmark", {}, exportText("Yes").toUtf8()));
            QVERIFY2(html.startsWith("<p>" + QString(name).toHtmlEscaped() + "'s Character</p>"),
                     qPrintable(html));
            QCOMPARE(html.count("<li>"), 10);
            QVERIFY2(!html.contains("<pre") && !html.contains("<hr") && !html.contains("<h"), name);
        }
    }

    // Missing board list and vote files: no boards, no poll.
    void missingFilesGiveNothing() {
        m_app->write("Data/tags.ini", "[Poll]\r\niniVote=True\r\niniUserVote=1\r\n");
        QFile::remove(m_app->file("Data/votecode.txt"));
        setBoard("Poll");
        showFormattingWindow();
        QCOMPARE(ctl<QComboBox>(frmFormatting::ifLoaded(), "cboMessageBoard")->count(), 0);
        QCOMPARE(exportText("Yes"), exportText("No"));
        m_app->write("Data/tags.ini", "[Poll]\r\niniVote=yes\r\niniUserVote=true\r\n");
        m_app->write("Data/votecode.txt", kVote);
        QVERIFY(!exportText("Yes").contains("[poll]"));
    }

    // The options window: what it loads, what OK writes and in which order,
    // Cancel, a board that is not listed, and files that cannot be written.
    void optionsWindowLoadsAndSaves() {
        m_app->write("Data/tags.ini", kTags);
        const QString settings = m_app->file("Data/Settings.ini");
        m_app->write("Data/Settings.ini",
                     "[Program]\r\niniBoardName=Poll\r\niniCmdCreate(3).Visible=true\r\n"
                     "iniCmdCreate(3).Caption=Play\r\niniDomain=https://d.example/\r\n");
        QFile::remove(m_app->file("Help/installations.ini"));
        ctl<QPushButton>(main(), "cmdControls(2)")->click();
        frmOptions* o = frmOptions::ifLoaded();
        QVERIFY(o && o->isVisible());
        QVERIFY(!main()->isEnabled() && !forms::progress()->isEnabled());
        QCOMPARE(ctl<QComboBox>(o, "cboMessageBoard")->currentText(), QString("Poll"));
        QCOMPARE(ctl<QLineEdit>(o, "txtTags(0)")->text(), QString("[B]"));
        QVERIFY(ctl<QCheckBox>(o, "chkAddVote")->isChecked());
        QVERIFY(!ctl<QPlainTextEdit>(o, "txtForumDescription")->isReadOnly());
        QVERIFY(ctl<QCheckBox>(o, "chkSettings(0)")->isChecked());
        QVERIFY(!ctl<QLineEdit>(o, "txtSettings(0)")->isReadOnly());
        QCOMPARE(ctl<QLineEdit>(o, "txtSettings(0)")->text(), QString("Play"));
        QCOMPARE(ctl<QLineEdit>(o, "txtDomain")->text(), QString("https://d.example/"));
        QCOMPARE(ctl<QLineEdit>(o, "txtInstallations(1)")->text(), QString("unins000.exe"));
        QCOMPARE(ctl<QLineEdit>(o, "txtInstallations(0)")->text(), QString("setup.exe"));
        QVERIFY(ctl<QWidget>(o, "fmeSection(0)")->isVisible());
        ctl<QRadioButton>(o, "optNav(1)")->click();
        QVERIFY(ctl<QWidget>(o, "fmeSection(1)")->isVisible());
        QVERIFY(!ctl<QWidget>(o, "fmeSection(0)")->isVisible());

        // Cancel (Escape) writes nothing.
        const QByteArray before = m_app->read("Data/Settings.ini");
        ctl<QLineEdit>(o, "txtHelp")->setText("/x.html");
        QTest::keyClick(o, Qt::Key_Escape);
        flush();
        QVERIFY(!frmOptions::ifLoaded());
        QCOMPARE(m_app->read("Data/Settings.ini"), before);
        QVERIFY(!QFile::exists(m_app->file("Help/installations.ini")));
        QVERIFY(main()->isEnabled());

        // OK writes every key, in order (new keys go to the end).
        m_app->write("Data/Settings.ini", "[Program]\r\niniBoardName=Spaced\r\n");
        showOptionsWindow();
        o = frmOptions::ifLoaded();
        ctl<QCheckBox>(o, "chkSettings(0)")->setChecked(true);
        ctl<QLineEdit>(o, "txtSettings(1)")->setText("run.sh");
        ctl<QLineEdit>(o, "txtTags(1)")->setText("[/B]");
        ctl<QCheckBox>(o, "chkProgram")->setChecked(true);
        QTest::mouseClick(ctl<QPushButton>(o, "cmdOK"), Qt::LeftButton);
        flush();
        QVERIFY(!frmOptions::ifLoaded());
        QCOMPARE(m_app->read("Data/Settings.ini"),
                 QByteArray("[Program]\r\niniBoardName=Spaced\r\ninicmdCreate(3).Visible=True\r\n"
                            "inicmdCreate(3).Caption=\r\ninicmdCreate(3).Launchpath=run.sh\r\n"
                            "iniFirstRun=No\r\niniDomain=\r\niniHelp=\r\n"
                            "iniShowAdvancedFeatures=Yes\r\n[UI]\r\niniExperimental=No\r\n"));
        QCOMPARE(ReadIniValue("Spaced", "iniBTag2", "", m_app->file("Data/tags.ini")),
                 QString("[/B]"));
        QCOMPARE(ReadIniValue("Spaced", "iniDescription", "", m_app->file("Data/tags.ini")),
                 QString("Spaced tags"));
        QCOMPARE(
            ReadIniValue("installations", "uninstall", "", m_app->file("Help/installations.ini")),
            QString("unins000.exe"));

        // A board that is not listed: OK writes no board and keeps the name.
        setBoard("Gone");
        const QByteArray tags = m_app->read("Data/tags.ini");
        showOptionsWindow();
        o = frmOptions::ifLoaded();
        QCOMPARE(ctl<QComboBox>(o, "cboMessageBoard")->currentIndex(), -1);
        QTest::keyClick(o, Qt::Key_Return);
        flush();
        QVERIFY(!frmOptions::ifLoaded());
        QCOMPARE(setting("iniBoardName"), QString("Gone"));
        QCOMPARE(m_app->read("Data/tags.ini"), tags);

        // A settings file that cannot be written (a folder took its name): a
        // message naming it, and the window stays open with what was typed.
        showOptionsWindow();
        o = frmOptions::ifLoaded();
        ctl<QLineEdit>(o, "txtDomain")->setText("https://typed.example/");
        QFile::remove(settings);
        QDir().mkdir(settings);
        QTest::mouseClick(ctl<QPushButton>(o, "cmdOK"), Qt::LeftButton);
        flush();
        QCOMPARE(frmOptions::ifLoaded(), o);
        QVERIFY(o->isVisible());
        QVERIFY(m_platform->lastMessage().text.contains("Settings.ini"));
        QCOMPARE(ctl<QLineEdit>(o, "txtDomain")->text(), QString("https://typed.example/"));
    }

    // The about window: the three texts, the version, opened on the right
    // text by About and Disclaimer.
    void aboutWindowShowsItsTexts() {
        showOptionsWindow();
        QTest::mouseClick(ctl<QPushButton>(frmOptions::ifLoaded(), "cmdDisclaimer"),
                          Qt::LeftButton);
        frmAbout* a = frmAbout::ifLoaded();
        QVERIFY(a && a->isVisible());
        QCOMPARE(a->windowTitle(), QString("About TARVO2"));
        QCOMPARE(ctl<QLabel>(a, "lblVersion")->text(), QString("TARVO2 v2.0.3"));
        auto text = [&] { return ctl<QPlainTextEdit>(a, "txtAbout")->toPlainText(); };
        QCOMPARE(text(), QString::fromUtf8(m_app->read("Help/Disclaimer.txt")));
        QTest::keyClick(a, Qt::Key_Escape);
        flush();
        QVERIFY(!frmAbout::ifLoaded());
        QTest::mouseClick(ctl<QPushButton>(frmOptions::ifLoaded(), "cmdAbout"), Qt::LeftButton);
        a = frmAbout::ifLoaded();
        QCOMPARE(text(), QString::fromUtf8(m_app->read("Help/Individuals.txt")));
        QFile::remove(m_app->file("Help/Business.txt"));
        ctl<QRadioButton>(a, "optNav(1)")->click();
        QVERIFY(text().contains("Business.txt"));
    }

    // The real save dialog: the proposed name with a "." in it gets ".txt",
    // and replacing that file is asked about; a name typed with "All Files"
    // chosen is taken as it is.
    void saveDialogAddsTheSuffix() {
        QtPlatform qt;
        QTemporaryDir dir;
        FileDialogSpec spec{FileDialogSpec::Kind::Save,
                            {},
                            {{"All", "*.*"}, {"Text", "*.txt"}},
                            1,
                            "txt",
                            "St. John's Character",
                            dir.path(),
                            true};
        // Each action runs on the next window that comes up modal, not from
        // the timer's slot, which must go on to answer a window it opens.
        const auto answer = [&](QList<std::function<void(QWidget*)>> actions) {
            QPointer<QWidget> seen;
            QTimer timer;
            connect(&timer, &QTimer::timeout, [&] {
                QWidget* w = QApplication::activeModalWidget();
                if (w && w != seen && !actions.isEmpty()) {
                    seen = w;
                    QTimer::singleShot(0, w, [w, a = actions.takeFirst()] { a(w); });
                }
            });
            timer.start(10);
            return qt.fileDialog(spec);
        };
        const auto type = [](const QString& name, const QString& filter) {
            return [=](QWidget* w) {
                if (!filter.isEmpty())
                    static_cast<QFileDialog*>(w)->selectNameFilter(filter);
                auto* edit = w->findChild<QLineEdit*>("fileNameEdit");
                edit->setText(name.isEmpty() ? edit->text() : name);
                QTest::keyClick(edit, Qt::Key_Return);
            };
        };
        const QString proposed = dir.filePath("St. John's Character.txt");
        QCOMPARE(answer({type({}, {})}), proposed);
        QCOMPARE(answer({type("notes.md", "All (*)")}), dir.filePath("notes.md"));
        QFile(proposed).open(QIODevice::WriteOnly);
        QString asked;
        const auto escape = [&](QWidget* w) {
            if (auto* box = qobject_cast<QMessageBox*>(w))
                asked = box->text();
            QTest::keyClick(w, Qt::Key_Escape);
        };
        QCOMPARE(answer({type({}, {}), escape, escape}), QString());
        QVERIFY2(asked.contains("St. John's Character.txt"), qPrintable(asked));
    }

    // The plain copy reaches the system's clipboard (offscreen Qt keeps one).
    void copiesToTheSystemClipboard() {
        struct SystemClipboard : ScriptedPlatform {
            QtPlatform qt;
            void setClipboardText(const QString& text) override { qt.setClipboardText(text); }
            QString clipboardText() override { return qt.clipboardText(); }
        } system;
        buildCharacter();
        ctl<QAction>(main(), "mnuCopyPlain")->trigger();
        QCOMPARE(QGuiApplication::clipboard()->text(), exportText("No"));
        QCOMPARE(system.lastMessage().title, QString("Data copied"));
    }
};

QTEST_MAIN(TestTextOutput)
#include "tst_textoutput.moc"
