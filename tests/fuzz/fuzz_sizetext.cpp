// The size text reader and the mail-code decoder on any text: they never crash or hang, a
// size that reads writes a text that reads back, and a decoded address encodes again to
// the same address.

#include "Fuzz.h"
#include "base/core/FileSize.h"
#include "editor/core/ElementRules.h"
#include "editor/core/SmallInserts.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace orvel;
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    for (QChar separator : {u',', u'.'}) {
        const std::optional<qint64> bytes = parseFileSize(text, separator);
        if (!bytes)
            continue;
        FUZZ_CHECK(*bytes >= 0);
        for (bool decimal : {true, false}) {
            const QString written = formatFileSize(*bytes, decimal, separator);
            FUZZ_CHECK(parseFileSize(written, separator).has_value());
        }
    }
    const QString address = decodeMailCode(text);
    for (int key = 128; key < 256; key += 61)
        FUZZ_CHECK(address.isEmpty() || decodeMailCode(mailCode(address, key)) == address);
    const int caret = size > 0 ? int(data[0]) : 0;
    if (const auto run = sizeRunAtCaret(text, caret))
        FUZZ_CHECK(run->start >= 0 && run->end <= text.size() && run->start < run->end);
    (void)jsArgumentText(text, caret % 100);
    return 0;
}
