// The name browser's files: the category index, the name lists and the two
// word lists of the random name generator, and the generator itself.
#pragma once

#include <QRandomGenerator>
#include <QString>
#include <QStringList>

namespace tarvo {

// The category that switches on the generator.
inline constexpr char kRandomNamesCategory[] = "Random Names Generator";

// The lines of a plain text list, each without its line end (CR LF, LF or a
// lone CR) and without surrounding blanks; blank lines are skipped. UTF-16
// is read with or without a byte-order mark; NUL and other control
// characters and stray byte-order marks are left out. found tells whether
// the file could be read at all.
QStringList readNameList(const QString& path, bool* found = nullptr);

// The folder of a kind of name ("Class" or "Character"), e.g.
// "Data/Class Names/", relative to the program folder.
QString nameFolder(const QString& nameCategory);

// Random names from a first and a second word list. The generator is seeded
// once; every draw is uniform over its list.
class NameGenerator {
public:
    NameGenerator();
    explicit NameGenerator(quint32 seed) : m_random(seed) {}

    // A uniformly drawn entry; empty text for an empty list.
    QString draw(const QStringList& list);
    // A first word, a blank and a second word; empty when either list is.
    QString compose(const QStringList& first, const QStringList& second);

private:
    QRandomGenerator m_random;
};

} // namespace tarvo
