#pragma once
// The FTP session of publishing: the client with the current remote directory and its
// listing, creation of remote paths, remote times, deletion, and uploads that reconnect and
// try again. Results are true/false or codes; the text of the last error is IndyError().

#include "projects/core/FtpClient.h"
#include "projects/core/ProjectInfo.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

class QIODevice;

namespace orvel {

// Upload results of Flush (the upload worker adds 4096 to any that is not 0).
enum TFlushResult : int {
    frOk = 0,
    frRefused = 281,      // the server refused the upload, or another client error
    frNotConnected = 282, // not connected and reconnecting failed
    frConnectionLost = 283,
    frNoDataConnection = 284, // reply 425
    frTimeout = 285,
};

// Results of CheckTimeStamp.
enum TTimeCompare : int {
    tcUnknown = 0, // not in the list, or no time
    tcOlder = 1,   // the remote file is older than the local one less the tolerance
    tcSame = 2,    // within the tolerance
    tcNewer = 3,   // later than the local time plus the tolerance
};

// The optional TLS files: found in the settings folder first, then the program's data folders.
struct TFtpTlsFiles {
    QString RootCert;   // an extra trust anchor
    QString ClientCert; // with ClientKey: the client's certificate
    QString ClientKey;
};
TFtpTlsFiles findTlsFiles(const QStringList& folders);
// The pass phrase of the client key (fixed in the program).
QByteArray clientKeyPassPhrase();

// The protocol log "FtpLog.txt" in folder (the settings folder, private to the user).
QString ftpLogFileName(const QString& folder);
// A protocol log sink that appends each line with its time to fileName; its first failure
// to write is reported through failed, and the log then stays quiet.
TFtpClient::TLogSink protocolLogFile(const QString& fileName,
                                     std::function<void(const QString&)> failed = {});

class TExtFtp : public TFtpClient {
    Q_OBJECT
public:
    // The session has no parent: a worker takes it into its thread for an upload.
    TExtFtp();

    // Host, port, user, password, passive mode, TLS use, case change, proxy and the pinned
    // certificate from the project.
    void SetupFromProject(const TProjectInfo& project);
    // The TLS use 0..3 of a project.
    void SetSecureTransfer(int mode) { TlsMode = TFtpTlsMode(qBound(0, mode, 3)); }
    TTextChange CaseMode = tcNone;
    // Always: TLS comes with Qt's OpenSSL.
    static bool CanUseTls();

    // The name as sent to the server: the case change applied.
    QString ModifyName(const QString& name) const;
    // Changes into a remote path, creating what is missing; it is then current.
    bool ForceDir(const QString& path);
    // Leaves the levels the last ForceDir entered.
    bool ForceDirUp();
    // Changes into an absolute path with one command: the server is not asked where it is
    // then. False when the folder cannot be entered (Connected() tells whether the
    // connection is still up).
    bool EnterDir(const QString& absolutePath);
    // The files of the current directory into FileList() (or into list).
    bool GetFileList(TFileList* list = nullptr);
    // The folders of the current directory, without "." and "..".
    bool GetDirList(TDirectoryList& list);
    // asListed sends the name as the server listed it, without the case change.
    bool DeleteFile(const QString& name, bool refresh, bool asListed = false);
    bool DeleteDir(const QString& name);
    // The remote file's time against the local one (in UTC): a TTimeCompare.
    int CheckTimeStamp(const QString& name, int toleranceSecs, const QDateTime& localTime);
    // Gives the remote file the local file's time; with limit a time more than a day ahead
    // becomes now.
    bool SetTimeStampFromFile(const QString& localFile, const QString& remoteName, bool limit);
    // The command SetTimeStampFromFile sends; empty when the local file is not there.
    QString timeStampCommand(const QString& localFile, const QString& remoteName, bool limit);
    // The server's current directory; empty when it cannot be read.
    QString GetCurrentDir();
    // Uploads source from its current position under remoteName: a TFlushResult.
    int Flush(QIODevice* source, const QString& remoteName, bool append);
    // Connects again (up to 3 attempts) and returns to dir; with test an existing
    // connection is kept; with refresh the file list is read.
    bool ReConnect(const QString& dir, bool test, bool refresh);

    // The library's own operations, with the session's bookkeeping.
    bool ChangeDir(const QString& dir);
    bool ChangeDirUp();

    const TFileList& FileList() const { return m_fileList; }
    const QString& CurrentDir() const { return m_currentDir; }
    int DCount() const { return m_dcount; }
    // The text of the last recorded error.
    const QString& IndyError() const { return m_idError; }
    // The listing of an absolute folder without entering it (MLSD with a path); false with
    // missing set when the server refused it and the folder cannot be entered either.
    bool ListFolder(const QString& absolutePath, TFileList& files, TDirectoryList& dirs,
                    bool& missing);
    // Forgets the listing, so that the next one is read from the server.
    void InvalidateListing() { m_listingValid = false; }
    bool UTF8() const { return HasFeature(QStringLiteral("UTF8")); }

protected:
    void connected() override;

private:
    bool readListing();
    // The listing of path (the current directory when empty), reconnecting when the connection
    // was lost.
    bool fetchListing(const QString& path, QList<TFtpListEntry>& entries);
    bool changeOrCreate(const QString& name);
    // CWD with the current directory read afterwards; reconnects once when the connection
    // was lost.
    bool changeDir(const QString& dir, bool reconnect, bool readBack = true);
    void readCurrentDir(const QString& requested);
    void record(const QString& error);
    // Waits, processing events (the cancel stays alive).
    void pause(int ms);

    TFileList m_fileList;
    QList<TFtpListEntry> m_listing;
    bool m_listingValid = false;
    bool m_noPathListing = false; // the server refused MLSD with a path for a folder it has
    QString m_currentDir;
    int m_dcount = 0;
    QString m_idError;
};

} // namespace orvel
