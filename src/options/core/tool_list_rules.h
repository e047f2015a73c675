#pragma once
// The tool pages' list rules, on the rows as the settings keep them. The rest
// of the program opens a file with the first row marked default, so the list
// keeps exactly one mark while it has rows.

#include "settings/tool_entry.h"

#include <string>
#include <string_view>
#include <vector>

namespace vistrel {

// The row at index becomes the one default; an index out of range changes nothing.
void MarkDefaultTool(std::vector<ToolEntry>& rows, size_t index);

// Removes the row at index. When it carried the default mark, the first row
// left takes it over; the other marks stay as they are.
void DeleteTool(std::vector<ToolEntry>& rows, size_t index);

// A new row for the program at path, unless a row already runs it (paths
// compared without regard to letter case). Returns whether a row was added.
bool AddTool(std::vector<ToolEntry>& rows, const std::string& path);

// The row's name after in-place editing: the text trimmed; the old name when
// nothing is left.
std::string EditedToolName(std::string_view typed, const std::string& oldName);

// The name a program is listed under: its file name up to the last '.'.
std::string ToolNameFromPath(std::string_view path);

// The folder of a row's command, where the file picker starts ("" when none).
std::string ToolFolder(std::string_view command);

// Edit, Default and Delete are offered only while the list has a choice to make.
bool ToolButtonsEnabled(size_t rowCount, bool rowSelected);

} // namespace vistrel
