// Key strokes and the editor commands they run.

#include "textcontrol/ui/EditorControl.h"

#include "textcontrol/core/Utf8Columns.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <Qsci/qsciscintilla.h>

namespace orvel {

namespace {
using B = QsciScintillaBase;

// Shifted digits arrive as their symbols (US layout); the key table names the digit.
Qt::Key unshiftDigit(int key) {
    switch (key) {
    case Qt::Key_ParenRight:
        return Qt::Key_0;
    case Qt::Key_Exclam:
        return Qt::Key_1;
    case Qt::Key_At:
        return Qt::Key_2;
    case Qt::Key_NumberSign:
        return Qt::Key_3;
    case Qt::Key_Dollar:
        return Qt::Key_4;
    case Qt::Key_Percent:
        return Qt::Key_5;
    case Qt::Key_AsciiCircum:
        return Qt::Key_6;
    case Qt::Key_Ampersand:
        return Qt::Key_7;
    case Qt::Key_Asterisk:
        return Qt::Key_8;
    case Qt::Key_ParenLeft:
        return Qt::Key_9;
    default:
        return Qt::Key(key);
    }
}

QKeyCombination normalizedKey(const QKeyEvent* e) {
    Qt::KeyboardModifiers mods =
        e->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    int key = e->key();
    if (key == Qt::Key_Enter)
        key = Qt::Key_Return;
    if (mods & Qt::ShiftModifier)
        key = unshiftDigit(key);
    // Letters come upper-case whatever the shift state.
    if (key >= 'a' && key <= 'z')
        key -= 32;
    return QKeyCombination(mods, Qt::Key(key));
}

unsigned simpleCommand(int command, bool enhanceHome, bool enhanceEnd, bool column) {
    switch (command) {
    case ecLeft:
        return B::SCI_CHARLEFT;
    case ecRight:
        return B::SCI_CHARRIGHT;
    case ecUp:
        return B::SCI_LINEUP;
    case ecDown:
        return B::SCI_LINEDOWN;
    case ecWordLeft:
        return B::SCI_WORDLEFT;
    case ecWordRight:
        return B::SCI_WORDRIGHT;
    case ecLineStart:
        return enhanceHome ? B::SCI_VCHOME : B::SCI_HOME;
    case ecLineEnd:
        return enhanceEnd ? B::SCI_LINEENDDISPLAY : B::SCI_LINEEND;
    case ecPageUp:
        return B::SCI_PAGEUP;
    case ecPageDown:
        return B::SCI_PAGEDOWN;
    case ecEditorTop:
        return B::SCI_DOCUMENTSTART;
    case ecEditorBottom:
        return B::SCI_DOCUMENTEND;
    case ecSelLeft:
        return column ? B::SCI_CHARLEFTRECTEXTEND : B::SCI_CHARLEFTEXTEND;
    case ecSelRight:
        return column ? B::SCI_CHARRIGHTRECTEXTEND : B::SCI_CHARRIGHTEXTEND;
    case ecSelUp:
        return column ? B::SCI_LINEUPRECTEXTEND : B::SCI_LINEUPEXTEND;
    case ecSelDown:
        return column ? B::SCI_LINEDOWNRECTEXTEND : B::SCI_LINEDOWNEXTEND;
    case ecSelWordLeft:
        return B::SCI_WORDLEFTEXTEND;
    case ecSelWordRight:
        return B::SCI_WORDRIGHTEXTEND;
    case ecSelLineStart:
        if (column)
            return enhanceHome ? B::SCI_VCHOMERECTEXTEND : B::SCI_HOMERECTEXTEND;
        return enhanceHome ? B::SCI_VCHOMEEXTEND : B::SCI_HOMEEXTEND;
    case ecSelLineEnd:
        return column ? B::SCI_LINEENDRECTEXTEND : B::SCI_LINEENDEXTEND;
    case ecSelPageUp:
        return column ? B::SCI_PAGEUPRECTEXTEND : B::SCI_PAGEUPEXTEND;
    case ecSelPageDown:
        return column ? B::SCI_PAGEDOWNRECTEXTEND : B::SCI_PAGEDOWNEXTEND;
    case ecSelEditorTop:
        return B::SCI_DOCUMENTSTARTEXTEND;
    case ecSelEditorBottom:
        return B::SCI_DOCUMENTENDEXTEND;
    case ecScrollUp:
        return B::SCI_LINESCROLLUP;
    case ecScrollDown:
        return B::SCI_LINESCROLLDOWN;
    case ecDeleteLastChar:
        return B::SCI_DELETEBACK;
    case ecDeleteChar:
        return B::SCI_CLEAR;
    case ecDeleteWord:
        return B::SCI_DELWORDRIGHT;
    case ecDeleteLastWord:
        return B::SCI_DELWORDLEFT;
    case ecDeleteBOL:
        return B::SCI_DELLINELEFT;
    case ecDeleteEOL:
        return B::SCI_DELLINERIGHT;
    case ecDeleteLine:
        return B::SCI_LINEDELETE;
    case ecClearAll:
        return B::SCI_CLEARALL;
    case ecToggleMode:
        return B::SCI_EDITTOGGLEOVERTYPE;
    case ecUpperCase:
        return B::SCI_UPPERCASE;
    case ecLowerCase:
        return B::SCI_LOWERCASE;
    case ecSelectAll:
        return B::SCI_SELECTALL;
    default:
        return 0;
    }
}
} // namespace

void TEditorControl::executeCommand(int command) {
    settleStyling();
    const bool column = columnMode();
    if (const unsigned msg = simpleCommand(command, hasOption(m_options, eoEnhanceHomeKey),
                                           hasOption(m_options, eoEnhanceEndKey), column)) {
        if (column && msg >= B::SCI_CHARLEFT && msg <= B::SCI_DOCUMENTENDEXTEND)
            send(B::SCI_SETSELECTIONMODE, B::SC_SEL_STREAM);
        send(msg);
        if (column)
            setColumnMode(true);
        if (command == ecToggleMode)
            Q_EMIT statusChanged(scInsertMode);
        emitStatus();
        return;
    }
    if (command >= ecGotoMarker0 && command <= ecGotoMarker0 + 9) {
        gotoBookmark(command - ecGotoMarker0);
        return;
    }
    if (command >= ecSetMarker0 && command <= ecSetMarker0 + 9) {
        const int n = command - ecSetMarker0;
        // Setting a mark on the line it already marks removes it.
        if (isBookmarkSet(n) && bookmarkPos(n).Line == caretY())
            clearBookmark(n);
        else
            setBookmark(n, caretXY());
        return;
    }
    switch (command) {
    case ecPageTop:
    case ecPageBottom: {
        const int line =
            command == ecPageTop ? topLine() : topLine() + qMax(1, linesInWindow()) - 1;
        setCaretXY({caretX(), qMin(line, lineCount())});
        break;
    }
    case ecSelWord:
        selectWord();
        break;
    case ecCopy:
        copyToClipboard();
        break;
    case ecCut:
        cutToClipboard();
        break;
    case ecPaste:
        pasteFromClipboard();
        break;
    case ecNormalSelect:
        setColumnMode(false);
        break;
    case ecColumnSelect:
        setColumnMode(true);
        break;
    case ecLineSelect:
        send(B::SCI_SETSELECTIONMODE, B::SC_SEL_LINES);
        break;
    case ecContextHelp:
        Q_EMIT helpRequested();
        break;
    case ecLineBreak:
        newLine(true);
        break;
    case ecInsertLine:
        newLine(false);
        break;
    case ecBlockIndent:
        blockIndent(true);
        break;
    case ecBlockUnindent:
        blockIndent(false);
        break;
    case ecTab: {
        // Smart tabs: jump under the next word of the line above.
        if (!hasSelection() && hasOption(m_options, eoSmartTabs)) {
            const TBufferCoord c = caretXY();
            for (int l = c.Line - 2; l >= 0; --l) {
                const QString above = line(l);
                if (above.trimmed().isEmpty())
                    continue;
                int col = c.Char - 1;
                while (col < above.size() && !isWhiteChar(above.at(col)))
                    ++col;
                while (col < above.size() && isWhiteChar(above.at(col)))
                    ++col;
                if (col < above.size() && col > c.Char - 1) {
                    setSelText(QString(col - (c.Char - 1), u' '));
                    return;
                }
                break;
            }
        }
        send(B::SCI_TAB);
        break;
    }
    case ecShiftTab:
        send(B::SCI_BACKTAB);
        break;
    default:
        break;
    }
    emitStatus();
}

void TEditorControl::newLine(bool moveCaret) {
    if (readOnly())
        return;
    const long caret = send(B::SCI_GETCURRENTPOS);
    QByteArray insert = lineBreakText(m_lineBreak);
    if (moveCaret && hasOption(m_options, eoAutoIndent)) {
        // The new line starts with the blanks that begin the caret line, up to the caret.
        const int line0 = int(send(B::SCI_LINEFROMPOSITION, caret));
        const QByteArray l = lineBytes(line0);
        const long inLine = caret - send(B::SCI_POSITIONFROMLINE, line0);
        int n = 0;
        while (n < l.size() && n < inLine && (l.at(n) == ' ' || l.at(n) == '\t'))
            ++n;
        insert += l.left(n);
    }
    beginUpdate();
    const long a = send(B::SCI_GETSELECTIONSTART);
    const long b = send(B::SCI_GETSELECTIONEND);
    send(B::SCI_SETTARGETSTART, a);
    send(B::SCI_SETTARGETEND, b);
    sendPtr(B::SCI_REPLACETARGET, insert.size(), insert.constData());
    send(B::SCI_GOTOPOS, moveCaret ? a + insert.size() : a);
    endUpdate();
    send(B::SCI_SCROLLCARET);
}

void TEditorControl::blockIndent(bool indent) {
    if (readOnly())
        return;
    const long selA = send(B::SCI_GETSELECTIONSTART);
    const long selB = send(B::SCI_GETSELECTIONEND);
    const int first = int(send(B::SCI_LINEFROMPOSITION, selA));
    int last = int(send(B::SCI_LINEFROMPOSITION, selB));
    if (last > first && selB == send(B::SCI_POSITIONFROMLINE, last))
        --last;
    const QByteArray unit =
        hasOption(m_options, eoTabsToSpaces) ? QByteArray(m_tabWidth, ' ') : QByteArray("\t");
    beginUpdate();
    for (int l = first; l <= last; ++l) {
        const long start = send(B::SCI_POSITIONFROMLINE, l);
        if (indent) {
            sendPtr(B::SCI_INSERTTEXT, start, unit.constData());
            continue;
        }
        const QByteArray bytes = lineBytes(l);
        int n = 0;
        if (!bytes.isEmpty() && bytes.at(0) == '\t')
            n = 1;
        else
            while (n < bytes.size() && n < m_tabWidth && bytes.at(n) == ' ')
                ++n;
        if (n > 0)
            send(B::SCI_DELETERANGE, start, n);
    }
    endUpdate();
}

bool TEditorControl::handleKey(QKeyEvent* e) {
    const QKeyCombination key = normalizedKey(e);
    bool handled = false;
    Q_EMIT keyDown(e, &handled);
    if (handled)
        return true;
    if (const int command = commandForKey(m_keys, key)) {
        executeCommand(command);
        return true;
    }
    // An unbound Ctrl or Alt combination is no text (Ctrl+Alt is AltGr on many layouts).
    const bool ctrl = e->modifiers() & Qt::ControlModifier;
    const bool alt = e->modifiers() & Qt::AltModifier;
    return (ctrl || alt) && !(ctrl && alt);
}

bool TEditorControl::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::Paint:
        // Before the control paints: it would colour everything up to what it shows.
        if (watched == m_sci->viewport())
            styleShownText();
        break;
    case QEvent::Show:
    case QEvent::Resize:
        if (m_scrollWhenShown && watched == m_sci && m_sci->isVisible() && m_sci->width() > 0) {
            m_scrollWhenShown = false;
            send(QsciScintillaBase::SCI_SCROLLCARET);
        }
        break;
    case QEvent::KeyPress:
        if (watched == m_sci) {
            settleStyling();
            return handleKey(static_cast<QKeyEvent*>(event));
        }
        break;
    case QEvent::ShortcutOverride: {
        // Keys of the editor's own table go to the editor, every other combination to the
        // window's commands (the control would otherwise claim some for itself).
        auto* ke = static_cast<QKeyEvent*>(event);
        if (watched != m_sci)
            break;
        if (commandForKey(m_keys, normalizedKey(ke)) != 0)
            ke->accept();
        else if (ke->modifiers() & (Qt::ControlModifier | Qt::AltModifier))
            ke->ignore();
        else
            break;
        return true;
    }
    case QEvent::MouseButtonPress: {
        auto* me = static_cast<QMouseEvent*>(event);
        if (watched == m_sci->viewport()) {
            const QPoint p = m_sci->viewport()->mapTo(this, me->position().toPoint());
            if (me->button() == Qt::RightButton && hasOption(m_options, eoRightMouseMovesCursor)) {
                const long pos = send(B::SCI_POSITIONFROMPOINT, long(me->position().x()),
                                      long(me->position().y()));
                const long a = send(B::SCI_GETSELECTIONSTART);
                const long b = send(B::SCI_GETSELECTIONEND);
                if (pos < a || pos > b)
                    send(B::SCI_GOTOPOS, pos);
            }
            Q_EMIT mouseDown(me->button(), p);
        }
        break;
    }
    case QEvent::MouseMove:
        if (watched == m_sci->viewport())
            Q_EMIT mouseMoved(m_sci->viewport()->mapTo(
                this, static_cast<QMouseEvent*>(event)->position().toPoint()));
        break;
    case QEvent::ContextMenu:
        if (watched == m_sci || watched == m_sci->viewport()) {
            Q_EMIT contextMenuRequested(static_cast<QContextMenuEvent*>(event)->globalPos());
            return true;
        }
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace orvel
