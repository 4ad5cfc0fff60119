// Birthsign charts: each sign's constellation on a night sky, its stars joined by faint
// lines into the figure the sign is named after.
#include "artkit.h"
#include "pictures.h"

#include <QLinearGradient>
#include <QRadialGradient>

#include <cmath>
#include <vector>

namespace artgen {

namespace {

constexpr qreal kW = 180;
constexpr qreal kH = 220;

struct Star {
    qreal x;
    qreal y;
    qreal mag; // 0.5 faint .. 2 brightest
};

struct Constellation {
    const char* name;
    QColor tint;             // colour of the sky's glow and the lines
    std::vector<Star> stars; // in card pixels
    std::vector<std::pair<int, int>> lines;
    std::vector<std::vector<int>> ghost; // closed outlines shaded faintly behind the lines
};

// Star positions are in card pixels; the picture area runs from 5 to 175 across and 5
// to 187 down.
const std::vector<Constellation>& constellations() {
    static const std::vector<Constellation> all = {
        {"The Mage",
         QColor(110, 140, 255),
         {{92, 22, 1.3},    // 0 hat tip
          {66, 52, 0.9},    // 1 brim left
          {106, 50, 0.9},   // 2 brim right
          {84, 66, 1.1},    // 3 face
          {64, 80, 0.9},    // 4 shoulder left
          {102, 78, 0.9},   // 5 shoulder right
          {48, 112, 0.8},   // 6 hand left
          {122, 98, 1.0},   // 7 hand on staff
          {54, 168, 1.0},   // 8 hem left
          {84, 172, 0.7},   // 9 hem middle
          {110, 166, 1.0},  // 10 hem right
          {128, 36, 2.0},   // 11 staff head
          {118, 172, 0.8}}, // 12 staff foot
         {{0, 1},
          {0, 2},
          {1, 2},
          {1, 3},
          {2, 3},
          {3, 4},
          {3, 5},
          {4, 6},
          {5, 7},
          {4, 8},
          {5, 10},
          {8, 9},
          {9, 10},
          {11, 7},
          {7, 12}},
         {{0, 1, 2}, {4, 5, 10, 9, 8}}},
        {"The Apprentice",
         QColor(120, 200, 255),
         {{56, 46, 1.2},   // 0 head
          {46, 66, 0.8},   // 1 shoulder left
          {70, 64, 0.8},   // 2 shoulder right
          {84, 92, 0.7},   // 3 elbow
          {100, 104, 0.9}, // 4 hand at book
          {42, 106, 0.7},  // 5 hip
          {40, 160, 0.9},  // 6 foot left
          {66, 162, 0.9},  // 7 foot right
          {100, 96, 1.0},  // 8 book spine top
          {100, 128, 0.8}, // 9 book spine foot
          {132, 86, 1.0},  // 10 page right top
          {134, 118, 0.8}, // 11 page right foot
          {70, 88, 0.6},   // 12 page left top (hidden behind the arm)
          {118, 56, 1.8}}, // 13 the light the apprentice reads by
         {{0, 1},
          {0, 2},
          {2, 3},
          {3, 4},
          {1, 5},
          {5, 6},
          {5, 7},
          {8, 9},
          {8, 10},
          {10, 11},
          {11, 9},
          {4, 8}},
         {{8, 10, 11, 9}}},
        {"The Atronach",
         QColor(170, 120, 255),
         {{82, 26, 1.0},    // 0 head top left
          {100, 26, 1.0},   // 1 head top right
          {100, 44, 0.8},   // 2 head foot right
          {82, 44, 0.8},    // 3 head foot left
          {46, 58, 1.3},    // 4 shoulder left
          {136, 58, 1.3},   // 5 shoulder right
          {30, 102, 0.9},   // 6 elbow left
          {152, 102, 0.9},  // 7 elbow right
          {36, 140, 1.4},   // 8 fist left
          {146, 140, 1.4},  // 9 fist right
          {91, 84, 1.8},    // 10 heart
          {66, 118, 0.9},   // 11 hip left
          {116, 118, 0.9},  // 12 hip right
          {62, 170, 1.0},   // 13 foot left
          {120, 170, 1.0}}, // 14 foot right
         {{0, 1},
          {1, 2},
          {2, 3},
          {3, 0},
          {3, 4},
          {2, 5},
          {4, 5},
          {4, 6},
          {6, 8},
          {5, 7},
          {7, 9},
          {4, 10},
          {5, 10},
          {10, 11},
          {10, 12},
          {11, 12},
          {11, 13},
          {12, 14}},
         {{4, 5, 12, 11}}},
        {"The Ritual",
         QColor(255, 200, 120),
         {{90, 30, 1.0},
          {136, 50, 0.9},
          {154, 96, 1.0},
          {136, 142, 0.9},
          {90, 162, 1.0},
          {44, 142, 0.9},
          {26, 96, 1.0},
          {44, 50, 0.9},
          {90, 72, 1.4},   // 8 head
          {90, 92, 0.8},   // 9 chest
          {66, 58, 1.1},   // 10 raised hand left
          {114, 58, 1.1},  // 11 raised hand right
          {78, 136, 0.8},  // 12 foot left
          {102, 136, 0.8}, // 13 foot right
          {90, 112, 0.7}}, // 14 waist
         {{0, 1},
          {1, 2},
          {2, 3},
          {3, 4},
          {4, 5},
          {5, 6},
          {6, 7},
          {7, 0},
          {8, 9},
          {9, 10},
          {9, 11},
          {9, 14},
          {14, 12},
          {14, 13}},
         {}},
        {"The Warrior",
         QColor(255, 120, 90),
         {{84, 44, 1.2},    // 0 head
          {70, 64, 0.9},    // 1 shoulder left
          {98, 62, 0.9},    // 2 shoulder right
          {120, 50, 1.0},   // 3 sword hand
          {150, 18, 1.6},   // 4 sword tip
          {112, 40, 0.7},   // 5 guard
          {128, 60, 0.7},   // 6 guard
          {54, 86, 1.0},    // 7 shield top
          {34, 84, 0.9},    // 8 shield left
          {32, 112, 0.8},   // 9 shield side
          {46, 132, 1.1},   // 10 shield point
          {60, 110, 0.8},   // 11 shield right
          {82, 110, 0.8},   // 12 hips
          {58, 164, 1.0},   // 13 foot left
          {110, 162, 1.0}}, // 14 foot right
         {{0, 1},
          {0, 2},
          {2, 3},
          {3, 4},
          {5, 6},
          {1, 7},
          {7, 8},
          {8, 9},
          {9, 10},
          {10, 11},
          {11, 7},
          {1, 12},
          {2, 12},
          {12, 13},
          {12, 14}},
         {{7, 8, 9, 10, 11}}},
        {"The Tower",
         QColor(140, 190, 255),
         {{90, 18, 2.0},   // 0 spire
          {64, 58, 1.0},   // 1 roof left
          {116, 58, 1.0},  // 2 roof right
          {70, 62, 0.7},   // 3 wall top left
          {110, 62, 0.7},  // 4 wall top right
          {60, 170, 1.1},  // 5 base left
          {120, 170, 1.1}, // 6 base right
          {90, 96, 1.2},   // 7 window
          {82, 170, 0.7},  // 8 door left
          {82, 146, 0.8},  // 9 door top left
          {98, 146, 0.8},  // 10 door top right
          {98, 170, 0.7}}, // 11 door right
         {{0, 1}, {0, 2}, {1, 2}, {3, 5}, {4, 6}, {5, 8}, {8, 9}, {9, 10}, {10, 11}, {11, 6}},
         {{0, 1, 2}, {3, 4, 6, 5}}},
        {"The Steed",
         QColor(255, 210, 140),
         {{32, 76, 1.0},    // 0 muzzle
          {50, 52, 0.9},    // 1 forehead
          {64, 34, 1.1},    // 2 ear
          {72, 50, 0.8},    // 3 poll
          {106, 74, 1.2},   // 4 withers
          {142, 78, 1.0},   // 5 croup
          {166, 112, 1.0},  // 6 tail
          {146, 102, 0.8},  // 7 buttock
          {140, 122, 0.8},  // 8 stifle
          {150, 144, 0.8},  // 9 hock
          {146, 170, 1.0},  // 10 hind hoof
          {104, 114, 0.8},  // 11 belly
          {74, 100, 1.2},   // 12 chest
          {64, 84, 0.7},    // 13 throat
          {46, 88, 0.8},    // 14 jaw
          {62, 130, 0.8},   // 15 front knee
          {44, 144, 1.0},   // 16 front hoof, raised
          {86, 140, 0.7},   // 17 other knee
          {84, 170, 1.0},   // 18 other hoof
          {122, 168, 0.8}}, // 19 second hind hoof
         {{0, 1},  {1, 2},   {2, 3},   {3, 4},   {4, 5},   {5, 6},   {5, 7},
          {7, 8},  {8, 9},   {9, 10},  {8, 11},  {11, 12}, {12, 13}, {13, 14},
          {14, 0}, {12, 15}, {15, 16}, {11, 17}, {17, 18}, {8, 19}},
         {{0, 1, 2, 3, 4, 5, 7, 8, 11, 12, 13, 14}}},
        {"The Lady",
         QColor(255, 160, 210),
         {{90, 34, 1.3},   // 0 head
          {90, 52, 0.7},   // 1 neck
          {76, 58, 0.9},   // 2 shoulder left
          {104, 58, 0.9},  // 3 shoulder right
          {66, 90, 0.8},   // 4 elbow
          {84, 100, 0.8},  // 5 hand on waist
          {124, 40, 0.8},  // 6 raised hand
          {134, 22, 1.8},  // 7 the star she holds
          {96, 100, 0.7},  // 8 waist right
          {50, 166, 1.1},  // 9 hem left
          {90, 174, 0.8},  // 10 hem middle
          {130, 166, 1.1}, // 11 hem right
          {76, 44, 0.7},   // 12 hair
          {70, 74, 0.7}},  // 13 hair end
         {{0, 1},
          {1, 2},
          {1, 3},
          {2, 4},
          {4, 5},
          {3, 6},
          {6, 7},
          {5, 8},
          {5, 9},
          {8, 11},
          {9, 10},
          {10, 11},
          {0, 12},
          {12, 13}},
         {{2, 3, 8, 11, 10, 9, 5}}},
        {"The Lord",
         QColor(255, 200, 90),
         {{76, 34, 1.0},    // 0 crown left
          {90, 20, 1.6},    // 1 crown middle
          {104, 34, 1.0},   // 2 crown right
          {90, 50, 1.1},    // 3 head
          {62, 64, 1.0},    // 4 shoulder left
          {118, 64, 1.0},   // 5 shoulder right
          {52, 96, 0.8},    // 6 elbow left
          {128, 96, 0.8},   // 7 elbow right
          {90, 106, 1.2},   // 8 hands on the hilt
          {78, 104, 0.7},   // 9 guard left
          {102, 104, 0.7},  // 10 guard right
          {90, 166, 1.0},   // 11 sword point
          {70, 124, 0.8},   // 12 hip left
          {110, 124, 0.8},  // 13 hip right
          {64, 170, 1.0},   // 14 foot left
          {116, 170, 1.0}}, // 15 foot right
         {{0, 1},
          {1, 2},
          {0, 2},
          {3, 4},
          {3, 5},
          {4, 6},
          {6, 8},
          {5, 7},
          {7, 8},
          {9, 10},
          {8, 11},
          {4, 12},
          {5, 13},
          {12, 14},
          {13, 15}},
         {{0, 1, 2}, {4, 5, 13, 12}}},
        {"The Thief",
         QColor(150, 220, 170),
         {{62, 40, 1.2},   // 0 hood peak
          {72, 58, 1.0},   // 1 face
          {96, 70, 0.9},   // 2 back
          {120, 44, 0.9},  // 3 sack top
          {146, 52, 0.9},  // 4 sack right
          {146, 82, 0.8},  // 5 sack bottom
          {118, 80, 0.9},  // 6 sack left, at the shoulder
          {54, 88, 0.8},   // 7 hand with dagger
          {34, 96, 1.6},   // 8 dagger point
          {90, 110, 0.8},  // 9 hip
          {66, 132, 0.8},  // 10 knee forward
          {50, 166, 1.0},  // 11 foot forward
          {112, 142, 0.8}, // 12 knee back
          {132, 170, 1.0}, // 13 foot back
          {70, 90, 0.7}},  // 14 chest
         {{0, 1},
          {0, 2},
          {1, 7},
          {7, 8},
          {2, 6},
          {3, 4},
          {4, 5},
          {5, 6},
          {6, 3},
          {2, 9},
          {9, 10},
          {10, 11},
          {9, 12},
          {12, 13},
          {1, 14},
          {14, 9}},
         {{3, 4, 5, 6}, {0, 2, 9, 14, 1}}},
        {"The Lover",
         QColor(255, 110, 150),
         {{90, 70, 1.0},   // 0 heart notch
          {70, 46, 1.1},   // 1
          {42, 50, 1.0},   // 2
          {30, 78, 0.9},   // 3
          {44, 112, 1.0},  // 4
          {68, 138, 0.9},  // 5
          {90, 160, 1.8},  // 6 heart point
          {112, 138, 0.9}, // 7
          {136, 112, 1.0}, // 8
          {150, 78, 0.9},  // 9
          {138, 50, 1.0},  // 10
          {110, 46, 1.1},  // 11
          {26, 150, 0.8},  // 12 arrow nock
          {156, 40, 1.3},  // 13 arrow head
          {18, 140, 0.6},  // 14 fletching
          {34, 158, 0.6}}, // 15 fletching
         {{0, 1},
          {1, 2},
          {2, 3},
          {3, 4},
          {4, 5},
          {5, 6},
          {6, 7},
          {7, 8},
          {8, 9},
          {9, 10},
          {10, 11},
          {11, 0},
          {12, 13},
          {12, 14},
          {12, 15}},
         {{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}}},
        {"The Serpent",
         QColor(120, 255, 170),
         {{142, 34, 1.4},  // 0 head
          {154, 26, 0.6},  // 1 tongue
          {130, 42, 1.0},  // 2 neck
          {104, 50, 0.9},  // 3
          {80, 64, 0.9},   // 4
          {68, 88, 1.0},   // 5
          {82, 110, 0.9},  // 6
          {110, 120, 1.0}, // 7
          {124, 140, 0.9}, // 8
          {112, 160, 0.9}, // 9
          {84, 168, 0.8},  // 10
          {54, 162, 0.8},  // 11
          {34, 148, 0.7},  // 12 tail
          {132, 28, 0.8},  // 13 head top
          {160, 20, 0.5},  // 14 fork
          {162, 30, 0.5}}, // 15 fork
         {{13, 0},
          {0, 2},
          {13, 2},
          {0, 1},
          {1, 14},
          {1, 15},
          {2, 3},
          {3, 4},
          {4, 5},
          {5, 6},
          {6, 7},
          {7, 8},
          {8, 9},
          {9, 10},
          {10, 11},
          {11, 12}},
         {}},
        {"The Shadow",
         QColor(170, 140, 230),
         {{90, 36, 1.1},   // 0 hood peak
          {72, 60, 0.8},   // 1 hood left
          {108, 60, 0.8},  // 2 hood right
          {90, 66, 0.5},   // 3 face in darkness
          {58, 96, 0.8},   // 4 cloak left
          {122, 96, 0.8},  // 5 cloak right
          {48, 168, 0.9},  // 6 hem left
          {132, 168, 0.9}, // 7 hem right
          {90, 172, 0.6}}, // 8 hem middle
         {{0, 1}, {0, 2}, {1, 4}, {2, 5}, {4, 6}, {5, 7}, {6, 8}, {8, 7}},
         {{0, 2, 5, 7, 8, 6, 4, 1}}},
    };
    return all;
}

void drawSky(QPainter& p, const QRectF& area, const QColor& tint, int seed) {
    QLinearGradient g(area.topLeft(), area.bottomLeft());
    g.setColorAt(0, pal::night0);
    g.setColorAt(0.6, pal::night1);
    g.setColorAt(1, mix(pal::night2, tint, 0.15));
    p.fillRect(area, g);
    // A faint band of the Milky Way across the sky.
    Rng rng(static_cast<std::uint32_t>(seed));
    p.save();
    p.setClipRect(area);
    const qreal tilt = rng.range(-40, 40);
    p.translate(area.center());
    p.rotate(tilt);
    QLinearGradient band(0, -40, 0, 40);
    band.setColorAt(0, QColor(120, 140, 200, 0));
    band.setColorAt(0.5, QColor(130, 150, 210, 38));
    band.setColorAt(1, QColor(120, 140, 200, 0));
    p.fillRect(QRectF(-200, -40, 400, 80), band);
    Rng dust(static_cast<std::uint32_t>(seed + 100));
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 260; ++i) {
        const qreal x = dust.range(-150, 150);
        const qreal y = (dust.uniform() + dust.uniform() + dust.uniform() - 1.5) * 30;
        p.setBrush(QColor(200, 210, 255, 20 + static_cast<int>(dust.uniform() * 70)));
        p.drawEllipse(QPointF(x, y), 0.5, 0.5);
    }
    p.resetTransform();
    drawGlow(p, area.center() + QPointF(0, -10), 90, withAlpha(tint, 40));
    drawStarField(p, area, rng, 100, 0.55);
    p.restore();
}

void paintConstellation(QPainter& p, const Constellation& c, int seed) {
    const QRectF area = cardPictureArea(QSizeF(kW, kH));
    drawSky(p, area, c.tint, seed);
    p.save();
    p.setClipRect(area);
    const QColor line = mix(c.tint, pal::bronzeLight, 0.5);
    auto at = [&](int i) { return QPointF(c.stars[i].x, c.stars[i].y); };

    // The figure, as the old star atlases drew it: a faint shape behind the stars.
    for (const auto& outline : c.ghost) {
        QPolygonF poly;
        for (int i : outline)
            poly << at(i);
        QPainterPath path;
        path.addPolygon(poly);
        path.closeSubpath();
        p.fillPath(path, withAlpha(c.tint, 34));
    }
    if (QLatin1String(c.name) == QLatin1String("The Serpent")) {
        // The snake's body as a faint band along its spine.
        QPainterPath body;
        body.moveTo(at(2));
        for (int i = 3; i <= 12; ++i)
            body.lineTo(at(i));
        p.setPen(QPen(withAlpha(c.tint, 40), 10, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        p.drawPath(body);
        QPainterPath head;
        head.addEllipse(QPointF(138, 34), 11, 8);
        p.fillPath(head, withAlpha(c.tint, 45));
    }
    if (QLatin1String(c.name) == QLatin1String("The Shadow")) {
        // A crescent moon that the figure hides from.
        QPainterPath moon;
        moon.addEllipse(QPointF(140, 40), 18, 18);
        QPainterPath bite;
        bite.addEllipse(QPointF(148, 34), 16, 16);
        drawGlow(p, QPointF(138, 42), 40, QColor(200, 190, 255, 50));
        p.fillPath(moon.subtracted(bite), QColor(230, 226, 250, 210));
        QPainterPath shadow;
        QPolygonF poly;
        for (int i : c.ghost.front())
            poly << at(i);
        shadow.addPolygon(poly);
        shadow.closeSubpath();
        p.fillPath(shadow, QColor(0, 0, 8, 150));
    }

    p.setPen(QPen(withAlpha(line, 165), 1.2, Qt::SolidLine, Qt::RoundCap));
    for (const auto& [a, b] : c.lines) {
        // Leave a little gap round each star.
        const QPointF pa = at(a);
        const QPointF pb = at(b);
        const QPointF d = pb - pa;
        const qreal len = std::hypot(d.x(), d.y());
        if (len < 8)
            continue;
        const QPointF u = d / len;
        p.drawLine(pa + u * 3.5, pb - u * 3.5);
    }
    for (const Star& s : c.stars)
        drawStar(p, QPointF(s.x, s.y), s.mag, mix(c.tint, Qt::white, 0.55));
    p.restore();
}

} // namespace

const QStringList& birthsignNames() {
    static const QStringList names = [] {
        QStringList l;
        for (const Constellation& c : constellations())
            l << QString::fromLatin1(c.name);
        return l;
    }();
    return names;
}

QImage drawBirthsign(const QString& birthsign) {
    QImage img = newImage(static_cast<int>(kW), static_cast<int>(kH));
    QPainter p;
    beginPainter(p, img);
    const auto& all = constellations();
    for (int i = 0; i < static_cast<int>(all.size()); ++i) {
        if (birthsign == QLatin1String(all[i].name))
            paintConstellation(p, all[i], 1000 + i * 17);
    }
    drawCardFrame(p, QSizeF(kW, kH), birthsign);
    p.end();
    return img;
}

} // namespace artgen
