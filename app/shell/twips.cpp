#include "twips.h"

#include <QGuiApplication>
#include <QPalette>
#include <QScreen>
#include <QWidget>

namespace tarvo {

namespace {
double dpiScale() {
    const QScreen* s = QGuiApplication::primaryScreen();
    const double dpi = s ? s->logicalDotsPerInchX() : 96.0;
    return dpi > 0 ? dpi / 96.0 : 1.0;
}
} // namespace

int twips(int tw) {
    return qRound(tw / 15.0 * dpiScale());
}

int toTwips(int pixels) {
    return qRound(pixels * 15.0 / dpiScale());
}

void paintBlue(QWidget* w) {
    QPalette p = w->palette();
    p.setColor(QPalette::Window, kWindowBlue);
    p.setColor(QPalette::WindowText, Qt::white);
    w->setPalette(p);
    w->setAutoFillBackground(true);
}

} // namespace tarvo
