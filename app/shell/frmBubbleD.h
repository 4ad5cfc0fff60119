// The balloon tip: a small borderless window with a title and a text that
// vanishes five seconds after it appears or at once when clicked. Screen
// readers meet it as a notification and speak it as it shows.
#pragma once

#include <QPixmap>
#include <QWidget>

class QLabel;
class QPainter;
class QTimer;

namespace tarvo {

class frmBubbleD : public QWidget {
    Q_OBJECT
public:
    explicit frmBubbleD(QWidget* parent = nullptr);

    void setTexts(const QString& title, const QString& text);
    QString title() const;
    QString text() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void paintBalloon(QPainter& p) const;

    QLabel* m_title;
    QLabel* m_text;
    QLabel* m_arrowD;
    QLabel* m_arrowU;
    QTimer* m_vanish;
    QPixmap m_background;
};

// Shows the balloon at Left and Top (twips of the screen), moved as little as
// needed to lie wholly on the screen's visible area, and has screen readers
// speak its title and text. A balloon already on show takes the new texts
// and place and keeps its running timer.
void ShowBubble(const QString& title, const QString& text, int left, int top);
// The balloon on show, or nullptr.
frmBubbleD* currentBubble();
// Closes the balloon if one is on show.
void UnloadBubble();

} // namespace tarvo
