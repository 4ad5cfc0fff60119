#include "scriptedplatform.h"

#include "appfolder.h"
#include "shell/accessibility.h"
#include "shell/focusstyle.h"
#include "shell/keyboard.h"
#include "yourgame.h"

#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QWidget>

namespace {
// Tests see the program's windows with the keyboard rules, the focus style
// and the accessibility rules that the program installs at its start.
void installProgramRules() {
    if (qobject_cast<QApplication*>(QCoreApplication::instance())) {
        tarvo::installFocusStyle();
        tarvo::installKeyboardRules();
        tarvo::installAccessibilityRules();
    }
}
} // namespace
Q_COREAPP_STARTUP_FUNCTION(installProgramRules)

namespace tarvo::test {

ScriptedPlatform::ScriptedPlatform() : m_previous(setPlatform(this)) {
    // Qt installs its own accessibility after the start-up functions ran:
    // the program's rules go before it again, as in the program.
    tarvo::installAccessibilityRules();
}

ScriptedPlatform::~ScriptedPlatform() {
    setPlatform(m_previous);
}

MsgResult ScriptedPlatform::message(const QString& text, MsgButtons buttons, MsgIcon icon,
                                    const QString& title) {
    messages.append({text, buttons, icon, title});
    if (!answers.isEmpty())
        return answers.dequeue();
    switch (buttons) {
    case MsgButtons::OK:
    case MsgButtons::OKCancel:
        return MsgResult::OK;
    default:
        return MsgResult::Yes;
    }
}

std::optional<QString> ScriptedPlatform::input(const QString&, const QString&,
                                               const QString& defaultText) {
    if (!inputs.isEmpty())
        return inputs.dequeue();
    return defaultText;
}

QString ScriptedPlatform::fileDialog(const FileDialogSpec& spec) {
    dialogs.append(spec);
    return files.isEmpty() ? QString() : files.dequeue();
}

void ScriptedPlatform::open(const QString& target) {
    opened.append(target);
}

bool ScriptedPlatform::start(const QString& commandLine) {
    started.append(commandLine);
    return !startFails;
}

namespace {
void copyTree(const QString& from, const QString& to) {
    QDir().mkpath(to);
    QDirIterator it(from, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString src = it.next();
        const QString rel = QDir(from).relativeFilePath(src);
        const QString dst = to + QLatin1Char('/') + rel;
        if (it.fileInfo().isDir())
            QDir().mkpath(dst);
        else if (!rel.endsWith(QLatin1String(".lock")))
            QFile::copy(src, dst);
    }
}
} // namespace

TempAppFolder::TempAppFolder(bool copyData) {
    if (copyData) {
        const QString staged = QStringLiteral(TARVO_STAGED_APPFOLDER);
        for (const char* sub : {"Data", "Images", "Help", "Templates", "downloads"})
            if (QFileInfo::exists(staged + QLatin1Char('/') + QLatin1String(sub)))
                copyTree(staged + QLatin1Char('/') + QLatin1String(sub),
                         m_dir.filePath(QLatin1String(sub)));
    }
    setAppFolder(m_dir.path());
    // The player's game is looked for in here only, never in the home of
    // whoever runs the tests.
    setGameSearchHome(m_dir.path());
}

TempAppFolder::~TempAppFolder() {
    setAppFolder(QString());
    setGameSearchHome(QString());
}

void TempAppFolder::write(const QString& relative, const QByteArray& bytes) const {
    const QString path = file(relative);
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write(bytes);
}

QByteArray TempAppFolder::read(const QString& relative) const {
    QFile f(file(relative));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QWidget* findTopLevel(const QString& objectName) {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == objectName)
            return w;
    return nullptr;
}

void deleteTopLevels(const QStringList& objectNames) {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (objectNames.contains(w->objectName()))
            delete w;
}

} // namespace tarvo::test
