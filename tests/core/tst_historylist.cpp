#include "base/core/EditListModel.h"
#include "base/core/Errors.h"
#include "base/core/HistoryList.h"
#include "base/core/IniFileUtils.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace orvel;

class TestHistoryList : public QObject {
    Q_OBJECT
private slots:
    void addString_data();
    void addString();
    void objectsFollowTheirEntries();
    void remString();
    void maxLen_data();
    void maxLen();
    void assignList_data();
    void assignList();
    void changedAfterEveryChange();
    void caption_data();
    void caption();
    void captionsOfAFullList();
    void menuIndex_data();
    void menuIndex();
    void captionRoundTrip();
    void loadFromIni_data();
    void loadFromIni();
    void blankStoredAsQuestionMark();
    void saveDropsKeysOfALongerList();
    void saveWithEraseEmptiesSection();
    void fileRoundTrip();
    void writeFailureNamesFile();

    void editRemove_data();
    void editRemove();
    void editMove_data();
    void editMove();
    void editRename_data();
    void editRename();
    void editResultIndex_data();
    void editResultIndex();
    void placement_data();
    void placement();
};

namespace {
QStringList numbered(int n) {
    QStringList out;
    for (int i = 1; i <= n; ++i)
        out << QStringLiteral("e%1").arg(i);
    return out;
}
QStringList reversed(QStringList l) {
    std::reverse(l.begin(), l.end());
    return l;
}
TUnicodeIniFile iniOf(const QByteArray& text) {
    return TUnicodeIniFile::FromBytes(text);
}
QList<int> ints(std::initializer_list<int> l) {
    return QList<int>(l);
}
} // namespace

void TestHistoryList::addString_data() {
    QTest::addColumn<int>("capacity");
    QTest::addColumn<QStringList>("added");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("same text in other case replaces")
        << 15 << QStringList{"a.html", "b.html", "A.HTML"} << QStringList{"A.HTML", "b.html"};
    QTest::newRow("empty text ignored") << 15 << QStringList{"x", "", "y"} << QStringList{"y", "x"};
    QTest::newRow("present entry moves to front")
        << 15 << QStringList{"a", "b", "c", "a"} << QStringList{"a", "c", "b"};
    QTest::newRow("sixteenth pushes out the oldest")
        << 15 << numbered(16) << reversed(numbered(16)).mid(0, 15);
    QTest::newRow("capacity one keeps the newest")
        << 1 << QStringList{"a", "b"} << QStringList{"b"};
    QTest::newRow("re-adding the oldest at capacity loses nothing")
        << 3 << QStringList{"a", "b", "c", "a"} << QStringList{"a", "c", "b"};
}

void TestHistoryList::addString() {
    QFETCH(int, capacity);
    QFETCH(QStringList, added);
    QFETCH(QStringList, expected);
    THistoryList list(nullptr, capacity);
    for (const QString& t : added)
        list.AddString(t);
    QCOMPARE(list.items(), expected);
}

void TestHistoryList::objectsFollowTheirEntries() {
    THistoryList list;
    list.AddStringObject("a", 1);
    list.AddStringObject("b", 2);
    list.AddString("c");
    list.AddStringObject("A", 3); // replaces "a" and its object
    list.RemString("B");
    QCOMPARE(list.items(), (QStringList{"A", "c"}));
    QCOMPARE(list.objectAt(0), QVariant(3));
    QVERIFY(!list.objectAt(1).isValid());
}

void TestHistoryList::remString() {
    THistoryList list;
    list.AssignList({"one", "Two", "three"});
    QSignalSpy spy(&list, &THistoryList::changed);
    list.RemString("four");
    QCOMPARE(spy.count(), 0);
    list.RemString("TWO");
    QCOMPARE(list.items(), (QStringList{"one", "three"}));
    QCOMPARE(spy.count(), 1);
    list.ClearAll();
    QCOMPARE(list.count(), 0);
    QCOMPARE(spy.count(), 2);
}

void TestHistoryList::maxLen_data() {
    QTest::addColumn<int>("n");
    QTest::addColumn<int>("expectedMax");
    QTest::addColumn<int>("expectedCount");
    // Starts at capacity 15 with 12 entries.
    QTest::newRow("0 refused") << 0 << 15 << 12;
    QTest::newRow("-1 refused") << -1 << 15 << 12;
    QTest::newRow("101 refused") << 101 << 15 << 12;
    QTest::newRow("100 accepted") << 100 << 100 << 12;
    QTest::newRow("1 keeps the newest") << 1 << 1 << 1;
    QTest::newRow("5 cuts from the end") << 5 << 5 << 5;
}

void TestHistoryList::maxLen() {
    QFETCH(int, n);
    QFETCH(int, expectedMax);
    QFETCH(int, expectedCount);
    THistoryList list;
    for (const QString& t : numbered(12))
        list.AddString(t);
    list.setMaxLen(n);
    QCOMPARE(list.MaxLen(), expectedMax);
    QCOMPARE(list.count(), expectedCount);
    QCOMPARE(list.items(), reversed(numbered(12)).mid(0, expectedCount));
}

void TestHistoryList::assignList_data() {
    QTest::addColumn<int>("capacity");
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("order kept") << 15 << QStringList{"c", "a", "b"} << QStringList{"c", "a", "b"};
    QTest::newRow("first capacity texts")
        << 2 << QStringList{"a", "b", "c"} << QStringList{"a", "b"};
    QTest::newRow("empty and repeated passed over")
        << 15 << QStringList{"a", "", "A", "b"} << QStringList{"a", "b"};
    QTest::newRow("empty input empties") << 15 << QStringList{} << QStringList{};
}

void TestHistoryList::assignList() {
    QFETCH(int, capacity);
    QFETCH(QStringList, texts);
    QFETCH(QStringList, expected);
    THistoryList list(nullptr, capacity);
    list.AddString("old");
    list.AssignList(texts);
    QCOMPARE(list.items(), expected);
}

void TestHistoryList::changedAfterEveryChange() {
    THistoryList list;
    QSignalSpy spy(&list, &THistoryList::changed);
    list.AddString("a");
    list.AddString("");
    list.AddStringObject("b", 1);
    list.setMaxLen(20); // nothing cut
    list.setMaxLen(1);  // "a" cut
    list.setMaxLen(0);  // refused
    list.AssignList({"x"});
    QCOMPARE(spy.count(), 4);
}

void TestHistoryList::caption_data() {
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("hotKeys");
    QTest::addColumn<QString>("expected");
    QTest::newRow("first") << 0 << "a.html" << true << "1 a.html";
    QTest::newRow("ninth") << 8 << "x" << true << "9 x";
    QTest::newRow("tenth is a") << 9 << "x" << true << "a x";
    QTest::newRow("fifteenth is f") << 14 << "x" << true << "f x";
    QTest::newRow("sixteenth is 10") << 15 << "x" << true << "10 x";
    QTest::newRow("seventeenth is 11") << 16 << "x" << true << "11 x";
    QTest::newRow("hundredth is 64") << 99 << "x" << true << "64 x";
    QTest::newRow("hot keys kept") << 0 << "a&b" << true << "1 a&b";
    QTest::newRow("hot keys doubled") << 0 << "a&b&&c" << false << "1 a&&b&&&&c";
}

void TestHistoryList::caption() {
    QFETCH(int, index);
    QFETCH(QString, text);
    QFETCH(bool, hotKeys);
    QFETCH(QString, expected);
    QCOMPARE(historyMenuCaption(index, text, hotKeys), expected);
}

void TestHistoryList::captionsOfAFullList() {
    THistoryList list;
    for (const QString& t : numbered(16))
        list.AddString(t);
    QStringList numbers;
    for (int i = 0; i < list.count(); ++i)
        numbers << historyMenuCaption(i, list.at(i), true).section(' ', 0, 0);
    QCOMPARE(numbers.join(','), QString("1,2,3,4,5,6,7,8,9,a,b,c,d,e,f"));
    QCOMPARE(list.at(14), QString("e2"));
}

void TestHistoryList::menuIndex_data() {
    QTest::addColumn<QString>("caption");
    QTest::addColumn<int>("expected");
    QTest::newRow("plain") << "1 a.html" << 0;
    QTest::newRow("hex") << "f x" << 14;
    QTest::newRow("two places") << "10 x" << 15;
    QTest::newRow("upper case hex") << "1A x" << 25;
    QTest::newRow("ampersand in number") << "&1&0 x" << 15;
    QTest::newRow("ampersands in text") << "3 a&&b c" << 2;
    QTest::newRow("zero names nothing") << "0 x" << -1;
    QTest::newRow("no number") << "xy z" << -1;
    QTest::newRow("no blank") << "12" << -1;
    QTest::newRow("empty") << "" << -1;
    QTest::newRow("leading blank") << " 1 x" << -1;
}

void TestHistoryList::menuIndex() {
    QFETCH(QString, caption);
    QFETCH(int, expected);
    QCOMPARE(historyMenuIndex(caption), expected);
}

void TestHistoryList::captionRoundTrip() {
    for (bool hotKeys : {true, false})
        for (int i = 0; i < 100; ++i)
            QCOMPARE(historyMenuIndex(historyMenuCaption(i, "a&b c", hotKeys)), i);
}

void TestHistoryList::loadFromIni_data() {
    QTest::addColumn<int>("capacity");
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("stored order") << 15 << QByteArray("[S]\nHistory0=new\nHistory1=old\n")
                                  << QStringList{"new", "old"};
    QTest::newRow("gap skipped") << 15 << QByteArray("[S]\nHistory0=a\nHistory1=\nHistory3=c\n")
                                 << QStringList{"a", "c"};
    QTest::newRow("stops at capacity")
        << 2 << QByteArray("[S]\nHistory0=a\nHistory1=b\nHistory2=c\n") << QStringList{"a", "b"};
    QTest::newRow("question mark reads as blank")
        << 15 << QByteArray("[S]\nHistory0=?\nHistory1=x\n") << QStringList{" ", "x"};
    QTest::newRow("repeat read once")
        << 15 << QByteArray("[S]\nHistory0=a\nHistory1=A\n") << QStringList{"a"};
    QTest::newRow("other keys and sections ignored")
        << 15 << QByteArray("[T]\nHistory0=t\n[S]\nTop=3\nhistory0=s\n") << QStringList{"s"};
    QTest::newRow("missing section empties")
        << 15 << QByteArray("[T]\nHistory0=t\n") << QStringList{};
}

void TestHistoryList::loadFromIni() {
    QFETCH(int, capacity);
    QFETCH(QByteArray, text);
    QFETCH(QStringList, expected);
    THistoryList list(nullptr, capacity);
    list.AddString("before");
    list.LoadFromIni(iniOf(text), "S");
    QCOMPARE(list.items(), expected);
}

void TestHistoryList::blankStoredAsQuestionMark() {
    THistoryList list;
    list.AssignList({" ", "a b"});
    TUnicodeIniFile ini = iniOf("");
    list.SaveToIni(ini, "S", false);
    QCOMPARE(ini.ReadString("S", "History0", ""), QString("?"));
    QCOMPARE(ini.ReadString("S", "History1", ""), QString("a b"));
    // The entry in memory stays a blank.
    QCOMPARE(list.at(0), QString(" "));

    THistoryList back;
    back.LoadFromIni(iniOf(ini.toBytes()), "S");
    QCOMPARE(back.items(), (QStringList{" ", "a b"}));
}

void TestHistoryList::saveDropsKeysOfALongerList() {
    TUnicodeIniFile ini = iniOf("[S]\nTop=7\nHistory0=a\nHistory1=b\nHistory2=c\n");
    THistoryList list;
    list.AssignList({"x"});
    list.SaveToIni(ini, "S", false);
    QCOMPARE(ini.SectionKeys("S"), (QStringList{"Top", "History0"}));
    QCOMPARE(ini.ReadString("S", "History0", ""), QString("x"));
}

void TestHistoryList::saveWithEraseEmptiesSection() {
    TUnicodeIniFile ini = iniOf("[S]\nOther=1\nHistory0=a\n[T]\nHistory0=t\n");
    THistoryList list;
    list.AssignList({"x", "y"});
    list.SaveToIni(ini, "S", true);
    QCOMPARE(ini.SectionKeys("S"), (QStringList{"History0", "History1"}));
    QCOMPARE(ini.ReadString("T", "History0", ""), QString("t"));
}

void TestHistoryList::fileRoundTrip() {
    QTemporaryDir dir;
    const QString file = dir.filePath("orvel.ini");
    THistoryList list;
    list.AssignList({"c:/a b.html", " ", "x=y"});
    QVERIFY(list.SaveToIni(file, "RecentFiles", true).ok());
    THistoryList back;
    back.LoadFromIni(file, "RecentFiles");
    QCOMPARE(back.items(), list.items());
    back.LoadFromIni(dir.filePath("missing.ini"), "RecentFiles");
    QCOMPARE(back.count(), 0);
}

void TestHistoryList::writeFailureNamesFile() {
    QTemporaryDir dir;
    const QString file = dir.filePath("no/such/folder/orvel.ini");
    THistoryList list;
    list.AddString("a");
    const TStatus written = list.SaveToIni(file, "S", false);
    QVERIFY(!written.ok());
    QVERIFY2(written.error().contains("orvel.ini"), qPrintable(written.error()));
}

// The list-editing dialog's rules.

void TestHistoryList::editRemove_data() {
    QTest::addColumn<QList<int>>("selected");
    QTest::addColumn<int>("focus");
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<QList<int>>("selectedAfter");
    QTest::newRow("middle one") << ints({2}) << 2 << QStringList{"a", "b", "d", "e"} << ints({2});
    QTest::newRow("last one selects new last")
        << ints({4}) << 4 << QStringList{"a", "b", "c", "d"} << ints({3});
    QTest::newRow("scattered, focus first")
        << ints({1, 3}) << 1 << QStringList{"a", "c", "e"} << ints({1});
    QTest::newRow("scattered, focus last")
        << ints({1, 3}) << 3 << QStringList{"a", "c", "e"} << ints({2});
    QTest::newRow("all") << ints({0, 1, 2, 3, 4}) << 0 << QStringList{} << ints({});
    QTest::newRow("nothing selected")
        << ints({}) << -1 << QStringList{"a", "b", "c", "d", "e"} << ints({});
}

void TestHistoryList::editRemove() {
    QFETCH(QList<int>, selected);
    QFETCH(int, focus);
    QFETCH(QStringList, expected);
    QFETCH(QList<int>, selectedAfter);
    TEditListModel m({"a", "b", "c", "d", "e"}, {1, 2, 3, 4, 5}, 0);
    m.setSelection(selected, focus);
    QCOMPARE(m.removeSelected(), !selected.isEmpty());
    QCOMPARE(m.texts(), expected);
    QCOMPARE(m.selection(), selectedAfter);
    QCOMPARE(m.removedObjects().size(), selected.size());
    QCOMPARE(m.objects().size(), expected.size());
}

void TestHistoryList::editMove_data() {
    QTest::addColumn<bool>("up");
    QTest::addColumn<QList<int>>("selected");
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<QList<int>>("selectedAfter");
    QTest::newRow("up one") << true << ints({2}) << QStringList{"a", "c", "b", "d", "e"}
                            << ints({1});
    QTest::newRow("up at top stays")
        << true << ints({0}) << QStringList{"a", "b", "c", "d", "e"} << ints({0});
    QTest::newRow("up gathers at top")
        << true << ints({0, 2, 4}) << QStringList{"a", "c", "b", "e", "d"} << ints({0, 1, 3});
    QTest::newRow("up block") << true << ints({2, 3}) << QStringList{"a", "c", "d", "b", "e"}
                              << ints({1, 2});
    QTest::newRow("down one") << false << ints({1}) << QStringList{"a", "c", "b", "d", "e"}
                              << ints({2});
    QTest::newRow("down gathers at bottom")
        << false << ints({0, 2, 4}) << QStringList{"b", "a", "d", "c", "e"} << ints({1, 3, 4});
    QTest::newRow("down block at bottom stays")
        << false << ints({3, 4}) << QStringList{"a", "b", "c", "d", "e"} << ints({3, 4});
}

void TestHistoryList::editMove() {
    QFETCH(bool, up);
    QFETCH(QList<int>, selected);
    QFETCH(QStringList, expected);
    QFETCH(QList<int>, selectedAfter);
    TEditListModel m({"a", "b", "c", "d", "e"}, {}, -1);
    m.setSelection(selected);
    const bool moved = up ? m.moveUp() : m.moveDown();
    QCOMPARE(m.texts(), expected);
    QCOMPARE(m.selection(), selectedAfter);
    QCOMPARE(moved, selected != selectedAfter);
}

void TestHistoryList::editRename_data() {
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<int>("duplicate");
    QTest::newRow("new text") << 1 << "z" << true << -1;
    QTest::newRow("other entry") << 1 << "c" << false << 2;
    QTest::newRow("other entry in other case") << 1 << "A" << false << 0;
    QTest::newRow("own text in other case") << 1 << "B" << true << -1;
    QTest::newRow("empty") << 1 << "" << false << -1;
    QTest::newRow("no such row") << 7 << "z" << false << -1;
}

void TestHistoryList::editRename() {
    QFETCH(int, row);
    QFETCH(QString, text);
    QFETCH(bool, accepted);
    QFETCH(int, duplicate);
    TEditListModel m({"a", "b", "c"}, {}, 0);
    QCOMPARE(m.duplicateOf(row, text), duplicate);
    QCOMPARE(m.rename(row, text), accepted);
    QCOMPARE(m.text(1), accepted ? text : QString("b"));
}

void TestHistoryList::editResultIndex_data() {
    QTest::addColumn<int>("start");
    QTest::addColumn<bool>("allowEdit");
    QTest::addColumn<QString>("action");
    QTest::addColumn<int>("expected");
    // Entries a b c d; start selects one, the action works on a new selection of row 3.
    QTest::newRow("edit: selected position") << 1 << true << "select3" << 3;
    QTest::newRow("no edit: start entry followed") << 1 << false << "select3up" << 1;
    QTest::newRow("no edit: start entry moved") << 1 << false << "start-down" << 2;
    QTest::newRow("no edit: start entry removed") << 1 << false << "start-remove" << -1;
    QTest::newRow("no edit: earlier entry removed") << 2 << false << "remove0" << 1;
    QTest::newRow("edit: nothing selected") << 1 << true << "none" << -1;
    QTest::newRow("no edit: no start entry") << -1 << false << "select3" << -1;
}

void TestHistoryList::editResultIndex() {
    QFETCH(int, start);
    QFETCH(bool, allowEdit);
    QFETCH(QString, action);
    QFETCH(int, expected);
    TEditListModel m({"a", "b", "c", "d"}, {}, start);
    if (action == "select3") {
        m.setSelection({3});
    } else if (action == "select3up") {
        m.setSelection({3});
        m.moveUp();
    } else if (action == "start-down") {
        m.moveDown();
    } else if (action == "start-remove") {
        m.removeSelected();
    } else if (action == "remove0") {
        m.setSelection({0});
        m.removeSelected();
    } else if (action == "none") {
        m.setSelection({});
    }
    QCOMPARE(m.resultIndex(allowEdit), expected);
}

void TestHistoryList::placement_data() {
    QTest::addColumn<QPoint>("pos");
    QTest::addColumn<QPoint>("expected");
    // A 200x100 window on the screen (100,50) 1000x800.
    QTest::newRow("inside") << QPoint(300, 200) << QPoint(300, 200);
    QTest::newRow("negative x centres") << QPoint(-1, 200) << QPoint(500, 400);
    QTest::newRow("negative y centres") << QPoint(300, -5) << QPoint(500, 400);
    QTest::newRow("right edge") << QPoint(1000, 200) << QPoint(900, 200);
    QTest::newRow("bottom edge") << QPoint(300, 840) << QPoint(300, 750);
    QTest::newRow("left of the screen") << QPoint(10, 10) << QPoint(100, 50);
}

void TestHistoryList::placement() {
    QFETCH(QPoint, pos);
    QFETCH(QPoint, expected);
    QCOMPARE(placeOnScreen(pos, QSize(200, 100), QRect(100, 50, 1000, 800)), expected);
}

QTEST_GUILESS_MAIN(TestHistoryList)
#include "tst_historylist.moc"
