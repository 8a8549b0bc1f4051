// Publishing runs end to end against a folder, vsftpd (LIST, no MLSD) and pyftpdlib (MLSD),
// and against a scripted server for connections that drop and renames that are refused.

#include "FakeFtpServer.h"
#include "PublishFixture.h"
#include "ScriptedTransferDialogs.h"
#include "TestFiles.h"
#include "base/core/LogFile.h"
#include "projects/core/Publish.h"
#include "projects/core/PublishRecord.h"
#include "projects/core/PublishTarget.h"

#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QLockFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace orvel;
using namespace orvel::test;

namespace {
QStringList paths(const QList<TPublishStep>& steps) {
    QStringList out;
    for (const TPublishStep& s : steps)
        out << s.Path;
    out.sort();
    return out;
}

QString describe(const QList<TPublishStep>& steps) {
    QStringList out;
    for (const TPublishStep& s : steps)
        out << publishStepText(s);
    return out.join(u'\n');
}

// Writes a file, making its folder.
// Anything below dir still under a temporary name.
QStringList partsBelow(const QString& dir) {
    QStringList out;
    QDirIterator it(dir, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        if (const QString path = it.next(); path.contains(QLatin1String("orvel-part")))
            out << path;
    return out;
}

void put(const QString& file, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(file).absolutePath());
    writeAll(file, bytes);
}

QByteArray bigPayload(qint64 size, quint32 seed) {
    QByteArray b(size, Qt::Uninitialized);
    quint32 x = seed;
    for (qint64 i = 0; i < size; ++i) {
        x ^= x << 13, x ^= x >> 17, x ^= x << 5;
        b[i] = char(x);
    }
    return b;
}
} // namespace

class TestPublisher : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void publishCycle_data();
    void publishCycle();
    void logLayout();
    void selections_data();
    void selections();
    void timeTolerance_data();
    void timeTolerance();
    void refusedDirectDestinations_data();
    void refusedDirectDestinations();
    void clearRefusesServerTop_data();
    void clearRefusesServerTop();
    void droppedUploadKeepsOldFile();
    void renameOverRefusedFallsBack();
    void newFolderArrivesWhole_data();
    void newFolderArrivesWhole();
    void pathListingRefused();
    void remoteFolderCannotBeMade();
    void listedNamesAndCaseChange();
    void cancelKeepsOldFile();
    void cancelSmallFtpUpload();
    void stopWhileConnecting();
    void oneRunAtATime();
    void publishRecord_data();
    void publishRecord();

private:
    TPublishResult transfer(int mode, const QStringList& changed = {}, const QString& current = {},
                            const QString& dir = {}, const QString& filter = QStringLiteral("*.*"));
    TPublishResult clear(bool answer = true);
    TPublishEnvironment environment();
    // Commands sent since the last call (the FTP protocol log).
    QStringList commands();
    // The project publishes to /site on a scripted server, passively.
    void useScriptedServer(quint16 port);
    QString site(const QString& rel) const {
        return m_dir->filePath(QStringLiteral("site/") + rel);
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    TProjectInfo m_project;
    RecordingMonitor m_monitor;
    std::unique_ptr<TLogFile> m_log;
    QStringList m_asked;
};

void TestPublisher::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    m_project = TProjectInfo(m_dir->filePath(QStringLiteral("site.prj")));
    m_project.ProjPath = m_dir->filePath(QStringLiteral("site")) + u'/';
    m_project.ProtocolLog = true;
    m_monitor = RecordingMonitor();
    m_log = std::make_unique<TLogFile>(m_dir->filePath(QStringLiteral("orvel.log")),
                                       QStringLiteral("Orvel"), QStringLiteral("1.2.3.4"));
    m_asked.clear();
}

void TestPublisher::useScriptedServer(quint16 port) {
    m_project.TransferMode = tmFtp;
    m_project.Host = QStringLiteral("127.0.0.1");
    m_project.Port = port;
    m_project.Username = QStringLiteral("u");
    m_project.Password = QStringLiteral("p");
    m_project.Passive = true;
    m_project.RemotePath = QStringLiteral("/site");
}

TPublishEnvironment TestPublisher::environment() {
    TPublishEnvironment env;
    env.monitor = &m_monitor;
    env.log = m_log.get();
    env.recordFolder = m_dir->filePath(QStringLiteral("records"));
    env.protocolLogFolder = m_dir->path();
    env.confirmClear = [this](const QString& dest) {
        m_asked << dest;
        return !dest.isEmpty() && m_asked.size() < 100;
    };
    return env;
}

TPublishResult TestPublisher::transfer(int mode, const QStringList& changed, const QString& current,
                                       const QString& dir, const QString& filter) {
    TPublisher publisher(m_project, environment());
    TPublishRequest rq;
    rq.Mode = mode;
    rq.ChangedFiles = changed;
    rq.CurrentFile = current;
    rq.Directory = dir;
    rq.Filter = filter;
    return publisher.Transfer(rq);
}

TPublishResult TestPublisher::clear(bool answer) {
    TPublishEnvironment env = environment();
    env.confirmClear = [this, answer](const QString& dest) {
        m_asked << dest;
        return answer;
    };
    TPublisher publisher(m_project, env);
    return publisher.ClearServer();
}

QStringList TestPublisher::commands() {
    const QString file = m_dir->filePath(QStringLiteral("FtpLog.txt"));
    QStringList out;
    for (const QByteArray& line : readAll(file).split('\n')) {
        const qsizetype at = line.indexOf(" > ");
        if (at >= 0)
            out << QString::fromUtf8(line.mid(at + 3)).trimmed();
    }
    QFile::remove(file);
    return out;
}

// --- The whole cycle on each kind of destination ----------------------------------------------

void TestPublisher::publishCycle_data() {
    QTest::addColumn<int>("kind");
    QTest::newRow("folder") << int(PublishDestination::DestFolder);
    QTest::newRow("vsftpd") << int(PublishDestination::DestVsftpd);
    QTest::newRow("pyftpdlib") << int(PublishDestination::DestPyftpd);
}

void TestPublisher::publishCycle() {
    QFETCH(int, kind);
    PublishDestination dest{PublishDestination::Kind(kind)};
    if (const QString why = dest.start(); !why.isEmpty()) {
        if (kind == PublishDestination::DestVsftpd && why.contains(QLatin1String("root")))
            QSKIP(qPrintable(why));
        QFAIL(qPrintable(why));
    }
    dest.configure(m_project);
    const bool ftp = kind != PublishDestination::DestFolder;
    QStringList published = makeSite(site(QString()));

    // A dry run lists everything as missing and touches nothing.
    const TPublishResult dry = transfer(tfAllFiles | kTransferDryRun);
    QVERIFY2(!dry.failed(), qPrintable(dry.Error + m_monitor.errors.join(u'\n')));
    QCOMPARE(paths(dry.Steps), published);
    for (const TPublishStep& s : dry.Steps)
        QCOMPARE(s.Reason, prMissing);
    QCOMPARE(m_monitor.final(), QStringLiteral("dryRun:0,24"));
    QVERIFY(!QFileInfo::exists(dest.disk()));
    QVERIFY(!QFileInfo::exists(site(QStringLiteral("tpl/page.html"))));
    commands();

    // The first publish does exactly that.
    const TPublishResult first = transfer(tfAllFiles);
    QVERIFY2(!first.failed(), qPrintable(first.Error + m_monitor.errors.join(u'\n')));
    QCOMPARE(describe(first.Steps), describe(dry.Steps));
    QCOMPARE(first.Copied, 24);
    QCOMPARE(m_monitor.final(), QStringLiteral("close:0,24"));
    QCOMPARE(filesBelow(dest.disk()), published); // nothing half-written is left
    for (const QString& f : published)
        QCOMPARE(readAll(dest.disk() + u'/' + f), readAll(site(f)));
    QCOMPARE(readAll(dest.disk() + QStringLiteral("/tpl/page.html")),
             QByteArray("<title>Home page</title>\r\n"));
    const QStringList firstCommands = commands();
    QCOMPARE(partsBelow(dest.disk()), QStringList());
    if (ftp) {
        // A file beside existing ones replaces its target by a rename of its own ...
        QVERIFY(firstCommands.contains(QStringLiteral("RNFR .index.htm.orvel-part")));
        QVERIFY(firstCommands.contains(QStringLiteral("RNTO index.htm")));
        // ... a new folder is renamed into place once, whole, its files checked by a listing.
        const QString joined = firstCommands.join(u'\n');
        QVERIFY2(joined.contains(QRegularExpression(QStringLiteral("^RNFR /.*/\\.a\\.orvel-part\n"
                                                                   "RNTO /.*/a$"),
                                                    QRegularExpression::MultilineOption)),
                 qPrintable(joined));
        QVERIFY2(firstCommands.filter(QRegularExpression(QStringLiteral("^RNFR .*page"))).isEmpty(),
                 qPrintable(joined));
        QCOMPARE(firstCommands.filter(QRegularExpression(QStringLiteral("^SIZE"))).size(),
                 firstCommands.filter(QRegularExpression(QStringLiteral("^RNTO [^/]"))).size());
    }

    // Nothing changed: nothing to do, and on FTP only the folders are listed.
    const TPublishResult second = transfer(tfAllFiles);
    QVERIFY2(!second.failed(), qPrintable(m_monitor.errors.join(u'\n')));
    QCOMPARE(describe(second.Steps), QString());
    QCOMPARE(m_monitor.final(), QStringLiteral("close:0,0"));
    const QStringList quiet = commands();
    if (ftp) {
        const int folders = 5; // the top, a, a/b, img, tpl
        QVERIFY2(quiet.size() <= 3 * folders + 10, qPrintable(quiet.join(u'\n')));
        QVERIFY2(quiet.filter(QRegularExpression(QStringLiteral("^(MDTM|STOR|SIZE)"))).isEmpty(),
                 qPrintable(quiet.join(u'\n')));
        // MLSD lists a folder by its path: none is entered.
        if (kind == PublishDestination::DestPyftpd) {
            QCOMPARE(quiet.filter(QRegularExpression(QStringLiteral("^MLSD /"))).size(), folders);
            QVERIFY2(quiet.filter(QRegularExpression(QStringLiteral("^CWD"))).isEmpty(),
                     qPrintable(quiet.join(u'\n')));
        }
    }

    // Ten touched files: ten uploads, and the dry run said so before.
    QStringList touched;
    for (int i = 0; i < 5; ++i)
        for (const QString& d : {QStringLiteral("a"), QStringLiteral("a/b")})
            touched << QStringLiteral("%1/page%2.htm").arg(d).arg(i, 2, 10, QChar(u'0'));
    touched.sort();
    for (const QString& f : touched)
        setFileTime(site(f), QDateTime::currentDateTimeUtc().addSecs(-600));
    const TPublishResult dryTouched = transfer(tfAllFiles | kTransferDryRun);
    QCOMPARE(paths(dryTouched.Steps), touched);
    for (const TPublishStep& s : dryTouched.Steps)
        QCOMPARE(s.Reason, prOlder);
    const TPublishResult afterTouch = transfer(tfAllFiles);
    QCOMPARE(describe(afterTouch.Steps), describe(dryTouched.Steps));
    QCOMPARE(afterTouch.Copied, 10);
    commands();

    // Three files gone here: three deletions there; "~" files and other types stay.
    const QStringList gone{QStringLiteral("a/b/page07.htm"), QStringLiteral("a/page07.htm"),
                           QStringLiteral("style.css")};
    for (const QString& f : gone)
        QVERIFY(QFile::remove(site(f)));
    const QStringList kept{QStringLiteral("a/~keep.htm"), QStringLiteral("remote.txt"),
                           QStringLiteral("~keep.htm")};
    for (const QString& f : kept)
        put(dest.disk() + u'/' + f, "kept\n");
    const TPublishResult drySync = transfer(tfAllFiles | kTransferSync | kTransferDryRun);
    QCOMPARE(paths(drySync.Steps), gone);
    for (const TPublishStep& s : drySync.Steps)
        QVERIFY(s.Action == TPublishStep::Delete && s.Reason == prDeletedLocally);
    QCOMPARE(m_monitor.final(), QStringLiteral("dryRun:3,0"));
    const TPublishResult synced = transfer(tfAllFiles | kTransferSync);
    QVERIFY2(!synced.failed(), qPrintable(m_monitor.errors.join(u'\n')));
    QCOMPARE(describe(synced.Steps), describe(drySync.Steps));
    QCOMPARE(synced.Deleted, 3);
    QCOMPARE(m_monitor.final(), QStringLiteral("close:3,0"));
    QStringList remaining = published + kept;
    for (const QString& f : gone)
        remaining.removeAll(f);
    remaining.sort();
    QCOMPARE(filesBelow(dest.disk()), remaining);

    // Clearing asks with the whole destination and leaves nothing.
    const TPublishResult cleared = clear();
    QVERIFY2(!cleared.failed(), qPrintable(cleared.Error + m_monitor.errors.join(u'\n')));
    QCOMPARE(cleared.Deleted, remaining.size());
    QCOMPARE(m_asked.size(), 1);
    QVERIFY2(m_asked.first().endsWith(ftp ? m_project.RemotePath
                                          : QDir::toNativeSeparators(dest.disk())),
             qPrintable(m_asked.first()));
    QCOMPARE(filesBelow(dest.disk()), QStringList());
    // The remote folder itself stays; a destination folder goes as a whole.
    QCOMPARE(QFileInfo::exists(dest.disk()), ftp);
}

void TestPublisher::logLayout() {
    PublishDestination dest{PublishDestination::DestFolder};
    QVERIFY(dest.start().isEmpty());
    dest.configure(m_project);
    put(site(QStringLiteral("index.htm")), "<p>home</p>\n");
    put(site(QStringLiteral("sub/page.htm")), "<p>page</p>\n");
    put(site(QStringLiteral("old.htm")), "<p>old</p>\n");
    QVERIFY(!transfer(tfAllFiles).failed());
    QVERIFY(QFile::remove(site(QStringLiteral("old.htm"))));
    QVERIFY(!transfer(tfAllFiles | kTransferSync).failed());
    QVERIFY(!clear().failed());

    const QString time = QStringLiteral(".+");
    const QString stamp = QStringLiteral("[0-9]{4}-[0-9]{2}-[0-9]{2} [0-9]{2}:[0-9]{2}:[0-9]{2}");
    const QString destLine =
        QStringLiteral("  Direct destination ==> ") + QRegularExpression::escape(dest.disk());
    const QStringList expected{
        QStringLiteral("Orvel \\(Vers\\. 1\\.2\\.3\\.4\\)"),
        QStringLiteral("Transfer files to server: ") + time,
        destLine,
        QStringLiteral("    Copy files"),
        QStringLiteral("      Directory: sub"),
        QStringLiteral("        File copied: page\\.htm - ") + stamp,
        QStringLiteral("      Root directory"),
        QStringLiteral("        File copied: index\\.htm - ") + stamp,
        QStringLiteral("        File copied: old\\.htm - ") + stamp,
        QStringLiteral("    3 file\\(s\\) copied"),
        QStringLiteral("Finished: ") + time,
        QString(),
        QStringLiteral("Orvel \\(Vers\\. 1\\.2\\.3\\.4\\)"),
        QStringLiteral("Transfer files to server: ") + time,
        destLine,
        QStringLiteral("    Synchronize files"),
        QStringLiteral("      Directory: sub"),
        QStringLiteral("      Root directory"),
        QStringLiteral("        File deleted: old\\.htm"),
        QStringLiteral("    Copy files"),
        QStringLiteral("      Directory: sub"),
        QStringLiteral("      Root directory"),
        QStringLiteral("    1 file\\(s\\) deleted"),
        QStringLiteral("Finished: ") + time,
        QString(),
        QStringLiteral("Orvel \\(Vers\\. 1\\.2\\.3\\.4\\)"),
        QStringLiteral("Delete files on server: ") + time,
        destLine,
        QStringLiteral("      Directory: sub"),
        QStringLiteral("        File deleted: page\\.htm"),
        QStringLiteral("      Directory deleted: sub"),
        QStringLiteral("      Root directory"),
        QStringLiteral("        File deleted: index\\.htm"),
        QStringLiteral("      Directory deleted: ") + QRegularExpression::escape(dest.disk()),
        QStringLiteral("    2 file\\(s\\) deleted"),
        QStringLiteral("Finished: ") + time,
        QString(),
    };
    const QString text = QString::fromLatin1(readAll(m_log->logName()));
    QVERIFY(text.endsWith(QLatin1String("\r\n")));
    const QStringList lines = text.chopped(2).split(QStringLiteral("\r\n"));
    QCOMPARE(lines.size(), expected.size());
    for (int i = 0; i < lines.size(); ++i)
        QVERIFY2(QRegularExpression(QStringLiteral("^(") + expected[i] + QStringLiteral(")$"))
                     .match(lines[i])
                     .hasMatch(),
                 qPrintable(QStringLiteral("line %1: \"%2\"").arg(i).arg(lines[i])));
}

// --- What each choice of the dialog sends -----------------------------------------------------

void TestPublisher::selections_data() {
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("current");
    QTest::addColumn<QString>("dir");
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QStringList>("changed");
    QTest::addColumn<QStringList>("sent");
    QTest::addColumn<QStringList>("deleted");

    QTest::newRow("current file") << int(tfCurrentFile) << "a/page03.htm"
                                  << ""
                                  << "" << QStringList() << QStringList{"a/page03.htm"}
                                  << QStringList();
    QTest::newRow("current file of another type")
        << int(tfCurrentFile) << "notes.txt"
        << ""
        << "" << QStringList() << QStringList() << QStringList();
    QTest::newRow("current file never synchronises")
        << int(tfCurrentFile | kTransferSync) << "a/page03.htm"
        << ""
        << "" << QStringList() << QStringList{"a/page03.htm"} << QStringList();
    QTest::newRow("current folder")
        << int(tfCurrentDir | kTransferSync) << "a/b/page01.htm"
        << ""
        << "*.*" << QStringList()
        << QStringList{"a/b/page00.htm", "a/b/page01.htm", "a/b/page02.htm", "a/b/page03.htm",
                       "a/b/page04.htm", "a/b/page05.htm", "a/b/page06.htm", "a/b/page07.htm",
                       "a/b/page08.htm", "a/b/page09.htm"}
        << QStringList{"a/b/gone.htm"};
    QTest::newRow("chosen folder, filter, synchronised")
        << int(tfChosenDir | kTransferSync | kTransferSubDirs) << ""
        << "a"
        << "page0[12].htm" << QStringList()
        << QStringList{"a/b/page01.htm", "a/b/page02.htm", "a/page01.htm", "a/page02.htm"}
        << QStringList();
    QTest::newRow("chosen folder without its subfolders")
        << int(tfChosenDir | kTransferSync) << ""
        << "a"
        << "*.htm;*.txt" << QStringList()
        << QStringList{"a/page00.htm", "a/page01.htm", "a/page02.htm", "a/page03.htm",
                       "a/page04.htm", "a/page05.htm", "a/page06.htm", "a/page07.htm",
                       "a/page08.htm", "a/page09.htm", "a/readme.txt"}
        << QStringList{"a/gone.htm", "a/gone.txt"};
    QTest::newRow("changed files")
        << int(tfChangedFiles | kTransferSync) << ""
        << ""
        << "" << QStringList{"index.htm", "a/b/page09.htm", "notes.txt"}
        << QStringList{"a/b/page09.htm", "index.htm", "notes.txt"} << QStringList();
}

void TestPublisher::selections() {
    QFETCH(int, mode);
    QFETCH(QString, current);
    QFETCH(QString, dir);
    QFETCH(QString, filter);
    QFETCH(QStringList, changed);
    QFETCH(QStringList, sent);
    QFETCH(QStringList, deleted);
    PublishDestination dest{PublishDestination::DestFolder};
    QVERIFY(dest.start().isEmpty());
    dest.configure(m_project);
    makeSite(site(QString()));
    put(site(QStringLiteral("a/readme.txt")), "read me\n");
    for (const QString& gone : {QStringLiteral("a/b/gone.htm"), QStringLiteral("a/gone.htm"),
                                QStringLiteral("a/gone.txt"), QStringLiteral("gone.htm")})
        put(dest.disk() + u'/' + gone, "gone\n");
    QStringList changedFiles;
    for (const QString& c : changed)
        changedFiles << site(c);
    const TPublishResult r =
        transfer(mode, changedFiles, current.isEmpty() ? QString() : site(current), dir, filter);
    QVERIFY2(!r.failed(), qPrintable(r.Error + m_monitor.errors.join(u'\n')));
    QStringList copied, removed;
    for (const TPublishStep& s : r.Steps)
        (s.Action == TPublishStep::Copy ? copied : removed) << s.Path;
    copied.sort();
    QCOMPARE(copied, sent);
    QCOMPARE(removed, deleted);
    for (const QString& f : sent)
        QCOMPARE(readAll(dest.disk() + u'/' + f), readAll(site(f)));
}

void TestPublisher::timeTolerance_data() {
    QTest::addColumn<int>("olderBy");
    QTest::addColumn<bool>("overwrite");
    QTest::addColumn<bool>("sent");
    QTest::newRow("2 s older stays") << 2 << false << false;
    QTest::newRow("3 s older goes") << 3 << false << true;
    QTest::newRow("newer stays") << -60 << false << false;
    QTest::newRow("overwrite all") << 0 << true << true;
}

void TestPublisher::timeTolerance() {
    QFETCH(int, olderBy);
    QFETCH(bool, overwrite);
    QFETCH(bool, sent);
    PublishDestination dest{PublishDestination::DestFolder};
    QVERIFY(dest.start().isEmpty());
    dest.configure(m_project);
    const QDateTime t = QDateTime::currentDateTimeUtc().addDays(-2);
    const QDateTime whole = QDateTime::fromSecsSinceEpoch(t.toSecsSinceEpoch(), Qt::UTC);
    put(site(QStringLiteral("page.htm")), "new text\n");
    put(dest.disk() + QStringLiteral("/page.htm"), "old text\n");
    setFileTime(site(QStringLiteral("page.htm")), whole);
    setFileTime(dest.disk() + QStringLiteral("/page.htm"), whole.addSecs(-olderBy));
    const TPublishResult r = transfer(tfAllFiles | (overwrite ? kTransferOverwrite : 0));
    QVERIFY(!r.failed());
    QCOMPARE(r.Copied, sent ? 1 : 0);
    QCOMPARE(readAll(dest.disk() + QStringLiteral("/page.htm")),
             sent ? QByteArray("new text\n") : QByteArray("old text\n"));
    if (sent)
        QCOMPARE(r.Steps.first().Reason, overwrite ? prOverwrite : prOlder);
}

// --- Destinations that are refused ------------------------------------------------------------

void TestPublisher::refusedDirectDestinations_data() {
    QTest::addColumn<QString>("dest");
    QTest::newRow("the project folder") << "site";
    QTest::newRow("the project folder with a slash") << "site/";
    QTest::newRow("inside it") << "site/public";
    QTest::newRow("around it") << "";
    QTest::newRow("the top") << "/";
    QTest::newRow("nothing") << "-";
}

void TestPublisher::refusedDirectDestinations() {
    QFETCH(QString, dest);
    put(site(QStringLiteral("index.htm")), "<p>home</p>\n");
    m_project.TransferMode = tmDirect;
    m_project.RemotePath = dest == u"-" ? QString() : dest == u"/" ? dest : m_dir->filePath(dest);
    const QStringList before = filesBelow(m_dir->filePath(QStringLiteral("site")));
    for (int run = 0; run < 2; ++run) {
        const TPublishResult r = run == 0 ? transfer(tfAllFiles | kTransferSync) : clear();
        QVERIFY(r.failed());
        QVERIFY2(r.Error.contains(QLatin1String("cannot be used")), qPrintable(r.Error));
        QCOMPARE(m_monitor.final(), QStringLiteral("hide"));
    }
    QVERIFY(m_asked.isEmpty());
    QCOMPARE(filesBelow(m_dir->filePath(QStringLiteral("site"))), before);
    QVERIFY(!QFileInfo::exists(m_dir->filePath(QStringLiteral("site/public"))));
    QVERIFY2(readAll(m_log->logName()).contains("*** The destination folder"),
             readAll(m_log->logName()).constData());
}

void TestPublisher::clearRefusesServerTop_data() {
    QTest::addColumn<QString>("remote");
    QTest::newRow("empty") << "";
    QTest::newRow("the top") << "/";
    QTest::newRow("the top, twice") << "//";
    QTest::newRow("the login folder by name") << "/.";
}

void TestPublisher::clearRefusesServerTop() {
    QFETCH(QString, remote);
    PublishDestination dest{PublishDestination::DestPyftpd};
    QVERIFY2(dest.start().isEmpty(), "pyftpdlib");
    dest.configure(m_project);
    m_project.RemotePath = remote;
    const QString keep = QDir::cleanPath(dest.disk() + QStringLiteral("/../keep.htm"));
    put(keep, "keep\n");
    const TPublishResult r = clear();
    QVERIFY(r.failed());
    QVERIFY2(r.Error.contains(QLatin1String("cannot be deleted")), qPrintable(r.Error));
    QVERIFY(m_asked.isEmpty());
    QVERIFY(QFileInfo::exists(keep));
}

// --- Broken connections and servers -----------------------------------------------------------

void TestPublisher::droppedUploadKeepsOldFile() {
    FakeFtpServer srv;
    srv.listFiles = true;
    srv.features << QStringLiteral("MLST type*;size*;modify*;") << QStringLiteral("MFMT")
                 << QStringLiteral("SIZE");
    srv.dirs << QStringLiteral("/site");
    const QByteArray old = bigPayload(20 * 1024 * 1024, 1);
    const QByteArray fresh = bigPayload(20 * 1024 * 1024, 2);
    srv.files.insert(QStringLiteral("/site/big.bin"), old);
    useScriptedServer(srv.port());
    m_project.BinTypes = QStringLiteral("bin");
    put(site(QStringLiteral("big.bin")), fresh);
    setFileTime(site(QStringLiteral("big.bin")), QDateTime::currentDateTimeUtc());

    // Every attempt of this run is cut off after 5 MB.
    srv.cutUploadAfter = 5 * 1024 * 1024;
    srv.cutsLeft = 100;
    const TPublishResult broken = transfer(tfAllFiles);
    QCOMPARE(broken.Deleted, -1);
    QCOMPARE(broken.Copied, 0);
    QCOMPARE(m_monitor.final(), QStringLiteral("close:-1,0"));
    QVERIFY(srv.files.value(QStringLiteral("/site/big.bin")) == old);
    QCOMPARE(srv.files.keys(), QStringList{QStringLiteral("/site/big.bin")}); // no part left
    const QString log = QString::fromLatin1(readAll(m_log->logName()));
    QVERIFY2(log.contains(QLatin1String("*** Error copying: big.bin")), qPrintable(log));
    QVERIFY(log.contains(QLatin1String("Error on file transfer!")));

    // The next run gets through.
    srv.cutsLeft = 0;
    const TPublishResult rerun = transfer(tfAllFiles);
    QVERIFY2(!rerun.failed(), qPrintable(m_monitor.errors.join(u'\n')));
    QCOMPARE(rerun.Copied, 1);
    QVERIFY(srv.files.value(QStringLiteral("/site/big.bin")) == fresh);
    QCOMPARE(srv.files.keys(), QStringList{QStringLiteral("/site/big.bin")});
}

void TestPublisher::newFolderArrivesWhole_data() {
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QStringList>("arrived");
    QTest::addColumn<QString>("error");
    QTest::newRow("none") << QString()
                          << QStringList{"/site/a/b/three.htm", "/site/a/one.htm",
                                         "/site/a/two.htm"}
                          << QString();
    // Each file then goes into place by itself.
    QTest::newRow("folder rename refused")
        << "refuse rename"
        << QStringList{"/site/a/b/three.htm", "/site/a/one.htm", "/site/a/two.htm"} << QString();
    QTest::newRow("stored short") << "short"
                                  << QStringList{"/site/a/b/three.htm", "/site/a/one.htm"}
                                  << "*** Error copying: a/two.htm - The server holds 199999 "
                                     "bytes instead of 200000.";
    // A stop during an upload: the files sent before it arrive.
    QTest::newRow("cancelled") << "cancel" << QStringList{"/site/a/b/three.htm", "/site/a/one.htm"}
                               << QString();
    // A cut upload is sent again over a new connection ...
    QTest::newRow("connection cut once")
        << "cut once" << QStringList{"/site/a/b/three.htm", "/site/a/one.htm", "/site/a/two.htm"}
        << QString();
    // ... and when that fails too, what was whole before arrives and the rest is gone.
    QTest::newRow("connection cut every time")
        << "cut" << QStringList{"/site/a/b/three.htm", "/site/a/one.htm"}
        << "*** Error copying: two.htm";
}

void TestPublisher::newFolderArrivesWhole() {
    QFETCH(QString, fault);
    QFETCH(QStringList, arrived);
    QFETCH(QString, error);
    FakeFtpServer srv;
    srv.listFiles = true;
    srv.features << QStringLiteral("MLST type*;size*;modify*;") << QStringLiteral("MFMT");
    srv.dirs << QStringLiteral("/site");
    useScriptedServer(srv.port());
    put(site(QStringLiteral("a/one.htm")), "1\n");
    put(site(QStringLiteral("a/two.htm")), QByteArray(200000, 'x'));
    put(site(QStringLiteral("a/b/three.htm")), "3\n");
    srv.refuseFolderRename = fault == u"refuse rename";
    if (fault == u"short")
        srv.shortStores << QStringLiteral("/site/.a.orvel-part/two.htm");
    if (fault.startsWith(u"cut")) {
        srv.cutUploadAfter = 50000;
        srv.cutsLeft = fault == u"cut" ? 100 : 1;
    }
    // Until the end of its run the folder is not there under its name.
    bool seenEarly = false;
    bool hold = fault == u"cancel";
    srv.on(QStringLiteral("STOR"), [&srv, &seenEarly, &hold](const QString& name) {
        seenEarly = seenEarly || srv.dirs.contains(QStringLiteral("/site/a"));
        if (!hold || name != u"two.htm")
            return false;
        srv.files.insert(srv.cwd + QStringLiteral("/two.htm"), "xx"); // begun, never finished
        return true;
    });
    m_monitor.onStatus = [this, &hold](const QString& line) {
        if (hold && line.endsWith(QLatin1String("two.htm")))
            QTimer::singleShot(200, [this] { m_monitor.stop = true; });
    };
    const TPublishResult r = transfer(tfAllFiles);
    QVERIFY(!seenEarly);
    QCOMPARE(r.Cancelled, hold);
    const QString log = QString::fromLatin1(readAll(m_log->logName()));
    if (error.isEmpty()) {
        QVERIFY2(!r.failed(), qPrintable(log));
    } else {
        QVERIFY2(r.Deleted == -1 && log.contains(error), qPrintable(log));
    }
    QCOMPARE(r.Copied, arrived.size());
    QStringList stored = srv.files.keys();
    stored.sort();
    QCOMPARE(stored, arrived);
    for (const QString& d : std::as_const(srv.dirs))
        QVERIFY2(!d.contains(QLatin1String("orvel-part")), qPrintable(d));
    QCOMPARE(srv.files.value(QStringLiteral("/site/a/one.htm")), QByteArray("1\n"));

    // A second run sends exactly what is missing.
    srv.shortStores.clear();
    srv.cutsLeft = 0;
    hold = false;
    m_monitor.stop = false;
    const TPublishResult again = transfer(tfAllFiles);
    QVERIFY2(!again.failed(), qPrintable(m_monitor.errors.join(u'\n')));
    QCOMPARE(again.Copied, 3 - arrived.size());
    QCOMPARE(srv.files.value(QStringLiteral("/site/a/two.htm")), QByteArray(200000, 'x'));
}

void TestPublisher::renameOverRefusedFallsBack() {
    FakeFtpServer srv;
    srv.listFiles = true;
    srv.refuseRenameOver = true;
    srv.features << QStringLiteral("MLST type*;size*;modify*;") << QStringLiteral("MFMT");
    srv.dirs << QStringLiteral("/site");
    srv.files.insert(QStringLiteral("/site/index.htm"), "old\n");
    useScriptedServer(srv.port());
    put(site(QStringLiteral("index.htm")), "new and longer\n");
    const TPublishResult r = transfer(tfAllFiles);
    QVERIFY2(!r.failed(), qPrintable(m_monitor.errors.join(u'\n')));
    QCOMPARE(srv.files.value(QStringLiteral("/site/index.htm")), QByteArray("new and longer\n"));
    const QStringList sent = srv.commandsSince(1);
    const qsizetype stor = sent.indexOf(QStringLiteral("STOR .index.htm.orvel-part"));
    QVERIFY(stor > 0);
    QCOMPARE(
        sent.mid(stor + 1).filter(QRegularExpression(QStringLiteral("^(SIZE|RNFR|RNTO|DELE)"))),
        QStringList({"SIZE .index.htm.orvel-part", "RNFR .index.htm.orvel-part", "RNTO index.htm",
                     "DELE index.htm", "RNFR .index.htm.orvel-part", "RNTO index.htm"}));
}

void TestPublisher::pathListingRefused() {
    // A server that lists only from inside a folder: each folder is entered instead, and the
    // refusal is learnt once, not taken for a missing folder.
    FakeFtpServer srv;
    srv.listFiles = true;
    srv.refusePathListing = true;
    srv.features << QStringLiteral("MLST type*;size*;modify*;") << QStringLiteral("MFMT");
    srv.dirs << QStringLiteral("/site") << QStringLiteral("/site/a");
    srv.files.insert(QStringLiteral("/site/index.htm"), "old\n");
    useScriptedServer(srv.port());
    put(site(QStringLiteral("index.htm")), "new and longer\n");
    put(site(QStringLiteral("a/page.htm")), "page\n");
    put(site(QStringLiteral("b/other.htm")), "other\n");
    const TPublishResult r = transfer(tfAllFiles);
    QVERIFY2(!r.failed(), qPrintable(m_monitor.errors.join(u'\n')));
    QCOMPARE(r.Copied, 3);
    QCOMPARE(srv.files.value(QStringLiteral("/site/index.htm")), QByteArray("new and longer\n"));
    QCOMPARE(srv.files.value(QStringLiteral("/site/a/page.htm")), QByteArray("page\n"));
    QCOMPARE(srv.files.value(QStringLiteral("/site/b/other.htm")), QByteArray("other\n"));
    const QStringList sent = srv.commandsSince(1);
    QCOMPARE(sent.filter(QRegularExpression(QStringLiteral("^MLSD /"))).size(), 1);
    QVERIFY(!sent.contains(QStringLiteral("MKD /site/a")));
}

void TestPublisher::remoteFolderCannotBeMade() {
    PublishDestination dest{PublishDestination::DestPyftpd};
    QVERIFY2(dest.start().isEmpty(), "pyftpdlib");
    dest.configure(m_project);
    makeSite(site(QString()));
    // A file stands where the folder "a" must go.
    put(dest.disk() + QStringLiteral("/a"), "in the way\n");
    const TPublishResult r = transfer(tfAllFiles);
    QCOMPARE(r.Deleted, -1);
    QCOMPARE(m_monitor.final(), QStringLiteral("close:-1,0"));
    const QString log = QString::fromLatin1(readAll(m_log->logName()));
    QVERIFY2(log.contains(QLatin1String("*** Error creating directory: a/b")) ||
                 log.contains(QLatin1String("*** Error creating directory: a")),
             qPrintable(log));
    // Nothing went anywhere else instead.
    QCOMPARE(filesBelow(dest.disk()), QStringList{QStringLiteral("a")});
}

void TestPublisher::listedNamesAndCaseChange() {
    PublishDestination dest{PublishDestination::DestPyftpd};
    QVERIFY2(dest.start().isEmpty(), "pyftpdlib");
    dest.configure(m_project);
    m_project.CaseMode = tcLower;
    put(site(QStringLiteral("Sub/Index.HTM")), "<p>index</p>\n");
    put(dest.disk() + QStringLiteral("/sub/OLD.htm"), "old\n");
    put(dest.disk() + QStringLiteral("/sub/~Keep.htm"), "keep\n");
    const TPublishResult r = transfer(tfAllFiles | kTransferSync);
    QVERIFY2(!r.failed(), qPrintable(m_monitor.errors.join(u'\n')));
    QCOMPARE(describe(r.Steps), QStringLiteral("Delete: sub/OLD.htm (deleted locally)\n"
                                               "Copy: sub/index.htm (missing)"));
    QCOMPARE(filesBelow(dest.disk()),
             QStringList({QStringLiteral("sub/index.htm"), QStringLiteral("sub/~Keep.htm")}));
    const QStringList sent = commands();
    QVERIFY(sent.contains(QStringLiteral("DELE OLD.htm")));
}

void TestPublisher::cancelKeepsOldFile() {
    PublishDestination dest{PublishDestination::DestFolder};
    QVERIFY(dest.start().isEmpty());
    dest.configure(m_project);
    m_project.BinTypes = QStringLiteral("bin");
    const QByteArray big = bigPayload(30 * 1024 * 1024, 3);
    put(site(QStringLiteral("a.bin")), big);
    put(site(QStringLiteral("b.bin")), big);
    put(dest.disk() + QStringLiteral("/b.bin"), "old\n");
    setFileTime(dest.disk() + QStringLiteral("/b.bin"),
                QDateTime::currentDateTimeUtc().addDays(-3));
    // Stopped while the second file is being copied.
    m_monitor.onStatus = [this](const QString& line) {
        if (line == u"b.bin")
            m_monitor.stop = true;
    };
    const TPublishResult r = transfer(tfAllFiles);
    QVERIFY(r.Cancelled);
    QCOMPARE(r.Copied, 1);
    QCOMPARE(m_monitor.final(), QStringLiteral("close:0,1,stopped"));
    QCOMPARE(readAll(dest.disk() + QStringLiteral("/b.bin")), QByteArray("old\n"));
    // The log tells of the stop and of what was done, not of an error.
    const QString log = QString::fromLatin1(readAll(m_log->logName()));
    QVERIFY2(log.contains(QLatin1String("    Canceled by user!\r\n    1 file(s) copied\r\n")),
             qPrintable(log));
    QVERIFY(!log.contains(QLatin1String("***")));
    QCOMPARE(filesBelow(dest.disk()), QStringList({"a.bin", "b.bin"}));
}

void TestPublisher::cancelSmallFtpUpload() {
    // A small file is sent without a thread of its own; a stop still reaches it while the
    // server keeps it waiting, and the old file stays.
    FakeFtpServer srv;
    srv.listFiles = true;
    srv.features << QStringLiteral("MLST type*;size*;modify*;");
    srv.dirs << QStringLiteral("/site");
    srv.files.insert(QStringLiteral("/site/index.htm"), "old\n");
    srv.on(QStringLiteral("STOR"), [&srv](const QString& name) {
        srv.files.insert(QStringLiteral("/site/") + name, "ne"); // begun, never finished
        return true;
    });
    useScriptedServer(srv.port());
    put(site(QStringLiteral("index.htm")), "new\n");
    m_monitor.onStatus = [this](const QString& line) {
        if (line == u"index.htm")
            QTimer::singleShot(200, [this] { m_monitor.stop = true; });
    };
    QElapsedTimer t;
    t.start();
    const TPublishResult r = transfer(tfAllFiles);
    QVERIFY(r.Cancelled);
    QVERIFY2(t.elapsed() < 20000, "the stop did not reach the upload");
    QCOMPARE(r.Copied, 0);
    QCOMPARE(srv.files.value(QStringLiteral("/site/index.htm")), QByteArray("old\n"));
    QVERIFY(!srv.files.contains(QStringLiteral("/site/.index.htm.orvel-part")));
}

void TestPublisher::stopWhileConnecting() {
    FakeFtpServer srv;
    srv.greeting.clear(); // it never answers
    useScriptedServer(srv.port());
    put(site(QStringLiteral("index.htm")), "<p>home</p>\n");
    QTimer::singleShot(300, this, [this] { m_monitor.stop = true; });
    QElapsedTimer t;
    t.start();
    const TPublishResult r = transfer(tfAllFiles);
    QVERIFY2(t.elapsed() < 5000, qPrintable(QString::number(t.elapsed())));
    QVERIFY(r.Cancelled);
    QVERIFY2(r.Error.isEmpty(), qPrintable(r.Error));
    QCOMPARE(m_monitor.final(), QStringLiteral("hide"));
    QVERIFY(readAll(m_log->logName()).contains("Canceled by user!"));
}

void TestPublisher::oneRunAtATime() {
    PublishDestination dest{PublishDestination::DestFolder};
    QVERIFY(dest.start().isEmpty());
    dest.configure(m_project);
    put(site(QStringLiteral("a.htm")), "a\n");
    put(site(QStringLiteral("b.htm")), "b\n");
    TPublishResult inner;
    m_monitor.onStatus = [this, &inner](const QString& line) {
        if (line == u"a.htm") {
            QVERIFY(TPublisher::Running());
            inner = transfer(tfAllFiles);
        }
    };
    const TPublishResult outer = transfer(tfAllFiles);
    QVERIFY(!outer.failed());
    QCOMPARE(outer.Copied, 2);
    QVERIFY2(inner.Error.contains(QLatin1String("running already")), qPrintable(inner.Error));
    QVERIFY(!TPublisher::Running());

    // Another program publishing the same project holds its lock.
    m_monitor.onStatus = nullptr;
    QDir().mkpath(m_dir->filePath(QStringLiteral("records")));
    QLockFile other(
        TPublishRecord::fileNameFor(m_dir->filePath(QStringLiteral("records")),
                                    QFileInfo(m_project.ProjFileName).absoluteFilePath()) +
        QStringLiteral(".lock"));
    QVERIFY(other.tryLock(0));
    const TPublishResult refused = transfer(tfAllFiles);
    QVERIFY2(refused.Error.contains(QLatin1String("another program")), qPrintable(refused.Error));
    other.unlock();
    QVERIFY(!transfer(tfAllFiles).failed());
}

// --- The publish record -----------------------------------------------------------------------

void TestPublisher::publishRecord_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("entries");
    const QByteArray head = "Orvel publish record 1\ndestination\tftp://u@h:21/www\n";
    QTest::newRow("two entries") << head + "12\t1000\t\tindex.htm\n5\t2000\ta%2Fb\tx%09y.htm\n"
                                 << 2;
    QTest::newRow("another destination")
        << QByteArray("Orvel publish record 1\ndestination\tftp://u@h:21/other\n12\t1\t\ta\n") << 0;
    QTest::newRow("no header") << QByteArray("12\t1000\t\tindex.htm\n") << 0;
    QTest::newRow("damaged lines skipped")
        << head +
               "x\t1\t\ta\n-1\t1\t\tb\n1\t1\t\t\n1\t1\t/abs\tc\n1\t1\t\td%2Fe\n1\t1\t\tok\n1\t1\n"
        << 1;
    QTest::newRow("empty") << QByteArray() << 0;
}

void TestPublisher::publishRecord() {
    QFETCH(QByteArray, text);
    QFETCH(int, entries);
    const QString destination = QStringLiteral("ftp://u@h:21/www");
    const TPublishRecord r = TPublishRecord::parse(text, destination);
    QCOMPARE(r.count(), entries);
    // Written and read back, it is the same record.
    const QString file = m_dir->filePath(QStringLiteral("records/r.rec"));
    QVERIFY(r.save(file).ok());
    const TPublishRecord back = TPublishRecord::load(file, destination);
    QCOMPARE(back.serialize(), r.serialize());
    if (entries == 2) {
        QVERIFY(back.find(QStringLiteral("a/b"), QStringLiteral("x\ty.htm")));
        QCOMPARE(back.find(QString(), QStringLiteral("index.htm"))->Size, 12);
    }
}

QTEST_GUILESS_MAIN(TestPublisher)
#include "tst_publisher.moc"
