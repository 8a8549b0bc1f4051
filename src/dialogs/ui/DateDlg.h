#pragma once
// The date picker ("Select date and format"): a date and one of seven ways to write it,
// with month and day names from the locale.

#include "dialogs/ui/PickerDialog.h"

#include <QDate>
#include <QLocale>

class QDateEdit;
class QListWidget;

namespace orvel {

class TDateDialog : public TPickerDialog {
    Q_OBJECT
public:
    explicit TDateDialog(QWidget* parent = nullptr, const QLocale& locale = QLocale::system());

    // format (an index, in-out) selects the starting entry when valid; date starts at the
    // text read with the locale's short date format, or today. On OK date receives the
    // chosen date written with the chosen format.
    bool Execute(const TOpenAt& at, int& format, QString& date);
    bool Execute(const TOpenAt& at, QString& date);

    // The state the dialog shows; for Execute and tests. today is the date the format list
    // shows its examples with.
    void setup(int format, const QString& date, const QDate& today = QDate::currentDate());
    int chosenFormat() const;
    QString chosenText() const;
    QDateEdit* dateEdit() const { return m_date; }
    QListWidget* formatList() const { return m_formats; }

private:
    QLocale m_locale;
    QDateEdit* m_date;
    QListWidget* m_formats;
};

} // namespace orvel
