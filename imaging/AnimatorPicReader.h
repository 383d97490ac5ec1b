#pragma once

#include <QIODevice>
#include <QImage>

namespace chromint {

// A picture or cel of Autodesk Animator or Animator Pro, as 32-bit ARGB.
// Throws PictureLoadError.
QImage ReadAnimatorPic(QIODevice& device);

} // namespace chromint
