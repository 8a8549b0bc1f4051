#pragma once
// The element dialogs as the program shows them.

#include "base/core/TextChange.h"
#include "dialogs/core/ColorList.h"
#include "dialogs/core/ElementDialogs.h"
#include "dialogs/ui/ImageDlg.h"
#include "dialogs/ui/ImgMapEdit.h"

#include <QLocale>
#include <QPointer>
#include <functional>
#include <memory>

class QWidget;

namespace orvel {

class IDialogs;
class TUnicodeIniFile;
class TLinkDialog;
class TQtDialogs;
class TURLEingabeDialog;

class TQtElementDialogs : public IElementDialogs {
public:
    TQtElementDialogs();
    ~TQtElementDialogs() override;
    TQtElementDialogs(const TQtElementDialogs&) = delete;
    TQtElementDialogs& operator=(const TQtElementDialogs&) = delete;

    // Set before the first dialog shows: the URL and link dialogs are made once, then.
    void setParentWidget(QWidget* parent) { m_parent = parent; }
    // The file choosers the URL and link dialogs open; the desktop's until given.
    void setDialogs(IDialogs* dialogs) { m_dialogs = dialogs; }
    // The active project's link case, read whenever a file is chosen.
    void setLinkCase(std::function<TTextChange()> linkCase) { m_linkCase = std::move(linkCase); }
    // The decimal separator of sizes put on the clipboard (comma when true); settings own it.
    void setDecimalComma(const bool* comma) { m_decimalComma = comma; }
    // The anchor names "Add local anchor" offers and keeps when a file has none.
    void setAnchorHistory(QStringList* history, int size) {
        m_anchorHistory = history;
        m_anchorHistorySize = size;
    }
    void loadSettings(const TUnicodeIniFile& ini) override;
    void saveSettings(TUnicodeIniFile& ini) const override;
    TURLEingabeDialog& urlDialog();
    TLinkDialog& linkDlg();
    // The custom colours every colour picker shows and edits; the settings own them. Until
    // one is given, a list of the default colours serves.
    void setColorList(TColorList* list) { m_colors = list ? list : &m_ownColors; }
    // Month and day names of the date picker; the system's by default.
    void setDateLocale(const QLocale& locale) { m_dateLocale = locale; }
    bool inputTwoTexts(const QString& title, const QString& label1, const QString& label2,
                       QString& value1, QString& value2) override;
    bool inputTwoNumbers(const QString& title, const QString& label1, const QString& label2,
                         int& value1, int& value2, int low, int high) override;
    bool inputNumber(const QString& title, const QString& label, const QString& unit, int& value,
                     int low, int high) override;
    bool htmlNumber(const QString& label, bool units, QString& value) override;
    bool pickColor(const QString& title, quint32& color, TOpenAt at = {}) override;
    bool selectFont(bool fixedPitch, bool withColor, const QString& previewText,
                    TFontSettings& font, TOpenAt at = {}) override;
    bool selectStyle(const QString& title, const QStringList& items, QString& chosen,
                     TOpenAt at = {}) override;
    bool selectDate(int& format, QString& date, TOpenAt at = {},
                    const QLocale* locale = nullptr) override;
    bool inputLine(const TLineInput& input, QString& text) override;
    bool selectFromList(const QString& title, const QString& description, const QStringList& items,
                        QString& chosen, bool& other, bool withPrompt = true,
                        TOpenAt at = {}) override;
    bool areaRef(const QString& caption, const QString& folder, const QStringList& anchors,
                 QString& url, QString& alt, QString& title) override;
    bool htmlRef(const QString& title, const QString& folder, QString& url, QString& text,
                 QString& attributes) override;
    bool linkDialog(const QString& title, const QString& hint, const QString& filter,
                    const QString& folder, QString& link, QString& text) override;
    bool imageDialog(const QString& folder, QString& image, QString& attributes) override;
    bool mailAddress(QString& address) override;
    bool fileSize(QString& fileName, bool& decimalComma, QString& sizeText) override;
    QString lastLocalFile() const override;
    // The unit system of file sizes (decimal when true) and the two lists of the
    // mail-address dialog; the settings own them. Until given, lists of the dialogs' own.
    void setFileSizeUnits(bool* decimal) { m_decimalSizes = decimal ? decimal : &m_ownDecimal; }
    void setMailLists(QStringList* names, QStringList* domains) {
        m_mailNames = names ? names : &m_ownNames;
        m_mailDomains = domains ? domains : &m_ownDomains;
    }
    bool imageMap(const QString& folder, const QString& image, const QString& mapName,
                  const QStringList& anchors, TAreaList& areas) override;
    // What the image dialog needs of the program. The image dialog and the map editor are
    // made on first use (LoadImageSettings makes them at start) and keep their sections
    // ("ImageList", "ImageMap").
    void setImageContext(const TImageDialogContext& context);
    void LoadImageSettings(const TUnicodeIniFile& ini);
    void SaveImageSettings(TUnicodeIniFile& ini);
    TImageDialog* imageDialogWindow();
    TImageMapEditor* imageMapEditor();

private:
    QWidget* m_parent = nullptr;
    TColorList m_ownColors = kDefaultCustomColors;
    TColorList* m_colors = &m_ownColors;
    QLocale m_dateLocale = QLocale::system();
    bool m_ownDecimal = true;
    bool* m_decimalSizes = &m_ownDecimal;
    QStringList m_ownNames, m_ownDomains;
    QStringList* m_mailNames = &m_ownNames;
    QStringList* m_mailDomains = &m_ownDomains;
    IDialogs* m_dialogs = nullptr;
    std::unique_ptr<TQtDialogs> m_ownDialogs;
    std::function<TTextChange()> m_linkCase;
    const bool* m_decimalComma = nullptr;
    QStringList* m_anchorHistory = nullptr;
    int m_anchorHistorySize = 20;
    std::unique_ptr<TURLEingabeDialog> m_urlDialog;
    std::unique_ptr<TLinkDialog> m_linkDialog;
    TImageDialogContext m_imageContext;
    QPointer<TImageDialog> m_imageDialog;
    QPointer<TImageMapEditor> m_mapEditor;
};

} // namespace orvel
