// What `gsettings get` printed for the picture and for picture-options: the input up to its
// first newline is the one, the rest the other.

#include "WallpaperCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace chromint;
    const QString text = fuzz::Utf8(data, size);
    const qsizetype newline = text.indexOf(u'\n');
    const QString picture = newline < 0 ? text : text.left(newline);
    const QString options = newline < 0 ? QString() : text.mid(newline + 1);
    fuzz::CheckSetting(ParseGSettingsBackground(picture, options));
    return 0;
}
