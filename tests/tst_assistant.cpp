// The planning assistant: its rules at their boundaries, whole builds
// through the window to the wizard's review step, the keywords, and the
// generated file (written whole, applied, deleted; a failed write changes
// nothing).
#include "appfolder.h"
#include "character.h"
#include "planner.h"
#include "planning/frmProgress.h"
#include "planning/frmWizard.h"
#include "scriptedplatform.h"
#include "shell/forms.h"
#include "wizard/frmMain.h"

#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QtTest>

#include <memory>

using namespace tarvo;
using tarvo::test::ScriptedPlatform;
using tarvo::test::TempAppFolder;

namespace {

template <typename T> T* control(QWidget* w, const QString& name) {
    T* c = w->findChild<T*>(name);
    if (!c)
        qFatal("no control %s", qPrintable(name));
    return c;
}

bool wizardShown() {
    frmMain* m = forms::mainIfLoaded();
    return m && m->isVisible();
}

QString review(int line) {
    return control<QLabel>(forms::main(), QStringLiteral("txtReview(%1)").arg(line))->text();
}

} // namespace

class TestAssistant : public QObject {
    Q_OBJECT

    std::unique_ptr<TempAppFolder> m_app;
    std::unique_ptr<ScriptedPlatform> m_platform;
    QPointer<frmWizard> m_w;

    // Sliders indexed 2 casting, 1 fighting, 0 sneaking; set with the keys.
    void setSliders(int casting, int fighting, int sneaking) {
        const int values[3] = {sneaking, fighting, casting};
        for (int i = 0; i < 3; ++i) {
            auto* s = control<QSlider>(m_w, QStringLiteral("HScroll(%1)").arg(i));
            s->setFocus();
            QTest::keyClick(s, Qt::Key_Home);
            while (s->value() < values[i])
                QTest::keyClick(s, Qt::Key_Right);
            QCOMPARE(s->value(), values[i]);
        }
    }
    // Clicks a box or option on its mark.
    void click(const QString& name) {
        auto* w = control<QWidget>(m_w, name);
        const QPoint at = qobject_cast<QPushButton*>(w) ? w->rect().center()
                                                        : QPoint(w->height() / 2, w->height() / 2);
        QTest::mouseClick(w, Qt::LeftButton, {}, at);
    }
    void tick(std::initializer_list<int> keywords) {
        for (int k : keywords)
            click(QStringLiteral("chkKeywords(%1)").arg(k));
    }
    QString generated() const { return m_app->file(QStringLiteral("Data/CharacterGen.MWC")); }

private slots:
    void init() {
        m_app = std::make_unique<TempAppFolder>();
        m_platform = std::make_unique<ScriptedPlatform>();
        character().reset();
        m_w = new frmWizard;
        m_w->show();
        m_w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_w));
    }
    void cleanup() {
        delete m_w.data();
        forms::unloadAll();
        character().reset();
        m_platform.reset();
        m_app.reset();
    }

    void specializationAtItsBoundaries_data() {
        QTest::addColumn<int>("casting");
        QTest::addColumn<int>("fighting");
        QTest::addColumn<int>("sneaking");
        QTest::addColumn<QString>("specialization");
        QTest::addColumn<QString>("race");
        QTest::newRow("all equal") << 1 << 1 << 1 << ""
                                   << "";
        QTest::newRow("casting above both") << 6 << 5 << 3 << "Magic"
                                            << "Breton";
        QTest::newRow("casting equals fighting") << 5 << 5 << 3 << "Combat"
                                                 << "Redguard";
        QTest::newRow("casting equals sneaking") << 12 << 3 << 12 << "Stealth"
                                                 << "Dark Elf";
        QTest::newRow("stealth, casting 9") << 9 << 3 << 12 << "Stealth"
                                            << "Khajit";
        QTest::newRow("magic, sneaking 10") << 20 << 2 << 10 << "Magic"
                                            << "Dark Elf";
        QTest::newRow("magic, sneaking 9") << 20 << 2 << 9 << "Magic"
                                           << "Breton";
        QTest::newRow("too even") << 4 << 8 << 8 << ""
                                  << "";
        QTest::newRow("even, casting above") << 9 << 8 << 8 << "Magic"
                                             << "Breton";
    }
    void specializationAtItsBoundaries() {
        QFETCH(int, casting);
        QFETCH(int, fighting);
        QFETCH(int, sneaking);
        QFETCH(QString, specialization);
        QFETCH(QString, race);
        PlannerAnswers a;
        a.casting = casting;
        a.fighting = fighting;
        a.sneaking = sneaking;
        const auto plan = planCharacter(a);
        QCOMPARE(plan.has_value(), !specialization.isEmpty());
        if (plan) {
            QCOMPARE(plan->specialization, specialization);
            QCOMPARE(plan->race, race);
        }
    }

    void buildsEachSpecializationToTheReviewStep_data() {
        QTest::addColumn<QList<int>>("sliders"); // casting, fighting, sneaking
        QTest::addColumn<QList<int>>("keywords");
        QTest::addColumn<int>("others");
        QTest::addColumn<int>("personal");
        QTest::addColumn<QStringList>("texts"); // class, race, attributes, birthsign
        QTest::addColumn<QStringList>("major");
        QTest::addColumn<QStringList>("minor");
        QTest::newRow("Combat")
            << QList<int>{2, 9, 3} << QList<int>{1, 4, 5} << 0 << 0
            << QStringList{"Combat", "Redguard", "Strength", "Endurance", "The Warrior"}
            << QStringList{"Long Blade", "Marksman", "Speechcraft", "Block", "Short Blade"}
            << QStringList{"Light Armour", "Athletics", "Mercantile", "Heavy Armour", "Security"};
        QTest::newRow("Magic")
            << QList<int>{14, 3, 11} << QList<int>{0, 2, 3} << 1 << 2
            << QStringList{"Magic", "Dark Elf", "Intelligence", "Willpower", "The Apprentice"}
            << QStringList{"Unarmoured", "Destruction", "Armourer", "Alteration", "Restoration"}
            << QStringList{"Alchemy", "Blunt Weapon", "Conjuration", "Mysticism", "Security"};
        QTest::newRow("Stealth")
            << QList<int>{4, 2, 8} << QList<int>{1, 3, 5} << 2 << 2
            << QStringList{"Stealth", "Khajit", "Intelligence", "Agility", "The Shadow"}
            << QStringList{"Sneak", "Athletics", "Illusion", "Block", "Unarmoured"}
            << QStringList{"Security", "Acrobatics", "Alteration", "Light Armour", "Mysticism"};
    }
    void buildsEachSpecializationToTheReviewStep() {
        QFETCH(QList<int>, sliders);
        QFETCH(QList<int>, keywords);
        QFETCH(int, others);
        QFETCH(int, personal);
        QFETCH(QStringList, texts);
        QFETCH(QStringList, major);
        QFETCH(QStringList, minor);
        // Whatever an earlier build left in the file does not survive.
        m_app->write(QStringLiteral("Data/CharacterGen.MWC"),
                     "[One]\r\niniRealName=Stale\r\n[Tasks]\r\niniTaskName0=Old\r\n");
        QCOMPARE(m_w->windowTitle(), QStringLiteral("Character Generation Wizard"));
        setSliders(sliders[0], sliders[1], sliders[2]);
        tick({keywords[0], keywords[1], keywords[2]});
        click(QStringLiteral("optOthers(%1)").arg(others));
        click(QStringLiteral("optPersonal(%1)").arg(personal));
        click(QStringLiteral("cmdBuild"));

        QVERIFY(m_platform->messages.isEmpty());
        QTRY_VERIFY(!m_w);
        frmMain* m = forms::mainIfLoaded();
        QVERIFY(m && m->isVisible() && forms::progress()->isVisible());
        QCOMPARE(m->currentStep(), 6);
        QCOMPARE(review(2), QStringLiteral("Class: ") + texts[0]);
        QCOMPARE(review(5), QStringLiteral("Race: ") + texts[1]);
        QCOMPARE(review(6), QStringLiteral("Favourite Attribute 1: ") + texts[2]);
        QCOMPARE(review(7), QStringLiteral("Favourite Attribute 2: ") + texts[3]);
        QCOMPARE(review(8), QStringLiteral("Birthsign: ") + texts[4]);
        QCOMPARE(character().majorSkills(), major);
        QCOMPARE(character().minorSkills(), minor);
        QCOMPARE(character().RealName(), QString());
        QCOMPARE(character().taskText(0), QString());
        QVERIFY(!QFile::exists(generated()));
    }

    void aFourthKeywordIsRefused() {
        tick({0, 2, 4, 5});
        QVERIFY(!control<QCheckBox>(m_w, "chkKeywords(5)")->isChecked());
        QCOMPARE(m_w->KeywordCount, 3);
        QCOMPARE(m_w->KeywordState[5], QStringLiteral("False"));
        QCOMPARE(m_w->KeywordState[4], QStringLiteral("True"));
    }

    void fewerKeywordsAskFirst() {
        setSliders(2, 9, 3);
        tick({0});
        m_platform->setNextAnswer(MsgResult::No);
        click(QStringLiteral("cmdBuild"));
        QCOMPARE(m_platform->lastMessage().buttons, MsgButtons::YesNo);
        QCOMPARE(m_platform->lastMessage().icon, MsgIcon::Question);
        QVERIFY(
            m_platform->lastMessage().text.startsWith("You have not selected all three keywords"));
        QVERIFY(m_w && m_w->isVisible());
        QVERIFY(!wizardShown());

        // Yes builds with the empty slots left empty.
        m_platform->setNextAnswer(MsgResult::Yes);
        click(QStringLiteral("cmdBuild"));
        QTRY_VERIFY(!m_w);
        QCOMPARE(character().majorSkills(),
                 (QStringList{"Long Blade", "Destruction", "Short Blade"}));
        QCOMPARE(character().minorSkills(),
                 (QStringList{"Light Armour", "Blunt Weapon", "Security"}));
    }

    void aSkillNamedTwiceStaysInOneList() {
        // Combat with Destructive and Strong names Blunt Weapon as minor 2
        // and major 3: the loader keeps it a major skill only.
        setSliders(2, 9, 3);
        tick({0, 2, 4});
        click(QStringLiteral("cmdBuild"));
        QTRY_VERIFY(!m_w);
        QCOMPARE(character().majorSkills(),
                 (QStringList{"Long Blade", "Destruction", "Blunt Weapon", "Speechcraft",
                              "Short Blade"}));
        QCOMPARE(character().minorSkills(),
                 (QStringList{"Light Armour", "Axe", "Mercantile", "Security"}));
    }

    void aBuiltCharacterIsNotClosedWithoutAQuestion() {
        // The generated file is gone once applied: only the wizard holds it.
        setSliders(2, 9, 3);
        tick({1, 4, 5});
        click(QStringLiteral("cmdBuild"));
        QTRY_VERIFY(!m_w && wizardShown());
        m_platform->setNextAnswer(MsgResult::Cancel);
        QVERIFY(!forms::main()->close());
        QVERIFY(m_platform->lastMessage().text.startsWith("Do you want to save your current"));
    }

    void tooEvenSlidersWriteNothing() {
        tick({0, 1, 2});
        click(QStringLiteral("cmdBuild"));
        QCOMPARE(m_platform->messages.size(), 1);
        QCOMPARE(m_platform->lastMessage().title,
                 QStringLiteral("TARVO2 Character Planning Assistant"));
        QCOMPARE(m_platform->lastMessage().icon, MsgIcon::Exclamation);
        QVERIFY(m_platform->lastMessage().text.contains("'less even'"));
        QVERIFY(m_w->isVisible());
        QVERIFY(!wizardShown());
        // The sliders never go below 1.
        auto* s = control<QSlider>(m_w, "HScroll(0)");
        s->setFocus();
        QTest::keyClick(s, Qt::Key_Home);
        QCOMPARE(s->value(), 1);
    }

    void aFileThatCannotBeWrittenChangesNothing() {
        QDir().mkpath(generated()); // a folder in the file's place
        setSliders(2, 9, 3);
        tick({0, 1, 2});
        click(QStringLiteral("cmdBuild"));
        QCOMPARE(m_platform->messages.size(), 1);
        QVERIFY(m_platform->lastMessage().text.contains("could not write your planned character"));
        QVERIFY(m_w && m_w->isVisible());
        QVERIFY(!wizardShown());
        QCOMPARE(character().Class(), QString());
    }
};

QTEST_MAIN(TestAssistant)
#include "tst_assistant.moc"
