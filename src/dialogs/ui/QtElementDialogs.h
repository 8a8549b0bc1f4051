#pragma once
// The element dialogs as the program shows them.

#include "dialogs/core/ElementDialogs.h"

class QWidget;

namespace orvel {

class TQtElementDialogs : public IElementDialogs {
public:
    void setParentWidget(QWidget* parent) { m_parent = parent; }

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
    bool mailAddress(QString& address) override;
    bool imageMap(const QString& folder, const QString& imageTag, QString& map) override;

private:
    QWidget* m_parent = nullptr;
};

} // namespace orvel
