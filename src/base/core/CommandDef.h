#pragma once
// A command as data: one row of a command table.

namespace orvel {

struct TCommandDef {
    int id;                 // the command's constant in its table (namespace cmd)
    const char* name;       // "ActionSave": the action's object name, for diagnostics
    int tag;                // keyboard table number; 0 when the command has none
    const char* category;   // translatable category name
    const char* caption;    // translatable, with "&" before the access key
    const char* hint;       // translatable; may be empty
    const char* defaultKey; // portable key text ("Ctrl+Shift+K"), empty for none
};

// Keys every desktop editor shares, given to a command besides its own: Ctrl+S, Ctrl+Z, ...
struct TDesktopKeys {
    int id;
    const char* key; // portable key text
};

} // namespace orvel

// A command's constant and its name from one spelling: CMD(ActionSave).
#define CMD(name) ::orvel::cmd::name, #name
