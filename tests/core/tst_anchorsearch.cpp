#include "search/core/AnchorSearch.h"

#include "TestFiles.h"
#include "base/core/TextCodec.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace orvel;

class TestAnchorSearch : public QObject {
    Q_OBJECT
private slots:
    void filesOfScopes();
    void projectAgreesWithPythonReader();
    void alphabeticalOrderComparesWholeEntries();
    void listText();
    void encoding_data();
    void encoding();
    void proposedName_data();
    void proposedName();
};

namespace {

TAnchor anchor(const QString& name, int line, const QString& text, bool isId = false) {
    TAnchor a;
    a.name = name;
    a.line = line;
    a.linkText = text;
    a.isId = isId;
    return a;
}

QStringList entriesOf(const QList<TAnchor>& anchors) {
    QStringList out;
    for (const TAnchor& a : anchors)
        out << a.entry();
    return out;
}

} // namespace

void TestAnchorSearch::filesOfScopes() {
    QTemporaryDir dir;
    const QString root = dir.path() + "/site/";
    const QStringList names = {"a.html",  "b.htm",      "C.HTML",     "d.php", "e.htt", "f.shtml",
                               "~g.html", "sub/h.html", "sub/~i.htm", "noext", ".html"};
    for (const QString& n : names) {
        QDir().mkpath(QFileInfo(root + n).path());
        test::writeAll(root + n, "<a name=\"x\">x</a>");
    }
    QDir().mkpath(dir.path() + "/outside");
    test::writeAll(dir.path() + "/outside/o.html", "x");
    QVERIFY(QFile::link(dir.path() + "/outside", root + "linked"));

    // Subfolders first, names without regard to case; "~" names, other types and a link out of the
    // tree left out.
    QCOMPARE(anchorSearchFiles(asProjectFiles, {}, {}, root),
             QStringList({root + "sub/h.html", root + "a.html", root + "b.htm", root + "C.HTML"}));
    QCOMPARE(anchorSearchFiles(asProjectFiles, {}, {}, QString()), QStringList());
    QCOMPARE(anchorSearchFiles(asActiveFile, root + "d.php", {}, root), QStringList());
    QCOMPARE(anchorSearchFiles(asActiveFile, root + "C.HTML", {}, root),
             QStringList{root + "C.HTML"});
    QCOMPARE(anchorSearchFiles(asActiveFile, QString(), {}, root), QStringList());
    const QStringList open = {root + "f.shtml", root + "b.htm", root + "e.htt", "/x/a.html"};
    QCOMPARE(anchorSearchFiles(asOpenFiles, {}, open, root),
             QStringList({root + "b.htm", "/x/a.html"}));

    QCOMPARE(anchorFileCaption(root + "sub/h.html", root), QString("sub/h.html"));
    QCOMPARE(anchorFileCaption("/x/a.html", root), QString("/x/a.html"));
    QCOMPARE(anchorFileCaption(dir.path() + "/site2/a.html", root), dir.path() + "/site2/a.html");
}

void TestAnchorSearch::projectAgreesWithPythonReader() {
    QTemporaryDir dir;
    const QString root = dir.path() + "/site/";
    const QString script = QStringLiteral(ORVEL_TEST_DATA "/anchor_reference.py");
    QCOMPARE(QProcess::execute("python3", {script, "generate", root, dir.path() + "/outside"}), 0);
    QProcess reader;
    reader.start("python3", {script, "read", root});
    QVERIFY(reader.waitForFinished(60000));
    QCOMPARE(reader.exitCode(), 0);
    const QJsonObject expected = QJsonDocument::fromJson(reader.readAllStandardOutput()).object();
    QVERIFY(expected.size() > 100);

    const QStringList files = anchorSearchFiles(asProjectFiles, {}, {}, root);
    QVERIFY(files.size() > 150);
    int withAnchors = 0;
    for (const QString& f : files) {
        const TResult<QList<TAnchor>> read = readAnchorsFromFile(f);
        QVERIFY2(read.ok(), qPrintable(read.error()));
        const QString caption = anchorFileCaption(f, root);
        const QStringList want = expected.value(caption).toVariant().toStringList();
        QCOMPARE(entriesOf(read.value()), want);
        withAnchors += !want.isEmpty();
    }
    QCOMPARE(withAnchors, expected.size());
}

void TestAnchorSearch::alphabeticalOrderComparesWholeEntries() {
    QList<TAnchor> list = {anchor("b", 1, ""), anchor("A", 3, "x"), anchor("a", 12, "y"),
                           anchor("a", 3, "x", true)};
    sortAnchorsAlphabetically(list);
    // Line numbers compare as text: 12 before 3.
    QCOMPARE(entriesOf(list),
             QStringList({"|a| (12): y", "|A| (3): x", "|a| (3, id): x", "|b| (1): "}));
}

void TestAnchorSearch::listText() {
    const QList<TAnchorFile> files = {
        {"/web/index.html",
         "index.html",
         {anchor("top", 3, "Top of page"), anchor("links", 40, "Links")}},
        {"/web/sub/page.htm",
         "sub/page.htm",
         {anchor("intro", 7, ""), anchor("i|d", 8, "", true)}}};
    const QString expected = "Project: Site\r\n"
                             "=============\r\n"
                             "Directory: /web/\r\n"
                             "\r\n"
                             "Local anchors:\r\n"
                             "--------------\r\n"
                             "  File: index.html\r\n"
                             "    -> top (3): Top of page\r\n"
                             "    -> links (40): Links\r\n"
                             "\r\n"
                             "  File: sub/page.htm\r\n"
                             "    -> intro (7): \r\n"
                             "    -> id (8, id): \r\n";
    QCOMPARE(anchorListText("Site", "/web", files), expected);
    // The rule under the first line counts characters modulo 256.
    const QString longName(300, u'n');
    const QStringList lines = anchorListText(longName, "/web/", {}).split("\r\n");
    QCOMPARE(lines.at(1), QString((9 + 300) % 256, u'='));
}

void TestAnchorSearch::encoding_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("fits");
    QTest::addColumn<QByteArray>("windows1252");
    QTest::newRow("ASCII") << "top (3): Top" << true << QByteArray("top (3): Top");
    QTest::newRow("Latin-1 and euro")
        << QString::fromUtf8("caf\xC3\xA9 \xE2\x82\xAC") << true << QByteArray("caf\xE9 \x80");
    QTest::newRow("Hungarian") << QString::fromUtf8("\xC5\x91") << false << QByteArray();
    QTest::newRow("outside the BMP")
        << QString::fromUtf8("\xF0\x9F\x98\x80") << false << QByteArray();
}

void TestAnchorSearch::encoding() {
    QFETCH(QString, text);
    QFETCH(bool, fits);
    QFETCH(QByteArray, windows1252);
    QCOMPARE(fitsWindows1252(text), fits);
    if (fits)
        QCOMPARE(encodeAnchorList(text, false), windows1252);
    QCOMPARE(encodeAnchorList(text, true), "\xEF\xBB\xBF" + text.toUtf8());
}

void TestAnchorSearch::proposedName_data() {
    QTest::addColumn<int>("scope");
    QTest::addColumn<QString>("activeFile");
    QTest::addColumn<QString>("project");
    QTest::addColumn<QString>("name");
    QTest::newRow("active file") << int(asActiveFile) << "/w/page.html"
                                 << "Site"
                                 << "page.txt";
    QTest::newRow("active file, two dots") << int(asActiveFile) << "/w/a.b.htm"
                                           << "Site"
                                           << "a.b.txt";
    QTest::newRow("active file without extension") << int(asActiveFile) << "/w/README"
                                                   << "Site"
                                                   << "README.txt";
    QTest::newRow("no active file") << int(asActiveFile) << ""
                                    << "Site"
                                    << "Site.txt";
    QTest::newRow("open files") << int(asOpenFiles) << "/w/page.html"
                                << "Site"
                                << "Site.txt";
    QTest::newRow("project named .txt") << int(asProjectFiles) << ""
                                        << "Site.TXT"
                                        << "Site.TXT";
    QTest::newRow("project a.b") << int(asProjectFiles) << ""
                                 << "a.b"
                                 << "a.b.txt";
    QTest::newRow("project name with folder") << int(asProjectFiles) << ""
                                              << "x/Site"
                                              << "Site.txt";
}

void TestAnchorSearch::proposedName() {
    QFETCH(int, scope);
    QFETCH(QString, activeFile);
    QFETCH(QString, project);
    QFETCH(QString, name);
    QCOMPARE(proposedAnchorListName(TAnchorScope(scope), activeFile, project), name);
}

QTEST_GUILESS_MAIN(TestAnchorSearch)
#include "tst_anchorsearch.moc"
