#pragma once
// File sizes as the program writes them for people: "999 B", "1.00 kB", "12.3 MiB".

#include <QChar>
#include <QString>

namespace orvel {

// With decimal, units of 1000 ("kB", "MB", "GB"), else of 1024 ("KiB", "MiB", "GiB"); below
// one unit the bytes and "B". Two decimals below 10, one below 100, none above; sizes of a
// thousand units and more of the largest prefix stay in "GB"/"GiB" with two decimals.
// Negative sizes (unknown) read as 0.
QString formatFileSize(qint64 bytes, bool decimal, QChar separator = u'.');

} // namespace orvel
