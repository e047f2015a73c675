#include "base/registry_store.h"
#include "temp_home.h"

#include <gtest/gtest.h>

#include <fstream>

using namespace vistrel;
using vistrel::test::TempHome;

namespace {
const std::string kBars = "Software\\Tessaro Works\\Vistrel\\bars info";
const std::string kDesktop = "Control Panel\\Desktop";
} // namespace

TEST(RegistryStore, ValuesSurviveSaveAndReloadWithTheirTypes)
{
    TempHome home;
    {
        RegistryStore store(RegistryStore::DefaultPath());
        store.SetBinary(kBars, "State", {0x00, 0xff, 0x10});
        store.SetString(kDesktop, "Wallpaper", "/pics/a b.bmp\nsecond=line\\");
        store.SetDword(kDesktop, "TileWallpaper", 1);
        store.SetString(kDesktop, "TileWallpaper", "0"); // a value keeps one type: the last set
        ASSERT_TRUE(store.Save());
    }
    RegistryStore store(home.file("registry.ini"));
    EXPECT_EQ(store.GetBinary(kBars, "state"), (std::vector<uint8_t>{0x00, 0xff, 0x10}));
    EXPECT_EQ(store.GetString("control panel\\DESKTOP", "Wallpaper"), "/pics/a b.bmp\nsecond=line\\");
    EXPECT_EQ(store.GetString(kDesktop, "TileWallpaper"), "0");
    EXPECT_FALSE(store.GetDword(kDesktop, "TileWallpaper")); // wrong type
    EXPECT_FALSE(store.GetString(kDesktop, "Missing"));

    EXPECT_TRUE(store.DeleteValue(kDesktop, "wallpaper"));
    EXPECT_FALSE(store.GetString(kDesktop, "Wallpaper"));
    EXPECT_TRUE(store.DeleteKey(kBars));
    EXPECT_FALSE(store.GetBinary(kBars, "State"));
}

TEST(RegistryStore, DamagedLinesAreSkipped)
{
    TempHome home;
    std::ofstream(home.file("registry.ini")) << "orphan=sz:x\n[K]\nnoequals\n=sz:noname\nbad=what\n"
                                                "n=dword:12x\nh=hex:abc\nok=dword:7\r\n";
    RegistryStore store(home.file("registry.ini"));
    EXPECT_EQ(store.GetDword("K", "ok"), 7u);
    EXPECT_FALSE(store.GetDword("K", "n"));
    EXPECT_FALSE(store.GetBinary("K", "h"));
    EXPECT_FALSE(store.GetString("K", "bad"));
    RegistryStore missing(home.file("none.ini"));
    EXPECT_FALSE(missing.GetString("K", "ok"));
}
