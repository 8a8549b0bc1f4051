#pragma once
// Types shared by the editor component and the code built on it.

#include "base/core/Encodings.h"

#include <QString>
#include <QtGlobal>

namespace orvel {

// An editor position; Char and Line count from 1, Char in UTF-16 code units.
struct TBufferCoord {
    int Char = 1;
    int Line = 1;
    friend bool operator==(const TBufferCoord&, const TBufferCoord&) = default;
    friend bool operator<(const TBufferCoord& a, const TBufferCoord& b) {
        return a.Line < b.Line || (a.Line == b.Line && a.Char < b.Char);
    }
};

// A stretch of one line: start and length in UTF-16 code units from the line's start.
struct TLineRange {
    int start = 0;
    int length = 0;
    friend bool operator==(const TLineRange&, const TLineRange&) = default;
};

// A stretch of one line in one highlighter attribute.
struct TAttrRun {
    int start = 0;
    int length = 0;
    QString attribute;
};

} // namespace orvel
