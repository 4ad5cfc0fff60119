#include "htmlexport.h"

#include "appfolder.h"
#include "appinfo.h"
#include "character.h"
#include "globals.h"
#include "ini/safewrite.h"
#include "ini/textfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>

namespace tarvo {

namespace {

const QString kQ = QStringLiteral("\"");

struct Scheme {
    const char* background;
    const char* textKey;
    const char* text;
    // Each scheme's links keep a contrast of at least 4.5:1 with its
    // background: the dark red of the light schemes cannot be read on the
    // blue or the green.
    const char* link;
};
constexpr Scheme kSchemes[kSchemeCount] = {
    {"#FFFFFF", "TEXT=", "#000000", "#800000"},
    // Black on this blue is 4.0:1, less towards the page's darker edges.
    {"#316AC5", "TEXT= ", "#FFFFFF", "#FFFF99"},
    {"#1A3A1E", "TEXT= ", "#FFFFFF", "#FFCC66"},
    {"#C3C3C3", "TEXT= ", "#000000", "#800000"},
};

constexpr const char* kFonts[4] = {"Arial, Helvetica, sans-serif", "Times New Roman, Times, serif",
                                   "Verdana, sans-serif", "Georgia, serif"};

// The version comment that opens and closes the code. The home address
// stands in a comment here.
QString versionComment(const QString& domain) {
    return QStringLiteral("<!-- Compiled by TARVO2 version %1, %2 -->")
        .arg(versionText(), commentSafe(domain));
}

// A whole page's BODY tag with the font list as its style, so that the parts
// of the page outside the FONT element take the chosen font as well.
QString bodyWithFont(const QString& body, const QString& fonts) {
    if (fonts.isEmpty() || !body.endsWith(QLatin1Char('>')))
        return body;
    return body.chopped(1) + QStringLiteral(" STYLE=") + kQ + QStringLiteral("font-family: ") +
           htmlEscape(fonts) + kQ + QLatin1Char('>');
}

} // namespace

QString fontListFor(int option) {
    const int i = option - kFirstFont;
    if (i < 0 || i >= 4)
        return {};
    return QLatin1String(kFonts[i]);
}

QString fontTagFor(int option) {
    const QString fonts = fontListFor(option);
    if (fonts.isEmpty())
        return {};
    return QStringLiteral("<FONT FACE = ") + kQ + fonts + kQ + QStringLiteral(">");
}

SchemeColours schemeColours(int option) {
    const int i = option - kFirstScheme;
    if (i < 0 || i >= kSchemeCount)
        return {};
    const Scheme& s = kSchemes[i];
    return {QLatin1String(s.background), QLatin1String(s.text), QLatin1String(s.link)};
}

QString bodyTagFor(int option) {
    const int i = option - kFirstScheme;
    if (i < 0 || i >= kSchemeCount)
        return {};
    const Scheme& s = kSchemes[i];
    const QString link = kQ + QLatin1String(s.link) + kQ;
    return QStringLiteral("<BODY BGCOLOR= ") + kQ + QLatin1String(s.background) + kQ +
           QLatin1Char(' ') + QLatin1String(s.textKey) + kQ + QLatin1String(s.text) + kQ +
           QStringLiteral(" LINK=") + link + QStringLiteral(" VLINK=") + link +
           QStringLiteral(" ALINK=") + link + QStringLiteral(">");
}

QString commentSafe(const QString& text) {
    QString out;
    out.reserve(text.size() + 2);
    for (const QChar ch : text) {
        if (ch == QLatin1Char('-') && out.endsWith(QLatin1Char('-')))
            out += QLatin1Char(' ');
        out += ch;
    }
    if (out.endsWith(QLatin1Char('-')))
        out += QLatin1Char(' ');
    return out;
}

QString htmlEscape(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (const QChar ch : text) {
        switch (ch.unicode()) {
        case '&':
            out += QLatin1String("&amp;");
            break;
        case '<':
            out += QLatin1String("&lt;");
            break;
        case '>':
            out += QLatin1String("&gt;");
            break;
        case '"':
            out += QLatin1String("&quot;");
            break;
        default:
            out += ch;
        }
    }
    return out;
}

bool readHtmlTemplate(const char* relative, QString* text, QString* failure) {
    const QString path = appPath(QLatin1String(relative));
    bool ok = false;
    *text = readTextFile(path, &ok);
    if (!ok && failure)
        *failure = QDir::toNativeSeparators(path);
    return ok;
}

QString defaultPageHeading(const Character& c) {
    if (!c.RealName().isEmpty())
        return c.RealName() + QStringLiteral("'s Morrowind Character");
    if (!c.CharacterName().isEmpty())
        return c.CharacterName() + QStringLiteral(", a Morrowind Character");
    return QStringLiteral("My Morrowind Character");
}

QString composeHTML(HtmlPage& page, const Character& c, const QString& domain, const QString& topB,
                    const QDateTime& now) {
    QString header;
    if (page.wholePage) {
        if (page.TitlebarTitle.isEmpty())
            page.TitlebarTitle = QStringLiteral("Morrowind Character Page");
        header = page.TopTemplate + htmlEscape(page.TitlebarTitle) + topB;
    }
    if (page.PageHeading.isEmpty())
        page.PageHeading = defaultPageHeading(c);

    QString out;
    out.reserve(4096 + header.size() + page.BottomTemplate.size() + page.NavigationBar.size());
    const auto line = [&out](const QString& text) {
        out += text;
        out += QLatin1String("\r\n");
    };
    const auto entry = [&](const char* label, const QString& value) {
        line(QLatin1String(label) + htmlEscape(value));
    };
    const auto skills = [&](bool major) {
        for (const SkillItem& s : c.skillList(major))
            if (s.checked)
                line(QStringLiteral("<BR> - ") + htmlEscape(s.name));
    };

    line(header);
    const QString comment = versionComment(domain);
    line(comment);
    // A whole page opens its BODY before any content, the font inside it.
    if (page.wholePage)
        line(bodyWithFont(page.BodyTag, page.FontFace));
    line(page.FontTag);
    if (page.wholePage)
        line(page.NavigationBar);
    line(QStringLiteral("<H1>") + htmlEscape(page.PageHeading) + QStringLiteral("</H1>"));
    line({});
    if (!page.PersonalParagraph.isEmpty()) {
        line(QStringLiteral("<BLOCKQUOTE>"));
        line(QStringLiteral("<P>"));
        line(QStringLiteral("<FONT SIZE = 2>"));
        line(htmlEscape(page.PersonalParagraph));
        line(QStringLiteral("</FONT>"));
        line(QStringLiteral("</P>"));
        line(QStringLiteral("</BLOCKQUOTE>"));
    }
    line(QStringLiteral("<P>"));
    entry("<B>Character Name:</B> ", c.CharacterName());
    entry("<BR><B>Character Race:</B> ", c.Race());
    entry("<BR><B>Character Gender:</B> ", c.Gender());
    line(QStringLiteral("</P>"));
    line({});
    line(QStringLiteral("<P>"));
    entry("<B>Class Name:</B> ", c.ClassName());
    entry("<BR><B>Class Specialization:</B> ", c.Class());
    line(QStringLiteral("</P>"));
    line({});
    line(QStringLiteral("<P>"));
    entry("<B>Favourite Attribute 1:</B> ", c.FavAtt1());
    entry("<BR><B>Favourite Attribute 2:</B> ", c.FavAtt2());
    line(QStringLiteral("</P>"));
    line({});
    line(QStringLiteral("<P>"));
    entry("<B>Birthsign:</B> ", c.Birthsign());
    line(QStringLiteral("</P>"));
    line({});
    line(QStringLiteral("<B>Major Skills:</B>"));
    skills(true);
    line({});
    line(QStringLiteral("<P>"));
    line(QStringLiteral("<B>Minor Skills:</B>"));
    skills(false);
    line(QStringLiteral("</P>"));
    line({});
    line(QStringLiteral("<HR>"));
    if (page.dateStamp) {
        const QLocale locale = QLocale::system();
        const QString stamp = locale.toString(now.date(), QLocale::ShortFormat) + QLatin1Char(' ') +
                              locale.toString(now.time(), QLocale::LongFormat);
        line(QStringLiteral("<P><CITE>Last updated on ") + htmlEscape(stamp) +
             QStringLiteral(".</CITE></P>"));
    }
    line({});
    line(QStringLiteral("<P><FONT SIZE = -1>"));
    line(QStringLiteral("This profile composed by the Quenmark program by Quillon. Morrowind "
                        "reference: <A HREF = ") +
         kQ + htmlEscape(domain) + kQ + QStringLiteral(" target = ") + kQ +
         QStringLiteral("_blank") + kQ + QLatin1Char('>') + htmlEscape(domain) +
         QStringLiteral("</A>"));
    line(QStringLiteral("</FONT>"));
    line(QStringLiteral("</P>"));
    line(QStringLiteral("</FONT>"));
    line(comment);
    line(page.BottomTemplate);
    return out;
}

bool writeHtmlFile(const QString& path, const QString& code, QString* reason) {
    const QFileInfo fi(path);
    const auto writeBits =
        QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther;
    if (fi.isFile() && (!fi.isWritable() || !(fi.permissions() & writeBits))) {
        *reason = QStringLiteral("the file is read-only.");
        return false;
    }
    return replaceFileContents(path, code.toUtf8(), Durability::Durable, reason);
}

bool writeWorkingFile(const char* relative, const QString& code, QString* path, QString* reason) {
    const QString file = writablePath(QLatin1String(relative));
    if (path)
        *path = file;
    if (QFileInfo(file).isFile())
        QFile::remove(file);
    return replaceFileContents(file, code.toUtf8(), Durability::Working, reason);
}

bool ExportHTML(HtmlPage& page, const Character& c, QString* code, QString* failure) {
    QString topB;
    if (page.wholePage && !readHtmlTemplate(kTopB, &topB, failure))
        return false;
    *code = composeHTML(page, c, globals().Domain, topB, QDateTime::currentDateTime());

    // The code passes through the work file, which is gone again afterwards.
    QString work;
    if (writeWorkingFile(kHtmlWorkFile, *code, &work)) {
        QFile f(work);
        if (f.open(QIODevice::ReadOnly))
            *code = QString::fromUtf8(f.readAll());
        f.close();
        QFile::remove(work);
    }
    return true;
}

} // namespace tarvo
