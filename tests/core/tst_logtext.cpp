#include "app/core/LogText.h"

#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTest>

using namespace orvel;

namespace {
template <qsizetype N> QByteArray raw(const char (&s)[N]) {
    return QByteArray(s, N - 1);
}
} // namespace

class TestLogText : public QObject {
    Q_OBJECT
private slots:
    void decode_data();
    void decode();
    void removeKeepsTheRest_data();
    void removeKeepsTheRest();
    void randomBytesSurvive();
    void find_data();
    void find();
};

void TestLogText::decode_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("display");
    QTest::addColumn<bool>("utf8");
    QTest::newRow("Windows-1252") << QByteArray("G\xE4ste \x80\r\n")
                                  << QString::fromUtf8("Gäste €\n") << false;
    QTest::newRow("UTF-8 without mark reads as 8-bit")
        << QByteArray("\xC3\xA4") << QString::fromUtf8("Ã¤") << false;
    QTest::newRow("UTF-8 with mark")
        << QByteArray("\xEF\xBB\xBF\xC3\xA4 \xE2\x82\xAC") << QString::fromUtf8("ä €") << true;
    QTest::newRow("8-bit lines appended after a mark")
        << QByteArray("\xEF\xBB\xBF\xC3\xA4\r\n\xE4\x80\r\n") << QString::fromUtf8("ä\nä€\n")
        << true;
    QTest::newRow("zero bytes dropped") << raw("a\0b\0\r\n") << "ab\n" << false;
    QTest::newRow("undefined bytes kept")
        << QByteArray("\x81\x8D") << QString::fromUtf16(u"\u0081\u008D") << false;
    QTest::newRow("breaks of every kind") << QByteArray("a\r\nb\nc\rd") << "a\nb\nc\nd" << false;
    QTest::newRow("empty") << QByteArray() << QString() << false;
}

void TestLogText::decode() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, display);
    QFETCH(bool, utf8);
    const TLogText text = TLogText::fromBytes(bytes);
    QCOMPARE(text.display(), display);
    QCOMPARE(text.isUtf8(), utf8);
    // Nothing deleted: the bytes come back as they were (zero bytes aside).
    QCOMPARE(text.toBytes(), QByteArray(bytes).replace('\0', QByteArray()));
}

void TestLogText::removeKeepsTheRest_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("end");
    QTest::addColumn<QByteArray>("expected");
    const QByteArray ansi("one\r\nzw\xF6lf\r\nthree\r\n");
    QTest::newRow("8-bit line with its break") << ansi << 4 << 10 << QByteArray("one\r\nthree\r\n");
    QTest::newRow("8-bit within a line") << ansi << 5 << 7 << QByteArray("one\r\nzlf\r\nthree\r\n");
    QTest::newRow("8-bit across a break")
        << ansi << 2 << 4 << QByteArray("onzw\xF6lf\r\nthree\r\n");
    QTest::newRow("8-bit to the end") << ansi << 10 << 16 << QByteArray("one\r\nzw\xF6lf\r\n");
    const QByteArray utf8("\xEF\xBB\xBFone\r\nzw\xC3\xB6lf\r\nthree\r\n");
    QTest::newRow("UTF-8 line with its break")
        << utf8 << 4 << 10 << QByteArray("\xEF\xBB\xBFone\r\nthree\r\n");
    QTest::newRow("UTF-8 first line")
        << utf8 << 0 << 4 << QByteArray("\xEF\xBB\xBFzw\xC3\xB6lf\r\nthree\r\n");
    const QByteArray mixed("\xEF\xBB\xBF"
                           "a\xC3\xA4\r\nb\xE4\x80\r\nc\xC3\xA4\r\n");
    QTest::newRow("mark and 8-bit lines: 8-bit bytes kept")
        << mixed << 0 << 3
        << QByteArray("\xEF\xBB\xBF"
                      "b\xE4\x80\r\nc\xC3\xA4\r\n");
    QTest::newRow("mark and 8-bit lines: 8-bit bytes deleted")
        << mixed << 4 << 6
        << QByteArray("\xEF\xBB\xBF"
                      "a\xC3\xA4\r\nb\r\nc\xC3\xA4\r\n");
    QTest::newRow("mixed breaks") << QByteArray("a\nb\r\nc\rd") << 1 << 5 << QByteArray("a\rd");
}

void TestLogText::removeKeepsTheRest() {
    QFETCH(QByteArray, bytes);
    QFETCH(int, start);
    QFETCH(int, end);
    QFETCH(QByteArray, expected);
    TLogText text = TLogText::fromBytes(bytes);
    text.remove(start, end);
    QCOMPARE(text.toBytes(), expected);
    QCOMPARE(text.display(), TLogText::fromBytes(expected).display());
}

void TestLogText::randomBytesSurvive() {
    // Garbage, with and without the mark: read back unchanged, and deleting any range of it
    // cuts one piece out of the bytes and changes nothing else.
    QRandomGenerator random(4711);
    const QByteArrayList pieces = {"\r",
                                   "\n",
                                   "\r\n",
                                   "\xC3\xA4",
                                   "\xE2\x82\xAC",
                                   "\xF0\x9F\x98\x80",
                                   "\xC3",
                                   "\xE2\x82",
                                   "\xED\xA0\x80",
                                   "\xC0\xAF",
                                   "a",
                                   "\x81"};
    for (int round = 0; round < 2000; ++round) {
        QByteArray bytes = round % 2 ? QByteArray("\xEF\xBB\xBF") : QByteArray();
        const int count = random.bounded(40);
        for (int i = 0; i < count; ++i)
            bytes += random.bounded(3) == 0 ? QByteArray(1, char(random.bounded(256)))
                                            : pieces[random.bounded(pieces.size())];
        TLogText text = TLogText::fromBytes(bytes);
        const QByteArray before = text.toBytes();
        QCOMPARE(before, QByteArray(bytes).replace('\0', QByteArray()));
        const int size = int(text.display().size());
        const int start = random.bounded(size + 1);
        const int end = start + random.bounded(size - start + 1);
        const auto pairAt = [&](int pos) {
            return pos > 0 && pos < size && text.display().at(pos).isLowSurrogate();
        };
        const int cutStart = pairAt(start) ? start - 1 : start;
        const int cutEnd = pairAt(end) ? end + 1 : end;
        const QString expected = QString(text.display()).remove(cutStart, cutEnd - cutStart);
        text.remove(start, end);
        // A lone CR that comes to stand before an LF makes one break of two.
        if (!QString::fromLatin1(before).contains(QRegularExpression("\r(?!\n)")))
            QCOMPARE(text.display(), expected);
        const QByteArray written = text.toBytes();
        qsizetype same = 0;
        while (same < written.size() && written[same] == before[same])
            ++same;
        QVERIFY(before.endsWith(written.mid(same)));
        QVERIFY(before.size() - written.size() >= end - start);
    }
}

void TestLogText::find_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("what");
    QTest::addColumn<int>("from");
    QTest::addColumn<bool>("forward");
    QTest::addColumn<bool>("matchCase");
    QTest::addColumn<bool>("wholeWord");
    QTest::addColumn<int>("expected");
    const QString t = "Orvel run\nfile orvels\nOrvel again";
    QTest::newRow("forward from start") << t << "Orvel" << 0 << true << false << false << 0;
    QTest::newRow("forward after first") << t << "Orvel" << 1 << true << false << false << 15;
    QTest::newRow("forward, case") << t << "Orvel" << 1 << true << true << false << 22;
    QTest::newRow("forward, whole word") << t << "Orvel" << 1 << true << false << true << 22;
    QTest::newRow("forward, none left") << t << "Orvel" << 23 << true << false << false << -1;
    QTest::newRow("backward from end")
        << t << "Orvel" << int(t.size()) << false << false << false << 22;
    QTest::newRow("backward from a match") << t << "Orvel" << 22 << false << false << false << 15;
    QTest::newRow("backward, whole word") << t << "Orvel" << 22 << false << false << true << 0;
    QTest::newRow("backward from start") << t << "Orvel" << 0 << false << false << false << -1;
    QTest::newRow("backward at the first") << t << "Orvel" << 1 << false << false << false << 0;
    QTest::newRow("empty text to find") << t << "" << 0 << true << false << false << -1;
    QTest::newRow("marker with blank") << "a *** b\n*** c"
                                       << "*** " << 3 << true << false << false << 8;
}

void TestLogText::find() {
    QFETCH(QString, text);
    QFETCH(QString, what);
    QFETCH(int, from);
    QFETCH(bool, forward);
    QFETCH(bool, matchCase);
    QFETCH(bool, wholeWord);
    QFETCH(int, expected);
    QCOMPARE(findText(text, what, from, forward, matchCase, wholeWord), qsizetype(expected));
}

QTEST_GUILESS_MAIN(TestLogText)
#include "tst_logtext.moc"
