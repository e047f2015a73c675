#pragma once
// The programs offered when the settings hold no editor or player of their own:
// the desktop's default application for PNG pictures and for AVI videos, named
// and run as its desktop entry says; without one, the desktop's opener
// (xdg-open), named for what it does.

#include "settings/tool_entry.h"

namespace vistrel {

ToolEntry DefaultImageEditor();
ToolEntry DefaultVideoPlayer();

} // namespace vistrel
