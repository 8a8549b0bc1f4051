#include "TestDocument.h"
#include "TestFiles.h"
#include "editor/ui/DocumentCommands.h"
#include "editor/ui/OrvelMDI.h"
#include "textcontrol/ui/EditorControl.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <memory>
#include <sys/resource.h>
#include <utime.h>

using namespace orvel;
using orvel::test::readAll;
using orvel::test::writeAll;

namespace {

// Written, and not declined by the user.
bool written(const TResult<bool>& saved) {
    return saved.ok() && saved.value();
}

QByteArray cp1252AllButBreaks() {
    QByteArray b;
    for (int i = 0; i < 256; ++i)
        if (i != '\r' && i != '\n')
            b += char(i);
    return b;
}

} // namespace

class TestMdiForm : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void unchangedRoundTrip_data();
    void unchangedRoundTrip();
    void mixedBreaksKept();
    void htmlEncodingReconciled_data();
    void htmlEncodingReconciled();
    void reloadMismatchMarksModified();
    void unencodableCharacterAsksForUtf8();
    void unencodableCharacterCancelled();
    void failedSaveKeepsOldFile();
    void templateFromCaretLine();
    void defaultTemplateGetsCharset();
    void newDocumentsOfOtherTypes();
    void saveTemplateLeavesDocument();
    void outsideChangeBySize();
    void backupCopyName();
    void readOnlyFile();
    void unreadableFileReported();
    void changeEncodingRewritesDeclaration();

private:
    std::unique_ptr<TMDIForm> make(TFileTypes type, TSynEncoding preset = seAnsi);
    QString path(const QString& name) const { return dir->filePath(name); }
    test::TestDocumentContext host;
    std::unique_ptr<QTemporaryDir> dir;
};

void TestMdiForm::init() {
    dir = std::make_unique<QTemporaryDir>();
    host.script.reset();
    host.elements.reset();
    host.root = dir->path() + u'/';
    host.dataDir = dir->path() + QStringLiteral("/data");
    QDir().mkpath(host.dataDir);
}

void TestMdiForm::cleanup() {
    const QStringList problems = host.script.problems();
    QVERIFY2(problems.isEmpty(), qPrintable(problems.join(u'\n')));
    dir.reset();
}

std::unique_ptr<TMDIForm> TestMdiForm::make(TFileTypes type, TSynEncoding preset) {
    auto form = std::make_unique<TMDIForm>(host, type, 1);
    form->presetFormat(preset, false);
    return form;
}

void TestMdiForm::unchangedRoundTrip_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("encoding");
    QTest::newRow("utf-8 with bom")
        << "a.txt" << QByteArray("\xEF\xBB\xBFh\xC3\xA4llo\r\n") << int(seUTF8);
    QTest::newRow("utf-8 without bom, lf")
        << "a.txt" << QByteArray("h\xC3\xA4llo\nx\n") << int(seUTF8);
    QTest::newRow("utf-16le") << "a.txt" << QByteArray("\xFF\xFEh\0\xE4\0\r\0\n\0", 10)
                              << int(seUTF16LE);
    QTest::newRow("utf-16be") << "a.txt" << QByteArray("\xFE\xFF\0h\0\xE4\0\r", 8)
                              << int(seUTF16BE);
    QTest::newRow("cp1252 every byte") << "a.txt" << cp1252AllButBreaks() << int(seAnsi);
    QTest::newRow("cr") << "a.css" << QByteArray("a\rb\r") << int(seAnsi);
    QTest::newRow("no final break") << "a.js" << QByteArray("a\r\nb") << int(seAnsi);
    QTest::newRow("empty") << "a.txt" << QByteArray() << int(seAnsi);
    QTest::newRow("nul bytes") << "a.txt" << QByteArray("a\0b\0\r\nc", 7) << int(seAnsi);
    QTest::newRow("line separator") << "a.txt"
                                    << QByteArray("a\xE2\x80\xA8"
                                                  "b\n")
                                    << int(seUTF8);
}

void TestMdiForm::unchangedRoundTrip() {
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(int, encoding);
    writeAll(path(name), bytes);
    auto form = make(name.endsWith(".css") ? ftCss : name.endsWith(".js") ? ftJs : ftText);
    QVERIFY(form->LoadText(path(name)).ok());
    QCOMPARE(int(form->Encoding()), encoding);
    QFile::remove(path(name));
    QVERIFY(written(form->SaveText()));
    QCOMPARE(readAll(path(name)), bytes);
}

// Each line keeps its own break: a save never changes bytes the user did not edit.
void TestMdiForm::mixedBreaksKept() {
    writeAll(path("m.txt"), "a\nb\r\nc\rd");
    auto form = make(ftText);
    QVERIFY(form->LoadText(path("m.txt")).ok());
    QVERIFY(written(form->SaveText()));
    QCOMPARE(readAll(path("m.txt")), QByteArray("a\nb\r\nc\rd"));
}

void TestMdiForm::htmlEncodingReconciled_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("preset");
    QTest::addColumn<int>("encoding");
    QTest::addColumn<QString>("declaration");
    QTest::addColumn<bool>("modified");
    const QByteArray head =
        "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\">";
    QTest::newRow("utf-8 file, no project: latin 1")
        << head + "<p>\xC3\xA4</p>" << int(seAnsi) << int(seAnsi) << "ISO-8859-1" << true;
    QTest::newRow("text latin 1 cannot hold keeps utf-8")
        << head + "<p>\xC5\x91</p>" << int(seAnsi) << int(seUTF8) << "utf-8" << false;
    QTest::newRow("same encoding")
        << head + "<p>\xC3\xA4</p>" << int(seUTF8) << int(seUTF8) << "utf-8" << false;
    QTest::newRow("html5 declaration rewritten")
        << QByteArray("<meta charset=\"ISO-8859-1\"><p>\xE4</p>") << int(seUTF8) << int(seUTF8)
        << "UTF-8" << true;
    QTest::newRow("declaration already right") << QByteArray("<meta charset=\"UTF-8\"><p>x</p>")
                                               << int(seUTF8) << int(seUTF8) << "UTF-8" << false;
}

void TestMdiForm::htmlEncodingReconciled() {
    QFETCH(QByteArray, bytes);
    QFETCH(int, preset);
    QFETCH(int, encoding);
    QFETCH(QString, declaration);
    QFETCH(bool, modified);
    writeAll(path("p.html"), bytes);
    auto form = make(ftHtml, TSynEncoding(preset));
    QVERIFY(form->LoadText(path("p.html")).ok());
    QCOMPARE(int(form->Encoding()), encoding);
    QCOMPARE(findCharsetDeclaration(form->TextBuffer()->textBytes()).value, declaration);
    QCOMPARE(form->modified(), modified);
    // Text outside the declaration is never touched.
    QVERIFY(form->TextBuffer()->text().endsWith(QString::fromUtf8(
        QByteArray(bytes.mid(bytes.lastIndexOf("<p>"))).replace("\xE4", "\xC3\xA4"))));
}

void TestMdiForm::reloadMismatchMarksModified() {
    writeAll(path("r.html"), "<meta charset=\"utf-8\"><p>\xC3\xA4</p>");
    auto form = make(ftHtml, seAnsi);
    QVERIFY(form->LoadText(path("r.html")).ok());
    form->TextBuffer()->setModified(false);
    QVERIFY(form->ReLoadText().ok());
    QVERIFY(form->modified());
    QCOMPARE(form->GetEncodingFromHeader(), seAnsi);
}

void TestMdiForm::unencodableCharacterAsksForUtf8() {
    writeAll(
        path("h.html"),
        "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=ISO-8859-1\">\r\n<p></p>");
    auto form = make(ftHtml, seAnsi);
    QVERIFY(form->LoadText(path("h.html")).ok());
    form->TextBuffer()->setCaretXY({4, 2});
    form->TextBuffer()->setSelText(QString::fromUtf8("ő"));
    host.script.expectAsk("(U+0151)", mrYes);
    QVERIFY(written(form->SaveText()));
    QCOMPARE(form->Encoding(), seUTF8);
    QCOMPARE(readAll(path("h.html")),
             QByteArray("<meta http-equiv=\"Content-Type\" content=\"text/html; charset=UTF-8\">"
                        "\r\n<p>\xC5\x91</p>"));
}

void TestMdiForm::unencodableCharacterCancelled() {
    writeAll(path("t.txt"), "abc");
    auto form = make(ftText);
    QVERIFY(form->LoadText(path("t.txt")).ok());
    form->TextBuffer()->setSelText(QString::fromUtf8("ő"));
    host.script.expectAsk("cannot hold", mrCancel);
    const TResult<bool> declined = form->SaveText();
    QVERIFY(declined.ok() && !declined.value());
    QCOMPARE(readAll(path("t.txt")), QByteArray("abc"));
    QVERIFY(form->modified());
    QCOMPARE(form->Encoding(), seAnsi);
}

void TestMdiForm::failedSaveKeepsOldFile() {
    const QByteArray old = "old contents\r\n";
    writeAll(path("big.txt"), old);
    auto form = make(ftText);
    QVERIFY(form->LoadText(path("big.txt")).ok());
    form->TextBuffer()->setSelText(QString(2 * 1024 * 1024, u'x'));
    // A file-size limit makes the write fail half-way, as a full disk would.
    struct rlimit saved;
    getrlimit(RLIMIT_FSIZE, &saved);
    struct rlimit low = saved;
    low.rlim_cur = 256 * 1024;
    auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &low);
    const QString message = form->SaveText().error();
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);
    QVERIFY2(message.contains(QDir::toNativeSeparators(path("big.txt"))), qPrintable(message));
    QCOMPARE(readAll(path("big.txt")), old);
    QVERIFY(form->modified());
    QCOMPARE(QDir(dir->path()).entryList(QDir::Files | QDir::Hidden).size(), 1); // no leftovers

    // An unwritable folder: the file's folder is gone.
    form->setFileName(path("missing/sub/x.txt"));
    QVERIFY(!form->SaveText().ok());
}

void TestMdiForm::templateFromCaretLine() {
    writeAll(path("~template.html"),
             "<html>\r\n<body>\r\n$3,5\r\n$ stays\r\n  <p>hello</p>\r\n</body>");
    auto form = make(ftHtml);
    form->InitNewText(QStringLiteral("*New1"), QString());
    QCOMPARE(form->TextBuffer()->text(),
             QString("<html>\r\n<body>\r\n$ stays\r\n  <p>hello</p>\r\n</body>"));
    QCOMPARE(form->TextBuffer()->caretXY(), (TBufferCoord{5, 3}));
    QCOMPARE(form->Status(), tsNew);
    QCOMPARE(form->TextName(), QString("*New1"));
    QCOMPARE(form->TimeStamp(), 0u);
    QVERIFY(!form->TextBuffer()->canUndo());
}

void TestMdiForm::defaultTemplateGetsCharset() {
    writeAll(host.dataDir + "/default.html",
             "<meta http-equiv=\"Content-Type\" content=\"text/html; "
             "charset=%s\">\n<body>\n$3,1\n\n</body>\n");
    auto form = make(ftHtml, seUTF8);
    form->InitNewText(QStringLiteral("*New2"), QString());
    QCOMPARE(form->TextBuffer()->text(),
             QString("<meta http-equiv=\"Content-Type\" content=\"text/html; "
                     "charset=UTF-8\">\n<body>\n\n</body>\n"));
    QCOMPARE(form->TextBuffer()->caretXY(), (TBufferCoord{1, 3}));
    QVERIFY(!form->modified());
    QCOMPARE(form->Encoding(), seUTF8);
}

void TestMdiForm::newDocumentsOfOtherTypes() {
    auto css = make(ftCss, seUTF8);
    css->InitNewText(QStringLiteral("*New3"), QString());
    QCOMPARE(css->TextBuffer()->text(), QString("@charset \"UTF-8\";\r\n"));
    QCOMPARE(css->TextBuffer()->caretXY(), (TBufferCoord{1, 2}));
    QVERIFY(!css->modified());
    auto js = make(ftJs);
    js->InitNewText(QStringLiteral("*New4"), QString());
    QVERIFY(js->TextBuffer()->text().isEmpty());
    QCOMPARE(js->TextPath(), host.root);
}

void TestMdiForm::saveTemplateLeavesDocument() {
    writeAll(path("d.txt"), "one\r\ntwo");
    auto form = make(ftText);
    QVERIFY(form->LoadText(path("d.txt")).ok());
    form->TextBuffer()->setCaretXY({3, 2});
    form->TextBuffer()->setSelText(QStringLiteral("X"));
    QVERIFY(form->SaveTemplate(path("~template.html")).ok());
    QCOMPARE(readAll(path("~template.html")), QByteArray("one\r\ntwXo\r\n$2,4\r\n"));
    QCOMPARE(form->TextBuffer()->text(), QString("one\r\ntwXo"));
    QVERIFY(form->modified());
    QVERIFY(form->TextBuffer()->canUndo());
}

void TestMdiForm::outsideChangeBySize() {
    writeAll(path("o.txt"), "first");
    auto form = make(ftText);
    QVERIFY(form->LoadText(path("o.txt")).ok());
    const QDateTime when = QFileInfo(path("o.txt")).lastModified();
    // Same time, other size: still a change.
    writeAll(path("o.txt"), "second text");
    QFile f(path("o.txt"));
    QVERIFY(f.open(QIODevice::ReadWrite));
    QVERIFY(f.setFileTime(when, QFileDevice::FileModificationTime));
    f.close();
    host.script.expectAsk("was changed by another application", mrNo);
    QVERIFY(!form->UpdateText());
    QCOMPARE(form->TextBuffer()->text(), QString("first"));
    // The question comes back at the next activation.
    host.script.expectAsk("was changed by another application", mrYes);
    QVERIFY(form->UpdateText());
    QCOMPARE(form->TextBuffer()->text(), QString("second text"));
    QVERIFY(!form->UpdateText()); // nothing new
}

void TestMdiForm::backupCopyName() {
    auto form = make(ftText);
    form->InitNewText(QStringLiteral("*New3"), dir->path());
    form->TextBuffer()->setSelText(QStringLiteral("draft"));
    QVERIFY(form->SaveTextToTemp().ok());
    QCOMPARE(form->autosaveName(), path("New3.tsv"));
    QCOMPARE(readAll(path("New3.tsv")), QByteArray("draft"));
    form->removeAutosaveCopy(); // the document goes
    QVERIFY(!QFile::exists(path("New3.tsv")));
}

void TestMdiForm::readOnlyFile() {
    if (geteuid() == 0)
        QSKIP("root may write every file");
    writeAll(path("ro.txt"), "x");
    QFile::setPermissions(path("ro.txt"), QFile::ReadOwner);
    auto form = make(ftText);
    QVERIFY(form->LoadText(path("ro.txt")).ok());
    QCOMPARE(form->Status(), tsReadOnly);
    QCOMPARE(form->caption(), "*" + path("ro.txt"));
}

void TestMdiForm::unreadableFileReported() {
    auto form = make(ftText);
    const TStatus loaded = form->LoadText(dir->path()); // a folder
    QVERIFY(!loaded.ok());
    QVERIFY(loaded.error().contains("Loading of"));
    QVERIFY(loaded.error().contains(QDir::toNativeSeparators(dir->path())));
}

void TestMdiForm::changeEncodingRewritesDeclaration() {
    writeAll(path("c.html"), "<head><META content=\"text/html; charset=iso-8859-1\" "
                             "http-equiv=\"content-type\"></head>");
    auto form = make(ftHtml, seAnsi);
    test::TestCommands commands(host);
    commands.attach(*form);
    QVERIFY(form->LoadText(path("c.html")).ok());
    QVERIFY(!form->modified());
    form->TextBuffer()->setCaretXY({80, 1});
    form->ChangeEncoding(seUTF16BE);
    QCOMPARE(form->Encoding(), seUTF16BE);
    QCOMPARE(form->TextBuffer()->text(),
             QString("<head><META content=\"text/html; charset=UTF-16\" "
                     "http-equiv=\"content-type\"></head>"));
    QCOMPARE(form->TextBuffer()->caretXY(), (TBufferCoord{76, 1})); // same place in the text
    form->TextBuffer()->undo();
    QVERIFY(!form->modified());
    QVERIFY(commands.action(cmd::ActionToUtf16BE)->isChecked());
}

QTEST_MAIN(TestMdiForm)
#include "tst_mdiform.moc"
