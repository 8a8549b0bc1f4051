// Splitting lines into words: any text, mask and word characters give words that lie
// inside the line, in order, each holding a letter; entities never read past the line.

#include "spelling/core/SpellWords.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

using namespace orvel;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2)
        return 0;
    // First byte: options; then the word characters up to a NUL; the rest is the line as
    // UTF-16, every other unit of which also feeds the mask.
    const uint8_t flags = data[0];
    const char* rest = reinterpret_cast<const char*>(data + 1);
    size_t left = size - 1;
    const size_t charsLen = strnlen(rest, left);
    TWordSplitOptions o;
    o.wordChars = QString::fromUtf8(rest, qsizetype(charsLen));
    o.entities = flags & 1;
    if (flags & 2)
        o.entityValue = [](QStringView name) -> char32_t {
            return name.size() == 4 ? char32_t(0xE4) : name.size() == 3 ? char32_t(0xAD) : 0;
        };
    rest += charsLen + (charsLen < left ? 1 : 0);
    left -= charsLen + (charsLen < left ? 1 : 0);
    const QString line =
        QString::fromUtf16(reinterpret_cast<const char16_t*>(rest), qsizetype(left / 2));
    QByteArray mask;
    if (flags & 4)
        for (qsizetype i = 0; i < line.size(); ++i)
            mask += char(line[i].unicode() & 1);

    int end = 0;
    for (const TSpellWord& w : splitSpellWords(line, mask, o)) {
        if (w.start < end || w.length <= 0 || w.start + w.length > line.size() || w.word.isEmpty())
            std::abort();
        end = w.start + w.length;
        bool letter = false;
        for (QChar c : w.word)
            letter = letter || c.isLetter() || c.isSurrogate();
        if (!letter)
            std::abort();
        (void)w.dictWord();
    }
    bool opening = false;
    const qsizetype at = nextStyleTag(line, 0, &opening);
    if (at >= line.size())
        std::abort();
    const QByteArray bytes = line.toUtf8();
    if (lastStyleTag(bytes, bytes.size(), &opening) >= bytes.size())
        std::abort();
    return 0;
}
