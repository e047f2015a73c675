#pragma once
// Turning X protocol errors into the messages our functions hand back.

#include <xcb/xcb.h>

#include <string>

namespace vistrel::x11 {

// "BadMatch (error 8)" and the like; "the X connection was lost" for a null error.
std::string DescribeXError(const xcb_generic_error_t* error);

// Stores text in *target when target is not null.
inline void ReportError(std::string* target, std::string text)
{
    if (target)
        *target = std::move(text);
}

} // namespace vistrel::x11
