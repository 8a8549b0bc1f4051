// The rules of the small inserts: file sizes written and read back, the size text at the
// caret, digests of files, mail codes, and texts put into JavaScript, HTML and CSS.

#include "TestFiles.h"
#include "base/core/FileSize.h"
#include "dialogs/core/PickerLogic.h"
#include "editor/core/ElementRules.h"
#include "editor/core/FileDigest.h"
#include "editor/core/SmallInserts.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <sys/stat.h>
#include <unistd.h>

using namespace orvel;

class TestSmallInserts : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void writeSize_data();
    void writeSize();
    void readSize_data();
    void readSize();
    void sizeReadsBack();
    void sizeRun_data();
    void sizeRun();
    void digests_data();
    void digests();
    void digestErrorsNameTheFile_data();
    void digestErrorsNameTheFile();
    void digestOfAPipeDoesNotWait();
    void mailCodeForEveryKey();
    void mailCodeOfTheDesign();
    void mailDialogLists();
    void jsArgument_data();
    void jsArgument();
    void jsArgumentNeverEmitsEmptyLines();
    void escapes_data();
    void escapes();
};

void TestSmallInserts::writeSize_data() {
    QTest::addColumn<qint64>("bytes");
    QTest::addColumn<bool>("decimal");
    QTest::addColumn<QString>("separator");
    QTest::addColumn<QString>("text");
    const qint64 GiB = 1024LL * 1024 * 1024;
    QTest::newRow("0 B decimal") << 0LL << true << ","
                                 << "0 B";
    QTest::newRow("0 B binary") << 0LL << false << "."
                                << "0 B";
    QTest::newRow("999 B decimal") << 999LL << true << ","
                                   << "999 B";
    QTest::newRow("1000 B decimal comma") << 1000LL << true << ","
                                          << "1,00 kB";
    QTest::newRow("1000 B decimal point") << 1000LL << true << "."
                                          << "1.00 kB";
    QTest::newRow("1000 B binary") << 1000LL << false << "."
                                   << "1000 B";
    QTest::newRow("1023 B binary") << 1023LL << false << ","
                                   << "1023 B";
    QTest::newRow("1023 B decimal") << 1023LL << true << ","
                                    << "1,02 kB";
    QTest::newRow("1024 B binary") << 1024LL << false << ","
                                   << "1,00 KiB";
    QTest::newRow("1024 B decimal") << 1024LL << true << "."
                                    << "1.02 kB";
    QTest::newRow("10.5 kB") << 10500LL << true << "."
                             << "10.5 kB";
    QTest::newRow("10,5 KiB") << 10752LL << false << ","
                              << "10,5 KiB";
    QTest::newRow("12,3 MB") << 12345678LL << true << ","
                             << "12,3 MB";
    QTest::newRow("123 MB") << 123456789LL << true << ","
                            << "123 MB";
    QTest::newRow("a thousand units as the design writes them") << 999999LL << true << ","
                                                                << "1000 kB";
    QTest::newRow("GiB range") << 5 * GiB + GiB / 2 << false << "."
                               << "5.50 GiB";
    QTest::newRow("GB range") << 7500000000LL << true << ","
                              << "7,50 GB";
    QTest::newRow("past the largest unit") << 2000 * GiB << false << "."
                                           << "2000.00 GiB";
    QTest::newRow("unknown size") << -1LL << true << "."
                                  << "0 B";
}

void TestSmallInserts::writeSize() {
    QFETCH(qint64, bytes);
    QFETCH(bool, decimal);
    QFETCH(QString, separator);
    QFETCH(QString, text);
    QCOMPARE(formatFileSize(bytes, decimal, separator.at(0)), text);
}

void TestSmallInserts::readSize_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("separator");
    QTest::addColumn<qint64>("bytes"); // -1: "Invalid file size format!"
    QTest::newRow("blank is 0") << "   "
                                << "," << 0LL;
    QTest::newRow("0 B") << "0 B"
                         << "," << 0LL;
    QTest::newRow("999 B") << "999 B"
                           << "," << 999LL;
    QTest::newRow("bytes without B") << "4711"
                                     << "." << 4711LL;
    QTest::newRow("1,00 kB") << "1,00 kB"
                             << "," << 1000LL;
    QTest::newRow("1,5 MiB") << "1,5 MiB"
                             << "," << 1572864LL;
    QTest::newRow("lower case units") << "2 kib"
                                      << "." << 2048LL;
    QTest::newRow("terabytes") << "2 TB"
                               << "." << 2000000000000LL;
    QTest::newRow("rounded to bytes") << "1.0005 kB"
                                      << "." << 1001LL;
    QTest::newRow("unit letter ends the number at a blank") << "12 34 kB"
                                                            << "." << 12000LL;
    QTest::newRow("largest that fits") << "9223372036854775807 B"
                                       << "." << 9223372036854775807LL;
    QTest::newRow("one byte past 63 bits") << "9223372036854775808"
                                           << "." << -1LL;
    QTest::newRow("value times base^4 past 64 bits") << "99999999999999999999 TiB"
                                                     << "." << -1LL;
    QTest::newRow("eight million TiB") << "8388608 TiB"
                                       << "." << -1LL;
    QTest::newRow("a thousand digits") << QString(1000, u'9') + " B"
                                       << "." << -1LL;
    QTest::newRow("a lone B") << "B"
                              << "," << -1LL;
    QTest::newRow("letters only") << "kilobytes"
                                  << "," << -1LL;
    QTest::newRow("unit without number") << "MiB"
                                         << "," << -1LL;
    QTest::newRow("the other separator") << "1.5 MB"
                                         << "," << -1LL;
    QTest::newRow("two separators") << "1,2,3 kB"
                                    << "," << -1LL;
    QTest::newRow("a sign") << "-5 B"
                            << "." << -1LL;
    QTest::newRow("blanks inside a bare number") << "1 000"
                                                 << "." << -1LL;
    QTest::newRow("unknown unit") << "3 PB"
                                  << "." << -1LL;
}

void TestSmallInserts::readSize() {
    QFETCH(QString, text);
    QFETCH(QString, separator);
    QFETCH(qint64, bytes);
    const std::optional<qint64> got = parseFileSize(text, separator.at(0));
    QCOMPARE(got.has_value(), bytes >= 0);
    if (got)
        QCOMPARE(*got, bytes);
}

void TestSmallInserts::sizeReadsBack() {
    // What is written reads back to the size written, within the precision shown, and is
    // written again the same way (or, at a unit's upper end, as the next unit).
    const qint64 sizes[] = {0,     1,      999,     1000,      1023,         1024,
                            10500, 999999, 1048576, 123456789, 5368709120LL, 1099511627776LL};
    for (bool decimal : {true, false})
        for (QChar sep : {u',', u'.'})
            for (qint64 n : sizes) {
                const QString text = formatFileSize(n, decimal, sep);
                const std::optional<qint64> back = parseFileSize(text, sep);
                QVERIFY2(back, qPrintable(text));
                QVERIFY2(qAbs(double(*back - n)) <= 0.01 * double(n), qPrintable(text));
                const QString again = formatFileSize(*back, decimal, sep);
                QVERIFY2(again == text || parseFileSize(again, sep) == back,
                         qPrintable(text + QStringLiteral(" / ") + again));
            }
}

void TestSmallInserts::sizeRun_data() {
    QTest::addColumn<QString>("line"); // "^" marks the caret
    QTest::addColumn<QString>("run");  // the text selected; empty: none
    QTest::newRow("caret after the size") << "Size: 12,3 kB^"
                                          << "12,3 kB";
    QTest::newRow("caret inside the size") << "Size: 12^,3 kB</p>"
                                           << "12,3 kB";
    QTest::newRow("caret before the size") << "Size:^ 1,5 MiB"
                                           << "1,5 MiB";
    QTest::newRow("bytes with their blank") << "(^ 0 B)"
                                            << "0 B";
    QTest::newRow("a size past other text") << "x^ abc 12 kB"
                                            << "";
    QTest::newRow("no B on the line") << "Size: 12^"
                                      << "";
    QTest::newRow("too long") << "^ 1234567890123 B"
                              << "";
    QTest::newRow("too short") << "^3B"
                               << "";
    QTest::newRow("a B of a word") << "^ 12 Bytes"
                                   << "12 B";
    QTest::newRow("caret at the start of the line") << "^1,00 kB"
                                                    << "1,00 kB";
}

void TestSmallInserts::sizeRun() {
    QFETCH(QString, line);
    QFETCH(QString, run);
    const int caret = int(line.indexOf(u'^'));
    const QString text = QString(line).remove(u'^');
    const std::optional<TColumnRun> got = sizeRunAtCaret(text, caret);
    QCOMPARE(got ? text.mid(got->start, got->end - got->start) : QString(), run);
}

namespace {
QString tool(const QString& program, const QString& file) {
    QProcess p;
    p.start(program, {file});
    if (!p.waitForFinished(60000))
        return QStringLiteral("<%1 did not finish>").arg(program);
    return QString::fromLatin1(p.readAllStandardOutput()).section(u' ', 0, 0);
}
} // namespace

void TestSmallInserts::digests_data() {
    QTest::addColumn<qint64>("size");
    QTest::newRow("empty") << 0LL;
    QTest::newRow("one byte") << 1LL;
    QTest::newRow("one block and a byte") << qint64(1 << 20) + 1;
    QTest::newRow("100 MB") << 100LL * 1000 * 1000;
}

void TestSmallInserts::digests() {
    QFETCH(qint64, size);
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("data.bin"));
    {
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly));
        QByteArray block(1 << 16, Qt::Uninitialized);
        quint32 x = 2463534242u;
        for (qint64 left = size; left > 0;) {
            for (char& c : block) {
                x ^= x << 13;
                x ^= x >> 17;
                x ^= x << 5;
                c = char(x);
            }
            const qint64 n = qMin<qint64>(left, block.size());
            QCOMPARE(f.write(block.constData(), n), n);
            left -= n;
        }
    }
    const struct {
        TDigestKind kind;
        const char* tool;
    } kinds[] = {{dkMD5, "md5sum"}, {dkSHA1, "sha1sum"}, {dkSHA256, "sha256sum"}};
    for (const auto& k : kinds) {
        const TResult<QString> got = fileDigest(file, k.kind);
        QVERIFY2(got.ok(), qPrintable(got.error()));
        QCOMPARE(got.value(), tool(QString::fromLatin1(k.tool), file));
    }
    QCOMPARE(digestLabel(dkMD5), QString("MD5"));
    QCOMPARE(digestLabel(dkSHA1), QString("SHA1"));
    QCOMPARE(digestLabel(dkSHA256), QString("SHA256"));
}

void TestSmallInserts::digestErrorsNameTheFile_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("folder");
    QTest::addColumn<bool>("unreadable");
    QTest::newRow("missing") << "missing.bin" << false << false;
    QTest::newRow("a folder") << "sub" << true << false;
    QTest::newRow("no permission") << "secret.bin" << false << true;
}

void TestSmallInserts::digestErrorsNameTheFile() {
    QFETCH(QString, name);
    QFETCH(bool, folder);
    QFETCH(bool, unreadable);
    if (unreadable && geteuid() == 0)
        QSKIP("root reads every file");
    QTemporaryDir dir;
    const QString path = dir.filePath(name);
    if (folder)
        QVERIFY(QDir(dir.path()).mkdir(name));
    if (unreadable) {
        test::writeAll(path, "x");
        QVERIFY(QFile::setPermissions(path, QFileDevice::WriteOwner));
    }
    const TResult<QString> got = fileDigest(path, dkSHA256);
    QVERIFY(!got.ok());
    QVERIFY2(got.error().contains(path), qPrintable(got.error()));
}

void TestSmallInserts::digestOfAPipeDoesNotWait() {
    QTemporaryDir dir;
    const QString fifo = dir.filePath(QStringLiteral("pipe"));
    QCOMPARE(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const TResult<QString> got = fileDigest(fifo, dkMD5);
    QVERIFY(!got.ok());
    QVERIFY(got.error().contains(fifo));
    const TResult<QString> device = fileDigest(QStringLiteral("/dev/zero"), dkMD5);
    QVERIFY(!device.ok());
}

void TestSmallInserts::mailCodeForEveryKey() {
    const QString address = QStringLiteral("jürgen.o'neil+web@exämple.org");
    for (int key = 128; key <= 255; ++key) {
        const QString code = mailCode(address, key);
        QVERIFY(code.startsWith(QString::number(key) + u':'));
        QCOMPARE(decodeMailCode(code), address);
        QCOMPARE(decodeMailCode(u'\'' + code + u'\''), address);
    }
}

void TestSmallInserts::mailCodeOfTheDesign() {
    QCOMPARE(mailCode(QStringLiteral("a@b"), 200), QString("200:169:136:170"));
    QCOMPARE(decodeMailCode(QStringLiteral("200:169:136:170")), QString("a@b"));
    // A key whose low byte is 0 shows nothing; so does no code at all.
    QCOMPARE(decodeMailCode(QStringLiteral("256:97:64:98")), QString());
    QCOMPARE(decodeMailCode(QStringLiteral("plain text")), QString());
}

void TestSmallInserts::mailDialogLists() {
    QString name, domain;
    splitMailAddress(QStringLiteral("info@example.org"), name, domain);
    QCOMPARE(name, QString("info"));
    QCOMPARE(domain, QString("example.org"));
    QStringList names, domains;
    for (int i = 0; i < 25; ++i)
        names << QStringLiteral("n%1").arg(i);
    domains << QStringLiteral("@a.org") << QStringLiteral("@example.org");
    QCOMPARE(takeMailAddress(QStringLiteral(" n7 "), QStringLiteral("example.org"), names, domains),
             QString("n7@example.org"));
    QCOMPARE(names.first(), QString("n7"));
    QCOMPARE(names.size(), kMailHistorySize);
    QCOMPARE(names.count(QStringLiteral("n7")), 1);
    QCOMPARE(domains, (QStringList{"@example.org", "@a.org"}));
}

void TestSmallInserts::jsArgument_data() {
    QTest::addColumn<QString>("clipboard");
    QTest::addColumn<int>("edge");
    QTest::addColumn<QString>("result");
    QTest::newRow("a CR LF pair is one blank") << "a\r\nb" << 80 << " a b";
    QTest::newRow("lone CR and LF are blanks") << "a\rb\nc" << 80 << " a b c";
    QTest::newRow("runs of blanks shrink") << "a   b" << 80 << " a b";
    QTest::newRow("markup becomes entities") << "<b>&</b>" << 80 << " &lt;b&gt;&amp;&lt;/b&gt;";
    QTest::newRow("quotes") << "''x\"y``z" << 80 << " &quot;x&quot;y&quot;z";
    QTest::newRow("single quotes and accents")
        << QString::fromUtf8("it's `a´") << 80 << " it&lsquo;s &lsquo;a&rsquo;";
    QTest::newRow("a backslash stays a backslash") << "C:\\dir" << 80 << " C:\\\\dir";
    QTest::newRow("cut at the last blank") << "one two three" << 8 << " one two\\\r\n three";
    QTest::newRow("no edge cuts nothing") << "one two three" << 0 << " one two three";
}

void TestSmallInserts::jsArgument() {
    QFETCH(QString, clipboard);
    QFETCH(int, edge);
    QFETCH(QString, result);
    QCOMPARE(jsArgumentText(clipboard, edge), result);
}

void TestSmallInserts::jsArgumentNeverEmitsEmptyLines() {
    const QString text = QStringLiteral("short ") + QString(50, u'x') + QStringLiteral(" tail ") +
                         QString(30, u'y') + QStringLiteral(" end");
    for (int edge = 1; edge < 60; ++edge) {
        const QString out = jsArgumentText(text, edge);
        const QStringList lines = out.split(QStringLiteral("\\\r\n"));
        for (const QString& l : lines)
            QVERIFY2(!l.trimmed().isEmpty(),
                     qPrintable(QStringLiteral("edge %1: %2").arg(edge).arg(out)));
        QCOMPARE(QString(lines.join(QString())).remove(u' '), QString(text).remove(u' '));
    }
}

void TestSmallInserts::escapes_data() {
    QTest::addColumn<int>("kind"); // 0 JavaScript string, 1 HTML text, 2 attribute, 3 CSS url
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("escaped");
    QTest::newRow("js quotes and backslash") << 0 << "'\"\\"
                                             << "\\'\\\"\\\\";
    QTest::newRow("js line breaks") << 0 << "a\r\nb"
                                    << "a\\r\\nb";
    QTest::newRow("js end of script") << 0 << "</script>"
                                      << "<\\/script>";
    QTest::newRow("js slash elsewhere") << 0 << "a/b"
                                        << "a/b";
    QTest::newRow("html markup") << 1 << "<b>"
                                 << "&lt;b&gt;";
    QTest::newRow("html bare ampersand") << 1 << "Tom & Jerry"
                                         << "Tom &amp; Jerry";
    QTest::newRow("html references stay") << 1 << "&amp; &#233; &#xE9; &nbsp;"
                                          << "&amp; &#233; &#xE9; &nbsp;";
    QTest::newRow("html unfinished reference") << 1 << "&amp &#; &x"
                                               << "&amp;amp &amp;#; &amp;x";
    QTest::newRow("attribute") << 2 << "a\"b&c<d>"
                               << "a&quot;b&amp;c&lt;d&gt;";
    QTest::newRow("url blanks quotes parentheses") << 3 << "img/a b(1)'\".png"
                                                   << "img/a%20b%281%29%27%22.png";
    QTest::newRow("url as it stands") << 3 << "../img/bullet.gif?x=1#top"
                                      << "../img/bullet.gif?x=1#top";
}

void TestSmallInserts::escapes() {
    QFETCH(int, kind);
    QFETCH(QString, text);
    QFETCH(QString, escaped);
    const QString got = kind == 0   ? jsStringEscape(text)
                        : kind == 1 ? htmlTextEscape(text)
                        : kind == 2 ? htmlAttributeEscape(text)
                                    : cssUrlEscape(text);
    QCOMPARE(got, escaped);
}

QTEST_GUILESS_MAIN(TestSmallInserts)
#include "tst_smallinserts.moc"
