#pragma once
// Reading and writing whole text files for the editor.

#include "base/core/AtomicFile.h"
#include "base/core/TextCodec.h"

#include <QString>
#include <functional>

namespace orvel {

struct TLoadedText {
    QByteArray text; // editor text, UTF-8
    TSynEncoding encoding = seAnsi;
    bool bom = false;
    TLineBreak lineBreak = lbCRLF;
    QString error; // empty on success: the system's reason otherwise
    bool ok() const { return error.isNull(); }
};

// Reads a file, detects its encoding and line-break style and converts it to editor text.
TLoadedText loadTextFile(const QString& fileName);

// The same, handing the editor text to `append` piece by piece so that a large file is never
// held twice. When text that looked like UTF-8 turns out not to be, `restart` is called and
// the whole text comes again as ANSI. The result carries no text.
TLoadedText streamTextFile(const QString& fileName,
                           const std::function<void(QByteArrayView)>& append,
                           const std::function<void()>& restart, qsizetype pieceSize = 8 << 20);

struct TSaveResult {
    QString error;               // empty on success
    QList<char32_t> unencodable; // set when the encoding cannot hold the text; nothing written
    bool ok() const { return error.isNull() && unencodable.isEmpty(); }
};

// Encodes editor text, each line break as it stands, and writes it atomically: on any failure
// the old file stays intact.
TSaveResult saveTextFile(const QString& fileName, QByteArrayView utf8, TSynEncoding encoding,
                         bool bom);
// The same with every line break written in the style.
TSaveResult saveTextFile(const QString& fileName, QByteArrayView utf8, TSynEncoding encoding,
                         bool bom, TLineBreak lineBreak);

} // namespace orvel
