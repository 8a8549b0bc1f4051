#include "base/core/FileSize.h"

namespace orvel {

namespace {
QString number(double x, int decimals, QChar separator) {
    QString s = QString::number(x, 'f', decimals);
    if (separator != u'.')
        s.replace(u'.', separator);
    return s;
}

int decimalsFor(double x) {
    return x < 10 ? 2 : x < 100 ? 1 : 0;
}
} // namespace

QString formatFileSize(qint64 bytes, bool decimal, QChar separator) {
    const double base = decimal ? 1000.0 : 1024.0;
    const qint64 n = bytes < 0 ? 0 : bytes;
    if (double(n) < base)
        return QString::number(n) + QStringLiteral(" B");
    static const char* const decimalUnits[] = {"kB", "MB"};
    static const char* const binaryUnits[] = {"KiB", "MiB"};
    double x = double(n) / base;
    for (int step = 0; step < 2; ++step) {
        if (x < base) {
            const char* unit = decimal ? decimalUnits[step] : binaryUnits[step];
            return number(x, decimalsFor(x), separator) + u' ' + QLatin1String(unit);
        }
        x /= base;
    }
    return number(x, 2, separator) + (decimal ? QStringLiteral(" GB") : QStringLiteral(" GiB"));
}

std::optional<qint64> parseFileSize(const QString& text, QChar separator) {
    QString t = text.trimmed();
    if (t.isEmpty())
        return 0;
    if (t.endsWith(u'B', Qt::CaseInsensitive))
        t.chop(1);
    long double base = 1000;
    if (t.endsWith(u'i', Qt::CaseInsensitive)) {
        base = 1024;
        t.chop(1);
    }
    t = t.trimmed();
    long double factor = 1;
    if (!t.isEmpty()) {
        const qsizetype power =
            QStringLiteral("KMGT").indexOf(t.back().toUpper(), 0, Qt::CaseSensitive);
        if (power >= 0) {
            for (qsizetype i = 0; i <= power; ++i)
                factor *= base;
            t.chop(1);
            const qsizetype blank = t.indexOf(u' ');
            if (blank >= 0)
                t.truncate(blank);
        }
    }
    // Digits with at most one separator; a digit count past 63 bits ends up out of range.
    long double whole = 0;
    long double fraction = 0;
    long double scale = 1;
    bool digits = false;
    bool inFraction = false;
    for (QChar c : t) {
        if (c.unicode() >= u'0' && c.unicode() <= u'9') {
            digits = true;
            const int d = c.unicode() - u'0';
            if (inFraction) {
                scale /= 10;
                fraction += d * scale;
            } else {
                whole = whole * 10 + d;
            }
        } else if (c == separator && !inFraction) {
            inFraction = true;
        } else {
            return std::nullopt;
        }
    }
    if (!digits)
        return std::nullopt;
    const long double bytes = (whole + fraction) * factor + 0.5L;
    // The largest qint64 is 2^63 - 1; anything from 2^63 on does not fit.
    if (bytes >= 9223372036854775808.0L)
        return std::nullopt;
    return qint64(bytes);
}

} // namespace orvel
