#pragma once
// A command as data: one row of a command table.

namespace orvel {

struct TCommandDef {
    const char* name;       // "ActionSave"
    int tag;                // keyboard table number; 0 when the command has none
    const char* category;   // translatable category name
    const char* caption;    // translatable, with "&" before the access key
    const char* hint;       // translatable; may be empty
    const char* defaultKey; // portable key text ("Ctrl+Shift+K"), empty for none
};

} // namespace orvel
