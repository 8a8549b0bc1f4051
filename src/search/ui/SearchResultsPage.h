#pragma once
// The page "Search results": the tree of the files and hits of the last search in files,
// with the hits drawn marked, and opening a hit in a document window.

#include <QStyledItemDelegate>
#include <QWidget>

class QAction;
class QPushButton;
class QTreeView;

namespace orvel {

class ISearchHost;
class TSearchResultsModel;

// Draws file rows bold and hit rows in three parts: the text around the hit in blue (yellow
// when selected), the hit in red.
class TResultItemDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;
};

class TSearchResultsPage : public QWidget {
    Q_OBJECT
public:
    explicit TSearchResultsPage(ISearchHost& host, QWidget* parent = nullptr);

    TSearchResultsModel* model() const { return m_model; }
    QTreeView* tree() const { return m_tree; }

    // The commands of the three buttons, which run them from now on.
    void setActions(QAction* expand, QAction* collapse, QAction* open);

    // Files are shown opened while the tree holds at most this many hits.
    static constexpr int kExpandedHits = 1000;

public Q_SLOTS:
    void btnOpenTreeClick();  // expands the whole tree
    void btnCloseTreeClick(); // collapses it
    // Opens the selected result: a hit selected in its file, a file at its start.
    void btnOpenClick();

private:
    void open(const QModelIndex& index);
    void filesAdded(int first, int last);

    ISearchHost& m_host;
    TSearchResultsModel* m_model;
    QTreeView* m_tree;
};

} // namespace orvel
