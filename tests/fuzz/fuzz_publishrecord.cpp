// The publish record: any bytes read as a record give entries that write back and read again
// unchanged, never a crash.

#include "projects/core/PublishRecord.h"

#include <cstdint>
#include <cstdlib>

using namespace orvel;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray input(reinterpret_cast<const char*>(data), qsizetype(size));
    const QString destination = QStringLiteral("ftp://u@h:21/www");
    const TPublishRecord record = TPublishRecord::parse(input, destination);
    const QByteArray written = record.serialize();
    const TPublishRecord again = TPublishRecord::parse(written, destination);
    if (again.count() != record.count() || again.serialize() != written)
        std::abort();
    return 0;
}
