#include "library/core/list_edits.h"

#include <algorithm>
#include <functional>

namespace vistrel {

std::string_view FileNameOf(std::string_view path)
{
    const size_t slash = path.rfind('/');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

void RemoveEntries(std::vector<std::string>& list, std::vector<size_t> indices)
{
    std::sort(indices.begin(), indices.end(), std::greater<>());
    indices.erase(std::unique(indices.begin(), indices.end()), indices.end());
    for (size_t index : indices)
        if (index < list.size())
            list.erase(list.begin() + std::ptrdiff_t(index));
}

std::optional<std::string> RenameTarget(std::string_view oldPath, std::string_view edited)
{
    constexpr std::string_view kBlanks = " \t\r\n";
    const size_t first = edited.find_first_not_of(kBlanks);
    std::string_view name = first == std::string_view::npos
                                ? std::string_view()
                                : edited.substr(first, edited.find_last_not_of(kBlanks) - first + 1);
    if (name.empty())
        name = FileNameOf(oldPath);
    if (name.find('/') != std::string_view::npos || name == "." || name == "..")
        return std::nullopt;
    std::string target(oldPath.substr(0, oldPath.size() - FileNameOf(oldPath).size()));
    target += name;
    if (target == oldPath)
        return std::nullopt;
    return target;
}

} // namespace vistrel
