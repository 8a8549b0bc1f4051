#include "search/core/MatchWalk.h"

#include <bit>
#include <cstring>
#include <emmintrin.h>
#include <vector>

namespace orvel {

namespace {

// A cancel request is seen after at most this many bytes of a large text.
constexpr qsizetype kCancelSlice = 4 << 20;

bool isBlankOrControl(char c) {
    return static_cast<unsigned char>(c) <= ' ';
}

bool isContinuation(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// The first CR or LF from p on, before end; nullptr when there is none.
const char* nextBreak(const char* p, const char* end) {
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i lf = _mm_set1_epi8('\n');
    for (; end - p >= 16; p += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const unsigned mask =
            unsigned(_mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(v, cr), _mm_cmpeq_epi8(v, lf))));
        if (mask)
            return p + std::countr_zero(mask);
    }
    for (; p < end; ++p)
        if (*p == '\r' || *p == '\n')
            return p;
    return nullptr;
}

// UTF-16 units of editor text: one for each character, two for each beyond the BMP. Editor
// text is well-formed (a lone surrogate kept from a UTF-16 file is one three-byte
// character), so counting the bytes that start a character is enough.
qsizetype utf16Units(QByteArrayView bytes) {
    const char* p = bytes.data();
    const char* const end = p + bytes.size();
    // Counted in the vector itself: a byte of each kind adds one to its lane's sum.
    const __m128i belowLead = _mm_set1_epi8(char(0xC0));  // signed: continuations lie below,
    const __m128i aboveThree = _mm_set1_epi8(char(0xEF)); // four-byte leads above this
    const __m128i zero = _mm_setzero_si128();             // and below ASCII
    const __m128i one = _mm_set1_epi8(1);
    __m128i sums = zero; // continuations minus four-byte leads, in two 64-bit lanes
    __m128i leads = zero;
    for (; end - p >= 16; p += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const __m128i cont = _mm_and_si128(_mm_cmplt_epi8(v, belowLead), one);
        const __m128i lead4 = _mm_and_si128(
            _mm_and_si128(_mm_cmpgt_epi8(v, aboveThree), _mm_cmplt_epi8(v, zero)), one);
        sums = _mm_add_epi64(sums, _mm_sad_epu8(cont, zero));
        leads = _mm_add_epi64(leads, _mm_sad_epu8(lead4, zero));
    }
    qsizetype continuations =
        _mm_cvtsi128_si64(sums) + _mm_cvtsi128_si64(_mm_unpackhi_epi64(sums, sums));
    qsizetype fourByte =
        _mm_cvtsi128_si64(leads) + _mm_cvtsi128_si64(_mm_unpackhi_epi64(leads, leads));
    for (; p < end; ++p) {
        const auto c = static_cast<signed char>(*p);
        continuations += c < static_cast<signed char>(0xC0);
        fourByte += c > static_cast<signed char>(0xEF) && c < 0;
    }
    return bytes.size() - continuations + fourByte;
}

// Walks a text line by line, forward only; CR LF, LF and CR end lines.
class TLineCursor {
public:
    explicit TLineCursor(QByteArrayView text) : m_text(text) {}

    // Moves to pos; line and lineStart then describe its line.
    void moveTo(qsizetype pos) {
        const char* t = m_text.data();
        while (m_pos < pos) {
            const char* b = nextBreak(t + m_pos, t + pos);
            if (!b) {
                m_pos = pos;
                break;
            }
            const qsizetype i = b - t;
            // The CR of a CR LF leaves the counting to its LF.
            if (*b == '\n' || i + 1 >= m_text.size() || t[i + 1] != '\n') {
                ++m_line;
                m_lineStart = i + 1;
            }
            m_pos = i + 1;
        }
    }
    qsizetype lineEnd(qsizetype from) const {
        const char* b = nextBreak(m_text.data() + from, m_text.data() + m_text.size());
        return b ? b - m_text.data() : m_text.size();
    }
    int line() const { return m_line; }
    qsizetype lineStart() const { return m_lineStart; }

private:
    QByteArrayView m_text;
    qsizetype m_pos = 0;
    int m_line = 1;
    qsizetype m_lineStart = 0;
};

} // namespace

TMatchWalk::TMatchWalk(const TTextMatcher& matcher, QByteArrayView text, bool replacing,
                       QByteArrayView replacement)
    : m_matcher(matcher), m_text(text), m_replacement(replacement), m_replacing(replacing) {
}

bool TMatchWalk::next(const std::atomic<bool>* cancel) {
    m_start = -1;
    const qsizetype n = m_text.size();
    std::optional<TCharClass> before;
    if (m_replacing && m_from == m_replacedEnd)
        before = m_classAfterReplaced;
    while (!m_matcher.isEmpty() && m_from + m_matcher.length() <= n) {
        const qsizetype limit = qMin(n, m_from + kCancelSlice);
        const qsizetype at = m_matcher.find(m_text, m_from, limit, before);
        if (at >= 0) {
            m_start = at;
            m_from = at + m_matcher.length();
            return true;
        }
        m_from = limit;
        before.reset();
        if (cancel && cancel->load(std::memory_order_relaxed))
            return false;
    }
    return false;
}

void TMatchWalk::accept() {
    if (m_start < 0)
        return;
    m_accepted << m_start;
    if (!m_replacing)
        return;
    // The character before the text that follows is now the replacement's last one.
    if (!m_replacement.isEmpty())
        m_classAfterReplaced = classBefore(m_replacement, m_replacement.size());
    else if (m_start != m_replacedEnd)
        m_classAfterReplaced = m_start == 0 ? TCharClass::None : classBefore(m_text, m_start);
    m_replacedEnd = end();
}

QList<qsizetype> TMatchWalk::acceptedAfterReplacing() const {
    QList<qsizetype> out;
    out.reserve(m_accepted.size());
    const qsizetype growth = m_replacement.size() - m_matcher.length();
    for (qsizetype i = 0; i < m_accepted.size(); ++i)
        out << m_accepted[i] + i * growth;
    return out;
}

void hitLines(TTextInfo& info, QByteArrayView text, const QList<qsizetype>& starts,
              qsizetype length) {
    QList<TTextLine>& lines = info.FLines;
    lines.clear();
    lines.reserve(starts.size());
    // The excerpts' bounds first, then one buffer of their exact size: a buffer grown and
    // squeezed would be copied again and again.
    std::vector<std::pair<qsizetype, qsizetype>> pieces;
    qsizetype excerptsSize = 0;
    TLineCursor cursor(text);
    qsizetype i = 0;
    while (i < starts.size()) {
        // One line: its bounds, trimmed, and the first column known on it.
        cursor.moveTo(starts[i]);
        const int lineNo = cursor.line();
        const qsizetype ls = cursor.lineStart();
        const qsizetype le = cursor.lineEnd(starts[i]);
        qsizetype firstText = ls;
        while (firstText < le && (text[firstText] == ' ' || text[firstText] == '\t'))
            ++firstText;
        qsizetype trimStart = ls;
        while (trimStart < le && isBlankOrControl(text[trimStart]))
            ++trimStart;
        qsizetype trimEnd = le;
        while (trimEnd > trimStart && isBlankOrControl(text[trimEnd - 1]))
            --trimEnd;
        qsizetype colAt = ls;
        qsizetype col = 0;
        // The hits of this line, a stretch at a time: close hits share one excerpt, which
        // keeps to their neighbourhood when the line is long.
        do {
            qsizetype last = i;
            while (last + 1 < starts.size() && starts[last + 1] < le &&
                   starts[last + 1] - (starts[last] + length) <= kContextBefore + kContextAfter)
                ++last;
            qsizetype from = qMax(trimStart, qMin(starts[i], trimEnd) - kContextBefore);
            while (from > trimStart && isContinuation(text[from]))
                --from;
            qsizetype to = qMin(trimEnd, starts[last] + length + kContextAfter);
            while (to < trimEnd && isContinuation(text[to]))
                ++to;
            to = qMax(from, to);
            const int excerptAt = int(excerptsSize);
            pieces.emplace_back(from, to - from);
            excerptsSize += to - from;
            for (; i <= last; ++i) {
                const qsizetype start = starts[i];
                const qsizetype end = start + length;
                TTextLine hit;
                hit.from = excerptAt;
                hit.length = int(to - from);
                hit.cutBefore = from > trimStart;
                hit.cutAfter = to < trimEnd;
                // Columns count UTF-16 units; a long line with many hits is walked once.
                col += utf16Units(text.sliced(colAt, start - colAt));
                colAt = start;
                hit.pos.BBegin = TBufferCoord{int(col + 1), lineNo};
                if (end <= le) {
                    hit.pos.BEnd =
                        TBufferCoord{int(col + 1 + utf16Units(text.sliced(start, length))), lineNo};
                } else {
                    TLineCursor endCursor = cursor;
                    endCursor.moveTo(end);
                    const qsizetype els = endCursor.lineStart();
                    hit.pos.BEnd = TBufferCoord{int(1 + utf16Units(text.sliced(els, end - els))),
                                                endCursor.line()};
                }
                hit.pos.FSpaces = int(1 + firstText - ls);
                // The mark stays inside the trimmed line: a hit running on to a later line
                // is marked up to the line's end.
                const qsizetype markStart = qBound(from, start, to);
                const qsizetype markEnd = qBound(markStart, end, to);
                hit.markStart = int(markStart - from);
                hit.markLength = int(markEnd - markStart);
                lines << std::move(hit);
            }
        } while (i < starts.size() && starts[i] < le);
    }
    info.FSource = QByteArray(excerptsSize, Qt::Uninitialized);
    char* out = info.FSource.data();
    for (const auto& [from, size] : pieces) {
        std::memcpy(out, text.data() + from, size_t(size));
        out += size;
    }
}

} // namespace orvel
