// The transfer dialog (its choices and the mode word they give) and the status window of a
// run (progress, protocol, the final state and its button).

#include "ScriptedDialogs.h"
#include "TestFiles.h"
#include "base/core/IniFileUtils.h"
#include "base/ui/HListBox.h"
#include "projects/ui/TransferDlg.h"
#include "projects/ui/TransferStat.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace orvel;
using namespace orvel::test;

class TestTransferDialogs : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void startsFromTheCurrentFile();
    void withoutDocumentOnlyChangedFiles();
    void modeWord_data();
    void modeWord();
    void missingFolderKeepsTheDialog();
    void browsePutsTheFolderFirst();
    void filterHistoryIsKept();
    void progressLine_data();
    void progressLine();
    void finalTexts_data();
    void finalTexts();
    void cancelThenOk();
    void placementIsKept();

private:
    TTransferChoice choice(const QString& currentFile) const;
    QString root() const { return m_dir->path() + QStringLiteral("/site/"); }

    std::unique_ptr<QTemporaryDir> m_dir;
    ScriptedDialogs m_script;
};

void TestTransferDialogs::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    QDir().mkpath(root() + QStringLiteral("a/b"));
    m_script.reset();
}

void TestTransferDialogs::cleanup() {
    const QStringList problems = m_script.problems();
    QVERIFY2(problems.isEmpty(), qPrintable(problems.join(u'\n')));
}

TTransferChoice TestTransferDialogs::choice(const QString& currentFile) const {
    TTransferChoice c;
    c.Destination = QStringLiteral("ftp.example.org|/www");
    c.ProjectRoot = root();
    c.Directory = currentFile.isEmpty() ? QString() : root() + currentFile;
    c.SubDirs = QStringLiteral("a,a/b");
    return c;
}

void TestTransferDialogs::startsFromTheCurrentFile() {
    TTransferDialog dlg(nullptr, m_script);
    dlg.setup(choice(QStringLiteral("a/page.htm")));
    QVERIFY(dlg.rbCurrentFile()->isChecked());
    QVERIFY(!dlg.cbSync()->isEnabled());
    QVERIFY(!dlg.cbDirectory()->isEnabled() && !dlg.cbFilter()->isEnabled() &&
            !dlg.cbSubDirs()->isEnabled());
    QCOMPARE(dlg.cbFilter()->currentText(), QStringLiteral("*.*"));
    const QList<QLabel*> labels = dlg.findChildren<QLabel*>();
    QStringList texts;
    for (QLabel* l : labels)
        texts << l->text();
    for (const QString& shown : {QStringLiteral("ftp.example.org"), QStringLiteral("/www"),
                                 QStringLiteral("a/page.htm"), QStringLiteral("a")})
        QVERIFY2(texts.contains(shown), qPrintable(texts.join(u'|')));
    // "All files in": its boxes open, synchronising is cleared.
    dlg.rbAllFiles()->setChecked(true);
    dlg.cbSync()->setChecked(true);
    dlg.rbChosenDir()->setChecked(true);
    QVERIFY(dlg.cbDirectory()->isEnabled() && dlg.cbFilter()->isEnabled() &&
            dlg.cbSubDirs()->isEnabled());
    QVERIFY(!dlg.cbSync()->isChecked());
    QCOMPARE(dlg.cbDirectory()->count(), 2);
}

void TestTransferDialogs::withoutDocumentOnlyChangedFiles() {
    TTransferDialog dlg(nullptr, m_script);
    dlg.setup(choice(QString()));
    QVERIFY(dlg.rbChanged()->isChecked());
    QVERIFY(!dlg.rbCurrentFile()->isEnabled());
    QVERIFY(!dlg.rbCurrentDir()->isEnabled());
}

void TestTransferDialogs::modeWord_data() {
    QTest::addColumn<QString>("selection");
    QTest::addColumn<bool>("subDirs");
    QTest::addColumn<bool>("sync");
    QTest::addColumn<bool>("overwrite");
    QTest::addColumn<bool>("dryRun");
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("directory");
    QTest::addColumn<QString>("filter");
    QTest::newRow("current file, sync refused")
        << "file" << false << true << false << false << 0 << ""
        << "*.*";
    QTest::newRow("current folder synchronised")
        << "dir" << false << true << false << false << 17 << ""
        << "*.*";
    QTest::newRow("all project files") << "all" << false << false << false << false << 10 << ""
                                       << "*.*";
    QTest::newRow("all, synchronised, overwritten")
        << "all" << false << true << true << false << 58 << ""
        << "*.*";
    QTest::newRow("chosen folder with subfolders")
        << "chosen" << true << false << false << false << 11 << "a/b"
        << "*.htm";
    QTest::newRow("changed files, shown only")
        << "changed" << false << false << false << true << 68 << ""
        << "*.*";
}

void TestTransferDialogs::modeWord() {
    QFETCH(QString, selection);
    QFETCH(bool, subDirs);
    QFETCH(bool, sync);
    QFETCH(bool, overwrite);
    QFETCH(bool, dryRun);
    QFETCH(int, mode);
    QFETCH(QString, directory);
    QFETCH(QString, filter);
    TTransferDialog dlg(nullptr, m_script);
    dlg.setup(choice(QStringLiteral("a/page.htm")));
    QRadioButton* radio = selection == u"file"     ? dlg.rbCurrentFile()
                          : selection == u"dir"    ? dlg.rbCurrentDir()
                          : selection == u"all"    ? dlg.rbAllFiles()
                          : selection == u"chosen" ? dlg.rbChosenDir()
                                                   : dlg.rbChanged();
    radio->setChecked(true);
    if (selection == u"chosen") {
        dlg.cbDirectory()->setCurrentIndex(1);
        dlg.cbFilter()->setEditText(filter);
    }
    dlg.cbSubDirs()->setChecked(subDirs);
    dlg.cbSync()->setChecked(sync);
    dlg.cbOverwrite()->setChecked(overwrite);
    TTransferChoice c = choice(QStringLiteral("a/page.htm"));
    QVERIFY(dlg.take(c, dryRun));
    QCOMPARE(c.Mode, mode);
    QCOMPARE(c.Filter, filter);
    if (selection == u"chosen") {
        QCOMPARE(c.Directory, directory);
        QCOMPARE(c.SubDirs, QStringLiteral("a/b,a")); // the chosen one first
    }
}

void TestTransferDialogs::missingFolderKeepsTheDialog() {
    TTransferDialog dlg(nullptr, m_script);
    TTransferChoice c = choice(QString());
    c.SubDirs = QStringLiteral("gone");
    dlg.setup(c);
    dlg.rbChosenDir()->setChecked(true);
    m_script.expectError(QStringLiteral("Directory:\r\n") + root() +
                         QStringLiteral("gone\r\nnot found!"));
    QVERIFY(!dlg.take(c, false));
}

void TestTransferDialogs::browsePutsTheFolderFirst() {
    TTransferDialog dlg(nullptr, m_script);
    dlg.setup(choice(QString()));
    m_script.expectFolder(root() + QStringLiteral("a/b/"));
    dlg.btnBrowseClick();
    QVERIFY(dlg.rbChosenDir()->isChecked());
    QCOMPARE(dlg.cbDirectory()->itemText(0), QStringLiteral("a/b"));
    QCOMPARE(dlg.cbDirectory()->currentText(), QStringLiteral("a/b"));
    QCOMPARE(dlg.cbDirectory()->count(), 2); // no second "a/b"
    // A folder outside the project is refused.
    m_script.expectFolder(m_dir->path() + QStringLiteral("/"));
    m_script.expectError(QStringLiteral("not found in project directory"));
    dlg.btnBrowseClick();
    QCOMPARE(dlg.cbDirectory()->count(), 2);
}

void TestTransferDialogs::filterHistoryIsKept() {
    const QString iniName = m_dir->filePath(QStringLiteral("orvel.ini"));
    {
        TTransferDialog dlg(nullptr, m_script);
        dlg.setup(choice(QString()));
        dlg.rbChosenDir()->setChecked(true);
        dlg.cbFilter()->setEditText(QStringLiteral("*.css"));
        TTransferChoice c = choice(QString());
        QVERIFY(dlg.take(c, false));
        TUnicodeIniFile ini = TUnicodeIniFile::CreateForWrite(iniName);
        dlg.SaveToIni(ini);
        QVERIFY(ini.UpdateFile().ok());
    }
    QCOMPARE(TUnicodeIniFile::CreateForRead(iniName).ReadString(QStringLiteral("TransferFilter"),
                                                                QStringLiteral("History0"), {}),
             QStringLiteral("*.css"));
    TTransferDialog dlg(nullptr, m_script);
    dlg.LoadFromIni(TUnicodeIniFile::CreateForRead(iniName));
    QCOMPARE(dlg.cbFilter()->HistoryList()->at(0), QStringLiteral("*.css"));
}

void TestTransferDialogs::progressLine_data() {
    QTest::addColumn<qint64>("bytes");
    QTest::addColumn<qint64>("size");
    QTest::addColumn<int>("percent");
    QTest::addColumn<QString>("line");
    QTest::newRow("bytes") << qint64(512) << qint64(1000) << 51 << "512 B of 1000 B copied";
    QTest::newRow("KiB and MiB") << qint64(1536) << qint64(20 * 1048576) << 0
                                 << "1.50 KiB of 20.0 MiB copied";
    QTest::newRow("done") << (qint64(3) << 30) << (qint64(3) << 30) << 100
                          << "3.00 GiB of 3.00 GiB copied";
    QTest::newRow("no size") << qint64(10) << qint64(0) << 0 << "";
}

void TestTransferDialogs::progressLine() {
    QFETCH(qint64, bytes);
    QFETCH(qint64, size);
    QFETCH(int, percent);
    QFETCH(QString, line);
    TTransferStatus status(nullptr, m_script);
    status.UpdateProgress(bytes, size);
    QCOMPARE(status.progressBar()->value(), percent);
    QCOMPARE(status.progressLabel()->text(), line);
}

void TestTransferDialogs::finalTexts_data() {
    QTest::addColumn<bool>("stopped");
    QTest::addColumn<int>("deleted");
    QTest::addColumn<int>("copied");
    QTest::addColumn<QString>("text");
    QTest::newRow("cancelled") << true << 2 << 3 << "Canceled by user!";
    QTest::newRow("failed") << false << -1 << 3 << "Error during file transfer!";
    QTest::newRow("nothing") << false << 0 << 0 << "Nothing to do!";
    QTest::newRow("copied") << false << 0 << 7 << "7 file(s) copied";
    QTest::newRow("deleted") << false << 2 << 0 << "2 file(s) deleted!";
    QTest::newRow("both") << false << 2 << 7 << "2 file(s) deleted\r\n7 file(s) copied!";
}

void TestTransferDialogs::finalTexts() {
    QFETCH(bool, stopped);
    QFETCH(int, deleted);
    QFETCH(int, copied);
    QFETCH(QString, text);
    QCOMPARE(TTransferStatus::finalText(stopped, deleted, copied), text);
}

void TestTransferDialogs::cancelThenOk() {
    TTransferStatus status(nullptr, m_script);
    status.ShowWindow(QStringLiteral("FTP: host"), QStringLiteral("/www"),
                      QStringLiteral("Trying to connect"));
    QVERIFY(status.isVisible());
    QCOMPARE(status.button()->text(), QStringLiteral("Cancel"));
    status.StartCopy();
    status.SetStatus(QStringLiteral("index.htm"));
    status.SetError(QStringLiteral("*** Error copying: a.htm"));
    QCOMPARE(status.protocol()->count(), 3);
    QCOMPARE(status.protocol()->item(1)->text(), QStringLiteral("  index.htm"));
    // Its own controls do not close it while the run goes on.
    QVERIFY(!status.close());
    QVERIFY(status.isVisible());
    QTest::mouseClick(status.button(), Qt::LeftButton);
    QVERIFY(status.Stopped());
    // The final state waits for "OK".
    bool clicked = false;
    QTimer::singleShot(50, &status, [&] {
        QVERIFY(status.isModal());
        QCOMPARE(status.button()->text(), QStringLiteral("OK"));
        QCOMPARE(status.statusLabel()->text(), QStringLiteral("Canceled by user!"));
        clicked = true;
        QTest::mouseClick(status.button(), Qt::LeftButton);
    });
    status.CloseWindow(0, 1);
    QVERIFY(clicked);
    QVERIFY(!status.isVisible());
    QCOMPARE(m_script.beeps, 1);
    // The next run starts afresh.
    status.ShowWindow(QStringLiteral("Direct destination"), QStringLiteral("/srv"), QString());
    QVERIFY(!status.Stopped());
    QCOMPARE(status.protocol()->count(), 0);
    status.HideWindow();
}

void TestTransferDialogs::placementIsKept() {
    const QString iniName = m_dir->filePath(QStringLiteral("orvel.ini"));
    {
        TUnicodeIniFile ini = TUnicodeIniFile::CreateForWrite(iniName);
        ini.WriteInteger(QStringLiteral("TransferStatus"), QStringLiteral("Left"), 40);
        ini.WriteInteger(QStringLiteral("TransferStatus"), QStringLiteral("Top"), 30);
        ini.WriteInteger(QStringLiteral("TransferStatus"), QStringLiteral("Width"), 500);
        ini.WriteInteger(QStringLiteral("TransferStatus"), QStringLiteral("Height"), 420);
        QVERIFY(ini.UpdateFile().ok());
    }
    TTransferStatus status(nullptr, m_script);
    status.LoadFromIni(TUnicodeIniFile::CreateForRead(iniName));
    QCOMPARE(status.size(), QSize(500, 420));
    TUnicodeIniFile out = TUnicodeIniFile::CreateForWrite(iniName);
    status.SaveToIni(out);
    QCOMPARE(out.ReadInteger(QStringLiteral("TransferStatus"), QStringLiteral("Width"), 0), 500);
    QCOMPARE(out.ReadInteger(QStringLiteral("TransferStatus"), QStringLiteral("Left"), 0), 40);
}

QTEST_MAIN(TestTransferDialogs)
#include "tst_transferdialogs.moc"
