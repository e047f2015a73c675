#include "base/registry_store.h"
#include "desktop/core/desktop_settings.h"
#include "desktop/core/wallpaper_layout.h"
#include "desktop/core/wallpaper_values.h"
#include "file_text.h"
#include "temp_home.h"

#include <gtest/gtest.h>

using namespace vistrel;

namespace {

constexpr uint32_t kFill = 0xFF000000u;

// Each pixel names its place: 0xFF00XXYY.
Bitmap Numbered(int w, int h)
{
    Bitmap b(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            b.at(x, y) = 0xFF000000u | uint32_t(x + 1) << 8 | uint32_t(y + 1);
    return b;
}

} // namespace

TEST(WallpaperLayout, CenterPutsASmallPictureInTheMiddleWithTheOddPixelRightAndBelow)
{
    const Bitmap picture = Numbered(3, 2);
    const Bitmap screen = ComposeWallpaper(picture, 8, 5, WallpaperStyle::Center, kFill);
    ASSERT_EQ(screen.width, 8);
    ASSERT_EQ(screen.height, 5);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 8; ++x) {
            const bool inside = x >= 2 && x < 5 && y >= 1 && y < 3;
            EXPECT_EQ(screen.at(x, y), inside ? picture.at(x - 2, y - 1) : kFill) << x << "," << y;
        }
}

TEST(WallpaperLayout, CenterCutsALargePictureAroundItsMiddle)
{
    const Bitmap picture = Numbered(6, 7);
    const Bitmap screen = ComposeWallpaper(picture, 3, 3, WallpaperStyle::Center, kFill);
    // Leftover -3 and -4: two columns and two rows cut before, one column and two rows after.
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 3; ++x)
            EXPECT_EQ(screen.at(x, y), picture.at(x + 2, y + 2)) << x << "," << y;
}

TEST(WallpaperLayout, TileRepeatsFromTheTopLeftAndCutsAtTheEdges)
{
    const Bitmap picture = Numbered(3, 2);
    const Bitmap screen = ComposeWallpaper(picture, 7, 5, WallpaperStyle::Tile, kFill);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 7; ++x)
            EXPECT_EQ(screen.at(x, y), picture.at(x % 3, y % 2)) << x << "," << y;
}

TEST(WallpaperLayout, TileOfALargePictureShowsItsTopLeft)
{
    const Bitmap picture = Numbered(5, 5);
    const Bitmap screen = ComposeWallpaper(picture, 2, 3, WallpaperStyle::Tile, kFill);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 2; ++x)
            EXPECT_EQ(screen.at(x, y), picture.at(x, y));
}

TEST(WallpaperLayout, StretchScalesUpByWholeBlocks)
{
    const Bitmap picture = Numbered(2, 2);
    const Bitmap screen = ComposeWallpaper(picture, 4, 6, WallpaperStyle::Stretch, kFill);
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(screen.at(x, y), picture.at(x / 2, y / 3)) << x << "," << y;
}

TEST(WallpaperLayout, StretchDownTakesThePixelUnderEachCentre)
{
    const Bitmap picture = Numbered(3, 4);
    const Bitmap screen = ComposeWallpaper(picture, 2, 2, WallpaperStyle::Stretch, kFill);
    // Columns: (2i+1)*3/4 -> 0, 2; rows: (2i+1)*4/4 -> 1, 3.
    EXPECT_EQ(screen.at(0, 0), picture.at(0, 1));
    EXPECT_EQ(screen.at(1, 0), picture.at(2, 1));
    EXPECT_EQ(screen.at(0, 1), picture.at(0, 3));
    EXPECT_EQ(screen.at(1, 1), picture.at(2, 3));
}

TEST(WallpaperLayout, StretchToTheSameSizeChangesNothing)
{
    const Bitmap picture = Numbered(5, 3);
    EXPECT_EQ(ComposeWallpaper(picture, 5, 3, WallpaperStyle::Stretch, kFill).pixels, picture.pixels);
}

TEST(WallpaperLayout, NoPictureOrNoScreenGivesNothing)
{
    EXPECT_TRUE(ComposeWallpaper(Bitmap(), 4, 4, WallpaperStyle::Center, kFill).empty());
    EXPECT_TRUE(ComposeWallpaper(Numbered(2, 2), 0, 4, WallpaperStyle::Tile, kFill).empty());
    Bitmap torn = Numbered(4, 4);
    torn.pixels.resize(3);
    EXPECT_TRUE(ComposeWallpaper(torn, 4, 4, WallpaperStyle::Stretch, kFill).empty());
}

TEST(WallpaperLayout, StyleWords)
{
    EXPECT_EQ(ParseWallpaperStyle("center"), WallpaperStyle::Center);
    EXPECT_EQ(ParseWallpaperStyle("centre"), WallpaperStyle::Center);
    EXPECT_EQ(ParseWallpaperStyle("tile"), WallpaperStyle::Tile);
    EXPECT_EQ(ParseWallpaperStyle("stretch"), WallpaperStyle::Stretch);
    EXPECT_FALSE(ParseWallpaperStyle("Tile"));
    EXPECT_FALSE(ParseWallpaperStyle(""));
}

TEST(DesktopSettings, TheRunningDesktopIsFoundInItsList)
{
    EXPECT_EQ(DetectDesktop("ubuntu:GNOME", ""), DesktopKind::Gnome);
    EXPECT_EQ(DetectDesktop("X-Cinnamon", ""), DesktopKind::Cinnamon);
    EXPECT_EQ(DetectDesktop("MATE", "gnome"), DesktopKind::Mate);
    EXPECT_EQ(DetectDesktop("XFCE", ""), DesktopKind::Xfce);
    EXPECT_EQ(DetectDesktop("", "xfce"), DesktopKind::Xfce);
    EXPECT_EQ(DetectDesktop("KDE", ""), DesktopKind::None);
    EXPECT_EQ(DetectDesktop("", ""), DesktopKind::None);
    for (DesktopKind kind : {DesktopKind::Gnome, DesktopKind::Cinnamon, DesktopKind::Mate, DesktopKind::Xfce})
        EXPECT_EQ(DesktopFromName(DesktopName(kind)), kind);
    EXPECT_EQ(DesktopFromName("root"), DesktopKind::None);
}

TEST(DesktopSettings, PlasmaHidesTheRootWindow)
{
    EXPECT_TRUE(DesktopHidesTheRoot("KDE", ""));
    EXPECT_TRUE(DesktopHidesTheRoot("", "plasma"));
    EXPECT_FALSE(DesktopHidesTheRoot("GNOME", "plasma")); // the list wins over the session
    EXPECT_FALSE(DesktopHidesTheRoot("", ""));
    EXPECT_FALSE(DesktopHidesTheRoot("openbox", ""));
}

TEST(DesktopSettings, GnomeSetsBothPicturesAndTheOptions)
{
    const auto settings = WallpaperSettings(DesktopKind::Gnome);
    ASSERT_EQ(settings.size(), 3u);
    EXPECT_EQ(settings[0].readArgv,
              (std::vector<std::string> {"gsettings", "get", "org.gnome.desktop.background", "picture-uri"}));
    EXPECT_EQ(settings[1].writeArgv,
              (std::vector<std::string> {"gsettings", "set", "org.gnome.desktop.background", "picture-uri-dark"}));
    EXPECT_EQ(settings[2].role, SettingRole::Style);
    EXPECT_EQ(SettingValue(DesktopKind::Gnome, SettingRole::Picture, "/tmp/a b's.png", WallpaperStyle::Tile),
              "'file:///tmp/a%20b\\'s.png'");
    EXPECT_EQ(SettingValue(DesktopKind::Gnome, SettingRole::Style, "", WallpaperStyle::Center), "'centered'");
    EXPECT_EQ(SettingValue(DesktopKind::Cinnamon, SettingRole::Style, "", WallpaperStyle::Tile), "'wallpaper'");
    EXPECT_EQ(SettingValue(DesktopKind::Mate, SettingRole::Style, "", WallpaperStyle::Stretch), "'stretched'");
}

TEST(DesktopSettings, MateTakesAPathQuotedForGsettings)
{
    const auto settings = WallpaperSettings(DesktopKind::Mate);
    ASSERT_EQ(settings.size(), 2u);
    EXPECT_EQ(settings[0].id, "org.mate.background picture-filename");
    EXPECT_EQ(SettingValue(DesktopKind::Mate, SettingRole::Picture, "/tmp/it's\\x.png", WallpaperStyle::Center),
              "'/tmp/it\\'s\\\\x.png'");
}

TEST(DesktopSettings, XfceSetsEveryMonitorsBackdropFromTheList)
{
    const std::string list = "/backdrop/screen0/monitor0/workspace0/color-style\n"
                             "/backdrop/screen0/monitor0/workspace0/image-style\n"
                             "/backdrop/screen0/monitor0/workspace0/last-image\n"
                             "/backdrop/screen0/monitorHDMI-1/workspace0/last-image\n"
                             "/desktop-icons/style\n";
    const auto settings = WallpaperSettings(DesktopKind::Xfce, list);
    ASSERT_EQ(settings.size(), 3u);
    EXPECT_EQ(settings[0].role, SettingRole::Style);
    EXPECT_EQ(settings[2].writeArgv, (std::vector<std::string> {"xfconf-query", "-c", "xfce4-desktop", "-p",
                                                                "/backdrop/screen0/monitorHDMI-1/workspace0/last-image",
                                                                "-s"}));
    EXPECT_EQ(SettingValue(DesktopKind::Xfce, SettingRole::Picture, "/a b.png", WallpaperStyle::Center), "/a b.png");
    EXPECT_EQ(SettingValue(DesktopKind::Xfce, SettingRole::Style, "", WallpaperStyle::Center), "1");
    EXPECT_EQ(SettingValue(DesktopKind::Xfce, SettingRole::Style, "", WallpaperStyle::Tile), "2");
    EXPECT_EQ(SettingValue(DesktopKind::Xfce, SettingRole::Style, "", WallpaperStyle::Stretch), "3");
    EXPECT_TRUE(WallpaperSettings(DesktopKind::Xfce, "").empty());
    EXPECT_TRUE(WallpaperSettings(DesktopKind::None).empty());
}

TEST(DesktopSettings, AValueReadIsWrittenBackWithoutItsLineBreak)
{
    EXPECT_EQ(ValueToWriteBack("'file:///usr/share/a.jpg'\n"), "'file:///usr/share/a.jpg'");
    EXPECT_EQ(ValueToWriteBack("3\r\n"), "3");
    EXPECT_EQ(ValueToWriteBack(""), "");
}

TEST(WallpaperValues, EachStyleWritesItsTwoValuesInItsOrder)
{
    test::TempHome home;
    const struct {
        WallpaperStyle style;
        const char* wallpaperStyle;
        const char* tile;
        bool tileFirst;
    } cases[] = {{WallpaperStyle::Center, "0", "0", false},
                 {WallpaperStyle::Tile, "1", "1", true},
                 {WallpaperStyle::Stretch, "2", "0", true}};
    for (const auto& c : cases) {
        const std::string path = home.file("registry.ini");
        std::remove(path.c_str());
        RegistryStore store(path);
        WriteWallpaperStyleValues(store, c.style);
        EXPECT_EQ(store.GetString(kDesktopKey, "WallpaperStyle"), c.wallpaperStyle);
        EXPECT_EQ(store.GetString(kDesktopKey, "TileWallpaper"), c.tile);
        ASSERT_TRUE(store.Save());
        const std::string text = test::ReadText(path);
        EXPECT_EQ(text.find("TileWallpaper") < text.find("WallpaperStyle"), c.tileFirst) << text;
    }
}

TEST(WallpaperValues, TheRememberedWallpaperLastsUntilForgotten)
{
    test::TempHome home;
    const std::string path = home.file("registry.ini");
    {
        RegistryStore store(path);
        EXPECT_FALSE(RememberedWallpaperPlace(store));
        RememberWallpaperPlace(store, "gnome");
        RememberValue(store, "org.gnome.desktop.background picture-uri", "'file:///old.jpg'");
        WriteBrowserSkin(store, "/pics/a b.png");
        ASSERT_TRUE(store.Save());
    }
    RegistryStore store(path);
    EXPECT_EQ(RememberedWallpaperPlace(store), "gnome");
    EXPECT_EQ(RememberedValue(store, "org.gnome.desktop.background picture-uri"), "'file:///old.jpg'");
    EXPECT_EQ(store.GetString(kToolbarKey, "BackBitmap"), "/pics/a b.png");
    WriteWallpaperStyleValues(store, WallpaperStyle::Tile);
    ForgetWallpaper(store);
    EXPECT_FALSE(RememberedWallpaperPlace(store));
    EXPECT_FALSE(RememberedValue(store, "org.gnome.desktop.background picture-uri"));
    EXPECT_EQ(store.GetString(kDesktopKey, "TileWallpaper"), "1"); // the style values stay
    EXPECT_EQ(store.GetString(kToolbarKey, "BackBitmap"), "/pics/a b.png");
    WriteBrowserSkin(store, "");
    EXPECT_EQ(store.GetString(kToolbarKey, "BackBitmap"), "");
}
