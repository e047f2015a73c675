#include "library/core/list_texts.h"

#include <fcntl.h>
#include <sys/stat.h>

namespace vistrel {

std::string SizeText(uint64_t bytes)
{
    if (bytes < 1024)
        return std::to_string(bytes) + " Bytes";
    return std::to_string(bytes / 1024) + "KB";
}

std::string DateText(std::time_t when)
{
    std::tm local {};
    if (!localtime_r(&when, &local))
        return {};
    char text[128];
    const size_t length = std::strftime(text, sizeof text, "%A, %B %d, %Y", &local);
    return std::string(text, length);
}

std::optional<FileFacts> ReadFileFacts(const std::string& path)
{
    struct statx info {};
    if (path.empty() || statx(AT_FDCWD, path.c_str(), 0, STATX_SIZE | STATX_BTIME | STATX_MTIME, &info) != 0)
        return std::nullopt;
    FileFacts facts;
    facts.size = info.stx_size;
    facts.created = std::time_t((info.stx_mask & STATX_BTIME) ? info.stx_btime.tv_sec : info.stx_mtime.tv_sec);
    return facts;
}

} // namespace vistrel
