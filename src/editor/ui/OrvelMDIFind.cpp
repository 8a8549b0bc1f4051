// The document window's find and replace: the steps of its commands and those the shared
// find dialog calls back into.

#include "base/core/Dialogs.h"
#include "base/core/Translate.h"
#include "editor/ui/DocumentContext.h"
#include "editor/ui/OrvelMDI.h"
#include "search/core/FindReplLogic.h"
#include "search/core/SearchDialogs.h"
#include "search/ui/FindReplDlg.h"
#include "textcontrol/ui/EditorControl.h"

#include <QFontMetrics>
#include <QPointer>

namespace orvel {

void TMDIForm::pointFindDialogHere(bool replace) {
    TFindReplDialog* dlg = m_context.findDialog();
    // The dialog outlives document windows: a closed window must not be called.
    QPointer<TMDIForm> self(this);
    dlg->OnFind = [self](TFindReplDialog*) {
        if (self)
            self->FindStep(TFindMode::AsSet);
    };
    if (replace)
        dlg->OnReplace = [self](TFindReplDialog*) {
            if (self)
                self->ReplaceStep(TFindMode::AsSet);
        };
}

void TMDIForm::openFindDialog(bool replace) {
    TFindReplDialog* dlg = m_context.findDialog();
    if (!dlg)
        return;
    dlg->setFindText(m_editor->hasSelection() ? m_editor->selText() : m_editor->wordAtCaret());
    pointFindDialogHere(replace);
    dlg->Execute(replace);
    Q_EMIT findStarted();
}

void TMDIForm::findActivated() {
    TFindReplDialog* dlg = m_context.findDialog();
    if (!dlg)
        return;
    if (dlg->isVisible())
        pointFindDialogHere(true);
}

void TMDIForm::findAgain(bool backward) {
    TFindReplDialog* dlg = m_context.findDialog();
    if (!dlg)
        return;
    const TFindMode mode = backward ? TFindMode::Backward : TFindMode::Forward;
    if (dlg->Options() & ssoReplace)
        ReplaceStep(mode);
    else
        FindStep(mode);
}

TSearchOptions TMDIForm::stepOptions(TFindMode mode) const {
    TSearchOptions options = m_context.findDialog()->Options();
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
    const bool selected = m_editor->hasSelection();
    const bool ownMatch = m_lastMatch && m_editor->blockBegin() == m_lastMatch->first &&
                          m_editor->blockEnd() == m_lastMatch->second;
    if (m_scopeMarked && (!selected || ownMatch))
        return false;
    m_editor->markSearchScope(m_editor->blockBegin(), m_editor->blockEnd());
    m_scopeMarked = true;
    return true;
}

void TMDIForm::caretToScopeStart(TSearchOptions options) {
    m_editor->setCaretXY((options & ssoBackwards) ? m_editor->blockEnd() : m_editor->blockBegin());
}

TSearchResult TMDIForm::runSearch(TSearchOptions options) {
    const TFindReplDialog* dlg = m_context.findDialog();
    // Line breaks typed or pasted into the dialog match the document's own.
    const TLineBreak lb = m_editor->lineBreak();
    const TSearchResult r = m_editor->searchReplace(
        withLineBreaks(dlg->FindText(), lb), withLineBreaks(dlg->ReplaceText(), lb), options,
        m_scopeMarked ? TSearchScope::Marked : TSearchScope::Selection);
    if (r.found && m_editor->hasSelection())
        m_lastMatch = std::pair{m_editor->blockBegin(), m_editor->blockEnd()};
    return r;
}

void TMDIForm::FindStep(TFindMode mode) {
    const TFindReplDialog* dlg = m_context.findDialog();
    if (!dlg)
        return;
    const QString search = dlg->FindText();
    if (search.isEmpty()) {
        m_context.dialogs().beep();
        return;
    }
    TSearchOptions options = stepOptions(mode) & ~(ssoReplace | ssoReplaceAll);
    // A match is stepped over; a range just taken as the scope is searched whole.
    if (takeSearchScope(options))
        caretToScopeStart(options);
    else if (mode == TFindMode::Forward)
        m_editor->setCaretXY(m_editor->blockEnd());
    else if (mode == TFindMode::Backward)
        m_editor->setCaretXY(m_editor->blockBegin());
    if (runSearch(options).found)
        return;
    const bool backwards = options & ssoBackwards;
    for (;;) {
        m_context.dialogs().beep();
        const QString question = fmt(T_("\"%s\" not found!"), {search}) + QStringLiteral("\r\n") +
                                 (backwards ? T_("Restart search from the end of the file?")
                                            : T_("Restart search from the beginning of the file?"));
        if (m_context.dialogs().ask(m_context.mainCaption(), question, mbYes | mbNo, mrYes) !=
            mrYes)
            return;
        if (backwards)
            m_editor->caretToTextEnd();
        else
            m_editor->caretToTextStart();
        if (runSearch(options).found)
            return;
    }
}

void TMDIForm::ReplaceStep(TFindMode mode) {
    const TFindReplDialog* dlg = m_context.findDialog();
    if (!dlg)
        return;
    const QString search = dlg->FindText();
    if (search.isEmpty()) {
        m_context.dialogs().beep();
        return;
    }
    TSearchOptions options = stepOptions(mode);
    if (takeSearchScope(options))
        caretToScopeStart(options);
    for (;;) {
        const TSearchResult r = runSearch(options);
        if (!r.found) {
            m_context.dialogs().beep();
            m_context.dialogs().error(m_context.appTitle(), fmt(T_("\"%s\" not found!"), {search}));
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
    QPoint at = m_editor->rowColumnToPixels({Column, Line});
    if (Line < m_editor->lineCount())
        at.setY(m_editor->rowColumnToPixels({1, Line + 1}).y());
    else
        at.ry() += QFontMetrics(m_editor->editorFont()).height();
    const QString prompt =
        fmt(T_("Replace this match of \"%s\"\r\nby \"%s\"?"), {ASearch, AReplace});
    return m_context.searchDialogs().confirmReplace(m_editor->mapToGlobal(at), prompt);
}

} // namespace orvel
