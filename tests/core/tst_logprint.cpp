#include "app/core/LogPrintLayout.h"

#include <QTest>

using namespace orvel;

namespace {

// A fixed-pitch font of 21 units a character (Courier at 10 points is about that), with "W"
// standing for a character wider than any page.
double width(const QString& s) {
    double w = 0;
    for (const QChar c : s)
        w += c == u'W' ? 5000 : 21;
    return w;
}

QStringList pieces(std::initializer_list<QString> list) {
    return QStringList(list);
}

} // namespace

class TestLogPrint : public QObject {
    Q_OBJECT
private slots:
    void geometry_data();
    void geometry();
    void breakLine_data();
    void breakLine();
    void piecesNeverExceedTheWidth();
    void pagination_data();
    void pagination();
    void shortenName_data();
    void shortenName();
};

void TestLogPrint::geometry_data() {
    QTest::addColumn<int>("fontSize");
    QTest::addColumn<int>("textHeight");
    QTest::addColumn<int>("bodyTop");
    QTest::newRow("10 pt") << 10 << 35 << 150 + 2 * 38 + 20;
    QTest::newRow("12 pt") << 12 << 42 << 150 + 2 * 45 + 20;
    QTest::newRow("8 pt") << 8 << 28 << 150 + 2 * 31 + 20;
}

void TestLogPrint::geometry() {
    QFETCH(int, fontSize);
    QFETCH(int, textHeight);
    QFETCH(int, bodyTop);
    TLogPageGeometry g;
    g.fontSize = fontSize;
    QCOMPARE(g.textHeight(), textHeight);
    QCOMPARE(g.lineAdvance(), textHeight + 3);
    QCOMPARE(g.bodyTop(), bodyTop);
    QCOMPARE(g.printableWidth(), 1700);
    QCOMPARE(g.bottomLimit(), 2750);
}

void TestLogPrint::breakLine_data() {
    QTest::addColumn<QString>("line");
    QTest::addColumn<int>("chars"); // printable width in characters
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("fits") << "Directory: /www" << 20 << pieces({"Directory: /www"});
    QTest::newRow("fits exactly") << "0123456789" << 10 << pieces({"0123456789"});
    QTest::newRow("empty") << "" << 10 << pieces({""});
    const QString x200(200, u'x');
    QTest::newRow("200 characters without break characters")
        << x200 << 80 << pieces({x200.left(80), "* " + x200.mid(80, 78), "* " + x200.mid(158)});
    const QString error = "*** Error: C:\\site\\sub dir\\file.html";
    QTest::newRow("error line, 20 wide")
        << error << 20 << pieces({"*** Error: C:\\site\\", "* sub dir\\file.html"});
    QTest::newRow("error line, 16 wide")
        << error << 16 << pieces({"*** Error: C:\\", "* site\\sub dir\\", "* file.html"});
    QTest::newRow("error line, 12 wide")
        << error << 12 << pieces({"*** Error: ", "* C:\\site\\", "* sub dir\\", "* file.html"});
    QTest::newRow("first chunk too wide: cut at the margin")
        << "aaaaaaaaaaaaaaa bb" << 10 << pieces({"aaaaaaaaaa", "* aaaaa bb"});
    QTest::newRow("braces break") << "{a}{b}{c}{d}{e}" << 7
                                  << pieces({"{a}{b}", "* {c}", "* {d}", "* {e}"});
    QTest::newRow("tail without break characters is cut")
        << "ab cdefghijkl" << 6 << pieces({"ab ", "* cdef", "* ghij", "* kl"});
    QTest::newRow("character wider than the page") << "aWb" << 10 << pieces({"a", "* W", "* b"});
    QTest::newRow("only wide characters") << "WWW" << 10 << pieces({"W", "* W", "* W"});
    QTest::newRow("wide character alone") << "W" << 10 << pieces({"W"});
}

void TestLogPrint::breakLine() {
    QFETCH(QString, line);
    QFETCH(int, chars);
    QFETCH(QStringList, expected);
    QCOMPARE(breakPrintLine(line, chars * 21, width), expected);
}

void TestLogPrint::piecesNeverExceedTheWidth() {
    // Every piece holds at least one character of the line, fits unless it is that one
    // character, and together the pieces give the line back.
    const QString line = "/site/a b\\c}d/" + QString(90, u'q') + " end}\\ W z";
    for (int chars = 3; chars <= 40; ++chars) {
        const QStringList got = breakPrintLine(line, chars * 21, width);
        QString joined;
        for (int i = 0; i < got.size(); ++i) {
            const QString body = i == 0 ? got[i] : got[i].mid(2);
            QVERIFY(i == 0 || got[i].startsWith("* "));
            QVERIFY(!body.isEmpty());
            QVERIFY2(width(got[i]) <= chars * 21 || body.size() == 1,
                     qPrintable(QString("%1 wide: %2").arg(chars).arg(got[i])));
            joined += body;
        }
        QCOMPARE(joined, line);
    }
}

void TestLogPrint::pagination_data() {
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QList<int>>("perPage");
    QTest::addColumn<QString>("firstOnLastPage");

    // From y 246 in steps of 38 below 2750: 66 lines a page.
    QStringList full;
    for (int i = 1; i <= 66; ++i)
        full << QString("line %1").arg(i);
    QTest::newRow("one full page") << full << QList<int>{66} << "line 1";
    QTest::newRow("one line more") << (full + QStringList{"next"}) << QList<int>{66, 1} << "next";
    QStringList broken = full.mid(0, 65);
    broken << QString(200, u'x');
    QTest::newRow("pieces continue on the next page")
        << broken << QList<int>{66, 2} << "* " + QString(78, u'x');
    QTest::newRow("one empty line") << QStringList{""} << QList<int>{1} << "";
}

void TestLogPrint::pagination() {
    QFETCH(QStringList, lines);
    QFETCH(QList<int>, perPage);
    QFETCH(QString, firstOnLastPage);
    TLogPageGeometry g;
    g.pageWidth = 1980; // 80 characters of 21 between the margins
    const QList<TLogPrintPage> pages = layoutLogPages(lines, g, width);
    QCOMPARE(pages.size(), perPage.size());
    for (int p = 0; p < pages.size(); ++p) {
        QCOMPARE(pages[p].number, p + 1);
        QCOMPARE(pages[p].pieces.size(), perPage[p]);
        for (int i = 0; i < pages[p].pieces.size(); ++i)
            QCOMPARE(pages[p].pieces[i].y, g.bodyTop() + i * g.lineAdvance());
        QVERIFY(pages[p].pieces.last().y < g.bottomLimit());
    }
    QCOMPARE(pages.last().pieces.first().text, firstOnLastPage);
}

void TestLogPrint::shortenName_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("max");
    QTest::addColumn<QString>("expected");
    QTest::newRow("fits") << "/home/ann/.config/Brimwell/orvel.log" << 74
                          << "/home/ann/.config/Brimwell/orvel.log";
    const QString name = "/home/user/projects/site/transfer.log"; // 37 characters
    QTest::newRow("one folder goes") << name << 36 << "/home/user/projects/.../transfer.log";
    QTest::newRow("folders go from the file name on")
        << name << 30 << "/home/user/.../transfer.log";
    QTest::newRow("all folders go") << name << 17 << "/.../transfer.log";
    QTest::newRow("even that too long") << name << 16 << ".../transfer.log";
    QTest::newRow("tiny") << name << 10 << "...fer.log";
    QTest::newRow("no folder") << "averyveryverylongname.log" << 12 << "...gname.log";
}

void TestLogPrint::shortenName() {
    QFETCH(QString, name);
    QFETCH(int, max);
    QFETCH(QString, expected);
    QCOMPARE(shortenFileName(name, max), expected);
    QVERIFY(shortenFileName(name, max).size() <= max);
}

QTEST_GUILESS_MAIN(TestLogPrint)
#include "tst_logprint.moc"
