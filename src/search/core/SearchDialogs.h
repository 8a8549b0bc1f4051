#pragma once
// What searching and replacing ask the user, behind an interface: the program shows real
// dialogs, tests answer from a script.

#include "textcontrol/core/EditorOptions.h"

#include <QPoint>
#include <QString>

namespace orvel {

// The answers of the question before a replacement in a file, by their stored values.
enum TFileReplaceAnswer : int { frYes = 6, frNo = 7, frAllInFile = 12, frCancel = 2 };

struct TFileReplaceQuestion {
    // The mouse position when the search began: the box goes 50 pixels to the right of it,
    // its bottom 20 pixels above it, moved so that it stays on the screen.
    QPoint screenPos;
    QString fileName;
    QString line; // the line of the match, as it reads by now
    QString search;
    QString replacement;
};

class ISearchDialogs {
public:
    virtual ~ISearchDialogs() = default;
    // Whether to replace one match; the box's top-left corner goes near screenPos, moved
    // so that the box stays on the screen.
    virtual TReplaceAction confirmReplace(QPoint screenPos, const QString& prompt) = 0;
    // Whether to replace one match of the search in files.
    virtual TFileReplaceAnswer confirmFileReplace(const TFileReplaceQuestion& question) = 0;
};

} // namespace orvel
