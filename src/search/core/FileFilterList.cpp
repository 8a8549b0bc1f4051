#include "search/core/FileFilterList.h"

#include <QStringList>

namespace orvel {

TFileFilterList::TFileFilterList(const QString& filter) {
    if (filter.isEmpty())
        return;
    const QStringList parts = filter.split(QLatin1Char('|'));
    for (qsizetype i = 0; i < parts.size() && !isFull(); i += 2) {
        TFilterRow row{parts[i], i + 1 < parts.size() ? parts[i + 1] : QString()};
        if (row.pattern.isEmpty())
            row.pattern = QStringLiteral("*.*");
        m_rows.append(row);
    }
}

int TFileFilterList::add(int current, const TFilterRow& row) {
    if (isFull())
        return current;
    const int at = qBound(0, current, count());
    m_rows.insert(at, row);
    return at;
}

int TFileFilterList::replace(int current, const TFilterRow& row) {
    if (valid(current))
        m_rows[current] = row;
    else if (current == count() && !isFull())
        m_rows.append(row); // the first empty row of the grid
    return current;
}

int TFileFilterList::remove(int current) {
    if (!valid(current))
        return current;
    m_rows.removeAt(current);
    return qMax(0, qMin(current, count() - 1));
}

int TFileFilterList::moveUp(int current) {
    if (!valid(current) || current == 0)
        return current;
    m_rows.swapItemsAt(current, current - 1);
    return current - 1;
}

int TFileFilterList::moveDown(int current) {
    if (!valid(current) || current + 1 >= count())
        return current;
    m_rows.swapItemsAt(current, current + 1);
    return current + 1;
}

int TFileFilterList::enter(int current, const TFilterRow& row) {
    if (valid(current) && (current < count() - 1 || isFull()))
        return replace(current, row);
    if (isFull())
        return current;
    m_rows.append(row);
    return count() - 1;
}

QString TFileFilterList::filter() const {
    QStringList parts;
    for (const TFilterRow& row : m_rows) {
        QString description = row.description;
        if (!description.contains(QLatin1Char('(')))
            description += QStringLiteral(" (") + row.pattern + QLatin1Char(')');
        parts << description << row.pattern;
    }
    return parts.join(QLatin1Char('|'));
}

} // namespace orvel
