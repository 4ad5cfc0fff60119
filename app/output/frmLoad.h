// The loader: lists the shipped templates, browses for saved profiles and
// applies the chosen file to the wizard.
#pragma once

#include "gamefiles/gamecontent.h"

#include <QWidget>

#include <memory>

class QButtonGroup;
class QLabel;
class QListWidget;
class QPushButton;
class QTimer;

namespace tarvo {

class frmLoad : public QWidget {
    Q_OBJECT
public:
    frmLoad();

    // The full path of the file that OK (or the browse timer) applies.
    QString SelectedFile;

    // Applies SelectedFile to the wizard and the progress window, with or
    // without this window on show. A file that cannot be applied is named in
    // a message and changes nothing; false then.
    bool FileToProgram();

    // Asks before unsaved changes are lost, applies SelectedFile, shows the
    // review step and closes the loader.
    void OpenFile();

    // Selects option 0 (browse for a profile, at once) or 1 (the template
    // list) as a click on it does.
    void chooseOption(int index);

    // The open dialog for a profile; empty when the user cancels.
    QString GetOpenName(const QString& folder);

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void Form_Load();
    void optButton_Click(int index);
    void lstDisplay_Click(int row);
    void tmrLoadProfile_Timer();
    void loadPictures();

    QPushButton* m_optButton[2] = {};
    QButtonGroup* m_options = nullptr;
    QListWidget* m_lstDisplay = nullptr;
    QLabel* m_lblName[3] = {};
    QLabel* m_lblStrength = nullptr;
    QLabel* m_lblWeakness = nullptr;
    QLabel* m_lblDescription = nullptr;
    QLabel* m_lblAuthor = nullptr;
    QPushButton* m_cmdOK = nullptr;
    QPushButton* m_cmdCancel = nullptr;
    QTimer* m_tmrLoadProfile = nullptr;
    // The player's game and its playable classes, listed after the
    // templates (each item's data is its place here).
    std::shared_ptr<const gamefiles::GameContent> m_game;
    QList<const gamefiles::Versioned<gamefiles::GameClass>*> m_gameClasses;
};

} // namespace tarvo
