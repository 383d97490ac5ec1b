#include "AppConfig.h"

#include "ColorNotations.h"
#include "ColorOperations.h"
#include "PaletteModel.h"
#include "Rounding.h"
#include "TextUtils.h"

#include <QGuiApplication>
#include <QScreen>

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace chromint {

namespace {

// Screen coordinates under X11 are signed 16-bit; a stored position below this cannot be
// reached by any screen and would leave the window where nobody can see it.
constexpr int kLowestPosition = -32768;

constexpr std::string_view kRecentPrefix = "File";
constexpr std::string_view kFavouritePrefix = "Color";
constexpr std::string_view kCopyFormatPrefix = "Format";
// The code box lists HTML and seven CSS functions.
constexpr std::int32_t kLastCodeNotation = 7;

// clang-format off
constexpr std::array<TPersistedSetting, 17> kPersisted{{
    // key, name, type, default, range, minimum, maximum, accessors
    {kSettingsKey, "WindowLeft", TSettingType::DWord, TSettingDefault::CentredLeft, 0,
     TSettingRange::Position, 0, 0,
     [](const TSettings& s) -> std::int32_t { return s.WindowLeft(); },
     [](TSettings& s, std::int32_t v) { s.SetWindowLeft(v); }, nullptr, nullptr},
    {kSettingsKey, "WindowTop", TSettingType::DWord, TSettingDefault::CentredTop, 0,
     TSettingRange::Position, 0, 0,
     [](const TSettings& s) -> std::int32_t { return s.WindowTop(); },
     [](TSettings& s, std::int32_t v) { s.SetWindowTop(v); }, nullptr, nullptr},
    {kSettingsKey, "Color", TSettingType::DWord, TSettingDefault::RandomColor, 0,
     TSettingRange::RGB, 0, 0xFFFFFF,
     [](const TSettings& s) { return static_cast<std::int32_t>(s.Color()); },
     [](TSettings& s, std::int32_t v) { s.SetColor(static_cast<TColor>(v)); }, nullptr, nullptr},
    {kSettingsKey, "BlendColor", TSettingType::DWord, TSettingDefault::Fixed, 0xFFFFFF,
     TSettingRange::RGB, 0, 0xFFFFFF,
     [](const TSettings& s) { return static_cast<std::int32_t>(s.BlendColor()); },
     [](TSettings& s, std::int32_t v) { s.SetBlendColor(static_cast<TColor>(v)); }, nullptr, nullptr},
    {kSettingsKey, "BlendValue", TSettingType::DWord, TSettingDefault::Fixed, 50,
     TSettingRange::Clamp, 0, 100,
     [](const TSettings& s) -> std::int32_t { return s.BlendValue(); },
     [](TSettings& s, std::int32_t v) { s.SetBlendValue(v); }, nullptr, nullptr},
    {kSettingsKey, "BlendPath", TSettingType::DWord, TSettingDefault::Fixed, 0,
     TSettingRange::Clamp, 0, 1,
     [](const TSettings& s) -> std::int32_t { return s.BlendPath(); },
     [](TSettings& s, std::int32_t v) { s.SetBlendPath(v); }, nullptr, nullptr},
    {kSettingsKey, "SepiaDepth", TSettingType::DWord, TSettingDefault::Fixed, 30,
     TSettingRange::Clamp, 0, 100,
     [](const TSettings& s) -> std::int32_t { return s.SepiaDepth(); },
     [](TSettings& s, std::int32_t v) { s.SetSepiaDepth(v); }, nullptr, nullptr},
    {kSettingsKey, "SepiaIntensity", TSettingType::DWord, TSettingDefault::Fixed, 20,
     TSettingRange::Clamp, 0, 100,
     [](const TSettings& s) -> std::int32_t { return s.SepiaIntensity(); },
     [](TSettings& s, std::int32_t v) { s.SetSepiaIntensity(v); }, nullptr, nullptr},
    {kSettingsKey, "TaskMode", TSettingType::DWord, TSettingDefault::Fixed, 1,
     TSettingRange::Clamp, 0, 2,
     [](const TSettings& s) -> std::int32_t { return s.TaskMode(); },
     [](TSettings& s, std::int32_t v) { s.SetTaskMode(v); }, nullptr, nullptr},
    // Loaded as stored, but always saved as the page in use, so the two never disagree.
    {kSettingsKey, "PreferedMode", TSettingType::DWord, TSettingDefault::Fixed, 1,
     TSettingRange::Clamp, 0, 2,
     [](const TSettings& s) -> std::int32_t { return Clamp<int>(s.TaskMode(), 0, 2); },
     [](TSettings& s, std::int32_t v) { s.SetPreferedMode(v); }, nullptr, nullptr},
    {kVisitedDirsKey, "LastOpenImageDir", TSettingType::String, TSettingDefault::Empty, 0,
     TSettingRange::Any, 0, 0, nullptr, nullptr,
     [](const TSettings& s) { return s.LastOpenImageDir(); },
     [](TSettings& s, const QString& v) { s.SetLastOpenImageDir(v); }},
    {kVisitedDirsKey, "LastSaveColorDir", TSettingType::String, TSettingDefault::Empty, 0,
     TSettingRange::Any, 0, 0, nullptr, nullptr,
     [](const TSettings& s) { return s.LastSaveColorDir(); },
     [](TSettings& s, const QString& v) { s.SetLastSaveColorDir(v); }},
    // Loading keeps RecentCount entries, which is this maximum unless changed.
    {kRecentKey, kRecentPrefix, TSettingType::StringSequence, TSettingDefault::Empty, 0,
     TSettingRange::Entries, 0, kDefaultRecentCount, nullptr, nullptr, nullptr, nullptr},
    {kFavouritesKey, kFavouritePrefix, TSettingType::DWordSequence, TSettingDefault::Empty, 0,
     TSettingRange::Entries, 0, kFavouriteCount, nullptr, nullptr, nullptr, nullptr},
    {kCodeBoxKey, "Notation", TSettingType::DWord, TSettingDefault::Fixed, 0,
     TSettingRange::Clamp, 0, kLastCodeNotation,
     [](const TSettings& s) -> std::int32_t { return s.CodeNotation(); },
     [](TSettings& s, std::int32_t v) { s.SetCodeNotation(v); }, nullptr, nullptr},
    {kPaletteFilesKey, "LastFolder", TSettingType::String, TSettingDefault::Empty, 0,
     TSettingRange::Any, 0, 0, nullptr, nullptr,
     [](const TSettings& s) { return s.LastPaletteDir(); },
     [](TSettings& s, const QString& v) { s.SetLastPaletteDir(v); }},
    {kCopyFormatsKey, kCopyFormatPrefix, TSettingType::StringSequence, TSettingDefault::Empty, 0,
     TSettingRange::Entries, 0, kMaxCopyFormats, nullptr, nullptr, nullptr, nullptr},
}};
// The keys of single values, in the order Save writes them.
constexpr std::array<std::string_view, 4> kScalarKeys{kSettingsKey, kVisitedDirsKey, kCodeBoxKey,
                                                      kPaletteFilesKey};
// clang-format on

// The stored number as the field takes it, or nothing when the default should stay.
std::optional<std::int32_t> Ranged(const TPersistedSetting& row, std::int32_t stored) {
    switch (row.range) {
    case TSettingRange::Clamp:
        return Clamp(stored, row.minimum, row.maximum);
    case TSettingRange::RGB:
        if ((static_cast<std::uint32_t>(stored) & 0xFF000000u) != 0)
            return std::nullopt;
        return stored;
    case TSettingRange::Any:
    case TSettingRange::Position:
    case TSettingRange::Entries:
        break;
    }
    return stored;
}

std::string SequenceName(std::string_view prefix, std::size_t index) {
    std::string name(prefix);
    AppendInt(name, static_cast<long long>(index) + 1);
    return name;
}

// The value names of the open key that form an unbroken sequence "<prefix>1", "<prefix>2",
// ... in enumeration order, after cutting the list to limit. A name that is not the one
// for its place is dropped; places are counted before anything is dropped, so one name
// out of order ends the sequence before it.
std::vector<std::string> SequenceNames(const SettingsStore& store, std::string_view prefix,
                                       std::size_t limit) {
    std::vector<std::string> names = store.GetValueNames();
    if (names.size() > limit)
        names.resize(limit);
    for (std::size_t i = names.size(); i-- > 0;) {
        if (names[i] != SequenceName(prefix, i))
            names.erase(names.begin() + static_cast<std::ptrdiff_t>(i));
    }
    return names;
}

void ClearValues(SettingsStore& store) {
    for (const std::string& name : store.GetValueNames())
        store.DeleteValue(name);
}

} // namespace

TWorkArea PrimaryScreenWorkArea() {
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        return {area.width(), area.height()};
    }
    return {1024, 768};
}

std::span<const TPersistedSetting> PersistedSettings() {
    return kPersisted;
}

TCustomSettings::TCustomSettings(std::unique_ptr<SettingsStore> registry)
    : FRegistry(registry ? std::move(registry) : OpenUserSettingsStore()) {}

TCustomSettings::~TCustomSettings() = default;

TSettings::TSettings(TWorkArea workArea, std::unique_ptr<SettingsStore> registry)
    : TCustomSettings(std::move(registry)), FWorkArea(workArea) {
    for (const TPersistedSetting& row : kPersisted) {
        if (row.set == nullptr)
            continue;
        switch (row.defaultKind) {
        case TSettingDefault::Fixed:
            row.set(*this, row.defaultValue);
            break;
        case TSettingDefault::CentredLeft:
            row.set(*this, FWorkArea.width / 2 - FWindowWidth / 2);
            break;
        case TSettingDefault::CentredTop:
            row.set(*this, FWorkArea.height / 2 - FWindowHeight / 2);
            break;
        case TSettingDefault::RandomColor:
            row.set(*this, static_cast<std::int32_t>(GlobalRandom().Next(0x1000000)));
            break;
        case TSettingDefault::Empty:
            break;
        }
    }
}

void TSettings::SetBlendValue(int value) {
    FBlendValue = static_cast<TPercent>(Clamp(value, 0, 100));
}
void TSettings::SetBlendPath(int value) {
    FBlendPath = static_cast<std::uint8_t>(Clamp(value, 0, 1));
}
void TSettings::SetSepiaDepth(int value) {
    FSepiaDepth = static_cast<TPercent>(Clamp(value, 0, 100));
}
void TSettings::SetSepiaIntensity(int value) {
    FSepiaIntensity = static_cast<TPercent>(Clamp(value, 0, 100));
}
void TSettings::SetTaskMode(int value) {
    FTaskMode = static_cast<std::uint8_t>(Clamp(value, 0, 2));
}
void TSettings::SetPreferedMode(int value) {
    FPreferedMode = static_cast<std::uint8_t>(Clamp(value, 0, 2));
}
void TSettings::SetCodeNotation(int value) {
    FCodeNotation = static_cast<std::uint8_t>(Clamp(value, 0, kLastCodeNotation));
}

void TSettings::Load() {
    SettingsStore& registry = *FRegistry;
    for (const std::string_view key : kScalarKeys) {
        // The main key is made on first load, as it always was; the others only by Save.
        if (!registry.OpenKey(key, key == kSettingsKey)) {
            if (key == kSettingsKey)
                CheckPosition();
            continue;
        }
        for (const TPersistedSetting& row : kPersisted) {
            if (row.key != key)
                continue;
            // A value of another type counts as missing.
            if (row.type == TSettingType::DWord) {
                if (const std::optional<std::int32_t> stored = registry.ReadDWord(row.name)) {
                    if (const std::optional<std::int32_t> value = Ranged(row, *stored))
                        row.set(*this, *value);
                }
            } else if (row.type == TSettingType::String) {
                if (const std::optional<std::string> stored = registry.ReadString(row.name))
                    row.setText(*this, QString::fromStdString(*stored));
            }
        }
        registry.CloseKey();
        if (key == kSettingsKey)
            CheckPosition();
    }
    LoadRecentFiles();
    LoadFavourites();
    LoadCopyFormats();
}

// Only a position beyond the right or bottom edge is moved back: left of or above the work
// area may be another screen.
void TSettings::CheckPosition() {
    if (FWindowLeft >= FWorkArea.width || FWindowLeft < kLowestPosition)
        FWindowLeft = FWorkArea.width / 2 - FWindowWidth / 2;
    if (FWindowTop >= FWorkArea.height || FWindowTop < kLowestPosition)
        FWindowTop = FWorkArea.height / 2 - FWindowHeight / 2;
}

void TSettings::LoadRecentFiles() {
    SettingsStore& registry = *FRegistry;
    if (!registry.OpenKey(kRecentKey, false))
        return;
    FRecentFiles.clear();
    for (const std::string& name : SequenceNames(registry, kRecentPrefix, FRecentCount)) {
        // A value of another type is no file name: it is left out.
        if (const std::optional<std::string> file = registry.ReadString(name))
            FRecentFiles.append(QString::fromStdString(*file));
    }
    registry.CloseKey();
}

void TSettings::LoadCopyFormats() {
    SettingsStore& registry = *FRegistry;
    if (!registry.OpenKey(kCopyFormatsKey, false))
        return;
    FCopyFormats.clear();
    for (const std::string& name :
         SequenceNames(registry, kCopyFormatPrefix, std::size_t{kMaxCopyFormats})) {
        if (const std::optional<std::string> format = registry.ReadString(name))
            FCopyFormats.append(QString::fromStdString(*format));
    }
    registry.CloseKey();
}

void TSettings::LoadFavourites() {
    SettingsStore& registry = *FRegistry;
    if (!registry.OpenKey(kFavouritesKey, false))
        return;
    const QString black = QString::fromStdString(ColorToText(clBlack, NotationDelphi));
    FFavourites.clear();
    for (const std::string& name :
         SequenceNames(registry, kFavouritePrefix, std::size_t{kFavouriteCount})) {
        // A value of another type becomes black, so the cells after it keep their places.
        const std::optional<std::int32_t> color = registry.ReadDWord(name);
        FFavourites.append(
            color ? QString::fromStdString(ColorToText(static_cast<TColor>(*color), NotationDelphi))
                  : black);
    }
    // With nothing usable stored, the list stays empty and the strip keeps its own colours
    // rather than turning all black.
    if (!FFavourites.isEmpty()) {
        while (FFavourites.size() < kFavouriteCount)
            FFavourites.append(black);
    }
    registry.CloseKey();
}

bool TSettings::Save() {
    SettingsStore& registry = *FRegistry;
    bool complete = true;
    for (const std::string_view key : kScalarKeys) {
        if (!registry.OpenKey(key, true)) {
            complete = false;
            continue;
        }
        for (const TPersistedSetting& row : kPersisted) {
            if (row.key != key)
                continue;
            if (row.type == TSettingType::DWord)
                complete &=
                    registry.WriteDWord(row.name, static_cast<std::uint32_t>(row.get(*this)));
            else if (row.type == TSettingType::String)
                complete &= registry.WriteString(row.name, row.getText(*this).toStdString());
        }
        registry.CloseKey();
    }
    complete &= SaveRecentFiles();
    complete &= SaveFavourites();
    complete &= SaveCopyFormats();
    // Flush even after a failure above, so that what could be written is kept.
    return registry.Flush() && complete;
}

bool TSettings::SaveRecentFiles() {
    SettingsStore& registry = *FRegistry;
    if (!registry.OpenKey(kRecentKey, true))
        return false;
    ClearValues(registry);
    bool complete = true;
    for (qsizetype i = 0; i < FRecentFiles.size(); ++i) {
        complete &= registry.WriteString(SequenceName(kRecentPrefix, static_cast<std::size_t>(i)),
                                         FRecentFiles[i].toStdString());
    }
    registry.CloseKey();
    return complete;
}

bool TSettings::SaveFavourites() {
    SettingsStore& registry = *FRegistry;
    if (!registry.OpenKey(kFavouritesKey, true))
        return false;
    ClearValues(registry);
    bool complete = true;
    for (qsizetype i = 0; i < FFavourites.size(); ++i) {
        // A cell whose text names no colour is stored as black: stopping here would lose
        // every favourite after it.
        const TColor color = TryStringToColor(FFavourites[i]).value_or(clBlack);
        complete &=
            registry.WriteDWord(SequenceName(kFavouritePrefix, static_cast<std::size_t>(i)), color);
    }
    registry.CloseKey();
    return complete;
}

bool TSettings::SaveCopyFormats() {
    SettingsStore& registry = *FRegistry;
    // No key for a user who never made a format, so older files stay as they were.
    if (FCopyFormats.isEmpty() && !registry.KeyExists(kCopyFormatsKey))
        return true;
    if (!registry.OpenKey(kCopyFormatsKey, true))
        return false;
    ClearValues(registry);
    bool complete = true;
    for (qsizetype i = 0; i < FCopyFormats.size() && i < kMaxCopyFormats; ++i) {
        complete &=
            registry.WriteString(SequenceName(kCopyFormatPrefix, static_cast<std::size_t>(i)),
                                 FCopyFormats[i].toStdString());
    }
    registry.CloseKey();
    return complete;
}

} // namespace chromint
