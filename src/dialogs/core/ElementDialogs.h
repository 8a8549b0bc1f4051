#pragma once
// The dialogs that build an element's text for the document window, behind an interface:
// the program shows real dialogs, tests answer from a script. Every method returns false
// when the user cancelled; in-out values stay unchanged then.

#include <QPoint>
#include <QString>
#include <QStringList>

namespace orvel {

class IElementDialogs {
public:
    virtual ~IElementDialogs() = default;

    // One text; offers are earlier entries to choose from.
    virtual bool inputText(const QString& title, const QString& label, QString& value,
                           const QStringList& offers = {}) = 0;
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
    // A colour (0x00BBGGRR) from the colour picker with the custom colours.
    virtual bool selectColor(const QString& title, quint32& color) = 0;
    // One of the items (the choice picker).
    virtual bool selectStyle(const QString& title, const QStringList& items, QString& chosen) = 0;
    // A list to choose from; `other` is set when the user took the second way out.
    virtual bool selectFromList(const QString& title, const QString& description,
                                const QStringList& items, QString& chosen, bool& other) = 0;
    // The URL dialog for a hyperlink: address, link text and further attributes.
    virtual bool htmlRef(const QString& title, const QString& folder, QString& url, QString& text,
                         QString& attributes) = 0;
    // The link dialog for a plain file reference.
    virtual bool linkDialog(const QString& title, const QString& hint, const QString& filter,
                            const QString& folder, QString& link, QString& text) = 0;
    // The image dialog: image address and further attributes.
    virtual bool imageDialog(const QString& folder, QString& image, QString& attributes) = 0;
    // The image map editor for the image tag under the caret; map receives the text to
    // insert.
    virtual bool imageMap(const QString& folder, const QString& imageTag, QString& map) = 0;
    // A mail address, name part and basic address joined ("name@example.org").
    virtual bool mailAddress(QString& address) = 0;
};

} // namespace orvel
