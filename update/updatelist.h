// The update list (downloads/updates.ini) and the rules the checker applies
// to it: entries, version order, the count sentence, and which addresses and
// target paths a list from the network may name.
#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>
#include <optional>

namespace tarvo::update {

// The files this program reads and writes, relative to the program folder.
inline const QString kUrlsFile = QStringLiteral("downloads/urls.ini");
inline const QString kListFile = QStringLiteral("downloads/updates.ini");
inline const QString kVersionsFile = QStringLiteral("Data/versions.ini");

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

    // Only the exact text "True" lets the program download the file itself.
    bool fastDownload() const { return downloadNow == QLatin1String("True"); }
};

// The titles of the list, in file order.
QStringList listTitles(const QString& listFile);
// Entry n of the list; every field empty for a position outside the list.
UpdateEntry listEntry(const QString& listFile, int n);

// "There are currently 3 updates avaliable." and its forms for 0 and 1.
QString countSentence(int count);

// Compares two versions as dotted numbers, part by part ("2.0.10" is newer
// than "2.0.9", "2.0" equals "2.0.0"); a part that is not a number is
// compared as text. Negative, zero or positive as a is older, equal or newer.
int compareVersions(const QString& a, const QString& b);
// Whether latest is worth offering over the installed version: an item that
// is not installed always is, else only a newer version.
bool isNewer(const QString& latest, const QString& installed);

// The address an entry names, resolved against the list's own address when
// it is relative; no value unless the result is an http or https address.
std::optional<QUrl> webAddress(const QString& text, const QUrl& base = QUrl());

// The file a Fast Download may write for a SaveTo value: the path below the
// folder that holds the program's writable files. No value when SaveTo is
// empty, absolute (a drive, a network share), climbs with "..", or leads
// (through links) out of that folder; reason then says why.
std::optional<QString> downloadTarget(const QString& saveTo, QString* reason = nullptr);

} // namespace tarvo::update
