#include "settings/default_tools.h"

#include "base/desktop_entry.h"

namespace vistrel {

namespace {

ToolEntry DefaultFor(const std::string& mimeType, const char* fallbackName)
{
    if (const auto entry = DefaultApplicationFor(mimeType))
        return {entry->name, entry->exec, 1};
    return {fallbackName, "xdg-open", 1};
}

} // namespace

ToolEntry DefaultImageEditor() { return DefaultFor("image/png", "Default image viewer"); }
ToolEntry DefaultVideoPlayer() { return DefaultFor("video/x-msvideo", "Default video player"); }

} // namespace vistrel
