// The UTF-16 index against counting from the start, through random edits of texts full of
// multi-byte, broken and line-break sequences that straddle the chunk edges.

#include "textcontrol/core/Utf16Index.h"
#include "textcontrol/core/Utf8Columns.h"

#include <QRandomGenerator>
#include <QtTest>

using namespace orvel;

namespace {

const QByteArray kPieces[] = {
    "a",
    "xyz",
    "\r",
    "\n",
    "\r\n",
    "\xC3\xA9" /* é */,
    "\xE2\x82\xAC" /* € */,
    "\xF0\x9F\x98\x80" /* emoji */,
    "\x80" /* stray */,
    "\xE2\x82" /* cut */,
    "\xF0\x9F",
    "\xFF",
    "\xC0\xAF",
    "\xF4\x8F\xBF\xBF",
};

QByteArray randomText(QRandomGenerator& rnd, int pieces) {
    QByteArray s;
    for (int i = 0; i < pieces; ++i)
        s += kPieces[rnd.bounded(int(std::size(kPieces)))];
    return s;
}

qsizetype pairsBefore(const QByteArray& text, qsizetype pos) {
    qsizetype n = 0;
    for (qsizetype i = 1; i < pos; ++i)
        n += text.at(i) == '\n' && text.at(i - 1) == '\r';
    return n;
}

// The index over a plain byte array, edited the way the editor control is.
struct Fixture {
    QByteArray text;
    TUtf16Index index;
    explicit Fixture(qsizetype chunk)
        : index([this](qsizetype start,
                       qsizetype length) { return QByteArrayView(text).sliced(start, length); },
                chunk) {}
    void load(const QByteArray& t) {
        text = t;
        index.reset(text.size());
    }
    void insert(qsizetype pos, const QByteArray& bytes) {
        index.beforeInsert(pos, bytes.size());
        text.insert(pos, bytes);
    }
    void remove(qsizetype pos, qsizetype length) {
        index.beforeDelete(pos, length);
        text.remove(pos, length);
    }
};

} // namespace

class TestUtf16Index : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void matchesCountingFromStart_data();
    void matchesCountingFromStart();
    void edgesOfChunks();
    void countsInTheBackground();
};

void TestUtf16Index::matchesCountingFromStart_data() {
    QTest::addColumn<quint32>("seed");
    QTest::addColumn<int>("chunk");
    QTest::addColumn<int>("pieces");
    QTest::addColumn<int>("bigInsertEvery");
    QTest::newRow("tiny chunks") << 1u << 16 << 400 << 0;
    QTest::newRow("tiny chunks, other text") << 7u << 17 << 300 << 0;
    QTest::newRow("chunks of a few lines") << 3u << 64 << 1000 << 0;
    QTest::newRow("large pastes split chunks") << 5u << 16 << 200 << 7;
    QTest::newRow("empty start") << 9u << 16 << 0 << 3;
}

void TestUtf16Index::matchesCountingFromStart() {
    QFETCH(quint32, seed);
    QFETCH(int, chunk);
    QFETCH(int, pieces);
    QFETCH(int, bigInsertEvery);
    QRandomGenerator rnd(seed);
    Fixture f(chunk);
    f.load(randomText(rnd, pieces));
    for (int step = 0; step < 300; ++step) {
        const qsizetype pos = rnd.bounded(int(f.text.size()) + 1);
        if (bigInsertEvery && step % bigInsertEvery == 0)
            f.insert(pos, randomText(rnd, 100 + rnd.bounded(200)));
        else if (rnd.bounded(3) == 0 && f.text.size() > pos)
            f.remove(pos, 1 + rnd.bounded(int(qMin<qsizetype>(40, f.text.size() - pos))));
        else
            f.insert(pos, randomText(rnd, 1 + rnd.bounded(3)));
        QCOMPARE(f.index.length(), f.text.size());
        for (int q = 0; q < 6; ++q) {
            const qsizetype at = rnd.bounded(int(f.text.size()) + 1);
            QCOMPARE(f.index.unitsBefore(at), byteToUtf16Offset(f.text, at));
            QCOMPARE(f.index.crLfBefore(at), pairsBefore(f.text, at));
            const qsizetype to = at + rnd.bounded(int(f.text.size() - at) + 1);
            QCOMPARE(f.index.unitsBetween(at, to),
                     byteToUtf16Offset(f.text, to) - byteToUtf16Offset(f.text, at));
            // From a line start to some units on, within the line (as the editor asks).
            const qsizetype nl = at == 0 ? -1 : f.text.lastIndexOf('\n', at - 1);
            const qsizetype from = nl + 1;
            qsizetype limit = from;
            while (limit < f.text.size() && f.text.at(limit) != '\r' && f.text.at(limit) != '\n')
                ++limit;
            const qsizetype units = rnd.bounded(int(limit - from) + 3);
            const qsizetype expected =
                from + utf16ToByteOffset(QByteArrayView(f.text).sliced(from, limit - from), units);
            QCOMPARE(f.index.positionOfUnits(from, units, limit), expected);
        }
    }
}

void TestUtf16Index::edgesOfChunks() {
    // With chunks of 16 bytes: an emoji and a CR LF cut by the edge, then joined and split
    // again by edits at the edge.
    Fixture f(16);
    QByteArray t = QByteArray(14, 'a') + "\xF0\x9F\x98\x80" + QByteArray(13, 'b') + "\r\nc";
    f.load(t);
    QCOMPARE(f.index.unitsBefore(f.text.size()), byteToUtf16Offset(f.text, f.text.size()));
    QCOMPARE(f.index.crLfBefore(f.text.size()), 1);
    f.insert(32, "x"); // between CR and LF
    QCOMPARE(f.index.crLfBefore(f.text.size()), 0);
    f.remove(32, 1); // joined again
    QCOMPARE(f.index.crLfBefore(f.text.size()), 1);
    f.remove(15, 1); // the emoji broken: its other bytes are strays now
    QCOMPARE(f.index.unitsBefore(f.text.size()), byteToUtf16Offset(f.text, f.text.size()));
    f.insert(15, "\x9F"); // and whole again
    QCOMPARE(f.index.unitsBefore(f.text.size()), byteToUtf16Offset(f.text, f.text.size()));
    QCOMPARE(f.index.positionOfUnits(0, 15, f.text.size()), 14); // inside the pair: its start
    f.remove(0, f.text.size());
    QCOMPARE(f.index.unitsBefore(0), 0);
    QCOMPARE(f.index.positionOfUnits(0, 5, 0), 0);
}

void TestUtf16Index::countsInTheBackground() {
    QRandomGenerator rnd(11);
    Fixture f(16);
    f.load(randomText(rnd, 5000));
    int slices = 0;
    while (f.index.countSome(0))
        ++slices;
    QVERIFY(slices > 100); // one chunk a slice
    QVERIFY(!f.index.countSome(10));
    QCOMPARE(f.index.unitsBefore(f.text.size()), byteToUtf16Offset(f.text, f.text.size()));
    f.insert(100, "\xC3\xA9");
    f.remove(3000, 20);
    while (f.index.countSome(0)) {
    }
    QCOMPARE(f.index.unitsBefore(f.text.size()), byteToUtf16Offset(f.text, f.text.size()));
    QCOMPARE(f.index.crLfBefore(f.text.size()), pairsBefore(f.text, f.text.size()));
}

QTEST_GUILESS_MAIN(TestUtf16Index)
#include "tst_utf16index.moc"
