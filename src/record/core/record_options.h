#pragma once
// The recorder's settings and the area it records. The settings live only while
// the program runs (every start begins with the defaults below); the recording
// dialog owns them and hands a copy to each recording.

#include "capture/core/cursor_image.h"
#include "record/core/run_priority.h"

#include <cstdint>
#include <optional>
#include <string>

namespace vistrel {

// A compressor's handler code: four bytes in file order, first byte lowest.
using FourCC = uint32_t;

constexpr FourCC MakeFourCC(char a, char b, char c, char d)
{
    return uint32_t(uint8_t(a)) | uint32_t(uint8_t(b)) << 8 | uint32_t(uint8_t(c)) << 16 |
           uint32_t(uint8_t(d)) << 24;
}
// "MSVC" -> the code. Texts shorter than four characters are padded with
// blanks ("DIB" is "DIB "); nullopt for an empty or longer text or one with a
// byte that is not printable ASCII.
std::optional<FourCC> ParseFourCC(const std::string& text);
// The four characters, trailing blanks kept.
std::string FourCCText(FourCC code);

constexpr FourCC kFourCCMsvc = MakeFourCC('M', 'S', 'V', 'C');
constexpr FourCC kFourCCDivx = MakeFourCC('D', 'I', 'V', 'X');
constexpr FourCC kFourCCIv50 = MakeFourCC('I', 'V', '5', '0');
// The default compressor: MPEG-4 part 2 under the Xvid code. Microsoft Video 1
// ("MSVC", still listed) manages about 8 frames a second of a full HD screen
// here, far from real time; MPEG-4 is the fastest of the compressors that keep
// up (about a third of one core at 1920 x 1080, 20 frames a second), makes
// files five times smaller than Motion JPEG, and plays in every common player.
constexpr FourCC kDefaultCompressorFourCC = MakeFourCC('X', 'V', 'I', 'D');

// Field ranges the options dialogs enforce; a recording refuses anything outside.
constexpr int kMaxCaptureIntervalMs = 7200000;
constexpr int kMinPlaybackFps = 1, kMaxPlaybackFps = 200;
constexpr int kMinKeyFrameEvery = 1, kMaxKeyFrameEvery = 200;
constexpr int kMaxQuality = 10000;
constexpr int kMinAutoPanSpeed = 1, kMaxAutoPanSpeed = 200;
constexpr int kMinHighlightSize = 1, kMaxHighlightSize = 128;

enum RegionMode : int { REGION_FIXED = 0, REGION_CUSTOM = 1, REGION_FULLSCREEN = 2 };
enum CursorType : int { CURSOR_ACTUAL = 0, CURSOR_CUSTOM = 1, CURSOR_FILE = 2 };

struct AviRecordOptions {
    int bitsPerPixel = 24;
    int showFlashingFrame = 1;
    int playWhenFinished = 1;
    int fixedWidth = 320;
    int fixedHeight = 200;
    int captureIntervalMs = 50;
    int playbackFps = 20;
    int keyFrameEvery = 20;
    int quality = 6500;
    int compressorIndex = -1;
    FourCC compressorFourCC = kDefaultCompressorFourCC; // the dialog sets it again when it opens
    int recordCursor = 1;
    int cursorType = CURSOR_ACTUAL;
    int customCursorIndex = 0;
    std::optional<CursorImage> customCursor; // pictures only: hot spot set, position unused
    std::optional<CursorImage> fileCursor;
    int highlightCursor = 0;
    int highlightSize = 64;
    int highlightShape = 0;
    uint32_t highlightColor = 0x7DFFFF; // red in the low byte: R 255, G 255, B 125
    int autoPan = 0;
    int autoPanSpeed = 20;
    int regionMode = REGION_FIXED;
    RunPriority runPriority = RunPriority::Normal; // of the recording's threads
};

// Why these options cannot drive a recording (a value outside its range), or
// empty when they can. Names the field and the range, so a caller can show it.
std::string CheckRecordOptions(const AviRecordOptions& options);

// The area to record: left, top, right, bottom, all inclusive, in screen pixels.
struct RecordRegion {
    int left = 0;
    int top = 0;
    int right = -1;
    int bottom = -1;

    // 64 bits: the corners may come from anywhere.
    int64_t width() const { return int64_t(right) - left + 1; }
    int64_t height() const { return int64_t(bottom) - top + 1; }
    bool isEmpty() const { return right < left || bottom < top; }
    friend bool operator==(const RecordRegion&, const RecordRegion&) = default;
};

// Idle: nothing runs. Recording: the worker grabs and writes. Ending: a stop was
// asked for (or the worker failed) and the worker is finishing the file.
enum class RecordState { Idle, Recording, Ending };

} // namespace vistrel
