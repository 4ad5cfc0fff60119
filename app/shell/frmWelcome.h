// The welcome window: the ways to begin a character and two outward links.
#pragma once

#include <QWidget>

#include <array>

class QLabel;
class QPushButton;

namespace tarvo {

class frmWelcome : public QWidget {
    Q_OBJECT
public:
    frmWelcome();

    // The text shown below the picture before the mouse rests on a button.
    static QString defaultDescription();

protected:
    void closeEvent(QCloseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Form_Load();
    void cmdCreate_Click(int index);
    void cmdBrowse_Click(int index);
    // The description of the control under the mouse or with the focus;
    // nothing for a control without one.
    void describe(QObject* control);

    QLabel* m_lblTitle = nullptr;
    std::array<QLabel*, 2> m_lblID{};
    std::array<QPushButton*, 4> m_cmdCreate{};
    std::array<QPushButton*, 2> m_cmdBrowse{};
    QLabel* m_imgMain = nullptr;
    QLabel* m_lblDescription = nullptr;
    QLabel* m_lblVersion = nullptr;
};

} // namespace tarvo
