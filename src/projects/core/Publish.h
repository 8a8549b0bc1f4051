#pragma once
// Publishing a project: copies its files to a folder (Direct) or uploads them to an FTP
// server, deletes at the destination what is gone locally, and clears the destination. No
// windows: the status window and the questions come through interfaces, so the program and
// a run from the command line share this engine.

#include "base/core/Result.h"
#include "projects/core/ProjectInfo.h"
#include "projects/core/TransferDialogs.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <atomic>
#include <functional>
#include <memory>

class QLockFile;

namespace orvel {

class TLogFile;

// Why a file is (or would be) sent or deleted.
enum TPublishReason : int {
    prMissing,        // not at the destination
    prOlder,          // older there than here
    prSizeDiffers,    // another size there
    prNoTime,         // the destination gives no time to compare
    prOverwrite,      // "Overwrite all"
    prDeletedLocally, // gone here (synchronising)
};
QString publishReasonText(TPublishReason reason);

struct TPublishStep {
    enum TAction { Copy, Delete };
    TAction Action = Copy;
    QString Path; // below the destination's top, with "/"
    TPublishReason Reason = prMissing;
    bool operator==(const TPublishStep& o) const {
        return Action == o.Action && Path == o.Path && Reason == o.Reason;
    }
};
// "Copy: dir/page.htm (older)" and the like.
QString publishStepText(const TPublishStep& step);

// What a transfer is asked to do.
struct TPublishRequest {
    int Mode = tfAllFiles; // the transfer mode word
    // The current document's file name, for tfCurrentFile and tfCurrentDir.
    QString CurrentFile;
    // The chosen folder relative to the root, for tfChosenDir.
    QString Directory;
    // Masks for tfCurrentDir and tfChosenDir ("*.*" is every file; several with ";").
    QString Filter = QStringLiteral("*.*");
    // The files of the changed documents, for tfChangedFiles.
    QStringList ChangedFiles;

    int selection() const { return Mode & kTransferSelectionMask; }
    bool subDirs() const { return Mode & kTransferSubDirs; }
    bool overwrite() const { return Mode & kTransferOverwrite; }
    bool dryRun() const { return Mode & kTransferDryRun; }
    // Never for a single file or the changed files.
    bool sync() const;
};

struct TPublishResult {
    int Deleted = 0; // -1: the run failed
    int Copied = 0;
    bool Cancelled = false;
    // What to tell the user in a message box (the run could not start or connect); empty
    // when the status window told everything.
    QString Error;
    // What was done, or would be with a dry run, in order.
    QList<TPublishStep> Steps;
    bool failed() const { return Deleted < 0 || !Error.isEmpty(); }
};

// What a run needs besides the project.
struct TPublishEnvironment {
    IPublishMonitor* monitor = nullptr; // required
    TLogFile* log = nullptr;
    ITransferDialogs* dialogs = nullptr; // certificate questions; null refuses unknown ones
    // Where the publish records live ($XDG_DATA_HOME/Brimwell); empty keeps none.
    QString recordFolder;
    // Where the optional TLS files are looked up, in order.
    QStringList tlsFolders;
    // The folder of the FTP protocol log, for projects that ask for it.
    QString protocolLogFolder;
    // The question before clearing, with the full destination; null answers no.
    std::function<bool(const QString& destination)> confirmClear;
};

class TPublishTarget;
class TPublishRecord;

class TPublisher {
public:
    // The project is updated with a newly accepted server certificate (Changed set).
    TPublisher(TProjectInfo& project, const TPublishEnvironment& env);
    ~TPublisher();
    TPublisher(const TPublisher&) = delete;
    TPublisher& operator=(const TPublisher&) = delete;

    TPublishResult Transfer(const TPublishRequest& request);
    // Deletes everything at the destination (asking first through confirmClear).
    TPublishResult ClearServer();

    // Asks the run to end after the file in progress; with quiet the status window goes
    // without its final state (the program is closing).
    void Stop(bool quiet = false);
    // Whether a run of this program is in progress.
    static bool Running();

    // The destination folder as the user sees it in messages.
    static QString destinationText(const TProjectInfo& project);

private:
    friend class TPublishWalk;
    bool stopped() const;
    TResult<std::unique_ptr<TPublishTarget>> openTarget(bool create, TPublishResult& result);
    void run(TPublishResult& result, const TPublishRequest& request, TPublishTarget& target);
    void finish(TPublishResult& result, bool dryRun);
    void clearTree(TPublishResult& result, TPublishTarget& target);
    // The run's lock: one run per project, also across programs.
    TStatus lock();

    TProjectInfo& m_project;
    TPublishEnvironment m_env;
    std::atomic<bool> m_stop{false};
    std::atomic<bool> m_quiet{false};
    std::unique_ptr<TPublishRecord> m_record;
    QString m_destLine; // the log's line naming the destination
    std::unique_ptr<QLockFile> m_lock;
};

} // namespace orvel
