#pragma once
// Numbers of attributes and style values: the units of the number dialog, reading a default
// such as "1.0em" and writing the chosen value back.

#include <QString>

namespace orvel {

struct THtmlUnit {
    const char* entry;  // translatable list entry
    const char* suffix; // appended to the value
    int decimals;
};

constexpr int kHtmlUnitCount = 10;
const THtmlUnit& htmlUnit(int index);

struct THtmlNumber {
    double value = 0;
    int unit = 0; // index into the units
};

// The suffix is looked for in unit order 1..9 in the lower-cased text and cut off; a "."
// is the decimal separator. Text that is no number reads as 0.
THtmlNumber parseHtmlNumber(const QString& text, bool units);
// Fixed-point with the unit's decimals (at most 7 significant digits, "." as separator),
// rounded to an integer for 0 decimals, followed by the suffix.
QString formatHtmlNumber(const THtmlNumber& number);

// The step of the two-number dialog's arrows at a value: 1 below 10, 5 below 100, 50 below
// 1000, 500 below 10000, 5000 above.
int numberStep(int value);

// A colour (0x00BBGGRR) as six upper-case hexadecimal digits in the order red, green, blue.
QString htmlColorHex(quint32 bgr);
// Reads a word such as "FF8000" (characters 1-2, 3-4 and 5-6 hexadecimal; the last group may
// be one character) as a colour; false when the word is no colour.
bool parseHtmlColorWord(const QString& word, quint32& bgr);

} // namespace orvel
