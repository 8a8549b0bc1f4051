// The small inserts as the user runs them: dates, file sizes, digests, mail links, the
// decoder and the JavaScript pieces; the file-size and mail-address dialogs.

#include "TestDocument.h"
#include "TestFiles.h"
#include "dialogs/ui/FileSizeDlg.h"
#include "dialogs/ui/MailAdrDlg.h"
#include "editor/core/FileDigest.h"
#include "editor/ui/DocumentCommands.h"
#include "editor/ui/OrvelMDI.h"
#include "textcontrol/ui/EditorControl.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDate>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <memory>

using namespace orvel;
using Kind = orvel::test::ScriptedElementDialogs::Kind;

class TestSmallInsertCmds : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void dateUsesTheDocumentsLanguage();
    void monthAndYear();
    void fileSizeReplacesTheSizeAtTheCaret();
    void fileSizeStartsAtTheLastLink();
    void fileSizeCancelled();
    void digests();
    void digestOfAMissingFileIsAnError();
    void mailLinks_data();
    void mailLinks();
    void encodedMailWithoutSelection();
    void decodeShowsTheAddress_data();
    void decodeShowsTheAddress();
    void javaScriptPieces_data();
    void javaScriptPieces();
    void textAsJsArgumentFollowsTheClipboard();
    void menusAndToolbar();
    void fileSizeDialog();
    void mailAddressDialog();

private:
    // A document with "^" for the caret and "«…»" for a selection.
    TMDIForm& open(TFileTypes type, const QString& marked);
    QString text() const;
    QString rendered() const;
    std::unique_ptr<test::TestDocumentContext> host;
    std::unique_ptr<test::TestCommands> commands;
    std::unique_ptr<TMDIForm> form;
    QTemporaryDir dir;
};

void TestSmallInsertCmds::init() {
    form.reset();
    commands.reset();
    host = std::make_unique<test::TestDocumentContext>();
    commands = std::make_unique<test::TestCommands>(*host);
}

void TestSmallInsertCmds::cleanup() {
    const QStringList problems = host->problems() + commands->reported;
    form.reset();
    QVERIFY2(problems.isEmpty(), qPrintable(problems.join(u'\n')));
}

TMDIForm& TestSmallInsertCmds::open(TFileTypes type, const QString& marked) {
    form = std::make_unique<TMDIForm>(*host, type, 1);
    QString t = marked;
    const qsizetype a = t.indexOf(u'«');
    const auto coord = [&t](qsizetype i) {
        const QString before = t.left(i);
        return TBufferCoord{int(i - before.lastIndexOf(u'\n')), int(before.count(u'\n')) + 1};
    };
    TBufferCoord from, to;
    if (a >= 0) {
        t.remove(a, 1);
        const qsizetype b = t.indexOf(u'»');
        t.remove(b, 1);
        from = coord(a);
        to = coord(b);
    } else {
        const qsizetype c = qMax<qsizetype>(0, t.indexOf(u'^'));
        t.remove(u'^');
        from = to = coord(c);
    }
    form->TextBuffer()->loadUtf8(t.toUtf8(), lbLF);
    form->TextBuffer()->setTabWidth(2);
    form->TextBuffer()->setOptions(kDefaultStoredOptions);
    form->setTextPath(dir.path() + u'/');
    commands->attach(*form);
    form->TextBuffer()->setSelection(from, to);
    return *form;
}

QString TestSmallInsertCmds::text() const {
    return form->TextBuffer()->text();
}

QString TestSmallInsertCmds::rendered() const {
    // The text with "^" at the caret (selections are not looked at here).
    TEditorControl* ed = form->TextBuffer();
    QStringList lines = ed->text().split(u'\n');
    const TBufferCoord c = ed->caretXY();
    QString& l = lines[c.Line - 1];
    l = l.leftJustified(c.Char - 1, u' ').insert(c.Char - 1, u'^');
    return lines.join(u'\n');
}

void TestSmallInsertCmds::dateUsesTheDocumentsLanguage() {
    open(ftHtml, "<p>^</p>");
    form->setTextLangId(1031); // de-DE
    form->setTextDateFormat(2);
    host->elements.expect(Kind::Date, {"5. März 2024", "5"});
    commands->run(cmd::ActionDate);
    QCOMPARE(text(), QString("<p>5. März 2024</p>"));
    QCOMPARE(host->elements.given, QStringList{"2"}); // the document's last format
    QCOMPARE(form->TextDateFormat(), 5);
    QCOMPARE(host->elements.dateLocales.last().name(), QString("de_DE"));
    // Cancel keeps the format.
    host->elements.expectCancel(Kind::Date);
    commands->run(cmd::ActionDate);
    QCOMPARE(form->TextDateFormat(), 5);
}

void TestSmallInsertCmds::monthAndYear() {
    open(ftHtml, "^");
    form->setTextLangId(1038); // hu-HU
    commands->run(cmd::ActionMonth);
    commands->run(cmd::ActionYear);
    const QDate today = QDate::currentDate();
    QCOMPARE(text(), QLocale(QStringLiteral("hu_HU")).monthName(today.month()) +
                         QString::number(today.year()));
}

void TestSmallInsertCmds::fileSizeReplacesTheSizeAtTheCaret() {
    const QString file = dir.filePath("report.pdf");
    test::writeAll(file, QByteArray(1536, 'x'));
    open(ftHtml, "<p>Size: 12,3 kB^ (PDF)</p>\n<p>far below: 99 kB</p>");
    QVERIFY(form->DecComma() == (QLocale().decimalPoint() == QStringLiteral(",")));
    host->script.expectOpenName(file);
    host->elements.expect(Kind::FileSize, {file, "1,50 KiB", "comma"});
    commands->run(cmd::ActionFileSize);
    QCOMPARE(text(), QString("<p>Size: 1,50 KiB (PDF)</p>\n<p>far below: 99 kB</p>"));
    QCOMPARE(form->LastSizeFile(), file);
    QVERIFY(form->DecComma());
    QCOMPARE(host->script.fileDialogs.last().title, QString("Select file"));
    QCOMPARE(host->script.fileDialogs.last().dir, dir.path() + u'/');
    // The next file is looked for beside the last one; the point is kept as chosen.
    host->script.expectOpenName(file);
    host->elements.expect(Kind::FileSize, {file, "1.54 kB", "point"});
    form->TextBuffer()->setCaretXY({1, 2});
    commands->run(cmd::ActionFileSize);
    QVERIFY(text().endsWith(QString("\n1.54 kB<p>far below: 99 kB</p>")));
    QCOMPARE(host->elements.given.last(), file + "|comma");
    QVERIFY(!form->DecComma());
    QCOMPARE(host->script.fileDialogs.last().dir, dir.path());
}

void TestSmallInsertCmds::fileSizeStartsAtTheLastLink() {
    QVERIFY(QDir(dir.path()).mkpath("docs"));
    test::writeAll(dir.filePath("docs/manual.pdf"), "pdf");
    open(ftHtml, "^");
    host->elements.lastLocal = "docs/manual.pdf";
    host->script.expectOpenName(QString()); // cancelled
    commands->run(cmd::ActionFileSize);
    QCOMPARE(host->script.fileDialogs.last().dir, dir.filePath("docs"));
    QCOMPARE(host->script.fileDialogs.last().fileName, QString("manual.pdf"));
    QCOMPARE(text(), QString());
}

void TestSmallInsertCmds::fileSizeCancelled() {
    const QString file = dir.filePath("a.bin");
    test::writeAll(file, "abc");
    open(ftText, "x^");
    host->script.expectOpenName(file);
    host->elements.expectCancel(Kind::FileSize);
    commands->run(cmd::ActionFileSize);
    QCOMPARE(text(), QString("x"));
    QCOMPARE(form->LastSizeFile(), QString());
}

void TestSmallInsertCmds::digests() {
    const QString file = dir.filePath("page.html");
    test::writeAll(file, "hello\n");
    open(ftHtml, "^");
    const struct {
        cmd::TDocCommandId id;
        const char* inserted;
    } cases[] = {
        {cmd::ActionHashMD5, "MD5: b1946ac92492d2347c6235b4d2611184"},
        {cmd::ActionHashSHA1, "SHA1: f572d396fae9206628714fb2ce00f72e94f2258f"},
        {cmd::ActionHashSHA256,
         "SHA256: 5891b5b522d5df086d0ff0b110fbd9d21bb4fc7163af34d08286a2e846f6be03"},
    };
    for (const auto& c : cases) {
        form->TextBuffer()->setText(QString());
        host->script.expectOpenName(file);
        commands->run(c.id);
        QCOMPARE(text(), QString(c.inserted));
    }
    QCOMPARE(form->LastSizeFile(), file);
    QCOMPARE(host->script.fileDialogs.first().dir, dir.path() + u'/');
    QCOMPARE(host->script.fileDialogs.last().dir, dir.path());
}

void TestSmallInsertCmds::digestOfAMissingFileIsAnError() {
    const QString file = dir.filePath("gone.bin");
    open(ftHtml, "a^b");
    host->script.expectOpenName(file).expectError("gone.bin");
    commands->run(cmd::ActionHashSHA1);
    QCOMPARE(text(), QString("ab"));
    QCOMPARE(form->LastSizeFile(), QString());
    QVERIFY(host->script.shown.last().contains(file));
}

void TestSmallInsertCmds::mailLinks_data() {
    QTest::addColumn<int>("command");
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("after");
    QTest::newRow("plain, no selection") << int(cmd::ActionMailto) << "^"
                                         << "info@example.org"
                                         << "<a href=\"mailto:info@example.org\">^</a>";
    QTest::newRow("plain, the selection is the text")
        << int(cmd::ActionMailto) << "«Write <b>us</b>»"
        << "a@b"
        << "<a href=\"mailto:a@b\">Write <b>us</b></a>^";
    QTest::newRow("plain, quote and ampersand in the address")
        << int(cmd::ActionMailto) << "^"
        << "tom&\"jerry@x.org"
        << "<a href=\"mailto:tom&amp;&quot;jerry@x.org\">^</a>";
}

void TestSmallInsertCmds::mailLinks() {
    QFETCH(int, command);
    QFETCH(QString, before);
    QFETCH(QString, address);
    QFETCH(QString, after);
    open(ftHtml, before);
    host->elements.expect(Kind::Mail, {address});
    commands->run(cmd::TDocCommandId(command));
    QCOMPARE(rendered(), after);
}

void TestSmallInsertCmds::encodedMailWithoutSelection() {
    open(ftHtml, "  ^");
    host->elements.expect(Kind::Mail, {"a@b"});
    commands->run(cmd::ActionMailtoCode);
    const QRegularExpression re(
        "^  <script language=\"JavaScript\" type=\"text/javascript\">\n    MailEncode\\('\\^',\n"
        "    '(\\d+):(\\d+):(\\d+):(\\d+)'\\);\n  </script>\n$");
    const QRegularExpressionMatch m = re.match(rendered());
    QVERIFY2(m.hasMatch(), qPrintable(rendered()));
    const int key = m.captured(1).toInt();
    QCOMPARE(m.captured(4).toInt(), 'b' ^ key);
    // One undoable step.
    form->TextBuffer()->undo();
    QCOMPARE(text(), QString("  "));
}

void TestSmallInsertCmds::decodeShowsTheAddress_data() {
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("shown"); // empty: nothing shown
    QTest::newRow("selected code") << int(ftJs) << "x «200:169:136:170» y"
                                   << "a@b";
    QTest::newRow("code between quotes in html")
        << int(ftHtml) << "MailEncode('Me',\n  '200:16^9:136:170');"
        << "a@b";
    QTest::newRow("quotes only count in html") << int(ftJs) << "'200:16^9:136:170'"
                                               << "";
    QTest::newRow("key with a zero low byte") << int(ftHtml) << "'256:9^7:64'"
                                              << "";
}

void TestSmallInsertCmds::decodeShowsTheAddress() {
    QFETCH(int, type);
    QFETCH(QString, before);
    QFETCH(QString, shown);
    open(TFileTypes(type), before);
    if (!shown.isEmpty())
        host->script.expectInfo("Decoded text:\r\n" + shown);
    commands->run(cmd::ActionDecode);
    QCOMPARE(host->script.shown.isEmpty(), shown.isEmpty());
}

void TestSmallInsertCmds::javaScriptPieces_data() {
    QTest::addColumn<int>("command");
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("after");
    QTest::newRow("structure")
        << int(cmd::ActionJSBody) << "  ^"
        << "    <script language=\"JavaScript\" type=\"text/javascript\">\n    <!--\n  ^\n    "
           "//-->\n  </script>\n";
    QTest::newRow("link") << int(cmd::ActionJSLink) << "<a href=\"^\">"
                          << "<a href=\"javascript:^('')\">";
    QTest::newRow("script tag") << int(cmd::ActionScriptTag) << "^"
                                << "<script language=\"JavaScript\">^";
}

void TestSmallInsertCmds::javaScriptPieces() {
    QFETCH(int, command);
    QFETCH(QString, before);
    QFETCH(QString, after);
    open(ftHtml, before);
    commands->run(cmd::TDocCommandId(command));
    QCOMPARE(rendered(), after);
}

void TestSmallInsertCmds::textAsJsArgumentFollowsTheClipboard() {
    QClipboard* clip = QApplication::clipboard();
    clip->clear();
    open(ftHtml, "document.write('^');");
    QVERIFY(!commands->action(cmd::ActionJsText)->isEnabled());
    clip->setText(QStringLiteral("He said \"hi\"\r\nto C:\\me"));
    QTRY_VERIFY(commands->action(cmd::ActionJsText)->isEnabled());
    commands->run(cmd::ActionJsText);
    QCOMPARE(text(), QString("document.write(' He said &quot;hi&quot; to C:\\\\me');"));
    clip->clear();
    QTRY_VERIFY(!commands->action(cmd::ActionJsText)->isEnabled());
}

void TestSmallInsertCmds::menusAndToolbar() {
    open(ftHtml, "^");
    // The context menu offers the file size and the decoder.
    const QList<QAction*> context = commands->commands().contextMenu()->actions();
    QVERIFY(context.contains(commands->action(cmd::ActionFileSize)));
    QVERIFY(context.contains(commands->action(cmd::ActionDecode)));
    // The "Other" page: the "Javascript" button inserts the script tag when clicked and
    // offers the pieces when dropped down.
    QWidget owner;
    QTabWidget* pages = commands->commands().toolPanel(
        &owner, [] { return false; }, [](bool) {});
    QToolBar* other = nullptr;
    for (int i = 0; i < pages->count(); ++i)
        if (pages->tabText(i) == QLatin1String("Other"))
            other = qobject_cast<QToolBar*>(pages->widget(i));
    QVERIFY(other);
    auto* js =
        qobject_cast<QToolButton*>(other->widgetForAction(commands->action(cmd::ActionScriptTag)));
    QVERIFY(js && js->menu());
    QCOMPARE(js->popupMode(), QToolButton::MenuButtonPopup);
    QVERIFY(js->menu()->actions().contains(commands->action(cmd::ActionJsDecode)));
    js->click();
    QCOMPARE(text(), QString("<script language=\"JavaScript\">"));
}

void TestSmallInsertCmds::fileSizeDialog() {
    const QString file = dir.filePath("a.bin");
    test::writeAll(file, QByteArray(1536, 'x'));
    TFileSizeDialog dlg;
    dlg.setup(file, false, true);
    QCOMPARE(dlg.sizeField()->text(), QString("1,50 KiB"));
    dlg.pointButton()->click();
    QCOMPARE(dlg.sizeField()->text(), QString("1.50 KiB"));
    dlg.decimalButton()->click();
    QCOMPARE(dlg.sizeField()->text(), QString("1.54 kB"));
    // What the user typed is rewritten, not the file's size.
    dlg.sizeField()->setText(QStringLiteral("2.5 MB"));
    dlg.commaButton()->click();
    QCOMPARE(dlg.sizeField()->text(), QString("2,50 MB"));
    // A text that does not read keeps the dialog open.
    dlg.sizeField()->setText(QStringLiteral("lots"));
    dlg.okButton()->click();
    QCOMPARE(dlg.result(), int(QDialog::Rejected));
    // The choices and the size go back on OK.
    QString name = file, size;
    bool decimal = true, comma = false;
    QTimer::singleShot(0, &dlg, [&dlg] {
        dlg.sizeField()->setText(QStringLiteral("3 KiB"));
        dlg.okButton()->click();
    });
    QVERIFY(dlg.Execute(name, decimal, comma, size));
    QCOMPARE(size, QString("3.07 kB")); // read, then written in decimal units as chosen
    QVERIFY(decimal);
    QVERIFY(!comma);
    QCOMPARE(name, file);
}

void TestSmallInsertCmds::mailAddressDialog() {
    TMailAdrDialog dlg;
    QStringList names{"info", "sales"};
    QStringList domains{"@example.org"};
    QString address = QStringLiteral("webmaster@site.net");
    QTimer::singleShot(0, &dlg, [&dlg] {
        QCOMPARE(dlg.nameField()->currentText(), QString("webmaster"));
        QCOMPARE(dlg.domainField()->currentText(), QString("site.net"));
        QCOMPARE(dlg.nameField()->count(), 2);
        dlg.nameField()->setEditText(QStringLiteral("sales"));
        dlg.accept();
    });
    QVERIFY(dlg.Execute(TOpenAt(QPoint(10, 10)), names, domains, address));
    QCOMPARE(address, QString("sales@site.net"));
    QCOMPARE(names, (QStringList{"sales", "info"}));
    QCOMPARE(domains, (QStringList{"@site.net", "@example.org"}));
    // Cancel changes nothing.
    QTimer::singleShot(0, &dlg, [&dlg] { dlg.reject(); });
    QString kept = address;
    QVERIFY(!dlg.Execute(TOpenAt(QPoint(10, 10)), names, domains, kept));
    QCOMPARE(kept, address);
    QCOMPARE(names.size(), 2);
}

QTEST_MAIN(TestSmallInsertCmds)
#include "tst_smallinsertcmds.moc"
