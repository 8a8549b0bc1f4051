#pragma once
// Types shared by the editor component and the code built on it.

#include "base/core/Encodings.h"

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

} // namespace orvel
