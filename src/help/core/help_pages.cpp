#include "help/core/help_pages.h"

#include "base/program_folder.h"

#include <sys/stat.h>

namespace vistrel {

std::string FindHelpFolder(const std::vector<std::string>& folders)
{
    for (const auto& folder : folders) {
        struct stat st {};
        const std::string page = folder + "/" + std::string(kHelpStartPage);
        if (!folder.empty() && stat(page.c_str(), &st) == 0 && S_ISREG(st.st_mode))
            return folder;
    }
    return {};
}

std::vector<std::string> HelpSearchFolders() { return ShippedDataFolders("help", "data/help"); }

namespace {

char Lower(char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; }

// Where `what` (lower case) starts in `text` at or after `from`, ignoring case.
size_t FindNoCase(std::string_view text, std::string_view what, size_t from)
{
    for (size_t i = from; i + what.size() <= text.size(); ++i) {
        size_t k = 0;
        while (k < what.size() && Lower(text[i + k]) == what[k])
            ++k;
        if (k == what.size())
            return i;
    }
    return std::string_view::npos;
}

std::string DecodeEntities(std::string_view text)
{
    constexpr std::pair<std::string_view, char> kEntities[] = {
        {"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&quot;", '"'}, {"&#39;", '\''}, {"&nbsp;", ' '}};
    std::string out;
    for (size_t i = 0; i < text.size();) {
        bool replaced = false;
        for (const auto& [entity, c] : kEntities)
            if (text.substr(i, entity.size()) == entity) {
                out += c;
                i += entity.size();
                replaced = true;
                break;
            }
        if (!replaced)
            out += text[i++];
    }
    return out;
}

// The text between tags, white space runs made one blank, trimmed.
std::string PlainText(std::string_view html)
{
    std::string text;
    bool inTag = false;
    for (char c : html) {
        if (c == '<')
            inTag = true;
        else if (c == '>')
            inTag = false;
        else if (!inTag)
            text += (c == '\n' || c == '\r' || c == '\t') ? ' ' : c;
    }
    std::string squeezed;
    for (char c : DecodeEntities(text))
        if (c != ' ' || (!squeezed.empty() && squeezed.back() != ' '))
            squeezed += c;
    while (!squeezed.empty() && squeezed.back() == ' ')
        squeezed.pop_back();
    return squeezed;
}

bool StaysInHelp(std::string_view href)
{
    if (href.empty() || href.front() == '/' || href.find("..") != std::string_view::npos)
        return false;
    const size_t colon = href.find(':');
    return colon == std::string_view::npos || href.find_first_of("/#") < colon;
}

// The value of href="..." in an <a ...> tag's attributes.
std::string HrefOf(std::string_view tag)
{
    const size_t at = FindNoCase(tag, "href=\"", 0);
    if (at == std::string_view::npos)
        return {};
    const size_t start = at + 6;
    const size_t end = tag.find('"', start);
    return end == std::string_view::npos ? std::string() : DecodeEntities(tag.substr(start, end - start));
}

} // namespace

std::vector<HelpIndexEntry> ParseHelpIndex(std::string_view html)
{
    std::vector<HelpIndexEntry> entries;
    size_t pos = 0;
    while ((pos = FindNoCase(html, "<a ", pos)) != std::string_view::npos) {
        const size_t tagEnd = html.find('>', pos);
        if (tagEnd == std::string_view::npos)
            break;
        const size_t close = FindNoCase(html, "</a>", tagEnd);
        if (close == std::string_view::npos)
            break;
        HelpIndexEntry entry{PlainText(html.substr(tagEnd + 1, close - tagEnd - 1)),
                             HrefOf(html.substr(pos, tagEnd - pos))};
        if (!entry.text.empty() && StaysInHelp(entry.href))
            entries.push_back(std::move(entry));
        pos = close + 4;
    }
    return entries;
}

} // namespace vistrel
