#include "ImageLoaders.h"

#include "AnimatorPicReader.h"
#include "MagickReader.h"
#include "PictureReaderSupport.h"
#include "PsdReader.h"
#include "PspReader.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>

#include <png.h>

#include <bit>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
// jpeglib.h needs FILE and size_t declared before it.
#include <jerror.h>
#include <jpeglib.h>

#include <memory>
#include <vector>

namespace chromint {

namespace {

using picture::CheckSize;
using picture::Fail;
using picture::NewImage;

// A missing or unreadable file is told apart from a bad picture.
void CheckReadable(const QString& fileName) {
    const QFileInfo info(fileName);
    if (!info.exists() || !info.isFile() || !info.isReadable())
        Fail(FileNotFoundText());
}

// libjpeg reports fatal errors through a callback that must not return: the jump leads back
// into the decoding function. Warnings of a file that ends early become errors, so a
// truncated picture is refused instead of shown half grey.
struct JpegErrorManager {
    jpeg_error_mgr mgr;
    std::jmp_buf jump;
};

void OnJpegError(j_common_ptr cinfo) {
    std::longjmp(reinterpret_cast<JpegErrorManager*>(cinfo->err)->jump, 1);
}

void OnJpegMessage(j_common_ptr cinfo, int level) {
    if (level < 0 && cinfo->err->msg_code == JWRN_JPEG_EOF)
        cinfo->err->error_exit(cinfo);
}

enum class JpegOutcome : std::uint8_t { Ok, Corrupt, TooLarge };

// Everything jumped over lives in the caller's frame or on the heap, so the jump destroys
// nothing; only plain values are local here.
struct JpegJob {
    jpeg_decompress_struct cinfo{};
    JpegErrorManager error{};
    QImage image;
    std::vector<JSAMPLE> cmykRow;
    int width = 0;
    int height = 0;
};

void StoreCmykRow(JpegJob& job, int y, bool inverted) {
    auto* out = reinterpret_cast<QRgb*>(job.image.scanLine(y));
    const JSAMPLE* in = job.cmykRow.data();
    for (int x = 0; x < job.width; ++x, in += 4) {
        // Adobe writes the inks inverted; others as they are.
        const int c = inverted ? in[0] : 255 - in[0];
        const int m = inverted ? in[1] : 255 - in[1];
        const int yy = inverted ? in[2] : 255 - in[2];
        const int k = inverted ? in[3] : 255 - in[3];
        out[x] = qRgb(c * k / 255, m * k / 255, yy * k / 255);
    }
}

JpegOutcome DecodeJpeg(std::FILE* file, JpegJob& job) {
    job.cinfo.err = jpeg_std_error(&job.error.mgr);
    job.error.mgr.error_exit = OnJpegError;
    job.error.mgr.emit_message = OnJpegMessage;
    if (setjmp(job.error.jump)) {
        jpeg_destroy_decompress(&job.cinfo);
        return JpegOutcome::Corrupt;
    }
    jpeg_create_decompress(&job.cinfo);
    jpeg_stdio_src(&job.cinfo, file);
    jpeg_read_header(&job.cinfo, TRUE);
    job.width = static_cast<int>(job.cinfo.image_width);
    job.height = static_cast<int>(job.cinfo.image_height);
    if (std::int64_t(job.width) * job.height > MaxPicturePixels) {
        jpeg_destroy_decompress(&job.cinfo);
        return JpegOutcome::TooLarge;
    }
    const bool cmyk =
        job.cinfo.jpeg_color_space == JCS_CMYK || job.cinfo.jpeg_color_space == JCS_YCCK;
    if (cmyk)
        job.cinfo.out_color_space = JCS_CMYK;
    else
        job.cinfo.out_color_space =
            std::endian::native == std::endian::little ? JCS_EXT_BGRA : JCS_EXT_ARGB;
    jpeg_start_decompress(&job.cinfo);
    // libjpeg fills the alpha bytes with 255, so the picture needs no conversion afterwards.
    job.image = QImage(job.width, job.height, QImage::Format_ARGB32);
    if (job.image.isNull()) {
        jpeg_destroy_decompress(&job.cinfo);
        return JpegOutcome::TooLarge;
    }
    if (cmyk)
        job.cmykRow.resize(static_cast<std::size_t>(job.width) * 4);
    while (job.cinfo.output_scanline < job.cinfo.output_height) {
        const int y = static_cast<int>(job.cinfo.output_scanline);
        JSAMPROW row = cmyk ? job.cmykRow.data() : job.image.scanLine(y);
        jpeg_read_scanlines(&job.cinfo, &row, 1);
        if (cmyk)
            StoreCmykRow(job, y, job.cinfo.saw_Adobe_marker);
    }
    jpeg_finish_decompress(&job.cinfo);
    jpeg_destroy_decompress(&job.cinfo);
    return JpegOutcome::Ok;
}

// libpng reports fatal errors the same way: the callback jumps back to the stage that was
// running. Its warnings (a damaged ancillary chunk, say) are not the user's concern.
[[noreturn]] void OnPngError(png_structp png, png_const_charp) {
    png_longjmp(png, 1);
}

void OnPngWarning(png_structp, png_const_charp) {}

// The classic reader is used rather than the simplified one, which takes 16-bit samples
// without a gAMA chunk for linear light and converts files with other gamma values: a
// picker must give the numbers stored in the file. Everything the jump may cross lives here.
struct PngJob {
    png_structp png = nullptr;
    png_infop info = nullptr;
    std::FILE* file = nullptr;
    QImage image;
    png_uint_32 width = 0;
    png_uint_32 height = 0;
    int passes = 1;
    bool transparent = false;

    PngJob() = default;
    PngJob(const PngJob&) = delete;
    PngJob& operator=(const PngJob&) = delete;
    ~PngJob() {
        if (png)
            png_destroy_read_struct(&png, &info, nullptr);
    }
};

// Runs one stage of the reading; false when libpng gave up on the file. A stage has only
// plain locals, so the jump out of it destroys nothing.
bool RunPngStage(PngJob& job, void (*stage)(PngJob&)) {
    if (setjmp(png_jmpbuf(job.png)))
        return false;
    stage(job);
    return true;
}

// Reads the header and asks for 8-bit ARGB32 rows as stored: palette and grey expanded,
// 16-bit samples scaled to 8 bits by rounding, no gamma conversion.
void ReadPngHeader(PngJob& job) {
    png_init_io(job.png, job.file);
    png_read_info(job.png, job.info);
    job.width = png_get_image_width(job.png, job.info);
    job.height = png_get_image_height(job.png, job.info);
    const int colourType = png_get_color_type(job.png, job.info);
    const int bitDepth = png_get_bit_depth(job.png, job.info);
    const bool hasTrns = png_get_valid(job.png, job.info, PNG_INFO_tRNS) != 0;
    // A transparent colour or palette alpha becomes an alpha channel, as a real one is.
    job.transparent = (colourType & PNG_COLOR_MASK_ALPHA) != 0 || hasTrns;
    if (colourType == PNG_COLOR_TYPE_PALETTE)
        png_set_palette_to_rgb(job.png);
    if (colourType == PNG_COLOR_TYPE_GRAY && bitDepth < 8)
        png_set_expand_gray_1_2_4_to_8(job.png);
    // Pixels of the transparent colour get alpha 0 and keep their RGB.
    if (hasTrns)
        png_set_tRNS_to_alpha(job.png);
    if (bitDepth == 16)
        png_set_scale_16(job.png);
    if ((colourType & PNG_COLOR_MASK_COLOR) == 0)
        png_set_gray_to_rgb(job.png);
    // Format_ARGB32 is B, G, R, A in memory on little-endian machines, A, R, G, B otherwise.
    constexpr bool little = std::endian::native == std::endian::little;
    if (!job.transparent)
        png_set_filler(job.png, 0xFF, little ? PNG_FILLER_AFTER : PNG_FILLER_BEFORE);
    if (little)
        png_set_bgr(job.png);
    else if (job.transparent)
        png_set_swap_alpha(job.png);
    job.passes = png_set_interlace_handling(job.png);
    png_read_update_info(job.png, job.info);
    if (png_get_rowbytes(job.png, job.info) != std::size_t(job.width) * 4)
        png_error(job.png, "unexpected row layout");
}

// Reads the pixels into job.image, row by row in each pass of an interlaced file, and the
// chunks after them: a file that ends early fails.
void ReadPngPixels(PngJob& job) {
    for (int pass = 0; pass < job.passes; ++pass) {
        for (int y = 0; y < job.image.height(); ++y)
            png_read_row(job.png, job.image.scanLine(y), nullptr);
    }
    png_read_end(job.png, nullptr);
}

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

enum class Family : std::uint8_t { Qt, Targa, Magick, Psd, Animator, Psp, Unreadable };

// Headers read before the reader, whose refusal of an absurd size would look like damage.
enum class Header : std::uint8_t { None, Bitmap, Targa, Pcx, Sgi };

struct Ending {
    const char* suffix;
    Family family;
    // GraphicsMagick's coder, named because several of these formats carry no signature.
    const char* magick = nullptr;
    Header header = Header::None;
};

constexpr Ending Endings[] = {
    {"bmp", Family::Qt, nullptr, Header::Bitmap},
    {"dib", Family::Qt, nullptr, Header::Bitmap},
    {"rle", Family::Qt, nullptr, Header::Bitmap},
    {"tga", Family::Targa, nullptr, Header::Targa},
    {"vst", Family::Targa, nullptr, Header::Targa},
    {"icb", Family::Targa, nullptr, Header::Targa},
    {"vda", Family::Targa, nullptr, Header::Targa},
    {"win", Family::Targa, nullptr, Header::Targa},
    {"pcx", Family::Magick, "PCX", Header::Pcx},
    {"pcc", Family::Magick, "PCX", Header::Pcx},
    {"scr", Family::Magick, "PCX", Header::Pcx},
    {"sgi", Family::Magick, "SGI", Header::Sgi},
    {"rgb", Family::Magick, "SGI", Header::Sgi},
    {"rgba", Family::Magick, "SGI", Header::Sgi},
    {"bw", Family::Magick, "SGI", Header::Sgi},
    {"rla", Family::Magick, "RLA"},
    {"rpf", Family::Magick, "RLA"},
    {"pcd", Family::Magick, "PCD"},
    {"cut", Family::Magick, "CUT"},
    {"wmf", Family::Magick, "WMF"},
    {"psd", Family::Psd},
    {"pdd", Family::Psd},
    {"cel", Family::Animator},
    {"pic", Family::Animator},
    {"psp", Family::Psp},
    // Nothing on Linux draws enhanced metafiles; they are refused without trying a reader.
    {"emf", Family::Unreadable},
};

// Names with other endings (ico, gif, tif, jpg, png, ppm, ...) go to Qt, which decides by the
// content.
Ending EndingOf(const QString& fileName) {
    const QString suffix = QFileInfo(fileName).suffix();
    for (const Ending& ending : Endings) {
        if (suffix.compare(QLatin1String(ending.suffix), Qt::CaseInsensitive) == 0)
            return ending;
    }
    return {"", Family::Qt};
}

// Qt shows a cut-off bitmap without complaint; its header tells how long it must be.
void CheckBitmapLength(const QFile& file, picture::ByteCursor in, std::int64_t width,
                       std::int64_t height) {
    in.Seek(10);
    const std::uint32_t pixelsAt = in.U32();
    in.Seek(28);
    const int bits = in.U16();
    const std::uint32_t compression = in.U32();
    // Rows of unpacked pixels (plain or with bit fields) have a known length.
    const bool unpacked = compression == 0 || compression == 3;
    const std::int64_t rowBytes = (width * bits + 31) / 32 * 4;
    if (unpacked && bits > 0 && file.size() < std::int64_t(pixelsAt) + rowBytes * height)
        Fail(StreamReadErrorText());
}

void CheckHeader(const QString& fileName, Header header) {
    if (header == Header::None)
        return;
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        Fail(FileNotFoundText());
    const QByteArray head = file.read(34);
    if (head.size() < 34)
        return;
    picture::ByteCursor le(head, std::endian::little);
    std::int64_t width = 0;
    std::int64_t height = 0;
    switch (header) {
    case Header::Bitmap:
        // Only whole bitmap files with the newer headers are checked.
        le.Seek(14);
        if (!head.startsWith("BM") || le.U32() < 40)
            return;
        width = le.S32();
        // Negative heights mark top-down rows.
        height = std::abs(std::int64_t(le.S32()));
        break;
    case Header::Targa:
        le.Seek(12);
        width = le.U16();
        height = le.U16();
        break;
    case Header::Pcx: {
        le.Seek(4);
        const int left = le.U16();
        const int top = le.U16();
        width = std::int64_t(le.U16()) - left + 1;
        height = std::int64_t(le.U16()) - top + 1;
        break;
    }
    case Header::Sgi: {
        picture::ByteCursor be(head, std::endian::big);
        if (be.U16() != 474)
            return;
        be.Seek(6);
        width = be.U16();
        height = be.U16();
        break;
    }
    case Header::None:
        return;
    }
    // A header without a size is left for the reader to refuse.
    if (width <= 0 || height <= 0)
        return;
    CheckSize(width, height);
    if (header == Header::Bitmap)
        CheckBitmapLength(file, le, width, height);
}

QImage ReadWithQt(const QString& fileName, const char* format) {
    QImageReader reader(fileName);
    if (format) {
        // Targa has no signature: the name decides.
        reader.setFormat(format);
        reader.setDecideFormatFromContent(false);
    } else {
        reader.setDecideFormatFromContent(true);
    }
    // Qt's own cap (256 MB) would refuse big real photos; ours is checked from the header.
    reader.setAllocationLimit(static_cast<int>(MaxPicturePixels * 4 / (1024 * 1024)) + 1);
    if (!reader.canRead()) {
        if (reader.error() == QImageReader::FileNotFoundError)
            Fail(FileNotFoundText());
        Fail(UnsupportedPictureText());
    }
    const QSize size = reader.size();
    if (size.isValid())
        CheckSize(size.width(), size.height());
    QImage image = reader.read();
    if (image.isNull()) {
        switch (reader.error()) {
        case QImageReader::FileNotFoundError:
            Fail(FileNotFoundText());
        case QImageReader::DeviceError:
            Fail(StreamReadErrorText());
        default:
            Fail(UnsupportedPictureText());
        }
    }
    CheckSize(image.width(), image.height());
    return image.convertToFormat(QImage::Format_ARGB32);
}

QImage ReadOwn(const QString& fileName, QImage (*read)(QIODevice&)) {
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        Fail(FileNotFoundText());
    return read(file);
}

} // namespace

QString UnsupportedPictureText() {
    return QStringLiteral("Unsupported image format or file is corrupt.");
}

QString FileNotFoundText() {
    return QStringLiteral("Access denied or file not found.");
}

QString StreamReadErrorText() {
    return QStringLiteral("Stream read error.");
}

QString PictureTooLargeText(std::int64_t width, std::int64_t height) {
    return QStringLiteral("The picture is too large: %1 × %2 pixels is more than the limit of "
                          "%3 million pixels.")
        .arg(width)
        .arg(height)
        .arg(MaxPicturePixels / 1'000'000);
}

QString PictureLoadMessage(const QString& fileName, const QString& reason) {
    return QStringLiteral("There is a problem with opening ") + fileName +
           QStringLiteral(" file. ") + reason;
}

PictureDecoder DecoderForFileName(const QString& fileName) {
    if (fileName.endsWith(QStringLiteral(".png"), Qt::CaseInsensitive))
        return PictureDecoder::Png;
    for (const char* ending : {".jpg", ".jpeg", ".jpe", ".jfif", ".jif"}) {
        if (fileName.endsWith(QLatin1String(ending), Qt::CaseSensitive))
            return PictureDecoder::Jpeg;
    }
    return PictureDecoder::General;
}

LoadedPicture LoadPNGFromFile(const QString& fileName) {
    CheckReadable(fileName);
    std::unique_ptr<std::FILE, FileCloser> file(
        std::fopen(QFile::encodeName(fileName).constData(), "rb"));
    if (!file)
        Fail(FileNotFoundText());
    auto job = std::make_unique<PngJob>();
    job->file = file.get();
    job->png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, OnPngError, OnPngWarning);
    if (job->png)
        job->info = png_create_info_struct(job->png);
    if (!job->info)
        Fail(UnsupportedPictureText());
    if (!RunPngStage(*job, ReadPngHeader))
        Fail(UnsupportedPictureText());
    CheckSize(job->width, job->height);
    job->image = NewImage(static_cast<int>(job->width), static_cast<int>(job->height),
                          QImage::Format_ARGB32);
    if (!RunPngStage(*job, ReadPngPixels))
        Fail(UnsupportedPictureText());
    return {job->image, job->transparent};
}

QImage LoadJPEGFromFile(const QString& fileName) {
    CheckReadable(fileName);
    std::unique_ptr<std::FILE, FileCloser> file(
        std::fopen(QFile::encodeName(fileName).constData(), "rb"));
    if (!file)
        Fail(FileNotFoundText());
    auto job = std::make_unique<JpegJob>();
    switch (DecodeJpeg(file.get(), *job)) {
    case JpegOutcome::Ok:
        return job->image;
    case JpegOutcome::TooLarge:
        Fail(PictureTooLargeText(job->width, job->height));
    case JpegOutcome::Corrupt:
        break;
    }
    Fail(UnsupportedPictureText());
}

QImage LoadGeneralPicture(const QString& fileName) {
    CheckReadable(fileName);
    const Ending ending = EndingOf(fileName);
    CheckHeader(fileName, ending.header);
    switch (ending.family) {
    case Family::Qt:
        return ReadWithQt(fileName, nullptr);
    case Family::Targa:
        // Qt's Targa reader knows only some of the kinds; GraphicsMagick reads the rest, such
        // as run-length packed ones.
        try {
            return ReadWithQt(fileName, "tga");
        } catch (const PictureLoadError& e) {
            if (e.Reason() != UnsupportedPictureText())
                throw;
        }
        return ReadWithMagick(fileName, "TGA");
    case Family::Magick:
        return ReadWithMagick(fileName, ending.magick);
    case Family::Psd:
        return ReadOwn(fileName, ReadPsd);
    case Family::Animator:
        return ReadOwn(fileName, ReadAnimatorPic);
    case Family::Psp:
        return ReadOwn(fileName, ReadPsp);
    case Family::Unreadable:
        break;
    }
    Fail(UnsupportedPictureText());
}

LoadedPicture LoadPicture(const QString& fileName) {
    switch (DecoderForFileName(fileName)) {
    case PictureDecoder::Png:
        return LoadPNGFromFile(fileName);
    case PictureDecoder::Jpeg:
        return {LoadJPEGFromFile(fileName), false};
    case PictureDecoder::General:
        break;
    }
    // Other pictures may carry alpha, but only the PNG path reports transparency.
    return {LoadGeneralPicture(fileName), false};
}

} // namespace chromint
