#include "SaveKinds.h"

#include "AppConfig.h"
#include "ColorNotations.h"
#include "ColorWriter.h"
#include "PalUtils.h"
#include "PaletteExchange.h"

#include <QImage>

#include <array>
#include <exception>
#include <sstream>
#include <stdexcept>
#include <vector>

namespace chromint::test {
namespace {

constexpr TWorkArea kWorkArea{1920, 1040};

QString Text(const std::string& text) {
    return QString::fromStdString(text);
}

QString Delphi(TColor color) {
    return QString::fromStdString(ColorToText(color, NotationDelphi));
}

TColor Shade(int version, int i) {
    return MakeRGB(static_cast<std::uint8_t>(7 * i + 100 * version),
                   static_cast<std::uint8_t>(255 - 3 * i), static_cast<std::uint8_t>(i * i));
}

// ---- Settings ----------------------------------------------------------------------------

// Every field differs between the versions, and the lists are full, so the file is as large
// as a user's gets.
void Apply(TSettings& s, int version) {
    s.SetWindowLeft(100 + 37 * version);
    s.SetWindowTop(50 + 11 * version);
    s.SetColor(version == 0 ? 0x3366CC : 0x20B0F0);
    s.SetBlendColor(version == 0 ? 0x654321 : 0x123456);
    s.SetBlendValue(version == 0 ? 40 : 70);
    s.SetBlendPath(version);
    s.SetSepiaDepth(version == 0 ? 10 : 90);
    s.SetSepiaIntensity(version == 0 ? 25 : 75);
    s.SetTaskMode(2 * version);
    s.SetPreferedMode(2 * version); // saved as the task mode
    const std::string folder = "/home/user/Bilder/Sommer é " + std::to_string(version);
    s.SetLastOpenImageDir(Text(folder));
    s.SetLastSaveColorDir(Text(folder + "/export"));
    s.RecentFiles().clear();
    for (int i = 0; i < kDefaultRecentCount; ++i)
        s.RecentFiles().append(Text(folder + "/photo " + std::to_string(i) + ".png"));
    s.Favourites().clear();
    for (int i = 0; i < kFavouriteCount; ++i)
        s.Favourites().append(Delphi(Shade(version, i)));
}

std::string Describe(const TSettings& s) {
    std::ostringstream out;
    out << "window " << s.WindowLeft() << "," << s.WindowTop() << " colour " << s.Color()
        << " blend " << s.BlendColor() << "/" << int(s.BlendValue()) << "/" << int(s.BlendPath())
        << " sepia " << int(s.SepiaDepth()) << "/" << int(s.SepiaIntensity()) << " modes "
        << int(s.TaskMode()) << "/" << int(s.PreferedMode()) << " dirs '"
        << s.LastOpenImageDir().toStdString() << "' '" << s.LastSaveColorDir().toStdString()
        << "' recent " << s.RecentFiles().join('|').toStdString() << " favourites "
        << s.Favourites().join(' ').toStdString();
    return out.str();
}

// As the program does it: loaded at start, saved at the end.
void SaveSettings(const std::string& file, int version) {
    TSettings settings(kWorkArea, OpenSettingsFile(file));
    settings.Load();
    Apply(settings, version);
    if (!settings.Save())
        throw std::runtime_error(settings.Registry().LastError());
}

std::string CheckSettings(const std::string& file, int version) {
    TSettings loaded(kWorkArea, OpenSettingsFile(file));
    loaded.Load();
    if (loaded.Registry().WasDamaged())
        return "a damaged settings file";
    TSettings expected(kWorkArea, OpenSettingsFile({}));
    Apply(expected, version);
    const std::string got = Describe(loaded);
    return got == Describe(expected) ? std::string() : "settings " + got;
}

// ---- Pictures ----------------------------------------------------------------------------

TColor PictureColor(int version) {
    return version == 0 ? 0x3366CC : 0x20B0F0;
}

template <int Format>
void SavePicture(const std::string& file, int version) {
    SaveColorPicture(PictureColor(version), Text(file), Format);
}

std::string CheckPicture(const std::string& file, int version) {
    QImage image;
    if (!image.load(Text(file)))
        return "a picture that does not decode";
    if (image.width() != TColorWriter::DefaultWidth ||
        image.height() != TColorWriter::DefaultHeight)
        return "a picture of " + std::to_string(image.width()) + "x" +
               std::to_string(image.height());
    // Inside the rings, above the caption.
    const QRgb p = image.pixel(8, 8);
    const TColor got =
        MakeRGB(static_cast<std::uint8_t>(qRed(p)), static_cast<std::uint8_t>(qGreen(p)),
                static_cast<std::uint8_t>(qBlue(p)));
    return got == PictureColor(version) ? std::string()
                                        : "a picture of colour " + std::to_string(got);
}

// ---- Palettes ----------------------------------------------------------------------------

std::vector<TColor> PaletteColors(int version) {
    std::vector<TColor> colors;
    for (int i = 0; i < 256; ++i)
        colors.push_back(Shade(version, i));
    return colors;
}

void SaveJascPalette(const std::string& file, int version) {
    QStringList entries;
    for (const TColor color : PaletteColors(version))
        entries.append(Delphi(color));
    WriteJASCPalette(Text(file), entries);
}

std::string CheckJascPalette(const std::string& file, int version) {
    try {
        const std::vector<TColor> colors = ReadJASCPalette(Text(file));
        return colors == PaletteColors(version)
                   ? std::string()
                   : "a palette of " + std::to_string(colors.size()) + " other colours";
    } catch (const std::exception& error) {
        return std::string("a palette that does not read: ") + error.what();
    }
}

// Favourites exported as a swatch exchange file, through the exchange writer.
void SaveAsePalette(const std::string& file, int version) {
    std::vector<NamedColor> entries;
    for (const TColor color : PaletteColors(version))
        entries.push_back({color, Delphi(color)});
    WriteExchangePalette(Text(file), entries, QStringLiteral("Favourites"));
}

std::string CheckAsePalette(const std::string& file, int version) {
    try {
        std::vector<TColor> colors;
        for (const NamedColor& entry : ReadExchangePalette(Text(file)))
            colors.push_back(entry.color);
        return colors == PaletteColors(version)
                   ? std::string()
                   : "a palette of " + std::to_string(colors.size()) + " other colours";
    } catch (const std::exception& error) {
        return std::string("a palette that does not read: ") + error.what();
    }
}

constexpr std::array kSaveKinds{
    SaveKind{"Settings", "Chromint.conf", false, SaveSettings, CheckSettings},
    SaveKind{"PngPicture", "colour.png", true, SavePicture<ExportPNG>, CheckPicture},
    SaveKind{"BmpPicture", "colour.bmp", true, SavePicture<ExportBMP>, CheckPicture},
    SaveKind{"JascPalette", "colours.pal", false, SaveJascPalette, CheckJascPalette},
    SaveKind{"AsePalette", "favourites.ase", false, SaveAsePalette, CheckAsePalette},
};

} // namespace

std::span<const SaveKind> SaveKinds() {
    return kSaveKinds;
}

const SaveKind* FindSaveKind(std::string_view row) {
    for (const SaveKind& kind : kSaveKinds) {
        if (row == kind.row)
            return &kind;
    }
    return nullptr;
}

} // namespace chromint::test
