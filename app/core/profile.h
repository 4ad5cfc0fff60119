// Profile files (".mwc", and the ".M3T" templates in the same layout): writing
// the current character and its tasks, and applying a file back to it through
// the character's own operations, so every consequence of a value comes from
// the same rules as a user's choice.
#pragma once

#include "ini/safewrite.h"

#include <QHash>
#include <QString>
#include <optional>

namespace tarvo {

class Character;

// The bytes of a profile: sections SaveData, One, Two, Three, Four, FiveA,
// FiveB, Six and Tasks, keys in their fixed order, CR LF line ends, UTF-8.
// The same bytes as deleting the file and writing every key with
// WriteIniValue in that order (texts with blanks at either end or wrapped in
// quotes are written in quotes); date is the text stored as iniDate. Empty
// when a text holds a line break or NUL, which no line can store.
QByteArray composeProfile(const Character& c, const QString& date);

// Writes the profile (dated now) to path in one go: the old file is replaced
// only when the new one is complete (and, for a durable write, on the disk).
// False, with a reason for the user ("the file is read-only."), when it could
// not be written; the old file is then left as it was. A name the user
// picked is taken as it stands ("\" is an ordinary character in it); only
// the program's own paths are resolved without regard to separators and
// letter case. askTakeOver is asked when another computer holds the file's
// lock.
bool writeProfile(const Character& c, const QString& path, QString* reason = nullptr,
                  Durability durability = Durability::Durable,
                  const TakeOverQuestion& askTakeOver = {});

struct ApplyResult {
    enum class Status {
        Applied,
        Missing,    // no such file
        Unreadable, // a folder, or no permission to read it
        TooLarge,   // over kMaxProfileBytes
        NotText     // binary data
    };
    Status status = Status::Applied;
    // Why the file was refused, a sentence fragment ending in ".".
    QString reason;
    bool ok() const { return status == Status::Applied; }
};

// Profiles are small; anything larger is not one of ours.
inline constexpr qint64 kMaxProfileBytes = 1024 * 1024;

// Applies a profile file to the character. A file that is missing,
// unreadable, too large or not text is refused before anything changes.
ApplyResult applyProfile(Character& c, const QString& path);

// One INI file read once, answering as ReadIniValue does for that file's
// contents. Used for large files, where ReadIniValue would parse the file
// again for every key.
class IniSnapshot {
public:
    static IniSnapshot fromBytes(const QByteArray& data);
    QString value(const QString& section, const QString& key, const QString& defaultValue) const;

private:
    // Case-folded section name -> case-folded key -> value (first
    // occurrences only, as the INI layer answers).
    QHash<QString, QHash<QString, QString>> m_sections;
};

} // namespace tarvo
