#pragma once
// File sizes as the program writes them for people: "999 B", "1.00 kB", "12.3 MiB".

#include <QChar>
#include <QString>
#include <optional>

namespace orvel {

// With decimal, units of 1000 ("kB", "MB", "GB"), else of 1024 ("KiB", "MiB", "GiB"); below
// one unit the bytes and "B". Two decimals below 10, one below 100, none above; sizes of a
// thousand units and more of the largest prefix stay in "GB"/"GiB" with two decimals.
// Negative sizes (unknown) read as 0.
QString formatFileSize(qint64 bytes, bool decimal, QChar separator = u'.');

// Reads a size text back: "999 B", "12,3 kB", "1.5 MiB", "2 TB" (the unit and its "B" in
// either case; "i" before the "B" selects units of 1024). The number is a decimal with the
// given separator, rounded to whole bytes; with a unit letter it ends at the first blank.
// A blank text is 0. No digits, a sign, a second separator, other text, or a value past
// 63 bits: nullopt ("Invalid file size format!").
std::optional<qint64> parseFileSize(const QString& text, QChar separator);

} // namespace orvel
