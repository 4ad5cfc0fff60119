#include "loopbackserver.h"

#include <QTcpSocket>

namespace tarvo::test {

namespace {
QByteArray phrase(int status) {
    static const QHash<int, QByteArray> phrases = {
        {200, "OK"}, {302, "Found"}, {404, "Not Found"}, {500, "Internal Server Error"}};
    return phrases.value(status, "Status");
}
} // namespace

LoopbackServer::LoopbackServer() {
    m_server.listen(QHostAddress::LocalHost, 0);
    connect(&m_server, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket* s = m_server.nextPendingConnection()) {
            connect(s, &QTcpSocket::disconnected, s, &QObject::deleteLater);
            auto* buffer = new QByteArray;
            connect(s, &QObject::destroyed, s, [buffer] { delete buffer; });
            connect(s, &QTcpSocket::readyRead, this, [this, s, buffer] {
                buffer->append(s->readAll());
                // Every complete request on the connection is answered.
                for (qsizetype end; (end = buffer->indexOf("\r\n\r\n")) >= 0;) {
                    const QByteArray request = buffer->left(end);
                    buffer->remove(0, end + 4);
                    answer(s, request);
                }
            });
        }
    });
}

LoopbackServer::~LoopbackServer() = default;

void LoopbackServer::serve(const QString& path, const QByteArray& body, int status) {
    m_routes.insert(path, Route{status, body, Fault::None});
}

void LoopbackServer::fault(const QString& path, Fault fault, const QByteArray& body) {
    m_routes.insert(path, Route{200, body, fault});
}

QUrl LoopbackServer::url(const QString& path) const {
    return QUrl(QStringLiteral("http://127.0.0.1:%1%2").arg(m_server.serverPort()).arg(path));
}

void LoopbackServer::answer(QTcpSocket* s, const QByteArray& request) {
    const QList<QByteArray> line = request.left(request.indexOf("\r\n")).split(' ');
    const QString path = line.size() > 1 ? QString::fromUtf8(line[1]) : QString();
    requests << path;
    const auto it = m_routes.constFind(path);
    const Route route = it != m_routes.cend() ? *it : Route{404, "no such file", Fault::None};

    auto head = [&](int status, qint64 length, const QByteArray& extra = QByteArray()) {
        return "HTTP/1.1 " + QByteArray::number(status) + ' ' + phrase(status) +
               "\r\nContent-Type: application/octet-stream\r\nContent-Length: " +
               QByteArray::number(length) + "\r\n" + extra + "Connection: close\r\n\r\n";
    };
    const QByteArray& body = route.body;
    const QByteArray half = body.left(body.size() / 2);
    switch (route.fault) {
    case Fault::None:
        s->write(head(route.status, body.size()) + body);
        s->disconnectFromHost();
        break;
    case Fault::ResetHalfway:
        s->write(head(200, body.size()) + half);
        s->flush();
        s->waitForBytesWritten(1000);
        s->abort();
        break;
    case Fault::ShortBody:
        s->write(head(200, body.size()) + half);
        s->disconnectFromHost();
        break;
    case Fault::Stall:
        s->write(head(200, body.size()) + body.left(16));
        s->flush();
        break;
    case Fault::RedirectLoop:
        // The connection stays open for the next request of the loop.
        s->write("HTTP/1.1 302 Found\r\nContent-Length: 0\r\nLocation: " + url(path).toEncoded() +
                 "\r\n\r\n");
        break;
    }
}

} // namespace tarvo::test
