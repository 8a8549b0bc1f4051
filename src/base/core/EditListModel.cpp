#include "base/core/EditListModel.h"

#include <algorithm>
#include <utility>

namespace orvel {

TEditListModel::TEditListModel(const QStringList& texts, const QList<QVariant>& objects, int index)
    : m_startIndex(index) {
    m_entries.reserve(texts.size());
    for (int i = 0; i < texts.size(); ++i)
        m_entries.append({texts.at(i), objects.value(i), i, i == index, i == index});
}

QStringList TEditListModel::texts() const {
    QStringList out;
    out.reserve(m_entries.size());
    for (const Entry& e : m_entries)
        out.append(e.text);
    return out;
}

QList<QVariant> TEditListModel::objects() const {
    QList<QVariant> out;
    out.reserve(m_entries.size());
    for (const Entry& e : m_entries)
        out.append(e.object);
    return out;
}

QList<int> TEditListModel::selection() const {
    QList<int> rows;
    for (int i = 0; i < m_entries.size(); ++i)
        if (m_entries.at(i).selected)
            rows.append(i);
    return rows;
}

void TEditListModel::setSelection(const QList<int>& rows, int focus) {
    for (Entry& e : m_entries)
        e.selected = e.focus = false;
    for (int r : rows)
        if (r >= 0 && r < m_entries.size())
            m_entries[r].selected = true;
    if (focus >= 0 && focus < m_entries.size())
        m_entries[focus].focus = true;
}

int TEditListModel::current() const {
    int first = -1;
    for (int i = 0; i < m_entries.size(); ++i) {
        const Entry& e = m_entries.at(i);
        if (e.selected && e.focus)
            return i;
        if (e.selected && first < 0)
            first = i;
    }
    return first;
}

bool TEditListModel::removeSelected() {
    const int first = current();
    if (first < 0)
        return false;
    for (int i = int(m_entries.size()) - 1; i >= 0; --i)
        if (m_entries.at(i).selected) {
            m_removed.append(m_entries.at(i).object);
            m_entries.removeAt(i);
        }
    if (!m_entries.isEmpty()) {
        for (Entry& e : m_entries)
            e.focus = false;
        Entry& next = m_entries[std::min(first, int(m_entries.size()) - 1)];
        next.selected = next.focus = true;
    }
    return true;
}

bool TEditListModel::moveUp() {
    bool moved = false;
    for (int i = 1; i < m_entries.size(); ++i)
        if (m_entries.at(i).selected && !m_entries.at(i - 1).selected) {
            m_entries.swapItemsAt(i, i - 1);
            moved = true;
        }
    return moved;
}

bool TEditListModel::moveDown() {
    bool moved = false;
    for (int i = int(m_entries.size()) - 2; i >= 0; --i)
        if (m_entries.at(i).selected && !m_entries.at(i + 1).selected) {
            m_entries.swapItemsAt(i, i + 1);
            moved = true;
        }
    return moved;
}

int TEditListModel::duplicateOf(int row, const QString& text) const {
    for (int i = 0; i < m_entries.size(); ++i)
        if (i != row && m_entries.at(i).text.compare(text, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

bool TEditListModel::rename(int row, const QString& text) {
    if (row < 0 || row >= m_entries.size() || text.isEmpty() || duplicateOf(row, text) >= 0)
        return false;
    m_entries[row].text = text;
    return true;
}

int TEditListModel::resultIndex(bool allowEdit) const {
    if (allowEdit)
        return current();
    if (m_startIndex < 0)
        return -1;
    for (int i = 0; i < m_entries.size(); ++i)
        if (m_entries.at(i).origin == m_startIndex)
            return i;
    return -1;
}

QPoint placeOnScreen(const QPoint& pos, const QSize& size, const QRect& screen) {
    if (pos.x() < 0 || pos.y() < 0)
        return {screen.x() + (screen.width() - size.width()) / 2,
                screen.y() + (screen.height() - size.height()) / 2};
    // Kept on screen; a window larger than the screen shows its top left corner.
    const int x = std::max(screen.left(), std::min(pos.x(), screen.right() + 1 - size.width()));
    const int y = std::max(screen.top(), std::min(pos.y(), screen.bottom() + 1 - size.height()));
    return {x, y};
}

} // namespace orvel
