// The progress window beside the wizard: the summary of every choice, the
// user's tasks with their reminder, and the name browser.
#pragma once

#include <QWidget>

#include <array>

class QCheckBox;
class QFrame;
class QKeyEvent;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace tarvo {

class NameBrowser;

class frmProgress : public QWidget {
    Q_OBJECT
public:
    frmProgress();
    ~frmProgress() override;

    // Run when the wizard enters its output step: highlights open tasks and
    // shows the reminder balloon when the reminder box is ticked.
    void runTaskReminder();
    // Shows the main window (Ctrl+W).
    void SwitchWindow();
    // Lets the program close this window (the user only hides it).
    void allowClose() { m_allowClose = true; }

    // --- the name browser (the wizard's "Suggest" buttons) ---------------------
    // Turns this window into the name browser for globals().NameCategory
    // ("Class" or "Character") and shows it.
    void openNameBrowser();
    // Puts the selected name into the wizard's class-name or character-name
    // box, as typing it there does, and closes the browser.
    void AddName();
    // Closes the browser and returns to the summary.
    void SuggestCancel();

    static constexpr int kTaskLines = 7;
    static constexpr int kTaskBoxes = 8;
    static constexpr int kSummaryBoxes = 11;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildSummary();
    void buildTasks();
    void optScreen_Click(int index);
    void renderSummary(int box);
    void renderTask(int i);
    // Form_KeyPress: true when the key was one of the window's own.
    bool handleKey(QKeyEvent* event);

    bool m_allowClose = false;
    std::array<QRadioButton*, 2> m_optScreen{};
    QPushButton* m_cmdInsert = nullptr;
    QPushButton* m_cmdCancel = nullptr;
    QFrame* m_fmeSummary = nullptr;
    QFrame* m_fmeProgress = nullptr;
    NameBrowser* m_names = nullptr; // the page fmeName
    std::array<QLineEdit*, kSummaryBoxes> m_summary{};
    std::array<QLineEdit*, kTaskLines> m_txtTask{};
    std::array<QCheckBox*, kTaskBoxes> m_chkTask{};
};

// A wizard's "Suggest" button: index 0 beside the class name, 1 beside the
// character name. Opens the name browser with a brief red flash.
void cmdSuggest_Click(int index);

} // namespace tarvo
