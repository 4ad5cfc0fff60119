// The loader window: the template list and its details, browsing for a
// saved profile (applied without OK), the unsaved-data question, refused
// files, and how the wizard's windows are disabled and given back.
#include "appfolder.h"
#include "character.h"
#include "output/frmLoad.h"
#include "output/profileactions.h"
#include "planning/frmProgress.h"
#include "profile.h"
#include "reftables.h"
#include "scriptedplatform.h"
#include "shell/forms.h"
#include "wizard/frmMain.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

using namespace tarvo;
using tarvo::test::ScriptedPlatform;
using tarvo::test::TempAppFolder;

namespace {

const QString kQuestion = QStringLiteral(
    "If you load this template, your unsaved data will be lost, are you sure you wish to "
    "continue?");

const QByteArray kProfile = "[SaveData]\r\niniDate=today\r\n"
                            "[One]\r\niniRealName=Brow Zed\r\n"
                            "[Two]\r\niniClass=Magic\r\niniClassName=Seer\r\n"
                            "[Three]\r\niniCharacterName=Nerevar\r\niniRace=Breton\r\n"
                            "iniGender=Female\r\n"
                            "[Four]\r\niniFavAtt1=Intelligence\r\niniFavAtt2=Willpower\r\n"
                            "[FiveA]\r\niniMjrSkill1=Alchemy\r\n"
                            "[Six]\r\niniBirthsign=The Mage\r\n"
                            "[Tasks]\r\niniCheckTask0=1\r\niniTaskName0=Read books\r\n";

} // namespace

class TestLoader : public QObject {
    Q_OBJECT

    std::unique_ptr<TempAppFolder> m_app;
    std::unique_ptr<ScriptedPlatform> m_platform;

    template <typename T> T* child(QWidget* w, const QString& name) {
        T* c = w->findChild<T*>(name);
        if (!c)
            qFatal("no control %s", qPrintable(name));
        return c;
    }
    frmLoad* loader() { return forms::loadIfLoaded(); }
    QListWidget* list() { return child<QListWidget>(loader(), "lstDisplay"); }
    QPushButton* button(const QString& name) { return child<QPushButton>(loader(), name); }
    QString label(const QString& name) { return child<QLabel>(loader(), name)->text(); }

    void clickTemplate(const QString& name) {
        const auto items = list()->findItems(name, Qt::MatchExactly);
        QVERIFY2(items.size() == 1, qPrintable(name));
        const QPoint at = list()->visualItemRect(items.first()).center();
        QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, at);
    }

    bool wizardEnabled() { return forms::main()->isEnabled() && forms::progress()->isEnabled(); }
    bool wizardDisabled() { return !forms::main()->isEnabled() && !forms::progress()->isEnabled(); }

    QString putFile(const QString& name, const QByteArray& bytes) {
        m_app->write(name, bytes);
        return m_app->file(name);
    }

private slots:
    void init() {
        m_app = std::make_unique<TempAppFolder>();
        m_platform = std::make_unique<ScriptedPlatform>();
        character().reset();
        forms::main()->show();
        forms::progress()->show();
        character().setChangesMade("No");
    }
    void cleanup() {
        forms::unloadAll();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        m_platform.reset();
        m_app.reset();
    }

    void opensOnTheSortedTemplateList() {
        m_app->write("Templates/aardvark.m3t", "[SaveData]\r\niniTemplateName=A\r\n");
        m_app->write("Templates/notes.txt", "not a template");
        OpenLoaderFor("Template");
        QVERIFY(loader() && loader()->isVisible());
        QCOMPARE(loader()->windowTitle(), QString("Load Template"));
        QVERIFY(wizardDisabled());

        QStringList expected =
            QDir(m_app->file("Templates")).entryList({"*.M3T", "*.m3t"}, QDir::Files);
        std::sort(expected.begin(), expected.end(), [](const QString& a, const QString& b) {
            return a.compare(b, Qt::CaseInsensitive) < 0;
        });
        QStringList shown;
        for (int i = 0; i < list()->count(); ++i)
            shown << list()->item(i)->text();
        QCOMPARE(shown, expected);
        QCOMPARE(shown.first(), QString("aardvark.m3t"));
        QVERIFY(shown.contains("Knight.M3T"));
        QVERIFY(!shown.contains("notes.txt"));
        QVERIFY(list()->isEnabled());
        QCOMPARE(list()->currentRow(), -1);

        QVERIFY(!button("cmdOK")->isEnabled());
        QVERIFY(button("optButton(1)")->isChecked());
        QVERIFY(!button("optButton(0)")->isChecked());
        // The choices show their pictures, or their names where a picture is missing.
        for (const char* name : {"optButton(0)", "optButton(1)"}) {
            QAbstractButton* b = button(name);
            QVERIFY(!b->icon().isNull() || !b->text().isEmpty());
        }
        QCOMPARE(button("cmdOK")->text(), QString("&OK"));
        QCOMPARE(button("cmdCancel")->text(), QString("&Cancel"));
        QCOMPARE(label("lblName(0)"), QString("Information"));
        QCOMPARE(label("lblName(1)"), QString("Strengths"));
        QCOMPARE(label("lblName(2)"), QString("Weaknesses"));
        QCOMPARE(label("lblStrength"),
                 QString("The character templates strong aspects will be listed here."));
        QCOMPARE(label("lblWeakness"),
                 QString("The character templates weak aspects will be listed here."));
        QCOMPARE(label("lblDescription"),
                 QString("Click a template for more information or browse your saved "
                         "characters."));
        QCOMPARE(label("lblAuthor"), QString("Author: "));
        QTimer* t = loader()->findChild<QTimer*>("tmrLoadProfile");
        QVERIFY(t && !t->isActive());
        QCOMPARE(t->interval(), 5);
    }

    void missingTemplateFolderGivesAnEmptyList() {
        QVERIFY(QDir(m_app->file("Templates")).removeRecursively());
        OpenLoaderFor("Template");
        QCOMPARE(list()->count(), 0);
        QVERIFY(!button("cmdOK")->isEnabled());
    }

    void clickingATemplateShowsItsDetails() {
        m_app->write("Templates/Bare.M3T", "[Two]\r\niniClass=Combat\r\n");
        OpenLoaderFor("Template");
        clickTemplate("Knight.M3T");
        QCOMPARE(label("lblName(0)"), QString("Knight"));
        QVERIFY(label("lblDescription").startsWith("An armoured noble warrior"));
        QVERIFY(label("lblStrength").startsWith("Superb defence"));
        QVERIFY(label("lblWeakness").startsWith("Slow, heavy"));
        QCOMPARE(label("lblAuthor"), QString("Author: TARVO2 Team"));
        QVERIFY(button("cmdOK")->isEnabled());
        QCOMPARE(list()->toolTip(), QString("Knight.M3T"));
        QCOMPARE(loader()->SelectedFile, m_app->file("Templates/Knight.M3T"));

        clickTemplate("Bare.M3T");
        QCOMPARE(label("lblName(0)"), QString("Unspecified!"));
        QCOMPARE(label("lblDescription"), QString("Unspecified!"));
        QCOMPARE(label("lblStrength"), QString("Unspecified!"));
        QCOMPARE(label("lblWeakness"), QString("Unspecified!"));
        QCOMPARE(label("lblAuthor"), QString("Author: Unknown"));
        // Selecting a template changes nothing in the wizard yet.
        QCOMPARE(character().Class(), QString());
    }

    void okAppliesTheTemplateAndShowsTheReview() {
        OpenLoaderFor("Template");
        clickTemplate("Knight.M3T");
        QTest::mouseClick(button("cmdOK"), Qt::LeftButton);
        QCOMPARE(character().Class(), QString("Combat"));
        QCOMPARE(character().ClassName(), QString("Knight"));
        QCOMPARE(character().Race(), QString("Imperial"));
        QCOMPARE(character().majorSkills().size(), 5);
        QCOMPARE(character().Birthsign(), QString("The Warrior"));
        QCOMPARE(forms::main()->currentStep(), 6);
        QVERIFY(wizardEnabled());
        QTRY_VERIFY(!loader());
        QVERIFY(m_platform->messages.isEmpty());
    }

    void doubleClickApplies() {
        OpenLoaderFor("Template");
        const auto items = list()->findItems("Thief.M3T", Qt::MatchExactly);
        QCOMPARE(items.size(), 1);
        const QPoint at = list()->visualItemRect(items.first()).center();
        // A double click is a press and release followed by the double click.
        QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(list()->viewport(), Qt::LeftButton, {}, at);
        QCOMPARE(character().Class(), QString("Stealth"));
        QTRY_VERIFY(!loader());
    }

    void unsavedDataQuestionBothWays() {
        character().setRealName("Unsaved");
        QCOMPARE(character().ChangesMade(), QString("Yes"));
        OpenLoaderFor("Template");
        clickTemplate("Knight.M3T");

        m_platform->setNextAnswer(MsgResult::No);
        QTest::mouseClick(button("cmdOK"), Qt::LeftButton);
        QCOMPARE(m_platform->messages.size(), 1);
        const auto& q = m_platform->messages.first();
        QCOMPARE(q.text, kQuestion);
        QCOMPARE(q.buttons, MsgButtons::YesNo);
        QCOMPARE(q.icon, MsgIcon::Information);
        QCOMPARE(q.title, QString("Quenmark v2"));
        // No: nothing changes, the loader stays, the wizard stays disabled.
        QCOMPARE(character().RealName(), QString("Unsaved"));
        QCOMPARE(character().Class(), QString());
        QVERIFY(loader() && loader()->isVisible());
        QVERIFY(wizardDisabled());

        m_platform->setNextAnswer(MsgResult::Yes);
        QTest::mouseClick(button("cmdOK"), Qt::LeftButton);
        QCOMPARE(m_platform->messages.size(), 2);
        QCOMPARE(m_platform->messages.last().text, kQuestion);
        QCOMPARE(character().RealName(), QString());
        QCOMPARE(character().ClassName(), QString("Knight"));
        QCOMPARE(character().ChangesMade(), QString("No")); // nothing to lose yet
        QVERIFY(wizardEnabled());
        QTRY_VERIFY(!loader());
    }

    void browsedProfileIsAppliedWithoutOK() {
        const QString file = putFile("saved/mine.mwc", kProfile);
        m_platform->setNextFile(file);
        OpenLoaderFor("Profile");

        QCOMPARE(m_platform->dialogs.size(), 1);
        const FileDialogSpec& d = m_platform->dialogs.first();
        QCOMPARE(d.kind, FileDialogSpec::Kind::Open);
        QCOMPARE(d.title, QString("Open A File"));
        QCOMPARE(d.filters.size(), 2);
        QCOMPARE(d.filters[0],
                 (QPair<QString, QString>("Morrowind Character Profile (*.mwc)", "*.mwc")));
        QCOMPARE(d.filters[1], (QPair<QString, QString>("All Files (*.*)", "*.*")));
        QCOMPARE(d.selectedFilter, 0);
        QCOMPARE(d.initialFolder, appFolder());
        QCOMPARE(d.initialName, QString());
        QVERIFY(d.acceptMissing);

        // Right after the dialog the loader is back on the templates; the
        // profile follows a moment later.
        QVERIFY(loader());
        QVERIFY(button("optButton(1)")->isChecked());
        QVERIFY(list()->isEnabled());
        QVERIFY(list()->count() > 0);
        QCOMPARE(loader()->SelectedFile, file);
        QCOMPARE(character().RealName(), QString());

        QTRY_COMPARE(character().RealName(), QString("Brow Zed"));
        QCOMPARE(character().Gender(), QString("Female"));
        QCOMPARE(character().majorSkills(), QStringList{"Alchemy"});
        QCOMPARE(character().taskText(0), QString("Read books"));
        QCOMPARE(character().taskState(0), 1);
        QTRY_VERIFY(!loader());
        QVERIFY(wizardEnabled());
        QCOMPARE(forms::main()->currentStep(), 6);
        QVERIFY(m_platform->messages.isEmpty());
    }

    void browsingByClickingTheProfileChoice() {
        const QString file = putFile("p.mwc", kProfile);
        OpenLoaderFor("Template");
        m_platform->setNextFile(file);
        QTest::mouseClick(button("optButton(0)"), Qt::LeftButton);
        QCOMPARE(m_platform->dialogs.size(), 1);
        QTRY_COMPARE(character().ClassName(), QString("Seer"));
        QTRY_VERIFY(!loader());
    }

    void cancelledBrowseStaysOnTheTemplates() {
        OpenLoaderFor("Profile"); // no file queued: the dialog is cancelled
        QCOMPARE(m_platform->dialogs.size(), 1);
        QVERIFY(loader() && loader()->isVisible());
        QVERIFY(!button("cmdOK")->isEnabled());
        QVERIFY(button("optButton(1)")->isChecked());
        QVERIFY(list()->count() > 0);
        QVERIFY(!loader()->findChild<QTimer*>("tmrLoadProfile")->isActive());
        QTest::qWait(50);
        QVERIFY(loader());
        QVERIFY(m_platform->messages.isEmpty());
        QVERIFY(wizardDisabled());
    }

    void declinedBrowseCanStillBeAppliedWithOK() {
        character().setCharacterName("Mine");
        const QString file = putFile("p.mwc", kProfile);
        m_platform->setNextFile(file);
        m_platform->setNextAnswer(MsgResult::No);
        OpenLoaderFor("Profile");
        QTRY_COMPARE(m_platform->messages.size(), 1);
        QCOMPARE(m_platform->messages.first().text, kQuestion);
        QTest::qWait(30); // the timer fires once only
        QCOMPARE(m_platform->messages.size(), 1);
        QCOMPARE(character().CharacterName(), QString("Mine"));
        QVERIFY(loader());
        QVERIFY(button("cmdOK")->isEnabled());

        m_platform->setNextAnswer(MsgResult::Yes);
        QTest::mouseClick(button("cmdOK"), Qt::LeftButton);
        QCOMPARE(character().CharacterName(), QString("Nerevar"));
        QTRY_VERIFY(!loader());
    }

    void refusedFilesAreNamedAndChangeNothing_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("reason");
        QTest::newRow("missing") << QByteArray() << "does not exist";
        QTest::newRow("2 MB") << QByteArray(2 * 1024 * 1024, ' ') << "larger than 1 MB";
        QTest::newRow("binary") << QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16) << "binary data";
    }
    void refusedFilesAreNamedAndChangeNothing() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, reason);
        character().setRealName("Keep me");
        character().chooseClass(2);
        character().setChangesMade("No");
        const QString file = m_app->file("odd.mwc");
        if (!bytes.isEmpty())
            m_app->write("odd.mwc", bytes);
        m_platform->setNextFile(file);
        OpenLoaderFor("Profile");
        QTRY_COMPARE(m_platform->messages.size(), 1);
        const QString text = m_platform->messages.first().text;
        QVERIFY2(text.startsWith("TARVO2 could not load " + QDir::toNativeSeparators(file) + ": "),
                 qPrintable(text));
        QVERIFY2(text.contains(reason), qPrintable(text));
        QCOMPARE(m_platform->messages.first().title, QString("Quenmark v2"));
        QCOMPARE(character().RealName(), QString("Keep me"));
        QCOMPARE(character().Class(), QString("Stealth"));
        QCOMPARE(character().ChangesMade(), QString("No"));
        QTest::qWait(20);
        QVERIFY(loader() && loader()->isVisible());
        QVERIFY(wizardDisabled());
    }

    void cancelAndEscapeGiveTheWizardBack() {
        OpenLoaderFor("Template");
        QVERIFY(wizardDisabled());
        QTest::mouseClick(button("cmdCancel"), Qt::LeftButton);
        QTRY_VERIFY(!loader());
        QTRY_VERIFY(wizardEnabled());
        QCOMPARE(character().Class(), QString());

        OpenLoaderFor("Template");
        QVERIFY(wizardDisabled());
        QTest::keyClick(loader(), Qt::Key_Escape);
        QTRY_VERIFY(!loader());
        QTRY_VERIFY(wizardEnabled());

        // Closing by the window's close box does the same.
        OpenLoaderFor("Template");
        loader()->close();
        QTRY_VERIFY(!loader());
        QTRY_VERIFY(wizardEnabled());
    }

    void applyWithoutShowingTheWindow() {
        const QString file = putFile("Data/CharacterGen.MWC", "[Two]\r\niniClass=Combat\r\n"
                                                              "[Three]\r\niniRace=Orc\r\n");
        character().setRealName("Someone");
        character().setTaskText(2, "A task");
        frmLoad* l = forms::load();
        l->SelectedFile = appFolder() + "/data/CharacterGen.MWC";
        QVERIFY(l->FileToProgram());
        QVERIFY(!l->isVisible());
        QCOMPARE(character().Race(), QString("Orc"));
        QCOMPARE(character().RealName(), QString());
        QCOMPARE(character().Gender(), QString("Male"));
        QCOMPARE(character().taskText(2), QString());
        QVERIFY(wizardEnabled());
        QVERIFY(m_platform->messages.isEmpty());

        // Opened afterwards, the window starts afresh on the templates.
        OpenLoaderFor("Template");
        QVERIFY(wizardDisabled());
        QVERIFY(list()->count() > 0);
        QVERIFY(!button("cmdOK")->isEnabled());
        Q_UNUSED(file);
    }

    void controlsFitWithoutOverlap() {
        OpenLoaderFor("Template");
        clickTemplate("Knight.M3T");
        const QRect inside = loader()->rect();
        QList<QWidget*> controls;
        for (const char* name : {"optButton(0)", "optButton(1)", "lstDisplay", "lblName(0)",
                                 "lblName(1)", "lblName(2)", "lblStrength", "lblWeakness",
                                 "lblDescription", "lblAuthor", "cmdOK", "cmdCancel"})
            controls << child<QWidget>(loader(), name);
        for (int i = 0; i < controls.size(); ++i) {
            QVERIFY2(inside.contains(controls[i]->geometry()),
                     qPrintable(controls[i]->objectName()));
            for (int j = i + 1; j < controls.size(); ++j)
                QVERIFY2(!controls[i]->geometry().intersects(controls[j]->geometry()),
                         qPrintable(controls[i]->objectName() + " / " + controls[j]->objectName()));
        }
        // The longest shipped texts fit their labels.
        for (const QString& t : QDir(m_app->file("Templates")).entryList({"*.M3T"})) {
            clickTemplate(t);
            for (const char* name :
                 {"lblName(0)", "lblDescription", "lblStrength", "lblWeakness", "lblAuthor"}) {
                QLabel* l = child<QLabel>(loader(), name);
                QVERIFY2(l->heightForWidth(l->width()) <= l->height(),
                         qPrintable(t + ": " + l->objectName()));
            }
        }
    }
};

QTEST_MAIN(TestLoader)
#include "tst_loader.moc"
