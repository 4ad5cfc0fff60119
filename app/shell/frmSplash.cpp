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
QLabel* label(QWidget* parent, const char* name, const QString& text, QRect geometry) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(QLatin1String(name));
    l->setGeometry(geometry);
    return l;
}
} // namespace

frmSplash::frmSplash(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("frmSplash"));
    setWindowTitle(kProgramTitle);
    setAttribute(Qt::WA_DeleteOnClose);
    paintBlue(this);
    setFixedSize(twipsSize(7200, 4200));

    auto* logo = new QLabel(this);
    logo->setObjectName(QStringLiteral("imgLogo"));
    logo->setGeometry(twipsRect(240, 240, 4950, 3000));
    logo->setAlignment(Qt::AlignCenter);
    logo->setScaledContents(false);

    QLabel* product =
        label(this, "lblProductName", QStringLiteral("TARVO"), twipsRect(5040, 360, 1920, 600));
    QFont f = product->font();
    f.setPointSize(20);
    f.setBold(true);
    product->setFont(f);
    QLabel* major =
        label(this, "lblMajor", QString::number(kVersionMajor), twipsRect(5040, 900, 1920, 1300));
    f.setPointSize(48);
    major->setFont(f);
    label(this, "lblPlatform", QStringLiteral("Character Profile Creator"),
          twipsRect(5040, 2200, 2040, 300));
    label(this, "lblCompanyProduct", QStringLiteral("Ferrandel Network's"),
          twipsRect(5040, 2520, 2040, 300));
    label(this, "lblVersion", QString(), twipsRect(5040, 2840, 2040, 300));
    label(this, "lblCompany", QString(), twipsRect(5040, 3160, 2040, 300));
    m_status = label(this, "lblStatus", QString(), twipsRect(240, 3480, 6720, 420));
    m_status->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    m_timer = new QTimer(this);
    m_timer->setObjectName(QStringLiteral("Timer1"));
    m_timer->setInterval(800);
    m_timer->setSingleShot(true);
    connect(m_timer, &QTimer::timeout, this,
            [this] { CloseAndContinue(this, QStringLiteral("frmSplash")); });

    if (const QScreen* s = QGuiApplication::primaryScreen())
        move(s->availableGeometry().center() - rect().center());
}

void frmSplash::status(const QString& text) {
    m_status->setText(text);
    // Show each step as it happens; the steps are quick.
    m_status->repaint();
}

void frmSplash::load() {
    findChild<QLabel*>(QStringLiteral("lblVersion"))
        ->setText(QStringLiteral("Version ") + versionText());
    findChild<QLabel*>(QStringLiteral("imgLogo"))
        ->setPixmap(QPixmap(appPath(QStringLiteral("/Images/LogoMed.JPG"))));
    findChild<QLabel*>(QStringLiteral("lblCompany"))->setText(kCompanyName);

    status(QStringLiteral("Updating version numbers..."));
    status(QStringLiteral("...writing versions.ini..."));
    WriteProgramVersion();
    status(QStringLiteral("...complete!"));
    status(QStringLiteral("Loading settings file..."));
    LoadSettingsFile([this](const QString& text) { status(text); });
    m_timer->start();
}

} // namespace tarvo
