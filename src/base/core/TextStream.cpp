// Reading a file piece by piece into editor text, with the same detection rules as
// detectEncoding applies to a whole file.

#include "base/core/FileSystem.h"
#include "base/core/TextFile.h"

#include <QFile>

namespace orvel {

namespace {

// Bytes at the end that start a UTF-8 sequence the piece does not finish.
qsizetype unfinishedTail(QByteArrayView v) {
    for (qsizetype k = 1; k <= 3 && k <= v.size(); ++k) {
        const auto c = static_cast<unsigned char>(v[v.size() - k]);
        if ((c & 0xC0) == 0x80)
            continue; // a continuation byte: look further back
        const qsizetype len = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
        return len > k ? k : 0;
    }
    return 0;
}

// Counts the breaks of the pieces as of one text: a CR LF may be split between two.
struct BreakScan {
    codec::TBreakCount count;
    bool endsWithCr = false;
    void add(QByteArrayView v) {
        const codec::TBreakCount c = codec::countLineBreaks(v);
        count.crlf += c.crlf;
        count.lf += c.lf;
        count.cr += c.cr;
        if (endsWithCr && v.front() == '\n') {
            --count.cr;
            --count.lf;
            ++count.crlf;
        }
        endsWithCr = v.back() == '\r';
    }
    TLineBreak style() const { return count.main(); }
};

class Reader {
public:
    Reader(QFile& file, qsizetype pieceSize) : m_file(file), m_pieceSize(pieceSize) {}
    // The next piece; empty at the end. error is set when reading fails.
    QByteArray next(QString& error) {
        QByteArray piece = m_file.read(m_pieceSize);
        if (m_file.error() != QFileDevice::NoError)
            error = orUnknown(m_file.errorString());
        return piece;
    }
    bool atEnd() const { return m_file.atEnd(); }
    bool rewind(qint64 pos) { return m_file.seek(pos); }

private:
    QFile& m_file;
    qsizetype m_pieceSize;
};

} // namespace

TLoadedText streamTextFile(const QString& fileName,
                           const std::function<void(QByteArrayView)>& append,
                           const std::function<void()>& restart, qsizetype pieceSize) {
    TLoadedText r;
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        r.error = orUnknown(file.errorString());
        return r;
    }
    pieceSize = qMax<qsizetype>(4, pieceSize & ~qsizetype(1)); // even, for UTF-16
    const qint64 size = file.size();
    const QByteArray head = file.peek(codec::kUtf16SniffLength);
    const auto starts = [&head](const char* bom, int n) {
        return head.size() >= n && std::memcmp(head.constData(), bom, n) == 0;
    };
    Reader reader(file, pieceSize);
    BreakScan breaks;
    const auto deliver = [&](QByteArrayView text) {
        if (!text.isEmpty()) {
            breaks.add(text);
            append(text);
        }
    };

    // UTF-16 with its mark (an odd size cannot be UTF-16: no byte may be lost), or LE
    // without one.
    const bool utf8Bom = starts("\xEF\xBB\xBF", 3);
    const bool leBom = starts("\xFF\xFE", 2) && size % 2 == 0;
    const bool beBom = starts("\xFE\xFF", 2) && size % 2 == 0;
    const bool leBare = !utf8Bom && !leBom && !beBom && codec::looksLikeUtf16Le(head, size);
    if (leBom || beBom || leBare) {
        const bool le = !beBom;
        r.encoding = le ? seUTF16LE : seUTF16BE;
        r.bom = !leBare;
        file.seek(r.bom ? 2 : 0);
        QByteArray carry;
        while (true) {
            QByteArray piece = carry + reader.next(r.error);
            if (!r.error.isNull())
                return r;
            const bool last = reader.atEnd();
            carry.clear();
            // A pair of surrogates must not be split between two pieces.
            if (!last && piece.size() >= 2) {
                const auto hi = static_cast<unsigned char>(le ? piece[piece.size() - 1]
                                                              : piece[piece.size() - 2]);
                if (hi >= 0xD8 && hi <= 0xDB) {
                    carry = piece.right(2);
                    piece.chop(2);
                }
            }
            deliver(codec::toEditorText(piece, r.encoding));
            if (last)
                break;
        }
        r.lineBreak = breaks.style();
        return r;
    }

    // UTF-8, taken as it stands while it stays well-formed.
    if (utf8Bom)
        file.seek(3);
    bool multiByte = false;
    bool wellFormed = true;
    QByteArray carry;
    while (wellFormed) {
        QByteArray piece = carry + reader.next(r.error);
        if (!r.error.isNull())
            return r;
        const bool last = reader.atEnd();
        const qsizetype tail = last ? 0 : unfinishedTail(piece);
        const QByteArrayView whole = QByteArrayView(piece).first(piece.size() - tail);
        bool mb = false;
        if (!codec::isValidUtf8(whole, &mb)) {
            wellFormed = false;
            break;
        }
        multiByte = multiByte || mb;
        deliver(whole);
        carry = piece.right(tail);
        if (last)
            break;
    }
    if (wellFormed) {
        // Pure ASCII reads the same in both; without a mark and a multi-byte sequence it is ANSI.
        r.encoding = utf8Bom || multiByte ? seUTF8 : seAnsi;
        r.bom = utf8Bom;
        r.lineBreak = breaks.style();
        return r;
    }

    // Not UTF-8 after all: everything again, as Windows-1252 (a mark's bytes included).
    restart();
    breaks = BreakScan();
    r.encoding = seAnsi;
    r.bom = false;
    if (!reader.rewind(0)) {
        r.error = orUnknown(file.errorString());
        return r;
    }
    while (true) {
        const QByteArray piece = reader.next(r.error);
        if (!r.error.isNull())
            return r;
        deliver(codec::toEditorText(piece, seAnsi));
        if (reader.atEnd())
            break;
    }
    r.lineBreak = breaks.style();
    return r;
}

} // namespace orvel
