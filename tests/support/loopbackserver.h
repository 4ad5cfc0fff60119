// A small HTTP server on the loopback interface for tests: it serves set
// bodies at set paths and misbehaves on request (an error status, a
// connection dropped halfway, a body shorter than announced, a stall, a
// redirect loop), over plain HTTP or over TLS with a certificate of its own.
#pragma once

#include <QByteArray>
#include <QHash>
#include <QSslCertificate>
#include <QStringList>
#include <QTcpServer>
#include <QUrl>

#include <memory>

namespace tarvo::test {

class LoopbackServer : public QObject {
    Q_OBJECT
public:
    enum class Fault {
        None,
        // Half the body, then the connection is dropped.
        ResetHalfway,
        // The full length is announced, half the body sent, the connection closed.
        ShortBody,
        // The headers and a few bytes, then nothing more.
        Stall,
        // Every request is sent on to the same path again.
        RedirectLoop,
    };

    enum class Transport { Http, Https };

    explicit LoopbackServer(Transport transport = Transport::Http);
    ~LoopbackServer() override;

    // The self-signed certificate of the Https server (for 127.0.0.1), which
    // no system trusts unless told to.
    static QSslCertificate certificate();

    // Serves body at path ("/updates.ini") with the status given.
    void serve(const QString& path, const QByteArray& body, int status = 200);
    void fault(const QString& path, Fault fault, const QByteArray& body = QByteArray(4096, 'x'));
    // http://127.0.0.1:port + path (https for an Https server)
    QUrl url(const QString& path) const;
    // The paths asked for, in order.
    QStringList requests;

private:
    struct Route {
        int status = 200;
        QByteArray body;
        Fault fault = Fault::None;
    };
    void answer(QTcpSocket* socket, const QByteArray& request);

    Transport m_transport;
    std::unique_ptr<QTcpServer> m_server;
    QHash<QString, Route> m_routes;
};

} // namespace tarvo::test
