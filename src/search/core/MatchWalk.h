#pragma once
// One pass of the search over a text, match after match as the editor's search finds them
// when it goes on from the caret, and the hit lines the results tree shows for them.

#include "search/core/TextMatcher.h"
#include "textcontrol/core/TextInfo.h"

#include <QList>
#include <atomic>

namespace orvel {

class TMatchWalk {
public:
    // With replacing, an accepted match is replaced, and the search goes on after the
    // replacement with the text as it is by then.
    TMatchWalk(const TTextMatcher& matcher, QByteArrayView text, bool replacing,
               QByteArrayView replacement = {});

    // Before the first match: none starts before from, the search begins there.
    void skipTo(qsizetype from) { m_from = qMax(m_from, from); }
    // Finds the next match; false at the end, or once cancel is set.
    bool next(const std::atomic<bool>* cancel = nullptr);
    qsizetype start() const { return m_start; }
    qsizetype end() const { return m_start + m_matcher.length(); }
    // Takes the current match: it is recorded, and replaced when replacing.
    void accept();

    // Starts of the accepted matches in the text.
    const QList<qsizetype>& accepted() const { return m_accepted; }
    // The same in the text after the replacements.
    QList<qsizetype> acceptedAfterReplacing() const;

private:
    const TTextMatcher& m_matcher;
    QByteArrayView m_text;
    QByteArrayView m_replacement;
    bool m_replacing;
    qsizetype m_from = 0;
    qsizetype m_start = -1;
    qsizetype m_replacedEnd = -1; // end of the last replaced match
    TCharClass m_classAfterReplaced = TCharClass::None;
    QList<qsizetype> m_accepted;
};

// The hits of a text as result lines: "line: text", the text trimmed and cut around the
// hit when the line is long, with the hit marked; starts ascending, every hit length bytes.
// They become the lines of info, with their excerpts; its name stays.
void hitLines(TTextInfo& info, QByteArrayView text, const QList<qsizetype>& starts,
              qsizetype length);

// Bytes of context kept before and after a hit on a long line.
constexpr qsizetype kContextBefore = 60;
constexpr qsizetype kContextAfter = 120;

} // namespace orvel
