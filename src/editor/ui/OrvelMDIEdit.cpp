// The document window's bookmarks and the caret for its context menu.

#include "editor/ui/OrvelMDI.h"
#include "textcontrol/ui/EditorControl.h"

namespace orvel {

void TMDIForm::NewBookmark(TBufferCoord pos) {
    int n = 0;
    while (n < 10 && m_editor->isBookmarkSet(n))
        ++n;
    if (n == 10) {
        // All ten in use: the next in turn is given up.
        n = m_markCount;
        m_editor->clearBookmark(n);
        m_markCount = (m_markCount + 1) % 10;
    }
    m_editor->setBookmark(n, pos);
}

void TMDIForm::clearBookmarks() {
    for (int n = 0; n < 10; ++n)
        m_editor->clearBookmark(n);
}

void TMDIForm::gutterClicked(int line, int bookmark) {
    if (bookmark >= 0)
        m_editor->clearBookmark(bookmark);
    else
        NewBookmark({1, line});
}

void TMDIForm::moveCaretForMenu(QPoint globalPos) {
    // The menu acts where the user clicked; a click inside the selection keeps it.
    const TBufferCoord at = m_editor->pixelsToRowColumn(m_editor->mapFromGlobal(globalPos));
    const TBufferCoord a = m_editor->blockBegin();
    const TBufferCoord b = m_editor->blockEnd();
    if (!m_editor->hasSelection() || at < a || b < at)
        m_editor->setCaretXY(at);
}

} // namespace orvel
