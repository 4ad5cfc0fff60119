#include "planmodels.h"

#include "reftables.h"

#include <QBrush>
#include <QPalette>

namespace tarvo {

namespace {

QString groupName(CharacterSheet::Group g) {
    switch (g) {
    case CharacterSheet::Group::Major:
        return QStringLiteral("major");
    case CharacterSheet::Group::Minor:
        return QStringLiteral("minor");
    case CharacterSheet::Group::Misc:
        break;
    }
    return QStringLiteral("miscellaneous");
}

QString levelName(int row) {
    return QStringLiteral("Level %1").arg(row + 2);
}

// What a row of the outcome table shows.
bool sameRow(const LevelOutcome& a, const LevelOutcome& b) {
    return a.level == b.level && a.attributes == b.attributes && a.bonus == b.bonus &&
           a.healthTenths / 10 == b.healthTenths / 10 && a.skills == b.skills;
}

} // namespace

QList<int> plannerSkillOrder(const CharacterSheet& sheet) {
    QList<int> order;
    for (auto g :
         {CharacterSheet::Group::Major, CharacterSheet::Group::Minor, CharacterSheet::Group::Misc})
        for (int s = 0; s < kSkillCount; ++s)
            if (sheet.group[size_t(s)] == g)
                order << s;
    return order;
}

// --- the plan -------------------------------------------------------------------

PlanModel::PlanModel(QObject* parent) : QAbstractTableModel(parent) {
    for (int s = 0; s < kSkillCount; ++s)
        m_skills << s;
    m_group.fill(CharacterSheet::Group::Misc);
}

void PlanModel::setSheet(const CharacterSheet& sheet) {
    const QList<int> order = plannerSkillOrder(sheet);
    m_start = sheet.skills;
    if (order == m_skills && sheet.group == m_group)
        return;
    m_skills = order;
    m_group = sheet.group;
    emit headerDataChanged(Qt::Horizontal, kAttributeCount, columnCount() - 1);
    if (!m_levels.isEmpty())
        emit dataChanged(index(0, kAttributeCount), index(rowCount() - 1, columnCount() - 1));
}

void PlanModel::setPlan(const LevelPlan& plan, const QList<LevelOutcome>& outcome) {
    m_outcome = outcome;
    const int common = int(std::min(m_levels.size(), plan.levels.size()));
    if (plan.levels.size() < m_levels.size()) {
        beginRemoveRows({}, common, int(m_levels.size()) - 1);
        m_levels.resize(common);
        endRemoveRows();
    }
    const int last = columnCount() - 1;
    int first = -1, end = -1; // changed rows
    for (int r = 0; r < common; ++r)
        if (!(m_levels[r] == plan.levels[r])) {
            m_levels[r] = plan.levels[r];
            first = first < 0 ? r : first;
            end = r;
        }
    if (first >= 0)
        emit dataChanged(index(first, 0), index(end, last));
    if (plan.excluded != m_excluded) {
        m_excluded = plan.excluded;
        if (common > 0)
            emit dataChanged(index(0, kAttributeCount), index(common - 1, last));
    }
    if (plan.levels.size() > m_levels.size()) {
        beginInsertRows({}, common, int(plan.levels.size()) - 1);
        m_levels = plan.levels;
        endInsertRows();
    }
}

int PlanModel::skillAt(int column) const {
    return column >= kAttributeCount && column - kAttributeCount < m_skills.size()
               ? m_skills[column - kAttributeCount]
               : -1;
}

int PlanModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_levels.size());
}

int PlanModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kAttributeCount + kSkillCount;
}

QVariant PlanModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= m_levels.size())
        return {};
    const PlannedLevel& level = m_levels[index.row()];
    const int column = index.column();
    if (column < kAttributeCount) {
        const bool picked = level.picks[size_t(column)];
        switch (role) {
        case Qt::CheckStateRole:
            return picked ? Qt::Checked : Qt::Unchecked;
        case Qt::ToolTipRole:
        case Qt::AccessibleTextRole:
            return QStringLiteral("%1: %2 %3")
                .arg(levelName(index.row()), attributes()[column],
                     picked ? QStringLiteral("picked") : QStringLiteral("not picked"));
        default:
            return {};
        }
    }
    const int s = skillAt(column);
    if (s < 0)
        return {};
    const int n = level.increases[size_t(s)];
    switch (role) {
    case Qt::DisplayRole:
        return n > 0 ? QString::number(n) : QString();
    case Qt::EditRole:
        return n;
    case Qt::TextAlignmentRole:
        return int(Qt::AlignRight | Qt::AlignVCenter);
    case Qt::BackgroundRole:
        return m_excluded[size_t(s)] ? QVariant(QPalette().brush(QPalette::Window)) : QVariant();
    case Qt::ToolTipRole:
    case Qt::AccessibleTextRole: {
        const int before = index.row() == 0 || index.row() > m_outcome.size()
                               ? m_start[size_t(s)]
                               : m_outcome[index.row() - 1].skills[size_t(s)];
        const int after =
            index.row() < m_outcome.size() ? m_outcome[index.row()].skills[size_t(s)] : before;
        return QStringLiteral("%1: %2 raised %3 times, %4 to %5")
            .arg(levelName(index.row()), skills()[s])
            .arg(n)
            .arg(before)
            .arg(after);
    }
    default:
        return {};
    }
}

bool PlanModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || index.row() >= m_levels.size())
        return false;
    PlannedLevel level = m_levels[index.row()];
    if (index.column() < kAttributeCount) {
        if (role != Qt::CheckStateRole)
            return false;
        level.picks[size_t(index.column())] = value.toInt() == Qt::Checked;
    } else {
        const int s = skillAt(index.column());
        if (s < 0 || role != Qt::EditRole)
            return false;
        bool ok = false;
        const QString text = value.toString().trimmed();
        const int n = text.isEmpty() ? 0 : text.toInt(&ok);
        if (!text.isEmpty() && (!ok || n < 0))
            return false;
        level.increases[size_t(s)] = std::min(n, currentRules().levelling.skillCap);
    }
    if (level == m_levels[index.row()])
        return true;
    emit levelEdited(index.row(), level);
    return true;
}

Qt::ItemFlags PlanModel::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    if (index.column() < kAttributeCount)
        return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable;
}

QVariant PlanModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Vertical)
        return role == Qt::DisplayRole ? QVariant(levelName(section)) : QVariant();
    if (section < kAttributeCount) {
        if (role == Qt::DisplayRole)
            return attributes()[section];
        if (role == Qt::ToolTipRole)
            return QStringLiteral("Tick to pick %1 at the level-up").arg(attributes()[section]);
        return {};
    }
    const int s = skillAt(section);
    if (s < 0)
        return {};
    if (role == Qt::DisplayRole)
        return skills()[s];
    if (role == Qt::ToolTipRole)
        return QStringLiteral("%1: %2 skill, governed by %3; the times it rises in the level")
            .arg(skills()[s], groupName(m_group[size_t(s)]),
                 attributes().value(currentRules().governing[size_t(s)]));
    return {};
}

// --- the outcome -------------------------------------------------------------------

OutcomeModel::OutcomeModel(QObject* parent) : QAbstractTableModel(parent) {
    for (int s = 0; s < kSkillCount; ++s)
        m_skills << s;
}

void OutcomeModel::setSkillColumns(const QList<int>& skillColumns) {
    if (skillColumns == m_skills)
        return;
    m_skills = skillColumns;
    emit headerDataChanged(Qt::Horizontal, kHealthColumn + 1, columnCount() - 1);
    if (!m_outcome.isEmpty())
        emit dataChanged(index(0, kHealthColumn + 1), index(rowCount() - 1, columnCount() - 1));
}

void OutcomeModel::setOutcome(const QList<LevelOutcome>& outcome) {
    const int common = int(std::min(m_outcome.size(), outcome.size()));
    if (outcome.size() < m_outcome.size()) {
        beginRemoveRows({}, common, int(m_outcome.size()) - 1);
        m_outcome.resize(common);
        endRemoveRows();
    }
    int first = -1, last = -1;
    for (int r = 0; r < common; ++r)
        if (!sameRow(m_outcome[r], outcome[r])) {
            first = first < 0 ? r : first;
            last = r;
        }
    // Tool tips (tenths of Health) follow without a repaint.
    for (int r = 0; r < common; ++r)
        m_outcome[r] = outcome[r];
    if (first >= 0)
        emit dataChanged(index(first, 0), index(last, columnCount() - 1));
    if (outcome.size() > m_outcome.size()) {
        beginInsertRows({}, common, int(outcome.size()) - 1);
        m_outcome = outcome;
        endInsertRows();
    }
}

int OutcomeModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_outcome.size());
}

int OutcomeModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kHealthColumn + 1 + kSkillCount;
}

QVariant OutcomeModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= m_outcome.size())
        return {};
    const LevelOutcome& o = m_outcome[index.row()];
    const int column = index.column();
    if (role == Qt::TextAlignmentRole)
        return int(Qt::AlignRight | Qt::AlignVCenter);
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole)
        return {};
    if (column < kAttributeCount) {
        const int bonus = o.bonus[size_t(column)];
        if (role == Qt::ToolTipRole)
            return bonus ? QStringLiteral("%1 +%2 at level %3 (%4 increases of its skills)")
                               .arg(attributes()[column])
                               .arg(bonus)
                               .arg(o.level)
                               .arg(o.increases[size_t(column)])
                         : QVariant();
        return bonus ? QStringLiteral("%1 (+%2)").arg(o.attributes[size_t(column)]).arg(bonus)
                     : QString::number(o.attributes[size_t(column)]);
    }
    if (column == kHealthColumn)
        return role == Qt::ToolTipRole
                   ? QStringLiteral("%1.%2").arg(o.healthTenths / 10).arg(o.healthTenths % 10)
                   : QString::number(o.health());
    const int k = column - kHealthColumn - 1;
    if (role == Qt::ToolTipRole || k >= m_skills.size())
        return {};
    return QString::number(o.skills[size_t(m_skills[k])]);
}

QVariant OutcomeModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Vertical)
        return section < m_outcome.size()
                   ? QVariant(QStringLiteral("Level %1").arg(m_outcome[section].level))
                   : QVariant();
    if (section < kAttributeCount)
        return attributes()[section];
    if (section == kHealthColumn)
        return QStringLiteral("Health");
    const int k = section - kHealthColumn - 1;
    return k < m_skills.size() ? QVariant(skills()[m_skills[k]]) : QVariant();
}

} // namespace tarvo
