#pragma once

#include <string>
#include <string_view>

namespace vistrel {

// Makes sure a folder exists: nothing when it does; otherwise (nothing there, or
// a file of that name) CreateFolderPath, whose failure is ignored.
void EnsureFolder(const std::string& path);

// Creates every level of a folder path ('/'-separated), blanks at both ends
// removed. An empty component ends the walk, so "a//b" stops after "a" (a leading
// '/' is the root, not an empty component). Relative paths are relative to the
// current folder, which is not changed. Failures of single levels are ignored.
void CreateFolderPath(const std::string& path);

bool IsFolder(const std::string& path);

// The text without white space at either end.
std::string TrimBlanks(std::string_view text);

} // namespace vistrel
