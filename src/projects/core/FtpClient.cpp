#include "projects/core/FtpClient.h"

#include "base/core/Translate.h"

#include <QCryptographicHash>
#include <QEventLoop>
#include <QFile>
#include <QNetworkProxy>
#include <QSslKey>
#include <QSslSocket>
#include <QTcpServer>

namespace orvel {

namespace {
constexpr int kMaxTrail = 256;

QSslKey loadKey(const QByteArray& pem, const QByteArray& pass) {
    for (QSsl::KeyAlgorithm alg : {QSsl::Rsa, QSsl::Ec, QSsl::Dsa}) {
        QSslKey key(pem, alg, QSsl::Pem, QSsl::PrivateKey, pass);
        if (!key.isNull())
            return key;
    }
    return QSslKey();
}

} // namespace

QString certificateNames(const QSslCertificate& cert, bool issuer) {
    QStringList parts;
    const auto attrs = issuer ? cert.issuerInfoAttributes() : cert.subjectInfoAttributes();
    for (const QByteArray& attr : attrs) {
        const QStringList values = issuer ? cert.issuerInfo(attr) : cert.subjectInfo(attr);
        for (const QString& v : values)
            parts.append(QString::fromLatin1(attr) + u'=' + v);
    }
    return parts.join(QStringLiteral(", "));
}

QString fingerprintText(const QByteArray& digest) {
    return QString::fromLatin1(digest.toHex(':').toUpper());
}

QString loggedCommand(const QString& command) {
    for (const char* secret : {"PASS", "ACCT"}) {
        const QString word = QString::fromLatin1(secret);
        if (command.size() >= word.size() &&
            command.left(word.size()).compare(word, Qt::CaseInsensitive) == 0 &&
            (command.size() == word.size() || command.at(word.size()) == u' '))
            return word + QStringLiteral(" ****");
    }
    return command;
}

QString TFtpClient::stateName(TState state) {
    static const char* const names[] = {"Idle",  "Connecting",     "TlsHandshake", "WaitReply",
                                        "Ready", "DataConnecting", "Transfer"};
    return QString::fromLatin1(names[state]);
}

TFtpClient::TFtpClient(QObject* parent) : QObject(parent), m_timer(this) {
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, [this] {
        failAsync(ekTimeout,
                  m_state == fsConnecting ? T_("Connection timed out") : T_("Read timed out"));
    });
}

TFtpClient::~TFtpClient() {
    // The log's owner may be gone already.
    m_log = nullptr;
    closeAll();
}

void TFtpClient::setTlsFiles(const QString& rootCert, const QString& clientCert, const QString& key,
                             const QByteArray& keyPassPhrase) {
    m_rootCert = rootCert;
    m_clientCert = clientCert;
    m_clientKey = key;
    m_keyPass = keyPassPhrase;
}

void TFtpClient::logLine(const QString& line) const {
    if (m_log)
        m_log(line);
}

void TFtpClient::setState(TState state) {
    if (state == m_state)
        return;
    m_state = state;
    if (StateTrail.size() >= kMaxTrail)
        StateTrail.removeFirst();
    StateTrail.append(stateName(state));
    logLine(QStringLiteral("# ") + stateName(state));
    wake();
}

void TFtpClient::wake() {
    for (QEventLoop* loop : std::as_const(m_loops))
        loop->quit();
}

void TFtpClient::armTimer(int ms) {
    m_timer.start(ms);
}

bool TFtpClient::await(const std::function<bool()>& done) {
    for (;;) {
        if (done())
            return true;
        if (m_opFailed)
            return false;
        QEventLoop loop;
        m_loops.append(&loop);
        loop.exec();
        m_loops.removeOne(&loop);
    }
}

TStatus TFtpClient::fail(TErrorKind kind, const QString& message) {
    if (!m_opFailed) {
        m_opFailed = true;
        m_errorKind = kind;
        m_error = message.trimmed();
        logLine(QStringLiteral("! ") + m_error);
    }
    if (kind != ekReply && kind != ekRefused && kind != ekLocal)
        closeAll();
    wake();
    return TStatus::failure(m_error);
}

void TFtpClient::failAsync(TErrorKind kind, const QString& message) {
    // Outside an operation only a lost connection matters: the next one must not use it.
    if (!m_busy) {
        if (kind != ekReply) {
            logLine(QStringLiteral("! ") + message.trimmed());
            closeAll();
        }
        return;
    }
    (void)fail(kind, message);
}

void TFtpClient::closeAll() {
    m_timer.stop();
    for (QSslSocket** s : {&m_data, &m_control}) {
        if (!*s)
            continue;
        (*s)->disconnect(this);
        (*s)->abort();
        (*s)->deleteLater();
        *s = nullptr;
    }
    if (m_listener) {
        m_listener->disconnect(this);
        m_listener->close();
        m_listener->deleteLater();
        m_listener = nullptr;
    }
    m_connected = false;
    setState(fsIdle);
}

bool TFtpClient::beginOperation(TStatus& refused) {
    if (m_busy) {
        refused = TStatus::failure(T_("The FTP session is busy."));
        return false;
    }
    m_opFailed = false;
    m_errorKind = ekNone;
    m_error.clear();
    return true;
}

QSslSocket* TFtpClient::newSocket() {
    auto* s = new QSslSocket(this);
    s->setProxy(QNetworkProxy::NoProxy);
    connect(s, &QAbstractSocket::errorOccurred, this, [this, s] { onSocketError(s); });
    connect(s, &QSslSocket::sslErrors, this,
            [this, s](const QList<QSslError>& errors) { onSslErrors(s, errors); });
    connect(s, &QSslSocket::encrypted, this, [this] { wake(); });
    connect(s, &QAbstractSocket::connected, this, [this] { wake(); });
    return s;
}

QSslConfiguration TFtpClient::tlsConfiguration() const {
    QSslConfiguration c = QSslConfiguration::defaultConfiguration();
    c.setProtocol(QSsl::TlsV1_2OrLater);
    c.setPeerVerifyMode(QSslSocket::VerifyPeer);
    // Data connections resume the control connection's session; servers insist on it.
    c.setSslOption(QSsl::SslOptionDisableSessionPersistence, false);
    if (!m_rootCert.isEmpty())
        c.addCaCertificates(m_rootCert);
    if (!m_clientCert.isEmpty() && !m_clientKey.isEmpty()) {
        QFile certFile(m_clientCert), keyFile(m_clientKey);
        if (certFile.open(QIODevice::ReadOnly) && keyFile.open(QIODevice::ReadOnly)) {
            const QList<QSslCertificate> certs = QSslCertificate::fromData(certFile.readAll());
            const QSslKey key = loadKey(keyFile.readAll(), m_keyPass);
            if (!certs.isEmpty() && !key.isNull()) {
                c.setLocalCertificate(certs.first());
                c.setPrivateKey(key);
            }
        }
    }
    return c;
}

void TFtpClient::onSocketError(QSslSocket* socket) {
    const QAbstractSocket::SocketError err = socket->error();
    if (socket == m_data && err == QAbstractSocket::RemoteHostClosedError) {
        // The server ends a download by closing; after its TLS close_notify it waits for
        // the connection to end on this side too.
        m_dataClosed = true;
        socket->disconnectFromHost();
        wake();
        return;
    }
    TErrorKind kind = ekSocket;
    QString text = socket->errorString();
    switch (err) {
    case QAbstractSocket::RemoteHostClosedError:
        kind = ekClosed;
        text = T_("Connection closed gracefully.");
        break;
    case QAbstractSocket::SocketTimeoutError:
        kind = ekTimeout;
        break;
    case QAbstractSocket::SslHandshakeFailedError:
    case QAbstractSocket::SslInternalError:
    case QAbstractSocket::SslInvalidUserDataError:
        kind = ekTls;
        if (socket == m_control && !socket->isEncrypted() && !m_certInfo.Reasons.isEmpty())
            text = T_("The server certificate was not accepted: ") +
                   m_certInfo.Reasons.join(QStringLiteral("; "));
        break;
    default:
        break;
    }
    failAsync(kind, text);
}

void TFtpClient::onSslErrors(QSslSocket* socket, const QList<QSslError>& errors) {
    const QSslCertificate cert = socket->peerCertificate();
    const QString fp = fingerprintText(cert.digest(QCryptographicHash::Sha256));
    if (socket != m_control) {
        // The data connection must show the certificate the control connection was
        // accepted with.
        if (!fp.isEmpty() && fp == m_acceptedFingerprint)
            socket->ignoreSslErrors(errors);
        return;
    }
    const TCerticateInfo info = certificateInfo(cert, errors);
    m_certInfo = info;
    if (!PinnedFingerprint.isEmpty() && fp == PinnedFingerprint) {
        logLine(QStringLiteral("# certificate accepted by its pinned fingerprint"));
        m_acceptedFingerprint = fp;
        socket->ignoreSslErrors(errors);
        return;
    }
    // The user takes as long as the user takes.
    m_timer.stop();
    const bool accepted = m_dialogs && m_dialogs->confirmCertificate(info);
    armTimer(ConnectTimeout);
    if (!accepted) {
        logLine(QStringLiteral("# certificate refused"));
        return;
    }
    logLine(QStringLiteral("# certificate accepted and pinned: ") + fp);
    PinnedFingerprint = fp;
    m_acceptedFingerprint = fp;
    socket->ignoreSslErrors(errors);
}

void TFtpClient::onControlRead() {
    if (!m_control)
        return;
    const QByteArray bytes = m_control->readAll();
    // A notice the server sends while nothing waits must not start a time-out.
    if (m_busy)
        armTimer(m_loggingIn ? ConnectTimeout : TransferTimeout);
    if (!m_reader.feed(bytes)) {
        failAsync(ekProtocol, m_reader.error());
        return;
    }
    while (std::optional<TFtpReply> r = m_reader.next()) {
        for (const QString& line : r->Lines)
            logLine(QStringLiteral("< %1 %2").arg(r->Code).arg(line));
        m_replies.append(std::move(*r));
    }
    wake();
}

TStatus TFtpClient::sendLine(const QString& command) {
    for (QChar c : command)
        if (c == u'\r' || c == u'\n' || c == QChar(0))
            return fail(ekRefused, fmt(T_("Not sent to the server: \"%s\" holds a line break."),
                                       {loggedCommand(command).left(80)}));
    if (!m_control || !m_connected)
        return fail(ekClosed, T_("FTP connection lost!"));
    logLine(QStringLiteral("> ") + loggedCommand(command));
    m_control->write(command.toUtf8() + "\r\n");
    // Out now rather than at the next turn of the event loop: a wake-up less per command.
    m_control->flush();
    return {};
}

TResult<TFtpReply> TFtpClient::readReply() {
    armTimer(m_loggingIn ? ConnectTimeout : TransferTimeout);
    if (!await([this] { return !m_replies.isEmpty(); }))
        return TStatus::failure(m_error);
    m_lastReply = m_replies.takeFirst();
    return m_lastReply;
}

TResult<TFtpReply> TFtpClient::command(const QString& command) {
    // Replies nobody asked for: a server that timed the session out says so with 421.
    while (!m_replies.isEmpty()) {
        const TFtpReply stale = m_replies.takeFirst();
        if (stale.Code == 421)
            return fail(ekClosed, stale.text());
    }
    const TStatus sent = sendLine(command);
    if (!sent.ok())
        return sent;
    const TState before = m_state;
    setState(fsWaitReply);
    TResult<TFtpReply> r = readReply();
    if (r.ok())
        setState(before == fsWaitReply ? fsReady : before);
    return r;
}

TResult<TFtpReply> TFtpClient::SendCmd(const QString& text) {
    TStatus refused;
    if (!beginOperation(refused))
        return fail(ekRefused, refused.error());
    TBusy busy(m_busy);
    TResult<TFtpReply> r = command(text);
    m_timer.stop();
    return r;
}

QList<TResult<TFtpReply>> TFtpClient::SendCmds(const QStringList& commands) {
    QList<TResult<TFtpReply>> out;
    if (commands.isEmpty())
        return out;
    TStatus refused;
    if (!beginOperation(refused)) {
        const TStatus failed = fail(ekRefused, refused.error());
        while (out.size() < commands.size())
            out.append(failed);
        return out;
    }
    TBusy busy(m_busy);
    while (!m_replies.isEmpty()) {
        const TFtpReply stale = m_replies.takeFirst();
        if (stale.Code == 421) {
            const TStatus closed = fail(ekClosed, stale.text());
            while (out.size() < commands.size())
                out.append(closed);
            return out;
        }
    }
    qsizetype sent = 0;
    TStatus lastSend;
    for (const QString& c : commands) {
        lastSend = sendLine(c);
        if (!lastSend.ok())
            break;
        ++sent;
    }
    setState(fsWaitReply);
    for (qsizetype i = 0; i < sent; ++i) {
        out.append(readReply());
        if (!out.last().ok())
            break;
    }
    // What was not sent, or not answered, failed the way the last one did.
    const TStatus missing = out.isEmpty() || out.last().ok() ? lastSend : out.last().status();
    while (out.size() < commands.size())
        out.append(missing);
    if (out.last().ok())
        setState(fsReady);
    m_timer.stop();
    return out;
}

void TFtpClient::AbortTransfer() {
    m_aborted = true;
    // Wakes the session in whatever thread it waits.
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (m_busy && m_inTransfer)
                failAsync(ekCancelled, T_("Transfer cancelled"));
        },
        Qt::QueuedConnection);
}

bool TFtpClient::HasFeature(const QString& name) const {
    for (const QString& f : m_features)
        if (f.section(u' ', 0, 0).compare(name, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

} // namespace orvel
