#include "ShellFixture.h"
#include "TestFiles.h"
#include "app/ui/Orvelfrm.h"
#include "base/core/HistoryList.h"
#include "base/core/IniFileUtils.h"
#include "editor/ui/OrvelMDI.h"
#include "textcontrol/ui/EditorControl.h"

#include <QAction>
#include <QDir>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <memory>

using namespace orvel;
using orvel::test::readAll;
using orvel::test::writeAll;
using Kind = orvel::test::ScriptedElementDialogs::Kind;

namespace {
QAction* findAction(QWidget* w, const QString& text) {
    for (QAction* a : w->findChildren<QAction*>())
        if (a->text() == text)
            return a;
    return nullptr;
}
} // namespace

class TestServices : public QObject, protected test::ShellFixture {
    Q_OBJECT
public:
    // Run by the crash test in a process of its own.
    static int crashingChild(const QString& folder);

private Q_SLOTS:
    void init();
    void cleanup();
    void autosaveCopiesChangedDocuments();
    void autosaveFailureToldOnce();
    void autosaveInterval();
    void recoveryAfterACrash();
    void recoveryDeclinedDeletesCopy();
    void untitledCopiesOfferedAtStart();
    void logOffSurvivesRestart();
    void clearRecentFiles();

private:
    std::unique_ptr<THauptForm> make(const QStringList& files = {});
};

namespace {
TShellStart startIn(const QString& folder, const QStringList& files) {
    TShellStart s;
    s.programDir = folder + u'/';
    s.userPath = folder + u'/';
    s.caption = QStringLiteral("Orvel (Version 0.1.0)");
    s.iniName = folder + QStringLiteral("/orvel.ini");
    s.logName = folder + QStringLiteral("/orvel.log");
    s.comLineFiles = files;
    return s;
}
} // namespace

int TestServices::crashingChild(const QString& folder) {
    test::ScriptedDialogs dialogs;
    test::ScriptedElementDialogs elements;
    test::ScriptedProjectDialogs projectDialogs;
    THauptForm w(startIn(folder, {folder + QStringLiteral("/page.txt")}), dialogs, &elements,
                 &projectDialogs);
    dialogs.expectFolder(folder + QStringLiteral("/sites/"));
    w.Init();
    w.activeDocument()->TextBuffer()->setSelText(QStringLiteral("unsaved work "));
    w.AutosaveTick();
    std::raise(SIGKILL); // nothing after this runs: no save, no settings
    return 0;
}

void TestServices::init() {
    resetShell();
    // Every test starts for the first time: the projects root is asked first.
    script.expectFolder(dir->path() + QStringLiteral("/sites/"));
}

void TestServices::cleanup() {
    const QStringList problems = shellProblems();
    QVERIFY2(problems.isEmpty(), qPrintable(problems.join(u'\n')));
}

std::unique_ptr<THauptForm> TestServices::make(const QStringList& files) {
    auto w = shellWindow(shellStart(files, true));
    w->Init();
    return w;
}

void TestServices::autosaveCopiesChangedDocuments() {
    writeAll(path("a.txt"), "a");
    writeAll(path("b.txt"), "b");
    auto w = make({path("a.txt"), path("b.txt")});
    w->documents().at(0)->TextBuffer()->setSelText("x");
    TMDIForm* untitled = w->NewText(ftText, true);
    untitled->TextBuffer()->setSelText("draft");
    w->AutosaveTick();
    QCOMPARE(readAll(path("a.txt.tsv")), QByteArray("xa"));
    QVERIFY(!QFile::exists(path("b.txt.tsv")));
    QCOMPARE(readAll(path(untitled->TextName().mid(1) + ".tsv")), QByteArray("draft"));
    // Saving deletes the copy.
    w->ActivateWindow(0);
    w->ActionSaveExecute();
    QVERIFY(!QFile::exists(path("a.txt.tsv")));
}

void TestServices::autosaveFailureToldOnce() {
    writeAll(path("a.txt"), "a");
    writeAll(path("b.txt"), "b");
    QDir(dir->path()).mkdir("a.txt.tsv"); // the copy cannot be written
    auto w = make({path("a.txt"), path("b.txt")});
    for (TMDIForm* f : w->documents())
        f->TextBuffer()->setSelText("x");
    script.expectError("a.txt.tsv");
    w->AutosaveTick();
    w->AutosaveTick(); // the same failure again: no second message
    QCOMPARE(readAll(path("b.txt.tsv")), QByteArray("xb")); // the other copy was still written
}

void TestServices::autosaveInterval() {
    auto w = make();
    QAction* item = findAction(w.get(), "&Autosave ..");
    QVERIFY(item);
    QVERIFY(item->isChecked()); // five minutes by default
    elements.expect(Kind::IntNumber, {"0"});
    item->trigger();
    QVERIFY(!item->isChecked());
    QCOMPARE(w->settings().Config.AutoSave, 0);
    elements.expect(Kind::IntNumber, {"12"});
    item->trigger();
    QVERIFY(item->isChecked());
    QCOMPARE(w->settings().Config.AutoSave, 12);
}

void TestServices::recoveryAfterACrash() {
    writeAll(path("page.txt"), "saved text");
    QProcess child;
    child.setProcessEnvironment(QProcessEnvironment::systemEnvironment());
    child.start(QCoreApplication::applicationFilePath(), {"--crash-child", dir->path()});
    QVERIFY(child.waitForFinished(30000));
    QCOMPARE(child.exitStatus(), QProcess::CrashExit);
    QVERIFY(QFile::exists(path("page.txt.tsv")));
    QCOMPARE(readAll(path("page.txt")), QByteArray("saved text"));
    // Make sure the copy counts as newer, whatever the clock's resolution.
    QFile copy(path("page.txt.tsv"));
    QVERIFY(copy.open(QIODevice::ReadWrite));
    QVERIFY(copy.setFileTime(QDateTime::currentDateTime().addSecs(5),
                             QFileDevice::FileModificationTime));
    copy.close();

    script.expectAsk("Recover the autosaved text?", mrYes);
    auto w = make({path("page.txt")});
    TMDIForm* doc = w->activeDocument();
    QVERIFY2(doc, qPrintable((script.problems() + projects.problems()).join(u'\n')));
    QCOMPARE(doc->TextBuffer()->text(), QString("unsaved work saved text"));
    QVERIFY(doc->modified());
    QCOMPARE(doc->TextName(), path("page.txt"));
    w->ActionSaveExecute();
    QCOMPARE(readAll(path("page.txt")), QByteArray("unsaved work saved text"));
    QVERIFY(!QFile::exists(path("page.txt.tsv")));
}

void TestServices::recoveryDeclinedDeletesCopy() {
    writeAll(path("p.txt"), "file");
    writeAll(path("p.txt.tsv"), "copy");
    QFile copy(path("p.txt.tsv"));
    QVERIFY(copy.open(QIODevice::ReadWrite));
    QVERIFY(copy.setFileTime(QDateTime::currentDateTime().addSecs(5),
                             QFileDevice::FileModificationTime));
    copy.close();
    script.expectAsk("Recover the autosaved text?", mrNo);
    auto w = make({path("p.txt")});
    QCOMPARE(w->activeDocument()->TextBuffer()->text(), QString("file"));
    QVERIFY(!QFile::exists(path("p.txt.tsv")));
}

void TestServices::untitledCopiesOfferedAtStart() {
    // Untitled copies are kept in the project's root.
    QDir().mkpath(path("sites/default"));
    writeAll(path("sites/default/New4.tsv"), "lost draft");
    script.expectAsk("untitled document", mrYes);
    auto w = make();
    QCOMPARE(w->documents().size(), 1);
    TMDIForm* doc = w->activeDocument();
    QCOMPARE(doc->TextBuffer()->text(), QString("lost draft"));
    QVERIFY(doc->modified());
    QVERIFY(doc->TextName().startsWith("*New"));
}

void TestServices::logOffSurvivesRestart() {
    {
        auto w = make();
        QAction* off = findAction(w.get(), "&Off");
        QVERIFY(off);
        off->trigger();
        w->show();
        w->close();
    }
    const TUnicodeIniFile ini = TUnicodeIniFile::CreateForRead(path("orvel.ini"));
    QCOMPARE(ini.ReadBool("Config", "UseLogFile", true), false);
    projects.expectSelect(spOpen, 0);
    auto w = make();
    QVERIFY(findAction(w.get(), "&Off")->isChecked());
}

void TestServices::clearRecentFiles() {
    writeAll(path("a.txt"), "a");
    auto w = make({path("a.txt")});
    QCOMPARE(w->recentFiles().count(), 1);
    script.expectAsk("Delete all entries from file list?", mrYes);
    findAction(w.get(), "Clear list")->trigger();
    QCOMPARE(w->recentFiles().count(), 0);
}

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc == 3 && QByteArray(argv[1]) == "--crash-child")
        return TestServices::crashingChild(QString::fromLocal8Bit(argv[2]));
    TestServices t;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&t, argc, argv);
}

#include "tst_services.moc"
