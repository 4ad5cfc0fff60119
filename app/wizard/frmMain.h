// The main window: the nine-step wizard that builds the current character.
#pragma once

#include <QWidget>

class QTimer;

namespace tarvo {

class frmMain : public QWidget {
    Q_OBJECT
public:
    frmMain();
    ~frmMain() override;

    // Selects step n (0 to 8) as a click on its step button does.
    void selectStep(int n);
    int currentStep() const;

    // Shows the progress window (Ctrl+W).
    void SwitchWindow();
    // Re-enables this window and the progress window 10 ms from now.
    void startEnableTimer();
    // Returns the progress window to its blue 100 ms from now.
    void startReturnBackgroundTimer();

    // Opens the loader for "Profile" or "Template".
    void OpenFile(const QString& task);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QTimer* m_tmrEnable = nullptr;
    QTimer* m_tmrReturnBackground = nullptr;
};

} // namespace tarvo
