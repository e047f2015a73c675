#include "capture/core/save_capture.h"

#include "codec/image.h"
#include "platform/posix/trace.h"
#include "settings/env.h"
#include "settings/folders.h"

namespace vistrel {

SavedCapture SaveCapture(CEnv& env, Bitmap bitmap, int bitsPerPixel, std::vector<std::string>& bitmapList)
{
    SavedCapture saved;
    CImage image(std::move(bitmap), bitsPerPixel);
    saved.path = env.GetImageFileName(env.m_nCaptureType);
    if (saved.path.empty())
        return saved;
    // The save folders are otherwise made only when a settings file is read, so
    // the first run's captures would all be lost.
    EnsureFolder(env.m_strBitmapPath);
    saved.written = image.Save(saved.path.c_str(), cximage_type(env.m_nCaptureType)) != 0;
    bitmapList.push_back(saved.path);
    Trace((saved.written ? "capture saved " : "capture not saved ") + saved.path);
    return saved;
}

} // namespace vistrel
