#pragma once
// The MIT-SHM path of the screen grab (screen_grab.h). The segment is private
// (mode 0600) and marked for removal as soon as we have attached it, so the kernel
// frees it when the last attachment goes, even if this process dies mid-grab.

#include "codec/bitmap.h"
#include "platform/x11/pixel_layout.h"
#include "platform/x11/screen_rect.h"
#include "platform/x11/x11_connection.h"

#include <string>

namespace vistrel::x11 {

// Reads source (wholly on the screen) into target at (targetX, targetY). False with
// the reason in *problem when shared memory is unavailable or the server refuses it;
// the caller then takes the slower path.
bool GrabWithSharedMemory(const Connection& conn, const ScreenRect& source,
                          const PixelLayout& layout, Bitmap& target, int targetX, int targetY,
                          std::string* problem);

} // namespace vistrel::x11
