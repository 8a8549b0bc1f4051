#pragma once
// The commands of the search in files and its results tree as data.

#include "base/core/CommandDef.h"

#include <QList>

namespace orvel {

namespace cmd {
enum TSearchCommandId : int {
    ActionStartSearch,
    ActionCancelSearch,
    ActionExpandResults,
    ActionCollapseResults,
    ActionOpenResult,
    ActionShowSearch,
    kSearchCommandCount
};
} // namespace cmd

// The page's buttons and the results tree's, then the one that brings the page to the front.
// None has a number: they are not in the keyboard table.
const QList<TCommandDef>& searchCommands();

} // namespace orvel
