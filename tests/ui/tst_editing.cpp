#include "TestDocumentHost.h"
#include "editor/ui/DocumentHost.h"
#include "editor/ui/OrvelMDI.h"
#include "textcontrol/ui/EditorControl.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QTest>
#include <memory>

using namespace orvel;

using Host = orvel::test::TestDocumentHost;

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
    std::unique_ptr<Host> host;
    std::unique_ptr<TMDIForm> form;
};

void TestEditing::init() {
    host = std::make_unique<Host>();
    form = std::make_unique<TMDIForm>(*host, ftHtml);
    QString text;
    for (int i = 1; i <= 15; ++i)
        text += QStringLiteral("line %1 of the text\n").arg(i);
    form->TextBuffer->loadUtf8(text.toUtf8(), lbLF);
}

void TestEditing::bookmarksRecycle() {
    TEditorControl* ed = form->TextBuffer;
    for (int i = 0; i < 10; ++i)
        form->NewBookmark({3, i + 1});
    for (int n = 0; n < 10; ++n)
        QCOMPARE(ed->bookmarkPos(n), (TBufferCoord{3, n + 1}));
    // Three more reuse 0, 1 and 2, in that order.
    for (int i = 0; i < 3; ++i) {
        ed->setCaretXY({5, 12 + i});
        form->action("ActionSetBookmark")->trigger();
    }
    QCOMPARE(ed->bookmarkPos(0), (TBufferCoord{5, 12}));
    QCOMPARE(ed->bookmarkPos(1), (TBufferCoord{5, 13}));
    QCOMPARE(ed->bookmarkPos(2), (TBufferCoord{5, 14}));
    QCOMPARE(ed->bookmarkPos(3), (TBufferCoord{3, 4}));
    form->action("ActionClearBookmarks")->trigger();
    for (int n = 0; n < 10; ++n)
        QVERIFY(!ed->isBookmarkSet(n));
}

void TestEditing::gutterClickClearsOnlyItsBookmark() {
    TEditorControl* ed = form->TextBuffer;
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
    form->Activate();
    QVERIFY(!form->action("ActionPaste")->isEnabled());
    QApplication::clipboard()->setText(QStringLiteral("pasted"));
    QTRY_VERIFY(form->action("ActionPaste")->isEnabled());
    form->TextBuffer->setCaretXY({1, 1});
    form->action("ActionPaste")->trigger();
    QVERIFY(form->TextBuffer->line(0).startsWith("pastedline 1"));
}

void TestEditing::undoRedoAndBrackets() {
    TEditorControl* ed = form->TextBuffer;
    ed->setCaretXY({1, 1});
    ed->setSelText(QStringLiteral("(a [b] c)"));
    form->action("ActionUndo")->trigger();
    QCOMPARE(ed->line(0), QString("line 1 of the text"));
    form->action("ActionRedo")->trigger();
    QCOMPARE(ed->line(0), QString("(a [b] c)line 1 of the text"));
    ed->setCaretXY({1, 1});
    form->action("ActionMatch")->trigger();
    QCOMPARE(ed->caretXY(), (TBufferCoord{9, 1}));
    form->action("ActionColumn")->trigger();
    QVERIFY(ed->columnMode());
}

void TestEditing::f6AndF7CycleDocuments() {
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    form->TextBuffer->focusText();
    QTest::keyClick(form->TextBuffer->focusProxy(), Qt::Key_F6);
    QCOMPARE(host->previous, 1);
    QTest::keyClick(form->TextBuffer->focusProxy(), Qt::Key_F8); // "&Next" has F8
    QCOMPARE(host->next, 1);
}

QTEST_MAIN(TestEditing)
#include "tst_editing.moc"
