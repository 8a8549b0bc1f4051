#include "base/core/Errors.h"
#include "base/core/IniFileUtils.h"

#include "TestFiles.h"

#include <QDir>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>
#include <limits>
#include <sys/stat.h>

using namespace orvel;
using orvel::test::FileSizeLimit;
using orvel::test::readAll;
using orvel::test::writeAll;

namespace {

const QString kMissing = QStringLiteral("<missing>");

// Bytes of a literal, NULs included.
template <qsizetype N> QByteArray raw(const char (&s)[N]) {
    return QByteArray(s, N - 1);
}

QByteArray utf16le(const QString& text) {
    QStringEncoder encoder(QStringEncoder::Utf16LE);
    return raw("\xFF\xFE") + QByteArray(encoder(text));
}

QByteArray utf16be(const QString& text) {
    QStringEncoder encoder(QStringEncoder::Utf16BE);
    return raw("\xFE\xFF") + QByteArray(encoder(text));
}

QByteArray utf8bom(const QString& text) {
    return raw("\xEF\xBB\xBF") + text.toUtf8();
}

// The text of a file as the writer stores it; a null string when it is not UTF-16LE with mark.
QString writtenText(const QByteArray& bytes) {
    if (!bytes.startsWith(raw("\xFF\xFE")))
        return QString();
    QStringDecoder decoder(QStringDecoder::Utf16LE);
    return decoder(bytes.mid(2));
}

// Names in a folder, "/" after a folder and "|" after anything that is no regular file.
QStringList entries(const QString& folder) {
    QStringList names;
    const QFileInfoList infos = QDir(folder).entryInfoList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    for (const QFileInfo& info : infos)
        names << info.fileName() + (info.isDir() ? "/" : info.isFile() ? "" : "|");
    return names;
}

// Every section with its keys and values, as "[section]" and "key=value" lines.
QStringList dump(const TUnicodeIniFile& ini) {
    QStringList lines;
    for (const QString& section : ini.Sections()) {
        lines << u'[' + section + u']';
        for (const QString& key : ini.SectionKeys(section))
            lines << key + u'=' + ini.ReadString(section, key, kMissing);
    }
    return lines;
}

} // namespace

class TestIniFile : public QObject {
    Q_OBJECT
private slots:
    void lineFormat_data();
    void lineFormat();
    void numbers_data();
    void numbers();
    void writtenForms();
    void encodings_data();
    void encodings();
    void readModifyWrite();
    void changeTracking_data();
    void changeTracking();
    void eraseAndDelete();
    void hostileNames_data();
    void hostileNames();
    void readList_data();
    void readList();
    void writeList_data();
    void writeList();
    void listRoundTrip();
    void paddedKeys_data();
    void paddedKeys();
    void movedObjectWritesItsOwnFile();
    void randomBytesSurvive();
    void pathological_data();
    void pathological();
    void hugeLine();
    void manySections();
    void failedWriteKeepsOldFile_data();
    void failedWriteKeepsOldFile();
    void droppedChangesWriteNothing();
};

void TestIniFile::lineFormat_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("expected"); // kMissing: the default comes back
    const auto row = [](const char* name, const QString& text, const QString& section,
                        const QString& key, const QString& expected) {
        QTest::newRow(name) << text << section << key << expected;
    };

    row("plain", "[s]\nk=v", "s", "k", "v");
    row("blanks around the =", "[s]\n  k  =  v w  \n", "s", "k", "v w");
    row("tabs are blanks", "[s]\n\tk\t=\tv\t", "s", "k", "v");
    row("no-break space is kept", "[s]\nk=\u00A0v", "s", "k", "\u00A0v");
    row("first = separates", "[s]\nk=a=b", "s", "k", "a=b");
    row("quotes kept", "[s]\nk=\"x\"", "s", "k", "\"x\"");
    row("empty value exists", "[s]\nk=", "s", "k", "");
    row("empty key", "[s]\n=v", "s", "", "v");
    row("names without case", "[Config]\nStdPath=x", "CONFIG", "stdpath", "x");
    row("non-ASCII names without case", "[Ärger]\nÖl=1", "äRGER", "öL", "1");
    row("names trimmed on lookup", "[s]\nk=v", " s ", "\tk", "v");
    row("section name trimmed", "[  s  ]\nk=v", "s", "k", "v");
    row("header with blanks around", "   [s]   \nk=v", "s", "k", "v");
    row("comment", "[s]\n;k=v", "s", "k", kMissing);
    row("indented comment", "[s]\n  ;k=v", "s", "k", kMissing);
    row("key before any section", "k=v\n[s]", "s", "k", kMissing);
    row("line without =", "[s]\nk\nk=v", "s", "k", "v");
    row("unclosed header is no section", "[s]\n[t\nk=v", "s", "k", "v");
    row("header wins over =", "[s]\n[a=b]\nk=v", "a=b", "k", "v");
    row("CR breaks", "[s]\rk=v\rj=w", "s", "j", "w");
    row("CR LF breaks", "[s]\r\nk=v\r\nj=w\r\n", "s", "j", "w");
    row("LF CR is two breaks", "[s]\n\rk=v", "s", "k", "v");
    row("repeated section merged", "[a]\nk=1\n[b]\n[A]\nj=2", "a", "j", "2");
    row("first of a repeated key", "[s]\nk=1\nK=2", "s", "k", "1");
    row("missing section", "[s]\nk=v", "t", "k", kMissing);
    row("missing key", "[s]\nk=v", "s", "j", kMissing);

    // Long sections are looked up another way than short ones.
    QString longSection = "[s]\n";
    for (int i = 0; i < 40; ++i)
        longSection += QStringLiteral("Key%1=%1\n").arg(i);
    row("long, first", longSection, "S", "KEY0", "0");
    row("long, last", longSection, "s", "key39", "39");
    row("long, missing", longSection, "s", "key40", kMissing);
    row("long, non-ASCII without case", longSection + "Öl=1\nöL=2", "s", " ÖL ", "1");
}

void TestIniFile::lineFormat() {
    QFETCH(QString, text);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, expected);
    const TUnicodeIniFile ini = TUnicodeIniFile::FromBytes(utf8bom(text));
    QCOMPARE(ini.ReadString(section, key, kMissing), expected);
    QCOMPARE(ini.ValueExists(section, key), expected != kMissing);
}

void TestIniFile::numbers_data() {
    QTest::addColumn<QString>("value");
    QTest::addColumn<int>("integer");      // read with default 77
    QTest::addColumn<qint64>("integer64"); // read with default 77
    QTest::addColumn<int>("boolean");      // -1: the default

    constexpr int i32min = std::numeric_limits<int>::min();
    constexpr int i32max = std::numeric_limits<int>::max();
    constexpr qint64 i64min = std::numeric_limits<qint64>::min();
    constexpr qint64 i64max = std::numeric_limits<qint64>::max();
    QTest::newRow("decimal") << "12" << 12 << qint64(12) << 1;
    QTest::newRow("negative") << "-12" << -12 << qint64(-12) << 1;
    QTest::newRow("plus sign") << "+7" << 7 << qint64(7) << 1;
    QTest::newRow("zero") << "0" << 0 << qint64(0) << 0;
    QTest::newRow("leading zeros") << "0012" << 12 << qint64(12) << 1;
    QTest::newRow("blanks trimmed") << "\t42 " << 42 << qint64(42) << 1;
    QTest::newRow("$ hex") << "$FF" << 255 << qint64(255) << 1;
    QTest::newRow("$ hex lower case") << "$ff" << 255 << qint64(255) << 1;
    QTest::newRow("0x hex") << "0x1F" << 31 << qint64(31) << 1;
    QTest::newRow("0X hex") << "0X1f" << 31 << qint64(31) << 1;
    QTest::newRow("hex zero") << "$0" << 0 << qint64(0) << 0;
    QTest::newRow("32-bit pattern") << "$FFFFFFFF" << -1 << qint64(0xFFFFFFFF) << 1;
    QTest::newRow("32-bit sign bit") << "$80000000" << i32min << qint64(0x80000000) << 1;
    QTest::newRow("beyond 32 bits") << "$100000000" << 77 << qint64(0x100000000) << -1;
    QTest::newRow("64-bit pattern") << "0xFFFFFFFFFFFFFFFF" << 77 << qint64(-1) << -1;
    QTest::newRow("beyond 64 bits") << "0x10000000000000000" << 77 << qint64(77) << -1;
    QTest::newRow("long hex with zeros") << "$0000000000000000FF" << 255 << qint64(255) << 1;
    QTest::newRow("largest int") << "2147483647" << i32max << qint64(i32max) << 1;
    QTest::newRow("int overflow") << "2147483648" << 77 << qint64(2147483648) << -1;
    QTest::newRow("smallest int") << "-2147483648" << i32min << qint64(i32min) << 1;
    QTest::newRow("int underflow") << "-2147483649" << 77 << qint64(-2147483649) << -1;
    QTest::newRow("largest int64") << "9223372036854775807" << 77 << i64max << -1;
    QTest::newRow("int64 overflow") << "9223372036854775808" << 77 << qint64(77) << -1;
    QTest::newRow("smallest int64") << "-9223372036854775808" << 77 << i64min << -1;
    QTest::newRow("int64 underflow") << "-9223372036854775809" << 77 << qint64(77) << -1;
    QTest::newRow("empty") << "" << 77 << qint64(77) << -1;
    QTest::newRow("trailing letters") << "12abc" << 77 << qint64(77) << -1;
    QTest::newRow("inner blank") << "1 2" << 77 << qint64(77) << -1;
    QTest::newRow("fraction") << "1.5" << 77 << qint64(77) << -1;
    QTest::newRow("word") << "true" << 77 << qint64(77) << -1;
    QTest::newRow("sign alone") << "-" << 77 << qint64(77) << -1;
    QTest::newRow("$ alone") << "$" << 77 << qint64(77) << -1;
    QTest::newRow("0x alone") << "0x" << 77 << qint64(77) << -1;
    QTest::newRow("signed hex") << "-$FF" << 77 << qint64(77) << -1;
    QTest::newRow("bad hex digit") << "$FG" << 77 << qint64(77) << -1;
    QTest::newRow("other digits") << "١٢" << 77 << qint64(77) << -1;
}

void TestIniFile::numbers() {
    QFETCH(QString, value);
    QFETCH(int, integer);
    QFETCH(qint64, integer64);
    QFETCH(int, boolean);
    const TUnicodeIniFile ini = TUnicodeIniFile::FromBytes(utf8bom("[s]\r\nk=" + value));
    QCOMPARE(ini.ReadInteger("s", "k", 77), integer);
    QCOMPARE(ini.ReadInt64("s", "k", 77), integer64);
    QCOMPARE(ini.ReadBool("s", "k", false), boolean == -1 ? false : boolean == 1);
    QCOMPARE(ini.ReadBool("s", "k", true), boolean == -1 ? true : boolean == 1);
    qint64 parsed = 5;
    QCOMPARE(parseIniInteger(value, parsed), integer64 != 77);
}

void TestIniFile::writtenForms() {
    TUnicodeIniFile ini = TUnicodeIniFile::FromBytes(QByteArray());
    ini.WriteInteger("n", "int", -5);
    ini.WriteInteger("n", "max", std::numeric_limits<int>::max());
    ini.WriteBool("n", "yes", true);
    ini.WriteBool("n", "no", false);
    ini.WriteInt64("n", "big", std::numeric_limits<qint64>::min());
    ini.WriteProgramInfo("Version", "1.2");
    QCOMPARE(writtenText(ini.toBytes()), QStringLiteral("[n]\r\nint=-5\r\nmax=2147483647\r\n"
                                                        "yes=1\r\nno=0\r\n"
                                                        "big=-9223372036854775808\r\n\r\n"
                                                        "[Unicode]\r\nVersion=1.2\r\n\r\n"));
    const TUnicodeIniFile back = TUnicodeIniFile::FromBytes(ini.toBytes());
    QCOMPARE(back.ReadInteger("n", "int", 0), -5);
    QCOMPARE(back.ReadBool("n", "yes", false), true);
    QCOMPARE(back.ReadBool("n", "no", true), false);
    QCOMPARE(back.ReadInt64("n", "big", 0), std::numeric_limits<qint64>::min());
}

void TestIniFile::encodings_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("expected"); // value of s/k

    QTest::newRow("8-bit Windows-1252")
        << raw("[s]\r\nk=\xE4\x80\x81\x9F\xFF") << QStringLiteral("ä€\u0081Ÿÿ");
    QTest::newRow("UTF-8 without mark is 8-bit")
        << raw("[s]\r\nk=\xC3\xA4") << QStringLiteral("Ã¤");
    QTest::newRow("UTF-8 with mark") << utf8bom("[s]\nk=ä€😀") << QStringLiteral("ä€😀");
    QTest::newRow("UTF-16LE with mark") << utf16le("[s]\rk=ä€😀") << QStringLiteral("ä€😀");
    QTest::newRow("UTF-16BE with mark") << utf16be("[s]\r\nk=ä€😀") << QStringLiteral("ä€😀");
    QTest::newRow("UTF-16LE, odd byte count")
        << utf16le("[s]\r\nk=ä€") + raw("\x41") << QStringLiteral("ä€");
    QTest::newRow("UTF-16BE, odd byte count")
        << utf16be("[s]\r\nk=ä€") + raw("\x00") << QStringLiteral("ä€");
    QTest::newRow("UTF-16 value cut mid-pair")
        << utf16le("[s]\r\nk=a😀").chopped(2) << QStringLiteral("a\xD83D");
    QTest::newRow("mark alone") << raw("\xFF\xFE") << kMissing;
    QTest::newRow("empty") << QByteArray() << kMissing;
}

void TestIniFile::encodings() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, expected);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString name = dir.filePath("settings.ini");
    writeAll(name, bytes);
    const TUnicodeIniFile ini = TUnicodeIniFile::CreateForRead(name);
    QCOMPARE(ini.ReadString("s", "k", kMissing), expected);
    // Written back, the text survives in UTF-16LE.
    const TUnicodeIniFile back = TUnicodeIniFile::FromBytes(ini.toBytes());
    QCOMPARE(back.ReadString("s", "k", kMissing), expected);
}

// A file edited by hand in 8-bit text: unknown and repeated entries keep their order and
// spelling, comments and stray lines go, the result is UTF-16LE with the marker.
void TestIniFile::readModifyWrite() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString name = dir.filePath("settings.ini");
    writeAll(name, raw("; settings by hand\r\n"
                       "stray=before any section\r\n"
                       "[Config]\r\n"
                       "StdPath = /home/u/web/\r\n"
                       "Unknown=keep \xE4\x80 \"as is\"\r\n"
                       "\r\n"
                       "[Form]\n"
                       "Left=10\n"
                       "no equals sign\n"
                       "[Extra]\r"
                       "A=1\r"
                       "a=2\r"
                       "[config]\r\n"
                       "Later=3\r\n"));
    TUnicodeIniFile ini = TUnicodeIniFile::CreateForWrite(name);
    ini.WriteString("CONFIG", "stdpath", "/srv/www/");
    ini.WriteInteger("form", "Top", 20);
    ini.WriteString("extra", "A", "one");
    ini.WriteString("New", "K", "v");
    QVERIFY(ini.UpdateFile().ok());
    QCOMPARE(writtenText(readAll(name)), QStringLiteral("[Config]\r\n"
                                                        "StdPath=/srv/www/\r\n"
                                                        "Unknown=keep ä€ \"as is\"\r\n"
                                                        "Later=3\r\n"
                                                        "\r\n"
                                                        "[Form]\r\n"
                                                        "Left=10\r\n"
                                                        "Top=20\r\n"
                                                        "\r\n"
                                                        "[Extra]\r\n"
                                                        "A=one\r\n"
                                                        "a=2\r\n"
                                                        "\r\n"
                                                        "[Unicode]\r\n"
                                                        "Encoding=UTF-16LE\r\n"
                                                        "\r\n"
                                                        "[New]\r\n"
                                                        "K=v\r\n"
                                                        "\r\n"));
    QCOMPARE(TUnicodeIniFile::CreateForRead(name).ReadString("Config", "Unknown", kMissing),
             QStringLiteral("keep ä€ \"as is\""));
}

void TestIniFile::changeTracking_data() {
    QTest::addColumn<QByteArray>("initial"); // null: no file
    QTest::addColumn<bool>("forWrite");
    QTest::addColumn<QString>("change");
    QTest::addColumn<bool>("rewritten");
    QTest::addColumn<QString>("left"); // Form/Left in the rewritten file

    const QByteArray marked =
        utf16le("; kept while nothing changes\r\n[Unicode]\r\nEncoding = UTF-16LE\r\n"
                "[Form]\r\nLeft = 10\r\n[Empty]\r\n");
    const QByteArray unmarked = raw("[Form]\r\nLeft=10\r\n");
    QTest::newRow("marked, untouched") << marked << true << "" << false << "";
    QTest::newRow("marked, same value") << marked << true << "same" << false << "";
    QTest::newRow("marked, same value other case") << marked << true << "case" << false << "";
    QTest::newRow("marked, same value with blanks") << marked << true << "blanks" << false << "";
    QTest::newRow("marked, missing section erased")
        << marked << true << "erase missing" << false << "";
    QTest::newRow("marked, empty section emptied")
        << marked << true << "empty empty" << false << "";
    QTest::newRow("marked, missing key deleted")
        << marked << true << "delete missing" << false << "";
    QTest::newRow("marked, value changed") << marked << true << "change" << true << "11";
    QTest::newRow("marked, key added") << marked << true << "add" << true << "10";
    QTest::newRow("marked, key deleted") << marked << true << "delete" << true << kMissing;
    QTest::newRow("marked, section erased") << marked << true << "erase" << true << kMissing;
    QTest::newRow("marker names UTF-8")
        << utf16le("[Unicode]\r\nEncoding=UTF-8\r\n") << true << "" << true << kMissing;
    QTest::newRow("8-bit without marker, untouched") << unmarked << true << "" << true << "10";
    QTest::newRow("no file") << QByteArray() << true << "" << true << kMissing;
    QTest::newRow("read only, changed") << unmarked << false << "change" << false << "";
    QTest::newRow("read only, no file") << QByteArray() << false << "change" << false << "";
}

void TestIniFile::changeTracking() {
    QFETCH(QByteArray, initial);
    QFETCH(bool, forWrite);
    QFETCH(QString, change);
    QFETCH(bool, rewritten);
    QFETCH(QString, left);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString name = dir.filePath("settings.ini");
    if (!initial.isNull())
        writeAll(name, initial);
    {
        TUnicodeIniFile ini =
            forWrite ? TUnicodeIniFile::CreateForWrite(name) : TUnicodeIniFile::CreateForRead(name);
        if (change == "same")
            ini.WriteInteger("Form", "Left", 10);
        else if (change == "case")
            ini.WriteString("FORM", "left", "10");
        else if (change == "blanks")
            ini.WriteString("Form", " Left ", " 10\t");
        else if (change == "erase missing")
            ini.EraseSection("Nowhere");
        else if (change == "empty empty")
            ini.EraseSectionValues("Empty");
        else if (change == "delete missing")
            ini.DeleteKey("Form", "Right");
        else if (change == "change")
            ini.WriteInteger("Form", "Left", 11);
        else if (change == "add")
            ini.WriteInteger("Form", "Top", 5);
        else if (change == "delete")
            ini.DeleteKey("Form", "Left");
        else if (change == "erase")
            ini.EraseSection("Form");
        else
            QVERIFY(change.isEmpty());
        QVERIFY(ini.UpdateFile().ok());
    }
    const QByteArray now = readAll(name);
    if (!rewritten) {
        QCOMPARE(now, initial.isNull() ? QByteArray() : initial);
        QCOMPARE(QFileInfo::exists(name), !initial.isNull());
        return;
    }
    const QString text = writtenText(now);
    QVERIFY2(!text.isNull(), now.left(40).toHex(' ').constData());
    QVERIFY(!text.contains(u';'));
    const TUnicodeIniFile back = TUnicodeIniFile::FromBytes(now);
    QCOMPARE(back.ReadString("Unicode", "Encoding", kMissing), QStringLiteral("UTF-16LE"));
    QCOMPARE(back.ReadString("Form", "Left", kMissing), left);
    QCOMPARE(back.ReadInteger("Form", "Top", 0), change == "add" ? 5 : 0);
}

void TestIniFile::eraseAndDelete() {
    TUnicodeIniFile ini =
        TUnicodeIniFile::FromBytes(utf8bom("[a]\nk=1\nj=2\nK=3\n[b]\nx=1\n[c]\ny=2\n"));
    ini.DeleteKey("a", "k"); // every copy of the key
    QCOMPARE(dump(ini), QStringList({"[a]", "j=2", "[b]", "x=1", "[c]", "y=2"}));

    for (int i = 0; i < 40; ++i)
        ini.WriteInteger("long", QStringLiteral("Key%1").arg(i), i);
    ini.DeleteKey("LONG", "key5");
    QVERIFY(!ini.ValueExists("long", "Key5"));
    QCOMPARE(ini.ReadInteger("long", "KEY39", -1), 39);
    QCOMPARE(ini.ReadInteger("long", "Key6", -1), 6);
    ini.WriteInteger("long", "key5", 55); // appended at the end again
    QCOMPARE(ini.SectionKeys("long").last(), "key5");
    for (int i = 6; i < 36; ++i)
        ini.DeleteKey("long", QStringLiteral("Key%1").arg(i));
    QCOMPARE(ini.SectionKeys("long").size(), 10); // short again
    QCOMPARE(ini.ReadInteger("long", "KEY39", -1), 39);
    QCOMPARE(ini.ReadInteger("long", "KEY5", -1), 55);
    ini.EraseSection("long");

    ini.EraseSectionValues("B");
    QVERIFY(ini.SectionExists("b"));
    QVERIFY(!ini.ValueExists("b", "x"));
    ini.EraseSection("A");
    QVERIFY(!ini.SectionExists("a"));
    // A section written again after erasing goes to the end.
    ini.WriteString("a", "k", "new");
    QCOMPARE(dump(ini), QStringList({"[b]", "[c]", "y=2", "[a]", "k=new"}));
    QCOMPARE(writtenText(ini.toBytes()),
             QStringLiteral("[b]\r\n\r\n[c]\r\ny=2\r\n\r\n[a]\r\nk=new\r\n\r\n"));
}

void TestIniFile::hostileNames_data() {
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QStringList>("expected"); // empty: nothing written
    const auto row = [](const char* name, const QString& section, const QString& key,
                        const QString& value, const QStringList& expected) {
        QTest::newRow(name) << section << key << value << expected;
    };
    const QStringList none;

    row("plain", "s", "k", "v", {"[s]", "k=v"});
    row("names and value trimmed", " s ", "\tk ", " v\t", {"[s]", "k=v"});
    row("value with CR LF", "s", "k", "v\r\nevil=1", {"[s]", "k=v"});
    row("value with LF", "s", "k", "v\n[evil]", {"[s]", "k=v"});
    row("value with CR", "s", "k", "v\revil=1", {"[s]", "k=v"});
    row("value with U+2028", "s", "k", "v\u2028x", {"[s]", "k=v"});
    row("value with U+2029", "s", "k", "v\u2029x", {"[s]", "k=v"});
    row("value that is a break", "s", "k", "\n", {"[s]", "k="});
    row("value with = and ]", "s", "k", "a=]", {"[s]", "k=a=]"});
    row("key with =", "s", "a=b", "v", none);
    row("key with LF", "s", "a\nb", "v", none);
    row("key with CR LF header", "s", "a\r\n[evil]\r\nb", "v", none);
    row("key with U+2028", "s", "a\u2028b", "v", none);
    row("key like a header", "s", "[evil", "v]", none);
    row("key like a comment", "s", ";k", "v", none);
    row("key with ] and [ inside", "s", "a[1]", "v", {"[s]", "a[1]=v"});
    row("section with LF", "s\n[evil]", "k", "v", none);
    row("section with CR", "s\rt", "k", "v", none);
    row("section with U+2029", "s\u2029t", "k", "v", none);
    row("section with ]", "x]y", "k", "v", {"[x]y]", "k=v"});
    row("section with [", "[x", "k", "v", {"[[x]", "k=v"});
    row("section with =", "a=b", "k", "v", {"[a=b]", "k=v"});
    row("section starting ;", ";s", "k", "v", {"[;s]", "k=v"});
    row("empty names", "", "", "v", {"[]", "=v"});
}

// Whatever the names, the file reads back exactly what memory holds: nothing more.
void TestIniFile::hostileNames() {
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, value);
    QFETCH(QStringList, expected);
    TUnicodeIniFile ini = TUnicodeIniFile::FromBytes(utf8bom("[keep]\r\nk=1\r\n"));
    ini.WriteString(section, key, value);
    const QStringList before{"[keep]", "k=1"};
    QCOMPARE(dump(ini), before + expected);
    QCOMPARE(dump(TUnicodeIniFile::FromBytes(ini.toBytes())), before + expected);
}

void TestIniFile::readList_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("prefix");
    QTest::addColumn<bool>("marks");
    QTest::addColumn<int>("capacity");
    QTest::addColumn<QStringList>("expected"); // the list held {"old"} before

    QTest::newRow("in order") << "[H]\nHistory0=a\nHistory1=b"
                              << "" << false << 15 << QStringList{"a", "b"};
    QTest::newRow("key order does not matter") << "[H]\nHistory1=b\nHistory0=a"
                                               << "" << false << 15 << QStringList{"a", "b"};
    QTest::newRow("a gap does not end the list")
        << "[H]\nHistory0=a\nHistory2=c\nHistory3=\nHistory4=e"
        << "" << false << 15 << QStringList{"a", "c", "e"};
    QTest::newRow("capacity") << "[H]\nHistory0=a\nHistory1=b\nHistory2=c"
                              << "" << false << 2 << QStringList{"a", "b"};
    QTest::newRow("zero capacity") << "[H]\nHistory0=a"
                                   << "" << false << 0 << QStringList();
    QTest::newRow("duplicates skipped") << "[H]\nHistory0=a\nHistory1=b\nHistory2=a"
                                        << "" << false << 15 << QStringList{"a", "b"};
    QTest::newRow("case counts") << "[H]\nHistory0=/x/File\nHistory1=/x/file"
                                 << "" << false << 15 << QStringList{"/x/File", "/x/file"};
    QTest::newRow("key names without case") << "[h]\nhistory0=a\nHISTORY1=b"
                                            << "History" << false << 15 << QStringList{"a", "b"};
    QTest::newRow("no leading zeros") << "[H]\nHistory00=a\nHistory1=b"
                                      << "" << false << 15 << QStringList{"b"};
    QTest::newRow("other prefix") << "[H]\nName0=n\nAddress0=a\nHistory0=h"
                                  << "Address" << false << 15 << QStringList{"a"};
    QTest::newRow("marks") << "[H]\nHistory0=say #hi#"
                           << "" << true << 15 << QStringList{"say \"hi\""};
    QTest::newRow("no marks") << "[H]\nHistory0=say #hi#"
                              << "" << false << 15 << QStringList{"say #hi#"};
    QTest::newRow("duplicate after marks") << "[H]\nHistory0=#x#\nHistory1=\"x\""
                                           << "" << true << 15 << QStringList{"\"x\""};
    QTest::newRow("existing empty section empties") << "[H]\nOther=1"
                                                    << "" << false << 15 << QStringList();
    QTest::newRow("missing section keeps the list") << "[Elsewhere]\nHistory0=a"
                                                    << "" << false << 15 << QStringList{"old"};
}

void TestIniFile::readList() {
    QFETCH(QString, text);
    QFETCH(QString, prefix);
    QFETCH(bool, marks);
    QFETCH(int, capacity);
    QFETCH(QStringList, expected);
    const TUnicodeIniFile ini = TUnicodeIniFile::FromBytes(utf8bom(text));
    QStringList list{"old"};
    ReadIniList(ini, "H", prefix, marks, capacity, list);
    QCOMPARE(list, expected);
}

void TestIniFile::writeList_data() {
    QTest::addColumn<QStringList>("list");
    QTest::addColumn<QString>("prefix");
    QTest::addColumn<bool>("marks");
    QTest::addColumn<int>("capacity");
    QTest::addColumn<bool>("erase");
    QTest::addColumn<QStringList>("expected"); // dump of the whole file afterwards

    // Before: [H] History0=old, History5=old5, Other=1; then [After] x=1.
    QTest::newRow("erase first") << QStringList{"a", "b"} << "" << false << 15 << true
                                 << QStringList{"[After]", "x=1", "[H]", "History0=a",
                                                "History1=b"};
    QTest::newRow("keep the rest")
        << QStringList{"a", "b"} << "" << false << 15 << false
        << QStringList{"[H]",     "History0=a", "History5=old5", "Other=1", "History1=b",
                       "[After]", "x=1"};
    QTest::newRow("capacity") << QStringList{"a", "b", "c"} << "" << false << 2 << true
                              << QStringList{"[After]", "x=1", "[H]", "History0=a", "History1=b"};
    QTest::newRow("marks") << QStringList{"say \"hi\""} << "" << true << 15 << true
                           << QStringList{"[After]", "x=1", "[H]", "History0=say #hi#"};
    QTest::newRow("no marks") << QStringList{"say \"hi\""} << "" << false << 15 << true
                              << QStringList{"[After]", "x=1", "[H]", "History0=say \"hi\""};
    QTest::newRow("other prefix") << QStringList{"n"} << "Name" << false << 15 << false
                                  << QStringList{"[H]",     "History0=old", "History5=old5",
                                                 "Other=1", "Name0=n",      "[After]",
                                                 "x=1"};
    QTest::newRow("empty list, erased")
        << QStringList() << "" << false << 15 << true << QStringList{"[After]", "x=1"};
    QTest::newRow("values with breaks")
        << QStringList{"a\r\nHistory9=evil"} << "" << false << 15 << true
        << QStringList{"[After]", "x=1", "[H]", "History0=a"};
}

void TestIniFile::writeList() {
    QFETCH(QStringList, list);
    QFETCH(QString, prefix);
    QFETCH(bool, marks);
    QFETCH(int, capacity);
    QFETCH(bool, erase);
    QFETCH(QStringList, expected);
    TUnicodeIniFile ini = TUnicodeIniFile::FromBytes(
        utf8bom("[H]\nHistory0=old\nHistory5=old5\nOther=1\n[After]\nx=1"));
    WriteIniList(ini, "H", prefix, marks, capacity, list, erase);
    QCOMPARE(dump(ini), expected);
    QCOMPARE(dump(TUnicodeIniFile::FromBytes(ini.toBytes())), expected);
}

void TestIniFile::listRoundTrip() {
    const QStringList list{"<a href=\"x\">", "plain", "/folder/", "ä€"};
    TUnicodeIniFile ini = TUnicodeIniFile::FromBytes(QByteArray());
    WriteIniList(ini, "UrlList", "", true, 20, list, true);
    QStringList back;
    ReadIniList(TUnicodeIniFile::FromBytes(ini.toBytes()), "urllist", "", true, 20, back);
    QCOMPARE(back, list);
}

void TestIniFile::paddedKeys_data() {
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("expected");
    QTest::newRow("0") << 0 << "Name00";
    QTest::newRow("7") << 7 << "Name07";
    QTest::newRow("42") << 42 << "Name42";
    QTest::newRow("99") << 99 << "Name99";
    QTest::newRow("100") << 100 << "Name100";
}

void TestIniFile::paddedKeys() {
    QFETCH(int, index);
    QFETCH(QString, expected);
    QCOMPARE(paddedKey("Name", index), expected);
}

void TestIniFile::movedObjectWritesItsOwnFile() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString first = dir.filePath("first.ini");
    const QString second = dir.filePath("second.ini");
    TUnicodeIniFile ini = TUnicodeIniFile::CreateForWrite(first);
    ini.WriteString("s", "k", "1");
    {
        TUnicodeIniFile moved = std::move(ini);
        ini = TUnicodeIniFile::CreateForWrite(second, true);
        ini.WriteString("s", "k", "2");
        QVERIFY(moved.UpdateFile().ok());
    }
    QVERIFY(ini.UpdateFile().ok());
    QCOMPARE(TUnicodeIniFile::CreateForRead(first).ReadString("s", "k", kMissing), "1");
    QCOMPARE(TUnicodeIniFile::CreateForRead(second).ReadString("s", "k", kMissing), "2");
}

// The reader takes any bytes; what it writes reads back the same.
void TestIniFile::randomBytesSurvive() {
    QRandomGenerator random(20240611);
    const QByteArray structural = raw("[]=; \t\r\n\0abAB\x80\xC3\xA4\xFF\xFE\xD8\xDC");
    const QList<QByteArray> marks{QByteArray(), raw("\xEF\xBB\xBF"), raw("\xFF\xFE"),
                                  raw("\xFE\xFF")};
    for (int round = 0; round < 400; ++round) {
        const int size = round % 50 == 0 ? random.bounded(65536) : random.bounded(2048);
        QByteArray bytes = marks.at(round % marks.size());
        for (int i = 0; i < size; ++i)
            bytes += round % 2 ? char(random.bounded(256))
                               : structural.at(random.bounded(int(structural.size())));
        const TUnicodeIniFile ini = TUnicodeIniFile::FromBytes(bytes);
        const QByteArray written = ini.toBytes();
        const TUnicodeIniFile back = TUnicodeIniFile::FromBytes(written);
        QVERIFY2(dump(back) == dump(ini), qPrintable(QString::number(round)));
        QVERIFY2(back.toBytes() == written, qPrintable(QString::number(round)));
    }
}

void TestIniFile::pathological_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("sections");
    QTest::addColumn<int>("valueLength"); // length of s/k, -1: missing

    const int mb = 1 << 20;
    QTest::newRow("only [") << QByteArray(mb, '[') << 0 << -1;
    QTest::newRow("only =") << QByteArray(mb, '=') << 0 << -1;
    QTest::newRow("only ]") << QByteArray(mb, ']') << 0 << -1;
    QTest::newRow("[ and ] only") << "[" + QByteArray(mb, ']') << 1 << -1;
    QTest::newRow("section, then only =") << "[s]\n" + QByteArray(mb, '=') << 1 << -1;
    QTest::newRow("section, then key and only =") << "[s]\nk" + QByteArray(mb, '=') << 1 << mb - 1;
    QTest::newRow("only breaks") << QByteArray(mb, '\r') << 0 << -1;
    QTest::newRow("only NUL") << QByteArray(mb, '\0') << 0 << -1;
    QTest::newRow("NUL around names") << raw("[s]\r\n\0k\0=\0v\0\r\n") << 1 << 1;
    QTest::newRow("NUL inside a value") << raw("[s]\r\nk=a\0b\r\n") << 1 << 3;
    QTest::newRow("UTF-16 of NUL") << raw("\xFF\xFE") + QByteArray(mb, '\0') << 0 << -1;
    QTest::newRow("half a million empty headers")
        << QByteArray(mb / 2, '\n').replace("\n", "[]\n") << 1 << -1;
}

void TestIniFile::pathological() {
    QFETCH(QByteArray, bytes);
    QFETCH(int, sections);
    QFETCH(int, valueLength);
    const TUnicodeIniFile ini = TUnicodeIniFile::FromBytes(bytes);
    QCOMPARE(ini.Sections().size(), sections);
    const QString value = ini.ReadString("s", "k", QString());
    QCOMPARE(value.isNull() ? -1 : int(value.size()), valueLength);
    QCOMPARE(dump(TUnicodeIniFile::FromBytes(ini.toBytes())), dump(ini));
}

void TestIniFile::hugeLine() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString name = dir.filePath("settings.ini");
    const qsizetype length = 50 << 20;
    {
        QByteArray bytes = "[s]\r\nk=";
        bytes += QByteArray(length, 'x');
        writeAll(name, bytes);
    }
    const TUnicodeIniFile ini = TUnicodeIniFile::CreateForRead(name);
    const QString value = ini.ReadString("s", "k", QString());
    QCOMPARE(value.size(), length);
    QVERIFY(value.startsWith(u'x') && value.endsWith(u'x'));
}

void TestIniFile::manySections() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString name = dir.filePath("settings.ini");
    const int count = 100000;
    QString text;
    QStringList names;
    for (int i = 0; i < count; ++i) {
        names << QStringLiteral("Section%1").arg(i);
        text += QStringLiteral("[Section%1]\r\nKey=%1\r\nOther=x\r\n").arg(i);
    }
    writeAll(name, utf16le(text));
    {
        TUnicodeIniFile ini = TUnicodeIniFile::CreateForWrite(name);
        QCOMPARE(ini.Sections(), names + QStringList{"Unicode"});
        QCOMPARE(ini.ReadInteger("section54321", "key", -1), 54321);
        ini.WriteString("Section50000", "Key", "changed");
        ini.WriteString("Section99999", "New", "added");
        QVERIFY(ini.UpdateFile().ok());
    }
    const TUnicodeIniFile back = TUnicodeIniFile::CreateForRead(name);
    QCOMPARE(back.Sections(), names + QStringList{"Unicode"});
    QCOMPARE(back.ReadString("Section50000", "Key", kMissing), "changed");
    QCOMPARE(back.SectionKeys("Section99999"), QStringList({"Key", "Other", "New"}));
    QCOMPARE(back.ReadInteger("Section0", "Key", -1), 0);
}

void TestIniFile::failedWriteKeepsOldFile_data() {
    QTest::addColumn<QString>("relativeName");
    QTest::addColumn<qint64>("sizeLimit"); // 0: none
    // The folder holds old.ini, an empty folder "sub" and a named pipe "pipe".
    QTest::newRow("disk full") << "old.ini" << qint64(4096);
    QTest::newRow("parent is a file") << "old.ini/settings.ini" << qint64(0);
    QTest::newRow("name of a folder") << "sub" << qint64(0);
    QTest::newRow("name of a pipe") << "pipe" << qint64(0);
}

void TestIniFile::failedWriteKeepsOldFile() {
    QFETCH(QString, relativeName);
    QFETCH(qint64, sizeLimit);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString old = dir.filePath("old.ini");
    const QByteArray oldBytes = utf16le("[Unicode]\r\nEncoding=UTF-16LE\r\n[s]\r\nk=old\r\n");
    writeAll(old, oldBytes);
    QVERIFY(QDir(dir.path()).mkdir("sub"));
    QCOMPARE(::mkfifo(QFile::encodeName(dir.filePath("pipe")).constData(), 0600), 0);
    const QStringList before = entries(dir.path());
    QCOMPARE(before, QStringList({"old.ini", "pipe|", "sub/"}));

    const QString name = dir.filePath(relativeName);
    {
        TUnicodeIniFile ini = TUnicodeIniFile::CreateForWrite(name);
        ini.WriteString("s", "k", QString(8192, u'n'));
        QString message;
        if (sizeLimit > 0) {
            FileSizeLimit limit{rlim_t(sizeLimit)};
            message = ini.UpdateFile().error();
        } else {
            message = ini.UpdateFile().error();
        }
        QVERIFY2(message.startsWith("Error writing to \"" + name + "\"\n"), qPrintable(message));
        QVERIFY(message.size() > name.size() + 20); // the system's reason follows
    }
    QCOMPARE(readAll(old), oldBytes);
    QCOMPARE(entries(dir.path()), before);
    QVERIFY(entries(dir.filePath("sub")).isEmpty());
}

void TestIniFile::droppedChangesWriteNothing() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString name = dir.filePath("s.ini");
    writeAll(name, "[s]\r\nk=old\r\n");
    {
        TUnicodeIniFile ini = TUnicodeIniFile::CreateForWrite(name);
        ini.WriteString("s", "k", "new");
    }
    QCOMPARE(readAll(name), QByteArray("[s]\r\nk=old\r\n"));
}

QTEST_GUILESS_MAIN(TestIniFile)
#include "tst_inifile.moc"
