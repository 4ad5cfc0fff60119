#include "frmPaths.h"

#include "appfolder.h"
#include "character.h"
#include "pathsuggestions.h"
#include "planning/frmProgress.h"
#include "platform.h"
#include "shell/clicklabel.h"
#include "shell/forms.h"
#include "shell/frmBubbleD.h"
#include "shell/twips.h"
#include "shell/widgets.h"
#include "wizard/frmMain.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QPointer>
#include <QPushButton>

namespace tarvo {

namespace {

const QColor kLinkRest(0xC0, 0xC0, 0xC0);
const QColor kLinkHover(0xFF, 0x80, 0x00);

// Prefix, label and heading of each list.
struct ListInfo {
    const char* name;
    const char* prefix;
    const char* label;
    const char* heading;
};
constexpr ListInfo kLists[4] = {
    {"lstSuggestedGuilds", "SG", "Suggested guilds", "About this guild"},
    {"lstSuggestedQuests", "SQ", "Suggested quests", "About this quest"},
    {"lstImportantQuests", "IQ", "Important quests", "About this quest"},
    {"lstHouse", "H", "Suggested house", "About this house"}};

void enableWizardWindows(bool enabled) {
    if (frmMain* m = forms::mainIfLoaded())
        m->setEnabled(enabled);
    if (frmProgress* p = forms::progressIfLoaded())
        p->setEnabled(enabled);
}

QPointer<frmPaths>& openWindow() {
    static QPointer<frmPaths> window;
    return window;
}

} // namespace

frmPaths::frmPaths() {
    setObjectName(QStringLiteral("frmPaths"));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    setAttribute(Qt::WA_DeleteOnClose);
    paintBlue(this);
    setFixedSize(twipsSize(8640, 6360));
    setMouseTracking(true);

    m_lblTitle =
        makeLabel(this, QStringLiteral("lblTitle"), QString(), twipsRect(120, 120, 8400, 420));
    setBold(m_lblTitle, 1.4);
    makeLabel(this, QStringLiteral("lblIntro"),
              QStringLiteral("You can use the Character Path Suggestor to plan what tasks your "
                             "character might be best at. It will make suggestions for certain "
                             "quests, guilds and houses."),
              twipsRect(120, 570, 8400, 480));

    // The four lists down the left-hand side.
    const int tops[4] = {1140, 2400, 3660, 4920};
    const int heights[4] = {960, 960, 960, 330};
    for (int i = 0; i < 4; ++i) {
        QLabel* caption =
            makeLabel(this, QStringLiteral("lblList(%1)").arg(i), QLatin1String(kLists[i].label),
                      twipsRect(120, tops[i], 3600, 270));
        setBold(caption);
        auto* list = new QListWidget(this);
        list->setObjectName(QLatin1String(kLists[i].name));
        list->setGeometry(twipsRect(120, tops[i] + 270, 3600, heights[i]));
        list->setAccessibleName(QLatin1String(kLists[i].label));
        caption->setBuddy(list);
        connect(list, &QListWidget::itemClicked, this,
                [this, i, list](QListWidgetItem* item) { entryClicked(i, list->row(item)); });
        // Arrow keys choose as a click does; focus alone chooses nothing.
        connect(list, &QListWidget::itemSelectionChanged, this, [this, i, list] {
            const QList<QListWidgetItem*> chosen = list->selectedItems();
            if (!chosen.isEmpty())
                entryClicked(i, list->row(chosen.first()));
        });
        m_lists[size_t(i)] = list;
    }
    makeLabel(this, QStringLiteral("lblHint"),
              QStringLiteral("Click a suggestion to find out more"),
              twipsRect(120, 5640, 3600, 270));

    // The chosen entry on the right.
    const int right = 3960;
    const int width = 4560;
    m_lblName =
        makeLabel(this, QStringLiteral("lblName"), QString(), twipsRect(right, 1140, width, 300));
    setBold(m_lblName, 1.15);
    m_lblDescriptionTitle =
        makeLabel(this, QStringLiteral("lblDescriptionTitle"), QStringLiteral("About this item"),
                  twipsRect(right, 1500, width, 270));
    setBold(m_lblDescriptionTitle);
    m_lblDescription[0] = makeLabel(this, QStringLiteral("lblDescription(0)"), QString(),
                                    twipsRect(right, 1800, width, 1500));
    QLabel* why = makeLabel(this, QStringLiteral("lblWhy"), QStringLiteral("Why it was suggested"),
                            twipsRect(right, 3360, width, 270));
    setBold(why);
    m_lblDescription[1] = makeLabel(this, QStringLiteral("lblDescription(1)"), QString(),
                                    twipsRect(right, 3660, width, 1260));
    m_lblDescription[0]->setAccessibleName(QStringLiteral("Description"));
    m_lblDescription[1]->setAccessibleName(QStringLiteral("Why it was suggested"));

    // Reached with Tab and followed with Enter or Space; a link to a screen
    // reader.
    auto* link = new ClickLabel(this, ClickLabel::Kind::Link);
    link->onClick = [this] { lblLink_Click(); };
    m_lblLink = placeLabel(link, QStringLiteral("lblLink"), twipsRect(right, 5010, width, 270));
    m_lblLink->setText(QStringLiteral("More about this item online"));
    QFont underlined = m_lblLink->font();
    underlined.setUnderline(true);
    m_lblLink->setFont(underlined);
    m_lblLink->setMouseTracking(true);
    m_lblLink->setAccessibleDescription(
        QStringLiteral("Opens a web page about the chosen suggestion"));
    m_lblLink->installEventFilter(this);
    setLinkColour(kLinkRest);
    m_lblLink->hide();

    makeLabel(this, QStringLiteral("lblTip"),
              QStringLiteral("Tip: You can only view your paths within TARVO2"),
              twipsRect(right, 5640, 3000, 480));
    m_cmdClose = new QPushButton(QStringLiteral("C&lose"), this);
    m_cmdClose->setObjectName(QStringLiteral("cmdClose"));
    m_cmdClose->setAccessibleName(QStringLiteral("Close"));
    m_cmdClose->setGeometry(twipsRect(7200, 5760, 1320, 375));
    connect(m_cmdClose, &QPushButton::clicked, this, &QWidget::close);

    for (int i = 0; i < 3; ++i)
        setTabOrder(m_lists[size_t(i)], m_lists[size_t(i + 1)]);
    setTabOrder(m_lists[3], m_lblLink);
    setTabOrder(m_lblLink, m_cmdClose);
}

frmPaths::~frmPaths() {
    // The working copy lives exactly as long as this window.
    removePathWorkingCopy();
}

void frmPaths::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!event->spontaneous() && m_file.isEmpty())
        Form_Load();
}

void frmPaths::Form_Load() {
    enableWizardWindows(false);
    m_lblTitle->setText(QStringLiteral("Character Path Suggestions"));
    setWindowTitle(QStringLiteral("Character Path Suggestions"));
    m_lblDescription[0]->clear();
    m_lblDescription[1]->clear();
    m_lblName->setText(QStringLiteral("Select a path"));
    LoadSuggestions();
    if (frmMain* m = forms::mainIfLoaded())
        setWindowIcon(m->windowIcon());
    m_lists[0]->setFocus();
}

void frmPaths::LoadSuggestions() {
    m_file = pathSuggestionFile(character().Class());
    for (int i = 0; i < 4; ++i) {
        const QSignalBlocker block(m_lists[size_t(i)]);
        m_lists[size_t(i)]->addItems(pathEntries(m_file, QLatin1String(kLists[i].prefix)));
    }
}

void frmPaths::entryClicked(int list, int row) {
    QListWidgetItem* item = row >= 0 ? m_lists[size_t(list)]->item(row) : nullptr;
    if (!item)
        return;
    const QString prefix = QLatin1String(kLists[list].prefix);
    m_lblName->setText(item->text());
    m_lblDescriptionTitle->setText(QLatin1String(kLists[list].heading));
    m_lblDescription[0]->setText(pathText(m_file, prefix, QStringLiteral("Description"), row));
    m_lblDescription[1]->setText(pathText(m_file, prefix, QStringLiteral("Why"), row));
    m_lblLink->setProperty("tag", prefix);
    m_lblLink->show();
    SelectedIndex = QString::number(row);
}

void frmPaths::lblLink_Click() {
    const QString prefix = m_lblLink->property("tag").toString();
    const QString section = prefix + QStringLiteral("Link");
    const QString key = QStringLiteral("Link") + SelectedIndex;
    msgBox(QStringLiteral("Section Name: ") + section + QStringLiteral("; and Key Name: ") + key);
    platform().open(pathText(m_file, prefix, QStringLiteral("Link"), SelectedIndex.toInt()));
}

void frmPaths::setLinkColour(const QColor& colour) {
    QPalette p = m_lblLink->palette();
    p.setColor(QPalette::WindowText, colour);
    m_lblLink->setPalette(p);
}

bool frmPaths::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_lblLink) {
        switch (event->type()) {
        case QEvent::Enter:
        case QEvent::MouseMove: {
            const QPixmap icon(appPath(QStringLiteral("/Data/ALink.ICO")));
            m_lblLink->setCursor(icon.isNull() ? QCursor(Qt::PointingHandCursor)
                                               : QCursor(icon, 0, 0));
            setLinkColour(kLinkHover);
            break;
        }
        case QEvent::FocusIn:
            setLinkColour(kLinkHover);
            break;
        case QEvent::FocusOut:
            setLinkColour(kLinkRest);
            break;
        default:
            break;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void frmPaths::mouseMoveEvent(QMouseEvent* event) {
    if (!childAt(event->position().toPoint()) && !m_lblLink->hasFocus())
        setLinkColour(kLinkRest);
    QWidget::mouseMoveEvent(event);
}

void frmPaths::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

void frmPaths::closeEvent(QCloseEvent* event) {
    removePathWorkingCopy();
    enableWizardWindows(true);
    if (frmMain* m = forms::mainIfLoaded())
        m->activateWindow();
    event->accept();
}

void cmdPath_Click() {
    Character& c = character();
    if (c.Class().isEmpty()) {
        ShowBubble(QStringLiteral("Class not selected!"),
                   QStringLiteral("You need to select a Class Specialisation in Step Two to use "
                                  "this feature."),
                   5760, 3045);
        return;
    }
    if (frmPaths* open = openWindow()) {
        open->raise();
        open->activateWindow();
        return;
    }
    // A working copy that cannot be written changes nothing the user sees.
    writePathWorkingCopy(c);
    auto* w = new frmPaths;
    openWindow() = w;
    w->show();
    w->activateWindow();
}

} // namespace tarvo
