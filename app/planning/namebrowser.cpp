#include "namebrowser.h"

#include "appfolder.h"
#include "namelists.h"
#include "shell/twips.h"
#include "shell/widgets.h"

#include <QComboBox>
#include <QDir>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
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

NameBrowser::NameBrowser(QWidget* parent)
    : QFrame(parent), m_generator(std::make_unique<NameGenerator>()) {
    m_cboCategory = new QComboBox(this);
    m_cboCategory->setObjectName(QStringLiteral("cboCategory"));
    m_cboCategory->setGeometry(twipsRect(120, 480, 3120, 345));
    m_cboCategory->setAccessibleName(QStringLiteral("Name category"));
    connect(m_cboCategory, &QComboBox::currentIndexChanged, this, [this] { cboCategory_Click(); });

    m_lstNames = new QListWidget(this);
    m_lstNames->setObjectName(QStringLiteral("lstNames"));
    m_lstNames->setGeometry(twipsRect(120, kListTop, 3120, kListTall));
    m_lstNames->setAccessibleName(QStringLiteral("Names"));
    connect(m_lstNames, &QListWidget::itemDoubleClicked, this, &NameBrowser::nameChosen);
    connect(m_lstNames, &QListWidget::itemSelectionChanged, this,
            [this] { emit selectionChanged(!m_lstNames->selectedItems().isEmpty()); });

    m_cmdGenerate = makeButton(this, QStringLiteral("cmdGenerate"), QStringLiteral("Generate More"),
                               twipsRect(120, 4170, 3120, 375));
    m_cmdGenerate->hide();
    connect(m_cmdGenerate, &QPushButton::clicked, this, [this] { cmdGenerate_Click(); });

    m_lstTemp = new QListWidget(this);
    m_lstTemp->setObjectName(QStringLiteral("lstTemp"));
    m_lstTemp->setGeometry(twipsRect(120, 4650, 3120, 300));
    m_lstTemp->hide();

    // Says why a list is empty.
    m_lblNameStatus = makeLabel(this, QStringLiteral("lblNameStatus"), QString(),
                                twipsRect(120, 4590, 3120, 690));
    m_lblNameStatus->setAccessibleName(QStringLiteral("Name browser message"));
}

NameBrowser::~NameBrowser() = default;

void NameBrowser::showStatus(const QString& text) {
    m_lblNameStatus->setText(text);
}

void NameBrowser::open(const QString& kind) {
    m_kind = kind;
    m_lstNames->clear();
    showStatus(QString());
    const QString index = nameFolder(kind) + QStringLiteral("Index.txt");
    const QStringList categories = readNameList(appPath(index));
    {
        const QSignalBlocker block(m_cboCategory);
        m_cboCategory->clear();
        m_cboCategory->addItems(categories);
        if (!categories.isEmpty())
            m_cboCategory->setCurrentIndex(0);
    }
    if (categories.isEmpty()) {
        m_cmdGenerate->hide();
        showStatus(QStringLiteral("No name categories were found: %1 is missing or empty.")
                       .arg(shownPath(index)));
    } else {
        cboCategory_Click();
    }
    m_cboCategory->setFocus();
}

QString NameBrowser::selectedName() const {
    const QList<QListWidgetItem*> chosen = m_lstNames->selectedItems();
    return chosen.isEmpty() ? QString() : chosen.first()->text();
}

bool NameBrowser::isInsertKey(const QKeyEvent* key) const {
    return (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
           !(key->modifiers() & ~Qt::KeypadModifier) && m_lstNames->hasFocus() &&
           !m_lstNames->selectedItems().isEmpty();
}

void NameBrowser::cboCategory_Click() {
    m_lstNames->clear();
    showStatus(QString());
    const QString category = m_cboCategory->currentText();
    if (category.isEmpty())
        return;
    if (category != QLatin1String(kRandomNamesCategory)) {
        m_cmdGenerate->hide();
        m_lstNames->resize(m_lstNames->width(), twips(kListTall));
        const QString file = nameFolder(m_kind) + category + QStringLiteral(".txt");
        const QStringList names = readNameList(appPath(file));
        m_lstNames->addItems(names);
        if (names.isEmpty())
            showStatus(QStringLiteral("No names were found: %1 is missing or empty.")
                           .arg(shownPath(file)));
        return;
    }
    m_cmdGenerate->show();
    m_lstNames->resize(m_lstNames->width(), twips(kListShort));
    compileNames(5);
}

void NameBrowser::cmdGenerate_Click() {
    compileNames(5);
}

void NameBrowser::CompileNames() {
    compileNames(1);
}

void NameBrowser::compileNames(int count) {
    // The word lists always come from the class names.
    const QString folder = nameFolder(QStringLiteral("Class"));
    const QString files[2] = {folder + QStringLiteral("RNGList1.txt"),
                              folder + QStringLiteral("RNGList2.txt")};
    const QStringList first = readNameList(appPath(files[0]));
    const QStringList second = readNameList(appPath(files[1]));
    for (int i = 0; i < 2; ++i) {
        if ((i == 0 ? first : second).isEmpty()) {
            showStatus(QStringLiteral("The random name generator needs its word lists: %1 "
                                      "is missing or empty.")
                           .arg(shownPath(files[i])));
            return;
        }
    }
    for (int i = 0; i < count; ++i)
        m_lstNames->addItem(m_generator->compose(first, second));
}

} // namespace tarvo
