#include "dialogs/core/DateFormats.h"

namespace orvel {

namespace {

struct TDateFormat {
    const char* output;
    const char* control;
};

const TDateFormat kFormats[kDateFormatCount] = {
    {"yyyy-mm-dd", "yyyy-MM-dd"},
    {"d.m.yyyy", "d.M.yyyy"},
    {"d.m.yy", "d.M.yy"},
    {"dd.mm.yyyy", "dd.MM.yyyy"},
    {"d. mmm yyyy", "d. MMM yyyy"},
    {"d. mmmm yyyy", "d. MMMM yyyy"},
    {"mm\"/\"dd\"/\"yyyy", "MM/dd/yyyy"},
};

bool valid(int index) {
    return index >= 0 && index < kDateFormatCount;
}

QString twoDigits(int n) {
    return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0'));
}

} // namespace

QString dateOutputPattern(int index) {
    return valid(index) ? QString::fromLatin1(kFormats[index].output) : QString();
}

QString dateShownPattern(int index) {
    return dateOutputPattern(index).remove(u'"');
}

QString dateControlPattern(int index) {
    return valid(index) ? QString::fromLatin1(kFormats[index].control) : QString();
}

QString formatPickerDate(const QDate& date, int index, const QLocale& locale) {
    const QString pattern = dateOutputPattern(index);
    QString out;
    for (qsizetype i = 0; i < pattern.size();) {
        const QChar c = pattern.at(i);
        if (c == u'"') {
            const qsizetype close = pattern.indexOf(u'"', i + 1);
            const qsizetype end = close < 0 ? pattern.size() : close;
            out += pattern.mid(i + 1, end - i - 1);
            i = end + 1;
            continue;
        }
        const QChar letter = c.toLower();
        qsizetype run = 1;
        while (i + run < pattern.size() && pattern.at(i + run).toLower() == letter)
            ++run;
        if (letter == u'd') {
            out += run >= 2 ? twoDigits(date.day()) : QString::number(date.day());
        } else if (letter == u'm') {
            if (run >= 4)
                out += locale.monthName(date.month(), QLocale::LongFormat);
            else if (run == 3)
                out += locale.monthName(date.month(), QLocale::ShortFormat);
            else
                out += run == 2 ? twoDigits(date.month()) : QString::number(date.month());
        } else if (letter == u'y') {
            out += run >= 3 ? QStringLiteral("%1").arg(date.year(), 4, 10, QLatin1Char('0'))
                            : twoDigits(date.year() % 100);
        } else {
            out += pattern.mid(i, run);
        }
        i += run;
    }
    return out;
}

QString dateFormatEntry(const QDate& date, int index, const QLocale& locale) {
    return formatPickerDate(date, index, locale) + QStringLiteral(" (") + dateShownPattern(index) +
           u')';
}

QDate readPickerDate(const QString& text, const QLocale& locale) {
    const QString format = locale.dateFormat(QLocale::ShortFormat);
    QDate date = locale.toDate(text.trimmed(), format);
    // Qt reads "yy" as 19yy; a date the user typed lies nearer to today than that.
    if (date.isValid() && !format.contains(QLatin1String("yyyy"))) {
        const int today = QDate::currentDate().year();
        while (date.year() + 50 < today)
            date = date.addYears(100);
    }
    return date;
}

} // namespace orvel
