#include "app/core/Locations.h"

#include "TestFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

using namespace orvel;

class TestLocations : public QObject {
    Q_OBJECT
private slots:
    void init();
    void defaults();
    void xdgFolders_data();
    void xdgFolders();
    void settingsFolderFallsBackToProgramDir();
    void missingDocumentsGivesHome();
    void settingsAndLanguageFile_data();
    void settingsAndLanguageFile();
    void findDataFile_data();
    void findDataFile();
    void dictionariesFromInstalledData();
    void languageCode_data();
    void languageCode();

private:
    QString path(const QString& relative) const { return dir->path() + '/' + relative; }
    QString mkdir(const QString& relative) const {
        QDir().mkpath(path(relative));
        return path(relative) + '/';
    }
    QString exe() const { return path("bin/orvel"); }

    std::unique_ptr<QTemporaryDir> dir;
    TSystemEnvironment env;
};

void TestLocations::init() {
    dir = std::make_unique<QTemporaryDir>();
    QVERIFY(dir->isValid());
    mkdir("bin");
    test::writeAll(exe(), "");
    env = TSystemEnvironment();
    env.vars.insert("HOME", path("home"));
    env.documents = mkdir("home/Documents");
    env.uiLanguage = "de-DE";
    env.installDataDir = mkdir("share/orvel");
}

void TestLocations::defaults() {
    const TLocations loc = computeLocations(exe(), parseCommandLine({}), env);
    const QString settings = path("home/.config/Brimwell/");
    QCOMPARE(loc.ProgramDir, path("bin/"));
    QCOMPARE(loc.ProgramName, QString("orvel"));
    QCOMPARE(loc.AppPath, settings);
    QVERIFY(QFileInfo(settings).isDir());
    QCOMPARE(loc.IniName, settings + "orvel.ini");
    QCOMPARE(loc.LogName, settings + "orvel.log");
    QCOMPARE(loc.KeyName, settings + "orvel.key");
    QCOMPARE(loc.MacroName, settings + "orvel.mac");
    QCOMPARE(loc.LangFile, settings + "orvel.cfg");
    QCOMPARE(loc.UserPath, path("home/Documents/"));
    QCOMPARE(loc.LocalDataPath, path("home/.local/share/Brimwell/"));
    QCOMPARE(loc.DictPath, path("bin/dict/"));
    QCOMPARE(loc.DataFolders, (QStringList{path("bin/"), path("share/orvel/")}));
    QVERIFY(loc.errors.isEmpty());
}

void TestLocations::xdgFolders_data() {
    QTest::addColumn<QString>("configHome"); // <t> temporary folder
    QTest::addColumn<QString>("dataHome");
    QTest::addColumn<QString>("settings");
    QTest::addColumn<QString>("localData");

    QTest::newRow("set") << "<t>/cfg"
                         << "<t>/data/"
                         << "<t>/cfg/Brimwell/"
                         << "<t>/data/Brimwell/";
    QTest::newRow("relative ignored") << "cfg"
                                      << "data"
                                      << "<t>/home/.config/Brimwell/"
                                      << "<t>/home/.local/share/Brimwell/";
    QTest::newRow("empty ignored") << ""
                                   << ""
                                   << "<t>/home/.config/Brimwell/"
                                   << "<t>/home/.local/share/Brimwell/";
}

void TestLocations::xdgFolders() {
    QFETCH(QString, configHome);
    QFETCH(QString, dataHome);
    QFETCH(QString, settings);
    QFETCH(QString, localData);
    for (QString* s : {&configHome, &dataHome, &settings, &localData})
        s->replace("<t>", dir->path());
    env.vars.insert("XDG_CONFIG_HOME", configHome);
    env.vars.insert("XDG_DATA_HOME", dataHome);

    const TLocations loc = computeLocations(exe(), parseCommandLine({}), env);
    QCOMPARE(loc.AppPath, settings);
    QVERIFY(QFileInfo(settings).isDir());
    QCOMPARE(loc.LocalDataPath, localData);
}

void TestLocations::settingsFolderFallsBackToProgramDir() {
    test::writeAll(path("plainfile"), "x");
    env.vars.insert("XDG_CONFIG_HOME", path("plainfile/cfg"));
    const TLocations loc = computeLocations(exe(), parseCommandLine({}), env);
    QCOMPARE(loc.AppPath, path("bin/"));
    QCOMPARE(loc.IniName, path("bin/orvel.ini"));
    QCOMPARE(loc.LangFile, path("bin/orvel.cfg"));
}

void TestLocations::missingDocumentsGivesHome() {
    for (const QString& documents : {QString(), path("home/NoSuchFolder")}) {
        env.documents = documents;
        const TLocations loc = computeLocations(exe(), parseCommandLine({}), env);
        QCOMPARE(loc.UserPath, path("home/"));
    }
}

void TestLocations::settingsAndLanguageFile_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("ini"); // <s> settings folder, <p> program folder, <t> temporary
    QTest::addColumn<QString>("log");
    QTest::addColumn<QString>("lang");
    QTest::addColumn<bool>("refused");

    QTest::newRow("default") << QStringList{} << "<s>orvel.ini"
                             << "<s>orvel.log"
                             << "<s>orvel.cfg" << false;
    QTest::newRow("portable alone moves only the language file")
        << QStringList{"-portable"} << "<s>orvel.ini"
        << "<s>orvel.log"
        << "<p>orvel.cfg" << false;
    QTest::newRow("name below settings") << QStringList{"-ini:work"} << "<s>work.ini"
                                         << "<s>work.log"
                                         << "<s>orvel.cfg" << false;
    QTest::newRow("sub folder") << QStringList{"-INI:sub\\z"} << "<s>sub/z.ini"
                                << "<s>sub/z.log"
                                << "<s>sub/orvel.cfg" << false;
    QTest::newRow("absolute file")
        << QStringList{"-i:<t>/x/my.settings.ini"} << "<t>/x/my.settings.ini"
        << "<t>/x/my.settings.log"
        << "<t>/x/orvel.cfg" << false;
    QTest::newRow("folder") << QStringList{"-ini:<t>/conf/"} << "<t>/conf/orvel.ini"
                            << "<t>/conf/orvel.log"
                            << "<t>/conf/orvel.cfg" << false;
    QTest::newRow("hidden name") << QStringList{"-ini:.orvelrc"} << "<s>.orvelrc"
                                 << "<s>.orvelrc.log"
                                 << "<s>orvel.cfg" << false;
    QTest::newRow("portable then name") << QStringList{"-p", "-ini:work"} << "<s>work.ini"
                                        << "<s>work.log"
                                        << "<p>work.cfg" << false;
    QTest::newRow("name then portable") << QStringList{"-ini:work", "-p"} << "<s>work.ini"
                                        << "<s>work.log"
                                        << "<p>work.cfg" << false;
    QTest::newRow("portable sub folder") << QStringList{"-p", "-ini:sub/z"} << "<s>sub/z.ini"
                                         << "<s>sub/z.log"
                                         << "<p>sub/z.cfg" << false;
    QTest::newRow("portable absolute file")
        << QStringList{"-p", "-ini:<t>/x/y.ini"} << "<t>/x/y.ini"
        << "<t>/x/y.log"
        << "<t>/x/y.cfg" << false;
    QTest::newRow("portable folder") << QStringList{"-p", "-ini:<t>/conf/"} << "<t>/conf/orvel.ini"
                                     << "<t>/conf/orvel.log"
                                     << "<t>/conf/orvel.cfg" << false;
    QTest::newRow("log refused") << QStringList{"-ini:work.log"} << "<s>orvel.ini"
                                 << "<s>orvel.log"
                                 << "<s>orvel.cfg" << true;
    QTest::newRow("portable with refused value")
        << QStringList{"-p", "-ini:work.mac"} << "<s>orvel.ini"
        << "<s>orvel.log"
        << "<p>orvel.cfg" << true;
}

void TestLocations::settingsAndLanguageFile() {
    QFETCH(QStringList, args);
    QFETCH(QString, ini);
    QFETCH(QString, log);
    QFETCH(QString, lang);
    QFETCH(bool, refused);
    const QString settings = path("home/.config/Brimwell/");
    for (QString* s : {&ini, &log, &lang})
        s->replace("<s>", settings).replace("<p>", path("bin/")).replace("<t>", dir->path());
    for (QString& a : args)
        a.replace("<t>", dir->path());

    const TLocations loc = computeLocations(exe(), parseCommandLine(args), env);
    QCOMPARE(loc.IniName, ini);
    QCOMPARE(loc.LogName, log);
    QCOMPARE(loc.LangFile, lang);
    QCOMPARE(loc.errors.size(), refused ? 1 : 0);
}

void TestLocations::findDataFile_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("expected"); // <p> beside the program, <i> installed data

    QTest::newRow("exact") << "html-codes.txt"
                           << "<p>html-codes.txt";
    QTest::newRow("beside program first") << "default.html"
                                          << "<p>Default.HTML";
    QTest::newRow("other case") << "HTML-CODES.TXT"
                                << "<p>html-codes.txt";
    QTest::newRow("exact match wins") << "CASE.txt"
                                      << "<p>CASE.txt";
    QTest::newRow("in a folder") << "DICT/DE_DE.AFF"
                                 << "<p>dict/de_DE.aff";
    QTest::newRow("a folder") << "Dict"
                              << "<p>dict";
    QTest::newRow("installed only") << "Only-Installed.txt"
                                    << "<i>only-installed.txt";
    QTest::newRow("missing") << "missing.txt"
                             << "";
    QTest::newRow("empty name") << ""
                                << "";
}

void TestLocations::findDataFile() {
    QFETCH(QString, name);
    QFETCH(QString, expected);
    mkdir("bin/dict");
    for (const char* f :
         {"bin/html-codes.txt", "bin/Default.HTML", "bin/case.txt", "bin/CASE.txt",
          "bin/dict/de_DE.aff", "share/orvel/default.html", "share/orvel/only-installed.txt"})
        test::writeAll(path(f), "x");
    expected.replace("<p>", path("bin/")).replace("<i>", path("share/orvel/"));

    QCOMPARE(orvel::findDataFile(name, {path("bin/"), path("share/orvel/")}), expected);
}

void TestLocations::dictionariesFromInstalledData() {
    mkdir("share/orvel/Dict");
    const TLocations loc = computeLocations(exe(), parseCommandLine({}), env);
    QCOMPARE(loc.DictPath, path("share/orvel/Dict/"));
}

namespace {
QByteArray utf16le(const QString& s) {
    QByteArray out("\xFF\xFE");
    for (QChar c : s) {
        out += char(c.unicode() & 0xFF);
        out += char(c.unicode() >> 8);
    }
    return out;
}
} // namespace

void TestLocations::languageCode_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QByteArray>("file"); // empty: no language file
    QTest::addColumn<QString>("system");
    QTest::addColumn<QString>("expected");

    const QStringList none;
    QTest::newRow("system without file") << none << QByteArray() << "de-DE"
                                         << "de-DE";
    QTest::newRow("file utf-16") << none
                                 << utf16le("[Unicode]\r\nEncoding=UTF-16LE\r\n\r\n"
                                            "[Language]\r\nLangID=hu\r\n")
                                 << "de-DE"
                                 << "hu";
    QTest::newRow("file utf-8 bom")
        << none << QByteArray("\xEF\xBB\xBF[Language]\nLangID=en-GB\n") << "de-DE"
        << "en-GB";
    QTest::newRow("file 8-bit, names in any case")
        << none << QByteArray("; comment\r[ language ]\r  langid = de-AT  \r") << "hu"
        << "de-AT";
    QTest::newRow("key in another section")
        << none << QByteArray("[Other]\nLangID=hu\n[Language]\nX=1\n") << "de-DE"
        << "de-DE";
    QTest::newRow("commented key") << none << QByteArray("[Language]\n;LangID=hu\n") << "de-DE"
                                   << "de-DE";
    QTest::newRow("empty value") << none << QByteArray("[Language]\nLangID=\n") << "de-DE"
                                 << "de-DE";
    QTest::newRow("garbage") << none << QByteArray("\xFE\xFF\x00[\xD8\x00\x00\n=\n\n") << "de-DE"
                             << "de-DE";
    QTest::newRow("command line over file")
        << QStringList{"-lang:en"} << QByteArray("[Language]\nLangID=hu\n") << "de-DE"
        << "en";
    QTest::newRow("posix form") << QStringList{"--lang=de_CH.UTF-8@euro"} << QByteArray() << "hu"
                                << "de-CH";
    QTest::newRow("C locale reads as English") << none << QByteArray() << "C"
                                               << "en";
}

void TestLocations::languageCode() {
    QFETCH(QStringList, args);
    QFETCH(QByteArray, file);
    QFETCH(QString, system);
    QFETCH(QString, expected);
    const QString langFile = path("orvel.cfg");
    if (!file.isEmpty())
        test::writeAll(langFile, file);

    QCOMPARE(determineLanguageCode(parseCommandLine(args), langFile, system), expected);
}

QTEST_GUILESS_MAIN(TestLocations)
#include "tst_locations.moc"
