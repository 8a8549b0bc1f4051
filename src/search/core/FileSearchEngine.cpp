#include "search/core/FileSearchEngine.h"

#include "base/core/AtomicFile.h"
#include "base/core/TextCodec.h"
#include "base/core/Translate.h"
#include "search/core/MatchWalk.h"

#include <QFile>
#include <QSet>
#include <QThread>
#include <condition_variable>
#include <map>
#include <mutex>
#include <sys/resource.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace orvel {

namespace {

// How far the workers may run ahead of the outcomes taken. Searching, they never wait for
// the window between two of its looks (most outcomes are small); confirming, the files
// waiting for their questions stay few.
constexpr qsizetype kAheadSearching = 16384;
constexpr qsizetype kAheadConfirming = 8;

struct TFileKey {
    quint64 device;
    quint64 inode;
    friend bool operator==(const TFileKey&, const TFileKey&) = default;
};
size_t qHash(const TFileKey& k, size_t seed = 0) {
    return qHashMulti(seed, k.device, k.inode);
}

// The threads of a search give way to the user-interface thread, so that on a busy machine
// the window still answers at once.
void yieldToWindow() {
    ::setpriority(PRIO_PROCESS, pid_t(::gettid()), 5);
}

} // namespace

// Where the matcher first finds its bytes in data, or -1, looking at the cancel flag between
// slices of a large file.
qsizetype firstFound(const TTextMatcher& m, QByteArrayView data, const std::atomic<bool>& cancel) {
    constexpr qsizetype kSlice = 4 << 20;
    for (qsizetype at = 0; at < data.size() && !cancel.load(std::memory_order_relaxed);
         at += kSlice)
        if (const qsizetype found = m.find(data, at, qMin(data.size(), at + kSlice)); found >= 0)
            return found;
    return -1;
}

struct TFileSearchEngine::TState {
    TFileSearchRequest request;
    TTextMatcher matcher;
    // The search text's bytes in UTF-8 and in Windows-1252: a file that holds neither
    // cannot match, whatever its encoding turns out to be.
    TTextMatcher storedUtf8;
    TTextMatcher storedAnsi;
    QByteArray replacement; // UTF-8
    QSet<TFileKey> documents;
    qsizetype ahead = kAheadSearching;

    std::atomic<bool> cancel{false};
    mutable std::mutex mutex;
    std::condition_variable changed; // files listed, outcomes taken, or cancel
    std::vector<QByteArray> files;
    // Read without the lock by the user-interface thread, which never waits for a worker.
    std::atomic<bool> listed{false};
    std::atomic<qsizetype> listedCount{0};
    std::atomic<qsizetype> done{0};
    qsizetype nextFile = 0;
    std::map<qsizetype, TFileOutcome> ready;
    qsizetype nextOut = 0;
    int running = 0;
    std::vector<std::thread> threads;
    TCollectNotes notes;

    void list();
    void work();
    TFileOutcome process(qsizetype index, const QByteArray& native, TSearchFile& file);
    bool isDocument(const QByteArray& native) const;
    void join();
};

TFileSearchEngine::TFileSearchEngine() : d(std::make_unique<TState>()) {
}

TFileSearchEngine::~TFileSearchEngine() {
    cancel();
    d->join();
}

void TFileSearchEngine::TState::join() {
    for (std::thread& t : threads)
        if (t.joinable())
            t.join();
    threads.clear();
}

void TFileSearchEngine::start(TFileSearchRequest request) {
    d->join();
    TState& s = *d;
    s.request = std::move(request);
    s.matcher = TTextMatcher(s.request.search, s.request.matchCase, s.request.wholeWord);
    s.replacement = s.request.replacement.toUtf8();
    s.storedUtf8 = TTextMatcher::forBytes(s.request.search.toUtf8(), s.request.matchCase);
    QByteArray ansi;
    for (const char32_t c : s.request.search.toUcs4()) {
        const int b = codec::unicodeToAnsi(c);
        if (b < 0) {
            ansi.clear();
            break;
        }
        ansi += char(b);
    }
    s.storedAnsi = ansi == s.request.search.toUtf8()
                       ? TTextMatcher()
                       : TTextMatcher::forBytes(ansi, s.request.matchCase);
    s.documents.clear();
    if (s.request.replace)
        for (const QString& doc : s.request.documents) {
            const TFileStamp st = fileStampOf(QFile::encodeName(doc));
            if (st.exists())
                s.documents.insert({st.device, st.inode});
        }
    s.ahead = s.request.replace && s.request.confirm ? kAheadConfirming : kAheadSearching;
    s.cancel = false;
    s.files.clear();
    s.listed = false;
    s.listedCount = 0;
    s.done = 0;
    s.nextFile = s.nextOut = 0;
    s.ready.clear();
    s.notes = {};
    const int workers =
        s.request.threads > 0 ? s.request.threads : qMax(1, QThread::idealThreadCount());
    s.running = workers + 1;
    s.threads.emplace_back([&s] {
        yieldToWindow();
        s.list();
    });
    for (int i = 0; i < workers; ++i)
        s.threads.emplace_back([&s] {
            yieldToWindow();
            s.work();
        });
}

void TFileSearchEngine::cancel() {
    // Without the lock, so that the window never waits; a worker that misses the notice
    // sees the flag at its next look (workers wait in short steps).
    d->cancel = true;
    d->changed.notify_all();
}

bool TFileSearchEngine::cancelled() const {
    return d->cancel;
}

TFileSearchEngine::TProgress TFileSearchEngine::progress() const {
    return {d->done.load(), d->listedCount.load(), d->listed.load()};
}

const TFileSearchRequest& TFileSearchEngine::request() const {
    return d->request;
}

const TTextMatcher& TFileSearchEngine::matcher() const {
    return d->matcher;
}

TCollectNotes TFileSearchEngine::collectNotes() const {
    std::lock_guard lock(d->mutex);
    return d->notes;
}

QList<TFileOutcome> TFileSearchEngine::take(qsizetype max) {
    QList<TFileOutcome> out;
    {
        // A worker holding the lock may have been put aside by a busy machine: the window
        // does not wait for it, the next look will find the outcomes.
        std::unique_lock lock(d->mutex, std::try_to_lock);
        if (!lock.owns_lock())
            return out;
        // Once the threads are gone nothing fills a gap: the rest comes as it is.
        const bool skipGaps = d->running == 0;
        while (qsizetype(out.size()) < max && !d->ready.empty()) {
            auto it = d->ready.begin();
            if (it->first != d->nextOut && !skipGaps)
                break;
            d->nextOut = it->first + 1;
            out << std::move(it->second);
            d->ready.erase(it);
        }
    }
    if (!out.isEmpty())
        d->changed.notify_all();
    return out;
}

bool TFileSearchEngine::finished() {
    // The threads are joined by the next start: one that has yet to be given the processor
    // for its last steps must not hold up the window.
    std::unique_lock lock(d->mutex, std::try_to_lock);
    return lock.owns_lock() && d->running == 0 && d->ready.empty();
}

void TFileSearchEngine::TState::list() {
    const auto add = [this](const QByteArray& native) {
        {
            std::lock_guard lock(mutex);
            files.push_back(native);
            listedCount = qsizetype(files.size());
        }
        changed.notify_one();
        return !cancel.load(std::memory_order_relaxed);
    };
    TCollectNotes found;
    if (request.walkFolder) {
        CollectFiles(request.folder, request.subDirs, request.filter, add, &found, &cancel);
    } else {
        for (const QString& f : std::as_const(request.files))
            if (!add(QFile::encodeName(f)))
                break;
    }
    {
        std::lock_guard lock(mutex);
        listed = true;
        notes = found;
        --running;
    }
    changed.notify_all();
}

void TFileSearchEngine::TState::work() {
    TSearchFile file; // its buffer serves file after file
    std::unique_lock lock(mutex);
    while (true) {
        while (!changed.wait_for(lock, std::chrono::milliseconds(20), [this] {
            return cancel || (nextFile < qsizetype(files.size()) && nextFile - nextOut < ahead) ||
                   (listed && nextFile >= qsizetype(files.size()));
        })) {
        }
        if (cancel || nextFile >= qsizetype(files.size()))
            break;
        const qsizetype index = nextFile++;
        const QByteArray native = files[size_t(index)];
        lock.unlock();
        TFileOutcome outcome = process(index, native, file);
        lock.lock();
        ready.emplace(index, std::move(outcome));
        ++done;
    }
    --running;
    lock.unlock();
    changed.notify_all();
}

bool TFileSearchEngine::TState::isDocument(const QByteArray& native) const {
    if (documents.isEmpty())
        return false;
    const TFileStamp st = fileStampOf(native);
    return st.exists() && documents.contains({st.device, st.inode});
}

TFileOutcome TFileSearchEngine::TState::process(qsizetype index, const QByteArray& native,
                                                TSearchFile& file) {
    TFileOutcome out;
    out.index = index;
    // Most files have no hits: their outcome carries no name.
    const auto named = [&out, &native]() -> const QString& {
        out.info.FText = QFile::decodeName(native);
        return out.info.FText;
    };
    if (request.replace && isDocument(native)) {
        named();
        out.kind = TFileOutcome::Pending;
        return out;
    }
    switch (file.load(native, request.replace)) {
    case TSearchFile::Missing:
        out.kind = TFileOutcome::Missing;
        out.note = fmt(T_("File removed during the search, skipped: %s"), {named()});
        return out;
    case TSearchFile::NotText:
        out.kind = TFileOutcome::NotText;
        return out;
    case TSearchFile::Failed:
        out.kind = TFileOutcome::Failed;
        out.note = fmt(T_("Error reading %s: %s"), {named(), file.error});
        return out;
    case TSearchFile::Text:
        break;
    }
    if (file.looksBinary()) {
        out.kind = TFileOutcome::NotText;
        return out;
    }
    // Most files hold no match: their bytes tell it before they are decoded.
    const qsizetype utf8At = file.isUtf16() ? 0 : firstFound(storedUtf8, file.bytes, cancel);
    if (utf8At < 0 && (storedAnsi.isEmpty() || firstFound(storedAnsi, file.bytes, cancel) < 0))
        return out;
    if (file.decode() != TSearchFile::Text) {
        out.kind = TFileOutcome::NotText;
        return out;
    }
    const bool confirming = request.replace && request.confirm;
    TMatchWalk walk(matcher, file.text(), request.replace && !confirming, replacement);
    // Text that is the stored bytes holds no match before the bytes' first one.
    if (utf8At > 0 && file.textOffset() >= 0)
        walk.skipTo(qMax<qsizetype>(0, utf8At - file.textOffset()));
    while (walk.next(&cancel)) {
        walk.accept();
        if (confirming)
            break; // the questions decide; that there is a match is enough here
    }
    if (cancel) {
        out.kind = TFileOutcome::Cancelled;
        return out;
    }
    if (walk.accepted().isEmpty())
        return out;
    const QString& name = named();
    if (confirming) {
        out.kind = TFileOutcome::Pending;
        out.file = std::make_shared<TSearchFile>(std::move(file));
        file = TSearchFile();
        return out;
    }
    if (request.replace)
        return TFileSearchEngine::writeReplaced(request, file, name, walk.accepted(),
                                                matcher.length());
    out.kind = TFileOutcome::Hits;
    hitLines(out.info, file.text(), walk.accepted(), matcher.length());
    return out;
}

TFileOutcome TFileSearchEngine::writeReplaced(const TFileSearchRequest& request,
                                              const TSearchFile& file, const QString& fileName,
                                              const QList<qsizetype>& accepted,
                                              qsizetype matchLength) {
    TFileOutcome out;
    out.info.FText = fileName;
    if (accepted.isEmpty())
        return out;
    const TResult<QByteArray> bytes =
        replacedBytes(file, accepted, matchLength, request.replacement);
    if (!bytes.ok()) {
        out.kind = TFileOutcome::Failed;
        out.note = fmt(T_("%s was not changed: %s"), {fileName, bytes.error()});
        return out;
    }
    const QByteArray native = QFile::encodeName(fileName);
    if (!file.stamp.exists() || fileStampOf(native) != file.stamp) {
        out.kind = TFileOutcome::Changed;
        out.note = fmt(T_("File changed during the search, not written: %s"), {fileName});
        return out;
    }
    const QString error = writeFileAtomically(fileName, bytes.value());
    if (!error.isNull()) {
        out.kind = TFileOutcome::Failed;
        out.note = fmt(T_("Error writing %s: %s"), {fileName, error});
        return out;
    }
    const QByteArray replacement = request.replacement.toUtf8();
    const QByteArray text = replacedText(file.text(), accepted, matchLength, replacement);
    QList<qsizetype> starts;
    starts.reserve(accepted.size());
    for (qsizetype i = 0; i < accepted.size(); ++i)
        starts << accepted[i] + i * (replacement.size() - matchLength);
    out.kind = TFileOutcome::Hits;
    hitLines(out.info, text, starts, replacement.size());
    return out;
}

} // namespace orvel
