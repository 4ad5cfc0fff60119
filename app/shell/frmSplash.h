// The start-up window: records the program's version, reads the settings and
// after 800 ms hands over to the welcome window.
#pragma once

#include <QWidget>

class QLabel;
class QTimer;

namespace tarvo {

class frmSplash : public QWidget {
    Q_OBJECT
public:
    explicit frmSplash(QWidget* parent = nullptr);

    // Runs the loading steps; the hand-over timer starts when they are done.
    void load();

private:
    void arrangeLabels();
    void status(const QString& text);

    QLabel* m_status;
    QTimer* m_timer;
};

} // namespace tarvo
