// INI file access with the behaviour of the Windows private-profile calls,
// shared by the main program and the update checker.
//
// - Section and key names match without regard to letter case; the first
//   occurrence of a section or key answers.
// - Names and values are read without the blanks (spaces, tabs) around
//   them; values also without one enclosing pair of double or single
//   quotation marks, cut to 2047 characters (never inside a character).
// - A line ends in CR LF, LF or CR. A byte-order mark counts only at the
//   very start of a file. A line with an empty key name is no entry.
// - Reads never fail: a missing or unreadable file, section or key yields the
//   default.
// - Reads see the file as it is on the disk. A file that has not changed is
//   not read again: one stat (size, identity, modification and change times)
//   tells.
// - Writes append a new section at the end of the file and a new key after the
//   last entry of its section; every line that is not understood is kept
//   byte for byte. Files are written with CR LF line ends, in UTF-8 (UTF-16
//   files stay UTF-16), through a temporary file that replaces the target
//   only when complete and on the disk (see safewrite.h), and under a lock
//   file so that two programs rewriting one file lose no key.
// - A value with blanks at either end, or wrapped in quotation marks, is
//   written in double quotes, so that it reads back as itself. A write that
//   could not read back as written (a line break or NUL anywhere, a key
//   that is empty, starts with "[" or ";" or holds "=") is refused.
// - Lines are read as UTF-8 when their bytes are valid UTF-8, else as
//   Windows-1252; files that start with a UTF-16 byte-order mark as UTF-16.
#pragma once

#include <QString>
#include <QStringList>

#include <functional>

// The longest value a read returns (the platform's buffer of 2048 less the
// terminating NUL).
inline constexpr int kIniValueMax = 2047;

QString ReadIniValue(const QString& section, const QString& key, const QString& defaultValue,
                     const QString& file);

// Returns false when the file could not be written or the names or value
// cannot be stored; nothing else in the file is lost then.
bool WriteIniValue(const QString& section, const QString& key, const QString& value,
                   const QString& file);

// Whether a write of these would read back as written.
bool isStorableIniSection(const QString& section);
bool isStorableIniKey(const QString& key);
bool isStorableIniValue(const QString& value);
// A storable value as the bytes that follow "key=" in a file.
QByteArray iniValueBytes(const QString& value);

// Calls section(name) for every section header and entry(key, value) for
// every entry of a file's bytes, in file order, each name and value as a
// read sees it (for callers that take a large file in at once).
void forEachIniItem(const QByteArray& data, const std::function<void(const QString&)>& section,
                    const std::function<void(const QString&, const QString&)>& entry);

// Removes a section's header and all its lines. A missing file or section is
// no error.
bool DeleteIniSection(const QString& section, const QString& file);

// The names of all keys of a section in file order, each followed by a NUL
// character, cut to the platform's buffer as the Windows call does.
QString IniSectionKeyBuffer(const QString& section, const QString& file);

// Appends the value of every key of the section to list (in file order) and
// returns the item count of list afterwards.
qint16 LoadIniSectionToList(QStringList& list, const QString& section, const QString& file);

// Takes the text before the first NUL character out of text; returns an
// empty string and leaves text unchanged when it holds no NUL.
QString TakeToNull(QString& text);

// One INI file as an object: integer and text access to its keys.
class clsIniFile {
public:
    void Create(const QString& fileName) { m_file = fileName; }
    const QString& fileName() const { return m_file; }

    // The number given by the value's leading decimal digits, -1 when the key
    // or the file is absent.
    qint16 Data(const QString& section, const QString& key) const;
    bool setData(const QString& section, const QString& key, qint16 value);

    // The value with an empty default, at most 254 characters, cut at the
    // first NUL character.
    QString Text(const QString& section, const QString& key) const;
    bool setText(const QString& section, const QString& key, const QString& value);

private:
    QString m_file;
};
