// Image maps and image elements come from documents: any text gives areas the editor can
// hold, and what is written from them reads back as the same areas.

#include "Fuzz.h"
#include "dialogs/core/ImageAttributes.h"
#include "dialogs/core/ImageMapText.h"

using namespace orvel;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 64 * 1024)
        return 0;
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    const TMapBlock block = findImageMap(text, QStringLiteral("m"));
    if (block.start >= 0) {
        FUZZ_CHECK(block.start < block.end && block.end <= text.size());
        // Written inside a 100 by 100 image and read again: the same number of writable
        // areas, every coordinate inside the image.
        const QString written = writeImageMap(block.map, 2, QSize(100, 100));
        const TMapBlock back = findImageMap(written, block.map.name);
        FUZZ_CHECK(back.start == 0);
        qsizetype writable = 0;
        for (const TAreaDataObject& a : block.map.areas)
            writable += areaWritable(a) ? 1 : 0;
        FUZZ_CHECK(back.map.areas.size() == writable);
        for (const TAreaDataObject& a : back.map.areas) {
            for (qsizetype i = 0; i < a.Points.size(); ++i) {
                if (a.Shape == asCircle && i == 1)
                    continue; // the radius
                FUZZ_CHECK(a.Points[i].x() >= 0 && a.Points[i].x() < 100);
                FUZZ_CHECK(a.Points[i].y() >= 0 && a.Points[i].y() < 100);
            }
        }
    }
    // The image dialog's reading and an unchanged writing give the attribute text back.
    const TImageElement element = splitImageElement(text);
    const TImageFields read = readImageFields(element.attributes);
    FUZZ_CHECK(writeImageAttributes(element.attributes, true, read, read) == element.attributes);
    return 0;
}
