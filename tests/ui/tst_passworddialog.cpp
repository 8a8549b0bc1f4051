#include "projects/ui/PwdDlg.h"

#include <QApplication>
#include <QClipboard>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <functional>

using namespace orvel;

namespace {

// Acts on the dialog once it runs modally.
void whenShown(TPasswordDialog& dlg, std::function<void()> act) {
    QTimer::singleShot(0, &dlg, [&dlg, act = std::move(act)] {
        QVERIFY(dlg.isVisible());
        act();
    });
}

QPushButton* button(TPasswordDialog& dlg, const char* name) {
    return dlg.findChild<QPushButton*>(QString::fromLatin1(name));
}

} // namespace

class TestPasswordDialog : public QObject {
    Q_OBJECT
private slots:
    void shortForm_data();
    void shortForm();
    void fullForm_data();
    void fullForm();
    void pasteReplacesTheBox();
    void maskedAndWidenedToPrompt();
};

void TestPasswordDialog::shortForm_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("press");
    QTest::addColumn<int>("result");
    QTest::addColumn<QString>("pwd");
    QTest::newRow("OK") << "s3cr3t #1"
                        << "ok" << 1 << "s3cr3t #1";
    QTest::newRow("Return is OK") << "typed"
                                  << "return" << 1 << "typed";
    QTest::newRow("Cancel keeps the old value") << "typed"
                                                << "cancel" << 2 << "old";
    QTest::newRow("Escape cancels") << "typed"
                                    << "escape" << 2 << "old";
    QTest::newRow("empty OK") << ""
                              << "ok" << 1 << "";
}

void TestPasswordDialog::shortForm() {
    QFETCH(QString, typed);
    QFETCH(QString, press);
    QFETCH(int, result);
    QFETCH(QString, pwd);
    TPasswordDialog dlg;
    QString value = QStringLiteral("old");
    whenShown(dlg, [&] {
        QVERIFY(dlg.passwordBox()->text().isEmpty());
        QVERIFY(!button(dlg, "skip")->isVisible());
        QVERIFY(!dlg.findChild<QGroupBox*>()->isVisible());
        QTest::keyClicks(dlg.passwordBox(), typed);
        if (press == "return")
            QTest::keyClick(dlg.passwordBox(), Qt::Key_Return);
        else if (press == "escape")
            QTest::keyClick(dlg.passwordBox(), Qt::Key_Escape);
        else
            button(dlg, press.toLatin1().constData())->click();
    });
    QCOMPARE(dlg.Execute(QStringLiteral("Upload"), QStringLiteral("FTP password"), value), result);
    QCOMPARE(value, pwd);
    QCOMPARE(dlg.windowTitle(), QStringLiteral("Upload"));
}

void TestPasswordDialog::fullForm_data() {
    QTest::addColumn<int>("modeIn");
    QTest::addColumn<QString>("radio");
    QTest::addColumn<QString>("press");
    QTest::addColumn<int>("result");
    QTest::addColumn<int>("modeOut");
    QTest::newRow("128 shown, 256 chosen") << 1 << "256 bit"
                                           << "ok" << 1 << 3;
    QTest::newRow("256 shown, automatic chosen") << 3 << "Automatic"
                                                 << "ok" << 1 << 0;
    QTest::newRow("automatic shown, 128 chosen") << 0 << "128 bit"
                                                 << "ok" << 1 << 1;
    QTest::newRow("Skip leaves the mode") << 3 << "128 bit"
                                          << "skip" << 6 << 3;
    QTest::newRow("Cancel leaves the mode") << 0 << "256 bit"
                                            << "cancel" << 2 << 0;
}

void TestPasswordDialog::fullForm() {
    QFETCH(int, modeIn);
    QFETCH(QString, radio);
    QFETCH(QString, press);
    QFETCH(int, result);
    QFETCH(int, modeOut);
    TPasswordDialog dlg;
    QString pwd;
    int mode = modeIn;
    whenShown(dlg, [&] {
        QVERIFY(button(dlg, "skip")->isVisible());
        QVERIFY(dlg.findChild<QGroupBox*>()->isVisible());
        QCOMPARE(dlg.mode(), modeIn);
        QTest::keyClicks(dlg.passwordBox(), QStringLiteral("pw"));
        for (QRadioButton* r : dlg.findChildren<QRadioButton*>())
            if (r->text() == radio)
                r->click();
        button(dlg, press.toLatin1().constData())->click();
    });
    QCOMPARE(dlg.Execute(QPoint(30, 40), QStringLiteral("Publish"), QStringLiteral("Proxy"), true,
                         true, pwd, mode),
             result);
    QCOMPARE(mode, modeOut);
    QCOMPARE(pwd, result == 1 ? QStringLiteral("pw") : QString());
    QCOMPARE(dlg.pos(), QPoint(30, 40));
}

void TestPasswordDialog::pasteReplacesTheBox() {
    TPasswordDialog dlg;
    QApplication::clipboard()->setText(QStringLiteral("from clipboard"));
    QString pwd;
    whenShown(dlg, [&] {
        QTest::keyClicks(dlg.passwordBox(), QStringLiteral("typed first"));
        button(dlg, "paste")->click();
        QCOMPARE(dlg.passwordBox()->text(), QStringLiteral("from clipboard"));
        button(dlg, "ok")->click();
    });
    QCOMPARE(dlg.Execute(QStringLiteral("t"), QStringLiteral("p"), pwd), 1);
    QCOMPARE(pwd, QStringLiteral("from clipboard"));
}

void TestPasswordDialog::maskedAndWidenedToPrompt() {
    TPasswordDialog dlg;
    const QString longPrompt = QStringLiteral("Password for ftp.example.org, user webmaster, "
                                              "needed to upload the changed files of the project")
                                   .repeated(2);
    dlg.setup(QStringLiteral("t"), longPrompt + u'\n' + QStringLiteral("second line"), false, false,
              0);
    dlg.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dlg));
    dlg.passwordBox()->insert(QStringLiteral("abc"));
    QCOMPARE(dlg.passwordBox()->displayText(), QStringLiteral("***"));
    QVERIFY(dlg.promptLabel()->font().bold());
    const QFontMetrics fm(dlg.promptLabel()->font());
    QVERIFY(dlg.width() >= fm.horizontalAdvance(longPrompt));
    QVERIFY(dlg.promptLabel()->height() >= 2 * fm.height());
}

QTEST_MAIN(TestPasswordDialog)
#include "tst_passworddialog.moc"
