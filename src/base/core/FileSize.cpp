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

} // namespace orvel
