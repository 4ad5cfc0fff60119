// Starts the program's windows offscreen on a copy of the staged program
// folder, fills in a sample character and saves a picture of each window:
//   tarvo_screenshots <AppFolder> <output folder>
#include "appfolder.h"
#include "character.h"
#include "globals.h"
#include "output/frmFormatting.h"
#include "output/frmHTML.h"
#include "output/frmLoad.h"
#include "planning/frmProgress.h"
#include "planning/frmSheet.h"
#include "settings.h"
#include "shell/forms.h"
#include "shell/frmAbout.h"
#include "shell/frmOptions.h"
#include "shell/frmSplash.h"
#include "shell/frmWelcome.h"
#ifdef TARVO_HAVE_UPDATE
#include "update/frmMain.h"
#endif
#include "shell/qtplatform.h"
#include "wizard/frmMain.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QWidget>

#include <cstdio>

namespace {

void copyTree(const QString& from, const QString& to) {
    QDirIterator it(from, QDir::AllEntries | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString src = it.next();
        const QString dst = to + QLatin1Char('/') + QDir(from).relativeFilePath(src);
        if (it.fileInfo().isDir())
            QDir().mkpath(dst);
        else
            QFile::copy(src, dst);
    }
}

void settle() {
    for (int i = 0; i < 5; ++i)
        QApplication::processEvents();
}

bool save(QWidget* w, const QString& folder, const QString& name) {
    settle();
    const QString path = folder + QLatin1Char('/') + name + QStringLiteral(".png");
    const bool ok = w->grab().save(path);
    std::printf("%s %s\n", ok ? "wrote" : "FAILED", qPrintable(path));
    return ok;
}

// The real platform, except that message boxes are answered at once with
// their first button (a greeting would otherwise wait for a click that an
// offscreen run never gets) and nothing is opened or started.
class QuietPlatform : public tarvo::QtPlatform {
public:
    tarvo::MsgResult message(const QString& text, tarvo::MsgButtons buttons, tarvo::MsgIcon,
                             const QString&) override {
        std::printf("message answered: %s\n", qPrintable(text.left(60)));
        switch (buttons) {
        case tarvo::MsgButtons::OK:
        case tarvo::MsgButtons::OKCancel:
            return tarvo::MsgResult::OK;
        default:
            return tarvo::MsgResult::Yes;
        }
    }
    void open(const QString&) override {}
    bool start(const QString&) override { return true; }
};

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: tarvo_screenshots <AppFolder> <output folder>\n");
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[2]);
    QDir().mkpath(out);
    QTemporaryDir temp;
    copyTree(QDir(QString::fromLocal8Bit(argv[1])).absolutePath(), temp.path());
    tarvo::setAppFolder(temp.path());
    QuietPlatform platform;
    tarvo::setPlatform(&platform);

    bool ok = true;
    auto* splash = new tarvo::frmSplash;
    splash->show();
    splash->load();
    ok &= save(splash, out, QStringLiteral("splash"));
    splash->close();

    tarvo::frmWelcome* welcome = tarvo::forms::welcome();
    welcome->show();
    ok &= save(welcome, out, QStringLiteral("welcome"));
    welcome->hide();

    tarvo::frmMain* main = tarvo::forms::main();
    tarvo::frmProgress* progress = tarvo::forms::progress();
    main->show();
    progress->show();
    tarvo::PlaceProgressBesideMain();

    tarvo::Character& c = tarvo::character();
    ok &= save(main, out, QStringLiteral("step1-welcome"));
    c.setRealName(QStringLiteral("Dagny"));
    c.setClassName(QStringLiteral("Ashland Warden"));
    c.chooseClass(2);
    main->selectStep(1);
    ok &= save(main, out, QStringLiteral("step2-class"));
    c.setCharacterName(QStringLiteral("Teris Vel"));
    c.chooseRace(2);
    c.chooseGender(1);
    main->selectStep(2);
    ok &= save(main, out, QStringLiteral("step3-race"));
    c.chooseFavAtt1(3);
    c.chooseFavAtt2(4);
    main->selectStep(3);
    ok &= save(main, out, QStringLiteral("step4-attributes"));
    for (const char* s : {"Sneak", "Short Blade", "Marksman", "Light Armour", "Acrobatics"})
        c.checkSkillByName(true, QString::fromLatin1(s));
    for (const char* s : {"Security", "Alchemy", "Athletics", "Illusion", "Speechcraft"})
        c.checkSkillByName(false, QString::fromLatin1(s));
    main->selectStep(4);
    ok &= save(main, out, QStringLiteral("step5-skills"));
    c.chooseBirthsign(9);
    main->selectStep(5);
    ok &= save(main, out, QStringLiteral("step6-birthsign"));
    main->selectStep(6);
    ok &= save(main, out, QStringLiteral("step7-review"));
    main->selectStep(7);
    ok &= save(main, out, QStringLiteral("step8-output"));
    main->selectStep(8);
    ok &= save(main, out, QStringLiteral("step9-resources"));
    ok &= save(progress, out, QStringLiteral("progress"));

    tarvo::frmLoad* loader = tarvo::forms::load();
    loader->show();
    ok &= save(loader, out, QStringLiteral("loader"));
    loader->close();

    tarvo::frmSheet* sheet = tarvo::showCharacterSheet();
    ok &= save(sheet, out, QStringLiteral("sheet"));
    if (auto* tabs = sheet->findChild<QTabWidget*>(QStringLiteral("tabPages")))
        tabs->setCurrentIndex(1);
    // The optimiser's plan for the default targets.
    if (auto* plan = sheet->findChild<QPushButton*>(QStringLiteral("cmdPlan")))
        plan->click();
    ok &= save(sheet, out, QStringLiteral("sheet-planner"));
    sheet->close();
    tarvo::showFormattingWindow();
    ok &= save(tarvo::frmFormatting::instance(), out, QStringLiteral("formatting"));
    tarvo::frmFormatting::instance()->unload();
    tarvo::showOptionsWindow();
    for (int i = 0; i < 4; ++i) {
        tarvo::frmOptions::instance()
            ->findChild<QAbstractButton*>(QStringLiteral("optNav(%1)").arg(i))
            ->click();
        ok &= save(tarvo::frmOptions::instance(), out, QStringLiteral("options-%1").arg(i));
    }
    tarvo::showAboutWindow(0);
    ok &= save(tarvo::frmAbout::instance(), out, QStringLiteral("about"));

    tarvo::frmHTML* html = tarvo::ShowHtmlWizard();
    ok &= save(html, out, QStringLiteral("html-wizard"));
    html->close();
#ifdef TARVO_HAVE_UPDATE
    tarvo::update::frmMain update;
    update.show();
    ok &= save(&update, out, QStringLiteral("update"));
    update.hide();
#endif

    // Nothing of this run is worth keeping.
    c.setChangesMade(QStringLiteral("No"));
    tarvo::forms::unloadAll();
    return ok ? 0 : 1;
}
