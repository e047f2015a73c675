#include "base/thread_priority.h"

#include <algorithm>
#include <cerrno>
#include <sys/resource.h>
#include <unistd.h>

namespace vistrel {

std::optional<int> CurrentThreadNice()
{
    errno = 0; // -1 is a valid value: only errno tells a failure
    const int nice = ::getpriority(PRIO_PROCESS, id_t(::gettid()));
    if (nice == -1 && errno != 0)
        return std::nullopt;
    return nice;
}

bool SetCurrentThreadNice(int nice)
{
    return ::setpriority(PRIO_PROCESS, id_t(::gettid()), std::clamp(nice, -20, 19)) == 0;
}

} // namespace vistrel
