// Reading each desktop's wallpaper setting from the text it keeps, as those programs write it
// and as damaged copies of it look.

#include "WallpaperSources.h"

#include <gtest/gtest.h>

#include <functional>
#include <initializer_list>
#include <optional>
#include <string>

namespace chromint {
namespace {

using S = TWallpaperStyle;

struct Row {
    const char* row;
    std::string text;
    const char* path; // nullptr: no wallpaper from this text
    S style = S::wsCenter;
};

// path nullptr: no wallpaper expected.
void ExpectSetting(const std::optional<TWallpaperSetting>& setting, const char* path, S style) {
    if (path == nullptr) {
        EXPECT_FALSE(setting.has_value()) << setting->Path.toStdString();
        return;
    }
    ASSERT_TRUE(setting.has_value());
    EXPECT_EQ(setting->Path.toStdString(), path);
    EXPECT_EQ(int(setting->Style), int(style));
}

using Parser = std::function<std::optional<TWallpaperSetting>(const QString&)>;

void ExpectRows(const Parser& parse, std::initializer_list<Row> rows) {
    for (const Row& row : rows) {
        SCOPED_TRACE(row.row);
        ExpectSetting(parse(QString::fromStdString(row.text)), row.path, row.style);
    }
}

// Bytes no settings file holds, with NULs and broken UTF-8.
std::string Junk() {
    std::string junk;
    for (int i = 0; i < 4096; ++i)
        junk += char((i * 7919 + 13) % 256);
    return junk;
}

TEST(WallpaperSources, GVariantStrings) {
    const struct {
        const char* row;
        const char* text;
        const char* expected; // nullptr: not a string
    } rows[] = {
        {"single quotes", "'zoom'\n", "zoom"},
        {"double quotes around an apostrophe", "\"file:///home/ann/it's.png\"\n",
         "file:///home/ann/it's.png"},
        {"escaped quote and backslash", R"('a\'b\\c')", R"(a'b\c)"},
        {"empty", "''", ""},
        {"number", "uint32 5", nullptr},
        {"unterminated", "'abc", nullptr},
        {"two strings", "'a' 'b'", nullptr},
        {"escape eats the closing quote", R"('abc\')", nullptr},
        {"nothing", "", nullptr},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.row);
        const auto value = ParseGVariantString(QString::fromUtf8(row.text));
        if (row.expected == nullptr) {
            EXPECT_FALSE(value.has_value());
        } else {
            ASSERT_TRUE(value.has_value());
            EXPECT_EQ(value->toStdString(), row.expected);
        }
    }
}

TEST(WallpaperSources, GSettings) {
    struct GRow {
        const char* row;
        const char* picture;
        const char* options;
        const char* path;
        S style = S::wsCenter;
    };
    const GRow rows[] = {
        {"GNOME URI with spaces", "'file:///home/ann/My%20Pictures/sea%20view.jpg'\n", "'zoom'\n",
         "/home/ann/My Pictures/sea view.jpg", S::wsFill},
        {"unencoded URI", "'file:///home/ann/a b.png'", "'centered'", "/home/ann/a b.png",
         S::wsCenter},
        {"non-ASCII encoded", "'file:///home/ann/%C3%A9t%C3%A9.png'", "'wallpaper'",
         "/home/ann/\xC3\xA9t\xC3\xA9.png", S::wsTile},
        {"MATE plain path", "'/usr/share/backgrounds/mate/nature/Wood.jpg'", "'stretched'",
         "/usr/share/backgrounds/mate/nature/Wood.jpg", S::wsStretch},
        {"scaled keeps the aspect", "'file:///w.png'", "'scaled'", "/w.png", S::wsFit},
        {"spanned", "'file:///w.png'", "'spanned'", "/w.png", S::wsFill},
        {"options missing", "'file:///w.png'", "", "/w.png", S::wsFill},
        {"options unknown", "'file:///w.png'", "'sideways'", "/w.png", S::wsFill},
        {"options none shows no picture", "'file:///w.png'", "'none'", nullptr},
        {"empty picture", "''", "'zoom'", nullptr},
        {"remote picture", "'https://example.org/w.png'", "'zoom'", nullptr},
        {"file URL of a relative path", "'file:file:/home/w.png'", "'zoom'", nullptr},
        {"no such key message", "No such key “picture-uri”", "", nullptr},
    };
    for (const GRow& row : rows) {
        SCOPED_TRACE(row.row);
        ExpectSetting(ParseGSettingsBackground(QString::fromUtf8(row.picture),
                                               QString::fromUtf8(row.options)),
                      row.path, row.style);
    }
}

TEST(WallpaperSources, Kde) {
    const std::string panel = "[Containments][2]\nactivityId=\nformfactor=2\n"
                              "plugin=org.kde.panel\n\n";
    ExpectRows(
        ParseKdeAppletsrc,
        {
            {"desktop after a panel",
             panel + "[Containments][1]\nactivityId=5c4b\nplugin=org.kde.plasma.folder\n"
                     "wallpaperplugin=org.kde.image\n\n"
                     "[Containments][1][Wallpaper][org.kde.image][General]\n"
                     "FillMode=1\nImage=file:///home/ann/Bilder/Berg%20See.jpg\n"
                     "SlidePaths=/usr/share/wallpapers/\n",
             "/home/ann/Bilder/Berg See.jpg", S::wsFit},
            {"default fill mode",
             "[Containments][7][Wallpaper][org.kde.image][General]\n"
             "Image=/usr/share/wallpapers/Next/contents/images/1920x1080.png\n",
             "/usr/share/wallpapers/Next/contents/images/1920x1080.png", S::wsFill},
            {"centred, CRLF, expanded key",
             "[Containments][3][Wallpaper][org.kde.image][General]\r\n"
             "FillMode=6\r\nImage[$e]=file:///home/ann/w.png\r\n",
             "/home/ann/w.png", S::wsCenter},
            {"tiled",
             "[Containments][3][Wallpaper][org.kde.image][General]\nFillMode=3\n"
             "Image=file:///w.png\n",
             "/w.png", S::wsTile},
            {"first of two desktops",
             "[Containments][1][Wallpaper][org.kde.image][General]\nImage=/one.png\n"
             "[Containments][4][Wallpaper][org.kde.image][General]\nImage=/two.png\n",
             "/one.png", S::wsFill},
            {"slideshow only",
             "[Containments][1][Wallpaper][org.kde.slideshow][General]\nImage=/a.png\n", nullptr},
            {"image outside a wallpaper section", "[General]\nImage=/a.png\n", nullptr},
            {"no image key", "[Containments][1][Wallpaper][org.kde.image][General]\nFillMode=2\n",
             nullptr},
            {"junk", Junk(), nullptr},
        });
}

TEST(WallpaperSources, Xfce) {
    const auto workspace = [](const std::string& properties) {
        return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n\n"
               "<channel name=\"xfce4-desktop\" version=\"1.0\">\n"
               "  <property name=\"backdrop\" type=\"empty\">\n"
               "    <property name=\"screen0\" type=\"empty\">\n"
               "      <property name=\"monitorVirtual-1\" type=\"empty\">\n"
               "        <property name=\"workspace0\" type=\"empty\">\n"
               "          <property name=\"color-style\" type=\"int\" value=\"0\"/>\n" +
               properties +
               "        </property>\n"
               "      </property>\n"
               "    </property>\n"
               "  </property>\n"
               "</channel>\n";
    };
    const std::string image = "          <property name=\"last-image\" type=\"string\" "
                              "value=\"/usr/share/backgrounds/xfce/xfce-shapes.svg\"/>\n";
    ExpectRows(
        ParseXfceDesktop,
        {
            {"style after the image",
             workspace(image + "          <property name=\"image-style\" type=\"int\" "
                               "value=\"2\"/>\n"),
             "/usr/share/backgrounds/xfce/xfce-shapes.svg", S::wsTile},
            {"style before the image, path with spaces and an entity",
             workspace("          <property name=\"image-style\" type=\"int\" value=\"4\"/>\n"
                       "          <property name=\"last-image\" type=\"string\" "
                       "value=\"/home/ann/Sea &amp; Sky.jpg\"/>\n"),
             "/home/ann/Sea & Sky.jpg", S::wsFit},
            {"no style", workspace(image), "/usr/share/backgrounds/xfce/xfce-shapes.svg",
             S::wsFill},
            {"style none shows no picture",
             workspace(image + "          <property name=\"image-style\" type=\"int\" "
                               "value=\"0\"/>\n"),
             nullptr},
            {"no image", workspace(""), nullptr},
            {"cut off before the workspace closes",
             workspace(image).substr(0, workspace(image).find("        </property>")), nullptr},
            {"not XML", "last-image=/a.png", nullptr},
            {"junk", Junk(), nullptr},
        });
}

TEST(WallpaperSources, Pcmanfm) {
    ExpectRows(
        ParsePcmanfmDesktop,
        {
            {"pcmanfm",
             "[*]\nwallpaper_mode=crop\nwallpaper_common=1\n"
             "wallpaper=/usr/share/lxde/wallpapers/lxde_blue.jpg\ndesktop_bg=#000000\n",
             "/usr/share/lxde/wallpapers/lxde_blue.jpg", S::wsFill},
            {"pcmanfm picture per workspace",
             "[*]\nwallpaper_mode=tile\nwallpaper_common=0\nwallpapers_configured=2\n"
             "wallpaper0=/home/ann/one.png\nwallpaper1=/home/ann/two.png\n",
             "/home/ann/one.png", S::wsTile},
            {"pcmanfm colour only", "[*]\nwallpaper_mode=color\nwallpaper=/home/ann/one.png\n",
             nullptr},
            {"pcmanfm-qt",
             "[Behavior]\nSingleClick=false\n\n[Desktop]\nBgColor=#2e3436\n"
             "Wallpaper=/usr/share/lxqt/wallpapers/kde-plasma.png\nWallpaperMode=zoom\n",
             "/usr/share/lxqt/wallpapers/kde-plasma.png", S::wsFill},
            {"pcmanfm-qt quoted path with spaces",
             "[Desktop]\nWallpaper=\"/home/ann/My Pictures/a;b.png\"\nWallpaperMode=fit\n",
             "/home/ann/My Pictures/a;b.png", S::wsFit},
            {"pcmanfm-qt none", "[Desktop]\nWallpaper=/a.png\nWallpaperMode=none\n", nullptr},
            {"no mode", "[*]\nwallpaper=/a.png\n", "/a.png", S::wsStretch},
            {"wallpaper in another section", "[Thumbnail]\nWallpaper=/a.png\n", nullptr},
            {"empty wallpaper", "[*]\nwallpaper=\nwallpaper_mode=stretch\n", nullptr},
            {"junk", Junk(), nullptr},
        });
}

TEST(WallpaperSources, Feh) {
    ExpectRows(ParseFehbg,
               {
                   {"feh 3", "#!/bin/sh\nfeh --no-fehbg --bg-fill '/home/ann/Pictures/sea.jpg' \n",
                    "/home/ann/Pictures/sea.jpg", S::wsFill},
                   {"spaces and an apostrophe",
                    "#!/bin/sh\nfeh --no-fehbg --bg-center '/home/ann/My Pictures/Ann'\\''s.png' "
                    "\n",
                    "/home/ann/My Pictures/Ann's.png", S::wsCenter},
                   {"older feh, double quotes", "feh  --bg-scale \"/home/ann/a \\\"b\\\".png\"\n",
                    "/home/ann/a \"b\".png", S::wsStretch},
                   {"last of several monitors",
                    "#!/bin/sh\nfeh --no-fehbg --bg-tile '/left.png' '/right.png' \n", "/right.png",
                    S::wsTile},
                   {"max, background colour and full path",
                    "#!/bin/sh\n/usr/bin/feh --no-fehbg --image-bg 'black' --bg-max '/w.png' \n",
                    "/w.png", S::wsFit},
                   {"commented out", "#!/bin/sh\n# feh --bg-fill '/old.png'\n", nullptr},
                   {"no picture", "#!/bin/sh\nfeh --bg-fill\n", nullptr},
                   {"unbalanced quote", "feh --bg-fill '/w.png\n", nullptr},
                   {"another program", "#!/bin/sh\nxsetroot -solid '#123456'\n", nullptr},
                   {"junk", Junk(), nullptr},
               });
}

TEST(WallpaperSources, Nitrogen) {
    ExpectRows(ParseNitrogenConfig,
               {
                   {"one screen",
                    "[xin_-1]\nfile=/home/ann/Pictures/forest path.jpg\nmode=5\nbgcolor=#000000\n",
                    "/home/ann/Pictures/forest path.jpg", S::wsFill},
                   {"first of two monitors",
                    "[xin_0]\nfile=/left.png\nmode=1\nbgcolor=#000000\n\n"
                    "[xin_1]\nfile=/right.png\nmode=2\nbgcolor=#000000\n",
                    "/left.png", S::wsTile},
                   {"scaled", "[:0.0]\nfile=/w.png\nmode=0\n", "/w.png", S::wsStretch},
                   {"centred", "[:0.0]\nfile=/w.png\nmode=2\n", "/w.png", S::wsCenter},
                   {"zoomed", "[:0.0]\nfile=/w.png\nmode=3\n", "/w.png", S::wsFit},
                   {"mode out of range", "[xin_-1]\nfile=/w.png\nmode=99\n", "/w.png", S::wsFit},
                   {"no file", "[xin_-1]\nmode=5\nbgcolor=#000000\n", nullptr},
                   {"junk", Junk(), nullptr},
               });
}

TEST(WallpaperSources, RunningDesktopComesFirst) {
    using W = TWallpaperSource;
    const struct {
        const char* row;
        const char* desktop;
        const char* session;
        std::initializer_list<W> first;
    } rows[] = {
        {"Ubuntu", "ubuntu:GNOME", "ubuntu", {W::Gnome}},
        {"Cinnamon", "X-Cinnamon", "cinnamon", {W::Cinnamon}},
        {"MATE", "MATE", "mate", {W::Mate}},
        {"Plasma", "KDE", "plasma", {W::Kde}},
        {"Xfce", "XFCE", "xfce", {W::Xfce}},
        {"LXDE", "LXDE", "LXDE", {W::Pcmanfm}},
        {"Lubuntu", "LXQt", "Lubuntu", {W::PcmanfmQt, W::Pcmanfm}},
        {"Budgie", "Budgie:GNOME", "budgie-desktop", {W::Gnome}},
        {"session only", "", "xfce", {W::Xfce}},
        {"a bare window manager", "", "i3", {W::Feh, W::Nitrogen}},
        {"nothing known", "", "", {W::Feh, W::Nitrogen}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.row);
        const auto order =
            WallpaperSourceOrder(QString::fromUtf8(row.desktop), QString::fromUtf8(row.session));
        ASSERT_EQ(order.size(), 9u); // every source, once
        for (W source : {W::Gnome, W::Cinnamon, W::Mate, W::Kde, W::Xfce, W::Pcmanfm, W::PcmanfmQt,
                         W::Feh, W::Nitrogen})
            EXPECT_EQ(std::count(order.begin(), order.end(), source), 1);
        EXPECT_TRUE(std::equal(row.first.begin(), row.first.end(), order.begin()));
    }
}

} // namespace
} // namespace chromint
