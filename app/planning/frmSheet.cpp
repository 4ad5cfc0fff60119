#include "frmSheet.h"

#include "character.h"
#include "platform.h"
#include "reftables.h"
#include "shell/accessibility.h"
#include "shell/twips.h"
#include "shell/widgets.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableWidget>
#include <QTextEdit>
#include <QVBoxLayout>

namespace tarvo {

namespace {

QPointer<frmSheet>& instance() {
    static QPointer<frmSheet> window;
    return window;
}

QString sheetTitle(const Character& c) {
    if (!c.CharacterName().isEmpty())
        return c.CharacterName() + QStringLiteral(": Character Sheet");
    return QStringLiteral("Character Sheet");
}

} // namespace

frmSheet::frmSheet() {
    setObjectName(QStringLiteral("frmSheet"));
    setWindowTitle(QStringLiteral("Character Sheet"));
    setWindowFlags(Qt::Window);
    setAttribute(Qt::WA_DeleteOnClose);
    resize(twipsSize(11400, 7800));

    m_tabs = new QTabWidget(this);
    m_tabs->setObjectName(QStringLiteral("tabPages"));
    m_tabs->setAccessibleName(QStringLiteral("Pages"));

    // The sheet.
    auto* sheetPage = new QWidget;
    // A text box to be read (a screen reader's "text", read-only), with a
    // caret the arrows move.
    m_txtSheet = new QTextEdit(sheetPage);
    m_txtSheet->setObjectName(QStringLiteral("txtSheet"));
    m_txtSheet->setReadOnly(true);
    m_txtSheet->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    m_txtSheet->setTabChangesFocus(true);
    m_txtSheet->setAccessibleName(QStringLiteral("Character sheet"));
    m_cmdCopyText =
        makeButton(sheetPage, QStringLiteral("cmdCopyText"), QStringLiteral("Copy as &Text"));
    m_cmdCopyMarkdown = makeButton(sheetPage, QStringLiteral("cmdCopyMarkdown"),
                                   QStringLiteral("Copy as &Markdown"));
    connect(m_cmdCopyText, &QPushButton::clicked, this,
            [this] { platform().setClipboardText(sheetAsText(false)); });
    connect(m_cmdCopyMarkdown, &QPushButton::clicked, this,
            [this] { platform().setClipboardText(sheetAsText(true)); });
    auto* copyRow = new QHBoxLayout;
    copyRow->addWidget(m_cmdCopyText);
    copyRow->addWidget(m_cmdCopyMarkdown);
    copyRow->addStretch();
    auto* sheetLayout = new QVBoxLayout(sheetPage);
    sheetLayout->addWidget(m_txtSheet);
    sheetLayout->addLayout(copyRow);
    m_tabs->addTab(sheetPage, QStringLiteral("&Sheet"));

    // The level-up planner.
    auto* planPage = new QWidget;
    m_lblReminder = new QLabel(
        QStringLiteral("Each level-up needs ten increases of your major or minor skills. For each "
                       "level, type beside up to three attributes how many times the skills they "
                       "govern (major, minor or miscellaneous) will rise during that level; leave "
                       "the others empty. Luck always rises by 1."),
        planPage);
    m_lblReminder->setObjectName(QStringLiteral("lblReminder"));
    m_lblReminder->setWordWrap(true);
    auto* levelsLabel = new QLabel(QStringLiteral("Plan up to &level:"), planPage);
    m_spnLevels = new QSpinBox(planPage);
    m_spnLevels->setObjectName(QStringLiteral("spnLevels"));
    m_spnLevels->setAccessibleName(QStringLiteral("Plan up to level"));
    m_spnLevels->setRange(1, kHighestPlannedLevel);
    levelsLabel->setBuddy(m_spnLevels);
    connect(m_spnLevels, &QSpinBox::valueChanged, this, [this](int v) { levelsChanged(v); });

    m_tblPlan = new QTableWidget(0, kAttributeCount, planPage);
    m_tblPlan->setObjectName(QStringLiteral("tblPlan"));
    m_tblPlan->setAccessibleName(QStringLiteral("Planned skill increases per level"));
    m_tblPlan->setHorizontalHeaderLabels(attributes());
    m_tblPlan->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    connect(m_tblPlan, &QTableWidget::itemChanged, this, [this] { planEdited(); });
    nameCellEditors(m_tblPlan);

    m_tblOutcome = new QTableWidget(0, kAttributeCount + 1, planPage);
    m_tblOutcome->setObjectName(QStringLiteral("tblOutcome"));
    m_tblOutcome->setAccessibleName(QStringLiteral("Attributes and Health by level"));
    m_tblOutcome->setHorizontalHeaderLabels(attributes() + QStringList{QStringLiteral("Health")});
    m_tblOutcome->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_tblOutcome->setEditTriggers(QAbstractItemView::NoEditTriggers);

    m_lstWarnings = new QListWidget(planPage);
    m_lstWarnings->setObjectName(QStringLiteral("lstWarnings"));
    m_lstWarnings->setAccessibleName(QStringLiteral("Warnings"));
    m_lstWarnings->setMaximumHeight(twips(1100));

    auto* levelsRow = new QHBoxLayout;
    levelsRow->addWidget(levelsLabel);
    levelsRow->addWidget(m_spnLevels);
    levelsRow->addStretch();
    auto* planLayout = new QVBoxLayout(planPage);
    planLayout->addWidget(m_lblReminder);
    planLayout->addLayout(levelsRow);
    planLayout->addWidget(m_tblPlan, 1);
    planLayout->addWidget(m_tblOutcome, 1);
    planLayout->addWidget(m_lstWarnings);
    m_tabs->addTab(planPage, QStringLiteral("&Level-up planner"));

    m_cmdClose = makeButton(this, QStringLiteral("cmdClose"), QStringLiteral("&Close"));
    connect(m_cmdClose, &QPushButton::clicked, this, [this] { close(); });
    auto* bottom = new QHBoxLayout;
    bottom->addStretch();
    bottom->addWidget(m_cmdClose);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs);
    layout->addLayout(bottom);

    // Every choice, wherever it is made, shows here at once.
    Character& c = character();
    for (auto signal : {&Character::reviewChanged, &Character::groupChanged})
        connect(&c, signal, this, [this] { refresh(); });
    connect(&c, &Character::skillsChanged, this, [this] { refresh(); });
    connect(&c, &Character::levelPlanChanged, this, [this] { refresh(); });
    refresh();
}

void frmSheet::refresh() {
    const Character& c = character();
    m_sheet = computeSheet(c.sheetChoices());
    setWindowTitle(sheetTitle(c));
    m_txtSheet->setMarkdown(sheetText(m_sheet, sheetTitle(c), true));
    showPlan();
}

QString frmSheet::sheetAsText(bool markdown) const {
    return sheetText(m_sheet, sheetTitle(character()), markdown);
}

void frmSheet::showPlan() {
    const LevelPlan& plan = character().levelPlan();
    m_showing = true;
    m_spnLevels->setValue(int(plan.levels.size()) + 1);
    m_tblPlan->setRowCount(int(plan.levels.size()));
    QStringList rows;
    for (int i = 0; i < plan.levels.size(); ++i) {
        rows << QStringLiteral("Level %1").arg(i + 2);
        for (int a = 0; a < kAttributeCount; ++a) {
            const int n = plan.levels[i].increases[size_t(a)];
            auto* item = m_tblPlan->item(i, a);
            if (!item) {
                item = new QTableWidgetItem;
                m_tblPlan->setItem(i, a, item);
            }
            item->setText(n < 0 ? QString() : QString::number(n));
            // An empty cell is read as such.
            item->setData(Qt::AccessibleTextRole, n < 0 ? QStringLiteral("none") : item->text());
        }
    }
    m_tblPlan->setVerticalHeaderLabels(rows);

    const QList<LevelOutcome> outcome = projectLevels(m_sheet, plan);
    m_tblOutcome->setRowCount(int(outcome.size()));
    m_tblOutcome->setVerticalHeaderLabels(rows);
    m_lstWarnings->clear();
    for (int i = 0; i < outcome.size(); ++i) {
        const LevelOutcome& o = outcome[i];
        for (int a = 0; a < kAttributeCount; ++a) {
            QString text = QString::number(o.attributes[size_t(a)]);
            if (o.bonus[size_t(a)])
                text += QStringLiteral(" (+%1)").arg(o.bonus[size_t(a)]);
            m_tblOutcome->setItem(i, a, new QTableWidgetItem(text));
        }
        m_tblOutcome->setItem(i, kAttributeCount,
                              new QTableWidgetItem(QString::number(o.health())));
        for (const QString& w : o.warnings)
            m_lstWarnings->addItem(QStringLiteral("Level %1: %2").arg(o.level).arg(w));
    }
    m_lstWarnings->addItems(planWarnings(m_sheet, plan));
    if (!m_sheet.complete() && !plan.levels.isEmpty())
        m_lstWarnings->addItem(QStringLiteral(
            "The levels are worked out once every choice of the character is made."));
    m_showing = false;
}

void frmSheet::planEdited() {
    if (m_showing)
        return;
    LevelPlan plan;
    for (int r = 0; r < m_tblPlan->rowCount(); ++r) {
        PlannedLevel level;
        for (int a = 0; a < kAttributeCount; ++a) {
            const QTableWidgetItem* item = m_tblPlan->item(r, a);
            bool ok = false;
            const int n = item ? item->text().trimmed().toInt(&ok) : -1;
            level.increases[size_t(a)] = ok && n >= 0 ? std::min(n, 99) : -1;
        }
        plan.levels << level;
    }
    character().setLevelPlan(plan);
    showPlan();
}

void frmSheet::levelsChanged(int highest) {
    if (m_showing)
        return;
    LevelPlan plan = character().levelPlan();
    while (plan.levels.size() > highest - 1)
        plan.levels.removeLast();
    while (plan.levels.size() < highest - 1)
        plan.levels << PlannedLevel();
    character().setLevelPlan(plan);
    showPlan();
}

void frmSheet::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

frmSheet* showCharacterSheet() {
    QPointer<frmSheet>& window = instance();
    if (!window)
        window = new frmSheet();
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}

} // namespace tarvo
