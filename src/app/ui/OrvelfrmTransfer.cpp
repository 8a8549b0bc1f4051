// The main window's publishing: "Transfer files" and "Delete remote directory", one run at a
// time, with the project held and the window kept open until the run has ended.

#include "app/ui/MainLayout.h"
#include "app/ui/Orvelfrm.h"
#include "base/core/Dialogs.h"
#include "base/core/FileSystem.h"
#include "base/core/Translate.h"
#include "base/ui/CommandList.h"
#include "editor/ui/OrvelMDI.h"
#include "projects/core/Publish.h"
#include "projects/ui/QtTransferDialogs.h"

#include <QAction>
#include <QComboBox>
#include <QCursor>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMenu>
#include <QTimer>

namespace orvel {

namespace {
// clang-format off
const TCommandDef kTransferCommands[] = {
    {CMD(ActionTransfer), 2003, N_("Project"), N_("Transfer &files"), N_("Transfer files to server"), "F9"},
    {CMD(ActionClearServer), 3006, N_("Project"), N_("Delete server directory"), N_("Delete alle project files on server"), ""},
};
// clang-format on

const cmd::TShellCommandId kProjectCommandIds[] = {
    cmd::ActionProjectNew,    cmd::ActionProjectEdit,  cmd::ActionProjectLoad,
    cmd::ActionProjectSaveAs, cmd::ActionProjectClose, cmd::ActionProjectManager};

// "%s:%u" and the like with every argument as text.
QString fillPrompt(const char* text, const QStringList& args) {
    return fmt(T_(text).replace(QLatin1String("%u"), QLatin1String("%s")), args);
}
} // namespace

ITransferDialogs& THauptForm::transferDialogs() {
    if (!m_transferDialogs) {
        auto own = std::make_unique<TQtTransferDialogs>(this, &m_dialogs);
        own->setIniFileName(m_start.iniName);
        m_transferDialogs = own.get();
        m_ownTransferDialogs = std::move(own);
    }
    return *m_transferDialogs;
}

void THauptForm::createTransferCommands() {
    m_commands->add(kTransferCommands[0], [this] { ActionTransferExecute(); });
    m_commands->add(kTransferCommands[1], [this] { ActionClearServerExecute(); });
    // The menu names them its own way; its entries follow the commands' state and keys.
    m_projectMenu->addSeparator();
    const std::pair<cmd::TShellCommandId, const char*> entries[] = {
        {cmd::ActionTransfer, N_("&Transfer files ..")},
        {cmd::ActionClearServer, N_("&Delete remote directory")}};
    for (const auto& [id, caption] : entries) {
        QAction* command = action(id);
        auto* entry = new QAction(T_(caption), m_projectMenu);
        entry->setObjectName(QStringLiteral("menu") + command->objectName());
        // The key is only shown (after a tab): the command holds it.
        const auto follow = [entry, command, text = T_(caption)] {
            entry->setEnabled(command->isEnabled());
            const QString key = command->shortcut().toString(QKeySequence::NativeText);
            entry->setText(key.isEmpty() ? text : text + u'\t' + key);
            entry->setStatusTip(command->statusTip());
        };
        follow();
        connect(command, &QAction::changed, entry, follow);
        connect(entry, &QAction::triggered, command, &QAction::trigger);
        m_projectMenu->addAction(entry);
    }
    // Back in the program while a run goes on: its window comes to the front.
    connect(qApp, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState s) {
        if (s == Qt::ApplicationActive && transferRunning())
            transferDialogs().statusWindow().BringToFront();
    });
    updateTransferCommands();
}

void THauptForm::updateTransferCommands() {
    const TProjectInfo* p = activeProject();
    const bool on = p && p->TransferMode != tmOff && !transferRunning();
    action(cmd::ActionTransfer)->setEnabled(on);
    action(cmd::ActionClearServer)->setEnabled(on);
}

void THauptForm::lockProjects(bool locked) {
    m_layout->cbProjects->setEnabled(!locked);
    for (cmd::TShellCommandId id : kProjectCommandIds)
        action(id)->setEnabled(!locked);
}

bool THauptForm::askTransferPasswords(TProjectInfo& p) {
    if (p.TransferMode != tmFtp)
        return true;
    // The answers stay with the project for the rest of the program's run.
    if (p.Password.isEmpty()) {
        QString pwd;
        if (!transferDialogs().askPassword(
                T_("FTP connection"),
                fillPrompt(N_("The connection to server:\r\n  %s:%u\r\nfor user: \"%s\" requires a "
                              "password!"),
                           {p.Host, QString::number(p.Port), p.Username}),
                pwd))
            return false;
        p.Password = pwd;
    }
    if (p.ProxyPar.Mode != 0 && p.ProxyPar.Password.isEmpty()) {
        QString pwd;
        if (!transferDialogs().askPassword(
                T_("FTP connection"),
                fillPrompt(
                    N_("The connection to proxy server:\r\n  %s:%u\r\nfor user: \"%s\" "
                       "requires a password!"),
                    {p.ProxyPar.Server, QString::number(p.ProxyPar.Port), p.ProxyPar.Username}),
                pwd))
            return false;
        p.ProxyPar.Password = pwd;
    }
    return true;
}

void THauptForm::runTransfer(TProjectInfo& project,
                             const std::function<TPublishResult(TPublisher&)>& body) {
    TPublishEnvironment env;
    env.monitor = &transferDialogs().statusWindow();
    env.log = m_log.get();
    env.dialogs = &transferDialogs();
    env.recordFolder = m_start.localDataPath;
    const QString settingsFolder =
        m_start.iniName.isEmpty() ? QString() : QFileInfo(m_start.iniName).absolutePath();
    env.tlsFolders = {settingsFolder, m_start.programDir};
    env.protocolLogFolder = settingsFolder;
    env.confirmClear = [this](const QString& destination) {
        return m_dialogs.ask(mainCaption(),
                             fmt(T_("Delete whole directory: \r\n%s?"), {destination}),
                             mbYes | mbNo, mrNo) == mrYes;
    };
    const QString pinned = project.CertFingerprint;
    TPublisher run(project, env);
    m_transferRun = &run;
    m_closeAfterTransfer = false;
    lockProjects(true);
    updateTransferCommands();
    TPublishResult result;
    try {
        result = body(run);
    } catch (...) {
        m_transferRun = nullptr;
        lockProjects(false);
        updateTransferCommands();
        throw;
    }
    m_transferRun = nullptr;
    lockProjects(false);
    updateTransferCommands();
    if (m_closeAfterTransfer) {
        // The user asked to quit while it ran: now is the time.
        QTimer::singleShot(0, this, &QWidget::close);
        return;
    }
    if (!result.Error.isEmpty())
        reportError(result.Error);
    // A certificate accepted now is kept at once.
    if (project.CertFingerprint != pinned)
        writeProject(project);
}

void THauptForm::ActionTransferExecute() {
    TProjectInfo* p = activeProject();
    if (!p || p->TransferMode == tmOff || transferRunning())
        return;
    const QString root = withSlash(p->ProjPath);
    TMDIForm* form = activeDocument();
    const QString current = form && form->Status() != tsNew ? form->TextName() : QString();
    if (!current.isEmpty() && !isPathBelow(current, root)) {
        reportError(
            fmt(T_("File:\r\n%s\r\nis not part of project"), {QDir::toNativeSeparators(current)}));
        return;
    }
    TTransferChoice choice;
    choice.Destination = TPublisher::destinationText(*p);
    choice.ProjectRoot = root;
    choice.Directory = current;
    choice.SubDirs = p->SubDirs;
    if (!transferDialogs().selectTransfer(QCursor::pos() + QPoint(-200, 25), choice))
        return;
    TPublishRequest request;
    request.Mode = choice.Mode;
    request.CurrentFile = current;
    request.Directory = choice.Directory;
    request.Filter = choice.Filter;
    if (request.selection() == tfChosenDir && choice.SubDirs != p->SubDirs) {
        p->SubDirs = choice.SubDirs;
        p->Changed = true;
        writeProject(*p);
    }
    // The changed documents, taken before saving clears their marks; then every file is
    // sent as it is on disk.
    QList<TMDIForm*> changed;
    for (TMDIForm* f : documents())
        if (f->modified())
            changed << f;
    ActionSaveAllExecute();
    for (TMDIForm* f : documents())
        if (f->modified() && f->Status() != tsNew)
            return; // its save failed and was told: the old file is not sent for it
    if (request.selection() == tfChangedFiles)
        for (TMDIForm* f : changed)
            if (documents().contains(f) && f->Status() != tsNew)
                request.ChangedFiles << f->TextName();
    if (!askTransferPasswords(*p))
        return;
    runTransfer(*p, [&request](TPublisher& run) { return run.Transfer(request); });
}

void THauptForm::ActionClearServerExecute() {
    TProjectInfo* p = activeProject();
    if (!p || p->TransferMode == tmOff || transferRunning() || !askTransferPasswords(*p))
        return;
    runTransfer(*p, [](TPublisher& run) { return run.ClearServer(); });
}

bool THauptForm::transferAllowsClose() {
    if (!transferRunning())
        return true;
    if (m_dialogs.ask(mainCaption(),
                      T_("A file transfer is running.\r\nCancel it and quit when it has stopped?"),
                      mbYes | mbNo, mrNo) == mrYes) {
        // The run ends after its current file; the window closes then.
        m_closeAfterTransfer = true;
        m_transferRun->Stop(true);
    }
    return false;
}

} // namespace orvel
