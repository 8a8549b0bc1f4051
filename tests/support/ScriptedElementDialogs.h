#pragma once
// Answers the element dialogs from a script: each call takes the next step, which must be of
// its kind; anything else is recorded as a problem (and answered with Cancel).

#include "dialogs/core/ElementDialogs.h"

#include <QList>
#include <QStringList>

namespace orvel::test {

class ScriptedElementDialogs : public IElementDialogs {
public:
    enum Kind {
        Text,
        TwoTexts,
        TwoNumbers,
        Number,
        Color,
        Style,
        FromList,
        HtmlRef,
        Link,
        Image,
        Mail,
        ImageMap,
        IntNumber,
        Date,
        Font,
        FileSize,
        AreaRef
    };
    // A step answering with the values (texts; numbers and colours as decimal text); for
    // FromList a second value "other" takes the second way out. A Color answer "none" is
    // the picker's "no color". Date answers date text and format index; Font answers name,
    // size, style bits and colour. Without values: Cancel.
    ScriptedElementDialogs& expect(Kind kind, const QStringList& values);
    ScriptedElementDialogs& expectCancel(Kind kind);

    QStringList problems() const;
    void reset();
    // What the dialogs were shown: title or label of each call, in order.
    QStringList shown;
    // The value each call started with (the default of a number, the text of a link...).
    QStringList given;
    // Where each picker was asked to open (nullopt: at the mouse pointer).
    QList<TOpenAt> places;
    // What each one-line input offered in its drop-down, sorted when it was asked to be.
    QList<QStringList> offered;

    bool inputLine(const TLineInput& input, QString& text) override;
    bool pickColor(const QString& title, quint32& color, TOpenAt at = {}) override;
    bool selectFont(bool fixedPitch, bool withColor, const QString& previewText,
                    TFontSettings& font, TOpenAt at = {}) override;
    bool selectStyle(const QString& title, const QStringList& items, QString& chosen,
                     TOpenAt at = {}) override;
    bool selectDate(int& format, QString& date, TOpenAt at = {},
                    const QLocale* locale = nullptr) override;
    bool inputTwoTexts(const QString& title, const QString& label1, const QString& label2,
                       QString& value1, QString& value2) override;
    bool inputTwoNumbers(const QString& title, const QString& label1, const QString& label2,
                         int& value1, int& value2, int low, int high) override;
    bool inputNumber(const QString& title, const QString& label, const QString& unit, int& value,
                     int low, int high) override;
    bool htmlNumber(const QString& label, bool units, QString& value) override;
    bool selectFromList(const QString& title, const QString& description, const QStringList& items,
                        QString& chosen, bool& other, bool withPrompt = true,
                        TOpenAt at = {}) override;
    QStringList descriptions; // the description line of each list
    bool htmlRef(const QString& title, const QString& folder, QString& url, QString& text,
                 QString& attributes) override;
    // Answers address, alternative text and title; shows the anchors offered in given.
    bool areaRef(const QString& caption, const QString& folder, const QStringList& anchors,
                 QString& url, QString& alt, QString& title) override;
    bool linkDialog(const QString& title, const QString& hint, const QString& filter,
                    const QString& folder, QString& link, QString& text) override;
    bool imageDialog(const QString& folder, QString& image, QString& attributes) override;
    // Shows "image|map name|areas" (areas written as below) and answers with the areas, one
    // value each: "shape;x1,y1,…;link;alt;title" (shape rect, circle or poly; a circle's
    // coordinates are centre and radius).
    bool imageMap(const QString& folder, const QString& image, const QString& mapName,
                  const QStringList& anchors, TAreaList& areas) override;
    static QString areaText(const TAreaDataObject& area);
    static TAreaDataObject areaFromText(const QString& text);
    QList<QStringList> mapAnchors; // the anchors each map editor was offered
    bool mailAddress(QString& address) override;
    // Answers file name, size text and "comma" or "point".
    bool fileSize(QString& fileName, bool& decimalComma, QString& sizeText) override;
    QString lastLocalFile() const override { return lastLocal; }
    QString lastLocal;          // what the hyperlink dialog confirmed last
    QList<QLocale> dateLocales; // the locale each date picker was given (C when none)

private:
    struct Step {
        Kind kind;
        QStringList values;
        bool ok;
    };
    // The answer for a call of this kind, or nullptr (a problem is recorded).
    const QStringList* take(Kind kind, const QString& what, const QString& start);
    QList<Step> m_steps;
    QStringList m_current;
    QStringList m_problems;
};

} // namespace orvel::test
