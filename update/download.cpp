#include "download.h"

#include "updatelist.h"

#include <QLocale>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSaveFile>
#include <QTimer>

#ifdef Q_OS_LINUX
#include <fcntl.h>
#endif

namespace tarvo::update {

namespace {
int& stallSetting() {
    static int ms = 30000;
    return ms;
}
// The body is read in pieces of this size at most, so that it streams to the
// disk whatever its length.
constexpr qint64 kReadBuffer = 256 * 1024;
// The progress is shown at most this often (milliseconds).
constexpr qint64 kProgressInterval = 40;
constexpr int kMaxRedirects = 10;
#ifdef Q_OS_LINUX
// The disk is sent what arrived every this many bytes.
constexpr qint64 kWriteBackStep = 2 * 1024 * 1024;
#endif

QString sizeText(qint64 bytes) {
    return QLocale::c().formattedDataSize(bytes, 1, QLocale::DataSizeTraditionalFormat);
}
} // namespace

int Download::stallTimeout() {
    return stallSetting();
}

void Download::setStallTimeout(int milliseconds) {
    stallSetting() = milliseconds;
}

Download::Download(QNetworkAccessManager* network, QObject* parent)
    : QObject(parent), m_network(network), m_stall(new QTimer(this)) {
    m_stall->setSingleShot(true);
    connect(m_stall, &QTimer::timeout, this, [this] {
        fail(QStringLiteral("no data arrived for %1 seconds")
                 .arg(QLocale::c().toString(stallTimeout() / 1000.0, 'g', 3)));
    });
}

Download::~Download() {
    cancel();
}

void Download::start(const QUrl& url, const QString& target, qint64 maxBytes) {
    cancel();
    m_max = maxBytes;
    m_received = 0;
    m_writtenBack = 0;
    m_total = -1;
    m_shown.invalidate();
    m_failure.clear();
    m_file = std::make_unique<QSaveFile>(target);
    m_file->setDirectWriteFallback(false);
    if (!m_file->open(QIODevice::WriteOnly)) {
        const QString why = m_file->errorString();
        m_file.reset();
        QTimer::singleShot(0, this, [this, target, why] {
            emit finished(false, QStringLiteral("%1 could not be written (%2)").arg(target, why));
        });
        return;
    }

    QNetworkRequest request(url);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::NoLessSafeRedirectPolicy);
    request.setMaximumRedirectsAllowed(kMaxRedirects);
    request.setHeader(QNetworkRequest::UserAgentHeader, QStringLiteral("TARVO2-update"));
    m_reply = m_network->get(request);
    m_reply->setReadBufferSize(kReadBuffer);
    connect(m_reply, &QNetworkReply::redirected, this, [this](const QUrl& next) {
        if (!webAddress(next.toString()))
            fail(QStringLiteral("the server redirected to %1, which is not an http or https "
                                "address")
                     .arg(next.toString()));
    });
    connect(m_reply, &QNetworkReply::metaDataChanged, this, &Download::onMetaData);
    connect(m_reply, &QNetworkReply::readyRead, this, &Download::onReadyRead);
    connect(m_reply, &QNetworkReply::finished, this, &Download::onFinished);
    m_stall->start(stallTimeout());
}

void Download::cancel() {
    if (m_reply) {
        QNetworkReply* reply = m_reply;
        m_reply = nullptr;
        reply->disconnect(this);
        reply->abort();
        reply->deleteLater();
    }
    m_stall->stop();
    cleanUp();
}

bool Download::statusIsSuccess() const {
    const QVariant status = m_reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    return status.isValid() && status.toInt() / 100 == 2;
}

void Download::onMetaData() {
    m_stall->start(stallTimeout());
    if (!statusIsSuccess())
        return;
    const QVariant length = m_reply->header(QNetworkRequest::ContentLengthHeader);
    m_total = length.isValid() ? length.toLongLong() : -1;
    if (m_total > m_max)
        fail(QStringLiteral("the file is %1, more than the %2 this program accepts")
                 .arg(sizeText(m_total), sizeText(m_max)));
}

void Download::onReadyRead() {
    if (!m_reply)
        return;
    m_stall->start(stallTimeout());
    if (!statusIsSuccess() || !m_file) {
        m_reply->readAll(); // an error page: not kept
        return;
    }
    // One buffer serves the whole transfer: a fresh block for every piece
    // cost the system a page fault per page.
    if (m_piece.size() != kReadBuffer)
        m_piece.resize(kReadBuffer);
    while (m_reply && m_reply->bytesAvailable() > 0) {
        const qint64 got = m_reply->read(m_piece.data(), m_piece.size());
        if (got <= 0)
            break;
        const QByteArrayView chunk(m_piece.constData(), got);
        if (m_received + chunk.size() > m_max) {
            fail(QStringLiteral("the file is larger than the %1 this program accepts")
                     .arg(sizeText(m_max)));
            return;
        }
        if (m_file->write(chunk.data(), chunk.size()) != chunk.size()) {
            fail(QStringLiteral("%1 could not be written (%2)")
                     .arg(m_file->fileName(), m_file->errorString()));
            return;
        }
        m_received += chunk.size();
        startWriteBack();
    }
    if (!m_shown.isValid() || m_shown.elapsed() >= kProgressInterval || m_received == m_total) {
        m_shown.start();
        emit progress(m_received, m_total);
    }
}

// The finished file is made durable before it replaces the target, and that
// wait grew with the file: a 200 MB pack spent a third of its time there.
// Linux is asked to start writing each piece to the disk as it arrives, so the
// writing runs alongside the transfer and the final wait is short. Elsewhere
// the system's own write-back does what it can.
void Download::startWriteBack() {
#ifdef Q_OS_LINUX
    if (m_received - m_writtenBack < kWriteBackStep)
        return;
    if (!m_file->flush())
        return;
    ::sync_file_range(m_file->handle(), m_writtenBack, m_received - m_writtenBack,
                      SYNC_FILE_RANGE_WRITE);
    m_writtenBack = m_received;
#endif
}

void Download::onFinished() {
    if (!m_reply)
        return;
    m_stall->stop();
    onReadyRead();
    if (!m_reply)
        return;
    QNetworkReply* reply = m_reply;
    QString failure;
    if (reply->error() != QNetworkReply::NoError)
        failure = describeFailure(reply);
    else if (!statusIsSuccess())
        failure = QStringLiteral("the server sent no file (status %1)")
                      .arg(reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt());
    else if (m_total >= 0 && m_received != m_total)
        failure = QStringLiteral("the transfer ended after %1 of the %2 the server announced")
                      .arg(sizeText(m_received), sizeText(m_total));
    m_reply = nullptr;
    reply->disconnect(this);
    reply->deleteLater();
    if (failure.isEmpty() && !m_file->commit())
        failure = QStringLiteral("%1 could not be written (%2)")
                      .arg(m_file->fileName(), m_file->errorString());
    cleanUp();
    emit finished(failure.isEmpty(), failure);
}

void Download::fail(const QString& reason) {
    if (!m_reply)
        return;
    cancel();
    emit finished(false, reason);
}

void Download::cleanUp() {
    m_piece = QByteArray();
    if (m_file) {
        // The temporary file goes; the target stays as it was.
        m_file->cancelWriting();
        m_file.reset();
    }
}

QString describeFailure(QNetworkReply* reply) {
    if (reply->error() == QNetworkReply::TooManyRedirectsError)
        return QStringLiteral("the server redirected more than %1 times").arg(kMaxRedirects);
    const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    if (status.isValid() && status.toInt() >= 400) {
        const QString phrase =
            reply->attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString().trimmed();
        return QStringLiteral("the server answered %1%2")
            .arg(status.toInt())
            .arg(phrase.isEmpty() ? QString() : QLatin1Char(' ') + phrase);
    }
    switch (reply->error()) {
    case QNetworkReply::RemoteHostClosedError:
        return QStringLiteral("the server closed the connection before the whole file arrived");
    case QNetworkReply::HostNotFoundError:
        return QStringLiteral("the server %1 was not found").arg(reply->url().host());
    case QNetworkReply::ConnectionRefusedError:
        return QStringLiteral("the server refused the connection");
    default:
        return reply->errorString();
    }
}

} // namespace tarvo::update
