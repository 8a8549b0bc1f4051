// Loading and saving a large document through the editor component.

#include "textcontrol/ui/EditorControl.h"
#include "textcontrol/ui/Highlighter.h"

#include "BenchMain.h"
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTimer>

#include <benchmark/benchmark.h>

using namespace orvel;

namespace {

constexpr qsizetype kSize = 100 * 1024 * 1024;

QString makeFile(bool ansi) {
    const QString name =
        QDir::tempPath() + (ansi ? "/orvel-bench-ansi.html" : "/orvel-bench-utf8.html");
    if (QFileInfo(name).size() >= kSize)
        return name;
    QByteArray line = ansi ? QByteArray("<p class=\"x\">Gr\xFC\xDF"
                                        "e aus K\xF6ln, caf\xE9 &amp; more text here</p>\r\n")
                           : QByteArray("<p class=\"x\">Gr\xC3\xBC\xC3\x9F"
                                        "e aus K\xC3\xB6ln, caf\xC3\xA9 &amp; more text</p>\r\n");
    QByteArray all;
    all.reserve(kSize + line.size());
    while (all.size() < kSize)
        all += line;
    QFile f(name);
    if (f.open(QIODevice::WriteOnly))
        f.write(all);
    return name;
}

void BM_LoadIntoEditor(benchmark::State& state) {
    const QString name = makeFile(state.range(0) != 0);
    TEditorControl ed;
    for (auto _ : state) {
        const TLoadedText r = ed.loadFile(name);
        benchmark::DoNotOptimize(r.encoding);
    }
    state.SetBytesProcessed(state.iterations() * QFileInfo(name).size());
}
BENCHMARK(BM_LoadIntoEditor)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_SaveFromEditor(benchmark::State& state) {
    const bool ansi = state.range(0) != 0;
    const QString name = makeFile(ansi);
    TEditorControl ed;
    const TLoadedText r = ed.loadFile(name);
    const QString out = QDir::tempPath() + "/orvel-bench-out.html";
    for (auto _ : state) {
        const TSaveResult s = ed.saveFile(out, r.encoding, r.bom);
        if (!s.ok())
            state.SkipWithError("save failed");
    }
    state.SetBytesProcessed(state.iterations() * QFileInfo(name).size());
    QFile::remove(out);
}
BENCHMARK(BM_SaveFromEditor)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_HighlightWholeText(benchmark::State& state) {
    const QString name = makeFile(false);
    TEditorControl ed;
    auto hl = THighlighter::create(hkHtml);
    ed.setHighlighter(hl.get());
    for (auto _ : state) {
        state.PauseTiming();
        ed.loadFile(name);
        state.ResumeTiming();
        // Styling up to the last line, as a jump to the end needs.
        benchmark::DoNotOptimize(ed.attributeNameAt({1, ed.lineCount() - 1}));
    }
    state.SetBytesProcessed(state.iterations() * QFileInfo(name).size());
}
BENCHMARK(BM_HighlightWholeText)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);

// The longest the event loop is kept from the user while a large file is coloured in the
// background: what a keystroke may wait at most.
void BM_EventLoopLatencyWhileColouring(benchmark::State& state) {
    const QString name = makeFile(false);
    for (auto _ : state) {
        TEditorControl ed;
        auto hl = THighlighter::create(hkHtml);
        ed.setHighlighter(hl.get());
        ed.resize(800, 600);
        ed.show();
        ed.loadFile(name);
        QElapsedTimer clock;
        clock.start();
        qint64 last = 0;
        qint64 worst = 0;
        QTimer tick;
        QObject::connect(&tick, &QTimer::timeout, [&] {
            worst = qMax(worst, clock.elapsed() - last);
            last = clock.elapsed();
        });
        tick.start(1);
        while (clock.elapsed() < 3000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        state.counters["worst_gap_ms"] = double(worst);
    }
}
BENCHMARK(BM_EventLoopLatencyWhileColouring)->Unit(benchmark::kMillisecond)->Iterations(1);

// A keystroke's worth of typing at the end of a large text, as the document window sees it.
void BM_TypeAtEnd(benchmark::State& state) {
    const QString name = makeFile(false);
    TEditorControl ed;
    auto hl = THighlighter::create(hkHtml);
    if (state.range(0))
        ed.setHighlighter(hl.get());
    ed.resize(800, 600);
    ed.show();
    ed.loadFile(name);
    ed.caretToTextEnd();
    for (auto _ : state) {
        ed.setSelText(QStringLiteral("x"));
        QCoreApplication::processEvents();
    }
}
BENCHMARK(BM_TypeAtEnd)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(20);

} // namespace

ORVEL_WIDGET_BENCH_MAIN()
