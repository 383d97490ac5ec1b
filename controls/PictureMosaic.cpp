#include "PictureMosaic.h"

#include <algorithm>
#include <cstring>

namespace chromint {

namespace {

// Writes one pixelated row from a source row: each run takes its first pixel.
void FillMosaicRow(const QRgb* source, QRgb* target, int width, int blockSize, QRgb orMask) {
    for (int x = 0; x < width; x += blockSize) {
        const QRgb value = source[x] | orMask;
        const int end = std::min(width, x + blockSize);
        std::fill(target + x, target + end, value);
    }
}

bool Is32Bit(const QImage& image) {
    return image.depth() == 32;
}

} // namespace

int MosaicBlockSize(int width, int height) {
    if (width < 150 || height < 150)
        return std::min(width, height) / 4;
    return 50;
}

void Mosaic(QImage& bitmap, int blockSize) {
    if (blockSize <= 1 || bitmap.isNull() || !Is32Bit(bitmap))
        return;
    const int width = bitmap.width();
    const int height = bitmap.height();
    const auto rowBytes = static_cast<std::size_t>(width) * sizeof(QRgb);
    for (int top = 0; top < height; top += blockSize) {
        auto* first = reinterpret_cast<QRgb*>(bitmap.scanLine(top));
        FillMosaicRow(first, first, width, blockSize, 0);
        const int end = std::min(height, top + blockSize);
        for (int y = top + 1; y < end; ++y)
            std::memcpy(bitmap.scanLine(y), first, rowBytes);
    }
}

QImage MosaicCopy(const QImage& picture, int blockSize, bool opaque) {
    if (picture.isNull() || !Is32Bit(picture))
        return {};
    QImage copy(picture.size(), picture.format());
    if (copy.isNull())
        return {};
    const QRgb orMask = opaque ? 0xFF000000u : 0u;
    const int width = picture.width();
    const int height = picture.height();
    const int step = std::max(1, blockSize);
    const auto rowBytes = static_cast<std::size_t>(width) * sizeof(QRgb);
    for (int top = 0; top < height; top += step) {
        const int end = std::min(height, top + step);
        auto* first = reinterpret_cast<QRgb*>(copy.scanLine(top));
        FillMosaicRow(reinterpret_cast<const QRgb*>(picture.constScanLine(top)), first, width, step,
                      orMask);
        for (int y = top + 1; y < end; ++y)
            std::memcpy(copy.scanLine(y), first, rowBytes);
    }
    return copy;
}

} // namespace chromint
