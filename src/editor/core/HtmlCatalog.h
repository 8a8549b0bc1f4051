#pragma once
// The HTML element commands of the document window as data: what each inserts and where it
// stands on the toolbar pages.

#include "base/core/CommandDef.h"

#include <QList>

namespace orvel {

enum THtmlKind : int {
    hkInline,    // wrap the selection inline
    hkBlock,     // wrap the selection as a block
    hkText,      // insert a text, caret moved by caretOffset
    hkTextBreak, // insert a text, then a line break
    hkNumber,    // ask a number, insert the format with it
    hkColor,     // ask a colour, insert the format with it
    hkSpecial,   // a handler of its own
};

struct THtmlCommand {
    TCommandDef def;
    THtmlKind kind;
    const char* text = nullptr;    // opening tag, text or format
    const char* closing = nullptr; // closing tag
    int caretOffset = 0;
    const char* label = nullptr; // number label
    bool units = false;          // number with units
    const char* value = nullptr; // number default
    unsigned color = 0;          // colour to start at (0x00BBGGRR)
};

// Every HTML element command, by category, in the order of the keyboard table.
const QList<THtmlCommand>& htmlCommands();
const THtmlCommand* htmlCommand(const char* name);

// The toolbar pages and what stands on them: a command name, "|" for a separator, or
// "menu:Title:name,name,..." for a drop-down button (a name "sub:Title" opens a submenu
// that takes the names up to "endsub").
struct TToolbarPage {
    const char* title; // translatable
    QList<const char*> items;
};
const QList<TToolbarPage>& toolbarPages();

} // namespace orvel
