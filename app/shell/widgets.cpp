#include "widgets.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

namespace tarvo {

QString indexed(const QString& name, int i) {
    return QStringLiteral("%1(%2)").arg(name).arg(i);
}

QLabel* placeLabel(QLabel* label, const QString& name, const QRect& r, const LabelStyle& style) {
    label->setObjectName(name);
    label->setGeometry(r);
    label->setWordWrap(style.wrap);
    label->setAlignment(style.alignment);
    label->setTextFormat(Qt::PlainText);
    if (style.bold)
        setBold(label);
    return label;
}

QLabel* makeLabel(QWidget* parent, const QString& name, const QString& text, const QRect& r,
                  const LabelStyle& style) {
    return placeLabel(new QLabel(text, parent), name, r, style);
}

QPushButton* makeButton(QWidget* parent, const QString& name, const QString& caption,
                        const QRect& r, const QString& tip) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(name);
    if (r.isValid())
        b->setGeometry(r);
    b->setAutoDefault(false);
    b->setAccessibleName(QString(caption).remove(QLatin1Char('&')).trimmed());
    if (!tip.isEmpty()) {
        b->setToolTip(tip);
        b->setAccessibleDescription(tip);
    }
    return b;
}

QGroupBox* makeFrame(QWidget* parent, const QString& name, const QString& caption, const QRect& r) {
    auto* g = new QGroupBox(caption, parent);
    g->setObjectName(name);
    g->setGeometry(r);
    return g;
}

void setBold(QWidget* w, qreal scale) {
    QFont f = w->font();
    f.setBold(true);
    if (scale != 1.0)
        f.setPointSizeF(f.pointSizeF() * scale);
    w->setFont(f);
}

} // namespace tarvo
