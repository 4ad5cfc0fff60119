#include "frmFormatting.h"

#include "ini/mdlVbNetIni.h"
#include "output/textoutput.h"
#include "planning/frmProgress.h"
#include "settings.h"
#include "shell/forms.h"
#include "shell/frmOptions.h"
#include "shell/twips.h"
#include "shell/widgets.h"
#include "textexport.h"
#include "wizard/frmMain.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QSignalBlocker>

namespace tarvo {

namespace {

QPointer<frmFormatting> g_formatting;

// The wizard's windows hide once front has taken the activation from them,
// and come back with the main window active.
void showWizardWindows(bool shown, QWidget* front = nullptr) {
    if (shown)
        showWizardWindowsAgain();
    else if (front)
        hideBehind(front, {forms::mainIfLoaded(), forms::progressIfLoaded()});
}

} // namespace

frmFormatting* frmFormatting::instance() {
    if (!ifLoaded())
        g_formatting = new frmFormatting;
    return g_formatting;
}

frmFormatting* frmFormatting::ifLoaded() {
    return g_formatting && !g_formatting->m_unloaded ? g_formatting.data() : nullptr;
}

void showFormattingWindow() {
    frmFormatting* f = frmFormatting::instance();
    f->show();
    f->raise();
    f->activateWindow();
}

frmFormatting::frmFormatting() {
    setObjectName(QStringLiteral("frmFormatting"));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    paintBlue(this);
    setFixedSize(twipsSize(6000, 4080));

    m_lblTitle =
        makeLabel(this, QStringLiteral("lblTitle"), QStringLiteral("Forum Formatting Options"),
                  twipsRect(120, 120, 5760, 360));
    QFont big = m_lblTitle->font();
    big.setBold(true);
    big.setPointSizeF(big.pointSizeF() * 1.3);
    m_lblTitle->setFont(big);
    makeLabel(this, QStringLiteral("lblID(0)"),
              QStringLiteral("TARVO2 will format your copied text especially for certain types of "
                             "message boards and forums. It will bold the titles of profile "
                             "entries, and underline the main title."),
              twipsRect(120, 540, 5760, 720));
    QLabel* choose = makeLabel(
        this, QStringLiteral("lblID(1)"),
        QStringLiteral("Select the format that the forum/message board that you are copying to "
                       "uses. The most common board type is UBB so select that if you are "
                       "unsure."),
        twipsRect(120, 1320, 5760, 720));
    m_cboMessageBoard = new QComboBox(this);
    m_cboMessageBoard->setObjectName(QStringLiteral("cboMessageBoard"));
    m_cboMessageBoard->setGeometry(twipsRect(120, 2100, 2760, 315));
    m_cboMessageBoard->setAccessibleName(QStringLiteral("Message board"));
    choose->setBuddy(m_cboMessageBoard);
    connect(m_cboMessageBoard, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index >= 0)
            cboMessageBoard_Click();
    });
    m_lblForumDescription = makeLabel(this, QStringLiteral("lblForumDescription"), QString(),
                                      twipsRect(3000, 2100, 2880, 1260));
    makeLabel(this, QStringLiteral("lblID(2)"), QStringLiteral("Example bold tags:"),
              twipsRect(120, 2520, 1800, 315));
    for (int i = 0; i < 2; ++i) {
        m_lblTags[size_t(i)] = makeLabel(this, QStringLiteral("lblTags(%1)").arg(i), QString(),
                                         twipsRect(1980 + i * 480, 2520, 460, 315));
        m_lblTags[size_t(i)]->setTextFormat(Qt::PlainText);
    }
    m_chkAddVote = new QCheckBox(QStringLiteral("Add a voting poll"), this);
    m_chkAddVote->setObjectName(QStringLiteral("chkAddVote"));
    m_chkAddVote->setGeometry(twipsRect(120, 2940, 2760, 315));
    m_chkAddVote->setToolTip(QStringLiteral("Click to add a voting poll so that others may vote "
                                            "on how good your character is."));
    m_chkAddVote->setAccessibleName(m_chkAddVote->text());

    QPushButton* copy = makeButton(
        this, QStringLiteral("cmdCopy"), QStringLiteral("Copy to Clipboard"),
        twipsRect(120, 3480, 1800, 375),
        QStringLiteral("Copy your profile to the clipboard using the settings you have selected."));
    copy->setDefault(true);
    connect(copy, &QPushButton::clicked, this, [this] { cmdCopy_Click(); });
    QPushButton* advanced =
        makeButton(this, QStringLiteral("cmdAdvanced"), QStringLiteral("Settings..."),
                   twipsRect(2040, 3480, 1440, 375),
                   QStringLiteral("Go to the options panel to access advanced settings."));
    connect(advanced, &QPushButton::clicked, this, [this] { cmdAdvanced_Click(); });
    QPushButton* close = makeButton(
        this, QStringLiteral("cmdClose"), QStringLiteral("Close"), twipsRect(3600, 3480, 1200, 375),
        QStringLiteral("Click to close this panel and cancel the profile copy."));
    connect(close, &QPushButton::clicked, this, [this] { reject(); });

    Form_Load();
}

void frmFormatting::Form_Load() {
    showWizardWindows(false, this);
    setWindowTitle(m_lblTitle->text());
    if (frmMain* m = forms::mainIfLoaded())
        setWindowIcon(m->windowIcon());
    // Loading the options window (unseen) writes the board list.
    frmOptions::instance()->startHideTimer();
    {
        const QSignalBlocker block(m_cboMessageBoard);
        m_cboMessageBoard->addItems(readMessageBoardList());
        m_cboMessageBoard->setCurrentIndex(-1);
    }
    const QString board = ReadIniValue(QStringLiteral("Program"), QStringLiteral("iniBoardName"),
                                       QStringLiteral("Custom 1"), settingsFile());
    m_cboMessageBoard->setCurrentIndex(
        m_cboMessageBoard->findText(board, Qt::MatchExactly | Qt::MatchCaseSensitive));
}

void frmFormatting::cboMessageBoard_Click() {
    const QString board = m_cboMessageBoard->currentText();
    m_lblTags[0]->setText(boardValue(board, QStringLiteral("iniBTag1")));
    m_lblTags[1]->setText(boardValue(board, QStringLiteral("iniBTag2")));
    m_lblForumDescription->setText(boardValue(board, QStringLiteral("iniDescription")));
    // A board that does not take the poll never gets it, whatever was chosen
    // for it (or for the board shown before).
    const bool accepts = boardAcceptsVote(board);
    m_chkAddVote->setChecked(accepts && boardUserVote(board));
    m_chkAddVote->setEnabled(accepts);
}

void frmFormatting::cmdCopy_Click() {
    // The copy follows what the window shows: its board and its poll box, or
    // the plain text when no board is shown.
    BoardChoice choice;
    if (m_cboMessageBoard->currentIndex() >= 0) {
        choice.board = m_cboMessageBoard->currentText();
        choice.vote = m_chkAddVote->isChecked();
    }
    // Storing the board through the options window makes it the chosen one;
    // a file that cannot be written is told below, and the copy still made.
    QStringList unsaved;
    frmOptions* options = frmOptions::instance();
    if (!choice.board.isEmpty() && options->selectBoard(choice.board)) {
        QString failed;
        if (!options->SaveMessageBoard(&failed))
            unsaved << failed;
    }
    options->unload();
    showWizardWindows(false, this);
    if (!choice.board.isEmpty()) {
        const QString tags = tagsFileForWriting();
        if (!WriteIniValue(choice.board, QStringLiteral("iniUserVote"),
                           choice.vote ? QStringLiteral("1") : QStringLiteral("0"), tags) &&
            !unsaved.contains(tags))
            unsaved << tags;
    }
    frmMain* m = forms::main();
    m->Export(choice);
    QString warning;
    if (!unsaved.isEmpty()) {
        QStringList why;
        for (const QString& file : unsaved)
            why << QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(file),
                                                writeFailureReason(file));
        warning =
            QStringLiteral("TARVO2 could not save your choice of the %1 board%2 for next "
                           "time:\n\n%3\n\nYour profile has still been copied with the "
                           "%1 tags%2, as you chose. When this window opens again it "
                           "may not show this choice.")
                .arg(choice.board, choice.vote ? QStringLiteral(" and the voting poll") : QString(),
                     why.join(QLatin1Char('\n')));
    }
    sendProfileToClipboard(m->dataCompilerText(), warning);
    accept();
}

void frmFormatting::cmdAdvanced_Click() {
    showOptionsWindow();
    frmOptions::instance()->startHideTimer();
    reject();
}

void frmFormatting::done(int result) {
    QDialog::done(result);
    unload();
}

void frmFormatting::unload(bool giveBack) {
    if (m_unloaded)
        return;
    m_unloaded = true;
    hide();
    deleteLater();
    // An options window loaded only for the board list goes with this one.
    if (frmOptions* o = frmOptions::ifLoaded(); o && !o->shownOnce())
        o->unload(giveBack);
    if (giveBack)
        showWizardWindows(true);
}

} // namespace tarvo
