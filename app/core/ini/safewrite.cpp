#include "ini/safewrite.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QRandomGenerator>
#include <QStorageInfo>
#include <QSysInfo>
#include <QThread>

#include <cerrno>
#include <filesystem>
#include <system_error>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace tarvo {

namespace {

namespace fs = std::filesystem;

// Links deeper than this are taken for a loop, as the system does.
constexpr int kMaxLinkDepth = 40;
constexpr int kLockWaitMs = 20000;
constexpr int kStaleLockMs = 10000;
// A lock file that has stayed empty this long belongs to a writer that died
// between creating it and writing its owner into it.
constexpr int kEmptyLockMs = 1000;
// A writer on another computer holds the lock for milliseconds; one held
// this long was most likely left by a computer that stopped while writing.
constexpr int kOtherComputerMs = 1000;

const QString kNoSpace = QStringLiteral("there is no space left on the disk.");

fs::path fsPath(const QString& s) {
    return fs::path(s.toStdU16String());
}

bool setFailure(QString* failure, const QString& text) {
    if (failure)
        *failure = text;
    return false;
}

QString temporaryPrefix(const QFileInfo& target) {
    return QStringLiteral(".%1.").arg(target.fileName());
}

// A name beside target for the new file, not yet taken.
QString freshName(const QFileInfo& target) {
    for (;;) {
        const QString name = QStringLiteral("%1/%2%3.new")
                                 .arg(target.absolutePath(), temporaryPrefix(target))
                                 .arg(QRandomGenerator::global()->generate(), 0, 36);
        if (!QFileInfo::exists(name) && !QFileInfo(name).isSymLink())
            return name;
    }
}

// Removes what a writer killed between creating its new file and the rename
// left beside target. Called under target's lock, so no living writer of
// this file has a new file there.
void removeLeftovers(const QFileInfo& target) {
    const QString prefix = temporaryPrefix(target);
    QDir dir(target.absolutePath());
    const QStringList names = dir.entryList({prefix + QStringLiteral("*.new")},
                                            QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& name : names) {
        const QString middle = name.mid(prefix.size(), name.size() - prefix.size() - 4);
        bool base36 = !middle.isEmpty();
        for (const QChar c : middle)
            base36 = base36 && (c.isDigit() || (c >= u'a' && c <= u'z'));
        if (base36 && name.startsWith(prefix))
            dir.remove(name);
    }
}

QString systemReason(int error) {
    return QString::fromLocal8Bit(std::generic_category().message(error));
}

// Whether the volume that holds path has no room for another block: a
// write that failed without a reason of its own failed for that.
bool volumeIsFull(const QString& path) {
    const QStorageInfo volume(QFileInfo(path).absolutePath());
    return volume.isValid() && volume.isReady() &&
           volume.bytesAvailable() < qMax<qint64>(volume.blockSize(), 4096);
}

// Why a write to f failed, as a sentence.
QString writeFailure(const QFile& f) {
    // A full disk is the one reason Qt reports as a resource error on
    // writing; a short write without any reason is one as well.
    if (f.error() == QFileDevice::ResourceError || volumeIsFull(f.fileName()))
        return kNoSpace;
    return QStringLiteral("the file could not be written (%1).").arg(f.errorString());
}

// Writes all of bytes to f, opened unbuffered: a write that the disk ends
// short is repeated, so that the system says why it stopped (a full disk
// first takes what fits without a reason).
bool writeAll(QFile& f, const QByteArray& bytes) {
    qint64 done = 0;
    while (done < bytes.size()) {
        const qint64 n = f.write(bytes.constData() + done, bytes.size() - done);
        if (n <= 0)
            return false;
        done += n;
    }
    return true;
}

// Puts the data of f on the disk. Elsewhere than on Unix the rename alone
// orders the writes.
bool syncToDisk(QFile& f, QString* failure) {
#ifdef Q_OS_UNIX
#ifdef Q_OS_LINUX
    const int result = ::fdatasync(f.handle());
#else
    const int result = ::fsync(f.handle());
#endif
    if (result != 0) {
        const int error = errno;
        return setFailure(failure, error == ENOSPC ? kNoSpace
                                                   : QStringLiteral("the file could not be "
                                                                    "written to the disk (%1).")
                                                         .arg(systemReason(error)));
    }
#else
    Q_UNUSED(f);
    Q_UNUSED(failure);
#endif
    return true;
}

// Writes the bytes into the existing file itself: its inode, owner, links
// and permissions stay as they are.
bool writeInPlace(const QString& target, const QByteArray& bytes, Durability durability,
                  QString* failure) {
    QFile f(target);
    if (!f.open(QIODevice::ReadWrite | QIODevice::Unbuffered))
        return setFailure(
            failure, QStringLiteral("the file could not be opened (%1).").arg(f.errorString()));
    if (!writeAll(f, bytes) || !f.resize(bytes.size()))
        return setFailure(failure, writeFailure(f));
    return durability == Durability::Working || syncToDisk(f, failure);
}

// Who holds a lock that could not be taken: the name of another computer,
// or empty for this one.
QString otherComputerOf(const QLockFile& lock) {
    qint64 pid = 0;
    QString host;
    QString program;
    if (!lock.getLockInfo(&pid, &host, &program) || host.isEmpty())
        return {};
    return host == QSysInfo::machineHostName() ? QString() : host;
}

} // namespace

QString writeTarget(const QString& path, QString* failure) {
    if (path.isEmpty()) {
        setFailure(failure, QStringLiteral("no file name was given."));
        return {};
    }
    QFileInfo fi(path);
    for (int depth = 0; fi.isSymLink(); ++depth) {
        if (depth == kMaxLinkDepth) {
            setFailure(failure, QStringLiteral("the name leads round a loop of symbolic links."));
            return {};
        }
        std::error_code ec;
        const fs::path link = fsPath(fi.absoluteFilePath());
        fs::path to = fs::read_symlink(link, ec);
        if (ec) {
            setFailure(failure, QStringLiteral("the link could not be read (%1).")
                                    .arg(QString::fromLocal8Bit(ec.message())));
            return {};
        }
        if (to.is_relative())
            to = link.parent_path() / to;
        fi.setFile(QString::fromStdU16String(to.lexically_normal().u16string()));
    }
    if (fi.exists() && fi.isDir()) {
        setFailure(failure, QStringLiteral("the name belongs to a folder."));
        return {};
    }
    if (fi.exists() && !fi.isFile()) {
        setFailure(failure, QStringLiteral("the name belongs to a device, a FIFO or a socket, not "
                                           "a regular file."));
        return {};
    }
    return fi.absoluteFilePath();
}

FileWriteLock::FileWriteLock(const QString& target, const TakeOverQuestion& askTakeOver) {
    const QFileInfo fi(target);
    QString lockName = target + QStringLiteral(".lock");
    if (!QFileInfo(fi.absolutePath()).isWritable()) {
        // A writable file in a folder that cannot be written: its lock lives
        // in the temporary folder, named after the file.
        const QByteArray hash =
            QCryptographicHash::hash(target.toUtf8(), QCryptographicHash::Sha1).toHex();
        lockName = QDir::tempPath() + QStringLiteral("/tarvo-%1.lock").arg(QLatin1String(hash));
    }
    m_lock = std::make_unique<QLockFile>(lockName);
    m_lock->setStaleLockTime(kStaleLockMs);
    // Short tries rather than QLockFile's own waiting, whose pauses double up
    // to seconds: a writer that waits must not starve behind busier ones.
    const QDeadlineTimer deadline(kLockWaitMs);
    QString otherComputer;
    QDeadlineTimer otherComputerWait;
    int pause = 1;
    for (;;) {
        // A lock whose owner has died on this machine is taken over at once.
        if (m_lock->tryLock(0)) {
            m_locked = true;
            return;
        }
        switch (m_lock->error()) {
        case QLockFile::LockFailedError:
            break;
        case QLockFile::PermissionError:
            m_failure = QStringLiteral("its lock file %1 could not be made (permission denied).")
                            .arg(QDir::toNativeSeparators(lockName));
            return;
        default:
            // Qt removes a lock file it could not write and gives no reason.
            m_failure = volumeIsFull(lockName)
                            ? kNoSpace
                            : QStringLiteral("its lock file %1 could not be made.")
                                  .arg(QDir::toNativeSeparators(lockName));
            return;
        }
        const QFileInfo held(lockName);
        if (held.exists() && held.size() == 0 &&
            held.lastModified().msecsTo(QDateTime::currentDateTime()) > kEmptyLockMs) {
            m_lock->removeStaleLockFile();
            continue;
        }
        const QString host = otherComputerOf(*m_lock);
        if (host != otherComputer) {
            otherComputer = host;
            otherComputerWait.setRemainingTime(kOtherComputerMs);
        }
        if (!otherComputer.isEmpty() && otherComputerWait.hasExpired()) {
            if (askTakeOver && askTakeOver(otherComputer)) {
                m_lock->removeStaleLockFile();
                otherComputer.clear();
                continue;
            }
            m_failure =
                QStringLiteral("the file is locked by another computer (%1).").arg(otherComputer);
            return;
        }
        if (deadline.hasExpired()) {
            m_failure = QStringLiteral("the file is in use by another program.");
            return;
        }
        QThread::msleep(pause + QRandomGenerator::global()->bounded(pause + 1));
        pause = qMin(pause * 2, 16);
    }
}

FileWriteLock::~FileWriteLock() {
    if (m_locked)
        m_lock->unlock();
}

bool replaceLockedFile(const QString& target, const QByteArray& bytes, Durability durability,
                       QString* failure) {
    const QFileInfo info(target);
    removeLeftovers(info);

    std::error_code ec;
    const bool existed = info.exists();
    // A file with more than one name is written in place: a rename would
    // part it from its other names.
    bool inPlace = existed && fs::hard_link_count(fsPath(target), ec) > 1 && !ec;

    QFile fresh;
    if (!inPlace) {
        fresh.setFileName(freshName(info));
        if (!fresh.open(QIODevice::WriteOnly | QIODevice::NewOnly | QIODevice::Unbuffered)) {
            // A full disk: writing over the old file could leave it half
            // written.
            if (volumeIsFull(fresh.fileName()))
                return setFailure(failure, kNoSpace);
            // A writable file in a folder that cannot be written.
            if (!existed)
                return setFailure(
                    failure,
                    QStringLiteral("the file could not be created (%1).").arg(fresh.errorString()));
            inPlace = true;
        } else if (existed) {
            // A file owned by someone else would change its owner or group.
            const QFileInfo made(fresh.fileName());
            if (made.ownerId() != info.ownerId() || made.groupId() != info.groupId()) {
                fresh.close();
                fresh.remove();
                inPlace = true;
            }
        }
    }
    if (inPlace)
        return writeInPlace(target, bytes, durability, failure);

    if (!writeAll(fresh, bytes)) {
        const QString why = writeFailure(fresh);
        fresh.close();
        fresh.remove();
        return setFailure(failure, why);
    }
    if (durability == Durability::Durable && !syncToDisk(fresh, failure)) {
        fresh.close();
        fresh.remove();
        return false;
    }
    fresh.close();
    if (existed) {
        const auto mode = fs::status(fsPath(target), ec).permissions();
        if (!ec)
            fs::permissions(fsPath(fresh.fileName()), mode, fs::perm_options::replace, ec);
    }

    // One rename replaces the old file (MoveFileEx with replace on Windows):
    // there is no moment at which the name is missing or half written. A
    // durable file's data reached the disk above, so that no file system
    // can put the rename there first.
    fs::rename(fsPath(fresh.fileName()), fsPath(target), ec);
    if (ec) {
        fresh.remove();
        return setFailure(failure, QStringLiteral("the file could not be replaced (%1).")
                                       .arg(QString::fromLocal8Bit(ec.message())));
    }
    return true;
}

bool replaceFileContents(const QString& path, const QByteArray& bytes, Durability durability,
                         QString* failure, const TakeOverQuestion& askTakeOver) {
    const QString target = writeTarget(path, failure);
    if (target.isEmpty())
        return false;
    const FileWriteLock lock(target, askTakeOver);
    if (!lock.locked())
        return setFailure(failure, lock.failure());
    return replaceLockedFile(target, bytes, durability, failure);
}

} // namespace tarvo
