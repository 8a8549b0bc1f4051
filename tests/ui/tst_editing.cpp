#include "TestDocument.h"
#include "editor/ui/OrvelMDI.h"
#include "textcontrol/ui/EditorControl.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QTest>
#include <memory>

using namespace orvel;

using Context = orvel::test::TestDocumentContext;
using Commands = orvel::test::TestCommands;

class TestEditing : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void bookmarksRecycle();
    void gutterClickClearsOnlyItsBookmark();
    void pasteFollowsTheClipboard();
    void undoRedoAndBrackets();
    void f6AndF7CycleDocuments();

private:
    std::unique_ptr<Context> context;
    std::unique_ptr<Commands> commands;
    std::unique_ptr<TMDIForm> form;
};

void TestEditing::init() {
    form.reset();
    commands.reset();
    context = std::make_unique<Context>();
    commands = std::make_unique<Commands>(*context);
    form = std::make_unique<TMDIForm>(*context, ftHtml, 1);
    QString text;
    for (int i = 1; i <= 15; ++i)
        text += QStringLiteral("line %1 of the text\n").arg(i);
    form->TextBuffer()->loadUtf8(text.toUtf8(), lbLF);
    commands->attach(*form);
}

void TestEditing::bookmarksRecycle() {
    TEditorControl* ed = form->TextBuffer();
    for (int i = 0; i < 10; ++i)
        form->NewBookmark({3, i + 1});
    for (int n = 0; n < 10; ++n)
        QCOMPARE(ed->bookmarkPos(n), (TBufferCoord{3, n + 1}));
    // Three more reuse 0, 1 and 2, in that order.
    for (int i = 0; i < 3; ++i) {
        ed->setCaretXY({5, 12 + i});
        commands->action(cmd::ActionSetBookmark)->trigger();
    }
    QCOMPARE(ed->bookmarkPos(0), (TBufferCoord{5, 12}));
    QCOMPARE(ed->bookmarkPos(1), (TBufferCoord{5, 13}));
    QCOMPARE(ed->bookmarkPos(2), (TBufferCoord{5, 14}));
    QCOMPARE(ed->bookmarkPos(3), (TBufferCoord{3, 4}));
    commands->action(cmd::ActionClearBookmarks)->trigger();
    for (int n = 0; n < 10; ++n)
        QVERIFY(!ed->isBookmarkSet(n));
}

void TestEditing::gutterClickClearsOnlyItsBookmark() {
    TEditorControl* ed = form->TextBuffer();
    for (int i = 0; i < 6; ++i)
        form->NewBookmark({7, i + 2});
    Q_EMIT ed->gutterClick(6, ed->bookmarkAtLine(6)); // the line of bookmark 4
    QVERIFY(!ed->isBookmarkSet(4));
    for (int n : {0, 1, 2, 3, 5})
        QCOMPARE(ed->bookmarkPos(n).Char, 7); // the column is kept
    // A click on a line without one sets the lowest free number at its start.
    Q_EMIT ed->gutterClick(11, -1);
    QCOMPARE(ed->bookmarkPos(4), (TBufferCoord{1, 11}));
}

void TestEditing::pasteFollowsTheClipboard() {
    QApplication::clipboard()->clear();
    commands->attach(*form);
    QVERIFY(!commands->action(cmd::ActionPaste)->isEnabled());
    QApplication::clipboard()->setText(QStringLiteral("pasted"));
    QTRY_VERIFY(commands->action(cmd::ActionPaste)->isEnabled());
    form->TextBuffer()->setCaretXY({1, 1});
    commands->action(cmd::ActionPaste)->trigger();
    QVERIFY(form->TextBuffer()->line(0).startsWith("pastedline 1"));
}

void TestEditing::undoRedoAndBrackets() {
    TEditorControl* ed = form->TextBuffer();
    ed->setCaretXY({1, 1});
    ed->setSelText(QStringLiteral("(a [b] c)"));
    commands->action(cmd::ActionUndo)->trigger();
    QCOMPARE(ed->line(0), QString("line 1 of the text"));
    commands->action(cmd::ActionRedo)->trigger();
    QCOMPARE(ed->line(0), QString("(a [b] c)line 1 of the text"));
    ed->setCaretXY({1, 1});
    commands->action(cmd::ActionMatch)->trigger();
    QCOMPARE(ed->caretXY(), (TBufferCoord{9, 1}));
    commands->action(cmd::ActionColumn)->trigger();
    QVERIFY(ed->columnMode());
}

void TestEditing::f6AndF7CycleDocuments() {
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    form->TextBuffer()->focusText();
    QTest::keyClick(form->TextBuffer()->focusProxy(), Qt::Key_F6);
    QCOMPARE(commands->cycles, QList<int>{-1});
    QTest::keyClick(form->TextBuffer()->focusProxy(), Qt::Key_F8); // "&Next" has F8
    QCOMPARE(commands->cycles, (QList<int>{-1, 1}));
}

QTEST_MAIN(TestEditing)
#include "tst_editing.moc"
