#include "search/core/TextMatcher.h"

#include <QTest>

using namespace orvel;

namespace {

char folded(char c) {
    return c >= 'A' && c <= 'Z' ? char(c + 32) : c;
}

// The first start at or after from, before limit, by looking at every one.
qsizetype slowFind(QByteArrayView text, QByteArrayView needle, bool matchCase, qsizetype from,
                   qsizetype limit) {
    for (qsizetype at = from; at < limit && at + needle.size() <= text.size(); ++at) {
        qsizetype i = 0;
        while (i < needle.size() &&
               (matchCase ? text[at + i] == needle[i] : folded(text[at + i]) == folded(needle[i])))
            ++i;
        if (i == needle.size())
            return at;
    }
    return -1;
}

} // namespace

class TestTextMatcher : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // The scan takes many starts at a time: a match is found wherever it lies against the
    // steps, near the text's end and next to a limit, and no earlier one is made up.
    void findsWhereAByteByByteLookFinds_data() {
        QTest::addColumn<QByteArray>("needle");
        QTest::addColumn<bool>("matchCase");
        QTest::newRow("one byte") << QByteArray("x") << true;
        QTest::newRow("two, any case") << QByteArray("Ab") << false;
        QTest::newRow("word, any case") << QByteArray("iterAtor") << false;
        QTest::newRow("long, same first and last") << QByteArray(40, 'q') << true;
    }
    void findsWhereAByteByByteLookFinds() {
        QFETCH(QByteArray, needle);
        QFETCH(bool, matchCase);
        const TTextMatcher matcher = TTextMatcher::forBytes(needle, matchCase);
        // Near misses all around: the first and last bytes fit, the middle does not.
        QByteArray nearMiss = needle;
        if (needle.size() > 2)
            nearMiss[needle.size() / 2] = '-';
        for (int size : {0, 1, 15, 16, 31, 32, 33, 47, 64, 65, 100, 130}) {
            for (int at = -1; at < size; ++at) {
                QByteArray text(size, '.');
                for (int i = 3; i + nearMiss.size() <= size; i += 7)
                    text.replace(i, nearMiss.size(), nearMiss);
                if (at >= 0 && at + needle.size() <= size)
                    text.replace(at, needle.size(), matchCase ? needle : needle.toUpper());
                for (const qsizetype from : {qsizetype(0), qsizetype(at > 0 ? at - 1 : 0)})
                    for (const qsizetype limit : {qsizetype(-1), qsizetype(at + 1)}) {
                        const qsizetype end = limit < 0 ? text.size() : limit;
                        const qsizetype got = matcher.find(text, from, limit);
                        const qsizetype want = slowFind(text, needle, matchCase, from, end);
                        QVERIFY2(got == want,
                                 qPrintable(QStringLiteral("size %1, match at %2, from %3, "
                                                           "limit %4: %5 instead of %6")
                                                .arg(size)
                                                .arg(at)
                                                .arg(from)
                                                .arg(limit)
                                                .arg(got)
                                                .arg(want)));
                    }
            }
        }
    }
};

QTEST_GUILESS_MAIN(TestTextMatcher)
#include "tst_textmatcher.moc"
