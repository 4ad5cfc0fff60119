// A label that answers a click: the review's status marks and the online
// links. A button or a link also takes the focus (Tab) and answers Space and
// Enter, shows the focus ring, and is met by a screen reader as a button or
// a link it can press; a plain one stays text to the keyboard and to a screen
// reader.
#pragma once

#include <QLabel>

#include <functional>

class QAccessibleInterface;

namespace tarvo {

class ClickLabel : public QLabel {
public:
    enum class Kind { Plain, Button, Link };

    // Give the text after construction: a label is known to a screen reader
    // from its first text on.
    explicit ClickLabel(QWidget* parent, Kind kind = Kind::Plain);

    Kind kind() const { return m_kind; }
    // What a click (or Space or Enter on a button or link) does.
    std::function<void()> onClick;

protected:
    void keyPressEvent(QKeyEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;

private:
    const Kind m_kind;
};

// The screen reader's view of a button or link label; nullptr for anything
// else (shell/accessibility.h installs it).
QAccessibleInterface* clickLabelAccessible(QObject* object);

} // namespace tarvo
