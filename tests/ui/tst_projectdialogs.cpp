#include "ScriptedDialogs.h"
#include "base/core/IniFileUtils.h"
#include "base/ui/HListBox.h"
#include "projects/ui/FtpProxyDlg.h"
#include "projects/ui/ProjectDlg.h"
#include "projects/ui/QtProjectDialogs.h"
#include "projects/ui/SelectProjectDlg.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

using namespace orvel;
using orvel::test::ScriptedDialogs;

namespace {

const QList<TLanguageName> kLanguages = {{"German", 1031}, {"English (US)", 1033}};

TProjectInfo ftpProject() {
    TProjectInfo p(QStringLiteral("/tmp/site.prj"));
    p.ProjName = QStringLiteral("Site");
    p.ProjPath = QStringLiteral("/srv/site/");
    p.CaseMode = tcLower;
    p.LangId = 1033;
    p.TransferMode = tmFtp;
    p.RemotePath = QStringLiteral("/htdocs");
    p.Host = QStringLiteral("ftp.example.org");
    p.Username = QStringLiteral("webmaster");
    p.Password = QStringLiteral("old pw");
    p.Port = 2100;
    p.SecureMode = 1;
    p.Passive = true;
    p.ProxyPar.Server = QStringLiteral("proxy.lan");
    p.ProxyPar.Mode = 2;
    p.ProjEncoding = seUTF8;
    p.UseBom = false;
    return p;
}

// Every field the dialog may change, to compare projects as a whole.
QStringList fields(const TProjectInfo& p) {
    return {p.ProjName,
            p.ProjPath,
            QString::number(p.CaseMode),
            QString::number(p.LangId),
            QString::number(p.Reload),
            p.TextTypes,
            p.BinTypes,
            QString::number(p.TransferMode),
            p.RemotePath,
            p.Host,
            p.Username,
            p.Password,
            QString::number(p.Port),
            QString::number(p.SecureMode),
            QString::number(p.Passive),
            p.ProxyPar.Server,
            QString::number(p.ProxyPar.Port),
            QString::number(p.ProxyPar.Mode),
            QString::number(p.ProjEncoding),
            QString::number(p.UseBom),
            QString::number(p.Changed)};
}

// Records where the folder chooser starts.
class FolderDialogs : public ScriptedDialogs {
public:
    QString chooseFolder(const QString& prompt, const QString& startDir,
                         const QString& defaultDir) override {
        asked << prompt + u'|' + startDir + u'|' + defaultDir;
        return ScriptedDialogs::chooseFolder(prompt, startDir, defaultDir);
    }
    QStringList asked;
};

} // namespace

class TestProjectDialogs : public QObject {
    Q_OBJECT
private slots:
    void bomFollowsEncoding_data();
    void newProjectOffersUtf8();
    void bomFollowsEncoding();
    void ftpFieldsRoundTrip();
    void cancelLeavesProjectUnchanged();
    void emptyRootTakesDefault();
    void historiesKeptInSettings();
    void languageSelection_data();
    void languageSelection();
    void serverPagesFollowConnection();
    void proxyCheckOpensProxyDialog_data();
    void proxyCheckOpensProxyDialog();
    void browseStartsAtNearestFolder();
    void selectSorting();
    void selectAnswers_data();
    void selectAnswers();
    void proxyDialogPort_data();
    void proxyDialogPort();
    void proxyDialogFields();
    void orderProjects();
};

void TestProjectDialogs::bomFollowsEncoding_data() {
    QTest::addColumn<int>("encoding");
    QTest::addColumn<bool>("useBom");
    QTest::addColumn<bool>("enabledAtOpen");
    QTest::addColumn<bool>("checkedAtOpen");
    QTest::addColumn<int>("chosen"); // -1: no change
    QTest::addColumn<bool>("enabledAfter");
    QTest::addColumn<bool>("checkedAfter");
    QTest::newRow("UTF-8 shows BOM on")
        << int(seUTF8) << true << true << true << -1 << true << true;
    QTest::newRow("UTF-8 shows BOM off")
        << int(seUTF8) << false << true << false << -1 << true << false;
    QTest::newRow("UTF-16 LE checks")
        << int(seUTF16LE) << false << false << true << -1 << false << true;
    QTest::newRow("ANSI clears") << int(seAnsi) << true << false << false << -1 << false << false;
    QTest::newRow("choosing UTF-8 clears")
        << int(seUTF16BE) << true << false << true << int(seUTF8) << true << false;
    QTest::newRow("choosing UTF-16 BE checks")
        << int(seUTF8) << false << true << false << int(seUTF16BE) << false << true;
    QTest::newRow("choosing ANSI clears")
        << int(seUTF8) << true << true << true << int(seAnsi) << false << false;
}

// A new user's first page is declared UTF-8.
void TestProjectDialogs::newProjectOffersUtf8() {
    TProjectInfo project;
    TProjectDialog dlg;
    dlg.setup(QPoint(-1, -1), "New project", project, true, kLanguages, "/srv/");
    QCOMPARE(dlg.encodingBox()->currentText(), QString("UTF-8"));
    QVERIFY(dlg.bomBox()->isEnabled());
    QVERIFY(!dlg.bomBox()->isChecked());
}

void TestProjectDialogs::bomFollowsEncoding() {
    QFETCH(int, encoding);
    QFETCH(bool, useBom);
    QFETCH(bool, enabledAtOpen);
    QFETCH(bool, checkedAtOpen);
    QFETCH(int, chosen);
    QFETCH(bool, enabledAfter);
    QFETCH(bool, checkedAfter);
    TProjectInfo project;
    project.ProjEncoding = TSynEncoding(encoding);
    project.UseBom = useBom;
    TProjectDialog dlg;
    dlg.setup(QPoint(-1, -1), "Edit project settings", project, true, kLanguages, "/srv/");
    QCOMPARE(dlg.bomBox()->isEnabled(), enabledAtOpen);
    QCOMPARE(dlg.bomBox()->isChecked(), checkedAtOpen);
    if (chosen >= 0)
        dlg.encodingBox()->setCurrentIndex(chosen);
    QCOMPARE(dlg.bomBox()->isEnabled(), enabledAfter);
    QCOMPARE(dlg.bomBox()->isChecked(), checkedAfter);
    QVERIFY(dlg.finish(true, project));
    QCOMPARE(int(project.ProjEncoding), chosen >= 0 ? chosen : encoding);
    QCOMPARE(project.UseBom, checkedAfter);
}

void TestProjectDialogs::ftpFieldsRoundTrip() {
    TProjectInfo project = ftpProject();
    TProjectDialog dlg;
    dlg.setup(QPoint(-1, -1), "Edit project settings", project, false, kLanguages, "/srv/");
    QCOMPARE(dlg.windowTitle(), QString("Edit project settings"));
    QCOMPARE(dlg.serverPages()->currentIndex(), 1);
    QCOMPARE(dlg.serverBox()->currentText(), QString("ftp.example.org"));
    QCOMPARE(dlg.portBox()->value(), 2100);
    QCOMPARE(dlg.userBox()->currentText(), QString("webmaster"));
    QCOMPARE(dlg.passwordBox()->text(), QString("old pw"));
    QCOMPARE(dlg.passwordBox()->echoMode(), QLineEdit::Password);
    QCOMPARE(dlg.remoteDirBox()->currentText(), QString("/htdocs"));
    QVERIFY(dlg.passiveBox()->isChecked());
    QCOMPARE(dlg.tlsBox()->currentIndex(), 1);
    QVERIFY(!dlg.tlsBox()->isEnabled()); // TLS not available
    QVERIFY(dlg.proxyBox()->isChecked());
    QVERIFY(!dlg.protocolLogBox()->isChecked()); // off unless asked for
    QCOMPARE(dlg.caseBox()->currentIndex(), int(tcLower));
    QCOMPARE(dlg.languageBox()->currentText(), QString("English (US)"));

    dlg.showPasswordButton()->click();
    QCOMPARE(dlg.passwordBox()->echoMode(), QLineEdit::Normal);

    dlg.nameBox()->setText("Renamed");
    dlg.rootBox()->setText("/srv/other");
    dlg.serverBox()->setEditText(" ftp2.example.org ");
    // The whole port range is accepted.
    dlg.portBox()->setValue(65535);
    dlg.userBox()->setEditText("ünïcode user");
    dlg.passwordBox()->setText("pä ss€");
    dlg.remoteDirBox()->setEditText("/www/Site");
    dlg.passiveBox()->setChecked(false);
    dlg.tlsBox()->setCurrentIndex(3);
    dlg.proxyBox()->setChecked(false);
    dlg.protocolLogBox()->setChecked(true);
    dlg.reloadBox()->setChecked(false);
    project.Changed = false;
    QVERIFY(dlg.finish(true, project));

    QCOMPARE(project.ProjName, QString("Renamed"));
    QCOMPARE(project.ProjPath, QString("/srv/other/"));
    QCOMPARE(project.TransferMode, tmFtp);
    QCOMPARE(project.Host, QString("ftp2.example.org"));
    QCOMPARE(project.Port, 65535);
    QCOMPARE(project.Username, QString("ünïcode user"));
    QCOMPARE(project.Password, QString("pä ss€"));
    QCOMPARE(project.RemotePath, QString("/www/Site"));
    QVERIFY(!project.Passive);
    QCOMPARE(project.SecureMode, 3);
    QCOMPARE(project.ProxyPar.Mode, quint8(0));
    QCOMPARE(project.ProxyPar.Server, QString("proxy.lan"));
    QVERIFY(project.ProtocolLog);
    QVERIFY(!project.Reload);
    QCOMPARE(project.LangId, 1033u);
    QCOMPARE(project.CaseMode, tcLower);
    QVERIFY(project.Changed);
    // What was used goes into the histories.
    QCOMPARE(dlg.serverBox()->HistoryList()->at(0), QString("ftp2.example.org"));
    QCOMPARE(dlg.remoteDirBox()->HistoryList()->at(0), QString("/www/Site"));
}

void TestProjectDialogs::cancelLeavesProjectUnchanged() {
    TProjectInfo project = ftpProject();
    const QStringList before = fields(project);
    TProjectDialog dlg;
    dlg.setup(QPoint(10, 10), "Edit project settings", project, true, kLanguages, "/srv/");
    dlg.nameBox()->setText("Other");
    dlg.serverBox()->setEditText("elsewhere");
    dlg.proxyBox()->setChecked(false);
    dlg.encodingBox()->setCurrentIndex(seUTF16LE);
    dlg.languageBox()->setCurrentIndex(0);
    dlg.transferBox()->setCurrentIndex(tmDirect);
    dlg.shareBox()->setEditText("/mnt/share");
    QVERIFY(!dlg.finish(false, project));
    QCOMPARE(fields(project), before);
}

void TestProjectDialogs::emptyRootTakesDefault() {
    TProjectInfo project;
    TProjectDialog dlg;
    dlg.setup(QPoint(-1, -1), "New project", project, true, kLanguages, "/home/u/Sites/");
    QCOMPARE(dlg.rootBox()->text(), QString("/home/u/Sites/"));
    QCOMPARE(dlg.transferBox()->currentIndex(), int(tmOff));
    QVERIFY(dlg.finish(true, project));
    QCOMPARE(project.ProjPath, QString("/home/u/Sites/"));
    QCOMPARE(project.TransferMode, tmOff);
    QCOMPARE(project.RemotePath, QString());
}

void TestProjectDialogs::historiesKeptInSettings() {
    QTemporaryDir tmp;
    QVERIFY(tmp.isValid());
    const QString iniName = tmp.filePath("orvel.ini");
    {
        TUnicodeIniFile ini = TUnicodeIniFile::CreateForWrite(iniName);
        ini.WriteString("FtpServer", "History0", "ftp.old.org");
        ini.WriteString("Shares", "History0", "/mnt/Web");
        ini.WriteString("Shares", "History1", "/mnt/web");
        QVERIFY(ini.UpdateFile().ok());
    }
    TProjectInfo project = ftpProject();
    {
        TProjectDialog dlg;
        dlg.LoadFromIni(iniName);
        QCOMPARE(dlg.serverBox()->HistoryList()->items(), QStringList{"ftp.old.org"});
        // Folder names that differ by case are different folders.
        QCOMPARE(dlg.shareBox()->HistoryList()->count(), 2);
        QCOMPARE(dlg.remoteDirBox()->MaxItems(), 15);
        dlg.setup(QPoint(-1, -1), "Edit project settings", project, true, kLanguages, "/srv/");
        QVERIFY(dlg.finish(true, project));
        // The owner writes the histories with the rest of the settings at exit.
        TUnicodeIniFile settings = TUnicodeIniFile::CreateForWrite(iniName);
        dlg.SaveToIni(settings);
        QVERIFY(settings.UpdateFile().ok());
    }
    const TUnicodeIniFile ini = TUnicodeIniFile::CreateForRead(iniName);
    QCOMPARE(ini.ReadString("FtpServer", "History0", ""), QString("ftp.example.org"));
    QCOMPARE(ini.ReadString("FtpServer", "History1", ""), QString("ftp.old.org"));
    QCOMPARE(ini.ReadString("Usernames", "History0", ""), QString("webmaster"));
    QCOMPARE(ini.ReadString("FtpDirs", "History0", ""), QString("/htdocs"));
}

void TestProjectDialogs::languageSelection_data() {
    QTest::addColumn<uint>("langId");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<uint>("stored");
    QTest::newRow("listed") << 1031u << "German" << 1031u;
    QTest::newRow("none") << 0u << "None" << 0u;
    QTest::newRow("not listed reads as none") << 2057u << "None" << 0u;
}

void TestProjectDialogs::languageSelection() {
    QFETCH(uint, langId);
    QFETCH(QString, shown);
    QFETCH(uint, stored);
    TProjectInfo project;
    project.LangId = langId;
    TProjectDialog dlg;
    dlg.setup(QPoint(-1, -1), "Edit project settings", project, true, kLanguages, "/srv/");
    QCOMPARE(dlg.languageBox()->count(), 3);
    QCOMPARE(dlg.languageBox()->currentText(), shown);
    QVERIFY(dlg.finish(true, project));
    QCOMPARE(project.LangId, stored);
}

void TestProjectDialogs::serverPagesFollowConnection() {
    TProjectInfo project = ftpProject();
    TProjectDialog dlg;
    dlg.setup(QPoint(20, 20), "Edit project settings", project, true, kLanguages, "/srv/");
    dlg.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dlg));
    QVERIFY(dlg.serverPages()->isVisible());
    QVERIFY(dlg.fileTypesRow()->isVisible());
    const int fullHeight = dlg.height();

    dlg.transferBox()->setCurrentIndex(tmOff);
    QVERIFY(!dlg.serverPages()->isVisible());
    QVERIFY(!dlg.fileTypesRow()->isVisible());
    const int noneHeight = dlg.height();
    QVERIFY(noneHeight < fullHeight);

    // Choosing an item shows its page, refilled from the project.
    dlg.transferBox()->setCurrentIndex(tmDirect);
    QVERIFY(dlg.serverPages()->isVisible());
    QCOMPARE(dlg.serverPages()->currentIndex(), 0);
    QVERIFY(dlg.height() > noneHeight);
    dlg.serverBox()->setEditText("typed");
    dlg.transferBox()->setCurrentIndex(tmFtp);
    QCOMPARE(dlg.serverPages()->currentIndex(), 1);
    QCOMPARE(dlg.serverBox()->currentText(), QString("ftp.example.org"));

    // Choosing a page selects its item.
    dlg.serverPages()->setCurrentIndex(0);
    QCOMPARE(dlg.transferBox()->currentIndex(), int(tmDirect));
    dlg.shareBox()->setEditText("/mnt/web");
    QVERIFY(dlg.finish(true, project));
    QCOMPARE(project.TransferMode, tmDirect);
    QCOMPARE(project.RemotePath, QString("/mnt/web"));
    QCOMPARE(project.Host, QString("ftp.example.org"));
}

void TestProjectDialogs::proxyCheckOpensProxyDialog_data() {
    QTest::addColumn<bool>("ok");
    QTest::addColumn<int>("modeSet");
    QTest::addColumn<bool>("checkedAfter");
    QTest::newRow("OK with a method") << true << 4 << true;
    QTest::newRow("cancelled without a proxy") << false << 0 << false;
}

void TestProjectDialogs::proxyCheckOpensProxyDialog() {
    QFETCH(bool, ok);
    QFETCH(int, modeSet);
    QFETCH(bool, checkedAfter);
    TProjectInfo project = ftpProject();
    project.ProxyPar.Mode = 0;
    TProjectDialog dlg;
    int calls = 0;
    dlg.setProxyEditor([&](TFtpProxyParams& params) {
        ++calls;
        if (!ok)
            return false;
        params.Server = QStringLiteral("fw.lan");
        params.Mode = quint8(modeSet);
        return true;
    });
    dlg.setup(QPoint(-1, -1), "Edit project settings", project, true, kLanguages, "/srv/");
    QVERIFY(!dlg.proxyBox()->isChecked());
    QCOMPARE(calls, 0);
    // Only a visible dialog asks.
    dlg.proxyBox()->setChecked(true);
    QCOMPARE(calls, 0);
    dlg.proxyBox()->setChecked(false);

    dlg.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dlg));
    dlg.proxyBox()->click();
    QCOMPARE(calls, 1);
    QCOMPARE(dlg.proxyBox()->isChecked(), checkedAfter);
    // The proxy dialog's OK holds even when the project dialog is cancelled.
    QVERIFY(!dlg.finish(false, project));
    QCOMPARE(int(project.ProxyPar.Mode), modeSet);
    QCOMPARE(project.ProxyPar.Server, QString(ok ? "fw.lan" : "proxy.lan"));
}

void TestProjectDialogs::browseStartsAtNearestFolder() {
    QTemporaryDir tmp;
    QVERIFY(tmp.isValid());
    QVERIFY(QDir(tmp.path()).mkpath("site/a"));
    FolderDialogs dialogs;
    dialogs.expectFolder("/chosen/root/").expectFolder(QString()).expectFolder("/mnt/share/");
    TProjectInfo project;
    project.ProjName = QStringLiteral("Web");
    project.ProjPath = tmp.path() + "/site/a/missing/deeper/";
    TProjectDialog dlg;
    dlg.setDialogs(&dialogs);
    dlg.setup(QPoint(-1, -1), "Edit project settings", project, true, kLanguages, "/srv/def/");
    dlg.rootBrowseButton()->click();
    QCOMPARE(dlg.rootBox()->text(), QString("/chosen/root/"));
    // A cancelled choice keeps what was typed.
    dlg.rootBrowseButton()->click();
    QCOMPARE(dlg.rootBox()->text(), QString("/chosen/root/"));
    dlg.transferBox()->setCurrentIndex(tmDirect);
    dlg.shareBox()->setEditText(tmp.path() + "/site");
    dlg.shareBrowseButton()->click();
    QCOMPARE(dlg.shareBox()->currentText(), QString("/mnt/share/"));
    QCOMPARE(dialogs.asked.value(0), "Project: Web|" + tmp.path() + "/site/a|/srv/def/");
    QCOMPARE(dialogs.asked.value(1), QString("Project: Web|/|/srv/def/"));
    QCOMPARE(dialogs.asked.value(2), "Project: Web|" + tmp.path() + "/site|/srv/def/");
    QVERIFY2(dialogs.problems().isEmpty(), qPrintable(dialogs.problems().join('\n')));
}

void TestProjectDialogs::selectSorting() {
    TSelectProjectDialog dlg;
    QVERIFY(dlg.alphabeticalButton()->isChecked());
    const QStringList names = {"beta", "Gamma", "alpha", "Beta"};
    dlg.setup("Choose a project", names, 1);
    QCOMPARE(dlg.shownNames(), (QStringList{"alpha", "beta", "Beta", "Gamma"}));
    QCOMPARE(dlg.listWidget()->currentItem()->text(), QString("Gamma"));
    QCOMPARE(dlg.openButton()->toolTip(), QString("Open selected project"));
    dlg.unsortedButton()->click();
    QCOMPARE(dlg.shownNames(), names);
    QCOMPARE(dlg.selectedIndex(), 1);
    dlg.alphabeticalButton()->click();
    QCOMPARE(dlg.shownNames(), (QStringList{"alpha", "beta", "Beta", "Gamma"}));
    QCOMPARE(dlg.selectedIndex(), 1);
}

void TestProjectDialogs::selectAnswers_data() {
    QTest::addColumn<QString>("action");
    QTest::addColumn<int>("result");
    QTest::addColumn<int>("index");
    // The list shows alpha, beta, Gamma; row 0 is list index 2.
    QTest::newRow("Open the sorted first row") << "open" << 1 << 2;
    QTest::newRow("double click") << "double" << 1 << 2;
    QTest::newRow("Return") << "return" << 1 << 2;
    QTest::newRow("New") << "new" << 6 << 1;
    QTest::newRow("Other") << "other" << 4 << 1;
    QTest::newRow("Cancel") << "cancel" << 2 << 1;
    QTest::newRow("Escape") << "escape" << 2 << 1;
}

void TestProjectDialogs::selectAnswers() {
    QFETCH(QString, action);
    QFETCH(int, result);
    QFETCH(int, index);
    TSelectProjectDialog dlg;
    int chosen = 1;
    QTimer::singleShot(0, &dlg, [&] {
        QVERIFY(dlg.isVisible());
        QListWidget* list = dlg.listWidget();
        QCOMPARE(list->currentItem()->text(), QString("Gamma"));
        list->setCurrentRow(0);
        list->doItemsLayout();
        if (action == "open")
            dlg.openButton()->click();
        else if (action == "double") {
            const QPoint at = list->visualItemRect(list->item(0)).center();
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
            QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
        } else if (action == "return")
            QTest::keyClick(list, Qt::Key_Return);
        else if (action == "new")
            dlg.newButton()->click();
        else if (action == "other")
            dlg.otherButton()->click();
        else if (action == "cancel")
            dlg.cancelButton()->click();
        else
            QTest::keyClick(list, Qt::Key_Escape);
        // An action that did not close the dialog fails the row instead of hanging it.
        if (dlg.isVisible())
            dlg.done(-1);
    });
    QCOMPARE(dlg.Execute("Projects", {"beta", "Gamma", "alpha"}, chosen), result);
    QCOMPARE(chosen, index);
}

void TestProjectDialogs::proxyDialogPort_data() {
    QTest::addColumn<QString>("port");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("too large") << "70000" << false;
    QTest::newRow("negative") << "-1" << false;
    QTest::newRow("not a number") << "21a" << false;
    QTest::newRow("empty") << "" << false;
    QTest::newRow("zero") << "0" << true;
    QTest::newRow("largest") << "65535" << true;
}

void TestProjectDialogs::proxyDialogPort() {
    QFETCH(QString, port);
    QFETCH(bool, accepted);
    ScriptedDialogs dialogs;
    if (!accepted)
        dialogs.expectError("Invalid port number (" + port + ")");
    TFtpProxyDialog dlg;
    dlg.setDialogs(&dialogs);
    TFtpProxyParams params;
    params.Port = 8021;
    dlg.setup(params, true);
    dlg.portBox()->setText(port);
    dlg.okButton()->click();
    QCOMPARE(dlg.result() == QDialog::Accepted, accepted);
    QCOMPARE(dlg.finish(dlg.result() == QDialog::Accepted, params), accepted);
    QCOMPARE(params.Port, accepted ? port.toUInt() : 8021u);
    QVERIFY2(dialogs.problems().isEmpty(), qPrintable(dialogs.problems().join('\n')));
}

void TestProjectDialogs::proxyDialogFields() {
    TFtpProxyDialog dlg;
    TFtpProxyParams params;
    params.Server = QStringLiteral("fw.lan");
    params.Username = QStringLiteral("me");
    params.Password = QStringLiteral("päss");
    QTimer::singleShot(0, &dlg, [&] {
        QCOMPARE(dlg.windowTitle(), QString("FTP proxy server options"));
        QCOMPARE(dlg.portBox()->text(), QString("2121"));
        QVERIFY(dlg.methodButton(1)->isChecked()); // mode 0 opens on the first method
        QVERIFY(!dlg.showPasswordBox()->isVisible());
        QCOMPARE(dlg.passwordBox()->echoMode(), QLineEdit::Password);
        dlg.serverBox()->setText("proxy2.lan");
        dlg.passwordBox()->setText("nëw");
        dlg.methodButton(6)->click();
        dlg.okButton()->click();
    });
    QVERIFY(dlg.Execute(params, false));
    QCOMPARE(params.Server, QString("proxy2.lan"));
    QCOMPARE(params.Username, QString("me"));
    QCOMPARE(params.Password, QString("nëw"));
    QCOMPARE(params.Port, 2121u);
    QCOMPARE(int(params.Mode), 6);

    // Cancel keeps the parameters.
    QTimer::singleShot(0, &dlg, [&] {
        QVERIFY(dlg.methodButton(6)->isChecked());
        QVERIFY(dlg.showPasswordBox()->isVisible());
        dlg.showPasswordBox()->click();
        QCOMPARE(dlg.passwordBox()->echoMode(), QLineEdit::Normal);
        dlg.serverBox()->setText("changed");
        dlg.reject();
    });
    QVERIFY(!dlg.Execute(params, true));
    QCOMPARE(params.Server, QString("proxy2.lan"));
}

void TestProjectDialogs::orderProjects() {
    QWidget owner;
    TQtProjectDialogs dialogs(&owner);
    QTimer::singleShot(0, &owner, [&] {
        auto* dlg = qobject_cast<TEditHistListDialog*>(QApplication::activeModalWidget());
        QVERIFY(dlg);
        QCOMPARE(dlg->windowTitle(), QString("Order of Projects"));
        QListWidget* list = dlg->listWidget();
        list->clearSelection();
        list->setCurrentRow(1, QItemSelectionModel::ClearAndSelect);
        dlg->removeItems(); // b
        list->clearSelection();
        list->setCurrentRow(1, QItemSelectionModel::ClearAndSelect);
        dlg->moveUp(); // c before a
        dlg->accept();
    });
    int index = 2; // c
    QList<int> order;
    QVERIFY(dialogs.orderProjects(QPoint(-1, -1), {"a", "b", "c"}, index, order));
    QCOMPARE(order, (QList<int>{2, 0}));
    QCOMPARE(index, 0);
}

QTEST_MAIN(TestProjectDialogs)
#include "tst_projectdialogs.moc"
