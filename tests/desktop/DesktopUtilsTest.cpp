#include "DesktopUtils.h"

#include "GSettingsTool.h"
#include "PlatformBackends.h"
#include "ScreenAccess.h"
#include "TestRows.h"
#include "X11TestSupport.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QUrl>

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <sys/stat.h>

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
CHROMINT_PRINT_ROW(AnimateRow, row, "steps " << +row.steps)

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
                         test::RowName<::testing::TestParamInfo<AnimateRow>>);

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

// A home folder of its own for one test, with no desktop named and no gsettings to ask, so
// that only the settings the test writes can name a wallpaper; the environment comes back after.
class PrivateDesktop {
public:
    PrivateDesktop() {
        const QByteArray home = QFile::encodeName(dir_.path());
        QDir(dir_.path()).mkpath(QStringLiteral("bin"));
        Set("HOME", home);
        Set("XDG_CONFIG_HOME", home + "/config");
        Set("PATH", home + "/bin");
        Set("XDG_CURRENT_DESKTOP", std::nullopt);
        Set("DESKTOP_SESSION", std::nullopt);
    }
    PrivateDesktop(const PrivateDesktop&) = delete;
    PrivateDesktop& operator=(const PrivateDesktop&) = delete;
    ~PrivateDesktop() {
        for (auto it = saved_.rbegin(); it != saved_.rend(); ++it) {
            if (it->second)
                ::setenv(it->first, it->second->c_str(), 1);
            else
                ::unsetenv(it->first);
        }
    }

    void Set(const char* name, const std::optional<QByteArray>& value) {
        const char* old = std::getenv(name);
        saved_.emplace_back(name, old ? std::optional<std::string>(old) : std::nullopt);
        if (value)
            ::setenv(name, value->constData(), 1);
        else
            ::unsetenv(name);
    }

    // path is below the home folder; its folders are made.
    QString Path(const QString& path) const { return dir_.filePath(path); }
    QString Write(const QString& path, const QByteArray& bytes) const {
        const QString full = Path(path);
        QDir().mkpath(QFileInfo(full).path());
        QFile file(full);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return full;
    }

private:
    QTemporaryDir dir_;
    std::vector<std::pair<const char*, std::optional<std::string>>> saved_;
};

TWallpaper Wallpaper() {
    TWallpaper wallpaper;
    GetWallpaper(wallpaper);
    return wallpaper;
}

void ExpectWallpaper(const QString& path, TWallpaperStyle style) {
    const TWallpaper wallpaper = Wallpaper();
    EXPECT_EQ(wallpaper.Path, path);
    EXPECT_EQ(wallpaper.Style, style);
}

TEST(Wallpaper, NothingConfiguredMeansNoWallpaper) {
    const PrivateDesktop desktop;
    EXPECT_TRUE(Wallpaper().Path.isEmpty());
    EXPECT_FALSE(HasWallpaper());
}

TEST(Wallpaper, FehbgPictureWithSpacesIsLoadable) {
    const PrivateDesktop desktop;
    const QString picture = desktop.Write(QStringLiteral("My Pictures/sea view.png"), "png");
    desktop.Write(QStringLiteral(".fehbg"),
                  "#!/bin/sh\nfeh --no-fehbg --bg-tile '" + QFile::encodeName(picture) + "' \n");
    ExpectWallpaper(picture, TWallpaperStyle::wsTile);
    EXPECT_TRUE(HasWallpaper());
}

TEST(Wallpaper, OnlyAnExistingFileCanBeLoaded) {
    const struct {
        const char* row;
        const char* target; // below the home folder
        bool makeFile;
        bool makeFolder;
        bool loadable;
    } rows[] = {
        {"a picture", "Pictures/forest.jpg", true, false, true},
        {"a folder", "Pictures/Wallpapers", false, true, false},
        {"a picture that was deleted", "Pictures/gone.jpg", false, false, false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.row);
        const PrivateDesktop desktop;
        const QString target = desktop.Path(QString::fromUtf8(row.target));
        if (row.makeFile)
            desktop.Write(QString::fromUtf8(row.target), "jpg");
        if (row.makeFolder)
            QDir().mkpath(target);
        desktop.Write(QStringLiteral("config/nitrogen/bg-saved.cfg"),
                      "[xin_-1]\nfile=" + QFile::encodeName(target) +
                          "\nmode=5\nbgcolor=#000000\n");
        ExpectWallpaper(target, TWallpaperStyle::wsFill);
        EXPECT_EQ(HasWallpaper(), row.loadable);
    }
}

TEST(Wallpaper, RunningDesktopIsAskedFirst) {
    PrivateDesktop desktop;
    const QString fehPicture = desktop.Write(QStringLiteral("feh.png"), "png");
    const QString xfcePicture = desktop.Write(QStringLiteral("xfce.png"), "png");
    desktop.Write(QStringLiteral(".fehbg"),
                  "feh --bg-fill '" + QFile::encodeName(fehPicture) + "'");
    desktop.Write(QStringLiteral("config/xfce4/xfconf/xfce-perchannel-xml/xfce4-desktop.xml"),
                  "<channel name=\"xfce4-desktop\" version=\"1.0\"><property name=\"backdrop\" "
                  "type=\"empty\"><property name=\"screen0\" type=\"empty\"><property "
                  "name=\"monitor0\" type=\"empty\"><property name=\"workspace0\" "
                  "type=\"empty\"><property name=\"last-image\" type=\"string\" value=\"" +
                      QFile::encodeName(xfcePicture) +
                      "\"/></property></property></property></property></channel>");
    EXPECT_EQ(Wallpaper().Path, fehPicture);
    desktop.Set("XDG_CURRENT_DESKTOP", "XFCE");
    EXPECT_EQ(Wallpaper().Path, xfcePicture);
}

TEST(Wallpaper, ConfigHomeDefaultsToDotConfig) {
    PrivateDesktop desktop;
    desktop.Set("XDG_CONFIG_HOME", std::nullopt);
    const QString picture = desktop.Write(QStringLiteral("lxde.png"), "png");
    desktop.Set("DESKTOP_SESSION", "LXDE");
    desktop.Write(QStringLiteral(".config/pcmanfm/default/desktop-items-0.conf"),
                  "[*]\nwallpaper=/usr/share/lxde/wallpapers/lxde_blue.jpg\n");
    desktop.Write(QStringLiteral(".config/pcmanfm/LXDE/desktop-items-0.conf"),
                  "[*]\nwallpaper_mode=center\nwallpaper=" + QFile::encodeName(picture) + "\n");
    ExpectWallpaper(picture, TWallpaperStyle::wsCenter);
    EXPECT_TRUE(HasWallpaper());
}

TEST(Wallpaper, HostileSettingsFilesGiveNoWallpaper) {
    const PrivateDesktop desktop;
    // A pipe nobody writes to would hold a reader forever.
    QDir().mkpath(desktop.Path(QStringLiteral("config/nitrogen")));
    ASSERT_EQ(
        ::mkfifo(QFile::encodeName(desktop.Path(QStringLiteral("config/nitrogen/bg-saved.cfg")))
                     .constData(),
                 0600),
        0);
    // The picture is named only past the first megabyte.
    const QString picture = desktop.Write(QStringLiteral("far.png"), "png");
    desktop.Write(QStringLiteral(".fehbg"), "#!/bin/sh\n" + QByteArray(2 << 20, '#') +
                                                "\nfeh --bg-fill '" + QFile::encodeName(picture) +
                                                "'\n");
    QDir().mkpath(desktop.Path(QStringLiteral("config/plasma-org.kde.plasma.desktop-appletsrc")));
    static constexpr char kBrokenXml[] = "\0\xff<property name=\"last-image\"";
    desktop.Write(QStringLiteral("config/xfce4/xfconf/xfce-perchannel-xml/xfce4-desktop.xml"),
                  QByteArray(kBrokenXml, sizeof kBrokenXml - 1));
    EXPECT_TRUE(Wallpaper().Path.isEmpty());
    EXPECT_FALSE(HasWallpaper());
}

// gsettings itself, on its keyfile backend so that it reads settings this test writes.
TEST(Wallpaper, GnomeSettingsFollowTheDarkStyle) {
    const QByteArray path = qgetenv("PATH");
    const struct {
        const char* row;
        const char* interface;
        const char* darkUri;
        const char* expected; // below the home folder
    } rows[] = {
        {"light", "", "'file:///nowhere/dark.png'", "Sea View.png"},
        {"dark", "[org/gnome/desktop/interface]\ncolor-scheme='prefer-dark'\n",
         "'file://HOME/Night%20Sky.png'", "Night Sky.png"},
        {"dark without its own picture",
         "[org/gnome/desktop/interface]\ncolor-scheme='prefer-dark'\n", "''", "Sea View.png"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.row);
        PrivateDesktop desktop;
        desktop.Set("PATH", path);
        if (QStandardPaths::findExecutable(QStringLiteral("gsettings")).isEmpty())
            GTEST_SKIP() << "needs gsettings";
        desktop.Set("GSETTINGS_BACKEND", "keyfile");
        desktop.Set("XDG_CURRENT_DESKTOP", "ubuntu:GNOME");
        const QByteArray home = QFile::encodeName(desktop.Path(QString()));
        QByteArray keyfile = QByteArray(row.interface) +
                             "[org/gnome/desktop/background]\n"
                             "picture-uri='file://HOME/Sea%20View.png'\n"
                             "picture-options='scaled'\npicture-uri-dark=" +
                             row.darkUri + "\n";
        desktop.Write(QStringLiteral("config/glib-2.0/settings/keyfile"),
                      keyfile.replace("HOME", QUrl::toPercentEncoding(home, "/")));
        const TWallpaper wallpaper = Wallpaper();
        if (wallpaper.Path.isEmpty())
            GTEST_SKIP() << "gsettings knows no GNOME background here";
        EXPECT_EQ(wallpaper.Path, desktop.Path(QString::fromUtf8(row.expected)));
        EXPECT_EQ(wallpaper.Style, TWallpaperStyle::wsFit);
    }
}

// A Wayland session's desktop colour goes through the desktop's own settings: set, read back,
// and the picture taken off so that the colour shows.
TEST(DesktopSettings, GnomeBackgroundColourIsSetAndReadBack) {
    const QByteArray path = qgetenv("PATH");
    PrivateDesktop desktop;
    desktop.Set("PATH", path);
    desktop.Set("GSETTINGS_BACKEND", "keyfile");
    desktop.Set("XDG_CURRENT_DESKTOP", "GNOME");
    if (!RunGSettings({QStringLiteral("list-keys"), QStringLiteral("org.gnome.desktop.background")},
                      5000))
        GTEST_SKIP() << "needs gsettings with the GNOME background settings";
    ASSERT_TRUE(backend::DesktopSettingsKnown());
    ASSERT_TRUE(backend::SetDesktopBackgroundSettings(0x12ab7f));
    EXPECT_EQ(backend::GetDesktopBackgroundSettings(), std::optional<std::uint32_t>(0x12ab7f));
    QFile keyfile(desktop.Path(QStringLiteral("config/glib-2.0/settings/keyfile")));
    ASSERT_TRUE(keyfile.open(QIODevice::ReadOnly));
    EXPECT_TRUE(keyfile.readAll().contains("picture-options='none'"));
}

TEST(DesktopColorX11, SetDesktopColorChangesTheScreen) {
    if (!test::OnX11())
        GTEST_SKIP() << "needs an X server";
    const PrivateDesktop desktop;
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
