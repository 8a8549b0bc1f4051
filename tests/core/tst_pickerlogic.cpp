#include "dialogs/core/DateFormats.h"
#include "dialogs/core/PickerLogic.h"

#include <QTest>

using namespace orvel;

class TestPickerLogic : public QObject {
    Q_OBJECT
private slots:
    void dateFormats_data();
    void dateFormats();
    void formatListShowsPatternsWithoutQuotes();
    void startDate_data();
    void startDate();
    void propertyItems_data();
    void propertyItems();
    void fontEntry_data();
    void fontEntry();
    void history_data();
    void history();
};

void TestPickerLogic::dateFormats_data() {
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QStringList>("expected"); // formats 0 to 6 for 5 March 2024
    // The month names are the locale's own: what Qt's locale data gives for March.
    QTest::newRow("English") << "en_US" << QStringList{"2024-03-05", "5.3.2024",    "5.3.24",
                                                       "05.03.2024", "5. Mar 2024", "5. March 2024",
                                                       "03/05/2024"};
    QTest::newRow("German") << "de_DE" << QStringList{"2024-03-05", "5.3.2024",     "5.3.24",
                                                      "05.03.2024", "5. März 2024", "5. März 2024",
                                                      "03/05/2024"};
    QTest::newRow("Hungarian") << "hu_HU"
                               << QStringList{"2024-03-05", "5.3.2024",      "5.3.24",
                                              "05.03.2024", "5. márc. 2024", "5. március 2024",
                                              "03/05/2024"};
}

void TestPickerLogic::dateFormats() {
    QFETCH(QString, locale);
    QFETCH(QStringList, expected);
    const QLocale l(locale);
    const QDate date(2024, 3, 5);
    QCOMPARE(l.monthName(3, QLocale::ShortFormat), expected.at(4).section(u' ', 1, -2));
    QCOMPARE(l.monthName(3, QLocale::LongFormat), expected.at(5).section(u' ', 1, -2));
    for (int i = 0; i < kDateFormatCount; ++i)
        QCOMPARE(formatPickerDate(date, i, l), expected.at(i));
    QVERIFY(formatPickerDate(date, kDateFormatCount, l).isEmpty());
    QVERIFY(formatPickerDate(date, -1, l).isEmpty());
}

void TestPickerLogic::formatListShowsPatternsWithoutQuotes() {
    const QDate date(2024, 3, 5);
    // The slashes are written whatever the locale's date separator.
    QCOMPARE(dateFormatEntry(date, 6, QLocale("de_DE")), QString("03/05/2024 (mm/dd/yyyy)"));
    QCOMPARE(dateFormatEntry(date, 4, QLocale("en_US")), QString("5. Mar 2024 (d. mmm yyyy)"));
    QCOMPARE(dateOutputPattern(6), QString("mm\"/\"dd\"/\"yyyy"));
    QCOMPARE(dateControlPattern(6), QString("MM/dd/yyyy"));
}

void TestPickerLogic::startDate_data() {
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QDate>("expected");
    QTest::newRow("English short date") << "en_US"
                                        << "3/5/24" << QDate(2024, 3, 5);
    QTest::newRow("German short date") << "de_DE"
                                       << "05.03.24" << QDate(2024, 3, 5);
    QTest::newRow("Hungarian short date") << "hu_HU"
                                          << "2024. 03. 05." << QDate(2024, 3, 5);
    QTest::newRow("empty text") << "en_US"
                                << "" << QDate();
    QTest::newRow("no date") << "de_DE"
                             << "morgen" << QDate();
}

void TestPickerLogic::startDate() {
    QFETCH(QString, locale);
    QFETCH(QString, text);
    QFETCH(QDate, expected);
    QCOMPARE(readPickerDate(text, QLocale(locale)), expected);
}

void TestPickerLogic::propertyItems_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("items");
    QTest::newRow("background position")
        << "\"<user defined>\",top,bottom,left,right"
        << QStringList{"<user defined>", "top", "bottom", "left", "right"};
    QTest::newRow("quoted comma") << "\"a, b\",c" << QStringList{"a, b", "c"};
    QTest::newRow("blanks around items") << " yes , no " << QStringList{"yes", "no"};
    QTest::newRow("empty items dropped") << "a,,b," << QStringList{"a", "b"};
    QTest::newRow("unclosed quote") << "x,\"y,z" << QStringList{"x", "y,z"};
    QTest::newRow("nothing") << "" << QStringList{};
}

void TestPickerLogic::propertyItems() {
    QFETCH(QString, text);
    QFETCH(QStringList, items);
    QCOMPARE(splitPropertyItems(text), items);
}

void TestPickerLogic::fontEntry_data() {
    QTest::addColumn<QStringList>("families");
    QTest::addColumn<QString>("wanted");
    QTest::addColumn<int>("entry");
    const QStringList withCourier{"Andale Mono", "Courier New", "DejaVu Sans Mono"};
    const QStringList withoutCourier{"Andale Mono", "DejaVu Sans Mono", "Liberation Mono"};
    QTest::newRow("the stored font") << withCourier << "DejaVu Sans Mono" << 2;
    QTest::newRow("letter case aside") << withCourier << "dejavu sans mono" << 2;
    QTest::newRow("missing font: Courier New") << withCourier << "Gone Mono" << 1;
    QTest::newRow("no Courier New: the system's fixed font")
        << withoutCourier << "Courier New" << 1;
    QTest::newRow("empty name: the system's fixed font") << withoutCourier << "" << 1;
    QTest::newRow("nothing known: the first") << QStringList{"Zeta", "Eta"} << "Gone" << 0;
    QTest::newRow("no fonts at all") << QStringList{} << "Courier New" << -1;
}

void TestPickerLogic::fontEntry() {
    QFETCH(QStringList, families);
    QFETCH(QString, wanted);
    QFETCH(int, entry);
    QCOMPARE(chooseFontEntry(families, wanted, {"DejaVu Sans Mono"}), entry);
}

void TestPickerLogic::history_data() {
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("size");
    QTest::addColumn<QStringList>("after");
    QTest::newRow("new text on top")
        << QStringList{"a", "b"} << "c" << 15 << QStringList{"c", "a", "b"};
    QTest::newRow("other letter case moves and takes the new spelling")
        << QStringList{"top", "Main", "end"} << "MAIN" << 15 << QStringList{"MAIN", "top", "end"};
    QTest::newRow("empty text changes nothing") << QStringList{"a"} << "" << 15 << QStringList{"a"};
    QStringList twenty;
    for (int i = 0; i < 20; ++i)
        twenty << QString("n%1").arg(i);
    // The anchor list holds 20: the oldest goes only then, not at 15.
    QStringList expected = QStringList{"new"} + twenty.mid(0, 19);
    QTest::newRow("full list of 20 drops its oldest") << twenty << "new" << 20 << expected;
    QTest::newRow("list of 16 keeps growing to 20")
        << twenty.mid(0, 16) << "new" << 20 << QStringList{"new"} + twenty.mid(0, 16);
}

void TestPickerLogic::history() {
    QFETCH(QStringList, before);
    QFETCH(QString, text);
    QFETCH(int, size);
    QFETCH(QStringList, after);
    QStringList list = before;
    addToHistory(list, text, size);
    QCOMPARE(list, after);
}

QTEST_APPLESS_MAIN(TestPickerLogic)
#include "tst_pickerlogic.moc"
