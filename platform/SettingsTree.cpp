#include "SettingsTree.h"

namespace chromint {

std::optional<std::vector<std::string>> SplitKeyPath(std::string_view path) {
    if (path.starts_with('\\'))
        path.remove_prefix(1);
    std::vector<std::string> segments;
    while (true) {
        const std::size_t end = path.find('\\');
        const std::string_view segment = path.substr(0, end);
        if (segment.empty() || segment.size() > kMaxKeyNameLength)
            return std::nullopt;
        for (const char ch : segment) {
            const auto byte = static_cast<unsigned char>(ch);
            if (byte < 0x20 || byte == 0x7F)
                return std::nullopt;
        }
        if (segments.size() == kMaxKeyDepth)
            return std::nullopt;
        segments.emplace_back(segment);
        if (end == std::string_view::npos)
            return segments;
        path.remove_prefix(end + 1);
    }
}

std::string JoinKeyPath(const std::vector<std::string>& segments) {
    std::string path;
    for (const std::string& segment : segments) {
        if (!path.empty())
            path += '\\';
        path += segment;
    }
    return path;
}

std::string FoldName(std::string_view name) {
    std::string folded(name);
    for (char& ch : folded) {
        if (ch >= 'A' && ch <= 'Z')
            ch = static_cast<char>(ch - 'A' + 'a');
    }
    return folded;
}

SettingsKey* SettingsKey::Child(std::string_view name) {
    const auto it = childIndex_.find(FoldName(name));
    return it == childIndex_.end() ? nullptr : &*it->second;
}

const SettingsKey* SettingsKey::Child(std::string_view name) const {
    const auto it = childIndex_.find(FoldName(name));
    return it == childIndex_.end() ? nullptr : &*it->second;
}

SettingsKey& SettingsKey::AddChild(std::string_view name) {
    std::string folded = FoldName(name);
    if (const auto it = childIndex_.find(folded); it != childIndex_.end())
        return *it->second;
    children_.emplace_back(std::string(name));
    childIndex_.emplace(std::move(folded), std::prev(children_.end()));
    return children_.back();
}

bool SettingsKey::RemoveChild(std::string_view name) {
    const auto it = childIndex_.find(FoldName(name));
    if (it == childIndex_.end())
        return false;
    children_.erase(it->second);
    childIndex_.erase(it);
    return true;
}

SettingsKey* SettingsKey::Find(const std::vector<std::string>& segments) {
    SettingsKey* key = this;
    for (const std::string& segment : segments) {
        key = key->Child(segment);
        if (key == nullptr)
            return nullptr;
    }
    return key;
}

const SettingsKey* SettingsKey::Find(const std::vector<std::string>& segments) const {
    const SettingsKey* key = this;
    for (const std::string& segment : segments) {
        key = key->Child(segment);
        if (key == nullptr)
            return nullptr;
    }
    return key;
}

SettingsKey& SettingsKey::Create(const std::vector<std::string>& segments) {
    SettingsKey* key = this;
    for (const std::string& segment : segments)
        key = &key->AddChild(segment);
    return *key;
}

const SettingsValue* SettingsKey::Value(std::string_view name) const {
    const auto it = valueIndex_.find(FoldName(name));
    return it == valueIndex_.end() ? nullptr : &*it->second;
}

SettingsValue& SettingsKey::Slot(std::string_view name) {
    std::string folded = FoldName(name);
    if (const auto it = valueIndex_.find(folded); it != valueIndex_.end())
        return *it->second;
    values_.push_back(SettingsValue{std::string(name), ValueType::None, 0, {}});
    valueIndex_.emplace(std::move(folded), std::prev(values_.end()));
    return values_.back();
}

void SettingsKey::SetDWord(std::string_view name, std::uint32_t value) {
    SettingsValue& slot = Slot(name);
    slot.type = ValueType::DWord;
    slot.dword = value;
    slot.text.clear();
}

void SettingsKey::SetString(std::string_view name, std::string_view text) {
    SettingsValue& slot = Slot(name);
    slot.type = ValueType::String;
    slot.dword = 0;
    slot.text.assign(text);
}

bool SettingsKey::RemoveValue(std::string_view name) {
    const auto it = valueIndex_.find(FoldName(name));
    if (it == valueIndex_.end())
        return false;
    values_.erase(it->second);
    valueIndex_.erase(it);
    return true;
}

void SettingsKey::ClearValues() {
    values_.clear();
    valueIndex_.clear();
}

} // namespace chromint
