#include "textexport.h"

#include "appfolder.h"
#include "character.h"
#include "globals.h"
#include "ini/mdlVbNetIni.h"
#include "ini/safewrite.h"
#include "ini/textfile.h"
#include "settings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace tarvo {

namespace {

const QString kTagsRelative = QStringLiteral("/Data/tags.ini");
const QString kBoardList = QStringLiteral("/Data/~messageboards.txt");
const QString kClipboardData = QStringLiteral("/Data/ClipboardData.txt");
const QLatin1String kCrLf("\r\n");

QString escapeHtml(const QString& text) {
    return text.toHtmlEscaped();
}

// Every character that CommonMark could read as markup gets a backslash.
QString escapeMarkdown(const QString& text) {
    static const QString special = QStringLiteral("\\`*_[]<>#|~!&");
    QString out;
    out.reserve(text.size() + 8);
    for (const QChar ch : text) {
        if (special.contains(ch))
            out += QLatin1Char('\\');
        out += ch;
    }
    return out;
}

// Text that starts a line must not start a block either: leading blanks
// (four make code) become character references, and a list marker ("-",
// "+", "1." or "1)") or a line of "=" or "-" gets its backslash.
QString escapeMarkdownLineStart(const QString& text) {
    QString lead;
    int i = 0;
    for (; i < text.size() && (text[i] == QLatin1Char(' ') || text[i] == QLatin1Char('\t')); ++i)
        lead += text[i] == QLatin1Char(' ') ? QStringLiteral("&#32;") : QStringLiteral("&#9;");
    QString rest = text.mid(i);
    if (rest.startsWith(QLatin1Char('-')) || rest.startsWith(QLatin1Char('+')) ||
        rest.startsWith(QLatin1Char('='))) {
        rest.prepend(QLatin1Char('\\'));
    } else {
        int digits = 0;
        while (digits < rest.size() && rest[digits].isDigit() && rest[digits].unicode() < 128)
            ++digits;
        if (digits > 0 && digits <= 9 && digits < rest.size() &&
            (rest[digits] == QLatin1Char('.') || rest[digits] == QLatin1Char(')')))
            rest.insert(digits, QLatin1Char('\\'));
    }
    return lead + rest;
}

QString escaped(const QString& text, BoardMarkup::Escape how, bool lineStart = false) {
    switch (how) {
    case BoardMarkup::Escape::Html:
        return escapeHtml(text);
    case BoardMarkup::Escape::Markdown:
        return lineStart ? escapeMarkdownLineStart(escapeMarkdown(text)) : escapeMarkdown(text);
    case BoardMarkup::Escape::None:
        break;
    }
    return text;
}

// The poll text with CR LF line ends throughout, like the rest.
QString withCrLf(QString text) {
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    text.replace(QLatin1Char('\n'), kCrLf);
    return text;
}

} // namespace

QString tagsFile() {
    return readablePath(kTagsRelative);
}

QString tagsFileForWriting() {
    return writablePath(kTagsRelative, true);
}

QString boardValue(const QString& board, const QString& key, const QString& defaultValue) {
    return ReadIniValue(board, key, defaultValue, tagsFile());
}

bool boardAcceptsVote(const QString& board) {
    return boardValue(board, QStringLiteral("iniVote"), QStringLiteral("False"))
               .compare(QLatin1String("True"), Qt::CaseInsensitive) == 0;
}

bool boardUserVote(const QString& board) {
    return boardAcceptsVote(board) && boardValue(board, QStringLiteral("iniUserVote"),
                                                 QStringLiteral("0")) == QLatin1String("1");
}

BoardMarkup readBoardMarkup(const QString& board) {
    return readBoardMarkup(board, boardUserVote(board));
}

BoardMarkup readBoardMarkup(const QString& board, bool vote) {
    const QString file = tagsFile();
    auto read = [&](const char* key) {
        return ReadIniValue(board, QLatin1String(key), QString(), file);
    };
    const QString s =
        read("iniSeparate") == QLatin1String("True") ? QStringLiteral(" ") : QString();
    BoardMarkup m;
    QString* tags[8] = {&m.u1, &m.u2, &m.b1, &m.b2, &m.i1, &m.i2, &m.l1, &m.l2};
    const char* keys[8] = {"iniUTag1", "iniUTag2", "iniBTag1", "iniBTag2",
                           "iniITag1", "iniITag2", "iniLTag1", "iniLTag2"};
    for (int i = 0; i < 8; ++i)
        *tags[i] = s + read(keys[i]) + s;
    if (vote) {
        bool ok = false;
        const QString vote = readTextFile(appPath(QStringLiteral("/Data/votecode.txt")), &ok);
        if (ok)
            m.vote = withCrLf(vote);
    }
    m.lineEnd = read("iniLineEnd");
    m.blanksAfterTags =
        read("iniBlanksAfterTags").compare(QLatin1String("True"), Qt::CaseInsensitive) == 0;
    const QString escape = read("iniEscape");
    if (escape.compare(QLatin1String("HTML"), Qt::CaseInsensitive) == 0)
        m.escape = BoardMarkup::Escape::Html;
    else if (escape.compare(QLatin1String("Markdown"), Qt::CaseInsensitive) == 0)
        m.escape = BoardMarkup::Escape::Markdown;
    return m;
}

QString composeProfileText(const Character& c, const QString& domain, const BoardMarkup* markup) {
    static const BoardMarkup plain;
    const BoardMarkup& m = markup ? *markup : plain;
    const auto esc = [&m](const QString& text) { return escaped(text, m.escape); };
    QString out;
    out.reserve(1024 + m.vote.size());
    const auto line = [&](const QString& text) {
        out += text;
        out += m.lineEnd;
        out += kCrLf;
    };
    // A bold title and its value; the title's closing blank moves after the
    // closing tag where the board asks for it.
    const auto entry = [&](const char* title, const QString& value) {
        QString t = QLatin1String(title);
        QString gap;
        if (m.blanksAfterTags && t.endsWith(QLatin1Char(' '))) {
            t.chop(1);
            gap = QStringLiteral(" ");
        }
        line(m.b1 + t + m.b2 + gap + esc(value));
    };
    const auto skills = [&](bool major) {
        for (const SkillItem& s : c.skillList(major))
            if (s.checked)
                line(QStringLiteral(" - ") + esc(s.name));
    };

    // The real name starts the title line unless an underline tag goes first.
    line(m.u1 + escaped(c.RealName(), m.escape, m.u1.trimmed().isEmpty()) +
         QStringLiteral("'s Character") + m.u2);
    line(QString());
    entry("Character Name: ", c.CharacterName());
    entry("Character Race: ", c.Race());
    entry("Character Gender: ", c.Gender());
    line(QString());
    entry("Class Name: ", c.ClassName());
    entry("Class Specialization: ", c.Class());
    line(QString());
    entry("Favourite Attribute 1: ", c.FavAtt1());
    entry("Favourite Attribute 2: ", c.FavAtt2());
    line(QString());
    entry("Birthsign: ", c.Birthsign());
    line(QString());
    entry("Major Skills:", QString());
    skills(true);
    line(QString());
    entry("Minor Skills:", QString());
    skills(false);
    line(QString());
    if (!m.vote.isEmpty()) {
        out += m.vote;
        out += kCrLf;
    }
    const QString address = m.escape == BoardMarkup::Escape::Html ? escapeHtml(domain) : domain;
    line(m.i1 +
         QStringLiteral(
             "This profile composed by the Quenmark program by Quillon. Morrowind reference: ") +
         m.l1 + address + m.l2 + m.i2);
    out += kCrLf; // the closing empty line
    return out;
}

namespace {

QString exportMarkup(const BoardMarkup* markup) {
    const QString text = composeProfileText(character(), globals().Domain, markup);
    // The copy on the disk is for the user's eyes only; nothing reads it back,
    // so a failure to write it changes nothing.
    replaceFileContents(writablePath(kClipboardData), text.toUtf8(), Durability::Working);
    return text;
}

} // namespace

QString ExportText(const QString& tags) {
    if (tags != QLatin1String("Yes"))
        return exportMarkup(nullptr);
    const QString board = ReadIniValue(QStringLiteral("Program"), QStringLiteral("iniBoardName"),
                                       QString(), settingsFile());
    const BoardMarkup markup = readBoardMarkup(board);
    return exportMarkup(&markup);
}

QString ExportText(const BoardChoice& choice) {
    if (choice.board.isEmpty())
        return exportMarkup(nullptr);
    const BoardMarkup markup = readBoardMarkup(choice.board, choice.vote);
    return exportMarkup(&markup);
}

void deleteClipboardData() {
    removeWrittenFile(kClipboardData);
}

QStringList presetBoards() {
    QStringList names;
    LoadIniSectionToList(names, QStringLiteral("AvaliablePresets"), tagsFile());
    return names;
}

bool writeMessageBoardList(const QStringList& names) {
    QString text;
    for (const QString& n : names)
        text += n + kCrLf;
    return replaceFileContents(writablePath(kBoardList), text.toUtf8(), Durability::Working);
}

QStringList readMessageBoardList() {
    return readNonEmptyLines(readablePath(kBoardList));
}

bool writeChosenFile(const QString& path, const QByteArray& bytes, QString* reason) {
    auto fail = [reason](const QString& why) {
        if (reason)
            *reason = why;
        return false;
    };
    const QFileInfo fi(path);
    if (path.isEmpty())
        return fail(QStringLiteral("no file name was given."));
    if (fi.exists()) {
        if (fi.isDir())
            return fail(QStringLiteral("a folder of that name is in the way."));
        // Without write permission a file counts as read-only even for a user
        // who could override it.
        const auto writeBits =
            QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther;
        if (!fi.isWritable() || !(fi.permissions() & writeBits))
            return fail(QStringLiteral("the file is read-only."));
    }
    const QFileInfo folder(fi.absolutePath());
    if (!folder.isDir())
        return fail(QStringLiteral("the folder %1 does not exist.")
                        .arg(QDir::toNativeSeparators(folder.absoluteFilePath())));
    QString failure;
    if (!replaceFileContents(fi.absoluteFilePath(), bytes, Durability::Durable, &failure))
        return fail(failure);
    return true;
}

} // namespace tarvo
