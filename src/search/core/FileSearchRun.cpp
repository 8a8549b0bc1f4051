#include "search/core/FileSearchRun.h"

#include "base/core/Dialogs.h"
#include "base/core/Translate.h"
#include "search/core/MatchWalk.h"
#include "search/core/SearchDialogs.h"
#include "search/core/SearchHost.h"
#include "search/core/SearchResultsModel.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTimer>

namespace orvel {

namespace {

// The line of a match as it reads after the replacements made before it, trimmed and cut
// around the match when long.
QString currentLine(QByteArrayView text, const QList<qsizetype>& accepted, qsizetype matchLength,
                    QByteArrayView replacement, qsizetype at) {
    qsizetype start = at;
    while (start > 0 && text[start - 1] != '\n' && text[start - 1] != '\r')
        --start;
    qsizetype end = at;
    while (end < text.size() && text[end] != '\n' && text[end] != '\r')
        ++end;
    start = qMax(start, at - kContextBefore);
    end = qMin(end, at + matchLength + kContextAfter);
    QByteArray line;
    qsizetype from = start;
    for (const qsizetype a : accepted) {
        if (a < start || a + matchLength > at)
            continue;
        line += text.sliced(from, a - from);
        line += replacement;
        from = a + matchLength;
    }
    line += text.sliced(from, end - from);
    return QString::fromUtf8(line).trimmed();
}

} // namespace

TFileSearchRun::TFileSearchRun(ISearchHost& host, IDialogs& dialogs, ISearchDialogs& searchDialogs,
                               TSearchResultsModel& results, QObject* parent)
    : QObject(parent), m_host(host), m_dialogs(dialogs), m_searchDialogs(searchDialogs),
      m_results(results), m_timer(new QTimer(this)) {
    m_timer->setObjectName(QStringLiteral("searchPoll"));
    m_timer->setInterval(20);
    connect(m_timer, &QTimer::timeout, this, &TFileSearchRun::poll);
}

TFileSearchRun::~TFileSearchRun() = default;

void TFileSearchRun::setTiming(int intervalMs, int sliceMs) {
    m_timer->setInterval(intervalMs);
    m_sliceMs = sliceMs;
}

void TFileSearchRun::setStatus(const QString& text) {
    m_status = text;
    Q_EMIT statusChanged(text);
}

void TFileSearchRun::addNote(const QString& note) {
    m_notes << note;
    Q_EMIT noteAdded(note);
}

TFileSearchRun::TStart TFileSearchRun::start(const TFileSearchParams& params) {
    if (m_running || params.search.isEmpty())
        return NothingToDo;
    const QString title = m_host.appTitle();
    TFileSearchRequest request;
    request.filter.setMode(TTextFilter::kPassMatching);
    try {
        request.filter.setFilter(filterFromTypes(params.types));
    } catch (const EFilterError& e) {
        // Ignoring the mask would search, and replace in, every file of the tree.
        m_dialogs.error(title, e.message());
        setStatus(e.message());
        return IllegalMask;
    }
    if (params.replace) {
        if (m_dialogs.ask(title, T_("Are you sure to change the selected files?"), mbYes | mbNo,
                          mrNo) != mrYes)
            return Declined;
        if (!m_host.saveAllDocuments())
            return NotSaved;
    }
    m_params = params;
    setStatus(T_("Start searching"));

    request.search = params.search;
    request.replacement = params.replacement;
    request.replace = params.replace;
    request.confirm = params.replace && params.confirm;
    request.matchCase = !params.ignoreCase;
    request.wholeWord = params.wholeWord;
    request.threads = params.threads;
    request.documents = m_host.documentFiles();
    switch (params.scope) {
    case fsOpenFiles: {
        TExtensionFilter passes(request.filter);
        for (const QString& f : std::as_const(request.documents))
            if (passes.passes(QFile::encodeName(QFileInfo(f).fileName())))
                request.files << f;
        break;
    }
    case fsProject:
        request.walkFolder = true;
        request.folder = m_host.projectRoot();
        request.subDirs = true;
        break;
    case fsFolder:
        if (QFileInfo(params.folder).isDir()) {
            request.walkFolder = true;
            request.folder = params.folder;
            request.subDirs = params.subDirs;
        } else {
            m_dialogs.error(title, fmt(T_("Directory:\r\n%s\r\nnot found!"), {params.folder}));
        }
        break;
    }

    m_results.clear();
    m_unshown.clear();
    m_shown.invalidate();
    m_files = m_hits = m_notText = 0;
    m_notes.clear();
    m_cancelled = false;
    m_running = true;
    m_engine.start(std::move(request));
    Q_EMIT progressChanged(0, 0, false);
    m_timer->start();
    return Started;
}

void TFileSearchRun::cancel() {
    if (!m_running)
        return;
    m_cancelled = true;
    m_engine.cancel();
}

void TFileSearchRun::poll() {
    if (m_inPoll || !m_running)
        return; // a question is open: the run waits for its answer
    m_inPoll = true;
    QElapsedTimer slice;
    slice.start();
    while (slice.elapsed() < m_sliceMs) {
        QList<TFileOutcome> outcomes = m_engine.take(64);
        if (outcomes.isEmpty())
            break;
        for (TFileOutcome& o : outcomes)
            handle(o, m_unshown);
    }
    const bool finished = m_engine.finished();
    // Every insertion lays out and paints the tree again, every step the progress bar: both
    // move a few times a second, not at every look.
    if (finished || !m_shown.isValid() || m_shown.elapsed() >= kShowEveryMs) {
        m_results.append(std::move(m_unshown));
        m_unshown.clear();
        m_shown.start();
        const TFileSearchEngine::TProgress p = m_engine.progress();
        Q_EMIT progressChanged(p.done, p.total, p.listed);
    }
    if (finished)
        finish();
    m_inPoll = false;
}

void TFileSearchRun::addHits(TFileOutcome& outcome, QList<TTextInfo>& batch) {
    if (outcome.info.FLines.isEmpty())
        return;
    ++m_files;
    m_hits += outcome.info.FLines.size();
    batch << std::move(outcome.info);
}

void TFileSearchRun::handle(TFileOutcome& outcome, QList<TTextInfo>& batch) {
    switch (outcome.kind) {
    case TFileOutcome::Hits:
        addHits(outcome, batch);
        break;
    case TFileOutcome::Pending:
        if (m_cancelled)
            break;
        // Files before it are shown before the question comes.
        m_results.append(std::move(batch));
        batch.clear();
        finishPending(outcome, batch);
        break;
    case TFileOutcome::NotText:
        ++m_notText;
        break;
    case TFileOutcome::Missing:
    case TFileOutcome::Changed:
    case TFileOutcome::Failed:
        addNote(outcome.note);
        break;
    case TFileOutcome::NoHits:
    case TFileOutcome::Cancelled:
        break;
    }
}

bool TFileSearchRun::decide(TMatchWalk& walk, QByteArrayView text, const QString& fileName) {
    const QByteArray replacement = m_params.replacement.toUtf8();
    bool allInFile = !m_params.confirm;
    while (walk.next()) {
        if (!allInFile) {
            TFileReplaceQuestion q;
            q.screenPos = m_params.confirmPos;
            q.fileName = fileName;
            q.line = currentLine(text, walk.accepted(), walk.end() - walk.start(), replacement,
                                 walk.start());
            q.search = m_params.search;
            q.replacement = m_params.replacement;
            const TFileReplaceAnswer answer = m_searchDialogs.confirmFileReplace(q);
            if (answer == frCancel)
                return false;
            if (answer == frNo)
                continue;
            allInFile = answer == frAllInFile;
        }
        walk.accept();
    }
    return true;
}

void TFileSearchRun::finishPending(TFileOutcome& outcome, QList<TTextInfo>& batch) {
    const QString name = outcome.info.FText;
    std::shared_ptr<TSearchFile> file = outcome.file;
    QByteArray documentText;
    const bool inDocument = !file && m_host.documentText(name, documentText);
    if (!file) {
        file = std::make_shared<TSearchFile>();
        if (inDocument) {
            file->setEditorText(std::move(documentText));
        } else {
            // The document went since the search began: its file, saved before, is searched.
            switch (file->read(QFile::encodeName(name))) {
            case TSearchFile::Text:
                break;
            case TSearchFile::NotText:
                ++m_notText;
                return;
            case TSearchFile::Missing:
                addNote(fmt(T_("File removed during the search, skipped: %s"), {name}));
                return;
            case TSearchFile::Failed:
                addNote(fmt(T_("Error reading %s: %s"), {name, file->error}));
                return;
            }
        }
    }
    const QByteArray replacement = m_params.replacement.toUtf8();
    const TTextMatcher& matcher = m_engine.matcher();
    TMatchWalk walk(matcher, file->text(), true, replacement);
    if (!decide(walk, file->text(), name)) {
        // The file's replacements so far are dropped; files finished before keep theirs.
        m_cancelled = true;
        m_engine.cancel();
        return;
    }
    if (walk.accepted().isEmpty())
        return;
    if (!inDocument) {
        TFileOutcome written = TFileSearchEngine::writeReplaced(m_engine.request(), *file, name,
                                                                walk.accepted(), matcher.length());
        handle(written, batch);
        return;
    }
    if (!m_host.replaceInDocument(name, walk.accepted(), matcher.length(), m_params.replacement)) {
        addNote(fmt(T_("The document was closed, nothing replaced: %s"), {name}));
        return;
    }
    const QByteArray text =
        replacedText(file->text(), walk.accepted(), matcher.length(), replacement);
    outcome.kind = TFileOutcome::Hits;
    hitLines(outcome.info, text, walk.acceptedAfterReplacing(), replacement.size());
    addHits(outcome, batch);
}

void TFileSearchRun::finish() {
    m_timer->stop();
    m_running = false;
    m_cancelled = m_cancelled || m_engine.cancelled();
    for (const QString& folder : m_engine.collectNotes().unreadableFolders)
        addNote(fmt(T_("Folder not readable, skipped: %s"), {folder}));
    QString status;
    if (m_cancelled)
        status = T_("Searching was cancelled!");
    else if (m_files > 0)
        status = fmt(T_("%u matches found in\r\n%u file(s)!"),
                     {QString::number(m_hits), QString::number(m_files)});
    else
        status = T_("Found no matches");
    if (m_notText > 0)
        status += QStringLiteral("\r\n") +
                  fmt(T_("%u file(s) skipped: not text"), {QString::number(m_notText)});
    setStatus(status);
    Q_EMIT finished();
}

} // namespace orvel
