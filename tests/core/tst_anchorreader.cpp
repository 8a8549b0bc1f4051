#include "search/core/AnchorReader.h"

#include "TestFiles.h"

#include <QTemporaryDir>
#include <QTest>

using namespace orvel;

class TestAnchorReader : public QObject {
    Q_OBJECT
private slots:
    void entries_data();
    void entries();
    void positions_data();
    void positions();
    void linkTextIsBounded();
    void unclosedAnchorsInARow();
    void nameOfEntry_data();
    void nameOfEntry();
    void files_data();
    void files();
    void missingFileIsNamed();
};

namespace {

QString entriesOf(const QString& html) {
    QStringList out;
    for (const TAnchor& a : readAnchors(html))
        out << a.entry();
    return out.join(u'\n');
}

} // namespace

void TestAnchorReader::entries_data() {
    QTest::addColumn<QString>("html");
    QTest::addColumn<QString>("entries");
    QTest::newRow("plain") << "<p><a name=\"top\">Top of page</a>"
                           << "|top| (1): Top of page";
    QTest::newRow("upper-case tag and attribute") << "<A NAME=\"x\">X</A>"
                                                  << "|x| (1): X";
    QTest::newRow("blanks and tabs") << "<a \t name=\"x\">t</a>"
                                     << "|x| (1): t";
    QTest::newRow("control character between attributes") << "<a href=\"#\"\x01name=\"x\">t</a>"
                                                          << "|x| (1): t";
    QTest::newRow("attribute before the name") << "<a href=\"#\" name=\"x\">t</a>"
                                               << "|x| (1): t";
    QTest::newRow("single quotes") << "<a name='x'>t</a>"
                                   << "|x| (1): t";
    QTest::newRow("unquoted") << "<a name=x>t</a>"
                              << "|x| (1): t";
    QTest::newRow("blanks around =") << "<a name = \"x\">t</a>"
                                     << "|x| (1): t";
    QTest::newRow("line break before the name") << "<a\r\nname=\"x\">t</a>"
                                                << "|x| (2): t";
    QTest::newRow("name trimmed") << "<a name=\" x \">t</a>"
                                  << "|x| (1): t";
    QTest::newRow("further attribute, line 5") << "\n\n\n\n<a name=\"a1\" class=\"c\">Top</a>"
                                               << "|a1| (5): Top";
    QTest::newRow("CR LF in link text") << "<a name=\"x\">Top\r\nof page</a>"
                                        << "|x| (1): Top of page";
    QTest::newRow("LF in link text") << "<a name=\"x\">Top\nof page</a>"
                                     << "|x| (1): Top of page";
    QTest::newRow("tags removed")
        << "<a name=\"x\"><b>Top</b> <img src=\"a.png\" alt=\"&gt;\"> page<!-- c > d --></a>"
        << "|x| (1): Top  page";
    QTest::newRow("entities kept, NBSP a blank")
        << QString("<a name=\"x\">A&amp;B&nbsp;C\u00A0D</a>") << "|x| (1): A&amp;B&nbsp;C D";
    QTest::newRow("lone < is text") << "<a name=\"x\">1 < 2</a>"
                                    << "|x| (1): 1 < 2";
    QTest::newRow("upper-case end tag ends the text")
        << "<a name=\"x\">Top</A> more <a href=\"y\">link</a>"
        << "|x| (1): Top";
    QTest::newRow("end tag with blank") << "<a name=\"x\">Top</a >"
                                        << "|x| (1): Top";
    QTest::newRow("never closed") << "<a name=\"x\">Top"
                                  << "|x| (1): ";
    QTest::newRow("self-closing") << "<a name=\"x\"/>text</a>"
                                  << "|x| (1): ";
    QTest::newRow("nested anchors") << "<a name=\"a\"><a name=\"b\">T</a>"
                                    << "|a| (1): T\n|b| (1): T";
    QTest::newRow("empty name") << "<a name=\"\">t</a><a name=\"  \">u</a>"
                                << "";
    QTest::newRow("name without value") << "<a name>t</a>"
                                        << "";
    QTest::newRow("names matched whole")
        << "<a data-name=\"x\" aria-id=\"y\" nameX=\"z\">t</a><abbr name=\"w\">w</abbr>"
           "<aname=\"v\">"
        << "";
    QTest::newRow("name only on a") << "<input name=\"q\"><div name=\"r\">r</div>"
                                    << "";
    QTest::newRow("first name wins") << "<a name=\"x\" name=\"y\">t</a>"
                                     << "|x| (1): t";
    QTest::newRow("id anchor") << "<h2 class=\"c\" id=\"intro\">Intro<br>duction</h2>"
                               << "|intro| (1, id): Introduction";
    QTest::newRow("id on a void element") << "<img id=\"pic\" src=\"p.png\"><p>x</p>"
                                          << "|pic| (1, id): ";
    QTest::newRow("name and equal id once")
        << "<a id=\"t\" name=\"t\">T</a><a name=\"u\" id=\"u\">U</a>"
        << "|t| (1): T\n|u| (1): U";
    QTest::newRow("name and other id") << "<a id=\"i\" name=\"n\">T</a>"
                                       << "|i| (1, id): T\n|n| (1): T";
    QTest::newRow("comment skipped") << "<!-- <a name=\"x\">x</a> --><a name=\"y\">Y</a>"
                                     << "|y| (1): Y";
    QTest::newRow("unclosed comment") << "<a name=\"y\">Y</a><!-- <a name=\"x\">"
                                      << "|y| (1): Y";
    QTest::newRow("script and style skipped")
        << "<script>var s = '<a name=\"x\">';</script><style>/* <a name=\"z\"> */</style>"
           "<a name=\"y\">Y</a>"
        << "|y| (1): Y";
    QTest::newRow("script text with other end tags")
        << "<SCRIPT>document.write('</p><a name=\"x\">')</SCRIPT ><a name=\"y\">Y</a>"
        << "|y| (1): Y";
    QTest::newRow("end tags and declarations skipped")
        << "<!DOCTYPE html><?xml x?></p name=\"x\"><a name=\"y\">Y</a>"
        << "|y| (1): Y";
    QTest::newRow("quoted > inside the tag") << "<a title=\"a>b\" name=\"x\">t</a>"
                                             << "|x| (1): t";
    QTest::newRow("truncated tag") << "<p>\n<a name=\"x"
                                   << "|x| (2): ";
    QTest::newRow("CR line breaks") << "\r\r<a name=\"x\">t</a>"
                                    << "|x| (3): t";
    QTest::newRow("two on a line") << "<a name=\"a\">A</a> <a name=\"b\">B</a>"
                                   << "|a| (1): A\n|b| (1): B";
}

void TestAnchorReader::entries() {
    QFETCH(QString, html);
    QFETCH(QString, entries);
    QCOMPARE(entriesOf(html), entries);
}

void TestAnchorReader::positions_data() {
    QTest::addColumn<QString>("html");
    QTest::addColumn<int>("beginChar");
    QTest::addColumn<int>("beginLine");
    QTest::addColumn<int>("endChar");
    QTest::addColumn<int>("endLine");
    // The range runs from the name to the last character before ">".
    QTest::newRow("name alone") << "<a name=\"top\">" << 10 << 1 << 13 << 1;
    QTest::newRow("further attribute")
        << "\n\n\n\n<a name=\"a1\" class=\"c\">Top</a>" << 10 << 5 << 22 << 5;
    QTest::newRow("unquoted at the end") << "<a name=top>" << 9 << 1 << 12 << 1;
    QTest::newRow("tag over two lines") << "<a name=\"x\"\r\n  id=\"y\">" << 10 << 1 << 8 << 2;
    QTest::newRow("columns in UTF-16 units")
        << QString::fromUtf8("\xF0\x9F\x98\x80<a name=\"x\">") << 12 << 1 << 13 << 1;
    QTest::newRow("truncated") << "<a name=\"xy" << 10 << 1 << 12 << 1;
}

void TestAnchorReader::positions() {
    QFETCH(QString, html);
    QFETCH(int, beginChar);
    QFETCH(int, beginLine);
    QFETCH(int, endChar);
    QFETCH(int, endLine);
    const QList<TAnchor> anchors = readAnchors(html);
    QVERIFY(!anchors.isEmpty());
    const TTextBlockPos& pos = anchors.first().pos;
    QCOMPARE(pos.BBegin, (TBufferCoord{beginChar, beginLine}));
    QCOMPARE(pos.BEnd, (TBufferCoord{endChar, endLine}));
    QCOMPARE(pos.FSpaces, 0);
    QCOMPARE(anchors.first().line, beginLine);
}

void TestAnchorReader::linkTextIsBounded() {
    const QString body = QString(300, u'x');
    const QList<TAnchor> a = readAnchors("<a name=\"x\">  " + body + "</a>");
    QCOMPARE(a.size(), 1);
    QCOMPARE(a.first().linkText, QString(kMaxAnchorLinkText, u'x'));
    // An element that runs on further than the reader looks has no link text.
    const QString far = QString(kAnchorLinkSource + 10, u'y');
    QCOMPARE(readAnchors("<a name=\"x\">" + far + "</a>").first().linkText, QString());
    // A cut never splits a surrogate pair.
    const QString emoji = QString::fromUtf8("\xF0\x9F\x98\x80");
    const QString pairs = QString(kMaxAnchorLinkText - 1, u'z') + emoji + emoji;
    const QString cut = readAnchors("<a name=\"x\">" + pairs + "</a>").first().linkText;
    QCOMPARE(cut, QString(kMaxAnchorLinkText - 1, u'z'));
}

void TestAnchorReader::unclosedAnchorsInARow() {
    // Anchors never closed have no link text, and do not each search the rest of the file
    // (bench_anchors measures that).
    QString html;
    const int count = 20000;
    for (int i = 0; i < count; ++i)
        html += QStringLiteral("<a name=\"n%1\">text %1\n").arg(i);
    const QList<TAnchor> anchors = readAnchors(html);
    QCOMPARE(anchors.size(), count);
    QCOMPARE(anchors.last().line, count);
    QCOMPARE(anchors.last().linkText, QString());
}

void TestAnchorReader::nameOfEntry_data() {
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("name");
    QTest::newRow("entry") << "|top| (12): Top of page"
                           << "top";
    QTest::newRow("marks removed") << "top (12): Top of page"
                                   << "top";
    QTest::newRow("id entry") << "|intro| (3, id): Intro"
                              << "intro";
    QTest::newRow("name with parenthesis") << "|a(1)| (3): x"
                                           << "a(1)";
    QTest::newRow("unmarked name with parenthesis") << "a(1) (3, id): x"
                                                    << "a(1)";
    QTest::newRow("name with mark") << "|a|b| (3): "
                                    << "a|b";
    QTest::newRow("link text with a number") << "|a| (3): see (4): b"
                                             << "a";
    QTest::newRow("typed") << " foo "
                           << "foo";
    QTest::newRow("typed with parenthesis") << "bar (x"
                                            << "bar";
}

void TestAnchorReader::nameOfEntry() {
    QFETCH(QString, entry);
    QFETCH(QString, name);
    QCOMPARE(anchorNameOfEntry(entry), name);
}

void TestAnchorReader::files_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("entries");
    QTest::newRow("UTF-8") << QByteArray("<a name=\"caf\xC3\xA9\">\xC3\xA9t\xC3\xA9</a>")
                           << QString::fromUtf8("|caf\xC3\xA9| (1): \xC3\xA9t\xC3\xA9");
    QTest::newRow("UTF-8 with mark")
        << QByteArray("\xEF\xBB\xBF<a name=\"x\">t</a>") << "|x| (1): t";
    QTest::newRow("Windows-1252") << QByteArray("\n<a name=\"caf\xE9\">\x80</a>")
                                  << QString::fromUtf8("|caf\xC3\xA9| (2): \xE2\x82\xAC");
    QByteArray utf16("\xFF\xFE");
    for (char c : QByteArray("<a name=\"x\">t</a>"))
        utf16 += QByteArray(1, c) + QByteArray(1, '\0');
    QTest::newRow("UTF-16LE") << utf16 << "|x| (1): t";
    QTest::newRow("binary") << QByteArray("GIF89a\0\0<a name=\"x\">t</a>", 26) << "";
}

void TestAnchorReader::files() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, entries);
    QTemporaryDir dir;
    const QString name = dir.filePath("page.html");
    test::writeAll(name, bytes);
    const TResult<QList<TAnchor>> read = readAnchorsFromFile(name);
    QVERIFY2(read.ok(), qPrintable(read.error()));
    QStringList got;
    for (const TAnchor& a : read.value())
        got << a.entry();
    QCOMPARE(got.join(u'\n'), entries);
}

void TestAnchorReader::missingFileIsNamed() {
    QTemporaryDir dir;
    const QString name = dir.filePath("gone.html");
    const TResult<QList<TAnchor>> read = readAnchorsFromFile(name);
    QVERIFY(!read.ok());
    QVERIFY(read.error().contains(name));
}

QTEST_GUILESS_MAIN(TestAnchorReader)
#include "tst_anchorreader.moc"
