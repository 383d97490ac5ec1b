#pragma once

#include "GlobalHotKeys.h"

#include <QObject>
#include <QString>
#include <QStringView>

#include <cstdint>
#include <memory>
#include <vector>

namespace chromint {

// A hot-key code: the virtual key in bits 0..7 and one bit per modifier.
using THotKey = std::uint32_t;
inline constexpr THotKey HotKeyShift = 0x2000;
inline constexpr THotKey HotKeyCtrl = 0x4000;
inline constexpr THotKey HotKeyAlt = 0x8000;
inline constexpr THotKey HotKeyWin = 0x10000;

// "Alt+X" to 0x8058; 0 when the text names no key or an unknown modifier. localNames also
// accepts the keyboard layout's own modifier names (X11 offers none, so they are English).
THotKey ParseHotKeyText(QStringView text, bool localNames);
// 0x8058 to "Alt+X": modifiers in the order Ctrl, Shift, Alt, Win, then the key's name.
QString FormatHotKeyText(THotKey hotKey, bool localNames);

// Identifiers that behave like global atoms: one per name "HotKeyManagerHotKey" + the code in
// decimal, non-zero, counted, freed when the last user deletes it.
std::uint16_t AddHotKeyAtom(THotKey hotKey);
void DeleteHotKeyAtom(std::uint16_t atom);
int HotKeyAtomUsers(THotKey hotKey);

// System-wide hot keys of one window: they fire while any other program has the focus.
class THotKeyManager : public QObject {
    Q_OBJECT
public:
    // Uses the session's global hot keys unless a backend is given.
    explicit THotKeyManager(QObject* parent = nullptr,
                            std::unique_ptr<GlobalHotKeys> backend = nullptr);
    ~THotKeyManager() override;

    // The identifier, or 0 when the combination cannot be registered (taken, no such key).
    std::uint16_t AddHotKey(THotKey hotKey);
    // Replaces the entry with identifier index; the new identifier or 0.
    std::uint16_t ChangeHotKey(std::uint16_t index, THotKey newHotKey);
    bool RemoveHotKey(THotKey hotKey);
    bool RemoveHotKeyByIndex(std::uint16_t index);
    // Unregisters every hot key, last first.
    void ClearHotKeys();
    // Whether the combination can be registered now (or is already this manager's).
    bool HotKeyValid(THotKey hotKey);

    int Count() const { return int(list_.size()); }
    THotKey HotKeyAt(int i) const { return list_.at(std::size_t(i)).hotKey; }

signals:
    void HotKeyPressed(quint32 hotKey, quint16 index);

private:
    struct Entry {
        THotKey hotKey;
        std::uint16_t index;
    };

    void Pressed(unsigned modifiers, int virtualKey);
    void RemoveAt(std::size_t position);

    std::unique_ptr<GlobalHotKeys> backend_;
    std::vector<Entry> list_;
};

// The main window's hot key: the text and its registration (answers the identifier or 0;
// a combination another program holds is left alone silently).
inline constexpr const char* MainWindowHotKeyText = "Alt+X";
std::uint16_t RegisterMainWindowHotKey(THotKeyManager& manager);

} // namespace chromint
