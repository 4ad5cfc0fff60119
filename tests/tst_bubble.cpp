// The balloon tip: where it appears, what it says, and how it goes away.
#include "scriptedplatform.h"
#include "shell/frmBubbleD.h"
#include "shell/twips.h"

#include <QLabel>
#include <QPointer>
#include <QTimer>
#include <QtTest>

#include <memory>

using tarvo::currentBubble;
using tarvo::frmBubbleD;
using tarvo::ShowBubble;
using tarvo::test::ScriptedPlatform;
using tarvo::test::TempAppFolder;

class TestBubble : public QObject {
    Q_OBJECT

    std::unique_ptr<TempAppFolder> m_folder;
    std::unique_ptr<ScriptedPlatform> m_platform;

    static QLabel* label(frmBubbleD* b, const char* name) {
        auto* l = b->findChild<QLabel*>(QLatin1String(name));
        if (!l)
            qFatal("no label %s", name);
        return l;
    }

private slots:
    void init() {
        m_folder = std::make_unique<TempAppFolder>();
        m_platform = std::make_unique<ScriptedPlatform>();
    }

    void cleanup() {
        if (frmBubbleD* b = currentBubble())
            delete b;
        m_platform.reset();
        m_folder.reset();
    }

    void showsTextsAtTheTwipsPosition() {
        ShowBubble(QStringLiteral("Class not selected!"),
                   QStringLiteral("You need to select a Class Specialisation in Step Two to use "
                                  "this feature."),
                   5760, 3045);
        frmBubbleD* b = currentBubble();
        QVERIFY(b);
        QVERIFY(b->isVisible());
        QCOMPARE(label(b, "lblTitleD")->text(), QStringLiteral("Class not selected!"));
        QCOMPARE(label(b, "lblInformationD")->text(),
                 QStringLiteral("You need to select a Class Specialisation in Step Two to use "
                                "this feature."));
        QCOMPARE(b->pos(), QPoint(tarvo::twips(5760), tarvo::twips(3045)));
        // It does not take the focus from the window the user works in.
        QVERIFY(!b->isActiveWindow());
    }

    void vanishesByItself() {
        ShowBubble(QStringLiteral("Title"), QStringLiteral("Text"), 1500, 1500);
        QPointer<frmBubbleD> b = currentBubble();
        QVERIFY(b);
        auto* timer = b->findChild<QTimer*>(QStringLiteral("tmrVanishD"));
        QVERIFY(timer);
        QVERIFY(timer->isActive());
        QCOMPARE(timer->interval(), 5000);
        QTRY_VERIFY_WITH_TIMEOUT(!b || !b->isVisible(), 6500);
        QTRY_VERIFY(!currentBubble());
    }

    void clickOnTheTitleClosesAtOnce() {
        ShowBubble(QStringLiteral("Task reminder!"), QStringLiteral("Text"), 3555, 3000);
        frmBubbleD* b = currentBubble();
        QTest::mouseClick(label(b, "lblTitleD"), Qt::LeftButton);
        QVERIFY(!b->isVisible());
        QTRY_VERIFY(!currentBubble());
    }

    void clickOnTheTextClosesAtOnce() {
        ShowBubble(QStringLiteral("Title"), QStringLiteral("Text"), 3555, 3000);
        frmBubbleD* b = currentBubble();
        QTest::mouseClick(label(b, "lblInformationD"), Qt::LeftButton);
        QVERIFY(!b->isVisible());
    }

    void secondBalloonKeepsTheRunningTimer() {
        ShowBubble(QStringLiteral("First"), QStringLiteral("one"), 1500, 1500);
        frmBubbleD* first = currentBubble();
        auto* timer = first->findChild<QTimer*>(QStringLiteral("tmrVanishD"));
        QTest::qWait(300);
        const int before = timer->remainingTime();
        ShowBubble(QStringLiteral("Second"), QStringLiteral("two"), 3000, 2250);
        QCOMPARE(currentBubble(), first);
        QCOMPARE(first->title(), QStringLiteral("Second"));
        QCOMPARE(first->text(), QStringLiteral("two"));
        QCOMPARE(first->pos(), QPoint(tarvo::twips(3000), tarvo::twips(2250)));
        // A restarted timer would have its full five seconds again.
        QVERIFY(timer->isActive());
        QVERIFY2(timer->remainingTime() <= before,
                 qPrintable(QStringLiteral("%1 > %2").arg(timer->remainingTime()).arg(before)));
        QTRY_VERIFY_WITH_TIMEOUT(!currentBubble(), 6500);
    }
};

QTEST_MAIN(TestBubble)
#include "tst_bubble.moc"
