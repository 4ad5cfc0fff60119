// The wizard driven as a user drives it: typing, clicking options, ticking
// skills, moving the pointer, pressing keys and closing the window.
#include "appfolder.h"
#include "appinfo.h"
#include "character.h"
#include "globals.h"
#include "ini/mdlVbNetIni.h"
#include "ini/textfile.h"
#include "output/frmLoad.h"
#include "output/profileactions.h"
#include "planning/frmProgress.h"
#include "reftables.h"
#include "scriptedplatform.h"
#include "shell/forms.h"
#include "shell/frmBubbleD.h"
#include "shell/frmWelcome.h"
#include "shell/twips.h"
#include "wizard/frmMain.h"

#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleOptionViewItem>
#include <QtTest>

#include <memory>

using namespace tarvo;
using tarvo::test::ScriptedPlatform;
using tarvo::test::TempAppFolder;

namespace {
const QStringList kMagicMajors = {"Destruction", "Alteration", "Illusion", "Conjuration",
                                  "Mysticism"};
const QString kExitQuestion =
    QStringLiteral("Do you want to save your current custom profile changes before doing this?");
} // namespace

class TestWizard : public QObject {
    Q_OBJECT

    std::unique_ptr<ScriptedPlatform> m_platform;
    std::unique_ptr<TempAppFolder> m_folder;
    frmMain* w = nullptr;

    template <typename T = QWidget> T* ctl(const QString& name) const {
        T* c = w->findChild<T*>(name);
        if (!c)
            qFatal("no control %s", qPrintable(name));
        return c;
    }
    QLabel* label(const QString& name) const { return ctl<QLabel>(name); }
    QPushButton* button(const QString& name) const { return ctl<QPushButton>(name); }
    QListWidget* majors() const { return ctl<QListWidget>("lstMjrSkills"); }
    QListWidget* minors() const { return ctl<QListWidget>("lstMnrSkills"); }

    void openWindow() {
        w = forms::main();
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w));
    }

    void click(const QString& name) {
        QWidget* c = ctl(name);
        QVERIFY2(c->isVisible(), qPrintable(name + " is not on show"));
        QTest::mouseClick(c, Qt::LeftButton);
    }

    static QStringList names(QListWidget* list) {
        QStringList out;
        for (int i = 0; i < list->count(); ++i)
            out << list->item(i)->text();
        return out;
    }
    static QStringList ticked(QListWidget* list) {
        QStringList out;
        for (int i = 0; i < list->count(); ++i)
            if (list->item(i)->checkState() == Qt::Checked)
                out << list->item(i)->text();
        return out;
    }

    // Clicks the tick box of a skill (checkBox) or its name.
    void clickSkill(QListWidget* list, const QString& skill, bool checkBox) {
        const QList<QListWidgetItem*> found = list->findItems(skill, Qt::MatchExactly);
        QVERIFY2(found.size() == 1, qPrintable(skill));
        QListWidgetItem* item = found.first();
        list->scrollToItem(item);
        const QRect r = list->visualItemRect(item);
        QStyleOptionViewItem opt;
        opt.initFrom(list);
        opt.rect = r;
        opt.features = QStyleOptionViewItem::HasCheckIndicator | QStyleOptionViewItem::HasDisplay;
        opt.text = item->text();
        opt.checkState = item->checkState();
        const QRect box =
            list->style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &opt, list);
        const QPoint at = checkBox ? box.center() : QPoint(box.right() + 30, r.center().y());
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    }

    void goToStep(int n) {
        click(QStringLiteral("optNav(%1)").arg(n));
        QCOMPARE(w->currentStep(), n);
    }

    QImage markImage(int i) const {
        return label(QStringLiteral("imgStatus(%1)").arg(i))->pixmap().toImage();
    }
    // Mark 1 (class name) stays red until a class name is typed.
    bool markIsRed(int i) const { return markImage(i) == markImage(Character::LineClassName); }

    static QString fileText(const QString& rel) {
        QString text = readTextFile(appPath(rel));
        text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
        return text;
    }

    void moveTo(QWidget* target, QPoint at = QPoint()) {
        QTest::mouseMove(target, at.isNull() ? target->rect().center() : at);
    }

private slots:
    void initTestCase() { QApplication::setQuitOnLastWindowClosed(false); }

    void init() {
        m_platform = std::make_unique<ScriptedPlatform>();
        m_folder = std::make_unique<TempAppFolder>();
        Globals& g = globals();
        g.StepTasks = stepTasks();
        g.FirstRun = QStringLiteral("No");
        g.ShowAdvancedFeatures = QStringLiteral("No");
        g.Domain = QStringLiteral("https://example.org/");
        g.WelcomeReopened.clear();
        character().reset();
        openWindow();
    }

    void cleanup() {
        forms::unloadAll();
        w = nullptr;
        character().reset();
        m_folder.reset();
        m_platform.reset();
    }

    void loadsOnStepOneWithItsLists() {
        QCOMPARE(w->windowTitle(), QStringLiteral("Quenmark v2"));
        QCOMPARE(w->currentStep(), 0);
        QVERIFY(ctl("fmeStep(0)")->isVisible());
        for (int n = 1; n < frmMain::kStepCount; ++n)
            QVERIFY(!ctl(QStringLiteral("fmeStep(%1)").arg(n))->isVisible());
        QVERIFY(button("cmdNext(0)")->isDefault());
        QCOMPARE(button("cmdNext(0)")->text(), QStringLiteral("B&egin >"));
        QCOMPARE(button("cmdNext(4)")->text(), QStringLiteral("N&ext >"));
        QCOMPARE(button("cmdBack(4)")->text(), QStringLiteral("< B&ack"));
        QCOMPARE(button("cmdFinish")->text(), QStringLiteral("F&inish"));

        // Gender is Male from the start and its review line is set.
        QCOMPARE(ctl<QComboBox>("cboGender")->currentText(), QStringLiteral("Male"));
        QCOMPARE(label("txtReview(4)")->text(), QStringLiteral("Gender: Male"));
        QVERIFY(!markIsRed(Character::LineGender));
        QCOMPARE(label("txtReview(1)")->text(), QStringLiteral("Class Name:"));

        QStringList sites;
        LoadIniSectionToList(sites, "sitenames", appPath("/Data/Websites/websites.ini"));
        QVERIFY(!sites.isEmpty());
        QCOMPARE(names(ctl<QListWidget>("lstWebsites")), sites);
        QCOMPARE(label("lblWebName")->text(), QStringLiteral("Information"));
        QVERIFY(label("lblWebDescription")->text().startsWith("This last step gives you access"));
        QVERIFY(label("lblHello")->text().startsWith("Welcome back to TARVO2"));
        QCOMPARE(label("lblQuickTip(0)")->text(), QStringLiteral("About"));
        QCOMPARE(label("lblQuickTip(1)")->text(), QStringLiteral("TARVO v2.0.3 by Quillon."));

        QCOMPARE(names(majors()), skills());
        QCOMPARE(names(minors()), skills());
        QVERIFY(ctl("fmeSkill(0)")->isVisibleTo(ctl("fmeStep(4)")));
        QVERIFY(!ctl("fmeSkill(1)")->isVisibleTo(ctl("fmeStep(4)")));
    }

    void typicalRunUpToTheReview() {
        QTest::keyClicks(ctl("txtRealName"), "Quill");
        QCOMPARE(character().RealName(), QStringLiteral("Quill"));
        QVERIFY(!markIsRed(Character::LineName));
        QCOMPARE(character().summary(Character::SumRealName), QStringLiteral("Name: Quill"));
        if (auto* box = forms::progress()->findChild<QWidget*>("txtRealName"))
            QCOMPARE(box->property("text").toString(), QStringLiteral("Name: Quill"));

        click("cmdNext(0)");
        QCOMPARE(w->currentStep(), 1);
        QCOMPARE(label("lblClassTitle")->text(), QStringLiteral("INFORMATION"));
        click("optClass(1)");
        QCOMPARE(label("lblClassTitle")->text(), QStringLiteral("Magic"));
        const QString magic = fileText("/Data/Class/Magic.txt");
        QVERIFY(!magic.isEmpty());
        QCOMPARE(ctl<QPlainTextEdit>("txtDescription")->toPlainText(), magic);

        goToStep(4);
        for (const QString& s : kMagicMajors)
            clickSkill(majors(), s, true);
        QCOMPARE(ticked(majors()), kMagicMajors);
        for (const QString& s : kMagicMajors)
            QVERIFY(!names(minors()).contains(s));
        QCOMPARE(ctl<QGroupBox>("fmeSkill(0)")->title(),
                 QStringLiteral("Five Major Skills (0 remaining)"));

        goToStep(6);
        QCOMPARE(label("txtReview(0)")->text(), QStringLiteral("Name: Quill"));
        QCOMPARE(label("txtReview(2)")->text(), QStringLiteral("Class: Magic"));
        QCOMPARE(label("txtReview(9)")->text(),
                 QStringLiteral("Major Skills: Destruction, Alteration, Illusion, Conjuration, "
                                "Mysticism, "));
        QCOMPARE(label("txtReview(10)")->text(), QStringLiteral("Minor Skills: "));
        QVERIFY(!markIsRed(Character::LineName));
        QVERIFY(!markIsRed(Character::LineClass));
        QVERIFY(!markIsRed(Character::LineMajor));
        QVERIFY(markIsRed(Character::LineMinor));
        QVERIFY(markIsRed(Character::LineBirthsign));
    }

    void nameBoxesTakeOneLine() {
        auto* box = ctl<QLineEdit>("txtRealName");
        box->setFocus();
        QGuiApplication::clipboard()->setText("Bob\r\n[FiveA]\niniMjrSkill1=Block");
        QTest::keySequence(box, QKeySequence::Paste);
        QCOMPARE(box->text(), QStringLiteral("Bob [FiveA] iniMjrSkill1=Block"));
        QCOMPARE(character().RealName(), box->text());

        // The limit never leaves half of an emoji behind.
        box->clear();
        QTest::keyClicks(box, QString(39, QLatin1Char('a')));
        QGuiApplication::clipboard()->setText(QString::fromUtf8("\U0001F600"));
        QTest::keySequence(box, QKeySequence::Paste);
        QCOMPARE(character().RealName(), QString(39, QLatin1Char('a')));

        // A longer name from a file is shown whole.
        const QString loaded(52, QLatin1Char('n'));
        character().setRealName(loaded);
        QCOMPARE(box->text(), loaded);
    }

    void nameBoxesHoldFortyCharacters() {
        const QString longName(45, QLatin1Char('x'));
        QTest::keyClicks(ctl("txtRealName"), longName);
        QCOMPARE(ctl<QLineEdit>("txtRealName")->text().size(), 40);
        QCOMPARE(character().RealName().size(), 40);

        goToStep(2);
        QTest::keyClicks(ctl("txtCharacterName"), "Dreyla");
        QCOMPARE(label("txtReview(3)")->text(), QStringLiteral("Character Name: Dreyla"));
        ctl<QLineEdit>("txtCharacterName")->selectAll();
        QTest::keyClick(ctl("txtCharacterName"), Qt::Key_Backspace);
        QVERIFY(markIsRed(Character::LineCharacterName));
    }

    void raceDescriptionFollowsTheGender() {
        goToStep(2);
        click("optRace(2)");
        QCOMPARE(label("lblRaceTitle")->text(), QStringLiteral("Dark Elf"));
        QCOMPARE(ctl<QPlainTextEdit>("txtRaceDescription")->toPlainText(),
                 fileText("/Data/Race/Dark ElfMale.txt"));
        auto* gender = ctl<QComboBox>("cboGender");
        gender->setFocus();
        QTest::keyClick(gender, Qt::Key_Down);
        QCOMPARE(gender->currentText(), QStringLiteral("Female"));
        QCOMPARE(character().Gender(), QStringLiteral("Female"));
        QCOMPARE(ctl<QPlainTextEdit>("txtRaceDescription")->toPlainText(),
                 fileText("/Data/Race/Dark ElfFemale.txt"));
        QCOMPARE(label("txtReview(4)")->text(), QStringLiteral("Gender: Female"));
    }

    void nextBackAndTheDefaultButton() {
        // Enter in the name box presses the default button, Begin.
        QTest::keyClicks(ctl("txtRealName"), "Quill");
        QTest::keyClick(ctl("txtRealName"), Qt::Key_Return);
        QCOMPARE(w->currentStep(), 1);
        QVERIFY(button("cmdNext(1)")->isDefault());

        w->selectStep(2);
        click("cmdNext(2)");
        QCOMPARE(w->currentStep(), 3);
        QVERIFY(ctl("fmeStep(3)")->isVisible());
        QVERIFY(!ctl("fmeStep(2)")->isVisible());
        QVERIFY(button("cmdNext(3)")->isDefault());
        QVERIFY(!button("cmdNext(2)")->isDefault());

        // After Back the default button is the visible step's Next.
        click("cmdBack(2)");
        QCOMPARE(w->currentStep(), 2);
        QVERIFY(button("cmdNext(2)")->isDefault());
        QVERIFY(!button("cmdNext(3)")->isDefault());

        w->selectStep(7);
        click("cmdNext(7)");
        QCOMPARE(w->currentStep(), 8);
        QVERIFY(button("cmdFinish")->isDefault());
        click("cmdBack(7)");
        QCOMPARE(w->currentStep(), 7);
    }

    void majorTicksMoveSkillsBetweenTheLists() {
        goToStep(4);
        clickSkill(majors(), "Block", true);
        QCOMPARE(ticked(majors()), QStringList{"Block"});
        QVERIFY(!names(minors()).contains("Block"));
        QCOMPARE(ctl<QGroupBox>("fmeSkill(0)")->title(),
                 QStringLiteral("Five Major Skills (4 remaining)"));
        QCOMPARE(character().ChangesMade(), QStringLiteral("Yes"));
        QVERIFY(!markIsRed(Character::LineMajor));

        clickSkill(majors(), "Block", false); // the name only: no tick change
        QCOMPARE(ticked(majors()), QStringList{"Block"});
        QCOMPARE(label("lblSkillInfoTitle")->text(), QStringLiteral("Block"));
        QCOMPARE(ctl<QPlainTextEdit>("txtSkillDetails")->toPlainText(),
                 fileText("/Data/Skills/Block.txt"));

        clickSkill(majors(), "Block", true);
        QVERIFY(ticked(majors()).isEmpty());
        QCOMPARE(names(minors()), skills()); // back in its place, unticked
        QVERIFY(ticked(minors()).isEmpty());
        // Unticking the last major skill does not forget the changes made.
        QCOMPARE(character().ChangesMade(), QStringLiteral("Yes"));
        QVERIFY(markIsRed(Character::LineMajor));
        QCOMPARE(ctl<QGroupBox>("fmeSkill(0)")->title(),
                 QStringLiteral("Five Major Skills (5 remaining)"));
    }

    void sixthMajorTickIsRefused() {
        goToStep(4);
        for (const QString& s : kMagicMajors)
            clickSkill(majors(), s, true);
        const QStringList majorNames = names(majors());
        const QStringList minorNames = names(minors());
        clickSkill(majors(), "Axe", true);
        QCOMPARE(ticked(majors()), kMagicMajors);
        QCOMPARE(names(majors()), majorNames);
        QCOMPARE(names(minors()), minorNames);
        QVERIFY(names(minors()).contains("Axe"));
        QCOMPARE(ctl<QGroupBox>("fmeSkill(0)")->title(),
                 QStringLiteral("Five Major Skills (0 remaining)"));
        QCOMPARE(character().majorSkills(), kMagicMajors);
    }

    void minorTicksOnTheMinorFrame() {
        goToStep(4);
        click("optSkillSelect(1)");
        QVERIFY(ctl("fmeSkill(1)")->isVisible());
        QVERIFY(!ctl("fmeSkill(0)")->isVisible());
        clickSkill(minors(), "Sneak", true);
        clickSkill(minors(), "Security", true);
        QCOMPARE(ctl<QGroupBox>("fmeSkill(1)")->title(),
                 QStringLiteral("Five Minor Skills (3 remaining)"));
        QVERIFY(!names(majors()).contains("Sneak"));
        QCOMPARE(label("txtReview(10)")->text(), QStringLiteral("Minor Skills: Security, Sneak, "));
        clickSkill(minors(), "Sneak", true);
        QStringList withoutSecurity = skills();
        withoutSecurity.removeOne("Security");
        QCOMPARE(names(majors()), withoutSecurity);
        click("optSkillSelect(0)");
        QVERIFY(ctl("fmeSkill(0)")->isVisible());
        QVERIFY(!ctl("fmeSkill(1)")->isVisible());
    }

    void attributeGroupsDisableEachOther() {
        goToStep(3);
        click("optFavAtt1(0)"); // Strength
        QVERIFY(!ctl("optFavAtt2(0)")->isEnabled());
        QCOMPARE(label("lblAttTitle")->text(), QStringLiteral("Strength"));
        click("optFavAtt1(7)"); // Luck
        QVERIFY(ctl("optFavAtt2(0)")->isEnabled());
        QVERIFY(!ctl("optFavAtt2(7)")->isEnabled());
        QVERIFY(ctl<QRadioButton>("optFavAtt1(7)")->isChecked());
        QVERIFY(!ctl<QRadioButton>("optFavAtt1(0)")->isChecked());
        click("optFavAtt2(1)"); // Intelligence
        QVERIFY(!ctl("optFavAtt1(1)")->isEnabled());
        QCOMPARE(ctl<QPlainTextEdit>("txtAttributeDetails")->toPlainText(),
                 fileText("/Data/Attributes/Intelligence.txt"));
        QCOMPARE(label("txtReview(6)")->text(), QStringLiteral("Favourite Attribute 1: Luck"));
        QCOMPARE(label("txtReview(7)")->text(),
                 QStringLiteral("Favourite Attribute 2: Intelligence"));
    }

    void birthsignChoice() {
        goToStep(5);
        click("optBirthsign(9)");
        QCOMPARE(label("lblBirthsignTitle")->text(), QStringLiteral("The Thief"));
        QCOMPARE(ctl<QPlainTextEdit>("txtBirthsignDetails")->toPlainText(),
                 fileText("/Data/Birthsigns/The Thief.txt"));
        QCOMPARE(label("txtReview(8)")->text(), QStringLiteral("Birthsign: The Thief"));
    }

    void marksJumpToTheirSteps_data() {
        QTest::addColumn<int>("mark");
        QTest::addColumn<int>("step");
        const int steps[] = {0, 1, 1, 2, 2, 2, 3, 3, 5, 4, 4};
        for (int i = 0; i < 11; ++i)
            QTest::addRow("mark %d", i) << i << steps[i];
    }
    void marksJumpToTheirSteps() {
        QFETCH(int, mark);
        QFETCH(int, step);
        goToStep(6);
        click(QStringLiteral("imgStatus(%1)").arg(mark));
        QCOMPARE(w->currentStep(), step);
        QVERIFY(ctl(QStringLiteral("fmeStep(%1)").arg(step))->isVisible());
    }

    void reviewWithoutANameShowsItRed() {
        QTest::keyClicks(ctl("txtRealName"), "Q");
        QVERIFY(!markIsRed(Character::LineName));
        QTest::keyClick(ctl("txtRealName"), Qt::Key_Backspace);
        goToStep(6);
        QVERIFY(markIsRed(Character::LineName));
        QCOMPARE(label("txtReview(0)")->text(), QStringLiteral("Name: "));
    }

    void quickTipsFollowThePointer() {
        moveTo(ctl("optNav(4)"));
        QCOMPARE(label("lblQuickTip(0)")->text(), QStringLiteral("Step Five"));
        const QString five = QStringLiteral(
            "Five Major & Minor Skills - Selecting your five Major and Minor skills.");
        QCOMPARE(label("lblQuickTip(1)")->text(), five);
        QCOMPARE(ctl("optNav(4)")->toolTip(), five);

        goToStep(1);
        moveTo(ctl("cmdBack(0)"));
        QCOMPARE(label("lblQuickTip(0)")->text(), QStringLiteral("Previous Screen"));
        QCOMPARE(label("lblQuickTip(1)")->text(),
                 QStringLiteral("Reverse to Step One: Setting your Real Name."));
        QCOMPARE(ctl("cmdBack(0)")->toolTip(),
                 QStringLiteral("Reverse to Step One: Setting your Real Name."));

        goToStep(3);
        moveTo(ctl("cmdNext(3)"));
        QCOMPARE(label("lblQuickTip(0)")->text(), QStringLiteral("Next Screen"));
        QCOMPARE(label("lblQuickTip(1)")->text(),
                 QStringLiteral("Continue to Step Five: Selecting your five Major and Minor "
                                "skills."));

        QLabel* link = label("lblLink(2)");
        moveTo(link);
        QCOMPARE(label("lblQuickTip(0)")->text(), QStringLiteral("Further Resource Avaliable"));
        QCOMPARE(link->palette().color(QPalette::WindowText), QColor(255, 128, 0));

        QWidget* frame = ctl("fmeStep(3)");
        const QPoint bare(frame->width() - 4, frame->height() / 2);
        QVERIFY(!frame->childAt(bare));
        moveTo(frame, bare);
        QCOMPARE(label("lblQuickTip(0)")->text(), QStringLiteral("About"));
        QCOMPARE(label("lblQuickTip(1)")->text(), QStringLiteral("TARVO v2.0.3 by Quillon."));
        QCOMPARE(link->palette().color(QPalette::WindowText), QColor(192, 192, 192));

        moveTo(ctl("fmeFavAtt1"), QPoint(4, ctl("fmeFavAtt1")->height() - 4));
        QCOMPARE(label("lblQuickTip(0)")->text(), QStringLiteral("Favourite Attributes"));
    }

    void advancedPanelGrowsTheWindow() {
        auto* box = ctl<QCheckBox>("chkAdvanced");
        QVERIFY(!box->isChecked());
        QTRY_COMPARE(w->height(), twips(6015));
        QVERIFY(!ctl("cmdControls(0)")->isVisible());
        click("chkAdvanced");
        QTRY_COMPARE(w->height(), twips(6510));
        QCOMPARE(w->height() - twips(6015), twips(495));
        for (int i = 0; i < 6; ++i)
            QVERIFY(ctl(QStringLiteral("cmdControls(%1)").arg(i))->isVisible());
        QCOMPARE(button("cmdControls(5)")->text(), QStringLiteral("Welcome"));
        click("chkAdvanced");
        QTRY_COMPARE(w->height(), twips(6015));
        QVERIFY(!ctl("cmdControls(0)")->isVisible());
    }

    void firstRunOpensTheAdvancedPanel() {
        forms::unloadAll();
        globals().FirstRun = QStringLiteral("Yes");
        openWindow();
        QVERIFY(label("lblHello")->text().startsWith("Since this is the first time"));
        QCOMPARE(globals().ShowAdvancedFeatures, QStringLiteral("Yes"));
        QVERIFY(ctl<QCheckBox>("chkAdvanced")->isChecked());
        QTRY_COMPARE(w->height(), twips(6510));
    }

    void advancedCommands() {
        click("chkAdvanced");
        click("cmdControls(0)"); // Save
        QCOMPARE(w->currentStep(), 7);

        click("cmdControls(1)"); // Load
        auto* load = w->findChild<QMenu*>("mnuLoad");
        QVERIFY(load);
        QTRY_VERIFY(load->isVisible());
        QCOMPARE(load->actions().size(), 2);
        QCOMPARE(w->findChild<QAction*>("mnuLoadTemplate")->text(),
                 QStringLiteral("Load Template"));
        QCOMPARE(w->findChild<QAction*>("mnuLoadProfile")->text(),
                 QStringLiteral("Load Saved Profile"));
        load->hide();

        click("cmdControls(3)"); // Online
        auto* online = w->findChild<QMenu*>("mnuOnline");
        QTRY_VERIFY(online->isVisible());
        online->hide();
        QVERIFY(w->findChild<QAction*>("mnuOnlineSub(4)")->isSeparator());

        w->findChild<QAction*>("mnuOnlineSub(3)")->trigger(); // Links
        QCOMPARE(w->currentStep(), 8);
        w->findChild<QAction*>("mnuOnlineSub(0)")->trigger();
        w->findChild<QAction*>("mnuOnlineSub(1)")->trigger();
        w->findChild<QAction*>("mnuOnlineSub(5)")->trigger();
        QCOMPARE(m_platform->opened,
                 (QStringList{"https://example.org/", "https://www.reddit.com/r/Morrowind/",
                              "https://example.org/Morrowind:Character_Creation"}));

        m_platform->startFails = true;
        w->findChild<QAction*>("mnuOnlineSub(6)")->trigger();
        QCOMPARE(m_platform->started.size(), 1);
        QVERIFY(m_platform->started.first().contains(executableName("update")));
        QVERIFY(m_platform->lastMessage().text.contains(QStringLiteral("update checker")));
        QVERIFY(w->isVisible());
    }

    void welcomeCommandKeepsTheCharacter() {
        QTest::keyClicks(ctl("txtRealName"), "Quill");
        goToStep(3);
        click("chkAdvanced");
        click("cmdControls(5)");
        QVERIFY(!w->isVisible());
        QVERIFY(forms::welcome()->isVisible());
        QCOMPARE(globals().WelcomeReopened, QStringLiteral("Yes"));
        w->show();
        QCOMPARE(w->currentStep(), 3);
        QCOMPARE(ctl<QLineEdit>("txtRealName")->text(), QStringLiteral("Quill"));
    }

    void keysReachTheWindowFirst() {
        QWidget* name = ctl("txtRealName");
        QTest::keyClick(name, Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(w->currentStep(), 7);
        QVERIFY(ctl<QLineEdit>("txtRealName")->text().isEmpty());

        frmProgress* progress = forms::progress();
        progress->hide();
        QTest::keyClick(ctl("cmdNext(7)"), Qt::Key_W, Qt::ControlModifier);
        QVERIFY(progress->isVisible());
        progress->hide();
        QTest::keyClick(ctl("cmdNext(7)"), Qt::Key_Escape);
        QVERIFY(progress->isVisible());
    }

    void minimizingHidesTheProgressWindow() {
        frmProgress* progress = forms::progress();
        progress->show();
        w->showMinimized();
        QVERIFY(!progress->isVisible());
        w->showNormal();
        QVERIFY(progress->isVisible());
    }

    void enableTimerEnablesBothWindows() {
        frmProgress* progress = forms::progress();
        w->setEnabled(false);
        progress->setEnabled(false);
        w->startEnableTimer();
        QTRY_VERIFY(w->isEnabled() && progress->isEnabled());
        QCOMPARE(w->findChild<QTimer*>("tmrEnable")->isActive(), false);
    }

    void exitCancelKeepsEverything() {
        QTest::keyClicks(ctl("txtRealName"), "Quill");
        goToStep(1);
        click("optClass(2)");
        m_platform->setNextAnswer(MsgResult::Cancel);
        QVERIFY(!w->close());
        QCOMPARE(m_platform->lastMessage().text, kExitQuestion);
        QCOMPARE(m_platform->lastMessage().buttons, MsgButtons::YesNoCancel);
        QCOMPARE(m_platform->lastMessage().icon, MsgIcon::Question);
        QCOMPARE(m_platform->lastMessage().title, QStringLiteral("Quenmark v2"));
        QVERIFY(w->isVisible());
        QCOMPARE(w->currentStep(), 1);
        QCOMPARE(ctl<QLineEdit>("txtRealName")->text(), QStringLiteral("Quill"));
        QVERIFY(ctl<QRadioButton>("optClass(2)")->isChecked());
        QCOMPARE(character().Class(), QStringLiteral("Stealth"));
        QCOMPARE(character().ChangesMade(), QStringLiteral("Yes"));
        QCOMPARE(ReadIniValue("Program", "iniFirstRun", "", m_folder->file("Data/Settings.ini")),
                 QStringLiteral("No"));
    }

    void exitYesWithTheSaveCancelledStaysOpen() {
        QTest::keyClicks(ctl("txtRealName"), "Quill");
        m_platform->setNextAnswer(MsgResult::Yes);
        m_platform->setNextFile(QString()); // the save dialog is cancelled
        QVERIFY(!w->close());
        QVERIFY(w->isVisible());
        QCOMPARE(character().RealName(), QStringLiteral("Quill"));
        QCOMPARE(character().ChangesMade(), QStringLiteral("Yes"));
    }

    void exitNoClosesAndCleansUp() {
        m_folder->write("Data/~messageboards.txt", "boards");
        m_folder->write("Data/~HTMLCode.html", "<html>");
        frmProgress* progress = forms::progress();
        progress->show();
        QTest::keyClicks(ctl("txtRealName"), "Quill");
        m_platform->setNextAnswer(MsgResult::No);
        QVERIFY(w->close());
        QVERIFY(!w->isVisible());
        QTRY_VERIFY(!forms::progressIfLoaded() || !forms::progressIfLoaded()->isVisible());
        QVERIFY(!QFile::exists(m_folder->file("Data/~messageboards.txt")));
        QVERIFY(!QFile::exists(m_folder->file("Data/~HTMLCode.html")));
    }

    void autoSelectAnswersThroughTheWindow() {
        goToStep(2);
        click("cmdAutoSelect(0)");
        QVERIFY(currentBubble());
        QCOMPARE(currentBubble()->title(), QStringLiteral("Class not selected!"));
        QVERIFY(!character().Race().size());
        UnloadBubble();

        goToStep(1);
        click("optClass(1)"); // Magic
        goToStep(2);
        click("cmdAutoSelect(0)");
        QVERIFY(ctl<QRadioButton>("optRace(1)")->isChecked()); // Breton
        QCOMPARE(label("lblRaceTitle")->text(), QStringLiteral("Breton"));

        goToStep(4);
        click("cmdAutoSelect(2)");
        QCOMPARE(ticked(majors()).size(), 5);
        QCOMPARE(ctl<QGroupBox>("fmeSkill(0)")->title(),
                 QStringLiteral("Five Major Skills (0 remaining)"));
        QVERIFY(m_platform->messages.isEmpty());
        click("cmdAutoSelect(2)");
        QCOMPARE(m_platform->lastMessage().text,
                 QStringLiteral("TARVO2 cannot AutoSelect your Major Skills as you have already "
                                "chosen Major Skills. Please uncheck already selected skills to "
                                "continue."));
        QCOMPARE(m_platform->lastMessage().icon, MsgIcon::Information);

        click("optSkillSelect(1)");
        click("cmdAutoSelect(2)");
        QCOMPARE(ticked(minors()).size(), 5);
        for (const QString& s : ticked(minors()))
            QVERIFY(!names(majors()).contains(s));
        click("cmdAutoSelect(2)");
        QVERIFY(m_platform->lastMessage().text.startsWith(
            QStringLiteral("TARVO2 cannot AutoSelect your Minor Skills")));
    }

    void controlOOpensTheProfileLoader() {
        QTest::keyClick(ctl("txtRealName"), Qt::Key_O, Qt::ControlModifier);
        QVERIFY(forms::loadIfLoaded());
        QVERIFY(forms::loadIfLoaded()->isVisible());
    }

    void exitYesSavesAndCloses() {
        QTest::keyClicks(ctl("txtRealName"), "Quill");
        goToStep(5);
        click("optBirthsign(0)");
        const QString file = m_folder->file("Quill.mwc");
        m_platform->setNextAnswer(MsgResult::Yes);
        m_platform->setNextFile(file);
        QVERIFY(w->close());
        QVERIFY(!w->isVisible());
        QCOMPARE(ReadIniValue("One", "iniRealName", "", file), QStringLiteral("Quill"));
        QCOMPARE(ReadIniValue("Six", "iniBirthsign", "", file), QStringLiteral("The Mage"));
        QCOMPARE(character().ChangesMade(), QStringLiteral("No"));
    }

    // A click anywhere on an option button's control chooses it.
    void optionButtonTakesClicksOnItsWholeControl() {
        goToStep(1);
        auto* o = ctl<QRadioButton>("optClass(1)");
        QTest::mouseClick(o, Qt::LeftButton, {}, QPoint(o->width() - 2, o->height() / 2));
        QVERIFY(o->isChecked());
        QCOMPARE(character().Class(), QStringLiteral("Magic"));
    }

    // The longest name fits its review line, or the line ends in "…" and
    // shows the whole text as its tool tip.
    void reviewLineWithTheLongestName() {
        const QString name(Character::kNameLimit, QLatin1Char('W'));
        QTest::keyClicks(ctl("txtRealName"), name);
        goToStep(6);
        QLabel* line = label("txtReview(0)");
        QVERIFY(line->fontMetrics().horizontalAdvance(line->text()) <=
                line->contentsRect().width());
        if (line->text() != "Name: " + name) {
            QVERIFY(line->text().endsWith(QChar(0x2026)));
            QCOMPARE(line->toolTip(), "Name: " + name);
        }
    }

    // After a save, a change to anything a profile stores asks again at exit.
    void everyStoredChoiceCountsAsAChange() {
        const QString file = m_folder->file("Quill.mwc");
        auto saved = [&] {
            QVERIFY(tarvo::SaveInformation(file));
            QCOMPARE(character().ChangesMade(), QStringLiteral("No"));
        };
        QTest::keyClicks(ctl("txtRealName"), "Quill");
        saved();
        goToStep(2);
        auto* gender = ctl<QComboBox>("cboGender");
        gender->setFocus();
        QTest::keyClick(gender, Qt::Key_Down);
        QCOMPARE(character().ChangesMade(), QStringLiteral("Yes"));
        saved();
        goToStep(4);
        click("optSkillSelect(1)");
        clickSkill(minors(), "Block", true);
        QCOMPARE(character().ChangesMade(), QStringLiteral("Yes"));
        saved();
        QTest::keyClicks(forms::progress()->findChild<QLineEdit*>("txtTask(0)"), "Train");
        m_platform->setNextAnswer(MsgResult::Cancel);
        QVERIFY(!w->close());
        QCOMPARE(m_platform->lastMessage().text, kExitQuestion);
    }

    void exitWithoutChangesAsksNothing() {
        QVERIFY(w->close());
        QVERIFY(m_platform->messages.isEmpty());
        QCOMPARE(ReadIniValue("Program", "iniFirstRun", "", m_folder->file("Data/Settings.ini")),
                 QStringLiteral("No"));
    }
};

QTEST_MAIN(TestWizard)
#include "tst_wizard.moc"
