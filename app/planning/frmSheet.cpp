#include "frmSheet.h"

#include "appfolder.h"
#include "character.h"
#include "levelchart.h"
#include "planmodels.h"
#include "platform.h"
#include "reftables.h"
#include "shell/accessibility.h"
#include "shell/twips.h"
#include "shell/widgets.h"
#include "yourgame.h"

#include <QDir>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QSplitter>
#include <QTabWidget>
#include <QTableView>
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
    resize(twipsSize(15600, 10800));

    // The player's own game, when one is chosen, is read now (once).
    useChosenGame();

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
    m_tabs->addTab(buildPlanPage(), QStringLiteral("&Level-up planner"));

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
    connect(&c, &Character::levelPlanChanged, this, [this] { showPlan(); });
    // Another game's rules: every number again.
    connect(&rulesNotifier(), &RulesNotifier::rulesChanged, this, [this] {
        showRules();
        refresh();
    });
    refresh();
}

void frmSheet::showRules() {
    const LevellingRules& lv = currentRules().levelling;
    m_lblReminder->setText(
        QStringLiteral("A level-up needs %1 increases of your major or minor skills; more carry "
                       "over to the next level. Set the attributes you aim at and press \"Plan my "
                       "levels\", or type your own plan: tick the %2 attributes to pick at each "
                       "level-up and type how many times each skill rises during that level.")
            .arg(lv.levelupTotal)
            .arg(lv.picksPerLevel));
    m_showing = true;
    for (QSpinBox* spin : m_spnTarget)
        spin->setRange(kLeaveAsIs, lv.attributeCap);
    m_showing = false;
}

QWidget* frmSheet::buildPlanPage() {
    auto* page = new QWidget;
    m_lblReminder = new QLabel(page);
    m_lblReminder->setObjectName(QStringLiteral("lblReminder"));
    m_lblReminder->setWordWrap(true);

    // Targets, one per attribute.
    auto* targets = new QGroupBox(QStringLiteral("Targets"), page);
    targets->setObjectName(QStringLiteral("fraTargets"));
    auto* targetGrid = new QGridLayout(targets);
    for (int a = 0; a < kAttributeCount; ++a) {
        auto* label = new QLabel(attributes()[a] + QLatin1Char(':'), targets);
        auto* spin = new QSpinBox(targets);
        spin->setObjectName(QStringLiteral("spnTarget(%1)").arg(a));
        spin->setAccessibleName(QStringLiteral("Target for %1").arg(attributes()[a]));
        spin->setSingleStep(5);
        spin->setSpecialValueText(QStringLiteral("leave as is"));
        spin->setKeyboardTracking(false);
        label->setBuddy(spin);
        connect(spin, &QSpinBox::valueChanged, this, [this] { targetEdited(); });
        targetGrid->addWidget(label, a / 4, (a % 4) * 2);
        targetGrid->addWidget(spin, a / 4, (a % 4) * 2 + 1);
        m_spnTarget[size_t(a)] = spin;
    }

    auto* excludedLabel = new QLabel(QStringLiteral("Skills you will not t&rain:"), page);
    m_lstExcluded = new QListWidget(page);
    m_lstExcluded->setObjectName(QStringLiteral("lstExcluded"));
    m_lstExcluded->setAccessibleName(QStringLiteral("Skills you will not train"));
    for (const QString& skill : skills()) {
        auto* item = new QListWidgetItem(skill, m_lstExcluded);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
    }
    m_lstExcluded->setMaximumHeight(twips(1500));
    excludedLabel->setBuddy(m_lstExcluded);
    connect(m_lstExcluded, &QListWidget::itemChanged, this,
            [this](QListWidgetItem* item) { exclusionEdited(item); });
    auto* excludedColumn = new QVBoxLayout;
    excludedColumn->addWidget(excludedLabel);
    excludedColumn->addWidget(m_lstExcluded);

    m_cmdPlan = makeButton(page, QStringLiteral("cmdPlan"), QStringLiteral("&Plan my levels"));
    m_cmdReplan = makeButton(page, QStringLiteral("cmdReplan"),
                             QStringLiteral("Plan &after the selected level"));
    m_cmdSaveChart = makeButton(page, QStringLiteral("cmdSaveChart"),
                                QStringLiteral("Save the chart as P&NG..."));
    m_cmdSaveChart->setAccessibleName(QStringLiteral("Save the chart as PNG"));
    connect(m_cmdPlan, &QPushButton::clicked, this, [this] { planLevels(0); });
    connect(m_cmdReplan, &QPushButton::clicked, this, [this] {
        const QModelIndex current = m_tblPlan->currentIndex();
        if (current.isValid())
            planLevels(current.row() + 1);
    });
    connect(m_cmdSaveChart, &QPushButton::clicked, this, [this] { saveChart(); });
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(m_cmdPlan);
    buttons->addWidget(m_cmdReplan);
    buttons->addWidget(m_cmdSaveChart);
    buttons->addStretch();

    auto* top = new QHBoxLayout;
    top->addWidget(targets, 3);
    top->addLayout(excludedColumn, 1);
    top->addLayout(buttons);

    auto* levelsLabel = new QLabel(QStringLiteral("Plan up to &level:"), page);
    m_spnLevels = new QSpinBox(page);
    m_spnLevels->setObjectName(QStringLiteral("spnLevels"));
    m_spnLevels->setAccessibleName(QStringLiteral("Plan up to level"));
    m_spnLevels->setRange(1, kHighestPlannedLevel);
    levelsLabel->setBuddy(m_spnLevels);
    connect(m_spnLevels, &QSpinBox::valueChanged, this, [this](int v) { levelsChanged(v); });
    m_lblResult = new QLabel(page);
    m_lblResult->setObjectName(QStringLiteral("lblResult"));
    m_lblResult->setWordWrap(true);
    m_lblResult->setTextInteractionFlags(Qt::TextSelectableByMouse);
    // Read with the page, not a stop of its own on the way through it.
    m_lblResult->setFocusPolicy(Qt::NoFocus);
    auto* levelsRow = new QHBoxLayout;
    levelsRow->addWidget(levelsLabel);
    levelsRow->addWidget(m_spnLevels);
    levelsRow->addWidget(m_lblResult, 1);

    // The plan and its outcome, one row per level, scrolling together.
    m_planModel = new PlanModel(this);
    m_outcomeModel = new OutcomeModel(this);
    const auto makeTable = [&](const QString& name, const QString& accessible,
                               QAbstractItemModel* model) {
        auto* table = new QTableView(page);
        table->setObjectName(name);
        table->setAccessibleName(accessible);
        table->setModel(model);
        table->setWordWrap(false);
        table->setTabKeyNavigation(false);
        table->setSelectionMode(QAbstractItemView::SingleSelection);
        table->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
        table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
        table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 8);
        return table;
    };
    m_tblPlan =
        makeTable(QStringLiteral("tblPlan"),
                  QStringLiteral("Attributes picked and skill increases per level"), m_planModel);
    m_tblPlan->setEditTriggers(QAbstractItemView::AnyKeyPressed | QAbstractItemView::DoubleClicked |
                               QAbstractItemView::EditKeyPressed);
    nameCellEditors(m_tblPlan);
    m_tblOutcome =
        makeTable(QStringLiteral("tblOutcome"),
                  QStringLiteral("Attributes, Health and skills by level"), m_outcomeModel);
    m_tblOutcome->setEditTriggers(QAbstractItemView::NoEditTriggers);
    connect(m_tblPlan->verticalScrollBar(), &QScrollBar::valueChanged,
            m_tblOutcome->verticalScrollBar(), &QScrollBar::setValue);
    connect(m_tblOutcome->verticalScrollBar(), &QScrollBar::valueChanged,
            m_tblPlan->verticalScrollBar(), &QScrollBar::setValue);
    connect(m_planModel, &PlanModel::levelEdited, this,
            [this](int row, const PlannedLevel& level) { levelEdited(row, level); });
    connect(m_tblPlan->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) {
                m_cmdReplan->setEnabled(current.isValid() && m_sheet.complete());
            });

    m_chart = new LevelChart(page);
    m_chart->setObjectName(QStringLiteral("chtLevels"));
    m_chart->setAccessibleName(QStringLiteral("Chart of the attributes and Health by level"));
    m_chart->setAccessibleDescription(
        QStringLiteral("The same numbers as the table of attributes, Health and skills by level; "
                       "dashed lines mark the targets."));

    auto* tables = new QSplitter(Qt::Vertical, page);
    tables->setObjectName(QStringLiteral("splTables"));
    tables->addWidget(m_tblPlan);
    tables->addWidget(m_tblOutcome);
    auto* split = new QSplitter(Qt::Horizontal, page);
    split->setObjectName(QStringLiteral("splPlanner"));
    split->addWidget(tables);
    split->addWidget(m_chart);
    split->setStretchFactor(0, 1);
    split->setStretchFactor(1, 1);
    split->setSizes({twips(8400), twips(6600)});

    m_lstWarnings = new QListWidget(page);
    m_lstWarnings->setObjectName(QStringLiteral("lstWarnings"));
    m_lstWarnings->setAccessibleName(QStringLiteral("Warnings"));
    m_lstWarnings->setMaximumHeight(twips(1100));

    auto* layout = new QVBoxLayout(page);
    layout->addWidget(m_lblReminder);
    layout->addLayout(top);
    layout->addLayout(levelsRow);
    layout->addWidget(split, 1);
    layout->addWidget(m_lstWarnings);
    showRules();
    sizeColumns();
    return page;
}

void frmSheet::refresh() {
    const Character& c = character();
    m_sheet = computeSheet(c.sheetChoices());
    setWindowTitle(sheetTitle(c));
    const QString text = sheetText(m_sheet, sheetTitle(c), true);
    if (text != m_shownSheet) {
        m_shownSheet = text;
        m_txtSheet->setMarkdown(text);
    }
    m_planModel->setSheet(m_sheet);
    m_outcomeModel->setSkillColumns(m_planModel->skillColumns());
    sizeColumns();
    showPlan();
}

QString frmSheet::sheetAsText(bool markdown) const {
    return sheetText(m_sheet, sheetTitle(character()), markdown,
                     character().levelPlan().isEmpty() ? QList<LevelOutcome>() : m_outcome);
}

void frmSheet::sizeColumns() {
    // Once, and again only when the skills change places: measuring every
    // column at each change would cost more than the change itself.
    if (m_sizedColumns == m_planModel->skillColumns())
        return;
    m_sizedColumns = m_planModel->skillColumns();
    const QFontMetrics fm = m_tblPlan->horizontalHeader()->fontMetrics();
    const int pad = fm.horizontalAdvance(QStringLiteral("MM"));
    const int number = fm.horizontalAdvance(QStringLiteral("100 (+5)")) + pad;
    for (QTableView* table : {m_tblPlan, m_tblOutcome}) {
        const QAbstractItemModel* model = table->model();
        for (int col = 0; col < model->columnCount(); ++col) {
            const QString header = model->headerData(col, Qt::Horizontal).toString();
            const int width = std::max(fm.horizontalAdvance(header) + pad,
                                       table == m_tblPlan ? fm.height() + pad : number);
            table->horizontalHeader()->resizeSection(col, width);
        }
    }
}

void frmSheet::showPlan() {
    const LevelPlan& plan = character().levelPlan();
    if (m_optimised && !(m_optimised->plan == plan))
        m_optimised.reset();
    m_outcome = projectLevels(m_sheet, plan);
    const AttributeValues targets = planTargets(plan, m_sheet);
    m_showing = true;
    if (m_spnLevels->value() != plan.levels.size() + 1)
        m_spnLevels->setValue(int(plan.levels.size()) + 1);
    for (int a = 0; a < kAttributeCount; ++a)
        if (m_spnTarget[size_t(a)]->value() != targets[size_t(a)])
            m_spnTarget[size_t(a)]->setValue(targets[size_t(a)]);
    for (int s = 0; s < kSkillCount; ++s) {
        const Qt::CheckState state = plan.excluded[size_t(s)] ? Qt::Checked : Qt::Unchecked;
        if (m_lstExcluded->item(s)->checkState() != state)
            m_lstExcluded->item(s)->setCheckState(state);
    }
    m_planModel->setPlan(plan, m_outcome);
    m_outcomeModel->setOutcome(m_outcome);
    m_chart->showLevels(m_sheet, m_outcome, targets, int(plan.levels.size()) + 1);

    QStringList warnings;
    for (const LevelOutcome& o : std::as_const(m_outcome))
        for (const QString& w : o.warnings)
            warnings << QStringLiteral("Level %1: %2").arg(o.level).arg(w);
    if (!m_sheet.complete() && !plan.levels.isEmpty())
        warnings << QStringLiteral(
            "The levels are worked out once every choice of the character is made.");
    if (warnings != m_shownWarnings) {
        m_shownWarnings = warnings;
        m_lstWarnings->clear();
        m_lstWarnings->addItems(warnings);
    }
    const QString result = resultText(targets);
    if (m_lblResult->text() != result) {
        m_lblResult->setText(result);
        m_lblResult->setAccessibleName(result);
    }
    m_cmdPlan->setEnabled(m_sheet.complete());
    m_cmdReplan->setEnabled(m_sheet.complete() && m_tblPlan->currentIndex().isValid());
    m_cmdSaveChart->setEnabled(m_sheet.complete());
    m_showing = false;
}

QString frmSheet::resultText(const AttributeValues& targets) const {
    if (!m_sheet.complete())
        return {};
    if (m_optimised)
        return m_optimised->summary;
    if (std::all_of(targets.begin(), targets.end(), [](int t) { return t == kLeaveAsIs; }))
        return QStringLiteral("No targets set.");
    const int reached = targetsReachedAt(m_sheet, m_outcome, targets);
    if (reached == 1)
        return QStringLiteral("The targets are met at creation.");
    if (reached)
        return QStringLiteral("The plan meets the targets at level %1.").arg(reached);
    const AttributeValues& last =
        m_outcome.isEmpty() ? m_sheet.attributes : m_outcome.last().attributes;
    QStringList short_;
    for (int a = 0; a < kAttributeCount; ++a)
        if (targets[size_t(a)] != kLeaveAsIs && last[size_t(a)] < targets[size_t(a)])
            short_ << QStringLiteral("%1 %2 of %3")
                          .arg(attributes()[a])
                          .arg(last[size_t(a)])
                          .arg(targets[size_t(a)]);
    return QStringLiteral("At level %1 the plan leaves %2.")
        .arg(m_outcome.size() + 1)
        .arg(short_.join(QStringLiteral(", ")));
}

void frmSheet::levelEdited(int row, const PlannedLevel& level) {
    LevelPlan plan = character().levelPlan();
    if (row < 0 || row >= plan.levels.size())
        return;
    plan.levels[row] = level;
    character().setLevelPlan(plan);
}

void frmSheet::levelsChanged(int highest) {
    if (m_showing)
        return;
    LevelPlan plan = character().levelPlan();
    plan.levels.resize(std::max(0, highest - 1));
    character().setLevelPlan(plan);
}

void frmSheet::targetEdited() {
    if (m_showing)
        return;
    LevelPlan plan = character().levelPlan();
    AttributeValues targets{};
    for (int a = 0; a < kAttributeCount; ++a)
        targets[size_t(a)] = m_spnTarget[size_t(a)]->value();
    if (!plan.targets && targets == defaultTargets(m_sheet))
        return;
    plan.targets = targets;
    character().setLevelPlan(plan);
}

void frmSheet::exclusionEdited(QListWidgetItem* item) {
    if (m_showing)
        return;
    LevelPlan plan = character().levelPlan();
    plan.excluded[size_t(m_lstExcluded->row(item))] = item->checkState() == Qt::Checked;
    character().setLevelPlan(plan);
}

void frmSheet::planLevels(int keep) {
    if (!m_sheet.complete())
        return;
    const LevelPlan& plan = character().levelPlan();
    int last = m_spnLevels->value();
    if (last <= keep + 1) {
        // Nothing to plan yet: as far as the targets need.
        const OptimisedPlan probe = optimiseLevels(m_sheet, plan, kHighestPlannedLevel, keep);
        last = probe.fewestLevelUps < 0
                   ? kHighestPlannedLevel
                   : std::clamp(keep + 1 + probe.fewestLevelUps, keep + 2, kHighestPlannedLevel);
    }
    OptimisedPlan result = optimiseLevels(m_sheet, plan, last, keep);
    m_optimised = result;
    character().setLevelPlan(result.plan);
    showPlan(); // the summary, when the plan was already this one
}

void frmSheet::saveChart() {
    FileDialogSpec spec;
    spec.kind = FileDialogSpec::Kind::Save;
    spec.title = QStringLiteral("Save the Chart As");
    spec.filters = {{QStringLiteral("PNG Pictures (*.png)"), QStringLiteral("*.png")}};
    spec.defaultSuffix = QStringLiteral("png");
    const QString name = character().CharacterName();
    spec.initialName =
        (name.isEmpty() ? QStringLiteral("Character") : name) + QStringLiteral(" levels.png");
    spec.initialFolder = dialogFolder();
    spec.confirmOverwrite = true;
    QString file = platform().fileDialog(spec);
    if (file.isEmpty())
        return;
    // The dialog adds the suffix only to a name without any.
    if (!file.endsWith(QStringLiteral(".png"), Qt::CaseInsensitive))
        file += QStringLiteral(".png");
    QString reason;
    if (!m_chart->savePng(file, &reason))
        msgBox(QStringLiteral("The chart could not be saved to %1: %2")
                   .arg(QDir::toNativeSeparators(file), reason),
               MsgButtons::OK, MsgIcon::Exclamation);
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
    // Once: the player's own game, when one is found, is offered.
    offerFoundGameOnce();
    return window;
}

} // namespace tarvo
