// Data connections: passive (EPSV, then PASV) or active (EPRT, then PORT), protected with
// TLS when the control connection asked for it, and the transfers over them.

#include "base/core/Translate.h"
#include "projects/core/FtpClient.h"

#include <QBuffer>
#include <QDate>
#include <QSslSocket>
#include <QTcpServer>

namespace orvel {

namespace {
constexpr qint64 kChunk = 64 * 1024;
// What may wait in the socket's buffer: enough to keep the line busy, little memory.
constexpr qint64 kUploadWindow = 512 * 1024;
// A listing beyond this is no listing a site has.
constexpr qint64 kMaxListing = 64 * 1024 * 1024;

bool notUnderstood(int code) {
    return code >= 500 && code <= 504;
}

// Hands the descriptors of incoming data connections to the client, which wraps them in
// its own sockets.
class TDataListener : public QTcpServer {
public:
    explicit TDataListener(QObject* parent) : QTcpServer(parent) {}
    std::function<void(qintptr)> onIncoming;

protected:
    void incomingConnection(qintptr descriptor) override { onIncoming(descriptor); }
};
} // namespace

void TFtpClient::wireData(QSslSocket* s) {
    connect(s, &QIODevice::readyRead, this, &TFtpClient::onDataRead);
    connect(s, &QIODevice::bytesWritten, this, [this](qint64 n) {
        m_done += n;
        armTimer(TransferTimeout);
        Q_EMIT Work(m_done);
        pumpUpload(false);
    });
    connect(s, &QAbstractSocket::disconnected, this, [this] {
        onDataRead();
        m_dataClosed = true;
        logLine(QStringLiteral("# data connection closed"));
        wake();
    });
    connect(s, &QSslSocket::encrypted, this, [this, s] {
        logLine(QStringLiteral("# data connection secured%1")
                    .arg(s->sslConfiguration().sessionTicket().isEmpty()
                             ? QString()
                             : QStringLiteral(" (session kept)")));
        pumpUpload(false);
    });
    connect(s, &QSslSocket::encryptedBytesWritten, this, [this] { pumpUpload(false); });
}

void TFtpClient::startDataTls() {
    QSslConfiguration c = tlsConfiguration();
    c.setSessionTicket(m_control->sslConfiguration().sessionTicket());
    m_data->setSslConfiguration(c);
    m_data->setPeerVerifyName(Host);
    m_data->startClientEncryption();
}

TStatus TFtpClient::openData() {
    const QHostAddress server = m_control->peerAddress();
    if (Passive) {
        quint16 port = 0;
        TResult<TFtpReply> r = TStatus();
        if (!m_noEpsv) {
            r = command(QStringLiteral("EPSV"));
            if (!r.ok())
                return r.status();
            if (r.value().Code == 229 && !(port = parseEpsvReply(r.value().text())))
                return fail(ekProtocol, T_("The server sent an invalid passive address."));
            m_noEpsv = notUnderstood(r.value().Code);
            if (!port && !m_noEpsv)
                return fail(ekReply, r.value().text());
        }
        if (!port) {
            r = command(QStringLiteral("PASV"));
            if (!r.ok())
                return r.status();
            QHostAddress named;
            if (r.value().Code != 227)
                return fail(ekReply, r.value().text());
            if (!parsePasvReply(r.value().text(), named, port))
                return fail(ekProtocol, T_("The server sent an invalid passive address."));
            // Only the server itself is connected to, whatever address it names.
            if (named != server)
                logLine(QStringLiteral("# passive address %1 ignored").arg(named.toString()));
        }
        m_data = newSocket();
        wireData(m_data);
        setState(fsDataConnecting);
        armTimer(TransferTimeout);
        m_data->connectToHost(server, port);
        if (!await([this] { return m_data && m_data->state() == QAbstractSocket::ConnectedState; }))
            return TStatus::failure(m_error);
        return {};
    }

    auto* listener = new TDataListener(this);
    m_listener = listener;
    listener->onIncoming = [this](qintptr descriptor) { acceptData(descriptor); };
    const QHostAddress local = m_control->localAddress();
    if (!listener->listen(local, 0))
        return fail(ekSocket, listener->errorString());
    const quint16 port = listener->serverPort();
    TResult<TFtpReply> r = TStatus();
    if (!m_noEprt) {
        r = command(QStringLiteral("EPRT ") + eprtArgument(local, port));
        if (!r.ok())
            return r.status();
        m_noEprt = notUnderstood(r.value().Code);
        if (r.value().positive())
            return {};
        if (!m_noEprt)
            return fail(ekReply, r.value().text());
    }
    if (local.protocol() != QAbstractSocket::IPv4Protocol)
        return fail(ekReply, r.value().text());
    r = command(QStringLiteral("PORT ") + portArgument(local, port));
    if (!r.ok())
        return r.status();
    if (!r.value().positive())
        return fail(ekReply, r.value().text());
    return {};
}

void TFtpClient::acceptData(qintptr descriptor) {
    auto* s = newSocket();
    s->setSocketDescriptor(descriptor);
    // Only the server may connect; anyone else on the way is turned away.
    if (m_data || !m_control || s->peerAddress() != m_control->peerAddress()) {
        logLine(
            QStringLiteral("# data connection from %1 refused").arg(s->peerAddress().toString()));
        s->disconnect(this);
        s->abort();
        s->deleteLater();
        return;
    }
    m_data = s;
    wireData(m_data);
    wake();
}

void TFtpClient::onDataRead() {
    if (!m_data || !m_download)
        return;
    const QByteArray bytes = m_data->readAll();
    if (bytes.isEmpty())
        return;
    armTimer(TransferTimeout);
    if (m_downloadLimit >= 0 && m_done + bytes.size() > m_downloadLimit) {
        failAsync(ekProtocol, T_("The server sent a listing that is too large."));
        return;
    }
    if (m_download->write(bytes) != bytes.size()) {
        failAsync(ekLocal, m_download->errorString());
        return;
    }
    m_done += bytes.size();
    Q_EMIT Work(m_done);
}

void TFtpClient::pumpUpload(bool flushNow) {
    if (!m_data || !m_upload || m_dataClosing || m_flushing || !dataReady())
        return;
    // Both the plain text waiting for TLS and the bytes waiting for the network count.
    const auto pending = [this] {
        return m_data->bytesToWrite() + m_data->encryptedBytesToWrite();
    };
    const auto fill = [this, &pending] {
        while (!m_sourceAtEnd && pending() < kUploadWindow) {
            const QByteArray chunk = m_upload->read(kChunk);
            if (chunk.isEmpty()) {
                if (!m_upload->atEnd()) {
                    failAsync(ekLocal, m_upload->errorString());
                    return false;
                }
                m_sourceAtEnd = true;
                break;
            }
            m_data->write(chunk);
        }
        return true;
    };
    if (!fill())
        return;
    if (flushNow) {
        // One window straight to the network; the socket's reports during the flush refill
        // nothing, so that events (a cancel) still come between windows.
        m_flushing = true;
        m_data->flush();
        m_flushing = false;
        if (!fill())
            return;
    }
    if (m_sourceAtEnd && pending() == 0) {
        // Everything is with the network: end with TLS's close_notify where the
        // connection is protected, as servers want it.
        m_dataClosing = true;
        m_data->disconnectFromHost();
    }
}

bool TFtpClient::dataReady() const {
    return m_data && m_data->state() == QAbstractSocket::ConnectedState &&
           (!m_protP || m_data->isEncrypted());
}

void TFtpClient::closeData() {
    if (m_data) {
        m_data->disconnect(this);
        m_data->abort();
        m_data->deleteLater();
        m_data = nullptr;
    }
    if (m_listener) {
        m_listener->close();
        m_listener->deleteLater();
        m_listener = nullptr;
    }
    m_upload = nullptr;
    m_download = nullptr;
}

TStatus TFtpClient::transfer(const QString& command, QIODevice* upload, QIODevice* download,
                             qint64 downloadLimit) {
    m_upload = upload;
    m_download = download;
    m_downloadLimit = downloadLimit;
    m_done = 0;
    m_sourceAtEnd = m_dataClosed = m_dataClosing = false;
    m_inTransfer = true;
    const TStatus status = runTransfer(command);
    m_inTransfer = false;
    closeData();
    m_timer.stop();
    if (status.ok())
        setState(fsReady);
    return status;
}

TStatus TFtpClient::runTransfer(const QString& cmd) {
    if (!m_control || !m_connected)
        return fail(ekClosed, T_("FTP connection lost!"));
    if (const TStatus s = openData(); !s.ok())
        return s;
    if (m_aborted)
        return fail(ekCancelled, T_("Transfer cancelled"));
    if (const TStatus s = sendLine(cmd); !s.ok())
        return s;
    setState(fsTransfer);
    TResult<TFtpReply> r = readReply();
    if (!r.ok())
        return r.status();
    if (r.value().Code >= 400)
        return fail(ekReply, r.value().text());
    if (!r.value().preliminary())
        return {}; // nothing to transfer (an empty listing on some servers)
    armTimer(TransferTimeout);
    // In active mode the server connects now. TLS starts once the server has taken the
    // command: some servers drop a handshake that comes before it.
    if (!await([this] {
            return m_dataClosed || (m_data && m_data->state() == QAbstractSocket::ConnectedState);
        }))
        return TStatus::failure(m_error);
    if (m_protP && !m_dataClosed)
        startDataTls();
    // A fast server may have sent everything and closed already.
    if (!await([this] { return dataReady() || m_dataClosed; }))
        return TStatus::failure(m_error);
    // Straight to the network from here, where no socket is reporting: a small file is sent
    // and closed in one go. From the sockets' own signals the event loop sends it.
    pumpUpload(true);
    // The data connection ends the transfer; a refusal may come before it does.
    if (!await([this] {
            return m_dataClosed || (!m_replies.isEmpty() && m_replies.first().Code >= 400);
        }))
        return TStatus::failure(m_error);
    onDataRead();
    r = readReply();
    if (!r.ok())
        return r.status();
    if (r.value().Code >= 400)
        return fail(ekReply, r.value().text());
    return {};
}

TResult<TParsedListing> TFtpClient::List(const QString& path) {
    TStatus refused;
    if (!beginOperation(refused))
        return fail(ekRefused, refused.error());
    TBusy busy(m_busy);
    const bool mlsd = UsesMlsd();
    if (!path.isEmpty() && !mlsd)
        return fail(ekRefused, T_("This server lists only the current directory."));
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    const QString verb = mlsd ? QStringLiteral("MLSD") : QStringLiteral("LIST");
    const TStatus s =
        transfer(path.isEmpty() ? verb : verb + u' ' + path, nullptr, &buffer, kMaxListing);
    if (!s.ok())
        return s;
    TParsedListing listing =
        parseListing(buffer.data(), mlsd ? lfMlsd : lfList, QDate::currentDate());
    for (const QString& name : std::as_const(listing.Refused))
        logLine(QStringLiteral("# remote name skipped: ") + name);
    return listing;
}

TStatus TFtpClient::Put(QIODevice* source, const QString& name, bool append) {
    TStatus refused;
    if (!beginOperation(refused))
        return fail(ekRefused, refused.error());
    TBusy busy(m_busy);
    return transfer((append ? QStringLiteral("APPE ") : QStringLiteral("STOR ")) + name, source,
                    nullptr, -1);
}

TStatus TFtpClient::Get(const QString& name, QIODevice* dest) {
    TStatus refused;
    if (!beginOperation(refused))
        return fail(ekRefused, refused.error());
    TBusy busy(m_busy);
    return transfer(QStringLiteral("RETR ") + name, nullptr, dest, -1);
}

} // namespace orvel
