#include "TestFiles.h"
#include "app/core/Settings.h"
#include "base/core/IniFileUtils.h"

#include <QTemporaryDir>
#include <QTest>

using namespace orvel;

class TestShellSettings : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void readValues_data();
    void readValues();
    void customColors_data();
    void customColors();
    void decimalCommaFollowsLanguage_data();
    void decimalCommaFollowsLanguage();
    void missingProjectFilesDropped();
    void writeOrderAndRebuiltSections();
};

namespace {
TShellSettings read(const QByteArray& text, const QString& language = QStringLiteral("de-DE")) {
    TShellSettings s;
    s.Read(TUnicodeIniFile::FromBytes(text), language);
    return s;
}
} // namespace

void TestShellSettings::readValues_data() {
    QTest::addColumn<QByteArray>("ini");
    QTest::addColumn<QString>("what");
    QTest::addColumn<int>("expected");
    QTest::newRow("EditSplit 50 is 200")
        << QByteArray("[Form]\nEditSplit=50") << "EditSplit" << 200;
    QTest::newRow("EditSplit 150 kept")
        << QByteArray("[Form]\nEditSplit=150") << "EditSplit" << 150;
    QTest::newRow("orientation out of range")
        << QByteArray("[Printer]\nOrientation=5") << "Orientation" << 1;
    QTest::newRow("orientation portrait")
        << QByteArray("[Printer]\nOrientation=0") << "Orientation" << 0;
    QTest::newRow("not a number gives default")
        << QByteArray("[HTML]\nTabWidth=two") << "TabWidth" << 2;
    QTest::newRow("hex options") << QByteArray("[HTML]\nOptions=$26C0193") << "Options" << 40632723;
    QTest::newRow("higher option bits dropped")
        << QByteArray("[HTML]\nOptions=$F8000001") << "Options" << 1;
    QTest::newRow("font style bits only")
        << QByteArray("[HTML]\nFontstyle=255") << "Fontstyle" << 15;
    QTest::newRow("help with missing files is off")
        << QByteArray("[Config]\nHTMLHelp=2\nHTMLRefPath=/no/such/folder") << "HTMLHelp" << 0;
    QTest::newRow("online help stays") << QByteArray("[Config]\nHTMLHelp=3") << "HTMLHelp" << 3;
    QTest::newRow("negative dictionary id is 0")
        << QByteArray("[Dictionaries]\nCount=1\nName00=-7") << "Dict0" << 0;
    QTest::newRow("count 150 reads 100")
        << QByteArray("[Projects]\nCount=150") << "ProjectsRead" << 100;
    QTest::newRow("background is the window colour")
        << QByteArray() << "Background" << int(kSystemWindowColor);
}

void TestShellSettings::readValues() {
    QFETCH(QByteArray, ini);
    QFETCH(QString, what);
    QFETCH(int, expected);
    if (what == "ProjectsRead") {
        // 150 names of existing files: only the first hundred count.
        QTemporaryDir dir;
        QByteArray text = ini;
        for (int i = 0; i < 150; ++i) {
            const QString f = dir.filePath(QStringLiteral("p%1.prj").arg(i));
            test::writeAll(f, "[Project]");
            text += QStringLiteral("\nName%1=%2").arg(i, 2, 10, QLatin1Char('0')).arg(f).toUtf8();
        }
        QCOMPARE(int(read(text).Projects.size()), expected);
        return;
    }
    const TShellSettings s = read(ini);
    int got = -999;
    if (what == "EditSplit")
        got = s.Form.EditSplit;
    else if (what == "Orientation")
        got = s.Printer.Orientation;
    else if (what == "TabWidth")
        got = s.Types[ftHtml].props.TabWidth;
    else if (what == "Options")
        got = int(s.Types[ftHtml].props.Options);
    else if (what == "Fontstyle")
        got = s.Types[ftHtml].props.Font.style;
    else if (what == "HTMLHelp")
        got = s.Config.HTMLHelp;
    else if (what == "Dict0")
        got = s.Dictionaries.value(0, -1);
    else if (what == "Background")
        got = int(s.Types[ftCss].props.BgColor);
    QCOMPARE(got, expected);
}

void TestShellSettings::customColors_data() {
    QTest::addColumn<QString>("stored");
    QTest::addColumn<int>("index");
    QTest::addColumn<uint>("value");
    QTest::newRow("hex") << "$B8FFFF,$0050B0" << 1 << 0x0050B0u;
    QTest::newRow("missing entries are 0") << "$B8FFFF" << 5 << 0u;
    QTest::newRow("beyond 16 ignored") << QString("1,").repeated(20) << 15 << 1u;
    QTest::newRow("garbage is 0") << "$B8FFFF,zz" << 1 << 0u;
}

void TestShellSettings::customColors() {
    QFETCH(QString, stored);
    QFETCH(int, index);
    QFETCH(uint, value);
    const auto colors = parseCustomColors(stored);
    QCOMPARE(colors[index], value);
    QCOMPARE(parseCustomColors(formatCustomColors(colors)), colors);
    QVERIFY(formatCustomColors(colors).startsWith(u'$'));
}

void TestShellSettings::decimalCommaFollowsLanguage_data() {
    QTest::addColumn<QString>("language");
    QTest::addColumn<QByteArray>("ini");
    QTest::addColumn<bool>("comma");
    QTest::newRow("EN alone") << "EN" << QByteArray() << false;
    QTest::newRow("en too") << "en" << QByteArray() << false;
    QTest::newRow("en-US is not EN") << "en-US" << QByteArray() << true;
    QTest::newRow("de") << "de" << QByteArray() << true;
    QTest::newRow("setting wins") << "de" << QByteArray("[Config]\nDecimalComma=0") << false;
}

void TestShellSettings::decimalCommaFollowsLanguage() {
    QFETCH(QString, language);
    QFETCH(QByteArray, ini);
    QFETCH(bool, comma);
    QCOMPARE(read(ini, language).Config.DecimalComma, comma);
}

void TestShellSettings::missingProjectFilesDropped() {
    QTemporaryDir dir;
    QByteArray text = "[Projects]\nCount=9\nActive=0\n";
    for (int i = 0; i < 9; ++i) {
        const QString f = dir.filePath(QStringLiteral("p%1.prj").arg(i));
        if (i != 7)
            test::writeAll(f, "[Project]");
        text += QStringLiteral("Name%1=%2\n").arg(i, 2, 10, QLatin1Char('0')).arg(f).toUtf8();
    }
    const TShellSettings s = read(text);
    QCOMPARE(s.Projects.size(), 8);
    TUnicodeIniFile out = TUnicodeIniFile::FromBytes(QByteArray());
    s.Write(out);
    QCOMPARE(out.ReadInteger("Projects", "Count", 0), 8);
    QCOMPARE(out.ReadString("Projects", "Name07", QString()), dir.filePath("p8.prj"));
    QVERIFY(!out.ValueExists("Projects", "Name08"));
}

void TestShellSettings::writeOrderAndRebuiltSections() {
    TUnicodeIniFile ini = TUnicodeIniFile::FromBytes(
        "[Config]\nOld=1\n[Form]\nLeft=5\nTop=6\nWidth=7\nHeight=8\nKeepMe=x\n");
    TShellSettings s = read(QByteArray());
    s.Form.State = 2; // maximized: the normal placement stays as stored
    s.Config.FindText = "first line  \r\nsecond";
    s.Write(ini);
    QVERIFY(!ini.ValueExists("Config", "Old"));
    QCOMPARE(ini.ReadString("Config", "FindText", QString()), QString("first line"));
    QCOMPARE(ini.ReadInteger("Form", "Left", 0), 5);
    QCOMPARE(ini.ReadInteger("Form", "State", 0), 2);
    QCOMPARE(ini.ReadString("Form", "KeepMe", QString()), QString("x"));
    // Config's keys in their order, Printer last of them.
    const QStringList keys = ini.SectionKeys("Config");
    QCOMPARE(keys.first(), QString("StdPath"));
    QCOMPARE(keys.last(), QString("Printer"));
    // Erased sections are written anew at the end, in the order of writing.
    QCOMPARE(ini.Sections().mid(0, 4), (QStringList{"Form", "Config", "Projects", "Dictionaries"}));
}

QTEST_GUILESS_MAIN(TestShellSettings)
#include "tst_shellsettings.moc"
