#pragma once
// The captured-file list's commands that hand a file to the desktop or to other
// programs: wallpaper and its restore, the browser skin value, Shell Open,
// Properties and the configured editors and players. Each acts on one file and
// tells the user when it cannot be done. User-interface thread.

#include "settings/tool_entry.h"

#include <string>

class QWidget;

namespace vistrel {

bool IsDesktopCommand(int id);

// parent owns the questions and messages.
void RunDesktopCommand(int id, const std::string& path, QWidget* parent);

// Starts tool on file, detached, with its argument vector (never a shell).
void RunOutsideTool(const ToolEntry& tool, const std::string& file, QWidget* parent);

} // namespace vistrel
