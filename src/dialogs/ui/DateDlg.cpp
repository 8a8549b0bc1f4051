#include "dialogs/ui/DateDlg.h"

#include "base/core/Translate.h"
#include "dialogs/core/DateFormats.h"

#include <QDateEdit>
#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>

namespace orvel {

TDateDialog::TDateDialog(QWidget* parent, const QLocale& locale)
    : TPickerDialog(parent), m_locale(locale) {
    setWindowTitle(T_("Select date and format"));
    auto* layout = new QVBoxLayout(this);
    auto* dateLabel = new QLabel(T_("Date:"), this);
    m_date = new QDateEdit(this);
    m_date->setLocale(m_locale);
    m_date->setCalendarPopup(true);
    dateLabel->setBuddy(m_date);
    auto* formatLabel = new QLabel(T_("Select format:"), this);
    m_formats = new QListWidget(this);
    formatLabel->setBuddy(m_formats);
    layout->addWidget(dateLabel);
    layout->addWidget(m_date);
    layout->addWidget(formatLabel);
    layout->addWidget(m_formats, 1);
    QDialogButtonBox* buttons = okCancelButtons();
    layout->addWidget(buttons);
    connect(m_formats, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
    // Another format shows the date in its own pattern at once.
    connect(m_formats, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0)
            m_date->setDisplayFormat(dateControlPattern(row));
    });
    setup(0, QString());
}

void TDateDialog::setup(int format, const QString& date, const QDate& today) {
    m_formats->clear();
    for (int i = 0; i < kDateFormatCount; ++i)
        m_formats->addItem(dateFormatEntry(today, i, m_locale));
    m_formats->setMinimumWidth(m_formats->sizeHintForColumn(0) + 40);
    // All seven entries show, without room to spare.
    m_formats->setFixedHeight(kDateFormatCount * m_formats->sizeHintForRow(0) +
                              2 * m_formats->frameWidth() + 4);
    m_formats->setCurrentRow(format >= 0 && format < kDateFormatCount ? format : 0);
    m_date->setDisplayFormat(dateControlPattern(chosenFormat()));
    const QDate start = readPickerDate(date, m_locale);
    m_date->setDate(start.isValid() ? start : today);
}

int TDateDialog::chosenFormat() const {
    return qMax(0, m_formats->currentRow());
}

QString TDateDialog::chosenText() const {
    return formatPickerDate(m_date->date(), chosenFormat(), m_locale);
}

bool TDateDialog::Execute(const TOpenAt& at, int& format, QString& date) {
    setup(format, date);
    placeAt(at);
    m_formats->setFocus();
    if (exec() != QDialog::Accepted)
        return false;
    date = chosenText();
    format = chosenFormat();
    return true;
}

bool TDateDialog::Execute(const TOpenAt& at, QString& date) {
    int format = 0;
    return Execute(at, format, date);
}

} // namespace orvel
