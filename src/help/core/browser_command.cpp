#include "help/core/browser_command.h"

#include "base/desktop_entry.h"

namespace vistrel {

std::vector<std::string> BrowserCommand(std::string_view exec, const std::string& url)
{
    const auto words = SplitExecLine(exec);
    if (!words)
        return {};
    auto command = FillExecPlaceholder(*words, url);
    // Only the address left: the line named no program.
    if (command.size() < 2 || command.front().empty())
        return {};
    return command;
}

} // namespace vistrel
