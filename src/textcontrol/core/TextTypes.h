#pragma once
// Types shared by the editor component and the code built on it.

#include <QtGlobal>

namespace orvel {

// The encoding a document is saved in, in stored order.
enum TSynEncoding : int { seUTF8, seUTF16LE, seUTF16BE, seAnsi };

// Line-break style of a file: the breaks written when its lines are saved.
enum TLineBreak : int { lbCRLF, lbLF, lbCR };

// The characters of a line break.
constexpr const char* lineBreakText(TLineBreak lb) {
    return lb == lbLF ? "\n" : lb == lbCR ? "\r" : "\r\n";
}

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
