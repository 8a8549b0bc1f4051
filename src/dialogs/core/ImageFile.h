#pragma once
// Images read by their content, whatever their extension: the pixel size from the header where
// the format allows it, and decoding bounded so that a hostile file cannot exhaust memory.

#include "base/core/Result.h"

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

class QIODevice;

namespace orvel {

// Larger images are refused before decoding (about 16000 by 16000 pixels).
inline constexpr qint64 kMaxImagePixels = 256LL * 1024 * 1024;
// Qt's own bound on one decoded image, in megabytes.
inline constexpr int kImageAllocationLimitMB = 1024;

struct TImageInfo {
    QSize size;
    QByteArray format; // "png", "jpeg", "svg", …
};

// The size and format from the image's header; a reader that cannot tell the size from the
// header decodes the image (bounded). "Invalid image format!" for anything else.
TResult<TImageInfo> readImageInfo(QIODevice* device);
TResult<TImageInfo> readImageInfoFromData(const QByteArray& data);
// A missing file gives "File: "…" not found!".
TResult<TImageInfo> readImageInfoFromFile(const QString& fileName);

// The whole image decoded; when fitInto is valid and the reader can scale while decoding, it
// decodes at most at that size (keeping the proportions), for thumbnails of large images.
TResult<QImage> loadImage(QIODevice* device, QSize fitInto = {});
TResult<QImage> loadImageFromData(const QByteArray& data, QSize fitInto = {});
TResult<QImage> loadImageFromFile(const QString& fileName, QSize fitInto = {});

// The rectangle at the top left that shows an image of size image in an area of size area:
// unscaled when it fits, else scaled by the smaller of the two ratios, rounded to the nearest
// whole pixel.
QSize thumbnailSize(QSize image, QSize area);

// "File: "…" not found!"
QString fileNotFoundText(const QString& fileName);
QString invalidImageText();

} // namespace orvel
