#include "frmMain.h"

#include "appfolder.h"
#include "appinfo.h"
#include "character.h"
#include "furtherresources.h"
#include "globals.h"
#include "ini/mdlVbNetIni.h"
#include "mdlGeneral.h"
#include "onlinelinks.h"
#include "output/frmLoad.h"
#include "output/frmPrint.h"
#include "output/profileactions.h"
#include "output/textoutput.h"
#include "planning/frmPaths.h"
#include "planning/frmProgress.h"
#include "planning/frmSheet.h"
#include "platform.h"
#include "reftables.h"
#include "settings.h"
#include "shell/clicklabel.h"
#include "shell/elide.h"
#include "shell/forms.h"
#include "shell/frmBubbleD.h"
#include "shell/frmOptions.h"
#include "shell/frmWelcome.h"
#include "shell/keyboard.h"
#include "shell/onelinebox.h"
#include "shell/optionbutton.h"
#include "shell/twips.h"
#include "shell/widgets.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QTimer>

namespace tarvo {

namespace {

// The fore colours of the online-link labels at rest and under the pointer.
const QColor kLinkRest(192, 192, 192);    // &H00C0C0C0
const QColor kLinkHover(255, 128, 0);     // &H000080FF
const QColor kHelloColour(255, 255, 192); // the greeting stands out a little

// The step each status mark belongs to.
constexpr std::array<int, frmMain::kMarkCount> kMarkStep = {0, 1, 1, 2, 2, 2, 3, 3, 5, 4, 4};

const std::array<QString, frmMain::kStepCount> kStepCaptions = {
    QStringLiteral("STEP ONE: Welcome to TARVO"),
    QStringLiteral("STEP TWO: Class name and specialization"),
    QStringLiteral("STEP THREE: Character name, race and gender"),
    QStringLiteral("STEP FOUR: Favourite attributes"),
    QStringLiteral("STEP FIVE: Major and minor skills"),
    QStringLiteral("STEP SIX: Birthsign"),
    QStringLiteral("STEP SEVEN: Reviewing your options"),
    QStringLiteral("STEP EIGHT: Outputting your options"),
    QStringLiteral("STEP NINE: Further resources")};

const std::array<QString, frmMain::kStepCount> kStepTitles = {
    QStringLiteral("Welcome to TARVO2 - "),
    QStringLiteral("Class name & Specialization - "),
    QStringLiteral("Character Race, Gender & Name - "),
    QStringLiteral("Two Favourite Attributes - "),
    QStringLiteral("Five Major & Minor Skills - "),
    QStringLiteral("Character Birthsign - "),
    QStringLiteral("Review & Confirm Options - "),
    QStringLiteral("Output Options - "),
    QStringLiteral("Further Resources - ")};

const QString kLinkCaption = QStringLiteral("External Link Avaliable");
const QString kFurther = QStringLiteral("Further Resource Avaliable");
const QString kLinkTip = QStringLiteral("An online resource is avaliable for this step.");

const QString kProfileSaveTip = QStringLiteral(
    "Click to save your profile as a project file for opening or viewing again in TARVO2.");
const QString kSaveTip =
    QStringLiteral("Save your profile as a text document or HTML code (page or fragment)");
const QString kCopyTip = QStringLiteral(
    "Copy profile to clipboard for pasting into another program with or without formatting tags.");
const QString kPrintTip = QStringLiteral("Print your profile to your default printer.");

// Frame geometry of the steps (twips, inside the window).
constexpr int kStepLeft = 1560;
constexpr int kStepTop = 60;
constexpr int kStepWidth = 8520;
constexpr int kStepHeight = 4680;
// Inside a step: the column of choices and the column of descriptions.
constexpr int kLeftWidth = 2880;
constexpr int kRightLeft = 3240;
constexpr int kRightWidth = kStepWidth - 120 - kRightLeft;
// The row of command buttons at the foot of every step.
constexpr int kButtonRow = 4200;
constexpr int kButtonWidth = 1200;
constexpr int kNextLeft = kStepWidth - 240 - kButtonWidth;
constexpr int kBackLeft = kNextLeft - 120 - kButtonWidth;
constexpr int kAutoLeft = kBackLeft - 240 - kButtonWidth;

// An event filter made of a function (its owner goes, the filter goes).
class FunctionFilter : public QObject {
public:
    FunctionFilter(QObject* owner, std::function<bool(QObject*, QEvent*)> f)
        : QObject(owner), m_f(std::move(f)) {}
    bool eventFilter(QObject* watched, QEvent* event) override { return m_f(watched, event); }

private:
    std::function<bool(QObject*, QEvent*)> m_f;
};

void setForeColour(QWidget* w, const QColor& c) {
    QPalette p = w->palette();
    p.setColor(QPalette::Active, QPalette::WindowText, c);
    p.setColor(QPalette::Inactive, QPalette::WindowText, c);
    w->setPalette(p);
}

// Blue with white text for the window and its frames; the input boxes and
// descriptions white with dark text; disabled options still readable.
void paintWindow(QWidget* w) {
    paintBlue(w);
    QPalette p = w->palette();
    p.setColor(QPalette::Disabled, QPalette::WindowText, QColor(150, 175, 222));
    p.setColor(QPalette::Base, Qt::white);
    p.setColor(QPalette::AlternateBase, QColor(240, 244, 252));
    p.setColor(QPalette::Text, QColor(20, 20, 20));
    p.setColor(QPalette::Disabled, QPalette::Text, QColor(120, 120, 120));
    p.setColor(QPalette::Button, QColor(236, 233, 216));
    p.setColor(QPalette::ButtonText, QColor(10, 10, 10));
    p.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(140, 140, 140));
    w->setPalette(p);
}

void showPicture(QLabel* label, const QString& path) {
    QPixmap pm;
    if (!path.isEmpty())
        pm.load(path);
    if (pm.isNull()) {
        label->clear();
        return;
    }
    label->setPixmap(pm.scaled(label->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
}

template <size_t N> void showChecked(const std::array<QRadioButton*, N>& options, int index) {
    for (size_t i = 0; i < N; ++i) {
        QRadioButton* o = options[i];
        const bool want = int(i) == index;
        if (o->isChecked() == want)
            continue;
        const QSignalBlocker block(o);
        if (want) {
            o->setChecked(true);
        } else {
            o->setAutoExclusive(false);
            o->setChecked(false);
            o->setAutoExclusive(true);
        }
    }
}

} // namespace

// ============================================================== building ===

frmMain::frmMain() {
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(kProgramTitle);
    paintWindow(this);
    QFont f = font();
    f.setPointSizeF(8.25);
    setFont(f);
    setMouseTracking(true);
    installEventFilter(this);
    m_restAreas.append(this);

    m_markPictures = {markPicture(false), markPicture(true)};

    buildNavigation();
    buildStepFrames();
    buildQuickTips();
    buildAdvancedPanel();
    buildMenus();
    buildTips();

    m_tmrEnable = new QTimer(this);
    m_tmrEnable->setObjectName(QStringLiteral("tmrEnable"));
    m_tmrEnable->setInterval(10);
    m_tmrEnable->setSingleShot(true);
    connect(m_tmrEnable, &QTimer::timeout, this, [this] {
        setEnabled(true);
        if (frmProgress* p = forms::progressIfLoaded())
            p->setEnabled(true);
    });
    m_tmrReturnBackground = new QTimer(this);
    m_tmrReturnBackground->setObjectName(QStringLiteral("tmrReturnBackground"));
    m_tmrReturnBackground->setInterval(100);
    m_tmrReturnBackground->setSingleShot(true);
    connect(m_tmrReturnBackground, &QTimer::timeout, this, [] {
        if (frmProgress* p = forms::progressIfLoaded()) {
            QPalette pal = p->palette();
            pal.setColor(QPalette::Window, kWindowBlue);
            p->setPalette(pal);
        }
    });

    connectModel();
    renderAll();
    loadWindow();

    // The window sees every key before its controls do, wherever the focus
    // is inside it.
    qApp->installEventFilter(new FunctionFilter(this, [this](QObject* o, QEvent* e) {
        if (e->type() != QEvent::KeyPress)
            return false;
        auto* w = qobject_cast<QWidget*>(o);
        return w && w->window() == this && keyPressed(w, static_cast<QKeyEvent*>(e));
    }));
}

frmMain::~frmMain() = default;

int frmMain::stepOfMark(int mark) {
    return mark >= 0 && mark < kMarkCount ? kMarkStep[size_t(mark)] : -1;
}

QLabel* frmMain::makeLabel(QWidget* parent, const QString& name, const QString& text, int left,
                           int top, int width, int height, bool wrap) {
    auto* l = new ClickLabel(parent);
    l->setText(text);
    placeLabel(l, name, twipsRect(left, top, width, height), {.wrap = wrap});
    if (name.startsWith(QLatin1String("lblID(")))
        l->onClick = [this] { DefaultTipStatus(); };
    return l;
}

QLabel* frmMain::makeHeading(QWidget* parent, const QString& name, const QString& text, int left,
                             int top, int width, int height) {
    QLabel* l = makeLabel(parent, name, text, left, top, width, height, false);
    setBold(l);
    return l;
}

QPlainTextEdit* frmMain::makeDescription(QWidget* parent, const QString& name, int left, int top,
                                         int width, int height) {
    auto* t = new QPlainTextEdit(parent);
    t->setObjectName(name);
    t->setGeometry(twipsRect(left, top, width, height));
    t->setReadOnly(true);
    t->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    t->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    // Read by keys too: Tab reaches it, the arrows scroll it.
    t->setFocusPolicy(Qt::StrongFocus);
    return t;
}

QLabel* frmMain::makePicture(QWidget* parent, const QString& name, int left, int top, int width,
                             int height) {
    auto* l = new QLabel(parent);
    l->setObjectName(name);
    l->setGeometry(twipsRect(left, top, width, height));
    l->setAlignment(Qt::AlignCenter);
    return l;
}

QLabel* frmMain::makeLink(QGroupBox* f, int index) {
    // Reached with Tab and followed with Enter or Space, as a link is.
    auto* l = new ClickLabel(f, ClickLabel::Kind::Link);
    l->setText(kLinkCaption);
    l->setObjectName(indexed(QStringLiteral("lblLink"), index));
    l->setGeometry(twipsRect(180, kButtonRow + 60, 2520, 270));
    QFont font = l->font();
    font.setUnderline(true);
    l->setFont(font);
    setForeColour(l, kLinkRest);
    l->setAccessibleDescription(kLinkTip);
    l->onClick = [index] { openStepLink(index); };
    m_lblLink[size_t(index)] = l;
    return l;
}

void frmMain::buildNavigation() {
    auto* brand = new QLabel(QStringLiteral("TARVO2"), this);
    brand->setObjectName(QStringLiteral("lblProgramName"));
    brand->setGeometry(twipsRect(60, 120, 1380, 480));
    setBold(brand, 1.6);
    brand->setAlignment(Qt::AlignCenter);

    auto* group = new QButtonGroup(this);
    group->setObjectName(QStringLiteral("grpNav"));
    for (int n = 0; n < kStepCount; ++n) {
        auto* o = new OptionButton(stepWords()[n], this);
        o->setObjectName(indexed(QStringLiteral("optNav"), n));
        o->setGeometry(twipsRect(240, 720 + n * 390, 1140, 330));
        group->addButton(o, n);
        connect(o, &QRadioButton::clicked, this, [this, n] { stepClicked(n); });
        m_optNav[size_t(n)] = o;
    }
}

// Steps three to six end alike: the external link, AutoSelect, Back and Next.
void frmMain::buildChoiceFooter(QGroupBox* f, int autoSelect) {
    makeLink(f, autoSelect + 1);
    m_cmdAutoSelect[size_t(autoSelect)] = makeButton(
        f, indexed(QStringLiteral("cmdAutoSelect"), autoSelect), QStringLiteral("Auto&Select"),
        twipsRect(kAutoLeft, kButtonRow, kButtonWidth, 375));
    buildNextBack(f, autoSelect + 2);
}

// The right half of a step: the pointed item's title and description above
// the step's ABOUT text.
void frmMain::buildDetailsPanel(QGroupBox* f, const QString& titleName, const QString& detailsName,
                                int heading, int about, const QString& aboutText, QLabel*& title,
                                QPlainTextEdit*& details) {
    title = makeHeading(f, titleName, QString(), kRightLeft, 300, kRightWidth, 285);
    details = makeDescription(f, detailsName, kRightLeft, 600, kRightWidth, 2160);
    m_lblID[heading] = makeHeading(f, indexed(QStringLiteral("lblID"), heading),
                                   QStringLiteral("ABOUT"), kRightLeft, 2880, kRightWidth, 255);
    m_lblID[about] = makeLabel(f, indexed(QStringLiteral("lblID"), about), aboutText, kRightLeft,
                               3150, kRightWidth, 960);
}

void frmMain::buildNextBack(QGroupBox* f, int step) {
    if (step > 0) {
        const int k = step - 1;
        QPushButton* b =
            makeButton(f, indexed(QStringLiteral("cmdBack"), k), QStringLiteral("< B&ack"),
                       twipsRect(kBackLeft, kButtonRow, kButtonWidth, 375));
        connect(b, &QPushButton::clicked, this, [this, k] { backClicked(k); });
        m_cmdBack[size_t(k)] = b;
    }
    if (step < kStepCount - 1) {
        QPushButton* b =
            makeButton(f, indexed(QStringLiteral("cmdNext"), step),
                       step == 0 ? QStringLiteral("B&egin >") : QStringLiteral("N&ext >"),
                       twipsRect(kNextLeft, kButtonRow, kButtonWidth, 375));
        connect(b, &QPushButton::clicked, this, [this, step] { nextClicked(step); });
        m_cmdNext[size_t(step)] = b;
    } else {
        m_cmdFinish = makeButton(f, QStringLiteral("cmdFinish"), QStringLiteral("F&inish"),
                                 twipsRect(kNextLeft, kButtonRow, kButtonWidth, 375));
        connect(m_cmdFinish, &QPushButton::clicked, this, [this] { close(); });
    }
}

void frmMain::buildStepFrames() {
    m_lblID.resize(15);
    for (int n = 0; n < kStepCount; ++n) {
        QGroupBox* f =
            makeFrame(this, indexed(QStringLiteral("fmeStep"), n), kStepCaptions[size_t(n)],
                      twipsRect(kStepLeft, kStepTop, kStepWidth, kStepHeight));
        f->setMouseTracking(true);
        f->installEventFilter(this);
        m_restAreas.append(f);
        m_fmeStep[size_t(n)] = f;
        switch (n) {
        case 0:
            buildStepOne(f);
            break;
        case 1:
            buildStepTwo(f);
            break;
        case 2:
            buildStepThree(f);
            break;
        case 3:
            buildStepFour(f);
            break;
        case 4:
            buildStepFive(f);
            break;
        case 5:
            buildStepSix(f);
            break;
        case 6:
            buildStepSeven(f);
            break;
        case 7:
            buildStepEight(f);
            break;
        default:
            buildStepNine(f);
            break;
        }
        f->hide();
    }
    // Each title tells a screen reader what the description below it is of.
    const std::array<std::pair<QLabel*, QWidget*>, 5> titled = {
        std::pair<QLabel*, QWidget*>{m_lblClassTitle, m_txtDescription},
        {m_lblRaceTitle, m_txtRaceDescription},
        {m_lblAttTitle, m_txtAttributeDetails},
        {m_lblSkillInfoTitle, m_txtSkillDetails},
        {m_lblBirthsignTitle, m_txtBirthsignDetails}};
    for (const auto& [title, text] : titled)
        title->setBuddy(text);
}

// Steps two to six share one plan: the choices in a left column, the title
// and description of the last choice in a wider right column, the command
// buttons along the foot.
void frmMain::buildStepOne(QGroupBox* f) {
    m_lblID[0] = makeHeading(
        f, QStringLiteral("lblID(0)"),
        QStringLiteral("Welcome to TARVO2, the character profile creator for Morrowind"), 240, 360,
        8040, 390);
    setBold(m_lblID[0], 1.2);
    m_lblID[1] = makeLabel(
        f, QStringLiteral("lblID(1)"),
        QStringLiteral("This character profile creator for Morrowind will guide you through the "
                       "process of creating a character for Morrowind, giving you help at every "
                       "turn and informing you of how your choices will affect your gaming "
                       "experience."),
        240, 900, 8040, 720);
    m_lblID[2] = makeLabel(
        f, QStringLiteral("lblID(2)"),
        QStringLiteral("So that your character profile is recognisable when you save, copy or "
                       "print it, type in your name below and, when ready, click the begin "
                       "button."),
        240, 1680, 8040, 540);
    m_lblHello = makeLabel(f, QStringLiteral("lblHello"), QString(), 240, 2340, 8040, 540);
    setForeColour(m_lblHello, kHelloColour);
    m_lblID[3] =
        makeHeading(f, QStringLiteral("lblID(3)"),
                    QStringLiteral("Type in your real name below and click the Begin button."), 240,
                    3060, 8040, 285);
    m_txtRealName = new QLineEdit(f);
    m_txtRealName->setObjectName(QStringLiteral("txtRealName"));
    m_txtRealName->setGeometry(twipsRect(240, 3390, 3600, 345));
    m_txtRealName->setMaxLength(Character::kNameLimit);
    m_txtRealName->setAccessibleName(QStringLiteral("Your real name"));
    makeOneLine(m_txtRealName);
    connect(m_txtRealName, &QLineEdit::textChanged, this,
            [](const QString& t) { character().setRealName(t); });
    buildNextBack(f, 0);
}

void frmMain::buildStepTwo(QGroupBox* f) {
    m_fmeClassSpecialization[0] =
        makeFrame(f, QStringLiteral("fmeClassSpecialization(0)"),
                  QStringLiteral("Custom Class Name"), twipsRect(180, 300, kLeftWidth, 780));
    m_txtClassName = new QLineEdit(m_fmeClassSpecialization[0]);
    m_txtClassName->setObjectName(QStringLiteral("txtClassName"));
    m_txtClassName->setGeometry(twipsRect(120, 330, 1590, 345));
    m_txtClassName->setMaxLength(Character::kNameLimit);
    makeOneLine(m_txtClassName);
    connect(m_txtClassName, &QLineEdit::textChanged, this,
            [](const QString& t) { character().setClassName(t); });
    m_cmdSuggest[0] = makeButton(m_fmeClassSpecialization[0], QStringLiteral("cmdSuggest(0)"),
                                 QStringLiteral("Suggest"), twipsRect(1800, 315, 960, 375));
    connect(m_cmdSuggest[0], &QPushButton::clicked, this, [] { cmdSuggest_Click(0); });

    m_fmeClassSpecialization[1] =
        makeFrame(f, QStringLiteral("fmeClassSpecialization(1)"),
                  QStringLiteral("Class Specialization"), twipsRect(180, 1140, kLeftWidth, 1380));
    for (int i = 0; i < 3; ++i) {
        auto* o = new OptionButton(specializations()[i], m_fmeClassSpecialization[1]);
        o->setObjectName(indexed(QStringLiteral("optClass"), i));
        o->setGeometry(twipsRect(150, 345 + i * 330, 1320, 285));
        connect(o, &QRadioButton::clicked, this, [i] { character().chooseClass(i); });
        m_optClass[size_t(i)] = o;
        m_cmdClassLink[size_t(i)] =
            makeButton(m_fmeClassSpecialization[1], indexed(QStringLiteral("cmdClassLink"), i),
                       QStringLiteral("Play guide"), twipsRect(1560, 330 + i * 330, 1200, 315));
        connect(m_cmdClassLink[size_t(i)], &QPushButton::clicked, this,
                [o] { openPlayGuide(o->text()); });
    }

    m_lblClassTitle = makeHeading(f, QStringLiteral("lblClassTitle"), QString(), kRightLeft, 300,
                                  kRightWidth, 285);
    m_txtDescription =
        makeDescription(f, QStringLiteral("txtDescription"), kRightLeft, 600, kRightWidth, 2400);
    m_lblID[4] =
        makeHeading(f, QStringLiteral("lblID(4)"), QStringLiteral("ABOUT"), 180, 3120, 8160, 255);
    m_lblID[5] = makeLabel(
        f, QStringLiteral("lblID(5)"),
        QStringLiteral("Each custom class governs different skills and the skills each governs, "
                       "will be easier to raise in the game. Each skill will also recieving a five "
                       "point increase over other skills of a different class."),
        180, 3390, 8160, 720);
    makeLink(f, 0);
    buildNextBack(f, 1);
}

void frmMain::buildStepThree(QGroupBox* f) {
    m_fmeName = makeFrame(f, QStringLiteral("fmeName"), QStringLiteral("Character Name"),
                          twipsRect(180, 300, kLeftWidth, 780));
    m_txtCharacterName = new QLineEdit(m_fmeName);
    m_txtCharacterName->setObjectName(QStringLiteral("txtCharacterName"));
    m_txtCharacterName->setGeometry(twipsRect(120, 330, 1590, 345));
    m_txtCharacterName->setMaxLength(Character::kNameLimit);
    makeOneLine(m_txtCharacterName);
    connect(m_txtCharacterName, &QLineEdit::textChanged, this,
            [](const QString& t) { character().setCharacterName(t); });
    m_cmdSuggest[1] = makeButton(m_fmeName, QStringLiteral("cmdSuggest(1)"),
                                 QStringLiteral("Suggest"), twipsRect(1800, 315, 960, 375));
    connect(m_cmdSuggest[1], &QPushButton::clicked, this, [] { cmdSuggest_Click(1); });

    m_fmeRace = makeFrame(f, QStringLiteral("fmeRace"), QStringLiteral("Character's Race"),
                          twipsRect(180, 1140, kLeftWidth, 1800));
    for (int i = 0; i < 10; ++i) {
        auto* o = new OptionButton(races()[i], m_fmeRace);
        o->setObjectName(indexed(QStringLiteral("optRace"), i));
        o->setGeometry(
            twipsRect(i < 5 ? 150 : 1500, 300 + (i % 5) * 285, i < 5 ? 1320 : 1290, 285));
        connect(o, &QRadioButton::clicked, this, [i] { character().chooseRace(i); });
        m_optRace[size_t(i)] = o;
    }

    m_fmeGender = makeFrame(f, QStringLiteral("fmeGender"), QStringLiteral("Gender"),
                            twipsRect(180, 3000, kLeftWidth, 780));
    m_cboGender = new QComboBox(m_fmeGender);
    m_cboGender->setObjectName(QStringLiteral("cboGender"));
    m_cboGender->setGeometry(twipsRect(120, 330, 1800, 345));
    m_cboGender->addItems(genders());
    m_cboGender->setAccessibleName(QStringLiteral("Gender"));
    connect(m_cboGender, &QComboBox::activated, this, [](int i) { character().chooseGender(i); });

    m_imgRace = makePicture(f, QStringLiteral("imgRace"), kRightLeft, 300, 1440, 1560);
    m_lblRaceTitle =
        makeHeading(f, QStringLiteral("lblRaceTitle"), QString(), 4800, 300, 3600, 285);
    m_lblID[9] =
        makeHeading(f, QStringLiteral("lblID(9)"), QStringLiteral("ABOUT"), 4800, 690, 3600, 255);
    m_lblID[8] = makeLabel(f, QStringLiteral("lblID(8)"),
                           QStringLiteral("Each race and gender has its own starting "
                                          "attributes; each race also has special "
                                          "abilities and skill bonuses."),
                           4800, 960, 3600, 900);
    m_txtRaceDescription = makeDescription(f, QStringLiteral("txtRaceDescription"), kRightLeft,
                                           1980, kRightWidth, 2130);

    buildChoiceFooter(f, 0);
}

void frmMain::buildStepFour(QGroupBox* f) {
    m_fmeFavAtt1 =
        makeFrame(f, QStringLiteral("fmeFavAtt1"), QStringLiteral("Favourite Attribute Number One"),
                  twipsRect(180, 300, kLeftWidth, 1500));
    m_fmeFavAtt2 =
        makeFrame(f, QStringLiteral("fmeFavAtt2"), QStringLiteral("Favourite Attribute Number Two"),
                  twipsRect(180, 1920, kLeftWidth, 1500));
    for (int g = 0; g < 2; ++g) {
        QGroupBox* frame = g == 0 ? m_fmeFavAtt1 : m_fmeFavAtt2;
        auto& options = g == 0 ? m_optFavAtt1 : m_optFavAtt2;
        for (int j = 0; j < 8; ++j) {
            auto* o = new OptionButton(attributes()[j], frame);
            o->setObjectName(
                indexed(g == 0 ? QStringLiteral("optFavAtt1") : QStringLiteral("optFavAtt2"), j));
            o->setGeometry(
                twipsRect(j < 4 ? 150 : 1530, 300 + (j % 4) * 285, j < 4 ? 1380 : 1320, 285));
            if (g == 0)
                connect(o, &QRadioButton::clicked, this, [j] { character().chooseFavAtt1(j); });
            else
                connect(o, &QRadioButton::clicked, this, [j] { character().chooseFavAtt2(j); });
            options[size_t(j)] = o;
        }
    }

    buildDetailsPanel(
        f, QStringLiteral("lblAttTitle"), QStringLiteral("txtAttributeDetails"), 12, 11,
        QStringLiteral("Each of your two favourite attributes will gain a 10 point bonus at "
                       "the start. You must choose a different attribute for each favourite "
                       "attribute"),
        m_lblAttTitle, m_txtAttributeDetails);

    buildChoiceFooter(f, 1);
}

void frmMain::buildStepFive(QGroupBox* f) {
    for (int i = 0; i < 2; ++i) {
        auto* o = new OptionButton(
            i == 0 ? QStringLiteral("Major Skills") : QStringLiteral("Minor Skills"), f);
        o->setObjectName(indexed(QStringLiteral("optSkillSelect"), i));
        o->setGeometry(twipsRect(180 + i * 1440, 300, 1440, 285));
        connect(o, &QRadioButton::clicked, this, [i] { character().setSkillFrame(i); });
        m_optSkillSelect[size_t(i)] = o;
    }
    for (int i = 0; i < 2; ++i) {
        const bool major = i == 0;
        QGroupBox* frame =
            makeFrame(f, indexed(QStringLiteral("fmeSkill"), i),
                      character().skillFrameCaption(major), twipsRect(180, 630, kLeftWidth, 3480));
        auto* list = new QListWidget(frame);
        list->setObjectName(major ? QStringLiteral("lstMjrSkills")
                                  : QStringLiteral("lstMnrSkills"));
        list->setGeometry(twipsRect(120, 300, kLeftWidth - 240, 3060));
        list->setSelectionMode(QAbstractItemView::SingleSelection);
        list->setAccessibleName(major ? QStringLiteral("Major skills")
                                      : QStringLiteral("Minor skills"));
        // A choice by keys (arrows, typing) shows the skill as a click does.
        connect(list, &QListWidget::currentItemChanged, this, [this, major](QListWidgetItem* item) {
            if (item)
                skillItemClicked(major, item);
        });
        connect(list, &QListWidget::itemChanged, this,
                [this, major](QListWidgetItem* item) { skillItemChanged(major, item); });
        connect(list, &QListWidget::itemClicked, this,
                [this, major](QListWidgetItem* item) { skillItemClicked(major, item); });
        m_fmeSkill[size_t(i)] = frame;
        (major ? m_lstMjrSkills : m_lstMnrSkills) = list;
    }

    buildDetailsPanel(
        f, QStringLiteral("lblSkillInfoTitle"), QStringLiteral("txtSkillDetails"), 6, 7,
        QStringLiteral("Your five major skills begin 30 points higher than normal and are easier "
                       "to increase than other skills. Similarly, minor skills are also easier to "
                       "increase than other skills and begin 15 points higher than normal."),
        m_lblSkillInfoTitle, m_txtSkillDetails);

    buildChoiceFooter(f, 2);
}

void frmMain::buildStepSix(QGroupBox* f) {
    // Thirteen signs need two columns, so this step's choices take more room.
    constexpr int left = 3600;
    constexpr int right = 180 + left + 180;
    constexpr int rightWidth = kStepWidth - 120 - right;
    m_fmeBirthsign = makeFrame(f, QStringLiteral("fmeBirthsign"), QStringLiteral("Birthsign"),
                               twipsRect(180, 300, left, 2400));
    for (int i = 0; i < 13; ++i) {
        auto* o = new OptionButton(birthsigns()[i], m_fmeBirthsign);
        o->setObjectName(indexed(QStringLiteral("optBirthsign"), i));
        o->setGeometry(
            twipsRect(i < 7 ? 150 : 1860, 300 + (i % 7) * 285, i < 7 ? 1680 : 1620, 285));
        connect(o, &QRadioButton::clicked, this, [i] { character().chooseBirthsign(i); });
        m_optBirthsign[size_t(i)] = o;
    }
    m_lblID[13] =
        makeHeading(f, QStringLiteral("lblID(13)"), QStringLiteral("ABOUT"), 180, 2820, left, 255);
    m_lblID[10] = makeLabel(
        f, QStringLiteral("lblID(10)"),
        QStringLiteral("Birthsigns grant bonus attributes, spells, powers or abilities to your "
                       "character. You should choose a birthsign to compliment your race."),
        180, 3090, left, 1020);

    m_lblBirthsignTitle =
        makeHeading(f, QStringLiteral("lblBirthsignTitle"), QString(), right, 300, rightWidth, 285);
    m_imgBirthsign = makePicture(f, QStringLiteral("imgBirthsign"), right, 600, rightWidth, 1260);
    m_txtBirthsignDetails =
        makeDescription(f, QStringLiteral("txtBirthsignDetails"), right, 1980, rightWidth, 2130);

    buildChoiceFooter(f, 3);
}

void frmMain::buildStepSeven(QGroupBox* f) {
    m_lblID[14] = makeLabel(
        f, QStringLiteral("lblID(14)"),
        QStringLiteral("Have you correctly selected the options you want for your new character? "
                       "Red arrows indicate options that have not yet been selected while blue "
                       "arrows indicate options which are fine. If you need to go back, simply "
                       "press the edit arrow next to the option you wish to change."),
        180, 300, 8160, 780);
    for (int i = 0; i < kMarkCount; ++i) {
        const int top = 1140 + i * 270;
        auto* mark = new ClickLabel(f, ClickLabel::Kind::Button);
        mark->setObjectName(indexed(QStringLiteral("imgStatus"), i));
        // A margin round the arrow for the focus ring.
        mark->setGeometry(twips(300) - 2, twips(top) + (twips(270) - twips(240)) / 2 - 2,
                          twips(240) + 4, twips(240) + 4);
        mark->setContentsMargins(2, 2, 2, 2);
        mark->setScaledContents(true);
        mark->onClick = [this, i] { statusClicked(i); };
        m_imgStatus[size_t(i)] = mark;
        m_txtReview[size_t(i)] = makeLabel(f, indexed(QStringLiteral("txtReview"), i), QString(),
                                           720, top + 15, 7680, 255, false);
    }
    QPushButton* sheet =
        makeButton(f, QStringLiteral("cmdSheet"), QStringLiteral("Character S&heet"),
                   twipsRect(kBackLeft - 240 - 1680, kButtonRow, 1680, 375));
    sheet->setToolTip(QStringLiteral("Click to see the numbers the game will give this character "
                                     "and to plan its level-ups (Ctrl+T)."));
    connect(sheet, &QPushButton::clicked, this, [] { showCharacterSheet(); });
    buildNextBack(f, 6);
}

void frmMain::buildStepEight(QGroupBox* f) {
    // Each button with its description beside it; Save as File and Copy have
    // the step's own descriptions and tool tips, the other two repeat what
    // the quick tip says of them.
    const std::array<QString, 4> descriptions = {
        kProfileSaveTip,
        QStringLiteral("Click to save your options to a standard .txt document or html file."),
        QStringLiteral("Click to copy your profile with formatting for internet message boards "
                       "or plain text for simple pasting."),
        kPrintTip};
    const std::array<QString, 4> names = {QStringLiteral("cmdProfileSave"),
                                          QStringLiteral("cmdSave"), QStringLiteral("cmdCopy"),
                                          QStringLiteral("cmdPrint")};
    const std::array<QString, 4> labels = {
        QStringLiteral("lblProfileSaveDescription"), QStringLiteral("lblSaveDescription"),
        QStringLiteral("lblCopyDescription"), QStringLiteral("lblPrintDescription")};
    const std::array<QString, 4> captions = {QStringLiteral("Save as P&rofile"),
                                             QStringLiteral("Save as &File"),
                                             QStringLiteral("&Copy"), QStringLiteral("&Print")};
    std::array<QPushButton*, 4> buttons{};
    for (int r = 0; r < 4; ++r) {
        const int top = 420 + r * 900;
        buttons[size_t(r)] =
            makeButton(f, names[size_t(r)], captions[size_t(r)], twipsRect(300, top, 2160, 495));
        makeLabel(f, labels[size_t(r)], descriptions[size_t(r)], 2700, top + 90, 5640, 540);
    }
    m_cmdProfileSave = buttons[0];
    m_cmdSave = buttons[1];
    m_cmdCopy = buttons[2];
    m_cmdPrint = buttons[3];
    m_cmdProfileSave->setToolTip(
        QStringLiteral("Save as an TARVO Saved Profile for loading into TARVO later"));
    m_cmdSave->setToolTip(
        QStringLiteral("Save as a text document for viewing in notepad or any word processor"));
    m_cmdCopy->setToolTip(QStringLiteral(
        "Click to copy your profile to the clipbard for pasting into another program."));
    m_cmdPrint->setToolTip(kPrintTip);
    connect(m_cmdProfileSave, &QPushButton::clicked, this, [] { SaveInformation(QString()); });
    connect(m_cmdPrint, &QPushButton::clicked, this, [] { showPrintOptions(); });
    buildTextOutput(this, m_cmdSave, m_cmdCopy);
    buildNextBack(f, 7);
}

void frmMain::buildStepNine(QGroupBox* f) {
    m_lstWebsites = new QListWidget(f);
    m_lstWebsites->setObjectName(QStringLiteral("lstWebsites"));
    m_lstWebsites->setAccessibleName(QStringLiteral("Websites"));
    m_lstWebsites->setGeometry(twipsRect(180, 300, kLeftWidth, 2400));
    m_cmdOpen = makeButton(f, QStringLiteral("cmdOpen"), QStringLiteral("Open"),
                           twipsRect(180, 2820, 1380, 375));
    m_cmdOpen->setToolTip(
        QStringLiteral("Click to open the selected website in your default browser."));
    m_cmdAdd = makeButton(f, QStringLiteral("cmdAdd"), QStringLiteral("Favourites"),
                          twipsRect(1680, 2820, 1380, 375));
    m_cmdAdd->setToolTip(QStringLiteral(
        "Click to add the selected websites to your Internet Explorer favourites folder."));
    m_cmdPath = makeButton(f, QStringLiteral("cmdPath"), QStringLiteral("Check out your paths"),
                           twipsRect(180, 3420, kLeftWidth, 375));
    m_cmdPath->setToolTip(QStringLiteral("Click to check out the suggested paths, houses, guilds "
                                         "and quests your character should take!"));
    connect(m_cmdPath, &QPushButton::clicked, this, [] { cmdPath_Click(); });

    m_imgWebLogo = makePicture(f, QStringLiteral("imgWebLogo"), kRightLeft, 300, 1440, 720);
    m_lblWebName = makeHeading(f, QStringLiteral("lblWebName"), QString(), 4800, 300, 3600, 285);
    m_lblWebDescription = makeLabel(f, QStringLiteral("lblWebDescription"), QString(), kRightLeft,
                                    1080, kRightWidth, 1140);
    m_lblWebName->setBuddy(m_lblWebDescription);

    makeHeading(f, QStringLiteral("lblShare(0)"), QStringLiteral("Share your profile!"), kRightLeft,
                2340, kRightWidth, 270);
    makeLabel(f, QStringLiteral("lblShare(1)"),
              QStringLiteral("Post your newly created character profile where Morrowind "
                             "players share their characters: the Morrowind community on Reddit."),
              kRightLeft, 2640, 3600, 900);
    m_cmdShare = makeButton(f, QStringLiteral("cmdShare"), QStringLiteral("Share now!"),
                            twipsRect(kNextLeft - 120, 2700, 1320, 375));
    m_cmdShare->setToolTip(
        QStringLiteral("Click to share your character profile with other players in the Morrowind "
                       "community on Reddit"));
    QLabel* thanks =
        makeHeading(f, QStringLiteral("lblThanks"), QStringLiteral("Thank you for using TARVO2!"),
                    kRightLeft, 3600, kRightWidth, 390);
    setBold(thanks, 1.2);
    setForeColour(thanks, kHelloColour);
    buildNextBack(f, 8);
    wireFurtherResources(this);
}

void frmMain::buildQuickTips() {
    m_lblQuickTip[0] = makeHeading(this, QStringLiteral("lblQuickTip(0)"), QString(), kStepLeft,
                                   4800, kStepWidth, 285);
    m_lblQuickTip[1] = makeLabel(this, QStringLiteral("lblQuickTip(1)"), QString(), kStepLeft, 5085,
                                 kStepWidth, 450);
    m_lblQuickTip[0]->setBuddy(m_lblQuickTip[1]);
}

void frmMain::buildAdvancedPanel() {
    m_fmeAdvanced = new QFrame(this);
    m_fmeAdvanced->setObjectName(QStringLiteral("fmeAdvanced"));
    m_fmeAdvanced->setAccessibleName(QStringLiteral("Advanced Features"));
    m_fmeAdvanced->setGeometry(twipsRect(120, 5580, 7680, 900));
    m_chkAdvanced = new QCheckBox(QStringLiteral("A&dvanced Features"), m_fmeAdvanced);
    m_chkAdvanced->setObjectName(QStringLiteral("chkAdvanced"));
    m_chkAdvanced->setGeometry(0, 0, qMax(twips(1620), m_chkAdvanced->sizeHint().width()),
                               twips(330));
    const std::array<QString, 6> captions = {QStringLiteral("Save"),    QStringLiteral("Load"),
                                             QStringLiteral("Options"), QStringLiteral("Online"),
                                             QStringLiteral("Help"),    QStringLiteral("Welcome")};
    for (int i = 0; i < 6; ++i) {
        QPushButton* b = makeButton(m_fmeAdvanced, indexed(QStringLiteral("cmdControls"), i),
                                    captions[size_t(i)], twipsRect(i * 1260, 495, 1200, 375));
        b->hide();
        connect(b, &QPushButton::clicked, this, [this, i] { controlsClicked(i); });
        m_cmdControls[size_t(i)] = b;
    }
    connect(m_chkAdvanced, &QCheckBox::toggled, this, &frmMain::advancedChanged);
}

void frmMain::buildMenus() {
    m_mnuLoad = new QMenu(QStringLiteral("Load"), this);
    m_mnuLoad->setObjectName(QStringLiteral("mnuLoad"));
    QAction* tmpl = m_mnuLoad->addAction(QStringLiteral("Load Template"));
    tmpl->setObjectName(QStringLiteral("mnuLoadTemplate"));
    connect(tmpl, &QAction::triggered, this, [this] { OpenFile(QStringLiteral("Template")); });
    QAction* profile = m_mnuLoad->addAction(QStringLiteral("Load Saved Profile"));
    profile->setObjectName(QStringLiteral("mnuLoadProfile"));
    connect(profile, &QAction::triggered, this, [this] { OpenFile(QStringLiteral("Profile")); });

    m_mnuOnline = new QMenu(QStringLiteral("Online"), this);
    m_mnuOnline->setObjectName(QStringLiteral("mnuOnline"));
    const std::array<QString, 7> captions = {QStringLiteral("Morrowind Wiki Home"),
                                             QStringLiteral("Community"),
                                             QStringLiteral("Online Library"),
                                             QStringLiteral("Links"),
                                             QStringLiteral("-"),
                                             QStringLiteral("Online Help"),
                                             QStringLiteral("Auto Update")};
    for (int i = 0; i < 7; ++i) {
        QAction* a =
            i == 4 ? m_mnuOnline->addSeparator() : m_mnuOnline->addAction(captions[size_t(i)]);
        a->setObjectName(indexed(QStringLiteral("mnuOnlineSub"), i));
        if (i != 4)
            connect(a, &QAction::triggered, this, [this, i] { onlineClicked(i); });
    }
}

QString frmMain::stepTask(int k) const {
    const QStringList& tasks =
        globals().StepTasks.size() == kStepCount ? globals().StepTasks : stepTasks();
    return k >= 0 && k < tasks.size() ? tasks[k] : QString();
}

void frmMain::addTip(QWidget* w, std::function<std::pair<QString, QString>()> tip, bool toolTip) {
    // The tip is read by screen readers as the control's description.
    if (toolTip)
        w->setToolTip(tip().second);
    w->setAccessibleDescription(tip().second);
    m_tips.insert(w, [this, w, tip, toolTip] {
        const auto [heading, text] = tip();
        setTip(heading, text);
        if (toolTip)
            w->setToolTip(text);
        w->setAccessibleDescription(text);
    });
    w->installEventFilter(this);
}

void frmMain::buildTips() {
    using Tip = std::pair<QString, QString>;
    auto fixed = [](const QString& h, const QString& t) { return [h, t] { return Tip{h, t}; }; };
    // The tool tip that a control carries by design is its description.
    auto ownToolTip = [](QWidget* w, const QString& h) {
        return [w, h] { return Tip{h, w->toolTip()}; };
    };

    addTip(m_chkAdvanced,
           fixed(QStringLiteral("Advanced Features"),
                 QStringLiteral("Enables/disables access to save, load, options, update and "
                                "help.")),
           false);
    for (QPushButton* b : m_cmdAutoSelect)
        addTip(b,
               fixed(QStringLiteral("Special Feature"),
                     QStringLiteral("Auto select a options on this page based on your class "
                                    "specialization.")),
               false);
    for (int k = 0; k < kStepCount - 1; ++k) {
        addTip(
            m_cmdBack[size_t(k)],
            [this, k] {
                return Tip{QStringLiteral("Previous Screen"),
                           QStringLiteral("Reverse to Step ") + stepWords()[k] +
                               QStringLiteral(": ") + stepTask(k)};
            },
            true);
        addTip(
            m_cmdNext[size_t(k)],
            [this, k] {
                return Tip{QStringLiteral("Next Screen"),
                           QStringLiteral("Continue to Step ") + stepWords()[k + 1] +
                               QStringLiteral(": ") + stepTask(k + 1)};
            },
            true);
    }
    addTip(m_cmdFinish,
           fixed(QStringLiteral("Exit TARVO2"), QStringLiteral("Click to leave TARVO2.")), true);
    for (int k = 0; k < kStepCount; ++k) {
        QRadioButton* o = m_optNav[size_t(k)];
        addTip(
            o,
            [this, o, k] {
                return Tip{QStringLiteral("Step ") + o->text(),
                           kStepTitles[size_t(k)] + stepTask(k)};
            },
            true);
    }
    for (int k = 0; k < 3; ++k) {
        QRadioButton* o = m_optClass[size_t(k)];
        addTip(
            m_cmdClassLink[size_t(k)],
            [o] {
                return Tip{kFurther, QStringLiteral("Connect to the internet to access complete "
                                                    "guides and information for creating a ") +
                                         o->text() + QStringLiteral(" specialized character.")};
            },
            true);
    }
    addTip(m_cmdSuggest[0],
           fixed(kFurther,
                 QStringLiteral("Browse a database of more than 100 categorized class names.")),
           true);
    addTip(m_cmdSuggest[1],
           fixed(kFurther,
                 QStringLiteral("Browse a database of more than 100 categorized character names.")),
           true);
    for (int k = 0; k < kLinkCount; ++k) {
        QLabel* l = m_lblLink[size_t(k)];
        m_tips.insert(l, [this, k] { linkHovered(k); });
        l->installEventFilter(this);
    }

    const std::array<Tip, 6> controls = {
        Tip{QStringLiteral("Save"), QStringLiteral("Save the current profile.")},
        Tip{QStringLiteral("Load"),
            QStringLiteral("Load a previously saved profile for viewing and modification.")},
        Tip{QStringLiteral("Options"), QStringLiteral("Change the general running of TARVO2.")},
        Tip{QStringLiteral("Online"), QStringLiteral("Access the online features of TARVO2 "
                                                     "including Communities, Library, Update and "
                                                     "more.")},
        Tip{QStringLiteral("Help"), QStringLiteral("Comprehensive help files on TARVO2.")},
        Tip{QStringLiteral("Welcome Screen"),
            QStringLiteral("Click to return to the Welcome Screen, no changes will be lost.")}};
    for (int i = 0; i < 6; ++i)
        addTip(m_cmdControls[size_t(i)],
               fixed(controls[size_t(i)].first, controls[size_t(i)].second), false);

    addTip(m_cmdCopy, fixed(QStringLiteral("Copy"), kCopyTip), false);
    addTip(m_cmdPrint, fixed(QStringLiteral("Print"), kPrintTip), false);
    addTip(m_cmdProfileSave, fixed(QStringLiteral("Profile Save"), kProfileSaveTip), false);
    addTip(m_cmdSave, fixed(QStringLiteral("Save as File"), kSaveTip), false);
    addTip(m_cmdPath, ownToolTip(m_cmdPath, QStringLiteral("Character paths")), false);
    addTip(
        m_cmdOpen,
        [this] {
            return Tip{m_cmdOpen->text() + QStringLiteral(" website"), m_cmdOpen->toolTip()};
        },
        false);
    addTip(
        m_cmdAdd,
        [this] {
            return Tip{m_cmdAdd->text(), m_cmdAdd->toolTip()};
        },
        false);
    addTip(
        m_cmdShare,
        [this] {
            return Tip{m_cmdShare->text(), m_cmdShare->toolTip()};
        },
        false);

    // Frames: their bare area shows their tip.
    auto frameTip = [this, &fixed](QWidget* frame, const QString& h, const QString& t) {
        addTip(frame, fixed(h, t), false);
        frame->setMouseTracking(true);
    };
    frameTip(m_fmeClassSpecialization[0], QStringLiteral("Custom Class Name"),
             QStringLiteral("Your custom class name is limited to 40 characters (including "
                            "spaces)."));
    frameTip(m_fmeClassSpecialization[1], QStringLiteral("Class Specialization"),
             QStringLiteral("The three different classes in Morrowind will direct your game "
                            "toward each respective class."));
    frameTip(m_fmeName, QStringLiteral("Character Name"),
             QStringLiteral("Your character name is used to identify your character in the game "
                            "and is limited to 40 characters (including spaces)."));
    frameTip(m_fmeRace, QStringLiteral("Character Race"),
             QStringLiteral("Each race has different skills, powers, spells, specialities, "
                            "abilites and appearances."));
    frameTip(m_fmeGender, QStringLiteral("Character Gender"),
             QStringLiteral("Your gender changes your starting attributes and your appearance, "
                            "but not your racial skill bonuses."));
    const QString favAtt = QStringLiteral("Favourite attributes are attributes that your "
                                          "character will be highly proficient in during the "
                                          "game.");
    frameTip(m_fmeFavAtt1, QStringLiteral("Favourite Attributes"), favAtt);
    frameTip(m_fmeFavAtt2, QStringLiteral("Favourite Attributes"), favAtt);
    for (QGroupBox* s : m_fmeSkill)
        frameTip(s, QStringLiteral("Major and Minor Skills"),
                 QStringLiteral("These are the skills your character should be focussing on "
                                "throughout the game."));
    frameTip(m_fmeBirthsign, QStringLiteral("Character Birthsign"),
             QStringLiteral("Every person in Morrowind will have a birthsign which grants "
                            "special and unique abilities."));
    for (QLabel* mark : m_imgStatus)
        addTip(mark,
               fixed(QStringLiteral("Option Status"),
                     QStringLiteral("Red indicates unset options whilst blue indicates set "
                                    "options, click to jump to that step.")),
               false);
}

QPixmap frmMain::markPicture(bool blue) const {
    QPixmap pm(appPath(blue ? QStringLiteral("/Data/Blue.bmp") : QStringLiteral("/Data/Red.bmp")));
    if (!pm.isNull())
        return pm;
    // Without the pictures a drawn arrow keeps the mark visible.
    const int s = qMax(16, twips(240));
    QPixmap drawn(s, s);
    drawn.fill(Qt::transparent);
    QPainter p(&drawn);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(90, 90, 90), 1));
    p.setBrush(Qt::white);
    p.drawRoundedRect(QRectF(0.5, 0.5, s - 1.0, s - 1.0), 3, 3);
    const QColor c = blue ? QColor(20, 70, 215) : QColor(215, 25, 25);
    QPainterPath arrow;
    arrow.moveTo(s * 0.18, s * 0.40);
    arrow.lineTo(s * 0.50, s * 0.40);
    arrow.lineTo(s * 0.50, s * 0.20);
    arrow.lineTo(s * 0.84, s * 0.50);
    arrow.lineTo(s * 0.50, s * 0.80);
    arrow.lineTo(s * 0.50, s * 0.60);
    arrow.lineTo(s * 0.18, s * 0.60);
    arrow.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(c);
    p.drawPath(arrow);
    return drawn;
}

void frmMain::connectModel() {
    Character& c = character();
    connect(&c, &Character::reviewChanged, this, &frmMain::renderReview);
    connect(&c, &Character::groupChanged, this, &frmMain::renderGroup);
    connect(&c, &Character::nameBoxChanged, this, &frmMain::renderNameBox);
    connect(&c, &Character::areaChanged, this, &frmMain::renderArea);
    connect(&c, &Character::skillsChanged, this, &frmMain::renderSkills);
    connect(&c, &Character::skillFrameChanged, this, &frmMain::renderSkillFrame);
    for (int i = 0; i < 4; ++i)
        connect(m_cmdAutoSelect[size_t(i)], &QPushButton::clicked, this,
                [this, i] { autoSelectClicked(i); });
}

// The window's load: size, caption, lists and the greeting.
void frmMain::loadWindow() {
    setFixedSize(twips(kWidth), twips(kHeightCollapsed));
    setWindowTitle(kProgramTitle);

    m_lstWebsites->clear();
    QStringList sites;
    LoadIniSectionToList(sites, QStringLiteral("sitenames"),
                         appPath(QStringLiteral("/Data/Websites/websites.ini")));
    m_lstWebsites->addItems(sites);

    DefaultTipStatus();
    selectStep(0);
    makeDefault(m_cmdNext[0]);
    // The advanced panel collapsed: as wide as its tick box.
    m_fmeAdvanced->resize(m_chkAdvanced->width(), m_fmeAdvanced->height());
    character().setSkillFrame(0);
    character().chooseGender(0);

    m_lblWebDescription->setText(QStringLiteral(
        "This last step gives you access to more online resources. Send in your profile to us "
        "using the button on the left, and view the Morrowind related websites on the left "
        "before adding them to your favourites."));
    m_lblWebName->setText(QStringLiteral("Information"));

    Globals& g = globals();
    if (g.FirstRun != QLatin1String("No")) {
        m_lblHello->setText(QStringLiteral(
            "Since this is the first time you've used TARVO2, you might want to check the help "
            "files to get aquainted with the program, click Advanced Options to access help."));
        g.ShowAdvancedFeatures = QStringLiteral("Yes");
    } else {
        m_lblHello->setText(QStringLiteral(
            "Welcome back to TARVO2, you might want to load a previously saved character or "
            "template. Don't forget to check for updates to TARVO2 in Advanced Options."));
    }
    if (g.ShowAdvancedFeatures != QLatin1String("No"))
        m_chkAdvanced->setChecked(true);

    // Room on the left for the progress window, which stands against this one.
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect avail = screen->availableGeometry();
        const int progressWidth = twips(3600) + 16;
        const int total = width() + progressWidth;
        // Room on the left comes first; otherwise the window stays whole.
        const int centred = avail.left() + progressWidth + qMax(0, (avail.width() - total) / 2);
        const int left =
            qMax(avail.left() + progressWidth, qMin(centred, avail.right() + 1 - width()));
        const int top = avail.top() + qMax(0, (avail.height() - twips(kHeightExpanded) - 40) / 2);
        move(left, top);
    }
    m_txtRealName->setFocus();
}

// ============================================================= rendering ===

void frmMain::renderAll() {
    for (int i = 0; i < kMarkCount; ++i)
        renderReview(i);
    for (int g = Character::GroupClass; g <= Character::GroupBirthsign; ++g)
        renderGroup(g);
    for (int b = Character::BoxRealName; b <= Character::BoxCharacterName; ++b)
        renderNameBox(b);
    for (int a = Character::AreaClass; a <= Character::AreaBirthsign; ++a)
        renderArea(a);
    renderSkills();
    renderSkillFrame();
}

void frmMain::renderReview(int line) {
    if (line < 0 || line >= kMarkCount)
        return;
    const Character& c = character();
    showElided(m_txtReview[size_t(line)], c.reviewLine(line));
    QLabel* mark = m_imgStatus[size_t(line)];
    const bool set = c.markBlue(line);
    mark->setPixmap(m_markPictures[set ? 1 : 0]);
    // Said in words too, not by colour alone.
    // The arrow is what Tab reaches: it carries the line it edits, "Race:
    // Khajit", and says in words what the colour says.
    const QString shown = c.reviewLine(line).trimmed();
    mark->setAccessibleName(QStringLiteral("Edit ") + shown.section(':', 0, 0));
    mark->setAccessibleDescription(set ? shown
                                       : shown + (shown.endsWith(':')
                                                      ? QStringLiteral(" not set")
                                                      : QStringLiteral(" (not set)")));
    mark->setToolTip(set ? QStringLiteral("Set: click to change it")
                         : QStringLiteral("Not set: click to set it"));
}

void frmMain::renderGroup(int group) {
    const Character& c = character();
    const int checked = c.checkedOption(Character::Group(group));
    switch (group) {
    case Character::GroupClass:
        showChecked(m_optClass, checked);
        break;
    case Character::GroupRace:
        showChecked(m_optRace, checked);
        break;
    case Character::GroupGender:
        if (m_cboGender->currentIndex() != checked) {
            const QSignalBlocker block(m_cboGender);
            m_cboGender->setCurrentIndex(checked);
        }
        break;
    case Character::GroupFavAtt1:
    case Character::GroupFavAtt2: {
        showChecked(group == Character::GroupFavAtt1 ? m_optFavAtt1 : m_optFavAtt2, checked);
        const int off1 = c.disabledFavAtt1Option();
        const int off2 = c.disabledFavAtt2Option();
        for (int j = 0; j < 8; ++j) {
            m_optFavAtt1[size_t(j)]->setEnabled(j != off1);
            m_optFavAtt2[size_t(j)]->setEnabled(j != off2);
        }
        break;
    }
    case Character::GroupBirthsign:
        showChecked(m_optBirthsign, checked);
        break;
    default:
        break;
    }
}

void frmMain::renderNameBox(int box) {
    QLineEdit* e = box == Character::BoxRealName    ? m_txtRealName
                   : box == Character::BoxClassName ? m_txtClassName
                                                    : m_txtCharacterName;
    const QString& text = character().nameBox(Character::NameBox(box));
    if (e->text() != text) {
        const QSignalBlocker block(e);
        // The limit stops typing only: a longer name from a file shows whole.
        e->setMaxLength(qMax<int>(Character::kNameLimit, int(text.size())));
        e->setText(text);
    }
}

void frmMain::renderArea(int area) {
    const Character& c = character();
    const auto a = Character::Area(area);
    QLabel* title = nullptr;
    QPlainTextEdit* text = nullptr;
    QLabel* picture = nullptr;
    switch (a) {
    case Character::AreaClass:
        title = m_lblClassTitle;
        text = m_txtDescription;
        break;
    case Character::AreaRace:
        title = m_lblRaceTitle;
        text = m_txtRaceDescription;
        picture = m_imgRace;
        break;
    case Character::AreaAttribute:
        title = m_lblAttTitle;
        text = m_txtAttributeDetails;
        break;
    case Character::AreaSkill:
        title = m_lblSkillInfoTitle;
        text = m_txtSkillDetails;
        break;
    case Character::AreaBirthsign:
        title = m_lblBirthsignTitle;
        text = m_txtBirthsignDetails;
        picture = m_imgBirthsign;
        break;
    }
    if (!title)
        return;
    title->setText(c.areaTitle(a));
    text->setPlainText(c.areaText(a));
    static const char* const kSubjects[] = {"Class", "Race", "Attribute", "Skill", "Birthsign"};
    text->setAccessibleName(QLatin1String(kSubjects[area]) + QStringLiteral(" description") +
                            (title->text().isEmpty() ? QString() : ": " + title->text()));
    if (picture) {
        showPicture(picture, c.areaPicture(a));
        picture->setAccessibleName(QLatin1String(kSubjects[area]) + QStringLiteral(" picture: ") +
                                   title->text());
    }
}

// Brings a list widget in line with the model's list with as few changes as
// possible, so the item under the pointer and the scroll position stay put.
void frmMain::syncSkillList(QListWidget* list, bool major) {
    const QVector<SkillItem>& items = character().skillList(major);
    const QSignalBlocker block(list);
    auto laterInModel = [&items](const QString& name, int from) {
        for (int j = from; j < items.size(); ++j)
            if (items[j].name == name)
                return true;
        return false;
    };
    for (int i = 0; i < items.size(); ++i) {
        while (i < list->count() && list->item(i)->text() != items[i].name &&
               !laterInModel(list->item(i)->text(), i))
            delete list->takeItem(i);
        QListWidgetItem* item = i < list->count() ? list->item(i) : nullptr;
        if (!item || item->text() != items[i].name) {
            item = new QListWidgetItem(items[i].name);
            item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
            list->insertItem(i, item);
        }
        const Qt::CheckState state = items[i].checked ? Qt::Checked : Qt::Unchecked;
        if (item->checkState() != state || !item->data(Qt::CheckStateRole).isValid())
            item->setCheckState(state);
    }
    while (list->count() > items.size())
        delete list->takeItem(list->count() - 1);
}

void frmMain::renderSkills() {
    syncSkillList(m_lstMjrSkills, true);
    syncSkillList(m_lstMnrSkills, false);
    // The count left is said with the list, as it is shown above it.
    for (int i = 0; i < 2; ++i) {
        const QString caption = character().skillFrameCaption(i == 0);
        m_fmeSkill[size_t(i)]->setTitle(caption);
        (i == 0 ? m_lstMjrSkills : m_lstMnrSkills)->setAccessibleDescription(caption);
    }
}

void frmMain::renderSkillFrame() {
    const int frame = character().skillFrame();
    m_fmeSkill[0]->setVisible(frame == 0);
    m_fmeSkill[1]->setVisible(frame == 1);
    showChecked(m_optSkillSelect, frame);
}

// ============================================================== handlers ===

void frmMain::selectStep(int n) {
    if (n < 0 || n >= kStepCount)
        return;
    if (!m_optNav[size_t(n)]->isChecked())
        m_optNav[size_t(n)]->setChecked(true);
    stepClicked(n);
}

int frmMain::currentStep() const {
    for (int n = 0; n < kStepCount; ++n)
        if (m_optNav[size_t(n)]->isChecked())
            return n;
    return -1;
}

void frmMain::stepClicked(int n) {
    for (int i = 0; i < kStepCount; ++i)
        m_fmeStep[size_t(i)]->setVisible(i == n);
    // Enter presses the visible step's Next (or Finish); the focus goes to
    // the step's first control, unless the user is moving along the steps.
    // On the review that is Next itself: Enter on an edit arrow would leave
    // the review for the arrow's step.
    makeDefault(n == kStepCount - 1 ? m_cmdFinish : m_cmdNext[size_t(n)]);
    const QWidget* focus = QApplication::focusWidget();
    const bool alongSteps = std::count(m_optNav.begin(), m_optNav.end(), focus) > 0;
    if (!alongSteps && n == 6)
        m_cmdNext[size_t(n)]->setFocus(Qt::OtherFocusReason);
    else if (!alongSteps)
        focusFirstControl(m_fmeStep[size_t(n)]);
    if (n == 6)
        character().enterReview();
    if (n == 7)
        forms::progress()->runTaskReminder();
}

void frmMain::makeDefault(QPushButton* button) {
    if (m_defaultButton == button)
        return;
    if (m_defaultButton)
        m_defaultButton->setDefault(false);
    m_defaultButton = button;
    if (button)
        button->setDefault(true);
}

void frmMain::nextClicked(int k) {
    makeDefault(k == kStepCount - 2 ? m_cmdFinish : m_cmdNext[size_t(k + 1)]);
    selectStep(k + 1);
}

void frmMain::backClicked(int k) {
    selectStep(k);
}

void frmMain::statusClicked(int mark) {
    selectStep(stepOfMark(mark));
}

void frmMain::autoSelectClicked(int index) {
    switch (m_autoSelector.click(character(), index)) {
    case AutoSelector::Outcome::NoClass:
        ShowBubble(QStringLiteral("Class not selected!"),
                   QStringLiteral("If you do not select a class then you will be unable to use "
                                  "the AutoSelect helper functions."),
                   4800, 6400);
        break;
    case AutoSelector::Outcome::MajorAlreadySet:
        msgBox(QStringLiteral("TARVO2 cannot AutoSelect your Major Skills as you have already "
                              "chosen Major Skills. Please uncheck already selected skills to "
                              "continue."),
               MsgButtons::OK, MsgIcon::Information);
        break;
    case AutoSelector::Outcome::MinorAlreadySet:
        msgBox(QStringLiteral("TARVO2 cannot AutoSelect your Minor Skills as you have already "
                              "chosen Minor Skills. Please uncheck already selected skills to "
                              "continue."),
               MsgButtons::OK, MsgIcon::Information);
        break;
    case AutoSelector::Outcome::Done:
        break;
    }
}

void frmMain::skillItemChanged(bool major, QListWidgetItem* item) {
    QListWidget* list = major ? m_lstMjrSkills : m_lstMnrSkills;
    const int position = list->row(item);
    character().setSkillChecked(major, position, item->checkState() == Qt::Checked);
    // A refused tick leaves no skillsChanged behind when nothing changed.
    renderSkills();
}

void frmMain::skillItemClicked(bool major, QListWidgetItem* item) {
    QListWidget* list = major ? m_lstMjrSkills : m_lstMnrSkills;
    const int position = list->row(item);
    if (position >= 0)
        character().clickSkill(major, position);
}

void frmMain::advancedChanged(bool ticked) {
    setFixedSize(twips(kWidth), twips(ticked ? kHeightExpanded : kHeightCollapsed));
    const int expanded = twips(6 * 1260);
    m_fmeAdvanced->resize(ticked ? qMax(expanded, m_chkAdvanced->width()) : m_chkAdvanced->width(),
                          m_fmeAdvanced->height());
    for (QPushButton* b : m_cmdControls)
        b->setVisible(ticked);
    if (isVisible()) {
        raise();
        activateWindow();
    }
}

void frmMain::controlsClicked(int index) {
    QPushButton* b = m_cmdControls[size_t(index)];
    const QString command = b->text().toLower();
    // The pop-up menus open under their button, at its left edge.
    const QPoint below = b->mapToGlobal(QPoint(0, b->height()));
    if (command == QLatin1String("save")) {
        selectStep(7);
    } else if (command == QLatin1String("load")) {
        m_mnuLoad->popup(below);
    } else if (command == QLatin1String("options")) {
        showOptionsWindow();
    } else if (command == QLatin1String("online")) {
        m_mnuOnline->popup(below);
    } else if (command == QLatin1String("help")) {
        OpenHelp();
    } else if (command == QLatin1String("welcome")) {
        forms::welcome()->show();
        if (frmProgress* p = forms::progressIfLoaded())
            p->hide();
        hide();
        globals().WelcomeReopened = QStringLiteral("Yes");
    }
}

void frmMain::onlineClicked(int index) {
    switch (index) {
    case 0:
        openHomePage(globals().Domain, QString());
        break;
    case 1:
        openCommunity();
        break;
    case 2:
        OpenLibrary();
        break;
    case 3:
        selectStep(8);
        break;
    case 5:
        OpenOnlineHelp();
        break;
    case 6: {
        const QString program =
            appPath(QStringLiteral("/") + executableName(QStringLiteral("update")));
        if (!platform().start(program))
            msgBox(QStringLiteral("TARVO2 could not start its update checker, %1. Please "
                                  "reinstall TARVO2 to restore the update checker.")
                       .arg(QDir::toNativeSeparators(program)),
                   MsgButtons::OK, MsgIcon::Exclamation);
        break;
    }
    default:
        break;
    }
}

void frmMain::SwitchWindow() {
    frmProgress* p = forms::progress();
    p->show();
    p->raise();
    p->activateWindow();
}

void frmMain::startEnableTimer() {
    m_tmrEnable->start();
}

void frmMain::startReturnBackgroundTimer() {
    m_tmrReturnBackground->start();
}

void frmMain::OpenFile(const QString& task) {
    OpenLoaderFor(task);
}

// ============================================================ quick tips ===

void frmMain::setTip(const QString& heading, const QString& text) {
    m_lblQuickTip[0]->setText(heading);
    m_lblQuickTip[1]->setText(text);
}

void frmMain::DefaultTipStatus() {
    setTip(QStringLiteral("About"), QStringLiteral("TARVO v") + versionText() +
                                        QStringLiteral(" by ") + kCompanyName +
                                        QStringLiteral("."));
}

void frmMain::restLinks() {
    for (QLabel* l : m_lblLink)
        setForeColour(l, kLinkRest);
}

void frmMain::linkHovered(int index) {
    setTip(kFurther, kLinkTip);
    QLabel* l = m_lblLink[size_t(index)];
    const QPixmap icon(appPath(QStringLiteral("/Data/ALink.ICO")));
    l->setCursor(icon.isNull() ? QCursor(Qt::PointingHandCursor) : QCursor(icon, 0, 0));
    setForeColour(l, kLinkHover);
}

bool frmMain::keyPressed(QWidget*, QKeyEvent* key) {
    const Qt::KeyboardModifiers mods = key->modifiers();
    if (HandleSharedShortcut(key, [this] { SwitchWindow(); }))
        return true;
    if (mods & Qt::ControlModifier)
        return false;
    if (mods & ~Qt::KeypadModifier)
        return false;
    if (key->key() == Qt::Key_Escape) {
        forms::progress()->show();
        return true;
    }
    // Enter follows the program's keyboard rules (shell/keyboard.h).
    return false;
}

bool frmMain::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::Enter:
    case QEvent::HoverEnter:
        if (watched == this || m_restAreas.contains(watched)) {
            DefaultTipStatus();
            restLinks();
        } else if (auto it = m_tips.constFind(watched); it != m_tips.constEnd()) {
            (*it)();
        }
        break;
    case QEvent::MouseMove: {
        // Over the bare area of a frame or of the window (not over one of
        // their controls).
        auto* w = qobject_cast<QWidget*>(watched);
        if (!w || w->window() != this)
            break;
        const QPoint pos = static_cast<QMouseEvent*>(event)->position().toPoint();
        if (w->childAt(pos))
            break;
        if (m_restAreas.contains(w)) {
            DefaultTipStatus();
            restLinks();
        } else if (auto it = m_tips.constFind(w); it != m_tips.constEnd()) {
            (*it)();
        }
        break;
    }
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

// ====================================================== resize and unload ===

void frmMain::changeEvent(QEvent* event) {
    if (event->type() == QEvent::WindowStateChange) {
        if (isMinimized()) {
            if (frmProgress* p = forms::progressIfLoaded())
                p->hide();
        } else if (isVisible()) {
            forms::progress()->show();
        }
    }
    QWidget::changeEvent(event);
}

void frmMain::unloadOtherWindows() {
    UnloadBubble();
    unloadTextOutputWindows();
    if (frmLoad* l = forms::loadIfLoaded()) {
        l->hide();
        l->deleteLater();
    }
    if (frmProgress* p = forms::progressIfLoaded()) {
        p->allowClose();
        p->close();
    }
    if (frmWelcome* w = forms::welcomeIfLoaded()) {
        w->hide();
        w->deleteLater();
    }
}

// The temporary files of the output windows go when the program ends,
// whichever way the exit question was answered.
static void removeTemporaryFiles() {
    removeWrittenFile(QStringLiteral("/Data/~messageboards.txt"));
    removeWrittenFile(QStringLiteral("/Data/~HTMLCode.html"));
}

void frmMain::closeEvent(QCloseEvent* event) {
    WriteIniValue(QStringLiteral("Program"), QStringLiteral("iniFirstRun"), QStringLiteral("No"),
                  writableSettingsFile());
    if (character().ChangesMade() == QLatin1String("Yes")) {
        const MsgResult answer = msgBox(QStringLiteral("Do you want to save your current custom "
                                                       "profile changes before doing this?"),
                                        MsgButtons::YesNoCancel, MsgIcon::Question);
        if (answer == MsgResult::Cancel) {
            event->ignore();
            return;
        }
        if (answer == MsgResult::Yes) {
            // A save that was cancelled or failed keeps the window and every
            // choice: closing now would lose the character.
            if (!SaveInformation(QString())) {
                event->ignore();
                return;
            }
            removeTemporaryFiles();
            unloadOtherWindows();
            event->accept();
            return;
        }
    }
    removeTemporaryFiles();
    unloadOtherWindows();
    event->accept();
}

} // namespace tarvo
