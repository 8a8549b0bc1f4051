// The FTP destination: every folder entered by its absolute path with one command, listed
// once; every upload sent under a temporary name in the same folder and renamed over the
// target only when the server holds all of it. A new folder is built whole under a temporary
// name and renamed into place once its files are checked.

#include "base/core/Translate.h"
#include "projects/core/FtpCopyUtils.h"
#include "projects/core/FtpUtils.h"
#include "projects/core/PublishTarget.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace orvel {

namespace {
constexpr qint64 kUploadHere = 1 << 20;

// The size a SIZE reply names; -1 when it names none.
qint64 replySize(const TResult<TFtpReply>& r) {
    bool ok = false;
    const qint64 size =
        r.ok() && r.value().Code == 213 ? r.value().firstLine().trimmed().toLongLong(&ok) : 0;
    return ok ? size : -1;
}

QString sizeMismatch(qint64 held, qint64 sent) {
    return fmt(T_("The server holds %s bytes instead of %s."),
               {QString::number(held), QString::number(sent)});
}

// Times on the server have whole seconds.
QDateTime wholeSeconds(QDateTime t) {
    t.setTime(QTime(t.time().hour(), t.time().minute(), t.time().second()));
    return t;
}
} // namespace

TFtpTarget::TFtpTarget(std::unique_ptr<TExtFtp> ftp, const QString& base)
    : m_session(std::move(ftp)), m_ftp(*m_session), m_base(base) {
}

TFtpTarget::~TFtpTarget() = default;

QString TFtpTarget::loginDir() const {
    return m_ftp.LoginDir();
}

QString TFtpTarget::recordDestination() const {
    return QStringLiteral("ftp://") + m_ftp.Username + u'@' + m_ftp.Host + u':' +
           QString::number(m_ftp.Port) + m_base;
}

QString TFtpTarget::destName(const QString& localName) const {
    return m_ftp.ModifyName(localName);
}

QString TFtpTarget::finalPath(const QString& rel) const {
    if (rel.isEmpty())
        return m_base;
    return m_base.endsWith(u'/') ? m_base + rel : m_base + u'/' + rel;
}

QString TFtpTarget::remotePath(const QString& rel) const {
    if (const auto* top = stagedTop(rel))
        return top->second.temp + rel.mid(top->first.size());
    return finalPath(rel);
}

const std::pair<const QString, TFtpTarget::TStagedTop>*
TFtpTarget::stagedTop(const QString& rel) const {
    for (const auto& entry : m_staged)
        if (rel == entry.first ||
            (rel.startsWith(entry.first) && rel.at(entry.first.size()) == u'/'))
            return &entry;
    return nullptr;
}

QString TFtpTarget::tempName(const QString& name) {
    // Hidden from most listings, and never a name of the site's own.
    return u'.' + name + QStringLiteral(".orvel-part");
}

void TFtpTarget::close() {
    m_ftp.Disconnect();
}

bool TFtpTarget::command(const QString& line, int* code) {
    const TResult<TFtpReply> r = m_ftp.SendCmd(line);
    if (code)
        *code = r.ok() ? r.value().Code : 0;
    return r.ok() && r.value().positive();
}

TStatus TFtpTarget::lastError(const QString& what) const {
    const QString reason = !m_ftp.Connected()       ? T_("FTP connection lost!")
                           : m_ftp.LastReply().Code ? m_ftp.LastReply().text()
                                                    : m_ftp.LastError();
    return TStatus::failure(what.isEmpty() ? reason : what + QStringLiteral(": ") + reason);
}

TStatus TFtpTarget::cannotMake(const QString& dir) const {
    return lastError(fmt(T_("Cannot create remote directory:\r\n%s!"), {dir}));
}

TStatus TFtpTarget::enter(const QString& rel) {
    const QString dir = remotePath(rel);
    if (m_ftp.Connected() && m_ftp.CurrentDir() == dir)
        return TStatus();
    if (m_ftp.EnterDir(dir))
        return TStatus();
    return TStatus::failure(m_ftp.IndyError());
}

TResult<TDestFolder> TFtpTarget::readFolder(const QString& rel) {
    TDestFolder f;
    TFileList files;
    TDirectoryList dirs;
    bool missing = false;
    // Listed by its path where the server can: a folder with nothing to send is never entered.
    if (!m_ftp.ListFolder(remotePath(rel), files, dirs, missing)) {
        // Refused while connected: the folder is not there (or not ours to enter).
        if (missing)
            return f;
        return TResult<TDestFolder>::failure(m_ftp.IndyError());
    }
    f.Exists = true;
    for (const TFtpFileInfo& i : files) {
        const bool exact = i.FModifiedDateGMT.isValid();
        f.Files.append({i.FFileName, i.FSize, exact ? i.FModifiedDateGMT : QDateTime(), exact});
    }
    f.Dirs = dirs.Names();
    return f;
}

TStatus TFtpTarget::createFolder(const QString& rel) {
    const QString parentRel = TPublishTarget::parentOf(rel);
    if (!rel.isEmpty() && !m_noFolderRename && !staged(parentRel) && !listedAsFile(rel)) {
        const QString parent = remotePath(parentRel);
        const QString temp = (parent.endsWith(u'/') ? parent : parent + u'/') +
                             tempName(rel.mid(rel.lastIndexOf(u'/') + 1));
        if (command(QStringLiteral("MKD ") + temp)) {
            m_staged[rel] = TStagedTop{temp, {rel}, {}};
            return TStatus();
        }
        if (!m_ftp.Connected())
            return cannotMake(temp);
        // Refused, or left by a run that ended before its rename: made in place instead.
    }
    if (!rel.isEmpty() && staged(parentRel)) {
        const QString dir = remotePath(rel);
        if (!command(QStringLiteral("MKD ") + dir))
            return cannotMake(dir);
        m_staged[stagedTop(parentRel)->first].folders.append(rel);
        return TStatus();
    }
    if (!rel.isEmpty()) {
        const QString dir = remotePath(rel);
        if (command(QStringLiteral("MKD ") + dir) || m_ftp.EnterDir(dir))
            return TStatus();
        return cannotMake(dir);
    }
    // The top: each missing level of its path.
    QString path;
    for (const QString& part : m_base.split(u'/', Qt::SkipEmptyParts)) {
        path += u'/' + part;
        if (m_ftp.EnterDir(path))
            continue;
        if (!m_ftp.Connected() ||
            (!command(QStringLiteral("MKD ") + path) && !m_ftp.EnterDir(path)))
            return cannotMake(path);
    }
    return TStatus();
}

TResult<TDestFile> TFtpTarget::sendFile(const QString& localFile, const QString& rel,
                                        const QString& name, const TWorkerRunner& runner) {
    if (const TStatus s = enter(rel); !s.ok())
        return s;
    // In a folder not yet visible the file goes under its own name.
    const bool inStaged = staged(rel);
    const QString temp = inStaged ? name : m_ftp.ModifyName(tempName(name));
    const QFileInfo local(localFile);
    int code = 0;
    qint64 size = 0;
    {
        TWriteFtpThread worker(&m_ftp, localFile, remotePath(rel), temp);
        // A thread of its own only pays for files that take a while.
        worker.setRunsHere(local.size() <= kUploadHere);
        code = runner(worker, TPublishTarget::join(rel, name));
        size = worker.DestSize();
        if (code != 0 && !worker.SysErrorMsg().isEmpty())
            m_ftp.logLine(worker.SysErrorMsg());
    }
    if (code == crCancelled + TCopyThread::FErrFlag)
        return TResult<TDestFile>::failure(T_("Canceled by user!")); // the worker removed it
    if (code != 0) {
        const QString why = m_ftp.IndyError();
        // What arrived of it is nobody's file: it goes, over a new connection if need be.
        if (m_ftp.ReConnect(remotePath(rel), true, false))
            command(QStringLiteral("DELE ") + temp);
        return TResult<TDestFile>::failure(
            why.isEmpty() ? fmt(T_("Error code %d"), {QString::number(code)}) : why);
    }
    if (inStaged) {
        // Its size and time are settled with the folder's other files.
        m_unchecked[rel].append({name, size, m_ftp.timeStampCommand(localFile, name, true)});
        m_staged[stagedTop(rel)->first].files.append({rel, name});
        return TDestFile{name, size, wholeSeconds(local.lastModified().toUTC()), true};
    }
    // The size is checked and the time set in one exchange; the time goes on before the
    // rename, so the file is never live with the wrong one.
    QStringList batch{QStringLiteral("SIZE ") + temp};
    const QString setTime = m_ftp.timeStampCommand(localFile, temp, true);
    if (!setTime.isEmpty())
        batch << setTime;
    const QList<TResult<TFtpReply>> replies = m_ftp.SendCmds(batch);
    if (const qint64 held = replySize(replies.first()); held >= 0) {
        if (held != size) {
            command(QStringLiteral("DELE ") + temp);
            return TResult<TDestFile>::failure(sizeMismatch(held, size));
        }
    } else if (!m_ftp.Connected()) {
        return lastError(QString());
    }
    const bool timed = replies.size() > 1 && replies.at(1).ok() && replies.at(1).value().positive();
    const TResult<const TDestFolder*> known = folder(rel);
    if (const TStatus s = replace(temp, name, known.ok() && known.value()->find(name)); !s.ok())
        return s;
    const QDateTime when = timed ? local.lastModified().toUTC() : QDateTime::currentDateTimeUtc();
    return TDestFile{name, size, wholeSeconds(when), true};
}

TFolderOutcome TFtpTarget::closeFolder(const QString& rel) {
    TFolderOutcome out;
    const auto unchecked = m_unchecked.find(rel);
    if (unchecked != m_unchecked.end()) {
        const QList<TStagedFile> sent = std::move(unchecked->second);
        m_unchecked.erase(unchecked);
        if (out.Status = enter(rel); !out.Status.ok())
            return out;
        // The times in batches: one wait for many files.
        QStringList times;
        for (const TStagedFile& f : sent)
            if (!f.setTime.isEmpty())
                times << f.setTime;
        for (qsizetype i = 0; i < times.size(); i += 64)
            m_ftp.SendCmds(times.mid(i, 64));
        // The sizes from one listing; SIZE where it names none.
        const TResult<TDestFolder> listed = readFolder(rel);
        for (const TStagedFile& f : sent) {
            const TDestFile* there = listed.ok() ? listed.value().find(f.name) : nullptr;
            qint64 held = there ? there->Size : -1;
            if (held < 0)
                held = replySize(m_ftp.SendCmd(QStringLiteral("SIZE ") + f.name));
            if (held < 0 && !m_ftp.Connected()) {
                out.Status = lastError(QString());
                return out;
            }
            // A server that tells no size: as with files sent in place.
            if (held >= 0 && held != f.size) {
                command(QStringLiteral("DELE ") + f.name);
                out.FailedFiles.append({rel, f.name, sizeMismatch(held, f.size)});
                if (const auto* top = stagedTop(rel))
                    m_staged[top->first].files.removeAll(std::pair<QString, QString>(rel, f.name));
            }
        }
    }
    const auto top = m_staged.find(rel);
    if (top == m_staged.end())
        return out;
    const QString temp = top->second.temp;
    const QString dest = finalPath(rel);
    // Some servers will not rename the folder one is in.
    const QString current = m_ftp.CurrentDir();
    if (current == temp || current.startsWith(temp + u'/'))
        static_cast<void>(m_ftp.EnterDir(remotePath(TPublishTarget::parentOf(rel))));
    if (rename(temp, dest)) {
        m_staged.erase(top);
        return out;
    }
    if (!m_ftp.Connected()) {
        // It stays under its temporary name, out of sight.
        m_staged.erase(top);
        out.Status = lastError(fmt(T_("Cannot rename %s to %s"), {temp, dest}));
        return out;
    }
    m_noFolderRename = true;
    m_ftp.logLine(QStringLiteral("# folder not renamed; its files are moved one by one"));
    unstage(rel, out);
    return out;
}

void TFtpTarget::unstage(const QString& topRel, TFolderOutcome& out) {
    const TStagedTop top = m_staged.at(topRel);
    m_staged.erase(topRel);
    const auto tempOf = [&](const QString& rel) { return top.temp + rel.mid(topRel.size()); };
    QStringList made;
    for (const QString& rel : top.folders) {
        const QString dir = finalPath(rel);
        if (command(QStringLiteral("MKD ") + dir) || m_ftp.EnterDir(dir))
            made << rel;
        else if (out.Status.ok())
            out.Status = cannotMake(dir);
    }
    for (const auto& [rel, name] : top.files) {
        const QString from = tempOf(rel) + u'/' + name;
        if (made.contains(rel) && rename(from, finalPath(rel) + u'/' + name))
            continue;
        const QString why =
            lastError(fmt(T_("Cannot rename %s to %s"), {from, finalPath(rel) + u'/' + name}))
                .error();
        command(QStringLiteral("DELE ") + from);
        out.FailedFiles.append({rel, name, why});
    }
    // The emptied temporary folders go, the deepest first.
    for (qsizetype i = top.folders.size() - 1; i >= 0; --i)
        command(QStringLiteral("RMD ") + tempOf(top.folders.at(i)));
}

QStringList TFtpTarget::openFolders() const {
    QStringList open;
    for (const auto& entry : m_unchecked)
        open << entry.first;
    for (const auto& entry : m_staged)
        if (!open.contains(entry.first))
            open << entry.first;
    // Deepest first: a folder's files are settled before the folder itself is renamed.
    std::sort(open.begin(), open.end(), [](const QString& a, const QString& b) {
        const qsizetype da = a.count(u'/'), db = b.count(u'/');
        return da != db ? da > db : a < b;
    });
    return open;
}

bool TFtpTarget::rename(const QString& from, const QString& to) {
    // Both at once: a refused RNFR only makes the server refuse the RNTO too.
    const QList<TResult<TFtpReply>> r =
        m_ftp.SendCmds({QStringLiteral("RNFR ") + from, QStringLiteral("RNTO ") + to});
    return r.at(0).ok() && r.at(0).value().positive() && r.at(1).ok() && r.at(1).value().positive();
}

TStatus TFtpTarget::replace(const QString& temp, const QString& name, bool targetExists) {
    if (rename(temp, name))
        return TStatus();
    if (!m_ftp.Connected())
        return lastError(QString());
    const TStatus refused = lastError(fmt(T_("Cannot rename %s to %s"), {temp, name}));
    if (!targetExists) {
        command(QStringLiteral("DELE ") + temp);
        return refused;
    }
    // Some servers will not rename over a file: the old one goes first.
    if (!command(QStringLiteral("DELE ") + name)) {
        command(QStringLiteral("DELE ") + temp);
        return refused;
    }
    if (rename(temp, name))
        return TStatus();
    // The new file is all there is now: it stays under its temporary name.
    return lastError(fmt(T_("Cannot rename %s to %s"), {temp, name}));
}

TStatus TFtpTarget::deleteFile(const QString& rel, const QString& name) {
    if (const TStatus s = enter(rel); !s.ok())
        return s;
    if (m_ftp.DeleteFile(name, false, true))
        return TStatus();
    return TStatus::failure(m_ftp.IndyError());
}

TStatus TFtpTarget::deleteFolder(const QString& rel) {
    const QString dir = remotePath(rel);
    // A folder cannot be removed while it is the current one on some servers.
    if (m_ftp.CurrentDir() == dir && !rel.isEmpty())
        static_cast<void>(enter(TPublishTarget::parentOf(rel)));
    if (command(QStringLiteral("RMD ") + dir))
        return TStatus();
    return lastError(QString());
}

QDateTime TFtpTarget::fileTime(const QString& rel, const QString& name) {
    if (!enter(rel).ok())
        return QDateTime();
    // MDTM answers in UTC (RFC 3659).
    const TResult<TFtpReply> r = m_ftp.SendCmd(QStringLiteral("MDTM ") + name);
    if (r.ok() && r.value().Code == 213)
        return parseFtpTime(r.value().firstLine());
    return QDateTime();
}

} // namespace orvel
