#include "TestDocument.h"
#include "editor/core/HtmlCatalog.h"
#include "editor/core/StyleCatalog.h"
#include "editor/ui/DocumentCommands.h"
#include "editor/ui/OrvelMDI.h"
#include "textcontrol/ui/EditorControl.h"

#include <QAction>
#include <QFile>
#include <QMenu>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTest>
#include <memory>

using namespace orvel;
using Kind = orvel::test::ScriptedElementDialogs::Kind;

namespace {

// Texts are written with "^" for the caret and "«…»" for a selection (caret at "»").
struct Marked {
    QString text;
    TBufferCoord a, b;
    bool selected = false;
};

TBufferCoord coordAt(const QString& text, qsizetype index) {
    const QString before = text.left(index);
    const int line = int(before.count(u'\n')) + 1;
    const qsizetype nl = before.lastIndexOf(u'\n');
    return {int(index - nl), line};
}

Marked parse(const QString& marked) {
    Marked m;
    QString t = marked;
    const qsizetype open = t.indexOf(u'«');
    if (open >= 0) {
        t.remove(open, 1);
        const qsizetype close = t.indexOf(u'»');
        t.remove(close, 1);
        m.a = coordAt(t, open);
        m.b = coordAt(t, close);
        m.selected = true;
    } else {
        const qsizetype caret = t.indexOf(u'^');
        if (caret >= 0)
            t.remove(caret, 1);
        m.a = m.b = coordAt(t, caret < 0 ? 0 : caret);
    }
    m.text = t;
    return m;
}

QString render(TEditorControl& ed) {
    QString t = ed.text();
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    const auto indexOf = [&](TBufferCoord c) {
        qsizetype i = 0;
        for (int l = 1; l < c.Line; ++l)
            i = t.indexOf(u'\n', i) + 1;
        return i + c.Char - 1;
    };
    if (ed.hasSelection()) {
        const qsizetype a = indexOf(ed.blockBegin());
        const qsizetype b = indexOf(ed.blockEnd());
        t.insert(b, u'»');
        t.insert(a, u'«');
    } else {
        // A caret behind the end of its line stands after blanks that are not there.
        const TBufferCoord c = ed.caretXY();
        const int length = int(ed.line(c.Line - 1).size());
        const QString pad(qMax(0, c.Char - 1 - length), u' ');
        t.insert(indexOf({qMin(c.Char, length + 1), c.Line}), pad + u'^');
    }
    return t;
}

using Host = orvel::test::TestDocumentContext;

// What every table-driven command is tried with.
struct Scenario {
    const char* name;
    TFileTypes type;
    int tab;
    const char* before;
};
const Scenario kScenarios[] = {
    {"html tab2 selection", ftHtml, 2, "<p>«word»</p>"},
    {"html tab4 indented caret", ftHtml, 4, "    ^"},
    {"css tab2 caret", ftCss, 2, "^"},
    {"css tab4 selection", ftCss, 4, "  «a»;"},
};

QString goldenPath() {
    return QStringLiteral(ORVEL_TEST_DATA "/catalogue.golden");
}

} // namespace

class TestTagEngine : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void catalogueIsComplete();
    void goldenCatalogue();
    void styleCatalogueIsComplete();
    void edgeCases_data();
    void edgeCases();
    void lineBreaksFollowTheDocument();
    void tagUnderTheCaret_data();
    void tagUnderTheCaret();
    void editTagRebuildsTheLink();
    void boldByKeyInARealEditor();
    void sharedShortcutGoesToOneCommand();

private:
    std::unique_ptr<TMDIForm> make(TFileTypes type, int tab, const QString& marked);
    QString run(int command, TFileTypes type, int tab, const QString& marked);
    std::unique_ptr<Host> host;
    std::unique_ptr<test::TestCommands> commands;
};

void TestTagEngine::init() {
    commands.reset();
    host = std::make_unique<Host>();
    commands = std::make_unique<test::TestCommands>(*host);
}

void TestTagEngine::cleanup() {
    QStringList problems = host->script.problems() + host->elements.problems();
    QVERIFY2(problems.isEmpty(), qPrintable(problems.join(u'\n')));
}

std::unique_ptr<TMDIForm> TestTagEngine::make(TFileTypes type, int tab, const QString& marked) {
    auto form = std::make_unique<TMDIForm>(*host, type, 1);
    const Marked m = parse(marked);
    form->TextBuffer()->loadUtf8(m.text.toUtf8(), lbLF);
    form->TextBuffer()->setTabWidth(tab);
    form->TextBuffer()->setOptions(kDefaultStoredOptions);
    if (m.selected)
        form->TextBuffer()->setSelection(m.a, m.b);
    else
        form->TextBuffer()->setCaretXY(m.a);
    commands->attach(*form);
    return form;
}

QString TestTagEngine::run(int command, TFileTypes type, int tab, const QString& marked) {
    auto form = make(type, tab, marked);
    QAction* a = commands->action(cmd::TDocCommandId(command));
    if (!a)
        return QStringLiteral("<no such command>");
    a->trigger();
    return render(*form->TextBuffer());
}

void TestTagEngine::catalogueIsComplete() {
    QCOMPARE(htmlCommands().size(), 114);
    QSet<int> tags;
    for (const THtmlCommand& c : htmlCommands()) {
        QVERIFY2(!tags.contains(c.def.tag), c.def.name);
        tags.insert(c.def.tag);
    }
    // Every command but the styles stands on a toolbar page or in a menu of its window.
    // Every command but the styles stands on a toolbar page or in a menu.
    QWidget owner;
    commands->commands().toolPanel(
        &owner, [] { return false; }, [](bool) {});
    for (const THtmlCommand& c : htmlCommands()) {
        QAction* a = commands->action(cmd::TDocCommandId(c.def.id));
        QVERIFY2(a && a->objectName() == QLatin1String(c.def.name), c.def.name);
        QVERIFY2(!a->associatedObjects().isEmpty(), c.def.name);
    }
}

void TestTagEngine::goldenCatalogue() {
    // One block per command and scenario: the command, the scenario, the text before and after.
    QStringList blocks;
    for (const THtmlCommand& c : htmlCommands()) {
        if (c.kind == hkSpecial)
            continue;
        for (const Scenario& s : kScenarios) {
            if (c.kind == hkNumber)
                host->elements.expect(Kind::Number, {QStringLiteral("12px")});
            if (c.kind == hkColor)
                host->elements.expect(Kind::Color, {QString::number(0x336699)});
            const QString after = run(c.def.id, s.type, s.tab, QString::fromUtf8(s.before));
            blocks << QStringLiteral("=== %1 | %2\n%3\n--- after\n%4\n")
                          .arg(QString::fromLatin1(c.def.name), QString::fromLatin1(s.name),
                               QString::fromUtf8(s.before), after);
        }
    }
    // The style sheet commands, with what each asked and a scripted answer.
    for (const TStyleCommand& c : styleCommands()) {
        for (const Scenario& s : kScenarios) {
            const qsizetype before = host->elements.shown.size();
            switch (c.kind) {
            case skNumber:
                host->elements.expect(Kind::Number, {QStringLiteral("12px")});
                break;
            case skChoice:
                host->elements.expect(Kind::Style,
                                      {QString::fromLatin1(c.value).section(u',', 0, 0)});
                break;
            case skColor:
                host->elements.expect(Kind::Color, {QString::number(0x336699)});
                break;
            case skImageLink:
                host->elements.expect(Kind::Link, {QStringLiteral("img/a b(1).png")});
                break;
            default:
                break;
            }
            if (c.def.id == cmd::ActionStylesInclude)
                host->elements.expect(Kind::Link, {QStringLiteral("css/site.css")});
            if (c.def.id == cmd::ActionStyleBgPos)
                host->elements.expect(Kind::Style, {QStringLiteral("<user defined>")})
                    .expect(Kind::TwoNumbers, {QStringLiteral("5"), QStringLiteral("7")});
            const QString after = run(c.def.id, s.type, s.tab, QString::fromUtf8(s.before));
            QStringList asked;
            for (qsizetype i = before; i < host->elements.shown.size(); ++i)
                asked << host->elements.shown.at(i) + QStringLiteral(" [") +
                             host->elements.given.at(i) + u']';
            blocks << QStringLiteral("=== %1 | %2\n%3\n--- asked\n%4\n--- after\n%5\n")
                          .arg(QString::fromLatin1(c.def.name), QString::fromLatin1(s.name),
                               QString::fromUtf8(s.before), asked.join(u'\n'), after);
        }
    }
    const QString got = blocks.join(u'\n');
    if (qEnvironmentVariableIsSet("ORVEL_UPDATE_GOLDEN")) {
        QFile f(goldenPath());
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(got.toUtf8());
        QSKIP("golden file written");
    }
    QFile f(goldenPath());
    QVERIFY2(f.open(QIODevice::ReadOnly), "missing golden file");
    const QStringList expected = QString::fromUtf8(f.readAll()).split(QStringLiteral("\n=== "));
    const QStringList actual = got.split(QStringLiteral("\n=== "));
    QCOMPARE(actual.size(), expected.size());
    for (int i = 0; i < actual.size(); ++i)
        QCOMPARE(actual.at(i), expected.at(i));
}

void TestTagEngine::styleCatalogueIsComplete() {
    QCOMPARE(styleCommands().size(), 62);
    QSet<int> tags;
    for (const TStyleCommand& c : styleCommands()) {
        QVERIFY2(c.def.tag == 0 || (c.def.tag >= 5001 && c.def.tag <= 5061), c.def.name);
        QVERIFY2(!tags.contains(c.def.tag), c.def.name);
        tags.insert(c.def.tag);
        QCOMPARE(styleCommand(c.def.id), &c);
    }
    QCOMPARE(tags.size(), 62); // 5001 to 5061 and the internal styles without a number
    // Every one stands on the "Styles" page and in the "Styles" menu of the codes.
    QWidget owner;
    QTabWidget* pages = commands->commands().toolPanel(
        &owner, [] { return false; }, [](bool) {});
    for (const TStyleCommand& c : styleCommands()) {
        QAction* a = commands->action(cmd::TDocCommandId(c.def.id));
        QVERIFY2(a && a->objectName() == QLatin1String(c.def.name), c.def.name);
        QVERIFY2(a->associatedObjects().size() >= 2, c.def.name);
    }
    int stylesPage = -1;
    for (int i = 0; i < pages->count(); ++i)
        if (pages->tabText(i) == QLatin1String("Styles"))
            stylesPage = i;
    QVERIFY(stylesPage >= 0);
    int dropDowns = 0;
    for (QAction* a : pages->widget(stylesPage)->actions())
        dropDowns += a->menu() ? 1 : 0;
    QCOMPARE(dropDowns, 7);
}

void TestTagEngine::edgeCases_data() {
    QTest::addColumn<int>("command");
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("tab");
    QTest::addColumn<QString>("before");
    QTest::addColumn<QStringList>("answers"); // kind=value;value
    QTest::addColumn<QString>("after");
    const QStringList none;
    QTest::newRow("bold, nothing selected")
        << int(cmd::ActionBold) << int(ftHtml) << 2 << "x^y" << none << "x<b>^</b>y";
    QTest::newRow("bold keeps the word selected")
        << int(cmd::ActionBold) << int(ftHtml) << 2 << "«word»" << none << "<b>«word»</b>";
    QTest::newRow("paragraph in css")
        << int(cmd::ActionSection) << int(ftCss) << 2 << "^" << none << "p {\n  ^\n  }";
    QTest::newRow("div after four blanks") << int(cmd::ActionDiv) << int(ftHtml) << 2 << "    ^"
                                           << none << "    <div>\n      ^\n    </div>";
    QTest::newRow("div after four letters")
        << int(cmd::ActionDiv) << int(ftHtml) << 2 << "abcd^" << none << "abcd\n<div>\n  ^\n</div>";
    QTest::newRow("block around a selection after text is made in place")
        << int(cmd::ActionDiv) << int(ftHtml) << 2 << "  ab «cd» ef" << none
        << "  ab <div>\n  «cd»\n  </div> ef";
    QTest::newRow("number without value") << int(cmd::ActionWidth) << int(ftHtml) << 2 << "<td^>"
                                          << QStringList{"Number="} << "<td width=\"^\">";
    QTest::newRow("number in css is a line") << int(cmd::ActionHeight) << int(ftCss) << 2 << "^"
                                             << QStringList{"Number=3em"} << " height=\"3em\"\n ^";
    QTest::newRow("soft hyphen is an entity")
        << int(cmd::ActionSoftHyphen) << int(ftHtml) << 2 << "^" << none << "&shy;^";
    QTest::newRow("link in css needs no dialog")
        << int(cmd::ActionLink) << int(ftCss) << 2 << "^" << none << "a {^}";
    QTest::newRow("link with its text")
        << int(cmd::ActionLink) << int(ftHtml) << 2 << "^" << QStringList{"HtmlRef=a.html;;"}
        << "<a href=\"a.html\">^</a>";
    QTest::newRow("table 1 x 3")
        << int(cmd::ActionNewTable) << int(ftHtml) << 2 << "^" << QStringList{"TwoNumbers=1;3"}
        << "<table>\n  <tr>\n    <td>^</td>\n    <td></td>\n    <td></td>\n  "
           "</tr>\n</table>\n";
    QTest::newRow("colour word replaced") << int(cmd::ActionColor) << int(ftHtml) << 2 << "#FF8^000"
                                          << QStringList{"Color=16711935"} << "#FF00FF^";
    QTest::newRow("colour inserted beside a word")
        << int(cmd::ActionColor) << int(ftHtml) << 2 << "bo^dy" << QStringList{"Color=255"}
        << "bo#FF0000^dy";
    QTest::newRow("default value") << int(cmd::ActionFormValue) << int(ftHtml) << 2 << "<input^>"
                                   << QStringList{"Text=abc"} << "<input value=\"abc\"^>";
    QTest::newRow("css comment") << int(cmd::ActionComment) << int(ftCss) << 2 << "^"
                                 << QStringList{"Text=note"} << "/* note^ */";
    QTest::newRow("html comment around a selection")
        << int(cmd::ActionComment) << int(ftHtml) << 2 << "«x»" << none << "<!-- «x»-->";
    QTest::newRow("goto in javascript does nothing")
        << int(cmd::ActionGoto) << int(ftJs) << 2 << "a^b" << none << "a^b";
    QTest::newRow("goto offers the anchors")
        << int(cmd::ActionGoto) << int(ftHtml) << 2 << "<a name=\"x|y\"></a>^"
        << QStringList{"FromList=xy (3)"} << "<a name=\"x|y\"></a><a href=\"#xy\">^</a>";
    QTest::newRow("goto offers ids with their text")
        << int(cmd::ActionGoto) << int(ftHtml) << 2 << "<h2 id='a(1)'>Intro</h2>^"
        << QStringList{"FromList=a(1) (1, id): Intro"}
        << "<h2 id='a(1)'>Intro</h2><a href=\"#a(1)\">^</a>";
    QTest::newRow("frameset") << int(cmd::ActionFrameCols) << int(ftHtml) << 2 << "  ^"
                              << QStringList{"Text=30,*"}
                              << "  <frameset cols=\"30,*\">\n    ^\n  </frameset>";
    QTest::newRow("option with caret before its end")
        << int(cmd::ActionSelectOpt) << int(ftHtml) << 2 << "^" << QStringList{"Text=v"}
        << "<option label=\"v\">^</option>";
    QTest::newRow("margin top in css, 10 pixels")
        << int(cmd::ActionMarginTop) << int(ftCss) << 2 << "p {\n  ^\n}"
        << QStringList{"Number=10px"} << "p {\n  margin-top:10px;\n  ^\n}";
    QTest::newRow("font size without value in css")
        << int(cmd::ActionFontSize) << int(ftCss) << 2 << "  ^" << QStringList{"Number="}
        << "  font-size:^;\n  ";
    QTest::newRow("font size without value in html")
        << int(cmd::ActionFontSize) << int(ftHtml) << 2 << "<p style=\"^\">"
        << QStringList{"Number="} << "<p style=\"font-size:^;\">";
    QTest::newRow("background position user defined")
        << int(cmd::ActionStyleBgPos) << int(ftCss) << 2 << "^"
        << QStringList{"Style=<user defined>", "TwoNumbers=5;7"}
        << "background-position:5px 7px;\n^";
    QTest::newRow("background position chosen")
        << int(cmd::ActionStyleBgPos) << int(ftHtml) << 2 << "^" << QStringList{"Style=top"}
        << "background-position:top;^";
    QTest::newRow("transparent background ends with its semicolon")
        << int(cmd::ActionStyleBgTransp) << int(ftCss) << 2 << "^" << none
        << "background-color:transparent;\n^";
    QTest::newRow("style attribute in an html tag")
        << int(cmd::ActionStyles) << int(ftHtml) << 2 << "<p^>" << none << "<p style=\"^\">";
    QTest::newRow("colour no color inserts nothing")
        << int(cmd::ActionFontCol) << int(ftCss) << 2 << "^" << QStringList{"Color=none"} << "^";
    QTest::newRow("bullet image with a blank")
        << int(cmd::ActionListImage) << int(ftCss) << 2 << "^" << QStringList{"Link=my list.gif"}
        << "list-style-image:url(my%20list.gif);\n^";
    QTest::newRow("encoded mail with key")
        << int(cmd::ActionMailtoCode) << int(ftJs) << 2 << "«Me»" << QStringList{"Mail=a@b"} << "";
}

void TestTagEngine::edgeCases() {
    QFETCH(int, command);
    QFETCH(int, type);
    QFETCH(int, tab);
    QFETCH(QString, before);
    QFETCH(QStringList, answers);
    QFETCH(QString, after);
    static const QHash<QString, Kind> kinds = {
        {"Text", Kind::Text},   {"TwoNumbers", Kind::TwoNumbers}, {"Number", Kind::Number},
        {"Color", Kind::Color}, {"HtmlRef", Kind::HtmlRef},       {"FromList", Kind::FromList},
        {"Mail", Kind::Mail},   {"Style", Kind::Style},           {"Link", Kind::Link}};
    for (const QString& a : answers) {
        const QString k = a.section(u'=', 0, 0);
        host->elements.expect(kinds.value(k), a.section(u'=', 1).split(u';'));
    }
    const QString got = run(command, TFileTypes(type), tab, before);
    if (command == cmd::ActionMailtoCode) {
        const QRegularExpression re(
            "^<script language=\"JavaScript\" type=\"text/javascript\">\n    MailEncode\\('Me',\n"
            "    '(\\d+):(\\d+):(\\d+):(\\d+)'\\);\n  </script>\n\\^$");
        const QRegularExpressionMatch m = re.match(got);
        QVERIFY2(m.hasMatch(), qPrintable(got));
        const int key = m.captured(1).toInt();
        QVERIFY(key >= 128 && key <= 255);
        QCOMPARE(m.captured(2).toInt(), 'a' ^ key);
        QCOMPARE(m.captured(3).toInt(), '@' ^ key);
    } else {
        QCOMPARE(got, after);
    }
}

void TestTagEngine::lineBreaksFollowTheDocument() {
    auto form = make(ftHtml, 2, "^");
    form->TextBuffer()->loadUtf8(QByteArray(), lbCRLF);
    commands->run(cmd::ActionDiv);
    QCOMPARE(form->TextBuffer()->text(), QString("<div>\r\n  \r\n</div>"));
    form->TextBuffer()->undo();
    QCOMPARE(form->TextBuffer()->text(), QString()); // one undoable step
    QVERIFY(!form->TextBuffer()->text().contains(u'\t'));
}

void TestTagEngine::tagUnderTheCaret_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("tagType");
    QTest::newRow("in a link") << "x <a href=\"a.html\" tar^get=\"_top\">t</a>" << int(ftHtml)
                               << int(ttHRef);
    QTest::newRow("in an image") << "<IMG src=\"b.png\"^>" << int(ftHtml) << int(ttImg);
    QTest::newRow("after the tag") << "<a href=\"a\">te^xt</a>" << int(ftHtml) << int(ttNone);
    QTest::newRow("other tag") << "<p class=^\"x\">" << int(ftHtml) << int(ttNone);
    QTest::newRow("not html") << "<a href=\"a^\">" << int(ftCss) << int(ttNone);
    QTest::newRow("too far back") << "<a href=\"" + QString(5000, u'x') + "^\">" << int(ftHtml)
                                  << int(ttNone);
    // A character outside the BMP is one character to the editor, two units to a string.
    QTest::newRow("emoji in the link")
        << QStringLiteral("x<a href=\"\U0001F600\U0001F600.html\"^>") << int(ftHtml) << int(ttHRef);
    QTest::newRow("line breaks in the image")
        << QStringLiteral("<p>\r\n<img\r\nsrc=\"\U0001F600.png\"\r\n^alt=\"\">") << int(ftHtml)
        << int(ttImg);
}

void TestTagEngine::tagUnderTheCaret() {
    QFETCH(QString, text);
    QFETCH(int, type);
    QFETCH(int, tagType);
    auto form = make(TFileTypes(type), 2, text);
    const TTagMark mark = form->engine().FindTagAtCaret();
    QCOMPARE(int(mark.TagType), tagType);
    if (tagType != ttNone) {
        const QString tag = form->TextBuffer()->textRange(mark.TagStart, mark.TagEnd);
        QCOMPARE(tag.left(1), QString("<"));
        QCOMPARE(tag.right(1), QString(">"));
    }
}

void TestTagEngine::editTagRebuildsTheLink() {
    auto form = make(ftHtml, 2, "<p><a href=\"old.html\" class=\"x\">Link\ntext</a>^ end</p>");
    form->TextBuffer()->setCaretXY({10, 1});
    Q_EMIT form->TextBuffer()->mouseDown(Qt::LeftButton, QPoint()); // marks the tag
    host->elements.expect(Kind::HtmlRef, {"new.html", "Link|text", " class=\"y\""});
    form->ActionEditTagExecute();
    QCOMPARE(host->elements.given.last(), QString("old.html|Link|text| class=\"x\""));
    QCOMPARE(form->TextBuffer()->text(),
             QString("<p><a href=\"new.html\" class=\"y\">Link\ntext</a> end</p>"));
    QCOMPARE(form->TagMark().TagType, ttNone);
}

void TestTagEngine::boldByKeyInARealEditor() {
    auto form = make(ftHtml, 2, "some «word» here");
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    form->TextBuffer()->focusText();
    QTest::keyClick(form->TextBuffer()->focusProxy(), Qt::Key_B, Qt::ControlModifier);
    QCOMPARE(render(*form->TextBuffer()), QString("some <b>«word»</b> here"));
    form->TextBuffer()->undo();
    QCOMPARE(form->TextBuffer()->text(), QString("some word here"));
}

void TestTagEngine::sharedShortcutGoesToOneCommand() {
    auto form = make(ftHtml, 2, "^");
    int holders = 0;
    for (QAction* a : commands->commands().commands().actions())
        holders += a->shortcut() == QKeySequence(QStringLiteral("Ctrl+L")) ? 1 : 0;
    QCOMPARE(holders, 1);
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    form->TextBuffer()->focusText();
    QTest::keyClick(form->TextBuffer()->focusProxy(), Qt::Key_L, Qt::ControlModifier);
    QCOMPARE(form->TextBuffer()->text(), QString("<li></li>"));
}

QTEST_MAIN(TestTagEngine)
#include "tst_tagengine.moc"
