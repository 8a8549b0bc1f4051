#pragma once
// A scripted FTP server in the test's own thread: it answers like a plain server, records
// every command it receives, and lets a test replace the answer to any command to play a
// broken or hostile server.

#include <QByteArray>
#include <QHash>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QTcpServer>
#include <QTcpSocket>
#include <functional>

namespace orvel::test {

class FakeFtpServer : public QObject {
    Q_OBJECT
public:
    // Returns true when it answered the command itself.
    using Handler = std::function<bool(const QString& argument)>;

    FakeFtpServer();
    ~FakeFtpServer() override;
    quint16 port() const { return m_server.serverPort(); }

    // Every command received, "<connect>" where a connection began.
    QStringList transcript;
    // What the commands since the last "<connect>" (or all, when whole) were.
    QStringList commandsSince(int connection) const;
    int connections = 0;

    QByteArray greeting = "220 fake FTP ready\r\n";
    QStringList features{QStringLiteral("EPSV"), QStringLiteral("MDTM"), QStringLiteral("UTF8")};
    QByteArray listing;               // served by LIST and MLSD
    QHash<QString, QByteArray> files; // stored uploads by full path
    QStringList dirs{QStringLiteral("/")};
    QString cwd = QStringLiteral("/");
    // LIST and MLSD list the current folder of files and dirs instead of serving listing (MLSD
    // with a path lists that folder).
    bool listFiles = false;
    // MLSD with a path is refused as a syntax error, as some servers do.
    bool refusePathListing = false;
    // RNTO refuses to replace an existing file, as some servers do.
    bool refuseRenameOver = false;
    // RNTO refuses to rename a folder.
    bool refuseFolderRename = false;
    // Uploads to these paths are stored one byte short, as by a server whose disk is full.
    QStringList shortStores;
    // An upload is cut off (both connections dropped) once it brought this many bytes, as
    // long as cutsLeft is above 0; each cut counts down.
    qint64 cutUploadAfter = -1;
    int cutsLeft = 0;
    // Runs right after the greeting went out.
    std::function<void()> onConnected;

    // Replaces the answer to a verb (upper case).
    void on(const QString& verb, Handler handler) { m_handlers.insert(verb, std::move(handler)); }
    void clearHandlers() { m_handlers.clear(); }
    // Raw bytes to the client: parts of replies or several at once.
    void send(const QByteArray& bytes);
    // Sends bytes after a pause, so that they arrive as a packet of their own.
    void sendLater(const QByteArray& bytes, int ms);
    void closeControl();
    // The data connection of the transfer in progress (null when none).
    QTcpSocket* dataSocket() const { return m_data; }
    // What the data connection brought so far.
    const QByteArray& received() const { return m_received; }
    // Ends the transfer in progress: the data connection closes, then the final reply.
    void finishTransfer(const QByteArray& finalReply = "226 Transfer complete\r\n");

private:
    void onConnection();
    void onRead();
    void handle(const QString& line);
    void standard(const QString& verb, const QString& arg);
    void beginTransfer(const QString& verb, const QString& arg);
    void onDataConnection();
    void useDataSocket(QTcpSocket* socket);
    void connectActive(const QHostAddress& host, quint16 port);
    void serveData();
    QByteArray folderListing(const QString& folder) const;
    QString full(const QString& name) const;

    QTcpServer m_server;
    QTcpServer m_dataServer;
    QPointer<QTcpSocket> m_client;
    QPointer<QTcpSocket> m_data;
    QByteArray m_buffer;
    QHash<QString, Handler> m_handlers;
    QString m_transferVerb;
    QPointer<QTcpSocket> m_transferClient;
    QString m_transferName;
    QByteArray m_received;
    QString m_renameFrom;
};

} // namespace orvel::test
