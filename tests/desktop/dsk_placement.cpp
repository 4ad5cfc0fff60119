// Where the windows land on a real desktop, framed by a window manager: the
// geometry is read from the X server (the window's place and the frame the
// window manager announces), not from what the program asked for.
#include "planning/frmProgress.h"
#include "scriptedplatform.h"
#include "shell/forms.h"
#include "shell/frmBubbleD.h"
#include "shell/frmSplash.h"
#include "shell/frmWelcome.h"
#include "shell/twips.h"
#include "wizard/frmMain.h"

#include <QGuiApplication>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QtTest>

#include <memory>

using tarvo::test::ScriptedPlatform;
using tarvo::test::TempAppFolder;
namespace forms = tarvo::forms;

namespace {

QString run(const QString& program, const QStringList& args) {
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(5000))
        return QString();
    return QString::fromLocal8Bit(p.readAllStandardOutput());
}

// The window's client area in screen coordinates, as the X server has it.
QRect clientOnServer(const QWidget* w) {
    const QString info =
        run(QStringLiteral("xwininfo"), {QStringLiteral("-id"), QString::number(w->winId())});
    auto field = [&](const char* name) {
        const QRegularExpression re(QLatin1String(name) + QStringLiteral(":\\s+(-?\\d+)"));
        return re.match(info).captured(1).toInt();
    };
    return QRect(field("Absolute upper-left X"), field("Absolute upper-left Y"), field("Width"),
                 field("Height"));
}

// The frame the window manager put round the window (left, right, top,
// bottom), or nothing while it has not announced one.
std::optional<QMargins> frameExtents(const QWidget* w) {
    const QString prop =
        run(QStringLiteral("xprop"), {QStringLiteral("-id"), QString::number(w->winId()),
                                      QStringLiteral("_NET_FRAME_EXTENTS")});
    const QRegularExpression re(QStringLiteral("=\\s*(\\d+),\\s*(\\d+),\\s*(\\d+),\\s*(\\d+)"));
    const QRegularExpressionMatch m = re.match(prop);
    if (!m.hasMatch())
        return std::nullopt;
    return QMargins(m.captured(1).toInt(), m.captured(3).toInt(), m.captured(2).toInt(),
                    m.captured(4).toInt());
}

// The window's outer frame once the window manager has framed it and it has
// stopped moving.
QRect realFrame(QWidget* w) {
    if (!QTest::qWaitForWindowExposed(w))
        return QRect();
    QRect last;
    for (int i = 0; i < 100; ++i) {
        const std::optional<QMargins> m = frameExtents(w);
        const QRect now = m ? clientOnServer(w).marginsAdded(*m) : QRect();
        if (m && now == last)
            return now;
        last = now;
        QTest::qWait(50);
    }
    return last;
}

QRect available() {
    return QGuiApplication::primaryScreen()->availableGeometry();
}

QString text(const QRect& r) {
    return QStringLiteral("%1,%2 %3x%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
}

#define CHECK_ON_SCREEN(frame)                                                                     \
    QVERIFY2(available().contains(frame),                                                          \
             qPrintable(text(frame) + QStringLiteral(" not within ") + text(available())))

// Centred on the screen, give or take the frame's own unevenness.
#define CHECK_CENTRED(frame, extents)                                                              \
    do {                                                                                           \
        const QPoint off = (frame).center() - available().center();                                \
        QVERIFY2(                                                                                  \
            qAbs(off.x()) <= (extents).left() + (extents).right() + 1 &&                           \
                qAbs(off.y()) <= (extents).top() + (extents).bottom() + 1,                         \
            qPrintable(text(frame) + QStringLiteral(" is not centred on ") + text(available())));  \
    } while (false)

} // namespace

class TestPlacement : public QObject {
    Q_OBJECT

    std::unique_ptr<TempAppFolder> m_folder;
    std::unique_ptr<ScriptedPlatform> m_platform;

private slots:
    void initTestCase() {
        if (QGuiApplication::platformName() != QLatin1String("xcb"))
            QSKIP("needs an X server (scripts/run-desktop-test.sh)");
        m_folder = std::make_unique<TempAppFolder>();
        m_platform = std::make_unique<ScriptedPlatform>();
    }
    void cleanupTestCase() { forms::unloadAll(); }

    // The splash and then the welcome window, each whole and centred.
    void splashThenWelcome() {
        auto* splash = new tarvo::frmSplash;
        splash->show();
        splash->load();
        const QRect s = realFrame(splash);
        CHECK_ON_SCREEN(s);
        CHECK_CENTRED(s, frameExtents(splash).value_or(QMargins()));

        QTRY_VERIFY_WITH_TIMEOUT(forms::welcomeIfLoaded() && forms::welcome()->isVisible(), 10000);
        QWidget* w = forms::welcome();
        const QRect f = realFrame(w);
        const QMargins e = frameExtents(w).value_or(QMargins());
        QVERIFY2(e.top() > 0, "the window manager framed the welcome window");
        CHECK_ON_SCREEN(f);
        CHECK_CENTRED(f, e);
    }

    // On to the wizard: the progress window against the main window's left
    // edge, tops level; where the screen is too narrow for both side by
    // side, both still whole on it.
    void progressBesideMainOnTheFirstHandOver() {
        QWidget* welcome = forms::welcome();
        QTest::mouseClick(welcome->findChild<QPushButton*>(QStringLiteral("cmdCreate(2)")),
                          Qt::LeftButton);
        QWidget* m = static_cast<QWidget*>(forms::mainIfLoaded());
        QWidget* p = static_cast<QWidget*>(forms::progressIfLoaded());
        QVERIFY(m && p);
        QRect mf = realFrame(m), pf = realFrame(p);
        // Both framed and settled: read once more after a pause.
        QTest::qWait(300);
        mf = realFrame(m);
        pf = realFrame(p);
        CHECK_ON_SCREEN(mf);
        CHECK_ON_SCREEN(pf);
        QCOMPARE(pf.top(), mf.top());
        if (available().width() >= mf.width() + pf.width())
            QCOMPARE(pf.right() + 1, mf.left());
        else
            QVERIFY(pf.left() < mf.left());
    }

    // Without a compositing manager the balloon is cut to its shape: what
    // lies under its corners shows through, not black.
    void balloonHasNoBlackCorners() {
        QWidget* m = static_cast<QWidget*>(forms::main());
        const QRect mf = realFrame(m);
        tarvo::ShowBubble(QStringLiteral("Title"), QStringLiteral("Text"),
                          tarvo::toTwips(mf.left() + 40), tarvo::toTwips(mf.top() + 60));
        QWidget* b = tarvo::currentBubble();
        QVERIFY(b);
        QVERIFY(QTest::qWaitForWindowExposed(b));
        QTest::qWait(200);
        const QRect c = clientOnServer(b);
        const QImage shot = QGuiApplication::primaryScreen()
                                ->grabWindow(0, c.x(), c.y(), c.width(), c.height())
                                .toImage();
        const QColor corner = shot.pixelColor(1, 21);
        QVERIFY2(corner != QColor(Qt::black), "the balloon's corner is black");
    }
};

QTEST_MAIN(TestPlacement)
#include "dsk_placement.moc"
