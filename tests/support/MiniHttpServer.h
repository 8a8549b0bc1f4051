#pragma once
// A small HTTP server on loopback at a free port, for tests of downloads: one canned answer per
// request, chosen by the request line.

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QTcpServer>
#include <functional>

namespace orvel::test {

class MiniHttpServer : public QObject {
public:
    // The handler gives the raw response for the request line; an empty one says nothing,
    // so that the client times out.
    explicit MiniHttpServer(std::function<QByteArray(const QByteArray&)> handler);
    bool listening() const { return m_server.isListening(); }
    QString url(const QString& path) const;

private:
    QTcpServer m_server;
    std::function<QByteArray(const QByteArray&)> m_handler;
};

// "HTTP/1.1 <status>" with the body, its length and "Connection: close".
QByteArray httpResponse(const QByteArray& status, const QByteArray& body);

} // namespace orvel::test
