#include "frmLoad.h"

#include "appfolder.h"
#include "appinfo.h"
#include "character.h"
#include "gamefiles/gametables.h"
#include "ini/mdlVbNetIni.h"
#include "ini/safewrite.h"
#include "planning/frmProgress.h"
#include "platform.h"
#include "profile.h"
#include "shell/forms.h"
#include "shell/twips.h"
#include "shell/widgets.h"
#include "wizard/frmMain.h"
#include "yourgame.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QDir>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QLocale>
#include <QPixmap>
#include <QPushButton>
#include <QShowEvent>
#include <QTimer>

namespace tarvo {

namespace {

const QString kUnspecified = QStringLiteral("Unspecified!");
// A class of the player's game, as a template the loader applies.
const QString kGameClassFile = QStringLiteral("Data/~gameclass.M3T");

void setListBackground(QListWidget* list, const QColor& color) {
    QPalette p = list->palette();
    p.setColor(QPalette::Base, color);
    list->setPalette(p);
}

void enableWizardWindows(bool enabled) {
    forms::main()->setEnabled(enabled);
    forms::progress()->setEnabled(enabled);
}

} // namespace

frmLoad::frmLoad() {
    setObjectName(QStringLiteral("frmLoad"));
    setWindowTitle(QStringLiteral("Load Template"));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    setAttribute(Qt::WA_DeleteOnClose);
    paintBlue(this);
    setFixedSize(twipsSize(8280, 5520));

    // The two choices, drawn as pictures.
    m_options = new QButtonGroup(this);
    m_options->setExclusive(true);
    const QString tips[2] = {QStringLiteral("Browse for a character profile you saved earlier"),
                             QStringLiteral("Choose one of the character templates")};
    for (int i = 0; i < 2; ++i) {
        auto* b = new QPushButton(this);
        b->setObjectName(QStringLiteral("optButton(%1)").arg(i));
        b->setCheckable(true);
        b->setGeometry(twipsRect(120 + i * 1560, 120, 1440, 900));
        b->setToolTip(tips[i]);
        m_options->addButton(b, i);
        m_optButton[i] = b;
        connect(b, &QPushButton::clicked, this, [this, i] { optButton_Click(i); });
    }
    loadPictures();

    m_lstDisplay = new QListWidget(this);
    m_lstDisplay->setObjectName(QStringLiteral("lstDisplay"));
    m_lstDisplay->setGeometry(twipsRect(120, 1140, 3000, 4095));
    connect(m_lstDisplay, &QListWidget::currentRowChanged, this,
            [this](int row) { lstDisplay_Click(row); });
    m_lstDisplay->setAccessibleName(QStringLiteral("Templates"));
    // A double-click (or Enter, shell/keyboard.h) applies the template.
    connect(m_lstDisplay, &QListWidget::itemDoubleClicked, this, [this] { OpenFile(); });

    m_lblName[0] = makeLabel(this, QStringLiteral("lblName(0)"), QStringLiteral("Information"),
                             twipsRect(3300, 120, 4860, 300), {.bold = true});
    m_lblDescription = makeLabel(
        this, QStringLiteral("lblDescription"),
        QStringLiteral("Click a template for more information or browse your saved characters."),
        twipsRect(3300, 420, 4860, 1140));
    m_lblName[1] = makeLabel(this, QStringLiteral("lblName(1)"), QStringLiteral("Strengths"),
                             twipsRect(3300, 1680, 4860, 300), {.bold = true});
    m_lblStrength =
        makeLabel(this, QStringLiteral("lblStrength"),
                  QStringLiteral("The character templates strong aspects will be listed here."),
                  twipsRect(3300, 1980, 4860, 900));
    m_lblName[2] = makeLabel(this, QStringLiteral("lblName(2)"), QStringLiteral("Weaknesses"),
                             twipsRect(3300, 3000, 4860, 300), {.bold = true});
    m_lblWeakness =
        makeLabel(this, QStringLiteral("lblWeakness"),
                  QStringLiteral("The character templates weak aspects will be listed here."),
                  twipsRect(3300, 3300, 4860, 900));
    m_lblAuthor = makeLabel(this, QStringLiteral("lblAuthor"), QStringLiteral("Author: "),
                            twipsRect(3300, 4320, 4860, 300));

    m_cmdOK = new QPushButton(QStringLiteral("&OK"), this);
    m_cmdOK->setObjectName(QStringLiteral("cmdOK"));
    m_cmdOK->setGeometry(twipsRect(5640, 4860, 1215, 375));
    m_cmdOK->setEnabled(false);
    connect(m_cmdOK, &QPushButton::clicked, this, [this] { OpenFile(); });

    m_cmdCancel = new QPushButton(QStringLiteral("&Cancel"), this);
    m_cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    m_cmdCancel->setGeometry(twipsRect(6945, 4860, 1215, 375));
    connect(m_cmdCancel, &QPushButton::clicked, this, &QWidget::close);

    m_tmrLoadProfile = new QTimer(this);
    m_tmrLoadProfile->setObjectName(QStringLiteral("tmrLoadProfile"));
    m_tmrLoadProfile->setInterval(5);
    m_tmrLoadProfile->setSingleShot(true);
    connect(m_tmrLoadProfile, &QTimer::timeout, this, [this] { tmrLoadProfile_Timer(); });

    setTabOrder(m_optButton[0], m_optButton[1]);
    setTabOrder(m_optButton[1], m_lstDisplay);
    setTabOrder(m_lstDisplay, m_cmdOK);
    setTabOrder(m_cmdOK, m_cmdCancel);
}

void frmLoad::loadPictures() {
    const char* files[2] = {"/Images/Btn_Profile.JPG", "/Images/Btn_Template.JPG"};
    const QString words[2] = {QStringLiteral("Profile"), QStringLiteral("Template")};
    for (int i = 0; i < 2; ++i) {
        QPushButton* b = m_optButton[i];
        const QPixmap picture(appPath(QLatin1String(files[i])));
        if (picture.isNull()) {
            // Without its picture the choice shows its name.
            b->setIcon(QIcon());
            b->setText(words[i]);
        } else {
            b->setText(QString());
            b->setIcon(QIcon(picture));
            b->setIconSize(b->size() - QSize(8, 8));
        }
        b->setAccessibleName(words[i]);
    }
}

void frmLoad::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // Each time the window opens (not when the system merely shows it again).
    if (!event->spontaneous())
        Form_Load();
}

void frmLoad::Form_Load() {
    m_tmrLoadProfile->stop();
    // The loader acts as a modal window without being shown modally.
    enableWizardWindows(false);
    m_optButton[1]->setChecked(true);
    optButton_Click(1);
    m_cmdOK->setEnabled(false);
    loadPictures();
}

void frmLoad::chooseOption(int index) {
    if (index < 0 || index > 1)
        return;
    m_optButton[index]->setChecked(true);
    optButton_Click(index);
}

void frmLoad::optButton_Click(int index) {
    if (index == 1) {
        // The template list.
        m_lstDisplay->blockSignals(true);
        m_lstDisplay->clear();
        m_lstDisplay->blockSignals(false);
        m_lstDisplay->setEnabled(true);
        setListBackground(m_lstDisplay, QApplication::palette().color(QPalette::Base));
        // The shipped templates and any the update checker fetched.
        m_lstDisplay->addItems(
            folderFiles(QStringLiteral("\\Templates"), {QStringLiteral("*.M3T")}));
        // The playable classes of the player's game, plugins' included.
        useChosenGame();
        m_game = gameInUse();
        m_gameClasses = m_game ? gamefiles::playableClasses(*m_game)
                               : QList<const gamefiles::Versioned<gamefiles::GameClass>*>();
        if (!m_gameClasses.isEmpty()) {
            auto* heading = new QListWidgetItem(QStringLiteral("From your game"), m_lstDisplay);
            heading->setFlags(Qt::NoItemFlags);
            QFont bold = heading->font();
            bold.setBold(true);
            heading->setFont(bold);
        }
        QStringList names;
        for (const auto* c : std::as_const(m_gameClasses))
            names << gamefiles::className(c->record);
        for (int i = 0; i < m_gameClasses.size(); ++i) {
            const auto& c = *m_gameClasses[i];
            // Two classes of one name are told apart by their ids.
            QString text = names[i];
            if (names.count(text) > 1)
                text += QStringLiteral(" (%1)").arg(c.record.id);
            auto* item = new QListWidgetItem(text, m_lstDisplay);
            item->setData(Qt::UserRole, i);
            item->setData(Qt::AccessibleTextRole, QStringLiteral("%1, a class of your game (%2)")
                                                      .arg(item->text(), m_game->fileName(c.file)));
        }
        return;
    }
    // Browse for a saved profile; once chosen it is applied a moment later,
    // without OK.
    m_lstDisplay->blockSignals(true);
    m_lstDisplay->clear();
    m_lstDisplay->blockSignals(false);
    m_lstDisplay->setEnabled(false);
    setListBackground(m_lstDisplay,
                      QApplication::palette().color(QPalette::Disabled, QPalette::Text));
    SelectedFile = GetOpenName(dialogFolder());
    m_tmrLoadProfile->start();
    m_cmdOK->setEnabled(true);
    if (SelectedFile.isEmpty()) {
        m_cmdOK->setEnabled(false);
        m_tmrLoadProfile->stop();
    }
    m_optButton[1]->setChecked(true);
    optButton_Click(1);
}

void frmLoad::lstDisplay_Click(int row) {
    QListWidgetItem* item = row >= 0 ? m_lstDisplay->item(row) : nullptr;
    if (!item)
        return;
    QString p = appPath(QStringLiteral("\\Templates\\") + item->text());
    if (const QVariant gameClass = item->data(Qt::UserRole); gameClass.isValid()) {
        // A class of the player's game goes the templates' way: as a file.
        p = writablePath(kGameClassFile);
        const QByteArray bytes = gamefiles::classTemplate(
            *m_game, *m_gameClasses.value(gameClass.toInt()),
            QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat));
        QString failure;
        if (!replaceFileContents(p, bytes, Durability::Working, &failure)) {
            msgBox(QStringLiteral("TARVO2 could not prepare the class %1 to %2: %3")
                       .arg(item->text(), QDir::toNativeSeparators(p), failure),
                   MsgButtons::OK, MsgIcon::Exclamation);
            m_cmdOK->setEnabled(false);
            return;
        }
    }
    SelectedFile = p;
    const QString section = QStringLiteral("SaveData");
    m_lblDescription->setText(
        ReadIniValue(section, QStringLiteral("iniTemplateDescription"), kUnspecified, p));
    m_lblName[0]->setText(
        ReadIniValue(section, QStringLiteral("iniTemplateName"), kUnspecified, p));
    m_lblStrength->setText(ReadIniValue(section, QStringLiteral("iniStrength"), kUnspecified, p));
    m_lblWeakness->setText(ReadIniValue(section, QStringLiteral("iniWeakness"), kUnspecified, p));
    m_lblAuthor->setText(QStringLiteral("Author: ") + ReadIniValue(section,
                                                                   QStringLiteral("iniAuthor"),
                                                                   QStringLiteral("Unknown"), p));
    m_cmdOK->setEnabled(true);
    // Long names can be read in full.
    m_lstDisplay->setToolTip(item->text());
    // A screen reader reads what is shown beside the list with the template.
    item->setData(Qt::AccessibleDescriptionRole,
                  QStringList{m_lblDescription->text(),
                              m_lblName[1]->text() + QStringLiteral(": ") + m_lblStrength->text(),
                              m_lblName[2]->text() + QStringLiteral(": ") + m_lblWeakness->text(),
                              m_lblAuthor->text()}
                      .join(QLatin1Char('\n')));
}

void frmLoad::tmrLoadProfile_Timer() {
    m_tmrLoadProfile->stop();
    OpenFile();
}

QString frmLoad::GetOpenName(const QString& folder) {
    FileDialogSpec spec;
    spec.kind = FileDialogSpec::Kind::Open;
    spec.title = QStringLiteral("Open A File");
    spec.filters = {
        {QStringLiteral("Morrowind Character Profile (*.mwc)"), QStringLiteral("*.mwc")},
        {QStringLiteral("All Files (*.*)"), QStringLiteral("*.*")}};
    spec.selectedFilter = 0;
    spec.initialFolder = folder;
    spec.acceptMissing = true;
    return platform().fileDialog(spec);
}

void frmLoad::OpenFile() {
    if (character().ChangesMade() == QLatin1String("Yes")) {
        const MsgResult answer =
            msgBox(QStringLiteral("If you load this template, your unsaved data will be lost, are "
                                  "you sure you wish to continue?"),
                   MsgButtons::YesNo, MsgIcon::Information);
        if (answer != MsgResult::Yes)
            return;
    }
    if (!FileToProgram())
        return; // told the user; the loader stays open
    enableWizardWindows(true);
    forms::main()->selectStep(6);
    close();
}

bool frmLoad::FileToProgram() {
    if (SelectedFile.isEmpty()) {
        msgBox(QStringLiteral("TARVO2 could not load a character: no file was chosen."),
               MsgButtons::OK, MsgIcon::Exclamation);
        return false;
    }
    const ApplyResult result = applyProfile(character(), SelectedFile);
    if (!result.ok()) {
        msgBox(QStringLiteral("TARVO2 could not load %1: %2\n\nYour character has not been "
                              "changed.")
                   .arg(QDir::toNativeSeparators(SelectedFile), result.reason),
               MsgButtons::OK, MsgIcon::Exclamation);
        return false;
    }
    enableWizardWindows(true);
    return true;
}

void frmLoad::closeEvent(QCloseEvent* event) {
    m_tmrLoadProfile->stop();
    removeWrittenFile(kGameClassFile);
    // Whatever closes the loader gives the wizard back.
    if (frmMain* m = forms::mainIfLoaded()) {
        m->setEnabled(true);
        m->startEnableTimer();
    }
    if (frmProgress* p = forms::progressIfLoaded())
        p->setEnabled(true);
    event->accept();
}

void frmLoad::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

} // namespace tarvo
