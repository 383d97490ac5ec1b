#include "DesktopUtils.h"

#include "ColorOperations.h"
#include "DesktopBackground.h"
#include "GSettingsTool.h"
#include "WallpaperSources.h"

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QThread>
#include <QUrl>

#include <algorithm>

namespace chromint {

namespace {

// The desktop and the frame take colours in 0xRRGGBB order, the reverse of a TColor's; the
// way back is ColorFromHex.
std::uint32_t HexOf(TColor color) {
    return (std::uint32_t(GetRValue(color)) << 16) | (std::uint32_t(GetGValue(color)) << 8) |
           GetBValue(color);
}

} // namespace

bool SetDesktopColor(TColor color) {
    if (color == clNone || (color & SystemColorFlag) != 0)
        return false;
    return SetDesktopBackgroundColor(HexOf(color));
}

TColor GetDesktopColor() {
    const auto rgb = GetDesktopBackgroundColor();
    if (!rgb)
        return clNone;
    return ColorFromHex(*rgb);
}

namespace {

// Settings files are small; more than this is not one.
constexpr qint64 kMostSettingsBytes = 1 << 20;
// The menu waits for gsettings, so a hung one must not hold it long.
constexpr int kGSettingsTimeoutMs = 1000;

QString Home() {
    return qEnvironmentVariable("HOME");
}

QString ConfigHome() {
    const QString configHome = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (QDir::isAbsolutePath(configHome))
        return configHome;
    return Home() + QStringLiteral("/.config");
}

// Empty for anything but a readable regular file, so that a pipe or a device cannot block.
QString ReadSettingsFile(const QString& path) {
    if (!QFileInfo(path).isFile())
        return {};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.read(kMostSettingsBytes));
}

// What `gsettings get schema key` prints; empty where it is not installed, knows no such key
// or does not answer in time.
QString GSettingsGet(const QString& schema, const QString& key) {
    return RunGSettings({QStringLiteral("get"), schema, key}, kGSettingsTimeoutMs,
                        kMostSettingsBytes)
        .value_or(QString());
}

std::optional<TWallpaperSetting> FromGSettings(const QString& schema, const QString& pictureKey) {
    QString picture = GSettingsGet(schema, pictureKey);
    if (picture.isEmpty())
        return std::nullopt;
    return ParseGSettingsBackground(picture,
                                    GSettingsGet(schema, QStringLiteral("picture-options")));
}

std::optional<TWallpaperSetting> FromGnome() {
    const QString schema = QStringLiteral("org.gnome.desktop.background");
    const std::optional<QString> scheme = ParseGVariantString(GSettingsGet(
        QStringLiteral("org.gnome.desktop.interface"), QStringLiteral("color-scheme")));
    if (scheme == QStringLiteral("prefer-dark"))
        if (auto dark = FromGSettings(schema, QStringLiteral("picture-uri-dark")))
            return dark;
    return FromGSettings(schema, QStringLiteral("picture-uri"));
}

// pcmanfm and pcmanfm-qt keep a folder per profile; the session's own profile is the likeliest
// one, then the one used without --profile.
std::optional<TWallpaperSetting> FromPcmanfm(const QString& program, const QString& fileName) {
    const QDir base(ConfigHome() + QLatin1Char('/') + program);
    QStringList profiles = base.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    const QString session = qEnvironmentVariable("DESKTOP_SESSION");
    for (const QString& preferred : {QStringLiteral("default"), session}) {
        const qsizetype at = profiles.indexOf(preferred);
        if (!preferred.isEmpty() && at > 0)
            profiles.move(at, 0);
    }
    for (const QString& profile : profiles)
        if (auto setting = ParsePcmanfmDesktop(
                ReadSettingsFile(base.filePath(profile + QLatin1Char('/') + fileName))))
            return setting;
    return std::nullopt;
}

std::optional<TWallpaperSetting> FromSource(TWallpaperSource source) {
    const QString config = ConfigHome() + QLatin1Char('/');
    switch (source) {
    case TWallpaperSource::Gnome:
        return FromGnome();
    case TWallpaperSource::Cinnamon:
        return FromGSettings(QStringLiteral("org.cinnamon.desktop.background"),
                             QStringLiteral("picture-uri"));
    case TWallpaperSource::Mate:
        return FromGSettings(QStringLiteral("org.mate.background"),
                             QStringLiteral("picture-filename"));
    case TWallpaperSource::Kde:
        return ParseKdeAppletsrc(
            ReadSettingsFile(config + QStringLiteral("plasma-org.kde.plasma.desktop-appletsrc")));
    case TWallpaperSource::Xfce:
        return ParseXfceDesktop(ReadSettingsFile(
            config + QStringLiteral("xfce4/xfconf/xfce-perchannel-xml/xfce4-desktop.xml")));
    case TWallpaperSource::Pcmanfm:
        return FromPcmanfm(QStringLiteral("pcmanfm"), QStringLiteral("desktop-items-0.conf"));
    case TWallpaperSource::PcmanfmQt:
        return FromPcmanfm(QStringLiteral("pcmanfm-qt"), QStringLiteral("settings.conf"));
    case TWallpaperSource::Feh:
        return ParseFehbg(ReadSettingsFile(Home() + QStringLiteral("/.fehbg")));
    case TWallpaperSource::Nitrogen:
        return ParseNitrogenConfig(
            ReadSettingsFile(config + QStringLiteral("nitrogen/bg-saved.cfg")));
    }
    return std::nullopt;
}

// Settings name pictures from the home folder, never from wherever this program was started.
QString PlacedPath(const QString& path) {
    if (path == QStringLiteral("~") || path.startsWith(QStringLiteral("~/")))
        return Home() + path.mid(1);
    if (QDir::isRelativePath(path))
        return Home() + QLatin1Char('/') + path;
    return path;
}

// Apart from GetWallpaper so that HasWallpaper, asked each time the open menu shows, does not
// ask the X server for the background colour it has no use for.
std::optional<TWallpaperSetting> FindWallpaper() {
    const auto order = WallpaperSourceOrder(qEnvironmentVariable("XDG_CURRENT_DESKTOP"),
                                            qEnvironmentVariable("DESKTOP_SESSION"));
    for (const TWallpaperSource source : order) {
        if (auto setting = FromSource(source)) {
            setting->Path = PlacedPath(setting->Path);
            return setting;
        }
    }
    return std::nullopt;
}

} // namespace

void GetWallpaper(TWallpaper& wallpaper) {
    wallpaper.Background = GetDesktopColor();
    const TWallpaperSetting setting = FindWallpaper().value_or(TWallpaperSetting{});
    wallpaper.Path = setting.Path;
    wallpaper.Style = setting.Style;
}

bool HasWallpaper() {
    const auto setting = FindWallpaper();
    if (!setting)
        return false;
    const QFileInfo file(setting->Path);
    return file.exists() && !file.isDir();
}

void SetDesktopColorCommand(TColor currentColor) {
    SetDesktopColor(currentColor);
}

namespace Aero {

namespace {

std::unique_ptr<FrameColorBackend>& Backend() {
    static std::unique_ptr<FrameColorBackend> backend;
    if (!backend)
        backend = CreateFrameColorBackend();
    return backend;
}

std::function<void(int)>& Sleeper() {
    static std::function<void(int)> sleeper;
    return sleeper;
}

} // namespace

void SetBackend(std::unique_ptr<FrameColorBackend> backend) {
    Backend() = backend ? std::move(backend) : CreateFrameColorBackend();
}

void SetSleeper(std::function<void(int)> sleeper) {
    Sleeper() = std::move(sleeper);
}

bool IsCompositionEnabled() {
    return Backend()->IsCompositionEnabled();
}

bool CanSetAeroColor() {
    return Backend()->CanWriteParameters();
}

TColor GetAeroColor() {
    FrameColorBackend& backend = *Backend();
    if (!backend.IsCompositionEnabled() || !backend.CanReadParameters())
        return clNone;
    FrameColorBackend::Parameters parameters{};
    if (!backend.ReadParameters(parameters))
        return clNone;
    return ColorFromHex(parameters[0]);
}

TColor GetAeroVisibleColor() {
    FrameColorBackend& backend = *Backend();
    std::uint32_t argb = 0;
    if (!backend.IsCompositionEnabled() || !backend.ReadColorization(argb))
        return clNone;
    // The frame is seen lighter the more transparent it is.
    const int alpha = int(argb >> 24);
    const auto visible = [alpha](int channel) {
        return std::uint8_t(std::clamp(channel + 215 - alpha, 0, 255));
    };
    return MakeRGB(visible(int((argb >> 16) & 0xff)), visible(int((argb >> 8) & 0xff)),
                   visible(int(argb & 0xff)));
}

void SetAeroColor(TColor color) {
    FrameColorBackend& backend = *Backend();
    if (color == clNone || !backend.IsCompositionEnabled() || !backend.CanReadParameters() ||
        !backend.CanWriteParameters())
        return;
    FrameColorBackend::Parameters parameters{};
    backend.ReadParameters(parameters);
    parameters[2] = 70;
    parameters[0] = HexOf(color);
    backend.WriteParameters(parameters);
}

void AnimateAeroColor(TColor color, std::uint8_t steps, std::uint8_t delay) {
    const int n = std::clamp(int(steps), 3, 255);
    const TColor start = GetAeroColor();
    if (start == clNone)
        return; // no frame colour to move from: every step would do nothing
    const TColorArray entries = Gradient(start, color, std::uint16_t(n));
    for (std::size_t i = 1; i < entries.size(); ++i) {
        SetAeroColor(entries[i]);
        if (Sleeper())
            Sleeper()(delay);
        else
            QThread::msleep(delay);
    }
}

} // namespace Aero

} // namespace chromint

namespace chromint {

bool OpenAddress(QWidget* parent, const QUrl& address) {
    if (QDesktopServices::openUrl(address))
        return true;
    const QString shown = address.isLocalFile() ? address.toLocalFile() : address.toString();
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Chromint"),
                    QStringLiteral("No web browser could be started to open:\n\n%1\n\n"
                                   "Open the address in a browser of your choice.")
                        .arg(shown),
                    QMessageBox::Ok, parent);
    box.setObjectName(QStringLiteral("OpenAddressFailed"));
    // The address can be selected and copied.
    box.setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    box.exec();
    return false;
}

} // namespace chromint
