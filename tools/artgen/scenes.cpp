// Small interface pictures (status marks, link pointer, balloon) and the larger scenes:
// splash logo, welcome landscape, loader buttons and the program icon.
#include "artkit.h"
#include "pictures.h"

#include <QLinearGradient>
#include <QRadialGradient>
#include <QTransform>

#include <cmath>

namespace artgen {

namespace {

// ---------------------------------------------------------------- landscape pieces

// Giant mushroom: a curving stalk and a wide, flat cap seen slightly from below.
void drawMushroom(QPainter& p, QPointF foot, qreal height, qreal capWidth, qreal lean,
                  const QColor& stalk, const QColor& cap, const QColor& gills) {
    const QPointF top(foot.x() + lean, foot.y() - height);
    const qreal sw = capWidth * 0.12;
    QPainterPath s;
    s.moveTo(foot.x() - sw * 1.4, foot.y());
    s.cubicTo(foot.x() - sw * 0.8, foot.y() - height * 0.4, top.x() - sw - lean * 0.3,
              top.y() + height * 0.35, top.x() - sw * 0.7, top.y());
    s.lineTo(top.x() + sw * 0.7, top.y());
    s.cubicTo(top.x() + sw - lean * 0.3, top.y() + height * 0.35, foot.x() + sw * 0.8,
              foot.y() - height * 0.4, foot.x() + sw * 1.4, foot.y());
    s.closeSubpath();
    QLinearGradient sg(foot.x() - sw * 1.5, 0, foot.x() + sw * 1.5, 0);
    sg.setColorAt(0, shade(stalk, 1.2));
    sg.setColorAt(1, shade(stalk, 0.55));
    p.fillPath(s, sg);
    // Gills underneath, then the cap.
    QPainterPath under;
    under.moveTo(top.x() - capWidth / 2, top.y() - capWidth * 0.04);
    under.quadTo(top.x(), top.y() + capWidth * 0.14, top.x() + capWidth / 2,
                 top.y() - capWidth * 0.04);
    under.quadTo(top.x(), top.y() + capWidth * 0.02, top.x() - capWidth / 2,
                 top.y() - capWidth * 0.04);
    p.fillPath(under, gills);
    p.save();
    p.setPen(QPen(withAlpha(shade(gills, 0.6), 160), 0.7));
    for (int i = -6; i <= 6; ++i)
        p.drawLine(QPointF(top.x(), top.y() + capWidth * 0.05),
                   QPointF(top.x() + i * capWidth / 13, top.y() + capWidth * 0.0));
    p.restore();
    QPainterPath c;
    c.moveTo(top.x() - capWidth / 2, top.y() - capWidth * 0.03);
    c.cubicTo(top.x() - capWidth * 0.42, top.y() - capWidth * 0.22, top.x() + capWidth * 0.42,
              top.y() - capWidth * 0.22, top.x() + capWidth / 2, top.y() - capWidth * 0.03);
    c.quadTo(top.x(), top.y() + capWidth * 0.04, top.x() - capWidth / 2, top.y() - capWidth * 0.03);
    c.closeSubpath();
    QLinearGradient cg(0, top.y() - capWidth * 0.2, 0, top.y());
    cg.setColorAt(0, shade(cap, 1.25));
    cg.setColorAt(1, shade(cap, 0.7));
    p.fillPath(c, cg);
    // Spots on the cap.
    p.save();
    p.setClipPath(c);
    p.setPen(Qt::NoPen);
    p.setBrush(withAlpha(shade(cap, 1.4), 120));
    for (int i = -2; i <= 2; ++i)
        p.drawEllipse(
            QPointF(top.x() + i * capWidth * 0.17, top.y() - capWidth * 0.1 + std::abs(i) * 2),
            capWidth * 0.035, capWidth * 0.02);
    p.restore();
}

// Silt strider: a long shell on four tall, jointed legs, head hanging forward.
void drawSiltStrider(QPainter& p, QPointF body, qreal scale, const QColor& colour) {
    p.save();
    p.translate(body);
    p.scale(scale, scale);
    p.setPen(QPen(colour, 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    const QPointF legs[4][3] = {{{-14, 6}, {-34, -18}, {-44, 90}},
                                {{-6, 8}, {-16, -10}, {-20, 92}},
                                {{8, 8}, {22, -12}, {30, 92}},
                                {{16, 6}, {40, -20}, {54, 90}}};
    for (const auto& leg : legs) {
        QPainterPath l;
        l.moveTo(leg[0]);
        l.lineTo(leg[1]);
        l.lineTo(leg[2]);
        p.drawPath(l);
    }
    QPainterPath shell;
    shell.moveTo(-30, 4);
    shell.cubicTo(-26, -12, 20, -14, 30, -2);
    shell.cubicTo(34, 4, 30, 12, 20, 12);
    shell.cubicTo(0, 16, -24, 14, -30, 4);
    shell.closeSubpath();
    p.setPen(Qt::NoPen);
    p.fillPath(shell, colour);
    // Head and proboscis hanging down in front.
    QPainterPath head;
    head.moveTo(28, 0);
    head.cubicTo(40, 0, 46, 8, 46, 20);
    head.lineTo(43, 30);
    head.lineTo(40, 20);
    head.cubicTo(38, 12, 32, 10, 26, 10);
    head.closeSubpath();
    p.fillPath(head, colour);
    p.restore();
}

// Volcano with a glowing crater and a plume of ash.
void drawRedMountain(QPainter& p, QPointF peak, qreal width, qreal height, qreal baseY,
                     const QColor& rock) {
    QPainterPath m;
    m.moveTo(peak.x() - width / 2, baseY);
    m.cubicTo(peak.x() - width * 0.25, baseY - height * 0.35, peak.x() - width * 0.12,
              peak.y() + height * 0.1, peak.x() - width * 0.07, peak.y());
    m.lineTo(peak.x() - width * 0.03, peak.y() + 2);
    m.lineTo(peak.x() + width * 0.02, peak.y() + 1);
    m.lineTo(peak.x() + width * 0.07, peak.y());
    m.cubicTo(peak.x() + width * 0.12, peak.y() + height * 0.1, peak.x() + width * 0.25,
              baseY - height * 0.35, peak.x() + width / 2, baseY);
    m.closeSubpath();
    QLinearGradient g(peak.x() - width * 0.3, peak.y(), peak.x() + width * 0.3, baseY);
    g.setColorAt(0, shade(rock, 1.2));
    g.setColorAt(1, shade(rock, 0.6));
    p.fillPath(m, g);
    // Lava runnels.
    p.save();
    p.setClipPath(m);
    p.setPen(QPen(QColor(255, 110, 40, 150), 1.0));
    for (int i = -2; i <= 2; ++i) {
        QPainterPath r;
        r.moveTo(peak.x() + i * 2, peak.y() + 2);
        r.quadTo(peak.x() + i * 9, peak.y() + height * 0.3, peak.x() + i * 14,
                 peak.y() + height * 0.45);
        p.drawPath(r);
    }
    p.restore();
    drawGlow(p, QPointF(peak.x(), peak.y() + 1), width * 0.12, QColor(255, 120, 40, 200));
}

void drawAshPlume(QPainter& p, QPointF from, qreal scale) {
    p.save();
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 9; ++i) {
        const qreal t = i / 8.0;
        const QPointF c = from + QPointF(t * t * 60 * scale, -t * 70 * scale);
        const qreal r = (6 + t * 22) * scale;
        QRadialGradient g(c, r);
        g.setColorAt(0, QColor(80, 66, 66, 120 - i * 8));
        g.setColorAt(1, QColor(80, 66, 66, 0));
        p.setBrush(g);
        p.drawEllipse(c, r, r);
    }
    p.restore();
}

QPainterPath hills(qreal left, qreal right, qreal base, qreal bottom, qreal amp, int seed) {
    Rng rng(static_cast<std::uint32_t>(seed));
    QPainterPath h;
    h.moveTo(left, bottom);
    h.lineTo(left, base);
    const int n = 6;
    const qreal step = (right - left) / n;
    for (int i = 0; i < n; ++i) {
        const qreal x0 = left + i * step;
        h.cubicTo(x0 + step * 0.3, base - amp * rng.range(0.2, 1.0), x0 + step * 0.7,
                  base - amp * rng.range(0.2, 1.0), x0 + step, base + amp * rng.range(-0.3, 0.3));
    }
    h.lineTo(right, bottom);
    h.closeSubpath();
    return h;
}

void drawFramedBackground(QPainter& p, const QRectF& r) {
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, pal::night2);
    g.setColorAt(1, pal::night0);
    p.fillRect(r, g);
}

} // namespace

// ---------------------------------------------------------------- small pictures

QImage drawStatusMark(bool set) {
    // The marks sit on the window's own blue, so they carry it as background.
    QImage img(16, 16, QImage::Format_ARGB32_Premultiplied);
    img.fill(pal::windowBlue);
    QPainter p;
    beginPainter(p, img);
    QPainterPath arrow;
    arrow.moveTo(1.5, 6);
    arrow.lineTo(7.5, 6);
    arrow.lineTo(7.5, 2);
    arrow.lineTo(14.7, 8);
    arrow.lineTo(7.5, 14);
    arrow.lineTo(7.5, 10);
    arrow.lineTo(1.5, 10);
    arrow.closeSubpath();
    const QColor light = set ? QColor(190, 235, 255) : QColor(255, 150, 120);
    const QColor base = set ? QColor(40, 150, 255) : QColor(230, 30, 20);
    const QColor dark = set ? QColor(0, 30, 90) : QColor(90, 0, 0);
    QLinearGradient g(0, 2, 0, 14);
    g.setColorAt(0, light);
    g.setColorAt(0.5, base);
    g.setColorAt(1, shade(base, 0.7));
    p.setPen(QPen(dark, 1.0, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    p.setBrush(g);
    p.drawPath(arrow);
    p.end();
    return img;
}

QImage drawLinkCursor() {
    QImage img = newImage(32, 32, true);
    QPainter p;
    beginPainter(p, img);
    // Pointing hand; the tip of the index finger is the hot spot, at (10, 1).
    QPainterPath hand;
    hand.moveTo(8, 15);
    hand.lineTo(8, 3.5);
    hand.cubicTo(8, 0.5, 12.5, 0.5, 12.5, 3.5);
    hand.lineTo(12.5, 11.5);
    hand.cubicTo(12.5, 9.8, 16.5, 9.8, 16.5, 11.8);
    hand.cubicTo(16.5, 10.3, 20.5, 10.3, 20.5, 12.5);
    hand.cubicTo(20.5, 11.2, 24, 11.2, 24, 13.5);
    hand.lineTo(24, 20);
    hand.cubicTo(24, 23.5, 22, 25, 21.5, 27);
    hand.lineTo(10.5, 27);
    hand.cubicTo(9.5, 24, 7, 22, 4.5, 18.5);
    hand.cubicTo(2.5, 15.5, 5.5, 13, 8, 15.5);
    hand.closeSubpath();
    p.setPen(QPen(Qt::black, 1.1, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::white);
    p.drawPath(hand);
    p.setPen(QPen(QColor(0, 0, 0, 200), 0.9));
    p.drawLine(QPointF(12.5, 11.5), QPointF(12.5, 16));
    p.drawLine(QPointF(16.5, 11.8), QPointF(16.5, 16));
    p.drawLine(QPointF(20.5, 12.5), QPointF(20.5, 16.5));
    // Two interlocked chain links at the lower right.
    for (int i = 0; i < 2; ++i) {
        p.save();
        p.translate(i == 0 ? QPointF(23.5, 27) : QPointF(28, 22.5));
        p.rotate(-45);
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(Qt::black, 3.2));
        p.drawRoundedRect(QRectF(-4.2, -2.4, 8.4, 4.8), 2.4, 2.4);
        p.setPen(QPen(QColor(255, 150, 30), 1.6));
        p.drawRoundedRect(QRectF(-4.2, -2.4, 8.4, 4.8), 2.4, 2.4);
        p.restore();
    }
    p.end();
    return img;
}

QImage drawBubbleBack() {
    QImage img = newImage(256, 68, true);
    QPainter p;
    beginPainter(p, img);
    const QRectF r(0.75, 0.75, 254.5, 66.5);
    QPainterPath path;
    path.addRoundedRect(r, 10, 10);
    QLinearGradient g(0, 0, 0, 68);
    g.setColorAt(0, QColor(255, 254, 232));
    g.setColorAt(1, QColor(252, 240, 188));
    p.fillPath(path, g);
    p.setPen(QPen(QColor(150, 116, 56), 1.5));
    p.setBrush(Qt::NoBrush);
    p.drawPath(path);
    p.setPen(QPen(QColor(255, 255, 255, 190), 1.0));
    p.drawRoundedRect(r.adjusted(2, 2, -2, -2), 8, 8);
    p.end();
    return img;
}

QImage drawBubbleArrow(bool down) {
    // The tail of the balloon: a wedge whose wide end joins the balloon's edge, so that
    // end carries no border.
    QImage img = newImage(20, 20, true);
    QPainter p;
    beginPainter(p, img);
    if (!down) {
        p.translate(0, 20);
        p.scale(1, -1);
    }
    QPainterPath wedge;
    wedge.moveTo(1, -1);
    wedge.lineTo(19, -1);
    wedge.lineTo(10, 19);
    wedge.closeSubpath();
    QLinearGradient g(0, 0, 0, 20);
    g.setColorAt(0, down ? QColor(252, 240, 188) : QColor(255, 254, 232));
    g.setColorAt(1, down ? QColor(250, 236, 176) : QColor(255, 252, 226));
    p.fillPath(wedge, g);
    QPainterPath sides;
    sides.moveTo(1, -1);
    sides.lineTo(10, 19);
    sides.lineTo(19, -1);
    p.setPen(QPen(QColor(150, 116, 56), 1.5, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(sides);
    p.end();
    return img;
}

// ---------------------------------------------------------------- splash logo

QImage drawSplashLogo() {
    const int w = 330;
    const int h = 200;
    QImage img = newImage(w, h);
    QPainter p;
    beginPainter(p, img);
    // Night sky over an ash-red horizon.
    QLinearGradient sky(0, 0, 0, h);
    sky.setColorAt(0, pal::night0);
    sky.setColorAt(0.5, pal::night1);
    sky.setColorAt(0.8, QColor(70, 36, 40));
    sky.setColorAt(1, QColor(120, 54, 34));
    p.fillRect(img.rect(), sky);
    Rng rng(2);
    drawStarField(p, QRectF(0, 0, w, h * 0.6), rng, 90, 0.9);
    // Red Mountain far away and the land in silhouette.
    drawAshPlume(p, QPointF(196, 142), 0.8);
    drawRedMountain(p, QPointF(196, 144), 160, 36, 176, QColor(64, 30, 32));
    p.fillPath(hills(-10, w + 10, 170, h, 10, 4), QColor(30, 18, 24));
    drawSiltStrider(p, QPointF(282, 140), 0.5, QColor(14, 10, 18));
    drawMushroom(p, QPointF(30, 194), 56, 54, 6, QColor(20, 14, 20), QColor(24, 16, 24),
                 QColor(30, 20, 28));
    drawMushroom(p, QPointF(66, 194), 32, 32, -4, QColor(20, 14, 20), QColor(24, 16, 24),
                 QColor(30, 20, 28));
    drawMushroom(p, QPointF(112, 190), 22, 22, 3, QColor(20, 14, 20), QColor(24, 16, 24),
                 QColor(30, 20, 28));
    p.fillPath(hills(-10, w + 10, 188, h, 5, 9), QColor(12, 8, 14));

    // Title: TARVO with a large 2.
    QFont title = serifFont(54, true);
    title.setLetterSpacing(QFont::AbsoluteSpacing, 1);
    const qreal tw = QFontMetricsF(title).horizontalAdvance(QStringLiteral("TARVO"));
    QFont two = serifFont(104, true);
    const qreal twoW = QFontMetricsF(two).horizontalAdvance(QStringLiteral("2"));
    const qreal left = (w - tw - 8 - twoW) / 2;
    drawBronzeText(p, QPointF(left, 78), QStringLiteral("TARVO"), title, 1.8);
    drawBronzeText(p, QPointF(left + tw + 8, 100), QStringLiteral("2"), two, 2.2);
    // Rule and subtitle.
    QLinearGradient rule(left, 0, left + tw, 0);
    rule.setColorAt(0, withAlpha(pal::bronzeLight, 0));
    rule.setColorAt(0.2, pal::bronzeLight);
    rule.setColorAt(1, pal::bronze);
    p.fillRect(QRectF(left, 87, tw, 1.6), rule);
    QFont sub = serifFont(15, false);
    sub.setItalic(true);
    drawLettering(p, QRectF(left, 91, tw, 22), QStringLiteral("Character Profile Creator"), sub,
                  pal::parchment, QColor(0, 0, 0, 170), 1.2, Qt::AlignHCenter | Qt::AlignVCenter);
    drawBronzeFrame(p, QRectF(0, 0, w, h), 3);
    p.end();
    return img;
}

// ---------------------------------------------------------------- welcome landscape

QImage drawWelcomeScene() {
    const int w = 270;
    const int h = 180;
    QImage img = newImage(w, h);
    QPainter p;
    beginPainter(p, img);
    // Ash-laden dusk sky.
    QLinearGradient sky(0, 0, 0, h);
    sky.setColorAt(0, QColor(44, 34, 58));
    sky.setColorAt(0.35, QColor(110, 64, 62));
    sky.setColorAt(0.62, QColor(206, 128, 74));
    sky.setColorAt(1, QColor(150, 92, 60));
    p.fillRect(img.rect(), sky);
    drawGlow(p, QPointF(80, 96), 60, QColor(255, 210, 150, 130));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 230, 190, 200));
    p.drawEllipse(QPointF(80, 96), 8, 8);
    // Streaks of ash cloud.
    Rng rng(7);
    for (int i = 0; i < 7; ++i) {
        const qreal y = rng.range(20, 80);
        const qreal x = rng.range(-40, w);
        QLinearGradient c(x, 0, x + 140, 0);
        c.setColorAt(0, QColor(70, 44, 52, 0));
        c.setColorAt(0.5, QColor(70, 44, 52, 90));
        c.setColorAt(1, QColor(70, 44, 52, 0));
        p.setBrush(c);
        p.drawEllipse(QRectF(x, y, 140, rng.range(4, 10)));
    }
    // Red Mountain with its plume.
    drawAshPlume(p, QPointF(178, 56), 1.3);
    drawRedMountain(p, QPointF(178, 56), 210, 76, 132, QColor(96, 44, 38));
    // Rolling ash hills, lighter with distance.
    p.fillPath(hills(-10, w + 10, 118, h, 10, 3), QColor(128, 80, 62));
    drawSiltStrider(p, QPointF(112, 100), 0.3, QColor(70, 40, 36));
    p.fillPath(hills(-10, w + 10, 134, h, 12, 5), QColor(92, 58, 48));
    drawMushroom(p, QPointF(226, 140), 40, 40, 6, QColor(120, 96, 70), QColor(140, 90, 60),
                 QColor(180, 150, 110));
    p.fillPath(hills(-10, w + 10, 152, h, 10, 8), QColor(58, 38, 36));
    // Giant mushrooms close by.
    drawMushroom(p, QPointF(40, 176), 128, 96, 14, QColor(150, 122, 88), QColor(156, 96, 58),
                 QColor(214, 178, 128));
    drawMushroom(p, QPointF(84, 178), 70, 56, -8, QColor(140, 110, 80), QColor(146, 88, 56),
                 QColor(204, 170, 120));
    drawMushroom(p, QPointF(250, 180), 100, 70, -12, QColor(140, 112, 82), QColor(150, 92, 58),
                 QColor(210, 174, 124));
    p.fillPath(hills(-10, w + 10, 170, h, 5, 11), QColor(36, 24, 26));
    // Drifting ash.
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 90; ++i) {
        p.setBrush(QColor(230, 210, 190, static_cast<int>(rng.range(40, 140))));
        p.drawEllipse(QPointF(rng.range(0, w), rng.range(0, h)), rng.range(0.4, 1.0),
                      rng.range(0.4, 1.0));
    }
    drawBronzeFrame(p, QRectF(0, 0, w, h), 2);
    p.end();
    return img;
}

// ---------------------------------------------------------------- loader buttons

QImage drawLoaderButton(bool profile) {
    const int w = 120;
    const int h = 90;
    QImage img = newImage(w, h);
    QPainter p;
    beginPainter(p, img);
    drawFramedBackground(p, QRectF(0, 0, w, h));
    drawGlow(p, QPointF(60, 36), 46, QColor(120, 150, 220, 70));
    if (profile) {
        // An unrolled scroll with a character's notes and a wax seal, and a quill.
        QPainterPath sheet;
        sheet.addRect(QRectF(36, 14, 48, 46));
        QLinearGradient sg(36, 0, 84, 0);
        sg.setColorAt(0, pal::parchmentDark);
        sg.setColorAt(0.5, shade(pal::parchment, 1.1));
        sg.setColorAt(1, pal::parchmentDark);
        p.fillPath(sheet, sg);
        for (qreal y : {12.0, 60.0}) {
            QPainterPath roll;
            roll.addRoundedRect(QRectF(31, y - 4, 58, 8), 4, 4);
            QLinearGradient rg(0, y - 4, 0, y + 4);
            rg.setColorAt(0, shade(pal::parchment, 1.1));
            rg.setColorAt(1, pal::parchmentDark.darker(130));
            p.fillPath(roll, rg);
            p.setPen(QPen(pal::bronzeDark, 0.8));
            p.setBrush(Qt::NoBrush);
            p.drawPath(roll);
        }
        // Portrait sketch and lines of writing.
        p.setPen(QPen(withAlpha(pal::ink, 200), 0.9));
        p.setBrush(withAlpha(pal::ink, 40));
        p.drawEllipse(QPointF(47, 25), 4, 5);
        p.drawArc(QRectF(40, 30, 14, 10), 0, 180 * 16);
        for (int i = 0; i < 5; ++i) {
            const qreal y = 22 + i * 6;
            const qreal x0 = i < 3 ? 57 : 41;
            p.drawLine(QPointF(x0, y), QPointF(78 - (i % 2) * 5, y));
        }
        QPainterPath seal;
        seal.addEllipse(QPointF(76, 52), 5, 5);
        p.fillPath(seal, QColor(170, 30, 30));
        p.setPen(QPen(QColor(230, 120, 110), 0.8));
        p.drawEllipse(QPointF(76, 52), 3, 3);
        // Quill.
        QPainterPath feather;
        feather.moveTo(88, 58);
        feather.cubicTo(92, 40, 100, 24, 108, 10);
        feather.cubicTo(104, 28, 98, 44, 88, 58);
        feather.closeSubpath();
        p.fillPath(feather, QColor(240, 240, 235));
        p.setPen(QPen(QColor(120, 110, 100), 0.8));
        p.drawPath(feather);
        p.drawLine(QPointF(86, 62), QPointF(106, 14));
    } else {
        // A stack of bound templates with a bookmark.
        const QColor covers[] = {QColor(130, 36, 36), QColor(40, 90, 60), QColor(40, 60, 130)};
        for (int i = 0; i < 3; ++i) {
            const QRectF r(30 + (i % 2) * 4, 50 - i * 13, 60 - i * 3, 12);
            QPainterPath book;
            book.addRoundedRect(r, 2, 2);
            QLinearGradient g(0, r.top(), 0, r.bottom());
            g.setColorAt(0, shade(covers[i], 1.35));
            g.setColorAt(1, shade(covers[i], 0.7));
            p.fillPath(book, g);
            // Page edges.
            p.fillRect(QRectF(r.right() - 6, r.top() + 2, 5, r.height() - 4), pal::parchment);
            p.setPen(QPen(pal::bronzeLight, 1.2));
            p.drawLine(QPointF(r.left() + 8, r.top() + 1), QPointF(r.left() + 8, r.bottom() - 1));
            p.drawLine(QPointF(r.left() + 12, r.top() + 1), QPointF(r.left() + 12, r.bottom() - 1));
            p.setPen(QPen(shade(covers[i], 0.4), 0.8));
            p.setBrush(Qt::NoBrush);
            p.drawPath(book);
        }
        // Open book on top.
        QPainterPath left;
        left.moveTo(60, 22);
        left.quadTo(48, 16, 34, 20);
        left.lineTo(34, 36);
        left.quadTo(48, 32, 60, 38);
        left.closeSubpath();
        QPainterPath right = QTransform().translate(120, 0).scale(-1, 1).map(left);
        p.fillPath(left, shade(pal::parchment, 1.05));
        p.fillPath(right, pal::parchmentDark);
        p.setPen(QPen(pal::bronzeDark, 0.8));
        p.drawPath(left);
        p.drawPath(right);
        p.setPen(QPen(withAlpha(pal::ink, 170), 0.8));
        for (int i = 0; i < 3; ++i) {
            p.drawLine(QPointF(38, 24 + i * 4), QPointF(56, 26 + i * 4));
            p.drawLine(QPointF(64, 26 + i * 4), QPointF(82, 24 + i * 4));
        }
        QPainterPath ribbon;
        ribbon.moveTo(60, 36);
        ribbon.lineTo(63, 48);
        ribbon.lineTo(60, 46);
        ribbon.lineTo(57, 48);
        ribbon.closeSubpath();
        p.fillPath(ribbon, QColor(190, 40, 40));
    }
    drawLettering(p, QRectF(0, 64, w, 22),
                  profile ? QStringLiteral("Profile") : QStringLiteral("Template"),
                  serifFont(16, true), pal::parchment, QColor(0, 0, 0, 200), 1.3);
    drawBronzeFrame(p, QRectF(0, 0, w, h), 3);
    p.end();
    return img;
}

// ---------------------------------------------------------------- program icon

QImage drawProgramIcon(int size) {
    // Small sizes get a simpler medallion: thinner rim, no stars, larger letters.
    const bool small = size <= 32;
    QImage big = newImage(256, 256, true);
    QPainter p;
    beginPainter(p, big);
    const QPointF c(128, 128);
    const qreal field = small ? 108 : 100;
    // Bronze medallion with a night-blue field.
    QRadialGradient rim(c + QPointF(-40, -50), 170);
    rim.setColorAt(0, QColor(255, 226, 160));
    rim.setColorAt(0.5, pal::bronze);
    rim.setColorAt(1, pal::bronzeDark);
    p.setPen(QPen(shade(pal::bronzeDark, 0.5), small ? 8 : 4));
    p.setBrush(rim);
    p.drawEllipse(c, 122, 122);
    QRadialGradient blue(c + QPointF(-20, -30), 130);
    blue.setColorAt(0, pal::night2.lighter(small ? 170 : 140));
    blue.setColorAt(1, pal::night0);
    p.setPen(QPen(shade(pal::bronzeDark, 0.5), 3));
    p.setBrush(blue);
    p.drawEllipse(c, field, field);
    if (!small) {
        p.setPen(QPen(withAlpha(pal::bronzeLight, 150), 2));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(c, 92, 92);
        for (int i = 0; i < 24; ++i) {
            const qreal a = i * M_PI / 12;
            const QPointF d(std::cos(a), std::sin(a));
            p.setPen(QPen(shade(pal::bronzeDark, 0.6), 3));
            p.drawLine(c + d * 104, c + d * 116);
        }
        Rng rng(3);
        p.save();
        QPainterPath clip;
        clip.addEllipse(c, 92, 92);
        p.setClipPath(clip);
        drawStarField(p, QRectF(30, 30, 196, 196), rng, 60, 1.2);
        p.restore();
    }
    // A large T with the 2 beside it.
    if (small) {
        drawBronzeText(p, QPointF(44, 198), QStringLiteral("T"), serifFont(180, true), 6);
        drawBronzeText(p, QPointF(148, 200), QStringLiteral("2"), serifFont(112, true), 6);
    } else {
        drawBronzeText(p, QPointF(56, 186), QStringLiteral("T"), serifFont(150, true), 4);
        drawBronzeText(p, QPointF(146, 190), QStringLiteral("2"), serifFont(96, true), 3.5);
    }
    p.end();
    if (size == 256)
        return big;
    return big.scaled(size, size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

} // namespace artgen
