#include "KeyNames.h"

#include "TestRows.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string_view>

namespace chromint {
namespace {

struct KeyRow {
    const char* row;
    int virtualKey;
    std::uint32_t keysym;
    std::string_view name;
};
CHROMINT_PRINT_ROW(KeyRow, row, "virtual key " << row.virtualKey)

const KeyRow kKeyRows[] = {
    {"letter X", 88, 0x78, "X"},
    {"digit 0", 48, 0x30, "0"},
    {"F5", 116, 0xffc2, "F5"},
    {"F24", 135, 0xffd5, "F24"},
    {"Page Up, an extended key", 33, 0xff55, "Page Up"},
    {"Delete, an extended key", 46, 0xffff, "Delete"},
    {"keypad plus holds the separator", 107, 0xffab, "Num +"},
    {"keypad 7", 103, 0xffb7, "Num 7"},
    {"space", 32, 0x20, "Space"},
    {"first fixed media name", 166, 0x1008ff26, "Browser Back"},
    {"last fixed media name", 183, 0x1008ff1d, "Start Application 2"},
    {"comma", 188, 0x2c, ","},
    {"backslash", 220, 0x5c, "\\"},
};

class KeyNamesTest : public ::testing::TestWithParam<KeyRow> {};

TEST_P(KeyNamesTest, TableAgreesBothWays) {
    const KeyRow& row = GetParam();
    EXPECT_EQ(VirtualKeyToKeysym(row.virtualKey), row.keysym);
    EXPECT_EQ(KeysymToVirtualKey(row.keysym), row.virtualKey);
    EXPECT_EQ(EnglishKeyName(row.virtualKey), row.name);
}

INSTANTIATE_TEST_SUITE_P(Rows, KeyNamesTest, ::testing::ValuesIn(kKeyRows),
                         test::RowName<::testing::TestParamInfo<KeyRow>>);

TEST(KeyNames, NumbersWithoutKeyHaveNoNameOrKeysym) {
    for (int vk : {0, 1, 7, 10, 255, -1, 256}) {
        EXPECT_EQ(VirtualKeyToKeysym(vk), 0u) << vk;
        EXPECT_TRUE(EnglishKeyName(vk).empty()) << vk;
    }
}

TEST(KeyNames, UpperCaseLetterKeysymGivesTheLetterKey) {
    EXPECT_EQ(KeysymToVirtualKey(0x58), 88); // XK_X
}

TEST(KeyNames, SharedModifierKeysymGivesTheGenericKey) {
    EXPECT_EQ(KeysymToVirtualKey(0xffe1), 16); // Shift_L: "Shift", not "left Shift"
}

} // namespace
} // namespace chromint
