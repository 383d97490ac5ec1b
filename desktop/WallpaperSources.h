#pragma once

// Where each Linux desktop keeps the picture it shows, read from the text of its settings. Every
// reader gives nothing for text it cannot make sense of, so that the next place can be tried.

#include "DesktopUtils.h"

#include <QString>

#include <optional>
#include <vector>

namespace chromint {

struct TWallpaperSetting {
    QString Path; // a local file path, never a URL
    TWallpaperStyle Style = TWallpaperStyle::wsCenter;
};

enum class TWallpaperSource : std::uint8_t {
    Gnome,     // gsettings org.gnome.desktop.background (also Unity and Budgie)
    Cinnamon,  // gsettings org.cinnamon.desktop.background
    Mate,      // gsettings org.mate.background
    Kde,       // plasma-org.kde.plasma.desktop-appletsrc
    Xfce,      // xfconf's xfce4-desktop.xml
    Pcmanfm,   // LXDE: pcmanfm/<profile>/desktop-items-0.conf
    PcmanfmQt, // LXQt: pcmanfm-qt/<profile>/settings.conf
    Feh,       // ~/.fehbg
    Nitrogen,  // nitrogen/bg-saved.cfg
};

// Every source once, those of the running desktop first. currentDesktop is XDG_CURRENT_DESKTOP
// (names separated by colons), session is DESKTOP_SESSION; either may be empty.
std::vector<TWallpaperSource> WallpaperSourceOrder(const QString& currentDesktop,
                                                   const QString& session);

// The string in gsettings' printed form of a string value ('...' or "..." with backslash
// escapes); nothing for any other printed value.
std::optional<QString> ParseGVariantString(const QString& text);

// What `gsettings get` printed for the picture (a URI for GNOME and Cinnamon, a plain path for
// MATE) and for picture-options.
std::optional<TWallpaperSetting> ParseGSettingsBackground(const QString& pictureText,
                                                          const QString& optionsText);

// plasma-org.kde.plasma.desktop-appletsrc: the first desktop with a picture wallpaper.
std::optional<TWallpaperSetting> ParseKdeAppletsrc(const QString& text);

// xfce4-desktop.xml: the first monitor and workspace that names a picture.
std::optional<TWallpaperSetting> ParseXfceDesktop(const QString& text);

// pcmanfm's desktop-items-0.conf or pcmanfm-qt's settings.conf, which name the same settings
// differently.
std::optional<TWallpaperSetting> ParsePcmanfmDesktop(const QString& text);

// ~/.fehbg, a shell script that feh writes; read as text, never run.
std::optional<TWallpaperSetting> ParseFehbg(const QString& text);

// nitrogen's bg-saved.cfg: the first screen that names a picture.
std::optional<TWallpaperSetting> ParseNitrogenConfig(const QString& text);

} // namespace chromint
