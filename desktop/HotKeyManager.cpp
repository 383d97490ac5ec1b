#include "HotKeyManager.h"

#include "KeyNames.h"

#include <QList>

#include <map>
#include <string>

namespace chromint {

namespace {

constexpr THotKey kModifierBits = HotKeyShift | HotKeyCtrl | HotKeyAlt | HotKeyWin;

unsigned ToPlatformModifiers(THotKey hotKey) {
    unsigned modifiers = 0;
    if (hotKey & HotKeyAlt)
        modifiers |= GlobalHotKeys::ModAlt;
    if (hotKey & HotKeyCtrl)
        modifiers |= GlobalHotKeys::ModCtrl;
    if (hotKey & HotKeyShift)
        modifiers |= GlobalHotKeys::ModShift;
    if (hotKey & HotKeyWin)
        modifiers |= GlobalHotKeys::ModWin;
    return modifiers;
}

THotKey FromPlatform(unsigned modifiers, int virtualKey) {
    THotKey hotKey = THotKey(virtualKey) & 0xff;
    if (modifiers & GlobalHotKeys::ModShift)
        hotKey |= HotKeyShift;
    if (modifiers & GlobalHotKeys::ModCtrl)
        hotKey |= HotKeyCtrl;
    if (modifiers & GlobalHotKeys::ModAlt)
        hotKey |= HotKeyAlt;
    if (modifiers & GlobalHotKeys::ModWin)
        hotKey |= HotKeyWin;
    return hotKey;
}

struct ModifierName {
    const char* english;
    THotKey bit;
};

// In the order texts are written.
constexpr ModifierName kModifiers[] = {
    {"Ctrl", HotKeyCtrl}, {"Shift", HotKeyShift}, {"Alt", HotKeyAlt}, {"Win", HotKeyWin}};

// X11 keyboard layouts carry no names for the modifier keys, so the localised names are the
// English ones; the lookup still goes through here so a layout that names them plugs in.
QString ModifierText(const ModifierName& modifier, bool localNames) {
    (void)localNames;
    return QString::fromLatin1(modifier.english);
}

THotKey ModifierBit(const QString& piece, bool localNames) {
    for (const ModifierName& modifier : kModifiers) {
        if (piece.compare(QLatin1String(modifier.english), Qt::CaseInsensitive) == 0 ||
            piece.compare(ModifierText(modifier, localNames), Qt::CaseInsensitive) == 0)
            return modifier.bit;
    }
    return 0;
}

QString KeyName(int virtualKey, bool localNames) {
    (void)localNames;
    const std::string_view name = EnglishKeyName(virtualKey);
    return QString::fromUtf8(name.data(), qsizetype(name.size()));
}

int LookupKeyByName(const QString& piece, bool localNames) {
    for (int vk = 8; vk <= 255; ++vk) {
        const QString name = KeyName(vk, localNames);
        if (!name.isEmpty() && name.compare(piece, Qt::CaseInsensitive) == 0)
            return vk;
    }
    return 0;
}

struct AtomEntry {
    std::uint16_t atom;
    int users;
};

// Atoms of the whole process, by name; values from 0xC000 up as string atoms have.
std::map<std::string, AtomEntry>& AtomTable() {
    static std::map<std::string, AtomEntry> table;
    return table;
}

std::string AtomName(THotKey hotKey) {
    return "HotKeyManagerHotKey" + std::to_string(hotKey);
}

} // namespace

THotKey ParseHotKeyText(QStringView text, bool localNames) {
    QStringList pieces;
    for (QStringView piece : text.split(u'+')) {
        const QStringView trimmed = piece.trimmed();
        if (!trimmed.isEmpty())
            pieces.append(trimmed.toString());
    }
    if (pieces.isEmpty())
        return 0;

    THotKey modifiers = 0;
    for (qsizetype i = 0; i + 1 < pieces.size(); ++i) {
        const THotKey bit = ModifierBit(pieces[i], localNames);
        if (bit == 0)
            return 0; // an unknown modifier spoils the whole text
        modifiers |= bit;
    }

    QString key = pieces.last();
    int virtualKey = 0;
    if (key.size() == 1) {
        const char16_t c = key[0].toUpper().unicode();
        if ((c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9'))
            virtualKey = c;
        else
            virtualKey = LookupKeyByName(key, localNames);
    } else if (ModifierBit(key, localNames) != 0) {
        return 0; // a modifier alone is no key
    } else {
        // The keypad's plus key has the separator in its name: "Num +" arrives as "Num".
        if (key.compare(QLatin1String("Num"), Qt::CaseInsensitive) == 0)
            key += QLatin1String(" +");
        virtualKey = LookupKeyByName(key, localNames);
    }
    if (virtualKey == 0)
        return 0;
    return modifiers | THotKey(virtualKey);
}

QString FormatHotKeyText(THotKey hotKey, bool localNames) {
    QString text;
    for (const ModifierName& modifier : kModifiers) {
        if (hotKey & modifier.bit)
            text += ModifierText(modifier, localNames) + QLatin1Char('+');
    }
    return text + KeyName(int(hotKey & 0xff), localNames);
}

std::uint16_t AddHotKeyAtom(THotKey hotKey) {
    auto& table = AtomTable();
    const auto found = table.find(AtomName(hotKey));
    if (found != table.end()) {
        ++found->second.users;
        return found->second.atom;
    }
    for (std::uint32_t atom = 0xC000; atom <= 0xFFFF; ++atom) {
        bool used = false;
        for (const auto& [name, entry] : table)
            used = used || entry.atom == atom;
        if (!used) {
            table.emplace(AtomName(hotKey), AtomEntry{std::uint16_t(atom), 1});
            return std::uint16_t(atom);
        }
    }
    return 0;
}

void DeleteHotKeyAtom(std::uint16_t atom) {
    auto& table = AtomTable();
    for (auto it = table.begin(); it != table.end(); ++it) {
        if (it->second.atom == atom) {
            if (--it->second.users == 0)
                table.erase(it);
            return;
        }
    }
}

int HotKeyAtomUsers(THotKey hotKey) {
    const auto& table = AtomTable();
    const auto found = table.find(AtomName(hotKey));
    return found == table.end() ? 0 : found->second.users;
}

THotKeyManager::THotKeyManager(QObject* parent, std::unique_ptr<GlobalHotKeys> backend)
    : QObject(parent), backend_(backend ? std::move(backend) : CreateGlobalHotKeys()) {
    backend_->OnPressed = [this](unsigned modifiers, int virtualKey) {
        Pressed(modifiers, virtualKey);
    };
}

THotKeyManager::~THotKeyManager() {
    ClearHotKeys();
    backend_->OnPressed = nullptr;
}

std::uint16_t THotKeyManager::AddHotKey(THotKey hotKey) {
    const std::uint16_t atom = AddHotKeyAtom(hotKey);
    if (atom == 0)
        return 0;
    const int virtualKey = int(hotKey & 0xff);
    if (virtualKey == 0 || (hotKey & ~(kModifierBits | 0xff)) != 0 ||
        backend_->Grab(ToPlatformModifiers(hotKey), virtualKey) !=
            GlobalHotKeys::GrabResult::Grabbed) {
        DeleteHotKeyAtom(atom);
        return 0;
    }
    list_.push_back({hotKey, atom});
    return atom;
}

std::uint16_t THotKeyManager::ChangeHotKey(std::uint16_t index, THotKey newHotKey) {
    if (!RemoveHotKeyByIndex(index))
        return 0;
    return AddHotKey(newHotKey);
}

void THotKeyManager::RemoveAt(std::size_t position) {
    const Entry entry = list_[position];
    backend_->Ungrab(ToPlatformModifiers(entry.hotKey), int(entry.hotKey & 0xff));
    DeleteHotKeyAtom(entry.index);
    list_.erase(list_.begin() + std::ptrdiff_t(position));
}

bool THotKeyManager::RemoveHotKey(THotKey hotKey) {
    for (std::size_t i = 0; i < list_.size(); ++i) {
        if (list_[i].hotKey == hotKey) {
            RemoveAt(i);
            return true;
        }
    }
    return false;
}

bool THotKeyManager::RemoveHotKeyByIndex(std::uint16_t index) {
    for (std::size_t i = 0; i < list_.size(); ++i) {
        if (list_[i].index == index) {
            RemoveAt(i);
            return true;
        }
    }
    return false;
}

void THotKeyManager::ClearHotKeys() {
    while (!list_.empty())
        RemoveAt(list_.size() - 1);
}

bool THotKeyManager::HotKeyValid(THotKey hotKey) {
    const unsigned modifiers = ToPlatformModifiers(hotKey);
    const int virtualKey = int(hotKey & 0xff);
    if (virtualKey == 0)
        return false;
    if (backend_->Holds(modifiers, virtualKey))
        return true;
    if (backend_->Grab(modifiers, virtualKey) != GlobalHotKeys::GrabResult::Grabbed)
        return false;
    backend_->Ungrab(modifiers, virtualKey);
    return true;
}

void THotKeyManager::Pressed(unsigned modifiers, int virtualKey) {
    const THotKey hotKey = FromPlatform(modifiers, virtualKey);
    for (const Entry& entry : list_) {
        if (entry.hotKey == hotKey) {
            emit HotKeyPressed(hotKey, entry.index);
            return;
        }
    }
}

std::uint16_t RegisterMainWindowHotKey(THotKeyManager& manager) {
    const THotKey hotKey = ParseHotKeyText(QString::fromLatin1(MainWindowHotKeyText), true);
    if (hotKey == 0)
        return 0;
    return manager.AddHotKey(hotKey);
}

} // namespace chromint
