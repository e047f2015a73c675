#include "options/core/tool_list_rules.h"

#include "settings/folders.h"

#include <algorithm>
#include <cctype>

namespace vistrel {

namespace {

bool SameIgnoringCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

} // namespace

void MarkDefaultTool(std::vector<ToolEntry>& rows, size_t index)
{
    if (index >= rows.size())
        return;
    for (size_t i = 0; i < rows.size(); ++i)
        rows[i].isDefault = i == index ? 1 : 0;
}

void DeleteTool(std::vector<ToolEntry>& rows, size_t index)
{
    if (index >= rows.size())
        return;
    const bool wasDefault = rows[index].isDefault != 0;
    rows.erase(rows.begin() + std::ptrdiff_t(index));
    if (wasDefault && !rows.empty())
        MarkDefaultTool(rows, 0);
}

bool AddTool(std::vector<ToolEntry>& rows, const std::string& path)
{
    if (path.empty())
        return false;
    for (const ToolEntry& row : rows)
        if (SameIgnoringCase(row.command, path))
            return false;
    rows.push_back({ToolNameFromPath(path), path, 0});
    return true;
}

std::string EditedToolName(std::string_view typed, const std::string& oldName)
{
    std::string name = TrimBlanks(typed);
    return name.empty() ? oldName : name;
}

std::string ToolNameFromPath(std::string_view path)
{
    const size_t slash = path.rfind('/');
    std::string_view file = slash == std::string_view::npos ? path : path.substr(slash + 1);
    const size_t dot = file.rfind('.');
    return std::string(dot == std::string_view::npos || dot == 0 ? file : file.substr(0, dot));
}

std::string ToolFolder(std::string_view command)
{
    const size_t slash = command.rfind('/');
    return slash == std::string_view::npos ? std::string() : std::string(command.substr(0, slash));
}

bool ToolButtonsEnabled(size_t rowCount, bool rowSelected) { return rowCount >= 2 && rowSelected; }

} // namespace vistrel
