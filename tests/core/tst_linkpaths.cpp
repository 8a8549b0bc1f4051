#include "dialogs/core/LinkAttributes.h"
#include "dialogs/core/LinkPaths.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace orvel;

class TestLinkPaths : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void relative_data();
    void relative();
    void anotherMountStaysAbsolute();
    void linkCase_data();
    void linkCase();
    void remote_data();
    void remote();
    void existingFile_data();
    void existingFile();
    void linkDialogPaths_data();
    void linkDialogPaths();
    void filterEntry_data();
    void filterEntry();
    void clipboardSize();
    void attributes_data();
    void attributes();
    void editedTagKeepsTheRest_data();
    void editedTagKeepsTheRest();
    void linkText_data();
    void linkText();

private:
    QTemporaryDir m_dir;
    QString m_site; // "<tmp>/site/", with sub/, other/ and a few files
};

void TestLinkPaths::initTestCase() {
    QVERIFY(m_dir.isValid());
    m_site = m_dir.path() + QStringLiteral("/site/");
    for (const char* d : {"sub/deeper", "other", "my folder"})
        QVERIFY(QDir().mkpath(m_site + QString::fromUtf8(d)));
    for (const char* f : {"index.html", "sub/page.html", "my folder/Grüße #1?.html", "doc.pdf"}) {
        QFile file(m_site + QString::fromUtf8(f));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("<html>0123456789</html>");
    }
}

void TestLinkPaths::relative_data() {
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("expected");
    QTest::newRow("same folder") << ""
                                 << "index.html"
                                 << "index.html";
    QTest::newRow("sub folder") << ""
                                << "sub/page.html"
                                << "sub/page.html";
    QTest::newRow("two down") << ""
                              << "sub/deeper/x.png"
                              << "sub/deeper/x.png";
    QTest::newRow("parent") << "sub/"
                            << "index.html"
                            << "../index.html";
    QTest::newRow("two up") << "sub/deeper/"
                            << "index.html"
                            << "../../index.html";
    QTest::newRow("sibling") << "sub/"
                             << "other/a.css"
                             << "../other/a.css";
    // A folder whose name begins like another is not that folder.
    QTest::newRow("name prefix is no folder") << "sub/"
                                              << "subway/a.html"
                                              << "../subway/a.html";
    QTest::newRow("unclean path") << "sub/./deeper/../"
                                  << "other/../index.html"
                                  << "../index.html";
    QTest::newRow("blanks, #, ? and non-ASCII") << "sub/"
                                                << "my folder/Grüße #1?.html"
                                                << "../my%20folder/Gr%C3%BC%C3%9Fe%20%231%3F.html";
    QTest::newRow("percent and colon") << ""
                                       << "a%b:c.html"
                                       << "a%25b%3Ac.html";
}

void TestLinkPaths::relative() {
    QFETCH(QString, folder);
    QFETCH(QString, file);
    QFETCH(QString, expected);
    QCOMPARE(relativeLink(m_site + folder, m_site + file), expected);
}

void TestLinkPaths::anotherMountStaysAbsolute() {
    // /proc is a mount of its own wherever this runs.
    QCOMPARE(relativeLink(m_site, QStringLiteral("/proc/version")),
             QStringLiteral("file:///proc/version"));
    // The case rule is for names on the server, not for a path on this machine.
    QCOMPARE(relativeLink(m_site, QStringLiteral("/proc/version"), tcUpper),
             QStringLiteral("file:///proc/version"));
}

void TestLinkPaths::linkCase_data() {
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("expected");
    QTest::newRow("unchanged") << int(tcNone) << "../Img/Logo Ä.PNG";
    QTest::newRow("lower") << int(tcLower) << "../img/logo ä.png";
    QTest::newRow("upper") << int(tcUpper) << "../IMG/LOGO Ä.PNG";
}

void TestLinkPaths::linkCase() {
    QFETCH(int, mode);
    QFETCH(QString, expected);
    QCOMPARE(relativeLink(m_site + QStringLiteral("sub/"),
                          m_site + QStringLiteral("Img/Logo Ä.PNG"), TTextChange(mode)),
             encodeLinkPath(expected));
    QCOMPARE(applyLinkCase(QStringLiteral("../Img/Logo Ä.PNG"), TTextChange(mode)), expected);
}

void TestLinkPaths::remote_data() {
    QTest::addColumn<QString>("url");
    QTest::addColumn<bool>("remote");
    QTest::addColumn<bool>("scheme");
    QTest::newRow("http") << "http://example.org/" << true << true;
    QTest::newRow("https, any case") << "HTTPS://example.org/a#b" << true << true;
    QTest::newRow("scheme-relative") << "//cdn.example.org/x.js" << true << false;
    QTest::newRow("ftp") << "ftp://host/file" << true << true;
    QTest::newRow("mailto") << "mailto:a@b.org" << true << true;
    QTest::newRow("tel") << "tel:+491234" << true << true;
    QTest::newRow("data") << "data:image/png;base64,AAA" << true << true;
    QTest::newRow("javascript") << "javascript:void(0)" << true << true;
    QTest::newRow("news") << "news:comp.lang" << true << true;
    QTest::newRow("another scheme") << "irc://host" << false << true;
    QTest::newRow("file") << "file:///tmp/x.html" << false << true;
    QTest::newRow("site root") << "/img/a.png" << false << false;
    QTest::newRow("anchor") << "#top" << false << false;
    QTest::newRow("relative") << "sub/page.html" << false << false;
    QTest::newRow("colon after a slash") << "a/b:c.html" << false << false;
    QTest::newRow("empty") << "" << false << false;
}

void TestLinkPaths::remote() {
    QFETCH(QString, url);
    QFETCH(bool, remote);
    QFETCH(bool, scheme);
    QCOMPARE(isRemoteAddress(url), remote);
    QCOMPARE(hasUrlScheme(url), scheme);
    if (remote)
        QVERIFY(localFileOfAddress(m_site, url).isEmpty());
}

void TestLinkPaths::existingFile_data() {
    QTest::addColumn<QString>("url");
    QTest::addColumn<bool>("exists");
    QTest::newRow("relative") << "sub/page.html" << true;
    QTest::newRow("with anchor") << "sub/page.html#top" << true;
    QTest::newRow("with query") << "index.html?x=1" << true;
    QTest::newRow("encoded name") << "my%20folder/Gr%C3%BC%C3%9Fe%20%231%3F.html" << true;
    QTest::newRow("a folder is no file") << "sub" << false;
    QTest::newRow("empty") << "" << false;
    QTest::newRow("only an anchor") << "#top" << false;
    QTest::newRow("missing") << "nothing.html" << false;
    QTest::newRow("secure address") << "https://example.org/index.html" << false;
    QTest::newRow("absolute") << "@site/index.html" << true;
    QTest::newRow("file address") << "file://@site/index.html" << true;
}

void TestLinkPaths::existingFile() {
    QFETCH(QString, url);
    QFETCH(bool, exists);
    url.replace(QStringLiteral("@site/"), m_site);
    QCOMPARE(isExistingFileAddress(m_site, url), exists);
}

void TestLinkPaths::linkDialogPaths_data() {
    QTest::addColumn<QString>("link");
    QTest::addColumn<QString>("expected");
    QTest::newRow("chosen file") << "@site/index.html"
                                 << "../index.html";
    QTest::newRow("anchor kept") << "@site/index.html#top"
                                 << "../index.html#top";
    QTest::newRow("site root stays") << "/img/a.png"
                                     << "/img/a.png";
    QTest::newRow("https stays") << "https://example.org/a.css"
                                 << "https://example.org/a.css";
    QTest::newRow("mailto stays") << "mailto:a@b.org"
                                  << "mailto:a@b.org";
    QTest::newRow("anchor only") << "#top"
                                 << "#top";
    QTest::newRow("typed backslashes") << "..\\img\\a.png"
                                       << "../img/a.png";
}

void TestLinkPaths::linkDialogPaths() {
    QFETCH(QString, link);
    QFETCH(QString, expected);
    link.replace(QStringLiteral("@site/"), m_site);
    QCOMPARE(linkRelativeTo(m_site + QStringLiteral("sub/"), link), expected);
}

void TestLinkPaths::filterEntry_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("entry");
    QTest::newRow("html") << "a/b.HTML" << 0;
    QTest::newRow("htm") << "b.htm#x" << 0;
    QTest::newRow("pdf") << "doc.pdf" << 1;
    // "h" is part of "*.htm" but names no mask of it.
    QTest::newRow("part of a mask") << "x.h" << 2;
    QTest::newRow("no extension") << "README" << 2;
}

void TestLinkPaths::filterEntry() {
    QFETCH(QString, file);
    QFETCH(int, entry);
    QCOMPARE(filterEntryForFile(QStringLiteral("HTML|*.htm;*.html|PDF|*.pdf|all|*.*"), file),
             entry);
}

void TestLinkPaths::clipboardSize() {
    const QString pdf = m_site + QStringLiteral("doc.pdf"); // 23 bytes
    QCOMPARE(fileSizeForClipboard(pdf, 1, true, true), QStringLiteral("23 B"));
    QVERIFY(fileSizeForClipboard(pdf, 0, true, true).isEmpty());
    QVERIFY(fileSizeForClipboard(m_site + QStringLiteral("gone.pdf"), 1, true, true).isEmpty());
    QFile big(m_site + QStringLiteral("big.pdf"));
    QVERIFY(big.open(QIODevice::WriteOnly));
    big.write(QByteArray(1536, 'x'));
    big.close();
    QCOMPARE(fileSizeForClipboard(big.fileName(), 1, false, true), QStringLiteral("1,50 KiB"));
    QCOMPARE(fileSizeForClipboard(big.fileName(), 1, true, false), QStringLiteral("1.54 kB"));
}

void TestLinkPaths::attributes_data() {
    QTest::addColumn<QString>("attrs");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("newTitle");
    QTest::addColumn<QString>("newTarget");
    QTest::addColumn<QString>("expected");
    QTest::newRow("classic") << " title=\"Home\" target=\"_TOP\""
                             << "Home"
                             << "_TOP"
                             << "Home"
                             << "_top"
                             << " title=\"Home\" target=\"_top\"";
    QTest::newRow("none") << ""
                          << ""
                          << ""
                          << ""
                          << ""
                          << "";
    QTest::newRow("new ones") << ""
                              << ""
                              << ""
                              << "Start"
                              << "_blank"
                              << " title=\"Start\" target=\"_blank\"";
    QTest::newRow("quote in a title") << ""
                                      << ""
                                      << ""
                                      << "Say \"hi\""
                                      << ""
                                      << " title=\"Say &quot;hi&quot;\"";
    // Names are matched whole: data-title is not the title.
    QTest::newRow("whole names") << " data-title='x' class=nav title='Ü &amp; me'"
                                 << "Ü &amp; me"
                                 << ""
                                 << "Ü &amp; me"
                                 << ""
                                 << " data-title='x' class=nav title='Ü &amp; me'";
    QTest::newRow("title removed, rest kept") << " id=a title=\"T\"  rel='next'"
                                              << "T"
                                              << ""
                                              << ""
                                              << ""
                                              << " id=a  rel='next'";
    QTest::newRow("a title between glued attributes") << " x title=\"t\"class=b"
                                                      << "t"
                                                      << ""
                                                      << ""
                                                      << ""
                                                      << " x class=b";
    QTest::newRow("named frame") << " target=content"
                                 << ""
                                 << "content"
                                 << ""
                                 << "content"
                                 << " target=content";
}

void TestLinkPaths::attributes() {
    QFETCH(QString, attrs);
    QFETCH(QString, title);
    QFETCH(QString, target);
    QFETCH(QString, newTitle);
    QFETCH(QString, newTarget);
    QFETCH(QString, expected);
    const TLinkAttributes read = readLinkAttributes(attrs);
    QCOMPARE(read.title, title);
    QCOMPARE(read.target, target);
    QCOMPARE(writeLinkAttributes(attrs, {newTitle, newTarget}), expected);
}

void TestLinkPaths::editedTagKeepsTheRest_data() {
    QTest::addColumn<QString>("tag");
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("newAddress");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QString>("withTitle"); // the same with the title "New" set
    QTest::newRow("every attribute kept")
        << "<a id=\"x1\" class='nav main'\thref='old.html' rel=next data-x=\"a&amp;b\">"
        << "old.html"
        << "new page.html"
        << "<a id=\"x1\" class='nav main'\thref='new page.html' rel=next data-x=\"a&amp;b\">"
        << "<a id=\"x1\" class='nav main'\thref='new page.html' rel=next data-x=\"a&amp;b\" "
           "title=\"New\">";
    QTest::newRow("unchanged is byte for byte") << "<A HREF=old.html  TITLE='t' target=_top>"
                                                << "old.html"
                                                << "old.html"
                                                << "<A HREF=old.html  TITLE='t' target=_top>"
                                                << "<A HREF=old.html  TITLE='New'>";
    QTest::newRow("quote in the address") << "<a href=\"a.html\">"
                                          << "a.html"
                                          << "a\".html"
                                          << "<a href=\"a&quot;.html\">"
                                          << "<a href=\"a&quot;.html\" title=\"New\">";
    QTest::newRow("no blank between attributes") << "<a x href=\"a.html\"class=b title='t'>"
                                                 << "a.html"
                                                 << "b.html"
                                                 << "<a x href=\"b.html\"class=b title='t'>"
                                                 << "<a x href=\"b.html\"class=b title='New'>";
    // The editor ends a tag at its first ">", so a quote may be left open: the value runs
    // on in the text after the tag, and nothing is added to it or taken from it.
    QTest::newRow("unclosed quote") << "<a href=\"a.html\" title=\"x>"
                                    << "a.html"
                                    << "b.html"
                                    << "<a href=\"b.html\" title=\"x>"
                                    << "<a href=\"b.html\" title=\"New";
    QTest::newRow("no address yet") << "<a name=top>"
                                    << ""
                                    << "b.html"
                                    << "<a name=top href=\"b.html\">"
                                    << "<a name=top title=\"New\" href=\"b.html\">";
}

void TestLinkPaths::editedTagKeepsTheRest() {
    QFETCH(QString, tag);
    QFETCH(QString, address);
    QFETCH(QString, newAddress);
    QFETCH(QString, expected);
    QFETCH(QString, withTitle);
    const TLinkElement e = splitLinkTag(tag, QStringLiteral("href"));
    QCOMPARE(e.address, address);
    QVERIFY(!e.attributes.contains(QLatin1String("href"), Qt::CaseInsensitive));
    // The dialog gives the attributes back as it got them.
    QCOMPARE(joinLinkTag(tag, QStringLiteral("href"), newAddress, e.attributes), expected);
    // A title set and the target dropped change those and nothing else.
    const QString edited = writeLinkAttributes(e.attributes, {QStringLiteral("New"), QString()});
    QCOMPARE(joinLinkTag(tag, QStringLiteral("href"), newAddress, edited), withTitle);
}

void TestLinkPaths::linkText_data() {
    QTest::addColumn<QString>("content");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("written");
    QTest::newRow("unchanged keeps every byte") << "a\r\n\tb"
                                                << "a|b"
                                                << "a|b"
                                                << "a\r\n\tb";
    QTest::newRow("a bar of its own") << "A | B"
                                      << "A | B"
                                      << "A | C"
                                      << "A | C";
    QTest::newRow("bar for a break") << "one\ntwo"
                                     << "one|two"
                                     << "one|three"
                                     << "one\r\nthree";
    QTest::newRow("both") << "a|b\r\nc"
                          << "a||b|c"
                          << "a||b|d"
                          << "a|b\r\nd";
    QTest::newRow("new text") << ""
                              << ""
                              << "x|y"
                              << "x|y";
}

void TestLinkPaths::linkText() {
    QFETCH(QString, content);
    QFETCH(QString, shown);
    QFETCH(QString, typed);
    QFETCH(QString, written);
    const TLinkText t = linkTextForField(content);
    QCOMPARE(t.shown, shown);
    QCOMPARE(linkTextFromField(content, t, typed, QStringLiteral("\r\n")), written);
}

QTEST_GUILESS_MAIN(TestLinkPaths)
#include "tst_linkpaths.moc"
