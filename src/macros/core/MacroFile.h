#pragma once
// The text macro file: "#" and a name on one line, then the macro's lines. Written as UTF-8
// with a byte-order mark and CR LF line breaks.

#include "base/core/Encodings.h"
#include "base/core/Result.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

namespace orvel {

// A named snippet. Its text keeps its line breaks as "\n" alone; documents get their own.
struct TTextMacro {
    QString name;
    QString text;
    friend bool operator==(const TTextMacro&, const TTextMacro&) = default;
};

struct TMacroFileContent {
    QList<TTextMacro> macros;
    // False when the file held something the list cannot: bytes that do not decode, or
    // text outside any macro. Rewriting it would lose that.
    bool whole = true;
};

// The settings file's name with the extension "mac".
QString macroFileName(const QString& iniName);

// A text with its line breaks (CR LF, LF or CR alike) as "\n".
QString macroText(const QString& text);
// A macro's text with the line breaks of a document.
QString macroTextFor(const QString& text, TLineBreak lineBreak);

// Reads the file's bytes: a byte-order mark decides the encoding, else UTF-8 when the bytes
// are well-formed UTF-8, else Windows-1252. Lines break at CR LF, LF or CR. A line that
// starts with "#" starts a macro named by the rest, trimmed; a line starting with "##" is a
// text line that starts with "#". Macros without name or text are dropped.
TMacroFileContent parseMacroFile(QByteArrayView bytes);
// The file's bytes for a list of macros.
QByteArray formatMacroFile(const QList<TTextMacro>& macros);

// A missing file gives an empty list; one that cannot be read an error naming it.
TResult<TMacroFileContent> readMacroFile(const QString& fileName);
// Writes the list atomically. With keepOld the file found there is first kept beside it,
// with ".bad" added to its name (a number before it when that name is taken).
TStatus writeMacroFile(const QString& fileName, const QList<TTextMacro>& macros, bool keepOld);

} // namespace orvel
