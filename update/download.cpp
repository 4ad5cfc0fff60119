#include "download.h"

#include "updatelist.h"

#include <QCryptographicHash>
#include <QElapsedTimer>
#include <QHash>
#include <QLocale>
#include <QSaveFile>
#include <QSocketNotifier>
#include <QTimer>

#include <curl/curl.h>

#include <climits>

#ifdef Q_OS_LINUX
#include <fcntl.h>
#endif

namespace tarvo::update {

namespace {

int& stallSetting() {
    static int ms = 30000;
    return ms;
}

QByteArray& authoritiesSetting() {
    static QByteArray pem;
    return pem;
}

// libcurl reads the connection into one buffer of this size and hands each
// piece to the file before it reads the next: this is all the memory a
// transfer holds, whatever the speed of the server.
constexpr long kBuffer = 256 * 1024;
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

void initCurl() {
    static const bool ready = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
    Q_UNUSED(ready);
}

} // namespace

struct Download::Private {
    Download* q;
    CURLM* multi = nullptr;
    CURL* easy = nullptr;
    // When libcurl wants to be called back without news on a socket.
    QTimer* curlTimer = nullptr;
    QTimer* stall = nullptr;
    struct Watch {
        QSocketNotifier* read = nullptr;
        QSocketNotifier* write = nullptr;
    };
    QHash<curl_socket_t, Watch> watches;
    bool closing = false;

    FetchRules rules;
    // The address asked for now (after redirects).
    QUrl url;
    int redirects = 0;
    std::unique_ptr<QSaveFile> file;
    QCryptographicHash hash{QCryptographicHash::Sha256};
    // Only kept for rules.checkBody.
    QByteArray body;
    long status = 0;
    QByteArray phrase;
    qint64 total = -1;
    qint64 received = 0;
    qint64 writtenBack = 0;
    qint64 shownBytes = -1;
    QElapsedTimer shown;
    // Why a callback stopped the transfer.
    QString failure;
    char error[CURL_ERROR_SIZE] = {};

    explicit Private(Download* owner);
    ~Private();

    static int onSocket(CURL*, curl_socket_t s, int what, void* userp, void*);
    static int onTimer(CURLM*, long milliseconds, void* userp);
    static size_t onHeader(char* data, size_t size, size_t count, void* userp);
    static size_t onWrite(char* data, size_t size, size_t count, void* userp);

    void request(const QUrl& address);
    void act(curl_socket_t s, int events);
    void afterAction();
    void finish(CURLcode result);
    void writeBack();
    void dropEasy();
    void cleanUp();
    void fail(const QString& reason);
    QString describe(CURLcode result) const;
};

Download::Private::Private(Download* owner) : q(owner) {
    initCurl();
    multi = curl_multi_init();
    curl_multi_setopt(multi, CURLMOPT_SOCKETFUNCTION, &Private::onSocket);
    curl_multi_setopt(multi, CURLMOPT_SOCKETDATA, this);
    curl_multi_setopt(multi, CURLMOPT_TIMERFUNCTION, &Private::onTimer);
    curl_multi_setopt(multi, CURLMOPT_TIMERDATA, this);
    curlTimer = new QTimer(q);
    curlTimer->setSingleShot(true);
    QObject::connect(curlTimer, &QTimer::timeout, q, [this] { act(CURL_SOCKET_TIMEOUT, 0); });
    stall = new QTimer(q);
    stall->setSingleShot(true);
    QObject::connect(stall, &QTimer::timeout, q, [this] {
        fail(QStringLiteral("no data arrived for %1 seconds")
                 .arg(QLocale::c().toString(stallTimeout() / 1000.0, 'g', 3)));
    });
}

Download::Private::~Private() {
    cleanUp();
    // The notifiers go with their owner; libcurl closes its cached
    // connections without asking for them again.
    closing = true;
    for (const Watch& w : std::as_const(watches))
        for (QSocketNotifier* n : {w.read, w.write})
            if (n)
                n->setEnabled(false);
    curl_multi_cleanup(multi);
}

int Download::Private::onSocket(CURL*, curl_socket_t s, int what, void* userp, void*) {
    auto* d = static_cast<Private*>(userp);
    if (d->closing)
        return 0;
    if (what == CURL_POLL_REMOVE) {
        const Watch w = d->watches.take(s);
        for (QSocketNotifier* n : {w.read, w.write}) {
            if (n) {
                n->setEnabled(false);
                n->deleteLater();
            }
        }
        return 0;
    }
    Watch& w = d->watches[s];
    auto watch = [d, s](QSocketNotifier*& n, QSocketNotifier::Type type, bool wanted, int event) {
        if (wanted && !n) {
            n = new QSocketNotifier(qintptr(s), type, d->q);
            QObject::connect(n, &QSocketNotifier::activated, d->q,
                             [d, s, event] { d->act(s, event); });
        }
        if (n)
            n->setEnabled(wanted);
    };
    watch(w.read, QSocketNotifier::Read, what & CURL_POLL_IN, CURL_CSELECT_IN);
    watch(w.write, QSocketNotifier::Write, what & CURL_POLL_OUT, CURL_CSELECT_OUT);
    return 0;
}

int Download::Private::onTimer(CURLM*, long milliseconds, void* userp) {
    auto* d = static_cast<Private*>(userp);
    if (milliseconds < 0)
        d->curlTimer->stop();
    else
        d->curlTimer->start(int(qMin<long>(milliseconds, INT_MAX)));
    return 0;
}

size_t Download::Private::onHeader(char* data, size_t size, size_t count, void* userp) {
    auto* d = static_cast<Private*>(userp);
    const size_t bytes = size * count;
    d->stall->start(stallTimeout());
    const QByteArray line = QByteArray(data, qsizetype(bytes)).trimmed();
    if (line.startsWith("HTTP/")) {
        // A new answer: the first, or the one after a "100 Continue".
        const qsizetype code = line.indexOf(' ');
        const qsizetype text = code < 0 ? -1 : line.indexOf(' ', code + 1);
        d->phrase = text < 0 ? QByteArray() : line.mid(text + 1).trimmed();
        d->status = 0;
        d->total = -1;
    } else if (line.isEmpty()) {
        // The end of an answer's headers.
        long status = 0;
        curl_easy_getinfo(d->easy, CURLINFO_RESPONSE_CODE, &status);
        d->status = status;
        if (status / 100 == 2) {
            curl_off_t length = -1;
            curl_easy_getinfo(d->easy, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length);
            d->total = qint64(length);
            if (d->total > d->rules.maxBytes) {
                d->failure = QStringLiteral("the file is %1, more than the %2 this program accepts")
                                 .arg(sizeText(d->total), sizeText(d->rules.maxBytes));
                return 0;
            }
        }
    }
    return bytes;
}

size_t Download::Private::onWrite(char* data, size_t size, size_t count, void* userp) {
    auto* d = static_cast<Private*>(userp);
    const qint64 bytes = qint64(size * count);
    d->stall->start(stallTimeout());
    // The page of a redirect or of an error is not kept.
    if (d->status / 100 != 2 || !d->file)
        return size_t(bytes);
    if (d->received + bytes > d->rules.maxBytes) {
        d->failure = QStringLiteral("the file is larger than the %1 this program accepts")
                         .arg(sizeText(d->rules.maxBytes));
        return 0;
    }
    if (d->file->write(data, bytes) != bytes) {
        d->failure = QStringLiteral("%1 could not be written (%2)")
                         .arg(d->file->fileName(), d->file->errorString());
        return 0;
    }
    const QByteArrayView piece(data, bytes);
    if (d->rules.sha256)
        d->hash.addData(piece);
    if (d->rules.checkBody)
        d->body.append(piece);
    d->received += bytes;
    d->writeBack();
    return size_t(bytes);
}

// The finished file is made durable before it replaces the target, and that
// wait grew with the file: a 200 MB pack spent a third of its time there.
// Linux is asked to start writing each piece to the disk as it arrives, so the
// writing runs alongside the transfer and the final wait is short. Elsewhere
// the system's own write-back does what it can.
void Download::Private::writeBack() {
#ifdef Q_OS_LINUX
    if (received - writtenBack < kWriteBackStep)
        return;
    if (!file->flush())
        return;
    ::sync_file_range(file->handle(), writtenBack, received - writtenBack, SYNC_FILE_RANGE_WRITE);
    writtenBack = received;
#endif
}

void Download::Private::request(const QUrl& address) {
    url = address;
    status = 0;
    phrase.clear();
    total = -1;
    error[0] = '\0';
    easy = curl_easy_init();
    if (!easy) {
        QTimer::singleShot(0, q, [this] { fail(QStringLiteral("the transfer could not start")); });
        return;
    }
    const QByteArray encoded = address.toEncoded();
    curl_easy_setopt(easy, CURLOPT_URL, encoded.constData());
#if LIBCURL_VERSION_NUM >= 0x075500
    curl_easy_setopt(easy, CURLOPT_PROTOCOLS_STR, "http,https");
#else
    curl_easy_setopt(easy, CURLOPT_PROTOCOLS, long(CURLPROTO_HTTP | CURLPROTO_HTTPS));
#endif
    // Redirects are followed here, each one checked.
    curl_easy_setopt(easy, CURLOPT_FOLLOWLOCATION, 0L);
    curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(easy, CURLOPT_BUFFERSIZE, kBuffer);
    curl_easy_setopt(easy, CURLOPT_USERAGENT, "TARVO2-update");
    curl_easy_setopt(easy, CURLOPT_ERRORBUFFER, error);
    curl_easy_setopt(easy, CURLOPT_HEADERFUNCTION, &Private::onHeader);
    curl_easy_setopt(easy, CURLOPT_HEADERDATA, this);
    curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, &Private::onWrite);
    curl_easy_setopt(easy, CURLOPT_WRITEDATA, this);
    if (const QByteArray& pem = authoritiesSetting(); !pem.isEmpty()) {
        curl_blob blob{const_cast<char*>(pem.constData()), size_t(pem.size()), CURL_BLOB_COPY};
        curl_easy_setopt(easy, CURLOPT_CAINFO_BLOB, &blob);
    }
    stall->start(stallTimeout());
    curl_multi_add_handle(multi, easy);
}

void Download::Private::act(curl_socket_t s, int events) {
    int running = 0;
    curl_multi_socket_action(multi, s, events, &running);
    afterAction();
}

void Download::Private::afterAction() {
    if (easy && received != shownBytes &&
        (!shown.isValid() || shown.elapsed() >= kProgressInterval || received == total)) {
        shown.start();
        shownBytes = received;
        emit q->progress(received, total);
    }
    int left = 0;
    while (CURLMsg* m = curl_multi_info_read(multi, &left)) {
        if (m->msg == CURLMSG_DONE && easy && m->easy_handle == easy) {
            finish(m->data.result);
            return;
        }
    }
}

void Download::Private::finish(CURLcode result) {
    stall->stop();
    if (!failure.isEmpty())
        return fail(failure);
    if (result != CURLE_OK)
        return fail(describe(result));
    if (status / 100 == 3) {
        char* location = nullptr;
        curl_easy_getinfo(easy, CURLINFO_REDIRECT_URL, &location);
        if (!location)
            return fail(QStringLiteral("the server redirected without saying where to"));
        const QUrl next = QUrl::fromEncoded(QByteArray(location));
        if (++redirects > kMaxRedirects)
            return fail(
                QStringLiteral("the server redirected more than %1 times").arg(kMaxRedirects));
        if (!webAddress(next.toString()))
            return fail(QStringLiteral("the server redirected to %1, which is not an http or https "
                                       "address")
                            .arg(next.toDisplayString()));
        const bool secure = next.scheme().compare(QLatin1String("https"), Qt::CaseInsensitive) == 0;
        const bool wasSecure =
            url.scheme().compare(QLatin1String("https"), Qt::CaseInsensitive) == 0;
        if (!secure && (wasSecure || rules.httpsOnly))
            return fail(QStringLiteral("the server redirected to %1, which is not a secure "
                                       "(https) address")
                            .arg(next.toDisplayString()));
        dropEasy();
        request(next);
        return;
    }
    if (status / 100 != 2) {
        if (status >= 400)
            return fail(QStringLiteral("the server answered %1%2")
                            .arg(status)
                            .arg(phrase.isEmpty() ? QString()
                                                  : QLatin1Char(' ') + QString::fromUtf8(phrase)));
        return fail(QStringLiteral("the server sent no file (status %1)").arg(status));
    }
    if (total >= 0 && received != total)
        return fail(QStringLiteral("the transfer ended after %1 of the %2 the server announced")
                        .arg(sizeText(received), sizeText(total)));
    if (rules.sha256 && hash.result() != *rules.sha256)
        return fail(QStringLiteral("the file that arrived does not match the SHA-256 checksum "
                                   "that the list of updates gives for it"));
    if (rules.checkBody)
        if (const QString why = rules.checkBody(body); !why.isEmpty())
            return fail(why);
    dropEasy();
    if (!file->commit()) {
        const QString why = QStringLiteral("%1 could not be written (%2)")
                                .arg(file->fileName(), file->errorString());
        return fail(why);
    }
    file.reset();
    cleanUp();
    emit q->finished(true, QString());
}

void Download::Private::dropEasy() {
    if (!easy)
        return;
    curl_multi_remove_handle(multi, easy);
    curl_easy_cleanup(easy);
    easy = nullptr;
}

void Download::Private::cleanUp() {
    stall->stop();
    dropEasy();
    if (file) {
        // The temporary file goes; the target stays as it was.
        file->cancelWriting();
        file.reset();
    }
    body = QByteArray();
    hash.reset();
    failure.clear();
}

void Download::Private::fail(const QString& reason) {
    const bool running = easy || file;
    const QString why = reason; // it may be this object's own failure
    cleanUp();
    if (running)
        emit q->finished(false, why);
}

QString Download::Private::describe(CURLcode result) const {
    const QString detail =
        QString::fromUtf8(error[0] ? error : curl_easy_strerror(result)).trimmed();
    switch (result) {
    case CURLE_COULDNT_RESOLVE_HOST:
        return QStringLiteral("the server %1 was not found").arg(url.host());
    case CURLE_COULDNT_RESOLVE_PROXY:
        return QStringLiteral("the proxy server was not found (%1)").arg(detail);
    case CURLE_COULDNT_CONNECT:
        return QStringLiteral("the server could not be reached (%1)").arg(detail);
    case CURLE_PEER_FAILED_VERIFICATION:
        return QStringLiteral("the server's certificate could not be trusted (%1)").arg(detail);
    case CURLE_SSL_CONNECT_ERROR:
        return QStringLiteral("no secure connection could be made (%1)").arg(detail);
    case CURLE_PARTIAL_FILE:
        if (total >= 0)
            return QStringLiteral("the transfer ended after %1 of the %2 the server announced")
                .arg(sizeText(received), sizeText(total));
        return QStringLiteral("the transfer ended before the whole file arrived");
    case CURLE_RECV_ERROR:
    case CURLE_SEND_ERROR:
    case CURLE_GOT_NOTHING:
        return QStringLiteral("the server closed the connection before the whole file arrived");
    case CURLE_OPERATION_TIMEDOUT:
        return QStringLiteral("the server did not answer in time");
    default:
        return detail;
    }
}

// ------------------------------------------------------------- Download ---

int Download::stallTimeout() {
    return stallSetting();
}

void Download::setStallTimeout(int milliseconds) {
    stallSetting() = milliseconds;
}

void Download::setCertificateAuthorities(const QByteArray& pem) {
    authoritiesSetting() = pem;
}

Download::Download(QObject* parent) : QObject(parent), d(std::make_unique<Private>(this)) {}

Download::~Download() {
    cancel();
}

bool Download::isRunning() const {
    return d->easy != nullptr;
}

void Download::start(const QUrl& url, const QString& target, const FetchRules& rules) {
    cancel();
    d->rules = rules;
    d->redirects = 0;
    d->received = 0;
    d->writtenBack = 0;
    d->shownBytes = -1;
    d->shown.invalidate();
    auto refuse = [this](const QString& why) {
        QTimer::singleShot(0, this, [this, why] { emit finished(false, why); });
    };
    const bool secure = url.scheme().compare(QLatin1String("https"), Qt::CaseInsensitive) == 0;
    if (!webAddress(url.toString()) || (rules.httpsOnly && !secure))
        return refuse(QStringLiteral("%1 is not a %2 address")
                          .arg(url.toDisplayString(), rules.httpsOnly
                                                          ? QStringLiteral("secure (https)")
                                                          : QStringLiteral("http or https")));
    d->file = std::make_unique<QSaveFile>(target);
    d->file->setDirectWriteFallback(false);
    if (!d->file->open(QIODevice::WriteOnly)) {
        const QString why = d->file->errorString();
        d->file.reset();
        return refuse(QStringLiteral("%1 could not be written (%2)").arg(target, why));
    }
    d->request(url);
}

void Download::cancel() {
    d->cleanUp();
}

} // namespace tarvo::update
