// TARVO2: plan a Morrowind character, then publish the plan.
#include "appinfo.h"
#include "shell/accessibility.h"
#include "shell/focusstyle.h"
#include "shell/forms.h"
#include "shell/frmSplash.h"
#include "shell/frmWelcome.h"
#include "shell/keyboard.h"
#include "shell/qtplatform.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QIcon>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <cstdio>
#include <memory>

namespace {

// With TARVO_MEASURE_STARTUP set (scripts/measure-startup.sh), the program
// prints the milliseconds from its start until the splash and then the
// welcome window have been painted completely for the first time (every
// control drawn and the picture handed to the window system), and its peak
// memory, then quits at the welcome window. Where the process start time is
// known the times count from it, else from the top of main. Measuring adds
// no work to the start: the probe only looks at the events that paint a
// window.
class StartupProbe : public QObject {
public:
    explicit StartupProbe(const QElapsedTimer& sinceMain) : m_sinceMain(sinceMain) {
#ifdef Q_OS_LINUX
        // The system's uptime less the process start time, both in the
        // kernel's 1/100 s ticks: this includes loading the libraries.
        QFile stat(QStringLiteral("/proc/self/stat"));
        QFile uptime(QStringLiteral("/proc/uptime"));
        if (stat.open(QIODevice::ReadOnly) && uptime.open(QIODevice::ReadOnly)) {
            const QByteArray s = stat.readAll();
            const QList<QByteArray> f = s.mid(s.lastIndexOf(')') + 2).split(' ');
            const double up = uptime.readAll().split(' ').value(0).toDouble();
            if (f.size() > 19 && up > 0)
                m_offset = qint64(up * 1000) - f[19].toLongLong() * 10 - m_sinceMain.elapsed();
        }
#endif
        qApp->installEventFilter(this);
    }

    void watchSplash(QWidget* splash) {
        m_splash = splash;
    }

    void report(const char* what) const {
        const qint64 ms = qMax<qint64>(0, m_offset + m_sinceMain.elapsed());
        std::printf("%s %lld\n", what, static_cast<long long>(ms));
        std::fflush(stdout);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (m_delivering) {
            if (event->type() == QEvent::Paint && watched == m_painting)
                m_painted = true;
            return false;
        }
        // A window paints its widgets when it is exposed or asked to update.
        // The event is delivered here, so that the time is taken once every
        // widget has been drawn and the picture handed over.
        if (event->type() != QEvent::Expose && event->type() != QEvent::UpdateRequest)
            return false;
        QWidget* widget = nullptr;
        if (m_splash && watched == m_splash->windowHandle())
            widget = m_splash;
        else if (QWidget* welcome = tarvo::forms::welcomeIfLoaded();
                 welcome && watched == welcome->windowHandle())
            widget = welcome;
        if (!widget)
            return false;
        m_delivering = true;
        m_painting = widget;
        m_painted = false;
        QCoreApplication::sendEvent(watched, event);
        m_delivering = false;
        if (m_painted) {
            if (widget == m_splash) {
                report("splash-painted");
                m_splash = nullptr;
            } else {
                welcomePainted();
            }
        }
        return true;
    }

private:
    void welcomePainted() {
        report("welcome-painted");
#ifdef Q_OS_LINUX
        QFile status(QStringLiteral("/proc/self/status"));
        if (status.open(QIODevice::ReadOnly))
            for (const QByteArray& line : status.readAll().split('\n'))
                if (line.startsWith("VmHWM:"))
                    std::printf("peak-rss-kb %s\n",
                                line.mid(6).trimmed().split(' ')[0].constData());
#endif
        std::fflush(stdout);
        qApp->removeEventFilter(this);
        QTimer::singleShot(0, qApp, &QCoreApplication::quit);
    }

    const QElapsedTimer& m_sinceMain;
    qint64 m_offset = 0;
    QPointer<QWidget> m_splash;
    QWidget* m_painting = nullptr;
    bool m_delivering = false;
    bool m_painted = false;
};

} // namespace

int main(int argc, char* argv[]) {
    QElapsedTimer sinceMain;
    sinceMain.start();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("TARVO2"));
    QApplication::setApplicationVersion(tarvo::versionText());
    QApplication::setOrganizationName(tarvo::kCompanyName);
    // Ties the windows to the menu entry tarvo2.desktop (its icon and name).
    QGuiApplication::setDesktopFileName(QStringLiteral("tarvo2"));
    QApplication::setWindowIcon(QIcon(QApplication::applicationDirPath() + "/Images/TARVO2.png"));

    tarvo::installFocusStyle();
    tarvo::installKeyboardRules();
    tarvo::installAccessibilityRules();

    tarvo::QtPlatform platform;
    tarvo::setPlatform(&platform);

    std::unique_ptr<StartupProbe> probe;
    if (qEnvironmentVariableIsSet("TARVO_MEASURE_STARTUP"))
        probe = std::make_unique<StartupProbe>(sinceMain);

    auto* splash = new tarvo::frmSplash;
    if (probe)
        probe->watchSplash(splash);
    splash->show();
    splash->load();
    return app.exec();
}
