#pragma once
// The transfer dialog: which files a publishing run sends (the current file, the project
// files of its folder, all project files, the files of a chosen folder, the changed files),
// whether it deletes at the destination what is gone here, "Overwrite all", and "Show what
// would be done" for a run that only lists.

#include "projects/core/TransferDialogs.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace orvel {

class IDialogs;
class THistoryCombo;
class TUnicodeIniFile;

class TTransferDialog : public QDialog {
    Q_OBJECT
public:
    // dialogs chooses folders and tells errors; it must outlive the dialog.
    TTransferDialog(QWidget* parent, IDialogs& dialogs);

    // The filter history from the settings file (section "TransferFilter").
    void LoadFromIni(const TUnicodeIniFile& ini);
    void SaveToIni(TUnicodeIniFile& ini);

    // Shown at pos (kept on the screen): true on "Start" or "Show what would be done".
    bool Execute(QPoint pos, TTransferChoice& choice);

    // Execute in two halves, for tests that run the dialog themselves.
    void setup(const TTransferChoice& choice);
    // The choice as the dialog shows it; false (with the error told) when the chosen folder
    // does not exist.
    bool take(TTransferChoice& choice, bool dryRun);

    QRadioButton* rbCurrentFile() const { return m_current; }
    QRadioButton* rbCurrentDir() const { return m_currentDir; }
    QRadioButton* rbAllFiles() const { return m_all; }
    QRadioButton* rbChosenDir() const { return m_chosen; }
    QRadioButton* rbChanged() const { return m_changed; }
    QComboBox* cbDirectory() const { return m_dirs; }
    THistoryCombo* cbFilter() const { return m_filter; }
    QCheckBox* cbSubDirs() const { return m_subDirs; }
    QCheckBox* cbSync() const { return m_sync; }
    QCheckBox* cbOverwrite() const { return m_overwrite; }
    QPushButton* btnStart() const { return m_start; }
    QPushButton* btnDryRun() const { return m_dryRun; }
    QPushButton* btnBrowse() const { return m_browse; }

    void btnBrowseClick();

private:
    void updateStates();
    void onSelection();
    void finish(bool dryRun);
    QString folderText() const;

    IDialogs& m_dialogs;
    QLabel* m_server;
    QLabel* m_serverValue;
    QLabel* m_dirLabel;
    QLabel* m_dirValue;
    QRadioButton* m_current;
    QLabel* m_currentName;
    QRadioButton* m_currentDir;
    QLabel* m_currentDirName;
    QRadioButton* m_all;
    QRadioButton* m_chosen;
    QComboBox* m_dirs;
    QPushButton* m_browse;
    THistoryCombo* m_filter;
    QCheckBox* m_subDirs;
    QRadioButton* m_changed;
    QCheckBox* m_sync;
    QCheckBox* m_overwrite;
    QPushButton* m_start;
    QPushButton* m_dryRun;
    QString m_root;
    TTransferChoice m_result;
};

} // namespace orvel
