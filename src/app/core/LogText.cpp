#include "app/core/LogText.h"

#include "base/core/TextCodec.h"

namespace orvel {

namespace {

// Length of the well-formed UTF-8 sequence at p, or 0.
int utf8SequenceAt(const uchar* p, const uchar* end, char32_t& cp) {
    const uchar lead = *p;
    int length = 0;
    char32_t min = 0;
    if (lead < 0x80) {
        cp = lead;
        return 1;
    }
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        cp = lead & 0x1F;
        min = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        cp = lead & 0x0F;
        min = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        cp = lead & 0x07;
        min = 0x10000;
    } else {
        return 0;
    }
    if (end - p < length)
        return 0;
    for (int i = 1; i < length; ++i) {
        if ((p[i] & 0xC0) != 0x80)
            return 0;
        cp = (cp << 6) | (p[i] & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        return 0;
    return length;
}

void decodeUtf8Lenient(QByteArrayView bytes, QString& out, QByteArray& eightBit) {
    out.reserve(bytes.size());
    eightBit.reserve(bytes.size());
    const uchar* p = reinterpret_cast<const uchar*>(bytes.data());
    const uchar* const end = p + bytes.size();
    while (p < end) {
        char32_t cp = 0;
        const int n = utf8SequenceAt(p, end, cp);
        if (n == 0) {
            out += QChar(codec::ansiToUnicode(*p++));
            eightBit += '\1';
            continue;
        }
        const qsizetype before = out.size();
        out += QChar::fromUcs4(cp);
        eightBit += QByteArray(out.size() - before, '\0');
        p += n;
    }
}

bool isWordChar(QChar c) {
    return c.isLetterOrNumber() || c == u'_';
}

} // namespace

TLogText TLogText::fromBytes(QByteArray bytes) {
    bytes.removeIf([](char c) { return c == '\0'; });
    TLogText t;
    t.m_utf8 = bytes.startsWith("\xEF\xBB\xBF");
    if (t.m_utf8) {
        decodeUtf8Lenient(QByteArrayView(bytes).sliced(3), t.m_raw, t.m_eightBit);
    } else {
        t.m_raw.reserve(bytes.size());
        for (const char c : std::as_const(bytes))
            t.m_raw += QChar(codec::ansiToUnicode(uchar(c)));
    }
    t.rebuildDisplay();
    return t;
}

void TLogText::rebuildDisplay() {
    m_display.clear();
    m_display.reserve(m_raw.size());
    m_pairs.clear();
    for (qsizetype i = 0; i < m_raw.size(); ++i) {
        const QChar c = m_raw.at(i);
        if (c == u'\r') {
            if (i + 1 < m_raw.size() && m_raw.at(i + 1) == u'\n') {
                m_pairs.append(m_display.size());
                ++i;
            }
            m_display += u'\n';
        } else {
            m_display += c;
        }
    }
}

void TLogText::remove(qsizetype start, qsizetype end) {
    start = qBound(qsizetype(0), start, m_display.size());
    end = qBound(start, end, m_display.size());
    // Never half a surrogate pair: it would not survive the write.
    const auto splitsPair = [this](qsizetype pos) {
        return pos > 0 && pos < m_display.size() && m_display.at(pos).isLowSurrogate() &&
               m_display.at(pos - 1).isHighSurrogate();
    };
    if (splitsPair(start))
        --start;
    if (splitsPair(end))
        ++end;
    const auto raw = [this](qsizetype pos) {
        qsizetype pairsBefore = 0;
        while (pairsBefore < m_pairs.size() && m_pairs.at(pairsBefore) < pos)
            ++pairsBefore;
        return pos + pairsBefore;
    };
    const qsizetype rawStart = raw(start);
    m_raw.remove(rawStart, raw(end) - rawStart);
    if (m_utf8)
        m_eightBit.remove(rawStart, raw(end) - rawStart);
    rebuildDisplay();
}

QByteArray TLogText::toBytes() const {
    QByteArray out;
    out.reserve(m_raw.size() + 3);
    if (!m_utf8) {
        // Every character came from a byte, so each has its byte again.
        for (const QChar c : m_raw)
            out += char(codec::unicodeToAnsi(c.unicode()));
        return out;
    }
    out += "\xEF\xBB\xBF";
    qsizetype run = 0;
    for (qsizetype i = 0; i <= m_raw.size(); ++i) {
        if (i < m_raw.size() && !m_eightBit.at(i))
            continue;
        out += QStringView(m_raw).sliced(run, i - run).toUtf8();
        if (i < m_raw.size())
            out += char(codec::unicodeToAnsi(m_raw.at(i).unicode()));
        run = i + 1;
    }
    return out;
}

qsizetype findText(const QString& text, const QString& what, qsizetype from, bool forward,
                   bool matchCase, bool wholeWord) {
    if (what.isEmpty())
        return -1;
    const Qt::CaseSensitivity cs = matchCase ? Qt::CaseSensitive : Qt::CaseInsensitive;
    const auto isWhole = [&](qsizetype at) {
        const qsizetype after = at + what.size();
        return (at == 0 || !isWordChar(text.at(at - 1))) &&
               (after >= text.size() || !isWordChar(text.at(after)));
    };
    if (forward) {
        for (qsizetype at = text.indexOf(what, qMax(from, qsizetype(0)), cs); at >= 0;
             at = text.indexOf(what, at + 1, cs))
            if (!wholeWord || isWhole(at))
                return at;
        return -1;
    }
    if (from <= 0)
        return -1;
    for (qsizetype at = text.lastIndexOf(what, qMin(from, text.size()) - 1, cs); at >= 0;
         at = at > 0 ? text.lastIndexOf(what, at - 1, cs) : -1)
        if (!wholeWord || isWhole(at))
            return at;
    return -1;
}

} // namespace orvel
