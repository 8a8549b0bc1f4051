// A file as the search in files reads it: any bytes decode to a text or are refused as not
// text, every match lies inside the text, the hit lines stay inside their excerpts, and a
// replacement splices into the stored bytes without touching a byte outside the matches.

#include "Fuzz.h"
#include "search/core/MatchWalk.h"
#include "search/core/SearchFile.h"

#include <cstdint>

using namespace orvel;

namespace {
const char* const kNeedles[] = {"a", "word", "&amp;", "\xC3\xA4", "\xE2\x82\xAC", "\r\n", " "};
const char* const kReplacements[] = {"", "x", "\xC5\x91", "word word", "\xF0\x9F\x98\x80"};
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1)
        return 0;
    // The first byte chooses the search: text, replacement, case and whole words.
    const uint8_t choice = data[0];
    const QString search = QString::fromUtf8(kNeedles[choice % std::size(kNeedles)]);
    const QString replacement =
        QString::fromUtf8(kReplacements[(choice >> 3) % std::size(kReplacements)]);
    const bool matchCase = choice & 0x40;
    const bool wholeWord = choice & 0x80;

    TSearchFile file;
    const QByteArray stored(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
    if (file.take(stored) != TSearchFile::Text)
        return 0;
    const QByteArrayView text = file.text();
    const TTextMatcher matcher(search, matchCase, wholeWord);
    const QByteArray replacementBytes = replacement.toUtf8();
    TMatchWalk walk(matcher, text, true, replacementBytes);
    qsizetype last = -1;
    while (walk.next()) {
        FUZZ_CHECK(walk.start() > last && walk.end() <= text.size());
        last = walk.start();
        walk.accept();
    }
    const QList<qsizetype>& starts = walk.accepted();
    TTextInfo hits;
    hitLines(hits, text, starts, matcher.length());
    for (qsizetype i = 0; i < hits.FLines.size(); ++i) {
        const TTextLine& line = hits.FLines[i];
        FUZZ_CHECK(line.from >= 0 && line.from + line.length <= hits.FSource.size());
        FUZZ_CHECK(line.markStart >= 0 && line.markStart + line.markLength <= line.length);
        FUZZ_CHECK(!(line.pos.BEnd < line.pos.BBegin));
        (void)hits.markedLine(i);
    }
    // Nothing replaced: the stored bytes come back as they are.
    const TResult<QByteArray> same = replacedBytes(file, {}, matcher.length(), QString());
    FUZZ_CHECK(same.ok() && same.value() == stored);
    const TResult<QByteArray> changed = replacedBytes(file, starts, matcher.length(), replacement);
    FUZZ_CHECK(!changed.ok() || !starts.isEmpty() || changed.value() == stored);
    // A replaced file reads back as the replaced text.
    if (changed.ok() && !starts.isEmpty()) {
        TSearchFile again;
        const QByteArray newText = replacedText(text, starts, matcher.length(), replacementBytes);
        // A U+FEFF that the replacement moved to the front of a file without a mark reads
        // as the mark then.
        const QByteArray mark("\xEF\xBB\xBF");
        const QByteArray expected =
            !file.bom && newText.startsWith(mark) ? newText.mid(3) : newText;
        if (again.take(changed.value()) == TSearchFile::Text && file.encoding == seUTF8 &&
            again.encoding == seUTF8)
            FUZZ_CHECK(again.text() == expected);
    }
    return 0;
}
