// Race portraits: a head-and-shoulders bust on a night-blue medallion, one for each of
// the ten races, each with the features that tell the race apart at a glance.
#include "artkit.h"
#include "pictures.h"

#include <QLinearGradient>
#include <QRadialGradient>
#include <QTransform>

#include <cmath>
#include <functional>

namespace artgen {

namespace {

constexpr qreal kW = 180;
constexpr qreal kH = 220;
constexpr qreal kCx = 90;

// ---------------------------------------------------------------- shape helpers

// Fills a shape lit from the upper left and rims it with a darker tone of its colour.
void fillLit(QPainter& p, const QPainterPath& path, const QColor& base, qreal rim = 1.0,
             QPointF lightBias = QPointF(-0.25, -0.3)) {
    const QRectF b = path.boundingRect();
    const qreal r = std::max(b.width(), b.height()) * 0.85;
    QRadialGradient g(b.center() + QPointF(b.width() * lightBias.x(), b.height() * lightBias.y()),
                      r);
    g.setColorAt(0.0, shade(base, 1.18));
    g.setColorAt(0.55, base);
    g.setColorAt(1.0, shade(base, 0.55));
    p.fillPath(path, g);
    if (rim > 0) {
        p.save();
        p.setPen(QPen(shade(base, 0.4), rim, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        p.drawPath(path);
        p.restore();
    }
}

// Vertical metal / cloth gradient.
void fillBands(QPainter& p, const QPainterPath& path, const QColor& base, qreal rim = 1.0) {
    const QRectF b = path.boundingRect();
    QLinearGradient g(b.topLeft(), b.bottomRight());
    g.setColorAt(0.0, shade(base, 1.3));
    g.setColorAt(0.4, base);
    g.setColorAt(1.0, shade(base, 0.5));
    p.fillPath(path, g);
    if (rim > 0) {
        p.save();
        p.setPen(QPen(shade(base, 0.35), rim, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        p.drawPath(path);
        p.restore();
    }
}

QPainterPath mirrored(const QPainterPath& path, qreal axis = kCx) {
    QTransform t;
    t.translate(2 * axis, 0);
    t.scale(-1, 1);
    return t.map(path);
}

// Head outline: round crown, cheeks, jaw and chin. jaw and chin are fractions of the
// width.
QPainterPath headPath(QPointF c, qreal w, qreal h, qreal jaw = 0.8, qreal chin = 0.32) {
    const qreal top = c.y() - h / 2;
    const qreal bot = c.y() + h / 2;
    const qreal hw = w / 2;
    QPainterPath p;
    p.moveTo(c.x(), top);
    p.cubicTo(c.x() + hw * 0.8, top, c.x() + hw, c.y() - h * 0.3, c.x() + hw, c.y() - h * 0.05);
    p.cubicTo(c.x() + hw, c.y() + h * 0.15, c.x() + hw * jaw, c.y() + h * 0.32, c.x() + hw * chin,
              bot - h * 0.03);
    p.quadTo(c.x(), bot + h * 0.02, c.x() - hw * chin, bot - h * 0.03);
    p.cubicTo(c.x() - hw * jaw, c.y() + h * 0.32, c.x() - hw, c.y() + h * 0.15, c.x() - hw,
              c.y() - h * 0.05);
    p.cubicTo(c.x() - hw, c.y() - h * 0.3, c.x() - hw * 0.8, top, c.x(), top);
    p.closeSubpath();
    return p;
}

enum class EyeKind { Round, Slit, Glow };

// One eye; tilt in degrees lifts the outer corner (mirrored for the left eye).
void drawEye(QPainter& p, QPointF c, qreal w, qreal h, const QColor& iris, EyeKind kind,
             bool leftEye, qreal tilt = 0, qreal irisScale = 1.0) {
    p.save();
    p.translate(c);
    p.rotate(leftEye ? tilt : -tilt);
    QPainterPath almond;
    almond.moveTo(-w / 2, 0);
    almond.cubicTo(-w * 0.25, -h * 1.05, w * 0.25, -h * 1.05, w / 2, 0);
    almond.cubicTo(w * 0.25, h * 0.8, -w * 0.25, h * 0.8, -w / 2, 0);
    almond.closeSubpath();
    if (kind == EyeKind::Glow) {
        drawGlow(p, QPointF(0, 0), w * 1.1, withAlpha(iris, 110));
        p.fillPath(almond, shade(iris, 0.45));
    } else {
        p.fillPath(almond, kind == EyeKind::Slit ? shade(iris, 0.8) : QColor(238, 232, 220));
    }
    p.setClipPath(almond);
    const qreal ir = h * 0.78 * irisScale;
    QRadialGradient g(QPointF(0, 0), ir);
    g.setColorAt(0, shade(iris, 1.35));
    g.setColorAt(0.7, iris);
    g.setColorAt(1, shade(iris, 0.5));
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    if (kind == EyeKind::Slit) {
        p.drawEllipse(QPointF(0, 0), w * 0.48, h * 1.0);
        p.setBrush(QColor(10, 8, 6));
        p.drawEllipse(QPointF(0, 0), ir * 0.22, h * 0.95);
    } else {
        p.drawEllipse(QPointF(0, 0.2), ir, ir);
        p.setBrush(kind == EyeKind::Glow ? shade(iris, 1.5) : QColor(12, 10, 10));
        p.drawEllipse(QPointF(0, 0.2), ir * 0.42, ir * 0.42);
    }
    p.setBrush(QColor(255, 255, 255, 210));
    p.drawEllipse(QPointF(-ir * 0.35, -ir * 0.35), ir * 0.22, ir * 0.22);
    p.setClipping(false);
    // Upper lid.
    QPainterPath lid;
    lid.moveTo(-w / 2 - 0.5, 0.3);
    lid.cubicTo(-w * 0.25, -h * 1.1, w * 0.25, -h * 1.1, w / 2 + 0.8, -0.2);
    p.setPen(QPen(QColor(30, 18, 12, 230), 1.4, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawPath(lid);
    p.restore();
}

void drawEyes(QPainter& p, qreal y, qreal spacing, qreal w, qreal h, const QColor& iris,
              EyeKind kind, qreal tilt = 0, qreal irisScale = 1.0) {
    drawEye(p, QPointF(kCx - spacing, y), w, h, iris, kind, true, tilt, irisScale);
    drawEye(p, QPointF(kCx + spacing, y), w, h, iris, kind, false, tilt, irisScale);
}

// Brows as tapered strokes; lift raises the outer end.
void drawBrows(QPainter& p, qreal y, qreal spacing, qreal len, const QColor& colour,
               qreal thickness, qreal lift = 0) {
    for (int side = -1; side <= 1; side += 2) {
        const qreal inner = kCx + side * (spacing - len / 2);
        const qreal outer = kCx + side * (spacing + len / 2);
        QPainterPath b;
        b.moveTo(inner, y + 1);
        b.quadTo((inner + outer) / 2, y - 2.5 - lift / 2, outer, y - lift);
        b.quadTo((inner + outer) / 2, y - 2.5 - lift / 2 + thickness, inner, y + 1 + thickness);
        b.closeSubpath();
        p.fillPath(b, colour);
    }
}

void drawNose(QPainter& p, qreal top, qreal tip, qreal width, const QColor& skin) {
    p.save();
    p.setBrush(Qt::NoBrush);
    // Shadowed side of the bridge.
    QPainterPath side;
    side.moveTo(kCx + 2, top);
    side.cubicTo(kCx + 3.5, top + (tip - top) * 0.5, kCx + width * 0.45, tip - 4,
                 kCx + width * 0.35, tip - 1);
    p.setPen(QPen(withAlpha(shade(skin, 0.55), 170), 1.3, Qt::SolidLine, Qt::RoundCap));
    p.drawPath(side);
    // Nostrils and the shadow under the tip.
    QPainterPath base;
    base.moveTo(kCx - width / 2, tip - 2);
    base.quadTo(kCx - width / 2 - 1, tip + 1.5, kCx - width * 0.2, tip + 1);
    base.quadTo(kCx, tip + 2.8, kCx + width * 0.2, tip + 1);
    base.quadTo(kCx + width / 2 + 1, tip + 1.5, kCx + width / 2, tip - 2);
    p.setPen(QPen(shade(skin, 0.45), 1.2, Qt::SolidLine, Qt::RoundCap));
    p.drawPath(base);
    p.setPen(Qt::NoPen);
    p.setBrush(withAlpha(shade(skin, 1.25), 120));
    p.drawEllipse(QPointF(kCx - 0.5, tip - 3), width * 0.18, 1.6);
    p.restore();
}

void drawMouth(QPainter& p, qreal y, qreal width, const QColor& skin, qreal smile = 0.5) {
    p.save();
    const QColor lip = mix(skin, QColor(150, 60, 60), 0.3);
    QPainterPath lower;
    lower.moveTo(kCx - width * 0.4, y + 0.5);
    lower.quadTo(kCx, y + 5, kCx + width * 0.4, y + 0.5);
    lower.quadTo(kCx, y + 1.5, kCx - width * 0.4, y + 0.5);
    p.fillPath(lower, shade(lip, 0.95));
    QPainterPath line;
    line.moveTo(kCx - width / 2, y - smile);
    line.quadTo(kCx - width * 0.2, y + 0.8, kCx, y + 0.3);
    line.quadTo(kCx + width * 0.2, y + 0.8, kCx + width / 2, y - smile);
    p.setPen(QPen(shade(skin, 0.35), 1.3, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawPath(line);
    p.restore();
}

// Rounded human ears; the right one mirrors the left.
void drawHumanEars(QPainter& p, qreal y, qreal halfWidth, const QColor& skin) {
    QPainterPath ear;
    const qreal x = kCx - halfWidth + 2;
    ear.moveTo(x, y - 7);
    ear.cubicTo(x - 9, y - 11, x - 9, y + 8, x - 1, y + 12);
    ear.lineTo(x + 2, y + 10);
    ear.closeSubpath();
    fillLit(p, ear, skin, 0.9);
    fillLit(p, mirrored(ear), skin, 0.9);
}

// Long pointed elven ears; rise is how far the tip climbs, reach how far it sticks out.
void drawElfEars(QPainter& p, qreal y, qreal halfWidth, qreal reach, qreal rise,
                 const QColor& skin) {
    QPainterPath ear;
    const qreal x = kCx - halfWidth + 3;
    ear.moveTo(x, y - 8);
    ear.cubicTo(x - reach * 0.4, y - 10 - rise * 0.2, x - reach * 0.8, y - rise * 0.8, x - reach,
                y - rise);
    ear.cubicTo(x - reach * 0.75, y - rise * 0.35, x - reach * 0.45, y + 6, x - 3, y + 13);
    ear.lineTo(x + 2, y + 10);
    ear.closeSubpath();
    fillLit(p, ear, skin, 0.9);
    fillLit(p, mirrored(ear), skin, 0.9);
    // Inner fold.
    QPainterPath fold;
    fold.moveTo(x - 2, y - 4);
    fold.quadTo(x - reach * 0.55, y - rise * 0.45, x - reach * 0.85, y - rise * 0.9);
    p.save();
    p.setPen(QPen(withAlpha(shade(skin, 0.5), 150), 1.0, Qt::SolidLine, Qt::RoundCap));
    p.drawPath(fold);
    p.drawPath(mirrored(fold));
    p.restore();
}

void drawNeck(QPainter& p, qreal top, qreal bottom, qreal width, const QColor& skin) {
    QPainterPath neck;
    neck.moveTo(kCx - width / 2, top);
    neck.lineTo(kCx + width / 2, top);
    neck.quadTo(kCx + width / 2, bottom - 8, kCx + width / 2 + 6, bottom);
    neck.lineTo(kCx - width / 2 - 6, bottom);
    neck.quadTo(kCx - width / 2, bottom - 8, kCx - width / 2, top);
    neck.closeSubpath();
    fillLit(p, neck, shade(skin, 0.88), 0.8);
    // Shadow under the chin.
    p.save();
    p.setClipPath(neck);
    QLinearGradient g(0, top, 0, top + 12);
    g.setColorAt(0, withAlpha(shade(skin, 0.35), 200));
    g.setColorAt(1, withAlpha(shade(skin, 0.35), 0));
    p.fillRect(QRectF(kCx - width, top, width * 2, 12), g);
    p.restore();
}

// Shoulders and chest filling the bottom of the picture. top is where the shoulder
// line meets the neck.
QPainterPath shoulderPath(qreal top, qreal neckHalf, qreal width = 160) {
    const qreal bottom = 188;
    const qreal hw = width / 2;
    QPainterPath s;
    s.moveTo(kCx - hw, bottom);
    s.cubicTo(kCx - hw, top + 24, kCx - hw + 16, top + 6, kCx - neckHalf - 8, top);
    s.lineTo(kCx + neckHalf + 8, top);
    s.cubicTo(kCx + hw - 16, top + 6, kCx + hw, top + 24, kCx + hw, bottom);
    s.closeSubpath();
    return s;
}

// A rounded armour plate over one shoulder (left side; mirror for the right).
QPainterPath pauldron(qreal x, qreal y, qreal w, qreal h) {
    QPainterPath pl;
    pl.moveTo(x, y + h);
    pl.cubicTo(x - 2, y + h * 0.2, x + w * 0.3, y, x + w * 0.7, y);
    pl.cubicTo(x + w * 0.95, y, x + w, y + h * 0.35, x + w, y + h * 0.6);
    pl.quadTo(x + w * 0.5, y + h * 0.85, x, y + h);
    pl.closeSubpath();
    return pl;
}

void drawBackdrop(QPainter& p, const QColor& tint, int seed) {
    const QRectF area = cardPictureArea(QSizeF(kW, kH));
    QRadialGradient g(QPointF(kCx, 78), 125);
    g.setColorAt(0, mix(pal::navy, tint, 0.55));
    g.setColorAt(0.55, mix(pal::night1, tint, 0.18));
    g.setColorAt(1, pal::night0);
    p.fillRect(area, g);
    Rng rng(static_cast<std::uint32_t>(seed));
    p.save();
    p.setClipRect(area);
    drawStarField(p, area, rng, 40, 0.6);
    // Medallion ring behind the head.
    const QPointF c(kCx, 86);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(withAlpha(pal::bronze, 110), 3));
    p.drawEllipse(c, 68, 68);
    p.setPen(QPen(withAlpha(pal::bronzeLight, 70), 1));
    p.drawEllipse(c, 63, 63);
    p.drawEllipse(c, 73, 73);
    for (int i = 0; i < 16; ++i) {
        const qreal a = i * M_PI / 8;
        const QPointF d(std::cos(a), std::sin(a));
        p.setPen(QPen(withAlpha(pal::bronzeLight, 90), 1.2));
        p.drawLine(c + d * 64, c + d * 72);
    }
    drawGlow(p, c, 60, withAlpha(mix(tint, Qt::white, 0.2), 70));
    p.restore();
}

// Fur edge: a jagged band following the top of a shape.
QPainterPath furCollar(qreal top, qreal width, int tufts, Rng& rng) {
    QPainterPath fur;
    const qreal left = kCx - width / 2;
    fur.moveTo(left, 188);
    fur.lineTo(left, top + 18);
    for (int i = 0; i <= tufts; ++i) {
        const qreal t = static_cast<qreal>(i) / tufts;
        const qreal x = left + width * t;
        const qreal arch = std::sin(t * M_PI);
        const qreal y = top + 18 - arch * 22 + rng.range(-2, 2);
        fur.lineTo(x - width / tufts / 2, y + rng.range(3, 7));
        fur.lineTo(x, y - rng.range(2, 5));
    }
    fur.lineTo(left + width, 188);
    fur.closeSubpath();
    return fur;
}

// Short fur strokes over a shape for texture.
void furStrokes(QPainter& p, const QPainterPath& clip, const QColor& colour, int count, Rng& rng) {
    p.save();
    p.setClipPath(clip);
    const QRectF b = clip.boundingRect();
    for (int i = 0; i < count; ++i) {
        const QPointF a(rng.range(b.left(), b.right()), rng.range(b.top(), b.bottom()));
        const qreal ang = rng.range(-0.6, 0.6) + M_PI / 2;
        const qreal len = rng.range(4, 9);
        p.setPen(QPen(withAlpha(rng.uniform() < 0.5 ? shade(colour, 0.6) : shade(colour, 1.3), 130),
                      1.0, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(a, a + QPointF(std::cos(ang) * len * 0.4, std::sin(ang) * len));
    }
    p.restore();
}

// A braid of overlapping lobes from a to b.
void drawBraid(QPainter& p, QPointF a, QPointF b, qreal width, const QColor& hair,
               const QColor& band) {
    const int lobes = 7;
    const QPointF d = (b - a) / lobes;
    const qreal len = std::hypot(d.x(), d.y());
    const qreal ang = std::atan2(d.y(), d.x()) * 180 / M_PI;
    for (int i = 0; i < lobes; ++i) {
        const QPointF c = a + d * (i + 0.5);
        const qreal wv = width * (1.0 - 0.35 * i / lobes);
        p.save();
        p.translate(c);
        p.rotate(ang + (i % 2 ? 14 : -14));
        QPainterPath lobe;
        lobe.addEllipse(QPointF(0, 0), len * 0.75, wv / 2);
        fillLit(p, lobe, hair, 0.8);
        p.restore();
    }
    // Bronze bands near the ends.
    for (qreal t : {0.35, 0.95}) {
        const QPointF c = a + (b - a) * t;
        p.save();
        p.translate(c);
        p.rotate(ang);
        QPainterPath ring;
        ring.addRoundedRect(QRectF(-2.2, -width * 0.45, 4.4, width * 0.9), 1.2, 1.2);
        fillBands(p, ring, band, 0.7);
        p.restore();
    }
}

void drawLeaf(QPainter& p, QPointF base, qreal angleDeg, qreal len, const QColor& colour) {
    p.save();
    p.translate(base);
    p.rotate(angleDeg);
    QPainterPath leaf;
    leaf.moveTo(0, 0);
    leaf.cubicTo(len * 0.3, -len * 0.32, len * 0.75, -len * 0.25, len, 0);
    leaf.cubicTo(len * 0.75, len * 0.25, len * 0.3, len * 0.32, 0, 0);
    leaf.closeSubpath();
    fillLit(p, leaf, colour, 0.8);
    p.setPen(QPen(withAlpha(shade(colour, 0.5), 170), 0.7));
    p.drawLine(QPointF(1, 0), QPointF(len * 0.85, 0));
    p.restore();
}

// ---------------------------------------------------------------- the races

void paintNord(QPainter& p) {
    const QColor skin(236, 200, 170);
    const QColor hair(222, 184, 100);
    const QColor fur(128, 104, 78);
    Rng rng(6);
    drawBackdrop(p, QColor(90, 150, 215), 61);
    const QPointF hc(kCx, 84);
    // Long hair falling behind the shoulders.
    QPainterPath back;
    back.moveTo(kCx - 30, 60);
    back.cubicTo(kCx - 44, 90, kCx - 42, 130, kCx - 48, 160);
    back.lineTo(kCx + 48, 160);
    back.cubicTo(kCx + 42, 130, kCx + 44, 90, kCx + 30, 60);
    back.closeSubpath();
    fillLit(p, back, shade(hair, 0.8), 1.0);
    // Fur mantle.
    QPainterPath body = shoulderPath(142, 14, 166);
    fillBands(p, body, QColor(70, 78, 96));
    QPainterPath mantle = furCollar(134, 168, 18, rng);
    fillLit(p, mantle, fur, 1.0);
    furStrokes(p, mantle, fur, 160, rng);
    drawNeck(p, 112, 146, 26, skin);
    drawHumanEars(p, 88, 33, skin);
    fillLit(p, headPath(hc, 66, 80, 0.86, 0.4), skin);
    drawEyes(p, 88, 13, 12, 4.6, QColor(70, 140, 210), EyeKind::Round);
    drawBrows(p, 80, 13, 16, shade(hair, 0.7), 2.4);
    drawNose(p, 90, 103, 11, skin);
    // Hair parted in the middle.
    QPainterPath top;
    top.moveTo(kCx - 36, 96);
    top.cubicTo(kCx - 38, 60, kCx - 22, 42, kCx, 43);
    top.cubicTo(kCx + 22, 42, kCx + 38, 60, kCx + 36, 96);
    top.cubicTo(kCx + 32, 80, kCx + 28, 70, kCx + 20, 64);
    top.quadTo(kCx + 8, 60, kCx, 52);
    top.quadTo(kCx - 8, 60, kCx - 20, 64);
    top.cubicTo(kCx - 28, 70, kCx - 32, 80, kCx - 36, 96);
    top.closeSubpath();
    fillLit(p, top, hair, 1.0);
    // Beard with moustache.
    QPainterPath beard;
    beard.moveTo(kCx - 33, 92);
    beard.cubicTo(kCx - 34, 118, kCx - 22, 140, kCx, 146);
    beard.cubicTo(kCx + 22, 140, kCx + 34, 118, kCx + 33, 92);
    beard.cubicTo(kCx + 28, 104, kCx + 20, 110, kCx + 14, 108);
    beard.quadTo(kCx, 104, kCx - 14, 108);
    beard.cubicTo(kCx - 20, 110, kCx - 28, 104, kCx - 33, 92);
    beard.closeSubpath();
    fillLit(p, beard, hair, 1.0);
    furStrokes(p, beard, hair, 60, rng);
    QPainterPath mouthGap;
    mouthGap.addEllipse(QPointF(kCx, 113), 6, 2.2);
    p.fillPath(mouthGap, QColor(90, 40, 30));
    QPainterPath moustache;
    moustache.moveTo(kCx, 106);
    moustache.cubicTo(kCx - 8, 104, kCx - 16, 108, kCx - 19, 118);
    moustache.cubicTo(kCx - 12, 112, kCx - 6, 111, kCx, 111);
    moustache.cubicTo(kCx + 6, 111, kCx + 12, 112, kCx + 19, 118);
    moustache.cubicTo(kCx + 16, 108, kCx + 8, 104, kCx, 106);
    moustache.closeSubpath();
    fillLit(p, moustache, shade(hair, 0.92), 0.8);
    drawBraid(p, QPointF(kCx - 8, 138), QPointF(kCx - 11, 180), 9, hair, pal::bronze);
    drawBraid(p, QPointF(kCx + 8, 138), QPointF(kCx + 11, 180), 9, hair, pal::bronze);
}

void paintImperial(QPainter& p) {
    const QColor skin(214, 166, 128);
    const QColor steel(176, 182, 192);
    const QColor crimson(160, 28, 30);
    drawBackdrop(p, QColor(180, 50, 40), 41);
    // Red crest, across the helmet like a centurion's.
    QPainterPath crest;
    crest.moveTo(kCx - 40, 52);
    crest.cubicTo(kCx - 40, 10, kCx + 40, 10, kCx + 40, 52);
    crest.quadTo(kCx, 40, kCx - 40, 52);
    crest.closeSubpath();
    fillLit(p, crest, crimson, 1.0);
    p.save();
    p.setClipPath(crest);
    for (int i = -14; i <= 14; ++i) {
        const qreal a = i * 0.11;
        p.setPen(QPen(withAlpha(shade(crimson, i % 2 ? 0.6 : 1.4), 150), 1));
        p.drawLine(QPointF(kCx, 60), QPointF(kCx + std::sin(a) * 60, 60 - std::cos(a) * 60));
    }
    p.restore();
    // Cape and tunic, then the segmented steel shoulders.
    QPainterPath body = shoulderPath(140, 14, 164);
    fillBands(p, body, crimson);
    for (int i = 0; i < 3; ++i) {
        QPainterPath plate = pauldron(kCx - 80 + i * 3, 142 + i * 9, 50 - i * 4, 22);
        fillBands(p, plate, steel, 0.9);
        fillBands(p, mirrored(plate), steel, 0.9);
    }
    // Chest plate.
    QPainterPath chest;
    chest.addRoundedRect(QRectF(kCx - 26, 150, 52, 40), 6, 6);
    fillBands(p, chest, steel, 0.9);
    p.setPen(QPen(pal::bronze, 1.6));
    for (int i = 0; i < 3; ++i)
        p.drawLine(QPointF(kCx - 24, 158 + i * 10), QPointF(kCx + 24, 158 + i * 10));
    drawNeck(p, 112, 148, 26, skin);
    // Neck guard flaring out behind the head.
    QPainterPath neckGuard;
    neckGuard.moveTo(kCx - 36, 74);
    neckGuard.lineTo(kCx - 46, 96);
    neckGuard.quadTo(kCx, 104, kCx + 46, 96);
    neckGuard.lineTo(kCx + 36, 74);
    neckGuard.closeSubpath();
    fillBands(p, neckGuard, shade(steel, 0.8), 1.0);
    fillLit(p, headPath(QPointF(kCx, 86), 62, 78, 0.8, 0.38), skin);
    drawEyes(p, 90, 12.5, 11.5, 4.4, QColor(110, 74, 40), EyeKind::Round);
    drawBrows(p, 82, 12.5, 15, QColor(60, 40, 26), 2.2);
    drawNose(p, 92, 105, 11, skin);
    drawMouth(p, 115, 16, skin, 0.2);
    // Helmet bowl with a bronze brow band, and the cheek guards.
    QPainterPath bowl;
    bowl.moveTo(kCx - 36, 80);
    bowl.cubicTo(kCx - 38, 40, kCx - 20, 36, kCx, 36);
    bowl.cubicTo(kCx + 20, 36, kCx + 38, 40, kCx + 36, 80);
    bowl.lineTo(kCx + 31, 78);
    bowl.quadTo(kCx, 70, kCx - 31, 78);
    bowl.closeSubpath();
    fillLit(p, bowl, steel, 1.0, QPointF(-0.2, -0.4));
    QPainterPath band;
    band.moveTo(kCx - 36, 80);
    band.quadTo(kCx, 66, kCx + 36, 80);
    band.lineTo(kCx + 35, 74);
    band.quadTo(kCx, 60, kCx - 35, 74);
    band.closeSubpath();
    fillBands(p, band, pal::bronze, 0.8);
    // Rivets along the band.
    p.setPen(Qt::NoPen);
    p.setBrush(pal::bronzeLight);
    for (int i = -3; i <= 3; ++i)
        p.drawEllipse(QPointF(kCx + i * 9, 68.5 + std::abs(i) * std::abs(i) * 0.35), 1.1, 1.1);
    QPainterPath guard;
    guard.moveTo(kCx - 37, 77);
    guard.lineTo(kCx - 26, 79);
    guard.lineTo(kCx - 23, 94);
    guard.quadTo(kCx - 20, 104, kCx - 24, 114);
    guard.lineTo(kCx - 31, 117);
    guard.quadTo(kCx - 36, 104, kCx - 38, 88);
    guard.closeSubpath();
    fillLit(p, guard, steel, 1.0);
    fillLit(p, mirrored(guard), steel, 1.0);
    p.setPen(QPen(pal::bronze, 1.2));
    p.setBrush(Qt::NoBrush);
    QPainterPath guardTrim;
    guardTrim.moveTo(kCx - 25, 82);
    guardTrim.lineTo(kCx - 22.5, 95);
    guardTrim.quadTo(kCx - 19.5, 104, kCx - 23, 113);
    p.drawPath(guardTrim);
    p.drawPath(mirrored(guardTrim));
    p.setPen(Qt::NoPen);
    p.setBrush(pal::bronzeLight);
    p.drawEllipse(QPointF(kCx - 31, 90), 1.4, 1.4);
    p.drawEllipse(QPointF(kCx + 31, 90), 1.4, 1.4);
    p.drawEllipse(QPointF(kCx - 30, 108), 1.4, 1.4);
    p.drawEllipse(QPointF(kCx + 30, 108), 1.4, 1.4);
    // Crest holder.
    QPainterPath knob;
    knob.addRoundedRect(QRectF(kCx - 6, 33, 12, 6), 2, 2);
    fillBands(p, knob, pal::bronze, 0.8);
}

void paintBreton(QPainter& p) {
    const QColor skin(242, 210, 184);
    const QColor robe(58, 48, 126);
    drawBackdrop(p, QColor(130, 80, 200), 11);
    // The hood and robe as one shape.
    QPainterPath hood;
    hood.moveTo(kCx - 82, 188);
    hood.cubicTo(kCx - 80, 150, kCx - 60, 140, kCx - 48, 126);
    hood.cubicTo(kCx - 50, 80, kCx - 40, 40, kCx, 22);
    hood.cubicTo(kCx + 40, 40, kCx + 50, 80, kCx + 48, 126);
    hood.cubicTo(kCx + 60, 140, kCx + 80, 150, kCx + 82, 188);
    hood.closeSubpath();
    fillLit(p, hood, robe, 1.2);
    // Dark opening of the hood.
    QPainterPath opening;
    opening.moveTo(kCx, 46);
    opening.cubicTo(kCx + 34, 50, kCx + 40, 100, kCx + 30, 130);
    opening.quadTo(kCx, 150, kCx - 30, 130);
    opening.cubicTo(kCx - 40, 100, kCx - 34, 50, kCx, 46);
    opening.closeSubpath();
    p.fillPath(opening, QColor(18, 14, 36));
    drawNeck(p, 112, 150, 24, skin);
    fillLit(p, headPath(QPointF(kCx, 90), 56, 74, 0.78, 0.34), skin);
    // Shadow of the hood on the forehead.
    p.save();
    p.setClipPath(headPath(QPointF(kCx, 90), 56, 74, 0.78, 0.34));
    QLinearGradient sh(0, 52, 0, 80);
    sh.setColorAt(0, QColor(20, 14, 40, 230));
    sh.setColorAt(1, QColor(20, 14, 40, 0));
    p.fillRect(QRectF(kCx - 40, 50, 80, 30), sh);
    p.restore();
    drawEyes(p, 92, 11.5, 11, 4.3, QColor(90, 150, 120), EyeKind::Round);
    drawBrows(p, 84, 11.5, 14, QColor(90, 60, 40), 1.9, 1);
    drawNose(p, 94, 106, 10, skin);
    drawMouth(p, 116, 14, skin, 0.6);
    // Dark hair showing under the hood.
    QPainterPath fringe;
    fringe.moveTo(kCx - 30, 96);
    fringe.cubicTo(kCx - 30, 70, kCx - 16, 60, kCx, 62);
    fringe.cubicTo(kCx + 16, 60, kCx + 30, 70, kCx + 30, 96);
    fringe.cubicTo(kCx + 24, 80, kCx + 14, 72, kCx + 4, 72);
    fringe.quadTo(kCx - 10, 72, kCx - 20, 78);
    fringe.cubicTo(kCx - 26, 82, kCx - 28, 88, kCx - 30, 96);
    fringe.closeSubpath();
    fillLit(p, fringe, QColor(92, 56, 34), 0.8);
    // Hood rim over the face, with a gold edge.
    QPainterPath rim;
    rim.addPath(hood);
    QPainterPath hole;
    hole.moveTo(kCx, 58);
    hole.cubicTo(kCx + 32, 58, kCx + 36, 100, kCx + 28, 128);
    hole.quadTo(kCx, 146, kCx - 28, 128);
    hole.cubicTo(kCx - 36, 100, kCx - 32, 58, kCx, 58);
    hole.closeSubpath();
    QPainterPath upper;
    upper.addRect(QRectF(0, 0, kW, 132));
    QPainterPath frameOfHood = hood.intersected(upper).subtracted(hole);
    fillLit(p, frameOfHood, robe, 1.0);
    p.setPen(QPen(pal::bronzeLight, 1.6));
    p.setBrush(Qt::NoBrush);
    QPainterPath holeTop;
    holeTop.moveTo(kCx - 28, 128);
    holeTop.cubicTo(kCx - 36, 100, kCx - 32, 58, kCx, 58);
    holeTop.cubicTo(kCx + 32, 58, kCx + 36, 100, kCx + 28, 128);
    p.drawPath(holeTop);
    // Robe opening with gold trim and a clasp.
    QPainterPath trimL;
    trimL.moveTo(kCx - 22, 140);
    trimL.lineTo(kCx - 4, 188);
    p.setPen(QPen(pal::bronzeLight, 3));
    p.drawPath(trimL);
    p.drawPath(mirrored(trimL));
    QPainterPath clasp;
    clasp.addEllipse(QPointF(kCx, 150), 5, 5);
    fillLit(p, clasp, pal::bronze, 0.8);
    // A mage's light hovering at the shoulder.
    const QPointF orb(kCx + 56, 148);
    drawGlow(p, orb, 26, QColor(120, 190, 255, 200));
    QPainterPath ball;
    ball.addEllipse(orb, 7, 7);
    QRadialGradient bg(orb + QPointF(-2, -2), 8);
    bg.setColorAt(0, Qt::white);
    bg.setColorAt(0.5, QColor(150, 210, 255));
    bg.setColorAt(1, QColor(60, 110, 220));
    p.fillPath(ball, bg);
    drawStar(p, orb + QPointF(-14, -12), 0.9, QColor(170, 220, 255));
    drawStar(p, orb + QPointF(10, -18), 0.6, QColor(170, 220, 255));
    drawStar(p, orb + QPointF(-6, 16), 0.5, QColor(170, 220, 255));
}

void paintRedguard(QPainter& p) {
    const QColor skin(112, 72, 46);
    const QColor cloth(214, 190, 140);
    const QColor wrap(236, 226, 204);
    drawBackdrop(p, QColor(210, 120, 40), 81);
    QPainterPath body = shoulderPath(142, 14, 164);
    fillBands(p, body, cloth);
    // Sash across the chest.
    QPainterPath sash;
    sash.moveTo(kCx - 70, 150);
    sash.lineTo(kCx - 52, 146);
    sash.lineTo(kCx + 62, 188);
    sash.lineTo(kCx + 36, 188);
    sash.closeSubpath();
    fillBands(p, sash, QColor(170, 40, 36), 0.8);
    drawNeck(p, 112, 148, 26, skin);
    drawHumanEars(p, 90, 32, skin);
    fillLit(p, headPath(QPointF(kCx, 88), 62, 78, 0.84, 0.38), skin);
    drawEyes(p, 91, 12.5, 11.5, 4.4, QColor(60, 34, 20), EyeKind::Round);
    drawBrows(p, 83, 12.5, 15, QColor(24, 16, 12), 2.4, -0.5);
    drawNose(p, 93, 107, 13, skin);
    drawMouth(p, 117, 17, skin, 0.1);
    // Short black beard round the jaw.
    QPainterPath beard;
    beard.moveTo(kCx - 30, 100);
    beard.cubicTo(kCx - 30, 118, kCx - 18, 128, kCx, 130);
    beard.cubicTo(kCx + 18, 128, kCx + 30, 118, kCx + 30, 100);
    beard.cubicTo(kCx + 26, 114, kCx + 16, 122, kCx + 8, 121);
    beard.quadTo(kCx, 119, kCx - 8, 121);
    beard.cubicTo(kCx - 16, 122, kCx - 26, 114, kCx - 30, 100);
    beard.closeSubpath();
    p.fillPath(beard, QColor(22, 16, 14, 230));
    QPainterPath moustache;
    moustache.moveTo(kCx - 11, 116);
    moustache.quadTo(kCx, 108, kCx + 11, 116);
    moustache.quadTo(kCx, 112, kCx - 11, 116);
    p.fillPath(moustache, QColor(22, 16, 14));
    // Desert head wrap with folds and a tail over the shoulder.
    QPainterPath head;
    head.moveTo(kCx - 37, 84);
    head.cubicTo(kCx - 42, 40, kCx - 16, 34, kCx, 34);
    head.cubicTo(kCx + 18, 34, kCx + 42, 40, kCx + 37, 84);
    head.quadTo(kCx + 20, 72, kCx, 74);
    head.quadTo(kCx - 20, 72, kCx - 37, 84);
    head.closeSubpath();
    fillLit(p, head, wrap, 1.0);
    p.save();
    p.setClipPath(head);
    p.setPen(QPen(withAlpha(shade(wrap, 0.6), 180), 1.2));
    p.setBrush(Qt::NoBrush);
    for (int i = 0; i < 4; ++i) {
        QPainterPath fold;
        fold.moveTo(kCx - 40, 78 - i * 9);
        fold.quadTo(kCx, 50 - i * 6 + i * i, kCx + 40, 62 - i * 9);
        p.drawPath(fold);
    }
    p.restore();
    QPainterPath tail;
    tail.moveTo(kCx + 30, 78);
    tail.cubicTo(kCx + 46, 96, kCx + 40, 130, kCx + 52, 150);
    tail.lineTo(kCx + 40, 152);
    tail.cubicTo(kCx + 30, 130, kCx + 34, 100, kCx + 24, 84);
    tail.closeSubpath();
    fillLit(p, tail, shade(wrap, 0.92), 1.0);
    // Scimitar held upright in front of the left shoulder.
    QPainterPath blade;
    blade.moveTo(kCx - 58, 156);
    blade.cubicTo(kCx - 74, 120, kCx - 80, 70, kCx - 64, 22);
    blade.cubicTo(kCx - 62, 40, kCx - 56, 60, kCx - 57, 80);
    blade.cubicTo(kCx - 58, 110, kCx - 52, 134, kCx - 50, 156);
    blade.closeSubpath();
    QLinearGradient steel(kCx - 76, 0, kCx - 52, 0);
    steel.setColorAt(0, QColor(120, 128, 140));
    steel.setColorAt(0.45, QColor(240, 244, 250));
    steel.setColorAt(1, QColor(130, 138, 150));
    p.fillPath(blade, steel);
    p.setPen(QPen(QColor(40, 44, 52), 1));
    p.setBrush(Qt::NoBrush);
    p.drawPath(blade);
    QPainterPath guardBar;
    guardBar.addRoundedRect(QRectF(kCx - 70, 154, 28, 6), 3, 3);
    fillBands(p, guardBar, QColor(214, 170, 60), 0.8);
    QPainterPath grip;
    grip.addRoundedRect(QRectF(kCx - 58, 160, 6, 26), 2, 2);
    fillBands(p, grip, QColor(80, 44, 26), 0.8);
}

void paintDarkElf(QPainter& p) {
    const QColor skin(104, 114, 128);
    const QColor bone(170, 114, 66);
    drawBackdrop(p, QColor(190, 60, 30), 21);
    QPainterPath body = shoulderPath(142, 12, 160);
    fillBands(p, body, QColor(60, 44, 40));
    // Layered bonemold plates with ridged edges.
    for (int i = 0; i < 3; ++i) {
        QPainterPath plate = pauldron(kCx - 82 + i * 4, 138 + i * 10, 54 - i * 7, 24);
        const QColor c = shade(bone, 1.0 - i * 0.12);
        fillLit(p, plate, c, 1.0);
        fillLit(p, mirrored(plate), c, 1.0);
        QPainterPath edge;
        edge.moveTo(kCx - 82 + i * 4 + 3, 138 + i * 10 + 20);
        edge.cubicTo(kCx - 82 + i * 4 + 4, 138 + i * 10 + 6, kCx - 82 + i * 4 + 18,
                     138 + i * 10 + 3, kCx - 82 + i * 4 + 38 - i * 5, 138 + i * 10 + 3);
        p.setPen(QPen(withAlpha(shade(c, 1.4), 200), 1.2, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        p.drawPath(edge);
        p.drawPath(mirrored(edge));
    }
    drawNeck(p, 114, 146, 22, skin);
    drawElfEars(p, 90, 28, 26, 22, skin);
    fillLit(p, headPath(QPointF(kCx, 88), 56, 80, 0.66, 0.26), skin);
    // Hollow cheeks.
    p.setPen(QPen(withAlpha(shade(skin, 0.5), 120), 1.2));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(kCx - 26, 96, 14, 18), 200 * 16, 70 * 16);
    p.drawArc(QRectF(kCx + 12, 96, 14, 18), -90 * 16, 70 * 16);
    drawEyes(p, 91, 11.5, 12, 4.2, QColor(235, 40, 30), EyeKind::Glow, 9, 1.05);
    drawBrows(p, 82, 11.5, 15, QColor(26, 16, 18), 2.2, 4);
    drawNose(p, 93, 107, 9, skin);
    drawMouth(p, 117, 14, skin, -0.8);
    // Spiky black hair swept back from the brow.
    QPainterPath hair;
    hair.moveTo(kCx - 29, 84);
    hair.cubicTo(kCx - 34, 64, kCx - 30, 52, kCx - 22, 46);
    hair.lineTo(kCx - 30, 34);
    hair.lineTo(kCx - 12, 40);
    hair.lineTo(kCx - 14, 24);
    hair.lineTo(kCx + 2, 36);
    hair.lineTo(kCx + 6, 18);
    hair.lineTo(kCx + 16, 38);
    hair.lineTo(kCx + 30, 30);
    hair.lineTo(kCx + 26, 48);
    hair.cubicTo(kCx + 33, 58, kCx + 33, 70, kCx + 29, 84);
    hair.cubicTo(kCx + 26, 68, kCx + 16, 60, kCx + 4, 61);
    hair.lineTo(kCx - 2, 57);
    hair.lineTo(kCx - 8, 63);
    hair.cubicTo(kCx - 18, 62, kCx - 26, 70, kCx - 29, 84);
    hair.closeSubpath();
    fillLit(p, hair, QColor(36, 22, 28), 1.0);
    p.save();
    p.setClipPath(hair);
    p.setPen(QPen(QColor(150, 70, 70, 130), 1.0, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    for (int i = -2; i <= 2; ++i) {
        QPainterPath strand;
        strand.moveTo(kCx + i * 9, 62);
        strand.quadTo(kCx + i * 10, 46, kCx + i * 8 + 2, 30);
        p.drawPath(strand);
    }
    p.restore();
    // Ash war paint under the eyes.
    p.setPen(QPen(QColor(20, 16, 20, 150), 1.6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(kCx - 16, 97), QPointF(kCx - 12, 104));
    p.drawLine(QPointF(kCx + 16, 97), QPointF(kCx + 12, 104));
}

void paintHighElf(QPainter& p) {
    const QColor skin(226, 198, 104);
    const QColor robe(232, 226, 206);
    drawBackdrop(p, QColor(210, 180, 80), 31);
    // Tall standing collar behind the head.
    QPainterPath collar;
    collar.moveTo(kCx - 22, 150);
    collar.cubicTo(kCx - 50, 130, kCx - 58, 100, kCx - 52, 84);
    collar.cubicTo(kCx - 40, 104, kCx - 30, 118, kCx - 14, 128);
    collar.lineTo(kCx + 14, 128);
    collar.cubicTo(kCx + 30, 118, kCx + 40, 104, kCx + 52, 84);
    collar.cubicTo(kCx + 58, 100, kCx + 50, 130, kCx + 22, 150);
    collar.closeSubpath();
    fillLit(p, collar, QColor(50, 90, 150), 1.0);
    p.setPen(QPen(pal::bronzeLight, 1.6));
    p.setBrush(Qt::NoBrush);
    p.drawPath(collar);
    QPainterPath body = shoulderPath(144, 12, 150);
    fillBands(p, body, robe);
    QPainterPath trim;
    trim.moveTo(kCx - 18, 146);
    trim.lineTo(kCx, 188);
    trim.lineTo(kCx + 18, 146);
    p.setPen(QPen(pal::bronze, 3));
    p.drawPath(trim);
    drawNeck(p, 116, 150, 25, skin);
    drawElfEars(p, 84, 28, 20, 34, skin);
    const QPainterPath head = headPath(QPointF(kCx, 80), 56, 92, 0.66, 0.28);
    fillLit(p, head, skin);
    // High cheekbones.
    p.setPen(QPen(withAlpha(shade(skin, 0.55), 130), 1.2));
    p.drawArc(QRectF(kCx - 24, 90, 12, 20), 190 * 16, 60 * 16);
    p.drawArc(QRectF(kCx + 12, 90, 12, 20), -70 * 16, 60 * 16);
    drawEyes(p, 86, 11, 12, 3.8, QColor(214, 150, 30), EyeKind::Round, 10);
    drawBrows(p, 78, 11, 14, QColor(150, 110, 40), 1.6, 5);
    drawNose(p, 88, 104, 8, skin);
    drawMouth(p, 114, 12, skin, 0);
    // Gold circlet with a sapphire.
    QPainterPath circlet;
    circlet.moveTo(kCx - 26, 66);
    circlet.quadTo(kCx, 54, kCx + 26, 66);
    circlet.lineTo(kCx + 26, 62);
    circlet.quadTo(kCx, 50, kCx - 26, 62);
    circlet.closeSubpath();
    fillBands(p, circlet, QColor(230, 180, 60), 0.8);
    QPainterPath gem;
    gem.moveTo(kCx, 50);
    gem.lineTo(kCx + 5, 57);
    gem.lineTo(kCx, 64);
    gem.lineTo(kCx - 5, 57);
    gem.closeSubpath();
    fillLit(p, gem, QColor(60, 110, 230), 0.8);
    drawGlow(p, QPointF(kCx - 1, 56), 6, QColor(200, 230, 255, 160));
}

void paintWoodElf(QPainter& p) {
    const QColor skin(176, 124, 80);
    const QColor hair(98, 60, 32);
    const QColor cloak(54, 104, 52);
    Rng rng(9);
    drawBackdrop(p, QColor(70, 150, 60), 91);
    // Bow behind the shoulder.
    QPainterPath bow;
    bow.moveTo(kCx + 44, 30);
    bow.cubicTo(kCx + 74, 70, kCx + 76, 130, kCx + 50, 186);
    p.setPen(QPen(QColor(110, 70, 34), 4, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawPath(bow);
    p.setPen(QPen(QColor(230, 220, 190, 200), 0.8));
    p.drawLine(QPointF(kCx + 44, 30), QPointF(kCx + 50, 186));
    // Green cloak with a leafy edge.
    QPainterPath body = shoulderPath(150, 12, 150);
    fillBands(p, body, cloak);
    for (int i = 0; i < 11; ++i) {
        const qreal t = i / 10.0;
        const QPointF base(kCx - 60 + 120 * t, 152 + std::abs(t - 0.5) * 30);
        drawLeaf(p, base, -90 + (t - 0.5) * 120 + rng.range(-10, 10), 16,
                 mix(cloak, QColor(150, 170, 60), rng.uniform() * 0.6));
    }
    drawNeck(p, 124, 154, 18, skin);
    drawElfEars(p, 102, 24, 22, 12, skin);
    fillLit(p, headPath(QPointF(kCx, 100), 50, 62, 0.72, 0.3), skin);
    drawEyes(p, 103, 10.5, 11, 4.4, QColor(60, 120, 50), EyeKind::Round, 6, 1.1);
    drawBrows(p, 96, 10.5, 12, hair, 1.8, 3);
    drawNose(p, 104, 114, 8, skin);
    drawMouth(p, 122, 11, skin, 0.8);
    // Shaggy hair with a crown of leaves.
    QPainterPath top;
    top.moveTo(kCx - 27, 104);
    top.cubicTo(kCx - 32, 72, kCx - 16, 64, kCx, 64);
    top.cubicTo(kCx + 16, 64, kCx + 32, 72, kCx + 27, 104);
    for (int i = 0; i < 7; ++i) {
        const qreal x = kCx + 24 - i * 8;
        top.lineTo(x - 4, 84 + (i % 2) * 5);
        top.lineTo(x - 8, 92 - std::abs(3 - i) * 2);
    }
    top.closeSubpath();
    fillLit(p, top, hair, 1.0);
    for (int i = 0; i < 9; ++i) {
        const qreal a = M_PI * (1.05 + i * 0.112);
        const QPointF base(kCx + std::cos(a) * 26, 84 + std::sin(a) * 20);
        drawLeaf(p, base, a * 180 / M_PI + (i % 2 ? 25 : -25), 14,
                 i % 3 == 0 ? QColor(190, 150, 50) : QColor(80, 150, 60));
    }
    // Falling leaves.
    drawLeaf(p, QPointF(28, 40), 30, 10, QColor(190, 140, 50));
    drawLeaf(p, QPointF(36, 120), -20, 9, QColor(100, 160, 60));
    drawLeaf(p, QPointF(150, 24), 120, 9, QColor(170, 120, 40));
}

void paintOrc(QPainter& p) {
    const QColor skin(110, 136, 70);
    const QColor iron(88, 92, 100);
    drawBackdrop(p, QColor(130, 110, 60), 71);
    // Topknot behind the head.
    QPainterPath tail;
    tail.moveTo(kCx - 4, 34);
    tail.cubicTo(kCx + 30, 20, kCx + 54, 40, kCx + 50, 90);
    tail.cubicTo(kCx + 46, 60, kCx + 30, 40, kCx + 4, 42);
    tail.closeSubpath();
    fillLit(p, tail, QColor(30, 26, 24), 1.0);
    QPainterPath body = shoulderPath(140, 18, 170);
    fillBands(p, body, QColor(84, 60, 42));
    for (int i = 0; i < 2; ++i) {
        QPainterPath plate = pauldron(kCx - 84 + i * 3, 136 + i * 12, 58 - i * 6, 28);
        fillBands(p, plate, iron, 1.0);
        fillBands(p, mirrored(plate), iron, 1.0);
    }
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(200, 200, 200));
    for (int i = 0; i < 4; ++i) {
        p.drawEllipse(QPointF(kCx - 72 + i * 11, 146 - i * 1.5), 1.4, 1.4);
        p.drawEllipse(QPointF(kCx + 72 - i * 11, 146 - i * 1.5), 1.4, 1.4);
    }
    drawNeck(p, 112, 146, 38, skin);
    drawElfEars(p, 84, 35, 14, 10, skin);
    fillLit(p, headPath(QPointF(kCx, 86), 72, 80, 1.0, 0.6), skin);
    // Heavy brow ridge.
    QPainterPath brow;
    brow.moveTo(kCx - 30, 80);
    brow.cubicTo(kCx - 20, 70, kCx - 6, 74, kCx, 78);
    brow.cubicTo(kCx + 6, 74, kCx + 20, 70, kCx + 30, 80);
    brow.cubicTo(kCx + 20, 78, kCx + 8, 80, kCx, 84);
    brow.cubicTo(kCx - 8, 80, kCx - 20, 78, kCx - 30, 80);
    brow.closeSubpath();
    fillLit(p, brow, shade(skin, 0.8), 0.8);
    drawEyes(p, 88, 13, 10, 3.4, QColor(200, 120, 30), EyeKind::Round, -6);
    drawBrows(p, 78, 13, 15, QColor(30, 24, 20), 2.8, -3);
    drawNose(p, 90, 104, 17, skin);
    // Wide mouth with tusks rising from the lower jaw.
    drawMouth(p, 114, 26, skin, -1.5);
    for (int side = -1; side <= 1; side += 2) {
        QPainterPath tusk;
        const qreal x = kCx + side * 11;
        tusk.moveTo(x - 3.5 * side, 119);
        tusk.cubicTo(x - 3 * side, 110, x + 0.5 * side, 104, x + 4 * side, 99);
        tusk.cubicTo(x + 3.5 * side, 106, x + 3 * side, 112, x + 3 * side, 119);
        tusk.closeSubpath();
        fillLit(p, tusk, QColor(236, 228, 200), 0.9);
    }
    // Shaved scalp with the topknot's root.
    QPainterPath scalp;
    scalp.moveTo(kCx - 20, 56);
    scalp.quadTo(kCx, 40, kCx + 20, 56);
    scalp.quadTo(kCx, 50, kCx - 20, 56);
    p.fillPath(scalp, withAlpha(QColor(20, 26, 16), 110));
    QPainterPath knot;
    knot.addEllipse(QPointF(kCx, 44), 10, 7);
    fillLit(p, knot, QColor(30, 26, 24), 1.0);
    QPainterPath ring;
    ring.addRoundedRect(QRectF(kCx - 5, 38, 10, 4), 1.5, 1.5);
    fillBands(p, ring, pal::bronze, 0.6);
    // Scar over one eye.
    p.setPen(QPen(QColor(160, 80, 70, 200), 1.3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(kCx + 8, 76), QPointF(kCx + 20, 96));
}

void paintKhajit(QPainter& p) {
    const QColor fur(200, 138, 64);
    const QColor cream(244, 226, 190);
    const QColor stripe(96, 56, 26, 200);
    Rng rng(5);
    drawBackdrop(p, QColor(220, 160, 60), 51);
    QPainterPath body = shoulderPath(144, 14, 156);
    fillBands(p, body, QColor(120, 66, 40));
    QPainterPath scarf;
    scarf.moveTo(kCx - 30, 140);
    scarf.quadTo(kCx, 162, kCx + 30, 140);
    scarf.lineTo(kCx + 34, 150);
    scarf.quadTo(kCx, 176, kCx - 34, 150);
    scarf.closeSubpath();
    fillLit(p, scarf, QColor(170, 40, 50), 0.8);
    drawNeck(p, 112, 144, 30, fur);
    // Ears.
    for (int side = -1; side <= 1; side += 2) {
        QPainterPath ear;
        ear.moveTo(kCx + side * 12, 56);
        ear.cubicTo(kCx + side * 24, 44, kCx + side * 34, 28, kCx + side * 38, 22);
        ear.cubicTo(kCx + side * 42, 36, kCx + side * 42, 56, kCx + side * 36, 74);
        ear.closeSubpath();
        fillLit(p, ear, fur, 1.0);
        QPainterPath inner;
        inner.moveTo(kCx + side * 18, 58);
        inner.cubicTo(kCx + side * 26, 48, kCx + side * 33, 36, kCx + side * 36, 31);
        inner.cubicTo(kCx + side * 38, 44, kCx + side * 37, 56, kCx + side * 33, 66);
        inner.closeSubpath();
        fillLit(p, inner, QColor(220, 160, 150), 0.6);
        // Tuft at the tip.
        p.setPen(QPen(shade(fur, 0.6), 1.2, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(kCx + side * 38, 22), QPointF(kCx + side * 40, 12));
        p.drawLine(QPointF(kCx + side * 38, 22), QPointF(kCx + side * 35, 13));
    }
    // Broad head with ruffs of fur at the cheeks.
    QPainterPath head;
    head.moveTo(kCx, 48);
    head.cubicTo(kCx + 26, 48, kCx + 38, 62, kCx + 38, 84);
    head.lineTo(kCx + 46, 92);
    head.lineTo(kCx + 38, 96);
    head.lineTo(kCx + 44, 104);
    head.lineTo(kCx + 34, 106);
    head.cubicTo(kCx + 30, 120, kCx + 16, 128, kCx, 128);
    head.cubicTo(kCx - 16, 128, kCx - 30, 120, kCx - 34, 106);
    head.lineTo(kCx - 44, 104);
    head.lineTo(kCx - 38, 96);
    head.lineTo(kCx - 46, 92);
    head.lineTo(kCx - 38, 84);
    head.cubicTo(kCx - 38, 62, kCx - 26, 48, kCx, 48);
    head.closeSubpath();
    fillLit(p, head, fur, 1.0);
    furStrokes(p, head, fur, 70, rng);
    // Stripes on the brow and cheeks.
    p.save();
    p.setClipPath(head);
    p.setPen(QPen(stripe, 2.4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(kCx, 50), QPointF(kCx, 64));
    p.drawLine(QPointF(kCx - 8, 51), QPointF(kCx - 6, 62));
    p.drawLine(QPointF(kCx + 8, 51), QPointF(kCx + 6, 62));
    for (int side = -1; side <= 1; side += 2) {
        p.drawLine(QPointF(kCx + side * 40, 90), QPointF(kCx + side * 28, 94));
        p.drawLine(QPointF(kCx + side * 40, 100), QPointF(kCx + side * 28, 102));
    }
    p.restore();
    // Pale muzzle and chin.
    QPainterPath muzzle;
    muzzle.addEllipse(QPointF(kCx - 8, 106), 10, 8);
    muzzle.addEllipse(QPointF(kCx + 8, 106), 10, 8);
    muzzle.addEllipse(QPointF(kCx, 116), 9, 8);
    muzzle.setFillRule(Qt::WindingFill);
    fillLit(p, muzzle.simplified(), cream, 0.6);
    // Eyes with dark rims.
    for (int side = -1; side <= 1; side += 2) {
        QPainterPath rim;
        rim.addEllipse(QPointF(kCx + side * 14, 84), 9, 6);
        p.fillPath(rim, QColor(60, 34, 16, 150));
    }
    drawEyes(p, 84, 14, 14, 5.4, QColor(170, 206, 60), EyeKind::Slit, 14);
    // Nose and mouth.
    QPainterPath nose;
    nose.moveTo(kCx - 6, 96);
    nose.lineTo(kCx + 6, 96);
    nose.quadTo(kCx + 1, 103, kCx, 103);
    nose.quadTo(kCx - 1, 103, kCx - 6, 96);
    nose.closeSubpath();
    fillLit(p, nose, QColor(150, 80, 80), 0.8);
    p.setPen(QPen(QColor(70, 40, 30), 1.2, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawLine(QPointF(kCx, 103), QPointF(kCx, 109));
    QPainterPath mouth;
    mouth.moveTo(kCx - 9, 110);
    mouth.quadTo(kCx - 4, 113, kCx, 109);
    mouth.quadTo(kCx + 4, 113, kCx + 9, 110);
    p.drawPath(mouth);
    // Whisker dots and whiskers.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(120, 80, 50));
    for (int side = -1; side <= 1; side += 2)
        for (int i = 0; i < 3; ++i)
            p.drawEllipse(QPointF(kCx + side * (7 + i * 3.5), 104 + (i % 2) * 3), 0.8, 0.8);
    p.setPen(QPen(QColor(255, 250, 235, 210), 0.8, Qt::SolidLine, Qt::RoundCap));
    for (int side = -1; side <= 1; side += 2)
        for (int i = 0; i < 3; ++i) {
            QPainterPath w;
            w.moveTo(kCx + side * 14, 105 + i * 2.5);
            w.quadTo(kCx + side * 40, 98 + i * 6, kCx + side * 62, 100 + i * 10);
            p.drawPath(w);
        }
    // Gold earring.
    p.setPen(QPen(QColor(236, 190, 70), 1.6));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(kCx + 38, 72), 3.5, 3.5);
}

void paintArgonian(QPainter& p) {
    const QColor scales(84, 130, 78);
    const QColor belly(206, 196, 128);
    const QColor horn(120, 104, 70);
    Rng rng(1);
    drawBackdrop(p, QColor(40, 150, 120), 1);
    QPainterPath body = shoulderPath(146, 18, 160);
    fillBands(p, body, QColor(110, 82, 52));
    p.setPen(QPen(QColor(60, 40, 24), 2));
    p.drawLine(QPointF(kCx - 50, 150), QPointF(kCx + 20, 188));
    // Frill: a membrane fanned between horns at the back of the head.
    const QPointF bases[] = {{104, 66}, {116, 68}, {126, 76}, {132, 90}, {133, 104}};
    const QPointF tips[] = {{118, 30}, {142, 36}, {160, 56}, {168, 84}, {164, 114}};
    QPainterPath membrane;
    membrane.moveTo(bases[0]);
    for (const QPointF& t : tips)
        membrane.lineTo(t);
    membrane.lineTo(bases[4]);
    membrane.closeSubpath();
    p.fillPath(membrane, QColor(180, 80, 56, 200));
    p.save();
    p.setClipPath(membrane);
    p.setPen(QPen(QColor(110, 40, 30, 150), 0.8));
    for (int i = 0; i < 4; ++i)
        p.drawLine((bases[i] + bases[i + 1]) / 2, (tips[i] + tips[i + 1]) / 2);
    p.restore();
    for (int i = 0; i < 5; ++i) {
        const QPointF b = bases[i];
        const QPointF t = tips[i];
        const QPointF d = t - b;
        const QPointF n(-d.y() / std::hypot(d.x(), d.y()), d.x() / std::hypot(d.x(), d.y()));
        QPainterPath h;
        h.moveTo(b + n * 4.5);
        h.quadTo((b + t) / 2 + n * 2.5, t);
        h.quadTo((b + t) / 2 - n * 0.5, b - n * 4.5);
        h.closeSubpath();
        fillLit(p, h, horn, 0.9);
    }
    // Head in profile, facing left: long snout, brow ridge, round skull.
    QPainterPath head;
    head.moveTo(30, 98);
    head.cubicTo(32, 88, 56, 80, 72, 76);
    head.cubicTo(80, 66, 92, 62, 104, 62);
    head.cubicTo(118, 62, 130, 70, 135, 84);
    head.cubicTo(140, 98, 134, 110, 130, 116);
    head.cubicTo(126, 128, 134, 142, 146, 152);
    head.lineTo(96, 160);
    head.cubicTo(100, 144, 98, 132, 90, 122);
    head.cubicTo(76, 116, 52, 114, 36, 108);
    head.quadTo(28, 104, 30, 98);
    head.closeSubpath();
    fillLit(p, head, scales, 1.1, QPointF(-0.35, -0.35));
    p.save();
    p.setClipPath(head);
    // Pale throat and underjaw.
    QPainterPath throat;
    throat.moveTo(36, 108);
    throat.cubicTo(60, 112, 84, 110, 100, 118);
    throat.cubicTo(116, 126, 120, 146, 130, 170);
    throat.lineTo(80, 170);
    throat.lineTo(30, 120);
    throat.closeSubpath();
    fillLit(p, throat, belly, 0);
    // Scale pattern.
    p.setBrush(Qt::NoBrush);
    for (int row = 0; row < 14; ++row)
        for (int col = 0; col < 18; ++col) {
            const qreal x = 30 + col * 7 + (row % 2) * 3.5;
            const qreal y = 62 + row * 6;
            p.setPen(QPen(withAlpha(shade(scales, 0.55), 90 + static_cast<int>(rng.uniform() * 50)),
                          0.8));
            p.drawArc(QRectF(x - 3.5, y - 3, 7, 6), 200 * 16, 140 * 16);
        }
    p.restore();
    // Ridge bumps along the snout.
    p.setPen(Qt::NoPen);
    p.setBrush(shade(scales, 0.75));
    for (int i = 0; i < 5; ++i)
        p.drawEllipse(QPointF(44 + i * 6, 87 - i * 1.8), 1.6, 1.2);
    // Mouth line with small teeth.
    QPainterPath mouth;
    mouth.moveTo(32, 103);
    mouth.cubicTo(50, 107, 70, 108, 86, 104);
    mouth.quadTo(90, 103, 92, 99);
    p.setPen(QPen(QColor(40, 30, 20), 1.5, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawPath(mouth);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(240, 236, 220));
    for (int i = 0; i < 6; ++i) {
        const qreal x = 38 + i * 8;
        const qreal y = 104.5 + std::sin(i * 0.5) * 1.5;
        QPolygonF tooth;
        tooth << QPointF(x - 1.4, y) << QPointF(x + 1.4, y) << QPointF(x, y + 2.8);
        p.drawPolygon(tooth);
    }
    // Nostril.
    p.setBrush(QColor(30, 30, 20));
    p.drawEllipse(QPointF(37, 94), 2.2, 1.3);
    // Eye under a heavy ridge.
    QPainterPath ridge;
    ridge.moveTo(74, 78);
    ridge.cubicTo(80, 70, 92, 68, 102, 72);
    ridge.cubicTo(94, 74, 84, 76, 74, 82);
    ridge.closeSubpath();
    fillLit(p, ridge, shade(scales, 0.7), 0.6);
    QPainterPath socket;
    socket.addEllipse(QPointF(89, 82), 8, 6.5);
    p.fillPath(socket, shade(scales, 0.45));
    QPainterPath eye;
    eye.addEllipse(QPointF(89, 82), 6, 5);
    QRadialGradient eg(QPointF(87, 80), 6);
    eg.setColorAt(0, QColor(255, 236, 120));
    eg.setColorAt(0.7, QColor(230, 170, 30));
    eg.setColorAt(1, QColor(140, 80, 10));
    p.fillPath(eye, eg);
    p.setBrush(QColor(10, 10, 6));
    p.drawEllipse(QPointF(89, 82), 1.3, 4.6);
    p.setBrush(QColor(255, 255, 255, 220));
    p.drawEllipse(QPointF(86.5, 79.5), 1.2, 1.2);
}

struct RaceEntry {
    const char* name;
    void (*paint)(QPainter&);
};

const RaceEntry kRaces[] = {
    {"Argonian", paintArgonian}, {"Breton", paintBreton},     {"Dark Elf", paintDarkElf},
    {"High Elf", paintHighElf},  {"Imperial", paintImperial}, {"Khajit", paintKhajit},
    {"Nord", paintNord},         {"Orc", paintOrc},           {"Redguard", paintRedguard},
    {"Wood Elf", paintWoodElf},
};

} // namespace

const QStringList& raceNames() {
    static const QStringList names = [] {
        QStringList l;
        for (const RaceEntry& r : kRaces)
            l << QString::fromLatin1(r.name);
        return l;
    }();
    return names;
}

QImage drawRace(const QString& race) {
    QImage img = newImage(static_cast<int>(kW), static_cast<int>(kH));
    QPainter p;
    beginPainter(p, img);
    for (const RaceEntry& r : kRaces) {
        if (race == QLatin1String(r.name)) {
            p.save();
            p.setClipRect(cardPictureArea(QSizeF(kW, kH)));
            r.paint(p);
            p.restore();
            break;
        }
    }
    drawCardFrame(p, QSizeF(kW, kH), race);
    p.end();
    return img;
}

} // namespace artgen
