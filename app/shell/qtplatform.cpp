#include "qtplatform.h"

#include "printqueue.h"

#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPrinterInfo>
#include <QProcess>
#include <QUrl>

#include <cstdlib>

namespace tarvo {

MsgResult QtPlatform::message(const QString& text, MsgButtons buttons, MsgIcon icon,
                              const QString& title) {
    QMessageBox box(QApplication::activeWindow());
    box.setWindowTitle(title);
    box.setText(text);
    switch (icon) {
    case MsgIcon::Critical:
        box.setIcon(QMessageBox::Critical);
        break;
    case MsgIcon::Question:
        box.setIcon(QMessageBox::Question);
        break;
    case MsgIcon::Exclamation:
        box.setIcon(QMessageBox::Warning);
        break;
    case MsgIcon::Information:
        box.setIcon(QMessageBox::Information);
        break;
    case MsgIcon::None:
        break;
    }
    switch (buttons) {
    case MsgButtons::OK:
        box.setStandardButtons(QMessageBox::Ok);
        break;
    case MsgButtons::OKCancel:
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        break;
    case MsgButtons::YesNo:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        break;
    case MsgButtons::YesNoCancel:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        break;
    }
    switch (box.exec()) {
    case QMessageBox::Ok:
        return MsgResult::OK;
    case QMessageBox::Yes:
        return MsgResult::Yes;
    case QMessageBox::No:
        return MsgResult::No;
    default:
        return MsgResult::Cancel;
    }
}

std::optional<QString> QtPlatform::input(const QString& prompt, const QString& title,
                                         const QString& defaultText) {
    bool ok = false;
    const QString text = QInputDialog::getText(QApplication::activeWindow(), title, prompt,
                                               QLineEdit::Normal, defaultText, &ok);
    if (!ok)
        return std::nullopt;
    return text;
}

namespace {

// Qt adds the default suffix only to a name without any "." in it, so
// "St. John's Character" would be saved without ".txt". While the filter of
// that suffix is chosen, a name that does not end in it gets it before the
// dialog takes the name (and asks about replacing that file).
class SaveFileDialog : public QFileDialog {
public:
    SaveFileDialog(QWidget* parent, const QString& title, const QString& folder)
        : QFileDialog(parent, title, folder) {}
    // The filter of the suffix, as set and as shown with its details hidden.
    QStringList suffixFilter;

    void accept() override {
        const QString suffix = QLatin1Char('.') + defaultSuffix();
        auto* edit = findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        if (acceptMode() == AcceptSave && suffix.size() > 1 && edit &&
            suffixFilter.contains(selectedNameFilter())) {
            const QString name = edit->text();
            if (!name.trimmed().isEmpty() && !name.endsWith(suffix, Qt::CaseInsensitive) &&
                !QFileInfo(directory().absoluteFilePath(name)).isDir())
                edit->setText(name + suffix);
        }
        QFileDialog::accept();
    }
};

} // namespace

QString QtPlatform::fileDialog(const FileDialogSpec& spec) {
    SaveFileDialog dialog(QApplication::activeWindow(), spec.title, spec.initialFolder);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setViewMode(QFileDialog::Detail);
    dialog.setFilter(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot | QDir::AllDirs);
    QStringList filters;
    for (const auto& f : spec.filters) {
        // "*.*" means every file, with or without an extension.
        const QString pattern = f.second == QLatin1String("*.*") ? QStringLiteral("*") : f.second;
        filters << QStringLiteral("%1 (%2)").arg(f.first, pattern);
    }
    dialog.setNameFilters(filters);
    if (spec.selectedFilter >= 0 && spec.selectedFilter < filters.size())
        dialog.selectNameFilter(filters[spec.selectedFilter]);
    if (spec.kind == FileDialogSpec::Kind::Folder) {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::Directory);
        dialog.setOption(QFileDialog::ShowDirsOnly);
    } else if (spec.kind == FileDialogSpec::Kind::Save) {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setOption(QFileDialog::DontConfirmOverwrite, !spec.confirmOverwrite);
        dialog.setDefaultSuffix(spec.defaultSuffix);
        for (int i = 0; i < spec.filters.size(); ++i)
            if (spec.filters[i].second.compare(QStringLiteral("*.") + spec.defaultSuffix,
                                               Qt::CaseInsensitive) == 0)
                dialog.suffixFilter = QStringList{filters.value(i), spec.filters[i].first};
        if (!spec.initialName.isEmpty())
            dialog.selectFile(spec.initialName);
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(spec.acceptMissing ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    }
    dialog.setSizeGripEnabled(true);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

void QtPlatform::open(const QString& target) {
    const QUrl url(target);
    const bool isAddress = url.isValid() && url.scheme().size() > 1 &&
                           !QFileInfo::exists(target); // "C:" is a drive, not a scheme
    QDesktopServices::openUrl(isAddress ? url : QUrl::fromLocalFile(target));
}

bool QtPlatform::start(const QString& commandLine) {
    const QString trimmed = commandLine.trimmed();
    if (trimmed.isEmpty())
        return false;
    // A path with blanks names one program; anything else is split into the
    // program and its arguments.
    if (QFileInfo(trimmed).isFile())
        return QProcess::startDetached(trimmed, {}, QFileInfo(trimmed).absolutePath());
    QStringList parts = QProcess::splitCommand(trimmed);
    if (parts.isEmpty())
        return false;
    const QString program = parts.takeFirst();
    return QProcess::startDetached(program, parts);
}

void QtPlatform::setClipboardText(const QString& text) {
    QClipboard* c = QApplication::clipboard();
    c->clear();
    c->setText(text);
}

QString QtPlatform::clipboardText() {
    return QApplication::clipboard()->text();
}

void QtPlatform::endProgram() {
    // Every file is written through a temporary file and already complete
    // here, so ending at once loses nothing.
    std::exit(0);
}

QStringList QtPlatform::printerNames() {
    return QPrinterInfo::availablePrinterNames();
}

QString QtPlatform::defaultPrinterName() {
    return QPrinterInfo::defaultPrinterName();
}

QString QtPlatform::printerRefusal(const QString& printer) {
    return printQueueRefusal(printer);
}

QString QtPlatform::printJobFailure() {
    return tarvo::printJobFailure();
}

} // namespace tarvo
