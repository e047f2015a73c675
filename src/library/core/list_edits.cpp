#include "library/core/list_edits.h"

#include "base/path_names.h"
#include "library/core/list_texts.h"

#include <algorithm>

namespace vistrel {

std::vector<size_t> DeleteEntries(std::vector<std::string>& entries, std::span<const size_t> selected,
                                  bool confirmed, const RemoveFileFunction& removeFile)
{
    if (!confirmed)
        return {};
    std::vector<size_t> chosen;
    for (size_t index : selected)
        if (index < entries.size())
            chosen.push_back(index);
    std::sort(chosen.begin(), chosen.end());
    chosen.erase(std::unique(chosen.begin(), chosen.end()), chosen.end());

    std::vector<size_t> removed;
    for (size_t index : chosen)
        if (removeFile(entries[index]))
            removed.push_back(index);
    EraseAtIndices(entries, std::span<const size_t>(removed));
    return removed;
}

std::string_view TrimmedLabel(std::string_view edited)
{
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!edited.empty() && blank(edited.front()))
        edited.remove_prefix(1);
    while (!edited.empty() && blank(edited.back()))
        edited.remove_suffix(1);
    return edited;
}

RenameResult RenameEntry(std::vector<std::string>& entries, size_t index, std::string_view edited,
                         const RenameFileFunction& renameFile)
{
    if (index >= entries.size())
        return {};
    const std::string& oldPath = entries[index];
    const std::string_view name = TrimmedLabel(edited);
    if (name.empty() || name == FileNameOfPath(oldPath))
        return {};
    if (name.find_first_of(std::string_view("/\0", 2)) != std::string_view::npos || name == "." || name == "..")
        return {RenameStatus::BadName, {}, 0};
    const std::string newPath = oldPath.substr(0, oldPath.size() - FileNameOfPath(oldPath).size()) + std::string(name);
    if (const int error = renameFile(oldPath, newPath); error != 0)
        return {RenameStatus::Failed, newPath, error};
    entries[index] = newPath;
    return {RenameStatus::Renamed, newPath, 0};
}

} // namespace vistrel
