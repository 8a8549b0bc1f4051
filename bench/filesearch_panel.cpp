// The search in files as the user sees it: the page and the results tree in a window, a
// search started with the button and timed until the whole tree is shown, the longest pause
// of the event loop meanwhile, how long Cancel takes, and the memory peak.
//
//   filesearch_panel FOLDER WORD [RUNS] [THREADS]
//
// With RUNS 0 the window stays open with the search prepared, to be tried by hand; with RUNS
// -1 one search runs and the program ends when the tree is shown, for timing the whole
// process beside another tool.
// The search ignores case and takes every file of the folder and its subfolders.

#include "base/core/Dialogs.h"
#include "base/ui/HListBox.h"
#include "search/core/FileSearchRun.h"
#include "search/core/SearchDialogs.h"
#include "search/core/SearchHost.h"
#include "search/core/SearchResultsModel.h"
#include "search/ui/FileSearchPage.h"
#include "search/ui/SearchResultsPage.h"

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QFile>
#include <QPushButton>
#include <QRadioButton>
#include <QSplitter>
#include <QTimer>
#include <QTreeView>
#include <cstdio>
#include <ctime>
#include <sys/resource.h>

using namespace orvel;

namespace {

class Host : public ISearchHost {
public:
    QString appTitle() const override { return QStringLiteral("Tagsmith"); }
    QStringList documentFiles() const override { return {}; }
    QString activeDocumentName() const override { return {}; }
    bool documentText(const QString&, QByteArray&) const override { return false; }
    bool replaceInDocument(const QString&, const QList<qsizetype>&, qsizetype,
                           const QString&) override {
        return false;
    }
    bool saveAllDocuments() override { return true; }
    bool openFileAt(const QString&, TBufferCoord, TBufferCoord) override { return true; }
    bool hasProjects() const override { return false; }
    QString projectRoot() const override { return {}; }
    QString projectTextTypes() const override { return {}; }
};

class Dialogs : public IDialogs, public ISearchDialogs {
public:
    TMsgResult ask(const QString&, const QString&, int, TMsgResult) override { return mrNo; }
    void error(const QString& title, const QString& text) override {
        std::fprintf(stderr, "%s: %s\n", qPrintable(title), qPrintable(text));
    }
    void info(const QString&, const QString&) override {}
    QString openFileName(const TFileDialogArgs&) override { return {}; }
    QString saveFileName(const TFileDialogArgs&) override { return {}; }
    QString chooseFolder(const QString&, const QString&, const QString&) override { return {}; }
    int choose(const QString&, const QString&, const QStringList&) override { return -1; }
    bool inputText(const QString&, const QString&, QString&) override { return false; }
    void beep() override {}
    TReplaceAction confirmReplace(QPoint, const QString&) override { return raCancel; }
    TFileReplaceAnswer confirmFileReplace(const TFileReplaceQuestion&) override { return frCancel; }
};

// Processor time of the whole process, all threads, in milliseconds.
double processCpuMs() {
    rusage u;
    getrusage(RUSAGE_SELF, &u);
    return (u.ru_utime.tv_sec + u.ru_stime.tv_sec) * 1e3 +
           (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e3;
}

qint64 threadCpuNs() {
    timespec ts;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return qint64(ts.tv_sec) * 1000000000 + ts.tv_nsec;
}

// Notes the longest time one event took, and what it was.
class TimedApp : public QApplication {
public:
    using QApplication::QApplication;
    bool notify(QObject* receiver, QEvent* event) override {
        QElapsedTimer t;
        t.start();
        const qint64 cpu0 = threadCpuNs();
        const bool r = QApplication::notify(receiver, event);
        const qint64 ns = t.nsecsElapsed();
        if (ns > longest) {
            longest = ns;
            what = QStringLiteral("%1 to %2, %3 ms of it on the processor")
                       .arg(int(event->type()))
                       .arg(QString::fromLatin1(receiver->metaObject()->className()) + u' ' +
                            receiver->objectName())
                       .arg(double(threadCpuNs() - cpu0) / 1e6, 0, 'f', 1);
        }
        return r;
    }
    qint64 longest = 0;
    QString what;
};

// Kilobytes of a line of /proc/self/status ("VmRSS", "VmHWM").
long statusKb(const char* key) {
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : f.readAll().split('\n'))
        if (line.startsWith(key))
            return line.mid(qstrlen(key) + 1).trimmed().split(' ').value(0).toLong();
    return -1;
}

// The longest time between two turns of the event loop while it runs.
class GapMeter : public QObject {
public:
    GapMeter() {
        m_timer.setObjectName(QStringLiteral("gapMeter"));
        m_timer.setTimerType(Qt::PreciseTimer);
        m_timer.setInterval(1);
        connect(&m_timer, &QTimer::timeout, this, [this] {
            m_max = qMax(m_max, m_clock.nsecsElapsed() - m_last);
            m_last = m_clock.nsecsElapsed();
        });
    }
    void start() {
        m_max = 0;
        m_clock.start();
        m_last = 0;
        m_timer.start();
    }
    double stopMs() {
        m_timer.stop();
        return double(m_max) / 1e6;
    }

private:
    QTimer m_timer;
    QElapsedTimer m_clock;
    qint64 m_last = 0;
    qint64 m_max = 0;
};

} // namespace

int main(int argc, char** argv) {
    TimedApp app(argc, argv);
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s FOLDER WORD [RUNS] [THREADS]\n", argv[0]);
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    const QString word = QString::fromLocal8Bit(argv[2]);
    const int runs = argc > 3 ? atoi(argv[3]) : 3;
    const int threads = argc > 4 ? atoi(argv[4]) : 0;

    Host host;
    Dialogs dialogs;
    QSplitter window;
    auto* results = new TSearchResultsPage(host);
    auto* page = new TFileSearchPage(host, dialogs, dialogs, *results->model());
    window.addWidget(page);
    window.addWidget(results);
    window.resize(1280, 800);
    window.show();
    page->setThreads(threads);
    page->rbSearchFolder->setChecked(true);
    page->hcSearchDir->setEditText(folder);
    page->hcSearchTypes->setEditText(QString());
    page->cbCase->setChecked(true);
    page->cbSearchSubDir->setChecked(true);
    page->hcSearch->setEditText(word);
    QApplication::processEvents();
    if (runs == 0) {
        // No runs: the window stays for a user (or xdotool) to search in.
        page->hcSearch->setFocus();
        return QApplication::exec();
    }
    std::printf("memory before searching: %ld KB\n", statusKb("VmRSS"));

    GapMeter gaps;
    QElapsedTimer clock;
    const auto waitForEnd = [&] {
        bool done = false;
        const auto c =
            QObject::connect(page, &TFileSearchPage::searchFinished, [&] { done = true; });
        while (!done)
            QApplication::processEvents(QEventLoop::WaitForMoreEvents);
        QObject::disconnect(c);
    };
    if (runs < 0) {
        page->btnStartSearch->click();
        waitForEnd();
        QApplication::processEvents();
        results->tree()->viewport()->repaint();
        std::printf("%lld matches in %lld files\n", static_cast<long long>(page->run()->hits()),
                    static_cast<long long>(page->run()->filesWithHits()));
        return 0;
    }
    for (int run = 0; run < runs; ++run) {
        gaps.start();
        clock.start();
        QApplication::processEvents();
        app.longest = 0;
        const double cpu0 = processCpuMs();
        page->btnStartSearch->click();
        waitForEnd();
        // Shown: every batch is in the model and the tree has painted it.
        QApplication::processEvents();
        results->tree()->viewport()->repaint();
        const double shown = double(clock.nsecsElapsed()) / 1e6;
        const double gap = gaps.stopMs();
        std::printf("longest event: %.1f ms (%s); memory peak so far %ld KB\n",
                    double(app.longest) / 1e6, qPrintable(app.what), statusKb("VmHWM"));
        app.longest = 0;
        std::printf("search: %.0f ms until the tree is shown (processor %.0f ms), %lld matches "
                    "in %lld files, longest event-loop gap %.1f ms\n",
                    shown, processCpuMs() - cpu0, static_cast<long long>(page->run()->hits()),
                    static_cast<long long>(page->run()->filesWithHits()), gap);
    }
    {
        qsizetype lines = 0;
        qsizetype excerpts = 0;
        for (qsizetype f = 0; f < results->model()->fileCount(); ++f) {
            const TTextInfo& info = results->model()->file(f);
            lines += info.FLines.capacity() * qsizetype(sizeof(TTextLine));
            excerpts += info.FSource.capacity();
        }
        std::printf("results: %.1f MB of hit records, %.1f MB of excerpts\n", double(lines) / 1e6,
                    double(excerpts) / 1e6);
    }
    {
        QElapsedTimer expand;
        expand.start();
        results->btnOpenTreeClick();
        results->tree()->viewport()->repaint();
        std::printf("expanding all %lld hits: %.0f ms\n",
                    static_cast<long long>(results->model()->hitCount()),
                    double(expand.nsecsElapsed()) / 1e6);
        expand.start();
        results->btnCloseTreeClick();
        results->tree()->viewport()->repaint();
        std::printf("collapsing them: %.0f ms\n", double(expand.nsecsElapsed()) / 1e6);
    }
    for (int run = 0; run < runs; ++run) {
        qint64 cancelAt = 0;
        clock.start();
        gaps.start();
        page->btnStartSearch->click();
        QTimer cancelTimer;
        cancelTimer.setSingleShot(true);
        QObject::connect(&cancelTimer, &QTimer::timeout, [&] {
            cancelAt = clock.nsecsElapsed();
            page->btnCancel->click();
        });
        cancelTimer.start(100 + 100 * run);
        waitForEnd();
        cancelTimer.stop();
        if (!cancelAt) {
            std::printf("cancel: the search had ended before\n");
            continue;
        }
        const double took = double(clock.nsecsElapsed() - cancelAt) / 1e6;
        std::printf("cancel after %.0f ms: ended %.1f ms later, longest gap %.1f ms\n",
                    double(cancelAt) / 1e6, took, gaps.stopMs());
    }
    std::printf("memory peak: %ld KB (now %ld KB)\n", statusKb("VmHWM"), statusKb("VmRSS"));
    return 0;
}
