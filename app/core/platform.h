// Everything that leaves the process or would block a test goes through this
// seam: message and input boxes, file dialogs, opening addresses and files,
// starting programs, the clipboard and ending the program. The running
// program installs the Qt implementation; tests install a scripted one.
#pragma once

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>
#include <optional>

namespace tarvo {

enum class MsgIcon { None, Critical, Question, Exclamation, Information };
enum class MsgButtons { OK, OKCancel, YesNo, YesNoCancel };
enum class MsgResult { OK, Cancel, Yes, No };

struct FileDialogSpec {
    // Folder: an existing folder is chosen (filters and names do not apply).
    enum class Kind { Save, Open, Folder };
    Kind kind = Kind::Open;
    QString title;
    // Label and pattern of every filter, in order.
    QList<QPair<QString, QString>> filters;
    int selectedFilter = 0;
    // Added when the user types a name without extension (save dialogs).
    QString defaultSuffix;
    QString initialName;
    QString initialFolder;
    // Save dialogs ask before replacing an existing file.
    bool confirmOverwrite = false;
    // Open dialogs accept the typed name of a file that does not exist.
    bool acceptMissing = false;
};

class Platform {
public:
    virtual ~Platform() = default;

    // A modal message box; the title is the program's title unless given.
    virtual MsgResult message(const QString& text, MsgButtons buttons, MsgIcon icon,
                              const QString& title) = 0;
    // A modal input box; no value when the user cancels.
    virtual std::optional<QString> input(const QString& prompt, const QString& title,
                                         const QString& defaultText) = 0;
    // The chosen path, or an empty string when the user cancels.
    virtual QString fileDialog(const FileDialogSpec& spec) = 0;
    // The shell's "open": a web address in the browser, a file in its
    // program, a folder in the file manager. Whether it worked is not known.
    virtual void open(const QString& target) = 0;
    // Starts a program from its command line without waiting for it; false
    // when it could not be started.
    virtual bool start(const QString& commandLine) = 0;
    virtual void setClipboardText(const QString& text) = 0;
    virtual QString clipboardText() = 0;
    // Ends the program at once, without any window's closing questions.
    virtual void endProgram() = 0;
    // The names of the installed printers (the system's print queues) and of
    // the default one; empty where there is none.
    virtual QStringList printerNames() { return {}; }
    virtual QString defaultPrinterName() { return {}; }
    // Why the system's queue of that printer would not print a job now
    // (paused, not accepting jobs), for the user; empty when it would or when
    // the system cannot tell.
    virtual QString printerRefusal(const QString& printer) {
        Q_UNUSED(printer);
        return {};
    }
    // Right after a page went to a printer: why the system did not create the
    // job; empty when it did or when the system cannot tell.
    virtual QString printJobFailure() { return {}; }
};

Platform& platform();
// Installs p (not owned) and returns the previous one.
Platform* setPlatform(Platform* p);

// Shorthand for a message box titled with the program's title.
MsgResult msgBox(const QString& text, MsgButtons buttons = MsgButtons::OK,
                 MsgIcon icon = MsgIcon::None);

} // namespace tarvo
