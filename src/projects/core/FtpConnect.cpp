// Making and ending the control connection: TLS, the login through a proxy, the features.

#include "base/core/Translate.h"
#include "projects/core/FtpClient.h"

#include <QCryptographicHash>
#include <QSslSocket>

namespace orvel {

namespace {
bool isCode(const TResult<TFtpReply>& r, std::initializer_list<int> codes) {
    if (!r.ok())
        return false;
    for (int c : codes)
        if (r.value().Code == c)
            return true;
    return false;
}
} // namespace

TStatus TFtpClient::Connect() {
    TStatus refused;
    if (!beginOperation(refused))
        return refused;
    TBusy busy(m_busy);
    closeAll();
    m_reader.reset();
    m_replies.clear();
    m_features.clear();
    m_greeting.clear();
    m_loginDir.clear();
    m_protP = m_noEpsv = m_noEprt = false;
    m_acceptedFingerprint.clear();
    m_certInfo = {};
    m_loggingIn = true;
    const TStatus status = connectAndLogin();
    m_loggingIn = false;
    m_timer.stop();
    if (!status.ok()) {
        closeAll();
        return status;
    }
    setState(fsReady);
    connected();
    return {};
}

TStatus TFtpClient::connectAndLogin() {
    const bool proxy = Proxy.Mode != 0;
    const QString host = proxy ? Proxy.Server : Host;
    const quint16 port = proxy ? quint16(Proxy.Port) : Port;
    if (host.isEmpty())
        return fail(ekSocket, T_("No server name given."));
    m_control = newSocket();
    connect(m_control, &QIODevice::readyRead, this, &TFtpClient::onControlRead);
    connect(m_control, &QAbstractSocket::disconnected, this,
            [this] { failAsync(ekClosed, T_("Connection closed gracefully.")); });
    logLine(QStringLiteral("# %1:%2").arg(host, QString::number(port)));
    setState(fsConnecting);
    armTimer(ConnectTimeout);
    const bool implicit = TlsMode == tlsImplicit;
    if (implicit) {
        m_control->setSslConfiguration(tlsConfiguration());
        m_control->setPeerVerifyName(Host);
        m_control->connectToHostEncrypted(host, port, Host);
    } else {
        m_control->connectToHost(host, port);
    }
    if (!await([this, implicit] {
            return m_control && (implicit ? m_control->isEncrypted()
                                          : m_control->state() == QAbstractSocket::ConnectedState);
        }))
        return TStatus::failure(m_error);
    m_connected = true;
    if (implicit)
        noteCertificate();

    setState(fsWaitReply);
    TResult<TFtpReply> r = readReply();
    while (r.ok() && r.value().Code == 120) // "ready in a few minutes"
        r = readReply();
    if (!r.ok())
        return r.status();
    if (r.value().Code != 220)
        return fail(ekReply, r.value().text());
    m_greeting = r.value().text();
    setState(fsReady);

    bool secure = implicit;
    if (TlsMode == tlsIfAvailable || TlsMode == tlsRequire) {
        r = command(QStringLiteral("AUTH TLS"));
        if (!r.ok())
            return r.status();
        if (r.value().Code == 234) {
            const TStatus s = secureControl();
            if (!s.ok())
                return s;
            secure = true;
        } else if (TlsMode == tlsRequire) {
            // Never falls back to a clear connection: the password would travel in clear.
            return fail(ekTls, fmt(T_("The server does not offer TLS (%s)."),
                                   {QString::number(r.value().Code) + u' ' + r.value().text()}));
        } else {
            logLine(QStringLiteral("# the server offers no TLS: going on without it"));
        }
    }
    if (secure) {
        r = command(QStringLiteral("PBSZ 0"));
        if (!r.ok())
            return r.status();
        r = command(QStringLiteral("PROT P"));
        if (!r.ok())
            return r.status();
        m_protP = r.value().positive();
        if (!m_protP && TlsMode != tlsIfAvailable)
            return fail(ekTls, fmt(T_("The server refuses to protect data connections (%s)."),
                                   {r.value().text()}));
    }
    if (const TStatus s = login(); !s.ok())
        return s;
    readFeatures();
    if (m_opFailed)
        return TStatus::failure(m_error);
    if (HasFeature(QStringLiteral("UTF8"))) {
        r = command(QStringLiteral("OPTS UTF8 ON"));
        if (!r.ok())
            return r.status();
    }
    r = command(QStringLiteral("TYPE I"));
    if (!r.ok())
        return r.status();
    if (!r.value().positive())
        return fail(ekReply, r.value().text());
    r = command(QStringLiteral("PWD"));
    if (!r.ok())
        return r.status();
    m_loginDir = r.value().Code == 257 ? quotedPath(r.value().firstLine()) : QString();
    return {};
}

TStatus TFtpClient::secureControl() {
    setState(fsTlsHandshake);
    m_control->setSslConfiguration(tlsConfiguration());
    m_control->setPeerVerifyName(Host);
    m_control->startClientEncryption();
    if (!await([this] { return m_control && m_control->isEncrypted(); }))
        return TStatus::failure(m_error);
    noteCertificate();
    setState(fsReady);
    return {};
}

void TFtpClient::noteCertificate() {
    // A certificate that passed verification raised no question: record it here.
    if (!m_acceptedFingerprint.isEmpty() || !m_control)
        return;
    m_certInfo = certificateInfo(m_control->peerCertificate(), {});
    m_acceptedFingerprint = m_certInfo.Fingerprint;
}

TCerticateInfo TFtpClient::certificateInfo(const QSslCertificate& cert,
                                           const QList<QSslError>& errors) const {
    TCerticateInfo info;
    info.Server = QStringLiteral("ftps://") + (Host.contains(u':') ? u'[' + Host + u']' : Host) +
                  u':' + QString::number(Port);
    info.Subject = certificateNames(cert, false);
    info.Issuer = certificateNames(cert, true);
    info.Version = QString::fromLatin1(cert.version());
    info.SerialNumber = QString::fromLatin1(cert.serialNumber());
    info.Fingerprint = fingerprintText(cert.digest(QCryptographicHash::Sha256));
    info.ValidFrom = cert.effectiveDate();
    info.ValidUntil = cert.expiryDate();
    for (const QSslError& e : errors)
        info.Reasons.append(e.errorString());
    return info;
}

TStatus TFtpClient::loginPair(const QString& user, const QString& pass, const QString& account) {
    TResult<TFtpReply> r = command(QStringLiteral("USER ") + user);
    if (isCode(r, {331}))
        r = command(QStringLiteral("PASS ") + pass);
    if (isCode(r, {332}) && !account.isEmpty())
        r = command(QStringLiteral("ACCT ") + account);
    if (!r.ok())
        return r.status();
    if (r.value().Code != 230 && r.value().Code != 202)
        return fail(ekReply, fmt(T_("Login failed: %s"),
                                 {QString::number(r.value().Code) + u' ' + r.value().text()}));
    return {};
}

TStatus TFtpClient::login() {
    // The server as the proxy is told it; the port only where it is not the standard one.
    const QString site = Port == 21 ? Host : Host + u':' + QString::number(Port);
    const QString& fwUser = Proxy.Username;
    const QString& fwPass = Proxy.Password;
    const auto proxyLogin = [&]() -> TStatus {
        return fwUser.isEmpty() ? TStatus() : loginPair(fwUser, fwPass, QString());
    };
    const auto siteCommand = [&](const QString& verb) -> TStatus {
        const TResult<TFtpReply> r = command(verb + u' ' + site);
        if (!r.ok())
            return r.status();
        if (!r.value().positive())
            return fail(ekReply, r.value().text());
        return {};
    };
    TStatus s;
    switch (Proxy.Mode) {
    case 1: // USER user@hostname
        if ((s = proxyLogin()).ok())
            s = loginPair(Username + u'@' + site, Password, QString());
        return s;
    case 2: // SITE hostname
    case 3: // OPEN hostname
        if ((s = proxyLogin()).ok() &&
            (s = siteCommand(Proxy.Mode == 2 ? QStringLiteral("SITE") : QStringLiteral("OPEN")))
                .ok())
            s = loginPair(Username, Password, QString());
        return s;
    case 4: // USER user@firewalluser@hostname, PASS pass@firewallpass
        return loginPair(Username + u'@' + fwUser + u'@' + site, Password + u'@' + fwPass,
                         QString());
    case 5: // transparent: the firewall's login, then the server's
        if ((s = proxyLogin()).ok())
            s = loginPair(Username, Password, QString());
        return s;
    case 6: // USER hostuser@hostname firewalluser, PASS pass, ACCT firewallpass
        return loginPair(Username + u'@' + site + u' ' + fwUser, Password, fwPass);
    default:
        return loginPair(Username, Password, QString());
    }
}

void TFtpClient::readFeatures() {
    const TResult<TFtpReply> r = command(QStringLiteral("FEAT"));
    if (!r.ok() || r.value().Code != 211)
        return;
    const QStringList& lines = r.value().Lines;
    for (qsizetype i = 1; i + 1 < lines.size(); ++i) {
        const QString f = lines.at(i).trimmed();
        if (!f.isEmpty())
            m_features.append(f);
    }
}

void TFtpClient::Disconnect() {
    if (m_busy) {
        // Called while an operation waits (a cancel): it ends at once.
        failAsync(ekCancelled, T_("Cancelled"));
        return;
    }
    if (m_control && m_connected && m_state == fsReady) {
        TBusy busy(m_busy);
        m_opFailed = false;
        if (sendLine(QStringLiteral("QUIT")).ok()) {
            armTimer(kQuitTimeout);
            await([this] { return !m_replies.isEmpty() || !m_connected; });
        }
        m_opFailed = false;
    }
    closeAll();
}

} // namespace orvel
