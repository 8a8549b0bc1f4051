#include "search/ui/FileFilterDlg.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

using namespace orvel;

class TestFileFilterDlg : public QObject {
    Q_OBJECT
private slots:
    void okRebuildsTheFilter();
    void cancelKeepsTheFilter();
    void keysEditTheRows();
};

namespace {

template <class T> T* child(QWidget& w, const char* name) {
    T* c = w.findChild<T*>(QString::fromLatin1(name));
    if (!c)
        qFatal("no child %s", name);
    return c;
}

// Presses a button of the modal dialog once it is shown.
void pressLater(TFileFilterDialog& dlg, const char* button, std::function<void()> before = {}) {
    QTimer::singleShot(0, &dlg, [&dlg, button, before] {
        if (before)
            before();
        child<QPushButton>(dlg, button)->click();
    });
}

} // namespace

void TestFileFilterDlg::okRebuildsTheFilter() {
    TFileFilterDialog dlg;
    QString filter = "HTML|*.htm;*.html|All|*.*";
    pressLater(dlg, "btnOK", [&dlg] {
        QCOMPARE(child<QLineEdit>(dlg, "edtDescription")->text(), QStringLiteral("HTML"));
        QCOMPARE(child<QLineEdit>(dlg, "edtFilter")->text(), QStringLiteral("*.htm;*.html"));
        child<QPushButton>(dlg, "btnDown")->click();
    });
    QVERIFY(dlg.Execute(QString(), filter));
    QCOMPARE(dlg.windowTitle(), QStringLiteral("File filter dialog"));
    QCOMPARE(filter, QStringLiteral("All (*.*)|*.*|HTML (*.htm;*.html)|*.htm;*.html"));
}

void TestFileFilterDlg::cancelKeepsTheFilter() {
    TFileFilterDialog dlg;
    QString filter = "HTML|*.htm";
    pressLater(dlg, "btnCancel", [&dlg] { child<QPushButton>(dlg, "btnRemove")->click(); });
    QVERIFY(!dlg.Execute("File filter for links", filter));
    QCOMPARE(dlg.windowTitle(), QStringLiteral("File filter for links"));
    QCOMPARE(filter, QStringLiteral("HTML|*.htm"));
}

void TestFileFilterDlg::keysEditTheRows() {
    TFileFilterDialog dlg;
    dlg.setFilter("A|*.a|B|*.b");
    dlg.show();
    QVERIFY(QTest::qWaitForWindowActive(&dlg));
    auto* description = child<QLineEdit>(dlg, "edtDescription");
    auto* pattern = child<QLineEdit>(dlg, "edtFilter");
    auto* grid = child<QTableWidget>(dlg, "grdFilter");

    // Down in the pattern field moves to the last row; Enter there appends.
    QTest::keyClick(pattern, Qt::Key_Down);
    QCOMPARE(grid->currentRow(), 1);
    description->setText("C");
    QTest::keyClick(description, Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), pattern);
    pattern->setText("*.c");
    QTest::keyClick(pattern, Qt::Key_Return);
    QCOMPARE(dlg.filter(), QStringLiteral("A (*.a)|*.a|B (*.b)|*.b|C (*.c)|*.c"));
    QCOMPARE(grid->currentRow(), 2);
    QCOMPARE(QApplication::focusWidget(), description);

    // Enter on a row above the last overwrites it.
    QTest::keyClick(pattern, Qt::Key_Up);
    QTest::keyClick(pattern, Qt::Key_Up);
    QCOMPARE(description->text(), QStringLiteral("A"));
    pattern->setText("*.aa");
    QTest::keyClick(pattern, Qt::Key_Return);
    QCOMPARE(dlg.filter(), QStringLiteral("A (*.aa)|*.aa|B (*.b)|*.b|C (*.c)|*.c"));

    // Rows below the last filled one cannot be chosen.
    grid->setCurrentCell(9, 0);
    QCOMPARE(grid->currentRow(), 2);
    QCOMPARE(description->text(), QStringLiteral("C"));
}

QTEST_MAIN(TestFileFilterDlg)
#include "tst_filefilterdlg.moc"
