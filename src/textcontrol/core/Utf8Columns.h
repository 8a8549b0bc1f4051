#pragma once
// Columns are counted in UTF-16 code units; the editor control stores UTF-8 bytes.
// These convert within one line. A byte that does not start a well-formed sequence
// counts as one unit, as the control shows it as one character.

#include <QByteArrayView>

namespace orvel {

// Length of a UTF-8 sequence starting at data[i] (1 for a stray byte).
qsizetype utf8SequenceLength(QByteArrayView data, qsizetype i);
// UTF-16 units in the bytes.
qsizetype utf16Length(QByteArrayView utf8);
// Byte offset of the UTF-16 index (0-based) within the line; clamped to the line's end,
// an index inside a surrogate pair gives the pair's start. Beyond the end, `beyond` (when
// given) receives the units past the end.
qsizetype utf16ToByteOffset(QByteArrayView line, qsizetype utf16Index, qsizetype* beyond = nullptr);
// UTF-16 index (0-based) of a byte offset within the line.
qsizetype byteToUtf16Offset(QByteArrayView line, qsizetype byteOffset);

} // namespace orvel
