// The few ways every window makes its labels, buttons and frames: named,
// placed, and readable by a screen reader.
#pragma once

#include <QRect>
#include <QString>

class QGroupBox;
class QLabel;
class QPushButton;
class QWidget;

namespace tarvo {

// "name(i)": the object name of a member of a control array.
QString indexed(const QString& name, int i);
inline QString indexed(const char* name, int i) {
    return indexed(QLatin1String(name), i);
}

struct LabelStyle {
    bool wrap = true;
    Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignTop;
    bool bold = false;
};

// A label showing text as it stands (never read as rich text).
QLabel* makeLabel(QWidget* parent, const QString& name, const QString& text, const QRect& r,
                  const LabelStyle& style = {});
// The same for a label of the caller's own kind.
QLabel* placeLabel(QLabel* label, const QString& name, const QRect& r,
                   const LabelStyle& style = {});

// A button that Enter presses only when it has the focus (or is the
// window's default); a tip, when given, is its tool tip and what a screen
// reader says after its name. An empty rectangle leaves it to a layout.
QPushButton* makeButton(QWidget* parent, const QString& name, const QString& caption,
                        const QRect& r = {}, const QString& tip = {});

// A captioned frame.
QGroupBox* makeFrame(QWidget* parent, const QString& name, const QString& caption, const QRect& r);

// Makes a widget's font bold, scaled by scale.
void setBold(QWidget* w, qreal scale = 1.0);

} // namespace tarvo
