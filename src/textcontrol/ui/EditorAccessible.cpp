#include "textcontrol/ui/EditorAccessible.h"

#include "textcontrol/ui/EditorControl.h"

#include <QAbstractScrollArea>
#include <Qsci/qsciscintilla.h>

namespace orvel {

namespace {
using B = QsciScintillaBase;

// Boundaries (words, sentences, lines) are looked for in the lines around an offset, and
// in at most this many bytes on either side of it in a very long line.
constexpr long kWindow = 4096;

// A piece of text on which Qt's own boundary rules run.
class TextPiece : public QAccessibleTextInterface {
public:
    explicit TextPiece(QString text) : m_text(std::move(text)) {}
    void selection(int, int* start, int* end) const override { *start = *end = 0; }
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}
    QString text(int start, int end) const override { return m_text.mid(start, end - start); }
    int characterCount() const override { return int(m_text.size()); }
    QRect characterRect(int) const override { return {}; }
    int offsetAtPoint(const QPoint&) const override { return -1; }
    void scrollToSubstring(int, int) override {}
    QString attributes(int, int* start, int* end) const override {
        *start = *end = 0;
        return {};
    }

private:
    QString m_text;
};

QAccessibleInterface* factory(const QString& className, QObject* object) {
    if (className != QLatin1String("QsciScintilla") || !object || !object->isWidgetType())
        return nullptr;
    auto* editor = qobject_cast<TEditorControl*>(object->parent());
    return editor ? new TEditorAccessible(static_cast<QWidget*>(object), editor) : nullptr;
}

TEditorAccessible::Listener& listener() {
    static TEditorAccessible::Listener l;
    return l;
}

bool listening() {
    return listener() || QAccessible::isActive();
}

void tell(QAccessibleEvent* ev) {
    if (listener())
        listener()(ev);
    else
        QAccessible::updateAccessibility(ev);
}

// The editor's interface while someone listens, else none: events are made only then.
TEditorAccessible* listenedTo(TEditorControl* editor) {
    if (!listening())
        return nullptr;
    return dynamic_cast<TEditorAccessible*>(
        QAccessible::queryAccessibleInterface(editor->focusProxy()));
}
} // namespace

TEditorAccessible::TEditorAccessible(QWidget* text, TEditorControl* editor)
    : QAccessibleWidget(text, QAccessible::EditableText), m_editor(editor) {
}

void TEditorAccessible::install() {
    static const bool installed = (QAccessible::installFactory(factory), true);
    Q_UNUSED(installed);
}

void TEditorAccessible::setListener(Listener l) {
    listener() = std::move(l);
}

void TEditorAccessible::beforeChange(TEditorControl* editor, long position, long length,
                                     bool insert) {
    TEditorAccessible* a = listenedTo(editor);
    if (!a)
        return;
    // The text is as the last change left it: the last insertion can be told now.
    a->flushInsert();
    if (insert) {
        a->m_pendingAt = position;
        a->m_pendingLength = length;
        return;
    }
    QAccessibleTextRemoveEvent ev(editor->m_sci, a->offset(position),
                                  QString::fromUtf8(editor->rangeBytes(position, length)));
    tell(&ev);
}

void TEditorAccessible::updated(TEditorControl* editor) {
    TEditorAccessible* a = listenedTo(editor);
    if (!a)
        return;
    a->flushInsert();
    const int cursor = a->cursorPosition();
    if (cursor != a->m_cursor) {
        a->m_cursor = cursor;
        QAccessibleTextCursorEvent ev(editor->m_sci, cursor);
        tell(&ev);
    }
}

void TEditorAccessible::flushInsert() {
    if (m_pendingAt < 0)
        return;
    const long at = m_pendingAt;
    m_pendingAt = -1;
    QAccessibleTextInsertEvent ev(m_editor->m_sci, offset(at),
                                  QString::fromUtf8(m_editor->rangeBytes(at, m_pendingLength)));
    tell(&ev);
}

long TEditorAccessible::send(unsigned msg, unsigned long w, long l) const {
    return m_editor->send(msg, w, l);
}

long TEditorAccessible::position(int offset) const {
    const long length = send(B::SCI_GETLENGTH);
    return long(m_editor->m_units.positionOfUnits(0, qMax(0, offset), length));
}

int TEditorAccessible::offset(long position) const {
    return int(m_editor->m_units.unitsBefore(position));
}

void* TEditorAccessible::interface_cast(QAccessible::InterfaceType t) {
    if (t == QAccessible::TextInterface)
        return static_cast<QAccessibleTextInterface*>(this);
    if (t == QAccessible::EditableTextInterface)
        return static_cast<QAccessibleEditableTextInterface*>(this);
    return QAccessibleWidget::interface_cast(t);
}

QAccessible::State TEditorAccessible::state() const {
    QAccessible::State s = QAccessibleWidget::state();
    s.editable = !m_editor->readOnly();
    s.readOnly = m_editor->readOnly();
    s.multiLine = true;
    s.selectableText = true;
    s.focusable = true;
    return s;
}

void TEditorAccessible::selection(int selectionIndex, int* startOffset, int* endOffset) const {
    *startOffset = *endOffset = 0;
    // Only selections that hold text count, in the control's order.
    const int n = int(send(B::SCI_GETSELECTIONS));
    for (int i = 0, found = 0; i < n; ++i) {
        const long a = send(B::SCI_GETSELECTIONNSTART, i);
        const long b = send(B::SCI_GETSELECTIONNEND, i);
        if (a == b)
            continue;
        if (found++ == selectionIndex) {
            *startOffset = offset(a);
            *endOffset = offset(b);
            return;
        }
    }
}

int TEditorAccessible::selectionCount() const {
    const int n = int(send(B::SCI_GETSELECTIONS));
    int count = 0;
    for (int i = 0; i < n; ++i)
        count += send(B::SCI_GETSELECTIONNSTART, i) != send(B::SCI_GETSELECTIONNEND, i);
    return count;
}

void TEditorAccessible::addSelection(int startOffset, int endOffset) {
    if (selectionCount() == 0)
        send(B::SCI_SETSEL, position(startOffset), position(endOffset));
    else
        send(B::SCI_ADDSELECTION, position(endOffset), position(startOffset));
}

void TEditorAccessible::removeSelection(int selectionIndex) {
    if (selectionIndex < 0 || selectionIndex >= selectionCount())
        return;
    if (send(B::SCI_GETSELECTIONS) > 1)
        send(B::SCI_DROPSELECTIONN, selectionIndex);
    else
        send(B::SCI_SETEMPTYSELECTION, send(B::SCI_GETCURRENTPOS));
}

void TEditorAccessible::setSelection(int selectionIndex, int startOffset, int endOffset) {
    if (selectionIndex == 0 || selectionCount() == 0) {
        send(B::SCI_SETSEL, position(startOffset), position(endOffset));
        return;
    }
    send(B::SCI_SETSELECTIONNSTART, selectionIndex, position(startOffset));
    send(B::SCI_SETSELECTIONNEND, selectionIndex, position(endOffset));
}

int TEditorAccessible::cursorPosition() const {
    return offset(send(B::SCI_GETCURRENTPOS));
}

void TEditorAccessible::setCursorPosition(int position) {
    send(B::SCI_GOTOPOS, this->position(position));
}

QString TEditorAccessible::text(int startOffset, int endOffset) const {
    const long a = position(startOffset);
    const long b = position(endOffset);
    return b > a ? QString::fromUtf8(m_editor->rangeBytes(a, b - a)) : QString();
}

QString TEditorAccessible::around(int offset, QAccessible::TextBoundaryType type, Side side,
                                  int* start, int* end) const {
    long from = 0;
    long to = send(B::SCI_GETLENGTH);
    if (type != QAccessible::NoBoundary) {
        const long pos = position(offset);
        const int line = int(send(B::SCI_LINEFROMPOSITION, pos));
        const int lines = int(send(B::SCI_GETLINECOUNT));
        from = qMax(send(B::SCI_POSITIONFROMLINE, qMax(0, line - 1)), pos - kWindow);
        to = qMin(line + 2 < lines ? send(B::SCI_POSITIONFROMLINE, line + 2) : to, pos + kWindow);
        // Cut at character starts.
        const auto inside = [this](long p) {
            return (m_editor->rangeBytes(p, 1).front() & 0xC0) == 0x80;
        };
        for (int n = 0; n < 3 && from > 0 && inside(from); ++n)
            --from;
        for (int n = 0; n < 3 && to < send(B::SCI_GETLENGTH) && inside(to); ++n)
            ++to;
    }
    const int base = this->offset(from);
    const TextPiece piece(QString::fromUtf8(m_editor->rangeBytes(from, to - from)));
    QString s;
    switch (side) {
    case Side::Before:
        s = piece.textBeforeOffset(offset - base, type, start, end);
        break;
    case Side::At:
        s = piece.textAtOffset(offset - base, type, start, end);
        break;
    case Side::After:
        s = piece.textAfterOffset(offset - base, type, start, end);
        break;
    }
    if (*start >= 0)
        *start += base;
    if (*end >= 0)
        *end += base;
    return s;
}

QString TEditorAccessible::textBeforeOffset(int offset, QAccessible::TextBoundaryType type,
                                            int* startOffset, int* endOffset) const {
    return around(offset, type, Side::Before, startOffset, endOffset);
}

QString TEditorAccessible::textAfterOffset(int offset, QAccessible::TextBoundaryType type,
                                           int* startOffset, int* endOffset) const {
    return around(offset, type, Side::After, startOffset, endOffset);
}

QString TEditorAccessible::textAtOffset(int offset, QAccessible::TextBoundaryType type,
                                        int* startOffset, int* endOffset) const {
    return around(offset, type, Side::At, startOffset, endOffset);
}

int TEditorAccessible::characterCount() const {
    return offset(send(B::SCI_GETLENGTH));
}

QRect TEditorAccessible::characterRect(int offset) const {
    const long pos = position(offset);
    const long next = send(B::SCI_POSITIONAFTER, pos);
    const int x = int(send(B::SCI_POINTXFROMPOSITION, 0, pos));
    const int y = int(send(B::SCI_POINTYFROMPOSITION, 0, pos));
    const int line = int(send(B::SCI_LINEFROMPOSITION, pos));
    int width = int(send(B::SCI_POINTXFROMPOSITION, 0, next)) - x;
    if (next == pos || send(B::SCI_LINEFROMPOSITION, next) != line || width <= 0)
        width = int(m_editor->sendPtr(B::SCI_TEXTWIDTH, B::STYLE_DEFAULT, " "));
    const QWidget* area = m_editor->m_sci->viewport();
    return QRect(area->mapToGlobal(QPoint(x, y)), QSize(width, int(send(B::SCI_TEXTHEIGHT, line))));
}

int TEditorAccessible::offsetAtPoint(const QPoint& point) const {
    const QPoint local = m_editor->m_sci->viewport()->mapFromGlobal(point);
    const long pos = send(B::SCI_CHARPOSITIONFROMPOINTCLOSE, local.x(), local.y());
    return pos < 0 ? -1 : offset(pos);
}

void TEditorAccessible::scrollToSubstring(int startIndex, int endIndex) {
    send(B::SCI_SCROLLRANGE, position(endIndex), position(startIndex));
}

QString TEditorAccessible::attributes(int offset, int* startOffset, int* endOffset) const {
    *startOffset = offset;
    *endOffset = qMin(offset + 1, characterCount());
    return {};
}

void TEditorAccessible::deleteText(int startOffset, int endOffset) {
    replaceText(startOffset, endOffset, QString());
}

void TEditorAccessible::insertText(int offset, const QString& text) {
    replaceText(offset, offset, text);
}

void TEditorAccessible::replaceText(int startOffset, int endOffset, const QString& text) {
    if (m_editor->readOnly())
        return;
    const long a = position(startOffset);
    const long b = position(endOffset);
    m_editor->replaceBytes(qMin(a, b), qAbs(b - a), text);
}

} // namespace orvel
