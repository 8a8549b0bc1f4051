#include "projects/core/FtpUtils.h"

#include "base/core/FileSystem.h"
#include "base/core/Translate.h"

#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QIODevice>
#include <QSslSocket>
#include <QTimer>
#include <memory>

namespace orvel {

namespace {
constexpr int kRetryPause = 200;
// Reconnects of one listing or one upload before it gives up.
constexpr int kMaxReconnects = 3;

// Whether path is folder or lies below it, at a "/" boundary.
bool remoteBelow(const QString& path, const QString& folder) {
    return path == folder || path.startsWith(withSlash(folder));
}

bool connectionLost(TFtpClient::TErrorKind kind) {
    return kind == TFtpClient::ekClosed || kind == TFtpClient::ekSocket;
}

QString findIn(const QStringList& folders, const QString& name) {
    for (const QString& folder : folders) {
        const QString path = QDir(folder).filePath(name);
        if (QFileInfo(path).isFile())
            return path;
    }
    return QString();
}
} // namespace

TFtpTlsFiles findTlsFiles(const QStringList& folders) {
    TFtpTlsFiles files;
    files.RootCert = findIn(folders, QStringLiteral("kestrumroot.pem"));
    files.ClientCert = findIn(folders, QStringLiteral("kestrum.crt"));
    files.ClientKey = findIn(folders, QStringLiteral("kestrum.key"));
    if (files.ClientCert.isEmpty() || files.ClientKey.isEmpty())
        files.ClientCert.clear(), files.ClientKey.clear(); // one without the other is no use
    return files;
}

QByteArray clientKeyPassPhrase() {
    return QByteArrayLiteral("Orv3l#k9");
}

QString ftpLogFileName(const QString& folder) {
    return QDir(folder).filePath(QStringLiteral("FtpLog.txt"));
}

TFtpClient::TLogSink protocolLogFile(const QString& fileName,
                                     std::function<void(const QString&)> failed) {
    auto file = std::make_shared<QFile>(fileName);
    auto broken = std::make_shared<bool>(false);
    return [file, broken, failed](const QString& line) {
        if (*broken)
            return;
        const QByteArray text =
            (QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss.zzz ")) +
             line + u'\n')
                .toUtf8();
        if ((!file->isOpen() && !file->open(QIODevice::Append)) ||
            file->write(text) != text.size() || !file->flush()) {
            *broken = true;
            if (failed)
                failed(fmt(T_("Error writing to \"%s\""), {file->fileName()}) + u'\n' +
                       file->errorString());
        }
    };
}

TExtFtp::TExtFtp() : TFtpClient(nullptr) {
}

void TExtFtp::connected() {
    // A new connection starts in the login folder with nothing known of it.
    m_currentDir = LoginDir();
    m_listingValid = false;
}

bool TExtFtp::CanUseTls() {
    return QSslSocket::supportsSsl();
}

void TExtFtp::SetupFromProject(const TProjectInfo& project) {
    Host = project.Host;
    Port = quint16(qBound(1, project.Port, 65535));
    Username = project.Username;
    Password = project.Password;
    Passive = project.Passive;
    SetSecureTransfer(project.SecureMode);
    CaseMode = project.CaseMode;
    Proxy = project.ProxyPar;
    PinnedFingerprint = project.CertFingerprint;
}

QString TExtFtp::ModifyName(const QString& name) const {
    switch (CaseMode) {
    case tcLower:
        return name.toLower();
    case tcUpper:
        return name.toUpper();
    default:
        return name;
    }
}

void TExtFtp::record(const QString& error) {
    m_idError = error.trimmed();
}

void TExtFtp::pause(int ms) {
    if (Aborted())
        return;
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

void TExtFtp::readCurrentDir(const QString& requested) {
    const QString dir = GetCurrentDir();
    if (!dir.isEmpty())
        m_currentDir = dir;
    else if (requested.startsWith(u'/'))
        m_currentDir = QDir::cleanPath(requested);
    else if (!requested.isEmpty())
        m_currentDir = QDir::cleanPath(withSlash(m_currentDir) + requested);
}

QString TExtFtp::GetCurrentDir() {
    const TResult<TFtpReply> r = SendCmd(QStringLiteral("PWD"));
    if (!r.ok() || r.value().Code != 257)
        return QString();
    const QString dir = quotedPath(r.value().firstLine());
    return dir.isNull() ? QString() : dir;
}

bool TExtFtp::changeDir(const QString& dir, bool reconnect, bool readBack) {
    if (dir.isEmpty())
        return true;
    m_listingValid = false;
    TResult<TFtpReply> r = SendCmd(QStringLiteral("CWD ") + dir);
    if (!r.ok() && reconnect && connectionLost(LastErrorKind())) {
        record(LastError());
        logLine(T_("Trying to reconnect"));
        pause(kRetryPause);
        const QString back = m_currentDir;
        if (!Connect().ok()) {
            record(LastError());
            return false;
        }
        // A relative name is only followed from where the session was.
        if (!dir.startsWith(u'/') && !back.isEmpty() &&
            (!changeDir(back, false) || QDir::cleanPath(m_currentDir) != QDir::cleanPath(back))) {
            record(fmt(T_("Cannot return to the remote directory %s."), {back}));
            return false;
        }
        r = SendCmd(QStringLiteral("CWD ") + dir);
    }
    if (!r.ok()) {
        record(LastError());
        return false;
    }
    if (r.value().Code != 250 && r.value().Code != 200) {
        record(r.value().text());
        return false;
    }
    if (readBack)
        readCurrentDir(dir);
    else
        m_currentDir = QDir::cleanPath(dir);
    return true;
}

bool TExtFtp::EnterDir(const QString& absolutePath) {
    if (!absolutePath.startsWith(u'/')) {
        record(fmt(T_("Not an absolute remote path: %s"), {absolutePath}));
        return false;
    }
    return changeDir(absolutePath, true, false);
}

bool TExtFtp::ChangeDir(const QString& dir) {
    return changeDir(dir, true);
}

bool TExtFtp::ChangeDirUp() {
    m_listingValid = false;
    const TResult<TFtpReply> r = SendCmd(QStringLiteral("CDUP"));
    if (!r.ok() || (r.value().Code != 250 && r.value().Code != 200)) {
        record(r.ok() ? r.value().text() : LastError());
        return false;
    }
    readCurrentDir(QString());
    return true;
}

bool TExtFtp::changeOrCreate(const QString& name) {
    if (changeDir(name, true))
        return true;
    if (!Connected())
        return false;
    const TResult<TFtpReply> r = SendCmd(QStringLiteral("MKD ") + name);
    if (!r.ok()) {
        record(LastError());
        return false;
    }
    const int code = r.value().Code;
    if (code != 257 && code != 250 && code != 200) {
        record(r.value().text());
        return changeDir(name, false);
    }
    QString created = quotedPath(r.value().firstLine());
    if (created.isEmpty() || created.contains(QChar::ReplacementCharacter) ||
        !remoteBelow(created, m_currentDir))
        created = name;
    return changeDir(created, false);
}

bool TExtFtp::ForceDir(const QString& path) {
    if (path.isEmpty())
        return true;
    const QString p = ModifyName(path);
    const bool absolute = p.startsWith(u'/');
    int levels = 0;
    bool ok = changeDir(p, true);
    if (ok) {
        levels = int(p.split(u'/', Qt::SkipEmptyParts).size());
    } else if (Connected()) {
        QString rest = p;
        const QString login = LoginDir();
        if (absolute && login.size() >= 2 && remoteBelow(p, login) && changeDir(login, true))
            rest = p.mid(login.size()).mid(1);
        QStringList parts = rest.split(u'/', Qt::SkipEmptyParts);
        if (rest.startsWith(u'/') && !parts.isEmpty())
            parts[0].prepend(u'/');
        ok = true;
        for (const QString& part : std::as_const(parts)) {
            if (!changeOrCreate(part)) {
                ok = false;
                break;
            }
            ++levels;
        }
    }
    // Absolute paths have no levels to go back up.
    m_dcount = ok && !absolute ? levels : 0;
    const QString dir = GetCurrentDir();
    if (!dir.isEmpty())
        m_currentDir = dir;
    return ok;
}

bool TExtFtp::ForceDirUp() {
    for (int i = 0; i < m_dcount; ++i)
        if (!ChangeDirUp())
            return false;
    m_dcount = 0;
    return true;
}

bool TExtFtp::readListing() {
    if (m_listingValid)
        return true;
    if (!fetchListing(QString(), m_listing))
        return false;
    m_listingValid = true;
    return true;
}

bool TExtFtp::fetchListing(const QString& path, QList<TFtpListEntry>& entries) {
    for (int reconnects = 0;; ++reconnects) {
        if (Aborted()) {
            record(T_("Transfer cancelled"));
            return false;
        }
        if (Connected()) {
            TResult<TParsedListing> l = List(path);
            if (l.ok()) {
                entries = std::move(l.value().Entries);
                return true;
            }
            record(LastError());
            const TErrorKind kind = LastErrorKind();
            if (!connectionLost(kind) && kind != ekTimeout)
                return false;
        } else {
            record(T_("FTP connection lost!"));
        }
        if (reconnects >= kMaxReconnects || Aborted())
            return false;
        pause(kRetryPause);
        if (!ReConnect(m_currentDir, false, false))
            return false;
    }
}

bool TExtFtp::ListFolder(const QString& absolutePath, TFileList& files, TDirectoryList& dirs,
                         bool& missing) {
    missing = false;
    QList<TFtpListEntry> entries;
    if (!UsesMlsd() || m_noPathListing || !fetchListing(absolutePath, entries)) {
        if (!Connected())
            return false;
        // Listed from inside: LIST servers, and a refusal that may mean the folder is not there.
        if (!EnterDir(absolutePath)) {
            missing = Connected();
            return false;
        }
        if (UsesMlsd() && !m_noPathListing) {
            logLine(QStringLiteral("# the server lists folders only from inside"));
            m_noPathListing = true;
        }
        return GetFileList(&files) && GetDirList(dirs);
    }
    files.Clear();
    dirs.Clear();
    for (const TFtpListEntry& e : std::as_const(entries)) {
        if (e.Directory)
            dirs.Add(e.Info);
        else
            files.Add(e.Info);
    }
    return true;
}

bool TExtFtp::GetFileList(TFileList* list) {
    TFileList& target = list ? *list : m_fileList;
    target.Clear();
    if (!readListing())
        return false;
    for (const TFtpListEntry& e : std::as_const(m_listing))
        if (!e.Directory)
            target.Add(e.Info);
    return true;
}

bool TExtFtp::GetDirList(TDirectoryList& list) {
    list.Clear();
    if (!readListing())
        return false;
    for (const TFtpListEntry& e : std::as_const(m_listing))
        if (e.Directory)
            list.Add(e.Info);
    return true;
}

bool TExtFtp::DeleteFile(const QString& name, bool refresh, bool asListed) {
    if (refresh)
        m_listingValid = false;
    const QString n = asListed ? name : ModifyName(name);
    for (int attempt = 0;; ++attempt) {
        const TResult<TFtpReply> r = SendCmd(QStringLiteral("DELE ") + n);
        if (r.ok()) {
            m_listingValid = false;
            if (r.value().Code == 250 || r.value().Code == 200)
                return true;
            record(r.value().text());
            return false;
        }
        record(LastError());
        if (attempt > 0 || !connectionLost(LastErrorKind()))
            return false;
        logLine(T_("Trying to reconnect"));
        pause(kRetryPause);
        if (!ReConnect(m_currentDir, true, true))
            return false;
    }
}

bool TExtFtp::DeleteDir(const QString& name) {
    m_listingValid = false;
    const TResult<TFtpReply> r = SendCmd(QStringLiteral("RMD ") + name);
    if (r.ok() && (r.value().Code == 250 || r.value().Code == 200))
        return true;
    record(r.ok() ? r.value().text() : LastError());
    return false;
}

int TExtFtp::CheckTimeStamp(const QString& name, int toleranceSecs, const QDateTime& localTime) {
    const QString n = ModifyName(name);
    QDateTime remote;
    if (UsesMlsd()) {
        const TFtpFileInfo* f = m_fileList.Find(n);
        if (!f)
            return tcUnknown;
        remote = f->FModifiedDateGMT;
    }
    if (!remote.isValid()) {
        // MDTM answers in UTC (RFC 3659), whatever the server's greeting says.
        const TResult<TFtpReply> r = SendCmd(QStringLiteral("MDTM ") + n);
        if (r.ok() && r.value().Code == 213)
            remote = parseFtpTime(r.value().firstLine());
    }
    if (!remote.isValid() || !localTime.isValid())
        return tcUnknown;
    const qint64 diff = remote.toMSecsSinceEpoch() - localTime.toMSecsSinceEpoch();
    const qint64 tolerance = qint64(toleranceSecs) * 1000;
    if (diff < -tolerance)
        return tcOlder;
    if (diff > tolerance)
        return tcNewer;
    return tcSame;
}

QString TExtFtp::timeStampCommand(const QString& localFile, const QString& remoteName, bool limit) {
    const QFileInfo fi(localFile);
    if (!fi.exists()) {
        record(fmt(T_("File not found: %s"), {localFile}));
        return QString();
    }
    QDateTime time = fi.lastModified().toUTC();
    const QDateTime now = QDateTime::currentDateTimeUtc();
    if (limit && time > now.addDays(1))
        time = now;
    const QString verb =
        HasFeature(QStringLiteral("MFMT")) ? QStringLiteral("MFMT ") : QStringLiteral("MDTM ");
    return verb + formatFtpTime(time) + u' ' + ModifyName(remoteName);
}

bool TExtFtp::SetTimeStampFromFile(const QString& localFile, const QString& remoteName,
                                   bool limit) {
    const QString command = timeStampCommand(localFile, remoteName, limit);
    if (command.isEmpty())
        return false;
    const TResult<TFtpReply> r = SendCmd(command);
    if (r.ok() && r.value().positive())
        return true;
    record(r.ok() ? r.value().text() : LastError());
    return false;
}

bool TExtFtp::ReConnect(const QString& dir, bool test, bool refresh) {
    if (test && Connected())
        return true;
    Disconnect();
    for (int attempt = 1; attempt <= kMaxReconnects; ++attempt) {
        logLine(fmt(T_("Connection to FTP server: %s:%u")
                        .replace(QStringLiteral("%u"), QStringLiteral("%s")),
                    {Host, QString::number(Port)}));
        if (Connect().ok())
            break;
        record(LastError());
        if (attempt == kMaxReconnects || Aborted()) {
            logLine(T_("Reported error: ") + IndyError());
            return false;
        }
        pause(kRetryPause);
    }
    // Nothing relative is sent before the session is where it was.
    if (!dir.isEmpty() &&
        (!changeDir(dir, false) || QDir::cleanPath(m_currentDir) != QDir::cleanPath(dir))) {
        record(fmt(T_("Cannot return to the remote directory %s."), {dir}));
        Disconnect();
        return false;
    }
    if (refresh)
        GetFileList();
    return true;
}

int TExtFtp::Flush(QIODevice* source, const QString& remoteName, bool append) {
    const QString dir = m_currentDir;
    if (!ReConnect(dir, true, false))
        return frNotConnected;
    ClearAbort();
    m_listingValid = false;
    const QString name = ModifyName(remoteName);
    const qint64 start = source->pos();
    int code = frOk;
    for (int reconnects = 0;; ++reconnects) {
        if (!source->seek(start)) {
            record(source->errorString());
            return frRefused;
        }
        if (Put(source, name, append).ok()) {
            code = frOk;
            break;
        }
        record(LastError());
        switch (LastErrorKind()) {
        case ekTimeout:
            code = frTimeout;
            break;
        case ekClosed:
        case ekSocket:
            code = frConnectionLost;
            break;
        default:
            code = LastReply().Code == 425 ? frNoDataConnection : frRefused;
            break;
        }
        if ((code != frTimeout && code != frConnectionLost) || Aborted() ||
            reconnects >= kMaxReconnects)
            break;
        logLine(T_("Trying to reconnect"));
        pause(kRetryPause);
        if (!ReConnect(dir, false, false))
            return frNotConnected;
    }
    if (code == frOk && !ReConnect(dir, true, false))
        return frConnectionLost;
    if (code != frOk && Aborted() && !append && ReConnect(dir, true, false)) {
        // A cut-off file would look newer than its source and never be sent again.
        if (SendCmd(QStringLiteral("DELE ") + name).ok())
            logLine(QStringLiteral("# partial upload removed: ") + name);
    }
    return code;
}

} // namespace orvel
