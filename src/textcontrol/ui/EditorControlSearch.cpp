// The plain-text search and replace engine of the editor component.

#include "textcontrol/ui/EditorControl.h"

#include <Qsci/qsciscintilla.h>
#include <utility>

namespace orvel {

namespace {
using B = QsciScintillaBase;
// A hidden container indicator marks the search scope.
constexpr int kScopeIndicator = B::INDIC_CONTAINER + 12;
} // namespace

void TEditorControl::markSearchScope(TBufferCoord begin, TBufferCoord end) {
    clearSearchScope();
    long a = positionOf(begin);
    long b = positionOf(end);
    if (b < a)
        std::swap(a, b);
    if (a == b)
        return;
    send(B::SCI_INDICSETSTYLE, kScopeIndicator, B::INDIC_HIDDEN);
    send(B::SCI_SETINDICATORCURRENT, kScopeIndicator);
    send(B::SCI_SETINDICATORVALUE, 1);
    send(B::SCI_INDICATORFILLRANGE, a, b - a);
}

void TEditorControl::clearSearchScope() {
    send(B::SCI_SETINDICATORCURRENT, kScopeIndicator);
    send(B::SCI_INDICATORCLEARRANGE, 0, send(B::SCI_GETLENGTH));
}

TSearchResult TEditorControl::searchReplace(const QString& search, const QString& replace,
                                            TSearchOptions options, TSearchScope scope) {
    TSearchResult result;
    if (search.isEmpty())
        return result;
    const QByteArray needle = search.toUtf8();
    const QByteArray replacement = replace.toUtf8();
    int flags = 0;
    if (options & ssoMatchCase)
        flags |= B::SCFIND_MATCHCASE;
    if (options & ssoWholeWord)
        flags |= B::SCFIND_WHOLEWORD;
    send(B::SCI_SETSEARCHFLAGS, flags);

    const bool backwards = options & ssoBackwards;
    const bool doReplace = (options & ssoReplace) && !readOnly();
    bool replaceAll = doReplace && (options & ssoReplaceAll);
    bool prompt = options & ssoPrompt;

    long scopeA = 0;
    long scopeB = send(B::SCI_GETLENGTH);
    if ((options & ssoSelectedOnly) && scope == TSearchScope::Marked) {
        // Edits never split the marked run: it is one range, or gone.
        scopeA = send(B::SCI_INDICATORVALUEAT, kScopeIndicator, 0)
                     ? 0
                     : send(B::SCI_INDICATOREND, kScopeIndicator, 0);
        if (scopeA < scopeB && send(B::SCI_INDICATORVALUEAT, kScopeIndicator, scopeA))
            scopeB = send(B::SCI_INDICATOREND, kScopeIndicator, scopeA);
        else
            scopeA = scopeB = 0;
    } else if (options & ssoSelectedOnly) {
        scopeA = send(B::SCI_GETSELECTIONSTART);
        scopeB = send(B::SCI_GETSELECTIONEND);
    }
    long pos;
    if (options & ssoEntireScope)
        pos = backwards ? scopeB : scopeA;
    else
        pos = qBound(scopeA, long(send(B::SCI_GETCURRENTPOS)), scopeB);

    // Every replacement of one run is one undoable step.
    bool grouped = false;
    const auto group = [&] {
        if (doReplace && !grouped) {
            send(B::SCI_BEGINUNDOACTION);
            grouped = true;
        }
    };
    if (replaceAll)
        group();
    long lastPos = -1;

    for (;;) {
        send(B::SCI_SETTARGETSTART, pos);
        send(B::SCI_SETTARGETEND, backwards ? scopeA : scopeB);
        if (sendPtr(B::SCI_SEARCHINTARGET, needle.size(), needle.constData()) < 0)
            break;
        const long mStart = send(B::SCI_GETTARGETSTART);
        const long mEnd = send(B::SCI_GETTARGETEND);
        ++result.found;
        if (!doReplace) {
            if (backwards)
                send(B::SCI_SETSEL, mEnd, mStart);
            else
                send(B::SCI_SETSEL, mStart, mEnd);
            send(B::SCI_SCROLLCARET);
            break;
        }
        if (prompt) {
            // The caret where a declined match leaves the next search: past it either way.
            if (backwards)
                send(B::SCI_SETSEL, mEnd, mStart);
            else
                send(B::SCI_SETSEL, mStart, mEnd);
            send(B::SCI_SCROLLCARET);
            lastPos = -1;
            const TBufferCoord at = coordOf(mStart);
            const TReplaceAction action =
                onReplaceText ? onReplaceText(search, replace, at.Line, at.Char) : raReplace;
            if (action == raCancel) {
                result.cancelled = true;
                break;
            }
            if (action == raSkip) {
                if (!replaceAll) {
                    result.skipped = true;
                    break;
                }
                pos = backwards ? mStart : mEnd;
                continue;
            }
            if (action == raReplaceAll) {
                prompt = false;
                replaceAll = true;
                group();
            }
        }
        group();
        send(B::SCI_SETTARGETSTART, mStart);
        send(B::SCI_SETTARGETEND, mEnd);
        sendPtr(B::SCI_REPLACETARGET, replacement.size(), replacement.constData());
        const long newEnd = mStart + replacement.size();
        scopeB += replacement.size() - (mEnd - mStart);
        ++result.replaced;
        pos = backwards ? mStart : newEnd;
        if (!replaceAll) {
            send(B::SCI_GOTOPOS, pos);
            break;
        }
        // Replacing everything moves the caret once, at the end.
        lastPos = pos;
    }
    if (lastPos >= 0)
        send(B::SCI_GOTOPOS, lastPos);
    if (grouped)
        send(B::SCI_ENDUNDOACTION);
    emitStatus();
    return result;
}

} // namespace orvel
