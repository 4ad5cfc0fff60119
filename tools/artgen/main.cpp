// tarvo_artgen <AppFolder> [--sheet <file.png>] [--selftest]
// tarvo_artgen --icons <folder>
//
// Draws every picture the program ships into the given program folder, creating the
// folders it needs, then reads each file back to make sure it decodes to what was drawn.
// --sheet also writes a contact sheet of all pictures; --selftest checks the GIF and
// ICO writers on generated test images first. --icons draws the program icon for the
// desktop's icon theme instead: <folder>/hicolor/<n>x<n>/apps/tarvo2.png at each size.
#include "artkit.h"
#include "imageio.h"
#include "pictures.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImageReader>
#include <QRandomGenerator>
#include <QTextStream>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

using namespace artgen;

namespace {

struct Picture {
    QString path;         // relative to the program folder
    QList<QImage> images; // several only for multi-size icons
    QString group;        // heading on the contact sheet
};

std::vector<Picture> allPictures() {
    std::vector<Picture> out;
    for (const QString& race : raceNames())
        out.push_back({QStringLiteral("Data/Race/%1.JPG").arg(race),
                       {drawRace(race)},
                       QStringLiteral("Races")});
    for (const QString& sign : birthsignNames())
        out.push_back({QStringLiteral("Data/Birthsigns/%1.JPG").arg(sign),
                       {drawBirthsign(sign)},
                       QStringLiteral("Birthsigns")});
    out.push_back({QStringLiteral("Images/LogoMed.JPG"),
                   {drawSplashLogo()},
                   QStringLiteral("Program pictures")});
    out.push_back({QStringLiteral("Images/welcomescreen.JPG"),
                   {drawWelcomeScene()},
                   QStringLiteral("Program pictures")});
    out.push_back({QStringLiteral("Images/Btn_Profile.JPG"),
                   {drawLoaderButton(true)},
                   QStringLiteral("Program pictures")});
    out.push_back({QStringLiteral("Images/Btn_Template.JPG"),
                   {drawLoaderButton(false)},
                   QStringLiteral("Program pictures")});
    out.push_back({QStringLiteral("Images/TARVO2.png"),
                   {drawProgramIcon(256)},
                   QStringLiteral("Program pictures")});
    out.push_back(
        {QStringLiteral("Images/TARVO2.ico"),
         {drawProgramIcon(16), drawProgramIcon(32), drawProgramIcon(48), drawProgramIcon(256)},
         QStringLiteral("Program pictures")});
    for (const QString& site : websiteNames())
        out.push_back({QStringLiteral("Data/Websites/%1.GIF").arg(site),
                       {drawWebButton(site)},
                       QStringLiteral("Website logos")});
    out.push_back({QStringLiteral("Data/Websites/default.GIF"),
                   {drawWebButton(QStringLiteral("default"))},
                   QStringLiteral("Website logos")});
    out.push_back({QStringLiteral("Data/Websites/Project TARVO2 Home.GIF"),
                   {drawWebButton(QStringLiteral("Project TARVO2 Home"))},
                   QStringLiteral("Website logos")});
    out.push_back(
        {QStringLiteral("Data/Red.bmp"), {drawStatusMark(false)}, QStringLiteral("Interface")});
    out.push_back(
        {QStringLiteral("Data/Blue.bmp"), {drawStatusMark(true)}, QStringLiteral("Interface")});
    out.push_back(
        {QStringLiteral("Data/ALink.ICO"), {drawLinkCursor()}, QStringLiteral("Interface")});
    out.push_back(
        {QStringLiteral("Data/BubbleBack.png"), {drawBubbleBack()}, QStringLiteral("Interface")});
    out.push_back({QStringLiteral("Data/BubbleArrowD.png"),
                   {drawBubbleArrow(true)},
                   QStringLiteral("Interface")});
    out.push_back({QStringLiteral("Data/BubbleArrowU.png"),
                   {drawBubbleArrow(false)},
                   QStringLiteral("Interface")});
    return out;
}

// Mean and largest per-channel difference between two images of the same size, over
// the pixels that are not fully transparent in the original.
void compare(const QImage& a, const QImage& b, double* mean, int* worst) {
    const QImage x = a.convertToFormat(QImage::Format_ARGB32);
    const QImage y = b.convertToFormat(QImage::Format_ARGB32);
    double sum = 0;
    long long n = 0;
    *worst = 0;
    for (int row = 0; row < x.height(); ++row) {
        const auto* lx = reinterpret_cast<const QRgb*>(x.constScanLine(row));
        const auto* ly = reinterpret_cast<const QRgb*>(y.constScanLine(row));
        for (int col = 0; col < x.width(); ++col) {
            if (qAlpha(lx[col]) == 0)
                continue;
            const int d[3] = {std::abs(qRed(lx[col]) - qRed(ly[col])),
                              std::abs(qGreen(lx[col]) - qGreen(ly[col])),
                              std::abs(qBlue(lx[col]) - qBlue(ly[col]))};
            for (int v : d) {
                sum += v;
                *worst = std::max(*worst, v);
            }
            n += 3;
        }
    }
    *mean = n ? sum / n : 0;
}

// Reads a written file back and checks size, frame count and pixels.
bool verify(const QString& file, const Picture& pic, QTextStream& err) {
    QImageReader reader(file);
    reader.setDecideFormatFromContent(true);
    const int expectedCount = static_cast<int>(pic.images.size());
    if (expectedCount > 1 && reader.imageCount() != expectedCount) {
        err << file << ": holds " << reader.imageCount() << " images, expected " << expectedCount
            << "\n";
        return false;
    }
    for (int i = 0; i < expectedCount; ++i) {
        if (i > 0 && !reader.jumpToImage(i)) {
            err << file << ": cannot reach image " << i << "\n";
            return false;
        }
        const QImage back = reader.read();
        const QImage& drawn = pic.images[i];
        if (back.isNull() || back.size() != drawn.size()) {
            err << file << ": does not read back (" << reader.errorString() << ")\n";
            return false;
        }
        double mean = 0;
        int worst = 0;
        compare(drawn, back, &mean, &worst);
        const QString ext = QFileInfo(file).suffix().toLower();
        // JPEG and GIF are lossy (compression, 256-colour palette); the rest must match.
        const double meanLimit = ext == QLatin1String("jpg")   ? 6.0
                                 : ext == QLatin1String("gif") ? 4.0
                                                               : 1.0;
        const int worstLimit = ext == QLatin1String("jpg")   ? 255
                               : ext == QLatin1String("gif") ? 64
                                                             : 2;
        if (mean > meanLimit || worst > worstLimit) {
            err << file << ": read back differs (mean " << mean << ", worst " << worst << ")\n";
            return false;
        }
    }
    return true;
}

bool selfTest(QTextStream& err) {
    bool ok = true;
    // Noise over few colours exercises long LZW runs; noise over 256 colours fills the
    // code table repeatedly, forcing clear codes and the widening of codes.
    for (int colours : {2, 7, 256}) {
        QImage img(173, 211, QImage::Format_RGB32);
        QRandomGenerator rng(static_cast<quint32>(colours));
        std::vector<QRgb> table;
        for (int i = 0; i < colours; ++i)
            table.push_back(qRgb(i * 37 % 256, i * 91 % 256, i));
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x) {
                const bool run = colours == 2 && (x / 20) % 2 == 0;
                img.setPixel(x, y, table[run ? 0 : rng.bounded(colours)]);
            }
        const QByteArray gif = encodeGif(img);
        QImage back;
        back.loadFromData(gif, "GIF");
        double mean = 0;
        int worst = 0;
        if (!back.isNull() && back.size() == img.size())
            compare(img, back, &mean, &worst);
        if (back.isNull() || back.size() != img.size() || worst != 0) {
            err << "GIF self-test with " << colours << " colours failed\n";
            ok = false;
        }
    }
    QImage a(16, 16, QImage::Format_ARGB32);
    a.fill(qRgba(200, 40, 20, 255));
    a.setPixel(0, 0, qRgba(0, 0, 0, 0));
    QImage b(256, 256, QImage::Format_ARGB32);
    b.fill(qRgba(10, 200, 40, 255));
    const QByteArray ico = encodeIco({a, b});
    QImageReader reader;
    QBuffer buffer;
    buffer.setData(ico);
    reader.setDevice(&buffer);
    reader.setFormat("ico");
    if (reader.imageCount() != 2) {
        err << "ICO self-test: " << reader.imageCount() << " images\n";
        ok = false;
    } else {
        const QImage first = reader.read();
        if (first.pixel(1, 1) != qRgba(200, 40, 20, 255) || qAlpha(first.pixel(0, 0)) != 0) {
            err << "ICO self-test: wrong pixels\n";
            ok = false;
        }
    }
    return ok;
}

QImage checkerboard(const QSize& s) {
    QImage img(s, QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < s.height(); ++y)
        for (int x = 0; x < s.width(); ++x)
            img.setPixel(x, y, ((x / 4 + y / 4) % 2) ? qRgb(200, 200, 200) : qRgb(240, 240, 240));
    return img;
}

// Lays every picture out on one page, each as read back from its file, under its name.
QImage contactSheet(const QString& folder, const std::vector<Picture>& pictures) {
    const int pageWidth = 980;
    const int margin = 12;
    struct Placed {
        QImage image;
        QString label;
        QString group;
        int scale;
    };
    std::vector<Placed> items;
    for (const Picture& pic : pictures) {
        QImageReader reader(QDir(folder).filePath(pic.path));
        reader.setDecideFormatFromContent(true);
        const int count = std::max(1, reader.imageCount());
        for (int i = 0; i < count; ++i) {
            if (i > 0)
                reader.jumpToImage(i);
            QImage img = reader.read();
            if (img.isNull())
                continue;
            const QString name = QFileInfo(pic.path).fileName();
            int scale = 1;
            if (img.width() <= 20)
                scale = 4;
            else if (img.width() <= 32)
                scale = 3;
            else if (img.width() <= 88)
                scale = 2;
            QString label = name;
            if (count > 1)
                label += QStringLiteral(" %1px").arg(img.width());
            items.push_back({img, label, pic.group, scale});
        }
    }
    // First pass computes the height, second pass paints.
    QImage sheet;
    for (int pass = 0; pass < 2; ++pass) {
        QPainter p;
        if (pass == 1) {
            beginPainter(p, sheet);
            p.fillRect(sheet.rect(), QColor(24, 28, 40));
        }
        int x = margin;
        int y = margin;
        int rowHeight = 0;
        QString group;
        const QFont labelFont = sansFont(11);
        const QFont headFont = serifFont(16, true);
        for (const Placed& item : items) {
            const QSize shown = item.image.size() * item.scale;
            const int cellW = std::max(shown.width(), 96);
            const int cellH = shown.height() + 18;
            if (item.group != group) {
                if (!group.isEmpty())
                    y += rowHeight + 10;
                x = margin;
                rowHeight = 0;
                group = item.group;
                if (pass == 1) {
                    p.setFont(headFont);
                    p.setPen(pal::bronzeLight);
                    p.drawText(QPointF(x, y + 16), group);
                }
                y += 24;
            }
            if (x + cellW > pageWidth - margin) {
                x = margin;
                y += rowHeight + 8;
                rowHeight = 0;
            }
            if (pass == 1) {
                const QRect target(QPoint(x, y), shown);
                if (item.image.hasAlphaChannel())
                    p.drawImage(target, checkerboard(shown));
                p.setRenderHint(QPainter::SmoothPixmapTransform, false);
                p.drawImage(target, item.image);
                p.setFont(labelFont);
                p.setPen(QColor(220, 220, 230));
                const QString label =
                    QFontMetrics(labelFont).elidedText(item.label, Qt::ElideMiddle, cellW + 8);
                p.drawText(QRectF(x, y + shown.height() + 2, cellW + 10, 16),
                           Qt::AlignLeft | Qt::AlignVCenter, label);
            }
            x += cellW + 12;
            rowHeight = std::max(rowHeight, cellH);
        }
        if (pass == 0)
            sheet = QImage(pageWidth, y + rowHeight + margin, QImage::Format_RGB32);
    }
    return sheet;
}

// The program icon at the sizes the desktop's icon theme asks for.
bool writeThemeIcons(const QString& folder, QTextStream& err) {
    for (const int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        const QString file =
            QStringLiteral("%1/hicolor/%2x%2/apps/tarvo2.png").arg(folder).arg(size);
        QDir().mkpath(QFileInfo(file).absolutePath());
        QString error;
        if (!savePicture(drawProgramIcon(size), file, &error)) {
            err << error << "\n";
            return false;
        }
    }
    return true;
}

} // namespace

int main(int argc, char* argv[]) {
    QGuiApplication app(argc, argv);
    QTextStream err(stderr);
    QString folder;
    QString sheetFile;
    bool runSelfTest = false;
    const QStringList args = app.arguments();
    if (args.size() == 3 && args[1] == QLatin1String("--icons"))
        return writeThemeIcons(args[2], err) ? 0 : 1;
    for (int i = 1; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--sheet") && i + 1 < args.size())
            sheetFile = args[++i];
        else if (args[i] == QLatin1String("--selftest"))
            runSelfTest = true;
        else if (folder.isEmpty() && !args[i].startsWith(QLatin1String("--")))
            folder = args[i];
        else {
            folder.clear();
            break;
        }
    }
    if (folder.isEmpty()) {
        err << "usage: tarvo_artgen <AppFolder> [--sheet <file.png>] [--selftest]\n"
               "       tarvo_artgen --icons <folder>\n";
        return 2;
    }
    if (runSelfTest && !selfTest(err))
        return 1;

    const std::vector<Picture> pictures = allPictures();
    bool ok = true;
    for (const Picture& pic : pictures) {
        const QString file = QDir(folder).filePath(pic.path);
        QString error;
        const bool written = pic.images.size() > 1 ? saveIcon(pic.images, file, &error)
                                                   : savePicture(pic.images.front(), file, &error);
        if (!written) {
            err << error << "\n";
            ok = false;
            continue;
        }
        ok = verify(file, pic, err) && ok;
    }
    if (!ok)
        return 1;
    if (!sheetFile.isEmpty()) {
        const QImage sheet = toIndexed(contactSheet(folder, pictures));
        QString error;
        if (!savePicture(sheet, sheetFile, &error)) {
            err << error << "\n";
            return 1;
        }
    }
    return 0;
}
