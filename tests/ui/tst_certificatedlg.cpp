// The question about a server certificate that failed verification, also when a worker
// thread asks it.

#include "projects/ui/CertificateDlg.h"
#include "projects/ui/QtTransferDialogs.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QThread>
#include <QTimer>

using namespace orvel;

namespace {
TCerticateInfo sample() {
    TCerticateInfo info;
    info.Server = QStringLiteral("ftps://ftp.example.org:21");
    info.Subject = QStringLiteral("CN=ftp.example.org");
    info.Issuer = QStringLiteral("CN=Someone <unknown>");
    info.Fingerprint = QStringLiteral("AB:CD:EF:01");
    info.ValidFrom = QDateTime(QDate(2024, 1, 1), QTime(0, 0), Qt::UTC);
    info.ValidUntil = QDateTime(QDate(2030, 1, 1), QTime(0, 0), Qt::UTC);
    info.Reasons = {QStringLiteral("The certificate is self-signed, and untrusted")};
    return info;
}

// Answers the next modal certificate dialog with accept or refuse; records the thread.
void answerNextDialog(bool accept, QThread** shownIn) {
    QTimer::singleShot(50, qApp, [accept, shownIn] {
        auto* dlg = qobject_cast<TCertificateDialog*>(QApplication::activeModalWidget());
        if (!dlg) {
            answerNextDialog(accept, shownIn);
            return;
        }
        *shownIn = dlg->thread();
        (accept ? dlg->acceptButton() : dlg->refuseButton())->click();
    });
}
} // namespace

class TestCertificateDialog : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void showsWhatTheUserNeeds();
    void answers_data();
    void answers();
    void askedFromAWorker();
};

void TestCertificateDialog::showsWhatTheUserNeeds() {
    TCertificateDialog dlg;
    dlg.setup(sample());
    const QString text = dlg.detailsLabel()->text();
    for (const char* part : {"ftps://ftp.example.org:21", "CN=ftp.example.org", "AB:CD:EF:01",
                             "self-signed", "CN=Someone &lt;unknown&gt;", "2030"})
        QVERIFY2(text.contains(QString::fromLatin1(part)), part);
    QVERIFY(dlg.refuseButton()->isDefault());
}

void TestCertificateDialog::answers_data() {
    QTest::addColumn<bool>("accept");
    QTest::newRow("accept") << true;
    QTest::newRow("refuse") << false;
}

void TestCertificateDialog::answers() {
    QFETCH(bool, accept);
    TQtTransferDialogs dialogs(nullptr);
    QThread* shownIn = nullptr;
    answerNextDialog(accept, &shownIn);
    QCOMPARE(dialogs.confirmCertificate(sample()), accept);
    QCOMPARE(shownIn, qApp->thread());
}

void TestCertificateDialog::askedFromAWorker() {
    TQtTransferDialogs dialogs(nullptr);
    QThread* shownIn = nullptr;
    answerNextDialog(true, &shownIn);
    bool answer = false;
    QThread* worker = QThread::create([&] { answer = dialogs.confirmCertificate(sample()); });
    worker->start();
    // The user-interface thread waits as a publishing run does: processing events.
    while (!worker->isFinished())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    worker->wait();
    delete worker;
    QVERIFY(answer);
    QCOMPARE(shownIn, qApp->thread());
}

QTEST_MAIN(TestCertificateDialog)
#include "tst_certificatedlg.moc"
