#include "elide.h"

#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>

namespace tarvo {

namespace {
template <typename W> void apply(W* w, const QString& text, int room) {
    const QString shown = w->fontMetrics().elidedText(text, Qt::ElideRight, room);
    w->setText(shown);
    w->setToolTip(shown == text ? QString() : text);
    w->setAccessibleName(text);
}
} // namespace

void showElided(QLabel* label, const QString& text) {
    apply(label, text, label->contentsRect().width() - 2 * label->margin() - label->indent());
}

void showElided(QPushButton* button, const QString& caption) {
    QStyleOptionButton opt;
    opt.initFrom(button);
    const QRect inside =
        button->style()->subElementRect(QStyle::SE_PushButtonContents, &opt, button);
    apply(button, caption,
          inside.width() - 2 * button->style()->pixelMetric(QStyle::PM_ButtonMargin, &opt, button));
}

} // namespace tarvo
