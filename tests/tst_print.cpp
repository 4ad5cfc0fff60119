// Printing: the options window opened from step eight, the page written as a
// PDF and read back with poppler's tools (texts, positions, faces, pictures),
// and the messages for a job that went out and one that failed.
#include "character.h"
#include "globals.h"
#include "output/frmPrint.h"
#include "output/printprofile.h"
#include "planning/frmProgress.h"
#include "scriptedplatform.h"
#include "shell/forms.h"
#include "wizard/frmMain.h"

#include <QCheckBox>
#include <QComboBox>
#include <QImage>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardPaths>
#include <QXmlStreamReader>
#include <QtTest>

using namespace tarvo;
using tarvo::test::ScriptedPlatform;
using tarvo::test::TempAppFolder;

namespace {

struct Word {
    QString text;
    double x, y, right; // twips from the page's corner
};

QString run(const QString& program, const QStringList& args) {
    QProcess p;
    p.start(program, args);
    p.waitForFinished(30000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

// Every word of the first page, in reading order, with its top-left corner.
QList<Word> words(const QString& pdf) {
    QList<Word> list;
    QXmlStreamReader xml(run("pdftotext", {"-bbox", "-f", "1", "-l", "1", pdf, "-"}));
    while (xml.readNextStartElement() || !xml.atEnd()) {
        if (xml.isStartElement() && xml.name() == QLatin1String("word")) {
            const auto a = xml.attributes();
            const double x = a.value("xMin").toDouble() * 20, y = a.value("yMin").toDouble() * 20;
            const double right = a.value("xMax").toDouble() * 20;
            list.append({xml.readElementText(), x, y, right});
        } else if (!xml.isStartElement()) {
            xml.readNext();
        }
    }
    return list;
}

QString joined(const QList<Word>& list) {
    QStringList t;
    for (const Word& w : list)
        t << w.text;
    return t.join(' ');
}

} // namespace

class TestPrint : public QObject {
    Q_OBJECT

    std::unique_ptr<TempAppFolder> m_app;
    std::unique_ptr<ScriptedPlatform> m_platform;
    QTemporaryDir m_out;

    template <typename T> T* child(QWidget* w, const QString& name) {
        T* c = w->findChild<T*>(name);
        if (!c)
            qFatal("no control %s", qPrintable(name));
        return c;
    }
    frmPrint* openOptions() {
        QTest::mouseClick(child<QAbstractButton>(forms::main(), "optNav(7)"), Qt::LeftButton);
        QTest::mouseClick(child<QPushButton>(forms::main(), "cmdPrint"), Qt::LeftButton);
        for (QWidget* top : QApplication::topLevelWidgets())
            if (auto* w = qobject_cast<frmPrint*>(top); w && w->isVisible())
                return w;
        return nullptr;
    }
    void fullCharacter() {
        Character& c = character();
        c.setRealName("Tom");
        c.setClassName("Tomb Delver");
        c.chooseClass(1);
        c.setCharacterName("Ilvara");
        c.chooseRace(2);
        c.chooseGender(1);
        c.chooseFavAtt1(1);
        c.chooseFavAtt2(2);
        for (const char* s : {"Alchemy", "Destruction", "Mysticism", "Enchant", "Alteration"})
            c.checkSkillByName(true, s);
        for (const char* s : {"Restoration", "Illusion", "Conjuration", "Sneak", "Short Blade"})
            c.checkSkillByName(false, s);
        c.chooseBirthsign(0);
    }
    // Prints to a PDF through the window; the path written.
    QString printPdf(frmPrint* w, const QString& name) {
        QComboBox* printers = child<QComboBox>(w, "cboPrinters");
        printers->setCurrentIndex(printers->findText(frmPrint::pdfEntry()));
        const QString path = m_out.filePath(name);
        m_platform->setNextFile(path);
        QTest::mouseClick(child<QPushButton>(w, "cmdPrint"), Qt::LeftButton);
        return path;
    }

private slots:
    void init() {
        m_app = std::make_unique<TempAppFolder>();
        m_platform = std::make_unique<ScriptedPlatform>();
        character().reset();
        globals().Domain = "https://example.org/wiki/";
        forms::main()->show();
        forms::progress()->show();
    }
    void cleanup() {
        forms::unloadAll();
        for (QWidget* top : QApplication::topLevelWidgets())
            if (qobject_cast<frmPrint*>(top))
                top->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        m_platform.reset();
        m_app.reset();
    }

    void fullCharacterAsPdf() {
        if (QStandardPaths::findExecutable("pdftotext").isEmpty())
            QSKIP("poppler-utils is not installed");
        fullCharacter();
        frmPrint* w = openOptions();
        QVERIFY(w);
        QCOMPARE(w->windowTitle(), QString("Printing Options"));
        QVERIFY(!forms::main()->isEnabled() && !forms::progress()->isEnabled());
        // No printer on this platform: the PDF file is the one choice.
        QCOMPARE(child<QComboBox>(w, "cboPrinters")->currentText(), frmPrint::pdfEntry());
        QVERIFY(!child<QCheckBox>(w, "chkContentOptions(0)")->isEnabled());
        QTest::mouseClick(child<QCheckBox>(w, "chkContentOptions(1)"), Qt::LeftButton);
        QTest::mouseClick(child<QCheckBox>(w, "chkContentOptions(2)"), Qt::LeftButton);
        const QString pdf = printPdf(w, "tom.pdf");

        QCOMPARE(m_platform->lastMessage().title, QString("Saved as PDF"));
        QVERIFY(m_platform->lastMessage().text.contains(pdf));
        QVERIFY(forms::main()->isEnabled() && forms::progress()->isEnabled());

        const QList<Word> page = words(pdf);
        const QString text = joined(page);
        QVERIFY2(text.startsWith("Tom's Character Character Name: Ilvara Character Race: "
                                 "Dark Elf Character Gender: Female Class Name: Tomb Delver "
                                 "Class Specialization: Magic Birthsign: The Mage "
                                 "Favourite Attribute 1: Intelligence Favourite Attribute 2: "
                                 "Willpower Major Skills: "),
                 qPrintable(text));
        QVERIFY(
            text.contains("Minor Skills: Illusion Conjuration Restoration Sneak Short Blade This"));
        QVERIFY(text.contains("This profile created using TARVO2: Quenmark by Quillon. Visit "
                              "https://example.org/wiki/ for more information. Printed at:"));
        // Text starts at the origin, 820 twips right of and 1230 below the corner.
        QVERIFY(qAbs(page[0].x - 820) < 30);
        QVERIFY(page[0].y > 1230 - 30 && page[0].y < 1230 + 200);
        QVERIFY(qAbs(page[2].x - 820) < 30);

        const QString fonts = run("pdffonts", {pdf});
        QVERIFY2(fonts.contains("Black") && fonts.contains("Bold"), qPrintable(fonts));

        // Both pictures at their own size (96 to the inch), where the page puts them.
        const QStringList images =
            run("pdfimages", {"-list", pdf}).split('\n', Qt::SkipEmptyParts).mid(2);
        QCOMPARE(images.size(), 2);
        for (const QString& line : images) {
            const QStringList f = line.simplified().split(' ');
            QCOMPARE(f.value(12), QString("96")); // x-ppi
        }
        run("pdftoppm", {"-r", "48", "-gray", "-png", "-singlefile", pdf, m_out.filePath("p")});
        const QImage shot(m_out.filePath("p.png"));
        QVERIFY(!shot.isNull());
        // 30 twips a pixel at 48 dots per inch.
        for (double top : {1700.0, 5100.0}) {
            const int x = int((820 + 5800 + 1350) / 30.0), y = int((1230 + top + 1650) / 30.0);
            QVERIFY(qGray(shot.pixel(x, y)) < 250);
            const int before = int((820 + 5800) / 30.0) - 2;
            QCOMPARE(qGray(shot.pixel(before, y)), 255);
        }
    }

    void emptyCharacterLandscape() {
        if (QStandardPaths::findExecutable("pdftotext").isEmpty())
            QSKIP("poppler-utils is not installed");
        frmPrint* w = openOptions();
        QVERIFY(!child<QCheckBox>(w, "chkContentOptions(1)")->isEnabled());
        QVERIFY(!child<QCheckBox>(w, "chkContentOptions(2)")->isEnabled());
        QTest::mouseClick(child<QRadioButton>(w, "optOrientation(1)"), Qt::LeftButton);
        const QString pdf = printPdf(w, "empty.pdf");
        const QString text = joined(words(pdf));
        QVERIFY2(text.startsWith("Morrowind Character Character Name: Character Race:"),
                 qPrintable(text));
        QVERIFY(text.contains("Major Skills: Minor Skills: This profile"));
        const QString info = run("pdfinfo", {pdf});
        const QRegularExpression size("Page size:\\s+([\\d.]+) x ([\\d.]+)");
        const auto m = size.match(info);
        QVERIFY(m.hasMatch() && m.captured(1).toDouble() > m.captured(2).toDouble());
        // The choice holds for the rest of the run.
        w = openOptions();
        QVERIFY(child<QRadioButton>(w, "optOrientation(1)")->isChecked());
    }

    void longNamesStayOnThePageAndBesideThePictures() {
        if (QStandardPaths::findExecutable("pdftotext").isEmpty())
            QSKIP("poppler-utils is not installed");
        fullCharacter();
        character().setRealName("Wolfgang Maximilian Wulfharth Whitewater");
        character().setClassName("Warden of the Westward Watchtowers WWWW");
        frmPrint* w = openOptions();
        QTest::mouseClick(child<QCheckBox>(w, "chkContentOptions(1)"), Qt::LeftButton);
        QTest::mouseClick(child<QCheckBox>(w, "chkContentOptions(2)"), Qt::LeftButton);
        const QList<Word> page = words(printPdf(w, "long.pdf"));
        const QString text = joined(page);
        QVERIFY2(text.contains("Class Name: Warden of the Westward Watchtowers WWWW Class"),
                 qPrintable(text));
        // A4 is 11906 twips wide; the pictures stand from 820 + 5800 on,
        // from 1230 + 1700 down to 1230 + 8400.
        for (const Word& word : page) {
            QVERIFY2(word.right <= 11906 - 820 + 20, qPrintable(word.text));
            if (word.y > 1230 + 1700 && word.y < 1230 + 8400)
                QVERIFY2(word.right <= 820 + 5800, qPrintable(word.text));
        }
    }

    // A full character on one sheet in landscape, whatever margins the
    // printer's printable area has: the footer on the page, no empty sheet.
    // Text too long for one sheet goes on over pages, none of them empty.
    void landscapeFitsOneSheet() {
        if (QStandardPaths::findExecutable("pdfinfo").isEmpty())
            QSKIP("poppler-utils is not installed");
        fullCharacter();
        const auto print = [&](QPageSize::PageSizeId size, double margin, const QString& name) {
            QPrinter printer(QPrinter::HighResolution);
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(m_out.filePath(name));
            printer.setPageLayout(QPageLayout(QPageSize(size), QPageLayout::Landscape,
                                              QMarginsF(margin, margin, margin, margin),
                                              QPageLayout::Millimeter));
            if (!layoutProfile(&printer, character(), "https://example.org/wiki/", {true, true}))
                qFatal("no page");
            return QRegularExpression("Pages:\\s+(\\d+)")
                .match(run("pdfinfo", {m_out.filePath(name)}))
                .captured(1)
                .toInt();
        };
        const auto pageText = [&](const QString& name, int page) {
            return run("pdftotext", {"-f", QString::number(page), "-l", QString::number(page),
                                     m_out.filePath(name), "-"});
        };
        for (const auto& [size, margin] :
             {std::pair{QPageSize::A4, 4.2}, std::pair{QPageSize::A4, 7.4},
              std::pair{QPageSize::A4, 8.6}, std::pair{QPageSize::A4, 8.8},
              std::pair{QPageSize::A4, 12.7}, std::pair{QPageSize::A4, 20.0},
              std::pair{QPageSize::A4, 30.0}, std::pair{QPageSize::Letter, 6.35},
              std::pair{QPageSize::Letter, 12.7}}) {
            const QString name = QStringLiteral("sheet-%1-%2.pdf").arg(int(size)).arg(margin);
            QCOMPARE(print(size, margin, name), 1);
            const QString text = pageText(name, 1);
            QVERIFY2(text.contains("Minor Skills:") && text.contains("Printed at:"),
                     qPrintable(name));
        }

        character().setClassName(QString("Warden of the Watch ").repeated(150));
        const int pages = print(QPageSize::A4, 7.4, "long.pdf");
        QVERIFY(pages > 1);
        QVERIFY(pageText("long.pdf", pages).contains("This profile created using TARVO2"));
    }

    void failuresAreReported() {
        fullCharacter();
        m_platform->printers = {"No Such Printer"};
        m_platform->defaultPrinter = "No Such Printer";
        frmPrint* w = openOptions();
        QComboBox* printers = child<QComboBox>(w, "cboPrinters");
        QCOMPARE(printers->count(), 2);
        // Copies are for printers; a PDF is one file.
        printers->setCurrentIndex(0);
        QVERIFY(child<QComboBox>(w, "cboCopies")->isEnabled());
        printers->setCurrentIndex(1);
        QVERIFY(!child<QComboBox>(w, "cboCopies")->isEnabled());
        printers->setCurrentIndex(0);
        QVERIFY(child<QComboBox>(w, "cboCopies")->isEnabled());
        QTest::mouseClick(child<QPushButton>(w, "cmdPrint"), Qt::LeftButton);
        QVERIFY(m_platform->lastMessage().text.contains("could not be printed on No Such Printer"));
        QCOMPARE(m_platform->lastMessage().icon, MsgIcon::Critical);
        QVERIFY(w->isVisible());

        // A PDF into a folder that is gone: the reason, no success.
        printPdf(w, "gone/tom.pdf");
        QVERIFY(m_platform->lastMessage().text.contains("could not be saved as"));
        QVERIFY(w->isVisible());
        QTest::keyClick(w, Qt::Key_Escape);
        QVERIFY(!w->isVisible() || w->isHidden());
        QVERIFY(forms::main()->isEnabled() && forms::progress()->isEnabled());
    }

    void realPrinterWhenThereIsOne() {
        const QString queues = run("lpstat", {"-p"});
        const QRegularExpression printer("^printer (\\S+)", QRegularExpression::MultilineOption);
        const auto m = printer.match(queues);
        if (!m.hasMatch())
            QSKIP("no CUPS printer on this machine");
        fullCharacter();
        m_platform->printers = {m.captured(1)};
        m_platform->defaultPrinter = m.captured(1);
        frmPrint* w = openOptions();
        QTest::mouseClick(child<QPushButton>(w, "cmdPrint"), Qt::LeftButton);
        QCOMPARE(m_platform->lastMessage().title, QString("Printing now..."));
    }
};

QTEST_MAIN(TestPrint)
#include "tst_print.moc"
