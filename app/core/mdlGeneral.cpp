#include "mdlGeneral.h"

#include "appfolder.h"
#include "globals.h"
#include "ini/mdlVbNetIni.h"
#include "ini/safewrite.h"
#include "onlinelinks.h"
#include "platform.h"
#include "settings.h"

#include <QFile>
#include <QFileInfo>

namespace tarvo {

namespace {

// Copies a whole file over another through a temporary file, so that a
// failure leaves the target as it was.
bool copyOver(const QString& from, const QString& to) {
    QFile in(from);
    if (!QFileInfo(from).isFile() || !in.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = in.readAll();
    if (in.error() != QFileDevice::NoError)
        return false;
    // A settings file without write permission is read-only, as for the INI
    // layer, even for a user (root) who could override it.
    QFileInfo target(to);
    const auto writeBits =
        QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther;
    if (target.exists() &&
        (!target.isFile() || !target.isWritable() || !(target.permissions() & writeBits)))
        return false;
    return replaceFileContents(to, bytes, Durability::Durable);
}

// AppFolder followed by the setting's relative path, when the setting is set
// and the file is there.
QString installedPath(const QString& key) {
    const QString rel = ReadIniValue(QStringLiteral("Program"), key, QString(), settingsFile());
    if (rel.isEmpty())
        return {};
    const QString path = appPath(rel);
    return QFileInfo::exists(path) ? path : QString();
}

// Starts a program of the installation; false when it cannot be started.
bool startInstaller(const QString& key, const QString& fallback) {
    const QString name =
        ReadIniValue(QStringLiteral("installations"), key, fallback, installationsFile());
    if (name.isEmpty())
        return false;
    const QString path = appPath(QStringLiteral("\\") + name);
    if (!QFileInfo(path).isFile())
        return false;
    return platform().start(path);
}

} // namespace

void ReportSettingsProblem() {
    const MsgResult answer = msgBox(
        QStringLiteral(
            "There is a problem with the Settings.ini settings file that you are using. TARVO2 "
            "needs to access this file in order to function properly. You can attempt to repair "
            "this file by pressing OK and restarting the application, you can also attempt to run "
            "TARVO2 anyway by clicking Cancel although the program may become unstable. If this "
            "does not work, please reinstall TARVO2. For more information, see the Help Files."),
        MsgButtons::OKCancel, MsgIcon::Critical);
    if (answer == MsgResult::OK) {
        RepairSettingsFile();
        platform().endProgram();
    }
}

void RepairSettingsFile() {
    if (copyOver(pristineSettingsFile(), writableSettingsFile())) {
        msgBox(QStringLiteral("The repair attempt appears to have succeeded. You will need to "
                              "restart TARVO2 for changes to take effect."),
               MsgButtons::OK, MsgIcon::Information);
        return;
    }
    msgBox(QStringLiteral("The repair attempt appears to have failed, it is necessary to reinstall "
                          "TARVO2. See the help files for more information."),
           MsgButtons::OK, MsgIcon::Exclamation);
    StartReinstall();
}

void StartReinstall() {
    const MsgResult answer =
        msgBox(QStringLiteral("This will reinstall TARVO2, all settings will be lost. Do you wish "
                              "to close TARVO2 now and begin the reinstall?"),
               MsgButtons::YesNo, MsgIcon::Question);
    if (answer != MsgResult::Yes)
        return;
    if (!startInstaller(QStringLiteral("setup"), QStringLiteral("setup.exe"))) {
        msgBox(QStringLiteral("TARVO2 has found significant problems with your installations of "
                              "the Quenmark. These problems could not be overcome, sorry. Please "
                              "refer to the help files."),
               MsgButtons::OK, MsgIcon::Critical);
    }
    platform().endProgram();
}

void StartUninstall() {
    const MsgResult answer =
        msgBox(QStringLiteral(
                   "This will uninstall TARVO2, all unsaved data and settings will be lost, are "
                   "you sure you wish to close TARVO2 now and begin the uninstall?"),
               MsgButtons::YesNo, MsgIcon::Question);
    if (answer != MsgResult::Yes)
        return;
    if (!startInstaller(QStringLiteral("uninstall"), QStringLiteral("unins000.exe"))) {
        msgBox(QStringLiteral("An uninstall path or file could not be found, TARVO2 will now "
                              "attempt a reinstall. Please see the help files for more "
                              "information."),
               MsgButtons::OK, MsgIcon::Exclamation);
        StartReinstall();
        return;
    }
    platform().endProgram();
}

void OpenHelp() {
    const QString help = installedPath(QStringLiteral("iniHelp"));
    if (!help.isEmpty()) {
        platform().open(help);
        return;
    }
    const MsgResult answer =
        msgBox(QStringLiteral("No offline help module appears to be installed, would you like to "
                              "read the online guide to character creation on the Morrowind wiki?"),
               MsgButtons::YesNo, MsgIcon::Question);
    if (answer == MsgResult::Yes)
        OpenOnlineHelp();
}

void OpenLibrary() {
    const QString library = installedPath(QStringLiteral("iniLibrary"));
    if (!library.isEmpty()) {
        platform().open(library);
        return;
    }
    const MsgResult answer =
        msgBox(QStringLiteral("The offline library does not appear to be installed. Do you want "
                              "to navigate to the online library instead?"),
               MsgButtons::YesNo, MsgIcon::Information);
    if (answer != MsgResult::Yes)
        return;
    const QString domain = globals().Domain;
    const QString page = ReadIniValue(QStringLiteral("iniOther"), QStringLiteral("iniLibrary"),
                                      domain, externalLinksFile());
    openHomePage(domain, page);
}

void OpenOnlineHelp() {
    const QString page = ReadIniValue(QStringLiteral("iniOther"), QStringLiteral("iniHelp"),
                                      QString(), externalLinksFile());
    openHomePage(globals().Domain, page);
}

} // namespace tarvo
