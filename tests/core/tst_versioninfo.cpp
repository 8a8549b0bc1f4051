#include "app/core/VersionInfo.h"

#include "TestFiles.h"

#include <QFile>
#include <QLocale>
#include <QTemporaryDir>
#include <QTest>

using namespace orvel;

class TestVersionInfo : public QObject {
    Q_OBJECT
private slots:
    void cut_data();
    void cut();
    void captionAndStartScreen();
    void emptyNameIsApplicationTitle();
    void dateIsExecutableModification();
    void compiledRecord();
};

void TestVersionInfo::cut_data() {
    QTest::addColumn<QString>("version");
    QTest::addColumn<QString>("expected");
    QTest::newRow("four numbers") << "6.4.4.0"
                                  << "6.4.4";
    QTest::newRow("five numbers") << "1.2.3.4.5"
                                  << "1.2.3";
    QTest::newRow("three numbers") << "1.2.3"
                                   << "1.2.3";
    QTest::newRow("two numbers") << "1.2"
                                 << "1.2";
    QTest::newRow("one number") << "7"
                                << "7";
    QTest::newRow("empty") << ""
                           << "";
}

void TestVersionInfo::cut() {
    QFETCH(QString, version);
    QFETCH(QString, expected);
    QCOMPARE(cutVersion(version), expected);
    QCOMPARE(versionSuffix(version), " (Version " + expected + ")");
}

void TestVersionInfo::captionAndStartScreen() {
    const TVersionInfo info =
        makeVersionInfo("Orvel", "6.4.4.0", "Copyright (C) 2026 A, B, licensed", QString());
    QCOMPARE(info.ProgVers, QString(" (Version 6.4.4)"));
    QCOMPARE(mainWindowCaption(info), QString("Orvel (Version 6.4.4)"));
    QCOMPARE(startScreenVersion(info), QString("Version 6.4.4"));
    QCOMPARE(startScreenLegalNotice(info.LegalNotice),
             QString("Copyright (C) 2026 A\n    B\n    licensed"));
    QCOMPARE(versionText(info), QString("Orvel 6.4.4\nCopyright (C) 2026 A\nB\nlicensed\n"));
}

void TestVersionInfo::emptyNameIsApplicationTitle() {
    QCOMPARE(makeVersionInfo("", "1.0.0.0", "", QString()).ProgVersName, QString("Tagsmith"));
}

void TestVersionInfo::dateIsExecutableModification() {
    QTemporaryDir dir;
    const QString exe = dir.filePath("orvel");
    test::writeAll(exe, "");
    QFile f(exe);
    QVERIFY(f.open(QIODevice::ReadWrite));
    const QDate date(2001, 2, 3);
    QVERIFY(f.setFileTime(QDateTime(date, QTime(12, 0)), QFileDevice::FileModificationTime));
    f.close();
    QCOMPARE(makeVersionInfo("Orvel", "1.0.0.0", "", exe).ProgVersDate,
             QLocale::system().toString(date, QLocale::ShortFormat));
}

void TestVersionInfo::compiledRecord() {
    const TVersionInfo info = readVersionInfo(QString());
    QCOMPARE(info.ProgVersName, QString("Orvel"));
    QCOMPARE(info.FileVersion.count('.'), 3);
    QVERIFY(info.ProgVers.startsWith(" (Version "));
}

QTEST_GUILESS_MAIN(TestVersionInfo)
#include "tst_versioninfo.moc"
