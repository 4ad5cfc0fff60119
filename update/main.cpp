// The update checker: one window that fetches the list of updates, compares
// it with the installed versions and downloads what the user picks.
#include "appinfo.h"
#include "frmMain.h"
#include "shell/qtplatform.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("TARVO2"));
    QApplication::setOrganizationName(tarvo::kCompanyName);
    // The desktop entry of TARVO2 gives the window its icon and name where
    // the window system asks for it (Wayland).
    QGuiApplication::setDesktopFileName(QStringLiteral("tarvo2"));
    tarvo::QtPlatform platform;
    tarvo::setPlatform(&platform);
    tarvo::update::frmMain window;
    window.show();
    return app.exec();
}
