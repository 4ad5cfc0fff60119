#include "frmWizard.h"

#include "appfolder.h"
#include "appinfo.h"
#include "character.h"
#include "ini/safewrite.h"
#include "output/frmLoad.h"
#include "output/profileactions.h"
#include "planner.h"
#include "planning/frmProgress.h"
#include "platform.h"
#include "shell/forms.h"
#include "shell/frmBubbleD.h"
#include "shell/frmWelcome.h"
#include "shell/twips.h"
#include "shell/widgets.h"
#include "wizard/frmMain.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QSlider>
#include <QTimer>

namespace tarvo {

namespace {

// One of the four steps: a captioned frame with its prompt at the top.
QGroupBox* makeStepFrame(QWidget* parent, int index, const QString& caption, const QString& prompt,
                         const QRect& r) {
    QGroupBox* f = makeFrame(parent, indexed("fmeSteps", index), caption, r);
    f->setAccessibleName(caption);
    f->setAccessibleDescription(prompt);
    makeLabel(f, indexed("lblPrompt", index), prompt,
              QRect(twips(120), twips(270), r.width() - twips(240), twips(420)));
    return f;
}

const QString kFewKeywords = QStringLiteral(
    "You have not selected all three keywords, TARVO2 will use all avaliable information to "
    "construct a new character, but some information may be missing. Do you want to continue "
    "anyway?");
const QString kTooEven = QStringLiteral(
    "The Character Planning Assistant was unable to make an informed choice from your Preferred "
    "Activities. Please re adjust the scroll bars so that they reflect a 'less even' status "
    "together.");

} // namespace

frmWizard::frmWizard() {
    setObjectName(QStringLiteral("frmWizard"));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setAttribute(Qt::WA_DeleteOnClose);
    paintBlue(this);
    setFixedSize(twipsSize(8400, 6180));

    m_lblTitle = makeLabel(this, QStringLiteral("lblTitle"),
                           QStringLiteral("TARVO2 Character Planning Assistant"),
                           twipsRect(120, 120, 8160, 420));
    QFont title = m_lblTitle->font();
    title.setBold(true);
    title.setPointSizeF(title.pointSizeF() * 1.5);
    m_lblTitle->setFont(title);

    // Step one: the three sliders, casting on top.
    m_fmeSteps[0] =
        makeStepFrame(this, 0, QStringLiteral("STEP ONE: Preferred Activities"),
                      QStringLiteral("Increase the sliders to reflect how much time your "
                                     "character will spend doing the following in "
                                     "Morrowind:"),
                      twipsRect(120, 600, 8160, 1800));
    const char* const activities[3] = {"Sneaking around", "Physically fighting", "Casting spells"};
    // Made from the top down, so that a screen reader meets them in the
    // order they are seen.
    for (int i = 2; i >= 0; --i) {
        const int top = 780 + (2 - i) * 330;
        QLabel* caption = makeLabel(m_fmeSteps[0], indexed("lblActivity", i),
                                    QLatin1String(activities[i]), twipsRect(240, top, 2040, 285));
        auto* s = new QSlider(Qt::Horizontal, m_fmeSteps[0]);
        s->setObjectName(indexed("HScroll", i));
        s->setGeometry(twipsRect(2400, top, 5520, 255));
        s->setRange(0, kSliderMaximum);
        s->setSingleStep(1);
        s->setPageStep(4);
        s->setFocusPolicy(Qt::StrongFocus);
        s->setAccessibleName(QLatin1String(activities[i]));
        caption->setBuddy(s);
        m_HScroll[size_t(i)] = s;
    }

    // Step two: six keywords, three of which are wanted.
    m_fmeSteps[1] =
        makeStepFrame(this, 1, QStringLiteral("STEP TWO: Keywords"),
                      QStringLiteral("Which THREE keywords will best describe your future "
                                     "character?"),
                      twipsRect(120, 2460, 8160, 1320));
    const char* const keywords[6] = {"Destructive", "Quick",    "Strong",
                                     "Intelligent", "Sociable", "Defensive"};
    for (int i = 0; i < 6; ++i) {
        auto* c = new QCheckBox(QLatin1String(keywords[i]), m_fmeSteps[1]);
        c->setObjectName(indexed("chkKeywords", i));
        c->setGeometry(twipsRect(240 + (i % 3) * 2640, 660 + (i / 3) * 315, 2400, 285));
        c->setAccessibleName(QLatin1String(keywords[i]));
        m_chkKeywords[size_t(i)] = c;
    }

    // Steps three and four: one answer each.
    m_fmeSteps[2] = makeStepFrame(this, 2, QStringLiteral("STEP THREE: Others"),
                                  QStringLiteral("Your character will enjoy more of what:"),
                                  twipsRect(120, 3840, 4020, 1620));
    m_fmeSteps[3] = makeStepFrame(this, 3, QStringLiteral("STEP FOUR: Personal"),
                                  QStringLiteral("Your character will spend more time:"),
                                  twipsRect(4260, 3840, 4020, 1620));
    const char* const others[3] = {"Hurting others", "Helping others", "Using others"};
    const char* const personal[3] = {"Wandering aimlessly", "Adventuring on task",
                                     "Staying close to home"};
    m_optOthers = new QButtonGroup(this);
    m_optPersonal = new QButtonGroup(this);
    for (int i = 0; i < 3; ++i) {
        auto* o = new QRadioButton(QLatin1String(others[i]), m_fmeSteps[2]);
        o->setObjectName(indexed("optOthers", i));
        o->setGeometry(twipsRect(240, 720 + i * 285, 3600, 270));
        o->setAccessibleName(QLatin1String(others[i]));
        m_optOthers->addButton(o, i);
        auto* p = new QRadioButton(QLatin1String(personal[i]), m_fmeSteps[3]);
        p->setObjectName(indexed("optPersonal", i));
        p->setGeometry(twipsRect(240, 720 + i * 285, 3600, 270));
        p->setAccessibleName(QLatin1String(personal[i]));
        m_optPersonal->addButton(p, i);
    }

    m_cmdBuild = new QPushButton(QStringLiteral("&Build my character!"), this);
    m_cmdBuild->setObjectName(QStringLiteral("cmdBuild"));
    m_cmdBuild->setGeometry(twipsRect(4260, 5580, 2460, 420));
    m_cmdBuild->setToolTip(QStringLiteral("Click to generate your character and view its "
                                          "statistics and/or modify its statistics."));
    m_cmdBuild->setAccessibleName(QStringLiteral("Build my character!"));
    m_cmdClose = new QPushButton(QStringLiteral("C&lose"), this);
    m_cmdClose->setObjectName(QStringLiteral("cmdClose"));
    m_cmdClose->setGeometry(twipsRect(6840, 5580, 1440, 420));
    m_cmdClose->setToolTip(QStringLiteral("Click to close the Character Planning Assistant and "
                                          "return to the welcome screen."));
    m_cmdClose->setAccessibleName(QStringLiteral("Close"));

    // Tab goes down the window as it reads.
    QWidget* order[] = {m_HScroll[2], m_HScroll[1], m_HScroll[0]};
    setTabOrder(order[0], order[1]);
    setTabOrder(order[1], order[2]);
    setTabOrder(order[2], m_chkKeywords[0]);
    for (int i = 0; i < 5; ++i)
        setTabOrder(m_chkKeywords[size_t(i)], m_chkKeywords[size_t(i + 1)]);
    setTabOrder(m_chkKeywords[5], m_optOthers->button(0));
    setTabOrder(m_optOthers->button(0), m_optPersonal->button(0));
    setTabOrder(m_optPersonal->button(0), m_cmdBuild);
    setTabOrder(m_cmdBuild, m_cmdClose);

    Form_Load();

    for (int i = 0; i < 3; ++i)
        connect(m_HScroll[size_t(i)], &QSlider::valueChanged, this,
                [this, i] { HScroll_Change(i); });
    for (int i = 0; i < 6; ++i)
        connect(m_chkKeywords[size_t(i)], &QCheckBox::toggled, this,
                [this, i] { chkKeywords_Click(i); });
    connect(m_cmdBuild, &QPushButton::clicked, this, [this] { cmdBuild_Click(); });
    connect(m_cmdClose, &QPushButton::clicked, this, &QWidget::close);
}

void frmWizard::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // The wizard's windows are loaded (hidden) while the user answers, so
    // that a build only has to fill and show them.
    if (!event->spontaneous())
        QTimer::singleShot(0, this, [] {
            forms::main();
            forms::progress();
        });
}

void frmWizard::Form_Load() {
    setWindowTitle(QStringLiteral("Character Generation Wizard"));
    if (frmMain* m = forms::mainIfLoaded())
        setWindowIcon(m->windowIcon());
    m_optOthers->button(0)->setChecked(true);
    m_optPersonal->button(0)->setChecked(true);
    KeywordState.fill(QStringLiteral("False"));
    KeywordCount = 0;
    for (QSlider* s : m_HScroll)
        s->setValue(1);
}

void frmWizard::HScroll_Change(int index) {
    QSlider* s = m_HScroll[size_t(index)];
    if (s->value() == 0)
        s->setValue(1);
}

void frmWizard::chkKeywords_Click(int index) {
    QCheckBox* box = m_chkKeywords[size_t(index)];
    KeywordCount += box->isChecked() ? 1 : -1;
    // A fourth keyword is refused: clearing the box runs this handler again,
    // which brings the count back to three.
    if (KeywordCount == 4)
        box->setChecked(false);
    KeywordState[size_t(index)] =
        box->isChecked() ? QStringLiteral("True") : QStringLiteral("False");
}

void frmWizard::cmdBuild_Click() {
    int ticked = 0;
    for (QCheckBox* c : m_chkKeywords)
        ticked += c->isChecked() ? 1 : 0;
    if (ticked != 3 && msgBox(kFewKeywords, MsgButtons::YesNo, MsgIcon::Question) != MsgResult::Yes)
        return;
    ReadOptions();
}

void frmWizard::ReadOptions() {
    PlannerAnswers answers;
    answers.casting = m_HScroll[2]->value();
    answers.fighting = m_HScroll[1]->value();
    answers.sneaking = m_HScroll[0]->value();
    for (int i = 0; i < 6; ++i)
        answers.keywords[size_t(i)] = KeywordState[size_t(i)] == QLatin1String("True");
    answers.others = qMax(0, m_optOthers->checkedId());
    answers.personal = qMax(0, m_optPersonal->checkedId());
    const std::optional<PlannedCharacter> plan = planCharacter(answers);
    if (!plan) {
        platform().message(kTooEven, MsgButtons::OK, MsgIcon::Exclamation, m_lblTitle->text());
        return;
    }

    // The file is written whole, so nothing of an earlier build survives in
    // it; it exists only until the wizard has taken the character.
    const QString file = writablePath(QStringLiteral("Data/CharacterGen.MWC"));
    const QString date =
        QLocale::system().toString(QDateTime::currentDateTime(), QLocale::ShortFormat);
    QString failure;
    if (!replaceFileContents(file, composePlannedProfile(*plan, date), Durability::Working,
                             &failure)) {
        msgBox(QStringLiteral("TARVO2 could not write your planned character to %1: %2\n\n"
                              "Nothing has been changed. Please make sure TARVO2 may write to "
                              "that folder and try again.")
                   .arg(QDir::toNativeSeparators(file), failure),
               MsgButtons::OK, MsgIcon::Exclamation);
        return;
    }

    const bool ownLoader = !forms::loadIfLoaded();
    frmLoad* loader = forms::load();
    forms::main();
    loader->SelectedFile = file;
    const bool applied = loader->FileToProgram();
    QFile::remove(file);
    if (ownLoader)
        delete loader;
    if (!applied)
        return; // the loader told the user; the assistant stays open
    // The loader marks what it applied as saved, but the file is gone: the
    // built character lives only here until the user saves it.
    character().setChangesMade(QStringLiteral("Yes"));

    m_built = true;
    forms::main()->selectStep(6);
    CloseAndContinue(this, QStringLiteral("frmWizard"));
}

void frmWizard::keyPressEvent(QKeyEvent* event) {
    if (event->modifiers() & ~Qt::KeypadModifier) {
        QWidget::keyPressEvent(event);
        return;
    }
    switch (event->key()) {
    case Qt::Key_Escape:
        close();
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (auto* b = qobject_cast<QPushButton*>(focusWidget()))
            b->click();
        else
            m_cmdBuild->click();
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}

void frmWizard::closeEvent(QCloseEvent* event) {
    // Closed by the user: back to the welcome window.
    if (!m_built)
        forms::welcome()->show();
    KeywordState.fill(QString());
    KeywordCount = 0;
    event->accept();
}

void OpenPlanningAssistant(QWidget* welcome) {
    if (forms::mainIfLoaded() && character().ChangesMade() == QLatin1String("Yes")) {
        const MsgResult answer = msgBox(QStringLiteral("Do you want to save your current custom "
                                                       "profile changes before doing this?"),
                                        MsgButtons::YesNoCancel, MsgIcon::Question);
        if (answer == MsgResult::Cancel)
            return;
        if (answer == MsgResult::Yes && !SaveInformation(QString()))
            return;
    }
    auto* assistant = new frmWizard;
    assistant->show();
    assistant->activateWindow();
    // The wizard's windows are unloaded; a build loads them afresh.
    UnloadBubble();
    delete forms::loadIfLoaded();
    delete forms::progressIfLoaded();
    delete forms::mainIfLoaded();
    if (welcome) {
        // Hidden, not closed: closing a reopened welcome window would bring
        // the wizard back.
        welcome->hide();
        welcome->deleteLater();
    }
}

} // namespace tarvo
