#include "record/core/run_priority.h"

#include "base/thread_priority.h"

#include <algorithm>

namespace vistrel {

RunPriority RunPriorityFromIndex(int index)
{
    if (index < int(RunPriority::Highest) || index > int(RunPriority::Lowest))
        return RunPriority::Normal;
    return RunPriority(index);
}

std::optional<int> RecordingNice(RunPriority priority, int baseNice)
{
    int step = 0;
    switch (priority) {
    case RunPriority::Highest: step = -10; break;
    case RunPriority::Higher: step = -5; break;
    case RunPriority::High: step = -2; break;
    case RunPriority::Normal: return std::nullopt;
    case RunPriority::Low: step = 5; break;
    case RunPriority::Lowest: step = 10; break;
    }
    return std::clamp(baseNice + step, -20, 19);
}

void ApplyRecordingNice(std::optional<int> nice)
{
    if (nice)
        SetCurrentThreadNice(*nice);
}

} // namespace vistrel
