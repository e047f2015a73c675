#include "capture/core/save_capture.h"

#include "base/fd_io.h"
#include "base/new_file.h"
#include "base/trace.h"
#include "codec/byte_sink.h"
#include "codec/encode.h"
#include "codec/image.h"
#include "settings/capture_names.h"
#include "settings/env.h"

#include <exception>

namespace vistrel {

namespace {

SavedCapture SaveWith(CEnv& env, int imageType, const std::function<bool(int fd)>& write)
{
    SavedCapture saved;
    NewFileResult written;
    const bool numberStored = CaptureNames::ForImage(env, imageType).CreateFile(
        [&](const std::string& folder, const NameSource& candidates) {
            written = WriteNewFile(folder, candidates, write);
        });
    if (!numberStored) {
        saved.settingsSaved = false;
        saved.error = "cannot write " + CEnv::SettingsFilePath();
    }
    if (written.path.empty()) {
        saved.error = written.error;
        Trace("capture not saved: " + written.error);
        return saved;
    }
    saved.path = written.path;
    Trace("capture saved " + saved.path);
    return saved;
}

} // namespace

SavedCapture SaveCapture(CEnv& env, Bitmap bitmap, int bitsPerPixel, std::vector<std::string>& bitmapList)
{
    CImage image(std::move(bitmap), bitsPerPixel);
    const int type = env.m_nCaptureType;
    SavedCapture saved = SaveWith(env, type, [&](int fd) { return image.SaveTo(fd, cximage_type(type)) != 0; });
    if (!saved.path.empty())
        bitmapList.push_back(saved.path);
    return saved;
}

EncodedCapture EncodeCapture(Bitmap bitmap, int bitsPerPixel, int imageType)
{
    EncodedCapture encoded;
    encoded.imageType = imageType;
    try {
        CImage image(std::move(bitmap), bitsPerPixel);
        VectorSink sink;
        if (image.IsValid() && EncodeImage(image.bitmap(), image.KeepsAlpha(), cximage_type(imageType), sink))
            encoded.bytes = std::move(sink.bytes());
    } catch (const std::exception&) { // out of memory: reported as a failed save
        encoded.bytes.clear();
    }
    return encoded;
}

SavedCapture SaveEncodedCapture(CEnv& env, const EncodedCapture& capture)
{
    if (capture.bytes.empty())
        return {{}, "the capture could not be encoded", true};
    return SaveWith(env, capture.imageType, [&](int fd) { return WriteAllToFd(fd, capture.bytes); });
}

} // namespace vistrel
