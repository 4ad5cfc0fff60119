#include "ini/safewrite.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <filesystem>
#include <system_error>

namespace tarvo {

namespace {

// A name beside target for the new file, not yet taken.
QString freshName(const QFileInfo& target) {
    for (;;) {
        const QString name = QStringLiteral("%1/.%2.%3.new")
                                 .arg(target.absolutePath(), target.fileName())
                                 .arg(QRandomGenerator::global()->generate(), 0, 36);
        if (!QFileInfo::exists(name))
            return name;
    }
}

bool setFailure(QString* failure, const QString& text) {
    if (failure)
        *failure = text;
    return false;
}

} // namespace

bool replaceFileContents(const QString& path, const QByteArray& bytes, QString* failure) {
    QFileInfo target(path);
    if (target.isSymLink())
        target.setFile(target.symLinkTarget());
    if (target.exists() && !target.isFile())
        return setFailure(failure, QStringLiteral("the name belongs to a folder."));

    QFile fresh(freshName(target));
    if (!fresh.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        return setFailure(
            failure,
            QStringLiteral("the file could not be created (%1).").arg(fresh.errorString()));
    const bool written = fresh.write(bytes) == bytes.size() && fresh.flush();
    const QString writeError = fresh.errorString();
    fresh.close();
    if (!written || fresh.error() != QFileDevice::NoError) {
        fresh.remove();
        return setFailure(failure, QStringLiteral("the file could not be written (%1).")
                                       .arg(written ? fresh.errorString() : writeError));
    }
    if (target.exists())
        fresh.setPermissions(target.permissions());

    // One rename replaces the old file (MoveFileEx with replace on Windows):
    // there is no moment at which the name is missing or half written. No
    // flush to the disk is forced; the file systems we run on keep a
    // rename-over-an-old-file in order with the new file's data.
    std::error_code ec;
    std::filesystem::rename(std::filesystem::path(fresh.fileName().toStdU16String()),
                            std::filesystem::path(target.absoluteFilePath().toStdU16String()), ec);
    if (ec) {
        fresh.remove();
        return setFailure(failure, QStringLiteral("the file could not be replaced (%1).")
                                       .arg(QString::fromLocal8Bit(ec.message())));
    }
    return true;
}

} // namespace tarvo
