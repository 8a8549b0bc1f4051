#include "base/core/IniFileUtils.h"
#include "search/core/FindReplLogic.h"

#include <QTemporaryDir>
#include <QTest>

using namespace orvel;

class TestFindReplLogic : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void historyAdd_data();
    void historyAdd();
    void storedText_data();
    void storedText();
    void historyInOut();
    void historyReadRules();
    void confirmationPlace_data();
    void confirmationPlace();
    void lineBreaks_data();
    void lineBreaks();
    void buttonOptions_data();
    void buttonOptions();
    void optionsProperty();
};

namespace {
QStringList numbered(int n) {
    QStringList l;
    for (int i = 0; i < n; ++i)
        l << QStringLiteral("t%1").arg(i);
    return l;
}
} // namespace

void TestFindReplLogic::historyAdd_data() {
    QTest::addColumn<QStringList>("list");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("after");
    QTest::newRow("new goes to the top")
        << QStringList{"a", "b"} << "c" << QStringList{"c", "a", "b"};
    QTest::newRow("present in another case: unchanged, not moved")
        << QStringList{"alpha", "Beta"} << "BETA" << QStringList{"alpha", "Beta"};
    QTest::newRow("empty ignored") << QStringList{"a"} << "" << QStringList{"a"};
    QStringList pushed = numbered(20);
    pushed.removeLast();
    pushed.prepend("new");
    QTest::newRow("21st distinct pushes the oldest") << numbered(20) << "new" << pushed;
    QTest::newRow("full list, present text") << numbered(20) << "T19" << numbered(20);
    QTest::newRow("multi-line kept whole")
        << QStringList{} << "one\r\ntwo" << QStringList{"one\r\ntwo"};
}

void TestFindReplLogic::historyAdd() {
    QFETCH(QStringList, list);
    QFETCH(QString, text);
    QFETCH(QStringList, after);
    const QStringList before = list;
    QCOMPARE(addFindHistory(list, text), before != after);
    QCOMPARE(list, after);
}

void TestFindReplLogic::storedText_data() {
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("stored");
    QTest::newRow("plain") << "abc"
                           << "abc";
    QTest::newRow("first line trimmed") << "  <p class=x>  \r\n  </p>"
                                        << "<p class=x>";
    QTest::newRow("lone CR") << "a\rb"
                             << "a";
    QTest::newRow("no carriage return: unchanged") << " a\tb "
                                                   << " a\tb ";
}

void TestFindReplLogic::storedText() {
    QFETCH(QString, entry);
    QFETCH(QString, stored);
    QCOMPARE(storedFindHistoryText(entry), stored);
}

void TestFindReplLogic::historyInOut() {
    QTemporaryDir dir;
    const QString name = dir.filePath("orvel.ini");
    {
        TUnicodeIniFile ini = TUnicodeIniFile::CreateForWrite(name);
        ini.WriteString("Find", "Text25", "stale");
        ini.WriteString("Other", "Key", "kept");
        writeFindHistory(ini, "Find", {"<td>\r\n  <b>", "second", "Third"});
        QVERIFY(ini.UpdateFile().ok());
    }
    const TUnicodeIniFile ini = TUnicodeIniFile::CreateForRead(name);
    QCOMPARE(ini.SectionKeys("Find"), (QStringList{"Text0", "Text1", "Text2"}));
    QCOMPARE(ini.ReadString("Other", "Key", ""), QString("kept"));
    QStringList list{"old"};
    readFindHistory(ini, "Find", list);
    QCOMPARE(list, (QStringList{"<td>", "second", "Third"}));
}

void TestFindReplLogic::historyReadRules() {
    const TUnicodeIniFile ini = TUnicodeIniFile::FromBytes(
        "[Find]\r\nText1=b\r\nText0=a\r\nText2=\r\nText3=a\r\nText20=beyond\r\n");
    QStringList list{"kept"};
    readFindHistory(ini, "Replace", list);
    QCOMPARE(list, QStringList{"kept"}); // no section: the list stays
    readFindHistory(ini, "Find", list);
    // In index order, empty values passed over, no more than twenty keys.
    QCOMPARE(list, (QStringList{"a", "b", "a"}));
}

void TestFindReplLogic::confirmationPlace_data() {
    QTest::addColumn<QPoint>("at");
    QTest::addColumn<QRect>("mainWindow");
    QTest::addColumn<QPoint>("placed");
    const QRect main(100, 50, 1200, 800);
    // Screen 1920 x 1080, dialog 400 x 120.
    QTest::newRow("fits") << QPoint(300, 400) << main << QPoint(300, 400);
    QTest::newRow("past the right edge: main window's right less width less 20")
        << QPoint(1600, 400) << main << QPoint(100 + 1200 - 400 - 20, 400);
    QTest::newRow("just inside the right margin") << QPoint(1500, 400) << main << QPoint(1500, 400);
    QTest::newRow("past the bottom edge: above the match")
        << QPoint(300, 1000) << main << QPoint(300, 1000 - 120 - 20);
    QTest::newRow("both") << QPoint(1700, 990) << main << QPoint(880, 850);
    QTest::newRow("main window reaching past the screen stays inside")
        << QPoint(1700, 400) << QRect(1000, 50, 1500, 800) << QPoint(1920 - 20 - 400, 400);
    QTest::newRow("never above or left of the screen")
        << QPoint(-50, 1000) << QRect(-300, -10, 200, 2000) << QPoint(0, 860);
}

void TestFindReplLogic::confirmationPlace() {
    QFETCH(QPoint, at);
    QFETCH(QRect, mainWindow);
    QFETCH(QPoint, placed);
    const QRect screen(0, 0, 1920, 1080);
    const QSize dialog(400, 120);
    const QPoint p = placeConfirmation(at, dialog, screen, mainWindow);
    QCOMPARE(p, placed);
    QVERIFY(p.x() + dialog.width() <= screen.width() - 20);
    QVERIFY(p.y() + dialog.height() <= screen.height() - 20);
}

void TestFindReplLogic::lineBreaks_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("style");
    QTest::addColumn<QString>("after");
    QTest::newRow("LF typed, CR LF document") << "a\nb" << int(lbCRLF) << "a\r\nb";
    QTest::newRow("CR LF kept") << "a\r\nb\r\n" << int(lbCRLF) << "a\r\nb\r\n";
    QTest::newRow("CR LF into LF document") << "a\r\nb" << int(lbLF) << "a\nb";
    QTest::newRow("mixed into CR") << "a\rb\nc\r\nd" << int(lbCR) << "a\rb\rc\rd";
    QTest::newRow("blank lines stay") << "a\n\nb" << int(lbCRLF) << "a\r\n\r\nb";
    QTest::newRow("no break") << "abc" << int(lbLF) << "abc";
}

void TestFindReplLogic::lineBreaks() {
    QFETCH(QString, text);
    QFETCH(int, style);
    QFETCH(QString, after);
    QCOMPARE(withLineBreaks(text, TLineBreak(style)), after);
}

// Each step: open:f / open:r, start:0 / start:1, back, main, continue, all, close. The
// options are checked as the last step's call sees them and after it.
void TestFindReplLogic::buttonOptions_data() {
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<int>("during");
    QTest::addColumn<int>("after");
    QTest::addColumn<bool>("repeat");
    const int P = ssoPrompt, R = ssoReplace, A = ssoReplaceAll, E = ssoEntireScope,
              B = ssoBackwards;
    QTest::newRow("find mode") << QStringList{"open:f", "main"} << P << P << false;
    QTest::newRow("find from beginning: every search starts at the top")
        << QStringList{"open:f", "start:1", "main", "main"} << (P | E) << P << false;
    QTest::newRow("find from beginning, continue goes on from the match")
        << QStringList{"open:f", "start:1", "main", "continue"} << P << P << false;
    QTest::newRow("from cursor again")
        << QStringList{"open:f", "start:1", "start:0", "main"} << P << P << false;
    QTest::newRow("replace mode") << QStringList{"open:r", "main"} << (P | R) << (P | R) << false;
    QTest::newRow("replace: continue only finds")
        << QStringList{"open:r", "continue"} << P << P << true;
    QTest::newRow("replace after continue looks back at the match")
        << QStringList{"open:r", "continue", "main"} << (P | R | B) << (P | R) << false;
    QTest::newRow("backward search: replace after continue looks forward")
        << QStringList{"open:r", "back", "continue", "main"} << (P | R) << (P | R | B) << false;
    QTest::newRow("from beginning: replace after continue stays at the match")
        << QStringList{"open:r", "start:1", "continue", "main"} << (P | R | B) << (P | R) << false;
    QTest::newRow("replace all") << QStringList{"open:r", "all"} << (P | R | A) << (P | R | A)
                                 << false;
    QTest::newRow("replace all, then replace")
        << QStringList{"open:r", "all", "main"} << (P | R) << (P | R) << false;
    QTest::newRow("close drops replace all")
        << QStringList{"open:r", "all", "close"} << (P | R) << (P | R) << false;
    QTest::newRow("find dialog after replace all")
        << QStringList{"open:r", "all", "open:f"} << P << P << false;
    QTest::newRow("opening again clears repeat")
        << QStringList{"open:r", "continue", "open:r"} << (P | R) << (P | R) << false;
}

void TestFindReplLogic::buttonOptions() {
    QFETCH(QStringList, steps);
    QFETCH(int, during);
    QFETCH(int, after);
    QFETCH(bool, repeat);
    TFindReplOptions o;
    QCOMPARE(o.options(), int(ssoPrompt));
    int seen = -1;
    for (const QString& step : steps) {
        if (step == "open:f" || step == "open:r") {
            o.open(step == "open:r");
            seen = o.options();
        } else if (step.startsWith("start:")) {
            o.chooseStart(step.endsWith('1'));
            seen = o.options();
        } else if (step == "back") {
            o.setFlag(ssoBackwards, true);
        } else if (step == "main") {
            o.beginMain();
            seen = o.options();
            o.finishMain();
        } else if (step == "continue") {
            o.beginContinue();
            seen = o.options();
            o.finishContinue();
        } else if (step == "all") {
            o.beginReplaceAll();
            seen = o.options();
        } else if (step == "close") {
            o.close();
            seen = o.options();
        }
    }
    QCOMPARE(seen, during);
    QCOMPARE(o.options(), after);
    QCOMPARE(o.repeat(), repeat);
}

void TestFindReplLogic::optionsProperty() {
    TFindReplOptions o;
    o.setOptions(0x1FF);
    QCOMPARE(o.options(), 0xFF);
    QVERIFY(o.fromBeginning());
    o.setOptions(ssoMatchCase | ssoWholeWord);
    QVERIFY(!o.fromBeginning());
    QVERIFY(o.has(ssoWholeWord));
    QVERIFY(!o.has(ssoPrompt));
}

QTEST_GUILESS_MAIN(TestFindReplLogic)
#include "tst_findrepllogic.moc"
