#include "platform.h"

#include "appinfo.h"

namespace tarvo {

namespace {
Platform*& current() {
    static Platform* p = nullptr;
    return p;
}
} // namespace

Platform& platform() {
    Q_ASSERT_X(current(), "platform", "no platform installed");
    return *current();
}

Platform* setPlatform(Platform* p) {
    Platform* old = current();
    current() = p;
    return old;
}

MsgResult msgBox(const QString& text, MsgButtons buttons, MsgIcon icon) {
    return platform().message(text, buttons, icon, kProgramTitle);
}

} // namespace tarvo
