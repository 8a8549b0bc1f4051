#pragma once
// The link dialog ("Link to document"): one address of a file that a page refers to (a
// background image, a script, a style sheet, a frame's page), kept relative to the document.

#include <QDialog>

class QLabel;
class QLineEdit;

namespace orvel {

class IDialogs;
class THistoryCombo;
class TUnicodeIniFile;

class TLinkDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr int kHistorySize = 25;

    explicit TLinkDialog(IDialogs& dialogs, QWidget* parent = nullptr);

    // With a hint the dialog shows the address, the hint and its text field; without one
    // only the file dialog opens. link and text are in-out; false on Cancel.
    bool Execute(const QString& title, const QString& hint, const QString& filter,
                 const QString& path, QString& link, QString& text);

    // The address history of the section ("LinkList").
    void LoadFromIni(const TUnicodeIniFile& ini, const QString& section);
    void SaveToIni(TUnicodeIniFile& ini) const;

    THistoryCombo* addressBox() const { return m_address; }
    QLineEdit* textField() const { return m_text; }
    void btnFileClick();

private:
    QString chooseFile() const;

    IDialogs& m_dialogs;
    QString m_section;
    QString m_fileTitle, m_filter, m_path;
    THistoryCombo* m_address;
    QLabel* m_hint;
    QLineEdit* m_text;
};

} // namespace orvel
