// Replacing a whole file so that it is never left half written, and the lock
// that keeps two programs from rewriting one file at the same time.
#pragma once

#include <QByteArray>
#include <QString>

#include <memory>

class QLockFile;

namespace tarvo {

// The file a name leads to: symbolic links followed to any depth. Empty,
// with a reason in failure, when the name cannot be a file to write: a folder,
// a device, a FIFO or a socket, or a loop of links.
QString writeTarget(const QString& path, QString* failure = nullptr);

// Holds the lock of one file while it is read, changed and written back.
// Every program that writes our files takes this lock, so a lock whose owner
// has died (or an empty lock file) is cleared rather than waited for.
class FileWriteLock {
public:
    // target: the result of writeTarget.
    explicit FileWriteLock(const QString& target);
    ~FileWriteLock();
    FileWriteLock(const FileWriteLock&) = delete;
    FileWriteLock& operator=(const FileWriteLock&) = delete;
    bool locked() const { return m_locked; }

private:
    std::unique_ptr<QLockFile> m_lock;
    bool m_locked = false;
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
// ("the file could not be written (disk full).") is put there.
bool replaceFileContents(const QString& path, const QByteArray& bytes, QString* failure = nullptr);

// The same for a caller that already holds the FileWriteLock of target (the
// result of writeTarget).
bool replaceLockedFile(const QString& target, const QByteArray& bytes, QString* failure = nullptr);

} // namespace tarvo
