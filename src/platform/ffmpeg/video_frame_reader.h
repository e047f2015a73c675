#pragma once
// VideoFrames over libavformat and libavcodec: the first video stream of a
// file, decoded and converted to 32-bit pixels by libswscale. One thread at a
// time.

#include "library/core/video_frames.h"

#include <memory>
#include <string>

namespace vistrel::ffmpeg {

// The file's frames, or null with the reason in error (missing, no video
// stream, no decoder for it).
std::unique_ptr<VideoFrames> OpenVideoFrames(const std::string& path, std::string& error);

} // namespace vistrel::ffmpeg
