#include "textoutput.h"

#include "appfolder.h"
#include "character.h"
#include "output/frmFormatting.h"
#include "output/frmHTML.h"
#include "output/htmlroute.h"
#include "output/profileactions.h"
#include "platform.h"
#include "shell/forms.h"
#include "shell/frmAbout.h"
#include "shell/frmOptions.h"
#include "textexport.h"
#include "wizard/frmMain.h"

#include <QDir>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>

namespace tarvo {

namespace {

const QString kCompiler = QStringLiteral("txtDataCompiler");
// The exact composed text (line ends as written) rides along with the box.
const char* const kExactText = "exactText";

QAction* addItem(QMenu* menu, const char* name, const QString& caption, void (*handler)()) {
    QAction* a = menu->addAction(caption);
    a->setObjectName(QLatin1String(name));
    QObject::connect(a, &QAction::triggered, menu, [handler] { handler(); });
    return a;
}

// Opens menu right under button, at its left edge.
void popUpUnder(QMenu* menu, QPushButton* button) {
    menu->popup(button->mapToGlobal(QPoint(0, button->height())));
}

} // namespace

void buildTextOutput(frmMain* main, QPushButton* cmdSave, QPushButton* cmdCopy) {
    auto* compiler = new QPlainTextEdit(main);
    compiler->setObjectName(kCompiler);
    compiler->hide();

    auto* file = new QMenu(QStringLiteral("File"), main);
    file->setObjectName(QStringLiteral("mnuFile"));
    addItem(file, "mnuFileText", QStringLiteral("Text File"), &saveTextFile);
    addItem(file, "mnuFileHTML", QStringLiteral("HTML"),
            [] { openHtmlOutput(forms::mainIfLoaded()); });

    auto* copy = new QMenu(QStringLiteral("Copy"), main);
    copy->setObjectName(QStringLiteral("mnuCopy"));
    addItem(copy, "mnuCopyPlain", QStringLiteral("No formatting (plain text)"), &copyPlainText);
    addItem(copy, "mnuCopyRich", QStringLiteral("Formatting (message board text)"),
            &showFormattingWindow);
    copy->addSeparator()->setObjectName(QStringLiteral("mnuCopySep"));
    addItem(copy, "mnuCopyOptions", QStringLiteral("Formatting options..."), &showOptionsWindow);

    QObject::connect(cmdSave, &QPushButton::clicked, file,
                     [file, cmdSave] { popUpUnder(file, cmdSave); });
    QObject::connect(cmdCopy, &QPushButton::clicked, copy,
                     [copy, cmdCopy] { popUpUnder(copy, cmdCopy); });
}

void frmMain::Export(const QString& Tags) {
    setDataCompilerText(ExportText(Tags));
}

void frmMain::Export(const BoardChoice& choice) {
    setDataCompilerText(ExportText(choice));
}

void frmMain::setDataCompilerText(const QString& text) {
    auto* compiler = findChild<QPlainTextEdit*>(kCompiler);
    if (!compiler)
        return;
    compiler->setPlainText(text);
    compiler->setProperty(kExactText, text);
}

QString frmMain::dataCompilerText() const {
    const auto* compiler = findChild<QPlainTextEdit*>(kCompiler);
    return compiler ? compiler->property(kExactText).toString() : QString();
}

void sendProfileToClipboard(const QString& text, const QString& warning) {
    platform().setClipboardText(text);
    if (!warning.isEmpty())
        msgBox(warning, MsgButtons::OK, MsgIcon::Exclamation);
    platform().message(QStringLiteral("Your character profile information has been sent to the "
                                      "clipboard, you can now paste it into another program or "
                                      "message board."),
                       MsgButtons::OK, MsgIcon::Information, QStringLiteral("Data copied"));
    deleteClipboardData();
}

void copyPlainText() {
    frmMain* m = forms::main();
    m->Export(QStringLiteral("No"));
    sendProfileToClipboard(m->dataCompilerText());
}

void saveTextFile() {
    const QString file = GetSaveAsNameTextFile(
        character().RealName() + QStringLiteral("'s Character"), dialogFolder());
    if (file.isEmpty())
        return;
    frmMain* m = forms::main();
    m->Export(QStringLiteral("No"));
    QString reason;
    if (!writeChosenFile(file, (m->dataCompilerText() + QStringLiteral("\r\n")).toUtf8(), &reason))
        msgBox(QStringLiteral("TARVO2 could not save your profile as text to %1: %2\n\nThe file "
                              "has not been changed. Please choose another file or folder and try "
                              "again.")
                   .arg(QDir::toNativeSeparators(file), reason),
               MsgButtons::OK, MsgIcon::Exclamation);
}

void unloadTextOutputWindows() {
    if (frmFormatting* f = frmFormatting::ifLoaded())
        f->unload(false);
    if (frmOptions* o = frmOptions::ifLoaded())
        o->unload(false);
    if (frmAbout* a = frmAbout::ifLoaded())
        a->done(0);
    UnloadHtmlWizard();
}

} // namespace tarvo
