// The macro file reader on any bytes: it never crashes, and what it reads survives being
// written and read again unchanged.

#include "macros/core/MacroFile.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace orvel;
    const TMacroFileContent first =
        parseMacroFile(QByteArrayView(reinterpret_cast<const char*>(data), qsizetype(size)));
    for (const TTextMacro& m : first.macros)
        if (m.name.isEmpty() || m.text.isEmpty() || m.name != m.name.trimmed() ||
            m.text.contains(u'\r'))
            std::abort();
    const QByteArray written = formatMacroFile(first.macros);
    const TMacroFileContent second = parseMacroFile(written);
    if (!second.whole || second.macros != first.macros) {
        std::fprintf(stderr, "macros changed when written and read again\n");
        std::abort();
    }
    if (formatMacroFile(second.macros) != written)
        std::abort();
    return 0;
}
