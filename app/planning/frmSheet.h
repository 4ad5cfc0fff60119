// The character sheet: the attributes, skills, Health, Magicka and Fatigue
// the game will give the planned character, its racial and birthsign
// effects, and a level-up planner; it follows every choice as it is made.
#pragma once

#include "gamerules.h"

#include <QWidget>

class QLabel;
class QListWidget;
class QPushButton;
class QSpinBox;
class QTableWidget;
class QTabWidget;
class QTextEdit;

namespace tarvo {

class frmSheet : public QWidget {
    Q_OBJECT
public:
    frmSheet();

    // Shows the current character's numbers again.
    void refresh();
    // The sheet as the copy commands put it on the clipboard.
    QString sheetAsText(bool markdown) const;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void planEdited();
    void levelsChanged(int highest);
    void showPlan();

    QTabWidget* m_tabs = nullptr;
    QTextEdit* m_txtSheet = nullptr;
    QPushButton* m_cmdCopyText = nullptr;
    QPushButton* m_cmdCopyMarkdown = nullptr;
    QPushButton* m_cmdClose = nullptr;
    QLabel* m_lblReminder = nullptr;
    QSpinBox* m_spnLevels = nullptr;
    QTableWidget* m_tblPlan = nullptr;
    QTableWidget* m_tblOutcome = nullptr;
    QListWidget* m_lstWarnings = nullptr;
    CharacterSheet m_sheet;
    bool m_showing = false;
};

// Opens the character sheet (once; a second call raises it).
frmSheet* showCharacterSheet();

} // namespace tarvo
