// The options window: the message boards' tag sets, a few keys of the
// settings file and the installer names; it repairs the settings file and
// opens the about window. While it is loaded (shown or not) the wizard's
// windows are disabled.
#pragma once

#include "yourgame.h"

#include <QDialog>
#include <array>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QTimer;

namespace tarvo {

class frmOptions : public QDialog {
    Q_OBJECT
public:
    // The one options window, loaded (not shown) when needed.
    static frmOptions* instance();
    // The window if it is loaded, without loading it.
    static frmOptions* ifLoaded();

    // Writes the board on show to the tag-set file and makes it the chosen
    // board of the settings. Without a board on show nothing is written.
    // False when a file could not be written: the user was told, or, when
    // failedFile is given, the file is put there for the caller to tell.
    bool SaveMessageBoard(QString* failedFile = nullptr);
    // Shows the board named name as a click on it in the list does; false
    // when the list has no such board.
    bool selectBoard(const QString& name);
    // Hides the wizard's windows 5 ms from now.
    void startHideTimer();
    // Closes the window without writing and gives the wizard back.
    // Without giveBack (program end) the wizard's windows stay as they are.
    void unload(bool giveBack = true);
    bool shownOnce() const { return m_shownOnce; }
    // The choice on the "Your game" page, written by OK.
    const GameChoice& gameChoice() const { return m_gameChoice; }

    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    frmOptions();
    void buildProgramFrame(QGroupBox* f);
    void buildSettingsFrame(QGroupBox* f);
    void buildInstallationsFrame(QGroupBox* f);
    void buildGameFrame(QGroupBox* f);
    // The "Your game" page: the places found and the stored choice, the
    // first time it shows.
    void showGamePage();
    // Shows the load order of the game the page's choice points at.
    void showGame(const GameChoice& choice);
    void lstGameLocations_Click(int row);
    void cmdGame_Click(bool openmw);
    // Writes the page's choice when it differs from the stored one.
    bool saveGameChoice();
    void Form_Load();
    void optNav_Click(int index);
    void cboMessageBoard_Click();
    void chkSettings_Click(int index);
    void cmdSettings_Click(int index);
    void cmdInstallations_Click(int index);
    void cmdOK_Click();
    void cmdDisclaimer_Click();
    void tmrHide_Timer();
    // Writes one settings key; false (and a message naming the file) when
    // it could not be written.
    bool writeSetting(const QString& section, const QString& key, const QString& value);

    std::array<QRadioButton*, 4> m_optNav{};
    std::array<QGroupBox*, 4> m_fmeSection{};
    QComboBox* m_cboMessageBoard = nullptr;
    QPlainTextEdit* m_txtForumDescription = nullptr;
    std::array<QLineEdit*, 8> m_txtTags{};
    QCheckBox* m_chkMessageBoard = nullptr;
    QCheckBox* m_chkAddVote = nullptr;
    QCheckBox* m_chkProgram = nullptr;
    std::array<QCheckBox*, 3> m_chkSettings{};
    std::array<QLineEdit*, 2> m_txtSettings{};
    QLineEdit* m_txtDomain = nullptr;
    QLineEdit* m_txtHelp = nullptr;
    std::array<QLineEdit*, 2> m_txtInstallations{};
    QListWidget* m_lstMessageBoard = nullptr;
    std::array<QRadioButton*, 2> m_optGame{};
    QListWidget* m_lstGameLocations = nullptr;
    QLineEdit* m_txtGamePath = nullptr;
    QListWidget* m_lstLoadOrder = nullptr;
    QLabel* m_lblGameStatus = nullptr;
    QList<gamefiles::GameLocation> m_gameLocations;
    GameChoice m_gameChoice;
    GameRead m_gameRead;
    bool m_gamePageReady = false;
    QPushButton* m_cmdOK = nullptr;
    QTimer* m_tmrHide = nullptr;
    bool m_shownOnce = false;
    bool m_unloaded = false;
    bool m_hidWizard = false;
};

// Shows the options window (loading it when needed) and brings it forward.
void showOptionsWindow();

// Why a file of the program could not be written, for the user ("the file
// is read-only.").
QString writeFailureReason(const QString& path);

} // namespace tarvo
