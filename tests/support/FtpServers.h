#pragma once
// Real FTP servers and proxies for the tests, started on 127.0.0.1 at free ports with their
// own files under the build folder, and stopped when the fixture goes (also when a test
// fails; they die with the test program too).

#include <QProcess>
#include <QString>
#include <QStringList>

namespace orvel::test {

// A self-signed certificate and its key, made with openssl.
struct TestCertificate {
    QString Cert;
    QString Key;
    QString Error; // empty when made
};
TestCertificate makeCertificate(const QString& dir, const QString& commonName);

// A new folder for one server's files below the build folder.
QString ftpWorkDir(const QString& name);

class ServerProcess {
public:
    ServerProcess() = default;
    virtual ~ServerProcess();
    ServerProcess(const ServerProcess&) = delete;
    ServerProcess& operator=(const ServerProcess&) = delete;

    void stop();
    quint16 port() const { return m_port; }
    const QString& error() const { return m_error; }
    // All the process printed so far.
    QString output();

protected:
    bool launch(const QString& program, const QStringList& args);
    // Reads "READY <port>" from the process.
    bool waitReady();
    // Connects until the port answers.
    bool waitListening();

    QProcess m_proc;
    quint16 m_port = 0;
    QString m_error;
    QString m_output;
};

// vsftpd with a writable anonymous folder "/pub"; it has no MLSD and sets times with
// "MDTM time name". Needs root (it chroots).
class Vsftpd : public ServerProcess {
public:
    enum Tls { Plain, Explicit, Implicit };
    explicit Vsftpd(Tls tls, const TestCertificate& cert = {});
    bool start();
    // Why vsftpd cannot run here; empty when it can.
    static QString unavailable();
    // The folder on disk behind "/pub".
    QString pubDir() const { return m_root + QStringLiteral("/pub"); }

private:
    Tls m_tls;
    TestCertificate m_cert;
    QString m_root;
};

// pyftpdlib with the user "tester" (password "s3cret") in a writable root; MLSD, MFMT,
// explicit TLS with a certificate.
class PyFtpd : public ServerProcess {
public:
    explicit PyFtpd(const TestCertificate& cert = {});
    bool start();
    const QString& rootDir() const { return m_root; }

private:
    TestCertificate m_cert;
    QString m_root;
};

// The proxy of one connection method in front of a server.
class FtpProxy : public ServerProcess {
public:
    FtpProxy(int mode, quint16 upstreamPort, const QString& site);
    bool start();

private:
    QStringList m_args;
};

} // namespace orvel::test
