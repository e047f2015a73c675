#include "base/user_dirs.h"

#include <gtest/gtest.h>

using namespace vistrel;

TEST(UserDirs, ReadsTheFileAsTheConventionWritesIt)
{
    const std::string text = "# written by xdg-user-dirs-update\n"
                             "XDG_DESKTOP_DIR=\"$HOME/Desktop\"\n"
                             "XDG_PICTURES_DIR=\"$HOME/My Pictures\"\n"
                             "  XDG_VIDEOS_DIR=\"/media/films/\"\n"
                             "XDG_MUSIC_DIR=\"Music\"\n"         // relative: not allowed
                             "XDG_DOCUMENTS_DIR=\"$HOME/Docs\n" // no closing quote
                             "XDG_TEMPLATES_DIR=\"$HOME/a\"\n"
                             "XDG_TEMPLATES_DIR=\"$HOME/b \\\"q\\\"\"\n";
    EXPECT_EQ(UserDirFromText(text, "PICTURES", "/home/ann"), "/home/ann/My Pictures");
    EXPECT_EQ(UserDirFromText(text, "VIDEOS", "/home/ann"), "/media/films");
    EXPECT_EQ(UserDirFromText(text, "MUSIC", "/home/ann"), "");
    EXPECT_EQ(UserDirFromText(text, "DOCUMENTS", "/home/ann"), "");
    EXPECT_EQ(UserDirFromText(text, "TEMPLATES", "/home/ann"), "/home/ann/b \"q\""); // the last one counts
    EXPECT_EQ(UserDirFromText(text, "DOWNLOAD", "/home/ann"), "");
    EXPECT_EQ(UserDirFromText("XDG_PICTURES_DIR=\"$HOMEWARD/x\"\n", "PICTURES", "/home/ann"), "");
    EXPECT_EQ(UserDirFromText(text, "PICTURES", ""), ""); // $HOME with no home
}
