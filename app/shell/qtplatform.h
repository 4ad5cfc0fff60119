// The platform seam as the running program uses it: Qt's message boxes,
// dialogs, desktop services, processes and clipboard.
#pragma once

#include "platform.h"

namespace tarvo {

class QtPlatform : public Platform {
public:
    MsgResult message(const QString& text, MsgButtons buttons, MsgIcon icon,
                      const QString& title) override;
    std::optional<QString> input(const QString& prompt, const QString& title,
                                 const QString& defaultText) override;
    QString fileDialog(const FileDialogSpec& spec) override;
    void open(const QString& target) override;
    bool start(const QString& commandLine) override;
    void setClipboardText(const QString& text) override;
    QString clipboardText() override;
    void endProgram() override;
    QStringList printerNames() override;
    QString defaultPrinterName() override;
    QString printerRefusal(const QString& printer) override;
    QString printJobFailure() override;
};

} // namespace tarvo
