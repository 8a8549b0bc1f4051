#pragma once
// The list behind the list-editing dialog: removing, moving and renaming a selection of
// entries, kept apart from the window so that its rules can be checked directly.

#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QStringList>
#include <QVariant>

namespace orvel {

class TEditListModel {
public:
    // objects may be shorter than texts (missing ones are null); index is the entry that
    // starts selected.
    TEditListModel(const QStringList& texts, const QList<QVariant>& objects, int index);

    int count() const { return int(m_entries.size()); }
    QString text(int row) const { return m_entries.value(row).text; }
    QVariant object(int row) const { return m_entries.value(row).object; }
    QStringList texts() const;
    QList<QVariant> objects() const;
    // Objects of the removed entries, for owners that must free them.
    const QList<QVariant>& removedObjects() const { return m_removed; }

    // Selected rows in ascending order; rows out of range are ignored. focus names the row
    // the user acts on when it is one of them.
    QList<int> selection() const;
    void setSelection(const QList<int>& rows, int focus = -1);
    bool isSelected(int row) const { return m_entries.value(row).selected; }
    // The selected row with the focus, else the first selected one, or -1.
    int current() const;

    // Takes the selected entries out and selects the one now at the current position (or
    // the new last one). False when nothing was selected.
    bool removeSelected();
    // Each selected entry moves one place; those already at the end gather there as a block.
    bool moveUp();
    bool moveDown();
    // The row of another entry equal to text (without regard to case), or -1.
    int duplicateOf(int row, const QString& text) const;
    // Replaces the text unless another entry already has it or it is empty.
    bool rename(int row, const QString& text);

    // The index the dialog hands back on OK: with editing allowed the selected position,
    // otherwise where the entry selected at the start is now (-1 when it was removed).
    int resultIndex(bool allowEdit) const;

private:
    struct Entry {
        QString text;
        QVariant object;
        int origin = -1;
        bool selected = false;
        bool focus = false;
    };
    QList<Entry> m_entries;
    QList<QVariant> m_removed;
    int m_startIndex;
};

// Where a window of the given size goes: at pos, moved back onto the screen where it would
// stick out; centred on the screen when a coordinate of pos is negative.
QPoint placeOnScreen(const QPoint& pos, const QSize& size, const QRect& screen);

} // namespace orvel
