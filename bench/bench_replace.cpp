// Replacing every match in a large document: 100,000 replacements, one undoable step.

#include "textcontrol/ui/EditorControl.h"
#include "textcontrol/ui/Highlighter.h"

#include "BenchMain.h"
#include <QApplication>

#include <benchmark/benchmark.h>
#include <memory>

using namespace orvel;

namespace {

constexpr int kMatches = 100000;

QByteArray document() {
    QByteArray all;
    const QByteArray line(
        "<p class=\"note\">Some text with one Match in it, and more words</p>\r\n");
    all.reserve(line.size() * kMatches);
    for (int i = 0; i < kMatches; ++i)
        all += line;
    return all;
}

// Arg 0: plain text; 1: with the HTML highlighter, as a document window has it.
void BM_ReplaceAll(benchmark::State& state) {
    const QByteArray text = document();
    TEditorControl ed;
    std::unique_ptr<THighlighter> hl;
    if (state.range(0)) {
        hl = THighlighter::create(hkHtml);
        ed.setHighlighter(hl.get());
    }
    ed.resize(800, 600);
    ed.show();
    for (auto _ : state) {
        state.PauseTiming();
        ed.loadUtf8(text, lbCRLF);
        state.ResumeTiming();
        const TSearchResult r = ed.searchReplace(
            QStringLiteral("match"), QStringLiteral("replacement"), ssoReplace | ssoReplaceAll);
        state.PauseTiming();
        if (r.replaced != kMatches)
            state.SkipWithError("not every match replaced");
        // One undoable step: a single undo gives the document back.
        ed.undo();
        if (ed.canUndo() || ed.textBytes() != QByteArrayView(text))
            state.SkipWithError("replace all was not one undoable step");
        state.ResumeTiming();
    }
    state.counters["replacements"] = kMatches;
}
BENCHMARK(BM_ReplaceAll)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

ORVEL_WIDGET_BENCH_MAIN()
