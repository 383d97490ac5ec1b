// Nitrogen's bg-saved.cfg.

#include "WallpaperCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace chromint;
    fuzz::CheckSetting(ParseNitrogenConfig(fuzz::Utf8(data, size)));
    return 0;
}
