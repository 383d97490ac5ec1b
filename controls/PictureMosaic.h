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

// The same result as copying the picture, making it opaque when asked, and running Mosaic on
// the copy; built in one pass, since the pictures it is used on can be large.
QImage MosaicCopy(const QImage& picture, int blockSize, bool opaque);

} // namespace chromint
