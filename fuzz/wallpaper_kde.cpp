// KDE Plasma's plasma-org.kde.plasma.desktop-appletsrc.

#include "WallpaperCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace chromint;
    fuzz::CheckSetting(ParseKdeAppletsrc(fuzz::Utf8(data, size)));
    return 0;
}
