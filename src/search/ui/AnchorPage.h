#pragma once
// The page "Local anchors" of the main window's left panel: the anchors of the active file,
// the open files or the project's HTML files as a tree, opening one in its document, and the
// list written to a text file.

#include "search/core/AnchorSearch.h"

#include <QWidget>

class QGroupBox;
class QLabel;
class QModelIndex;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QStandardItemModel;
class QToolButton;
class QTreeView;

namespace orvel {

class IAnchorHost;
class IDialogs;
class ISearchHost;

class TAnchorPage : public QWidget {
    Q_OBJECT
public:
    TAnchorPage(ISearchHost& host, IAnchorHost& anchorHost, IDialogs& dialogs,
                QWidget* parent = nullptr);

    TAnchorScope scope() const;
    void setScope(TAnchorScope scope);
    // 0: by lines, 1: alphabetical.
    int sortOrder() const;
    void setSortOrder(int order);

    // The files with anchors of the last search, as the tree shows them.
    const QList<TAnchorFile>& files() const { return m_files; }
    QStandardItemModel* model() const { return m_model; }

    QGroupBox* gbSearchAnchors = nullptr;
    QRadioButton* rbAnchorCurrent = nullptr;
    QRadioButton* rbAnchorOpen = nullptr;
    QRadioButton* rbAnchorProject = nullptr;
    QGroupBox* rbAnchorSort = nullptr;
    QRadioButton* rbSortByLines = nullptr;
    QRadioButton* rbSortAlphabetical = nullptr;
    QTreeView* tvAnchors = nullptr;
    QPushButton* btnAnchorSearch = nullptr;
    QToolButton* btnAnchorExport = nullptr;
    QProgressBar* pbAnchor = nullptr;
    QLabel* lblAnchorStatus = nullptr;

    // Item data of the tree.
    enum TRole {
        FileNameRole = Qt::UserRole + 100, // the file's absolute name (file and anchor rows)
        BeginRole,                         // the anchor's range (QPoint: column, line)
        EndRole,
    };

public Q_SLOTS:
    void btnAnchorSearchClick();
    void btnAnchorExportClick();
    void tvAnchorsDblClick(const QModelIndex& index);

Q_SIGNALS:
    void searchFinished();

private:
    void addFile(const TAnchorFile& file);
    void setRunning(bool running);

    ISearchHost& m_host;
    IAnchorHost& m_anchorHost;
    IDialogs& m_dialogs;
    QStandardItemModel* m_model;
    QList<TAnchorFile> m_files;
    bool m_running = false;
};

} // namespace orvel
