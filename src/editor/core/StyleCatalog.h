#pragma once
// The style sheet commands of the document window as data: one per CSS property, with what
// each asks for and the declaration it inserts.

#include "base/core/CommandDef.h"
#include "editor/core/DocumentCommandIds.h"

#include <QList>
#include <QString>

namespace orvel {

enum TStyleKind : int {
    skText,      // insert the text, caret moved by caretOffset
    skStyleLine, // insert the text as a style line
    skNumber,    // ask a number with units, insert the format with it
    skChoice,    // ask one of the items, insert the format with it
    skColor,     // ask a colour (starting at black), insert the format with it
    skImageLink, // ask an image file, insert the format with its address
    skSpecial,   // a handler of its own
};

struct TStyleCommand {
    TCommandDef def;
    TStyleKind kind;
    const char* text = nullptr;   // text or format with one "%s"
    int caretOffset = 0;          // skText
    const char* label = nullptr;  // dialog label or title, translatable
    const char* label2 = nullptr; // joined to the label ("at top:"), translatable
    const char* value = nullptr;  // number default, or the comma-separated choice items
};

// The image files a style may name.
inline constexpr const char* kImageFilter = "GIF|*.gif|JPEG|*.jpg|PNG|*.png";

// Every style command, in the order of the keyboard table.
const QList<TStyleCommand>& styleCommands();
// The row of a command's constant; null for a command that is no style command.
const TStyleCommand* styleCommand(int id);
// The label of a row, its two parts translated and joined with a blank between them.
QString styleLabel(const TStyleCommand& command);

} // namespace orvel
