// The printed form of a string value that gsettings gives.

#include "FuzzSupport.h"
#include "WallpaperSources.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace chromint;
    static_cast<void>(ParseGVariantString(fuzz::Utf8(data, size)));
    return 0;
}
