#pragma once

#include <QIODevice>
#include <QImage>

namespace chromint {

// A Paint Shop Pro image (PSP 6 and later), as 32-bit ARGB. Throws PictureLoadError.
QImage ReadPsp(QIODevice& device);

} // namespace chromint
