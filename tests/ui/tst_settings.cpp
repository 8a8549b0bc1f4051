#include "ShellFixture.h"
#include "TestFiles.h"
#include "app/ui/MainLayout.h"
#include "app/ui/Orvelfrm.h"
#include "base/core/HistoryList.h"
#include "base/core/IniFileUtils.h"
#include "editor/ui/OrvelMDI.h"
#include "search/ui/FindReplDlg.h"
#include "textcontrol/ui/EditorControl.h"

#include <QSplitter>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

using namespace orvel;
using orvel::test::readAll;
using orvel::test::writeAll;

class TestSettings : public QObject, protected test::ShellFixture {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void restartKeepsWhatTheUserSet();
    void maximizedWindowKeepsNormalPlacement();
    void handWrittenEightBitFileIsRewritten();
    void fileTypeTableDecidesTheType();
    void documentsGetTheirTypeSettings();
    void failedWritesReportedOnceEach();
    void f3SearchesTheStoredTextAfterARestart();

private:
    std::unique_ptr<THauptForm> start(const QStringList& files = {});
    QString ini() const { return dir->filePath("orvel.ini"); }
};

void TestSettings::init() {
    resetShell();
}

void TestSettings::cleanup() {
    const QStringList problems = shellProblems();
    QVERIFY2(problems.isEmpty(), qPrintable(problems.join(u'\n')));
}

std::unique_ptr<THauptForm> TestSettings::start(const QStringList& files) {
    TShellStart s = shellStart(files, true);
    s.languageCode = QStringLiteral("de-DE");
    auto w = shellWindow(s);
    // A first start asks for the projects root; a later one lets the user choose the project.
    const TUnicodeIniFile stored = TUnicodeIniFile::CreateForRead(ini());
    if (stored.ReadString("Config", "StdPath", QString()).isEmpty())
        script.expectFolder(dir->path() + QStringLiteral("/sites/"));
    else if (files.isEmpty() && stored.ReadInteger("Projects", "Count", 0) > 0)
        projects.expectSelect(spOpen, stored.ReadInteger("Projects", "Active", 0));
    w->Init();
    return w;
}

void TestSettings::restartKeepsWhatTheUserSet() {
    writeAll(dir->filePath("a.txt"), "a");
    {
        auto w = start({dir->filePath("a.txt")});
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
        w->setGeometry(100, 120, 900, 700);
        const auto setFirst = [](QSplitter* sp, int first) {
            const QList<int> sizes = sp->sizes();
            sp->setSizes({first, sizes.value(0) + sizes.value(1) - first});
        };
        setFirst(w->frame().mainSplit, 300);
        setFirst(w->frame().navSplit, 140);
        QCOMPARE(w->frame().navSplit->sizes().value(0), 140);
        w->searchHistory("FindDirs")->AddString(dir->path());
        w->searchHistory("FileFind")->AddString(QString::fromUtf8("Grüße"));
        w->settings().AnchorList = QStringList{"top", "end"};
        w->close();
        QVERIFY(!w->isVisible());
    }
    const TUnicodeIniFile file = TUnicodeIniFile::CreateForRead(ini());
    QCOMPARE(file.ReadInteger("Form", "Width", 0), 900);
    QCOMPARE(file.ReadInteger("Form", "FormSplit", 0), 300);
    QCOMPARE(file.ReadString("RecentFiles", "History0", QString()), dir->filePath("a.txt"));

    auto w = start();
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    QCOMPARE(w->geometry(), QRect(100, 120, 900, 700));
    QCOMPARE(w->frame().mainSplit->sizes().value(0), 300);
    QCOMPARE(w->frame().navSplit->sizes().value(0), 140);
    QCOMPARE(w->recentFiles().items(), QStringList{dir->filePath("a.txt")});
    QCOMPARE(w->searchHistory("FindDirs")->items(), QStringList{dir->path()});
    QCOMPARE(w->searchHistory("FileFind")->items(), QStringList{QString::fromUtf8("Grüße")});
    QCOMPARE(w->settings().AnchorList, (QStringList{"top", "end"}));
    QVERIFY(w->settings().Config.DecimalComma); // German: a comma
}

void TestSettings::maximizedWindowKeepsNormalPlacement() {
    writeAll(ini(), "[Form]\r\nLeft=10\r\nTop=20\r\nWidth=640\r\nHeight=480\r\nState=0\r\n");
    {
        auto w = start();
        w->showMaximized();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
        w->close();
    }
    const TUnicodeIniFile file = TUnicodeIniFile::CreateForRead(ini());
    QCOMPARE(file.ReadInteger("Form", "State", 0), 2);
    QCOMPARE(file.ReadInteger("Form", "Left", 0), 10);
    QCOMPARE(file.ReadInteger("Form", "Width", 0), 640);
    auto w = start();
    QVERIFY(w->windowState() & Qt::WindowMaximized);
}

void TestSettings::handWrittenEightBitFileIsRewritten() {
    // The projects root lies in the test's folder: the start makes the default project there.
    writeAll(ini(), "; written by hand\r\n"
                    "[Config]\r\nStdPath=" +
                        dir->path().toLatin1() +
                        "/gr\xFC\xDF"
                        "e/\r\nMyOwnKey=1\r\n"
                        "[Projects]\r\nCount=0\r\nExtra=x\r\n"
                        "[HTML]\r\nTabWidth=4\r\nFutureKey=kept\r\n"
                        "[Later]\r\nSomething=\x80 euro\r\n");
    {
        auto w = start();
        QCOMPARE(w->settings().Config.StdPath, dir->path() + QString::fromUtf8("/grüße/"));
        QCOMPARE(w->settings().Types[ftHtml].props.TabWidth, 4);
        w->show();
        w->close();
    }
    const QByteArray bytes = readAll(ini());
    QVERIFY(bytes.startsWith("\xFF\xFE"));
    const TUnicodeIniFile file = TUnicodeIniFile::CreateForRead(ini());
    QCOMPARE(file.ReadString("Unicode", "Encoding", QString()), QString("UTF-16LE"));
    QCOMPARE(file.ReadString("Config", "StdPath", QString()),
             dir->path() + QString::fromUtf8("/grüße/"));
    QCOMPARE(file.ReadString("HTML", "FutureKey", QString()), QString("kept"));
    QCOMPARE(file.ReadString("Later", "Something", QString()), QString::fromUtf8("€ euro"));
    QVERIFY(!file.ValueExists("Config", "MyOwnKey")); // Config and Projects are rebuilt
    QVERIFY(!file.ValueExists("Projects", "Extra"));
}

void TestSettings::fileTypeTableDecidesTheType() {
    writeAll(ini(), "[HTML]\r\nTypes=html,htm,htt,png\r\n");
    writeAll(dir->filePath("logo.png"), "not really an image");
    auto w = start({dir->filePath("logo.png")});
    QCOMPARE(w->activeDocument()->FileType(), ftHtml);
}

void TestSettings::documentsGetTheirTypeSettings() {
    writeAll(ini(),
             "[CSS]\r\nTabWidth=7\r\nRightEdge=90\r\nOptions=$2\r\nGutter=0\r\nFontSize=13\r\n");
    writeAll(dir->filePath("s.css"), "p { }");
    auto w = start({dir->filePath("s.css")});
    const TEditorControl* ed = w->activeDocument()->TextBuffer();
    QCOMPARE(ed->tabWidth(), 7);
    QCOMPARE(ed->rightEdge(), 90);
    QCOMPARE(ed->options(), TEditorOptions(2));
    QVERIFY(!ed->gutterVisible());
    QCOMPARE(ed->editorFont().pointSize(), 13);
}

void TestSettings::failedWritesReportedOnceEach() {
    writeAll(dir->filePath("blocker"), "a file where a folder should be");
    TShellStart s;
    s.userPath = dir->path() + u'/';
    s.iniName = dir->filePath("blocker/orvel.ini");
    auto w = shellWindow(s);
    script.expectFolder(dir->path() + QStringLiteral("/sites/"));
    w->Init();
    script.expectError("Error writing to");
    w->SaveSettings();
    QVERIFY(script.shown.last().contains(s.iniName));
}

void TestSettings::f3SearchesTheStoredTextAfterARestart() {
    writeAll(dir->filePath("a.txt"), "one two three two");
    {
        auto w = start({dir->filePath("a.txt")});
        w->findDialog()->setFindText("two");
        w->findDialog()->setReplaceText("2");
        w->show();
        w->close();
    }
    auto w = start({dir->filePath("a.txt")});
    QCOMPARE(w->findDialog()->FindText(), QString("two"));
    QCOMPARE(w->findDialog()->ReplaceText(), QString("2"));
    w->show();
    w->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(w.get()));
    QTRY_COMPARE(QApplication::activeWindow(), w.get());
    TEditorControl* ed = w->activeDocument()->TextBuffer();
    ed->focusText();
    QTest::keyClick(ed->focusProxy(), Qt::Key_F3);
    QCOMPARE(ed->selText(), QString("two"));
    QCOMPARE(ed->blockBegin(), (TBufferCoord{5, 1}));
    QTest::keyClick(ed->focusProxy(), Qt::Key_F3);
    QCOMPARE(ed->blockBegin(), (TBufferCoord{15, 1}));
    QTest::keyClick(ed->focusProxy(), Qt::Key_F3, Qt::ShiftModifier);
    QCOMPARE(ed->blockBegin(), (TBufferCoord{5, 1}));
}

QTEST_MAIN(TestSettings)
#include "tst_settings.moc"
