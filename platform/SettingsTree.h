#pragma once

#include <cstdint>
#include <list>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace chromint {

// The settings store keeps a tree of keys like the per-user hive of a registry: every key
// holds named values and named subkeys. Names compare without regard to ASCII case, as
// registry names do, but keep the spelling they were first written with; values and
// subkeys keep the order they were created in, which is the order enumeration returns.

enum class ValueType { None, DWord, String };

struct SettingsValue {
    std::string name;
    ValueType type = ValueType::None;
    std::uint32_t dword = 0;
    std::string text;
};

// Limits on key paths, so that a hostile file cannot build a tree that is expensive to walk
// or a section header that does not fit on one line.
inline constexpr std::size_t kMaxKeyDepth = 32;
inline constexpr std::size_t kMaxKeyNameLength = 255;

// Splits "Software\Qelvo\Chromint" into its segments. A single leading backslash is
// allowed; empty segments, control characters, overlong names or too many levels give
// nothing.
std::optional<std::vector<std::string>> SplitKeyPath(std::string_view path);
std::string JoinKeyPath(const std::vector<std::string>& segments);

// Folds ASCII letters to lower case so that "windowleft" finds "WindowLeft".
std::string FoldName(std::string_view name);

class SettingsKey {
public:
    explicit SettingsKey(std::string name = {}) : name_(std::move(name)) {}
    SettingsKey(const SettingsKey&) = delete;
    SettingsKey& operator=(const SettingsKey&) = delete;
    SettingsKey(SettingsKey&&) = default;
    SettingsKey& operator=(SettingsKey&&) = default;

    const std::string& Name() const { return name_; }

    SettingsKey* Child(std::string_view name);
    const SettingsKey* Child(std::string_view name) const;
    // The existing child of that name, or a new one appended after the others.
    SettingsKey& AddChild(std::string_view name);
    bool RemoveChild(std::string_view name);
    const std::list<SettingsKey>& Children() const { return children_; }

    // The key at the end of the segments, or nullptr.
    SettingsKey* Find(const std::vector<std::string>& segments);
    const SettingsKey* Find(const std::vector<std::string>& segments) const;
    // Walks the segments, creating what is missing.
    SettingsKey& Create(const std::vector<std::string>& segments);

    const SettingsValue* Value(std::string_view name) const;
    // Overwriting keeps the value's place in the order and its first spelling.
    void SetDWord(std::string_view name, std::uint32_t value);
    void SetString(std::string_view name, std::string_view text);
    bool RemoveValue(std::string_view name);
    void ClearValues();
    const std::list<SettingsValue>& Values() const { return values_; }

private:
    SettingsValue& Slot(std::string_view name);

    std::string name_;
    std::list<SettingsValue> values_;
    std::unordered_map<std::string, std::list<SettingsValue>::iterator> valueIndex_;
    std::list<SettingsKey> children_;
    std::unordered_map<std::string, std::list<SettingsKey>::iterator> childIndex_;
};

} // namespace chromint
