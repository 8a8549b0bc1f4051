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

// One line of a TTextInfo: its text and, for search results and anchors, the marked part of
// it (the hit, the anchor's name) and the block of the file it stands for. The hits of one
// line share its text.
struct TTextLine {
    QString text;
    int markStart = -1; // UTF-16 index into text; -1 when nothing is marked
    int markLength = 0;
    TTextBlockPos pos;

    // As a list shows a marked line: its number, ": " and the text around the mark (cut,
    // with "…", where the line is long); shownMark receives the mark's index in it.
    QString shown(int* shownMark = nullptr) const;
    // The same with "|" before and after the mark.
    QString markedText() const;
};

struct TTextInfo {
    QString FText;
    QList<TTextLine> FLines;
};

} // namespace orvel
