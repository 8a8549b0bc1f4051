// Digests of a 100 MB file as the hash-value inserts compute them, beside the system's
// md5sum, sha1sum and sha256sum on the same file in the same run.

#include "editor/core/FileDigest.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

using namespace orvel;

namespace {

constexpr qint64 kSize = 100LL * 1000 * 1000;

const QString& testFile() {
    static QTemporaryDir dir;
    static const QString name = [] {
        const QString f = dir.filePath(QStringLiteral("data.bin"));
        QFile out(f);
        if (!out.open(QIODevice::WriteOnly))
            std::abort();
        QByteArray block(1 << 20, Qt::Uninitialized);
        quint32 x = 88172645u;
        for (qint64 left = kSize; left > 0; left -= block.size()) {
            for (char& c : block) {
                x ^= x << 13;
                x ^= x >> 17;
                x ^= x << 5;
                c = char(x);
            }
            out.write(block.constData(), qMin<qint64>(left, block.size()));
        }
        return f;
    }();
    return name;
}

void digest(benchmark::State& state) {
    const QString& file = testFile();
    for (auto _ : state) {
        const TResult<QString> d = fileDigest(file, TDigestKind(state.range(0)));
        if (!d.ok())
            state.SkipWithError(qPrintable(d.error()));
        benchmark::DoNotOptimize(d);
    }
    state.SetBytesProcessed(state.iterations() * kSize);
    state.SetLabel(qPrintable(digestLabel(TDigestKind(state.range(0)))));
}

void systemTool(benchmark::State& state) {
    static const char* const tools[] = {"md5sum", "sha1sum", "sha256sum"};
    const QString& file = testFile();
    for (auto _ : state) {
        QProcess p;
        p.start(QString::fromLatin1(tools[state.range(0)]), {file});
        if (!p.waitForFinished(120000) || p.exitCode() != 0)
            state.SkipWithError("the system tool failed");
    }
    state.SetBytesProcessed(state.iterations() * kSize);
    state.SetLabel(tools[state.range(0)]);
}

} // namespace

BENCHMARK(digest)->DenseRange(dkMD5, dkSHA256)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(systemTool)->DenseRange(0, 2)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_MAIN();
