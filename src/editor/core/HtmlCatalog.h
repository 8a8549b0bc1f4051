#pragma once
// The HTML element commands of the document window as data: what each inserts and where it
// stands on the toolbar pages.

#include "base/core/CommandDef.h"
#include "editor/core/DocumentCommandIds.h"

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
// The row of a command's constant; null for a command that is no element command.
const THtmlCommand* htmlCommand(int id);

// What stands on a toolbar page: a command's button, a separator, or a drop-down button that
// takes the items up to its end; inside a drop-down, a submenu takes the items up to its end.
struct TToolItem {
    enum Kind : int { Command, Separator, DropDown, DropDownEnd, SubMenu, SubMenuEnd };
    Kind kind;
    int command = -1;            // Command
    const char* title = nullptr; // DropDown and SubMenu, translatable
};

struct TToolbarPage {
    const char* title; // translatable
    QList<TToolItem> items;
};
const QList<TToolbarPage>& toolbarPages();

} // namespace orvel
