// The character as a block of text: plain, or marked up with the tags of a
// message board (Data/tags.ini), with the optional voting poll
// (Data/votecode.txt). Also the board list and the tag-set file access that
// the formatting and options windows share.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace tarvo {

class Character;

// How one board marks up the text.
struct BoardMarkup {
    // Underline, bold, italic and link: opening and closing tag.
    QString u1, u2, b1, b2, i1, i2, l1, l2;
    // The voting poll, inserted whole before the footer; empty for none.
    QString vote;
    // Keys that only newer boards use (absent keys keep the classic output):
    // iniLineEnd, text that ends every line (two blanks for Markdown's hard
    // break, "<br>" for HTML);
    QString lineEnd;
    // iniBlanksAfterTags, "True": the blanks that end a bold title go after
    // its closing tag ("**Name:** value", as Markdown needs);
    bool blanksAfterTags = false;
    // iniEscape, "HTML" or "Markdown": the character's own texts are escaped
    // so that they cannot be taken for markup.
    enum class Escape { None, Html, Markdown } escape = Escape::None;
};

// The tag-set file as read (the user's copy when there is one) and as
// written.
QString tagsFile();
QString tagsFileForWriting();

// A tag-set file key of a board: the value, or defaultValue.
QString boardValue(const QString& board, const QString& key, const QString& defaultValue = {});
// The board accepts the voting poll (iniVote is "True").
bool boardAcceptsVote(const QString& board);
// The user's last poll choice for the board (iniUserVote "1"), only where the
// board accepts the poll.
bool boardUserVote(const QString& board);

// The markup of a board: its tags (each between single blanks when its
// iniSeparate is "True") and, when it accepts the poll and the user chose
// it, the poll from Data/votecode.txt (no poll when that file is missing).
BoardMarkup readBoardMarkup(const QString& board);
// The same with the poll as vote says, whatever the file holds.
BoardMarkup readBoardMarkup(const QString& board, bool vote);

// The board and poll of one marked-up copy, as the formatting window shows
// them. No board means the plain text.
struct BoardChoice {
    QString board;
    bool vote = false;
};

// The text of the character, each line ending in CR LF: plain when markup is
// null, else marked up. domain is the address named in the footer.
QString composeProfileText(const Character& c, const QString& domain, const BoardMarkup* markup);

// Composes the current character with the board named by iniBoardName of the
// settings ("Yes": marked up; anything else: plain), leaves a copy in
// Data/ClipboardData.txt and returns the text.
QString ExportText(const QString& tags);
// Composes the current character for choice, whatever the files hold, and
// leaves a copy as above.
QString ExportText(const BoardChoice& choice);
// Removes Data/ClipboardData.txt; a missing file is no error.
void deleteClipboardData();

// The board names of section AvaliablePresets, in file order (empty values
// kept).
QStringList presetBoards();
// Rewrites Data/~messageboards.txt with the names, one per line; false when
// it could not be written.
bool writeMessageBoardList(const QStringList& names);
// The non-empty lines of Data/~messageboards.txt; empty when it is missing.
QStringList readMessageBoardList();

// Writes bytes to a file the user chose, in one atomic replace. False, with
// a reason for the user ("the file is read-only."), when it could not be
// written; the old file is then left whole.
bool writeChosenFile(const QString& path, const QByteArray& bytes, QString* reason);

} // namespace tarvo
