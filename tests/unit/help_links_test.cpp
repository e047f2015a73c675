#include "base/desktop_entry.h"
#include "help/core/browser_command.h"
#include "help/core/credits_text.h"
#include "help/core/fit_to_text.h"
#include "help/core/help_pages.h"
#include "help/core/link_errors.h"

#include "temp_home.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

using namespace vistrel;
using vistrel::test::TempHome;

namespace {

using Args = std::vector<std::string>;
const std::string kUrl = "https://example.org/a b?x=1&y=\"2\"";

} // namespace

TEST(BrowserCommand, QuotedPlaceholderBecomesTheAddress)
{
    EXPECT_EQ(BrowserCommand("/opt/my browser/run \"%u\"", kUrl), (Args{"/opt/my", "browser/run", kUrl}));
    EXPECT_EQ(BrowserCommand("\"/opt/my browser/run\" \"%u\"", kUrl), (Args{"/opt/my browser/run", kUrl}));
}

TEST(BrowserCommand, BarePlaceholderBecomesTheAddressAndWhatFollowsIsDropped)
{
    EXPECT_EQ(BrowserCommand("firefox-esr %u", kUrl), (Args{"firefox-esr", kUrl}));
    EXPECT_EQ(BrowserCommand("chromium --new-window %U --incognito", kUrl), (Args{"chromium", "--new-window", kUrl}));
    EXPECT_EQ(BrowserCommand("viewer %f", kUrl), (Args{"viewer", kUrl}));
    EXPECT_EQ(BrowserCommand("viewer --files %F", kUrl), (Args{"viewer", "--files", kUrl}));
}

TEST(BrowserCommand, QuotedPlaceholderWinsOverAnEarlierBareOne)
{
    EXPECT_EQ(BrowserCommand("b %U --x \"%u\" --y", kUrl), (Args{"b", "--x", kUrl}));
}

TEST(BrowserCommand, NoPlaceholderAppendsTheAddress)
{
    EXPECT_EQ(BrowserCommand("lynx", kUrl), (Args{"lynx", kUrl}));
    EXPECT_EQ(BrowserCommand("  w3m   -o  x=1 ", kUrl), (Args{"w3m", "-o", "x=1", kUrl}));
}

TEST(BrowserCommand, OtherFieldCodesAreDroppedAndPercentKept)
{
    EXPECT_EQ(BrowserCommand("b %i --name=%c --rate=50%% %u", kUrl), (Args{"b", "--name=", "--rate=50%", kUrl}));
}

TEST(BrowserCommand, MalformedLinesAndLinesWithoutAProgram)
{
    EXPECT_TRUE(BrowserCommand("\"unterminated %u", kUrl).empty());
    EXPECT_TRUE(BrowserCommand("", kUrl).empty());
    EXPECT_TRUE(BrowserCommand("%u", kUrl).empty()); // no program
    EXPECT_TRUE(BrowserCommand("\"\" %u", kUrl).empty());
    EXPECT_TRUE(BrowserCommand("%i %u", kUrl).empty()); // nothing left but dropped codes
}

TEST(BrowserCommand, FromTheExecOfADesktopEntry)
{
    // The Exec quoting's own escapes survive the value's unescaping.
    const auto entry = ParseDesktopEntry("[Desktop Entry]\nName=B\nExec=\"a\\\\\"b\" %u\n");
    ASSERT_TRUE(entry);
    EXPECT_EQ(BrowserCommand(entry->exec, "u"), (Args{"a\"b", "u"}));
}

TEST(LinkErrors, EveryCodeHasItsText)
{
    const std::pair<int, const char*> texts[] = {
        {0, "The operating system is out\nof memory or resources."},
        {2, "The specified file was not found."},
        {3, "The specified path was not found."},
        {5, "The operating system denied\naccess to the specified file."},
        {8, "There was not enough memory to complete the operation."},
        {11, "The .EXE file is invalid\n(non-Win32 .EXE or error in .EXE image)."},
        {26, "A sharing violation occurred. "},
        {27, "The filename association is\nincomplete or invalid."},
        {28, "The DDE transaction could not\nbe completed because the request timed out."},
        {29, "The DDE transaction failed."},
        {30, "The DDE transaction could not\nbe completed because other DDE transactions\nwere being processed."},
        {31, "There is no application associated\nwith the given filename extension."},
        {32, "The specified dynamic-link library was not found."},
    };
    for (const auto& [code, text] : texts) {
        EXPECT_EQ(LinkErrorMessage(code), std::string("Unable to open hyperlink:\n\n") + text) << code;
        EXPECT_EQ(OpenErrorText(code), text) << code;
    }
}

TEST(LinkErrors, OtherCodesAreUnknown)
{
    EXPECT_EQ(OpenErrorText(99), "Unknown Error (99) occurred.");
    EXPECT_EQ(LinkErrorMessage(99), "Unable to open hyperlink:\n\nUnknown Error (99) occurred.");
    EXPECT_EQ(LinkErrorMessage(1), "Unable to open hyperlink:\n\nUnknown Error (1) occurred.");
    EXPECT_EQ(LinkErrorMessage(-7), "Unable to open hyperlink:\n\nUnknown Error (-7) occurred.");
}

TEST(FitToText, LeftCentredAndRightAligned)
{
    const TextRect r{10, 20, 210, 60}; // 200 x 40
    EXPECT_EQ(FitRectToText(r, 51, 15, TextAlign::Left, false), (TextRect{10, 20, 61, 35}));
    EXPECT_EQ(FitRectToText(r, 51, 15, TextAlign::Right, false), (TextRect{159, 20, 210, 35}));
    // (200 - 51) / 2 = 74 on each side: the odd pixel stays at the right.
    EXPECT_EQ(FitRectToText(r, 51, 15, TextAlign::Centre, false), (TextRect{84, 20, 136, 35}));
    // (40 - 15) / 2 = 12 at top and bottom.
    EXPECT_EQ(FitRectToText(r, 51, 15, TextAlign::Left, true), (TextRect{10, 32, 61, 48}));
}

TEST(FitToText, TextWiderThanTheControlGrowsIt)
{
    const TextRect r{100, 0, 140, 10}; // 40 x 10
    EXPECT_EQ(FitRectToText(r, 61, 14, TextAlign::Left, false), (TextRect{100, 0, 161, 14}));
    EXPECT_EQ(FitRectToText(r, 61, 14, TextAlign::Right, false), (TextRect{79, 0, 140, 14}));
    // Halves round toward zero: (40 - 61) / 2 = -10.
    EXPECT_EQ(FitRectToText(r, 61, 14, TextAlign::Centre, true), (TextRect{90, -2, 150, 12}));
}

TEST(HelpIndex, LinksOfTheIndexPage)
{
    const std::string html = R"(<html><body><h1>Index</h1><ul>
        <li><a href="rectangle.htm">Rectangle <b>capture</b></a></li>
        <li><A HREF="hotkeys.htm#change">Hotkeys,
            changing</A></li>
        <li><a href="https://example.org">web</a></li>
        <li><a href="../secret.htm">out</a> <a href="/etc/x.htm">abs</a> <a href="x.htm"> </a></li>
        <li><a class="k" href="options.htm?a&amp;b">Save &amp; names</a></li>
        <li><a href="unclosed.htm">never closed)";
    EXPECT_EQ(ParseHelpIndex(html), (std::vector<HelpIndexEntry>{{"Rectangle capture", "rectangle.htm"},
                                                                  {"Hotkeys, changing", "hotkeys.htm#change"},
                                                                  {"Save & names", "options.htm?a&b"}}));
    EXPECT_TRUE(ParseHelpIndex("").empty());
}

TEST(HelpIndex, FolderWithTheStartPage)
{
    TempHome home;
    const std::string empty = home.file("empty"), pages = home.file("pages");
    std::filesystem::create_directories(empty + "/welcom.htm"); // a folder, not a page
    std::filesystem::create_directories(pages);
    EXPECT_EQ(FindHelpFolder({"", empty, pages}), "");
    std::ofstream(pages + "/welcom.htm") << "<html></html>";
    EXPECT_EQ(FindHelpFolder({"", empty, home.file("missing"), pages}), pages);
}

TEST(HelpIndex, ShippedPagesHaveAnIndexIntoThemselves)
{
    const std::string folder = VISTREL_HELP_DIR;
    ASSERT_EQ(FindHelpFolder({folder}), folder);
    std::ifstream file(folder + "/index.htm");
    const std::string html((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    const auto entries = ParseHelpIndex(html);
    EXPECT_GE(entries.size(), 30u);
    for (const auto& entry : entries) {
        const std::string page = entry.href.substr(0, entry.href.find('#'));
        EXPECT_TRUE(std::filesystem::is_regular_file(folder + "/" + page)) << entry.text << " -> " << entry.href;
    }
}

TEST(Credits, TranslatorOnlyWhenNamed)
{
    const auto plain = CreditsLines("0.1", "");
    EXPECT_EQ(plain.front(), "Vistrel 0.1");
    EXPECT_EQ(std::find(plain.begin(), plain.end(), "Thanks for translation"), plain.end());
    const auto thanked = CreditsLines("0.1", "Li Wei");
    const auto at = std::find(thanked.begin(), thanked.end(), "Thanks for translation");
    ASSERT_NE(at, thanked.end());
    ASSERT_NE(at + 1, thanked.end());
    EXPECT_EQ(*(at + 1), "Li Wei");
}

TEST(Credits, ScrollWrapsOnceTheTextHasLeft)
{
    EXPECT_EQ(NextCreditsOffset(0, 1, 100, 50), 1);
    EXPECT_EQ(NextCreditsOffset(149, 1, 100, 50), 150);
    EXPECT_EQ(NextCreditsOffset(150, 1, 100, 50), 0);
    EXPECT_EQ(NextCreditsOffset(148, 3, 100, 50), 0);
}
