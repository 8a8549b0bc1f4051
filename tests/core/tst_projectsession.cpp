#include "TestFiles.h"
#include "projects/core/ProjectSession.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using namespace orvel;
using orvel::test::writeAll;

class TestProjectSession : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void recordsTabsInReverseOrder();
    void missingRootKeepsItsFiles();
    void reopensInTabOrderWithoutMissingFiles();
    void reorderNeverRemovesTheActiveProject();
    void closingTheLastProjectMakesTheDefault();
    void projectWithoutRootWorksInProjectsRoot();

private:
    QString path(const QString& name) const { return dir->filePath(name); }
    // A session with projects "A" and "B" rooted in folders of the same names; A active.
    void twoProjects();
    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<TProjectSession> session;
};

void TestProjectSession::init() {
    dir = std::make_unique<QTemporaryDir>();
    session = std::make_unique<TProjectSession>();
    session->setProjectsRoot(dir->path() + u'/');
}

void TestProjectSession::twoProjects() {
    for (const char* name : {"A", "B"}) {
        QDir(dir->path()).mkpath(name);
        auto p = std::make_unique<TProjectInfo>(path(QString(name) + ".prj"));
        p->ProjName = name;
        p->ProjPath = path(name) + u'/';
        session->add(std::move(p));
    }
    QVERIFY(session->activate(0));
}

void TestProjectSession::recordsTabsInReverseOrder() {
    twoProjects();
    const QString root = path("A") + u'/';
    session->record({{root + "a.htm", {{1, 2}, 1031, 0}},
                     {root + "b.htm", {{3, 4}, 1033, 1}},
                     {"/elsewhere/c.htm", {}}},
                    root + "b.htm");
    TProjectInfo* a = session->at(0);
    QStringList names;
    for (const TTextFileInfo& f : a->FileList)
        names << f.Name;
    QCOMPARE(names, (QStringList{"/elsewhere/c.htm", "b.htm", "a.htm"}));
    QCOMPARE(a->FileList.at(1).Props.CursorPos, (TBufferCoord{3, 4}));
    QCOMPARE(a->ActiveFile, QString("b.htm"));
    QVERIFY(a->Changed);
    QVERIFY(!session->active()); // left
}

void TestProjectSession::missingRootKeepsItsFiles() {
    twoProjects();
    TProjectInfo* a = session->at(0);
    a->FileList = {{"x.htm", {}}, {"y.htm", {}}};
    QVERIFY(QDir(path("A")).removeRecursively());
    QVERIFY(session->documentsToReopen().isEmpty());
    // Left with one new document open: the files not opened this time are still there.
    session->record({{path("A/y.htm"), {}}, {path("A/new.htm"), {}}}, QString());
    QStringList names;
    for (const TTextFileInfo& f : a->FileList)
        names << f.Name;
    QCOMPARE(names, (QStringList{"new.htm", "y.htm", "x.htm"}));
}

void TestProjectSession::reopensInTabOrderWithoutMissingFiles() {
    twoProjects();
    writeAll(path("A/one.htm"), "1");
    writeAll(path("A/three.htm"), "3");
    TProjectInfo* a = session->at(0);
    // Stored in reverse tab order.
    a->FileList = {{"three.htm", {{5, 6}, 0, 0}}, {"two.htm", {}}, {"one.htm", {}}};
    const QList<TOpenDocument> docs = session->documentsToReopen();
    QCOMPARE(docs.size(), 2);
    QCOMPARE(docs.at(0).fileName, path("A/one.htm"));
    QCOMPARE(docs.at(1).fileName, path("A/three.htm"));
    QCOMPARE(docs.at(1).props.CursorPos, (TBufferCoord{5, 6}));
    QCOMPARE(a->FileList.size(), 2); // the missing one is forgotten
    session->dropDocument(path("A/one.htm"));
    QCOMPARE(a->FileList.size(), 1);
}

void TestProjectSession::reorderNeverRemovesTheActiveProject() {
    twoProjects();
    const TStatus refused = session->reorder({1});
    QVERIFY(!refused.ok());
    QVERIFY(refused.error().contains("\"A\""));
    QCOMPARE(session->names(), (QStringList{"A", "B"}));
    QCOMPARE(session->index(), 0);
    QVERIFY(session->reorder({1, 0}).ok());
    QCOMPARE(session->names(), (QStringList{"B", "A"}));
    QCOMPARE(session->index(), 1); // follows its project
}

void TestProjectSession::closingTheLastProjectMakesTheDefault() {
    twoProjects();
    session->record({}, QString());
    session->setIndex(1);
    std::unique_ptr<TProjectInfo> closed = session->removeActive("default", 1031);
    QCOMPARE(closed->ProjName, QString("B"));
    QCOMPARE(session->index(), 0); // the one before it, the last being gone
    closed = session->removeActive("default", 1031);
    QCOMPARE(closed->ProjName, QString("A"));
    QCOMPARE(session->names(), QStringList{"default"});
    QCOMPARE(session->at(0)->ProjPath, path("default") + u'/');
    QCOMPARE(session->at(0)->LangId, 1031u);
    QVERIFY(QFileInfo(path("default")).isDir());
    QCOMPARE(session->at(0)->ProjFileName, path("Orvel-Projects/Default.prj"));
}

void TestProjectSession::projectWithoutRootWorksInProjectsRoot() {
    session->add(std::make_unique<TProjectInfo>(path("p.prj")));
    QVERIFY(session->activate(0));
    QCOMPARE(session->htmlRoot(), dir->path() + u'/');
    QCOMPARE(session->active()->ProjPath, dir->path() + u'/');
    QVERIFY(!session->activate(5));
    QVERIFY(!session->active());
}

QTEST_GUILESS_MAIN(TestProjectSession)
#include "tst_projectsession.moc"
