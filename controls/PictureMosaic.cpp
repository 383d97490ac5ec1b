#include "PictureMosaic.h"

#include <algorithm>
#include <cstring>

namespace chromint {

namespace {

// Writes one pixelated row from a source row: each run takes its first pixel.
void FillMosaicRow(const QRgb* source, QRgb* target, int width, int blockSize) {
    for (int x = 0; x < width; x += blockSize) {
        const QRgb value = source[x];
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
        FillMosaicRow(first, first, width, blockSize);
        const int end = std::min(height, top + blockSize);
        for (int y = top + 1; y < end; ++y)
            std::memcpy(bitmap.scanLine(y), first, rowBytes);
    }
}

int MosaicStep(int blockSize) {
    return std::max(1, blockSize);
}

QImage MosaicBlocks(const QImage& picture, int blockSize, bool opaque) {
    if (picture.isNull() || !Is32Bit(picture))
        return {};
    const int step = MosaicStep(blockSize);
    const int columns = (picture.width() + step - 1) / step;
    const int rows = (picture.height() + step - 1) / step;
    QImage blocks(columns, rows, picture.format());
    if (blocks.isNull())
        return {};
    const QRgb orMask = opaque ? 0xFF000000u : 0u;
    for (int r = 0; r < rows; ++r) {
        const auto* source = reinterpret_cast<const QRgb*>(picture.constScanLine(r * step));
        auto* target = reinterpret_cast<QRgb*>(blocks.scanLine(r));
        for (int c = 0; c < columns; ++c)
            target[c] = source[c * step] | orMask;
    }
    return blocks;
}

} // namespace chromint
