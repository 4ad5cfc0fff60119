// Generate in the HTML output wizard for a whole page with every component:
// the median time from the click to the code window filled (composing,
// the work file, the code window, the preview file), and with the code
// window drawn as well.
//
//   bench_html [AppFolder] [rounds]
#include "appfolder.h"
#include "character.h"
#include "globals.h"
#include "output/frmHTML.h"
#include "platform.h"
#include "shell/forms.h"
#include "silentplatform.h"
#include "wizard/frmMain.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace tarvo;

namespace {

// Answers every input box with a paragraph.
class ParagraphPlatform : public SilentPlatform {
public:
    std::optional<QString> input(const QString&, const QString&, const QString&) override {
        return QStringLiteral("Welcome to the page of my Morrowind character.");
    }
};

} // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments();
    const QString folder = benchAppFolder(args);
    const int rounds = benchRounds(args, 200);
    if (folder.isEmpty())
        return 1;
    ParagraphPlatform quiet;
    setPlatform(&quiet);
    globals().Domain = QStringLiteral("https://tarvo.example/");

    forms::main()->show();
    fillSampleCharacter();

    frmHTML* w = ShowHtmlWizard();
    if (!QTest::qWaitForWindowExposed(w))
        return 1;
    const auto control = [w](const char* name) {
        QObject* o = w->findChild<QObject*>(QLatin1String(name));
        if (!o)
            qFatal("no control %s", name);
        return o;
    };
    QTest::mouseClick(qobject_cast<QWidget*>(control("optOption(1)")), Qt::LeftButton);
    QTest::mouseClick(qobject_cast<QWidget*>(control("optOption(8)")), Qt::LeftButton);
    for (const char* item : {"mnuPOCComponents(0)", "mnuPOCComponents(1)", "mnuPOCComponents(2)"})
        qobject_cast<QAction*>(control(item))->trigger();
    auto* generate = qobject_cast<QPushButton*>(control("cmdGenerate"));
    auto* output = qobject_cast<QPlainTextEdit*>(control("txtOutput"));

    std::vector<double> filled, drawn;
    for (int i = 0; i < rounds; ++i) {
        output->clear();
        QElapsedTimer t;
        t.start();
        QTest::mouseClick(generate, Qt::LeftButton);
        filled.push_back(double(t.nsecsElapsed()) / 1e6);
        output->viewport()->repaint();
        drawn.push_back(double(t.nsecsElapsed()) / 1e6);
    }
    std::printf("bench_html: Generate, whole page with every component (%lld characters), "
                "%d rounds\n",
                static_cast<long long>(output->toPlainText().size()), rounds);
    std::printf("median %.3f ms to the code window filled, %.3f ms with it drawn\n", median(filled),
                median(drawn));
    w->close();
    QFile::remove(writablePath(QLatin1String(kHtmlCodeFile)));
    forms::unloadAll();
    return 0;
}
