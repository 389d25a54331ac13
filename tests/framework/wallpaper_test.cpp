#include "framework/wallpaper.h"

#include "tests/helpers/temp_folder.h"

#include <gtest/gtest.h>

namespace {

using framework::chooseWallpaper;
using framework::WallpaperRole;
using testing_support::TempFolder;

constexpr const char* kIni = ".\\TARVO.INI";

framework::WallpaperDefaults pictures(bool on) {
    framework::WallpaperDefaults d;
    d.patternOn = on;
    d.tabl1 = ".\\pic\\Tabl1.bmp";
    d.tabl2 = ".\\pic\\Tabl2.bmp";
    d.tablSel = ".\\pic\\TablSel.bmp";
    d.form1 = ".\\pic\\Form1.bmp";
    d.form2 = ".\\pic\\Form2.bmp";
    d.formDel = ".\\pic\\FormDel.bmp";
    return d;
}

TEST(Wallpaper, PicturesOffIgnoreTheStoredKey) {
    TempFolder folder;
    folder.write("TARVO.INI", "[Price_t]\r\nWallPaper=.\\pic\\Own.bmp\r\n");
    for (WallpaperRole role : {WallpaperRole::List, WallpaperRole::ListTabl2, WallpaperRole::Select,
                               WallpaperRole::Form, WallpaperRole::FormForm2, WallpaperRole::Delete}) {
        EXPECT_EQ(chooseWallpaper(pictures(false), kIni, "Price_t", role), std::nullopt);
    }
    EXPECT_FALSE(framework::deleteFormIsReadOnly(pictures(false), 3));
    EXPECT_TRUE(framework::deleteFormIsReadOnly(pictures(true), 3));
    EXPECT_FALSE(framework::deleteFormIsReadOnly(pictures(true), 2));
}

TEST(Wallpaper, MissingOrEmptyKeyGivesTheDefaultOfTheRole) {
    TempFolder folder;
    folder.write("TARVO.INI", "[Price_u]\r\nWallPaper=\r\n");
    const auto d = pictures(true);
    EXPECT_EQ(chooseWallpaper(d, kIni, "Price_t", WallpaperRole::List), ".\\pic\\Tabl1.bmp");
    EXPECT_EQ(chooseWallpaper(d, kIni, "KursValut_t", WallpaperRole::ListTabl2), ".\\pic\\Tabl2.bmp");
    EXPECT_EQ(chooseWallpaper(d, kIni, "Price_t", WallpaperRole::Select), ".\\pic\\TablSel.bmp");
    EXPECT_EQ(chooseWallpaper(d, kIni, "Price_u", WallpaperRole::Form), ".\\pic\\Form1.bmp");
    EXPECT_EQ(chooseWallpaper(d, kIni, "MolLOG_u", WallpaperRole::FormForm2), ".\\pic\\Form2.bmp");
    EXPECT_EQ(chooseWallpaper(d, kIni, "Price_u", WallpaperRole::Delete), ".\\pic\\FormDel.bmp");

    // With no default picture named there is nothing to show.
    auto none = d;
    none.tabl1 = "   ";
    EXPECT_EQ(chooseWallpaper(none, kIni, "Price_t", WallpaperRole::List), std::nullopt);
}

TEST(Wallpaper, SectionKeyOverridesTheDefaultExceptForDelete) {
    TempFolder folder;
    folder.write("TARVO.INI", "[price_T]\r\nwallpaper=.\\pic\\Own.bmp\r\n"
                              "[Price_u]\r\nWallPaper=.\\pic\\Blue.bmp   \r\n");
    const auto d = pictures(true);
    EXPECT_EQ(chooseWallpaper(d, kIni, "Price_t", WallpaperRole::List), ".\\pic\\Own.bmp");
    EXPECT_EQ(chooseWallpaper(d, kIni, "Price_t", WallpaperRole::Select), ".\\pic\\Own.bmp");
    EXPECT_EQ(chooseWallpaper(d, kIni, "Price_u", WallpaperRole::Form), ".\\pic\\Blue.bmp");
    // A delete form takes its picture directly.
    EXPECT_EQ(chooseWallpaper(d, kIni, "Price_u", WallpaperRole::Delete), ".\\pic\\FormDel.bmp");
    // Another deliverable's file is not consulted.
    EXPECT_EQ(chooseWallpaper(d, ".\\Dostup.INI", "Price_t", WallpaperRole::List),
              ".\\pic\\Tabl1.bmp");
}

TEST(Wallpaper, RolesFollowTheRequest) {
    EXPECT_EQ(framework::listWallpaperRole(false), WallpaperRole::List);
    EXPECT_EQ(framework::listWallpaperRole(false, true), WallpaperRole::ListTabl2);
    EXPECT_EQ(framework::listWallpaperRole(true, true), WallpaperRole::Select);
    EXPECT_EQ(framework::formWallpaperRole(1), WallpaperRole::Form);
    EXPECT_EQ(framework::formWallpaperRole(2, true), WallpaperRole::FormForm2);
    EXPECT_EQ(framework::formWallpaperRole(3, true), WallpaperRole::Delete);
    EXPECT_EQ(framework::formWallpaperRole(4), WallpaperRole::Select);
}

}  // namespace
