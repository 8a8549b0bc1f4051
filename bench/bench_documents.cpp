// The main window with many documents: switching between them and closing them all.

#include "QuietDialogs.h"
#include "app/ui/Orvelfrm.h"
#include "editor/ui/OrvelMDI.h"

#include "BenchMain.h"
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace orvel;
using orvel::bench::QuietDialogs;

namespace {

QStringList makeFiles(const QTemporaryDir& dir, int n) {
    QStringList files;
    for (int i = 0; i < n; ++i) {
        const QString name = dir.filePath(QStringLiteral("page%1.html").arg(i));
        QFile f(name);
        if (f.open(QIODevice::WriteOnly))
            f.write(QByteArray("<html><body><p>Page text</p></body></html>\n").repeated(50));
        files << name;
    }
    return files;
}

std::unique_ptr<THauptForm> makeWindow(const QTemporaryDir& dir, const QStringList& files,
                                       IDialogs& dialogs) {
    TShellStart start;
    start.userPath = dir.path() + u'/';
    start.comLineFiles = files;
    return std::make_unique<THauptForm>(start, dialogs);
}

void BM_SwitchTabs(benchmark::State& state) {
    QTemporaryDir dir;
    QuietDialogs dialogs;
    auto w = makeWindow(dir, makeFiles(dir, int(state.range(0))), dialogs);
    w->Init();
    w->show();
    int i = 0;
    for (auto _ : state) {
        w->ActivateWindow(i % int(state.range(0)));
        QCoreApplication::processEvents();
        i += 7;
    }
}
BENCHMARK(BM_SwitchTabs)->Arg(200)->Unit(benchmark::kMillisecond);

// Start-up with the documents named on the command line, until all are open.
void BM_OpenAtStart(benchmark::State& state) {
    QTemporaryDir dir;
    const QStringList files = makeFiles(dir, int(state.range(0)));
    QuietDialogs dialogs;
    for (auto _ : state) {
        state.PauseTiming();
        auto w = makeWindow(dir, files, dialogs);
        state.ResumeTiming();
        w->Init();
        state.PauseTiming();
        w->CloseAllTexts(false);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        w.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_OpenAtStart)->Arg(200)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_CloseAll(benchmark::State& state) {
    QTemporaryDir dir;
    const QStringList files = makeFiles(dir, int(state.range(0)));
    QuietDialogs dialogs;
    for (auto _ : state) {
        state.PauseTiming();
        auto w = makeWindow(dir, files, dialogs);
        w->Init();
        w->show();
        QCoreApplication::processEvents();
        state.ResumeTiming();
        w->CloseAllTexts(false);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        state.PauseTiming();
        w.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_CloseAll)->Arg(200)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

ORVEL_WIDGET_BENCH_MAIN()
