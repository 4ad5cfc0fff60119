// What the windows show, measured with the fonts they are drawn in: every
// label's text fits its rectangle, a text box shows its text without a
// scroll bar, and a line too long for its box ends in "…" with the whole
// line as its tool tip.
#include "character.h"
#include "globals.h"
#include "planning/frmProgress.h"
#include "reftables.h"
#include "samplecharacter.h"
#include "scriptedplatform.h"
#include "shell/elide.h"
#include "shell/forms.h"
#include "shell/frmOptions.h"
#include "wizard/frmMain.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QtTest>

#include <memory>

using namespace tarvo;
using tarvo::test::ScriptedPlatform;
using tarvo::test::TempAppFolder;

namespace {

// The labels of w shown now whose text needs more room than they have, as
// "name: needed × shown" lines.
QStringList overflowingLabels(QWidget* w) {
    QStringList out;
    for (QLabel* l : w->findChildren<QLabel*>()) {
        if (!l->isVisibleTo(w) || l->text().isEmpty() || l->textFormat() != Qt::PlainText)
            continue;
        const QRect room = l->contentsRect().marginsRemoved(
            QMargins(l->margin(), l->margin(), l->margin(), l->margin()));
        const int flags = int(l->alignment()) | (l->wordWrap() ? Qt::TextWordWrap : 0);
        const QRect need = l->fontMetrics().boundingRect(room, flags, l->text());
        if (need.height() > room.height() || need.width() > room.width())
            out.append(QStringLiteral("%1: %2x%3 in %4x%5")
                           .arg(l->objectName())
                           .arg(need.width())
                           .arg(need.height())
                           .arg(room.width())
                           .arg(room.height()));
    }
    return out;
}

// The width a line edit shows its text in, worked out as the style draws it.
int shownWidth(QLineEdit* box) {
    QStyleOptionFrame opt;
    opt.initFrom(box);
    opt.lineWidth = box->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &opt, box);
    return box->style()->subElementRect(QStyle::SE_LineEditContents, &opt, box).width() - 4;
}

} // namespace

class TestScreen : public QObject {
    Q_OBJECT

    std::unique_ptr<ScriptedPlatform> m_platform;
    std::unique_ptr<TempAppFolder> m_folder;

private slots:
    void initTestCase() { QApplication::setQuitOnLastWindowClosed(false); }

    void init() {
        m_platform = std::make_unique<ScriptedPlatform>();
        m_folder = std::make_unique<TempAppFolder>();
        Globals& g = globals();
        g.StepTasks = stepTasks();
        g.FirstRun = QStringLiteral("No");
        g.ShowAdvancedFeatures = QStringLiteral("Yes");
        character().reset();
    }

    void cleanup() {
        forms::unloadAll();
        delete frmOptions::ifLoaded();
        character().reset();
        m_folder.reset();
        m_platform.reset();
    }

    void everyStepsLabelsFit() {
        tarvo::test::buildSampleCharacter();
        frmMain* m = forms::main();
        m->show();
        QVERIFY(QTest::qWaitForWindowExposed(m));
        for (int step = 0; step < 9; ++step) {
            m->selectStep(step);
            const QStringList cut = overflowingLabels(m);
            QVERIFY2(cut.isEmpty(), qPrintable(QStringLiteral("step %1: %2")
                                                   .arg(step + 1)
                                                   .arg(cut.join(QStringLiteral("; ")))));
        }
    }

    void boardDescriptionsShowWhole() {
        frmOptions* o = frmOptions::instance();
        o->show();
        QVERIFY(QTest::qWaitForWindowExposed(o));
        auto* boards = o->findChild<QComboBox*>(QStringLiteral("cboMessageBoard"));
        auto* text = o->findChild<QPlainTextEdit*>(QStringLiteral("txtForumDescription"));
        QVERIFY(boards && text && boards->count() >= 8);
        for (int i = 0; i < boards->count(); ++i) {
            boards->setCurrentIndex(i);
            QApplication::processEvents();
            QVERIFY2(text->verticalScrollBar()->maximum() == 0, qPrintable(boards->itemText(i)));
        }
        QVERIFY(overflowingLabels(o).isEmpty());
    }

    void longSummaryLinesEndInAnEllipsis() {
        frmProgress* p = forms::progress();
        p->show();
        QVERIFY(QTest::qWaitForWindowExposed(p));
        const QString name = QStringLiteral("Knight-Errant of the Ebonheart Imperial Legion");
        character().setClassName(name);
        auto* box = p->findChild<QLineEdit*>(QStringLiteral("txtClassName"));
        const QString whole = QStringLiteral("Class Name: ") + name;
        QVERIFY(box->text().endsWith(QChar(0x2026)));
        QVERIFY(whole.startsWith(box->text().chopped(1)));
        QVERIFY(box->fontMetrics().horizontalAdvance(box->text()) <= shownWidth(box));
        QCOMPARE(box->toolTip(), whole);
        QCOMPARE(wholeText(box), whole);
        // With the focus the whole line is there to read.
        box->setFocus();
        QTRY_COMPARE(box->text(), whole);
        p->findChild<QLineEdit*>(QStringLiteral("txtRace"))->setFocus();
        QTRY_VERIFY(box->text().endsWith(QChar(0x2026)));
        // A short line stands as it is.
        character().setClassName(QStringLiteral("Mage"));
        QCOMPARE(box->text(), QStringLiteral("Class Name: Mage"));
    }
};

QTEST_MAIN(TestScreen)
#include "tst_screen.moc"
