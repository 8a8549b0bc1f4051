// The image dialog's attribute text: a new image writes the table's attributes in order; an
// edited element keeps what the dialog does not edit, byte for byte, and a no-change OK
// changes nothing.

#include "base/core/HtmlAttributes.h"
#include "dialogs/core/ImageAttributes.h"

#include <QTest>
#include <functional>

using namespace orvel;

Q_DECLARE_METATYPE(std::function<void(TImageFields&)>)

using Change = std::function<void(TImageFields&)>;

class TestImageAttributes : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void newImage();
    void edited_data();
    void edited();
    void fieldsRead_data();
    void fieldsRead();
    void split_data();
    void split();
};

void TestImageAttributes::newImage() {
    // The design's example: hint, width and height given; the frame starts at 0 and is written.
    TImageFields f = newImageFields();
    f.hint = "Logo";
    f.width = "120";
    f.height = "40";
    QCOMPARE(writeImageAttributes({}, false, newImageFields(), f),
             QString(" alt=\"Logo\" width=\"120\" height=\"40\" border=\"0\""));
    // Every attribute, in table order; the alignment's written value has no trailing blank;
    // a quote in a value becomes an entity.
    f.title = "Say \"hi\"";
    f.align = 5;
    f.border = -1;
    f.hspace = 5;
    f.vspace = 3;
    QCOMPARE(writeImageAttributes({}, false, newImageFields(), f),
             QString(" alt=\"Logo\" title=\"Say &quot;hi&quot;\" width=\"120\" height=\"40\" "
                     "align=\"bottom\" hspace=\"5\" vspace=\"3\""));
}

void TestImageAttributes::edited_data() {
    QTest::addColumn<QString>("original");
    QTest::addColumn<Change>("change");
    QTest::addColumn<QString>("written");

    const Change none = [](TImageFields&) {};
    const char* kept[] = {
        " alt=\"\" width=\"10\"",
        " srcset=\"a-2x.png 2x, a-3x.png 3x\" loading=\"lazy\" alt='Logo' width=120",
        " data-alt=\"x\" style=\"max-width: 100%\" class=\"hero\" id=\"top\"",
        " alt=\"a\" usemap=\"#nav\" onclick=\"go('x')\"",
        "\n  alt=\"tab\tand line\"\r\n  border=\"3\" align=CENTER",
        " border=\"abc\" hspace=\"x\"",
        " data-src=\"lazy.png\" ALT=\"Upper\" /",
    };
    for (const char* k : kept)
        QTest::newRow(qPrintable(QString("no change: %1").arg(k))) << k << none << k;

    QTest::newRow("srcset and lazy kept, width changed")
        << " srcset=\"a-2x.png 2x\" loading=\"lazy\" width=\"10\" data-x=\"1\""
        << Change([](TImageFields& f) { f.width = "20"; })
        << " srcset=\"a-2x.png 2x\" loading=\"lazy\" width=\"20\" data-x=\"1\"";
    QTest::newRow("single quotes kept, value changed")
        << " alt='old' class=x" << Change([](TImageFields& f) { f.hint = "it's \"new\""; })
        << " alt='it&#39;s \"new\"' class=x";
    QTest::newRow("unquoted value gets quotes")
        << " width=10 class=x" << Change([](TImageFields& f) { f.width = "1 0"; })
        << " width=\"1 0\" class=x";
    QTest::newRow("decorative alt kept while title added")
        << " alt=\"\" data-alt=\"d\"" << Change([](TImageFields& f) { f.title = "T"; })
        << " alt=\"\" data-alt=\"d\" title=\"T\"";
    QTest::newRow("hint cleared removes alt, not data-alt")
        << " data-alt=\"d\" alt=\"x\" class=\"c\""
        << Change([](TImageFields& f) { f.hint.clear(); }) << " data-alt=\"d\" class=\"c\"";
    QTest::newRow("width in style untouched")
        << " style=\"max-width:10px\" width=\"5\"" << Change([](TImageFields& f) { f.width = "6"; })
        << " style=\"max-width:10px\" width=\"6\"";
    QTest::newRow("frame to -1 removes border")
        << " border=\"2\" alt=\"a\"" << Change([](TImageFields& f) { f.border = -1; })
        << " alt=\"a\"";
    QTest::newRow("frame set on an element without one")
        << " alt=\"a\"" << Change([](TImageFields& f) { f.border = 0; })
        << " alt=\"a\" border=\"0\"";
    QTest::newRow("alignment none removes align, an unknown one kept otherwise")
        << " align=\"left\" hspace=\"5\"" << Change([](TImageFields& f) {
               f.align = 0;
               f.hspace = 0;
           })
        << "";
}

void TestImageAttributes::edited() {
    QFETCH(QString, original);
    QFETCH(Change, change);
    QFETCH(QString, written);
    const TImageFields read = readImageFields(original);
    TImageFields now = read;
    change(now);
    QCOMPARE(writeImageAttributes(original, true, read, now), written);
}

void TestImageAttributes::fieldsRead_data() {
    QTest::addColumn<QString>("attributes");
    QTest::addColumn<QStringList>("texts");  // hint, title, width, height
    QTest::addColumn<QList<int>>("numbers"); // align, border, hspace, vspace

    QTest::newRow("decorative") << " alt=\"\" width=\"10\"" << QStringList{"", "", "10", ""}
                                << QList<int>{0, -1, 0, 0};
    QTest::newRow("names whole, not inside others")
        << " data-alt=\"no\" style=\"max-width:9px\" data-title=t" << QStringList{"", "", "", ""}
        << QList<int>{0, -1, 0, 0};
    QTest::newRow("either quotes, any case, any blanks")
        << "\tALT='Logo'\r\nTitle = \"T\" WIDTH=12 height='34'"
        << QStringList{"Logo", "T", "12", "34"} << QList<int>{0, -1, 0, 0};
    QTest::newRow("numbers clamped, not a number is 0")
        << " align=\"RIGHT\" border=\"99\" hspace=\"-3\" vspace=\"x\""
        << QStringList{"", "", "", ""} << QList<int>{2, 20, 0, 0};
}

void TestImageAttributes::fieldsRead() {
    QFETCH(QString, attributes);
    QFETCH(QStringList, texts);
    QFETCH(QList<int>, numbers);
    const TImageFields f = readImageFields(attributes);
    QCOMPARE((QStringList{f.hint, f.title, f.width, f.height}), texts);
    QCOMPARE((QList<int>{f.align, f.border, f.hspace, f.vspace}), numbers);
}

void TestImageAttributes::split_data() {
    QTest::addColumn<QString>("tag");
    QTest::addColumn<QString>("image");
    QTest::addColumn<QString>("attributes");

    QTest::newRow("plain") << "<img src=\"a.png\" alt=\"x\">"
                           << "a.png"
                           << " alt=\"x\"";
    QTest::newRow("single quotes, self-closed") << "<IMG SRC='b c.png' loading=lazy />"
                                                << "b c.png"
                                                << " loading=lazy ";
    QTest::newRow("line break before src") << "<img\r\nsrc=\"a.png\"\r\nalt=\"\">"
                                           << "a.png"
                                           << "\r\nalt=\"\"";
    QTest::newRow("src not first") << "<img alt=\"x\" src=\"a.png\" class=c>"
                                   << "a.png"
                                   << " alt=\"x\" class=c";
    QTest::newRow("no src") << "<img alt=\"x\">"
                            << ""
                            << " alt=\"x\"";
    QTest::newRow("data-src is not src") << "<img data-src=\"lazy.png\" src=\"a.png\">"
                                         << "a.png"
                                         << " data-src=\"lazy.png\"";
}

void TestImageAttributes::split() {
    QFETCH(QString, tag);
    QFETCH(QString, image);
    QFETCH(QString, attributes);
    const TImageElement e = splitImageElement(tag);
    QCOMPARE(e.image, image);
    QCOMPARE(e.attributes, attributes);
    // The parts give the element back as written when src is its first attribute.
    const THtmlTag parsed = THtmlTag::parse(tag);
    if (!parsed.attributes().isEmpty() &&
        parsed.attributes().first().name.compare(u"src", Qt::CaseInsensitive) == 0)
        QCOMPARE(e.text(), tag);
}

QTEST_GUILESS_MAIN(TestImageAttributes)
#include "tst_imageattributes.moc"
