#include "textcontrol/ui/Highlighter.h"

#include <Qsci/qscilexer.h>
#include <Qsci/qscilexerhtml.h>
#include <Qsci/qsciscintilla.h>

#include <QtTest>

using namespace orvel;

Q_DECLARE_METATYPE(orvel::THighlighterKind)

class TestHighlighter : public QObject {
    Q_OBJECT

private slots:
    void colorConversion_data();
    void colorConversion();
    void styling_data();
    void styling();
    void attributes_data();
    void attributes();
    void assignIgnoresOtherKind();
    void baseFontAndColors();
};

void TestHighlighter::colorConversion_data() {
    QTest::addColumn<quint32>("bgr");
    QTest::addColumn<QColor>("color");
    QTest::newRow("red lowest byte") << quint32(0x00FF8040) << QColor(0x40, 0x80, 0xFF);
    QTest::newRow("black") << quint32(0) << QColor(Qt::black);
    QTest::newRow("white") << quint32(0x00FFFFFF) << QColor(Qt::white);
    QTest::newRow("none") << kNoColor << QColor();
    QTest::newRow("system colour") << quint32(0x80000005) << QColor();
}

void TestHighlighter::colorConversion() {
    QFETCH(quint32, bgr);
    QFETCH(QColor, color);
    QCOMPARE(bgrToColor(bgr), color);
    QCOMPARE(colorToBgr(color), color.isValid() ? bgr : kNoColor);
}

void TestHighlighter::styling_data() {
    QTest::addColumn<THighlighterKind>("kind");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("at");
    QTest::addColumn<QString>("attr");

    struct Mark {
        const char* at; // the style is read at the first character of this
        const char* attr;
    };
    struct Sample {
        THighlighterKind kind;
        const char* name;
        const char* text;
        QList<Mark> marks;
    };
    const QList<Sample> samples{
        {hkHtml,
         "html",
         "<!DOCTYPE html>\n<p class=\"x\" id=7>Hello &amp; <b>bold</b> <foo>x</foo> "
         "<section>s</section><!-- note --><script>var n = 1;</script><?php $v = 1; ?>",
         {{"DOCTYPE", "Key"},
          {"<p", "Key"},
          {"class", "Identifier"},
          {"\"x\"", "Value"},
          {"=\"x", "Symbol"},
          {"7>", "Value"},
          {"Hello", "Text"},
          {"&amp;", "Entity"},
          {"<foo>", "UndefinedKey"},
          {"<section>", "Key"},
          {"<!-- no", "Comment"},
          {"var n", "Key"},
          {"<?php", "Key"},
          {"$v", "Identifier"}}},
        {hkCss,
         "css",
         "@media screen {\n a.nav:hover, p[title=\"t\"] { color: #fff; flex-wrap: wrap; "
         "margin: 12px !important; foo: bar; content: 'q'; }\n}\n/* note */",
         {{"@", "Symbol"},
          {"media", "AtRule"},
          {" a.nav", "Space"},
          {"a.nav", "Selector"},
          {"nav", "Selector"},
          {"hover", "Selector"},
          {"title", "Attribute"},
          {"\"t\"", "String"},
          {"color", "Property"},
          {"flex-wrap", "Property"},
          {"#fff", "Value"},
          {"12px", "Value"},
          {"important", "Important"},
          {"foo", "UndefinedProperty"},
          {"'q'", "String"},
          {"/* note", "Comment"}}},
        {hkJs,
         "js",
         "var a = 12; // note\n/* block */ let s = \"x\" + `t`; el.onclick = f; "
         "document.title = 'y';",
         {{"var", "Key"},
          {" a =", "Space"},
          {"12", "Number"},
          {"// note", "Comment"},
          {"/* block", "Comment"},
          {"let", "Key"},
          {"\"x\"", "String"},
          {"`t`", "String"},
          {"+", "Symbol"},
          {"el.", "Identifier"},
          {"onclick", "Event"},
          {"document", "NonReservedKey"}}},
        {hkPhp,
         "php",
         "<?php\n// note\n$name = \"Hi $who\";\nIF ($n > 0x1F) { echo strlen('s'); }\n?>",
         {{"<?php", "Key"},
          {"// note", "Comment"},
          {"$name", "Variable"},
          {"\"Hi", "String"},
          {"$who", "Variable"},
          {"IF", "Key"},
          {"0x1F", "Number"},
          {">", "Symbol"},
          {"echo", "Key"},
          {"strlen", "Identifier"},
          {"'s'", "String"}}},
        {hkVbs,
         "vbs",
         "Dim total ' note\ntotal = 12 + &HFF\nIf total Then MsgBox \"hi\"\nEnd If",
         {{"Dim", "Key"},
          {" total", "Space"},
          {"' note", "Comment"},
          {"total =", "Identifier"},
          {"12", "Number"},
          {"&HFF", "Number"},
          {"+", "Symbol"},
          {"\"hi\"", "String"},
          {"End", "Key"}}},
        {hkPerl,
         "perl",
         "use strict;\nmy $x = 12; my @a = (1); # note\nprint \"v $x\\n\" if $x =~ /ab/;\n"
         "sub f($$) { return q{s}; }\n__END__\ndata",
         {{"use", "Key"},
          {"strict", "Identifier"},
          {" $x =", "Space"},
          {"$x", "Variable"},
          {"@a", "Variable"},
          {"12", "Number"},
          {"=", "Operator"},
          {"# note", "Comment"},
          {"\"v", "String"},
          {"/ab/", "String"},
          {"($$)", "Symbol"},
          {"q{s}", "String"},
          {"__END__", "Comment"}}},
    };
    for (const Sample& s : samples)
        for (const Mark& m : s.marks)
            QTest::addRow("%s %s", s.name, m.at)
                << s.kind << QString::fromLatin1(s.text) << QString::fromLatin1(m.at)
                << QString::fromLatin1(m.attr);
}

void TestHighlighter::styling() {
    QFETCH(THighlighterKind, kind);
    QFETCH(QString, text);
    QFETCH(QString, at);
    QFETCH(QString, attr);

    auto h = THighlighter::create(kind);
    QVERIFY(h);
    QsciScintilla ed;
    ed.setLexer(h->lexer());
    ed.setText(text);
    ed.SendScintilla(QsciScintillaBase::SCI_COLOURISE, 0, -1);

    const int pos = int(text.indexOf(at)); // the samples are ASCII: bytes and characters agree
    QVERIFY2(pos >= 0, qPrintable(at));
    const int style = int(ed.SendScintilla(QsciScintillaBase::SCI_GETSTYLEAT, pos));
    QVERIFY2(h->attributeOfStyle(style) == attr,
             qPrintable(QStringLiteral("style %1 belongs to \"%2\"")
                            .arg(style)
                            .arg(h->attributeOfStyle(style))));

    // The attribute's colour reaches the lexer and the editor showing it.
    const TAttrStyle mark{0x00123456, kNoColor, fsBold};
    h->setAttribute(attr, mark);
    QCOMPARE(h->lexer()->color(style), QColor(0x56, 0x34, 0x12));
    QCOMPARE(ed.SendScintilla(QsciScintillaBase::SCI_STYLEGETFORE, style), 0x123456L);
    QVERIFY(h->lexer()->font(style).bold());
}

void TestHighlighter::attributes_data() {
    QTest::addColumn<THighlighterKind>("kind");
    QTest::addColumn<QStringList>("names");
    QTest::newRow("html") << hkHtml
                          << QStringList{"Text",   "Comment", "Key",          "Identifier", "Value",
                                         "Symbol", "Entity",  "UndefinedKey", "Space"};
    QTest::newRow("css") << hkCss
                         << QStringList{"Comment",   "Property",         "Color",     "Number",
                                        "AtRule",    "Selector",         "Attribute", "Space",
                                        "String",    "Symbol",           "Text",      "Value",
                                        "Important", "UndefinedProperty"};
    QTest::newRow("js") << hkJs
                        << QStringList{"Comment", "Identifier", "Key",    "Event",         "Number",
                                       "Space",   "String",     "Symbol", "NonReservedKey"};
    QTest::newRow("php") << hkPhp << QStringList{"Comment", "Identifier", "Key",    "Number",
                                                 "Space",   "String",     "Symbol", "Variable"};
    QTest::newRow("vbs") << hkVbs << QStringList{"Comment", "Identifier", "Key",   "Number",
                                                 "Space",   "String",     "Symbol"};
    QTest::newRow("perl") << hkPerl << QStringList{"Comment",  "Identifier", "Key",    "Number",
                                                   "Operator", "Pragma",     "Space",  "String",
                                                   "Symbol",   "Variable",   "Invalid"};
}

void TestHighlighter::attributes() {
    QFETCH(THighlighterKind, kind);
    QFETCH(QStringList, names);

    auto master = THighlighter::create(kind);
    auto window = THighlighter::create(kind);
    QCOMPARE(master->attributeNames(), names);

    for (int i = 0; i < names.size(); ++i) {
        const TAttrStyle s{quint32(0x010203 * (i + 1)), i % 2 ? quint32(0x00F0F0F0) : kNoColor,
                           i % 8};
        master->setAttribute(names[i], s);
        QCOMPARE(master->attribute(names[i]), s);
        QCOMPARE(master->attribute(names[i].toLower()), s);
    }
    master->setAttribute(QStringLiteral("NoSuchAttribute"), {1, 2, fsBold});
    QCOMPARE(master->attribute(QStringLiteral("NoSuchAttribute")), TAttrStyle{});

    window->assign(*master);
    for (const QString& name : names) {
        QCOMPARE(window->attribute(name), master->attribute(name));
        // The copy shows in the window's own lexer too.
        for (int style = 0; style < 256; ++style)
            if (window->attributeOfStyle(style) == name)
                QCOMPARE(window->lexer()->color(style),
                         bgrToColor(master->attribute(name).foreground));
    }
}

void TestHighlighter::assignIgnoresOtherKind() {
    auto html = THighlighter::create(hkHtml);
    auto css = THighlighter::create(hkCss);
    css->setAttribute(QStringLiteral("Comment"), {0x00AABBCC, kNoColor, 0});
    const TAttrStyle before = html->attribute(QStringLiteral("Comment"));
    html->assign(*css);
    QCOMPARE(html->attribute(QStringLiteral("Comment")), before);
}

void TestHighlighter::baseFontAndColors() {
    auto h = THighlighter::create(hkHtml);
    const QColor fg(0x11, 0x22, 0x33);
    const QColor bg(0xEE, 0xDD, 0xCC);
    h->setBaseFont(QFont(QStringLiteral("DejaVu Sans Mono"), 13));
    h->setBaseColors(fg, bg);
    h->setAttribute(QStringLiteral("Text"), {kNoColor, kNoColor, 0});
    h->setAttribute(QStringLiteral("Comment"),
                    {kNoColor, 0x00C0FFFF, fsBold | fsItalic | fsUnderline});
    QsciLexer* lx = h->lexer();

    const int text = QsciLexerHTML::Default;
    QCOMPARE(lx->color(text), fg);
    QCOMPARE(lx->paper(text), bg);
    QCOMPARE(lx->font(text).family(), QStringLiteral("DejaVu Sans Mono"));
    QVERIFY(!lx->font(text).bold());

    const int comment = QsciLexerHTML::HTMLComment;
    QCOMPARE(lx->color(comment), fg);
    QCOMPARE(lx->paper(comment), QColor(0xFF, 0xFF, 0xC0));
    QVERIFY(lx->font(comment).bold());
    QVERIFY(lx->font(comment).italic());
    QVERIFY(lx->font(comment).underline());
    QCOMPARE(lx->font(comment).pointSize(), 13);

    // The editor's default style, which no attribute owns, follows the base as well.
    QsciScintilla ed;
    ed.setLexer(lx);
    const int def = QsciScintillaBase::STYLE_DEFAULT;
    QCOMPARE(ed.SendScintilla(QsciScintillaBase::SCI_STYLEGETFORE, def), long(colorToBgr(fg)));
    QCOMPARE(ed.SendScintilla(QsciScintillaBase::SCI_STYLEGETBACK, def), long(colorToBgr(bg)));

    // A later base font keeps each attribute's style bits.
    h->setBaseFont(QFont(QStringLiteral("DejaVu Sans Mono"), 9));
    QCOMPARE(lx->font(comment).pointSize(), 9);
    QVERIFY(lx->font(comment).bold());
    QVERIFY(!lx->font(text).bold());
    QCOMPARE(ed.SendScintilla(QsciScintillaBase::SCI_STYLEGETSIZE, comment), 9L);
}

QTEST_MAIN(TestHighlighter)
#include "tst_highlighter.moc"
