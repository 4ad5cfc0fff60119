#include "clicklabel.h"

#include <QAccessibleWidget>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionFocusRect>

namespace tarvo {

namespace {

class ClickLabelAccessible : public QAccessibleWidget {
public:
    explicit ClickLabelAccessible(ClickLabel* label)
        : QAccessibleWidget(label, label->kind() == ClickLabel::Kind::Link ? QAccessible::Link
                                                                           : QAccessible::Button) {}

    ClickLabel* label() const { return static_cast<ClickLabel*>(widget()); }

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name && label()->accessibleName().isEmpty())
            return label()->text();
        return QAccessibleWidget::text(t);
    }
    QStringList actionNames() const override {
        return QStringList{pressAction()} + QAccessibleWidget::actionNames();
    }
    void doAction(const QString& action) override {
        if (action != pressAction()) {
            QAccessibleWidget::doAction(action);
            return;
        }
        if (label()->onClick && label()->isEnabled())
            label()->onClick();
    }
};

bool isActivation(const QKeyEvent* e) {
    const int k = e->key();
    return (k == Qt::Key_Space || k == Qt::Key_Return || k == Qt::Key_Enter) &&
           !(e->modifiers() & ~Qt::KeypadModifier);
}

} // namespace

ClickLabel::ClickLabel(QWidget* parent, Kind kind) : QLabel(parent), m_kind(kind) {
    if (kind != Kind::Plain) {
        setFocusPolicy(Qt::StrongFocus);
        setCursor(Qt::PointingHandCursor);
    }
}

void ClickLabel::keyPressEvent(QKeyEvent* e) {
    if (m_kind != Kind::Plain && onClick && isActivation(e)) {
        e->accept();
        onClick();
        return;
    }
    QLabel::keyPressEvent(e);
}

void ClickLabel::paintEvent(QPaintEvent* e) {
    QLabel::paintEvent(e);
    if (!hasFocus())
        return;
    QPainter p(this);
    QStyleOptionFocusRect focus;
    focus.initFrom(this);
    focus.backgroundColor = palette().color(QPalette::Window);
    style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &p, this);
}

void ClickLabel::mousePressEvent(QMouseEvent* e) {
    if (onClick)
        e->accept();
    else
        QLabel::mousePressEvent(e);
}

void ClickLabel::mouseReleaseEvent(QMouseEvent* e) {
    if (onClick && e->button() == Qt::LeftButton && rect().contains(e->position().toPoint())) {
        e->accept();
        onClick();
        return;
    }
    QLabel::mouseReleaseEvent(e);
}

QAccessibleInterface* clickLabelAccessible(QObject* object) {
    auto* label = dynamic_cast<ClickLabel*>(object);
    return label && label->kind() != ClickLabel::Kind::Plain ? new ClickLabelAccessible(label)
                                                             : nullptr;
}

} // namespace tarvo
