#include "levelchart.h"

#include "reftables.h"

#include <QImageWriter>
#include <QLegendMarker>
#include <QLineSeries>
#include <QSaveFile>
#include <QValueAxis>

namespace tarvo {

namespace {

// One colour per attribute, then Health's; each stands out against white.
const std::array<QColor, kAttributeCount + 1> kColours = {
    QColor(0xb0, 0x2a, 0x1e), QColor(0x1f, 0x5f, 0xa8), QColor(0x6c, 0x34, 0x83),
    QColor(0x1d, 0x7a, 0x45), QColor(0xc0, 0x6a, 0x00), QColor(0x6e, 0x3b, 0x12),
    QColor(0xb0, 0x1a, 0x6e), QColor(0x0f, 0x7c, 0x7c), QColor(0x20, 0x20, 0x20)};

} // namespace

LevelChart::LevelChart(QWidget* parent) : QChartView(parent) {
    // A picture of the tables beside it: nothing in it takes the focus.
    setFocusPolicy(Qt::NoFocus);
    viewport()->setFocusPolicy(Qt::NoFocus);
    auto* chart = new QChart;
    chart->setAnimationOptions(QChart::NoAnimation);
    chart->legend()->setAlignment(Qt::AlignRight);
    QFont small = chart->legend()->font();
    small.setPointSizeF(small.pointSizeF() * 0.85);
    chart->legend()->setFont(small);
    chart->setMargins(QMargins(4, 4, 4, 4));
    m_levelAxis = new QValueAxis(chart);
    m_levelAxis->setTitleText(QStringLiteral("Level"));
    m_levelAxis->setLabelFormat(QStringLiteral("%d"));
    m_levelAxis->setRange(1, 2);
    m_attributeAxis = new QValueAxis(chart);
    m_attributeAxis->setTitleText(QStringLiteral("Attributes"));
    m_attributeAxis->setLabelFormat(QStringLiteral("%d"));
    m_attributeAxis->setRange(0, currentRules().levelling.attributeCap);
    m_attributeAxis->setTickCount(6);
    m_healthAxis = new QValueAxis(chart);
    m_healthAxis->setTitleText(QStringLiteral("Health"));
    m_healthAxis->setLabelFormat(QStringLiteral("%d"));
    m_healthAxis->setRange(0, 100);
    m_healthAxis->setTickCount(6);
    chart->addAxis(m_levelAxis, Qt::AlignBottom);
    chart->addAxis(m_attributeAxis, Qt::AlignLeft);
    chart->addAxis(m_healthAxis, Qt::AlignRight);

    for (int i = 0; i < kLines; ++i) {
        auto* series = new QLineSeries(chart);
        series->setName(i < kAttributeCount ? attributes()[i] : QStringLiteral("Health"));
        series->setPen(QPen(kColours[size_t(i)], i < kAttributeCount ? 2 : 3));
        chart->addSeries(series);
        series->attachAxis(m_levelAxis);
        series->attachAxis(i < kAttributeCount ? m_attributeAxis : m_healthAxis);
        // The legend names the attributes short, so that all nine fit.
        if (i < kAttributeCount)
            for (QLegendMarker* marker : chart->legend()->markers(series))
                marker->setLabel(attributes()[i].left(3));
        m_series[size_t(i)] = series;
    }
    for (int a = 0; a < kAttributeCount; ++a) {
        auto* target = new QLineSeries(chart);
        target->setName(QStringLiteral("%1 target").arg(attributes()[a]));
        target->setPen(QPen(kColours[size_t(a)], 1.5, Qt::DashLine));
        chart->addSeries(target);
        target->attachAxis(m_levelAxis);
        target->attachAxis(m_attributeAxis);
        for (QLegendMarker* marker : chart->legend()->markers(target))
            marker->setVisible(false);
        m_targets[size_t(a)] = target;
    }
    setChart(chart);
    setRenderHint(QPainter::Antialiasing);
    setFocusPolicy(Qt::NoFocus);
    setMinimumSize(320, 260);
}

void LevelChart::setPoints(QLineSeries* series, QList<QPointF>& shown, QList<QPointF> points) {
    if (points == shown)
        return;
    shown = points;
    series->replace(points);
}

void LevelChart::showLevels(const CharacterSheet& sheet, const QList<LevelOutcome>& levels,
                            const AttributeValues& targets, int lastLevel) {
    const int last = std::max(2, lastLevel);
    if (m_levelAxis->max() != last) {
        m_levelAxis->setRange(1, last);
        m_levelAxis->setTickCount(std::min(last, 10));
    }
    if (const int cap = currentRules().levelling.attributeCap; m_attributeAxis->max() != cap)
        m_attributeAxis->setRange(0, cap);
    int highestHealth = sheet.complete() ? sheet.health : 0;
    for (int i = 0; i < kLines; ++i) {
        QList<QPointF> points;
        if (sheet.complete()) {
            points.reserve(levels.size() + 1);
            points << QPointF(1, i < kAttributeCount ? sheet.attributes[size_t(i)] : sheet.health);
            for (const LevelOutcome& o : levels)
                points << QPointF(o.level,
                                  i < kAttributeCount ? o.attributes[size_t(i)] : o.health());
        }
        if (i == kAttributeCount && !points.isEmpty())
            highestHealth = int(points.last().y());
        setPoints(m_series[size_t(i)], m_shown[size_t(i)], points);
    }
    // Health in steps of 50, with room above the highest.
    const int top = std::max(100, (highestHealth / 50 + 1) * 50);
    if (m_healthAxis->max() != top)
        m_healthAxis->setRange(0, top);
    for (int a = 0; a < kAttributeCount; ++a) {
        const int t = targets[size_t(a)];
        QList<QPointF> line;
        if (sheet.complete() && t != kLeaveAsIs)
            line = {QPointF(1, t), QPointF(last, t)};
        setPoints(m_targets[size_t(a)], m_shownTargets[size_t(a)], line);
    }
}

bool LevelChart::savePng(const QString& path, QString* reason) {
    const QImage image = grab().toImage();
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        if (reason)
            *reason = file.errorString();
        return false;
    }
    QImageWriter writer(&file, "png");
    if (!writer.write(image)) {
        if (reason)
            *reason = writer.errorString();
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        if (reason)
            *reason = file.errorString();
        return false;
    }
    return true;
}

} // namespace tarvo
