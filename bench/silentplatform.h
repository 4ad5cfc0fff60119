// A platform for benchmarks: every question is answered at once and nothing
// leaves the process.
#pragma once

#include "platform.h"

class SilentPlatform : public tarvo::Platform {
public:
    tarvo::MsgResult message(const QString&, tarvo::MsgButtons, tarvo::MsgIcon,
                             const QString&) override {
        return tarvo::MsgResult::OK;
    }
    std::optional<QString> input(const QString&, const QString&, const QString&) override {
        return std::nullopt;
    }
    QString fileDialog(const tarvo::FileDialogSpec&) override { return {}; }
    void open(const QString&) override {}
    bool start(const QString&) override { return false; }
    void setClipboardText(const QString&) override {}
    QString clipboardText() override { return {}; }
    void endProgram() override {}
};
