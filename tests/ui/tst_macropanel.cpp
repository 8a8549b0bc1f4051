#include "ScriptedDialogs.h"
#include "ScriptedElementDialogs.h"
#include "TestFiles.h"
#include "macros/ui/MacroPanel.h"
#include "textcontrol/ui/EditorControl.h"

#include <QAction>
#include <QListView>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <memory>

using namespace orvel;
using Kind = orvel::test::ScriptedElementDialogs::Kind;

namespace {

const QString kCaption = "Orvel (Version 1.2.3)";

// The main window as the panel sees it: scripted answers and one document editor.
class Host : public IMacroHost {
public:
    test::ScriptedDialogs script;
    test::ScriptedElementDialogs elements;
    TEditorControl* editor = nullptr;

    IDialogs& dialogs() override { return script; }
    bool inputName(const QString& caption, const QString& prompt, const QStringList& offers,
                   QPoint at, QString& name) override {
        QStringList shown = offers;
        TLineInput input;
        input.caption = caption;
        input.prompt = prompt;
        input.history = offers.isEmpty() ? nullptr : &shown;
        input.historySize = int(offers.size()) + 1;
        input.at = at;
        return elements.inputLine(input, name);
    }
    TEditorControl* activeEditor() override { return editor; }
    QString mainCaption() const override { return kCaption; }
    QStringList problems() const { return script.problems() + elements.problems(); }
};

// A document whose whole text is selected.
void selectAll(TEditorControl& ed, const QString& text, TLineBreak lb) {
    ed.loadUtf8(text.toUtf8(), lb);
    ed.selectAll();
}

} // namespace

class TestMacroPanel : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void newFromSelection_data();
    void newFromSelection();
    void newNeedsADocumentWithASelection();
    void newWithAKnownNameAsksToReplace_data();
    void newWithAKnownNameAsksToReplace();
    void blankNamesAreRefused();
    void insertUsesTheDocumentsLineBreaks_data();
    void insertUsesTheDocumentsLineBreaks();
    void doubleClickAndEnterInsert();
    void replaceTakesTheSelection();
    void replaceOnAnEmptyListIsNew();
    void deleteSelectsTheNextEntry();
    void upAndDownKeepTheSelection();
    void editStoresThePreviewText();
    void leavingThePreviewEndsEditing();
    void hidingThePanelEndsEditing();
    void restartKeepsTheMacros();

private:
    void fill(const QStringList& names);
    std::unique_ptr<Host> host;
    std::unique_ptr<TEditorControl> editor;
    std::unique_ptr<TMacroPanel> panel;
};

void TestMacroPanel::init() {
    host = std::make_unique<Host>();
    editor = std::make_unique<TEditorControl>();
    host->editor = editor.get();
    panel = std::make_unique<TMacroPanel>(*host);
}

void TestMacroPanel::cleanup() {
    panel.reset();
    const QStringList problems = host->problems();
    QVERIFY2(problems.isEmpty(), qPrintable(problems.join(u'\n')));
}

void TestMacroPanel::fill(const QStringList& names) {
    for (const QString& n : names)
        QVERIFY(panel->model()->add(n, n + " text").ok());
    panel->setCurrent(0);
}

void TestMacroPanel::newFromSelection_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("lineBreak");
    QTest::newRow("CR LF document") << "one\r\ntwo\r\nthree" << int(lbCRLF);
    QTest::newRow("LF document") << "one\ntwo\nthree" << int(lbLF);
    QTest::newRow("CR document") << "one\rtwo\rthree" << int(lbCR);
}

void TestMacroPanel::newFromSelection() {
    QFETCH(QString, text);
    QFETCH(int, lineBreak);
    fill({"zeta", "Alpha"});
    selectAll(*editor, text, TLineBreak(lineBreak));
    host->elements.expect(Kind::Text, {"  Three lines "});
    panel->macroNew();
    QCOMPARE(host->elements.shown, QStringList{"New text macro|Description:"});
    QCOMPARE(host->elements.offered.value(0), QStringList({"Alpha", "zeta"}));
    QCOMPARE(panel->model()->count(), 3);
    QCOMPARE(panel->current(), 2);
    QCOMPARE(panel->model()->at(2).name, QString("Three lines"));
    QCOMPARE(panel->model()->at(2).text.split(u'\n'), QStringList({"one", "two", "three"}));
    QCOMPARE(panel->preview()->toPlainText(), QString("one\ntwo\nthree"));
}

void TestMacroPanel::newNeedsADocumentWithASelection() {
    host->editor = nullptr;
    panel->macroNew();
    panel->macroReplace();
    panel->macroInsert();
    host->editor = editor.get();
    editor->loadUtf8("text", lbLF);
    panel->macroNew();
    panel->macroReplace();
    QCOMPARE(panel->model()->count(), 0); // and no question was asked
}

void TestMacroPanel::newWithAKnownNameAsksToReplace_data() {
    QTest::addColumn<int>("answer");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    QTest::newRow("yes") << int(mrYes) << "FOOTER"
                         << "new";
    QTest::newRow("no") << int(mrNo) << "Footer"
                        << "Footer text";
}

void TestMacroPanel::newWithAKnownNameAsksToReplace() {
    QFETCH(int, answer);
    QFETCH(QString, name);
    QFETCH(QString, text);
    fill({"Header", "Footer"});
    selectAll(*editor, "new", lbLF);
    host->elements.expect(Kind::Text, {"FOOTER"});
    host->script.expectAsk("Replace text macro \"FOOTER\"?", TMsgResult(answer));
    panel->macroNew();
    QVERIFY(host->script.shown.value(0).startsWith(kCaption + u'|'));
    QCOMPARE(panel->model()->count(), 2);
    QCOMPARE(panel->current(), 1);
    QCOMPARE(panel->model()->at(1).name, name);
    QCOMPARE(panel->model()->at(1).text, text);
    QCOMPARE(panel->preview()->toPlainText(), text);
}

void TestMacroPanel::blankNamesAreRefused() {
    fill({"keep"});
    selectAll(*editor, "x", lbLF);
    host->elements.expect(Kind::Text, {"   "});
    host->script.expectError("description");
    panel->macroNew();
    QCOMPARE(panel->model()->count(), 1);
    host->elements.expect(Kind::Text, {""});
    host->script.expectError("description");
    panel->macroRename();
    QCOMPARE(host->elements.given.value(1), QString("keep")); // preset with the name
    QCOMPARE(panel->model()->at(0).name, QString("keep"));
    host->elements.expect(Kind::Text, {" kept "});
    panel->macroRename();
    QCOMPARE(host->elements.shown.value(2), QString("Rename text macro|New description:"));
    QCOMPARE(panel->model()->at(0).name, QString("kept"));
}

void TestMacroPanel::insertUsesTheDocumentsLineBreaks_data() {
    QTest::addColumn<int>("lineBreak");
    QTest::addColumn<QString>("expected");
    QTest::newRow("CR LF") << int(lbCRLF) << "<«a\r\n\tb\r\n»>";
    QTest::newRow("LF") << int(lbLF) << "<«a\n\tb\n»>";
    QTest::newRow("CR") << int(lbCR) << "<«a\r\tb\r»>";
}

void TestMacroPanel::insertUsesTheDocumentsLineBreaks() {
    QFETCH(int, lineBreak);
    QFETCH(QString, expected);
    QVERIFY(panel->model()->add("m", "a\n\tb\n").ok());
    panel->setCurrent(0);
    editor->loadUtf8("<sel>", TLineBreak(lineBreak));
    editor->setSelection({2, 1}, {5, 1});
    panel->macroInsert();
    QCOMPARE(editor->text(), QString(expected).remove(u'«').remove(u'»'));
    // One undoable step gives the selection's text back.
    editor->undo();
    QCOMPARE(editor->text(), QString("<sel>"));
}

void TestMacroPanel::doubleClickAndEnterInsert() {
    fill({"first", "second"});
    editor->loadUtf8("", lbLF);
    panel->show();
    QListView* list = panel->listView();
    const QRect second = list->visualRect(panel->model()->index(1));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, second.center());
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, second.center());
    QCOMPARE(editor->text(), QString("second text"));
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Up);
    QTest::keyClick(list, Qt::Key_Return);
    QCOMPARE(editor->text(), QString("second textfirst text"));
}

void TestMacroPanel::replaceTakesTheSelection() {
    fill({"a", "b"});
    panel->setCurrent(1);
    selectAll(*editor, "x\r\ny", lbCRLF);
    host->script.expectAsk("Replace text macro \"b\"?", mrNo);
    panel->macroReplace();
    QCOMPARE(panel->model()->at(1).text, QString("b text"));
    host->script.expectAsk("Replace text macro \"b\"?", mrYes);
    panel->macroReplace();
    QCOMPARE(panel->model()->at(1).name, QString("b"));
    QCOMPARE(panel->model()->at(1).text, QString("x\ny"));
    QCOMPARE(panel->preview()->toPlainText(), QString("x\ny"));
}

void TestMacroPanel::replaceOnAnEmptyListIsNew() {
    selectAll(*editor, "text", lbLF);
    host->elements.expect(Kind::Text, {"first"});
    panel->macroReplace();
    QCOMPARE(host->elements.shown, QStringList{"New text macro|Description:"});
    QCOMPARE(panel->model()->names(), QStringList{"first"});
}

void TestMacroPanel::deleteSelectsTheNextEntry() {
    fill({"a", "b", "c"});
    panel->setCurrent(1);
    host->script.expectAsk("Delete text macro \"b\"?", mrNo);
    panel->macroDelete();
    QCOMPARE(panel->model()->count(), 3);
    host->script.expectAsk("Delete text macro \"b\"?", mrYes);
    panel->macroDelete();
    QCOMPARE(panel->model()->names(), QStringList({"a", "c"}));
    QCOMPARE(panel->current(), 1);
    QCOMPARE(panel->preview()->toPlainText(), QString("c text"));
    host->script.expectAsk("Delete text macro \"c\"?", mrYes);
    panel->macroDelete();
    QCOMPARE(panel->current(), 0); // the new last one
    host->script.expectAsk("Delete text macro \"a\"?", mrYes);
    panel->macroDelete();
    QCOMPARE(panel->current(), -1);
    QVERIFY(panel->preview()->toPlainText().isEmpty());
    panel->macroDelete(); // nothing left: no question
    panel->macroRename();
}

void TestMacroPanel::upAndDownKeepTheSelection() {
    fill({"a", "b", "c"});
    panel->macroUp(); // at the top already
    QCOMPARE(panel->model()->names(), QStringList({"a", "b", "c"}));
    panel->macroDown();
    panel->macroDown();
    QCOMPARE(panel->model()->names(), QStringList({"b", "c", "a"}));
    QCOMPARE(panel->current(), 2);
    panel->macroDown();
    QCOMPARE(panel->current(), 2);
    panel->macroUp();
    QCOMPARE(panel->model()->names(), QStringList({"b", "a", "c"}));
    QCOMPARE(panel->current(), 1);
    QCOMPARE(panel->preview()->toPlainText(), QString("a text"));
}

void TestMacroPanel::editStoresThePreviewText() {
    QAction edit;
    TMacroActions actions;
    actions.edit = &edit;
    panel->setActions(actions);
    QVERIFY(edit.isCheckable());
    QVERIFY(panel->toolBar()->actions().contains(&edit));
    fill({"a"});
    QVERIFY(panel->preview()->isReadOnly());
    edit.trigger();
    panel->macroEdit();
    QVERIFY(panel->isEditing());
    QVERIFY(!panel->preview()->isReadOnly());
    panel->preview()->setPlainText("changed\nover two lines");
    edit.trigger();
    panel->macroEdit();
    QVERIFY(panel->preview()->isReadOnly());
    QCOMPARE(panel->model()->at(0).text, QString("changed\nover two lines"));
    QVERIFY(panel->model()->isModified());
}

void TestMacroPanel::leavingThePreviewEndsEditing() {
    QAction edit;
    TMacroActions actions;
    actions.edit = &edit;
    panel->setActions(actions);
    fill({"a", "b"});
    panel->show();
    panel->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(panel.get()));
    edit.setChecked(true);
    panel->macroEdit();
    QCOMPARE(QApplication::focusWidget(), panel->preview());
    panel->preview()->setPlainText("typed");
    panel->listView()->setFocus(Qt::MouseFocusReason);
    QVERIFY(!panel->isEditing());
    QVERIFY(!edit.isChecked());
    QVERIFY(panel->preview()->isReadOnly());
    QCOMPARE(panel->model()->at(0).text, QString("typed"));
}

void TestMacroPanel::hidingThePanelEndsEditing() {
    QAction edit;
    TMacroActions actions;
    actions.edit = &edit;
    panel->setActions(actions);
    fill({"a"});
    edit.setChecked(true);
    panel->macroEdit();
    panel->preview()->setPlainText("kept");
    panel->setPanelShown(false);
    QVERIFY(!edit.isChecked());
    QVERIFY(panel->preview()->isReadOnly());
    QCOMPARE(panel->model()->at(0).text, QString("kept"));
}

void TestMacroPanel::restartKeepsTheMacros() {
    QTemporaryDir dir;
    const QString file = dir.filePath("orvel.mac");
    fill({"css", "perl"});
    QVERIFY(panel->model()->add("body", "#main {\n\tcolor: red;\n}\n").ok());
    QAction edit;
    TMacroActions actions;
    actions.edit = &edit;
    panel->setActions(actions);
    panel->setCurrent(2);
    edit.setChecked(true);
    panel->macroEdit();
    panel->preview()->setPlainText("#main {\n\tcolor: blue;\n}\n"); // still being edited
    QVERIFY(panel->save(file).ok());
    TMacroPanel again(*host);
    QVERIFY(again.load(file).ok());
    QCOMPARE(again.model()->macros(), panel->model()->macros());
    QCOMPARE(again.model()->at(2).text, QString("#main {\n\tcolor: blue;\n}\n"));
    QCOMPARE(again.current(), 0);
    QCOMPARE(again.preview()->toPlainText(), QString("css text"));
    // Unchanged, the file is left as it is.
    const QByteArray bytes = test::readAll(file);
    test::writeAll(file, bytes + "stray\r\n");
    QVERIFY(again.save(file).ok());
    QCOMPARE(test::readAll(file), bytes + "stray\r\n");
}

QTEST_MAIN(TestMacroPanel)
#include "tst_macropanel.moc"
