// "orvel --publish PROJECT.prj" as a script or cron runs it: the real program, no display at
// all, the password from the project file or the environment, the log lines on standard
// output and the exit code telling the outcome.

#include "PublishFixture.h"
#include "TestFiles.h"
#include "projects/core/ProjectInfo.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace orvel;
using namespace orvel::test;

namespace {
struct CliRun {
    int exitCode = -1;
    QString out;
    QString err;
};
} // namespace

class TestPublishCli : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void folderWithoutDisplay();
    void ftpPasswordAndRecord();
    void failuresExitNonZero_data();
    void failuresExitNonZero();

private:
    // Writes the project file for the destination (with the password when keepPassword).
    QString writeProject(const PublishDestination& dest, bool keepPassword);
    CliRun run(const QStringList& args, const QStringList& extraEnv = {});

    std::unique_ptr<QTemporaryDir> m_dir;
    QStringList m_published;
};

void TestPublishCli::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    m_published = makeSite(m_dir->filePath(QStringLiteral("site")));
}

QString TestPublishCli::writeProject(const PublishDestination& dest, bool keepPassword) {
    TProjectInfo p(m_dir->filePath(QStringLiteral("site.prj")));
    p.ProjName = QStringLiteral("Site");
    p.ProjPath = m_dir->filePath(QStringLiteral("site")) + u'/';
    dest.configure(p);
    if (!keepPassword)
        p.Password.clear();
    p.Changed = true;
    const TStatus written = WriteProject(p);
    return written.ok() ? p.ProjFileName : QString();
}

CliRun TestPublishCli::run(const QStringList& args, const QStringList& extraEnv) {
    QProcess proc;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    // As under cron: no display server of any kind, and no platform chosen for Qt.
    for (const char* name :
         {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "ORVEL_FTP_PASSWORD", "XDG_RUNTIME_DIR"})
        env.remove(QString::fromLatin1(name));
    env.insert(QStringLiteral("HOME"), m_dir->path());
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), m_dir->filePath(QStringLiteral("config")));
    env.insert(QStringLiteral("XDG_DATA_HOME"), m_dir->filePath(QStringLiteral("data")));
    env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
    for (const QString& e : extraEnv)
        env.insert(e.section(u'=', 0, 0), e.section(u'=', 1));
    proc.setProcessEnvironment(env);
    proc.start(QStringLiteral(ORVEL_EXECUTABLE), QStringList{"--publish"} + args);
    CliRun r;
    if (!proc.waitForFinished(120000)) {
        proc.kill();
        proc.waitForFinished();
        r.err = QStringLiteral("did not finish");
        return r;
    }
    r.exitCode = proc.exitStatus() == QProcess::NormalExit ? proc.exitCode() : -1;
    r.out = QString::fromLocal8Bit(proc.readAllStandardOutput());
    r.err = QString::fromLocal8Bit(proc.readAllStandardError());
    return r;
}

void TestPublishCli::folderWithoutDisplay() {
    PublishDestination dest{PublishDestination::DestFolder};
    QVERIFY(dest.start().isEmpty());
    const QString prj = writeProject(dest, true);
    QVERIFY(!prj.isEmpty());

    const CliRun dry = run({prj, QStringLiteral("--dry-run")});
    QVERIFY2(dry.exitCode == 0, qPrintable(dry.err + dry.out));
    QVERIFY2(dry.out.contains(QLatin1String("        Copy: a/b/page00.htm (missing)")),
             qPrintable(dry.out));
    QVERIFY(!QFileInfo::exists(dest.disk()));

    const CliRun first = run({prj});
    QVERIFY2(first.exitCode == 0, qPrintable(first.err + first.out));
    QCOMPARE(filesBelow(dest.disk()), m_published);
    // The lines of the log, as the log file has them.
    const QStringList lines = first.out.split(u'\n');
    QVERIFY2(lines.contains(QStringLiteral("  Direct destination ==> ") + dest.disk()),
             qPrintable(first.out));
    QVERIFY(lines.contains(QStringLiteral("    24 file(s) copied")));
    const QString logFile = m_dir->filePath(QStringLiteral("config/Brimwell/orvel.log"));
    QVERIFY2(QString::fromLatin1(readAll(logFile)).contains(QLatin1String("24 file(s) copied")),
             qPrintable(logFile));

    const CliRun second = run({prj});
    QCOMPARE(second.exitCode, 0);
    QVERIFY(second.out.contains(QLatin1String("    Nothing to do!")));

    QVERIFY(QFile::remove(m_dir->filePath(QStringLiteral("site/index.htm"))));
    const CliRun synced = run({prj, QStringLiteral("--sync")});
    QCOMPARE(synced.exitCode, 0);
    QVERIFY2(synced.out.contains(QLatin1String("        File deleted: index.htm")),
             qPrintable(synced.out));
    QVERIFY(!QFileInfo::exists(dest.disk() + QStringLiteral("/index.htm")));
}

void TestPublishCli::ftpPasswordAndRecord() {
    PublishDestination dest{PublishDestination::DestPyftpd};
    QVERIFY2(dest.start().isEmpty(), "pyftpdlib");
    const QString prj = writeProject(dest, false);

    // Without a password anywhere: an error, never a prompt.
    const CliRun none = run({prj});
    QCOMPARE(none.exitCode, 1);
    QVERIFY2(none.err.contains(QLatin1String("ORVEL_FTP_PASSWORD")), qPrintable(none.err));
    QVERIFY(!QFileInfo::exists(dest.disk()));

    const QStringList password{QStringLiteral("ORVEL_FTP_PASSWORD=s3cret")};
    const CliRun first = run({prj}, password);
    QVERIFY2(first.exitCode == 0, qPrintable(first.err + first.out));
    QCOMPARE(filesBelow(dest.disk()), m_published);
    QCOMPARE(QDir(m_dir->filePath(QStringLiteral("data/Brimwell")))
                 .entryList({QStringLiteral("publish-*.rec")}, QDir::Files)
                 .size(),
             1);

    setFileTime(m_dir->filePath(QStringLiteral("site/a/page01.htm")),
                QDateTime::currentDateTimeUtc());
    const CliRun dry = run({prj, QStringLiteral("--dry-run")}, password);
    QCOMPARE(dry.exitCode, 0);
    QVERIFY2(dry.out.contains(QLatin1String("        Copy: a/page01.htm (older)")),
             qPrintable(dry.out));
    QVERIFY(!dry.out.contains(QLatin1String("File copied")));
    const CliRun second = run({prj, QStringLiteral("--overwrite")}, password);
    QCOMPARE(second.exitCode, 0);
    QVERIFY(second.out.contains(QLatin1String("    24 file(s) copied")));
}

void TestPublishCli::failuresExitNonZero_data() {
    QTest::addColumn<QString>("what");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("message");
    QTest::newRow("no project file") << "missing" << 2 << "is not a project file";
    QTest::newRow("no server") << "refused" << 1 << "Connection to FTP server";
    QTest::newRow("folder in the way") << "blocked" << 1 << "Error creating directory";
}

void TestPublishCli::failuresExitNonZero() {
    QFETCH(QString, what);
    QFETCH(int, code);
    QFETCH(QString, message);
    PublishDestination dest{PublishDestination::DestFolder};
    QVERIFY(dest.start().isEmpty());
    QString prj = writeProject(dest, true);
    if (what == u"missing") {
        prj = m_dir->filePath(QStringLiteral("nothing.prj"));
    } else if (what == u"refused") {
        TProjectInfo p(prj);
        QVERIFY(ReadProject(p, 0, 0));
        p.TransferMode = tmFtp;
        p.Host = QStringLiteral("127.0.0.1");
        p.Port = 1; // nobody listens there
        p.Username = QStringLiteral("u");
        p.Password = QStringLiteral("p");
        p.Changed = true;
        QVERIFY(WriteProject(p).ok());
    } else {
        QVERIFY(QDir().mkpath(QFileInfo(dest.disk()).absolutePath()));
        writeAll(dest.disk(), "a file where the destination folder goes\n");
    }
    const CliRun r = run({prj});
    QCOMPARE(r.exitCode, code);
    QVERIFY2((r.err + r.out).contains(message), qPrintable(r.err + r.out));
}

QTEST_GUILESS_MAIN(TestPublishCli)
#include "tst_publishcli.moc"
