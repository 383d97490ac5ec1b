#pragma once

// Shared by the picture readers: the failures they report and a bounds-checked way through
// the bytes of a file, so no length taken from a file can lead past its end.

#include "ImageLoaders.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QIODevice>
#include <QImage>

#include <bit>
#include <cstddef>
#include <cstdint>

namespace chromint::picture {

[[noreturn]] void Fail(const QString& reason);

// Refuses empty pictures and those over MaxPicturePixels; any sizes a file can give (32-bit
// unsigned ones included) are checked without overflow.
void CheckSize(std::int64_t width, std::int64_t height);

// A picture of that size, or the too-large failure when the memory cannot be had.
QImage NewImage(int width, int height, QImage::Format format);

// The whole rest of the device; a device that cannot be read fails with the stream text.
QByteArray ReadAll(QIODevice& device);

class ByteCursor {
public:
    ByteCursor(QByteArrayView data, std::endian order) : data_(data), order_(order) {}

    std::size_t Position() const { return position_; }
    std::size_t Remaining() const { return static_cast<std::size_t>(data_.size()) - position_; }
    bool AtEnd() const { return Remaining() == 0; }

    // Every read past the end fails with the stream text.
    void Seek(std::uint64_t position);
    void Skip(std::uint64_t count);
    QByteArrayView Bytes(std::uint64_t count);
    // The next count bytes as a cursor of their own; this one moves past them.
    ByteCursor Sub(std::uint64_t count);

    std::uint8_t U8();
    std::uint16_t U16();
    std::uint32_t U32();
    std::uint64_t U64();
    std::int16_t S16() { return static_cast<std::int16_t>(U16()); }
    std::int32_t S32() { return static_cast<std::int32_t>(U32()); }

private:
    std::uint64_t Unsigned(int size);

    QByteArrayView data_;
    std::endian order_;
    std::size_t position_ = 0;
};

} // namespace chromint::picture
