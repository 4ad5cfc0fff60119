// The progress window beside the wizard: the summary of every choice, the
// user's tasks with their reminder, and the name browser.
#pragma once

#include <QWidget>

namespace tarvo {

class frmProgress : public QWidget {
    Q_OBJECT
public:
    frmProgress();

    // Run when the wizard enters its output step: highlights open tasks and
    // shows the reminder balloon when the reminder box is ticked.
    void runTaskReminder();
    // Shows the main window (Ctrl+W).
    void SwitchWindow();
    // Lets the program close this window (the user only hides it).
    void allowClose() { m_allowClose = true; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    bool m_allowClose = false;
};

} // namespace tarvo
