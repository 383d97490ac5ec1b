#include "MagickReader.h"

#include "ImageLoaders.h"
#include "MagickModule.h"
#include "PictureReaderSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <dlfcn.h>

#include <cstdio>
#include <cstring>
#include <memory>

namespace chromint {

namespace {

using picture::Fail;

using ReadFunction = decltype(&chromint_magick_read);
using FreeFunction = decltype(&chromint_magick_free);

struct MagickModule {
    ReadFunction read = nullptr;
    FreeFunction free = nullptr;
};

// Where the module lies: in an installation beside the program's own libraries, in the build
// tree where it was built.
QStringList ModuleCandidates() {
    QStringList candidates;
    const QString program = QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath();
    if (!program.isEmpty())
        candidates << QDir::cleanPath(
            QFileInfo(program).absolutePath() +
            QStringLiteral("/../" CHROMINT_MODULE_INSTALL_DIR "/" CHROMINT_MAGICK_MODULE_NAME));
    candidates << QStringLiteral(CHROMINT_MAGICK_MODULE_BUILD_PATH);
    return candidates;
}

// Loaded once, on the first picture that needs it, and kept for the rest of the run.
const MagickModule& Module() {
    static const MagickModule module = [] {
        MagickModule loaded;
        for (const QString& candidate : ModuleCandidates()) {
            if (!QFileInfo::exists(candidate))
                continue;
            void* handle =
                ::dlopen(QFile::encodeName(candidate).constData(), RTLD_NOW | RTLD_LOCAL);
            if (handle == nullptr) {
                std::fprintf(stderr, "chromint: %s\n", ::dlerror());
                continue;
            }
            loaded.read = reinterpret_cast<ReadFunction>(::dlsym(handle, ChromintMagickReadSymbol));
            loaded.free = reinterpret_cast<FreeFunction>(::dlsym(handle, ChromintMagickFreeSymbol));
            if (loaded.read != nullptr && loaded.free != nullptr)
                return loaded;
            loaded = {};
        }
        std::fprintf(stderr, "chromint: the GraphicsMagick picture reader is not installed\n");
        return loaded;
    }();
    return module;
}

} // namespace

bool MagickReaderAvailable() {
    return Module().read != nullptr;
}

QImage ReadWithMagick(const QString& fileName, const char* magick) {
    const MagickModule& module = Module();
    if (module.read == nullptr)
        Fail(UnsupportedPictureText());
    ChromintMagickPicture read{};
    const int status =
        module.read(QFile::encodeName(fileName).constData(), magick, MaxPicturePixels, &read);
    // The module's pixels, freed however this ends.
    const std::unique_ptr<std::uint32_t, FreeFunction> pixels(read.pixels, module.free);
    switch (status) {
    case ChromintMagickOk:
        break;
    case ChromintMagickNotFound:
        Fail(FileNotFoundText());
    case ChromintMagickTooLarge:
        picture::CheckSize(read.width, read.height);
        Fail(UnsupportedPictureText());
    default:
        Fail(UnsupportedPictureText());
    }
    picture::CheckSize(read.width, read.height);
    QImage result = picture::NewImage(int(read.width), int(read.height), QImage::Format_ARGB32);
    for (int y = 0; y < result.height(); ++y)
        std::memcpy(result.scanLine(y), pixels.get() + std::int64_t(y) * read.width,
                    std::size_t(read.width) * sizeof(std::uint32_t));
    return result;
}

} // namespace chromint
