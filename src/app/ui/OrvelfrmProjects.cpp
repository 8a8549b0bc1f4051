// The main window's projects: the list and its box, the active project, the project commands.

#include "app/ui/FileTabs.h"
#include "app/ui/MainLayout.h"
#include "app/ui/Orvelfrm.h"
#include "app/ui/StartScreen.h"
#include "base/core/Dialogs.h"
#include "base/core/Errors.h"
#include "base/core/FileSystem.h"
#include "base/core/LanguageIds.h"
#include "base/core/Translate.h"
#include "base/ui/CommandList.h"
#include "editor/ui/OrvelMDI.h"
#include "textcontrol/ui/EditorControl.h"

#include <QAction>
#include <QComboBox>
#include <QCursor>
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QMenu>
#include <QSslSocket>
#include <QStackedWidget>
#include <QToolButton>

namespace orvel {

namespace {
// clang-format off
const TCommandDef kProjectCommands[] = {
    {CMD(ActionProjectClose), 3001, N_("Project"), N_("&Close project"), N_("Close project"), ""},
    {CMD(ActionProjectEdit), 3002, N_("Project"), N_("&Edit project"), N_("Edit project"), ""},
    {CMD(ActionProjectNew), 3003, N_("Project"), N_("&New project"), N_("New project"), ""},
    {CMD(ActionProjectLoad), 3004, N_("Project"), N_("&Load project .."), N_("Load a saved project"), ""},
    {CMD(ActionProjectSaveAs), 3005, N_("Project"), N_("Save project &as .."), N_("Save project as file"), ""},
    {CMD(ActionProjectManager), 3007, N_("Project"), N_("&Project order .."), "", ""},
};
// clang-format on

// The file dialogs for project files, in the projects folder (made when missing).
TFileDialogArgs projectFileArgs(const QString& title, const QString& folder,
                                const QString& fileName = QString()) {
    QDir().mkpath(folder);
    TFileDialogArgs args;
    args.title = title;
    args.dir = folder;
    args.fileName = fileName;
    args.filter = T_("Projects") + QStringLiteral("|*.prj");
    args.defaultExt = QStringLiteral("prj");
    return args;
}
} // namespace

void THauptForm::createProjectCommands() {
    const std::function<void()> handlers[] = {
        [this] { ActionProjectCloseExecute(); },  [this] { ActionProjectEditExecute(); },
        [this] { ActionProjectNewExecute(); },    [this] { LoadProjectFile(); },
        [this] { ActionProjectSaveAsExecute(); }, [this] { ActionProjectManagerExecute(); }};
    for (int i = 0; i < int(std::size(kProjectCommands)); ++i)
        m_commands->add(kProjectCommands[i], handlers[i]);

    m_projectMenu = new QMenu(T_("&Project"), this);
    auto* dropDown = new QMenu(this);
    for (cmd::TShellCommandId id :
         {cmd::ActionProjectNew, cmd::ActionProjectEdit, cmd::ActionProjectLoad,
          cmd::ActionProjectSaveAs, cmd::ActionProjectClose, cmd::ActionProjectManager}) {
        m_projectMenu->addAction(action(id));
        dropDown->addAction(action(id));
    }
    m_layout->btnProject->setDefaultAction(action(cmd::ActionProjectEdit));
    m_layout->btnProject->setMenu(dropDown);
    m_layout->btnProject->setToolButtonStyle(Qt::ToolButtonTextOnly);
    connect(m_layout->cbProjects, &QComboBox::activated, this,
            [this](int index) { m_commands->run([this, index] { SwitchProject(index); }); });
}

TProjectInfo* THauptForm::projectAt(int index) const {
    return index >= 0 && index < projectCount() ? m_projects.at(size_t(index)).get() : nullptr;
}

QString THauptForm::projFilePath() const {
    return stdPath().isEmpty() ? QString()
                               : withSlash(stdPath() + QStringLiteral("Orvel-Projects"));
}

void THauptForm::readProjects() {
    // Files that are gone were dropped with the list; each keeps its position for its name.
    for (const QString& name : m_settings.Projects) {
        auto project = std::make_unique<TProjectInfo>(name);
        ReadProject(*project, projectCount(), quint32(m_settings.Config.DictionaryLanguage));
        m_projects.push_back(std::move(project));
    }
    m_projectIndex = m_settings.ProjectIndex;
    fillProjectBox();
}

void THauptForm::fillProjectBox() {
    QComboBox* box = m_layout->cbProjects;
    const QSignalBlocker block(box);
    box->clear();
    for (const auto& p : m_projects)
        box->addItem(p->ProjName);
    box->setCurrentIndex(m_projectIndex < box->count() ? m_projectIndex : -1);
    box->setToolTip(m_actProject ? QDir::toNativeSeparators(m_actProject->ProjFileName)
                                 : QString());
}

int THauptForm::addProject(std::unique_ptr<TProjectInfo> project) {
    m_projects.push_back(std::move(project));
    fillProjectBox();
    return projectCount() - 1;
}

void THauptForm::writeProject(TProjectInfo& project) {
    if (const TStatus written = WriteProject(project); !written.ok())
        reportError(written.error());
}

void THauptForm::writeProjects(QStringList& errors) {
    m_settings.Projects.clear();
    for (const auto& p : m_projects) {
        m_settings.Projects << p->ProjFileName;
        if (const TStatus written = WriteProject(*p); !written.ok())
            errors << written.error();
    }
    m_settings.ProjectIndex = m_projectIndex;
}

QList<TLanguageName> THauptForm::dictionaryLanguages() const {
    QList<TLanguageName> out;
    QList<int> ids = m_settings.Dictionaries;
    if (m_actProject && m_actProject->LangId && !ids.contains(int(m_actProject->LangId)))
        ids << int(m_actProject->LangId);
    for (int id : ids) {
        const QString locale = localeOfLanguageId(quint32(id));
        if (locale.isEmpty())
            continue;
        const QLocale l(locale);
        out.append({QLocale::languageToString(l.language()) + QStringLiteral(" (") +
                        QLocale::territoryToString(l.territory()) + u')',
                    quint32(id)});
    }
    return out;
}

void THauptForm::beginProjectChange() {
    if (!m_startScreen)
        m_startScreen = new TStartScreen(m_start.version, m_start.legalNotice, this);
    if (isVisible())
        hide();
    m_startScreen->setStatus(T_("Loading project ..."));
    m_startScreen->setProject(QString());
    m_startScreen->setFile(QString());
    m_startScreen->show();
}

void THauptForm::endProjectChange() {
    if (m_startScreen)
        m_startScreen->hide();
    show();
    ShowStatus(true);
}

// --- Leaving and entering a project ----------------------------------------------------------

void THauptForm::recordDocuments() {
    TProjectInfo* p = m_actProject;
    if (!p)
        return;
    TMDIForm* active = activeDocument();
    p->ActiveFile =
        active && active->Status() != tsNew ? p->RelativeName(active->TextName()) : QString();
    p->CaseMode = m_linkCaseMode;
    // A root that was missing kept its files: they are still to be reopened.
    QList<TTextFileInfo> kept = m_filesHeldBack ? p->FileList : QList<TTextFileInfo>();
    p->ClearFileList();
    // Stored in reverse tab order, as the file format has it.
    for (TMDIForm* f : documents()) {
        if (f->Status() == tsNew)
            continue; // never saved: nothing to reopen
        TTextFileInfo entry{p->RelativeName(f->TextName()),
                            {f->TextBuffer()->caretXY(), f->TextLangId(), f->TextDateFormat()}};
        for (qsizetype i = kept.size() - 1; i >= 0; --i)
            if (kept.at(i).Name == entry.Name)
                kept.removeAt(i);
        p->FileList.prepend(entry);
    }
    p->FileList += kept;
    p->Changed = true;
    m_actProject = nullptr;
    m_filesHeldBack = false;
}

void THauptForm::makeActive(int index) {
    TProjectInfo* p = projectAt(index);
    m_projectIndex = index;
    m_actProject = p;
    m_newNr = 0;
    // A project without a root works in the root directory for projects.
    if (p->ProjPath.isEmpty())
        p->ProjPath = stdPath();
    m_htmPath = withSlash(p->ProjPath);
    m_linkCaseMode = p->CaseMode;
    m_settings.Config.DictionaryLanguage = int(p->LangId);
    fillProjectBox();
}

void THauptForm::ActivateProject(int index) {
    TProjectInfo* p = projectAt(index);
    if (!p) {
        m_actProject = nullptr;
        fillProjectBox();
        NewText(ftHtml, false);
        return;
    }
    makeActive(index);
    if (m_startScreen && m_startScreen->isVisible())
        m_startScreen->setProject(p->ProjName);
    m_docArea->setUpdatesEnabled(false);
    m_docs.clearUse();
    m_filesHeldBack = false;
    if (p->Reload && !p->FileList.isEmpty()) {
        if (!QFileInfo(p->ProjPath).isDir()) {
            // An unmounted disk: its files are skipped this time, not forgotten.
            m_filesHeldBack = true;
        } else {
            for (qsizetype i = p->FileList.size() - 1; i >= 0; --i)
                if (!QFileInfo(p->FullName(p->FileList.at(i).Name)).isFile())
                    p->FileList.removeAt(i);
            // The list holds the tabs in reverse order: opened from its end, they come back
            // in the order they had.
            m_bulkLoading = true;
            for (qsizetype i = p->FileList.size() - 1; i >= 0; --i) {
                const TTextFileInfo entry = p->FileList.at(i);
                const QString full = p->FullName(entry.Name);
                if (m_startScreen && m_startScreen->isVisible())
                    m_startScreen->setFile(full);
                if (!LoadTextIntoWindow(full, entry.Props.CursorPos, entry.Props.TxtLangId,
                                        entry.Props.DateFormat))
                    p->FileList.removeAt(i);
            }
            m_bulkLoading = false;
            p->Changed = true;
        }
    }
    RecoverUntitled(m_htmPath);
    if (documents().isEmpty())
        NewText(ftHtml, false);
    m_docArea->setUpdatesEnabled(true);
    const int tab = p->ActiveFile.isEmpty() ? -1 : FindWindowByName(p->FullName(p->ActiveFile));
    ActivateWindow(tab >= 0 ? tab : m_tabs->currentIndex());
    if (TMDIForm* form = activeDocument()) {
        m_docs.used(form);
        form->TextBuffer()->setFocus();
        SyncFilePanel(form->TextName());
    }
    ShowStatus(true);
}

int THauptForm::CreateDefaultProject() {
    QDir().mkpath(projFilePath());
    auto p = std::make_unique<TProjectInfo>(projFilePath() + QStringLiteral("Default.prj"));
    if (QFileInfo::exists(p->ProjFileName))
        ReadProject(*p, projectCount(), quint32(m_settings.Config.DictionaryLanguage));
    p->ProjName = T_("default");
    p->ProjPath = withSlash(stdPath() + T_("default"));
    QDir().mkpath(p->ProjPath);
    m_htmPath = p->ProjPath;
    p->LangId = quint32(m_settings.Config.DictionaryLanguage);
    p->Changed = true;
    const int index = addProject(std::move(p));
    m_layout->cbProjects->setCurrentIndex(index);
    return index;
}

// --- Commands ---------------------------------------------------------------------------------

bool THauptForm::NewProject(QPoint pos) {
    auto p = std::make_unique<TProjectInfo>();
    if (!m_projectDialogs->editProject(pos, T_("New project"), *p, QSslSocket::supportsSsl(),
                                       dictionaryLanguages(), stdPath()))
        return false;
    if (!p->ProjPath.isEmpty())
        QDir().mkpath(p->ProjPath);
    const QString name = m_dialogs.saveFileName(projectFileArgs(
        T_("Save project to file"), projFilePath(), proposedProjectFileName(projectCount())));
    if (name.isEmpty())
        return false;
    p->ProjFileName = QFileInfo(name).absoluteFilePath();
    p->Changed = true;
    CloseAllTexts(false); // the project left records its documents
    const int index = addProject(std::move(p));
    makeActive(index);
    writeProject(*m_actProject);
    NewText(ftHtml, false);
    SyncFilePanel(m_htmPath);
    ShowStatus(true);
    return true;
}

void THauptForm::ActionProjectNewExecute() {
    NewProject(QCursor::pos());
}

void THauptForm::ActionProjectEditExecute() {
    TProjectInfo* p = m_actProject;
    if (!p) {
        ActionProjectNewExecute();
        return;
    }
    const quint32 oldLang = p->LangId;
    const TSynEncoding oldEncoding = p->ProjEncoding;
    const QString oldRoot = p->ProjPath;
    if (!m_projectDialogs->editProject(QCursor::pos(), T_("Edit project settings"), *p,
                                       QSslSocket::supportsSsl(), dictionaryLanguages(), stdPath()))
        return;
    p->Changed = true;
    m_linkCaseMode = p->CaseMode;
    fillProjectBox();
    if (p->LangId != oldLang &&
        m_dialogs.ask(mainCaption(), T_("Change language for all opened documents?"), mbYes | mbNo,
                      mrYes) == mrYes) {
        m_settings.Config.DictionaryLanguage = int(p->LangId);
        for (TMDIForm* f : documents())
            f->setTextLangId(p->LangId);
    }
    if (p->ProjEncoding != oldEncoding &&
        m_dialogs.ask(mainCaption(), T_("Change encoding for all opened documents?"), mbYes | mbNo,
                      mrYes) == mrYes) {
        for (TMDIForm* f : documents())
            f->takeProjectFormat(p->ProjEncoding, p->UseBom);
    }
    if (p->ProjPath.isEmpty())
        p->ProjPath = stdPath();
    if (p->ProjPath != oldRoot) {
        m_htmPath = withSlash(p->ProjPath);
        SyncFilePanel(m_htmPath);
    }
    ShowStatus(true);
    writeProject(*p);
}

bool THauptForm::LoadProjectFile() {
    const QString name =
        m_dialogs.openFileName(projectFileArgs(T_("Open project file"), projFilePath()));
    if (name.isEmpty())
        return false;
    auto p = std::make_unique<TProjectInfo>(QFileInfo(name).absoluteFilePath());
    if (!ReadProject(*p, projectCount(), quint32(m_settings.Config.DictionaryLanguage))) {
        reportError(fmt(T_("\"%s\" is not a project file."), {QDir::toNativeSeparators(name)}));
        return false;
    }
    if (!CloseAllTexts(true))
        return true;
    beginProjectChange();
    // The same file may be listed twice: each entry is a project of its own.
    const int index = addProject(std::move(p));
    ActivateProject(index);
    endProjectChange();
    return true;
}

void THauptForm::ActionProjectSaveAsExecute() {
    TProjectInfo* p = m_actProject;
    if (!p)
        return;
    const QString name = m_dialogs.saveFileName(projectFileArgs(
        T_("Save project to file"), projFilePath(), QFileInfo(p->ProjFileName).fileName()));
    if (name.isEmpty())
        return; // the old name stays
    p->ProjFileName = QFileInfo(name).absoluteFilePath();
    ActionProjectEditExecute();
    // The new file is written even when the settings were left as they were.
    p->Changed = true;
    writeProject(*p);
    fillProjectBox();
}

void THauptForm::ActionProjectCloseExecute() {
    if (m_projects.empty() || !m_actProject)
        return;
    if (m_dialogs.ask(mainCaption(), T_("Close current project?"), mbYes | mbNo, mrNo) != mrYes)
        return;
    // Documents first: a cancelled question leaves the project and its entry as they were.
    if (!CloseAllTexts(true))
        return;
    const int removed = m_projectIndex;
    std::unique_ptr<TProjectInfo> closed = std::move(m_projects.at(size_t(removed)));
    m_projects.erase(m_projects.begin() + removed);
    int index = removed;
    if (m_projects.empty())
        index = CreateDefaultProject();
    else if (index >= projectCount())
        index = projectCount() - 1;
    m_projectIndex = index;
    fillProjectBox();
    beginProjectChange();
    ActivateProject(index);
    endProjectChange();
    writeProject(*closed);
}

void THauptForm::ActionProjectManagerExecute() {
    QStringList names;
    for (const auto& p : m_projects)
        names << p->ProjName;
    int index = m_projectIndex;
    QList<int> order;
    if (!m_projectDialogs->orderProjects(QCursor::pos(), names, index, order))
        return;
    if (m_actProject && !order.contains(m_projectIndex)) {
        // Its documents are open: it stays, where it was.
        reportError(fmt(T_("The project \"%s\" is in use and cannot be removed."),
                        {m_actProject->ProjName}));
        int at = 0;
        while (at < order.size() && order.at(at) < m_projectIndex)
            ++at;
        order.insert(at, m_projectIndex);
    }
    std::vector<std::unique_ptr<TProjectInfo>> reordered;
    for (int i : order)
        if (i >= 0 && i < projectCount() && m_projects.at(size_t(i)))
            reordered.push_back(std::move(m_projects.at(size_t(i))));
    // Removed projects are dropped unwritten; their files stay.
    m_projects = std::move(reordered);
    m_projectIndex = -1;
    for (int i = 0; i < projectCount(); ++i)
        if (m_projects.at(size_t(i)).get() == m_actProject)
            m_projectIndex = i;
    fillProjectBox();
}

void THauptForm::SwitchProject(int index) {
    if (index == m_projectIndex || !projectAt(index))
        return;
    if (!CloseAllTexts(true)) {
        fillProjectBox(); // back to the project still active
        return;
    }
    beginProjectChange();
    ActivateProject(index);
    endProjectChange();
}

void THauptForm::itmRootDirClick() {
    const QString folder = m_dialogs.chooseFolder(T_("Root directory for projects"), stdPath());
    if (!folder.isEmpty())
        m_settings.Config.StdPath = withSlash(folder);
}

} // namespace orvel
