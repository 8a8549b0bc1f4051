#include "textcontrol/core/Utf16Index.h"

#include "textcontrol/core/Utf8Columns.h"

#include <QElapsedTimer>
#include <algorithm>
#include <cstring>

namespace orvel {

namespace {
// A sequence is at most four bytes: whether a byte counts depends on three on each side.
constexpr qsizetype kReach = 3;

inline bool isCont(unsigned char c) {
    return (c & 0xC0) == 0x80;
}

// Walks the bytes [start, end) of a view of the text that begins at `base` and reaches up
// to kReach bytes beyond both ends, calling visit(position, units) for every byte that
// starts a character.
template <typename Visit>
void walk(QByteArrayView view, qsizetype base, qsizetype start, qsizetype end, Visit visit) {
    const auto* p = reinterpret_cast<const unsigned char*>(view.data());
    qsizetype i = start - base;
    const qsizetype stop = end - base;
    // Continuation bytes at the start: part of a sequence begun before, or strays.
    while (i < stop && isCont(p[i])) {
        qsizetype k = i - 1;
        while (k >= 0 && k >= i - kReach && isCont(p[k]))
            --k;
        const bool owned =
            k >= 0 && k >= i - kReach && !isCont(p[k]) && utf8SequenceLength(view, k) > i - k;
        if (!owned && !visit(base + i, 1))
            return;
        ++i;
    }
    while (i < stop) {
        // Plain ASCII goes eight bytes at a time.
        while (i + 8 <= stop) {
            quint64 w;
            std::memcpy(&w, p + i, 8);
            if (w & 0x8080808080808080ull)
                break;
            for (int n = 0; n < 8; ++n)
                if (!visit(base + i + n, 1))
                    return;
            i += 8;
        }
        if (i >= stop)
            break;
        const qsizetype len = p[i] < 0x80 ? 1 : utf8SequenceLength(view, i);
        if (!visit(base + i, len == 4 ? 2 : 1))
            return;
        i += len;
    }
}
} // namespace

TUtf16Index::TUtf16Index(Reader read, qsizetype chunkSize)
    : m_read(std::move(read)), m_chunkSize(qMax<qsizetype>(16, chunkSize)) {
    reset(0);
}

void TUtf16Index::reset(qsizetype length) {
    m_length = length;
    m_chunks.assign(std::size_t(qMax<qsizetype>(1, (length + m_chunkSize - 1) / m_chunkSize)),
                    Chunk{});
    for (std::size_t k = 0; k < m_chunks.size(); ++k)
        m_chunks[k].bytes = qMin(m_chunkSize, length - qsizetype(k) * m_chunkSize);
    m_empty = length == 0 ? 1 : 0;
    invalidateStarts(0);
    m_firstUncounted = 0;
}

void TUtf16Index::invalidateStarts(std::size_t from) {
    m_starts.resize(m_chunks.size() + 1);
    m_starts[0] = 0;
    m_startsValid = qBound<std::size_t>(1, from, m_startsValid);
}

qsizetype TUtf16Index::startOf(std::size_t k) {
    // Starts are summed up lazily: edits in one place leave the ones before it valid.
    for (; m_startsValid <= k; ++m_startsValid)
        m_starts[m_startsValid] = m_starts[m_startsValid - 1] + m_chunks[m_startsValid - 1].bytes;
    return m_starts[k];
}

std::size_t TUtf16Index::chunkAt(qsizetype pos) {
    const std::size_t last = m_chunks.size() - 1;
    if (pos >= m_length)
        return last;
    pos = qMax<qsizetype>(0, pos);
    while (m_startsValid <= last && m_starts[m_startsValid - 1] <= pos)
        startOf(m_startsValid);
    // The last chunk starting at or before pos: one that holds bytes, as pos is inside.
    const auto end = m_starts.begin() + qsizetype(qMin(m_startsValid, last + 1));
    return std::size_t(std::upper_bound(m_starts.begin(), end, pos) - m_starts.begin()) - 1;
}

void TUtf16Index::setBytes(std::size_t k, qsizetype bytes) {
    m_empty += (bytes == 0 ? 1 : 0) - (m_chunks[k].bytes == 0 ? 1 : 0);
    m_chunks[k].bytes = bytes;
    m_chunks[k].counted = false;
    m_firstUncounted = qMin(m_firstUncounted, k);
    invalidateStarts(k + 1);
}

void TUtf16Index::markAround(qsizetype pos) {
    // Every chunk within reach, however short edits have made them.
    const std::size_t first = chunkAt(qMax<qsizetype>(0, pos - kReach - 1));
    const std::size_t last = chunkAt(qMin(m_length, pos + kReach));
    for (std::size_t k = first; k <= last; ++k)
        m_chunks[k].counted = false;
    m_firstUncounted = qMin(m_firstUncounted, first);
}

void TUtf16Index::beforeInsert(qsizetype pos, qsizetype length) {
    if (length <= 0)
        return;
    pos = qBound<qsizetype>(0, pos, m_length);
    const std::size_t k = chunkAt(pos);
    setBytes(k, m_chunks[k].bytes + length);
    m_length += length;
    if (m_chunks[k].bytes > 2 * m_chunkSize)
        split(k);
    markAround(pos);
    markAround(pos + length);
}

void TUtf16Index::beforeDelete(qsizetype pos, qsizetype length) {
    pos = qBound<qsizetype>(0, pos, m_length);
    length = qMin(length, m_length - pos);
    if (length <= 0)
        return;
    std::size_t k = chunkAt(pos);
    qsizetype rest = length;
    qsizetype at = pos - startOf(k); // where the deletion starts in chunk k
    for (; rest > 0 && k < m_chunks.size(); ++k, at = 0) {
        const qsizetype cut = qMin(rest, m_chunks[k].bytes - at);
        if (cut > 0)
            setBytes(k, m_chunks[k].bytes - cut);
        rest -= cut;
    }
    m_length -= length;
    markAround(pos);
    // Keep the list short after large deletions.
    if (m_empty > 16 && std::size_t(m_empty) * 2 > m_chunks.size()) {
        std::erase_if(m_chunks, [](const Chunk& c) { return c.bytes == 0; });
        if (m_chunks.empty())
            m_chunks.push_back(Chunk{});
        m_empty = m_chunks.front().bytes == 0 ? 1 : 0;
        invalidateStarts(0);
        m_firstUncounted = 0;
    }
}

TUtf16Index::Counts TUtf16Index::countRange(qsizetype start, qsizetype end) const {
    Counts c;
    if (end <= start)
        return c;
    const qsizetype base = qMax<qsizetype>(0, start - kReach);
    const QByteArrayView view = m_read(base, qMin(m_length, end + kReach) - base);
    walk(view, base, start, end, [&c](qsizetype, int units) {
        c.units += units;
        return true;
    });
    // A pair belongs where its LF is; the CR may lie just before the range.
    const char* p = view.data();
    const char* stop = p + (end - base);
    for (const char* lf = p + (start - base); lf < stop;) {
        lf = static_cast<const char*>(std::memchr(lf, '\n', std::size_t(stop - lf)));
        if (!lf)
            break;
        if (lf > p && lf[-1] == '\r')
            ++c.crLf;
        ++lf;
    }
    return c;
}

void TUtf16Index::split(std::size_t k) {
    // A chunk grown by a large insertion is cut to size again.
    const qsizetype bytes = m_chunks[k].bytes;
    std::vector<Chunk> parts(std::size_t((bytes + m_chunkSize - 1) / m_chunkSize));
    for (std::size_t i = 0; i < parts.size(); ++i)
        parts[i].bytes = qMin(m_chunkSize, bytes - qsizetype(i) * m_chunkSize);
    m_chunks.erase(m_chunks.begin() + qsizetype(k));
    m_chunks.insert(m_chunks.begin() + qsizetype(k), parts.begin(), parts.end());
    invalidateStarts(k + 1);
    m_firstUncounted = qMin(m_firstUncounted, k);
}

void TUtf16Index::count(std::size_t k) {
    const qsizetype start = startOf(k);
    const Counts c = countRange(start, start + m_chunks[k].bytes);
    m_chunks[k].units = c.units;
    m_chunks[k].crLf = c.crLf;
    m_chunks[k].counted = true;
}

bool TUtf16Index::countSome(int milliseconds) {
    QElapsedTimer clock;
    clock.start();
    bool counted = false;
    while (m_firstUncounted < m_chunks.size()) {
        if (!m_chunks[m_firstUncounted].counted) {
            if (counted && clock.elapsed() >= milliseconds)
                return true;
            count(m_firstUncounted);
            counted = true;
        }
        ++m_firstUncounted;
    }
    return false;
}

qsizetype TUtf16Index::unitsBetween(qsizetype from, qsizetype to) {
    from = qBound<qsizetype>(0, from, m_length);
    to = qBound(from, to, m_length);
    const std::size_t first = chunkAt(from);
    const std::size_t last = chunkAt(to);
    if (first == last)
        return countRange(from, to).units;
    qsizetype units = countRange(from, startOf(first) + m_chunks[first].bytes).units;
    for (std::size_t k = first + 1; k < last; ++k) {
        if (!m_chunks[k].counted)
            count(k);
        units += m_chunks[k].units;
    }
    return units + countRange(startOf(last), to).units;
}

qsizetype TUtf16Index::crLfBefore(qsizetype pos) {
    pos = qBound<qsizetype>(0, pos, m_length);
    const std::size_t k = chunkAt(pos);
    qsizetype pairs = 0;
    for (std::size_t i = 0; i < k; ++i) {
        if (!m_chunks[i].counted)
            count(i);
        pairs += m_chunks[i].crLf;
    }
    return pairs + countRange(startOf(k), pos).crLf;
}

qsizetype TUtf16Index::positionOfUnits(qsizetype from, qsizetype units, qsizetype limit) {
    from = qBound<qsizetype>(0, from, m_length);
    limit = qBound(from, limit, m_length);
    if (units <= 0)
        return from;
    // Whole chunks first, then the bytes of the chunk where the count is reached.
    std::size_t k = chunkAt(from);
    qsizetype at = from;
    qsizetype left = units;
    for (;;) {
        const qsizetype start = startOf(k);
        const qsizetype end = start + m_chunks[k].bytes;
        const qsizetype chunkEnd = qMin(limit, end);
        if (at == start && chunkEnd == end && chunkEnd < limit) {
            if (!m_chunks[k].counted)
                count(k);
            if (m_chunks[k].units <= left) {
                left -= m_chunks[k].units;
                at = chunkEnd;
                ++k;
                continue;
            }
        }
        const qsizetype base = qMax<qsizetype>(0, at - kReach);
        const QByteArrayView view = m_read(base, qMin(m_length, chunkEnd + kReach) - base);
        qsizetype found = -1;
        walk(view, base, at, chunkEnd, [&](qsizetype p, int w) {
            if (w > left) {
                found = p;
                return false;
            }
            left -= w;
            return true;
        });
        if (found >= 0)
            return found;
        if (chunkEnd >= limit || k + 1 >= m_chunks.size())
            return limit;
        at = chunkEnd;
        ++k;
    }
}

} // namespace orvel
