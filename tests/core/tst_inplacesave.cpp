// Saving a writable file in a folder the user may not write to: no temporary file can be made
// beside it, so it is written in place, and a full disk on the way leaves the old content.
//
// Tests usually run as root, whom folder permissions do not stop: the saves then run in a
// child process that has become "nobody".

#include "base/core/TextFile.h"

#include "TestFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <cerrno>
#include <cstring>
#include <functional>
#include <grp.h>
#include <pwd.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace orvel;
using orvel::test::readAll;
using orvel::test::writeAll;

namespace {

QByteArray native(const QString& name) {
    return QFile::encodeName(name);
}

// The user the saves run as: ourselves, or "nobody" when we are root.
struct TUser {
    bool drop = false;
    uid_t uid = ::geteuid();
    gid_t gid = ::getegid();
};

TUser saver() {
    TUser user;
    if (::geteuid() != 0)
        return user;
    const passwd* pw = ::getpwnam("nobody");
    if (!pw)
        return user;
    user = {true, pw->pw_uid, pw->pw_gid};
    return user;
}

// Runs the save as that user; the child reports the error text through a pipe.
TSaveResult saveAs(const TUser& user, const std::function<TSaveResult()>& save) {
    if (!user.drop)
        return save();
    int fds[2];
    if (::pipe(fds) != 0)
        return {QStringLiteral("pipe failed"), {}};
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(fds[0]);
        int code = 3;
        if (::setgroups(0, nullptr) == 0 && ::setgid(user.gid) == 0 && ::setuid(user.uid) == 0) {
            const TSaveResult r = save();
            const QByteArray error = r.error.toUtf8();
            code = r.ok() ? 0 : 1;
            if (::write(fds[1], error.constData(), size_t(error.size())) < 0)
                code = 4;
        }
        ::_exit(code);
    }
    ::close(fds[1]);
    QByteArray error;
    char buf[256];
    for (ssize_t n; (n = ::read(fds[0], buf, sizeof buf)) > 0;)
        error.append(buf, n);
    ::close(fds[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    const int code = WIFEXITED(status) ? WEXITSTATUS(status) : 99;
    if (code == 0)
        return {};
    if (code == 1)
        return {QString::fromUtf8(error), {}};
    return {QStringLiteral("the child could not become the user (%1)").arg(code), {}};
}

// A file the user may write, in a folder they may not.
bool prepare(const TUser& user, const QString& folder, const QString& file, const QByteArray& old) {
    writeAll(file, old);
    return ::chown(native(file).constData(), user.uid, user.gid) == 0 &&
           ::chmod(native(file).constData(), 0644) == 0 &&
           ::chmod(native(folder).constData(), 0555) == 0;
}

QStringList entries(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System |
                                  QDir::NoDotAndDotDot);
}

// A small tmpfs for one test, gone again at its end.
class TTmpfs {
public:
    explicit TTmpfs(const QString& path, int kilobytes) : m_path(native(path)) {
        const QByteArray options =
            QByteArray("mode=0755,size=") + QByteArray::number(kilobytes) + QByteArray("k");
        m_mounted = ::mount("tmpfs", m_path.constData(), "tmpfs", 0, options.constData()) == 0;
        m_error = m_mounted ? 0 : errno;
    }
    ~TTmpfs() {
        if (m_mounted)
            ::umount2(m_path.constData(), MNT_DETACH);
    }
    TTmpfs(const TTmpfs&) = delete;
    TTmpfs& operator=(const TTmpfs&) = delete;
    bool mounted() const { return m_mounted; }
    QString error() const { return QString::fromLocal8Bit(std::strerror(m_error)); }

private:
    QByteArray m_path;
    bool m_mounted = false;
    int m_error = 0;
};

// Fills the file system holding folder until only about `room` bytes are left.
bool fillDisk(const QString& folder, qint64 room) {
    const QString filler = folder + QStringLiteral("/filler");
    QFile f(filler);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return false;
    const QByteArray block(4096, 'f');
    while (f.write(block) == block.size()) {
    }
    const qint64 size = f.size();
    f.close();
    return size > room && ::truncate(native(filler).constData(), size - room) == 0;
}

} // namespace

class TestInPlaceSave : public QObject {
    Q_OBJECT
private slots:
    void savedInPlace_data();
    void savedInPlace();
    void fileNotWritable();
    void fullDiskKeepsOldContent_data();
    void fullDiskKeepsOldContent();
};

void TestInPlaceSave::savedInPlace_data() {
    QTest::addColumn<QByteArray>("old");
    QTest::addColumn<QByteArray>("text");
    QTest::newRow("longer") << QByteArray("old\r\n") << QByteArray("new\r\nline\nmore\r");
    QTest::newRow("shorter") << QByteArray(10000, 'o') << QByteArray("new");
    QTest::newRow("emptied") << QByteArray("old") << QByteArray();
    QTest::newRow("from empty") << QByteArray() << QByteArray("new");
}

void TestInPlaceSave::savedInPlace() {
    QFETCH(QByteArray, old);
    QFETCH(QByteArray, text);
    const TUser user = saver();
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QCOMPARE(::chmod(native(dir.path()).constData(), 0755), 0);
    const QString folder = dir.filePath(QStringLiteral("site"));
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("site")));
    const QString file = folder + QStringLiteral("/page.html");
    QVERIFY(prepare(user, folder, file, old));
    struct stat before {};
    QCOMPARE(::stat(native(file).constData(), &before), 0);

    const TSaveResult saved = saveAs(user, [&] { return saveTextFile(file, text, seUTF8, false); });
    ::chmod(native(folder).constData(), 0755);
    QVERIFY2(saved.ok(), qPrintable(saved.error));
    QCOMPARE(readAll(file), text);
    // The same file, with its owner and mode, and nothing left beside it.
    struct stat after {};
    QCOMPARE(::stat(native(file).constData(), &after), 0);
    QCOMPARE(after.st_ino, before.st_ino);
    QCOMPARE(after.st_uid, before.st_uid);
    QCOMPARE(after.st_mode, before.st_mode);
    QCOMPARE(entries(folder), QStringList{QStringLiteral("page.html")});
}

void TestInPlaceSave::fileNotWritable() {
    const TUser user = saver();
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QCOMPARE(::chmod(native(dir.path()).constData(), 0755), 0);
    const QString folder = dir.filePath(QStringLiteral("site"));
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("site")));
    const QString file = folder + QStringLiteral("/page.html");
    QVERIFY(prepare(user, folder, file, "old"));
    QCOMPARE(::chmod(native(file).constData(), 0444), 0);

    const TSaveResult saved =
        saveAs(user, [&] { return saveTextFile(file, "new", seUTF8, false); });
    ::chmod(native(folder).constData(), 0755);
    QVERIFY(!saved.ok());
    QVERIFY(!saved.error.isEmpty());
    QCOMPARE(readAll(file), QByteArray("old"));
}

void TestInPlaceSave::fullDiskKeepsOldContent_data() {
    QTest::addColumn<qint64>("room");
    QTest::newRow("no room at all") << qint64(0);
    QTest::newRow("room for a part") << qint64(8192);
}

void TestInPlaceSave::fullDiskKeepsOldContent() {
    QFETCH(qint64, room);
    if (::geteuid() != 0)
        QSKIP("mounting a small tmpfs needs the superuser");
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QCOMPARE(::chmod(native(dir.path()).constData(), 0755), 0);
    TTmpfs disk(dir.path(), 256);
    if (!disk.mounted())
        QSKIP(qPrintable(QStringLiteral("cannot mount a tmpfs here: ") + disk.error()));
    const TUser user = saver();
    const QString folder = dir.filePath(QStringLiteral("site"));
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("site")));
    const QString file = folder + QStringLiteral("/page.html");
    QByteArray old;
    for (int i = 0; old.size() < 16384; ++i)
        old += "<p>line " + QByteArray::number(i) + "</p>\r\n";
    QVERIFY(prepare(user, folder, file, old));
    QVERIFY(fillDisk(dir.path(), room));

    const QByteArray text = old + QByteArray(40000, 'n');
    const TSaveResult saved = saveAs(user, [&] { return saveTextFile(file, text, seUTF8, false); });
    QVERIFY(!saved.ok());
    QVERIFY2(saved.error.contains(QStringLiteral("space")), qPrintable(saved.error));
    QCOMPARE(readAll(file), old);
    QCOMPARE(QFileInfo(file).size(), old.size());

    // With room again the same save goes through.
    QVERIFY(QFile::remove(dir.filePath(QStringLiteral("filler"))));
    const TSaveResult again = saveAs(user, [&] { return saveTextFile(file, text, seUTF8, false); });
    ::chmod(native(folder).constData(), 0755);
    QVERIFY2(again.ok(), qPrintable(again.error));
    QCOMPARE(readAll(file), text);
}

QTEST_GUILESS_MAIN(TestInPlaceSave)
#include "tst_inplacesave.moc"
