// "Transfer files" and "Delete remote directory" in the main window: their state, the saving
// before a run, the password question, one run at a time with the project held, and a
// program that closes only when its run has stopped.

#include "PublishFixture.h"
#include "ShellFixture.h"
#include "TestFiles.h"
#include "app/ui/MainLayout.h"
#include "app/ui/Orvelfrm.h"
#include "base/core/IniFileUtils.h"
#include "base/ui/CommandList.h"
#include "editor/ui/OrvelMDI.h"
#include "projects/core/ProjectInfo.h"
#include "textcontrol/ui/EditorControl.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMenu>
#include <QMenuBar>
#include <QTest>

using namespace orvel;
using namespace orvel::test;

class TestTransfer : public QObject, protected ShellFixture {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void commandsFollowTheProject();
    void savesFirstThenPublishes();
    void changedFilesOnly();
    void chosenFolderJoinsTheList();
    void dryRunChangesNothing();
    void fileOutsideTheProject();
    void ftpAsksForThePassword();
    void clearAsksWithTheDestination();
    void heldDuringTheRun();
    void closingWaitsForTheRun();

private:
    // The projects root with the site "site" (and a second project "other") published to
    // the destination; the main window working in "site".
    std::unique_ptr<THauptForm> start(const PublishDestination& dest);
    QString root() const { return dir->path() + QStringLiteral("/sites/"); }
    QString site(const QString& rel = {}) const { return root() + QStringLiteral("site/") + rel; }
    QString ini() const { return path("orvel.ini"); }
    QAction* command(THauptForm& w, cmd::TShellCommandId id) { return w.action(id); }

    QStringList m_published;
};

void TestTransfer::init() {
    resetShell();
}

void TestTransfer::cleanup() {
    const QStringList problems = shellProblems();
    QVERIFY2(problems.isEmpty(), qPrintable(problems.join(u'\n')));
}

std::unique_ptr<THauptForm> TestTransfer::start(const PublishDestination& dest) {
    m_published = makeSite(site());
    QDir().mkpath(root() + QStringLiteral("other"));
    QStringList files;
    for (const QString& name : {QStringLiteral("Site"), QStringLiteral("Other")}) {
        TProjectInfo p(root() + QStringLiteral("Orvel-Projects/") + name + QStringLiteral(".prj"));
        QDir().mkpath(QFileInfo(p.ProjFileName).absolutePath());
        p.ProjName = name;
        p.ProjPath = name == u"Site" ? site() : root() + QStringLiteral("other/");
        if (name == u"Site")
            dest.configure(p);
        p.Changed = true;
        if (!WriteProject(p).ok())
            return nullptr;
        files << p.ProjFileName;
    }
    TUnicodeIniFile settings = TUnicodeIniFile::CreateForWrite(ini(), true);
    settings.WriteString("Config", "StdPath", root());
    settings.WriteInteger("Projects", "Count", 2);
    settings.WriteInteger("Projects", "Active", 0);
    settings.WriteString("Projects", "Name00", files[0]);
    settings.WriteString("Projects", "Name01", files[1]);
    if (!settings.UpdateFile().ok())
        return nullptr;
    projects.expectSelect(spOpen, 0);
    auto w = shellWindow(shellStart({}, true));
    if (!w->Init())
        return nullptr;
    w->show();
    return w;
}

void TestTransfer::commandsFollowTheProject() {
    PublishDestination dest{PublishDestination::DestFolder};
    QVERIFY(dest.start().isEmpty());
    auto w = start(dest);
    QVERIFY(w);
    QAction* transfer = command(*w, cmd::ActionTransfer);
    QCOMPARE(transfer->shortcut(), QKeySequence(Qt::Key_F9));
    QVERIFY(transfer->isEnabled());
    // The project menu names both its own way and follows their state.
    QMenu* projectMenu = nullptr;
    for (QAction* a : w->menuBar()->actions())
        if (a->menu() && a->text() == QLatin1String("&Project"))
            projectMenu = a->menu();
    QVERIFY(projectMenu);
    QStringList texts;
    QList<QAction*> entries;
    for (QAction* a : projectMenu->actions())
        if (a->text().startsWith(QLatin1String("&Transfer files ..")) ||
            a->text() == QLatin1String("&Delete remote directory"))
            entries << a;
    QCOMPARE(entries.size(), 2);
    // The entry shows the command's key without holding it a second time.
    QCOMPARE(entries[0]->text(), QStringLiteral("&Transfer files ..\tF9"));
    QVERIFY(entries[0]->shortcut().isEmpty());
    w->activeProject()->TransferMode = tmOff;
    w->ShowStatus(false);
    QVERIFY(!transfer->isEnabled());
    QVERIFY(!command(*w, cmd::ActionClearServer)->isEnabled());
    QVERIFY(!entries[0]->isEnabled() && !entries[1]->isEnabled());
    // Nothing happens for a project that is not published.
    w->ActionTransferExecute();
    QVERIFY(transfers.monitor.events.isEmpty());
    w->activeProject()->TransferMode = tmDirect;
    w->ShowStatus(false);
    QVERIFY(transfer->isEnabled() && entries[0]->isEnabled());
    // The menu entry runs the command.
    transfers.expectTransfer(tfAllFiles | kTransferSubDirs);
    entries[0]->trigger();
    QCOMPARE(transfers.monitor.final(), QStringLiteral("close:0,24"));
}

void TestTransfer::savesFirstThenPublishes() {
    PublishDestination dest{PublishDestination::DestFolder};
    QVERIFY(dest.start().isEmpty());
    auto w = start(dest);
    QVERIFY(w);
    QVERIFY(w->OpenTextFile(site(QStringLiteral("index.htm"))));
    w->activeDocument()->TextBuffer()->setText(QStringLiteral("<p>edited</p>\n"));
    QVERIFY(w->activeDocument()->modified());
    transfers.expectTransfer(tfAllFiles | kTransferSubDirs);
    command(*w, cmd::ActionTransfer)->trigger();
    QVERIFY(!w->activeDocument()->modified());
    QCOMPARE(readAll(dest.disk() + QStringLiteral("/index.htm")), QByteArray("<p>edited</p>\n"));
    QCOMPARE(filesBelow(dest.disk()), m_published);
    // The dialog saw the current file and the destination.
    QCOMPARE(transfers.shownChoices.size(), 1);
    QCOMPARE(transfers.shownChoices[0].Directory, site(QStringLiteral("index.htm")));
    QCOMPARE(transfers.shownChoices[0].Destination, dest.disk());
    const QString log = QString::fromLatin1(readAll(path("orvel.log")));
    QVERIFY2(log.contains(QLatin1String("Transfer files to server: ")) &&
                 log.contains(QLatin1String("    24 file(s) copied")),
             qPrintable(log));
}

void TestTransfer::changedFilesOnly() {
    PublishDestination dest{PublishDestination::DestFolder};
    QVERIFY(dest.start().isEmpty());
    auto w = start(dest);
    QVERIFY(w);
    QVERIFY(w->OpenTextFile(site(QStringLiteral("a/page01.htm"))));
    w->activeDocument()->TextBuffer()->setText(QStringLiteral("<p>changed</p>\n"));
    QVERIFY(w->OpenTextFile(site(QStringLiteral("a/page02.htm"))));
    transfers.expectTransfer(tfChangedFiles);
    command(*w, cmd::ActionTransfer)->trigger();
    QCOMPARE(filesBelow(dest.disk()), QStringList{QStringLiteral("a/page01.htm")});
    // Saved now, so a second run finds nothing changed.
    transfers.expectTransfer(tfChangedFiles);
    command(*w, cmd::ActionTransfer)->trigger();
    QCOMPARE(transfers.monitor.final(), QStringLiteral("close:0,0"));
}

void TestTransfer::chosenFolderJoinsTheList() {
    PublishDestination dest{PublishDestination::DestFolder};
    QVERIFY(dest.start().isEmpty());
    auto w = start(dest);
    QVERIFY(w);
    transfers.expectTransfer(tfChosenDir, true, QStringLiteral("a/b"), QStringLiteral("*.htm"));
    command(*w, cmd::ActionTransfer)->trigger();
    QCOMPARE(filesBelow(dest.disk()).size(), 10);
    QCOMPARE(w->activeProject()->SubDirs, QStringLiteral("a/b"));
    // Kept in the project file at once.
    TProjectInfo stored(w->activeProject()->ProjFileName);
    QVERIFY(ReadProject(stored, 0, 0));
    QCOMPARE(stored.SubDirs, QStringLiteral("a/b"));
}

void TestTransfer::dryRunChangesNothing() {
    PublishDestination dest{PublishDestination::DestFolder};
    QVERIFY(dest.start().isEmpty());
    auto w = start(dest);
    QVERIFY(w);
    transfers.expectTransfer(tfAllFiles | kTransferSubDirs | kTransferDryRun);
    command(*w, cmd::ActionTransfer)->trigger();
    QCOMPARE(transfers.monitor.final(), QStringLiteral("dryRun:0,24"));
    QVERIFY(transfers.monitor.lines.contains(QStringLiteral("Copy: a/b/page00.htm (missing)")));
    QVERIFY(!QFileInfo::exists(dest.disk()));
}

void TestTransfer::fileOutsideTheProject() {
    PublishDestination dest{PublishDestination::DestFolder};
    QVERIFY(dest.start().isEmpty());
    auto w = start(dest);
    QVERIFY(w);
    writeAll(path("elsewhere.htm"), "<p>x</p>\n");
    QVERIFY(w->OpenTextFile(path("elsewhere.htm")));
    script.expectError(QStringLiteral("is not part of project"));
    command(*w, cmd::ActionTransfer)->trigger();
    QVERIFY(transfers.shownChoices.isEmpty());
}

void TestTransfer::ftpAsksForThePassword() {
    PublishDestination dest{PublishDestination::DestPyftpd};
    QVERIFY2(dest.start().isEmpty(), "pyftpdlib");
    auto w = start(dest);
    QVERIFY(w);
    // The project file keeps no password.
    w->activeProject()->Password.clear();
    transfers.expectTransfer(tfAllFiles | kTransferSubDirs).expectPassword(QString(), false);
    command(*w, cmd::ActionTransfer)->trigger();
    QVERIFY(transfers.monitor.events.isEmpty()); // cancelled: no run
    transfers.expectTransfer(tfAllFiles | kTransferSubDirs)
        .expectPassword(QStringLiteral("s3cret"));
    command(*w, cmd::ActionTransfer)->trigger();
    QCOMPARE(transfers.passwordPrompts.last(),
             QStringLiteral("FTP connection|The connection to server:\r\n  127.0.0.1:%1\r\nfor "
                            "user: \"tester\" requires a password!")
                 .arg(w->activeProject()->Port));
    QCOMPARE(transfers.monitor.final(), QStringLiteral("close:0,24"));
    QCOMPARE(filesBelow(dest.disk()), m_published);
    // Asked once per program run.
    transfers.expectTransfer(tfAllFiles | kTransferSubDirs);
    command(*w, cmd::ActionTransfer)->trigger();
    QCOMPARE(transfers.monitor.final(), QStringLiteral("close:0,0"));
    QCOMPARE(transfers.passwordPrompts.size(), 2);
    // The record of what was published is in the local data folder.
    QCOMPARE(QDir(dir->filePath(QStringLiteral("local")))
                 .entryList({QStringLiteral("publish-*.rec")}, QDir::Files)
                 .size(),
             1);
}

void TestTransfer::clearAsksWithTheDestination() {
    PublishDestination dest{PublishDestination::DestFolder};
    QVERIFY(dest.start().isEmpty());
    auto w = start(dest);
    QVERIFY(w);
    transfers.expectTransfer(tfAllFiles | kTransferSubDirs);
    command(*w, cmd::ActionTransfer)->trigger();
    script.expectAsk(QStringLiteral("Delete whole directory: \r\n") + dest.disk(), mrNo);
    command(*w, cmd::ActionClearServer)->trigger();
    QCOMPARE(filesBelow(dest.disk()), m_published);
    script.expectAsk(QStringLiteral("Delete whole directory: \r\n") + dest.disk(), mrYes);
    command(*w, cmd::ActionClearServer)->trigger();
    QVERIFY(!QFileInfo::exists(dest.disk()));
    QCOMPARE(transfers.monitor.final(), QStringLiteral("close:24,0"));
}

void TestTransfer::heldDuringTheRun() {
    PublishDestination dest{PublishDestination::DestFolder};
    QVERIFY(dest.start().isEmpty());
    auto w = start(dest);
    QVERIFY(w);
    bool checked = false;
    transfers.monitor.onStatus = [&](const QString&) {
        if (checked)
            return;
        checked = true;
        // No second run, no other project, and the window comes back to the front.
        QVERIFY(!command(*w, cmd::ActionTransfer)->isEnabled());
        QVERIFY(!command(*w, cmd::ActionProjectEdit)->isEnabled());
        QVERIFY(!w->frame().cbProjects->isEnabled());
        w->ActionTransferExecute();
        w->SwitchProject(1);
        QCOMPARE(w->projectIndex(), 0);
        QMetaObject::invokeMethod(qApp, "applicationStateChanged",
                                  Q_ARG(Qt::ApplicationState, Qt::ApplicationActive));
        QCOMPARE(transfers.monitor.raised, 1);
    };
    transfers.expectTransfer(tfAllFiles | kTransferSubDirs);
    command(*w, cmd::ActionTransfer)->trigger();
    QVERIFY(checked);
    QCOMPARE(transfers.monitor.final(), QStringLiteral("close:0,24"));
    QVERIFY(command(*w, cmd::ActionTransfer)->isEnabled());
    QVERIFY(w->frame().cbProjects->isEnabled());
    w->SwitchProject(1);
    QCOMPARE(w->projectIndex(), 1);
    QVERIFY(!command(*w, cmd::ActionTransfer)->isEnabled()); // "Other" is not published
}

void TestTransfer::closingWaitsForTheRun() {
    PublishDestination dest{PublishDestination::DestFolder};
    QVERIFY(dest.start().isEmpty());
    auto w = start(dest);
    QVERIFY(w);
    int statuses = 0;
    transfers.monitor.onStatus = [&](const QString&) {
        ++statuses;
        if (statuses == 3)
            QVERIFY(!w->close()); // "No": the run goes on
        if (statuses == 5)
            QVERIFY(!w->close()); // "Yes": it stops, and the window stays until it has
    };
    script.expectAsk(QStringLiteral("A file transfer is running"), mrNo);
    script.expectAsk(QStringLiteral("A file transfer is running"), mrYes);
    transfers.expectTransfer(tfAllFiles | kTransferSubDirs);
    command(*w, cmd::ActionTransfer)->trigger();
    // Stopped after the file in progress, without its final window.
    QCOMPARE(transfers.monitor.final(), QStringLiteral("hide"));
    const int copied = int(filesBelow(dest.disk()).size());
    QVERIFY2(copied >= 4 && copied < 24, qPrintable(QString::number(copied)));
    QVERIFY(w->isVisible());
    QTRY_VERIFY(!w->isVisible());
    // It closed as a program closes: the settings were written.
    QVERIFY(TUnicodeIniFile::CreateForRead(ini()).ReadInteger("Projects", "Count", 0) == 2);
    const QString log = QString::fromLatin1(readAll(path("orvel.log")));
    QVERIFY2(log.contains(QLatin1String("Canceled by user!")), qPrintable(log));
}

QTEST_MAIN(TestTransfer)
#include "tst_transfer.moc"
