// The document window's find and replace: its four commands and the steps the shared
// find dialog calls back into.

#include "base/core/Dialogs.h"
#include "base/core/Translate.h"
#include "base/ui/CommandList.h"
#include "editor/ui/DocumentHost.h"
#include "editor/ui/OrvelMDI.h"
#include "search/core/FindReplLogic.h"
#include "search/core/SearchDialogs.h"
#include "search/ui/FindReplDlg.h"
#include "textcontrol/ui/EditorControl.h"

#include <QAction>
#include <QFontMetrics>
#include <QMenu>
#include <QPointer>

namespace orvel {

namespace {
const TCommandDef kFind = {"ActionFind",          2015,    N_("Actions"), N_("&Find .."),
                           N_("Search for text"), "Ctrl+F"};
const TCommandDef kReplace = {"ActionReplace",    2016,    N_("Actions"), N_("Re&place .."),
                              N_("Replace text"), "Ctrl+R"};
const TCommandDef kFindNext = {
    "ActionFindNext", 2019, N_("Actions"), N_("Find &next"), N_("Search/replace forwards"), "F3"};
const TCommandDef kFindPrev = {
    "ActionFindPrev", 2032, N_("Actions"), N_("Find &previous"), N_("Search/replace backwards"),
    "Shift+F3"};
} // namespace

void TMDIForm::createFindCommands(QMenu* editMenu) {
    QAction* find = m_commands->add(kFind, [this] { openFindDialog(false); });
    QAction* replace = m_commands->add(kReplace, [this] { openFindDialog(true); });
    QAction* next = m_commands->add(kFindNext, [this] { findAgain(false); });
    QAction* previous = m_commands->add(kFindPrev, [this] { findAgain(true); });
    next->setEnabled(false);
    previous->setEnabled(false);
    editMenu->addActions({find, next, previous, replace});
    editMenu->addSeparator();
    TextBuffer->onReplaceText = [this](const QString& search, const QString& replacement, int line,
                                       int column) {
        return TextBufferReplaceText(search, replacement, line, column);
    };
}

void TMDIForm::pointFindDialogHere(bool replace) {
    TFindReplDialog* dlg = m_host.findDialog();
    // The dialog outlives document windows: a closed window must not be called.
    QPointer<TMDIForm> self(this);
    dlg->OnFind = [self](TFindReplDialog* sender) {
        if (self)
            self->FindNextText(sender);
    };
    if (replace)
        dlg->OnReplace = [self](TFindReplDialog* sender) {
            if (self)
                self->ReplaceNextText(sender);
        };
}

void TMDIForm::openFindDialog(bool replace) {
    TFindReplDialog* dlg = m_host.findDialog();
    if (!dlg)
        return;
    dlg->setFindText(TextBuffer->hasSelection() ? TextBuffer->selText()
                                                : TextBuffer->wordAtCaret());
    pointFindDialogHere(replace);
    m_host.ShowStatus(true);
    dlg->Execute(replace);
    action("ActionFindNext")->setEnabled(true);
    action("ActionFindPrev")->setEnabled(true);
}

void TMDIForm::findActivated() {
    TFindReplDialog* dlg = m_host.findDialog();
    if (!dlg)
        return;
    if (dlg->isVisible())
        pointFindDialogHere(true);
    const bool on = !dlg->FindText().isEmpty();
    action("ActionFindNext")->setEnabled(on);
    action("ActionFindPrev")->setEnabled(on);
}

void TMDIForm::findAgain(bool backward) {
    TFindReplDialog* dlg = m_host.findDialog();
    if (!dlg)
        return;
    const TFindMode mode = backward ? TFindMode::Backward : TFindMode::Forward;
    if (dlg->Options() & ssoReplace)
        ReplaceStep(mode);
    else
        FindStep(mode);
}

void TMDIForm::FindNextText(TFindReplDialog*) {
    FindStep(TFindMode::AsSet);
}

void TMDIForm::ReplaceNextText(TFindReplDialog*) {
    ReplaceStep(TFindMode::AsSet);
}

TSearchOptions TMDIForm::stepOptions(TFindMode mode) const {
    TSearchOptions options = m_host.findDialog()->Options();
    if (mode == TFindMode::Forward)
        options &= ~ssoBackwards;
    else if (mode == TFindMode::Backward)
        options |= ssoBackwards;
    return options;
}

bool TMDIForm::takeSearchScope(TSearchOptions options) {
    if (!(options & ssoSelectedOnly))
        return false;
    // The range searched in is the selection the search began with: the matches selected
    // since, and a selection gone with a replacement, do not narrow it.
    const bool selected = TextBuffer->hasSelection();
    const bool ownMatch = m_lastMatch && TextBuffer->blockBegin() == m_lastMatch->first &&
                          TextBuffer->blockEnd() == m_lastMatch->second;
    if (m_scopeMarked && (!selected || ownMatch))
        return false;
    TextBuffer->markSearchScope(TextBuffer->blockBegin(), TextBuffer->blockEnd());
    m_scopeMarked = true;
    return true;
}

void TMDIForm::caretToScopeStart(TSearchOptions options) {
    TextBuffer->setCaretXY((options & ssoBackwards) ? TextBuffer->blockEnd()
                                                    : TextBuffer->blockBegin());
}

TSearchResult TMDIForm::runSearch(TSearchOptions options) {
    const TFindReplDialog* dlg = m_host.findDialog();
    // Line breaks typed or pasted into the dialog match the document's own.
    const TLineBreak lb = TextBuffer->lineBreak();
    const TSearchResult r = TextBuffer->searchReplace(
        withLineBreaks(dlg->FindText(), lb), withLineBreaks(dlg->ReplaceText(), lb), options,
        m_scopeMarked ? TSearchScope::Marked : TSearchScope::Selection);
    if (r.found && TextBuffer->hasSelection())
        m_lastMatch = std::pair{TextBuffer->blockBegin(), TextBuffer->blockEnd()};
    return r;
}

void TMDIForm::FindStep(TFindMode mode) {
    const TFindReplDialog* dlg = m_host.findDialog();
    if (!dlg)
        return;
    const QString search = dlg->FindText();
    if (search.isEmpty()) {
        m_host.dialogs().beep();
        return;
    }
    TSearchOptions options = stepOptions(mode) & ~(ssoReplace | ssoReplaceAll);
    // A match is stepped over; a range just taken as the scope is searched whole.
    if (takeSearchScope(options))
        caretToScopeStart(options);
    else if (mode == TFindMode::Forward)
        TextBuffer->setCaretXY(TextBuffer->blockEnd());
    else if (mode == TFindMode::Backward)
        TextBuffer->setCaretXY(TextBuffer->blockBegin());
    if (runSearch(options).found)
        return;
    const bool backwards = options & ssoBackwards;
    for (;;) {
        m_host.dialogs().beep();
        const QString question = fmt(T_("\"%s\" not found!"), {search}) + QStringLiteral("\r\n") +
                                 (backwards ? T_("Restart search from the end of the file?")
                                            : T_("Restart search from the beginning of the file?"));
        if (m_host.dialogs().ask(m_host.mainCaption(), question, mbYes | mbNo, mrYes) != mrYes)
            return;
        if (backwards)
            TextBuffer->caretToTextEnd();
        else
            TextBuffer->caretToTextStart();
        if (runSearch(options).found)
            return;
    }
}

void TMDIForm::ReplaceStep(TFindMode mode) {
    const TFindReplDialog* dlg = m_host.findDialog();
    if (!dlg)
        return;
    const QString search = dlg->FindText();
    if (search.isEmpty()) {
        m_host.dialogs().beep();
        return;
    }
    TSearchOptions options = stepOptions(mode);
    if (takeSearchScope(options))
        caretToScopeStart(options);
    for (;;) {
        const TSearchResult r = runSearch(options);
        if (!r.found) {
            m_host.dialogs().beep();
            m_host.dialogs().error(m_host.appTitle(), fmt(T_("\"%s\" not found!"), {search}));
            return;
        }
        if ((options & ssoReplaceAll) || !r.skipped)
            return;
        // Declined: the next match is offered, from the caret even when the search began at
        // the top, or the same match would come back for ever.
        options &= ~ssoEntireScope;
    }
}

TReplaceAction TMDIForm::TextBufferReplaceText(const QString& ASearch, const QString& AReplace,
                                               int Line, int Column) {
    // Below the match, at its column, so that the match stays readable.
    QPoint at = TextBuffer->rowColumnToPixels({Column, Line});
    if (Line < TextBuffer->lineCount())
        at.setY(TextBuffer->rowColumnToPixels({1, Line + 1}).y());
    else
        at.ry() += QFontMetrics(TextBuffer->editorFont()).height();
    const QString prompt =
        fmt(T_("Replace this match of \"%s\"\r\nby \"%s\"?"), {ASearch, AReplace});
    return m_host.searchDialogs().confirmReplace(TextBuffer->mapToGlobal(at), prompt);
}

} // namespace orvel
