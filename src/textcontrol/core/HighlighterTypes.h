#pragma once
// The highlighters and their named attributes, without any window code.

#include <QString>
#include <QtGlobal>

namespace orvel {

enum THighlighterKind : int { hkHtml, hkCss, hkJs, hkPhp, hkVbs, hkPerl };

// Colours are 0x00BBGGRR; kNoColor means "none" (the editor's default is used).
constexpr quint32 kNoColor = 0x1FFFFFFF;

enum TFontStyleBits : int { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };

// Kinds of token every highlighter can name its attribute for.
enum TAttrKind : int { akComment, akIdentifier, akKeyword, akString, akWhitespace, akSymbol };

struct TAttrStyle {
    quint32 foreground = kNoColor;
    quint32 background = kNoColor;
    int style = 0; // TFontStyleBits
    friend bool operator==(const TAttrStyle&, const TAttrStyle&) = default;
};

} // namespace orvel
