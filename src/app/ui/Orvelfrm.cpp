#include "app/ui/Orvelfrm.h"

#include "app/core/VersionInfo.h"
#include "app/ui/FileTabs.h"
#include "app/ui/MainLayout.h"
#include "app/ui/StartScreen.h"
#include "base/core/Dialogs.h"
#include "base/core/FileSystem.h"
#include "base/core/HistoryList.h"
#include "base/core/IniFileUtils.h"
#include "base/core/LogFile.h"
#include "base/core/Translate.h"
#include "base/ui/CommandList.h"
#include "base/ui/ElidedLabel.h"
#include "base/ui/HListBox.h"
#include "dialogs/ui/QtElementDialogs.h"
#include "editor/core/HtmlChars.h"
#include "editor/ui/DocumentCommands.h"
#include "editor/ui/OrvelMDI.h"
#include "macros/core/MacroFile.h"
#include "projects/ui/QtProjectDialogs.h"
#include "search/ui/FindReplDlg.h"
#include "search/ui/QtSearchDialogs.h"
#include "spelling/core/SynEditSpell.h"
#include "textcontrol/ui/EditorControl.h"
#include "textcontrol/ui/Highlighter.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QStackedWidget>
#include <QStatusBar>
#include <QStyle>
#include <QTabBar>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <functional>

namespace orvel {

namespace {
// The main window's commands, in the order the keyboard table lists them.
// clang-format off
const TCommandDef kFileCommands[] = {
    {CMD(ActionNewHtml), 1001, N_("File"), N_("&Html document"), N_("New Html document"), ""},
    {CMD(ActionNewCss), 1002, N_("File"), N_("&Central style sheets"), N_("New CSS file"), ""},
    {CMD(ActionNewJs), 1003, N_("File"), N_("&Javascript"), N_("New Javascript file"), ""},
    {CMD(ActionNewText), 1004, N_("File"), N_("&Text document"), N_("New text document"), ""},
    {CMD(ActionOpen), 1005, N_("File"), N_("&Open .."), N_("Open document"), ""},
    {CMD(ActionClose), 1006, N_("File"), N_("&Close"), N_("Close document"), ""},
    {CMD(ActionTemplate), 1007, N_("File"), N_("Save as &template"), N_("Use current document as template"), ""},
    {CMD(ActionSave), 1008, N_("File"), N_("&Save"), N_("Save document"), "F2"},
    {CMD(ActionSaveAs), 1009, N_("File"), N_("Save &as .."), N_("Save document as new file"), ""},
    {CMD(ActionSaveAll), 1010, N_("File"), N_("Save &all"), N_("Save all changed documents"), ""},
    {CMD(ActionExit), 1011, N_("File"), N_("&Quit"), N_("Quit program"), ""},
    {CMD(ActionNewPhp), 1012, N_("File"), N_("P&hp file"), N_("New PHP file"), ""},
    {CMD(ActionNewPerl), 1013, N_("File"), N_("&Perl script"), N_("New Perl script"), ""},
    {CMD(ActionNewVbs), 1014, N_("File"), N_("&Visual Basic script"), N_("New Visual Basic script"), ""},
    {CMD(ActionSaveHtml), 1015, N_("File"), N_("Save as &HTML"), N_("Save HTT template as HTML"), ""},
    {CMD(ActionCloseall), 0, N_("File"), N_("&Close all"), "", ""},
    {CMD(ActionSelectDoc), 0, N_("File"), N_("Select &Document"), N_("Select document"), ""},
};
// clang-format on

const TDesktopKeys kDesktopKeys[] = {{cmd::ActionSave, "Ctrl+S"},
                                     {cmd::ActionSaveAs, "Ctrl+Shift+S"},
                                     {cmd::ActionOpen, "Ctrl+O"},
                                     {cmd::ActionExit, "Ctrl+Q"},
                                     {cmd::ActionClose, "Ctrl+F4"}};

const char* const kSearchHistorySections[4] = {"FileFind", "FileReplace", "FindDirs", "FindTypes"};
} // namespace

THauptForm::THauptForm(const TShellStart& start, IDialogs& dialogs, IElementDialogs* elements,
                       IProjectDialogs* projectDialogs)
    : THauptForm(start, TShellDialogs{dialogs, elements, projectDialogs, nullptr}) {
}

THauptForm::THauptForm(const TShellStart& start, const TShellDialogs& dialogs, QWidget* parent)
    : QMainWindow(parent), m_start(start), m_dialogs(dialogs.dialogs),
      m_settings(start.languageCode) {
    setupDialogs(dialogs);
    setWindowTitle(m_start.caption);
    m_recentFiles = new THistoryList(this, 15);
    for (int i = 0; i < 4; ++i)
        m_searchHistories << new THistoryList(this, 15);
    readSettings();
    setupImageDialogs();
    m_fileTypes = m_settings.fileTypes();
    for (int t = 0; t < ftText; ++t)
        m_highlighters[t] = THighlighter::create(THighlighterKind(t));
    m_keyStrokes = defaultEditorKeyStrokes();
    // One find dialog serves every document window, with its histories from the settings.
    m_findDialog = new TFindReplDialog(this);
    if (!m_start.iniName.isEmpty())
        m_findDialog->LoadFromIni(m_start.iniName);
    // F3 searches for the stored text from the start on.
    m_findDialog->setFindText(m_settings.Config.FindText);
    m_findDialog->setReplaceText(m_settings.Config.ReplaceText);
    createLayout();
    createCommands();
    createDocumentCommands();
    createMacroPanel();
    createSearchPanel();
    createAnchorPage();
    readProjects();
    // The character table of the interface language, with the English one behind it.
    m_charTable = std::make_unique<THtmlCharTable>(loadProgramCharTable(m_start.languageCode));
    createSpelling();
    // The stored placement; a maximized window keeps its normal placement beneath.
    const TFormSettings& f = m_settings.Form;
    setGeometry(f.Left, f.Top, qMax(200, f.Width), qMax(150, f.Height));
    if (f.State == 2)
        setWindowState(Qt::WindowMaximized);
    // The mouse's back and forward buttons cycle the documents wherever they are pressed.
    qApp->installEventFilter(this);
    connect(qApp, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState s) {
        // Back from another program: the active document checks its file again.
        if (s == Qt::ApplicationActive && !m_closing) {
            if (TMDIForm* form = activeDocument()) {
                form->Activate();
                m_docCommands->updateState();
            }
        } else if (s != Qt::ApplicationActive && m_tabs) {
            // The next hover over a tab shows its hint again.
            m_tabs->resetHover();
            showTabHint(-1);
        }
    });
}

bool THauptForm::eventFilter(QObject* watched, QEvent* event) {
    // The root path panel stays as wide as the navigation panel above it.
    if (event->type() == QEvent::Resize && m_layout && watched == m_layout->pcLeft && m_panels[0])
        m_panels[0]->setFixedWidth(qMax(20, m_layout->pcLeft->width()));
    if (event->type() == QEvent::MouseButtonPress) {
        const auto button = static_cast<QMouseEvent*>(event)->button();
        auto* w = qobject_cast<QWidget*>(watched);
        if ((button == Qt::BackButton || button == Qt::ForwardButton) && w && w->window() == this) {
            TMDIForm* form = activeDocument();
            if (!form)
                return false;
            if (button == Qt::BackButton)
                PreviousMDI(form->DocId());
            else
                NextMDI(form->DocId());
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void THauptForm::readSettings() {
    if (m_start.iniName.isEmpty())
        return;
    const TUnicodeIniFile ini = TUnicodeIniFile::CreateForRead(m_start.iniName);
    m_settings.Read(ini, m_start.languageCode);
    m_previewSettings.Read(ini, QStringLiteral("Preview"));
    m_recentFiles->LoadFromIni(ini, QStringLiteral("RecentFiles"));
    m_elements->loadSettings(ini);
    for (int i = 0; i < 4; ++i)
        m_searchHistories[i]->LoadFromIni(ini, QString::fromLatin1(kSearchHistorySections[i]));
}

THistoryList* THauptForm::searchHistory(const QString& section) const {
    for (int i = 0; i < 4; ++i)
        if (section.compare(QLatin1String(kSearchHistorySections[i]), Qt::CaseInsensitive) == 0)
            return m_searchHistories[i];
    return nullptr;
}

void THauptForm::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (m_placed)
        return;
    m_placed = true;
    m_layout->pcLeft->setCurrentIndex(0);
    // Splitter sizes need the real sizes of the frame: once it is laid out.
    QTimer::singleShot(0, this, [this] { m_layout->apply(m_settings.Form); });
    // Dictionaries are read once the window is on the screen, never before.
    QTimer::singleShot(0, this, [this] { startDictionaryLoad(); });
}

void THauptForm::captureForm() {
    TFormSettings& f = m_settings.Form;
    f.State = isMinimized() ? 1 : isMaximized() ? 2 : 0;
    if (f.State == 0) {
        const QRect g = geometry();
        f.Left = g.left();
        f.Top = g.top();
        f.Width = g.width();
        f.Height = g.height();
    }
    if (m_placed)
        m_layout->capture(f);
}

void THauptForm::SaveSettings() {
    if (m_start.iniName.isEmpty())
        return;
    QStringList errors;
    const auto note = [&errors](const TStatus& written) {
        if (!written.ok() && !errors.contains(written.error()))
            errors << written.error();
    };
    captureForm();
    writeProjects(errors);
    m_settings.Config.FindText = m_findDialog->FindText();
    m_settings.Config.UseLogFile = m_logActive->isChecked();
    m_settings.Config.ReplaceText = m_findDialog->ReplaceText();
    {
        TUnicodeIniFile ini = TUnicodeIniFile::CreateForWrite(m_start.iniName);
        m_settings.Write(ini);
        // The dialogs' sections go with the rest, so one failure is one message.
        m_findDialog->SaveToIni(ini);
        m_projectDialogs->saveSettings(ini);
        transferDialogs().saveSettings(ini);
        m_elements->saveSettings(ini);
        savePreviewSettings(ini);
        saveImageSettings(ini);
        note(ini.UpdateFile());
    }
    // Written only when the list changed.
    note(m_macroPanel->save(macroFileName(m_start.iniName)));
    note(m_spell->SaveUserDictionary());
    note(m_recentFiles->SaveToIni(m_start.iniName, QStringLiteral("RecentFiles"), true));
    // The search panel's boxes, each in its own section.
    for (int i = 0; i < 4; ++i)
        note(m_searchHistories[i]->SaveToIni(m_start.iniName,
                                             QString::fromLatin1(kSearchHistorySections[i]), true));
    for (const QString& e : errors)
        reportError(e);
}

THauptForm::~THauptForm() {
    m_closing = true;
    releasePreview();
    // Documents go before the highlighters and lists they use.
    m_docCommands->setDocument(nullptr);
    while (!m_docs.isEmpty()) {
        TMDIForm* form = m_docs.at(0);
        m_docs.take(form);
        delete form;
    }
}

void THauptForm::setupDialogs(const TShellDialogs& dialogs) {
    m_searchDialogs = dialogs.search;
    if (!m_searchDialogs) {
        m_ownSearchDialogs = std::make_unique<TQtSearchDialogs>(this);
        m_searchDialogs = m_ownSearchDialogs.get();
    }
    m_projectDialogs = dialogs.projects;
    if (!m_projectDialogs) {
        auto own = std::make_unique<TQtProjectDialogs>(this, &m_dialogs);
        own->setIniFileName(m_start.iniName);
        m_projectDialogs = own.get();
        m_ownProjectDialogs = std::move(own);
    }
    m_transferDialogs = dialogs.transfers;
    m_elements = dialogs.elements;
    if (!m_elements) {
        auto own = std::make_unique<TQtElementDialogs>();
        own->setParentWidget(this);
        own->setColorList(&m_settings.Config.CustomColors);
        own->setFileSizeUnits(&m_settings.Config.FileSizeFormat);
        own->setMailLists(&m_settings.MailNames, &m_settings.MailAddresses);
        wireLinkDialogs(*own);
        m_elements = own.get();
        m_ownElements = std::move(own);
    }
}

void THauptForm::createCommands() {
    m_commands = new TCommandList(this, [this](const QString& message) { reportError(message); });
    TCommandList& c = *m_commands;
    const TFileTypes newTypes[] = {ftHtml, ftCss, ftJs, ftText};
    for (int i = 0; i < 4; ++i)
        c.add(kFileCommands[i], [this, t = newTypes[i]] { NewText(t, true); });
    const std::function<void()> handlers[] = {
        [this] { ActionOpenExecute(); },     [this] { ActionCloseExecute(); },
        [this] { ActionTemplateExecute(); }, [this] { ActionSaveExecute(); },
        [this] { ActionSaveAsExecute(); },   [this] { ActionSaveAllExecute(); },
        [this] { ActionExitExecute(); },     [this] { NewText(ftPhp, true); },
        [this] { NewText(ftPerl, true); },   [this] { NewText(ftVbs, true); },
        [this] { ActionSaveHtmlExecute(); }, [this] { ActionCloseallExecute(); },
        [this] { ActionSelectDocExecute(); }};
    for (int i = 4; i < int(std::size(kFileCommands)); ++i)
        c.add(kFileCommands[i], handlers[i - 4]);
    for (const TDesktopKeys& k : kDesktopKeys)
        c.addKeys(k);
    createProjectCommands();
    createTransferCommands();

    auto* file = new QMenu(T_("&File"), this);
    auto* newMenu = file->addMenu(T_("&New"));
    for (cmd::TShellCommandId id :
         {cmd::ActionNewHtml, cmd::ActionNewCss, cmd::ActionNewJs, cmd::ActionNewPhp,
          cmd::ActionNewVbs, cmd::ActionNewPerl, cmd::ActionNewText})
        newMenu->addAction(action(id));
    file->addAction(action(cmd::ActionOpen));
    m_recentMenu = file->addMenu(T_("&Recent files"));
    file->addSeparator();
    for (cmd::TShellCommandId id : {cmd::ActionSave, cmd::ActionSaveAs, cmd::ActionSaveAll,
                                    cmd::ActionTemplate, cmd::ActionSaveHtml})
        file->addAction(action(id));
    file->addSeparator();
    file->addAction(action(cmd::ActionClose));
    file->addAction(action(cmd::ActionCloseall));
    file->addSeparator();
    file->addAction(action(cmd::ActionExit));
    m_recentMirror = new THistoryMenu(m_recentFiles, this);
    m_recentMirror->setMenu(m_recentMenu);
    connect(m_recentMirror, &THistoryMenu::itemClicked, this,
            [this](const QString& name) { m_commands->run([this, name] { OpenTextFile(name); }); });

    m_windowMenu = new QMenu(T_("&Window"), this);
    m_windowCommands << action(cmd::ActionSelectDoc);
    connect(m_windowMenu, &QMenu::aboutToShow, this, [this] { fillWindowMenu(); });
    fillWindowMenu();
    m_ownMenus = {file, m_projectMenu, m_windowMenu};
    m_ownGroups = {1, 1, 9};

    // The file toolbar: new with the document types, open with the recent files, save.
    QToolBar* bar = m_layout->fileToolBar;
    auto* newButton = new QToolButton(bar);
    newButton->setDefaultAction(action(cmd::ActionNewHtml));
    newButton->setIcon(style()->standardIcon(QStyle::SP_FileIcon));
    newButton->setMenu(newMenu);
    newButton->setPopupMode(QToolButton::MenuButtonPopup);
    bar->addWidget(newButton);
    auto* openButton = new QToolButton(bar);
    openButton->setDefaultAction(action(cmd::ActionOpen));
    openButton->setIcon(style()->standardIcon(QStyle::SP_DialogOpenButton));
    openButton->setMenu(m_recentMenu);
    openButton->setPopupMode(QToolButton::MenuButtonPopup);
    bar->addWidget(openButton);
    action(cmd::ActionSave)->setIcon(style()->standardIcon(QStyle::SP_DialogSaveButton));
    bar->addAction(action(cmd::ActionSave));
    createServiceMenus();
    createPreviewCommands();
    for (QAction* a : m_commands->actions())
        addAction(a);
    mergeMenus();
}

void THauptForm::fillWindowMenu() {
    // Its own commands, then the open documents after the last separator.
    m_windowMenu->clear();
    m_windowMenu->addActions(m_windowCommands);
    m_windowMenu->addSeparator();
    const QList<TMDIForm*> docs = documents();
    for (int i = 0; i < docs.size(); ++i) {
        TMDIForm* f = docs.at(i);
        QAction* a = m_windowMenu->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(f->caption()));
        a->setCheckable(true);
        a->setChecked(f == activeDocument());
        connect(a, &QAction::triggered, this, [this, f] { bringToFront(f); });
    }
}

void THauptForm::createLayout() {
    m_layout = new TMainLayout(this);
    setCentralWidget(m_layout->central);
    m_docArea = m_layout->docArea;
    m_tabs = m_layout->tabs;
    connect(m_tabs, &QTabBar::currentChanged, this, [this](int index) { onTabChanged(index); });
    // The list follows every move of a tab, before anything asks for the moved tab.
    connect(m_tabs, &QTabBar::tabMoved, this, [this](int from, int to) { m_docs.move(from, to); });
    connect(m_tabs, &TFileTabBar::tabDropped, this, [this](int, int) { ShowStatus(true); });
    connect(m_tabs, &TFileTabBar::ctrlClicked, this,
            [this] { m_commands->run([this] { ActionCloseExecute(); }); });
    connect(m_tabs, &TFileTabBar::hoverTab, this, [this](int index) { showTabHint(index); });
    connect(m_tabs, &TFileTabBar::closePageRequested, this,
            [this](int index) { m_commands->run([this, index] { closeTab(index); }); });
    connect(m_tabs, &TFileTabBar::saveFileRequested, this, [this](int index) {
        m_commands->run([this, index] {
            if (TMDIForm* f = documentAt(index))
                saveDocument(f, TSave::Always);
        });
    });
    connect(m_tabs, &TFileTabBar::selectPathRequested, this, [this](int index) {
        if (TMDIForm* f = documentAt(index))
            SyncFilePanel(f->TextName());
    });
    for (int i = 0; i < 6; ++i) {
        // Paths and hints are cut with an ellipsis when the bar is short of room.
        if (i == 0 || i == 5)
            m_panels[i] = new TElidedLabel(this, i == 0 ? Qt::ElideMiddle : Qt::ElideRight);
        else
            m_panels[i] = new QLabel(this);
        m_panels[i]->setMinimumWidth(i == 1 || i == 2 ? 85 : 20);
        if (i == 5)
            statusBar()->addWidget(m_panels[i], 1);
        else
            statusBar()->addWidget(m_panels[i]);
    }
}

QAction* THauptForm::action(cmd::TShellCommandId id) const {
    return m_commands->action(id);
}

void THauptForm::createDocumentCommands() {
    m_docCommands = new TDocumentCommands(this, m_docArea, *this,
                                          [this](const QString& message) { reportError(message); });
    // The element toolbar pages stand in the tool area for every document.
    QWidget* panel = m_docCommands->toolPanel(
        m_layout->ViewPanel, [this] { return m_settings.Config.Toolbar; },
        [this](bool on) { m_settings.Config.Toolbar = on; });
    m_layout->ViewPanel->layout()->addWidget(panel);
    for (const TMergedMenu& m : m_docCommands->menus()) {
        m_ownMenus << m.menu;
        m_ownGroups << m.group;
    }
    mergeMenus();
}

bool THauptForm::report(const TStatus& status) {
    if (!status.ok())
        reportError(status.error());
    return status.ok();
}

QString THauptForm::programDataFile(const QString& name) const {
    return m_start.findDataFile ? m_start.findDataFile(name) : QString();
}

QString THauptForm::appTitle() const {
    if (activeProject())
        return applicationTitle() + QStringLiteral(" - ") + activeProject()->ProjName;
    return applicationTitle();
}

void THauptForm::reportError(const QString& message) {
    m_dialogs.error(appTitle(), message);
}

bool THauptForm::Init() {
    initPreview();
    m_startScreen = new TStartScreen(m_start.version, m_start.legalNotice, this);
    m_startScreen->show();
    m_startScreen->setStatus(T_("Loading project ..."));
    // The first start asks where projects live; without an answer there is nothing to do.
    const bool firstStart = projectCount() == 0;
    if (stdPath().isEmpty()) {
        const QString root =
            m_dialogs.chooseFolder(T_("Root directory for projects"), m_start.userPath);
        if (root.isEmpty())
            return false;
        m_settings.Config.StdPath = withSlash(root);
    }
    setProjectsRoot(stdPath());
    m_session.setHtmlRoot(stdPath());
    SyncFilePanel(htmlRoot());
    if (projectCount() == 0)
        m_session.setIndex(CreateDefaultProject());
    else if (projectIndex() < 0 || projectIndex() >= projectCount())
        m_session.setIndex(0);

    if (!m_start.comLineFiles.isEmpty()) {
        QList<const TProjectInfo*> list;
        for (int i = 0; i < projectCount(); ++i)
            list << projectAt(i);
        int index = ProjectForFiles(list, m_start.comLineFiles, projectIndex());
        if (index < 0)
            index = CreateDefaultProject();
        ActivateProject(index);
        // The empty document a project without files opens with gives way to the files.
        TMDIForm* placeholder = documents().size() == 1 && activeDocument()->Status() == tsNew
                                    ? activeDocument()
                                    : nullptr;
        m_bulkLoading = true;
        for (const QString& name : m_start.comLineFiles)
            if (QFileInfo(name).isFile()) // others are skipped without a message
                OpenTextFile(QFileInfo(name).absoluteFilePath());
        m_bulkLoading = false;
        ActivateWindow(m_tabs->currentIndex());
        if (placeholder && !placeholder->modified() && documents().size() > 1)
            closeDocumentWindow(placeholder, false);
    } else if (firstStart) {
        // The project just made is the only choice there is.
        ActivateProject(projectIndex());
    } else {
        for (bool opened = false; !opened;) {
            const QStringList names = m_session.names();
            int index = projectIndex();
            m_startScreen->hide();
            const int answer = m_projectDialogs->selectProject(mainCaption(), names, index);
            m_startScreen->show();
            if (answer == spOpen && projectAt(index)) {
                ActivateProject(index);
                opened = true;
            } else if (answer == spOther) {
                opened = LoadProjectFile();
            } else if (answer == spNew) {
                opened = NewProject(QPoint(-1, -1));
            } else {
                return false;
            }
        }
    }
    m_startScreen->hide();
    return true;
}

} // namespace orvel
