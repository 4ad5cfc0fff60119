// The HTML output wizard: turns the current character into a code fragment
// or a whole page, previews it in the browser, saves or copies it, and lets
// the user unlock the code for editing by hand. While it is open the main
// and progress windows are hidden and disabled.
#pragma once

#include "htmlexport.h"

#include <QWidget>
#include <array>

class QAction;
class QCheckBox;
class QGroupBox;
class QLabel;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

namespace tarvo {

class frmHTML : public QWidget {
    Q_OBJECT
public:
    frmHTML();

    // Builds the code from the current options into the code window.
    void ExportHTML();

    // Closes without showing the main and progress windows again.
    void unload();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void Form_Load();
    void optOption_Click(int index);
    void optOption_MouseMove(int index);
    void fmeOptions_MouseMove();
    void cmdComponentOptions_Click();
    void mnuPOCComponents_Click(int index);
    void mnuPOTPage_Click();
    void mnuPOTTitlebar_Click();
    void cmdGenerate_Click();
    void cmdPreview_Click();
    void cmdSave_Click();
    void cmdCopy_Click();
    void cmdLoad_Click();
    void chkUnlock_Click(bool ticked);

    void Save();
    QString GetSaveAsNameHTML(const QString& defaultName, const QString& folder);
    void EnableCommands();
    void DisableCommands();
    void LockText();
    void UnlockText();
    void ResetBGControls();
    // The bubble after Preview, Save and Copy when the options changed since
    // the code was generated.
    void NotGeneratedHint();
    // The code window's text with its lines ended by CR LF, as generated.
    QString code() const;
    // Falls back to the code fragment when a page template cannot be read.
    void templateMissing(const QString& path, const QString& what);
    void applyFragment();

    HtmlPage m_page;
    bool m_givesBack = true;
    // "Yes" right after generating, "No" once an option changes.
    QString CodeUpToDate = QStringLiteral("Yes");
    // "True" while the window itself unticks the box after a refused unlock.
    QString CancelledUnlock = QStringLiteral("False");

    QLabel* m_lblTitle = nullptr;
    QLabel* m_lblID = nullptr;
    std::array<QGroupBox*, 3> m_fmeOptions{};
    std::array<QRadioButton*, 10> m_optOption{};
    QPushButton* m_cmdComponentOptions = nullptr;
    QPushButton* m_cmdGenerate = nullptr;
    QPlainTextEdit* m_txtOutput = nullptr;
    QCheckBox* m_chkUnlock = nullptr;
    QPushButton* m_cmdPreview = nullptr;
    QPushButton* m_cmdLoad = nullptr;
    QPushButton* m_cmdSave = nullptr;
    QPushButton* m_cmdCopy = nullptr;
    QPushButton* m_cmdClose = nullptr;
    QMenu* m_mnuPageOptions = nullptr;
    std::array<QAction*, 3> m_mnuPOCComponents{};
    QAction* m_mnuPOTPage = nullptr;
    QAction* m_mnuPOTTitlebar = nullptr;
};

// Opens the HTML output wizard (or brings the open one to the front).
frmHTML* ShowHtmlWizard();
// The wizard while it is open, else nullptr.
frmHTML* htmlWizardIfLoaded();
// Closes the wizard without giving the main and progress windows back
// (program end, tests).
void UnloadHtmlWizard();

} // namespace tarvo
