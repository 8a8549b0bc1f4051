#include "search/core/FileFilterList.h"

#include <QTest>

using namespace orvel;

namespace {

// Rows written as "description=pattern;..." for compact tables.
QString show(const TFileFilterList& list) {
    QStringList rows;
    for (const TFilterRow& row : list.rows())
        rows << row.description + '=' + row.pattern;
    return rows.join(';');
}

} // namespace

class TestFileFilterList : public QObject {
    Q_OBJECT
private slots:
    void parseAndRebuild_data();
    void parseAndRebuild();
    void editing_data();
    void editing();
    void fullListTakesNoMore();
};

void TestFileFilterList::parseAndRebuild_data() {
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QString>("rows");
    QTest::addColumn<QString>("rebuilt");

    QTest::newRow("empty") << ""
                           << ""
                           << "";
    QTest::newRow("descriptions get their pattern")
        << "HTML|*.htm;*.html|All|*.*"
        << "HTML=*.htm;*.html;All=*.*"
        << "HTML (*.htm;*.html)|*.htm;*.html|All (*.*)|*.*";
    QTest::newRow("pattern already shown") << "Images (*.gif)|*.gif"
                                           << "Images (*.gif)=*.gif"
                                           << "Images (*.gif)|*.gif";
    QTest::newRow("missing pattern") << "HTML|*.htm|Other"
                                     << "HTML=*.htm;Other=*.*"
                                     << "HTML (*.htm)|*.htm|Other (*.*)|*.*";
    QTest::newRow("empty pattern") << "Other|"
                                   << "Other=*.*"
                                   << "Other (*.*)|*.*";
}

void TestFileFilterList::parseAndRebuild() {
    QFETCH(QString, filter);
    QFETCH(QString, rows);
    QFETCH(QString, rebuilt);
    const TFileFilterList list(filter);
    QCOMPARE(show(list), rows);
    QCOMPARE(list.filter(), rebuilt);
}

void TestFileFilterList::editing_data() {
    QTest::addColumn<QString>("op");
    QTest::addColumn<int>("current");
    QTest::addColumn<QString>("rows");
    QTest::addColumn<int>("after");

    // The start: a=1;b=2;c=3; the new row is n=9.
    QTest::newRow("add inserts at current") << "add" << 1 << "a=1;n=9;b=2;c=3" << 1;
    QTest::newRow("replace") << "replace" << 2 << "a=1;b=2;n=9" << 2;
    QTest::newRow("remove middle") << "remove" << 1 << "a=1;c=3" << 1;
    QTest::newRow("remove last") << "remove" << 2 << "a=1;b=2" << 1;
    QTest::newRow("up") << "up" << 1 << "b=2;a=1;c=3" << 0;
    QTest::newRow("up at top") << "up" << 0 << "a=1;b=2;c=3" << 0;
    QTest::newRow("down") << "down" << 1 << "a=1;c=3;b=2" << 2;
    QTest::newRow("down at bottom") << "down" << 2 << "a=1;b=2;c=3" << 2;
    QTest::newRow("enter above last overwrites") << "enter" << 1 << "a=1;n=9;c=3" << 1;
    QTest::newRow("enter on last appends") << "enter" << 2 << "a=1;b=2;c=3;n=9" << 3;
}

void TestFileFilterList::editing() {
    QFETCH(QString, op);
    QFETCH(int, current);
    QFETCH(QString, rows);
    QFETCH(int, after);
    TFileFilterList list("a|1|b|2|c|3");
    const TFilterRow n{"n", "9"};
    int result = -1;
    if (op == "add")
        result = list.add(current, n);
    else if (op == "replace")
        result = list.replace(current, n);
    else if (op == "remove")
        result = list.remove(current);
    else if (op == "up")
        result = list.moveUp(current);
    else if (op == "down")
        result = list.moveDown(current);
    else if (op == "enter")
        result = list.enter(current, n);
    QCOMPARE(show(list), rows);
    QCOMPARE(result, after);
}

void TestFileFilterList::fullListTakesNoMore() {
    QString filter;
    for (int i = 0; i < 16; ++i)
        filter += QStringLiteral("d%1|p%1|").arg(i);
    filter.chop(1);
    TFileFilterList list(filter);
    QCOMPARE(list.count(), TFileFilterList::kMaxRows); // the rest is dropped
    QCOMPARE(list.rows().last().description, QStringLiteral("d13"));
    const QString before = list.filter();
    QCOMPARE(list.add(3, {"n", "9"}), 3);
    QCOMPARE(list.filter(), before);
    // Enter on the last row of a full grid overwrites it.
    QCOMPARE(list.enter(13, {"n", "9"}), 13);
    QCOMPARE(list.rows().last(), (TFilterRow{"n", "9"}));
    QCOMPARE(list.count(), TFileFilterList::kMaxRows);
}

QTEST_APPLESS_MAIN(TestFileFilterList)
#include "tst_filefilterlist.moc"
