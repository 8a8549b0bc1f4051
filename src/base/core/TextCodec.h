#pragma once
// Encoding detection and conversion between file bytes and the editor's UTF-8 text.
//
// The editor holds text as UTF-8 bytes. Loading turns any file into such bytes without
// replacing a single byte, so an unedited save gives the file back byte for byte.

#include "base/core/Encodings.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

namespace orvel::codec {

struct TDetection {
    TSynEncoding encoding = seAnsi;
    bool bom = false;  // a byte-order mark starts the data
    int bomLength = 0; // its length in bytes (0, 2 or 3)
};

// Byte-order mark first (EF BB BF, FF FE, FE FF; UTF-16 only when the size is even), then
// UTF-16LE without a mark (looksLikeUtf16Le), else UTF-8 when the whole data is well-formed
// UTF-8 holding at least one multi-byte sequence, else ANSI (Windows-1252). Data that starts
// with EF BB BF but is malformed after it is ANSI, mark included, so that no byte is lost.
TDetection detectEncoding(QByteArrayView data);

// How much of a file's start tells UTF-16LE without a mark.
constexpr qsizetype kUtf16SniffLength = 128;
// UTF-16LE without a mark: an even size of at least two characters, and a start (its first
// kUtf16SniffLength bytes, all of them when the file is shorter) with a NUL in at least three
// of every four second bytes, and not NULs alone. start holds the file's first bytes, size is
// the file's size.
bool looksLikeUtf16Le(QByteArrayView start, qint64 size);

// True when data is well-formed UTF-8 (no overlongs, no surrogates, nothing above U+10FFFF).
// hasMultiByte, when given, tells whether any sequence is longer than one byte.
bool isValidUtf8(QByteArrayView data, bool* hasMultiByte = nullptr);

// Windows-1252 with the five undefined bytes mapped to U+0081, U+008D, U+008F, U+0090, U+009D.
char16_t ansiToUnicode(unsigned char byte);
// The byte for a code point, or -1 when Windows-1252 cannot hold it.
int unicodeToAnsi(char32_t codePoint);

// File bytes (byte-order mark already removed) to the editor's UTF-8 text.
// UTF-16 lone surrogates are kept as three-byte sequences so that they survive a save.
QByteArray toEditorText(QByteArrayView bytes, TSynEncoding encoding);

// Line breaks of a text by kind; a CR LF counts once, as itself.
struct TBreakCount {
    qsizetype crlf = 0;
    qsizetype lf = 0; // alone
    qsizetype cr = 0; // alone
    // The break most lines end with: a new line gets it. CR LF, then LF, wins a tie, so a
    // text without any break has CR LF.
    TLineBreak main() const;
};
TBreakCount countLineBreaks(QByteArrayView utf8);

// The main line-break style of editor text (TBreakCount::main).
TLineBreak detectLineBreak(QByteArrayView utf8);

struct TEncodeResult {
    QByteArray bytes;
    // Distinct characters the encoding cannot hold, in order of first appearance.
    QList<char32_t> unencodable;
    bool ok() const { return unencodable.isEmpty(); }
};

// Editor text to file bytes: byte-order mark when asked (never for ANSI), then the text with
// each line break as it stands. Characters the encoding cannot hold are reported, never
// replaced: when any are found, bytes is empty.
TEncodeResult fromEditorText(QByteArrayView utf8, TSynEncoding encoding, bool bom);
// The same with every line break (CR LF, LF or CR) written in the given style, for text that
// is made of lines rather than edited in place.
TEncodeResult fromEditorText(QByteArrayView utf8, TSynEncoding encoding, bool bom,
                             TLineBreak lineBreak);

// True when fromEditorText would give the text itself after the mark: UTF-8, well-formed
// (and with the style, every line break already in it). The caller may then write the text
// as it stands.
bool isSavedAsIs(QByteArrayView utf8, TSynEncoding encoding);
bool isSavedAsIs(QByteArrayView utf8, TSynEncoding encoding, TLineBreak lineBreak);

// Whether the encoding can hold every character of the editor text; for ANSI without
// building the encoded bytes.
bool canHold(QByteArrayView utf8, TSynEncoding encoding);

// Readable list of unencodable characters for a message, e.g. "ő (U+0151), € (U+20AC)".
QString describeCharacters(const QList<char32_t>& chars, int max = 10);

} // namespace orvel::codec
