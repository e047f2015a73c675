#include "record/core/record_options.h"

namespace vistrel {

std::optional<FourCC> ParseFourCC(const std::string& text)
{
    if (text.empty() || text.size() > 4)
        return std::nullopt;
    char c[4] = {' ', ' ', ' ', ' '};
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] < 0x20 || text[i] > 0x7E)
            return std::nullopt;
        c[i] = text[i];
    }
    return MakeFourCC(c[0], c[1], c[2], c[3]);
}

std::string FourCCText(FourCC code)
{
    std::string text(4, ' ');
    for (int i = 0; i < 4; ++i)
        text[size_t(i)] = char((code >> (8 * i)) & 0xFF);
    return text;
}

namespace {

std::string OutOfRange(const char* field, int value, int low, int high)
{
    if (value >= low && value <= high)
        return {};
    return std::string(field) + " is " + std::to_string(value) + ", outside " + std::to_string(low) + " to " +
           std::to_string(high);
}

} // namespace

std::string CheckRecordOptions(const AviRecordOptions& o)
{
    struct Range {
        const char* field;
        int value, low, high;
    };
    const Range ranges[] = {
        {"captureIntervalMs", o.captureIntervalMs, 0, kMaxCaptureIntervalMs},
        {"playbackFps", o.playbackFps, kMinPlaybackFps, kMaxPlaybackFps},
        {"keyFrameEvery", o.keyFrameEvery, kMinKeyFrameEvery, kMaxKeyFrameEvery},
        {"quality", o.quality, 0, kMaxQuality},
        {"autoPanSpeed", o.autoPanSpeed, kMinAutoPanSpeed, kMaxAutoPanSpeed},
        {"highlightSize", o.highlightSize, kMinHighlightSize, kMaxHighlightSize},
        {"highlightShape", o.highlightShape, 0, 3},
        {"cursorType", o.cursorType, CURSOR_ACTUAL, CURSOR_FILE},
    };
    for (const Range& r : ranges) {
        if (std::string problem = OutOfRange(r.field, r.value, r.low, r.high); !problem.empty())
            return problem;
    }
    return {};
}

} // namespace vistrel
