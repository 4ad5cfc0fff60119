// The player's own game as the source of the sheet's and the planner's
// numbers, driven where the player meets it: the sheet's first-use question,
// the options window's "Your game" page, the sheet and the planner following
// the choice, the loader listing the game's classes, and a game that cannot
// be read. The game's files are written here by the tests' own writer.
#include "appfolder.h"
#include "character.h"
#include "esmwriter.h"
#include "gamerules.h"
#include "ini/mdlVbNetIni.h"
#include "output/frmLoad.h"
#include "output/profileactions.h"
#include "planning/frmSheet.h"
#include "reftables.h"
#include "scriptedplatform.h"
#include "settings.h"
#include "shell/forms.h"
#include "shell/frmOptions.h"
#include "wizard/frmMain.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTextEdit>
#include <QtTest>

using namespace tarvo;
using namespace tarvo::gamefiles;
using tarvo::test::EsmWriter;
using tarvo::test::ScriptedPlatform;
using tarvo::test::TempAppFolder;

namespace {

const QDateTime kDay(QDate(2002, 5, 1), QTime(12, 0), Qt::UTC);

Spell spell(const QString& id, int type, int effect, int attribute, int magnitude) {
    Spell s;
    s.id = s.name = id;
    s.type = type;
    s.effects = {{effect, -1, attribute, 0, 0, 0, magnitude, magnitude}};
    return s;
}

// The Dark Elf of the original game (attributes by gender, bonuses by the
// game's skill numbers), with a power that must never count.
Race darkElf(int femaleStrength, const QStringList& extraSpells = {}) {
    Race r;
    r.id = r.name = "Dark Elf";
    const int male[8] = {40, 40, 30, 40, 50, 40, 30, 40};
    const int female[8] = {femaleStrength, 40, 30, 40, 50, 30, 40, 40};
    for (int a = 0; a < 8; ++a)
        r.attributes[a] = {male[a], female[a]};
    r.skillBonuses = {{10, 10}, {22, 10}, {5, 5}, {21, 5}, {23, 5}, {14, 5}, {8, 5}};
    r.playable = true;
    r.spells = QStringList{"resist fire_75", "ancestor guardian"} + extraSpells;
    return r;
}

// Morrowind.esm in small: the levelling settings, every skill, the Dark
// Elf, The Steed and the Mage class.
EsmWriter baseGame() {
    EsmWriter w;
    w.setting("iLevelupTotal", 10).setting("fPCbaseMagickaMult", 1.0f);
    w.setting("fLevelUpHealthEndMult", 0.1f);
    const int mult[10] = {2, 2, 2, 2, 3, 3, 3, 4, 4, 5};
    for (int i = 0; i < 10; ++i)
        w.setting(QStringLiteral("iLevelUp%1Mult").arg(i + 1, 2, 10, QLatin1Char('0')), mult[i]);
    const char governing[] = "305500054122612214130343664";
    for (int s = 0; s < 27; ++s)
        w.skill({s, governing[s] - '0', s / 9, false});
    w.spell(spell("resist fire_75", Spell::Ability, 90, -1, 75));
    w.spell(spell("ancestor guardian", Spell::Power, kEffectFortifyAttribute, 0, 20));
    w.spell(spell("charioteer", Spell::Ability, kEffectFortifyAttribute, 4, 25));
    w.race(darkElf(40)).birthsign({"Charioteer", "The Steed", {"charioteer"}, false});
    w.gameClass({"Mage", "Mage", {1, 2}, 1, {11, 10, 14, 15, 12}, {22, 9, 16, 13, 17}, true});
    return w;
}

QString textOf(QWidget* w) {
    return w->findChild<QTextEdit*>("txtSheet")->toPlainText();
}

} // namespace

class TestYourGame : public QObject {
    Q_OBJECT

    std::unique_ptr<TempAppFolder> m_app;
    std::unique_ptr<ScriptedPlatform> m_platform;
    QString m_game; // the game's folder, where the Wine prefix holds it

    void writeIni(const QStringList& files) {
        QString ini = "[Game Files]\r\n";
        for (int i = 0; i < files.size(); ++i)
            ini += QStringLiteral("GameFile%1=%2\r\n").arg(i).arg(files[i]);
        QFile f(m_game + "/Morrowind.ini");
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write(ini.toUtf8()) > 0);
    }

    // A female Dark Elf thief under The Steed, chosen in the wizard.
    void chooseCharacter() {
        Character& c = character();
        c.chooseClass(2);
        c.chooseRace(races().indexOf("Dark Elf"));
        c.chooseGender(1);
        c.chooseFavAtt1(attributes().indexOf("Speed"));
        c.chooseFavAtt2(attributes().indexOf("Agility"));
        for (const char* s : {"Short Blade", "Sneak", "Security", "Acrobatics", "Marksman"})
            QVERIFY(c.checkSkillByName(true, s));
        for (const char* s : {"Alchemy", "Illusion", "Mercantile", "Athletics", "Light Armour"})
            QVERIFY(c.checkSkillByName(false, s));
        c.chooseBirthsign(birthsigns().indexOf("The Steed"));
    }

private slots:
    void init() {
        m_app = std::make_unique<TempAppFolder>();
        m_platform = std::make_unique<ScriptedPlatform>();
        character().reset();
        m_game = m_app->file(".wine/drive_c/Program Files/Bethesda Softworks/Morrowind");
        QVERIFY(QDir().mkpath(m_game + "/Data Files"));
        QVERIFY(baseGame().save(m_game + "/Data Files/Morrowind.esm", kDay));
    }
    void cleanup() {
        forms::unloadAll();
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->objectName() == "frmSheet")
                w->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        m_platform.reset();
        m_app.reset();
    }

    // The sheet offers the game it finds once; the options page shows the
    // load order with a missing and a damaged file; after OK the open sheet
    // shows a plugin's race, sign and level-up multipliers with their files,
    // and the planner its level-up rule.
    void aPluginsNumbersReachTheOpenSheet() {
        EsmWriter plugin;
        plugin.setting("iLevelUp10Mult", 6).setting("iLevelupTotal", 12);
        plugin.setting("fPCbaseMagickaMult", 1.5f);
        plugin.race(darkElf(45)).spell(spell("charioteer", Spell::Ability, 79, 4, 30));
        Race dremora = darkElf(50);
        dremora.id = dremora.name = "Dremora";
        plugin.race(dremora);
        QVERIFY(plugin.save(m_game + "/Data Files/Better Races.esp", kDay.addDays(2)));
        QFile broken(m_game + "/Data Files/Broken.esp");
        QVERIFY(broken.open(QIODevice::WriteOnly) && broken.write("TES3\x10\0\0\0", 8) == 8);
        broken.close();
        writeIni({"Broken.esp", "Better Races.esp", "gone.esp", "Morrowind.esm"});
        chooseCharacter();

        // The first sheet asks once; No keeps the original tables.
        m_platform->setNextAnswer(MsgResult::No);
        frmSheet* sheet = showCharacterSheet();
        QCOMPARE(m_platform->messages.size(), 1);
        QVERIFY(m_platform->messages[0].text.contains(
            "Wine: " + QDir::toNativeSeparators(QFileInfo(m_game).canonicalFilePath())));
        QVERIFY(textOf(sheet).contains("Strength: 40"));
        QVERIFY(!textOf(sheet).contains("Where the numbers come from"));
        sheet->close();
        sheet = showCharacterSheet();
        QCOMPARE(m_platform->messages.size(), 1);

        frmOptions* options = frmOptions::instance();
        options->show();
        options->findChild<QRadioButton*>("optNav(3)")->click();
        auto* found = options->findChild<QListWidget*>("lstGameLocations");
        QVERIFY(found->isVisible());
        // Offered first; the player confirms.
        QCOMPARE(found->currentRow(), 0);
        QVERIFY(options->findChild<QRadioButton*>("optGame(0)")->isChecked());
        options->findChild<QRadioButton*>("optGame(1)")->click();
        QStringList order;
        auto* lst = options->findChild<QListWidget*>("lstLoadOrder");
        for (int i = 0; i < lst->count(); ++i)
            order << lst->item(i)->text();
        QCOMPARE(order.size(), 4);
        QCOMPARE(order.mid(0, 2), QStringList({"1. Morrowind.esm", "2. Better Races.esp"}));
        QVERIFY(order[2].startsWith("3. Broken.esp: cannot be read, "));
        QCOMPARE(order[3], "4. gone.esp: missing");
        QTest::mouseClick(options->findChild<QPushButton*>("cmdOK"), Qt::LeftButton);
        QCOMPARE(ReadIniValue("Game", "iniUseGame", "", settingsFile()), "Yes");
        QCOMPARE(ReadIniValue("Game", "iniGamePath", "", settingsFile()),
                 QFileInfo(m_game).canonicalFilePath());

        // The open sheet follows at once.
        const QString text = textOf(sheet);
        for (const char* line :
             {"The numbers are from your game: Morrowind.esm and 1 plugin.",
              "Dark Elf, female Strength: 45 instead of 40 (Better Races.esp)",
              "The Steed, Speed from abilities: +30 instead of +25 (Better Races.esp)",
              "Attribute bonus for 10 or more increases (iLevelUp10Mult): +6 instead of +5 "
              "(Better Races.esp)",
              "Races: Dremora (Better Races.esp)",
              // Health from the attributes before any ability; the power
              // (Fortify Strength 20) is listed, never added.
              "Strength: 45", "Speed: 90 (60 + 30 from the birthsign)", "Health: 37",
              "Magicka: 60 (1.5 x Intelligence)", "ancestor guardian: Power: Fortify Strength 20"})
            QVERIFY2(text.contains(QLatin1String(line)), line);
        QVERIFY(text.contains(QRegularExpression("Broken.esp is left out: .+")));
        QVERIFY(sheet->findChild<QLabel*>("lblReminder")
                    ->text()
                    .startsWith("A level-up needs 12 increases"));
    }

    // A class a plugin adds is a template "From your game" and starts the
    // wizard as the shipped ones do.
    void theLoaderOffersTheGamesClasses() {
        EsmWriter plugin;
        plugin.gameClass({"spellthief",
                          "Spellthief",
                          {1, 3},
                          2,
                          {22, 19, 10, 11, 9},
                          {18, 20, 12, 16, 21},
                          true});
        plugin.gameClass({"Guard", "Guard", {0, 5}, 0, {0, 1, 2, 3, 4}, {5, 6, 7, 8, 18}, false});
        QVERIFY(plugin.save(m_game + "/Data Files/Classes.esp", kDay.addDays(1)));
        writeIni({"Morrowind.esm", "Classes.esp"});
        QVERIFY(writeGameChoice({true, m_game, {}, true}));

        forms::main()->show();
        OpenLoaderFor("Template");
        frmLoad* loader = forms::loadIfLoaded();
        auto* list = loader->findChild<QListWidget*>("lstDisplay");
        const int heading = list->row(list->findItems("From your game", Qt::MatchExactly).value(0));
        QVERIFY(heading > 0);
        QCOMPARE(list->item(heading + 1)->text(), "Mage");
        QCOMPARE(list->item(heading + 2)->text(), "Spellthief");
        QCOMPARE(list->count(), heading + 3);
        // From the keyboard: the heading is passed over; Enter applies.
        loader->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(loader));
        list->setFocus();
        list->setCurrentRow(heading - 1);
        QTest::keyClick(list, Qt::Key_Down);
        QCOMPARE(list->currentRow(), heading + 1);
        QTest::keyClick(list, Qt::Key_Down);
        QCOMPARE(loader->findChild<QLabel*>("lblName(0)")->text(), "Spellthief");
        QCOMPARE(loader->findChild<QLabel*>("lblDescription")->text(),
                 "A class of your game, from Classes.esp: Stealth, favouring Intelligence and "
                 "Agility.");
        QTest::keyClick(list, Qt::Key_Return);
        const Character& c = character();
        QCOMPARE(c.ClassName(), "Spellthief");
        QCOMPARE(c.Class(), "Stealth");
        QCOMPARE(c.FavAtt2(), "Agility");
        QStringList major = c.majorSkills();
        major.sort();
        QCOMPARE(major,
                 QStringList({"Alteration", "Destruction", "Enchant", "Short Blade", "Sneak"}));
        QVERIFY(!QFile::exists(writablePath("Data/~gameclass.M3T")));
    }

    // A game whose only master is damaged: the original tables, and a note
    // naming the file and the reason.
    void anUnreadableGameFallsBackWithANote() {
        QFile esm(m_game + "/Data Files/Morrowind.esm");
        QVERIFY(esm.open(QIODevice::ReadWrite) && esm.resize(esm.size() - 7));
        esm.close();
        writeIni({"Morrowind.esm"});
        QVERIFY(writeGameChoice({true, m_game, {}, true}));
        const QString reason = readContentFile(esm.fileName(), Encoding::Windows1252).error;
        QVERIFY(!reason.isEmpty());
        chooseCharacter();
        frmSheet* sheet = showCharacterSheet();
        QVERIFY(m_platform->messages.isEmpty());
        const QString text = textOf(sheet);
        QVERIFY(text.contains(QStringLiteral("could not be read, so the original game's numbers "
                                             "are used: Morrowind.esm: %1")
                                  .arg(reason)));
        QVERIFY(text.contains("Strength: 40"));
        QVERIFY(text.contains("Health: 35"));
    }
};

QTEST_MAIN(TestYourGame)
#include "tst_yourgame.moc"
