// The FTP session against real servers started by the test: vsftpd (no MLSD, times set with
// "MDTM time name", TLS with session reuse required, implicit TLS) and pyftpdlib (MLSD,
// MFMT, explicit TLS), in passive and active mode.

#include "FtpServers.h"
#include "ScriptedTransferDialogs.h"
#include "TestFiles.h"
#include "base/core/IniFileUtils.h"
#include "projects/core/FtpUtils.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSslCertificate>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

using namespace orvel;
using namespace orvel::test;

namespace {
enum Server { VsftpdPlain, VsftpdExplicit, VsftpdImplicit, PyPlain, PyTls };

QByteArray payload(qint64 size) {
    QByteArray b(size, Qt::Uninitialized);
    quint32 x = 2463534242u;
    for (qint64 i = 0; i < size; ++i) {
        x ^= x << 13, x ^= x >> 17, x ^= x << 5;
        b[i] = char(x);
    }
    return b;
}

QString fingerprintOf(const QString& certFile) {
    const QList<QSslCertificate> certs = QSslCertificate::fromPath(certFile);
    return certs.isEmpty() ? QString()
                           : fingerprintText(certs.first().digest(QCryptographicHash::Sha256));
}
} // namespace

class TestFtpServers : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void publishingOperations_data();
    void publishingOperations();
    void certificatePinning();
    void requiredTlsNeverFallsBack();
    void proxyLogins_data();
    void proxyLogins();

private:
    // A started server of that kind, or a skip.
    std::unique_ptr<ServerProcess> startServer(Server kind, const TestCertificate& cert);
    void setUpSession(TExtFtp& ftp, Server kind, quint16 port);

    TestCertificate m_cert;
    TestCertificate m_otherCert;
};

void TestFtpServers::initTestCase() {
    const QString dir = ftpWorkDir(QStringLiteral("certs"));
    m_cert = makeCertificate(dir, QStringLiteral("orvel-test"));
    QVERIFY2(m_cert.Error.isEmpty(), qPrintable(m_cert.Error));
    QDir().mkpath(dir + QStringLiteral("/other"));
    m_otherCert = makeCertificate(dir + QStringLiteral("/other"), QStringLiteral("orvel-other"));
    QVERIFY2(m_otherCert.Error.isEmpty(), qPrintable(m_otherCert.Error));
}

std::unique_ptr<ServerProcess> TestFtpServers::startServer(Server kind,
                                                           const TestCertificate& cert) {
    std::unique_ptr<ServerProcess> server;
    bool started = false;
    if (kind == PyPlain || kind == PyTls) {
        auto py = std::make_unique<PyFtpd>(kind == PyTls ? cert : TestCertificate{});
        started = py->start();
        server = std::move(py);
    } else {
        const QString why = Vsftpd::unavailable();
        if (!why.isEmpty())
            return nullptr;
        const Vsftpd::Tls tls = kind == VsftpdPlain      ? Vsftpd::Plain
                                : kind == VsftpdExplicit ? Vsftpd::Explicit
                                                         : Vsftpd::Implicit;
        auto vs = std::make_unique<Vsftpd>(tls, cert);
        started = vs->start();
        server = std::move(vs);
    }
    if (!started)
        qWarning("server: %s", qPrintable(server->error()));
    return started ? std::move(server) : nullptr;
}

void TestFtpServers::setUpSession(TExtFtp& ftp, Server kind, quint16 port) {
    const bool vsftpd = kind == VsftpdPlain || kind == VsftpdExplicit || kind == VsftpdImplicit;
    ftp.Host = QStringLiteral("127.0.0.1");
    ftp.Port = port;
    ftp.Username = vsftpd ? QStringLiteral("anonymous") : QStringLiteral("tester");
    ftp.Password = vsftpd ? QStringLiteral("orvel@example.org") : QStringLiteral("s3cret");
    ftp.ConnectTimeout = 10000;
    ftp.TransferTimeout = 20000;
    ftp.SetSecureTransfer(kind == VsftpdImplicit                    ? tlsImplicit
                          : kind == VsftpdExplicit || kind == PyTls ? tlsRequire
                                                                    : tlsNone);
}

void TestFtpServers::publishingOperations_data() {
    QTest::addColumn<int>("server");
    QTest::addColumn<bool>("passive");
    QTest::newRow("vsftpd plain passive") << int(VsftpdPlain) << true;
    QTest::newRow("vsftpd plain active") << int(VsftpdPlain) << false;
    QTest::newRow("vsftpd explicit TLS passive") << int(VsftpdExplicit) << true;
    QTest::newRow("vsftpd explicit TLS active") << int(VsftpdExplicit) << false;
    QTest::newRow("vsftpd implicit TLS passive") << int(VsftpdImplicit) << true;
    QTest::newRow("vsftpd implicit TLS active") << int(VsftpdImplicit) << false;
    QTest::newRow("pyftpdlib plain passive") << int(PyPlain) << true;
    QTest::newRow("pyftpdlib plain active") << int(PyPlain) << false;
    QTest::newRow("pyftpdlib TLS passive") << int(PyTls) << true;
    QTest::newRow("pyftpdlib TLS active") << int(PyTls) << false;
}

void TestFtpServers::publishingOperations() {
    QFETCH(int, server);
    QFETCH(bool, passive);
    const Server kind = Server(server);
    const bool vsftpd = kind <= VsftpdImplicit;
    if (vsftpd && !Vsftpd::unavailable().isEmpty())
        QSKIP(qPrintable(Vsftpd::unavailable()));
    std::unique_ptr<ServerProcess> srv = startServer(kind, m_cert);
    QVERIFY(srv);
    const QString disk = vsftpd ? static_cast<Vsftpd*>(srv.get())->pubDir()
                                : static_cast<PyFtpd*>(srv.get())->rootDir();
    const QString base = vsftpd ? QStringLiteral("/pub") : QStringLiteral("/");

    TExtFtp ftp;
    setUpSession(ftp, kind, srv->port());
    ftp.Passive = passive;
    ScriptedTransferDialogs dialogs;
    if (ftp.TlsMode != tlsNone)
        dialogs.expectCertificate(true); // self-signed: asked once, then pinned
    ftp.setDialogs(&dialogs);
    QStringList log;
    ftp.setProtocolLog([&log](const QString& line) {
        log.append(line);
        if (qEnvironmentVariableIsSet("ORVEL_FTP_TRACE"))
            qDebug("%s", qPrintable(line));
    });
    QVERIFY2(ftp.Connect().ok(), qPrintable(ftp.LastError() + u'\n' + srv->output()));
    QVERIFY2(dialogs.pending().isEmpty(), qPrintable(dialogs.pending().join(u'\n')));
    QCOMPARE(ftp.UsesMlsd(), !vsftpd);
    QVERIFY(!log.join(u'\n').contains(ftp.Password));

    // ForceDir a/b/c when only a exists, and back.
    QVERIFY(QDir().mkpath(disk + QStringLiteral("/a")));
    QFile::setPermissions(disk + QStringLiteral("/a"), QFileDevice::Permissions(0x7777));
    QVERIFY(ftp.ChangeDir(base));
    QVERIFY(ftp.ForceDir(QStringLiteral("a/b/c")));
    QCOMPARE(ftp.DCount(), 3);
    QVERIFY(QFileInfo(disk + QStringLiteral("/a/b/c")).isDir());
    QCOMPARE(ftp.CurrentDir(), QDir::cleanPath(base + QStringLiteral("/a/b/c")));
    QVERIFY(ftp.ForceDirUp());
    QCOMPARE(ftp.CurrentDir(), base);

    // Uploads read back byte for byte, from the server's disk and through the session.
    QTemporaryDir local;
    for (qint64 size : {qint64(0), qint64(1), qint64(20) * 1024 * 1024}) {
        const QByteArray data = payload(size);
        const QString name = QStringLiteral("file-%1.bin").arg(size);
        writeAll(local.filePath(name), data);
        QFile source(local.filePath(name));
        QVERIFY(source.open(QIODevice::ReadOnly));
        QCOMPARE(ftp.Flush(&source, name, false), int(frOk));
        QCOMPARE(readAll(disk + u'/' + name), data);
        QBuffer back;
        back.open(QIODevice::ReadWrite);
        QVERIFY2(ftp.Get(name, &back).ok(), qPrintable(ftp.LastError()));
        QCOMPARE(back.data(), data);
    }

    // Times: set from the local file and read back, in UTC.
    const QString localFile = local.filePath(QStringLiteral("file-1.bin"));
    const QDateTime when(QDate(2021, 3, 4), QTime(5, 6, 7), Qt::UTC);
    {
        QFile f(localFile);
        QVERIFY(f.open(QIODevice::ReadWrite));
        QVERIFY(f.setFileTime(when, QFileDevice::FileModificationTime));
    }
    QVERIFY2(ftp.SetTimeStampFromFile(localFile, QStringLiteral("file-1.bin"), true),
             qPrintable(ftp.IndyError()));
    QCOMPARE(QFileInfo(disk + QStringLiteral("/file-1.bin")).lastModified().toUTC(), when);
    QVERIFY(ftp.GetFileList());
    QCOMPARE(ftp.CheckTimeStamp(QStringLiteral("file-1.bin"), 5, when.addSecs(4)), int(tcSame));
    QCOMPARE(ftp.CheckTimeStamp(QStringLiteral("file-1.bin"), 5, when.addSecs(60)), int(tcOlder));
    QCOMPARE(ftp.CheckTimeStamp(QStringLiteral("file-1.bin"), 5, when.addSecs(-60)), int(tcNewer));
    QCOMPARE(ftp.CheckTimeStamp(QStringLiteral("missing.bin"), 5, when), int(tcUnknown));

    // Names with blanks and letters beyond ASCII.
    const QString blank = QStringLiteral("with blank.htm");
    const QString letters = QStringLiteral("Grüße ŐŰ ✓.htm");
    writeAll(disk + u'/' + blank, "x");
    QFile up(localFile);
    QVERIFY(up.open(QIODevice::ReadOnly));
    QCOMPARE(ftp.Flush(&up, letters, false), int(frOk));
    QCOMPARE(readAll(disk + u'/' + letters), readAll(localFile));
    QVERIFY(ftp.GetFileList());
    const QStringList names = ftp.FileList().Names();
    for (const QString& n : {blank, letters, QStringLiteral("file-0.bin")})
        QVERIFY2(names.contains(n), qPrintable(names.join(u'|')));
    TDirectoryList dirs;
    QVERIFY(ftp.GetDirList(dirs));
    QCOMPARE(dirs.Names(), QStringList{QStringLiteral("a")});

    // Deleting.
    QVERIFY(ftp.DeleteFile(letters, true));
    QVERIFY(!QFileInfo::exists(disk + u'/' + letters));
    QVERIFY(!ftp.DeleteFile(letters, true));
    QVERIFY(ftp.ForceDir(QStringLiteral("a/b/c")));
    QVERIFY(ftp.ForceDirUp());
    QVERIFY(ftp.ChangeDir(QStringLiteral("a/b")));
    QVERIFY(ftp.DeleteDir(QStringLiteral("c")));
    QVERIFY(!QFileInfo::exists(disk + QStringLiteral("/a/b/c")));
    ftp.Disconnect();
    QVERIFY(!ftp.Connected());
}

void TestFtpServers::certificatePinning() {
    if (!Vsftpd::unavailable().isEmpty())
        QSKIP(qPrintable(Vsftpd::unavailable()));
    std::unique_ptr<ServerProcess> srv = startServer(VsftpdExplicit, m_cert);
    QVERIFY(srv);
    TExtFtp ftp;
    setUpSession(ftp, VsftpdExplicit, srv->port());
    ScriptedTransferDialogs dialogs;
    ftp.setDialogs(&dialogs);

    // Refused: no connection, and the question showed the certificate.
    dialogs.expectCertificate(false);
    QVERIFY(!ftp.Connect().ok());
    QVERIFY2(ftp.LastError().contains(QStringLiteral("certificate")), qPrintable(ftp.LastError()));
    QCOMPARE(dialogs.asked.size(), 1);
    const TCerticateInfo info = dialogs.asked.first();
    QCOMPARE(info.Fingerprint, fingerprintOf(m_cert.Cert));
    QVERIFY(info.Subject.contains(QStringLiteral("orvel-test")));
    QVERIFY(info.Issuer.contains(QStringLiteral("orvel-test")));
    QVERIFY(info.ValidUntil > QDateTime::currentDateTimeUtc());
    QVERIFY(!info.Reasons.isEmpty());
    QVERIFY(ftp.PinnedFingerprint.isEmpty());

    // Accepted: pinned, kept in the project file, and not asked again.
    dialogs.expectCertificate(true);
    QVERIFY2(ftp.Connect().ok(), qPrintable(ftp.LastError()));
    QCOMPARE(ftp.PinnedFingerprint, info.Fingerprint);
    TProjectInfo project;
    project.TransferMode = tmFtp;
    project.CertFingerprint = ftp.PinnedFingerprint;
    TUnicodeIniFile ini = TUnicodeIniFile::FromBytes(QByteArray());
    QVERIFY(project.WriteTo(ini).ok());
    TProjectInfo reread;
    reread.ReadFrom(ini, 0, 0);
    QCOMPARE(reread.CertFingerprint, info.Fingerprint);
    TExtFtp again;
    again.SetupFromProject(reread);
    setUpSession(again, VsftpdExplicit, srv->port());
    again.setDialogs(&dialogs);
    QVERIFY2(again.Connect().ok(), qPrintable(again.LastError()));
    QCOMPARE(dialogs.asked.size(), 2);
    QVERIFY(again.GetFileList()); // the data connection shows the pinned certificate too
    again.Disconnect();
    ftp.Disconnect();

    // Another certificate asks again.
    srv.reset();
    srv = startServer(VsftpdExplicit, m_otherCert);
    QVERIFY(srv);
    again.Port = srv->port();
    dialogs.expectCertificate(false);
    QVERIFY(!again.Connect().ok());
    QCOMPARE(dialogs.asked.size(), 3);
    QCOMPARE(dialogs.asked.last().Fingerprint, fingerprintOf(m_otherCert.Cert));
    QCOMPARE(again.PinnedFingerprint, info.Fingerprint);
    QVERIFY2(dialogs.pending().isEmpty(), qPrintable(dialogs.pending().join(u'\n')));
}

void TestFtpServers::requiredTlsNeverFallsBack() {
    std::unique_ptr<ServerProcess> srv = startServer(PyPlain, {});
    QVERIFY(srv);
    TExtFtp ftp;
    setUpSession(ftp, PyPlain, srv->port());
    QStringList log;
    ftp.setProtocolLog([&log](const QString& line) { log.append(line); });
    ftp.SetSecureTransfer(tlsRequire);
    const TStatus s = ftp.Connect();
    QVERIFY(!s.ok());
    QVERIFY2(s.error().contains(QStringLiteral("TLS")), qPrintable(s.error()));
    QVERIFY(!log.join(u'\n').contains(QStringLiteral("> USER"))); // nothing sent in clear
    QVERIFY(!ftp.Connected());

    ftp.SetSecureTransfer(tlsIfAvailable);
    QVERIFY2(ftp.Connect().ok(), qPrintable(ftp.LastError()));
    QVERIFY(ftp.CertInfo().Fingerprint.isEmpty()); // clear, as allowed
    QVERIFY(ftp.GetFileList());
    ftp.Disconnect();

    // The same mode uses TLS where the server offers it.
    std::unique_ptr<ServerProcess> tlsServer = startServer(PyTls, m_cert);
    QVERIFY(tlsServer);
    ftp.Port = tlsServer->port();
    ScriptedTransferDialogs dialogs;
    dialogs.expectCertificate(true);
    ftp.setDialogs(&dialogs);
    QVERIFY2(ftp.Connect().ok(), qPrintable(ftp.LastError()));
    QCOMPARE(ftp.CertInfo().Fingerprint, fingerprintOf(m_cert.Cert));
    QVERIFY(ftp.GetFileList());
    ftp.Disconnect();
}

void TestFtpServers::proxyLogins_data() {
    QTest::addColumn<int>("mode");
    for (int mode = 1; mode <= 6; ++mode)
        QTest::newRow(qPrintable(QString::number(mode))) << mode;
}

void TestFtpServers::proxyLogins() {
    QFETCH(int, mode);
    std::unique_ptr<ServerProcess> srv = startServer(PyPlain, {});
    QVERIFY(srv);
    const QString site = QStringLiteral("127.0.0.1:%1").arg(srv->port());
    FtpProxy proxy(mode, srv->port(), site);
    QVERIFY2(proxy.start(), qPrintable(proxy.error()));
    TExtFtp ftp;
    setUpSession(ftp, PyPlain, srv->port());
    ftp.Proxy = {QStringLiteral("127.0.0.1"), QStringLiteral("fwuser"), QStringLiteral("fwpass"),
                 proxy.port(), quint8(mode)};
    QStringList log;
    ftp.setProtocolLog([&log](const QString& line) { log.append(line); });
    QVERIFY2(ftp.Connect().ok(), qPrintable(ftp.LastError() + u'\n' + proxy.output()));
    writeAll(static_cast<PyFtpd*>(srv.get())->rootDir() + QStringLiteral("/seen.htm"), "x");
    QVERIFY(ftp.GetFileList());
    QCOMPARE(ftp.FileList().Names(), QStringList{QStringLiteral("seen.htm")});
    ftp.Disconnect();
    QTRY_VERIFY(proxy.output().contains(QStringLiteral("LOGIN OK")));
    QVERIFY2(!proxy.output().contains(QStringLiteral("MISMATCH")), qPrintable(proxy.output()));
    const QString all = log.join(u'\n');
    for (const char* secret : {"s3cret", "fwpass"})
        QVERIFY2(!all.contains(QString::fromLatin1(secret)), secret);
}

QTEST_GUILESS_MAIN(TestFtpServers)
#include "tst_ftpservers.moc"
