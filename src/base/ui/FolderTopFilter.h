#pragma once
// The folder tree's filter over a file system model.

#include <QFileInfo>
#include <QFileSystemModel>
#include <QSortFilterProxyModel>

namespace orvel {

// Shows only the top folder at the level of its parent, so that the tree's top node is the
// place itself; an empty parent shows everything (Computer).
class TFolderTopFilter : public QSortFilterProxyModel {
public:
    using QSortFilterProxyModel::QSortFilterProxyModel;

    void setTop(const QString& top) {
        const QString parent = top == u'/' ? QString() : QFileInfo(top).path();
        const QString name = QFileInfo(top).fileName();
        if (parent == m_parent && name == m_name)
            return;
        m_parent = parent;
        m_name = name;
        invalidateFilter();
    }
    const QString& topParent() const { return m_parent; }

protected:
    bool filterAcceptsRow(int row, const QModelIndex& parent) const override {
        if (m_parent.isEmpty())
            return true;
        const auto* fs = static_cast<const QFileSystemModel*>(sourceModel());
        if (fs->filePath(parent) != m_parent)
            return true;
        return fs->fileName(fs->index(row, 0, parent)) == m_name;
    }

private:
    QString m_parent;
    QString m_name;
};

} // namespace orvel
