#include "editor/core/HtmlChars.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

using namespace orvel;

namespace {

THtmlCharTable tableFrom(const QByteArray& text) {
    THtmlCharTable t;
    t.loadFromBytes(text);
    return t;
}

// A small table: Latin letters in the conversion group, with edge names of its own.
const QByteArray kSmall = "##Iso\n"
                          "a umlaut|&auml;|228\n"
                          "A umlaut|&Auml;|196\n"
                          "no-break space|&nbsp;|160\n"
                          "eight letters|&abcdefgh;|233\n"
                          "nine letters|&abcdefghi;|234\n"
                          "#Other\n"
                          "euro|&euro;|8364\n"
                          "ampersand|&amp;|38\n";

QString shipped(const QString& name) {
    return QStringLiteral(ORVEL_BUILD_DIR "/") + name;
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

} // namespace

class TestHtmlChars : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void loadsGroupsAndEntries();
    void lookups_data();
    void lookups();
    void entitiesToChars_data();
    void entitiesToChars();
    void charsToEntities_data();
    void charsToEntities();
    void withoutIsoGroupNothingConverts();
    void ampConvertsOnlyWhenListed();
    void eightBitTableFile();
    void garbageDoesNotCrash();
    void fileNameForLanguage_data();
    void fileNameForLanguage();
    void loadCharListFallsBack();
    void shippedTables_data();
    void shippedTables();
    void latin1AgreesWithPython();
};

void TestHtmlChars::loadsGroupsAndEntries() {
    const THtmlCharTable t = tableFrom("  first|&f;|1  \r\n"
                                       "x\n"
                                       "#Letters\r"
                                       "b|&b;|98\n"
                                       "no value|&nv;\n"
                                       "bad value|&bv;|12x\n"
                                       "\n"
                                       "##Iso\n"
                                       "a|&a;|97\n"
                                       "#Letters\n"
                                       "b again|&b;|66\n");
    QCOMPARE(t.groups().size(), 4);
    QCOMPARE(t.groups()[0].FGroupName, QString());
    QCOMPARE(t.groups()[0].FChars[0].Desc, QStringLiteral("first"));
    QCOMPARE(t.groups()[1].FGroupName, QStringLiteral("Letters"));
    QCOMPARE(t.groups()[1].FCount, 3);
    QCOMPARE(t.groups()[1].FChars[1].Value, 0);
    QCOMPARE(t.groups()[1].FChars[2].Value, 0);
    QCOMPARE(t.groups()[2].FGroupName, QStringLiteral("Iso"));
    QCOMPARE(t.groups()[3].FChars[0].Value, 66);
    QCOMPARE(t.IsoName(), QStringLiteral("Iso"));
    QCOMPARE(t.FCharList(), QStringList({"&a;", "&b;", "&b;", "&bv;", "&f;", "&nv;"}));
}

void TestHtmlChars::lookups_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("htmlName");
    QTest::addColumn<int>("iso");
    QTest::addColumn<int>("unicode");
    QTest::newRow("iso entry") << "&auml;" << 228 << "&auml;" << 228 << 228;
    QTest::newRow("case matters") << "&AUML;" << 196 << "&Auml;" << 0 << 0;
    QTest::newRow("other group") << "&euro;" << 8364 << "" << 0 << 8364;
    QTest::newRow("absent") << "&zz;" << 300 << "" << 0 << 0;
}

void TestHtmlChars::lookups() {
    QFETCH(QString, name);
    QFETCH(int, value);
    const THtmlCharTable t = tableFrom(kSmall);
    QTEST(t.GetHtmlName(value), "htmlName");
    QTEST(t.GetIsoChar(name), "iso");
    QTEST(t.GetUnicodeChar(name), "unicode");
}

void TestHtmlChars::entitiesToChars_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    QTest::newRow("one") << "K&auml;se" << QStringLiteral("K\u00e4se");
    QTest::newRow("upper-cased name") << "&AUML;"
                                      << "&AUML;";
    QTest::newRow("lone ampersand") << "a & b"
                                    << "a & b";
    QTest::newRow("no semicolon within nine") << "&auml and then more;"
                                              << "&auml and then more;";
    QTest::newRow("eight letters") << "&abcdefgh;" << QStringLiteral("\u00e9");
    QTest::newRow("nine letters too long") << "&abcdefghi;"
                                           << "&abcdefghi;";
    QTest::newRow("ampersand before") << "&&auml;" << QStringLiteral("&\u00e4");
    QTest::newRow("first semicolon decides") << "&auml;x;" << QStringLiteral("\u00e4x;");
    QTest::newRow("numeric stays") << "&#228;"
                                   << "&#228;";
    QTest::newRow("other group stays") << "&euro;"
                                       << "&euro;";
    QTest::newRow("at the end") << "x&"
                                << "x&";
    QTest::newRow("not across lines") << "&au\nml;"
                                      << "&au\nml;";
    QTest::newRow("several lines") << "&nbsp;\r\n&Auml;" << QStringLiteral("\u00a0\r\n\u00c4");
}

void TestHtmlChars::entitiesToChars() {
    QFETCH(QString, text);
    QTEST(tableFrom(kSmall).EntitiesToChars(text), "expected");
}

void TestHtmlChars::charsToEntities_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    QTest::newRow("ends in 228") << QStringLiteral("K\u00e4\r\nb\u00e4") << "K&auml;\r\nb&auml;";
    QTest::newRow("outside 160-255 kept")
        << QStringLiteral("\u20ac \u0152 \u009f") << QStringLiteral("\u20ac \u0152 \u009f");
    QTest::newRow("unlisted latin-1 kept") << QStringLiteral("\u00ff") << QStringLiteral("\u00ff");
    QTest::newRow("ascii kept") << "a & b <p>"
                                << "a & b <p>";
    QTest::newRow("empty") << ""
                           << "";
}

void TestHtmlChars::charsToEntities() {
    QFETCH(QString, text);
    QTEST(tableFrom(kSmall).CharsToEntities(text), "expected");
}

void TestHtmlChars::withoutIsoGroupNothingConverts() {
    const THtmlCharTable t = tableFrom("#Letters\na umlaut|&auml;|228\n");
    QCOMPARE(t.IsoName(), QString());
    QCOMPARE(t.GetUnicodeChar(u"&auml;"), 228);
    const QString text = QStringLiteral("\u00e4 &auml;");
    QCOMPARE(t.CharsToEntities(text), text);
    QCOMPARE(t.EntitiesToChars(text), text);
}

void TestHtmlChars::ampConvertsOnlyWhenListed() {
    const THtmlCharTable listed = tableFrom("##Iso\nampersand|&amp;|38\na umlaut|&auml;|228\n");
    QCOMPARE(listed.EntitiesToChars(u"a &amp; &AMP; b"), QStringLiteral("a & &AMP; b"));
    // A character just produced is not read again as the start of an entity.
    QCOMPARE(listed.EntitiesToChars(u"&amp;auml;"), QStringLiteral("&auml;"));
    QCOMPARE(tableFrom(kSmall).EntitiesToChars(u"a &amp; b"), QStringLiteral("a &amp; b"));
}

void TestHtmlChars::eightBitTableFile() {
    // Not UTF-8: the single-byte code page.
    const THtmlCharTable t = tableFrom("##Iso\n\xe4 \x80|&auml;|228\n");
    QCOMPARE(t.groups()[0].FChars[0].Desc, QStringLiteral("\u00e4 \u20ac"));
}

void TestHtmlChars::garbageDoesNotCrash() {
    QRandomGenerator rng(20261210);
    const char alphabet[] = "#|&;0123456789ab\n\r \xc3\xa4\xff";
    for (int round = 0; round < 500; ++round) {
        QByteArray bytes(int(rng.bounded(2000)), Qt::Uninitialized);
        const bool structured = round % 2 == 0;
        for (char& b : bytes)
            b = structured ? alphabet[rng.bounded(int(sizeof alphabet) - 1)]
                           : char(rng.bounded(256));
        const THtmlCharTable t = tableFrom(bytes);
        qsizetype total = 0;
        for (const THtmlCharGroup& g : t.groups()) {
            QCOMPARE(g.FCount, int(g.FChars.size()));
            QVERIFY(g.FCount > 0);
            total += g.FCount;
        }
        QCOMPARE(t.FCharList().size(), total);
        const QString text = QString::fromLatin1(bytes);
        // Whatever the table says, text without entities or Latin-1 letters survives.
        QCOMPARE(t.EntitiesToChars(u"plain text"), QStringLiteral("plain text"));
        QCOMPARE(t.CharsToEntities(u"plain text"), QStringLiteral("plain text"));
        t.EntitiesToChars(t.CharsToEntities(text));
    }
}

void TestHtmlChars::fileNameForLanguage_data() {
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("file");
    QTest::newRow("english") << "EN"
                             << "html-codes.txt";
    QTest::newRow("english lower with region") << "en-GB"
                                               << "html-codes.txt";
    QTest::newRow("none") << ""
                          << "html-codes.txt";
    QTest::newRow("german") << "de-DE"
                            << "html-codes-DE.txt";
    QTest::newRow("hungarian posix") << "hu_HU"
                                     << "html-codes-HU.txt";
}

void TestHtmlChars::fileNameForLanguage() {
    QFETCH(QString, code);
    QTEST(htmlCharFileName(code), "file");
}

void TestHtmlChars::loadCharListFallsBack() {
    QTemporaryDir dir;
    writeFile(dir.filePath("html-codes.txt"), "##Iso\nen|&auml;|228\n");
    THtmlCharTable t;
    QVERIFY(LoadCharList(t, dir.path(), "html-codes.txt", "html-codes-DE.txt"));
    QCOMPARE(t.groups()[0].FChars[0].Desc, QStringLiteral("en"));
    // Names are found without regard to case.
    writeFile(dir.filePath("HTML-codes-de.TXT"), "##Iso\nde|&auml;|228\n");
    QVERIFY(LoadCharList(t, dir.path(), "html-codes.txt", "html-codes-DE.txt"));
    QCOMPARE(t.groups()[0].FChars[0].Desc, QStringLiteral("de"));
    QVERIFY(!LoadCharList(t, dir.path() + "/missing", "html-codes.txt", "html-codes-DE.txt"));
    QVERIFY(t.isEmpty());
}

void TestHtmlChars::shippedTables_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("isoName");
    QTest::addColumn<QString>("hungarianText");
    QTest::newRow("english") << "html-codes.txt"
                             << "Latin-1 characters (ISO 8859-1)"
                             << "";
    QTest::newRow("german") << "html-codes-DE.txt"
                            << "Latin-1-Zeichen (ISO 8859-1)"
                            << "";
    QTest::newRow("hungarian") << "html-codes-HU.txt"
                               << "Latin-1 karakterek (ISO 8859-1)"
                               << QStringLiteral("Görög betűk");
}

void TestHtmlChars::shippedTables() {
    QFETCH(QString, file);
    QFETCH(QString, hungarianText);
    THtmlCharTable t;
    QVERIFY(t.loadFromFile(shipped(file)));
    QTEST(t.IsoName(), "isoName");
    QCOMPARE(t.groups().size(), 6);
    QCOMPARE(t.groups()[0].FGroupName, t.IsoName());
    QCOMPARE(t.groups()[0].FCount, 96);
    int total = 0;
    for (const THtmlCharGroup& g : t.groups()) {
        total += g.FCount;
        for (const THtmlChar& c : g.FChars)
            QVERIFY2(!c.Desc.isEmpty() && c.Value > 0, qPrintable(c.Name));
    }
    QCOMPARE(total, 252); // every entity of HTML 4
    if (!hungarianText.isEmpty())
        QCOMPARE(t.groups()[2].FGroupName, hungarianText);
}

void TestHtmlChars::latin1AgreesWithPython() {
    QProcess python;
    python.start("python3", {QStringLiteral(ORVEL_TEST_DATA "/latin1_entities.py")});
    QVERIFY(python.waitForFinished(30000));
    QCOMPARE(python.exitCode(), 0);
    const QStringList lines =
        QString::fromUtf8(python.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 96);

    for (const char* file : {"html-codes.txt", "html-codes-DE.txt", "html-codes-HU.txt"}) {
        THtmlCharTable t;
        QVERIFY(t.loadFromFile(shipped(QString::fromLatin1(file))));
        QSet<int> seen;
        for (const QString& line : lines) {
            const QString entity = u'&' + line.section(u' ', 0, 0) + u';';
            const int code = line.section(u' ', 1, 1).toInt();
            const QString ch{QChar(char16_t(code))};
            QCOMPARE(t.GetHtmlName(code), entity);
            QCOMPARE(t.GetIsoChar(entity), code);
            QCOMPARE(t.CharsToEntities(u'x' + ch), u'x' + entity);
            QCOMPARE(t.EntitiesToChars(entity + u'x'), ch + u'x');
            seen.insert(code);
        }
        // And the other way: the table names nothing Python does not.
        for (const THtmlChar& c : t.groups()[0].FChars)
            QVERIFY2(seen.contains(c.Value), qPrintable(c.Name));
        QCOMPARE(t.EntitiesToChars(u"&AUML; & &Auml"), QStringLiteral("&AUML; & &Auml"));
    }
}

QTEST_GUILESS_MAIN(TestHtmlChars)
#include "tst_htmlchars.moc"
