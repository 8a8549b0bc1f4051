// The workers that copy or upload one file while the caller's thread stays alive.

#include "FakeFtpServer.h"
#include "TestFiles.h"
#include "projects/core/FtpCopyUtils.h"
#include "projects/core/FtpUtils.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

using namespace orvel;
using namespace orvel::test;

namespace {
struct Progress {
    QList<qint64> counts;
    QList<int> actions;
    bool offThread = false;
    TCopyThread::TProgress handler() {
        return [this](quint8 action, quint8, qint64 count) {
            counts.append(count);
            actions.append(action);
            offThread |= QThread::currentThread() != QCoreApplication::instance()->thread();
        };
    }
};

QByteArray payload(int size) {
    QByteArray b(size, Qt::Uninitialized);
    for (int i = 0; i < size; ++i)
        b[i] = char(i * 31 + (i >> 9));
    return b;
}

void setTime(const QString& file, const QDateTime& when) {
    QFile f(file);
    QVERIFY(f.open(QIODevice::ReadWrite));
    QVERIFY(f.setFileTime(when, QFileDevice::FileModificationTime));
}

// Runs the worker to its end, waiting as a publishing run does.
void run(TCopyThread& worker, Progress* progress = nullptr) {
    if (progress)
        worker.SetOnProgress(progress->handler());
    worker.Start();
    worker.WaitUntilDone();
}

void connectTo(TExtFtp& ftp, const FakeFtpServer& srv) {
    ftp.Host = QStringLiteral("127.0.0.1");
    ftp.Port = srv.port();
    ftp.Username = QStringLiteral("u");
    ftp.Password = QStringLiteral("p");
    ftp.TransferTimeout = 5000;
    QVERIFY(ftp.Connect().ok());
}
} // namespace

class TestCopyWorkers : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void localCopyReplacesAndKeepsTime();
    void localCopyOfEmptyFile();
    void localCopyFailures_data();
    void localCopyFailures();
    void cancelledCopyKeepsOldFile();
    void localVerify();
    void upload();
    void uploadFailures_data();
    void uploadFailures();
    void cancelledUpload();
    void verifiedUpload_data();
    void verifiedUpload();

private:
    QTemporaryDir m_dir;
};

void TestCopyWorkers::localCopyReplacesAndKeepsTime() {
    const QString src = m_dir.filePath(QStringLiteral("src.htm"));
    const QString dst = m_dir.filePath(QStringLiteral("dst.htm"));
    const QByteArray data = payload(700000); // three blocks
    writeAll(src, data);
    writeAll(dst, "old contents");
    const QDateTime when(QDate(2020, 2, 3), QTime(4, 5, 6, 789), Qt::UTC);
    setTime(src, when);
    TCopyThread worker(src, dst);
    Progress p;
    run(worker, &p);
    QCOMPARE(worker.ErrorCode(), 0);
    QCOMPARE(readAll(dst), data);
    QCOMPARE(QFileInfo(dst).lastModified().toUTC(), when);
    QCOMPARE(p.counts, QList<qint64>({-700000, 262144, 524288, 700000}));
    QVERIFY(!p.offThread); // reports run on the creating thread
}

void TestCopyWorkers::localCopyOfEmptyFile() {
    const QString src = m_dir.filePath(QStringLiteral("empty.txt"));
    const QString dst = m_dir.filePath(QStringLiteral("empty-copy.txt"));
    writeAll(src, QByteArray());
    TCopyThread worker(src, dst);
    Progress p;
    run(worker, &p);
    QCOMPARE(worker.ErrorCode(), 0);
    QVERIFY(QFileInfo(dst).isFile());
    QCOMPARE(QFileInfo(dst).size(), 0);
    QCOMPARE(p.counts, QList<qint64>({0})); // a total of 0: nothing to show
}

void TestCopyWorkers::localCopyFailures_data() {
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("dest");
    QTest::addColumn<int>("code");
    QTest::addColumn<bool>("systemError");
    QTest::newRow("source missing") << "missing.htm"
                                    << "out.htm" << int(crNoSource) << false;
    QTest::newRow("no destination") << "present.htm"
                                    << "" << int(crNoDestination) << false;
    QTest::newRow("destination folder missing")
        << "present.htm"
        << "no/such/folder/out.htm" << int(crWriteFailed) << true;
}

void TestCopyWorkers::localCopyFailures() {
    QFETCH(QString, source);
    QFETCH(QString, dest);
    QFETCH(int, code);
    QFETCH(bool, systemError);
    writeAll(m_dir.filePath(QStringLiteral("present.htm")), "x");
    TCopyThread worker(m_dir.filePath(source), dest.isEmpty() ? dest : m_dir.filePath(dest));
    run(worker);
    QCOMPARE(worker.ErrorCode(), code + TCopyThread::FErrFlag);
    QCOMPARE(worker.SysErrorMsg().startsWith(QStringLiteral("System error: ")), systemError);
}

void TestCopyWorkers::cancelledCopyKeepsOldFile() {
    const QString src = m_dir.filePath(QStringLiteral("big.bin"));
    const QString dst = m_dir.filePath(QStringLiteral("big-copy.bin"));
    writeAll(src, payload(8 * 1024 * 1024));
    writeAll(dst, "the old copy");
    TCopyThread worker(src, dst, 4096);
    int reports = 0;
    worker.SetOnProgress([&reports](quint8, quint8, qint64) { ++reports; });
    worker.Start();
    while (reports < 3)
        QCoreApplication::processEvents();
    worker.CancelThread();
    QVERIFY(worker.Done());
    QCOMPARE(worker.ErrorCode(), crCancelled + TCopyThread::FErrFlag);
    QCOMPARE(readAll(dst), QByteArray("the old copy"));
    QCOMPARE(QDir(m_dir.path()).entryList({QStringLiteral("big-copy.bin*")}, QDir::Files).size(),
             1); // nothing left beside it
}

void TestCopyWorkers::localVerify() {
    const QString src = m_dir.filePath(QStringLiteral("v.htm"));
    writeAll(src, payload(300000));
    TCopyThread worker(src, m_dir.filePath(QStringLiteral("v-copy.htm")));
    worker.Verify = true;
    Progress p;
    run(worker, &p);
    QCOMPARE(worker.ErrorCode(), 0);
    QVERIFY(p.actions.contains(caCompare));
}

void TestCopyWorkers::upload() {
    FakeFtpServer srv;
    srv.dirs << QStringLiteral("/site");
    TExtFtp ftp;
    connectTo(ftp, srv);
    QVERIFY(ftp.ChangeDir(QStringLiteral("/site")));
    const QString src = m_dir.filePath(QStringLiteral("page.htm"));
    const QByteArray data = payload(1500000);
    writeAll(src, data);
    TWriteFtpThread worker(&ftp, src, ftp.CurrentDir(), QStringLiteral("page.htm"));
    Progress p;
    run(worker, &p);
    QCOMPARE(worker.ErrorCode(), 0);
    QCOMPARE(worker.DestSize(), qint64(data.size()));
    QCOMPARE(worker.DestDir(), QStringLiteral("/site"));
    QCOMPARE(srv.files.value(QStringLiteral("/site/page.htm")), data);
    QCOMPARE(p.counts.first(), -qint64(data.size()));
    QCOMPARE(p.counts.last(), qint64(data.size()));
    QVERIFY(!p.offThread);
    QVERIFY(p.actions.size() > 2 && !p.actions.contains(caRead));
    // The session is back in its thread and goes on working there.
    QCOMPARE(ftp.thread(), QThread::currentThread());
    QCOMPARE(ftp.GetCurrentDir(), QStringLiteral("/site"));
}

void TestCopyWorkers::uploadFailures_data() {
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("remote");
    QTest::addColumn<QByteArray>("storReply");
    QTest::addColumn<int>("code");
    QTest::newRow("source missing") << "nothing.htm"
                                    << "a.htm" << QByteArray() << int(crNoSource);
    QTest::newRow("no remote name") << "up.htm"
                                    << "" << QByteArray() << int(crNoDestination);
    QTest::newRow("no data connection")
        << "up.htm"
        << "a.htm" << QByteArray("425 Can't open data connection\r\n") << int(frNoDataConnection);
    QTest::newRow("refused") << "up.htm"
                             << "a.htm" << QByteArray("553 Could not create file\r\n")
                             << int(frRefused);
}

void TestCopyWorkers::uploadFailures() {
    QFETCH(QString, source);
    QFETCH(QString, remote);
    QFETCH(QByteArray, storReply);
    QFETCH(int, code);
    writeAll(m_dir.filePath(QStringLiteral("up.htm")), "x");
    FakeFtpServer srv;
    if (!storReply.isEmpty())
        srv.on(QStringLiteral("STOR"), [&srv, storReply](const QString&) {
            srv.send(storReply);
            return true;
        });
    TExtFtp ftp;
    connectTo(ftp, srv);
    TWriteFtpThread worker(&ftp, m_dir.filePath(source), QString(), remote);
    run(worker);
    QCOMPARE(worker.ErrorCode(), code + TCopyThread::FErrFlag);
    QCOMPARE(srv.transcript.filter(QStringLiteral("STOR")).isEmpty(), storReply.isEmpty());
    QCOMPARE(ftp.thread(), QThread::currentThread());
}

void TestCopyWorkers::cancelledUpload() {
    FakeFtpServer srv;
    TExtFtp ftp;
    connectTo(ftp, srv);
    const QString src = m_dir.filePath(QStringLiteral("huge.bin"));
    writeAll(src, payload(32 * 1024 * 1024));
    TWriteFtpThread worker(&ftp, src, QString(), QStringLiteral("huge.bin"));
    int reports = 0;
    worker.SetOnProgress([&reports](quint8, quint8, qint64) { ++reports; });
    worker.Start();
    while (reports < 3)
        QCoreApplication::processEvents();
    QElapsedTimer t;
    t.start();
    worker.CancelThread();
    QVERIFY(t.elapsed() >= 1000); // the worker waits a second before it reports
    QCOMPARE(worker.ErrorCode(), crCancelled + TCopyThread::FErrFlag);
    QVERIFY(!srv.files.contains(QStringLiteral("/huge.bin"))); // no cut-off file stays
    QCOMPARE(ftp.thread(), QThread::currentThread());
}

void TestCopyWorkers::verifiedUpload_data() {
    QTest::addColumn<QByteArray>("served");
    QTest::addColumn<int>("code");
    QTest::newRow("same") << QByteArray() << 0;
    QTest::newRow("size differs") << QByteArray("abc") << int(crSizeDiffers) + 4096;
    QTest::newRow("content differs") << QByteArray("ABCDE") << int(crContentDiffers) + 4096;
}

void TestCopyWorkers::verifiedUpload() {
    QFETCH(QByteArray, served);
    QFETCH(int, code);
    FakeFtpServer srv;
    if (!served.isEmpty())
        srv.on(QStringLiteral("RETR"), [&srv, served](const QString& name) {
            srv.files.insert(QStringLiteral("/") + name, served); // what a broken server keeps
            return false;
        });
    TExtFtp ftp;
    connectTo(ftp, srv);
    const QString src = m_dir.filePath(QStringLiteral("abcde.htm"));
    writeAll(src, "abcde");
    TWriteFtpThread worker(&ftp, src, QString(), QStringLiteral("abcde.htm"), true);
    Progress p;
    run(worker, &p);
    QCOMPARE(worker.ErrorCode(), code);
    QVERIFY(p.actions.contains(caRead));
    QVERIFY(srv.transcript.contains(QStringLiteral("RETR abcde.htm")));
}

QTEST_GUILESS_MAIN(TestCopyWorkers)
#include "tst_copyworkers.moc"
