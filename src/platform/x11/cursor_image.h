#pragma once
// The cursor the screen shows, read through XFixes.
//
// Threads: any thread, as long as no other thread uses the same Connection at the
// same time.

#include "capture/core/cursor_image.h"
#include "platform/x11/x11_connection.h"

#include <optional>
#include <string>

namespace vistrel::x11 {

// The current cursor image with straight alpha, its hot spot and the pointer's
// position. nullopt, with the reason in *error, when the server has no XFixes
// (version 1 or later) or the request fails. A hidden cursor gives an empty image.
std::optional<CursorImage> ReadCursorImage(const Connection& conn, std::string* error = nullptr);

// XFixes hands out premultiplied pixels; this undoes it (exposed for the tests).
uint32_t UnpremultiplyArgb(uint32_t premultiplied);

} // namespace vistrel::x11
