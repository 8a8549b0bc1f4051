#include "projects/core/TemplateProcessor.h"

#include "base/core/LogFile.h"

#include "TestFiles.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

using namespace orvel;
using orvel::test::readAll;
using orvel::test::writeAll;

namespace {

const QByteArray kTemplate = "<!DOCTYPE html>\r\n"
                             "<!-- #var\r\n"
                             "  title = Home page // the site's start\r\n"
                             "  home = http://example.com/\r\n"
                             "-->\r\n"
                             "<html><head><title>[%Title]</title></head>\r\n"
                             "\r\n"
                             "\t\t<a href=\"[%HOME]\">[%undefined]</a>   \r\n";

const QByteArray kExpanded = "<html><head><title>Home page</title></head>\r\n"
                             "\r\n"
                             "  <a href=\"http://example.com/\">[%undefined]</a>\r\n";

// Files of the folder, so that a test sees any temporary file left behind.
QStringList filesIn(const QTemporaryDir& dir) {
    QStringList names = QDir(dir.path()).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot);
    names.sort();
    return names;
}

// Makes a file immutable for one scope, so that even the superuser cannot replace it.
class Immutable {
public:
    explicit Immutable(const QString& file) : m_file(file) {
        m_set = QProcess::execute("chattr", {"+i", m_file}) == 0;
    }
    ~Immutable() {
        if (m_set)
            QProcess::execute("chattr", {"-i", m_file});
    }
    Immutable(const Immutable&) = delete;
    Immutable& operator=(const Immutable&) = delete;
    bool isSet() const { return m_set; }

private:
    QString m_file;
    bool m_set = false;
};

} // namespace

class TestTemplateProcessor : public QObject {
    Q_OBJECT
private slots:
    void expansion_data();
    void expansion();
    void writesHtmlAndKeepsOneBackup();
    void unchangedResultKeepsItsTime();
    void keepsEncodingAndLineBreaks();
    void reportsToTheLog();
    void nothingWritten_data();
    void nothingWritten();
    void failedReplaceKeepsOldFile();
    void htmlNameInTheWayIsReported();
    void survivesGarbage();
};

void TestTemplateProcessor::expansion_data() {
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("output");

    QTest::newRow("the example") << QString::fromUtf8(kTemplate)
                                 << QString::fromUtf8(kExpanded).remove('\r');
    QTest::newRow("comments only after blanks")
        << "<!-- #var\na = x//y\nb = //c\nc =//c\nd = v\t// c\ne = ftp://h/p // c\n-->\n"
           "[[%a]|[%b]|[%c]|[%d]|[%e]]"
        << "[x//y|||v|ftp://h/p]\n";
    QTest::newRow("first definition holds, case ignored")
        << "<!-- #VAR x\nName = one\nNAME = two\n  -->  \n[%nAmE]"
        << "one\n";
    QTest::newRow("definition without value") << "<!-- #var\nflag\n-->\n<[%flag]>"
                                              << "<>\n";
    QTest::newRow("unclosed use is text") << "<!-- #var\na=1\n-->\n[%a] [%a and more"
                                          << "1 [%a and more\n";
    QTest::newRow("use inside an unknown name") << "<!-- #var\na=1\n-->\n[%x [%a]] [%a]"
                                                << "[%x [%a]] 1\n";
    QTest::newRow("second header adds definitions")
        << "<!-- #var\na=1\n-->\n[%a][%b]\n<!-- #var\nb=2\na=3\n-->\n[%a][%b]"
        << "1[%b]\n12\n";
    QTest::newRow("blank lines in the header vanish") << "<!-- #var\n\n a = 1\n\t\n-->\n\n \n[%a]\n"
                                                      << "\n\n1\n";
    QTest::newRow("value keeps inner blanks") << "<!-- #var\na =  two  words  \n-->\n([%a])"
                                              << "(two  words)\n";
}

void TestTemplateProcessor::expansion() {
    QFETCH(QString, input);
    QFETCH(QString, output);
    const TTemplateOutput out = expandTemplate(QString(input).remove('\r').split('\n'));
    QVERIFY(out.headerFound);
    QVERIFY(out.headerClosed);
    QString joined;
    for (const QString& line : out.lines)
        joined += line + '\n';
    // A final empty input line adds an empty output line.
    if (input.endsWith('\n'))
        joined.chop(1);
    QCOMPARE(joined, output);
}

void TestTemplateProcessor::writesHtmlAndKeepsOneBackup() {
    QTemporaryDir dir;
    const QString htt = dir.filePath("page.htt");
    const QString html = dir.filePath("page.html");
    writeAll(htt, kTemplate);
    writeAll(html, "old page");
    writeAll(html + ".bak", "older page");

    QString error;
    QCOMPARE(ProcessTemplate(htt, nullptr, &error), QFileInfo(html).absoluteFilePath());
    QVERIFY(error.isEmpty());
    QCOMPARE(readAll(html), kExpanded);
    QCOMPARE(readAll(html + ".bak"), QByteArray("old page"));

    writeAll(htt, "<!-- #var\r\nt=second\r\n-->\r\n[%t]\r\n");
    QCOMPARE(ProcessTemplate(htt), QFileInfo(html).absoluteFilePath());
    QCOMPARE(readAll(html), QByteArray("second\r\n"));
    QCOMPARE(readAll(html + ".bak"), kExpanded);
    QCOMPARE(filesIn(dir), QStringList({"page.html", "page.html.bak", "page.htt"}));
}

void TestTemplateProcessor::unchangedResultKeepsItsTime() {
    QTemporaryDir dir;
    const QString htt = dir.filePath("page.htt");
    const QString html = dir.filePath("page.html");
    writeAll(htt, kTemplate);
    QCOMPARE(ProcessTemplate(htt), QFileInfo(html).absoluteFilePath());
    const QDateTime old = QDateTime::currentDateTimeUtc().addDays(-1);
    {
        QFile f(html);
        QVERIFY(f.open(QIODevice::ReadWrite));
        QVERIFY(f.setFileTime(old, QFileDevice::FileModificationTime));
    }
    // Nothing new to write: the file, its time and the missing backup stay as they are, so a
    // publishing run does not send it again.
    const TTemplateRendering r = RenderTemplate(htt);
    QVERIFY(r.unchanged);
    QCOMPARE(r.bytes, kExpanded);
    QCOMPARE(ProcessTemplate(htt), QFileInfo(html).absoluteFilePath());
    QCOMPARE(QFileInfo(html).lastModified().toUTC().toSecsSinceEpoch(), old.toSecsSinceEpoch());
    QCOMPARE(filesIn(dir), QStringList({"page.html", "page.htt"}));
    // A template without a header is no template: nothing, and no error.
    writeAll(htt, "<p>plain</p>\r\n");
    QString error;
    const TTemplateRendering plain = RenderTemplate(htt, nullptr, &error);
    QVERIFY(plain.htmlFile.isEmpty() && plain.noHeader);
}

void TestTemplateProcessor::keepsEncodingAndLineBreaks() {
    QTemporaryDir dir;
    const QString htt = dir.filePath("Caf\xC3\xA9.HTT");
    // Windows-1252 with LF breaks: é is one byte and must stay so.
    writeAll(htt, "<!-- #var\nname = Caf\xE9\n-->\n<p>[%name] \x80</p>\n");
    QCOMPARE(ProcessTemplate(htt), dir.filePath("Caf\xC3\xA9.html"));
    QCOMPARE(readAll(dir.filePath("Caf\xC3\xA9.html")), QByteArray("<p>Caf\xE9 \x80</p>\n"));

    // UTF-8 with its byte-order mark.
    const QString bom = dir.filePath("bom.htt");
    writeAll(bom, "\xEF\xBB\xBF<!-- #var\r\nx = \xE2\x82\xAC\r\n-->\r\n[%x]\r\n");
    QCOMPARE(ProcessTemplate(bom), dir.filePath("bom.html"));
    QCOMPARE(readAll(dir.filePath("bom.html")), QByteArray("\xEF\xBB\xBF\xE2\x82\xAC\r\n"));
}

void TestTemplateProcessor::reportsToTheLog() {
    QTemporaryDir dir;
    TLogFile log(dir.filePath("transfer.log"));
    QVERIFY(log.Open());
    QStringList actions, statuses;
    TTemplateReport report;
    report.log = &log;
    report.showAction = [&](const QString& t) { actions << t; };
    report.showStatus = [&](const QString& t) { statuses << t; };

    writeAll(dir.filePath("a.htt"), kTemplate);
    writeAll(dir.filePath("b.htt"), "<p>no header</p>\r\n");
    QVERIFY(!ProcessTemplate(dir.filePath("a.htt"), &report).isEmpty());
    QString error;
    QVERIFY(ProcessTemplate(dir.filePath("b.htt"), &report, &error).isEmpty());
    log.Close();

    QCOMPARE(actions,
             QStringList({"Processing HTML template: a.htt", "Processing HTML template: b.htt"}));
    QCOMPARE(statuses, QStringList({"No header found in HTML template: b.htt"}));
    QCOMPARE(error, statuses.last());
    const QByteArray text = readAll(log.logName());
    QVERIFY(text.contains("        Processing HTML template: a.htt\r\n"));
    QVERIFY(text.contains("\r\n        No header found in HTML template: b.htt\r\n"));
    QVERIFY(!QFile::exists(dir.filePath("b.html")));
}

void TestTemplateProcessor::nothingWritten_data() {
    QTest::addColumn<QByteArray>("templ");
    QTest::addColumn<QString>("message");
    QTest::newRow("no header") << QByteArray("<p>[%x]</p>\n")
                               << "No header found in HTML template: page.htt";
    QTest::newRow("header never closed")
        << QByteArray("<!-- #var\nx = 1\n<p>[%x]</p>\n")
        << "No end of header (\"-->\") found in HTML template: page.htt";
    QTest::newRow("closed, then a second header open")
        << QByteArray("<!-- #var\nx = 1\n-->\n<p>[%x]</p>\n<!-- #var\n")
        << "No end of header (\"-->\") found in HTML template: page.htt";
    QTest::newRow("missing template") << QByteArray() << "";
}

void TestTemplateProcessor::nothingWritten() {
    QFETCH(QByteArray, templ);
    QFETCH(QString, message);
    QTemporaryDir dir;
    const QString htt = dir.filePath("page.htt");
    if (!templ.isNull())
        writeAll(htt, templ);
    else
        message = "File: \"" + QDir::toNativeSeparators(htt) + "\"\r\nnot found";
    writeAll(dir.filePath("page.html"), "old page");
    QString error;
    QCOMPARE(ProcessTemplate(htt, nullptr, &error), QString());
    QCOMPARE(error, message);
    QCOMPARE(readAll(dir.filePath("page.html")), QByteArray("old page"));
    QStringList expected = {"page.html"};
    if (!templ.isNull())
        expected.append("page.htt");
    QCOMPARE(filesIn(dir), expected);
}

void TestTemplateProcessor::failedReplaceKeepsOldFile() {
    QTemporaryDir dir;
    const QString htt = dir.filePath("page.htt");
    const QString html = dir.filePath("page.html");
    writeAll(htt, kTemplate);
    writeAll(html, "old page");
    const Immutable lock(html);
    if (!lock.isSet())
        QSKIP("chattr +i is not available here");
    QString error;
    QCOMPARE(ProcessTemplate(htt, nullptr, &error), QString());
    QVERIFY2(error.startsWith("Error writing to \"" + QDir::toNativeSeparators(html) + "\"\r\n"),
             qPrintable(error));
    QCOMPARE(readAll(html), QByteArray("old page"));
    QCOMPARE(filesIn(dir), QStringList({"page.html", "page.html.bak", "page.htt"}));
}

void TestTemplateProcessor::htmlNameInTheWayIsReported() {
    QTemporaryDir dir;
    const QString htt = dir.filePath("page.htt");
    writeAll(htt, kTemplate);
    QVERIFY(QDir(dir.path()).mkdir("page.html"));
    writeAll(dir.filePath("page.html/keep"), "kept");
    QString error;
    QCOMPARE(ProcessTemplate(htt, nullptr, &error), QString());
    QVERIFY2(error.contains("page.html"), qPrintable(error));
    QCOMPARE(readAll(dir.filePath("page.html/keep")), QByteArray("kept"));
    QCOMPARE(filesIn(dir), QStringList({"page.html", "page.htt"}));

    // A template named like its HTML file would be overwritten by its own output.
    const QString self = dir.filePath("self.html");
    writeAll(self, kTemplate);
    QCOMPARE(ProcessTemplate(self, nullptr, &error), QString());
    QCOMPARE(readAll(self), kTemplate);
}

void TestTemplateProcessor::survivesGarbage() {
    // Lines built from the syntax's own pieces find the corners; raw bytes the decoder's.
    const QStringList pieces = {"<!-- #var", "-->", "[%", "]",    "=",    "//", "\t",
                                " ",         "a",   "A",  "\xE9", "[%a]", "\r", "<!-- #VAR x"};
    QRandomGenerator random(20241209);
    QTemporaryDir dir;
    const QString htt = dir.filePath("fuzz.htt");
    for (int round = 0; round < 200; ++round) {
        QStringList lines;
        for (int l = random.bounded(30); l > 0; --l) {
            QString line;
            for (int p = random.bounded(12); p > 0; --p)
                line += pieces[random.bounded(int(pieces.size()))];
            lines << line;
        }
        const TTemplateOutput out = expandTemplate(lines);
        QVERIFY(out.lines.size() <= lines.size());
        QVERIFY(out.headerFound || out.lines.isEmpty());

        QByteArray bytes(random.bounded(400), Qt::Uninitialized);
        for (char& c : bytes)
            c = char(random.bounded(256));
        if (round % 2)
            bytes.prepend("<!-- #var\n");
        writeAll(htt, bytes);
        QString error;
        const QString html = ProcessTemplate(htt, nullptr, &error);
        QVERIFY(html.isEmpty() != error.isEmpty());
    }
}

QTEST_GUILESS_MAIN(TestTemplateProcessor)
#include "tst_templateprocessor.moc"
