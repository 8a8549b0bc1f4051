// Dictionaries are files anyone can drop into the dict folder: any affix and word data make
// an engine or none, and the engine answers words, suggestions and additions.

#include "spelling/core/HunspellLib.h"

#include <cstdint>

using namespace orvel;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // Affix data and word list, split at the first "\n--\n".
    const QByteArray input(reinterpret_cast<const char*>(data), qsizetype(size));
    const qsizetype cut = input.indexOf("\n--\n");
    if (cut < 0 || input.size() > 64 * 1024)
        return 0;
    THunspellPtr h(HunspellInit(input.left(cut + 1), input.mid(cut + 4)));
    if (!h)
        return 0;
    for (const char* w : {"word", "Wörter", "kőszívű", "don't", "ABC", "x"}) {
        HunspellSpell(h.get(), QString::fromUtf8(w));
    }
    HunspellSuggest(h.get(), QStringLiteral("wrod"));
    HunspellAdd(h.get(), QStringLiteral("añadido"));
    HunspellSpell(h.get(), QStringLiteral("añadido"));
    (void)HunspellWordChars(h.get());
    return 0;
}
