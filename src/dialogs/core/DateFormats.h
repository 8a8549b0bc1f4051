#pragma once
// The date picker's seven formats: how each writes a date, and the pattern its date field
// shows while the user picks.

#include <QDate>
#include <QLocale>
#include <QString>

namespace orvel {

constexpr int kDateFormatCount = 7;

// The stored output pattern ("d. mmm yyyy", text in double quotes copied as it stands).
QString dateOutputPattern(int index);
// The same without its double quotes, as the format list names it ("mm/dd/yyyy").
QString dateShownPattern(int index);
// The pattern of the date field ("d. MMM yyyy").
QString dateControlPattern(int index);

// A date written with a format; month names from the locale. Empty for an invalid index.
QString formatPickerDate(const QDate& date, int index, const QLocale& locale);
// One entry of the format list: the date written with the format, then the pattern in
// parentheses: "5.3.2024 (d.m.yyyy)".
QString dateFormatEntry(const QDate& date, int index, const QLocale& locale);

// A date the caller hands in, read with the locale's short date format; an invalid date
// when it does not read. A two-digit year is taken in this century or the last, whichever
// is nearer.
QDate readPickerDate(const QString& text, const QLocale& locale);

} // namespace orvel
