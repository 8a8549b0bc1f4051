#include "ShellFixture.h"
#include "TestFiles.h"
#include "app/ui/FileTabs.h"
#include "app/ui/MainLayout.h"
#include "app/ui/Orvelfrm.h"
#include "editor/ui/OrvelMDI.h"
#include "textcontrol/ui/EditorControl.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QMenuBar>
#include <QPointer>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

using namespace orvel;
using orvel::test::readAll;
using orvel::test::writeAll;

class TestMainWindow : public QObject, protected test::ShellFixture {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void documentsBuildNoCommandsAndLeaveNothingBehind();
    void fileCommandsAreRows_data();
    void fileCommandsAreRows();
    void startsWithCommandLineFiles();
    void openMissingFileNamesIt();
    void openSameFileTwiceActivates();
    void reopenModifiedChangedFileAsks();
    void failedLoadLeavesNoId();
    void closingLastDocumentLeavesNewOne();
    void quitYesWithCancelledNameKeepsRunning();
    void quitNoClosesEverything();
    void saveAsOntoOpenFileRefused();
    void saveAsExistingFileAsksOverwrite();
    void menusMergeDocumentMenus();
    void cyclingFollowsOrderOfUse();
    void tabStripShowsItsTabs();
    void desktopKeys_data();
    void desktopKeys();
    void noKeyHeldTwice();

private:
    std::unique_ptr<THauptForm> make(const QStringList& files = {});
};

void TestMainWindow::init() {
    resetShell();
}

void TestMainWindow::cleanup() {
    const QStringList problems = shellProblems();
    QVERIFY2(problems.isEmpty(), qPrintable(problems.join(u'\n')));
}

std::unique_ptr<THauptForm> TestMainWindow::make(const QStringList& files) {
    auto form = shellWindow(shellStart(files));
    script.expectFolder(dir->path() + QStringLiteral("/sites/"));
    if (!form->Init())
        return nullptr;
    return form;
}

void TestMainWindow::fileCommandsAreRows_data() {
    QTest::addColumn<int>("id");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("hint");
    QTest::addColumn<QString>("key"); // the design's key, else the desktop's: what menus show
    QTest::addColumn<int>("tag");
    QTest::newRow("open") << int(cmd::ActionOpen) << "ActionOpen"
                          << "&Open .."
                          << "Open document"
                          << "Ctrl+O" << 1005;
    QTest::newRow("save") << int(cmd::ActionSave) << "ActionSave"
                          << "&Save"
                          << "Save document"
                          << "F2" << 1008;
    QTest::newRow("save as") << int(cmd::ActionSaveAs) << "ActionSaveAs"
                             << "Save &as .."
                             << "Save document as new file"
                             << "Ctrl+Shift+S" << 1009;
    QTest::newRow("close") << int(cmd::ActionClose) << "ActionClose"
                           << "&Close"
                           << "Close document"
                           << "Ctrl+F4" << 1006;
    QTest::newRow("quit") << int(cmd::ActionExit) << "ActionExit"
                          << "&Quit"
                          << "Quit program"
                          << "Ctrl+Q" << 1011;
}

void TestMainWindow::fileCommandsAreRows() {
    QFETCH(int, id);
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(QString, hint);
    QFETCH(QString, key);
    QFETCH(int, tag);
    auto w = make();
    QAction* a = w->action(cmd::TShellCommandId(id));
    QVERIFY(a);
    QCOMPARE(a->objectName(), name);
    QCOMPARE(a->text(), caption);
    QCOMPARE(a->statusTip(), hint);
    QCOMPARE(a->shortcut().toString(QKeySequence::PortableText), key);
    QCOMPARE(a->property("tag").toInt(), tag);
}

void TestMainWindow::startsWithCommandLineFiles() {
    writeAll(path("a,b.txt"), "comma");
    writeAll(path("page.html"), "<p>x</p>");
    auto w = make({path("a,b.txt"), path("missing.txt"), path("page.html")});
    const QList<TMDIForm*> docs = w->documents();
    QCOMPARE(docs.size(), 2); // the missing name is skipped without a message
    QCOMPARE(docs.at(0)->TextName(), path("a,b.txt"));
    QCOMPARE(docs.at(1)->FileType(), ftHtml);
    QCOMPARE(w->activeDocument(), docs.at(1));
}

void TestMainWindow::openMissingFileNamesIt() {
    auto w = make();
    script.expectError("not found");
    QVERIFY(!w->OpenTextFile(path("nothing.html")));
    QVERIFY(script.shown.last().startsWith("Tagsmith - default|")); // the project names itself
    QVERIFY(script.shown.last().contains(path("nothing.html")));
}

void TestMainWindow::openSameFileTwiceActivates() {
    writeAll(path("a.txt"), "a");
    writeAll(path("b.txt"), "b");
    auto w = make();
    QVERIFY(w->OpenTextFile(path("a.txt")));
    QVERIFY(w->OpenTextFile(path("b.txt")));
    QVERIFY(w->OpenTextFile(dir->path() + "/./a.txt"));
    QCOMPARE(w->documents().size(), 3); // the new document and the two files
    QCOMPARE(w->activeDocument()->TextName(), path("a.txt"));
}

void TestMainWindow::reopenModifiedChangedFileAsks() {
    writeAll(path("a.txt"), "disk");
    auto w = make({path("a.txt")});
    TMDIForm* doc = w->activeDocument();
    doc->TextBuffer()->setSelText("mine ");
    writeAll(path("a.txt"), "changed on disk, longer");
    script.expectAsk("was changed by another application", mrNo);
    QVERIFY(w->OpenTextFile(path("a.txt")));
    QCOMPARE(doc->TextBuffer()->text(), QString("mine disk"));
    // An unmodified document is reloaded quietly.
    doc->TextBuffer()->setModified(false);
    writeAll(path("a.txt"), "third");
    QVERIFY(w->OpenTextFile(path("a.txt")));
    QCOMPARE(doc->TextBuffer()->text(), QString("third"));
}

void TestMainWindow::failedLoadLeavesNoId() {
    auto w = make();
    const QList<int> before = w->idList().ids();
    QDir().mkpath(path("folder.txt"));
    script.expectError("Loading of");
    QVERIFY(!w->LoadTextIntoWindow(path("folder.txt"), {1, 1}, 0, 0));
    QCOMPARE(w->idList().ids(), before);
    QCOMPARE(w->documents().size(), 1);
}

void TestMainWindow::closingLastDocumentLeavesNewOne() {
    auto w = make();
    TMDIForm* first = w->activeDocument();
    QCOMPARE(first->TextName(), QString("*New1"));
    w->ActionCloseExecute();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCOMPARE(w->documents().size(), 1);
    QCOMPARE(w->activeDocument()->TextName(), QString("*New2"));
    QCOMPARE(w->idList().Count(), 1);
}

void TestMainWindow::quitYesWithCancelledNameKeepsRunning() {
    auto w = make();
    w->show();
    w->activeDocument()->TextBuffer()->setSelText("unsaved work");
    script.expectAsk("Save changed files?", mrYes);
    script.expectSaveName(QString()); // the name dialog cancelled
    w->ActionExitExecute();
    QVERIFY(w->isVisible());
    QCOMPARE(w->documents().size(), 1);
    QVERIFY(w->activeDocument()->modified());
}

void TestMainWindow::quitNoClosesEverything() {
    writeAll(path("a.txt"), "a");
    auto w = make({path("a.txt")});
    w->show();
    w->activeDocument()->TextBuffer()->setSelText("x");
    script.expectAsk("Save changed files?", mrNo);
    w->ActionExitExecute();
    QVERIFY(!w->isVisible());
    QVERIFY(w->documents().isEmpty());
    QCOMPARE(readAll(path("a.txt")), QByteArray("a"));
}

void TestMainWindow::saveAsOntoOpenFileRefused() {
    writeAll(path("a.txt"), "a");
    writeAll(path("b.txt"), "b");
    auto w = make({path("a.txt"), path("b.txt")});
    script.expectSaveName(path("a.txt"));
    script.expectError("is open in another window");
    script.expectSaveName(QString());
    w->ActionSaveAsExecute();
    QCOMPARE(w->activeDocument()->TextName(), path("b.txt"));
    QCOMPARE(w->activeDocument()->Status(), tsOld);
    QCOMPARE(readAll(path("a.txt")), QByteArray("a"));
}

void TestMainWindow::saveAsExistingFileAsksOverwrite() {
    writeAll(path("old.txt"), "old");
    auto w = make();
    TMDIForm* doc = w->NewText(ftText, true);
    doc->TextBuffer()->setSelText("new text");
    script.expectSaveName(path("old.txt"));
    script.expectAsk("already exists", mrNo);
    script.expectSaveName(path("old.txt"));
    script.expectAsk("already exists", mrYes);
    w->ActionSaveAsExecute();
    QCOMPARE(readAll(path("old.txt")), QByteArray("new text"));
    QCOMPARE(doc->Status(), tsOld);
    QVERIFY(!doc->modified());
    QCOMPARE(script.fileDialogs.first().title, QString("*New2 save as"));
    QCOMPARE(script.fileDialogs.first().defaultExt, QString("txt"));
    // Saving unchanged rewrites the file.
    QFile::remove(path("old.txt"));
    w->ActionSaveExecute();
    QCOMPARE(readAll(path("old.txt")), QByteArray("new text"));
}

void TestMainWindow::menusMergeDocumentMenus() {
    auto w = make();
    QStringList titles;
    for (QAction* a : w->menuBar()->actions())
        titles << a->text();
    QCOMPARE(titles, (QStringList{"&File", "&Project", "&Edit", "&Insert", "&Bookmarks",
                                  "P&references", "&Window"}));
}

void TestMainWindow::cyclingFollowsOrderOfUse() {
    writeAll(path("a.txt"), "a");
    writeAll(path("b.txt"), "b");
    writeAll(path("c.txt"), "c");
    auto w = make({path("a.txt"), path("b.txt"), path("c.txt")});
    const auto name = [&] { return QFileInfo(w->activeDocument()->TextName()).fileName(); };
    QCOMPARE(name(), QString("c.txt"));
    w->NextMDI(w->activeDocument()->DocId());
    QCOMPARE(name(), QString("a.txt"));
    w->NextMDI(w->activeDocument()->DocId());
    QCOMPARE(name(), QString("b.txt"));
    w->NextMDI(w->activeDocument()->DocId());
    QCOMPARE(name(), QString("c.txt"));
    w->PreviousMDI(w->activeDocument()->DocId());
    QCOMPARE(name(), QString("b.txt"));
}

void TestMainWindow::tabStripShowsItsTabs() {
    writeAll(path("a.txt"), "a");
    auto w = make({path("a.txt")});
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    QTRY_VERIFY(w->frame().tabs->height() >= w->frame().tabs->sizeHint().height());
    QCOMPARE(w->frame().tabs->tabText(0), QString("a.txt"));
}

void TestMainWindow::documentsBuildNoCommandsAndLeaveNothingBehind() {
    auto w = make();
    const qsizetype actions = w->findChildren<QAction*>().size();
    const qsizetype widgets = w->findChildren<QWidget*>().size();
    QList<QPointer<TMDIForm>> docs;
    for (int i = 0; i < 3; ++i)
        docs << w->NewText(ftHtml, false);
    // The commands exist once, in the main window, pointed at the active document.
    QCOMPARE(w->findChildren<QAction*>().size(), actions);
    w->ActionCloseExecute();
    w->ActionCloseExecute();
    QVERIFY(w->CloseAllTexts(false));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    for (const QPointer<TMDIForm>& d : docs)
        QVERIFY(d.isNull());
    QVERIFY(w->findChildren<QWidget*>().size() < widgets); // the first document went too
}

void TestMainWindow::desktopKeys_data() {
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("effect");
    QTest::newRow("save") << "Ctrl+S"
                          << "saved";
    QTest::newRow("save as") << "Ctrl+Shift+S"
                             << "name asked";
    QTest::newRow("open") << "Ctrl+O"
                          << "open asked";
    QTest::newRow("close") << "Ctrl+F4"
                           << "closed";
    QTest::newRow("quit") << "Ctrl+Q"
                          << "quit";
    QTest::newRow("undo") << "Ctrl+Z"
                          << "undone";
    QTest::newRow("redo") << "Ctrl+Shift+Z"
                          << "redone";
    QTest::newRow("next document") << "Ctrl+Tab"
                                   << "a.txt";
    QTest::newRow("previous document") << "Ctrl+Shift+Tab"
                                       << "b.txt";
    // The design's own keys stay.
    QTest::newRow("F2 saves") << "F2"
                              << "saved";
    QTest::newRow("Alt+Backspace undoes") << "Alt+Backspace"
                                          << "undone";
}

void TestMainWindow::desktopKeys() {
    QFETCH(QString, key);
    QFETCH(QString, effect);
    writeAll(path("a.txt"), "a");
    writeAll(path("b.txt"), "b");
    writeAll(path("c.txt"), "c");
    auto w = make({path("a.txt"), path("b.txt"), path("c.txt")}); // used: a, b, c
    w->show();
    w->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(w.get()));
    QTRY_COMPARE(QApplication::activeWindow(), w.get());
    TMDIForm* doc = w->activeDocument();
    TEditorControl* ed = doc->TextBuffer();
    ed->focusText();
    QTest::keyClicks(ed->focusProxy(), "x");
    QCOMPARE(ed->text(), QString("xc"));
    if (effect == "redone")
        ed->undo();
    if (effect == "name asked")
        script.expectSaveName(QString());
    if (effect == "open asked")
        script.expectOpenName(QString());
    if (effect == "quit" || effect == "closed")
        script.expectAsk(effect == "quit" ? "Save changed files?" : "Save ", mrNo);
    const QKeySequence seq = QKeySequence::fromString(key, QKeySequence::PortableText);
    QTest::keySequence(ed->focusProxy(), seq);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    if (effect == "saved")
        QCOMPARE(readAll(path("c.txt")), QByteArray("xc"));
    else if (effect == "undone")
        QCOMPARE(ed->text(), QString("c"));
    else if (effect == "redone")
        QCOMPARE(ed->text(), QString("xc"));
    else if (effect == "closed")
        QCOMPARE(w->documents().size(), 2);
    else if (effect == "quit")
        QVERIFY(!w->isVisible());
    else if (effect.endsWith(".txt"))
        QCOMPARE(QFileInfo(w->activeDocument()->TextName()).fileName(), effect);
    // "name asked" and "open asked": the script checks that the question came.
}

void TestMainWindow::noKeyHeldTwice() {
    auto w = make();
    QHash<QKeySequence, QString> holders;
    for (QAction* a : w->findChildren<QAction*>())
        for (const QKeySequence& k : a->shortcuts()) {
            QVERIFY2(!holders.contains(k), qPrintable(k.toString() + ": " + holders.value(k) +
                                                      " and " + a->objectName()));
            holders.insert(k, a->objectName());
        }
    // Menus show the design's key first.
    QCOMPARE(w->action(cmd::ActionSave)->shortcut(), QKeySequence(Qt::Key_F2));
    QCOMPARE(w->action(cmd::ActionSave)->shortcuts().size(), 2);
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
