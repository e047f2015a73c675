#pragma once
// Copies of the screen (the X root window) as opaque 0xAARRGGBB bitmaps.
//
// With MIT-SHM the server writes the area into a private shared segment in one
// request; the segment is copied once into the bitmap and released before the
// call returns. Without it (extension missing, remote display, segment refused,
// or VISTREL_NO_SHM=1 in the environment) the area is read with plain GetImage
// requests in horizontal strips small enough for the server's request limit.
//
// Threads: any thread, as long as no other thread uses the same Connection at the
// same time (give each grabbing thread its own Connection).

#include "capture/core/capture_geometry.h"
#include "codec/bitmap.h"
#include "platform/x11/screen_rect.h"
#include "platform/x11/x11_connection.h"

#include <optional>
#include <string>
#include <variant>

namespace vistrel::x11 {

enum class GrabMethod { SharedMemory, Strips };

struct GrabOptions {
    bool allowSharedMemory = true;
};

struct GrabOutcome {
    GrabMethod method = GrabMethod::Strips;
    std::string sharedMemoryProblem;  // why shared memory was not used, if it was allowed
};

// VisiblePart (capture_geometry.h) of an area in screen coordinates.
std::variant<ScreenRect, CaptureAreaError> VisibleOnScreen(const ScreenRect& area, const ScreenRect& screen);

// The part of the area (screen coordinates) that lies on the screen now
// (VisiblePart of capture_geometry.h): the bitmap has that part's size, and only
// that is allocated, however large the area. Refuses (nullopt, reason in *error)
// an empty area, one wholly off the screen, a display whose pixel format cannot
// be converted, and any X error.
std::optional<Bitmap> GrabArea(const Connection& conn, const ScreenRect& area,
                               std::string* error = nullptr, const GrabOptions& options = {},
                               GrabOutcome* outcome = nullptr);

// The screen's rectangle now, from the root window's geometry: the screen may have
// been resized since the connection was opened, and reading beyond the root
// window is an X error.
std::optional<ScreenRect> CurrentScreenRect(const Connection& conn, std::string* error = nullptr);

// The whole screen at its current size.
std::optional<Bitmap> GrabScreen(const Connection& conn, std::string* error = nullptr);

} // namespace vistrel::x11
