// Converting a 10 MB document to entities and back through the document window's
// commands, and the conversions alone.

#include "base/ui/QtDialogs.h"
#include "dialogs/ui/QtElementDialogs.h"
#include "editor/core/HtmlChars.h"
#include "editor/ui/DocumentContext.h"
#include "editor/ui/OrvelMDI.h"
#include "search/ui/QtSearchDialogs.h"
#include "textcontrol/ui/EditorControl.h"

#include "BenchMain.h"
#include <QAction>
#include <QApplication>

#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>

using namespace orvel;

namespace {

constexpr qsizetype kSize = 10 * 1024 * 1024;

const THtmlCharTable& table() {
    static const THtmlCharTable t = [] {
        THtmlCharTable loaded;
        // The data files sit in the build folder, one above the benchmarks.
        const QString dir = QCoreApplication::applicationDirPath();
        if (!loaded.loadFromFile(dir + "/html-codes.txt") &&
            !loaded.loadFromFile(dir + "/../html-codes.txt")) {
            std::fprintf(stderr, "html-codes.txt not found\n");
            std::exit(1);
        }
        return loaded;
    }();
    return t;
}

// German prose in markup: about one letter in twelve needs an entity.
const QString& document() {
    static const QString text = [] {
        const QString line =
            QStringLiteral("<p class=\"x\">Gr\u00fc\u00dfe aus K\u00f6ln, caf\u00e9 &amp; "
                           "Stra\u00dfe \u2013 \u00c4rger \u00fcber \u00d6l</p>\r\n");
        QString all;
        all.reserve(kSize + line.size());
        while (all.size() < kSize)
            all += line;
        return all;
    }();
    return text;
}

class BenchHost : public IDocumentContext {
public:
    TQtDialogs dialogsImpl;
    TQtSearchDialogs searchImpl{nullptr};
    TQtElementDialogs elements;
    IDialogs& dialogs() override { return dialogsImpl; }
    ISearchDialogs& searchDialogs() override { return searchImpl; }
    IElementDialogs& elementDialogs() override { return elements; }
    TFindReplDialog* findDialog() override { return nullptr; }
    const THtmlCharTable* charTable() const override { return &table(); }
    QStringList anchors;
    QStringList* anchorHistory() override { return &anchors; }
    QString htmlRoot() const override { return QString(); }
    QString programDataFile(const QString&) const override { return QString(); }
    QString mainCaption() const override { return QStringLiteral("Orvel"); }
    QString appTitle() const override { return QStringLiteral("Orvel"); }
};

// One command over the whole document; the text is put back untimed.
void runCommand(benchmark::State& state, void (TMDIForm::*command)(), const QString& start) {
    BenchHost host;
    TMDIForm form(host, ftHtml, 1);
    form.resize(800, 600);
    form.show();
    for (auto _ : state) {
        state.PauseTiming();
        form.TextBuffer()->setText(start);
        form.TextBuffer()->clearUndo();
        state.ResumeTiming();
        (form.*command)();
        QCoreApplication::processEvents();
    }
    // Both directions must have changed the text, each as one undoable step.
    form.TextBuffer()->undo();
    if (form.TextBuffer()->canUndo() || form.TextBuffer()->text() != start)
        state.SkipWithError("not one undoable step");
    state.SetBytesProcessed(state.iterations() * start.size() * 2);
}

void BM_CommandToEntities(benchmark::State& state) {
    runCommand(state, &TMDIForm::ConvertToEntities, document());
}
BENCHMARK(BM_CommandToEntities)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

void BM_CommandToChars(benchmark::State& state) {
    static const QString entities = table().CharsToEntities(document());
    runCommand(state, &TMDIForm::ConvertToChars, entities);
}
BENCHMARK(BM_CommandToChars)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

void BM_ConvertToEntities(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(table().CharsToEntities(document()));
    state.SetBytesProcessed(state.iterations() * document().size() * 2);
}
BENCHMARK(BM_ConvertToEntities)->Unit(benchmark::kMillisecond);

void BM_ConvertToChars(benchmark::State& state) {
    static const QString entities = table().CharsToEntities(document());
    for (auto _ : state)
        benchmark::DoNotOptimize(table().EntitiesToChars(entities));
    state.SetBytesProcessed(state.iterations() * entities.size() * 2);
}
BENCHMARK(BM_ConvertToChars)->Unit(benchmark::kMillisecond);

} // namespace

ORVEL_WIDGET_BENCH_MAIN()
