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

// The style of a text holding these breaks: CR alone if CRs and no LFs, LF alone if LFs and
// no CRs, else CR LF (also for a text without any break).
constexpr TLineBreak lineBreakStyle(bool hasCr, bool hasLf) {
    return hasCr && !hasLf ? lbCR : hasLf && !hasCr ? lbLF : lbCRLF;
}

// How a document is written: encoding, byte-order mark and its main line break together.
struct TFileFormat {
    TSynEncoding encoding = seAnsi;
    bool bom = false;
    TLineBreak lineBreak = lbCRLF;
    friend bool operator==(const TFileFormat&, const TFileFormat&) = default;
};

} // namespace orvel
