#include "MiniHttpServer.h"

#include <QTcpSocket>
#include <memory>

namespace orvel::test {

MiniHttpServer::MiniHttpServer(std::function<QByteArray(const QByteArray&)> handler)
    : m_handler(std::move(handler)) {
    m_server.listen(QHostAddress::LocalHost, 0);
    connect(&m_server, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket* s = m_server.nextPendingConnection()) {
            // Each connection reads its own request.
            auto request = std::make_shared<QByteArray>();
            connect(s, &QTcpSocket::readyRead, s, [this, s, request] {
                *request += s->readAll();
                if (!request->contains("\r\n\r\n"))
                    return;
                const QByteArray answer = m_handler(request->left(request->indexOf("\r\n")));
                request->clear();
                if (answer.isEmpty())
                    return;
                s->write(answer);
                s->disconnectFromHost();
            });
            connect(s, &QTcpSocket::disconnected, s, &QObject::deleteLater);
        }
    });
}

QString MiniHttpServer::url(const QString& path) const {
    return QStringLiteral("http://127.0.0.1:%1%2").arg(m_server.serverPort()).arg(path);
}

QByteArray httpResponse(const QByteArray& status, const QByteArray& body) {
    return "HTTP/1.1 " + status + "\r\nContent-Length: " + QByteArray::number(body.size()) +
           "\r\nContent-Type: application/octet-stream\r\nConnection: close\r\n\r\n" + body;
}

} // namespace orvel::test
