// Loading and saving a large document through the editor component.

#include "textcontrol/ui/EditorControl.h"
#include "textcontrol/ui/Highlighter.h"

#include "BenchMain.h"
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>
#include <QTimer>

#include <benchmark/benchmark.h>

using namespace orvel;

namespace {

constexpr qsizetype kSize = 100 * 1024 * 1024;

// A file in the temporary folder of at least `size` bytes, the piece over and over; made once.
QString repeatedFile(const QString& fileName, const QByteArray& piece, qsizetype size) {
    const QString name = QDir::tempPath() + QLatin1Char('/') + fileName;
    if (QFileInfo(name).size() >= size)
        return name;
    QByteArray all;
    all.reserve(size + piece.size());
    while (all.size() < size)
        all += piece;
    QFile f(name);
    if (f.open(QIODevice::WriteOnly))
        f.write(all);
    return name;
}

QString makeFile(bool ansi) {
    return ansi ? repeatedFile(QStringLiteral("orvel-bench-ansi.html"),
                               "<p class=\"x\">Gr\xFC\xDF"
                               "e aus K\xF6ln, caf\xE9 &amp; more text here</p>\r\n",
                               kSize)
                : repeatedFile(QStringLiteral("orvel-bench-utf8.html"),
                               "<p class=\"x\">Gr\xC3\xBC\xC3\x9F"
                               "e aus K\xC3\xB6ln, caf\xC3\xA9 &amp; more text</p>\r\n",
                               kSize);
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

// Runs the event loop for the given time; gives the longest it was kept from a 1 ms tick,
// the longest a key stroke would have waited.
qint64 worstEventLoopGap(int milliseconds) {
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
    while (clock.elapsed() < milliseconds)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    return worst;
}

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
        state.counters["worst_gap_ms"] = double(worstEventLoopGap(3000));
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

// --- Typing, paging and opening through the real key handling, each step painted ----------

// A 20 MB file on a single line, as minified scripts, style sheets and pages come.
QString makeLongLine(THighlighterKind kind) {
    const char* ext = kind == hkJs ? "js" : kind == hkCss ? "css" : "html";
    const QByteArray piece =
        kind == hkJs    ? QByteArray("function f(a,b){var c=\"K\xC3\xB6ln\";if(a>b){return[a,b,c]}"
                                        "for(var i=0;i<b;i++){a+=i*2}return a};")
        : kind == hkCss ? QByteArray(".nav>li a:hover{color:#3060c0;margin:0 auto;"
                                     "font:12px/1.5 \"Gr\xC3\xBC\xC3\x9F"
                                     "e\",sans-serif}")
                        : QByteArray("<div class=\"c\"><p>Gr\xC3\xBC\xC3\x9F"
                                     "e &amp; <b>more</b> text</p><a href=\"x.html\">x</a></div>");
    return repeatedFile(QStringLiteral("orvel-bench-line.") + QLatin1String(ext), piece,
                        20 * 1024 * 1024);
}

// Counts the paints of the text area, to show each measured step was painted.
class PaintCounter : public QObject {
public:
    int paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

// A shown editor window with a file loaded. Key strokes go to the text area as the window
// system delivers them; each step ends when the posted repaint has been painted.
struct Window {
    TEditorControl ed;
    std::unique_ptr<THighlighter> hl;
    PaintCounter counter;
    QWidget* text = nullptr;
    QWidget* area = nullptr;

    explicit Window(int kind) {
        if (kind >= 0) {
            hl = THighlighter::create(THighlighterKind(kind));
            ed.setHighlighter(hl.get());
        }
        ed.resize(1000, 700);
        ed.show();
        text = ed.focusProxy();
        area = text->findChild<QWidget*>(QStringLiteral("qt_scrollarea_viewport"));
        if (area)
            area->installEventFilter(&counter);
        text->setFocus();
        QCoreApplication::processEvents();
    }
    void load(const QString& name) {
        ed.loadFile(name);
        settle();
    }
    static void settle() { QCoreApplication::processEvents(); }
    void key(int key, Qt::KeyboardModifiers mods = Qt::NoModifier, const QString& t = {}) {
        QKeyEvent press(QEvent::KeyPress, key, mods, t);
        QApplication::sendEvent(text, &press);
        QKeyEvent release(QEvent::KeyRelease, key, mods, t);
        QApplication::sendEvent(text, &release);
        settle();
    }
};

// Runs step per iteration, timing each and keeping the worst; paints per step as a counter.
// The processor time of a step is given too: on a busy machine the wall time says little.
double cpuSeconds() {
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return double(ts.tv_sec) + double(ts.tv_nsec) / 1e9;
}

template <typename Step> void timeSteps(benchmark::State& state, Window& w, Step step) {
    qint64 worst = 0;
    double cpu = 0;
    const int paintsBefore = w.counter.paints;
    for (auto _ : state) {
        QElapsedTimer t;
        t.start();
        const double cpuStart = cpuSeconds();
        step();
        cpu += cpuSeconds() - cpuStart;
        const qint64 ns = t.nsecsElapsed();
        worst = qMax(worst, ns);
        state.SetIterationTime(double(ns) / 1e9);
    }
    state.counters["worst_ms"] = double(worst) / 1e6;
    state.counters["cpu_ms"] = cpu * 1e3 / double(qMax<qint64>(1, state.iterations()));
    state.counters["paints"] =
        double(w.counter.paints - paintsBefore) / double(qMax<qint64>(1, state.iterations()));
}

enum Where { AtStart, InMiddle, AtEnd, AfterCtrlEnd };

// Typing into the 100 MB document: arg 0 says where, arg 1 whether it is highlighted.
void BM_TypeKey(benchmark::State& state) {
    Window w(state.range(1) ? hkHtml : -1);
    w.load(makeFile(false));
    switch (Where(state.range(0))) {
    case AtStart:
        break;
    case InMiddle:
        w.ed.setCaretXY({10, w.ed.lineCount() / 2});
        w.settle();
        break;
    case AtEnd:
        w.ed.setCaretXY({1, w.ed.lineCount()});
        w.settle();
        break;
    case AfterCtrlEnd: {
        QElapsedTimer t;
        t.start();
        w.key(Qt::Key_End, Qt::ControlModifier);
        state.counters["ctrl_end_ms"] = double(t.nsecsElapsed()) / 1e6;
        break;
    }
    }
    timeSteps(state, w, [&] { w.key(Qt::Key_X, Qt::NoModifier, QStringLiteral("x")); });
}
BENCHMARK(BM_TypeKey)
    ->ArgsProduct({{AtStart, InMiddle, AtEnd, AfterCtrlEnd}, {0, 1}})
    ->ArgNames({"where", "hl"})
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(20);

// Page down through the 100 MB document from its start, page up from its end.
void BM_PageKey(benchmark::State& state) {
    Window w(hkHtml);
    w.load(makeFile(false));
    const bool down = state.range(0) != 0;
    if (!down)
        w.key(Qt::Key_End, Qt::ControlModifier);
    timeSteps(state, w, [&] { w.key(down ? Qt::Key_PageDown : Qt::Key_PageUp); });
}
BENCHMARK(BM_PageKey)
    ->Arg(0)
    ->Arg(1)
    ->ArgName("down")
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(20);

// Opening a 20 MB single line (arg: highlighter kind) until the window is painted and the
// event loop is free again.
void BM_OpenLongLine(benchmark::State& state) {
    const auto kind = THighlighterKind(state.range(0));
    const QString name = makeLongLine(kind);
    for (auto _ : state) {
        QElapsedTimer t;
        t.start();
        Window w(kind);
        w.load(name);
        bool idle = false;
        QTimer::singleShot(0, [&] { idle = true; });
        while (!idle)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        state.SetIterationTime(double(t.nsecsElapsed()) / 1e9);
        if (w.counter.paints == 0)
            state.SkipWithError("never painted");
        // Then the longest the user would wait for a key in the next seconds, while the
        // editor colours in the background.
        const double cpuStart = cpuSeconds();
        state.counters["idle_worst_gap_ms"] = double(worstEventLoopGap(5000));
        state.counters["idle_cpu_ms"] = (cpuSeconds() - cpuStart) * 1e3;
    }
}
BENCHMARK(BM_OpenLongLine)
    ->Arg(-1)
    ->Arg(hkJs)
    ->Arg(hkCss)
    ->Arg(hkHtml)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

// On the 20 MB single line: arg 0 the highlighter kind, arg 1 where the caret is (the
// middle of the line, or its end reached with Ctrl+End); the steps type a character.
void BM_TypeOnLongLine(benchmark::State& state) {
    const auto kind = THighlighterKind(state.range(0));
    Window w(kind);
    w.load(makeLongLine(kind));
    if (state.range(1) == AfterCtrlEnd) {
        QElapsedTimer t;
        t.start();
        w.key(Qt::Key_End, Qt::ControlModifier);
        state.counters["ctrl_end_ms"] = double(t.nsecsElapsed()) / 1e6;
    } else {
        w.ed.setCaretXY({10 * 1000 * 1000, 1});
        w.settle();
    }
    timeSteps(state, w, [&] { w.key(Qt::Key_X, Qt::NoModifier, QStringLiteral("x")); });
    QElapsedTimer t;
    t.start();
    const QString out = QDir::tempPath() + QStringLiteral("/orvel-bench-line-out");
    if (!w.ed.saveFile(out, seUTF8, false).ok())
        state.SkipWithError("save failed");
    state.counters["save_ms"] = double(t.nsecsElapsed()) / 1e6;
    QFile::remove(out);
}
BENCHMARK(BM_TypeOnLongLine)
    ->ArgsProduct({{-1, hkJs, hkCss, hkHtml}, {InMiddle, AfterCtrlEnd}})
    ->ArgNames({"kind", "where"})
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);

} // namespace

ORVEL_WIDGET_BENCH_MAIN()
