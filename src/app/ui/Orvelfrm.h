#pragma once
// The main window: holds the document windows and the commands that act on them.

#include "app/core/Settings.h"
#include "base/core/FileTypes.h"
#include "editor/core/EditorProperties.h"
#include "editor/core/IdList.h"
#include "editor/ui/DocumentHost.h"
#include "projects/core/ProjectDialogs.h"
#include "projects/core/ProjectInfo.h"
#include "textcontrol/core/EditorCommands.h"

#include <QMainWindow>
#include <QPointer>
#include <QRect>
#include <functional>
#include <memory>
#include <vector>

class QLabel;
class QStackedWidget;
class QTabBar;

namespace orvel {

class IDialogs;
class IElementDialogs;
class ISearchDialogs;
class TCommandList;
class THighlighter;
class THistoryList;
class TFileTabBar;
class TLogFile;
class THtmlCharTable;
class TFindReplDialog;
class TMainLayout;
class TMDIForm;
class TStartScreen;

// What start-up found out before the main window exists.
struct TShellStart {
    QString programDir;       // with trailing "/"
    QString userPath;         // the documents folder: first suggestion for the projects root
    QString caption;          // "Orvel (Version x.y.z)"
    QString iniName;          // the settings file; empty: nothing is read or written
    QString logName;          // the transfer log
    QString languageCode;     // the interface language
    QString version;          // the start screen's version line
    QString legalNotice;      // the start screen's notice, already broken into lines
    QStringList comLineFiles; // files named on the command line, in order
    std::function<QString(const QString&)> findDataFile; // read-only data lookup
};

class THauptForm : public QMainWindow, public IDocumentHost {
    Q_OBJECT
public:
    // Without element or project dialogs the program's own are used.
    THauptForm(const TShellStart& start, IDialogs& dialogs, IElementDialogs* elements = nullptr,
               IProjectDialogs* projectDialogs = nullptr, ISearchDialogs* searchDialogs = nullptr,
               QWidget* parent = nullptr);
    ~THauptForm() override;

    // Runs once after creation: false ends the program.
    bool Init();

    // Document windows.
    TMDIForm* NewWindow(TFileTypes fileType);
    bool LoadTextIntoWindow(const QString& fileName, TBufferCoord caret, quint32 langId,
                            int dateFormat);
    int FindWindowByName(const QString& fileName) const;
    bool OpenTextFile(const QString& fileName);
    void ActivateWindow(int index);
    bool CloseAllTexts(bool withCancel);
    void RenumberTabs();
    TMDIForm* activeDocument() const;
    QList<TMDIForm*> documents() const; // in tab order
    TMDIForm* documentAt(int tabIndex) const;
    const TIdList& idList() const { return m_ids; }

    // Projects. The list owns them; at most one is active.
    void ActivateProject(int index);
    // The project "default" in the projects folder, listed and selected; its list index.
    int CreateDefaultProject();
    bool NewProject(QPoint pos);
    bool LoadProjectFile();
    // Chooses a project from the list by the box: leaves the active one first.
    void SwitchProject(int index);
    void ActionProjectNewExecute();
    void ActionProjectEditExecute();
    void ActionProjectSaveAsExecute();
    void ActionProjectCloseExecute();
    void ActionProjectManagerExecute();
    void itmRootDirClick();
    TProjectInfo* activeProject() const { return m_actProject; }
    int projectIndex() const { return m_projectIndex; }
    int projectCount() const { return int(m_projects.size()); }
    TProjectInfo* projectAt(int index) const;
    QString stdPath() const { return m_settings.Config.StdPath; }
    QString projFilePath() const;
    TStartScreen* startScreen() const { return m_startScreen; }

    // Commands.
    void ActionOpenExecute();
    void ActionSaveExecute();
    void ActionSaveAsExecute();
    void ActionCloseExecute();
    void ActionExitExecute();
    void ActionSaveAllExecute();
    void ActionCloseallExecute();
    void ActionSelectDocExecute();
    void ActionTemplateExecute();
    void ActionSaveHtmlExecute();
    // A new untitled document; withFolder asks for its template folder (HTML).
    TMDIForm* NewText(TFileTypes fileType, bool withFolder);
    // Autosave: every modified document's copy now; what failed is reported once.
    void AutosaveTick();
    void itmAutosaveClick();
    void ActionShowLogExecute();
    void ClearRecentFiles();
    // Offers the autosaved text of a document whose copy is newer than its file.
    void OfferRecovery(TMDIForm* form);
    // Offers the autosaved copies of untitled documents left in the folder.
    void RecoverUntitled(const QString& folder);
    TLogFile& log() { return *m_log; }
    // Points the file panel at the file's folder.
    void SyncFilePanel(const QString& fileName);
    TCommandList& commands() { return *m_commands; }
    QAction* action(const char* name) const;

    // IDocumentHost
    int GetId() override { return m_ids.NewId(); }
    IDialogs& dialogs() override { return m_dialogs; }
    ISearchDialogs& searchDialogs() override { return *m_searchDialogs; }
    IElementDialogs& elementDialogs() override { return *m_elements; }
    TFindReplDialog* findDialog() override { return m_findDialog; }
    const THtmlCharTable* charTable() const override { return m_charTable.get(); }
    QStringList anchorNames() const override { return m_settings.AnchorList; }
    bool dynamicToolbars() const override { return m_settings.Config.Toolbar; }
    void setDynamicToolbars(bool on) override { m_settings.Config.Toolbar = on; }
    QString htmlRoot() const override { return m_htmPath; }
    QString programDataFile(const QString& name) const override;
    QString mainCaption() const override { return m_start.caption; }
    QString appTitle() const override;
    bool SaveTextFromMDI(TMDIForm* form, bool closeText, bool noConfirm,
                         bool saveUnchanged) override;
    void CloseMDI(int tabIndex, int docId, TTextStatus status, const QString& fileName) override;
    void ShowStatus(bool updateTabs) override;
    void PreviousMDI(int docId) override;
    void NextMDI(int docId) override;

    // Reports an error no command handled, in a box titled with the application title.
    void reportError(const QString& message);

    // Writes every file the shell keeps, each on its own: one that fails does not stop the
    // others, and each failure is reported once.
    void SaveSettings();
    const TShellSettings& settings() const { return m_settings; }
    TShellSettings& settings() { return m_settings; }
    TMainLayout& frame() { return *m_layout; }
    THistoryList& recentFiles() { return *m_recentFiles; }
    // The history lists of the search panel, by section name.
    THistoryList* searchHistory(const QString& section) const;

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createProjectCommands();
    void readProjects();
    // Writes every listed project that changed; failures are collected.
    void writeProjects(QStringList& errors);
    // Writes one project, reporting a failure.
    void writeProject(TProjectInfo& project);
    // Records the open documents in the active project and leaves it.
    void recordDocuments();
    void fillProjectBox();
    int addProject(std::unique_ptr<TProjectInfo> project);
    void makeActive(int index);
    QList<TLanguageName> dictionaryLanguages() const;
    // Hides the window behind the start screen while a project is opened.
    void beginProjectChange();
    void endProjectChange();
    void createCommands();
    void createLayout();
    void readSettings();
    void captureForm();
    void mergeMenus();
    void fillWindowMenu();
    void showToolPanel(TMDIForm* form);
    void updateTab(TMDIForm* form);
    // Closes the document of a tab; the last one is replaced by a new document.
    void closeTab(int index);
    void showTabHint(int index);
    void bringToFront(TMDIForm* form);
    void onTabChanged(int index);
    bool closeDocumentWindow(TMDIForm* form, bool ask);
    TMDIForm* findById(int id) const;
    QString fileFilter(TFileTypes type, bool allTypes) const;
    void applyTypeSettings(TMDIForm* form);

    TShellStart m_start;
    IDialogs& m_dialogs;
    std::unique_ptr<IProjectDialogs> m_ownProjectDialogs;
    std::unique_ptr<ISearchDialogs> m_ownSearchDialogs;
    ISearchDialogs* m_searchDialogs = nullptr;
    IProjectDialogs* m_projectDialogs = nullptr;
    std::vector<std::unique_ptr<TProjectInfo>> m_projects;
    TProjectInfo* m_actProject = nullptr;
    int m_projectIndex = -1;
    QString m_htmPath; // the active project's root, with a trailing "/"
    TTextChange m_linkCaseMode = tcNone;
    bool m_filesHeldBack = false; // the active project's root was missing when it was opened
    bool m_bulkLoading = false;   // many documents are being opened: activate the last one only
    TStartScreen* m_startScreen = nullptr;
    QMenu* m_projectMenu = nullptr;
    std::unique_ptr<IElementDialogs> m_ownElements;
    IElementDialogs* m_elements = nullptr;
    QWidget* m_shownToolPanel = nullptr;
    QPointer<TMDIForm> m_shownToolPanelOwner; // the document the shown panel belongs to
    TFindReplDialog* m_findDialog = nullptr;
    std::unique_ptr<TLogFile> m_log;
    std::unique_ptr<THtmlCharTable> m_charTable;
    class QTimer* m_autosaveTimer = nullptr;
    QAction* m_autosaveItem = nullptr;
    QAction* m_logActive = nullptr;
    QAction* m_logOff = nullptr;
    QStringList m_autosaveFailed; // copies already reported as failing
    void createServiceMenus();
    TIdList m_ids;
    QList<TFileType> m_fileTypes;
    TShellSettings m_settings;
    std::unique_ptr<THighlighter> m_highlighters[kFileTypeCount];
    TKeyStrokes m_keyStrokes;
    TCommandList* m_commands = nullptr;
    QList<QMenu*> m_ownMenus; // with their groups in m_ownGroups
    QList<int> m_ownGroups;
    TMainLayout* m_layout = nullptr;
    QStackedWidget* m_docArea = nullptr;
    TFileTabBar* m_tabs = nullptr;
    THistoryList* m_recentFiles = nullptr;
    class THistoryMenu* m_recentMirror = nullptr;
    QMenu* m_recentMenu = nullptr;
    QMenu* m_windowMenu = nullptr;
    QString m_actHint;                      // the last panel's text for the active document
    int m_hintIndex = -1;                   // the tab the mouse is over
    QString m_panelFolder;                  // the folder the file panel shows
    QList<THistoryList*> m_searchHistories; // FileFind, FileReplace, FindDirs, FindTypes
    bool m_placed = false;
    QLabel* m_panels[6] = {};
    int m_newNr = 0;
    bool m_closing = false;
    bool m_switching = false;
};

} // namespace orvel
