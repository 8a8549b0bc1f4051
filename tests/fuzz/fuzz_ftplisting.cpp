// The listing parsers: any bytes as MLSD or LIST give entries whose names are safe to send
// back to the server, never a crash.

#include "projects/core/FtpListing.h"

#include <cstdint>
#include <cstdlib>

using namespace orvel;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    const TListingFormat format = data[0] & 1 ? lfMlsd : lfList;
    const QByteArray input(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
    const TParsedListing listing = parseListing(input, format, QDate(2024, 6, 15));
    for (const TFtpListEntry& e : listing.Entries) {
        if (!remoteNameProblem(e.Info.FFileName).isEmpty() || e.Info.FSize < -1)
            std::abort();
        if (format == lfList && e.Info.FModifiedDateGMT.isValid())
            std::abort();
    }
    return 0;
}
