#include "frmOptions.h"

#include "appfolder.h"
#include "forms.h"
#include "frmAbout.h"
#include "gamefiles/gametables.h"
#include "ini/mdlVbNetIni.h"
#include "ini/safewrite.h"
#include "mdlGeneral.h"
#include "optionbutton.h"
#include "planning/frmProgress.h"
#include "platform.h"
#include "settings.h"
#include "textexport.h"
#include "twips.h"
#include "widgets.h"
#include "wizard/frmMain.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QTextDocument>
#include <QTimer>

#include <optional>

namespace tarvo {

namespace {

QPointer<frmOptions> g_options;

const QString kProgram = QStringLiteral("Program");
const QString kInstallations = QStringLiteral("installations");
const QString kDefaultDescription =
    QStringLiteral("Format the tags used on a message board. Leave blank to omit.");
// Labels beside the boxes they name, centred on them.
constexpr LabelStyle kRowLabel{.alignment = Qt::AlignLeft | Qt::AlignVCenter};

const char* const kTagKeys[8] = {"iniBTag1", "iniBTag2", "iniITag1", "iniITag2",
                                 "iniUTag1", "iniUTag2", "iniLTag1", "iniLTag2"};

QCheckBox* makeCheck(QWidget* parent, const QString& name, const QString& text, const QRect& r) {
    auto* c = new QCheckBox(text, parent);
    c->setObjectName(name);
    c->setGeometry(r);
    c->setAccessibleName(text);
    return c;
}

// A text box named by its label (the label also gives its keyboard
// shortcut where it has one).
QLineEdit* makeEdit(QWidget* parent, const QString& name, QLabel* label, const QString& accessible,
                    const QRect& r) {
    auto* e = new QLineEdit(parent);
    e->setObjectName(name);
    e->setGeometry(r);
    e->setAccessibleName(accessible);
    if (label)
        label->setBuddy(e);
    return e;
}

// A settings text as a Boolean, as the settings have always been read:
// "True"/"False" in any letter case, or a number (zero is false).
std::optional<bool> toBoolean(const QString& value) {
    const QString text = value.trimmed();
    if (text.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
        return true;
    if (text.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0)
        return false;
    bool ok = false;
    const double n = text.toDouble(&ok);
    return ok ? std::optional<bool>(n != 0.0) : std::nullopt;
}

} // namespace

QString writeFailureReason(const QString& path) {
    if (QString why; writeTarget(path, &why).isEmpty() && !why.isEmpty())
        return why;
    const QFileInfo fi(path);
    if (fi.exists() && !fi.isWritable())
        return QStringLiteral("the file is read-only.");
    if (!QFileInfo(fi.absolutePath()).isDir())
        return QStringLiteral("its folder does not exist.");
    if (!fi.exists() && !QFileInfo(fi.absolutePath()).isWritable())
        return QStringLiteral("its folder is read-only.");
    return QStringLiteral("the file could not be written.");
}

namespace {

bool reportWriteFailure(const QString& path) {
    msgBox(QStringLiteral("TARVO2 could not save your options to %1: %2\n\nNot all of your "
                          "options have been saved. Please make sure the file can be written "
                          "and press OK again, or press Cancel to leave the options as they "
                          "were.")
               .arg(QDir::toNativeSeparators(path), writeFailureReason(path)),
           MsgButtons::OK, MsgIcon::Exclamation);
    return false;
}

void enableWizardWindows(bool enabled) {
    if (frmMain* m = forms::mainIfLoaded())
        m->setEnabled(enabled);
    if (frmProgress* p = forms::progressIfLoaded())
        p->setEnabled(enabled);
}

QString installationsForWriting() {
    return writablePath(QStringLiteral("/Help/installations.ini"), true);
}

} // namespace

frmOptions* frmOptions::instance() {
    if (!ifLoaded())
        g_options = new frmOptions;
    return g_options;
}

frmOptions* frmOptions::ifLoaded() {
    return g_options && !g_options->m_unloaded ? g_options.data() : nullptr;
}

void showOptionsWindow() {
    frmOptions* o = frmOptions::instance();
    o->show();
    o->raise();
    o->activateWindow();
}

frmOptions::frmOptions() {
    setObjectName(QStringLiteral("frmOptions"));
    setWindowTitle(QStringLiteral("Options"));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    paintBlue(this);
    setFixedSize(twipsSize(8400, 6300));

    const char* navCaptions[4] = {"Program", "Settings File", "Installations", "Your Game"};
    const char* frameCaptions[4] = {"Program", "Settings file", "Installations", "Your game"};
    for (int i = 0; i < 4; ++i) {
        auto* o = new OptionButton(QLatin1String(navCaptions[i]), this);
        o->setObjectName(indexed("optNav", i));
        o->setGeometry(twipsRect(120 + i * 1560, 120, 1440, 315));
        o->setAccessibleName(QLatin1String(navCaptions[i]));
        connect(o, &QRadioButton::toggled, this, [this, i](bool on) {
            if (on)
                optNav_Click(i);
        });
        m_optNav[size_t(i)] = o;
        m_fmeSection[size_t(i)] =
            makeFrame(this, indexed("fmeSection", i), QLatin1String(frameCaptions[i]),
                      twipsRect(120, 480, 8160, 5160));
    }
    buildProgramFrame(m_fmeSection[0]);
    buildSettingsFrame(m_fmeSection[1]);
    buildInstallationsFrame(m_fmeSection[2]);
    buildGameFrame(m_fmeSection[3]);

    m_cmdOK = makeButton(this, QStringLiteral("cmdOK"), QStringLiteral("&OK"),
                         twipsRect(4560, 5790, 1140, 375));
    m_cmdOK->setDefault(true);
    connect(m_cmdOK, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
    QPushButton* cancel = makeButton(this, QStringLiteral("cmdCancel"), QStringLiteral("&Cancel"),
                                     twipsRect(5820, 5790, 1140, 375));
    connect(cancel, &QPushButton::clicked, this, [this] { reject(); });
    QPushButton* help = makeButton(this, QStringLiteral("cmdHelp"), QStringLiteral("&Help"),
                                   twipsRect(7080, 5790, 1140, 375));
    connect(help, &QPushButton::clicked, this, [] { OpenHelp(); });

    m_lstMessageBoard = new QListWidget(this);
    m_lstMessageBoard->setObjectName(QStringLiteral("lstMessageBoard"));
    m_lstMessageBoard->hide();

    m_tmrHide = new QTimer(this);
    m_tmrHide->setObjectName(QStringLiteral("tmrHide"));
    m_tmrHide->setInterval(5);
    m_tmrHide->setSingleShot(true);
    connect(m_tmrHide, &QTimer::timeout, this, [this] { tmrHide_Timer(); });

    Form_Load();
}

void frmOptions::buildProgramFrame(QGroupBox* f) {
    QGroupBox* boards =
        makeFrame(f, QStringLiteral("fmeProgram(0)"), QStringLiteral("Message board formatting"),
                  twipsRect(120, 240, 7920, 3180));
    m_cboMessageBoard = new QComboBox(boards);
    m_cboMessageBoard->setObjectName(QStringLiteral("cboMessageBoard"));
    m_cboMessageBoard->setGeometry(twipsRect(120, 300, 3000, 315));
    m_cboMessageBoard->setToolTip(QStringLiteral("Select and modify the default board you wish "
                                                 "to use when exporting your profile for message "
                                                 "boards."));
    m_cboMessageBoard->setAccessibleName(QStringLiteral("Message board"));
    connect(m_cboMessageBoard, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index >= 0)
            cboMessageBoard_Click();
    });

    m_txtForumDescription = new QPlainTextEdit(boards);
    m_txtForumDescription->setObjectName(QStringLiteral("txtForumDescription"));
    // Tall enough for four lines, so that a shipped board's description
    // shows whole, with a usable scroll bar for a longer one of the user's.
    m_txtForumDescription->setGeometry(twipsRect(3240, 300, 4560, 1020));
    m_txtForumDescription->document()->setDocumentMargin(2);
    m_txtForumDescription->setAccessibleName(QStringLiteral("Board description"));
    m_txtForumDescription->setTabChangesFocus(true);
    QPalette pal = m_txtForumDescription->palette();
    pal.setColor(QPalette::Base, kWindowBlue);
    pal.setColor(QPalette::Text, Qt::white);
    m_txtForumDescription->setPalette(pal);
    m_txtForumDescription->setReadOnly(true);
    m_txtForumDescription->setFrameShape(QFrame::NoFrame);

    const char* rows[4] = {"Bold", "Italic", "Underline", "Link"};
    for (int r = 0; r < 4; ++r) {
        const int top = 1380 + r * 420;
        QLabel* l = makeLabel(boards, indexed("lblTagRow", r), QLatin1String(rows[r]),
                              twipsRect(120, top, 1080, 315), kRowLabel);
        for (int k = 0; k < 2; ++k) {
            const int i = r * 2 + k;
            m_txtTags[size_t(i)] =
                makeEdit(boards, indexed("txtTags", i), k == 0 ? l : nullptr,
                         QStringLiteral("%1 %2 tag")
                             .arg(QLatin1String(rows[r]),
                                  k == 0 ? QStringLiteral("opening") : QStringLiteral("closing")),
                         twipsRect(1320 + k * 1620, top, 1500, 315));
        }
    }
    m_chkMessageBoard =
        makeCheck(boards, QStringLiteral("chkMessageBoard"),
                  QStringLiteral("Separate tags with spaces"), twipsRect(4680, 1380, 3120, 315));
    m_chkAddVote = makeCheck(boards, QStringLiteral("chkAddVote"),
                             QStringLiteral("Allow voting code"), twipsRect(4680, 1800, 3120, 315));
    QPushButton* save =
        makeButton(boards, QStringLiteral("cmdBoardSave"),
                   QStringLiteral("Save this boards' settings"), twipsRect(4680, 2640, 3120, 375));
    connect(save, &QPushButton::clicked, this, [this] { SaveMessageBoard(); });

    QGroupBox* program =
        makeFrame(f, QStringLiteral("fmeProgram(1)"), QString(), twipsRect(120, 3540, 7920, 720));
    m_chkProgram = makeCheck(program, QStringLiteral("chkProgram"),
                             QStringLiteral("Always display advanced features panel"),
                             twipsRect(120, 240, 4800, 315));

    QPushButton* disclaimer =
        makeButton(f, QStringLiteral("cmdDisclaimer"), QStringLiteral("Disclaimer"),
                   twipsRect(120, 4440, 1500, 375));
    connect(disclaimer, &QPushButton::clicked, this, [this] { cmdDisclaimer_Click(); });
    QPushButton* about = makeButton(f, QStringLiteral("cmdAbout"), QStringLiteral("About"),
                                    twipsRect(1740, 4440, 1500, 375));
    connect(about, &QPushButton::clicked, this, [] { showAboutWindow(0); });
}

void frmOptions::buildSettingsFrame(QGroupBox* f) {
    const char* settingsButtons[2] = {"Open settings.ini", "Repair settings.ini"};
    for (int i = 0; i < 2; ++i) {
        QPushButton* b = makeButton(f, indexed("cmdSettings", i), QLatin1String(settingsButtons[i]),
                                    twipsRect(120 + i * 2160, 300, 2040, 375));
        connect(b, &QPushButton::clicked, this, [this, i] { cmdSettings_Click(i); });
    }
    const char* checks[3] = {"Force cmdCreate(3) visibility", "Force experimental user interface",
                             "Force first run assumption"};
    const int checkTops[3] = {1560, 1200, 840};
    for (int i = 0; i < 3; ++i) {
        m_chkSettings[size_t(i)] = makeCheck(f, indexed("chkSettings", i), QLatin1String(checks[i]),
                                             twipsRect(120, checkTops[i], 4800, 315));
        connect(m_chkSettings[size_t(i)], &QCheckBox::toggled, this,
                [this, i] { chkSettings_Click(i); });
    }
    const char* texts[2] = {"Caption text:", "Path:"};
    for (int i = 0; i < 2; ++i) {
        QLabel* l = makeLabel(f, indexed("lblSettings", i), QLatin1String(texts[i]),
                              twipsRect(480, 1920 + i * 390, 1320, 315), kRowLabel);
        m_txtSettings[size_t(i)] =
            makeEdit(f, indexed("txtSettings", i), l, QString(QLatin1String(texts[i])).chopped(1),
                     twipsRect(1920, 1920 + i * 390, 5880, 315));
    }
    QLabel* domain = makeLabel(f, QStringLiteral("lblDomain"), QStringLiteral("Domain:"),
                               twipsRect(120, 2820, 1680, 315), kRowLabel);
    m_txtDomain = makeEdit(f, QStringLiteral("txtDomain"), domain, QStringLiteral("Domain"),
                           twipsRect(1920, 2820, 5880, 315));
    QLabel* help = makeLabel(f, QStringLiteral("lblHelp"), QStringLiteral("Help:"),
                             twipsRect(120, 3210, 1680, 315), kRowLabel);
    m_txtHelp = makeEdit(f, QStringLiteral("txtHelp"), help, QStringLiteral("Help"),
                         twipsRect(1920, 3210, 5880, 315));
    makeLabel(f, QStringLiteral("lblID(2)"),
              QStringLiteral("Please note: This frame contains advanced settings that modify the "
                             "settings.ini file in your data directory. Please consult the help "
                             "file before modifying any of these settings."),
              twipsRect(120, 3720, 7800, 900), kRowLabel);
    // Locked until "Force cmdCreate(3) visibility" is ticked.
    chkSettings_Click(0);
}

void frmOptions::buildInstallationsFrame(QGroupBox* f) {
    const char* names[2] = {"Name of setup file.", "Name of uninstallation file."};
    for (int i = 1; i >= 0; --i) {
        const int top = i == 1 ? 300 : 720;
        QLabel* l = makeLabel(f, indexed("lblInstallations", i), QLatin1String(names[i]),
                              twipsRect(120, top, 3000, 315), kRowLabel);
        m_txtInstallations[size_t(i)] =
            makeEdit(f, indexed("txtInstallations", i), l,
                     QString(QLatin1String(names[i])).chopped(1), twipsRect(3240, top, 4560, 315));
    }
    const char* captions[3] = {"Program Files", "Reinstall", "Uninstall"};
    const char* notes[3] = {
        "Click to open the Program Files folder that TARVO2 is installed in.",
        "Click to reinstall TARVO2. Note that settings will be lost if you reinstall.",
        "Click to launch the uninstallation program of TARVO2."};
    for (int i = 2; i >= 0; --i) {
        const int top = 1320 + (2 - i) * 720;
        QPushButton* b = makeButton(f, indexed("cmdInstallations", i), QLatin1String(captions[i]),
                                    twipsRect(120, top, 1800, 375));
        b->setAccessibleDescription(QLatin1String(notes[i]));
        connect(b, &QPushButton::clicked, this, [this, i] { cmdInstallations_Click(i); });
        makeLabel(f, indexed("lblInstallNote", i), QLatin1String(notes[i]),
                  twipsRect(2040, top, 5760, 600), kRowLabel);
    }
}

void frmOptions::buildGameFrame(QGroupBox* f) {
    const char* choices[2] = {"Use the original game's &tables", "&Use my game and its plugins"};
    auto* group = new QButtonGroup(f);
    for (int i = 0; i < 2; ++i) {
        auto* o = new OptionButton(QString::fromUtf8(choices[i]), f);
        o->setObjectName(indexed("optGame", i));
        o->setGeometry(twipsRect(120 + i * 3960, 300, 3840, 315));
        o->setAccessibleName(QString::fromUtf8(choices[i]).remove(QLatin1Char('&')));
        group->addButton(o, i);
        m_optGame[size_t(i)] = o;
    }
    connect(group, &QButtonGroup::idToggled, this, [this](int id, bool on) {
        if (on)
            m_gameChoice.useGame = id == 1;
    });

    QLabel* found =
        makeLabel(f, QStringLiteral("lblGameLocations"), QStringLiteral("Found on this &computer:"),
                  twipsRect(120, 720, 7920, 255), kRowLabel);
    m_lstGameLocations = new QListWidget(f);
    m_lstGameLocations->setObjectName(QStringLiteral("lstGameLocations"));
    m_lstGameLocations->setAccessibleName(QStringLiteral("Found on this computer"));
    m_lstGameLocations->setGeometry(twipsRect(120, 990, 7920, 900));
    found->setBuddy(m_lstGameLocations);
    connect(m_lstGameLocations, &QListWidget::currentRowChanged, this,
            [this](int row) { lstGameLocations_Click(row); });

    QPushButton* folder =
        makeButton(f, QStringLiteral("cmdGameFolder"),
                   QStringLiteral("Choose the game's &folder..."), twipsRect(120, 1980, 3840, 375),
                   QStringLiteral("The folder that holds Morrowind.ini and Data "
                                  "Files."));
    connect(folder, &QPushButton::clicked, this, [this] { cmdGame_Click(false); });
    QPushButton* config = makeButton(f, QStringLiteral("cmdOpenMWConfig"),
                                     QStringLiteral("Choose OpenM&W's openmw.cfg..."),
                                     twipsRect(4080, 1980, 3960, 375),
                                     QStringLiteral("OpenMW's configuration file, which lists the "
                                                    "content files and where they are."));
    connect(config, &QPushButton::clicked, this, [this] { cmdGame_Click(true); });

    QLabel* path = makeLabel(f, QStringLiteral("lblGamePath"), QStringLiteral("&Game:"),
                             twipsRect(120, 2460, 900, 315), kRowLabel);
    m_txtGamePath = makeEdit(f, QStringLiteral("txtGamePath"), path, QStringLiteral("Game"),
                             twipsRect(1080, 2460, 6960, 315));
    m_txtGamePath->setReadOnly(true);

    QLabel* order = makeLabel(f, QStringLiteral("lblLoadOrder"), QStringLiteral("&Load order:"),
                              twipsRect(120, 2880, 7920, 255), kRowLabel);
    m_lstLoadOrder = new QListWidget(f);
    m_lstLoadOrder->setObjectName(QStringLiteral("lstLoadOrder"));
    m_lstLoadOrder->setAccessibleName(QStringLiteral("Load order"));
    m_lstLoadOrder->setGeometry(twipsRect(120, 3150, 7920, 1440));
    order->setBuddy(m_lstLoadOrder);

    m_lblGameStatus = makeLabel(f, QStringLiteral("lblGameStatus"), QString(),
                                twipsRect(120, 4650, 7920, 420), kRowLabel);
}

void frmOptions::showGamePage() {
    if (m_gamePageReady)
        return;
    m_gamePageReady = true;
    m_gameChoice = readGameChoice();
    m_optGame[m_gameChoice.useGame ? 1 : 0]->setChecked(true);
    // The usual places first; the stored choice among them when it is one.
    m_gameLocations = findYourGame();
    m_lstGameLocations->blockSignals(true);
    int current = -1;
    for (const gamefiles::GameLocation& l : std::as_const(m_gameLocations)) {
        if (QFileInfo(l.path) == QFileInfo(m_gameChoice.path))
            current = int(m_lstGameLocations->count());
        m_lstGameLocations->addItem(
            QStringLiteral("%1: %2").arg(l.source, QDir::toNativeSeparators(l.path)));
    }
    if (m_gameLocations.isEmpty()) {
        auto* none = new QListWidgetItem(QStringLiteral("(nothing found in the usual places)"),
                                         m_lstGameLocations);
        none->setFlags(Qt::NoItemFlags);
    }
    if (m_gameChoice.path.isEmpty() && !m_gameLocations.isEmpty()) {
        // The first place found is offered; the player's tick on "Use my
        // game" and OK confirm it.
        m_lstGameLocations->blockSignals(false);
        m_lstGameLocations->setCurrentRow(0);
        return;
    }
    m_lstGameLocations->setCurrentRow(current);
    m_lstGameLocations->blockSignals(false);
    showGame(m_gameChoice);
}

void frmOptions::lstGameLocations_Click(int row) {
    if (row < 0 || row >= m_gameLocations.size())
        return;
    GameChoice c = choiceFor(m_gameLocations[row]);
    c.useGame = m_gameChoice.useGame;
    showGame(c);
}

void frmOptions::cmdGame_Click(bool openmw) {
    FileDialogSpec spec;
    spec.initialFolder = gameSearchHome();
    if (openmw) {
        spec.kind = FileDialogSpec::Kind::Open;
        spec.title = QStringLiteral("Choose OpenMW's Configuration");
        spec.filters = {
            {QStringLiteral("OpenMW configuration (openmw.cfg)"), QStringLiteral("openmw.cfg")},
            {QStringLiteral("All Files (*.*)"), QStringLiteral("*.*")}};
    } else {
        spec.kind = FileDialogSpec::Kind::Folder;
        spec.title = QStringLiteral("Choose the Game's Folder");
    }
    const QString path = platform().fileDialog(spec);
    if (path.isEmpty())
        return;
    {
        const QSignalBlocker block(m_lstGameLocations);
        m_lstGameLocations->setCurrentRow(-1);
    }
    m_optGame[1]->setChecked(true);
    GameChoice c = m_gameChoice;
    c.useGame = true;
    c.path = QDir::cleanPath(path);
    c.openmwUserData.clear();
    showGame(c);
}

void frmOptions::showGame(const GameChoice& choice) {
    m_gameChoice = choice;
    m_txtGamePath->setText(QDir::toNativeSeparators(choice.path));
    m_gameRead = readGame(choice);
    m_lstLoadOrder->clear();
    QHash<QString, QString> unreadable;
    if (m_gameRead.content)
        for (const gamefiles::FileProblem& p : m_gameRead.content->problems)
            if (!p.path.isEmpty())
                unreadable.insert(p.file, p.reason);
    int n = 0, missing = 0;
    for (const gamefiles::LoadOrderEntry& e : std::as_const(m_gameRead.order.files)) {
        QString line = QStringLiteral("%1. %2").arg(++n).arg(e.name);
        if (!e.found()) {
            line += QStringLiteral(": missing");
            ++missing;
        } else if (unreadable.contains(e.name)) {
            line += QStringLiteral(": cannot be read, ") + unreadable.value(e.name);
        }
        m_lstLoadOrder->addItem(line);
    }
    for (const QString& p : std::as_const(m_gameRead.order.problems))
        m_lstLoadOrder->addItem(p);
    const auto count = [](qsizetype n, const char* what) {
        return QStringLiteral("%1 %2%3")
            .arg(n)
            .arg(QLatin1String(what))
            .arg(n == 1 ? QString() : QStringLiteral("s"));
    };
    QString status;
    if (choice.path.isEmpty())
        status = QStringLiteral("Choose your game's folder or OpenMW's openmw.cfg.");
    else if (!m_gameRead.failures().isEmpty())
        status = QStringLiteral("Your game cannot be read: %1")
                     .arg(m_gameRead.failures().join(QStringLiteral("; ")));
    else
        status = QStringLiteral("%1 in the load order: %2 missing, %3 that cannot be read. "
                                "The numbers come from %4.")
                     .arg(count(n, "file"))
                     .arg(missing)
                     .arg(unreadable.size())
                     .arg(gamefiles::describeFiles(*m_gameRead.content));
    m_lblGameStatus->setText(status);
    m_lblGameStatus->setAccessibleName(status);
}

bool frmOptions::saveGameChoice() {
    // Only a page the player has seen changes the stored choice.
    if (!m_gamePageReady)
        return true;
    GameChoice c = m_gameChoice;
    c.asked = true;
    return chooseGame(c, m_gameRead) || reportWriteFailure(writableSettingsFile());
}

void frmOptions::Form_Load() {
    enableWizardWindows(false);
    if (frmMain* m = forms::mainIfLoaded())
        setWindowIcon(m->windowIcon());
    m_optNav[0]->setChecked(true);
    optNav_Click(0);

    const QString installations = readablePath(QStringLiteral("/Help/installations.ini"));
    m_txtInstallations[1]->setText(ReadIniValue(kInstallations, QStringLiteral("uninstall"),
                                                QStringLiteral("unins000.exe"), installations));
    m_txtInstallations[0]->setText(ReadIniValue(kInstallations, QStringLiteral("setup"),
                                                QStringLiteral("setup.exe"), installations));

    const QString settings = settingsFile();
    auto read = [&settings](const QString& section, const char* key) {
        return ReadIniValue(section, QLatin1String(key), QString(), settings);
    };
    if (toBoolean(read(kProgram, "iniCmdCreate(3).Visible")).value_or(false))
        m_chkSettings[0]->setChecked(true);
    m_txtSettings[0]->setText(read(kProgram, "iniCmdCreate(3).Caption"));
    m_txtSettings[1]->setText(read(kProgram, "iniCmdCreate(3).Launchpath"));
    m_chkSettings[1]->setChecked(read(QStringLiteral("UI"), "iniExperimental") ==
                                 QLatin1String("Yes"));
    m_chkSettings[2]->setChecked(read(kProgram, "iniFirstRun") == QLatin1String("Yes"));
    m_chkProgram->setChecked(read(kProgram, "iniShowAdvancedFeatures") == QLatin1String("Yes"));
    m_txtDomain->setText(read(kProgram, "iniDomain"));
    m_txtHelp->setText(read(kProgram, "iniHelp"));

    // The board list, also left for the formatting window.
    const QStringList boards = presetBoards();
    m_lstMessageBoard->addItems(boards);
    writeMessageBoardList(boards);
    {
        const QSignalBlocker block(m_cboMessageBoard);
        for (const QString& b : boards)
            if (!b.isEmpty())
                m_cboMessageBoard->addItem(b);
        m_cboMessageBoard->setCurrentIndex(-1);
    }
    selectBoard(ReadIniValue(kProgram, QStringLiteral("iniBoardName"), QStringLiteral("Custom 1"),
                             settings));
    m_lstMessageBoard->clear();
}

bool frmOptions::selectBoard(const QString& name) {
    const int index = m_cboMessageBoard->findText(name, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (index < 0)
        return false;
    if (index == m_cboMessageBoard->currentIndex())
        cboMessageBoard_Click();
    else
        m_cboMessageBoard->setCurrentIndex(index);
    return true;
}

void frmOptions::optNav_Click(int index) {
    for (int i = 0; i < int(m_fmeSection.size()); ++i)
        m_fmeSection[size_t(i)]->setVisible(i == index);
    if (index == 3)
        showGamePage();
}

void frmOptions::cboMessageBoard_Click() {
    const QString board = m_cboMessageBoard->currentText();
    for (int i = 0; i < 8; ++i)
        m_txtTags[size_t(i)]->setText(boardValue(board, QLatin1String(kTagKeys[i])));
    m_chkAddVote->setChecked(boardAcceptsVote(board));
    m_chkMessageBoard->setChecked(boardValue(board, QStringLiteral("iniSeparate")) ==
                                  QLatin1String("True"));
    m_txtForumDescription->setPlainText(
        boardValue(board, QStringLiteral("iniDescription"), kDefaultDescription));
    const bool editable = boardValue(board, QStringLiteral("inimodifydescription"),
                                     QStringLiteral("False")) == QLatin1String("True");
    m_txtForumDescription->setReadOnly(!editable);
    m_txtForumDescription->setFrameShape(editable ? QFrame::StyledPanel : QFrame::NoFrame);
    m_txtForumDescription->setFocusPolicy(editable ? Qt::StrongFocus : Qt::NoFocus);
}

void frmOptions::chkSettings_Click(int index) {
    if (index != 0)
        return;
    const bool ticked = m_chkSettings[0]->isChecked();
    for (QLineEdit* e : m_txtSettings) {
        e->setReadOnly(!ticked);
        QPalette p = e->palette();
        p.setColor(QPalette::Text, QApplication::palette().color(
                                       ticked ? QPalette::ButtonText : QPalette::PlaceholderText));
        e->setPalette(p);
    }
}

bool frmOptions::writeSetting(const QString& section, const QString& key, const QString& value) {
    const QString file = writableSettingsFile();
    return WriteIniValue(section, key, value, file) || reportWriteFailure(file);
}

bool frmOptions::SaveMessageBoard(QString* failedFile) {
    const QString board = m_cboMessageBoard->currentText();
    // Without a board on show there is nothing to save, and the chosen board
    // stays as it was.
    if (board.isEmpty() || m_cboMessageBoard->currentIndex() < 0)
        return true;
    const auto failed = [failedFile](const QString& path) {
        if (!failedFile)
            return reportWriteFailure(path);
        *failedFile = path;
        return false;
    };
    const QString settings = writableSettingsFile();
    if (!WriteIniValue(kProgram, QStringLiteral("iniBoardName"), board, settings))
        return failed(settings);
    const QString file = tagsFileForWriting();
    auto write = [&](const QString& key, const QString& value) {
        return WriteIniValue(board, key, value, file) || failed(file);
    };
    const auto trueFalse = [](bool b) {
        return b ? QStringLiteral("True") : QStringLiteral("False");
    };
    if (!write(QStringLiteral("iniSeparate"), trueFalse(m_chkMessageBoard->isChecked())))
        return false;
    // A value is one line of the file: line breaks typed in the box become
    // blanks.
    QString description = m_txtForumDescription->toPlainText();
    description.replace(QLatin1Char('\n'), QLatin1Char(' '));
    if (!m_txtForumDescription->isReadOnly() &&
        !write(QStringLiteral("iniDescription"), description))
        return false;
    if (!write(QStringLiteral("iniVote"), trueFalse(m_chkAddVote->isChecked())))
        return false;
    for (int i = 0; i < 8; ++i)
        if (!write(QLatin1String(kTagKeys[i]), m_txtTags[size_t(i)]->text()))
            return false;
    return true;
}

void frmOptions::cmdOK_Click() {
    // Any file that cannot be written stops here, with the window still
    // open and everything typed still in it.
    const QString installations = installationsForWriting();
    for (auto [key, box] : {std::pair{"uninstall", 1}, std::pair{"setup", 0}})
        if (!WriteIniValue(kInstallations, QLatin1String(key),
                           m_txtInstallations[size_t(box)]->text(), installations)) {
            reportWriteFailure(installations);
            return;
        }
    const bool create = m_chkSettings[0]->isChecked();
    const auto yesNo = [](QCheckBox* c) {
        return c->isChecked() ? QStringLiteral("Yes") : QStringLiteral("No");
    };
    if (!writeSetting(kProgram, QStringLiteral("inicmdCreate(3).Visible"),
                      create ? QStringLiteral("True") : QStringLiteral("False")))
        return;
    if (create && (!writeSetting(kProgram, QStringLiteral("inicmdCreate(3).Caption"),
                                 m_txtSettings[0]->text()) ||
                   !writeSetting(kProgram, QStringLiteral("inicmdCreate(3).Launchpath"),
                                 m_txtSettings[1]->text())))
        return;
    if (!writeSetting(QStringLiteral("UI"), QStringLiteral("iniExperimental"),
                      yesNo(m_chkSettings[1])) ||
        !writeSetting(kProgram, QStringLiteral("iniFirstRun"), yesNo(m_chkSettings[2])) ||
        !writeSetting(kProgram, QStringLiteral("iniDomain"), m_txtDomain->text()) ||
        !writeSetting(kProgram, QStringLiteral("iniHelp"), m_txtHelp->text()) ||
        !SaveMessageBoard() ||
        !writeSetting(kProgram, QStringLiteral("iniShowAdvancedFeatures"), yesNo(m_chkProgram)) ||
        !saveGameChoice())
        return;
    accept();
}

void frmOptions::cmdSettings_Click(int index) {
    if (index == 0) {
        platform().open(writableSettingsFile());
    } else if (index == 1) {
        if (msgBox(QStringLiteral("If you repair your settings file, all settings will revert to "
                                  "their defaults. Do you wish to continue?"),
                   MsgButtons::YesNo, MsgIcon::Question) == MsgResult::Yes)
            RepairSettingsFile();
    }
}

void frmOptions::cmdInstallations_Click(int index) {
    switch (index) {
    case 0:
        if (!QFileInfo(appFolder()).isDir()) {
            msgBox(QStringLiteral("We couldn't find the executable to run this task, sorry. "
                                  "Please see the help files for more information."),
                   MsgButtons::OK, MsgIcon::Exclamation);
            return;
        }
        platform().open(appFolder());
        break;
    case 1:
        StartReinstall();
        break;
    case 2:
        StartUninstall();
        break;
    default:
        break;
    }
}

void frmOptions::cmdDisclaimer_Click() {
    showAboutWindow(2);
}

void frmOptions::startHideTimer() {
    m_tmrHide->start();
}

void frmOptions::tmrHide_Timer() {
    if (frmMain* m = forms::mainIfLoaded())
        m->hide();
    if (frmProgress* p = forms::progressIfLoaded())
        p->hide();
    m_hidWizard = true;
    m_tmrHide->stop();
}

void frmOptions::showEvent(QShowEvent* event) {
    m_shownOnce = true;
    QDialog::showEvent(event);
}

void frmOptions::done(int result) {
    QDialog::done(result);
    unload();
}

void frmOptions::unload(bool giveBack) {
    if (m_unloaded)
        return;
    m_unloaded = true;
    m_tmrHide->stop();
    hide();
    deleteLater();
    if (!giveBack)
        return;
    enableWizardWindows(true);
    // The wizard hidden for this window comes back with it (a window that
    // only lent its board list leaves that to its borrower).
    if (m_hidWizard && m_shownOnce && forms::mainIfLoaded())
        CloseAndContinue(nullptr, QStringLiteral("frmOptions"));
    if (frmMain* m = forms::mainIfLoaded())
        m->startEnableTimer();
}

} // namespace tarvo
