// The preview as the user meets it: the first preview from the command to a painted page, and
// with live refresh on, the time from the last key to the refreshed, painted page of a 200 KB
// document. Each engine separately; the first preview is first only in a process of its own
// (--benchmark_filter=FirstPreview/1), since the web engine stays loaded once it started.

#include "QuietDialogs.h"
#include "app/ui/Orvelfrm.h"
#include "editor/ui/OrvelMDI.h"
#include "preview/ui/WebView.h"
#include "textcontrol/ui/EditorControl.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTimer>
#include <benchmark/benchmark.h>
#include <cstdio>

using namespace orvel;
using orvel::bench::QuietDialogs;

namespace {

// Sees the paint events of a widget and of all the widgets inside it, also those made later.
class PaintWatch : public QObject {
public:
    explicit PaintWatch(QWidget* w) { watch(w); }
    int paints = 0;

protected:
    bool eventFilter(QObject* o, QEvent* e) override {
        if (e->type() == QEvent::Paint || e->type() == QEvent::UpdateRequest)
            ++paints;
        else if (e->type() == QEvent::ChildAdded)
            if (auto* w = qobject_cast<QWidget*>(static_cast<QChildEvent*>(e)->child()))
                watch(w);
        return QObject::eventFilter(o, e);
    }

private:
    void watch(QWidget* w) {
        w->installEventFilter(this);
        for (QWidget* c : w->findChildren<QWidget*>())
            c->installEventFilter(this);
    }
};

// Runs the event loop until done() holds; false after the time limit.
template <typename F> bool waitFor(F done, int ms = 60000) {
    QElapsedTimer t;
    t.start();
    QTimer tick;
    tick.start(2); // wakes the loop while other processes work
    while (!done()) {
        if (t.elapsed() > ms)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    }
    return true;
}

QByteArray pageOfSize(int bytes) {
    QByteArray page = "<html><head><title>Long page</title></head><body>\r\n";
    for (int i = 0; page.size() < bytes; ++i)
        page += "<p class=\"x\">Paragraph " + QByteArray::number(i) +
                " with <b>some</b> text and <a href=\"#p\">a link</a>, Gr\xc3\xbc\xc3\x9f"
                "e.</p>\r\n";
    return page + "</body></html>\r\n";
}

struct Shell {
    QTemporaryDir dir;
    QuietDialogs dialogs;
    std::unique_ptr<THauptForm> window;

    Shell(bool modern, const QByteArray& page) {
        const QString doc = dir.filePath(QStringLiteral("page.html"));
        QFile f(doc);
        if (f.open(QIODevice::WriteOnly))
            f.write(page);
        f.close();
        const QString ini = dir.filePath(QStringLiteral("orvel.ini"));
        QFile settings(ini);
        if (settings.open(QIODevice::WriteOnly))
            settings.write(QByteArray("[Config]\r\nEdgeBrowser=") + (modern ? "1" : "0") +
                           "\r\n[Preview]\r\nLiveRefresh=1\r\nLiveRefreshDelay=500\r\n");
        settings.close();
        TShellStart start;
        start.userPath = dir.path() + u'/';
        start.iniName = ini;
        start.comLineFiles = {doc};
        start.programName = QStringLiteral("orvel");
        start.localDataPath = dir.path() + QStringLiteral("/local/");
        window = std::make_unique<THauptForm>(start, dialogs);
        window->Init();
        window->show();
    }
};

// The page is loaded and drawn after it: the user sees it.
bool waitPainted(TfrmWebView* view, const std::function<void()>& act) {
    bool loaded = false;
    auto conn = QObject::connect(view, &TfrmWebView::pageLoaded, [&](bool) { loaded = true; });
    std::unique_ptr<PaintWatch> watch;
    int paintsAtLoad = -1;
    act();
    const bool ok = waitFor([&] {
        if (!watch && view->engine())
            watch = std::make_unique<PaintWatch>(view->engine()->widget());
        if (loaded && paintsAtLoad < 0 && watch) {
            paintsAtLoad = watch->paints;
            // The web engine may have drawn the page before it says it is loaded: one more
            // frame asked for shows what is on screen now.
            view->engine()->widget()->update();
            for (QWidget* c : view->engine()->widget()->findChildren<QWidget*>())
                c->update();
        }
        return loaded && watch && watch->paints > paintsAtLoad;
    });
    QObject::disconnect(conn);
    if (!ok)
        std::fprintf(stderr, "loaded %d, paints %d, at load %d, visible %d, url %s\n", loaded,
                     watch ? watch->paints : -1, paintsAtLoad, view->isVisible(),
                     qPrintable(view->engine()->url().toString()));
    return ok;
}

void BM_FirstPreview(benchmark::State& state) {
    const bool modern = state.range(0) != 0;
    for (auto _ : state) {
        Shell shell(modern, pageOfSize(20 * 1024));
        THauptForm* w = shell.window.get();
        QElapsedTimer t;
        t.start();
        // The window is made on first use: its making counts.
        TfrmWebView* view = w->previewWindow();
        const bool ok = waitPainted(view, [&] { w->ActionPreviewExecute(); });
        const double s = t.nsecsElapsed() / 1e9;
        if (!ok || view->EdgeMode() != modern) {
            state.SkipWithError("the preview showed no page");
            return;
        }
        state.SetIterationTime(s);
    }
}
BENCHMARK(BM_FirstPreview)
    ->Arg(0)
    ->Arg(1)
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

void BM_LiveRefresh200KB(benchmark::State& state) {
    const bool modern = state.range(0) != 0;
    Shell shell(modern, pageOfSize(200 * 1024));
    THauptForm* w = shell.window.get();
    TfrmWebView* view = w->previewWindow();
    if (!waitPainted(view, [&] { w->ActionPreviewExecute(); }) || view->EdgeMode() != modern) {
        state.SkipWithError("the preview showed no page");
        return;
    }
    TEditorControl* editor = w->activeDocument()->TextBuffer();
    editor->setCaretXY({1, 3});
    int n = 0;
    for (auto _ : state) {
        QElapsedTimer t;
        const bool ok = waitPainted(view, [&] {
            // One key: the last one before the pause.
            editor->setSelText(QStringLiteral("<b>%1</b>").arg(++n));
            t.start();
        });
        if (!ok) {
            state.SkipWithError("the page did not follow the text");
            return;
        }
        state.SetIterationTime(t.nsecsElapsed() / 1e9);
    }
    state.counters["pause_ms"] = view->options().LiveRefreshDelay;
}
BENCHMARK(BM_LiveRefresh200KB)
    ->Arg(0)
    ->Arg(1)
    ->Iterations(10)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The web engine's module is built beside the benchmarks' folder.
    if (qEnvironmentVariableIsEmpty("ORVEL_MODULE_DIR"))
        qputenv("ORVEL_MODULE_DIR", QFile::encodeName(QFileInfo(QString::fromLocal8Bit(argv[0]))
                                                          .absoluteDir()
                                                          .absoluteFilePath(QStringLiteral(".."))));
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
