#pragma once
// The dialogs that build an element's text for the document window, behind an interface:
// the program shows real dialogs, tests answer from a script. Every method returns false
// when the user cancelled; in-out values stay unchanged then.

#include "dialogs/core/ImageMap.h"
#include "textcontrol/core/FontSettings.h"

#include <QLocale>
#include <QPoint>
#include <QString>
#include <QStringList>
#include <optional>

namespace orvel {

class TUnicodeIniFile;

// Where a picker opens: at a point of the screen, or at the mouse pointer when none is
// given (the text input 20 pixels below it, so that the pointer leaves its field free). A
// point with a negative coordinate centres the picker on the screen. The picker is moved as
// far as needed to lie fully on the screen.
using TOpenAt = std::optional<QPoint>;

// The one-line text input ("Edit text").
struct TLineInput {
    QString caption; // the window title; "Edit text" when empty
    QString prompt;  // the line above the field, also the field's tooltip
    // Offered in the field's drop-down; on OK the text moves to its top, and the history
    // keeps at most historySize entries. None: a plain field.
    QStringList* history = nullptr;
    int historySize = 15;
    bool sorted = false; // the drop-down sorted
    QString fontName;    // the field's font, when named
    TOpenAt at;
};

class IElementDialogs {
public:
    virtual ~IElementDialogs() = default;

    // One text in the one-line input; offers are earlier entries to choose from.
    bool inputText(const QString& title, const QString& label, QString& value,
                   const QStringList& offers = {}) {
        QStringList shown = offers;
        TLineInput input;
        input.caption = title;
        input.prompt = label;
        if (!offers.isEmpty()) {
            input.history = &shown;
            input.historySize = int(offers.size()) + 1;
        }
        return inputLine(input, value);
    }
    virtual bool inputTwoTexts(const QString& title, const QString& label1, const QString& label2,
                               QString& value1, QString& value2) = 0;
    virtual bool inputTwoNumbers(const QString& title, const QString& label1, const QString& label2,
                                 int& value1, int& value2, int low, int high) = 0;
    // One whole number between low and high, with a unit text after the field.
    virtual bool inputNumber(const QString& title, const QString& label, const QString& unit,
                             int& value, int low, int high) = 0;
    // The number dialog: value holds the default ("1.0em") and receives the written number,
    // or an empty text for "no value".
    virtual bool htmlNumber(const QString& label, bool units, QString& value) = 0;
    // The colour picker with the basic and the custom colours: a colour (0x00BBGGRR), or
    // kNoColor when the user checked "no color".
    virtual bool pickColor(const QString& title, quint32& color, TOpenAt at = {}) = 0;
    // A colour to insert: false on Cancel and when the user chose "no color", for there is
    // nothing to insert then.
    bool selectColor(const QString& title, quint32& color, TOpenAt at = {}) {
        quint32 picked = color;
        if (!pickColor(title, picked, at) || picked == kNoColor)
            return false;
        color = picked;
        return true;
    }
    // The font picker: fixed-pitch families only when asked, the colour button when asked,
    // the preview line showing previewText (a sample text when empty).
    virtual bool selectFont(bool fixedPitch, bool withColor, const QString& previewText,
                            TFontSettings& font, TOpenAt at = {}) = 0;
    // One of the items (the property list picker, "title" its prompt); the first item is
    // offered first.
    virtual bool selectStyle(const QString& title, const QStringList& items, QString& chosen,
                             TOpenAt at = {}) = 0;
    // The date picker: format is the index of one of its seven formats (in-out), date the
    // text to start at, read with the short date format of the locale (today when it does
    // not read), and on OK the chosen date written with the chosen format. Month names come
    // from the locale given (the document's language), else from the dialogs' own.
    virtual bool selectDate(int& format, QString& date, TOpenAt at = {},
                            const QLocale* locale = nullptr) = 0;
    // The one-line text input with its history.
    virtual bool inputLine(const TLineInput& input, QString& text) = 0;
    // A list to choose from, chosen preselected; `other` is set when the user took the
    // second way out, which is offered only withPrompt.
    virtual bool selectFromList(const QString& title, const QString& description,
                                const QStringList& items, QString& chosen, bool& other,
                                bool withPrompt = true, TOpenAt at = {}) = 0;
    // The URL dialog for a hyperlink: address, link text and further attributes.
    virtual bool htmlRef(const QString& title, const QString& folder, QString& url, QString& text,
                         QString& attributes) = 0;
    // The URL dialog for an area of an image map: address, alternative text and title;
    // anchors are the names "Add local anchor" offers when the address names no file.
    virtual bool areaRef(const QString& caption, const QString& folder, const QStringList& anchors,
                         QString& url, QString& alt, QString& title) = 0;
    // The link dialog for a plain file reference.
    virtual bool linkDialog(const QString& title, const QString& hint, const QString& filter,
                            const QString& folder, QString& link, QString& text) = 0;
    // The image dialog: image address and further attributes.
    virtual bool imageDialog(const QString& folder, QString& image, QString& attributes) = 0;
    // The image map editor: the areas of the map mapName over the image (relative to
    // folder), the document's anchors offered for their links; on OK areas hold the result.
    virtual bool imageMap(const QString& folder, const QString& image, const QString& mapName,
                          const QStringList& anchors, TAreaList& areas) = 0;
    // A mail address, name part and basic address joined ("name@example.org"); the dialog
    // offers the parts used before and keeps the new ones on top.
    virtual bool mailAddress(QString& address) = 0;
    // The file-size dialog for fileName (in-out: another file may be chosen): on OK sizeText
    // is the size as the user left it, in the unit system the program keeps and with a
    // decimal comma when decimalComma (in-out) says so.
    virtual bool fileSize(QString& fileName, bool& decimalComma, QString& sizeText) = 0;
    // The local file the hyperlink dialog confirmed last (the address before any "#", made
    // absolute); empty when there is none.
    virtual QString lastLocalFile() const = 0;
    // The dialogs' own sections of the settings file (address histories, filters): read at
    // start, written at exit by the main window.
    virtual void loadSettings(const TUnicodeIniFile& ini) { Q_UNUSED(ini); }
    virtual void saveSettings(TUnicodeIniFile& ini) const { Q_UNUSED(ini); }
};

} // namespace orvel
