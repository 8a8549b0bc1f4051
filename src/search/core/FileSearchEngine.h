#pragma once
// The search in files at work: a walk that lists the files, worker threads that read, search
// and (when replacing without questions) write them, and outcomes handed out in the order of
// the walk, so that the user-interface thread only shows them, a batch at a time.

#include "search/core/CollectFiles.h"
#include "search/core/SearchFile.h"
#include "search/core/TextFilter.h"
#include "search/core/TextMatcher.h"
#include "textcontrol/core/TextInfo.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <memory>

namespace orvel {

struct TFileSearchRequest {
    QString search;
    QString replacement;
    bool replace = false;
    bool confirm = false; // replacing asks before each replacement: the caller does it
    bool matchCase = false;
    bool wholeWord = false;
    // The files: those of a folder (and its subfolders) that pass the filter, or a list.
    bool walkFolder = false;
    QString folder;
    QStringList files;
    bool subDirs = true;
    TTextFilter filter{false, true};
    // Files open in document windows: when replacing, they are replaced there, by the caller.
    QStringList documents;
    int threads = 0; // 0: one for each processor
};

struct TFileOutcome {
    enum TKind {
        NoHits,
        Hits,     // info holds the hits (after replacing: the replaced texts)
        Pending,  // to be finished by the caller: a confirmed replacement, or a document
        NotText,  // skipped: not a text file
        Missing,  // gone since the walk listed it
        Changed,  // changed while being searched: not written
        Failed,   // read, encoding or write error: note says which, the file is untouched
        Cancelled // stopped half-way: the file is untouched
    };
    TKind kind = NoHits;
    qsizetype index = 0;
    TTextInfo info; // FText: the full file name, but for NoHits, NotText and Cancelled
    QString note;
    // Pending: the file as read (null for a document, whose text the caller holds).
    std::shared_ptr<TSearchFile> file;
};

class TFileSearchEngine {
public:
    TFileSearchEngine();
    // Cancels and waits for the threads (a file being written is finished: writes are whole).
    ~TFileSearchEngine();
    TFileSearchEngine(const TFileSearchEngine&) = delete;
    TFileSearchEngine& operator=(const TFileSearchEngine&) = delete;

    // Starts a run; an earlier one must have finished.
    void start(TFileSearchRequest request);
    // Stops the threads soon: no file is started any more, a search in a large file stops.
    void cancel();
    bool cancelled() const;

    struct TProgress {
        qsizetype done = 0;  // files searched
        qsizetype total = 0; // files listed so far
        bool listed = false; // the walk has ended: total is final
    };
    TProgress progress() const;

    // Outcomes ready, in the order of the walk, at most max. After a cancel the outcomes of
    // the files that were finished still come, gaps skipped.
    QList<TFileOutcome> take(qsizetype max);
    // True once the threads have ended and every outcome was taken.
    bool finished();

    const TFileSearchRequest& request() const;
    const TTextMatcher& matcher() const;
    TCollectNotes collectNotes() const;

    // The end of a replacement in a file on disk: the accepted matches (starts in the file's
    // text) replaced in its stored bytes and written back whole, unless the encoding cannot
    // hold the replacement or the file changed since it was read; Hits with the replaced
    // texts, or Failed or Changed with a note.
    static TFileOutcome writeReplaced(const TFileSearchRequest& request, const TSearchFile& file,
                                      const QString& fileName, const QList<qsizetype>& accepted,
                                      qsizetype matchLength);

private:
    struct TState;
    std::unique_ptr<TState> d;
};

} // namespace orvel
