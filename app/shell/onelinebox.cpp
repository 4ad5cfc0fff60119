#include "shell/onelinebox.h"

#include <QLineEdit>
#include <QValidator>

namespace tarvo {

namespace {

class OneLineValidator : public QValidator {
public:
    using QValidator::QValidator;

    State validate(QString& input, int& pos) const override {
        QString out;
        out.reserve(input.size());
        int newPos = pos;
        for (qsizetype i = 0; i < input.size(); ++i) {
            const QChar c = input[i];
            const bool before = i < pos;
            if (c == u'\r' && i + 1 < input.size() && input[i + 1] == u'\n') {
                // CR LF is one line break: the LF below becomes the blank.
                if (before)
                    --newPos;
                continue;
            }
            if (c == u'\r' || c == u'\n' || c == QChar(0x2028) || c == QChar(0x2029)) {
                out.append(u' ');
                continue;
            }
            const bool lone = (c.isHighSurrogate() &&
                               (i + 1 >= input.size() || !input[i + 1].isLowSurrogate())) ||
                              (c.isLowSurrogate() && (i == 0 || !input[i - 1].isHighSurrogate()));
            if (c == u'\0' || lone) {
                if (before)
                    --newPos;
                continue;
            }
            out.append(c);
        }
        if (out != input) {
            input = out;
            pos = qBound(0, newPos, int(out.size()));
        }
        return Acceptable;
    }
};

} // namespace

void makeOneLine(QLineEdit* box) {
    box->setValidator(new OneLineValidator(box));
}

} // namespace tarvo
