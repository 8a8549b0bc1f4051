#include "search/core/SearchCommands.h"

#include "base/core/Translate.h"

namespace orvel {

const QList<TCommandDef>& searchCommands() {
    // clang-format off
    static const QList<TCommandDef> commands = {
        {CMD(ActionStartSearch), 0, N_("Search"), N_("Start search"), N_("Search the chosen files"), ""},
        {CMD(ActionCancelSearch), 0, N_("Search"), N_("Cancel"), N_("Stop the search in files"), ""},
        {CMD(ActionExpandResults), 0, N_("Search"), N_("Expand all entries"), N_("Show the hits of every file"), ""},
        {CMD(ActionCollapseResults), 0, N_("Search"), N_("Collapse all entries"), N_("Show the files only"), ""},
        {CMD(ActionOpenResult), 0, N_("Search"), N_("Open selected file"), N_("Open the file with the hit selected"), ""},
        {CMD(ActionShowSearch), 0, N_("Actions"), N_("Search in &files"), N_("Search and replace in files"), "Ctrl+Alt+F"},
    };
    // clang-format on
    return commands;
}

} // namespace orvel
