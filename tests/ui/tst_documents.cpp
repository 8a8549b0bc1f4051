#include "ShellFixture.h"
#include "TestFiles.h"
#include "app/ui/FileTabs.h"
#include "app/ui/MainLayout.h"
#include "app/ui/Orvelfrm.h"
#include "base/ui/ElidedLabel.h"
#include "editor/ui/OrvelMDI.h"
#include "textcontrol/ui/EditorControl.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QSplitter>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

using namespace orvel;
using orvel::test::readAll;
using orvel::test::writeAll;

class TestDocuments : public QObject, protected test::ShellFixture {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void untitledNumbersCount();
    void closingActivatesTheOneUsedBefore();
    void askToSave_data();
    void askToSave();
    void saveAsCancelledStaysUntitled();
    void saveAllWritesOnlyChanged();
    void closeAllAsksAndLeavesANewDocument();
    void templateRoundTrip();
    void templateFolderQuestion_data();
    void templateFolderQuestion();
    void mouseButtonsCycle();
    void windowMenuListsDocuments();
    void draggedTabKeepsItsDocument();
    void saveTemplateAsHtml();
    void rootPathIsCutWithAnEllipsis();

private:
    std::unique_ptr<THauptForm> make(const QStringList& files = {});
    QString name(THauptForm& w) const {
        return QFileInfo(w.activeDocument()->TextName()).fileName();
    }
};

void TestDocuments::init() {
    resetShell();
}

void TestDocuments::cleanup() {
    const QStringList problems = shellProblems();
    QVERIFY2(problems.isEmpty(), qPrintable(problems.join(u'\n')));
}

std::unique_ptr<THauptForm> TestDocuments::make(const QStringList& files) {
    auto w = shellWindow(shellStart(files));
    script.expectFolder(dir->path() + QStringLiteral("/sites/"));
    w->Init();
    return w;
}

void TestDocuments::untitledNumbersCount() {
    auto w = make();
    QCOMPARE(w->activeDocument()->TextName(), QString("*New1"));
    TMDIForm* css = w->NewText(ftCss, true);
    QCOMPARE(css->TextName(), QString("*New2"));
    QCOMPARE(css->caption(), QString("*New2"));
    QCOMPARE(css->TextBuffer()->text(), QString("@charset \"UTF-8\";\r\n"));
    QCOMPARE(w->activeDocument(), css);
}

void TestDocuments::closingActivatesTheOneUsedBefore() {
    for (const char* n : {"a.txt", "b.txt", "c.txt"})
        writeAll(path(n), n);
    auto w = make({path("a.txt"), path("b.txt"), path("c.txt")});
    w->ActivateWindow(w->FindWindowByName(path("a.txt"))); // used: b, c, a
    QCOMPARE(name(*w), QString("a.txt"));
    w->ActionCloseExecute();
    QCOMPARE(name(*w), QString("c.txt")); // not the neighbouring b
    QCOMPARE(w->documents().size(), 2);
}

void TestDocuments::askToSave_data() {
    QTest::addColumn<int>("answer");
    QTest::addColumn<QString>("saveAsName");
    QTest::addColumn<bool>("result");
    QTest::addColumn<bool>("modifiedAfter");
    QTest::newRow("yes, saved") << int(mrYes) << "s.txt" << true << false;
    QTest::newRow("yes, name dialog cancelled") << int(mrYes) << "" << false << true;
    QTest::newRow("no") << int(mrNo) << "" << true << false;
    QTest::newRow("cancel") << int(mrCancel) << "" << false << true;
}

void TestDocuments::askToSave() {
    QFETCH(int, answer);
    QFETCH(QString, saveAsName);
    QFETCH(bool, result);
    QFETCH(bool, modifiedAfter);
    auto w = make();
    TMDIForm* doc = w->activeDocument();
    QVERIFY(w->askToSave(doc)); // unmodified: no question
    doc->TextBuffer()->setSelText(QStringLiteral("text"));
    script.expectAsk("Save *New1?", TMsgResult(answer));
    if (answer == mrYes)
        script.expectSaveName(saveAsName.isEmpty() ? QString() : path(saveAsName));
    QCOMPARE(w->askToSave(doc), result);
    QCOMPARE(doc->modified(), modifiedAfter);
    if (!saveAsName.isEmpty())
        QCOMPARE(readAll(path(saveAsName)), QByteArray("text"));
}

void TestDocuments::saveAsCancelledStaysUntitled() {
    auto w = make();
    TMDIForm* doc = w->activeDocument();
    doc->TextBuffer()->setSelText("draft");
    script.expectSaveName(QString());
    w->ActionSaveAsExecute();
    QCOMPARE(doc->Status(), tsNew);
    QVERIFY(doc->modified());
    QCOMPARE(doc->TextName(), QString("*New1"));
}

void TestDocuments::saveAllWritesOnlyChanged() {
    writeAll(path("a.txt"), "a");
    writeAll(path("b.txt"), "b");
    auto w = make({path("a.txt"), path("b.txt")});
    TMDIForm* a = w->documents().at(0);
    a->TextBuffer()->setSelText("changed ");
    QFile::remove(path("b.txt"));           // would come back if it were written
    script.expectSaveName(path("new.txt")); // the untitled one asks, the others do not
    w->NewText(ftText, true)->TextBuffer()->setSelText("fresh");
    w->ActionSaveAllExecute();
    QCOMPARE(readAll(path("a.txt")), QByteArray("changed a"));
    QVERIFY(!QFile::exists(path("b.txt")));
    QCOMPARE(readAll(path("new.txt")), QByteArray("fresh"));
}

void TestDocuments::closeAllAsksAndLeavesANewDocument() {
    writeAll(path("a.txt"), "a");
    writeAll(path("b.txt"), "b");
    auto w = make({path("a.txt"), path("b.txt")});
    for (TMDIForm* f : w->documents())
        f->TextBuffer()->setSelText("x");
    // One round per window: b is cancelled, stays active and is asked again; a is left.
    script.expectAsk("Save " + path("b.txt") + "?", mrCancel);
    script.expectAsk("Save " + path("b.txt") + "?", mrNo);
    w->ActionCloseallExecute();
    QCOMPARE(w->documents().size(), 2);
    QCOMPARE(w->documents().at(0)->TextName(), path("a.txt"));
    QVERIFY(w->documents().at(0)->modified());
    QVERIFY(w->activeDocument()->TextName().startsWith("*New"));
    QCOMPARE(readAll(path("b.txt")), QByteArray("b"));
}

void TestDocuments::templateRoundTrip() {
    writeAll(path("s.css"), "line1\r\nline2\r\n");
    auto w = make({path("s.css")});
    w->activeDocument()->TextBuffer()->setCaretXY({3, 2});
    // Into the project's root, where new documents look first.
    script.expectFolder(w->htmlRoot());
    w->ActionTemplateExecute();
    QCOMPARE(readAll(w->htmlRoot() + "~template.html"), QByteArray("line1\r\nline2\r\n$2,3\r\n"));
    script.expectFolder(w->htmlRoot());
    script.expectAsk("Overwrite existing template", mrNo);
    w->ActionTemplateExecute();
    // A new HTML document without a folder question takes the root's template.
    TMDIForm* doc = w->NewText(ftHtml, false);
    QCOMPARE(doc->TextBuffer()->text(), QString("line1\r\nline2\r\n"));
    QCOMPARE(doc->TextBuffer()->caretXY(), (TBufferCoord{3, 2}));
    QCOMPARE(doc->Status(), tsNew);
}

void TestDocuments::templateFolderQuestion_data() {
    QTest::addColumn<QString>("answer"); // folder chosen; empty: cancelled
    QTest::addColumn<bool>("subTemplate");
    QTest::addColumn<QString>("message"); // expected information, empty for none
    QTest::addColumn<QString>("text");
    QTest::newRow("cancelled: program template") << "" << false << ""
                                                 << "<p>program</p>";
    QTest::newRow("folder with a template") << "sub" << true << ""
                                            << "<p>sub</p>";
    QTest::newRow("folder without one") << "sub" << false << "Using program default template!"
                                        << "<p>program</p>";
}

void TestDocuments::templateFolderQuestion() {
    QFETCH(QString, answer);
    QFETCH(bool, subTemplate);
    QFETCH(QString, message);
    QFETCH(QString, text);
    QDir(dir->path()).mkpath("data");
    QDir(dir->path()).mkpath("sub");
    writeAll(path("data/default.html"), "<p>program</p>");
    if (subTemplate)
        writeAll(path("sub/~template.html"), "<p>sub</p>");
    auto w = make();
    script.expectFolder(answer.isEmpty() ? QString() : path(answer) + u'/');
    if (!message.isEmpty())
        script.expectInfo(message);
    TMDIForm* doc = w->NewText(ftHtml, true);
    QCOMPARE(doc->TextBuffer()->text(), text);
    QVERIFY(!doc->modified());
}

void TestDocuments::mouseButtonsCycle() {
    writeAll(path("a.txt"), "a");
    writeAll(path("b.txt"), "b");
    auto w = make({path("a.txt"), path("b.txt")});
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    QWidget* editor = w->activeDocument()->TextBuffer()->focusProxy();
    const QPointF at(10, 10);
    QMouseEvent back(QEvent::MouseButtonPress, at, editor->mapToGlobal(at), Qt::BackButton,
                     Qt::BackButton, Qt::NoModifier);
    QApplication::sendEvent(editor, &back);
    QCOMPARE(name(*w), QString("a.txt"));
    QMouseEvent fwd(QEvent::MouseButtonPress, at, editor->mapToGlobal(at), Qt::ForwardButton,
                    Qt::ForwardButton, Qt::NoModifier);
    QApplication::sendEvent(w->activeDocument()->TextBuffer()->focusProxy(), &fwd);
    QCOMPARE(name(*w), QString("b.txt"));
}

void TestDocuments::windowMenuListsDocuments() {
    writeAll(path("a.txt"), "a");
    auto w = make({path("a.txt")});
    w->NewText(ftText, true);
    QMenu* window = nullptr;
    for (QAction* a : w->menuBar()->actions())
        if (a->text() == "&Window")
            window = a->menu();
    QVERIFY(window);
    for (int round = 0; round < 2; ++round) // its own commands stay when it is shown again
        Q_EMIT window->aboutToShow();
    const QList<QAction*> items = window->actions();
    QStringList own;
    for (QAction* a : items.mid(0, 6))
        own << a->text();
    QCOMPARE(own, (QStringList{"Select &Document", "&Show log file", "Pre&view", "&ext. preview",
                               "&Text macros", "Search in &files"}));
    QVERIFY(items.at(6)->isSeparator());
    QCOMPARE(items.size(), 9); // a.txt and the new document after the separator
    QVERIFY(items.last()->isChecked());
    items.at(7)->trigger();
    QCOMPARE(w->activeDocument()->TextName(), path("a.txt"));
}

void TestDocuments::draggedTabKeepsItsDocument() {
    for (const char* n : {"a.txt", "b.txt", "c.txt"})
        writeAll(path(n), n);
    auto w = make({path("a.txt"), path("b.txt"), path("c.txt")});
    TFileTabBar* tabs = w->frame().tabs;
    // The third tab dropped onto the first, as the strip reports it.
    tabs->moveTab(2, 0);
    Q_EMIT tabs->tabDropped(2, 0);
    QCOMPARE(QFileInfo(w->documents().at(0)->TextName()).fileName(), QString("c.txt"));
    for (int i = 0; i < 3; ++i)
        QCOMPARE(tabs->tabInfo(i)->Filename, w->documents().at(i)->TextName());
    QCOMPARE(tabs->tabInfo(0)->Filename, path("c.txt"));
    w->ActivateWindow(1);
    QCOMPARE(name(*w), QString("a.txt"));
}

void TestDocuments::saveTemplateAsHtml() {
    writeAll(path("page.htt"),
             "<!-- #var\r\ntitle = Home // start\r\n-->\r\n<title>[%title]</title>\r\n");
    writeAll(path("page.html"), "old");
    auto w = make({path("page.htt")});
    QVERIFY(w->action(cmd::ActionSaveHtml)->isEnabled());
    w->activeDocument()->TextBuffer()->setSelText("unsaved "); // not part of the output
    w->action(cmd::ActionSaveHtml)->trigger();
    QCOMPARE(readAll(path("page.html")), QByteArray("<title>Home</title>\r\n"));
    QCOMPARE(readAll(path("page.html.bak")), QByteArray("old"));
    // Only templates can be saved as HTML.
    w->NewText(ftHtml, false);
    QVERIFY(!w->action(cmd::ActionSaveHtml)->isEnabled());
}

// The root path panel is as wide as the navigation panel: cut short, it shows the start and
// the end of the path with an ellipsis, never half a character.
void TestDocuments::rootPathIsCutWithAnEllipsis() {
    auto w = make();
    w->resize(1200, 600);
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    auto* root = qobject_cast<TElidedLabel*>(w->statusPanel(0));
    QVERIFY(root);
    const QString whole = root->text();
    QVERIFY(whole.startsWith(QStringLiteral("Root-Path: /")));
    QSplitter* split = w->frame().mainSplit;
    const auto setNavWidth = [split](int width) {
        const QList<int> sizes = split->sizes();
        split->setSizes({width, sizes.value(0) + sizes.value(1) - width});
    };
    setNavWidth(700);
    QTRY_COMPARE(root->shownText(), whole);
    setNavWidth(120);
    QTRY_COMPARE(root->width(), w->frame().pcLeft->width());
    QVERIFY(root->fontMetrics().horizontalAdvance(whole) > root->contentsRect().width());
    const QString shown = root->shownText();
    QVERIFY2(shown.contains(QChar(0x2026)), qPrintable(shown));
    QVERIFY(shown.startsWith(QStringLiteral("Root")));
    QVERIFY(shown.endsWith(QStringLiteral("/")));
    QVERIFY(root->fontMetrics().horizontalAdvance(shown) <= root->contentsRect().width());
}

QTEST_MAIN(TestDocuments)
#include "tst_documents.moc"
