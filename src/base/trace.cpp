#include "base/trace.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace vistrel {

bool TraceEnabled()
{
    static const bool enabled = [] {
        const char* v = std::getenv("VISTREL_TRACE");
        return v && *v && std::strcmp(v, "0") != 0;
    }();
    return enabled;
}

void Trace(std::string_view line)
{
    if (!TraceEnabled())
        return;
    std::string text = "vistrel: " + std::string(line) + "\n";
    std::fwrite(text.data(), 1, text.size(), stderr);
    std::fflush(stderr);
}

} // namespace vistrel
