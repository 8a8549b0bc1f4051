#pragma once
// The text macros in their order, as a list model: the panel shows it, the commands change
// it, and the file is rewritten only when it changed.

#include "base/core/Result.h"
#include "macros/core/MacroFile.h"

#include <QAbstractListModel>

namespace orvel {

class TMacroList : public QAbstractListModel {
    Q_OBJECT
public:
    enum Roles { TextRole = Qt::UserRole + 1 };

    explicit TMacroList(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;

    const QList<TTextMacro>& macros() const { return m_macros; }
    int count() const { return int(m_macros.size()); }
    const TTextMacro& at(int row) const { return m_macros.at(row); }
    // The row of a name, compared without regard to case; -1 when none has it.
    int find(const QString& name) const;
    QStringList names() const;

    // A new macro at the end; its row, or why there is none (a blank name).
    TResult<int> add(const QString& name, const QString& text);
    // The name trimmed; a blank one is refused, for it would not survive the file.
    TStatus rename(int row, const QString& name);
    void setText(int row, const QString& text);
    // Removes a macro; the row to select next (the same place, or the last), -1 when none
    // is left.
    int remove(int row);
    // Swaps a macro with its neighbour above (delta -1) or below (+1); false at the ends.
    bool move(int row, int delta);

    // Replaces the list by the file's macros; a missing file gives an empty list.
    TStatus load(const QString& fileName);
    // Writes the file when the list changed since it was loaded or saved. A file that was
    // not read whole is kept beside the new one first.
    TStatus save(const QString& fileName);
    bool isModified() const { return m_modified; }

private:
    static QString cleanName(const QString& name);

    QList<TTextMacro> m_macros;
    bool m_modified = false;
    bool m_whole = true; // the file on disk holds nothing the list lacks
};

} // namespace orvel
