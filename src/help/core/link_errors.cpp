#include "help/core/link_errors.h"

#include <string_view>

namespace vistrel {

namespace {

struct CodeText {
    int code;
    std::string_view text;
};

constexpr CodeText kTexts[] = {
    {0, "The operating system is out\nof memory or resources."},
    {2, "The specified file was not found."},
    {3, "The specified path was not found."},
    {5, "The operating system denied\naccess to the specified file."},
    {8, "There was not enough memory to complete the operation."},
    {11, "The .EXE file is invalid\n(non-Win32 .EXE or error in .EXE image)."},
    {26, "A sharing violation occurred. "},
    {27, "The filename association is\nincomplete or invalid."},
    {28, "The DDE transaction could not\nbe completed because the request timed out."},
    {29, "The DDE transaction failed."},
    {30, "The DDE transaction could not\nbe completed because other DDE transactions\nwere being processed."},
    {31, "There is no application associated\nwith the given filename extension."},
    {32, "The specified dynamic-link library was not found."},
};

} // namespace

std::string OpenErrorText(int code)
{
    for (const auto& entry : kTexts)
        if (entry.code == code)
            return std::string(entry.text);
    return "Unknown Error (" + std::to_string(code) + ") occurred.";
}

std::string LinkErrorMessage(int code) { return "Unable to open hyperlink:\n\n" + OpenErrorText(code); }

} // namespace vistrel
