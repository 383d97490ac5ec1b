#pragma once

#include "SettingsTree.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace chromint {

// The per-user settings store: a tree of keys holding DWORD and string values, used the way
// a registry accessor is used. One key at a time is open; value operations act on it. Key
// paths are absolute ("Software\Qelvo\Chromint").
//
// Reads and writes work on a copy held in memory; only Flush makes the writes permanent,
// all at once. Nothing here throws, short of running out of memory.
class SettingsStore {
public:
    virtual ~SettingsStore() = default;

    // Makes the key current. False when it does not exist and canCreate is false, or when
    // the path is not a valid key path; then no key is open.
    virtual bool OpenKey(std::string_view path, bool canCreate) = 0;
    virtual void CloseKey() = 0;
    virtual bool KeyExists(std::string_view path) const = 0;

    // Value operations on the open key; with no key open they find nothing and change
    // nothing.
    virtual bool ValueExists(std::string_view name) const = 0;
    virtual ValueType GetValueType(std::string_view name) const = 0;
    // A DWORD reads back signed, so 0xFFFFFFFF is -1. Nothing when the value is missing or
    // holds a string.
    virtual std::optional<std::int32_t> ReadDWord(std::string_view name) const = 0;
    // Nothing when the value is missing or holds a DWORD.
    virtual std::optional<std::string> ReadString(std::string_view name) const = 0;
    virtual bool WriteDWord(std::string_view name, std::uint32_t value) = 0;
    virtual bool WriteString(std::string_view name, std::string_view text) = 0;
    virtual bool DeleteValue(std::string_view name) = 0;
    // In the order the values were first written.
    virtual std::vector<std::string> GetValueNames() const = 0;
    virtual std::vector<std::string> GetKeyNames() const = 0;

    // Deletes the key with everything under it.
    virtual bool DeleteKey(std::string_view path) = 0;

    // Makes every write so far permanent. False when that failed; the stored settings are
    // then as they were before, and LastError says why.
    [[nodiscard]] virtual bool Flush() = 0;
    virtual const std::string& LastError() const = 0;

    // True when the stored settings could not all be read back: what could be read is
    // there, the rest is missing. The damaged original is kept aside by the next Flush.
    virtual bool WasDamaged() const = 0;
};

// "$XDG_CONFIG_HOME/Qelvo/Chromint.conf", where XDG_CONFIG_HOME defaults to ~/.config.
// Empty when neither it nor the home folder is known.
std::string UserSettingsFilePath();

// The settings kept in one text file; a missing file is an empty store. The damaged
// original goes to path + kDamagedSuffix.
inline constexpr std::string_view kDamagedSuffix = ".damaged";
// A settings file is a few kilobytes; whatever lies beyond this is damage.
inline constexpr std::size_t kMaxSettingsFileSize = 1024 * 1024;
std::unique_ptr<SettingsStore> OpenSettingsFile(std::string path);

// The current user's settings file.
std::unique_ptr<SettingsStore> OpenUserSettingsStore();

} // namespace chromint
