#pragma once
// One search in files from the button to the status line: the questions before it, saving
// the documents, the files of the chosen scope, the engine at work, the questions before
// each replacement, replacements in open documents, and the results added to the tree a
// batch at a time while the window stays responsive.

#include "search/core/FileSearchEngine.h"
#include "search/core/SearchScope.h"

#include <QElapsedTimer>
#include <QObject>
#include <QPoint>
#include <QStringList>

class QTimer;

namespace orvel {

class IDialogs;
class ISearchDialogs;
class ISearchHost;
class TMatchWalk;
class TSearchResultsModel;

struct TFileSearchParams {
    QString search;
    QString replacement;
    bool replace = false;
    bool confirm = false;
    bool ignoreCase = false;
    bool wholeWord = false;
    TFileSearchScope scope = fsOpenFiles;
    QString types; // the file-types box: masks separated by ","
    QString folder;
    bool subDirs = true;
    QPoint confirmPos; // where the questions go
    int threads = 0;   // 0: one for each processor
};

class TFileSearchRun : public QObject {
    Q_OBJECT
public:
    TFileSearchRun(ISearchHost& host, IDialogs& dialogs, ISearchDialogs& searchDialogs,
                   TSearchResultsModel& results, QObject* parent = nullptr);
    ~TFileSearchRun() override;

    enum TStart { Started, NothingToDo, Declined, IllegalMask, NotSaved };
    // Runs the steps before the search and starts it; Started runs until finished().
    TStart start(const TFileSearchParams& params);
    void cancel();
    bool isRunning() const { return m_running; }

    QString statusText() const { return m_status; }
    QStringList notes() const { return m_notes; }
    qsizetype filesWithHits() const { return m_files; }
    qsizetype hits() const { return m_hits; }
    qsizetype notText() const { return m_notText; }
    bool wasCancelled() const { return m_cancelled; }

    // Milliseconds between two looks at the engine, and the most one look may take.
    void setTiming(int intervalMs, int sliceMs);

Q_SIGNALS:
    void statusChanged(const QString& text);
    // total is final once the walk has ended (totalKnown).
    void progressChanged(qsizetype done, qsizetype total, bool totalKnown);
    void noteAdded(const QString& note);
    void finished();

private:
    void poll();
    void handle(TFileOutcome& outcome, QList<TTextInfo>& batch);
    void finishPending(TFileOutcome& outcome, QList<TTextInfo>& batch);
    void addHits(TFileOutcome& outcome, QList<TTextInfo>& batch);
    void addNote(const QString& note);
    // Walks the matches of a text, asking when confirmation is on. False when cancelled.
    bool decide(TMatchWalk& walk, QByteArrayView text, const QString& fileName);
    void finish();
    void setStatus(const QString& text);

    ISearchHost& m_host;
    IDialogs& m_dialogs;
    ISearchDialogs& m_searchDialogs;
    TSearchResultsModel& m_results;
    TFileSearchEngine m_engine;
    TFileSearchParams m_params;
    QTimer* m_timer;
    QList<TTextInfo> m_unshown; // files with hits not yet in the tree
    QElapsedTimer m_shown;      // since files were last added to the tree, and progress told
    static constexpr int kShowEveryMs = 100;
    int m_sliceMs = 12;
    bool m_running = false;
    bool m_inPoll = false;
    bool m_cancelled = false;
    qsizetype m_files = 0;
    qsizetype m_hits = 0;
    qsizetype m_notText = 0;
    QString m_status;
    QStringList m_notes;
};

} // namespace orvel
