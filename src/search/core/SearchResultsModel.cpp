#include "search/core/SearchResultsModel.h"

namespace orvel {

// A file row has internal id 0; a hit row the number of its file row plus one.

TSearchResultsModel::TSearchResultsModel(QObject* parent) : QAbstractItemModel(parent) {
}

void TSearchResultsModel::append(QList<TTextInfo> files) {
    if (files.isEmpty())
        return;
    beginInsertRows({}, int(m_files.size()), int(m_files.size() + files.size() - 1));
    for (TTextInfo& f : files) {
        m_hits += f.FLines.size();
        m_files << std::move(f);
    }
    endInsertRows();
}

void TSearchResultsModel::clear() {
    beginResetModel();
    m_files.clear();
    m_hits = 0;
    endResetModel();
}

bool TSearchResultsModel::isFile(const QModelIndex& index) const {
    return index.isValid() && index.internalId() == 0;
}

QString TSearchResultsModel::fileName(const QModelIndex& index) const {
    if (!index.isValid())
        return QString();
    const qsizetype row = isFile(index) ? index.row() : qsizetype(index.internalId() - 1);
    return m_files.at(row).FText;
}

TTextBlockPos TSearchResultsModel::blockPos(const QModelIndex& index) const {
    if (!index.isValid() || isFile(index))
        return TTextBlockPos{};
    return m_files.at(qsizetype(index.internalId() - 1)).FLines.at(index.row()).pos;
}

QModelIndex TSearchResultsModel::index(int row, int column, const QModelIndex& parent) const {
    if (column != 0 || row < 0)
        return {};
    if (!parent.isValid())
        return row < m_files.size() ? createIndex(row, 0, quintptr(0)) : QModelIndex();
    if (!isFile(parent) || row >= m_files.at(parent.row()).FLines.size())
        return {};
    return createIndex(row, 0, quintptr(parent.row() + 1));
}

QModelIndex TSearchResultsModel::parent(const QModelIndex& child) const {
    if (!child.isValid() || isFile(child))
        return {};
    return createIndex(int(child.internalId() - 1), 0, quintptr(0));
}

int TSearchResultsModel::rowCount(const QModelIndex& parent) const {
    if (!parent.isValid())
        return int(m_files.size());
    return isFile(parent) ? int(m_files.at(parent.row()).FLines.size()) : 0;
}

int TSearchResultsModel::columnCount(const QModelIndex&) const {
    return 1;
}

bool TSearchResultsModel::hasChildren(const QModelIndex& parent) const {
    return rowCount(parent) > 0;
}

Qt::ItemFlags TSearchResultsModel::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    // Telling the view that hits have no children spares it asking, row by row.
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable |
           (isFile(index) ? Qt::NoItemFlags : Qt::ItemNeverHasChildren);
}

QVariant TSearchResultsModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid())
        return {};
    if (isFile(index)) {
        const TTextInfo& f = m_files.at(index.row());
        switch (role) {
        case Qt::DisplayRole:
        case Qt::ToolTipRole:
        case PlainTextRole:
            return f.FText;
        case MarkStartRole:
            return -1;
        case IsFileRole:
            return true;
        default:
            return {};
        }
    }
    const TTextInfo& file = m_files.at(qsizetype(index.internalId() - 1));
    switch (role) {
    case Qt::DisplayRole:
        return file.markedLine(index.row());
    case PlainTextRole:
        return file.shownLine(index.row());
    case MarkStartRole: {
        int mark = -1;
        file.shownLine(index.row(), &mark);
        return mark;
    }
    case MarkLengthRole: {
        int length = 0;
        file.shownLine(index.row(), nullptr, &length);
        return length;
    }
    case IsFileRole:
        return false;
    default:
        return {};
    }
}

} // namespace orvel
