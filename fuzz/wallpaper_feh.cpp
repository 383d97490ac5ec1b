// The ~/.fehbg script that feh writes, read as text.

#include "WallpaperCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace chromint;
    fuzz::CheckSetting(ParseFehbg(fuzz::Utf8(data, size)));
    return 0;
}
