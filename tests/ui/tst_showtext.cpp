#include "ScriptedDialogs.h"
#include "TestFiles.h"
#include "app/ui/ShowTextDlg.h"
#include "app/ui/TextFindDlg.h"
#include "base/core/LogFile.h"

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTimer>
#include <QToolButton>
#include <unistd.h>

using namespace orvel;
using orvel::test::readAll;
using orvel::test::writeAll;

namespace {

const QString kTitle = QStringLiteral("Orvel (Version 6.4.4)");

// Three runs as the log writer appends them; the second and third hold errors.
QByteArray threeRuns(const QString& folder) {
    const QString name = folder + "/runs.log";
    for (int run = 1; run <= 3; ++run) {
        TLogFile log(name, "Orvel", "6.4.4.0");
        log.setClock([] { return QDateTime(QDate(2024, 5, 1), QTime(9, 30)); });
        log.Open();
        log.Header(run == 3 ? "Synchronize" : "Upload");
        log.DirLine(2, false, "/www/docs");
        if (run == 1)
            log.TextLine(4, "index.html");
        if (run >= 2)
            log.ErrorLine(4, run == 2 ? "550 Permission denied" : "Connection lost");
        log.Summary(2, run == 2 ? -1 : run, 1);
        log.Close();
    }
    return readAll(name);
}

// Display positions of the lines that begin with prefix (after the indent).
QList<int> markerPositions(const QString& text, const QString& marker) {
    QList<int> out;
    int lineStart = 0;
    for (const QString& line : text.split(u'\n')) {
        const int at = int(line.indexOf(marker));
        if (at >= 0 && line.left(at).trimmed().isEmpty())
            out << lineStart + at;
        lineStart += int(line.size()) + 1;
    }
    return out;
}

int pdfPageCount(const QByteArray& pdf) {
    return int(pdf.count("/Type /Page\n") + pdf.count("/Type /Page\r") + pdf.count("/Type /Page ") +
               pdf.count("/Type /Page/") + pdf.count("/Type /Page>"));
}

// Scripted answers that also note where each question was placed.
struct PlacedDialogs : test::ScriptedDialogs {
    QList<QPoint> places;
    TMsgResult askAt(const QString& title, const QString& text, int buttons,
                     TMsgResult defaultButton, QPoint topLeft) override {
        places << topLeft;
        return ask(title, text, buttons, defaultButton);
    }
};

struct Viewer {
    QTemporaryDir dir;
    QString name;
    PlacedDialogs dialogs;
    TShowTextDialog dlg{dialogs};

    explicit Viewer(const QByteArray& bytes) : name(dir.filePath("orvel.log")) {
        writeAll(name, bytes);
        dlg.setSectionMarker("Orvel");
    }
    bool open() {
        if (!dlg.Prepare(kTitle, name, QPoint(30, 40)))
            return false;
        dlg.show();
        return QTest::qWaitForWindowExposed(&dlg);
    }
    QPlainTextEdit* view() const { return dlg.textView(); }
    QString text() const { return view()->toPlainText(); }
    int selStart() const { return view()->textCursor().selectionStart(); }
    QString selected() const { return view()->textCursor().selectedText(); }
    void setCaret(int pos, int anchor = -1) {
        QTextCursor c = view()->textCursor();
        c.setPosition(anchor < 0 ? pos : anchor);
        if (anchor >= 0)
            c.setPosition(pos, QTextCursor::KeepAnchor);
        view()->setTextCursor(c);
    }
    void click(const char* button) {
        if (auto* tb = dlg.findChild<QToolButton*>(button))
            tb->click();
        else
            dlg.findChild<QPushButton*>(button)->click();
    }
};

} // namespace

class TestShowText : public QObject {
    Q_OBJECT
private slots:
    void opensAtTheEnd();
    void missingFile();
    void previousSectionsFromTheEnd();
    void jumps_data();
    void jumps();
    void searchAgain_data();
    void searchAgain();
    void searchNotFoundKeepsCaret();
    void findDialogButtonSearches();
    void deleteSelection_data();
    void deleteSelection();
    void deleteFile_data();
    void deleteFile();
    void deleteKeyWithoutSelectionAsksNothing();
    void unreadableFileShowsErrorLine();
    void printSelectedLines_data();
    void printSelectedLines();
    void printToPdf_data();
    void printToPdf();
    void printClickThroughDialog();
    void showLogFileMissing();
    void showLogFileModalBesideMainWindow();
};

void TestShowText::opensAtTheEnd() {
    Viewer v("first\r\nsecond\r\n");
    QVERIFY(v.open());
    QCOMPARE(v.dlg.windowTitle(), kTitle + " [" + v.name + "]");
    QVERIFY(v.view()->isReadOnly());
    QCOMPARE(v.text(), QString("first\nsecond\n"));
    QCOMPARE(v.view()->textCursor().position(), int(v.text().size()));
    QCOMPARE(v.dlg.linePanel(), QString(" Line: 3 of 3"));
    QTest::keyClick(v.view(), Qt::Key_Home, Qt::ControlModifier);
    QCOMPARE(v.dlg.linePanel(), QString(" Line: 1 of 3"));
    const QRect second =
        v.view()->cursorRect(QTextCursor(v.view()->document()->findBlockByNumber(1)));
    QTest::mouseClick(v.view()->viewport(), Qt::LeftButton, {}, second.center());
    QCOMPARE(v.dlg.linePanel(), QString(" Line: 2 of 3"));
    QVERIFY2(v.dialogs.problems().isEmpty(), qPrintable(v.dialogs.problems().join('\n')));
}

void TestShowText::missingFile() {
    test::ScriptedDialogs dialogs;
    TShowTextDialog dlg(dialogs);
    dialogs.expectError("File: \"/nowhere/orvel.log\" not found!");
    QVERIFY(!dlg.Prepare(kTitle, "/nowhere/orvel.log", QPoint()));
    QVERIFY(!dlg.isVisible());
    QVERIFY2(dialogs.problems().isEmpty(), qPrintable(dialogs.problems().join('\n')));
}

void TestShowText::previousSectionsFromTheEnd() {
    QTemporaryDir dir;
    Viewer v(threeRuns(dir.path()));
    QVERIFY(v.open());
    const QList<int> headers = markerPositions(v.text(), "Orvel (Vers.");
    QCOMPARE(headers.size(), 3);
    for (int run = 2; run >= 0; --run) {
        v.click("prevSection");
        QCOMPARE(v.selStart(), headers[run]);
        QCOMPARE(v.selected(), QString("Orvel"));
        QCOMPARE(v.dlg.messagePanel(), QString());
    }
    v.click("prevSection");
    QVERIFY(!v.view()->textCursor().hasSelection());
    QCOMPARE(v.view()->textCursor().position(), 0);
    QCOMPARE(v.dlg.messagePanel(), QString("No further sections!"));
    QCOMPARE(v.dlg.linePanel(), QString(" Line: 1 of %1").arg(v.text().count('\n') + 1));
    // The marker became the search text.
    QCOMPARE(v.dlg.findDialog()->findText(), QString("Orvel"));
}

void TestShowText::jumps_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("marker");
    QTest::addColumn<int>("startAt");  // index into the marker positions; -1 start, 99 end
    QTest::addColumn<int>("expected"); // index into the marker positions; -1 none
    QTest::addColumn<QString>("message");
    const QString sect = "Orvel (Vers.";
    const QString err = "*** ";
    QTest::newRow("next section from start") << "nextSection" << sect << -1 << 0 << "";
    QTest::newRow("next section from first") << "nextSection" << sect << 0 << 1 << "";
    QTest::newRow("next section from last")
        << "nextSection" << sect << 2 << -1 << "No further sections!";
    QTest::newRow("previous section from second") << "prevSection" << sect << 1 << 0 << "";
    QTest::newRow("next error from start") << "nextError" << err << -1 << 0 << "";
    QTest::newRow("next error from first") << "nextError" << err << 0 << 1 << "";
    QTest::newRow("next error from last") << "nextError" << err << 1 << -1 << "No further errors!";
    QTest::newRow("previous error from end") << "prevError" << err << 99 << 1 << "";
    QTest::newRow("previous error from second") << "prevError" << err << 1 << 0 << "";
    QTest::newRow("previous error from first")
        << "prevError" << err << 0 << -1 << "No further errors!";
}

void TestShowText::jumps() {
    QFETCH(QString, button);
    QFETCH(QString, marker);
    QFETCH(int, startAt);
    QFETCH(int, expected);
    QFETCH(QString, message);
    QTemporaryDir dir;
    Viewer v(threeRuns(dir.path()));
    QVERIFY(v.open());
    const QList<int> at = markerPositions(v.text(), marker);
    QCOMPARE(at.size(), marker == "*** " ? 2 : 3);
    const int length = marker == "*** " ? 4 : 5;
    // Start with the marker there selected, as a jump leaves it.
    if (startAt == -1)
        v.setCaret(0);
    else if (startAt == 99)
        v.setCaret(int(v.text().size()));
    else
        v.setCaret(at[startAt] + length, at[startAt]);
    v.click(qPrintable(button));
    const bool forward = button.startsWith("next");
    if (expected >= 0) {
        QCOMPARE(v.selStart(), at[expected]);
        QCOMPARE(v.selected(), marker.left(length));
    } else {
        QVERIFY(!v.view()->textCursor().hasSelection());
        QCOMPARE(v.view()->textCursor().position(), forward ? int(v.text().size()) : 0);
    }
    QCOMPARE(v.dlg.messagePanel(), message);
}

void TestShowText::searchAgain_data() {
    QTest::addColumn<QString>("what");
    QTest::addColumn<bool>("down");
    QTest::addColumn<bool>("matchCase");
    QTest::addColumn<bool>("wholeWord");
    QTest::addColumn<QString>("keys");     // "3" F3, "s" Shift+F3
    QTest::addColumn<QList<int>>("lines"); // the line of the match after each key
    // Lines: 0 "alpha", 1 "Beta", 2 "betamax", 3 "beta", 4 "gamma beta"
    QTest::newRow("F3 down") << "beta" << true << false << false << "333" << QList<int>{1, 2, 3};
    QTest::newRow("F3 down, then back")
        << "beta" << true << false << false << "33s" << QList<int>{1, 2, 1};
    QTest::newRow("F3 up from the end")
        << "beta" << false << false << false << "33" << QList<int>{4, 3};
    QTest::newRow("Shift+F3 against up")
        << "beta" << false << false << false << "s" << QList<int>{-1};
    QTest::newRow("match case") << "beta" << true << true << false << "33" << QList<int>{2, 3};
    QTest::newRow("whole word") << "beta" << true << false << true << "333" << QList<int>{1, 3, 4};
}

void TestShowText::searchAgain() {
    QFETCH(QString, what);
    QFETCH(bool, down);
    QFETCH(bool, matchCase);
    QFETCH(bool, wholeWord);
    QFETCH(QString, keys);
    QFETCH(QList<int>, lines);
    Viewer v("alpha\r\nBeta\r\nbetamax\r\nbeta\r\ngamma beta");
    QVERIFY(v.open());
    TTextFindDialog* find = v.dlg.findDialog();
    find->textEdit()->setText(what);
    (down ? find->downButton() : find->upButton())->setChecked(true);
    find->matchCaseBox()->setChecked(matchCase);
    find->wholeWordBox()->setChecked(wholeWord);
    if (down)
        v.setCaret(0);
    for (int i = 0; i < keys.size(); ++i) {
        if (lines[i] < 0)
            v.dialogs.expectError("\"beta\" not found!");
        QTest::keyClick(v.view(), Qt::Key_F3, keys[i] == u's' ? Qt::ShiftModifier : Qt::NoModifier);
        if (lines[i] < 0)
            continue;
        QCOMPARE(v.selected().toLower(), QString("beta"));
        QCOMPARE(v.view()->textCursor().block().blockNumber(), lines[i]);
    }
    QVERIFY2(v.dialogs.problems().isEmpty(), qPrintable(v.dialogs.problems().join('\n')));
}

void TestShowText::searchNotFoundKeepsCaret() {
    Viewer v("one\r\ntwo\r\n");
    QVERIFY(v.open());
    v.setCaret(5, 4);
    v.dlg.findDialog()->setFindText("three");
    v.dialogs.expectError("\"three\" not found!");
    QTest::keyClick(v.view(), Qt::Key_F3);
    QCOMPARE(v.selStart(), 4);
    QCOMPARE(v.selected(), QString("t"));
    QVERIFY2(v.dialogs.problems().isEmpty(), qPrintable(v.dialogs.problems().join('\n')));
    // Without a text to search, F3 opens the find dialog.
    v.dlg.findDialog()->setFindText(QString());
    QTest::keyClick(v.view(), Qt::Key_F3);
    QVERIFY(v.dlg.findDialog()->isVisible());
}

void TestShowText::findDialogButtonSearches() {
    Viewer v("x beta\r\ny beta\r\n");
    QVERIFY(v.open());
    QTest::keyClick(v.view(), Qt::Key_F, Qt::ControlModifier);
    TTextFindDialog* find = v.dlg.findDialog();
    QVERIFY(find->isVisible());
    QVERIFY(!find->findNextButton()->isEnabled());
    find->textEdit()->setText("beta");
    find->upButton()->setChecked(true);
    find->findNextButton()->click();
    QCOMPARE(v.selStart(), 9);
    find->findNextButton()->click();
    QCOMPARE(v.selStart(), 2);
}

void TestShowText::deleteSelection_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("end");
    QTest::addColumn<bool>("yes");
    QTest::addColumn<QByteArray>("expected");
    const QByteArray ansi("Orvel run\r\n  Gr\xFC\xDF\x65 \x80\r\nlast\r\n");
    QTest::newRow("Windows-1252, a line")
        << ansi << 10 << 20 << true << QByteArray("Orvel run\r\nlast\r\n");
    QTest::newRow("Windows-1252, within a line")
        << ansi << 14 << 16 << true << QByteArray("Orvel run\r\n  Gre \x80\r\nlast\r\n");
    QTest::newRow("Windows-1252, answered No") << ansi << 10 << 20 << false << ansi;
    const QByteArray utf8(
        "\xEF\xBB\xBFOrvel run\r\n  Gr\xC3\xBC\xC3\x9F\x65 \xE2\x82\xAC\r\nlast\r\n");
    QTest::newRow("UTF-8 with mark, a line")
        << utf8 << 10 << 20 << true << QByteArray("\xEF\xBB\xBFOrvel run\r\nlast\r\n");
    QTest::newRow("UTF-8 with mark, within a line")
        << utf8 << 14 << 16 << true
        << QByteArray("\xEF\xBB\xBFOrvel run\r\n  Gre \xE2\x82\xAC\r\nlast\r\n");
}

void TestShowText::deleteSelection() {
    QFETCH(QByteArray, bytes);
    QFETCH(int, start);
    QFETCH(int, end);
    QFETCH(bool, yes);
    QFETCH(QByteArray, expected);
    Viewer v(bytes);
    QVERIFY(v.open());
    v.setCaret(end, start);
    v.dialogs.expectAsk("Delete selected text?", yes ? mrYes : mrNo);
    QTest::keyClick(v.view(), Qt::Key_Delete);
    QCOMPARE(v.dialogs.places, QList<QPoint>{v.dlg.frameGeometry().topLeft() + QPoint(200, 100)});
    QCOMPARE(readAll(v.name), expected);
    QCOMPARE(v.text(), TLogText::fromBytes(expected).display());
    QVERIFY(v.dlg.isVisible());
    QVERIFY2(v.dialogs.problems().isEmpty(), qPrintable(v.dialogs.problems().join('\n')));
    if (!yes)
        return;
    QCOMPARE(
        v.dlg.linePanel(),
        QString(" Line: 2 of %1").arg(TLogText::fromBytes(expected).display().count('\n') + 1));
    // A later log run appended to the rewritten file reads on together with it.
    TLogFile log(v.name, "Orvel", "1.0.0.0");
    QVERIFY(log.Open());
    log.TextLine(0, QString::fromUtf8("Grüße"));
    log.Close();
    const QString reread = TLogText::fromBytes(readAll(v.name)).display();
    QVERIFY2(reread.contains(QString::fromUtf8("\nGrüße\n")), qPrintable(reread));
}

void TestShowText::deleteFile_data() {
    QTest::addColumn<bool>("yes");
    QTest::newRow("Yes deletes") << true;
    QTest::newRow("No keeps") << false;
}

void TestShowText::deleteFile() {
    QFETCH(bool, yes);
    Viewer v("log line\r\n");
    QVERIFY(v.open());
    v.dialogs.expectAsk("Delete file \"" + v.name + "\"?", yes ? mrYes : mrNo);
    v.click("delete");
    QCOMPARE(v.dialogs.places, QList<QPoint>{v.dlg.frameGeometry().topLeft() + QPoint(200, 100)});
    QCOMPARE(QFile::exists(v.name), !yes);
    QCOMPARE(v.text().isEmpty(), yes);
    QVERIFY(!v.dlg.isVisible());
    QVERIFY2(v.dialogs.problems().isEmpty(), qPrintable(v.dialogs.problems().join('\n')));
}

void TestShowText::deleteKeyWithoutSelectionAsksNothing() {
    Viewer v("log line\r\n");
    QVERIFY(v.open());
    QTest::keyClick(v.view(), Qt::Key_Delete);
    QVERIFY(v.dlg.isVisible());
    QCOMPARE(readAll(v.name), QByteArray("log line\r\n"));
    QVERIFY2(v.dialogs.problems().isEmpty(), qPrintable(v.dialogs.problems().join('\n')));
    QTest::keyClick(v.view(), Qt::Key_Escape);
    QVERIFY(!v.dlg.isVisible());
}

void TestShowText::unreadableFileShowsErrorLine() {
    Viewer v("secret\r\n");
    // Root reads every file; the process's memory file opens but fails to read from 0.
    const bool root = ::geteuid() == 0;
    const QString name = root ? QStringLiteral("/proc/self/mem") : v.name;
    if (!root)
        QFile::setPermissions(name, QFileDevice::WriteOwner);
    QVERIFY(v.dlg.Prepare(kTitle, name, QPoint()));
    v.dlg.show();
    QVERIFY(QTest::qWaitForWindowExposed(&v.dlg));
    QCOMPARE(v.text(), "*** Error loading file: \"" + name + "\"");
    // Deleting the error line must not write it over the log.
    v.view()->selectAll();
    QTest::keyClick(v.view(), Qt::Key_Delete);
    QFile::setPermissions(v.name, QFileDevice::WriteOwner | QFileDevice::ReadOwner);
    QCOMPARE(readAll(v.name), QByteArray("secret\r\n"));
    QCOMPARE(v.dialogs.beeps, 1);
    QVERIFY2(v.dialogs.problems().isEmpty(), qPrintable(v.dialogs.problems().join('\n')));
}

void TestShowText::printSelectedLines_data() {
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("end");
    QTest::addColumn<int>("answer");
    QTest::addColumn<int>("first");
    QTest::addColumn<int>("last");
    // Lines of 6 characters and a break: line n (from 1) starts at 7 * (n - 1).
    QTest::newRow("middle of line 4 to line 6") << 7 * 3 + 3 << 7 * 5 + 2 << int(mrYes) << 3 << 5;
    QTest::newRow("answered No: all") << 7 * 3 + 3 << 7 * 5 + 2 << int(mrNo) << 0 << 9;
    QTest::newRow("no selection: all, no question") << 8 << 8 << int(mrNone) << 0 << 9;
}

void TestShowText::printSelectedLines() {
    QFETCH(int, start);
    QFETCH(int, end);
    QFETCH(int, answer);
    QFETCH(int, first);
    QFETCH(int, last);
    QByteArray bytes;
    for (int i = 1; i <= 9; ++i)
        bytes += "line " + QByteArray::number(i) + "\r\n";
    Viewer v(bytes);
    QVERIFY(v.open());
    v.setCaret(end, start);
    if (answer != mrNone)
        v.dialogs.expectAsk("Print selected lines?", TMsgResult(answer));
    QCOMPARE(v.dlg.PrintLineRange(), std::make_pair(first, last));
    QVERIFY2(v.dialogs.problems().isEmpty(), qPrintable(v.dialogs.problems().join('\n')));
}

void TestShowText::printToPdf_data() {
    QTest::addColumn<int>("lines");
    QTest::addColumn<int>("length");
    QTest::addColumn<int>("pages");
    // A4: from 24.6 mm in steps of 3.8 mm while above 282 mm: 68 lines a page.
    QTest::newRow("one page") << 68 << 40 << 1;
    QTest::newRow("one line more") << 69 << 40 << 2;
    QTest::newRow("three pages") << 150 << 40 << 3;
    // 200 characters break into three pieces at about 84 characters a line.
    QTest::newRow("long lines") << 30 << 200 << 2;
}

void TestShowText::printToPdf() {
    QFETCH(int, lines);
    QFETCH(int, length);
    QFETCH(int, pages);
    QByteArray bytes;
    for (int i = 1; i <= lines; ++i)
        bytes += QByteArray::number(i).leftJustified(length, 'x') + "\r\n";
    bytes.chop(2);
    Viewer v(bytes);
    QVERIFY(v.open());
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(v.dir.filePath("out.pdf"));
    printer.setPageSize(QPageSize(QPageSize::A4));
    QVERIFY(v.dlg.PrintLines(printer, 0, lines - 1));
    const QByteArray pdf = readAll(v.dir.filePath("out.pdf"));
    QVERIFY(pdf.startsWith("%PDF"));
    QCOMPARE(pdfPageCount(pdf), pages);
}

void TestShowText::printClickThroughDialog() {
    Viewer v("a log line\r\n");
    QVERIFY(v.open());
    const QString pdf = v.dir.filePath("print.pdf");
    QString jobName;
    bool accept = false;
    v.dlg.setPrintDialog([&](QPrinter& p) {
        jobName = p.docName();
        p.setOutputFormat(QPrinter::PdfFormat);
        p.setOutputFileName(pdf);
        return accept;
    });
    v.click("print");
    QCOMPARE(jobName, v.dlg.windowTitle());
    QVERIFY(!QFile::exists(pdf)); // cancelled
    accept = true;
    v.click("print");
    QCOMPARE(pdfPageCount(readAll(pdf)), 1);
    QVERIFY2(v.dialogs.problems().isEmpty(), qPrintable(v.dialogs.problems().join('\n')));
}

void TestShowText::showLogFileMissing() {
    test::ScriptedDialogs dialogs;
    dialogs.expectError("Log file not found!");
    QVERIFY(!showLogFile(nullptr, dialogs, kTitle, "/nowhere/orvel.log"));
    QVERIFY2(dialogs.problems().isEmpty(), qPrintable(dialogs.problems().join('\n')));
}

void TestShowText::showLogFileModalBesideMainWindow() {
    QTemporaryDir dir;
    const QString name = dir.filePath("orvel.log");
    writeAll(name, "line\r\n");
    QWidget main;
    main.setGeometry(100, 80, 400, 300);
    main.show();
    QVERIFY(QTest::qWaitForWindowExposed(&main));
    test::ScriptedDialogs dialogs;
    QPoint seen;
    QString caption;
    bool modal = false;
    QTimer::singleShot(50, [&] {
        QWidget* w = QApplication::activeModalWidget();
        if (!w)
            return;
        modal = true;
        seen = w->pos();
        caption = w->windowTitle();
        w->close();
    });
    QVERIFY(showLogFile(&main, dialogs, kTitle, name));
    QVERIFY(modal);
    QCOMPARE(seen, main.pos() + QPoint(20, 20));
    QCOMPARE(caption, kTitle + " [" + name + "]");
}

QTEST_MAIN(TestShowText)
#include "tst_showtext.moc"
