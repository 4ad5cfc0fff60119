// The HTML output: the character as a code fragment to paste into a web page
// or as a whole page built around the shipped templates. No widgets: the
// HTML wizard keeps an HtmlPage and shows what ExportHTML returns.
#pragma once

#include <QDateTime>
#include <QString>

namespace tarvo {

class Character;

// What the wizard's options, components and titles have set.
struct HtmlPage {
    // Whole page (true) or code fragment (false).
    bool wholePage = false;
    // FONT tag line of the chosen font type, BODY tag line of the colour
    // scheme (whole page only).
    QString FontTag;
    QString BodyTag;
    // The chosen font type's font list, which a whole page's BODY carries
    // too, so that the page's own parts after the FONT element (the footer
    // of bottom.html) are drawn in it.
    QString FontFace;
    // Whole contents of topA.html and bottom.html for a whole page, else empty.
    QString TopTemplate;
    QString BottomTemplate;
    // Whole contents of navigation.html while the component is on, else empty.
    QString NavigationBar;
    // As typed; empty when the component is off.
    QString PersonalParagraph;
    // Empty means that the default applies (and is filled in at generation).
    QString PageHeading;
    QString TitlebarTitle;
    // The Date and Time Stamp component.
    bool dateStamp = false;
};

// The template files, relative to the program folder.
inline constexpr const char* kTopA = "/Data/HTML Templates/topA.html";
inline constexpr const char* kTopB = "/Data/HTML Templates/topB.html";
inline constexpr const char* kNavigation = "/Data/HTML Templates/navigation.html";
inline constexpr const char* kBottom = "/Data/HTML Templates/bottom.html";
// The work file of one generation and the last generated or previewed code.
inline constexpr const char* kHtmlWorkFile = "/Data/HTMLData.txt";
inline constexpr const char* kHtmlCodeFile = "/Data/~HTMLCode.html";

// The font types (option 2 to 5) and colour schemes (option 6 to 9).
inline constexpr int kFirstFont = 2;
inline constexpr int kFirstScheme = 6;
inline constexpr int kSchemeCount = 4;

// The font list of a font type, ending with its generic family
// ("Verdana, sans-serif"), so that a machine without the named fonts still
// draws the kind of font chosen; empty for an index that is not a font type.
QString fontListFor(int option);
// "<FONT FACE = "Arial, Helvetica, sans-serif">" and so on; empty for an
// index that is not a font type.
QString fontTagFor(int option);
// The BODY tag of a colour scheme; empty for an index that is not a scheme.
QString bodyTagFor(int option);
// Background, text and link colour of a scheme ("#RRGGBB").
struct SchemeColours {
    QString background, text, link;
};
SchemeColours schemeColours(int option);

// Text made safe to stand inside an HTML comment: no "--" (a run of dashes
// is split by blanks), and no "-" at its end, so that nothing in it can end
// the comment early.
QString commentSafe(const QString& text);

// Text made safe to stand in HTML text or a quoted attribute: & < > and "
// become character references, so that the page shows what was typed.
QString htmlEscape(const QString& text);

// Reads a template (path relative to the program folder) whole. False when
// it cannot be read; failure then holds the file's path.
bool readHtmlTemplate(const char* relative, QString* text, QString* failure);

// The heading used when the user has set none: the player's name, else the
// character's, else a neutral one.
QString defaultPageHeading(const Character& c);

// Composes the code from page and the character, lines ended by CR LF. An
// empty heading or (whole page) browser title is set to its default in
// page, so that the title boxes offer it afterwards. topB is the whole text
// of topB.html (whole page only).
QString composeHTML(HtmlPage& page, const Character& c, const QString& domain, const QString& topB,
                    const QDateTime& now);

// Writes a saved page (UTF-8) in one atomic replace. A file without write
// permission counts as read-only, as it does for profiles. False with the
// reason when it cannot be written; the old file is then whole.
bool writeHtmlFile(const QString& path, const QString& code, QString* reason);

// Writes one of the program's working files (kHtmlWorkFile, kHtmlCodeFile)
// whole, through the resolver of written files. The old one is removed
// first: nothing keeps it, and replacing a file by rename makes the file
// system put the old data on the disk first, which takes milliseconds.
// False with the reason when it cannot be written; path gets its path.
bool writeWorkingFile(const char* relative, const QString& code, QString* path = nullptr,
                      QString* reason = nullptr);

// One generation: reads topB.html for a whole page, composes, writes the
// code to the work file, reads it back and deletes it. False when a whole
// page lacks topB.html (failure holds its path; nothing is composed).
bool ExportHTML(HtmlPage& page, const Character& c, QString* code, QString* failure = nullptr);

} // namespace tarvo
