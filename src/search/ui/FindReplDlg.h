#pragma once
// The one find and replace dialog of the application: modeless, above the main window, with
// its histories, options and place kept between uses and across runs.

#include "search/core/FindReplLogic.h"

#include <QDialog>
#include <QStringList>
#include <functional>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;

namespace orvel {

class IDialogs;
class TUnicodeIniFile;

class TFindReplDialog : public QDialog {
    Q_OBJECT
public:
    // dialogs reports a settings file that cannot be written; it must outlive the dialog.
    explicit TFindReplDialog(QWidget* parent = nullptr, IDialogs* dialogs = nullptr);

    QString FindText() const;
    // Also enables the buttons for a text and disables them without one.
    void setFindText(const QString& text);
    QString ReplaceText() const;
    void setReplaceText(const QString& text);
    TSearchOptions Options() const { return fOptions.options(); }
    void setOptions(TSearchOptions options);

    // Called with the dialog by "&Search" / "&Continue" and by "&Replace" / "Replace &all";
    // the document window that opened the dialog (or was activated since) sets them.
    std::function<void(TFindReplDialog* sender)> OnFind;
    std::function<void(TFindReplDialog* sender)> OnReplace;

    // Opens the dialog in replace or find mode (or brings it to the front); always true.
    bool Execute(bool AReplace);
    bool replaceMode() const { return fOptions.replaceMode(); }
    bool repeating() const { return fOptions.repeat(); }

    const QStringList& findHistory() const { return m_findHistory; }
    const QStringList& replaceHistory() const { return m_replaceHistory; }

    // Histories, place and "Keep this window opened" from the settings file, which is also
    // where SaveToIni writes.
    void LoadFromIni(const QString& iniName);
    // Writes "Find", "Replace" and "FindReplaceDialog" and leaves the rest of the file alone.
    // A write failure is reported through the dialogs given at creation: false then.
    bool SaveToIni();
    // The same sections into a settings file the owner writes itself (and reports on): the
    // dialog then does not save again as it goes.
    void SaveToIni(TUnicodeIniFile& ini);

protected:
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    // "Close" and Esc.
    void reject() override;

private:
    void buildControls();
    void updateButtons();
    void optionsToControls();
    void addHistory(QStringList& list, QComboBox* box, const QString& text);
    void searchClicked();
    void continueClicked();
    void replaceAllClicked();
    void afterButton(bool mayClose);

    TFindReplOptions fOptions;
    QString fIniFileName;
    IDialogs* m_dialogs;
    QStringList m_findHistory;
    QStringList m_replaceHistory;
    // The place read from the settings file, written back where the display server does not
    // tell windows where they are; m_placed once there is a place worth writing.
    QPoint m_storedPos;
    bool m_hasStoredPos = false;
    bool m_placed = false;

    QLabel* lblSearch = nullptr;
    QComboBox* cbxSearch = nullptr;
    QWidget* rowReplace = nullptr;
    QComboBox* cbxReplace = nullptr;
    QCheckBox* cbConfirm = nullptr;
    QCheckBox* cbCase = nullptr;
    QCheckBox* cbWord = nullptr;
    QButtonGroup* rgpRange = nullptr;
    QButtonGroup* rgpDirection = nullptr;
    QButtonGroup* rgpStart = nullptr;
    QCheckBox* cbAutoclose = nullptr;
    QPushButton* btnSearch = nullptr;
    QPushButton* btnRepeat = nullptr;
    QPushButton* btnReplAll = nullptr;
    QPushButton* CancelBtn = nullptr;
};

} // namespace orvel
