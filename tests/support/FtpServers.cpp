#include "FtpServers.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>
#include <csignal>
#include <sys/prctl.h>
#include <unistd.h>

namespace orvel::test {

namespace {
constexpr int kStartTimeout = 10000;
const QString kPython = QStringLiteral("/usr/bin/python3");

QString script(const char* name) {
    return QStringLiteral(ORVEL_TEST_DATA "/ftp/") + QString::fromLatin1(name);
}

// The first of the kernel's ephemeral ports.
int ephemeralLow() {
    QFile f(QStringLiteral("/proc/sys/net/ipv4/ip_local_port_range"));
    bool ok = false;
    const int low =
        f.open(QIODevice::ReadOnly) ? f.readAll().simplified().split(' ').value(0).toInt(&ok) : 0;
    return ok && low > 12000 ? low : 32768;
}

// count free ports in a row, for a server's passive data connections; below the ephemeral
// ports, so that a client's own connections (and what they leave in TIME_WAIT) never take a
// port the server will want to listen on.
quint16 freePortRange(int count) {
    const int top = ephemeralLow() - count;
    for (int attempt = 0; attempt < 200; ++attempt) {
        const quint16 base = quint16(QRandomGenerator::global()->bounded(10000, top));
        bool free = true;
        for (int i = 0; i < count && free; ++i) {
            QTcpServer probe;
            free = probe.listen(QHostAddress::LocalHost, quint16(base + i));
        }
        if (free)
            return base;
    }
    return 0;
}

quint16 freePort() {
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}

bool writeText(const QString& fileName, const QString& text) {
    QFile f(fileName);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(text.toUtf8()) >= 0;
}
} // namespace

QString ftpWorkDir(const QString& name) {
    static int serial = 0;
    const QString dir = QStringLiteral(ORVEL_BUILD_DIR "/ftp-tests/%1-%2-%3")
                            .arg(name)
                            .arg(QCoreApplication::applicationPid())
                            .arg(++serial);
    QDir(dir).removeRecursively();
    QDir().mkpath(dir);
    return dir;
}

TestCertificate makeCertificate(const QString& dir, const QString& commonName) {
    TestCertificate c{dir + QStringLiteral("/cert.pem"), dir + QStringLiteral("/key.pem"), {}};
    QProcess p;
    p.start(QStringLiteral("openssl"),
            {"req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "2", "-subj",
             QStringLiteral("/CN=") + commonName, "-keyout", c.Key, "-out", c.Cert});
    if (!p.waitForFinished(30000) || p.exitCode() != 0)
        c.Error = QStringLiteral("openssl failed: ") + QString::fromLocal8Bit(p.readAll());
    return c;
}

ServerProcess::~ServerProcess() {
    stop();
}

void ServerProcess::stop() {
    if (m_proc.state() == QProcess::NotRunning)
        return;
    m_proc.terminate();
    if (!m_proc.waitForFinished(3000)) {
        m_proc.kill();
        m_proc.waitForFinished(3000);
    }
}

QString ServerProcess::output() {
    m_output += QString::fromLocal8Bit(m_proc.readAll());
    return m_output;
}

bool ServerProcess::launch(const QString& program, const QStringList& args) {
    m_proc.setProcessChannelMode(QProcess::MergedChannels);
    // The server dies with the test program, however that ends.
    m_proc.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGKILL); });
    m_proc.start(program, args);
    if (!m_proc.waitForStarted(kStartTimeout)) {
        m_error = program + QStringLiteral(": ") + m_proc.errorString();
        return false;
    }
    return true;
}

bool ServerProcess::waitReady() {
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < kStartTimeout) {
        m_proc.waitForReadyRead(100);
        const QString out = output();
        const qsizetype at = out.indexOf(QStringLiteral("READY "));
        if (at >= 0 && out.indexOf(u'\n', at) > at) {
            m_port = quint16(out.mid(at + 6).section(u'\n', 0, 0).trimmed().toUInt());
            return m_port != 0;
        }
        if (m_proc.state() == QProcess::NotRunning)
            break;
    }
    m_error = QStringLiteral("did not start: ") + output();
    return false;
}

bool ServerProcess::waitListening() {
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < kStartTimeout && m_proc.state() == QProcess::Running) {
        QTcpSocket probe;
        probe.connectToHost(QHostAddress::LocalHost, m_port);
        if (probe.waitForConnected(200)) {
            probe.abort();
            return true;
        }
        QThread::msleep(20);
    }
    m_error = QStringLiteral("did not start: ") + output();
    return false;
}

QString Vsftpd::unavailable() {
    if (!QFileInfo::exists(QStringLiteral("/usr/sbin/vsftpd")))
        return QStringLiteral("vsftpd is not installed (scripts/setup installs it)");
    if (::geteuid() != 0)
        return QStringLiteral("vsftpd needs root to run its sessions");
    return QString();
}

Vsftpd::Vsftpd(Tls tls, const TestCertificate& cert) : m_tls(tls), m_cert(cert) {
}

bool Vsftpd::start() {
    const QString dir = ftpWorkDir(QStringLiteral("vsftpd"));
    m_root = dir + QStringLiteral("/root");
    const QString empty = dir + QStringLiteral("/empty");
    QDir().mkpath(pubDir());
    QDir().mkpath(empty);
    // The anonymous root must not be writable by the session; "/pub" is.
    QFile::setPermissions(m_root, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                      QFile::ReadGroup | QFile::ExeGroup | QFile::ReadOther |
                                      QFile::ExeOther);
    QFile::setPermissions(pubDir(), QFileDevice::Permissions(0x7777));
    m_port = freePort();
    const quint16 pasv = freePortRange(10);
    QStringList conf{
        "listen=YES",
        "listen_ipv6=NO",
        "listen_address=127.0.0.1",
        QStringLiteral("listen_port=%1").arg(m_port),
        "background=NO",
        "anonymous_enable=YES",
        "local_enable=NO",
        "write_enable=YES",
        "anon_upload_enable=YES",
        "anon_mkdir_write_enable=YES",
        "anon_other_write_enable=YES",
        "anon_world_readable_only=NO",
        "anon_umask=022",
        QStringLiteral("anon_root=") + m_root,
        "no_anon_password=YES",
        "ftp_username=ftp",
        QStringLiteral("secure_chroot_dir=") + empty,
        "pasv_enable=YES",
        QStringLiteral("pasv_min_port=%1").arg(pasv),
        QStringLiteral("pasv_max_port=%1").arg(pasv + 9),
        "port_enable=YES",
        "connect_from_port_20=NO",
        "seccomp_sandbox=NO",
        "isolate=NO",
        "isolate_network=NO",
        "utf8_filesystem=YES",
        "mdtm_write=YES",
        "use_localtime=NO",
        "xferlog_enable=NO",
        "syslog_enable=NO",
        QStringLiteral("vsftpd_log_file=") + dir + QStringLiteral("/vsftpd.log"),
        "log_ftp_protocol=YES",
        "dual_log_enable=NO",
        "pam_service_name=vsftpd",
    };
    if (m_tls != Plain) {
        conf << "ssl_enable=YES"
             << "allow_anon_ssl=YES"
             << "force_anon_logins_ssl=YES"
             << "force_anon_data_ssl=YES"
             << "require_ssl_reuse=YES"
             << "strict_ssl_read_eof=YES"
             << "ssl_ciphers=HIGH" << QStringLiteral("rsa_cert_file=") + m_cert.Cert
             << QStringLiteral("rsa_private_key_file=") + m_cert.Key;
        if (m_tls == Implicit)
            conf << "implicit_ssl=YES";
    }
    const QString confFile = dir + QStringLiteral("/vsftpd.conf");
    if (!writeText(confFile, conf.join(u'\n') + u'\n')) {
        m_error = QStringLiteral("cannot write ") + confFile;
        return false;
    }
    return launch(QStringLiteral("/usr/sbin/vsftpd"), {confFile}) && waitListening();
}

PyFtpd::PyFtpd(const TestCertificate& cert) : m_cert(cert) {
}

bool PyFtpd::start() {
    m_root = ftpWorkDir(QStringLiteral("pyftpd")) + QStringLiteral("/root");
    QDir().mkpath(m_root);
    const quint16 pasv = freePortRange(10);
    QStringList args{script("pyftpd.py"), "--root", m_root, "--pasv",
                     QStringLiteral("%1-%2").arg(pasv).arg(pasv + 9)};
    if (!m_cert.Cert.isEmpty())
        args << "--cert" << m_cert.Cert << "--key" << m_cert.Key;
    return launch(kPython, args) && waitReady();
}

FtpProxy::FtpProxy(int mode, quint16 upstreamPort, const QString& site)
    : m_args{script("ftp_proxy.py"),
             "--mode",
             QString::number(mode),
             "--upstream-port",
             QString::number(upstreamPort),
             "--site",
             site,
             "--user",
             "tester",
             "--password",
             "s3cret",
             "--fw-user",
             "fwuser",
             "--fw-password",
             "fwpass"} {
}

bool FtpProxy::start() {
    return launch(kPython, m_args) && waitReady();
}

} // namespace orvel::test
