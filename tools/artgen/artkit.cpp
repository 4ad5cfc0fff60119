#include "artkit.h"

#include <QLinearGradient>
#include <QRadialGradient>

#include <algorithm>
#include <cmath>

namespace artgen {

QImage newImage(int w, int h, bool transparent) {
    QImage img(w, h, QImage::Format_ARGB32_Premultiplied);
    img.fill(transparent ? Qt::transparent : pal::night1);
    return img;
}

void beginPainter(QPainter& p, QImage& img) {
    p.begin(&img);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setRenderHint(QPainter::TextAntialiasing, true);
    p.setRenderHint(QPainter::SmoothPixmapTransform, true);
}

QFont serifFont(qreal pixelSize, bool bold) {
    QFont f(QStringLiteral("DejaVu Serif"));
    f.setStyleHint(QFont::Serif, QFont::PreferAntialias);
    f.setPixelSize(std::max(1, qRound(pixelSize)));
    f.setBold(bold);
    return f;
}

QFont sansFont(qreal pixelSize, bool bold) {
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setStyleHint(QFont::SansSerif, QFont::PreferAntialias);
    f.setPixelSize(std::max(1, qRound(pixelSize)));
    f.setBold(bold);
    return f;
}

QColor mix(const QColor& a, const QColor& b, qreal t) {
    return QColor::fromRgbF(
        a.redF() + (b.redF() - a.redF()) * t, a.greenF() + (b.greenF() - a.greenF()) * t,
        a.blueF() + (b.blueF() - a.blueF()) * t, a.alphaF() + (b.alphaF() - a.alphaF()) * t);
}

QColor shade(const QColor& c, qreal factor) {
    if (factor < 1.0)
        return mix(QColor(0, 0, 0, c.alpha()), c, factor);
    return mix(c, QColor(255, 255, 255, c.alpha()), std::min<qreal>(1.0, factor - 1.0));
}

QColor withAlpha(const QColor& c, int alpha) {
    QColor r = c;
    r.setAlpha(alpha);
    return r;
}

void drawBronzeFrame(QPainter& p, const QRectF& rect, qreal width) {
    p.save();
    QPainterPath outer;
    outer.addRect(rect);
    QPainterPath inner;
    inner.addRect(rect.adjusted(width, width, -width, -width));
    QLinearGradient g(rect.topLeft(), rect.bottomRight());
    g.setColorAt(0.0, pal::bronzeLight);
    g.setColorAt(0.45, pal::bronze);
    g.setColorAt(0.55, pal::bronzeDark);
    g.setColorAt(1.0, pal::bronze);
    p.fillPath(outer.subtracted(inner), g);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(shade(pal::bronzeDark, 0.6), 1.0));
    p.drawRect(rect.adjusted(0.5, 0.5, -0.5, -0.5));
    p.setPen(QPen(withAlpha(pal::bronzeLight, 170), 1.0));
    p.drawRect(rect.adjusted(width * 0.5, width * 0.5, -width * 0.5, -width * 0.5));
    p.setPen(QPen(shade(pal::bronzeDark, 0.5), 1.0));
    p.drawRect(rect.adjusted(width - 0.5, width - 0.5, -width + 0.5, -width + 0.5));
    p.restore();
}

void drawPlaque(QPainter& p, const QRectF& rect, const QString& text, qreal pixelSize) {
    p.save();
    QLinearGradient g(rect.topLeft(), rect.bottomLeft());
    g.setColorAt(0.0, shade(pal::parchment, 1.12));
    g.setColorAt(0.55, pal::parchment);
    g.setColorAt(1.0, pal::parchmentDark);
    QPainterPath path;
    path.addRoundedRect(rect, 3, 3);
    p.fillPath(path, g);
    p.setPen(QPen(pal::bronzeDark, 1.2));
    p.drawPath(path);
    p.setPen(QPen(withAlpha(pal::bronze, 160), 0.8));
    p.drawRoundedRect(rect.adjusted(2.5, 2.5, -2.5, -2.5), 2, 2);

    QFont f = serifFont(pixelSize, true);
    // Shrink long names until they fit.
    while (QFontMetricsF(f).horizontalAdvance(text) > rect.width() - 10 && f.pixelSize() > 7)
        f.setPixelSize(f.pixelSize() - 1);
    p.setFont(f);
    p.setPen(withAlpha(Qt::white, 110));
    p.drawText(rect.translated(0, 1), Qt::AlignCenter, text);
    p.setPen(pal::ink);
    p.drawText(rect, Qt::AlignCenter, text);
    p.restore();
}

QRectF cardPictureArea(const QSizeF& size) {
    return QRectF(5, 5, size.width() - 10, size.height() - 38);
}

void drawCardFrame(QPainter& p, const QSizeF& size, const QString& name) {
    const QRectF all(0, 0, size.width(), size.height());
    const QRectF pic = cardPictureArea(size);
    // Dark band below the picture for the plaque, then the frame round everything.
    p.save();
    QPainterPath band;
    band.addRect(all);
    QPainterPath hole;
    hole.addRect(pic);
    QLinearGradient bg(0, pic.bottom(), 0, size.height());
    bg.setColorAt(0, shade(pal::navy, 0.8));
    bg.setColorAt(1, pal::night0);
    p.fillPath(band.subtracted(hole), bg);
    p.setPen(QPen(pal::bronzeDark, 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(pic.adjusted(-0.5, -0.5, 0.5, 0.5));
    p.restore();
    drawBronzeFrame(p, all, 4);
    drawPlaque(p,
               QRectF(12, pic.bottom() + 4, size.width() - 24, size.height() - pic.bottom() - 11),
               name, 15);
}

void drawLettering(QPainter& p, const QRectF& rect, const QString& text, const QFont& font,
                   const QColor& fill, const QColor& outline, qreal outlineWidth,
                   Qt::Alignment align) {
    p.save();
    const QFontMetricsF fm(font);
    const qreal w = fm.horizontalAdvance(text);
    qreal x = rect.left();
    if (align & Qt::AlignHCenter)
        x = rect.center().x() - w / 2;
    else if (align & Qt::AlignRight)
        x = rect.right() - w;
    qreal y = rect.center().y() + (fm.ascent() - fm.descent()) / 2;
    if (align & Qt::AlignTop)
        y = rect.top() + fm.ascent();
    else if (align & Qt::AlignBottom)
        y = rect.bottom() - fm.descent();
    QPainterPath path;
    path.addText(QPointF(x, y), font, text);
    if (outlineWidth > 0) {
        p.setPen(QPen(outline, outlineWidth * 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        p.drawPath(path);
    }
    p.fillPath(path, fill);
    p.restore();
}

void drawBronzeText(QPainter& p, const QPointF& baseline, const QString& text, const QFont& font,
                    qreal outlineWidth) {
    p.save();
    QPainterPath path;
    path.addText(baseline, font, text);
    const QRectF b = path.boundingRect();
    // Drop shadow, dark rim, then the metal.
    p.fillPath(path.translated(outlineWidth * 0.8, outlineWidth * 1.2), QColor(0, 0, 0, 150));
    p.setPen(QPen(shade(pal::bronzeDark, 0.45), outlineWidth * 2, Qt::SolidLine, Qt::RoundCap,
                  Qt::RoundJoin));
    p.drawPath(path);
    QLinearGradient g(b.topLeft(), b.bottomLeft());
    g.setColorAt(0.0, QColor(255, 238, 190));
    g.setColorAt(0.42, pal::bronzeLight);
    g.setColorAt(0.5, pal::bronze);
    g.setColorAt(0.78, pal::bronzeDark);
    g.setColorAt(1.0, pal::bronze);
    p.fillPath(path, g);
    p.setPen(QPen(withAlpha(QColor(255, 240, 200), 120), std::max<qreal>(0.6, outlineWidth * 0.3)));
    p.setBrush(Qt::NoBrush);
    p.drawPath(path.translated(0, -outlineWidth * 0.2));
    p.restore();
}

void drawGlow(QPainter& p, const QPointF& c, qreal radius, const QColor& colour) {
    p.save();
    QRadialGradient g(c, radius);
    g.setColorAt(0, colour);
    g.setColorAt(0.35, withAlpha(colour, colour.alpha() / 2));
    g.setColorAt(1, withAlpha(colour, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawEllipse(c, radius, radius);
    p.restore();
}

void drawStar(QPainter& p, const QPointF& c, qreal magnitude, const QColor& tint) {
    p.save();
    p.setPen(Qt::NoPen);
    const qreal glow = 2.0 + magnitude * 4.5;
    drawGlow(p, c, glow, withAlpha(tint, static_cast<int>(std::min(255.0, 70 + magnitude * 60))));
    if (magnitude >= 1.0) {
        const qreal ray = 3.0 + magnitude * 4.0;
        for (int i = 0; i < 2; ++i) {
            QLinearGradient g(i == 0 ? QPointF(c.x() - ray, c.y()) : QPointF(c.x(), c.y() - ray),
                              i == 0 ? QPointF(c.x() + ray, c.y()) : QPointF(c.x(), c.y() + ray));
            g.setColorAt(0, withAlpha(tint, 0));
            g.setColorAt(0.5, withAlpha(Qt::white, 220));
            g.setColorAt(1, withAlpha(tint, 0));
            p.setBrush(g);
            QPolygonF ray4;
            if (i == 0)
                ray4 << QPointF(c.x() - ray, c.y()) << QPointF(c.x(), c.y() - 0.6)
                     << QPointF(c.x() + ray, c.y()) << QPointF(c.x(), c.y() + 0.6);
            else
                ray4 << QPointF(c.x(), c.y() - ray) << QPointF(c.x() + 0.6, c.y())
                     << QPointF(c.x(), c.y() + ray) << QPointF(c.x() - 0.6, c.y());
            p.drawPolygon(ray4);
        }
    }
    const qreal core = 0.7 + magnitude * 0.75;
    p.setBrush(mix(tint, Qt::white, 0.75));
    p.drawEllipse(c, core, core);
    p.restore();
}

void drawStarField(QPainter& p, const QRectF& rect, Rng& rng, int count, qreal maxMagnitude) {
    p.save();
    p.setPen(Qt::NoPen);
    for (int i = 0; i < count; ++i) {
        const QPointF c(rng.range(rect.left(), rect.right()), rng.range(rect.top(), rect.bottom()));
        const double m = std::pow(rng.uniform(), 3.0) * maxMagnitude;
        const int a = static_cast<int>(60 + 150 * rng.uniform());
        const QColor tint = rng.uniform() < 0.3 ? QColor(255, 220, 180) : QColor(200, 215, 255);
        if (m > 0.35) {
            drawStar(p, c, m, withAlpha(tint, a));
        } else {
            p.setBrush(withAlpha(tint, a));
            p.drawEllipse(c, 0.45 + m, 0.45 + m);
        }
    }
    p.restore();
}

} // namespace artgen
