// Highlighting. The text is coloured from its start in short slices while the user is idle.
// What is shown beyond that point is coloured on the spot, from a plain state, and again
// once the slices reach it; the control itself is told the whole text is coloured, so it
// never colours more than the lines of a change while a key is handled.

#include "textcontrol/ui/EditorControl.h"

#include "textcontrol/ui/Highlighter.h"

#include <QElapsedTimer>
#include <QTimer>
#include <Qsci/qsciscintilla.h>
#include <algorithm>

namespace orvel {

namespace {
using B = QsciScintillaBase;

// Shown text this close behind the coloured part is coloured from there, correctly, before
// it is painted; further on it is coloured on its own.
constexpr long kNear = 256 * 1024;
constexpr long kSlice = 64 * 1024;
constexpr int kSliceMs = 8;
} // namespace

bool TEditorControl::lexerActive() const {
    return m_highlighter && m_highlightOn;
}

void TEditorControl::setHighlighter(THighlighter* highlighter) {
    m_highlighter = highlighter;
    if (m_highlighter) {
        m_highlighter->setBaseFont(m_font);
        m_highlighter->setBaseColors(m_fg, m_bg);
    }
    m_sci->setLexer(lexerActive() ? m_highlighter->lexer() : nullptr);
    if (!lexerActive()) {
        m_sci->setFont(m_font);
        m_sci->setColor(m_fg);
        m_sci->setPaper(m_bg);
    }
    // Setting a lexer resets parts of the view: apply ours again.
    send(B::SCI_CLEARALLCMDKEYS);
    updateGutter();
    applyOptions();
    restartStyling();
}

void TEditorControl::restartStyling() {
    m_styledTo = 0;
    m_roughlyStyled.clear();
    if (!lexerActive())
        return;
    // The lexer keeps a state per line: room for all of them now, rather than while a key
    // stroke far down the text is handled.
    send(B::SCI_GETLINESTATE, lineCount() - 1);
    holdStyling();
    m_styler->start(0);
}

void TEditorControl::holdStyling() const {
    if (lexerActive())
        send(B::SCI_STARTSTYLING, send(B::SCI_GETLENGTH), 0);
}

long TEditorControl::colourise(long from, long to) const {
    send(B::SCI_COLOURISE, from, to);
    return send(B::SCI_GETENDSTYLED);
}

void TEditorControl::stylingChangeAt(long position) {
    // The colours from the changed line on are no longer sure.
    const long lineStart = send(B::SCI_POSITIONFROMLINE, send(B::SCI_LINEFROMPOSITION, position));
    m_styledTo = qMin(m_styledTo, lineStart);
    std::erase_if(m_roughlyStyled, [position](const TRange& r) { return r.end > position; });
    // The change lowers the control's mark: raise it again before the control would colour
    // from there to wherever the next command scrolls.
    if (!m_settlePosted && lexerActive()) {
        m_settlePosted = true;
        QMetaObject::invokeMethod(
            this, [this] { settleStyling(); }, Qt::QueuedConnection);
    }
}

void TEditorControl::settleStyling() {
    m_settlePosted = false;
    if (lexerActive() && send(B::SCI_GETENDSTYLED) < send(B::SCI_GETLENGTH))
        holdStyling();
}

void TEditorControl::addRoughlyStyled(long start, long end) const {
    // Kept sorted and merged: scrolling through a text adds a stretch per page.
    m_roughlyStyled.push_back({start, end});
    std::sort(m_roughlyStyled.begin(), m_roughlyStyled.end(),
              [](const TRange& a, const TRange& b) { return a.start < b.start; });
    std::vector<TRange> merged;
    for (const TRange& r : m_roughlyStyled) {
        if (!merged.empty() && r.start <= merged.back().end)
            merged.back().end = qMax(merged.back().end, r.end);
        else
            merged.push_back(r);
    }
    m_roughlyStyled = std::move(merged);
}

void TEditorControl::styleSomeMore() {
    if (!lexerActive())
        return;
    const long length = send(B::SCI_GETLENGTH);
    QElapsedTimer slice;
    slice.start();
    while (m_styledTo < length && slice.elapsed() < kSliceMs) {
        const long now = colourise(m_styledTo, qMin(length, m_styledTo + kSlice));
        if (now <= m_styledTo)
            break; // the lexer makes no progress here: leave the rest to painting
        m_styledTo = now;
    }
    std::erase_if(m_roughlyStyled, [this](const TRange& r) { return r.end <= m_styledTo; });
    holdStyling();
    if (m_styledTo < length)
        m_styler->start(0);
}

void TEditorControl::styleShownText() const {
    if (!lexerActive())
        return;
    const long length = send(B::SCI_GETLENGTH);
    const int first = int(send(B::SCI_DOCLINEFROMVISIBLE, send(B::SCI_GETFIRSTVISIBLELINE)));
    const int last = first + int(send(B::SCI_LINESONSCREEN)) + 1;
    const long shownFrom = send(B::SCI_POSITIONFROMLINE, first);
    const long shownTo = last + 1 < lineCount() ? send(B::SCI_POSITIONFROMLINE, last + 1) : length;
    // A change lowers the control's mark: from there it colours what it shows itself.
    const long mark = send(B::SCI_GETENDSTYLED);
    if (mark < length) {
        const long from = send(B::SCI_POSITIONFROMLINE, send(B::SCI_LINEFROMPOSITION, mark));
        if (from < shownTo) {
            const long start = shownFrom - from <= kNear ? from : shownFrom;
            const long end = colourise(start, shownTo);
            if (start <= m_styledTo)
                m_styledTo = qMax(m_styledTo, end);
            else
                addRoughlyStyled(start, end);
        }
    }
    // The stretches of the shown text not coloured yet.
    long at = qMax(shownFrom, m_styledTo);
    while (at < shownTo) {
        long gapEnd = shownTo;
        bool covered = false;
        for (const TRange& r : m_roughlyStyled) {
            if (r.start <= at && at < r.end) {
                at = r.end;
                covered = true;
                break;
            }
            if (r.start > at)
                gapEnd = qMin(gapEnd, r.start);
        }
        if (covered)
            continue;
        if (at - m_styledTo <= kNear) {
            m_styledTo = colourise(m_styledTo, gapEnd);
            at = qMax(m_styledTo, gapEnd);
        } else {
            const long start = send(B::SCI_POSITIONFROMLINE, send(B::SCI_LINEFROMPOSITION, at));
            const long end = qMax(colourise(start, gapEnd), gapEnd);
            addRoughlyStyled(start, end);
            at = end;
        }
    }
    holdStyling();
}

void TEditorControl::setHighlighterEnabled(bool on) {
    if (m_highlightOn == on)
        return;
    m_highlightOn = on;
    setHighlighter(m_highlighter);
}

void TEditorControl::styleSurelyTo(long position) const {
    const long goal = qMin<long>(send(B::SCI_GETLENGTH), position);
    if (m_styledTo < goal) {
        m_styledTo = colourise(m_styledTo, goal);
        holdStyling();
    }
}

QString TEditorControl::attributeNameAt(TBufferCoord pos) const {
    if (!lexerActive())
        return QString();
    const long p = positionOf(pos);
    // A token is known only once the lexer has seen its end: colour the whole line, from
    // where the colours are sure.
    const long lineEnd = send(B::SCI_GETLINEENDPOSITION, send(B::SCI_LINEFROMPOSITION, p));
    styleSurelyTo(lineEnd + 1);
    return m_highlighter->attributeOfStyle(int(send(B::SCI_GETSTYLEAT, p)));
}

QString TEditorControl::defaultAttributeName(TAttrKind kind) const {
    return m_highlighter ? m_highlighter->defaultAttribute(kind) : QString();
}

} // namespace orvel
