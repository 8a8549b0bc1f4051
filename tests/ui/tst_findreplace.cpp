#include "ScriptedDialogs.h"
#include "ScriptedElementDialogs.h"
#include "TestDocument.h"
#include "base/core/IniFileUtils.h"
#include "editor/ui/OrvelMDI.h"
#include "search/ui/FindReplDlg.h"
#include "textcontrol/ui/EditorControl.h"

#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

using namespace orvel;

Q_DECLARE_METATYPE(orvel::TBufferCoord)

namespace {

class Host : public test::TestDocumentContext {
public:
    std::unique_ptr<TFindReplDialog> find;
    TFindReplDialog* findDialog() override { return find.get(); }
};

// The text with the selection in «» or the caret as ^.
QString marked(const TEditorControl& ed) {
    const QString t = ed.text();
    const auto indexOf = [&t](TBufferCoord c) {
        qsizetype i = 0;
        for (int line = 1; line < c.Line; ++line) {
            while (i < t.size() && t.at(i) != u'\r' && t.at(i) != u'\n')
                ++i;
            if (i + 1 < t.size() && t.at(i) == u'\r' && t.at(i + 1) == u'\n')
                ++i;
            ++i;
        }
        return i + c.Char - 1;
    };
    QString out = t;
    if (ed.hasSelection()) {
        out.insert(indexOf(ed.blockEnd()), u'»');
        out.insert(indexOf(ed.blockBegin()), u'«');
    } else {
        out.insert(indexOf(ed.caretXY()), u'^');
    }
    return out;
}

// Puts «» or ^ from a marked text into the editor (breaks as written).
void load(TEditorControl& ed, QString text) {
    const qsizetype a = text.indexOf(u'«');
    const qsizetype caret = text.indexOf(u'^');
    text.remove(u'«');
    text.remove(u'^');
    const qsizetype b = text.indexOf(u'»');
    text.remove(u'»');
    ed.loadUtf8(text.toUtf8(), text.contains(QStringLiteral("\r\n")) ? lbCRLF
                               : text.contains(u'\n')                ? lbLF
                                                                     : lbCRLF);
    const auto coord = [&text](qsizetype index) {
        TBufferCoord c;
        for (qsizetype i = 0; i < index; ++i) {
            if (text.at(i) == u'\n' ||
                (text.at(i) == u'\r' && (i + 1 == text.size() || text.at(i + 1) != u'\n'))) {
                ++c.Line;
                c.Char = 1;
            } else if (text.at(i) != u'\r') {
                ++c.Char;
            }
        }
        return c;
    };
    if (a >= 0)
        ed.setSelection(coord(a), coord(b));
    else
        ed.setCaretXY(coord(qMax<qsizetype>(0, caret)));
}

// Clicks a check box or radio button on its box: the widget may be wider than its label.
void tick(QAbstractButton* b) {
    QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(6, b->height() / 2));
}

template <class T> T* child(QObject* parent, const char* name) {
    T* w = parent->findChild<T*>(QString::fromLatin1(name));
    if (!w)
        qFatal("no %s", name);
    return w;
}

} // namespace

class TestFindReplace : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void openingTakesSelectionOrWord_data();
    void openingTakesSelectionOrWord();
    void findSteps_data();
    void findSteps();
    void replaceSteps_data();
    void replaceSteps();
    void replaceAllIsOneStep();
    void f3ReplacesAfterReplaceDialog();
    void selectedTextStaysTheScope_data();
    void selectedTextStaysTheScope();
    void multiLineSearch_data();
    void multiLineSearch();
    void activationPointsTheDialog();
    void confirmationBelowTheMatch();
    void dialogReplaceYesNoAll();
    void dialogFromBeginning();
    void dialogHistoryAndClose();
    void settingsRoundTrip();
    void settingsSavedByTheOwnerAndFailureReported();

private:
    TMDIForm& form();
    TFindReplDialog& dlg() { return *host->find; }
    void press(const char* button) {
        QTest::mouseClick(child<QPushButton>(host->find.get(), button), Qt::LeftButton);
    }
    void run(cmd::TDocCommandId id) {
        QAction* a = commands->action(id);
        QVERIFY2(a->isEnabled(), qPrintable(a->objectName()));
        a->trigger();
    }
    std::unique_ptr<Host> host;
    std::unique_ptr<test::TestCommands> commands;
    std::unique_ptr<TMDIForm> m_form;
};

void TestFindReplace::init() {
    host = std::make_unique<Host>();
    host->find = std::make_unique<TFindReplDialog>(nullptr, &host->script);
    commands = std::make_unique<test::TestCommands>(*host);
}

void TestFindReplace::cleanup() {
    const QStringList problems = host->script.problems();
    m_form.reset();
    commands.reset();
    host->find.reset();
    host.reset();
    QVERIFY2(problems.isEmpty(), qPrintable(problems.join(u'\n')));
}

TMDIForm& TestFindReplace::form() {
    if (!m_form) {
        m_form = std::make_unique<TMDIForm>(*host, ftText, 1);
        m_form->resize(700, 400);
        m_form->show();
        commands->attach(*m_form);
    }
    return *m_form;
}

void TestFindReplace::openingTakesSelectionOrWord_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("replace");
    QTest::addColumn<QString>("findText");
    QTest::newRow("word at the caret") << "one tw^o three" << false << "two";
    QTest::newRow("outside any word: box emptied") << "one   ^   two" << false << "";
    QTest::newRow("selection") << "one «two thr»ee" << true << "two thr";
    QTest::newRow("several lines unchanged") << "<ul>\r\n  «<li>a</li>\r\n  <li>b</li>»\r\n</ul>"
                                             << false << "<li>a</li>\r\n  <li>b</li>";
}

void TestFindReplace::openingTakesSelectionOrWord() {
    QFETCH(QString, text);
    QFETCH(bool, replace);
    QFETCH(QString, findText);
    load(*form().TextBuffer(), text);
    dlg().setFindText("earlier");
    QVERIFY(!commands->action(cmd::ActionFindNext)->isEnabled());
    QVERIFY(!commands->action(cmd::ActionFindPrev)->isEnabled());
    QSignalSpy started(&form(), &TMDIForm::findStarted);
    run(replace ? cmd::ActionReplace : cmd::ActionFind);
    QVERIFY(dlg().isVisible());
    QCOMPARE(dlg().FindText(), findText);
    QCOMPARE(dlg().windowTitle(), replace ? QString("Replace text") : QString("Search for text"));
    QCOMPARE(child<QComboBox>(&dlg(), "cbxReplace")->isVisibleTo(&dlg()), replace);
    QCOMPARE(child<QPushButton>(&dlg(), "btnReplAll")->isVisibleTo(&dlg()), replace);
    QCOMPARE(child<QPushButton>(&dlg(), "btnSearch")->text(),
             replace ? QString("&Replace") : QString("&Search"));
    for (const char* b : {"btnSearch", "btnRepeat", "btnReplAll"})
        QCOMPARE(child<QPushButton>(&dlg(), b)->isEnabled(), !findText.isEmpty());
    QCOMPARE(bool(dlg().Options() & ssoReplace), replace);
    QCOMPARE(started.size(), 1); // the window tells the shell to show it

    QVERIFY(commands->action(cmd::ActionFindNext)->isEnabled());
    QVERIFY(commands->action(cmd::ActionFindPrev)->isEnabled());
}

// Find steps: "F3", "Shift+F3" or "dialog" (as set), with the restart question answered.
void TestFindReplace::findSteps_data() {
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("search");
    QTest::addColumn<int>("options");
    QTest::addColumn<QString>("step");
    QTest::addColumn<int>("restart"); // answer to the restart question; mrNone: not asked
    QTest::addColumn<QString>("after");
    const QString t = QStringLiteral("cat Cat\r\ncatalog cat");
    QTest::newRow("F3 right after a match skips it")
        << "cat «Cat»\r\ncatalog cat"
        << "cat" << 0 << "F3" << int(mrNone) << "cat Cat\r\n«cat»alog cat";
    QTest::newRow("F3 from the caret")
        << "c^at Cat\r\ncatalog cat"
        << "cat" << 0 << "F3" << int(mrNone) << "cat «Cat»\r\ncatalog cat";
    QTest::newRow("Shift+F3 goes back from the selection start")
        << "cat Cat\r\n«cat»alog cat"
        << "cat" << int(ssoBackwards) << "Shift+F3" << int(mrNone) << "cat «Cat»\r\ncatalog cat";
    QTest::newRow("Shift+F3 backwards although the dialog says forward")
        << "cat Cat\r\ncatalog «cat»"
        << "cat" << 0 << "Shift+F3" << int(mrNone) << "cat Cat\r\n«cat»alog cat";
    QTest::newRow("F3 forwards although the dialog says backward")
        << "«cat» Cat\r\ncatalog cat"
        << "cat" << int(ssoBackwards) << "F3" << int(mrNone) << "cat «Cat»\r\ncatalog cat";
    QTest::newRow("match case") << "^cat Cat\r\ncatalog cat"
                                << "Cat" << int(ssoMatchCase) << "F3" << int(mrNone)
                                << "cat «Cat»\r\ncatalog cat";
    QTest::newRow("whole words") << "cat «Cat»\r\ncatalog cat"
                                 << "cat" << int(ssoWholeWord) << "F3" << int(mrNone)
                                 << "cat Cat\r\ncatalog «cat»";
    QTest::newRow("not found: restart from the beginning")
        << "cat Cat\r\ncatalog «cat»"
        << "cat" << 0 << "F3" << int(mrYes) << "«cat» Cat\r\ncatalog cat";
    QTest::newRow("not found backwards: restart from the end")
        << "«cat» Cat\r\ncatalog cat"
        << "cat" << 0 << "Shift+F3" << int(mrYes) << "cat Cat\r\ncatalog «cat»";
    QTest::newRow("restart declined leaves the caret")
        << "cat Cat\r\ncatalog «cat»"
        << "cat" << 0 << "F3" << int(mrNo) << "cat Cat\r\ncatalog cat^";
    QTest::newRow("as set, from the beginning")
        << "cat Cat\r\ncatalog ^cat"
        << "cat" << int(ssoEntireScope) << "dialog" << int(mrNone) << "«cat» Cat\r\ncatalog cat";
    QTest::newRow("as set, backwards")
        << "cat Cat\r\ncatalog ^cat"
        << "cat" << int(ssoBackwards) << "dialog" << int(mrNone) << "cat Cat\r\n«cat»alog cat";
}

void TestFindReplace::findSteps() {
    QFETCH(QString, before);
    QFETCH(QString, search);
    QFETCH(int, options);
    QFETCH(QString, step);
    QFETCH(int, restart);
    QFETCH(QString, after);
    load(*form().TextBuffer(), before);
    dlg().setFindText(search);
    dlg().setOptions(options);
    commands->attach(form());
    const QString question = QStringLiteral("\"%1\" not found!\r\nRestart search from the %2")
                                 .arg(search, step == "Shift+F3" ? "end" : "beginning");
    if (restart != mrNone)
        host->script.expectAsk(question, TMsgResult(restart));
    if (step == "F3")
        run(cmd::ActionFindNext);
    else if (step == "Shift+F3")
        run(cmd::ActionFindPrev);
    else
        form().FindStep(TMDIForm::TFindMode::AsSet);
    QCOMPARE(marked(*form().TextBuffer()), after);
    QCOMPARE(host->script.beeps, restart == mrNone ? 0 : 1);
}

// A replace step as the dialog's "&Replace" runs it, with the confirmations answered.
void TestFindReplace::replaceSteps_data() {
    QTest::addColumn<QString>("before");
    QTest::addColumn<int>("options");
    QTest::addColumn<QList<int>>("answers");
    QTest::addColumn<QString>("after");
    const int one = ssoReplace | ssoPrompt;
    QTest::newRow("yes") << "^a a a a" << one << QList<int>{raReplace} << "X^ a a a";
    QTest::newRow("no moves on to the next match")
        << "^a a a a" << one << QList<int>{raSkip, raSkip, raReplace} << "a a X^ a";
    QTest::newRow("all replaces the rest without asking")
        << "a ^a a a" << one << QList<int>{raSkip, raReplaceAll} << "a a X X^";
    QTest::newRow("cancel stops") << "^a a a a" << one << QList<int>{raSkip, raCancel}
                                  << "a «a» a a";
    QTest::newRow("from the beginning, no goes on from the match")
        << "a a ^a a" << (one | ssoEntireScope) << QList<int>{raSkip, raReplace} << "a X^ a a";
    QTest::newRow("backwards from the beginning (end), no goes on backwards")
        << "a ^a a a" << (one | ssoEntireScope | ssoBackwards)
        << QList<int>{raSkip, raSkip, raReplace} << "a ^X a a";
    QTest::newRow("backwards, no offers the match before")
        << "a a a^ a" << (one | ssoBackwards) << QList<int>{raSkip, raReplace} << "a ^X a a";
    QTest::newRow("without confirmation") << "^a a" << int(ssoReplace) << QList<int>{} << "X^ a";
}

void TestFindReplace::replaceSteps() {
    QFETCH(QString, before);
    QFETCH(int, options);
    QFETCH(QList<int>, answers);
    QFETCH(QString, after);
    load(*form().TextBuffer(), before);
    dlg().setFindText("a");
    dlg().setReplaceText("X");
    dlg().setOptions(options);
    for (int a : answers)
        host->script.expectReplace("Replace this match of \"a\"\r\nby \"X\"?", TReplaceAction(a));
    form().ReplaceStep(TMDIForm::TFindMode::AsSet);
    QCOMPARE(marked(*form().TextBuffer()), after);
}

void TestFindReplace::replaceAllIsOneStep() {
    TEditorControl& ed = *form().TextBuffer();
    load(ed, "^x ab x ab");
    dlg().setFindText("ab");
    dlg().setReplaceText("abab"); // holds the search text: one pass, no endless loop
    dlg().setOptions(ssoReplace | ssoReplaceAll);
    form().ReplaceStep(TMDIForm::TFindMode::AsSet);
    QCOMPARE(ed.text(), QString("x abab x abab"));
    ed.undo();
    QCOMPARE(ed.text(), QString("x ab x ab"));
    QVERIFY(!ed.canUndo());

    // Nothing found: a beep and the error.
    dlg().setFindText("zz");
    host->script.expectError("\"zz\" not found!");
    form().ReplaceStep(TMDIForm::TFindMode::AsSet);
    QCOMPARE(host->script.beeps, 1);
}

void TestFindReplace::f3ReplacesAfterReplaceDialog() {
    load(*form().TextBuffer(), "o^ne two one two one");
    run(cmd::ActionReplace);
    dlg().setReplaceText("1");
    QVERIFY(dlg().Options() & ssoReplace);
    host->script.expectReplace("\"one\"\r\nby \"1\"", raReplace);
    run(cmd::ActionFindNext);
    QCOMPARE(marked(*form().TextBuffer()), QString("one two 1^ two one"));
    // Shift+F3 replaces backwards.
    host->script.expectReplace("\"one\"", raReplace);
    run(cmd::ActionFindPrev);
    QCOMPARE(marked(*form().TextBuffer()), QString("^1 two 1 two one"));
    // The find dialog turns F3 back into finding.
    run(cmd::ActionFind);
    QVERIFY(!(dlg().Options() & ssoReplace));
    dlg().setFindText("two");
    run(cmd::ActionFindNext);
    QCOMPARE(marked(*form().TextBuffer()), QString("1 «two» 1 two one"));
}

// "Selected text": later steps keep to the range selected when the search began.
void TestFindReplace::selectedTextStaysTheScope_data() {
    QTest::addColumn<QString>("before");
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QString>("after");
    const QString t = QStringLiteral("cat «cat cat\r\ncat» cat");
    QTest::newRow("F3 after F3") << t << QStringList{"dialog", "F3", "F3"}
                                 << "cat cat cat\r\n«cat» cat";
    QTest::newRow("F3 past the end asks, restarts in the range")
        << t << QStringList{"dialog", "F3", "F3", "F3:yes"} << "cat «cat» cat\r\ncat cat";
    QTest::newRow("Shift+F3 stays in the range")
        << t << QStringList{"dialog", "Shift+F3:no"} << "cat ^cat cat\r\ncat cat";
    QTest::newRow("Shift+F3 with a fresh selection starts at its end")
        << t << QStringList{"Shift+F3"} << "cat cat cat\r\n«cat» cat";
    QTest::newRow("F3 with a fresh selection starts at its beginning")
        << t << QStringList{"F3"} << "cat «cat» cat\r\ncat cat";
    QTest::newRow("replace all in the range")
        << t << QStringList{"all"} << "cat dog dog\r\ndog^ cat";
    QTest::newRow("replacing keeps the range")
        << t << QStringList{"replace", "replace", "replace", "replace:none"}
        << "cat dog dog\r\ndog^ cat";
}

void TestFindReplace::selectedTextStaysTheScope() {
    QFETCH(QString, before);
    QFETCH(QStringList, steps);
    QFETCH(QString, after);
    load(*form().TextBuffer(), before);
    dlg().setFindText("cat");
    dlg().setReplaceText("dog");
    dlg().setOptions(ssoSelectedOnly);
    commands->attach(form());
    const QString notFound = QStringLiteral("\"cat\" not found!");
    for (const QString& step : steps) {
        const QString answer = step.section(u':', 1);
        if (answer == "yes" || answer == "no")
            host->script.expectAsk(notFound, answer == "yes" ? mrYes : mrNo);
        if (answer == "none")
            host->script.expectError(notFound);
        const QString what = step.section(u':', 0, 0);
        if (what == "dialog") {
            form().FindStep(TMDIForm::TFindMode::AsSet);
        } else if (what == "F3") {
            run(cmd::ActionFindNext);
        } else if (what == "Shift+F3") {
            run(cmd::ActionFindPrev);
        } else {
            dlg().setOptions(ssoSelectedOnly | ssoReplace |
                             (what == "all" ? int(ssoReplaceAll) : 0));
            form().ReplaceStep(TMDIForm::TFindMode::AsSet);
            dlg().setOptions(ssoSelectedOnly);
        }
    }
    QCOMPARE(marked(*form().TextBuffer()), after);
}

// Line breaks in the search text match the document's, however they were typed.
void TestFindReplace::multiLineSearch_data() {
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("search");
    QTest::addColumn<QString>("replace");
    QTest::addColumn<QString>("after");
    QTest::newRow("CR LF document, CR LF text") << "^x\r\n<b>\r\n</b>\r\n"
                                                << "<b>\r\n</b>"
                                                << ""
                                                << "x\r\n«<b>\r\n</b>»\r\n";
    QTest::newRow("CR LF document, LF text") << "^x\r\n<b>\r\n</b>\r\n"
                                             << "<b>\n</b>"
                                             << ""
                                             << "x\r\n«<b>\r\n</b>»\r\n";
    QTest::newRow("LF document, CR LF text") << "^x\n<b>\n</b>\n"
                                             << "<b>\r\n</b>"
                                             << ""
                                             << "x\n«<b>\n</b>»\n";
    QTest::newRow("replacement gets the document's breaks") << "^x\r\n<b>\r\n</b>\r\n"
                                                            << "<b>\n</b>"
                                                            << "<i>\n</i>"
                                                            << "x\r\n<i>\r\n</i>^\r\n";
}

void TestFindReplace::multiLineSearch() {
    QFETCH(QString, before);
    QFETCH(QString, search);
    QFETCH(QString, replace);
    QFETCH(QString, after);
    load(*form().TextBuffer(), before);
    dlg().setFindText(search);
    QCOMPARE(dlg().FindText(), search); // the box keeps the breaks
    dlg().setReplaceText(replace);
    dlg().setOptions(replace.isEmpty() ? 0 : int(ssoReplace));
    commands->attach(form());
    run(cmd::ActionFindNext);
    QCOMPARE(marked(*form().TextBuffer()), after);
}

void TestFindReplace::activationPointsTheDialog() {
    TMDIForm& a = form();
    load(*a.TextBuffer(), "^one");
    TMDIForm b(*host, ftText, 2);
    load(*b.TextBuffer(), "^two one");
    run(cmd::ActionFind);
    // While the dialog is visible, activating another window points it there.
    commands->attach(b);
    QVERIFY(commands->action(cmd::ActionFindNext)->isEnabled());
    dlg().OnFind(&dlg());
    QCOMPARE(marked(*b.TextBuffer()), QString("two «one»"));
    QCOMPARE(marked(*a.TextBuffer()), QString("^one"));
    // An empty search text disables F3 and Shift+F3 on activation.
    dlg().setFindText("");
    commands->attach(b);
    QVERIFY(!commands->action(cmd::ActionFindNext)->isEnabled());
    QVERIFY(!commands->action(cmd::ActionFindPrev)->isEnabled());
    // The hidden dialog keeps its window.
    dlg().setFindText("one");
    dlg().hide();
    commands->attach(a);
    QVERIFY(commands->action(cmd::ActionFindNext)->isEnabled());
    load(*b.TextBuffer(), "^two one");
    dlg().OnFind(&dlg());
    QCOMPARE(marked(*b.TextBuffer()), QString("two «one»"));
    QCOMPARE(marked(*a.TextBuffer()), QString("^one"));
    // A window closed after it was activated is not called.
    dlg().show();
    auto* c = new TMDIForm(*host, ftText, 3);
    c->findActivated();
    delete c;
    dlg().OnFind(&dlg());
    dlg().OnReplace(&dlg());
}

void TestFindReplace::confirmationBelowTheMatch() {
    TEditorControl& ed = *form().TextBuffer();
    load(ed, "^first\r\n    abc\r\nlast abc");
    dlg().setFindText("abc");
    dlg().setReplaceText("x");
    dlg().setOptions(ssoReplace | ssoPrompt);
    host->script.expectReplace("abc", raSkip).expectReplace("abc", raCancel);
    form().ReplaceStep(TMDIForm::TFindMode::AsSet);
    QCOMPARE(host->script.replacePoints.size(), 2);
    const QPoint first = ed.mapToGlobal(ed.rowColumnToPixels({5, 2}));
    const QPoint below = ed.mapToGlobal(ed.rowColumnToPixels({1, 3}));
    QCOMPARE(host->script.replacePoints.at(0), QPoint(first.x(), below.y()));
    // On the last line the point still goes below it.
    const QPoint last = ed.mapToGlobal(ed.rowColumnToPixels({6, 3}));
    QCOMPARE(host->script.replacePoints.at(1).x(), last.x());
    QVERIFY(host->script.replacePoints.at(1).y() > last.y());
}

// The real dialog, driven by keyboard and mouse: replace with confirmation answering Yes,
// then No and All.
void TestFindReplace::dialogReplaceYesNoAll() {
    TEditorControl& ed = *form().TextBuffer();
    load(ed, "^ <b> <b> <b> <b>");
    run(cmd::ActionReplace);
    QVERIFY(dlg().isVisible());
    auto* search = child<QComboBox>(&dlg(), "cbxSearch");
    auto* replacement = child<QComboBox>(&dlg(), "cbxReplace");
    QVERIFY(search->currentText().isEmpty()); // the caret was before a blank
    QVERIFY(!child<QPushButton>(&dlg(), "btnSearch")->isEnabled());
    QTest::keyClicks(search->lineEdit(), "<B>");
    QVERIFY(child<QPushButton>(&dlg(), "btnSearch")->isEnabled());
    QTest::keyClicks(replacement->lineEdit(), "<strong>");
    tick(child<QCheckBox>(&dlg(), "cbAutoclose"));
    QVERIFY(child<QCheckBox>(&dlg(), "cbConfirm")->isChecked());

    const QString prompt = QStringLiteral("Replace this match of \"<B>\"\r\nby \"<strong>\"?");
    host->script.expectReplace(prompt, raReplace);
    press("btnSearch");
    QCOMPARE(ed.text(), QString(" <strong> <b> <b> <b>"));
    host->script.expectReplace(prompt, raSkip).expectReplace(prompt, raReplaceAll);
    press("btnSearch");
    QCOMPARE(ed.text(), QString(" <strong> <b> <strong> <strong>"));
    QVERIFY(dlg().isVisible()); // "Keep this window opened"
    QCOMPARE(dlg().findHistory(), QStringList{"<B>"});
    QCOMPARE(dlg().replaceHistory(), QStringList{"<strong>"});

    // Case sensitive now: "<B>" is nowhere.
    tick(child<QCheckBox>(&dlg(), "cbCase"));
    QVERIFY(dlg().Options() & ssoMatchCase);
    host->script.expectError("\"<B>\" not found!");
    press("btnReplAll");
    QCOMPARE(ed.text(), QString(" <strong> <b> <strong> <strong>"));
}

// "from beginning" in find mode: each "&Search" starts at the top, "&Continue" goes on.
void TestFindReplace::dialogFromBeginning() {
    TEditorControl& ed = *form().TextBuffer();
    load(ed, "ab ab ab ^ab");
    run(cmd::ActionFind);
    auto* cont = child<QPushButton>(&dlg(), "btnRepeat");
    QVERIFY(!cont->isVisibleTo(&dlg()));
    tick(child<QRadioButton>(&dlg(), "rgpStart1"));
    tick(child<QCheckBox>(&dlg(), "cbAutoclose"));
    press("btnSearch");
    QCOMPARE(marked(ed), QString("«ab» ab ab ab"));
    QVERIFY(cont->isVisibleTo(&dlg()));
    press("btnRepeat");
    press("btnRepeat");
    QCOMPARE(marked(ed), QString("ab ab «ab» ab"));
    press("btnSearch");
    QCOMPARE(marked(ed), QString("«ab» ab ab ab"));
    // F3 goes on from the match.
    run(cmd::ActionFindNext);
    QCOMPARE(marked(ed), QString("ab «ab» ab ab"));
    // "from cursor" hides "&Continue" again.
    tick(child<QRadioButton>(&dlg(), "rgpStart0"));
    QVERIFY(!cont->isVisibleTo(&dlg()));
    QVERIFY(!(dlg().Options() & ssoEntireScope));
}

void TestFindReplace::dialogHistoryAndClose() {
    load(*form().TextBuffer(), "^a");
    run(cmd::ActionReplace);
    auto* search = child<QComboBox>(&dlg(), "cbxSearch");
    for (int i = 0; i < 21; ++i) {
        dlg().setFindText(QStringLiteral("text%1").arg(i));
        host->script.expectError("not found");
        press("btnReplAll");
        QVERIFY(!dlg().isVisible()); // closes unless kept open
        QVERIFY(dlg().Options() & ssoReplaceAll);
        dlg().Execute(true);
    }
    QCOMPARE(dlg().findHistory().size(), 20);
    QCOMPARE(dlg().findHistory().first(), QString("text20"));
    QCOMPARE(dlg().findHistory().last(), QString("text1"));
    QCOMPARE(search->count(), 20);
    QCOMPARE(search->currentText(), QString("text20")); // refilling kept the typed text
    // Present in another case: unchanged.
    dlg().setFindText("TEXT5");
    host->script.expectError("not found");
    press("btnReplAll");
    QCOMPARE(dlg().findHistory().first(), QString("text20"));
    QCOMPARE(dlg().findHistory().at(15), QString("text5"));
    // Esc (as "Close") drops "Replace all".
    dlg().Execute(true);
    tick(child<QCheckBox>(&dlg(), "cbAutoclose"));
    host->script.expectError("not found");
    press("btnReplAll");
    QVERIFY(dlg().isVisible());
    QVERIFY(dlg().Options() & ssoReplaceAll);
    QTest::keyClick(&dlg(), Qt::Key_Escape);
    QVERIFY(!dlg().isVisible());
    QVERIFY(!(dlg().Options() & ssoReplaceAll));
}

void TestFindReplace::settingsRoundTrip() {
    QTemporaryDir dir;
    const QString name = dir.filePath("orvel.ini");
    {
        TUnicodeIniFile ini = TUnicodeIniFile::CreateForWrite(name);
        ini.WriteString("Find", "Text0", "first");
        ini.WriteString("Find", "Text1", "second");
        ini.WriteString("Replace", "Text0", "by");
        ini.WriteInteger("FindReplaceDialog", "Left", 120);
        ini.WriteInteger("FindReplaceDialog", "Top", 80);
        ini.WriteBool("FindReplaceDialog", "AutoClose", true);
        ini.WriteString("Config", "Other", "kept");
        QVERIFY(ini.UpdateFile().ok());
    }
    dlg().LoadFromIni(name);
    QCOMPARE(dlg().findHistory(), (QStringList{"first", "second"}));
    QCOMPARE(dlg().replaceHistory(), QStringList{"by"});
    QCOMPARE(child<QComboBox>(&dlg(), "cbxSearch")->count(), 2);
    QVERIFY(child<QCheckBox>(&dlg(), "cbAutoclose")->isChecked());
    QCOMPARE(dlg().pos(), QPoint(120, 80));

    // A selection of several lines: kept whole in the list, its first line stored.
    load(*form().TextBuffer(), "«  <td>  \r\n</td>»");
    run(cmd::ActionFind);
    host->script.expectAsk("Restart search", mrNo);
    press("btnSearch");
    QCOMPARE(dlg().findHistory().first(), QString("  <td>  \r\n</td>"));
    tick(child<QCheckBox>(&dlg(), "cbAutoclose"));
    QVERIFY(dlg().SaveToIni());
    const TUnicodeIniFile ini = TUnicodeIniFile::CreateForRead(name);
    QCOMPARE(ini.ReadString("Find", "Text0", ""), QString("<td>"));
    QCOMPARE(ini.ReadString("Find", "Text1", ""), QString("first"));
    QCOMPARE(ini.ReadString("Find", "Text2", ""), QString("second"));
    QCOMPARE(ini.ReadString("Replace", "Text0", ""), QString("by"));
    QCOMPARE(ini.ReadBool("FindReplaceDialog", "AutoClose", true), false);
    QVERIFY(ini.ValueExists("FindReplaceDialog", "Left"));
    QCOMPARE(ini.ReadString("Config", "Other", ""), QString("kept"));

    // A fresh dialog reads what was written.
    TFindReplDialog again(nullptr, &host->script);
    again.LoadFromIni(name);
    QCOMPARE(again.findHistory(), (QStringList{"<td>", "first", "second"}));
}

void TestFindReplace::settingsSavedByTheOwnerAndFailureReported() {
    QTemporaryDir dir;
    const QString name = dir.filePath("orvel.ini");
    {
        TFindReplDialog d(nullptr, &host->script);
        d.LoadFromIni(name);
        d.setFindText("kept");
        d.Execute(false);
        QTest::mouseClick(child<QPushButton>(&d, "btnSearch"), Qt::LeftButton);
    } // the owner did not save: going writes nothing
    QVERIFY(!QFile::exists(name));

    // The owner saved: going does not write again.
    {
        TFindReplDialog d(nullptr, &host->script);
        d.LoadFromIni(name);
        QVERIFY(d.SaveToIni());
        QFile::remove(name);
    }
    QVERIFY(!QFile::exists(name));
    // Nor when the owner wrote the sections into a file of its own.
    {
        TFindReplDialog d(nullptr, &host->script);
        d.LoadFromIni(name);
        TUnicodeIniFile ini = TUnicodeIniFile::FromBytes(QByteArray());
        d.SaveToIni(ini);
        QVERIFY(ini.ValueExists("FindReplaceDialog", "AutoClose"));
    }
    QVERIFY(!QFile::exists(name));

    // A file that cannot be written is reported, never thrown.
    QFile blocker(dir.filePath("file"));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const QString bad = dir.filePath("file/orvel.ini");
    host->script.expectError("orvel.ini");
    TFindReplDialog d(nullptr, &host->script);
    d.LoadFromIni(bad);
    QVERIFY(!d.SaveToIni());
}

QTEST_MAIN(TestFindReplace)
#include "tst_findreplace.moc"
