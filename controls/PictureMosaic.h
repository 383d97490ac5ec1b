#pragma once

#include <QImage>

namespace chromint {

// The block size that pixelates a W × H picture: a quarter of the shorter side for a picture
// under 150 pixels in either direction, else 50.
int MosaicBlockSize(int width, int height);

// Pixelates in place: every block of blockSize × blockSize pixels from the top-left corner
// takes the value of its top-left pixel (the last blocks of a row or column may be smaller).
// A block size of 0 or 1 leaves the picture as it is. 32-bit pictures only.
void Mosaic(QImage& bitmap, int blockSize);

// A pixelated picture kept small: one pixel per block, the block's top-left pixel, made
// opaque when asked. Pixel (x, y) of the full pixelated picture is pixel
// (x div step, y div step) of this one, step being MosaicStep(blockSize). A photograph's
// pixelated copy costs a few kilobytes this way instead of another picture's worth.
QImage MosaicBlocks(const QImage& picture, int blockSize, bool opaque);
int MosaicStep(int blockSize);

} // namespace chromint
