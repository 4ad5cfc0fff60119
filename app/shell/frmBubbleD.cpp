#include "frmBubbleD.h"

#include "appfolder.h"
#include "desktop.h"
#include "twips.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QBitmap>
#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPointer>
#include <QScreen>
#include <QTimer>

namespace tarvo {

namespace {
QPointer<frmBubbleD>& bubble() {
    static QPointer<frmBubbleD> b;
    return b;
}
constexpr int kWidth = 256;
constexpr int kHeight = 68;

// Screen readers meet the balloon as a notification named by its title and
// described by its text, and speak it when it shows.
QAccessibleInterface* bubbleAccessible(const QString& key, QObject* object) {
    if (key == QLatin1String("tarvo::frmBubbleD") && object->isWidgetType())
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Notification);
    return nullptr;
}

// Where the balloon goes: at the point asked for, moved just enough to lie
// wholly on the visible area of the screen under that point.
QPoint placeOnScreen(const QPoint& wanted, const QSize& size) {
    const QScreen* screen = QGuiApplication::screenAt(wanted);
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen)
        return wanted;
    const QRect area = screen->availableGeometry();
    const int x =
        qBound(area.left(), wanted.x(), qMax(area.left(), area.right() + 1 - size.width()));
    const int y =
        qBound(area.top(), wanted.y(), qMax(area.top(), area.bottom() + 1 - size.height()));
    return {x, y};
}
} // namespace

frmBubbleD::frmBubbleD(QWidget* parent)
    : QWidget(parent, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      m_title(new QLabel(this)), m_text(new QLabel(this)), m_arrowD(new QLabel(this)),
      m_arrowU(new QLabel(this)), m_vanish(new QTimer(this)) {
    setObjectName(QStringLiteral("frmBubbleD"));
    static const bool factory = (QAccessible::installFactory(bubbleAccessible), true);
    Q_UNUSED(factory);
    setAttribute(Qt::WA_DeleteOnClose);
    setAttribute(Qt::WA_TranslucentBackground);
    setFixedSize(kWidth, kHeight + 20);
    m_background.load(appPath(QStringLiteral("/Data/BubbleBack.png")));

    m_arrowU->setObjectName(QStringLiteral("imgArrowU"));
    m_arrowD->setObjectName(QStringLiteral("imgArrowD"));
    QPixmap up(appPath(QStringLiteral("/Data/BubbleArrowU.png")));
    QPixmap down(appPath(QStringLiteral("/Data/BubbleArrowD.png")));
    m_arrowU->setPixmap(up);
    m_arrowD->setPixmap(down);
    m_arrowU->setGeometry(24, 0, 20, 20);
    m_arrowD->hide(); // the balloon hangs below its point
    m_arrowU->setVisible(!up.isNull());

    m_title->setObjectName(QStringLiteral("lblTitleD"));
    m_title->setGeometry(12, 26, kWidth - 24, 16);
    QFont bold = m_title->font();
    bold.setBold(true);
    m_title->setFont(bold);
    m_text->setObjectName(QStringLiteral("lblInformationD"));
    m_text->setGeometry(12, 42, kWidth - 24, kHeight + 20 - 46);
    m_text->setWordWrap(true);
    m_text->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    QFont small = m_text->font();
    small.setPointSizeF(small.pointSizeF() * 0.85);
    m_text->setFont(small);
    for (QLabel* l : {m_title, m_text}) {
        QPalette p = l->palette();
        p.setColor(QPalette::WindowText, QColor(30, 30, 30));
        l->setPalette(p);
        l->installEventFilter(this);
    }

    m_vanish->setObjectName(QStringLiteral("tmrVanishD"));
    m_vanish->setSingleShot(true);
    m_vanish->setInterval(5000);
    connect(m_vanish, &QTimer::timeout, this, &QWidget::close);
    m_vanish->start();
}

void frmBubbleD::setTexts(const QString& title, const QString& text) {
    m_title->setText(title);
    m_text->setText(text);
    setAccessibleName(title);
    setAccessibleDescription(text);
}

QString frmBubbleD::title() const {
    return m_title->text();
}
QString frmBubbleD::text() const {
    return m_text->text();
}

bool frmBubbleD::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress && (watched == m_title || watched == m_text)) {
        close();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void frmBubbleD::mousePressEvent(QMouseEvent*) {
    close();
}

void frmBubbleD::showEvent(QShowEvent* event) {
    // Without a compositing manager the see-through corners would be black:
    // the window takes the balloon's shape instead.
    if (translucentWindowsAvailable()) {
        clearMask();
    } else {
        QImage shape(size(), QImage::Format_ARGB32_Premultiplied);
        shape.fill(Qt::transparent);
        QPainter p(&shape);
        paintBalloon(p);
        if (m_arrowU->isVisible())
            p.drawPixmap(m_arrowU->pos(), m_arrowU->pixmap());
        p.end();
        setMask(QBitmap::fromImage(shape.createAlphaMask(Qt::ThresholdAlphaDither)));
    }
    QWidget::showEvent(event);
}

void frmBubbleD::paintEvent(QPaintEvent*) {
    QPainter p(this);
    paintBalloon(p);
}

void frmBubbleD::paintBalloon(QPainter& p) const {
    const QRect body(0, 20, kWidth, kHeight);
    if (!m_background.isNull()) {
        p.drawPixmap(body, m_background);
        return;
    }
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath path;
    path.addRoundedRect(QRectF(body).adjusted(0.5, 0.5, -0.5, -0.5), 10, 10);
    path.moveTo(28, 21);
    path.lineTo(34, 6);
    path.lineTo(44, 21);
    p.fillPath(path.simplified(), QColor(255, 251, 214));
    p.setPen(QPen(QColor(120, 100, 40), 1));
    p.drawPath(path.simplified());
}

void ShowBubble(const QString& title, const QString& text, int left, int top) {
    if (!bubble())
        bubble() = new frmBubbleD;
    frmBubbleD* b = bubble();
    const bool news = !b->isVisible() || b->title() != title || b->text() != text;
    b->setTexts(title, text);
    b->move(placeOnScreen(QPoint(twips(left), twips(top)), b->size()));
    b->show();
    b->raise();
    // Qt tells screen readers of no tool-tip window that shows: the balloon
    // tells them itself, and again when it shows new texts.
    if (news) {
        QAccessibleEvent shown(b, QAccessible::ObjectShow);
        QAccessible::updateAccessibility(&shown);
    }
}

frmBubbleD* currentBubble() {
    return bubble();
}

void UnloadBubble() {
    if (bubble())
        bubble()->close();
}

} // namespace tarvo
