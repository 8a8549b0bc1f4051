// Image files are outside data: any bytes give a size within the bounds or "Invalid image
// format!", and decoding (also scaled, as for the thumbnail) never crashes or runs away.

#include "Fuzz.h"
#include "dialogs/core/ImageFile.h"

#include <QCoreApplication>

using namespace orvel;

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    // The image plug-ins are found through the application's library paths.
    static QCoreApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 256 * 1024)
        return 0;
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const TResult<TImageInfo> info = readImageInfoFromData(bytes);
    if (info.ok()) {
        const QSize s = info.value().size;
        FUZZ_CHECK(s.width() > 0 && s.height() > 0);
        FUZZ_CHECK(qint64(s.width()) * s.height() <= kMaxImagePixels);
    } else {
        FUZZ_CHECK(info.error() == invalidImageText());
    }
    const TResult<QImage> thumb = loadImageFromData(bytes, QSize(207, 242));
    if (thumb.ok())
        FUZZ_CHECK(!thumb.value().isNull());
    return 0;
}
