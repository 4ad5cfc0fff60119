// The HTML wizard's saved pages in a real browser: every colour scheme and
// font type, with long words, rendered by headless Chromium at a desktop
// width and on a phone. pagecheck.py reads from the browser itself whether
// the page scrolls sideways, whether text runs out of its box, the contrast
// of every text with the pixels under it, the dividers' contrast and the
// font each text is drawn in. Skipped (exit code 77) where Chromium is not
// installed.
#include "globals.h"
#include "output/frmHTML.h"
#include "planning/frmProgress.h"
#include "samplecharacter.h"
#include "scriptedplatform.h"
#include "shell/forms.h"
#include "wizard/frmMain.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>
#include <QtTest>

using namespace tarvo;
using tarvo::test::ScriptedPlatform;
using tarvo::test::TempAppFolder;

namespace {

QString chromium() {
    for (const char* name : {"chromium", "chromium-browser"})
        if (const QString exe = QStandardPaths::findExecutable(QLatin1String(name)); !exe.isEmpty())
            return exe;
    return {};
}

struct Rendered {
    QString file;
    int width = 0;
    int texts = 0;
    int rules = 0;
    QStringList failures;
};

// Renders each page (path:generic family of its font) at 1280 and 390 px.
QList<Rendered> render(const QStringList& pages) {
    QProcess p;
    p.start(QStringLiteral("python3"),
            QStringList{QStringLiteral(TARVO_PAGECHECK), chromium(), QStringLiteral("1280,390")} +
                pages);
    if (!p.waitForFinished(240000) || p.exitCode() != 0) {
        qWarning("%s", p.readAllStandardError().constData());
        return {};
    }
    QList<Rendered> out;
    const QJsonArray report =
        QJsonDocument::fromJson(p.readAllStandardOutput()).object().value("pages").toArray();
    for (const QJsonValue& v : report) {
        const QJsonObject o = v.toObject();
        Rendered r{o.value("file").toString(),
                   o.value("width").toInt(),
                   o.value("texts").toInt(),
                   o.value("rules").toInt(),
                   {}};
        for (const QJsonValue& f : o.value("failures").toArray())
            r.failures << f.toString();
        out << r;
    }
    return out;
}

} // namespace

class TestHtmlBrowser : public QObject {
    Q_OBJECT

    template <typename T = QAbstractButton> T* c(QWidget* w, const QString& name) {
        T* x = w->findChild<T*>(name);
        if (!x)
            qFatal("no control %s", qPrintable(name));
        return x;
    }

private slots:
    void savedPagesReadWellOnADesktopAndAPhone() {
        TempAppFolder app;
        ScriptedPlatform platform;
        globals().Domain = "https://tarvo.example/";
        test::buildSampleCharacter(QStringLiteral("Brow"));
        // Words of 18 characters and more, and a long web address.
        character().setCharacterName(QStringLiteral("Vvardenfellwandererofnoone Indoril"));
        character().setClassName(QStringLiteral("Spellswordbattlemagesmith"));
        forms::main()->show();
        forms::progress()->show();

        frmHTML* w = ShowHtmlWizard();
        QTest::mouseClick(c(w, "optOption(1)"), Qt::LeftButton);
        c<QAction>(w, "mnuPOCComponents(0)")->trigger();
        c<QAction>(w, "mnuPOCComponents(1)")->trigger();
        platform.setNextInput(QStringLiteral(
            "Welcome! My notes are kept at "
            "https://tarvo.example/characters/vvardenfell-wanderer-of-no-one/notes.html for "
            "anyone who asks."));
        c<QAction>(w, "mnuPOCComponents(2)")->trigger();
        platform.setNextInput(QStringLiteral("Mournholdcartographersapprentice of Vvardenfell"));
        c<QAction>(w, "mnuPOTPage")->trigger();

        // Each scheme with another font type: every scheme and every font.
        const char* generic[4] = {"sans-serif", "serif", "sans-serif", "serif"};
        QStringList pages;
        for (int k = 0; k < 4; ++k) {
            QTest::mouseClick(c(w, QString("optOption(%1)").arg(kFirstFont + k)), Qt::LeftButton);
            QTest::mouseClick(c(w, QString("optOption(%1)").arg(kFirstScheme + k)), Qt::LeftButton);
            QTest::mouseClick(c(w, "cmdGenerate"), Qt::LeftButton);
            const QString file = app.file(QString("scheme%1.html").arg(k));
            platform.setNextFile(file);
            QTest::mouseClick(c(w, "cmdSave"), Qt::LeftButton);
            QVERIFY(QFileInfo(file).size() > 0);
            pages << file + ':' + QLatin1String(generic[k]);
        }
        w->close();
        forms::unloadAll();

        const QList<Rendered> shown = render(pages);
        QCOMPARE(shown.size(), 8);
        QStringList problems;
        for (const Rendered& r : shown) {
            const QString where =
                QString("%1 at %2 px").arg(QFileInfo(r.file).fileName()).arg(r.width);
            // Every line of the page was looked at: heading, navigation,
            // paragraph, the entries, skills, stamp, credit and footer.
            if (r.texts < 30)
                problems << where + QString(": only %1 texts").arg(r.texts);
            if (r.rules != 2)
                problems << where + QString(": %1 dividers, not 2").arg(r.rules);
            for (const QString& f : r.failures)
                problems << where + ": " + f;
        }
        QVERIFY2(problems.isEmpty(), qPrintable("\n  " + problems.join("\n  ")));
    }

    // The checker itself finds what a reader would: a page as the wizard used
    // to write it for TARVO Blue in Verdana with a long heading.
    void theCheckFindsAnUnreadablePage() {
        QTemporaryDir dir;
        const QString file = dir.filePath("old.html");
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("<!DOCTYPE html><html><head><meta name=\"viewport\" "
                "content=\"width=device-width, initial-scale=1\"><style>"
                "body{max-width:40em;margin:2em auto;padding:1em}"
                "hr{height:2px;border:0;background:linear-gradient(to right,transparent,#8b6239,"
                "transparent)}</style></head>\n"
                "<BODY BGCOLOR=\"#316AC5\" TEXT=\"#000000\"><FONT FACE=\"Verdana\">"
                "<H1>Supercalifragilisticexpialidocious</H1><P>Nerevar</P><HR></FONT>"
                "<p style=\"opacity:.85\">Made with TARVO2</p></BODY></html>\n");
        f.close();
        const QList<Rendered> shown = render({file + ":sans-serif"});
        QCOMPARE(shown.size(), 2);
        const QString desktop = shown[0].failures.join('\n'), phone = shown[1].failures.join('\n');
        QVERIFY2(desktop.contains("\"Nerevar\": #000000 on #316ac5 is 4.00:1"),
                 qPrintable(desktop));
        QVERIFY2(desktop.contains("\"Made with TARVO2\""), qPrintable(desktop));
        QVERIFY2(desktop.contains("hr: "), qPrintable(desktop));
        QVERIFY2(phone.contains("scrolls sideways"), qPrintable(phone));
        QVERIFY2(phone.contains("h1 \"Supercalifragilisticexpialidocious\" is drawn outside"),
                 qPrintable(phone));
        // Verdana is not installed here, so the list without a generic family
        // falls to the browser's serif default.
        if (QFontInfo(QFont("Verdana")).family() != "Verdana")
            QVERIFY2(desktop.contains("the font list \"Verdana\" comes out as"),
                     qPrintable(desktop));
    }
};

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (chromium().isEmpty() || QStandardPaths::findExecutable("python3").isEmpty()) {
        std::fprintf(stderr, "Skipped: Chromium (Debian package chromium) is not installed.\n");
        return 77;
    }
    TestHtmlBrowser test;
    return QTest::qExec(&test, argc, argv);
}

#include "brw_html.moc"
