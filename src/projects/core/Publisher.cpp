// A publishing run from start to end: the destination opened (a folder, or an FTP server
// connected and its folder found), the files chosen by the mode word, the walk, the counts,
// the log section and the publish record.

#include "base/core/FileSystem.h"
#include "base/core/LogFile.h"
#include "base/core/Translate.h"
#include "projects/core/FtpUtils.h"
#include "projects/core/Publish.h"
#include "projects/core/PublishRecord.h"
#include "projects/core/PublishWalk.h"

#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QTimer>

namespace orvel {

namespace {
constexpr int kDestIndent = 2;
constexpr int kPhaseIndent = 4;
constexpr int kTransferTimeout = 60000;
constexpr int kStopPoll = 100;

std::atomic<bool> g_running{false};

// Marks the program's one run; a second one is refused.
class TRunGuard {
public:
    TRunGuard() : m_owner(!g_running.exchange(true)) {}
    ~TRunGuard() {
        if (m_owner)
            g_running = false;
    }
    TRunGuard(const TRunGuard&) = delete;
    TRunGuard& operator=(const TRunGuard&) = delete;
    bool owner() const { return m_owner; }

private:
    bool m_owner;
};

QString projectKey(const TProjectInfo& p) {
    return p.ProjFileName.isEmpty() ? normalizedPath(p.ProjPath) : normalizedPath(p.ProjFileName);
}
} // namespace

QString publishReasonText(TPublishReason reason) {
    switch (reason) {
    case prMissing:
        return T_("missing");
    case prOlder:
        return T_("older");
    case prSizeDiffers:
        return T_("size differs");
    case prNoTime:
        return T_("no time to compare");
    case prOverwrite:
        return T_("overwrite all");
    case prDeletedLocally:
        return T_("deleted locally");
    }
    return QString();
}

QString publishStepText(const TPublishStep& step) {
    return fmt(step.Action == TPublishStep::Copy ? T_("Copy: %s (%s)") : T_("Delete: %s (%s)"),
               {step.Path, publishReasonText(step.Reason)});
}

bool TPublishRequest::sync() const {
    const int s = selection();
    return (Mode & kTransferSync) && s != tfCurrentFile && s != tfChangedFiles;
}

TPublisher::TPublisher(TProjectInfo& project, const TPublishEnvironment& env)
    : m_project(project), m_env(env) {
    Q_ASSERT(m_env.monitor);
}

TPublisher::~TPublisher() = default;

void TPublisher::Stop(bool quiet) {
    if (quiet)
        m_quiet = true;
    m_stop = true;
}

bool TPublisher::stopped() const {
    return m_stop.load() || m_env.monitor->Stopped();
}

bool TPublisher::Running() {
    return g_running.load();
}

QString TPublisher::destinationText(const TProjectInfo& p) {
    if (p.TransferMode == tmDirect)
        return p.RemotePath;
    return p.Host + u'|' + p.RemotePath;
}

TStatus TPublisher::lock() {
    if (m_env.recordFolder.isEmpty())
        return TStatus();
    QDir().mkpath(m_env.recordFolder);
    const QString name = TPublishRecord::fileNameFor(m_env.recordFolder, projectKey(m_project)) +
                         QStringLiteral(".lock");
    m_lock = std::make_unique<QLockFile>(name);
    m_lock->setStaleLockTime(0); // a run may take hours; a dead owner is found by its process
    if (m_lock->tryLock(0))
        return TStatus();
    m_lock.reset();
    return TStatus::failure(T_("The project is being published by another program already."));
}

// --- The destination --------------------------------------------------------------------------

TResult<std::unique_ptr<TPublishTarget>> TPublisher::openTarget(bool create,
                                                                TPublishResult& result) {
    IPublishMonitor& monitor = *m_env.monitor;
    const auto failed = [this, &result, &monitor](const QString& message) {
        if (m_env.log)
            m_env.log->ErrorLine(kPhaseIndent,
                                 QString(message).replace(QLatin1String("\r\n"), " "));
        monitor.HideWindow();
        result.Deleted = -1;
        result.Error = message;
        return TStatus::failure(message);
    };
    if (m_project.TransferMode == tmDirect) {
        const QString dest = m_project.RemotePath.trimmed();
        const QString root = normalizedPath(m_project.ProjPath);
        const QString target = dest.isEmpty() ? QString() : normalizedPath(dest);
        if (target.isEmpty() || target == QLatin1String("/") || sameFile(target, root) ||
            isPathBelow(target, root) || isPathBelow(root, target))
            return failed(fmt(T_("The destination folder\r\n%s\r\ncannot be used: it is empty, the "
                                 "top folder, or the project folder, inside it or around it."),
                              {QDir::toNativeSeparators(dest)}));
        monitor.ShowWindow(T_("Direct destination"), dest, QString());
        m_destLine = T_("Direct destination") + QStringLiteral(" ==> ") + dest;
        if (m_env.log)
            m_env.log->TextLine(kDestIndent, m_destLine);
        return std::unique_ptr<TPublishTarget>(std::make_unique<TFolderTarget>(withSlash(target)));
    }

    auto ftp = std::make_unique<TExtFtp>();
    ftp->SetupFromProject(m_project);
    ftp->TransferTimeout = kTransferTimeout;
    ftp->setDialogs(m_env.dialogs);
    const TFtpTlsFiles tls = findTlsFiles(m_env.tlsFolders);
    ftp->setTlsFiles(tls.RootCert, tls.ClientCert, tls.ClientKey, clientKeyPassPhrase());
    if (m_project.ProtocolLog && !m_env.protocolLogFolder.isEmpty())
        ftp->setProtocolLog(protocolLogFile(ftpLogFileName(m_env.protocolLogFolder)));
    monitor.ShowWindow(T_("FTP: ") + m_project.Host, m_project.RemotePath, T_("Trying to connect"));
    m_destLine = T_("FTP: ") + m_project.Host + QStringLiteral(" ==> ") + m_project.RemotePath;
    if (m_env.log)
        m_env.log->TextLine(kDestIndent, m_destLine);
    // A stop ends the attempt at once rather than after the time-out.
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, ftp.get(), [this, session = ftp.get()] {
        if (stopped())
            session->Disconnect();
    });
    watch.start(kStopPoll);
    const TStatus connected = ftp->Connect();
    watch.stop();
    if (!connected.ok() && stopped()) {
        monitor.HideWindow();
        result.Cancelled = true;
        return connected;
    }
    if (!connected.ok())
        return failed(fmt(T_("Connection to FTP server:\r\n%s failed!"), {m_project.Host}) +
                      QStringLiteral("\r\n") + connected.error());
    // A certificate the user accepted now is remembered with the project.
    if (ftp->PinnedFingerprint != m_project.CertFingerprint) {
        m_project.CertFingerprint = ftp->PinnedFingerprint;
        m_project.Changed = true;
    }
    const QString remote = m_project.RemotePath.trimmed();
    QString base = ftp->LoginDir();
    if (remote.startsWith(u'/'))
        base = QDir::cleanPath(remote);
    else if (!base.isEmpty() && !remote.isEmpty())
        base = QDir::cleanPath(base + u'/' + remote);
    if (!base.startsWith(u'/')) {
        ftp->Disconnect();
        return failed(fmt(T_("Cannot create remote directory:\r\n%s!"), {remote}) +
                      QStringLiteral("\r\n") + T_("The server does not tell its current folder."));
    }
    monitor.SetTarget(base);
    auto target = std::make_unique<TFtpTarget>(std::move(ftp), base);
    if (create) {
        if (const TStatus made = target->makeFolder(QString()); !made.ok()) {
            target->close();
            return failed(fmt(T_("Cannot create remote directory:\r\n%s!"), {base}) +
                          QStringLiteral("\r\n") + made.error());
        }
    }
    if (!m_env.recordFolder.isEmpty()) {
        m_record = std::make_unique<TPublishRecord>(TPublishRecord::load(
            TPublishRecord::fileNameFor(m_env.recordFolder, projectKey(m_project)),
            target->recordDestination()));
    }
    return std::unique_ptr<TPublishTarget>(std::move(target));
}

// --- A transfer -------------------------------------------------------------------------------

TPublishResult TPublisher::Transfer(const TPublishRequest& request) {
    TPublishResult result;
    if (m_project.TransferMode == tmOff)
        return result;
    TRunGuard guard;
    if (!guard.owner()) {
        result.Error = T_("A file transfer is running already.");
        return result;
    }
    if (!QFileInfo(m_project.ProjPath).isDir()) {
        result.Error = fmt(T_("Directory:\r\n%s\r\nnot found!"),
                           {QDir::toNativeSeparators(m_project.ProjPath)});
        return result;
    }
    if (const TStatus locked = lock(); !locked.ok()) {
        result.Error = locked.error();
        return result;
    }
    m_stop = false;
    if (m_env.log && m_env.log->Open())
        m_env.log->Header(request.dryRun() ? T_("Show what would be done")
                                           : T_("Transfer files to server"));
    TResult<std::unique_ptr<TPublishTarget>> target = openTarget(!request.dryRun(), result);
    if (target.ok()) {
        run(result, request, *target.value());
        target.value()->close();
        finish(result, request.dryRun());
    } else if (result.Cancelled && m_env.log) {
        m_env.log->TextLine(kPhaseIndent, T_("Canceled by user!"));
    }
    if (m_env.log)
        m_env.log->Close();
    return result;
}

void TPublisher::run(TPublishResult& result, const TPublishRequest& request,
                     TPublishTarget& target) {
    IPublishMonitor& monitor = *m_env.monitor;
    TPublishWalk walk(*this, target, result, m_record.get(), request.dryRun());
    const auto phase = [this](const QString& text) {
        if (m_env.log)
            m_env.log->TextLine(kPhaseIndent, text);
    };
    const QString root = withSlash(m_project.ProjPath);
    bool ok = true;
    TWalkFiles files;
    files.overwrite = request.overwrite();
    const int selection = request.selection();
    if (selection == tfChangedFiles) {
        monitor.StartCopy();
        phase(T_("Copy files"));
        for (const QString& file : request.ChangedFiles) {
            if (stopped() || !ok)
                break;
            const QString dir = QFileInfo(file).absolutePath();
            if (!sameFile(dir, root) && !isPathBelow(dir, root))
                continue; // not the project's
            const QString rel = QDir(root).relativeFilePath(dir);
            files.typeFilter = false;
            files.recursive = false;
            files.exactName = QFileInfo(file).fileName();
            const QString localRel = rel == QLatin1String(".") ? QString() : rel;
            ok = walk.copyTree(localRel, walk.destFolder(localRel), files);
        }
    } else {
        QString localRel;
        if (selection != tfAllFiles) {
            const QString dir = selection == tfChosenDir
                                    ? QDir::cleanPath(root + request.Directory)
                                    : (request.CurrentFile.isEmpty()
                                           ? QString()
                                           : QFileInfo(request.CurrentFile).absolutePath());
            if (dir.isEmpty() || (!sameFile(dir, root) && !isPathBelow(dir, root))) {
                monitor.HideWindow();
                result.Deleted = -1;
                result.Error = fmt(T_("File: %s\r\nnot found in project directory!"),
                                   {QDir::toNativeSeparators(dir)});
                return;
            }
            localRel = sameFile(dir, root) ? QString() : QDir(root).relativeFilePath(dir);
        }
        files.typeFilter = selection != tfChosenDir;
        files.recursive =
            selection == tfAllFiles || (selection != tfCurrentFile && request.subDirs());
        if (selection == tfCurrentFile)
            files.exactName = QFileInfo(request.CurrentFile).fileName();
        else if (selection != tfAllFiles)
            files.mask = request.Filter;
        monitor.SetDirectory(localRel.isEmpty() ? T_("Root directory") : localRel);
        const QString destRel = walk.destFolder(localRel);
        if (request.sync()) {
            monitor.StartSync();
            phase(T_("Synchronize files"));
            ok = walk.syncTree(localRel, destRel, files);
        }
        if (ok && !stopped()) {
            monitor.StartCopy();
            phase(T_("Copy files"));
            ok = walk.copyTree(localRel, destRel, files);
        }
    }
    // A run that ended early still makes visible the folders it finished files in.
    walk.settle();
    if (stopped())
        result.Cancelled = true;
    // Every failure of the walk is an error it logged; a stop alone is not one.
    if (walk.failed() || (!ok && !result.Cancelled))
        result.Deleted = -1;
}

void TPublisher::finish(TPublishResult& result, bool dryRun) {
    IPublishMonitor& monitor = *m_env.monitor;
    if (!result.Error.isEmpty())
        return; // the window is gone; the caller tells
    if (m_env.log) {
        if (result.Cancelled)
            m_env.log->TextLine(kPhaseIndent, T_("Canceled by user!"));
        m_env.log->Summary(kPhaseIndent, result.Deleted, result.Copied);
    }
    if (m_record && m_record->changed() && !dryRun && !m_env.recordFolder.isEmpty()) {
        const TStatus saved =
            m_record->save(TPublishRecord::fileNameFor(m_env.recordFolder, projectKey(m_project)));
        if (!saved.ok() && m_env.log)
            m_env.log->ErrorLine(kPhaseIndent, saved.error());
    }
    if (m_quiet)
        monitor.HideWindow();
    else if (dryRun)
        monitor.CloseDryRun(result.Deleted, result.Copied);
    else
        monitor.CloseWindow(result.Deleted, result.Copied);
}

// --- Clearing ---------------------------------------------------------------------------------

TPublishResult TPublisher::ClearServer() {
    TPublishResult result;
    if (m_project.TransferMode == tmOff)
        return result;
    TRunGuard guard;
    if (!guard.owner()) {
        result.Error = T_("A file transfer is running already.");
        return result;
    }
    if (const TStatus locked = lock(); !locked.ok()) {
        result.Error = locked.error();
        return result;
    }
    m_stop = false;
    TResult<std::unique_ptr<TPublishTarget>> opened = openTarget(false, result);
    if (!opened.ok())
        return result;
    TPublishTarget& target = *opened.value();
    QString shown = m_project.RemotePath;
    if (const auto* ftp = dynamic_cast<TFtpTarget*>(&target)) {
        // Never the whole server, nor the folder one lands in.
        const QString base = ftp->base();
        if (m_project.RemotePath.trimmed().isEmpty() || base == QLatin1String("/") ||
            base == QDir::cleanPath(ftp->loginDir())) {
            target.close();
            m_env.monitor->HideWindow();
            result.Error =
                fmt(T_("The remote directory %s cannot be deleted: it is the server's top "
                       "folder or the folder of the login."),
                    {base});
            return result;
        }
        shown = m_project.Host + u':' + QString::number(m_project.Port) + base;
    } else {
        const QString home = normalizedPath(QDir::homePath());
        if (sameFile(m_project.RemotePath, home) || isPathBelow(home, m_project.RemotePath)) {
            m_env.monitor->HideWindow();
            result.Error = fmt(T_("The destination folder\r\n%s\r\ncannot be deleted."),
                               {QDir::toNativeSeparators(m_project.RemotePath)});
            return result;
        }
        shown = QDir::toNativeSeparators(normalizedPath(m_project.RemotePath));
    }
    if (!m_env.confirmClear || !m_env.confirmClear(shown)) {
        target.close();
        m_env.monitor->HideWindow();
        return result;
    }
    if (m_env.log && m_env.log->Open()) {
        m_env.log->Header(T_("Delete files on server"));
        m_env.log->TextLine(kDestIndent, m_destLine);
    }
    m_env.monitor->StartDelete();
    TPublishWalk walk(*this, target, result, nullptr, false);
    walk.setTopName(shown);
    if (!walk.clearTree(QString()) || walk.failed())
        result.Deleted = -1;
    if (stopped())
        result.Cancelled = true;
    target.close();
    // Nothing that was published is there any more.
    if (m_record && !m_env.recordFolder.isEmpty()) {
        const QString name = TPublishRecord::fileNameFor(m_env.recordFolder, projectKey(m_project));
        QFile::remove(name);
        m_record.reset();
    }
    finish(result, false);
    if (m_env.log)
        m_env.log->Close();
    return result;
}

} // namespace orvel
