#pragma once
// Runs a still capture of a request: freezes the screen (or the window or area),
// shapes it, and saves it through SaveCapture. Plain X, no windows of ours, so
// the command line runs it without starting the toolkit.

#include "capture/core/capture_request.h"
#include "capture/core/save_capture.h"
#include "platform/x11/window_at_pointer.h"
#include "platform/x11/x11_connection.h"

#include <optional>

#include <string>
#include <vector>

namespace vistrel {

class CEnv;

struct StillCaptureResult {
    int status = 0; // 0 saved, 1 failed (display, grab or write), 2 refused request
    std::string path; // the file written; also set with status 1 when only the settings failed
    std::string error;
};

// The pixels of a capture, before they are saved.
struct StillGrab {
    int status = 0; // 0 grabbed, 1 failed (display or grab), 2 refused request
    std::optional<Bitmap> bitmap;
    std::string error;
};

// What a request captures, shaped and with the cursor as asked; nothing saved.
StillGrab GrabStill(const CaptureRequest& request, const CEnv& env);
StillGrab GrabScreenArea(const x11::Connection& conn, int x, int y, int width, int height, bool showMouse);

// The whole window, frame included, as far as the screen shows it. No cursor.
std::optional<Bitmap> GrabWindowBitmap(const x11::Connection& conn, const x11::WindowArea& window,
                                      std::string* error = nullptr);

// One timer shot: the part of the area on the screen, with the cursor where it
// was relative to that part when showMouse is set, saved through SaveCapture.
// Status 2, before anything is grabbed, for an area that is empty, wholly off
// the screen or too large.
StillCaptureResult CaptureScreenArea(const x11::Connection& conn, int x, int y, int width, int height,
                                     bool showMouse, CEnv& env, std::vector<std::string>& bitmapList);

StillCaptureResult RunStillCapture(const CaptureRequest& request, CEnv& env,
                                   std::vector<std::string>& bitmapList);

} // namespace vistrel
