#pragma once
// The walk of one publishing run over the project's folders: what to send and what to
// delete, decided from one listing of each destination folder, done (or, in a dry run, only
// listed) with the status window and the transfer log told of every step.

#include "projects/core/Publish.h"
#include "projects/core/PublishTarget.h"
#include "search/core/TextFilter.h"

#include <QDateTime>
#include <QFileInfo>
#include <QSet>
#include <QString>

namespace orvel {

class TPublishRecord;

// Which local files of a folder take part.
struct TWalkFiles {
    bool typeFilter = true; // only the project's file types
    bool recursive = true;
    bool overwrite = false;
    QString mask = QStringLiteral("*.*"); // masks separated by ";"
    QString exactName;                    // only this file (the mask is then not used)
};

class TPublishWalk {
public:
    TPublishWalk(TPublisher& publisher, TPublishTarget& target, TPublishResult& result,
                 TPublishRecord* record, bool dryRun);

    // Both take folders relative to the project root and to the destination's top.
    bool copyTree(const QString& localRel, const QString& destRel, const TWalkFiles& files);
    bool syncTree(const QString& localRel, const QString& destRel, const TWalkFiles& files);
    bool clearTree(const QString& destRel);
    // Settles what the destination still owes for folders a run left early.
    void settle();
    // The destination's folder of a local one (the case change applied to each part).
    QString destFolder(const QString& localRel) const;
    bool failed() const { return m_failed; }
    // How the log names the destination's top folder.
    void setTopName(const QString& name) { m_topName = name; }

private:
    struct TCandidate {
        QString localPath;
        QString name; // at the destination
        qint64 size = 0;
        QDateTime time; // UTC
    };
    bool stopped() const;
    bool passes(const QString& name, const TWalkFiles& files) const;
    bool passesType(const QString& name) const;
    // The files of the folder to send, templates turned into their HTML files first.
    QList<TCandidate> candidates(const QString& localRel, const TWalkFiles& files);
    // Whether the candidate must go, and why.
    bool decide(const TCandidate& c, const QString& destRel, const TDestFolder& dest,
                bool overwrite, TPublishReason& reason);
    bool send(const TCandidate& c, const QString& destRel, TPublishReason reason);
    // The walk is done with a folder; false when that failed a file or the folder.
    bool folderDone(const QString& destRel);
    // The record's entries of a folder are trusted only where the listing agrees.
    void checkRecord(const QString& destRel, const TDestFolder& dest);
    int runWorker(TCopyThread& worker, const QString& status);
    // The destination folder's listing; null, and an error of the run, when it cannot be read.
    const TDestFolder* listing(const QString& destRel);
    void showDirectory(const QString& localRel);
    void error(int indent, const QString& text);
    QString local(const QString& localRel) const;

    TPublisher& m_publisher;
    TPublishTarget& m_target;
    TPublishResult& m_result;
    TPublishRecord* m_record;
    bool m_dryRun;
    IPublishMonitor& m_monitor;
    TLogFile* m_log;
    QString m_root;
    TTextFilter m_types{false, true};
    QSet<QString> m_checkedFolders;
    QSet<QString> m_visited; // canonical local folders, so that links cannot loop
    bool m_failed = false;
    QString m_topName = QStringLiteral("/");
};

// The extension of a file name without the dot; empty without one (".htaccess" has none).
QString publishExtension(const QString& name);

} // namespace orvel
