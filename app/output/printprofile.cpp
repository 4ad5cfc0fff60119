#include "printprofile.h"

#include "character.h"
#include "globals.h"
#include "ini/safewrite.h"
#include "platform.h"

#include <QBuffer>
#include <QDateTime>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QImage>
#include <QLocale>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>

#include <algorithm>
#include <vector>

namespace tarvo {

namespace {

// The page's text starts this far from the printable area's corner.
constexpr double kOriginLeft = 820;
constexpr double kOriginTop = 1230;
// Where the pictures go, from the text's origin.
constexpr double kPictureLeft = 5800;
constexpr double kBirthsignTop = 1700;
constexpr double kRaceTop = 5100;
// Text that runs beside a picture stops this far before it.
constexpr double kPictureGap = 120;
// A picture's pixels are placed at 96 to the inch: 15 twips a pixel.
constexpr double kTwipsPerPixel = 1440.0 / 96.0;
// How far the page may shrink to stay on one sheet: the room under the text
// (twips), the height of an empty line and the size of the type.
constexpr double kMinBottom = 240;
constexpr double kMinBlank = 0.25;
constexpr double kMinScale = 0.7;

// The face the page names, or the nearest one that is installed: Arial's
// metric twin, and for Arial Black a face at the Black weight, never a
// regular weight in its place.
QFont pageFont(bool black, double points) {
    static const QStringList families = QFontDatabase::families();
    QFont f;
    if (black) {
        if (families.contains(QStringLiteral("Arial Black"))) {
            f.setFamily(QStringLiteral("Arial Black"));
        } else if (families.contains(QStringLiteral("Lato"))) {
            f.setFamily(QStringLiteral("Lato"));
            f.setWeight(QFont::Black);
        } else {
            f.setFamily(families.contains(QStringLiteral("Arial"))
                            ? QStringLiteral("Arial")
                            : QStringLiteral("Liberation Sans"));
            f.setWeight(QFont::Black);
        }
    } else {
        f.setFamily(families.contains(QStringLiteral("Arial")) ? QStringLiteral("Arial")
                                                               : QStringLiteral("Liberation Sans"));
    }
    f.setPointSizeF(points);
    return f;
}

// How the page is fitted onto one sheet: the room kept free under the
// text, the height of an empty line (a share of the font's line) and the
// size of every font (a share of its size on the page).
struct Fit {
    double bottom = kOriginLeft;
    double blank = 1.0;
    double scale = 1.0;
};

// Writes text the way a printer object does: at a current position, in
// twips from the origin, each line moving down by the current font's height.
// A new page starts only when a line is written that would not fit on the
// current one. Measuring (no painter) writes nothing and starts no page; it
// records how far down the text reaches.
class PageWriter {
public:
    PageWriter(QPainter* painter, QPagedPaintDevice* device, std::vector<QRectF> pictures,
               const Fit& fit)
        : m_p(painter), m_device(device), m_pictures(std::move(pictures)), m_fit(fit) {
        m_scaleX = device->logicalDpiX() / 1440.0;
        m_scaleY = device->logicalDpiY() / 1440.0;
        m_width = device->width() / m_scaleX - 2 * kOriginLeft;
        m_height = device->height() / m_scaleY - kOriginTop - fit.bottom;
        m_font = pageFont(false, 12 * fit.scale);
    }

    void setFont(const QFont& font) { m_font = font; }
    QFont& font() { return m_font; }
    double width() const { return m_width; }
    // How far down the written text reaches (measuring).
    double bottom() const { return m_bottom; }
    double position() const { return m_y; }

    // The width of text in twips in the current font.
    double textWidth(const QString& text) const {
        return QFontMetricsF(m_font, m_device).horizontalAdvance(text) / m_scaleX;
    }

    // Prints text at the current position; a line that would run into a
    // picture or off the page continues on the next line, level with where
    // the text began. With lineBreak the position moves to the next line.
    void print(const QString& text, bool lineBreak = true) {
        const double indent = m_x;
        QString rest = text;
        while (!rest.isEmpty()) {
            makeRoom();
            const double room = rightLimit() - m_x;
            if (textWidth(rest) <= room) {
                draw(rest);
                break;
            }
            int cut = fittingWords(rest, room);
            if (cut == 0 && m_x > indent) {
                nextLine(indent);
                continue;
            }
            if (cut == 0 && m_x > 0 && indent > 0) {
                nextLine(0);
                continue;
            }
            if (cut == 0)
                cut = fittingCharacters(rest, room);
            draw(rest.left(cut));
            rest = rest.mid(cut);
            while (rest.startsWith(QLatin1Char(' ')))
                rest.remove(0, 1);
            if (!rest.isEmpty())
                nextLine(indent > 0 && rightLimit() - indent > m_width / 3 ? indent : 0);
        }
        if (lineBreak)
            nextLine(0);
    }

    // An empty line, as high as the fit allows; none at the top of a page.
    void emptyLine() {
        if (m_page > 0 && m_y == 0)
            return;
        m_y += lineHeight() * m_fit.blank;
        m_x = 0;
    }

    // Starts a new page unless height more fits on this one, so that a
    // block of that height stays together.
    void keepTogether(double height) {
        if (m_p && m_y > 0 && m_y + height > m_height)
            newPage();
    }

private:
    double lineHeight() const { return QFontMetricsF(m_font, m_device).height() / m_scaleY; }

    // How far the current line may run: the page's width, or up to a
    // picture beside it on the first page.
    double rightLimit() const {
        double limit = m_width;
        if (m_page == 0) {
            const double top = m_y, bottom = m_y + lineHeight();
            for (const QRectF& r : m_pictures)
                if (bottom > r.top() && top < r.bottom())
                    limit = std::min(limit, r.left() - kPictureGap);
        }
        return limit;
    }

    int fittingWords(const QString& text, double room) const {
        int best = 0;
        for (int i = text.indexOf(QLatin1Char(' ')); i > 0;
             i = text.indexOf(QLatin1Char(' '), i + 1)) {
            if (textWidth(text.left(i)) > room)
                break;
            best = i;
        }
        return best;
    }

    int fittingCharacters(const QString& text, double room) const {
        int n = 1;
        while (n < text.size()) {
            int next = n + 1;
            if (text.at(n).isLowSurrogate() && next < text.size())
                ++next;
            if (textWidth(text.left(next)) > room)
                break;
            n = next;
        }
        if (n < text.size() && text.at(n).isLowSurrogate())
            ++n;
        return n;
    }

    void draw(const QString& text) {
        const QFontMetricsF fm(m_font, m_device);
        if (m_p) {
            m_p->setFont(m_font);
            m_p->drawText(QPointF((kOriginLeft + m_x) * m_scaleX,
                                  (kOriginTop + m_y) * m_scaleY + fm.ascent()),
                          text);
        }
        m_x += fm.horizontalAdvance(text) / m_scaleX;
        m_bottom = std::max(m_bottom, m_y + lineHeight());
    }

    // The line about to be written goes on a new page when it would reach
    // below this one; a page never starts without a line to write on it.
    void makeRoom() {
        if (m_p && m_y > 0 && m_y + lineHeight() > m_height)
            newPage();
    }

    void newPage() {
        m_device->newPage();
        ++m_page;
        m_y = 0;
    }

    void nextLine(double indent) {
        m_y += lineHeight();
        m_x = indent;
    }

    QPainter* m_p;
    QPagedPaintDevice* m_device;
    std::vector<QRectF> m_pictures;
    Fit m_fit;
    QFont m_font;
    double m_scaleX = 1, m_scaleY = 1, m_width = 0, m_height = 0;
    double m_x = 0, m_y = 0, m_bottom = 0;
    int m_page = 0;
};

QStringList checkedSkills(const Character& c, bool major) {
    QStringList names;
    for (const SkillItem& item : c.skillList(major))
        if (item.checked)
            names << item.name;
    return names;
}

} // namespace

QString printTitle(const Character& c) {
    if (!c.RealName().isEmpty())
        return c.RealName() + QStringLiteral("'s Character");
    if (!c.CharacterName().isEmpty())
        return c.CharacterName();
    return QStringLiteral("Morrowind Character");
}

namespace {

// Where the text of the page ends, and how high its footer is.
struct TextExtent {
    double bottom = 0;
    double footer = 0;
};

// Writes the text of the page with painter, or measures it without one.
// footer: the footer's height, kept on one page with painter.
TextExtent writeText(QPainter* painter, QPagedPaintDevice* device, const Character& c,
                     const QString& domain, const std::vector<QRectF>& places, const Fit& fit,
                     double footerHeight = 0) {
    PageWriter page(painter, device, places, fit);

    // Title: set smaller until it fits across the page.
    const QString title = printTitle(c);
    QFont titleFont = pageFont(true, 18 * fit.scale);
    titleFont.setUnderline(true);
    page.setFont(titleFont);
    while (page.font().pointSizeF() > 8 && page.textWidth(title) > page.width())
        page.font().setPointSizeF(page.font().pointSizeF() - 0.5);
    page.print(title);
    page.emptyLine();

    QFont body = pageFont(false, 12 * fit.scale);
    const auto entry = [&](const QString& label, const QString& value) {
        body.setBold(true);
        page.setFont(body);
        page.print(label, false);
        body.setBold(false);
        page.setFont(body);
        page.print(value);
    };
    entry(QStringLiteral("Character Name: "), c.CharacterName());
    entry(QStringLiteral("Character Race: "), c.Race());
    entry(QStringLiteral("Character Gender: "), c.Gender());
    page.emptyLine();
    entry(QStringLiteral("Class Name: "), c.ClassName());
    entry(QStringLiteral("Class Specialization: "), c.Class());
    page.emptyLine();
    entry(QStringLiteral("Birthsign: "), c.Birthsign());
    page.emptyLine();
    entry(QStringLiteral("Favourite Attribute 1: "), c.FavAtt1());
    entry(QStringLiteral("Favourite Attribute 2: "), c.FavAtt2());
    page.emptyLine();

    const auto skillBlock = [&](const QString& heading, bool major) {
        body.setBold(true);
        page.setFont(body);
        page.print(heading);
        body.setBold(false);
        page.setFont(body);
        for (const QString& name : checkedSkills(c, major))
            page.print(name);
    };
    skillBlock(QStringLiteral("Major Skills:"), true);
    page.emptyLine();
    skillBlock(QStringLiteral("Minor Skills:"), false);

    QFont footer = pageFont(false, 8 * fit.scale);
    page.setFont(footer);
    page.keepTogether(footerHeight);
    const double footerTop = page.position();
    for (int i = 0; i < 3; ++i)
        page.emptyLine();
    page.print(QStringLiteral("This profile created using TARVO2: Quenmark"));
    page.print(QStringLiteral("by Quillon."));
    page.print(QStringLiteral("Visit "), false);
    footer.setUnderline(true);
    page.setFont(footer);
    page.print(domain, false);
    footer.setUnderline(false);
    page.setFont(footer);
    page.print(QStringLiteral(" for more information."));
    page.emptyLine();
    footer.setBold(true);
    page.setFont(footer);
    const QLocale locale = QLocale::system();
    page.print(
        QStringLiteral("Printed at: ") +
        locale.toString(QDateTime::currentDateTime(), locale.dateTimeFormat(QLocale::ShortFormat)));
    return {page.bottom(), page.bottom() - footerTop};
}

} // namespace

bool layoutProfile(QPagedPaintDevice* device, const Character& c, const QString& domain,
                   const PrintChoices& choices, QString* error) {
    // The room below the text's origin on the sheet.
    const double pageHeight = device->height() / (device->logicalDpiY() / 1440.0) - kOriginTop;

    // The pictures, at their own size, where the page puts them; both
    // smaller where one would reach below the page.
    std::vector<QRectF> places;
    std::vector<QImage> images;
    const auto addPicture = [&](bool wanted, Character::Area area, double top) {
        if (!wanted || c.areaPicture(area).isEmpty())
            return;
        QImage image(c.areaPicture(area));
        if (image.isNull())
            return; // a missing picture is left out
        places.emplace_back(kPictureLeft, top, image.width() * kTwipsPerPixel,
                            image.height() * kTwipsPerPixel);
        images.push_back(image);
    };
    addPicture(choices.birthsign, Character::AreaBirthsign, kBirthsignTop);
    addPicture(choices.race, Character::AreaRace, kRaceTop);
    double shrink = 1.0;
    for (const QRectF& r : places)
        shrink = std::min(shrink, (pageHeight - kOriginLeft - r.top()) / r.height());
    shrink = std::max(shrink, 0.1);
    for (QRectF& r : places)
        r.setSize(r.size() * shrink);

    // The character fits one sheet: first the room under the text, then the
    // empty lines, then the type get smaller as far as they must. Text that
    // is too long for one sheet at any size goes on over pages as it is.
    const auto fits = [&](const Fit& f, const TextExtent& t) {
        return t.bottom <= pageHeight - f.bottom;
    };
    Fit fit;
    TextExtent extent = writeText(nullptr, device, c, domain, places, fit);
    if (!fits(fit, extent))
        fit.bottom = kMinBottom;
    while (!fits(fit, extent) && fit.blank > kMinBlank) {
        fit.blank = std::max(kMinBlank, fit.blank - 0.125);
        extent = writeText(nullptr, device, c, domain, places, fit);
    }
    while (!fits(fit, extent) && fit.scale > kMinScale) {
        fit.scale = std::max(kMinScale, fit.scale - 0.05);
        extent = writeText(nullptr, device, c, domain, places, fit);
    }
    if (!fits(fit, extent)) {
        fit = Fit();
        extent = writeText(nullptr, device, c, domain, places, fit);
    }

    QPainter painter;
    if (!painter.begin(device)) {
        if (error)
            *error = QStringLiteral("the page could not be started");
        return false;
    }
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const double sx = device->logicalDpiX() / 1440.0, sy = device->logicalDpiY() / 1440.0;
    for (size_t i = 0; i < images.size(); ++i) {
        const QRectF& r = places[i];
        painter.drawImage(QRectF((kOriginLeft + r.left()) * sx, (kOriginTop + r.top()) * sy,
                                 r.width() * sx, r.height() * sy),
                          images[i]);
    }
    writeText(&painter, device, c, domain, places, fit, extent.footer);

    if (!painter.end()) {
        if (error)
            *error = QStringLiteral("the page could not be finished");
        return false;
    }
    return true;
}

QByteArray profilePdf(const Character& c, const QString& domain, const PrintJob& job,
                      QString* error) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setResolution(1200);
        writer.setCreator(QStringLiteral("TARVO2"));
        writer.setTitle(printTitle(c));
        const bool letter = QLocale::system().measurementSystem() == QLocale::ImperialUSSystem;
        writer.setPageLayout(QPageLayout(
            QPageSize(letter ? QPageSize::Letter : QPageSize::A4),
            job.landscape ? QPageLayout::Landscape : QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
        if (!layoutProfile(&writer, c, domain, job.choices, error))
            return {};
    }
    return buffer.data();
}

QString PrintProfile(const PrintJob& job) {
    const Character& c = character();
    const QString domain = globals().Domain;
    QString error;
    if (!job.pdfPath.isEmpty()) {
        const QByteArray pdf = profilePdf(c, domain, job, &error);
        if (pdf.isEmpty())
            return error;
        if (!replaceFileContents(job.pdfPath, pdf, Durability::Durable, &error))
            return error;
        return {};
    }

    QPrinter printer(QPrinter::HighResolution);
    printer.setPrinterName(job.printer);
    if (!printer.isValid() || printer.printerName() != job.printer)
        return QStringLiteral("the printer is not available.");
    // Qt's print engine reports a queue that is paused or refuses jobs as a
    // job sent; the system is asked before and after.
    if (const QString refusal = platform().printerRefusal(job.printer); !refusal.isEmpty())
        return refusal;
    printer.setPageOrientation(job.landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    printer.setCopyCount(std::clamp(job.copies, 1, 9));
    printer.setDocName(printTitle(c));
    if (!layoutProfile(&printer, c, domain, job.choices, &error))
        return QStringLiteral("the printer did not accept the job (%1).").arg(error);
    if (const QString failure = platform().printJobFailure(); !failure.isEmpty())
        return failure;
    if (printer.printerState() == QPrinter::Error || printer.printerState() == QPrinter::Aborted)
        return QStringLiteral("the job could not be sent to the printer.");
    return {};
}

} // namespace tarvo
