#pragma once
// A file as the search in files reads it: its bytes as stored, its encoding as a document
// window would detect it, and its text in the editor's form (UTF-8). Replacing splices the
// new text into the stored bytes, so that every byte outside a replacement stays as it was:
// line breaks, a byte-order mark, even bytes the encoding calls malformed.

#include "base/core/Encodings.h"
#include "base/core/Result.h"

#include <QByteArray>
#include <QList>
#include <QString>

namespace orvel {

// What tells that a file changed: its size, last-write time (to the nanosecond) and identity.
struct TFileStamp {
    qint64 size = -1;
    qint64 mtimeNs = 0;
    quint64 inode = 0;
    quint64 device = 0;
    bool exists() const { return size >= 0; }
    friend bool operator==(const TFileStamp&, const TFileStamp&) = default;
};

// The stamp of a file now; size -1 when it does not exist (or is not a regular file).
TFileStamp fileStampOf(const QByteArray& nativePath);

// Bytes that hold a NUL within this many bytes of the start are not text (unless UTF-16).
constexpr qsizetype kTextProbeSize = 8192;

struct TSearchFile {
    enum TKind { Text, NotText, Missing, Failed };

    QByteArray bytes; // as stored
    TSynEncoding encoding = seAnsi;
    bool bom = false;
    TFileStamp stamp; // when it was read
    QString error;    // the reason, for Failed

    // The editor text: the stored bytes themselves for UTF-8 and ASCII, else converted.
    QByteArrayView text() const;
    // Where the text starts in the stored bytes; -1 when it is converted.
    qsizetype textOffset() const { return m_isConverted ? -1 : m_textOffset; }

    // Reads the file into this object, reusing its buffers, and decodes it. With
    // watchChanges the file gets its stamp, one no file fits when it changes while it is
    // read; without, no stamp.
    TKind read(const QByteArray& nativePath, bool watchChanges = true);
    // The same in two steps: the stored bytes (Text once read), then what they are.
    TKind load(const QByteArray& nativePath, bool watchChanges);
    TKind decode();
    // What the stored bytes are before decoding: UTF-16 with its mark, or not text at all
    // (a NUL among the first kTextProbeSize bytes).
    bool isUtf16() const;
    bool looksBinary() const;
    // Takes text held by a document window (UTF-8) as the file's text.
    void setEditorText(QByteArray utf8);

    // Sets up from bytes already read.
    TKind take(QByteArray data);

private:
    QByteArray m_converted;
    qsizetype m_textOffset = 0; // where the text starts in bytes, when not converted
    bool m_isConverted = false;
};

// Each range [start, start + length) of the editor text replaced by replacement: the new
// editor text.
QByteArray replacedText(QByteArrayView text, const QList<qsizetype>& starts, qsizetype length,
                        QByteArrayView replacement);

// The stored bytes with the same replacements, in the file's encoding. Fails, listing the
// characters, when the encoding cannot hold the replacement.
TResult<QByteArray> replacedBytes(const TSearchFile& file, const QList<qsizetype>& starts,
                                  qsizetype length, const QString& replacement);

} // namespace orvel
