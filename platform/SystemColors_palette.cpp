#include "SystemColors.h"

#include "ColorTypes.h"
#include "DesktopBackground.h"

#include <QGuiApplication>

#include <array>

namespace chromint {

namespace {

// How each entry maps onto the palette. A desktop palette has no caption bars, borders or
// desktop picture of its own, so those take the nearest role, and two take fixed values.
//
// | Index | Entry                     | Source                                  |
// |-------|---------------------------|-----------------------------------------|
// |  0    | Scroll Bar                | Button (the trough is drawn with it)    |
// |  1    | Background (desktop)      | the desktop's own colour; #3A6EA5 where |
// |       |                           | the platform cannot tell                |
// |  2    | Active Caption            | Highlight                               |
// |  3    | Inactive Caption          | Mid (caption of a background window)    |
// |  4    | Menu Background           | Window                                  |
// |  5    | Window Background         | Base (the background of text views)     |
// |  6    | Window Frame              | Shadow                                  |
// |  7    | Menu Text                 | WindowText                              |
// |  8    | Window Text               | Text                                    |
// |  9    | Caption Text              | HighlightedText                         |
// | 10    | Active Border             | Window                                  |
// | 11    | Inactive Border           | Window                                  |
// | 12    | Application Workspace     | Mid                                     |
// | 13    | Highlight Background      | Highlight                               |
// | 14    | Highlight Text            | HighlightedText                         |
// | 15    | Button Face               | Button                                  |
// | 16    | Button Shadow             | Dark                                    |
// | 17    | Gray Text                 | Text of the Disabled group              |
// | 18    | Button Text               | ButtonText                              |
// | 19    | Inactive Caption Text     | Light (readable on Mid)                 |
// | 20    | Button Highlight          | Light                                   |
// | 21    | 3D Dark Shadow            | Shadow                                  |
// | 22    | 3D Light                  | Midlight                                |
// | 23    | Info Text                 | ToolTipText                             |
// | 24    | Info Background           | ToolTipBase                             |
// | 25    | (no entry)                | black                                   |
// | 26    | Hot Light                 | Link                                    |
// | 27    | Gradient Active Caption   | Highlight, lightened by 30 %            |
// | 28    | Gradient Inactive Caption | Midlight                                |
// | 29    | Menu Highlight            | Highlight                               |
// | 30    | Menu Bar                  | Window                                  |
//
// Colours come from the Active group unless the table says otherwise, so a dialog shows the
// colours of a focused window.

constexpr TColor kDesktopBlue = ColorFromHex(0x3A6EA5);

enum class Tweak : std::uint8_t { None, Fixed, Lighter, Disabled };

struct Source {
    QPalette::ColorRole role;
    Tweak tweak;
};

constexpr std::array<Source, SystemColorCount> kSources = {{
    {QPalette::Button, Tweak::None},          // 0
    {QPalette::NoRole, Tweak::Fixed},         // 1
    {QPalette::Highlight, Tweak::None},       // 2
    {QPalette::Mid, Tweak::None},             // 3
    {QPalette::Window, Tweak::None},          // 4
    {QPalette::Base, Tweak::None},            // 5
    {QPalette::Shadow, Tweak::None},          // 6
    {QPalette::WindowText, Tweak::None},      // 7
    {QPalette::Text, Tweak::None},            // 8
    {QPalette::HighlightedText, Tweak::None}, // 9
    {QPalette::Window, Tweak::None},          // 10
    {QPalette::Window, Tweak::None},          // 11
    {QPalette::Mid, Tweak::None},             // 12
    {QPalette::Highlight, Tweak::None},       // 13
    {QPalette::HighlightedText, Tweak::None}, // 14
    {QPalette::Button, Tweak::None},          // 15
    {QPalette::Dark, Tweak::None},            // 16
    {QPalette::Text, Tweak::Disabled},        // 17
    {QPalette::ButtonText, Tweak::None},      // 18
    {QPalette::Light, Tweak::None},           // 19
    {QPalette::Light, Tweak::None},           // 20
    {QPalette::Shadow, Tweak::None},          // 21
    {QPalette::Midlight, Tweak::None},        // 22
    {QPalette::ToolTipText, Tweak::None},     // 23
    {QPalette::ToolTipBase, Tweak::None},     // 24
    {QPalette::NoRole, Tweak::Fixed},         // 25
    {QPalette::Link, Tweak::None},            // 26
    {QPalette::Highlight, Tweak::Lighter},    // 27
    {QPalette::Midlight, Tweak::None},        // 28
    {QPalette::Highlight, Tweak::None},       // 29
    {QPalette::Window, Tweak::None},          // 30
}};

TColor FromQColor(const QColor& c) {
    return MakeRGB(static_cast<std::uint8_t>(c.red()), static_cast<std::uint8_t>(c.green()),
                   static_cast<std::uint8_t>(c.blue()));
}

TColor ResolveFromDesktop(std::uint8_t index) {
    return DesktopInterfaceColor(index);
}

// The desktop's colour as last read; nothing read yet until `read`.
struct DesktopEntryCache {
    bool read = false;
    std::optional<std::uint32_t> rgb;
};

DesktopEntryCache& DesktopCache() {
    static DesktopEntryCache cache;
    return cache;
}

} // namespace

std::uint32_t InterfaceColorFromPalette(const QPalette& palette, std::uint8_t index) {
    if (index >= SystemColorCount)
        return clBlack;
    const Source& source = kSources[index];
    switch (source.tweak) {
    case Tweak::Fixed:
        return index == 1 ? kDesktopBlue : clBlack;
    case Tweak::Lighter:
        return FromQColor(palette.color(QPalette::Active, source.role).lighter(130));
    case Tweak::Disabled:
        return FromQColor(palette.color(QPalette::Disabled, source.role));
    case Tweak::None:
        break;
    }
    return FromQColor(palette.color(QPalette::Active, source.role));
}

std::uint32_t DesktopEntryColor(std::optional<std::uint32_t> desktopRgb) {
    return desktopRgb ? ColorFromHex(*desktopRgb & 0xFFFFFF) : kDesktopBlue;
}

void RefreshDesktopEntry() {
    DesktopEntryCache& cache = DesktopCache();
    // Without the application there is no session to ask; the next use asks again.
    cache.read = qGuiApp != nullptr;
    cache.rgb = cache.read ? GetDesktopBackgroundColor() : std::nullopt;
}

std::uint32_t DesktopInterfaceColor(std::uint8_t index) {
    if (index == 1) {
        if (!DesktopCache().read)
            RefreshDesktopEntry();
        return DesktopEntryColor(DesktopCache().rgb);
    }
    // Before the application exists (or in a program without one) Qt's built-in palette
    // stands in for the desktop's.
    const QPalette palette = qGuiApp ? QGuiApplication::palette() : QPalette();
    return InterfaceColorFromPalette(palette, index);
}

void InstallSystemColorResolver() {
    SetSystemColorResolver(&ResolveFromDesktop);
}

} // namespace chromint
