#pragma once
// The one folder selection dialog: a folder tree with an optional file pane, recent folders,
// root places, a default folder, and creating and deleting folders.

#include "base/core/ShellDirLogic.h"

#include <QDialog>
#include <QList>
#include <QString>

class QAction;
class QCheckBox;
class QComboBox;
class QDialogButtonBox;
class QFileSystemModel;
class QLabel;
class QListView;
class QMenu;
class QModelIndex;
class QSplitter;
class QTimer;
class QToolButton;
class QTreeView;

namespace orvel {

class IDialogs;
class TFolderTopFilter;

class TShellDirDialog : public QDialog {
    Q_OBJECT
public:
    TShellDirDialog(QWidget* parent, IDialogs& dialogs);
    ~TShellDirDialog() override;

    // Remembers where the settings live and reads them; called at first use.
    void LoadFromIni(const QString& iniFileName,
                     const QString& section = QStringLiteral("RecentFolders"));

    // path is the starting folder and, on OK, the chosen folder with a trailing "/". Archives
    // are plain files on this system: the tree never opens them, so archives changes nothing.
    bool Execute(const QString& title, bool showHidden, QString& path, const QString& defaultDir,
                 bool archives, bool files);

    // Execute in two halves, for callers and tests that run the dialog themselves. finish
    // writes the settings section; a write failure is reported, never thrown.
    void setup(const QString& title, bool showHidden, const QString& path,
               const QString& defaultDir, bool files);
    bool finish(bool accepted, QString& path);

    // Fixed places instead of the system's (tests); otherwise they are read at each setup.
    void setPlaces(const TShellPlaces& places);
    // The program's file-size units for the free space: decimal (kB) or binary (KiB).
    void setDecimalFileSizes(bool on) { m_decimalSizes = on; }
    void setDeleteOps(const TDeleteOps& ops) { m_deleteOps = ops; }

    TShellDirSettings& settings() { return m_settings; }
    const TShellView& view() const { return m_view; }
    // The folder selected in the tree; empty when none is.
    QString treeFolder() const;
    QString directoryText() const;
    bool okEnabled() const;

    void showRoot(TShellRoot root, const QString& top = QString());
    void folderUp();
    void goToDefaultFolder();
    void createFolder();
    void deleteFolder();
    void refresh();

    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QFileSystemModel* newDirModel();
    void applyView(const TShellView& view);
    void selectInTree(const QString& folder);
    void keepInView();
    void currentChanged(const QModelIndex& index);
    void directoryEdited(const QString& text);
    void setDirectoryText(const QString& folder);
    void showFolder(const QString& folder);
    void fillDirectoryBox();
    void updateOk();
    void updateRootButtons();
    void showFiles(bool on);
    void setPaneWidths(int dirWidth, int fileWidth);
    void contextMenu(const QPoint& pos);
    void placeWindow();
    void storeLayout();

    IDialogs& m_dialogs;
    TShellDirSettings m_settings;
    TShellPlaces m_places;
    bool m_fixedPlaces = false;
    bool m_decimalSizes = true;
    bool m_showHidden = false;
    bool m_filesOffered = false;
    bool m_typing = false; // the tree follows "Directory:", not the other way round
    bool m_applySizes = false;
    TDeleteOps m_deleteOps;
    QString m_iniFileName;
    QString m_iniSection;
    QString m_defaultDir;
    QString m_pendingFolder; // to select once the tree has loaded it
    QString m_scrollFolder;  // kept in view while the tree loads, until the user takes over
    TShellView m_view;
    QList<int> m_wantedSizes; // pane widths waiting for the window to reach its new width

    QFileSystemModel* m_dirModel = nullptr;
    QFileSystemModel* m_fileModel = nullptr;
    TFolderTopFilter* m_filter = nullptr;
    QToolButton* m_networkButton;
    QToolButton* m_computerButton;
    QToolButton* m_desktopButton;
    QToolButton* m_documentsButton;
    QToolButton* m_upButton;
    QToolButton* m_defaultButton;
    QToolButton* m_newFolderButton;
    QMenu* m_networkMenu;
    QMenu* m_computerMenu;
    QSplitter* m_splitter;
    QTreeView* m_tree;
    QListView* m_fileList;
    QComboBox* m_directoryBox;
    QLabel* m_spaceLabel;
    QCheckBox* m_showFilesBox;
    QDialogButtonBox* m_buttons;
    QAction* m_createAction;
    QAction* m_deleteAction;
    QAction* m_updateAction;
    QTimer* m_scrollTimer;
};

} // namespace orvel
