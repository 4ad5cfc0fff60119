// The level-up planner's chart: the eight attributes and Health level by
// level for the current plan, each attribute's target as a dashed line.
// Only the lines whose points changed are given to the chart again.
#pragma once

#include "levelplan.h"

#include <QChartView>
#include <QPointF>

#include <array>

class QLineSeries;
class QValueAxis;

namespace tarvo {

class LevelChart : public QChartView {
    Q_OBJECT
public:
    explicit LevelChart(QWidget* parent = nullptr);

    // Draws sheet's level 1 and levels; targets of kLeaveAsIs draw no line.
    void showLevels(const CharacterSheet& sheet, const QList<LevelOutcome>& levels,
                    const AttributeValues& targets, int lastLevel);
    // The chart as a PNG picture; false with the reason when it could not be
    // written.
    bool savePng(const QString& path, QString* reason);

private:
    void setPoints(QLineSeries* series, QList<QPointF>& shown, QList<QPointF> points);

    static constexpr int kLines = kAttributeCount + 1; // the attributes and Health
    std::array<QLineSeries*, kLines> m_series{};
    std::array<QLineSeries*, kAttributeCount> m_targets{};
    std::array<QList<QPointF>, kLines> m_shown;
    std::array<QList<QPointF>, kAttributeCount> m_shownTargets;
    QValueAxis* m_levelAxis = nullptr;
    QValueAxis* m_attributeAxis = nullptr;
    QValueAxis* m_healthAxis = nullptr;
};

} // namespace tarvo
