#include "frmWelcome.h"

#include "appfolder.h"
#include "appinfo.h"
#include "elide.h"
#include "forms.h"
#include "globals.h"
#include "ini/mdlVbNetIni.h"
#include "launch.h"
#include "mdlGeneral.h"
#include "planning/frmProgress.h"
#include "planning/frmWizard.h"
#include "platform.h"
#include "settings.h"
#include "twips.h"
#include "widgets.h"
#include "wizard/frmMain.h"

#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QLocale>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>

#include <cmath>
#include <optional>

namespace tarvo {

namespace {

const QString kProgram = QStringLiteral("Program");
const QString kVisibleKey = QStringLiteral("iniCmdCreate(3).Visible");
const QString kCaptionKey = QStringLiteral("iniCmdCreate(3).Caption");
const QString kLaunchKey = QStringLiteral("iniCmdCreate(3).Launchpath");

// A settings text as a Boolean, the way the settings have always been read:
// "True" or "False" in any letter case, or a number (zero is false). Nothing
// for anything else.
std::optional<bool> toBoolean(const QString& value) {
    const QString text = value.trimmed();
    if (text.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
        return true;
    if (text.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0)
        return false;
    bool ok = false;
    if (text.startsWith(QLatin1String("&H"), Qt::CaseInsensitive)) {
        const qlonglong n = text.mid(2).toLongLong(&ok, 16);
        return ok ? std::optional<bool>(n != 0) : std::nullopt;
    }
    if (text.startsWith(QLatin1String("&O"), Qt::CaseInsensitive)) {
        const qlonglong n = text.mid(2).toLongLong(&ok, 8);
        return ok ? std::optional<bool>(n != 0) : std::nullopt;
    }
    // "nan" and "inf" read as numbers but are no Boolean text.
    const double n = QLocale::c().toDouble(text, &ok);
    return ok && std::isfinite(n) ? std::optional<bool>(n != 0.0) : std::nullopt;
}

// Labels of one line, centred on their height.
constexpr LabelStyle kLine{.wrap = false, .alignment = Qt::AlignLeft | Qt::AlignVCenter};

// The descriptions of the buttons, shown while the mouse is over them.
const QString kCreateDescriptions[3] = {
    QStringLiteral("Create a new character easily by answering questions. This profile can be "
                   "further customised later."),
    QStringLiteral("Use a pre made profile of skills and attributes that matches the character "
                   "you want or load an existing character. This profile can be further "
                   "customised."),
    QStringLiteral("Create a new character from scratch. TARVO2 will make suggestions based on "
                   "your class if you request it.")};
const QString kBrowseDescriptions[2] = {
    QStringLiteral(
        "Open the online Morrowind wiki, the reference that every link of TARVO2 leads to."),
    QStringLiteral("Launch the TARVO2 Update Checker program to check for the latest version of "
                   "TARVO.")};

} // namespace

QString frmWelcome::defaultDescription() {
    return QStringLiteral("You can make this panel reappear at any time by opening Advanced "
                          "Features and clicking the Welcome Panel");
}

frmWelcome::frmWelcome() {
    setObjectName(QStringLiteral("frmWelcome"));
    setWindowTitle(QStringLiteral("Welcome to"));
    setAttribute(Qt::WA_DeleteOnClose);
    paintBlue(this);
    setFixedSize(twipsSize(8295, 5640));
    // The background and the labels give the default description back.
    setMouseTracking(true);

    m_lblTitle = makeLabel(this, QStringLiteral("lblTitle"),
                           QStringLiteral("What would you like to do today?"),
                           twipsRect(120, 120, 8055, 615), kLine);
    QFont title = m_lblTitle->font();
    title.setPointSizeF(title.pointSizeF() * 1.6);
    title.setBold(true);
    m_lblTitle->setFont(title);
    m_lblTitle->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    QFont heading = font();
    heading.setBold(true);
    heading.setPointSizeF(heading.pointSizeF() * 1.15);

    m_lblID[0] = makeLabel(this, indexed("lblID", 0), QStringLiteral("Create a Character Using..."),
                           twipsRect(240, 720, 3255, 735), kLine);
    const char* const creates[4] = {"The Character Planning Assistant", "A Pre Made Profile",
                                    "Your Custom Design", "Optional Button"};
    for (int i = 0; i < 4; ++i) {
        m_cmdCreate[size_t(i)] =
            makeButton(this, indexed("cmdCreate", i), QLatin1String(creates[i]),
                       twipsRect(240, 1440 + i * 600, 3255, 495));
        connect(m_cmdCreate[size_t(i)], &QPushButton::clicked, this,
                [this, i] { cmdCreate_Click(i); });
        // What the pointer shows below the picture, a screen reader says.
        if (i < 3)
            m_cmdCreate[size_t(i)]->setAccessibleDescription(kCreateDescriptions[i]);
    }
    m_lblID[1] = makeLabel(this, indexed("lblID", 1), QStringLiteral("Browse Freely..."),
                           twipsRect(240, 3840, 3255, 375), kLine);
    for (QLabel* l : m_lblID) {
        l->setFont(heading);
        l->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    }
    const char* const browses[2] = {"Open the Morrowind Wiki", "Update TARVO2"};
    for (int i = 0; i < 2; ++i) {
        m_cmdBrowse[size_t(i)] =
            makeButton(this, indexed("cmdBrowse", i), QLatin1String(browses[i]),
                       twipsRect(240, 4200 + i * 600, 3255, 495));
        connect(m_cmdBrowse[size_t(i)], &QPushButton::clicked, this,
                [this, i] { cmdBrowse_Click(i); });
        m_cmdBrowse[size_t(i)]->setAccessibleDescription(kBrowseDescriptions[i]);
    }

    // The picture fills the right-hand side above the version and the
    // description.
    m_imgMain = makeLabel(this, QStringLiteral("imgMain"), QString(),
                          twipsRect(3720, 780, 4455, 2280), kLine);
    m_imgMain->setAlignment(Qt::AlignCenter);
    m_lblVersion = makeLabel(this, QStringLiteral("lblVersion"), QString(),
                             twipsRect(4920, 3120, 3135, 375), kLine);
    m_lblVersion->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    // Room below the design height so that the longest description is never
    // cut off.
    m_lblDescription = makeLabel(this, QStringLiteral("lblDescription"), QString(),
                                 twipsRect(4080, 3480, 3615, 1815), kLine);
    m_lblDescription->setWordWrap(true);
    m_lblDescription->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    for (QPushButton* b : m_cmdCreate)
        b->installEventFilter(this);
    for (QPushButton* b : m_cmdBrowse)
        b->installEventFilter(this);
    m_imgMain->installEventFilter(this);
    for (QLabel* l : m_lblID)
        l->installEventFilter(this);

    if (const QScreen* s = QGuiApplication::primaryScreen())
        move(s->availableGeometry().center() - rect().center());

    Form_Load();
}

void frmWelcome::Form_Load() {
    setWindowTitle(windowTitle() + QLatin1Char(' ') + kProgramTitle);
    const QPixmap picture(appPath(QStringLiteral("/images/welcomescreen.JPG")));
    if (!picture.isNull())
        m_imgMain->setPixmap(
            picture.scaled(m_imgMain->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
    m_lblVersion->setText(QStringLiteral("Version: %1.%2.%3")
                              .arg(kVersionMajor)
                              .arg(kVersionMinor)
                              .arg(kVersionRevision));
    m_lblDescription->setText(defaultDescription());

    const std::optional<bool> visible =
        toBoolean(ReadIniValue(kProgram, kVisibleKey, QStringLiteral("False"), settingsFile()));
    if (!visible) {
        // Loading ends here; the window keeps its design layout.
        ReportSettingsProblem();
        return;
    }
    if (*visible) {
        m_cmdCreate[3]->setVisible(true);
        showElided(m_cmdCreate[3], ReadIniValue(kProgram, kCaptionKey,
                                                QStringLiteral("Unspecified!"), settingsFile()));
        return;
    }
    // Without the optional button the others spread over its room.
    m_cmdCreate[3]->setVisible(false);
    for (QPushButton* b : m_cmdCreate)
        b->resize(b->width(), twips(615));
    for (QPushButton* b : m_cmdBrowse)
        b->resize(b->width(), twips(615));
    m_cmdCreate[0]->move(m_cmdCreate[0]->x(), twips(1440));
    m_cmdCreate[1]->move(m_cmdCreate[1]->x(), twips(2160));
    m_cmdCreate[2]->move(m_cmdCreate[2]->x(), twips(2880));
    m_lblID[1]->move(m_lblID[1]->x(), twips(3600));
    m_cmdBrowse[0]->move(m_cmdBrowse[0]->x(), twips(3960));
    m_cmdBrowse[1]->move(m_cmdBrowse[1]->x(), twips(4680));
}

void frmWelcome::cmdCreate_Click(int index) {
    switch (index) {
    case 0:
        OpenPlanningAssistant(this);
        break;
    case 1:
        CloseAndContinue(this, QStringLiteral("frmWelcome"));
        forms::main()->OpenFile(QStringLiteral("Template"));
        break;
    case 2:
        CloseAndContinue(this, QStringLiteral("frmWelcome"));
        break;
    case 3: {
        const QString command = ReadIniValue(kProgram, kLaunchKey, QString(), settingsFile());
        if (command.trimmed().isEmpty()) {
            msgBox(QStringLiteral("No program has been set for this button. Set its command line "
                                  "(iniCmdCreate(3).Launchpath) in the settings file."),
                   MsgButtons::OK, MsgIcon::Exclamation);
        } else if (!platform().start(resolveLaunchCommand(command))) {
            msgBox(QStringLiteral("The program \"%1\" could not be started.").arg(command),
                   MsgButtons::OK, MsgIcon::Exclamation);
        }
        break;
    }
    default:
        break;
    }
}

void frmWelcome::cmdBrowse_Click(int index) {
    if (index == 0) {
        platform().open(globals().Domain);
        return;
    }
    const QString program = appPath(QStringLiteral("/") + executableName(QStringLiteral("update")));
    const QString shown = QDir::toNativeSeparators(program);
    if (!QFileInfo(program).isFile()) {
        msgBox(QStringLiteral("The TARVO2 Update Checker could not be started: %1 was not found.")
                   .arg(shown),
               MsgButtons::OK, MsgIcon::Exclamation);
        return;
    }
    if (!platform().start(program))
        msgBox(QStringLiteral("The TARVO2 Update Checker could not be started: %1 could not be "
                              "run.")
                   .arg(shown),
               MsgButtons::OK, MsgIcon::Exclamation);
}

void frmWelcome::describe(QObject* control) {
    for (int i = 0; i < 3; ++i) {
        if (control == m_cmdCreate[size_t(i)]) {
            m_lblDescription->setText(kCreateDescriptions[i]);
            return;
        }
    }
    for (int i = 0; i < 2; ++i) {
        if (control == m_cmdBrowse[size_t(i)]) {
            m_lblDescription->setText(kBrowseDescriptions[i]);
            return;
        }
    }
    if (control == this || control == m_imgMain || control == m_lblID[0] || control == m_lblID[1])
        m_lblDescription->setText(defaultDescription());
    // Any other control (the optional button among them) leaves the text.
}

bool frmWelcome::eventFilter(QObject* watched, QEvent* event) {
    // The keyboard's focus shows a button's description as the mouse does.
    if (event->type() == QEvent::Enter || event->type() == QEvent::MouseMove ||
        event->type() == QEvent::FocusIn)
        describe(watched);
    return QWidget::eventFilter(watched, event);
}

void frmWelcome::mouseMoveEvent(QMouseEvent* event) {
    // Moves over controls that do not track the mouse arrive here too; only
    // the bare background gives the default text.
    if (!childAt(event->position().toPoint()))
        describe(this);
    QWidget::mouseMoveEvent(event);
}

void frmWelcome::closeEvent(QCloseEvent* event) {
    event->accept();
    // Reopened from the wizard: closing returns to it.
    if (globals().WelcomeReopened == QLatin1String("Yes")) {
        forms::main()->show();
        forms::progress()->show();
    }
}

} // namespace tarvo
