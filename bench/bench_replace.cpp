// Replacing every match in a large document: 100,000 replacements as one undoable step.

#include "textcontrol/ui/EditorControl.h"
#include "textcontrol/ui/Highlighter.h"

#include "BenchMain.h"

#include <benchmark/benchmark.h>
#include <memory>

using namespace orvel;

namespace {

// One match per line; with padding the lines are long and the text large.
QByteArray document(int matches, int padding = 0) {
    QByteArray all;
    const QByteArray line = "<p class=\"note\">Some text with one Match in it, " +
                            QByteArray(padding, 'w') + " and more words</p>\r\n";
    all.reserve(line.size() * matches);
    for (int i = 0; i < matches; ++i)
        all += line;
    return all;
}

struct Editor {
    TEditorControl ed;
    std::unique_ptr<THighlighter> hl;
    explicit Editor(bool highlighted) {
        if (highlighted) {
            hl = THighlighter::create(hkHtml);
            ed.setHighlighter(hl.get());
        }
        ed.resize(800, 600);
        ed.show();
    }
    TSearchResult replaceAll() {
        return ed.searchReplace(QStringLiteral("match"), QStringLiteral("replacement"),
                                ssoReplace | ssoReplaceAll);
    }
};

// Arg 0: plain text; 1: with the HTML highlighter, as a document window has it; 2: plain,
// lines of 700 characters (a 66 MB text).
void BM_ReplaceAll(benchmark::State& state) {
    constexpr int kMatches = 100000;
    const QByteArray text = document(kMatches, state.range(0) == 2 ? 630 : 0);
    Editor e(state.range(0) != 0);
    for (auto _ : state) {
        state.PauseTiming();
        e.ed.loadUtf8(text, lbCRLF);
        state.ResumeTiming();
        const TSearchResult r = e.replaceAll();
        if (r.replaced != kMatches)
            state.SkipWithError("not every match replaced");
    }
    state.counters["replacements"] = kMatches;
    state.counters["MB"] = double(text.size()) / (1024 * 1024);
}
BENCHMARK(BM_ReplaceAll)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();

// Undoing it: one step that gives the document back. Its cost grows with the number of
// replacements times the size of the text while the control announces every change.
void BM_UndoReplaceAll(benchmark::State& state) {
    const int matches = int(state.range(0));
    const QByteArray text = document(matches);
    Editor e(false);
    for (auto _ : state) {
        state.PauseTiming();
        e.ed.loadUtf8(text, lbCRLF);
        e.replaceAll();
        state.ResumeTiming();
        e.ed.undo();
        state.PauseTiming();
        if (e.ed.canUndo() || e.ed.textBytes() != QByteArrayView(text))
            state.SkipWithError("replace all was not one undoable step");
        state.ResumeTiming();
    }
    state.counters["replacements"] = matches;
}
BENCHMARK(BM_UndoReplaceAll)->Arg(1000)->Arg(4000)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

ORVEL_WIDGET_BENCH_MAIN()
