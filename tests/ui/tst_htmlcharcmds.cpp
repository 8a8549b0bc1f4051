#include "ScriptedDialogs.h"
#include "ScriptedElementDialogs.h"
#include "TestDocument.h"
#include "editor/core/HtmlChars.h"
#include "editor/ui/HtmlCharDlg.h"
#include "editor/ui/OrvelMDI.h"
#include "textcontrol/ui/EditorControl.h"

#include <QAction>
#include <QComboBox>
#include <QTest>
#include <QTreeWidget>
#include <memory>

using namespace orvel;

namespace {

using FakeHost = test::TestDocumentContext;

} // namespace

class TestHtmlCharCmds : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void wholeTextIsOneUndoStep_data();
    void wholeTextIsOneUndoStep();
    void withoutIsoGroupNothingChanges();
    void foreignBytesSurvive();
    void wordToChar_data();
    void wordToChar();
    void insertsChosenEntity();
    void dialogListsGroup();
    void dialogWithoutTable();

private:
    std::unique_ptr<TMDIForm> formWith(const QString& text, TBufferCoord caret);
    FakeHost host;
    std::unique_ptr<test::TestCommands> commands;
    THtmlCharTable shipped;
};

void TestHtmlCharCmds::initTestCase() {
    QVERIFY(shipped.loadFromFile(QStringLiteral(ORVEL_BUILD_DIR "/html-codes.txt")));
}

void TestHtmlCharCmds::init() {
    commands = std::make_unique<test::TestCommands>(host);
    host.script.reset();
    host.table = &shipped;
}

void TestHtmlCharCmds::cleanup() {
    const QStringList problems = host.script.problems();
    QVERIFY2(problems.isEmpty(), qPrintable(problems.join(u'\n')));
}

std::unique_ptr<TMDIForm> TestHtmlCharCmds::formWith(const QString& text, TBufferCoord caret) {
    auto form = std::make_unique<TMDIForm>(host, ftHtml, 1);
    commands->attach(*form);
    form->TextBuffer()->setText(text);
    form->TextBuffer()->clearUndo();
    form->TextBuffer()->setModified(false);
    form->TextBuffer()->setCaretXY(caret);
    return form;
}

void TestHtmlCharCmds::wholeTextIsOneUndoStep_data() {
    QTest::addColumn<int>("command");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    QTest::newRow("to entities") << int(cmd::ActionCvToHtml)
                                 << QStringLiteral(
                                        "<p>K\u00e4se \u20ac</p>\r\nsch\u00f6n\r\nend\u00e4")
                                 << "<p>K&auml;se \u20ac</p>\r\nsch&ouml;n\r\nend&auml;";
    QTest::newRow("to characters")
        << int(cmd::ActionCvToIso) << "&Auml;rger &amp; &AUML; & \n&szlig;&#223;"
        << QStringLiteral("\u00c4rger &amp; &AUML; & \n\u00df&#223;");
}

void TestHtmlCharCmds::wholeTextIsOneUndoStep() {
    QFETCH(int, command);
    QFETCH(QString, text);
    QFETCH(QString, expected);
    auto form = formWith(text, {4, 2});
    commands->run(cmd::TDocCommandId(command));
    QCOMPARE(form->TextBuffer()->text(), expected);
    QVERIFY(form->TextBuffer()->modified());
    QCOMPARE(form->TextBuffer()->caretXY(), TBufferCoord({1, 2}));
    form->TextBuffer()->undo();
    QCOMPARE(form->TextBuffer()->text(), text);
    QVERIFY(!form->TextBuffer()->canUndo());
    form->TextBuffer()->redo();
    QCOMPARE(form->TextBuffer()->text(), expected);
}

void TestHtmlCharCmds::withoutIsoGroupNothingChanges() {
    THtmlCharTable noIso;
    noIso.loadFromBytes("#Letters\na umlaut|&auml;|228\n");
    host.table = &noIso;
    const QString text = QStringLiteral("\u00e4 &auml;");
    auto form = formWith(text, {3, 1});
    commands->run(cmd::ActionCvToHtml);
    commands->run(cmd::ActionCvToIso);
    QCOMPARE(form->TextBuffer()->text(), text);
    QVERIFY(!form->TextBuffer()->canUndo());
}

void TestHtmlCharCmds::foreignBytesSurvive() {
    // A lone surrogate kept from a UTF-16 file: its line stays byte for byte.
    const QByteArray text("&auml;\xed\xa0\x80\r\n&ouml; \xc3\xa4\r\n");
    auto form = formWith(QString(), {1, 1});
    form->TextBuffer()->loadUtf8(text, lbCRLF);
    commands->run(cmd::ActionCvToIso);
    QCOMPARE(form->TextBuffer()->textBytes().toByteArray(),
             QByteArray("&auml;\xed\xa0\x80\r\n\xc3\xb6 \xc3\xa4\r\n"));
    commands->run(cmd::ActionCvToHtml);
    QCOMPARE(form->TextBuffer()->textBytes().toByteArray(),
             QByteArray("&auml;\xed\xa0\x80\r\n&ouml; &auml;\r\n"));
    form->TextBuffer()->undo();
    form->TextBuffer()->undo();
    QCOMPARE(form->TextBuffer()->textBytes().toByteArray(), text);
}

void TestHtmlCharCmds::wordToChar_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("column");
    QTest::addColumn<int>("selectTo"); // 0: no selection
    QTest::addColumn<QString>("expected");
    QTest::newRow("run inside tags")
        << "<b>&auml;&ouml;</b> &uuml;" << 6 << 0 << QStringLiteral("<b>\u00e4\u00f6</b> &uuml;");
    QTest::newRow("run between blanks")
        << "&auml; x&szlig;y &ouml;" << 10 << 0 << QStringLiteral("&auml; x\u00dfy &ouml;");
    QTest::newRow("caret at the run's end") << "a &auml;" << 9 << 0 << QStringLiteral("a \u00e4");
    QTest::newRow("selection") << "&auml; &ouml; &uuml;" << 1 << 14
                               << QStringLiteral("\u00e4 \u00f6 &uuml;");
    QTest::newRow("capitals stay") << "&AUML;" << 2 << 0 << "&AUML;";
}

void TestHtmlCharCmds::wordToChar() {
    QFETCH(QString, text);
    QFETCH(int, column);
    QFETCH(int, selectTo);
    QFETCH(QString, expected);
    auto form = formWith(text, {column, 1});
    if (selectTo > 0)
        form->TextBuffer()->setSelection({column, 1}, {selectTo, 1});
    commands->run(cmd::ActionWordToIso);
    QCOMPARE(form->TextBuffer()->text(), expected);
    if (expected != text) {
        form->TextBuffer()->undo();
        QCOMPARE(form->TextBuffer()->text(), text);
    }
}

void TestHtmlCharCmds::insertsChosenEntity() {
    auto form = formWith(QStringLiteral("<p></p>"), {4, 1});
    QString firstRow;
    form->runCharDialog = [&](THtmlCharDialog& dialog, QPoint, QString& name) {
        if (!dialog.prepare(QPoint(10, 10)))
            return false;
        firstRow = dialog.selectedName();
        dialog.groupBox()->setCurrentIndex(1);
        name = dialog.selectedName();
        return true;
    };
    commands->run(cmd::ActionHtmlCode);
    QVERIFY(!firstRow.isEmpty());
    const QString chosen = form->TextBuffer()->text().mid(3, form->TextBuffer()->text().size() - 7);
    QCOMPARE(shipped.GetUnicodeChar(chosen) != 0, true);
    QVERIFY(shipped.GetIsoChar(chosen) == 0); // from the second group
    QVERIFY(form->TextBuffer()->text().endsWith(u"</p>"));
}

void TestHtmlCharCmds::dialogListsGroup() {
    THtmlCharTable t;
    t.loadFromBytes("##Iso\nzeta|&z;|1\nalpha|&a;|2\n|&hidden;|3\n#Second\nonly|&o;|4\n");
    THtmlCharDialog dialog(&t, host.script);
    QVERIFY(dialog.prepare(QPoint(-5000, -5000)));
    QCOMPARE(dialog.groupBox()->count(), 2);
    QCOMPARE(dialog.list()->topLevelItemCount(), 2); // no description: not listed
    QCOMPARE(dialog.list()->topLevelItem(0)->text(0), QStringLiteral("alpha"));
    QCOMPARE(dialog.selectedName(), QStringLiteral("&a;"));
    dialog.groupBox()->setCurrentIndex(1);
    QCOMPARE(dialog.list()->topLevelItemCount(), 1);
    QCOMPARE(dialog.selectedName(), QStringLiteral("&o;"));
    // A double-click chooses the row.
    dialog.show();
    QTreeWidget* list = dialog.list();
    const QRect r = list->visualItemRect(list->topLevelItem(0));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, r.center());
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, r.center());
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
}

void TestHtmlCharCmds::dialogWithoutTable() {
    const THtmlCharTable empty;
    for (const THtmlCharTable* t : {static_cast<const THtmlCharTable*>(nullptr), &empty}) {
        host.script.expectError(QStringLiteral("No character table loaded!"));
        THtmlCharDialog dialog(t, host.script);
        QString name = QStringLiteral("unchanged");
        QVERIFY(!dialog.Execute(QPoint(0, 0), name));
        QCOMPARE(name, QStringLiteral("unchanged"));
    }
}

QTEST_MAIN(TestHtmlCharCmds)
#include "tst_htmlcharcmds.moc"
