// Spell checking: a pass over the lines shown, the next-misspelling search through a whole
// large document, and what a keystroke costs with checking attached.

#include "spelling/core/SynEditSpell.h"
#include "spelling/ui/SynEditSpellPlugin.h"
#include "textcontrol/ui/EditorControl.h"
#include "textcontrol/ui/Highlighter.h"

#include "BenchMain.h"
#include <QFile>
#include <QKeyEvent>
#include <QRandomGenerator>
#include <memory>

#include <benchmark/benchmark.h>

using namespace orvel;

namespace {

const QString kDicts = QStringLiteral("/usr/share/hunspell/");

std::unique_ptr<TSynEditSpellCheck> englishChecker() {
    auto checker = std::make_unique<TSynEditSpellCheck>(caText);
    checker->setSystemFolders({kDicts});
    checker->setUseUserDictionary(false);
    checker->LoadDictionaries(QString(), {1033});
    checker->SelectDictionary(1033);
    return checker;
}

// Some thousands of different correct words, as a real text has them.
QStringList correctWords() {
    static QStringList words;
    if (!words.isEmpty())
        return words;
    QFile f(kDicts + QStringLiteral("en_US.dic"));
    if (!f.open(QIODevice::ReadOnly))
        return words;
    auto checker = englishChecker();
    for (const QByteArray& line : f.readAll().split('\n')) {
        const QString w = QString::fromUtf8(line.split('/').first()).trimmed();
        bool plain = w.size() >= 3;
        for (QChar c : w)
            plain = plain && c >= u'a' && c <= u'z';
        if (plain && checker->CheckWord(w))
            words << w;
    }
    QRandomGenerator rng(7);
    std::shuffle(words.begin(), words.end(), rng);
    words = words.mid(0, 12000);
    return words;
}

// HTML as people write it: paragraphs of text with markup between, about `bytes` long.
QString htmlText(qsizetype bytes, bool misspellings) {
    const QStringList words = correctWords();
    QRandomGenerator rng(11);
    QString out = QStringLiteral("<!DOCTYPE html>\n<html><head><title>Test page</title>\n"
                                 "<style>p { colr: red; }</style></head>\n<body>\n");
    while (out.size() < bytes) {
        out += QStringLiteral("<p class=\"intro\" title=\"Speling\">");
        for (int line = 0; line < 3; ++line) {
            for (int i = 0; i < 10; ++i) {
                if (i == 4)
                    out += QStringLiteral("<a href=\"page.html\">");
                out += words[rng.bounded(int(words.size()))];
                if (misspellings && i == 7 && line == 1)
                    out += QStringLiteral("xq");
                if (i == 5)
                    out += QStringLiteral("</a>");
                out += u' ';
            }
            out += u'\n';
        }
        out += QStringLiteral("</p>\n");
    }
    return out + QStringLiteral("</body></html>\n");
}

struct Doc {
    std::unique_ptr<THighlighter> highlighter = THighlighter::create(hkHtml);
    std::unique_ptr<TEditorControl> editor = std::make_unique<TEditorControl>();
    TDrawAutoSpellCheckPlugin* plugin = nullptr;

    Doc(const QString& text, TSynEditSpellCheck* checker) {
        editor->setHighlighter(highlighter.get());
        editor->setText(text);
        editor->resize(1000, 800); // about 50 lines shown
        editor->show();
        if (checker)
            attach(checker);
    }
    // A new plugin: it has checked no line yet.
    void attach(TSynEditSpellCheck* checker) {
        delete plugin;
        plugin = new TDrawAutoSpellCheckPlugin(editor.get(), checker);
        plugin->setLanguage(1033);
        plugin->activate();
    }
};

// A screenful newly shown: every line is checked. Warm: the words were met before (the
// usual case after the first pages); cold: a checker that has seen no word yet.
void BM_ScreenPass(benchmark::State& state) {
    const bool cold = state.range(0) != 0;
    auto checker = englishChecker();
    Doc doc(htmlText(20000, true), checker.get());
    doc.plugin->checkVisibleLines();
    int lines = 0;
    for (auto _ : state) {
        state.PauseTiming();
        if (cold)
            checker = englishChecker();
        doc.attach(checker.get());
        state.ResumeTiming();
        doc.plugin->checkVisibleLines();
        lines = doc.plugin->linesChecked();
    }
    state.counters["lines"] = lines;
}
BENCHMARK(BM_ScreenPass)
    ->Arg(0)
    ->Arg(1)
    ->ArgName("cold")
    ->Unit(benchmark::kMicrosecond)
    ->Iterations(30);

// After typing in one line: the pass checks that line only.
void BM_PassAfterEdit(benchmark::State& state) {
    auto checker = englishChecker();
    Doc doc(htmlText(20000, true), checker.get());
    doc.plugin->checkVisibleLines();
    int n = 0;
    for (auto _ : state) {
        state.PauseTiming();
        doc.editor->setLine(10, QStringLiteral("<p>typed %1 wrds</p>").arg(++n));
        state.ResumeTiming();
        doc.plugin->checkVisibleLines();
    }
}
BENCHMARK(BM_PassAfterEdit)->Unit(benchmark::kMicrosecond);

// The next misspelling from the top of 1 MB of HTML that has none: the whole document is
// coloured, split and checked. Cold: text just loaded and a checker that knows no word.
void BM_NextMisspellingWholeDocument(benchmark::State& state) {
    const bool cold = state.range(0) != 0;
    const QString text = htmlText(1024 * 1024, false);
    auto checker = englishChecker();
    Doc doc(text, checker.get());
    bool found = false;
    for (auto _ : state) {
        state.PauseTiming();
        if (cold) {
            checker = englishChecker();
            doc.attach(checker.get());
            doc.editor->setText(text);
        }
        doc.editor->setCaretXY({1, 1});
        state.ResumeTiming();
        found = doc.plugin->findNextMisspelling();
    }
    if (found)
        state.SkipWithError("the text has a misspelling: the search stopped early");
    state.SetBytesProcessed(state.iterations() * text.toUtf8().size());
    state.counters["lines"] = doc.editor->lineCount();
}
BENCHMARK(BM_NextMisspellingWholeDocument)
    ->Arg(0)
    ->Arg(1)
    ->ArgName("cold")
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);

// One typed character with its events, with and without spell checking attached: the
// keystroke only restarts the pause.
void BM_Keystroke(benchmark::State& state) {
    const bool spelling = state.range(0) != 0;
    auto checker = englishChecker();
    Doc doc(htmlText(20000, true), spelling ? checker.get() : nullptr);
    if (doc.plugin)
        doc.plugin->checkVisibleLines();
    doc.editor->setCaretXY({1, 12});
    QWidget* target = doc.editor->focusProxy();
    QCoreApplication::processEvents();
    const int before = doc.plugin ? doc.plugin->linesChecked() : 0;
    for (auto _ : state) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
        QCoreApplication::sendEvent(target, &press);
        QCoreApplication::sendEvent(target, &release);
        QCoreApplication::processEvents();
    }
    if (doc.plugin && doc.plugin->linesChecked() != before)
        state.SkipWithError("a keystroke checked lines");
}
BENCHMARK(BM_Keystroke)->Arg(0)->Arg(1)->ArgName("spelling")->Unit(benchmark::kMicrosecond);

// The engine alone on words it has not seen: what a cold cache costs per different word.
void BM_EngineOnNewWords(benchmark::State& state) {
    const QStringList words = correctWords();
    for (auto _ : state) {
        state.PauseTiming();
        auto checker = englishChecker();
        state.ResumeTiming();
        for (const QString& w : words)
            benchmark::DoNotOptimize(checker->CheckWord(w));
    }
    state.counters["words"] = double(words.size());
}
BENCHMARK(BM_EngineOnNewWords)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

ORVEL_WIDGET_BENCH_MAIN()
