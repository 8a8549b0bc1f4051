// The settings file with 100,000 sections and with one 50 MB line: load, look up, save.

#include "base/core/IniFileUtils.h"

#include <QDir>
#include <QFile>
#include <benchmark/benchmark.h>

using namespace orvel;

namespace {

constexpr int kSections = 100000;

QString benchFile(const char* name) {
    return QDir::tempPath() + "/orvel-bench-" + name;
}

// Sections of three keys each, as the writer stores them (UTF-16LE).
const QByteArray& manySections() {
    static const QByteArray bytes = [] {
        TUnicodeIniFile ini = TUnicodeIniFile::FromBytes(QByteArray());
        for (int i = 0; i < kSections; ++i) {
            const QString section = QStringLiteral("Section%1").arg(i);
            ini.WriteInteger(section, "Left", i);
            ini.WriteString(section, "Name", QStringLiteral("/home/user/web/page%1.html").arg(i));
            ini.WriteBool(section, "Visible", i % 2);
        }
        return ini.toBytes();
    }();
    return bytes;
}

const QByteArray& hugeLine() {
    static const QByteArray bytes = "[s]\r\nk=" + QByteArray(50 << 20, 'x');
    return bytes;
}

bool writeFile(const QString& fileName, const QByteArray& bytes) {
    QFile file(fileName);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

void load(benchmark::State& state, const QByteArray& bytes, const char* name) {
    const QString fileName = benchFile(name);
    if (!writeFile(fileName, bytes)) {
        state.SkipWithError("cannot write the file to load");
        return;
    }
    for (auto _ : state) {
        const TUnicodeIniFile ini = TUnicodeIniFile::CreateForRead(fileName);
        benchmark::DoNotOptimize(ini.SectionExists("s"));
    }
    state.SetBytesProcessed(state.iterations() * bytes.size());
    QFile::remove(fileName);
}

void BM_IniLoad100kSections(benchmark::State& state) {
    load(state, manySections(), "sections.ini");
}

void BM_IniLoad50MBLine(benchmark::State& state) {
    load(state, hugeLine(), "line.ini");
}

void BM_IniToBytes100kSections(benchmark::State& state) {
    const TUnicodeIniFile ini = TUnicodeIniFile::FromBytes(manySections());
    for (auto _ : state) {
        QByteArray bytes = ini.toBytes();
        benchmark::DoNotOptimize(bytes.data());
    }
    state.SetBytesProcessed(state.iterations() * manySections().size());
}

// One change, then the whole file written atomically.
void BM_IniSave100kSections(benchmark::State& state) {
    const QString fileName = benchFile("save.ini");
    if (!writeFile(fileName, manySections())) {
        state.SkipWithError("cannot write the file to change");
        return;
    }
    TUnicodeIniFile ini = TUnicodeIniFile::CreateForWrite(fileName);
    int round = 0;
    for (auto _ : state) {
        ini.WriteInteger("Section50000", "Left", ++round);
        if (!ini.UpdateFile().ok())
            state.SkipWithError("write failed");
    }
    state.SetBytesProcessed(state.iterations() * manySections().size());
    QFile::remove(fileName);
}

void BM_IniLookup100kSections(benchmark::State& state) {
    const TUnicodeIniFile ini = TUnicodeIniFile::FromBytes(manySections());
    QStringList sections;
    for (int i = 0; i < 1000; ++i)
        sections << QStringLiteral("SECTION%1").arg(i * 97);
    for (auto _ : state)
        for (const QString& section : sections)
            benchmark::DoNotOptimize(ini.ReadInteger(section, "left", 0));
    state.SetItemsProcessed(state.iterations() * sections.size());
}

} // namespace

BENCHMARK(BM_IniLoad100kSections)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_IniToBytes100kSections)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_IniSave100kSections)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_IniLookup100kSections)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_IniLoad50MBLine)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
