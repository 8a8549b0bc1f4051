#pragma once
// The URL dialog: the address of a hyperlink with its text, title and target window, or of
// an image map's area with its alternative text and title. A chosen file becomes a path
// relative to the document; "Add local anchor" appends one of the file's anchors.

#include "base/core/TextChange.h"
#include "dialogs/core/ElementDialogs.h"

#include <QDialog>
#include <functional>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace orvel {

class IDialogs;
class THistoryCombo;
class TUnicodeIniFile;

class TURLEingabeDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr int kHistorySize = 15;
    // The anchor entries of a file ("|name| (12): text"), as the anchor reader lists them.
    using TAnchorReader = std::function<QStringList(const QString& fileName)>;

    // Files are chosen through dialogs; the anchor picker and the name prompt are asked of
    // elements.
    TURLEingabeDialog(IDialogs& dialogs, IElementDialogs& elements, QWidget* parent = nullptr);

    // The anchor reader of the search by default.
    void setAnchorReader(TAnchorReader reader) { m_readAnchors = std::move(reader); }
    // The names "Goto anchor" offers and keeps (the main window's anchor list).
    void setAnchorHistory(QStringList* history, int size);
    // Read at each use: the project's link case, the unit system of sizes and the separator.
    void setLinkCase(std::function<TTextChange()> linkCase) { m_linkCase = std::move(linkCase); }
    void setSizeFormat(std::function<bool()> decimalUnits, std::function<bool()> decimalComma);

    bool HtmlRef(const QString& caption, const QString& path, QString& url, QString& text,
                 QString& attr);
    bool AreaRef(const QString& caption, const QString& path, const QStringList& anchors,
                 QString& url, QString& text, QString& title);

    // The filter and the address history of the section ("UrlList").
    void LoadFromIni(const TUnicodeIniFile& ini, const QString& section);
    void SaveToIni(TUnicodeIniFile& ini) const;

    // The file part of the last local address confirmed as a hyperlink, made absolute.
    QString LastLocalFile() const { return m_lastLocalFile; }
    QString fileFilter() const { return m_filter; }
    static QString defFilter();

    // The controls and the buttons' work, for the tests.
    THistoryCombo* addressBox() const { return m_address; }
    QLineEdit* textField() const { return m_text; }
    QLineEdit* titleField() const { return m_title; }
    QComboBox* targetBox() const { return m_target; }
    QPushButton* anchorButton() const { return m_btnAnchor; }
    QLabel* textLabel() const { return m_laText; }
    void btnSelectFileClick();
    void btnAnchorClick();
    void btnCopyTitleClick();
    void btnFilterClick();

private:
    void prepare(const QString& caption, const QString& path, const QString& url,
                 const QString& text);
    void updateAnchorButton();
    QString targetValue() const;
    void addAnchorToAddress(const QString& filePart, const QString& entry);

    IDialogs& m_dialogs;
    IElementDialogs& m_elements;
    TAnchorReader m_readAnchors;
    QStringList* m_anchorHistory = nullptr;
    int m_anchorHistorySize = 20;
    std::function<TTextChange()> m_linkCase;
    std::function<bool()> m_decimalUnits, m_decimalComma;

    QString m_path; // the document's folder, ending in "/"
    QString m_section;
    QString m_filter;
    QStringList m_anchors;
    QString m_lastLocalFile;

    THistoryCombo* m_address;
    QLabel* m_laText;
    QLineEdit* m_text;
    QLineEdit* m_title;
    QLabel* m_laTarget;
    QComboBox* m_target;
    QPushButton* m_btnAnchor;
};

} // namespace orvel
