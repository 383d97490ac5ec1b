#include "KeyNames.h"

#include <array>

namespace chromint {

namespace {

struct KeyEntry {
    int virtualKey;
    std::uint32_t keysym;
    std::string_view name;
};

// Keysym values as the X protocol defines them (keysymdef.h, XF86keysym.h); written out so
// this file needs no Xlib header.
constexpr KeyEntry kNamedKeys[] = {
    {8, 0xff08, "Backspace"},
    {9, 0xff09, "Tab"},
    {12, 0xff9d, "Num 5"},
    {13, 0xff0d, "Enter"},
    {16, 0xffe1, "Shift"},
    {17, 0xffe3, "Ctrl"},
    {18, 0xffe9, "Alt"},
    {19, 0xff13, "Pause"},
    {20, 0xffe5, "Caps Lock"},
    {27, 0xff1b, "Esc"},
    {32, 0x0020, "Space"},
    {33, 0xff55, "Page Up"},
    {34, 0xff56, "Page Down"},
    {35, 0xff57, "End"},
    {36, 0xff50, "Home"},
    {37, 0xff51, "Left"},
    {38, 0xff52, "Up"},
    {39, 0xff53, "Right"},
    {40, 0xff54, "Down"},
    {44, 0xff61, "Sys Req"},
    {45, 0xff63, "Insert"},
    {46, 0xffff, "Delete"},
    {91, 0xffeb, "Left Windows"},
    {92, 0xffec, "Right Windows"},
    {93, 0xff67, "Application"},
    {106, 0xffaa, "Num *"},
    {107, 0xffab, "Num +"},
    {109, 0xffad, "Num -"},
    {110, 0xffae, "Num Del"},
    {111, 0xffaf, "Num /"},
    {144, 0xff7f, "Num Lock"},
    {145, 0xff14, "Scroll Lock"},
    {160, 0xffe1, "Shift"},
    {161, 0xffe2, "Right Shift"},
    {162, 0xffe3, "Ctrl"},
    {163, 0xffe4, "Right Ctrl"},
    {164, 0xffe9, "Alt"},
    {165, 0xffea, "Right Alt"},
    // The media and browser keys have no printable name on a US layout; these fixed names
    // are what the program shows for them.
    {166, 0x1008ff26, "Browser Back"},
    {167, 0x1008ff27, "Browser Forward"},
    {168, 0x1008ff29, "Browser Refresh"},
    {169, 0x1008ff28, "Browser Stop"},
    {170, 0x1008ff1b, "Browser Search"},
    {171, 0x1008ff30, "Browser Favorites"},
    {172, 0x1008ff18, "Browser Start/Home"},
    {173, 0x1008ff12, "Volume Mute"},
    {174, 0x1008ff11, "Volume Down"},
    {175, 0x1008ff13, "Volume Up"},
    {176, 0x1008ff17, "Next Track"},
    {177, 0x1008ff16, "Previous Track"},
    {178, 0x1008ff15, "Stop Media"},
    {179, 0x1008ff14, "Play/Pause Media"},
    {180, 0x1008ff19, "Start Mail"},
    {181, 0x1008ff32, "Select Media"},
    {182, 0x1008ff33, "Start Application 1"},
    {183, 0x1008ff1d, "Start Application 2"},
    {186, 0x003b, ";"},
    {187, 0x003d, "="},
    {188, 0x002c, ","},
    {189, 0x002d, "-"},
    {190, 0x002e, "."},
    {191, 0x002f, "/"},
    {192, 0x0060, "`"},
    {219, 0x005b, "["},
    {220, 0x005c, "\\"},
    {221, 0x005d, "]"},
    {222, 0x0027, "'"},
};

struct KeyTable {
    std::array<std::uint32_t, 256> keysyms{};
    std::array<std::string_view, 256> names{};
};

constexpr std::string_view kDigitNames[] = {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9"};
constexpr std::string_view kLetterNames[] = {"A", "B", "C", "D", "E", "F", "G", "H", "I",
                                             "J", "K", "L", "M", "N", "O", "P", "Q", "R",
                                             "S", "T", "U", "V", "W", "X", "Y", "Z"};
constexpr std::string_view kNumPadNames[] = {"Num 0", "Num 1", "Num 2", "Num 3", "Num 4",
                                             "Num 5", "Num 6", "Num 7", "Num 8", "Num 9"};
constexpr std::string_view kFunctionNames[] = {
    "F1",  "F2",  "F3",  "F4",  "F5",  "F6",  "F7",  "F8",  "F9",  "F10", "F11", "F12",
    "F13", "F14", "F15", "F16", "F17", "F18", "F19", "F20", "F21", "F22", "F23", "F24"};

constexpr KeyTable BuildTable() {
    KeyTable table;
    for (int i = 0; i < 10; ++i) {
        table.keysyms[48 + i] = 0x30 + std::uint32_t(i);
        table.names[48 + i] = kDigitNames[i];
        table.keysyms[96 + i] = 0xffb0 + std::uint32_t(i);
        table.names[96 + i] = kNumPadNames[i];
    }
    for (int i = 0; i < 26; ++i) {
        table.keysyms[65 + i] = 0x61 + std::uint32_t(i); // the unshifted letter
        table.names[65 + i] = kLetterNames[i];
    }
    for (int i = 0; i < 24; ++i) {
        table.keysyms[112 + i] = 0xffbe + std::uint32_t(i);
        table.names[112 + i] = kFunctionNames[i];
    }
    for (const KeyEntry& entry : kNamedKeys) {
        table.keysyms[std::size_t(entry.virtualKey)] = entry.keysym;
        table.names[std::size_t(entry.virtualKey)] = entry.name;
    }
    return table;
}

constexpr KeyTable kTable = BuildTable();

} // namespace

std::uint32_t VirtualKeyToKeysym(int virtualKey) {
    if (virtualKey < 0 || virtualKey > 255)
        return 0;
    return kTable.keysyms[std::size_t(virtualKey)];
}

int KeysymToVirtualKey(std::uint32_t keysym) {
    if (keysym >= 0x41 && keysym <= 0x5a)
        keysym += 0x20;
    // Left and right modifier keys share a keysym with the generic one; the generic number
    // comes first, which is what a hot key names.
    for (int vk = 1; vk < 256; ++vk) {
        if (kTable.keysyms[std::size_t(vk)] == keysym)
            return vk;
    }
    return 0;
}

std::string_view EnglishKeyName(int virtualKey) {
    if (virtualKey < 0 || virtualKey > 255)
        return {};
    return kTable.names[std::size_t(virtualKey)];
}

} // namespace chromint
