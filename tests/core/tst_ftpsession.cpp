// The FTP session against a scripted server: exact command transcripts, and the broken and
// hostile servers a publishing run must survive.

#include "FakeFtpServer.h"
#include "TestFiles.h"
#include "projects/core/FtpUtils.h"

#include <QBuffer>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace orvel;
using orvel::test::FakeFtpServer;

namespace {
const QStringList kLogin{"USER anonymous", "PASS secret", "FEAT", "OPTS UTF8 ON", "TYPE I", "PWD"};

void setUp(TExtFtp& ftp, const FakeFtpServer& srv) {
    ftp.Host = QStringLiteral("127.0.0.1");
    ftp.Port = srv.port();
    ftp.Username = QStringLiteral("anonymous");
    ftp.Password = QStringLiteral("secret");
    ftp.Passive = true;
    ftp.ConnectTimeout = 3000;
    ftp.TransferTimeout = 3000;
}

bool connectTo(TExtFtp& ftp, const FakeFtpServer& srv) {
    setUp(ftp, srv);
    return ftp.Connect().ok();
}

QByteArray payload(int size) {
    QByteArray b(size, Qt::Uninitialized);
    for (int i = 0; i < size; ++i)
        b[i] = char((i * 7 + i / 251) & 0xFF);
    return b;
}
} // namespace

class TestFtpSession : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void loginTranscriptAndLog();
    void forceDirCreatesWhatIsMissing();
    void forceDirLoginFolderAtSlashOnly();
    void hostileListing();
    void namesWithLineBreaksAreNeverSent();
    void dataConnectionRefused();
    void serverStopsAnswering();
    void disconnectDuringUpload();
    void disconnectDuringEveryUpload();
    void repliesSplitAndJoined();
    void invalidReplies_data();
    void invalidReplies();
    void fallbacksForDataConnections_data();
    void fallbacksForDataConnections();
    void timesAreUtc_data();
    void timesAreUtc();
    void settingTimes();
    void caseModeUpper();
    void reconnectChecksWhereItIs();
    void cancelRemovesPartialUpload();
    void disconnectEndsConnectAttempt();
    void repliesNobodyAskedFor();
    void cancelStopsListingRetry();
    void commandsTogether();
};

void TestFtpSession::loginTranscriptAndLog() {
    FakeFtpServer srv;
    TExtFtp ftp;
    setUp(ftp, srv);
    QStringList log;
    QTemporaryDir dir;
    const TFtpClient::TLogSink file = protocolLogFile(ftpLogFileName(dir.path()));
    ftp.setProtocolLog([&log, file](const QString& line) {
        log.append(line);
        file(line);
    });
    QVERIFY2(ftp.Connect().ok(), qPrintable(ftp.LastError()));
    QCOMPARE(srv.commandsSince(1), kLogin);
    const QByteArray written = test::readAll(dir.filePath(QStringLiteral("FtpLog.txt")));
    QVERIFY(written.contains("> PASS ****\n"));
    QVERIFY(written.contains("< 230 Logged in\n"));
    QVERIFY(!written.contains("secret"));
    QVERIFY(ftp.Connected());
    QCOMPARE(ftp.LoginDir(), QStringLiteral("/"));
    QVERIFY(ftp.UTF8());
    QVERIFY(log.contains(QStringLiteral("> PASS ****")));
    QVERIFY(!log.join(u'\n').contains(QStringLiteral("secret")));
    QCOMPARE(ftp.StateTrail.mid(0, 3), QStringList({"Connecting", "WaitReply", "Ready"}));
    ftp.Disconnect();
    QCOMPARE(srv.transcript.last(), QStringLiteral("QUIT"));
    QVERIFY(!ftp.Connected());
    QCOMPARE(ftp.StateTrail.last(), QStringLiteral("Idle"));
}

void TestFtpSession::forceDirCreatesWhatIsMissing() {
    FakeFtpServer srv;
    srv.dirs << QStringLiteral("/a");
    TExtFtp ftp;
    QVERIFY(connectTo(ftp, srv));
    QVERIFY(ftp.ChangeDir(QStringLiteral("/")));
    const int before = int(srv.transcript.size());
    QVERIFY(ftp.ForceDir(QStringLiteral("a/b/c")));
    QCOMPARE(ftp.CurrentDir(), QStringLiteral("/a/b/c"));
    QCOMPARE(ftp.DCount(), 3);
    QCOMPARE(srv.transcript.mid(before),
             QStringList({"CWD a/b/c", "CWD a", "PWD", "CWD b", "MKD b", "CWD /a/b", "PWD", "CWD c",
                          "MKD c", "CWD /a/b/c", "PWD", "PWD"}));
    QVERIFY(ftp.ForceDirUp());
    QCOMPARE(ftp.CurrentDir(), QStringLiteral("/"));
    QCOMPARE(ftp.DCount(), 0);
}

void TestFtpSession::forceDirLoginFolderAtSlashOnly() {
    FakeFtpServer srv;
    srv.dirs = QStringList{"/", "/home", "/home/ab", "/home/abc"};
    srv.onConnected = [&srv] { srv.cwd = QStringLiteral("/home/ab"); };
    TExtFtp ftp;
    QVERIFY(connectTo(ftp, srv));
    QCOMPARE(ftp.LoginDir(), QStringLiteral("/home/ab"));
    QVERIFY(ftp.ForceDir(QStringLiteral("/home/abc/x")));
    QCOMPARE(ftp.CurrentDir(), QStringLiteral("/home/abc/x"));
    QVERIFY(!srv.transcript.contains(QStringLiteral("CWD /home/ab")));
    QVERIFY(srv.dirs.contains(QStringLiteral("/home/abc/x")));
    QCOMPARE(ftp.DCount(), 0); // absolute paths leave no levels to go up

    // Below the login folder the path continues from it.
    srv.transcript.clear();
    QVERIFY(ftp.ForceDir(QStringLiteral("/home/ab/y")));
    QCOMPARE(srv.transcript.mid(0, 2), QStringList({"CWD /home/ab/y", "CWD /home/ab"}));
    QCOMPARE(ftp.CurrentDir(), QStringLiteral("/home/ab/y"));
}

void TestFtpSession::hostileListing() {
    FakeFtpServer srv;
    srv.features << QStringLiteral("MLST type*;size*;modify*;");
    srv.listing = "type=file;size=3;modify=20240102030405; ok.htm\r\n"
                  "type=file;size=1; ../x\r\n"
                  "type=file;size=1; a/b\r\n"
                  "type=file;size=1; back\\slash\r\n"
                  "type=file;size=1; cr\rinside\r\n"
                  "type=file;size=1; split\r\nrest of the name\r\n"
                  "type=dir; sub dir\r\n"
                  "type=cdir; .\r\n"
                  "type=pdir; ..\r\n"
                  "type=dir; ..\r\n";
    TExtFtp ftp;
    setUp(ftp, srv);
    QStringList log;
    ftp.setProtocolLog([&log](const QString& line) { log.append(line); });
    QVERIFY(ftp.Connect().ok());
    QVERIFY(ftp.GetFileList());
    QCOMPARE(ftp.FileList().Names(), QStringList({"ok.htm", "split"}));
    QCOMPARE(ftp.FileList().at(0).FModifiedDateGMT,
             QDateTime(QDate(2024, 1, 2), QTime(3, 4, 5), Qt::UTC));
    TDirectoryList dirs;
    QVERIFY(ftp.GetDirList(dirs));
    QCOMPARE(dirs.Names(), QStringList({"sub dir"}));
    const QString all = log.join(u'\n');
    for (const char* refused : {"../x", "a/b", "back\\slash", "cr\\x0dinside"})
        QVERIFY2(all.contains(QStringLiteral("skipped: ") + QString::fromLatin1(refused)), refused);
    // The cached listing serves the second call.
    const qsizetype lists = srv.transcript.count(QStringLiteral("MLSD"));
    QVERIFY(ftp.GetDirList(dirs));
    QCOMPARE(srv.transcript.count(QStringLiteral("MLSD")), lists);
}

void TestFtpSession::namesWithLineBreaksAreNeverSent() {
    FakeFtpServer srv;
    TExtFtp ftp;
    QVERIFY(connectTo(ftp, srv));
    const int before = int(srv.transcript.size());
    QVERIFY(!ftp.DeleteFile(QStringLiteral("x\r\nDELE important"), false));
    QVERIFY(ftp.IndyError().contains(QStringLiteral("line break")));
    QVERIFY(!ftp.ForceDir(QStringLiteral("a\nb")));
    QBuffer src;
    src.setData("data");
    src.open(QIODevice::ReadOnly);
    QCOMPARE(ftp.Flush(&src, QStringLiteral("evil\rname"), false), int(frRefused));
    for (const QString& c : srv.transcript.mid(before))
        QVERIFY2(!c.contains(QStringLiteral("important")) && !c.startsWith(QStringLiteral("STOR")),
                 qPrintable(c));
    QVERIFY(ftp.Connected()); // a refused name leaves the session as it was
}

void TestFtpSession::dataConnectionRefused() {
    FakeFtpServer srv;
    srv.on(QStringLiteral("STOR"), [&srv](const QString&) {
        srv.send("425 Can't open data connection\r\n");
        return true;
    });
    TExtFtp ftp;
    QVERIFY(connectTo(ftp, srv));
    QBuffer src;
    src.setData("hello");
    src.open(QIODevice::ReadOnly);
    QCOMPARE(ftp.Flush(&src, QStringLiteral("a.htm"), false), int(frNoDataConnection));
    QVERIFY(ftp.IndyError().contains(QStringLiteral("Can't open data connection")));
    QVERIFY(ftp.Connected());
}

void TestFtpSession::serverStopsAnswering() {
    FakeFtpServer srv;
    srv.on(QStringLiteral("LIST"), [](const QString&) { return true; }); // no reply, ever
    srv.on(QStringLiteral("STOR"), [](const QString&) { return true; });
    TExtFtp ftp;
    QVERIFY(connectTo(ftp, srv));
    ftp.TransferTimeout = 300;
    QElapsedTimer t;
    t.start();
    QVERIFY(!ftp.GetFileList());
    QVERIFY2(ftp.IndyError().contains(QStringLiteral("timed out")), qPrintable(ftp.IndyError()));
    QCOMPARE(srv.connections, 4); // the first and three reconnects, then it gives up
    QVERIFY(t.elapsed() < 10000);

    QBuffer src;
    src.setData(payload(1000));
    src.open(QIODevice::ReadOnly);
    QCOMPARE(ftp.Flush(&src, QStringLiteral("a.htm"), false), int(frTimeout));
}

void TestFtpSession::disconnectDuringUpload() {
    FakeFtpServer srv;
    srv.dirs << QStringLiteral("/site");
    const QByteArray data = payload(2 * 1024 * 1024);
    bool cut = false;
    srv.on(QStringLiteral("STOR"), [&](const QString&) {
        if (cut)
            return false; // the second attempt goes through
        cut = true;
        srv.send("150 Go ahead\r\n");
        QObject::connect(srv.dataSocket(), &QTcpSocket::readyRead, &srv, [&srv] {
            if (srv.received().size() > 100000)
                srv.closeControl();
        });
        return true;
    });
    TExtFtp ftp;
    QVERIFY(connectTo(ftp, srv));
    QVERIFY(ftp.ChangeDir(QStringLiteral("/site")));
    QBuffer src;
    src.setData(data);
    src.open(QIODevice::ReadOnly);
    QCOMPARE(ftp.Flush(&src, QStringLiteral("big.bin"), false), int(frOk));
    QCOMPARE(srv.connections, 2);
    QCOMPARE(srv.files.value(QStringLiteral("/site/big.bin")), data);
    // Back where it was before anything else.
    const QStringList second = srv.commandsSince(2);
    QCOMPARE(second.mid(kLogin.size()), QStringList({"CWD /site", "PWD", "EPSV", "STOR big.bin"}));
}

void TestFtpSession::disconnectDuringEveryUpload() {
    FakeFtpServer srv;
    srv.on(QStringLiteral("STOR"), [&srv](const QString&) {
        srv.send("150 Go ahead\r\n");
        srv.closeControl();
        return true;
    });
    TExtFtp ftp;
    QVERIFY(connectTo(ftp, srv));
    QBuffer src;
    src.setData(payload(300000));
    src.open(QIODevice::ReadOnly);
    QCOMPARE(ftp.Flush(&src, QStringLiteral("a.bin"), false), int(frConnectionLost));
    QCOMPARE(srv.transcript.count(QStringLiteral("STOR a.bin")), 4);
}

void TestFtpSession::repliesSplitAndJoined() {
    FakeFtpServer srv;
    // A multi-line greeting cut in the middle of a line, in three packets.
    srv.greeting = "220-Welcome\r\n22";
    srv.onConnected = [&srv] {
        srv.sendLater("0-to the test\r\n220 ", 30);
        srv.sendLater("ready\r\n", 60);
    };
    // Preliminary and final reply in one packet, around an empty listing.
    srv.on(QStringLiteral("LIST"), [&srv](const QString&) {
        srv.dataSocket()->disconnectFromHost();
        srv.send("150 Here it comes\r\n226 Done\r\n");
        return true;
    });
    TExtFtp ftp;
    setUp(ftp, srv);
    QVERIFY2(ftp.Connect().ok(), qPrintable(ftp.LastError()));
    QCOMPARE(ftp.Greeting(), QStringLiteral("Welcome\nto the test\nready"));
    QVERIFY(ftp.GetFileList());
    QCOMPARE(ftp.FileList().Count(), 0);
    QCOMPARE(ftp.GetCurrentDir(), QStringLiteral("/")); // still in step with the server
}

void TestFtpSession::invalidReplies_data() {
    QTest::addColumn<QByteArray>("greeting");
    QTest::addColumn<QString>("error");
    QTest::newRow("no code") << QByteArray("hello there\r\n") << "not an FTP reply";
    QTest::newRow("bad separator") << QByteArray("220xready\r\n") << "not an FTP reply";
    QTest::newRow("endless line") << QByteArray(200000, 'x') << "too long";
    QTest::newRow("not a greeting") << QByteArray("530 go away\r\n") << "go away";
}

void TestFtpSession::invalidReplies() {
    QFETCH(QByteArray, greeting);
    QFETCH(QString, error);
    FakeFtpServer srv;
    srv.greeting = greeting;
    TExtFtp ftp;
    setUp(ftp, srv);
    QElapsedTimer t;
    t.start();
    const TStatus s = ftp.Connect();
    QVERIFY(!s.ok());
    QVERIFY2(s.error().contains(error), qPrintable(s.error()));
    QVERIFY(!ftp.Connected());
    QVERIFY(t.elapsed() < 2500); // ends at once, not by time-out
}

void TestFtpSession::fallbacksForDataConnections_data() {
    QTest::addColumn<bool>("passive");
    QTest::addColumn<bool>("extendedRefused");
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("second");
    QTest::newRow("EPSV") << true << false << "EPSV"
                          << "STOR f.txt";
    QTest::newRow("PASV after EPSV") << true << true << "EPSV"
                                     << "PASV";
    QTest::newRow("EPRT") << false << false << "EPRT"
                          << "STOR f.txt";
    QTest::newRow("PORT after EPRT") << false << true << "EPRT"
                                     << "PORT";
}

void TestFtpSession::fallbacksForDataConnections() {
    QFETCH(bool, passive);
    QFETCH(bool, extendedRefused);
    QFETCH(QString, first);
    QFETCH(QString, second);
    FakeFtpServer srv;
    if (extendedRefused)
        for (const char* verb : {"EPSV", "EPRT"})
            srv.on(QString::fromLatin1(verb), [&srv](const QString&) {
                srv.send("500 Unknown command\r\n");
                return true;
            });
    TExtFtp ftp;
    setUp(ftp, srv);
    ftp.Passive = passive;
    QVERIFY(ftp.Connect().ok());
    for (int round = 0; round < 2; ++round) {
        const int before = int(srv.transcript.size());
        QBuffer src;
        src.setData("content");
        src.open(QIODevice::ReadOnly);
        QCOMPARE(ftp.Flush(&src, QStringLiteral("f.txt"), false), int(frOk));
        QStringList sent = srv.transcript.mid(before);
        for (QString& c : sent)
            c = c.section(u' ', 0, 0) == u"STOR" ? c : c.section(u' ', 0, 0);
        // The extended command is tried once; after a refusal the old one is used at once.
        if (round == 0 || !extendedRefused)
            QCOMPARE(sent.mid(0, 2), QStringList({first, second}));
        else
            QCOMPARE(sent.first(), second);
    }
    QCOMPARE(srv.files.value(QStringLiteral("/f.txt")), QByteArray("content"));
}

void TestFtpSession::timesAreUtc_data() {
    QTest::addColumn<QByteArray>("greeting");
    QTest::addColumn<int>("localOffsetSecs");
    QTest::addColumn<int>("result");
    // The server's file is dated 2024-01-02 03:04:05 UTC.
    QTest::newRow("same") << QByteArray("220 plain\r\n") << 0 << int(tcSame);
    QTest::newRow("4 s older, 5 s tolerance") << QByteArray("220 plain\r\n") << 4 << int(tcSame);
    QTest::newRow("older") << QByteArray("220 plain\r\n") << 6 << int(tcOlder);
    QTest::newRow("newer") << QByteArray("220 plain\r\n") << -6 << int(tcNewer);
    QTest::newRow("greeting names a zone") << QByteArray("220 Serv-U FTP\r\n") << 0 << int(tcSame);
}

void TestFtpSession::timesAreUtc() {
    QFETCH(QByteArray, greeting);
    QFETCH(int, localOffsetSecs);
    QFETCH(int, result);
    FakeFtpServer srv;
    srv.greeting = greeting;
    srv.files.insert(QStringLiteral("/a.htm"), "x");
    TExtFtp ftp;
    QVERIFY(connectTo(ftp, srv));
    const QDateTime remote(QDate(2024, 1, 2), QTime(3, 4, 5), Qt::UTC);
    // The local time in another zone names the same instant.
    const QDateTime local = remote.addSecs(localOffsetSecs).toOffsetFromUtc(3600 * 5);
    QCOMPARE(ftp.CheckTimeStamp(QStringLiteral("a.htm"), 5, local), result);
    QCOMPARE(ftp.CheckTimeStamp(QStringLiteral("missing.htm"), 5, local), int(tcUnknown));
}

void TestFtpSession::settingTimes() {
    QTemporaryDir dir;
    const QString local = dir.filePath(QStringLiteral("a.htm"));
    QFile f(local);
    QVERIFY(f.open(QIODevice::WriteOnly));
    const QDateTime when(QDate(2023, 5, 6), QTime(7, 8, 9), Qt::UTC);
    QVERIFY(f.setFileTime(when, QFileDevice::FileModificationTime));
    f.close();
    FakeFtpServer srv;
    for (const char* verb : {"MDTM", "MFMT"})
        srv.on(QString::fromLatin1(verb), [&srv](const QString&) {
            srv.send("213 Modified\r\n");
            return true;
        });
    TExtFtp ftp;
    QVERIFY(connectTo(ftp, srv));
    QVERIFY(ftp.SetTimeStampFromFile(local, QStringLiteral("a.htm"), true));
    QCOMPARE(srv.transcript.last(), QStringLiteral("MDTM 20230506070809 a.htm"));

    // A date two days ahead becomes now; MFMT where the server offers it.
    const QDateTime future = QDateTime::currentDateTimeUtc().addDays(2);
    QVERIFY(f.open(QIODevice::ReadWrite));
    QVERIFY(f.setFileTime(future, QFileDevice::FileModificationTime));
    f.close();
    srv.features << QStringLiteral("MFMT");
    QVERIFY(ftp.Connect().ok());
    QVERIFY(ftp.SetTimeStampFromFile(local, QStringLiteral("a.htm"), true));
    const QString cmd = srv.transcript.last();
    QVERIFY2(cmd.startsWith(QStringLiteral("MFMT ")), qPrintable(cmd));
    const QDateTime sentTime = parseFtpTime(cmd.section(u' ', 1, 1));
    QVERIFY(qAbs(sentTime.secsTo(QDateTime::currentDateTimeUtc())) < 60);
}

void TestFtpSession::caseModeUpper() {
    FakeFtpServer srv;
    TExtFtp ftp;
    setUp(ftp, srv);
    ftp.CaseMode = tcUpper;
    QVERIFY(ftp.Connect().ok());
    QBuffer src;
    src.setData("x");
    src.open(QIODevice::ReadOnly);
    QCOMPARE(ftp.Flush(&src, QStringLiteral("index.htm"), false), int(frOk));
    QVERIFY(srv.files.contains(QStringLiteral("/INDEX.HTM")));
    ftp.CheckTimeStamp(QStringLiteral("index.htm"), 5, QDateTime::currentDateTimeUtc());
    QCOMPARE(srv.transcript.last(), QStringLiteral("MDTM INDEX.HTM"));
    QVERIFY(ftp.DeleteFile(QStringLiteral("index.htm"), true));
    QCOMPARE(srv.transcript.last(), QStringLiteral("DELE INDEX.HTM"));
}

void TestFtpSession::reconnectChecksWhereItIs() {
    FakeFtpServer srv;
    srv.dirs << QStringLiteral("/site");
    TExtFtp ftp;
    QVERIFY(connectTo(ftp, srv));
    QVERIFY(ftp.ChangeDir(QStringLiteral("/site")));
    // After the next connection the folder is gone: nothing may be sent relative to "/".
    srv.on(QStringLiteral("STOR"), [&srv](const QString&) {
        srv.dirs.removeAll(QStringLiteral("/site"));
        srv.closeControl();
        return true;
    });
    QBuffer src;
    src.setData("x");
    src.open(QIODevice::ReadOnly);
    QCOMPARE(ftp.Flush(&src, QStringLiteral("a.htm"), false), int(frNotConnected));
    const QStringList second = srv.commandsSince(2);
    QVERIFY(!second.contains(QStringLiteral("STOR a.htm")));
    QVERIFY(second.contains(QStringLiteral("CWD /site")));
    QVERIFY(ftp.IndyError().contains(QStringLiteral("/site")));
}

void TestFtpSession::cancelRemovesPartialUpload() {
    FakeFtpServer srv;
    TExtFtp* session = nullptr;
    srv.on(QStringLiteral("STOR"), [&](const QString& name) {
        srv.send("150 Go ahead\r\n");
        QObject::connect(srv.dataSocket(), &QTcpSocket::readyRead, &srv, [&srv, session, name] {
            srv.files.insert(QStringLiteral("/") + name, srv.received()); // what came so far
            session->AbortTransfer();
        });
        return true;
    });
    TExtFtp ftp;
    session = &ftp;
    QVERIFY(connectTo(ftp, srv));
    QBuffer src;
    src.setData(payload(4 * 1024 * 1024));
    src.open(QIODevice::ReadOnly);
    QVERIFY(ftp.Flush(&src, QStringLiteral("big.bin"), false) != frOk);
    QVERIFY(ftp.Aborted());
    QCOMPARE(srv.transcript.last(), QStringLiteral("DELE big.bin"));
    QVERIFY(!srv.files.contains(QStringLiteral("/big.bin")));
}

void TestFtpSession::disconnectEndsConnectAttempt() {
    FakeFtpServer srv;
    srv.greeting.clear(); // a server that never greets
    TExtFtp ftp;
    setUp(ftp, srv);
    ftp.ConnectTimeout = 30000;
    // The status window's Cancel arrives while Connect waits.
    QTimer::singleShot(100, &ftp, [&ftp] { ftp.Disconnect(); });
    QElapsedTimer t;
    t.start();
    QVERIFY(!ftp.Connect().ok());
    QCOMPARE(ftp.LastErrorKind(), TFtpClient::ekCancelled);
    QVERIFY(t.elapsed() < 5000);
    QVERIFY(!ftp.Connected());
}

void TestFtpSession::cancelStopsListingRetry() {
    FakeFtpServer srv;
    srv.on(QStringLiteral("LIST"), [](const QString&) { return true; }); // stalls
    TExtFtp ftp;
    QVERIFY(connectTo(ftp, srv));
    QTimer::singleShot(100, &ftp, [&ftp] { ftp.AbortTransfer(); });
    QElapsedTimer t;
    t.start();
    QVERIFY(!ftp.GetFileList());
    QVERIFY(t.elapsed() < 2500); // not the 3 s time-out, and no reconnects
    QCOMPARE(srv.connections, 1);
}

void TestFtpSession::repliesNobodyAskedFor() {
    FakeFtpServer srv;
    TExtFtp ftp;
    QVERIFY(connectTo(ftp, srv));
    ftp.TransferTimeout = 200;
    // A notice while idle neither ends the session nor answers the next command.
    srv.send("200 Just saying hello\r\n");
    QTest::qWait(500);
    QVERIFY(ftp.Connected());
    QCOMPARE(ftp.GetCurrentDir(), QStringLiteral("/"));
    // A server that timed the session out says 421: the next upload connects again.
    srv.send("421 Timeout\r\n");
    QTest::qWait(50);
    QBuffer src;
    src.setData("x");
    src.open(QIODevice::ReadOnly);
    QCOMPARE(ftp.Flush(&src, QStringLiteral("a.htm"), false), int(frOk));
    QCOMPARE(srv.connections, 2);
    QCOMPARE(srv.files.value(QStringLiteral("/a.htm")), QByteArray("x"));
}

void TestFtpSession::commandsTogether() {
    FakeFtpServer srv;
    srv.files.insert(QStringLiteral("/a.htm"), "abc");
    // SIZE is answered only once the next command is there: a client that waits for each
    // reply before it sends the next one never gets an answer.
    srv.on(QStringLiteral("SIZE"), [](const QString&) { return true; });
    srv.on(QStringLiteral("RNFR"), [&srv](const QString&) {
        srv.send("213 3\r\n350 Ready for RNTO\r\n");
        return true;
    });
    TExtFtp ftp;
    QVERIFY(connectTo(ftp, srv));
    const QList<TResult<TFtpReply>> r =
        ftp.SendCmds({QStringLiteral("SIZE a.htm"), QStringLiteral("RNFR a.htm")});
    QCOMPARE(r.size(), 2);
    QVERIFY(r.at(0).ok() && r.at(1).ok());
    QCOMPARE(r.at(0).value().Code, 213);
    QCOMPARE(r.at(1).value().Code, 350);

    // A server that hangs up halfway: what got no reply failed, nothing waits for it.
    srv.on(QStringLiteral("RNTO"), [&srv](const QString&) {
        srv.closeControl();
        return true;
    });
    QElapsedTimer t;
    t.start();
    const QList<TResult<TFtpReply>> cut = ftp.SendCmds(
        {QStringLiteral("NOOP"), QStringLiteral("RNTO b.htm"), QStringLiteral("NOOP")});
    QCOMPARE(cut.size(), 3);
    QVERIFY(!cut.at(1).ok() && !cut.at(2).ok());
    QVERIFY(!ftp.Connected());
    QVERIFY(t.elapsed() < 2000);
}

QTEST_GUILESS_MAIN(TestFtpSession)
#include "tst_ftpsession.moc"
