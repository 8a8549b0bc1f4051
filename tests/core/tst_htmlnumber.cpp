#include "dialogs/core/HtmlNumber.h"
#include "editor/core/ElementRules.h"

#include <QTest>

using namespace orvel;

class TestHtmlNumber : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void parse_data();
    void parse();
    void format_data();
    void format();
    void steps_data();
    void steps();
    void colourWords_data();
    void colourWords();
    void mailCodes();
};

void TestHtmlNumber::parse_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("units");
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("unit");
    QTest::newRow("em") << "1.0em" << true << 1.0 << 8;
    QTest::newRow("percent") << "100%" << true << 100.0 << 1;
    QTest::newRow("upper case px") << "30PX" << true << 30.0 << 2;
    QTest::newRow("ex is not em") << "2ex" << true << 2.0 << 9;
    QTest::newRow("without units the suffix stays") << "20%" << false << 0.0 << 0;
    QTest::newRow("plain") << "5" << true << 5.0 << 0;
    QTest::newRow("garbage") << "abc" << true << 0.0 << 0;
}

void TestHtmlNumber::parse() {
    QFETCH(QString, text);
    QFETCH(bool, units);
    QFETCH(double, value);
    QFETCH(int, unit);
    const THtmlNumber n = parseHtmlNumber(text, units);
    QCOMPARE(n.value, value);
    QCOMPARE(n.unit, unit);
}

void TestHtmlNumber::format_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("unit");
    QTest::addColumn<QString>("text");
    QTest::newRow("pixels round") << 12.6 << 2 << "13px";
    QTest::newRow("points one decimal") << 10.0 << 3 << "10.0pt";
    QTest::newRow("inch two decimals") << 1.5 << 7 << "1.50in";
    QTest::newRow("no unit") << 3.2 << 0 << "3";
    QTest::newRow("seven significant digits") << 123456.78 << 6 << "123456.8cm";
}

void TestHtmlNumber::format() {
    QFETCH(double, value);
    QFETCH(int, unit);
    QFETCH(QString, text);
    QCOMPARE(formatHtmlNumber({value, unit}), text);
}

void TestHtmlNumber::steps_data() {
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("step");
    QTest::newRow("small") << 9 << 1;
    QTest::newRow("ten") << 10 << 5;
    QTest::newRow("below thousand") << 999 << 50;
    QTest::newRow("thousands") << 5000 << 500;
    QTest::newRow("large") << 10000 << 5000;
}

void TestHtmlNumber::steps() {
    QFETCH(int, value);
    QFETCH(int, step);
    QCOMPARE(numberStep(value), step);
}

void TestHtmlNumber::colourWords_data() {
    QTest::addColumn<QString>("word");
    QTest::addColumn<bool>("colour");
    QTest::addColumn<uint>("bgr");
    QTest::newRow("orange") << "FF8000" << true << 0x0080FFu;
    QTest::newRow("short last group") << "FF800" << true << 0x0080FFu;
    QTest::newRow("word") << "body" << false << 0u;
    QTest::newRow("not hex") << "FF80ZZ" << false << 0u;
}

void TestHtmlNumber::colourWords() {
    QFETCH(QString, word);
    QFETCH(bool, colour);
    QFETCH(uint, bgr);
    quint32 got = 0;
    QCOMPARE(parseHtmlColorWord(word, got), colour);
    if (colour) {
        QCOMPARE(got, bgr);
        QCOMPARE(htmlColorHex(got).left(word.size() == 6 ? 6 : 4),
                 word.left(word.size() == 6 ? 6 : 4));
    }
}

void TestHtmlNumber::mailCodes() {
    QCOMPARE(mailCode(QStringLiteral("a@b"), 200), QString("200:169:136:170"));
    QCOMPARE(decodeMailCode(QStringLiteral("'200:169:136:170'")), QString("a@b"));
    QVERIFY(decodeMailCode(QStringLiteral("0:1:2")).isEmpty());
    QVERIFY(decodeMailCode(QStringLiteral("no code")).isEmpty());
}

QTEST_GUILESS_MAIN(TestHtmlNumber)
#include "tst_htmlnumber.moc"
