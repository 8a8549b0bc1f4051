// The document window's editing commands: undo, clipboard, brackets, column mode, bookmarks
// and the editor's context menu.

#include "base/core/Translate.h"
#include "base/ui/CommandList.h"
#include "editor/ui/DocumentHost.h"
#include "editor/ui/OrvelMDI.h"
#include "textcontrol/ui/EditorControl.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QMimeData>

namespace orvel {

namespace {
const TCommandDef kUndo = {"ActionUndo",           2014,           N_("Actions"), N_("&Undo"),
                           N_("Undo last change"), "Alt+Backspace"};
const TCommandDef kRedo = {
    "ActionRedo", 2022, N_("Actions"), N_("&Redo"), N_("Redo last change"), "Shift+Alt+Backspace"};
const TCommandDef kCut = {
    "ActionCut", 0, N_("Actions"), N_("&Cut"), N_("Cut selected text to clipboard"), ""};
const TCommandDef kCopy = {
    "ActionCopy", 0, N_("Actions"), N_("C&opy"), N_("Copy selected text to clipboard"), ""};
const TCommandDef kPaste = {
    "ActionPaste", 0, N_("Actions"), N_("&Insert"), N_("Insert text from clipboard"), ""};
const TCommandDef kMatch = {
    "ActionMatch", 2017, N_("Actions"), N_("&Search bracket"), N_("Search for matching bracket"),
    "Ctrl+M"};
const TCommandDef kColumn = {"ActionColumn",       2018, N_("Actions"), N_("Colu&mn mode"),
                             N_("Select columns"), "F4"};
const TCommandDef kSetBookmark = {"ActionSetBookmark",
                                  2037,
                                  N_("Actions"),
                                  N_("Set &bookmark"),
                                  N_("New bookmark at current line"),
                                  "Ctrl+D"};
const TCommandDef kClearBookmarks = {
    "ActionClearBookmarks",     2038,          N_("Actions"), N_("&Delete all"),
    N_("Delete all bookmarks"), "Ctrl+Shift+D"};

bool clipboardHasText() {
    const QMimeData* md = QApplication::clipboard()->mimeData();
    return md && md->hasText();
}
} // namespace

void TMDIForm::createEditCommands(QMenu* edit, QMenu* bookmarks) {
    TCommandList& c = *m_commands;
    TEditorControl* ed = TextBuffer;
    edit->addAction(c.add(kUndo, [ed] { ed->undo(); }));
    edit->addAction(c.add(kRedo, [ed] { ed->redo(); }));
    edit->addSeparator();
    edit->addAction(c.add(kCut, [this, ed] {
        ed->cutToClipboard();
        updatePasteCommands();
    }));
    edit->addAction(c.add(kCopy, [this, ed] {
        ed->copyToClipboard();
        updatePasteCommands();
    }));
    QAction* paste = c.add(kPaste, [ed] { ed->pasteFromClipboard(); });
    paste->setEnabled(false); // until activation finds text on the clipboard
    edit->addAction(paste);
    edit->addSeparator();
    QAction* selectWord = edit->addAction(T_("&Select word"), ed, [ed] { ed->selectWord(); });
    selectWord->setStatusTip(T_("Select word at cursor"));
    selectWord->setObjectName(QStringLiteral("itmSelectWord"));
    edit->addAction(c.add(kMatch, [ed] { ed->findMatchingBracket(); }));
    edit->addAction(c.add(kColumn, [ed] { ed->setColumnMode(true); }));
    edit->addSeparator();

    bookmarks->addAction(c.add(kSetBookmark, [this, ed] { NewBookmark(ed->caretXY()); }));
    bookmarks->addAction(c.add(kClearBookmarks, [ed] {
        for (int n = 0; n < 10; ++n)
            ed->clearBookmark(n);
    }));
    m_gotoMenu = bookmarks->addMenu(T_("&Goto"));
    m_setMenu = bookmarks->addMenu(T_("&Set"));
    for (int n = 0; n < 10; ++n) {
        const QString caption =
            T_("Bookmark &%s").replace(QStringLiteral("%s"), QString::number(n));
        m_gotoMenu->addAction(caption, ed, [ed, n] { ed->gotoBookmark(n); });
        m_setMenu->addAction(caption, ed, [ed, n] { ed->setBookmark(n, {1, ed->caretY()}); });
    }
    connect(QApplication::clipboard(), &QClipboard::dataChanged, this,
            [this] { updatePasteCommands(); });
    connect(ed, &TEditorControl::gutterClick, this,
            [this](int line, int bookmark) { gutterClicked(line, bookmark); });
}

void TMDIForm::updatePasteCommands() {
    if (QAction* paste = action("ActionPaste"))
        paste->setEnabled(clipboardHasText());
}

void TMDIForm::NewBookmark(TBufferCoord pos) {
    int n = 0;
    while (n < 10 && TextBuffer->isBookmarkSet(n))
        ++n;
    if (n == 10) {
        // All ten in use: the next in turn is given up.
        n = MarkCount;
        TextBuffer->clearBookmark(n);
        MarkCount = (MarkCount + 1) % 10;
    }
    TextBuffer->setBookmark(n, pos);
}

void TMDIForm::gutterClicked(int line, int bookmark) {
    if (bookmark >= 0)
        TextBuffer->clearBookmark(bookmark);
    else
        NewBookmark({1, line});
}

void TMDIForm::moveCaretForMenu(QPoint globalPos) {
    // The menu acts where the user clicked; a click inside the selection keeps it.
    const TBufferCoord at = TextBuffer->pixelsToRowColumn(TextBuffer->mapFromGlobal(globalPos));
    const TBufferCoord a = TextBuffer->blockBegin();
    const TBufferCoord b = TextBuffer->blockEnd();
    if (!TextBuffer->hasSelection() || at < a || b < at)
        TextBuffer->setCaretXY(at);
}

void TMDIForm::createContextMenu() {
    TEditorControl* ed = TextBuffer;
    m_contextMenu = new QMenu(this);
    m_contextMenu->addAction(action("ActionEditTag"));
    m_contextMenu->addAction(action("ActionImageMap"));
    m_contextMenu->addAction(action("ActionColor"));
    m_contextMenu->addAction(T_("&Select word"), ed, [ed] { ed->selectWord(); });
    m_contextMenu->addSeparator();
    QMenu* code = m_contextMenu->addMenu(T_("Insert &code"));
    for (QMenu* m : m_codeMenus)
        code->addMenu(m);
    if (QAction* symbols = action("ActionHtmlCode"))
        m_contextMenu->addAction(symbols);
    m_contextMenu->addSeparator();
    m_contextMenu->addAction(T_("&Upper case"), ed, [ed] { ed->upperCaseSelection(); });
    m_contextMenu->addAction(T_("&Lower case"), ed, [ed] { ed->lowerCaseSelection(); });
    if (QAction* toChar = action("ActionWordToIso"))
        m_contextMenu->addAction(toChar);
    m_contextMenu->addMenu(m_encodingMenu);
    m_contextMenu->addSeparator();
    m_contextMenu->addAction(action("ActionSetBookmark"));
    m_contextMenu->addMenu(m_gotoMenu);
}

} // namespace orvel
