#include "ScriptedDialogs.h"
#include "TestFiles.h"
#include "base/core/IniFileUtils.h"
#include "base/ui/QtDialogs.h"
#include "base/ui/ShellDirDlg.h"

#include <QAbstractItemModel>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QSplitter>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QTreeView>

using namespace orvel;
using test::ScriptedDialogs;

Q_DECLARE_METATYPE(orvel::TShellRoot)

namespace {
// A dialog over a temporary folder tree with its own home, desktop, documents and one folder
// that stands for a network mount.
struct Fixture {
    QTemporaryDir tmp;
    ScriptedDialogs dialogs;
    TShellDirDialog dlg{nullptr, dialogs};
    QString ini;

    Fixture() {
        for (const char* d : {"home/Desktop", "home/Documents", "work/a/b", "work/c", "net/share"})
            QDir().mkpath(path(QLatin1String(d)));
        TShellPlaces places;
        places.desktop = path(QStringLiteral("home/Desktop"));
        places.documents = path(QStringLiteral("home/Documents"));
        places.networkMounts = {path(QStringLiteral("net/share"))};
        dlg.setPlaces(places);
        ini = path(QStringLiteral("orvel.ini"));
        dlg.LoadFromIni(ini);
    }
    QString path(const QString& rel) const { return QDir::cleanPath(tmp.path() + u'/' + rel); }
    template <typename T> T* child(const char* name) {
        return dlg.findChild<T*>(QLatin1String(name));
    }
    QComboBox* box() { return child<QComboBox>("directoryBox"); }
    // Text put in at once, as pasting or choosing from the list does.
    void paste(const QString& text) { box()->lineEdit()->setText(text); }
    void type(const QString& text) {
        QLineEdit* edit = box()->lineEdit();
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Delete);
        QTest::keyClicks(edit, text);
    }
    QAction* action(const QString& text) {
        for (QAction* a : dlg.findChildren<QAction*>())
            if (a->text() == text)
                return a;
        return nullptr;
    }
    QStringList boxItems() {
        QStringList out;
        for (int i = 0; i < box()->count(); ++i)
            out << box()->itemText(i);
        return out;
    }
    // Chooses a folder by typing it and pressing OK, as Execute would finish.
    bool choose(const QString& folder, QString& result) {
        dlg.setup(QString(), false, result, QString(), false);
        type(folder);
        return dlg.finish(true, result);
    }
};

QString problems(const ScriptedDialogs& d) {
    return d.problems().join(u'\n');
}
} // namespace

class TestShellDirDlg : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();

    void startPlace_data();
    void startPlace();
    void typedFolder_data();
    void typedFolder();
    void okMovesFolderToFront_data();
    void okMovesFolderToFront();
    void cancelLeavesPath();
    void rootButtons();
    void folderUp_data();
    void folderUp();
    void defaultFolder();
    void deletedDefaultFolderReportedAndForgotten();
    void createFolder_data();
    void createFolder();
    void deleteFolder_data();
    void deleteFolder();
    void linkShowsItsTarget();
    void freeSpace_data();
    void freeSpace();
    void showFilesOnlyWithFilesFlag();
    void settingsWrittenAndReadBack();
    void settingsWriteFailureReported();
    void choiceBoxAnswers_data();
    void choiceBoxAnswers();
    void programDialogsUseTheFolderDialog();

private:
    QTemporaryDir m_env;
};

void TestShellDirDlg::initTestCase() {
    // The trash and "~" must never reach the real home.
    qputenv("HOME", m_env.path().toUtf8());
    qputenv("XDG_DATA_HOME", (m_env.path() + QStringLiteral("/data")).toUtf8());
    qputenv("XDG_CONFIG_HOME", (m_env.path() + QStringLiteral("/config")).toUtf8());
    QVERIFY(QDir().mkpath(m_env.path() + QStringLiteral("/data")));
}

void TestShellDirDlg::startPlace_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("defaultDir");
    QTest::addColumn<TShellRoot>("root");
    QTest::addColumn<QString>("folder");
    QTest::newRow("given folder") << "work/a/b"
                                  << "" << TShellRoot::Computer << "work/a/b";
    QTest::newRow("default folder") << ""
                                    << "work/c" << TShellRoot::Computer << "work/c";
    QTest::newRow("nothing") << ""
                             << "" << TShellRoot::Desktop << "home/Desktop";
    QTest::newRow("missing") << "work/gone"
                             << "" << TShellRoot::Computer << "home/Documents";
    QTest::newRow("network") << "net/share"
                             << "" << TShellRoot::Network << "net/share";
}

void TestShellDirDlg::startPlace() {
    QFETCH(QString, path);
    QFETCH(QString, defaultDir);
    QFETCH(TShellRoot, root);
    QFETCH(QString, folder);
    Fixture f;
    f.dlg.setup(QStringLiteral("Pick"), false, path.isEmpty() ? path : f.path(path),
                defaultDir.isEmpty() ? defaultDir : f.path(defaultDir), false);
    f.dlg.show();
    QCOMPARE(f.dlg.windowTitle(), QStringLiteral("Pick"));
    QCOMPARE(f.dlg.view().root, root);
    QCOMPARE(f.dlg.directoryText(), f.path(folder));
    QTRY_COMPARE(f.dlg.treeFolder(), f.path(folder));
    QVERIFY(f.dlg.okEnabled());
    auto* tree = f.child<QTreeView>("folderTree");
    QVERIFY(tree->isExpanded(tree->currentIndex()));
    QVERIFY2(f.dialogs.problems().isEmpty(), qPrintable(problems(f.dialogs)));
}

void TestShellDirDlg::typedFolder_data() {
    QTest::addColumn<QString>("text"); // "@" = the temporary folder
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QString>("treeFolder"); // empty: the tree stays
    QTest::newRow("existing") << "@/work/a/b" << true << "@/work/a/b";
    QTest::newRow("trailing slash") << "@/work/c/" << true << "@/work/c";
    QTest::newRow("missing") << "@/work/nothing" << false << "";
    // Typing passes the temporary folder on its way: the tree stops there.
    QTest::newRow("a file") << "@/orvel-file.txt" << false << "@";
    QTest::newRow("relative") << "work" << false << "";
    QTest::newRow("empty") << "" << false << "";
}

void TestShellDirDlg::typedFolder() {
    QFETCH(QString, text);
    QFETCH(bool, ok);
    QFETCH(QString, treeFolder);
    Fixture f;
    test::writeAll(f.path(QStringLiteral("orvel-file.txt")), "x");
    const QString start = f.path(QStringLiteral("work"));
    f.dlg.setup(QString(), false, start, QString(), false);
    f.dlg.show();
    QTRY_COMPARE(f.dlg.treeFolder(), start);
    f.type(text.replace(u'@', f.tmp.path()));
    QCOMPARE(f.dlg.okEnabled(), ok);
    QCOMPARE(f.dlg.directoryText(), text);
    const QString expected = treeFolder.isEmpty() ? start : treeFolder.replace(u'@', f.tmp.path());
    QTRY_COMPARE(f.dlg.treeFolder(), expected);
    QString result = QStringLiteral("unchanged");
    QCOMPARE(f.dlg.finish(true, result), ok);
    QCOMPARE(result, ok ? expected + u'/' : QStringLiteral("unchanged"));
}

void TestShellDirDlg::okMovesFolderToFront_data() {
    QTest::addColumn<QStringList>("chosen");
    QTest::addColumn<QStringList>("expected");
    QStringList sixteen;
    QStringList lastFifteen;
    for (int i = 1; i <= 16; ++i)
        sixteen << QStringLiteral("d%1").arg(i);
    for (int i = 16; i >= 2; --i)
        lastFifteen << QStringLiteral("d%1").arg(i);
    QTest::newRow("same twice") << QStringList{"d1", "d2", "d1/"} << QStringList{"d1", "d2"};
    QTest::newRow("16 different") << sixteen << lastFifteen;
    QTest::newRow("case differs") << QStringList{"D1", "d1"} << QStringList{"d1", "D1"};
}

void TestShellDirDlg::okMovesFolderToFront() {
    QFETCH(QStringList, chosen);
    QFETCH(QStringList, expected);
    Fixture f;
    for (const QString& c : chosen) {
        QVERIFY(QDir().mkpath(f.path(c)));
        QString result;
        QVERIFY(f.choose(f.path(c) + (c.endsWith(u'/') ? QStringLiteral("/") : QString()), result));
        QCOMPARE(result, f.path(c) + u'/');
    }
    QStringList full;
    for (const QString& e : expected)
        full << f.path(e);
    QCOMPARE(f.dlg.settings().folders.items(), full);
    QCOMPARE(f.boxItems(), full);
    // What the next start reads.
    TShellDirDialog again(nullptr, f.dialogs);
    again.LoadFromIni(f.ini);
    QCOMPARE(again.settings().folders.items(), full);
}

void TestShellDirDlg::cancelLeavesPath() {
    Fixture f;
    QString path = f.path(QStringLiteral("work/a"));
    const QString before = path;
    f.dlg.setup(QString(), false, path, QString(), false);
    f.type(f.path(QStringLiteral("work/c")));
    QVERIFY(!f.dlg.finish(false, path));
    QCOMPARE(path, before);
    QVERIFY(f.dlg.settings().folders.items().isEmpty());
}

void TestShellDirDlg::rootButtons() {
    Fixture f;
    f.dlg.setup(QString(), false, f.path(QStringLiteral("work/a")), QString(), false);
    f.dlg.show();
    struct Step {
        const char* button;
        TShellRoot root;
        QString folder;
    };
    const QList<Step> steps = {
        {"desktopButton", TShellRoot::Desktop, f.path(QStringLiteral("home/Desktop"))},
        {"documentsButton", TShellRoot::Documents, f.path(QStringLiteral("home/Documents"))},
        {"networkButton", TShellRoot::Network, f.path(QStringLiteral("net/share"))},
        {"computerButton", TShellRoot::Computer, f.path(QStringLiteral("net/share"))},
    };
    for (const Step& s : steps) {
        auto* b = f.child<QToolButton>(s.button);
        QVERIFY(b->isEnabled());
        QTest::mouseClick(b, Qt::LeftButton);
        QCOMPARE(f.dlg.view().root, s.root);
        QTRY_COMPARE(f.dlg.treeFolder(), s.folder);
        QCOMPARE(f.dlg.directoryText(), s.folder);
        // The place is the tree's one top node (Computer shows "/").
        auto* tree = f.child<QTreeView>("folderTree");
        QCOMPARE(tree->model()->rowCount(tree->rootIndex()), 1);
    }

    // Without a network mount the button is off.
    f.dlg.setPlaces(TShellPlaces{
        f.path(QStringLiteral("home/Desktop")), f.path(QStringLiteral("home/Documents")), {}, {}});
    f.dlg.setup(QString(), false, QString(), QString(), false);
    QVERIFY(!f.child<QToolButton>("networkButton")->isEnabled());
}

void TestShellDirDlg::folderUp_data() {
    QTest::addColumn<QString>("rootButton"); // empty: start under Computer
    QTest::addColumn<QString>("start");
    QTest::addColumn<int>("presses");
    QTest::addColumn<TShellRoot>("root");
    QTest::addColumn<QString>("folder");
    QTest::newRow("computer") << ""
                              << "work/a/b" << 2 << TShellRoot::Computer << "work";
    QTest::newRow("documents, inside")
        << "documentsButton"
        << "home/Documents/x/y" << 1 << TShellRoot::Documents << "home/Documents/x";
    QTest::newRow("documents, past the top")
        << "documentsButton"
        << "home/Documents/x" << 2 << TShellRoot::Computer << "home";
}

void TestShellDirDlg::folderUp() {
    QFETCH(QString, rootButton);
    QFETCH(QString, start);
    QFETCH(int, presses);
    QFETCH(TShellRoot, root);
    QFETCH(QString, folder);
    Fixture f;
    QVERIFY(QDir().mkpath(f.path(start)));
    f.dlg.setup(QString(), false, f.path(QStringLiteral("work")), QString(), false);
    f.dlg.show();
    if (!rootButton.isEmpty())
        QTest::mouseClick(f.child<QToolButton>(rootButton.toLatin1().constData()), Qt::LeftButton);
    f.paste(f.path(start));
    QTRY_COMPARE(f.dlg.treeFolder(), f.path(start));
    for (int i = 0; i < presses; ++i)
        QTest::mouseClick(f.child<QToolButton>("upButton"), Qt::LeftButton);
    QCOMPARE(f.dlg.view().root, root);
    QTRY_COMPARE(f.dlg.treeFolder(), f.path(folder));
    QCOMPARE(f.dlg.directoryText(), f.path(folder));
}

void TestShellDirDlg::defaultFolder() {
    Fixture f;
    f.dlg.setup(QString(), false, QString(), QString(), false);
    QVERIFY(f.child<QToolButton>("defaultButton")->isHidden());

    const QString def = f.path(QStringLiteral("work/c"));
    f.dlg.setup(QString(), false, f.path(QStringLiteral("work/a/b")), def, false);
    f.dlg.show();
    auto* button = f.child<QToolButton>("defaultButton");
    QVERIFY(button->isVisible());
    QCOMPARE(button->toolTip(), QStringLiteral("Default: ") + def);
    QTest::mouseClick(button, Qt::LeftButton);
    QTRY_COMPARE(f.dlg.treeFolder(), def);
    QCOMPARE(f.dlg.directoryText(), def);
    QVERIFY2(f.dialogs.problems().isEmpty(), qPrintable(problems(f.dialogs)));
}

void TestShellDirDlg::deletedDefaultFolderReportedAndForgotten() {
    Fixture f;
    const QString def = f.path(QStringLiteral("work/c"));
    QString result;
    QVERIFY(f.choose(def, result));
    QVERIFY(f.choose(f.path(QStringLiteral("work/a")), result));
    QVERIFY(QDir(def).removeRecursively());

    f.dlg.setup(QString(), false, f.path(QStringLiteral("work/a")), def, false);
    f.dlg.show();
    f.dialogs.expectError(QStringLiteral("Directory not found:\r\n") + def + u'!');
    QTest::mouseClick(f.child<QToolButton>("defaultButton"), Qt::LeftButton);
    QVERIFY2(f.dialogs.problems().isEmpty(), qPrintable(problems(f.dialogs)));
    QCOMPARE(f.dialogs.shown.size(), 1);
    QCOMPARE(f.boxItems(), QStringList{f.path(QStringLiteral("work/a"))});
    QCOMPARE(f.dlg.treeFolder(), f.path(QStringLiteral("work/a")));
    QVERIFY(!f.dlg.finish(false, result));
    const TUnicodeIniFile file = TUnicodeIniFile::CreateForRead(f.ini);
    QCOMPARE(file.ReadString(QStringLiteral("RecentFolders"), QStringLiteral("History0"), {}),
             f.path(QStringLiteral("work/a")));
    QVERIFY(!file.ValueExists(QStringLiteral("RecentFolders"), QStringLiteral("History1")));
}

void TestShellDirDlg::createFolder_data() {
    QTest::addColumn<bool>("viaMenu");
    QTest::addColumn<QString>("name"); // "!" cancels the prompt
    QTest::addColumn<QString>("error");
    QTest::addColumn<QString>("selected"); // relative to work
    QTest::newRow("with missing parents") << false << "x/y/z"
                                          << ""
                                          << "x/y/z";
    QTest::newRow("context menu") << true << "made"
                                  << ""
                                  << "made";
    QTest::newRow("existing") << false << "c"
                              << "Cannot create directory: @/work/c!"
                              << "";
    QTest::newRow("file in the way") << true << "file.txt/sub"
                                     << "Could not create directory:\r\n@/work/file.txt/sub!"
                                     << "";
    QTest::newRow("cancelled") << false << "!"
                               << ""
                               << "";
}

void TestShellDirDlg::createFolder() {
    QFETCH(bool, viaMenu);
    QFETCH(QString, name);
    QFETCH(QString, error);
    QFETCH(QString, selected);
    Fixture f;
    const QString work = f.path(QStringLiteral("work"));
    test::writeAll(work + QStringLiteral("/file.txt"), "x");
    f.dlg.setup(QString(), false, work, QString(), false);
    f.dlg.show();
    f.dialogs.expectInput(work + QStringLiteral("|New subdirectory:"), name, name != u'!');
    if (!error.isEmpty())
        f.dialogs.expectError(error.replace(u'@', f.tmp.path()));
    if (viaMenu)
        f.action(QStringLiteral("Create folder"))->trigger();
    else
        QTest::mouseClick(f.child<QToolButton>("newFolderButton"), Qt::LeftButton);
    QVERIFY2(f.dialogs.problems().isEmpty(), qPrintable(problems(f.dialogs)));
    const QString expected = selected.isEmpty() ? work : work + u'/' + selected;
    QVERIFY(QFileInfo(expected).isDir());
    QTRY_COMPARE(f.dlg.treeFolder(), expected);
    QCOMPARE(f.dlg.directoryText(), expected);
}

void TestShellDirDlg::deleteFolder_data() {
    QTest::addColumn<int>("choice");
    QTest::addColumn<bool>("failing");
    QTest::addColumn<QString>("message"); // "info:" or "error:" and its text
    QTest::addColumn<bool>("gone");
    QTest::newRow("definitely") << 0 << false << "info:3 directories with 3 files deleted!" << true;
    QTest::newRow("to recycle bin")
        << 1 << false << "info:@/work/victim moved to Recycle Bin!" << true;
    QTest::newRow("closed") << -1 << false << "" << false;
    QTest::newRow("a file stays") << 0 << true
                                  << "error:Error deleting directory:\r\n@/work/victim!" << false;
}

void TestShellDirDlg::deleteFolder() {
    QFETCH(int, choice);
    QFETCH(bool, failing);
    QFETCH(QString, message);
    QFETCH(bool, gone);
    Fixture f;
    const QString victim = f.path(QStringLiteral("work/victim"));
    for (const char* file : {"/a.txt", "/sub/b.txt", "/sub/deep/c.txt"}) {
        QVERIFY(QDir().mkpath(QFileInfo(victim + QLatin1String(file)).path()));
        test::writeAll(victim + QLatin1String(file), "x");
    }
    QVERIFY(QFile::setPermissions(victim + QStringLiteral("/a.txt"), QFileDevice::ReadOwner));
    if (failing)
        f.dlg.setDeleteOps({[](const QString& p) {
                                return !p.endsWith(QLatin1String("c.txt")) && QFile::remove(p);
                            },
                            {}});
    f.dlg.setup(QString(), false, victim, QString(), false);
    f.dlg.show();
    QTRY_COMPARE(f.dlg.treeFolder(), victim);
    f.dialogs.expectChoice(QStringLiteral("Delete directory|Delete \"") + victim + u'"', choice);
    message.replace(u'@', f.tmp.path());
    if (message.startsWith(QLatin1String("info:")))
        f.dialogs.expectInfo(message.mid(5));
    else if (message.startsWith(QLatin1String("error:")))
        f.dialogs.expectError(message.mid(6));
    f.action(QStringLiteral("Delete folder"))->trigger();
    QVERIFY2(f.dialogs.problems().isEmpty(), qPrintable(problems(f.dialogs)));
    QCOMPARE(!QFileInfo::exists(victim), gone);
    const QString trashed = m_env.path() + QStringLiteral("/data/Trash/files/victim");
    QCOMPARE(QFileInfo(trashed + QStringLiteral("/sub/deep/c.txt")).isFile(), choice == 1);
    QDir(m_env.path() + QStringLiteral("/data/Trash")).removeRecursively();
    // The tree went one folder up first, unless the question was closed.
    const QString expected = choice < 0 ? victim : f.path(QStringLiteral("work"));
    QTRY_COMPARE(f.dlg.treeFolder(), expected);
    QCOMPARE(f.dlg.directoryText(), expected);
    if (gone) {
        // The refreshed tree no longer lists it.
        auto* tree = f.child<QTreeView>("folderTree");
        const QAbstractItemModel* m = tree->model();
        QTRY_VERIFY(m->rowCount(tree->currentIndex()) >= 2);
        for (int r = 0; r < m->rowCount(tree->currentIndex()); ++r)
            QVERIFY(m->index(r, 0, tree->currentIndex()).data().toString() != "victim");
    }
}

void TestShellDirDlg::linkShowsItsTarget() {
    Fixture f;
    const QString target = f.path(QStringLiteral("work/a/b"));
    QVERIFY(QFile::link(target, f.path(QStringLiteral("work/c/link"))));
    f.dlg.setup(QString(), false, f.path(QStringLiteral("work/c")), QString(), false);
    f.dlg.show();
    auto* tree = f.child<QTreeView>("folderTree");
    QTRY_COMPARE(tree->model()->rowCount(tree->currentIndex()), 1);
    const QModelIndex link = tree->model()->index(0, 0, tree->currentIndex());
    QCOMPARE(link.data().toString(), QStringLiteral("link"));
    tree->setCurrentIndex(link);
    QCOMPARE(f.dlg.directoryText(), target);
    QString result;
    QVERIFY(f.dlg.finish(true, result));
    QCOMPARE(result, target + u'/');
}

void TestShellDirDlg::freeSpace_data() {
    QTest::addColumn<bool>("decimal");
    QTest::addColumn<QString>("pattern");
    QTest::newRow("decimal") << true << "^\\d[\\d.,]* (B|kB|MB|GB) free of \\d[\\d.,]* (kB|MB|GB)$";
    QTest::newRow("binary") << false
                            << "^\\d[\\d.,]* (B|KiB|MiB|GiB) free of \\d[\\d.,]* (KiB|MiB|GiB)$";
}

void TestShellDirDlg::freeSpace() {
    QFETCH(bool, decimal);
    QFETCH(QString, pattern);
    Fixture f;
    f.dlg.setDecimalFileSizes(decimal);
    f.dlg.setup(QString(), false, f.path(QStringLiteral("work")), QString(), false);
    const QString text = f.child<QLabel>("spaceLabel")->text();
    QVERIFY2(QRegularExpression(pattern).match(text).hasMatch(), qPrintable(text));
}

void TestShellDirDlg::showFilesOnlyWithFilesFlag() {
    Fixture f;
    test::writeAll(f.path(QStringLiteral("work/one.txt")), "1");
    test::writeAll(f.path(QStringLiteral("work/.hidden")), "1");
    f.dlg.settings().Fileview = true;
    f.dlg.setup(QString(), false, f.path(QStringLiteral("work")), QString(), false);
    f.dlg.show();
    auto* box = f.child<QCheckBox>("showFiles");
    auto* files = f.child<QListView>("fileList");
    QVERIFY(!box->isVisible());
    QVERIFY(!files->isVisible());

    f.dlg.setup(QString(), false, f.path(QStringLiteral("work")), QString(), true);
    QVERIFY(box->isVisible());
    QVERIFY(box->isChecked());
    QVERIFY(files->isVisible());
    // Files only, hidden ones left out without the show-hidden flag.
    QTRY_COMPARE(files->model()->rowCount(files->rootIndex()), 1);
    QCOMPARE(files->model()->index(0, 0, files->rootIndex()).data().toString(),
             QStringLiteral("one.txt"));
    box->click();
    QVERIFY(!files->isVisible());
    QString result;
    f.dlg.finish(false, result);
    QCOMPARE(f.dlg.settings().Fileview, false);
}

void TestShellDirDlg::settingsWrittenAndReadBack() {
    Fixture f;
    test::writeAll(f.ini, "[Config]\r\nToolbar=0\r\n");
    f.dlg.LoadFromIni(f.ini);
    f.dlg.setup(QString(), false, f.path(QStringLiteral("work")), QString(), true);
    f.dlg.show();
    f.child<QCheckBox>("showFiles")->setChecked(true);
    f.dlg.move(130, 90);
    auto* splitter = f.dlg.findChild<QSplitter*>();
    splitter->setSizes({330, 270});
    const int dirWidth = splitter->sizes().at(0);
    const int fileWidth = splitter->sizes().at(1);
    QString result;
    QVERIFY(f.dlg.finish(true, result));
    f.dlg.hide();

    const TUnicodeIniFile file = TUnicodeIniFile::CreateForRead(f.ini);
    const QString s = QStringLiteral("RecentFolders");
    QCOMPARE(file.ReadInteger(QStringLiteral("Config"), QStringLiteral("Toolbar"), 1), 0);
    QCOMPARE(file.ReadString(s, QStringLiteral("History0"), {}), f.path(QStringLiteral("work")));
    QCOMPARE(file.ReadInteger(s, QStringLiteral("Top"), 0), 90);
    QCOMPARE(file.ReadInteger(s, QStringLiteral("Left"), 0), 130);
    QCOMPARE(file.ReadInteger(s, QStringLiteral("DirWidth"), 0), dirWidth);
    QCOMPARE(file.ReadInteger(s, QStringLiteral("FileWidth"), 0), fileWidth);
    QCOMPARE(file.ReadBool(s, QStringLiteral("Fileview"), false), true);

    ScriptedDialogs answers;
    TShellDirDialog again(nullptr, answers);
    again.LoadFromIni(f.ini);
    again.setup(QString(), false, QString(), QString(), true);
    again.show();
    QCOMPARE(again.pos(), QPoint(130, 90));
    QVERIFY(again.findChild<QListView*>(QStringLiteral("fileList"))->isVisible());
    QTRY_COMPARE(again.findChild<QSplitter*>()->sizes(), (QList<int>{dirWidth, fileWidth}));
    QVERIFY2(answers.problems().isEmpty(), qPrintable(problems(answers)));
}

void TestShellDirDlg::settingsWriteFailureReported() {
    Fixture f;
    const QString ini = f.path(QStringLiteral("missing/orvel.ini"));
    f.dlg.LoadFromIni(ini);
    f.dlg.setup(QString(), false, f.path(QStringLiteral("work")), QString(), false);
    f.dialogs.expectError(ini);
    QString result;
    QVERIFY(f.dlg.finish(true, result));
    QCOMPARE(result, f.path(QStringLiteral("work")) + u'/');
    QVERIFY2(f.dialogs.problems().isEmpty(), qPrintable(problems(f.dialogs)));
}

void TestShellDirDlg::choiceBoxAnswers_data() {
    QTest::addColumn<int>("press"); // -1: Escape
    QTest::newRow("first") << 0;
    QTest::newRow("second") << 1;
    QTest::newRow("escape") << -1;
}

void TestShellDirDlg::choiceBoxAnswers() {
    QFETCH(int, press);
    TQtDialogs real;
    const QStringList captions = {QStringLiteral("Definitely"), QStringLiteral("To recycle bin")};
    QStringList seen;
    QTimer::singleShot(0, this, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box)
            return;
        QAbstractButton* wanted = nullptr;
        for (QAbstractButton* b : box->buttons()) {
            if (b->isVisible())
                seen << b->text();
            if (press >= 0 && b->text() == captions.at(press))
                wanted = b;
        }
        if (wanted)
            wanted->click();
        else
            QTest::keyClick(box, Qt::Key_Escape);
    });
    const int answer =
        real.choose(QStringLiteral("Delete directory"), QStringLiteral("Delete x"), captions);
    QCOMPARE(answer, press);
    QCOMPARE(seen, (QStringList{"Definitely", "To recycle bin"}));
}

void TestShellDirDlg::programDialogsUseTheFolderDialog() {
    QTemporaryDir tmp;
    const QString ini = tmp.filePath(QStringLiteral("orvel.ini"));
    const QString start = tmp.filePath(QStringLiteral("start"));
    QVERIFY(QDir().mkpath(start));
    TQtDialogs real;
    real.setIniFileName(ini);
    QList<TShellDirDialog*> seen;
    const auto answer = [&](bool ok) {
        QTimer::singleShot(0, this, [&, ok] {
            auto* dlg = qobject_cast<TShellDirDialog*>(QApplication::activeModalWidget());
            if (!dlg)
                return;
            seen << dlg;
            ok ? dlg->accept() : dlg->reject();
        });
    };
    answer(true);
    QCOMPARE(real.chooseFolder(QStringLiteral("Pick one"), start, tmp.path()), start + u'/');
    answer(false);
    QCOMPARE(real.chooseFolder(QStringLiteral("Pick one"), start), QString());
    QCOMPARE(seen.size(), 2);
    QCOMPARE(seen.at(0), seen.at(1)); // one dialog for the whole run
    QCOMPARE(seen.at(0)->windowTitle(), QStringLiteral("Pick one"));
    const TUnicodeIniFile file = TUnicodeIniFile::CreateForRead(ini);
    const QString section = QStringLiteral("RecentFolders");
    QCOMPARE(file.ReadString(section, QStringLiteral("History0"), {}), start);
    // Read while the window was still open, not after it had gone.
    const TShellDirSettings& s = seen.at(0)->settings();
    QVERIFY(s.DirWidth > 0);
    QCOMPARE(file.ReadInteger(section, QStringLiteral("DirWidth"), 0), s.DirWidth);
    QCOMPARE(file.ReadInteger(section, QStringLiteral("Top"), 0), seen.at(0)->y());
}

QTEST_MAIN(TestShellDirDlg)
#include "tst_shelldirdlg.moc"
