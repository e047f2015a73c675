#include "record/core/video_options_fields.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <optional>

namespace vistrel {

namespace {

std::string Trimmed(const std::string& text)
{
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// 64 bits, so that a long number is refused for its value, not wrapped.
std::optional<int64_t> WholeNumber(const std::string& text)
{
    const std::string t = Trimmed(text);
    const char* begin = t.data();
    if (!t.empty() && t[0] == '+')
        ++begin;
    int64_t value = 0;
    const auto [end, error] = std::from_chars(begin, t.data() + t.size(), value);
    if (t.empty() || end != t.data() + t.size())
        return std::nullopt;
    if (error == std::errc::result_out_of_range) // too long: as far out as it gets
        return t[0] == '-' ? INT64_MIN : INT64_MAX;
    if (error != std::errc())
        return std::nullopt;
    return value;
}

} // namespace

std::string ApplyVideoOptionFields(const VideoOptionFields& fields, AviRecordOptions& options)
{
    const auto interval = WholeNumber(fields.interval);
    if (!interval || *interval < 0)
        return "Timelapse for each frame cannot be less than 0 milliseconds.";
    if (*interval > kMaxCaptureIntervalMs)
        return "Timelapse for each frame cannot be more than 7200000 milliseconds (2 hours).";
    const auto keyFrames = WholeNumber(fields.keyFrames);
    if (!keyFrames || *keyFrames < kMinKeyFrameEvery || *keyFrames > kMaxKeyFrameEvery)
        return "Key frames cannot be set for every " + Trimmed(fields.keyFrames) +
               " frames. Please enter a value in the range 1 to 200.";
    const auto rate = WholeNumber(fields.rate);
    if (!rate || *rate < kMinPlaybackFps || *rate > kMaxPlaybackFps)
        return "Playback Rate cannot be set to " + Trimmed(fields.rate) +
               " frames per second. Please enter a value in the range 1 to 200.";
    options.captureIntervalMs = int(*interval);
    options.keyFrameEvery = int(*keyFrames);
    options.playbackFps = int(*rate);
    options.quality = std::clamp(fields.qualityPercent, 1, kMaxQuality / 100) * 100;
    return {};
}

} // namespace vistrel
