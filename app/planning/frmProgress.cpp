#include "frmProgress.h"

#include "character.h"
#include "globals.h"
#include "namebrowser.h"
#include "shell/elide.h"
#include "shell/forms.h"
#include "shell/frmBubbleD.h"
#include "shell/onelinebox.h"
#include "shell/optionbutton.h"
#include "shell/twips.h"
#include "shell/widgets.h"
#include "wizard/frmMain.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QStyleOptionButton>
#include <QStyleOptionFocusRect>
#include <QStylePainter>

namespace tarvo {

namespace {

const QColor kHighlight(255, 255, 0); // a task the reminder points at
const QColor kNormal(255, 255, 255);

// A done box: a click ticks a clear or greyed box and clears a ticked one
// (greyed only ever comes from a loaded profile). The reminder box wraps its
// caption over two lines so that it fits the narrow window.
class TaskCheckBox : public QCheckBox {
public:
    TaskCheckBox(const QString& text, bool wrap, QWidget* parent)
        : QCheckBox(text, parent), m_wrap(wrap) {
        setTristate(true);
    }

protected:
    void nextCheckState() override {
        setCheckState(checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked);
    }

    bool hitButton(const QPoint& pos) const override {
        return m_wrap ? rect().contains(pos) : QCheckBox::hitButton(pos);
    }

    void paintEvent(QPaintEvent* event) override {
        if (!m_wrap) {
            QCheckBox::paintEvent(event);
            return;
        }
        QStylePainter p(this);
        QStyleOptionButton opt;
        initStyleOption(&opt);
        const QString caption = opt.text;
        opt.text.clear();
        QStyleOptionButton indicator = opt;
        indicator.rect = style()->subElementRect(QStyle::SE_CheckBoxIndicator, &opt, this);
        p.drawPrimitive(QStyle::PE_IndicatorCheckBox, indicator);

        const int x = indicator.rect.right() + 1 +
                      style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, &opt, this);
        const QRect textRect(x, 0, width() - x, height());
        const int flags =
            Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap | Qt::TextShowMnemonic;
        p.drawItemText(textRect, flags, palette(), isEnabled(), caption, QPalette::WindowText);
        if (hasFocus()) {
            QStyleOptionFocusRect focus;
            focus.initFrom(this);
            focus.rect = fontMetrics().boundingRect(textRect, flags, caption).adjusted(-1, 0, 1, 0);
            p.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
        }
    }

private:
    bool m_wrap;
};

Qt::CheckState toCheckState(int state) {
    switch (state) {
    case 1:
        return Qt::Checked;
    case 2:
        return Qt::PartiallyChecked;
    default:
        return Qt::Unchecked;
    }
}

int fromCheckState(int state) {
    switch (state) {
    case Qt::Checked:
        return 1;
    case Qt::PartiallyChecked:
        return 2;
    default:
        return 0;
    }
}

// One page of the window: a sunken panel below the option buttons.
QFrame* makePage(QFrame* f, const char* name) {
    f->setObjectName(QLatin1String(name));
    f->setFrameShape(QFrame::StyledPanel);
    f->setFrameShadow(QFrame::Sunken);
    f->setGeometry(twipsRect(120, 540, 3360, 5355));
    return f;
}

// The heading names its page for a screen reader too.
QLabel* makeHeading(QFrame* frame, const char* name, const QString& text) {
    QLabel* l = makeLabel(frame, QLatin1String(name), text, twipsRect(120, 90, 3120, 330),
                          {.wrap = false, .alignment = Qt::AlignLeft | Qt::AlignVCenter});
    setBold(l, 1.1);
    frame->setAccessibleName(text.left(1) + text.mid(1).toLower());
    return l;
}

// The summary boxes in the order of the model's summary lines.
// What each summary box holds, as a screen reader says it.
const char* const kSummaryLabels[frmProgress::kSummaryBoxes] = {"Real name",
                                                                "Class name",
                                                                "Specialization",
                                                                "Character name",
                                                                "Gender",
                                                                "Race",
                                                                "Favourite attribute one",
                                                                "Favourite attribute two",
                                                                "Major skills",
                                                                "Minor skills",
                                                                "Birthsign"};

const char* const kSummaryNames[frmProgress::kSummaryBoxes] = {
    "txtRealName", "txtClassName", "txtClass",     "txtCharacterName", "txtGender",   "txtRace",
    "txtFavAtt1",  "txtFavAtt2",   "txtMjrSkills", "txtMnrSkills",     "txtBirthsign"};

} // namespace

frmProgress::frmProgress() {
    static_assert(kSummaryBoxes == Character::SumCount);
    static_assert(kTaskLines == Character::kTaskCount);
    static_assert(kTaskBoxes == Character::kTaskBoxes);

    setObjectName(QStringLiteral("frmProgress"));
    setWindowTitle(QStringLiteral("Your Progress"));
    paintBlue(this);
    setFixedSize(twipsSize(3600, 6015));

    // The screen switch, and in its place while names are browsed the two
    // buttons of the name browser.
    m_optScreen[0] = new OptionButton(QStringLiteral("&Tasks"), this);
    m_optScreen[0]->setGeometry(twipsRect(120, 120, 1620, 315));
    m_optScreen[1] = new OptionButton(QStringLiteral("&Summary"), this);
    m_optScreen[1]->setGeometry(twipsRect(1860, 120, 1620, 315));
    for (int i = 0; i < 2; ++i) {
        m_optScreen[size_t(i)]->setObjectName(indexed("optScreen", i));
        connect(m_optScreen[size_t(i)], &QRadioButton::toggled, this, [this, i](bool on) {
            if (on)
                optScreen_Click(i);
        });
    }
    m_cmdInsert = new QPushButton(QStringLiteral("&Insert Name"), this);
    m_cmdInsert->setObjectName(QStringLiteral("cmdInsert"));
    m_cmdInsert->setGeometry(twipsRect(120, 90, 1620, 375));
    m_cmdInsert->hide();
    m_cmdCancel = new QPushButton(QStringLiteral("&Cancel"), this);
    m_cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    m_cmdCancel->setGeometry(twipsRect(1860, 90, 1620, 375));
    m_cmdCancel->hide();

    buildSummary();
    buildTasks();
    m_names = new NameBrowser(this);
    makePage(m_names, "fmeName");
    makeHeading(m_names, "lblNameBrowser", QStringLiteral("NAME BROWSER"));
    m_cmdInsert->setEnabled(false);
    connect(m_names, &NameBrowser::nameChosen, this, [this] { AddName(); });
    connect(m_names, &NameBrowser::selectionChanged, m_cmdInsert, &QWidget::setEnabled);
    connect(m_cmdInsert, &QPushButton::clicked, this, [this] { AddName(); });
    connect(m_cmdCancel, &QPushButton::clicked, this, [this] { SuggestCancel(); });

    // Start on the summary screen.
    m_optScreen[1]->setChecked(true);
    m_fmeProgress->hide();
    m_names->hide();

    Character& c = character();
    connect(&c, &Character::summaryChanged, this, &frmProgress::renderSummary);
    connect(&c, &Character::taskChanged, this, &frmProgress::renderTask);
    for (int i = 0; i < kSummaryBoxes; ++i)
        renderSummary(i);
    for (int i = 0; i < kTaskBoxes; ++i)
        renderTask(i);

    // Like the main window, this one sees every key before its controls.
    qApp->installEventFilter(this);
}

frmProgress::~frmProgress() {
    qApp->removeEventFilter(this);
}

void frmProgress::buildSummary() {
    m_fmeSummary = makePage(new QFrame(this), "fmeSummary");
    makeHeading(m_fmeSummary, "lblSummary", QStringLiteral("SUMMARY"));
    for (int i = 0; i < kSummaryBoxes; ++i) {
        auto* t = new QLineEdit(m_fmeSummary);
        t->setObjectName(QLatin1String(kSummaryNames[i]));
        t->setAccessibleName(QLatin1String(kSummaryLabels[i]));
        t->setReadOnly(true);
        t->setGeometry(twipsRect(120, 480 + i * 420, 3120, 330));
        m_summary[size_t(i)] = t;
    }
}

void frmProgress::buildTasks() {
    m_fmeProgress = makePage(new QFrame(this), "fmeProgress");
    makeHeading(m_fmeProgress, "lblTasks", QStringLiteral("TASKS"));
    auto* hint =
        new QLabel(QStringLiteral("You can set yourself tasks to complete here."), m_fmeProgress);
    hint->setObjectName(QStringLiteral("lblTasksHint"));
    hint->setWordWrap(true);
    hint->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    hint->setGeometry(twipsRect(120, 450, 3120, 510));

    for (int i = 0; i < kTaskLines; ++i) {
        const int top = 1020 + i * 480;
        auto* t = new QLineEdit(m_fmeProgress);
        t->setObjectName(indexed("txtTask", i));
        t->setAccessibleName(QStringLiteral("Task %1").arg(i + 1));
        makeOneLine(t);
        t->setGeometry(twipsRect(120, top, 2760, 330));
        connect(t, &QLineEdit::textChanged, this, [i](const QString& text) {
            if (character().taskText(i) != text)
                character().setTaskText(i, text);
        });
        m_txtTask[size_t(i)] = t;

        auto* box = new TaskCheckBox(QString(), false, m_fmeProgress);
        box->setObjectName(indexed("chkTask", i));
        box->setGeometry(twipsRect(2970, top, 300, 330));
        box->setToolTip(QStringLiteral("Done"));
        box->setAccessibleName(QStringLiteral("Task %1 done").arg(i + 1));
        m_chkTask[size_t(i)] = box;
    }
    auto* remind = new TaskCheckBox(QStringLiteral("Remind me of tasks I haven't completed"), true,
                                    m_fmeProgress);
    remind->setObjectName(indexed("chkTask", Character::kReminderBox));
    remind->setGeometry(twipsRect(120, 4500, 3120, 600));
    m_chkTask[Character::kReminderBox] = remind;

    for (int i = 0; i < kTaskBoxes; ++i) {
        connect(m_chkTask[size_t(i)], &QCheckBox::stateChanged, this, [i](int state) {
            const int value = fromCheckState(state);
            if (character().taskState(i) != value)
                character().setTaskState(i, value);
        });
    }
}

void frmProgress::optScreen_Click(int index) {
    m_fmeSummary->setVisible(index == 1);
    m_fmeProgress->setVisible(index == 0);
}

void frmProgress::renderSummary(int box) {
    if (box < 0 || box >= kSummaryBoxes)
        return;
    // A long line ends in "…"; hovering over it or giving it the focus
    // shows it whole.
    showElided(m_summary[size_t(box)], character().summary(box));
}

void frmProgress::renderTask(int i) {
    if (i < 0 || i >= kTaskBoxes)
        return;
    const Character& c = character();
    QCheckBox* box = m_chkTask[size_t(i)];
    {
        const QSignalBlocker block(box);
        box->setCheckState(toCheckState(c.taskState(i)));
    }
    box->setEnabled(c.taskEnabled(i));
    if (i >= kTaskLines)
        return;
    QLineEdit* t = m_txtTask[size_t(i)];
    if (t->text() != c.taskText(i)) {
        const QSignalBlocker block(t);
        t->setText(c.taskText(i));
    }
    QPalette p = t->palette();
    p.setColor(QPalette::Base, c.taskHighlighted(i) ? kHighlight : kNormal);
    t->setPalette(p);
}

void frmProgress::runTaskReminder() {
    if (character().runTaskReminder())
        ShowBubble(QStringLiteral("Task reminder!"),
                   QStringLiteral("You haven't completed your set tasks yet in the tasks window."),
                   3555, 3000);
}

void frmProgress::SwitchWindow() {
    frmMain* m = forms::main();
    m->show();
    m->raise();
    m->activateWindow();
}

bool frmProgress::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && watched->isWidgetType() &&
        static_cast<QWidget*>(watched)->window() == this) {
        if (handleKey(static_cast<QKeyEvent*>(event)))
            return true;
    }
    return QWidget::eventFilter(watched, event);
}

bool frmProgress::handleKey(QKeyEvent* event) {
    const Qt::KeyboardModifiers mods = event->modifiers();
    if (HandleSharedShortcut(event, [this] { SwitchWindow(); }))
        return true;
    if (m_names->isVisible() && m_names->isInsertKey(event)) {
        AddName();
        return true;
    }
    if (event->key() == Qt::Key_Escape && !(mods & (Qt::ControlModifier | Qt::AltModifier))) {
        hide();
        ShowBubble(QStringLiteral("Progress window hidden"),
                   QStringLiteral("You can hide and unhide the Progress Window by pressing the "
                                  "Escape key."),
                   3550, 2940);
        return true;
    }
    return false;
}

void frmProgress::closeEvent(QCloseEvent* event) {
    if (m_allowClose) {
        event->accept();
        return;
    }
    // The user only hides this window; it lives as long as the program.
    event->ignore();
    hide();
}

// --- the name browser ------------------------------------------------------------

void frmProgress::openNameBrowser() {
    for (QRadioButton* o : m_optScreen) {
        o->hide();
        o->setAutoExclusive(false);
        o->setChecked(false);
        o->setAutoExclusive(true);
    }
    m_fmeSummary->hide();
    m_fmeProgress->hide();
    m_names->show();
    m_cmdInsert->show();
    m_cmdCancel->show();
    m_names->open(globals().NameCategory);
    show();
    raise();
}

void frmProgress::AddName() {
    const QString name = m_names->selectedName();
    // Nothing chosen: the wizard's box keeps what the user typed.
    if (name.isEmpty())
        return;
    const QString& kind = globals().NameCategory;
    if (kind == QLatin1String("Class"))
        character().setClassName(name);
    else if (kind == QLatin1String("Character"))
        character().setCharacterName(name);
    SuggestCancel();
}

void frmProgress::SuggestCancel() {
    m_names->hide();
    m_cmdInsert->hide();
    m_cmdCancel->hide();
    m_optScreen[1]->setChecked(true);
    optScreen_Click(1);
    for (QRadioButton* o : m_optScreen)
        o->show();
    SwitchWindow();
}

void cmdSuggest_Click(int index) {
    frmProgress* p = forms::progress();
    globals().NameCategory = index == 0 ? QStringLiteral("Class") : QStringLiteral("Character");
    p->openNameBrowser();
    // A brief red flash shows where the names are.
    QPalette pal = p->palette();
    pal.setColor(QPalette::Window, QColor(255, 0, 0));
    p->setPalette(pal);
    forms::main()->startReturnBackgroundTimer();
}

} // namespace tarvo
