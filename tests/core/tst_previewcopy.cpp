#include "base/core/IniFileUtils.h"
#include "preview/core/PreviewCopy.h"
#include "preview/core/PreviewSettings.h"

#include "TestFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

using namespace orvel;
using orvel::test::readAll;
using orvel::test::writeAll;

namespace {
const QByteArray kTemplate = "<!DOCTYPE html>\r\n"
                             "<!-- #var\r\n"
                             "  title = Home page // the site's start\r\n"
                             "-->\r\n"
                             "<h1>[%Title]</h1>\r\n";

TPreviewText textOf(const QByteArray& utf8, TFileFormat format = {seUTF8, false, lbCRLF},
                    bool expand = false) {
    TPreviewText t;
    t.utf8 = utf8;
    t.format = format;
    t.expand = expand;
    t.sourceName = QStringLiteral("/site/page.htt");
    return t;
}
} // namespace

class TestPreviewCopy : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void copyName_data();
    void copyName();
    void writtenInTheDocumentsFormat_data();
    void writtenInTheDocumentsFormat();
    void templateExpandedIntoTheCopyAlone();
    void templateWithoutHeader();
    void failureKeepsTheOldCopy();
    void unchangedTextIsNotWrittenAgain();
    void browserCommand_data();
    void browserCommand();
    void settingsRoundTrip();
    void sizesPackAndParse();
};

void TestPreviewCopy::copyName_data() {
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("expected");
    QTest::newRow("slash") << "/site/"
                           << "/site/~orvel.html";
    QTest::newRow("no slash") << "/site"
                              << "/site/~orvel.html";
    QTest::newRow("blanks") << "/my site/"
                            << "/my site/~orvel.html";
}

void TestPreviewCopy::copyName() {
    QFETCH(QString, folder);
    QFETCH(QString, expected);
    QCOMPARE(previewCopyName(folder, QStringLiteral("orvel")), expected);
}

void TestPreviewCopy::writtenInTheDocumentsFormat_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("encoding");
    QTest::addColumn<bool>("bom");
    QTest::addColumn<int>("lineBreak");
    QTest::addColumn<QByteArray>("bytes");
    const QString t = QStringLiteral("<p>Grüße</p>\r\n<p>x</p>");
    QTest::newRow("utf-8") << t << int(seUTF8) << false << int(lbCRLF)
                           << QByteArray("<p>Gr\xc3\xbc\xc3\x9f"
                                         "e</p>\r\n<p>x</p>");
    QTest::newRow("utf-8 bom lf") << QStringLiteral("a\nb") << int(seUTF8) << true << int(lbLF)
                                  << QByteArray("\xef\xbb\xbf"
                                                "a\nb");
    QTest::newRow("ansi") << t << int(seAnsi) << false << int(lbCRLF)
                          << QByteArray("<p>Gr\xfc\xdf"
                                        "e</p>\r\n<p>x</p>");
    QTest::newRow("utf-16le") << QStringLiteral("ü") << int(seUTF16LE) << true << int(lbCRLF)
                              << QByteArray("\xff\xfe\xfc\x00", 4);
    // What ANSI cannot hold still reaches the page, in UTF-8 with its mark.
    QTest::newRow("ansi cannot hold") << QStringLiteral("Ω") << int(seAnsi) << false << int(lbCRLF)
                                      << QByteArray("\xef\xbb\xbf\xce\xa9");
}

void TestPreviewCopy::writtenInTheDocumentsFormat() {
    QFETCH(QString, text);
    QFETCH(int, encoding);
    QFETCH(bool, bom);
    QFETCH(int, lineBreak);
    QFETCH(QByteArray, bytes);
    QTemporaryDir dir;
    const QString copy = previewCopyName(dir.path(), QStringLiteral("orvel"));
    const QByteArray utf8 = text.toUtf8();
    const TResult<QString> written =
        writePreviewCopy(copy, textOf(utf8, {TSynEncoding(encoding), bom, TLineBreak(lineBreak)}));
    QVERIFY2(written.ok(), qPrintable(written.error()));
    QCOMPARE(written.value(), copy);
    QCOMPARE(readAll(copy), bytes);
}

void TestPreviewCopy::templateExpandedIntoTheCopyAlone() {
    QTemporaryDir dir;
    // The template's own page from an earlier "Save as HTML", older than now.
    const QString page = dir.filePath(QStringLiteral("page.html"));
    writeAll(page, "<h1>published</h1>\r\n");
    QFile f(page);
    QVERIFY(f.open(QIODevice::ReadWrite));
    const QDateTime old = QDateTime::currentDateTime().addDays(-3);
    QVERIFY(f.setFileTime(old, QFileDevice::FileModificationTime));
    f.close();

    const QString copy = previewCopyName(dir.path(), QStringLiteral("orvel"));
    const TResult<QString> written =
        writePreviewCopy(copy, textOf(kTemplate, {seUTF8, false, lbCRLF}, true));
    QVERIFY2(written.ok(), qPrintable(written.error()));
    QCOMPARE(written.value(), copy);
    QCOMPARE(readAll(copy), QByteArray("<h1>Home page</h1>\r\n"));
    // Nothing else: no page written, no backup, no temporary file.
    QCOMPARE(readAll(page), QByteArray("<h1>published</h1>\r\n"));
    QCOMPARE(QFileInfo(page).lastModified(), old);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files, QDir::Name),
             QStringList({"page.html", "~orvel.html"}));
}

void TestPreviewCopy::templateWithoutHeader() {
    QTemporaryDir dir;
    const QString copy = previewCopyName(dir.path(), QStringLiteral("orvel"));
    const TResult<QString> none =
        writePreviewCopy(copy, textOf("<h1>[%title]</h1>\r\n", {seUTF8, false, lbCRLF}, true));
    QVERIFY(none.ok());
    QVERIFY(none.value().isEmpty());
    QVERIFY(!QFile::exists(copy));
    // A header that never ends would take the body for definitions: said, not shown empty.
    const TResult<QString> open = writePreviewCopy(
        copy, textOf("<!-- #var\r\na = 1\r\n<h1>x</h1>\r\n", {seUTF8, false, lbCRLF}, true));
    QVERIFY(!open.ok());
    QVERIFY2(open.error().contains("page.htt"), qPrintable(open.error()));
    QVERIFY(QDir(dir.path()).isEmpty());
}

void TestPreviewCopy::failureKeepsTheOldCopy() {
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("site"));
    QVERIFY(QDir().mkpath(folder));
    const QString copy = previewCopyName(folder, QStringLiteral("orvel"));
    writeAll(copy, "old copy");
    // A full disk stops the write: the message names the copy, the old one stays whole.
    const QByteArray big(64 * 1024, 'x');
    {
        test::FileSizeLimit limit(4096);
        const TResult<QString> written = writePreviewCopy(copy, textOf(big));
        QVERIFY(!written.ok());
        QVERIFY2(written.error().contains(copy), qPrintable(written.error()));
    }
    QCOMPARE(readAll(copy), QByteArray("old copy"));
    // A folder in the copy's place: no file can be written there.
    const QString blocked = previewCopyName(dir.path(), QStringLiteral("blocked"));
    QVERIFY(QDir().mkpath(blocked));
    QVERIFY(!writePreviewCopy(blocked, textOf("x")).ok());
}

void TestPreviewCopy::unchangedTextIsNotWrittenAgain() {
    QTemporaryDir dir;
    const QString copy = previewCopyName(dir.path(), QStringLiteral("orvel"));
    TPreviewWriter writer;
    QVERIFY(writer.write(copy, textOf("<p>one</p>")).ok());
    const TFileStamp first = fileStamp(copy);
    QCOMPARE(first.size, 10);
    QVERIFY(writer.write(copy, textOf("<p>one</p>")).ok());
    QCOMPARE(fileStamp(copy), first);
    // Another text of the same length, another encoding, expanded or not: written anew.
    QVERIFY(writer.write(copy, textOf("<p>two</p>")).ok());
    const TFileStamp second = fileStamp(copy);
    QVERIFY(second != first);
    QCOMPARE(readAll(copy), QByteArray("<p>two</p>"));
    QVERIFY(writer.write(copy, textOf("<p>two</p>", {seUTF8, true, lbCRLF})).ok());
    QCOMPARE(readAll(copy), QByteArray("\xef\xbb\xbf<p>two</p>"));
    // A copy changed or removed behind the writer's back is written again.
    QFile::remove(copy);
    QVERIFY(writer.write(copy, textOf("<p>two</p>", {seUTF8, true, lbCRLF})).ok());
    QCOMPARE(readAll(copy), QByteArray("\xef\xbb\xbf<p>two</p>"));
    writeAll(copy, "changed");
    QVERIFY(writer.write(copy, textOf("<p>two</p>", {seUTF8, true, lbCRLF})).ok());
    QCOMPARE(readAll(copy), QByteArray("\xef\xbb\xbf<p>two</p>"));
}

void TestPreviewCopy::browserCommand_data() {
    QTest::addColumn<QString>("browser");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("program");
    QTest::newRow("set") << "/usr/bin/firefox"
                         << "/site/~orvel.html"
                         << "/usr/bin/firefox";
    QTest::newRow("blanks and quotes") << "/opt/my browser/run"
                                       << "/my \"site\"/it's/~orvel.html"
                                       << "/opt/my browser/run";
    QTest::newRow("none") << ""
                          << "/site/~orvel.html"
                          << "xdg-open";
    QTest::newRow("blank") << "  "
                           << "/site/~orvel.html"
                           << "xdg-open";
}

void TestPreviewCopy::browserCommand() {
    QFETCH(QString, browser);
    QFETCH(QString, file);
    QFETCH(QString, program);
    const TBrowserCommand c = externalBrowserCommand(browser, file);
    QCOMPARE(c.program, program);
    QCOMPARE(c.arguments, QStringList{file}); // one argument, unquoted
}

void TestPreviewCopy::settingsRoundTrip() {
    TPreviewSettings defaults;
    TUnicodeIniFile empty = TUnicodeIniFile::FromBytes(QByteArray());
    defaults.Read(empty, QStringLiteral("Preview"));
    QCOMPARE(defaults.Width, 1024);
    QCOMPARE(defaults.Height, 768);
    QCOMPARE(defaults.Left, 10);
    QVERIFY(defaults.LiveRefresh);
    QCOMPARE(defaults.LiveRefreshDelay, 500);

    TPreviewSettings s;
    s.Left = -20;
    s.Top = 30;
    s.Width = 800;
    s.Height = 600;
    s.LiveRefresh = false;
    s.LiveRefreshDelay = 250;
    s.Zoom = 150;
    TUnicodeIniFile ini = TUnicodeIniFile::FromBytes(QByteArray());
    s.Write(ini, QStringLiteral("Preview"));
    TPreviewSettings back;
    back.Read(ini, QStringLiteral("Preview"));
    QCOMPARE(back.Left, -20);
    QCOMPARE(back.Top, 30);
    QCOMPARE(back.Width, 800);
    QCOMPARE(back.Height, 600);
    QCOMPARE(back.LiveRefresh, false);
    QCOMPARE(back.LiveRefreshDelay, 250);
    QCOMPARE(back.Zoom, 150);

    // Values out of range are brought into it.
    ini.WriteInteger(QStringLiteral("Preview"), QStringLiteral("Width"), 100000);
    ini.WriteInteger(QStringLiteral("Preview"), QStringLiteral("Height"), -5);
    ini.WriteInteger(QStringLiteral("Preview"), QStringLiteral("LiveRefreshDelay"), 0);
    ini.WriteInteger(QStringLiteral("Preview"), QStringLiteral("Zoom"), 9999);
    back.Read(ini, QStringLiteral("Preview"));
    QCOMPARE(back.Width, 0xFFFF);
    QCOMPARE(back.Height, 100);
    QCOMPARE(back.LiveRefreshDelay, kMinLiveRefreshDelay);
    QCOMPARE(back.Zoom, kMaxZoom);
}

void TestPreviewCopy::sizesPackAndParse() {
    QCOMPARE(presetPageSizes(), QStringList({"640x480", "800x600", "1024x768", "1280x960"}));
    QCOMPARE(packPageSize(QSize(1024, 768)), quint32(1024 | (768u << 16)));
    QCOMPARE(unpackPageSize(packPageSize(QSize(65535, 1))), QSize(65535, 1));
    QCOMPARE(parsePageSize("800x600"), QSize(800, 600));
    QCOMPARE(pageSizeText(QSize(640, 480)), QString("640x480"));
    for (const char* bad : {"", "800", "x600", "800x", "axb", "0x5", "1x2x3"})
        QVERIFY2(!parsePageSize(bad).isValid(), bad);
}

QTEST_GUILESS_MAIN(TestPreviewCopy)
#include "tst_previewcopy.moc"
