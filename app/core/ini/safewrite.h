// Replacing a whole file so that it is never left half written, and the lock
// that keeps two programs from rewriting one file at the same time.
#pragma once

#include <QByteArray>
#include <QString>

#include <functional>
#include <memory>

class QLockFile;

namespace tarvo {

// The file a name leads to: symbolic links followed to any depth. Empty,
// with a reason in failure, when the name cannot be a file to write: a folder,
// a device, a FIFO or a socket, or a loop of links.
QString writeTarget(const QString& path, QString* failure = nullptr);

// How far a write goes before the new file takes the old one's place.
enum class Durability {
    // Working files the program makes again whenever it needs them: the new
    // file replaces the old one at once (after a power failure some file
    // systems can hold it empty).
    Working,
    // The user's own files (profiles, settings, saved texts and pages): the
    // new file's data are on the disk before it replaces the old one, as an
    // atomic save does.
    Durable,
};

// Asked when another computer holds a file's lock (a shared folder, after
// that computer stopped while writing): host is its name. True takes the
// lock over.
using TakeOverQuestion = std::function<bool(const QString& host)>;

// Holds the lock of one file while it is read, changed and written back.
// Every program that writes our files takes this lock, so a lock whose owner
// has died on this computer (or an empty lock file) is cleared rather than
// waited for. A lock that another computer has held for a second is taken
// over only when askTakeOver says so; without it the lock fails.
class FileWriteLock {
public:
    // target: the result of writeTarget.
    explicit FileWriteLock(const QString& target, const TakeOverQuestion& askTakeOver = {});
    ~FileWriteLock();
    FileWriteLock(const FileWriteLock&) = delete;
    FileWriteLock& operator=(const FileWriteLock&) = delete;
    bool locked() const { return m_locked; }
    // Why the lock could not be taken, as a short sentence ("there is no
    // space left on the disk.").
    const QString& failure() const { return m_failure; }

private:
    std::unique_ptr<QLockFile> m_lock;
    bool m_locked = false;
    QString m_failure;
};

// Writes bytes to a new file in the same folder as path and then puts it in
// path's place with one rename, so the file holds either its old contents or
// the whole new ones. The file keeps its permissions, its owner and group and
// every name that leads to it (symbolic links to any depth, hard links);
// where a rename could not keep them (a hard-linked file, a file owned by
// someone else, a writable file in a folder that cannot be written), the
// file is written in place instead. Temporary files that a killed writer
// left beside it are removed. On failure path is untouched (unless written
// in place), false is returned and, when failure is given, a short reason
// ("there is no space left on the disk.") is put there.
bool replaceFileContents(const QString& path, const QByteArray& bytes, Durability durability,
                         QString* failure = nullptr, const TakeOverQuestion& askTakeOver = {});

// The same for a caller that already holds the FileWriteLock of target (the
// result of writeTarget).
bool replaceLockedFile(const QString& target, const QByteArray& bytes, Durability durability,
                       QString* failure = nullptr);

} // namespace tarvo
