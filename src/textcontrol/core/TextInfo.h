#pragma once
// A text with its lines, and a marked block inside a text: the data of text macros, search
// results and anchor lists.

#include "textcontrol/core/TextTypes.h"

#include <QByteArray>
#include <QByteArrayView>
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

// One line of a list of search hits or anchors: an excerpt of the line with its marked part
// (the hit, the anchor's name) and the block of the file it stands for. The excerpts of one
// file lie one after the other in one UTF-8 buffer, the text's FSource, so that a hundred
// thousand hits stay small: the line holds where its excerpt lies, not the bytes.
struct TTextLine {
    int from = 0; // the excerpt: bytes from..from+length of the source
    int length = 0;
    int markStart = -1; // the marked part, in bytes from the excerpt's start; -1 for none
    int markLength = 0;
    bool cutBefore = false; // the line goes on before and after the excerpt
    bool cutAfter = false;
    TTextBlockPos pos;

    // The excerpt, with "…" where the line goes on.
    QString text(QByteArrayView source) const;
    // As a list shows a marked line: its number, ": " and the text around the mark (cut
    // further when long); shownMark and shownLength receive the mark's place in it.
    QString shown(QByteArrayView source, int* shownMark = nullptr,
                  int* shownLength = nullptr) const;
    // The same with "|" before and after the mark.
    QString markedText(QByteArrayView source) const;
};

struct TTextInfo {
    QString FText;
    QList<TTextLine> FLines;
    QByteArray FSource; // the excerpts of FLines (UTF-8)

    // A line's texts, as TTextLine gives them, from this text's excerpts.
    QString shownLine(qsizetype i, int* shownMark = nullptr, int* shownLength = nullptr) const {
        return FLines.at(i).shown(FSource, shownMark, shownLength);
    }
    QString markedLine(qsizetype i) const { return FLines.at(i).markedText(FSource); }
};

} // namespace orvel
