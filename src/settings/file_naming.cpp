#include "settings/file_naming.h"

#include <algorithm>
#include <cstdio>

namespace vistrel {

std::string FormatNumberedName(std::string_view name, std::string_view digitPattern,
                               std::string_view extension, int number)
{
    size_t minDigits = 0;
    while (minDigits < digitPattern.size() && digitPattern[minDigits] == '#')
        ++minDigits;
    // The pattern comes from the settings file; no name needs more than a few
    // hundred digits, and the cap keeps a damaged file from asking for gigabytes.
    minDigits = std::min<size_t>(minDigits, 255);
    char digits[300];
    std::snprintf(digits, sizeof digits, "%0*d", int(minDigits), number);
    std::string result(name);
    result += digits;
    result += extension;
    return result;
}

int NumberForName(int16_t stored) { return int(uint16_t(stored)); }

std::string FormatTimeName(const std::tm& localTime)
{
    char text[64];
    size_t n = std::strftime(text, sizeof text, "%Y-%d-%m-%H-%M-%S", &localTime);
    return std::string(text, n);
}

} // namespace vistrel
