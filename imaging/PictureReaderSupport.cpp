#include "PictureReaderSupport.h"

namespace chromint::picture {

void Fail(const QString& reason) {
    throw PictureLoadError(reason.toStdString());
}

void CheckSize(std::int64_t width, std::int64_t height) {
    if (width <= 0 || height <= 0)
        Fail(UnsupportedPictureText());
    // Either side alone over the limit is refused first, which also keeps the product of the
    // two (each at most the limit) well inside 64 bits: sizes from 32-bit unsigned fields
    // would otherwise overflow it.
    if (width > MaxPicturePixels || height > MaxPicturePixels || width * height > MaxPicturePixels)
        Fail(PictureTooLargeText(width, height));
}

QImage NewImage(int width, int height, QImage::Format format) {
    QImage image(width, height, format);
    // QImage gives a null image when the memory cannot be had.
    if (image.isNull())
        Fail(PictureTooLargeText(width, height));
    return image;
}

QByteArray ReadAll(QIODevice& device) {
    if (!device.isReadable())
        Fail(StreamReadErrorText());
    return device.readAll();
}

void ByteCursor::Seek(std::uint64_t position) {
    if (position > static_cast<std::uint64_t>(data_.size()))
        Fail(StreamReadErrorText());
    position_ = static_cast<std::size_t>(position);
}

void ByteCursor::Skip(std::uint64_t count) {
    if (count > Remaining())
        Fail(StreamReadErrorText());
    position_ += static_cast<std::size_t>(count);
}

QByteArrayView ByteCursor::Bytes(std::uint64_t count) {
    const std::size_t start = position_;
    Skip(count);
    return data_.sliced(static_cast<qsizetype>(start), static_cast<qsizetype>(count));
}

ByteCursor ByteCursor::Sub(std::uint64_t count) {
    return ByteCursor(Bytes(count), order_);
}

std::uint64_t ByteCursor::Unsigned(int size) {
    const QByteArrayView bytes = Bytes(static_cast<std::uint64_t>(size));
    std::uint64_t value = 0;
    for (int i = 0; i < size; ++i) {
        const int at = order_ == std::endian::big ? i : size - 1 - i;
        value = (value << 8) | static_cast<std::uint8_t>(bytes[at]);
    }
    return value;
}

std::uint8_t ByteCursor::U8() {
    return static_cast<std::uint8_t>(Unsigned(1));
}

std::uint16_t ByteCursor::U16() {
    return static_cast<std::uint16_t>(Unsigned(2));
}

std::uint32_t ByteCursor::U32() {
    return static_cast<std::uint32_t>(Unsigned(4));
}

std::uint64_t ByteCursor::U64() {
    return Unsigned(8);
}

} // namespace chromint::picture
