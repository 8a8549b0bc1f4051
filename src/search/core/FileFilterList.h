#pragma once
// The rows of a file dialog's filter ("Description|pattern|Description|pattern") as the
// file-filter editor edits them.

#include <QList>
#include <QString>

namespace orvel {

struct TFilterRow {
    QString description;
    QString pattern;
    friend bool operator==(const TFilterRow&, const TFilterRow&) = default;
};

class TFileFilterList {
public:
    static constexpr int kMaxRows = 14;

    // Splits at "|" into pairs; a description without pattern gets "*.*"; at most kMaxRows.
    explicit TFileFilterList(const QString& filter = QString());

    const QList<TFilterRow>& rows() const { return m_rows; }
    int count() const { return int(m_rows.size()); }
    bool isFull() const { return count() >= kMaxRows; }

    // Each returns the row that is current afterwards. Rows out of range change nothing.
    int add(int current, const TFilterRow& row);     // inserted at current
    int replace(int current, const TFilterRow& row); // overwrites current
    int remove(int current);
    int moveUp(int current);
    int moveDown(int current);
    // Enter in the pattern field: overwrites the current row when it lies above the last
    // row or the list is full, else appends the row.
    int enter(int current, const TFilterRow& row);

    // Every row as "Description (pattern)|pattern", the pattern left out of the description
    // when it already holds "(", joined with "|".
    QString filter() const;

private:
    bool valid(int row) const { return row >= 0 && row < count(); }
    QList<TFilterRow> m_rows;
};

} // namespace orvel
