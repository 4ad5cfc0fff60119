#include "frmHTML.h"

#include "appfolder.h"
#include "character.h"
#include "ini/textfile.h"
#include "planning/frmProgress.h"
#include "platform.h"
#include "shell/focusstyle.h"
#include "shell/forms.h"
#include "shell/frmBubbleD.h"
#include "shell/twips.h"
#include "shell/widgets.h"
#include "wizard/frmMain.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QFontDatabase>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTextDocument>

namespace tarvo {

namespace {

QPointer<frmHTML> g_html;

const QString kCaption = QStringLiteral("TARVO2 HTML Output Wizard");
const QString kHoverTip = QStringLiteral("Hover over each color to receive a preview of what the "
                                         "background and text colors will look like on your "
                                         "webpage.");

void setColours(QWidget* w, const QColor& background, const QColor& text) {
    QPalette p = w->palette();
    p.setColor(QPalette::Window, background);
    if (text.isValid()) {
        p.setColor(QPalette::WindowText, text);
        p.setColor(QPalette::ButtonText, text);
    }
    w->setPalette(p);
    w->setBackgroundRole(QPalette::Window);
    w->setAutoFillBackground(true);
}

// The locked code's colour: greyed like disabled text, but only as far as
// it still reads at 4.5:1 on the code window's background.
QColor lockedTextColour(const QPalette& palette) {
    const QColor base = palette.color(QPalette::Active, QPalette::Base);
    const QColor grey = palette.color(QPalette::Disabled, QPalette::Text);
    const QColor text = palette.color(QPalette::Active, QPalette::Text);
    for (int step = 0; step <= 20; ++step) {
        const double t = step / 20.0;
        const QColor c =
            QColor::fromRgbF(float(grey.redF() + (text.redF() - grey.redF()) * t),
                             float(grey.greenF() + (text.greenF() - grey.greenF()) * t),
                             float(grey.blueF() + (text.blueF() - grey.blueF()) * t));
        if (contrastRatio(c, base) >= 4.5)
            return c;
    }
    return text;
}

// Shows or hides the main and the progress window and enables them with it:
// disabled at once and hidden once front has taken the activation from them;
// they come back with the main window active.
void setWizardWindows(bool on, QWidget* front = nullptr) {
    QWidget* windows[2] = {forms::mainIfLoaded(), forms::progressIfLoaded()};
    for (QWidget* w : windows)
        if (w)
            w->setEnabled(on);
    if (on)
        showWizardWindowsAgain();
    else if (front)
        hideBehind(front, {windows[0], windows[1]});
}

} // namespace

frmHTML::frmHTML() {
    setObjectName(QStringLiteral("frmHTML"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    paintBlue(this);
    setFixedSize(twipsSize(9600, 8040));

    m_lblTitle = new QLabel(this);
    m_lblTitle->setObjectName(QStringLiteral("lblTitle"));
    m_lblTitle->setGeometry(twipsRect(120, 120, 9360, 375));
    QFont titleFont = m_lblTitle->font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.4);
    m_lblTitle->setFont(titleFont);

    m_lblID = new QLabel(
        QStringLiteral("TARVO2 allows you to output your character templates to html format for "
                       "pasting onto a webpage. You can also ues TARVO2 to create basic webpages "
                       "specially for your character. Choose from the options below:"),
        this);
    m_lblID->setObjectName(QStringLiteral("lblID"));
    m_lblID->setGeometry(twipsRect(120, 540, 9360, 615));
    m_lblID->setWordWrap(true);

    // The three option frames.
    const QString frameCaptions[3] = {QStringLiteral("Code type"), QStringLiteral("Font type"),
                                      QStringLiteral("Color scheme")};
    const QString captions[10] = {QStringLiteral("Code fragment"), QStringLiteral("Whole page"),
                                  QStringLiteral("Arial"),         QStringLiteral("Default"),
                                  QStringLiteral("Verdana"),       QStringLiteral("Georgia"),
                                  QStringLiteral("White"),         QStringLiteral("TARVO Blue"),
                                  QStringLiteral("MW Green"),      QStringLiteral("Grey")};
    const int firstOf[3] = {0, 2, 6};
    const int countOf[3] = {2, 4, 4};
    for (int f = 0; f < 3; ++f) {
        auto* g = new QGroupBox(frameCaptions[f], this);
        g->setObjectName(indexed("fmeOptions", f));
        g->setGeometry(twipsRect(120 + f * 2280, 1260, 2160, 1455));
        g->setAccessibleName(frameCaptions[f]);
        paintBlue(g);
        g->setMouseTracking(true);
        g->installEventFilter(this);
        m_fmeOptions[size_t(f)] = g;
        for (int k = 0; k < countOf[f]; ++k) {
            const int i = firstOf[f] + k;
            auto* o = new QRadioButton(captions[i], g);
            o->setObjectName(indexed("optOption", i));
            // As tall as the row, so that the focus ring clears the indicator.
            o->setGeometry(twipsRect(180, 300 + k * 270, 1860, 270));
            o->setAccessibleName(frameCaptions[f] + QStringLiteral(": ") + captions[i]);
            o->setMouseTracking(true);
            o->installEventFilter(this);
            setColours(o, kWindowBlue, QApplication::palette().color(QPalette::ButtonText));
            if (f == 2)
                o->setToolTip(kHoverTip);
            m_optOption[size_t(i)] = o;
            connect(o, &QRadioButton::toggled, this, [this, i](bool on) {
                if (on)
                    optOption_Click(i);
            });
        }
    }
    // Each font type is shown in its own font; Default in the window's.
    const char* faces[4] = {"Arial", nullptr, "Verdana", "Georgia"};
    for (int k = 0; k < 4; ++k) {
        if (!faces[k])
            continue;
        QFont font = m_optOption[size_t(kFirstFont + k)]->font();
        font.setFamilies({QLatin1String(faces[k])});
        m_optOption[size_t(kFirstFont + k)]->setFont(font);
    }

    m_cmdComponentOptions =
        makeButton(this, QStringLiteral("cmdComponentOptions"),
                   QStringLiteral("Component &Options"), twipsRect(6960, 1350, 2520, 495),
                   QStringLiteral("Choose from a range of different page "
                                  "options."));
    m_cmdGenerate = makeButton(this, QStringLiteral("cmdGenerate"),
                               QStringLiteral("&Generate Code!"), twipsRect(6960, 2040, 2520, 495),
                               QStringLiteral("Generate HTML code to the window below using "
                                              "current options."));

    m_txtOutput = new QPlainTextEdit(this);
    m_txtOutput->setObjectName(QStringLiteral("txtOutput"));
    m_txtOutput->setGeometry(twipsRect(120, 2880, 9360, 4080));
    m_txtOutput->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_txtOutput->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    m_txtOutput->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    m_txtOutput->setAccessibleName(QStringLiteral("HTML code"));
    // Tab moves on to the next control rather than into the code.
    m_txtOutput->setTabChangesFocus(true);

    m_chkUnlock = new QCheckBox(QStringLiteral("Lock/&Unlock HTML Code"), this);
    m_chkUnlock->setObjectName(QStringLiteral("chkUnlock"));
    m_chkUnlock->setGeometry(twipsRect(120, 7050, 3000, 315));
    m_chkUnlock->setToolTip(
        QStringLiteral("Lock or unlock the code window to allow for manual editing."));
    m_chkUnlock->setAccessibleName(QStringLiteral("Lock/Unlock HTML Code"));
    m_chkUnlock->setAccessibleDescription(m_chkUnlock->toolTip());

    const int row = 7500;
    m_cmdPreview = makeButton(
        this, QStringLiteral("cmdPreview"), QStringLiteral("&Preview "),
        twipsRect(120, row, 1695, 375),
        QStringLiteral("Click to preview currently generated code in your default web browser."));
    m_cmdLoad = makeButton(this, QStringLiteral("cmdLoad"), QStringLiteral("&Revert"),
                           twipsRect(1935, row, 1695, 375),
                           QStringLiteral("Click to load the last set of generated html code you "
                                          "previewed. This will also unlock the code window."));
    m_cmdSave = makeButton(this, QStringLiteral("cmdSave"), QStringLiteral("&Save Code"),
                           twipsRect(3750, row, 1695, 375),
                           QStringLiteral("Save generated code as a html file."));
    m_cmdCopy = makeButton(this, QStringLiteral("cmdCopy"), QStringLiteral("&Copy Code"),
                           twipsRect(5565, row, 1695, 375),
                           QStringLiteral("Copy generated code to clipboard."));
    m_cmdClose = makeButton(this, QStringLiteral("cmdClose"), QStringLiteral("C&lose"),
                            twipsRect(7785, row, 1695, 375),
                            QStringLiteral("Close the HTML output wizard without saving."));

    // The page options pop-up menu.
    m_mnuPageOptions = new QMenu(QStringLiteral("PageOptions"), this);
    m_mnuPageOptions->setObjectName(QStringLiteral("mnuPageOptions"));
    QMenu* components = m_mnuPageOptions->addMenu(QStringLiteral("Components"));
    components->setObjectName(QStringLiteral("mnuPOComponents"));
    const QString items[3] = {QStringLiteral("Navigation Bar"),
                              QStringLiteral("Date and Time Stamp"),
                              QStringLiteral("Personal Paragraph...")};
    for (int i = 0; i < 3; ++i) {
        QAction* a = components->addAction(items[i]);
        a->setObjectName(indexed("mnuPOCComponents", i));
        a->setCheckable(true);
        m_mnuPOCComponents[size_t(i)] = a;
        connect(a, &QAction::triggered, this, [this, i] { mnuPOCComponents_Click(i); });
    }
    QMenu* titles = m_mnuPageOptions->addMenu(QStringLiteral("Titles"));
    titles->setObjectName(QStringLiteral("mnuTitles"));
    m_mnuPOTPage = titles->addAction(QStringLiteral("Page Heading..."));
    m_mnuPOTPage->setObjectName(QStringLiteral("mnuPOTPage"));
    m_mnuPOTTitlebar = titles->addAction(QStringLiteral("Titlebar Title..."));
    m_mnuPOTTitlebar->setObjectName(QStringLiteral("mnuPOTTitlebar"));
    connect(m_mnuPOTPage, &QAction::triggered, this, [this] { mnuPOTPage_Click(); });
    connect(m_mnuPOTTitlebar, &QAction::triggered, this, [this] { mnuPOTTitlebar_Click(); });

    connect(m_cmdComponentOptions, &QPushButton::clicked, this,
            [this] { cmdComponentOptions_Click(); });
    connect(m_cmdGenerate, &QPushButton::clicked, this, [this] { cmdGenerate_Click(); });
    connect(m_cmdPreview, &QPushButton::clicked, this, [this] { cmdPreview_Click(); });
    connect(m_cmdSave, &QPushButton::clicked, this, [this] { cmdSave_Click(); });
    connect(m_cmdCopy, &QPushButton::clicked, this, [this] { cmdCopy_Click(); });
    connect(m_cmdLoad, &QPushButton::clicked, this, [this] { cmdLoad_Click(); });
    connect(m_cmdClose, &QPushButton::clicked, this, &QWidget::close);
    connect(m_chkUnlock, &QCheckBox::toggled, this, [this](bool on) { chkUnlock_Click(on); });

    // Tab order as seen: the options frame by frame, then top to bottom.
    QWidget* previous = nullptr;
    const auto chain = [&](QWidget* next) {
        if (previous)
            setTabOrder(previous, next);
        previous = next;
    };
    for (QRadioButton* o : m_optOption)
        chain(o);
    for (QWidget* x : std::initializer_list<QWidget*>{m_cmdComponentOptions, m_cmdGenerate,
                                                      m_txtOutput, m_chkUnlock, m_cmdPreview,
                                                      m_cmdLoad, m_cmdSave, m_cmdCopy, m_cmdClose})
        chain(x);

    Form_Load();
}

void frmHTML::Form_Load() {
    setWindowTitle(kCaption);
    CodeUpToDate = QStringLiteral("Yes");
    m_lblTitle->setText(kCaption);
    LockText();
    m_optOption[0]->setChecked(true);
    m_optOption[2]->setChecked(true);
    m_optOption[6]->setChecked(true);
    ExportHTML();
    if (frmMain* m = forms::mainIfLoaded())
        setWindowIcon(m->windowIcon());
    setWizardWindows(false, this);
}

void frmHTML::closeEvent(QCloseEvent* event) {
    // Gone for good: opening the wizard again starts afresh.
    if (g_html == this)
        g_html = nullptr;
    if (!m_givesBack) {
        event->accept();
        return;
    }
    setWizardWindows(true);
    event->accept();
}

void frmHTML::unload() {
    m_givesBack = false;
    hide();
    close();
}

void frmHTML::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

bool frmHTML::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type == QEvent::MouseMove || type == QEvent::Enter) {
        for (int i = 0; i < 10; ++i)
            if (watched == m_optOption[size_t(i)]) {
                optOption_MouseMove(i);
                return false;
            }
        // A frame also sees the moves its options pass on; only its bare
        // area counts.
        auto* frame = qobject_cast<QWidget*>(watched);
        if (type == QEvent::MouseMove && frame &&
            !frame->childAt(static_cast<QMouseEvent*>(event)->position().toPoint()))
            fmeOptions_MouseMove();
    } else if (type == QEvent::Leave && watched == m_fmeOptions[2]) {
        // Leaving the colour frame puts its colours back.
        ResetBGControls();
    }
    return QWidget::eventFilter(watched, event);
}

// ------------------------------------------------------------------ options

void frmHTML::applyFragment() {
    m_page.wholePage = false;
    m_mnuPOCComponents[0]->setEnabled(false);
    m_mnuPOCComponents[0]->setChecked(false);
    for (int i = kFirstScheme; i < 10; ++i)
        m_optOption[size_t(i)]->setEnabled(false);
    ResetBGControls();
    m_page.TopTemplate.clear();
    m_page.NavigationBar.clear();
    m_page.BottomTemplate.clear();
    m_page.TitlebarTitle.clear();
    m_mnuPOTTitlebar->setEnabled(false);
}

void frmHTML::templateMissing(const QString& path, const QString& what) {
    msgBox(QStringLiteral("TARVO2 cannot read the HTML template %1, so %2. Reinstalling TARVO2 "
                          "restores the template.")
               .arg(path, what),
           MsgButtons::OK, MsgIcon::Exclamation);
}

void frmHTML::optOption_Click(int index) {
    CodeUpToDate = QStringLiteral("No");
    if (index == 0) {
        applyFragment();
    } else if (index == 1) {
        // A whole page needs all three page templates; without one the
        // fragment stays on offer.
        QString top, bottom, topB, missing;
        if (!readHtmlTemplate(kTopA, &top, &missing) ||
            !readHtmlTemplate(kBottom, &bottom, &missing) ||
            !readHtmlTemplate(kTopB, &topB, &missing)) {
            templateMissing(missing, QStringLiteral("it cannot make a whole page. You can still "
                                                    "make a code fragment"));
            m_optOption[0]->setChecked(true);
            return;
        }
        m_page.wholePage = true;
        m_mnuPOCComponents[0]->setEnabled(true);
        for (int i = kFirstScheme; i < 10; ++i)
            m_optOption[size_t(i)]->setEnabled(true);
        m_page.TopTemplate = top;
        m_page.BottomTemplate = bottom;
        m_mnuPOTTitlebar->setEnabled(true);
    } else if (index < kFirstScheme) {
        m_page.FontTag = fontTagFor(index);
        m_page.FontFace = fontListFor(index);
    } else {
        m_page.BodyTag = bodyTagFor(index);
    }
}

void frmHTML::ResetBGControls() {
    const QColor text = QApplication::palette().color(QPalette::ButtonText);
    for (int i = kFirstScheme; i < 10; ++i)
        setColours(m_optOption[size_t(i)], kWindowBlue, text);
    setColours(m_fmeOptions[2], kWindowBlue, QColor());
}

void frmHTML::optOption_MouseMove(int index) {
    ResetBGControls();
    QRadioButton* o = m_optOption[size_t(index)];
    // A colour that cannot be chosen is not previewed.
    if (!o->isEnabled())
        return;
    switch (index) {
    case 6:
        setColours(o, QColor(0xFF, 0xFF, 0xFF), QColor());
        break;
    case 7:
        // The page's text is white on this blue.
        setColours(m_fmeOptions[2], QColor(0xFF, 0xFF, 0xFF), QColor());
        setColours(o, kWindowBlue, QColor(0xFF, 0xFF, 0xFF));
        break;
    case 8:
        setColours(o, QColor(0x1A, 0x3A, 0x1E), QColor(0xFF, 0xFF, 0xFF));
        break;
    case 9:
        setColours(o, QColor(0xC3, 0xC3, 0xC3), QColor());
        break;
    default:
        break;
    }
}

void frmHTML::fmeOptions_MouseMove() {
    ResetBGControls();
}

// --------------------------------------------------------------- components

void frmHTML::cmdComponentOptions_Click() {
    const QRect r = m_cmdComponentOptions->geometry();
    m_mnuPageOptions->popup(mapToGlobal(QPoint(r.left(), r.top() + r.height())));
}

void frmHTML::mnuPOCComponents_Click(int index) {
    CodeUpToDate = QStringLiteral("No");
    // The action has reversed its check mark already.
    QAction* item = m_mnuPOCComponents[size_t(index)];
    const bool ticked = item->isChecked();
    if (index == 0) {
        m_page.NavigationBar.clear();
        QString missing;
        if (ticked && !readHtmlTemplate(kNavigation, &m_page.NavigationBar, &missing)) {
            templateMissing(missing, QStringLiteral("the navigation bar cannot be added"));
            item->setChecked(false);
        }
    } else if (index == 1) {
        m_page.dateStamp = ticked;
    } else if (ticked) {
        const std::optional<QString> answer = platform().input(
            QStringLiteral("Please type an opening statement for your web page. You may want to "
                           "include something like: \"Welcome to the page for my Morrowind "
                           "Character. Here you will find out all sorts of information about my "
                           "character.\""),
            QStringLiteral("Personal Paragraph"), m_page.PersonalParagraph);
        m_page.PersonalParagraph = answer.value_or(QString());
        if (m_page.PersonalParagraph.isEmpty())
            item->setChecked(false);
    } else {
        m_page.PersonalParagraph.clear();
    }
}

void frmHTML::mnuPOTPage_Click() {
    CodeUpToDate = QStringLiteral("No");
    // Cancel keeps the heading that was set.
    if (const auto answer = platform().input(
            QStringLiteral("Please type the heading you wish to appear at the top of your page."),
            QStringLiteral("Page Heading"), m_page.PageHeading))
        m_page.PageHeading = *answer;
}

void frmHTML::mnuPOTTitlebar_Click() {
    CodeUpToDate = QStringLiteral("No");
    if (const auto answer = platform().input(
            QStringLiteral("Please type the heading you wish to appear in the title bar of the "
                           "browser for your page."),
            QStringLiteral("Page Title"), m_page.TitlebarTitle))
        m_page.TitlebarTitle = *answer;
}

// ----------------------------------------------------------------- the code

void frmHTML::ExportHTML() {
    CodeUpToDate = QStringLiteral("Yes");
    QString code, missing;
    if (!tarvo::ExportHTML(m_page, character(), &code, &missing)) {
        templateMissing(missing, QStringLiteral("it cannot make a whole page. A code fragment is "
                                                "made instead"));
        m_optOption[0]->setChecked(true);
        CodeUpToDate = QStringLiteral("Yes");
        tarvo::ExportHTML(m_page, character(), &code);
    }
    m_txtOutput->setPlainText(code);
}

QString frmHTML::code() const {
    QString text = m_txtOutput->document()->toRawText();
    text.replace(QChar::ParagraphSeparator, QLatin1String("\r\n"));
    return text;
}

void frmHTML::cmdGenerate_Click() {
    ExportHTML();
    writeWorkingFile(kHtmlCodeFile, code());
}

void frmHTML::cmdPreview_Click() {
    QString file, reason;
    if (!writeWorkingFile(kHtmlCodeFile, code(), &file, &reason)) {
        // Never a browser showing an older page.
        msgBox(QStringLiteral("TARVO2 could not write the preview page %1: %2\n\nThe page cannot "
                              "be shown in your browser.")
                   .arg(QDir::toNativeSeparators(file), reason),
               MsgButtons::OK, MsgIcon::Exclamation);
        return;
    }
    platform().open(file);
    NotGeneratedHint();
}

void frmHTML::cmdSave_Click() {
    Save();
}

void frmHTML::Save() {
    const QString file = GetSaveAsNameHTML(QStringLiteral("mycharacter.html"), dialogFolder());
    if (!file.isEmpty()) {
        QString reason;
        if (!writeHtmlFile(file, code() + QLatin1String("\r\n"), &reason)) {
            msgBox(QStringLiteral("TARVO2 could not save the HTML code to %1: %2\n\nThe code has "
                                  "not been saved. Please choose another file or folder and try "
                                  "again.")
                       .arg(QDir::toNativeSeparators(file), reason),
                   MsgButtons::OK, MsgIcon::Exclamation);
            return;
        }
    }
    NotGeneratedHint();
}

QString frmHTML::GetSaveAsNameHTML(const QString& defaultName, const QString& folder) {
    FileDialogSpec spec;
    spec.kind = FileDialogSpec::Kind::Save;
    spec.title = QStringLiteral("Save File As...");
    spec.filters = {{QStringLiteral("All Files (*.*)"), QStringLiteral("*.*")},
                    {QStringLiteral("Web Page (*.html)"), QStringLiteral("*.html")}};
    spec.selectedFilter = 1;
    spec.defaultSuffix = QStringLiteral("html");
    spec.initialName = defaultName;
    spec.initialFolder = folder;
    spec.confirmOverwrite = true;
    return platform().fileDialog(spec);
}

void frmHTML::cmdCopy_Click() {
    platform().setClipboardText(code());
    platform().message(QStringLiteral("The generated HTML code has been sent to the clipboard for "
                                      "pasting into any web browser or other program."),
                       MsgButtons::OK, MsgIcon::Information, QStringLiteral("Data copied"));
    NotGeneratedHint();
}

void frmHTML::NotGeneratedHint() {
    if (CodeUpToDate != QLatin1String("Yes"))
        ShowBubble(QStringLiteral("HTML code not generated"),
                   QStringLiteral("If you want new changes from the wizard to take effect, you "
                                  "must click the Generate Code button!"),
                   5700, 6900);
}

void frmHTML::cmdLoad_Click() {
    bool ok = false;
    const QString last = readTextFile(readablePath(QLatin1String(kHtmlCodeFile)), &ok);
    if (ok)
        m_txtOutput->setPlainText(last);
    m_chkUnlock->setChecked(true);
}

// ------------------------------------------------------------ lock / unlock

void frmHTML::chkUnlock_Click(bool ticked) {
    if (ticked) {
        const MsgResult answer =
            msgBox(QStringLiteral("If you unlock the code for manual editing, you will no longer "
                                  "be able to use this wizard to generate code without losing "
                                  "edited changes. Do you wish to continue?"),
                   MsgButtons::YesNo, MsgIcon::Information);
        if (answer == MsgResult::Yes) {
            DisableCommands();
            UnlockText();
            CodeUpToDate = QStringLiteral("Yes");
        } else {
            // Refused: the code stays as it was, up to date or not.
            CancelledUnlock = QStringLiteral("True");
            m_chkUnlock->setChecked(false);
        }
        return;
    }
    if (CancelledUnlock == QLatin1String("True")) {
        CancelledUnlock = QStringLiteral("False");
        return;
    }
    msgBox(QStringLiteral("If you choose to modify the code using the wizard above, you will be "
                          "unable to keep the changes you have made."),
           MsgButtons::OK, MsgIcon::Information);
    EnableCommands();
    LockText();
    CancelledUnlock = QStringLiteral("False");
    CodeUpToDate = QStringLiteral("Yes");
}

void frmHTML::EnableCommands() {
    for (QRadioButton* o : m_optOption)
        o->setEnabled(true);
    m_cmdGenerate->setEnabled(true);
    // The code type applies again (a fragment disables the colours and
    // empties the page parts).
    if (m_optOption[0]->isChecked())
        applyFragment();
    else if (!m_optOption[1]->isChecked())
        m_optOption[0]->setChecked(true);
}

void frmHTML::DisableCommands() {
    for (QRadioButton* o : m_optOption)
        o->setEnabled(false);
    m_cmdGenerate->setEnabled(false);
    ResetBGControls();
}

void frmHTML::LockText() {
    m_txtOutput->setReadOnly(true);
    QPalette p = m_txtOutput->palette();
    p.setColor(QPalette::Text, lockedTextColour(QApplication::palette()));
    m_txtOutput->setPalette(p);
}

void frmHTML::UnlockText() {
    m_txtOutput->setReadOnly(false);
    QPalette p = m_txtOutput->palette();
    p.setColor(QPalette::Text, QApplication::palette().color(QPalette::Active, QPalette::Text));
    m_txtOutput->setPalette(p);
}

// ---------------------------------------------------------------- the entry

frmHTML* ShowHtmlWizard() {
    if (!g_html)
        g_html = new frmHTML;
    g_html->show();
    g_html->raise();
    g_html->activateWindow();
    return g_html;
}

frmHTML* htmlWizardIfLoaded() {
    return g_html;
}

void UnloadHtmlWizard() {
    if (g_html)
        g_html->unload();
}

} // namespace tarvo
