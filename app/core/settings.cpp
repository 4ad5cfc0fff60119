#include "settings.h"

#include "appfolder.h"
#include "appinfo.h"
#include "globals.h"
#include "ini/mdlVbNetIni.h"
#include "mdlGeneral.h"
#include "reftables.h"

namespace tarvo {

namespace {
const QString kSettings = QStringLiteral("/Data/Settings.ini");
const QString kVersions = QStringLiteral("\\data\\versions.ini");
} // namespace

QString settingsFile() {
    return readablePath(kSettings);
}
QString writableSettingsFile() {
    return writablePath(kSettings, true);
}
QString pristineSettingsFile() {
    return appPath(QStringLiteral("/help/settings.ini"));
}
QString versionsFile() {
    return readablePath(kVersions);
}
QString writableVersionsFile() {
    return writablePath(kVersions, true);
}
QString installationsFile() {
    return readablePath(QStringLiteral("/help/installations.ini"));
}
QString writableInstallationsFile() {
    return writablePath(QStringLiteral("/help/installations.ini"), true);
}
QString externalLinksFile() {
    return appPath(QStringLiteral("\\data\\websites\\external links.ini"));
}

namespace {
const QString kGame = QStringLiteral("Game");
QString yesNo(bool b) {
    return b ? QStringLiteral("Yes") : QStringLiteral("No");
}
} // namespace

GameChoice readGameChoice() {
    const QString file = settingsFile();
    const auto read = [&](const char* key) {
        return ReadIniValue(kGame, QLatin1String(key), QString(), file);
    };
    GameChoice c;
    c.useGame = read("iniUseGame") == QLatin1String("Yes");
    c.path = read("iniGamePath");
    c.openmwUserData = read("iniOpenMWUserData");
    c.asked = read("iniGameAsked") == QLatin1String("Yes");
    return c;
}

bool writeGameChoice(const GameChoice& c) {
    const QString file = writableSettingsFile();
    return WriteIniValue(kGame, QStringLiteral("iniUseGame"), yesNo(c.useGame), file) &&
           WriteIniValue(kGame, QStringLiteral("iniGamePath"), c.path, file) &&
           WriteIniValue(kGame, QStringLiteral("iniOpenMWUserData"), c.openmwUserData, file) &&
           WriteIniValue(kGame, QStringLiteral("iniGameAsked"), yesNo(c.asked), file);
}

bool WriteProgramVersion() {
    return WriteIniValue(QStringLiteral("versions"), QStringLiteral("program"), versionText(),
                         writableVersionsFile());
}

void LoadSettingsFile(const std::function<void(const QString&)>& status) {
    Globals& g = globals();
    status(QStringLiteral("...loading global definitions..."));
    g.StepTasks = stepTasks();
    status(QStringLiteral("...global definitions loaded!"));

    const QString file = settingsFile();
    const QString program = QStringLiteral("Program");
    status(QStringLiteral("Accessing settings file..."));
    status(QStringLiteral("...determining run status..."));
    g.FirstRun = ReadIniValue(program, QStringLiteral("iniFirstRun"), QStringLiteral("No"), file);
    status(QStringLiteral("...status determined!"));
    status(QStringLiteral("...determining advanced features..."));
    g.ShowAdvancedFeatures = ReadIniValue(program, QStringLiteral("iniShowAdvancedFeatures"),
                                          QStringLiteral("No"), file);
    status(QStringLiteral("...advanced features determined!"));
    status(QStringLiteral("Determining domains..."));
    g.Domain = ReadIniValue(program, QStringLiteral("iniDomain"), QString(), file);
    status(QStringLiteral("...varifying domain..."));
    if (!g.Domain.isEmpty()) {
        status(QStringLiteral("...domain varified!"));
        status(QStringLiteral("Operations Completed! Loading welcome screen, standby..."));
    } else {
        ReportSettingsProblem();
    }
}

} // namespace tarvo
