#pragma once

#include <QIODevice>
#include <QImage>

namespace chromint {

// The merged image of a Photoshop document (PSD, and the large-document PSB), as 32-bit ARGB.
// Throws PictureLoadError.
QImage ReadPsd(QIODevice& device);

} // namespace chromint
