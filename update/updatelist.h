// The update list (downloads/updates.ini) and the rules the checker applies
// to it: entries, version order, the count sentence, and which addresses and
// target paths a list from the network may name.
#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <optional>

namespace tarvo::update {

// The files this program reads and writes, relative to the program folder.
inline const QString kUrlsFile = QStringLiteral("downloads/urls.ini");
inline const QString kListFile = QStringLiteral("downloads/updates.ini");
inline const QString kVersionsFile = QStringLiteral("Data/versions.ini");
inline const QString kSettingsFile = QStringLiteral("Data/Settings.ini");
// The mark of an installed copy (see appfolder.h).
inline const QString kInstalledMark = QStringLiteral(".installed");

// The name under which the main program records its own version.
inline const QString kProgramItem = QStringLiteral("program");

// The largest update list accepted, and the largest file a Fast Download
// stores.
inline constexpr qint64 kMaxListBytes = 1024 * 1024;
inline constexpr qint64 kMaxFileBytes = qint64(2) * 1024 * 1024 * 1024;

// One entry of the list; a missing key reads as empty text.
struct UpdateEntry {
    QString title;
    QString program;
    QString version;
    QString description;
    QString downloadNow;
    QString downloadFrom;
    QString saveTo;
    QString more;
    // The file's SHA-256 checksum in hexadecimal (key iniSHA256n of section
    // SHA256); empty when the list gives none.
    QString sha256;

    // Only the exact text "True" lets the program download the file itself.
    bool fastDownload() const { return downloadNow == QLatin1String("True"); }
    // Whether the entry updates one of the programs: the main program's own
    // item, or a file saved over a program (see isProgramFile).
    bool replacesProgram() const;
};

// The list as the server sent it, read once from its bytes. Every key of the
// [title] section is an entry, however many there are; the other values read
// as ReadIniValue reads them (first section and first key of a name, letter
// case ignored).
class UpdateList {
public:
    static UpdateList fromBytes(const QByteArray& data);
    // The list saved at file; empty when it cannot be read or is larger than
    // kMaxListBytes.
    static UpdateList fromFile(const QString& file);

    // Whether the bytes hold the list's [title] section at all: a page that
    // does not (a sign-in page put in the way by a network) is no list.
    bool isList() const { return m_isList; }
    const QStringList& titles() const { return m_titles; }
    int size() const { return int(m_titles.size()); }
    // Entry n; every field empty for a position outside the list.
    UpdateEntry entry(int n) const;

private:
    QString value(const QString& section, const QString& key) const;

    bool m_isList = false;
    QStringList m_titles;
    // Case-folded section -> case-folded key -> value.
    QHash<QString, QHash<QString, QString>> m_sections;
};

// "There are currently 3 updates avaliable." and its forms for 0 and 1.
QString countSentence(int count);

// One total order of version texts; negative, zero or positive as a is
// older, equal or newer than b.
// - Surrounding blanks and a leading "v" before a digit are ignored.
// - The release is the leading run of dot-separated numbers, compared as
//   numbers of any length ("2.0.10" after "2.0.9"); missing parts count as
//   0 ("2.0" equals "2.0.0").
// - What follows the release is a suffix. It marks a pre-release, older than
//   the release itself, when it starts with "-" or "~" or with one of the
//   words alpha, beta, dev, pre, preview, rc ("2.0.3-rc1" and "2.0.3rc1"
//   before "2.0.3"); any other suffix marks a later release of the same
//   numbers ("2.0.10a" after "2.0.10", before "2.0.11").
// - Suffixes of one kind compare part by part: numbers as numbers, words
//   without regard to letter case, a number before a word, a shorter suffix
//   before a longer one that it begins.
int compareVersions(const QString& a, const QString& b);
// Whether latest is worth offering over the installed version: an item that
// is not installed always is, else only a newer version.
bool isNewer(const QString& latest, const QString& installed);

// The address an entry names, resolved against the list's own address when
// it is relative; no value unless the result is an http or https address.
std::optional<QUrl> webAddress(const QString& text, const QUrl& base = QUrl());

// A SHA-256 checksum as written in the list (64 hexadecimal digits, blanks
// around them ignored) as its 32 bytes; no value for anything else.
std::optional<QByteArray> sha256Digest(const QString& text);

// Whether a path relative to the program folder names one of the files the
// checker manages itself (the versions record, the list, the address of the
// list, the settings, the mark of an installed copy). Such a file is never a
// download target.
bool isManagedFile(const QString& relative);
// Whether a path relative to the program folder names a program: prjTARVO2
// or update, a file whose name ends as programs and libraries do (".exe",
// ".dll", ".so", ".sh", ...), or an existing file that may be run.
bool isProgramFile(const QString& relative);

// Where a Fast Download stores its file.
struct DownloadTarget {
    // The file written.
    QString path;
    // The path relative to the program folder, with "/" separators.
    QString relative;
    // Whether the file replaces (or becomes) a program.
    bool program = false;
};

// The file a Fast Download may write for a SaveTo value: the path below the
// folder that holds the program's writable files. No value when SaveTo is
// empty, absolute (a drive, a network share), climbs with "..", leads
// (through links) out of that folder, or names a file the checker manages
// itself; reason then says why.
std::optional<DownloadTarget> downloadTarget(const QString& saveTo, QString* reason = nullptr);

} // namespace tarvo::update
