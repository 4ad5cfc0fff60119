// INI file access with the behaviour of the Windows private-profile calls,
// shared by the main program and the update checker.
//
// - Section and key names match without regard to letter case; the first
//   occurrence of a section or key answers.
// - Values are returned without surrounding white space and without one
//   enclosing pair of double or single quotation marks, cut to 2047
//   characters.
// - Reads never fail: a missing or unreadable file, section or key yields the
//   default.
// - Reads see the file as it is on the disk. A file that has not changed is
//   not read again: one stat of its modification time tells.
// - Writes append a new section at the end of the file and a new key after the
//   last entry of its section; every line that is not understood is kept
//   byte for byte. Files are written with CR LF line ends, in UTF-8, through a
//   temporary file that replaces the target only when complete, and under a
//   lock file so that two programs rewriting one file lose no key.
// - Lines are read as UTF-8 when their bytes are valid UTF-8, else as
//   Windows-1252.
#pragma once

#include <QString>
#include <QStringList>

// The longest value a read returns (the platform's buffer of 2048 less the
// terminating NUL).
inline constexpr int kIniValueMax = 2047;

QString ReadIniValue(const QString& section, const QString& key, const QString& defaultValue,
                     const QString& file);

// Returns false when the file could not be written; nothing else in it is
// lost then.
bool WriteIniValue(const QString& section, const QString& key, const QString& value,
                   const QString& file);

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
