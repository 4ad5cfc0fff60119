// TARVO2: plan a Morrowind character, then publish the plan.
#include "appinfo.h"
#include "shell/frmSplash.h"
#include "shell/qtplatform.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("TARVO2"));
    QApplication::setApplicationVersion(tarvo::versionText());
    QApplication::setOrganizationName(tarvo::kCompanyName);
    QApplication::setWindowIcon(QIcon(QApplication::applicationDirPath() + "/Images/TARVO2.png"));

    tarvo::QtPlatform platform;
    tarvo::setPlatform(&platform);

    auto* splash = new tarvo::frmSplash;
    splash->show();
    splash->load();
    return app.exec();
}
