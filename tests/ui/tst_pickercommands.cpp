// The element commands that ask a picker: colours and choices insert what their command
// says, and "no color" or Cancel insert nothing.

#include "TestDocument.h"
#include "editor/ui/OrvelMDI.h"
#include "textcontrol/ui/EditorControl.h"

#include <QTest>

using namespace orvel;
using Kind = orvel::test::ScriptedElementDialogs::Kind;

class TestPickerCommands : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void commands_data();
    void commands();
};

void TestPickerCommands::commands_data() {
    QTest::addColumn<int>("command");
    QTest::addColumn<QString>("before"); // "^" marks the caret
    QTest::addColumn<int>("kind");
    QTest::addColumn<QStringList>("answer"); // empty: Cancel
    QTest::addColumn<QString>("title");      // what the picker was titled
    QTest::addColumn<QString>("start");      // what it started at
    QTest::addColumn<QString>("after");

    // 0x336699 is red 99, green 66, blue 33.
    const QStringList color{QString::number(0x336699)};
    const QStringList none{"none"};
    const QStringList cancel;
    const struct {
        cmd::TDocCommandId command;
        const char* name;
        const char* title;
        quint32 start;
        const char* inserted;
    } colours[] = {
        {cmd::ActionTextColor, "ActionTextColor", "Text color", 0x000000, " text=\"#996633\""},
        {cmd::ActionBgColor, "ActionBgColor", "Background color", 0xFFFFFF, " bgcolor=\"#996633\""},
        {cmd::ActionLinkColor, "ActionLinkColor", "Color of links", 0xFF0000, " link=\"#996633\""},
        {cmd::ActionVisitColor, "ActionVisitColor", "Color of visited links", 0xFF00FF,
         " vlink=\"#996633\""},
        {cmd::ActionActColor, "ActionActColor", "Color of active links", 0x0000FF,
         " alink=\"#996633\""},
        {cmd::ActionFontColor, "ActionFontColor", "Font color", 0x000000,
         " style=\"color:#996633;\""},
        {cmd::ActionColor, "ActionColor", "Select color", 0x000000, "#996633"},
    };
    for (const auto& c : colours) {
        const QString start = QString::number(c.start);
        const QString before = "<body^>";
        QTest::newRow(qPrintable(QString("%1, a colour").arg(c.name)))
            << int(c.command) << before << int(Kind::Color) << color << c.title << start
            << QString("<body%1>").arg(c.inserted);
        QTest::newRow(qPrintable(QString("%1, no color").arg(c.name)))
            << int(c.command) << before << int(Kind::Color) << none << c.title << start << "<body>";
        QTest::newRow(qPrintable(QString("%1, cancel").arg(c.name)))
            << int(c.command) << before << int(Kind::Color) << cancel << c.title << start
            << "<body>";
    }
    // A colour word at the caret is where the picker starts, and what it replaces.
    const QString orange = QString::number(0x0080FF);
    QTest::newRow("ActionColor, colour word replaced")
        << int(cmd::ActionColor) << "color: #FF8^000;" << int(Kind::Color) << color
        << "Select color" << orange << "color: #996633;";
    QTest::newRow("ActionColor, colour word and no color")
        << int(cmd::ActionColor) << "color: #FF8^000;" << int(Kind::Color) << none << "Select color"
        << orange << "color: #FF8000;";
    QTest::newRow("ActionColor, short colour word")
        << int(cmd::ActionColor) << "#0A0^B0" << int(Kind::Color) << color << "Select color"
        << QString::number(0x000B0A) << "#996633";

    const QString yesNo = "yes,no";
    QTest::newRow("ActionFScroll, no")
        << int(cmd::ActionFScroll) << "<frame^>" << int(Kind::Style) << QStringList{"no"}
        << "Scroll bars" << yesNo << "<frame scrolling=\"no\">";
    QTest::newRow("ActionFScroll, yes")
        << int(cmd::ActionFScroll) << "<frame^>" << int(Kind::Style) << QStringList{"yes"}
        << "Scroll bars" << yesNo << "<frame scrolling=\"yes\">";
    QTest::newRow("ActionFScroll, cancel")
        << int(cmd::ActionFScroll) << "<frame^>" << int(Kind::Style) << cancel << "Scroll bars"
        << yesNo << "<frame>";
}

void TestPickerCommands::commands() {
    QFETCH(int, command);
    QFETCH(QString, before);
    QFETCH(int, kind);
    QFETCH(QStringList, answer);
    QFETCH(QString, title);
    QFETCH(QString, start);
    QFETCH(QString, after);
    test::TestDocumentContext host;
    test::TestCommands commands(host);
    if (answer.isEmpty())
        host.elements.expectCancel(Kind(kind));
    else
        host.elements.expect(Kind(kind), answer);
    TMDIForm form(host, ftHtml, 1);
    commands.attach(form);
    const qsizetype caret = before.indexOf(u'^');
    form.TextBuffer()->setText(QString(before).remove(u'^'));
    form.TextBuffer()->setCaretXY({int(caret) + 1, 1});
    commands.run(cmd::TDocCommandId(command));
    QCOMPARE(form.TextBuffer()->text(), after);
    QCOMPARE(host.elements.shown, QStringList{title});
    QCOMPARE(host.elements.given, QStringList{start});
    const QStringList problems = host.problems();
    QVERIFY2(problems.isEmpty(), qPrintable(problems.join(u'\n')));
}

QTEST_MAIN(TestPickerCommands)
#include "tst_pickercommands.moc"
