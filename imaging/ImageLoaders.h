#pragma once

#include <QImage>
#include <QString>

#include <cstdint>
#include <stdexcept>

namespace chromint {

// Pictures larger than this are refused before any pixel memory is taken: far above any
// photograph, and a stop for headers that claim absurd sizes.
inline constexpr std::int64_t MaxPicturePixels = 400'000'000;

// The texts appended to "There is a problem with opening <file> file. ".
QString UnsupportedPictureText();
QString FileNotFoundText();
QString StreamReadErrorText();
QString PictureTooLargeText(std::int64_t width, std::int64_t height);

// The whole message the user sees for a failed load.
QString PictureLoadMessage(const QString& fileName, const QString& reason);

// A failed load; what() is the text appended to the message (UTF-8).
class PictureLoadError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
    QString Reason() const { return QString::fromUtf8(what()); }
};

enum class PictureDecoder : std::uint8_t { Png, Jpeg, General };

// By the end of the name: ".png" in any letter case goes to the PNG loader, the JPEG endings
// only in lower case.
PictureDecoder DecoderForFileName(const QString& fileName);

// A loaded picture as 32-bit ARGB (not premultiplied), and whether it carries transparency.
struct LoadedPicture {
    QImage image;
    bool transparent = false;
};

// PNG through libpng: every pixel opaque unless the file has a transparent colour (those
// pixels get alpha 0, their RGB kept) or an alpha channel or palette alpha (copied). The
// values are those stored, 16-bit samples rounded to 8 bits and no gamma applied.
// Throws PictureLoadError.
LoadedPicture LoadPNGFromFile(const QString& fileName);

// JPEG through libjpeg; a warning of damaged or missing data counts as a failure.
// Throws PictureLoadError.
QImage LoadJPEGFromFile(const QString& fileName);

// Every other family, by the name's ending in any letter case: Qt's readers (bitmaps, icons,
// GIF, TIFF, Targa, the portable maps, and JPEG named in capitals), GraphicsMagick
// (PCX, SGI, Alias/Wavefront, Photo CD, Dr. Halo, Windows metafiles), and readers of our
// own for Photoshop, Autodesk Animator and Paint Shop Pro. Unknown endings go to Qt, which
// decides by the content. Throws PictureLoadError.
QImage LoadGeneralPicture(const QString& fileName);

// The decoder the name asks for. Throws PictureLoadError.
LoadedPicture LoadPicture(const QString& fileName);

} // namespace chromint
