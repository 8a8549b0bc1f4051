// The user dictionary reader: any bytes give words that can be written back and read again
// unchanged, and every line that is no word is kept byte for byte.

#include "spelling/core/UserDictionary.h"

#include <cstdint>
#include <cstdlib>

using namespace orvel;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray input(reinterpret_cast<const char*>(data), qsizetype(size));
    const TUserDictionary d = parseUserDictionary(input);
    for (qsizetype i = 0; i < d.words.size(); ++i) {
        if (!isUserDictionaryWord(d.words[i]) || (i > 0 && !(d.words[i - 1] < d.words[i])))
            std::abort();
    }
    for (const QByteArray& line : d.keptLines)
        if (line.contains('\n') || line.contains('\r') || !input.contains(line))
            std::abort();
    const TUserDictionary again = parseUserDictionary(userDictionaryBytes(d));
    if (again.words != d.words || again.keptLines != d.keptLines)
        std::abort();
    return 0;
}
