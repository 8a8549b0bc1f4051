#include "app/core/CommandLine.h"

#include <QProcessEnvironment>
#include <QTest>

using namespace orvel;

class TestCommandLine : public QObject {
    Q_OBJECT
private slots:
    void parse_data();
    void parse();
    void warningsNameEachProblem();
    void publishOptions_data();
    void publishOptions();
    void restartKeepsSettingsOptions();
    void resolveIni_data();
    void resolveIni();
};

void TestCommandLine::parse_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QString>("ini");  // null: no -ini:
    QTest::addColumn<QString>("lang"); // null: no -lang:
    QTest::addColumn<bool>("portable");
    QTest::addColumn<bool>("help");
    QTest::addColumn<bool>("version");
    QTest::addColumn<QStringList>("unknown");
    QTest::addColumn<QStringList>("missing");

    const QString none;
    const QStringList empty;
    QTest::newRow("nothing") << empty << empty << none << none << false << false << false << empty
                             << empty;
    QTest::newRow("ini full") << QStringList{"-ini:work"} << empty << "work" << none << false
                              << false << false << empty << empty;
    QTest::newRow("ini one letter") << QStringList{"-i:work"} << empty << "work" << none << false
                                    << false << false << empty << empty;
    QTest::newRow("ini two letters") << QStringList{"-in:work"} << empty << "work" << none << false
                                     << false << false << empty << empty;
    QTest::newRow("ini capitals") << QStringList{"-INI:sub\\z"} << empty << "sub\\z" << none
                                  << false << false << false << empty << empty;
    QTest::newRow("value after first colon") << QStringList{"-ini:/a:b.ini"} << empty << "/a:b.ini"
                                             << none << false << false << false << empty << empty;
    QTest::newRow("last ini wins") << QStringList{"-ini:a", "-I:b"} << empty << "b" << none << false
                                   << false << false << empty << empty;
    QTest::newRow("lang short") << QStringList{"-l:de"} << empty << none << "de" << false << false
                                << false << empty << empty;
    QTest::newRow("lang capitals") << QStringList{"-LANG:hu-HU"} << empty << none << "hu-HU"
                                   << false << false << false << empty << empty;
    QTest::newRow("portable short")
        << QStringList{"-p"} << empty << none << none << true << false << false << empty << empty;
    QTest::newRow("portable mixed case") << QStringList{"-PorT"} << empty << none << none << true
                                         << false << false << empty << empty;
    QTest::newRow("portable value ignored") << QStringList{"-portable:x"} << empty << none << none
                                            << true << false << false << empty << empty;
    QTest::newRow("files around options")
        << QStringList{"a.html", "-p", "b.css"} << QStringList{"a.html", "b.css"} << none << none
        << true << false << false << empty << empty;
    QTest::newRow("comma in a file name")
        << QStringList{"x,y.html", "z.css"} << QStringList{"x,y.html", "z.css"} << none << none
        << false << false << false << empty << empty;
    QTest::newRow("slash begins a path")
        << QStringList{"/p", "/ini:x"} << QStringList{"/p", "/ini:x"} << none << none << false
        << false << false << empty << empty;
    QTest::newRow("double dash ends options")
        << QStringList{"-p", "--", "-ini:x", "--", "f"} << QStringList{"-ini:x", "--", "f"} << none
        << none << true << false << false << empty << empty;
    QTest::newRow("empty argument skipped")
        << QStringList{""} << empty << none << none << false << false << false << empty << empty;
    QTest::newRow("gnu ini equals") << QStringList{"--ini=work"} << empty << "work" << none << false
                                    << false << false << empty << empty;
    QTest::newRow("gnu ini next argument")
        << QStringList{"--ini", "work", "f"} << QStringList{"f"} << "work" << none << false << false
        << false << empty << empty;
    QTest::newRow("gnu lang") << QStringList{"--lang=de-DE"} << empty << none << "de-DE" << false
                              << false << false << empty << empty;
    QTest::newRow("gnu portable") << QStringList{"--portable"} << empty << none << none << true
                                  << false << false << empty << empty;
    QTest::newRow("gnu shortened") << QStringList{"--port", "--vers"} << empty << none << none
                                   << true << false << true << empty << empty;
    QTest::newRow("gnu help") << QStringList{"--help"} << empty << none << none << false << true
                              << false << empty << empty;
    QTest::newRow("h is help") << QStringList{"-h"} << empty << none << none << false << true
                               << false << empty << empty;
    QTest::newRow("gnu version") << QStringList{"--version"} << empty << none << none << false
                                 << false << true << empty << empty;
    QTest::newRow("unknown options")
        << QStringList{"-x", "-inix:foo", "--frobnicate", "-", "--ini:x", "a"} << QStringList{"a"}
        << none << none << false << false << false
        << QStringList{"-x", "-inix:foo", "--frobnicate", "-", "--ini:x"} << empty;
    QTest::newRow("values missing")
        << QStringList{"-ini", "-lang:", "--ini="} << empty << none << none << false << false
        << false << empty << QStringList{"-ini", "-lang:", "--ini="};
    QTest::newRow("gnu value missing at end")
        << QStringList{"--lang"} << empty << none << none << false << false << false << empty
        << QStringList{"--lang"};
}

void TestCommandLine::parse() {
    QFETCH(QStringList, args);
    QFETCH(QStringList, files);
    QFETCH(QString, ini);
    QFETCH(QString, lang);
    QFETCH(bool, portable);
    QFETCH(bool, help);
    QFETCH(bool, version);
    QFETCH(QStringList, unknown);
    QFETCH(QStringList, missing);

    const TCommandLine cmd = parseCommandLine(args);
    QCOMPARE(cmd.files, files);
    QCOMPARE(cmd.hasIni, !ini.isNull());
    QCOMPARE(cmd.iniValue, ini.isNull() ? QString() : ini);
    QCOMPARE(cmd.langFromCommandLine, !lang.isNull());
    QCOMPARE(cmd.langCode, lang.isNull() ? QString() : lang);
    QCOMPARE(cmd.portable, portable);
    QCOMPARE(cmd.help, help);
    QCOMPARE(cmd.version, version);
    QCOMPARE(cmd.unknownOptions, unknown);
    QCOMPARE(cmd.missingValues, missing);
}

void TestCommandLine::publishOptions_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("project");
    QTest::addColumn<QString>("flags"); // d: dry run, o: overwrite, s: sync
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QStringList>("unknown");
    QTest::addColumn<QStringList>("missing");
    QTest::newRow("project as the next argument")
        << QStringList{"--publish", "site.prj", "--dry-run"} << "site.prj"
        << "d" << QStringList() << QStringList() << QStringList();
    QTest::newRow("project after =, all options, a file")
        << QStringList{"--sync", "--publish=/p/site.prj", "--overwrite", "a.html"} << "/p/site.prj"
        << "os" << QStringList{"a.html"} << QStringList() << QStringList();
    QTest::newRow("options without a project")
        << QStringList{"--dry-run", "--sync"} << ""
        << "ds" << QStringList() << QStringList{"--dry-run", "--sync"} << QStringList();
    QTest::newRow("project missing")
        << QStringList{"--publish"} << ""
        << "" << QStringList() << QStringList() << QStringList{"--publish"};
    // The design's short forms keep their meaning: "-p" is still -portable.
    QTest::newRow("short forms untouched")
        << QStringList{"-p", "-pub"} << ""
        << "" << QStringList() << QStringList{"-pub"} << QStringList();
}

void TestCommandLine::publishOptions() {
    QFETCH(QStringList, args);
    QFETCH(QString, project);
    QFETCH(QString, flags);
    QFETCH(QStringList, files);
    QFETCH(QStringList, unknown);
    QFETCH(QStringList, missing);
    const TCommandLine cmd = parseCommandLine(args);
    QCOMPARE(cmd.publishProject, project);
    QCOMPARE(cmd.publishDryRun, flags.contains(u'd'));
    QCOMPARE(cmd.publishOverwrite, flags.contains(u'o'));
    QCOMPARE(cmd.publishSync, flags.contains(u's'));
    QCOMPARE(cmd.files, files);
    QCOMPARE(cmd.unknownOptions, unknown);
    QCOMPARE(cmd.missingValues, missing);
    QVERIFY(commandLineHelp(QStringLiteral("orvel")).contains(QLatin1String("--publish")));
}

void TestCommandLine::warningsNameEachProblem() {
    const TCommandLine cmd = parseCommandLine({"-zap", "-p", "-lang"});
    const QStringList warnings = commandLineWarnings(cmd);
    QCOMPARE(warnings.size(), 2);
    QVERIFY(warnings.at(0).contains("-zap"));
    QVERIFY(warnings.at(1).contains("-lang"));
}

void TestCommandLine::restartKeepsSettingsOptions() {
    const TCommandLine cmd = parseCommandLine({"-i:sub\\z", "-L:de", "-P", "file.html"});
    QCOMPARE(restartArguments(cmd), (QStringList{"-ini:sub\\z", "-portable"}));
    // The restarted instance must read them back the same way.
    const TCommandLine again = parseCommandLine(restartArguments(cmd));
    QCOMPARE(again.iniValue, cmd.iniValue);
    QVERIFY(again.portable);
    QVERIFY(!again.langFromCommandLine);
}

void TestCommandLine::resolveIni_data() {
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("expected"); // <s> settings folder, <h> home; empty: refused
    QTest::addColumn<bool>("folder");

    QTest::newRow("plain name") << "work"
                                << "<s>work.ini" << false;
    QTest::newRow("absolute unchanged") << "/x/y.ini"
                                        << "/x/y.ini" << false;
    QTest::newRow("backslash below settings") << "sub\\z"
                                              << "<s>sub/z.ini" << false;
    QTest::newRow("absolute with backslashes") << "\\x\\y"
                                               << "/x/y.ini" << false;
    QTest::newRow("home") << "~/a.ini"
                          << "<h>/a.ini" << false;
    QTest::newRow("home backslash") << "~\\a"
                                    << "<h>/a.ini" << false;
    QTest::newRow("home alone is a folder") << "~"
                                            << "<h>/orvel.ini" << true;
    QTest::newRow("dollar variable") << "$CFG/b"
                                     << "/etc/cfg/b.ini" << false;
    QTest::newRow("braced variable") << "${CFG}x.ini"
                                     << "/etc/cfgx.ini" << false;
    QTest::newRow("percent variable") << "%CFG%\\c"
                                      << "/etc/cfg/c.ini" << false;
    QTest::newRow("variable naming a folder") << "%SLASHED%"
                                              << "/srv/conf/orvel.ini" << true;
    QTest::newRow("relative folder") << "conf/"
                                     << "<s>conf/orvel.ini" << true;
    QTest::newRow("absolute folder") << "/abs/dir\\"
                                     << "/abs/dir/orvel.ini" << true;
    QTest::newRow("dot is a folder") << "sub/."
                                     << "<s>sub/orvel.ini" << true;
    QTest::newRow("name with a dot kept") << "my.settings"
                                          << "<s>my.settings" << false;
    QTest::newRow("dot in folder part only") << "dir.d/name"
                                             << "<s>dir.d/name.ini" << false;
    QTest::newRow("hidden name kept") << ".orvelrc"
                                      << "<s>.orvelrc" << false;
    QTest::newRow("cleaned") << "a/../b"
                             << "<s>b.ini" << false;
    QTest::newRow("lone percent literal") << "50%off"
                                          << "<s>50%off.ini" << false;
    QTest::newRow("lone dollar literal") << "cost$"
                                         << "<s>cost$.ini" << false;
    QTest::newRow("log folder is fine") << "x.log/"
                                        << "<s>x.log/orvel.ini" << true;
    QTest::newRow("log refused") << "x.log"
                                 << "" << false;
    QTest::newRow("key refused any case") << "x.KEY"
                                          << "" << false;
    QTest::newRow("mac refused absolute") << "/a/b.mac"
                                          << "" << false;
    QTest::newRow("variable gives log") << "$LOGFILE"
                                        << "" << false;
    QTest::newRow("unset dollar variable") << "$ORVEL_UNSET/x"
                                           << "" << false;
    QTest::newRow("unset percent variable") << "%ORVEL_UNSET%"
                                            << "" << false;
    QTest::newRow("empty") << ""
                           << "" << false;
}

void TestCommandLine::resolveIni() {
    QFETCH(QString, value);
    QFETCH(QString, expected);
    QFETCH(bool, folder);

    const QString settings = "/cfg/Brimwell/";
    const QString home = "/users/ann";
    QProcessEnvironment env;
    env.insert("HOME", home);
    env.insert("CFG", "/etc/cfg");
    env.insert("SLASHED", "/srv/conf/");
    env.insert("LOGFILE", "/var/x.log");
    expected.replace("<s>", settings).replace("<h>", home);

    QString error;
    bool isFolder = !folder;
    const QString path = resolveIniPath(value, settings, "orvel.ini", env, &error, &isFolder);
    QCOMPARE(path, expected);
    QCOMPARE(error.isEmpty(), !expected.isEmpty());
    if (!expected.isEmpty())
        QCOMPARE(isFolder, folder);
}

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_commandline.moc"
