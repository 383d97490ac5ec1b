#include "DesktopUtils.h"

#include "ScreenAccess.h"
#include "X11TestSupport.h"

#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <vector>

namespace chromint {
namespace {

// A frame-colour backend that records what it is given.
class RecordingFrameColor final : public FrameColorBackend {
public:
    bool composition = true;
    bool canWrite = true;
    Parameters current{0x6B112233, 1, 2, 3, 4, 5, 6};
    std::uint32_t colorization = 0x6B112233;
    std::vector<Parameters> written;

    bool IsCompositionEnabled() override { return composition; }
    bool CanReadParameters() override { return true; }
    bool CanWriteParameters() override { return canWrite; }
    bool ReadParameters(Parameters& parameters) override {
        parameters = current;
        return true;
    }
    bool WriteParameters(const Parameters& parameters) override {
        written.push_back(parameters);
        current = parameters;
        return true;
    }
    bool ReadColorization(std::uint32_t& argb) override {
        argb = colorization;
        return true;
    }
};

class AeroTest : public ::testing::Test {
protected:
    void SetUp() override {
        auto backend = std::make_unique<RecordingFrameColor>();
        frame_ = backend.get();
        Aero::SetBackend(std::move(backend));
        Aero::SetSleeper([this](int ms) { pauses_.push_back(ms); });
    }
    void TearDown() override {
        Aero::SetBackend(nullptr);
        Aero::SetSleeper(nullptr);
    }
    RecordingFrameColor* frame_ = nullptr;
    std::vector<int> pauses_;
};

TEST_F(AeroTest, SourceColourDropsAlpha) {
    EXPECT_EQ(Aero::GetAeroColor(), MakeRGB(0x11, 0x22, 0x33));
}

TEST_F(AeroTest, VisibleColourIsLightenedByTransparency) {
    EXPECT_EQ(Aero::GetAeroVisibleColor(), MakeRGB(0x11 + 108, 0x22 + 108, 0x33 + 108));
    frame_->colorization = 0x00640000; // alpha 0, red 100
    EXPECT_EQ(Aero::GetAeroVisibleColor(), MakeRGB(255, 215, 215));
}

TEST_F(AeroTest, SettingPureRedWritesTheColourAndBalance) {
    Aero::SetAeroColor(MakeRGB(255, 0, 0));
    ASSERT_EQ(frame_->written.size(), 1u);
    EXPECT_EQ(frame_->written[0][0], 0x00FF0000u);
    EXPECT_EQ(frame_->written[0][2], 70u);
    EXPECT_EQ(frame_->written[0][1], 1u); // the others pass through
    EXPECT_EQ(frame_->written[0][6], 6u);
}

struct AnimateRow {
    const char* row;
    std::uint8_t steps;
    std::size_t settings;
};

class AnimateTest : public AeroTest, public ::testing::WithParamInterface<AnimateRow> {};

TEST_P(AnimateTest, SettingsAndPauses) {
    Aero::AnimateAeroColor(MakeRGB(0xFF, 0xFF, 0xFF), GetParam().steps, 5);
    EXPECT_EQ(frame_->written.size(), GetParam().settings);
    EXPECT_EQ(pauses_.size(), GetParam().settings);
    ASSERT_FALSE(frame_->written.empty());
    EXPECT_EQ(frame_->written.back()[0], 0x00FFFFFFu); // ends on the target
}

const AnimateRow kAnimateRows[] = {
    {"zero steps count as three", 0, 4},
    {"one step counts as three", 1, 4},
    {"main window's ten", 10, 11},
    {"most steps", 255, 256},
};

INSTANTIATE_TEST_SUITE_P(Rows, AnimateTest, ::testing::ValuesIn(kAnimateRows),
                         [](const auto& info) {
                             std::string name = info.param.row;
                             for (char& c : name)
                                 if (!std::isalnum(static_cast<unsigned char>(c)))
                                     c = '_';
                             return name;
                         });

TEST_F(AeroTest, TenStepsFollowWeightIOverElevenExactly) {
    frame_->current[0] = 0x00000000;
    Aero::AnimateAeroColor(MakeRGB(110, 220, 0), 10, 5);
    ASSERT_EQ(frame_->written.size(), 11u);
    for (std::size_t i = 0; i < 11; ++i) {
        const std::uint32_t expected =
            (std::uint32_t(10 * (i + 1)) << 16) | (std::uint32_t(20 * (i + 1)) << 8);
        EXPECT_EQ(frame_->written[i][0], expected) << i;
    }
}

TEST_F(AeroTest, WithoutCompositionNothingIsReadOrWritten) {
    frame_->composition = false;
    EXPECT_FALSE(Aero::IsCompositionEnabled());
    EXPECT_EQ(Aero::GetAeroColor(), clNone);
    EXPECT_EQ(Aero::GetAeroVisibleColor(), clNone);
    Aero::AnimateAeroColor(MakeRGB(1, 2, 3), 10, 5);
    EXPECT_TRUE(frame_->written.empty());
    EXPECT_TRUE(pauses_.empty());
}

TEST(AeroSession, X11HasNoFrameColour) {
    EXPECT_FALSE(Aero::IsCompositionEnabled());
    EXPECT_FALSE(Aero::CanSetAeroColor());
    EXPECT_EQ(Aero::GetAeroColor(), clNone);
}

TEST(DesktopColorX11, SetDesktopColorChangesTheScreen) {
    if (!test::OnX11())
        GTEST_SKIP() << "needs an X server";
    SetDesktopColorCommand(MakeRGB(0x12, 0xab, 0x7f));
    EXPECT_EQ(Screen().PixelAt({2, 2}), std::optional<std::uint32_t>(0x12ab7f));
    EXPECT_EQ(GetDesktopColor(), MakeRGB(0x12, 0xab, 0x7f));
    TWallpaper wallpaper;
    GetWallpaper(wallpaper);
    EXPECT_TRUE(wallpaper.Path.isEmpty());
    EXPECT_EQ(wallpaper.Background, MakeRGB(0x12, 0xab, 0x7f));
    EXPECT_FALSE(HasWallpaper());
}

TEST(DesktopColor, SystemColourOrNoneIsRefused) {
    EXPECT_FALSE(SetDesktopColor(clNone));
    EXPECT_FALSE(SetDesktopColor(0xFF000005));
}

} // namespace
} // namespace chromint
