// TARVO2: plan a Morrowind character, then publish the plan.
#include "appinfo.h"
#include "shell/focusstyle.h"
#include "shell/frmSplash.h"
#include "shell/keyboard.h"
#include "shell/qtplatform.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QIcon>
#include <QTimer>
#include <cstdio>
#include <memory>

namespace {

// With TARVO_MEASURE_STARTUP set (scripts/measure-startup.sh), the program
// prints the milliseconds from its start to the splash and to the welcome
// window, and its peak memory, then quits at the welcome window. Where the
// process start time is known the times count from it, else from the top of
// main.
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

    void report(const char* what) const {
        const qint64 ms = qMax<qint64>(0, m_offset + m_sinceMain.elapsed());
        std::printf("%s %lld\n", what, static_cast<long long>(ms));
        std::fflush(stdout);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show && watched->objectName() == QLatin1String("frmWelcome")) {
            report("welcome-shown");
#ifdef Q_OS_LINUX
            QFile status(QStringLiteral("/proc/self/status"));
            if (status.open(QIODevice::ReadOnly))
                for (const QByteArray& line : status.readAll().split('\n'))
                    if (line.startsWith("VmHWM:"))
                        std::printf("peak-rss-kb %s\n",
                                    line.mid(6).trimmed().split(' ')[0].constData());
#endif
            std::fflush(stdout);
            QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        }
        return false;
    }

private:
    const QElapsedTimer& m_sinceMain;
    qint64 m_offset = 0;
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

    tarvo::QtPlatform platform;
    tarvo::setPlatform(&platform);

    std::unique_ptr<StartupProbe> probe;
    if (qEnvironmentVariableIsSet("TARVO_MEASURE_STARTUP"))
        probe = std::make_unique<StartupProbe>(sinceMain);

    auto* splash = new tarvo::frmSplash;
    splash->show();
    if (probe) {
        QCoreApplication::processEvents();
        probe->report("splash-shown");
    }
    splash->load();
    return app.exec();
}
