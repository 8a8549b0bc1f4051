#pragma once
// Ascii85 without delimiters: 4 bytes as 5 characters from "!" to "u", "z" for 4 zero bytes,
// a final group of n bytes (1 to 3) as n + 1 characters.

#include <QByteArray>
#include <QString>
#include <optional>

namespace orvel {

QString encodeAscii85(const QByteArray& bytes);
// Nothing when the text is not Ascii85: a character out of range, "z" inside a group, a group
// over 2^32 - 1 or a final group of one character. White space is skipped.
std::optional<QByteArray> decodeAscii85(QStringView text);

} // namespace orvel
