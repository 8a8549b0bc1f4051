#pragma once
// The text rules of the small inserts: where a file size in the text stands, what a text
// becomes inside a JavaScript string, an HTML attribute or a CSS url(), and the clipboard
// text prepared as a JavaScript argument.

#include <QString>
#include <optional>

namespace orvel {

// A run of columns in a line: [start, end), counted from 0.
struct TColumnRun {
    int start = 0;
    int end = 0;
    bool operator==(const TColumnRun&) const = default;
};

// The size text ("12,3 kB") that a new file size replaces: the run of size characters
// (blank, ",", ".", digits, "B", "G", "K", "M", "i", "k") that ends with the first "B" at or
// after the character left of the caret. It must lie on the caret's line and touch the
// caret, and be 4 to 11 characters long with its leading blanks, which stay out of the run.
std::optional<TColumnRun> sizeRunAtCaret(const QString& line, int caretColumn);

// For a JavaScript string literal in single or double quotes: backslash, both quotes and
// line breaks escaped, and "</" written "<\/" so that a "</script>" cannot end the script.
QString jsStringEscape(const QString& text);
// For HTML text: "<" and ">" escaped, and every "&" that does not begin a character
// reference ("&amp;", "&#233;", "&#xE9;").
QString htmlTextEscape(const QString& text);
// For a double-quoted HTML attribute value: "&", "\"", "<" and ">" escaped.
QString htmlAttributeEscape(const QString& text);
// For a CSS url(…): blanks, quotes, parentheses, backslashes and control characters
// percent-encoded, everything else as it stands.
QString cssUrlEscape(const QString& address);

// The clipboard text as a JavaScript argument: line breaks become single blanks, quotes,
// "&", "<" and ">" become entities, backslashes are escaped, runs of blanks shrink to one;
// lines longer than the right edge are cut at a blank and continued with a backslash and a
// line break (CR LF); a word longer than the edge is cut where the edge falls, never leaving
// an empty line. The result begins with a blank. A right edge of 0 or less cuts nothing.
QString jsArgumentText(const QString& clipboard, int rightEdge);

} // namespace orvel
