#include "base/file_moves.h"
#include "commands/menu_layout.h"
#include "file_text.h"
#include "i18n/language_texts.h"
#include "temp_home.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>

using namespace vistrel;
using vistrel::test::ReadText;
using vistrel::test::WriteText;

TEST(FileMoves, MoveNeverReplaces)
{
    test::TempHome home;
    const std::string b = home.file("b.bmp"), c = home.file("c.bmp");
    WriteText(b, "second");
    WriteText(c, "first");
    EXPECT_EQ(MoveWithoutReplacing(c, b), EEXIST);
    EXPECT_EQ(ReadText(c), "first");
    EXPECT_EQ(ReadText(b), "second");
    std::filesystem::create_directory(home.file("sub"));
    EXPECT_EQ(MoveWithoutReplacing(c, home.file("sub/c.bmp")), 0);
    EXPECT_FALSE(std::filesystem::exists(c));
    EXPECT_EQ(ReadText(home.file("sub/c.bmp")), "first");
    EXPECT_EQ(MoveWithoutReplacing(home.file("gone.bmp"), home.file("x.bmp")), ENOENT);
}

TEST(FileMoves, CopyReplacesButNotItself)
{
    test::TempHome home;
    const std::string a = home.file("a.bmp"), b = home.file("b.bmp");
    WriteText(a, "new content");
    WriteText(b, "old");
    EXPECT_EQ(CopyReplacing(a, b), 0);
    EXPECT_EQ(ReadText(b), "new content");
    EXPECT_EQ(ReadText(a), "new content");
    EXPECT_EQ(CopyReplacing(a, a), EINVAL);
    EXPECT_EQ(ReadText(a), "new content");
    EXPECT_NE(CopyReplacing(home.file("gone"), b), 0);
    EXPECT_EQ(ReadText(b), "new content");
}

// Every text of the list's context menus has its key in the language files'
// section of that menu, and every key there is shown.
TEST(ListMenus, TextsAreTheLanguageKeysOfTheirKind)
{
    for (int kind = 0; kind < 3; ++kind) {
        std::vector<std::string_view> texts;
        auto collect = [&](auto& self, std::span<const ContextMenuEntry> entries) -> void {
            for (const ContextMenuEntry& entry : entries) {
                if (entry.id == 0)
                    continue;
                texts.push_back(entry.text);
                self(self, entry.submenu);
            }
        };
        collect(collect, ListContextMenuLayout(kind));
        std::vector<std::string_view> keys(ListMenuKeys(kind).begin(), ListMenuKeys(kind).end());
        std::sort(texts.begin(), texts.end());
        std::sort(keys.begin(), keys.end());
        EXPECT_EQ(texts, keys) << "kind " << kind;
    }
    const auto saveAs = [](int kind) {
        const auto menu = ListContextMenuLayout(kind);
        return std::any_of(menu.begin(), menu.end(), [](const ContextMenuEntry& e) { return e.text == "Save As..."; });
    };
    EXPECT_TRUE(saveAs(1));
    EXPECT_FALSE(saveAs(0));
    EXPECT_FALSE(saveAs(2));
}
