#pragma once
// What searching and replacing ask the user, behind an interface: the program shows real
// dialogs, tests answer from a script.

#include "textcontrol/core/EditorOptions.h"

#include <QPoint>
#include <QString>

namespace orvel {

class ISearchDialogs {
public:
    virtual ~ISearchDialogs() = default;
    // Whether to replace one match; the box's top-left corner goes near screenPos, moved
    // so that the box stays on the screen.
    virtual TReplaceAction confirmReplace(QPoint screenPos, const QString& prompt) = 0;
};

} // namespace orvel
