#include "base/ui/QtDialogs.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace orvel;

class TestQtDialogs : public QObject {
    Q_OBJECT
private slots:
    void questionPlaced_data();
    void questionPlaced();
};

void TestQtDialogs::questionPlaced_data() {
    QTest::addColumn<bool>("placed");
    QTest::addColumn<int>("answer");
    QTest::newRow("at the point, Yes") << true << int(QMessageBox::Yes);
    QTest::newRow("at the point, No") << true << int(QMessageBox::No);
    QTest::newRow("where the desktop puts it") << false << int(QMessageBox::No);
}

// The real box stands where it was asked to, with the title split from the text, and gives
// the button pressed.
void TestQtDialogs::questionPlaced() {
    QFETCH(bool, placed);
    QFETCH(int, answer);
    TQtDialogs dialogs;
    const QPoint at(321, 123);
    QPoint seen;
    QString title;
    QTimer::singleShot(0, this, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        QVERIFY(box);
        seen = box->frameGeometry().topLeft();
        title = box->windowTitle();
        box->button(QMessageBox::StandardButton(answer))->click();
    });
    const TMsgResult r = placed
                             ? dialogs.askAt("Viewer", "Delete|Delete it?", mbYes | mbNo, mrNo, at)
                             : dialogs.ask("Viewer", "Delete|Delete it?", mbYes | mbNo, mrNo);
    QCOMPARE(r, answer == QMessageBox::Yes ? mrYes : mrNo);
    QCOMPARE(title, QString("Delete"));
    if (placed)
        QCOMPARE(seen, at);
    else
        QVERIFY(seen != at);
}

QTEST_MAIN(TestQtDialogs)
#include "tst_qtdialogs.moc"
