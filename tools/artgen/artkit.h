// Shared palette and drawing helpers that give every picture the same look: deep
// night-blue fields, bronze frames and parchment plaques with dark ink lettering.
#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QRectF>
#include <QString>

#include <cstdint>

namespace artgen::pal {
inline const QColor night0(6, 10, 24);
inline const QColor night1(14, 24, 50);
inline const QColor night2(28, 46, 86);
inline const QColor navy(22, 35, 63);
inline const QColor bronzeDark(92, 62, 28);
inline const QColor bronze(176, 128, 63);
inline const QColor bronzeLight(228, 188, 118);
inline const QColor parchment(234, 219, 178);
inline const QColor parchmentDark(200, 178, 128);
inline const QColor ink(43, 28, 14);
inline const QColor ashRed(150, 62, 34);
inline const QColor windowBlue(49, 106, 197); // background of the program's windows
} // namespace artgen::pal

namespace artgen {

// Small deterministic generator so that every run draws the same pictures.
class Rng {
public:
    explicit Rng(std::uint32_t seed) : state_(seed * 2654435761u + 12345u) {}
    std::uint32_t next() {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 17;
        state_ ^= state_ << 5;
        return state_;
    }
    double uniform() { return (next() & 0xffffff) / double(0x1000000); }
    double range(double lo, double hi) { return lo + (hi - lo) * uniform(); }

private:
    std::uint32_t state_;
};

QImage newImage(int w, int h, bool transparent = false);
void beginPainter(QPainter& p, QImage& img);

QFont serifFont(qreal pixelSize, bool bold = true);
QFont sansFont(qreal pixelSize, bool bold = false);

QColor mix(const QColor& a, const QColor& b, qreal t);
QColor shade(const QColor& c, qreal factor); // < 1 darker, > 1 lighter
QColor withAlpha(const QColor& c, int alpha);

// Card used by the race portraits and the birthsign charts: a bronze frame round the
// picture area and a parchment plaque with the name at the bottom. Returns the inner
// picture area.
QRectF cardPictureArea(const QSizeF& size);
void drawCardFrame(QPainter& p, const QSizeF& size, const QString& name);

// A bronze double frame along the inside of rect.
void drawBronzeFrame(QPainter& p, const QRectF& rect, qreal width);

// Parchment plaque with lettering centred in it.
void drawPlaque(QPainter& p, const QRectF& rect, const QString& text, qreal pixelSize);

// Text with a dark outline / shadow, centred in rect.
void drawLettering(QPainter& p, const QRectF& rect, const QString& text, const QFont& font,
                   const QColor& fill, const QColor& outline, qreal outlineWidth,
                   Qt::Alignment align = Qt::AlignCenter);

// Text filled with a vertical bronze gradient and outlined.
void drawBronzeText(QPainter& p, const QPointF& baseline, const QString& text, const QFont& font,
                    qreal outlineWidth);

// A star: soft glow, bright core and, for bright ones, four thin rays.
void drawStar(QPainter& p, const QPointF& c, qreal magnitude, const QColor& tint);

// Scatter of faint background stars over rect.
void drawStarField(QPainter& p, const QRectF& rect, Rng& rng, int count, qreal maxMagnitude);

// Soft radial light.
void drawGlow(QPainter& p, const QPointF& c, qreal radius, const QColor& colour);

} // namespace artgen
