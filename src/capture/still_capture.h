#pragma once
// Runs a still capture of a request: freezes the screen (or the window or area),
// shapes it, and saves it through SaveCapture. Plain X, no windows of ours, so
// the command line runs it without starting the toolkit.

#include "capture/core/capture_request.h"
#include "capture/core/save_capture.h"

#include <string>
#include <vector>

namespace vistrel {

class CEnv;

struct StillCaptureResult {
    int status = 0; // 0 saved, 1 failed (display, grab or write), 2 refused request
    std::string path;
    std::string error;
};

StillCaptureResult RunStillCapture(const CaptureRequest& request, CEnv& env,
                                   std::vector<std::string>& bitmapList);

} // namespace vistrel
