#include "projects/core/Ascii85.h"
#include "projects/core/Encryption.h"
#include "projects/core/PwdStore.h"

#include <QBuffer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>
#include <cstring>

using namespace orvel;

namespace {

const QByteArray kKey = QByteArray::fromHex("790f75ab1d51d83b4c5813");

// Hands out the given bytes in order, as the tests' stand-in for the random source.
struct TScriptedRandom {
    QByteArray bytes;
    qsizetype at = 0;

    TRandomBytes source() {
        return [this](unsigned char* out, int count) {
            if (at + count > bytes.size())
                return false;
            std::memcpy(out, bytes.constData() + at, size_t(count));
            at += count;
            return true;
        };
    }
};

QByteArray counting(int count, int start) {
    QByteArray bytes(count, '\0');
    for (int i = 0; i < count; ++i)
        bytes[i] = char(start + 37 * i);
    return bytes;
}

QString python() {
    // Debian's interpreter holds python3-cryptography even where another one comes first.
    if (QFile::exists(QStringLiteral("/usr/bin/python3")))
        return QStringLiteral("/usr/bin/python3");
    return QStandardPaths::findExecutable(QStringLiteral("python3"));
}

// Runs the independent model over the request lines; one answer per line.
QStringList runModel(const QStringList& requests) {
    const QString exe = python();
    if (exe.isEmpty())
        return {};
    QProcess proc;
    proc.start(exe, {QStringLiteral(ORVEL_TEST_DATA "/pwd_model.py")});
    if (!proc.waitForStarted())
        return {};
    proc.write((requests.join(u'\n') + u'\n').toUtf8());
    proc.closeWriteChannel();
    if (!proc.waitForFinished(120000) || proc.exitCode() != 0) {
        qWarning("model failed: %s", proc.readAllStandardError().constData());
        return {};
    }
    return QString::fromUtf8(proc.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
}

// The one entry of a zip written by 7-Zip with AES: its enciphered bytes and AES strength.
struct TZipAesEntry {
    QByteArray stream;
    int strength = 0;
    QString error;
};

TZipAesEntry readAesEntry(const QByteArray& zip) {
    TZipAesEntry entry;
    auto u16 = [&](qsizetype at) { return qFromLittleEndian<quint16>(zip.constData() + at); };
    auto u32 = [&](qsizetype at) { return qFromLittleEndian<quint32>(zip.constData() + at); };
    if (zip.size() < 30 || u32(0) != 0x04034b50) {
        entry.error = QStringLiteral("no local file header");
        return entry;
    }
    const quint16 flags = u16(6);
    const quint16 method = u16(8);
    const quint32 packed = u32(18);
    const qsizetype nameLen = u16(26);
    const qsizetype extraLen = u16(28);
    if (!(flags & 1) || method != 99 || (flags & 8)) {
        entry.error = QStringLiteral("not an AES entry with sizes in its header");
        return entry;
    }
    const qsizetype extraAt = 30 + nameLen;
    const qsizetype dataAt = extraAt + extraLen;
    if (dataAt + qsizetype(packed) > zip.size()) {
        entry.error = QStringLiteral("entry cut short");
        return entry;
    }
    for (qsizetype at = extraAt; at + 4 <= dataAt;) {
        const quint16 id = u16(at);
        const quint16 size = u16(at + 2);
        if (id == 0x9901 && size >= 7 && at + 4 + size <= dataAt && zip.mid(at + 6, 2) == "AE")
            entry.strength = quint8(zip[at + 8]);
        at += 4 + size;
    }
    if (entry.strength < 1 || entry.strength > 3)
        entry.error = QStringLiteral("no AES extra field");
    entry.stream = zip.mid(dataAt, packed);
    return entry;
}

} // namespace

class TestPasswords : public QObject {
    Q_OBJECT
private slots:
    void ascii85_data();
    void ascii85();
    void ascii85Damaged_data();
    void ascii85Damaged();
    void storeKey_data();
    void storeKey();
    void textLengths_data();
    void textLengths();
    void freshSaltAndPadding();
    void utf8Cut_data();
    void utf8Cut();
    void damagedText_data();
    void damagedText();
    void modeByPassPhrase_data();
    void modeByPassPhrase();
    void streamKnownAnswers_data();
    void streamKnownAnswers();
    void streamRefusals_data();
    void streamRefusals();
    void deviceErrors_data();
    void deviceErrors();
    void passwordKnownAnswers_data();
    void passwordKnownAnswers();
    void modelReadsOurTexts();
    void sevenZipEntries_data();
    void sevenZipEntries();
};

void TestPasswords::ascii85_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    QTest::newRow("empty") << QByteArray() << "";
    QTest::newRow("one group") << QByteArray("Man ") << "9jqo^";
    QTest::newRow("three bytes") << QByteArray("Man") << "9jqo";
    QTest::newRow("one byte") << QByteArray::fromHex("00") << "!!";
    QTest::newRow("high byte") << QByteArray::fromHex("ff") << "rr";
    QTest::newRow("largest group") << QByteArray::fromHex("ffffffff") << "s8W-!";
    QTest::newRow("zero group") << QByteArray::fromHex("00000000") << "z";
    QTest::newRow("zero group then rest") << QByteArray::fromHex("0000000001") << "z!<";
    QTest::newRow("zero groups and zero tail")
        << QByteArray::fromHex("00000000000000000000") << "zz!!!";
}

void TestPasswords::ascii85() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QCOMPARE(encodeAscii85(bytes), text);
    const std::optional<QByteArray> back = decodeAscii85(text);
    QVERIFY(back);
    QCOMPARE(*back, bytes);
}

void TestPasswords::ascii85Damaged_data() {
    QTest::addColumn<QString>("text");
    QTest::newRow("out of range") << "9jqo^v";
    QTest::newRow("control character") << "9jq\x01o^";
    QTest::newRow("z inside a group") << "9jzo^";
    QTest::newRow("group over 32 bits") << "s8W-\"";
    QTest::newRow("tail over 32 bits") << "uuu";
    QTest::newRow("lone final character") << "9jqo^!";
    QTest::newRow("not ASCII") << "9jqo\u00e9";
}

void TestPasswords::ascii85Damaged() {
    QFETCH(QString, text);
    QVERIFY(!decodeAscii85(text));
}

void TestPasswords::storeKey_data() {
    QTest::addColumn<QByteArray>("digits");
    QTest::addColumn<int>("xorWith");
    QTest::addColumn<QByteArray>("key");
    // Byte 0 (the length, 2) takes the low halves of digit bytes 1 and 0, "A" the high halves
    // of bytes 2 and 3, "B" the low halves of bytes 5 and 4; the halves not used are F so
    // that a wrong pick shows.
    QTest::newRow("plain") << QByteArray("F2F04F1FF2F4").append(36, '0') << 0 << QByteArray("AB");
    QTest::newRow("xor") << QByteArray("A8AA1545A8AE").append(QByteArray("5A").repeated(18)) << 0x5A
                         << QByteArray("AB");
    QTest::newRow("length cut to 11")
        << QByteArray("FFFF").append(44, '0') << 0 << QByteArray(11, '\0');
    QTest::newRow("too few digits") << QByteArray("F2F0F44F24") << 0 << QByteArray();
    QTest::newRow("not hexadecimal")
        << QByteArray("G2F0F44F240F").append(36, '0') << 0 << QByteArray();
}

void TestPasswords::storeKey() {
    QFETCH(QByteArray, digits);
    QFETCH(int, xorWith);
    QFETCH(QByteArray, key);
    QCOMPARE(buildStoreKey(digits.constData(), quint8(xorWith)), key);
}

void TestPasswords::textLengths_data() {
    QTest::addColumn<QString>("password");
    QTest::addColumn<int>("textLength");
    QTest::addColumn<QString>("readBack");
    for (int n : {1, 2, 31, 62, 63})
        QTest::addRow("%d characters", n) << QString(n, u'p') << 105 << QString(n, u'p');
    QTest::newRow("64 characters") << QString(64, u'q') << 107 << QString(64, u'q');
    QTest::newRow("65 cut to 64") << QString(65, u'r') << 107 << QString(64, u'r');
    QTest::newRow("300 cut to 64") << QString(300, u's') << 107 << QString(64, u's');
    QTest::newRow("empty") << QString() << 0 << QString();
}

void TestPasswords::textLengths() {
    QFETCH(QString, password);
    QFETCH(int, textLength);
    QFETCH(QString, readBack);
    // Random salts and padding hardly ever hold a zero group, which Ascii85 would shorten.
    const QString text = EncodePassword(kKey, password);
    QCOMPARE(text.size(), textLength);
    QCOMPARE(DecodePassword(kKey, text), readBack);
    if (!password.isEmpty())
        QCOMPARE(decodeAscii85(text)->size(), textLength == 105 ? 84 : 85);
}

void TestPasswords::freshSaltAndPadding() {
    const QString password = QStringLiteral("s3cret");
    const QString first = EncodePassword(BuildStoreKey(), password);
    const QString second = EncodePassword(BuildStoreKey(), password);
    QVERIFY(first != second);
    QCOMPARE(DecodePassword(BuildStoreKey(), first), password);
    QCOMPARE(DecodePassword(BuildStoreKey(), second), password);
    QCOMPARE(BuildStoreKey().size(), 11);
}

void TestPasswords::utf8Cut_data() {
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("stored");
    const QString e = QStringLiteral("\u00e9");         // 2 bytes
    const QString euro = QStringLiteral("\u20ac");      // 3 bytes
    const QString smile = QStringLiteral("\U0001F600"); // 4 bytes, a surrogate pair
    QTest::newRow("two-byte fits") << e.repeated(32) << e.repeated(32);
    QTest::newRow("two-byte over") << e.repeated(40) << e.repeated(32);
    QTest::newRow("two-byte across the end") << ("a" + e.repeated(32)) << ("a" + e.repeated(31));
    QTest::newRow("three-byte") << euro.repeated(22) << euro.repeated(21);
    QTest::newRow("four-byte fits") << smile.repeated(16) << smile.repeated(16);
    QTest::newRow("four-byte across the end")
        << ("ab" + smile.repeated(16)) << ("ab" + smile.repeated(15));
    QTest::newRow("short mixed") << ("p" + e + euro + smile) << ("p" + e + euro + smile);
}

void TestPasswords::utf8Cut() {
    QFETCH(QString, password);
    QFETCH(QString, stored);
    QCOMPARE(QString::fromUtf8(passwordBytes(password, 64)), stored);
    QCOMPARE(DecodePassword(kKey, EncodePassword(kKey, password)), stored);
}

void TestPasswords::damagedText_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("key");
    const QString good = EncodePassword(kKey, QStringLiteral("hunter2"));
    QString flipped = good;
    flipped[50] = flipped[50] == u'A' ? u'B' : u'A';
    QString flippedSalt = good;
    flippedSalt[0] = flippedSalt[0] == u'A' ? u'B' : u'A';
    QTest::newRow("untouched, other key") << good << QByteArray("other key");
    QTest::newRow("data changed") << flipped << kKey;
    QTest::newRow("salt changed") << flippedSalt << kKey;
    QTest::newRow("cut short") << good.left(100) << kKey;
    QTest::newRow("character added") << (good + u'!') << kKey;
    QTest::newRow("not Ascii85") << QString(good).replace(10, 1, u'~') << kKey;
    QTest::newRow("shorter than header and code") << QStringLiteral("9jqo^") << kKey;
    QTest::newRow("plain words") << QStringLiteral("password") << kKey;
}

void TestPasswords::damagedText() {
    QFETCH(QString, text);
    QFETCH(QByteArray, key);
    QVERIFY(DecodePassword(kKey, EncodePassword(kKey, QStringLiteral("x"))) == "x");
    QCOMPARE(DecodePassword(key, text), QString());
}

void TestPasswords::modeByPassPhrase_data() {
    QTest::addColumn<int>("length");
    QTest::addColumn<int>("asked");
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("header");
    QTest::newRow("31 automatic") << 31 << 0 << 1 << 10;
    QTest::newRow("32 automatic") << 32 << 0 << 2 << 14;
    QTest::newRow("47 automatic") << 47 << 0 << 2 << 14;
    QTest::newRow("48 automatic") << 48 << 0 << 3 << 18;
    QTest::newRow("200 automatic") << 200 << 0 << 3 << 18;
    QTest::newRow("short, fixed 256") << 5 << 3 << 3 << 18;
    QTest::newRow("long, fixed 128") << 60 << 1 << 1 << 10;
    QTest::newRow("out of range chooses") << 40 << 7 << 2 << 14;
}

void TestPasswords::modeByPassPhrase() {
    QFETCH(int, length);
    QFETCH(int, asked);
    QFETCH(int, mode);
    QFETCH(int, header);
    TEncryption crypt(QByteArray(length, 'k'), 4096, asked);
    QCOMPARE(crypt.Mode(), mode);
    QCOMPARE(crypt.HeaderSize(), header);
    QByteArray out;
    QVERIFY(crypt.EncryptStream(QByteArray("abc"), out));
    QCOMPARE(out.size(), header + 3 + 10);
}

void TestPasswords::streamKnownAnswers_data() {
    QTest::addColumn<QByteArray>("passPhrase");
    QTest::addColumn<int>("plainLength");
    QTest::addColumn<int>("bufSize");
    QTest::newRow("empty data") << QByteArray("pw") << 0 << 4096;
    QTest::newRow("one byte") << QByteArray("pw") << 1 << 4096;
    QTest::newRow("one AES block") << QByteArray("pw") << 16 << 4096;
    QTest::newRow("into the second block") << QByteArray("pw") << 17 << 4096;
    QTest::newRow("one buffer") << QByteArray("pw") << 4096 << 4096;
    QTest::newRow("past one buffer") << QByteArray("pw") << 4097 << 4096;
    QTest::newRow("odd buffer keeps the counter") << QByteArray("pw") << 100 << 7;
    QTest::newRow("AES-192") << QByteArray(40, 'm') << 5000 << 4096;
    QTest::newRow("AES-256") << QByteArray(48, 'n') << 5000 << 4096;
    QTest::newRow("pass phrase cut to 128") << QByteArray(100, 'a').append(100, 'b') << 33 << 4096;
}

// The stream format against the independent model, over block and buffer boundaries.
void TestPasswords::streamKnownAnswers() {
    QFETCH(QByteArray, passPhrase);
    QFETCH(int, plainLength);
    QFETCH(int, bufSize);
    if (python().isEmpty())
        QSKIP("python3 is missing: scripts/setup installs it");
    const QByteArray plain = counting(plainLength, 3);
    TScriptedRandom random{counting(16, 101)};
    TEncryption crypt(passPhrase, bufSize, 0, random.source());
    const QByteArray salt = random.bytes.left(crypt.SaltSize());
    QByteArray out;
    QVERIFY(crypt.EncryptStream(plain, out));
    const QStringList answer = runModel(
        {QStringLiteral("encrypt %1 %2 %3")
             .arg(QString::fromLatin1(passPhrase.toHex()),
                  plain.isEmpty() ? QStringLiteral("-") : QString::fromLatin1(plain.toHex()),
                  QString::fromLatin1(salt.toHex()))});
    QCOMPARE(answer.size(), 1);
    QCOMPARE(QString::fromLatin1(out.toHex()), answer[0]);

    QByteArray back;
    TEncryption reader(passPhrase, bufSize, 0);
    QVERIFY(reader.DecryptStream(out, back));
    QCOMPARE(back, plain);
}

void TestPasswords::streamRefusals_data() {
    QTest::addColumn<int>("damageAt"); // from the end when negative; none when 0
    QTest::addColumn<QByteArray>("readWith");
    QTest::addColumn<int>("cut");
    QTest::newRow("wrong pass phrase") << 0 << QByteArray("other") << 0;
    QTest::newRow("verifier changed") << 8 << QByteArray("right") << 0;
    QTest::newRow("data changed") << 30 << QByteArray("right") << 0;
    QTest::newRow("code changed") << -1 << QByteArray("right") << 0;
    QTest::newRow("code cut") << 0 << QByteArray("right") << 4;
    QTest::newRow("only the salt") << 0 << QByteArray("right") << 32 + 10 + 10 - 8;
}

void TestPasswords::streamRefusals() {
    QFETCH(int, damageAt);
    QFETCH(QByteArray, readWith);
    QFETCH(int, cut);
    QByteArray stream;
    QVERIFY(TEncryption("right").EncryptStream(counting(32, 9), stream));
    QByteArray back;
    QVERIFY(TEncryption("right").DecryptStream(stream, back));
    QCOMPARE(back, counting(32, 9));
    if (damageAt)
        stream[damageAt > 0 ? damageAt : stream.size() + damageAt] ^= 0x10;
    stream.chop(cut);
    QVERIFY(!TEncryption(readWith).DecryptStream(stream, back));
    QVERIFY(back.isEmpty());
}

void TestPasswords::deviceErrors_data() {
    QTest::addColumn<bool>("encrypt");
    QTest::addColumn<int>("sourceMode");
    QTest::addColumn<int>("destMode");
    QTest::newRow("encrypt, source closed")
        << true << int(QIODevice::NotOpen) << int(QIODevice::WriteOnly);
    QTest::newRow("encrypt, dest read-only")
        << true << int(QIODevice::ReadOnly) << int(QIODevice::ReadOnly);
    QTest::newRow("decrypt, source closed")
        << false << int(QIODevice::NotOpen) << int(QIODevice::WriteOnly);
    QTest::newRow("decrypt, dest read-only")
        << false << int(QIODevice::ReadOnly) << int(QIODevice::ReadOnly);
}

void TestPasswords::deviceErrors() {
    QFETCH(bool, encrypt);
    QFETCH(int, sourceMode);
    QFETCH(int, destMode);
    QByteArray input = counting(5000, 1);
    if (!encrypt)
        QVERIFY(TEncryption("pw").EncryptStream(counting(5000, 1), input));
    QByteArray output;
    QBuffer source(&input);
    QBuffer dest(&output);
    if (sourceMode != QIODevice::NotOpen)
        QVERIFY(source.open(QIODevice::OpenMode(sourceMode)));
    QVERIFY(dest.open(QIODevice::OpenMode(destMode)));
    TEncryption crypt("pw");
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("QIODevice::"));
    QVERIFY(encrypt ? !crypt.EncryptStream(source, dest)
                    : !crypt.DecryptStream(source, dest, input.size()));
}

void TestPasswords::passwordKnownAnswers_data() {
    QTest::addColumn<QString>("password");
    QTest::addColumn<int>("paddedLength");
    QTest::addColumn<QByteArray>("key");
    QTest::newRow("one character") << "a" << 64 << kKey;
    QTest::newRow("word") << "correct horse" << 64 << kKey;
    QTest::newRow("62") << QString(62, u'x') << 64 << kKey;
    QTest::newRow("63, no padding") << QString(63, u'y') << 64 << kKey;
    QTest::newRow("64, partial group") << QString(64, u'z') << 64 << kKey;
    QTest::newRow("cut to 64") << QString(90, u'w') << 64 << kKey;
    QTest::newRow("UTF-8 cut") << QStringLiteral("\u00e9").repeated(40) << 64 << kKey;
    QTest::newRow("symbols") << "p@ss w0rd!\"'<>&" << 64 << kKey;
    QTest::newRow("store key") << "ftp-pass" << 64 << BuildStoreKey();
    QTest::newRow("AES-256 key") << "ftp-pass" << 64 << QByteArray(50, 'K');
    QTest::newRow("two-byte prefix") << QString(300, u'v') << 400 << kKey;
}

// The whole text against the independent model, with the same padding and salt.
void TestPasswords::passwordKnownAnswers() {
    QFETCH(QString, password);
    QFETCH(int, paddedLength);
    QFETCH(QByteArray, key);
    if (python().isEmpty())
        QSKIP("python3 is missing: scripts/setup installs it");
    TScriptedRandom random{counting(paddedLength + 16, 11)};
    const QString text = EncodePassword(key, password, paddedLength, random.source());
    QVERIFY(!text.isEmpty());
    const QStringList answer = runModel(
        {QStringLiteral("encode %1 %2 %3 %4")
             .arg(QString::fromLatin1(key.toHex()), QString::fromLatin1(password.toUtf8().toHex()),
                  QString::number(paddedLength), QString::fromLatin1(random.bytes.toHex()))});
    QCOMPARE(answer.size(), 1);
    QCOMPARE(text, answer[0]);
    QCOMPARE(DecodePassword(key, text), QString::fromUtf8(passwordBytes(password, paddedLength)));
}

// Texts made with the system's randomness read back in the model.
void TestPasswords::modelReadsOurTexts() {
    if (python().isEmpty())
        QSKIP("python3 is missing: scripts/setup installs it");
    const QStringList passwords = {QStringLiteral("a"), QStringLiteral("Zürich 2024"),
                                   QString(64, u'k')};
    QStringList requests;
    for (const QString& p : passwords)
        requests << QStringLiteral("decode %1 %2")
                        .arg(QString::fromLatin1(kKey.toHex()), EncodePassword(kKey, p));
    requests << QStringLiteral("decode %1 %2")
                    .arg(QString::fromLatin1(QByteArray("other").toHex()),
                         EncodePassword(kKey, QStringLiteral("a")));
    const QStringList answers = runModel(requests);
    QCOMPARE(answers.size(), passwords.size() + 1);
    for (qsizetype i = 0; i < passwords.size(); ++i)
        QCOMPARE(answers[i], QString::fromLatin1(passwords[i].toUtf8().toHex()));
    QCOMPARE(answers.last(), QStringLiteral("-"));
}

void TestPasswords::sevenZipEntries_data() {
    QTest::addColumn<QString>("method");
    QTest::addColumn<int>("strength");
    QTest::addColumn<int>("size");
    QTest::newRow("AES-128") << "AES128" << 1 << 10000;
    QTest::newRow("AES-192") << "AES192" << 2 << 100;
    QTest::newRow("AES-256") << "AES256" << 3 << 10000;
    QTest::newRow("AES-256, empty file") << "AES256" << 3 << 0;
}

// The same stream format from an independent implementation.
void TestPasswords::sevenZipEntries() {
    QFETCH(QString, method);
    QFETCH(int, strength);
    QFETCH(int, size);
    const QString sevenZip = QStandardPaths::findExecutable(QStringLiteral("7z"));
    if (sevenZip.isEmpty())
        QSKIP("7z is missing: scripts/setup installs p7zip-full");
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QByteArray content = counting(size, 5);
    QFile file(dir.filePath(QStringLiteral("page.html")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(content), qint64(size));
    file.close();
    QProcess proc;
    proc.setWorkingDirectory(dir.path());
    proc.start(sevenZip, {QStringLiteral("a"), QStringLiteral("-tzip"), QStringLiteral("-mm=Copy"),
                          QStringLiteral("-mem=") + method, QStringLiteral("-pSECRET"),
                          QStringLiteral("out.zip"), QStringLiteral("page.html")});
    QVERIFY(proc.waitForFinished(60000));
    QVERIFY2(proc.exitCode() == 0, proc.readAllStandardError().constData());

    QFile zip(dir.filePath(QStringLiteral("out.zip")));
    QVERIFY(zip.open(QIODevice::ReadOnly));
    const TZipAesEntry entry = readAesEntry(zip.readAll());
    QVERIFY2(entry.error.isEmpty(), qPrintable(entry.error));
    QCOMPARE(entry.strength, strength);
    QCOMPARE(entry.stream.size(), TCrypt::saltSize(strength) + 2 + size + 10);

    // Through a device, as a stream is read in the program.
    QByteArray enciphered = entry.stream;
    QBuffer source(&enciphered);
    QVERIFY(source.open(QIODevice::ReadOnly));
    QByteArray plain;
    QBuffer dest(&plain);
    QVERIFY(dest.open(QIODevice::WriteOnly));
    TEncryption crypt("SECRET", 4096, strength);
    QVERIFY(crypt.DecryptStream(source, dest, enciphered.size()));
    QCOMPARE(plain, content);

    QByteArray refused;
    QVERIFY(!TEncryption("SECRET!", 4096, strength).DecryptStream(entry.stream, refused));
    QVERIFY(!TEncryption("secret", 4096, strength).DecryptStream(entry.stream, refused));
    QVERIFY(refused.isEmpty());
}

QTEST_GUILESS_MAIN(TestPasswords)
#include "tst_passwords.moc"
