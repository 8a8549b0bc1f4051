#pragma once
// UTF-16 positions of a UTF-8 text held elsewhere, without counting from the start each
// time. The text is cut into chunks whose unit counts are kept; an edit only marks the
// chunks it touches, which are counted again when a question reaches them. Units follow
// Utf8Columns: a byte that starts no well-formed sequence is one unit.

#include <QByteArrayView>
#include <functional>
#include <vector>

namespace orvel {

class TUtf16Index {
public:
    // Gives the bytes [start, start + length) of the text; the view must stay valid until
    // the next call.
    using Reader = std::function<QByteArrayView(qsizetype start, qsizetype length)>;

    explicit TUtf16Index(Reader read, qsizetype chunkSize = 16 * 1024);

    // The whole text was replaced: only its length is known.
    void reset(qsizetype length);
    // Told before each change, while the text is still as it was.
    void beforeInsert(qsizetype pos, qsizetype length);
    void beforeDelete(qsizetype pos, qsizetype length);

    qsizetype length() const { return m_length; }
    // UTF-16 units of the bytes in [from, to): a sequence counts whole where its first
    // byte is. Only the chunks in between are counted.
    qsizetype unitsBetween(qsizetype from, qsizetype to);
    qsizetype unitsBefore(qsizetype pos) { return unitsBetween(0, pos); }
    // CR LF pairs whose LF lies before pos.
    qsizetype crLfBefore(qsizetype pos);
    // The first byte, from `from` on, at which `units` units have passed: the start of the
    // character that holds unit number `units`, at most `limit`.
    qsizetype positionOfUnits(qsizetype from, qsizetype units, qsizetype limit);

    // Counts chunks not yet counted, at least one, for about the given time; true while
    // some are left.
    bool countSome(int milliseconds);

private:
    struct Chunk {
        qsizetype bytes = 0;
        qsizetype units = 0;
        qsizetype crLf = 0;
        bool counted = false;
    };
    struct Counts {
        qsizetype units = 0;
        qsizetype crLf = 0;
    };

    Counts countRange(qsizetype start, qsizetype end) const;
    void count(std::size_t chunk);
    qsizetype startOf(std::size_t chunk);
    void invalidateStarts(std::size_t from);
    std::size_t chunkAt(qsizetype pos); // the chunk holding byte pos (the last for the end)
    void setBytes(std::size_t chunk, qsizetype bytes);
    void markAround(qsizetype pos); // neighbours of an edit may count differently
    void split(std::size_t chunk);

    Reader m_read;
    qsizetype m_chunkSize;
    qsizetype m_length = 0;
    std::vector<Chunk> m_chunks;
    std::vector<qsizetype> m_starts; // byte start of each chunk, valid below m_startsValid
    std::size_t m_startsValid = 1;
    qsizetype m_empty = 0;            // chunks without bytes
    std::size_t m_firstUncounted = 0; // no chunk below it needs counting
};

} // namespace orvel
