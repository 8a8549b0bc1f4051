// The search in files in the main window: its page takes the upper panel from the text
// macros, it searches the open documents, opens a hit with the hit selected, replaces in an
// open document as one undoable step, and keeps its boxes over a restart.

#include "../support/ShellFixture.h"
#include "../support/TestFiles.h"
#include "app/ui/MainLayout.h"
#include "base/ui/CommandList.h"
#include "base/ui/HListBox.h"
#include "editor/ui/OrvelMDI.h"
#include "macros/core/MacroCommands.h"
#include "macros/ui/MacroPanel.h"
#include "search/core/FileSearchRun.h"
#include "search/core/SearchCommands.h"
#include "search/core/SearchResultsModel.h"
#include "search/ui/FileSearchPage.h"
#include "search/ui/SearchResultsPage.h"
#include "textcontrol/ui/EditorControl.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTreeView>
#include <QtTest>

using namespace orvel;
using namespace orvel::test;

class TestShellSearch : public QObject, public ShellFixture {
    Q_OBJECT
private slots:
    void init() { resetShell(); }
    void cleanup() {
        const QStringList problems = shellProblems();
        QVERIFY2(problems.isEmpty(), qPrintable(problems.join(u'\n')));
    }
    void searchPageTakesTheUpperPanel();
    void enterSearchesOpenDocumentsAndAHitOpensSelected();
    void replacingInAnOpenDocumentIsOneUndoableStep();
    void boxesSurviveARestart();

private:
    std::unique_ptr<THauptForm> start(const QStringList& files = {}) {
        auto w = startWithSettings(files);
        w->show();
        w->activateWindow();
        return w;
    }
    static bool waitForEnd(THauptForm& w) {
        return QTest::qWaitFor([&w] { return !w.fileSearchPage().run()->isRunning(); }, 30000);
    }
};

void TestShellSearch::searchPageTakesTheUpperPanel() {
    auto w = start();
    QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    QAction* macros = w->macroCommands().action(cmd::ActionShowMacros);
    QVERIFY(!w->frame().topPanelShown());

    w->searchCommands().action(cmd::ActionShowSearch)->trigger();
    QCOMPARE(w->frame().pcLeft->currentWidget(), &w->fileSearchPage());
    QVERIFY(w->frame().topPanelShown());
    QCOMPARE(w->frame().pcTop->currentWidget(), &w->searchResultsPage());
    QVERIFY(!macros->isEnabled());
    // The folder box starts at the project's root.
    QCOMPARE(w->fileSearchPage().hcSearchDir->currentText(), w->htmlRoot());

    // Leaving the page gives the panel back to the macros as it was: hidden.
    w->frame().pcLeft->setCurrentIndex(0);
    QVERIFY(!w->frame().topPanelShown());
    QCOMPARE(w->frame().pcTop->currentWidget(), &w->macroPanel());
    QVERIFY(macros->isEnabled());

    // Shown before, shown after.
    macros->trigger();
    QVERIFY(w->frame().topPanelShown());
    w->searchCommands().action(cmd::ActionShowSearch)->trigger();
    QCOMPARE(w->frame().pcTop->currentWidget(), &w->searchResultsPage());
    w->frame().pcLeft->setCurrentIndex(0);
    QVERIFY(w->frame().topPanelShown());
    QCOMPARE(w->frame().pcTop->currentWidget(), &w->macroPanel());
}

void TestShellSearch::enterSearchesOpenDocumentsAndAHitOpensSelected() {
    writeAll(path("a.html"), "<p>first</p>\n<p>a word here</p>\n");
    writeAll(path("b.css"), "/* word */\n");
    writeAll(path("c.html"), "word, but not open\n");
    auto w = start({path("a.html"), path("b.css")});
    QVERIFY(QTest::qWaitForWindowActive(w.get()));
    w->searchCommands().action(cmd::ActionShowSearch)->trigger();
    TFileSearchPage& page = w->fileSearchPage();
    // Open documents: their scope is chosen, with the active document's extension.
    QVERIFY(page.rbSearchOpen->isEnabled());
    QVERIFY(page.rbSearchOpen->isChecked());
    QCOMPARE(page.hcSearchTypes->currentText(), QString("css"));

    page.hcSearchTypes->setEditText(QStringLiteral("htm*,css"));
    page.hcSearch->setEditText(QStringLiteral("word"));
    page.hcSearch->lineEdit()->setFocus();
    QTest::keyClick(page.hcSearch->lineEdit(), Qt::Key_Return);
    QVERIFY(page.run()->isRunning());
    QVERIFY(!w->searchCommands().action(cmd::ActionStartSearch)->isEnabled());
    QVERIFY(w->searchCommands().action(cmd::ActionCancelSearch)->isEnabled());
    QVERIFY(waitForEnd(*w));
    QVERIFY(w->searchCommands().action(cmd::ActionStartSearch)->isEnabled());
    QCOMPARE(page.lblSearchStatus->text(), QString("2 matches found in\n2 file(s)!"));

    // Files in window order; the closed file is not searched.
    const TSearchResultsModel& model = *w->searchResultsPage().model();
    QCOMPARE(model.fileCount(), 2);
    QCOMPARE(model.file(0).FText, path("a.html"));
    QCOMPARE(model.file(1).FText, path("b.css"));

    QTreeView* tree = w->searchResultsPage().tree();
    const QModelIndex hit = model.index(0, 0, model.index(0, 0));
    QCOMPARE(hit.data().toString(), QString("2: <p>a |word| here</p>"));
    tree->setCurrentIndex(hit);
    w->searchCommands().action(cmd::ActionOpenResult)->trigger();
    TMDIForm* doc = w->activeDocument();
    QCOMPARE(doc->TextName(), path("a.html"));
    QCOMPARE(doc->TextBuffer()->selText(), QString("word"));
    QCOMPARE(doc->TextBuffer()->caretXY().Line, 2);

    // A result whose file went: the error names it, nothing else happens.
    QVERIFY(QFile::remove(path("b.css")));
    tree->setCurrentIndex(model.index(1, 0));
    script.expectError(QStringLiteral("not found"));
    w->searchCommands().action(cmd::ActionOpenResult)->trigger();
    QCOMPARE(w->activeDocument(), doc);
}

void TestShellSearch::replacingInAnOpenDocumentIsOneUndoableStep() {
    QDir().mkpath(path("site"));
    writeAll(path("site/open.html"), "old old\n");
    writeAll(path("site/closed.html"), "old\r\n");
    auto w = start({path("site/open.html")});
    w->searchCommands().action(cmd::ActionShowSearch)->trigger();
    TFileSearchPage& page = w->fileSearchPage();
    page.rbSearchFolder->click();
    page.hcSearchDir->setEditText(path("site"));
    page.hcSearchTypes->setEditText(QStringLiteral("html"));
    page.cbReplace->click();
    page.cbConfirm->click();
    page.hcSearch->setEditText(QStringLiteral("old"));
    page.hcReplace->setEditText(QStringLiteral("new"));
    script.expectAsk(QStringLiteral("Are you sure to change the selected files?"), mrYes);
    w->searchCommands().action(cmd::ActionStartSearch)->trigger();
    QVERIFY(waitForEnd(*w));
    QCOMPARE(page.lblSearchStatus->text(), QString("3 matches found in\n2 file(s)!"));

    // The closed file is written, the open one replaced in its document, not on disk.
    QCOMPARE(readAll(path("site/closed.html")), QByteArray("new\r\n"));
    QCOMPARE(readAll(path("site/open.html")), QByteArray("old old\n"));
    TMDIForm* doc = w->activeDocument();
    QCOMPARE(doc->TextBuffer()->text(), QString("new new\n"));
    QVERIFY(doc->modified());
    doc->TextBuffer()->undo();
    QCOMPARE(doc->TextBuffer()->text(), QString("old old\n"));
    QCOMPARE(page.hcReplace->HistoryList()->at(0), QString("new"));
}

void TestShellSearch::boxesSurviveARestart() {
    QDir().mkpath(path("site"));
    writeAll(path("site/a.html"), "a word\n");
    {
        auto w = start();
        w->searchCommands().action(cmd::ActionShowSearch)->trigger();
        TFileSearchPage& page = w->fileSearchPage();
        page.rbSearchFolder->click();
        page.hcSearchDir->setEditText(path("site"));
        page.hcSearchTypes->setEditText(QStringLiteral("htm*"));
        page.hcSearch->setEditText(QStringLiteral("word"));
        w->searchCommands().action(cmd::ActionStartSearch)->trigger();
        QVERIFY(waitForEnd(*w));
        QCOMPARE(w->searchResultsPage().model()->hitCount(), 1);
        page.cbReplace->click();
        w->close();
    }
    projects.expectSelect(spOpen, 0);
    auto w = start();
    TFileSearchPage& page = w->fileSearchPage();
    QVERIFY(page.cbReplace->isChecked());
    QVERIFY(page.hcReplace->isEnabled());
    QCOMPARE(page.hcSearch->HistoryList()->items(), QStringList{"word"});
    QCOMPARE(page.hcSearchDir->HistoryList()->items(), QStringList{path("site")});
    QCOMPARE(page.hcSearchTypes->HistoryList()->items(), QStringList{"htm*"});
    QCOMPARE(w->searchHistory("FileFind"), page.hcSearch->HistoryList());
}

QTEST_MAIN(TestShellSearch)
#include "tst_shellsearch.moc"
