#include "search/ui/ConfirmReplDlg.h"

#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace orvel;

class TestConfirmRepl : public QObject {
    Q_OBJECT
private slots:
    void keysAnswer_data();
    void keysAnswer();
    void accessKeysShown_data();
    void accessKeysShown();
};

void TestConfirmRepl::keysAnswer_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<int>("action");
    QTest::newRow("Alt+Y") << int(Qt::Key_Y) << int(Qt::AltModifier) << int(raReplace);
    QTest::newRow("Alt+N") << int(Qt::Key_N) << int(Qt::AltModifier) << int(raSkip);
    QTest::newRow("Alt+A") << int(Qt::Key_A) << int(Qt::AltModifier) << int(raReplaceAll);
    QTest::newRow("Return: Yes is the default") << int(Qt::Key_Return) << 0 << int(raReplace);
    QTest::newRow("Esc") << int(Qt::Key_Escape) << 0 << int(raCancel);
}

// Through the real key handling of the modal dialog.
void TestConfirmRepl::keysAnswer() {
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(int, action);
    TConfirmReplDialog dlg;
    bool closedByKey = false;
    QTimer::singleShot(0, this, [&] {
        QVERIFY(QTest::qWaitForWindowActive(&dlg));
        QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : &dlg,
                        Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        // An access key clicks its button a moment later, as a mouse click would show.
        closedByKey = QTest::qWaitFor([&] { return !dlg.isVisible(); }, 2000);
        if (!closedByKey)
            dlg.reject(); // so that the test ends
    });
    const TReplaceAction got =
        dlg.Execute(QPoint(20, 20), QStringLiteral("Replace \"a\"\r\nby \"b\"?"));
    QVERIFY(closedByKey);
    QCOMPARE(int(got), action);
}

void TestConfirmRepl::accessKeysShown_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    QTest::newRow("Yes") << "btnYes"
                         << "&Yes";
    QTest::newRow("No") << "btnNo"
                        << "&No";
    QTest::newRow("All") << "btnAll"
                         << "&All";
}

// Each answer's access key is drawn: the button looks different from one without it.
void TestConfirmRepl::accessKeysShown() {
    QFETCH(QString, name);
    QFETCH(QString, text);
    TConfirmReplDialog dlg;
    auto* button = dlg.findChild<QPushButton*>(name);
    QVERIFY(button);
    QCOMPARE(button->text(), text);
    const QImage shown = button->grab().toImage();
    button->setText(QString(text).remove(u'&'));
    QVERIFY(button->grab().toImage() != shown);
}

QTEST_MAIN(TestConfirmRepl)
#include "tst_confirmrepl.moc"
