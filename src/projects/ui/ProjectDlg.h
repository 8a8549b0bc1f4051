#pragma once
// The settings of one project: name, root, file types, language, encoding and how the site
// is published (not at all, to a folder, or by FTP).

#include "projects/core/ProjectDialogs.h"
#include "projects/core/ProjectInfo.h"

#include <QDialog>
#include <QList>
#include <QPoint>
#include <functional>
#include <memory>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QTabWidget;
class QToolButton;

namespace orvel {

class IDialogs;
class THistoryCombo;
class TUnicodeIniFile;

class TProjectDialog : public QDialog {
    Q_OBJECT
public:
    // Edits the proxy settings of the project in place; true on OK.
    using ProxyEditor = std::function<bool(TFtpProxyParams& params)>;

    explicit TProjectDialog(QWidget* parent = nullptr);
    ~TProjectDialog() override;

    // Edits project in place and returns true on OK. pos is the top left corner (kept on the
    // screen; centred when a coordinate is negative); defaultRoot fills an empty root.
    bool Execute(QPoint pos, const QString& caption, TProjectInfo& project, bool tlsAvailable,
                 const QList<TLanguageName>& languages, const QString& defaultRoot);

    // Execute in two halves, for callers (and tests) that run the dialog themselves. project
    // must outlive the run: the proxy settings are edited on it directly.
    void setup(QPoint pos, const QString& caption, TProjectInfo& project, bool tlsAvailable,
               const QList<TLanguageName>& languages, const QString& defaultRoot);
    // On OK the fields go into project (Changed is set); returns accepted.
    bool finish(bool accepted, TProjectInfo& project);

    // The history boxes' lists from the settings file; they are written back to it when the
    // dialog goes.
    void LoadFromIni(const QString& iniName);
    // The same lists into a settings file the owner writes itself.
    void SaveToIni(TUnicodeIniFile& ini);

    // Folder choice for the browse buttons; the desktop's when not set.
    void setDialogs(IDialogs* dialogs) { m_dialogs = dialogs; }
    // Replaces the proxy dialog (tests answer without a window).
    void setProxyEditor(ProxyEditor editor) { m_proxyEditor = std::move(editor); }

    QLineEdit* nameBox() const { return m_name; }
    QLineEdit* rootBox() const { return m_root; }
    QToolButton* rootBrowseButton() const { return m_rootBrowse; }
    QComboBox* caseBox() const { return m_case; }
    QComboBox* languageBox() const { return m_language; }
    QCheckBox* reloadBox() const { return m_reload; }
    QLineEdit* textTypesBox() const { return m_textTypes; }
    QLineEdit* binTypesBox() const { return m_binTypes; }
    QWidget* fileTypesRow() const { return m_typesRow; }
    QComboBox* transferBox() const { return m_transfer; }
    QTabWidget* serverPages() const { return m_pages; }
    THistoryCombo* shareBox() const { return m_share; }
    QToolButton* shareBrowseButton() const { return m_shareBrowse; }
    THistoryCombo* serverBox() const { return m_server; }
    QSpinBox* portBox() const { return m_port; }
    THistoryCombo* userBox() const { return m_user; }
    QLineEdit* passwordBox() const { return m_password; }
    QToolButton* showPasswordButton() const { return m_showPwd; }
    THistoryCombo* remoteDirBox() const { return m_remoteDir; }
    QCheckBox* passiveBox() const { return m_passive; }
    QComboBox* tlsBox() const { return m_tls; }
    QCheckBox* proxyBox() const { return m_proxy; }
    QCheckBox* protocolLogBox() const { return m_protocolLog; }
    QComboBox* encodingBox() const { return m_encoding; }
    QCheckBox* bomBox() const { return m_bom; }
    QPushButton* okButton() const { return m_ok; }
    QPushButton* cancelButton() const { return m_cancel; }

private:
    QWidget* buildDirectPage();
    QWidget* buildFtpPage();
    void fillDirectPage();
    void fillFtpPage();
    void transferChosen(int mode);
    void pageChosen(int page);
    // Shows the rows that belong to the mode; the dialog shrinks or grows with them.
    void showTransferRows(int mode);
    // The byte order mark box follows the encoding; keepCheck leaves its check for UTF-8.
    void applyBomRule(bool keepCheck);
    void proxyToggled(bool on);
    // The folder chosen from the one typed, empty when cancelled.
    QString browse(const QString& typed);
    void place(QPoint pos);
    IDialogs* dialogs();

    TProjectInfo* m_project = nullptr;
    QString m_defaultRoot;
    IDialogs* m_dialogs = nullptr;
    std::unique_ptr<IDialogs> m_ownDialogs;
    ProxyEditor m_proxyEditor;
    bool m_filling = false;

    QLineEdit* m_name;
    QLineEdit* m_root;
    QToolButton* m_rootBrowse;
    QComboBox* m_case;
    QComboBox* m_language;
    QCheckBox* m_reload;
    QWidget* m_typesRow;
    QLineEdit* m_textTypes;
    QLineEdit* m_binTypes;
    QComboBox* m_transfer;
    QTabWidget* m_pages;
    THistoryCombo* m_share = nullptr;
    QToolButton* m_shareBrowse = nullptr;
    THistoryCombo* m_server = nullptr;
    QSpinBox* m_port = nullptr;
    THistoryCombo* m_user = nullptr;
    QLineEdit* m_password = nullptr;
    QToolButton* m_showPwd = nullptr;
    THistoryCombo* m_remoteDir = nullptr;
    QCheckBox* m_passive = nullptr;
    QLabel* m_tlsLabel = nullptr;
    QComboBox* m_tls = nullptr;
    QCheckBox* m_proxy = nullptr;
    QCheckBox* m_protocolLog = nullptr;
    QComboBox* m_encoding;
    QCheckBox* m_bom;
    QPushButton* m_ok;
    QPushButton* m_cancel;
};

} // namespace orvel
