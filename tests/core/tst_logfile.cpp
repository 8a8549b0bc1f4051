#include "base/core/LogFile.h"

#include "TestFiles.h"

#include <QFile>
#include <QLocale>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using namespace orvel;
using orvel::test::FileSizeLimit;
using orvel::test::readAll;
using orvel::test::writeAll;

namespace {

const QDateTime kStart(QDate(2024, 3, 9), QTime(14, 5));

QString stamp(const QDateTime& t) {
    return QLocale::system().toString(t, QLocale::ShortFormat);
}

// A log on a fixed clock that advances a minute at each reading.
struct Log {
    TLogFile file;
    QDateTime clock = kStart;
    QStringList failures;

    explicit Log(const QString& name) : file(name, "Orvel", "6.4.4.0") {
        file.setClock([this] {
            const QDateTime t = clock;
            clock = clock.addSecs(60);
            return t;
        });
        file.setFailureHandler([this](const QString& m) { failures << m; });
    }
};

} // namespace

class TestLogFile : public QObject {
    Q_OBJECT
private slots:
    void twoRunsTwoSections();
    void lineKinds_data();
    void lineKinds();
    void eightBitBytes_data();
    void eightBitBytes();
    void cannotOpenTurnsLoggingOff();
    void offWritesNothing();
    void writeFailureTurnsLoggingOff();
};

void TestLogFile::twoRunsTwoSections() {
    QTemporaryDir dir;
    const QString name = dir.filePath("orvel.log");
    for (const QString& title : {QStringLiteral("Upload"), QStringLiteral("Synchronize")}) {
        Log log(name);
        QVERIFY(log.file.Open());
        log.file.Header(title);
        log.file.DirLine(2, false, "/www");
        log.file.Summary(2, 0, 1);
        log.file.Close();
        QVERIFY(!log.file.isOpen());
        QVERIFY(log.failures.isEmpty());
    }
    const QByteArray bytes = readAll(name);
    const QString section = QStringLiteral("Orvel (Vers. 6.4.4.0)\r\n%1: %2\r\n"
                                           "  Directory: /www\r\n  1 file(s) copied\r\n"
                                           "Finished: %3\r\n\r\n");
    const QString expected = section.arg("Upload", stamp(kStart), stamp(kStart.addSecs(60))) +
                             section.arg("Synchronize", stamp(kStart), stamp(kStart.addSecs(60)));
    QCOMPARE(QString::fromLatin1(bytes), expected);
    // Each section begins with the header line and ends with the closing and an empty line.
    const QStringList sections =
        QString::fromLatin1(bytes).split("Orvel (Vers. 6.4.4.0)\r\n", Qt::SkipEmptyParts);
    QCOMPARE(sections.size(), 2);
    for (const QString& s : sections)
        QVERIFY(s.contains(QRegularExpression("\r\nFinished: [^\r\n]+\r\n\r\n$")));
}

void TestLogFile::lineKinds_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<int>("indent");
    QTest::addColumn<QVariantList>("args");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("text") << "text" << 3 << QVariantList{"put index.html"}
                          << QByteArray("   put index.html\r\n");
    QTest::newRow("text no indent") << "text" << 0 << QVariantList{"x"} << QByteArray("x\r\n");
    QTest::newRow("folder") << "dir" << 2 << QVariantList{false, "/www/sub dir"}
                            << QByteArray("  Directory: /www/sub dir\r\n");
    QTest::newRow("folder with root flag")
        << "dir" << 2 << QVariantList{true, "/www"} << QByteArray("  Directory: /www\r\n");
    QTest::newRow("root") << "dir" << 4 << QVariantList{true, ""}
                          << QByteArray("    Root directory\r\n");
    QTest::newRow("no folder, no root") << "dir" << 4 << QVariantList{false, ""} << QByteArray();
    QTest::newRow("error") << "error" << 2 << QVariantList{"530 Login incorrect."}
                           << QByteArray("  *** 530 Login incorrect.\r\n");
    QTest::newRow("summary failed")
        << "summary" << 2 << QVariantList{-1, 4} << QByteArray("  Error on file transfer!\r\n");
    QTest::newRow("summary nothing")
        << "summary" << 2 << QVariantList{0, 0} << QByteArray("  Nothing to do!\r\n");
    QTest::newRow("summary deleted")
        << "summary" << 1 << QVariantList{3, 0} << QByteArray(" 3 file(s) deleted\r\n");
    QTest::newRow("summary copied")
        << "summary" << 1 << QVariantList{0, 12} << QByteArray(" 12 file(s) copied\r\n");
    QTest::newRow("summary both") << "summary" << 0 << QVariantList{2, 5}
                                  << QByteArray("2 file(s) deleted\r\n5 file(s) copied\r\n");
}

void TestLogFile::lineKinds() {
    QFETCH(QString, kind);
    QFETCH(int, indent);
    QFETCH(QVariantList, args);
    QFETCH(QByteArray, expected);
    QTemporaryDir dir;
    const QString name = dir.filePath("orvel.log");
    Log log(name);
    QVERIFY(log.file.Open());
    if (kind == "text")
        log.file.TextLine(indent, args[0].toString());
    else if (kind == "dir")
        log.file.DirLine(indent, args[0].toBool(), args[1].toString());
    else if (kind == "error")
        log.file.ErrorLine(indent, args[0].toString());
    else
        log.file.Summary(indent, args[0].toInt(), args[1].toInt());
    // Read while the log is still open: every line is in the file at once.
    QCOMPARE(readAll(name), expected);
}

void TestLogFile::eightBitBytes_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("a umlaut") << QString::fromUtf8("Datei_ä.html") << QByteArray("Datei_\xE4.html");
    QTest::newRow("euro") << QString::fromUtf8("5 €") << QByteArray("5 \x80");
    QTest::newRow("beyond Windows-1252") << QString::fromUtf8("Győr") << QByteArray("Gy<U+0151>r");
    QTest::newRow("beyond the BMP") << QString::fromUtf8("a😀") << QByteArray("a<U+1F600>");
}

void TestLogFile::eightBitBytes() {
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    QTemporaryDir dir;
    const QString name = dir.filePath("orvel.log");
    Log log(name);
    QVERIFY(log.file.Open());
    log.file.TextLine(0, text);
    QCOMPARE(readAll(name), bytes + "\r\n");
}

void TestLogFile::cannotOpenTurnsLoggingOff() {
    QTemporaryDir dir;
    const QString blocker = dir.filePath("plain");
    writeAll(blocker, "a file, not a folder");
    const QString name = blocker + "/orvel.log";
    Log log(name);
    QVERIFY(!log.file.Open());
    QVERIFY(!log.file.UseLog);
    QCOMPARE(log.failures.size(), 1);
    QVERIFY2(log.failures[0].contains(name), qPrintable(log.failures[0]));
    // Logging stays off: the user is told once and the writers do nothing.
    QVERIFY(!log.file.Open());
    log.file.Header("Upload");
    log.file.TextLine(0, "x");
    log.file.ErrorLine(0, "y");
    log.file.Summary(0, 1, 1);
    log.file.Close();
    QCOMPARE(log.failures.size(), 1);
    QCOMPARE(readAll(blocker), QByteArray("a file, not a folder"));
}

void TestLogFile::offWritesNothing() {
    QTemporaryDir dir;
    const QString name = dir.filePath("orvel.log");
    {
        Log log(name);
        log.file.UseLog = false;
        QVERIFY(!log.file.Open());
        log.file.Header("Upload");
        log.file.Close();
        QVERIFY(log.failures.isEmpty());
    }
    QVERIFY(!QFile::exists(name));
    // Switched off in the middle of a run: the rest of the run is not logged.
    Log log(name);
    QVERIFY(log.file.Open());
    log.file.TextLine(0, "before");
    log.file.UseLog = false;
    log.file.TextLine(0, "after");
    log.file.Close();
    QVERIFY(!log.file.isOpen());
    QCOMPARE(readAll(name), QByteArray("before\r\n"));
}

void TestLogFile::writeFailureTurnsLoggingOff() {
    QTemporaryDir dir;
    const QString name = dir.filePath("orvel.log");
    writeAll(name, QByteArray(100, 'x'));
    Log log(name);
    {
        const FileSizeLimit limit(110);
        QVERIFY(log.file.Open());
        log.file.Header("A title long enough to pass the limit");
        log.file.TextLine(0, "more");
    }
    QVERIFY(!log.file.UseLog);
    QVERIFY(!log.file.isOpen());
    QCOMPARE(log.failures.size(), 1);
    QVERIFY(readAll(name).startsWith(QByteArray(100, 'x')));
}

QTEST_GUILESS_MAIN(TestLogFile)
#include "tst_logfile.moc"
