#include "search/core/MatchWalk.h"

#include "textcontrol/core/Utf8Columns.h"

namespace orvel {

namespace {

// A cancel request is seen after at most this many bytes of a large text.
constexpr qsizetype kCancelSlice = 4 << 20;

bool isLineBreak(char c) {
    return c == '\r' || c == '\n';
}

bool isBlankOrControl(char c) {
    return static_cast<unsigned char>(c) <= ' ';
}

bool isContinuation(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// Walks a text line by line, forward only.
class TLineCursor {
public:
    explicit TLineCursor(QByteArrayView text) : m_text(text) {}

    // Moves to pos; line and lineStart then describe its line.
    void moveTo(qsizetype pos) {
        const char* t = m_text.data();
        while (m_pos < pos) {
            const char c = t[m_pos++];
            if (c == '\n' || (c == '\r' && (m_pos >= m_text.size() || t[m_pos] != '\n'))) {
                ++m_line;
                m_lineStart = m_pos;
            }
        }
    }
    qsizetype lineEnd(qsizetype from) const {
        while (from < m_text.size() && !isLineBreak(m_text[from]))
            ++from;
        return from;
    }
    int line() const { return m_line; }
    qsizetype lineStart() const { return m_lineStart; }

private:
    QByteArrayView m_text;
    qsizetype m_pos = 0;
    int m_line = 1;
    qsizetype m_lineStart = 0;
};

QString ellipsis() {
    return QStringLiteral("\u2026");
}

} // namespace

TMatchWalk::TMatchWalk(const TTextMatcher& matcher, QByteArrayView text, bool replacing,
                       QByteArrayView replacement)
    : m_matcher(matcher), m_text(text), m_replacement(replacement), m_replacing(replacing) {}

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
        m_classAfterReplaced =
            m_start == 0 ? TCharClass::None : classBefore(m_text, m_start);
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

QList<TTextLine> hitLines(QByteArrayView text, const QList<qsizetype>& starts, qsizetype length) {
    QList<TTextLine> lines;
    lines.reserve(starts.size());
    TLineCursor cursor(text);
    qsizetype colAt = -1; // a byte offset whose column is known, on the cursor's line
    qsizetype col = 0;
    for (const qsizetype start : starts) {
        const int lineBefore = cursor.line();
        cursor.moveTo(start);
        const qsizetype ls = cursor.lineStart();
        if (cursor.line() != lineBefore || colAt < 0) {
            colAt = ls;
            col = 0;
        }
        // Columns count UTF-16 units; a long line with many hits is walked once.
        col += utf16Length(text.sliced(colAt, start - colAt));
        colAt = start;
        const qsizetype le = cursor.lineEnd(start);
        const qsizetype end = start + length;

        TTextLine hit;
        hit.pos.BBegin = TBufferCoord{int(col + 1), cursor.line()};
        if (end <= le) {
            hit.pos.BEnd =
                TBufferCoord{int(col + 1 + utf16Length(text.sliced(start, length))), cursor.line()};
        } else {
            TLineCursor endCursor = cursor;
            endCursor.moveTo(end);
            hit.pos.BEnd = TBufferCoord{
                int(1 + utf16Length(text.sliced(endCursor.lineStart(), end - endCursor.lineStart()))),
                endCursor.line()};
        }
        qsizetype firstText = ls;
        while (firstText < le && (text[firstText] == ' ' || text[firstText] == '\t'))
            ++firstText;
        hit.pos.FSpaces = int(1 + firstText - ls);

        // The line trimmed, the hit marked up to the line's end, a long line cut around it.
        qsizetype trimStart = ls;
        while (trimStart < le && isBlankOrControl(text[trimStart]))
            ++trimStart;
        qsizetype trimEnd = le;
        while (trimEnd > trimStart && isBlankOrControl(text[trimEnd - 1]))
            --trimEnd;
        const qsizetype markStart = qBound(trimStart, start, trimEnd);
        const qsizetype markEnd = qBound(markStart, end, trimEnd);
        qsizetype from = qMax(trimStart, markStart - kContextBefore);
        while (from < markStart && isContinuation(text[from]))
            ++from;
        qsizetype to = qMin(trimEnd, markEnd + kContextAfter);
        while (to > markEnd && to < trimEnd && isContinuation(text[to]))
            --to;
        hit.text = QString::number(cursor.line()) + QStringLiteral(": ");
        if (from > trimStart)
            hit.text += ellipsis();
        hit.text += QString::fromUtf8(text.sliced(from, markStart - from));
        hit.markStart = int(hit.text.size());
        const QString marked = QString::fromUtf8(text.sliced(markStart, markEnd - markStart));
        hit.markLength = int(marked.size());
        hit.text += marked;
        hit.text += QString::fromUtf8(text.sliced(markEnd, to - markEnd));
        if (to < trimEnd)
            hit.text += ellipsis();
        lines << hit;
    }
    return lines;
}

} // namespace orvel
