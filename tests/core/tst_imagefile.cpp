// Images are recognised by their content: every format Qt's readers handle gives the size
// ImageMagick's identify gives; damaged or hostile data is refused with a message; the
// thumbnail keeps the proportions; remote images come over HTTP from a real server on
// loopback, bounded in size and failing on HTTP errors.

#include "MiniHttpServer.h"
#include "dialogs/core/ImageDownload.h"
#include "dialogs/core/ImageFile.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>
#include <functional>

using namespace orvel;

namespace {

// The CRC-32 a PNG chunk carries over its type and data.
quint32 pngCrc(const QByteArray& bytes) {
    quint32 crc = 0xFFFFFFFFu;
    for (char b : bytes) {
        crc ^= quint8(b);
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

QString identify(const QString& file) {
    QProcess p;
    p.start("identify", {"-format", "%w %h\n", file});
    p.waitForFinished(30000);
    return QString::fromLatin1(p.readAllStandardOutput()).section(u'\n', 0, 0).trimmed();
}

QByteArray readAll(const QString& file) {
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class TestImageFile : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void sizesAsIdentify_data();
    void sizesAsIdentify();
    void svgSize();
    void refused_data();
    void refused();
    void missingFile();
    void thumbnail_data();
    void thumbnail();
    void remote_data();
    void remote();
    void copyName_data();
    void copyName();
    void downloads();
    void downloadFailures();

private:
    QTemporaryDir m_dir;
    QString m_png;
};

void TestImageFile::initTestCase() {
    QVERIFY(m_dir.isValid());
    if (QStandardPaths::findExecutable("convert").isEmpty())
        QFAIL("ImageMagick's convert is needed (scripts/setup installs imagemagick)");
    m_png = m_dir.filePath("base.png");
    QCOMPARE(QProcess::execute("convert", {"-size", "37x23", "xc:red", "-fill", "blue", "-draw",
                                           "rectangle 3,3 20,15", m_png}),
             0);
}

void TestImageFile::sizesAsIdentify_data() {
    QTest::addColumn<QString>("name");
    // Each made by ImageMagick from the same picture, at a size of its own.
    const char* names[] = {"a.png", "a.jpg", "a.jpeg", "a.gif",  "a.webp",
                           "a.bmp", "a.ico", "a.tif",  "a.tiff", "png-without-extension"};
    for (const char* n : names)
        QTest::newRow(n) << QString::fromLatin1(n);
}

void TestImageFile::sizesAsIdentify() {
    QFETCH(QString, name);
    const QString file = m_dir.filePath(name);
    QString target = file;
    if (!name.contains(u'.'))
        target = "png:" + file;
    QCOMPARE(QProcess::execute("convert", {m_png, "-resize", "61x43!", target}), 0);
    const QString expected = identify(file);
    QCOMPARE(expected, QString("61 43"));
    const TResult<TImageInfo> info = readImageInfoFromFile(file);
    QVERIFY2(info.ok(), qPrintable(info.error()));
    QCOMPARE(QString("%1 %2").arg(info.value().size.width()).arg(info.value().size.height()),
             expected);
    const TResult<QImage> image = loadImageFromFile(file);
    QVERIFY2(image.ok(), qPrintable(image.error()));
    QCOMPARE(image.value().size(), QSize(61, 43));
}

void TestImageFile::svgSize() {
    // Read through Qt SVG: the size the document declares.
    const QByteArray svg = "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"61\" height=\"43\">"
                           "<rect x=\"1\" y=\"1\" width=\"20\" height=\"10\" fill=\"red\"/></svg>";
    const TResult<TImageInfo> info = readImageInfoFromData(svg);
    QVERIFY2(info.ok(), qPrintable(info.error()));
    QCOMPARE(info.value().size, QSize(61, 43));
    QVERIFY(loadImageFromData(svg).ok());
}

void TestImageFile::refused_data() {
    QTest::addColumn<QByteArray>("data");
    const QByteArray png = readAll(m_png);
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("text") << QByteArray("<html>not an image</html>");
    QTest::newRow("cut PNG") << png.left(40);
    // A PNG header that claims 100000 by 100000 pixels: refused from the header, at once.
    QByteArray huge = png;
    qToBigEndian<quint32>(100000, huge.data() + 16);
    qToBigEndian<quint32>(100000, huge.data() + 20);
    // With a right checksum, so that only the size refuses it.
    qToBigEndian<quint32>(pngCrc(huge.mid(12, 17)), huge.data() + 29);
    QTest::newRow("huge PNG") << huge;
    QTest::newRow("GIF signature only") << QByteArray("GIF89a");
}

void TestImageFile::refused() {
    QFETCH(QByteArray, data);
    const TResult<TImageInfo> info = readImageInfoFromData(data);
    const TResult<QImage> image = loadImageFromData(data);
    QVERIFY(!image.ok());
    QCOMPARE(image.error(), QString("Invalid image format!"));
    if (!info.ok())
        QCOMPARE(info.error(), QString("Invalid image format!"));
}

void TestImageFile::missingFile() {
    const QString file = m_dir.filePath("gone.png");
    const TResult<TImageInfo> info = readImageInfoFromFile(file);
    QVERIFY(!info.ok());
    QCOMPARE(info.error(), QString("File: \"%1\"\r\nnot found!").arg(file));
}

void TestImageFile::thumbnail_data() {
    QTest::addColumn<QSize>("image");
    QTest::addColumn<QSize>("shown");
    const QSize area(207, 242);
    QTest::newRow("fits: unscaled") << QSize(100, 50) << QSize(100, 50);
    QTest::newRow("exactly the area") << area << area;
    QTest::newRow("wide: width fills") << QSize(414, 100) << QSize(207, 50);
    QTest::newRow("tall: height fills") << QSize(100, 484) << QSize(50, 242);
    // Taller than wide, yet the width limits: the smaller ratio wins, proportions kept.
    QTest::newRow("tall but wider than the area") << QSize(1000, 1100) << QSize(207, 228);
    QTest::newRow("one pixel high") << QSize(10000, 1) << QSize(207, 1);
    QTest::newRow("empty") << QSize(0, 0) << QSize();
}

void TestImageFile::thumbnail() {
    QFETCH(QSize, image);
    QFETCH(QSize, shown);
    QCOMPARE(thumbnailSize(image, QSize(207, 242)), shown);
}

void TestImageFile::remote_data() {
    QTest::addColumn<QString>("reference");
    QTest::addColumn<bool>("remote");
    QTest::newRow("http") << "HTTP://x/a.png" << true;
    QTest::newRow("https") << "https://x/a.png" << true;
    QTest::newRow("ftp") << "ftp://x/a.png" << true;
    QTest::newRow("mailto") << "mailto:a@b" << true;
    QTest::newRow("relative") << "img/a.png" << false;
    QTest::newRow("absolute") << "/srv/a.png" << false;
    QTest::newRow("https-like name") << "https.png" << false;
}

void TestImageFile::remote() {
    QFETCH(QString, reference);
    QFETCH(bool, remote);
    QCOMPARE(isRemoteReference(reference), remote);
}

void TestImageFile::copyName_data() {
    QTest::addColumn<QString>("url");
    QTest::addColumn<QString>("name");
    QTest::newRow("png") << "http://h/p/a.PNG"
                         << "~Orvel.png";
    QTest::newRow("jpeg, query ignored") << "https://h/a.jpeg?x=1.gif"
                                         << "~Orvel.jpeg";
    QTest::newRow("no extension") << "http://h/image"
                                  << "~Orvel";
    QTest::newRow("dot in a folder only") << "http://h/a.png/x"
                                          << "~Orvel";
    QTest::newRow("unknown extension") << "http://h/a.exe"
                                       << "~Orvel";
    QTest::newRow("escaped slash never leaves the folder") << "http://h/a%2F..%2F..%2Fx.png"
                                                           << "~Orvel.png";
    QTest::newRow("extension with a slash") << "http://h/a.png%2F..%2Fb"
                                            << "~Orvel";
}

void TestImageFile::copyName() {
    QFETCH(QString, url);
    QFETCH(QString, name);
    QCOMPARE(downloadCopyName(url, "Orvel"), name);
}

void TestImageFile::downloads() {
    const QByteArray png = readAll(m_png);
    test::MiniHttpServer server(
        [&](const QByteArray&) { return test::httpResponse("200 OK", png); });
    QVERIFY(server.listening());
    TDownloadOptions options;
    options.folder = m_dir.path() + u'/';
    options.programName = "Orvel";
    const TResult<QString> copy = downloadImage(server.url("/pics/logo.png"), options);
    QVERIFY2(copy.ok(), qPrintable(copy.error()));
    QCOMPARE(copy.value(), m_dir.filePath("~Orvel.png"));
    QCOMPARE(readAll(copy.value()), png);
    QCOMPARE(readImageInfoFromFile(copy.value()).value().size, QSize(37, 23));
}

void TestImageFile::downloadFailures() {
    const QByteArray png = readAll(m_png);
    test::MiniHttpServer server([&](const QByteArray& request) -> QByteArray {
        if (request.contains("/missing"))
            return test::httpResponse("404 Not Found", "no such image");
        if (request.contains("/empty"))
            return test::httpResponse("200 OK", {});
        if (request.contains("/silent"))
            return {};
        return test::httpResponse("200 OK", png);
    });
    QVERIFY(server.listening());
    TDownloadOptions options;
    options.folder = m_dir.path() + u'/';
    options.programName = "Fail";
    options.timeoutMs = 1500;
    QVERIFY(!downloadImage(server.url("/missing.png"), options).ok());
    QVERIFY(!downloadImage(server.url("/empty.png"), options).ok());
    const TResult<QString> silent = downloadImage(server.url("/silent.png"), options);
    QVERIFY(!silent.ok());
    QVERIFY2(silent.error().contains("timed out"), qPrintable(silent.error()));
    options.maxBytes = png.size() - 1;
    const TResult<QString> large = downloadImage(server.url("/a.png"), options);
    QVERIFY(!large.ok());
    QVERIFY2(large.error().contains("larger than"), qPrintable(large.error()));
    // Only http and https are fetched.
    options.maxBytes = kMaxImageDownload;
    QVERIFY(!downloadImage("ftp://127.0.0.1/a.png", options).ok());
    QVERIFY(!downloadImage("file:///etc/passwd", options).ok());
    // Nothing failed left a copy behind.
    QVERIFY(QDir(m_dir.path()).entryList({"~Fail*"}, QDir::Files).isEmpty());
}

QTEST_GUILESS_MAIN(TestImageFile)
#include "tst_imagefile.moc"
