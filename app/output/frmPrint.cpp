#include "frmPrint.h"

#include "appinfo.h"
#include "character.h"
#include "planning/frmProgress.h"
#include "platform.h"
#include "printprofile.h"
#include "shell/forms.h"
#include "shell/optionbutton.h"
#include "shell/twips.h"
#include "shell/widgets.h"
#include "wizard/frmMain.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFrame>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>

namespace tarvo {

namespace {

// The printer, orientation and copies last used: the program's current
// printer for the rest of the run.
struct CurrentPrinter {
    QString name;
    bool landscape = false;
};
CurrentPrinter& currentPrinter() {
    static CurrentPrinter printer;
    return printer;
}

QPointer<frmPrint>& instance() {
    static QPointer<frmPrint> window;
    return window;
}

void enableWizardWindows(bool enabled) {
    if (frmMain* main = forms::mainIfLoaded()) {
        main->setEnabled(enabled);
        if (enabled)
            if (auto* print = main->findChild<QPushButton*>(QStringLiteral("cmdPrint")))
                print->setEnabled(true);
    }
    if (frmProgress* progress = forms::progressIfLoaded())
        progress->setEnabled(enabled);
}

} // namespace

QString frmPrint::pdfEntry() {
    return QStringLiteral("Save as PDF\u2026");
}

frmPrint::frmPrint() {
    setObjectName(QStringLiteral("frmPrint"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    paintBlue(this);
    setFixedSize(twipsSize(5400, 4440));

    m_lblTitle = makeLabel(this, QStringLiteral("lblTitle"), QStringLiteral("Printing Options"),
                           twipsRect(120, 120, 5160, 360));
    QFont big = m_lblTitle->font();
    big.setBold(true);
    big.setPointSizeF(big.pointSizeF() * 1.4);
    m_lblTitle->setFont(big);

    const std::array<QString, 5> texts = {
        QStringLiteral("Choose your printing options below and press the Print button to print "
                       "the selected profile."),
        QStringLiteral("Print the following:"), QStringLiteral("Select the page layout:"),
        QStringLiteral("Select number of copies:"), QStringLiteral("Select a printer:")};
    const std::array<QRect, 5> places = {
        twipsRect(120, 480, 5160, 480), twipsRect(120, 1080, 2520, 285),
        twipsRect(2760, 1080, 2520, 285), twipsRect(2760, 2040, 2520, 285),
        twipsRect(120, 2940, 5160, 285)};
    for (size_t i = 0; i < texts.size(); ++i)
        m_lblID[i] = makeLabel(this, QStringLiteral("lblID(%1)").arg(i), texts[i], places[i]);

    const std::array<QString, 3> contents = {QStringLiteral("Path suggestions"),
                                             QStringLiteral("Birthsign symbol"),
                                             QStringLiteral("Race portrait")};
    for (int i = 0; i < 3; ++i) {
        auto* c = new QCheckBox(contents[size_t(i)], this);
        c->setObjectName(QStringLiteral("chkContentOptions(%1)").arg(i));
        c->setAccessibleName(contents[size_t(i)]);
        c->setGeometry(twipsRect(240, 1380 + i * 315, 2400, 285));
        m_chkContentOptions[size_t(i)] = c;
    }
    m_chkContentOptions[0]->setEnabled(false);

    // The layout's two options are one group, named by the label above it.
    auto* layout = new QFrame(this);
    layout->setObjectName(QStringLiteral("fmeOrientation"));
    layout->setGeometry(twipsRect(2880, 1380, 2400, 600));
    m_lblID[2]->setBuddy(layout);
    auto* orientation = new QButtonGroup(this);
    const std::array<QString, 2> layouts = {QStringLiteral("Portrait"),
                                            QStringLiteral("Landscape")};
    for (int i = 0; i < 2; ++i) {
        auto* o = new OptionButton(layouts[size_t(i)], layout);
        o->setObjectName(QStringLiteral("optOrientation(%1)").arg(i));
        o->setAccessibleName(layouts[size_t(i)]);
        o->setGeometry(twipsRect(0, i * 315, 2400, 285));
        orientation->addButton(o, i);
        m_optOrientation[size_t(i)] = o;
    }

    // The lists are named by their labels.
    m_cboCopies = new QComboBox(this);
    m_cboCopies->setObjectName(QStringLiteral("cboCopies"));
    m_lblID[3]->setBuddy(m_cboCopies);
    m_cboCopies->setGeometry(twipsRect(2880, 2340, 1200, 315));
    for (int n = 1; n <= 9; ++n)
        m_cboCopies->addItem(QString::number(n));

    m_cboPrinters = new QComboBox(this);
    m_cboPrinters->setObjectName(QStringLiteral("cboPrinters"));
    m_lblID[4]->setBuddy(m_cboPrinters);
    m_cboPrinters->setGeometry(twipsRect(240, 3240, 4920, 315));
    connect(m_cboPrinters, &QComboBox::activated, this, [this] { cboPrinters_Click(); });
    // A PDF file is one file: the number of copies is for printers only.
    connect(m_cboPrinters, &QComboBox::currentIndexChanged, this,
            [this] { m_cboCopies->setEnabled(m_cboPrinters->currentText() != pdfEntry()); });

    m_cmdPrint = new QPushButton(QStringLiteral("&Print"), this);
    m_cmdPrint->setObjectName(QStringLiteral("cmdPrint"));
    m_cmdPrint->setToolTip(QStringLiteral("Click to print your character profile."));
    m_cmdPrint->setAccessibleDescription(m_cmdPrint->toolTip());
    m_cmdPrint->setGeometry(twipsRect(2640, 3840, 1215, 375));
    m_cmdPrint->setDefault(true);
    connect(m_cmdPrint, &QPushButton::clicked, this, [this] { cmdPrint_Click(); });

    m_cmdClose = new QPushButton(QStringLiteral("C&lose"), this);
    m_cmdClose->setObjectName(QStringLiteral("cmdClose"));
    m_cmdClose->setToolTip(
        QStringLiteral("Click to close the printing options window without printing."));
    m_cmdClose->setAccessibleDescription(m_cmdClose->toolTip());
    m_cmdClose->setGeometry(twipsRect(3960, 3840, 1215, 375));
    connect(m_cmdClose, &QPushButton::clicked, this, [this] { close(); });

    Form_Load();
}

void frmPrint::Form_Load() {
    if (frmMain* main = forms::mainIfLoaded())
        setWindowIcon(main->windowIcon());
    enableWizardWindows(false);
    setWindowTitle(m_lblTitle->text());
    SetupPrinterCombo();

    const Character& c = character();
    if (c.Birthsign().isEmpty()) {
        m_chkContentOptions[1]->setChecked(false);
        m_chkContentOptions[1]->setEnabled(false);
    }
    if (c.Race().isEmpty()) {
        m_chkContentOptions[2]->setChecked(false);
        m_chkContentOptions[2]->setEnabled(false);
    }
}

void frmPrint::SetupPrinterCombo() {
    m_cboPrinters->clear();
    CurrentPrinter& current = currentPrinter();
    const QStringList printers = platform().printerNames();
    if (current.name.isEmpty() || (current.name != pdfEntry() && !printers.contains(current.name)))
        current.name = platform().defaultPrinterName();
    for (const QString& name : printers) {
        m_cboPrinters->addItem(name);
        if (name == current.name)
            m_cboPrinters->setCurrentIndex(m_cboPrinters->count() - 1);
    }
    // A PDF file is always on offer, and is the choice where no printer is.
    m_cboPrinters->addItem(pdfEntry());
    if (printers.isEmpty() || current.name == pdfEntry() || !printers.contains(current.name))
        m_cboPrinters->setCurrentIndex(m_cboPrinters->count() - 1);
    m_cboCopies->setCurrentIndex(0);
    m_optOrientation[current.landscape ? 1 : 0]->setChecked(true);
}

void frmPrint::cboPrinters_Click() {
    currentPrinter().name = m_cboPrinters->currentText();
}

bool frmPrint::cmdPrint_Click() {
    PrintJob job;
    job.printer = m_cboPrinters->currentText();
    job.landscape = m_optOrientation[1]->isChecked();
    job.copies = m_cboCopies->currentText().toInt();
    job.choices.birthsign = m_chkContentOptions[1]->isChecked();
    job.choices.race = m_chkContentOptions[2]->isChecked();
    CurrentPrinter& current = currentPrinter();
    current.name = job.printer;
    current.landscape = job.landscape;

    const bool toPdf = job.printer == pdfEntry();
    if (toPdf) {
        FileDialogSpec spec;
        spec.kind = FileDialogSpec::Kind::Save;
        spec.title = QStringLiteral("Save the printed profile as a PDF file");
        spec.filters = {{QStringLiteral("PDF document (*.pdf)"), QStringLiteral("*.pdf")}};
        spec.defaultSuffix = QStringLiteral("pdf");
        spec.initialName = printTitle(character()) + QStringLiteral(".pdf");
        spec.confirmOverwrite = true;
        job.pdfPath = platform().fileDialog(spec);
        if (job.pdfPath.isEmpty())
            return false;
    }

    frmMain* main = forms::mainIfLoaded();
    QPushButton* mainPrint =
        main ? main->findChild<QPushButton*>(QStringLiteral("cmdPrint")) : nullptr;
    if (mainPrint)
        mainPrint->setEnabled(false);
    const QString failure = PrintProfile(job);
    if (!failure.isEmpty()) {
        if (mainPrint)
            mainPrint->setEnabled(true);
        const QString text =
            toPdf ? QStringLiteral("Your character profile could not be saved as %1: %2")
                        .arg(job.pdfPath, failure)
                  : QStringLiteral("Your character profile could not be printed on %1: %2")
                        .arg(job.printer, failure);
        platform().message(text, MsgButtons::OK, MsgIcon::Critical, kProgramTitle);
        return false;
    }
    if (toPdf)
        platform().message(QStringLiteral("Your character profile has been saved as %1.")
                               .arg(QDir::toNativeSeparators(job.pdfPath)),
                           MsgButtons::OK, MsgIcon::Information, QStringLiteral("Saved as PDF"));
    else
        platform().message(
            QStringLiteral(
                "Your character profile information has been sent to your selected printer."),
            MsgButtons::OK, MsgIcon::Information, QStringLiteral("Printing now..."));
    close();
    return true;
}

void frmPrint::Form_Unload() {
    if (m_unloaded)
        return;
    m_unloaded = true;
    enableWizardWindows(true);
}

void frmPrint::closeEvent(QCloseEvent* event) {
    Form_Unload();
    QDialog::closeEvent(event);
}

void frmPrint::reject() {
    Form_Unload();
    QDialog::reject();
}

frmPrint* showPrintOptions() {
    QPointer<frmPrint>& window = instance();
    if (!window)
        window = new frmPrint();
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}

} // namespace tarvo
