#pragma once
// The help pages: which folder holds them, the page each help command opens,
// and the entries of the index page. Plain data; FindHelpFolder reads the disk.

#include <string>
#include <string_view>
#include <vector>

namespace vistrel {

inline constexpr std::string_view kHelpStartPage = "welcom.htm";
inline constexpr std::string_view kHelpIndexPage = "index.htm";

// The first of the folders that holds the start page; empty when none does.
std::string FindHelpFolder(const std::vector<std::string>& folders);

// The shipped help folders, first one first (see ShippedDataFolders).
std::vector<std::string> HelpSearchFolders();

struct HelpIndexEntry {
    std::string text; // the link's text, tags left out, entities decoded
    std::string href; // a page of the help, maybe with "#anchor"
    bool operator==(const HelpIndexEntry&) const = default;
};

// The links of an index page, in order: <a href="page.htm#anchor">keyword</a>.
// Links that leave the help (with a scheme such as "https:", or an absolute
// path or "..") and links without text are left out.
std::vector<HelpIndexEntry> ParseHelpIndex(std::string_view html);

} // namespace vistrel
