#pragma once

#include "ColorTypes.h"
#include "SettingsStore.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <memory>
#include <span>
#include <string_view>

namespace chromint {

using TPercent = std::uint8_t; // 0..100

// The desktop minus the panels, in screen pixels.
struct TWorkArea {
    int width = 0;
    int height = 0;
};

// The primary screen's work area. Needs a running QGuiApplication.
TWorkArea PrimaryScreenWorkArea();

class TSettings;

inline constexpr std::string_view kSettingsKey = "Software\\Qelvo\\Chromint";
inline constexpr std::string_view kVisitedDirsKey = "Software\\Qelvo\\Chromint\\VisitedDirs";
inline constexpr std::string_view kRecentKey = "Software\\Qelvo\\Chromint\\Recent";
inline constexpr std::string_view kFavouritesKey = "Software\\Qelvo\\Chromint\\Favourites";
// Keys added after the first release, each holding only what came with its feature.
inline constexpr std::string_view kCodeBoxKey = "Software\\Qelvo\\Chromint\\CodeBox";
inline constexpr std::string_view kCopyFormatsKey = "Software\\Qelvo\\Chromint\\CopyFormats";
inline constexpr std::string_view kPaletteFilesKey = "Software\\Qelvo\\Chromint\\PaletteFiles";
inline constexpr std::int32_t kMaxCopyFormats = 50;

inline constexpr int kFavouriteCount = 36;
inline constexpr std::uint8_t kDefaultRecentCount = 15;

enum class TSettingType {
    DWord,
    String,
    StringSequence, // string values "File1", "File2", ... in order
    DWordSequence,  // DWORD values "Color1", "Color2", ... in order
};

// Where a value's default comes from.
enum class TSettingDefault { Fixed, CentredLeft, CentredTop, RandomColor, Empty };

// What loading does with a stored value.
enum class TSettingRange {
    Any,      // kept as stored
    Position, // kept, then re-centred when beyond the work area (see TSettings::Load)
    Clamp,    // clamped to minimum..maximum
    RGB,      // an RGB colour (top byte 0); anything else keeps the default
    Entries,  // a sequence; at most maximum entries are kept
};

// One persisted value: where it is stored, its type, default and allowed range. The DWORD
// and string rows carry the accessors that load and save go through; a sequence row is
// read and written as a whole.
struct TPersistedSetting {
    std::string_view key;
    std::string_view name; // a sequence's name prefix
    TSettingType type;
    TSettingDefault defaultKind;
    std::int32_t defaultValue;
    TSettingRange range;
    std::int32_t minimum;
    std::int32_t maximum;
    std::int32_t (*get)(const TSettings&);
    void (*set)(TSettings&, std::int32_t);
    QString (*getText)(const TSettings&);
    void (*setText)(TSettings&, const QString&);
};

// Every persisted value, in the order Save writes them.
std::span<const TPersistedSetting> PersistedSettings();

// Owns the store the settings live in.
class TCustomSettings {
public:
    // Without a store, the current user's settings file is used.
    explicit TCustomSettings(std::unique_ptr<SettingsStore> registry = nullptr);
    virtual ~TCustomSettings();
    TCustomSettings(const TCustomSettings&) = delete;
    TCustomSettings& operator=(const TCustomSettings&) = delete;

    // Never fails: what cannot be read keeps its default.
    virtual void Load() = 0;
    // False when the settings could not all be stored; Registry().LastError() says why.
    [[nodiscard]] virtual bool Save() = 0;

    const SettingsStore& Registry() const { return *FRegistry; }

protected:
    std::unique_ptr<SettingsStore> FRegistry;
};

// The program's persistent state. Created and loaded when the main window is created, saved
// when it is destroyed; in between the window and the dialogs use the properties.
class TSettings final : public TCustomSettings {
public:
    // The work area centres the default window position and bounds the loaded one.
    explicit TSettings(TWorkArea workArea, std::unique_ptr<SettingsStore> registry = nullptr);

    void Load() override;
    [[nodiscard]] bool Save() override;

    int WindowLeft() const { return FWindowLeft; }
    void SetWindowLeft(int value) { FWindowLeft = value; }
    int WindowTop() const { return FWindowTop; }
    void SetWindowTop(int value) { FWindowTop = value; }
    TColor Color() const { return FColor; }
    void SetColor(TColor value) { FColor = value; }
    // Colour strings "$00BBGGRR", one per cell of the favourites strip; modified in place.
    QStringList& Favourites() { return FFavourites; }
    const QStringList& Favourites() const { return FFavourites; }
    TColor BlendColor() const { return FBlendColor; }
    void SetBlendColor(TColor value) { FBlendColor = value; }
    TPercent BlendValue() const { return FBlendValue; }
    void SetBlendValue(int value);
    std::uint8_t BlendPath() const { return FBlendPath; }
    void SetBlendPath(int value);
    TPercent SepiaDepth() const { return FSepiaDepth; }
    void SetSepiaDepth(int value);
    TPercent SepiaIntensity() const { return FSepiaIntensity; }
    void SetSepiaIntensity(int value);
    std::uint8_t RecentCount() const { return FRecentCount; }
    void SetRecentCount(std::uint8_t value) { FRecentCount = value; }
    // Full paths, most recent first; modified in place.
    QStringList& RecentFiles() { return FRecentFiles; }
    const QStringList& RecentFiles() const { return FRecentFiles; }
    const QString& LastOpenImageDir() const { return FLastOpenImageDir; }
    void SetLastOpenImageDir(const QString& value) { FLastOpenImageDir = value; }
    const QString& LastSaveColorDir() const { return FLastSaveColorDir; }
    void SetLastSaveColorDir(const QString& value) { FLastSaveColorDir = value; }
    // 0 Standard, 1 Hue square, 2 Hue circle.
    std::uint8_t TaskMode() const { return FTaskMode; }
    void SetTaskMode(int value);
    std::uint8_t PreferedMode() const { return FPreferedMode; }
    void SetPreferedMode(int value);
    // The notation the code box shows the colour in: 0 HTML, then the CSS functions.
    std::uint8_t CodeNotation() const { return FCodeNotation; }
    void SetCodeNotation(int value);
    // The user's own Copy formats, each in its stored form; modified in place.
    QStringList& CopyFormats() { return FCopyFormats; }
    const QStringList& CopyFormats() const { return FCopyFormats; }
    // Where favourites were last imported from or exported to.
    const QString& LastPaletteDir() const { return FLastPaletteDir; }
    void SetLastPaletteDir(const QString& value) { FLastPaletteDir = value; }

private:
    void CheckPosition();
    void LoadRecentFiles();
    void LoadFavourites();
    void LoadCopyFormats();
    bool SaveRecentFiles();
    bool SaveFavourites();
    bool SaveCopyFormats();

    // The outer size of the main window, for centring it.
    int FWindowHeight = 443;
    int FWindowWidth = 532;
    int FWindowLeft = 0;
    int FWindowTop = 0;
    TColor FColor = 0;
    QStringList FFavourites;
    TColor FBlendColor = 0;
    TPercent FBlendValue = 0;
    std::uint8_t FBlendPath = 0;
    TPercent FSepiaDepth = 0;
    TPercent FSepiaIntensity = 0;
    std::uint8_t FRecentCount = kDefaultRecentCount;
    QStringList FRecentFiles;
    // Whether recent files that no longer exist should be dropped; not stored, and nothing
    // reads it yet.
    [[maybe_unused]] bool FAutoRemoveNonexistentRecent = false;
    QString FLastOpenImageDir;
    QString FLastSaveColorDir;
    std::uint8_t FTaskMode = 0;
    std::uint8_t FPreferedMode = 0;
    std::uint8_t FCodeNotation = 0;
    QStringList FCopyFormats;
    QString FLastPaletteDir;

    TWorkArea FWorkArea;
};

} // namespace chromint
