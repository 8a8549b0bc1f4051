// The image dialog as the user works it: a file chosen shows its link and size and a
// thumbnail, an edited element keeps its reference and what the dialog does not edit, and
// failures are reported as the user sees them.

#include "MiniHttpServer.h"
#include "ScriptedDialogs.h"
#include "base/ui/HListBox.h"
#include "dialogs/ui/ImageDlg.h"

#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QProcess>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>

using namespace orvel;

class TestImageDialog : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void newImageFromAFile();
    void linkCaseApplied();
    void editKeepsWhatItDoesNotEdit();
    void missingImageKeepsItsReference();
    void refusedImage();
    void calculateSize();
    void buttons();
    void thumbnailKeepsProportions();
    void remoteImage();
    void screenshot();

private:
    void make(const QString& name, const QString& size);
    QTemporaryDir m_dir;
    QString m_folder; // the document's folder
    test::ScriptedDialogs m_script;
    std::unique_ptr<TImageDialog> m_dlg;
    int m_linkCase = 0;
};

void TestImageDialog::make(const QString& name, const QString& size) {
    const QString file = m_dir.filePath(name);
    QDir().mkpath(QFileInfo(file).absolutePath());
    QCOMPARE(QProcess::execute("convert", {"-size", size, "gradient:red-blue", file}), 0);
}

void TestImageDialog::initTestCase() {
    QVERIFY(m_dir.isValid());
    m_folder = m_dir.path() + "/site/";
    make("site/img/logo.png", "61x43");
    make("site/Img/Big.PNG", "414x100");
    make("other/x.gif", "20x30");
}

void TestImageDialog::init() {
    m_script.reset();
    m_linkCase = 0;
    m_dlg = std::make_unique<TImageDialog>();
    TImageDialogContext context;
    context.dialogs = &m_script;
    context.settingsFolder = m_dir.path() + u'/';
    context.programName = "Orvel";
    context.linkCase = [this] { return m_linkCase; };
    m_dlg->setContext(context);
}

void TestImageDialog::cleanup() {
    m_dlg.reset();
    const QStringList problems = m_script.problems();
    QVERIFY2(problems.isEmpty(), qPrintable(problems.join(u'\n')));
}

void TestImageDialog::newImageFromAFile() {
    m_dlg->begin(m_folder, {}, {});
    QCOMPARE(m_dlg->frameSpinner()->value(), 0);
    m_dlg->selectImage(m_folder + "img/logo.png");
    QCOMPARE(m_dlg->imageField()->currentText(), QString("img/logo.png"));
    QCOMPARE(m_dlg->widthField()->text(), QString("61"));
    QCOMPARE(m_dlg->heightField()->text(), QString("43"));
    m_dlg->hintField()->setText("Logo");
    QString image, attrs;
    m_dlg->finish(image, attrs);
    QCOMPARE(image, QString("img/logo.png"));
    QCOMPARE(attrs, QString(" alt=\"Logo\" width=\"61\" height=\"43\" border=\"0\""));
    // The folder of a new image is where the next one is looked for; the history has it.
    QCOMPARE(m_dlg->lastPath(), m_folder + "img/");
    QCOMPARE(m_dlg->imageField()->HistoryList()->at(0), QString("img/logo.png"));
    // A file outside the document's folder: parent steps.
    m_dlg->begin(m_folder, {}, {});
    m_dlg->selectImage(m_dir.filePath("other/x.gif"));
    QCOMPARE(m_dlg->imageField()->currentText(), QString("../other/x.gif"));
    QCOMPARE(m_dlg->widthField()->text(), QString("20"));
}

void TestImageDialog::linkCaseApplied() {
    m_linkCase = 1;
    m_dlg->begin(m_folder, {}, {});
    m_dlg->selectImage(m_folder + "Img/Big.PNG");
    QCOMPARE(m_dlg->imageField()->currentText(), QString("img/big.png"));
    // The file is still the one chosen, though no file has the lower-case name.
    QCOMPARE(m_dlg->imageName(), m_folder + "Img/Big.PNG");
    m_dlg->calculateSize();
    QCOMPARE(m_dlg->widthField()->text(), QString("414"));
}

void TestImageDialog::editKeepsWhatItDoesNotEdit() {
    const QString attrs0 =
        " srcset=\"img/logo-2x.png 2x\" alt=\"\" loading=\"lazy\" data-alt='d' width=\"10\"";
    m_dlg->begin(m_folder, "img/logo.png", attrs0);
    QCOMPARE(m_dlg->imageField()->currentText(), QString("img/logo.png"));
    QCOMPARE(m_dlg->widthField()->text(), QString("10"));
    QCOMPARE(m_dlg->hintField()->text(), QString());
    QCOMPARE(m_dlg->frameSpinner()->value(), -1); // none, and none is written
    QString image = "img/logo.png", attrs = attrs0;
    m_dlg->finish(image, attrs);
    QCOMPARE(attrs, attrs0);
    // Changing the title adds it and leaves the rest, the decorative alt="" included.
    m_dlg->begin(m_folder, "img/logo.png", attrs0);
    m_dlg->titleField()->setText("Our logo");
    m_dlg->finish(image, attrs);
    QCOMPARE(attrs, attrs0 + " title=\"Our logo\"");
}

void TestImageDialog::missingImageKeepsItsReference() {
    m_dlg->begin(m_folder, "img/gone.png", " alt=\"a\"");
    QCOMPARE(m_dlg->imageField()->currentText(), QString("img/gone.png"));
    QString image, attrs;
    m_dlg->finish(image, attrs);
    QCOMPARE(image, QString("img/gone.png"));
    QCOMPARE(attrs, QString(" alt=\"a\""));
}

void TestImageDialog::refusedImage() {
    QFile bad(m_folder + "img/fake.jpeg");
    QVERIFY(bad.open(QIODevice::WriteOnly));
    bad.write("not a picture at all");
    bad.close();
    m_dlg->begin(m_folder, {}, {});
    m_dlg->widthField()->setText("5");
    m_script.expectError("Invalid image format!");
    m_dlg->selectImage(bad.fileName());
    QCOMPARE(m_dlg->widthField()->text(), QString());
    m_script.expectError("not found!");
    m_script.expectInfo("Image dimensions not available!");
    m_dlg->imageField()->setCurrentText("img/none.png");
    QFile::remove(bad.fileName());
    m_dlg->calculateSize();
}

void TestImageDialog::calculateSize() {
    m_dlg->begin(m_folder, {}, {});
    m_dlg->imageField()->setCurrentText("img/logo.png");
    m_dlg->calculateSize();
    QCOMPARE(m_dlg->widthField()->text(), QString("61"));
    QCOMPARE(m_dlg->heightField()->text(), QString("43"));
    m_script.expectInfo("Image dimensions not available!");
    m_dlg->begin(m_folder, {}, {});
    m_dlg->calculateSize();
}

void TestImageDialog::buttons() {
    m_dlg->begin(m_folder, {}, " alt=\"Hint\" title=\"T\" width=\"3\" align=\"top\" vspace=\"4\"");
    m_dlg->copyHintToTitle();
    QCOMPARE(m_dlg->titleField()->text(), QString("Hint"));
    m_dlg->reset();
    QCOMPARE(m_dlg->hintField()->text(), QString());
    QCOMPARE(m_dlg->titleField()->text(), QString("Hint")); // the title stays
    QCOMPARE(m_dlg->widthField()->text(), QString());
    QCOMPARE(m_dlg->alignList()->currentIndex(), 0);
    QCOMPARE(m_dlg->vspaceSpinner()->value(), 0);
    QCOMPARE(m_dlg->frameSpinner()->value(), 0);
    // Left or right with no spacing gives a spacing of 5.
    m_dlg->alignList()->setCurrentIndex(2);
    Q_EMIT m_dlg->alignList()->activated(2);
    QCOMPARE(m_dlg->hspaceSpinner()->value(), 5);
    QString image, attrs;
    m_dlg->finish(image, attrs);
    QCOMPARE(attrs, QString(" title=\"Hint\" align=\"right\" border=\"0\" hspace=\"5\""));
}

void TestImageDialog::thumbnailKeepsProportions() {
    m_dlg->begin(m_folder, "Img/Big.PNG", {});
    QCOMPARE(m_dlg->thumbnail()->imageSize(), QSize(414, 100));
    QCOMPARE(m_dlg->thumbnail()->imageRect(), QRect(0, 0, 207, 50));
    m_dlg->begin(m_folder, "img/logo.png", {});
    QCOMPARE(m_dlg->thumbnail()->imageRect(), QRect(0, 0, 61, 43));
}

void TestImageDialog::remoteImage() {
    QFile file(m_folder + "img/logo.png");
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray png = file.readAll();
    test::MiniHttpServer server([&](const QByteArray& request) {
        return request.contains("/gone") ? test::httpResponse("404 Not Found", "gone")
                                         : test::httpResponse("200 OK", png);
    });
    QVERIFY(server.listening());
    // Editing a remote image: downloaded to the copy in the settings folder, shown, measured.
    const QString url = server.url("/pics/logo.png");
    m_dlg->begin(m_folder, url, " alt=\"x\"");
    QCOMPARE(m_dlg->thumbnail()->imageSize(), QSize(61, 43));
    QVERIFY(QFileInfo::exists(m_dir.filePath("~Orvel.png")));
    m_dlg->calculateSize();
    QCOMPARE(m_dlg->widthField()->text(), QString("61"));
    QString image, attrs;
    m_dlg->finish(image, attrs);
    QCOMPARE(image, url);
    QCOMPARE(attrs, QString(" alt=\"x\" width=\"61\" height=\"43\""));
    // A failed download is reported and the reference stays.
    m_script.expectError("gone.png");
    m_dlg->begin(m_folder, server.url("/gone.png"), {});
    QCOMPARE(m_dlg->imageField()->currentText(), server.url("/gone.png"));
    // What is not http or https is kept without a word.
    m_dlg->begin(m_folder, "ftp://example.org/a.png", {});
    QCOMPARE(m_dlg->imageField()->currentText(), QString("ftp://example.org/a.png"));
}

void TestImageDialog::screenshot() {
    // With ORVEL_SCREENSHOTS set, the dialog with a thumbnail is saved there to be looked at.
    const QString folder = qEnvironmentVariable("ORVEL_SCREENSHOTS");
    m_dlg->begin(m_folder, {}, {});
    m_dlg->selectImage(m_folder + "Img/Big.PNG");
    m_dlg->hintField()->setText("Big picture");
    m_dlg->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_dlg.get()));
    const QImage shot = m_dlg->grab().toImage();
    // The thumbnail shows the picture: red at its top left, not the empty background.
    const QImage thumb = m_dlg->thumbnail()->grab().toImage();
    QCOMPARE(thumb.pixelColor(2, 2).red() > 200, true);
    QCOMPARE(thumb.pixelColor(100, 150), m_dlg->thumbnail()->palette().base().color());
    if (!folder.isEmpty())
        QVERIFY(shot.save(folder + "/image-dialog.png"));
}

QTEST_MAIN(TestImageDialog)
#include "tst_imagedialog.moc"
