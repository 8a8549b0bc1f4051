#include "dialogs/core/ImageFile.h"

#include "base/core/Translate.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <cmath>

namespace orvel {

namespace {

void boundReaders() {
    // Qt's bound applies to every reader of the process; it is set once before any decoding.
    static const bool once = [] {
        QImageReader::setAllocationLimit(kImageAllocationLimitMB);
        return true;
    }();
    (void)once;
}

bool sizeAllowed(QSize s) {
    return s.isValid() && !s.isEmpty() && qint64(s.width()) * s.height() <= kMaxImagePixels;
}

TResult<TImageInfo> failedInfo() {
    return TResult<TImageInfo>::failure(invalidImageText());
}

} // namespace

QString fileNotFoundText(const QString& fileName) {
    return fmt(T_("File: \"%s\"\r\nnot found!"), {fileName});
}

QString invalidImageText() {
    return T_("Invalid image format!");
}

TResult<TImageInfo> readImageInfo(QIODevice* device) {
    boundReaders();
    const qint64 start = device->pos();
    QImageReader reader(device);
    reader.setAutoTransform(false);
    reader.setDecideFormatFromContent(true);
    if (!reader.canRead())
        return failedInfo();
    TImageInfo info;
    info.format = reader.format();
    QSize size = reader.supportsOption(QImageIOHandler::Size) ? reader.size() : QSize();
    if (!size.isValid() || size.isEmpty()) {
        // No size in the header as the reader sees it: decode, within the bounds.
        device->seek(start);
        QImageReader decoder(device);
        decoder.setAutoTransform(false);
        decoder.setDecideFormatFromContent(true);
        const QImage image = decoder.read();
        if (image.isNull())
            return failedInfo();
        size = image.size();
    }
    if (!sizeAllowed(size))
        return failedInfo();
    info.size = size;
    return info;
}

TResult<TImageInfo> readImageInfoFromData(const QByteArray& data) {
    QBuffer buffer;
    buffer.setData(data);
    buffer.open(QIODevice::ReadOnly);
    return readImageInfo(&buffer);
}

TResult<TImageInfo> readImageInfoFromFile(const QString& fileName) {
    if (!QFileInfo(fileName).isFile())
        return TResult<TImageInfo>::failure(fileNotFoundText(fileName));
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return failedInfo();
    return readImageInfo(&file);
}

TResult<QImage> loadImage(QIODevice* device, QSize fitInto) {
    boundReaders();
    QImageReader reader(device);
    reader.setAutoTransform(false);
    reader.setDecideFormatFromContent(true);
    if (!reader.canRead())
        return TResult<QImage>::failure(invalidImageText());
    const QSize header = reader.supportsOption(QImageIOHandler::Size) ? reader.size() : QSize();
    if (header.isValid() && !sizeAllowed(header))
        return TResult<QImage>::failure(invalidImageText());
    if (fitInto.isValid() && header.isValid() &&
        reader.supportsOption(QImageIOHandler::ScaledSize)) {
        const QSize scaled = thumbnailSize(header, fitInto);
        if (scaled != header)
            reader.setScaledSize(scaled);
    }
    QImage image = reader.read();
    if (image.isNull() || !sizeAllowed(image.size()))
        return TResult<QImage>::failure(invalidImageText());
    return image;
}

TResult<QImage> loadImageFromData(const QByteArray& data, QSize fitInto) {
    QBuffer buffer;
    buffer.setData(data);
    buffer.open(QIODevice::ReadOnly);
    return loadImage(&buffer, fitInto);
}

TResult<QImage> loadImageFromFile(const QString& fileName, QSize fitInto) {
    if (!QFileInfo(fileName).isFile())
        return TResult<QImage>::failure(fileNotFoundText(fileName));
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return TResult<QImage>::failure(invalidImageText());
    return loadImage(&file, fitInto);
}

QSize thumbnailSize(QSize image, QSize area) {
    if (image.isEmpty() || area.isEmpty())
        return {};
    if (image.width() <= area.width() && image.height() <= area.height())
        return image;
    const double ratio =
        std::min(double(area.width()) / image.width(), double(area.height()) / image.height());
    // Halves to even, as the rounding of the design.
    const auto round = [](double v) { return std::max(1, int(std::nearbyint(v))); };
    return {round(image.width() * ratio), round(image.height() * ratio)};
}

} // namespace orvel
