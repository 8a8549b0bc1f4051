#include "search/core/TextMatcher.h"

#include <QChar>
#include <array>
#include <bit>
#include <cstring>
#include <immintrin.h>

namespace orvel {

namespace {

using uchar = unsigned char;

constexpr std::array<uchar, 256> makeFold() {
    std::array<uchar, 256> fold{};
    for (int c = 0; c < 256; ++c)
        fold[c] = c >= 'A' && c <= 'Z' ? uchar(c + 32) : uchar(c);
    return fold;
}
constexpr std::array<uchar, 256> kFold = makeFold();

constexpr std::array<TCharClass, 128> makeAsciiClasses() {
    std::array<TCharClass, 128> classes{};
    for (int c = 0; c < 128; ++c) {
        const bool alnum =
            (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
        if (c == '\r' || c == '\n')
            classes[c] = TCharClass::LineBreak;
        else if (c < 0x20 || c == ' ')
            classes[c] = TCharClass::Blank;
        else if (alnum || c == '_')
            classes[c] = TCharClass::Word;
        else
            classes[c] = TCharClass::Punctuation;
    }
    return classes;
}
constexpr std::array<TCharClass, 128> kAsciiClasses = makeAsciiClasses();

constexpr char32_t kInvalid = 0xFFFFFFFF;

// The code point of the well-formed sequence at p (its length in len), else kInvalid with
// len 1: the editor reads a malformed byte as one replacement character.
char32_t decodeAt(const uchar* p, qsizetype avail, int& len) {
    len = 1;
    const uchar c = p[0];
    const auto cont = [&](int i) { return i < avail && (p[i] & 0xC0) == 0x80; };
    if (c >= 0xC2 && c <= 0xDF) {
        if (!cont(1))
            return kInvalid;
        len = 2;
        return (char32_t(c & 0x1F) << 6) | (p[1] & 0x3F);
    }
    if (c >= 0xE0 && c <= 0xEF) {
        if (!cont(1) || !cont(2) || (c == 0xE0 && p[1] < 0xA0) || (c == 0xED && p[1] >= 0xA0))
            return kInvalid;
        len = 3;
        return (char32_t(c & 0x0F) << 12) | (char32_t(p[1] & 0x3F) << 6) | (p[2] & 0x3F);
    }
    if (c >= 0xF0 && c <= 0xF4) {
        if (!cont(1) || !cont(2) || !cont(3) || (c == 0xF0 && p[1] < 0x90) ||
            (c == 0xF4 && p[1] >= 0x90))
            return kInvalid;
        len = 4;
        return (char32_t(c & 0x07) << 18) | (char32_t(p[1] & 0x3F) << 12) |
               (char32_t(p[2] & 0x3F) << 6) | (p[3] & 0x3F);
    }
    return kInvalid;
}

TCharClass classOfDecoded(char32_t cp) {
    return cp == kInvalid ? TCharClass::Punctuation : charClassOf(cp);
}

} // namespace

TCharClass charClassOf(char32_t cp) {
    if (cp < 0x80)
        return kAsciiClasses[cp];
    // The editor takes non-characters for malformed text.
    if ((cp >= 0xFDD0 && cp <= 0xFDEF) || (cp & 0xFFFE) == 0xFFFE)
        return TCharClass::Punctuation;
    // Its category table stops at Unicode 11: anything younger is unassigned there.
    if (QChar::unicodeVersion(cp) > QChar::Unicode_11_0)
        return TCharClass::Blank;
    switch (QChar::category(cp)) {
    case QChar::Separator_Line:
    case QChar::Separator_Paragraph:
        return TCharClass::LineBreak;
    case QChar::Separator_Space:
    case QChar::Other_Control:
    case QChar::Other_Format:
    case QChar::Other_Surrogate:
    case QChar::Other_PrivateUse:
    case QChar::Other_NotAssigned:
        return TCharClass::Blank;
    case QChar::Letter_Uppercase:
    case QChar::Letter_Lowercase:
    case QChar::Letter_Titlecase:
    case QChar::Letter_Modifier:
    case QChar::Letter_Other:
    case QChar::Number_DecimalDigit:
    case QChar::Number_Letter:
    case QChar::Number_Other:
    case QChar::Mark_NonSpacing:
    case QChar::Mark_SpacingCombining:
    case QChar::Mark_Enclosing:
        return TCharClass::Word;
    default:
        return TCharClass::Punctuation;
    }
}

TCharClass classAfter(QByteArrayView text, qsizetype pos) {
    const auto* p = reinterpret_cast<const uchar*>(text.data()) + pos;
    if (*p < 0x80)
        return kAsciiClasses[*p];
    int len;
    return classOfDecoded(decodeAt(p, text.size() - pos, len));
}

TCharClass classBefore(QByteArrayView text, qsizetype pos) {
    const auto* t = reinterpret_cast<const uchar*>(text.data());
    const uchar last = t[pos - 1];
    if (last < 0x80)
        return kAsciiClasses[last];
    if ((last & 0xC0) != 0x80)
        return TCharClass::Punctuation; // a lead byte without its continuation
    qsizetype start = pos - 1;
    while (start > 0 && start > pos - 4 && (t[start] & 0xC0) == 0x80)
        --start;
    int len;
    const char32_t cp = decodeAt(t + start, text.size() - start, len);
    return start + len == pos ? classOfDecoded(cp) : TCharClass::Punctuation;
}

TTextMatcher::TTextMatcher(const QString& search, bool matchCase, bool wholeWord)
    : m_needle(search.toUtf8()), m_matchCase(matchCase), m_wholeWord(wholeWord) {
    prepare();
}

TTextMatcher TTextMatcher::forBytes(QByteArray needle, bool matchCase) {
    TTextMatcher m;
    m.m_needle = std::move(needle);
    m.m_matchCase = matchCase;
    m.prepare();
    return m;
}

void TTextMatcher::prepare() {
    const bool matchCase = m_matchCase;
    if (m_needle.isEmpty())
        return;
    if (!matchCase)
        for (char& c : m_needle)
            c = char(kFold[uchar(c)]);
    const auto alternative = [matchCase](uchar c) {
        return !matchCase && c >= 'a' && c <= 'z' ? uchar(c - 32) : c;
    };
    m_first = uchar(m_needle.front());
    m_firstAlt = alternative(m_first);
    m_last = uchar(m_needle.back());
    m_lastAlt = alternative(m_last);
}

bool TTextMatcher::equalAt(const uchar* at) const {
    const auto* n = reinterpret_cast<const uchar*>(m_needle.constData());
    const qsizetype m = m_needle.size();
    if (m_matchCase)
        return std::memcmp(at, n, m) == 0;
    for (qsizetype i = 0; i < m; ++i)
        if (kFold[at[i]] != n[i])
            return false;
    return true;
}

// Thirty-two starts at a time where the processor can, as findBytes does sixteen: the first
// candidate from p on, or -1 with p left where the wide steps end.
__attribute__((target("avx2"))) qsizetype
TTextMatcher::findWide(const uchar* t, qsizetype n, qsizetype& p, qsizetype lastStart) const {
    const qsizetype m = m_needle.size();
    const __m256i first = _mm256_set1_epi8(char(m_first));
    const __m256i firstAlt = _mm256_set1_epi8(char(m_firstAlt));
    const __m256i last = _mm256_set1_epi8(char(m_last));
    const __m256i lastAlt = _mm256_set1_epi8(char(m_lastAlt));
    const qsizetype vectorEnd = qMin(lastStart, n - m - 31);
    for (; p <= vectorEnd; p += 32) {
        const __m256i a = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(t + p));
        const __m256i b = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(t + p + m - 1));
        const __m256i hitA =
            _mm256_or_si256(_mm256_cmpeq_epi8(a, first), _mm256_cmpeq_epi8(a, firstAlt));
        const __m256i hitB =
            _mm256_or_si256(_mm256_cmpeq_epi8(b, last), _mm256_cmpeq_epi8(b, lastAlt));
        unsigned mask = unsigned(_mm256_movemask_epi8(_mm256_and_si256(hitA, hitB)));
        while (mask) {
            const qsizetype at = p + std::countr_zero(mask);
            if (at > lastStart) {
                p = lastStart + 1;
                return -1;
            }
            if (equalAt(t + at))
                return at;
            mask &= mask - 1;
        }
    }
    return -1;
}

qsizetype TTextMatcher::findBytes(const uchar* t, qsizetype n, qsizetype from,
                                  qsizetype lastStart) const {
    const qsizetype m = m_needle.size();
    qsizetype p = from;
    static const bool wide = __builtin_cpu_supports("avx2");
    if (wide) {
        const qsizetype at = findWide(t, n, p, lastStart);
        if (at >= 0 || p > lastStart)
            return at;
    }
    // Sixteen starts at a time: a start is worth a closer look only when its first and last
    // bytes fit.
    const __m128i first = _mm_set1_epi8(char(m_first));
    const __m128i firstAlt = _mm_set1_epi8(char(m_firstAlt));
    const __m128i last = _mm_set1_epi8(char(m_last));
    const __m128i lastAlt = _mm_set1_epi8(char(m_lastAlt));
    const qsizetype vectorEnd = qMin(lastStart, n - m - 15); // the last load ends in the text
    for (; p <= vectorEnd; p += 16) {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(t + p));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(t + p + m - 1));
        const __m128i hitA = _mm_or_si128(_mm_cmpeq_epi8(a, first), _mm_cmpeq_epi8(a, firstAlt));
        const __m128i hitB = _mm_or_si128(_mm_cmpeq_epi8(b, last), _mm_cmpeq_epi8(b, lastAlt));
        unsigned mask = unsigned(_mm_movemask_epi8(_mm_and_si128(hitA, hitB)));
        while (mask) {
            const qsizetype at = p + std::countr_zero(mask);
            if (at > lastStart)
                return -1;
            if (equalAt(t + at))
                return at;
            mask &= mask - 1;
        }
    }
    for (; p <= lastStart; ++p)
        if ((t[p] == m_first || t[p] == m_firstAlt) && equalAt(t + p))
            return p;
    return -1;
}

qsizetype TTextMatcher::find(QByteArrayView text, qsizetype from, qsizetype limit,
                             std::optional<TCharClass> classBeforeFrom) const {
    const qsizetype m = m_needle.size();
    const qsizetype n = text.size();
    if (m == 0 || from < 0 || n - from < m)
        return -1;
    qsizetype lastStart = n - m;
    if (limit >= 0 && limit - 1 < lastStart)
        lastStart = limit - 1;
    const auto* t = reinterpret_cast<const uchar*>(text.data());
    qsizetype p = from;
    while (p <= lastStart) {
        const qsizetype at = findBytes(t, n, p, lastStart);
        if (at < 0)
            return -1;
        if (!m_wholeWord || isWordAt(text, at, at + m, at == from ? classBeforeFrom : std::nullopt))
            return at;
        p = at + 1;
    }
    return -1;
}

bool TTextMatcher::isWordAt(QByteArrayView text, qsizetype start, qsizetype end,
                            std::optional<TCharClass> classBeforeStart) {
    const auto isWordOrPunct = [](TCharClass c) {
        return c == TCharClass::Word || c == TCharClass::Punctuation;
    };
    if (start >= end || start >= text.size())
        return false;
    const bool atTextStart = classBeforeStart ? *classBeforeStart == TCharClass::None : start == 0;
    if (!atTextStart) {
        const TCharClass at = classAfter(text, start);
        const TCharClass before = classBeforeStart ? *classBeforeStart : classBefore(text, start);
        if (!isWordOrPunct(at) || at == before)
            return false;
    }
    if (end < text.size()) {
        const TCharClass last = classBefore(text, end);
        if (!isWordOrPunct(last) || last == classAfter(text, end))
            return false;
    }
    return true;
}

} // namespace orvel
