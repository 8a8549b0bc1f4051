#pragma once
// The main window: holds the document windows and the commands that act on them.

#include "app/core/Settings.h"
#include "app/ui/ShellCommands.h"
#include "base/core/FileTypes.h"
#include "base/core/Result.h"
#include "editor/core/EditorProperties.h"
#include "editor/ui/DocumentContext.h"
#include "editor/ui/DocumentList.h"
#include "macros/ui/MacroPanel.h"
#include "preview/core/PreviewCopy.h"
#include "preview/core/PreviewSettings.h"
#include "projects/core/ProjectDialogs.h"
#include "projects/core/ProjectInfo.h"
#include "projects/core/ProjectSession.h"
#include "projects/core/TransferDialogs.h"
#include "search/core/AnchorHost.h"
#include "search/core/SearchHost.h"
#include "textcontrol/core/EditorCommands.h"

#include <QMainWindow>
#include <QRect>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QLabel;
class QStackedWidget;
class QTabBar;

namespace orvel {

class IDialogs;
class IElementDialogs;
class TQtElementDialogs;
class ISearchDialogs;
class TCommandList;
class TDocumentCommands;
class THighlighter;
class THistoryList;
class TFileTabBar;
class TLogFile;
class THtmlCharTable;
class TFileSearchPage;
class TFindReplDialog;
class TMainLayout;
class TMDIForm;
class TSearchResultsPage;
class TAnchorPage;
class TPublisher;
struct TPublishResult;
class TStartScreen;
class TSynEditSpellCheck;
class TUnicodeIniFile;
class TfrmWebView;

// What start-up found out before the main window exists.
struct TShellStart {
    QString programDir;       // with trailing "/"
    QString userPath;         // the documents folder: first suggestion for the projects root
    QString caption;          // "Orvel (Version x.y.z)"
    QString iniName;          // the settings file; empty: nothing is read or written
    QString logName;          // the transfer log
    QString localDataPath;    // local application data, trailing "/": publish records, web cache;
                              // empty: none
    QString languageCode;     // the interface language
    QString version;          // the start screen's version line
    QString legalNotice;      // the start screen's notice, already broken into lines
    QStringList comLineFiles; // files named on the command line, in order
    QString programName;      // names the preview copy; empty: the running program's name
    std::function<QString(const QString&)> findDataFile; // read-only data lookup
    // Where dictionaries are looked for after the program's "dict" folder; unset: the
    // system's folders.
    std::optional<QStringList> systemDictionaryFolders;
    QStringList restartArguments; // what a restarted program is given (-ini:, -portable)
};

// The questions the program asks; a null one is answered by the program's own dialogs.
struct TShellDialogs {
    IDialogs& dialogs;
    IElementDialogs* elements = nullptr;
    IProjectDialogs* projects = nullptr;
    ISearchDialogs* search = nullptr;
    ITransferDialogs* transfers = nullptr;
};

class THauptForm : public QMainWindow,
                   public IDocumentContext,
                   public IMacroHost,
                   public ISearchHost,
                   public IAnchorHost {
    Q_OBJECT
public:
    THauptForm(const TShellStart& start, const TShellDialogs& dialogs, QWidget* parent = nullptr);
    // Without element or project dialogs the program's own are used.
    THauptForm(const TShellStart& start, IDialogs& dialogs, IElementDialogs* elements = nullptr,
               IProjectDialogs* projectDialogs = nullptr);
    ~THauptForm() override;

    // Runs once after creation: false ends the program.
    bool Init();

    // --- Document windows -----------------------------------------------------------------
    TMDIForm* NewWindow(TFileTypes fileType);
    bool LoadTextIntoWindow(const QString& fileName, TBufferCoord caret, quint32 langId,
                            int dateFormat);
    int FindWindowByName(const QString& fileName) const;
    bool OpenTextFile(const QString& fileName);
    void ActivateWindow(int index);
    bool CloseAllTexts(bool withCancel);
    TMDIForm* activeDocument() const;
    const QList<TMDIForm*>& documents() const { return m_docs.all(); } // in tab order
    TMDIForm* documentAt(int tabIndex) const { return m_docs.at(tabIndex); }
    const TIdList& idList() const { return m_docs.idList(); }
    void PreviousMDI(int docId);
    void NextMDI(int docId);
    // The one way a document is saved: asks for a name when it has none (or when a new one
    // is wanted), writes, and reports a failure. True when the file was written, or when an
    // unchanged document needed no writing.
    enum class TSave { Changed, Always, NewName };
    bool saveDocument(TMDIForm* form, TSave mode);
    // "Save %s?" for a modified document; false when the user cancelled or a save failed.
    bool askToSave(TMDIForm* form);

    // --- Projects. The list owns them; at most one is active. -----------------------------
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
    TProjectInfo* activeProject() const { return m_session.active(); }
    int projectIndex() const { return m_session.index(); }
    int projectCount() const { return m_session.count(); }
    TProjectInfo* projectAt(int index) const { return m_session.at(index); }
    QString stdPath() const { return m_settings.Config.StdPath; }
    QString projFilePath() const;
    TStartScreen* startScreen() const { return m_startScreen; }

    // --- Publishing (OrvelfrmTransfer.cpp) -------------------------------------------------
    void ActionTransferExecute();
    void ActionClearServerExecute();
    bool transferRunning() const { return m_transferRun != nullptr; }
    ITransferDialogs& transferDialogs();

    // --- Commands -------------------------------------------------------------------------
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
    QAction* action(cmd::TShellCommandId id) const;
    TDocumentCommands& documentCommands() { return *m_docCommands; }
    // Refreshes the status bar and the file commands' state; with updateTabs the tab of the
    // active document is selected.
    void ShowStatus(bool updateTabs);

    // --- Preview (OrvelfrmPreview.cpp) ---------------------------------------------------
    void ActionPreviewExecute();
    void ActionExtPreviewExecute();
    // "External &browser ..": the program the external preview starts.
    void itmExtBrowserClick();
    // "Classic browser" and "Edge browser".
    void setPreviewEngine(bool edge);
    // The page provider the preview window asks when it becomes active: the active HTML
    // document's copy, freshly written.
    void PreviewRefresh(QString& Title, QString& URL, QString& Org);
    // The preview window, made on first use.
    TfrmWebView* previewWindow();
    TfrmWebView* existingPreview() const { return m_preview; }

    // --- IDocumentContext -----------------------------------------------------------------
    IDialogs& dialogs() override { return m_dialogs; }
    ISearchDialogs& searchDialogs() override { return *m_searchDialogs; }
    IElementDialogs& elementDialogs() override { return *m_elements; }
    TFindReplDialog* findDialog() override { return m_findDialog; }
    const THtmlCharTable* charTable() const override { return m_charTable.get(); }
    QStringList* anchorHistory() override { return &m_settings.AnchorList; }
    QString htmlRoot() const override { return m_session.htmlRoot(); }
    QString programDataFile(const QString& name) const override;
    QString mainCaption() const override { return m_start.caption; }
    QString appTitle() const override;
    TSynEditSpellCheck* spellChecker() override { return m_spell.get(); }

    // --- Spelling (OrvelfrmSpelling.cpp) --------------------------------------------------
    // Reads the dictionaries in the background; the first showing of the window starts it.
    void startDictionaryLoad();
    // "Dictionaries ..": the choice of the dictionaries read at start, then the restart.
    void itmDictionariesClick();
    // The choice itself; tests answer in its place.
    std::function<bool(const QList<TLanguageName>& found, QList<quint32>& configured)>
        chooseDictionaries;
    // Starts the program again once it has closed; false with the reason when it cannot.
    std::function<bool(QString& error)> restartProgram;

    // --- IMacroHost -----------------------------------------------------------------------
    bool inputName(const QString& caption, const QString& prompt, const QStringList& offers,
                   QPoint at, QString& name) override;
    TEditorControl* activeEditor() override;
    TMacroPanel& macroPanel() { return *m_macroPanel; }
    // The status bar's panels, left to right.
    QLabel* statusPanel(int index) const { return m_panels[index]; }
    TCommandList& macroCommands() { return *m_macroCommands; }
    // Shows or hides the text macros above the documents.
    void ActionShowMacrosExecute();

    // --- Search in files (ISearchHost) ---------------------------------------------------
    QStringList documentFiles() const override;
    QString activeDocumentName() const override;
    bool documentText(const QString& fileName, QByteArray& text) const override;
    bool replaceInDocument(const QString& fileName, const QList<qsizetype>& starts,
                           qsizetype length, const QString& replacement) override;
    bool saveAllDocuments() override;
    bool openFileAt(const QString& fileName, TBufferCoord begin, TBufferCoord end) override;
    bool hasProjects() const override { return projectCount() > 0; }
    QString projectRoot() const override { return htmlRoot(); }
    QString projectTextTypes() const override;
    TFileSearchPage& fileSearchPage() { return *m_fileSearch; }
    TSearchResultsPage& searchResultsPage() { return *m_searchResults; }
    TCommandList& searchCommands() { return *m_searchCommands; }
    // Brings the page "Search in files" to the front.
    void ActionShowSearchExecute();

    // --- Local anchors (IAnchorHost) -------------------------------------------------------
    QString projectName() const override;
    QString activeDocumentFile() const override;
    bool documentModified(const QString& fileName) const override;
    bool reloadDocument(const QString& fileName) override;
    TAnchorPage& anchorPage() { return *m_anchorPage; }

    // Reports an error no command handled, in a box titled with the application title.
    void reportError(const QString& message);
    // Reports a failed status; true when it succeeded.
    bool report(const TStatus& status);

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
    void setupDialogs(const TShellDialogs& dialogs);
    void wireLinkDialogs(TQtElementDialogs& dialogs); // OrvelfrmLinks
    void createPreviewCommands();
    void initPreview();
    void connectPreview(TMDIForm* form);
    void updatePreviewActions(const TMDIForm* form);
    void closePreview();
    void releasePreview();
    void savePreviewSettings(TUnicodeIniFile& ini);
    void setupImageDialogs();
    void saveImageSettings(TUnicodeIniFile& ini);
    // The active document's copy for the preview; empty for a template without header.
    TResult<QString> writePreviewCopyOf(TMDIForm* form, bool expand);
    // A copy that cannot be written is told once, until it can be written again.
    void previewCopyFailed(const QString& error);
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
    void setProjectsRoot(const QString& folder);
    QList<TLanguageName> dictionaryLanguages() const;
    // Hides the window behind the start screen while a project is opened.
    void beginProjectChange();
    void endProjectChange();
    void createCommands();
    void createDocumentCommands();
    void createLayout();
    void readSettings();
    void captureForm();
    void mergeMenus();
    void fillWindowMenu();
    // A document window put on its tab, right after the selected one, and selected.
    void addTab(TMDIForm* form);
    void updateTab(TMDIForm* form);
    // Closes the document of a tab; the last one is replaced by a new document.
    void closeTab(int index);
    void showTabHint(int index);
    void bringToFront(TMDIForm* form);
    void onTabChanged(int index);
    // Closes the window, asking first when ask is set; keepInProject leaves its file in the
    // project's list (all documents are closing).
    bool closeDocumentWindow(TMDIForm* form, bool ask, bool keepInProject = false);
    void removeDocument(TMDIForm* form, bool keepInProject);
    QString fileFilter(TFileTypes type, bool allTypes) const;
    void applyTypeSettings(TMDIForm* form);
    void connectDocument(TMDIForm* form);
    // The name to save under, from the save dialog; empty when cancelled.
    QString askSaveName(TMDIForm* form);
    // The type's description and the file's name below the root, for the status bar.
    QString statusName(const TMDIForm* form) const;

    TShellStart m_start;
    IDialogs& m_dialogs;
    std::unique_ptr<IProjectDialogs> m_ownProjectDialogs;
    IProjectDialogs* m_projectDialogs = nullptr;
    std::unique_ptr<ISearchDialogs> m_ownSearchDialogs;
    ISearchDialogs* m_searchDialogs = nullptr;
    TProjectSession m_session;
    bool m_bulkLoading = false; // many documents are being opened: activate the last one only
    TStartScreen* m_startScreen = nullptr;
    QMenu* m_projectMenu = nullptr;
    std::unique_ptr<IElementDialogs> m_ownElements;
    IElementDialogs* m_elements = nullptr;
    TFindReplDialog* m_findDialog = nullptr;
    std::unique_ptr<TLogFile> m_log;
    std::unique_ptr<THtmlCharTable> m_charTable;
    class QTimer* m_autosaveTimer = nullptr;
    QAction* m_autosaveItem = nullptr;
    QAction* m_logActive = nullptr;
    QAction* m_logOff = nullptr;
    QStringList m_autosaveFailed; // copies already reported as failing
    void createServiceMenus();
    void createSpelling();
    void dictionariesLoaded();
    // Closing writes everything; then the program starts again.
    void restartAfterClose();
    std::unique_ptr<TSynEditSpellCheck> m_spell;
    QMenu* m_prefsMenu = nullptr;
    bool m_restartAfterClose = false;
    void createTransferCommands();
    void updateTransferCommands();
    // While a run goes on no other project can be chosen.
    void lockProjects(bool locked);
    // Asks for the passwords the project lacks; false when the user cancelled.
    bool askTransferPasswords(TProjectInfo& project);
    // Runs body as the program's one publishing run and reports what it could not do.
    void runTransfer(TProjectInfo& project, const std::function<TPublishResult(TPublisher&)>& body);
    // Closing during a run: asks whether to cancel it; false keeps the window open for now.
    bool transferAllowsClose();
    ITransferDialogs* m_transferDialogs = nullptr;
    std::unique_ptr<ITransferDialogs> m_ownTransferDialogs;
    TPublisher* m_transferRun = nullptr;
    bool m_closeAfterTransfer = false;
    void createMacroPanel();
    TMacroPanel* m_macroPanel = nullptr;
    void createSearchPanel();
    // The left page changed: the search results take the upper panel while the search page
    // is in front, the text macros get it back after.
    void leftPageChanged();
    // Documents opened or closed, or another project: the search page's choices follow.
    void refreshSearchScope();
    TFileSearchPage* m_fileSearch = nullptr;
    void createAnchorPage();
    TAnchorPage* m_anchorPage = nullptr;
    TSearchResultsPage* m_searchResults = nullptr;
    TCommandList* m_searchCommands = nullptr;
    bool m_macrosShownBefore = false; // the upper panel before the search page came
    bool m_searchInFront = false;
    TCommandList* m_macroCommands = nullptr;
    TDocumentList m_docs;
    QList<TFileType> m_fileTypes;
    TShellSettings m_settings;
    std::unique_ptr<THighlighter> m_highlighters[kFileTypeCount];
    TKeyStrokes m_keyStrokes;
    TCommandList* m_commands = nullptr;
    TDocumentCommands* m_docCommands = nullptr;
    QList<QMenu*> m_ownMenus; // with their groups in m_ownGroups
    QList<int> m_ownGroups;
    TMainLayout* m_layout = nullptr;
    QStackedWidget* m_docArea = nullptr;
    TFileTabBar* m_tabs = nullptr;
    THistoryList* m_recentFiles = nullptr;
    class THistoryMenu* m_recentMirror = nullptr;
    QMenu* m_recentMenu = nullptr;
    QMenu* m_windowMenu = nullptr;
    QList<QAction*> m_windowCommands;       // before the list of documents
    QString m_actHint;                      // the last panel's text for the active document
    int m_hintIndex = -1;                   // the tab the mouse is over
    QString m_panelFolder;                  // the folder the file panel shows
    QList<THistoryList*> m_searchHistories; // FileFind, FileReplace, FindDirs, FindTypes
    bool m_placed = false;
    QLabel* m_panels[6] = {};
    int m_newNr = 0;
    bool m_closing = false;
    bool m_switching = false;
    TPreviewSettings m_previewSettings;
    TfrmWebView* m_preview = nullptr; // a window of its own: the main window may cover it
    TPreviewWriter m_previewCopies;
    QStringList m_previewFailed; // errors already told
    QTimer* m_previewTimer = nullptr;
    QAction* m_classicItem = nullptr;
    QAction* m_edgeItem = nullptr;
    QAction* m_liveItem = nullptr;
};

} // namespace orvel
