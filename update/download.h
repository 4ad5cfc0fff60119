// One transfer of a web address into a local file. The body streams to a
// temporary file beside the target, which replaces the target only when the
// whole body arrived with a 2xx status; a failed or abandoned transfer leaves
// the target as it was and no temporary file behind.
#pragma once

#include <QElapsedTimer>
#include <QNetworkReply>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QUrl>
#include <memory>

class QNetworkAccessManager;

class QSaveFile;
class QTimer;

namespace tarvo::update {

class Download : public QObject {
    Q_OBJECT
public:
    explicit Download(QNetworkAccessManager* network, QObject* parent = nullptr);
    ~Download() override;

    // Starts fetching url into target; a body longer than maxBytes is refused.
    // finished follows exactly once, unless cancel() comes first.
    void start(const QUrl& url, const QString& target, qint64 maxBytes);
    // Stops the transfer and deletes what arrived; finished does not follow.
    void cancel();
    bool isRunning() const { return m_reply != nullptr; }

    // How long a transfer may wait for data before it is given up.
    static int stallTimeout();
    static void setStallTimeout(int milliseconds);

signals:
    // Bytes written so far and the length the server announced (-1: none).
    void progress(qint64 received, qint64 total);
    // ok, or the reason of the failure ("the server answered 404 Not Found").
    void finished(bool ok, const QString& reason);

private:
    void onMetaData();
    void onReadyRead();
    void onFinished();
    void fail(const QString& reason);
    void cleanUp();
    void startWriteBack();
    bool statusIsSuccess() const;

    QNetworkAccessManager* m_network;
    QPointer<QNetworkReply> m_reply;
    std::unique_ptr<QSaveFile> m_file;
    QTimer* m_stall;
    qint64 m_max = 0;
    qint64 m_received = 0;
    qint64 m_writtenBack = 0;
    QByteArray m_piece;
    qint64 m_total = -1;
    // Since the progress was last shown.
    QElapsedTimer m_shown;
    QString m_failure;
};

// The reason of a network failure in the user's words.
QString describeFailure(QNetworkReply* reply);

} // namespace tarvo::update
