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
        IntNumber
    };
    // A step answering with the values (texts; numbers and colours as decimal text); for
    // FromList a second value "other" takes the second way out. Without values: Cancel.
    ScriptedElementDialogs& expect(Kind kind, const QStringList& values);
    ScriptedElementDialogs& expectCancel(Kind kind);

    QStringList problems() const;
    void reset();
    // What the dialogs were shown: title or label of each call, in order.
    QStringList shown;
    // The value each call started with (the default of a number, the text of a link...).
    QStringList given;

    bool inputText(const QString& title, const QString& label, QString& value,
                   const QStringList& offers = {}) override;
    bool inputTwoTexts(const QString& title, const QString& label1, const QString& label2,
                       QString& value1, QString& value2) override;
    bool inputTwoNumbers(const QString& title, const QString& label1, const QString& label2,
                         int& value1, int& value2, int low, int high) override;
    bool inputNumber(const QString& title, const QString& label, const QString& unit, int& value,
                     int low, int high) override;
    bool htmlNumber(const QString& label, bool units, QString& value) override;
    bool selectColor(const QString& title, quint32& color) override;
    bool selectStyle(const QString& title, const QStringList& items, QString& chosen) override;
    bool selectFromList(const QString& title, const QString& description, const QStringList& items,
                        QString& chosen, bool& other) override;
    bool htmlRef(const QString& title, const QString& folder, QString& url, QString& text,
                 QString& attributes) override;
    bool linkDialog(const QString& title, const QString& hint, const QString& filter,
                    const QString& folder, QString& link, QString& text) override;
    bool imageDialog(const QString& folder, QString& image, QString& attributes) override;
    bool imageMap(const QString& folder, const QString& imageTag, QString& map) override;
    bool mailAddress(QString& address) override;

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
