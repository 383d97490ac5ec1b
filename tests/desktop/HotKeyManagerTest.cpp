#include "HotKeyManager.h"

#include "FakeGlobalHotKeys.h"
#include "TestRows.h"
#include "X11TestSupport.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

namespace chromint {
namespace {

struct ParseRow {
    const char* row;
    const char* text;
    THotKey code;
};
CHROMINT_PRINT_ROW(ParseRow, row, "text " << row.text)

const ParseRow kParseRows[] = {
    {"Alt X", "Alt+X", 32856},
    {"lower case with blanks", "alt + x", 32856},
    {"Ctrl Shift F5", "Ctrl+Shift+F5", 0x6074},
    {"key alone", "X", 88},
    {"unknown modifier", "Foo+X", 0},
    {"unknown modifier before a known one", "Foo+Ctrl+X", 0},
    {"modifiers only", "Ctrl+Alt", 0},
    {"modifier alone", "Shift", 0},
    {"empty text", "", 0},
    {"only separators", "+ +", 0},
    {"digit", "Ctrl+7", 0x4037},
    {"keypad plus holds the separator", "Ctrl+Num +", 0x406B},
    {"keypad minus", "Num -", 109},
    {"named key any case", "ctrl+page up", 0x4021},
    {"function key", "F12", 123},
    {"punctuation by name", "Ctrl+,", 0x40BC},
    {"fixed media name", "Win+Volume Up", 0x100AF},
    {"unknown key", "Ctrl+Nothing", 0},
    {"non-ASCII letter is no key", "Alt+\xc3\xa4", 0},
    {"empty pieces dropped", "Alt++X", 32856},
    {"all four modifiers", "Win+Alt+Shift+Ctrl+A", 0x1E041},
};

class ParseHotKeyTextTest : public ::testing::TestWithParam<ParseRow> {};

TEST_P(ParseHotKeyTextTest, GivesTheCode) {
    const ParseRow& row = GetParam();
    EXPECT_EQ(ParseHotKeyText(QString::fromUtf8(row.text), false), row.code);
    EXPECT_EQ(ParseHotKeyText(QString::fromUtf8(row.text), true), row.code);
}

INSTANTIATE_TEST_SUITE_P(Rows, ParseHotKeyTextTest, ::testing::ValuesIn(kParseRows),
                         test::RowName<::testing::TestParamInfo<ParseRow>>);

struct FormatRow {
    const char* row;
    THotKey code;
    const char* text;
};
CHROMINT_PRINT_ROW(FormatRow, row, "code " << row.code)

const FormatRow kFormatRows[] = {
    {"Alt X", 32856, "Alt+X"},
    {"modifier order", 0x1E041, "Ctrl+Shift+Alt+Win+A"},
    {"Ctrl Shift X", 0x6058, "Ctrl+Shift+X"},
    {"extended key", 0x8022, "Alt+Page Down"},
    {"keypad plus", 0x406B, "Ctrl+Num +"},
    {"media key", 179, "Play/Pause Media"},
    {"key without name", 0x8000 | 7, "Alt+"},
};

class FormatHotKeyTextTest : public ::testing::TestWithParam<FormatRow> {};

TEST_P(FormatHotKeyTextTest, GivesTheText) {
    const FormatRow& row = GetParam();
    EXPECT_EQ(FormatHotKeyText(row.code, false), QString::fromUtf8(row.text));
}

INSTANTIATE_TEST_SUITE_P(Rows, FormatHotKeyTextTest, ::testing::ValuesIn(kFormatRows),
                         test::RowName<::testing::TestParamInfo<FormatRow>>);

TEST(HotKeyText, EveryNamedKeyParsesBackFromItsText) {
    for (THotKey vk = 8; vk <= 255; ++vk) {
        if (vk == 16 || vk == 17 || vk == 18 || vk == 160 || vk == 162 || vk == 164)
            continue; // a modifier key is no hot key of its own
        const THotKey code = HotKeyCtrl | HotKeyAlt | vk;
        const QString text = FormatHotKeyText(code, false);
        if (text.endsWith(QLatin1Char('+')) && !text.endsWith(QLatin1String("Num +")))
            continue; // no name
        const THotKey parsed = ParseHotKeyText(text, false);
        // Keys sharing a name (left and right modifiers, Num 5) come back as the first one.
        EXPECT_EQ(FormatHotKeyText(parsed, false), text) << vk;
    }
}

std::unique_ptr<test::FakeGlobalHotKeys> MakeFake(test::FakeGlobalHotKeys*& raw) {
    auto fake = std::make_unique<test::FakeGlobalHotKeys>();
    raw = fake.get();
    return fake;
}

TEST(THotKeyManager, AddGivesTheAtomOfTheCodesName) {
    test::FakeGlobalHotKeys* fake = nullptr;
    THotKeyManager manager(nullptr, MakeFake(fake));
    const std::uint16_t id = manager.AddHotKey(32856);
    EXPECT_GE(id, 0xC000);
    EXPECT_EQ(HotKeyAtomUsers(32856), 1);
    EXPECT_TRUE(fake->Holds(GlobalHotKeys::ModAlt, 88));
    EXPECT_TRUE(manager.RemoveHotKeyByIndex(id));
    EXPECT_EQ(HotKeyAtomUsers(32856), 0);
    EXPECT_FALSE(fake->Holds(GlobalHotKeys::ModAlt, 88));
}

TEST(THotKeyManager, SameCodeTwiceFailsOnceAndKeepsOneEntry) {
    test::FakeGlobalHotKeys* fake = nullptr;
    THotKeyManager manager(nullptr, MakeFake(fake));
    EXPECT_NE(manager.AddHotKey(32856), 0);
    EXPECT_EQ(manager.AddHotKey(32856), 0);
    EXPECT_EQ(manager.Count(), 1);
    EXPECT_EQ(HotKeyAtomUsers(32856), 1);
}

TEST(THotKeyManager, CombinationHeldElsewhereGivesZeroAndNoAtom) {
    test::FakeGlobalHotKeys* fake = nullptr;
    THotKeyManager manager(nullptr, MakeFake(fake));
    fake->heldElsewhere.insert({GlobalHotKeys::ModAlt, 88});
    EXPECT_EQ(manager.AddHotKey(32856), 0);
    EXPECT_EQ(HotKeyAtomUsers(32856), 0);
    EXPECT_FALSE(manager.HotKeyValid(32856));
}

TEST(THotKeyManager, ValidAsksWithoutKeepingTheGrab) {
    test::FakeGlobalHotKeys* fake = nullptr;
    THotKeyManager manager(nullptr, MakeFake(fake));
    EXPECT_TRUE(manager.HotKeyValid(0x6074));
    EXPECT_TRUE(fake->held.empty());
    manager.AddHotKey(0x6074);
    EXPECT_TRUE(manager.HotKeyValid(0x6074)); // this manager's own counts as valid
    EXPECT_TRUE(fake->Holds(GlobalHotKeys::ModCtrl | GlobalHotKeys::ModShift, 116));
    EXPECT_FALSE(manager.HotKeyValid(0x8000)); // no key
}

TEST(THotKeyManager, ChangeReplacesTheEntry) {
    test::FakeGlobalHotKeys* fake = nullptr;
    THotKeyManager manager(nullptr, MakeFake(fake));
    const std::uint16_t id = manager.AddHotKey(32856);
    EXPECT_EQ(manager.ChangeHotKey(0x1234, 0x6074), 0); // unknown index
    const std::uint16_t changed = manager.ChangeHotKey(id, 0x6074);
    EXPECT_NE(changed, 0);
    ASSERT_EQ(manager.Count(), 1);
    EXPECT_EQ(manager.HotKeyAt(0), 0x6074u);
    EXPECT_FALSE(fake->Holds(GlobalHotKeys::ModAlt, 88));
}

TEST(THotKeyManager, ClearAndDestructionReleaseEverything) {
    test::FakeGlobalHotKeys* fake = nullptr;
    {
        THotKeyManager manager(nullptr, MakeFake(fake));
        manager.AddHotKey(32856);
        manager.AddHotKey(0x6074);
        manager.ClearHotKeys();
        EXPECT_EQ(manager.Count(), 0);
        EXPECT_TRUE(fake->held.empty());
        manager.AddHotKey(32856);
    }
    EXPECT_EQ(HotKeyAtomUsers(32856), 0);
}

TEST(THotKeyManager, PressOfARegisteredKeyRaisesTheSignal) {
    test::FakeGlobalHotKeys* fake = nullptr;
    THotKeyManager manager(nullptr, MakeFake(fake));
    QSignalSpy spy(&manager, &THotKeyManager::HotKeyPressed);
    const std::uint16_t id = RegisterMainWindowHotKey(manager);
    ASSERT_NE(id, 0);
    fake->Press(GlobalHotKeys::ModAlt, 88);
    ASSERT_EQ(spy.count(), 1);
    EXPECT_EQ(spy.at(0).at(0).toUInt(), 32856u);
    EXPECT_EQ(spy.at(0).at(1).toUInt(), id);
}

TEST(THotKeyManagerX11, XdotoolAltXReachesTheSignal) {
    if (!test::OnX11())
        GTEST_SKIP() << "needs an X server";
    THotKeyManager manager;
    QSignalSpy spy(&manager, &THotKeyManager::HotKeyPressed);
    ASSERT_NE(RegisterMainWindowHotKey(manager), 0);
    EXPECT_EQ(RegisterMainWindowHotKey(manager), 0); // the duplicate fails once
    ASSERT_TRUE(test::RunTool("xdotool", {"key", "alt+x"}));
    EXPECT_TRUE(test::WaitUntil([&] { return spy.count() == 1; }));
    EXPECT_EQ(spy.at(0).at(0).toUInt(), 32856u);
}

TEST(THotKeyManagerX11, CombinationHeldByAnotherClientGivesZero) {
    if (!test::OnX11())
        GTEST_SKIP() << "needs an X server";
    test::OtherClientGrab other(0x78 /* x */, 8 /* Mod1Mask */);
    ASSERT_TRUE(other.Holds());
    THotKeyManager manager;
    EXPECT_EQ(RegisterMainWindowHotKey(manager), 0);
    EXPECT_FALSE(manager.HotKeyValid(32856));
}

} // namespace
} // namespace chromint
