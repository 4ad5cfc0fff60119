// The level-up planner's two tables as models: the plan (the attributes
// picked and each skill's increases, level by level, editable) and its
// outcome (attributes, Health and skills reached). Both tell their views
// only the cells that changed, so an edit repaints what it changes.
#pragma once

#include "levelplan.h"

#include <QAbstractTableModel>

namespace tarvo {

// The skills in the order the planner shows them: major, minor, then
// miscellaneous, each group in the game's order.
QList<int> plannerSkillOrder(const CharacterSheet& sheet);

class PlanModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit PlanModel(QObject* parent = nullptr);

    // Columns: the eight attributes (picked or not), then the skills.
    void setSheet(const CharacterSheet& sheet);
    void setPlan(const LevelPlan& plan, const QList<LevelOutcome>& outcome);
    // The skill of a column, -1 for an attribute's.
    int skillAt(int column) const;
    const QList<int>& skillColumns() const { return m_skills; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

signals:
    // The player changed a cell: the level as it now stands.
    void levelEdited(int row, const tarvo::PlannedLevel& level);

private:
    QList<int> m_skills;
    std::array<CharacterSheet::Group, kSkillCount> m_group{};
    QList<PlannedLevel> m_levels;
    std::array<bool, kSkillCount> m_excluded{};
    QList<LevelOutcome> m_outcome;
    SkillValues m_start{};
};

class OutcomeModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit OutcomeModel(QObject* parent = nullptr);

    // Columns: the eight attributes, Health, then skillColumns' skills.
    void setSkillColumns(const QList<int>& skillColumns);
    void setOutcome(const QList<LevelOutcome>& outcome);
    static constexpr int kHealthColumn = kAttributeCount;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    QList<int> m_skills;
    QList<LevelOutcome> m_outcome;
};

} // namespace tarvo
