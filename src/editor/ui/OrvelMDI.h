#pragma once
// The document window: one file in an editor. Its state is its own: read through the
// getters, changed through the methods, and every change is announced by a signal. The
// commands that act on it are rows of the document command table, run by the main window
// on the active document.

#include "base/core/Encodings.h"
#include "base/core/FileTypes.h"
#include "base/core/Result.h"
#include "editor/core/DocumentText.h"
#include "editor/core/EditorProperties.h"
#include "editor/ui/TagEngine.h"
#include "textcontrol/core/EditorCommands.h"
#include "textcontrol/core/EditorOptions.h"
#include "textcontrol/core/TextTypes.h"

#include <QDateTime>
#include <QLocale>
#include <QPoint>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>
#include <utility>

class QKeyEvent;

namespace orvel {

class IDocumentContext;
class TEditorControl;
class TFindReplDialog;
struct TSearchResult;
class THighlighter;
class THtmlCharDialog;
class TTagEngine;
struct THtmlCommand;
class TDrawAutoSpellCheckPlugin;
struct TStyleCommand;

// How many anchor names the anchor list keeps.
constexpr int kAnchorHistorySize = 20;

class TMDIForm : public QWidget {
    Q_OBJECT
public:
    // docId comes from the document list, which owns the window.
    TMDIForm(IDocumentContext& context, TFileTypes fileType, int docId, QWidget* parent = nullptr);
    ~TMDIForm() override;

    // --- State ----------------------------------------------------------------------------
    const QString& TextName() const { return m_textName; }
    const QString& TextPath() const { return m_textPath; }
    TTextStatus Status() const { return m_status; }
    TFileTypes FileType() const { return m_fileType; }
    const TFileFormat& format() const { return m_format; }
    TSynEncoding Encoding() const { return m_format.encoding; }
    bool UseBom() const { return m_format.bom; }
    quint32 TimeStamp() const { return m_timeStamp; } // whole seconds since 1970
    int DocId() const { return m_docId; }
    quint32 TextLangId() const { return m_textLangId; }
    int TextDateFormat() const { return m_textDateFormat; }
    // The autosaved copy of the text, when one was written or recovered.
    const QString& autosaveName() const { return m_tsvName; }
    QString caption() const { return m_caption; }
    bool modified() const;
    TEditorControl* TextBuffer() const { return m_editor; }
    TTagEngine& engine() { return *m_engine; }
    // The tag under the last mouse press or context menu (link or image).
    const TTagMark& TagMark() const { return m_tagMark; }
    // The file's name below the HTML root (the full name elsewhere), at most 255 characters.
    QString GetTextName() const;
    // The file's name with links resolved; kept while the name stays and the file exists,
    // so that finding a document among many needs no file-system calls.
    QString resolvedName() const;

    // --- Settings -------------------------------------------------------------------------
    // The language of the text; kept for HTML and plain text only. Its spelling follows;
    // the checker selects it when the document is activated.
    void setTextLangId(quint32 id);
    // The spell checking of an HTML or plain-text document; null for other types and when
    // the program has no spell checker.
    TDrawAutoSpellCheckPlugin* spellPlugin() const { return m_spell; }
    void setTextDateFormat(int format) { m_textDateFormat = format; }
    // The locale of the text's language (month names, decimal separator); the user's own
    // when the text has none.
    QLocale TextLocale() const;
    // Whether inserted numbers take a decimal comma: from the locale, then as the file-size
    // dialog last left it.
    bool DecComma() const { return m_decComma; }
    void setDecComma(bool comma) { m_decComma = comma; }
    // The file the file-size and digest commands used last.
    const QString& LastSizeFile() const { return m_lastSizeFile; }
    // Encoding and byte-order mark a new document is saved in.
    void presetFormat(TSynEncoding encoding, bool bom);
    void SetProperties(const THighlighter* master, const TSynEditProperties& props,
                       const TSynGutterProperties& gutter);
    void SetNewFont(const TFontSettings& font);
    void SetKeyStrokes(const TKeyStrokes& strokes);

    // --- Files ----------------------------------------------------------------------------
    // An untitled document from the folder's template (HTML) or the type's default text;
    // dir empty: the HTML root's template.
    void InitNewText(const QString& AName, const QString& ADir);
    // Loads the file; a failure names the file and leaves the window as it was.
    TStatus LoadText(const QString& FileName);
    TStatus ReLoadText();
    // Writes the text under its name. False when the user declined to save in another
    // encoding; a write failure names the file.
    TResult<bool> SaveText();
    // The document takes another file name (saving under a new name).
    void setFileName(const QString& fullName);
    // The folder new files of this document are proposed in.
    void setTextPath(const QString& folder) { m_textPath = folder; }
    // Writes the autosave copy of a modified text.
    TStatus SaveTextToTemp();
    // Takes the text of an autosaved copy: modified, not saved; the copy stays the window's
    // copy until the text is saved or closed.
    TStatus RecoverFrom(const QString& copy);
    TStatus SaveTemplate(const QString& Filename);
    // Forgets the changes (the user chose not to save them); the text stays.
    void discardChanges();
    // Deletes the autosave copy: the document goes.
    void removeAutosaveCopy();
    TSynEncoding GetEncodingFromHeader() const;
    // Sets the encoding and rewrites the charset declaration to match.
    void ChangeEncoding(TSynEncoding AEncoding);
    // The encoding and mark of the project, for all open documents.
    void takeProjectFormat(TSynEncoding encoding, bool bom);

    // The activation step: outside changes, keyboard focus.
    void Activate();
    // Asks about a file changed by another program; true when it was reloaded.
    bool UpdateText();
    // Whether the file on disk differs from what was loaded or saved.
    bool fileChangedOnDisk() const;

    // --- What the commands do -------------------------------------------------------------
    // A new bookmark at the position: the lowest free number, or the next one to recycle.
    void NewBookmark(TBufferCoord pos);
    void clearBookmarks();
    // An element command of the catalogue.
    void element(const THtmlCommand& command);
    void ActionLinkExecute();
    void ActionImageExecute();
    void ActionTargetExecute();
    void ActionGotoExecute();
    void ActionCommentExecute();
    void ActionNewTableExecute();
    void ActionFrameColsExecute();
    void ActionFrameRowsExecute();
    void ActionFormExecute();
    void ActionSelectExecute();
    void ActionSelectGroupExecute();
    void ActionFrameRefExecute();
    void ActionIFramesExecute();
    void ActionTextAreaExecute();
    void ActionFontColorExecute();
    void ActionColorExecute();
    void ActionBgImgExecute();
    void ActionFScrollExecute();
    void ActionInputTextExecute();
    void ActionInputPwdExecute();
    void ActionInputRadioExecute();
    void ActionInputCheckExecute();
    void ActionInputButtonExecute();
    void ActionSelectOptExecute();
    void ActionFormValueExecute();
    void ActionMailtoExecute();
    void ActionMailtoCodeExecute();
    void ActionEditTagExecute();
    void ActionImageMapExecute();
    // A style sheet command of the catalogue, and those with handlers of their own.
    void style(const TStyleCommand& command);
    void ActionStylesIncludeExecute();
    void ActionStylesHtmlExecute();
    void ActionStyleBgPosExecute();
    // Small inserts: dates, file sizes and digests, the mail decoder, JavaScript pieces.
    void ActionDateExecute();
    void ActionMonthExecute();
    void ActionYearExecute();
    void ActionFileSizeExecute();
    void ActionHashMD5Execute();
    void ActionHashSHA1Execute();
    void ActionHashSHA256Execute();
    void ActionJsDecodeExecute();
    void ActionDecodeExecute();
    void ActionJSBodyExecute();
    void ActionJSLinkExecute();
    void ActionJSIncludeExecute();
    void ActionJsTextExecute();
    void ActionScriptTagExecute();
    void ActionPreviousWinExecute() { Q_EMIT cycleRequested(false); }
    void ActionNextWinExecute() { Q_EMIT cycleRequested(true); }

    // Find and replace. How a step searches: as the dialog is set, or forward / backward
    // whatever it says.
    enum class TFindMode { AsSet, Forward, Backward };
    void openFindDialog(bool replace);
    void findAgain(bool backward);
    void FindStep(TFindMode mode);
    void ReplaceStep(TFindMode mode);
    // The confirmation of one replacement, placed below the match.
    TReplaceAction TextBufferReplaceText(const QString& ASearch, const QString& AReplace, int Line,
                                         int Column);
    // A visible find dialog now works on this window.
    void findActivated();

    // Characters and entities. The character dialog for ActionHtmlCode; tests answer in its
    // place.
    std::function<bool(THtmlCharDialog& dialog, QPoint pos, QString& name)> runCharDialog;
    void insertCharEntity();
    // Converts the whole text (one undoable step); caret to column 1 of its line.
    void ConvertToEntities();
    void ConvertToChars();
    // Converts the selection, or the run around the caret, from entities to characters.
    void ConvertWordToChar();

Q_SIGNALS:
    void captionChanged();
    // Caret, selection, insert mode or the modified flag moved.
    void statusChanged(bool modifiedChanged);
    // Encoding or byte-order mark changed.
    void formatChanged();
    // The user asked for the next or the previous document (F6, F7 and their commands).
    void cycleRequested(bool forward);
    // The editor's context menu was asked for at that point; the tag under it is marked.
    void contextMenuRequested(QPoint globalPos);
    // The find dialog was opened from here: find next and previous apply now.
    void findStarted();
    // The text's language changed.
    void languageChanged();

private:
    void setCaption(const QString& caption);
    void setStatus(TTextStatus status) { m_status = status; }
    void moveCaretForMenu(QPoint globalPos);
    void gutterClicked(int line, int bookmark);
    void blockWithValue(const QString& title, const QString& label, const QString& start,
                        const QString& format, const QString& closing);
    void insertColorAttribute(const THtmlCommand& command);
    void inputElement(const QString& type);
    bool anchorName(const QString& caption, QString& name);
    // "Edit tag" on a link: the URL dialog on the element and its text up to "</a>".
    bool editLinkTag(const TTagMark& mark, const QString& tag);
    QString documentLineBreak() const;
    // The image dialog on the selected image element; false when nothing was written.
    bool editImageElement(const QString& tag);
    void checkElement(bool radio, bool check);
    // Small inserts (OrvelMDIInserts.cpp).
    QString pickFile(const QString& startFile);
    void insertDigest(int kind);
    void rememberFileTime();
    TResult<bool> writeFile();
    void applyLoadedEncoding(TSynEncoding detected, bool bom, bool reloading);
    void setEncoding(TSynEncoding encoding);
    bool takeCaretLines(bool firstOnly, TBufferCoord* caret);
    TStatus loadError(const QString& error, const QString& fileName) const;
    void keyDown(QKeyEvent* e, bool* handled);

    IDocumentContext& m_context;
    const TFileTypes m_fileType;
    const int m_docId;
    TEditorControl* m_editor = nullptr;
    std::unique_ptr<THighlighter> m_highlighter;
    std::unique_ptr<TTagEngine> m_engine;
    QString m_textName;
    QString m_textPath;
    QString m_tsvName;
    TTextStatus m_status = tsNew;
    TFileFormat m_format{seAnsi, true, lbCRLF};
    quint32 m_timeStamp = 0;
    quint32 m_textLangId = 0;
    int m_textDateFormat = 0;
    bool m_decComma = false;
    QString m_lastSizeFile;
    bool m_hlEnabled = true;
    int m_markCount = 0; // the bookmark to recycle next when all ten are in use
    TTagMark m_tagMark;
    TDrawAutoSpellCheckPlugin* m_spell = nullptr; // belongs to the editor
    QString m_caption;
    QDateTime m_fileTime; // full precision, for outside changes
    qint64 m_fileSize = -1;
    bool m_inUpdateText = false;
    mutable QString m_resolvedFor; // the TextName m_resolved belongs to
    mutable QString m_resolved;

    // Find and replace (OrvelMDIFind.cpp).
    void pointFindDialogHere(bool replace);
    TSearchOptions stepOptions(TFindMode mode) const;
    // True when the selection became the range "selected text" searches.
    bool takeSearchScope(TSearchOptions options);
    void caretToScopeStart(TSearchOptions options);
    TSearchResult runSearch(TSearchOptions options);
    bool m_scopeMarked = false; // the editor holds the range "selected text" searches
    std::optional<std::pair<TBufferCoord, TBufferCoord>> m_lastMatch;

    // Characters and entities (OrvelMDIChars.cpp).
    void convertWholeText(bool toEntities);
    void convertLines(const std::function<QString(const QString&)>& convert);
};

} // namespace orvel
