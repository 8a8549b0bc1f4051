// The pieces of FTP text the session reads: replies, reply texts and directory listings.

#include "projects/core/FtpListing.h"
#include "projects/core/FtpReply.h"

#include <QTest>

using namespace orvel;

class TestFtpParsers : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void replies_data();
    void replies();
    void replyFedByteByByte();
    void replyLimits();
    void replyTexts_data();
    void replyTexts();
    void dataAddresses();
    void listingLines_data();
    void listingLines();
};

void TestFtpParsers::replies_data() {
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QStringList>("replies"); // "code:line|line"
    QTest::addColumn<bool>("failed");
    QTest::newRow("one") << QByteArray("220 Ready\r\n") << QStringList{"220:Ready"} << false;
    QTest::newRow("bare LF") << QByteArray("200 OK\n") << QStringList{"200:OK"} << false;
    QTest::newRow("code alone") << QByteArray("200\r\n") << QStringList{"200:"} << false;
    QTest::newRow("two in one packet")
        << QByteArray("150 Here\r\n226 Done\r\n") << QStringList{"150:Here", "226:Done"} << false;
    QTest::newRow("multi-line") << QByteArray("211-Features:\r\n MDTM\r\n211-UTF8\r\n211 End\r\n")
                                << QStringList{"211:Features:| MDTM|UTF8|End"} << false;
    QTest::newRow("inner line with other code")
        << QByteArray("220-Hi\r\n230 not the end\r\n220 Ready\r\n")
        << QStringList{"220:Hi|230 not the end|Ready"} << false;
    QTest::newRow("unfinished") << QByteArray("220-Hi\r\n220 Rea") << QStringList{} << false;
    QTest::newRow("no code") << QByteArray("hello\r\n") << QStringList{} << true;
    QTest::newRow("code 600") << QByteArray("600 what\r\n") << QStringList{} << true;
    QTest::newRow("bad separator") << QByteArray("220_x\r\n") << QStringList{} << true;
    QTest::newRow("garbage after a reply")
        << QByteArray("200 OK\r\n\x01\x02\r\n") << QStringList{} << true;
}

void TestFtpParsers::replies() {
    QFETCH(QByteArray, input);
    QFETCH(QStringList, replies);
    QFETCH(bool, failed);
    TFtpReplyReader reader;
    reader.feed(input);
    QStringList got;
    while (auto r = reader.next())
        got.append(QString::number(r->Code) + u':' + r->Lines.join(u'|'));
    QCOMPARE(reader.failed(), failed);
    if (!failed)
        QCOMPARE(got, replies);
}

void TestFtpParsers::replyFedByteByByte() {
    const QByteArray input = "220-Welcome\r\n220 Ready\r\n257 \"/a b\" here\r\n";
    TFtpReplyReader reader;
    QList<TFtpReply> got;
    for (char c : input) {
        QVERIFY(reader.feed(QByteArray(1, c)));
        while (auto r = reader.next())
            got.append(*r);
    }
    QCOMPARE(got.size(), 2);
    QCOMPARE(got.at(0).text(), QStringLiteral("Welcome\nReady"));
    QCOMPARE(quotedPath(got.at(1).firstLine()), QStringLiteral("/a b"));
}

void TestFtpParsers::replyLimits() {
    TFtpReplyReader endless;
    const QByteArray chunk(4096, 'a');
    bool ok = true;
    for (int i = 0; i < 100 && ok; ++i)
        ok = endless.feed(i == 0 ? "220 " + chunk : chunk);
    QVERIFY(!ok);
    QVERIFY(endless.error().contains(QStringLiteral("too long")));

    // A multi-line reply without end, in short lines (each within bounds).
    TFtpReplyReader flood;
    QVERIFY(flood.feed("220-start\r\n"));
    ok = true;
    for (int i = 0; i < 400000 && ok; ++i) // 1.2 MB in all
        ok = flood.feed("x\r\n");
    QVERIFY(!ok);
    QVERIFY(flood.error().contains(QStringLiteral("too long")));
}

void TestFtpParsers::replyTexts_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("path");
    QTest::newRow("plain") << "\"/pub\" is the current directory"
                           << "/pub";
    QTest::newRow("doubled quotes") << "\"/a \"\"b\"\"\" created"
                                    << "/a \"b\"";
    QTest::newRow("empty") << "\"\" odd"
                           << "";
    QTest::newRow("unclosed") << "\"/pub" << QString();
    QTest::newRow("none") << "Directory changed." << QString();
}

void TestFtpParsers::replyTexts() {
    QFETCH(QString, text);
    QFETCH(QString, path);
    const QString got = quotedPath(text);
    QCOMPARE(got.isNull(), path.isNull());
    QCOMPARE(got, path);
}

void TestFtpParsers::dataAddresses() {
    QCOMPARE(parseEpsvReply(QStringLiteral("Entering Extended Passive Mode (|||6446|)")),
             quint16(6446));
    QCOMPARE(parseEpsvReply(QStringLiteral("Entering Extended Passive Mode (!!!21!)")),
             quint16(21));
    QCOMPARE(parseEpsvReply(QStringLiteral("(|||99999|)")), quint16(0));
    QCOMPARE(parseEpsvReply(QStringLiteral("(|||6446!)")), quint16(0));
    QHostAddress host;
    quint16 port = 0;
    QVERIFY(parsePasvReply(QStringLiteral("Entering Passive Mode (10,1,2,3,19,137)"), host, port));
    QCOMPARE(host, QHostAddress(QStringLiteral("10.1.2.3")));
    QCOMPARE(port, quint16(19 * 256 + 137));
    QVERIFY(!parsePasvReply(QStringLiteral("(300,1,2,3,4,5)"), host, port));
    QCOMPARE(eprtArgument(QHostAddress::LocalHost, 5000), QStringLiteral("|1|127.0.0.1|5000|"));
    QCOMPARE(portArgument(QHostAddress::LocalHost, 5001), QStringLiteral("127,0,0,1,19,137"));
    QCOMPARE(parseFtpTime(QStringLiteral("20240229235959.123")),
             QDateTime(QDate(2024, 2, 29), QTime(23, 59, 59, 123), Qt::UTC));
    QVERIFY(!parseFtpTime(QStringLiteral("20230229000000")).isValid());
    QCOMPARE(formatFtpTime(QDateTime(QDate(2024, 1, 2), QTime(3, 4, 5), Qt::UTC)),
             QStringLiteral("20240102030405"));
}

void TestFtpParsers::listingLines_data() {
    QTest::addColumn<int>("format"); // 0 MLSD, 1 LIST
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QString>("name"); // null: no entry
    QTest::addColumn<bool>("dir");
    QTest::addColumn<qint64>("size");
    QTest::addColumn<QDateTime>("time"); // as listed; UTC for MLSD
    const QDateTime none;
    const auto at = [](int y, int mo, int d, int h, int mi, int s = 0) {
        return QDateTime(QDate(y, mo, d), QTime(h, mi, s));
    };
    const auto utc = [](int y, int mo, int d, int h, int mi, int s) {
        return QDateTime(QDate(y, mo, d), QTime(h, mi, s), Qt::UTC);
    };
    // "today" is 2024-06-15.
    QTest::newRow("mlsd file") << 0
                               << QByteArray("type=file;size=12;modify=20240102030405; a b.htm")
                               << "a b.htm" << false << qint64(12) << utc(2024, 1, 2, 3, 4, 5);
    QTest::newRow("mlsd dir, facts in any case")
        << 0 << QByteArray("Type=dir;Modify=20240102030405;UNIX.mode=0755; sub") << "sub" << true
        << qint64(-1) << utc(2024, 1, 2, 3, 4, 5);
    QTest::newRow("mlsd cdir") << 0 << QByteArray("type=cdir; /pub") << QString() << false
                               << qint64(-1) << none;
    QTest::newRow("mlsd name with leading blank")
        << 0 << QByteArray("type=file;size=1;  lead") << " lead" << false << qint64(1) << none;
    QTest::newRow("mlsd UTF-8") << 0
                                << QByteArray("type=file;size=1; Gr\xC3\xBC\xC3\x9F"
                                              "e.htm")
                                << "Grüße.htm" << false << qint64(1) << none;
    QTest::newRow("unix file this year")
        << 1 << QByteArray("-rw-r--r--    1 1000     1000         4096 Mar  1 12:34 index.htm")
        << "index.htm" << false << qint64(4096) << at(2024, 3, 1, 12, 34);
    QTest::newRow("unix date ahead belongs to last year")
        << 1 << QByteArray("-rw-r--r-- 1 u g 1 Dec 24 08:00 x.htm") << "x.htm" << false << qint64(1)
        << at(2023, 12, 24, 8, 0);
    QTest::newRow("unix with year, blanks in name")
        << 1 << QByteArray("-rw-r--r-- 1 u g 77 Jan  5  2019 my  page.htm") << "my  page.htm"
        << false << qint64(77) << at(2019, 1, 5, 0, 0);
    QTest::newRow("unix without group")
        << 1 << QByteArray("-rw-r--r-- 1 owner 5 Feb 29  2020 leap.htm") << "leap.htm" << false
        << qint64(5) << at(2020, 2, 29, 0, 0);
    QTest::newRow("unix dir") << 1 << QByteArray("drwxr-xr-x 2 u g 4096 Jun  1 10:00 images")
                              << "images" << true << qint64(4096) << at(2024, 6, 1, 10, 0);
    QTest::newRow("unix link") << 1 << QByteArray("lrwxrwxrwx 1 u g 9 Jun  1 10:00 cur -> a/b")
                               << "cur" << false << qint64(9) << at(2024, 6, 1, 10, 0);
    QTest::newRow("unix dot") << 1 << QByteArray("drwxr-xr-x 2 u g 4096 Jun  1 10:00 .")
                              << QString() << false << qint64(-1) << none;
    QTest::newRow("unix total") << 1 << QByteArray("total 12") << QString() << false << qint64(-1)
                                << none;
    QTest::newRow("unix bad date") << 1 << QByteArray("-rw-r--r-- 1 u g 1 Feb 31  2020 x")
                                   << QString() << false << qint64(-1) << none;
    QTest::newRow("windows file") << 1
                                  << QByteArray("03-01-23  12:34PM              1234 My File.htm")
                                  << "My File.htm" << false << qint64(1234)
                                  << at(2023, 3, 1, 12, 34);
    QTest::newRow("windows dir, morning")
        << 1 << QByteArray("11-30-99  12:05AM       <DIR>          old stuff") << "old stuff"
        << true << qint64(-1) << at(1999, 11, 30, 0, 5);
    QTest::newRow("windows four-digit year")
        << 1 << QByteArray("2023-03-01  18:00  <DIR>  new") << "new" << true << qint64(-1)
        << at(2023, 3, 1, 18, 0);
}

void TestFtpParsers::listingLines() {
    QFETCH(int, format);
    QFETCH(QByteArray, line);
    QFETCH(QString, name);
    QFETCH(bool, dir);
    QFETCH(qint64, size);
    QFETCH(QDateTime, time);
    const TParsedListing l =
        parseListing(line + "\r\n", format == 0 ? lfMlsd : lfList, QDate(2024, 6, 15));
    if (name.isNull()) {
        QVERIFY(l.Entries.isEmpty());
        return;
    }
    QCOMPARE(l.Entries.size(), 1);
    const TFtpListEntry& e = l.Entries.first();
    QCOMPARE(e.Info.FFileName, name);
    QCOMPARE(e.Directory, dir);
    QCOMPARE(e.Info.FSize, size);
    if (format == 0) {
        QCOMPARE(e.Info.FModifiedDateGMT, time);
    } else {
        QVERIFY(!e.Info.FModifiedDateGMT.isValid()); // LIST times are no exact times
        QCOMPARE(e.Info.FModifiedDate, time);
    }
}

QTEST_GUILESS_MAIN(TestFtpParsers)
#include "tst_ftpparsers.moc"
