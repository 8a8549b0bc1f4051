// Encoding detection, conversion and whole-file reading and writing on 100 MB texts.

#include "base/core/TextFile.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <benchmark/benchmark.h>
#include <random>

using namespace orvel;

namespace {

constexpr qsizetype kSize = 100 * 1000 * 1000;

// Hand-written HTML: mostly ASCII markup, text with accented letters now and then.
QByteArray makeHtml(bool latin1Only) {
    const char* const words[] = {"the",
                                 "editor",
                                 "page",
                                 "caf\xC3\xA9",
                                 "na\xC3\xAFve",
                                 "Stra\xC3\x9F"
                                 "e",
                                 "\xC3\xBC"
                                 "ber",
                                 "r\xC3\xA9sum\xC3\xA9",
                                 "\xE2\x80\x9Equoted\xE2\x80\x9D",
                                 "12\xE2\x82\xAC",
                                 "a",
                                 "of",
                                 "and",
                                 "link",
                                 "text",
                                 "\xE2\x80\x93",
                                 "H\xC5\x91s",
                                 "\xC5\x91r\xC3\xBCl"};
    const int wordCount = latin1Only ? 16 : 18; // the last two need more than Windows-1252
    const char* const tags[] = {"p", "li", "td", "h2", "span class=\"note\"", "a href=\"#top\""};
    std::mt19937 random(42);
    QByteArray html;
    html.reserve(kSize + 200);
    html += "<!DOCTYPE html>\n<html>\n<body>\n";
    while (html.size() < kSize) {
        const char* tag = tags[random() % 6];
        html += "  <";
        html += tag;
        html += '>';
        const int n = 4 + int(random() % 12);
        for (int i = 0; i < n; ++i) {
            if (i)
                html += ' ';
            html += words[random() % wordCount];
        }
        html += "</";
        html += QByteArray(tag).split(' ').first();
        html += ">\n";
    }
    return html;
}

const QByteArray& utf8Html() {
    static const QByteArray text = makeHtml(false);
    return text;
}

const QByteArray& ansiHtml() {
    static const QByteArray bytes =
        codec::fromEditorText(makeHtml(true), seAnsi, false, lbLF).bytes;
    return bytes;
}

const QByteArray& utf16Html() {
    static const QByteArray bytes = codec::fromEditorText(utf8Html(), seUTF16LE, true, lbLF).bytes;
    return bytes;
}

const QByteArray& editorTextOf(const QByteArray& file) {
    static QHash<const QByteArray*, QByteArray> texts;
    auto it = texts.find(&file);
    if (it == texts.end()) {
        const codec::TDetection d = codec::detectEncoding(file);
        it = texts.insert(
            &file, codec::toEditorText(QByteArrayView(file).sliced(d.bomLength), d.encoding));
    }
    return *it;
}

QString benchFile(const char* name) {
    return QDir::tempPath() + "/orvel-bench-" + name;
}

void detectAndDecode(benchmark::State& state, const QByteArray& file) {
    for (auto _ : state) {
        const codec::TDetection d = codec::detectEncoding(file);
        QByteArray text = codec::toEditorText(QByteArrayView(file).sliced(d.bomLength), d.encoding);
        benchmark::DoNotOptimize(text.data());
    }
    state.SetBytesProcessed(state.iterations() * file.size());
}

void encode(benchmark::State& state, const QByteArray& text, TSynEncoding encoding,
            TLineBreak lineBreak) {
    for (auto _ : state) {
        codec::TEncodeResult r = codec::fromEditorText(text, encoding, false, lineBreak);
        if (!r.ok())
            state.SkipWithError("unencodable text");
        benchmark::DoNotOptimize(r.bytes.data());
    }
    state.SetBytesProcessed(state.iterations() * text.size());
}

void BM_DetectDecodeUtf8(benchmark::State& state) {
    detectAndDecode(state, utf8Html());
}
void BM_DetectDecodeAnsi(benchmark::State& state) {
    detectAndDecode(state, ansiHtml());
}
void BM_DetectDecodeUtf16LE(benchmark::State& state) {
    detectAndDecode(state, utf16Html());
}

void BM_EncodeUtf8SameBreaks(benchmark::State& state) {
    encode(state, utf8Html(), seUTF8, lbLF);
}
void BM_EncodeUtf8ToCRLF(benchmark::State& state) {
    encode(state, utf8Html(), seUTF8, lbCRLF);
}
void BM_EncodeAnsi(benchmark::State& state) {
    encode(state, editorTextOf(ansiHtml()), seAnsi, lbLF);
}
void BM_EncodeUtf16LE(benchmark::State& state) {
    encode(state, utf8Html(), seUTF16LE, lbLF);
}

void loadFile(benchmark::State& state, const QByteArray& bytes, const char* name) {
    const QString fileName = benchFile(name);
    QFile file(fileName);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        state.SkipWithError("cannot write the file to load");
        return;
    }
    file.close();
    for (auto _ : state) {
        TLoadedText loaded = loadTextFile(fileName);
        if (!loaded.ok())
            state.SkipWithError("load failed");
        benchmark::DoNotOptimize(loaded.text.data());
    }
    state.SetBytesProcessed(state.iterations() * bytes.size());
    QFile::remove(fileName);
}

void BM_LoadTextFileUtf8(benchmark::State& state) {
    loadFile(state, utf8Html(), "utf8.html");
}
void BM_LoadTextFileAnsi(benchmark::State& state) {
    loadFile(state, ansiHtml(), "ansi.html");
}

void saveFile(benchmark::State& state, const QByteArray& text, TSynEncoding encoding) {
    const QString fileName = benchFile("save.html");
    for (auto _ : state) {
        if (!saveTextFile(fileName, text, encoding, false, lbLF).ok())
            state.SkipWithError("save failed");
    }
    state.SetBytesProcessed(state.iterations() * text.size());
    QFile::remove(fileName);
}

void BM_SaveTextFileUtf8(benchmark::State& state) {
    saveFile(state, utf8Html(), seUTF8);
}
void BM_SaveTextFileAnsi(benchmark::State& state) {
    saveFile(state, editorTextOf(ansiHtml()), seAnsi);
}

} // namespace

BENCHMARK(BM_DetectDecodeUtf8)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DetectDecodeAnsi)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DetectDecodeUtf16LE)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EncodeUtf8SameBreaks)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EncodeUtf8ToCRLF)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EncodeAnsi)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EncodeUtf16LE)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadTextFileUtf8)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadTextFileAnsi)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveTextFileUtf8)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveTextFileAnsi)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
