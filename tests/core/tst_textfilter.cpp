#include "search/core/TextFilter.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QTest>

using namespace orvel;

class TestTextFilter : public QObject {
    Q_OBJECT
private slots:
    void masks_data();
    void masks();
    void fileFilter_data();
    void fileFilter();
    void agreesWithFnmatch();
    void illegalMask_data();
    void illegalMask();
    void regular_data();
    void regular();
    void illegalRegular();
    void runawayRegularGivesError();
    void assignCopiesEverything();
};

namespace {

// Masks whose rules are fnmatch's: no list, no negation, no "+".
const QList<std::pair<QString, QString>> kCrossCases = {
    {"htm*", "htm"},
    {"htm*", "html"},
    {"htm*", "HTM"},
    {"htm*", "htmx"},
    {"htm*", "shtml"},
    {"htm*", "htt"},
    {"*", ""},
    {"*", "gif"},
    {"?", ""},
    {"?", "a"},
    {"?", "ab"},
    {"g?f", "GIF"},
    {"g?f", "gf"},
    {"*.*", "a.b"},
    {"*.*", "ab"},
    {"[a-c]*", "Bmp"},
    {"[a-c]*", "dmp"},
    {"[!a-c]*", "dmp"},
    {"[!a-c]*", "bmp"},
    {"[]]", "]"},
    {"[!]]", "a"},
    {"[!]]", "]"},
    {"[a-]", "-"},
    {"[a-]", "b"},
    {"*a*a*a*b", "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaac"},
    {"*a*a*a*b", "aaab"},
    {"j*g", "jpeg"},
    {"j*g", "jpg"},
    {"j*g", "jpgx"},
    {"*s", "css"},
    {"**s", "js"},
    {"é*", "ÉTÉ"},
    {"[xyz]?[0-9]", "Y_7"},
    {"php?", "php5"},
    {"php?", "php"},
    {"tar.gz", "tar.gz"},
    {"tar.gz", "tarxgz"},
};

// Every blank-separated text of passing must pass, every one of failing must not.
void checkTexts(const TTextFilter& f, const QString& passing, const QString& failing) {
    for (const QString& text : passing.split(' ', Qt::SkipEmptyParts))
        QVERIFY2(f.MatchesFilter(text), qPrintable(text));
    for (const QString& text : failing.split(' ', Qt::SkipEmptyParts))
        QVERIFY2(!f.MatchesFilter(text), qPrintable(text));
}

} // namespace

void TestTextFilter::masks_data() {
    QTest::addColumn<QString>("filter");
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("passing");
    QTest::addColumn<QString>("failing");

    QTest::newRow("prefix") << "htm*" << 1 << "htm html HTM htmx"
                            << "shtml htt";
    QTest::newRow("negated mask") << "!gif" << 1 << "jpg png gi giff"
                                  << "gif GIF";
    QTest::newRow("any: the star decides") << "!gif|*" << 1 << "jpg gif GIF png"
                                           << "";
    QTest::newRow("all: every mask must pass") << "+!gif|*" << 1 << "jpg png"
                                               << "gif Gif";
    QTest::newRow("list ignores case") << "gif|jpg|png" << 1 << "JPG gif Png"
                                       << "bmp jp";
    QTest::newRow("empty passes all") << "" << 1 << "gif htm x"
                                      << "";
    QTest::newRow("separators only") << "|||" << 1 << "gif htm"
                                     << "";
    QTest::newRow("empty masks skipped") << "|gif||" << 1 << "gif"
                                         << "jpg";
    QTest::newRow("mode 2 inverts") << "htm*" << 2 << "shtml css htt"
                                    << "htm html HTMX";
    QTest::newRow("mode 0 is off") << "htm*" << 0 << "css htm"
                                   << "";
    QTest::newRow("all with sets") << "+[a-m]*|*s" << 1 << "css js"
                                   << "ts cs2";
    QTest::newRow("set negation") << "[!h]*" << 1 << "css js"
                                  << "htm Html";
    QTest::newRow("lone bang") << "!" << 1 << "gif"
                               << "";
}

void TestTextFilter::masks() {
    QFETCH(QString, filter);
    QFETCH(int, mode);
    QFETCH(QString, passing);
    QFETCH(QString, failing);
    TTextFilter f(false, true);
    f.setMode(mode);
    f.setFilter(filter);
    QCOMPARE(f.Filter(), filter.isEmpty() ? QStringLiteral("*") : filter);
    checkTexts(f, passing, failing);
}

void TestTextFilter::fileFilter_data() {
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("passing");
    QTest::addColumn<QString>("failing");

    QTest::newRow("names get every extension") << "index|*.css"
                                               << "index.*|*.css"
                                               << "index.html INDEX.htm a.css"
                                               << "index x.js";
    QTest::newRow("trailing dot: no extension") << "make."
                                                << "make."
                                                << "make Make"
                                                << "make.txt makefile";
    QTest::newRow("empty masks stay empty") << "a.x||b"
                                            << "a.x||b.*"
                                            << "a.x b.y"
                                            << "b";
    QTest::newRow("negated name") << "+!~*|*"
                                  << "+!~*.*|*.*"
                                  << "a.txt"
                                  << "~a.txt";
}

void TestTextFilter::fileFilter() {
    QFETCH(QString, filter);
    QFETCH(QString, stored);
    QFETCH(QString, passing);
    QFETCH(QString, failing);
    TTextFilter f(true, true);
    f.setMode(1);
    f.setFilter(filter);
    QCOMPARE(f.Filter(), stored);
    checkTexts(f, passing, failing);
}

void TestTextFilter::agreesWithFnmatch() {
    QProcess python;
    python.start("python3", {QStringLiteral(ORVEL_TEST_DATA "/fnmatch_cases.py")});
    if (!python.waitForStarted())
        QSKIP("python3 is not available");
    QByteArray input;
    for (const auto& [mask, name] : kCrossCases)
        input += (mask + '\t' + name + '\n').toUtf8();
    python.write(input);
    python.closeWriteChannel();
    QVERIFY(python.waitForFinished(30000));
    QCOMPARE(python.exitCode(), 0);
    const QList<QByteArray> answers = python.readAllStandardOutput().split('\n');
    QCOMPARE(answers.size(), kCrossCases.size() + 1); // the final line break
    TTextFilter f(false, true);
    f.setMode(1);
    for (qsizetype i = 0; i < kCrossCases.size(); ++i) {
        const auto& [mask, name] = kCrossCases[i];
        f.setFilter(mask);
        const bool expected = answers[i] == "1";
        QVERIFY2(f.MatchesFilter(name) == expected,
                 qPrintable(QStringLiteral("%1 on \"%2\": fnmatch says %3")
                                .arg(mask, name, QString::number(expected))));
    }
}

void TestTextFilter::illegalMask_data() {
    QTest::addColumn<QString>("filter");
    QTest::newRow("unclosed set") << "[abc";
    QTest::newRow("unclosed in a list") << "htm*|[abc|gif";
    QTest::newRow("empty set") << "[]";
    QTest::newRow("unclosed negated set") << "[!a";
    QTest::newRow("reversed range") << "[z-a]";
}

void TestTextFilter::illegalMask() {
    QFETCH(QString, filter);
    TTextFilter f(false, true);
    f.setMode(1);
    f.setFilter("gif");
    try {
        f.setFilter(filter);
        QFAIL("no error raised");
    } catch (const EFilterError& e) {
        QCOMPARE(e.message(), QStringLiteral("Illegal mask!"));
    }
    QCOMPARE(f.Filter(), QStringLiteral("*"));
    QVERIFY(f.MatchesFilter("abc"));
}

void TestTextFilter::regular_data() {
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<bool>("ignoreCase");
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("passing");
    QTest::addColumn<QString>("failing");
    QTest::newRow("anywhere") << "tm" << true << 1 << "htm SHTML"
                              << "css";
    QTest::newRow("anchored") << "^html?$" << true << 1 << "htm HTML"
                              << "shtml htmx";
    QTest::newRow("case kept") << "^html?$" << false << 1 << "htm"
                               << "HTM";
    QTest::newRow("inverted") << "^(gif|png)$" << true << 2 << "jpg giff"
                              << "gif PNG";
    QTest::newRow("empty is all") << "" << true << 1 << "x gif"
                                  << "";
}

void TestTextFilter::regular() {
    QFETCH(QString, pattern);
    QFETCH(bool, ignoreCase);
    QFETCH(int, mode);
    QFETCH(QString, passing);
    QFETCH(QString, failing);
    TTextFilter f(false, ignoreCase);
    f.setRegular(true);
    f.setMode(mode);
    f.setFilter(pattern);
    QCOMPARE(f.Filter(), pattern.isEmpty() ? QStringLiteral(".") : pattern);
    QCOMPARE(f.MatchAll(), QStringLiteral("."));
    checkTexts(f, passing, failing);
}

void TestTextFilter::illegalRegular() {
    TTextFilter f(false, true);
    f.setRegular(true);
    f.setMode(1);
    f.setFilter("^gif$");
    QVERIFY_THROWS_EXCEPTION(EFilterError, f.setFilter("(gif"));
    QCOMPARE(f.Filter(), QStringLiteral("."));
    QVERIFY(f.MatchesFilter("css"));
    f.setRegular(false);
    QCOMPARE(f.Filter(), QStringLiteral("*")); // the mask list is its own
}

void TestTextFilter::runawayRegularGivesError() {
    TTextFilter f(false, true);
    f.setRegular(true);
    f.setMode(1);
    f.setFilter("^(a+)+$"); // harmless on "xyz"
    QElapsedTimer timer;
    timer.start();
    const QString name = QString(40, 'a') + 'b';
    try {
        f.MatchesFilter(name);
        QFAIL("no error raised");
    } catch (const EFilterError& e) {
        QVERIFY(e.message().contains(name));
    }
    // Generous: without a limit this takes longer than the universe's age.
    QVERIFY2(timer.elapsed() < 60000, "the match limit did not stop the match");
    QVERIFY(f.MatchesFilter(QString(40, 'a')));
}

void TestTextFilter::assignCopiesEverything() {
    TTextFilter a(false, true);
    a.setRegular(true);
    a.setMode(2);
    a.setSeparator(',');
    a.setFilter("^gif$");
    TTextFilter b(false, true);
    b.Assign(a);
    QVERIFY(b.Regular());
    QCOMPARE(b.Mode(), 2);
    QCOMPARE(b.Separator(), QChar(','));
    QCOMPARE(b.Filter(), QStringLiteral("^gif$"));
    QVERIFY(!b.MatchesFilter("GIF"));
    QVERIFY(b.MatchesFilter("png"));

    b.Reset();
    QVERIFY(!b.Regular());
    QCOMPARE(b.Mode(), 0);
    QCOMPARE(b.Filter(), QStringLiteral("*"));
    QCOMPARE(b.MatchAll(), QStringLiteral("*"));
    QVERIFY(!a.MatchesFilter("gif")); // the copy shares nothing that changes
}

QTEST_APPLESS_MAIN(TestTextFilter)
#include "tst_textfilter.moc"
