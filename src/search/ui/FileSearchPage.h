#pragma once
// The page "Search in files" of the main window's left panel: what to search for and what to
// replace it by, the options, the scope, and the run with its progress and messages.

#include "search/core/SearchScope.h"

#include <QWidget>

class QAction;
class QCheckBox;
class QLabel;
class QListWidget;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QToolButton;

namespace orvel {

class IDialogs;
class ISearchDialogs;
class ISearchHost;
class TFileSearchRun;
class THistoryCombo;
class TSearchResultsModel;

class TFileSearchPage : public QWidget {
    Q_OBJECT
public:
    TFileSearchPage(ISearchHost& host, IDialogs& dialogs, ISearchDialogs& searchDialogs,
                    TSearchResultsModel& results, QWidget* parent = nullptr);
    ~TFileSearchPage() override;

    // The commands of the buttons "Start search" and "Cancel": the buttons run them and
    // follow their enabled state, which the page keeps.
    void setActions(QAction* start, QAction* cancel);
    // "Replace by:", kept in the settings (section "FileSearch", key "FileReplace").
    bool replaceChecked() const;
    void setReplaceChecked(bool on);

    // Called whenever documents open or close and when a project is activated.
    void refreshScope();
    // The page came to the front: the folder box takes the project's root, the scope is
    // refreshed, the boxes show their latest entries.
    void pageShown();

    TFileSearchScope scope() const;
    TFileSearchRun* run() const { return m_run; }
    // Threads the search uses (0: one for each processor).
    void setThreads(int threads) { m_threads = threads; }

    THistoryCombo* hcSearch = nullptr;
    QCheckBox* cbReplace = nullptr;
    THistoryCombo* hcReplace = nullptr;
    QCheckBox* cbConfirm = nullptr;
    QCheckBox* cbWord = nullptr;
    QCheckBox* cbCase = nullptr;
    THistoryCombo* hcSearchTypes = nullptr;
    QRadioButton* rbSearchOpen = nullptr;
    QRadioButton* rbSearchProject = nullptr;
    QRadioButton* rbSearchFolder = nullptr;
    THistoryCombo* hcSearchDir = nullptr;
    QToolButton* btnSearchDir = nullptr;
    QCheckBox* cbSearchSubDir = nullptr;
    QPushButton* btnStartSearch = nullptr;
    QPushButton* btnCancel = nullptr;
    QProgressBar* pbSearch = nullptr;
    QLabel* lblSearchStatus = nullptr;
    QListWidget* lbMessages = nullptr;

public Q_SLOTS:
    void btnStartSearchClick();
    void btnCancelClick();
    void btnSearchDirClick();
    void cbReplaceClick();

Q_SIGNALS:
    // A search began (the results page should come to the front) and ended.
    void searchStarted();
    void searchFinished();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    TScopeFacts facts() const;
    void applyScope(const TScopeState& state);
    void scopeClicked(TFileSearchScope scope);
    void setStatus(const QString& text);
    void searchEnded();
    void setRunning(bool running);

    ISearchHost& m_host;
    IDialogs& m_dialogs;
    TFileSearchRun* m_run;
    QAction* m_startAction = nullptr;
    QAction* m_cancelAction = nullptr;
    int m_threads = 0;
};

} // namespace orvel
