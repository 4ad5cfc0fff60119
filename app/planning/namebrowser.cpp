// The name browser face of the progress window: categories from the index
// file of a name folder, the names of a category, the random name generator
// and inserting the chosen name into the wizard.
#include "appfolder.h"
#include "character.h"
#include "globals.h"
#include "namelists.h"
#include "planning/frmProgress.h"
#include "shell/forms.h"
#include "shell/twips.h"
#include "wizard/frmMain.h"

#include <QComboBox>
#include <QDir>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>

namespace tarvo {

namespace {

constexpr int kListTop = 900;
constexpr int kListTall = 3570;
constexpr int kListShort = 3180;

QString shownPath(const QString& relative) {
    return QDir::toNativeSeparators(relative);
}

} // namespace

void frmProgress::buildNameBrowser() {
    m_generator = std::make_unique<NameGenerator>();
    m_fmeName = new QFrame(this);
    m_fmeName->setObjectName(QStringLiteral("fmeName"));
    m_fmeName->setFrameShape(QFrame::StyledPanel);
    m_fmeName->setFrameShadow(QFrame::Sunken);
    m_fmeName->setGeometry(twipsRect(120, 540, 3360, 5355));
    auto* heading = new QLabel(QStringLiteral("NAME BROWSER"), m_fmeName);
    heading->setObjectName(QStringLiteral("lblNameBrowser"));
    QFont f = heading->font();
    f.setBold(true);
    f.setPointSizeF(f.pointSizeF() * 1.1);
    heading->setFont(f);
    heading->setGeometry(twipsRect(120, 90, 3120, 330));

    m_cboCategory = new QComboBox(m_fmeName);
    m_cboCategory->setObjectName(QStringLiteral("cboCategory"));
    m_cboCategory->setGeometry(twipsRect(120, 480, 3120, 345));
    m_cboCategory->setAccessibleName(QStringLiteral("Name category"));
    connect(m_cboCategory, &QComboBox::currentIndexChanged, this, [this] { cboCategory_Click(); });

    m_lstNames = new QListWidget(m_fmeName);
    m_lstNames->setObjectName(QStringLiteral("lstNames"));
    m_lstNames->setGeometry(twipsRect(120, kListTop, 3120, kListTall));
    m_lstNames->setAccessibleName(QStringLiteral("Names"));
    connect(m_lstNames, &QListWidget::itemDoubleClicked, this, [this] { AddName(); });
    connect(m_lstNames, &QListWidget::itemSelectionChanged, this,
            [this] { m_cmdInsert->setEnabled(!m_lstNames->selectedItems().isEmpty()); });

    m_cmdGenerate = new QPushButton(QStringLiteral("Generate More"), m_fmeName);
    m_cmdGenerate->setObjectName(QStringLiteral("cmdGenerate"));
    m_cmdGenerate->setGeometry(twipsRect(120, 4170, 3120, 375));
    m_cmdGenerate->setAccessibleName(QStringLiteral("Generate More"));
    m_cmdGenerate->hide();
    connect(m_cmdGenerate, &QPushButton::clicked, this, [this] { cmdGenerate_Click(); });

    m_lstTemp = new QListWidget(m_fmeName);
    m_lstTemp->setObjectName(QStringLiteral("lstTemp"));
    m_lstTemp->setGeometry(twipsRect(120, 4650, 3120, 300));
    m_lstTemp->hide();

    // Says why a list is empty.
    m_lblNameStatus = new QLabel(m_fmeName);
    m_lblNameStatus->setObjectName(QStringLiteral("lblNameStatus"));
    m_lblNameStatus->setGeometry(twipsRect(120, 4590, 3120, 690));
    m_lblNameStatus->setWordWrap(true);
    m_lblNameStatus->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_lblNameStatus->setAccessibleName(QStringLiteral("Name browser message"));

    m_cmdInsert->setAccessibleName(QStringLiteral("Insert Name"));
    m_cmdCancel->setAccessibleName(QStringLiteral("Cancel"));
    m_cmdInsert->setEnabled(false);
    connect(m_cmdInsert, &QPushButton::clicked, this, [this] { AddName(); });
    connect(m_cmdCancel, &QPushButton::clicked, this, [this] { SuggestCancel(); });
}

void frmProgress::showNameStatus(const QString& text) {
    m_lblNameStatus->setText(text);
}

void frmProgress::openNameBrowser() {
    for (QRadioButton* o : m_optScreen) {
        o->hide();
        o->setAutoExclusive(false);
        o->setChecked(false);
        o->setAutoExclusive(true);
    }
    m_fmeSummary->hide();
    m_fmeProgress->hide();
    m_fmeName->show();
    m_cmdInsert->show();
    m_cmdCancel->show();
    m_lstNames->clear();
    showNameStatus(QString());
    {
        const QSignalBlocker block(m_cboCategory);
        m_cboCategory->clear();
    }

    const QString index = nameFolder(globals().NameCategory) + QStringLiteral("Index.txt");
    const QStringList categories = readNameList(appPath(index));
    {
        const QSignalBlocker block(m_cboCategory);
        m_cboCategory->addItems(categories);
    }
    if (categories.isEmpty()) {
        m_cmdGenerate->hide();
        showNameStatus(QStringLiteral("No name categories were found: %1 is missing or empty.")
                           .arg(shownPath(index)));
    } else {
        const QSignalBlocker block(m_cboCategory);
        m_cboCategory->setCurrentIndex(0);
    }
    if (!categories.isEmpty())
        cboCategory_Click();
    show();
    raise();
    m_cboCategory->setFocus();
}

void frmProgress::cboCategory_Click() {
    m_lstNames->clear();
    showNameStatus(QString());
    const QString category = m_cboCategory->currentText();
    if (category.isEmpty())
        return;
    if (category != QLatin1String(kRandomNamesCategory)) {
        m_cmdGenerate->hide();
        m_lstNames->resize(m_lstNames->width(), twips(kListTall));
        const QString file = nameFolder(globals().NameCategory) + category + QStringLiteral(".txt");
        const QStringList names = readNameList(appPath(file));
        m_lstNames->addItems(names);
        if (names.isEmpty())
            showNameStatus(QStringLiteral("No names were found: %1 is missing or empty.")
                               .arg(shownPath(file)));
        return;
    }
    m_cmdGenerate->show();
    m_lstNames->resize(m_lstNames->width(), twips(kListShort));
    compileNames(5);
}

void frmProgress::cmdGenerate_Click() {
    compileNames(5);
}

void frmProgress::CompileNames() {
    compileNames(1);
}

void frmProgress::compileNames(int count) {
    // The word lists always come from the class names.
    const QString folder = nameFolder(QStringLiteral("Class"));
    const QString files[2] = {folder + QStringLiteral("RNGList1.txt"),
                              folder + QStringLiteral("RNGList2.txt")};
    const QStringList first = readNameList(appPath(files[0]));
    const QStringList second = readNameList(appPath(files[1]));
    for (int i = 0; i < 2; ++i) {
        if ((i == 0 ? first : second).isEmpty()) {
            showNameStatus(QStringLiteral("The random name generator needs its word lists: %1 "
                                          "is missing or empty.")
                               .arg(shownPath(files[i])));
            return;
        }
    }
    for (int i = 0; i < count; ++i)
        m_lstNames->addItem(m_generator->compose(first, second));
}

void frmProgress::AddName() {
    const QList<QListWidgetItem*> chosen = m_lstNames->selectedItems();
    // Nothing chosen: the wizard's box keeps what the user typed.
    if (chosen.isEmpty())
        return;
    const QString name = chosen.first()->text();
    const QString& kind = globals().NameCategory;
    if (kind == QLatin1String("Class"))
        character().setClassName(name);
    else if (kind == QLatin1String("Character"))
        character().setCharacterName(name);
    SuggestCancel();
}

void frmProgress::SuggestCancel() {
    m_fmeName->hide();
    m_cmdInsert->hide();
    m_cmdCancel->hide();
    m_optScreen[1]->setChecked(true);
    optScreen_Click(1);
    for (QRadioButton* o : m_optScreen)
        o->show();
    SwitchWindow();
}

bool frmProgress::nameBrowserKey(QKeyEvent* event) {
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
        !(event->modifiers() & ~Qt::KeypadModifier) && m_lstNames->hasFocus() &&
        !m_lstNames->selectedItems().isEmpty()) {
        AddName();
        return true;
    }
    return false;
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
