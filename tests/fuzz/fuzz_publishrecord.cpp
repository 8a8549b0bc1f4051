// The publish record: any bytes read as a record give entries that write back and read again
// unchanged, never a crash.

#include "Fuzz.h"
#include "projects/core/PublishRecord.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace orvel;
    const QByteArray input(reinterpret_cast<const char*>(data), qsizetype(size));
    const QString destination = QStringLiteral("ftp://u@h:21/www");
    const TPublishRecord record = TPublishRecord::parse(input, destination);
    const QByteArray written = record.serialize();
    const TPublishRecord again = TPublishRecord::parse(written, destination);
    FUZZ_CHECK(again.count() == record.count());
    FUZZ_CHECK(again.serialize() == written);
    return 0;
}
