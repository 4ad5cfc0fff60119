#include "frmMain.h"

#include "appfolder.h"
#include "download.h"
#include "ini/mdlVbNetIni.h"
#include "platform.h"
#include "shell/twips.h"

#include <QAccessibleWidget>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QIcon>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>

namespace tarvo::update {

namespace {

constexpr int kBarFull = 3495;
constexpr int kBarThird = 1165;
constexpr int kBarTwoThirds = 2330;

const QString kStarted = QStringLiteral("Download service: Started");
const QString kStopped = QStringLiteral("Download service: Stopped");
const QString kBegin = QStringLiteral("Please begin");

QString indexed(const char* base, int i) {
    return QStringLiteral("%1(%2)").arg(QLatin1String(base)).arg(i);
}

MsgResult say(const QString& text, MsgButtons buttons, MsgIcon icon) {
    return platform().message(text, buttons, icon, kTitle);
}

QString shown(const QString& path) {
    return QDir::toNativeSeparators(path);
}

template <typename W>
W* place(W* w, const QString& name, const QString& accessible, int left, int top, int width,
         int height) {
    w->setObjectName(name);
    w->setAccessibleName(accessible);
    w->setGeometry(twipsRect(left, top, width, height));
    return w;
}

QLabel* label(QWidget* parent, const QString& name, const QString& text, int left, int top,
              int width, int height, bool wrap = true) {
    auto* l = place(new QLabel(text, parent), name, text, left, top, width, height);
    l->setWordWrap(wrap);
    l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return l;
}

// The progress bar: a white well that its child imgStatus fills from the
// left. It is a progress bar to the accessibility tools, with its value; its
// own drawing is only the well.
class StatusWell : public QProgressBar {
public:
    using QProgressBar::QProgressBar;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter(this).fillRect(rect(), QColor(255, 255, 255));
    }
};

// What a screen reader sees of the bar: a progress bar with its value and
// nothing inside (the fill is only paint).
class StatusWellAccessible : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    explicit StatusWellAccessible(QWidget* w) : QAccessibleWidget(w, QAccessible::ProgressBar) {}
    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::ValueInterface)
            return static_cast<QAccessibleValueInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }
    int childCount() const override { return 0; }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QString text(QAccessible::Text t) const override {
        if (t != QAccessible::Value)
            return QAccessibleWidget::text(t);
        const int span = bar()->maximum() - bar()->minimum();
        return QStringLiteral("%1%").arg(
            span > 0 ? qRound(100.0 * (bar()->value() - bar()->minimum()) / span) : 0);
    }
    QVariant currentValue() const override { return bar()->value(); }
    void setCurrentValue(const QVariant&) override {}
    QVariant maximumValue() const override { return bar()->maximum(); }
    QVariant minimumValue() const override { return bar()->minimum(); }
    QVariant minimumStepSize() const override { return 0; }

private:
    QProgressBar* bar() const { return static_cast<QProgressBar*>(widget()); }
};

QAccessibleInterface* statusWellAccessible(const QString&, QObject* object) {
    if (auto* well = dynamic_cast<StatusWell*>(object))
        return new StatusWellAccessible(well);
    return nullptr;
}

void bold(QLabel* l, double scale = 1.0) {
    QFont f = l->font();
    f.setBold(true);
    if (scale != 1.0)
        f.setPointSizeF(f.pointSizeF() * scale);
    l->setFont(f);
}

} // namespace

frmMain::frmMain(QWidget* parent) : QDialog(parent), m_download(new Download(this)) {
    static const bool accessible = (QAccessible::installFactory(statusWellAccessible), true);
    Q_UNUSED(accessible);
    setObjectName(QStringLiteral("frmMain"));
    build();
    connect(m_download, &Download::progress, this, [this](qint64 received, qint64 total) {
        const double part = total > 0 ? qBound(0.0, double(received) / double(total), 1.0) : 0.0;
        // The list fills the bar's middle third; a file the whole bar.
        setBar(m_checking ? kBarThird + int(part * kBarThird) : int(part * kBarFull));
    });
    connect(m_download, &Download::finished, this, [this](bool ok, const QString& reason) {
        if (m_checking)
            checkFinished(ok, reason);
        else
            fastDownloadFinished(ok, reason);
    });

    // Loading.
    setBar(0);
    m_lblDownload->setText(QStringLiteral("Check for Updates to search for avaliable updates."));
}

frmMain::~frmMain() = default;

void frmMain::build() {
    setWindowTitle(QStringLiteral("Update Checker"));
    setAccessibleName(QStringLiteral("Update Checker"));
    // The program's icon, as the main program shows it.
    if (const QString icon = appPath(QStringLiteral("Images/TARVO2.png")); QFileInfo::exists(icon))
        setWindowIcon(QIcon(icon));
    paintBlue(this);
    setFixedSize(twipsSize(7500, 7860));

    m_lblTitle = label(this, QStringLiteral("lblTitle"), QStringLiteral("Check for Updates"), 240,
                       120, 7000, 420, false);
    bold(m_lblTitle, 1.5);
    m_lblID[0] = label(this, indexed("lblID", 0),
                       QStringLiteral("Keeping up to date is essential to make sure you always "
                                      "have access to the latest information and fixes. Follow "
                                      "the three steps below."),
                       240, 600, 7000, 540);

    // Step one.
    m_lblStep[0] = label(this, indexed("lblStep", 0), QStringLiteral("1"), 240, 1260, 480, 480);
    m_lblID[1] = label(this, indexed("lblID", 1), QStringLiteral("Connect to the internet"), 840,
                       1260, 6400, 285);
    m_lblID[4] = label(this, indexed("lblID", 4),
                       QStringLiteral("Make sure you are connected to the internet before "
                                      "checking for updates."),
                       840, 1545, 6400, 420);

    // Step two.
    m_lblStep[1] = label(this, indexed("lblStep", 1), QStringLiteral("2"), 240, 2040, 480, 480);
    m_lblID[2] =
        label(this, indexed("lblID", 2), QStringLiteral("Check for updates"), 840, 2040, 6400, 285);
    m_lblID[5] = label(this, indexed("lblID", 5),
                       QStringLiteral("Click the button below to begin."), 840, 2325, 6400, 285);
    m_chkDone[0] = place(new QCheckBox(kBegin, this), indexed("chkDone", 0),
                         QStringLiteral("Connection"), 840, 2640, 4000, 300);
    m_cmdUpdate = place(new QPushButton(QStringLiteral("Check for Updates"), this),
                        QStringLiteral("cmdUpdate"), QStringLiteral("Check for Updates"), 840, 3000,
                        2160, 375);
    m_picStatus = place(new StatusWell(this), QStringLiteral("picStatus"),
                        QStringLiteral("Progress"), 3240, 3060, kBarFull, 255);
    m_picStatus->setRange(0, kBarFull);
    m_picStatus->setValue(0);
    m_picStatus->setTextVisible(false);
    m_imgStatus = place(new QWidget(m_picStatus), QStringLiteral("imgStatus"),
                        QStringLiteral("Progress bar"), 0, 0, 0, 255);
    m_imgStatus->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_imgStatus->setAutoFillBackground(true);
    QPalette fill = m_imgStatus->palette();
    fill.setColor(QPalette::Window, QColor(0, 160, 60));
    m_imgStatus->setPalette(fill);
    m_lblStatus = label(this, QStringLiteral("lblStatus"),
                        QStringLiteral("Status: Not yet started"), 840, 3480, 3600, 285, false);
    m_lblService =
        label(this, QStringLiteral("lblService"), kStopped, 4560, 3480, 2800, 285, false);

    // Step three.
    m_fmeSection = place(new QGroupBox(this), indexed("fmeSection", 0),
                         QStringLiteral("Download any required updates"), 120, 3840, 7260, 3360);
    paintBlue(m_fmeSection);
    QGroupBox* f = m_fmeSection;
    m_lblStep[2] = label(f, indexed("lblStep", 2), QStringLiteral("3"), 120, 180, 480, 480);
    m_lblID[3] = label(f, indexed("lblID", 3), QStringLiteral("Download any required updates"), 720,
                       180, 6400, 285);
    m_chkDone[1] = place(new QCheckBox(kBegin, f), indexed("chkDone", 1),
                         QStringLiteral("Update check"), 720, 480, 4000, 300);
    m_lblDownload = label(f, QStringLiteral("lblDownload"), QString(), 120, 900, 7000, 285, false);
    m_lblDownload->setAccessibleName(QStringLiteral("Updates found"));
    m_lstUpdates = place(new QListWidget(f), QStringLiteral("lstUpdates"),
                         QStringLiteral("Available updates"), 120, 1260, 2880, 1920);
    m_lblUpdate = label(f, QStringLiteral("lblUpdate"), QString(), 3120, 1260, 4000, 285, false);
    m_lblUpdate->setAccessibleName(QStringLiteral("Selected update"));
    m_lblUpdateDescription =
        label(f, QStringLiteral("lblUpdateDescription"), QString(), 3120, 1560, 4000, 660);
    m_lblUpdateDescription->setAccessibleName(QStringLiteral("Description"));
    m_lblLatestVersion =
        label(f, QStringLiteral("lblLatestVersion"), QString(), 3120, 2220, 4000, 255, false);
    m_lblLatestVersion->setAccessibleName(QStringLiteral("Latest version"));
    m_lblYourVersion =
        label(f, QStringLiteral("lblYourVersion"), QString(), 3120, 2475, 4000, 255, false);
    m_lblYourVersion->setAccessibleName(QStringLiteral("Your version"));
    m_cmdMore = place(new QPushButton(QStringLiteral("More"), f), QStringLiteral("cmdMore"),
                      QStringLiteral("More"), 3120, 2805, 1200, 375);
    m_cmdDownload =
        place(new QPushButton(QStringLiteral("Fast Download"), f), QStringLiteral("cmdDownload"),
              QStringLiteral("Fast Download"), 4440, 2805, 1680, 375);
    m_cmdClose = place(new QPushButton(QStringLiteral("&Close"), this), QStringLiteral("cmdClose"),
                       QStringLiteral("Close"), 6120, 7320, 1200, 375);

    for (QLabel* l : {m_lblTitle, m_lblID[1], m_lblID[2], m_lblID[3], m_lblUpdate})
        bold(l);
    for (QLabel* l : m_lblStep) {
        bold(l, 2.0);
        l->setAccessibleName(QStringLiteral("Step ") + l->text());
    }
    for (QCheckBox* c : m_chkDone) {
        c->setTristate(true);
        c->setEnabled(false);
        // The user cannot tick or clear an indicator: a click puts it back.
        connect(c, &QCheckBox::clicked, c, [c] { c->setCheckState(Qt::PartiallyChecked); });
    }
    m_cmdMore->setEnabled(false);
    m_cmdDownload->setEnabled(false);
    for (QPushButton* b : {m_cmdUpdate, m_cmdMore, m_cmdDownload, m_cmdClose})
        b->setAutoDefault(false);
    m_cmdUpdate->setDefault(true);

    setTabOrder(m_cmdUpdate, m_lstUpdates);
    setTabOrder(m_lstUpdates, m_cmdMore);
    setTabOrder(m_cmdMore, m_cmdDownload);
    setTabOrder(m_cmdDownload, m_cmdClose);

    connect(m_cmdUpdate, &QPushButton::clicked, this, &frmMain::cmdUpdate_Click);
    connect(m_lstUpdates, &QListWidget::currentRowChanged, this, &frmMain::lstUpdates_Click);
    connect(m_lstUpdates, &QListWidget::itemClicked, this, &frmMain::lstUpdates_Click);
    connect(m_cmdDownload, &QPushButton::clicked, this, &frmMain::cmdDownload_Click);
    connect(m_cmdMore, &QPushButton::clicked, this, &frmMain::cmdMore_Click);
    connect(m_cmdClose, &QPushButton::clicked, this, &QWidget::close);
}

bool frmMain::isBusy() const {
    return m_lblService->text() == kStarted;
}

void frmMain::setBar(int twipsWide) {
    m_bar = qBound(0, twipsWide, kBarFull);
    const int full = m_picStatus->width();
    const int wide = m_bar == kBarFull ? full : qMin(full, twips(m_bar));
    m_imgStatus->setGeometry(0, 0, wide, m_picStatus->height());
    m_picStatus->setValue(m_bar);
}

void frmMain::setService(bool started) {
    m_lblService->setText(started ? kStarted : kStopped);
    // One transfer at a time: nothing else may start while one runs.
    m_cmdUpdate->setEnabled(!started);
    m_lstUpdates->setEnabled(!started);
    if (started)
        m_cmdDownload->setEnabled(false);
}

void frmMain::setIndicator(int index, const QString& caption) {
    QCheckBox* c = m_chkDone[size_t(index)];
    c->setEnabled(true);
    c->setCheckState(Qt::PartiallyChecked);
    c->setText(caption);
}

void frmMain::clearDetails() {
    for (QLabel* l : {m_lblUpdate, m_lblUpdateDescription, m_lblLatestVersion, m_lblYourVersion})
        l->clear();
    m_cmdMore->setEnabled(false);
    m_cmdDownload->setEnabled(false);
    m_cmdDownload->setText(QStringLiteral("Fast Download"));
    m_cmdUpdate->setDefault(true);
}

// ----------------------------------------------------------------- check ---

void frmMain::cmdUpdate_Click() {
    if (isBusy())
        return;
    setService(true);
    m_lblStatus->setText(QStringLiteral("Status: Retrieving location."));
    setIndicator(0, QStringLiteral("Using connection"));
    const QString urls = readablePath(kUrlsFile);
    const QString from = ReadIniValue(QStringLiteral("urls"), QStringLiteral("iniDownloadFrom"),
                                      QStringLiteral("Error"), urls);
    setBar(kBarThird);
    m_lblStatus->setText(QStringLiteral("Downloading updates.ini"));

    if (from == QLatin1String("Error")) {
        checkFailed(QStringLiteral("Couldn't locate file from \\downloads\\urls.ini. You should "
                                   "reinstall TARVO2."),
                    QStringLiteral("Status: Unable to locate download url"));
        return;
    }
    const std::optional<QUrl> url = webAddress(from);
    if (!url) {
        noUpdateSource(from);
        return;
    }
    m_checking = true;
    m_notAList = false;
    m_listUrl = *url;
    FetchRules rules;
    rules.maxBytes = kMaxListBytes;
    // A page that is not a list (a network's sign-in page) is no answer.
    rules.checkBody = [this](const QByteArray& body) {
        m_notAList = !UpdateList::fromBytes(body).isList();
        return m_notAList ? QStringLiteral("the page that arrived is not a list of updates")
                          : QString();
    };
    m_download->start(*url, writablePath(kListFile), rules);
}

void frmMain::noUpdateSource(const QString& unusable) {
    QString text =
        unusable.trimmed().isEmpty()
            ? QStringLiteral("This copy of TARVO2 has no update source, so it cannot look for "
                             "updates itself.")
            : QStringLiteral("The update source of this copy of TARVO2 (\"%1\") is not a web "
                             "address, so it cannot look for updates itself.")
                  .arg(unusable.trimmed());
    text += QLatin1Char(' ');
    text += isPortable()
                ? QStringLiteral("Newer versions of TARVO2 are published where this copy came "
                                 "from, as the README file that came with it says.")
                : QStringLiteral("This copy is installed for the whole system: newer versions "
                                 "come with the system's packages, through its software updates.");
    say(text, MsgButtons::OK, MsgIcon::Information);
    m_chkDone[0]->setText(QStringLiteral("No update source"));
    m_lblStatus->setText(QStringLiteral("Status: No update source"));
    setBar(0);
    setService(false);
    lstUpdates_Click();
}

void frmMain::checkFailed(const QString& message, const QString& status) {
    say(message, MsgButtons::OK, MsgIcon::Critical);
    m_chkDone[0]->setText(QStringLiteral("An error occured"));
    m_lblStatus->setText(status);
    setBar(0);
    setService(false);
    lstUpdates_Click();
}

void frmMain::checkFinished(bool ok, const QString& reason) {
    m_checking = false;
    if (!ok && m_notAList) {
        checkFailed(QStringLiteral("The address %1 sent a page that is not a list of updates (it "
                                   "has no [title] section). A network that wants you to sign in "
                                   "first (in a hotel, on a train) sends such a page: sign in "
                                   "with your web browser, then check again.")
                        .arg(m_listUrl.toDisplayString()),
                    QStringLiteral("Status: The page received is not a list of updates"));
        return;
    }
    if (!ok) {
        checkFailed(QStringLiteral("The list of updates could not be downloaded from %1: %2. "
                                   "Check your connection and try again later.")
                        .arg(m_listUrl.toDisplayString(), reason),
                    QStringLiteral("Status: Unable to download the list of updates"));
        return;
    }
    // Redirects never lead from https to http, so an https address means
    // the list came over https all the way.
    m_listSecure = m_listUrl.scheme().compare(QLatin1String("https"), Qt::CaseInsensitive) == 0;
    setService(false);
    m_chkDone[0]->setText(QStringLiteral("Connection closed"));
    setBar(kBarTwoThirds);
    m_lblStatus->setText(QStringLiteral("Analysing file"));
    setIndicator(1, QStringLiteral("Update check complete!"));
    setBar(kBarFull);
    m_lblStatus->setText(QStringLiteral("Completed."));
    LoadList();
}

void frmMain::LoadList() {
    m_lstUpdates->blockSignals(true);
    m_lstUpdates->clear();
    m_list = UpdateList::fromFile(writablePath(kListFile));
    m_lstUpdates->addItems(m_list.titles());
    m_lstUpdates->setCurrentRow(-1);
    m_lstUpdates->blockSignals(false);
    // Nothing of the previous list stays on show.
    clearDetails();
    m_lblDownload->setText(countSentence(m_list.size()));
}

// ------------------------------------------------------------- selection ---

bool frmMain::packaged(const UpdateEntry& e) const {
    // The package manager owns the programs of an installed copy.
    return !isPortable() && e.replacesProgram();
}

void frmMain::lstUpdates_Click() {
    if (isBusy())
        return;
    const int n = m_lstUpdates->currentRow();
    if (n < 0) {
        // Nothing selected: nothing to fetch.
        if (m_lblUpdate->text().isEmpty())
            clearDetails();
        return;
    }
    const UpdateEntry e = m_list.entry(n);
    const QString yours = e.program.isEmpty()
                              ? QString()
                              : ReadIniValue(QStringLiteral("versions"), e.program, QString(),
                                             readablePath(kVersionsFile));
    const bool newer = isNewer(e.version, yours);
    const bool offered = newer && !packaged(e);
    m_cmdMore->setEnabled(newer);
    m_cmdDownload->setEnabled(offered);
    m_lblLatestVersion->setText(QStringLiteral("Latest version: ") + e.version);
    m_lblYourVersion->setText(QStringLiteral("Your version: ") + yours);
    m_lblUpdate->setText(m_lstUpdates->item(n)->text());
    QString description = e.description;
    if (packaged(e))
        description += (description.isEmpty() ? QString() : QStringLiteral("\n")) +
                       QStringLiteral("This item comes with the system's packages and is updated "
                                      "with them, not here.");
    m_lblUpdateDescription->setText(description);
    m_cmdDownload->setText(e.fastDownload() ? QStringLiteral("Fast Download")
                                            : QStringLiteral("Web Download"));
    m_cmdDownload->setAccessibleName(m_cmdDownload->text());
    (offered ? m_cmdDownload : m_cmdUpdate)->setDefault(true);
}

std::optional<QUrl> frmMain::addressOrRefuse(const QString& text, const QString& what) {
    if (const std::optional<QUrl> url = webAddress(text, m_listUrl))
        return url;
    say(text.trimmed().isEmpty()
            ? QStringLiteral("The list of updates gives no address for %1.").arg(what)
            : QStringLiteral("The address for %1, \"%2\", is not an http or https address, so "
                             "it was not opened.")
                  .arg(what, text),
        MsgButtons::OK, MsgIcon::Exclamation);
    return std::nullopt;
}

void frmMain::cmdMore_Click() {
    const UpdateEntry e = m_list.entry(m_lstUpdates->currentRow());
    if (const auto url = addressOrRefuse(e.more, QStringLiteral("more information")))
        platform().open(url->toString());
}

// -------------------------------------------------------------- download ---

void frmMain::cmdDownload_Click() {
    if (isBusy())
        return;
    const UpdateEntry e = m_list.entry(m_lstUpdates->currentRow());
    if (packaged(e))
        return;
    if (m_cmdDownload->text() == QLatin1String("Web Download")) {
        if (const auto url = addressOrRefuse(e.downloadFrom, QStringLiteral("this download")))
            platform().open(url->toString());
        return;
    }
    startFastDownload(e);
}

void frmMain::startFastDownload(const UpdateEntry& e) {
    const std::optional<QUrl> url = addressOrRefuse(e.downloadFrom, QStringLiteral("this update"));
    if (!url)
        return;
    auto refuse = [&](const QString& why) {
        say(QStringLiteral("%1 Nothing was downloaded.").arg(why), MsgButtons::OK,
            MsgIcon::Exclamation);
    };
    QString why;
    const std::optional<DownloadTarget> target = downloadTarget(e.saveTo, &why);
    if (!target)
        return refuse(QStringLiteral("The list of updates asks to save this update as \"%1\", "
                                     "which is refused: %2.")
                          .arg(e.saveTo, why));
    const bool secureFile = url->scheme().compare(QLatin1String("https"), Qt::CaseInsensitive) == 0;
    // A program runs: it is only taken from a list and an address that
    // nobody on the way could have changed.
    if (target->program && (!m_listSecure || !secureFile))
        return refuse(
            QStringLiteral("This update would replace the program file %1, and a program is only "
                           "taken from a list of updates fetched over a secure (https) address, "
                           "from a secure address of its own. The list came from %2, the file "
                           "from %3.")
                .arg(shown(target->path), m_listUrl.toDisplayString(), url->toDisplayString()));
    FetchRules rules;
    rules.maxBytes = kMaxFileBytes;
    rules.httpsOnly = target->program;
    if (!e.sha256.trimmed().isEmpty()) {
        rules.sha256 = sha256Digest(e.sha256);
        if (!rules.sha256)
            return refuse(QStringLiteral("The list of updates gives \"%1\" as the SHA-256 "
                                         "checksum of this update, which is not 64 hexadecimal "
                                         "digits.")
                              .arg(e.sha256.trimmed()));
    }
    m_fetching = e;
    m_fetchTarget = target->path;
    m_fetchUrl = *url;
    setService(true);
    setBar(0);
    m_lblStatus->setText(QStringLiteral("Status: Downloading ") + e.title);
    m_download->start(*url, target->path, rules);
}

void frmMain::fastDownloadFinished(bool ok, const QString& reason) {
    setService(false);
    if (!ok) {
        setBar(0);
        m_lblStatus->setText(QStringLiteral("Status: Download failed"));
        say(QStringLiteral("The update could not be downloaded from %1: %2. Nothing was changed.")
                .arg(m_fetchUrl.toDisplayString(), reason),
            MsgButtons::OK, MsgIcon::Critical);
        lstUpdates_Click();
        return;
    }
    setBar(kBarFull);
    m_lblStatus->setText(QStringLiteral("Completed."));
    if (m_fetching.program.compare(kProgramItem, Qt::CaseInsensitive) == 0) {
        // A new program is a file to install, not an installed program: the
        // program records its own version when it next starts.
        say(QStringLiteral("The new version of TARVO2 has been downloaded to %1. Close TARVO2 and "
                           "install it from there to finish the update.")
                .arg(shown(m_fetchTarget)),
            MsgButtons::OK, MsgIcon::Information);
    } else if (m_fetching.program.isEmpty() ||
               !WriteIniValue(QStringLiteral("versions"), m_fetching.program, m_fetching.version,
                              writablePath(kVersionsFile, true))) {
        say(QStringLiteral("The update was downloaded to %1, but its version could not be "
                           "recorded in %2.")
                .arg(shown(m_fetchTarget), shown(writablePath(kVersionsFile, true))),
            MsgButtons::OK, MsgIcon::Exclamation);
    } else {
        say(QStringLiteral("The update for your selected item has been downloaded and applied."),
            MsgButtons::OK, MsgIcon::Information);
    }
    lstUpdates_Click();
}

// --------------------------------------------------------------- closing ---

void frmMain::reject() {
    close();
}

void frmMain::closeEvent(QCloseEvent* event) {
    if (isBusy()) {
        const MsgResult answer =
            say(QStringLiteral("The update checker is still in the process of checking for "
                               "updates or downloading them, are you sure you wish to cancel "
                               "them and exit?"),
                MsgButtons::YesNo, MsgIcon::Information);
        if (answer != MsgResult::Yes) {
            event->ignore();
            return;
        }
    }
    // The transfer stops first, and its partial file goes with it.
    m_download->cancel();
    m_checking = false;
    QFile::remove(writablePath(kListFile));
    // (QDialog's own handling would call reject() and close once more.)
    event->accept();
}

} // namespace tarvo::update
