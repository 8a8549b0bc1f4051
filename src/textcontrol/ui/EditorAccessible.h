#pragma once
// The editor's text as assistive technology sees it. Offsets are UTF-16 units of the text
// with its line breaks as they stand; they come from the editor's index, so a screen reader
// costs no count from the start of a large text at each key stroke.

#include <QAccessibleWidget>
#include <functional>

namespace orvel {

class TEditorControl;

class TEditorAccessible : public QAccessibleWidget,
                          public QAccessibleTextInterface,
                          public QAccessibleEditableTextInterface {
public:
    TEditorAccessible(QWidget* text, TEditorControl* editor);

    // Puts this interface in front of the control's own for every editor's text area.
    static void install();
    // Told by the editor; events are made only while someone listens.
    static void beforeChange(TEditorControl* editor, long position, long length, bool insert);
    static void updated(TEditorControl* editor);
    // Where the events go instead of assistive technology (tests listen here); none to
    // give them to the platform while it is active.
    using Listener = std::function<void(QAccessibleEvent*)>;
    static void setListener(Listener listener);

    void* interface_cast(QAccessible::InterfaceType t) override;
    QAccessible::State state() const override;

    // QAccessibleTextInterface
    void selection(int selectionIndex, int* startOffset, int* endOffset) const override;
    int selectionCount() const override;
    void addSelection(int startOffset, int endOffset) override;
    void removeSelection(int selectionIndex) override;
    void setSelection(int selectionIndex, int startOffset, int endOffset) override;
    int cursorPosition() const override;
    void setCursorPosition(int position) override;
    QString text(int startOffset, int endOffset) const override;
    QString textBeforeOffset(int offset, QAccessible::TextBoundaryType boundaryType,
                             int* startOffset, int* endOffset) const override;
    QString textAfterOffset(int offset, QAccessible::TextBoundaryType boundaryType,
                            int* startOffset, int* endOffset) const override;
    QString textAtOffset(int offset, QAccessible::TextBoundaryType boundaryType, int* startOffset,
                         int* endOffset) const override;
    int characterCount() const override;
    QRect characterRect(int offset) const override;
    int offsetAtPoint(const QPoint& point) const override;
    void scrollToSubstring(int startIndex, int endIndex) override;
    QString attributes(int offset, int* startOffset, int* endOffset) const override;

    // QAccessibleEditableTextInterface
    void deleteText(int startOffset, int endOffset) override;
    void insertText(int offset, const QString& text) override;
    void replaceText(int startOffset, int endOffset, const QString& text) override;

private:
    enum class Side { Before, At, After };
    QString around(int offset, QAccessible::TextBoundaryType type, Side side, int* start,
                   int* end) const;
    long position(int offset) const;
    int offset(long position) const;
    long send(unsigned msg, unsigned long w = 0, long l = 0) const;
    void flushInsert();

    TEditorControl* m_editor;
    int m_cursor = -1;     // the caret offset last announced
    long m_pendingAt = -1; // an insertion announced once its text is there
    long m_pendingLength = 0;
};

} // namespace orvel
