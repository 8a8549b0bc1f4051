#include "base/core/TextCodec.h"

#include <QSet>
#include <QtEndian>
#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <optional>

namespace orvel::codec {

namespace {

using uchar = unsigned char;

// Word-at-a-time scanning: texts are mostly ASCII, so most words need no byte-wise look.
constexpr quint64 kOnes = 0x0101010101010101ULL;
constexpr quint64 kHighBits = 0x8080808080808080ULL;

inline quint64 load64(const uchar* p) {
    quint64 w;
    std::memcpy(&w, p, sizeof w);
    return w;
}

// Index of the first byte whose high bit is set in the mask m (m != 0).
inline int firstMarked(quint64 m) {
    if constexpr (std::endian::native == std::endian::little)
        return std::countr_zero(m) / 8;
    else
        return std::countl_zero(m) / 8;
}

// 0x80 in every byte of w that is zero, and nothing else.
inline quint64 zeroBytes(quint64 w) {
    constexpr quint64 low7 = 0x7F7F7F7F7F7F7F7FULL;
    return ~(((w & low7) + low7) | w | low7);
}

inline quint64 bytesEqual(quint64 w, uchar c) {
    return zeroBytes(w ^ (kOnes * c));
}

// Number of bytes marked 0x80 in m.
inline int countMarked(quint64 m) {
    return int(((m >> 7) * kOnes) >> 56);
}

inline const uchar* firstByte(QByteArrayView v) {
    return reinterpret_cast<const uchar*>(v.data());
}
inline const uchar* pastEnd(QByteArrayView v) {
    return firstByte(v) + v.size();
}

// Windows-1252 for 0x80..0x9F; 0xA0..0xFF equal their code points.
constexpr char16_t kAnsi80[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                  0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                  0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                  0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

struct Utf8Char {
    uchar bytes[3];
    quint8 length;
};

constexpr std::array<Utf8Char, 128> makeAnsiUtf8() {
    std::array<Utf8Char, 128> table{};
    for (int i = 0; i < 128; ++i) {
        const char16_t u = i < 32 ? kAnsi80[i] : char16_t(0x80 + i);
        Utf8Char& c = table[i];
        if (u < 0x800) {
            c = {{uchar(0xC0 | (u >> 6)), uchar(0x80 | (u & 0x3F)), 0}, 2};
        } else {
            c = {{uchar(0xE0 | (u >> 12)), uchar(0x80 | ((u >> 6) & 0x3F)),
                  uchar(0x80 | (u & 0x3F))},
                 3};
        }
    }
    return table;
}

constexpr std::array<Utf8Char, 128> kAnsiUtf8 = makeAnsiUtf8();

struct AnsiByte {
    char16_t unicode;
    uchar byte;
};

// The characters of 0x80..0x9F sorted, for the way back.
constexpr std::array<AnsiByte, 32> makeAnsiSorted() {
    std::array<AnsiByte, 32> table{};
    for (int i = 0; i < 32; ++i)
        table[i] = {kAnsi80[i], uchar(0x80 + i)};
    std::sort(table.begin(), table.end(),
              [](const AnsiByte& a, const AnsiByte& b) { return a.unicode < b.unicode; });
    return table;
}

constexpr std::array<AnsiByte, 32> kAnsiSorted = makeAnsiSorted();

// Length of the well-formed sequence starting with a non-ASCII byte at p, else 0.
// Surrogates (ED A0..BF) are allowed only in editor text, where they stand for lone
// UTF-16 surrogates.
inline int sequenceLength(const uchar* p, const uchar* end, bool allowSurrogates) {
    const uchar c = p[0];
    const qsizetype avail = end - p;
    const auto cont = [](uchar b) { return (b & 0xC0) == 0x80; };
    if (c >= 0xC2 && c <= 0xDF)
        return avail >= 2 && cont(p[1]) ? 2 : 0;
    if (c >= 0xE0 && c <= 0xEF) {
        if (avail < 3 || !cont(p[1]) || !cont(p[2]))
            return 0;
        if (c == 0xE0 && p[1] < 0xA0)
            return 0; // overlong
        if (c == 0xED && p[1] >= 0xA0 && !allowSurrogates)
            return 0;
        return 3;
    }
    if (c >= 0xF0 && c <= 0xF4) {
        if (avail < 4 || !cont(p[1]) || !cont(p[2]) || !cont(p[3]))
            return 0;
        if ((c == 0xF0 && p[1] < 0x90) || (c == 0xF4 && p[1] >= 0x90))
            return 0; // overlong, or above U+10FFFF
        return 4;
    }
    return 0;
}

// Lead bytes: sequence length and the range of the second byte (no overlongs, no
// surrogates, nothing above U+10FFFF).
struct Lead {
    uchar length, low, high;
};

constexpr std::array<Lead, 256> makeLeads() {
    std::array<Lead, 256> leads{};
    for (int c = 0xC2; c <= 0xF4; ++c) {
        const uchar length = c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
        uchar low = 0x80;
        uchar high = 0xBF;
        if (c == 0xE0)
            low = 0xA0;
        else if (c == 0xED)
            high = 0x9F;
        else if (c == 0xF0)
            low = 0x90;
        else if (c == 0xF4)
            high = 0x8F;
        leads[c] = {length, low, high};
    }
    return leads;
}

constexpr std::array<Lead, 256> kLeads = makeLeads();

// Length of the well-formed sequence at p (four bytes readable), else 0. Few branches:
// the lengths of mixed text are too random to predict.
inline int wellFormedLength(const uchar* p) {
    static constexpr quint32 kContinuations[5] = {0, 0, 0xC000, 0xC0C000, 0xC0C0C000};
    const Lead lead = kLeads[p[0]];
    const quint32 mask = kContinuations[lead.length];
    const bool ok = (qFromLittleEndian<quint32>(p) & mask) == (mask & 0x80808080) &&
                    p[1] >= lead.low && p[1] <= lead.high;
    return ok ? lead.length : 0;
}

constexpr char32_t kMalformed = 0xFFFFFFFF;

// One character of editor text at p (advanced past it); kMalformed for a bad byte.
inline char32_t decodeEditorChar(const uchar*& p, const uchar* end) {
    const uchar c = *p;
    if (c < 0x80) {
        ++p;
        return c;
    }
    const int len = sequenceLength(p, end, true);
    char32_t cp = kMalformed;
    switch (len) {
    case 0:
        ++p;
        return kMalformed;
    case 2:
        cp = (char32_t(c & 0x1F) << 6) | (p[1] & 0x3F);
        break;
    case 3:
        cp = (char32_t(c & 0x0F) << 12) | (char32_t(p[1] & 0x3F) << 6) | (p[2] & 0x3F);
        break;
    default:
        cp = (char32_t(c & 0x07) << 18) | (char32_t(p[1] & 0x3F) << 12) |
             (char32_t(p[2] & 0x3F) << 6) | (p[3] & 0x3F);
        break;
    }
    p += len;
    return cp;
}

inline bool isSurrogate(char32_t cp) {
    return cp >= 0xD800 && cp <= 0xDFFF;
}

const uchar* findLineBreak(const uchar* p, const uchar* end) {
    for (; end - p >= 8; p += 8) {
        const quint64 w = load64(p);
        if (const quint64 m = bytesEqual(w, '\r') | bytesEqual(w, '\n'))
            return p + firstMarked(m);
    }
    while (p < end && *p != '\r' && *p != '\n')
        ++p;
    return p;
}

// Calls text(begin, end) for every run between line breaks and lineBreak() for every break
// (CR LF being one).
template <typename Text, typename Break>
void forEachLine(QByteArrayView utf8, Text&& text, Break&& lineBreak) {
    const uchar* p = firstByte(utf8);
    const uchar* const e = pastEnd(utf8);
    for (;;) {
        const uchar* run = p;
        p = findLineBreak(p, e);
        text(run, p);
        if (p == e)
            return;
        p += (*p == '\r' && p + 1 < e && p[1] == '\n') ? 2 : 1;
        lineBreak();
    }
}

struct BreakCensus {
    qsizetype crlf = 0;
    qsizetype cr = 0; // alone
    qsizetype lf = 0; // alone

    // The text already holds only breaks of that style.
    bool onlyBreaksOf(TLineBreak style) const {
        switch (style) {
        case lbLF:
            return crlf + cr == 0;
        case lbCR:
            return crlf + lf == 0;
        default:
            return cr + lf == 0;
        }
    }
    // Characters of a text of that size once its breaks are written in the style.
    qsizetype sizeWith(qsizetype size, std::optional<TLineBreak> style) const {
        if (!style)
            return size;
        return size + (*style == lbCRLF ? cr + lf : -crlf);
    }
    // The break most lines end with; CR LF, then LF, where as many end otherwise.
    TLineBreak main() const {
        if (crlf >= lf && crlf >= cr)
            return lbCRLF;
        return lf >= cr ? lbLF : lbCR;
    }
};

BreakCensus takeCensus(QByteArrayView utf8) {
    const uchar* p = firstByte(utf8);
    const uchar* const e = pastEnd(utf8);
    qsizetype cr = 0;
    qsizetype lf = 0;
    qsizetype crlf = 0;
    // Nine bytes: a CR ending a word is paired with the first byte of the next.
    for (; e - p >= 9; p += 8) {
        const quint64 w = load64(p);
        const quint64 crs = bytesEqual(w, '\r');
        const quint64 lfs = bytesEqual(w, '\n');
        if (!(crs | lfs))
            continue;
        cr += countMarked(crs);
        lf += countMarked(lfs);
        if (crs)
            crlf += countMarked(crs & bytesEqual(load64(p + 1), '\n'));
    }
    for (; p < e; ++p) {
        if (*p == '\r') {
            ++cr;
            crlf += p + 1 < e && p[1] == '\n';
        } else if (*p == '\n') {
            ++lf;
        }
    }
    return {crlf, cr - crlf, lf - crlf};
}

QByteArrayView breakBytes(TLineBreak style) {
    return lineBreakText(style);
}

// Runs the encoder over the whole text, every line break written in the style, or each as
// it stands without one.
template <typename Encoder>
void encodeLines(QByteArrayView utf8, const BreakCensus& census, std::optional<TLineBreak> style,
                 Encoder& encoder) {
    if (!style || census.onlyBreaksOf(*style)) {
        encoder.text(firstByte(utf8), pastEnd(utf8)); // the breaks go as they are
        return;
    }
    const QByteArrayView br = breakBytes(*style);
    forEachLine(
        utf8, [&](const uchar* b, const uchar* e) { encoder.text(b, e); },
        [&] { encoder.text(firstByte(br), pastEnd(br)); });
}

class Unencodable {
public:
    explicit Unencodable(QList<char32_t>& list) : m_list(list) {}
    void add(char32_t cp) {
        if (cp == kMalformed)
            cp = 0xFFFD;
        if (!m_seen.contains(cp)) {
            m_seen.insert(cp);
            m_list.append(cp);
        }
    }

private:
    QList<char32_t>& m_list;
    QSet<char32_t> m_seen;
};

// Buffers are sized for the worst case; give back what was not used.
void finish(QByteArray& out, const char* used) {
    out.resize(used - out.constData());
    if (out.capacity() - out.size() > out.size() / 8)
        out.squeeze();
}

// Nothing is written when anything could not be encoded.
void finish(TEncodeResult& r, const char* used) {
    if (r.unencodable.isEmpty())
        finish(r.bytes, used);
    else
        r.bytes.clear();
}

struct Utf8Writer {
    char* out;
    void text(const uchar* p, const uchar* e) {
        if (p == e)
            return; // an empty text may have no address at all, which memcpy must not get
        std::memcpy(out, p, size_t(e - p));
        out += e - p;
    }
};

TEncodeResult encodeUtf8(QByteArrayView utf8, bool bom, std::optional<TLineBreak> style) {
    TEncodeResult r;
    if (!isValidUtf8(utf8)) {
        // Lone surrogates kept from a UTF-16 file have no UTF-8 form.
        Unencodable bad(r.unencodable);
        for (const uchar *p = firstByte(utf8), *e = pastEnd(utf8); p < e;) {
            const char32_t cp = decodeEditorChar(p, e);
            if (cp == kMalformed || isSurrogate(cp))
                bad.add(cp);
        }
        return r;
    }
    const QByteArrayView mark = bom ? "\xEF\xBB\xBF" : "";
    const BreakCensus census = takeCensus(utf8);
    r.bytes = QByteArray(mark.size() + census.sizeWith(utf8.size(), style), Qt::Uninitialized);
    Utf8Writer w{r.bytes.data()};
    w.text(firstByte(mark), pastEnd(mark));
    encodeLines(utf8, census, style, w);
    return r;
}

// Eight ASCII bytes as UTF-16 units in one go: each byte spread to the low half of a unit.
inline quint64 spreadFour(quint64 x) {
    x = (x | (x << 16)) & 0x0000FFFF0000FFFFULL;
    return (x | (x << 8)) & 0x00FF00FF00FF00FFULL;
}

template <bool BigEndian> class Utf16Writer {
public:
    Utf16Writer(char* out, Unencodable& bad) : m_out(out), m_bad(bad) {}
    char* out() const { return m_out; }

    void put(char16_t u) {
        m_out[BigEndian ? 1 : 0] = char(u & 0xFF);
        m_out[BigEndian ? 0 : 1] = char(u >> 8);
        m_out += 2;
    }
    void text(const uchar* p, const uchar* e) {
        while (p < e) {
            if (e - p >= 8) {
                // Eight bytes written as units, as many kept as are ASCII.
                const quint64 w = qFromLittleEndian<quint64>(p);
                const quint64 high = w & kHighBits;
                const int shift = BigEndian ? 8 : 0;
                qToLittleEndian(spreadFour(w & 0xFFFFFFFF) << shift, m_out);
                qToLittleEndian(spreadFour(w >> 32) << shift, m_out + 8);
                const int ascii = high ? firstMarked(high) : 8;
                m_out += 2 * ascii;
                p += ascii;
                if (!high)
                    continue;
            }
            const char32_t cp = decodeEditorChar(p, e);
            if (cp == kMalformed) {
                m_bad.add(cp);
            } else if (cp >= 0x10000) {
                put(char16_t(0xD800 + ((cp - 0x10000) >> 10)));
                put(char16_t(0xDC00 + (cp & 0x3FF)));
            } else {
                put(char16_t(cp)); // lone surrogates go back as they came
            }
        }
    }

private:
    char* m_out;
    Unencodable& m_bad;
};

template <bool BigEndian>
TEncodeResult encodeUtf16(QByteArrayView utf8, bool bom, std::optional<TLineBreak> style) {
    TEncodeResult r;
    Unencodable bad(r.unencodable);
    const BreakCensus census = takeCensus(utf8);
    // Every UTF-8 byte gives at most one UTF-16 unit; sixteen bytes of slack for the
    // word-wise writes.
    r.bytes = QByteArray(16 + 2 * (1 + census.sizeWith(utf8.size(), style)), Qt::Uninitialized);
    Utf16Writer<BigEndian> w(r.bytes.data(), bad);
    if (bom)
        w.put(0xFEFF);
    encodeLines(utf8, census, style, w);
    finish(r, w.out());
    return r;
}

class AnsiWriter {
public:
    AnsiWriter(char* out, Unencodable& bad) : m_out(out), m_bad(bad) {}
    char* out() const { return m_out; }

    void text(const uchar* p, const uchar* e) {
        while (p < e) {
            if (e - p >= 8) {
                // Eight bytes copied, as many kept as are ASCII.
                const quint64 w = load64(p);
                const quint64 high = w & kHighBits;
                const int ascii = high ? firstMarked(high) : 8;
                std::memcpy(m_out, &w, 8);
                m_out += ascii;
                p += ascii;
                if (!high)
                    continue;
            }
            const char32_t cp = decodeEditorChar(p, e);
            const int byte = cp == kMalformed ? -1 : unicodeToAnsi(cp);
            if (byte < 0)
                m_bad.add(cp);
            else
                *m_out++ = char(byte);
        }
    }

private:
    char* m_out;
    Unencodable& m_bad;
};

// Whether every character of the text passes the test; ASCII always does.
template <class Test> bool everyChar(QByteArrayView utf8, Test&& holds) {
    const uchar* p = firstByte(utf8);
    const uchar* e = pastEnd(utf8);
    while (p < e) {
        if (e - p >= 8 && !(load64(p) & kHighBits)) {
            p += 8;
            continue;
        }
        const char32_t cp = decodeEditorChar(p, e);
        if (cp == kMalformed || !holds(cp))
            return false;
    }
    return true;
}

TEncodeResult encodeAnsi(QByteArrayView utf8, std::optional<TLineBreak> style) {
    TEncodeResult r;
    Unencodable bad(r.unencodable);
    const BreakCensus census = takeCensus(utf8);
    // Eight bytes of slack for the word-wise copy.
    r.bytes = QByteArray(8 + census.sizeWith(utf8.size(), style), Qt::Uninitialized);
    AnsiWriter w(r.bytes.data(), bad);
    encodeLines(utf8, census, style, w);
    finish(r, w.out());
    return r;
}

QByteArray ansiToUtf8(QByteArrayView bytes) {
    // Three bytes at most per character; no write passes that bound (a character writes
    // three bytes, a word eight while eight remain).
    QByteArray out(3 * bytes.size(), Qt::Uninitialized);
    char* o = out.data();
    const auto put = [&o](uchar c) {
        if (c < 0x80) {
            *o++ = char(c);
        } else {
            const Utf8Char& u = kAnsiUtf8[c - 0x80];
            o[0] = char(u.bytes[0]);
            o[1] = char(u.bytes[1]);
            o[2] = char(u.bytes[2]);
            o += u.length;
        }
    };
    const uchar* p = firstByte(bytes);
    const uchar* const e = pastEnd(bytes);
    while (p < e) {
        if (e - p >= 8) {
            // Eight bytes copied, as many kept as are ASCII.
            const quint64 w = load64(p);
            const quint64 high = w & kHighBits;
            std::memcpy(o, &w, 8);
            if (!high) {
                o += 8;
                p += 8;
                continue;
            }
            const int ascii = firstMarked(high);
            o += ascii;
            p += ascii;
        }
        put(*p++);
    }
    finish(out, o);
    return out;
}

QByteArray utf16ToUtf8(QByteArrayView bytes, bool bigEndian) {
    // An odd last byte cannot be UTF-16 (detection never sends one): it is dropped.
    const qsizetype units = bytes.size() / 2;
    QByteArray out(3 * units, Qt::Uninitialized);
    char* o = out.data();
    const uchar* p = firstByte(bytes);
    const uchar* const e = p + 2 * units;
    const int lo = bigEndian ? 1 : 0;
    const int hi = 1 - lo;
    const auto unit = [&](const uchar* q) { return char16_t(q[lo] | (q[hi] << 8)); };
    const quint64 asciiMask = bigEndian ? 0x80FF80FF80FF80FFULL : 0xFF80FF80FF80FF80ULL;
    while (p < e) {
        if (e - p >= 8 && !(qFromLittleEndian<quint64>(p) & asciiMask)) {
            for (int i = 0; i < 4; ++i)
                o[i] = char(p[2 * i + lo]);
            o += 4;
            p += 8;
            continue;
        }
        const char16_t u = unit(p);
        p += 2;
        if (u < 0x80) {
            *o++ = char(u);
        } else if (u < 0x800) {
            *o++ = char(0xC0 | (u >> 6));
            *o++ = char(0x80 | (u & 0x3F));
        } else if (u >= 0xD800 && u <= 0xDBFF && p < e && unit(p) >= 0xDC00 && unit(p) <= 0xDFFF) {
            const char32_t cp = 0x10000 + ((char32_t(u) - 0xD800) << 10) + (unit(p) - 0xDC00);
            p += 2;
            *o++ = char(0xF0 | (cp >> 18));
            *o++ = char(0x80 | ((cp >> 12) & 0x3F));
            *o++ = char(0x80 | ((cp >> 6) & 0x3F));
            *o++ = char(0x80 | (cp & 0x3F));
        } else {
            // Also a lone surrogate: its three-byte form takes it through to the save.
            *o++ = char(0xE0 | (u >> 12));
            *o++ = char(0x80 | ((u >> 6) & 0x3F));
            *o++ = char(0x80 | (u & 0x3F));
        }
    }
    finish(out, o);
    return out;
}

} // namespace

bool isValidUtf8(QByteArrayView data, bool* hasMultiByte) {
    const uchar* p = firstByte(data);
    const uchar* const e = pastEnd(data);
    bool multi = false;
    bool valid = true;
    while (p < e) {
        if (e - p >= 8) {
            const quint64 high = load64(p) & kHighBits;
            if (!high) {
                p += 8;
                continue;
            }
            p += firstMarked(high);
        } else if (*p < 0x80) {
            ++p;
            continue;
        }
        do {
            const int len = e - p >= 4 ? wellFormedLength(p) : sequenceLength(p, e, false);
            if (len == 0) {
                valid = false;
                break;
            }
            multi = true;
            p += len;
        } while (p < e && *p >= 0x80);
        if (!valid)
            break;
    }
    if (hasMultiByte)
        *hasMultiByte = multi;
    return valid;
}

TDetection detectEncoding(QByteArrayView data) {
    const auto at = [&](qsizetype i) { return uchar(data[i]); };
    if (data.size() >= 3 && at(0) == 0xEF && at(1) == 0xBB && at(2) == 0xBF) {
        // Malformed bytes after the mark have no place in UTF-8 text: such a file is read
        // as ANSI, mark included, so that each of its bytes comes back on saving.
        if (isValidUtf8(data.sliced(3)))
            return {seUTF8, true, 3};
        return {};
    }
    if (data.size() >= 2 && data.size() % 2 == 0) {
        if (at(0) == 0xFF && at(1) == 0xFE)
            return {seUTF16LE, true, 2};
        if (at(0) == 0xFE && at(1) == 0xFF)
            return {seUTF16BE, true, 2};
    }
    if (looksLikeUtf16Le(data.first(qMin(data.size(), kUtf16SniffLength)), data.size()))
        return {seUTF16LE, false, 0};
    bool multiByte = false;
    if (isValidUtf8(data, &multiByte) && multiByte)
        return {seUTF8, false, 0};
    return {};
}

bool looksLikeUtf16Le(QByteArrayView start, qint64 size) {
    if (size % 2 != 0 || size < 4 || start.size() < qMin<qint64>(size, kUtf16SniffLength))
        return false;
    qsizetype units = 0;
    qsizetype latin = 0; // units whose high byte is NUL
    bool text = false;
    for (qsizetype i = 0; i + 1 < start.size() && i < kUtf16SniffLength; i += 2) {
        ++units;
        latin += start[i + 1] == 0;
        text = text || start[i] != 0;
    }
    // A few letters beyond Latin-1 (ő, ű, €) may be among them.
    return text && 4 * latin >= 3 * units;
}

char16_t ansiToUnicode(unsigned char byte) {
    return byte >= 0x80 && byte < 0xA0 ? kAnsi80[byte - 0x80] : char16_t(byte);
}

int unicodeToAnsi(char32_t codePoint) {
    if (codePoint < 0x80 || (codePoint >= 0xA0 && codePoint <= 0xFF))
        return int(codePoint);
    const auto it =
        std::lower_bound(kAnsiSorted.begin(), kAnsiSorted.end(), codePoint,
                         [](const AnsiByte& a, char32_t cp) { return char32_t(a.unicode) < cp; });
    return it != kAnsiSorted.end() && it->unicode == codePoint ? it->byte : -1;
}

QByteArray toEditorText(QByteArrayView bytes, TSynEncoding encoding) {
    switch (encoding) {
    case seUTF8:
        return bytes.toByteArray();
    case seUTF16LE:
        return utf16ToUtf8(bytes, false);
    case seUTF16BE:
        return utf16ToUtf8(bytes, true);
    case seAnsi:
        break;
    }
    return ansiToUtf8(bytes);
}

TLineBreak detectLineBreak(QByteArrayView utf8) {
    return takeCensus(utf8).main();
}

TBreakCount countLineBreaks(QByteArrayView utf8) {
    const BreakCensus census = takeCensus(utf8);
    return {census.crlf, census.lf, census.cr};
}

TLineBreak TBreakCount::main() const {
    return BreakCensus{crlf, cr, lf}.main();
}

namespace {

TEncodeResult encode(QByteArrayView utf8, TSynEncoding encoding, bool bom,
                     std::optional<TLineBreak> lineBreak) {
    switch (encoding) {
    case seUTF8:
        return encodeUtf8(utf8, bom, lineBreak);
    case seUTF16LE:
        return encodeUtf16<false>(utf8, bom, lineBreak);
    case seUTF16BE:
        return encodeUtf16<true>(utf8, bom, lineBreak);
    case seAnsi:
        break;
    }
    return encodeAnsi(utf8, lineBreak);
}

} // namespace

TEncodeResult fromEditorText(QByteArrayView utf8, TSynEncoding encoding, bool bom,
                             TLineBreak lineBreak) {
    return encode(utf8, encoding, bom, lineBreak);
}

TEncodeResult fromEditorText(QByteArrayView utf8, TSynEncoding encoding, bool bom) {
    return encode(utf8, encoding, bom, std::nullopt);
}

bool canHold(QByteArrayView utf8, TSynEncoding encoding) {
    switch (encoding) {
    case seAnsi:
        return everyChar(utf8, [](char32_t cp) { return unicodeToAnsi(cp) >= 0; });
    case seUTF8:
        return everyChar(utf8, [](char32_t cp) { return !isSurrogate(cp); });
    case seUTF16LE:
    case seUTF16BE:
        break;
    }
    return everyChar(utf8, [](char32_t) { return true; });
}

bool isSavedAsIs(QByteArrayView utf8, TSynEncoding encoding, TLineBreak lineBreak) {
    return encoding == seUTF8 && isValidUtf8(utf8) && takeCensus(utf8).onlyBreaksOf(lineBreak);
}

bool isSavedAsIs(QByteArrayView utf8, TSynEncoding encoding) {
    return encoding == seUTF8 && isValidUtf8(utf8);
}

QString describeCharacters(const QList<char32_t>& chars, int max) {
    QStringList parts;
    for (qsizetype i = 0; i < chars.size() && i < max; ++i) {
        const char32_t c = chars[i];
        const QString code = QStringLiteral("U+%1").arg(uint(c), 4, 16, QLatin1Char('0')).toUpper();
        if (QChar::isPrint(c) && !isSurrogate(c))
            parts << QString::fromUcs4(&c, 1) + QStringLiteral(" (") + code + u')';
        else
            parts << code;
    }
    if (chars.size() > max)
        parts << QStringLiteral("\u2026");
    return parts.join(QStringLiteral(", "));
}

} // namespace orvel::codec
