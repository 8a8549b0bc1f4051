#pragma once
// Finds and opens the modern engine's module on first use.

#include "preview/ui/PageEngine.h"

#include <memory>

namespace orvel {

// The module's file: in the folder ORVEL_MODULE_DIR names, beside the program, or in the
// installed library folder. Empty when there is none: the modern engine cannot be used.
QString modernEngineModule();

// Opens the module (once) and makes an engine in parent. Null when it cannot start; reason
// then says why, in the user's words.
std::unique_ptr<TPageEngine> createModernEngine(QWidget* parent, const TPageEvents& events,
                                                const QString& storagePath, QString* reason);

} // namespace orvel
