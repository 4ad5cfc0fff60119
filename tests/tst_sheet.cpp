// The character sheet and the level-up planner: the game's numbers for
// characters a player can make in the game's own character creation, the
// incomplete character, the window following choices, the levelling rules
// and their warnings, the optimiser over the whole benchmark set, and the
// plan's round trip through a profile.
#include "character.h"
#include "gamerules.h"
#include "leveloptimiser.h"
#include "plancases.h"
#include "planning/frmSheet.h"
#include "profile.h"
#include "reftables.h"
#include "scriptedplatform.h"
#include "shell/forms.h"
#include "wizard/frmMain.h"

#include <QChart>
#include <QChartView>
#include <QFile>
#include <QLabel>
#include <QLineSeries>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QTableView>
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

// The character's choices made through the model's operations.
void choose(const SheetChoices& s, const QString& name) {
    Character& c = character();
    c.setCharacterName(name);
    c.chooseClass(s.specialization);
    c.chooseRace(s.race);
    c.chooseGender(s.gender);
    c.chooseFavAtt1(s.favourite1);
    c.chooseFavAtt2(s.favourite2);
    for (int k : s.major)
        c.checkSkillByName(true, skills()[k]);
    for (int k : s.minor)
        c.checkSkillByName(false, skills()[k]);
    c.chooseBirthsign(s.birthsign);
}

frmSheet* openSheet() {
    frmMain* m = forms::main();
    m->show();
    QTest::keyClick(m, Qt::Key_T, Qt::ControlModifier);
    for (QWidget* top : QApplication::topLevelWidgets())
        if (auto* s = qobject_cast<frmSheet*>(top); s && s->isVisible()) {
            s->activateWindow();
            return QTest::qWaitForWindowActive(s) ? s : nullptr;
        }
    return nullptr;
}

template <typename T = QWidget> T* ctl(QWidget* w, const QString& name) {
    T* c = w->findChild<T*>(name);
    if (!c)
        qFatal("no control %s", qPrintable(name));
    return c;
}

int column(QTableView* table, const QString& header) {
    for (int c = 0; c < table->model()->columnCount(); ++c)
        if (table->model()->headerData(c, Qt::Horizontal).toString() == header)
            return c;
    return -1;
}

QString cell(QTableView* table, int row, int col) {
    return table->model()->index(row, col).data().toString();
}

// Types text into a cell of the plan as a user does: the first key opens
// the editor, Enter commits.
void typeInto(QTableView* table, int row, int col, const QString& text) {
    table->setFocus();
    table->setCurrentIndex(table->model()->index(row, col));
    QTest::keyClick(table, text.at(0).toLatin1());
    QWidget* editor = QApplication::focusWidget();
    QTest::keyClicks(editor, text.mid(1));
    QTest::keyClick(editor, Qt::Key_Return);
}

// Ticks or unticks an attribute's pick with the space bar.
void togglePick(QTableView* table, int row, int attribute) {
    table->setFocus();
    table->setCurrentIndex(table->model()->index(row, attribute));
    QTest::keyClick(table, Qt::Key_Space);
}

void setSpin(QSpinBox* spin, int value) {
    spin->setFocus();
    spin->selectAll();
    QTest::keyClicks(spin, QString::number(value));
    QTest::keyClick(spin, Qt::Key_Return);
}

QStringList warningsShown(frmSheet* sheet) {
    QStringList out;
    auto* list = ctl<QListWidget>(sheet, "lstWarnings");
    for (int i = 0; i < list->count(); ++i)
        out << list->item(i)->text();
    return out;
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

    void levellingRules() {
        // The multipliers of the game's settings iLevelUp01Mult ... 10Mult
        // (2, 2, 2, 2, 3, 3, 3, 4, 4, 5; none: 1), as the Construction Set
        // shows them; Luck rises by 1 whatever is raised.
        const QList<int> bonus = {1, 2, 2, 2, 2, 3, 3, 3, 4, 4, 5, 5};
        for (int n = 0; n < bonus.size(); ++n)
            QCOMPARE(levelUpBonus(0, n), bonus[n]);
        QCOMPARE(levelUpBonus(7, 10), 1);

        // Orc Warrior under The Lady: Endurance 85 with Lady's Grace.
        const CharacterSheet orc = computeSheet(orcWarrior());
        const int heavy = at(skills(), "Heavy Armour"), medium = at(skills(), "Medium Armour");
        const int acrobatics = at(skills(), "Acrobatics"), alchemy = at(skills(), "Alchemy");
        const auto level = [](std::initializer_list<std::pair<int, int>> raised,
                              std::initializer_list<int> picks) {
            PlannedLevel l;
            for (auto [skill, n] : raised)
                l.increases[size_t(skill)] = n;
            for (int a : picks)
                l.picks[size_t(a)] = true;
            return l;
        };
        LevelPlan plan;
        // Level 2: 20 increases of major skills (iLevelupTotal is 10; the
        // ten past it count towards level 3) and 10 of the miscellaneous
        // Acrobatics, which raise Strength's multiplier but not the level.
        plan.levels << level({{heavy, 10}, {medium, 10}, {acrobatics, 10}}, {0, 5, 7});
        // Level 3: Acrobatics (15) raised 90 times stops at 100.
        plan.levels << level({{medium, 10}, {acrobatics, 90}}, {0, 5, 7});
        // Level 4: four picks; Endurance reaches 100 with Lady's Grace.
        plan.levels << level({{heavy, 10}}, {0, 1, 2, 5});
        // Level 5 is not planned yet; level 6 has no level-up and picks
        // Endurance at its cap.
        plan.levels << PlannedLevel() << level({{alchemy, 3}}, {5});
        const QList<LevelOutcome> out = projectLevels(orc, plan);
        QCOMPARE(out.size(), 5);
        QCOMPARE(out[0].bonus, (AttributeValues{5, 0, 0, 0, 0, 5, 0, 1}));
        QCOMPARE(out[0].carried, 10);
        QVERIFY(out[0].warnings.isEmpty());
        QCOMPARE(out[1].skills[size_t(acrobatics)], 100);
        QCOMPARE(out[1].warnings, QStringList{"Acrobatics can rise only 85 more to reach 100: "
                                              "85 of the 90 increases count."});
        QCOMPARE(out[2].attributes[5], 100); // 85 + 5 + 5 + 5, the cap counting the birthsign
        QCOMPARE(out[2].warnings,
                 QStringList{"Only three attributes can be raised at a level-up."});
        QVERIFY(out[3].warnings.isEmpty());
        QCOMPARE(out[4].bonus, AttributeValues{});
        QCOMPARE(out[4].warnings,
                 (QStringList{"A level-up needs 10 increases of major or minor skills: this "
                              "level has 0.",
                              "The level-up asks for three attributes; one is picked.",
                              "Endurance is already at 100."}));
        // Health: a tenth of the Endurance reached, in whole tenths.
        QCOMPARE(out[0].healthTenths, 570 + 90);
        QCOMPARE(out[2].health(), (570 + 90 + 95 + 100) / 10);
    }

    void healthKeepsItsTenthsAndLuckTakesNoIncreases() {
        // A male Breton Mage under The Apprentice (Health 35, Endurance 30):
        // Endurance picked with 5 increases at level 2 (+3: 33), not at 3,
        // with none at 4 (+1: 34): 35 + 3.3 + 3.3 + 3.4 = 45, not 44.
        frmSheet* sheet = openSheet();
        QVERIFY(sheet);
        choose(bretonMage(), "Aldo");
        setSpin(ctl<QSpinBox>(sheet, "spnLevels"), 4);
        auto* plan = ctl<QTableView>(sheet, "tblPlan");
        auto* outcome = ctl<QTableView>(sheet, "tblOutcome");
        QCOMPARE(plan->model()->rowCount(), 3);
        togglePick(plan, 0, 5);
        typeInto(plan, 0, column(plan, "Heavy Armour"), "5");
        togglePick(plan, 2, 5);
        QCOMPARE(cell(outcome, 0, 5), QString("33 (+3)"));
        QCOMPARE(cell(outcome, 2, 5), QString("34 (+1)"));
        QCOMPARE(cell(outcome, 2, column(outcome, "Health")), QString("45"));
        QCOMPARE(cell(outcome, 1, column(outcome, "Health")), QString("41"));
        QCOMPARE(cell(outcome, 0, column(outcome, "Heavy Armour")), QString("10"));
        QCOMPARE(character().ChangesMade(), QString("Yes"));

        // A plan of an older version typed increases against Luck: it loads
        // as picks, Endurance's ten go to its skills, and Luck's three are
        // named as impossible.
        const QString file = m_app->file("old.mwc");
        character().setLevelPlan({});
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(composeProfile(character(), "2024-06-01") +
                "[LevelPlan]\r\niniLevels=1\r\niniLevel2=Endurance:10,Luck:3\r\n");
        f.close();
        QVERIFY(applyProfile(character(), file).ok());
        QCOMPARE(plan->model()->rowCount(), 1);
        QCOMPARE(cell(outcome, 0, 5), QString("35 (+5)"));
        QCOMPARE(cell(outcome, 0, 7), QString("41 (+1)"));
        QVERIFY(warningsShown(sheet).contains(
            "Level 2: 3 increases are typed against Luck, which governs no skill: Luck rises by "
            "1 whatever is raised."));
        QCOMPARE(character().ChangesMade(), QString("No"));
    }

    void optimiserPlansTheFewestLevelsForTheWholeSet() {
        // Every plan replays through the planner's own rules without a
        // warning and meets the targets at the lower bound's level.
        const QList<test::PlanCase> cases = test::optimiserCases();
        QVERIFY(cases.size() >= 200);
        int carried = 0;
        for (const test::PlanCase& pc : cases) {
            const CharacterSheet sheet = computeSheet(pc.choices);
            const int bound = test::levelUpLowerBound(sheet, pc.plan);
            const int last = std::max(kHighestPlannedLevel, bound + 1);
            const OptimisedPlan r = optimiseLevels(sheet, pc.plan, last);
            const QList<LevelOutcome> out = projectLevels(sheet, r.plan);
            QCOMPARE(out.size(), last - 1);
            for (const LevelOutcome& o : out) {
                QVERIFY2(o.warnings.isEmpty(), qPrintable(pc.name + ": " + o.warnings.join(' ')));
                carried = std::max(carried, o.carried);
                for (int s = 0; s < kSkillCount; ++s)
                    QVERIFY(!pc.plan.excluded[size_t(s)] ||
                            o.skills[size_t(s)] == sheet.skills[size_t(s)]);
            }
            QVERIFY2(r.valid, qPrintable(pc.name));
            QCOMPARE(r.fewestLevelUps, bound);
            QCOMPARE(targetsReachedAt(sheet, out, planTargets(pc.plan, sheet)),
                     bound < 0 ? 0 : bound + 1);
        }
        QVERIFY(carried >= 10); // some plans raise major skills past the ten of a level
    }

    void plannerPageFromTheKeyboard() {
        frmSheet* sheet = openSheet();
        QVERIFY(sheet);
        choose(orcWarrior(), "Gasha");
        auto* plan = ctl<QTableView>(sheet, "tblPlan");
        auto* outcome = ctl<QTableView>(sheet, "tblOutcome");
        auto* levels = ctl<QSpinBox>(sheet, "spnLevels");

        // Targets by default: favourites and the majors' governors.
        QCOMPARE(ctl<QSpinBox>(sheet, "spnTarget(0)")->value(), 100); // Strength
        QCOMPARE(ctl<QSpinBox>(sheet, "spnTarget(1)")->text(), QString("leave as is"));
        setSpin(ctl<QSpinBox>(sheet, "spnTarget(6)"), 60); // Personality
        auto* excluded = ctl<QListWidget>(sheet, "lstExcluded");
        excluded->setFocus();
        excluded->setCurrentRow(at(skills(), "Acrobatics"));
        QTest::keyClick(excluded, Qt::Key_Space);
        QVERIFY(character().levelPlan().excluded[size_t(at(skills(), "Acrobatics"))]);

        // "Plan my levels" from level 1: as far as the targets need.
        ctl<QPushButton>(sheet, "cmdPlan")->click();
        const CharacterSheet orc = computeSheet(orcWarrior());
        const int bound = test::levelUpLowerBound(orc, character().levelPlan());
        QCOMPARE(levels->value(), bound + 1);
        QCOMPARE(ctl<QLabel>(sheet, "lblResult")->text(),
                 QString("The plan meets the targets at level %1, the earliest possible.")
                     .arg(bound + 1));
        QCOMPARE(cell(outcome, bound - 1, 6).section(' ', 0, 0), QString("60"));
        QVERIFY(warningsShown(sheet).isEmpty());

        // To level 50, then one level changed and the rest planned again.
        setSpin(levels, 50);
        ctl<QPushButton>(sheet, "cmdPlan")->click();
        QCOMPARE(plan->model()->rowCount(), 49);
        const LevelPlan before = character().levelPlan();
        // A skill that has room for 20 more at level 11.
        int raised = 0;
        while (outcome->model()->index(8, column(outcome, skills()[raised])).data().toInt() > 80)
            ++raised;
        typeInto(plan, 9, column(plan, skills()[raised]), "20");
        plan->setCurrentIndex(plan->model()->index(9, 0));
        ctl<QPushButton>(sheet, "cmdReplan")->click();
        const LevelPlan after = character().levelPlan();
        QCOMPARE(after.levels.mid(0, 9), before.levels.mid(0, 9));
        QCOMPARE(after.levels[9].increases[size_t(raised)], 20);
        QVERIFY(after.levels.mid(10) != before.levels.mid(10));
        QVERIFY2(warningsShown(sheet).isEmpty(), qPrintable(warningsShown(sheet).join('\n')));

        // The chart draws what the table shows.
        auto* chart = ctl<QChartView>(sheet, "chtLevels")->chart();
        for (QAbstractSeries* series : chart->series()) {
            const int col = column(outcome, series->name());
            if (col < 0)
                continue;
            const QList<QPointF> points = static_cast<QLineSeries*>(series)->points();
            QCOMPARE(points.size(), 50);
            for (int row = 0; row < 49; ++row)
                QCOMPARE(QString::number(int(points[row + 1].y())),
                         cell(outcome, row, col).section(' ', 0, 0));
        }
        // So does the copy, as a table.
        ctl<QPushButton>(sheet, "cmdCopyMarkdown")->click();
        const QStringList copied = m_platform->clipboard.split('\n');
        QVERIFY(copied.contains("| Level | Strength | Intelligence | Willpower | Agility | Speed | "
                                "Endurance | Personality | Luck | Health |"));
        QStringList row50{"50"};
        for (int col = 0; col <= kAttributeCount; ++col)
            row50 << cell(outcome, 48, col).section(' ', 0, 0);
        QVERIFY(copied.contains("| " + row50.join(" | ") + " |"));
        // And the chart goes to a PNG picture.
        const QString png = m_app->file("gasha");
        m_platform->setNextFile(png);
        ctl<QPushButton>(sheet, "cmdSaveChart")->click();
        QCOMPARE(QImage(png + ".png").size(), ctl<QChartView>(sheet, "chtLevels")->size());

        // Targets, left-out skills and the plan survive a profile.
        QCOMPARE(character().ChangesMade(), QString("Yes"));
        const QString file = m_app->file("gasha.mwc");
        QVERIFY(writeProfile(character(), file));
        const LevelPlan saved = character().levelPlan();
        character().reset();
        QCOMPARE(character().levelPlan(), LevelPlan());
        QVERIFY(applyProfile(character(), file).ok());
        QCOMPARE(character().levelPlan(), saved);
        QCOMPARE(ctl<QSpinBox>(sheet, "spnTarget(6)")->value(), 60);
        QCOMPARE(cell(plan, 9, column(plan, skills()[raised])), QString("20"));
    }

    void windowFollowsChoices() {
        frmSheet* sheet = openSheet();
        QVERIFY(sheet);
        auto* text = sheet->findChild<QTextEdit*>("txtSheet");
        QVERIFY(text->toPlainText().contains("Choose a birthsign (step six)."));
        SheetChoices orc = orcWarrior();
        const int sign = orc.birthsign;
        orc.birthsign = -1;
        choose(orc, "Gasha");
        QVERIFY(!text->toPlainText().contains("Health"));
        character().chooseBirthsign(sign);
        QVERIFY(text->toPlainText().contains("Health: 57"));
        QCOMPARE(sheet->windowTitle(), QString("Gasha: Character Sheet"));
        sheet->findChild<QPushButton*>("cmdCopyMarkdown")->click();
        QVERIFY(m_platform->clipboard.startsWith("# Gasha: Character Sheet\n"));

        // Another set of rules (a game with plugins) changes the numbers.
        GameRules rules = GameRules::builtIn();
        rules.baseMagickaMultiplier = 2.0;
        rules.levelling.multiplier[10] = 6;
        setCurrentRules(rules);
        QCOMPARE(computeSheet(bretonMage()).magicka, 60 * 4);
        QCOMPARE(levelUpBonus(0, 12), 6);
        setCurrentRules(GameRules::builtIn());
    }
};

QTEST_MAIN(TestSheet)
#include "tst_sheet.moc"
