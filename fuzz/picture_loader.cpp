// The picture loader as the program calls it: the input's first byte picks the name's ending
// from Endings below, the rest is written to a file of that name and loaded, so that both the
// choice of reader by name and every reader behind it see the bytes.

#include "FuzzSupport.h"
#include "ImageLoaders.h"

#include <QFile>
#include <QTemporaryDir>

#include <array>

namespace {

// Kept in this order: the first byte of every input in the corpus indexes it
// (fuzz/make-seeds.py writes them).
constexpr std::array Endings = {
    "png", "PNG", "jpg", "JPG", "jpeg", "bmp", "dib", "rle",  "tga",  "vst", "icb",
    "vda", "win", "pcx", "pcc", "scr",  "sgi", "rgb", "rgba", "bw",   "rla", "rpf",
    "pcd", "cut", "wmf", "emf", "psd",  "pdd", "psb", "cel",  "pic",  "psp", "gif",
    "ico", "cur", "tif", "ppm", "pgm",  "pbm", "xpm", "xbm",  "webp", "svg", "dat",
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace chromint;
    if (size == 0)
        return 0;
    fuzz::NeedGuiApplication();
    static QTemporaryDir dir;
    if (!dir.isValid())
        fuzz::Broken("no temporary folder");
    const QString name =
        dir.filePath(QStringLiteral("input.") + QLatin1String(Endings[data[0] % Endings.size()]));
    {
        QFile file(name);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            fuzz::Broken("cannot write the input file");
        file.write(reinterpret_cast<const char*>(data + 1), static_cast<qint64>(size - 1));
    }
    try {
        const LoadedPicture picture = LoadPicture(name);
        if (picture.image.isNull() || picture.image.format() != QImage::Format_ARGB32 ||
            std::int64_t(picture.image.width()) * picture.image.height() > MaxPicturePixels)
            fuzz::Broken("the loader gave a picture it promises never to give");
    } catch (const PictureLoadError&) {
    }
    QFile::remove(name);
    return 0;
}
