#include "library/core/list_texts.h"

#include "base/file_moves.h"
#include "base/path_names.h"

#include <cstdio>

namespace vistrel {

std::string FileSizeText(uint64_t bytes)
{
    if (bytes < 1024)
        return std::to_string(bytes) + " Bytes";
    return std::to_string(bytes / 1024) + "KB";
}

const DateNames& EnglishDateNames()
{
    static const DateNames names{
        {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"},
        {"January", "February", "March", "April", "May", "June", "July", "August", "September", "October",
         "November", "December"}};
    return names;
}

std::string LongDateText(std::string_view weekday, std::string_view month, int dayOfMonth, int year)
{
    char day[16];
    std::snprintf(day, sizeof day, "%02d", dayOfMonth);
    return std::string(weekday) + ", " + std::string(month) + " " + day + ", " + std::to_string(year);
}

std::string LongDateText(std::time_t when, const DateNames& names)
{
    std::tm local{};
    if (!localtime_r(&when, &local) || local.tm_wday < 0 || local.tm_wday > 6 || local.tm_mon < 0 ||
        local.tm_mon > 11)
        return {};
    return LongDateText(names.weekdays[size_t(local.tm_wday)], names.months[size_t(local.tm_mon)], local.tm_mday,
                        local.tm_year + 1900);
}

RowTexts RowTextsOf(const std::string& path, const DateNames& names)
{
    const auto facts = LookAtFile(path);
    if (!facts)
        return {};
    return {std::string(FileNameOfPath(path)), path, FileSizeText(facts->size), LongDateText(facts->created, names)};
}

std::string TotalFilesText(size_t count, std::string_view format)
{
    size_t at = format.find("%d");
    if (at == std::string_view::npos) {
        format = kTotalFilesKey;
        at = format.find("%d");
    }
    return std::string(format.substr(0, at)) + std::to_string(count) + std::string(format.substr(at + 2));
}

std::string PictureSizeText(int width, int height, int bitsPerPixel)
{
    return " " + std::to_string(width) + " x " + std::to_string(height) + " x " + std::to_string(bitsPerPixel);
}

} // namespace vistrel
