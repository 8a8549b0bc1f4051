#include "projects/core/PublishWalk.h"

#include "base/core/FileSystem.h"
#include "base/core/LogFile.h"
#include "base/core/Translate.h"
#include "projects/core/FtpCopyUtils.h"
#include "projects/core/PublishRecord.h"
#include "projects/core/TemplateProcessor.h"

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QTimer>

namespace orvel {

namespace {
// Indents of the transfer log.
constexpr int kDirIndent = 6;
constexpr int kFileIndent = 8;
// How often a wait for a worker looks at the stop flag when nothing else happens.
constexpr int kStopPoll = 50;

bool isTemplate(const QString& name) {
    return publishExtension(name).compare(QLatin1String("htt"), Qt::CaseInsensitive) == 0;
}

QString timeText(const QDateTime& t) {
    return t.isValid() ? t.toLocalTime().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"))
                       : T_("invalid timestamp");
}

QString htmlNameOf(const QString& templateName) {
    return templateName.left(templateName.lastIndexOf(u'.')) + QStringLiteral(".html");
}
} // namespace

QString publishExtension(const QString& name) {
    const qsizetype dot = name.lastIndexOf(u'.');
    return dot <= 0 ? QString() : name.mid(dot + 1);
}

TPublishWalk::TPublishWalk(TPublisher& publisher, TPublishTarget& target, TPublishResult& result,
                           TPublishRecord* record, bool dryRun)
    : m_publisher(publisher), m_target(target), m_result(result), m_record(record),
      m_dryRun(dryRun), m_monitor(*publisher.m_env.monitor), m_log(publisher.m_env.log),
      m_root(withSlash(publisher.m_project.ProjPath)) {
    // The project's types, text and other files alike; an illegal filter passes everything.
    QStringList types;
    for (const QString& t : {publisher.m_project.TextTypes, publisher.m_project.BinTypes})
        if (!t.trimmed().isEmpty())
            types << t.trimmed();
    m_types.setMode(TTextFilter::kPassMatching);
    try {
        m_types.setFilter(types.join(u',').replace(u',', u'|'));
    } catch (const EFilterError&) {
        m_types.setMode(TTextFilter::kOff);
    }
    if (types.isEmpty())
        m_types.setMode(TTextFilter::kOff);
}

bool TPublishWalk::stopped() const {
    return m_publisher.stopped();
}

QString TPublishWalk::local(const QString& localRel) const {
    return localRel.isEmpty() ? m_root : m_root + localRel;
}

QString TPublishWalk::destFolder(const QString& localRel) const {
    QStringList parts = localRel.split(u'/', Qt::SkipEmptyParts);
    for (QString& p : parts)
        p = m_target.destName(p);
    return parts.join(u'/');
}

void TPublishWalk::error(int indent, const QString& text) {
    m_failed = true;
    if (m_log)
        m_log->ErrorLine(indent, text);
    m_monitor.SetError(text);
}

const TDestFolder* TPublishWalk::listing(const QString& destRel) {
    const TResult<const TDestFolder*> listed = m_target.folder(destRel);
    if (listed.ok())
        return listed.value();
    error(kDirIndent,
          T_("Error reading directory: ") + destRel + QStringLiteral(" - ") + listed.error());
    return nullptr;
}

void TPublishWalk::showDirectory(const QString& localRel) {
    m_monitor.SetDirectory(localRel.isEmpty() ? T_("Root directory") : localRel);
    if (m_log)
        m_log->DirLine(kDirIndent, true, localRel);
}

bool TPublishWalk::passesType(const QString& name) const {
    try {
        return m_types.MatchesFilter(publishExtension(name));
    } catch (const EFilterError&) {
        return true;
    }
}

bool TPublishWalk::passes(const QString& name, const TWalkFiles& files) const {
    if (!files.exactName.isEmpty() && name != files.exactName)
        return false;
    if (files.typeFilter && !passesType(name))
        return false;
    if (!files.exactName.isEmpty())
        return true;
    const QString masks = files.mask.trimmed();
    if (masks.isEmpty() || masks == QLatin1String("*.*") || masks == QLatin1String("*"))
        return true;
    for (const QString& m : masks.split(u';', Qt::SkipEmptyParts)) {
        const QString mask = m.trimmed();
        if (mask == QLatin1String("*.*") || mask == QLatin1String("*"))
            return true;
        try {
            if (TWildcardMask(mask).matches(name))
                return true;
        } catch (const EFilterError&) {
        }
    }
    return false;
}

int TPublishWalk::runWorker(TCopyThread& worker, const QString& status) {
    m_monitor.SetStatus(status);
    qint64 total = 0;
    worker.SetOnProgress([this, &total](quint8, quint8, qint64 count) {
        if (count < 0)
            total = -count;
        else
            m_monitor.UpdateProgress(count, total);
    });
    // Woken by the worker's end and by every event of the windows; the timer lets a stop
    // asked for outside any event (a signal) reach the worker too.
    QTimer poll;
    poll.start(kStopPoll);
    QObject::connect(&worker, &QThread::finished, &poll, [] {});
    bool cancelled = false;
    // Never from inside the progress handler: the worker waits for it there.
    const auto stopOnce = [this, &cancelled](const std::function<void()>& stop) {
        if (!cancelled && stopped()) {
            cancelled = true;
            stop();
        }
    };
    if (worker.RunsHere()) {
        // The job's own waits run the timer; it must not wait for the job from there.
        QObject::connect(&poll, &QTimer::timeout, &poll,
                         [&worker, &stopOnce] { stopOnce([&worker] { worker.RequestStop(); }); });
        worker.RunHere();
        m_monitor.UpdateProgress(0, 0);
        return worker.ErrorCode();
    }
    worker.Start();
    while (!worker.Done()) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        stopOnce([&worker] { worker.CancelThread(); });
    }
    worker.WaitUntilDone();
    m_monitor.UpdateProgress(0, 0);
    return worker.ErrorCode();
}

// --- Sending ----------------------------------------------------------------------------------

QList<TPublishWalk::TCandidate> TPublishWalk::candidates(const QString& localRel,
                                                         const TWalkFiles& files) {
    QList<TCandidate> out;
    QSet<QString> taken;
    const QFileInfoList entries =
        QDir(local(localRel)).entryInfoList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    // Templates first: their HTML files take the place of any older copy in the list.
    for (const QFileInfo& e : entries) {
        const QString name = e.fileName();
        if (name.startsWith(u'~') || !isTemplate(name) || !passes(name, files))
            continue;
        TCandidate c;
        TTemplateReport report;
        report.log = m_log;
        report.showAction = [this](const QString& t) { m_monitor.SetAction(t); };
        report.showStatus = [this](const QString& t) { m_monitor.SetStatus(t); };
        QString why;
        const TTemplateRendering r =
            RenderTemplate(e.filePath(), m_dryRun ? nullptr : &report, &why);
        if (r.htmlFile.isEmpty()) {
            if (!r.noHeader && !m_dryRun)
                m_failed = true; // the log has its error line
            continue;
        }
        c.localPath = r.htmlFile;
        if (m_dryRun) {
            // What the run would write: a new HTML file is newer than anything sent before.
            const QFileInfo html(r.htmlFile);
            c.size = r.unchanged ? html.size() : r.bytes.size();
            c.time = r.unchanged ? html.lastModified().toUTC() : QDateTime::currentDateTimeUtc();
        } else {
            if (WriteTemplateHtml(r, &report, &why).isEmpty()) {
                m_failed = true;
                continue;
            }
            const QFileInfo html(c.localPath);
            c.size = html.size();
            c.time = html.lastModified().toUTC();
        }
        const QString htmlName = htmlNameOf(name);
        c.name = m_target.destName(htmlName);
        taken.insert(htmlName);
        out.append(c);
    }
    for (const QFileInfo& e : entries) {
        const QString name = e.fileName();
        if (name.startsWith(u'~') || isTemplate(name) || taken.contains(name) ||
            !passes(name, files))
            continue;
        out.append({e.filePath(), m_target.destName(name), e.size(), e.lastModified().toUTC()});
    }
    return out;
}

void TPublishWalk::checkRecord(const QString& destRel, const TDestFolder& dest) {
    if (!m_record || m_checkedFolders.contains(destRel))
        return;
    m_checkedFolders.insert(destRel);
    const QHash<QString, TPublishedFile> entries = m_record->folder(destRel);
    for (auto it = entries.constBegin(); it != entries.constEnd(); ++it) {
        const TDestFile* f = dest.find(it.key());
        if (!f || (f->Size >= 0 && f->Size != it->Size)) {
            m_record->dropFolder(destRel);
            return;
        }
    }
}

bool TPublishWalk::decide(const TCandidate& c, const QString& destRel, const TDestFolder& dest,
                          bool overwrite, TPublishReason& reason) {
    const TDestFile* there = dest.find(c.name);
    const TPublishedFile here{c.size, c.time.toMSecsSinceEpoch()};
    if (!there) {
        reason = prMissing;
        return true;
    }
    if (overwrite) {
        reason = prOverwrite;
        return true;
    }
    if (m_record && m_target.usesRecord()) {
        const TPublishedFile* known = m_record->find(destRel, c.name);
        if (known && *known == here)
            return false;
    }
    if (there->Size >= 0 && there->Size != c.size) {
        reason = prSizeDiffers;
        return true;
    }
    const QDateTime time = there->Exact ? there->Time : m_target.fileTime(destRel, c.name);
    if (!time.isValid()) {
        reason = prNoTime;
        return true;
    }
    if (c.time.toSecsSinceEpoch() - time.toSecsSinceEpoch() > m_target.tolerance()) {
        reason = prOlder;
        return true;
    }
    if (m_record && !m_dryRun)
        m_record->set(destRel, c.name, here);
    return false;
}

bool TPublishWalk::send(const TCandidate& c, const QString& destRel, TPublishReason reason) {
    const QString path = TPublishTarget::join(destRel, c.name);
    m_result.Steps.append({TPublishStep::Copy, path, reason});
    if (m_dryRun) {
        ++m_result.Copied;
        m_monitor.SetStatus(publishStepText(m_result.Steps.last()));
        if (m_log)
            m_log->TextLine(kFileIndent, publishStepText(m_result.Steps.last()));
        return true;
    }
    if (const TStatus made = m_target.makeFolder(destRel); !made.ok()) {
        error(kDirIndent, T_("Error creating directory: ") +
                              (destRel.isEmpty() ? QStringLiteral("/") : destRel) +
                              QStringLiteral(" - ") + made.error());
        return false;
    }
    const TStatus sent =
        m_target.put(c.localPath, destRel, c.name,
                     [this](TCopyThread& w, const QString& s) { return runWorker(w, s); });
    if (!sent.ok()) {
        m_result.Steps.removeLast();
        if (stopped()) {
            m_result.Cancelled = true;
            return false;
        }
        error(kFileIndent, T_("Error copying: ") + c.name + QStringLiteral(" - ") + sent.error());
        if (m_record)
            m_record->remove(destRel, c.name);
        return false;
    }
    ++m_result.Copied;
    if (m_record)
        m_record->set(destRel, c.name, {c.size, c.time.toMSecsSinceEpoch()});
    if (m_log)
        m_log->TextLine(kFileIndent,
                        T_("File copied: ") + c.name + QStringLiteral(" - ") + timeText(c.time));
    return true;
}

bool TPublishWalk::copyTree(const QString& localRel, const QString& destRel,
                            const TWalkFiles& files) {
    if (stopped())
        return true;
    if (files.recursive) {
        const QString canonical = QFileInfo(local(localRel)).canonicalFilePath();
        if (canonical.isEmpty() || m_visited.contains(canonical))
            return true; // a link back up the tree
        m_visited.insert(canonical);
        const QStringList dirs =
            QDir(local(localRel))
                .entryList(QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
        for (const QString& d : dirs) {
            if (stopped())
                return true;
            if (!copyTree(TPublishTarget::join(localRel, d),
                          TPublishTarget::join(destRel, m_target.destName(d)), files))
                return false;
        }
    }
    showDirectory(localRel);
    const QList<TCandidate> list = candidates(localRel, files);
    if (!list.isEmpty()) {
        const TDestFolder* listed = listing(destRel);
        if (!listed)
            return false;
        checkRecord(destRel, *listed);
        for (const TCandidate& c : list) {
            if (stopped())
                return true;
            TPublishReason reason = prMissing;
            // The listing is read again for each file: a send changes it.
            const TResult<const TDestFolder*> dest = m_target.folder(destRel);
            if (!dest.ok() || !decide(c, destRel, *dest.value(), files.overwrite, reason))
                continue;
            if (!send(c, destRel, reason))
                return false;
        }
    }
    return folderDone(destRel);
}

bool TPublishWalk::folderDone(const QString& destRel) {
    if (m_dryRun)
        return true;
    const TFolderOutcome out = m_target.folderDone(destRel);
    for (const TFolderOutcome::TFailedFile& failed : out.FailedFiles) {
        // Announced as copied, but not there after all.
        const QString path = TPublishTarget::join(failed.Rel, failed.Name);
        for (qsizetype i = m_result.Steps.size() - 1; i >= 0; --i)
            if (m_result.Steps.at(i).Action == TPublishStep::Copy &&
                m_result.Steps.at(i).Path == path) {
                m_result.Steps.removeAt(i);
                --m_result.Copied;
                break;
            }
        if (m_record)
            m_record->remove(failed.Rel, failed.Name);
        error(kFileIndent, T_("Error copying: ") + path + QStringLiteral(" - ") + failed.Why);
    }
    if (!out.Status.ok()) {
        error(kDirIndent, T_("Error creating directory: ") +
                              (destRel.isEmpty() ? QStringLiteral("/") : destRel) +
                              QStringLiteral(" - ") + out.Status.error());
        return false;
    }
    return out.FailedFiles.isEmpty();
}

void TPublishWalk::settle() {
    for (const QString& rel : m_target.openFolders())
        folderDone(rel);
}

// --- Deleting ---------------------------------------------------------------------------------

bool TPublishWalk::syncTree(const QString& localRel, const QString& destRel,
                            const TWalkFiles& files) {
    if (stopped())
        return true;
    const TDestFolder* listed = listing(destRel);
    if (!listed)
        return false;
    if (!listed->Exists) {
        if (m_log)
            m_log->TextLine(kDirIndent, T_("Directory not found: ") +
                                            (localRel.isEmpty() ? QStringLiteral("/") : localRel));
        return true;
    }
    const QDir localDir(local(localRel));
    if (files.recursive) {
        // Each remote folder with the local one it stands for (or a name that is not there).
        const QStringList localDirs =
            localDir.entryList(QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot);
        const QStringList remoteDirs = listed->Dirs;
        for (const QString& d : remoteDirs) {
            if (stopped())
                return true;
            QString localName = d;
            for (const QString& l : localDirs)
                if (m_target.destName(l) == d)
                    localName = l;
            if (!syncTree(TPublishTarget::join(localRel, localName),
                          TPublishTarget::join(destRel, d), files))
                return false;
        }
    }
    showDirectory(localRel);
    // The names the local files have at the destination; templates stand for their HTML.
    QSet<QString> here;
    if (localDir.exists())
        for (const QString& name : localDir.entryList(QDir::Files | QDir::Hidden | QDir::System)) {
            here.insert(m_target.destName(name));
            if (isTemplate(name))
                here.insert(m_target.destName(htmlNameOf(name)));
        }
    const QList<TDestFile> there = m_target.folder(destRel).value()->Files;
    for (const TDestFile& f : there) {
        if (stopped())
            return true;
        // Names as listed: never changed, never sent back in another case.
        if (f.Name.startsWith(u'~') || here.contains(f.Name) || !passes(f.Name, files))
            continue;
        const QString path = TPublishTarget::join(destRel, f.Name);
        m_result.Steps.append({TPublishStep::Delete, path, prDeletedLocally});
        m_monitor.SetStatus(m_dryRun ? publishStepText(m_result.Steps.last()) : f.Name);
        if (m_dryRun) {
            ++m_result.Deleted;
            if (m_log)
                m_log->TextLine(kFileIndent, publishStepText(m_result.Steps.last()));
            continue;
        }
        const TStatus removed = m_target.remove(destRel, f.Name);
        if (!removed.ok()) {
            m_result.Steps.removeLast();
            error(kFileIndent,
                  T_("Error deleting: ") + f.Name + QStringLiteral(" - ") + removed.error());
            continue;
        }
        ++m_result.Deleted;
        if (m_record)
            m_record->remove(destRel, f.Name);
        if (m_log)
            m_log->TextLine(kFileIndent, T_("File deleted: ") + f.Name);
    }
    return true;
}

bool TPublishWalk::clearTree(const QString& destRel) {
    if (stopped())
        return true;
    const TDestFolder* listed = listing(destRel);
    if (!listed)
        return false;
    if (!listed->Exists) {
        error(kDirIndent,
              T_("Directory not found: ") + (destRel.isEmpty() ? QStringLiteral("/") : destRel));
        return false;
    }
    bool ok = true;
    const QStringList dirs = listed->Dirs; // the removals change it
    for (const QString& d : dirs) {
        if (stopped() || !clearTree(TPublishTarget::join(destRel, d))) {
            ok = false;
            break;
        }
    }
    showDirectory(destRel);
    const QList<TDestFile> files = m_target.folder(destRel).value()->Files;
    for (const TDestFile& f : files) {
        if (stopped())
            return false;
        m_monitor.SetStatus(f.Name);
        const TStatus removed = m_target.remove(destRel, f.Name);
        if (!removed.ok()) {
            ok = false;
            error(kFileIndent,
                  T_("Error deleting: ") + f.Name + QStringLiteral(" - ") + removed.error());
            continue;
        }
        ++m_result.Deleted;
        m_result.Steps.append(
            {TPublishStep::Delete, TPublishTarget::join(destRel, f.Name), prDeletedLocally});
        if (m_log)
            m_log->TextLine(kFileIndent, T_("File deleted: ") + f.Name);
    }
    if (!ok || (destRel.isEmpty() && !m_target.removesTop()))
        return ok;
    const QString shown = destRel.isEmpty() ? m_topName : destRel;
    if (const TStatus removed = m_target.removeFolder(destRel); !removed.ok()) {
        error(kDirIndent, T_("Error deleting: ") + shown + QStringLiteral(" - ") + removed.error());
        return false;
    }
    if (m_log)
        m_log->TextLine(kDirIndent, T_("Directory deleted: ") + shown);
    return true;
}

} // namespace orvel
