#pragma once

#include "ColorTypes.h"

#include <QImage>
#include <QString>

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

class QWidget;

namespace chromint {

// A picture file that could not be written; the old file, if any, is left as it was.
class EColorWriteError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Everything the colour picture is drawn from besides its size and caption.
struct ColorPictureLook {
    TColor color = clWhite;
    int opacity = 100;
    int tileSize = 4;
    bool swatchStyle = true;
    TColor window = clWhite; // the light ring just inside the frame
    TColor frame = 0x808080; // the one-pixel outline
};

// The picture without its caption, 24 bits per pixel: the frame and rings of an opaque
// colour, or the colour laid over white with a silver-backed checker for a translucent one.
QImage RenderColorPictureBody(const ColorPictureLook& look, int width, int height);

// "RGB: r g b" of the colour's three low bytes.
QString ColorPictureCaption(TColor color);

// The caption's colour, black or white, whichever stands out from the colour behind it: the
// colour itself when opaque, the colour over white when translucent.
TColor ColorPictureCaptionColor(TColor color, int opacity);

// Encoders of a rendered picture. Each gives the whole file's bytes or throws EColorWriteError.
std::vector<std::uint8_t> EncodeBMP(const QImage& image);
std::vector<std::uint8_t> EncodePNG(const QImage& image);
std::vector<std::uint8_t> EncodeGIF(const QImage& image);
std::vector<std::uint8_t> EncodeJPEG(const QImage& image);

// Replaces the file in one step: a failure leaves any old file untouched. Throws
// EColorWriteError.
void WriteFileAtomically(const QString& fileName, const std::vector<std::uint8_t>& bytes);

// The current colour drawn as a framed swatch with its RGB values, and saved as a picture.
class TColorWriter {
public:
    static constexpr int DefaultWidth = 128;
    static constexpr int DefaultHeight = 64;

    // The frame and ring colours come from the application's palette, as the swatches'.
    explicit TColorWriter(TColor color);

    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    TColor Color() const { return FColor; }
    void SetColor(TColor value) { FColor = value; }
    int Opacity() const { return FOpacity; }
    // Clamped to 0..100.
    void SetOpacity(int value);
    std::uint8_t TileSize() const { return FTileSize; }
    // 0 is ignored: a checker square needs at least one pixel.
    void SetTileSize(std::uint8_t value);
    bool SwatchStyle() const { return FSwatchStyle; }
    void SetSwatchStyle(bool value) { FSwatchStyle = value; }
    TColor WindowColor() const { return FWindowColor; }
    void SetWindowColor(TColor value) { FWindowColor = value; }
    TColor FrameColor() const { return FFrameColor; }
    void SetFrameColor(TColor value) { FFrameColor = value; }

    // Draws the picture into the caller's image, resizing it.
    void Render(QImage& image) const;

    // Each throws EColorWriteError and leaves an existing file alone on failure.
    void SaveAsBitmap(const QString& fileName) const;
    void SaveAsPNG(const QString& fileName) const;
    void SaveAsGIF(const QString& fileName) const;
    void SaveAsJPEG(const QString& fileName) const;

private:
    using Encoder = std::vector<std::uint8_t> (*)(const QImage&);
    ColorPictureLook Look() const;
    void Save(const QString& fileName, Encoder encode) const;

    int FWidth = DefaultWidth;
    int FHeight = DefaultHeight;
    TColor FColor = clNone;
    int FOpacity = 100;
    std::uint8_t FTileSize = 4;
    bool FSwatchStyle = true;
    TColor FWindowColor = clWhite;
    TColor FFrameColor = 0x808080;
};

// The "Export..." command's file types, in the order of the save dialog's filter (1-based).
enum ExportFormat : int { ExportBMP = 1, ExportPNG = 2, ExportGIF = 3, ExportJPEG = 4 };

extern const char* const ExportFailedText;

// The save dialog's filter entries, one per format.
QStringList ExportNameFilters();

// The file name with the extension of the chosen format: a different extension (compared
// case-sensitively) is replaced, a missing one appended.
QString ExportFileName(const QString& fileName, int format);

// Writes the colour's picture in the format; throws EColorWriteError.
void SaveColorPicture(TColor color, const QString& fileName, int format);

// The save dialog's initial name for a colour: its HTML code without the "#".
QString ExportSuggestedName(TColor color);

// The format chosen last in the save dialog this run (PNG at first).
int LastExportFormat();
void SetLastExportFormat(int format);

// The whole "Export..." command: asks for the file, writes the picture and stores the folder
// in lastSaveDir, also after a failure, which it reports in one message box. True when a
// file was written.
bool RunExportColorCommand(QWidget* parent, QString& lastSaveDir, TColor current);

// The same for anything with the settings' LastSaveColorDir accessors.
template <class Settings>
bool RunExportColorCommand(QWidget* parent, Settings& settings, TColor current) {
    QString dir = settings.LastSaveColorDir();
    const bool written = RunExportColorCommand(parent, dir, current);
    settings.SetLastSaveColorDir(dir);
    return written;
}

} // namespace chromint
