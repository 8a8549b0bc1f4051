#pragma once
// The constants of the main window's own commands: one per row of their tables.

namespace orvel::cmd {

enum TShellCommandId : int {
    // File (in the order of the keyboard table).
    ActionNewHtml,
    ActionNewCss,
    ActionNewJs,
    ActionNewText,
    ActionOpen,
    ActionClose,
    ActionTemplate,
    ActionSave,
    ActionSaveAs,
    ActionSaveAll,
    ActionExit,
    ActionNewPhp,
    ActionNewPerl,
    ActionNewVbs,
    ActionSaveHtml,
    ActionCloseall,
    ActionSelectDoc,
    // Project.
    ActionProjectClose,
    ActionProjectEdit,
    ActionProjectNew,
    ActionProjectLoad,
    ActionProjectSaveAs,
    ActionProjectManager,
    // Services.
    ActionShowLog,
    // Publishing.
    ActionTransfer,
    ActionClearServer,
    // Preview.
    ActionPreview,
    ActionExtPreview,
    kShellCommandCount
};

} // namespace orvel::cmd
