#include "FakeFtpServer.h"

#include <QDir>
#include <QTimer>

namespace orvel::test {

FakeFtpServer::FakeFtpServer() {
    m_server.listen(QHostAddress::LocalHost, 0);
    connect(&m_server, &QTcpServer::newConnection, this, &FakeFtpServer::onConnection);
    connect(&m_dataServer, &QTcpServer::newConnection, this, &FakeFtpServer::onDataConnection);
}

FakeFtpServer::~FakeFtpServer() {
    if (m_client)
        m_client->abort();
    if (m_data)
        m_data->abort();
}

QStringList FakeFtpServer::commandsSince(int connection) const {
    QStringList out;
    int seen = 0;
    for (const QString& c : transcript) {
        if (c == u"<connect>") {
            ++seen;
            continue;
        }
        if (seen >= connection)
            out.append(c);
    }
    return out;
}

void FakeFtpServer::send(const QByteArray& bytes) {
    if (m_client) {
        m_client->write(bytes);
        m_client->flush();
    }
}

void FakeFtpServer::sendLater(const QByteArray& bytes, int ms) {
    QTimer::singleShot(ms, this, [this, bytes] { send(bytes); });
}

void FakeFtpServer::closeControl() {
    if (m_data)
        m_data->abort();
    if (m_client)
        m_client->disconnectFromHost();
}

void FakeFtpServer::onConnection() {
    QTcpSocket* s = m_server.nextPendingConnection();
    if (m_client)
        m_client->abort();
    m_client = s;
    m_buffer.clear();
    cwd = QStringLiteral("/");
    ++connections;
    transcript.append(QStringLiteral("<connect>"));
    connect(s, &QTcpSocket::readyRead, this, &FakeFtpServer::onRead);
    connect(s, &QTcpSocket::disconnected, s, &QObject::deleteLater);
    send(greeting);
    if (onConnected)
        onConnected();
}

void FakeFtpServer::onRead() {
    auto* s = qobject_cast<QTcpSocket*>(sender());
    if (s != m_client)
        return;
    m_buffer.append(s->readAll());
    qsizetype end;
    while ((end = m_buffer.indexOf("\r\n")) >= 0) {
        const QString line = QString::fromUtf8(m_buffer.left(end));
        m_buffer.remove(0, end + 2);
        handle(line);
    }
}

void FakeFtpServer::handle(const QString& line) {
    transcript.append(line);
    const qsizetype blank = line.indexOf(u' ');
    const QString verb = (blank < 0 ? line : line.left(blank)).toUpper();
    const QString arg = blank < 0 ? QString() : line.mid(blank + 1);
    const auto h = m_handlers.constFind(verb);
    if (h != m_handlers.constEnd() && (*h)(arg))
        return;
    standard(verb, arg);
}

QString FakeFtpServer::full(const QString& name) const {
    return QDir::cleanPath(name.startsWith(u'/') ? name : cwd + u'/' + name);
}

void FakeFtpServer::standard(const QString& verb, const QString& arg) {
    if (verb == u"USER")
        send("331 Password please\r\n");
    else if (verb == u"PASS")
        send("230 Logged in\r\n");
    else if (verb == u"FEAT") {
        QByteArray r = "211-Features:\r\n";
        for (const QString& f : std::as_const(features))
            r += ' ' + f.toUtf8() + "\r\n";
        send(r + "211 End\r\n");
    } else if (verb == u"OPTS" || verb == u"TYPE")
        send("200 OK\r\n");
    else if (verb == u"PWD")
        send("257 \"" + cwd.toUtf8() + "\" is the current directory\r\n");
    else if (verb == u"CWD") {
        const QString dir = full(arg);
        if (dirs.contains(dir)) {
            cwd = dir;
            send("250 Directory changed\r\n");
        } else {
            send("550 No such directory\r\n");
        }
    } else if (verb == u"CDUP") {
        cwd = QDir::cleanPath(cwd + QStringLiteral("/.."));
        send("250 OK\r\n");
    } else if (verb == u"MKD") {
        dirs.append(full(arg));
        send("257 \"" + full(arg).toUtf8() + "\" created\r\n");
    } else if (verb == u"EPSV") {
        m_data = nullptr; // each transfer has its own connection
        m_dataServer.close();
        m_dataServer.listen(QHostAddress::LocalHost, 0);
        send("229 Entering Extended Passive Mode (|||" +
             QByteArray::number(m_dataServer.serverPort()) + "|)\r\n");
    } else if (verb == u"PASV") {
        m_data = nullptr;
        m_dataServer.close();
        m_dataServer.listen(QHostAddress::LocalHost, 0);
        const quint16 p = m_dataServer.serverPort();
        send("227 Entering Passive Mode (127,0,0,1," + QByteArray::number(p >> 8) + ',' +
             QByteArray::number(p & 255) + ")\r\n");
    } else if (verb == u"EPRT") {
        const QStringList parts = arg.split(u'|');
        if (parts.size() < 5)
            return send("501 Bad EPRT\r\n");
        connectActive(QHostAddress(parts.at(2)), quint16(parts.at(3).toUInt()));
        send("200 EPRT OK\r\n");
    } else if (verb == u"PORT") {
        const QStringList n = arg.split(u',');
        if (n.size() != 6)
            return send("501 Bad PORT\r\n");
        connectActive(QHostAddress(n.mid(0, 4).join(u'.')),
                      quint16(n.at(4).toUInt() * 256 + n.at(5).toUInt()));
        send("200 PORT OK\r\n");
    } else if (verb == u"STOR" || verb == u"LIST" || verb == u"MLSD" || verb == u"RETR")
        beginTransfer(verb, arg);
    else if (verb == u"DELE") {
        send(files.remove(full(arg)) ? "250 Deleted\r\n" : "550 No such file\r\n");
    } else if (verb == u"MDTM" || verb == u"MFMT") {
        // "MDTM name" asks; "MDTM time name" and "MFMT time name" set (and are not kept).
        const qsizetype blank = arg.indexOf(u' ');
        const bool setting = verb == u"MFMT" || (blank == 14 && arg.left(14).toULongLong() > 0);
        const QString name = setting ? arg.mid(blank + 1) : arg;
        if (!files.contains(full(name)))
            send("550 No such file\r\n");
        else
            send(setting ? QByteArray("213 Modify=" + arg.left(14).toLatin1() + "; " +
                                      name.toUtf8() + "\r\n")
                         : QByteArray("213 20240102030405\r\n"));
    } else if (verb == u"SIZE") {
        send(files.contains(full(arg))
                 ? "213 " + QByteArray::number(files.value(full(arg)).size()) + "\r\n"
                 : QByteArray("550 No such file\r\n"));
    } else if (verb == u"RNFR") {
        m_renameFrom = full(arg);
        send(files.contains(m_renameFrom) || dirs.contains(m_renameFrom) ? "350 Ready for RNTO\r\n"
                                                                         : "550 No such file\r\n");
    } else if (verb == u"RNTO") {
        const QString to = full(arg);
        if (dirs.contains(m_renameFrom) && !m_renameFrom.isEmpty()) {
            // A folder takes everything below it along.
            if (refuseFolderRename || dirs.contains(to)) {
                send("550 Cannot rename folder\r\n");
            } else {
                const QString from = m_renameFrom + u'/';
                for (QString& d : dirs)
                    if (d == m_renameFrom || d.startsWith(from))
                        d = to + d.mid(m_renameFrom.size());
                const QStringList names = files.keys();
                for (const QString& f : names)
                    if (f.startsWith(from))
                        files.insert(to + f.mid(m_renameFrom.size()), files.take(f));
                send("250 Renamed\r\n");
            }
        } else if (!files.contains(m_renameFrom))
            send("503 RNFR first\r\n");
        else if (refuseRenameOver && files.contains(to))
            send("550 File exists\r\n");
        else {
            files.insert(to, files.take(m_renameFrom));
            send("250 Renamed\r\n");
        }
        m_renameFrom.clear();
    } else if (verb == u"RMD") {
        send(dirs.removeAll(full(arg)) ? "250 Removed\r\n" : "550 No such directory\r\n");
    } else if (verb == u"QUIT") {
        send("221 Bye\r\n");
        closeControl();
    } else
        send("502 Not implemented\r\n");
}

void FakeFtpServer::beginTransfer(const QString& verb, const QString& arg) {
    m_transferVerb = verb;
    m_transferClient = m_client;
    m_transferName = full(arg);
    m_received.clear();
    if (verb == u"MLSD" && refusePathListing && !arg.isEmpty()) {
        m_transferVerb.clear();
        return send("501 No arguments, please\r\n");
    }
    // MLSD names the folder it lists (the current one without an argument).
    if (verb == u"MLSD" && listFiles && m_transferName != u"/" && !dirs.contains(m_transferName)) {
        m_transferVerb.clear();
        return send("550 No such directory\r\n");
    }
    if (verb == u"STOR")
        files.insert(m_transferName, QByteArray());
    send("150 Opening data connection\r\n");
    serveData();
}

void FakeFtpServer::onDataConnection() {
    useDataSocket(m_dataServer.nextPendingConnection());
}

void FakeFtpServer::connectActive(const QHostAddress& host, quint16 port) {
    m_data = nullptr;
    auto* s = new QTcpSocket(this);
    s->connectToHost(host, port);
    connect(s, &QTcpSocket::connected, this, [this, s] { useDataSocket(s); });
}

void FakeFtpServer::useDataSocket(QTcpSocket* s) {
    if (m_data)
        m_data->abort();
    m_data = s;
    // Like a real server, an upload is on "disk" as it arrives.
    connect(s, &QTcpSocket::readyRead, this, [this, s] {
        if (s != m_data)
            return;
        const QByteArray chunk = s->readAll();
        m_received.append(chunk);
        // Appended to the stored file too, so neither buffer is copied whole on each read.
        if (m_transferVerb == u"STOR")
            files[m_transferName].append(chunk);
        if (m_transferVerb == u"STOR" && cutUploadAfter >= 0 && cutsLeft > 0 &&
            m_received.size() >= cutUploadAfter) {
            --cutsLeft;
            m_transferVerb.clear();
            s->abort();
            if (m_client)
                m_client->abort();
        }
    });
    connect(s, &QTcpSocket::disconnected, this, [this, s] {
        if (s != m_data || m_transferVerb != u"STOR")
            return;
        m_received.append(s->readAll());
        files.insert(m_transferName, shortStores.contains(m_transferName) && !m_received.isEmpty()
                                         ? m_received.chopped(1)
                                         : m_received);
        m_transferVerb.clear();
        if (m_client == m_transferClient)
            send("226 Transfer complete\r\n");
    });
    serveData();
}

void FakeFtpServer::serveData() {
    if (!m_data || m_transferVerb.isEmpty() || m_transferVerb == u"STOR")
        return;
    m_data->write(m_transferVerb == u"RETR" ? files.value(m_transferName)
                  : listFiles               ? folderListing(m_transferName)
                                            : listing);
    finishTransfer();
}

QByteArray FakeFtpServer::folderListing(const QString& folder) const {
    QByteArray out;
    const QString prefix = folder == u"/" ? folder : folder + u'/';
    const auto child = [&prefix](const QString& path) {
        return path.startsWith(prefix) && path.size() > prefix.size() &&
               !path.mid(prefix.size()).contains(u'/');
    };
    for (const QString& d : dirs)
        if (child(d))
            out += "type=dir;modify=20240102030405; " + d.mid(prefix.size()).toUtf8() + "\r\n";
    for (auto it = files.constBegin(); it != files.constEnd(); ++it)
        if (child(it.key()))
            out += "type=file;size=" + QByteArray::number(it.value().size()) +
                   ";modify=20240102030405; " + it.key().mid(prefix.size()).toUtf8() + "\r\n";
    return out;
}

void FakeFtpServer::finishTransfer(const QByteArray& finalReply) {
    m_transferVerb.clear();
    if (m_data) {
        m_data->disconnectFromHost();
        m_data = nullptr;
    }
    send(finalReply);
}

} // namespace orvel::test
