#pragma once
// The text macro commands of the main window as data.

#include "base/core/CommandDef.h"

#include <QList>

namespace orvel {

namespace cmd {
enum TMacroCommandId : int {
    ActionMacroNew,
    ActionMacroDelete,
    ActionMacroInsert,
    ActionMacroUp,
    ActionMacroDown,
    ActionMacroRename,
    ActionMacroReplace,
    ActionMacroEdit,
    ActionShowMacros,
    kMacroCommandCount
};
} // namespace cmd

// The commands of the macro panel by their keyboard table numbers (3010 New to 3017 Edit, a
// toggle), then the one that shows and hides the panel (no number: not in the table).
const QList<TCommandDef>& macroCommands();

} // namespace orvel
