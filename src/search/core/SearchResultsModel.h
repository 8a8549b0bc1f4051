#pragma once
// The results of a search in files as a tree model: one row per file, in the order the
// files came, under it one row per hit in the order of the text.

#include "textcontrol/core/TextInfo.h"

#include <QAbstractItemModel>
#include <QList>

namespace orvel {

class TSearchResultsModel : public QAbstractItemModel {
    Q_OBJECT
public:
    enum TRole {
        MarkStartRole = Qt::UserRole + 1, // the hit within PlainTextRole's text; -1: none
        MarkLengthRole,
        PlainTextRole, // the text without the "|" marks
        IsFileRole,
    };

    explicit TSearchResultsModel(QObject* parent = nullptr);

    // Adds files with their hits at the end, in one insertion.
    void append(QList<TTextInfo> files);
    void clear();

    qsizetype fileCount() const { return m_files.size(); }
    qsizetype hitCount() const { return m_hits; }
    const TTextInfo& file(qsizetype row) const { return m_files.at(row); }

    bool isFile(const QModelIndex& index) const;
    // The file a row belongs to, and what to select for it: the hit, or the file's start.
    QString fileName(const QModelIndex& index) const;
    TTextBlockPos blockPos(const QModelIndex& index) const;

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    bool hasChildren(const QModelIndex& parent = {}) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

private:
    QList<TTextInfo> m_files;
    qsizetype m_hits = 0;
};

} // namespace orvel
