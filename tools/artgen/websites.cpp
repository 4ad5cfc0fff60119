// Logos of the websites offered on the further-resources step, drawn as 88 x 31 web
// buttons: a small emblem on the left and the site's name on the right.
#include "artkit.h"
#include "pictures.h"

#include <QLinearGradient>
#include <QRadialGradient>
#include <QTransform>

#include <cmath>
#include <functional>

namespace artgen {

namespace {

constexpr int kW = 88;
constexpr int kH = 31;

struct ButtonStyle {
    QColor top;
    QColor bottom;
    QColor border;
    QColor text;
    QColor subText;
    QString line1;
    QString line2;
    std::function<void(QPainter&, const QRectF&)> emblem; // drawn in a 25 x 25 box
};

QFont buttonFont(qreal px, bool bold) {
    QFont f(QStringLiteral("DejaVu Sans Condensed"));
    f.setStyleHint(QFont::SansSerif, QFont::PreferAntialias);
    f.setStretch(QFont::SemiCondensed);
    f.setPixelSize(qRound(px));
    f.setBold(bold);
    return f;
}

QImage makeButton(const ButtonStyle& s) {
    QImage img(kW, kH, QImage::Format_ARGB32_Premultiplied);
    img.fill(s.border);
    QPainter p;
    beginPainter(p, img);
    const QRectF inner(1, 1, kW - 2, kH - 2);
    QLinearGradient g(0, 1, 0, kH - 1);
    g.setColorAt(0, s.top);
    g.setColorAt(1, s.bottom);
    p.fillRect(inner, g);
    // Bevel: light along the top and left, dark along the bottom and right.
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(withAlpha(Qt::white, 110));
    p.drawLine(1, 1, kW - 2, 1);
    p.drawLine(1, 1, 1, kH - 2);
    p.setPen(withAlpha(Qt::black, 90));
    p.drawLine(2, kH - 2, kW - 2, kH - 2);
    p.drawLine(kW - 2, 2, kW - 2, kH - 2);
    p.setRenderHint(QPainter::Antialiasing, true);

    const QRectF box(3, 3, 25, 25);
    if (s.emblem)
        s.emblem(p, box);
    // Divider between emblem and text.
    p.setPen(withAlpha(s.border, 160));
    p.drawLine(QPointF(30.5, 4), QPointF(30.5, kH - 4));

    const QRectF textArea(32, 2, kW - 35, kH - 4);
    QFont f1 = buttonFont(12, true);
    while (QFontMetricsF(f1).horizontalAdvance(s.line1) > textArea.width() && f1.pixelSize() > 7)
        f1.setPixelSize(f1.pixelSize() - 1);
    QFont f2 = buttonFont(9, false);
    while (QFontMetricsF(f2).horizontalAdvance(s.line2) > textArea.width() && f2.pixelSize() > 6)
        f2.setPixelSize(f2.pixelSize() - 1);
    p.setFont(f1);
    p.setPen(s.text);
    if (s.line2.isEmpty()) {
        p.drawText(textArea, Qt::AlignCenter, s.line1);
    } else {
        p.drawText(QRectF(textArea.left(), 3, textArea.width(), 14), Qt::AlignCenter, s.line1);
        p.setFont(f2);
        p.setPen(s.subText);
        p.drawText(QRectF(textArea.left(), 16, textArea.width(), 12), Qt::AlignCenter, s.line2);
    }
    p.end();
    return img;
}

void emblemBook(QPainter& p, const QRectF& b) {
    const QPointF c = b.center();
    QPainterPath l;
    l.moveTo(c.x(), c.y() - 6);
    l.quadTo(c.x() - 6, c.y() - 9, c.x() - 11, c.y() - 7);
    l.lineTo(c.x() - 11, c.y() + 7);
    l.quadTo(c.x() - 6, c.y() + 5, c.x(), c.y() + 8);
    l.closeSubpath();
    QPainterPath r = QTransform().translate(2 * c.x(), 0).scale(-1, 1).map(l);
    p.fillPath(l, QColor(255, 250, 235));
    p.fillPath(r, QColor(236, 226, 200));
    p.setPen(QPen(QColor(90, 60, 30), 1));
    p.setBrush(Qt::NoBrush);
    p.drawPath(l);
    p.drawPath(r);
    p.setPen(QPen(QColor(90, 60, 30, 160), 0.7));
    for (int i = 0; i < 3; ++i) {
        p.drawLine(QPointF(c.x() - 9, c.y() - 3 + i * 3.5),
                   QPointF(c.x() - 2, c.y() - 2 + i * 3.5));
        p.drawLine(QPointF(c.x() + 2, c.y() - 2 + i * 3.5),
                   QPointF(c.x() + 9, c.y() - 3 + i * 3.5));
    }
}

void emblemGear(QPainter& p, const QRectF& b) {
    const QPointF c = b.center();
    QPainterPath gear;
    const int teeth = 8;
    for (int i = 0; i < teeth * 2; ++i) {
        const qreal a0 = i * M_PI / teeth;
        const qreal a1 = (i + 1) * M_PI / teeth;
        const qreal r = (i % 2) ? 8.0 : 11.0;
        const QPointF p0 = c + QPointF(std::cos(a0), std::sin(a0)) * r;
        const QPointF p1 = c + QPointF(std::cos(a1), std::sin(a1)) * r;
        if (i == 0)
            gear.moveTo(p0);
        else
            gear.lineTo(p0);
        gear.lineTo(p1);
    }
    gear.closeSubpath();
    QPainterPath hole;
    hole.addEllipse(c, 4, 4);
    p.fillPath(gear.subtracted(hole), QColor(210, 214, 222));
    p.setPen(QPen(QColor(240, 150, 50), 1.6));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(c, 4.5, 4.5);
}

void emblemHammer(QPainter& p, const QRectF& b) {
    const QPointF c = b.center();
    p.save();
    p.translate(c);
    p.rotate(-40);
    QPainterPath handle;
    handle.addRoundedRect(QRectF(-1.6, -4, 3.2, 16), 1.2, 1.2);
    p.fillPath(handle, QColor(150, 100, 50));
    QPainterPath head;
    head.addRoundedRect(QRectF(-8, -10, 16, 7), 1.5, 1.5);
    QLinearGradient g(0, -10, 0, -3);
    g.setColorAt(0, QColor(230, 230, 236));
    g.setColorAt(1, QColor(120, 124, 134));
    p.fillPath(head, g);
    p.setPen(QPen(QColor(30, 30, 30), 0.8));
    p.setBrush(Qt::NoBrush);
    p.drawPath(head);
    p.restore();
    // A few sparks.
    drawStar(p, c + QPointF(-8, 6), 0.7, QColor(255, 210, 120));
    drawStar(p, c + QPointF(-4, 9), 0.5, QColor(255, 210, 120));
}

void emblemHexagon(QPainter& p, const QRectF& b) {
    const QPointF c = b.center();
    QPainterPath hex;
    for (int i = 0; i < 6; ++i) {
        const qreal a = M_PI / 6 + i * M_PI / 3;
        const QPointF pt = c + QPointF(std::cos(a), std::sin(a)) * 11;
        if (i == 0)
            hex.moveTo(pt);
        else
            hex.lineTo(pt);
    }
    hex.closeSubpath();
    p.setPen(QPen(QColor(255, 150, 40), 2.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(hex);
    p.setPen(QPen(QColor(255, 200, 120), 1.6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(c + QPointF(-4, 4), c + QPointF(4, -4));
    p.drawLine(c + QPointF(-4, -4), c + QPointF(4, 4));
}

void emblemHourglass(QPainter& p, const QRectF& b) {
    const QPointF c = b.center();
    QPainterPath glass;
    glass.moveTo(c.x() - 7, c.y() - 9);
    glass.lineTo(c.x() + 7, c.y() - 9);
    glass.cubicTo(c.x() + 7, c.y() - 3, c.x() + 1.5, c.y() - 2, c.x() + 1.5, c.y());
    glass.cubicTo(c.x() + 1.5, c.y() + 2, c.x() + 7, c.y() + 3, c.x() + 7, c.y() + 9);
    glass.lineTo(c.x() - 7, c.y() + 9);
    glass.cubicTo(c.x() - 7, c.y() + 3, c.x() - 1.5, c.y() + 2, c.x() - 1.5, c.y());
    glass.cubicTo(c.x() - 1.5, c.y() - 2, c.x() - 7, c.y() - 3, c.x() - 7, c.y() - 9);
    glass.closeSubpath();
    p.fillPath(glass, QColor(220, 235, 255, 120));
    QPainterPath sand;
    sand.moveTo(c.x() - 6, c.y() + 9);
    sand.quadTo(c.x(), c.y() + 2, c.x() + 6, c.y() + 9);
    sand.closeSubpath();
    sand.addEllipse(QPointF(c.x(), c.y() - 5), 3.5, 2);
    p.fillPath(sand, QColor(236, 200, 110));
    p.setPen(QPen(QColor(60, 40, 20), 0.9));
    p.setBrush(Qt::NoBrush);
    p.drawPath(glass);
    p.setPen(QPen(pal::bronzeLight, 2.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(c.x() - 9, c.y() - 10), QPointF(c.x() + 9, c.y() - 10));
    p.drawLine(QPointF(c.x() - 9, c.y() + 10), QPointF(c.x() + 9, c.y() + 10));
}

void emblemSpeech(QPainter& p, const QRectF& b) {
    const QPointF c = b.center();
    QPainterPath bubble;
    bubble.addEllipse(QPointF(c.x(), c.y() - 1.5), 10.5, 8);
    QPainterPath tail;
    tail.moveTo(c.x() - 6, c.y() + 3);
    tail.lineTo(c.x() - 9, c.y() + 10);
    tail.lineTo(c.x() - 1, c.y() + 5);
    tail.closeSubpath();
    p.fillPath(bubble.united(tail), Qt::white);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(230, 80, 30));
    for (int i = -1; i <= 1; ++i)
        p.drawEllipse(QPointF(c.x() + i * 4.5, c.y() - 1.5), 1.6, 1.6);
}

void emblemGlobe(QPainter& p, const QRectF& b) {
    const QPointF c = b.center();
    QRadialGradient g(c + QPointF(-3, -3), 12);
    g.setColorAt(0, QColor(140, 200, 255));
    g.setColorAt(1, QColor(30, 80, 170));
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawEllipse(c, 10.5, 10.5);
    p.setPen(QPen(QColor(230, 240, 255, 200), 0.8));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(c, 4.5, 10.5);
    p.drawLine(c + QPointF(-10.5, 0), c + QPointF(10.5, 0));
    p.drawLine(c + QPointF(0, -10.5), c + QPointF(0, 10.5));
    p.drawLine(c + QPointF(-9, -5), c + QPointF(9, -5));
    p.drawLine(c + QPointF(-9, 5), c + QPointF(9, 5));
}

void emblemTemple(QPainter& p, const QRectF& b) {
    const QPointF c = b.center();
    const QColor gold(236, 200, 110);
    QPainterPath roof;
    roof.moveTo(c.x() - 11, c.y() - 4);
    roof.lineTo(c.x(), c.y() - 11);
    roof.lineTo(c.x() + 11, c.y() - 4);
    roof.closeSubpath();
    p.fillPath(roof, gold);
    p.fillRect(QRectF(c.x() - 10, c.y() - 3, 20, 2), gold);
    for (int i = 0; i < 4; ++i)
        p.fillRect(QRectF(c.x() - 8.5 + i * 5.2, c.y() - 0.5, 2.4, 8.5), gold);
    p.fillRect(QRectF(c.x() - 11, c.y() + 8, 22, 2.5), gold);
}

void emblemCompass(QPainter& p, const QRectF& b) {
    const QPointF c = b.center();
    p.setPen(QPen(QColor(200, 220, 240), 1));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(c, 10, 10);
    for (int i = 0; i < 4; ++i) {
        p.save();
        p.translate(c);
        p.rotate(i * 90);
        QPolygonF point;
        point << QPointF(0, -12) << QPointF(2.6, -2.6) << QPointF(0, 0) << QPointF(-2.6, -2.6);
        p.setPen(Qt::NoPen);
        p.setBrush(i == 0 ? QColor(240, 90, 60) : QColor(236, 226, 200));
        p.drawPolygon(point);
        p.restore();
    }
    p.setBrush(QColor(40, 60, 90));
    p.drawEllipse(c, 1.6, 1.6);
}

void emblemChecklist(QPainter& p, const QRectF& b) {
    const QPointF c = b.center();
    QPainterPath board;
    board.addRoundedRect(QRectF(c.x() - 8, c.y() - 10, 16, 21), 2, 2);
    p.fillPath(board, QColor(240, 236, 224));
    p.fillRect(QRectF(c.x() - 4, c.y() - 12, 8, 4), QColor(150, 160, 170));
    for (int i = 0; i < 3; ++i) {
        const qreal y = c.y() - 4 + i * 5.5;
        p.setPen(QPen(QColor(40, 150, 80), 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPolyline(QPolygonF{QPointF(c.x() - 5.5, y), QPointF(c.x() - 4, y + 1.6),
                                 QPointF(c.x() - 1.5, y - 1.8)});
        p.setPen(QPen(QColor(90, 90, 100), 1.1));
        p.drawLine(QPointF(c.x() + 0.5, y), QPointF(c.x() + 5.5, y));
    }
}

void emblemMedallion(QPainter& p, const QRectF& b) {
    const QImage icon = drawProgramIcon(25);
    p.drawImage(b.topLeft(), icon);
}

ButtonStyle styleFor(const QString& site) {
    if (site == QLatin1String("UESP Morrowind Wiki"))
        return {QColor(246, 236, 206),
                QColor(214, 196, 150),
                QColor(110, 80, 40),
                QColor(70, 40, 16),
                QColor(110, 76, 40),
                QStringLiteral("UESP"),
                QStringLiteral("Morrowind Wiki"),
                emblemBook};
    if (site == QLatin1String("The Imperial Library"))
        return {QColor(130, 34, 40),       QColor(70, 14, 20),    QColor(40, 6, 10),
                QColor(240, 206, 120),     QColor(240, 220, 200), QStringLiteral("Imperial"),
                QStringLiteral("Library"), emblemTemple};
    if (site == QLatin1String("OpenMW"))
        return {QColor(62, 66, 78),       QColor(24, 26, 32),
                QColor(10, 10, 14),       QColor(250, 250, 252),
                QColor(240, 160, 70),     QStringLiteral("OpenMW"),
                QStringLiteral("engine"), emblemGear};
    if (site == QLatin1String("Tamriel Rebuilt"))
        return {QColor(52, 108, 64),       QColor(20, 56, 32),    QColor(10, 30, 16),
                QColor(240, 214, 140),     QColor(220, 236, 210), QStringLiteral("Tamriel"),
                QStringLiteral("Rebuilt"), emblemHammer};
    if (site == QLatin1String("Project Tamriel"))
        return {QColor(40, 96, 130),       QColor(14, 44, 70),    QColor(6, 20, 36),
                QColor(236, 226, 200),     QColor(180, 220, 240), QStringLiteral("Project"),
                QStringLiteral("Tamriel"), emblemCompass};
    if (site == QLatin1String("Nexus Mods Morrowind"))
        return {QColor(50, 50, 56),          QColor(20, 20, 24),    QColor(0, 0, 0),
                QColor(255, 160, 60),        QColor(230, 230, 230), QStringLiteral("Nexus Mods"),
                QStringLiteral("Morrowind"), emblemHexagon};
    if (site == QLatin1String("Morrowind Modding History"))
        return {QColor(120, 80, 50),       QColor(66, 40, 24),
                QColor(36, 20, 10),        pal::parchment,
                pal::bronzeLight,          QStringLiteral("MW Modding"),
                QStringLiteral("History"), emblemHourglass};
    if (site == QLatin1String("Modding-OpenMW"))
        return {QColor(70, 110, 100),
                QColor(26, 50, 46),
                QColor(10, 24, 22),
                Qt::white,
                QColor(200, 236, 220),
                QStringLiteral("Modding"),
                QStringLiteral("OpenMW guides"),
                emblemChecklist};
    if (site == QLatin1String("Morrowind Subreddit"))
        return {QColor(255, 110, 50),        QColor(200, 60, 20),
                QColor(110, 30, 10),         Qt::white,
                QColor(255, 230, 210),       QStringLiteral("r/Morrowind"),
                QStringLiteral("community"), emblemSpeech};
    if (site == QLatin1String("Project TARVO2 Home"))
        return {pal::night2,
                pal::night0,
                pal::bronzeDark,
                pal::bronzeLight,
                pal::parchment,
                QStringLiteral("TARVO2"),
                QStringLiteral("Home"),
                emblemMedallion};
    // Logo for sites without one of their own.
    return {
        QColor(70, 110, 180),  QColor(28, 50, 96),        QColor(12, 24, 50),          Qt::white,
        QColor(200, 220, 255), QStringLiteral("Website"), QStringLiteral("Morrowind"), emblemGlobe};
}

} // namespace

const QStringList& websiteNames() {
    static const QStringList names = {
        QStringLiteral("UESP Morrowind Wiki"),
        QStringLiteral("The Imperial Library"),
        QStringLiteral("OpenMW"),
        QStringLiteral("Tamriel Rebuilt"),
        QStringLiteral("Project Tamriel"),
        QStringLiteral("Nexus Mods Morrowind"),
        QStringLiteral("Morrowind Modding History"),
        QStringLiteral("Modding-OpenMW"),
        QStringLiteral("Morrowind Subreddit"),
    };
    return names;
}

QImage drawWebButton(const QString& site) {
    return makeButton(styleFor(site));
}

} // namespace artgen
