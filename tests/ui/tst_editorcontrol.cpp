#include "textcontrol/ui/EditorControl.h"
#include "textcontrol/ui/Highlighter.h"

#include <QTemporaryDir>
#include <QTest>

using namespace orvel;

Q_DECLARE_METATYPE(orvel::TBufferCoord)

class TestEditorControl : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void columnsInUtf16Units();
    void charIndexJoinsLinesWithCrLf();
    void lineOperations();
    void lineSeparatorIsNoLineBreak();
    void nulBytesKept();
    void optionBitsRoundTrip();
    void optionsTakeEffect();
    void bookmarksKeepColumn();
    void search_data();
    void search();
    void replaceAllIsOneUndoStep();
    void confirmedReplace_data();
    void confirmedReplace();
    void defaultKeys_data();
    void defaultKeys();
    void lineBreakIndents();
    void wordsWithLatin1Letters();
    void setSelTextIsOneStep();
    void highlighterAttributes();

private:
    TEditorControl* ed = nullptr;
};

void TestEditorControl::init() {
    ed = new TEditorControl;
    ed->resize(600, 400);
    ed->show();
}

void TestEditorControl::cleanup() {
    delete ed;
    ed = nullptr;
}

void TestEditorControl::columnsInUtf16Units() {
    // a ä ö ü € 𝄞(two units) b: the end of the line is column 9.
    ed->setText(QString::fromUtf8("aäöü€\xF0\x9D\x84\x9E"
                                  "b\r\nx"));
    QCOMPARE(ed->line(0).size(), 8);
    for (int col : {1, 2, 3, 4, 5, 6, 8, 9}) {
        ed->setCaretXY({col, 1});
        QCOMPARE(ed->caretXY(), (TBufferCoord{col, 1}));
    }
    ed->setSelection({2, 1}, {6, 1});
    QCOMPARE(ed->selText(), QString::fromUtf8("äöü€"));
    ed->setSelection({6, 1}, {8, 1});
    QCOMPARE(ed->selText(), QString::fromUtf8("\xF0\x9D\x84\x9E"));
    QCOMPARE(ed->blockBegin(), (TBufferCoord{6, 1}));
    QCOMPARE(ed->blockEnd(), (TBufferCoord{8, 1}));
    // A column inside the pair lands before it, never inside.
    ed->setCaretXY({7, 1});
    QCOMPARE(ed->caretXY(), (TBufferCoord{6, 1}));
}

void TestEditorControl::charIndexJoinsLinesWithCrLf() {
    ed->loadUtf8(QString::fromUtf8("aä€\nxyz\n").toUtf8(), lbLF);
    QCOMPARE(ed->rowColToCharIndex({1, 2}), 5); // 3 units + CR LF
    QCOMPARE(ed->charIndexToRowCol(6), (TBufferCoord{2, 2}));
    QCOMPARE(ed->charIndexToRowCol(3), (TBufferCoord{4, 1}));
    ed->setSelection({2, 1}, {3, 2});
    QCOMPARE(ed->selStart(), 1);
    QCOMPARE(ed->selLength(), 6);
    ed->setSelStart(5);
    ed->setSelLength(2);
    QCOMPARE(ed->selText(), QString("xy"));
}

void TestEditorControl::lineOperations() {
    ed->loadUtf8("one\r\ntwo\r\nthree", lbCRLF);
    QCOMPARE(ed->lineCount(), 3);
    ed->insertLine(1, QStringLiteral("new"));
    ed->setLine(0, QStringLiteral("ONE"));
    ed->deleteLine(3);
    ed->addLine(QStringLiteral("end"));
    QCOMPARE(ed->text(), QString("ONE\r\nnew\r\ntwo\r\nend"));
    ed->deleteLine(0);
    QCOMPARE(ed->line(0), QString("new"));
}

void TestEditorControl::lineSeparatorIsNoLineBreak() {
    ed->loadUtf8(QString(QStringLiteral("a") + QChar(0x2028) + QStringLiteral("b\nc")).toUtf8(),
                 lbLF);
    QCOMPARE(ed->lineCount(), 2);
    QCOMPARE(ed->line(0).size(), 3);
}

void TestEditorControl::nulBytesKept() {
    const QByteArray bytes("a\0b\r\n\0", 6);
    ed->loadUtf8(bytes, lbCRLF);
    QCOMPARE(QByteArray(ed->textBytes().data(), ed->textBytes().size()), bytes);
    ed->setCaretXY({2, 1});
    ed->setSelText(QString(QChar(0)) + "x");
    QCOMPARE(ed->line(0), QString::fromUtf8("a\0x\0b", 5));
}

void TestEditorControl::optionBitsRoundTrip() {
    for (TEditorOptions o : {TEditorOptions(0), kDefaultStoredOptions, kNewEditorOptions,
                             kAllOptionBits, TEditorOptions(0x5555555) & kAllOptionBits}) {
        ed->setOptions(o);
        QCOMPARE(ed->options(), o);
    }
    ed->setOptions(0xFFFFFFFF);
    QCOMPARE(ed->options(), kAllOptionBits); // higher bits are not used
}

void TestEditorControl::optionsTakeEffect() {
    ed->loadUtf8("ab\r\n", lbCRLF);
    ed->setOptions(optionBit(eoScrollPastEol));
    ed->setCaretXY({6, 1});
    QCOMPARE(ed->caretXY(), (TBufferCoord{6, 1})); // behind the line's end
    ed->setOptions(0);
    ed->setCaretXY({6, 1});
    QCOMPARE(ed->caretXY(), (TBufferCoord{3, 1}));

    ed->setTabWidth(4);
    ed->setOptions(optionBit(eoTabsToSpaces));
    ed->setCaretXY({1, 2});
    ed->executeCommand(ecTab);
    QCOMPARE(ed->line(1), QString("    "));
    ed->setOptions(0);
    ed->executeCommand(ecTab);
    QCOMPARE(ed->line(1), QString("    \t"));
}

void TestEditorControl::bookmarksKeepColumn() {
    ed->loadUtf8("aaa\r\nbbbbbb\r\nccc", lbCRLF);
    ed->setBookmark(3, {5, 2});
    QVERIFY(ed->isBookmarkSet(3));
    QCOMPARE(ed->bookmarkAtLine(2), 3);
    ed->setCaretXY({1, 1});
    ed->insertLineBreak(); // the marked line moves down, the column stays
    QCOMPARE(ed->bookmarkPos(3), (TBufferCoord{5, 3}));
    ed->gotoBookmark(3);
    QCOMPARE(ed->caretXY(), (TBufferCoord{5, 3}));
    ed->clearBookmark(3);
    QVERIFY(!ed->isBookmarkSet(3));
    QCOMPARE(ed->bookmarkAtLine(3), -1);
}

void TestEditorControl::search_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<TBufferCoord>("caret");
    QTest::addColumn<int>("options");
    QTest::addColumn<QString>("search");
    QTest::addColumn<QString>("replace");
    QTest::addColumn<int>("found");
    QTest::addColumn<QString>("after");
    QTest::addColumn<TBufferCoord>("caretAfter");

    const QString t = QStringLiteral("Cat cat catalog\r\ncat");
    QTest::newRow("forward from caret") << t << TBufferCoord{2, 1} << 0 << "cat"
                                        << "" << 1 << t << TBufferCoord{8, 1};
    QTest::newRow("match case") << t << TBufferCoord{1, 1} << int(ssoMatchCase) << "Cat"
                                << "" << 1 << t << TBufferCoord{4, 1};
    QTest::newRow("whole word skips catalog")
        << t << TBufferCoord{8, 1} << int(ssoWholeWord) << "cat"
        << "" << 1 << t << TBufferCoord{4, 2};
    QTest::newRow("backwards, caret at start")
        << t << TBufferCoord{1, 2} << int(ssoBackwards) << "cat"
        << "" << 1 << t << TBufferCoord{9, 1};
    QTest::newRow("entire scope starts at top")
        << t << TBufferCoord{4, 2} << int(ssoEntireScope) << "cat"
        << "" << 1 << t << TBufferCoord{4, 1};
    QTest::newRow("not found") << t << TBufferCoord{1, 1} << 0 << "dog"
                               << "" << 0 << t << TBufferCoord{1, 1};
    QTest::newRow("replace one") << t << TBufferCoord{1, 1} << int(ssoReplace) << "cat"
                                 << "dog" << 1 << "dog cat catalog\r\ncat" << TBufferCoord{4, 1};
    QTest::newRow("replace all") << t << TBufferCoord{1, 1} << int(ssoReplace | ssoReplaceAll)
                                 << "cat"
                                 << "ü" << 4 << "ü ü üalog\r\nü" << TBufferCoord{2, 2};
    QTest::newRow("replace all from caret")
        << t << TBufferCoord{5, 1} << int(ssoReplace | ssoReplaceAll) << "cat"
        << "x" << 3 << "Cat x xalog\r\nx" << TBufferCoord{2, 2};
    QTest::newRow("replace all whole words, longer text")
        << t << TBufferCoord{1, 1} << int(ssoReplace | ssoReplaceAll | ssoWholeWord) << "cat"
        << "tiger" << 3 << "tiger tiger catalog\r\ntiger" << TBufferCoord{6, 2};
}

void TestEditorControl::search() {
    QFETCH(QString, text);
    QFETCH(TBufferCoord, caret);
    QFETCH(int, options);
    QFETCH(QString, search);
    QFETCH(QString, replace);
    QFETCH(int, found);
    QFETCH(QString, after);
    QFETCH(TBufferCoord, caretAfter);
    ed->loadUtf8(text.toUtf8(), lbCRLF);
    ed->setCaretXY(caret);
    const TSearchResult r = ed->searchReplace(search, replace, options);
    QCOMPARE(r.found, found);
    QCOMPARE(ed->text(), after);
    QCOMPARE(ed->caretXY(), caretAfter);
    if (found && !(options & ssoReplace))
        QCOMPARE(ed->selText().compare(search, Qt::CaseInsensitive), 0);
}

void TestEditorControl::replaceAllIsOneUndoStep() {
    ed->loadUtf8("a b a b a", lbCRLF);
    ed->setCaretXY({1, 1});
    QCOMPARE(ed->searchReplace("a", "xyz", ssoReplace | ssoReplaceAll).replaced, 3);
    QCOMPARE(ed->text(), QString("xyz b xyz b xyz"));
    ed->undo();
    QCOMPARE(ed->text(), QString("a b a b a"));
    QVERIFY(!ed->canUndo());
}

void TestEditorControl::confirmedReplace_data() {
    QTest::addColumn<QList<int>>("answers");
    QTest::addColumn<int>("options");
    QTest::addColumn<QString>("after");
    QTest::addColumn<bool>("skipped");
    QTest::addColumn<bool>("cancelled");
    const int all = ssoReplace | ssoReplaceAll | ssoPrompt;
    QTest::newRow("all: no, yes, cancel")
        << QList<int>{raSkip, raReplace, raCancel} << all << "a X a a" << false << true;
    QTest::newRow("all: yes, then all")
        << QList<int>{raReplace, raReplaceAll} << all << "X X X X" << false << false;
    QTest::newRow("single: no is reported")
        << QList<int>{raSkip} << int(ssoReplace | ssoPrompt) << "a a a a" << true << false;
    QTest::newRow("single: all replaces the rest")
        << QList<int>{raReplaceAll} << int(ssoReplace | ssoPrompt) << "X X X X" << false << false;
}

void TestEditorControl::confirmedReplace() {
    QFETCH(QList<int>, answers);
    QFETCH(int, options);
    QFETCH(QString, after);
    QFETCH(bool, skipped);
    QFETCH(bool, cancelled);
    ed->loadUtf8("a a a a", lbCRLF);
    ed->setCaretXY({1, 1});
    QList<int> columns;
    QStringList seen;
    ed->onReplaceText = [&](const QString& s, const QString& r, int line,
                            int column) -> TReplaceAction {
        seen << QStringLiteral("%1>%2@%3").arg(s, r).arg(line);
        columns << column;
        return answers.isEmpty() ? raCancel : TReplaceAction(answers.takeFirst());
    };
    const TSearchResult r = ed->searchReplace("a", "X", options);
    QCOMPARE(ed->text(), after);
    QCOMPARE(r.skipped, skipped);
    QCOMPARE(r.cancelled, cancelled);
    QVERIFY(answers.isEmpty());
    QCOMPARE(columns.first(), 1);
    QCOMPARE(seen.first(), QString("a>X@1"));
}

void TestEditorControl::defaultKeys_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QString>("after");
    const QString t = QStringLiteral("one two\r\nthree\r\nfour");
    QTest::newRow("Ctrl+Y deletes the line")
        << t << int(Qt::Key_Y) << int(Qt::ControlModifier) << "three\r\nfour";
    QTest::newRow("Ctrl+T deletes the word")
        << t << int(Qt::Key_T) << int(Qt::ControlModifier) << "two\r\nthree\r\nfour";
    QTest::newRow("Ctrl+D is not the control's duplicate")
        << t << int(Qt::Key_D) << int(Qt::ControlModifier) << t;
    QTest::newRow("Ctrl+L is not the control's line cut")
        << t << int(Qt::Key_L) << int(Qt::ControlModifier) << t;
    QTest::newRow("Ctrl+U is not the control's lower case")
        << t << int(Qt::Key_U) << int(Qt::ControlModifier) << t;
    QTest::newRow("Shift+Ctrl+U upper-cases the selection")
        << t << int(Qt::Key_U) << int(Qt::ControlModifier | Qt::ShiftModifier)
        << "ONE two\r\nthree\r\nfour";
    QTest::newRow("Enter breaks the line")
        << t << int(Qt::Key_Return) << 0 << "\r\none two\r\nthree\r\nfour";
    QTest::newRow("Delete") << t << int(Qt::Key_Delete) << 0 << "ne two\r\nthree\r\nfour";
}

void TestEditorControl::defaultKeys() {
    QFETCH(QString, text);
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(QString, after);
    ed->loadUtf8(text.toUtf8(), lbCRLF);
    ed->setCaretXY({1, 1});
    if (modifiers & Qt::ShiftModifier)
        ed->setSelection({1, 1}, {4, 1});
    ed->focusText();
    QTest::keyClick(ed->focusProxy(), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(ed->text(), after);
}

void TestEditorControl::lineBreakIndents() {
    ed->loadUtf8("    abc", lbLF);
    ed->setOptions(optionBit(eoAutoIndent));
    ed->setCaretXY({8, 1});
    ed->insertLineBreak();
    QCOMPARE(ed->text(), QString("    abc\n    "));
    QCOMPARE(ed->caretXY(), (TBufferCoord{5, 2}));
    QCOMPARE(ed->caretLineIndent(), 4);
    ed->setOptions(0);
    ed->setTabWidth(3);
    QCOMPARE(ed->caretLineIndent(), 3);
}

void TestEditorControl::wordsWithLatin1Letters() {
    ed->loadUtf8(QString::fromUtf8("<p>Grüße ÀÖØöøÿ_x, ok</p>").toUtf8(), lbLF);
    QCOMPARE(ed->wordAt({6, 1}), QString::fromUtf8("Grüße"));
    QCOMPARE(ed->wordAt({11, 1}), QString::fromUtf8("ÀÖØöøÿ_x"));
    ed->setCaretXY({9, 1}); // right after "Grüße"
    QCOMPARE(ed->wordAtCaret(), QString::fromUtf8("Grüße"));
    QCOMPARE(ed->wordStart({7, 1}), (TBufferCoord{4, 1}));
    QCOMPARE(ed->wordEnd({7, 1}), (TBufferCoord{9, 1}));
    QCOMPARE(ed->nextWordPos({4, 1}), (TBufferCoord{10, 1}));
    QCOMPARE(ed->wordAt({19, 1}), QString()); // on ", "
}

void TestEditorControl::setSelTextIsOneStep() {
    ed->loadUtf8("hello world", lbLF);
    ed->setSelection({7, 1}, {12, 1});
    ed->setSelText(QStringLiteral("<b>world</b>"));
    QCOMPARE(ed->text(), QString("hello <b>world</b>"));
    QCOMPARE(ed->caretXY(), (TBufferCoord{19, 1}));
    QVERIFY(ed->modified());
    ed->undo();
    QCOMPARE(ed->text(), QString("hello world"));
    QVERIFY(!ed->modified());
}

void TestEditorControl::highlighterAttributes() {
    ed->loadUtf8("<p class=\"a\">Text &amp; more</p><!-- note -->", lbLF);
    QVERIFY(ed->attributeNameAt({2, 1}).isEmpty()); // no highlighter yet
    auto html = THighlighter::create(hkHtml);
    ed->setHighlighter(html.get());
    QCOMPARE(ed->attributeNameAt({2, 1}), QString("Key"));
    QCOMPARE(ed->attributeNameAt({5, 1}), QString("Identifier"));
    QCOMPARE(ed->attributeNameAt({16, 1}), QString("Text"));
    QCOMPARE(ed->attributeNameAt({21, 1}), QString("Entity"));
    QCOMPARE(ed->attributeNameAt({36, 1}), QString("Comment"));
    QCOMPARE(ed->defaultAttributeName(akComment), QString("Comment"));
    QCOMPARE(ed->defaultAttributeName(akWhitespace), QString("Text"));
    QCOMPARE(ed->defaultAttributeName(akString), QString("Value"));
    ed->setHighlighterEnabled(false);
    QVERIFY(ed->attributeNameAt({2, 1}).isEmpty());
    auto css = THighlighter::create(hkCss);
    for (TAttrKind k : {akComment, akIdentifier, akKeyword, akString, akWhitespace, akSymbol})
        QVERIFY2(css->attributeNames().contains(css->defaultAttribute(k)),
                 qPrintable(QString::number(k)));
    ed->setHighlighter(nullptr);
}

QTEST_MAIN(TestEditorControl)
#include "tst_editorcontrol.moc"
