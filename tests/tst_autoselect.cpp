// AutoSelect: the suggestion cycles per specialization, the counters they
// share, the skill sets and the refusals.
#include "autoselect.h"
#include "character.h"
#include "reftables.h"
#include "scriptedplatform.h"

#include <QtTest>

using namespace tarvo;
using Outcome = AutoSelector::Outcome;

class TestAutoSelect : public QObject {
    Q_OBJECT

    Character& c() { return character(); }

    void choose(const QString& cls) { c().chooseClass(specializations().indexOf(cls)); }

    QStringList checkedNames(bool major) {
        QStringList names;
        for (const SkillItem& i : c().skillList(major))
            if (i.checked)
                names << i.name;
        return names;
    }

    // Presses button index n times; the race, attributes or birthsign chosen
    // after each press.
    QStringList press(AutoSelector& a, int index, int times) {
        QStringList seen;
        for (int k = 0; k < times; ++k) {
            if (a.click(c(), index) != Outcome::Done)
                seen << QStringLiteral("<refused>");
            else if (index == 0)
                seen << c().Race();
            else if (index == 1)
                seen << c().FavAtt1() + QLatin1Char('/') + c().FavAtt2();
            else
                seen << c().Birthsign();
        }
        return seen;
    }

private slots:
    void init() { c().reset(); }

    void raceCyclesWrapPerSpecialization_data() {
        QTest::addColumn<QString>("cls");
        QTest::addColumn<QStringList>("races");
        QTest::newRow("Combat") << "Combat"
                                << QStringList{"Imperial", "Nord", "Orc", "Redguard", "Imperial"};
        QTest::newRow("Magic") << "Magic"
                               << QStringList{"Breton", "High Elf", "Dark Elf", "Breton"};
        QTest::newRow("Stealth") << "Stealth"
                                 << QStringList{"Argonian", "Dark Elf", "Khajit", "Wood Elf",
                                                "Argonian"};
    }
    void raceCyclesWrapPerSpecialization() {
        QFETCH(QString, cls);
        QFETCH(QStringList, races);
        choose(cls);
        AutoSelector a;
        QCOMPARE(press(a, 0, int(races.size())), races);
        // The choice went through the race option: summary, review and mark.
        QCOMPARE(c().summary(Character::SumRace), "Race: " + races.last());
        QCOMPARE(c().reviewLine(Character::LineRace), "Race: " + races.last());
        QVERIFY(c().markBlue(Character::LineRace));
        QCOMPARE(c().checkedOption(Character::GroupRace), tarvo::races().indexOf(races.last()));
        QCOMPARE(c().ChangesMade(), QString("Yes"));
    }

    void birthsignCyclesWrapPerSpecialization_data() {
        QTest::addColumn<QString>("cls");
        QTest::addColumn<QStringList>("signs");
        QTest::newRow("Combat") << "Combat"
                                << QStringList{"The Ritual", "The Warrior", "The Lady", "The Lover",
                                               "The Ritual"};
        QTest::newRow("Magic") << "Magic"
                               << QStringList{"The Mage", "The Apprentice", "The Atronach",
                                              "The Mage"};
        QTest::newRow("Stealth") << "Stealth"
                                 << QStringList{"The Thief", "The Shadow", "The Tower", "The Steed",
                                                "The Thief"};
    }
    void birthsignCyclesWrapPerSpecialization() {
        QFETCH(QString, cls);
        QFETCH(QStringList, signs);
        choose(cls);
        AutoSelector a;
        QCOMPARE(press(a, 3, int(signs.size())), signs);
        QCOMPARE(c().summary(Character::SumBirthsign), "Birthsign: " + signs.last());
        QVERIFY(c().markBlue(Character::LineBirthsign));
    }

    void attributeCyclesSetBothInOrder_data() {
        QTest::addColumn<QString>("cls");
        QTest::addColumn<QStringList>("pairs");
        QTest::newRow("Combat") << "Combat"
                                << QStringList{"Strength/Endurance", "Endurance/Strength",
                                               "Strength/Endurance"};
        QTest::newRow("Magic") << "Magic"
                               << QStringList{"Intelligence/Willpower", "Intelligence/Personality",
                                              "Willpower/Personality", "Intelligence/Willpower"};
        QTest::newRow("Stealth") << "Stealth"
                                 << QStringList{"Agility/Speed", "Agility/Intelligence",
                                                "Intelligence/Speed", "Agility/Speed"};
    }
    void attributeCyclesSetBothInOrder() {
        QFETCH(QString, cls);
        QFETCH(QStringList, pairs);
        choose(cls);
        AutoSelector a;
        QCOMPARE(press(a, 1, int(pairs.size())), pairs);
    }

    void attributesSetInTheWrittenOrder() {
        // Combat's second entry sets group Two first: the description shown
        // last is that of the attribute set second (first = Endurance).
        choose("Combat");
        AutoSelector a;
        a.click(c(), 1);
        QCOMPARE(c().areaTitle(Character::AreaAttribute), QString("Endurance"));
        a.click(c(), 1);
        QCOMPARE(c().areaTitle(Character::AreaAttribute), QString("Endurance"));
        QCOMPARE(c().FavAtt1(), QString("Endurance"));
        QCOMPARE(c().FavAtt2(), QString("Strength"));
        // The options disabled by the other group follow the last choices.
        QCOMPARE(c().disabledFavAtt2Option(), attributes().indexOf("Endurance"));
        QCOMPARE(c().disabledFavAtt1Option(), attributes().indexOf("Strength"));
        // Magic's first entry sets Two (Willpower) before One (Intelligence).
        c().reset();
        choose("Magic");
        AutoSelector m;
        m.click(c(), 1);
        QCOMPARE(c().areaTitle(Character::AreaAttribute), QString("Intelligence"));
    }

    void countersAreSharedAcrossSpecializations() {
        AutoSelector a;
        choose("Combat");
        QCOMPARE(press(a, 0, 2), (QStringList{"Imperial", "Nord"}));
        QCOMPARE(a.RaceCycle, 2);
        choose("Stealth");
        QCOMPARE(press(a, 0, 1), QStringList{"Khajit"});
        QCOMPARE(a.RaceCycle, 3);

        // The attribute and birthsign counters are separate from the race one.
        QCOMPARE(a.FavAttCycle, 0);
        QCOMPARE(a.BirthsignCycle, 0);
    }

    void positionMissingFromTheNewListSelectsNothing() {
        AutoSelector a;
        choose("Combat");
        press(a, 0, 4); // Imperial .. Redguard: the counter wraps to 0
        QCOMPARE(a.RaceCycle, 0);
        press(a, 0, 3); // Imperial, Nord, Orc: counter at 3
        QCOMPARE(c().Race(), QString("Orc"));
        choose("Magic"); // Magic's race list has no position 3
        const QString before = c().ChangesMade();
        c().setChangesMade("No");
        QCOMPARE(a.click(c(), 0), Outcome::Done);
        QCOMPARE(c().Race(), QString("Orc"));
        QCOMPARE(a.RaceCycle, 3);
        QCOMPARE(c().ChangesMade(), QString("No"));
        Q_UNUSED(before);
        // Back on a list with that position the cycle continues from it.
        choose("Stealth");
        a.click(c(), 0);
        QCOMPARE(c().Race(), QString("Wood Elf"));
        QCOMPARE(a.RaceCycle, 0);

        // Attributes: Magic at position 2, then Combat (two entries) ignores it.
        AutoSelector b;
        c().reset();
        choose("Magic");
        press(b, 1, 2);
        QCOMPARE(b.FavAttCycle, 2);
        choose("Combat");
        const QString att1 = c().FavAtt1();
        const QString att2 = c().FavAtt2();
        b.click(c(), 1);
        QCOMPARE(c().FavAtt1(), att1);
        QCOMPARE(c().FavAtt2(), att2);
        QCOMPARE(b.FavAttCycle, 2);
    }

    void unknownTaskOrClassDoesNothing() {
        AutoSelector a;
        choose("Combat");
        QCOMPARE(a.AutoSelect(c(), "race"), Outcome::Done); // letter case matters
        QCOMPARE(a.AutoSelect(c(), "Attributes"), Outcome::Done);
        QCOMPARE(c().Race(), QString());
        QCOMPARE(c().FavAtt1(), QString());
        QCOMPARE(a.RaceCycle, 0);
        QCOMPARE(a.FavAttCycle, 0);
    }

    void majorSkillSets_data() {
        QTest::addColumn<QString>("cls");
        QTest::addColumn<QStringList>("major");
        QTest::addColumn<QStringList>("minor");
        QTest::newRow("Combat") << "Combat"
                                << QStringList{"Heavy Armour", "Long Blade", "Athletics",
                                               "Short Blade", "Block"}
                                << QStringList{"Sneak", "Blunt Weapon", "Security", "Mysticism",
                                               "Armourer"};
        QTest::newRow("Magic") << "Magic"
                               << QStringList{"Destruction", "Alteration", "Restoration",
                                              "Mysticism", "Conjuration"}
                               << QStringList{"Illusion", "Enchant", "Alchemy", "Unarmoured",
                                              "Speechcraft"};
        QTest::newRow("Stealth") << "Stealth"
                                 << QStringList{"Light Armour", "Sneak", "Security", "Short Blade",
                                                "Marksman"}
                                 << QStringList{"Illusion", "Acrobatics", "Athletics",
                                                "Speechcraft", "Alteration"};
    }
    void majorSkillSets() {
        QFETCH(QString, cls);
        QFETCH(QStringList, major);
        QFETCH(QStringList, minor);
        choose(cls);
        AutoSelector a;

        // The major list on show.
        QCOMPARE(c().skillFrame(), 0);
        QCOMPARE(a.click(c(), 2), Outcome::Done);
        // Checked in the order of the set: the hidden list keeps tick order.
        QCOMPARE(c().majorSkills(), major);
        QCOMPARE(c().skillFrameCaption(true), QString("Five Major Skills (0 remaining)"));
        for (const QString& s : major)
            QCOMPARE(c().skillPosition(false, s), -1); // taken out of the minor list
        QVERIFY(c().markBlue(Character::LineMajor));

        // The minor list on show.
        c().setSkillFrame(1);
        QCOMPARE(a.click(c(), 2), Outcome::Done);
        QCOMPARE(c().minorSkills(), minor);
        QCOMPARE(c().skillFrameCaption(false), QString("Five Minor Skills (0 remaining)"));
        QCOMPARE(checkedNames(true).size(), 5);
        QCOMPARE(checkedNames(false).size(), 5);
    }

    void skillsAlreadyChosenAreNotTouched() {
        choose("Combat");
        AutoSelector a;
        // One major skill ticked; the minor list empty.
        c().checkSkillByName(true, "Alchemy");
        QCOMPARE(a.click(c(), 2), Outcome::MajorAlreadySet);
        QCOMPARE(c().majorSkills(), QStringList{"Alchemy"});
        QCOMPARE(c().minorSkills(), QStringList());

        // With the minor list on show, a ticked minor skill refuses; the
        // major list does not matter.
        c().setSkillFrame(1);
        c().checkSkillByName(false, "Sneak");
        QCOMPARE(a.click(c(), 2), Outcome::MinorAlreadySet);
        QCOMPARE(c().minorSkills(), QStringList{"Sneak"});
        QCOMPARE(c().majorSkills(), QStringList{"Alchemy"});
    }

    void skillNamesMissingFromTheListAreSkipped() {
        // Stealth's minor set holds Athletics, which is a major skill here
        // and so missing from the minor list: the other four are checked.
        choose("Combat");
        AutoSelector a;
        a.click(c(), 2); // Combat majors include Athletics
        choose("Stealth");
        c().setSkillFrame(1);
        QCOMPARE(a.click(c(), 2), Outcome::Done);
        QCOMPARE(c().minorSkills(),
                 (QStringList{"Illusion", "Acrobatics", "Speechcraft", "Alteration"}));
    }

    void noClassRefusesEveryButton() {
        AutoSelector a;
        for (int index = 0; index < 4; ++index)
            QCOMPARE(a.click(c(), index), Outcome::NoClass);
        c().setSkillFrame(1);
        QCOMPARE(a.click(c(), 2), Outcome::NoClass);
        QCOMPARE(c().Race(), QString());
        QCOMPARE(c().FavAtt1(), QString());
        QCOMPARE(c().FavAtt2(), QString());
        QCOMPARE(c().Birthsign(), QString());
        QVERIFY(c().majorSkills().isEmpty());
        QVERIFY(c().minorSkills().isEmpty());
        QCOMPARE(a.RaceCycle, 0);
        QCOMPARE(a.FavAttCycle, 0);
        QCOMPARE(a.BirthsignCycle, 0);
        QCOMPARE(c().ChangesMade(), QString());
    }
};

QTEST_GUILESS_MAIN(TestAutoSelect)
#include "tst_autoselect.moc"
