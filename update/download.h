// One transfer of a web address into a local file, through libcurl driven by
// the window's own event loop. The body streams to a temporary file beside
// the target through one fixed buffer: the connection is read no faster than
// the file is written, so a fast server cannot pile data up in memory. The
// temporary file replaces the target only when the whole body arrived with a
// 2xx status and passed every check; a failed or abandoned transfer leaves
// the target as it was and no temporary file behind.
#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QUrl>
#include <functional>
#include <memory>
#include <optional>

class QTimer;

namespace tarvo::update {

// What a transfer must bring for its file to be kept.
struct FetchRules {
    // A longer body is refused.
    qint64 maxBytes = 0;
    // The SHA-256 digest (32 bytes) the body must have; none: not checked.
    std::optional<QByteArray> sha256;
    // Every address on the way, redirects included, must be https.
    bool httpsOnly = false;
    // Sees the whole body before it replaces the target, and refuses it by
    // returning a reason. The body is then kept in memory: small files only.
    std::function<QString(const QByteArray&)> checkBody;
};

class Download : public QObject {
    Q_OBJECT
public:
    explicit Download(QObject* parent = nullptr);
    ~Download() override;

    // Starts fetching url into target. finished follows exactly once, unless
    // cancel() comes first.
    void start(const QUrl& url, const QString& target, const FetchRules& rules);
    // Stops the transfer and deletes what arrived; finished does not follow.
    void cancel();
    bool isRunning() const;

    // How long a transfer may wait for data before it is given up.
    static int stallTimeout();
    static void setStallTimeout(int milliseconds);
    // The certificate authorities (PEM) that https servers are checked
    // against instead of the system's; empty: the system's.
    static void setCertificateAuthorities(const QByteArray& pem);

signals:
    // Bytes written so far and the length the server announced (-1: none).
    void progress(qint64 received, qint64 total);
    // ok, or the reason of the failure ("the server answered 404 Not Found").
    void finished(bool ok, const QString& reason);

private:
    struct Private;
    std::unique_ptr<Private> d;
};

} // namespace tarvo::update
