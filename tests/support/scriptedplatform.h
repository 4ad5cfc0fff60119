// A platform for tests: answers are queued ahead, everything the program
// tries to show, open or start is recorded.
#pragma once

#include "platform.h"

#include <QQueue>
#include <QStringList>
#include <QTemporaryDir>

class QWidget;

namespace tarvo::test {

struct ShownMessage {
    QString text;
    MsgButtons buttons;
    MsgIcon icon;
    QString title;
};

class ScriptedPlatform : public Platform {
public:
    ScriptedPlatform();
    ~ScriptedPlatform() override;

    // Answers for the coming message boxes, in order. Without one queued a
    // box answers OK, Yes... (its first button).
    void setNextAnswer(MsgResult answer) { answers.enqueue(answer); }
    // Results of the coming file dialogs (an empty string cancels).
    void setNextFile(const QString& path) { files.enqueue(path); }
    // Results of the coming input boxes (no value cancels).
    void setNextInput(std::optional<QString> text) { inputs.enqueue(text); }
    // Makes the coming program starts fail.
    bool startFails = false;

    MsgResult message(const QString& text, MsgButtons buttons, MsgIcon icon,
                      const QString& title) override;
    std::optional<QString> input(const QString& prompt, const QString& title,
                                 const QString& defaultText) override;
    QString fileDialog(const FileDialogSpec& spec) override;
    void open(const QString& target) override;
    bool start(const QString& commandLine) override;
    void setClipboardText(const QString& text) override { clipboard = text; }
    QString clipboardText() override { return clipboard; }
    void endProgram() override { ended = true; }
    QStringList printerNames() override { return printers; }
    QString defaultPrinterName() override { return defaultPrinter; }

    // The last message shown, or an empty one.
    ShownMessage lastMessage() const {
        return messages.isEmpty() ? ShownMessage{} : messages.last();
    }

    QQueue<MsgResult> answers;
    QQueue<QString> files;
    QQueue<std::optional<QString>> inputs;
    QList<ShownMessage> messages;
    QList<FileDialogSpec> dialogs;
    QStringList opened;
    QStringList started;
    QString clipboard;
    bool ended = false;
    // The printers the program sees (none unless a test names some).
    QStringList printers;
    QString defaultPrinter;

private:
    Platform* m_previous;
};

// A private copy of the staged program folder that the program under test
// uses as its AppFolder, removed afterwards. The usual places of the
// player's game are looked for inside it.
class TempAppFolder {
public:
    // With copyData false the folder starts empty.
    explicit TempAppFolder(bool copyData = true);
    ~TempAppFolder();
    QString path() const { return m_dir.path(); }
    // AppFolder + a relative path ("Data/Settings.ini").
    QString file(const QString& relative) const { return m_dir.filePath(relative); }
    // Writes a file (folders created), as raw bytes.
    void write(const QString& relative, const QByteArray& bytes) const;
    QByteArray read(const QString& relative) const;

private:
    QTemporaryDir m_dir;
};

// The top-level window of that object name, or nullptr.
QWidget* findTopLevel(const QString& objectName);
// Deletes the top-level windows of those names (windows forms:: does not
// know).
void deleteTopLevels(const QStringList& objectNames);

} // namespace tarvo::test
