// The size text reader and the mail-code decoder on any text: they never crash or hang, a
// size that reads writes a text that reads back, and a decoded address encodes again to
// the same address.

#include "base/core/FileSize.h"
#include "editor/core/ElementRules.h"
#include "editor/core/SmallInserts.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace orvel;
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    for (QChar separator : {u',', u'.'}) {
        const std::optional<qint64> bytes = parseFileSize(text, separator);
        if (!bytes)
            continue;
        if (*bytes < 0)
            std::abort();
        for (bool decimal : {true, false}) {
            const QString written = formatFileSize(*bytes, decimal, separator);
            if (!parseFileSize(written, separator)) {
                std::fprintf(stderr, "written size does not read: %s\n", qPrintable(written));
                std::abort();
            }
        }
    }
    const QString address = decodeMailCode(text);
    for (int key = 128; key < 256; key += 61)
        if (!address.isEmpty() && decodeMailCode(mailCode(address, key)) != address)
            std::abort();
    const int caret = size > 0 ? int(data[0]) : 0;
    if (const auto run = sizeRunAtCaret(text, caret))
        if (run->start < 0 || run->end > text.size() || run->start >= run->end)
            std::abort();
    (void)jsArgumentText(text, caret % 100);
    return 0;
}
