#include "dialogs/core/HtmlNumber.h"

#include "base/core/Translate.h"

#include <cmath>

namespace orvel {

namespace {
constexpr THtmlUnit kUnits[kHtmlUnitCount] = {
    {"", "", 0},
    {N_("Percent"), "%", 0},
    {N_("Pixel"), "px", 0},
    {N_("Point"), "pt", 1},
    {N_("Pica"), "pc", 2},
    {N_("Millimeter"), "mm", 1},
    {N_("Centimeter"), "cm", 2},
    {N_("Inch"), "in", 2},
    {N_("relative to font"), "em", 1},
    {N_("relative to \"x\""), "ex", 1},
};
} // namespace

const THtmlUnit& htmlUnit(int index) {
    return kUnits[qBound(0, index, kHtmlUnitCount - 1)];
}

THtmlNumber parseHtmlNumber(const QString& text, bool units) {
    THtmlNumber n;
    QString t = text.trimmed().toLower();
    if (units) {
        for (int i = 1; i < kHtmlUnitCount; ++i) {
            const QString suffix = QString::fromLatin1(kUnits[i].suffix);
            if (t.endsWith(suffix)) {
                t.chop(suffix.size());
                n.unit = i;
                break;
            }
        }
    }
    bool ok = false;
    const double v = t.trimmed().toDouble(&ok);
    n.value = ok && std::isfinite(v) ? v : 0;
    return n;
}

QString formatHtmlNumber(const THtmlNumber& number) {
    const THtmlUnit& u = htmlUnit(number.unit);
    QString digits;
    if (u.decimals == 0) {
        digits = QString::number(std::llround(number.value));
    } else {
        // Seven significant digits at most, but never fewer decimals than the unit shows.
        const double mag =
            number.value == 0 ? 0 : std::floor(std::log10(std::fabs(number.value))) + 1;
        const int decimals =
            int(qBound(0.0, qMin(double(u.decimals), 7 - mag), double(u.decimals)));
        digits = QString::number(number.value, 'f', decimals);
    }
    return digits + QString::fromLatin1(u.suffix);
}

int numberStep(int value) {
    const int v = std::abs(value);
    return v < 10 ? 1 : v < 100 ? 5 : v < 1000 ? 50 : v < 10000 ? 500 : 5000;
}

QString htmlColorHex(quint32 bgr) {
    return QStringLiteral("%1%2%3")
        .arg(bgr & 0xFF, 2, 16, QLatin1Char('0'))
        .arg((bgr >> 8) & 0xFF, 2, 16, QLatin1Char('0'))
        .arg((bgr >> 16) & 0xFF, 2, 16, QLatin1Char('0'))
        .toUpper();
}

bool parseHtmlColorWord(const QString& word, quint32& bgr) {
    if (word.size() < 5 || word.size() > 6)
        return false;
    bool ok1 = false, ok2 = false, ok3 = false;
    const uint r = word.mid(0, 2).toUInt(&ok1, 16);
    const uint g = word.mid(2, 2).toUInt(&ok2, 16);
    const uint b = word.mid(4, 2).toUInt(&ok3, 16);
    if (!ok1 || !ok2 || !ok3)
        return false;
    bgr = r | g << 8 | b << 16;
    return true;
}

} // namespace orvel
