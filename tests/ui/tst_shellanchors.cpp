// The page "Local anchors" in the main window: a project's anchors as an independent reader
// (Python's html.parser) lists them, the export in Windows-1252 or, when asked, UTF-8, over
// an open document only when the user agrees, and opening an anchor by its file's full name.

#include "../support/ShellFixture.h"
#include "../support/TestFiles.h"
#include "app/ui/MainLayout.h"
#include "base/core/TextCodec.h"
#include "editor/ui/OrvelMDI.h"
#include "search/ui/AnchorPage.h"
#include "textcontrol/ui/EditorControl.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardItemModel>
#include <QTabWidget>
#include <QToolButton>
#include <QTreeView>
#include <QtTest>

using namespace orvel;
using namespace orvel::test;

class TestShellAnchors : public QObject, public ShellFixture {
    Q_OBJECT
private slots:
    void init() { resetShell(); }
    void cleanup() {
        const QStringList problems = shellProblems();
        QVERIFY2(problems.isEmpty(), qPrintable(problems.join(u'\n')));
    }
    void projectAgreesWithPythonReaderAndExport();
    void activeAndOpenFiles();
    void exportEncoding_data();
    void exportEncoding();
    void exportOverAnOpenDocument_data();
    void exportOverAnOpenDocument();
    void emptyListSearchesBeforeExport();
    void doubleClickOpensTheFileAfterTheProjectChanged();
    void selectionIsClampedToAShorterText();

private:
    std::unique_ptr<THauptForm> start(const QStringList& files = {}) {
        auto w = startWithSettings(files);
        w->show();
        w->frame().pcLeft->setCurrentWidget(&w->anchorPage());
        return w;
    }
    static QStringList entries(const TAnchorFile& file) {
        QStringList out;
        for (const TAnchor& a : file.anchors)
            out << a.entry();
        return out;
    }
    static QString header(const QString& project, const QString& root) {
        const QString first = "Project: " + project;
        return first + "\r\n" + QString(first.size(), u'=') + "\r\nDirectory: " + root +
               "\r\n\r\nLocal anchors:\r\n--------------\r\n";
    }
    static QString decoded1252(const QByteArray& bytes) {
        return QString::fromUtf8(codec::toEditorText(bytes, seAnsi));
    }
};

void TestShellAnchors::projectAgreesWithPythonReaderAndExport() {
    auto w = start();
    const QString root = w->htmlRoot();
    const QString reference = QStringLiteral(ORVEL_TEST_DATA "/anchor_reference.py");
    QCOMPARE(QProcess::execute("python3", {reference, "generate", root, path("outside")}), 0);
    QProcess reader;
    reader.start("python3", {reference, "read", root});
    QVERIFY(reader.waitForFinished(60000));
    QCOMPARE(reader.exitCode(), 0);
    const QJsonObject expected = QJsonDocument::fromJson(reader.readAllStandardOutput()).object();
    QVERIFY(expected.size() > 100);

    TAnchorPage& page = w->anchorPage();
    page.rbAnchorProject->click();
    page.btnAnchorSearch->click();
    QCOMPARE(page.files().size(), expected.size());
    int total = 0;
    for (const TAnchorFile& file : page.files()) {
        QCOMPARE(entries(file), expected.value(file.caption).toVariant().toStringList());
        QCOMPARE(file.fileName, root + file.caption);
        total += int(file.anchors.size());
    }
    QCOMPARE(page.lblAnchorStatus->text(),
             QString("%1 anchor(s) found in %2 file(s)!").arg(total).arg(expected.size()));
    // The tree shows the same, each file collapsed under its name.
    const QStandardItemModel& model = *page.model();
    QCOMPARE(model.rowCount(), expected.size());
    const QModelIndex firstFile = model.index(0, 0);
    QCOMPARE(firstFile.data().toString(), page.files().first().caption);
    QCOMPARE(model.index(0, 0, firstFile).data().toString(), entries(page.files().first()).first());
    QVERIFY(!page.tvAnchors->isExpanded(firstFile));

    // The export lists the files in the tree's order with the reader's entries.
    script.expectSaveName(path("list.txt"));
    page.btnAnchorExport->click();
    const TFileDialogArgs& args = script.fileDialogs.last();
    QCOMPARE(args.title, QString("Save anchor list to"));
    QCOMPARE(args.dir, root);
    QCOMPARE(args.fileName, w->projectName() + ".txt");
    QCOMPARE(args.filter, QString("Text document|*.txt|all|*.*"));
    QCOMPARE(args.defaultExt, QString("txt"));
    QString want = header(w->projectName(), root);
    bool first = true;
    for (const TAnchorFile& file : page.files()) {
        want += QString(first ? "" : "\r\n") + "  File: " + file.caption + "\r\n";
        first = false;
        for (const QString& e : expected.value(file.caption).toVariant().toStringList())
            want += "    -> " + QString(e).remove(u'|') + "\r\n";
    }
    const QByteArray written = readAll(path("list.txt"));
    QVERIFY(!written.startsWith("\xEF\xBB\xBF"));
    QCOMPARE(decoded1252(written), want);
}

void TestShellAnchors::activeAndOpenFiles() {
    auto w = start();
    const QString root = w->htmlRoot();
    writeAll(root + "a.html", "<p>\n<a name=\"b\">B</a>\n<a name=\"a\">A</a>\n\n\n\n\n\n\n\n\n"
                              "<a name=\"a\">second</a>\n");
    writeAll(root + "b.php", "<a name=\"php\">x</a>");
    writeAll(root + "c.HTML", "<h1 id=\"head\">Head</h1>");
    QVERIFY(w->OpenTextFile(root + "a.html"));
    QVERIFY(w->OpenTextFile(root + "b.php"));
    QVERIFY(w->OpenTextFile(root + "c.HTML"));
    TAnchorPage& page = w->anchorPage();

    // The active file, opened in the tree.
    QVERIFY(page.rbAnchorCurrent->isChecked());
    page.btnAnchorSearch->click();
    QCOMPARE(page.files().size(), 1);
    QCOMPARE(entries(page.files().first()), QStringList{"|head| (1, id): Head"});
    QVERIFY(page.tvAnchors->isExpanded(page.model()->index(0, 0)));
    QCOMPARE(page.lblAnchorStatus->text(), QString("1 anchor(s) found in 1 file(s)!"));

    // A PHP document is not read, even when active.
    QVERIFY(w->OpenTextFile(root + "b.php"));
    page.btnAnchorSearch->click();
    QCOMPARE(page.lblAnchorStatus->text(), QString("Found no anchors"));
    QCOMPARE(page.model()->rowCount(), 0);

    // Open files in window order; unsaved edits are saved and read.
    TMDIForm* a = w->documentAt(w->FindWindowByName(root + "a.html"));
    a->TextBuffer()->setCaretXY(TBufferCoord{1, 1});
    a->TextBuffer()->setSelText("<a id=\"new\">N</a>");
    QVERIFY(a->modified());
    page.rbAnchorOpen->click();
    page.rbSortAlphabetical->click();
    page.btnAnchorSearch->click();
    QVERIFY(!a->modified());
    QCOMPARE(page.files().size(), 2);
    QCOMPARE(page.files().at(0).caption, QString("a.html"));
    QCOMPARE(page.files().at(1).caption, QString("c.HTML"));
    // Whole entries compared without regard to case: line 12 before line 3.
    const QStringList sorted = {"|a| (12): second", "|a| (3): A", "|b| (2): B", "|new| (1, id): N"};
    QCOMPARE(entries(page.files().at(0)), sorted);
    QVERIFY(!page.tvAnchors->isExpanded(page.model()->index(0, 0)));
    // Another order takes effect at the next search.
    page.rbSortByLines->click();
    QCOMPARE(page.model()->index(0, 0, page.model()->index(0, 0)).data().toString(), sorted[0]);
    page.btnAnchorSearch->click();
    QCOMPARE(entries(page.files().at(0)).first(), QString("|new| (1, id): N"));

    // A document never saved has no file to read.
    w->NewText(ftHtml, false);
    page.rbAnchorCurrent->click();
    page.btnAnchorSearch->click();
    QCOMPARE(page.lblAnchorStatus->text(), QString("Found no anchors"));
}

void TestShellAnchors::exportEncoding_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("answer"); // to the question for UTF-8; mrNone: none asked
    QTest::addColumn<QString>("bytes");
    QTest::newRow("Windows-1252") << QString::fromUtf8("caf\xC3\xA9") << int(mrNone) << "1252";
    QTest::newRow("UTF-8 when agreed") << QString::fromUtf8("\xC5\x91z") << int(mrYes) << "utf8";
    QTest::newRow("nothing when declined") << QString::fromUtf8("\xC5\x91z") << int(mrNo) << "";
}

void TestShellAnchors::exportEncoding() {
    QFETCH(QString, name);
    QFETCH(int, answer);
    QFETCH(QString, bytes);
    auto w = start();
    const QString root = w->htmlRoot();
    writeAll(root + "page.html", "<a name=\"" + name.toUtf8() + "\">x</a>\n");
    QVERIFY(w->OpenTextFile(root + "page.html"));
    TAnchorPage& page = w->anchorPage();
    page.btnAnchorSearch->click();
    script.expectSaveName(path("out.txt"));
    if (answer != mrNone)
        script.expectAsk("UTF-8", TMsgResult(answer));
    page.btnAnchorExport->click();
    QCOMPARE(script.fileDialogs.last().fileName, QString("page.txt"));
    const QString text =
        header(w->projectName(), root) + "  File: page.html\r\n    -> " + name + " (1): x\r\n";
    if (bytes.isEmpty())
        QVERIFY(!QFile::exists(path("out.txt")));
    else if (bytes == "utf8")
        QCOMPARE(readAll(path("out.txt")), "\xEF\xBB\xBF" + text.toUtf8());
    else
        QCOMPARE(decoded1252(readAll(path("out.txt"))), text);
}

void TestShellAnchors::exportOverAnOpenDocument_data() {
    QTest::addColumn<bool>("edited");
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("written");
    QTest::newRow("unchanged document is reloaded") << false << int(mrNone) << true;
    QTest::newRow("edits kept when declined") << true << int(mrNo) << false;
    QTest::newRow("edits given up when agreed") << true << int(mrYes) << true;
}

void TestShellAnchors::exportOverAnOpenDocument() {
    QFETCH(bool, edited);
    QFETCH(int, answer);
    QFETCH(bool, written);
    auto w = start();
    const QString root = w->htmlRoot();
    writeAll(root + "page.html", "<a name=\"top\">Top</a>\n");
    writeAll(root + "list.txt", "old\n");
    QVERIFY(w->OpenTextFile(root + "page.html"));
    QVERIFY(w->OpenTextFile(root + "list.txt"));
    TMDIForm* list = w->activeDocument();
    if (edited) {
        list->TextBuffer()->setCaretXY(TBufferCoord{1, 1});
        list->TextBuffer()->setSelText("mine ");
    }
    TAnchorPage& page = w->anchorPage();
    page.rbAnchorOpen->click();
    // The search saves all documents first: only a later edit is at stake.
    page.btnAnchorSearch->click();
    QCOMPARE(page.files().size(), 1);
    if (edited) {
        QCOMPARE(readAll(root + "list.txt"), QByteArray("mine old\n"));
        list->TextBuffer()->setSelText("more ");
    }
    script.expectSaveName(root + "list.txt");
    if (answer != mrNone)
        script.expectAsk("not saved", TMsgResult(answer));
    page.btnAnchorExport->click();
    const QString text =
        header(w->projectName(), root) + "  File: page.html\r\n    -> top (1): Top\r\n";
    if (written) {
        QCOMPARE(decoded1252(readAll(root + "list.txt")), text);
        QCOMPARE(list->TextBuffer()->text(), text);
        QVERIFY(!list->modified());
    } else {
        QCOMPARE(readAll(root + "list.txt"), QByteArray("mine old\n"));
        QCOMPARE(list->TextBuffer()->text(), QString("mine more old\n"));
        QVERIFY(list->modified());
    }
}

void TestShellAnchors::emptyListSearchesBeforeExport() {
    auto w = start();
    const QString root = w->htmlRoot();
    writeAll(root + "page.html", "<a name=\"top\">Top</a>\n");
    TAnchorPage& page = w->anchorPage();
    page.rbAnchorProject->click();
    script.expectSaveName(path("out.txt"));
    page.btnAnchorExport->click();
    QCOMPARE(page.files().size(), 1);
    QVERIFY(QFile::exists(path("out.txt")));

    QVERIFY(QFile::remove(root + "page.html"));
    page.btnAnchorSearch->click();
    script.expectError("Found no anchors");
    page.btnAnchorExport->click();
    QCOMPARE(page.lblAnchorStatus->text(), QString("Found no anchors"));
}

void TestShellAnchors::doubleClickOpensTheFileAfterTheProjectChanged() {
    auto w = start();
    QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    const QString first = w->htmlRoot();
    writeAll(first + "page.html", "<p>\n\n<a name=\"a1\" class=\"c\">Top</a>\n");
    TAnchorPage& page = w->anchorPage();
    page.rbAnchorProject->click();
    page.btnAnchorSearch->click();
    QCOMPARE(page.files().size(), 1);

    projects.expectEdit("New project", [this](TProjectInfo& p) {
        p.ProjName = "Second";
        p.ProjPath = path("second/");
    });
    script.expectSaveName(path("Second.prj"));
    w->ActionProjectNewExecute();
    QCOMPARE(w->htmlRoot(), path("second/"));

    w->frame().pcLeft->setCurrentWidget(&page);
    const QModelIndex fileRow = page.model()->index(0, 0);
    page.tvAnchors->expand(fileRow);
    const QModelIndex anchorRow = page.model()->index(0, 0, fileRow);
    const QRect r = page.tvAnchors->visualRect(anchorRow);
    QVERIFY(r.isValid());
    QTest::mouseClick(page.tvAnchors->viewport(), Qt::LeftButton, {}, r.center());
    QTest::mouseDClick(page.tvAnchors->viewport(), Qt::LeftButton, {}, r.center());
    TMDIForm* form = w->activeDocument();
    QCOMPARE(form->TextName(), first + "page.html");
    // From the name up to the last character before ">".
    TEditorControl* editor = form->TextBuffer();
    QCOMPARE(editor->blockBegin(), (TBufferCoord{10, 3}));
    QCOMPARE(editor->blockEnd(), (TBufferCoord{22, 3}));
    QCOMPARE(editor->selText(), QString("a1\" class=\"c"));
}

void TestShellAnchors::selectionIsClampedToAShorterText() {
    auto w = start();
    const QString root = w->htmlRoot();
    writeAll(root + "page.html", "<p>\n\n\n<a name=\"far\">x</a>\n");
    TAnchorPage& page = w->anchorPage();
    page.rbAnchorProject->click();
    page.btnAnchorSearch->click();
    QCOMPARE(page.files().size(), 1);
    writeAll(root + "page.html", "<p>\n");
    page.tvAnchorsDblClick(page.model()->index(0, 0, page.model()->index(0, 0)));
    TEditorControl* editor = w->activeDocument()->TextBuffer();
    QCOMPARE(w->activeDocument()->TextName(), root + "page.html");
    // Line 4 no longer exists: the end of the text.
    QCOMPARE(editor->blockBegin(), (TBufferCoord{1, 2}));
    QCOMPARE(editor->blockEnd(), (TBufferCoord{1, 2}));
    // A file row opens the file at its start.
    page.tvAnchorsDblClick(page.model()->index(0, 0));
    QCOMPARE(editor->caretXY(), (TBufferCoord{1, 1}));
}

QTEST_MAIN(TestShellAnchors)
#include "tst_shellanchors.moc"
