// The anchor reader over texts of growing size: a page of ordinary markup, and anchors that
// are never closed (each one once looked to the end of the file for its link text). Both
// must grow linearly: compare the times per byte across the sizes.

#include "search/core/AnchorReader.h"

#include <QString>
#include <benchmark/benchmark.h>

using namespace orvel;

namespace {

QString repeated(const QString& unit, qsizetype size) {
    QString all;
    all.reserve(size + unit.size());
    while (all.size() < size)
        all += unit;
    return all;
}

void readPage(benchmark::State& state) {
    const QString text = repeated(
        QStringLiteral("<h2 id=\"s\">Section</h2>\r\n<p class=\"x\">Some <b>text</b> with a "
                       "<a href=\"#top\">link</a> and <a name=\"n\" title='t'>an anchor</a>."
                       "</p>\r\n<!-- note --><div><img src=\"a.png\" alt=\"\"></div>\r\n"),
        state.range(0));
    for (auto _ : state)
        benchmark::DoNotOptimize(readAnchors(text));
    state.SetBytesProcessed(state.iterations() * text.size() * 2);
}

void readUnclosed(benchmark::State& state) {
    const QString text = repeated(QStringLiteral("<a name=\"n\">text\r\n"), state.range(0));
    for (auto _ : state)
        benchmark::DoNotOptimize(readAnchors(text));
    state.SetBytesProcessed(state.iterations() * text.size() * 2);
}

} // namespace

BENCHMARK(readPage)->RangeMultiplier(10)->Range(100'000, 10'000'000)->Unit(benchmark::kMillisecond);
BENCHMARK(readUnclosed)
    ->RangeMultiplier(10)
    ->Range(100'000, 10'000'000)
    ->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
