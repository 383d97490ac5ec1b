#pragma once

#include <QImage>
#include <QString>

namespace chromint {

// A picture read by GraphicsMagick's coder named by `magick` ("PCX", "SGI", "CUT", ...), as
// 32-bit ARGB. The coder is named because several of these formats carry no signature.
// Throws PictureLoadError.
QImage ReadWithMagick(const QString& fileName, const char* magick);

// Whether the GraphicsMagick reader could be loaded (it is loaded on the first call).
bool MagickReaderAvailable();

} // namespace chromint
