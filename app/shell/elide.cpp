#include "elide.h"

#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionFrame>

namespace tarvo {

namespace {
template <typename W> void apply(W* w, const QString& text, int room) {
    const QString shown = w->fontMetrics().elidedText(text, Qt::ElideRight, room);
    w->setText(shown);
    w->setToolTip(shown == text ? QString() : text);
    w->setAccessibleName(text);
}

// The width a line edit has for its text: inside its frame, less its text
// margins and the two pixels it keeps clear on either side.
int textRoom(const QLineEdit* box) {
    QStyleOptionFrame opt;
    opt.initFrom(box);
    opt.lineWidth =
        box->hasFrame() ? box->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &opt, box) : 0;
    opt.state |= QStyle::State_Sunken;
    const QRect inside = box->style()
                             ->subElementRect(QStyle::SE_LineEditContents, &opt, box)
                             .marginsRemoved(box->textMargins());
    return inside.width() - 2 * 2;
}

// Keeps a box's whole text and shows it cut or whole as the focus comes
// and goes, or the box is resized.
class ElidedBox : public QObject {
public:
    explicit ElidedBox(QLineEdit* box) : QObject(box), m_box(box) { box->installEventFilter(this); }
    void setText(const QString& text) {
        m_text = text;
        show();
    }
    const QString& text() const { return m_text; }

protected:
    bool eventFilter(QObject* o, QEvent* e) override {
        if (o == m_box && (e->type() == QEvent::FocusIn || e->type() == QEvent::FocusOut ||
                           e->type() == QEvent::Resize || e->type() == QEvent::FontChange))
            show();
        return false;
    }

private:
    void show() {
        const QString shown =
            m_box->hasFocus()
                ? m_text
                : m_box->fontMetrics().elidedText(m_text, Qt::ElideRight, textRoom(m_box));
        if (m_box->text() != shown) {
            m_box->setText(shown);
            m_box->setCursorPosition(0);
        }
        // A summary line can always be read whole by hovering over it.
        m_box->setToolTip(m_text);
    }

    QLineEdit* m_box;
    QString m_text;
};

ElidedBox* elidedBoxOf(const QLineEdit* box) {
    for (QObject* o : box->children())
        if (auto* e = dynamic_cast<ElidedBox*>(o))
            return e;
    return nullptr;
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

void showElided(QLineEdit* box, const QString& text) {
    ElidedBox* e = elidedBoxOf(box);
    if (!e)
        e = new ElidedBox(box);
    e->setText(text);
}

QString wholeText(const QLineEdit* box) {
    const ElidedBox* e = elidedBoxOf(box);
    return e ? e->text() : box->text();
}

} // namespace tarvo
