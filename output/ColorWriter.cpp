#include "ColorWriter.h"

#include "FileDialogSize.h"

#include "ColorNotations.h"
#include "ColorOperations.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFont>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPainter>
#include <QPalette>
#include <QSaveFile>

#include <gif_lib.h>
#include <png.h>

#include <algorithm>
#include <array>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <unordered_map>

// jpeglib.h needs FILE and size_t declared first.
#include <jpeglib.h>

namespace chromint {

namespace {

constexpr int CaptionPixelSize = 13; // Arial 10 pt at 96 dots per inch

QColor ToQ(TColor c) {
    return QColor(GetRValue(c), GetGValue(c), GetBValue(c));
}

TColor FromQ(const QColor& c) {
    return MakeRGB(static_cast<std::uint8_t>(c.red()), static_cast<std::uint8_t>(c.green()),
                   static_cast<std::uint8_t>(c.blue()));
}

struct Box {
    int left, top, right, bottom; // right and bottom exclusive
    Box Shrunk(int n) const { return {left + n, top + n, right - n, bottom - n}; }
    bool Empty() const { return left >= right || top >= bottom; }
};

void FillBox(QImage& image, Box box, TColor color, Box clip) {
    box.left = std::max(box.left, clip.left);
    box.top = std::max(box.top, clip.top);
    box.right = std::min(box.right, clip.right);
    box.bottom = std::min(box.bottom, clip.bottom);
    if (box.Empty())
        return;
    const std::uint8_t r = GetRValue(color), g = GetGValue(color), b = GetBValue(color);
    for (int y = box.top; y < box.bottom; ++y) {
        std::uint8_t* p = image.scanLine(y) + box.left * 3;
        for (int x = box.left; x < box.right; ++x) {
            *p++ = r;
            *p++ = g;
            *p++ = b;
        }
    }
}

// Outlines the box in the pen colour and fills its inside, as a framed rectangle is drawn.
void DrawBox(QImage& image, Box box, TColor pen, TColor fill, Box clip) {
    FillBox(image, box, pen, clip);
    FillBox(image, box.Shrunk(1), fill, clip);
}

// The rings of the swatch style around a centre colour; returns the box the centre fills.
Box DrawRings(QImage& image, Box r, const ColorPictureLook& look, TColor centre, Box clip) {
    DrawBox(image, r, look.frame, look.window, clip);
    r = r.Shrunk(2);
    FillBox(image, r, BlendPercent(centre, clBlack, 25), clip);
    r = r.Shrunk(1);
    FillBox(image, r, BlendPercent(centre, clBlack, 13), clip);
    r = r.Shrunk(1);
    FillBox(image, r, centre, clip);
    return r;
}

bool IsTranslucent(TColor color, int opacity) {
    return color == clNone || opacity != 100;
}

// The colour laid over a backdrop at the opacity, or white when nothing of it shows.
TColor OverBackdrop(TColor backdrop, TColor color, int opacity) {
    if (color == clNone || opacity == 0)
        return clWhite;
    return BlendPercent(backdrop, color, opacity);
}

} // namespace

QImage RenderColorPictureBody(const ColorPictureLook& look, int width, int height) {
    QImage image(std::max(width, 1), std::max(height, 1), QImage::Format_RGB888);
    const Box all{0, 0, width, height};
    if (!IsTranslucent(look.color, look.opacity)) {
        if (look.swatchStyle)
            DrawRings(image, all, look, look.color, all);
        else
            DrawBox(image, all, look.frame, look.color, all);
        return image;
    }

    const TColor tile = OverBackdrop(clSilver, look.color, look.opacity);
    const TColor background = OverBackdrop(clWhite, look.color, look.opacity);
    Box r = all;
    if (look.swatchStyle)
        r = DrawRings(image, all, look, background, all);
    else
        DrawBox(image, all, look.frame, background, all);
    const Box clip = r.Shrunk(1);
    const int size = std::max(look.tileSize, 1);
    for (int row = 0; row <= height / size; ++row) {
        for (int col = 0; col <= width / size; ++col) {
            if ((row + col) % 2 == 1)
                FillBox(image, {col * size, row * size, col * size + size, row * size + size}, tile,
                        clip);
        }
    }
    return image;
}

QString ColorPictureCaption(TColor color) {
    return QStringLiteral("RGB: ") + QString::fromStdString(ColorToText(color, NotationRGBPlain));
}

TColor ColorPictureCaptionColor(TColor color, int opacity) {
    // Behind a translucent colour's caption lies the colour over white, not the colour: a
    // dark colour at low opacity is nearly white there and needs black text.
    const TColor behind =
        IsTranslucent(color, opacity) ? OverBackdrop(clWhite, color, opacity) : color;
    const std::array<TColor, 2> candidates{clBlack, clWhite};
    return NearestColor(InvertColor(behind), candidates, 1);
}

// ---- Encoders ---------------------------------------------------------------------------

namespace {

QImage AsRGB888(const QImage& image) {
    if (image.isNull())
        throw EColorWriteError("empty picture");
    return image.format() == QImage::Format_RGB888 ? image
                                                   : image.convertToFormat(QImage::Format_RGB888);
}

void PutLE16(std::vector<std::uint8_t>& out, std::uint32_t v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}

void PutLE32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    PutLE16(out, v & 0xFFFF);
    PutLE16(out, v >> 16);
}

// libpng reports errors by long jump; nothing with a destructor may live in the function
// that calls setjmp, so the encoding runs here on plain pointers.
struct PngSink {
    std::vector<std::uint8_t>* out;
    char message[200];
};

void PngWrite(png_structp png, png_bytep data, png_size_t length) {
    auto* sink = static_cast<PngSink*>(png_get_io_ptr(png));
    sink->out->insert(sink->out->end(), data, data + length);
}

void PngFlush(png_structp) {}

void PngError(png_structp png, png_const_charp message) {
    auto* sink = static_cast<PngSink*>(png_get_error_ptr(png));
    std::snprintf(sink->message, sizeof sink->message, "%s", message);
    png_longjmp(png, 1);
}

void PngWarning(png_structp, png_const_charp) {}

bool PngEncode(const std::uint8_t* const* rows, int width, int height, PngSink* sink) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, sink, PngError, PngWarning);
    if (png == nullptr)
        return false;
    png_infop info = png_create_info_struct(png);
    if (info == nullptr) {
        png_destroy_write_struct(&png, nullptr);
        return false;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_set_write_fn(png, sink, PngWrite, PngFlush);
    png_set_compression_level(png, 9);
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
                 PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < height; ++y)
        png_write_row(png, rows[y]);
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return true;
}

struct JpegErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

void JpegErrorExit(j_common_ptr info) {
    auto* manager = reinterpret_cast<JpegErrorManager*>(info->err);
    (*info->err->format_message)(info, manager->message);
    std::longjmp(manager->jump, 1);
}

// As for PNG: only plain data in the frame that calls setjmp.
bool JpegEncode(const std::uint8_t* const* rows, int width, int height, unsigned char** buffer,
                unsigned long* size, JpegErrorManager* errors) {
    jpeg_compress_struct cinfo;
    cinfo.err = jpeg_std_error(&errors->base);
    errors->base.error_exit = JpegErrorExit;
    if (setjmp(errors->jump)) {
        jpeg_destroy_compress(&cinfo);
        return false;
    }
    jpeg_create_compress(&cinfo);
    jpeg_mem_dest(&cinfo, buffer, size);
    cinfo.image_width = static_cast<JDIMENSION>(width);
    cinfo.image_height = static_cast<JDIMENSION>(height);
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, 100, TRUE);
    // Full-resolution chroma: subsampled colour shifts a flat swatch by a few levels.
    cinfo.comp_info[0].h_samp_factor = 1;
    cinfo.comp_info[0].v_samp_factor = 1;
    jpeg_simple_progression(&cinfo);
    cinfo.optimize_coding = TRUE;
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(rows[cinfo.next_scanline]);
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    return true;
}

int GifWrite(GifFileType* gif, const GifByteType* data, int length) {
    auto* out = static_cast<std::vector<std::uint8_t>*>(gif->UserData);
    out->insert(out->end(), data, data + length);
    return length;
}

std::vector<const std::uint8_t*> RowPointers(const QImage& image) {
    std::vector<const std::uint8_t*> rows(static_cast<std::size_t>(image.height()));
    for (int y = 0; y < image.height(); ++y)
        rows[static_cast<std::size_t>(y)] = image.constScanLine(y);
    return rows;
}

// Index of every pixel into an exact colour table when the picture has at most 256 colours,
// which a swatch with its caption always has; false when it has more.
bool ExactPalette(const QImage& image, std::vector<GifByteType>& indices,
                  std::vector<GifColorType>& table) {
    std::unordered_map<std::uint32_t, GifByteType> seen;
    const int w = image.width();
    for (int y = 0; y < image.height(); ++y) {
        const std::uint8_t* p = image.constScanLine(y);
        for (int x = 0; x < w; ++x, p += 3) {
            const std::uint32_t key =
                (std::uint32_t(p[0]) << 16) | (std::uint32_t(p[1]) << 8) | p[2];
            auto it = seen.find(key);
            if (it == seen.end()) {
                if (table.size() == 256)
                    return false;
                it = seen.emplace(key, static_cast<GifByteType>(table.size())).first;
                table.push_back({p[0], p[1], p[2]});
            }
            indices.push_back(it->second);
        }
    }
    return true;
}

// giflib's own median-cut reduction, for pictures with more than 256 colours.
void QuantizedPalette(const QImage& image, std::vector<GifByteType>& indices,
                      std::vector<GifColorType>& table) {
    const std::size_t count = std::size_t(image.width()) * std::size_t(image.height());
    std::vector<GifByteType> red(count), green(count), blue(count);
    std::size_t i = 0;
    for (int y = 0; y < image.height(); ++y) {
        const std::uint8_t* p = image.constScanLine(y);
        for (int x = 0; x < image.width(); ++x, ++i, p += 3) {
            red[i] = p[0];
            green[i] = p[1];
            blue[i] = p[2];
        }
    }
    indices.assign(count, 0);
    table.assign(256, GifColorType{0, 0, 0});
    int size = 256;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    // Marked deprecated in giflib 5 but still its one colour reducer.
    const int result = GifQuantizeBuffer(static_cast<unsigned>(image.width()),
                                         static_cast<unsigned>(image.height()), &size, red.data(),
                                         green.data(), blue.data(), indices.data(), table.data());
#pragma GCC diagnostic pop
    if (result != GIF_OK)
        throw EColorWriteError("GIF colour reduction failed");
    table.resize(static_cast<std::size_t>(std::clamp(size, 1, 256)));
}

} // namespace

std::vector<std::uint8_t> EncodeBMP(const QImage& source) {
    const QImage image = AsRGB888(source);
    const std::uint32_t w = static_cast<std::uint32_t>(image.width());
    const std::uint32_t h = static_cast<std::uint32_t>(image.height());
    const std::uint32_t stride = (w * 3 + 3) & ~3u;
    const std::uint32_t pixelBytes = stride * h;
    const std::uint32_t offset = 14 + 40;
    std::vector<std::uint8_t> out;
    out.reserve(offset + pixelBytes);
    out.push_back('B');
    out.push_back('M');
    PutLE32(out, offset + pixelBytes);
    PutLE32(out, 0);
    PutLE32(out, offset);
    PutLE32(out, 40);
    PutLE32(out, w);
    PutLE32(out, h); // positive: rows bottom-up
    PutLE16(out, 1);
    PutLE16(out, 24);
    PutLE32(out, 0); // no compression
    PutLE32(out, pixelBytes);
    PutLE32(out, 3780); // 96 dots per inch
    PutLE32(out, 3780);
    PutLE32(out, 0);
    PutLE32(out, 0);
    for (std::uint32_t y = h; y-- > 0;) {
        const std::uint8_t* p = image.constScanLine(static_cast<int>(y));
        for (std::uint32_t x = 0; x < w; ++x, p += 3) {
            out.push_back(p[2]);
            out.push_back(p[1]);
            out.push_back(p[0]);
        }
        for (std::uint32_t pad = w * 3; pad < stride; ++pad)
            out.push_back(0);
    }
    return out;
}

std::vector<std::uint8_t> EncodePNG(const QImage& source) {
    const QImage image = AsRGB888(source);
    const std::vector<const std::uint8_t*> rows = RowPointers(image);
    std::vector<std::uint8_t> out;
    PngSink sink{&out, {}};
    if (!PngEncode(rows.data(), image.width(), image.height(), &sink))
        throw EColorWriteError(std::string("PNG encoding failed: ") + sink.message);
    return out;
}

std::vector<std::uint8_t> EncodeJPEG(const QImage& source) {
    const QImage image = AsRGB888(source);
    const std::vector<const std::uint8_t*> rows = RowPointers(image);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    JpegErrorManager errors{};
    const bool ok = JpegEncode(rows.data(), image.width(), image.height(), &buffer, &size, &errors);
    std::vector<std::uint8_t> out;
    if (ok && buffer != nullptr)
        out.assign(buffer, buffer + size);
    std::free(buffer);
    if (!ok)
        throw EColorWriteError(std::string("JPEG encoding failed: ") + errors.message);
    return out;
}

std::vector<std::uint8_t> EncodeGIF(const QImage& source) {
    const QImage image = AsRGB888(source);
    std::vector<GifByteType> indices;
    std::vector<GifColorType> table;
    indices.reserve(std::size_t(image.width()) * std::size_t(image.height()));
    if (!ExactPalette(image, indices, table)) {
        indices.clear();
        table.clear();
        QuantizedPalette(image, indices, table);
    }
    // A GIF colour table has a power-of-two size of at least 2.
    int tableSize = 2;
    while (tableSize < static_cast<int>(table.size()))
        tableSize *= 2;
    table.resize(static_cast<std::size_t>(tableSize), GifColorType{0, 0, 0});

    std::vector<std::uint8_t> out;
    int error = 0;
    GifFileType* gif = EGifOpen(&out, GifWrite, &error);
    if (gif == nullptr)
        throw EColorWriteError(std::string("GIF encoding failed: ") + GifErrorString(error));
    ColorMapObject* map = GifMakeMapObject(tableSize, table.data());
    bool ok = map != nullptr;
    ok = ok && EGifPutScreenDesc(gif, image.width(), image.height(), 8, 0, map) == GIF_OK;
    ok = ok && EGifPutImageDesc(gif, 0, 0, image.width(), image.height(), false, nullptr) == GIF_OK;
    for (int y = 0; ok && y < image.height(); ++y)
        ok = EGifPutLine(gif, indices.data() + std::size_t(y) * std::size_t(image.width()),
                         image.width()) == GIF_OK;
    const int lastError = gif->Error;
    GifFreeMapObject(map);
    int closeError = 0;
    if (EGifCloseFile(gif, &closeError) != GIF_OK)
        ok = false;
    if (!ok)
        throw EColorWriteError(std::string("GIF encoding failed: ") +
                               GifErrorString(lastError != 0 ? lastError : closeError));
    return out;
}

void WriteFileAtomically(const QString& fileName, const std::vector<std::uint8_t>& bytes) {
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        throw EColorWriteError("cannot create " + fileName.toStdString() + ": " +
                               file.errorString().toStdString());
    const qint64 size = static_cast<qint64>(bytes.size());
    // QSaveFile::commit drops an error of its last buffered write (a full disk keeps only
    // part of the picture): flushing first reports it, and the old file stays.
    if (file.write(reinterpret_cast<const char*>(bytes.data()), size) != size || !file.flush() ||
        !file.commit())
        throw EColorWriteError("cannot write " + fileName.toStdString() + ": " +
                               file.errorString().toStdString());
}

// ---- TColorWriter -----------------------------------------------------------------------

TColorWriter::TColorWriter(TColor color) : FColor(color) {
    // The same system colours as the swatch controls use for their ring and frame.
    if (qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr) {
        const QPalette pal = QApplication::palette();
        FWindowColor = FromQ(pal.color(QPalette::Active, QPalette::Base));
        FFrameColor = FromQ(pal.color(QPalette::Active, QPalette::Dark));
    }
}

void TColorWriter::SetOpacity(int value) {
    FOpacity = std::clamp(value, 0, 100);
}

void TColorWriter::SetTileSize(std::uint8_t value) {
    if (value > 0)
        FTileSize = value;
}

ColorPictureLook TColorWriter::Look() const {
    return {FColor, FOpacity, FTileSize, FSwatchStyle, FWindowColor, FFrameColor};
}

void TColorWriter::Render(QImage& image) const {
    image = RenderColorPictureBody(Look(), FWidth, FHeight);
    QPainter painter(&image);
    if (IsTranslucent(FColor, FOpacity)) {
        const int inset = FSwatchStyle ? 5 : 1;
        painter.setClipRect(QRect(inset, inset, FWidth - 2 * inset, FHeight - 2 * inset));
    }
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(CaptionPixelSize);
    painter.setFont(font);
    painter.setPen(ToQ(ColorPictureCaptionColor(FColor, FOpacity)));
    painter.drawText(QRect(4, 4, FWidth - 8, FHeight - 8),
                     Qt::AlignHCenter | Qt::AlignBottom | Qt::TextSingleLine,
                     ColorPictureCaption(FColor));
}

void TColorWriter::Save(const QString& fileName, Encoder encode) const {
    QImage image;
    Render(image);
    WriteFileAtomically(fileName, encode(image));
}

void TColorWriter::SaveAsBitmap(const QString& fileName) const {
    Save(fileName, EncodeBMP);
}

void TColorWriter::SaveAsPNG(const QString& fileName) const {
    Save(fileName, EncodePNG);
}

void TColorWriter::SaveAsGIF(const QString& fileName) const {
    Save(fileName, EncodeGIF);
}

void TColorWriter::SaveAsJPEG(const QString& fileName) const {
    Save(fileName, EncodeJPEG);
}

// ---- The "Export..." command --------------------------------------------------------------

const char* const ExportFailedText = "There was occurs a problem during saving to file.";

namespace {
int gLastExportFormat = ExportPNG;

const char* ExportExtension(int format) {
    switch (format) {
    case ExportBMP:
        return ".bmp";
    case ExportGIF:
        return ".gif";
    case ExportJPEG:
        return ".jpg";
    default:
        return ".png";
    }
}
} // namespace

QStringList ExportNameFilters() {
    return {QStringLiteral("BMP - Windows and OS/2 Bitmap (*.bmp)"),
            QStringLiteral("PNG - Portable Network Graphic (*.png)"),
            QStringLiteral("GIF - Graphics Interchange Format (*.gif)"),
            QStringLiteral("JPG - JPEG Image (*.jpg)")};
}

QString ExportFileName(const QString& fileName, int format) {
    const QString extension = QString::fromLatin1(ExportExtension(format));
    const qsizetype slash = fileName.lastIndexOf(QLatin1Char('/'));
    const qsizetype dot = fileName.lastIndexOf(QLatin1Char('.'));
    if (dot <= slash)
        return fileName + extension;
    if (fileName.mid(dot) == extension)
        return fileName;
    return fileName.left(dot) + extension;
}

void SaveColorPicture(TColor color, const QString& fileName, int format) {
    const TColorWriter writer(color);
    switch (format) {
    case ExportBMP:
        writer.SaveAsBitmap(fileName);
        break;
    case ExportGIF:
        writer.SaveAsGIF(fileName);
        break;
    case ExportJPEG:
        writer.SaveAsJPEG(fileName);
        break;
    default:
        writer.SaveAsPNG(fileName);
        break;
    }
}

QString ExportSuggestedName(TColor color) {
    return QString::fromStdString(ColorToText(color, NotationHTML)).mid(1);
}

int LastExportFormat() {
    return gLastExportFormat;
}

void SetLastExportFormat(int format) {
    gLastExportFormat = std::clamp(format, int(ExportBMP), int(ExportJPEG));
}

bool RunExportColorCommand(QWidget* parent, QString& lastSaveDir, TColor current) {
    QFileDialog dialog(parent);
    dialog.setObjectName(QStringLiteral("ExportDialog"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, false);
    const QStringList filters = ExportNameFilters();
    dialog.setNameFilters(filters);
    dialog.selectNameFilter(filters.at(LastExportFormat() - 1));
    if (!lastSaveDir.isEmpty())
        dialog.setDirectory(lastSaveDir);
    dialog.selectFile(ExportSuggestedName(current));
    const FileDialogSizeKeeper size(dialog);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return false;

    const int format = static_cast<int>(filters.indexOf(dialog.selectedNameFilter())) + 1;
    if (format >= ExportBMP)
        SetLastExportFormat(format);
    const QString chosen = dialog.selectedFiles().constFirst();
    const QString fileName = ExportFileName(chosen, LastExportFormat());

    bool written = false;
    // The dialog asked about overwriting the name typed; a changed extension names another
    // file, which is not replaced without asking too.
    bool go = true;
    if (fileName != chosen && QFileInfo::exists(fileName)) {
        go =
            QMessageBox::question(parent, QGuiApplication::applicationDisplayName(),
                                  QStringLiteral("%1 already exists.\nDo you want to replace it?")
                                      .arg(QDir::toNativeSeparators(fileName))) == QMessageBox::Yes;
    }
    bool failed = false;
    if (go) {
        try {
            SaveColorPicture(current, fileName, LastExportFormat());
            written = true;
        } catch (const std::exception&) {
            failed = true;
        }
    }
    lastSaveDir = QFileInfo(fileName).absolutePath();
    if (failed) {
        QMessageBox box(QMessageBox::Critical, QGuiApplication::applicationDisplayName(),
                        QString::fromLatin1(ExportFailedText), QMessageBox::Ok, parent);
        box.setObjectName(QStringLiteral("ExportFailed"));
        box.exec();
    }
    return written;
}

} // namespace chromint
