#include "profileactions.h"

#include "appfolder.h"
#include "character.h"
#include "output/frmLoad.h"
#include "platform.h"
#include "profile.h"
#include "shell/forms.h"

#include <QDir>

namespace tarvo {

namespace {

FileDialogSpec saveDialog(const QString& proposedName, const QString& folder,
                          const QString& typeLabel, const QString& typePattern,
                          const QString& suffix) {
    FileDialogSpec spec;
    spec.kind = FileDialogSpec::Kind::Save;
    spec.title = QStringLiteral("Save File As...");
    spec.filters = {{QStringLiteral("All Files (*.*)"), QStringLiteral("*.*")},
                    {typeLabel, typePattern}};
    spec.selectedFilter = 1;
    spec.defaultSuffix = suffix;
    spec.initialName = proposedName;
    spec.initialFolder = folder;
    spec.confirmOverwrite = true;
    return spec;
}

} // namespace

bool SaveInformation(const QString& fileName) {
    Character& c = character();
    QString file = fileName;
    if (file.isEmpty())
        file = GetSaveAsName(c.RealName() + QStringLiteral("'s Character"), dialogFolder());
    if (file.isEmpty())
        return false; // cancelled: nothing written, nothing marked saved

    // A lock left in a shared folder by another computer: the user decides.
    const auto takeOver = [&file](const QString& host) {
        return msgBox(QStringLiteral("%1 is locked by another computer (%2): TARVO2 may have "
                                     "stopped there while saving it.\n\nIf no one is saving this "
                                     "file on that computer now, TARVO2 can take the lock over "
                                     "and save your profile. Do you want to take it over?")
                          .arg(QDir::toNativeSeparators(file), host),
                      MsgButtons::YesNo, MsgIcon::Question) == MsgResult::Yes;
    };
    QString reason;
    if (!writeProfile(c, file, &reason, Durability::Durable, takeOver)) {
        msgBox(QStringLiteral("TARVO2 could not save your profile to %1: %2\n\n"
                              "Your character has not been saved. Please choose another file "
                              "or folder and try again.")
                   .arg(QDir::toNativeSeparators(file), reason),
               MsgButtons::OK, MsgIcon::Exclamation);
        return false;
    }
    c.markUnchanged();
    return true;
}

QString GetSaveAsName(const QString& proposedName, const QString& folder) {
    return platform().fileDialog(saveDialog(proposedName, folder,
                                            QStringLiteral("Morrowind Character Profile (.mwc)"),
                                            QStringLiteral("*.mwc"), QStringLiteral("mwc")));
}

QString GetSaveAsNameTextFile(const QString& proposedName, const QString& folder) {
    return platform().fileDialog(saveDialog(proposedName, folder,
                                            QStringLiteral("Text Document (*.txt)"),
                                            QStringLiteral("*.txt"), QStringLiteral("txt")));
}

void OpenLoaderFor(const QString& task) {
    if (task != QLatin1String("Profile") && task != QLatin1String("Template"))
        return;
    frmLoad* loader = forms::load();
    if (loader->isVisible()) {
        loader->raise();
    } else {
        loader->show();
    }
    loader->activateWindow();
    // Choosing the Profile option browses at once.
    if (task == QLatin1String("Profile"))
        loader->chooseOption(0);
}

} // namespace tarvo
