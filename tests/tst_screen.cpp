// What the windows show, measured in the fonts they are drawn in: each
// label's text fits its rectangle, a description needs no scroll bar, a line
// too long for its box ends in "…" with the whole line as its tool tip.
#include "character.h"
#include "planning/frmProgress.h"
#include "samplecharacter.h"
#include "scriptedplatform.h"
#include "shell/forms.h"
#include "shell/frmOptions.h"
#include "wizard/frmMain.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QtTest>

using namespace tarvo;

// The shown labels of w whose text needs more room than they have.
static QStringList overflowing(QWidget* w) {
    QStringList out;
    for (QLabel* l : w->findChildren<QLabel*>()) {
        const QRect room = l->contentsRect();
        const int flags = int(l->alignment()) | (l->wordWrap() ? Qt::TextWordWrap : 0);
        const QRect need = l->fontMetrics().boundingRect(room, flags, l->text());
        if (l->isVisibleTo(w) && l->textFormat() == Qt::PlainText &&
            (need.height() > room.height() || need.width() > room.width()))
            out << l->objectName();
    }
    return out;
}

class TestScreen : public QObject {
    Q_OBJECT
    tarvo::test::ScriptedPlatform m_platform;
    tarvo::test::TempAppFolder m_folder;

private slots:
    void cleanup() {
        forms::unloadAll();
        character().reset();
    }

    void labelsAndDescriptionsShowWhole() {
        tarvo::test::buildSampleCharacter();
        frmMain* m = forms::main();
        m->show();
        for (int step = 0; step < 9; ++step) {
            m->selectStep(step);
            QVERIFY2(overflowing(m).isEmpty(), qPrintable(overflowing(m).join("; ")));
        }
        frmOptions* o = frmOptions::instance();
        o->show();
        QVERIFY(overflowing(o).isEmpty());
        auto* boards = o->findChild<QComboBox*>("cboMessageBoard");
        auto* text = o->findChild<QPlainTextEdit*>("txtForumDescription");
        for (int i = 0; i < boards->count(); ++i) {
            boards->setCurrentIndex(i);
            QApplication::processEvents();
            QVERIFY2(text->verticalScrollBar()->maximum() == 0, qPrintable(boards->itemText(i)));
        }
        delete o;
    }

    void longSummaryLinesEndInAnEllipsis() {
        frmProgress* p = forms::progress();
        p->show();
        p->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(p));
        const QString whole = "Class Name: Knight-Errant of the Ebonheart Imperial Legion";
        character().setClassName(whole.mid(12));
        auto* box = p->findChild<QLineEdit*>("txtClassName");
        QVERIFY(box->text().endsWith(QChar(0x2026)) && whole.startsWith(box->text().chopped(1)));
        QVERIFY(box->fontMetrics().horizontalAdvance(box->text()) < box->width());
        QCOMPARE(box->toolTip(), whole);
        // With the focus the whole line is there to read.
        box->setFocus();
        QTRY_COMPARE(box->text(), whole);
        character().setClassName("Mage");
        QCOMPARE(box->text(), QStringLiteral("Class Name: Mage"));
    }
};

QTEST_MAIN(TestScreen)
#include "tst_screen.moc"
