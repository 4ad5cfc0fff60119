#include "frmAbout.h"

#include "appfolder.h"
#include "appinfo.h"
#include "forms.h"
#include "ini/textfile.h"
#include "optionbutton.h"
#include "twips.h"
#include "wizard/frmMain.h"

#include <QDir>
#include <QLabel>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>

namespace tarvo {

namespace {
QPointer<frmAbout> g_about;
const char* const kCaptions[3] = {"Individuals", "Business", "Disclaimer"};
} // namespace

frmAbout* frmAbout::instance() {
    if (!ifLoaded())
        g_about = new frmAbout;
    return g_about;
}

frmAbout* frmAbout::ifLoaded() {
    return g_about && !g_about->m_unloaded ? g_about.data() : nullptr;
}

void showAboutWindow(int index) {
    frmAbout* a = frmAbout::instance();
    a->chooseText(index);
    a->show();
    a->raise();
    a->activateWindow();
}

frmAbout::frmAbout() {
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("About TARVO2"));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    paintBlue(this);
    setFixedSize(twipsSize(6600, 5400));
    if (frmMain* m = forms::mainIfLoaded())
        setWindowIcon(m->windowIcon());

    // The logo, and three more picture places that stay empty.
    for (int i = 0; i < 4; ++i) {
        auto* img = new QLabel(this);
        img->setObjectName(QStringLiteral("imgLogo(%1)").arg(i));
        img->setGeometry(twipsRect(120 + i * 120, 120, 2400, 960));
        img->setVisible(i == 0);
        if (i == 0) {
            const QPixmap logo(appPath(QStringLiteral("/data/websites/Project TARVO2 Home.GIF")));
            if (logo.isNull()) {
                // Without its picture the logo shows the program's name.
                img->setText(QStringLiteral("TARVO2"));
                QFont f = img->font();
                f.setBold(true);
                f.setPointSizeF(f.pointSizeF() * 2);
                img->setFont(f);
            } else {
                img->setPixmap(
                    logo.scaled(img->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
            }
            img->setAccessibleName(QStringLiteral("TARVO2 logo"));
        }
    }
    auto* version = new QLabel(QStringLiteral("TARVO2 v") + versionText(), this);
    version->setObjectName(QStringLiteral("lblVersion"));
    version->setGeometry(twipsRect(2640, 480, 3840, 315));

    for (int i = 0; i < 3; ++i) {
        auto* o = new OptionButton(QLatin1String(kCaptions[i]), this);
        o->setObjectName(QStringLiteral("optNav(%1)").arg(i));
        o->setGeometry(twipsRect(120 + i * 1560, 1200, 1440, 315));
        o->setAccessibleName(QLatin1String(kCaptions[i]));
        connect(o, &QRadioButton::toggled, this, [this, i](bool on) {
            if (on)
                optNav_Click(i);
        });
        m_optNav[size_t(i)] = o;
    }
    m_txtAbout = new QPlainTextEdit(this);
    m_txtAbout->setObjectName(QStringLiteral("txtAbout"));
    m_txtAbout->setGeometry(twipsRect(120, 1620, 6360, 3060));
    m_txtAbout->setReadOnly(true);
    m_txtAbout->setTabChangesFocus(true);
    m_txtAbout->setAccessibleName(QStringLiteral("About text"));

    auto* ok = new QPushButton(QStringLiteral("&OK"), this);
    ok->setObjectName(QStringLiteral("cmdOK"));
    ok->setGeometry(twipsRect(5280, 4860, 1200, 375));
    ok->setAccessibleName(QStringLiteral("OK"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    chooseText(0);
}

void frmAbout::chooseText(int index) {
    if (index < 0 || index > 2)
        return;
    if (m_optNav[size_t(index)]->isChecked())
        optNav_Click(index);
    else
        m_optNav[size_t(index)]->setChecked(true);
}

void frmAbout::optNav_Click(int index) {
    const QString relative =
        QStringLiteral("/help/") + QLatin1String(kCaptions[index]) + QStringLiteral(".txt");
    bool ok = false;
    const QString text = readTextFile(appPath(relative), &ok);
    m_txtAbout->setPlainText(
        ok ? text
           : QStringLiteral("This text (%1) is missing from the help folder. Reinstalling TARVO2 "
                            "restores it.")
                 .arg(QDir::toNativeSeparators(appFolder() + relative)));
}

void frmAbout::done(int result) {
    QDialog::done(result);
    if (m_unloaded)
        return;
    m_unloaded = true;
    deleteLater();
}

} // namespace tarvo
