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
#include "spelling/core/SynEditSpell.h"
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
#include <algorithm>

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

QString THauptForm::projFilePath() const {
    return m_session.projectFilesFolder();
}

void THauptForm::setProjectsRoot(const QString& folder) {
    m_settings.Config.StdPath = withSlash(folder);
    m_session.setProjectsRoot(m_settings.Config.StdPath);
}

void THauptForm::readProjects() {
    m_session.setProjectsRoot(stdPath());
    m_session.read(m_settings.Projects, m_settings.ProjectIndex,
                   quint32(m_settings.Config.DictionaryLanguage));
    fillProjectBox();
}

void THauptForm::fillProjectBox() {
    QComboBox* box = m_layout->cbProjects;
    const QSignalBlocker block(box);
    box->clear();
    box->addItems(m_session.names());
    box->setCurrentIndex(projectIndex() < box->count() ? projectIndex() : -1);
    box->setToolTip(activeProject() ? QDir::toNativeSeparators(activeProject()->ProjFileName)
                                    : QString());
}

int THauptForm::addProject(std::unique_ptr<TProjectInfo> project) {
    const int index = m_session.add(std::move(project));
    fillProjectBox();
    return index;
}

void THauptForm::writeProject(TProjectInfo& project) {
    report(WriteProject(project));
}

void THauptForm::writeProjects(QStringList& errors) {
    m_settings.Projects = m_session.fileNames();
    errors += m_session.writeAll();
    m_settings.ProjectIndex = projectIndex();
}

QList<TLanguageName> THauptForm::dictionaryLanguages() const {
    // The dictionaries read; while they are still being read, the configured ones.
    QList<TLanguageName> out;
    QList<quint32> ids;
    if (!m_spell->isLoaded()) {
        for (int id : m_settings.Dictionaries)
            ids << quint32(id);
    } else {
        m_spell->GetDictLanguages(out);
    }
    // The project's own language stays offered even without its dictionary.
    if (activeProject() && activeProject()->LangId)
        ids << activeProject()->LangId;
    for (quint32 id : ids) {
        const QString name = languageDisplayName(id);
        const bool listed = std::any_of(out.cbegin(), out.cend(),
                                        [id](const TLanguageName& l) { return l.Id == id; });
        if (!name.isEmpty() && !listed)
            out.append({name, id});
    }
    return out;
}

void THauptForm::beginProjectChange() {
    closePreview();
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
    if (!activeProject())
        return;
    QList<TOpenDocument> open;
    for (TMDIForm* f : documents())
        if (f->Status() != tsNew) // never saved: nothing to reopen
            open.append({f->TextName(),
                         {f->TextBuffer()->caretXY(), f->TextLangId(), f->TextDateFormat()}});
    TMDIForm* active = activeDocument();
    m_session.record(open, active && active->Status() != tsNew ? active->TextName() : QString());
}

void THauptForm::makeActive(int index) {
    if (TProjectInfo* p = m_session.activate(index)) {
        m_newNr = 0;
        m_settings.Config.DictionaryLanguage = int(p->LangId);
    }
    fillProjectBox();
    refreshSearchScope();
}

void THauptForm::ActivateProject(int index) {
    makeActive(index);
    TProjectInfo* p = activeProject();
    if (!p) {
        NewText(ftHtml, false);
        return;
    }
    if (m_startScreen && m_startScreen->isVisible())
        m_startScreen->setProject(p->ProjName);
    m_docArea->setUpdatesEnabled(false);
    m_docs.clearUse();
    m_bulkLoading = true;
    for (const TOpenDocument& doc : m_session.documentsToReopen()) {
        if (m_startScreen && m_startScreen->isVisible())
            m_startScreen->setFile(doc.fileName);
        if (!LoadTextIntoWindow(doc.fileName, doc.props.CursorPos, doc.props.TxtLangId,
                                doc.props.DateFormat))
            m_session.dropDocument(doc.fileName);
    }
    m_bulkLoading = false;
    RecoverUntitled(htmlRoot());
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
    const int index =
        m_session.createDefault(T_("default"), quint32(m_settings.Config.DictionaryLanguage));
    fillProjectBox();
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
    writeProject(*activeProject());
    NewText(ftHtml, false);
    SyncFilePanel(htmlRoot());
    ShowStatus(true);
    return true;
}

void THauptForm::ActionProjectNewExecute() {
    NewProject(QCursor::pos());
}

void THauptForm::ActionProjectEditExecute() {
    TProjectInfo* p = activeProject();
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
    m_session.settingsChanged(); // an empty root becomes the projects root
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
    if (p->ProjPath != oldRoot)
        SyncFilePanel(htmlRoot());
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
    TProjectInfo* p = activeProject();
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
    if (projectCount() == 0 || !activeProject())
        return;
    if (m_dialogs.ask(mainCaption(), T_("Close current project?"), mbYes | mbNo, mrNo) != mrYes)
        return;
    // Documents first: a cancelled question leaves the project and its entry as they were.
    if (!CloseAllTexts(true))
        return;
    std::unique_ptr<TProjectInfo> closed =
        m_session.removeActive(T_("default"), quint32(m_settings.Config.DictionaryLanguage));
    fillProjectBox();
    beginProjectChange();
    ActivateProject(projectIndex());
    endProjectChange();
    if (closed)
        writeProject(*closed);
}

void THauptForm::ActionProjectManagerExecute() {
    int index = projectIndex();
    QList<int> order;
    if (!m_projectDialogs->orderProjects(QCursor::pos(), m_session.names(), index, order))
        return;
    report(m_session.reorder(order));
    fillProjectBox();
}

void THauptForm::SwitchProject(int index) {
    if (transferRunning()) {
        fillProjectBox(); // the run keeps its project
        return;
    }
    if (index == projectIndex() || !projectAt(index))
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
        setProjectsRoot(folder);
}

} // namespace orvel
