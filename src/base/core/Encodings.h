#pragma once
// What a text file is stored as: its encoding and its line breaks.

namespace orvel {

// The encoding a document is saved in, in stored order.
enum TSynEncoding : int { seUTF8, seUTF16LE, seUTF16BE, seAnsi };

// Line-break style of a file: the breaks written when its lines are saved.
enum TLineBreak : int { lbCRLF, lbLF, lbCR };

// The characters of a line break.
constexpr const char* lineBreakText(TLineBreak lb) {
    return lb == lbLF ? "\n" : lb == lbCR ? "\r" : "\r\n";
}

// How a document is written: encoding, byte-order mark and its main line break together.
struct TFileFormat {
    TSynEncoding encoding = seAnsi;
    bool bom = false;
    TLineBreak lineBreak = lbCRLF;
    friend bool operator==(const TFileFormat&, const TFileFormat&) = default;
};

} // namespace orvel
