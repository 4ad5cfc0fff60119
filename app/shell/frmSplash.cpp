#include "frmSplash.h"

#include "appfolder.h"
#include "appinfo.h"
#include "forms.h"
#include "settings.h"
#include "twips.h"

#include <QApplication>
#include <QLabel>
#include <QScreen>
#include <QTimer>

namespace tarvo {

namespace {
QLabel* label(QWidget* parent, const char* name, const QString& text) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(QLatin1String(name));
    l->setWordWrap(true);
    return l;
}
} // namespace

frmSplash::frmSplash(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("frmSplash"));
    setWindowTitle(kProgramTitle);
    setAttribute(Qt::WA_DeleteOnClose);
    paintBlue(this);

    auto* logo = new QLabel(this);
    logo->setObjectName(QStringLiteral("imgLogo"));
    logo->setGeometry(twipsRect(240, 240, 4950, 3000));
    logo->setAlignment(Qt::AlignCenter);
    logo->setScaledContents(false);
    // The logo and every text are in place before the first paint.
    logo->setPixmap(QPixmap(appPath(QStringLiteral("/Images/LogoMed.JPG"))));

    QLabel* product = label(this, "lblProductName", QStringLiteral("TARVO"));
    QFont f = product->font();
    f.setPointSize(20);
    f.setBold(true);
    product->setFont(f);
    QLabel* major = label(this, "lblMajor", QString::number(kVersionMajor));
    f.setPointSize(48);
    major->setFont(f);
    label(this, "lblPlatform", QStringLiteral("Character Profile Creator"));
    label(this, "lblCompanyProduct", QStringLiteral("Ferrandel Network's"));
    label(this, "lblVersion", QStringLiteral("Version ") + versionText());
    label(this, "lblCompany", kCompanyName);
    m_status = label(this, "lblStatus", QString());
    m_status->setWordWrap(false);
    m_status->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    arrangeLabels();

    m_timer = new QTimer(this);
    m_timer->setObjectName(QStringLiteral("Timer1"));
    m_timer->setInterval(800);
    m_timer->setSingleShot(true);
    connect(m_timer, &QTimer::timeout, this,
            [this] { CloseAndContinue(this, QStringLiteral("frmSplash")); });

    if (const QScreen* s = QGuiApplication::primaryScreen())
        move(s->availableGeometry().center() - rect().center());
}

void frmSplash::arrangeLabels() {
    // The texts stand in a column right of the logo, each as tall as its
    // wrapped text needs; the window grows where the fonts are large.
    const QRect logo = findChild<QLabel*>(QStringLiteral("imgLogo"))->geometry();
    const int gap = twips(120);
    const int left = logo.right() + 1 + gap;
    const int width = twips(7200) - gap - left;
    int top = logo.top();
    for (const char* name : {"lblProductName", "lblMajor", "lblPlatform", "lblCompanyProduct",
                             "lblVersion", "lblCompany"}) {
        auto* l = findChild<QLabel*>(QLatin1String(name));
        const int height = l->heightForWidth(width);
        l->setGeometry(left, top, width, height > 0 ? height : l->sizeHint().height());
        top += l->height();
    }
    const int statusTop = qMax(top, logo.bottom() + 1) + gap;
    const int statusHeight = qMax(twips(420), m_status->sizeHint().height());
    m_status->setGeometry(logo.left(), statusTop, twips(7200) - 2 * logo.left(), statusHeight);
    setFixedSize(twips(7200), qMax(twips(4200), statusTop + statusHeight + gap));
}

void frmSplash::status(const QString& text) {
    m_status->setText(text);
    // Show each step as it happens; the steps are quick.
    m_status->repaint();
}

void frmSplash::load() {
    status(QStringLiteral("Updating version numbers..."));
    status(QStringLiteral("...writing versions.ini..."));
    WriteProgramVersion();
    status(QStringLiteral("...complete!"));
    status(QStringLiteral("Loading settings file..."));
    LoadSettingsFile([this](const QString& text) { status(text); });
    m_timer->start();
}

} // namespace tarvo
