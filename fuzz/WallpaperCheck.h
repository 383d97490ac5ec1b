#pragma once

// The promise every wallpaper reader makes about what it found.

#include "FuzzSupport.h"
#include "WallpaperSources.h"

#include <optional>

namespace chromint::fuzz {

// A found picture has a path, which is never a URL, and one of the styles.
inline void CheckSetting(const std::optional<TWallpaperSetting>& setting) {
    if (!setting)
        return;
    if (setting->Path.trimmed().isEmpty())
        Broken("a wallpaper setting without a path");
    if (setting->Path.startsWith(QLatin1String("file:"), Qt::CaseInsensitive))
        Broken("a wallpaper path that is still a URL");
    if (setting->Style > TWallpaperStyle::wsMax)
        Broken("a wallpaper style out of range");
}

} // namespace chromint::fuzz
