#include "base/core/TextCodec.h"
#include "base/core/TextFile.h"

#include "TestFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <sys/stat.h>
#include <unistd.h>

using namespace orvel;
using orvel::test::FileSizeLimit;
using orvel::test::readAll;
using orvel::test::writeAll;

namespace {

template <qsizetype N> QByteArray raw(const char (&s)[N]) {
    return QByteArray(s, N - 1);
}

QStringList entries(const QString& folder) {
    return QDir(folder).entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

mode_t modeOf(const QString& fileName) {
    struct stat st {};
    ::stat(QFile::encodeName(fileName).constData(), &st);
    return st.st_mode & 07777;
}

} // namespace

class TestTextFile : public QObject {
    Q_OBJECT
private slots:
    void loadAndSaveBack_data();
    void loadAndSaveBack();
    void loadErrors_data();
    void loadErrors();
    void streamedLikeWhole_data();
    void streamedLikeWhole();
    void failedSaveKeepsOldFile_data();
    void failedSaveKeepsOldFile();
    void unencodableWritesNothing();
    void symbolicLinkTargetWritten_data();
    void symbolicLinkTargetWritten();
    void permissionsKept_data();
    void permissionsKept();
    void ownerKept();
};

void TestTextFile::loadAndSaveBack_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<int>("encoding");
    QTest::addColumn<bool>("bom");
    QTest::addColumn<int>("lineBreak");
    QTest::addColumn<QByteArray>("text");

    QTest::newRow("UTF-8 with mark, LF")
        << raw("\xEF\xBB\xBF"
               "caf\xC3\xA9\nx")
        << int(seUTF8) << true << int(lbLF) << raw("caf\xC3\xA9\nx");
    QTest::newRow("UTF-8 without mark, CR LF")
        << raw("<p>\xE2\x82\xAC</p>\r\n") << int(seUTF8) << false << int(lbCRLF)
        << raw("<p>\xE2\x82\xAC</p>\r\n");
    QTest::newRow("UTF-8 mark alone")
        << raw("\xEF\xBB\xBF") << int(seUTF8) << true << int(lbCRLF) << QByteArray();
    QTest::newRow("UTF-16BE with mark, CR") << raw("\xFE\xFF\0A\0\r\x01\x51") << int(seUTF16BE)
                                            << true << int(lbCR) << raw("A\r\xC5\x91");
    QTest::newRow("Windows-1252, CR LF") << raw("\xE9t\xE9\r\n\x80") << int(seAnsi) << false
                                         << int(lbCRLF) << raw("\xC3\xA9t\xC3\xA9\r\n\xE2\x82\xAC");
    QTest::newRow("NUL bytes") << raw("a\0b\n\0") << int(seAnsi) << false << int(lbLF)
                               << raw("a\0b\n\0");
    QTest::newRow("empty") << QByteArray() << int(seAnsi) << false << int(lbCRLF) << QByteArray();
    // Each line keeps its own break; the main one is what most lines end with.
    QTest::newRow("mixed breaks, mostly LF") << raw("a\r\nb\nc\rd\ne\n") << int(seAnsi) << false
                                             << int(lbLF) << raw("a\r\nb\nc\rd\ne\n");
    QTest::newRow("UTF-16LE without mark")
        << raw("<\0p\0>\0\xE9\0\r\0\n\0\x51\x01\n\0") << int(seUTF16LE) << false << int(lbCRLF)
        << raw("<p>\xC3\xA9\r\n\xC5\x91\n");
}

void TestTextFile::loadAndSaveBack() {
    QFETCH(QByteArray, file);
    QFETCH(int, encoding);
    QFETCH(bool, bom);
    QFETCH(int, lineBreak);
    QFETCH(QByteArray, text);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString name = dir.filePath(QStringLiteral("page.html"));
    writeAll(name, file);

    const TLoadedText loaded = loadTextFile(name);
    QVERIFY2(loaded.ok(), qPrintable(loaded.error));
    QCOMPARE(int(loaded.encoding), encoding);
    QCOMPARE(loaded.bom, bom);
    QCOMPARE(int(loaded.lineBreak), lineBreak);
    QCOMPARE(loaded.text, text);

    writeAll(name, "something else");
    const TSaveResult saved = saveTextFile(name, loaded.text, loaded.encoding, loaded.bom);
    QVERIFY2(saved.ok(), qPrintable(saved.error));
    QCOMPARE(readAll(name), file);
}

void TestTextFile::loadErrors_data() {
    QTest::addColumn<QString>("relativeName");
    QTest::newRow("missing file") << QStringLiteral("missing.txt");
    QTest::newRow("folder") << QStringLiteral("folder");
}

void TestTextFile::loadErrors() {
    QFETCH(QString, relativeName);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("folder")));
    const TLoadedText loaded = loadTextFile(dir.filePath(relativeName));
    QVERIFY(!loaded.ok());
    QVERIFY(!loaded.error.isEmpty());
    QVERIFY(loaded.text.isEmpty());
}

void TestTextFile::streamedLikeWhole_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("pure ASCII") << QByteArray("abc\ndef\nghi");
    QTest::newRow("sequences across pieces") << raw("ab\xC3\xA9"
                                                    "cd\xE2\x82\xAC"
                                                    "e\xF0\x9F\x98\x80");
    QTest::newRow("bad byte in a later piece") << raw("abcdefghij\xC3\xA9klmn\xFFop");
    QTest::newRow("sequence cut at the end") << raw("abcdefg\xE2\x82");
    QTest::newRow("UTF-8 mark, malformed later") << raw("\xEF\xBB\xBF"
                                                        "abcdefgh\xC0\xAF");
    QTest::newRow("UTF-8 mark, ASCII") << raw("\xEF\xBB\xBF"
                                              "abcdefgh\r\n");
    QTest::newRow("UTF-16LE pair across pieces") << raw("\xFF\xFE"
                                                        "a\0b\0\x3D\xD8\x00\xDE"
                                                        "c\0\r\0");
    QTest::newRow("UTF-16BE pair across pieces") << raw("\xFE\xFF\0a\xD8\x3D\xDE\x00\0b\0c\0\n");
    QTest::newRow("UTF-16LE lone high surrogate at the end") << raw("\xFF\xFE"
                                                                    "a\0b\0c\0\x3D\xD8");
    QTest::newRow("UTF-16 mark, odd size") << raw("\xFF\xFE"
                                                  "a\0b");
    QTest::newRow("CR only") << QByteArray("a\rb\rc\rd\re");
    QTest::newRow("CR LF across pieces, mostly CR LF") << QByteArray("abc\r\nd\r\ne\r\nf\ng\rh");
    QTest::newRow("UTF-16LE without mark") << raw("a\0b\0c\0\r\0\n\0\x3D\xD8\x00\xDE");
    QTest::newRow("NULs alone") << raw("\0\0\0\0\0\0");
    QTest::newRow("UTF-16LE without mark, odd size") << raw("a\0b\0c");
    QTest::newRow("NUL in every second byte, then UTF-8")
        << raw("a\0b\0c\0d\0e\0f\0g\0h\0i\0j\0k\0l\0m\0n\0o\0p\0q\0r\0s\0t\0u\0v\0w\0x\0"
               "y\0z\0A\0B\0C\0D\0E\0F\0G\0H\0I\0J\0K\0L\0M\0N\0O\0P\0Q\0R\0S\0T\0U\0V\0W\0X\0"
               "Y\0Z\0a\0b\0c\0d\0e\0f\0g\0h\0i\0j\0\xC3\xA9");
}

void TestTextFile::streamedLikeWhole() {
    QFETCH(QByteArray, bytes);
    QTemporaryDir dir;
    const QString name = dir.filePath(QStringLiteral("stream.txt"));
    writeAll(name, bytes);
    // What the rules give for the whole file at once.
    const codec::TDetection d = codec::detectEncoding(bytes);
    const QByteArray text =
        codec::toEditorText(QByteArrayView(bytes).sliced(d.bomLength), d.encoding);
    for (qsizetype piece : {4, 5, 6, 7, 8, 1 << 20}) {
        QByteArray got;
        int restarts = 0;
        const TLoadedText r = streamTextFile(
            name, [&got](QByteArrayView v) { got.append(v); },
            [&] {
                got.clear();
                ++restarts;
            },
            piece);
        QVERIFY(r.ok());
        QCOMPARE(got, text);
        QCOMPARE(int(r.encoding), int(d.encoding));
        QCOMPARE(r.bom, d.bom);
        QCOMPARE(int(r.lineBreak), int(codec::detectLineBreak(text)));
        QVERIFY(restarts <= 1);
    }
}

void TestTextFile::failedSaveKeepsOldFile_data() {
    QTest::addColumn<QString>("relativeName");
    QTest::addColumn<qint64>("sizeLimit"); // 0: none
    QTest::addColumn<int>("textSize");
    // The folder holds old.txt ("old") and an empty folder "sub".
    QTest::newRow("parent is a file") << QStringLiteral("old.txt/new.txt") << qint64(0) << 100;
    QTest::newRow("name of a folder") << QStringLiteral("sub") << qint64(0) << 100;
    QTest::newRow("disk full, large text") << QStringLiteral("old.txt") << qint64(4096) << 262144;
    QTest::newRow("disk full, small text") << QStringLiteral("old.txt") << qint64(4096) << 8192;
}

void TestTextFile::failedSaveKeepsOldFile() {
    QFETCH(QString, relativeName);
    QFETCH(qint64, sizeLimit);
    QFETCH(int, textSize);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString old = dir.filePath(QStringLiteral("old.txt"));
    writeAll(old, "old");
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("sub")));
    const QStringList before = entries(dir.path());

    const QByteArray text(textSize, 'x');
    TSaveResult saved;
    if (sizeLimit > 0) {
        FileSizeLimit limit{rlim_t(sizeLimit)};
        saved = saveTextFile(dir.filePath(relativeName), text, seUTF8, false, lbLF);
    } else {
        saved = saveTextFile(dir.filePath(relativeName), text, seUTF8, false, lbLF);
    }
    QVERIFY(!saved.ok());
    QVERIFY(!saved.error.isEmpty());
    QCOMPARE(readAll(old), QByteArray("old"));
    QCOMPARE(entries(dir.path()), before);
    QVERIFY(entries(dir.filePath(QStringLiteral("sub"))).isEmpty());
}

void TestTextFile::unencodableWritesNothing() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString name = dir.filePath(QStringLiteral("old.txt"));
    writeAll(name, "old");
    const TSaveResult saved = saveTextFile(name, raw("h\xC5\x91s"), seAnsi, false, lbCRLF);
    QVERIFY(!saved.ok());
    QVERIFY(saved.error.isNull());
    QCOMPARE(saved.unencodable, QList<char32_t>{0x151});
    QCOMPARE(readAll(name), QByteArray("old"));
    QCOMPARE(entries(dir.path()), QStringList{QStringLiteral("old.txt")});
}

void TestTextFile::symbolicLinkTargetWritten_data() {
    QTest::addColumn<bool>("absolute");
    QTest::addColumn<int>("chain");
    QTest::addColumn<bool>("targetExists");
    QTest::newRow("relative link") << false << 1 << true;
    QTest::newRow("absolute link") << true << 1 << true;
    QTest::newRow("link to a link") << false << 2 << true;
    QTest::newRow("dangling link") << false << 1 << false;
}

// Links live in the folder, their final target in data/: the target must be replaced in its
// own folder and every link left as it was.
void TestTextFile::symbolicLinkTargetWritten() {
    QFETCH(bool, absolute);
    QFETCH(int, chain);
    QFETCH(bool, targetExists);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("data")));
    const QString target = dir.filePath(QStringLiteral("data/real.txt"));
    if (targetExists)
        writeAll(target, "old");
    QString pointsTo = absolute ? target : QStringLiteral("data/real.txt");
    QString link;
    QStringList links;
    for (int i = 1; i <= chain; ++i) {
        link = dir.filePath(QStringLiteral("link%1.txt").arg(i));
        QVERIFY(QFile::link(pointsTo, link));
        links << link;
        pointsTo = QFileInfo(link).fileName();
    }

    const TSaveResult saved = saveTextFile(link, "new\n", seUTF8, false, lbLF);
    QVERIFY2(saved.ok(), qPrintable(saved.error));
    QCOMPARE(readAll(target), QByteArray("new\n"));
    QCOMPARE(entries(dir.filePath(QStringLiteral("data"))),
             QStringList{QStringLiteral("real.txt")});
    for (const QString& l : links) {
        const QFileInfo info(l);
        QVERIFY2(info.isSymLink(), qPrintable(l));
        QCOMPARE(info.canonicalFilePath(), QFileInfo(target).canonicalFilePath());
    }
}

void TestTextFile::permissionsKept_data() {
    QTest::addColumn<uint>("mode");
    QTest::newRow("0600") << 0600u;
    QTest::newRow("0604") << 0604u;
    QTest::newRow("0640") << 0640u;
    QTest::newRow("0755") << 0755u;
    QTest::newRow("02775") << 02775u;
}

void TestTextFile::permissionsKept() {
    QFETCH(uint, mode);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString name = dir.filePath(QStringLiteral("page.html"));
    writeAll(name, "old");
    QCOMPARE(::chmod(QFile::encodeName(name).constData(), mode), 0);
    QCOMPARE(uint(modeOf(name)), mode);
    const TSaveResult saved = saveTextFile(name, "new", seUTF8, false, lbLF);
    QVERIFY2(saved.ok(), qPrintable(saved.error));
    QCOMPARE(readAll(name), QByteArray("new"));
    QCOMPARE(uint(modeOf(name)), mode);
}

void TestTextFile::ownerKept() {
    if (::geteuid() != 0)
        QSKIP("only the superuser can give a file to another owner");
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString name = dir.filePath(QStringLiteral("page.html"));
    writeAll(name, "old");
    const QByteArray native = QFile::encodeName(name);
    QCOMPARE(::chown(native.constData(), 4321, 8765), 0);
    const TSaveResult saved = saveTextFile(name, "new", seUTF8, false, lbLF);
    QVERIFY2(saved.ok(), qPrintable(saved.error));
    QCOMPARE(readAll(name), QByteArray("new"));
    struct stat st {};
    QCOMPARE(::stat(native.constData(), &st), 0);
    QCOMPARE(st.st_uid, uid_t(4321));
    QCOMPARE(st.st_gid, gid_t(8765));
}

QTEST_GUILESS_MAIN(TestTextFile)
#include "tst_textfile.moc"
