// pcmanfm's desktop-items-0.conf and pcmanfm-qt's settings.conf.

#include "WallpaperCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace chromint;
    fuzz::CheckSetting(ParsePcmanfmDesktop(fuzz::Utf8(data, size)));
    return 0;
}
