// The editor component on texts where positions are no longer counted from the start:
// long lines, mixed line breaks, edits; colours of far text; what a screen reader is told.

#include "textcontrol/core/Utf8Columns.h"
#include "textcontrol/ui/EditorAccessible.h"
#include "textcontrol/ui/EditorControl.h"
#include "textcontrol/ui/Highlighter.h"

#include <QAccessible>
#include <QRandomGenerator>
#include <QTest>

using namespace orvel;

Q_DECLARE_METATYPE(orvel::TBufferCoord)

namespace {

// Lines of the text as the control splits them: at CR LF, LF and CR.
QList<QByteArray> linesOf(QByteArrayView text) {
    QList<QByteArray> lines;
    QByteArray current;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            lines << current;
            current.clear();
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
        } else {
            current += c;
        }
    }
    lines << current;
    return lines;
}

// The character index of (Char, Line), lines joined by CR LF, counted the slow way.
int joinedIndex(const QList<QByteArray>& lines, TBufferCoord pos) {
    qsizetype index = 0;
    for (int l = 0; l < pos.Line - 1; ++l)
        index += utf16Length(lines[l]) + 2;
    return int(index + pos.Char - 1);
}

QByteArray randomText(QRandomGenerator& rnd, int pieces, int longEvery) {
    static const QByteArray kPieces[] = {"ab",   "<p>",      "\r\n",         "\n",
                                         "\r",   "\xC3\xA9", "\xE2\x82\xAC", "\xF0\x9F\x98\x80",
                                         "\x80", "x y"};
    QByteArray s;
    for (int i = 0; i < pieces; ++i) {
        s += kPieces[rnd.bounded(int(std::size(kPieces)))];
        if (longEvery && i % longEvery == 0)
            s += QByteArray(5000 + rnd.bounded(3000), 'w'); // longer than a short line
    }
    return s;
}

} // namespace

class TestEditorLarge : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void positionsMatchCountingFromStart_data();
    void positionsMatchCountingFromStart();
    void columnsOnALongLine();
    void farTextColouredCorrectlyOnceIdle();
    void screenReaderSeesTextAndCaret();

private:
    TEditorControl* ed = nullptr;
};

void TestEditorLarge::init() {
    ed = new TEditorControl;
    ed->resize(600, 400);
    ed->show();
}

void TestEditorLarge::cleanup() {
    delete ed;
    ed = nullptr;
}

void TestEditorLarge::positionsMatchCountingFromStart_data() {
    QTest::addColumn<quint32>("seed");
    QTest::addColumn<int>("longEvery");
    QTest::newRow("short lines") << 1u << 0;
    QTest::newRow("some long lines") << 2u << 7;
    QTest::newRow("many long lines") << 3u << 2;
}

void TestEditorLarge::positionsMatchCountingFromStart() {
    // Through edits, undo and redo, every position agrees with counting from the start.
    QFETCH(quint32, seed);
    QFETCH(int, longEvery);
    QRandomGenerator rnd(seed);
    ed->loadUtf8(randomText(rnd, 300, longEvery), lbCRLF);
    for (int step = 0; step < 60; ++step) {
        const QByteArrayView bytes = ed->textBytes();
        const QList<QByteArray> lines = linesOf(bytes);
        QCOMPARE(ed->lineCount(), lines.size());
        for (int q = 0; q < 4; ++q) {
            const int line = 1 + rnd.bounded(int(lines.size()));
            const int length = int(utf16Length(lines[line - 1]));
            const TBufferCoord pos{1 + rnd.bounded(length + 1), line};
            const int index = joinedIndex(lines, pos);
            QCOMPARE(ed->rowColToCharIndex(pos), index);
            QCOMPARE(ed->charIndexToRowCol(index), pos);
            // A column inside a surrogate pair puts the caret before the pair.
            const QByteArray& text = lines[line - 1];
            const int start = int(byteToUtf16Offset(text, utf16ToByteOffset(text, pos.Char - 1)));
            ed->setCaretXY(pos);
            QCOMPARE(ed->caretXY(), (TBufferCoord{start + 1, line}));
        }
        switch (rnd.bounded(4)) {
        case 0:
            ed->setSelText(QString::fromUtf8(randomText(rnd, 1 + rnd.bounded(4), 0)));
            break;
        case 1:
            ed->setSelection(ed->caretXY(), ed->movedBy(ed->caretXY(), 1 + rnd.bounded(30)));
            ed->setSelText(QString());
            break;
        case 2:
            ed->undo();
            break;
        default:
            ed->redo();
            break;
        }
    }
}

void TestEditorLarge::columnsOnALongLine() {
    // 300,000 characters on one line, an emoji two thirds along.
    QByteArray text = QByteArray(200000, 'a') + "\xF0\x9F\x98\x80" + QByteArray(99998, 'b');
    ed->loadUtf8(text, lbLF);
    ed->setCaretXY({200002, 1});
    QCOMPARE(ed->caretXY(), (TBufferCoord{200001, 1})); // inside the pair: its start
    ed->setCaretXY({200003, 1});
    QCOMPARE(ed->caretXY(), (TBufferCoord{200003, 1}));
    ed->setSelText(QStringLiteral("x"));
    QCOMPARE(ed->caretXY(), (TBufferCoord{200004, 1}));
    QCOMPARE(ed->textBytes().sliced(200004, 2), QByteArrayView("xb"));
    ed->caretToLineEnd();
    QCOMPARE(ed->caretXY(), (TBufferCoord{300002, 1}));
    ed->caretToLineStart();
    ed->setSelText(QString::fromUtf8("\xC3\xA9"));
    ed->caretToLineEnd();
    QCOMPARE(ed->caretXY(), (TBufferCoord{300003, 1}));
    QCOMPARE(ed->rowColToCharIndex({300003, 1}), 300002);
    // Beyond the end of the line with the caret free to go there.
    ed->setOptions(ed->options() | eoScrollPastEol);
    ed->setCaretXY({300010, 1});
    QCOMPARE(ed->caretXY(), (TBufferCoord{300010, 1}));
}

void TestEditorLarge::farTextColouredCorrectlyOnceIdle() {
    // The end of a large page is shown before the colouring from the start reaches it: it
    // is coloured on the spot. Then a comment is opened at the start, out of sight, which
    // turns all of the page into comment: once the editor was idle, no colour of the old
    // guess is left.
    auto hl = THighlighter::create(hkHtml);
    ed->setHighlighter(hl.get());
    const QByteArray line = "<p class=\"x\">Some text &amp; more</p>\n";
    ed->loadUtf8(line.repeated(40000), lbLF);
    QVERIFY(QTest::qWaitForWindowExposed(ed));
    ed->repaint(); // its first page coloured
    ed->caretToTextEnd();
    ed->repaint();
    ed->replaceBytes(0, 0, QStringLiteral("<!--"));
    ed->repaint();
    QTest::qWait(3000);
    for (int col : {1, 4, 15, 20})
        QCOMPARE(ed->attributeNameAt({col, ed->lineCount() - 1}), QStringLiteral("Comment"));
}

void TestEditorLarge::screenReaderSeesTextAndCaret() {
    static QList<QPair<int, int>> events; // event type, offset
    events.clear();
    TEditorAccessible::setListener([](QAccessibleEvent* e) {
        if (e->type() == QAccessible::TextCaretMoved)
            events << qMakePair(int(e->type()),
                                static_cast<QAccessibleTextCursorEvent*>(e)->cursorPosition());
        else if (e->type() == QAccessible::TextInserted)
            events << qMakePair(int(e->type()),
                                static_cast<QAccessibleTextInsertEvent*>(e)->changePosition());
        else if (e->type() == QAccessible::TextRemoved)
            events << qMakePair(int(e->type()),
                                static_cast<QAccessibleTextRemoveEvent*>(e)->changePosition());
    });
    ed->loadUtf8(QByteArray("ab\xF0\x9F\x98\x80"
                            "c\r\nline two\nend"),
                 lbCRLF);
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(ed->focusProxy());
    QVERIFY(a);
    QAccessibleTextInterface* t = a->textInterface();
    QVERIFY(t);
    QVERIFY(a->editableTextInterface());
    // Offsets are UTF-16 units of the text with its own line breaks.
    QCOMPARE(t->characterCount(), 19);
    QCOMPARE(t->text(2, 5), QString::fromUtf8("\xF0\x9F\x98\x80"
                                              "c"));
    int start = -1;
    int end = -1;
    QCOMPARE(t->textAtOffset(9, QAccessible::LineBoundary, &start, &end),
             QStringLiteral("line two\n"));
    QCOMPARE(start, 7);
    QCOMPARE(end, 16);
    ed->setCaretXY({3, 2});
    QCoreApplication::processEvents();
    QCOMPARE(t->cursorPosition(), 9);
    QVERIFY(events.contains(qMakePair(int(QAccessible::TextCaretMoved), 9)));
    events.clear();
    ed->setSelText(QStringLiteral("XY"));
    ed->setSelection({1, 3}, {3, 3});
    ed->setSelText(QString());
    QCoreApplication::processEvents();
    QVERIFY(events.contains(qMakePair(int(QAccessible::TextInserted), 9)));
    QVERIFY(events.contains(qMakePair(int(QAccessible::TextRemoved), 18)));
    t->setSelection(0, 2, 5);
    QCOMPARE(ed->selText(), QString::fromUtf8("\xF0\x9F\x98\x80"
                                              "c"));
    a->editableTextInterface()->replaceText(0, 2, QStringLiteral("Z"));
    QCOMPARE(ed->line(0), QString::fromUtf8("Z\xF0\x9F\x98\x80"
                                            "c"));
    TEditorAccessible::setListener(nullptr);
}

QTEST_MAIN(TestEditorLarge)
#include "tst_editorlarge.moc"
