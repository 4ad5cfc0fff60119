// "Forum Formatting Options": the user picks the message board (and whether
// to add the voting poll) and copies the profile marked up with that board's
// tags. While it is open the wizard's windows are hidden.
#pragma once

#include <QDialog>
#include <array>

class QCheckBox;
class QComboBox;
class QLabel;

namespace tarvo {

class frmFormatting : public QDialog {
    Q_OBJECT
public:
    // The one formatting window, loaded when needed.
    static frmFormatting* instance();
    static frmFormatting* ifLoaded();

    // Closes the window and gives the wizard's windows back.
    // Without giveBack (program end) the wizard's windows stay as they are.
    void unload(bool giveBack = true);
    void done(int result) override;

private:
    frmFormatting();
    void Form_Load();
    void cboMessageBoard_Click();
    void cmdCopy_Click();
    void cmdAdvanced_Click();

    QLabel* m_lblTitle = nullptr;
    QComboBox* m_cboMessageBoard = nullptr;
    QLabel* m_lblForumDescription = nullptr;
    std::array<QLabel*, 2> m_lblTags{};
    QCheckBox* m_chkAddVote = nullptr;
    bool m_unloaded = false;
};

// Opens the formatting window (menu item "Formatting (message board text)").
void showFormattingWindow();

} // namespace tarvo
