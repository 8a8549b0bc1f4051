#include "TestFiles.h"
#include "base/core/FileSize.h"
#include "base/core/IniFileUtils.h"
#include "base/core/ShellDirLogic.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

using namespace orvel;

namespace orvel {
char* toString(const TShellView& v) {
    return QTest::toString(QStringLiteral("{%1, %2, %3}").arg(int(v.root)).arg(v.top, v.folder));
}
} // namespace orvel

Q_DECLARE_METATYPE(orvel::TShellRoot)
Q_DECLARE_METATYPE(orvel::TShellView)
Q_DECLARE_METATYPE(orvel::TCreateFolderResult)

namespace {
// Builds a tree from entries relative to base: a trailing "/" makes a folder, "ro:" a file
// without write permission, anything else a file.
void makeTree(const QString& base, const QStringList& entries) {
    for (QString e : entries) {
        const bool readOnly = e.startsWith(QStringLiteral("ro:"));
        if (readOnly)
            e = e.mid(3);
        const QString path = base + u'/' + e;
        if (e.endsWith(u'/')) {
            QVERIFY(QDir().mkpath(path));
            continue;
        }
        QVERIFY(QDir().mkpath(QFileInfo(path).path()));
        test::writeAll(path, "x");
        if (readOnly)
            QVERIFY(QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ReadGroup));
    }
}

// Sets or clears the immutable flag; false where the file system or the rights refuse it.
bool setImmutable(const QString& path, bool on) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY);
    if (fd < 0)
        return false;
    int flags = 0;
    bool ok = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    if (ok) {
        flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
        ok = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    }
    ::close(fd);
    return ok;
}

TShellView view(TShellRoot root, const QString& top, const QString& folder) {
    return {root, top, folder};
}
} // namespace

class TestShellDirLogic : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void fileSize_data();
    void fileSize();

    void recentFolders_data();
    void recentFolders();
    void settingsRoundTrip();
    void settingsFromGarbage();
    void settingsWriteFailureIsReturned();

    void mountTables();
    void networkTopIsTheDeepestMount();
    void startView_data();
    void startView();
    void viewFor_data();
    void viewFor();
    void folderUp_data();
    void folderUp();
    void folderFromText_data();
    void folderFromText();

    void createSubFolder_data();
    void createSubFolder();
    void deleteDefinitely_data();
    void deleteDefinitely();
    void deleteKeepsFoldersThatCouldNotBeEmptied();
    void deleteFailsOnAnImmutableFile();
    void deleteRemovesALinkNotItsTarget();
};

void TestShellDirLogic::fileSize_data() {
    QTest::addColumn<qint64>("bytes");
    QTest::addColumn<bool>("decimal");
    QTest::addColumn<QChar>("separator");
    QTest::addColumn<QString>("expected");
    const QChar point = u'.';
    QTest::newRow("zero") << qint64(0) << true << point << "0 B";
    QTest::newRow("unknown size") << qint64(-1) << true << point << "0 B";
    QTest::newRow("below 1000") << qint64(999) << true << point << "999 B";
    QTest::newRow("1000 decimal") << qint64(1000) << true << point << "1.00 kB";
    QTest::newRow("comma") << qint64(1000) << true << QChar(u',') << "1,00 kB";
    QTest::newRow("one decimal below 100") << qint64(12345678) << true << point << "12.3 MB";
    QTest::newRow("rounds into 100") << qint64(99999) << true << point << "100.0 kB";
    QTest::newRow("none from 100") << qint64(123456789) << true << point << "123 MB";
    QTest::newRow("gigabytes") << qint64(5'000'000'000) << true << point << "5.00 GB";
    QTest::newRow("beyond GB stays GB")
        << qint64(2'000'000'000'000) << true << point << "2000.00 GB";
    QTest::newRow("1023 binary") << qint64(1023) << false << point << "1023 B";
    QTest::newRow("1000 binary") << qint64(1000) << false << point << "1000 B";
    QTest::newRow("1024 binary") << qint64(1024) << false << point << "1.00 KiB";
    QTest::newRow("1.5 KiB") << qint64(1536) << false << point << "1.50 KiB";
    QTest::newRow("MiB") << qint64(1048576) << false << point << "1.00 MiB";
    QTest::newRow("GiB") << qint64(5368709120) << false << point << "5.00 GiB";
}

void TestShellDirLogic::fileSize() {
    QFETCH(qint64, bytes);
    QFETCH(bool, decimal);
    QFETCH(QChar, separator);
    QFETCH(QString, expected);
    QCOMPARE(formatFileSize(bytes, decimal, separator), expected);
}

void TestShellDirLogic::recentFolders_data() {
    QTest::addColumn<QStringList>("chosen");
    QTest::addColumn<QStringList>("expected");
    QStringList sixteen;
    for (int i = 1; i <= 16; ++i)
        sixteen << QStringLiteral("/f%1").arg(i);
    QStringList lastFifteen;
    for (int i = 16; i >= 2; --i)
        lastFifteen << QStringLiteral("/f%1").arg(i);
    QTest::newRow("same twice keeps one at the front")
        << QStringList{"/a", "/b", "/a"} << QStringList{"/a", "/b"};
    QTest::newRow("trailing slash is the same folder")
        << QStringList{"/a/b/", "/c", "/a/b"} << QStringList{"/a/b", "/c"};
    QTest::newRow("case makes another folder")
        << QStringList{"/Data", "/data"} << QStringList{"/data", "/Data"};
    QTest::newRow("root stays a slash") << QStringList{"/", "//"} << QStringList{"/"};
    QTest::newRow("16 different drop the oldest") << sixteen << lastFifteen;
}

void TestShellDirLogic::recentFolders() {
    QFETCH(QStringList, chosen);
    QFETCH(QStringList, expected);
    TShellDirSettings s;
    for (const QString& f : chosen)
        s.addFolder(f);
    QCOMPARE(s.folders.items(), expected);
}

void TestShellDirLogic::settingsRoundTrip() {
    QTemporaryDir tmp;
    const QString ini = tmp.filePath(QStringLiteral("orvel.ini"));
    // Other sections and keys beyond the list must survive; the list's old tail must not.
    test::writeAll(ini, "[Config]\r\nToolbar=0\r\n[RecentFolders]\r\nHistory0=/old0\r\n"
                        "History1=/old1\r\nHistory2=/old2\r\n");
    TShellDirSettings s;
    s.addFolder(QStringLiteral("/b"));
    s.addFolder(QStringLiteral("/a b/Ä"));
    s.Top = 90;
    s.Left = -20;
    s.DirWidth = 250;
    s.FileWidth = 180;
    s.Fileview = true;
    QCOMPARE(s.saveToFile(ini, QStringLiteral("RecentFolders")), QString());

    const TUnicodeIniFile file = TUnicodeIniFile::CreateForRead(ini);
    QCOMPARE(file.ReadInteger(QStringLiteral("Config"), QStringLiteral("Toolbar"), 1), 0);
    QVERIFY(!file.ValueExists(QStringLiteral("RecentFolders"), QStringLiteral("History2")));
    TShellDirSettings back;
    back.load(file, QStringLiteral("RecentFolders"));
    QCOMPARE(back.folders.items(), (QStringList{"/a b/Ä", "/b"}));
    QCOMPARE(back.Top, 90);
    QCOMPARE(back.Left, -20);
    QCOMPARE(back.DirWidth, 250);
    QCOMPARE(back.FileWidth, 180);
    QCOMPARE(back.Fileview, true);
}

void TestShellDirLogic::settingsFromGarbage() {
    const QByteArray text = "[RecentFolders]\nHistory0=/x/\nHistory1=/x\nHistory3=/X\n"
                            "History20=/beyond\nTop=abc\nLeft=\nDirWidth=-5\nFileWidth=$40\n"
                            "Fileview=maybe\n";
    const TUnicodeIniFile file = TUnicodeIniFile::FromBytes(text);
    TShellDirSettings s;
    s.load(file, QStringLiteral("RecentFolders"));
    QCOMPARE(s.folders.items(), (QStringList{"/x", "/X"}));
    QCOMPARE(s.Top, 0);
    QCOMPARE(s.Left, 0);
    QCOMPARE(s.DirWidth, 0);
    QCOMPARE(s.FileWidth, 64);
    QCOMPARE(s.Fileview, false);
}

void TestShellDirLogic::settingsWriteFailureIsReturned() {
    QTemporaryDir tmp;
    const QString ini = tmp.filePath(QStringLiteral("missing/orvel.ini"));
    TShellDirSettings s;
    s.addFolder(QStringLiteral("/a"));
    const QString error = s.saveToFile(ini, QStringLiteral("RecentFolders"));
    QVERIFY2(error.contains(ini), qPrintable(error));
}

void TestShellDirLogic::mountTables() {
    const QByteArray table = "/dev/sda1 / ext4 rw 0 0\n"
                             "proc /proc proc rw 0 0\n"
                             "//srv/share /mnt/my\\040share cifs rw 0 0\n"
                             "/dev/sdb1 /media/u/USB vfat rw 0 0\n"
                             "srv:/export /mnt/nfs nfs4 rw 0 0\n"
                             "/dev/loop0 /snap/core/1 squashfs ro 0 0\n"
                             "u@host:/ /home/u/remote fuse.sshfs rw 0 0\n"
                             "//srv/share /mnt/my\\040share cifs rw 0 0\n"
                             "tmpfs /run tmpfs rw 0 0\n"
                             "garbage\n\n";
    QCOMPARE(networkMountsIn(table), (QStringList{"/mnt/my share", "/mnt/nfs", "/home/u/remote"}));
    QCOMPARE(volumesIn(table),
             (QStringList{"/mnt/my share", "/media/u/USB", "/mnt/nfs", "/home/u/remote"}));
    QVERIFY(networkMountsIn(QByteArray()).isEmpty());
}

void TestShellDirLogic::networkTopIsTheDeepestMount() {
    TShellPlaces p;
    p.networkMounts = {"/mnt/a", "/mnt/a/inner", "/mnt/b"};
    QCOMPARE(shellRootTop(TShellRoot::Network, p, QStringLiteral("/mnt/a/inner/x")),
             QStringLiteral("/mnt/a/inner"));
    QCOMPARE(shellRootTop(TShellRoot::Network, p, QStringLiteral("/mnt/bb")),
             QStringLiteral("/mnt/a"));
    QCOMPARE(shellRootTop(TShellRoot::Network, TShellPlaces(), QStringLiteral("/x")), QString());
    QCOMPARE(shellRootTop(TShellRoot::Computer, p), QStringLiteral("/"));
}

void TestShellDirLogic::startView_data() {
    QTest::addColumn<QString>("path"); // relative to the temporary folder, "@" prefix = as is
    QTest::addColumn<QString>("defaultDir");
    QTest::addColumn<TShellRoot>("root");
    QTest::addColumn<QString>("top");
    QTest::addColumn<QString>("folder");
    const auto C = TShellRoot::Computer;
    QTest::newRow("nothing: desktop") << ""
                                      << "" << TShellRoot::Desktop << "desk"
                                      << "desk";
    QTest::newRow("path") << "work/a"
                          << "work/b" << C << "@/"
                          << "work/a";
    QTest::newRow("trailing slash") << "work/a/"
                                    << "" << C << "@/"
                                    << "work/a";
    QTest::newRow("default when no path") << ""
                                          << "work/b" << C << "@/"
                                          << "work/b";
    QTest::newRow("missing: documents") << "work/gone"
                                        << "work/b" << C << "@/"
                                        << "docs";
    QTest::newRow("a file is no folder") << "work/file.txt"
                                         << "" << C << "@/"
                                         << "docs";
    QTest::newRow("relative: documents") << "@work/a"
                                         << "" << C << "@/"
                                         << "docs";
    QTest::newRow("network") << "net/share/sub"
                             << "" << TShellRoot::Network << "net/share"
                             << "net/share/sub";
    QTest::newRow("network default") << ""
                                     << "net/share" << TShellRoot::Network << "net/share"
                                     << "net/share";
}

void TestShellDirLogic::startView() {
    QFETCH(QString, path);
    QFETCH(QString, defaultDir);
    QFETCH(TShellRoot, root);
    QFETCH(QString, top);
    QFETCH(QString, folder);
    QTemporaryDir tmp;
    makeTree(tmp.path(),
             {"desk/", "docs/", "work/a/", "work/b/", "work/file.txt", "net/share/sub/"});
    const auto abs = [&](const QString& rel) {
        if (rel.isEmpty())
            return rel;
        return rel.startsWith(u'@') ? rel.mid(1) : tmp.filePath(rel);
    };
    TShellPlaces places;
    places.desktop = tmp.filePath(QStringLiteral("desk"));
    places.documents = tmp.filePath(QStringLiteral("docs"));
    places.networkMounts = {tmp.filePath(QStringLiteral("net/share"))};
    const TShellView v = shellStartView(abs(path), abs(defaultDir), places);
    QCOMPARE(v.root, root);
    QCOMPARE(v.top, abs(top));
    QCOMPARE(v.folder, abs(folder));
}

void TestShellDirLogic::viewFor_data() {
    QTest::addColumn<TShellView>("current");
    QTest::addColumn<QString>("folder");
    QTest::addColumn<TShellView>("expected");
    const auto D = TShellRoot::Documents;
    const auto C = TShellRoot::Computer;
    QTest::newRow("below the top stays")
        << view(D, "/h/docs", "/h/docs") << "/h/docs/a/" << view(D, "/h/docs", "/h/docs/a");
    QTest::newRow("the top itself stays")
        << view(D, "/h/docs", "/h/docs/a") << "/h/docs" << view(D, "/h/docs", "/h/docs");
    QTest::newRow("outside goes to Computer")
        << view(D, "/h/docs", "/h/docs") << "/etc" << view(C, "/", "/etc");
    QTest::newRow("name prefix is not below")
        << view(D, "/h/docs", "/h/docs") << "/h/docs2" << view(C, "/", "/h/docs2");
    QTest::newRow("network share from elsewhere under Computer")
        << view(C, "/", "/etc") << "/mnt/share" << view(C, "/", "/mnt/share");
}

void TestShellDirLogic::viewFor() {
    QFETCH(TShellView, current);
    QFETCH(QString, folder);
    QFETCH(TShellView, expected);
    QCOMPARE(shellViewFor(current, folder), expected);
}

void TestShellDirLogic::folderUp_data() {
    QTest::addColumn<TShellView>("current");
    QTest::addColumn<TShellView>("expected");
    const auto C = TShellRoot::Computer;
    const auto D = TShellRoot::Documents;
    const auto N = TShellRoot::Network;
    QTest::newRow("computer") << view(C, "/", "/a/b") << view(C, "/", "/a");
    QTest::newRow("computer root stays") << view(C, "/", "/") << view(C, "/", "/");
    QTest::newRow("documents, deep")
        << view(D, "/h/docs", "/h/docs/x/y") << view(D, "/h/docs", "/h/docs/x");
    QTest::newRow("documents, to the top")
        << view(D, "/h/docs", "/h/docs/x") << view(D, "/h/docs", "/h/docs");
    QTest::newRow("from the top node") << view(D, "/h/docs", "/h/docs") << view(C, "/", "/h");
    QTest::newRow("desktop top node")
        << view(TShellRoot::Desktop, "/h/Desk", "/h/Desk") << view(C, "/", "/h");
    QTest::newRow("network share") << view(N, "/mnt/s", "/mnt/s/a") << view(N, "/mnt/s", "/mnt/s");
    QTest::newRow("nothing selected: the top") << view(D, "/h/docs", "") << view(C, "/", "/h");
    QTest::newRow("selection outside the top")
        << view(D, "/h/docs", "/etc/x") << view(C, "/", "/etc");
}

void TestShellDirLogic::folderUp() {
    QFETCH(TShellView, current);
    QFETCH(TShellView, expected);
    QCOMPARE(shellFolderUp(current), expected);
}

void TestShellDirLogic::folderFromText_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    QTest::newRow("absolute") << " /a//b/ "
                              << "/a/b";
    QTest::newRow("dots") << "/a/b/../c"
                          << "/a/c";
    QTest::newRow("home") << "~"
                          << "/home/u";
    QTest::newRow("below home") << "~/x"
                                << "/home/u/x";
    QTest::newRow("tilde name is relative") << "~x"
                                            << "";
    QTest::newRow("relative") << "a/b"
                              << "";
    QTest::newRow("empty") << ""
                           << "";
}

void TestShellDirLogic::folderFromText() {
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(orvel::folderFromText(text, QStringLiteral("/home/u")), expected);
}

void TestShellDirLogic::createSubFolder_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<TCreateFolderResult>("result");
    QTest::addColumn<QString>("path"); // relative; empty when none is named
    QTest::newRow("plain") << "new" << TCreateFolderResult::Created << "new";
    QTest::newRow("missing parents") << "a/b/c" << TCreateFolderResult::Created << "a/b/c";
    QTest::newRow("below an existing one")
        << "exists/deeper" << TCreateFolderResult::Created << "exists/deeper";
    QTest::newRow("existing") << "exists" << TCreateFolderResult::Exists << "exists";
    QTest::newRow("a file in the way")
        << "file.txt/sub" << TCreateFolderResult::Failed << "file.txt/sub";
    QTest::newRow("empty") << "" << TCreateFolderResult::NoName << "";
    QTest::newRow("blanks") << "   " << TCreateFolderResult::NoName << "";
}

void TestShellDirLogic::createSubFolder() {
    QFETCH(QString, name);
    QFETCH(TCreateFolderResult, result);
    QFETCH(QString, path);
    QTemporaryDir tmp;
    makeTree(tmp.path(), {"exists/", "file.txt"});
    QString created;
    QCOMPARE(orvel::createSubFolder(tmp.path(), name, created), result);
    QCOMPARE(created, path.isEmpty() ? QString() : tmp.filePath(path));
    QCOMPARE(QFileInfo(created).isDir(),
             result == TCreateFolderResult::Created || result == TCreateFolderResult::Exists);
}

void TestShellDirLogic::deleteDefinitely_data() {
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<int>("dirs");
    QTest::addColumn<int>("files");
    QTest::newRow("empty") << QStringList{} << 1 << 0;
    QTest::newRow("files and folders")
        << QStringList{"a.txt", "b.txt", "sub/c.txt", "sub/deeper/d.txt", "empty/"} << 4 << 4;
    QTest::newRow("read-only file") << QStringList{"ro:locked.txt", "sub/ro:x.txt"} << 2 << 2;
    QTest::newRow("hidden entries") << QStringList{".hidden", ".git/config"} << 2 << 2;
}

void TestShellDirLogic::deleteDefinitely() {
    QFETCH(QStringList, entries);
    QFETCH(int, dirs);
    QFETCH(int, files);
    QTemporaryDir tmp;
    const QString folder = tmp.filePath(QStringLiteral("victim"));
    QVERIFY(QDir().mkpath(folder));
    makeTree(folder, entries);
    // A folder without write permission must not stop the deletion either.
    if (QFileInfo(folder + QStringLiteral("/sub")).isDir())
        QVERIFY(QFile::setPermissions(folder + QStringLiteral("/sub"),
                                      QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    const TFolderDeletion r = deleteFolderDefinitely(folder);
    QVERIFY2(r.ok, qPrintable(r.failed));
    QCOMPARE(r.dirs, dirs);
    QCOMPARE(r.files, files);
    QVERIFY(!QFileInfo::exists(folder));
    QVERIFY(QFileInfo(tmp.path()).isDir());
}

void TestShellDirLogic::deleteKeepsFoldersThatCouldNotBeEmptied() {
    QTemporaryDir tmp;
    const QString folder = tmp.filePath(QStringLiteral("victim"));
    makeTree(folder, {"a.txt", "keep/stuck.txt", "keep/other.txt", "gone/x.txt"});
    const QString stuck = folder + QStringLiteral("/keep/stuck.txt");
    TDeleteOps ops;
    ops.removeFile = [&](const QString& p) { return p != stuck && QFile::remove(p); };
    const TFolderDeletion r = deleteFolderDefinitely(folder, ops);
    QVERIFY(!r.ok);
    QCOMPARE(r.failed, stuck);
    QCOMPARE(r.files, 3);
    QCOMPARE(r.dirs, 1); // "gone"
    QVERIFY(QFileInfo::exists(stuck));
    QVERIFY(!QFileInfo::exists(folder + QStringLiteral("/keep/other.txt")));
    QVERIFY(!QFileInfo::exists(folder + QStringLiteral("/gone")));
    QVERIFY(!QFileInfo::exists(folder + QStringLiteral("/a.txt")));
}

void TestShellDirLogic::deleteFailsOnAnImmutableFile() {
    QTemporaryDir tmp;
    const QString folder = tmp.filePath(QStringLiteral("victim"));
    makeTree(folder, {"free.txt", "sub/fixed.txt"});
    const QString fixed = folder + QStringLiteral("/sub/fixed.txt");
    if (!setImmutable(fixed, true))
        QSKIP("the immutable flag needs root on a file system that has it");
    const TFolderDeletion r = deleteFolderDefinitely(folder);
    setImmutable(fixed, false);
    QVERIFY(!r.ok);
    QCOMPARE(r.failed, fixed);
    QVERIFY(QFileInfo::exists(fixed));
    QVERIFY(!QFileInfo::exists(folder + QStringLiteral("/free.txt")));
}

void TestShellDirLogic::deleteRemovesALinkNotItsTarget() {
    QTemporaryDir tmp;
    makeTree(tmp.path(), {"target/precious.txt", "victim/inner/"});
    const QString precious = tmp.filePath(QStringLiteral("target/precious.txt"));
    QVERIFY(QFile::link(tmp.filePath(QStringLiteral("target")),
                        tmp.filePath(QStringLiteral("victim/inner/link"))));
    QVERIFY(QFile::link(precious, tmp.filePath(QStringLiteral("victim/filelink"))));
    // Permissions of a link's target must stay as they are.
    const QFileDevice::Permissions before = QFile::permissions(precious);
    QVERIFY(QFile::setPermissions(precious, QFileDevice::ReadOwner));
    const TFolderDeletion r = deleteFolderDefinitely(tmp.filePath(QStringLiteral("victim")));
    QVERIFY(r.ok);
    QCOMPARE(r.files, 2);
    QCOMPARE(r.dirs, 2);
    QVERIFY(QFileInfo::exists(precious));
    QVERIFY(!(QFile::permissions(precious) & QFileDevice::WriteOwner));
    QFile::setPermissions(precious, before);

    // A link chosen as the folder goes alone.
    QVERIFY(QFile::link(tmp.filePath(QStringLiteral("target")),
                        tmp.filePath(QStringLiteral("dirlink"))));
    const TFolderDeletion l = deleteFolderDefinitely(tmp.filePath(QStringLiteral("dirlink")));
    QVERIFY(l.ok);
    QCOMPARE(l.dirs, 1);
    QVERIFY(!QFileInfo(tmp.filePath(QStringLiteral("dirlink"))).isSymLink());
    QVERIFY(QFileInfo::exists(precious));
}

QTEST_GUILESS_MAIN(TestShellDirLogic)
#include "tst_shelldirlogic.moc"
