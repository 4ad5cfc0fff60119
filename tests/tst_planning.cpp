// Path suggestions (lists per specialization, an entry's texts and link,
// the working copy's life) and the name browser (categories, names, the
// random generator, inserting a name, missing files).
#include "appfolder.h"
#include "character.h"
#include "namelists.h"
#include "planning/frmPaths.h"
#include "planning/frmProgress.h"
#include "scriptedplatform.h"
#include "shell/forms.h"
#include "shell/frmBubbleD.h"
#include "shell/twips.h"
#include "wizard/frmMain.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QSet>
#include <QStringEncoder>
#include <QtTest>

#include <memory>

using namespace tarvo;
using tarvo::test::ScriptedPlatform;
using tarvo::test::TempAppFolder;

namespace {

template <typename T> T* control(QWidget* w, const QString& name) {
    T* c = w ? w->findChild<T*>(name) : nullptr;
    if (!c)
        qFatal("no control %s", qPrintable(name));
    return c;
}

QStringList texts(QListWidget* list) {
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out.append(list->item(i)->text());
    return out;
}

void clickItem(QListWidget* list, int row, bool twice = false) {
    const QPoint at = list->visualItemRect(list->item(row)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    if (twice)
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
}

QWidget* paths() {
    return tarvo::test::findTopLevel(QStringLiteral("frmPaths"));
}

const char* const kWords1 = "Iron\nAsh\nShadow\nStorm\nBone\nGlass\nMoon\nEmber\n";
const char* const kWords2 = "Blade\rWarden\rSeeker\rFist\rHand\rCaller\rWalker\rGuard\r";

} // namespace

class TestPlanning : public QObject {
    Q_OBJECT

    std::unique_ptr<TempAppFolder> m_app;
    std::unique_ptr<ScriptedPlatform> m_platform;

    frmMain* main() { return forms::main(); }
    frmProgress* progress() { return forms::progress(); }
    void clickMain(const QString& name) {
        QTest::mouseClick(control<QWidget>(main(), name), Qt::LeftButton);
    }
    void openPaths(int specialization) {
        character().chooseClass(specialization);
        main()->selectStep(8);
        clickMain(QStringLiteral("cmdPath"));
    }
    void writePaths(const QString& cls) {
        m_app->write("Data/paths/" + cls + ".ini",
                     ("[SGTitle]\r\nTitle2=" + cls + " guild C\r\nTitle0=" + cls +
                      " guild A\r\nTitle1=" + cls +
                      " guild B\r\n[SGDescription]\r\n"
                      "Description0=About A\r\n[SGWhy]\r\nWhy0=Why A\r\n[SQTitle]\r\nTitle0=" +
                      cls + " quest\r\n[IQTitle]\r\nTitle0=" + cls +
                      " must\r\n[HTitle]\r\nTitle0=" + cls +
                      " house\r\n[HDescription]\r\nDescription0=A hall\r\n[HWhy]\r\nWhy0=Fits\r\n"
                      "[HLink]\r\nLink0=https://example.org/" +
                      cls + "\r\n")
                         .toUtf8());
    }
    QListWidget* names() { return control<QListWidget>(progress(), "lstNames"); }
    QComboBox* categories() { return control<QComboBox>(progress(), "cboCategory"); }
    QString nameStatus() { return control<QLabel>(progress(), "lblNameStatus")->text(); }

private slots:
    void init() {
        m_app = std::make_unique<TempAppFolder>();
        m_platform = std::make_unique<ScriptedPlatform>();
        character().reset();
        for (const char* cls : {"Combat", "Magic", "Stealth"})
            writePaths(QLatin1String(cls));
        m_app->write("Data/Character Names/Index.txt",
                     "Dark Elf\r\n\r\nRandom Names Generator\r\n");
        m_app->write("Data/Character Names/Dark Elf.txt", "Aldyn\r\n\r\nBerela\r\n");
        m_app->write("Data/Class Names/Index.txt", "Warriors\n");
        m_app->write("Data/Class Names/Warriors.txt", "Blademaster\n");
        m_app->write("Data/Class Names/RNGList1.txt", kWords1);
        m_app->write("Data/Class Names/RNGList2.txt", kWords2);
        CloseAndContinue(nullptr, QStringLiteral("frmWelcome"));
    }
    void cleanup() {
        tarvo::test::deleteTopLevels({QStringLiteral("frmPaths")});
        UnloadBubble();
        forms::unloadAll();
        character().reset();
        m_platform.reset();
        m_app.reset();
    }

    // ----------------------------------------------------------- paths ---

    void pathsListTheSpecializationsFile_data() {
        QTest::addColumn<int>("specialization");
        QTest::newRow("Combat") << 0;
        QTest::newRow("Magic") << 1;
        QTest::newRow("Stealth") << 2;
    }
    void pathsListTheSpecializationsFile() {
        QFETCH(int, specialization);
        const QString cls = QStringList{"Combat", "Magic", "Stealth"}[specialization];
        openPaths(specialization);
        QWidget* w = paths();
        QVERIFY(w && w->isVisible());
        QCOMPARE(w->windowTitle(), QStringLiteral("Character Path Suggestions"));
        QCOMPARE(control<QLabel>(w, "lblName")->text(), QStringLiteral("Select a path"));
        // Titles in file order, whatever their key names.
        QCOMPARE(texts(control<QListWidget>(w, "lstSuggestedGuilds")),
                 (QStringList{cls + " guild C", cls + " guild A", cls + " guild B"}));
        QCOMPARE(texts(control<QListWidget>(w, "lstSuggestedQuests")), QStringList{cls + " quest"});
        QCOMPARE(texts(control<QListWidget>(w, "lstImportantQuests")), QStringList{cls + " must"});
        QCOMPARE(texts(control<QListWidget>(w, "lstHouse")), QStringList{cls + " house"});
        QVERIFY(!control<QLabel>(w, "lblLink")->isVisible());
    }

    void anEntryShowsItsTextsAndLink() {
        openPaths(1);
        QWidget* w = paths();
        clickItem(control<QListWidget>(w, "lstSuggestedGuilds"), 0);
        QCOMPARE(control<QLabel>(w, "lblName")->text(), QStringLiteral("Magic guild C"));
        QCOMPARE(control<QLabel>(w, "lblDescriptionTitle")->text(),
                 QStringLiteral("About this guild"));
        QCOMPARE(control<QLabel>(w, "lblDescription(0)")->text(), QStringLiteral("About A"));
        QCOMPARE(control<QLabel>(w, "lblDescription(1)")->text(), QStringLiteral("Why A"));

        clickItem(control<QListWidget>(w, "lstHouse"), 0);
        QCOMPARE(control<QLabel>(w, "lblDescriptionTitle")->text(),
                 QStringLiteral("About this house"));
        QCOMPARE(control<QLabel>(w, "lblDescription(0)")->text(), QStringLiteral("A hall"));
        auto* link = control<QLabel>(w, "lblLink");
        QVERIFY(link->isVisible());
        QTest::mouseClick(link, Qt::LeftButton);
        QCOMPARE(m_platform->lastMessage().text,
                 QStringLiteral("Section Name: HLink; and Key Name: Link0"));
        QCOMPARE(m_platform->opened, QStringList{"https://example.org/Magic"});
    }

    void theWorkingCopyLivesAsLongAsTheWindow() {
        const QString copy = m_app->file(QStringLiteral("Data/~pathprofile.mwc"));
        character().setRealName(QStringLiteral("Quill"));
        QCOMPARE(character().ChangesMade(), QStringLiteral("Yes"));
        openPaths(2);
        QVERIFY(QFile::exists(copy));
        QVERIFY(m_app->read("Data/~pathprofile.mwc").contains("iniRealName=Quill"));
        // Writing it is no save: the exit question still comes.
        QCOMPARE(character().ChangesMade(), QStringLiteral("Yes"));
        QVERIFY(!main()->isEnabled() && !progress()->isEnabled());
        QTest::mouseClick(control<QPushButton>(paths(), "cmdClose"), Qt::LeftButton);
        QTRY_VERIFY(!paths());
        QVERIFY(!QFile::exists(copy));
        QVERIFY(main()->isEnabled() && progress()->isEnabled());
    }

    void withoutASpecializationABalloonSaysSo() {
        main()->selectStep(8);
        clickMain(QStringLiteral("cmdPath"));
        QVERIFY(!paths());
        QVERIFY(currentBubble() &&
                currentBubble()->title() == QStringLiteral("Class not selected!"));
        QVERIFY(!QFile::exists(m_app->file(QStringLiteral("Data/~pathprofile.mwc"))));
    }

    // ----------------------------------------------------------- names ---

    void listsTakeEveryLineEnd() {
        m_app->write("a.txt", "One\r\nTwo\nThree\rFour  \r\n\r\n \nFive");
        QCOMPARE(readNameList(m_app->file("a.txt")),
                 (QStringList{"One", "Two", "Three", "Four", "Five"}));
        bool found = true;
        QVERIFY(readNameList(m_app->file("missing.txt"), &found).isEmpty());
        QVERIFY(!found);
    }

    void aNameFromADamagedListIsSaved() {
        // UTF-16 without a byte-order mark; an index with a stray NUL and a
        // mark left in the middle by joining two files.
        m_app->write("Data/Character Names/Dark Elf.txt",
                     QStringEncoder(QStringConverter::Utf16LE)(u"Aldyn\r\nBerela\r\n"));
        m_app->write("Data/Character Names/Index.txt",
                     QByteArray("Dark Elf\0\r\n\xEF\xBB\xBFRandom Names Generator", 36));
        main()->selectStep(2);
        clickMain(QStringLiteral("cmdSuggest(1)"));
        QCOMPARE(categories()->itemText(1), QStringLiteral("Random Names Generator"));
        clickItem(names(), 1, true);
        m_platform->setNextFile(m_app->file("Berela.mwc"));
        clickMain(QStringLiteral("cmdProfileSave"));
        QVERIFY2(m_platform->messages.isEmpty(), qPrintable(m_platform->lastMessage().text));
        QVERIFY(m_app->read("Berela.mwc").contains("\r\niniCharacterName=Berela\r\n"));
    }

    void everyWordCanComeUp() {
        NameGenerator g;
        QCOMPARE(g.compose({"Only"}, {"One"}), QStringLiteral("Only One"));
        const QStringList words{"a", "b", "c", "d"};
        QSet<QString> seen;
        for (int i = 0; i < 200; ++i)
            seen.insert(g.draw(words));
        QCOMPARE(seen.size(), 4);
        QCOMPARE(g.draw({}), QString());
    }

    void browsesCategoriesAndInsertsACharacterName() {
        main()->selectStep(2);
        clickMain(QStringLiteral("cmdSuggest(1)"));
        QVERIFY(control<QWidget>(progress(), "fmeName")->isVisible());
        QVERIFY(!control<QWidget>(progress(), "fmeSummary")->isVisible());
        QVERIFY(!control<QRadioButton>(progress(), "optScreen(1)")->isVisible());
        QCOMPARE(categories()->count(), 2);
        QCOMPARE(categories()->itemText(0), QStringLiteral("Dark Elf"));
        QCOMPARE(texts(names()), (QStringList{"Aldyn", "Berela"}));
        QVERIFY(!control<QPushButton>(progress(), "cmdGenerate")->isVisible());

        // The generator: five names, five more below them.
        categories()->setFocus();
        QTest::keyClick(categories(), Qt::Key_Down);
        QCOMPARE(names()->count(), 5);
        const QStringList first = texts(names());
        QVERIFY(QSet<QString>(first.begin(), first.end()).size() > 1);
        for (const QString& n : first) {
            const QStringList parts = n.split(' ');
            QCOMPARE(parts.size(), 2);
            QVERIFY(QString(kWords1).split('\n').contains(parts[0]));
            QVERIFY(QString(kWords2).split('\r').contains(parts[1]));
        }
        auto* generate = control<QPushButton>(progress(), "cmdGenerate");
        QVERIFY(generate->isVisible());
        QTest::mouseClick(generate, Qt::LeftButton);
        QCOMPARE(names()->count(), 10);
        QCOMPARE(texts(names()).mid(0, 5), first);

        // Back to an ordinary category: no generator, the taller list.
        QTest::keyClick(categories(), Qt::Key_Up);
        QVERIFY(!generate->isVisible());
        QCOMPARE(names()->height(), twips(3570));

        clickItem(names(), 1);
        QTest::mouseClick(control<QPushButton>(progress(), "cmdInsert"), Qt::LeftButton);
        QCOMPARE(control<QLineEdit>(main(), "txtCharacterName")->text(), QStringLiteral("Berela"));
        QCOMPARE(character().CharacterName(), QStringLiteral("Berela"));
        QVERIFY(!control<QWidget>(progress(), "fmeName")->isVisible());
        QVERIFY(control<QWidget>(progress(), "fmeSummary")->isVisible());
        QVERIFY(control<QRadioButton>(progress(), "optScreen(1)")->isChecked());
        QVERIFY(control<QRadioButton>(progress(), "optScreen(0)")->isVisible());
    }

    void aDoubleClickInsertsAClassName() {
        main()->selectStep(1);
        clickMain(QStringLiteral("cmdSuggest(0)"));
        QCOMPARE(texts(names()), QStringList{"Blademaster"});
        clickItem(names(), 0, true);
        QCOMPARE(control<QLineEdit>(main(), "txtClassName")->text(), QStringLiteral("Blademaster"));
        QVERIFY(control<QWidget>(progress(), "fmeSummary")->isVisible());
    }

    void missingOrEmptyFilesGiveAnEmptyListAndASay() {
        QFile::remove(m_app->file("Data/Character Names/Dark Elf.txt"));
        m_app->write("Data/Class Names/RNGList1.txt", "\r\n");
        main()->selectStep(2);
        clickMain(QStringLiteral("cmdSuggest(1)"));
        QCOMPARE(names()->count(), 0);
        QVERIFY(nameStatus().contains("Dark Elf.txt"));
        categories()->setFocus();
        QTest::keyClick(categories(), Qt::Key_Down);
        QCOMPARE(names()->count(), 0);
        QVERIFY(nameStatus().contains("RNGList1.txt"));
        // Nothing chosen: inserting leaves the box as it was.
        QVERIFY(!control<QPushButton>(progress(), "cmdInsert")->isEnabled());

        QFile::remove(m_app->file("Data/Class Names/Index.txt"));
        clickMain(QStringLiteral("cmdSuggest(0)"));
        QCOMPARE(categories()->count(), 0);
        QVERIFY(nameStatus().contains("Index.txt"));
    }
};

QTEST_MAIN(TestPlanning)
#include "tst_planning.moc"
