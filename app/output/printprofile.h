// The printed character profile: one page laid out in twips from the corner
// of the printable area, sent to a printer or written as a PDF file.
#pragma once

#include <QString>

class QPagedPaintDevice;

namespace tarvo {

class Character;

// What goes on the page besides the text.
struct PrintChoices {
    bool birthsign = false; // the birthsign symbol
    bool race = false;      // the race portrait
};

// One print run as the printing options window sets it up.
struct PrintJob {
    // The printer's name; ignored for a PDF file.
    QString printer;
    // Where a PDF goes; empty to print on the printer.
    QString pdfPath;
    bool landscape = false;
    int copies = 1;
    PrintChoices choices;
};

// The title line: "<real name>'s Character"; without a real name the
// character's name, without either a neutral title.
QString printTitle(const Character& c);

// Lays the character out on device, page by page. False when the device
// would not start a page (error says why).
bool layoutProfile(QPagedPaintDevice* device, const Character& c, const QString& domain,
                   const PrintChoices& choices, QString* error = nullptr);

// Prints the current character as job says: on its printer, or as a PDF
// file that replaces the old one whole. Empty on success, else the reason.
QString PrintProfile(const PrintJob& job);

// The page as a PDF document in memory (the PDF file's contents).
QByteArray profilePdf(const Character& c, const QString& domain, const PrintJob& job,
                      QString* error = nullptr);

} // namespace tarvo
