#pragma once

#include "ColorTypes.h"
#include "FrameColor.h"

#include <QString>

#include <cstdint>
#include <functional>
#include <memory>

class QUrl;
class QWidget;

namespace chromint {

enum class TWallpaperStyle : std::uint8_t { wsCenter, wsTile, wsStretch, wsFit, wsFill, wsMax };

struct TWallpaper {
    QString Path;
    TWallpaperStyle Style = TWallpaperStyle::wsCenter;
    TColor Background = clNone;
};

// The desktop background colour for every program at once; false where it cannot be set.
bool SetDesktopColor(TColor color);
// clNone where it cannot be read.
TColor GetDesktopColor();
// X11 keeps no wallpaper of its own, so the picture comes from the settings of whatever drew
// the background: the running desktop's first (GNOME, Cinnamon, MATE, KDE Plasma, Xfce, LXDE,
// LXQt), then the others and feh and nitrogen. The path is empty where none names a picture.
// HasWallpaper is true only when the path names a file that is there to be loaded.
void GetWallpaper(TWallpaper& wallpaper);
bool HasWallpaper();

// "Set desktop color": the current colour becomes the desktop's.
void SetDesktopColorCommand(TColor currentColor);

// Opens a web address or a local page in the desktop's browser; where none can be started,
// says so in a message that shows the address, so the user can open it by hand.
bool OpenAddress(QWidget* parent, const QUrl& address);

// Translucent window frame colour, over the frame-colour backend of the session.
namespace Aero {

// Replaces the backend (tests use a recording one); nullptr goes back to the session's.
void SetBackend(std::unique_ptr<FrameColorBackend> backend);
// Replaces the pause between animation steps; nullptr goes back to a real sleep.
void SetSleeper(std::function<void(int milliseconds)> sleeper);

bool IsCompositionEnabled();
bool CanSetAeroColor();
TColor GetAeroColor();
TColor GetAeroVisibleColor();
void SetAeroColor(TColor color);
// Moves the frame colour to color in steps (clamped to 3..255), pausing delay ms after each.
void AnimateAeroColor(TColor color, std::uint8_t steps, std::uint8_t delay);

} // namespace Aero

} // namespace chromint
