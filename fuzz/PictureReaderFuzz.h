#pragma once

// What the targets of our own picture readers share.

#include "FuzzSupport.h"
#include "ImageLoaders.h"

#include <QBuffer>
#include <QImage>

namespace chromint::fuzz {

// One of our picture readers on the bytes: a picture it gives must be what it promises, a
// format of 32-bit ARGB within the pixel limit; refusing the bytes is always allowed.
template <class Reader>
int ReadPicture(const std::uint8_t* data, std::size_t size, Reader read) {
    QByteArray bytes = Bytes(data, size);
    QBuffer device(&bytes);
    device.open(QIODevice::ReadOnly);
    try {
        const QImage image = read(device);
        if (image.isNull() || image.format() != QImage::Format_ARGB32 ||
            std::int64_t(image.width()) * image.height() > MaxPicturePixels)
            Broken("the reader gave a picture it promises never to give");
    } catch (const PictureLoadError&) {
    }
    return 0;
}

} // namespace chromint::fuzz
