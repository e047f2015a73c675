#pragma once
// The capture list's edits by the file commands: removing the entries of the
// deleted files and the path a rename leads to. Plain data, any thread.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vistrel {

// The part of a path after its last '/'.
std::string_view FileNameOf(std::string_view path);

// Removes the entries at indices (any order, repeats and indices past the end
// ignored); the others keep their order.
void RemoveEntries(std::vector<std::string>& list, std::vector<size_t> indices);

// The new path of a rename of oldPath to the edited label: blanks trimmed at
// both ends, an empty name keeps the present one. nullopt when there is
// nothing to rename (the same path) or the name is not one file name in the
// same folder ("/" in it, "." or "..").
std::optional<std::string> RenameTarget(std::string_view oldPath, std::string_view edited);

} // namespace vistrel
