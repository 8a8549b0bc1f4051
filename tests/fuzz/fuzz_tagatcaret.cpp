// The tag under the caret: any text before and after the caret. A tag found starts with "<"
// that many characters before the caret, and has no ">" between.

#include "editor/core/TagText.h"

#include "Fuzz.h"

#include <QList>
#include <QString>

using namespace orvel;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    orvel::fuzz::TInput input(data, size);
    const QString before = QString::fromUtf8(input.part('\x01'));
    const QString after = QString::fromUtf8(input.rest());

    const TTagStart tag = findTagStart(before, after);
    if (tag.type == ttNone) {
        FUZZ_CHECK(tag.characters == 0);
        return 0;
    }
    const QList<uint> chars = before.toUcs4();
    FUZZ_CHECK(tag.characters >= 1 && tag.characters <= chars.size());
    const QList<uint> fromTag = chars.sliced(chars.size() - tag.characters);
    FUZZ_CHECK(fromTag.front() == '<');
    FUZZ_CHECK(!fromTag.contains('>') && fromTag.count('<') == 1);
    return 0;
}
