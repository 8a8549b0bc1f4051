#include "macros/core/MacroCommands.h"

#include "base/core/Translate.h"

namespace orvel {

const QList<TCommandDef>& macroCommands() {
    // clang-format off
    static const QList<TCommandDef> commands = {
        {CMD(ActionMacroNew), 3010, N_("Macros"), N_("&New text macro"), N_("Save selected text as macro"), "Ctrl+Alt+M"},
        {CMD(ActionMacroDelete), 3011, N_("Macros"), N_("&Delete text macro"), N_("Delete text macro"), ""},
        {CMD(ActionMacroInsert), 3012, N_("Macros"), N_("&Insert text macro"), N_("Insert text macro to document"), "Ctrl+Shift+M"},
        {CMD(ActionMacroUp), 3013, N_("Macros"), N_("Move text macro &up"), N_("Move text macro up in list"), ""},
        {CMD(ActionMacroDown), 3014, N_("Macros"), N_("Move text macro &down"), N_("Move text macro down in list"), ""},
        {CMD(ActionMacroRename), 3015, N_("Macros"), N_("&Rename text macro"), N_("Rename text macro"), ""},
        {CMD(ActionMacroReplace), 3016, N_("Macros"), N_("&Replace text macro with selection"), N_("Replace text macro with selection"), ""},
        {CMD(ActionMacroEdit), 3017, N_("Macros"), N_("&Edit text macro"), N_("Enable text macro editing"), ""},
        {CMD(ActionShowMacros), 0, N_("Actions"), N_("&Text macros"), N_("Show text macros"), "Ctrl+F10"},
    };
    // clang-format on
    return commands;
}

} // namespace orvel
