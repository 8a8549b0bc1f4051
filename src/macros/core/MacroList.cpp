#include "macros/core/MacroList.h"

#include "base/core/Translate.h"

namespace orvel {

TMacroList::TMacroList(QObject* parent) : QAbstractListModel(parent) {
}

int TMacroList::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : count();
}

QVariant TMacroList::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= count())
        return {};
    const TTextMacro& m = m_macros.at(index.row());
    if (role == Qt::DisplayRole || role == Qt::EditRole)
        return m.name;
    if (role == TextRole)
        return m.text;
    return {};
}

int TMacroList::find(const QString& name) const {
    const QString wanted = cleanName(name);
    for (int i = 0; i < count(); ++i)
        if (m_macros.at(i).name.compare(wanted, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

QStringList TMacroList::names() const {
    QStringList out;
    for (const TTextMacro& m : m_macros)
        out << m.name;
    return out;
}

QString TMacroList::cleanName(const QString& name) {
    QString n = name;
    n.replace(u'\r', u' ').replace(u'\n', u' ');
    return n.trimmed();
}

TResult<int> TMacroList::add(const QString& name, const QString& text) {
    const QString n = cleanName(name);
    if (n.isEmpty())
        return TResult<int>::failure(T_("A text macro needs a description."));
    const int row = count();
    beginInsertRows(QModelIndex(), row, row);
    m_macros.append({n, macroText(text)});
    endInsertRows();
    m_modified = true;
    return row;
}

TStatus TMacroList::rename(int row, const QString& name) {
    const QString n = cleanName(name);
    if (n.isEmpty())
        return TStatus::failure(T_("A text macro needs a description."));
    if (row < 0 || row >= count() || m_macros[row].name == n)
        return {};
    m_macros[row].name = n;
    m_modified = true;
    Q_EMIT dataChanged(index(row), index(row), {Qt::DisplayRole, Qt::EditRole});
    return {};
}

void TMacroList::setText(int row, const QString& text) {
    const QString t = macroText(text);
    if (row < 0 || row >= count() || m_macros[row].text == t)
        return;
    m_macros[row].text = t;
    m_modified = true;
    Q_EMIT dataChanged(index(row), index(row), {TextRole});
}

int TMacroList::remove(int row) {
    if (row < 0 || row >= count())
        return count() - 1;
    beginRemoveRows(QModelIndex(), row, row);
    m_macros.removeAt(row);
    endRemoveRows();
    m_modified = true;
    return qMin(row, count() - 1);
}

bool TMacroList::move(int row, int delta) {
    const int other = row + delta;
    if (delta == 0 || row < 0 || row >= count() || other < 0 || other >= count())
        return false;
    const int first = qMin(row, other);
    // Moving the upper one below the lower one is the swap.
    beginMoveRows(QModelIndex(), first, first, QModelIndex(), first + 2);
    m_macros.swapItemsAt(row, other);
    endMoveRows();
    m_modified = true;
    return true;
}

TStatus TMacroList::load(const QString& fileName) {
    TResult<TMacroFileContent> read = readMacroFile(fileName);
    beginResetModel();
    m_macros = read.ok() ? read.value().macros : QList<TTextMacro>();
    endResetModel();
    m_modified = false;
    m_whole = read.ok() && read.value().whole;
    return read.status();
}

TStatus TMacroList::save(const QString& fileName) {
    if (!m_modified)
        return {};
    TStatus written = writeMacroFile(fileName, m_macros, !m_whole);
    if (written.ok()) {
        m_modified = false;
        m_whole = true;
    }
    return written;
}

} // namespace orvel
