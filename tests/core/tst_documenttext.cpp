#include "base/core/FileSystem.h"
#include "base/core/FileTypes.h"
#include "editor/core/DocumentText.h"
#include "editor/core/IdList.h"

#include <QTest>

using namespace orvel;

class TestDocumentText : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void charsetDeclaration_data();
    void charsetDeclaration();
    void charsetNames_data();
    void charsetNames();
    void caretLine_data();
    void caretLine();
    void newDocumentTexts();
    void idListOrderOfUse();
    void fileTypeOfExt_data();
    void fileTypeOfExt();
    void networkPaths_data();
    void networkPaths();
};

void TestDocumentText::charsetDeclaration_data() {
    QTest::addColumn<QByteArray>("html");
    QTest::addColumn<QString>("value"); // empty: no declaration
    QTest::newRow("http-equiv first")
        << QByteArray(
               "<head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\">")
        << "utf-8";
    QTest::newRow("content first, upper case")
        << QByteArray(
               "<META CONTENT=\"text/html; CHARSET=ISO-8859-1\" HTTP-EQUIV=\"content-type\">")
        << "ISO-8859-1";
    QTest::newRow("html5") << QByteArray("<meta charset=\"UTF-16\">") << "UTF-16";
    QTest::newRow("html5 unquoted, self-closed") << QByteArray("<meta charset=utf-8 />") << "utf-8";
    QTest::newRow("single quotes, blanks round =")
        << QByteArray("<meta http-equiv='Content-Type' content='text/html; charset = utf-8'>")
        << "utf-8";
    QTest::newRow("no closing quote") << QByteArray("<meta charset=\"utf-8>\n<p>text</p>") << "";
    QTest::newRow("other meta with charset word")
        << QByteArray("<meta name=\"description\" content=\"charset=koi8\">"
                      "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=UTF-8\">")
        << "UTF-8";
    QTest::newRow("charset attribute on another element")
        << QByteArray("<script charset=\"utf-8\"></script>") << "";
    QTest::newRow("metadata element is no meta") << QByteArray("<metadata charset=\"x\">") << "";
    QTest::newRow("content-type without charset")
        << QByteArray("<meta http-equiv=\"Content-Type\" content=\"text/html\">") << "";
    QTest::newRow("none") << QByteArray("<html><body>charset=utf-8</body></html>") << "";
}

void TestDocumentText::charsetDeclaration() {
    QFETCH(QByteArray, html);
    QFETCH(QString, value);
    const TCharsetDeclaration d = findCharsetDeclaration(html);
    QCOMPARE(d.found(), !value.isEmpty());
    if (d.found()) {
        QCOMPARE(d.value, value);
        // The range points at the value itself, so rewriting it touches nothing else.
        QCOMPARE(QString::fromUtf8(html.mid(d.start, d.length)).trimmed(), value);
    }
}

void TestDocumentText::charsetNames_data() {
    QTest::addColumn<QString>("value");
    QTest::addColumn<int>("encoding"); // -1: none
    QTest::newRow("utf-8") << "utf-8" << int(seUTF8);
    QTest::newRow("UTF-16 is little-endian") << "UTF-16" << int(seUTF16LE);
    QTest::newRow("latin-1") << "iso-8859-1" << int(seAnsi);
    QTest::newRow("unknown") << "koi8-r" << -1;
    QTest::newRow("marker") << "%s" << -1;
}

void TestDocumentText::charsetNames() {
    QFETCH(QString, value);
    QFETCH(int, encoding);
    const auto e = encodingOfCharset(value);
    QCOMPARE(e ? int(*e) : -1, encoding);
}

void TestDocumentText::caretLine_data() {
    QTest::addColumn<QString>("line");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<int>("lineNo");
    QTest::addColumn<int>("column");
    QTest::newRow("plain") << "$3,5" << true << 3 << 5;
    QTest::newRow("big") << "$120,44" << true << 120 << 44;
    QTest::newRow("text after") << "$3,5 " << false << 0 << 0;
    QTest::newRow("php variable") << "$total = 3;" << false << 0 << 0;
    QTest::newRow("no column") << "$3," << false << 0 << 0;
    QTest::newRow("no line") << "$,5" << false << 0 << 0;
    QTest::newRow("blank inside") << "$ 3,5" << false << 0 << 0;
    QTest::newRow("two dollars") << "$$3,5" << false << 0 << 0;
    QTest::newRow("sign") << "$-3,5" << false << 0 << 0;
}

void TestDocumentText::caretLine() {
    QFETCH(QString, line);
    QFETCH(bool, valid);
    const auto pos = parseCaretLine(line);
    QCOMPARE(pos.has_value(), valid);
    if (valid) {
        QFETCH(int, lineNo);
        QFETCH(int, column);
        QCOMPARE(pos->Line, lineNo);
        QCOMPARE(pos->Char, column);
        QCOMPARE(parseCaretLine(orvel::caretLine(*pos)), pos);
    }
}

void TestDocumentText::newDocumentTexts() {
    QCOMPARE(newDocumentText(ftCss, seUTF8, lbCRLF), QString("@charset \"UTF-8\";\r\n"));
    QCOMPARE(newDocumentText(ftPhp, seAnsi, lbLF), QString("<?php\n\n?>"));
    QCOMPARE(newDocumentText(ftPerl, seAnsi, lbCRLF),
             QString("#!/bin/perl\r\nrequire \"cgi-lib.pl\";\r\n"));
    QCOMPARE(newDocumentText(ftVbs, seAnsi, lbCRLF), QString("' Visual Basic Script\r\n"));
    QVERIFY(newDocumentText(ftJs, seAnsi, lbCRLF).isEmpty());
    QVERIFY(newDocumentText(ftText, seAnsi, lbCRLF).isEmpty());
}

void TestDocumentText::idListOrderOfUse() {
    TIdList ids;
    const int a = ids.NewId(), b = ids.NewId(), c = ids.NewId();
    QCOMPARE(a, 1);
    ids.Add(a);
    ids.Add(b);
    ids.Add(c); // used in the order A, B, C
    QCOMPARE(ids.Next(c), a);
    QCOMPARE(ids.Next(a), b);
    QCOMPARE(ids.Next(b), c);
    TIdList back;
    for (int i = 0; i < 3; ++i)
        back.Add(back.NewId());
    QCOMPARE(back.Previous(), 2);
    QCOMPARE(back.Previous(), 1);
    // Closing the active window shows the one used before it.
    TIdList closing;
    closing.Add(1);
    closing.Add(3);
    closing.Add(2);
    QCOMPARE(closing.Remove(2), 3);
    QCOMPARE(closing.Remove(3), 1);
    QCOMPARE(closing.Remove(1), 0);
    TIdList single;
    single.Add(7);
    QCOMPARE(single.Next(7), 7);
    QCOMPARE(single.Previous(), 0);
}

void TestDocumentText::fileTypeOfExt_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("htmlTypes");
    QTest::addColumn<int>("type");
    QTest::newRow("html") << "/a/index.HTML"
                          << "html,htm,htt" << int(ftHtml);
    QTest::newRow("template") << "x.htt"
                              << "html,htm,htt" << int(ftHtml);
    QTest::newRow("perl") << "x.pl"
                          << "html,htm,htt" << int(ftPerl);
    QTest::newRow("unknown is text") << "logo.png"
                                     << "html,htm,htt" << int(ftText);
    QTest::newRow("no extension") << "Makefile"
                                  << "html,htm,htt" << int(ftText);
    QTest::newRow("user added png") << "logo.png"
                                    << "html, htm,htt,png" << int(ftHtml);
}

void TestDocumentText::fileTypeOfExt() {
    QFETCH(QString, name);
    QFETCH(QString, htmlTypes);
    QFETCH(int, type);
    QList<TFileType> table = defaultFileTypes();
    table[ftHtml].Types = htmlTypes;
    QCOMPARE(int(FileTypeOfName(table, name)), type);
}

void TestDocumentText::networkPaths_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("network");
    QTest::newRow("local") << "/home/u/site" << false;
    QTest::newRow("nfs") << "/srv/share/site/a" << true;
    QTest::newRow("sshfs with blank") << "/mnt/my web/x" << true;
    QTest::newRow("local below network mount point") << "/srv/share/local/x" << false;
    QTest::newRow("prefix is no folder") << "/srv/shareX/a" << false;
}

void TestDocumentText::networkPaths() {
    QFETCH(QString, path);
    QFETCH(bool, network);
    const QByteArray mounts = "/dev/vda / ext4 rw 0 0\n"
                              "server:/export /srv/share nfs4 rw 0 0\n"
                              "/dev/vdb /srv/share/local ext4 rw 0 0\n"
                              "u@host:/ /mnt/my\\040web fuse.sshfs rw 0 0\n";
    QCOMPARE(isNetworkPathIn(path, mounts), network);
}

QTEST_GUILESS_MAIN(TestDocumentText)
#include "tst_documenttext.moc"
