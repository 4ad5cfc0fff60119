// Replays whole characters through the real wizard window, click by click,
// and prints the median time one choice takes (the handler, the model and
// every view that redraws from it).
//
//   bench_wizard [AppFolder] [rounds]
#include "appfolder.h"
#include "character.h"
#include "globals.h"
#include "platform.h"
#include "reftables.h"
#include "shell/forms.h"
#include "silentplatform.h"
#include "wizard/frmMain.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QListWidget>
#include <QStyleOptionViewItem>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace tarvo;

namespace {

class Replay {
public:
    explicit Replay(frmMain* w) : m_w(w) {}

    // Times one choice.
    template <typename F> void choice(F&& action) {
        QElapsedTimer t;
        t.start();
        action();
        m_ms.push_back(double(t.nsecsElapsed()) / 1e6);
    }

    void click(const QString& name) {
        choice([&] { QTest::mouseClick(control(name), Qt::LeftButton); });
    }
    void type(const QString& name, const QString& text) {
        auto* box = m_w->findChild<QLineEdit*>(name);
        choice([&] { QTest::keyClicks(box, text); });
    }
    void tick(const QString& listName, const QString& skill) {
        auto* list = m_w->findChild<QListWidget*>(listName);
        QListWidgetItem* item = list->findItems(skill, Qt::MatchExactly).value(0);
        if (!item)
            return;
        list->scrollToItem(item);
        QStyleOptionViewItem opt;
        opt.initFrom(list);
        opt.rect = list->visualItemRect(item);
        opt.features = QStyleOptionViewItem::HasCheckIndicator | QStyleOptionViewItem::HasDisplay;
        opt.text = item->text();
        const QRect box =
            list->style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &opt, list);
        choice([&] { QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, box.center()); });
    }
    void female() {
        auto* gender = m_w->findChild<QComboBox*>(QStringLiteral("cboGender"));
        gender->setFocus();
        choice([&] { QTest::keyClick(gender, Qt::Key_Down); });
    }

    std::vector<double>& times() { return m_ms; }

private:
    QWidget* control(const QString& name) const {
        QWidget* c = m_w->findChild<QWidget*>(name);
        if (!c)
            qFatal("no control %s", qPrintable(name));
        return c;
    }

    frmMain* m_w;
    std::vector<double> m_ms;
};

void oneCharacter(Replay& r) {
    r.type(QStringLiteral("txtRealName"), QStringLiteral("Quill"));
    r.click(QStringLiteral("cmdNext(0)"));
    r.type(QStringLiteral("txtClassName"), QStringLiteral("Spellsword"));
    r.click(QStringLiteral("optClass(1)"));
    r.click(QStringLiteral("cmdNext(1)"));
    r.type(QStringLiteral("txtCharacterName"), QStringLiteral("Dreyla"));
    r.click(QStringLiteral("optRace(2)"));
    r.female();
    r.click(QStringLiteral("cmdNext(2)"));
    r.click(QStringLiteral("optFavAtt1(1)"));
    r.click(QStringLiteral("optFavAtt2(2)"));
    r.click(QStringLiteral("cmdNext(3)"));
    for (const char* s : {"Destruction", "Alteration", "Illusion", "Conjuration", "Mysticism"})
        r.tick(QStringLiteral("lstMjrSkills"), QString::fromLatin1(s));
    r.click(QStringLiteral("optSkillSelect(1)"));
    for (const char* s : {"Restoration", "Enchant", "Alchemy", "Unarmoured", "Long Blade"})
        r.tick(QStringLiteral("lstMnrSkills"), QString::fromLatin1(s));
    r.click(QStringLiteral("cmdNext(4)"));
    r.click(QStringLiteral("optBirthsign(0)"));
    r.click(QStringLiteral("cmdNext(5)"));
    // A few second thoughts from the review.
    r.click(QStringLiteral("imgStatus(5)"));
    r.click(QStringLiteral("optRace(3)"));
    r.click(QStringLiteral("imgStatus(6)"));
    r.click(QStringLiteral("optFavAtt1(0)"));
    r.click(QStringLiteral("imgStatus(9)"));
    r.click(QStringLiteral("optSkillSelect(0)"));
    r.tick(QStringLiteral("lstMjrSkills"), QStringLiteral("Mysticism"));
    r.tick(QStringLiteral("lstMjrSkills"), QStringLiteral("Block"));
    r.click(QStringLiteral("imgStatus(8)"));
    r.click(QStringLiteral("optBirthsign(1)"));
    r.click(QStringLiteral("optNav(6)"));
}

} // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments();
    const QString folder = benchAppFolder(args);
    const int rounds = benchRounds(args, 30);
    if (folder.isEmpty())
        return 1;
    SilentPlatform silent;
    setPlatform(&silent);
    setBenchGlobals();

    frmMain* w = forms::main();
    w->show();
    if (!QTest::qWaitForWindowExposed(w))
        return 1;

    Replay replay(w);
    for (int i = 0; i < rounds; ++i) {
        character().reset();
        character().chooseGender(0);
        w->selectStep(0);
        oneCharacter(replay);
    }
    std::vector<double>& ms = replay.times();
    std::sort(ms.begin(), ms.end());
    const double median = ms[ms.size() / 2];
    const double p90 = ms[ms.size() * 9 / 10];
    std::printf("bench_wizard: %d characters, %zu choices through the window\n", rounds, ms.size());
    std::printf("median %.3f ms per choice, 90th percentile %.3f ms, slowest %.3f ms\n", median,
                p90, ms.back());
    forms::unloadAll();
    return 0;
}
