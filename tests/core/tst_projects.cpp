#include "TestFiles.h"
#include "base/core/Errors.h"
#include "base/core/IniFileUtils.h"
#include "projects/core/ProjectInfo.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <sys/stat.h>

using namespace orvel;

namespace {
TUnicodeIniFile iniOf(const QString& projectSection) {
    return TUnicodeIniFile::FromBytes(
        (QStringLiteral("[Project]\n") + projectSection).toUtf8().prepend("\xEF\xBB\xBF"));
}

mode_t modeOf(const QString& fileName) {
    struct stat st {};
    ::stat(QFile::encodeName(fileName).constData(), &st);
    return st.st_mode & 0777;
}
} // namespace

class TestProjects : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void fileEntry_data();
    void fileEntry();
    void relativeNames_data();
    void relativeNames();
    void addRemove();
    void newProjectIsUtf8();
    void readDefaults();
    void countIsCutTo100();
    void roundTripKeepsEveryField_data();
    void roundTripKeepsEveryField();
    void keysInTheirOrder();
    void passwordFileIsPrivate();
    void writeOnlyWhenChanged();
    void failedWriteKeepsOldFile();
    void projectForFiles_data();
    void projectForFiles();
    void names();
    void garbageSurvives();
};

void TestProjects::fileEntry_data() {
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("column");
    QTest::addColumn<int>("line");
    QTest::addColumn<int>("lang");
    QTest::addColumn<int>("dateFormat");
    // The project's language here is 1033.
    QTest::newRow("stored") << "index.htm|1,12,1031,0"
                            << "index.htm" << 1 << 12 << 1031 << 0;
    QTest::newRow("no numbers") << "a.htm|"
                                << "a.htm" << 1 << 1 << 1033 << 0;
    QTest::newRow("no bar") << "sub/a.htm"
                            << "sub/a.htm" << 1 << 1 << 1033 << 0;
    QTest::newRow("leading blanks") << "a.htm| 3,  4, 1038, 2"
                                    << "a.htm" << 3 << 4 << 1038 << 2;
    QTest::newRow("malformed first") << "a.htm|x,5"
                                     << "a.htm" << 1 << 5 << 1033 << 0;
    QTest::newRow("only two") << "a.htm|7,9"
                              << "a.htm" << 7 << 9 << 1033 << 0;
    QTest::newRow("zero and negative") << "a.htm|0,-4,-1,-2"
                                       << "a.htm" << 1 << 1 << 1033 << 0;
    QTest::newRow("language too large") << "a.htm|2,2,70000,1"
                                        << "a.htm" << 2 << 2 << 1033 << 1;
    QTest::newRow("bar in numbers") << "a.htm|1,2,3,4|z"
                                    << "a.htm" << 1 << 2 << 3 << 0;
    QTest::newRow("percent signs in the name") << "100%1 %00 %9.htm|3,4,1031,2"
                                               << "100%1 %00 %9.htm" << 3 << 4 << 1031 << 2;
    QTest::newRow("empty name") << "|1,2"
                                << "" << 1 << 2 << 1033 << 0;
}

void TestProjects::fileEntry() {
    QFETCH(QString, value);
    const TTextFileInfo e = parseFileEntry(value, 1033);
    QTEST(e.Name, "name");
    QTEST(e.Props.CursorPos.Char, "column");
    QTEST(e.Props.CursorPos.Line, "line");
    QTEST(int(e.Props.TxtLangId), "lang");
    QTEST(e.Props.DateFormat, "dateFormat");
    // What is read is written back the same way, and read again unchanged.
    const TTextFileInfo again = parseFileEntry(formatFileEntry(e), 0);
    QCOMPARE(again.Name, e.Name);
    QCOMPARE(again.Props.CursorPos, e.Props.CursorPos);
    QCOMPARE(again.Props.TxtLangId, e.Props.TxtLangId);
}

void TestProjects::relativeNames_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("full");
    QTest::newRow("inside") << "/site/root/a.htm"
                            << "a.htm"
                            << "/site/root/a.htm";
    QTest::newRow("deeper") << "/site/root/css/s.css"
                            << "css/s.css"
                            << "/site/root/css/s.css";
    QTest::newRow("the root itself") << "/site/root"
                                     << ""
                                     << "/site/root";
    QTest::newRow("outside") << "/other/b.htm"
                             << "/other/b.htm"
                             << "/other/b.htm";
    QTest::newRow("same prefix, other folder") << "/site/rootx/c.htm"
                                               << "/site/rootx/c.htm"
                                               << "/site/rootx/c.htm";
    QTest::newRow("case differs") << "/site/Root/a.htm"
                                  << "/site/Root/a.htm"
                                  << "/site/Root/a.htm";
    QTest::newRow("dots") << "/site/root/x/../a.htm"
                          << "a.htm"
                          << "/site/root/a.htm";
}

void TestProjects::relativeNames() {
    QFETCH(QString, file);
    TProjectInfo p;
    p.ProjPath = QStringLiteral("/site/root/");
    const QString stored = p.RelativeName(file);
    QTEST(stored, "stored");
    if (!stored.isEmpty())
        QTEST(p.FullName(stored), "full");
    // Entries written on the other platform use backslashes.
    QCOMPARE(p.FullName(QStringLiteral("css\\s.css")), QStringLiteral("/site/root/css/s.css"));
}

void TestProjects::addRemove() {
    TProjectInfo p;
    p.ProjPath = QStringLiteral("/site/");
    QCOMPARE(p.Add(QString(), {}), -1);
    QVERIFY(p.Changed); // set in every case
    p.Changed = false;
    TTextProps props;
    props.CursorPos = {4, 20};
    props.TxtLangId = 1031;
    props.DateFormat = 3;
    QCOMPARE(p.Add(QStringLiteral("/site/a.htm"), props), 0);
    QCOMPARE(p.Add(QStringLiteral("/elsewhere/b.htm"), {}), 1);
    QCOMPARE(p.FileList.at(0).Name, QStringLiteral("a.htm"));
    QCOMPARE(p.FileList.at(1).Name, QStringLiteral("/elsewhere/b.htm"));
    p.Changed = false;
    const TTextProps got = p.Remove(QStringLiteral("/site/a.htm"));
    QVERIFY(p.Changed);
    QCOMPARE(got.CursorPos, (TBufferCoord{4, 20}));
    QCOMPARE(got.TxtLangId, 1031u);
    QCOMPARE(got.DateFormat, 3);
    QCOMPARE(p.FileList.size(), 1);
    const TTextProps none = p.Remove(QStringLiteral("/site/a.htm"));
    QCOMPARE(none.CursorPos, (TBufferCoord{1, 1}));
    QCOMPARE(none.TxtLangId, 0u);
    p.Changed = false;
    p.SetActiveFile(QStringLiteral("/site/sub/c.htm"));
    QCOMPARE(p.ActiveFile, QStringLiteral("sub/c.htm"));
    QVERIFY(p.Changed);
}

void TestProjects::newProjectIsUtf8() {
    // A new project, as the first start and the new-project dialog make it.
    TProjectInfo p(QStringLiteral("/w/Default.prj"));
    QCOMPARE(p.ProjEncoding, seUTF8);
    QVERIFY(!p.UseBom);
    TUnicodeIniFile ini = TUnicodeIniFile::FromBytes(QByteArray());
    QVERIFY(p.WriteTo(ini).ok());
    TProjectInfo back;
    back.ReadFrom(ini, 0, 0);
    QCOMPARE(back.ProjEncoding, seUTF8);
    QVERIFY(!back.UseBom);
}

void TestProjects::readDefaults() {
    TProjectInfo p;
    p.ReadFrom(iniOf(QStringLiteral("Path=/w/site\nCount=0\n")), 3, 1038);
    QCOMPARE(p.ProjName, QStringLiteral("Project03"));
    QCOMPARE(p.ProjPath, QStringLiteral("/w/site/"));
    QCOMPARE(p.LangId, 1038u);
    QCOMPARE(p.TextTypes, QStringLiteral("htm*,htt,css,js"));
    QCOMPARE(p.BinTypes, QStringLiteral("gif,jpg,png"));
    QCOMPARE(p.TransferMode, tmOff);
    QCOMPARE(p.ProjEncoding, seAnsi);
    QVERIFY(p.UseBom);
    QVERIFY(p.Reload);
    QVERIFY(p.FileList.isEmpty());

    // An FTP project without a port uses the FTP port, and a port out of range too.
    TProjectInfo ftp;
    ftp.ReadFrom(iniOf(QStringLiteral("TransferMode=2\nHost=h\n")), 0, 0);
    QCOMPARE(ftp.Port, 21);
    QCOMPARE(int(ftp.ProxyPar.Port), 2121);
    ftp.ReadFrom(iniOf(QStringLiteral("TransferMode=2\nPort=70000\nUseTLS=9\n")), 0, 0);
    QCOMPARE(ftp.Port, 21);
    QCOMPARE(ftp.SecureMode, 3);
    // A remote path is not read for a project that is not published.
    TProjectInfo off;
    off.ReadFrom(iniOf(QStringLiteral("TransferMode=0\nRemotePath=/x\n")), 0, 0);
    QVERIFY(off.RemotePath.isEmpty());
}

void TestProjects::countIsCutTo100() {
    QString text = QStringLiteral("Count=250\n");
    for (int i = 0; i < 250; ++i)
        text +=
            QStringLiteral("Name%1=f%1.htm|1,%2,0,0\n").arg(i, 2, 10, QLatin1Char('0')).arg(i + 1);
    TProjectInfo p;
    p.ReadFrom(iniOf(text), 0, 0);
    QCOMPARE(p.FileList.size(), 100);
    QCOMPARE(p.FileList.first().Name, QStringLiteral("f00.htm"));
    QCOMPARE(p.FileList.last().Name, QStringLiteral("f99.htm"));
    QCOMPARE(p.FileList.last().Props.CursorPos.Line, 100);
}

void TestProjects::roundTripKeepsEveryField_data() {
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("password");
    QTest::newRow("off") << int(tmOff) << QString();
    QTest::newRow("direct") << int(tmDirect) << QString();
    QTest::newRow("ftp") << int(tmFtp) << QStringLiteral("sécret €");
    QTest::newRow("ftp, 64 characters") << int(tmFtp) << QString(64, u'p');
}

void TestProjects::roundTripKeepsEveryField() {
    QFETCH(int, mode);
    QFETCH(QString, password);
    QTemporaryDir dir;
    TProjectInfo p(dir.filePath(QStringLiteral("site.prj")));
    p.ProjName = QStringLiteral("My site");
    p.ProjPath = QStringLiteral("/w/site/");
    p.ActiveFile = QStringLiteral("index.htm");
    p.SubDirs = QStringLiteral("img,css");
    p.TextTypes = QStringLiteral("htm*,php");
    p.BinTypes = QStringLiteral("png");
    p.CaseMode = tcLower;
    p.LangId = 1031;
    p.FileList = {{QStringLiteral("index.htm"), {{1, 12}, 1031, 0}},
                  {QStringLiteral("/tmp/x.css"), {{5, 3}, 0, 2}}};
    p.TransferMode = TTransferMode(mode);
    p.RemotePath = QStringLiteral("/htdocs");
    p.Host = QStringLiteral("ftp.example.org");
    p.Port = 2100;
    p.Username = QStringLiteral("me");
    p.Password = password;
    p.SecureMode = 2;
    p.Passive = true;
    p.ProxyPar = {QStringLiteral("proxy"), QStringLiteral("pu"), password, 8021, 4};
    p.CertFingerprint = QStringLiteral("AB:CD");
    p.ProtocolLog = true;
    p.ProjEncoding = seUTF8;
    p.UseBom = false;
    p.Reload = false;
    p.Changed = true;
    QVERIFY(WriteProject(p).ok());
    QVERIFY(!p.Changed);
    if (!password.isEmpty()) // never in plain text
        QVERIFY(!test::readAll(p.ProjFileName).contains(password.toUtf8()));

    TProjectInfo r(p.ProjFileName);
    ReadProject(r, 5, 0);
    QCOMPARE(r.ProjName, p.ProjName);
    QCOMPARE(r.ProjPath, p.ProjPath);
    QCOMPARE(r.ActiveFile, p.ActiveFile);
    QCOMPARE(r.SubDirs, p.SubDirs);
    QCOMPARE(r.TextTypes, p.TextTypes);
    QCOMPARE(r.BinTypes, p.BinTypes);
    QCOMPARE(r.CaseMode, tcLower);
    QCOMPARE(r.LangId, 1031u);
    QCOMPARE(r.FileList.size(), 2);
    QCOMPARE(r.FileList.at(0).Props.CursorPos, (TBufferCoord{1, 12}));
    QCOMPARE(r.FileList.at(1).Name, QStringLiteral("/tmp/x.css"));
    QCOMPARE(r.FileList.at(1).Props.DateFormat, 2);
    QCOMPARE(r.TransferMode, p.TransferMode);
    QCOMPARE(r.RemotePath, mode == tmOff ? QString() : p.RemotePath);
    if (mode == tmFtp) {
        QCOMPARE(r.Host, p.Host);
        QCOMPARE(r.Port, 2100);
        QCOMPARE(r.Username, p.Username);
        QCOMPARE(r.Password, password);
        QCOMPARE(r.SecureMode, 2);
        QVERIFY(r.Passive);
        QCOMPARE(r.ProxyPar.Server, p.ProxyPar.Server);
        QCOMPARE(r.ProxyPar.Username, p.ProxyPar.Username);
        QCOMPARE(r.ProxyPar.Password, password);
        QCOMPARE(r.ProxyPar.Port, 8021u);
        QCOMPARE(r.ProxyPar.Mode, quint8(4));
        QCOMPARE(r.CertFingerprint, QStringLiteral("AB:CD"));
        QVERIFY(r.ProtocolLog);
    } else {
        QVERIFY(r.Host.isEmpty());
        QVERIFY(r.CertFingerprint.isEmpty());
        QVERIFY(r.Password.isEmpty());
    }
    QCOMPARE(r.ProjEncoding, seUTF8);
    QVERIFY(!r.UseBom);
    QVERIFY(!r.Reload);
}

void TestProjects::keysInTheirOrder() {
    TProjectInfo p;
    p.FileList = {{QStringLiteral("a.htm"), {}}, {QStringLiteral("b.htm"), {}}};
    p.TransferMode = tmFtp;
    TUnicodeIniFile ini =
        TUnicodeIniFile::FromBytes(QByteArray("[Project]\nStale=1\nName=old\n[Other]\nKeep=1\n"));
    QVERIFY(p.WriteTo(ini).ok());
    const QStringList expected = {
        "Name",        "Path",          "Active",        "SubDirs",
        "TextTypes",   "BinTypes",      "ChangeNames",   "DictionaryLanguage",
        "Count",       "Name00",        "Name01",        "TransferMode",
        "Host",        "Port",          "Username",      "Password",
        "RemotePath",  "UseTLS",        "Passive",       "ProxyServer",
        "ProxyPort",   "ProxyUsername", "ProxyPassword", "ProxyType",
        "ProtocolLog", "Encoding",      "UseBom",        "Reload"};
    QCOMPARE(ini.SectionKeys(QStringLiteral("Project")), expected);
    QCOMPARE(ini.ReadString(QStringLiteral("Other"), QStringLiteral("Keep"), {}), "1");
    // Empty passwords stay empty.
    QCOMPARE(ini.ReadString(QStringLiteral("Project"), QStringLiteral("Password"), "x"), "");
}

void TestProjects::passwordFileIsPrivate() {
    QTemporaryDir dir;
    TProjectInfo p(dir.filePath(QStringLiteral("p.prj")));
    p.Changed = true;
    QVERIFY(WriteProject(p).ok());
    ::chmod(QFile::encodeName(p.ProjFileName).constData(), 0644);
    p.ProjName = QStringLiteral("no secret");
    p.Changed = true;
    QVERIFY(WriteProject(p).ok());
    QCOMPARE(modeOf(p.ProjFileName), mode_t(0644)); // kept while it holds no password
    p.TransferMode = tmFtp;
    p.Password = QStringLiteral("pw");
    p.Changed = true;
    QVERIFY(WriteProject(p).ok());
    QCOMPARE(modeOf(p.ProjFileName), mode_t(0600));
}

void TestProjects::writeOnlyWhenChanged() {
    QTemporaryDir dir;
    TProjectInfo p(dir.filePath(QStringLiteral("p.prj")));
    QVERIFY(WriteProject(p).ok());
    QVERIFY(!QFile::exists(p.ProjFileName));
    p.Add(QStringLiteral("/x.htm"), {});
    QVERIFY(WriteProject(p).ok());
    QVERIFY(QFile::exists(p.ProjFileName));
}

void TestProjects::failedWriteKeepsOldFile() {
    QTemporaryDir dir;
    TProjectInfo p(dir.filePath(QStringLiteral("p.prj")));
    p.ProjName = QStringLiteral("first");
    p.Changed = true;
    QVERIFY(WriteProject(p).ok());
    const QByteArray before = test::readAll(p.ProjFileName);
    p.ProjName = QStringLiteral("second");
    p.Changed = true;
    {
        test::FileSizeLimit limit(16);
        const TStatus written = WriteProject(p);
        QVERIFY2(!written.ok(), "a write cut short was reported as done");
        QVERIFY(written.error().contains(p.ProjFileName));
    }
    QVERIFY(p.Changed); // still to be written
    QCOMPARE(test::readAll(p.ProjFileName), before);
}

void TestProjects::projectForFiles_data() {
    QTest::addColumn<QStringList>("roots");
    QTest::addColumn<QStringList>("projectFiles");
    QTest::addColumn<QStringList>("files"); // below the temporary folder; "-" = missing
    QTest::addColumn<int>("expected");
    const QStringList twoFiles = {"/p/One.prj", "/p/Two.prj"};
    QTest::newRow("second root holds it")
        << QStringList{"a/", "b/"} << twoFiles << QStringList{"b/x.htm"} << 1;
    QTest::newRow("first existing file decides")
        << QStringList{"a/", "b/"} << twoFiles << QStringList{"-a/gone.htm", "b/x.htm", "a/y.htm"}
        << 1;
    QTest::newRow("deeper folder")
        << QStringList{"a/", "b/"} << twoFiles << QStringList{"a/sub/z.htm"} << 0;
    QTest::newRow("no root, the default project")
        << QStringList{"a/", "b/"} << QStringList{"/p/One.prj", "/p/default.PRJ"}
        << QStringList{"c/x.htm"} << 1;
    QTest::newRow("no root and no default")
        << QStringList{"a/", "b/"} << twoFiles << QStringList{"c/x.htm"} << -1;
    QTest::newRow("nothing exists keeps the index")
        << QStringList{"a/", "b/"} << twoFiles << QStringList{"-a/gone.htm"} << 7;
    QTest::newRow("name prefix is no folder")
        << QStringList{"a/", "b/"} << twoFiles << QStringList{"ab/x.htm"} << -1;
}

void TestProjects::projectForFiles() {
    QFETCH(QStringList, roots);
    QFETCH(QStringList, projectFiles);
    QFETCH(QStringList, files);
    QTemporaryDir dir;
    QList<TProjectInfo> projects;
    for (int i = 0; i < roots.size(); ++i) {
        TProjectInfo p(projectFiles.at(i));
        p.ProjPath = dir.filePath(roots.at(i));
        projects << p;
    }
    QStringList names;
    for (const QString& f : files) {
        const bool missing = f.startsWith(u'-');
        const QString name = dir.filePath(missing ? f.mid(1) : f);
        if (!missing) {
            QDir().mkpath(QFileInfo(name).absolutePath());
            test::writeAll(name, "x");
        }
        names << name;
    }
    QList<const TProjectInfo*> list;
    for (const TProjectInfo& p : projects)
        list << &p;
    QTEST(ProjectForFiles(list, names, 7), "expected");
}

void TestProjects::names() {
    QCOMPARE(proposedProjectFileName(2), QStringLiteral("Projekt03.prj"));
    QCOMPARE(proposedProjectFileName(0), QStringLiteral("Projekt01.prj"));
    QCOMPARE(defaultProjectName(0), QStringLiteral("Project00"));
    QCOMPARE(defaultProjectName(123), QStringLiteral("Project123"));
}

void TestProjects::garbageSurvives() {
    // Random sections of keys with random values: reading never fails and every value ends
    // up in its range.
    QRandomGenerator rng(20261210);
    const QStringList keys = {"Count",    "Name00",   "Name01",        "TransferMode",
                              "Port",     "Password", "ProxyPassword", "ProxyType",
                              "UseTLS",   "Encoding", "ChangeNames",   "DictionaryLanguage",
                              "ProxyPort"};
    for (int round = 0; round < 300; ++round) {
        QString text;
        for (const QString& k : keys) {
            QString value;
            const int n = int(rng.bounded(40));
            for (int i = 0; i < n; ++i)
                value += QChar(char16_t(rng.bounded(32, 0x3000)));
            if (k == "TransferMode")
                value = QString::number(rng.bounded(-1, 4));
            text += k + u'=' + value + u'\n';
        }
        TProjectInfo p;
        p.ReadFrom(iniOf(text), 0, 0);
        QVERIFY(p.TransferMode >= tmOff && p.TransferMode <= tmFtp);
        QVERIFY(p.Port >= 1 && p.Port <= 65535);
        QVERIFY(p.SecureMode >= 0 && p.SecureMode <= 3);
        QVERIFY(p.ProjEncoding >= seUTF8 && p.ProjEncoding <= seAnsi);
        QVERIFY(p.ProxyPar.Mode <= 6);
        QVERIFY(p.LangId <= 0xFFFF);
        QVERIFY(p.FileList.size() <= 2);
        for (const TTextFileInfo& e : p.FileList)
            QVERIFY(e.Props.CursorPos.Line >= 1 && e.Props.CursorPos.Char >= 1);
    }
}

QTEST_GUILESS_MAIN(TestProjects)
#include "tst_projects.moc"
