#pragma once
// Rules about a document's text that need no window: the charset declaration of HTML,
// caret lines of templates, and the starting text of new documents.

#include "base/core/FileTypes.h"
#include "textcontrol/core/TextTypes.h"

#include <QByteArrayView>
#include <QString>
#include <optional>

namespace orvel {

enum TTextStatus : int { tsNew, tsOld, tsChange, tsReadOnly, tsClose };

// Name used in declarations: "UTF-8", "UTF-16", "UTF-16", "ISO-8859-1".
QString charsetName(TSynEncoding encoding);
// Name shown in the status bar: "UTF-8", "UTF-16LE", "UTF-16BE", "ANSI Latin 1".
QString encodingDisplayName(TSynEncoding encoding);

// Where the charset value of an HTML document's declaration stands, in bytes of its UTF-8
// text. Both forms count: <meta http-equiv="Content-Type" content="…; charset=…"> and
// <meta charset="…">, attributes in any order; the first such <meta> element wins.
struct TCharsetDeclaration {
    qsizetype start = -1; // byte offset of the value
    qsizetype length = 0;
    QString value;
    bool found() const { return start >= 0; }
};
TCharsetDeclaration findCharsetDeclaration(QByteArrayView utf8);

// The encoding a charset value names (compared without regard to case, in table order:
// "UTF-16" gives UTF-16LE); nothing when it names none of them.
std::optional<TSynEncoding> encodingOfCharset(const QString& value);

// A caret line is exactly "$" + line + "," + column.
std::optional<TBufferCoord> parseCaretLine(QStringView line);
QString caretLine(TBufferCoord pos);

// Text of a new document of a type without a template; the caret goes to line 2 when the
// text has one. Empty for JavaScript, text and none.
QString newDocumentText(TFileTypes type, TSynEncoding encoding, TLineBreak lineBreak);

// Whether the file is an HTML template (extension "htt", either case).
bool isHtmlTemplateName(const QString& fileName);

// Replaces every "%s" (either case) by the value.
QString replaceCharsetMarker(const QString& line, const QString& value);

} // namespace orvel
