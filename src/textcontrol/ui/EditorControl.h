#pragma once
// The editor component: the syntax-highlighting text control every document window holds.
// The rest of the program talks to this class only; the control behind it stays private.

#include "base/core/TextFile.h"
#include "textcontrol/core/EditorCommands.h"
#include "textcontrol/core/EditorOptions.h"
#include "textcontrol/core/HighlighterTypes.h"
#include "textcontrol/core/TextTypes.h"
#include "textcontrol/core/Utf16Index.h"

#include <QByteArray>
#include <QPoint>
#include <QWidget>
#include <functional>
#include <vector>

class QsciScintilla;
class QKeyEvent;
class QTimer;

namespace orvel {

class THighlighter;

// Status changes reported through statusChanged.
enum TStatusChange : int {
    scCaretX = 1,
    scCaretY = 2,
    scLeftChar = 4,
    scTopLine = 8,
    scInsertMode = 16,
    scModified = 32,
    scSelection = 64,
    scReadOnly = 128,
    scAll = 255
};

// Where ssoSelectedOnly searches.
enum class TSearchScope { Selection, Marked };

struct TSearchResult {
    int found = 0;        // matches found (and selected or replaced)
    int replaced = 0;     // matches replaced
    bool skipped = false; // the one match offered was declined
    bool cancelled = false;
};

class TEditorControl : public QWidget {
    Q_OBJECT
public:
    explicit TEditorControl(QWidget* parent = nullptr);
    ~TEditorControl() override;

    // --- Text ---------------------------------------------------------------------------
    QString text() const;
    void setText(const QString& text);
    // The whole text as UTF-8, without copying where possible: valid until the next edit.
    QByteArrayView textBytes() const;
    int lineCount() const;
    QString line(int index) const; // index from 0, without its line break
    void setLine(int index, const QString& text);
    void addLine(const QString& text);
    void insertLine(int index, const QString& text);
    void deleteLine(int index);
    void clear();
    // Replaces a byte range of textBytes() as one undoable step; the caret and selection
    // keep their place in the text around it.
    void replaceBytes(qsizetype start, qsizetype length, const QString& text);
    // Batch edits: one undoable step, no repaint in between. Nested calls count.
    void beginUpdate();
    void endUpdate();
    TLineBreak lineBreak() const { return m_lineBreak; }
    void setLineBreak(TLineBreak lb);

    // --- Positions ----------------------------------------------------------------------
    TBufferCoord caretXY() const;
    void setCaretXY(TBufferCoord pos);
    int caretX() const { return caretXY().Char; }
    int caretY() const { return caretXY().Line; }
    void setCaretX(int x);
    void setCaretY(int y);
    TBufferCoord blockBegin() const;
    TBufferCoord blockEnd() const;
    void setBlockBegin(TBufferCoord pos); // collapses the selection there
    void setBlockEnd(TBufferCoord pos);   // selects from the block begin
    void setSelection(TBufferCoord anchor, TBufferCoord caret);
    bool hasSelection() const;
    // Character index into the text with lines joined by CR LF, from 0.
    int selStart() const;
    int selLength() const;
    void setSelStart(int index);
    void setSelLength(int length);
    TBufferCoord charIndexToRowCol(int index) const;
    // The text between two positions (in text order), line breaks as they stand.
    QString textRange(TBufferCoord from, TBufferCoord to) const;
    // The position that many characters further on (back for a negative count), clamped
    // to the text.
    TBufferCoord movedBy(TBufferCoord pos, int characters) const;
    int rowColToCharIndex(TBufferCoord pos) const;
    QPoint rowColumnToPixels(TBufferCoord pos) const; // in this widget's coordinates
    TBufferCoord pixelsToRowColumn(QPoint p) const;
    int topLine() const; // first visible line, from 1
    int linesInWindow() const;

    // --- Editing ------------------------------------------------------------------------
    QString selText() const;
    void setSelText(const QString& text); // one undoable step; caret after the text
    bool modified() const;
    void setModified(bool value);
    bool readOnly() const;
    void setReadOnly(bool value);
    bool insertMode() const;
    void setInsertMode(bool value);
    void undo();
    void redo();
    bool canUndo() const;
    bool canRedo() const;
    void clearUndo();
    void cutToClipboard();
    void copyToClipboard();
    void pasteFromClipboard();
    bool canPaste() const;
    void selectWord();
    void selectAll();
    QString wordAtCaret() const;
    QString wordAt(TBufferCoord pos) const;
    TBufferCoord wordStart(TBufferCoord pos) const;
    TBufferCoord wordEnd(TBufferCoord pos) const;
    TBufferCoord nextWordPos(TBufferCoord pos) const;
    bool isWordChar(QChar c) const;
    static bool isWhiteChar(QChar c) { return c.unicode() <= 32; }
    // Moves the caret to the bracket matching the one at (or before) the caret.
    bool findMatchingBracket();
    // Position of the bracket matching the one at pos; Char 0 when none.
    TBufferCoord matchingBracketPos(TBufferCoord pos) const;

    // --- Commands -----------------------------------------------------------------------
    void executeCommand(int command);
    void caretToLineStart() { executeCommand(ecLineStart); }
    void caretToLineEnd() { executeCommand(ecLineEnd); }
    void selectToLineEnd() { executeCommand(ecSelLineEnd); }
    void insertLineBreak() { executeCommand(ecLineBreak); }
    void caretToTextStart() { executeCommand(ecEditorTop); }
    void caretToTextEnd() { executeCommand(ecEditorBottom); }
    void upperCaseSelection() { executeCommand(ecUpperCase); }
    void lowerCaseSelection() { executeCommand(ecLowerCase); }
    void setColumnMode(bool on);
    bool columnMode() const;

    // --- Layout -------------------------------------------------------------------------
    // Leading blanks (codes up to 32) of the caret line with eoAutoIndent set; the tab width
    // when that is 0 or eoAutoIndent is off.
    int caretLineIndent() const;

    // --- Bookmarks ----------------------------------------------------------------------
    void setBookmark(int n, TBufferCoord pos);
    void clearBookmark(int n);
    bool isBookmarkSet(int n) const;
    TBufferCoord bookmarkPos(int n) const; // Char 0 when not set
    void gotoBookmark(int n);
    int bookmarkAtLine(int line) const; // -1 when none

    // --- Search -------------------------------------------------------------------------
    // Plain-text search and replace with the search option set. Confirmation (ssoPrompt)
    // asks onReplaceText before each replacement. With ssoSelectedOnly the search keeps to
    // the selection, or to the marked scope when asked to.
    TSearchResult searchReplace(const QString& search, const QString& replace,
                                TSearchOptions options,
                                TSearchScope scope = TSearchScope::Selection);
    // A range for ssoSelectedOnly that stays while searching moves the selection: it moves
    // with edits around it; text replaced at its very edges falls outside. Empty when the
    // range is empty or its text went.
    void markSearchScope(TBufferCoord begin, TBufferCoord end);
    void clearSearchScope();
    std::function<TReplaceAction(const QString& search, const QString& replace, int line,
                                 int column)>
        onReplaceText;

    // --- Highlighting -------------------------------------------------------------------
    void setHighlighter(THighlighter* highlighter); // not owned; nullptr for none
    THighlighter* highlighter() const { return m_highlighter; }
    void setHighlighterEnabled(bool on);
    bool highlighterEnabled() const { return m_highlightOn; }
    // Name of the highlighter attribute at a position; empty without one.
    QString attributeNameAt(TBufferCoord pos) const;
    // The highlighter's attribute for a kind of token; empty without a highlighter.
    QString defaultAttributeName(TAttrKind kind) const;
    void setHtmlWordChars(bool on) { m_htmlWordChars = on; }

    // --- View properties ----------------------------------------------------------------
    TEditorOptions options() const { return m_options; }
    void setOptions(TEditorOptions options);
    int tabWidth() const { return m_tabWidth; }
    void setTabWidth(int width);
    int rightEdge() const { return m_rightEdge; }
    void setRightEdge(int column);
    QFont editorFont() const { return m_font; }
    void setEditorFont(const QFont& font);
    void setColors(const QColor& foreground, const QColor& background);
    QColor backgroundColor() const { return m_bg; }
    void setGutterVisible(bool on);
    bool gutterVisible() const { return m_gutterVisible; }
    void setShowLineNumbers(bool on);
    bool showLineNumbers() const { return m_lineNumbers; }
    void setLeadingZeros(bool on) { m_leadingZeros = on; }
    bool leadingZeros() const { return m_leadingZeros; }
    void setDigitCount(int digits);
    int digitCount() const { return m_digits; }
    void setKeyStrokes(const TKeyStrokes& strokes) { m_keys = strokes; }
    const TKeyStrokes& keyStrokes() const { return m_keys; }

    // --- Files --------------------------------------------------------------------------
    // Loads a file into the lines; the result tells the detected encoding and BOM.
    TLoadedText loadFile(const QString& fileName);
    // Loads editor text (UTF-8) in one step: no undo history, unmodified.
    void loadUtf8(QByteArray utf8, TLineBreak lineBreak);
    TSaveResult saveFile(const QString& fileName, TSynEncoding encoding, bool bom) const;

    // Keyboard focus goes to the text.
    void focusText();

    // --- Spelling marks (EditorControlSpell.cpp) -------------------------------------------
    // A line's text (index from 0) with the highlighter attribute of each stretch, the line
    // coloured first where need be; no runs without an active highlighter.
    QString lineAttributes(int index, QList<TAttrRun>& runs) const;
    // Where a line (from 0) begins in textBytes(), and the position of an offset there.
    qsizetype lineStartByte(int index) const;
    TBufferCoord byteToRowCol(qsizetype offset) const;
    // The wavy underlines of misspelt words: a line's marks replaced, read back, all cleared.
    void setSpellMarks(int index, const QList<TLineRange>& ranges);
    QList<TLineRange> spellMarks(int index) const;
    void clearSpellMarks();
    void setSpellMarkColor(const QColor& color);
    // Calls handler after the view changed: with vuContent when the text (or its colouring)
    // changed, vuScroll when it scrolled. Runs in the keystroke's own event: keep it cheap.
    enum TViewUpdate : int { vuContent = 1, vuScroll = 2 };
    QMetaObject::Connection onViewUpdated(QObject* context, std::function<void(int)> handler);

Q_SIGNALS:
    void statusChanged(int changes);
    // The text may have changed; also sent when only its colouring did, so a listener that
    // cares compares the text itself.
    void contentChanged();
    void keyDown(QKeyEvent* event, bool* handled);
    void mouseDown(Qt::MouseButton button, QPoint pos);
    void mouseMoved(QPoint pos);
    void gutterClick(int line, int bookmark);
    void contextMenuRequested(QPoint globalPos);
    void helpRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    friend class TEditorAccessible;
    long send(unsigned msg, unsigned long w = 0, long l = 0) const;
    long sendPtr(unsigned msg, unsigned long w, const void* p) const;
    QByteArray lineBytes(int line0) const; // without the line break
    // The bytes [start, start + length) without copying: valid until the next edit.
    QByteArrayView rangeBytes(long start, long length) const;
    void moveGapToCaret();
    // UTF-16 units between two byte positions of one line.
    qsizetype unitsBetween(long start, long end) const;
    // Joined index (lines joined by CR LF) of the start of a line, from 0.
    qsizetype lineStartIndex(int line0) const;
    long positionOf(TBufferCoord pos, qsizetype* virtualSpace = nullptr) const;
    TBufferCoord coordOf(long position, long virtualSpace = 0) const;
    long wordStartPos(long pos) const;
    long wordEndPos(long pos) const;
    QChar charAt(long pos) const;
    void applyOptions();
    void updateGutter();
    bool handleKey(QKeyEvent* e);
    void newLine(bool moveCaret);
    void blockIndent(bool indent);
    void pageMove(bool down, bool select);
    void emitStatus();
    void beginLoad(qsizetype sizeHint);
    void endLoad(TLineBreak lineBreak);
    // Highlighting (EditorControlStyle.cpp).
    struct TRange {
        long start;
        long end;
    };
    bool lexerActive() const;
    void restartStyling();
    void holdStyling() const;
    long colourise(long from, long to) const;
    // Colours up to the position (within the text) from where the colours are sure.
    void styleSurelyTo(long position) const;
    void stylingChangeAt(long position);
    void settleStyling();
    void styleSomeMore();
    void styleShownText() const;
    void addRoughlyStyled(long start, long end) const;

    QsciScintilla* m_sci;
    THighlighter* m_highlighter = nullptr;
    bool m_highlightOn = true;
    bool m_htmlWordChars = false;
    TEditorOptions m_options = kNewEditorOptions;
    int m_tabWidth = 8;
    int m_rightEdge = 80;
    QFont m_font;
    QColor m_fg;
    QColor m_bg;
    bool m_gutterVisible = true;
    bool m_lineNumbers = true;
    bool m_leadingZeros = false;
    int m_digits = 4;
    bool m_forcedModified = false;
    int m_updateDepth = 0;
    TLineBreak m_lineBreak = lbCRLF;
    TKeyStrokes m_keys;
    int m_bookmarkColumn[10];
    int m_bookmarkHandle[10];
    TBufferCoord m_lastCaret;
    bool m_loadReadOnly = false;
    QTimer* m_styler = nullptr;
    QTimer* m_gapWalker = nullptr;
    mutable long m_styledTo = 0; // colours before it are sure
    bool m_settlePosted = false;
    mutable std::vector<TRange> m_roughlyStyled; // shown beyond it, coloured on the spot
    // UTF-16 positions without counting from the start; kept up to date by change notices.
    mutable TUtf16Index m_units;
    int m_shownLines = 0;           // lines the gutter was sized for
    bool m_scrollWhenShown = false; // the caret was placed before the control had its size
};

} // namespace orvel
