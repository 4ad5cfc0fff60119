// The character sheet: the attributes, skills, Health, Magicka and Fatigue
// the game will give the planned character, its racial and birthsign
// effects, and a level-up planner with its optimiser and chart; it follows
// every choice as it is made.
#pragma once

#include "leveloptimiser.h"

#include <QWidget>

#include <optional>

class QLabel;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class QSpinBox;
class QTableView;
class QTabWidget;
class QTextEdit;

namespace tarvo {

class LevelChart;
class OutcomeModel;
class PlanModel;

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
    QWidget* buildPlanPage();
    // What the planner's page says and allows by the current rules.
    void showRules();
    // The planner's page from the character's plan: only what changed.
    void showPlan();
    QString resultText(const AttributeValues& targets) const;
    void levelEdited(int row, const PlannedLevel& level);
    void levelsChanged(int highest);
    void targetEdited();
    void exclusionEdited(QListWidgetItem* item);
    // Runs the optimiser for the levels after the first keep.
    void planLevels(int keep);
    void saveChart();
    void sizeColumns();

    QTabWidget* m_tabs = nullptr;
    QTextEdit* m_txtSheet = nullptr;
    QPushButton* m_cmdCopyText = nullptr;
    QPushButton* m_cmdCopyMarkdown = nullptr;
    QPushButton* m_cmdClose = nullptr;
    QLabel* m_lblReminder = nullptr;
    std::array<QSpinBox*, kAttributeCount> m_spnTarget{};
    QListWidget* m_lstExcluded = nullptr;
    QPushButton* m_cmdPlan = nullptr;
    QPushButton* m_cmdReplan = nullptr;
    QPushButton* m_cmdSaveChart = nullptr;
    QSpinBox* m_spnLevels = nullptr;
    QLabel* m_lblResult = nullptr;
    QTableView* m_tblPlan = nullptr;
    QTableView* m_tblOutcome = nullptr;
    LevelChart* m_chart = nullptr;
    QListWidget* m_lstWarnings = nullptr;
    PlanModel* m_planModel = nullptr;
    OutcomeModel* m_outcomeModel = nullptr;

    CharacterSheet m_sheet;
    QList<LevelOutcome> m_outcome;
    QString m_shownSheet;
    QStringList m_shownWarnings;
    QList<int> m_sizedColumns;
    // The optimiser's last plan, while the character's plan is still it.
    std::optional<OptimisedPlan> m_optimised;
    bool m_showing = false;
};

// Opens the character sheet (once; a second call raises it).
frmSheet* showCharacterSheet();

} // namespace tarvo
