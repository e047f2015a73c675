#include "ui/file_filter.h"

#include <vector>

namespace vistrel {

namespace {

std::vector<std::string_view> SplitBars(std::string_view text)
{
    std::vector<std::string_view> parts;
    size_t start = 0;
    while (start < text.size()) {
        const size_t bar = text.find('|', start);
        const size_t end = bar == std::string_view::npos ? text.size() : bar;
        parts.push_back(text.substr(start, end - start));
        if (bar == std::string_view::npos)
            break;
        start = bar + 1;
        if (start < text.size() && text[start] == '|') // "||" ends the list
            break;
    }
    return parts;
}

// "*.exe;*.dll" as Qt writes a pattern list: "*.exe *.dll".
std::string PatternList(std::string_view patterns)
{
    std::string list;
    size_t start = 0;
    while (start <= patterns.size()) {
        size_t end = patterns.find(';', start);
        if (end == std::string_view::npos)
            end = patterns.size();
        std::string_view one = patterns.substr(start, end - start);
        while (!one.empty() && one.front() == ' ')
            one.remove_prefix(1);
        while (!one.empty() && one.back() == ' ')
            one.remove_suffix(1);
        if (!one.empty()) {
            if (!list.empty())
                list += ' ';
            list += one;
        }
        start = end + 1;
    }
    return list;
}

} // namespace

std::string QtFileFilter(std::string_view filter)
{
    const auto parts = SplitBars(filter);
    std::string result;
    for (size_t i = 0; i + 1 < parts.size(); i += 2) {
        const std::string patterns = PatternList(parts[i + 1]);
        if (patterns.empty())
            continue;
        std::string description(parts[i]);
        const std::string own = "(" + patterns + ")";
        if (description.empty())
            description = own;
        else if (!(description.size() >= own.size() &&
                   description.compare(description.size() - own.size(), own.size(), own) == 0))
            description += " " + own;
        if (!result.empty())
            result += ";;";
        result += description;
    }
    return result;
}

} // namespace vistrel
