#pragma once
// A text with its lines, and a marked block inside a text: the data of text macros, search
// results and anchor lists.

#include "textcontrol/core/TextTypes.h"

#include <QList>
#include <QString>

namespace orvel {

// A block of text from BBegin up to, not including, BEnd; FSpaces is the column of the
// line's first character that is not a blank or tab.
struct TTextBlockPos {
    TBufferCoord BBegin;
    TBufferCoord BEnd;
    int FSpaces = 1;
    friend bool operator==(const TTextBlockPos&, const TTextBlockPos&) = default;
};

// One line of a TTextInfo as shown in a list: its text, the marked part of that text (the
// search hit, the anchor's name) and the block in the file it stands for.
struct TTextLine {
    QString text;
    int markStart = -1; // UTF-16 index into text; -1 when nothing is marked
    int markLength = 0;
    TTextBlockPos pos;

    // The text with "|" before and after the marked part.
    QString markedText() const {
        if (markStart < 0)
            return text;
        return text.left(markStart) + u'|' + text.mid(markStart, markLength) + u'|' +
               text.mid(markStart + markLength);
    }
};

struct TTextInfo {
    QString FText;
    QList<TTextLine> FLines;
};

} // namespace orvel
