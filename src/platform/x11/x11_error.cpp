#include "platform/x11/x11_error.h"

#include <array>

namespace vistrel::x11 {

std::string DescribeXError(const xcb_generic_error_t* error)
{
    if (!error)
        return "the X connection was lost";
    static constexpr std::array<const char*, 18> kNames = {
        "Success",   "BadRequest", "BadValue",  "BadWindow", "BadPixmap",   "BadAtom",
        "BadCursor", "BadFont",    "BadMatch",  "BadDrawable", "BadAccess", "BadAlloc",
        "BadColor",  "BadGC",      "BadIDChoice", "BadName", "BadLength",   "BadImplementation"};
    const unsigned code = error->error_code;
    std::string text = code < kNames.size() ? kNames[code] : "X error";
    return text + " (error " + std::to_string(code) + ", request " +
           std::to_string(unsigned(error->major_code)) + ")";
}

} // namespace vistrel::x11
