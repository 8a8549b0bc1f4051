// Start tags read as HTML reads them and edited in place, every untouched byte kept.

#include "base/core/HtmlAttributes.h"

#include <QtTest>

using namespace orvel;

class TestHtmlAttributes : public QObject {
    Q_OBJECT
private slots:
    void values_data();
    void values();
    void edits_data();
    void edits();
    void tagEnd_data();
    void tagEnd();
};

void TestHtmlAttributes::values_data() {
    QTest::addColumn<QString>("tag");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("present");
    QTest::addColumn<QString>("value");
    QTest::newRow("double") << "<a href=\"x.html\">"
                            << "href" << true << "x.html";
    QTest::newRow("single") << "<a href='x y.html'>"
                            << "HREF" << true << "x y.html";
    QTest::newRow("unquoted") << "<img src=a.png width=10>"
                              << "width" << true << "10";
    QTest::newRow("blanks round =") << "<a href = \"x\" >"
                                    << "href" << true << "x";
    QTest::newRow("whole name only") << "<img data-alt=\"no\" alt=\"yes\">"
                                     << "alt" << true << "yes";
    QTest::newRow("not inside another") << "<img data-alt=\"no\">"
                                        << "alt" << false << "";
    QTest::newRow("not inside a value") << "<img style=\"max-width:9px\">"
                                        << "width" << false << "";
    QTest::newRow("entity kept") << "<a title=\"a &amp; b\">"
                                 << "title" << true << "a &amp; b";
    QTest::newRow("line break between") << "<area\nhref=\"x\"\tshape=rect>"
                                        << "shape" << true << "rect";
    QTest::newRow("control char between")
        << QString("<area\x01href=\"x\">") << "href" << true << "x";
    QTest::newRow("no value") << "<input disabled>"
                              << "disabled" << true << "";
    QTest::newRow("first of two wins") << "<a id=a id=b>"
                                       << "id" << true << "a";
    QTest::newRow("quote left open") << "<a title=\"abc>"
                                     << "title" << true << "abc>";
    QTest::newRow("self closing") << "<img src=a.png/>"
                                  << "src" << true << "a.png/";
}

void TestHtmlAttributes::values() {
    QFETCH(QString, tag);
    QFETCH(QString, name);
    QFETCH(bool, present);
    QFETCH(QString, value);
    const THtmlTag t = THtmlTag::parse(tag);
    QCOMPARE(t.has(name), present);
    QCOMPARE(t.value(name), value);
    QCOMPARE(t.toString(), tag);
}

void TestHtmlAttributes::edits_data() {
    QTest::addColumn<QString>("tag");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("value"); // null: remove
    QTest::addColumn<QString>("expected");
    QTest::newRow("keeps the others byte for byte")
        << "<a id=top class='nav x' href=\"old.html\" rel=noopener data-x='1'>"
        << "href"
        << "new.html"
        << "<a id=top class='nav x' href=\"new.html\" rel=noopener data-x='1'>";
    QTest::newRow("single quotes kept") << "<a href='old'>"
                                        << "href"
                                        << "n'w"
                                        << "<a href='n&#39;w'>";
    QTest::newRow("unquoted gets quotes") << "<img width=10 src=a.png>"
                                          << "width"
                                          << "1 0"
                                          << "<img width=\"1 0\" src=a.png>";
    QTest::newRow("quote in value") << "<a title=\"x\">"
                                    << "title"
                                    << "say \"hi\""
                                    << "<a title=\"say &quot;hi&quot;\">";
    QTest::newRow("new after the last") << "<img src=\"a.png\" />"
                                        << "alt"
                                        << "A"
                                        << "<img src=\"a.png\" alt=\"A\" />";
    QTest::newRow("new without attributes") << "<a>"
                                            << "href"
                                            << "x"
                                            << "<a href=\"x\">";
    QTest::newRow("valueless gets one") << "<a download>"
                                        << "download"
                                        << "f"
                                        << "<a download=\"f\">";
    QTest::newRow("remove with its blank") << "<a href=\"x\" title='t' id=i>"
                                           << "title" << QString() << "<a href=\"x\" id=i>";
    QTest::newRow("remove every copy") << "<a id=a\nid=b href=x>"
                                       << "ID" << QString() << "<a href=x>";
    QTest::newRow("remove keeps the next apart") << "<img src=a.png alt=\"\"x=1>"
                                                 << "alt" << QString() << "<img src=a.png x=1>";
    QTest::newRow("remove absent changes nothing") << "<a  href=x >"
                                                   << "title" << QString() << "<a  href=x >";
}

void TestHtmlAttributes::edits() {
    QFETCH(QString, tag);
    QFETCH(QString, name);
    QFETCH(QString, value);
    QFETCH(QString, expected);
    THtmlTag t = THtmlTag::parse(tag);
    if (value.isNull())
        t.remove(name);
    else
        t.set(name, value);
    QCOMPARE(t.toString(), expected);
    if (!value.isNull())
        QCOMPARE(THtmlTag::parse(t.toString()).has(name), true);
}

void TestHtmlAttributes::tagEnd_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("end");
    QTest::newRow("plain") << "<a href=x>rest" << 10;
    QTest::newRow("> in double quotes") << "<a title=\"a>b\">" << 15;
    QTest::newRow("> in single quotes") << "<a title = 'a>b'>" << 17;
    QTest::newRow("quote not after =") << "<a it's>x" << 8;
    QTest::newRow("never closed") << "<a title=\"a>" << -1;
}

void TestHtmlAttributes::tagEnd() {
    QFETCH(QString, text);
    QFETCH(int, end);
    QCOMPARE(htmlTagEnd(text, 0), qsizetype(end));
}

QTEST_GUILESS_MAIN(TestHtmlAttributes)
#include "tst_htmlattributes.moc"
