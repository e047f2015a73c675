#include "record/core/recording_status.h"

#include <cstdio>

namespace vistrel {

std::string ElapsedText(int64_t elapsedMs)
{
    const int64_t seconds = elapsedMs > 0 ? elapsedMs / 1000 : 0;
    const int64_t hours = seconds / 3600, minutes = seconds / 60 % 60, rest = seconds % 60;
    char text[48];
    if (hours > 0)
        std::snprintf(text, sizeof text, "%lld:%02lld:%02lld", static_cast<long long>(hours),
                      static_cast<long long>(minutes), static_cast<long long>(rest));
    else
        std::snprintf(text, sizeof text, "%lld:%02lld", static_cast<long long>(minutes), static_cast<long long>(rest));
    return text;
}

std::string RecordedSizeText(uint64_t bytes)
{
    constexpr uint64_t kKiB = 1024, kMiB = kKiB * 1024, kGiB = kMiB * 1024;
    if (bytes < kMiB)
        return std::to_string(bytes / kKiB) + " KB";
    const uint64_t unit = bytes < kGiB ? kMiB : kGiB;
    // Tenths of the unit, without the rounding up a floating format would do.
    const uint64_t tenths = bytes / unit * 10 + bytes % unit * 10 / unit;
    return std::to_string(tenths / 10) + "." + std::to_string(tenths % 10) + (unit == kMiB ? " MB" : " GB");
}

} // namespace vistrel
