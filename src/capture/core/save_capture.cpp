#include "capture/core/save_capture.h"

#include "codec/image.h"
#include "platform/posix/new_file.h"
#include "platform/posix/trace.h"
#include "settings/capture_names.h"
#include "settings/env.h"
#include "settings/folders.h"

namespace vistrel {

SavedCapture SaveCapture(CEnv& env, Bitmap bitmap, int bitsPerPixel, std::vector<std::string>& bitmapList)
{
    SavedCapture saved;
    CImage image(std::move(bitmap), bitsPerPixel);
    const auto type = cximage_type(env.m_nCaptureType);
    const int16_t numberBefore = env.m_nBitmapNumber;
    CaptureNames names = CaptureNames::ForImage(env, env.m_nCaptureType);
    // The save folders are otherwise made only when a settings file is read, so
    // the first run's captures would all be lost.
    EnsureFolder(names.folder());
    NewFileResult written = WriteNewFile(
        names.folder(), [&names] { return names.Next(); },
        [&](int fd) { return image.SaveTo(fd, type) != 0; });
    // A number that moved is stored at once, so that no later run, after a crash
    // or a kill, starts from an old one.
    if (env.m_nBitmapNumber != numberBefore && !env.Save()) {
        saved.settingsSaved = false;
        saved.error = "cannot write " + CEnv::SettingsFilePath();
    }
    if (written.path.empty()) {
        saved.error = written.error;
        Trace("capture not saved: " + written.error);
        return saved;
    }
    saved.path = written.path;
    bitmapList.push_back(saved.path);
    Trace("capture saved " + saved.path);
    return saved;
}

} // namespace vistrel
