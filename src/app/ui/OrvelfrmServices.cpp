// The main window's services: autosave with recovery, the transfer log and its menus, the
// recent files list.

#include "app/ui/Orvelfrm.h"
#include "app/ui/ShowTextDlg.h"
#include "base/core/Dialogs.h"
#include "base/core/FileSystem.h"
#include "base/core/HistoryList.h"
#include "base/core/LogFile.h"
#include "base/core/Translate.h"
#include "base/ui/CommandList.h"
#include "dialogs/core/ElementDialogs.h"
#include "editor/ui/OrvelMDI.h"
#include "textcontrol/ui/EditorControl.h"

#include <QAction>
#include <QActionGroup>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QTimer>
#include <QToolBar>

#include "app/ui/MainLayout.h"

namespace orvel {

namespace {
const TCommandDef kShowLog = {CMD(ActionShowLog),  0, N_("Actions"), N_("&Show log file"),
                              N_("Show log file"), ""};
} // namespace

void THauptForm::createServiceMenus() {
    m_log = std::make_unique<TLogFile>(m_start.logName);
    m_log->UseLog = m_settings.Config.UseLogFile;

    auto* prefs = new QMenu(T_("P&references"), this);
    m_prefsMenu = prefs;
    QMenu* editor = prefs->addMenu(T_("&Editor"));
    m_autosaveItem = editor->addAction(T_("&Autosave .."));
    m_autosaveItem->setCheckable(true);
    connect(m_autosaveItem, &QAction::triggered, this,
            [this] { m_commands->run([this] { itmAutosaveClick(); }); });
    QMenu* logMenu = prefs->addMenu(T_("File &transfer log"));
    auto* group = new QActionGroup(this);
    m_logActive = logMenu->addAction(T_("&Active"));
    m_logOff = logMenu->addAction(T_("&Off"));
    for (QAction* a : {m_logActive, m_logOff}) {
        a->setCheckable(true);
        group->addAction(a);
    }
    (m_settings.Config.UseLogFile ? m_logActive : m_logOff)->setChecked(true);
    connect(m_logActive, &QAction::triggered, this, [this] { m_log->UseLog = true; });
    connect(m_logOff, &QAction::triggered, this, [this] { m_log->UseLog = false; });
    // A log that cannot be written says so once and shows itself off.
    m_log->setFailureHandler([this](const QString& message) {
        reportError(message);
        m_logOff->setChecked(true);
    });
    QAction* rootDir = prefs->addAction(T_("&Root directory .."));
    connect(rootDir, &QAction::triggered, this,
            [this] { m_commands->run([this] { itmRootDirClick(); }); });
    m_ownMenus.insert(1, prefs);
    m_ownGroups.insert(1, 8);

    QAction* show = m_commands->add(kShowLog, [this] { ActionShowLogExecute(); });
    addAction(show);
    m_layout->fileToolBar->addAction(show);
    m_windowCommands << show;
    fillWindowMenu();

    // The recent files drop-down starts with its own entry.
    QAction* clear = new QAction(T_("Clear list"), this);
    connect(clear, &QAction::triggered, this,
            [this] { m_commands->run([this] { ClearRecentFiles(); }); });
    m_recentMenu->insertAction(m_recentMenu->actions().value(0), clear);

    m_autosaveTimer = new QTimer(this);
    connect(m_autosaveTimer, &QTimer::timeout, this,
            [this] { m_commands->run([this] { AutosaveTick(); }); });
    const int minutes = m_settings.Config.AutoSave;
    m_autosaveItem->setChecked(minutes > 0);
    if (minutes > 0)
        m_autosaveTimer->start(minutes * 60000);
    mergeMenus();
}

void THauptForm::AutosaveTick() {
    QStringList failures;
    for (TMDIForm* form : documents()) {
        const TStatus saved = form->SaveTextToTemp();
        if (saved.ok()) {
            m_autosaveFailed.removeAll(form->autosaveName());
        } else if (!m_autosaveFailed.contains(form->autosaveName())) {
            // The others still get their copies; a copy that keeps failing is told once.
            m_autosaveFailed << form->autosaveName();
            failures << saved.error();
        }
    }
    for (const QString& f : failures)
        reportError(f);
}

void THauptForm::itmAutosaveClick() {
    int minutes = m_settings.Config.AutoSave;
    m_autosaveItem->setChecked(minutes > 0);
    if (!m_elements->inputNumber(T_("Save text automatically"), T_("Interval (0 = off):"),
                                 T_("min"), minutes, 0, 99))
        return;
    m_settings.Config.AutoSave = minutes;
    m_autosaveItem->setChecked(minutes > 0);
    if (minutes > 0)
        m_autosaveTimer->start(minutes * 60000);
    else
        m_autosaveTimer->stop();
}

void THauptForm::ActionShowLogExecute() {
    showLogFile(this, m_dialogs, mainCaption(), m_start.logName);
}

void THauptForm::ClearRecentFiles() {
    if (m_dialogs.ask(mainCaption(), T_("Delete all entries from file list?"), mbYes | mbNo,
                      mrNo) == mrYes)
        m_recentFiles->ClearAll();
}

void THauptForm::OfferRecovery(TMDIForm* form) {
    const QString copy = form->TextName() + QStringLiteral(".tsv");
    const QFileInfo copyInfo(copy);
    if (!copyInfo.isFile())
        return;
    if (copyInfo.lastModified() <= QFileInfo(form->TextName()).lastModified()) {
        QFile::remove(copy); // older than the file: nothing in it the file lacks
        return;
    }
    const TMsgResult answer = m_dialogs.ask(mainCaption(),
                                            fmt(T_("An autosaved copy of\r\n%s\r\nis newer than "
                                                   "the file.\r\nRecover the autosaved text?"),
                                                {QDir::toNativeSeparators(form->TextName())}),
                                            mbYes | mbNo, mrYes);
    if (answer == mrYes)
        report(form->RecoverFrom(copy));
    else
        QFile::remove(copy);
}

void THauptForm::RecoverUntitled(const QString& folder) {
    if (folder.isEmpty())
        return;
    const QStringList copies = QDir(folder).entryList({QStringLiteral("New*.tsv")}, QDir::Files,
                                                      QDir::Time | QDir::Reversed);
    for (const QString& name : copies) {
        const QString copy = withSlash(folder) + name;
        const TMsgResult answer = m_dialogs.ask(
            mainCaption(),
            fmt(T_("An autosaved copy of an untitled document was found:\r\n%s\r\nRecover it?"),
                {QDir::toNativeSeparators(copy)}),
            mbYes | mbNo, mrYes);
        if (answer != mrYes) {
            QFile::remove(copy);
            continue;
        }
        TMDIForm* form = NewText(ftHtml, false);
        report(form->RecoverFrom(copy));
    }
}

} // namespace orvel
