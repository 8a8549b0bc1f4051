#include "ShellFixture.h"
#include "TestFiles.h"
#include "app/ui/MainLayout.h"
#include "app/ui/Orvelfrm.h"
#include "base/core/IniFileUtils.h"
#include "editor/ui/DocumentCommands.h"
#include "editor/ui/OrvelMDI.h"
#include "projects/core/ProjectInfo.h"
#include "textcontrol/ui/EditorControl.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

using namespace orvel;
using orvel::test::readAll;
using orvel::test::writeAll;

// Starts, restarts and project commands of the main window, with the settings file, the
// project files and the documents on disk.
class TestProjectFlow : public QObject, protected test::ShellFixture {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void firstStartAsksRootAndMakesDefault();
    void firstStartCancelledEnds();
    void restartReopensFilesInTabOrder();
    void storedEntryReopensAtItsCaret();
    void commandLineFilesChooseTheirProject();
    void oneProjectIsOfferedToOpen();
    void choiceComesBackAfterCancelledNewProject();
    void missingRootKeepsTheFiles();
    void newProjectThenSwitchBack();
    void closeProjectAsksFirst();
    void closeProjectCancelledKeepsEntry();
    void orderKeepsTheActiveProject();
    void saveAsWritesNewFileEvenWhenEditCancelled();
    void loadSameFileTwice();
    void editAsksAboutOpenDocuments();
    void nothingToReopenGivesOneNewDocument_data();
    void nothingToReopenGivesOneNewDocument();

private:
    // A settings file naming the projects root and these project files, one active.
    void writeSettings(const QStringList& projectFiles, int active);
    // A project file with its root and entries ("name|col,line,lang,date").
    QString writeProject(const QString& fileName, const QString& root,
                         const QStringList& entries = {}, const QString& active = {});
    std::unique_ptr<THauptForm> start(const QStringList& files = {});
    void quit(std::unique_ptr<THauptForm>& w);
    QString root() const { return dir->path() + QStringLiteral("/sites/"); }
    QString ini() const { return path("orvel.ini"); }
    QStringList tabNames(THauptForm& w) const;
};

void TestProjectFlow::init() {
    resetShell();
}

void TestProjectFlow::cleanup() {
    const QStringList problems = shellProblems();
    QVERIFY2(problems.isEmpty(), qPrintable(problems.join(u'\n')));
}

void TestProjectFlow::writeSettings(const QStringList& projectFiles, int active) {
    TUnicodeIniFile ini = TUnicodeIniFile::CreateForWrite(this->ini(), true);
    ini.WriteString("Config", "StdPath", root());
    ini.WriteInteger("Projects", "Count", int(projectFiles.size()));
    ini.WriteInteger("Projects", "Active", active);
    for (int i = 0; i < projectFiles.size(); ++i)
        ini.WriteString("Projects", paddedKey("Name", i), projectFiles.at(i));
    QVERIFY(ini.UpdateFile().ok());
}

QString TestProjectFlow::writeProject(const QString& fileName, const QString& projectRoot,
                                      const QStringList& entries, const QString& active) {
    QDir().mkpath(QFileInfo(fileName).absolutePath());
    TProjectInfo p(fileName);
    p.ProjName = QFileInfo(fileName).completeBaseName();
    p.ProjPath = projectRoot;
    p.ActiveFile = active;
    for (const QString& e : entries)
        p.FileList << parseFileEntry(e, 0);
    p.Changed = true;
    if (!WriteProject(p).ok())
        qFatal("cannot write %s", qPrintable(fileName));
    return fileName;
}

std::unique_ptr<THauptForm> TestProjectFlow::start(const QStringList& files) {
    auto w = shellWindow(shellStart(files, true));
    if (!w->Init())
        return nullptr;
    return w;
}

void TestProjectFlow::quit(std::unique_ptr<THauptForm>& w) {
    w->show();
    w->close();
    w.reset();
}

QStringList TestProjectFlow::tabNames(THauptForm& w) const {
    QStringList names;
    for (TMDIForm* f : w.documents())
        names << QFileInfo(f->TextName()).fileName();
    return names;
}

void TestProjectFlow::firstStartAsksRootAndMakesDefault() {
    script.expectFolder(root());
    auto w = start();
    QVERIFY(w);
    QCOMPARE(w->settings().Config.StdPath, root());
    QCOMPARE(w->projectCount(), 1);
    QCOMPARE(w->activeProject()->ProjName, QString("default"));
    QCOMPARE(w->htmlRoot(), root() + "default/");
    QVERIFY(QFileInfo(root() + "default").isDir());
    QCOMPARE(w->appTitle(), QString("Tagsmith - default"));
    QCOMPARE(w->documents().size(), 1);
    // A new user's first page is UTF-8, without a mark (its template then declares UTF-8).
    QCOMPARE(w->activeProject()->ProjEncoding, seUTF8);
    QVERIFY(!w->activeProject()->UseBom);
    QCOMPARE(w->documents().first()->Encoding(), seUTF8);
    QVERIFY(!w->documents().first()->UseBom());
    quit(w);
    const QString prj = root() + "Orvel-Projects/Default.prj";
    QVERIFY(QFile::exists(prj));
    QCOMPARE(TUnicodeIniFile::CreateForRead(prj).ReadInteger("Project", "Encoding", 3), 0);
    const TUnicodeIniFile settings = TUnicodeIniFile::CreateForRead(ini());
    QCOMPARE(settings.ReadInteger("Projects", "Count", 0), 1);
    QCOMPARE(settings.ReadString("Projects", "Name00", {}), prj);
    QCOMPARE(settings.ReadString("Config", "StdPath", {}), root());
}

void TestProjectFlow::firstStartCancelledEnds() {
    script.expectFolder(QString());
    QVERIFY(!start());
    // The shell's settings are not written: the next start asks again.
    const TUnicodeIniFile settings = TUnicodeIniFile::CreateForRead(ini());
    QVERIFY(settings.ReadString("Config", "StdPath", {}).isEmpty());
    QVERIFY(!QFileInfo::exists(root()));
}

void TestProjectFlow::restartReopensFilesInTabOrder() {
    script.expectFolder(root());
    auto w = start();
    QVERIFY(w);
    const QString site = w->htmlRoot();
    for (const char* n : {"a.htm", "b.htm", "c.htm"})
        writeAll(site + n, "line 1\nline 2 " + QByteArray(50, 'x') + "\nline 3\nline 4\n");
    for (const char* n : {"a.htm", "b.htm", "c.htm"})
        QVERIFY(w->OpenTextFile(site + n));
    // The untitled document is not remembered.
    QCOMPARE(tabNames(*w), (QStringList{"*New1", "a.htm", "b.htm", "c.htm"}));
    w->documentAt(1)->TextBuffer()->setCaretXY({3, 2});
    w->documentAt(2)->TextBuffer()->setCaretXY({45, 2});
    w->documentAt(3)->TextBuffer()->setCaretXY({2, 4});
    w->ActivateWindow(2); // b is active when the program ends
    const quint32 lang = w->activeProject()->LangId;
    quit(w);
    // Stored as the file format has it: the last tab first.
    const TUnicodeIniFile prj =
        TUnicodeIniFile::CreateForRead(root() + "Orvel-Projects/Default.prj");
    QCOMPARE(prj.ReadInteger("Project", "Count", 0), 3);
    QCOMPARE(prj.ReadString("Project", "Name00", {}), QString("c.htm|2,4,%1,0").arg(lang));
    QCOMPARE(prj.ReadString("Project", "Active", {}), QString("b.htm"));

    for (int round = 0; round < 2; ++round) {
        projects.expectSelect(spOpen, 0);
        w = start();
        QVERIFY(w);
        QCOMPARE(tabNames(*w), (QStringList{"a.htm", "b.htm", "c.htm"}));
        QCOMPARE(w->documentAt(0)->TextBuffer()->caretXY(), (TBufferCoord{3, 2}));
        QCOMPARE(w->documentAt(2)->TextBuffer()->caretXY(), (TBufferCoord{2, 4}));
        QCOMPARE(QFileInfo(w->activeDocument()->TextName()).fileName(), QString("b.htm"));
        // The document commands act on the document in front.
        QCOMPARE(w->documentCommands().document(), w->activeDocument());
        // Placed before it had its size, the text still starts at the left margin.
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
        const int left = w->activeDocument()->TextBuffer()->rowColumnToPixels({1, 1}).x();
        w->NewText(ftHtml, false);
        QCOMPARE(left, w->activeDocument()->TextBuffer()->rowColumnToPixels({1, 1}).x());
        w->ActivateWindow(1); // b again, for the next round
        quit(w);
    }
}

void TestProjectFlow::storedEntryReopensAtItsCaret() {
    const QString site = root() + "site/";
    QDir().mkpath(site);
    writeAll(site + "index.htm", QByteArray("<p>\r\n").repeated(20));
    const QString prj = writeProject(path("p/Site.prj"), site,
                                     {"gone.htm|1,1,0,0", "index.htm|1,12,1031,0"}, "index.htm");
    writeSettings({prj}, 0);
    projects.expectSelect(spOpen, 0);
    auto w = start();
    QVERIFY(w);
    QCOMPARE(w->documents().size(), 1);
    TMDIForm* doc = w->activeDocument();
    QCOMPARE(doc->TextName(), site + "index.htm");
    QCOMPARE(doc->TextBuffer()->caretXY(), (TBufferCoord{1, 12}));
    QCOMPARE(doc->TextLangId(), 1031u);
    // The missing file left the project.
    QCOMPARE(w->activeProject()->FileList.size(), 1);
}

void TestProjectFlow::commandLineFilesChooseTheirProject() {
    QDir().mkpath(root() + "a");
    QDir().mkpath(root() + "b/sub");
    writeAll(root() + "b/sub/x.htm", "x");
    const QString a = writeProject(path("p/A.prj"), root() + "a/");
    const QString b = writeProject(path("p/B.prj"), root() + "b/");
    writeSettings({a, b}, 0);
    auto w = start({path("missing.htm"), root() + "b/sub/x.htm"}); // no question at all
    QVERIFY(w);
    QCOMPARE(w->projectIndex(), 1);
    QCOMPARE(w->activeProject()->ProjName, QString("B"));
    QCOMPARE(tabNames(*w), QStringList{"x.htm"});
    QCOMPARE(w->activeProject()->FileList.first().Name, QString("sub/x.htm"));
}

void TestProjectFlow::oneProjectIsOfferedToOpen() {
    const QString a = writeProject(path("p/A.prj"), root() + "a/");
    QDir().mkpath(root() + "a");
    writeSettings({a}, 0);
    projects.expectSelect(spCancel);
    QVERIFY(!start());
    QCOMPARE(projects.selectShown, QStringList{"A"});
}

void TestProjectFlow::choiceComesBackAfterCancelledNewProject() {
    const QString a = writeProject(path("p/A.prj"), root() + "a/");
    writeSettings({a}, 0);
    projects.expectSelect(spNew);
    projects.expectEdit("New project", {}, false);
    projects.expectSelect(spOther);
    script.expectOpenName(QString()); // cancelled too
    projects.expectSelect(spOpen, 0);
    auto w = start();
    QVERIFY(w);
    QCOMPARE(w->activeProject()->ProjName, QString("A"));
    QCOMPARE(projects.selectShown.size(), 3);
}

void TestProjectFlow::missingRootKeepsTheFiles() {
    const QString prj = writeProject(path("p/Usb.prj"), path("unmounted/site/"),
                                     {"b.htm|1,2,0,0", "a.htm|1,1,0,0"}, "a.htm");
    writeSettings({prj}, 0);
    projects.expectSelect(spOpen, 0);
    auto w = start();
    QVERIFY(w);
    QCOMPARE(w->documents().size(), 1); // an empty document instead
    quit(w);
    TProjectInfo back(prj);
    ReadProject(back, 0, 0);
    QCOMPARE(back.FileList.size(), 2);
    QCOMPARE(back.FileList.at(0).Name, QString("b.htm"));
    QCOMPARE(back.FileList.at(1).Name, QString("a.htm"));
}

void TestProjectFlow::newProjectThenSwitchBack() {
    script.expectFolder(root());
    auto w = start();
    QVERIFY(w);
    const QString first = w->htmlRoot();
    writeAll(first + "one.htm", "one");
    QVERIFY(w->OpenTextFile(first + "one.htm"));
    // A second project: the proposed file name counts the projects listed.
    projects.expectEdit("New project", [this](TProjectInfo& p) {
        p.ProjName = "Second";
        p.ProjPath = root() + "second/";
        p.ProjEncoding = seUTF8;
    });
    script.expectSaveName(root() + "Orvel-Projects/Second.prj");
    w->ActionProjectNewExecute();
    QCOMPARE(script.fileDialogs.last().fileName, QString("Projekt02.prj"));
    QCOMPARE(script.fileDialogs.last().dir, root() + "Orvel-Projects/");
    QCOMPARE(w->projectCount(), 2);
    QCOMPARE(w->projectIndex(), 1);
    QCOMPARE(w->htmlRoot(), root() + "second/");
    QVERIFY(QFileInfo(root() + "second").isDir());
    QVERIFY(QFile::exists(root() + "Orvel-Projects/Second.prj"));
    QCOMPARE(w->documents().size(), 1);
    QCOMPARE(w->activeDocument()->Encoding(), seUTF8); // new documents follow the project
    QCOMPARE(w->frame().cbProjects->currentText(), QString("Second"));
    // The first project recorded its document and gets it back.
    w->SwitchProject(0);
    QCOMPARE(w->projectIndex(), 0);
    QCOMPARE(tabNames(*w), QStringList{"one.htm"});
    QCOMPARE(w->frame().cbProjects->currentIndex(), 0);
}

void TestProjectFlow::closeProjectAsksFirst() {
    const QString a = writeProject(path("p/A.prj"), root() + "a/");
    const QString b = writeProject(path("p/B.prj"), root() + "b/");
    writeSettings({a, b}, 1);
    projects.expectSelect(spOpen, 1);
    auto w = start();
    QVERIFY(w);
    script.expectAsk("Close current project?", mrNo);
    w->ActionProjectCloseExecute();
    QCOMPARE(w->projectCount(), 2);
    script.expectAsk("Close current project?", mrYes);
    w->ActionProjectCloseExecute();
    // The entry beyond the end goes to the last one left.
    QCOMPARE(w->projectCount(), 1);
    QCOMPARE(w->activeProject()->ProjName, QString("A"));
    QVERIFY(QFile::exists(b)); // its file stays
    // Closing the last one makes the default project.
    script.expectAsk("Close current project?", mrYes);
    w->ActionProjectCloseExecute();
    QCOMPARE(w->projectCount(), 1);
    QCOMPARE(w->activeProject()->ProjName, QString("default"));
}

void TestProjectFlow::closeProjectCancelledKeepsEntry() {
    const QString a = writeProject(path("p/A.prj"), root() + "a/");
    const QString b = writeProject(path("p/B.prj"), root() + "b/");
    writeSettings({a, b}, 0);
    projects.expectSelect(spOpen, 0);
    auto w = start();
    QVERIFY(w);
    w->activeDocument()->TextBuffer()->setSelText("unsaved");
    script.expectAsk("Close current project?", mrYes);
    script.expectAsk("Save changed files?", mrCancel);
    w->ActionProjectCloseExecute();
    QCOMPARE(w->projectCount(), 2);
    QCOMPARE(w->activeProject()->ProjName, QString("A"));
    QCOMPARE(w->activeDocument()->TextBuffer()->text(), QString("unsaved"));
    // Switching by the box, cancelled, puts the box back.
    script.expectAsk("Save changed files?", mrCancel);
    w->frame().cbProjects->setCurrentIndex(1);
    w->SwitchProject(1);
    QCOMPARE(w->projectIndex(), 0);
    QCOMPARE(w->frame().cbProjects->currentIndex(), 0);
}

void TestProjectFlow::orderKeepsTheActiveProject() {
    const QString a = writeProject(path("p/A.prj"), root() + "a/");
    const QString b = writeProject(path("p/B.prj"), root() + "b/");
    const QString c = writeProject(path("p/C.prj"), root() + "c/");
    writeSettings({a, b, c}, 1);
    projects.expectSelect(spOpen, 1);
    auto w = start();
    QVERIFY(w);
    // C moves first, A and the active B are removed: B stays.
    projects.expectOrder({2});
    script.expectError("in use");
    w->ActionProjectManagerExecute();
    QCOMPARE(w->projectCount(), 2);
    QCOMPARE(w->projectAt(0)->ProjName, QString("B"));
    QCOMPARE(w->projectAt(1)->ProjName, QString("C"));
    QCOMPARE(w->projectIndex(), 0);
    QCOMPARE(w->activeProject()->ProjName, QString("B"));
    quit(w);
    const TUnicodeIniFile settings = TUnicodeIniFile::CreateForRead(ini());
    QCOMPARE(settings.ReadInteger("Projects", "Count", 0), 2);
    QCOMPARE(settings.ReadString("Projects", "Name01", {}), c);
    QVERIFY(QFile::exists(a)); // removed from the list only
}

void TestProjectFlow::saveAsWritesNewFileEvenWhenEditCancelled() {
    const QString a = writeProject(path("p/A.prj"), root() + "a/");
    writeSettings({a}, 0);
    projects.expectSelect(spOpen, 0);
    auto w = start();
    QVERIFY(w);
    script.expectSaveName(QString()); // cancelled: the old name stays
    w->ActionProjectSaveAsExecute();
    QCOMPARE(w->activeProject()->ProjFileName, a);
    script.expectSaveName(path("p/Copy.prj"));
    projects.expectEdit("Edit project settings", {}, false);
    w->ActionProjectSaveAsExecute();
    QCOMPARE(w->activeProject()->ProjFileName, path("p/Copy.prj"));
    QVERIFY(QFile::exists(path("p/Copy.prj")));
    TProjectInfo copy(path("p/Copy.prj"));
    QVERIFY(ReadProject(copy, 0, 0));
    QCOMPARE(copy.ProjName, QString("A"));
}

void TestProjectFlow::loadSameFileTwice() {
    const QString a = writeProject(path("p/A.prj"), root() + "a/");
    writeSettings({a}, 0);
    projects.expectSelect(spOther);
    script.expectOpenName(a);
    auto w = start();
    QVERIFY(w);
    QCOMPARE(w->projectCount(), 2);
    QCOMPARE(w->projectIndex(), 1);
    QCOMPARE(script.fileDialogs.last().filter, QString("Projects|*.prj"));
    // A file that is no project is refused.
    writeAll(path("p/notes.prj"), "just text");
    script.expectOpenName(path("p/notes.prj"));
    script.expectError("is not a project file");
    QVERIFY(!w->LoadProjectFile());
    QCOMPARE(w->projectCount(), 2);
}

void TestProjectFlow::editAsksAboutOpenDocuments() {
    QDir().mkpath(root() + "a");
    writeAll(root() + "a/x.htm", "x");
    const QString a = writeProject(path("p/A.prj"), root() + "a/", {"x.htm|1,1,1033,0"});
    writeSettings({a}, 0);
    projects.expectSelect(spOpen, 0);
    auto w = start();
    QVERIFY(w);
    projects.expectEdit("Edit project settings", [this](TProjectInfo& p) {
        p.ProjName = "Renamed";
        p.LangId = 1031;
        p.ProjEncoding = seUTF16LE;
        p.ProjPath = root() + "b/";
    });
    script.expectAsk("Change language for all opened documents?", mrYes);
    script.expectAsk("Change encoding for all opened documents?", mrYes);
    w->ActionProjectEditExecute();
    QCOMPARE(w->activeDocument()->TextLangId(), 1031u);
    QCOMPARE(w->activeDocument()->Encoding(), seUTF16LE);
    QCOMPARE(w->htmlRoot(), root() + "b/");
    QCOMPARE(w->frame().cbProjects->currentText(), QString("Renamed"));
    TProjectInfo back(a);
    ReadProject(back, 0, 0); // written at once
    QCOMPARE(back.ProjName, QString("Renamed"));
    QCOMPARE(back.LangId, 1031u);
    // Declined, the documents keep theirs.
    projects.expectEdit("Edit project settings", [](TProjectInfo& p) { p.LangId = 1038; });
    script.expectAsk("Change language for all opened documents?", mrNo);
    w->ActionProjectEditExecute();
    QCOMPARE(w->activeDocument()->TextLangId(), 1031u);
}

void TestProjectFlow::nothingToReopenGivesOneNewDocument_data() {
    QTest::addColumn<QByteArray>("section");
    QTest::newRow("no count") << QByteArray("Name00=x.htm|1,1,0,0\r\n");
    QTest::newRow("count 0") << QByteArray("Count=0\r\nName00=x.htm|1,1,0,0\r\n");
    QTest::newRow("reload off") << QByteArray("Count=1\r\nName00=x.htm|1,1,0,0\r\nReload=0\r\n");
    QTest::newRow("no root") << QByteArray("Count=0\r\n");
}

void TestProjectFlow::nothingToReopenGivesOneNewDocument() {
    QFETCH(QByteArray, section);
    QDir().mkpath(root() + "a");
    writeAll(root() + "a/x.htm", "x");
    const QByteArray pathLine = QTest::currentDataTag() == QByteArray("no root")
                                    ? QByteArray()
                                    : "Path=" + (root() + "a/").toUtf8() + "\r\n";
    writeAll(path("A.prj"), "[Project]\r\nName=A\r\n" + pathLine + section);
    writeSettings({path("A.prj")}, 0);
    projects.expectSelect(spOpen, 0);
    auto w = start();
    QVERIFY(w);
    QCOMPARE(w->documents().size(), 1);
    QCOMPARE(w->activeDocument()->Status(), tsNew);
    // Without a root the project works in the root directory for projects.
    QVERIFY(!w->htmlRoot().isEmpty());
}

QTEST_MAIN(TestProjectFlow)
#include "tst_projectflow.moc"
