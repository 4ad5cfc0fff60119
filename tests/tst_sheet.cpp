// The character sheet and the level-up planner: the game's numbers for
// characters a player can make in the game's own character creation, the
// incomplete character, the window following choices, and the plan's caps,
// warnings and round trip through a profile.
#include "character.h"
#include "gamerules.h"
#include "planning/frmSheet.h"
#include "profile.h"
#include "reftables.h"
#include "scriptedplatform.h"
#include "shell/forms.h"
#include "wizard/frmMain.h"

#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTextEdit>
#include <QtTest>

using namespace tarvo;
using tarvo::test::ScriptedPlatform;
using tarvo::test::TempAppFolder;

namespace {

int at(const QStringList& list, const char* name) {
    return int(list.indexOf(QString::fromLatin1(name)));
}

QList<int> skillList(std::initializer_list<const char*> names) {
    QList<int> out;
    for (const char* n : names)
        out << at(skills(), n);
    return out;
}

int skillValue(const CharacterSheet& s, const char* name) {
    for (const auto* group : {&s.major, &s.minor, &s.misc})
        for (const auto& v : *group)
            if (skills()[v.skill] == QLatin1String(name))
                return v.value;
    return -1;
}

// The game's Mage class made by a male Breton under The Apprentice.
SheetChoices bretonMage() {
    SheetChoices c;
    c.race = at(races(), "Breton");
    c.gender = 0;
    c.specialization = 1;
    c.favourite1 = at(attributes(), "Intelligence");
    c.favourite2 = at(attributes(), "Willpower");
    c.major = skillList({"Alteration", "Destruction", "Mysticism", "Restoration", "Illusion"});
    c.minor = skillList({"Short Blade", "Enchant", "Alchemy", "Conjuration", "Unarmoured"});
    c.birthsign = at(birthsigns(), "The Apprentice");
    return c;
}

// The game's Warrior class made by a female Orc under The Lady.
SheetChoices orcWarrior() {
    SheetChoices c;
    c.race = at(races(), "Orc");
    c.gender = 1;
    c.specialization = 0;
    c.favourite1 = at(attributes(), "Strength");
    c.favourite2 = at(attributes(), "Endurance");
    c.major = skillList({"Long Blade", "Medium Armour", "Heavy Armour", "Athletics", "Block"});
    c.minor = skillList({"Armourer", "Spear", "Marksman", "Axe", "Blunt Weapon"});
    c.birthsign = at(birthsigns(), "The Lady");
    return c;
}

} // namespace

class TestSheet : public QObject {
    Q_OBJECT

    std::unique_ptr<TempAppFolder> m_app;
    std::unique_ptr<ScriptedPlatform> m_platform;

private slots:
    void init() {
        m_app = std::make_unique<TempAppFolder>();
        m_platform = std::make_unique<ScriptedPlatform>();
        character().reset();
    }
    void cleanup() {
        forms::unloadAll();
        for (QWidget* top : QApplication::topLevelWidgets())
            if (qobject_cast<frmSheet*>(top))
                top->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        m_platform.reset();
        m_app.reset();
    }

    void numbersOfTheGamesCharacterCreation() {
        // Breton Mage, The Apprentice: Intelligence and Willpower 50 + 10;
        // Magicka 3 x Intelligence; Mysticism major 30 + Magic 5 + Breton 10.
        const CharacterSheet mage = computeSheet(bretonMage());
        QVERIFY(mage.complete());
        QCOMPARE(mage.attributes[1], 60);
        QCOMPARE(mage.attributes[2], 60);
        QCOMPARE(mage.health, 35);
        QCOMPARE(mage.magicka, 180);
        QCOMPARE(mage.fatigue, 160);
        QCOMPARE(skillValue(mage, "Mysticism"), 45);
        QCOMPARE(skillValue(mage, "Conjuration"), 30); // minor 15 + 5 + 10
        QCOMPARE(skillValue(mage, "Short Blade"), 15);
        QCOMPARE(skillValue(mage, "Heavy Armour"), 5);
        QCOMPARE(mage.misc.size(), 17);
        QCOMPARE(mage.major.size(), 5);

        // Orc Warrior, The Lady: Health from Strength 55 and Endurance 60
        // before Lady's Grace adds 25 (57, not 70); Fatigue counts it.
        const CharacterSheet orc = computeSheet(orcWarrior());
        QCOMPARE(orc.health, 57);
        QCOMPARE(orc.attributes[5], 85);
        QCOMPARE(orc.attributes[6], 50);
        QCOMPARE(orc.fatigue, 55 + 45 + 35 + 85);
        QCOMPARE(skillValue(orc, "Heavy Armour"), 45);
        QCOMPARE(skillValue(orc, "Armourer"), 30);
        QCOMPARE(skillValue(orc, "Axe"), 25);

        // High Elf under The Atronach: 4.5 x Intelligence.
        SheetChoices elf = bretonMage();
        elf.race = at(races(), "High Elf");
        elf.birthsign = at(birthsigns(), "The Atronach");
        const CharacterSheet atronach = computeSheet(elf);
        QCOMPARE(atronach.magicka, int(60 * 4.5));
        const QString text = sheetText(atronach, "Sheet", true);
        QVERIFY(text.contains("- **Wombburn:** Ability"));
        QVERIFY(text.contains("Weakness to Fire"));

        SheetChoices none;
        none.gender = 0;
        none.major = skillList({"Axe"});
        const CharacterSheet incomplete = computeSheet(none);
        QVERIFY(!incomplete.complete());
        QCOMPARE(incomplete.missing.size(), 6);
        QVERIFY(incomplete.missing.contains("Choose 4 more major skill(s) (step five)."));
        QVERIFY(!sheetText(incomplete, "x", false).contains("Health"));
    }

    void levelPlanCapsAndWarnings() {
        const CharacterSheet orc = computeSheet(orcWarrior());
        LevelPlan plan;
        PlannedLevel endurance;
        endurance.increases[5] = 10;
        plan.levels = {endurance, endurance, endurance};
        PlannedLevel four;
        four.increases = {1, 2, 3, 0, -1, 5, -1, -1};
        plan.levels << four;
        const QList<LevelOutcome> out = projectLevels(orc, plan);
        QCOMPARE(out.size(), 4);
        // Endurance 85 + 5, + 5, then the cap; Health keeps the tenths.
        QCOMPARE(out[0].attributes[5], 90);
        QCOMPARE(out[2].attributes[5], 100);
        QCOMPARE(out[0].healthExact, 57 + 9.0);
        QCOMPARE(out[1].health(), 75); // 66 + 9.5
        QCOMPARE(out[2].health(), 85); // 75.5 + 10
        QVERIFY(out[0].warnings.isEmpty());
        QVERIFY(out[3].warnings.contains("Endurance is already at 100."));
        QVERIFY(out[3].warnings.contains("Only three attributes can be raised at a level-up."));
        QCOMPARE(out[3].bonus[0], 2);
        QCOMPARE(out[3].bonus[2], 2);
        QCOMPARE(out[3].bonus[3], 1);

        // Endurance governs Heavy Armour 45, Medium Armour 45 and Spear 20
        // here: 55 + 55 + 80 = 190 increases before all three reach 100.
        PlannedLevel lots;
        lots.increases[5] = 99;
        LevelPlan big;
        big.levels = {lots, lots};
        QVERIFY(planWarnings(orc, big).join(' ').contains("can rise 190 more times"));
        QCOMPARE(levelPlanFromLines(levelPlanLines(plan)), plan);
    }

    void windowFollowsChoicesAndPlanSurvivesAProfile() {
        frmMain* m = forms::main();
        m->show();
        QTest::keyClick(m, Qt::Key_T, Qt::ControlModifier);
        frmSheet* sheet = nullptr;
        for (QWidget* top : QApplication::topLevelWidgets())
            if (auto* s = qobject_cast<frmSheet*>(top); s && s->isVisible())
                sheet = s;
        QVERIFY(sheet);
        auto* text = sheet->findChild<QTextEdit*>("txtSheet");
        QVERIFY(text->toPlainText().contains("Choose a birthsign (step six)."));

        Character& c = character();
        const SheetChoices orc = orcWarrior();
        c.setCharacterName("Gasha");
        c.chooseClass(orc.specialization);
        c.chooseRace(orc.race);
        c.chooseGender(orc.gender);
        c.chooseFavAtt1(orc.favourite1);
        c.chooseFavAtt2(orc.favourite2);
        for (int s : orc.major)
            c.checkSkillByName(true, skills()[s]);
        for (int s : orc.minor)
            c.checkSkillByName(false, skills()[s]);
        QVERIFY(!text->toPlainText().contains("Health"));
        c.chooseBirthsign(orc.birthsign);
        QVERIFY(text->toPlainText().contains("Health: 57"));
        QCOMPARE(sheet->windowTitle(), QString("Gasha: Character Sheet"));

        sheet->findChild<QPushButton*>("cmdCopyMarkdown")->click();
        QVERIFY(m_platform->clipboard.startsWith("# Gasha: Character Sheet\n"));

        // Plan two levels and raise Endurance in the first, as a user types.
        auto* levels = sheet->findChild<QSpinBox*>("spnLevels");
        levels->setValue(3);
        auto* table = sheet->findChild<QTableWidget*>("tblPlan");
        QCOMPARE(table->rowCount(), 2);
        table->item(0, 5)->setText("10");
        QCOMPARE(sheet->findChild<QTableWidget*>("tblOutcome")->item(0, 8)->text(), QString("66"));
        QCOMPARE(c.ChangesMade(), QString("Yes"));

        const QString file = m_app->file("gasha.mwc");
        QVERIFY(writeProfile(c, file));
        const LevelPlan saved = c.levelPlan();
        c.reset();
        QVERIFY(c.levelPlan().levels.isEmpty());
        QVERIFY(applyProfile(c, file).ok());
        QCOMPARE(c.levelPlan(), saved);
        QCOMPARE(table->item(0, 5)->text(), QString("10"));
    }
};

QTEST_MAIN(TestSheet)
#include "tst_sheet.moc"
