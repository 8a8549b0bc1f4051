#pragma once
// The document window: one file in an editor, with its state and its own commands.

#include "editor/core/DocumentText.h"
#include "editor/core/EditorProperties.h"
#include "editor/ui/TagEngine.h"
#include "textcontrol/core/EditorCommands.h"
#include "textcontrol/core/EditorOptions.h"
#include "textcontrol/core/TextTypes.h"

#include <QDateTime>
#include <QPoint>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>
#include <utility>

class QAction;
class QActionGroup;
class QMenu;
class QTabWidget;
class QCheckBox;

namespace orvel {

class IDocumentHost;
class TCommandList;
class TEditorControl;
class TFindReplDialog;
struct TSearchResult;
class THighlighter;
class THtmlCharDialog;
class TTagEngine;
struct THtmlCommand;

// A menu the window merges into the main window's menu bar, with its group number.
struct TMergedMenu {
    int group;
    QMenu* menu;
};

class TMDIForm : public QWidget {
    Q_OBJECT
public:
    TMDIForm(IDocumentHost& host, TFileTypes fileType, QWidget* parent = nullptr);
    ~TMDIForm() override;

    // Document state.
    QString TextName;
    QString TextPath;
    QString TsvName;
    TTextStatus Status = tsNew;
    const TFileTypes FileType;
    TSynEncoding Encoding = seAnsi;
    bool UseBom = true;
    quint32 TimeStamp = 0; // whole seconds since 1970, as stored formats keep it
    int DocId = 0;
    int WinIndex = -1;
    bool WasChanged = false;
    int TextDateFormat = 0;
    quint32 TextLangId = 0;
    bool HlEnabled = true;
    int MarkCount = 0;

    TEditorControl* TextBuffer = nullptr;

    QString caption() const { return m_caption; }
    void setCaption(const QString& caption);

    void InitNewText(const QString& AName, const QString& ADir, TSynEncoding AEncoding);
    bool LoadText(const QString& FileName);
    bool ReLoadText();
    // Writes the file. False when the user declined to save in another encoding; a write
    // failure raises an error naming the file.
    bool SaveText();
    void SaveTextToTemp();
    // Takes the text of an autosaved copy: modified, not saved; the copy stays the window's
    // copy until the text is saved or closed.
    bool RecoverFrom(const QString& copy);
    void SaveTemplate(const QString& Filename);
    bool AskForSave();
    TSynEncoding GetEncodingFromHeader() const;
    void ChangeEncoding(TSynEncoding AEncoding);
    QString GetTextName() const;
    // The file's name with links resolved; kept while the name stays and the file exists,
    // so that finding a document among many needs no file-system calls.
    QString resolvedName() const;
    void setTextLangId(quint32 id);

    void SetProperties(const THighlighter* master, const TSynEditProperties& props,
                       const TSynGutterProperties& gutter);
    void SetNewFont(const TFontSettings& font);
    void SetKeyStrokes(const TKeyStrokes& strokes);

    // The activation step: outside changes, commands' state, keyboard focus.
    void Activate();
    // Asks about a file changed by another program; true when it was reloaded.
    bool UpdateText();
    // Whether the file on disk differs from what was loaded or saved.
    bool fileChangedOnDisk() const;

    // Closing: the question first, then the window tells the shell and goes.
    bool closeQuery() { return AskForSave(); }
    void closeDocument();

    bool modified() const;
    const QList<TMergedMenu>& menus() const { return m_menus; }
    TCommandList& commands() { return *m_commands; }
    QAction* action(const char* name) const;
    TTagEngine& engine() { return *m_engine; }
    // The page control of element buttons; the main window shows the active window's.
    // The element toolbar pages, built when first asked for: documents opened in the
    // background never need them.
    QTabWidget* toolPanel();
    QTabWidget* existingToolPanel() const { return m_toolPanel; }
    // The tag under the last mouse press (link or image).
    TTagMark TagMark;
    // Runs an element command as its action does (errors reported).
    void runElement(const char* name);
    void ActionEditTagExecute();
    // A new bookmark at the position: the lowest free number, or the next one to recycle.
    void NewBookmark(TBufferCoord pos);

Q_SIGNALS:
    void captionChanged();
    void statusChanged(bool modifiedChanged);

private:
    void createCommands();
    void createElementCommands(QMenu* insertMenu);
    void createToolPanel();
    void createContextMenu();
    void createEditCommands(QMenu* editMenu, QMenu* bookmarkMenu);
    void updatePasteCommands();
    void moveCaretForMenu(QPoint globalPos);
    void gutterClicked(int line, int bookmark);
    void element(const THtmlCommand& command);
    void special(const QString& name);
    void blockWithValue(const QString& title, const QString& label, const QString& start,
                        const QString& format, const QString& closing);
    void insertColorAttribute(const THtmlCommand& command);
    void updateEncodingMenu();
    void rememberFileTime();
    bool writeFile();
    void applyLoadedEncoding(TSynEncoding detected, bool bom, bool reloading);
    bool takeCaretLines(bool firstOnly, TBufferCoord* caret);

    IDocumentHost& m_host;
    std::unique_ptr<THighlighter> m_highlighter;
    std::unique_ptr<TTagEngine> m_engine;
    QTabWidget* m_toolPanel = nullptr;
    QCheckBox* m_dynamicBox = nullptr;
    QMenu* m_contextMenu = nullptr;
    QMenu* m_encodingMenu = nullptr;
    QList<QMenu*> m_codeMenus; // the categories, for the menu and the context menu
    QMenu* m_gotoMenu = nullptr;
    QMenu* m_setMenu = nullptr;
    TCommandList* m_commands = nullptr;
    QList<TMergedMenu> m_menus;
    QActionGroup* m_encodingGroup = nullptr;
    QString m_caption;
    QDateTime m_fileTime; // full precision, for outside changes
    qint64 m_fileSize = -1;
    bool m_inUpdateText = false;

    // --- Find and replace (OrvelMDIFind.cpp) ---------------------------------------------
public:
    // How a step searches: as the dialog is set, or forward / backward whatever it says.
    enum class TFindMode { AsSet, Forward, Backward };
    // The find dialog's callbacks.
    void FindNextText(TFindReplDialog* Sender);
    void ReplaceNextText(TFindReplDialog* Sender);
    void FindStep(TFindMode mode);
    void ReplaceStep(TFindMode mode);
    // The confirmation of one replacement, placed below the match.
    TReplaceAction TextBufferReplaceText(const QString& ASearch, const QString& AReplace, int Line,
                                         int Column);
    // The window became the active one: a visible find dialog now works on it, and find
    // next / previous follow whether it holds a search text.
    void findActivated();

private:
    void createFindCommands(QMenu* editMenu);
    void openFindDialog(bool replace);
    void pointFindDialogHere(bool replace);
    void findAgain(bool backward);
    TSearchOptions stepOptions(TFindMode mode) const;
    // True when the selection became the range "selected text" searches.
    bool takeSearchScope(TSearchOptions options);
    void caretToScopeStart(TSearchOptions options);
    TSearchResult runSearch(TSearchOptions options);

    bool m_scopeMarked = false; // the editor holds the range "selected text" searches
    std::optional<std::pair<TBufferCoord, TBufferCoord>> m_lastMatch;

    // --- Characters and entities (OrvelMDIChars.cpp) -----------------------------------
public:
    // Runs the character dialog for ActionHtmlCode; tests answer in its place.
    std::function<bool(THtmlCharDialog& dialog, QPoint pos, QString& name)> runCharDialog;
    // Converts the whole text (one undoable step); caret to column 1 of its line.
    void ConvertToEntities();
    void ConvertToChars();
    // Converts the selection, or the run around the caret, from entities to characters.
    void ConvertWordToChar();

private:
    void createCharCommands(QMenu* menu);
    void convertWholeText(bool toEntities);
    void convertLines(const std::function<QString(const QString&)>& convert);
    void insertCharEntity();
    mutable QString m_resolvedFor; // the TextName m_resolved belongs to
    mutable QString m_resolved;
};

} // namespace orvel
