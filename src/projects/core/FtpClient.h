#pragma once
// The FTP client on Qt Network: RFC 959 with passive (EPSV, PASV) and active (EPRT, PORT)
// data connections, explicit (RFC 4217) and implicit TLS, the proxy login sequences, FEAT,
// MLSD and LIST. One explicit state machine drives the connections; its operations are
// synchronous for the caller and keep the caller's thread processing events while they
// wait, so windows stay alive and a cancel can reach them. It lives in one thread at a time
// (moveToThread hands it over between operations).

#include "base/core/Result.h"
#include "projects/core/FtpListing.h"
#include "projects/core/FtpReply.h"
#include "projects/core/ProjectInfo.h"
#include "projects/core/TransferDialogs.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QSslConfiguration>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <atomic>
#include <functional>

class QEventLoop;
class QIODevice;
class QSslSocket;
class QTcpServer;
class QSslCertificate;
class QSslError;

namespace orvel {

// The TLS use of a project: 0 "No", 1 "If available", 2 "Require (explicite)", 3 "Always
// (impilcite)".
enum TFtpTlsMode : int { tlsNone = 0, tlsIfAvailable = 1, tlsRequire = 2, tlsImplicit = 3 };

class TFtpClient : public QObject {
    Q_OBJECT
public:
    // The states of the machine; stateName gives each its name for the protocol log.
    enum TState {
        fsIdle,           // no connection
        fsConnecting,     // control connection being made (with implicit TLS: and secured)
        fsTlsHandshake,   // control connection being secured after AUTH TLS
        fsWaitReply,      // a command (or the greeting) awaits its reply
        fsReady,          // connected, nothing pending
        fsDataConnecting, // data connection being made or awaited
        fsTransfer,       // data flowing, the final reply awaited
    };
    static QString stateName(TState state);

    // How the last operation failed, as the upload result codes tell them apart.
    enum TErrorKind {
        ekNone,
        ekReply,     // the server answered with 400 or above
        ekTimeout,   // no reply or no progress in time
        ekSocket,    // the network failed
        ekClosed,    // the server closed the connection
        ekProtocol,  // the server sent no valid reply
        ekTls,       // TLS could not be set up or the certificate was refused
        ekCancelled, // stopped by the user
        ekRefused,   // not sent: a name or field held a line break, or the session was busy
        ekLocal,     // a local file could not be read or written
    };

    explicit TFtpClient(QObject* parent = nullptr);
    ~TFtpClient() override;

    // The connection, set before Connect.
    QString Host;
    quint16 Port = 21;
    QString Username;
    QString Password;
    bool Passive = true;
    TFtpTlsMode TlsMode = tlsNone;
    TFtpProxyParams Proxy;       // Mode 0: no proxy
    int ConnectTimeout = 30000;  // ms to connect and to get each reply of the login
    int TransferTimeout = 60000; // ms without a reply or data progress

    // TLS: the system's certificate authorities, an optional extra trust anchor and an
    // optional client certificate with its key (PEM files).
    void setTlsFiles(const QString& rootCert, const QString& clientCert, const QString& key,
                     const QByteArray& keyPassPhrase);
    // The SHA-256 fingerprint of a server certificate the user accepted before; accepted
    // again without asking. Replaced when the user accepts another one.
    QString PinnedFingerprint;
    // Asks about certificates that fail verification; without it they are refused.
    void setDialogs(ITransferDialogs* dialogs) { m_dialogs = dialogs; }
    // The server certificate of the last TLS connection.
    const TCerticateInfo& CertInfo() const { return m_certInfo; }

    // Lines of the protocol (commands, replies, states); passwords never appear.
    using TLogSink = std::function<void(const QString& line)>;
    void setProtocolLog(TLogSink sink) { m_log = std::move(sink); }
    void logLine(const QString& line) const;

    TStatus Connect();
    // Leaves politely (QUIT) when idle; ends any operation in progress at once.
    void Disconnect();
    // Whether the control connection is up (safe to ask from any thread).
    bool Connected() const { return m_connected.load(); }

    // One command and its reply; a failure when no reply came. A reply of 400 or above is
    // a reply, not a failure.
    TResult<TFtpReply> SendCmd(const QString& command);
    // Sends the commands together and reads their replies in order: one wait for all of
    // them. Only for commands where a refusal of one does not make the next ones harmful.
    // Replies that never came are failures.
    QList<TResult<TFtpReply>> SendCmds(const QStringList& commands);
    // The current directory's listing: MLSD when the server offers it, else LIST. With a path
    // (MLSD only: LIST takes options and patterns), that folder's listing.
    TResult<TParsedListing> List(const QString& path = QString());
    // Uploads source from its current position (STOR, or APPE with append).
    TStatus Put(QIODevice* source, const QString& name, bool append);
    // Downloads a file into dest.
    TStatus Get(const QString& name, QIODevice* dest);
    // Sets the flag that stops the transfer in progress (from any thread).
    void AbortTransfer();
    bool Aborted() const { return m_aborted.load(); }
    void ClearAbort() { m_aborted = false; }

    // After login.
    const QString& Greeting() const { return m_greeting; }
    const QStringList& Features() const { return m_features; }
    bool HasFeature(const QString& name) const;
    bool UsesMlsd() const { return HasFeature(QStringLiteral("MLST")); }
    const QString& LoginDir() const { return m_loginDir; }

    // The last reply and how the last operation failed.
    const TFtpReply& LastReply() const { return m_lastReply; }
    TErrorKind LastErrorKind() const { return m_errorKind; }
    const QString& LastError() const { return m_error; }

    TState state() const { return m_state; }
    // Every state taken since the last clear, for tests and the log.
    QStringList StateTrail;

Q_SIGNALS:
    // Bytes of the data transfer in progress done so far.
    void Work(qint64 bytes);

protected:
    // After each successful login.
    virtual void connected() {}

private:
    // Holds the client's claim while an operation runs, however it leaves.
    class TBusy {
    public:
        explicit TBusy(bool& busy) : m_flag(busy) { m_flag = true; }
        ~TBusy() { m_flag = false; }
        TBusy(const TBusy&) = delete;
        TBusy& operator=(const TBusy&) = delete;

    private:
        bool& m_flag;
    };
    static constexpr int kQuitTimeout = 2000;

    // The one place the state changes.
    void setState(TState state);
    TStatus fail(TErrorKind kind, const QString& message);
    void failAsync(TErrorKind kind, const QString& message);
    void wake();
    // Waits, processing events, until done() or the operation failed; false on failure.
    bool await(const std::function<bool()>& done);
    void armTimer(int ms);
    void closeAll();
    bool beginOperation(TStatus& refused);

    // Control connection.
    QSslSocket* newSocket();
    TStatus sendLine(const QString& command);
    TResult<TFtpReply> readReply();
    TResult<TFtpReply> command(const QString& command);
    TStatus connectAndLogin();
    TStatus secureControl();
    void noteCertificate();
    TCerticateInfo certificateInfo(const QSslCertificate& cert,
                                   const QList<QSslError>& errors) const;
    TStatus login();
    TStatus loginPair(const QString& user, const QString& pass, const QString& account);
    void readFeatures();
    void onControlRead();
    void onSocketError(QSslSocket* socket);
    void onSslErrors(QSslSocket* socket, const QList<QSslError>& errors);
    QSslConfiguration tlsConfiguration() const;

    // Data connection.
    TStatus openData();
    void wireData(QSslSocket* socket);
    void acceptData(qintptr descriptor);
    void startDataTls();
    bool dataReady() const;
    void onDataRead();
    void closeData();
    TStatus transfer(const QString& command, QIODevice* upload, QIODevice* download,
                     qint64 downloadLimit);
    TStatus runTransfer(const QString& command);
    // Hands the socket what the window allows; flushNow only outside the sockets' signals.
    void pumpUpload(bool flushNow);

    TState m_state = fsIdle;
    QSslSocket* m_control = nullptr;
    QSslSocket* m_data = nullptr;
    QTcpServer* m_listener = nullptr;
    QTimer m_timer;
    QList<QEventLoop*> m_loops;
    TFtpReplyReader m_reader;
    QList<TFtpReply> m_replies;
    TFtpReply m_lastReply;
    TErrorKind m_errorKind = ekNone;
    QString m_error;
    bool m_opFailed = false;
    bool m_busy = false;
    bool m_loggingIn = false;
    bool m_inTransfer = false;
    std::atomic<bool> m_connected{false};
    std::atomic<bool> m_aborted{false};
    QString m_greeting;
    QStringList m_features;
    QString m_loginDir;
    bool m_protP = false;
    bool m_noEpsv = false;
    bool m_noEprt = false;
    ITransferDialogs* m_dialogs = nullptr;
    TCerticateInfo m_certInfo;
    QString m_acceptedFingerprint; // of the control connection, for the data connections
    QString m_rootCert, m_clientCert, m_clientKey;
    QByteArray m_keyPass;
    TLogSink m_log;

    // The transfer in progress.
    QIODevice* m_upload = nullptr;
    QIODevice* m_download = nullptr;
    qint64 m_downloadLimit = 0;
    qint64 m_done = 0;
    bool m_sourceAtEnd = false;
    bool m_dataClosed = false;
    bool m_dataClosing = false;
    bool m_flushing = false;
};

// The SHA-256 fingerprint as upper-case hex pairs joined by ":".
QString fingerprintText(const QByteArray& digest);
// The subject's or issuer's names of a certificate on one line.
QString certificateNames(const QSslCertificate& cert, bool issuer);
// The command as the protocol log shows it: the secret part of PASS and ACCT hidden.
QString loggedCommand(const QString& command);

} // namespace orvel
